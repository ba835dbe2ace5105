#include "game/TBonus50.h"

#include <string>

#include "content/ResourceCatalogue.h"
#include "game/GameGlobals.h"
#include "game/HighwayGeometry.h"
#include "media/Clock.h"

TBonus50::TBonus50() {
    Points = 50;
    SpeedCoef = gSpeedCoef;
}

TBonus50::~TBonus50() {
    // Dropped with the highway's items: the sparkle ends with it.
    if (Emitter) Emitter->Death = 1;
}

Bonus50Ptr TBonus50::Create() {
    auto bonus = std::make_shared<TBonus50>();
    const int k = RandomInt(1, 7);
    bonus->LineNum = RandomInt(0, 4);
    bonus->AnimImage = TAnimImage::Load2("IMAGE_ITEM_BONUS50_" + std::to_string(k), -1);
    return bonus;
}

void TBonus50::InitEmitter() {
    const float x = pos ? pos->x : 0, y = pos ? pos->y : 0;
    Emitter = TEmitter::Create(x, y, EFFECT_BONUS50, 0);
    AddOwnerEmitter(Emitter);
}

void TBonus50::Update(float dt) {
    if (Emitter && pos) {
        Emitter->x = Emitter->oldX = pos->x;
        Emitter->y = Emitter->oldY = pos->y;
    }
    TItem::Update(dt);
    if (!Emitter && time > HighwayGeometry::kVisibleProgress) InitEmitter();
}

int TBonus50::PickUp() {
    if (TItem::PickUp() == 0) return 0;
    PlayGameSound(SOUND_BONUSEAT);
    if (Emitter) Emitter->Death = 1;
    const float x = pos ? pos->x : 0, y = pos ? pos->y : 0;
    AddOwnerEmitter(TEmitter::Create(x, y, EFFECT_BONUS50_PICK, 0));
    return 1;
}
