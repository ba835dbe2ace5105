#pragma once
#include <memory>

#include "gui/TDialog.h"

// The end of the journey ("window_gameover"), shown after the last level's
// results; "ok" (or Escape or Enter when the layout has no "ok") stops the
// level and goes back to the story map.
class TGameOver : public TDialog {
    TOTEM_CLASS(TGameOver)

    static constexpr int Button_OK_ID = 1;

    TGameOver();

    void AddedToManager() override;
    void OnShow() override;
    void Update(float dt) override;
    void DePress(int id) override;

private:
    bool hasOk_ = false;
};

std::shared_ptr<TGameOver> OpenGameOver();
