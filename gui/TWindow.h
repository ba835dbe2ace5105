#pragma once
#include <string>

#include "gui/TWidget.h"

// A widget with a name under which gui.xml keeps its layout.
class TWindow : public TWidget {
    TOTEM_CLASS(TWindow)

    std::string id;
};
