// The items that travel down the note highway: notes (plain ones animated,
// starred ones still), the fret that spans the whole highway, the seven bonus
// treasures and the gold light under notes in a gold rush.
//
// Items are drawn at the highway's item scale, at which 5 picture pixels span
// one world unit across the highway: a line is 63 pixels wide, the whole
// highway 320. Every item picture is centred on its position.

#include <cmath>
#include <string>

#include "ArtKit.h"
#include "ArtRegistry.h"
#include "game/HighwayGeometry.h"

namespace {

using G = HighwayGeometry;

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb Scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
void AddStop(cairo_pattern_t* p, double at, Rgb c, double a = 1) {
    cairo_pattern_add_color_stop_rgba(p, at, c.r, c.g, c.b, a);
}

const std::string kDir = "media/gfx/items/";

constexpr int kNoteW = 64, kNoteH = 48;
// The note disc: a little narrower than its line so neighbours never touch.
constexpr double kDiscRx = G::kLineHalfWidth * G::kPixelsPerUnitAtScale1 * 0.86;
constexpr double kDiscRy = kDiscRx * 0.5;
constexpr double kDiscDepth = 7;

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

// A polished gem disc in the line's colour, seen from above the highway.
// `shine` (radians) places the moving highlight; `pulse` (0..1) the inner glow.
void PaintNoteDisc(cairo_t* cr, int line, double shine, double pulse, bool starred) {
    const Rgb c = Palette::Line(line);
    const double cx = kNoteW / 2.0, top = kNoteH / 2.0 - kDiscDepth / 2;
    Glow(cr, cx, kNoteH / 2.0, kNoteW / 2.0, c, 0.25 + 0.15 * pulse);
    // Side band.
    cairo_move_to(cr, cx - kDiscRx, top);
    cairo_line_to(cr, cx - kDiscRx, top + kDiscDepth);
    cairo_save(cr);
    cairo_translate(cr, cx, top + kDiscDepth);
    cairo_scale(cr, kDiscRx, kDiscRy);
    cairo_arc_negative(cr, 0, 0, 1, M_PI, 0);
    cairo_restore(cr);
    cairo_line_to(cr, cx + kDiscRx, top);
    cairo_close_path(cr);
    const Rgb rim = starred ? Palette::Gold : Scale(c, 0.55);
    cairo_pattern_t* band = cairo_pattern_create_linear(cx - kDiscRx, 0, cx + kDiscRx, 0);
    AddStop(band, 0, Scale(rim, 0.55));
    AddStop(band, 0.4, rim);
    AddStop(band, 1, Scale(rim, 0.45));
    cairo_set_source(cr, band);
    cairo_fill(cr);
    cairo_pattern_destroy(band);
    // Top face.
    Ellipse(cr, cx, top, kDiscRx, kDiscRy);
    cairo_pattern_t* face = cairo_pattern_create_radial(cx - 6, top - 4, 2, cx, top, kDiscRx);
    AddStop(face, 0, Mix(c, Rgb{1, 1, 1}, 0.55 + 0.25 * pulse));
    AddStop(face, 0.55, c);
    AddStop(face, 1, Scale(c, 0.6));
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    SetRgb(cr, starred ? Mix(Palette::Gold, Rgb{1, 1, 1}, 0.3) : Mix(c, Rgb{1, 1, 1}, 0.5), 0.9);
    cairo_set_line_width(cr, starred ? 2.2 : 1.4);
    cairo_stroke(cr);
    // Inner ring, carved.
    Ellipse(cr, cx, top, kDiscRx * 0.62, kDiscRy * 0.62);
    SetRgb(cr, Scale(c, 0.45), 0.55);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    if (starred) {
        cairo_save(cr);
        cairo_translate(cr, cx, top);
        cairo_scale(cr, 1, 0.62);
        StarPath(cr, 0, 1, 13, 5.5, 0);
        cairo_restore(cr);
        SetRgb(cr, Rgb{1, 1, 0.92});
        cairo_fill_preserve(cr);
        SetRgb(cr, Scale(Palette::Gold, 0.6));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    // Moving highlight along the top face's edge.
    const double hx = cx + std::cos(shine) * kDiscRx * 0.72, hy = top + std::sin(shine) * kDiscRy * 0.72;
    Glow(cr, hx, hy, 7, Rgb{1, 1, 1}, 0.85);
}

constexpr int kNoteFrames = 8;

// A fret: a carved gold beam lying across all five lines.
void PaintFret(cairo_t* cr) {
    const double w = 320, h = 40, cy = h / 2;
    const double bw = (G::LineX(4) - G::LineX(0) + 2 * G::kLineHalfWidth) * G::kPixelsPerUnitAtScale1 - 4;
    const double x0 = (w - bw) / 2;
    Glow(cr, w / 2, cy, 60, Palette::Gold, 0.3);
    cairo_save(cr);
    cairo_translate(cr, 0, cy);
    cairo_scale(cr, 1, 0.3);
    cairo_pattern_t* halo = cairo_pattern_create_radial(w / 2, 0, 10, w / 2, 0, w / 2);
    AddStop(halo, 0, Palette::Gold, 0.5);
    AddStop(halo, 1, Palette::Gold, 0);
    cairo_set_source(cr, halo);
    cairo_arc(cr, w / 2, 0, w / 2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    cairo_restore(cr);
    // Beam with a front face.
    RoundedRect(cr, x0, cy - 7, bw, 12, 5);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, cy - 7, 0, cy + 5);
    AddStop(g, 0, Rgb{1, 0.97, 0.7});
    AddStop(g, 0.5, Palette::Gold);
    AddStop(g, 1, Rgb{0.6, 0.4, 0.02});
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, Rgb{0.35, 0.2, 0.0});
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    RoundedRect(cr, x0 + 2, cy + 3, bw - 4, 5, 2.5);
    SetRgb(cr, Rgb{0.45, 0.26, 0.0});
    cairo_fill(cr);
    // A studded gem over each line, in the line's colour.
    for (int line = 0; line < 5; ++line) {
        const double x = w / 2 + (G::LineX(line) - (G::LineX(0) + G::LineX(4)) / 2) * G::kPixelsPerUnitAtScale1;
        Ellipse(cr, x, cy - 1, 6, 4);
        SetRgb(cr, Mix(Palette::Line(line), Rgb{1, 1, 1}, 0.25));
        cairo_fill_preserve(cr);
        SetRgb(cr, Rgb{0.35, 0.2, 0.0});
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        Glow(cr, x - 1.5, cy - 2.5, 2.5, Rgb{1, 1, 1}, 0.9);
    }
    // Carved end caps.
    for (double x : {x0 + 2, x0 + bw - 2}) {
        Ellipse(cr, x, cy - 1, 5, 10);
        SetRgb(cr, Rgb{0.75, 0.52, 0.05});
        cairo_fill_preserve(cr);
        SetRgb(cr, Rgb{0.35, 0.2, 0.0});
        cairo_stroke(cr);
    }
}

// ------------------------------------------------------------ bonus items

constexpr int kBonusSize = 48, kBonusFrames = 8;

void BonusGlow(cairo_t* cr, int frame) {
    const double p = 0.5 + 0.5 * std::sin(frame * 2 * M_PI / kBonusFrames);
    Glow(cr, 24, 24, 23, Palette::Gold, 0.3 + 0.2 * p);
}

void PaintCoin(cairo_t* cr, int frame) {
    const double turn = std::cos(frame * 2 * M_PI / kBonusFrames);
    const double rx = std::max(2.5, 15 * std::fabs(turn));
    Ellipse(cr, 24, 24, rx + 1.5, 15.5);
    SetRgb(cr, Rgb{0.55, 0.35, 0.0});
    cairo_fill(cr);
    Ellipse(cr, 24, 24, rx, 15);
    cairo_pattern_t* g = cairo_pattern_create_linear(24 - rx, 9, 24 + rx, 39);
    AddStop(g, 0, Rgb{1, 0.97, 0.7});
    AddStop(g, 0.5, Palette::Gold);
    AddStop(g, 1, Rgb{0.7, 0.45, 0.02});
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    if (std::fabs(turn) > 0.4) {
        cairo_save(cr);
        cairo_translate(cr, 24, 24);
        cairo_scale(cr, std::fabs(turn), 1);
        OutlinedText(cr, "dejavu-bold", 13, 0, 0, "50", Rgb{0.6, 0.35, 0.0}, Rgb{1, 0.95, 0.6}, 0.6);
        cairo_restore(cr);
    }
}

void PaintPearlShell(cairo_t* cr, int frame) {
    // Open scallop with a shimmering pearl.
    for (int i = 0; i < 9; ++i) {
        const double a = M_PI + i * M_PI / 8;
        cairo_move_to(cr, 24, 34);
        cairo_line_to(cr, 24 + std::cos(a - 0.17) * 19, 34 + std::sin(a - 0.17) * 19);
        cairo_line_to(cr, 24 + std::cos(a + 0.17) * 19, 34 + std::sin(a + 0.17) * 19);
        cairo_close_path(cr);
        SetRgb(cr, i % 2 ? Rgb{0.98, 0.70, 0.62} : Rgb{0.95, 0.55, 0.50});
        cairo_fill(cr);
    }
    Ellipse(cr, 24, 38, 16, 5);
    SetRgb(cr, Rgb{0.85, 0.45, 0.42});
    cairo_fill(cr);
    const double p = 0.5 + 0.5 * std::sin(frame * 2 * M_PI / kBonusFrames);
    cairo_arc(cr, 24, 31, 7.5, 0, 2 * M_PI);
    cairo_pattern_t* g = cairo_pattern_create_radial(21 + p * 4, 28, 1, 24, 31, 8);
    AddStop(g, 0, Rgb{1, 1, 1});
    AddStop(g, 0.6, Rgb{0.9, 0.9, 0.98});
    AddStop(g, 1, Rgb{0.7, 0.72, 0.85});
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void PaintStarfish(cairo_t* cr, int frame) {
    const double turn = frame * (2 * M_PI / 5) / kBonusFrames;
    StarPath(cr, 24, 24, 19, 8, turn);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    FillAndOutline(cr, Rgb{0.98, 0.45, 0.2}, Rgb{0.6, 0.18, 0.05}, 1.5);
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + turn + i * 2 * M_PI / 5;
        for (int k = 1; k <= 3; ++k) {
            cairo_arc(cr, 24 + std::cos(a) * k * 4.5, 24 + std::sin(a) * k * 4.5, 1.2, 0, 2 * M_PI);
            SetRgb(cr, Rgb{1, 0.85, 0.6});
            cairo_fill(cr);
        }
    }
}

void PaintGem(cairo_t* cr, int frame) {
    const double pts[][2] = {{24, 8}, {38, 18}, {24, 40}, {10, 18}};
    cairo_move_to(cr, pts[0][0], pts[0][1]);
    for (int i = 1; i < 4; ++i) cairo_line_to(cr, pts[i][0], pts[i][1]);
    cairo_close_path(cr);
    SetRgb(cr, Rgb{0.2, 0.75, 0.95});
    cairo_fill(cr);
    // Facets.
    const Rgb shades[] = {{0.55, 0.92, 1.0}, {0.12, 0.55, 0.85}, {0.3, 0.8, 1.0}, {0.08, 0.4, 0.7}};
    const double facets[][6] = {{24, 8, 38, 18, 24, 18}, {38, 18, 24, 40, 24, 18}, {24, 8, 10, 18, 24, 18}, {10, 18, 24, 40, 24, 18}};
    for (int i = 0; i < 4; ++i) {
        cairo_move_to(cr, facets[i][0], facets[i][1]);
        cairo_line_to(cr, facets[i][2], facets[i][3]);
        cairo_line_to(cr, facets[i][4], facets[i][5]);
        cairo_close_path(cr);
        SetRgb(cr, shades[(i + frame / 2) % 4], 0.85);
        cairo_fill(cr);
    }
    const double s = std::fabs(std::sin(frame * M_PI / kBonusFrames));
    Glow(cr, 30, 14, 4 + 6 * s, Rgb{1, 1, 1}, 0.9);
}

void PaintSpiralShell(cairo_t* cr, int frame) {
    cairo_save(cr);
    cairo_translate(cr, 25, 26);
    cairo_rotate(cr, 0.25 * std::sin(frame * 2 * M_PI / kBonusFrames));
    for (int i = 6; i >= 0; --i) {
        const double r = 3 + i * 2.0;
        cairo_arc(cr, -i * 0.8, i * 0.5, r, 0, 2 * M_PI);
        SetRgb(cr, i % 2 ? Rgb{0.96, 0.85, 0.66} : Rgb{0.85, 0.62, 0.42});
        cairo_fill(cr);
    }
    cairo_move_to(cr, 6, -4);
    cairo_line_to(cr, 20, -14);
    cairo_line_to(cr, 12, 2);
    cairo_close_path(cr);
    SetRgb(cr, Rgb{0.85, 0.62, 0.42});
    cairo_fill(cr);
    cairo_restore(cr);
}

void PaintFlower(cairo_t* cr, int frame) {
    cairo_save(cr);
    cairo_translate(cr, 24, 24);
    cairo_rotate(cr, frame * (2 * M_PI / 5) / kBonusFrames);
    for (int i = 0; i < 5; ++i) {
        cairo_save(cr);
        cairo_rotate(cr, i * 2 * M_PI / 5);
        Ellipse(cr, 0, -10, 8, 11);
        cairo_pattern_t* g = cairo_pattern_create_radial(0, -4, 1, 0, -10, 12);
        AddStop(g, 0, Rgb{1, 0.85, 0.3});
        AddStop(g, 0.4, Rgb{0.98, 0.25, 0.45});
        AddStop(g, 1, Rgb{0.75, 0.05, 0.25});
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_restore(cr);
    }
    cairo_arc(cr, 0, 0, 3.5, 0, 2 * M_PI);
    SetRgb(cr, Rgb{1, 0.9, 0.3});
    cairo_fill(cr);
    cairo_restore(cr);
}

void PaintIdol(cairo_t* cr, int frame) {
    const double bob = 2 * std::sin(frame * 2 * M_PI / kBonusFrames);
    cairo_save(cr);
    cairo_translate(cr, 0, bob);
    RoundedRect(cr, 12, 8, 24, 32, 9);
    cairo_pattern_t* g = cairo_pattern_create_linear(12, 0, 36, 0);
    AddStop(g, 0, Rgb{0.7, 0.45, 0.02});
    AddStop(g, 0.45, Rgb{1, 0.92, 0.5});
    AddStop(g, 1, Rgb{0.65, 0.42, 0.02});
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (double x : {19.0, 29.0}) {
        Ellipse(cr, x, 20, 3.5, 2.5);
        SetRgb(cr, Rgb{0.3, 0.15, 0.0});
        cairo_fill(cr);
        Glow(cr, x, 20, 3, Rgb{1, 0.4, 0.1}, 0.5 + 0.5 * std::fabs(bob) / 2);
    }
    cairo_rectangle(cr, 18, 30, 12, 2.5);
    SetRgb(cr, Rgb{0.35, 0.18, 0.0});
    cairo_fill(cr);
    cairo_restore(cr);
}

using BonusPainter = void (*)(cairo_t*, int);
// Seven treasures; the highway picks one at random for each bonus item.
const BonusPainter kBonus[7] = {PaintCoin, PaintPearlShell, PaintStarfish, PaintGem,
                                PaintSpiralShell, PaintFlower, PaintIdol};

void PaintGoldLight(cairo_t* cr) {
    Glow(cr, 64, 64, 64, Palette::Gold, 0.75);
    Glow(cr, 64, 64, 24, Rgb{1, 0.95, 0.7}, 0.6);
}

TOTEM_ART(RegisterItems) {
    for (int line = 0; line < 5; ++line) {
        const std::string n = std::to_string(line + 1);
        AddArt({kDir + "note_" + n + ".png", kNoteW, kNoteH,
                [line](cairo_t* cr) { PaintNoteDisc(cr, line, -2.2, 0.6, true); }});
        AddStrip(kDir + "note_anim_" + n + ".png", kNoteW, kNoteH, kNoteFrames, [line](cairo_t* cr, int frame) {
            const double phase = frame * 2 * M_PI / kNoteFrames;
            PaintNoteDisc(cr, line, phase + M_PI, 0.5 + 0.5 * std::sin(phase), false);
        });
    }
    AddArt({kDir + "fret.png", 320, 40, PaintFret});
    for (int k = 0; k < 7; ++k) {
        const BonusPainter paint = kBonus[k];
        AddStrip(kDir + "bonus50_" + std::to_string(k + 1) + ".png", kBonusSize, kBonusSize, kBonusFrames,
                 [paint](cairo_t* cr, int frame) {
                     BonusGlow(cr, frame);
                     paint(cr, frame);
                 });
    }
    AddArt({kDir + "gold_light.png", 128, 128, PaintGoldLight});
}

}  // namespace
