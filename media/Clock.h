#pragma once
#include <cstdint>

// Milliseconds since an arbitrary fixed point. Under a driven clock (tests and
// tools) this is the value the driver set, so minutes of play run in seconds.
int32_t ClockMs();

// Switches to a clock that only moves when told to (AdvanceClock or a timer's
// Wait); starts at `startMs`. UseRealClock() switches back.
void UseDrivenClock(int32_t startMs = 1000);
void UseRealClock();
bool ClockIsDriven();
void AdvanceClock(int32_t ms);

// Seeds the generator; the game seeds it with ClockMs() at start.
void SeedRandom(uint32_t seed);
// Uniform integer in [min, max], both included; swapped when max < min.
int RandomInt(int min, int max);
// Uniform float in [min, max).
float RandomFloat(float min, float max);
