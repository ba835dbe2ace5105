#pragma once
#include <cstdint>
#include <string>

#include "media/TImageFont.h"
#include "media/TPicture.h"

// A picture drawn on the CPU, for sheets that must come out the same with or
// without a display: filled boxes, checkerboards that show transparency,
// pictures scaled down to fit a box, and text in any of the game's image fonts.
class SheetCanvas {
public:
    SheetCanvas(int width, int height, uint32_t background);

    const PicturePtr& Picture() const { return picture_; }

    void FillRect(int x, int y, int w, int h, uint32_t argb);
    void Checkerboard(int x, int y, int w, int h, int square, uint32_t light, uint32_t dark);
    // Blends `source` over the canvas, scaled down (never up) to fit the box and
    // centred in it; box filtering keeps thin lines visible when shrinking.
    void DrawFitted(const TPicture& source, int x, int y, int w, int h);
    // Draws text with the font's glyph pictures, each multiplied by `tint`
    // (0xAARRGGBB), and returns the width drawn.
    int DrawText(const TImageFont& font, const std::string& text, int x, int y, uint32_t tint);

    // The width `DrawText` would cover.
    static int MeasureText(const TImageFont& font, const std::string& text);

private:
    void Blend(int x, int y, float a, float r, float g, float b);
    PicturePtr picture_;
};
