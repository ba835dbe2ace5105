#include "game/PlayTrace.h"

#include "media/System.h"

namespace {
bool traceOn = false;
}  // namespace

void SetPlayTrace(bool on) { traceOn = on; }

bool PlayTraceOn() { return traceOn; }

void TracePlay(const std::string& line) {
    if (traceOn) PrintLine(line);
}
