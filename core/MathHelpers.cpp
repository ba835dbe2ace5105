#include "core/MathHelpers.h"

#include <cmath>
#include <cstdint>

float Distance(float x1, float y1, float x2, float y2) {
    const float dx = x2 - x1, dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

float Approach(float value, float target, float divisor) { return value + (target - value) / divisor; }

float ApproachDt(float value, float target, float divisor, float dt) {
    return value + dt * (target - value) / divisor;
}

int WholeInt(float value) {
    if (std::isnan(value)) return 0;
    // 2^31 is exact in a float; INT32_MAX is not, so compare against 2^31.
    if (value >= 2147483648.0f) return INT32_MAX;
    if (value <= -2147483648.0f) return INT32_MIN;
    return static_cast<int>(value);
}
