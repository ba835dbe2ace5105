#include "core/TImpulse.h"

#include <cmath>
#include <numbers>

void TImpulse::Init(float scale, float attenuation, float speed) {
    impulse_scale = scale;
    attenuation_coef = attenuation;
    Speed = speed;
    impulse_t = 0;
}

void TImpulse::Update(float dt) {
    // The phase is in half turns: cos of impulse_t × 180 degrees.
    impulse_strength = static_cast<float>(std::cos(impulse_t * std::numbers::pi) *
                                          std::exp(-static_cast<double>(attenuation_coef) * impulse_t) *
                                          impulse_scale);
    impulse_t += Speed * dt;
    if (impulse_t > std::numbers::pi) Death = 1;
}

ImpulsePtr TImpulse::CreateImpulse(float scale, float attenuation, float speed) {
    auto i = std::make_shared<TImpulse>();
    i->Init(scale, attenuation, speed);
    Visuals.push_back(i);
    return i;
}
