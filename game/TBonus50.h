#pragma once
#include <memory>

#include "fx/TEmitter.h"
#include "game/TItem.h"

class TBonus50;
using Bonus50Ptr = std::shared_ptr<TBonus50>;

// A bonus item worth 50 on a random line, with one of seven pictures. It runs
// at its own fixed speed whatever the level's, trailing a sparkle once visible.
class TBonus50 : public TItem {
    TOTEM_CLASS(TBonus50)

    static constexpr float gSpeedCoef = 1.5f;

    EmitterPtr Emitter;  // the trailing sparkle

    TBonus50();
    ~TBonus50() override;

    static Bonus50Ptr Create();
    virtual void InitEmitter();
    void Update(float dt) override;
    int PickUp() override;
};
