#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "game/MidiBuilder.h"
#include "game/TMidiFile.h"
#include "media/TStream.h"

namespace fs = std::filesystem;
using midi_test::Bytes;
using midi_test::Chart;
using midi_test::Track;

namespace {

struct Loaded {
    std::shared_ptr<TMidiFile> file = std::make_shared<TMidiFile>();
    int result = 0;
    std::vector<std::string> lines;
};

Loaded LoadBytes(const Bytes& bytes, int shift = 0, const std::string& name = "notes.mid") {
    Loaded out;
    auto* lines = &out.lines;
    out.file->Log = [lines](const std::string& line) { lines->push_back(line); };
    StreamPtr stream = OpenMemory(bytes, name);
    out.result = out.file->Load(*stream, shift);
    return out;
}

// A file with a tempo event and the given events after it.
Bytes OneTrack(uint16_t division, uint32_t tempo, const Bytes& events) {
    Track track;
    if (tempo) track.Tempo(0, tempo);
    Bytes data = track.Data();
    data.insert(data.end(), events.begin(), events.end());
    Bytes out = midi_test::Header(division, 1);
    midi_test::PutChunk(out, "MTrk", data);
    return out;
}

int IndexOf(const std::vector<MidiNotePtr>& list, const MidiNotePtr& n) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == n) return int(i);
    }
    return -1;
}

// --- time conversion -------------------------------------------------------

struct TimeCase {
    uint16_t division;
    uint32_t tempo;  // 0 = no tempo event
    uint32_t startTick;
    uint32_t lengthTicks;
    int startMs;
    int length30;
};

class MidiTimes : public testing::TestWithParam<TimeCase> {};

TEST_P(MidiTimes, TicksBecomeMillisecondsAndLengthsThirtyMillisecondUnits) {
    const TimeCase& c = GetParam();
    Track track;
    if (c.tempo) track.Tempo(0, c.tempo);
    // Velocity 100 asks for a long note, so the length is kept.
    track.On(c.startTick, 84, 100).Off(c.lengthTicks, 84).End();
    Loaded l = LoadBytes(midi_test::File(c.division, {track}));
    ASSERT_EQ(l.result, 0) << l.file->Error;
    ASSERT_EQ(l.file->notes.size(), 1u);
    EXPECT_EQ(l.file->notes[0]->StartTime, c.startMs);
    EXPECT_EQ(l.file->notes[0]->Length, c.length30);
    EXPECT_FLOAT_EQ(l.file->PPQN, float(c.division));
    EXPECT_FLOAT_EQ(l.file->Tempo, c.tempo ? float(c.tempo) : 500000.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MidiTimes,
    testing::Values(TimeCase{480, 0, 960, 480, 1000, 16},          // 500 ms held: 16.7 units
                    TimeCase{96, 600000, 100, 100, 625, 20},       // 625 ms held: 20.8 units
                    TimeCase{1000, 1000000, 2000, 3000, 2000, 100},
                    // Whole milliseconds stay whole (a two-step division gives 4974).
                    TimeCase{1000, 1000000, 4975, 2970, 4975, 99},
                    TimeCase{480, 500000, 3, 47, 3, 1},             // 3.125 ms, 48.96 ms
                    TimeCase{192, 400000, 48, 29, 100, 2},          // 60.4 ms held
                    TimeCase{32767, 16777215, 32767, 0, 16777, 0},  // largest division and tempo
                    TimeCase{1, 1000, 1, 1, 1, 0}));

TEST(MidiFile, TheTempoReadLastAppliesToTheWholeSong) {
    for (bool slowLast : {true, false}) {
        Track first, second;
        first.Tempo(0, slowLast ? 500000 : 1000000).End();
        second.Tempo(0, slowLast ? 1000000 : 500000).On(1000, 84, 70).Off(10, 84).End();
        Loaded l = LoadBytes(midi_test::File(1000, {first, second}));
        ASSERT_EQ(l.result, 0) << l.file->Error;
        EXPECT_EQ(l.file->TempoEventCount, 2);
        EXPECT_EQ(l.file->TrackCount, 2);
        ASSERT_EQ(l.file->notes.size(), 1u);
        EXPECT_EQ(l.file->notes[0]->StartTime, slowLast ? 1000 : 500);
        EXPECT_EQ(l.file->notes[0]->Track, 1);
    }
}

TEST(MidiFile, ATempoChangeLaterInTheSongAlsoRetimesTheNotesBeforeIt) {
    Track track;
    track.Tempo(0, 500000).On(1000, 84, 70).Off(10, 84).Tempo(0, 250000).On(990, 85, 70).Off(10, 85).End();
    Loaded l = LoadBytes(midi_test::File(1000, {track}));
    ASSERT_EQ(l.result, 0);
    ASSERT_EQ(l.file->notes.size(), 2u);
    EXPECT_EQ(l.file->notes[0]->StartTime, 250);
    EXPECT_EQ(l.file->notes[1]->StartTime, 500);
}

// --- octave shift and note numbers ----------------------------------------

struct ShiftCase {
    int chartNote;
    int shift;
    int gameNote;  // -1 = dropped
};

class MidiShift : public testing::TestWithParam<ShiftCase> {};

TEST_P(MidiShift, TheShiftPicksWhichOctaveReachesTheGame) {
    const ShiftCase& c = GetParam();
    Track track;
    track.On(0, c.chartNote, 70).Off(30, c.chartNote).End();
    Loaded l = LoadBytes(midi_test::File(480, {track}), c.shift);
    ASSERT_EQ(l.result, 0);
    if (c.gameNote < 0) {
        EXPECT_TRUE(l.file->notes.empty());
        EXPECT_TRUE(l.file->Messages.empty());
    } else {
        ASSERT_EQ(l.file->notes.size(), 1u);
        EXPECT_EQ(l.file->notes[0]->note, c.gameNote);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, MidiShift,
                         testing::Values(ShiftCase{72, 1, 84}, ShiftCase{84, 1, -1},
                                         ShiftCase{84, 0, 84}, ShiftCase{60, 2, 84},
                                         ShiftCase{96, -1, 84}, ShiftCase{80, 1, 92},
                                         ShiftCase{83, 0, -1}, ShiftCase{93, 0, -1},
                                         ShiftCase{77, 1, 89}, ShiftCase{79, 1, 91},
                                         ShiftCase{127, -3, 91}, ShiftCase{0, 7, 84},
                                         ShiftCase{84, 1000000, -1}, ShiftCase{84, -1000000, -1}));

// --- messages --------------------------------------------------------------

struct MessageCase {
    int heldMs;
    int lengthMs;
};

class MidiMessages : public testing::TestWithParam<MessageCase> {};

TEST_P(MidiMessages, MessageLengthsAreWholeThirtyMillisecondStepsInMilliseconds) {
    Chart chart;
    chart.Note(500, 84, 70).Note(1000, 90, 3, GetParam().heldMs).Note(1500, 85, 70);
    Loaded l = LoadBytes(chart.Build());
    ASSERT_EQ(l.result, 0);
    ASSERT_EQ(l.file->Messages.size(), 1u);
    const TMidiNote& m = *l.file->Messages[0];
    EXPECT_EQ(m.note, 90);
    EXPECT_EQ(m.velocity, 3);
    EXPECT_EQ(m.StartTime, 1000);
    EXPECT_EQ(m.Length, GetParam().lengthMs);
    // Messages leave the game notes and are not printed.
    ASSERT_EQ(l.file->notes.size(), 2u);
    EXPECT_EQ(l.file->notes[0]->note, 84);
    EXPECT_EQ(l.file->notes[1]->note, 85);
    EXPECT_EQ(l.lines.size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Table, MidiMessages,
                         testing::Values(MessageCase{2000, 1980}, MessageCase{29, 0},
                                         MessageCase{30, 30}, MessageCase{61, 60},
                                         MessageCase{0, 0}));

TEST(MidiFile, AMessageDoesNotHideANoteInTheSameMillisecond) {
    Chart chart;
    chart.Note(1000, 90, 2, 900).Note(1000, 86, 70);
    Loaded l = LoadBytes(chart.Build());
    ASSERT_EQ(l.result, 0);
    ASSERT_EQ(l.file->notes.size(), 1u);
    EXPECT_EQ(l.file->notes[0]->note, 86);
    EXPECT_EQ(l.file->Messages.size(), 1u);
    EXPECT_TRUE(l.file->SameTimeDropped.empty());
}

// --- same millisecond ------------------------------------------------------

struct SameTimeCase {
    const char* name;
    std::vector<std::pair<int, int>> notes;  // (tick, note number), file order
    uint16_t division;
    uint32_t tempo;
    std::vector<int> kept;     // note numbers left, in order
    std::vector<int> dropped;  // note numbers dropped for their time
};

class MidiSameTime : public testing::TestWithParam<SameTimeCase> {};

TEST_P(MidiSameTime, OnlyTheFirstNoteOfAMillisecondSurvives) {
    const SameTimeCase& c = GetParam();
    // Notes are written at the given ticks in the given order (ticks never
    // go backwards within the list).
    Track track;
    track.Tempo(0, c.tempo);
    uint32_t now = 0;
    for (const auto& [tick, number] : c.notes) {
        track.On(uint32_t(tick) - now, number, 70);
        now = uint32_t(tick);
    }
    track.End(10);
    Loaded l = LoadBytes(midi_test::File(c.division, {track}));
    ASSERT_EQ(l.result, 0);
    std::vector<int> kept, dropped;
    for (const auto& n : l.file->notes) kept.push_back(n->note);
    for (const auto& n : l.file->SameTimeDropped) dropped.push_back(n->note);
    EXPECT_EQ(kept, c.kept);
    EXPECT_EQ(dropped, c.dropped);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MidiSameTime,
    testing::Values(
        SameTimeCase{"lineThenFret", {{100, 86}, {100, 89}}, 1000, 1000000, {86}, {89}},
        SameTimeCase{"fretThenLine", {{100, 89}, {100, 86}}, 1000, 1000000, {89}, {86}},
        SameTimeCase{"flashFirstWins", {{100, 92}, {100, 84}}, 1000, 1000000, {92}, {84}},
        // 2 and 3 ticks at half a millisecond each both start in millisecond 1.
        SameTimeCase{"sameTruncatedMs", {{2, 84}, {3, 85}, {4, 86}}, 1000, 500000, {84, 86}, {85}},
        // An unused note between does not count as the note kept before.
        SameTimeCase{"unusedBetween", {{10, 84}, {10, 60}, {10, 85}, {20, 86}}, 1000, 1000000,
                     {84, 86}, {85}},
        SameTimeCase{"threeAtOnce", {{0, 84}, {0, 85}, {0, 91}}, 1000, 1000000, {84}, {85, 91}},
        SameTimeCase{"distinct", {{0, 84}, {1, 85}, {2, 86}}, 1000, 1000000, {84, 85, 86}, {}}),
    [](const testing::TestParamInfo<SameTimeCase>& info) { return std::string(info.param.name); });

// --- velocities ------------------------------------------------------------

struct VelocityCase {
    int velocity;
    int single;
    int startLine;
    int length;  // after loading, for a note held 300 ms
    int starred;
};

class MidiVelocity : public testing::TestWithParam<VelocityCase> {};

TEST_P(MidiVelocity, VelocitySaysHowANoteBehaves) {
    const VelocityCase& c = GetParam();
    for (int number : {84, 88, 89}) {
        Chart chart;
        chart.Note(600, number, c.velocity, 300);
        Loaded l = LoadBytes(chart.Build());
        ASSERT_EQ(l.result, 0);
        ASSERT_EQ(l.file->notes.size(), 1u);
        const TMidiNote& n = *l.file->notes[0];
        EXPECT_EQ(n.velocity, c.velocity);
        EXPECT_EQ(n.single, c.single) << c.velocity;
        EXPECT_EQ(n.StartLine, c.startLine) << c.velocity;
        EXPECT_EQ(n.Length, c.length) << c.velocity;
        EXPECT_EQ(n.Starred, c.starred) << c.velocity;
        EXPECT_EQ(n.next_, nullptr);
        EXPECT_EQ(l.file->StarredCount, c.starred);
        EXPECT_EQ(l.file->FretsCount, number == 89 ? 1 : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, MidiVelocity,
                         testing::Values(VelocityCase{0, 0, 0, 0, 0}, VelocityCase{29, 0, 0, 0, 0},
                                         VelocityCase{30, 1, 0, 0, 0}, VelocityCase{31, 0, 1, 0, 0},
                                         VelocityCase{59, 0, 1, 0, 0}, VelocityCase{60, 1, 0, 0, 0},
                                         VelocityCase{89, 1, 0, 0, 0}, VelocityCase{90, 1, 0, 10, 0},
                                         VelocityCase{120, 1, 0, 10, 0},
                                         VelocityCase{121, 1, 0, 0, 1},
                                         VelocityCase{127, 1, 0, 0, 1}));

TEST(MidiFile, BonusAndFlashNotesKeepTheirVelocityAndLength) {
    Chart chart;
    chart.Note(100, 91, 5, 300).Note(200, 92, 80, 300).Note(300, 84, 125);
    Loaded l = LoadBytes(chart.Build());
    ASSERT_EQ(l.result, 0);
    ASSERT_EQ(l.file->notes.size(), 3u);
    for (int i : {0, 1}) {
        const TMidiNote& n = *l.file->notes[size_t(i)];
        EXPECT_EQ(n.Length, 10);
        EXPECT_EQ(n.single, 0);
        EXPECT_EQ(n.Starred, 0);
    }
    EXPECT_EQ(l.file->notes[1]->velocity, 80);
    EXPECT_EQ(l.file->StarredCount, 1);
}

// --- chains ----------------------------------------------------------------

struct ChainCase {
    const char* name;
    std::vector<std::pair<int, int>> notes;  // (note number, velocity), 100 ms apart
    std::vector<int> next;                   // index of next_, -1 for none
    std::vector<int> startLine;
    std::vector<int> single;
};

class MidiChains : public testing::TestWithParam<ChainCase> {};

TEST_P(MidiChains, VelocitiesChainNotesIntoMelodies) {
    const ChainCase& c = GetParam();
    Chart chart;
    int at = 1000;
    for (const auto& [number, velocity] : c.notes) {
        chart.Note(at, number, velocity);
        at += 100;
    }
    Loaded l = LoadBytes(chart.Build());
    ASSERT_EQ(l.result, 0);
    const auto& notes = l.file->notes;
    ASSERT_EQ(notes.size(), c.notes.size());
    std::vector<int> next, startLine, single;
    for (const auto& n : notes) {
        next.push_back(n->next_ ? IndexOf(notes, n->next_) : -1);
        startLine.push_back(n->StartLine);
        single.push_back(n->single);
    }
    EXPECT_EQ(next, c.next);
    EXPECT_EQ(startLine, c.startLine);
    EXPECT_EQ(single, c.single);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MidiChains,
    testing::Values(
        ChainCase{"headAndTwoMembers", {{84, 40}, {85, 10}, {86, 10}, {87, 70}},
                  {1, 2, -1, -1}, {1, 0, 0, 0}, {0, 0, 0, 1}},
        ChainCase{"noHeadAfterPlain", {{84, 70}, {85, 10}, {86, 10}}, {-1, 2, -1}, {1, 0, 0}, {1, 0, 0}},
        ChainCase{"newHeadEndsChain", {{84, 40}, {85, 50}, {86, 10}}, {-1, 2, -1}, {1, 1, 0}, {0, 0, 0}},
        ChainCase{"plainEndsChain", {{84, 40}, {85, 10}, {86, 30}, {87, 10}},
                  {1, -1, -1, -1}, {1, 0, 1, 0}, {0, 0, 1, 0}},
        ChainCase{"starredEndsChain", {{84, 31}, {85, 0}, {86, 121}}, {1, -1, -1}, {1, 0, 0}, {0, 0, 1}},
        // Bonus items and flashes stand outside chains: the link jumps them.
        ChainCase{"bonusInside", {{84, 40}, {91, 10}, {92, 50}, {85, 10}},
                  {3, -1, -1, -1}, {1, 0, 0, 0}, {0, 0, 0, 0}},
        ChainCase{"headAlone", {{84, 45}, {85, 100}}, {-1, -1}, {1, 0}, {0, 1}},
        ChainCase{"twoMelodies", {{84, 40}, {85, 10}, {86, 59}, {87, 29}},
                  {1, -1, 3, -1}, {1, 0, 1, 0}, {0, 0, 0, 0}}),
    [](const testing::TestParamInfo<ChainCase>& info) { return std::string(info.param.name); });

TEST(MidiFile, ALongMelodyIsReleasedWithoutDeepRecursion) {
    Chart chart;
    chart.Note(0, 84, 40);
    for (int i = 1; i < 100000; ++i) chart.Note(i * 2, 84 + i % 5, 10, 1);
    Loaded l = LoadBytes(chart.Build());
    ASSERT_EQ(l.result, 0);
    ASSERT_EQ(l.file->notes.size(), 100000u);
    // Keep only the head: dropping it must unlink the whole chain.
    MidiNotePtr head = l.file->notes[0];
    std::weak_ptr<TMidiNote> last = l.file->notes.back();
    l.file->Log = nullptr;
    l.file.reset();
    EXPECT_FALSE(last.expired());
    head.reset();
    EXPECT_TRUE(last.expired());
}

// --- printed lines ---------------------------------------------------------

TEST(MidiFile, PrintsEachGameNoteAndTheCounts) {
    Chart chart;
    chart.Note(250, 84, 100).Note(500, 91, 1).Note(750, 89, 64).Note(1000, 92, 50).Note(1250, 87, 127);
    chart.Note(1500, 90, 4, 600).Note(1750, 89, 122);
    Loaded l = LoadBytes(chart.Build());
    ASSERT_EQ(l.result, 0);
    const std::vector<std::string> expected = {
        "1: 250; note: 84; velocity: 100", "2: 750; note: 89; velocity: 64",
        "3: 1250; note: 87; velocity: 127", "4: 1750; note: 89; velocity: 122",
        "StarredCount = 2",                "FretsCount = 2"};
    EXPECT_EQ(l.lines, expected);
    EXPECT_EQ(l.file->StarredCount, 2);
    EXPECT_EQ(l.file->FretsCount, 2);
}

// --- event parsing ---------------------------------------------------------

struct ParseCase {
    const char* name;
    Bytes events;  // after a tempo event of 1 000 000 µs; 1000 ticks per quarter
    // (note number, start ms, velocity, length in 30 ms units), game notes then messages
    std::vector<std::array<int, 4>> expected;
};

class MidiParse : public testing::TestWithParam<ParseCase> {};

TEST_P(MidiParse, ReadsTheEventsChartsUse) {
    const ParseCase& c = GetParam();
    Loaded l = LoadBytes(OneTrack(1000, 1000000, c.events));
    ASSERT_EQ(l.result, 0) << l.file->Error;
    std::vector<std::array<int, 4>> got;
    for (const auto& n : l.file->notes) got.push_back({n->note, n->StartTime, n->velocity, n->Length});
    for (const auto& n : l.file->Messages) got.push_back({n->note, n->StartTime, n->velocity, n->Length});
    EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MidiParse,
    testing::Values(
        ParseCase{"runningNoteOn", {0x00, 0x90, 84, 100, 0x64, 85, 100, 0x00, 0xFF, 0x2F, 0x00},
                  {{84, 0, 100, 0}, {85, 100, 100, 0}}},
        // Meta and system-exclusive events leave the running status alone.
        ParseCase{"runningAfterMetaAndSysex",
                  {0x00, 0x90, 84, 70, 0x00, 0xFF, 0x01, 0x00, 0x0A, 85, 70, 0x00, 0xF0, 0x01, 0xF7, 0x0A, 86, 70},
                  {{84, 0, 70, 0}, {85, 10, 70, 0}, {86, 20, 70, 0}}},
        ParseCase{"runningNoteOff",
                  {0x00, 0x90, 84, 100, 0x0A, 85, 100, 0x82, 0x2C, 0x80, 84, 64, 0x3C, 85, 64},
                  {{84, 0, 100, 10}, {85, 10, 100, 12}}},
        // Two notes 84 and one note-off: it ends the later one.
        ParseCase{"offMatchesTheLastOn",
                  {0x00, 0x90, 84, 100, 0x84, 0x58, 84, 100, 0x82, 0x2C, 0x80, 84, 64},
                  {{84, 0, 100, 0}, {84, 600, 100, 10}}},
        ParseCase{"offWithoutOn", {0x00, 0x80, 85, 64, 0x0A, 0x90, 84, 100, 0x64, 0x80, 84, 64},
                  {{84, 10, 100, 3}}},
        // A zero-velocity note-on starts a note; the note-off ends it.
        ParseCase{"velocityZeroOn", {0x00, 0x90, 91, 0, 0x84, 0x58, 0x80, 91, 64},
                  {{91, 0, 0, 20}}},
        ParseCase{"velocityZeroMessage", {0x00, 0x90, 90, 0, 0x84, 0x58, 0x80, 90, 64},
                  {{90, 0, 0, 600}}},
        // Program changes in running status take one data byte each.
        ParseCase{"runningProgramChange",
                  {0x00, 0xC0, 5, 0x0A, 7, 0x0A, 9, 0x0A, 0x90, 84, 100},
                  {{84, 30, 100, 0}}},
        ParseCase{"runningChannelPressure", {0x00, 0xD3, 5, 0x0A, 7, 0x0A, 0x9F, 85, 70},
                  {{85, 20, 70, 0}}},
        ParseCase{"twoByteMessages",
                  {0x00, 0xA0, 84, 10, 0x00, 0xB1, 7, 100, 0x00, 0xE2, 0x00, 0x40, 0x05, 0x94, 86, 70,
                   0x05, 0xE0, 0x10, 0x10},
                  {{86, 5, 70, 0}}},
        ParseCase{"sysexSkippedByLength",
                  {0x00, 0xF0, 0x04, 0x90, 84, 100, 0xF7, 0x0A, 0xF7, 0x02, 0x90, 85, 0x0A, 0x90, 86, 70},
                  {{86, 20, 70, 0}}},
        ParseCase{"metaSkippedByLength",
                  {0x00, 0xFF, 0x01, 0x03, 0x90, 84, 100, 0x00, 0xFF, 0x7F, 0x03, 0x90, 85, 100, 0x00,
                   0xFF, 0x21, 0x01, 0x00, 0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, 0x0A, 0x90, 87, 70},
                  {{87, 10, 70, 0}}},
        ParseCase{"realTimeBytes", {0x00, 0xF8, 0x00, 0xFA, 0x00, 0xFB, 0x00, 0xFC, 0x07, 0x90, 88, 70},
                  {{88, 7, 70, 0}}},
        ParseCase{"longDelta", {0x81, 0x80, 0x00, 0x90, 84, 70}, {{84, 16384, 70, 0}}},
        ParseCase{"eventsAfterEndOfTrack", {0x00, 0xFF, 0x2F, 0x00, 0x0A, 0x90, 84, 70},
                  {{84, 10, 70, 0}}}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(MidiFile, TimeSignatureAndUnknownChunksAreReadAroundTheNotes) {
    Bytes out = midi_test::Header(480, 2);
    midi_test::PutChunk(out, "XTRA", {0x4D, 0x54, 0x72, 0x6B, 0, 0, 0, 9});
    Track track;
    track.Raw(0, {0xFF, 0x58, 0x04, 6, 3, 36, 8}).On(480, 85, 70).End();
    midi_test::PutChunk(out, "MTrk", track.Data());
    Loaded l = LoadBytes(out);
    ASSERT_EQ(l.result, 0) << l.file->Error;
    EXPECT_FLOAT_EQ(l.file->BPM, 36.0f);
    EXPECT_EQ(l.file->TempoEventCount, 0);
    ASSERT_EQ(l.file->notes.size(), 1u);
    EXPECT_EQ(l.file->notes[0]->StartTime, 500);
}

TEST(MidiFile, ReadersOfNumbersFollowTheFileFormat) {
    struct VarLenCase {
        Bytes bytes;
        int64_t value;
    };
    for (const VarLenCase& c : std::vector<VarLenCase>{{{0x00}, 0},
                                                       {{0x7F}, 127},
                                                       {{0x81, 0x00}, 128},
                                                       {{0xC0, 0x00}, 8192},
                                                       {{0xFF, 0x7F}, 16383},
                                                       {{0x81, 0x80, 0x00}, 16384},
                                                       {{0xFF, 0xFF, 0xFF, 0x7F}, 0x0FFFFFFF}}) {
        TMidiFile file;
        StreamPtr s = OpenMemory(c.bytes);
        EXPECT_EQ(file.ReadVarLen(*s), c.value);
        EXPECT_TRUE(s->Eof());
    }
    TMidiFile file;
    StreamPtr s = OpenMemory({0x12, 0x34, 0x56, 0x78, 0xFE, 0xDC, 0x03, 0x41, 0x0A, 0xFF});
    EXPECT_EQ(file.get32(*s), 0x12345678);
    EXPECT_EQ(file.get16(*s), 0xFEDC);
    EXPECT_EQ(file.ReadEventData(*s), "$41 $0A $FF ");
}

// --- damaged files ---------------------------------------------------------

Bytes Truncated(Bytes bytes, size_t keep) {
    bytes.resize(keep);
    return bytes;
}

struct BrokenCase {
    const char* name;
    Bytes bytes;
    const char* problem;  // part of the report
};

Bytes ValidChart() {
    Chart chart;
    chart.Note(100, 84, 70).Note(200, 85, 40).Note(300, 86, 10);
    return chart.Build();
}

Bytes WithTrackLength(uint32_t length) {
    Bytes out = midi_test::Header(480, 1);
    Bytes track = {0x00, 0x90, 84, 70, 0x00, 0xFF, 0x2F, 0x00};
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    midi_test::Put32(out, length);
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

class MidiBroken : public testing::TestWithParam<BrokenCase> {};

TEST_P(MidiBroken, ReportsTheFileAndLoadsNothing) {
    const BrokenCase& c = GetParam();
    Loaded l = LoadBytes(c.bytes, 0, "songs/broken/notes.mid");
    EXPECT_NE(l.result, 0);
    EXPECT_TRUE(l.file->notes.empty());
    EXPECT_TRUE(l.file->Messages.empty());
    ASSERT_EQ(l.lines.size(), 1u);
    EXPECT_EQ(l.lines[0], l.file->Error);
    EXPECT_EQ(l.file->Error.rfind("songs/broken/notes.mid: ", 0), 0u) << l.file->Error;
    EXPECT_NE(l.file->Error.find(c.problem), std::string::npos) << l.file->Error;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MidiBroken,
    testing::Values(
        BrokenCase{"empty", {}, "no MThd"},
        BrokenCase{"notMidi", {'R', 'I', 'F', 'F', 0, 0, 0, 4, 'R', 'M', 'I', 'D'}, "no MThd"},
        BrokenCase{"trackBeforeHeader", {'M', 'T', 'r', 'k', 0, 0, 0, 0}, "no MThd"},
        BrokenCase{"shortId", {'M', 'T'}, "ends in the middle"},
        BrokenCase{"headerCut", Truncated(midi_test::Header(480, 1), 11), "header chunk running past"},
        BrokenCase{"headerTooShort", {'M', 'T', 'h', 'd', 0, 0, 0, 4, 0, 0, 0, 1}, "shorter than 6"},
        BrokenCase{"timeCode", midi_test::Header(0xE728, 1), "time-code"},
        BrokenCase{"zeroDivision", midi_test::Header(0, 1), "zero ticks"},
        BrokenCase{"trackPastEnd", WithTrackLength(9), "track chunk running past the end of the file"},
        BrokenCase{"eventPastTrackEnd", WithTrackLength(3), "past the end of its track chunk"},
        BrokenCase{"trailingByte", [] { Bytes b = ValidChart(); b.push_back(0x2A); return b; }(),
                   "ends in the middle"},
        BrokenCase{"lastByteMissing", Truncated(ValidChart(), ValidChart().size() - 1),
                   "track chunk running past the end of the file"},
        BrokenCase{"unknownChunkPastEnd",
                   [] { Bytes b = midi_test::Header(480, 1); midi_test::PutChunk(b, "Junk", {1, 2});
                        b.resize(b.size() - 1); return b; }(),
                   "a chunk runs past the end of the file"},
        BrokenCase{"dataWithoutStatus", OneTrack(480, 0, {0x00, 84, 70}), "data byte"},
        BrokenCase{"varLenTooLong", OneTrack(480, 0, {0x81, 0x81, 0x81, 0x81, 0x00, 0x90, 84, 70}),
                   "longer than four bytes"},
        BrokenCase{"sysexPastTrack", OneTrack(480, 0, {0x00, 0xF0, 0x7F, 0x01}), "system-exclusive"},
        BrokenCase{"metaPastTrack", OneTrack(480, 0, {0x00, 0xFF, 0x05, 0x20, 0x41}), "past the end"},
        BrokenCase{"tempoPastTrack", OneTrack(480, 0, {0x00, 0xFF, 0x51, 0x03, 0x07}), "tempo event"},
        BrokenCase{"noteCutInTrack", OneTrack(480, 0, {0x00, 0x90, 84}), "past the end"}),
    [](const testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

TEST(MidiFile, EveryPrefixOfAChartLoadsOrIsReported) {
    const Bytes whole = ValidChart();
    const size_t headerSize = midi_test::Header(1000, 1).size();
    for (size_t keep = 0; keep < whole.size(); ++keep) {
        Loaded l = LoadBytes(Truncated(whole, keep));
        if (keep == headerSize) {
            // A header without tracks is a song without notes.
            EXPECT_EQ(l.result, 0) << l.file->Error;
            EXPECT_TRUE(l.file->notes.empty());
            continue;
        }
        EXPECT_NE(l.result, 0) << keep;
        EXPECT_FALSE(l.file->Error.empty()) << keep;
    }
    EXPECT_EQ(LoadBytes(whole).result, 0);
}

TEST(MidiFile, ScrambledBytesNeverEscapeTheReader) {
    // Every single byte of a chart replaced by each of a few values: the
    // reader either loads or reports, and only reports through its one line.
    const Bytes whole = ValidChart();
    for (size_t at = 0; at < whole.size(); ++at) {
        for (uint8_t value : {0x00, 0x2F, 0x7F, 0x80, 0x90, 0xF0, 0xFF}) {
            Bytes bytes = whole;
            bytes[at] = value;
            Loaded l = LoadBytes(bytes);
            if (l.result != 0) {
                ASSERT_EQ(l.lines.size(), 1u);
                EXPECT_EQ(l.lines[0], l.file->Error);
            } else {
                EXPECT_TRUE(l.file->Error.empty());
            }
        }
    }
}

TEST(MidiFile, AReloadForgetsThePreviousChart) {
    TMidiFile file;
    file.Log = nullptr;
    Chart first;
    first.Note(100, 84, 125).Note(200, 89, 70).Note(300, 90, 2, 300);
    StreamPtr s1 = OpenMemory(first.Build());
    ASSERT_EQ(file.Load(*s1, 0), 0);
    EXPECT_EQ(file.StarredCount, 1);
    Track track;
    track.On(0, 84, 70).End(10);
    StreamPtr s2 = OpenMemory(midi_test::File(480, {track}));
    ASSERT_EQ(file.Load(*s2, 0), 0);
    EXPECT_EQ(file.notes.size(), 1u);
    EXPECT_TRUE(file.Messages.empty());
    EXPECT_EQ(file.StarredCount, 0);
    EXPECT_EQ(file.FretsCount, 0);
    EXPECT_FLOAT_EQ(file.Tempo, 500000.0f);
    EXPECT_EQ(file.TempoEventCount, 0);
    StreamPtr s3 = OpenMemory({});
    EXPECT_NE(file.Load(*s3, 0), 0);
    EXPECT_TRUE(file.notes.empty());
    ASSERT_EQ(file.Load(*s1, 0), -1) << "a stream at its end reads as empty";
}

// --- loading by path -------------------------------------------------------

TEST(MidiFile, LoadsByPathAndReportsAMissingFile) {
    const fs::path dir = fs::temp_directory_path() / ("totem_midi_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path path = dir / "notes.mid";
    const Bytes bytes = ValidChart();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                std::streamsize(bytes.size()));
    std::vector<std::string> lines;
    TMidiFile file;
    file.Log = [&lines](const std::string& line) { lines.push_back(line); };
    ASSERT_EQ(file.Load(path.string(), 0), 0) << file.Error;
    EXPECT_EQ(file.notes.size(), 3u);

    lines.clear();
    const std::string missing = (dir / "missing.mid").string();
    EXPECT_NE(file.Load(missing, 0), 0);
    EXPECT_TRUE(file.notes.empty());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind(missing + ": ", 0), 0u) << lines[0];
    fs::remove_all(dir);
}

// --- collected MIDI files --------------------------------------------------

TEST(MidiFile, CollectedMidiFilesLoadOrAreReportedUnreadable) {
    // Beside the project; a work tree of it sits one folder deeper.
    fs::path root = fs::path(TOTEM_SOURCE_DIR "/../shared/testdata/midi");
    if (!fs::is_directory(root)) root = fs::path(TOTEM_SOURCE_DIR "/../../shared/testdata/midi");
    if (!fs::is_directory(root)) GTEST_SKIP() << "no collected MIDI files beside " << TOTEM_SOURCE_DIR;
    // Files whose fate is plain from their names.
    const std::map<std::string, bool> known = {
        {"jazz-soft/test-c-major-scale.mid", true},   {"jazz-soft/test-empty.mid", true},
        {"jazz-soft/test-empty-file.mid", false},     {"jazz-soft/test-not-a-midi-file.mid", false},
        {"jazz-soft/test-non-midi-track.mid", true},  {"jazz-soft/test-running-status-metaevent.mid", true},
        {"nfroidure/MIDIOkFormat0.mid", true},        {"nfroidure/MIDIOkFormat1.mid", true},
        {"nfroidure/MIDIOkFormat2.mid", true},        {"midly/Beethoven.rmi", false},
        {"midly/PiDamaged.mid", false},               {"midly/Clementi.mid", true}};
    int files = 0, loaded = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".mid" && ext != ".rmi")) continue;
        ++files;
        const std::string name = fs::relative(entry.path(), root).generic_string();
        std::vector<std::string> lines;
        TMidiFile file;
        file.Log = [&lines](const std::string& line) { lines.push_back(line); };
        const int result = file.Load(entry.path().string(), 1);
        if (result == 0) {
            ++loaded;
            EXPECT_TRUE(file.Error.empty()) << name;
            EXPECT_GT(file.PPQN, 0) << name;
        } else {
            ASSERT_EQ(lines.size(), 1u) << name;
            EXPECT_EQ(lines[0].rfind(entry.path().string() + ": ", 0), 0u) << lines[0];
        }
        auto it = known.find(name);
        if (it != known.end()) {
            EXPECT_EQ(result == 0, it->second) << name << ": " << file.Error;
        }
    }
    EXPECT_GT(files, 80);
    EXPECT_GT(loaded, 0);
}

}  // namespace
