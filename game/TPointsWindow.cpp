#include "game/TPointsWindow.h"

#include <algorithm>
#include <cmath>

#include "content/ResourceCatalogue.h"
#include "core/TGraphicsState.h"
#include "fx/TEmitter.h"
#include "game/TGame.h"
#include "media/Graphics.h"

namespace {
std::string CounterText(float points) { return std::to_string(static_cast<int>(std::ceil(points))); }
}  // namespace

void TPointsWindow::Update(float dt) {
    const float target = static_cast<float>(Game ? Game->Points : 0);
    if (target - Points > 10) CounterChanged = 1;
    if (target - Points <= 1 && CounterChanged == 1) {
        PushDrawState();
        SetFont(FONT_POINTS);
        const int x = static_cast<int>(_x) + TextWidth(CounterText(Points)) / 2;
        const int y = static_cast<int>(_y) + TextHeight() / 2;
        Emitters.push_back(TEmitter::Create(static_cast<float>(x), static_cast<float>(y), EFFECT_COUNTER, 0));
        PopDrawState();
        CounterChanged = 0;
    }
    // A long frame (a stall gives dt of 30 and more) closes the gap at most
    // completely: a bigger step would overshoot the score and swing.
    Points = Points + std::min(dt / 6.0f, 1.0f) * (target - Points);
    const auto current = Emitters;
    for (const auto& e : current) e->Update(dt);
    std::erase_if(Emitters, [](const EmitterPtr& e) { return e->Death != 0; });
}

void TPointsWindow::Draw() {
    SetFont(FONT_POINTS);
    DrawText(CounterText(Points), 0, 0);
    SetViewport(0, 0, 800, 600);
    SetOrigin(0, 0);
    for (const auto& e : Emitters) e->Draw();
}
