#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/TObject.h"

class TEmitter;
class TWidget;
using WidgetPtr = std::shared_ptr<TWidget>;
// Listeners are held weakly: a dialog keeps its buttons, and a button that
// kept its dialog alive in return would never let either go.
using WidgetRef = std::weak_ptr<TWidget>;

// Base of everything on screen: screens, dialogs, buttons, labels. A widget is
// inert until added to the widget manager, which then routes the mouse to it,
// updates it and draws it every frame. Subclasses override the operations they
// care about; the base versions do nothing unless noted.
//
// Widgets are always held by shared handles; a widget that must hand itself
// out (a dialog naming itself as its buttons' listener, a box removing itself
// from the manager) gets its handle with weak_from_this().
class TWidget : public TObject, public std::enable_shared_from_this<TWidget> {
    TOTEM_CLASS(TWidget)

    float _x = 0, _y = 0;          // top-left on the 800×600 screen
    int _width = 0, _height = 0;
    float _originx = 0, _originy = 0;  // extra drawing offset when clipped
    int IsOver = 0;                // the mouse is over it (kept by the manager)
    int Modal = 0;                 // AddWidget makes it the modal widget
    int MouseSensetive = 1;        // hit testing may pick it
    int Enable = 1;                // updated, gets mouse moves, can be hit
    int Visible = 1;               // drawn
    int Clip = 1;                  // draws in local coordinates, clipped to itself
    // Particle emitters of subclasses that emit; the base never touches them.
    std::vector<std::shared_ptr<TEmitter>> Emitters;
    // Children (buttons, labels of a window). They are also ordinary entries
    // of the manager's list; this list moves, hides and removes them together.
    std::vector<WidgetPtr> Widgets;
    int x = 0, y = 0;              // offset inside the parent window
    int OnShowFirst = 0;           // the manager has delivered the first OnShow
    int Focused = 0;               // the keyboard's focus is here: shown as the hover is

    virtual void Update(float dt);
    virtual void Draw();
    virtual void Resize(int x, int y, int width, int height);
    virtual void SetPosition(int x, int y);
    // A child button with this id was clicked.
    virtual void DePress(int id);
    virtual void EventMouseLeave(int id);
    virtual void EventMouseEnter(int id);
    virtual void EventMouseOver(int id);
    virtual void CheckBoxChecked(int id, int state);
    virtual void ScrollBarChanged(int id, float value);
    virtual void InputFinished(int id, const std::string& text);
    // Every frame, on every enabled widget, with the mouse movement.
    virtual void MouseMove(int dx, int dy);
    virtual void MouseLeave();
    virtual void MouseEnter();
    virtual void AddedToManager();
    // Base: takes every child out of the widget manager too.
    virtual void RemovedFromManager();
    virtual void MouseUp(int button);
    // Every frame a button is held over the widget (1 left, 2 right, 3 middle).
    virtual void MouseDown_(int button);
    virtual void SetEnable(int flag);
    virtual void SetVisible(int flag);
    // Hides (and disables) or shows (and enables) the widget and its children.
    virtual void SetHided(int hide);
    // The widget became visible.
    virtual void OnShow();
    // Whether the keyboard's focus may stop here (base: no), and what Enter
    // on it does (base: nothing): what a click would.
    virtual bool KeyFocusable() const;
    virtual void KeyPress();
};
