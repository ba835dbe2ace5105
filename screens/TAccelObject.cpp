#include "screens/TAccelObject.h"

void TAccelObject::Update(float dt, float& pos, int dir) {
    float next = pos;
    if (Stopped == 0) {
        // The speed-up is per call, not per dt: the menu's timing was tuned
        // frame by frame.
        accel += SpeedAccel;
        next = pos + dt * accel * static_cast<float>(dir);
    } else if (!impulse) {
        next = Target;
        Death = 1;
    } else {
        impulse->Update(dt);
        next = Target + impulse->impulse_strength;
        if (impulse->Death != 0) {
            impulse = nullptr;
            next = Target;
        }
    }
    if (Stopped == 0 && ((dir == 1 && next >= Target) || (dir == -1 && next <= Target))) {
        next = Target;
        Stopped = 1;
        impulse = ObjectImpulse;
    }
    pos = next;
}

AccelPtr CreateAccel(float speedAccel, float target, const ImpulsePtr& wobble) {
    auto mover = std::make_shared<TAccelObject>();
    mover->SpeedAccel = speedAccel;
    mover->Target = target;
    mover->ObjectImpulse = wobble;
    return mover;
}

ImpulsePtr CreateWobble(float scale, float attenuation, float speed) {
    auto wobble = std::make_shared<TImpulse>();
    wobble->Init(scale, attenuation, speed);
    return wobble;
}
