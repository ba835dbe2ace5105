// A level of the built game played perfectly by the autoplay driver with a
// fresh profile: the prizes it earns are exactly those its events call for,
// each pops up while the level plays, "User.dat" holds the level's score and
// stars afterwards, and the results count up to them with the new prizes in
// their row.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../media/GraphicsTestSupport.h"
#include "app/Globals.h"
#include "content/DataPak.h"
#include "content/GameFolder.h"
#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "game/AutoPlayer.h"
#include "game/BuiltGameStart.h"
#include "game/GameGlobals.h"
#include "game/GameplayEvents.h"
#include "game/LevelHooks.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TLevelInfo.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Input.h"
#include "progress/Prizes.h"
#include "progress/ProgressGlobals.h"
#include "core/GameClock.h"
#include "progress/TLevelComplete.h"
#include "progress/TPrizeWidget.h"
#include "progress/TPrizesControl.h"
#include "progress/UserFile.h"

namespace fs = std::filesystem;

namespace {

// The prizes a run without a single miss earns, from how many times each
// event was sent: a run or series prize once its count is reached, an event
// prize once its event came, the flawless song once the notes have ended.
std::set<std::string> PrizesForAFlawlessRun(const std::map<std::string, int>& sent) {
    const auto n = [&](const char* name) {
        auto it = sent.find(name);
        return it == sent.end() ? 0 : it->second;
    };
    const struct {
        const char* prize;
        const char* event;
        int needed;
    } rules[] = {
        {"TPRIZE_10STARS", "starclick", 10},        {"TPRIZE_20STARS", "starclick", 20},
        {"TPRIZE_10LINES", "fretclick", 10},        {"TPRIZE_20LINES", "fretclick", 20},
        {"TPRIZE_10MELODY", "melodycomplete", 10},  {"TPRIZE_20MELODY", "melodycomplete", 20},
        {"TPRIZE_30MELODY", "melodycomplete", 30},  {"TPRIZE_25SERIES", "notepick", 25},
        {"TPRIZE_50SERIES", "notepick", 50},        {"TPRIZE_75SERIES", "notepick", 75},
        {"TPRIZE_100SERIES", "notepick", 100},      {"TPRIZE_X2", "x2", 1},
        {"TPRIZE_X4", "x4", 1},                     {"TPRIZE_ALLNOTES", "notesended", 1},
        {"TPRIZE_NOTES", "starclick", 1},           {"TPRIZE_LINES", "fretclick", 1},
        {"TPRIZE_MELODY", "melodycomplete", 1},     {"TPRIZE_LONG", "longpick", 1},
    };
    std::set<std::string> earned;
    for (const auto& r : rules)
        if (n(r.event) >= r.needed) earned.insert(r.prize);
    return earned;
}

class PlayedLevel : public ::testing::TestWithParam<int> {
protected:
    static inline bool ready = false;
    static inline std::string skipReason;
    static inline fs::path previousDir;
    static inline std::shared_ptr<TGame> game;
    static inline std::string savedUserFile;

    static void SetUpTestSuite() {
        // The start-up installs the progress hooks.
        skipReason = builtgame::Start(previousDir, game);
        savedUserFile = UserFilePath;
        ready = skipReason.empty();
    }

    static void TearDownTestSuite() {
        builtgame::Stop(previousDir, game);
        SetGameplayEventListener({});
        UserFilePath = savedUserFile;
    }

    void SetUp() override {
        if (!ready) GTEST_SKIP() << skipReason;
        dir_ = fs::temp_directory_path() / ("totem-played-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        UserFilePath = (dir_ / "User.dat").string();
        ResetUserFileState();
        UserList.clear();
        CurrentUser = CreateUser("Ann");
        PollEvents();
        ClearMouse();
        ClearKeys();
        MoveMouse(400, 300);
    }

    void TearDown() override {
        UserList.clear();
        CurrentUser = nullptr;
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    fs::path dir_;
};

TEST_P(PlayedLevel, PerfectRunEarnsThePrizesItsEventsCallForAndShowsThemInTheResults) {
    const LevelInfoPtr level = GetLevelById(GetParam());
    ASSERT_TRUE(level);
    ClearGameplayEvents();
    AutoPlayer player;
    Game->LevelInfo = level;
    ASSERT_EQ(Game->StartLevel(0), 0);
    player.Begin();
    // The pop-ups, watched frame by frame (held, so a new one cannot take the
    // address of one gone).
    std::set<PrizeWidgetPtr> popUps;
    const int before = Game->CompletedLevels;
    for (int frame = 0; frame < 400000 / AutoPlayer::FRAME_MS && Game->CompletedLevels == before; ++frame) {
        player.Frame();
        for (const PrizeWidgetPtr& w : PrizeWidgets)
            if (w->HideAfterTime == 3000) popUps.insert(w);
    }
    ASSERT_NE(Game->CompletedLevels, before) << "the level did not end";
    for (const std::string& p : player.Problems()) ADD_FAILURE() << p;

    std::map<std::string, int> sent;
    for (const GameplayEvent& e : GameplayEventLog())
        if (e.target == EventTarget::Prizes) sent[e.name] += 1;
    ASSERT_EQ(sent["notefail"] + sent["starclickfailed"] + sent["melodyfail"], 0) << "not a flawless run";
    const std::set<std::string> expected = PrizesForAFlawlessRun(sent);
    ASSERT_GE(expected.size(), 6u) << "a level that shows too few prizes to test the results row";

    const std::vector<std::string>& received = CurrentUser->GameData->Prizes;
    EXPECT_EQ(std::set<std::string>(received.begin(), received.end()), expected);
    EXPECT_EQ(received.size(), expected.size()) << "each prize received once";
    EXPECT_EQ(popUps.size(), expected.size()) << "each popped up while the level played";
    std::vector<std::string> listed;
    for (const PrizePtr& p : NewPrizes) listed.push_back(ClassNameOf(p));
    EXPECT_EQ(listed, std::vector<std::string>(received.begin(), received.begin() + 5))
        << "the results list the first five received";

    // The file holds the level's result.
    std::vector<UserPtr> saved;
    UserPtr current;
    std::string error;
    StreamPtr file = OpenRead(UserFilePath);
    ASSERT_TRUE(file);
    ASSERT_TRUE(ReadUserList(*file, saved, current, error)) << error;
    ASSERT_EQ(saved.size(), 1u);
    ASSERT_EQ(current, saved[0]);
    const TGameData& data = *current->GameData;
    EXPECT_EQ(data.GetHiScore(level->id), Game->Points);
    EXPECT_EQ(data.GetLevelStars(level->id), CurrentLevelStat->StarsForLevel);
    EXPECT_EQ(data.CurrentLevel, level->id + 1);
    EXPECT_EQ(data.Prizes, received);
    EXPECT_EQ(CurrentLevelStat->IsHiScore, 1);

    // The results, over the paused level, count up to the level's figures
    // and show the first five new prizes in their row.
    std::shared_ptr<TLevelComplete> results;
    for (const WidgetPtr& w : WidgetManager->WidgetsList)
        if (auto d = std::dynamic_pointer_cast<TLevelComplete>(w)) results = d;
    ASSERT_TRUE(results) << "no results dialog";
    EXPECT_EQ(results->Count.LabelsShowingState, 0);
    EXPECT_EQ(results->Count.IsHiScore, 1);
    std::set<int> totalsSeen;
    for (int frame = 0; frame < 1000 && results->Count.LabelsShowingState < 7; ++frame) {
        GameClock += AutoPlayer::FRAME_MS;
        AdvanceClock(AutoPlayer::FRAME_MS);
        PollEvents();
        WidgetManager->Update(1);
        totalsSeen.insert(static_cast<int>(results->Count.TotalScore->value));
        EXPECT_EQ(Game->GamePaused, 1);
    }
    ASSERT_EQ(results->Count.LabelsShowingState, 7) << "the count-up did not finish";
    EXPECT_GT(totalsSeen.size(), 20u) << "the total counted up rather than jumped";
    EXPECT_EQ(results->Count.TotalScore->value, static_cast<float>(Game->Points));
    EXPECT_EQ(results->Count.Accuracy->value, 100.0f);
    std::vector<ImagePtr> row, firstFive;
    for (const PrizeWidgetPtr& w : PrizeWidgets)
        if (w->HideAfterTime == 0) {
            row.push_back(w->Image);
            EXPECT_EQ(w->_y, results->_y + 230);
        }
    for (size_t i = 0; i < 5; ++i)
        for (const PrizeClass& c : PrizeClasses())
            if (received[i] == c.name) firstFive.push_back(*c.image);
    EXPECT_EQ(row, firstFive);

    WidgetManager->RemoveWidget(results);
    Game->StopGame(0);
    EXPECT_TRUE(PrizeWidgets.empty());
}

INSTANTIATE_TEST_SUITE_P(Levels, PlayedLevel, ::testing::Values(6),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Level" + std::to_string(info.param);
                         });

}  // namespace
