#pragma once
#include <string>
#include <vector>

// Under "--trace", a line each time a window of the dialog layouts comes on
// screen or leaves it: "dialog <id> open" and "dialog <id> closed", <id> being
// the window's id in gui.xml. The main menu and the story map are such
// windows too, so the lines also tell which screen is up. The display tests
// wait on them before they look at the screen or click; they are written
// after the frame that first shows (or no longer shows) the window has been
// presented, so what the line says is on screen.
class ScreenTrace {
public:
    // Compares the windows shown now with those shown at the last call.
    static void AfterFrame();

private:
    static std::vector<std::string> shown_;
};
