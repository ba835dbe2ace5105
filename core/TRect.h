#pragma once
#include <memory>

#include "core/TObject.h"

class TRect;
using RectPtr = std::shared_ptr<TRect>;

// An axis-aligned rectangle, also used as a plain record of four numbers
// (a dialog's content insets, for one).
class TRect : public TObject {
    TOTEM_CLASS(TRect)

    float x = 0, y = 0, width = 0, height = 0;

    TRect() = default;
    TRect(float x, float y, float width, float height) : x(x), y(y), width(width), height(height) {}

    // Half-open: the left and top edges are inside, the right and bottom not.
    int Contains(int px, int py) const;
    // Rectangles that only share an edge do not intersect.
    int Intersects(const TRect& other) const;
};
