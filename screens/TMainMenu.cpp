#include "screens/TMainMenu.h"

#include "content/ResourceCatalogue.h"
#include "core/TColor.h"
#include "game/GameGlobals.h"
#include "gui/DrawWrappedText.h"
#include "gui/TDialogHelper.h"
#include "gui/TInputBox.h"
#include "gui/TMessageBox.h"
#include "gui/TWidgetmanager.h"
#include "media/Clock.h"
#include "media/Files.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/System.h"
#include "progress/ProgressGlobals.h"
#include "progress/TOptions.h"
#include "progress/TPrizesWindow.h"
#include "progress/TUserOptions.h"
#include "screens/QuitGame.h"
#include "screens/ScreenText.h"
#include "screens/THelp.h"
#include "screens/THelpText.h"
#include "screens/TMainMenuUpdater.h"
#include "screens/TStatue.h"

TMainMenu* MainMenu = nullptr;

namespace {
constexpr int SCREEN_W = 800;
const char* const WEBSITE_SHORTCUT = "website.url";
// Texts of the table the menu shows.
constexpr int TEXT_OPTIONS = 1, TEXT_SCORES = 2, TEXT_HELP = 3, TEXT_QUIT = 4, TEXT_MODE1 = 5;
constexpr int TEXT_PLAYER = 20, TEXT_NOT_YOU = 21, TEXT_CHANGE_PLAYER = 22;
constexpr int TEXT_WELCOME = 56, TEXT_QUIT_YES = 60, TEXT_QUIT_NO = 61, TEXT_QUIT_QUESTION = 62;

int HalfWidth(const ImagePtr& image) { return image ? image->width / 2 : 0; }

void DrawAt(const ImagePtr& image, float x, float y) {
    if (image) DrawImage(image, x, y, 0);
}
}  // namespace

TMainMenu::TMainMenu() {
    id = "window_main_menu";
    MainMenu = this;
    for (float& x : AnimalX) x = static_cast<float>(RandomInt(0, SCREEN_W));
}

TMainMenu::~TMainMenu() {
    if (MainMenu == this) MainMenu = nullptr;
}

void TMainMenu::AddedToManager() {
    HelpText = std::make_shared<THelpText>();
    HelpText->Resize(310, 290, 187, 300);
    // Its offset in the menu, so that placing the children keeps it there.
    HelpText->x = 310;
    HelpText->y = 290;
    HelpText->MouseSensetive = 0;
    WidgetManager->AddWidget(HelpText);
    Widgets.push_back(HelpText);
    if (IMAGE_ZAR_LOGO_A && IMAGE_ZAR_LOGO_NA) LoadButton(*this, "logo", Button_LOGO_ID, 1);
    Button_MODE1 = LoadButton(*this, "mode1", Button_MODE1_ID, 1);
    Button_OPTIONS = LoadButton(*this, "options", Button_OPTIONS_ID, 1);
    Button_SCORES = LoadButton(*this, "scores", Button_SCORES_ID, 1);
    Button_HELP = LoadButton(*this, "help", Button_HELP_ID, 1);
    Button_QUIT = LoadButton(*this, "quit", Button_QUIT_ID, 1);
    // The buttons sit at their offsets before the entrance sends them away.
    TDialog::AddedToManager();
    // The link is not a child: the animations move it off the screen instead.
    UserLink = CreateHyperLink(ScreenText(TEXT_CHANGE_PLAYER), FONT_HELP, USER_LINK_ID, shared_from_this());
    UserLink->Resize(312, 550, 187, 20);
    WidgetManager->AddWidget(UserLink);
    for (const char* side : {"left", "right"}) {
        const StatuePtr statue = TStatue::Create(side);
        Widgets.push_back(statue);
        WidgetManager->AddWidget(statue);
    }
    StartShow();
    if (StoryMap) {
        StoryMap->Resize(0, 0, SCREEN_W, 600);
        WidgetManager->AddWidget(StoryMap);
        StoryMap->SetHided(1);
    }
    MenuMusic = PlayGameSound(SOUND_MENU_BACK_SONG);
}

void TMainMenu::Show() {
    StartShow();
    SetHided(0);
}

void TMainMenu::StartShow() {
    if (HelpText) HelpText->SetText(ScreenText(TEXT_WELCOME));
    MainMenuUpdater = TMainMenuUpdater::Create(*this);
    MainMenuUpdater->StartShow();
}

void TMainMenu::StartHiding() {
    if (HelpText) HelpText->SetText(ScreenText(TEXT_WELCOME));
    MainMenuUpdater = TMainMenuUpdater::Create(*this);
    MainMenuUpdater->StartHiding();
    PlayGameSound(SOUND_MENU_MAIN_CLOSE);
}

void TMainMenu::InputFinished(int /*id*/, const std::string& text) {
    // The game needs a player to keep progress for: ask until there is one.
    if (text.empty()) {
        OpenInputBox(shared_from_this());
        return;
    }
    CurrentUser = TUserOptions::CreateUser(text);
    TUserOptions::SaveUserList();
}

void TMainMenu::EventMouseOver(int buttonId) {
    if (!HelpText) return;
    switch (buttonId) {
        case Button_OPTIONS_ID: HelpText->SetText(ScreenText(TEXT_OPTIONS)); break;
        case Button_SCORES_ID: HelpText->SetText(ScreenText(TEXT_SCORES)); break;
        case Button_HELP_ID: HelpText->SetText(ScreenText(TEXT_HELP)); break;
        case Button_QUIT_ID: HelpText->SetText(ScreenText(TEXT_QUIT)); break;
        case Button_MODE1_ID: HelpText->SetText(ScreenText(TEXT_MODE1)); break;
        default: break;
    }
}

void TMainMenu::EventMouseLeave(int /*id*/) {
    if (HelpText) HelpText->SetText("");
}

void TMainMenu::DePress(int buttonId) {
    switch (buttonId) {
        case Button_MODE1_ID: StartHiding(); break;
        case Button_OPTIONS_ID: OpenOptions(); break;
        case Button_HELP_ID: OpenHelp(); break;
        case Button_SCORES_ID: OpenPrizesWindow(); break;
        case Button_QUIT_ID: AskToQuit(); break;
        case Button_CONFIRM_QUIT_ID: QuitGame(); break;
        case USER_LINK_ID: OpenUserOptions(); break;
        case Button_LOGO_ID:
            // The publisher's page, when the packaging ships its shortcut.
            if (PathKind(WEBSITE_SHORTCUT) == 1) OpenURL(WEBSITE_SHORTCUT);
            break;
        default: break;
    }
}

void TMainMenu::AskToQuit() {
    const auto box = OpenMessageBox(shared_from_this(), ScreenText(TEXT_QUIT_QUESTION), 2, ScreenText(TEXT_QUIT_YES),
                                    ScreenText(TEXT_QUIT_NO));
    if (box) LoadStatics(*box, "window_exit");
}

void TMainMenu::Update(float dt) {
    if (KeyHitCount(KEY_H) != 0) StartHiding();
    if (KeyHitCount(KEY_S) != 0) StartShow();
    const float w = static_cast<float>(SCREEN_W);
    AnimalX[0] -= 0.25f * dt;
    if (AnimalX[0] < 0) AnimalX[0] = w;
    AnimalX[1] += 1.5f * dt;
    if (AnimalX[1] > w) AnimalX[1] = 0;
    AnimalX[2] += 0.6f * dt;
    if (AnimalX[2] > w) AnimalX[2] = 0;
    if (MainMenuUpdater) MainMenuUpdater->Update(dt);
    if (MainMenuUpdater && MainMenuUpdater->IsHiding() != 0 && MainMenuUpdater->IsDeath() != 0) {
        // Held keys and buttons must not reach the story map as fresh presses.
        ClearKeys();
        ClearMouse();
        MainMenuUpdater = nullptr;
        SetHided(1);
        if (StoryMap) StoryMap->SetHided(0);
    }
}

void TMainMenu::Draw() {
    const int w = SCREEN_W;
    DrawAt(IMAGE_MENU_BACK, 0, 0);
    // The sun turns a degree every 50 ms.
    SetRotation(static_cast<float>((ClockMs() / 50) % 360));
    SetScale(2.5f, 2.5f);
    DrawAt(IMAGE_MENU_SUN, 400, 317);
    SetScale(1, 1);
    SetRotation(0);
    DrawAt(IMAGE_MENU_ANIMAL_1, AnimalX[0], 370);
    DrawAt(IMAGE_MENU_ANIMAL_2, AnimalX[1], 440);
    DrawAt(IMAGE_MENU_ANIMAL_3, AnimalX[2], 410);
    DrawAt(IMAGE_MENU_BACK_LAYER1, 0, 0);
    DrawAt(IMAGE_MENU_FRAME, static_cast<float>(w / 2 - HalfWidth(IMAGE_MENU_FRAME)), IMAGE_FRAME_Y);
    const float logoX = static_cast<float>(w / 2 - HalfWidth(IMAGE_MENU_LOGO));
    SetAlpha(0.4f);
    SetColor(60, 60, 60);
    DrawAt(IMAGE_MENU_LOGO, logoX, IMAGE_LOGO_Y + 2);
    SetAlpha(1);
    DefaultColor->Set();
    DrawAt(IMAGE_MENU_LOGO, logoX, IMAGE_LOGO_Y);
    if (CurrentUser) {
        SetFont(FONT_HELP);
        DrawWrappedText(255, IMAGE_FRAME_Y + 310, ScreenText(TEXT_PLAYER) + " " + CurrentUser->name, 300, 1, 1);
        DrawWrappedText(300, IMAGE_FRAME_Y + 330, ScreenText(TEXT_NOT_YOU), 200, 1, 1);
    }
    MenuMusicFollowsFocus();
}

void TMainMenu::SetHided(int hide) {
    TDialog::SetHided(hide);
    if (hide != 0) return;
    // The game keeps progress per player: without one, ask for a name first.
    // (Asked when the menu shows rather than when it is made, so a level
    // started straight from the command line is not covered by the question.)
    if (!CurrentUser && !AskingForName()) OpenInputBox(shared_from_this());
}

bool TMainMenu::AskingForName() const {
    for (const WidgetPtr& w : WidgetManager->WidgetsList)
        if (auto* box = dynamic_cast<TInputBox*>(w.get()); box && box->Listener.lock().get() == this) return true;
    return false;
}
