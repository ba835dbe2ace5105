#pragma once
#include <cstdint>
#include <functional>

#include "media/TImage.h"

// The application shell: start-up, the splash screens, the one main loop and
// the ways the program ends. A holder of class functions only; all game logic
// runs inside the Update and Draw calls the loop makes on the widget manager.
class TApp {
public:
    static constexpr int START_MODE_MENU = 1;
    static constexpr int START_MODE_GAME = 2;

    // The start-up sequence; returns 0 or ends the process.
    static int Init();
    // Chooses the first screen, then runs the main loop until the window's
    // close box or the desktop asks the program to end; returns the exit code.
    static int Run(int mode, int level);
    // One splash image faded in, held and faded out: four seconds, not skippable.
    static int ShowSplash(const ImagePtr& image);
    // Opens "play.url" and ends the process with exit code 0.
    [[noreturn]] static void Terminate();

    // The main loop, in pieces so tests and tools can run a number of frames.
    static void ChooseFirstScreen(int mode, int level);
    // The one game controller, added to the widget manager hidden.
    static void CreateGame();
    static void EnterLoop();
    static void RunFrame();
    // GameClock back to 0 and the frame timing restarted now, so time spent
    // loading a level does not count as play.
    static void ResetFrameClock();
    // dt handed to the widgets in the last frame.
    static float LastDt();
    // Called after a frame is drawn and before it is presented (frame capture).
    static void SetBeforePresent(std::function<void()> hook);

private:
    static int32_t previousFrameMs_;
    static float lastDt_;
    static std::function<void()> beforePresent_;
};
