#pragma once
#include <vector>

#include "game/TImpulseEffect.h"

// Runs the live impulse effects; the highway updates it once per frame.
class TImpulseEffectController {
public:
    static void CreateImpulse(const EffectPtr& effect);
    static void Update(float dt);
    static void Reset();
};

// The live impulses, oldest first.
extern std::vector<ImpulseEffectPtr> ImpulseEffects;
