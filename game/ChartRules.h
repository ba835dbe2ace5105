#pragma once
#include <string>
#include <vector>

#include "game/TMidiFile.h"

// One broken playability rule of a chart.
struct ChartViolation {
    std::string rule;  // short rule name, e.g. "lines"
    std::string text;  // what is wrong, with the times involved
    std::string Line() const { return rule + ": " + text; }
};

// The playability rules a chart must meet at a given level speed: one tempo,
// one track, no notes lost to the same-millisecond filter, well formed
// melodies, line changes the catcher can make, clickable spacing of frets and
// starred notes, and message and flash velocities the highway understands.
// Used by the chart checking tool, and kept apart from it so each rule can be
// tested on tiny charts.
class ChartRules {
public:
    // A frame of the main loop on a 60 Hz display (the loop's 75 Hz timer is
    // held back to the vertical blank there): the slowest regular frame.
    static constexpr double FRAME_MS = 1000.0 / 60.0;
    // Catch window around a note's time, at speed 1 (it shrinks as 1/speed).
    static constexpr double WINDOW_BEFORE_MS = 7.5;
    static constexpr double WINDOW_AFTER_MS = 45.0;
    // A note is drawn and held as a long note above this many 30 ms units.
    static constexpr int LONG_NOTE_MIN = 4;

    double Speed = 1.0;        // the level's speed coefficient
    double ReactionMs = 100;   // the player's margin to see and start a move
    double ClickGapMs = 150;   // closest two click items may come

    explicit ChartRules(double speed = 1.0) : Speed(speed) {}

    // Frames the catcher picture needs to settle on a line `lines` away.
    static int TravelFrames(int lines);
    static double TravelMs(int lines) { return TravelFrames(lines) * FRAME_MS; }
    // Smallest time from the reference time of one line note (its start, or
    // the end of its tail for a long note) to the start of the next one
    // `lines` away.
    double MinLineGapMs(int lines, bool fromTailEnd) const;

    std::vector<ChartViolation> Check(const TMidiFile& chart) const;

private:
    void CheckTempo(const TMidiFile& chart, std::vector<ChartViolation>& out) const;
    void CheckTracks(const TMidiFile& chart, std::vector<ChartViolation>& out) const;
    void CheckSameTime(const TMidiFile& chart, std::vector<ChartViolation>& out) const;
    void CheckHasNotes(const TMidiFile& chart, std::vector<ChartViolation>& out) const;
    void CheckMelodies(const TMidiFile& chart, std::vector<ChartViolation>& out) const;
    void CheckLines(const TMidiFile& chart, std::vector<ChartViolation>& out) const;
    void CheckClicks(const TMidiFile& chart, std::vector<ChartViolation>& out) const;
    void CheckVelocities(const TMidiFile& chart, std::vector<ChartViolation>& out) const;
};
