// The game window and its GL context: opening and closing the display,
// presenting frames, reading them back, and the window-to-design mapping.
#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "media/Graphics.h"
#include "media/System.h"
#include "media/TFrameMeter.h"
#include "media/detail/DrawState.h"
#include "media/detail/FineClock.h"
#include "media/detail/Renderer.h"
#include "media/detail/SdlWindow.h"

using media_detail::TheRenderer;

namespace {

struct Display {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int width = 800, height = 600;  // as requested
    int virtualW = 800, virtualH = 600;
    int hz = 60;
    int swapInterval = -2;          // last interval given to SDL
    Uint64 nextPresent = 0;         // for paced presentation
};

Display display;
// Present only with "--fps": the count of frames shown.
std::unique_ptr<TFrameMeter> frameMeter;

void UpdateSurface() {
    int dw = display.width, dh = display.height;
    if (display.window) SDL_GL_GetDrawableSize(display.window, &dw, &dh);
    TheRenderer().SetSurface(dw, dh, display.virtualW, display.virtualH);
}

void DestroyWindow() {
    if (display.context) {
        SDL_GL_DeleteContext(display.context);
        display.context = nullptr;
    }
    if (display.window) {
        SDL_DestroyWindow(display.window);
        display.window = nullptr;
    }
}

bool Fail(const std::string& problem) {
    Notify("The game window could not be opened: " + problem, true);
    DestroyWindow();
    return false;
}

void SetSwapInterval(int interval) {
    if (display.swapInterval == interval) return;
    SDL_GL_SetSwapInterval(interval);
    display.swapInterval = interval;
}

// Waits until one refresh period (of the rate asked for) has passed since the
// previous presentation.
void PaceToRefreshRate() {
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 period = frequency / static_cast<Uint64>(std::max(display.hz, 1));
    Uint64 now = SDL_GetPerformanceCounter();
    if (display.nextPresent == 0 || now > display.nextPresent + period) display.nextPresent = now;
    while (now < display.nextPresent) {
        const Uint64 ms = (display.nextPresent - now) * 1000 / frequency;
        if (ms > 1) SDL_Delay(static_cast<Uint32>(ms - 1));
        now = SDL_GetPerformanceCounter();
    }
    display.nextPresent += period;
}

}  // namespace

namespace media_detail {
SDL_Window* CurrentWindow() { return display.window; }

bool EnsureSdl(Uint32 subsystems) {
    const Uint32 missing = subsystems & ~SDL_WasInit(subsystems);
    if (missing == 0) return true;
    // Closing the window is the game's own business, but a signal from the
    // system (Ctrl+C, a service stopping) must still end the process.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(missing) == 0;
}
}  // namespace media_detail

bool OpenDisplay(int width, int height, int depth, int hz) {
    CloseDisplay();
    if (!media_detail::EnsureSdl(SDL_INIT_VIDEO))
        return Fail(std::string("the video system did not start (") + SDL_GetError() + ").");
    // Hold the GL library for the program's life: reopening the display (window
    // <-> full screen) then reuses the loaded driver instead of unloading and
    // loading it again.
    static const bool glLoaded = SDL_GL_LoadLibrary(nullptr) == 0;
    if (!glLoaded) return Fail(std::string("OpenGL could not be loaded (") + SDL_GetError() + ").");
    display.width = std::max(width, 1);
    display.height = std::max(height, 1);
    display.hz = hz > 0 ? hz : 60;

    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);

    // Full screen covers the desktop at its own resolution; the design space is
    // letterboxed into it rather than switching the monitor's mode.
    Uint32 flags = SDL_WINDOW_OPENGL;
    if (depth != 0) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    display.window = SDL_CreateWindow(AppTitle().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                      display.width, display.height, flags);
    if (!display.window) return Fail(std::string("no window with OpenGL could be made (") + SDL_GetError() + ").");
    display.context = SDL_GL_CreateContext(display.window);
    if (!display.context)
        return Fail(std::string("this system offers no OpenGL 3.3 core context (") + SDL_GetError() +
                    "). Please update the graphics driver.");
    if (SDL_GL_MakeCurrent(display.window, display.context) != 0)
        return Fail(std::string("the OpenGL context could not be made current (") + SDL_GetError() + ").");
    if (epoxy_gl_version() < 33)
        return Fail("the graphics driver offers OpenGL " + std::to_string(epoxy_gl_version() / 10) + "." +
                    std::to_string(epoxy_gl_version() % 10) + ", but OpenGL 3.3 is needed.");
    display.virtualW = display.width;
    display.virtualH = display.height;
    if (!TheRenderer().Start(display.virtualW, display.virtualH))
        return Fail("the graphics driver could not build the game's shaders.");
    display.swapInterval = -2;
    display.nextPresent = 0;
    UpdateSurface();
    media_detail::ApplyDrawStateToRenderer();
    TheRenderer().ClearWindow(0, 0, 0);
    return true;
}

void CloseDisplay() {
    if (display.context) TheRenderer().Stop();
    DestroyWindow();
}

bool DisplayIsOpen() { return display.window != nullptr && TheRenderer().Ready(); }

void SetVirtualResolution(int w, int h) {
    display.virtualW = std::max(w, 1);
    display.virtualH = std::max(h, 1);
    UpdateSurface();
}

int DisplayWidth() { return display.width; }
int DisplayHeight() { return display.height; }

void Flip(int sync) {
    if (!DisplayIsOpen()) return;
    auto& renderer = TheRenderer();
    renderer.Flush();
    SetSwapInterval(sync == 1 ? 1 : 0);
    if (sync < 0) PaceToRefreshRate();
    const int64_t swapStart = media_detail::ThreadCpuNanos();
    SDL_GL_SwapWindow(display.window);
    renderer.AddDriverTime(media_detail::ThreadCpuNanos() - swapStart);
    // Measured right after the swap: the time a player sees between pictures,
    // pacing and the driver's own waits included.
    if (frameMeter)
        for (const std::string& line : frameMeter->Presented(media_detail::FineClockMs())) PrintLine(line);
    renderer.EndFrame();
    // The window may have changed size (full screen settling on the desktop).
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(display.window, &dw, &dh);
    if (dw != renderer.DrawableW() || dh != renderer.DrawableH()) UpdateSurface();
    // Bars outside the design area stay black; the game clears its own area.
    renderer.ClearWindow(0, 0, 0);
}

void SetFrameRateLog(bool on) { frameMeter = on ? std::make_unique<TFrameMeter>() : nullptr; }

int DrainGlErrors() {
    if (!DisplayIsOpen()) return 0;
    // A lost context reports GL_CONTEXT_LOST on every call: stop after a few.
    constexpr int kMostKinds = 16;
    int errors = 0;
    while (errors < kMostKinds && glGetError() != GL_NO_ERROR) ++errors;
    return errors;
}

RenderStats LastFrameStats() {
    const auto stats = TheRenderer().LastStats();
    return RenderStats{stats.drawCalls, stats.quads, stats.pixels, stats.driverMs};
}

TextureStats TextureMemory() {
    const auto& renderer = TheRenderer();
    TextureStats stats;
    int64_t placed = 0, own = 0;
    renderer.TextureUse(stats.atlasPages, placed, stats.ownTextures, own);
    const int64_t side = renderer.AtlasSize();
    stats.atlasBytes = int64_t(stats.atlasPages) * side * side * 4;
    stats.atlasPlacedBytes = placed * 4;
    stats.ownBytes = own * 4;
    return stats;
}

PicturePtr GrabFrame() {
    auto& renderer = TheRenderer();
    std::vector<uint32_t> window;
    int w = 0, h = 0;
    if (!renderer.ReadLetterbox(window, w, h)) return nullptr;
    const int vw = renderer.VirtualW(), vh = renderer.VirtualH();
    auto picture = std::make_shared<TPicture>(vw, vh, false);
    uint32_t* out = picture->StorePixels();
    // Nearest sample of the letterboxed area for each design pixel.
    for (int y = 0; y < vh; ++y) {
        const int sy = std::min(h - 1, static_cast<int>((y + 0.5) * h / vh));
        for (int x = 0; x < vw; ++x) {
            const int sx = std::min(w - 1, static_cast<int>((x + 0.5) * w / vw));
            out[static_cast<size_t>(y) * vw + x] = window[static_cast<size_t>(sy) * w + sx];
        }
    }
    return picture;
}

void WindowToVirtual(float wx, float wy, float& vx, float& vy) {
    if (!display.window) {
        vx = wx;
        vy = wy;
        return;
    }
    int ww = 0, wh = 0;
    SDL_GetWindowSize(display.window, &ww, &wh);
    const int vw = display.virtualW, vh = display.virtualH;
    if (ww <= 0 || wh <= 0) {
        vx = wx;
        vy = wy;
        return;
    }
    const double scale = std::min(double(ww) / vw, double(wh) / vh);
    const double left = (ww - vw * scale) / 2, top = (wh - vh * scale) / 2;
    vx = static_cast<float>((wx - left) / scale);
    vy = static_cast<float>((wy - top) / scale);
}
