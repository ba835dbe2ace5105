#pragma once
#include <string>

#include "core/TColor.h"
#include "gui/TWidget.h"
#include "media/TImageFont.h"

// One line of text on a dialog: a caption, a heading, a counted value. It
// draws in screen coordinates at its own position and has no size, so the
// mouse never finds it; the dialog moves it with its other children.
class TLabel : public TWidget {
    TOTEM_CLASS(TLabel)

    std::string text;
    // The text as the layout gave it; a dialog that fills in values (a score
    // into "Total: %s") rebuilds `text` from it.
    std::string XMLText;
    ColorPtr LabelColor = TColor::Create(200, 200, 200);  // null: the current colour
    FontPtr Font;                                         // null: the current font
    std::string id;                                       // its name in gui.xml

    TLabel();
    void Draw() override;
};

using LabelPtr = std::shared_ptr<TLabel>;
