#pragma once
#include <memory>

#include "core/TVisuals.h"

// Offsets the widget manager adds to the drawing origin of clipped widgets;
// a screen shake writes them. 0 when nothing shakes.
extern float ShakeOffsetX;
extern float ShakeOffsetY;

class TScreenShake;
using ScreenShakePtr = std::shared_ptr<TScreenShake>;

// Shakes the whole screen with a damped oscillation of the shake offsets, in a
// random diagonal direction, and dies after half a second or so.
class TScreenShake : public TVisuals {
    TOTEM_CLASS(TScreenShake)

    int Ammount = 5;         // amplitude, pixels
    float impulse_t = 0;     // phase
    int x = 0, y = 0;        // direction signs, ±1
    float attenuation_coef = 0;

    void Init(int amount, float attenuation);
    void Update(float dt) override;
    void Draw() override {}

    // A new shake, already registered in Visuals.
    static ScreenShakePtr CreateScreenShake(int amount, float attenuation);
};
