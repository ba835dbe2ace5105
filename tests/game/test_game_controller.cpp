// The game controller around a running level: pausing and resuming, the
// multiplier and gold-rush answers, and the verdict at the end of the song.
#include <cmath>

#include "HighwayTestSupport.h"
#include "app/TApp.h"
#include "game/LevelHooks.h"

namespace {

using namespace highway_test;

using ControllerTest = HighwayTest;

TEST_F(ControllerTest, MultiplierAndGoldRushFollowTheMeter) {
    LoadQuietChart();
    const struct {
        float meter;
        int mult, rush;
    } cases[] = {{0, 1, 0}, {29.9f, 1, 0}, {30, 2, 0}, {39.99f, 2, 0}, {40, 4, 1}, {70, 4, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.meter);
        gryph->Razogrev = c.meter;
        EXPECT_EQ(game->GetPointsMult(), c.mult);
        EXPECT_EQ(game->GoldRush(), c.rush);
        EXPECT_EQ(gryph->GetPointsMult(), c.mult) << "the items ask the highway";
        EXPECT_EQ(gryph->GoldRush(), c.rush);
    }
}

TEST_F(ControllerTest, TenSecondPauseLeavesItemsAndMusicWhereTheyWere) {
    LoadChart(midi_test::Chart()
                  .Note(3000, kLine0 + 0, kPlain)
                  .Note(3400, kLine0 + 2, kLong, 600)
                  .Note(3800, kFret, kPlain)
                  .Note(4000, kBonus, kPlain));
    PutBatOn(4);
    // Play to 2.5 s with the mix running alongside.
    for (int i = 0; i < 147; ++i) {
        Frame(17);
        MixerRender(nullptr, 17 * 441 / 10);
    }
    ASSERT_EQ(gryph->Items.size(), 4u);
    std::vector<std::pair<ItemPtr, float>> before;
    for (const auto& item : gryph->Items) before.push_back({item, item->time});
    const int32_t songTime = gryph->SongTime;
    const float clock = GameClock;
    const int64_t lead = gryph->GuitarChannel->Position();
    const int64_t band = gryph->SongChannel->Position();
    ASSERT_GT(lead, 0);
    ASSERT_EQ(lead, band) << "the tracks start on the same sample";

    game->PauseGame();
    EXPECT_EQ(game->GamePaused, 1);
    EXPECT_EQ(game->PauseStartTime, int32_t(clock));
    EXPECT_EQ(gryph->GuitarChannel->Playing(), 0);
    EXPECT_EQ(gryph->SongChannel->Playing(), 0);
    // Ten seconds pass: the main loop's clock runs on and the device keeps
    // mixing, but nothing of the level is updated.
    GameClock += 10000;
    AdvanceClock(10000);
    for (int i = 0; i < 100; ++i) MixerRender(nullptr, 4410);
    EXPECT_EQ(gryph->GuitarChannel->Position(), lead);
    EXPECT_EQ(gryph->SongChannel->Position(), band);

    game->ResumeGame();
    EXPECT_EQ(game->GamePaused, 0);
    EXPECT_EQ(GameClock, float(game->PauseStartTime)) << "the clock goes back to the pause";
    EXPECT_EQ(gryph->GuitarChannel->Playing(), 1);
    EXPECT_EQ(gryph->SongChannel->Playing(), 1);
    EXPECT_EQ(gryph->GuitarChannel->Position(), lead);
    EXPECT_EQ(gryph->SongChannel->Position(), band);
    Frame(17);
    EXPECT_EQ(gryph->SongTime, songTime + 17);
    for (const auto& [item, time] : before) {
        SCOPED_TRACE(time);
        EXPECT_NEAR(item->time, After(time, 17, item->SpeedCoef), 1e-3) << "it moves on from where it stood";
    }
    MixerRender(nullptr, 441);
    EXPECT_EQ(gryph->GuitarChannel->Position(), lead + 441);
    EXPECT_EQ(gryph->SongChannel->Position(), band + 441);
}

TEST_F(ControllerTest, PauseStopsTheEmittersAndResumeRestartsThem) {
    LoadQuietChart();
    Run(100);
    PutBatOn(1);
    NotePtr note = PutNote(1, 81.3f);
    Frame(0);
    ASSERT_EQ(note->PickUpStarted, 1);
    ASSERT_FALSE(gryph->Emitters.empty()) << "a catch bursts";
    game->PauseGame();
    for (const auto& e : gryph->Emitters) EXPECT_EQ(e->Pause, 1);
    GameClock += 10000;
    AdvanceClock(10000);
    game->ResumeGame();
    for (const auto& e : gryph->Emitters) {
        EXPECT_EQ(e->Pause, 0);
        EXPECT_EQ(e->OldTime, ClockMs());
    }
}

// The level takes the mouse in relative mode while it plays; every way of
// pausing gives the pointer back, and resuming takes it again.
TEST_F(ControllerTest, PlayTakesTheMouseAndEveryPauseGivesItBack) {
    const int startMode = StartMode;
    // The play screen on its own: no pause menu over it (a test before this
    // one in the same program may have installed the screens' hooks).
    const LevelHooks installed = InstalledLevelHooks();
    LevelHooks bare = installed;
    bare.OpenInGameMenu = nullptr;
    SetLevelHooks(bare);
    StartMode = TApp::START_MODE_MENU;  // Escape pauses rather than quits
    LoadQuietChart();
    EXPECT_EQ(MouseRelative(), 1);
    const struct {
        const char* name;
        void (*press)();
    } ways[] = {
        {"right click", [] { InjectMouseButton(2, true); InjectMouseButton(2, false); }},
        {"P", [] { InjectKey(KEY_P, true); InjectKey(KEY_P, false); }},
        {"Escape", [] { InjectKey(KEY_ESCAPE, true); InjectKey(KEY_ESCAPE, false); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        way.press();
        PollEvents();
        game->Update(1);
        EXPECT_EQ(game->GamePaused, 1);
        EXPECT_EQ(MouseRelative(), 0);
        way.press();
        PollEvents();
        game->Update(1);
        EXPECT_EQ(game->GamePaused, 0);
        EXPECT_EQ(MouseRelative(), 1);
    }
    // Losing the focus pauses; getting it back does not resume by itself.
    InjectFocus(false);
    PollEvents();
    game->Update(1);
    EXPECT_EQ(game->GamePaused, 1);
    EXPECT_EQ(MouseRelative(), 0);
    InjectFocus(true);
    PollEvents();
    game->Update(1);
    EXPECT_EQ(game->GamePaused, 1);
    EXPECT_EQ(MouseRelative(), 0);
    ways[0].press();
    PollEvents();
    game->Update(1);
    EXPECT_EQ(game->GamePaused, 0);
    EXPECT_EQ(MouseRelative(), 1);
    gryph->StopGame();
    EXPECT_EQ(MouseRelative(), 0);
    StartMode = startMode;
    SetLevelHooks(installed);
}

// The verdict of LevelComplete from the level's counts and score.
struct Verdict {
    int notesAll, notesCount, complexity, points;
    int accuracy, stars;
};

TEST_F(ControllerTest, LevelCompleteWorksOutAccuracyAndStars) {
    const Verdict cases[] = {
        {50, 40, 2, 0, 80, 1},       // accuracy above 50: one star
        {50, 40, 2, 8000, 80, 1},    // not more than 40 × 2 × 100
        {50, 40, 2, 8100, 80, 2},    // more: two stars
        {50, 40, 2, 16000, 80, 2},   // not more than 40 × 2 × 200
        {50, 40, 2, 16001, 80, 3},   // more: three
        {50, 25, 1, 0, 50, 0},       // accuracy exactly 50: no star from it
        {50, 25, 1, 2501, 50, 2},    // the score alone can give two
        {50, 25, 1, 5001, 50, 3},
        {3, 2, 1, 0, 66, 1},         // truncated, not rounded
        {3, 1, 1, 0, 33, 0},
        {10, 10, 3, 3000, 100, 1},   // 3000 is not more than 10 × 3 × 100
    };
    for (const Verdict& c : cases) {
        SCOPED_TRACE(testing::Message() << c.notesCount << "/" << c.notesAll << " complexity " << c.complexity
                                        << " points " << c.points);
        LoadQuietChart();
        game->LevelInfo->complexity = c.complexity;
        CurrentLevelStat->NotesAll = c.notesAll;
        CurrentLevelStat->NotesCount = c.notesCount;
        game->Points = c.points;
        const int completed = game->CompletedLevels;
        game->LevelComplete();
        EXPECT_EQ(CurrentLevelStat->Accuracy, c.accuracy);
        EXPECT_EQ(CurrentLevelStat->StarsForLevel, c.stars);
        EXPECT_EQ(game->GamePaused, 1) << "the level stands still behind its results";
        EXPECT_EQ(game->CompletedLevels, completed + 1);
        game->ResumeGame();
        gryph->StopGame();
    }
}

TEST_F(ControllerTest, SongWithoutNotesEndsWithAccuracyZero) {
    LoadChart(midi_test::Chart());
    EXPECT_TRUE(gryph->MIDI->notes.empty());
    Run(170);
    EXPECT_EQ(game->CompletedLevels, 0) << "the tracks still play";
    EXPECT_GT(Prizes("notesended"), 0);
    // Mix both tracks to their end: the next frame completes the level.
    for (int i = 0; i < 70 && (gryph->GuitarChannel->Playing() || gryph->SongChannel->Playing()); ++i)
        MixerRender(nullptr, 4410);
    ASSERT_EQ(gryph->GuitarChannel->Playing(), 0);
    ASSERT_EQ(gryph->SongChannel->Playing(), 0);
    Frame(17);
    EXPECT_EQ(game->CompletedLevels, 1);
    EXPECT_EQ(CurrentLevelStat->NotesAll, 0);
    EXPECT_EQ(CurrentLevelStat->Accuracy, 0);
    EXPECT_EQ(CurrentLevelStat->StarsForLevel, 0);
    EXPECT_EQ(game->GamePaused, 1);
}

TEST_F(ControllerTest, CaughtAndMissedNotesMakeTheAccuracyOfARealLevel) {
    // Four notes on line 1 and one on line 3; the catcher stays on line 1.
    midi_test::Chart chart;
    for (int i = 0; i < 4; ++i) chart.Note(3000 + 300 * i, kLine0 + 1, kPlain);
    chart.Note(4500, kLine0 + 3, kPlain);
    LoadChart(chart);
    RunUntil(5200);
    EXPECT_EQ(CurrentLevelStat->NotesAll, 5);
    EXPECT_EQ(CurrentLevelStat->NotesCount, 4);
    EXPECT_EQ(game->Points, 400);
    game->LevelInfo->complexity = 1;
    game->LevelComplete();
    EXPECT_EQ(CurrentLevelStat->Accuracy, 80);
    EXPECT_EQ(CurrentLevelStat->StarsForLevel, 1) << "400 is not more than 4 × 1 × 100";
}

TEST_F(ControllerTest, EndOfTheSongCompletesTheLevelOnceThroughTheWidgetManager) {
    LoadChart(midi_test::Chart().Note(1000, kLine0 + 1, kPlain));
    const auto managerFrame = [] {
        GameClock += 17;
        AdvanceClock(17);
        PollEvents();
        WidgetManager->Update(1);
    };
    for (int i = 0; i < 100; ++i) managerFrame();
    ASSERT_EQ(game->GamePaused, 0);
    EXPECT_EQ(CurrentLevelStat->NotesCount, 1);
    while (gryph->GuitarChannel->Playing() || gryph->SongChannel->Playing()) MixerRender(nullptr, 4410);
    for (int i = 0; i < 20; ++i) managerFrame();
    EXPECT_EQ(game->CompletedLevels, 1) << "the paused level is not updated again";
    EXPECT_EQ(game->GamePaused, 1);
    EXPECT_EQ(CurrentLevelStat->Accuracy, 100);
    // The pause keys do not bring a finished level back.
    InjectKey(KEY_P, true);
    managerFrame();
    InjectKey(KEY_P, false);
    for (int i = 0; i < 5; ++i) managerFrame();
    EXPECT_EQ(game->GamePaused, 1);
    EXPECT_EQ(game->CompletedLevels, 1);
}

TEST_F(ControllerTest, ALevelWithoutBothTracksOrWithABrokenChartDoesNotStart) {
    const std::filesystem::path folder = songs / "song";
    const struct {
        bool chart, guitar, band;
    } cases[] = {{true, false, true}, {true, true, false}, {false, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.chart << c.guitar << c.band);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        if (c.chart) {
            WriteFile(folder / "notes.mid", midi_test::Chart().Note(3000, kLine0, kPlain).Build());
        } else {
            WriteFile(folder / "notes.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1});  // cut short
        }
        if (c.guitar) WriteFile(folder / "guitar.ogg", TrackOgg(true));
        if (c.band) WriteFile(folder / "song.ogg", TrackOgg(false));
        EXPECT_EQ(gryph->Load("song", 0, 0), -1);
        EXPECT_FALSE(gryph->GuitarChannel && gryph->GuitarChannel->Playing());
        EXPECT_FALSE(gryph->SongChannel && gryph->SongChannel->Playing());
        // Frames of a highway that did not load do nothing and do not fail.
        Run(100);
        EXPECT_TRUE(gryph->Items.empty());
        EXPECT_EQ(game->CompletedLevels, 0) << "a level that never started is not completed";
    }
}

TEST_F(ControllerTest, ReplayRestartsTheLevelOnTheTracksAlreadyDecoded) {
    CurrentSkin = "ruletests";
    game->LevelInfo->Skin = "ruletests";
    const std::filesystem::path folder = songs / "song";
    std::filesystem::create_directories(folder);
    WriteFile(folder / "notes.mid", midi_test::Chart().Note(1000, kLine0 + 1, kPlain).Build());
    WriteFile(folder / "guitar.ogg", TrackOgg(true));
    WriteFile(folder / "song.ogg", TrackOgg(false));
    ASSERT_EQ(game->StartLevel(0), 0);
    Run(1200);
    MixerRender(nullptr, 44100);
    EXPECT_EQ(game->Points, 100);
    const SoundPtr guitar = gryph->GuitarSound, band = gryph->SongSound;
    const LevelStatPtr firstStat = CurrentLevelStat;
    // The tracks are gone from the disk: a replay must not need them.
    std::filesystem::remove(folder / "guitar.ogg");
    std::filesystem::remove(folder / "song.ogg");
    game->ReplayGame();
    EXPECT_EQ(gryph->GuitarSound, guitar);
    EXPECT_EQ(gryph->SongSound, band);
    ASSERT_TRUE(gryph->GuitarChannel && gryph->SongChannel);
    EXPECT_EQ(gryph->GuitarChannel->Playing(), 1);
    EXPECT_EQ(gryph->GuitarChannel->Position(), 0);
    EXPECT_EQ(gryph->SongChannel->Position(), 0);
    EXPECT_EQ(game->Points, 0);
    EXPECT_NE(CurrentLevelStat, firstStat) << "a fresh statistics record";
    EXPECT_EQ(GameClock, 0.0f);
    Run(1200);
    EXPECT_EQ(CurrentLevelStat->NotesCount, 1) << "the chart plays again from the start";
    CurrentSkin.clear();
}

}  // namespace
