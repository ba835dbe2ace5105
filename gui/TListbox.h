#pragma once
#include <string>
#include <vector>

#include "gui/TWidget.h"
#include "media/TImageFont.h"

// A list of strings, one centred row each (the player profiles). A left
// press selects the row under the mouse, and the selection follows the mouse
// while the button is held. It tells nobody: its dialog reads Selected.
class TListbox : public TWidget {
    TOTEM_CLASS(TListbox)

    FontPtr Font;  // null: the built-in default font
    std::vector<std::string> List;
    int Selected = 1;  // 1-based; may point past the end, then nothing is lit

    void Draw() override;
    void MouseDown_(int button) override;

    // 1.8 times the height of "X" in the built-in font, or the list font's
    // own height when that is taller, so the names never overlap. It does not
    // depend on whatever was drawn last, so drawing and hit testing agree.
    float RowHeight() const;
};

using ListboxPtr = std::shared_ptr<TListbox>;
