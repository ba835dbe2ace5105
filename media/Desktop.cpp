#include "media/Desktop.h"

#include "media/detail/SdlWindow.h"

bool GetDesktopRect(int& left, int& top, int& right, int& bottom) {
    SDL_Window* w = media_detail::CurrentWindow();
    int display = w ? SDL_GetWindowDisplayIndex(w) : 0;
    SDL_Rect r;
    if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &r) != 0) return false;
    left = r.x;
    top = r.y;
    right = r.x + r.w;
    bottom = r.y + r.h;
    return true;
}

bool GetWindowRect(int& left, int& top, int& right, int& bottom) {
    SDL_Window* w = media_detail::CurrentWindow();
    if (!w) return false;
    int x, y, width, height, bt = 0, bl = 0, bb = 0, br = 0;
    SDL_GetWindowPosition(w, &x, &y);
    SDL_GetWindowSize(w, &width, &height);
    SDL_GetWindowBordersSize(w, &bt, &bl, &bb, &br);
    left = x - bl;
    top = y - bt;
    right = x + width + br;
    bottom = y + height + bb;
    return true;
}

bool SetWindowPosition(int x, int y) {
    SDL_Window* w = media_detail::CurrentWindow();
    if (!w) return false;
    // SDL places the client area; the rectangle above includes the borders.
    int bt = 0, bl = 0, bb = 0, br = 0;
    SDL_GetWindowBordersSize(w, &bt, &bl, &bb, &br);
    SDL_SetWindowPosition(w, x + bl, y + bt);
    return true;
}
