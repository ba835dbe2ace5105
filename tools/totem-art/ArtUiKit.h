#pragma once
#include <cairo.h>

#include <cstdint>
#include <string>

#include "ArtKit.h"

// Brushes shared by the pictures of the menus, dialogs and loading screens:
// carved wood and stone plates, word labels, the two statue heads that watch
// the player from both sides of the main menu and the story map, and small
// pictograms for buttons. They sit beside ArtKit because only the interface
// areas use them.

namespace UiArt {

// Warm tones of the interface.
inline constexpr Rgb WoodLight{0.62, 0.40, 0.20};
inline constexpr Rgb WoodDark{0.28, 0.15, 0.07};
inline constexpr Rgb WoodEdge{0.18, 0.09, 0.04};
inline constexpr Rgb Cream{1.0, 0.95, 0.82};
inline constexpr Rgb Ink{0.17, 0.09, 0.04};
inline constexpr Rgb Torch{1.0, 0.62, 0.18};
inline constexpr Rgb Jade{0.20, 0.62, 0.45};
inline constexpr Rgb NightSky{0.07, 0.06, 0.16};

// Fills the current path with wood: a gradient across the grain, grain lines
// along it (horizontal when `horizontal`), knots; seeded and deterministic.
void FillWood(cairo_t* cr, Rgb light, Rgb dark, uint32_t seed, bool horizontal = true);

// A raised plate of carved wood with a darker rim and a highlight on its top
// edge; `hover` lights it with torch glow.
void WoodPlate(cairo_t* cr, double x, double y, double w, double h, double radius, uint32_t seed,
               bool hover);

// A raised plate of carved stone in the same manner.
void StonePlate(cairo_t* cr, double x, double y, double w, double h, double radius, uint32_t seed,
                bool hover);

// Fills the current path, keeping it, top to bottom from `top` at y0 to
// `bottom` at y1: the sunk groove of a bar or slider.
void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom);

// Glassy light over the current path, which it keeps: white at `topAlpha` at
// y0 fading to `fadeAlpha` at `fadeAt` (a fraction of the height), then a
// shade to black at `bottomAlpha` at y1. For filled bars and sliders.
void GlassShine(cairo_t* cr, double y0, double y1, double topAlpha, double fadeAt, double fadeAlpha,
                double bottomAlpha);

// A word painted as a carved title: gold-to-torch fill, dark outline, soft
// shadow, fitted into the box (shrunk when it would not fit).
void TitleWord(cairo_t* cr, const std::string& text, double x, double y, double w, double h,
               double size, Rgb top, Rgb bottom);

// Size of the font that fits `text` into `maxWidth`, at most `size`.
double FitFontSize(cairo_t* cr, const std::string& font, const std::string& text, double size,
                   double maxWidth);

// Left-aligned text at the baseline (x, y) in a plain colour.
void PlainText(cairo_t* cr, const std::string& font, double size, double x, double y,
               const std::string& text, Rgb colour, double alpha = 1.0);

// Wraps `text` into lines no wider than `width`, draws them from the top
// (x, y) and returns the y below the last line.
double WrappedText(cairo_t* cr, const std::string& font, double size, double x, double y,
                   double width, const std::string& text, Rgb colour, double lineGap = 1.25);

// The two statue heads at the sides of the landscape; their eye sockets lie
// exactly where the game draws the eye pictures ("left" or "right").
void StatueHead(cairo_t* cr, bool left, uint32_t seed);

// Eye sockets of the statue heads in screen pixels: where the eye pictures
// go and where their pupils rest.
struct StatueEyes {
    double picX, picY;      // top-left corner of the eye picture
    double pupil1X, pupil1Y;
    double pupil2X, pupil2Y;
};
StatueEyes EyesOf(bool left);
inline constexpr int kEyePictureW = 46;
inline constexpr int kEyePictureH = 16;

// Small pictograms, centred on (cx, cy) within `size`, in the current source.
enum class Icon { Play, Gear, Trophy, Question, Door, ArrowLeft, ArrowRight, Map, Replay, Next, Lock, Tick };
void IconPath(cairo_t* cr, Icon icon, double cx, double cy, double size);
// Fills the icon with a colour and a dark outline.
void PaintIcon(cairo_t* cr, Icon icon, double cx, double cy, double size, Rgb fill, Rgb outline);

// A round stone medallion with an icon: the face of the small picture
// buttons (results, help arrows).
void Medallion(cairo_t* cr, double cx, double cy, double r, Icon icon, bool hover, uint32_t seed);

}  // namespace UiArt
