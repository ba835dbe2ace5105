#include "game/TFloatPoints.h"

#include <algorithm>

#include "core/SharedVisuals.h"
#include "gui/TWidgetmanager.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "core/TGraphicsState.h"
#include "game/TGame.h"
#include "media/Graphics.h"

std::vector<FloatPointsPtr> FloatPointsList;

namespace {
// The shared handle of a text, held by the list until RemoveAll.
FloatPointsPtr Listed(const TFloatPoints* fp) {
    for (const auto& p : FloatPointsList)
        if (p.get() == fp) return p;
    return nullptr;
}
}  // namespace

TFloatPoints::TFloatPoints() {
    color = TColor::Create(255, 255, 255);
    color->StartColor(255, 255, 255, 1);
    color->EndColor(255, 255, 255, 0);
    color->UseAlpha = 1;
    StartTime = static_cast<int32_t>(GameClock);
}

FloatPointsPtr TFloatPoints::Create(int points, const VectorPtr& pos, int preset) {
    auto fp = std::make_shared<TFloatPoints>();
    fp->text = "+" + std::to_string(points);
    fp->pos = pos ? pos : MakeVector(0, 0);
    fp->preset = preset;
    if (preset == 1) {
        fp->LifeTime = 500;
        fp->scale = 0.67f;
    }
    PushDrawState();
    SetFont(FONT_POINTS);
    SetScale(fp->scale, fp->scale);
    fp->width = static_cast<float>(TextWidth(fp->text));
    fp->height = static_cast<float>(TextHeight());
    PopDrawState();
    fp->pos->x -= fp->width / 2;
    fp->pos->y -= fp->height / 2;
    fp->Resize(static_cast<int>(fp->pos->x), static_cast<int>(fp->pos->y), static_cast<int>(fp->width),
               static_cast<int>(fp->height));
    WidgetManager->AddWidget(fp);
    if (Game) Game->Points += points;
    SlowScalePulse->value = 1.5f;
    FloatPointsList.push_back(fp);
    return fp;
}

void TFloatPoints::Update(float dt) {
    pos->y -= dt;
    Resize(static_cast<int>(pos->x), static_cast<int>(pos->y), static_cast<int>(width), static_cast<int>(height));
    if (GameClock - static_cast<float>(StartTime) > static_cast<float>(LifeTime))
        if (FloatPointsPtr self = Listed(this)) WidgetManager->RemoveWidget(self);
}

void TFloatPoints::Draw() {
    SetFont(FONT_POINTS);
    SetScale(scale, scale);
    color->SetCalcColor(static_cast<int>(GameClock - static_cast<float>(StartTime)), LifeTime);
    DrawText(text, 0, 0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
}

void TFloatPoints::remove() {
    const FloatPointsPtr self = Listed(this);
    if (!self) return;
    WidgetManager->RemoveWidget(self);
    std::erase(FloatPointsList, self);
}

void TFloatPoints::RemoveAll() {
    const auto all = FloatPointsList;
    for (const auto& fp : all) fp->remove();
    FloatPointsList.clear();
}
