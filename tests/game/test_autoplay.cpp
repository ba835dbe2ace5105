// Every level of the built game played from start to end by the autoplay
// driver, through the window system's input path under a driven clock: the
// level must end with every note and fret caught, every melody completed,
// every long note held to its end, and the score the rules give.
//
// The expected score. Each caught item is paid, at the frame its points are
// awarded, base × m where m is 1, 2 or 4 from the combo meter (×2 from 30, ×4
// from 40) and base is: 100 for a note (+20 for every star collected along a
// long note's tail), int(100 × (3 − |81.5 − t|) × 1.5) for a starred note
// caught with a live click at progress t, int(100 × (3 − |81.5 − t|) × 2) for
// a fret, 50 for a bonus item. A completed melody of n notes pays
// 50 × n × (n − 1) × m. So
//
//   Points = Σ items base × m(award frame) + Σ melodies 50 n (n − 1) × m(judge frame).
//
// t is the progress of the item in the frame it was caught, which the driver
// reads off the highway (it depends on where the frame boundaries fall, so it
// cannot be derived from the chart alone); n comes from the chart's melody
// chains. The meter is not read from the highway: the driver keeps its own,
// fed only with the catch events ("starclick" +2, "starclickfailed" +1,
// "fretclick" +4) and the combo rules (the list's cap at 70, the time decay
// beyond 15 entries that speeds up during a gold rush, the meter closing a
// third of the gap per 17 ms), checks frame by frame that the highway's meter
// agrees, and takes m from its own. Stars collected are counted from the
// stars a long note carries by the rule (offsets 1, 5, 9, … up to its length
// at the level's speed) less those still on the note when it is paid.
// The total is also checked against the level's statistics, whose four point
// categories must add up to the score.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../media/GraphicsTestSupport.h"
#include "AutoPlayer.h"
#include "BuiltGameStart.h"
#include "MidiBuilder.h"
#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "content/DataPak.h"
#include "content/GameFolder.h"
#include "content/TResManager.h"
#include "game/GameGlobals.h"
#include "game/GameplayEvents.h"
#include "game/LevelHooks.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TMidiFile.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Input.h"
#include "media/System.h"
#include "game/TLevelInfo.h"

namespace fs = std::filesystem;

namespace {

// ---- The rules the driver's expectations are written with -----------------

TEST(AutoPlayRules, ItemPointsFollowTheWorkedExamples) {
    // A starred note clicked at 82 is worth int(150 × 2.5); at the catch point 450.
    EXPECT_EQ(AutoPlayer::StarClickPoints(82.0f), 375);
    EXPECT_EQ(AutoPlayer::StarClickPoints(81.5f), 450);
    // A fret at the catch point earns 600, one just before 83 about 300.
    EXPECT_EQ(AutoPlayer::FretPoints(81.5f), 600);
    EXPECT_NEAR(AutoPlayer::FretPoints(82.99f), 300, 2);
    // Melodies of 5, 3 and 2 notes at ×1.
    EXPECT_EQ(AutoPlayer::MelodyPoints(5), 1000);
    EXPECT_EQ(AutoPlayer::MelodyPoints(3), 300);
    EXPECT_EQ(AutoPlayer::MelodyPoints(2), 100);
    // Length 10 at speed 1 carries stars at 1, 5 and 9; length 4 is no long note.
    EXPECT_EQ(AutoPlayer::RuleStars(10, 1), 3);
    EXPECT_EQ(AutoPlayer::RuleStars(4, 1), 0);
    EXPECT_EQ(AutoPlayer::RuleStars(20, 1), 5);
    EXPECT_EQ(AutoPlayer::MultiplierFor(29.9f), 1);
    EXPECT_EQ(AutoPlayer::MultiplierFor(35), 2);
    EXPECT_EQ(AutoPlayer::MultiplierFor(40), 4);
}

TEST(AutoPlayRules, MelodiesAreTheChainsWithFollowers) {
    // 40, 10, 10 form one chain of three; 70 stands alone; a head (40) whose
    // next note is a plain 70 has no follower and makes no melody.
    const midi_test::Bytes bytes = midi_test::Chart()
                                       .Note(1000, 84, 40)
                                       .Note(1500, 85, 10)
                                       .Note(2000, 86, 10)
                                       .Note(3000, 84, 70)
                                       .Note(4000, 85, 40)
                                       .Note(5000, 86, 70)
                                       .Build();
    TMidiFile chart;
    chart.Log = [](const std::string&) {};
    StreamPtr stream = OpenMemory(bytes, "chain.mid");
    ASSERT_EQ(chart.Load(*stream, 0), 0) << chart.Error;
    EXPECT_EQ(AutoPlayer::MelodySizes(chart), std::vector<int>({3}));
}

// ---- Every level, played -----------------------------------------------------

// What a level's chart holds, counted from the chart file itself.
struct ChartCounts {
    int notes = 0, frets = 0, starred = 0, longNotes = 0;
    int lastMs = 0;
    std::vector<int> melodies;
};

bool IsLineNote(const TMidiNote& n) {
    return n.note >= TMidiFile::NOTE_LINE_FIRST && n.note <= TMidiFile::NOTE_LINE_LAST;
}

ChartCounts CountChart(const TMidiFile& chart) {
    ChartCounts c;
    for (const MidiNotePtr& n : chart.notes) {
        if (IsLineNote(*n)) {
            ++c.notes;
            if (n->Starred) ++c.starred;
            if (n->Length > 4) ++c.longNotes;
        } else if (n->note == TMidiFile::NOTE_FRET) {
            ++c.frets;
        }
        c.lastMs = std::max(c.lastMs, n->StartTime + n->Length * 30);
    }
    c.melodies = AutoPlayer::MelodySizes(chart);
    return c;
}

// Every `every`-th plain short note that stands outside any melody and whose
// neighbours are on other lines: the catcher can go straight from the note
// before to the note after and let it pass, so only that note is missed.
std::set<int> NotesToLetPass(const TMidiFile& chart, int every) {
    std::vector<const TMidiNote*> line;
    for (const MidiNotePtr& n : chart.notes)
        if (IsLineNote(*n)) line.push_back(n.get());
    std::set<int> chosen;
    int eligible = 0;
    for (size_t i = 1; i + 1 < line.size(); ++i) {
        const TMidiNote& n = *line[i];
        if (n.single != 1 || n.StartLine != 0 || n.Starred || n.Length > 4) continue;
        if (line[i - 1]->note == n.note || line[i + 1]->note == n.note) continue;
        if (++eligible % every == 0) chosen.insert(n.StartTime);
    }
    return chosen;
}

// One level of the table, played perfectly or letting some notes pass.
struct PlayCase {
    int level;
    bool letNotesPass;
    int stallMs = 0;  // a frame that long every `stallEvery` frames
    int stallEvery = 53;
};

std::vector<PlayCase> PlayCases() {
    std::vector<PlayCase> cases;
    for (int id = 1; id <= 28; ++id) cases.push_back({id, false});
    // A slow, a middle and the fastest level once more with misses.
    for (int id : {4, 14, 28}) cases.push_back({id, true});
    // A slow machine's stalls: a 100 ms frame now and then must cost no catch
    // and no note, on the slowest and the fastest highway.
    for (int id : {1, 28}) cases.push_back({id, false, 100});
    // A laptop suspended for ten seconds every ten seconds or so: each stall
    // is taken out of the level, so it too costs nothing.
    for (int id : {1, 28}) cases.push_back({id, false, 10000, 600});
    return cases;
}

// The game's start-up, minus the splash screens, inside the built runtime
// folder, once for all levels: the display, the resource scopes the game
// loads before the menu, the controller hidden in the widget manager, the
// level table. Sound runs on the silent mixer, which advances with the driven
// clock, so the songs end on the clock the frames move.
class AutoPlay : public builtgame::LevelSuite<::testing::TestWithParam<PlayCase>> {};

// Perfect play: every note and fret caught, every starred note and fret with a
// click, every long note held, every melody completed, the rules' score.
// Letting notes pass: each passed note is one "notefail" and one note less for
// the accuracy, and costs nothing else (plain notes outside the melodies add
// nothing to the meter); the melodies still complete, and the score still
// adds up. The misses fall after melody rows have been cleared from the
// screen, which the melody row must take in its stride.
TEST_P(AutoPlay, EndsWithTheItemsCaughtAndTheScoreTheRulesGive) {
    const PlayCase c = GetParam();
    const LevelInfoPtr level = GetLevelById(c.level);
    ASSERT_TRUE(level) << "level " << c.level << " is not in the level table";
    SCOPED_TRACE("level " + std::to_string(c.level) + ": " + level->song + ", complexity " +
                 std::to_string(level->complexity) + ", speed " + std::to_string(level->speed));

    TMidiFile chart;
    chart.Log = [](const std::string&) {};
    ASSERT_EQ(chart.Load("media/songs/" + level->song + "/notes.mid", level->complexity), 0) << chart.Error;
    const ChartCounts expected = CountChart(chart);
    const std::set<int> letPass = c.letNotesPass ? NotesToLetPass(chart, 2) : std::set<int>{};
    if (c.letNotesPass) {
        ASSERT_FALSE(letPass.empty()) << "no note of this chart can be let pass alone";
    }
    const int missed = static_cast<int>(letPass.size());

    ClearGameplayEvents();
    AutoPlayer player;
    player.MissNotes(letPass);
    if (c.stallMs > 0) player.StallEvery(c.stallEvery, c.stallMs);
    Game->LevelInfo = level;
    ASSERT_EQ(Game->StartLevel(0), 0);
    player.Begin();
    // The tracks run somewhat past the chart's last note; a minute more is plenty.
    const int maxFrames = (expected.lastMs + 60000) / AutoPlayer::FRAME_MS;
    ASSERT_TRUE(player.PlayToEnd(maxFrames)) << "the level did not end within " << maxFrames << " frames";

    for (const std::string& p : player.Problems()) ADD_FAILURE() << p;
    // Stalled or not, the tracks end every frame where the chart is.
    EXPECT_LE(player.WorstTrackDriftMs(), AutoPlayer::FRAME_MS);
    EXPECT_FALSE(player.TracksApart());

    const LevelStatPtr stat = CurrentLevelStat;
    ASSERT_TRUE(stat);
    const int all = expected.notes + expected.frets;
    EXPECT_EQ(stat->NotesAll, all);
    EXPECT_EQ(stat->NotesCount, all - missed);
    EXPECT_EQ(stat->Accuracy, static_cast<int>(static_cast<double>(all - missed) / all * 100.0));
    if (!c.letNotesPass) {
        EXPECT_EQ(stat->Accuracy, 100);
    }

    auto prizes = [](const char* name) { return CountGameplayEvents(EventTarget::Prizes, name); };
    EXPECT_EQ(prizes("notefail"), missed);
    EXPECT_EQ(prizes("starclick"), expected.starred);
    EXPECT_EQ(prizes("starclickfailed"), 0);
    EXPECT_EQ(prizes("fretclick"), expected.frets);
    EXPECT_EQ(prizes("longpick"), expected.longNotes);
    EXPECT_EQ(prizes("melodycomplete"), static_cast<int>(expected.melodies.size()));
    EXPECT_EQ(prizes("melodyfail"), 0);

    EXPECT_EQ(Game->Points, stat->Notes + stat->Frets + stat->Stars + stat->Melodies);
    if (c.stallMs > 0) {
        // The player sees the highway only between frames, so where inside a
        // stalled frame an item was caught, and what that paid, is the game's
        // to know; that none was lost is checked above.
        Game->StopGame(0);
        return;
    }

    EXPECT_TRUE(player.MeterMismatch().empty()) << player.MeterMismatch();
    int wrongItems = 0;
    for (const AutoPlayer::ItemRecord& r : player.Records()) {
        if (!r.caught) continue;
        EXPECT_GT(r.timeAtCatch, 81.25f) << "item of " << r.chartTime << " ms caught outside the window";
        EXPECT_LT(r.timeAtCatch, 83.0f) << "item of " << r.chartTime << " ms caught outside the window";
        // A held tail passes the catch point by less than one unit a frame,
        // so no star can slip through the band where stars are collected;
        // only the first one, one unit behind the head, is hidden by the
        // head end of the tail until the note is paid.
        if (r.longNote) {
            EXPECT_GE(r.starsCollected, r.ruleStars - 1) << "long note of " << r.chartTime << " ms";
        }
        if (r.awardedPoints != r.expectedPoints && ++wrongItems <= 5) {
            ADD_FAILURE() << "item of " << r.chartTime << " ms on line " << r.line << " caught at progress "
                          << r.timeAtCatch << ", ×" << r.mult << ": paid " << r.awardedPoints << ", the rules give "
                          << r.expectedPoints;
        }
    }
    EXPECT_EQ(wrongItems, 0);
    EXPECT_EQ(Game->Points, player.ExpectedPoints(expected.melodies));

    Game->StopGame(0);
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, AutoPlay, ::testing::ValuesIn(PlayCases()),
                         [](const ::testing::TestParamInfo<PlayCase>& info) {
                             return "Level" + std::to_string(info.param.level) +
                                    (info.param.letNotesPass ? "_LettingNotesPass" : "") +
                                    (info.param.stallMs > 0 ? (info.param.stallMs > 1000 ? "_WithSuspends" : "_WithStalls") : "");
                         });

// The table of cases above must cover the level table as built.
TEST(AutoPlayTable, CoversEveryLevelOfTheTable) {
    const fs::path table = fs::path(TOTEM_BINARY_DIR) / "game" / "media" / "levels.xml";
    if (!fs::exists(table)) GTEST_SKIP() << "the runtime folder is not built (content turned off)";
    LoadLevelInfoList(table.string());
    std::set<int> ids;
    for (const LevelInfoPtr& level : LevelInfoList) ids.insert(level->id);
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(*ids.begin(), 1);
    EXPECT_EQ(*ids.rbegin(), 28);
    EXPECT_EQ(ids.size(), LevelInfoList.size()) << "level ids repeat";
}

}  // namespace
