#pragma once
#include <cairo.h>

#include <cstdint>
#include <stdexcept>
#include <string>

// Shared brushes of the game's art: one palette, the fonts, and the few
// shapes every area reuses (glows, rounded panels, carved stone, outlined
// captions). Keeping them here is what makes the menus, the highway and the
// story map look like one island world.

struct ArtError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Rgb {
    double r, g, b;
};

namespace Palette {
// The five highway lines, matching the game's line colours.
Rgb Line(int index);
inline constexpr Rgb Gold{243 / 255.0, 206 / 255.0, 0.0};
inline constexpr Rgb Silver{0.82, 0.85, 0.9};
inline constexpr Rgb StoneLight{0.62, 0.55, 0.46};
inline constexpr Rgb StoneDark{0.30, 0.25, 0.21};
inline constexpr Rgb Wood{0.45, 0.27, 0.13};
inline constexpr Rgb DeepSea{0.04, 0.20, 0.33};
inline constexpr Rgb Lagoon{0.10, 0.55, 0.62};
inline constexpr Rgb Sunset{0.98, 0.55, 0.22};
inline constexpr Rgb Parchment{0.96, 0.88, 0.70};
inline constexpr Rgb EyeGlow{1.0, 0.78, 0.25};
}  // namespace Palette

void SetRgb(cairo_t* cr, Rgb c, double alpha = 1.0);

// Font faces from the Debian font packages the build installs:
// "lobster" (titles), "comfortaa" / "comfortaa-bold" (captions),
// "cabin" / "cabin-bold" (body text), "dejavu" / "dejavu-bold" (fallback).
// Throws ArtError naming the file when a font cannot be opened.
cairo_font_face_t* ArtFont(const std::string& name);

// A caption centred on (cx, cy) with an outline under the fill.
void OutlinedText(cairo_t* cr, const std::string& font, double size, double cx, double cy,
                  const std::string& utf8, Rgb fill, Rgb outline, double outlineWidth);

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);

// A star of `points` points centred on (cx, cy), its first point straight up
// turned by `rotation` radians.
void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, double rotation = 0,
              int points = 5);

// Fills the current path, keeping it, with the five line colours in order
// from x0 to x1.
void FillLineRainbow(cairo_t* cr, double x0, double x1);

// Fills the current path in `fill` and outlines it in `outline`; the path is
// used up.
void FillAndOutline(cairo_t* cr, Rgb fill, Rgb outline, double width);

// A soft round light fading to transparent at `radius`.
void Glow(cairo_t* cr, double cx, double cy, double radius, Rgb colour, double alpha);

// Fills the current path with carved stone: a vertical gradient between the
// two tones, speckles and a few cracks, seeded so every build paints the same.
void FillStone(cairo_t* cr, Rgb light, Rgb dark, uint32_t seed);

// Paints an SVG file from assets/art/ (path relative to the repository, or an
// absolute path) into
// the box; throws ArtError naming the file when it does not decode.
void PaintSvg(cairo_t* cr, const std::string& repoPath, double x, double y, double w, double h);

// A small deterministic random source for textures (same seed, same picture).
class ArtRandom {
public:
    explicit ArtRandom(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    uint32_t Next();
    double Uniform(double lo, double hi);

private:
    uint32_t state_;
};
