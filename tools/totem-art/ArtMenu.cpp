// The main menu's landscape and its pieces. Layers, back to front: the sky and
// sea (back), the sun turned and scaled 2.5× about its centre at (400, 317),
// three animals crossing at y = 370, 440 and 410, the foreground with the two
// statue heads (layer1), the wooden frame centred at y = 165 when at rest, the
// logo at the top, and the statues' eye pictures with their pupils drawn over
// the sockets painted in the foreground.

#include <cmath>
#include <tuple>

#include "ArtKit.h"
#include "ArtRegistry.h"
#include "ArtUiKit.h"

using namespace UiArt;

namespace {

constexpr double kHorizon = 300;
constexpr double kShore = 470;
constexpr int kSun = 200;
constexpr int kFrameW = 340;
constexpr int kFrameH = 440;
constexpr int kLogoW = 420;
constexpr int kLogoH = 190;
constexpr int kPupil = 7;

// ---- Landscape ---------------------------------------------------------------

void Cloud(cairo_t* cr, double x, double y, double s, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s * 0.45);
    for (auto [dx, dy, r] : {std::tuple{0.0, 0.0, 30.0}, {28.0, -8.0, 24.0}, {-30.0, 4.0, 22.0}, {55.0, 6.0, 18.0},
                             {-55.0, 10.0, 15.0}}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, dx, dy, r, 0, 2 * M_PI);
    }
    cairo_restore(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y - 20 * s * 0.45, 0, y + 25 * s * 0.45);
    cairo_pattern_add_color_stop_rgba(g, 0, 1.0, 0.78, 0.55, alpha);
    cairo_pattern_add_color_stop_rgba(g, 1, 0.62, 0.30, 0.40, alpha);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void PaintMenuBack(cairo_t* cr) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, kHorizon);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.16, 0.14, 0.38);
    cairo_pattern_add_color_stop_rgb(sky, 0.45, 0.55, 0.30, 0.48);
    cairo_pattern_add_color_stop_rgb(sky, 0.8, 0.98, 0.56, 0.32);
    cairo_pattern_add_color_stop_rgb(sky, 1, 1.0, 0.80, 0.45);
    cairo_rectangle(cr, 0, 0, 800, kHorizon);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    Glow(cr, 400, kHorizon, 330, Rgb{1.0, 0.85, 0.5}, 0.45);
    Cloud(cr, 110, 70, 1.5, 0.55);
    Cloud(cr, 690, 110, 1.8, 0.5);
    Cloud(cr, 560, 40, 1.0, 0.4);
    Cloud(cr, 250, 170, 1.2, 0.35);
    Cloud(cr, 720, 230, 0.9, 0.3);

    // Far islands: a smoking volcano on the left, a long ridge on the right.
    cairo_move_to(cr, 20, kHorizon);
    cairo_curve_to(cr, 60, 280, 90, 245, 120, 232);
    cairo_line_to(cr, 140, 232);
    cairo_curve_to(cr, 170, 250, 200, 285, 250, kHorizon);
    cairo_close_path(cr);
    cairo_move_to(cr, 520, kHorizon);
    cairo_curve_to(cr, 560, 270, 610, 262, 640, 275);
    cairo_curve_to(cr, 680, 255, 730, 262, 800, 280);
    cairo_line_to(cr, 800, kHorizon);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 0.36, 0.22, 0.38, 0.9);
    cairo_fill(cr);
    for (int i = 0; i < 4; ++i) {
        cairo_arc(cr, 132 + i * 9, 220 - i * 16, 8 + i * 4, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0.55, 0.42, 0.5, 0.35 - i * 0.07);
        cairo_fill(cr);
    }

    // Sea with a path of light under the sun.
    cairo_pattern_t* sea = cairo_pattern_create_linear(0, kHorizon, 0, kShore);
    cairo_pattern_add_color_stop_rgb(sea, 0, 0.45, 0.42, 0.55);
    cairo_pattern_add_color_stop_rgb(sea, 0.3, 0.12, 0.42, 0.55);
    cairo_pattern_add_color_stop_rgb(sea, 1, 0.05, 0.30, 0.42);
    cairo_rectangle(cr, 0, kHorizon, 800, kShore - kHorizon + 10);
    cairo_set_source(cr, sea);
    cairo_fill(cr);
    cairo_pattern_destroy(sea);
    ArtRandom rnd(881);
    for (int i = 0; i < 420; ++i) {
        const double y = rnd.Uniform(kHorizon + 2, kShore);
        const double depth = (y - kHorizon) / (kShore - kHorizon);
        const double x = rnd.Uniform(0, 800);
        const double len = rnd.Uniform(6, 22) * (0.5 + depth);
        const double nearSun = std::max(0.0, 1 - std::abs(x - 400) / (60 + depth * 160));
        cairo_move_to(cr, x - len / 2, y);
        cairo_curve_to(cr, x - len / 4, y - 1.5, x + len / 4, y - 1.5, x + len / 2, y);
        cairo_set_source_rgba(cr, 1, 0.85 - 0.2 * nearSun, 0.6, 0.12 + 0.5 * nearSun);
        cairo_set_line_width(cr, 1 + depth);
        cairo_stroke(cr);
    }
    // Beach.
    cairo_move_to(cr, 0, kShore + 6);
    cairo_curve_to(cr, 200, kShore - 8, 600, kShore + 14, 800, kShore - 4);
    cairo_line_to(cr, 800, 600);
    cairo_line_to(cr, 0, 600);
    cairo_close_path(cr);
    FillVertical(cr, kShore, 600, Rgb{0.95, 0.80, 0.55}, Rgb{0.72, 0.50, 0.30});
    cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void Palm(cairo_t* cr, double x, double y, double height, double lean, uint32_t seed) {
    ArtRandom rnd(seed);
    const double tx = x + lean, ty = y - height;
    cairo_move_to(cr, x - 7, y);
    cairo_curve_to(cr, x - 5, y - height * 0.5, tx - 6, ty + height * 0.3, tx - 3, ty);
    cairo_line_to(cr, tx + 3, ty);
    cairo_curve_to(cr, tx + 5, ty + height * 0.3, x + 6, y - height * 0.5, x + 8, y);
    cairo_close_path(cr);
    FillWood(cr, Rgb{0.50, 0.36, 0.22}, Rgb{0.24, 0.15, 0.09}, seed, false);
    cairo_new_path(cr);
    for (int i = 0; i < 9; ++i) {
        const double a = -M_PI + i * M_PI / 8 + rnd.Uniform(-0.15, 0.15);
        const double len = rnd.Uniform(55, 80);
        const double ex = tx + len * std::cos(a), ey = ty + len * std::sin(a) * 0.55 + 25;
        cairo_move_to(cr, tx, ty);
        cairo_curve_to(cr, tx + len * 0.5 * std::cos(a), ty + len * 0.5 * std::sin(a) * 0.8 - 12, ex, ey - 10, ex, ey);
        cairo_curve_to(cr, ex - 4, ey - 4, tx + len * 0.4 * std::cos(a), ty + len * 0.4 * std::sin(a) * 0.8, tx, ty + 4);
        const double shade = rnd.Uniform(0, 0.1);
        cairo_set_source_rgb(cr, 0.10 + shade, 0.30 + shade, 0.14);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 0.02, 0.1, 0.03, 0.7);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    for (int i = 0; i < 3; ++i) {
        cairo_arc(cr, tx - 5 + i * 5, ty + 5 + (i % 2) * 3, 4.5, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, 0.30, 0.20, 0.10);
        cairo_fill(cr);
    }
}

void Fern(cairo_t* cr, double x, double y, double size, double dir, uint32_t seed) {
    ArtRandom rnd(seed);
    for (int i = 0; i < 7; ++i) {
        const double a = -M_PI / 2 + dir * (i - 3) * 0.32 + rnd.Uniform(-0.1, 0.1);
        const double len = size * rnd.Uniform(0.7, 1.0);
        const double ex = x + len * std::cos(a), ey = y + len * std::sin(a);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + (ex - x) * 0.3 - 8, y + (ey - y) * 0.6, ex - 6, ey + 6, ex, ey);
        cairo_curve_to(cr, ex + 6, ey + 8, x + (ex - x) * 0.3 + 8, y + (ey - y) * 0.6, x + 3, y);
        const double g = rnd.Uniform(0.3, 0.5);
        cairo_set_source_rgb(cr, 0.08, g, 0.15);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 0, 0.08, 0.02, 0.6);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

void Flower(cairo_t* cr, double x, double y, Rgb c) {
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * M_PI / 5;
        cairo_arc(cr, x + 5 * std::cos(a), y + 5 * std::sin(a), 4, 0, 2 * M_PI);
        SetRgb(cr, c);
        cairo_fill(cr);
    }
    cairo_arc(cr, x, y, 2.5, 0, 2 * M_PI);
    SetRgb(cr, Palette::Gold);
    cairo_fill(cr);
}

// A statue buried to its shoulders in a sand mound, with its palm and
// undergrowth; the sea stays open around it so the animals show.
void Headland(cairo_t* cr, bool left) {
    const double s = left ? 1 : -1;
    const double ox = left ? 0 : 800;
    Palm(cr, left ? 32 : 768, 520, 230, s * 26, left ? 11 : 12);
    StatueHead(cr, left, left ? 71 : 72);
    // Sand mound around the shoulders.
    cairo_move_to(cr, ox, 520);
    cairo_curve_to(cr, ox + s * 80, 525, ox + s * 200, 540, ox + s * 260, 600);
    cairo_line_to(cr, ox, 600);
    cairo_close_path(cr);
    cairo_pattern_t* sand = cairo_pattern_create_linear(0, 520, 0, 600);
    cairo_pattern_add_color_stop_rgb(sand, 0, 0.90, 0.74, 0.48);
    cairo_pattern_add_color_stop_rgb(sand, 1, 0.70, 0.50, 0.30);
    cairo_set_source(cr, sand);
    cairo_fill(cr);
    cairo_pattern_destroy(sand);
    Fern(cr, left ? 40 : 760, 600, 80, s, left ? 21 : 22);
    Fern(cr, left ? 215 : 585, 600, 70, -s, left ? 23 : 24);
    Fern(cr, left ? 130 : 670, 600, 60, s, left ? 25 : 26);
    for (int i = 0; i < 4; ++i) Flower(cr, (left ? 30 : 700) + i * 26, 560 + (i % 2) * 14, Palette::Line(left ? i : 4 - i));
}

void PaintMenuLayer(cairo_t* cr) {
    // Dune along the bottom so the animals pass behind the beach grass.
    cairo_move_to(cr, 0, 560);
    cairo_curve_to(cr, 200, 540, 600, 575, 800, 548);
    cairo_line_to(cr, 800, 600);
    cairo_line_to(cr, 0, 600);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.80, 0.62, 0.38);
    cairo_fill(cr);
    ArtRandom rnd(707);
    for (int i = 0; i < 90; ++i) {
        const double x = rnd.Uniform(0, 800), y = rnd.Uniform(552, 575);
        cairo_move_to(cr, x, y + 10);
        cairo_curve_to(cr, x + 2, y, x + rnd.Uniform(-6, 6), y - 10, x + rnd.Uniform(-8, 8), y - rnd.Uniform(12, 26));
        cairo_set_source_rgba(cr, 0.25, 0.45, 0.18, 0.8);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    Headland(cr, true);
    Headland(cr, false);
}

// ---- Animals (they walk left to right, except the turtle) --------------------

void PaintTurtle(cairo_t* cr) {
    // A sea turtle swimming left, shell just above the water.
    const double y = 22;
    cairo_move_to(cr, 2, y + 9);
    cairo_curve_to(cr, 20, y + 6, 52, y + 6, 70, y + 9);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.5);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Flippers.
    cairo_move_to(cr, 24, y + 2);
    cairo_curve_to(cr, 14, y + 8, 8, y + 12, 4, y + 11);
    cairo_curve_to(cr, 12, y + 4, 18, y, 26, y - 2);
    cairo_set_source_rgb(cr, 0.32, 0.48, 0.30);
    cairo_fill(cr);
    // Head.
    cairo_arc(cr, 12, y - 6, 7, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.40, 0.56, 0.34);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.1, 0.18, 0.08, 1);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_arc(cr, 9, y - 8, 1.5, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.05);
    cairo_fill(cr);
    // Shell.
    cairo_move_to(cr, 18, y + 4);
    cairo_curve_to(cr, 20, y - 18, 62, y - 18, 66, y + 4);
    cairo_close_path(cr);
    FillVertical(cr, y - 16, y + 4, Rgb{0.55, 0.45, 0.22}, Rgb{0.28, 0.22, 0.10});
    cairo_set_source_rgb(cr, 0.15, 0.10, 0.05);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (double px : {32.0, 42.0, 52.0}) {
        cairo_move_to(cr, px - 5, y - 6);
        cairo_line_to(cr, px, y - 11);
        cairo_line_to(cr, px + 5, y - 6);
        cairo_line_to(cr, px, y - 1);
        cairo_close_path(cr);
    }
    cairo_set_source_rgba(cr, 0.9, 0.75, 0.4, 0.45);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

void PaintBird(cairo_t* cr) {
    // A white seabird gliding right.
    cairo_move_to(cr, 8, 8);
    cairo_curve_to(cr, 18, 6, 26, 10, 30, 16);
    cairo_curve_to(cr, 36, 10, 46, 4, 58, 4);
    cairo_curve_to(cr, 48, 10, 40, 16, 36, 20);
    cairo_curve_to(cr, 30, 22, 26, 20, 22, 18);
    cairo_curve_to(cr, 18, 14, 14, 11, 8, 8);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.97, 0.95, 0.92);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.25, 0.22, 0.25);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    // Wing tips.
    for (auto [x0, y0, x1, y1] : {std::tuple{8.0, 8.0, 15.0, 10.0}, {58.0, 4.0, 50.0, 7.0}}) {
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        cairo_set_source_rgb(cr, 0.15, 0.15, 0.18);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
    }
    // Body and head.
    cairo_save(cr);
    cairo_translate(cr, 32, 19);
    cairo_scale(cr, 1, 0.45);
    cairo_arc(cr, 0, 0, 11, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    cairo_arc(cr, 43, 17, 3.5, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_move_to(cr, 46, 16);
    cairo_line_to(cr, 52, 18);
    cairo_line_to(cr, 46, 19);
    cairo_set_source_rgb(cr, 1.0, 0.65, 0.1);
    cairo_fill(cr);
    // Its shadow on the water.
    cairo_save(cr);
    cairo_translate(cr, 32, 27);
    cairo_scale(cr, 1, 0.15);
    cairo_arc(cr, 0, 0, 18, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 0, 0.1, 0.15, 0.25);
    cairo_fill(cr);
}

void PaintWhale(cairo_t* cr) {
    // A whale's back breaking the surface, heading right, with its spout.
    const double sea = 32;
    cairo_move_to(cr, 6, sea);
    cairo_curve_to(cr, 20, sea - 14, 55, sea - 20, 82, sea - 8);
    cairo_curve_to(cr, 88, sea - 5, 90, sea - 2, 90, sea);
    cairo_close_path(cr);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, sea - 20, 0, sea);
    cairo_pattern_add_color_stop_rgb(body, 0, 0.30, 0.38, 0.55);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.10, 0.16, 0.28);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    // Dorsal fin and tail fluke.
    cairo_move_to(cr, 34, sea - 15);
    cairo_curve_to(cr, 32, sea - 22, 28, sea - 24, 24, sea - 24);
    cairo_curve_to(cr, 27, sea - 20, 27, sea - 16, 26, sea - 13);
    cairo_set_source_rgb(cr, 0.18, 0.25, 0.40);
    cairo_fill(cr);
    cairo_move_to(cr, 8, sea - 2);
    cairo_curve_to(cr, 2, sea - 10, 0, sea - 16, 2, sea - 20);
    cairo_curve_to(cr, 6, sea - 14, 10, sea - 12, 14, sea - 6);
    cairo_fill(cr);
    // Highlight along the back.
    cairo_move_to(cr, 30, sea - 14);
    cairo_curve_to(cr, 50, sea - 19, 66, sea - 16, 80, sea - 9);
    cairo_set_source_rgba(cr, 1, 0.8, 0.6, 0.45);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Spout.
    for (int i = 0; i < 9; ++i) {
        const double a = -M_PI / 2 + (i - 4) * 0.22;
        cairo_arc(cr, 74 + 14 * std::cos(a), sea - 18 + 14 * std::sin(a), 2.6, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0.9, 0.95, 1, 0.75);
        cairo_fill(cr);
    }
    cairo_move_to(cr, 74, sea - 12);
    cairo_line_to(cr, 74, sea - 30);
    cairo_set_source_rgba(cr, 0.9, 0.95, 1, 0.7);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    // Foam at the waterline.
    for (int i = 0; i < 12; ++i) {
        cairo_arc(cr, 6 + i * 7.5, sea + (i % 2), 2.2, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
        cairo_fill(cr);
    }
}

// ---- Sun and eyes -----------------------------------------------------------------

void PaintSun(cairo_t* cr) {
    const double c = kSun / 2.0;
    // Soft rays: they turn with the picture and peek around the frame.
    for (int i = 0; i < 18; ++i) {
        const double a = i * 2 * M_PI / 18;
        const double len = (i % 2 == 0) ? c : c * 0.72;
        const double wdt = (i % 2 == 0) ? 0.11 : 0.08;
        cairo_move_to(cr, c + 20 * std::cos(a - wdt * 2), c + 20 * std::sin(a - wdt * 2));
        cairo_line_to(cr, c + len * std::cos(a - wdt * 0.4), c + len * std::sin(a - wdt * 0.4));
        cairo_line_to(cr, c + len * std::cos(a + wdt * 0.4), c + len * std::sin(a + wdt * 0.4));
        cairo_line_to(cr, c + 20 * std::cos(a + wdt * 2), c + 20 * std::sin(a + wdt * 2));
        cairo_close_path(cr);
        cairo_pattern_t* ray = cairo_pattern_create_radial(c, c, 20, c, c, len);
        cairo_pattern_add_color_stop_rgba(ray, 0, 1.0, 0.90, 0.55, 0.75);
        cairo_pattern_add_color_stop_rgba(ray, 0.7, 1.0, 0.75, 0.40, 0.45);
        cairo_pattern_add_color_stop_rgba(ray, 1, 1.0, 0.6, 0.3, 0.0);
        cairo_set_source(cr, ray);
        cairo_fill(cr);
        cairo_pattern_destroy(ray);
    }
    Glow(cr, c, c, 48, Rgb{1.0, 0.85, 0.45}, 0.8);
    cairo_arc(cr, c, c, 24, 0, 2 * M_PI);
    cairo_pattern_t* disc = cairo_pattern_create_radial(c - 5, c - 6, 2, c, c, 24);
    cairo_pattern_add_color_stop_rgb(disc, 0, 1.0, 0.98, 0.85);
    cairo_pattern_add_color_stop_rgb(disc, 1, 1.0, 0.72, 0.28);
    cairo_set_source(cr, disc);
    cairo_fill(cr);
    cairo_pattern_destroy(disc);
}

void PaintEyes(cairo_t* cr, bool left) {
    const StatueEyes e = EyesOf(left);
    for (double px : {e.pupil1X, e.pupil2X}) {
        const double x = px - e.picX, y = e.pupil1Y - e.picY;
        Glow(cr, x, y, 11, Palette::EyeGlow, 0.55);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_move_to(cr, -9, 0);
        cairo_curve_to(cr, -4, -6.5, 4, -6.5, 9, 0);
        cairo_curve_to(cr, 4, 6, -4, 6, -9, 0);
        cairo_close_path(cr);
        cairo_restore(cr);
        cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 1, x, y, 9);
        cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.97, 0.80);
        cairo_pattern_add_color_stop_rgb(g, 1, 1.0, 0.66, 0.18);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        cairo_set_source_rgba(cr, 0.25, 0.1, 0.0, 0.9);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

void PaintPupil(cairo_t* cr) {
    const double c = kPupil / 2.0;
    cairo_arc(cr, c, c, 3.2, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.12, 0.03, 0.0);
    cairo_fill(cr);
    cairo_arc(cr, c - 1, c - 1, 0.9, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 0.9, 0.9);
    cairo_fill(cr);
}

// ---- Frame and logo -----------------------------------------------------------

void PaintFrame(cairo_t* cr) {
    const double w = kFrameW, h = kFrameH;
    // Board with totem posts at both sides.
    RoundedRect(cr, 14, 8, w - 28, h, 18);
    FillWood(cr, Rgb{0.55, 0.34, 0.17}, Rgb{0.30, 0.17, 0.08}, 4101);
    cairo_new_path(cr);
    RoundedRect(cr, 14, 8, w - 28, h, 18);
    SetRgb(cr, WoodEdge);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    for (double x : {0.0, w - 26}) {
        RoundedRect(cr, x, 0, 26, h + 10, 8);
        FillWood(cr, Rgb{0.48, 0.29, 0.14}, Rgb{0.22, 0.12, 0.05}, 4102 + static_cast<uint32_t>(x), false);
        cairo_new_path(cr);
        RoundedRect(cr, x, 0, 26, h + 10, 8);
        SetRgb(cr, WoodEdge);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        // Carved faces stacked along the post, each with coloured eyes.
        for (int k = 0; k < 5; ++k) {
            const double cy = 40 + k * 84;
            cairo_move_to(cr, x + 4, cy - 14);
            cairo_line_to(cr, x + 22, cy - 14);
            cairo_set_source_rgba(cr, 0.08, 0.03, 0, 0.7);
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);
            for (double ex : {x + 8.5, x + 17.5}) {
                cairo_arc(cr, ex, cy - 6, 3, 0, 2 * M_PI);
                SetRgb(cr, Palette::Line(k), 0.9);
                cairo_fill(cr);
            }
            cairo_move_to(cr, x + 13, cy - 2);
            cairo_line_to(cr, x + 10, cy + 8);
            cairo_line_to(cr, x + 16, cy + 8);
            cairo_close_path(cr);
            cairo_set_source_rgba(cr, 0.08, 0.03, 0, 0.5);
            cairo_fill(cr);
            RoundedRect(cr, x + 7, cy + 13, 12, 5, 2);
            cairo_set_source_rgba(cr, 0.08, 0.03, 0, 0.6);
            cairo_fill(cr);
        }
    }
    // Parchment for the help line, drawn in dark ink by the menu.
    RoundedRect(cr, 66, 158, 208, 76, 10);
    cairo_pattern_t* paper = cairo_pattern_create_radial(170, 196, 10, 170, 196, 120);
    cairo_pattern_add_color_stop_rgb(paper, 0, 0.98, 0.92, 0.76);
    cairo_pattern_add_color_stop_rgb(paper, 1, 0.84, 0.70, 0.48);
    cairo_set_source(cr, paper);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(paper);
    SetRgb(cr, WoodEdge);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    // A dark inset for the profile lines and the profile link.
    RoundedRect(cr, 28, 296, w - 56, 92, 12);
    cairo_set_source_rgba(cr, 0.10, 0.05, 0.02, 0.55);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 1, 0.85, 0.55, 0.35);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Lashings at the top corners.
    for (double x : {13.0, w - 13}) {
        for (int k = 0; k < 4; ++k) {
            cairo_move_to(cr, x - 13, 12 + k * 6);
            cairo_line_to(cr, x + 13, 16 + k * 6);
        }
        cairo_set_source_rgb(cr, 0.78, 0.66, 0.42);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
}

void PaintLogo(cairo_t* cr) {
    const double w = kLogoW;
    // Feathers fanning behind the sign, one per line colour on each side.
    for (int side : {-1, 1}) {
        for (int i = 0; i < 5; ++i) {
            const double a = side * (0.35 + i * 0.22);
            cairo_save(cr);
            cairo_translate(cr, w / 2 + side * 120, 110);
            cairo_rotate(cr, a);
            cairo_move_to(cr, 0, 0);
            cairo_curve_to(cr, -12, -30, -10, -70, 0, -95);
            cairo_curve_to(cr, 10, -70, 12, -30, 0, 0);
            const Rgb c = Palette::Line(side < 0 ? i : 4 - i);
            SetRgb(cr, c);
            cairo_fill_preserve(cr);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
            cairo_move_to(cr, 0, -4);
            cairo_line_to(cr, 0, -88);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.5);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
            cairo_restore(cr);
        }
    }
    // The carved sign.
    const auto signPath = [&] {
        cairo_move_to(cr, 40, 70);
        cairo_curve_to(cr, 140, 44, 280, 44, w - 40, 70);
        cairo_line_to(cr, w - 24, 150);
        cairo_curve_to(cr, 280, 176, 140, 176, 24, 150);
        cairo_close_path(cr);
    };
    signPath();
    FillWood(cr, Rgb{0.60, 0.38, 0.19}, Rgb{0.30, 0.16, 0.07}, 4201);
    cairo_new_path(cr);
    signPath();
    SetRgb(cr, WoodEdge);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    // Rope lashings holding the sign.
    for (double x : {70.0, w - 70}) {
        cairo_move_to(cr, x, 0);
        cairo_line_to(cr, x, 58);
        cairo_set_source_rgb(cr, 0.72, 0.60, 0.38);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
    TitleWord(cr, "Totem Riff", 40, 58, w - 80, 104, 92, Rgb{1.0, 0.93, 0.45}, Palette::Sunset);
    // Five gems along the bottom edge.
    for (int i = 0; i < 5; ++i) {
        const double x = w / 2 + (i - 2) * 34, y = 165;
        cairo_arc(cr, x, y, 8, 0, 2 * M_PI);
        SetRgb(cr, Palette::Line(i));
        cairo_fill_preserve(cr);
        SetRgb(cr, Ink);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        cairo_arc(cr, x - 2.5, y - 2.5, 2.5, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
        cairo_fill(cr);
    }
}

// ---- Buttons ---------------------------------------------------------------------
// Faces carry an icon at their left end; the caption is the game's own text,
// drawn centred over the face, so the middle is left plain.

struct ButtonFace {
    const char* name;
    int w, h;
    bool stone;
    bool hasIcon;
    Icon icon;
    uint32_t seed;
};

void PaintButton(cairo_t* cr, const ButtonFace& f, bool hover) {
    const double inset = 3;
    if (f.stone)
        StonePlate(cr, inset, inset, f.w - 2 * inset, f.h - 2 * inset, f.h / 3.0, f.seed, hover);
    else
        WoodPlate(cr, inset, inset, f.w - 2 * inset, f.h - 2 * inset, f.h / 3.5, f.seed, hover);
    if (!f.hasIcon) return;
    const double r = (f.h - 2 * inset) / 2.0 - 4;
    const double cx = inset + 6 + r, cy = f.h / 2.0;
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.08, 0.04, 0.02, 0.55);
    cairo_fill(cr);
    PaintIcon(cr, f.icon, cx, cy, r * 1.25, hover ? Palette::Gold : Rgb{0.95, 0.80, 0.50}, Ink);
}

const ButtonFace kButtons[] = {
    {"mode1", 240, 64, true, true, Icon::Play, 501},
    {"options", 150, 46, false, true, Icon::Gear, 502},
    {"scores", 150, 46, false, true, Icon::Trophy, 503},
    {"help", 150, 46, false, true, Icon::Question, 504},
    {"exit", 150, 46, false, true, Icon::Door, 505},
    {"buttonback", 150, 46, false, true, Icon::ArrowLeft, 506},
    {"button1", 200, 56, true, false, Icon::Play, 507},
    {"button2", 150, 46, false, false, Icon::Play, 508},
};

}  // namespace

TOTEM_ART(RegisterMainMenu) {
    AddArt({"media/gfx/menu/back.png", 800, 600, PaintMenuBack});
    AddArt({"media/gfx/menu/back_layer1.png", 800, 600, PaintMenuLayer});
    AddArt({"media/gfx/menu/animal_1.png", 72, 34, PaintTurtle});
    AddArt({"media/gfx/menu/animal_2.png", 60, 30, PaintBird});
    AddArt({"media/gfx/menu/animal_3.png", 96, 40, PaintWhale});
    AddArt({"media/gfx/menu/sun.png", kSun, kSun, PaintSun});
    AddArt({"media/gfx/menu/eye_left.png", kEyePictureW, kEyePictureH, [](cairo_t* cr) { PaintEyes(cr, true); }});
    AddArt({"media/gfx/menu/eye_right.png", kEyePictureW, kEyePictureH, [](cairo_t* cr) { PaintEyes(cr, false); }});
    AddArt({"media/gfx/menu/eye_zrachok.png", kPupil, kPupil, PaintPupil});
    AddArt({"media/gfx/menu/frame.png", kFrameW, kFrameH + 10, PaintFrame});
    AddArt({"media/gfx/menu/logo.png", kLogoW, kLogoH, PaintLogo});
    for (const ButtonFace& f : kButtons) {
        const std::string base = std::string("media/gfx/menu/") + f.name;
        AddArt({base + ".png", f.w, f.h, [f](cairo_t* cr) { PaintButton(cr, f, false); }});
        AddArt({base + "_on.png", f.w, f.h, [f](cairo_t* cr) { PaintButton(cr, f, true); }});
    }
}
