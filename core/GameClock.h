#pragma once

// The program's clock in milliseconds: the one time base of animations, items
// and effects. The main loop advances it by the real elapsed time each frame;
// a paused level stores it and writes it back on resume, so paused time does
// not pass for anything that reads it.
extern float GameClock;
