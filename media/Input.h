#pragma once
#include <string>

// Mouse, keyboard and window state, read once per frame through PollEvents.
// Keys use the Windows virtual-key numbers the game was written against.
enum VirtualKey : int {
    KEY_BACKSPACE = 8, KEY_TAB = 9, KEY_ENTER = 13, KEY_ESCAPE = 27, KEY_SPACE = 32,
    KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40, KEY_DELETE = 46,
    KEY_0 = 48, KEY_1 = 49, KEY_2 = 50, KEY_3 = 51, KEY_4 = 52, KEY_5 = 53,
    KEY_A = 65, KEY_C = 67, KEY_H = 72, KEY_M = 77, KEY_N = 78, KEY_P = 80,
    KEY_S = 83, KEY_V = 86, KEY_X = 88, KEY_F1 = 112
};

void PollEvents();
int MouseX();
int MouseY();
float VirtualMouseX();
float VirtualMouseY();
void MoveMouse(int x, int y);
void SetMouseVisible(int flag);
// While on, the pointer is hidden and held inside the window and only its
// movement counts: the window system reports raw motion, so nothing is lost
// to pointer warps or to the window's edges. Turning it off shows the pointer
// again where the movement took it (inside the window). Either way the
// movement not yet read is dropped.
void SetMouseRelative(int flag);
// 1 while relative mode is asked for.
int MouseRelative();
// Movement of the mouse in design-space units since the previous call for
// that axis, then zero. Summed over every motion event polled meanwhile.
float MouseMoveX();
float MouseMoveY();
// Held now, or pressed during the last poll even if already let go again.
int MouseDown(int button);
int MouseHitCount(int button);
// Forgets pending presses, held buttons and movement not yet read.
void ClearMouse();
int KeyDown(int key);
int KeyHitCount(int key);
int NextTypedChar();
void ClearKeys();
int AppSuspended();
// 1 once the window's close box or the window system's quit request (the
// session ending, the last window closed) has asked the program to end.
int CloseRequested();

// ---- Driving input from tests and tools ------------------------------------
// These push events into SDL's queue, so from PollEvents on they take the
// path of a player's input; the window system itself is passed by (the display
// tests drive that). Positions are window pixels.
void InjectMouseMove(int windowX, int windowY);
// A movement of (dx, dy) window pixels from where injected input last put the
// pointer, as a mouse in relative mode reports it.
void InjectMouseMotion(int dx, int dy);
void InjectMouseButton(int button, bool down);
void InjectKey(int virtualKey, bool down);
void InjectText(const std::string& utf8);
void InjectFocus(bool focused);
// The window minimised (true) or restored (false), as the desktop reports it.
void InjectMinimized(bool minimized);
void InjectCloseRequest();
