#pragma once
#include <cstdint>
#include <memory>

#include "gui/TButtonWidget.h"
#include "gui/TDialog.h"

// The help pages ("window_help"): six pictures turned with "left" and
// "right"; the first page has no "left" and the last no "right". Opened over
// the main menu or the pause menu, it returns to it on "ok" (or Escape or
// Enter when the layout has no "ok").
class THelp : public TDialog {
    TOTEM_CLASS(THelp)

    static constexpr int Button_OK_ID = 1;
    static constexpr int Button_LEFT_ID = 2;
    static constexpr int Button_RIGHT_ID = 3;
    static constexpr int PAGE_COUNT = 6;
    // Where the pages stand in the dialog.
    static constexpr int PAGE_Y = 110;

    ButtonPtr BUTTON_LEFT, BUTTON_RIGHT;
    int32_t CurrentScreen = 1;

    THelp();

    void AddedToManager() override;
    void DePress(int id) override;
    void OnShow() override;
    void Update(float dt) override;
    void Draw() override;

private:
    void Close();
    bool hasOk_ = false;
};

std::shared_ptr<THelp> OpenHelp();
