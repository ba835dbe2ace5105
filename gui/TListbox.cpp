#include "gui/TListbox.h"

#include <algorithm>

#include "core/TGraphicsState.h"
#include "gui/TWidgetmanager.h"
#include "media/Graphics.h"

float TListbox::RowHeight() const {
    PushDrawState();
    SetFont(nullptr);
    const float spaced = 1.8f * static_cast<float>(TextHeight("X"));
    SetFont(Font);
    const float own = static_cast<float>(TextHeight("X"));
    PopDrawState();
    return std::max(spaced, own);
}

void TListbox::Draw() {
    const float rowH = RowHeight();
    SetFont(Font);
    float y = 0;
    int number = 1;
    for (const std::string& row : List) {
        if (number == Selected) {
            SetAlpha(0.2f);
            DrawRect(0, y, static_cast<float>(_width), rowH);
            SetAlpha(1);
        }
        const int tx = _width / 2 - TextWidth(row) / 2;
        DrawText(row, static_cast<float>(tx), y + rowH / 2 - static_cast<float>(TextHeight(row) / 2));
        y += rowH;
        ++number;
    }
}

void TListbox::MouseDown_(int button) {
    if (button != 1 || !WidgetManager) return;
    const float mouseY = static_cast<float>(static_cast<int>(WidgetManager->Mouse.y()));
    const int row = static_cast<int>((mouseY - _y) / RowHeight() + 1);
    if (row < static_cast<int>(List.size()) + 1) Selected = row;
}
