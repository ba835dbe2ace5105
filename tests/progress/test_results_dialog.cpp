// The results dialog built from a layout of the test's own: the counted
// values in its labels, the bursts at their ends, the seal, the stars and the
// prize row where they belong on screen, and where its buttons lead.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/GameClock.h"
#include "core/QuitRequest.h"
#include "fx/TEffect.h"
#include "fx/TEmitter.h"
#include "game/TGame.h"
#include "gui/LayoutTestSupport.h"
#include "gui/TLabel.h"
#include "media/Clock.h"
#include "progress/Prizes.h"
#include "game/GameplayEvents.h"
#include "game/LevelHooks.h"
#include "progress/ProgressGlobals.h"
#include "progress/ProgressHooks.h"
#include "progress/TLevelComplete.h"
#include "progress/TPrizeWidget.h"
#include "progress/TPrizesControl.h"

namespace {

using guitest::Solid;

// A game controller that only writes down what the results ask of it.
class RecordingGame : public TGame {
    TOTEM_CLASS(RecordingGame)
    std::vector<std::string> calls;
    void StopGame(int keepShown) override { calls.push_back("stop " + std::to_string(keepShown)); }
    void ReplayGame() override { calls.push_back("replay"); }
    void StartNextLevel() override { calls.push_back("next"); }
};

class ResultsDialog : public guitest::LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        if (IsSkipped()) return;
        UseDrivenClock(1000);
        GameClock = 5000;
        TextTable[80] = "Notes: %s";
        TextTable[84] = "Accuracy: %s%";
        TextTable[85] = "Total: %s";
        Layout(R"(<window id="window_levelcomplete" size="800 600" pos="0 0"/>
            <label window_id="window_levelcomplete" id="notes" text="80" font="FONT_T" pos="250 96"/>
            <label window_id="window_levelcomplete" id="accuracy" text="84" font="FONT_T" pos="250 200"/>
            <label window_id="window_levelcomplete" id="totalscore" text="85" font="FONT_T" pos="250 306"/>
            <label window_id="window_levelcomplete" text="85" font="FONT_T" pos="250 500"/>
            <button id="menu" window_id="window_levelcomplete" image="IMG_BTN" pos="100 540"/>
            <button id="replay" window_id="window_levelcomplete" image="IMG_BTN" pos="330 540"/>
            <button id="next" window_id="window_levelcomplete" image="IMG_BTN" pos="560 540"/>)");
        IMAGE_RESULT_HISCORE = Solid(40, 30, 250, 0, 0);
        IMAGE_RESULT_STAR = Solid(30, 30, 0, 250, 0);
        IMAGE_RESULT_STAR_EMPTHY = Solid(30, 30, 0, 0, 250);
        EFFECT_COUNTER = TEffect::New();
        game = std::make_shared<RecordingGame>();
        NewPrizes.clear();
        PrizeWidgets.clear();
    }
    void TearDown() override {
        TPrizeWidget::RemoveAll();
        NewPrizes.clear();
        IMAGE_RESULT_HISCORE = IMAGE_RESULT_STAR = IMAGE_RESULT_STAR_EMPTHY = nullptr;
        EFFECT_COUNTER = nullptr;
        game.reset();
        SetResultsExits({});
        ClearQuitRequest();
        LayoutTest::TearDown();
    }

    // One frame of the main loop: both clocks move 17 ms, then the widgets.
    void Tick(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            GameClock += 17;
            AdvanceClock(17);
            Frame();
        }
    }
    std::shared_ptr<TLevelComplete> Open(int notes, int accuracy, int hi, int stars, int finalLevel = 0) {
        auto stat = std::make_shared<TLevelStat>();
        stat->Notes = notes;
        stat->Accuracy = accuracy;
        stat->IsHiScore = hi;
        stat->StarsForLevel = stars;
        return OpenLevelComplete(stat, finalLevel);
    }
    static std::string LabelText(const TLevelComplete& d, const std::string& id, int nth = 0) {
        for (const WidgetPtr& w : d.Widgets)
            if (auto* l = dynamic_cast<TLabel*>(w.get()); l && l->id == id && nth-- == 0) return l->text;
        return "(none)";
    }
    static void RunTo(const TLevelComplete& d, int stage) {
        for (int i = 0; i < 2000 && d.Count.LabelsShowingState < stage; ++i) {
            GameClock += 17;
            AdvanceClock(17);
            Frame();
        }
    }

    std::shared_ptr<RecordingGame> game;
};

TEST_F(ResultsDialog, LabelsShowTheCountedValues) {
    const auto d = Open(1200, 83, 0, 2);
    EXPECT_EQ(LabelText(*d, "notes"), "Notes: 0");
    EXPECT_EQ(LabelText(*d, "accuracy"), "Accuracy: 0.0%");
    Tick(20);
    const int notesNow = std::stoi(LabelText(*d, "notes").substr(7));
    EXPECT_GT(notesNow, 0);
    EXPECT_LT(notesNow, 1200);
    RunTo(*d, 7);
    EXPECT_EQ(LabelText(*d, "notes"), "Notes: 1200");
    EXPECT_EQ(LabelText(*d, "accuracy"), "Accuracy: 83.0%");
    EXPECT_EQ(LabelText(*d, "totalscore"), "Total: 1200");
    EXPECT_EQ(LabelText(*d, "", 0), "Total: %s") << "a label with another id is left alone";
}

TEST_F(ResultsDialog, BurstsStartAtTheEndOfEachLabelsText) {
    const auto d = Open(1200, 83, 0, 2);
    RunTo(*d, 1);
    ASSERT_EQ(d->EffectsLayer->Emitters.size(), 1u);
    // "Notes: 1200" is 11 glyphs of the probe font (10 px, the space 5):
    // 105 px, less one "X"; half of the 16-pixel digits below the top.
    const auto& burst = d->EffectsLayer->Emitters[0];
    EXPECT_EQ(burst->x, 250 + 105 - 10);
    EXPECT_EQ(burst->y, 96 + 8);
    EXPECT_EQ(d->GetLabelPos("melodies"), nullptr) << "no such label: no burst";
    RunTo(*d, 5);
    EXPECT_EQ(d->EffectsLayer->Emitters.size(), 2u) << "notes and accuracy; the others have no label";
    EXPECT_TRUE(WidgetManager->Contains(d->EffectsLayer.get()));
}

TEST_F(ResultsDialog, SealAndStarsAreDrawnWhereAndWhenTheyBelong) {
    const auto d = Open(100, 90, 1, 2);
    const auto pixel = [](const PicturePtr& p, int x, int y) { return p->ReadPixel(x, y) & 0xFFFFFF; };
    RunTo(*d, 3);
    PicturePtr shot = Shot();
    EXPECT_NE(pixel(shot, 343 + 20, 351 + 15), 0xFA0000u) << "no seal while the categories count";
    EXPECT_EQ(pixel(shot, 197 + 15, 408 + 15), 0x0000FAu) << "stars empty";
    RunTo(*d, 4);
    shot = Shot();
    EXPECT_EQ(pixel(shot, 343 + 20, 351 + 15), 0xFA0000u) << "the seal from the accuracy on";
    RunTo(*d, 7);
    shot = Shot();
    EXPECT_EQ(pixel(shot, 197 + 15, 408 + 15), 0x00FA00u);
    EXPECT_EQ(pixel(shot, 240 + 15, 405 + 15), 0x00FA00u);
    EXPECT_EQ(pixel(shot, 283 + 15, 410 + 15), 0x0000FAu) << "two stars: the third stays empty";
}

TEST_F(ResultsDialog, NewPrizesDropIntoACentredRow) {
    for (const char* name : {"TPRIZE_X2", "TPRIZE_X4", "TPRIZE_LONG"})
        for (const PrizeClass& c : PrizeClasses())
            if (c.name == std::string(name)) {
                PrizePtr p = CreatePrize(c);
                p->Image = Solid(64, 64, 250, 250, 0);
                NewPrizes.push_back(p);
            }
    const auto d = Open(100, 90, 0, 1);
    EXPECT_EQ(d->Count.PrizesX, 288);
    RunTo(*d, 6);
    ASSERT_EQ(PrizeWidgets.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(PrizeWidgets[i]->x, 288 + 74 * i);
        EXPECT_EQ(PrizeWidgets[i]->_y, 230);
        EXPECT_TRUE(WidgetManager->Contains(PrizeWidgets[i].get()));
    }
    // They outlive the dialog until the level is stopped.
    d->DePress(TLevelComplete::Button_REPLAY_ID);
    EXPECT_EQ(PrizeWidgets.size(), 3u);
}

struct ButtonCase {
    int button;
    int finalLevel;
    bool gameOverInstalled;
    std::vector<std::string> calls;
    bool quits;
};

TEST_F(ResultsDialog, ButtonsCloseTheDialogAndLeadOn) {
    const ButtonCase cases[] = {
        {TLevelComplete::Button_REPLAY_ID, 0, false, {"replay"}, false},
        {TLevelComplete::Button_NEXT_ID, 0, false, {"next"}, false},
        // After the last level "next" never starts a level 29.
        {TLevelComplete::Button_NEXT_ID, 1, true, {"game over"}, false},
        {TLevelComplete::Button_NEXT_ID, 1, false, {"stop 0"}, true},
        // Without a story map to go back to, "menu" ends the program.
        {TLevelComplete::Button_MENU_ID, 0, false, {"stop 0"}, true},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.button) + (c.finalLevel ? " on the last level" : ""));
        game->calls.clear();
        ClearQuitRequest();
        ResultsExits exits;
        if (c.gameOverInstalled) exits.OpenGameOver = [this] { game->calls.push_back("game over"); };
        SetResultsExits(exits);
        const auto d = Open(100, 90, 0, 1, c.finalLevel);
        Tick();
        const auto layer = d->EffectsLayer;
        d->DePress(c.button);
        EXPECT_FALSE(WidgetManager->Contains(d.get()));
        EXPECT_FALSE(WidgetManager->Contains(layer.get())) << "the effects go with it";
        EXPECT_EQ(game->calls, c.calls);
        EXPECT_EQ(QuitRequested(), c.quits);
    }
}

TEST_F(ResultsDialog, StoryMapIsWhereMenuLeads) {
    int shown = 0;
    SetResultsExits({[&shown] { ++shown; }, nullptr});
    const auto d = Open(100, 90, 0, 1);
    d->DePress(TLevelComplete::Button_MENU_ID);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(game->calls, std::vector<std::string>{"stop 0"});
    EXPECT_FALSE(QuitRequested());
}

TEST_F(ResultsDialog, TheEndOfALevelOpensThemMarkingTheLastLevel) {
    InstallProgressHooks();
    const auto show = InstalledLevelHooks().ShowResults;
    SetLevelHooks({});
    SetGameplayEventReceiver(EventTarget::Prizes, nullptr);
    SetGameplayEventReceiver(EventTarget::Hints, nullptr);
    ASSERT_TRUE(show);
    for (const int level : {27, 28}) {
        auto stat = std::make_shared<TLevelStat>();
        stat->Notes = 300;
        show(stat, level);
        std::shared_ptr<TLevelComplete> results;
        for (const WidgetPtr& w : WidgetManager->WidgetsList)
            if (auto d = std::dynamic_pointer_cast<TLevelComplete>(w)) results = d;
        ASSERT_TRUE(results);
        EXPECT_EQ(results->Count.FinalLevel, level == LevelCount ? 1 : 0) << "level " << level;
        EXPECT_EQ(results->Count.Notes->dist, 300.0f);
        EXPECT_EQ(WidgetManager->TopModalWidget, results);
        WidgetManager->RemoveWidget(results);
    }
}

}  // namespace
