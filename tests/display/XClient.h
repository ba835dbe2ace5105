#pragma once
#include <string>
#include <vector>

#include "display/WindowShot.h"

// A client of a test's X server standing in for the player's desktop: it
// moves the mouse and presses buttons and keys through xdotool (the X test
// extension, as real devices do), and with a few lines of Xlib does what a
// window manager would (give a window the focus, take it away, ask a window
// to close) and reads back what the game shows: its window's pixels, whether
// the pointer is held, shown, and where.
class XClient {
public:
    using WindowId = unsigned long;

    explicit XClient(const std::string& display);
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    bool Connected() const { return display_ != nullptr; }

    // The mapped top-level window of process `pid`, waiting up to `timeoutMs`; 0 when none.
    WindowId WindowOfProcess(int pid, int timeoutMs);
    // Gives `window` the keyboard focus, as a window manager does on a click.
    void Focus(WindowId window);
    // Gives the focus to a small window of this client's own, as when the
    // player switches to another program.
    void FocusElsewhere();
    // What a window manager does for a window that asks for full screen: it
    // covers the whole screen.
    void Cover(WindowId window);
    // Puts the window back at this place and size, as on leaving full screen.
    void Place(WindowId window, int x, int y, int width, int height);
    // What a window manager does when the player minimises the window: marks
    // it hidden, takes it off the screen and gives the focus elsewhere.
    void Minimise(WindowId window);
    // And when the player brings it back: on the screen, with the focus.
    void Restore(WindowId window);
    // The window manager's close button: a WM_DELETE_WINDOW client message.
    void RequestClose(WindowId window);

    // The window's pixels as the X server has them now.
    WindowShot Grab(WindowId window);
    // True while another client holds the pointer (a game in relative mode).
    bool PointerHeld();
    // True when the pointer's current picture has any visible pixel.
    bool PointerShown();
    // The pointer's place in `window`; false when it is outside.
    bool PointerIn(WindowId window, int& x, int& y);

    // Runs xdotool with `args` on this display; true when it succeeded.
    bool Xdotool(const std::vector<std::string>& args);

private:
    void* display_ = nullptr;  // Display*
    std::string name_;
    WindowId elsewhere_ = 0;
};
