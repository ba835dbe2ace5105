#pragma once
#include <memory>

#include "core/TImpulse.h"

// A one-dimensional mover for the main menu's entrance and exit: it speeds up
// towards its target and, on arrival, may wobble around it before it rests.
// The caller owns the moved value and passes it in on every update.
class TAccelObject {
public:
    float accel = 5.0f;       // pixels per dt unit
    float SpeedAccel = 0.2f;  // added to accel per update while moving
    ImpulsePtr impulse;       // the wobble running after arrival
    int Stopped = 0;
    float Target = 0;
    ImpulsePtr ObjectImpulse;  // the wobble to start on arrival; null for none
    int Death = 0;

    // `dir` is +1 when the target lies at larger values, −1 when smaller.
    virtual void Update(float dt, float& pos, int dir);
    virtual int IsDeath() const { return Death; }
    virtual ~TAccelObject() = default;
};

using AccelPtr = std::shared_ptr<TAccelObject>;
// A mover with its speed-up, target and landing wobble (null: none).
AccelPtr CreateAccel(float speedAccel, float target, const ImpulsePtr& wobble);
// A landing wobble the mover advances itself (it is not left in the shared
// visuals list, which nothing updates while the menu shows).
ImpulsePtr CreateWobble(float scale, float attenuation, float speed);
