// The end of a level as the game controller runs it with the progress hooks
// installed: stars, then the profile (stars, unlocked level, high score),
// then the save, then the pause, then the results.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ProgressTestSupport.h"
#include "game/HighwayTestSupport.h"
#include "game/LevelHooks.h"
#include "progress/ProgressHooks.h"
#include "progress/THintWindow.h"
#include "progress/TPrizeWidget.h"
#include "progress/TPrizesControl.h"

namespace {

using namespace highway_test;
using progress_test::ReadBytes;

class LevelEndTest : public HighwayTest {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("totem-levelend-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        savedPath_ = UserFilePath;
        UserFilePath = (dir_ / "User.dat").string();
        ResetUserFileState();
        UserList.clear();
        CurrentUser = nullptr;
        InstallProgressHooks();
        // What the results see when they open.
        LevelHooks hooks = InstalledLevelHooks();
        hooks.ShowResults = [this](const LevelStatPtr& stat, int levelId) {
            ++shown_;
            shownLevel_ = levelId;
            pausedWhenShown_ = game->GamePaused;
            hiScoreWhenShown_ = stat->IsHiScore;
            fileWhenShown_ = std::filesystem::exists(UserFilePath) ? ReadBytes(UserFilePath) : progress_test::Bytes{};
        };
        SetLevelHooks(hooks);
        HighwayTest::SetUp();
    }

    void TearDown() override {
        HighwayTest::TearDown();
        SetLevelHooks({});
        SetGameplayEventReceiver(EventTarget::Prizes, nullptr);
        SetGameplayEventReceiver(EventTarget::Hints, nullptr);
        UserList.clear();
        CurrentUser = nullptr;
        UserFilePath = savedPath_;
        std::filesystem::remove_all(dir_);
    }

    // Ends level `id` with ten of ten notes caught at complexity 1, so the
    // points alone decide between one, two (above 1000) and three (above
    // 2000) stars.
    void Complete(int id, int points) {
        LoadQuietChart();
        game->LevelInfo->id = id;
        game->LevelInfo->complexity = 1;
        CurrentLevelStat->NotesAll = 10;
        CurrentLevelStat->NotesCount = 10;
        game->Points = points;
        game->LevelComplete();
    }

    std::filesystem::path dir_;
    int shown_ = 0, shownLevel_ = 0, pausedWhenShown_ = -1, hiScoreWhenShown_ = -1;
    progress_test::Bytes fileWhenShown_;

private:
    std::string savedPath_;
};

struct LevelEndCase {
    int level, storedLevel, storedScore, storedStars, points;
    int isHiScore, score, stars, currentLevel;
};

TEST_F(LevelEndTest, ProfileIsKeptAndSavedBeforeTheResultsOpen) {
    const LevelEndCase cases[] = {
        {3, 3, 0, 0, 2500, 1, 2500, 3, 4},        // first completion unlocks level 4
        {3, 5, 5000, 1, 1500, 0, 5000, 2, 5},     // fewer points: score kept, stars raised
        {3, 5, 1500, 3, 1500, 1, 1500, 3, 5},     // the same score again is a high score
        {28, 28, 0, 0, 500, 1, 500, 1, 29},       // the last level
        {1, 29, 9000, 2, 9100, 1, 9100, 3, 29},   // replaying an early level unlocks nothing
    };
    for (const LevelEndCase& c : cases) {
        SCOPED_TRACE("level " + std::to_string(c.level) + ", " + std::to_string(c.points) + " points");
        UserList.clear();
        CurrentUser = CreateUser("Ann");
        TGameData& data = *CurrentUser->GameData;
        data.CurrentLevel = c.storedLevel;
        data.Scores[c.level - 1] = c.storedScore;
        data.Stars[c.level - 1] = c.storedStars;
        shown_ = 0;

        Complete(c.level, c.points);
        EXPECT_EQ(CurrentLevelStat->IsHiScore, c.isHiScore);
        EXPECT_EQ(data.Scores[c.level - 1], c.score);
        EXPECT_EQ(data.Stars[c.level - 1], c.stars);
        EXPECT_EQ(data.CurrentLevel, c.currentLevel);

        ASSERT_EQ(shown_, 1);
        EXPECT_EQ(shownLevel_, c.level);
        EXPECT_EQ(pausedWhenShown_, 1) << "the level is paused behind its results";
        EXPECT_EQ(hiScoreWhenShown_, c.isHiScore);
        EXPECT_EQ(fileWhenShown_, progress_test::EncodeUserList()) << "saved before the results open";
        game->ResumeGame();
        gryph->StopGame();
    }
}

TEST_F(LevelEndTest, WithoutAProfileNothingIsKept) {
    Complete(2, 2500);
    EXPECT_EQ(shown_, 1);
    EXPECT_EQ(CurrentLevelStat->StarsForLevel, 3);
    EXPECT_EQ(CurrentLevelStat->IsHiScore, 0);
    EXPECT_FALSE(std::filesystem::exists(UserFilePath));
}

TEST_F(LevelEndTest, TheControllerHoldsTheHintStripAndArmsThePrizesAtEveryStart) {
    ASSERT_TRUE(game->HintWindow);
    EXPECT_EQ(game->HintWindow.get(), ActiveHintWindow);
    EXPECT_EQ(game->HintWindow->_x, 370);
    EXPECT_EQ(game->HintWindow->_y, 71);
    EXPECT_EQ(game->HintWindow->_width, 430);
    EXPECT_EQ(game->HintWindow->_height, 42);
    EXPECT_TRUE(WidgetManager->Contains(game->HintWindow.get()));

    ActiveHintWindow->SendEvent("starfail");
    ActiveHintWindow->HintsActivated[3] = 1;
    ArmedPrizes.clear();
    game->LevelInfo->Skin = CurrentSkin = "ruletests";  // already loaded: no skin scope to read
    const std::filesystem::path folder = songs / "song";
    std::filesystem::create_directories(folder);
    WriteFile(folder / "notes.mid", midi_test::Chart().Note(1000, kLine0 + 1, kPlain).Build());
    WriteFile(folder / "guitar.ogg", TrackOgg(true));
    WriteFile(folder / "song.ogg", TrackOgg(false));
    ASSERT_EQ(game->StartLevel(0), 0);
    EXPECT_EQ(ArmedPrizes.size(), 18u);
    EXPECT_EQ(ActiveHintWindow->StarsFailed, 0);
    EXPECT_EQ(ActiveHintWindow->HintsActivated[3], 0);

    // The highway's events reach both.
    SendHintEvent("fretfail");
    EXPECT_EQ(ActiveHintWindow->FretsFailed, 1);
    SendPrizeEvent("X2");
    EXPECT_EQ(ArmedPrizes.size(), 17u);
    game->SetHided(1);
    EXPECT_EQ(game->HintWindow->Visible, 0);
    game->StopGame(0);
    EXPECT_TRUE(PrizeWidgets.empty()) << "stopping a level takes its pop-ups away";
}

}  // namespace
