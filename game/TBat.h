#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "core/TVector.h"
#include "game/TItem.h"
#include "game/TLineLight.h"

class TBat;
using BatPtr = std::shared_ptr<TBat>;

// The player's catcher at the near end of the highway. It slides across the
// five lines after the mouse (or jumps to a line while one of X C V N M is
// held), tells the catching rules its line through `LineNum`, swells on each
// catch, turns silver or gold with a ×2 or ×4 badge as the combo meter rises,
// and owns the five line lights. The highway creates one per level with
// Create, sets `owner`, and updates and draws it every frame. It shares the
// item geometry but not the item movement: it always stands at the catch point.
class TBat : public TItem {
    TOTEM_CLASS(TBat)

    float mx = 0;                              // target x on the screen
    VectorPtr ToPos;                           // screen position; the very object `pos` is
    std::array<LineLightPtr, 5> LineLight{};   // one light per line
    int32_t DrawMult = 0;                      // badge drawn: 0, 2 or 4

    // Range of the target x: the centres of the outer lines' catch points.
    static constexpr float kMinX = 257;
    static constexpr float kMaxX = 558;

    // A catcher on line 1 at rest, its lights resting; `owner` is the highway.
    static BatPtr Create(ItemOwner* owner = nullptr);

    void Draw() override;
    void Update(float dt) override;
    // Places the catcher at the catch point of its line (creation only).
    virtual void UpdatePosition();

    // The line a target x selects, clamping x to the catcher's range at the
    // outer lines.
    static int LineForX(float& x);
    // Where a line's key puts the target: well inside that line's range.
    static float LineKeyX(int line);

private:
    void FollowMouse();
    void FollowKeys();
    void UpdateLook();
    void UpdatePulses(float dt);
};
