#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/totem-songgen/SongScore.h"

// The game's note numbers of one difficulty (before the octave shift that
// moves each difficulty an octave lower per step of complexity).
namespace ChartNote {
constexpr int kLine0 = 84;    // lines 0–4 are 84–88
constexpr int kFret = 89;
constexpr int kMessage = 90;  // velocity = message picture
constexpr int kBonus = 91;
constexpr int kFlash = 92;    // velocity / 100 = flash strength
}  // namespace ChartNote

// Velocities with a meaning for notes 84–89.
namespace ChartVelocity {
constexpr int kMelodyHead = 45;    // 31–59
constexpr int kMelodyMember = 20;  // 0–29
constexpr int kPlain = 80;         // 60–89
constexpr int kLong = 105;         // 90–120
constexpr int kStarred = 124;      // 121–127
}  // namespace ChartVelocity

// The pictures a message note can show: what each one says to the player.
namespace ChartMessage {
constexpr int kGetReady = 1;
constexpr int kMelody = 2;      // the first melody is coming
constexpr int kFrets = 3;       // the first fret is coming: click it
constexpr int kHold = 4;        // the first long note is coming: hold it
constexpr int kFinalRound = 5;  // the last part of the song begins
constexpr int kWellDone = 6;    // after the last note
}  // namespace ChartMessage

struct ChartItem {
    int tick = 0;
    int length = 0;    // ticks: the hold of a long note, the span of a message
    int note = 0;      // 84–92 as the game sees it
    int velocity = 0;
    int phrase = -1;   // the lead phrase a note comes from
};

// What a difficulty asks of the player: the quiet time between items, the
// extra time per line the catcher has to travel, and the lines it uses.
struct DifficultyRules {
    int minGapMs = 400;
    int msPerLine = 60;
    int maxJump = 2;
    int lowLine = 0, highLine = 4;
    bool sixteenths = false;  // may chart notes off the eighth-note grid
    bool beatsOnly = false;   // only notes on the beat
    int bonusEveryMs = 15000;
};

struct ChartDifficulty {
    int complexity = 1;
    std::vector<ChartItem> items;  // in time order
};

// Derives the chart of one difficulty from the lead part of a score: notes on
// lines by melodic contour, melodies on phrases, long notes on held notes,
// starred notes on accents, frets on band hits, now and then a bonus item,
// flashes at section starts and a few messages.
class ChartBuilder {
public:
    static DifficultyRules RulesFor(int complexity);
    static ChartDifficulty Build(const SongScore& score, int complexity, uint32_t seed);
    // Every broken rule, one line each; empty when the chart is playable.
    static std::vector<std::string> Check(const SongScore& score, const ChartDifficulty& chart);
};
