#pragma once
#include <string>

#include "gui/TButtonWidget.h"
#include "gui/TDialog.h"

// A modal question with one or two buttons (quitting, deleting a player),
// built from the window "messagebox". It grows with its wrapped text (and
// centres itself at that height), places its buttons under it, and reports the answer to its listener as
// DePress(Button_1_ID) — the first button or Enter — or DePress(Button_2_ID)
// — the second button or Escape, which a one-button box ignores. The box
// leaves the widget manager before the listener hears the answer, so the
// listener may open another box at once.
class TMessageBox : public TDialog {
    TOTEM_CLASS(TMessageBox)

    static constexpr int Button_1_ID = 15001;
    static constexpr int Button_2_ID = 15002;

    std::string Name;  // free for the caller; the box does not read it
    WidgetRef Listener;
    ButtonPtr Button_1, Button_2;
    std::string Text;
    int ButtonsCount = 0;  // 1 or 2
    std::string ButtonName1, ButtonName2;

    void Resize(int x, int y, int width, int height) override;
    void RemovedFromManager() override;
    void AddedToManager() override;
    void Update(float dt) override;
    void DePress(int id) override;
    void Draw() override;
    // Centres the box at the height its text gives it, not at the height of
    // its layout: a long question would otherwise run off the screen.
    void CenterToScreen() override;

    // Height of the text wrapped to the box, in FONT_MAIN.
    int TextHeightInBox() const;
};

using MessageBoxPtr = std::shared_ptr<TMessageBox>;

// Opens a box asking `text` with `buttonsCount` (1 or 2) buttons captioned
// `caption1` and `caption2`. Callers add a heading with LoadStatics when they
// want one.
MessageBoxPtr OpenMessageBox(const WidgetPtr& listener, const std::string& text, int buttonsCount,
                             const std::string& caption1, const std::string& caption2);
