#pragma once
#include <memory>

#include "core/TObject.h"

class TLinearValue;
using LinearValuePtr = std::shared_ptr<TLinearValue>;

// Moves a value from a start to a target in a fixed number of GameClock
// milliseconds, counted from its first Update (results count up with it).
class TLinearValue : public TObject {
    TOTEM_CLASS(TLinearValue)

    float StartValue = 0;
    float value = 0;
    float dist = 0;   // target
    float time = 0;   // duration, ms
    int StartTime = 0;  // GameClock at the first Update; 0 = not started

    static LinearValuePtr Create(float start, float target, float time);
    void Update();
    // 1 once the duration has passed (snapping the value to the target).
    int ValueAchieved();
};
