#pragma once
#include <memory>

#include "gui/TButtonWidget.h"
#include "gui/TDialog.h"

// The pause menu of a level ("window_ingamemenu"): resume, back to the main
// menu, help, and quit the game after a question. It exists only while the
// level is paused; it closes through its buttons (or, when its layout has no
// "resume", Escape or Enter resume).
class TInGameMenu : public TDialog {
    TOTEM_CLASS(TInGameMenu)

    static constexpr int Button_RESUME_ID = 1;
    static constexpr int Button_EXIT_TO_MENU_ID = 2;
    static constexpr int Button_QUIT_GAME_ID = 3;
    static constexpr int Button_HELP_ID = 4;
    // The quit question's first button: the player does want to leave.
    static constexpr int Button_CONFIRM_QUIT_ID = 15001;

    ButtonPtr BUTTON_RESUME, BUTTON_EXIT_TO_MENU;

    TInGameMenu();

    void AddedToManager() override;
    void RemovedFromManager() override;
    void OnShow() override;
    void Update(float dt) override;
    void DePress(int id) override;

private:
    void Close();
};

// Pauses the running level and opens its pause menu.
std::shared_ptr<TInGameMenu> OpenInGameMenu();
