#include "fx/TImpulseEffect.h"

#include <cmath>

#include "app/Globals.h"
#include "app/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "game/GameGlobals.h"
#include "game/TBat.h"
#include "game/TGryph.h"

namespace {
// Without a catcher the fan opens from the middle line, symmetric.
constexpr int kLineWithoutBat = 2;

SoundPtr SoundOf(const EffectPtr& effect) {
    // A null effect must not match a resource that failed to load.
    if (!effect) return nullptr;
    if (effect == EFFECT_IMPULSE_LONGNOTE) return SOUND_GRYPH_LONG;
    if (effect == EFFECT_IMPULSE_MELODY) return SOUND_GRYPH_MELODY;
    if (effect == EFFECT_IMPULSE_STAR) return SOUND_GRYPH_CLICK;
    return nullptr;
}
}  // namespace

ImpulseEffectPtr TImpulseEffect::Create(const EffectPtr& effect) {
    auto impulse = std::make_shared<TImpulseEffect>();
    impulse->StartTime = static_cast<int32_t>(GameClock);
    const float centre = static_cast<float>(Bat ? Bat->LineNum : kLineWithoutBat) + 0.5f;
    for (int i = 0; i < 6; ++i) {
        float x = 0, y = 0;
        if (ImpulseLines[i]) ImpulseLines[i]->GetPoint(0, x, y);
        impulse->Emitter[i] = TEmitter::Create(x, y, effect, 0);
        // With no highway the emitters are driven here but drawn nowhere.
        if (CurrentGryph) CurrentGryph->EmittersBack.push_back(impulse->Emitter[i]);
        impulse->LineTime[i] = 350.0f + std::fabs(static_cast<float>(i) - centre) * 50.0f;
    }
    if (const SoundPtr sound = SoundOf(effect)) PlayGameSound(sound);
    return impulse;
}

void TImpulseEffect::Update(float /*dt*/) {
    for (int i = 0; i < 6; ++i) {
        if (!Emitter[i] || Emitter[i]->Death != 0) continue;
        TEmitter& emitter = *Emitter[i];
        const float f = (GameClock - static_cast<float>(StartTime)) / LineTime[i];
        if (f > 1) {
            Stop(i);
            continue;
        }
        if (ImpulseLines[i]) ImpulseLines[i]->GetPoint(f, emitter.x, emitter.y);
        emitter.ScaleMult = 1.5f - 0.5f * f;
        emitter.AlphaMult = 1 - f;
    }
}

void TImpulseEffect::Stop(int index) {
    if (index < 0 || index >= 6 || !Emitter[index]) return;
    Emitter[index]->Death = 1;
    for (const auto& e : Emitter)
        if (e && e->Death == 0) return;
    Death = 1;
}
