// The ten particle pictures. They are white and light grey on transparency so
// that every effect can tint them with its own colours; shape and soft edges
// are all they carry. Each is drawn centred in its square (the effects draw
// them by the centre handle) with a transparent rim so scaled-up particles do
// not show hard edges.

#include <cairo.h>

#include <cmath>

#include "ArtKit.h"
#include "ArtRegistry.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Rgb kWhite{1, 1, 1};

// A radial fall-off from `alpha` at the centre to nothing at `radius`, with a
// curve that keeps a bright core (`power` > 1 narrows it).
void SoftDisc(cairo_t* cr, double cx, double cy, double radius, double alpha, double power) {
    cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    for (int i = 0; i <= 8; ++i) {
        const double t = i / 8.0;
        cairo_pattern_add_color_stop_rgba(g, t, 1, 1, 1, alpha * std::pow(1 - t, power));
    }
    cairo_set_source(cr, g);
    cairo_arc(cr, cx, cy, radius, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// A thin ray from the centre, bright at the middle and fading to its tips.
void Ray(cairo_t* cr, double cx, double cy, double length, double width, double angleDeg, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angleDeg * kPi / 180);
    cairo_pattern_t* g = cairo_pattern_create_linear(-length, 0, length, 0);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(g, 0.5, 1, 1, 1, alpha);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0);
    cairo_set_source(cr, g);
    // A lens shape: widest at the centre, pointed at both ends.
    cairo_move_to(cr, -length, 0);
    cairo_curve_to(cr, -length / 3, -width / 2, length / 3, -width / 2, length, 0);
    cairo_curve_to(cr, length / 3, width / 2, -length / 3, width / 2, -length, 0);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
}

// 01: the all-purpose soft dot.
void PaintDot(cairo_t* cr) { SoftDisc(cr, 16, 16, 15, 1.0, 1.6); }

// 02: a four-ray spark with a hot core.
void PaintSpark(cairo_t* cr) {
    SoftDisc(cr, 16, 16, 9, 0.55, 2.0);
    Ray(cr, 16, 16, 15, 4.5, 0, 1.0);
    Ray(cr, 16, 16, 15, 4.5, 90, 1.0);
    Ray(cr, 16, 16, 8, 2.5, 45, 0.7);
    Ray(cr, 16, 16, 8, 2.5, -45, 0.7);
    SoftDisc(cr, 16, 16, 4, 1.0, 1.0);
}

// 03: a five-pointed star, filled white with a faint grey inner bevel.
void PaintStar(cairo_t* cr) {
    SoftDisc(cr, 16, 16, 15.5, 0.35, 2.2);
    StarPath(cr, 16, 16.8, 12.5, 5.4);
    SetRgb(cr, kWhite);
    cairo_fill(cr);
    StarPath(cr, 16, 16.8, 7.5, 3.3);
    SetRgb(cr, {0.86, 0.86, 0.86});
    cairo_fill(cr);
    SoftDisc(cr, 16, 16.8, 4, 0.9, 1.0);
}

// 04: a thin glowing ring for shock waves and pulses.
void PaintRing(cairo_t* cr) {
    cairo_pattern_t* g = cairo_pattern_create_radial(32, 32, 0, 32, 32, 31);
    cairo_pattern_add_color_stop_rgba(g, 0.0, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(g, 0.55, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(g, 0.74, 1, 1, 1, 0.45);
    cairo_pattern_add_color_stop_rgba(g, 0.82, 1, 1, 1, 1.0);
    cairo_pattern_add_color_stop_rgba(g, 0.90, 1, 1, 1, 0.45);
    cairo_pattern_add_color_stop_rgba(g, 1.0, 1, 1, 1, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, 32, 32, 31, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// 05: a flare: wide soft halo, a long horizontal streak and a short cross.
void PaintFlare(cairo_t* cr) {
    SoftDisc(cr, 32, 32, 28, 0.45, 2.4);
    Ray(cr, 32, 32, 31, 5, 0, 0.95);
    Ray(cr, 32, 32, 16, 3.5, 90, 0.7);
    SoftDisc(cr, 32, 32, 7, 1.0, 1.2);
}

// 06: a smoke puff: several overlapping lumpy blobs in light grey.
void PaintSmoke(cairo_t* cr) {
    ArtRandom rnd(61);
    for (int i = 0; i < 9; ++i) {
        const double a = rnd.Uniform(0, 2 * kPi);
        const double d = rnd.Uniform(0, 11);
        const double r = rnd.Uniform(11, 17);
        const double cx = 32 + d * std::cos(a), cy = 32 + d * std::sin(a);
        cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.25, cy - r * 0.3, 0, cx, cy, r);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.34);
        cairo_pattern_add_color_stop_rgba(g, 0.6, 0.85, 0.85, 0.85, 0.22);
        cairo_pattern_add_color_stop_rgba(g, 1, 0.75, 0.75, 0.75, 0);
        cairo_set_source(cr, g);
        cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
}

// 07: a beamed pair of notes, the highway's own sign for a melody.
void PaintNote(cairo_t* cr) {
    SoftDisc(cr, 16, 16, 15.5, 0.25, 2.0);
    SetRgb(cr, kWhite);
    // Two slanted heads.
    for (double hx : {9.5, 22.0}) {
        cairo_save(cr);
        cairo_translate(cr, hx, hx == 9.5 ? 23.5 : 21.0);
        cairo_rotate(cr, -0.45);
        cairo_scale(cr, 1.0, 0.72);
        cairo_arc(cr, 0, 0, 4.2, 0, 2 * kPi);
        cairo_restore(cr);
        cairo_fill(cr);
    }
    // Stems and the beam.
    cairo_set_line_width(cr, 1.8);
    cairo_move_to(cr, 13.2, 22.5);
    cairo_line_to(cr, 13.2, 8.5);
    cairo_move_to(cr, 25.7, 20.0);
    cairo_line_to(cr, 25.7, 6.0);
    cairo_stroke(cr);
    cairo_move_to(cr, 12.3, 8.8);
    cairo_line_to(cr, 26.6, 5.2);
    cairo_line_to(cr, 26.6, 9.0);
    cairo_line_to(cr, 12.3, 12.6);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// 08: a leaf with a midrib, for the island's breezes.
void PaintLeaf(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 16, 16);
    cairo_rotate(cr, -0.6);
    cairo_move_to(cr, -13, 0);
    cairo_curve_to(cr, -6, -9, 6, -8, 13, 0);
    cairo_curve_to(cr, 6, 8, -6, 9, -13, 0);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, -8, 0, 8);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(g, 1, 0.78, 0.78, 0.78, 1);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_set_source_rgba(cr, 0.62, 0.62, 0.62, 0.9);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, -13, 0);
    cairo_curve_to(cr, -4, -1, 4, -1, 12, 0);
    cairo_stroke(cr);
    for (int i = -2; i <= 2; ++i) {
        const double x = i * 4.0;
        cairo_move_to(cr, x, -0.5);
        cairo_line_to(cr, x + 3, -4.5);
        cairo_move_to(cr, x, 0.3);
        cairo_line_to(cr, x + 3, 4.3);
    }
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// 09: a water droplet, pointed end up, with a highlight; it falls head first.
void PaintDroplet(cairo_t* cr) {
    cairo_move_to(cr, 8, 1.5);
    cairo_curve_to(cr, 10, 7, 14.5, 11, 14.5, 16);
    cairo_curve_to(cr, 14.5, 20, 11.5, 22.5, 8, 22.5);
    cairo_curve_to(cr, 4.5, 22.5, 1.5, 20, 1.5, 16);
    cairo_curve_to(cr, 1.5, 11, 6, 7, 8, 1.5);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(6, 14, 1, 8, 16, 9);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(g, 1, 0.72, 0.72, 0.72, 0.85);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_arc(cr, 5.6, 14.5, 1.6, 0, 2 * kPi);
    SetRgb(cr, kWhite);
    cairo_fill(cr);
}

// 10: a gold glint: a sharp eight-ray twinkle on a warm halo (tinted gold by
// the effects that use it).
void PaintGlint(cairo_t* cr) {
    SoftDisc(cr, 24, 24, 20, 0.5, 2.5);
    Ray(cr, 24, 24, 23, 3.8, 0, 1.0);
    Ray(cr, 24, 24, 23, 3.8, 90, 1.0);
    Ray(cr, 24, 24, 12, 2.4, 45, 0.85);
    Ray(cr, 24, 24, 12, 2.4, 135, 0.85);
    SoftDisc(cr, 24, 24, 5, 1.0, 0.8);
}

}  // namespace

TOTEM_ART(RegisterParticleArt) {
    AddArt({"media/gfx/particles/dot.png", 32, 32, PaintDot});
    AddArt({"media/gfx/particles/spark.png", 32, 32, PaintSpark});
    AddArt({"media/gfx/particles/star.png", 32, 32, PaintStar});
    AddArt({"media/gfx/particles/ring.png", 64, 64, PaintRing});
    AddArt({"media/gfx/particles/flare.png", 64, 64, PaintFlare});
    AddArt({"media/gfx/particles/smoke.png", 64, 64, PaintSmoke});
    AddArt({"media/gfx/particles/note.png", 32, 32, PaintNote});
    AddArt({"media/gfx/particles/leaf.png", 32, 32, PaintLeaf});
    AddArt({"media/gfx/particles/droplet.png", 16, 24, PaintDroplet});
    AddArt({"media/gfx/particles/glint.png", 48, 48, PaintGlint});
}
