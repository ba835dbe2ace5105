#pragma once

// The note highway as a 3-D strip seen in perspective, written once for
// everything that has to agree on it: the items and the catcher place
// themselves with these formulas, and the art generator paints the five lines,
// the line lights and the catch row with the very same ones, so that a note
// runs exactly along its painted line and meets the catcher where it stands.
//
// World coordinates: x across the highway (line 0 on the left), y up (the
// highway's height is given negated, as the items pass it), z towards the
// player. The eye sits 120 units in front of the screen; the vanishing point
// of the screen projection is (401, 220). An item's progress t runs from 0 at
// the far end to 100 past the player; it is drawn at depth t + 17.
struct HighwayPoint {
    float x = 0;
    float y = 0;
};

class HighwayGeometry {
public:
    static constexpr int kLines = 5;
    // Progress at which every item meets the catcher; a song note's item reaches
    // it exactly at the note's time (2445 ms at speed 1, one unit per 30 ms).
    static constexpr float kCatchProgress = 81.5f;
    // The catch window around it, open at both ends: an item is caught while its
    // progress lies strictly between these, and counts as missed once past the
    // close.
    static constexpr float kCatchWindowOpen = 81.25f;
    static constexpr float kCatchWindowClose = 83.0f;
    // Items stay invisible up to this progress, then fade in.
    static constexpr float kVisibleProgress = 15.0f;
    // An uncaught item leaves the highway here.
    static constexpr float kEndProgress = 100.0f;
    // Depth of the far end of the highway: progress t sits at depth t + 17.
    static constexpr float kDepthOffset = 17.0f;
    // Half the width of one line in world units (the edges of its strip).
    static constexpr float kLineHalfWidth = 6.3f;
    // Screen pixels per world unit across the highway, divided by the item
    // scale: an item picture 5 pixels wide per world unit fits its line.
    static constexpr float kPixelsPerUnitAtScale1 = 5.0f;

    // Lateral world coordinate of a line (0–4, left to right); 0 for any other.
    static float LineX(int line);
    // Height of the highway at progress z.
    static float LineY(float z);
    // Perspective projection of a world point onto the 800×600 screen.
    static HighwayPoint To2d(float x, float y, float z);

    // Where an item on `line` at progress t is drawn, and its drawing scale.
    static HighwayPoint ItemPosition(int line, float t);
    static float ItemScale(int line, float t);
    // A point at lateral world coordinate x and progress t on the highway.
    static HighwayPoint SurfacePoint(float x, float t);
    // The catch point of a line: where the catcher stands on it.
    static HighwayPoint CatchPoint(int line);

    // The progress whose row of the highway is drawn at screen height y (the
    // row's height does not depend on the line). Valid for y below the
    // horizon of the highway; used to paint rows of the highway by screen line.
    static float ProgressAtScreenY(float y);
};
