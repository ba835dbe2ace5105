#include "screens/THelp.h"

#include <algorithm>

#include "content/ResourceCatalogue.h"
#include "game/GameGlobals.h"
#include "gui/TDialogHelper.h"
#include "gui/TWidgetmanager.h"
#include "media/Graphics.h"
#include "media/Input.h"

namespace {
const ImagePtr* const kPages[THelp::PAGE_COUNT] = {&IMAGE_HELP_01, &IMAGE_HELP_02, &IMAGE_HELP_03,
                                                   &IMAGE_HELP_04, &IMAGE_HELP_05, &IMAGE_HELP_06};
}  // namespace

THelp::THelp() { id = "window_help"; }

void THelp::AddedToManager() {
    LoadStatics(*this, "");
    hasOk_ = LoadButton(*this, "ok", Button_OK_ID, 1) != nullptr;
    BUTTON_LEFT = LoadButton(*this, "left", Button_LEFT_ID, 1);
    if (BUTTON_LEFT) BUTTON_LEFT->SetHided(1);
    BUTTON_RIGHT = LoadButton(*this, "right", Button_RIGHT_ID, 1);
}

void THelp::OnShow() { PlayGameSound(SOUND_MENU_DIALOGOPEN); }

void THelp::Update(float /*dt*/) {
    // A layout without "ok" would leave no way out.
    if (!hasOk_ && (KeyHitCount(KEY_ESCAPE) != 0 || KeyHitCount(KEY_ENTER) != 0)) Close();
}

void THelp::DePress(int buttonId) {
    switch (buttonId) {
        case Button_OK_ID:
            Close();
            break;
        case Button_LEFT_ID:
            CurrentScreen = std::max(CurrentScreen - 1, 1);
            if (BUTTON_LEFT && CurrentScreen < 2) BUTTON_LEFT->SetHided(1);
            if (BUTTON_RIGHT) BUTTON_RIGHT->SetHided(0);
            break;
        case Button_RIGHT_ID:
            CurrentScreen = std::min(CurrentScreen + 1, int32_t{PAGE_COUNT});
            if (BUTTON_LEFT) BUTTON_LEFT->SetHided(0);
            if (BUTTON_RIGHT && CurrentScreen > PAGE_COUNT - 1) BUTTON_RIGHT->SetHided(1);
            break;
        default:
            break;
    }
}

void THelp::Draw() {
    TDialog::Draw();
    // Every page is placed by the first one's width, so pages of another
    // width keep their left edge.
    const int firstWidth = IMAGE_HELP_01 ? IMAGE_HELP_01->width : 0;
    DrawImage(*kPages[CurrentScreen - 1], static_cast<float>((_width - firstWidth) / 2), PAGE_Y, 0);
}

void THelp::Close() {
    if (const auto self = weak_from_this().lock(); self && WidgetManager) WidgetManager->RemoveWidget(self);
}

std::shared_ptr<THelp> OpenHelp() {
    auto help = std::make_shared<THelp>();
    LoadWindow(help);
    return help;
}
