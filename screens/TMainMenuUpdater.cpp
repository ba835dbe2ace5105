#include "screens/TMainMenuUpdater.h"

#include "content/ResourceCatalogue.h"
#include "game/GameGlobals.h"
#include "screens/THelpText.h"
#include "screens/TMainMenu.h"

namespace {
// Where the pieces wait off screen before the entrance.
constexpr float FRAME_START_Y = 650, LOGO_START_Y = -675, LINK_START_Y = 900;
constexpr float MODE1_START_X = -512, OPTIONS_START_X = -810, HELP_START_X = -610;
constexpr float SCORES_START_X = 1132, QUIT_START_X = 1332;
// Where the frame and logo rest, and where the exit sends everything.
constexpr float FRAME_HOME_Y = 165, LOGO_HOME_Y = 0;
constexpr float FRAME_GONE_Y = 650, LOGO_GONE_Y = -300, LEFT_GONE_X = -300, RIGHT_GONE_X = 1032;
// The buttons set off once the rising frame passes this line.
constexpr float BUTTONS_START_BELOW = 400;

// A button's x for a mover; a layout without the button moves a scratch value.
float& XOf(const ButtonPtr& button, float& scratch) { return button ? button->_x : scratch; }

float HomeX(const ButtonPtr& button) { return button ? static_cast<float>(button->x) : 0.0f; }

void SetX(const ButtonPtr& button, float x) {
    if (button) button->_x = x;
}
}  // namespace

std::shared_ptr<TMainMenuUpdater> TMainMenuUpdater::Create(TMainMenu& menu) {
    auto updater = std::make_shared<TMainMenuUpdater>();
    updater->menu = &menu;
    return updater;
}

void TMainMenuUpdater::StartShow() {
    TMainMenu& m = *menu;
    m.IMAGE_FRAME_Y = FRAME_START_Y;
    m.IMAGE_LOGO_Y = LOGO_START_Y;
    SetX(m.Button_MODE1, MODE1_START_X);
    SetX(m.Button_OPTIONS, OPTIONS_START_X);
    SetX(m.Button_HELP, HELP_START_X);
    SetX(m.Button_SCORES, SCORES_START_X);
    SetX(m.Button_QUIT, QUIT_START_X);
    if (m.UserLink) m.UserLink->SetPosition(static_cast<int>(m.UserLink->_x), static_cast<int>(LINK_START_Y));
    Stage = 1;
    state = SHOWING;
    FrameAccel = CreateAccel(0.3f, FRAME_HOME_Y, CreateWobble(18, 0.6f, 0.15f));
    LogoAccel = CreateAccel(0.2f, LOGO_HOME_Y, CreateWobble(14, 0.6f, 0.15f));
    ClassicAccel = CreateAccel(0.2f, HomeX(m.Button_MODE1), CreateWobble(12, 0.6f, 0.15f));
    OptionsAccel = CreateAccel(0.2f, HomeX(m.Button_OPTIONS), CreateWobble(8, 0.6f, 0.15f));
    HelpAccel = CreateAccel(0.2f, HomeX(m.Button_HELP), CreateWobble(8, 0.6f, 0.15f));
    ScoresAccel = CreateAccel(0.2f, HomeX(m.Button_SCORES), CreateWobble(8, 0.6f, 0.15f));
    QuitAccel = CreateAccel(0.2f, HomeX(m.Button_QUIT), CreateWobble(8, 0.6f, 0.15f));
}

void TMainMenuUpdater::StartHiding() {
    Stage = 1;
    state = HIDING;
    FrameAccel = CreateAccel(0.2f, FRAME_GONE_Y, nullptr);
    LogoAccel = CreateAccel(0.2f, LOGO_GONE_Y, nullptr);
    ClassicAccel = CreateAccel(0.2f, LEFT_GONE_X, nullptr);
    OptionsAccel = CreateAccel(0.2f, LEFT_GONE_X, nullptr);
    HelpAccel = CreateAccel(0.2f, LEFT_GONE_X, nullptr);
    ScoresAccel = CreateAccel(0.2f, RIGHT_GONE_X, nullptr);
    QuitAccel = CreateAccel(0.2f, RIGHT_GONE_X, nullptr);
}

void TMainMenuUpdater::Update(float dt) {
    if (state == SHOWING) UpdateShowing(dt);
    else if (state == HIDING) UpdateHiding(dt);
}

void TMainMenuUpdater::PlaceLinkAndHelp(float linkBelowFrame) {
    TMainMenu& m = *menu;
    if (m.UserLink)
        m.UserLink->SetPosition(static_cast<int>(m.UserLink->_x), static_cast<int>(m.IMAGE_FRAME_Y + linkBelowFrame));
    if (m.HelpText) m.HelpText->_y = m.IMAGE_FRAME_Y + 125;
}

void TMainMenuUpdater::UpdateShowing(float dt) {
    TMainMenu& m = *menu;
    float scratch[5] = {};
    if (Stage >= 1) {
        FrameAccel->Update(dt, m.IMAGE_FRAME_Y, -1);
        PlaceLinkAndHelp(355);
        LogoAccel->Update(dt, m.IMAGE_LOGO_Y, +1);
        if (m.IMAGE_FRAME_Y < BUTTONS_START_BELOW && Stage == 1) {
            PlayGameSound(SOUND_MENU_MAIN_OPEN);
            Stage = 2;
        }
    }
    if (Stage >= 2) {
        ClassicAccel->Update(dt, XOf(m.Button_MODE1, scratch[0]), +1);
        OptionsAccel->Update(dt, XOf(m.Button_OPTIONS, scratch[1]), +1);
        HelpAccel->Update(dt, XOf(m.Button_HELP, scratch[2]), +1);
        ScoresAccel->Update(dt, XOf(m.Button_SCORES, scratch[3]), -1);
        QuitAccel->Update(dt, XOf(m.Button_QUIT, scratch[4]), -1);
    }
}

void TMainMenuUpdater::UpdateHiding(float dt) {
    TMainMenu& m = *menu;
    // A missing button counts as gone already, so the cascade never stalls.
    float gone[5] = {LEFT_GONE_X, LEFT_GONE_X, LEFT_GONE_X, RIGHT_GONE_X, RIGHT_GONE_X};
    float& mode1 = XOf(m.Button_MODE1, gone[0]);
    float& options = XOf(m.Button_OPTIONS, gone[1]);
    float& help = XOf(m.Button_HELP, gone[2]);
    if (Stage >= 1) {
        ClassicAccel->Update(dt, mode1, -1);
        if (mode1 < 20 && Stage == 1) Stage = 2;
    }
    if (Stage >= 2) {
        OptionsAccel->Update(dt, options, -1);
        ScoresAccel->Update(dt, XOf(m.Button_SCORES, gone[3]), +1);
        if (options < 100 && Stage == 2) Stage = 3;
    }
    if (Stage >= 3) {
        HelpAccel->Update(dt, help, -1);
        QuitAccel->Update(dt, XOf(m.Button_QUIT, gone[4]), +1);
        if (help < 100 && Stage == 3) Stage = 4;
    }
    if (Stage >= 4) {
        LogoAccel->Update(dt, m.IMAGE_LOGO_Y, -1);
        if (m.IMAGE_LOGO_Y < -100 && Stage == 4) Stage = 5;
    }
    if (Stage >= 5) {
        FrameAccel->Update(dt, m.IMAGE_FRAME_Y, +1);
        PlaceLinkAndHelp(385);
        if (FrameAccel->IsDeath() != 0) Death = 1;
    }
}
