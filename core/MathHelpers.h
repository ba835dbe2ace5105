#pragma once

// Small numeric helpers shared by animations everywhere.

// Angles are kept in degrees; the maths library wants radians.
constexpr float kDegToRad = 3.14159265358979323846f / 180.0f;

float Distance(float x1, float y1, float x2, float y2);
// One step of easing `value` towards `target`, closing 1/divisor of the gap.
float Approach(float value, float target, float divisor);
// The same step scaled by the frame delta (dt in 17 ms units).
float ApproachDt(float value, float target, float divisor, float dt);
// The whole part of a number read from a content file, as an int: NaN reads
// 0 and anything beyond an int's range stops at its ends, where a plain cast
// would be undefined.
int WholeInt(float value);
