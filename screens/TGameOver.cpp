#include "screens/TGameOver.h"

#include "content/ResourceCatalogue.h"
#include "game/GameGlobals.h"
#include "game/TGame.h"
#include "gui/TDialogHelper.h"
#include "gui/TWidgetmanager.h"
#include "media/Input.h"
#include "screens/TStoryMenu.h"

TGameOver::TGameOver() { id = "window_gameover"; }

void TGameOver::AddedToManager() {
    LoadStatics(*this, "");
    hasOk_ = LoadButton(*this, "ok", Button_OK_ID, 1) != nullptr;
}

void TGameOver::OnShow() { PlayGameSound(SOUND_MENU_DIALOGOPEN); }

void TGameOver::Update(float /*dt*/) {
    // A layout without "ok" would leave the player stuck on the last level.
    if (!hasOk_ && (KeyHitCount(KEY_ESCAPE) != 0 || KeyHitCount(KEY_ENTER) != 0)) DePress(Button_OK_ID);
}

void TGameOver::DePress(int buttonId) {
    if (const auto self = weak_from_this().lock(); self && WidgetManager) WidgetManager->RemoveWidget(self);
    if (buttonId != Button_OK_ID) return;
    if (Game) Game->StopGame(0);
    if (StoryMenu) StoryMenu->SetHided(0);
}

std::shared_ptr<TGameOver> OpenGameOver() {
    auto dialog = std::make_shared<TGameOver>();
    LoadWindow(dialog);
    return dialog;
}
