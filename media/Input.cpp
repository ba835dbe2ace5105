#include "media/Input.h"

#include <SDL2/SDL.h>

#include <array>
#include <deque>

#include "media/Graphics.h"
#include "media/TStream.h"
#include "media/detail/Mixer.h"
#include "media/detail/SdlWindow.h"

namespace {

constexpr int KEY_COUNT = 256;

struct InputState {
    int mouseX = 0, mouseY = 0;
    // Window pixels moved since the game last read them.
    int moveX = 0, moveY = 0;
    bool relative = false;
    std::array<bool, 4> buttonDown{};
    // Pressed during the last poll: a tap that is down and up again before
    // the game looks still counts as held for that one frame, or a quick
    // click (a touchpad's tap) would never reach a button.
    std::array<bool, 4> pressedInPoll{};
    std::array<int, 4> buttonHits{};
    std::array<bool, KEY_COUNT> keyDown{};
    std::array<int, KEY_COUNT> keyHits{};
    std::deque<int> typed;
    bool suspended = false;
    bool closeRequested = false;
};

InputState state;
// Where injected input last put the pointer; events queued before a poll
// must carry it, not the state that the poll has not caught up with.
int injectedX = 0, injectedY = 0;

// SDL numbers the middle button 2 and the right one 3; the game uses 2 = right, 3 = middle.
int GameButton(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 3;
        default: return 0;
    }
}

Uint8 SdlButton(int gameButton) {
    switch (gameButton) {
        case 1: return SDL_BUTTON_LEFT;
        case 2: return SDL_BUTTON_RIGHT;
        case 3: return SDL_BUTTON_MIDDLE;
        default: return 0;
    }
}

// SDL key codes to the Windows virtual-key numbers the game's logic uses.
int VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return KEY_A + int(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return KEY_0 + int(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return KEY_F1 + int(key - SDLK_F1);
    switch (key) {
        case SDLK_RETURN: case SDLK_KP_ENTER: return KEY_ENTER;
        case SDLK_ESCAPE: return KEY_ESCAPE;
        case SDLK_SPACE: return KEY_SPACE;
        case SDLK_BACKSPACE: return KEY_BACKSPACE;
        case SDLK_TAB: return KEY_TAB;
        case SDLK_LEFT: return KEY_LEFT;
        case SDLK_UP: return KEY_UP;
        case SDLK_RIGHT: return KEY_RIGHT;
        case SDLK_DOWN: return KEY_DOWN;
        case SDLK_DELETE: return KEY_DELETE;
        default: return 0;
    }
}

SDL_Keycode SdlKeyOf(int vk) {
    for (SDL_Keycode k : {SDLK_RETURN, SDLK_ESCAPE, SDLK_SPACE, SDLK_BACKSPACE, SDLK_TAB, SDLK_LEFT, SDLK_UP,
                          SDLK_RIGHT, SDLK_DOWN, SDLK_DELETE})
        if (VirtualKeyOf(k) == vk) return k;
    if (vk >= KEY_A && vk <= KEY_A + 25) return SDLK_a + (vk - KEY_A);
    if (vk >= KEY_0 && vk <= KEY_0 + 9) return SDLK_0 + (vk - KEY_0);
    if (vk >= KEY_F1 && vk <= KEY_F1 + 11) return SDLK_F1 + (vk - KEY_F1);
    return SDLK_UNKNOWN;
}

// Focus changes drop everything pending, so a click that switched windows does
// not land in the game.
void ForgetPending() {
    state.moveX = state.moveY = 0;
    state.buttonHits.fill(0);
    state.buttonDown.fill(false);
    state.pressedInPoll.fill(false);
    state.keyHits.fill(0);
    state.keyDown.fill(false);
    state.typed.clear();
}

void SetSuspended(bool suspended) {
    if (state.suspended == suspended) return;
    state.suspended = suspended;
    ForgetPending();
}

void HandleWindowEvent(const SDL_WindowEvent& e) {
    switch (e.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED: SetSuspended(true); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED: SetSuspended(false); break;
        case SDL_WINDOWEVENT_CLOSE: state.closeRequested = true; break;
        default: break;
    }
}

void HandleEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT: state.closeRequested = true; break;
        case SDL_WINDOWEVENT: HandleWindowEvent(e.window); break;
        case SDL_AUDIODEVICEREMOVED:
            if (e.adevice.iscapture == 0) media_detail::Mixer::Get().DeviceRemoved(e.adevice.which);
            break;
        case SDL_MOUSEMOTION:
            state.mouseX = e.motion.x;
            state.mouseY = e.motion.y;
            state.moveX += e.motion.xrel;
            state.moveY += e.motion.yrel;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            state.mouseX = e.button.x;
            state.mouseY = e.button.y;
            int b = GameButton(e.button.button);
            if (b == 0) break;
            bool down = e.type == SDL_MOUSEBUTTONDOWN;
            if (down) {
                ++state.buttonHits[b];
                state.pressedInPoll[b] = true;
            }
            state.buttonDown[b] = down;
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int vk = VirtualKeyOf(e.key.keysym.sym);
            if (vk <= 0 || vk >= KEY_COUNT) break;
            bool down = e.type == SDL_KEYDOWN;
            if (down && !e.key.repeat) ++state.keyHits[vk];
            state.keyDown[vk] = down;
            // Keys that type no text still reach text fields as characters.
            if (down && (vk == KEY_BACKSPACE || vk == KEY_ENTER || vk == KEY_ESCAPE)) state.typed.push_back(vk);
            break;
        }
        case SDL_TEXTINPUT: {
            std::string text = e.text.text;
            for (size_t i = 0; i < text.size();) state.typed.push_back(int(NextCodePoint(text, i)));
            break;
        }
        default: break;
    }
}

bool EventsReady() { return media_detail::EnsureSdl(SDL_INIT_EVENTS); }

void Push(SDL_Event& e) {
    if (!EventsReady()) return;
    e.common.timestamp = SDL_GetTicks();
    SDL_PushEvent(&e);
}

Uint32 WindowId() {
    SDL_Window* w = media_detail::CurrentWindow();
    return w ? SDL_GetWindowID(w) : 0;
}

// Window pixels to design units: the scale of the design space in the window.
float MoveInDesign(int& windowPixels, bool xAxis) {
    float x0, y0, x1, y1;
    WindowToVirtual(0, 0, x0, y0);
    WindowToVirtual(xAxis ? float(windowPixels) : 0.0f, xAxis ? 0.0f : float(windowPixels), x1, y1);
    windowPixels = 0;
    return xAxis ? x1 - x0 : y1 - y0;
}

}  // namespace

void PollEvents() {
    if (!EventsReady()) return;
    state.pressedInPoll.fill(false);
    SDL_Event e;
    while (SDL_PollEvent(&e)) HandleEvent(e);
}

int MouseX() { return state.mouseX; }
int MouseY() { return state.mouseY; }

float VirtualMouseX() {
    float vx, vy;
    WindowToVirtual(float(state.mouseX), float(state.mouseY), vx, vy);
    return vx;
}

float VirtualMouseY() {
    float vx, vy;
    WindowToVirtual(float(state.mouseX), float(state.mouseY), vx, vy);
    return vy;
}

void MoveMouse(int x, int y) {
    state.mouseX = injectedX = x;
    state.mouseY = injectedY = y;
    if (SDL_Window* w = media_detail::CurrentWindow()) SDL_WarpMouseInWindow(w, x, y);
}

void SetMouseVisible(int flag) {
    if (EventsReady()) SDL_ShowCursor(flag ? SDL_ENABLE : SDL_DISABLE);
}

void SetMouseRelative(int flag) {
    state.moveX = state.moveY = 0;
    state.relative = flag != 0;
    // Window systems without relative motion (the offscreen driver) refuse;
    // injected motion still carries its movement there.
    if (EventsReady()) SDL_SetRelativeMouseMode(state.relative ? SDL_TRUE : SDL_FALSE);
}

int MouseRelative() { return state.relative ? 1 : 0; }

float MouseMoveX() { return MoveInDesign(state.moveX, true); }
float MouseMoveY() { return MoveInDesign(state.moveY, false); }

int MouseDown(int button) {
    if (button < 1 || button > 3) return 0;
    return state.buttonDown[size_t(button)] || state.pressedInPoll[size_t(button)] ? 1 : 0;
}

int MouseHitCount(int button) {
    if (button < 1 || button > 3) return 0;
    int n = state.buttonHits[button];
    state.buttonHits[button] = 0;
    return n;
}

void ClearMouse() {
    state.moveX = state.moveY = 0;
    state.buttonHits.fill(0);
    state.buttonDown.fill(false);
    state.pressedInPoll.fill(false);
}

int KeyDown(int key) { return key > 0 && key < KEY_COUNT && state.keyDown[key] ? 1 : 0; }

int KeyHitCount(int key) {
    if (key <= 0 || key >= KEY_COUNT) return 0;
    int n = state.keyHits[key];
    state.keyHits[key] = 0;
    return n;
}

int NextTypedChar() {
    if (state.typed.empty()) return 0;
    int c = state.typed.front();
    state.typed.pop_front();
    return c;
}

void ClearKeys() {
    state.keyHits.fill(0);
    state.keyDown.fill(false);
    state.typed.clear();
}

int AppSuspended() { return state.suspended ? 1 : 0; }
int CloseRequested() { return state.closeRequested ? 1 : 0; }

void InjectMouseMove(int windowX, int windowY) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = WindowId();
    e.motion.x = windowX;
    e.motion.y = windowY;
    e.motion.xrel = windowX - injectedX;
    e.motion.yrel = windowY - injectedY;
    injectedX = windowX;
    injectedY = windowY;
    Push(e);
}

void InjectMouseMotion(int dx, int dy) { InjectMouseMove(injectedX + dx, injectedY + dy); }

void InjectMouseButton(int button, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = WindowId();
    e.button.button = SdlButton(button);
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = injectedX;
    e.button.y = injectedY;
    Push(e);
}

void InjectKey(int virtualKey, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = WindowId();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = SdlKeyOf(virtualKey);
    e.key.keysym.scancode = SDL_GetScancodeFromKey(e.key.keysym.sym);
    Push(e);
}

void InjectText(const std::string& utf8) {
    // SDL carries at most 31 bytes per text event; split on character boundaries.
    size_t i = 0;
    while (i < utf8.size()) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = WindowId();
        size_t len = 0;
        while (i + len < utf8.size()) {
            size_t next = i + len;
            NextCodePoint(utf8, next);
            if (next - i >= sizeof(e.text.text)) break;
            len = next - i;
        }
        if (len == 0) break;
        utf8.copy(e.text.text, len, i);
        e.text.text[len] = '\0';
        i += len;
        Push(e);
    }
}

namespace {

// A window-system event about the game's window, as the desktop sends it.
void PushWindowEvent(Uint8 event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = WindowId();
    e.window.event = event;
    Push(e);
}

}  // namespace

void InjectFocus(bool focused) {
    PushWindowEvent(focused ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}

void InjectMinimized(bool minimized) {
    PushWindowEvent(minimized ? SDL_WINDOWEVENT_MINIMIZED : SDL_WINDOWEVENT_RESTORED);
}

void InjectCloseRequest() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    Push(e);
}
