#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ColdStart.h"
#include "app/CommandLine.h"
#include "app/Globals.h"
#include "app/TApp.h"
#include "content/GameFolder.h"
#include "core/QuitRequest.h"
#include "game/PlayTrace.h"
#include "game/TAutoPlay.h"
#include "media/Graphics.h"
#include "media/System.h"
#include "progress/SaveFolder.h"

#ifndef TOTEM_VERSION
#define TOTEM_VERSION "unknown"
#endif
// Where an installed game's files are, seen from its program's folder.
#ifndef TOTEM_DATA_FROM_PROGRAM
#define TOTEM_DATA_FROM_PROGRAM "../share/totem-riff"
#endif

namespace {
// The game's paths are relative to its folder, so the program works from
// inside it, wherever it was started from; the player's files go where
// ChooseSaveFolder says. False, with the reason on standard error, when the
// game's files are nowhere to be found.
bool EnterTheGame() {
    std::error_code ec;
    const std::string here = std::filesystem::current_path(ec).string();
    const std::string folder = FindGameFolder(here, ProgramFolder(), TOTEM_DATA_FROM_PROGRAM);
    // Not found: start where we are, and start-up names the missing file.
    if (folder.empty()) return true;
    std::string problem;
    if (!EnterGameFolder(folder, problem)) {
        std::fprintf(stderr, "totem-riff: %s\n", problem.c_str());
        return false;
    }
    UseSaveFolder(ChooseSaveFolder(folder, UserFoldersFromEnvironment()), folder);
    return true;
}
}  // namespace

// "totem-riff --level N" starts level N directly; Escape then quits.
// "--trace" writes what play does on standard output (see PlayTrace).
// "--window" opens a window whatever the options say (the saved choice is
// kept), for a desktop where full screen misbehaves and for tests.
// "--autoplay", for tests only: levels play themselves, fast (see TAutoPlay).
// "--fps" writes the frames shown each second and the worst frame time.
// "--quit-after splash|menu" times the start and ends there (see ColdStart).
// "--help" and "--version" print and end; a mistake ends with status 2.
int main(int argc, char** argv) {
    ColdStart::MainEntered();
    const CommandLine line = CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
        case CommandLine::Action::HELP:
            std::fputs(CommandLine::HelpText("totem-riff").c_str(), stdout);
            return 0;
        case CommandLine::Action::VERSION:
            std::puts("totem-riff " TOTEM_VERSION);
            return 0;
        case CommandLine::Action::MISTAKE:
            std::fprintf(stderr, "totem-riff: %s\nTry 'totem-riff --help' for the options.\n", line.mistake.c_str());
            return 2;
        case CommandLine::Action::PLAY: break;
    }
    SetPlayTrace(line.trace);
    TApp::ForceWindow = line.window;
    SetFrameRateLog(line.fps);
    if (!line.quitAfter.empty()) ColdStart::QuitAfter(line.quitAfter);
    if (!EnterTheGame()) return 1;
    // Before the globals: their timers start on the clock the option drives.
    if (line.autoplay) TAutoPlay::Start();
    InitGlobals();
    LoadStartupContent();
    // Start-up and the main loop both hand back the exit code, so the program
    // ends here and nowhere else.
    if (const int code = TApp::Init(); code != 0 || QuitRequested()) return code;
    return TApp::Run(line.level > 0 ? TApp::START_MODE_GAME : TApp::START_MODE_MENU, line.level > 0 ? line.level : 1);
}
