#pragma once
// The global drawing state behind the Set/Get operations; media layer only.
#include <cstdint>

#include "media/TImageFont.h"

namespace media_detail {

struct DrawState {
    int r = 255, g = 255, b = 255;
    float alpha = 1.0f;
    int blend = 3;
    float rotation = 0.0f, scaleX = 1.0f, scaleY = 1.0f;
    float cosR = 1, sinR = 0;               // of the rotation, kept while it stays put
    float ix = 1, iy = 0, jx = 0, jy = 1;  // rotation/scale matrix
    float originX = 0, originY = 0;
    int viewX = 0, viewY = 0, viewW = 800, viewH = 600;
    FontPtr font;  // null: the built-in font
    int clsR = 0, clsG = 0, clsB = 0;
    uint32_t packedColour = 0xFFFFFFFFu;  // colour × alpha, premultiplied, as the vertices want it
    bool colourStale = false;             // colour or alpha changed since packedColour was worked out
};

// One drawing state for the whole program, built at compile time so that the
// drawing operations reach it without a first-use check on every call.
extern constinit DrawState theDrawState;
inline DrawState& State() { return theDrawState; }
// Pushes the state the renderer keeps (clip, blend) after a display opens.
void ApplyDrawStateToRenderer();

}  // namespace media_detail
