#pragma once
#include "gui/DialogFrame.h"
#include "gui/TWindow.h"

// The base of every dialog and menu screen: a modal window whose frame is cut
// from one nine-part picture and tiled to any size, with ornaments centred on
// its edges, and whose children (buttons, labels) keep their offsets from its
// top-left corner wherever it is moved. Build one with LoadWindow
// (TDialogHelper.h): gui.xml gives it its size, position and controls.
// Subclasses create their controls in AddedToManager and usually draw by
// calling TDialog::Draw first.
class TDialog : public TWindow, public DialogFrame {
    TOTEM_CLASS(TDialog)

    TDialog();

    void Update(float dt) override;
    void Draw() override;
    // Also re-places every child at the new position plus its offset.
    void Resize(int x, int y, int width, int height) override;
    // Places the children the subclass created just before.
    void AddedToManager() override;
    void SetHided(int hide) override;

    // Cuts the frame's nine parts from `source`.
    virtual void SetImage(const ImagePtr& source);
    // Centres the dialog on the 800×600 screen.
    virtual void CenterToScreen();
};

using DialogPtr = std::shared_ptr<TDialog>;
