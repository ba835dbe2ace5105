#include "core/GameClock.h"

#include "media/Clock.h"

float GameClock = 0.0f;

namespace {
int32_t previousFrameMs = 0;
}  // namespace

void ResetFrameClock() {
    GameClock = 0;
    previousFrameMs = ClockMs();
}

int32_t AdvanceFrameClock() {
    const int32_t now = ClockMs();
    const int32_t elapsed = now - previousFrameMs;
    GameClock += float(elapsed);
    previousFrameMs = now;
    return elapsed;
}
