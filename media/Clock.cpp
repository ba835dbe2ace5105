#include "media/Clock.h"

#include <chrono>
#include <random>
#include <utility>

#include "media/detail/FineClock.h"

namespace {
bool driven = false;
int32_t drivenMs = 0;
std::mt19937 generator(12345u);

const auto& ClockStart() {
    static const auto start = std::chrono::steady_clock::now();
    return start;
}

int32_t RealMs() {
    using namespace std::chrono;
    // Start well above zero: callers use 0 as "not started yet".
    return int32_t(duration_cast<milliseconds>(steady_clock::now() - ClockStart()).count()) + 1000;
}
}  // namespace

double media_detail::FineClockMs() {
    if (driven) return drivenMs;
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now() - ClockStart()).count() + 1000.0;
}

int32_t ClockMs() { return driven ? drivenMs : RealMs(); }

void UseDrivenClock(int32_t startMs) {
    driven = true;
    drivenMs = startMs;
}

void UseRealClock() { driven = false; }
bool ClockIsDriven() { return driven; }

void AdvanceClock(int32_t ms) {
    if (driven) drivenMs += ms;
}

void SeedRandom(uint32_t seed) { generator.seed(seed); }

int RandomInt(int min, int max) {
    if (max < min) std::swap(min, max);
    return std::uniform_int_distribution<int>(min, max)(generator);
}

float RandomFloat(float min, float max) {
    if (!(max > min)) return min;
    float v = std::uniform_real_distribution<float>(min, max)(generator);
    // The distribution may round up to max for floats; keep the interval half-open.
    return v < max ? v : min;
}
