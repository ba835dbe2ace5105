#pragma once
#include <cairo.h>

#include "ArtKit.h"
#include "game/HighwayGeometry.h"

// Painting on the note highway: every shape below is placed with the game's
// own highway formulas, so what the art shows is where the items really run.
// All functions take the screen position of the picture's top-left corner
// (`ox`, `oy`) and a `zoom` (0.5 for the half-size pictures the game draws at
// scale 2), and paint in the picture's own pixels.
struct ScreenFrame {
    double ox = 0, oy = 0, zoom = 1;
    double X(double screenX) const { return (screenX - ox) * zoom; }
    double Y(double screenY) const { return (screenY - oy) * zoom; }
};

// Lateral world extent of the whole highway: the outer edges of lines 0 and 4.
double HighwayLeftX();
double HighwayRightX();
// The first progress the painted highway shows (a little beyond the far end
// items start at, so the surface reaches back to the horizon).
inline constexpr double kHighwayFarProgress = -6.0;
// The progress at which the highway leaves the bottom of the 800×600 screen.
double HighwayBottomProgress();

// Appends to the path the quad of the highway between lateral world
// coordinates x0..x1 and progress t0..t1.
void HighwayQuad(cairo_t* cr, const ScreenFrame& f, double x0, double x1, double t0, double t1);
// A screen point of the highway surface in picture pixels.
void SurfaceXY(const ScreenFrame& f, double x, double t, double* px, double* py);

// A linear gradient running along the highway from progress t0 to t1 (screen
// rows of those progress values), for fading strokes into the horizon.
cairo_pattern_t* AlongHighway(const ScreenFrame& f, double t0, double t1);

// The glow of one line near the catch row, for the line lights: a soft patch
// in `colour` over the line's strip with a bright core at the catch point.
void PaintLineGlow(cairo_t* cr, const ScreenFrame& f, int line, Rgb colour, double strength);
