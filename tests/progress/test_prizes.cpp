// The prizes: the table of classes, each class's rule, and the control that
// arms them per level, receives them into the profile and pops them up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PrizeTestSupport.h"

namespace {

using namespace progress_test;

TEST(PrizeTable, EighteenClassesInOrderWithTheirPicturesAndTexts) {
    const std::vector<std::string> names = {
        "TPRIZE_10STARS",   "TPRIZE_20STARS",  "TPRIZE_10LINES",  "TPRIZE_20LINES",  "TPRIZE_10MELODY",
        "TPRIZE_20MELODY",  "TPRIZE_30MELODY", "TPRIZE_25SERIES", "TPRIZE_50SERIES", "TPRIZE_75SERIES",
        "TPRIZE_100SERIES", "TPRIZE_X2",       "TPRIZE_X4",       "TPRIZE_ALLNOTES", "TPRIZE_NOTES",
        "TPRIZE_LINES",     "TPRIZE_MELODY",   "TPRIZE_LONG"};
    const std::vector<ImagePtr*> images = PrizeImageGlobals();
    ASSERT_EQ(PrizeClasses().size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        const PrizeClass& c = PrizeClasses()[i];
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(c.name, names[i]);
        EXPECT_EQ(c.image, images[i]);
        EXPECT_EQ(c.label, 200 + static_cast<int>(i));
        *images[i] = CreateImage(10 + static_cast<int>(i), 8);
        const PrizePtr prize = CreatePrize(c);
        EXPECT_EQ(ClassNameOf(prize), names[i]) << "profiles store the object's own class name";
        EXPECT_EQ(prize->Image, *images[i]);
        EXPECT_EQ(prize->Label, 200 + static_cast<int>(i));
        EXPECT_EQ(prize->Recieved, 0);
        *images[i] = nullptr;
    }
}

std::vector<std::string> Times(const std::string& name, int n) { return std::vector<std::string>(size_t(n), name); }

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A fresh prize of a class fed events one by one: the index of the event
// that earns it, −1 for none.
struct RuleCase {
    const char* prize;
    std::vector<std::string> events;
    int earnedAt;
};

std::vector<RuleCase> RuleCases() {
    const auto run = [](const char* prize, const char* adds, const char* breaks, int n) {
        return std::vector<RuleCase>{
            {prize, Times(adds, n), n - 1},
            {prize, Join({Times(adds, n - 1), {breaks}, Times(adds, n)}), 2 * n - 1},
            {prize, Join({Times(adds, n - 1), {"noteclick", "fretpick", "x4"}, {adds}}), n + 2},
        };
    };
    std::vector<RuleCase> cases;
    for (const auto& group : {run("TPRIZE_10STARS", "starclick", "starclickfailed", 10),
                              run("TPRIZE_20STARS", "starclick", "starclickfailed", 20),
                              run("TPRIZE_10LINES", "fretclick", "fretfail", 10),
                              run("TPRIZE_20LINES", "fretclick", "fretfail", 20),
                              run("TPRIZE_10MELODY", "melodycomplete", "melodyfail", 10),
                              run("TPRIZE_20MELODY", "melodycomplete", "melodyfail", 20),
                              run("TPRIZE_30MELODY", "melodycomplete", "melodyfail", 30),
                              run("TPRIZE_25SERIES", "notepick", "notefail", 25),
                              run("TPRIZE_50SERIES", "notepick", "notefail", 50),
                              run("TPRIZE_75SERIES", "notepick", "notefail", 75),
                              run("TPRIZE_100SERIES", "notepick", "notefail", 100)})
        cases.insert(cases.end(), group.begin(), group.end());
    cases.push_back({"TPRIZE_X2", {"notepick", "x4", "x2"}, 2});
    cases.push_back({"TPRIZE_X4", {"x2", "x2", "x4"}, 2});
    cases.push_back({"TPRIZE_ALLNOTES", {"notepick", "notesended"}, 1});
    cases.push_back({"TPRIZE_ALLNOTES", {"notepick", "notefail", "notepick", "notesended", "notesended"}, -1});
    cases.push_back({"TPRIZE_NOTES", {"starclickfailed", "noteclick", "starclick"}, 2});
    cases.push_back({"TPRIZE_LINES", {"fretpick", "fretclick"}, 1});
    cases.push_back({"TPRIZE_MELODY", {"melodyfail", "melodycomplete"}, 1});
    cases.push_back({"TPRIZE_LONG", {"notepick", "longpick"}, 1});
    // Names are compared exactly; the control lowers them first.
    cases.push_back({"TPRIZE_X2", {"X2"}, -1});
    return cases;
}

TEST(PrizeRules, EachClassIsEarnedByTheEventThatCompletesItsFeat) {
    for (const RuleCase& c : RuleCases()) {
        SCOPED_TRACE(std::string(c.prize) + " after " + std::to_string(c.events.size()) + " events");
        PrizePtr prize;
        for (const PrizeClass& pc : PrizeClasses())
            if (pc.name == std::string(c.prize)) prize = CreatePrize(pc);
        ASSERT_TRUE(prize);
        int earnedAt = -1;
        for (size_t i = 0; i < c.events.size() && earnedAt < 0; ++i)
            if (prize->Event(c.events[i]) != 0) earnedAt = static_cast<int>(i);
        EXPECT_EQ(earnedAt, c.earnedAt);
    }
}

using PrizeControl = PrizeTest;

TEST_F(PrizeControl, ArmsOneFreshPrizeOfEveryClassInOrder) {
    NewPrizes.push_back(CreatePrize(PrizeClasses()[0]));
    Send("x2");
    TPrizesControl::CreatePrizes();
    ASSERT_EQ(ArmedPrizes.size(), 18u);
    for (size_t i = 0; i < 18; ++i) EXPECT_EQ(ClassNameOf(ArmedPrizes[i]), PrizeClasses()[i].name);
    EXPECT_TRUE(NewPrizes.empty());
    EXPECT_TRUE(Armed("TPRIZE_X2")) << "earned in the last level, armed again in this one";
}

TEST_F(PrizeControl, FirstStarClickEarnsTheStarPrizeAndTheTenthTheRun) {
    Send("starclick");
    EXPECT_EQ(Names(NewPrizes), std::vector<std::string>{"TPRIZE_NOTES"});
    EXPECT_EQ(CurrentUser->GameData->Prizes, std::vector<std::string>{"TPRIZE_NOTES"});
    ASSERT_EQ(PrizeWidgets.size(), 1u);
    const PrizeWidgetPtr popUp = PrizeWidgets[0];
    EXPECT_EQ(popUp->_y, 100);
    EXPECT_EQ(popUp->_x, 150 - 32) << "centred on x 150";
    EXPECT_EQ(popUp->HideAfterTime, 3000);
    EXPECT_TRUE(WidgetManager->Contains(popUp.get()));
    EXPECT_EQ(FanfaresStarted(), 1);
    EXPECT_FALSE(Armed("TPRIZE_NOTES"));

    Send("starclick", 8);
    EXPECT_EQ(NewPrizes.size(), 1u);
    Send("starclick");
    EXPECT_EQ(Names(NewPrizes), (std::vector<std::string>{"TPRIZE_NOTES", "TPRIZE_10STARS"}));
    EXPECT_EQ(PopUpTops(), (std::vector<int>{100, 174})) << "the first pop-up is still up";
    EXPECT_EQ(FanfaresStarted(), 1);
}

TEST_F(PrizeControl, APopUpSlotFreesWhenItsPrizeHasGone) {
    Send("starclick");
    Pass(3100);
    EXPECT_TRUE(PrizeWidgets.empty()) << "a pop-up goes after 3 s";
    Send("starclick", 9);
    EXPECT_EQ(PopUpTops(), std::vector<int>{100});
}

TEST_F(PrizeControl, OneEventEarnsSeveralPrizesInTableOrder) {
    // Nine star clicks into the 10-star run, the star prize still armed.
    static_cast<TRunPrize&>(*ArmedPrizes[0]).Count = 9;
    Send("starclick");
    EXPECT_EQ(Names(NewPrizes), (std::vector<std::string>{"TPRIZE_10STARS", "TPRIZE_NOTES"}));
    EXPECT_EQ(PopUpTops(), (std::vector<int>{100, 174}));
    EXPECT_EQ(FanfaresStarted(), 2);
}

TEST_F(PrizeControl, AMissResetsTheRunsItBreaks) {
    Send("starclick", 9);
    Send("starclickfailed");
    Send("starclick", 9);
    EXPECT_TRUE(Armed("TPRIZE_10STARS"));
    Send("starclick");
    EXPECT_FALSE(Armed("TPRIZE_10STARS"));

    Send("notepick", 24);
    Send("notefail");
    Send("notepick", 24);
    EXPECT_TRUE(Armed("TPRIZE_25SERIES"));
    Send("notesended");
    EXPECT_TRUE(Armed("TPRIZE_ALLNOTES")) << "a missed note spoils the flawless song";
    Send("notepick");
    EXPECT_FALSE(Armed("TPRIZE_25SERIES"));
}

TEST_F(PrizeControl, APrizeAlreadyOwnedLeavesPlaySilently) {
    CurrentUser->GameData->Prizes = {"TPRIZE_X2"};
    Send("x2");
    EXPECT_FALSE(Armed("TPRIZE_X2"));
    EXPECT_TRUE(PrizeWidgets.empty());
    EXPECT_TRUE(NewPrizes.empty());
    EXPECT_EQ(FanfaresStarted(), 0);
    EXPECT_EQ(CurrentUser->GameData->Prizes, std::vector<std::string>{"TPRIZE_X2"});
}

TEST_F(PrizeControl, SixNewPrizesPopUpSixTimesButOnlyFiveAreListed) {
    for (const char* e : {"x2", "x4", "starclick", "fretclick", "melodycomplete", "longpick"}) Send(e);
    EXPECT_EQ(PopUpTops(), (std::vector<int>{100, 174, 248, 322, 396, 470}));
    EXPECT_EQ(FanfaresStarted(), 6);
    EXPECT_EQ(Names(NewPrizes), (std::vector<std::string>{"TPRIZE_X2", "TPRIZE_X4", "TPRIZE_NOTES", "TPRIZE_LINES",
                                                           "TPRIZE_MELODY"}));
    EXPECT_EQ(CurrentUser->GameData->Prizes.size(), 6u) << "the sixth is received all the same";
    EXPECT_EQ(TPrizesControl::CollectedWidth(), 5 * (64 + 10));
}

TEST_F(PrizeControl, EventNamesCountInAnyCase) {
    Send("X2");
    EXPECT_EQ(Names(NewPrizes), std::vector<std::string>{"TPRIZE_X2"});
    Send("StarClick");
    EXPECT_FALSE(Armed("TPRIZE_NOTES"));
}

using PrizeWidgetTest = PrizeTest;

TEST_F(PrizeWidgetTest, PopUpIsOpaqueTwoSecondsThenFadesAndGoes) {
    GameClock = 5000;
    const PrizeWidgetPtr w = TPrizeWidget::Create(MakeVector(150, 100), IMAGE_PRIZES_x2, 3000);
    EXPECT_EQ(w->StartTime, 5000);
    const struct {
        float at;
        float alpha;
        bool listed;
    } steps[] = {{5100, 1.0f, true}, {7000, 1.0f, true}, {7500, 0.5f, true}, {7900, 0.1f, true},
                 {8000, 0.0f, true}, {8001, -0.001f, false}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.at);
        GameClock = s.at;
        w->Update(1);
        EXPECT_NEAR(w->Alpha, s.alpha, 1e-4);
        EXPECT_EQ(!PrizeWidgets.empty(), s.listed);
        EXPECT_EQ(WidgetManager->Contains(w.get()), s.listed);
    }
}

TEST_F(PrizeWidgetTest, ResultsAndGalleryWidgetsStayUntilRemoved) {
    const PrizeWidgetPtr w = TPrizeWidget::Create(MakeVector(288, 230), IMAGE_PRIZES_x2, 0);
    GameClock = 100000;
    w->Update(1);
    EXPECT_EQ(w->Alpha, 1.0f);
    EXPECT_EQ(PrizeWidgets.size(), 1u);
    TPrizeWidget::RemoveAll();
    EXPECT_TRUE(PrizeWidgets.empty());
    EXPECT_FALSE(WidgetManager->Contains(w.get()));
}

TEST_F(PrizeWidgetTest, NewPopUpTakesTheHighestFreeSlot) {
    const auto popUp = [] {
        return TPrizeWidget::Create(MakeVector(150, float(TPrizeWidget::GetActivePrizesHeight())), IMAGE_PRIZES_x2,
                                    3000);
    };
    popUp();
    const PrizeWidgetPtr second = popUp();
    popUp();
    EXPECT_EQ(PopUpTops(), (std::vector<int>{100, 174, 248}));
    second->remove();
    EXPECT_EQ(TPrizeWidget::GetActivePrizesHeight(), 174);
    popUp();
    EXPECT_EQ(TPrizeWidget::GetActivePrizesHeight(), 322);
}

}  // namespace
