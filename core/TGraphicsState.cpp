#include "core/TGraphicsState.h"

#include "media/Graphics.h"

LIFO DrawStateStack;

void PushDrawState() {
    auto s = std::make_shared<TGraphicsState>();
    s->Blend = GetBlend();
    s->Rotation = GetRotation();
    GetScale(s->ScaleX, s->ScaleY);
    s->alpha = GetAlpha();
    GetColor(s->r, s->g, s->b);
    GetViewport(s->vpx, s->vpy, s->vpw, s->vph);
    GetOrigin(s->OrX, s->OrY);
    s->font = GetFont();
    DrawStateStack.Push(std::move(s));
}

void PopDrawState() {
    auto s = std::dynamic_pointer_cast<TGraphicsState>(DrawStateStack.Pop());
    if (!s) return;
    SetAlpha(s->alpha);
    SetScale(s->ScaleX, s->ScaleY);
    SetBlend(s->Blend);
    SetRotation(s->Rotation);
    SetColor(s->r, s->g, s->b);
    SetOrigin(s->OrX, s->OrY);
    SetViewport(s->vpx, s->vpy, s->vpw, s->vph);
    SetFont(s->font);
}

int TextWidthWithFont(const std::string& text, const FontPtr& font) {
    PushDrawState();
    if (font) SetFont(font);
    const int width = TextWidth(text);
    PopDrawState();
    return width;
}

int LetterWidth(const FontPtr& font) { return TextWidthWithFont("A", font); }
