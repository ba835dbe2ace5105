#pragma once
// Shared between the media layer's own modules only; never included outside media/.
#include <SDL2/SDL.h>

namespace media_detail {
// The open game window, or null.
SDL_Window* CurrentWindow();
// Makes sure SDL is initialised with at least the given subsystems.
bool EnsureSdl(Uint32 subsystems);
}
