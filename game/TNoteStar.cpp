#include "game/TNoteStar.h"

#include "core/SharedVisuals.h"
#include "content/ResourceCatalogue.h"
#include "fx/TEmitter.h"
#include "game/EffectTint.h"
#include "game/ItemOwner.h"
#include "game/TNote.h"
#include "media/Graphics.h"

NoteStarPtr TNoteStar::Create(float x, float z, TNote* note) {
    auto star = std::make_shared<TNoteStar>();
    star->fX = x;
    star->fZ = z;
    star->Note = note;
    star->NeedDraw = 0;
    return star;
}

void TNoteStar::Update() {
    NeedDraw = 0;
    const float z = Note->time - fZ;
    if (z > Note->NoteLineZ1 || z > 90 || z < 10) return;
    const float x = Note->LineX(Note->LineNum) + fX;
    const float depth = z + 17;
    StarPos = Note->to2d(x, -Note->LineY(z), depth);
    scale_ = (Note->to2d(x + 1, -Note->LineY(z), depth)->x - StarPos->x) * 0.2f;
    NeedDraw = 1;
}

void TNoteStar::Draw() {
    if (NeedDraw == 0) return;
    SetScale(scale_, scale_);
    DrawImage(IMAGE_GRYPH_STAR, StarPos->x, StarPos->y);
    SetScale(1, 1);
}

int TNoteStar::Picked() {
    if (NeedDraw == 0 || !Note->IsHeld() || Note->time - fZ <= 80) return 0;
    if (Note->owner) {
        EmitterPtr e = TEmitter::Create(StarPos->x, StarPos->y, EFFECT_STARSLONG, 0);
        if (ColorWhite) TintEffect(e, ColorWhite->r, ColorWhite->g, ColorWhite->b);
        Note->owner->Emitters.push_back(e);
    }
    Note->Points += 20;
    return 1;
}
