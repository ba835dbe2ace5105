#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/ChartRules.h"
#include "game/MidiBuilder.h"
#include "game/TMidiFile.h"
#include "media/TStream.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;
using midi_test::Bytes;
using midi_test::Chart;

namespace {

class TotemChart : public ToolTest {
protected:
    TotemChart() : ToolTest("totem-chart") {}

    fs::path Write(const std::string& name, const Bytes& bytes) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path;
    }

    // What the game itself makes of the file.
    static TMidiFile LoadHere(const Bytes& bytes, int shift, std::vector<std::string>* printed) {
        TMidiFile file;
        file.Log = [printed](const std::string& line) {
            if (printed) printed->push_back(line);
        };
        StreamPtr stream = OpenMemory(bytes, "notes.mid");
        EXPECT_EQ(file.Load(*stream, shift), 0);
        return file;
    }
};

// Written an octave below the game's notes, like the easy part of a chart.
Bytes SampleChart() {
    Chart c;
    c.Note(1000, 72, 70)            // line 0
        .Note(1500, 73, 40)         // melody head, line 1
        .Note(1800, 74, 10)         // member, line 2
        .Note(2100, 73, 10)         // member, line 1
        .Note(2600, 77, 70)         // fret
        .Note(3000, 76, 100, 900)   // long note, line 4 (30 units)
        .Note(4500, 76, 125)        // starred, line 4
        .Note(5000, 79, 1)          // bonus
        .Note(5200, 80, 60)         // flash
        .Note(5500, 78, 3, 2000)    // message 3, 1980 ms
        .Note(6000, 84, 70);        // the next octave: not part of this level
    return c.Build();
}

TEST_F(TotemChart, InfoPrintsTheLoadingLinesThenASummary) {
    const Bytes bytes = SampleChart();
    const fs::path chart = Write("notes.mid", bytes);
    ToolRun run = Tool("info " + Q(chart) + " 1");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    std::vector<std::string> printed;
    LoadHere(bytes, 1, &printed);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GT(lines.size(), printed.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + long(printed.size())), printed);
    EXPECT_EQ(printed.front(), "1: 1000; note: 84; velocity: 70");
    EXPECT_EQ(printed.back(), "FretsCount = 1");

    const std::vector<std::string> summary(lines.begin() + long(printed.size()), lines.end());
    // The message ends last: 5500 + 1980 ms.
    const std::vector<std::string> expected = {
        "song length: 7480 ms (0:07)", "line notes: 1 2 1 0 2", "frets: 1", "starred: 1",
        "long notes: 1", "melodies: 1 (notes: 3)", "bonus items: 1", "light flashes: 1", "messages: 1",
        "notes per second: 0.94"};  // 7 notes and frets in 7.48 s
    EXPECT_EQ(summary, expected);
}

TEST_F(TotemChart, DumpListsNotesWithTheirLinksThenMessages) {
    const fs::path chart = Write("notes.mid", SampleChart());
    ToolRun run = Tool("dump " + Q(chart) + " 1");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> expected = {
        "note=84 start=1000 length=0 single=1 startline=0 starred=0 next=-1",
        "note=85 start=1500 length=0 single=0 startline=1 starred=0 next=2",
        "note=86 start=1800 length=0 single=0 startline=0 starred=0 next=3",
        "note=85 start=2100 length=0 single=0 startline=0 starred=0 next=-1",
        "note=89 start=2600 length=0 single=1 startline=0 starred=0 next=-1",
        "note=88 start=3000 length=30 single=1 startline=0 starred=0 next=-1",
        "note=88 start=4500 length=0 single=1 startline=0 starred=1 next=-1",
        "note=91 start=5000 length=1 single=0 startline=0 starred=0 next=-1",
        "note=92 start=5200 length=1 single=0 startline=0 starred=0 next=-1",
        "message=3 start=5500 length=1980"};
    EXPECT_EQ(Lines(run.out), expected);
}

TEST_F(TotemChart, CheckReportsEachViolationAndFailsTheRun) {
    Chart c;
    c.Note(1000, 84, 70).Note(1040, 88, 70).Note(1040, 89, 70).Note(2000, 84, 40).Note(3000, 90, 9, 300);
    const Bytes bytes = c.Build();
    const fs::path chart = Write("bad.mid", bytes);
    ToolRun run = Tool("check " + Q(chart) + " 0 1.5");
    EXPECT_EQ(run.status, 1) << run.err;
    std::vector<std::string> expected;
    for (const ChartViolation& v : ChartRules(1.5).Check(LoadHere(bytes, 0, nullptr))) expected.push_back(v.Line());
    EXPECT_EQ(Lines(run.out), expected);
    std::vector<std::string> rules;
    for (const std::string& line : expected) rules.push_back(line.substr(0, line.find(':')));
    EXPECT_EQ(rules, (std::vector<std::string>{"same time", "melody", "lines", "message"}));
}

TEST_F(TotemChart, CheckPassesAPlayableChartWithOneLine) {
    const fs::path chart = Write("notes.mid", SampleChart());
    ToolRun run = Tool("check " + Q(chart) + " 1 1.2");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 1u) << run.out;
    EXPECT_EQ(lines[0], "ok: 7 notes and frets, 1 melodies, playable at speed 1.2");
}

TEST_F(TotemChart, TheSpeedDecidesWhetherALineChangeIsPlayable) {
    const int gap = int(std::ceil(ChartRules(1.0).MinLineGapMs(3, false)));
    const fs::path chart = Write("notes.mid", Chart().Note(1000, 84, 70).Note(1000 + gap, 87, 70).Build());
    EXPECT_EQ(Tool("check " + Q(chart) + " 0 1").status, 0);
    EXPECT_EQ(Tool("check " + Q(chart) + " 0 3").status, 1);
}

TEST_F(TotemChart, UnreadableFilesGiveOneLineNamingThemAndStatusTwo) {
    const fs::path missing = dir_ / "missing.mid";
    const fs::path garbage = Write("garbage.mid", {'n', 'o', 't', ' ', 'm', 'i', 'd', 'i'});
    Bytes cut = SampleChart();
    cut.resize(cut.size() - 3);
    const fs::path truncated = Write("cut.mid", cut);
    for (const fs::path& file : {missing, garbage, truncated}) {
        for (const std::string command : {"info", "dump", "check"}) {
            ToolRun run = Tool(command + " " + Q(file) + " 0" + (command == "check" ? " 1" : ""));
            EXPECT_EQ(run.status, 2) << command << " " << file;
            EXPECT_EQ(run.out, "") << command << " " << file;
            const std::vector<std::string> lines = Lines(run.err);
            ASSERT_EQ(lines.size(), 1u) << run.err;
            EXPECT_EQ(lines[0].rfind(file.string() + ": ", 0), 0u) << lines[0];
        }
    }
}

TEST_F(TotemChart, BadCommandLinesAreRefused) {
    const fs::path chart = Write("notes.mid", SampleChart());
    for (const std::string& args :
         {std::string(""), "play " + Q(chart) + " 1", "info " + Q(chart), "info " + Q(chart) + " one",
          "dump " + Q(chart) + " 1 2", "check " + Q(chart) + " 1", "check " + Q(chart) + " 1 0",
          "check " + Q(chart) + " 1 -1", "check " + Q(chart) + " 1 fast", "info " + Q(chart) + " 99999999999"}) {
        ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_NE(run.err.find("usage"), std::string::npos) << args;
    }
}

}  // namespace
