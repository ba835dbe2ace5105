#include "screens/TMainMenu.h"

TMainMenu* MainMenu = nullptr;

TMainMenu::TMainMenu() {
    id = "window_main_menu";
    MainMenu = this;
}

TMainMenu::~TMainMenu() {
    if (MainMenu == this) MainMenu = nullptr;
}

void TMainMenu::Show() {
    StartShow();
    SetHided(0);
}

void TMainMenu::StartShow() {}
void TMainMenu::StartHiding() {}
void TMainMenu::DePress(int /*id*/) {}
void TMainMenu::Draw() {}
void TMainMenu::EventMouseLeave(int /*id*/) {}
void TMainMenu::EventMouseOver(int /*id*/) {}
void TMainMenu::Update(float /*dt*/) {}
void TMainMenu::InputFinished(int /*id*/, const std::string& /*text*/) {}
void TMainMenu::AddedToManager() {}
void TMainMenu::SetHided(int hide) { TDialog::SetHided(hide); }
