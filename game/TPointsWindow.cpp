#include "game/TPointsWindow.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/ResourceCatalogue.h"
#include "core/TGraphicsState.h"
#include "fx/TEmitter.h"
#include "game/TGame.h"
#include "media/Graphics.h"

namespace {
// A change bigger than this is celebrated with a burst once counted up.
constexpr float kBurstChange = 10;
// The counter closes 1/kChase of the gap per 17 ms.
constexpr float kChase = 6;

std::string CounterText(float points) { return std::to_string(static_cast<int>(std::ceil(points))); }
}  // namespace

void TPointsWindow::Update(float dt) {
    const float target = Game ? static_cast<float>(Game->Points) : Points;
    if (target - Points > kBurstChange) CounterChanged = 1;
    if (target - Points <= 1 && CounterChanged == 1) {
        PushDrawState();
        SetFont(FONT_POINTS);
        const std::string text = CounterText(Points);
        const float x = _x + static_cast<float>(TextWidth(text) / 2);
        const float y = _y + static_cast<float>(TextHeight() / 2);
        Emitters.push_back(TEmitter::Create(x, y, EFFECT_COUNTER, 0));
        PopDrawState();
        CounterChanged = 0;
    }
    // A long frame (a stall gives dt of 30 and more) closes the gap at most
    // completely: a bigger step would overshoot the score and swing.
    Points += std::min(dt / kChase, 1.0f) * (target - Points);
    for (const auto& emitter : Emitters) emitter->Update(dt);
    std::erase_if(Emitters, [](const std::shared_ptr<TEmitter>& e) { return e->Death != 0; });
}

void TPointsWindow::Draw() {
    SetFont(FONT_POINTS);
    DrawText(CounterText(Points), 0, 0);
    // The bursts are placed in screen coordinates.
    SetViewport(0, 0, 800, 600);
    SetOrigin(0, 0);
    for (const auto& emitter : Emitters) emitter->Draw();
}
