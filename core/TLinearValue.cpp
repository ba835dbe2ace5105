#include "core/TLinearValue.h"

#include "core/GameClock.h"

LinearValuePtr TLinearValue::Create(float start, float target, float time) {
    auto v = std::make_shared<TLinearValue>();
    v->StartValue = start;
    v->value = start;
    v->dist = target;
    v->time = time;
    return v;
}

void TLinearValue::Update() {
    if (StartTime == 0) StartTime = static_cast<int>(GameClock);
    const float elapsed = GameClock - static_cast<float>(StartTime);
    if (elapsed > time) value = dist;
    else value = StartValue + (dist - StartValue) * elapsed / time;
}

int TLinearValue::ValueAchieved() {
    if (GameClock - static_cast<float>(StartTime) > time) {
        value = dist;
        return 1;
    }
    return 0;
}
