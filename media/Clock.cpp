#include "media/Clock.h"

#include <chrono>
#include <random>
#include <utility>

namespace {
bool driven = false;
int32_t drivenMs = 0;
std::mt19937 generator(12345u);

int32_t RealMs() {
    using namespace std::chrono;
    static const auto start = steady_clock::now();
    // Start well above zero: callers use 0 as "not started yet".
    return int32_t(duration_cast<milliseconds>(steady_clock::now() - start).count()) + 1000;
}
}  // namespace

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
