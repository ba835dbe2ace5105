#include "game/TLineLight.h"

#include <algorithm>

#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "media/Graphics.h"

namespace {

// Light centres by line, along the catcher's row.
constexpr float kLightX[5] = {178, 267, 363, 445, 522};
constexpr float kLightY = 514;

// The share of the gap to close in a step of dt. Capped at the whole gap, so
// a long stalled frame lands on the target instead of overshooting past it.
float EaseStep(float dt) { return std::clamp(dt / 30.0f, 0.0f, 1.0f); }

}  // namespace

LineLightPtr TLineLight::Create(int line) {
    auto light = std::make_shared<TLineLight>();
    if (line < 0 || line > 4) return light;
    const ImagePtr lights[5] = {IMAGE_GRYPH_LINE_LIGHT_1, IMAGE_GRYPH_LINE_LIGHT_2,
                                IMAGE_GRYPH_LINE_LIGHT_3, IMAGE_GRYPH_LINE_LIGHT_4,
                                IMAGE_GRYPH_LINE_LIGHT_5};
    const ImagePtr bad[5] = {IMAGE_GRYPH_LINE_BAD_1, IMAGE_GRYPH_LINE_BAD_2, IMAGE_GRYPH_LINE_BAD_3,
                             IMAGE_GRYPH_LINE_BAD_4, IMAGE_GRYPH_LINE_BAD_5};
    light->Image = lights[line];
    light->ImageBad = bad[line];
    light->pos = MakeVector(kLightX[line], kLightY);
    return light;
}

void TLineLight::Draw() {
    if (!pos) return;
    SetBlend(ALPHABLEND);
    SetAlpha(BadAlpha);
    if (ImageBad) DrawImage(ImageBad, pos->x, pos->y);
    // A strong red flash hides the normal glow.
    SetAlpha((1 - BadAlpha) * alpha);
    if (Image) DrawImage(Image, pos->x, pos->y);
    SetAlpha(1);
}

void TLineLight::Update(float dt) {
    alpha += EaseStep(dt) * (alphaDef - alpha);
    if (GameClock - static_cast<float>(BadStart) > kBadHoldMs) BadAlpha += EaseStep(dt) * (0 - BadAlpha);
}

void TLineLight::Impulse(float a) { alpha = a; }

void TLineLight::ImpulseBad() {
    BadAlpha = 1;
    BadStart = static_cast<int32_t>(GameClock);
}
