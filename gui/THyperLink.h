#pragma once
#include <string>

#include "core/TColor.h"
#include "gui/TWidget.h"
#include "media/TImageFont.h"

// A line of text that reacts to the mouse like a link: it lights up while
// pointed at and, when clicked, tells its listener (DePress(ID)) and opens its
// URL, if it has one, with the desktop's opener. The text is wrapped and
// centred within the link's rectangle.
class THyperLink : public TWidget {
    TOTEM_CLASS(THyperLink)

    std::string Text;
    ColorPtr NormalColor = TColor::Create(200, 200, 200);
    ColorPtr OverColor = TColor::Create(255, 255, 255);
    FontPtr Font;  // null: the built-in default font
    WidgetRef Listener;
    int ID = 0;
    // An address, or a ".url" shortcut beside the game, opened on a click.
    // A shortcut that is not there opens nothing (a web page named like the
    // missing file would only puzzle the player).
    std::string URL;

    void Draw() override;
    void MouseUp(int button) override;
};

using HyperLinkPtr = std::shared_ptr<THyperLink>;

// A link with its text, font, id and listener; the caller places and sizes it
// with Resize and adds it to the widget manager.
HyperLinkPtr CreateHyperLink(const std::string& text, const FontPtr& font, int id, const WidgetPtr& listener);
