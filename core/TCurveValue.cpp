#include "core/TCurveValue.h"

#include <cmath>

#include "core/MathHelpers.h"

CurveValuePtr TCurveValue::Create(float value, float dist, float curve) {
    auto v = std::make_shared<TCurveValue>();
    v->value = value;
    v->dist = dist;
    v->curve = curve;
    return v;
}

void TCurveValue::Update(float dt) { value = ApproachDt(value, dist, curve, dt); }

int TCurveValue::ValueAchieved() const { return std::fabs(dist - value) < e ? 1 : 0; }
