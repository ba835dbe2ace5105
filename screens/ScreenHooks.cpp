#include "screens/ScreenHooks.h"

#include "game/LevelHooks.h"
#include "progress/TLevelComplete.h"
#include "screens/TGameOver.h"
#include "screens/TInGameMenu.h"
#include "screens/TMainMenu.h"
#include "screens/TStoryMenu.h"

void InstallScreenHooks() {
    LevelHooks hooks = InstalledLevelHooks();
    hooks.OpenInGameMenu = [] { OpenInGameMenu(); };
    hooks.ShowMainMenu = [] {
        if (MainMenu) MainMenu->Show();
    };
    SetLevelHooks(std::move(hooks));

    ResultsExits exits;
    exits.ShowStoryMap = [] {
        if (StoryMenu) StoryMenu->SetHided(0);
    };
    exits.OpenGameOver = [] { OpenGameOver(); };
    SetResultsExits(std::move(exits));
}
