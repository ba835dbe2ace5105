#include "gui/TDialog.h"

namespace {
constexpr float kScreenWidth = 800, kScreenHeight = 600;
}  // namespace

TDialog::TDialog() { Modal = 1; }

void TDialog::Update(float) {}

void TDialog::Draw() { DrawDialogFrame(*this, _x, _y, _width, _height); }

void TDialog::Resize(int nx, int ny, int width, int height) {
    TWindow::Resize(nx, ny, width, height);
    // A child's SetPosition may be a subclass's own, which can edit nothing
    // here, but walk a copy all the same.
    const auto children = Widgets;
    for (const auto& child : children)
        if (child) child->SetPosition(nx + child->x, ny + child->y);
}

void TDialog::AddedToManager() { Resize(static_cast<int>(_x), static_cast<int>(_y), _width, _height); }

void TDialog::SetHided(int hide) { TWindow::SetHided(hide); }

void TDialog::SetImage(const ImagePtr& source) { SetDialogFrameImage(*this, source); }

void TDialog::CenterToScreen() {
    Resize(static_cast<int>(kScreenWidth / 2 - static_cast<float>(_width / 2)),
           static_cast<int>(kScreenHeight / 2 - static_cast<float>(_height / 2)), _width, _height);
}
