// The level skins: each paints the scene behind the note highway (the sky in
// three moods the game blends as the combo meter rises, half size), the
// highway itself, its light and the glow of its five lines.
//
// Skins: "sunrise" (dawn over a beach), "lagoon" (turquoise lagoon by day),
// "volcano" (night under an erupting volcano, lava on the shore) and
// "starlight" (a starry night over a calm sea). Two stone statues flank the
// highway in every skin; their eyes are where the game lights its eye glow.

#include "ArtSkins.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "ArtHighway.h"
#include "ArtKit.h"
#include "ArtRegistry.h"

using G = HighwayGeometry;

namespace {

enum class Mood { Main, Blue, Yellow };
enum class Kind { Sunrise, Lagoon, Volcano, Starlight };

struct SkyColours {
    Rgb top, mid, horizon;
    Rgb sun;           // the sun or moon disc and its glow
    double sunGlow;    // strength of the glow around it
};

struct SkinLook {
    SkinInfo info;
    Kind kind;
    SkyColours sky[3];  // Main, Blue, Yellow
    Rgb seaFar, seaNear;
    Rgb stoneLight, stoneDark;
    Rgb rimLight;      // light catching the statues' sides
    Rgb surfaceLight, surfaceDark;  // the highway's material
    Rgb groove;        // the grooves between the lines
};

// The eye positions are chosen clear of the highway, the melody row and the
// on-screen messages; every number is even so that the half-size pictures
// put an eye's centre exactly on one pixel.
const SkinLook kLooks[] = {
    {{"sunrise", {{128, 172, 628, 672}, {190, 190, 190, 190}}},
     Kind::Sunrise,
     {{{0.27, 0.16, 0.42}, {0.91, 0.45, 0.47}, {1.00, 0.72, 0.38}, {1.0, 0.86, 0.45}, 0.8},
      {{0.16, 0.42, 0.80}, {0.47, 0.74, 0.95}, {0.98, 0.90, 0.70}, {1.0, 0.95, 0.70}, 0.7},
      {{0.85, 0.45, 0.10}, {1.00, 0.74, 0.20}, {1.00, 0.93, 0.50}, {1.0, 0.97, 0.70}, 1.0}},
     {0.45, 0.30, 0.45}, {0.16, 0.20, 0.36},
     {0.78, 0.62, 0.46}, {0.36, 0.24, 0.18},
     {1.0, 0.70, 0.40},
     {0.72, 0.56, 0.40}, {0.38, 0.26, 0.18},
     {0.20, 0.12, 0.08}},
    {{"lagoon", {{104, 146, 654, 696}, {212, 212, 204, 204}}},
     Kind::Lagoon,
     {{{0.18, 0.46, 0.66}, {0.45, 0.74, 0.82}, {0.82, 0.93, 0.88}, {1.0, 0.98, 0.85}, 0.5},
      {{0.05, 0.35, 0.85}, {0.30, 0.68, 0.98}, {0.75, 0.95, 1.00}, {1.0, 1.0, 0.92}, 0.6},
      {{0.75, 0.55, 0.15}, {0.98, 0.82, 0.36}, {1.00, 0.96, 0.66}, {1.0, 0.98, 0.75}, 0.9}},
     {0.10, 0.62, 0.66}, {0.05, 0.36, 0.45},
     {0.60, 0.64, 0.54}, {0.22, 0.28, 0.24},
     {0.85, 1.0, 0.85},
     {0.62, 0.45, 0.28}, {0.32, 0.20, 0.11},
     {0.14, 0.08, 0.04}},
    {{"volcano", {{142, 190, 610, 658}, {184, 184, 184, 184}}},
     Kind::Volcano,
     {{{0.05, 0.02, 0.08}, {0.22, 0.05, 0.10}, {0.55, 0.14, 0.06}, {1.0, 0.45, 0.12}, 0.7},
      {{0.03, 0.06, 0.25}, {0.16, 0.18, 0.48}, {0.55, 0.30, 0.45}, {1.0, 0.55, 0.25}, 0.6},
      {{0.40, 0.12, 0.02}, {0.85, 0.40, 0.05}, {1.00, 0.78, 0.22}, {1.0, 0.85, 0.35}, 1.0}},
     {0.20, 0.06, 0.05}, {0.08, 0.03, 0.04},
     {0.34, 0.30, 0.30}, {0.10, 0.08, 0.09},
     {1.0, 0.40, 0.10},
     {0.25, 0.21, 0.22}, {0.08, 0.06, 0.07},
     {1.0, 0.35, 0.05}},
    {{"starlight", {{118, 160, 640, 682}, {226, 226, 226, 226}}},
     Kind::Starlight,
     {{{0.02, 0.03, 0.12}, {0.06, 0.10, 0.28}, {0.16, 0.22, 0.45}, {0.92, 0.95, 1.0}, 0.5},
      {{0.02, 0.10, 0.35}, {0.10, 0.30, 0.65}, {0.35, 0.60, 0.90}, {0.95, 0.98, 1.0}, 0.6},
      {{0.22, 0.12, 0.30}, {0.70, 0.45, 0.30}, {1.00, 0.82, 0.45}, {1.0, 0.95, 0.70}, 0.9}},
     {0.10, 0.15, 0.35}, {0.03, 0.05, 0.15},
     {0.52, 0.56, 0.66}, {0.14, 0.16, 0.24},
     {0.60, 0.75, 1.0},
     {0.30, 0.34, 0.48}, {0.10, 0.11, 0.20},
     {0.55, 0.70, 1.0}},
};

constexpr double kHorizon = 117;  // picture rows of the half-size backgrounds
constexpr double kSunX = 200;     // the sun sits behind the far end of the highway

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb Scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }

void AddStop(cairo_pattern_t* p, double at, Rgb c, double a = 1) {
    cairo_pattern_add_color_stop_rgba(p, at, c.r, c.g, c.b, a);
}

uint32_t Seed(const SkinLook& look, int salt) {
    uint32_t h = 2166136261u;
    for (const char* c = look.info.id; *c; ++c) h = (h ^ static_cast<uint8_t>(*c)) * 16777619u;
    return h ^ static_cast<uint32_t>(salt * 7919);
}

// ---------------------------------------------------------------- the sky

void PaintSky(cairo_t* cr, const SkinLook& look, Mood mood) {
    const SkyColours& s = look.sky[static_cast<int>(mood)];
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, kHorizon);
    AddStop(g, 0, s.top);
    AddStop(g, 0.55, s.mid);
    AddStop(g, 1, s.horizon);
    cairo_set_source(cr, g);
    cairo_rectangle(cr, 0, 0, 400, kHorizon + 1);
    cairo_fill(cr);
    cairo_pattern_destroy(g);

    const bool night = look.kind == Kind::Starlight || look.kind == Kind::Volcano;
    if (night) {
        ArtRandom rnd(Seed(look, 1));
        const int stars = look.kind == Kind::Starlight ? 260 : 90;
        const double fade = mood == Mood::Yellow ? 0.35 : 1.0;
        for (int i = 0; i < stars; ++i) {
            const double x = rnd.Uniform(0, 400), y = rnd.Uniform(0, kHorizon - 8);
            const double a = rnd.Uniform(0.3, 1.0) * (1 - y / kHorizon) * fade;
            const double r = rnd.Uniform(0.3, 0.9);
            cairo_set_source_rgba(cr, 1, 0.97, 0.9, a);
            cairo_arc(cr, x, y, r, 0, 2 * M_PI);
            cairo_fill(cr);
        }
        if (look.kind == Kind::Starlight) {
            // A faint band of the galaxy across the sky.
            for (int i = 0; i < 500; ++i) {
                const double u = rnd.Uniform(0, 1);
                const double x = u * 400, y = 12 + u * 60 + rnd.Uniform(-14, 14);
                cairo_set_source_rgba(cr, 0.85, 0.88, 1, rnd.Uniform(0.02, 0.12) * fade);
                cairo_arc(cr, x, y, rnd.Uniform(0.4, 1.8), 0, 2 * M_PI);
                cairo_fill(cr);
            }
            for (int i = 0; i < 14; ++i) {
                const double x = rnd.Uniform(10, 390), y = rnd.Uniform(5, 90);
                Glow(cr, x, y, 3.5, Rgb{0.9, 0.93, 1}, 0.8 * fade);
            }
        }
    } else {
        // Long soft bands of cloud lit from the horizon.
        ArtRandom rnd(Seed(look, 2));
        for (int i = 0; i < 9; ++i) {
            const double y = rnd.Uniform(14, kHorizon - 24), x = rnd.Uniform(-40, 360);
            const double w = rnd.Uniform(70, 160), h = rnd.Uniform(4, 9);
            cairo_save(cr);
            cairo_translate(cr, x + w / 2, y);
            cairo_scale(cr, w / 2, h / 2);
            cairo_pattern_t* c = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
            const Rgb lit = Mix(s.horizon, Rgb{1, 1, 1}, 0.35);
            AddStop(c, 0, lit, 0.55);
            AddStop(c, 1, lit, 0);
            cairo_set_source(cr, c);
            cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_fill(cr);
            cairo_pattern_destroy(c);
            cairo_restore(cr);
        }
    }

    // Sun (or moon) and its glow behind the far end of the highway.
    if (look.kind == Kind::Starlight) {
        const double mx = 300, my = 34;
        Glow(cr, mx, my, 40, s.sun, 0.35 * s.sunGlow);
        // A crescent: the disc with a smaller offset disc cut out of it.
        cairo_push_group(cr);
        SetRgb(cr, s.sun);
        cairo_arc(cr, mx, my, 11, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_arc(cr, mx + 5, my - 3, 9.5, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pop_group_to_source(cr);
        cairo_paint(cr);
        Glow(cr, kSunX, kHorizon, 70, s.horizon, 0.5);
    } else {
        Glow(cr, kSunX, kHorizon, 130, s.sun, 0.45 * s.sunGlow);
        Glow(cr, kSunX, kHorizon, 45, s.sun, 0.8 * s.sunGlow);
        if (look.kind != Kind::Volcano) {
            cairo_save(cr);
            cairo_rectangle(cr, 0, 0, 400, kHorizon);
            cairo_clip(cr);
            SetRgb(cr, Mix(s.sun, Rgb{1, 1, 1}, 0.5));
            cairo_arc(cr, kSunX, kHorizon + 4, look.kind == Kind::Sunrise ? 20 : 9, 0, 2 * M_PI);
            if (look.kind == Kind::Lagoon) cairo_arc(cr, 300, 28, 0, 0, 0);
            cairo_fill(cr);
            cairo_restore(cr);
        }
    }
}

void PaintVolcano(cairo_t* cr, const SkinLook& look, Mood mood) {
    const SkyColours& s = look.sky[static_cast<int>(mood)];
    // Smoke column lit from below.
    ArtRandom rnd(Seed(look, 3));
    for (int i = 0; i < 26; ++i) {
        const double u = i / 25.0;
        const double x = 112 + u * 60 + rnd.Uniform(-8, 8), y = 48 - u * 46;
        Glow(cr, x, y, 10 + u * 26, Mix(Rgb{0.25, 0.18, 0.18}, s.mid, 0.3), 0.55);
    }
    Glow(cr, 110, 52, 60, Rgb{1.0, 0.35, 0.05}, 0.55);
    // The cone.
    cairo_move_to(cr, 10, kHorizon);
    cairo_curve_to(cr, 50, 96, 80, 64, 98, 52);
    cairo_line_to(cr, 122, 52);
    cairo_curve_to(cr, 140, 66, 170, 98, 232, kHorizon);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 52, 0, kHorizon);
    AddStop(g, 0, Rgb{0.16, 0.08, 0.08});
    AddStop(g, 1, Rgb{0.05, 0.03, 0.04});
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Lava running down its flanks.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double flows[][6] = {{104, 53, 90, 80, 70, 116}, {116, 53, 126, 78, 150, 116}, {110, 54, 108, 85, 104, 116}};
    for (const auto& fl : flows) {
        for (int pass = 0; pass < 2; ++pass) {
            cairo_move_to(cr, fl[0], fl[1]);
            cairo_curve_to(cr, fl[2] - 6, fl[3] - 10, fl[2] + 4, fl[3] + 8, fl[4], fl[5]);
            cairo_set_line_width(cr, pass == 0 ? 5 : 1.6);
            if (pass == 0)
                cairo_set_source_rgba(cr, 1, 0.3, 0.02, 0.35);
            else
                cairo_set_source_rgba(cr, 1, 0.75, 0.25, 0.95);
            cairo_stroke(cr);
        }
    }
    Glow(cr, 110, 52, 14, Rgb{1, 0.85, 0.4}, 1);
    // Sparks above the crater.
    for (int i = 0; i < 40; ++i) {
        const double x = 110 + rnd.Uniform(-30, 30), y = 50 - rnd.Uniform(0, 40);
        cairo_set_source_rgba(cr, 1, rnd.Uniform(0.4, 0.9), 0.1, rnd.Uniform(0.4, 1));
        cairo_arc(cr, x, y, rnd.Uniform(0.4, 1.1), 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

// ------------------------------------------------------- sea and shore

void PaintIslands(cairo_t* cr, const SkinLook& look, Mood mood) {
    const SkyColours& s = look.sky[static_cast<int>(mood)];
    const Rgb far = Mix(s.horizon, Scale(look.seaNear, 0.8), 0.55);
    ArtRandom rnd(Seed(look, 4));
    const double hills[][3] = {{40, 60, 8}, {300, 70, 10}, {360, 40, 6}, {250, 30, 4}};
    for (const auto& h : hills) {
        if (look.kind == Kind::Volcano && h[0] < 200) continue;
        cairo_move_to(cr, h[0] - h[1] / 2, kHorizon + 0.5);
        cairo_curve_to(cr, h[0] - h[1] / 4, kHorizon - h[2], h[0] + h[1] / 4, kHorizon - h[2] * 1.1,
                       h[0] + h[1] / 2, kHorizon + 0.5);
        cairo_close_path(cr);
        SetRgb(cr, far, 0.9);
        cairo_fill(cr);
    }
}

void PaintSea(cairo_t* cr, const SkinLook& look, Mood mood) {
    const SkyColours& s = look.sky[static_cast<int>(mood)];
    const double tint = mood == Mood::Main ? 0.25 : 0.4;
    cairo_pattern_t* g = cairo_pattern_create_linear(0, kHorizon, 0, 300);
    AddStop(g, 0, Mix(look.seaFar, s.horizon, tint + 0.2));
    AddStop(g, 0.35, Mix(look.seaFar, s.mid, tint));
    AddStop(g, 1, Mix(look.seaNear, s.top, tint * 0.5));
    cairo_set_source(cr, g);
    cairo_rectangle(cr, 0, kHorizon, 400, 300 - kHorizon);
    cairo_fill(cr);
    cairo_pattern_destroy(g);

    // Light on the water: a path of glints below the sun, ripples elsewhere.
    ArtRandom rnd(Seed(look, 5));
    const double sunX = look.kind == Kind::Starlight ? 300 : kSunX;
    const Rgb glint = Mix(s.sun, Rgb{1, 1, 1}, 0.4);
    for (int i = 0; i < 420; ++i) {
        const double depth = rnd.Uniform(0, 1);
        const double y = kHorizon + 1 + depth * depth * (300 - kHorizon);
        const double spread = 6 + depth * 110;
        const double x = sunX + rnd.Uniform(-spread, spread) * rnd.Uniform(0.2, 1);
        const double w = 1.5 + depth * 9;
        const double a = (1 - std::fabs(x - sunX) / (spread + 1)) * 0.55 * s.sunGlow;
        SetRgb(cr, glint, a);
        cairo_rectangle(cr, x - w / 2, y, w, 0.6 + depth);
        cairo_fill(cr);
    }
    for (int i = 0; i < 160; ++i) {
        const double depth = rnd.Uniform(0, 1);
        const double y = kHorizon + 2 + depth * (300 - kHorizon);
        const double x = rnd.Uniform(0, 400);
        const double w = 2 + depth * 12;
        SetRgb(cr, Mix(s.mid, Rgb{1, 1, 1}, 0.3), 0.12);
        cairo_rectangle(cr, x, y, w, 0.7);
        cairo_fill(cr);
    }
    if (look.kind == Kind::Lagoon) {
        // Pale shallows over sand close to the shore.
        for (int side = 0; side < 2; ++side) {
            const double cx = side == 0 ? 40 : 360;
            cairo_save(cr);
            cairo_translate(cr, cx, 250);
            cairo_scale(cr, 150, 60);
            cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
            AddStop(p, 0, Rgb{0.55, 0.92, 0.85}, 0.7);
            AddStop(p, 1, Rgb{0.55, 0.92, 0.85}, 0);
            cairo_set_source(cr, p);
            cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
            cairo_restore(cr);
        }
    }
    if (look.kind == Kind::Volcano) {
        // Lava rivers winding over the dark shore towards the sea.
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int i = 0; i < 6; ++i) {
            const double x = rnd.Uniform(10, 390), y = rnd.Uniform(kHorizon + 10, 270);
            const double w = 0.8 + (y - kHorizon) / 60;
            const double len = 20 + (y - kHorizon) / 3;
            cairo_move_to(cr, x, y);
            cairo_curve_to(cr, x + rnd.Uniform(-len, len), y + len * 0.2, x + rnd.Uniform(-len, len), y + len * 0.3,
                           x + rnd.Uniform(-len, len) * 0.6, y + len * 0.45);
            cairo_set_line_width(cr, w * 4);
            cairo_set_source_rgba(cr, 1, 0.3, 0.03, 0.3);
            cairo_stroke_preserve(cr);
            cairo_set_line_width(cr, w);
            cairo_set_source_rgba(cr, 1, 0.7, 0.2, 0.9);
            cairo_stroke(cr);
        }
    }
}

// Ground the statues stand on: a bank of sand, rock or stone at each side.
void PaintShore(cairo_t* cr, const SkinLook& look, Mood mood) {
    const SkyColours& s = look.sky[static_cast<int>(mood)];
    Rgb top{0.5, 0.5, 0.5}, bottom{0.2, 0.2, 0.2};
    switch (look.kind) {
    case Kind::Sunrise: top = {0.86, 0.66, 0.46}; bottom = {0.52, 0.36, 0.26}; break;
    case Kind::Lagoon: top = {0.95, 0.88, 0.70}; bottom = {0.70, 0.60, 0.42}; break;
    case Kind::Volcano: top = {0.20, 0.14, 0.14}; bottom = {0.07, 0.05, 0.06}; break;
    case Kind::Starlight: top = {0.26, 0.28, 0.40}; bottom = {0.08, 0.09, 0.16}; break;
    }
    top = Mix(top, s.horizon, 0.2);
    for (int side = 0; side < 2; ++side) {
        const double dir = side == 0 ? 1 : -1;
        const double edge = side == 0 ? 0 : 400;
        cairo_move_to(cr, edge, 170);
        cairo_curve_to(cr, edge + dir * 60, 168, edge + dir * 110, 190, edge + dir * 140, 300);
        cairo_line_to(cr, edge, 300);
        cairo_close_path(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 170, 0, 300);
        AddStop(g, 0, top);
        AddStop(g, 1, bottom);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        // Foam or glowing seam along the bank.
        cairo_move_to(cr, edge, 170);
        cairo_curve_to(cr, edge + dir * 60, 168, edge + dir * 110, 190, edge + dir * 140, 300);
        cairo_set_line_width(cr, 1.5);
        if (look.kind == Kind::Volcano)
            cairo_set_source_rgba(cr, 1, 0.45, 0.08, 0.8);
        else
            cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
        cairo_stroke(cr);
    }
}

void PaintPalm(cairo_t* cr, double x, double y, double h, double lean, Rgb colour) {
    const double tx = x + lean, ty = y - h;
    // Trunk: a tapering curve in ringed segments.
    const int rings = 9;
    for (int i = 0; i < rings; ++i) {
        const double u0 = double(i) / rings, u1 = double(i + 1) / rings;
        auto at = [&](double u, double* px, double* py) {
            const double a = 1 - u;
            *px = a * a * a * x + 3 * a * a * u * (x + lean * 0.2) + 3 * a * u * u * (x + lean * 0.7) + u * u * u * tx;
            *py = a * a * a * y + 3 * a * a * u * (y - h * 0.5) + 3 * a * u * u * (y - h * 0.85) + u * u * u * ty;
        };
        double x0, y0, x1, y1;
        at(u0, &x0, &y0);
        at(u1, &x1, &y1);
        const double w0 = 3.6 - 1.8 * u0, w1 = 3.6 - 1.8 * u1;
        cairo_move_to(cr, x0 - w0, y0);
        cairo_line_to(cr, x0 + w0, y0);
        cairo_line_to(cr, x1 + w1 * 1.1, y1 + 1);
        cairo_line_to(cr, x1 - w1 * 1.1, y1 + 1);
        cairo_close_path(cr);
        SetRgb(cr, Scale(colour, i % 2 ? 1.0 : 1.35));
        cairo_fill(cr);
    }
    // Fronds: long leaves drooping from the crown, each a filled blade.
    for (int i = 0; i < 8; ++i) {
        const double a = -M_PI + i * M_PI / 7 + 0.05 * (i % 3);
        const double len = h * (0.42 + 0.06 * (i % 2));
        const double ex = tx + std::cos(a) * len, ey = ty + std::sin(a) * len * 0.35 + len * 0.45;
        const double mx = tx + std::cos(a) * len * 0.55, my = ty - len * 0.22 + std::sin(a) * len * 0.2;
        const double nx = -(my - ty), ny = mx - tx;
        const double nl = std::hypot(nx, ny) + 1e-6, bw = h * 0.045;
        cairo_move_to(cr, tx, ty);
        cairo_curve_to(cr, mx + nx / nl * bw, my + ny / nl * bw, ex, ey - 2, ex, ey);
        cairo_curve_to(cr, ex, ey - 1, mx - nx / nl * bw, my - ny / nl * bw, tx, ty);
        cairo_close_path(cr);
        SetRgb(cr, Scale(colour, 1.1 + 0.25 * (i % 2)));
        cairo_fill(cr);
    }
    cairo_arc(cr, tx, ty + 2, 3, 0, 2 * M_PI);
    SetRgb(cr, Scale(colour, 0.7));
    cairo_fill(cr);
}

// --------------------------------------------------------------- statues

// A carved stone head on a pillar, its eyes at the table's points (given in
// picture pixels of the half-size background).
void PaintStatue(cairo_t* cr, const SkinLook& look, Mood mood, double ex1, double ex2, double ey, int salt) {
    const SkyColours& s = look.sky[static_cast<int>(mood)];
    const double cx = (ex1 + ex2) / 2, sp = ex2 - ex1;
    const double headTop = ey - 1.25 * sp, chin = ey + 1.45 * sp;
    const double hw = 1.2 * sp;  // half width of the head

    // Pillar down to the bottom of the picture.
    cairo_move_to(cr, cx - hw * 0.95, chin - 2);
    cairo_line_to(cr, cx + hw * 0.95, chin - 2);
    cairo_line_to(cr, cx + hw * 1.1, 300);
    cairo_line_to(cr, cx - hw * 1.1, 300);
    cairo_close_path(cr);
    FillStone(cr, Scale(look.stoneLight, 0.8), look.stoneDark, Seed(look, salt));
    cairo_new_path(cr);
    // Carved bands on the pillar.
    for (int i = 0; i < 3; ++i) {
        const double y = chin + 10 + i * 16;
        cairo_rectangle(cr, cx - hw * 1.0, y, hw * 2.0, 3);
        SetRgb(cr, look.stoneDark, 0.6);
        cairo_fill(cr);
        for (int k = -2; k <= 2; ++k) {
            cairo_move_to(cr, cx + k * hw * 0.38, y + 5);
            cairo_line_to(cr, cx + k * hw * 0.38 + 4, y + 11);
            cairo_line_to(cr, cx + k * hw * 0.38 - 4, y + 11);
            cairo_close_path(cr);
            SetRgb(cr, look.stoneDark, 0.45);
            cairo_fill(cr);
        }
    }

    // Head: a long block, wider at the brow.
    cairo_move_to(cr, cx - hw, headTop + 6);
    cairo_curve_to(cr, cx - hw, headTop - 2, cx + hw, headTop - 2, cx + hw, headTop + 6);
    cairo_line_to(cr, cx + hw * 0.92, chin - 4);
    cairo_curve_to(cr, cx + hw * 0.9, chin + 3, cx - hw * 0.9, chin + 3, cx - hw * 0.92, chin - 4);
    cairo_close_path(cr);
    FillStone(cr, look.stoneLight, look.stoneDark, Seed(look, salt + 1));
    cairo_new_path(cr);
    // Ears.
    for (int side = -1; side <= 1; side += 2) {
        cairo_save(cr);
        cairo_translate(cr, cx + side * hw * 1.02, ey + sp * 0.35);
        cairo_scale(cr, sp * 0.22, sp * 0.6);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        SetRgb(cr, Mix(look.stoneDark, look.stoneLight, 0.45));
        cairo_fill(cr);
    }
    // Headdress: a carved band with upright feathers.
    for (int i = -3; i <= 3; ++i) {
        const double fx = cx + i * hw * 0.3;
        cairo_move_to(cr, fx - hw * 0.12, headTop + 2);
        cairo_curve_to(cr, fx - hw * 0.14, headTop - sp * 0.5, fx - 1, headTop - sp * 0.8, fx, headTop - sp * 0.85);
        cairo_curve_to(cr, fx + 1, headTop - sp * 0.8, fx + hw * 0.14, headTop - sp * 0.5, fx + hw * 0.12, headTop + 2);
        cairo_close_path(cr);
        const Rgb feather = (i + 10) % 2 ? Palette::Line((i + 3) % 5) : look.stoneLight;
        SetRgb(cr, Mix(feather, look.stoneDark, 0.45));
        cairo_fill(cr);
    }
    cairo_rectangle(cr, cx - hw * 1.04, headTop, hw * 2.08, sp * 0.32);
    SetRgb(cr, Mix(look.stoneDark, Palette::Wood, 0.3));
    cairo_fill(cr);
    for (int i = 0; i < 8; ++i) {
        cairo_arc(cr, cx - hw * 0.9 + i * hw * 0.257, headTop + sp * 0.16, sp * 0.06, 0, 2 * M_PI);
        SetRgb(cr, Palette::Gold, 0.6);
        cairo_fill(cr);
    }

    // Brow ridge and deep sockets.
    cairo_move_to(cr, cx - hw * 0.95, ey - sp * 0.38);
    cairo_curve_to(cr, cx - hw * 0.4, ey - sp * 0.62, cx + hw * 0.4, ey - sp * 0.62, cx + hw * 0.95, ey - sp * 0.38);
    cairo_set_line_width(cr, sp * 0.14);
    SetRgb(cr, look.stoneDark, 0.75);
    cairo_stroke(cr);
    for (double x : {ex1, ex2}) {
        cairo_save(cr);
        cairo_translate(cr, x, ey);
        cairo_scale(cr, sp * 0.3, sp * 0.2);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        SetRgb(cr, Scale(look.stoneDark, 0.35));
        cairo_fill(cr);
        // The eye itself: an ember in the socket, brightest at its centre so
        // the game's glow grows out of it.
        Glow(cr, x, ey, sp * 0.22, Palette::EyeGlow, 0.9);
        cairo_arc(cr, x, ey, std::max(1.6, sp * 0.09), 0, 2 * M_PI);
        cairo_set_source_rgb(cr, 1.0, 0.9, 0.55);
        cairo_fill(cr);
    }
    // Nose, mouth and chin.
    cairo_move_to(cr, cx - sp * 0.08, ey - sp * 0.15);
    cairo_line_to(cr, cx - sp * 0.32, ey + sp * 0.75);
    cairo_curve_to(cr, cx - sp * 0.1, ey + sp * 0.85, cx + sp * 0.1, ey + sp * 0.85, cx + sp * 0.32, ey + sp * 0.75);
    cairo_line_to(cr, cx + sp * 0.08, ey - sp * 0.15);
    cairo_close_path(cr);
    SetRgb(cr, look.stoneDark, 0.45);
    cairo_fill(cr);
    cairo_move_to(cr, cx - sp * 0.55, ey + sp * 1.05);
    cairo_curve_to(cr, cx - sp * 0.2, ey + sp * 1.18, cx + sp * 0.2, ey + sp * 1.18, cx + sp * 0.55, ey + sp * 1.05);
    cairo_set_line_width(cr, sp * 0.1);
    SetRgb(cr, Scale(look.stoneDark, 0.5), 0.85);
    cairo_stroke(cr);
    // Light from the sky on the side that faces the highway.
    const double towards = cx < 200 ? 1 : -1;
    cairo_pattern_t* rim = cairo_pattern_create_linear(cx - towards * hw, 0, cx + towards * hw, 0);
    const Rgb light = Mix(look.rimLight, s.horizon, 0.5);
    AddStop(rim, 0, light, 0);
    AddStop(rim, 0.75, light, 0);
    AddStop(rim, 1, light, 0.35);
    cairo_set_source(cr, rim);
    cairo_rectangle(cr, cx - hw * 1.1, headTop - sp, hw * 2.2, 300 - headTop + sp);
    cairo_fill(cr);
    cairo_pattern_destroy(rim);
}

const SkinLook& LookOf(int index) { return kLooks[index]; }

void PaintBackground(cairo_t* cr, const SkinLook& look, Mood mood) {
    PaintSky(cr, look, mood);
    if (look.kind == Kind::Volcano) PaintVolcano(cr, look, mood);
    PaintIslands(cr, look, mood);
    PaintSea(cr, look, mood);
    PaintShore(cr, look, mood);
    const SkyColours& s = look.sky[static_cast<int>(mood)];
    if (look.kind == Kind::Sunrise || look.kind == Kind::Lagoon) {
        const Rgb palm = Mix(Rgb{0.10, 0.07, 0.08}, s.top, look.kind == Kind::Lagoon ? 0.3 : 0.15);
        PaintPalm(cr, 12, 200, 110, 22, palm);
        PaintPalm(cr, 392, 206, 100, -20, palm);
        PaintPalm(cr, 30, 190, 70, 30, palm);
    }
    const SkinEyes& e = look.info.eyes;
    PaintStatue(cr, look, mood, e.x[0] / 2.0, e.x[1] / 2.0, e.y[0] / 2.0, 10);
    PaintStatue(cr, look, mood, e.x[2] / 2.0, e.x[3] / 2.0, e.y[2] / 2.0, 20);
    // Mood light over the whole scene: warmer in the gold rush.
    if (mood == Mood::Yellow) {
        cairo_set_source_rgba(cr, 1, 0.8, 0.2, 0.10);
        cairo_paint(cr);
    }
}

// ------------------------------------------------------------ the highway

void PaintHighwaySurface(cairo_t* cr, const SkinLook& look) {
    const ScreenFrame f;
    const double far = kHighwayFarProgress, near = HighwayBottomProgress() + 1;
    const double left = HighwayLeftX() - 1.2, right = HighwayRightX() + 1.2;

    // The road bed, fading into the horizon at its far end.
    cairo_save(cr);
    HighwayQuad(cr, f, left, right, far, near);
    cairo_clip(cr);
    HighwayQuad(cr, f, left, right, far, near);
    FillStone(cr, look.surfaceLight, look.surfaceDark, Seed(look, 30));
    // Cross planks or slabs, spaced evenly along the highway so they slide
    // into the distance like the items do.
    for (double t = far; t < near; t += 6) {
        HighwayQuad(cr, f, left, right, t, t + 0.5);
        SetRgb(cr, look.groove, 0.35);
        cairo_fill(cr);
    }
    // Darken the far end into the horizon.
    cairo_pattern_t* fade = AlongHighway(f, far, 30);
    AddStop(fade, 0, Scale(look.surfaceDark, 0.5), 0.85);
    AddStop(fade, 1, look.surfaceDark, 0);
    cairo_set_source(cr, fade);
    cairo_paint(cr);
    cairo_pattern_destroy(fade);
    cairo_restore(cr);

    // Raised kerbs on both sides.
    for (double edge : {left, right}) {
        const double inner = edge < 0 ? edge + 1.2 : edge - 1.2;
        HighwayQuad(cr, f, std::min(edge, inner), std::max(edge, inner), far, near);
        cairo_pattern_t* g = AlongHighway(f, far, near);
        AddStop(g, 0, look.groove, 0.2);
        AddStop(g, 0.4, Mix(look.surfaceLight, Palette::Gold, 0.3), 0.9);
        AddStop(g, 1, Mix(look.surfaceLight, Palette::Gold, 0.3), 1);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }

    // Grooves between the lines, half-way between neighbours.
    for (int i = 0; i + 1 < G::kLines; ++i) {
        const double mid = (G::LineX(i) + G::LineX(i + 1)) / 2;
        HighwayQuad(cr, f, mid - 0.35, mid + 0.35, far, near);
        cairo_pattern_t* g = AlongHighway(f, far, near);
        AddStop(g, 0, look.groove, 0);
        AddStop(g, 0.3, look.groove, 0.6);
        AddStop(g, 1, look.groove, 0.8);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }

    // The five painted lines the items run along: a thin stripe of each line's
    // colour on its centre, from the point items appear down past the catcher.
    for (int line = 0; line < G::kLines; ++line) {
        const double x = G::LineX(line);
        const Rgb c = Palette::Line(line);
        cairo_pattern_t* g = AlongHighway(f, 0, near);
        AddStop(g, 0, c, 0);
        AddStop(g, G::kVisibleProgress / near, c, 0.6);
        AddStop(g, 1, c, 0.85);
        HighwayQuad(cr, f, x - 1.1, x + 1.1, 0, near);
        cairo_set_source(cr, g);
        cairo_save(cr);
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, 0.2);
        cairo_restore(cr);
        HighwayQuad(cr, f, x - 0.3, x + 0.3, 0, near);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        // Far away the stripe gets thinner than a pixel; a hairline along its
        // centre keeps it visible all the way to the far end.
        double ax, ay, bx, by;
        SurfaceXY(f, x, 0, &ax, &ay);
        SurfaceXY(f, x, near, &bx, &by);
        cairo_move_to(cr, ax, ay);
        cairo_line_to(cr, bx, by);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
        cairo_pattern_destroy(g);
    }

    // The catch row: a carved groove across the highway at the catch point,
    // edged with gold, with a socket on each line where the catcher stands.
    const double c0 = G::kCatchProgress - 0.6, c1 = G::kCatchProgress + 0.6;
    HighwayQuad(cr, f, left, right, c0, c1);
    SetRgb(cr, Scale(look.surfaceDark, 0.4), 0.55);
    cairo_fill(cr);
    for (double edge : {c0, c1}) {
        HighwayQuad(cr, f, left, right, edge - 0.15, edge + 0.15);
        SetRgb(cr, Palette::Gold, 0.85);
        cairo_fill(cr);
    }
    for (int line = 0; line < G::kLines; ++line) {
        const HighwayPoint p = G::CatchPoint(line);
        const double half = (G::SurfacePoint(G::LineX(line) + 4.2f, G::kCatchProgress).x - p.x);
        cairo_save(cr);
        cairo_translate(cr, p.x, p.y);
        cairo_scale(cr, 1, 0.3);
        cairo_arc(cr, 0, 0, half, 0, 2 * M_PI);
        cairo_restore(cr);
        SetRgb(cr, Scale(look.surfaceDark, 0.5), 0.6);
        cairo_fill_preserve(cr);
        SetRgb(cr, Palette::Line(line), 0.8);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
}

void PaintHighwayLight(cairo_t* cr, const SkinLook& look) {
    const ScreenFrame f;
    const double near = HighwayBottomProgress() + 1;
    const Rgb warm = Mix(look.rimLight, Rgb{1, 0.9, 0.6}, 0.5);
    cairo_save(cr);
    HighwayQuad(cr, f, HighwayLeftX() - 1.2, HighwayRightX() + 1.2, kHighwayFarProgress, near);
    cairo_clip(cr);
    cairo_pattern_t* g = AlongHighway(f, kHighwayFarProgress, near);
    AddStop(g, 0, warm, 0.0);
    AddStop(g, 0.25, warm, 0.1);
    AddStop(g, 0.8, warm, 0.24);
    AddStop(g, 1, warm, 0.16);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    for (int line = 0; line < G::kLines; ++line) {
        const double x = G::LineX(line);
        HighwayQuad(cr, f, x - 2.2, x + 2.2, 5, near);
        cairo_pattern_t* l = AlongHighway(f, 5, near);
        const Rgb c = Mix(Palette::Line(line), Rgb{1, 1, 1}, 0.4);
        AddStop(l, 0, c, 0);
        AddStop(l, 0.5, c, 0.25);
        AddStop(l, 1, c, 0.4);
        cairo_set_source(cr, l);
        cairo_fill(cr);
        cairo_pattern_destroy(l);
    }
    cairo_restore(cr);
}

// The five lines flaring up after a click catch; half size, added to the
// screen, so black is "no light".
void PaintLinesLight(cairo_t* cr) {
    const ScreenFrame f{0, 0, 0.5};
    const double near = HighwayBottomProgress() + 1;
    for (int line = 0; line < G::kLines; ++line) {
        const double x = G::LineX(line);
        const Rgb c = Palette::Line(line);
        const double widths[] = {4.5, 2.2, 0.8};
        const double alphas[] = {0.25, 0.5, 1.0};
        for (int k = 0; k < 3; ++k) {
            const Rgb col = k == 2 ? Mix(c, Rgb{1, 1, 1}, 0.6) : c;
            cairo_pattern_t* g = AlongHighway(f, 0, near);
            AddStop(g, 0, col, 0);
            AddStop(g, 0.3, col, alphas[k] * 0.6);
            AddStop(g, 1, col, alphas[k]);
            HighwayQuad(cr, f, x - widths[k], x + widths[k], 0, near);
            cairo_set_source(cr, g);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
    }
}

std::string SkinPath(const SkinLook& look, const char* name) {
    return std::string("media/gfx/skins/") + look.info.id + "/" + name + ".png";
}

TOTEM_ART(RegisterSkins) {
    for (const SkinLook& look : kLooks) {
        const SkinLook* l = &look;
        AddArt({SkinPath(look, "back_main"), 400, 300, [l](cairo_t* cr) { PaintBackground(cr, *l, Mood::Main); }});
        AddArt({SkinPath(look, "back_bluesky"), 400, 300, [l](cairo_t* cr) { PaintBackground(cr, *l, Mood::Blue); }});
        AddArt({SkinPath(look, "back_yellowsky"), 400, 300,
                [l](cairo_t* cr) { PaintBackground(cr, *l, Mood::Yellow); }});
        AddArt({SkinPath(look, "gryph_back"), 800, 600, [l](cairo_t* cr) { PaintHighwaySurface(cr, *l); }});
        AddArt({SkinPath(look, "gryph_light"), 800, 600, [l](cairo_t* cr) { PaintHighwayLight(cr, *l); }});
    }
    // The lines lie in the same place in every skin, so the skins share it.
    AddArt({"media/gfx/skins/gryph_lines_light.png", 400, 300, [](cairo_t* cr) { PaintLinesLight(cr); }});
}

}  // namespace

int SkinCount() { return static_cast<int>(sizeof(kLooks) / sizeof(kLooks[0])); }

const SkinInfo& Skin(int index) { return LookOf(index).info; }

std::string SkinsXml() {
    std::string xml = "<?xml version=\"1.0\"?>\n<!-- Eye positions of the statues in each level skin, in screen pixels.\n"
                      "     Written by totem-art from the table the skin pictures are painted from. -->\n<skins>\n";
    for (int i = 0; i < SkinCount(); ++i) {
        const SkinInfo& s = Skin(i);
        char line[256];
        std::snprintf(line, sizeof line,
                      "  <skin id=\"%s\" glaz1_1=\"%d %d\" glaz1_2=\"%d %d\" glaz2_1=\"%d %d\" glaz2_2=\"%d %d\"/>\n", s.id,
                      s.eyes.x[0], s.eyes.y[0], s.eyes.x[1], s.eyes.y[1], s.eyes.x[2], s.eyes.y[2], s.eyes.x[3],
                      s.eyes.y[3]);
        xml += line;
    }
    xml += "</skins>\n";
    return xml;
}
