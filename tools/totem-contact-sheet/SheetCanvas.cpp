#include "SheetCanvas.h"

#include <algorithm>
#include <cmath>

#include "media/TStream.h"

namespace {

float Channel(uint32_t argb, int shift) { return static_cast<float>((argb >> shift) & 0xFF) / 255.0f; }

}  // namespace

SheetCanvas::SheetCanvas(int width, int height, uint32_t background)
    : picture_(std::make_shared<TPicture>(width, height, true)) {
    FillRect(0, 0, width, height, background);
}

void SheetCanvas::FillRect(int x, int y, int w, int h, uint32_t argb) {
    for (int py = std::max(0, y); py < std::min(picture_->Height(), y + h); ++py)
        for (int px = std::max(0, x); px < std::min(picture_->Width(), x + w); ++px) picture_->WritePixel(px, py, argb);
}

void SheetCanvas::Checkerboard(int x, int y, int w, int h, int square, uint32_t light, uint32_t dark) {
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
            picture_->WritePixel(x + px, y + py, ((px / square + py / square) % 2) ? dark : light);
}

void SheetCanvas::Blend(int x, int y, float a, float r, float g, float b) {
    if (a <= 0 || x < 0 || y < 0 || x >= picture_->Width() || y >= picture_->Height()) return;
    const uint32_t dst = picture_->ReadPixel(x, y);
    const float keep = 1 - a;
    auto mix = [&](float src, int shift) {
        return static_cast<uint32_t>(std::lround(std::clamp(src * a + Channel(dst, shift) * keep, 0.0f, 1.0f) * 255));
    };
    // The sheet itself is opaque, so only colour is blended.
    picture_->WritePixel(x, y, 0xFF000000u | (mix(r, 16) << 16) | (mix(g, 8) << 8) | mix(b, 0));
}

void SheetCanvas::DrawFitted(const TPicture& source, int x, int y, int w, int h) {
    const int sw = source.Width(), sh = source.Height();
    if (sw <= 0 || sh <= 0 || w <= 0 || h <= 0) return;
    const double scale = std::min({1.0, static_cast<double>(w) / sw, static_cast<double>(h) / sh});
    const int dw = std::max(1, static_cast<int>(std::floor(sw * scale)));
    const int dh = std::max(1, static_cast<int>(std::floor(sh * scale)));
    const int ox = x + (w - dw) / 2, oy = y + (h - dh) / 2;
    const bool opaque = !source.HasAlpha();
    for (int dy = 0; dy < dh; ++dy) {
        const int sy0 = static_cast<int>(static_cast<long long>(dy) * sh / dh);
        const int sy1 = std::max(sy0 + 1, static_cast<int>(static_cast<long long>(dy + 1) * sh / dh));
        for (int dx = 0; dx < dw; ++dx) {
            const int sx0 = static_cast<int>(static_cast<long long>(dx) * sw / dw);
            const int sx1 = std::max(sx0 + 1, static_cast<int>(static_cast<long long>(dx + 1) * sw / dw));
            // Average with premultiplied alpha so transparent pixels do not darken edges.
            float a = 0, r = 0, g = 0, b = 0;
            for (int sy = sy0; sy < sy1; ++sy)
                for (int sx = sx0; sx < sx1; ++sx) {
                    const uint32_t p = source.ReadPixel(sx, sy);
                    const float pa = opaque ? 1.0f : Channel(p, 24);
                    a += pa;
                    r += Channel(p, 16) * pa;
                    g += Channel(p, 8) * pa;
                    b += Channel(p, 0) * pa;
                }
            if (a <= 0) continue;
            const float n = static_cast<float>((sx1 - sx0) * (sy1 - sy0));
            Blend(ox + dx, oy + dy, a / n, r / a, g / a, b / a);
        }
    }
}

int SheetCanvas::DrawText(const TImageFont& font, const std::string& text, int x, int y, uint32_t tint) {
    float pen = 0;
    for (size_t i = 0; i < text.size();) {
        const int index = font.CharToGlyph(static_cast<int>(NextCodePoint(text, i)));
        if (index < 0) continue;
        const GlyphPtr glyph = font.LoadGlyph(index);
        if (!glyph) continue;
        if (glyph->_image && !glyph->_image->frames.empty()) {
            const TPicture& pic = *glyph->_image->frames[0];
            const int gx = x + static_cast<int>(pen) + glyph->_x, gy = y + glyph->_y;
            for (int py = 0; py < pic.Height(); ++py)
                for (int px = 0; px < pic.Width(); ++px) {
                    const uint32_t p = pic.ReadPixel(px, py);
                    const float a = (pic.HasAlpha() ? Channel(p, 24) : 1.0f) * Channel(tint, 24);
                    Blend(gx + px, gy + py, a, Channel(p, 16) * Channel(tint, 16), Channel(p, 8) * Channel(tint, 8),
                          Channel(p, 0) * Channel(tint, 0));
                }
        }
        pen += glyph->Advance();
    }
    return static_cast<int>(pen);
}

int SheetCanvas::MeasureText(const TImageFont& font, const std::string& text) {
    float pen = 0;
    for (size_t i = 0; i < text.size();) {
        const int index = font.CharToGlyph(static_cast<int>(NextCodePoint(text, i)));
        if (index < 0) continue;
        if (const GlyphPtr glyph = font.LoadGlyph(index)) pen += glyph->Advance();
    }
    return static_cast<int>(pen);
}
