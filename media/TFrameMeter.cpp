#include "media/TFrameMeter.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr double SECOND_MS = 1000.0;
}  // namespace

std::vector<std::string> TFrameMeter::Presented(double nowMs) {
    std::vector<std::string> lines;
    if (!started_) {
        // The first present only starts the count: there is no gap before it.
        started_ = true;
        secondStart_ = nowMs;
        lastPresent_ = nowMs;
        frames_ = 1;
        return lines;
    }
    // Seconds are counted from the first present, so one that ends while
    // nothing is presented (a stall, a level loading) is closed by the next.
    while (nowMs >= secondStart_ + SECOND_MS) {
        lines.push_back(Line(frames_, frames_ == 0 ? SECOND_MS : worstMs_));
        secondStart_ += SECOND_MS;
        frames_ = 0;
        worstMs_ = 0;
    }
    // The gap belongs to the second the frame that ends it is shown in.
    worstMs_ = std::max(worstMs_, nowMs - lastPresent_);
    lastPresent_ = nowMs;
    ++frames_;
    return lines;
}

std::string TFrameMeter::Line(int frames, double worstMs) {
    char text[64];
    std::snprintf(text, sizeof text, "fps %d worst %.1f ms", frames, worstMs);
    return text;
}
