#pragma once
#include <cstdint>
#include <memory>

// A periodic tick source that paces the main loop. Under a driven clock, Wait
// moves the clock on to the next tick instead of sleeping.
class TTimer {
public:
    explicit TTimer(int hz);
    // Blocks until the next tick; returns the ticks since the previous call
    // (at once, with no sleeping, when one or more have already passed).
    int Wait();
    int Hz() const { return hz_; }

private:
    int hz_;
    int64_t ticksSeen_ = 0;
    int32_t startMs_;
};

std::shared_ptr<TTimer> CreateTimer(int hz);
