#pragma once
#include <memory>

#include "screens/TAccelObject.h"

class TMainMenu;

// Runs the main menu's entrance (frame up from below, logo down from above,
// then the buttons in from both sides, each landing with a wobble) or its exit
// (the buttons out in a cascade, then the logo, then the frame). The menu makes
// a new one for each; it moves the menu's pieces directly, so hit testing
// follows the buttons as they fly.
class TMainMenuUpdater {
public:
    static constexpr int SHOWING = 1, HIDING = 2;

    TMainMenu* menu = nullptr;  // owns this updater
    int state = 0;
    int Stage = 0;
    AccelPtr FrameAccel, LogoAccel, ClassicAccel, OptionsAccel, HelpAccel, ScoresAccel, QuitAccel;
    int Death = 0;  // the exit has finished

    static std::shared_ptr<TMainMenuUpdater> Create(TMainMenu& menu);

    virtual ~TMainMenuUpdater() = default;
    virtual void StartShow();
    virtual void StartHiding();
    virtual void Update(float dt);
    virtual void UpdateShowing(float dt);
    virtual void UpdateHiding(float dt);
    int IsDeath() const { return Death; }
    int IsHiding() const { return state == HIDING ? 1 : 0; }
    int IsShowing() const { return state == SHOWING ? 1 : 0; }

private:
    void PlaceLinkAndHelp(float linkBelowFrame);
};
