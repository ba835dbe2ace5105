#pragma once
#include <string>

#include "core/TColor.h"
#include "gui/TWidget.h"
#include "media/TImage.h"

// A picture on a dialog (a heading plaque, an ornament). The mouse passes
// through it to whatever lies below.
class TImageWidget : public TWidget {
    TOTEM_CLASS(TImageWidget)

    ImagePtr Image;
    ColorPtr Color;  // null: drawn in the current colour
    std::string id;  // its name in gui.xml

    TImageWidget();
    void Draw() override;
};

using ImageWidgetPtr = std::shared_ptr<TImageWidget>;
