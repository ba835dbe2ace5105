#include "game/TImpulseEffect.h"

#include <cmath>

#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "game/GameGlobals.h"
#include "game/TBat.h"
#include "game/TGryph.h"

ImpulseEffectPtr TImpulseEffect::Create(const EffectPtr& effect) {
    auto impulse = std::make_shared<TImpulseEffect>();
    impulse->StartTime = static_cast<int32_t>(GameClock);
    const float centre = static_cast<float>(Bat ? Bat->LineNum : 0) + 0.5f;
    for (int i = 0; i < 6; ++i) {
        float x = 0, y = 0;
        if (ImpulseLines[i]) ImpulseLines[i]->GetPoint(0, x, y);
        impulse->Emitter[i] = TEmitter::Create(x, y, effect, 0);
        if (CurrentGryph) CurrentGryph->EmittersBack.push_back(impulse->Emitter[i]);
        impulse->LineTime[i] = 350.0f + std::fabs(static_cast<float>(i) - centre) * 50.0f;
    }
    if (effect && effect == EFFECT_IMPULSE_LONGNOTE) PlayGameSound(SOUND_GRYPH_LONG);
    else if (effect && effect == EFFECT_IMPULSE_MELODY) PlayGameSound(SOUND_GRYPH_MELODY);
    else if (effect && effect == EFFECT_IMPULSE_STAR) PlayGameSound(SOUND_GRYPH_CLICK);
    return impulse;
}

void TImpulseEffect::Update(float /*dt*/) {
    for (int i = 0; i < 6; ++i) {
        const EmitterPtr& e = Emitter[i];
        if (!e || e->Death != 0) continue;
        const float f = (GameClock - static_cast<float>(StartTime)) / LineTime[i];
        if (f > 1) {
            Stop(i);
            continue;
        }
        if (ImpulseLines[i]) ImpulseLines[i]->GetPoint(f, e->x, e->y);
        e->ScaleMult = 1.5f - 0.5f * f;
        e->AlphaMult = 1.0f - f;
    }
}

void TImpulseEffect::Stop(int index) {
    if (index < 0 || index >= 6) return;
    if (Emitter[index]) Emitter[index]->Death = 1;
    for (const auto& e : Emitter)
        if (e && e->Death == 0) return;
    Death = 1;
}
