// The test option's player (TAutoPlay) inside a test process, on the built
// game's content: the frames run as the main loop runs them under
// "--autoplay" (one clock step, the frame timer, the widgets' update, the
// player, the event poll, the mixer), less the drawing.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "BuiltGameStart.h"
#include "app/Globals.h"
#include "core/GameClock.h"
#include "game/GameGlobals.h"
#include "game/TAutoPlay.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TLevelStat.h"
#include "gui/TWidgetmanager.h"
#include "gui/TWindow.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Input.h"
#include "progress/ProgressGlobals.h"
#include "progress/UserFile.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class AutoPlayOption : public ::testing::Test {
protected:
    static inline std::string skipReason;
    static inline fs::path previousDir;
    static inline std::shared_ptr<TGame> game;

    static void SetUpTestSuite() {
        skipReason = builtgame::Start(previousDir, game);
        // No profile plays, so the results save nothing; and should one,
        // never into the built game's folder.
        CurrentUser = nullptr;
        UserFilePath = TestTempPath("autoplay_option_User.dat").string();
    }

    static void TearDownTestSuite() {
        builtgame::Stop(previousDir, game);
    }

    void SetUp() override {
        if (!skipReason.empty()) GTEST_SKIP() << skipReason;
        ClearMouse();
        ClearKeys();
    }

    // One frame of the main loop under the option; the ms the clock moved.
    int32_t Frame() {
        player.StepClock();
        FrameTimer->Wait();
        const int32_t elapsed = AdvanceFrameClock();
        WidgetManager->Update(static_cast<float>(elapsed) / 17.0f);
        player.Decide();
        PollEvents();
        AudioUpdate();
        return elapsed;
    }

    // The results dialog, when it is open.
    static WidgetPtr Results() {
        for (const WidgetPtr& w : WidgetManager->WidgetsList)
            if (auto* window = dynamic_cast<TWindow*>(w.get()); window && window->id == "window_levelcomplete") return w;
        return nullptr;
    }

    TAutoPlay player;
};

TEST_F(AutoPlayOption, EachFrameMovesTheClockOneStepSoDtIsOne) {
    ResetFrameClock();  // as the main loop does on entry
    for (int i = 0; i < 50; ++i) ASSERT_EQ(Frame(), TAutoPlay::STEP_MS) << "frame " << i;
}

// A gentle level, a middle one and the fastest, most demanding one: each
// plays to its end and opens its results with at least one star, which
// takes more than half the notes caught.
TEST_F(AutoPlayOption, LevelsPlayToTheirResultsWithAStar) {
    for (int level : {1, 15, 28}) {
        SCOPED_TRACE("level " + std::to_string(level));
        Game->LevelInfo = GetLevelById(level);
        ASSERT_TRUE(Game->LevelInfo);
        const int before = Game->CompletedLevels;
        ASSERT_EQ(Game->StartLevel(0), 0);
        // No song lasts ten minutes.
        for (int i = 0; i < 600000 / TAutoPlay::STEP_MS && Game->CompletedLevels == before; ++i) Frame();
        ASSERT_EQ(Game->CompletedLevels, before + 1) << "the level did not end";
        ASSERT_TRUE(CurrentLevelStat);
        EXPECT_GT(CurrentLevelStat->Accuracy, 50);
        EXPECT_GE(CurrentLevelStat->StarsForLevel, 1);
        const WidgetPtr results = Results();
        ASSERT_TRUE(results) << "the results did not open";
        WidgetManager->RemoveWidget(results);
        Game->StopGame(0);
    }
}

// While no level plays (here: paused) the player keeps its hands off: no
// movement and no press reaches the event queue.
TEST_F(AutoPlayOption, NothingIsInjectedWhileTheLevelIsPaused) {
    Game->LevelInfo = GetLevelById(1);
    ASSERT_EQ(Game->StartLevel(0), 0);
    for (int i = 0; i < 300; ++i) Frame();
    Game->PauseGame();
    Frame();  // lets go of a press it may have held
    MouseMoveX();
    MouseHitCount(1);
    for (int i = 0; i < 300; ++i) Frame();
    EXPECT_EQ(MouseMoveX(), 0.0f);
    EXPECT_EQ(MouseHitCount(1), 0);
    EXPECT_EQ(MouseDown(1), 0);
    Game->ResumeGame();
    Game->StopGame(0);
}

}  // namespace
