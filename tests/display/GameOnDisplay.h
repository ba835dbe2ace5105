#pragma once
#include <memory>
#include <string>
#include <vector>

#include "display/GameProcess.h"
#include "display/XClient.h"
#include "display/XServer.h"

// The built game playing a level in an X server of its own, with a client to
// drive it: the base every display test stands on. Start it, wait for a line
// of the play trace or grab a frame, send input the way a player's devices
// do, and stop it (or let the window's close button do that).
class GameOnDisplay {
public:
    // The built game's folder, and why display tests cannot run here (no
    // content built, no Xvfb or xdotool); empty when they can.
    static std::string GameDir();
    static std::string WhyNotHere();

    GameOnDisplay() = default;
    ~GameOnDisplay();

    // Starts the server and the game at `level` with the play trace on, gives
    // the game's window the focus (no window manager runs) and waits until
    // the level plays. False with the reason in `problem`.
    bool Start(int level, std::string& problem);
    void Stop();

    // The pieces of Start, for tests that start the game their own way: the
    // server alone; the game from `gameDir` with `args` on that server, its
    // window found and focused (the trace is not waited on); the game ended
    // alone, the server kept for the next Launch.
    bool StartServer(std::string& problem);
    bool Launch(const std::string& gameDir, const std::vector<std::string>& args, std::string& problem);
    void StopGame();
    // Looks for the game's window again (the game made a new one, as when it
    // switches between full screen and a window) and focuses it.
    bool FindWindow(int timeoutMs);

    GameProcess& Game() { return game_; }
    XClient& Client() { return *client_; }
    XClient::WindowId Window() const { return window_; }

    // What the trace last said: the catcher's line (1 before any change), and
    // whether the level stands paused.
    int BatLine();
    bool Paused();
    // Waits until the catcher is on `line`.
    bool WaitBatLine(int line, int timeoutMs);

    // The mouse moved `dx` pixels sideways in steps of `stepPx` and one
    // less in turn, `stepMs` apart, as a hand moves it.
    bool MoveMouse(int dx, int stepPx, int stepMs);
    bool Click(int button);
    bool Button(int button, bool down);
    // `key` as xdotool names it ("x", "space").
    bool Key(const std::string& key, bool down);
    // Puts the pointer over the window at (x, y): a player reaching for it.
    bool PointAt(int x, int y);

private:
    XServer server_;
    GameProcess game_;
    std::unique_ptr<XClient> client_;
    XClient::WindowId window_ = 0;
};
