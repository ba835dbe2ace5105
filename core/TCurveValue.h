#pragma once
#include <memory>

#include "core/TObject.h"

class TCurveValue;
using CurveValuePtr = std::shared_ptr<TCurveValue>;

// Eases a value towards a target, closing 1/curve of the remaining gap per dt
// unit (fades and pulses). Retarget by writing `dist`, jump by writing `value`.
class TCurveValue : public TObject {
    TOTEM_CLASS(TCurveValue)

    float value = 0;
    float dist = 0;     // target
    float curve = 0;    // divisor of the gap per dt unit
    float e = 0.001f;   // how close counts as arrived

    static CurveValuePtr Create(float value, float dist, float curve);
    void Update(float dt);
    int ValueAchieved() const;
};
