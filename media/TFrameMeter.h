#pragma once
#include <string>
#include <vector>

// Counts the frames presented in each second and the longest time between two
// presents, for the "--fps" log: what a player actually sees, measured where
// the picture leaves the game. The display feeds it the present times; it
// reads no clock itself, so a test can hand it any times it likes.
class TFrameMeter {
public:
    // A frame was presented at `nowMs`. Returns one line per second completed
    // before it ("fps 74 worst 15.2 ms"), oldest first; usually none. A second
    // with no present at all reads "fps 0" with the whole second as its worst.
    std::vector<std::string> Presented(double nowMs);

private:
    static std::string Line(int frames, double worstMs);

    bool started_ = false;
    double secondStart_ = 0;  // the start of the second being counted
    double lastPresent_ = 0;
    int frames_ = 0;
    double worstMs_ = 0;  // longest gap between presents ending in this second
};
