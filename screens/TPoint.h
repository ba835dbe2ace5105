#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "core/TVector.h"
#include "fx/TEmitter.h"
#include "gui/TWidget.h"

class TPoint;
using PointPtr = std::shared_ptr<TPoint>;

// One numbered level marker on the story map's path. It shows whether its
// level is locked, the next to play (a star) or done (with the stars earned
// on it), lights up and sparkles while the mouse is over it, and starts its
// level when clicked, if it is unlocked. The map keeps it up to date; it is a
// widget of its own after the map in the widget manager, so it draws over it.
class TPoint : public TWidget {
    TOTEM_CLASS(TPoint)

    VectorPtr pos;
    int32_t num = 0;
    int32_t Star = 0;
    int32_t OverEmitterFlag = 0;
    EmitterPtr Emitter;
    int32_t locked = 0;
    int32_t Stars = 0;

    // A marker whose top-left corner is (x, y), the size of IMAGE_STORY_POINT,
    // numbered after the markers already in StoryPoints and added to the
    // widget manager. The caller appends it to StoryPoints.
    static PointPtr Create(float x, float y);

    void Draw() override;
    void MouseUp(int button) override;
    // An open marker takes the keyboard's focus; Enter starts its level.
    bool KeyFocusable() const override;
    void KeyPress() override;

private:
    void DrawHover(int cx, int cy);
    void DrawStars(int cx, int cy) const;
};

// The markers of the story map, in level order.
extern std::vector<PointPtr> StoryPoints;
