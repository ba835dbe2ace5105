#pragma once
#include <memory>
#include <vector>

#include "gui/TWidget.h"

// Lets the keyboard use the buttons (and whatever else offers itself, such as
// the map's level markers) of the active layer (the top modal dialog, or the
// screen when none is open), and so anything that speaks its
// keys: the first arrow or Tab puts a visible focus on the largest button
// (the screen's main action); then the arrows move it to the nearest button
// that way and Tab to the next one, round; Enter or Space presses the
// focused one as a click would. Nothing has the focus until an arrow or Tab
// is pressed, so Enter and Escape keep each dialog's own meaning for a
// player who never navigates; moving the mouse takes the focus away again.
// The widget manager owns one and runs it before the widgets' updates.
class TKeyboardFocus {
public:
    // `list`: the manager's widgets, of which `topModal` (when set) and those
    // after it may take input this frame. `mouseMoved`: the mouse moved since
    // the last frame.
    void Update(const std::vector<WidgetPtr>& list, const WidgetPtr& topModal, bool mouseMoved);
    // The focused widget, or null.
    WidgetPtr Focused() const { return focused_.lock(); }
    void Clear();

private:
    static std::vector<WidgetPtr> Candidates(const std::vector<WidgetPtr>& list, const WidgetPtr& topModal);
    void Move(const std::vector<WidgetPtr>& buttons, int dx, int dy);
    void Next(const std::vector<WidgetPtr>& buttons);
    void Set(const WidgetPtr& button);

    std::weak_ptr<TWidget> focused_;
};
