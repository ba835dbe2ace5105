#pragma once
#include <cstdint>
#include <string>
#include <vector>

// How a baked font looks: a vertical two-colour fill, an optional outline and
// drop shadow, and the extra advance the game adds after every glyph. Colours
// are 0xAARRGGBB.
struct FontStyle {
    uint32_t fillTop = 0xFFFFFFFFu;
    uint32_t fillBottom = 0xFFFFFFFFu;
    uint32_t outlineColor = 0xFF000000u;
    int outlineWidth = 0;  // pixels; 0 = no outline
    uint32_t shadowColor = 0xFF000000u;
    int shadowDx = 0, shadowDy = 0;
    bool shadow = false;
    int kerning = 0;
};

// Reads the style options that follow a font's file and size, e.g.
// "--fill ffe9a0:f3b200 --outline 3a2210:2 --shadow 00000080:1:2 --kerning -1".
// Colours are RRGGBB or RRGGBBAA. False with a one-line reason on bad input.
bool ParseFontStyle(const std::vector<std::string>& args, FontStyle& style, std::string& problem);

// A colour written as RRGGBB or RRGGBBAA.
bool ParseColor(const std::string& text, uint32_t& argb);

// A whole decimal number with an optional sign and nothing after it.
bool ParseInt(const std::string& text, int& value);
