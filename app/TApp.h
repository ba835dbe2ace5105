#pragma once
#include <cstdint>
#include <functional>

#include "game/GameGlobals.h"
#include "media/TImage.h"

// The application shell: start-up, the splash screens, the one main loop and
// the ways the program ends. A holder of class functions only; all game logic
// runs inside the Update and Draw calls the loop makes on the widget manager.
class TApp {
public:
    static constexpr int START_MODE_MENU = ::START_MODE_MENU;
    static constexpr int START_MODE_GAME = ::START_MODE_GAME;

    // The start-up sequence. Returns 0, or the exit code when start-up asked
    // for the program to end (no display, a damaged game folder, a fatal
    // content error); the caller then returns it from main.
    static int Init();
    // Chooses the first screen, then runs the main loop until a quit is
    // requested, and returns the exit code. This is the one place the
    // program ends, so whatever must be saved is saved on the way out here.
    static int Run(int mode, int level);
    // One splash image faded in, held and faded out: four seconds, not skippable.
    static int ShowSplash(const ImagePtr& image);
    // The splashes are shown once, at start: their pictures go afterwards.
    static void ReleaseSplashes();
    // Opens "play.url" and asks for the program to end with exit code 0; the
    // main loop ends after the current frame.
    static void Terminate();

    // The main loop, in pieces so tests and tools can run a number of frames.
    static void ChooseFirstScreen(int mode, int level);
    // The main menu (with the story map it opens), added to the widget
    // manager hidden; it starts the menus' song and, with no profile yet,
    // asks for a name.
    static void CreateMainMenu();
    // The one game controller, added to the widget manager hidden.
    static void CreateGame();
    static void EnterLoop();
    static void RunFrame();
    // The clock, the widgets' update and what follows it, short of drawing.
    static void UpdateFrame();
    // dt handed to the widgets in the last frame.
    static float LastDt();
    // Called after a frame is drawn and before it is presented (frame capture).
    static void SetBeforePresent(std::function<void()> hook);
    // One frame of the main loop, and the picture it presented (tools that
    // capture screens).
    static PicturePtr RunFrameAndGrab();

    // Open a window even when the options ask for full screen.
    static bool ForceWindow;

private:
    static float lastDt_;
    static std::function<void()> beforePresent_;
};
