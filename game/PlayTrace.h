#pragma once
#include <string>

// A diagnostic line per thing a player does to a level and what it does back
// (the catcher's line, catches and misses, pauses), written to standard
// output only when switched on ("totem-riff --trace"). Tests that drive the
// built game through a real window system read these lines to see the rules
// at work; players never see them.
void SetPlayTrace(bool on);
bool PlayTraceOn();
// Writes `line` when the trace is on; nothing otherwise.
void TracePlay(const std::string& line);
