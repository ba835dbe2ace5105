#pragma once
#include <list>
#include <memory>

#include "core/TObject.h"

class TVisuals;
using VisualsPtr = std::shared_ptr<TVisuals>;

// A screen-wide visual object (a screen shake, a wobble) kept in the `Visuals`
// registry and updated and drawn together with the others.
class TVisuals : public TObject {
    TOTEM_CLASS(TVisuals)

    int Death = 0;     // 1 = leave the registry at the next UpdateVisuals
    int Under = 0;     // drawn by DrawVisuals_Under
    int Over = 0;      // drawn by DrawVisuals_Over
    int Drawable = 1;
    int Constant = 0;  // 1 = survives ClearVisuals

    virtual void Update(float dt) = 0;
    virtual void Draw() = 0;

    // Updates everything in the registry and drops what died.
    static void UpdateVisuals(float dt);
    // Draws the visuals of one layer: neither Under nor Over / Under / Over.
    static void DrawVisuals();
    static void DrawVisuals_Under();
    static void DrawVisuals_Over();
    // Drops everything not marked Constant.
    static void ClearVisuals();
};

// The registry, in creation order.
extern std::list<VisualsPtr> Visuals;
