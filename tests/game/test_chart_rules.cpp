#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "game/ChartRules.h"
#include "game/MidiBuilder.h"
#include "game/TMidiFile.h"
#include "media/TStream.h"

using midi_test::Bytes;
using midi_test::Chart;
using midi_test::Track;

namespace {

std::vector<ChartViolation> CheckBytes(const Bytes& bytes, double speed, int shift = 0) {
    TMidiFile file;
    file.Log = nullptr;
    StreamPtr stream = OpenMemory(bytes, "notes.mid");
    EXPECT_EQ(file.Load(*stream, shift), 0) << file.Error;
    return ChartRules(speed).Check(file);
}

int Gap(double speed, int lines, bool fromTail) {
    return int(std::ceil(ChartRules(speed).MinLineGapMs(lines, fromTail)));
}

struct RuleCase {
    const char* name;
    std::function<Bytes()> build;
    double speed;
    const char* rule;
    int violations;  // of that rule
};

class ChartRuleTable : public testing::TestWithParam<RuleCase> {};

TEST_P(ChartRuleTable, EachRuleFlagsItsFaultAndPassesAGoodChart) {
    const RuleCase& c = GetParam();
    const std::vector<ChartViolation> all = CheckBytes(c.build(), c.speed);
    int count = 0;
    std::string text;
    for (const ChartViolation& v : all) {
        if (v.rule == c.rule) ++count;
        text += v.Line() + "\n";
    }
    EXPECT_EQ(count, c.violations) << text;
}

Bytes TwoTracks(bool notesInBoth) {
    Track first, second;
    first.Tempo(0, 500000).On(480, 84, 70).Off(30, 84);
    if (!notesInBoth) first.On(480, 86, 70).Off(30, 86);
    first.End();
    second.Raw(0, {0xFF, 0x03, 0x01, 'x'});
    if (notesInBoth) second.On(960, 86, 70).Off(30, 86);
    second.End();
    return midi_test::File(480, {first, second});
}

Bytes Steps(double speed, int lines, int extra) {
    // One short note, then one `lines` lines away at the smallest allowed gap
    // plus `extra` ms.
    Chart c;
    c.Note(1000, 84, 70).Note(1000 + Gap(speed, lines, false) + extra, 84 + lines, 70);
    return c.Build();
}

Bytes AfterLongNote(int lines, int extra) {
    // A long note of 20 units (600 ms), then a note measured from its tail end.
    Chart c;
    c.Note(1000, 85, 100, 600);
    const int gap = lines == 0 ? 0 : Gap(1.0, lines, true);
    c.Note(1600 + gap + extra, 85 + lines, 70);
    return c.Build();
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChartRuleTable,
    testing::Values(
        RuleCase{"oneTempo", [] { return Chart().Note(1000, 84, 70).Build(); }, 1, "tempo", 0},
        RuleCase{"noTempo", [] { return Chart().NoTempo().Note(1000, 84, 70).Build(); }, 1, "tempo", 1},
        RuleCase{"twoTempi", [] { return Chart().ExtraTempo(500, 600000).Note(1000, 84, 70).Build(); }, 1,
                 "tempo", 1},
        RuleCase{"oneTrack", [] { return TwoTracks(false); }, 1, "tracks", 0},
        RuleCase{"twoTracks", [] { return TwoTracks(true); }, 1, "tracks", 1},
        RuleCase{"sameMillisecond", [] { return Chart().Note(1000, 84, 70).Note(1000, 89, 70).Build(); }, 1,
                 "same time", 1},
        RuleCase{"nextMillisecond", [] { return Chart().Note(1000, 84, 70).Note(1001, 89, 70).Build(); }, 1,
                 "same time", 0},
        RuleCase{"onlyFlashAndBonus", [] { return Chart().Note(1000, 92, 50).Note(2000, 91, 1).Build(); }, 1,
                 "notes", 1},
        RuleCase{"onlyAFret", [] { return Chart().Note(1000, 89, 70).Build(); }, 1, "notes", 0},
        RuleCase{"otherOctaveOnly", [] { return Chart().Note(1000, 72, 70).Build(); }, 1, "notes", 1},
        RuleCase{"goodMelody",
                 [] { return Chart().Note(1000, 84, 40).Note(1500, 84, 10).Note(2000, 84, 10).Note(2500, 84, 70).Build(); },
                 1, "melody", 0},
        RuleCase{"flashInsideMelody",
                 [] { return Chart().Note(1000, 84, 40).Note(1200, 92, 80).Note(1500, 84, 10).Build(); }, 1,
                 "melody", 0},
        RuleCase{"headAlone", [] { return Chart().Note(1000, 84, 40).Note(1500, 84, 70).Build(); }, 1,
                 "melody", 1},
        RuleCase{"headAtTheEnd", [] { return Chart().Note(1000, 84, 70).Note(1500, 84, 45).Build(); }, 1,
                 "melody", 1},
        RuleCase{"memberWithoutHead",
                 [] { return Chart().Note(1000, 84, 70).Note(1500, 84, 10).Note(2000, 84, 10).Build(); }, 1,
                 "melody", 2},
        RuleCase{"memberAfterPlainNote",
                 [] { return Chart().Note(1000, 84, 40).Note(1500, 84, 10).Note(2000, 84, 30).Note(2500, 84, 10).Build(); },
                 1, "melody", 1},
        RuleCase{"fretInsideMelody",
                 [] { return Chart().Note(1000, 84, 40).Note(1500, 89, 10).Note(2000, 84, 10).Build(); }, 1,
                 "melody", 1},
        RuleCase{"bonusInsideMelody",
                 [] { return Chart().Note(1000, 84, 40).Note(1200, 91, 9).Note(1500, 84, 10).Build(); }, 1,
                 "melody", 1},
        RuleCase{"oneLineJustInTime", [] { return Steps(1, 1, 0); }, 1, "lines", 0},
        RuleCase{"oneLineTooFast", [] { return Steps(1, 1, -1); }, 1, "lines", 1},
        RuleCase{"fourLinesJustInTime", [] { return Steps(1, 4, 0); }, 1, "lines", 0},
        RuleCase{"fourLinesAtOneLineGap",
                 [] { return Chart().Note(1000, 84, 70).Note(1000 + Gap(1, 1, false), 88, 70).Build(); }, 1,
                 "lines", 1},
        RuleCase{"fastLevelJustInTime", [] { return Steps(2.5, 2, 0); }, 2.5, "lines", 0},
        RuleCase{"slowLevelGapAtFastLevel", [] { return Steps(1, 2, 0); }, 2.5, "lines", 1},
        RuleCase{"sameLineClose", [] { return Chart().Note(1000, 86, 70).Note(1040, 86, 70).Build(); }, 1,
                 "lines", 0},
        RuleCase{"fretBetweenDoesNotCount",
                 [] { return Chart().Note(1000, 84, 70).Note(1050, 89, 70).Note(1000 + Gap(1, 3, false) - 1, 87, 70).Build(); },
                 1, "lines", 1},
        RuleCase{"afterLongTailInTime", [] { return AfterLongNote(2, 0); }, 1, "lines", 0},
        RuleCase{"afterLongTailTooSoon", [] { return AfterLongNote(2, -1); }, 1, "lines", 1},
        RuleCase{"sameLineAfterTail", [] { return AfterLongNote(0, 0); }, 1, "lines", 0},
        RuleCase{"fretsApart", [] { return Chart().Note(1000, 89, 70).Note(1150, 89, 70).Build(); }, 1,
                 "clicks", 0},
        RuleCase{"fretsTooClose", [] { return Chart().Note(1000, 89, 70).Note(1149, 89, 70).Build(); }, 1,
                 "clicks", 1},
        RuleCase{"starredThenFret", [] { return Chart().Note(1000, 86, 125).Note(1100, 89, 70).Build(); }, 1,
                 "clicks", 1},
        RuleCase{"plainNoteThenFret", [] { return Chart().Note(1000, 86, 70).Note(1100, 89, 70).Build(); }, 1,
                 "clicks", 0},
        RuleCase{"messagesOneToSix",
                 [] { return Chart().Note(1000, 84, 70).Note(1000, 90, 1, 600).Note(2000, 90, 6, 600).Build(); },
                 1, "message", 0},
        RuleCase{"messagesOutside",
                 [] { return Chart().Note(1000, 84, 70).Note(1000, 90, 0, 600).Note(2000, 90, 7, 600).Build(); },
                 1, "message", 2},
        RuleCase{"flashesInRange", [] { return Chart().Note(1000, 92, 0).Note(2000, 92, 100).Build(); }, 1,
                 "flash", 0},
        RuleCase{"flashTooBright", [] { return Chart().Note(1000, 92, 101).Build(); }, 1, "flash", 1}),
    [](const testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

TEST(ChartRules, TravelFramesMatchTheCatcherClosingAThirdPerFrame) {
    // Follow the catcher picture as it moves: a third of the remaining way per
    // frame, until it is within half a line spacing of the target.
    const double spacing = (548.9 - 261.5) / 4;
    for (int lines = 1; lines <= 4; ++lines) {
        double x = 0;
        const double target = lines * spacing;
        int frames = 0;
        while (target - x > spacing / 2) {
            x += (target - x) / 3;
            ++frames;
        }
        EXPECT_EQ(ChartRules::TravelFrames(lines), frames) << lines;
    }
    EXPECT_EQ(ChartRules::TravelFrames(0), 0);
}

TEST(ChartRules, WiderMovesAndFasterLevelsNeedWiderGaps) {
    for (double speed : {0.8, 1.0, 1.5, 3.0}) {
        const ChartRules rules(speed);
        for (int lines = 1; lines < 4; ++lines) {
            EXPECT_LT(rules.MinLineGapMs(lines, false), rules.MinLineGapMs(lines + 1, false));
            // The head of a short note leaves 7.5/speed ms earlier than a tail.
            EXPECT_NEAR(rules.MinLineGapMs(lines, true) - rules.MinLineGapMs(lines, false), 7.5 / speed, 1e-9);
        }
        EXPECT_LT(ChartRules(speed).MinLineGapMs(2, false), ChartRules(speed * 1.5).MinLineGapMs(2, false));
    }
    // The reaction margin adds one to one.
    ChartRules relaxed(1.0);
    relaxed.ReactionMs = 250;
    EXPECT_NEAR(relaxed.MinLineGapMs(3, false) - ChartRules(1.0).MinLineGapMs(3, false), 150, 1e-9);
}

TEST(ChartRules, ACarefulChartBreaksNoRule) {
    Chart c;
    int at = 2000;
    const int lines[] = {0, 1, 2, 1, 0, 2, 4, 3};
    for (int line : lines) {
        c.Note(at, 84 + line, 70);
        at += 400;
    }
    c.Note(at, 86, 40).Note(at + 300, 87, 10).Note(at + 600, 86, 10);  // a melody
    c.Note(at + 1200, 89, 70).Note(at + 1500, 89, 70).Note(at + 1800, 88, 125);
    c.Note(at + 2400, 84, 100, 900).Note(at + 3600, 86, 70);  // a long note
    c.Note(at + 100, 90, 2, 1500).Note(at + 200, 92, 80).Note(at + 4500, 91, 1);
    const std::vector<ChartViolation> all = CheckBytes(c.Build(), 1.2);
    std::string text;
    for (const ChartViolation& v : all) text += v.Line() + "\n";
    EXPECT_TRUE(all.empty()) << text;
}

TEST(ChartRules, ViolationLinesNameTheRuleAndTheTimes) {
    const std::vector<ChartViolation> all =
        CheckBytes(Chart().Note(1000, 84, 70).Note(1050, 88, 70).Note(1050, 89, 70).Build(), 1);
    std::vector<std::string> rules;
    for (const ChartViolation& v : all) rules.push_back(v.rule);
    EXPECT_EQ(rules, (std::vector<std::string>{"same time", "lines"}));
    ASSERT_EQ(all.size(), 2u);
    EXPECT_NE(all[0].Line().find("fret at 1050 ms"), std::string::npos) << all[0].Line();
    EXPECT_NE(all[1].Line().find("at 1000 ms"), std::string::npos) << all[1].Line();
    EXPECT_NE(all[1].Line().find("50 ms"), std::string::npos) << all[1].Line();
}

}  // namespace
