#pragma once
#include <string>

#include "fx/TEffect.h"
#include "gui/TWidget.h"
#include "media/TImage.h"
#include "media/TImageFont.h"

// A picture button with a caption. The hover face fades in over the normal
// face while the mouse is over it, the pressed face shows (shifted by
// TranslateX/Y) while the left button holds it down, and every time the mouse
// enters it starts its hover particles. A click is a release over the button
// of whichever mouse button pressed it; the button then calls its listener's
// DePress(ID). It keeps no callback of its own.
class TButtonWidget : public TWidget {
    TOTEM_CLASS(TButtonWidget)

    int ID = 0;               // reported to the listener
    ImagePtr ButtonImage;     // normal face, stretched to the button's size
    ImagePtr OverImage;       // hover face, drawn with alpha OverAlpha
    ImagePtr DownImage;       // pressed face
    WidgetRef Listener;
    FontPtr Font;             // caption font
    float OverAlphaSpeed = 0.1f;  // hover fade per dt unit
    int IsDown = 0;           // left-pressed here and not yet released
    int TranslateX = 0, TranslateY = 0;  // shift of the face while pressed
    std::string Label;        // caption
    int LabelJustify = 2;     // 1 left, 2 centre, 3 right; anything else left
    int LabelYDef = 0;        // added to the centred caption's y
    float OverAlpha = 0;      // current hover fade, 0..1
    EffectPtr EffectOver;     // started at the centre each time the mouse enters

    TButtonWidget();

    void Update(float dt) override;
    void Draw() override;
    void MouseLeave() override;
    void MouseEnter() override;
    void MouseUp(int button) override;
    void MouseDown_(int button) override;
    void SetHided(int hide) override;
    // A button with someone to tell; Enter clicks it.
    bool KeyFocusable() const override;
    void KeyPress() override;

private:
    void DrawFace(const ImagePtr& face) const;
    void DrawLabel() const;
};

using ButtonPtr = std::shared_ptr<TButtonWidget>;

// A button at (x, y) the size of `image` (0×0, so out of the mouse's reach,
// without one), not yet added to the widget manager.
ButtonPtr CreateButton(int x, int y, const ImagePtr& image, const std::string& label, int id,
                       const WidgetPtr& listener, int translateX, int translateY);
