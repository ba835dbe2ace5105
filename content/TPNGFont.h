#pragma once
#include <memory>
#include <string>
#include <vector>

#include "media/TImageFont.h"
#include "media/TPicture.h"
#include "media/TStream.h"

// One glyph of a bitmap font. Its width `_w` already includes the font's
// kerning, and that width is how far it moves the pen.
class TPNGChar : public TImageGlyph {
public:
    int Code = 0;
    int Kearning = 0;
    float Advance() const override { return static_cast<float>(_w); }
};

using PNGCharPtr = std::shared_ptr<TPNGChar>;

// A pre-rendered font: an atlas picture ("<base>.png") and a binary glyph table
// ("<base>.fnt"): kerning, an unused int, the record count, the highest code
// (0 = 300), then per glyph code, x, y, width, height, all 32-bit little-endian.
class TPNGFont : public TImageFont {
public:
    // The highest character code a table may ask for; larger ones are cut down.
    static constexpr int kMaxCodeLimit = 0xFFFF;

    std::vector<PNGCharPtr> Characters;  // by character code 0 … MaxSymb
    int FHeight = 0;                     // the tallest glyph
    PicturePtr font;                     // the glyph atlas
    int Kearning = 0;
    int MaxSymb = 0;

    // Font height under the current vertical scale, truncated.
    int height() const override;
    int CharToGlyph(int code) const override;
    GlyphPtr LoadGlyph(int index) const override;
    void Draw(const std::string& text, float x, float y, float ix, float iy, float jx, float jy) override;
    // Reads "<path>.png" and "<path>.fnt" by path. False when either is missing
    // or unreadable (the font is then left empty).
    virtual bool LoadPNGFont(const std::string& path);
    // Sum of the advances, each step truncated, times the current horizontal scale.
    virtual float TextWidth(const std::string& text) const;

    // Builds the font from an atlas and a glyph table already open. `name`
    // names the font in the one line printed about glyphs outside the atlas.
    bool LoadFrom(const PicturePtr& atlas, TStream& table, const std::string& name);
};

using PNGFontPtr = std::shared_ptr<TPNGFont>;

// A loaded bitmap font, or null when its picture or table is missing.
PNGFontPtr CreatePNGFont(const std::string& path);
