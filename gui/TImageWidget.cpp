#include "gui/TImageWidget.h"

#include "media/Graphics.h"

TImageWidget::TImageWidget() { MouseSensetive = 0; }

void TImageWidget::Draw() {
    ApplyColor(Color);
    if (Image) DrawImage(Image, 0, 0, 0);
}
