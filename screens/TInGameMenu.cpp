#include "screens/TInGameMenu.h"

#include "content/ResourceCatalogue.h"
#include "game/GameGlobals.h"
#include "game/TGame.h"
#include "gui/TDialogHelper.h"
#include "gui/TMessageBox.h"
#include "gui/TWidgetmanager.h"
#include "media/Input.h"
#include "screens/QuitGame.h"
#include "screens/ScreenText.h"
#include "screens/THelp.h"

namespace {
constexpr int TEXT_QUIT_QUESTION = 62, TEXT_YES = 60, TEXT_NO = 61;
}  // namespace

TInGameMenu::TInGameMenu() { id = "window_ingamemenu"; }

void TInGameMenu::AddedToManager() {
    LoadStatics(*this, "");
    BUTTON_RESUME = LoadButton(*this, "resume", Button_RESUME_ID, 1);
    BUTTON_EXIT_TO_MENU = LoadButton(*this, "exit_to_menu", Button_EXIT_TO_MENU_ID, 1);
    LoadButton(*this, "quitgame", Button_QUIT_GAME_ID, 1);
    LoadButton(*this, "help", Button_HELP_ID, 1);
    TDialog::AddedToManager();
}

void TInGameMenu::RemovedFromManager() {
    TDialog::RemovedFromManager();
    // The key that chose here must not reach the level as well.
    ClearKeys();
}

void TInGameMenu::OnShow() { PlayGameSound(SOUND_MENU_DIALOGOPEN); }

void TInGameMenu::Update(float /*dt*/) {
    // A layout without "resume" would hold the level paused for ever.
    if (!BUTTON_RESUME && (KeyHitCount(KEY_ESCAPE) != 0 || KeyHitCount(KEY_ENTER) != 0)) DePress(Button_RESUME_ID);
}

void TInGameMenu::DePress(int buttonId) {
    switch (buttonId) {
        case Button_RESUME_ID:
            if (Game) Game->ResumeGame();
            Close();
            break;
        case Button_EXIT_TO_MENU_ID:
            if (Game) Game->ExitToMainMenu();
            Close();
            break;
        case Button_HELP_ID:
            OpenHelp();
            break;
        case Button_QUIT_GAME_ID:
            if (const MessageBoxPtr box = OpenMessageBox(weak_from_this().lock(), ScreenText(TEXT_QUIT_QUESTION), 2,
                                                         ScreenText(TEXT_YES), ScreenText(TEXT_NO)))
                LoadStatics(*box, "window_exit");
            break;
        case Button_CONFIRM_QUIT_ID:
            QuitGame();
            break;
        default:
            break;
    }
}

void TInGameMenu::Close() {
    if (const auto self = weak_from_this().lock(); self && WidgetManager) WidgetManager->RemoveWidget(self);
}

std::shared_ptr<TInGameMenu> OpenInGameMenu() {
    if (Game) Game->PauseGame();
    auto menu = std::make_shared<TInGameMenu>();
    LoadWindow(menu);
    return menu;
}
