#include "core/TRect.h"

int TRect::Contains(int px, int py) const {
    const float fx = static_cast<float>(px), fy = static_cast<float>(py);
    return (fx >= x && fx < x + width && fy >= y && fy < y + height) ? 1 : 0;
}

int TRect::Intersects(const TRect& o) const {
    if (o.x + o.width <= x) return 0;
    if (o.y + o.height <= y) return 0;
    if (o.x >= x + width) return 0;
    if (o.y >= y + height) return 0;
    return 1;
}
