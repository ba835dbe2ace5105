// The pictures of the play screen that every skin shares: the catcher with its
// multiplier badges, the line lights at the catch row, the light flash, the
// gold-rush flare, the statues' eye glow, the melody row's circles, the hints
// and the timed messages.

#include "ArtGryph.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "ArtHighway.h"
#include "ArtKit.h"
#include "ArtRegistry.h"

using G = HighwayGeometry;

namespace {

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb Scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
void AddStop(cairo_pattern_t* p, double at, Rgb c, double a = 1) {
    cairo_pattern_add_color_stop_rgba(p, at, c.r, c.g, c.b, a);
}

const std::string kDir = "media/gfx/gryph/";

// ------------------------------------------------------------- catcher

enum class Tier { Main, Silver, Gold };

struct Metal {
    Rgb light, mid, dark, inlay;
};

Metal MetalOf(Tier tier) {
    switch (tier) {
    case Tier::Silver: return {{0.97, 0.98, 1.0}, Palette::Silver, {0.36, 0.40, 0.48}, {0.55, 0.85, 1.0}};
    case Tier::Gold: return {{1.0, 0.95, 0.6}, Palette::Gold, {0.55, 0.35, 0.02}, {1.0, 0.45, 0.2}};
    default: return {{0.78, 0.52, 0.30}, Palette::Wood, {0.22, 0.12, 0.05}, {0.25, 0.85, 0.80}};
    }
}

// The catcher: a carved hoop lying flat on the highway around the catch point
// (its centre is the picture's centre), with a feathered crest at each end.
void PaintCatcher(cairo_t* cr, Tier tier) {
    const Metal m = MetalOf(tier);
    const double cx = 48, cy = 34;
    if (tier != Tier::Main) Glow(cr, cx, cy, 46, m.mid, 0.45);
    // Crests.
    for (int side = -1; side <= 1; side += 2) {
        for (int k = 0; k < 3; ++k) {
            const double bx = cx + side * (34 - k * 5), by = cy - 2;
            cairo_move_to(cr, bx - 3, by);
            cairo_curve_to(cr, bx - 4 + side * 3, by - 12, bx + side * (6 + k * 2), by - 20 + k * 3, bx + side * (8 + k * 2), by - 26 + k * 4);
            cairo_curve_to(cr, bx + side * 4, by - 14, bx + 4, by - 8, bx + 3, by);
            cairo_close_path(cr);
            SetRgb(cr, k == 1 ? m.inlay : Mix(m.mid, m.light, 0.3 * k));
            cairo_fill_preserve(cr);
            SetRgb(cr, m.dark, 0.8);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
    }
    // Hoop: a thick flattened ring, lit from above.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1, 0.45);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_arc(cr, 0, 0, 40, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 28, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, cy - 18, 0, cy + 18);
    AddStop(g, 0, m.light);
    AddStop(g, 0.45, m.mid);
    AddStop(g, 1, m.dark);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, Scale(m.dark, 0.6));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    // Front rim thickness.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1, 0.45);
    cairo_arc(cr, 0, 0, 40, 0.05 * M_PI, 0.95 * M_PI);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy + 5);
    cairo_scale(cr, 1, 0.45);
    cairo_arc_negative(cr, 0, 0, 40, 0.95 * M_PI, 0.05 * M_PI);
    cairo_restore(cr);
    cairo_close_path(cr);
    SetRgb(cr, m.dark);
    cairo_fill(cr);
    // Carved notches and inlays around the hoop.
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6 + M_PI / 12;
        const double x = cx + std::cos(a) * 34, y = cy + std::sin(a) * 34 * 0.45;
        cairo_arc(cr, x, y, 2.0, 0, 2 * M_PI);
        SetRgb(cr, i % 2 ? m.inlay : m.light, 0.9);
        cairo_fill(cr);
    }
    // The catch point: a faint centre mark in the hoop.
    Glow(cr, cx, cy, 16, Mix(m.light, Rgb{1, 1, 1}, 0.5), tier == Tier::Main ? 0.3 : 0.5);
}

// The multiplier badge, drawn at the catcher's position: it rides on the
// catcher's upper right, and pops from the catcher's centre (the handle).
void PaintBadge(cairo_t* cr, int mult) {
    const Metal m = MetalOf(mult == 4 ? Tier::Gold : Tier::Silver);
    const double bx = 104, by = 30, r = 20;
    Glow(cr, bx, by, r + 10, m.mid, 0.6);
    cairo_arc(cr, bx, by, r, 0, 2 * M_PI);
    cairo_pattern_t* g = cairo_pattern_create_linear(bx, by - r, bx, by + r);
    AddStop(g, 0, m.light);
    AddStop(g, 1, m.dark);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_arc(cr, bx, by, r - 3.5, 0, 2 * M_PI);
    SetRgb(cr, mult == 4 ? Rgb{0.55, 0.12, 0.05} : Rgb{0.10, 0.22, 0.40});
    cairo_fill(cr);
    OutlinedText(cr, "dejavu-bold", 17, bx, by + 1, mult == 4 ? "×4" : "×2", m.light, Scale(m.dark, 0.5), 1.5);
}

// ----------------------------------------------------------- lights

// Where the game draws each line's light (its handle point), and the screen
// rectangle each light picture covers around its line near the catch row.
constexpr int kLightPos[5][2] = {{178, 514}, {267, 514}, {363, 514}, {445, 514}, {522, 514}};
constexpr double kLightFromProgress = 70;

}  // namespace

LightBox LineLightBox(int line) {
    const double hw = G::kLineHalfWidth * 1.25;
    const double bottom = G::ProgressAtScreenY(600.0f);
    const double lx = G::LineX(line);
    const double left = std::min<double>(G::SurfacePoint(lx - hw, bottom).x, G::SurfacePoint(lx - hw, kLightFromProgress).x);
    const double right = std::max<double>(G::SurfacePoint(lx + hw, bottom).x, G::SurfacePoint(lx + hw, kLightFromProgress).x);
    const double top = G::SurfacePoint(lx, kLightFromProgress).y;
    LightBox b;
    b.x = static_cast<int>(std::floor(std::min<double>(left, kLightPos[line][0]))) - 4;
    b.y = static_cast<int>(std::floor(top)) - 4;
    b.w = static_cast<int>(std::ceil(right)) + 4 - b.x;
    b.h = 600 - b.y;
    b.handleX = kLightPos[line][0] - b.x;
    b.handleY = kLightPos[line][1] - b.y;
    return b;
}

namespace {

void RegisterLineLights() {
    for (int line = 0; line < 5; ++line) {
        const LightBox b = LineLightBox(line);
        const ScreenFrame f{double(b.x), double(b.y), 1};
        AddArt({kDir + "line_light_" + std::to_string(line + 1) + ".png", b.w, b.h, [f, line](cairo_t* cr) {
                    PaintLineGlow(cr, f, line, Mix(Palette::Line(line), Rgb{1, 1, 1}, 0.25), 1.0);
                }});
        AddArt({kDir + "line_bad_" + std::to_string(line + 1) + ".png", b.w, b.h, [f, line](cairo_t* cr) {
                    PaintLineGlow(cr, f, line, Rgb{1.0, 0.12, 0.06}, 1.0);
                }});
    }
}

// The light flash, drawn with its top-left corner at (183, 268): a burst of
// light over the near part of the highway.
void PaintLightFlashUnmasked(cairo_t* cr);
void PaintLightFlash(cairo_t* cr) {
    cairo_push_group(cr);
    PaintLightFlashUnmasked(cr);
    cairo_pop_group_to_source(cr);
    // The near end of the highway is wider than the picture: fade its sides
    // out so the flash shows no hard edge.
    const double w = 434;
    cairo_pattern_t* sides = cairo_pattern_create_linear(0, 0, w, 0);
    cairo_pattern_add_color_stop_rgba(sides, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(sides, 0.12, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(sides, 0.88, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(sides, 1, 0, 0, 0, 0);
    cairo_mask(cr, sides);
    cairo_pattern_destroy(sides);
}

void PaintLightFlashUnmasked(cairo_t* cr) {
    const ScreenFrame f{183, 268, 1};
    const double t0 = G::ProgressAtScreenY(268.0f), t1 = G::ProgressAtScreenY(600.0f) + 1;
    cairo_pattern_t* g = AlongHighway(f, t0, t1);
    const Rgb warm{1.0, 0.93, 0.75};
    AddStop(g, 0, warm, 0);
    AddStop(g, 0.35, warm, 0.45);
    AddStop(g, 1, warm, 0.8);
    for (int pass = 0; pass < 4; ++pass) {
        const double grow = pass * 1.6;
        HighwayQuad(cr, f, HighwayLeftX() - grow, HighwayRightX() + grow, t0, t1);
        cairo_set_source(cr, g);
        cairo_save(cr);
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, pass == 0 ? 0.6 : 0.14);
        cairo_restore(cr);
    }
    cairo_pattern_destroy(g);
    double cx, cy;
    SurfaceXY(f, 0.75, G::kCatchProgress - 8, &cx, &cy);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1.6, 0.7);
    Glow(cr, 0, 0, 140, Rgb{1, 1, 0.9}, 0.5);
    cairo_restore(cr);
}

// Rays turning behind the far end of the highway during a gold rush.
void PaintGoldFlare(cairo_t* cr) {
    const double c = 128;
    Glow(cr, c, c, 120, Palette::Gold, 0.35);
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8;
        const double len = i % 2 ? 95 : 126, spread = i % 2 ? 0.07 : 0.11;
        cairo_move_to(cr, c, c);
        cairo_line_to(cr, c + std::cos(a - spread) * len, c + std::sin(a - spread) * len);
        cairo_line_to(cr, c + std::cos(a + spread) * len, c + std::sin(a + spread) * len);
        cairo_close_path(cr);
        cairo_pattern_t* g = cairo_pattern_create_radial(c, c, 0, c, c, len);
        AddStop(g, 0, Rgb{1, 0.97, 0.7}, 0.9);
        AddStop(g, 0.4, Palette::Gold, 0.5);
        AddStop(g, 1, Palette::Gold, 0);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    Glow(cr, c, c, 34, Rgb{1, 1, 0.85}, 0.9);
}

// Eye glow: a turning glint and a steady glow, both centred.
void PaintEyeGlint(cairo_t* cr) {
    const double c = 32;
    Glow(cr, c, c, 26, Palette::EyeGlow, 0.5);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        const double len = i % 2 ? 18 : 31, w = i % 2 ? 0.12 : 0.09;
        cairo_move_to(cr, c, c);
        cairo_line_to(cr, c + std::cos(a - w) * 5, c + std::sin(a - w) * 5);
        cairo_line_to(cr, c + std::cos(a) * len, c + std::sin(a) * len);
        cairo_line_to(cr, c + std::cos(a + w) * 5, c + std::sin(a + w) * 5);
        cairo_close_path(cr);
        cairo_pattern_t* g = cairo_pattern_create_radial(c, c, 0, c, c, len);
        AddStop(g, 0, Rgb{1, 0.98, 0.85}, 1);
        AddStop(g, 1, Palette::EyeGlow, 0);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
}

void PaintEyeGlow(cairo_t* cr) {
    Glow(cr, 24, 24, 23, Palette::EyeGlow, 0.85);
    Glow(cr, 24, 24, 9, Rgb{1, 0.97, 0.8}, 1);
}

// The star collected along a long note's tail.
void PaintTailStar(cairo_t* cr) {
    Glow(cr, 16, 16, 16, Rgb{1, 0.95, 0.6}, 0.7);
    StarPath(cr, 16, 16.5, 12, 5);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 4, 0, 28);
    AddStop(g, 0, Rgb{1, 1, 0.9});
    AddStop(g, 1, Palette::Gold);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, Rgb{0.55, 0.35, 0.0}, 0.9);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// ------------------------------------------------------------ melody row

void PaintCircle(cairo_t* cr, int line) {
    const double c = 19;
    const Rgb col = Palette::Line(line);
    cairo_arc(cr, c, c, 17.5, 0, 2 * M_PI);
    FillStone(cr, Palette::StoneLight, Palette::StoneDark, 700 + line);
    cairo_new_path(cr);
    cairo_arc(cr, c, c, 17.5, 0, 2 * M_PI);
    SetRgb(cr, Scale(Palette::StoneDark, 0.5));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_arc(cr, c, c, 12, 0, 2 * M_PI);
    cairo_pattern_t* g = cairo_pattern_create_radial(c - 4, c - 4, 1, c, c, 12);
    AddStop(g, 0, Mix(col, Rgb{1, 1, 1}, 0.7));
    AddStop(g, 0.5, col);
    AddStop(g, 1, Scale(col, 0.45));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_arc(cr, c - 4, c - 4.5, 3, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
    cairo_fill(cr);
}

void PaintCircleFail(cairo_t* cr) {
    const double c = 19;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int pass = 0; pass < 2; ++pass) {
        cairo_move_to(cr, c - 11, c - 11);
        cairo_line_to(cr, c + 11, c + 11);
        cairo_move_to(cr, c + 11, c - 11);
        cairo_line_to(cr, c - 11, c + 11);
        cairo_set_line_width(cr, pass == 0 ? 8 : 4.5);
        if (pass == 0)
            cairo_set_source_rgba(cr, 0.2, 0, 0, 0.85);
        else
            cairo_set_source_rgb(cr, 0.95, 0.12, 0.08);
        cairo_stroke(cr);
    }
}

// Laid over a completed row (centred on it): a gold frame around the circles
// with a ribbon underneath.
void PaintRowCompleted(cairo_t* cr) {
    // Centred on the row like the circles: the frame's middle is the
    // picture's middle, the ribbon hangs over its lower edge.
    const double w = 300, h = 76;
    Glow(cr, w / 2, h / 2, 150, Palette::Gold, 0.18);
    RoundedRect(cr, 18, h / 2 - 26, w - 36, 52, 26);
    cairo_set_line_width(cr, 7);
    SetRgb(cr, Rgb{0.45, 0.28, 0.0}, 0.8);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 3.5);
    SetRgb(cr, Palette::Gold);
    cairo_stroke(cr);
    RoundedRect(cr, w / 2 - 54, h - 21, 108, 20, 7);
    SetRgb(cr, Rgb{0.5, 0.18, 0.05}, 0.95);
    cairo_fill_preserve(cr);
    SetRgb(cr, Palette::Gold);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    OutlinedText(cr, "lobster", 16, w / 2, h - 11, "Melody!", Rgb{1, 0.93, 0.55}, Rgb{0.3, 0.1, 0.0}, 1.2);
}

// ---------------------------------------------------------- hints

struct Hint {
    const char* file;
    const char* text;
    int icon;  // 0 melody circles, 1 fret, 2 star
};

// Hint 1 answers failed melodies, hint 2 missed frets, hint 3 missed stars.
const Hint kHints[] = {
    {"hint_1", "Catch every note of a melody without a miss!", 0},
    {"hint_2", "Click as a golden fret crosses the catcher!", 1},
    {"hint_3", "Click on a starred note as you catch it!", 2},
};

void PaintHint(cairo_t* cr, const Hint& hint) {
    const double w = 430, h = 42;
    RoundedRect(cr, 1, 2, w - 2, h - 4, 17);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
    AddStop(g, 0, Rgb{0.30, 0.20, 0.12}, 0.88);
    AddStop(g, 1, Rgb{0.12, 0.07, 0.04}, 0.88);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, Palette::Gold, 0.85);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // Icon on the left.
    const double ix = 24, iy = h / 2;
    if (hint.icon == 0) {
        for (int i = 0; i < 3; ++i) {
            cairo_arc(cr, ix - 9 + i * 9, iy, 4.2, 0, 2 * M_PI);
            SetRgb(cr, Palette::Line(i));
            cairo_fill(cr);
        }
    } else if (hint.icon == 1) {
        RoundedRect(cr, ix - 14, iy - 4, 28, 8, 3);
        SetRgb(cr, Palette::Gold);
        cairo_fill(cr);
    } else {
        StarPath(cr, ix, iy + 1, 11, 4.5);
        SetRgb(cr, Palette::Gold);
        cairo_fill(cr);
    }
    // The sentence, as large as fits.
    cairo_set_font_face(cr, ArtFont("cabin-bold"));
    double size = 19;
    for (; size > 10; size -= 0.5) {
        cairo_set_font_size(cr, size);
        cairo_text_extents_t e;
        cairo_text_extents(cr, hint.text, &e);
        if (e.x_advance <= w - 62) break;
    }
    OutlinedText(cr, "cabin-bold", size, 44 + (w - 56) / 2, iy, hint.text, Palette::Parchment, Rgb{0.1, 0.05, 0.02}, 1.2);
}

// ------------------------------------------------------- messages

struct Message {
    const char* text;
    int x, y;  // where the game draws it: the picture's top-left corner
    int height;
};

// The chart shows message v at the v-th position; each picture is as wide as
// twice its distance from the screen's middle, so every message is centred.
//  1 "Get ready!"    — at the very start of a song, high over the scene
//  2 "Melody ahead!" — before the first chain of linked notes
//  3 "Frets!"        — before the first fret: click as it crosses
//  4 "Hold on!"      — before the first long note: stay on it
//  5 "Final round!"  — the last part of the song
//  6 "Well done!"    — after the last note
const Message kMessages[] = {
    {"Get ready!", 224, 25, 62}, {"Melody ahead!", 266, 124, 46}, {"Frets!", 358, 142, 40},
    {"Hold on!", 331, 124, 48},  {"Final round!", 305, 137, 40},  {"Well done!", 237, 80, 54},
};

void PaintMessage(cairo_t* cr, const Message& m, int w) {
    const double h = m.height;
    cairo_set_font_face(cr, ArtFont("lobster"));
    double size = h * 0.8;
    for (; size > 8; size -= 0.5) {
        cairo_set_font_size(cr, size);
        cairo_text_extents_t e;
        cairo_text_extents(cr, m.text, &e);
        if (e.width <= w - 14 && e.height <= h - 10) break;
    }
    // A warm halo, a dark outline and a golden fill.
    cairo_save(cr);
    cairo_translate(cr, w / 2.0, h / 2.0);
    cairo_scale(cr, 1.0, (h - 2) / double(w - 2));
    Glow(cr, 0, 0, w / 2.0 - 1, Rgb{1.0, 0.55, 0.1}, 0.45);
    cairo_restore(cr);
    OutlinedText(cr, "lobster", size, w / 2.0, h / 2.0, m.text, Rgb{1.0, 0.86, 0.3}, Rgb{0.28, 0.08, 0.02},
                 std::max(1.5, size / 12));
    // A brighter top half of the letters.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, w, h * 0.47);
    cairo_clip(cr);
    OutlinedText(cr, "lobster", size, w / 2.0, h / 2.0, m.text, Rgb{1.0, 0.96, 0.7}, Rgb{0, 0, 0}, 0);
    cairo_restore(cr);
}

TOTEM_ART(RegisterGryph) {
    AddArt({kDir + "bat_main.png", 96, 64, [](cairo_t* cr) { PaintCatcher(cr, Tier::Main); }});
    AddArt({kDir + "bat_silver.png", 96, 64, [](cairo_t* cr) { PaintCatcher(cr, Tier::Silver); }});
    AddArt({kDir + "bat_gold.png", 96, 64, [](cairo_t* cr) { PaintCatcher(cr, Tier::Gold); }});
    AddArt({kDir + "bat_x2.png", 128, 128, [](cairo_t* cr) { PaintBadge(cr, 2); }});
    AddArt({kDir + "bat_x4.png", 128, 128, [](cairo_t* cr) { PaintBadge(cr, 4); }});
    AddArt({kDir + "star.png", 32, 32, PaintTailStar});
    AddArt({kDir + "lightsfx.png", 434, 332, PaintLightFlash});
    RegisterLineLights();
    AddArt({kDir + "gold_flare.png", 256, 256, PaintGoldFlare});
    AddArt({kDir + "eye_fx1.png", 64, 64, PaintEyeGlint});
    AddArt({kDir + "eye_fx2.png", 48, 48, PaintEyeGlow});
    for (int line = 0; line < 5; ++line)
        AddArt({kDir + "noteline_circle_" + std::to_string(line + 1) + ".png", 38, 38,
                [line](cairo_t* cr) { PaintCircle(cr, line); }});
    AddArt({kDir + "noteline_circle_fail.png", 38, 38, PaintCircleFail});
    AddArt({kDir + "noteline_circle_completed.png", 300, 76, PaintRowCompleted});
    for (const Hint& h : kHints) {
        const Hint* hp = &h;
        AddArt({kDir + h.file + ".png", 430, 42, [hp](cairo_t* cr) { PaintHint(cr, *hp); }});
    }
    for (int i = 0; i < 6; ++i) {
        const Message* m = &kMessages[i];
        const int w = 2 * (400 - m->x);
        AddArt({kDir + "message_" + std::to_string(i + 1) + ".png", w, m->height,
                [m, w](cairo_t* cr) { PaintMessage(cr, *m, w); }});
    }
}

}  // namespace
