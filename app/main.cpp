#include <cstdlib>
#include <cstring>

#include "app/ColdStart.h"
#include "app/Globals.h"
#include "app/TApp.h"
#include "core/QuitRequest.h"
#include "game/PlayTrace.h"
#include "game/TAutoPlay.h"
#include "media/Graphics.h"

// "totem-riff --level N" starts level N directly; Escape then quits.
// "--trace" writes what play does on standard output (see PlayTrace).
// "--window" opens a window whatever the options say (the saved choice is
// kept), for a desktop where full screen misbehaves and for tests.
// "--autoplay", for tests only: levels play themselves, fast (see TAutoPlay).
// "--fps" writes the frames shown each second and the worst frame time.
// "--quit-after splash|menu" times the start and ends there (see ColdStart).
int main(int argc, char** argv) {
    ColdStart::MainEntered();
    int mode = TApp::START_MODE_MENU;
    int level = 1;
    bool autoplay = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--level") == 0 && i + 1 < argc) {
            mode = TApp::START_MODE_GAME;
            level = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--trace") == 0) {
            SetPlayTrace(true);
        } else if (std::strcmp(argv[i], "--window") == 0) {
            TApp::ForceWindow = true;
        } else if (std::strcmp(argv[i], "--autoplay") == 0) {
            autoplay = true;
        } else if (std::strcmp(argv[i], "--fps") == 0) {
            SetFrameRateLog(true);
        } else if (std::strcmp(argv[i], "--quit-after") == 0 && i + 1 < argc) {
            ColdStart::QuitAfter(argv[++i]);
        }
    }
    // Before the globals: their timers start on the clock the option drives.
    if (autoplay) TAutoPlay::Start();
    InitGlobals();
    LoadStartupContent();
    // Start-up and the main loop both hand back the exit code, so the program
    // ends here and nowhere else.
    if (const int code = TApp::Init(); code != 0 || QuitRequested()) return code;
    return TApp::Run(mode, level);
}
