#pragma once
#include <memory>
#include <string>
#include <vector>

#include "media/TImage.h"

// One glyph of an image font: its picture (may be null for a blank such as the
// space), where it sits relative to the pen, and how far it moves the pen.
class TImageGlyph {
public:
    virtual ~TImageGlyph() = default;
    ImagePtr _image;
    float advance = 0;
    int _x = 0, _y = 0, _w = 0, _h = 0;
    virtual float Advance() const { return advance; }
};

using GlyphPtr = std::shared_ptr<TImageGlyph>;

// A font made of glyph images. The media layer draws and measures text through
// these operations, so the game's bitmap fonts plug in by overriding them.
// Characters without a glyph are skipped when drawing and measuring.
class TImageFont {
public:
    virtual ~TImageFont() = default;

    // Height in pixels (the font's `Height`).
    virtual int height() const { return Height; }
    // Glyph index for a character code, −1 when the font has none.
    virtual int CharToGlyph(int code) const;
    virtual GlyphPtr LoadGlyph(int index) const;
    // Draws text with the pen at (x, y) and the current rotation/scale matrix.
    virtual void Draw(const std::string& text, float x, float y, float ix, float iy, float jx, float jy);

    int Height = 0;
    // Indexed by character code; null entries have no glyph.
    std::vector<GlyphPtr> glyphs;
};

using FontPtr = std::shared_ptr<TImageFont>;
