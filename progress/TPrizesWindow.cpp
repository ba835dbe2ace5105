#include "progress/TPrizesWindow.h"

#include "content/ResourceCatalogue.h"
#include "content/TextTable.h"
#include "game/GameGlobals.h"
#include "gui/TDialogHelper.h"
#include "gui/TWidgetmanager.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "progress/PrizeGallery.h"
#include "progress/ProgressGlobals.h"
#include "progress/TPrizeWidget.h"

namespace {
constexpr float kNotReceivedAlpha = 0.5f;
constexpr float kLabelY = 300;

bool Received(const std::string& prizeClass) {
    return CurrentUser && CurrentUser->GameData && CurrentUser->GameData->HasPrize(prizeClass);
}
}  // namespace

TPrizesWindow::TPrizesWindow() { id = "window_prizes"; }

void TPrizesWindow::AddedToManager() {
    LoadStatics(*this, "");
    hasOk_ = LoadButton(*this, "ok", Button_OK_ID, 1) != nullptr;
    for (const GalleryPlace& place : GalleryLayout()) {
        const PrizePtr prize = CreatePrize(*place.prizeClass);
        const PrizeWidgetPtr w = TPrizeWidget::Create(
            MakeVector(static_cast<float>(place.x), static_cast<float>(place.y)), prize->Image, 0);
        w->Label = prize->Label;
        if (!Received(place.prizeClass->name)) w->Alpha = kNotReceivedAlpha;
        Widgets.push_back(w);
    }
    TDialog::AddedToManager();
}

void TPrizesWindow::OnShow() { PlayGameSound(SOUND_MENU_DIALOGOPEN); }

void TPrizesWindow::Update(float /*dt*/) {
    PrizeLabel.clear();
    for (const WidgetPtr& child : Widgets) {
        auto* prize = dynamic_cast<TPrizeWidget*>(child.get());
        if (!prize || prize->IsOver == 0 || prize->Label <= 0) continue;
        if (prize->Label < static_cast<int>(TextTable.size())) PrizeLabel = TextTable[size_t(prize->Label)];
        break;
    }
    // A layout without its "ok" button would leave no way out.
    if (!hasOk_ && (KeyHitCount(KEY_ESCAPE) != 0 || KeyHitCount(KEY_ENTER) != 0)) Close();
}

void TPrizesWindow::Draw() {
    TDialog::Draw();
    if (PrizeLabel.empty()) return;
    SetFont(FONT_MAIN);
    DrawText(PrizeLabel, static_cast<float>(_width / 2 - TextWidth(PrizeLabel) / 2), kLabelY);
}

void TPrizesWindow::DePress(int buttonId) {
    if (buttonId == Button_OK_ID) Close();
}

void TPrizesWindow::Close() {
    if (const auto self = weak_from_this().lock(); self && WidgetManager) WidgetManager->RemoveWidget(self);
}

std::shared_ptr<TPrizesWindow> OpenPrizesWindow() {
    auto gallery = std::make_shared<TPrizesWindow>();
    LoadWindow(gallery);
    return gallery;
}
