#include "core/TScreenShake.h"

#include <cmath>
#include <numbers>

#include "media/Clock.h"

float ShakeOffsetX = 0;
float ShakeOffsetY = 0;

void TScreenShake::Init(int amount, float attenuation) {
    Ammount = amount;
    attenuation_coef = attenuation;
    x = RandomInt(0, 1) == 1 ? -1 : 1;
    y = RandomInt(0, 1) == 1 ? -1 : 1;
}

void TScreenShake::Update(float dt) {
    const double decay = std::exp(-static_cast<double>(attenuation_coef) * impulse_t);
    // The phase is in half turns: cos of impulse_t × 180 degrees.
    const double offset = std::cos(impulse_t * std::numbers::pi) * decay * Ammount;
    impulse_t += 0.15f * dt;
    ShakeOffsetX = static_cast<float>(static_cast<int>(x * offset));
    ShakeOffsetY = static_cast<float>(static_cast<int>(y * offset));
    if (impulse_t > std::numbers::pi) {
        Death = 1;
        ShakeOffsetX = 0;
        ShakeOffsetY = 0;
    }
}

ScreenShakePtr TScreenShake::CreateScreenShake(int amount, float attenuation) {
    auto s = std::make_shared<TScreenShake>();
    s->Init(amount, attenuation);
    Visuals.push_back(s);
    return s;
}
