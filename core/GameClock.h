#pragma once
#include <cstdint>

// The program's clock in milliseconds: the one time base of animations, items
// and effects. The main loop advances it by the real elapsed time each frame;
// a paused level stores it and writes it back on resume, so paused time does
// not pass for anything that reads it.
extern float GameClock;

// GameClock back to 0 and the frame timing restarted now, so time spent
// loading a level does not count as play.
void ResetFrameClock();
// Ends one frame's timing: the whole milliseconds since the previous frame (or
// the last reset) are added to GameClock and returned, and the next frame's
// count starts now.
int32_t AdvanceFrameClock();
