#include "core/TVector.h"

#include <cmath>
#include <numbers>

#include "core/MathHelpers.h"

void TVector::Normilize() {
    length = Distance(0, 0, x, y);
    x = x / length;
    y = y / length;
}

float TVector::GetLength() {
    if (lengthCalculated != 0) return length;
    length = Distance(0, 0, x, y);
    return length;
}

float TVector::GetAngle() const {
    return static_cast<float>(std::atan2(static_cast<double>(x), static_cast<double>(y)) * 180.0 /
                              std::numbers::pi);
}

VectorPtr MakeVector(float x, float y) { return std::make_shared<TVector>(x, y); }
