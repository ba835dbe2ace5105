#pragma once

// The desktop and the game window's place on it. Each returns false when there
// is no window (or no desktop) to ask.
bool GetDesktopRect(int& left, int& top, int& right, int& bottom);
// The window's outer rectangle, borders included where the window system says.
bool GetWindowRect(int& left, int& top, int& right, int& bottom);
bool SetWindowPosition(int x, int y);
