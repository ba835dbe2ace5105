#pragma once
#include <memory>

#include "core/TVisuals.h"

class TImpulse;
using ImpulsePtr = std::shared_ptr<TImpulse>;

// A damped oscillation whose current value its owner reads as an offset in
// pixels (landing wobbles). Dies once its phase passes π.
class TImpulse : public TVisuals {
    TOTEM_CLASS(TImpulse)

    float impulse_strength = 0;  // the current output
    float attenuation_coef = 0;
    float impulse_t = 0;         // phase
    float impulse_scale = 0;     // amplitude
    float Speed = 0;             // phase advance per dt unit

    void Init(float scale, float attenuation, float speed);
    void Update(float dt) override;
    void Draw() override {}

    // A new impulse, already registered in Visuals.
    static ImpulsePtr CreateImpulse(float scale, float attenuation, float speed);
};
