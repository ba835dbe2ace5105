#pragma once
#include <string>

#include "gui/TButtonWidget.h"
#include "gui/TDialog.h"
#include "media/TImageFont.h"

// A modal box that asks for one line of text (a player's name), built from
// the window "window_inputbox". Typed characters arrive one per frame through
// the text-input queue; those InputFont cannot show are dropped, Backspace
// takes the last one back, and a character that would push the name out of
// its field is refused, since a name wider than the field could be neither
// seen nor edited. "ok" or Enter reports the name to the listener with
// InputFinished(InputID, name), Escape reports the empty text; either way
// the box leaves the widget manager before the listener hears it.
class TInputBox : public TDialog {
    TOTEM_CLASS(TInputBox)

    static constexpr int Button_OK_ID = 1;

    std::string Name;  // typed so far (UTF-8)
    WidgetRef Listener;
    ButtonPtr Button_OK;
    FontPtr InputFont;  // the typed text's bitmap font; FONT_MAIN by default
    int InputID = 0;    // passed back with the text

    TInputBox();

    void Resize(int x, int y, int width, int height) override;
    void AddedToManager() override;
    void DePress(int id) override;
    void Draw() override;
    void Update(float dt) override;

    virtual void OK();
    virtual void CANCEL();

    // The darkened field behind the text, in box coordinates: three times the
    // size of fourteen "W" in the built-in font, centred in the box.
    struct Field {
        int x, y, w, h;
    };
    Field TextField() const;

private:
    void Type(char32_t c);
    void Finish(const std::string& text);
};

using InputBoxPtr = std::shared_ptr<TInputBox>;

// Opens a box asking the player for a name; the answer goes to `listener`.
InputBoxPtr OpenInputBox(const WidgetPtr& listener);
