#pragma once
#include <array>
#include <string>
#include <vector>

// A note of the band: any channel, drums on channel 9.
struct ScoreNote {
    int tick = 0, length = 0, channel = 0, pitch = 0, velocity = 0;
};

// A note of the lead, with what the chart needs to know about its place in
// the music: the phrase it belongs to, and whether it is held or accented.
struct LeadNote {
    int tick = 0, length = 0, pitch = 0, velocity = 0;
    int phrase = 0;
    bool held = false;
    bool accent = false;
};

struct ScoreSection {
    std::string name;
    int startTick = 0;
    int bars = 0;
};

// The composed song: everything that is rendered to audio and charted, in
// ticks of one fixed tempo, so the chart and the recordings agree exactly.
class SongScore {
public:
    static constexpr int kPpqn = 480;
    static constexpr int kLeadChannel = 0;
    static constexpr int kDrumChannel = 9;

    int tempoUs = 500000;  // microseconds per quarter note, an integer as the chart stores it
    int beatsPerBar = 4;
    int ticksPerBar = 4 * kPpqn;
    int endTick = 0;       // the last sounding tick (before the reverb tail)
    std::vector<ScoreSection> sections;
    std::vector<ScoreNote> band;
    std::vector<LeadNote> lead;
    std::vector<int> bandHits;           // ticks of strong accents of the whole band
    std::array<int, 16> programs{};      // per channel; −1 = unused

    // The millisecond the game's chart reader assigns to `tick` (truncated).
    int ReaderMs(long long tick) const { return int(tick * (long long)tempoUs / (kPpqn * 1000ll)); }
    double Seconds(long long tick) const { return double(tick) * tempoUs / (kPpqn * 1e6); }
    double DurationSeconds() const { return Seconds(endTick); }
    int TicksForMs(double ms) const { return int(ms * 1000.0 * kPpqn / tempoUs); }
};
