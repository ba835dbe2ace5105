#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "fx/TEffect.h"
#include "fx/TEmitter.h"

class TImpulseEffect;
using ImpulseEffectPtr = std::shared_ptr<TImpulseEffect>;

// The reward flourish of a special catch: six emitters of one effect race
// from the player's end of the highway to its far end, one along each line
// boundary, shrinking and fading; lines near the catcher are travelled
// faster. Its emitters live in the highway's back emitter list.
class TImpulseEffect : public TObject {
    TOTEM_CLASS(TImpulseEffect)

    std::array<EmitterPtr, 6> Emitter{};
    int32_t StartTime = 0;
    int32_t Death = 0;
    std::array<float, 6> LineTime{};   // ms from start to end of each line

    // Starts the six emitters and plays the effect's sound.
    static ImpulseEffectPtr Create(const EffectPtr& effect);
    virtual void Update(float dt);
    virtual void Stop(int index);
};
