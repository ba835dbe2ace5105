#include "gui/TButtonWidget.h"

#include <algorithm>

#include "content/TPNGFont.h"
#include "core/TGraphicsState.h"
#include "fx/TEmitter.h"
#include "media/Graphics.h"

TButtonWidget::TButtonWidget() = default;

void TButtonWidget::Update(float dt) {
    if (IsOver != 0 || Focused != 0)
        OverAlpha = std::min(1.0f, OverAlpha + OverAlphaSpeed * dt);
    else
        OverAlpha = std::max(0.0f, OverAlpha - OverAlphaSpeed * dt);
    if (IsOver != 0)
        if (const WidgetPtr listener = Listener.lock()) listener->EventMouseOver(ID);
    for (const auto& e : Emitters) e->Update(dt);
    std::erase_if(Emitters, [](const std::shared_ptr<TEmitter>& e) { return e->Death != 0; });
}

void TButtonWidget::DrawFace(const ImagePtr& face) const {
    if (face) DrawImageRect(face, 0, 0, static_cast<float>(_width), static_cast<float>(_height), 0);
}

void TButtonWidget::DrawLabel() const {
    SetAlpha(1);
    SetColor(255, 255, 255);
    // A bitmap font measures in fractions under a scale; the caption is
    // centred on that width.
    const auto* png = dynamic_cast<const TPNGFont*>(GetFont().get());
    const float tw = png ? png->TextWidth(Label) : static_cast<float>(TextWidth(Label));
    const int ty = _height / 2 - TextHeight(Label) / 2;
    int tx = 0;
    if (LabelJustify == 2) tx = static_cast<int>(static_cast<float>(_width / 2) - tw / 2);
    if (LabelJustify == 3) tx = static_cast<int>(static_cast<float>(_width) - tw);
    DrawText(Label, static_cast<float>(tx), static_cast<float>(ty + LabelYDef));
}

void TButtonWidget::Draw() {
    // The particles live in screen coordinates and may leave the button.
    PushDrawState();
    SetViewport(0, 0, DisplayWidth(), DisplayHeight());
    SetOrigin(0, 0);
    for (const auto& e : Emitters) e->Draw();
    PopDrawState();

    const bool pressedLook = IsDown != 0 && IsOver != 0;
    int vx = 0, vy = 0, vw = 0, vh = 0;
    if (pressedLook) {
        GetViewport(vx, vy, vw, vh);
        SetViewport(vx + TranslateX, vy + TranslateY, vw, vh);
        SetOrigin(static_cast<float>(vx + TranslateX), static_cast<float>(vy + TranslateY));
    }
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    DrawFace(ButtonImage);
    if (OverAlpha > 0) {
        SetAlpha(OverAlpha);
        DrawFace(OverImage);
    }
    if (pressedLook) {
        SetAlpha(1);
        DrawFace(DownImage);
    }
    if (Font) SetFont(Font);
    if (!Label.empty()) DrawLabel();
    if (pressedLook) {
        SetViewport(vx, vy, vw, vh);
        SetOrigin(static_cast<float>(vx), static_cast<float>(vy));
    }
}

void TButtonWidget::MouseDown_(int button) {
    if (button == 1) IsDown = 1;
}

void TButtonWidget::MouseUp(int) {
    // Whichever button pressed it: a right click clicks too, without ever
    // having shown the pressed face.
    if (IsOver != 0)
        if (const WidgetPtr listener = Listener.lock()) {
            OverAlpha = 0;
            listener->DePress(ID);
        }
    IsDown = 0;
}

bool TButtonWidget::KeyFocusable() const { return !Listener.expired(); }

void TButtonWidget::KeyPress() {
    if (const WidgetPtr listener = Listener.lock()) listener->DePress(ID);
}

void TButtonWidget::MouseEnter() {
    if (const WidgetPtr listener = Listener.lock()) listener->EventMouseEnter(ID);
    if (EffectOver)
        Emitters.push_back(TEmitter::Create(_x + static_cast<float>(_width / 2), _y + static_cast<float>(_height / 2),
                                            EffectOver, 0));
}

void TButtonWidget::MouseLeave() {
    if (const WidgetPtr listener = Listener.lock()) listener->EventMouseLeave(ID);
}

void TButtonWidget::SetHided(int hide) {
    OverAlpha = 0;
    IsOver = 0;
    TWidget::SetHided(hide);
}

ButtonPtr CreateButton(int x, int y, const ImagePtr& image, const std::string& label, int id,
                       const WidgetPtr& listener, int translateX, int translateY) {
    auto button = std::make_shared<TButtonWidget>();
    button->Resize(x, y, image ? image->width : 0, image ? image->height : 0);
    button->ButtonImage = image;
    button->Listener = listener;
    button->ID = id;
    button->TranslateX = translateX;
    button->TranslateY = translateY;
    button->Label = label;
    return button;
}
