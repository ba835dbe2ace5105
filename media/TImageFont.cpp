#include "media/TImageFont.h"

#include "media/Graphics.h"

int TImageFont::CharToGlyph(int code) const {
    if (code < 0 || code >= static_cast<int>(glyphs.size()) || !glyphs[static_cast<size_t>(code)]) return -1;
    return code;
}

GlyphPtr TImageFont::LoadGlyph(int index) const {
    if (index < 0 || index >= static_cast<int>(glyphs.size())) return nullptr;
    return glyphs[static_cast<size_t>(index)];
}

void TImageFont::Draw(const std::string& text, float x, float y, float ix, float iy, float jx, float jy) {
    float penX = x, penY = y;
    for (size_t i = 0; i < text.size();) {
        const int index = CharToGlyph(static_cast<int>(NextCodePoint(text, i)));
        if (index < 0) continue;
        const GlyphPtr glyph = LoadGlyph(index);
        if (!glyph) continue;
        if (glyph->_image) {
            // The glyph's offset from the pen turns with the text.
            const float gx = static_cast<float>(glyph->_x), gy = static_cast<float>(glyph->_y);
            DrawImageTransformed(glyph->_image, 0, penX + gx * ix + gy * iy, penY + gx * jx + gy * jy, ix, iy, jx, jy);
        }
        const float advance = glyph->Advance();
        penX += advance * ix;
        penY += advance * jx;
    }
}
