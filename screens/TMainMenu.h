#pragma once
#include <array>
#include <memory>
#include <string>

#include "gui/TButtonWidget.h"
#include "gui/TDialog.h"
#include "gui/THyperLink.h"

class THelpText;
class TMainMenuUpdater;

// The first screen and the hub of the game ("window_main_menu"): a layered
// landscape with a turning sun and walking animals, the wooden frame with the
// logo, five buttons, the profile link and a fading help line. The frame, the
// logo and the buttons fly in when it shows and out, in turn, before the story
// map opens. Created once at start-up and kept in the widget manager, hidden
// while the story map or a level is shown; it starts the menus' song.
class TMainMenu : public TDialog {
    TOTEM_CLASS(TMainMenu)

    static constexpr int Button_MODE1_ID = 1;
    static constexpr int Button_OPTIONS_ID = 4;
    static constexpr int Button_SCORES_ID = 5;
    static constexpr int Button_HELP_ID = 6;
    static constexpr int Button_QUIT_ID = 7;
    static constexpr int USER_LINK_ID = 8;
    static constexpr int Button_LOGO_ID = 9;
    // The quit question's first button: the player does want to leave.
    static constexpr int Button_CONFIRM_QUIT_ID = 15001;

    ButtonPtr Button_MODE1, Button_OPTIONS, Button_SCORES, Button_HELP, Button_QUIT;
    std::shared_ptr<THelpText> HelpText;
    std::shared_ptr<TMainMenuUpdater> MainMenuUpdater;
    float IMAGE_FRAME_Y = 0;
    float IMAGE_LOGO_Y = 0;
    std::shared_ptr<THyperLink> UserLink;
    std::array<float, 3> AnimalX{};
    // The story map the exit animation opens; start-up hands it over and the
    // menu adds it to the widget manager, hidden.
    WidgetPtr StoryMap;

    // Makes the new instance the one MainMenu refers to.
    TMainMenu();
    ~TMainMenu() override;

    // Shows the menu with its entrance (back from the story map or a level).
    virtual void Show();
    virtual void StartShow();
    virtual void StartHiding();

    void DePress(int id) override;
    void Draw() override;
    void EventMouseLeave(int id) override;
    void EventMouseOver(int id) override;
    void Update(float dt) override;
    void InputFinished(int id, const std::string& text) override;
    void AddedToManager() override;
    void SetHided(int hide) override;

private:
    void AskToQuit();
    bool AskingForName() const;
};

// The one main menu (not owned here: the widget manager holds it); null
// before start-up made it.
extern TMainMenu* MainMenu;
