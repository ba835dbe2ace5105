// The hint strip: which hint shows when, for how long, how it fades, and
// what a new level forgets.
#include <gtest/gtest.h>

#include <memory>

#include "core/GameClock.h"
#include "game/TGryph.h"
#include "progress/THintWindow.h"

namespace {

class HintTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameClock = 1000;
        gryph = std::make_shared<TGryph>();
        hints = std::make_shared<THintWindow>();
        Meter(3);
    }
    void TearDown() override {
        hints.reset();
        gryph.reset();
        GameClock = 0;
    }

    void Meter(float value) { gryph->Razogrev = value; }
    void Send(const char* name, int times) {
        for (int i = 0; i < times; ++i) hints->SendEvent(name);
    }
    // One frame of 17 ms.
    void Frame() {
        GameClock += 17;
        hints->Update(1);
    }

    std::shared_ptr<TGryph> gryph;
    std::shared_ptr<THintWindow> hints;
};

TEST_F(HintTest, TheNewestWindowReceivesTheEvents) {
    EXPECT_EQ(ActiveHintWindow, hints.get());
    EXPECT_EQ(THintWindow::ComboMeter(), 3.0f) << "the meter is the highway's";
}

TEST_F(HintTest, FiveStarMissesOnALowMeterShowTheStarHintOnce) {
    Send("starfail", 4);
    Frame();
    EXPECT_EQ(hints->ActiveHint, 0) << "four misses are tolerated";
    Send("starfail", 1);
    EXPECT_EQ(hints->ActiveHint, 0) << "shown on the next update";
    Frame();
    EXPECT_EQ(hints->ActiveHint, THintWindow::HINT_STARS);
    const int32_t started = hints->ActivateTime;
    EXPECT_EQ(started, int32_t(GameClock));
    Send("starfail", 1);
    Frame();
    EXPECT_EQ(hints->ActivateTime, started) << "a sixth miss does not restart it";
    // Its 7 s over, it does not come back in this level.
    GameClock = float(started + 7001);
    Frame();
    EXPECT_EQ(hints->ActiveHint, 0);
    Send("starfail", 6);
    Frame();
    EXPECT_EQ(hints->ActiveHint, 0);
}

TEST_F(HintTest, AStarHintWaitsForTheMeterToDrop) {
    Meter(12);
    Send("starfail", 5);
    for (int i = 0; i < 10; ++i) Frame();
    EXPECT_EQ(hints->ActiveHint, 0) << "a player on a streak gets no advice";
    Meter(9.9f);
    Frame();
    EXPECT_EQ(hints->ActiveHint, THintWindow::HINT_STARS);
}

TEST_F(HintTest, ACaughtStarClearsTheMisses) {
    Send("starfail", 4);
    Send("starpick", 1);
    Send("starfail", 4);
    Frame();
    EXPECT_EQ(hints->ActiveHint, 0);
    EXPECT_EQ(hints->StarsFailed, 4);
}

TEST_F(HintTest, OneHintAtATimeTheNextDueFollowsWhenItsTimeIsOver) {
    Send("starfail", 5);
    Frame();
    ASSERT_EQ(hints->ActiveHint, THintWindow::HINT_STARS);
    const int32_t started = hints->ActivateTime;
    Send("melodyfail", 5);
    GameClock = float(started + 7000);
    hints->Update(1);
    EXPECT_EQ(hints->ActiveHint, THintWindow::HINT_STARS) << "7 s are not over yet";
    GameClock = float(started + 7001);
    hints->Update(1);
    EXPECT_EQ(hints->ActiveHint, THintWindow::HINT_MELODIES) << "the star hint, already shown, is passed over";
    EXPECT_EQ(hints->ActivateTime, started + 7001);
}

TEST_F(HintTest, StarsWinOverFretsOverMelodiesWhenDueTogether) {
    Send("melodyfail", 5);
    Send("fretfail", 5);
    Send("starfail", 5);
    Frame();
    EXPECT_EQ(hints->ActiveHint, THintWindow::HINT_STARS);
    GameClock += 7100;
    Frame();
    EXPECT_EQ(hints->ActiveHint, THintWindow::HINT_FRETS);
    GameClock += 7100;
    Frame();
    EXPECT_EQ(hints->ActiveHint, THintWindow::HINT_MELODIES);
    // The melody hint does not wait for a low meter.
    EXPECT_EQ(hints->HintsActivated[1] + hints->HintsActivated[2] + hints->HintsActivated[3], 3);
}

TEST_F(HintTest, FretAndMelodyFailuresCarryIntoTheNextLevel) {
    Send("fretfail", 4);
    Send("melodyfail", 2);
    Send("starfail", 4);
    hints->Reset();
    EXPECT_EQ(hints->StarsFailed, 0);
    EXPECT_EQ(hints->FretsFailed, 4);
    EXPECT_EQ(hints->MelodiesFailed, 2);
    Send("fretfail", 1);
    Frame();
    EXPECT_EQ(hints->ActiveHint, THintWindow::HINT_FRETS);
}

TEST_F(HintTest, ANewLevelLetsEveryHintShowAgain) {
    Send("melodyfail", 5);
    Frame();
    ASSERT_EQ(hints->ActiveHint, THintWindow::HINT_MELODIES);
    hints->Reset();
    EXPECT_EQ(hints->ActiveHint, 0);
    Frame();
    EXPECT_EQ(hints->ActiveHint, THintWindow::HINT_MELODIES) << "still five failed melodies in a row";
    hints->SendEvent("melodycomplete");
    hints->Reset();
    Frame();
    EXPECT_EQ(hints->ActiveHint, 0);
}

TEST_F(HintTest, AHintFadesInItsLastSecond) {
    Send("starfail", 5);
    Frame();
    const float started = float(hints->ActivateTime);
    const struct {
        float after, alpha;
    } steps[] = {{0, 1.0f}, {5999, 1.0f}, {6500, 0.5f}, {6900, 0.1f}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.after);
        GameClock = started + s.after;
        EXPECT_NEAR(hints->DrawAlpha(), s.alpha, 1e-4);
    }
}

}  // namespace
