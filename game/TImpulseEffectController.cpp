#include "game/TImpulseEffectController.h"

#include <algorithm>

std::vector<ImpulseEffectPtr> ImpulseEffects;

void TImpulseEffectController::CreateImpulse(const EffectPtr& effect) {
    ImpulseEffects.push_back(TImpulseEffect::Create(effect));
}

void TImpulseEffectController::Update(float dt) {
    for (const auto& impulse : ImpulseEffects) impulse->Update(dt);
    std::erase_if(ImpulseEffects, [](const ImpulseEffectPtr& i) { return i->Death != 0; });
}

void TImpulseEffectController::Reset() { ImpulseEffects.clear(); }
