#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/TObject.h"
#include "gui/TKeyboardFocus.h"
#include "gui/TWidget.h"

// Where the widget manager reads the mouse: the virtual (800×600) position and
// the button-down states. Defaults to the media layer's input; tests script it.
struct MouseSource {
    std::function<float()> x;
    std::function<float()> y;
    std::function<int(int button)> down;  // 1 left, 2 right, 3 middle
    MouseSource();
};

// Keeps every top-level widget in one flat list, polls the mouse once per
// frame and turns it into calls on widgets, updates them and draws them back
// to front. A modal widget freezes (no update, no hits) everything listed
// before it; everything is still drawn.
class TWidgetmanager : public TObject {
    TOTEM_CLASS(TWidgetmanager)

    // First entry is drawn first (furthest back).
    std::vector<WidgetPtr> WidgetsList;
    float OldMouseX = 0, OldMouseY = 0;
    int OldMouseButton = 0;     // button taken as held last frame, 0 = none
    // These may still name a widget already removed: it then still gets the
    // pending MouseLeave / MouseUp.
    WidgetPtr CurrentWidget;    // under the mouse
    WidgetPtr LastDownWidget;   // received the current press
    WidgetPtr TopModalWidget;   // it and everything after it are active

    MouseSource Mouse;
    // The keyboard's way to the active buttons and markers.
    TKeyboardFocus Focus;

    // The smallest enabled, mouse-sensitive, active widget strictly containing
    // the point; ties go to the earlier entry.
    WidgetPtr WidgetAt(int x, int y) const;
    // Hover tracking after the mouse moved.
    void MouseMove();
    void MouseDown_(int button);
    void MouseUp(int button);
    // Polls the mouse and dispatches moves, presses and releases.
    void UpdateListener();
    void Update(float dt);
    void Draw();
    void AddWidget(const WidgetPtr& w);
    // Inserts w before `before`; never makes it modal. Nothing when `before`
    // is not listed.
    void AddWidgetBefore(const WidgetPtr& w, const WidgetPtr& before);
    void RemoveWidget(const WidgetPtr& w);

    bool Contains(const TWidget* w) const;

private:
    // Widgets may add and remove widgets from inside the calls the manager
    // makes, so walks run over a copy of the list and skip entries removed
    // meanwhile (tracked by this counter).
    uint64_t _removals = 0;
    template <class Visit>
    void ForEachListed(Visit visit);
    // Takes the hover off the current widget (if any), with its MouseLeave.
    void LeaveCurrent();
    int MouseXi() const;
    int MouseYi() const;
};

// The one widget manager; the application creates it at start-up.
extern std::shared_ptr<TWidgetmanager> WidgetManager;
