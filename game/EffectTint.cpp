#include "game/EffectTint.h"

#include "core/TColor.h"

void TintEffect(const EmitterPtr& emitter, int r, int g, int b) {
    if (!emitter || !emitter->Config) return;
    TEffect& effect = *emitter->Config;
    auto color = TColor::Create(r, g, b);
    color->StartColor(r, g, b, effect.alpha[0]);
    color->EndColor(r, g, b, effect.alpha[1]);
    color->UseAlpha = 1;
    effect.Color = color;
}
