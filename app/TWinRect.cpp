#include "app/TWinRect.h"

#include "media/Desktop.h"

void CentredPosition(const TWinRect& desktop, const TWinRect& window, int& x, int& y) {
    x = desktop.R / 2 - (window.R - window.L) / 2;
    y = desktop.B / 2 - (window.B - window.T) / 2;
}

void CentreWindow() {
    TWinRect desktop, window;
    if (!GetDesktopRect(desktop.L, desktop.T, desktop.R, desktop.B)) return;
    if (!GetWindowRect(window.L, window.T, window.R, window.B)) return;
    int x, y;
    CentredPosition(desktop, window, x, y);
    SetWindowPosition(x, y);
}
