#include "gui/TWidget.h"

#include "gui/TWidgetmanager.h"

void TWidget::Update(float) {}
void TWidget::Draw() {}

void TWidget::Resize(int nx, int ny, int width, int height) {
    _x = static_cast<float>(nx);
    _y = static_cast<float>(ny);
    _width = width;
    _height = height;
}

void TWidget::SetPosition(int nx, int ny) { Resize(nx, ny, _width, _height); }

void TWidget::DePress(int) {}
void TWidget::EventMouseLeave(int) {}
void TWidget::EventMouseEnter(int) {}
void TWidget::EventMouseOver(int) {}
void TWidget::CheckBoxChecked(int, int) {}
void TWidget::ScrollBarChanged(int, float) {}
void TWidget::InputFinished(int, const std::string&) {}
void TWidget::MouseMove(int, int) {}
void TWidget::MouseLeave() {}
void TWidget::MouseEnter() {}
void TWidget::AddedToManager() {}

void TWidget::RemovedFromManager() {
    if (!WidgetManager) return;
    // A child's own removal may edit this list, so walk a copy.
    const auto children = Widgets;
    for (const auto& child : children)
        if (child) WidgetManager->RemoveWidget(child);
}

void TWidget::MouseUp(int) {}
void TWidget::MouseDown_(int) {}
void TWidget::SetEnable(int flag) { Enable = flag; }
void TWidget::SetVisible(int flag) { Visible = flag; }

void TWidget::SetHided(int hide) {
    if (hide == 0 && Visible == 0) OnShow();
    const auto children = Widgets;
    for (const auto& child : children)
        if (child) child->SetHided(hide);
    const int shown = hide == 0 ? 1 : 0;
    SetEnable(shown);
    SetVisible(shown);
}

void TWidget::OnShow() {}

bool TWidget::KeyFocusable() const { return false; }

void TWidget::KeyPress() {}
