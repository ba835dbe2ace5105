#include "media/TTimer.h"

#include <thread>

#include "media/Clock.h"

TTimer::TTimer(int hz) : hz_(hz > 0 ? hz : 1), startMs_(ClockMs()) {}

int TTimer::Wait() {
    // A tick falls on the first whole millisecond at or after its exact time.
    auto tickAt = [this](int64_t tick) { return startMs_ + int32_t((tick * 1000 + hz_ - 1) / hz_); };
    int64_t now = ClockMs();
    int64_t current = (now - startMs_) * hz_ / 1000;
    if (current <= ticksSeen_) {
        // Not yet at the next tick: sleep (or, under a driven clock, jump) to it.
        int64_t next = ticksSeen_ + 1;
        if (ClockIsDriven()) {
            AdvanceClock(int32_t(tickAt(next) - now));
        } else {
            while (ClockMs() < tickAt(next)) std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        current = (ClockMs() - startMs_) * hz_ / 1000;
    }
    int passed = int(current - ticksSeen_);
    ticksSeen_ = current;
    return passed;
}

std::shared_ptr<TTimer> CreateTimer(int hz) { return std::make_shared<TTimer>(hz); }
