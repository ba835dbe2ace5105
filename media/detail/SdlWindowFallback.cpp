// Temporary: the window module replaces these when the renderer lands.
#include "media/detail/SdlWindow.h"

namespace media_detail {
__attribute__((weak)) SDL_Window* CurrentWindow() { return nullptr; }
__attribute__((weak)) bool EnsureSdl(Uint32 subsystems) {
    if (SDL_WasInit(subsystems) == subsystems) return true;
    return SDL_InitSubSystem(subsystems) == 0;
}
}  // namespace media_detail

#include "media/Graphics.h"
__attribute__((weak)) void WindowToVirtual(float wx, float wy, float& vx, float& vy) {
    vx = wx;
    vy = wy;
}
