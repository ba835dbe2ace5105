#include "gui/TCheckbox.h"

#include "media/Graphics.h"

void TCheckbox::Draw() {
    SetBlend(ALPHABLEND);
    const ImagePtr& face = Checked != 0 ? CheckedImage : UnCheckedImage;
    if (face) DrawImage(face, 0, 0, 0);
}

void TCheckbox::SetPosition(int nx, int ny) { TWidget::SetPosition(nx, ny); }

void TCheckbox::MouseUp(int button) {
    if (button != 1 || IsOver == 0) return;
    Checked = Checked != 0 ? 0 : 1;
    if (const WidgetPtr listener = Listener.lock()) listener->CheckBoxChecked(id, Checked);
}

CheckboxPtr CreateCheckBox(const ImagePtr& checked, const ImagePtr& unchecked, int state, int x, int y, int id,
                           const WidgetPtr& listener) {
    auto box = std::make_shared<TCheckbox>();
    box->Resize(x, y, checked ? checked->width : 0, checked ? checked->height : 0);
    box->Checked = state;
    box->CheckedImage = checked;
    box->UnCheckedImage = unchecked;
    box->id = id;
    box->Listener = listener;
    return box;
}
