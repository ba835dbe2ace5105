#include "game/PlayTrace.h"

#include "media/System.h"

namespace {
bool traceOn = false;
}  // namespace

void SetPlayTrace(bool on) { traceOn = on; }

void TracePlay(const std::string& line) {
    if (traceOn) PrintLine(line);
}
