#pragma once
#include <string>

#include "gui/TButtonWidget.h"
#include "gui/TCheckbox.h"
#include "gui/TDialog.h"
#include "gui/TScrollBarH.h"

// Builds dialogs from the layouts in gui.xml (GuiDocument). A dialog's opener
// creates it, names it (its `id`) and hands it to LoadWindow; the dialog's
// AddedToManager asks for each of its controls by name. Every control is
// registered with the widget manager after its dialog, so it is drawn over it
// and stays active while the dialog is modal, and it is listed among the
// dialog's children, so it moves and goes away with it.
//
// Only the root's direct children are read, in document order. Buttons,
// scroll bars and check boxes of a named window must name it in `window_id`;
// for a window without a name any element with the asked-for `id` will do.
// A name the layout lacks gives null and creates nothing: every dialog must
// cope with a missing control.

// Gives the dialog the game's frame, adds it to the widget manager (it turns
// modal and builds its controls), then sizes and places it from its "window"
// element: `size` when given, `pos` or, for (-1, -1) or no element at all,
// the centre of the screen.
void LoadWindow(const DialogPtr& dialog);

// The "button" `id` of the window: its face from `image`, its hover and
// pressed faces, caption TextTable[`text`] in FONT_MENU, the hover particles
// EFFECT_BUTTON, and the window as the listener to which it reports
// `buttonId`. Pressed, it shifts 1 pixel right and 2 down. `add` non-zero
// registers it with the widget manager.
ButtonPtr LoadButton(TDialog& window, const std::string& id, int buttonId, int add);
// The "scrollbarh" `id` of the window; `pos` is the left end of its track.
ScrollBarPtr LoadScrollBar(TDialog& window, const std::string& id, int scrollId, int add);
// The "checkbox" `id` of the window (the element name in any case), checked
// when `state` is 1.
CheckboxPtr LoadCheckBox(TDialog& window, const std::string& id, int checkId, int state, int add);
// Every "label" and "image" whose window_id is `windowId` (the window's own
// id when empty), placed on `window` and registered with the widget manager.
// An image whose picture is not loaded is skipped with the line
// "IMAGE TO WIDGET NOT FOUND: <id>".
void LoadStatics(TDialog& window, const std::string& windowId);
