#include "ArtRegistry.h"

namespace {
std::vector<ArtPiece>& Registry() {
    static std::vector<ArtPiece> pieces;
    return pieces;
}
}  // namespace

void AddArt(ArtPiece piece) { Registry().push_back(std::move(piece)); }

void AddStrip(const std::string& path, int frameW, int frameH, int frames,
              std::function<void(cairo_t*, int)> paintFrame) {
    AddArt({path, frameW * frames, frameH, [=](cairo_t* cr) {
                for (int i = 0; i < frames; ++i) {
                    cairo_save(cr);
                    cairo_rectangle(cr, i * frameW, 0, frameW, frameH);
                    cairo_clip(cr);
                    cairo_translate(cr, i * frameW, 0);
                    paintFrame(cr, i);
                    cairo_restore(cr);
                }
            }});
}

const std::vector<ArtPiece>& AllArt() { return Registry(); }
