#include "game/TFret.h"

#include "core/SharedVisuals.h"
#include "content/ResourceCatalogue.h"
#include "fx/TEmitter.h"
#include "game/EffectTint.h"
#include "game/GameGlobals.h"
#include "game/HighwayGeometry.h"

FretPtr TFret::Create() {
    auto fret = std::make_shared<TFret>();
    fret->Image = IMAGE_ITEM_FRET;
    fret->LineNum = 2;
    return fret;
}

int TFret::PickUp() {
    if (TItem::PickUp() == 0) return 0;
    if (CurrentLevelStat) CurrentLevelStat->NotesCount += 1;
    for (int i = 0; i < HighwayGeometry::kLines; ++i) {
        const VectorPtr p = to2d(LineX(i), -LineY(time), time + HighwayGeometry::kDepthOffset);
        EmitterPtr e = TEmitter::Create(p->x, p->y, EFFECT_LINE, 0);
        if (ColorGold) TintEffect(e, ColorGold->r, ColorGold->g, ColorGold->b);
        AddOwnerEmitter(e);
    }
    return 1;
}

void TFret::CountPoints() {
    if (CurrentLevelStat) CurrentLevelStat->Frets += Points;
}
