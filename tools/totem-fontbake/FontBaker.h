#pragma once
#include <string>
#include <vector>

#include "FontStyle.h"
#include "media/TPicture.h"

// One glyph's rectangle in the atlas picture.
struct BakedGlyph {
    int code = 0;
    int x = 0, y = 0, w = 0, h = 0;
};

// A rasterised font ready to be written as "<base>.png" + "<base>.fnt".
struct BakedFont {
    PicturePtr atlas;
    std::vector<BakedGlyph> glyphs;
    int kerning = 0;
    int cellHeight = 0;  // every glyph's height
    int baseline = 0;    // row of the baseline inside every cell
};

// The character codes a baked font carries: printable ASCII and printable
// Latin-1, so names with accents show. The space is left to the game, which
// sizes it from the other glyphs.
std::vector<int> BakedCodes();

// Rasterises `fontFile` at `pixelSize` with FreeType and styles every glyph.
// Every glyph gets the same cell height with its baseline on the same row, and
// its rectangle includes outline and shadow, so text drawn glyph by glyph sits
// on one line. False with a one-line reason naming the file on failure.
bool BakeFont(const std::string& fontFile, int pixelSize, const FontStyle& style, BakedFont& out,
              std::string& problem);

// Writes the pair through temporary files renamed into place, so a reader
// never sees half a font. False with a one-line reason on failure.
bool WriteBakedFont(const BakedFont& font, const std::string& outBase, std::string& problem);
