#include "progress/TPrizeWidget.h"

#include <algorithm>

#include "core/GameClock.h"
#include "gui/TWidgetmanager.h"
#include "media/Graphics.h"

std::vector<PrizeWidgetPtr> PrizeWidgets;

namespace {
constexpr int kFirstPopUpTop = 100;
constexpr int kPopUpStep = 74;
}  // namespace

int TPrizeWidget::GetActivePrizesHeight() {
    int top = kFirstPopUpTop;
    auto taken = [&top](const PrizeWidgetPtr& w) { return static_cast<int>(w->_y) == top; };
    while (std::any_of(PrizeWidgets.begin(), PrizeWidgets.end(), taken)) top += kPopUpStep;
    return top;
}

PrizeWidgetPtr TPrizeWidget::Create(const VectorPtr& pos, const ImagePtr& image, int hideAfterTime) {
    auto w = std::make_shared<TPrizeWidget>();
    const int width = image ? image->width : 0;
    const int height = image ? image->height : 0;
    w->Resize(static_cast<int>(pos->x - static_cast<float>(width / 2)), static_cast<int>(pos->y), width, height);
    w->x = static_cast<int>(pos->x);
    w->y = static_cast<int>(pos->y);
    w->StartTime = static_cast<int32_t>(GameClock);
    w->HideAfterTime = hideAfterTime;
    w->Image = image;
    PrizeWidgets.push_back(w);
    if (WidgetManager) WidgetManager->AddWidget(w);
    return w;
}

void TPrizeWidget::RemoveAll() {
    const auto listed = PrizeWidgets;
    for (const PrizeWidgetPtr& w : listed) w->remove();
}

void TPrizeWidget::remove() {
    auto listed = std::find_if(PrizeWidgets.begin(), PrizeWidgets.end(),
                               [this](const PrizeWidgetPtr& w) { return w.get() == this; });
    if (listed == PrizeWidgets.end()) return;
    // The list may hold the last reference: keep this alive until the end.
    const PrizeWidgetPtr self = *listed;
    PrizeWidgets.erase(listed);
    if (WidgetManager) WidgetManager->RemoveWidget(self);
}

void TPrizeWidget::Update(float /*dt*/) {
    if (HideAfterTime <= 0) return;
    Alpha = std::min((static_cast<float>(StartTime + HideAfterTime) - GameClock) / 1000.0f, 1.0f);
    if (GameClock - static_cast<float>(StartTime) > static_cast<float>(HideAfterTime)) remove();
}

void TPrizeWidget::Draw() {
    if (!Image) return;
    SetAlpha(Alpha);
    DrawImage(Image, 0, 0, 0);
}
