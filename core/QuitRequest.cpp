#include "core/QuitRequest.h"

namespace {
bool requested = false;
int exitCode = 0;
}  // namespace

void RequestQuit(int code) {
    if (requested && exitCode != 0) return;
    requested = true;
    exitCode = code;
}

bool QuitRequested() { return requested; }

int QuitExitCode() { return exitCode; }

void ClearQuitRequest() {
    requested = false;
    exitCode = 0;
}
