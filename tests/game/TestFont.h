#pragma once
// A font whose sizes are known exactly, for tests that place text by its size.
#include <memory>
#include <string>
#include <vector>

#include "media/Graphics.h"
#include "media/TImageFont.h"

// Notes what it was asked to draw and with which alpha and scale.
class RecordingFont : public TImageFont {
public:
    struct Drawn {
        std::string text;
        float alpha, scaleX, scaleY;
    };
    std::vector<Drawn> drawn;
    void Draw(const std::string& text, float x, float y, float ix, float iy, float jx, float jy) override {
        drawn.push_back({text, GetAlpha(), ix, jy});
        TImageFont::Draw(text, x, y, ix, iy, jx, jy);
    }
};

// Digits advance 10 pixels, "+" 8; 20 pixels high; no pictures (draws nothing).
inline std::shared_ptr<RecordingFont> MeasuredFont() {
    auto font = std::make_shared<RecordingFont>();
    font->Height = 20;
    font->glyphs.resize(128);
    for (int c = '0'; c <= '9'; ++c) {
        font->glyphs[size_t(c)] = std::make_shared<TImageGlyph>();
        font->glyphs[size_t(c)]->advance = 10;
    }
    font->glyphs['+'] = std::make_shared<TImageGlyph>();
    font->glyphs['+']->advance = 8;
    return font;
}

// The width MeasuredFont gives `text` (digits and "+" only).
inline int MeasuredWidth(const std::string& text) {
    int w = 0;
    for (char c : text) w += c == '+' ? 8 : 10;
    return w;
}
