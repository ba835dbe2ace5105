#pragma once
#include <memory>
#include <string>

#include "gui/TDialog.h"

// The prize gallery ("window_prizes"): every prize in table order, those the
// current profile has received opaque and the others half transparent, with
// the text of the prize under the mouse. Opened from the main menu.
class TPrizesWindow : public TDialog {
    TOTEM_CLASS(TPrizesWindow)

    static constexpr int Button_OK_ID = 1;

    std::string PrizeLabel;  // the text under the mouse; empty for none

    TPrizesWindow();

    void AddedToManager() override;
    void OnShow() override;
    void Update(float dt) override;
    void Draw() override;
    void DePress(int id) override;

private:
    void Close();
    bool hasOk_ = false;
};

std::shared_ptr<TPrizesWindow> OpenPrizesWindow();
