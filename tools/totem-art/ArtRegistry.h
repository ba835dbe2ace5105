#pragma once
#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

// Every picture of the game is one registered piece: where it goes in the
// runtime folder, its size and the code that paints it. Painters register
// themselves from their own source files (see TOTEM_ART), so the art of each
// area of the game lives in one file and the generator needs no central list.
struct ArtPiece {
    std::string path;  // relative to the output folder, lower case, e.g. "media/gfx/menu/back.png"
    int width = 0;
    int height = 0;
    std::function<void(cairo_t*)> paint;  // paints on a cleared, transparent ARGB surface
};

void AddArt(ArtPiece piece);

// A strip of `frames` cells of frameW × frameH laid out left to right in one
// row, as the game's strip loader reads them; `paintFrame` paints one cell with
// its origin at the cell's top-left corner.
void AddStrip(const std::string& path, int frameW, int frameH, int frames,
              std::function<void(cairo_t*, int frame)> paintFrame);

const std::vector<ArtPiece>& AllArt();

struct ArtRegistrar {
    explicit ArtRegistrar(void (*registerFn)()) { registerFn(); }
};

// Defines a function that registers pieces; it runs before main().
#define TOTEM_ART_CAT2(a, b) a##b
#define TOTEM_ART_CAT(a, b) TOTEM_ART_CAT2(a, b)
#define TOTEM_ART(name)                                                     \
    static void name();                                                    \
    static const ArtRegistrar TOTEM_ART_CAT(name##_registrar_, __LINE__){name}; \
    static void name()
