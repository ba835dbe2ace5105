#include "core/MathHelpers.h"

#include <cmath>

float Distance(float x1, float y1, float x2, float y2) {
    const float dx = x2 - x1, dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

float Approach(float value, float target, float divisor) { return value + (target - value) / divisor; }

float ApproachDt(float value, float target, float divisor, float dt) {
    return value + dt * (target - value) / divisor;
}
