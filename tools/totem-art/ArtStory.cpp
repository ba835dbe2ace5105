// The story map: the sea (painted at half size; the map draws it doubled),
// the islands that carry the path of level markers, the totems that rise on
// them as the player progresses, and the marker pictures.
//
// The islands picture is drawn over the water splashes, so every splash spot
// is left as an open pool; the totem places stand on land, and the markers'
// path runs over the islands, crossing to the next island on rope bridges.

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ArtKit.h"
#include "ArtRegistry.h"
#include "ArtUiKit.h"

using namespace UiArt;

namespace {

struct Pt {
    double x, y;
};

// Top-left corners of the 28 markers, in level order.
const Pt kMarkers[28] = {{274, 364}, {305, 353}, {345, 327}, {388, 282}, {400, 255}, {375, 238}, {340, 224},
                         {301, 198}, {277, 185}, {251, 173}, {203, 165}, {156, 152}, {141, 130}, {156, 101},
                         {170, 79},  {195, 67},  {231, 57},  {275, 50},  {323, 60},  {328, 89},  {340, 119},
                         {378, 134}, {423, 135}, {453, 136}, {487, 137}, {500, 157}, {488, 186}, {469, 215}};
// Where splashes rise (kept as open water).
const Pt kWaterSpots[9] = {{281, 374}, {366, 320}, {357, 211}, {222, 150}, {178, 86},
                           {238, 80},  {347, 52},  {404, 121}, {531, 149}};
// Top-left corners of the eight totem pictures.
const Pt kTotems[8] = {{240, 342}, {333, 267}, {325, 172}, {176, 115}, {138, 48}, {230, 18}, {353, 82}, {502, 101}};

constexpr int kMarker = 26;       // marker picture size; the marker's rectangle
constexpr int kTotemW = 36;
constexpr int kTotemH = 56;
constexpr double kPoolRadius = 9;

Pt MarkerCentre(int i) { return {kMarkers[i].x + kMarker / 2, kMarkers[i].y + kMarker / 2}; }
Pt TotemBase(int i) { return {kTotems[i].x + kTotemW / 2.0, kTotems[i].y + kTotemH - 4}; }

// The path is split into islands; a bridge spans each gap.
bool BridgeAfter(int i) { return i == 2 || i == 7 || i == 12 || i == 18 || i == 21 || i == 24; }

// The outline of every island, grown by `grow` pixels, as a mask group.
cairo_pattern_t* IslandMask(cairo_t* cr, double grow) {
    cairo_push_group(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // Land along the path.
    cairo_set_line_width(cr, 2 * (17 + grow));
    for (int i = 0; i < 28; ++i) {
        const Pt a = MarkerCentre(i);
        if (i == 0 || BridgeAfter(i - 1)) cairo_move_to(cr, a.x, a.y);
        cairo_line_to(cr, a.x, a.y);
        if (i == 27 || BridgeAfter(i)) cairo_stroke(cr);
    }
    // Round bulges: under the totems and a few lumps along the shores.
    for (int i = 0; i < 8; ++i) {
        const Pt b = TotemBase(i);
        cairo_arc(cr, b.x, b.y - 6, 23 + grow, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    ArtRandom rnd(12001);
    for (int i = 0; i < 28; ++i) {
        const Pt c = MarkerCentre(i);
        const double a = rnd.Uniform(0, 2 * M_PI), d = rnd.Uniform(8, 16);
        cairo_arc(cr, c.x + d * std::cos(a), c.y + d * std::sin(a), rnd.Uniform(12, 20) + grow, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    return cairo_pop_group(cr);
}

void MaskWith(cairo_t* cr, cairo_pattern_t* mask, cairo_pattern_t* source) {
    cairo_set_source(cr, source);
    cairo_mask(cr, mask);
}

cairo_pattern_t* Speckled(cairo_t* cr, Rgb base, Rgb speck, int count, uint32_t seed) {
    cairo_push_group(cr);
    SetRgb(cr, base);
    cairo_paint(cr);
    ArtRandom rnd(seed);
    for (int i = 0; i < count; ++i) {
        cairo_arc(cr, rnd.Uniform(100, 560), rnd.Uniform(20, 420), rnd.Uniform(0.6, 2.2), 0, 2 * M_PI);
        SetRgb(cr, speck, rnd.Uniform(0.15, 0.5));
        cairo_fill(cr);
    }
    return cairo_pop_group(cr);
}

void Tuft(cairo_t* cr, double x, double y, uint32_t seed) {
    ArtRandom rnd(seed);
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + (i - 2) * 0.5;
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + 5 * std::cos(a), y + 5 * std::sin(a) - 3, x + 11 * std::cos(a),
                       y + 9 * std::sin(a), x + 12 * std::cos(a) + rnd.Uniform(-1, 1), y + 10 * std::sin(a) + 3);
        cairo_set_source_rgb(cr, 0.10, 0.36 + rnd.Uniform(0, 0.1), 0.12);
        cairo_set_line_width(cr, 3);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
    cairo_arc(cr, x, y - 1, 2, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.35, 0.22, 0.1);
    cairo_fill(cr);
}

// A small islet with a palm, for the open sea away from the path.
void Islet(cairo_t* cr, double cx, double cy, double r, uint32_t seed) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1.0, 0.7);
    cairo_arc(cr, 0, 0, r + 8, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.45, 0.85, 0.85, 0.45);
    cairo_fill(cr);
    cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.93, 0.80, 0.55);
    cairo_fill(cr);
    cairo_arc(cr, -r * 0.1, -r * 0.1, r * 0.7, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.24, 0.52, 0.22);
    cairo_fill(cr);
    cairo_restore(cr);
    ArtRandom rnd(seed);
    // Palm: a short trunk and a star of fronds.
    cairo_move_to(cr, cx, cy);
    cairo_curve_to(cr, cx + 2, cy - 8, cx + 5, cy - 14, cx + 7, cy - 20);
    cairo_set_source_rgb(cr, 0.45, 0.30, 0.15);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    for (int i = 0; i < 7; ++i) {
        const double a = i * 2 * M_PI / 7 + rnd.Uniform(-0.2, 0.2);
        cairo_move_to(cr, cx + 7, cy - 20);
        cairo_curve_to(cr, cx + 7 + 6 * std::cos(a), cy - 24 + 6 * std::sin(a), cx + 7 + 12 * std::cos(a),
                       cy - 20 + 10 * std::sin(a), cx + 7 + 14 * std::cos(a), cy - 16 + 10 * std::sin(a));
        cairo_set_source_rgb(cr, 0.10, 0.38, 0.14);
        cairo_set_line_width(cr, 3.5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
}

double Distance(Pt a, Pt b) { return std::hypot(a.x - b.x, a.y - b.y); }

void PaintIslands(cairo_t* cr) {
    Islet(cr, 470, 430, 28, 12601);
    Islet(cr, 610, 290, 20, 12602);
    Islet(cr, 70, 200, 24, 12603);
    Islet(cr, 575, 470, 15, 12604);
    Islet(cr, 340, 480, 18, 12605);
    cairo_pattern_t* shallows = IslandMask(cr, 9);
    cairo_pattern_t* beach = IslandMask(cr, 0);
    cairo_pattern_t* grass = IslandMask(cr, -6);
    cairo_pattern_t* lagoon = cairo_pattern_create_rgba(0.45, 0.85, 0.85, 0.45);
    MaskWith(cr, shallows, lagoon);
    cairo_pattern_destroy(lagoon);
    cairo_pattern_t* sand = Speckled(cr, Rgb{0.93, 0.80, 0.55}, Rgb{0.6, 0.45, 0.25}, 2500, 12002);
    MaskWith(cr, beach, sand);
    cairo_pattern_destroy(sand);
    cairo_pattern_t* green = Speckled(cr, Rgb{0.24, 0.52, 0.22}, Rgb{0.1, 0.3, 0.08}, 3500, 12003);
    MaskWith(cr, grass, green);
    cairo_pattern_destroy(green);
    cairo_pattern_destroy(shallows);
    cairo_pattern_destroy(beach);
    cairo_pattern_destroy(grass);

    // Tufts of grass away from the markers and totems.
    ArtRandom rnd(12004);
    for (int n = 0; n < 60; ++n) {
        const int i = static_cast<int>(rnd.Next() % 28);
        const Pt c = MarkerCentre(i);
        const Pt p{c.x + rnd.Uniform(-18, 18), c.y + rnd.Uniform(-16, 16)};
        bool clear = true;
        for (int k = 0; k < 28 && clear; ++k) clear = Distance(p, MarkerCentre(k)) > 16;
        for (int k = 0; k < 8 && clear; ++k) clear = Distance(p, TotemBase(k)) > 18;
        for (int k = 0; k < 9 && clear; ++k) clear = Distance(p, kWaterSpots[k]) > kPoolRadius + 8;
        if (clear) Tuft(cr, p.x, p.y, 12100 + n);
    }

    // Trail of footprints from marker to marker on land.
    for (int i = 0; i + 1 < 28; ++i) {
        if (BridgeAfter(i)) continue;
        const Pt a = MarkerCentre(i), b = MarkerCentre(i + 1);
        const double len = Distance(a, b);
        for (double t = 14; t < len - 14; t += 7) {
            cairo_arc(cr, a.x + (b.x - a.x) * t / len, a.y + (b.y - a.y) * t / len, 1.6, 0, 2 * M_PI);
            cairo_set_source_rgba(cr, 0.45, 0.30, 0.12, 0.8);
            cairo_fill(cr);
        }
    }
    // Rope bridges over the gaps between islands.
    for (int i = 0; i + 1 < 28; ++i) {
        if (!BridgeAfter(i)) continue;
        const Pt a = MarkerCentre(i), b = MarkerCentre(i + 1);
        const double len = Distance(a, b), nx = -(b.y - a.y) / len, ny = (b.x - a.x) / len;
        for (double t = 8; t < len - 8; t += 5) {
            const double px = a.x + (b.x - a.x) * t / len, py = a.y + (b.y - a.y) * t / len;
            cairo_move_to(cr, px - nx * 5, py - ny * 5);
            cairo_line_to(cr, px + nx * 5, py + ny * 5);
        }
        SetRgb(cr, Rgb{0.55, 0.36, 0.18});
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        for (double s : {-5.5, 5.5}) {
            cairo_move_to(cr, a.x + nx * s, a.y + ny * s);
            cairo_line_to(cr, b.x + nx * s, b.y + ny * s);
        }
        SetRgb(cr, Rgb{0.80, 0.68, 0.45});
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }

    // Open pools where the splashes rise: the sea below shows through.
    for (const Pt& w : kWaterSpots) {
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_arc(cr, w.x, w.y, kPoolRadius, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_arc(cr, w.x, w.y, kPoolRadius + 1.5, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0.30, 0.22, 0.12, 0.7);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        cairo_arc(cr, w.x, w.y, kPoolRadius + 3.5, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0.65, 0.85, 0.8, 0.35);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }

    // The statue heads on their rocks at both sides, as on the main menu.
    for (bool left : {true, false}) {
        const double ox = left ? 0 : 800, s = left ? 1 : -1;
        cairo_move_to(cr, ox, 330);
        cairo_curve_to(cr, ox + s * 110, 330, ox + s * 200, 420, ox + s * 230, 600);
        cairo_line_to(cr, ox, 600);
        cairo_close_path(cr);
        FillStone(cr, Rgb{0.42, 0.34, 0.30}, Rgb{0.15, 0.11, 0.10}, left ? 12201 : 12202);
        cairo_new_path(cr);
        cairo_move_to(cr, ox, 330);
        cairo_curve_to(cr, ox + s * 110, 330, ox + s * 200, 420, ox + s * 230, 600);
        cairo_set_source_rgba(cr, 0.75, 0.9, 0.9, 0.6);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        StatueHead(cr, left, left ? 12211 : 12212);
    }
    TitleWord(cr, "The Island Path", 560, 8, 230, 56, 40, Rgb{1.0, 0.93, 0.5}, Palette::Sunset);
}

void PaintStorySea(cairo_t* cr) {
    // Half size: the map draws this at twice its size.
    cairo_pattern_t* g = cairo_pattern_create_radial(140, 100, 20, 200, 150, 280);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.12, 0.55, 0.62);
    cairo_pattern_add_color_stop_rgb(g, 0.6, 0.06, 0.34, 0.50);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.03, 0.16, 0.30);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    ArtRandom rnd(12301);
    for (int i = 0; i < 260; ++i) {
        const double x = rnd.Uniform(0, 400), y = rnd.Uniform(0, 300), len = rnd.Uniform(4, 10);
        cairo_move_to(cr, x - len / 2, y);
        cairo_curve_to(cr, x - len / 4, y - 1.2, x + len / 4, y - 1.2, x + len / 2, y);
        cairo_set_source_rgba(cr, 0.8, 0.95, 1, rnd.Uniform(0.08, 0.25));
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
    }
    // A compass rose in the top-right corner.
    const double cx = 355, cy = 62;
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4, r = (i % 2 == 0) ? 20 : 11;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + r * std::cos(a - 0.25) * 0.35, cy + r * std::sin(a - 0.25) * 0.35);
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        cairo_line_to(cr, cx + r * std::cos(a + 0.25) * 0.35, cy + r * std::sin(a + 0.25) * 0.35);
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, 1, 0.92, 0.7, i % 2 == 0 ? 0.55 : 0.35);
        cairo_fill(cr);
    }
    cairo_arc(cr, cx, cy, 14, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 0.92, 0.7, 0.4);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
}

// ---- Markers ------------------------------------------------------------------

void PaintPoint(cairo_t* cr, bool locked) {
    const double c = kMarker / 2.0;
    cairo_arc(cr, c, c + 1.5, 11.5, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_fill(cr);
    cairo_arc(cr, c, c, 11, 0, 2 * M_PI);
    FillStone(cr, locked ? Rgb{0.45, 0.43, 0.42} : Rgb{0.78, 0.68, 0.52},
              locked ? Rgb{0.22, 0.21, 0.21} : Rgb{0.42, 0.32, 0.22}, locked ? 12401 : 12402);
    cairo_new_path(cr);
    cairo_arc(cr, c, c, 11, 0, 2 * M_PI);
    SetRgb(cr, locked ? Rgb{0.15, 0.15, 0.15} : Palette::Gold);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    if (locked) {
        PaintIcon(cr, Icon::Lock, c, c + 1, 12, Rgb{0.55, 0.55, 0.58}, Rgb{0.1, 0.1, 0.1});
    } else {
        cairo_arc(cr, c, c + 2, 4.5, 0, 2 * M_PI);
        SetRgb(cr, Palette::Line(0));
        cairo_fill_preserve(cr);
        SetRgb(cr, Ink);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
}

void PaintNextStar(cairo_t* cr) {
    const double c = 17;
    Glow(cr, c, c, 17, Palette::Gold, 0.7);
    StarPath(cr, c, c + 1, 14, 6);
    SetRgb(cr, Palette::Gold);
    cairo_fill_preserve(cr);
    SetRgb(cr, Rgb{0.45, 0.22, 0.0});
    cairo_set_line_width(cr, 1.8);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    StarPath(cr, c - 2, c - 1, 4, 1.8);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_fill(cr);
}

void PaintLevelStar(cairo_t* cr) {
    StarPath(cr, 6, 6.5, 5.8, 2.5);
    FillAndOutline(cr, Palette::Gold, Rgb{0.35, 0.18, 0.0}, 1);
}

void PaintHighlight(cairo_t* cr) {
    // Drawn additively in the marker's hover colour, so it is painted in grey.
    const double c = 26;
    cairo_pattern_t* g = cairo_pattern_create_radial(c, c, 8, c, c, 26);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(g, 0.35, 1, 1, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(g, 0.55, 1, 1, 1, 0.45);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0.0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
}

// ---- Totems -------------------------------------------------------------------
// Nine carved poles, each a little grander than the last; the ninth is gold.

void PaintTotem(cairo_t* cr, int n) {
    const double w = kTotemW, h = kTotemH, cx = w / 2;
    const Rgb accent = n == 9 ? Palette::Gold : Palette::Line((n - 1) % 5);
    // Shadow on the ground.
    cairo_save(cr);
    cairo_translate(cr, cx + 3, h - 4);
    cairo_scale(cr, 1, 0.3);
    cairo_arc(cr, 0, 0, 13, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    // Wings on top for the later totems.
    if (n >= 4) {
        for (int s : {-1, 1}) {
            cairo_move_to(cr, cx + s * 6, 14);
            cairo_curve_to(cr, cx + s * 14, 6, cx + s * 18, 8, cx + s * 17, 16);
            cairo_line_to(cr, cx + s * 6, 20);
            cairo_close_path(cr);
            FillAndOutline(cr, accent, Ink, 1);
        }
    }
    const int faces = n <= 3 ? 2 : 3;
    const double top = h - 4 - faces * 15 - 4;
    RoundedRect(cr, cx - 8, top, 16, h - 4 - top, 3);
    if (n == 9)
        FillStone(cr, Rgb{1.0, 0.88, 0.35}, Rgb{0.7, 0.5, 0.05}, 12500);
    else
        FillWood(cr, Rgb{0.60, 0.38, 0.19}, Rgb{0.30, 0.16, 0.07}, 12500 + n, false);
    cairo_new_path(cr);
    RoundedRect(cr, cx - 8, top, 16, h - 4 - top, 3);
    SetRgb(cr, Ink);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (int f = 0; f < faces; ++f) {
        const double fy = top + 4 + f * 15;
        for (double ex : {cx - 3.5, cx + 3.5}) {
            cairo_arc(cr, ex, fy + 3, 1.8, 0, 2 * M_PI);
            SetRgb(cr, f == 0 ? accent : Palette::EyeGlow);
            cairo_fill(cr);
        }
        cairo_move_to(cr, cx - 4, fy + 9);
        cairo_line_to(cr, cx + 4, fy + 9);
        SetRgb(cr, Ink);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_move_to(cr, cx - 8, fy + 13);
        cairo_line_to(cr, cx + 8, fy + 13);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    // A beak or crest on the top face.
    cairo_move_to(cr, cx - 5, top);
    cairo_line_to(cr, cx, top - 5 - n * 0.5);
    cairo_line_to(cr, cx + 5, top);
    cairo_close_path(cr);
    FillAndOutline(cr, accent, Ink, 1);
    if (n == 9) Glow(cr, cx, top + 6, 14, Palette::Gold, 0.5);
}

}  // namespace

TOTEM_ART(RegisterStoryMap) {
    AddArt({"media/gfx/story/story_back.png", 400, 300, PaintStorySea});
    AddArt({"media/gfx/story/story_islands.png", 800, 600, PaintIslands});
    AddArt({"media/gfx/story/story_point.png", kMarker, kMarker, [](cairo_t* cr) { PaintPoint(cr, false); }});
    AddArt({"media/gfx/story/story_locked.png", kMarker, kMarker, [](cairo_t* cr) { PaintPoint(cr, true); }});
    AddArt({"media/gfx/story/story_levelstar.png", 12, 12, PaintLevelStar});
    AddArt({"media/gfx/story/story_star.png", 34, 34, PaintNextStar});
    AddArt({"media/gfx/story/story_highlight.png", 52, 52, PaintHighlight});
    for (int n = 1; n <= 9; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "media/gfx/story/story_%03d.png", n);
        AddArt({name, kTotemW, kTotemH, [n](cairo_t* cr) { PaintTotem(cr, n); }});
    }
}
