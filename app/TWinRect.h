#pragma once
#include <cstdint>

// A window rectangle: left, top, right, bottom, in desktop pixels.
struct TWinRect {
    int32_t L = 0, T = 0, R = 0, B = 0;
};

// Where a window goes so that it sits in the middle of the desktop: half the
// desktop's right edge less half the window's width, likewise vertically, each
// division truncating toward zero.
void CentredPosition(const TWinRect& desktop, const TWinRect& window, int& x, int& y);
// Moves the game window to the centre of the desktop, windowed or full screen.
void CentreWindow();
