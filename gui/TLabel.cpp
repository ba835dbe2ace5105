#include "gui/TLabel.h"

#include "media/Graphics.h"

TLabel::TLabel() { Clip = 0; }

void TLabel::Draw() {
    SetScale(1, 1);
    if (Font) SetFont(Font);
    ApplyColor(LabelColor);
    DrawText(text, _x, _y);
}
