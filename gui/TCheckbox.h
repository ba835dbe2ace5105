#pragma once
#include "gui/TWidget.h"
#include "media/TImage.h"

// A check box (full screen on or off). Each left-button release over it
// flips it and tells the listener CheckBoxChecked(id, Checked).
class TCheckbox : public TWidget {
    TOTEM_CLASS(TCheckbox)

    ImagePtr CheckedImage, UnCheckedImage;
    int Checked = 0;
    WidgetRef Listener;
    int id = 0;

    void Draw() override;
    void SetPosition(int x, int y) override;
    void MouseUp(int button) override;
};

using CheckboxPtr = std::shared_ptr<TCheckbox>;

// A box at (x, y) the size of the checked picture, not yet added to the
// widget manager.
CheckboxPtr CreateCheckBox(const ImagePtr& checked, const ImagePtr& unchecked, int state, int x, int y, int id,
                           const WidgetPtr& listener);
