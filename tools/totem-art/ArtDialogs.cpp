// Dialog pieces: the nine-part frame every dialog is cut from, the ornaments
// centred on its four edges, the form controls, the generic dialog button,
// word labels that head dialogs, the picture buttons of the results dialog and
// the results' stars and high-score badge.

#include <cmath>
#include <string>

#include "ArtKit.h"
#include "ArtRegistry.h"
#include "ArtUiKit.h"

using namespace UiArt;

namespace {

// The frame picture is a 3 × 3 grid of square parts; the game tiles the edge
// parts along the edges and the centre part over the inside, so edges vary
// only across their band and every part repeats seamlessly with the tile size.
constexpr int kTile = 40;
constexpr double kBand = 15;
constexpr Rgb kInside{0.16, 0.10, 0.09};

void InsideFill(cairo_t* cr, double x, double y, double w, double h, uint32_t seed) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    SetRgb(cr, kInside);
    cairo_paint(cr);
    // Speckles wrapped around the tile so the texture repeats without seams.
    ArtRandom rnd(seed);
    for (int i = 0; i < 60; ++i) {
        const double px = rnd.Uniform(0, kTile), py = rnd.Uniform(0, kTile), r = rnd.Uniform(0.5, 1.6);
        const bool bright = rnd.Next() & 1;
        const double a = rnd.Uniform(0.03, 0.08);
        for (int ox = -1; ox <= 3; ++ox)
            for (int oy = -1; oy <= 3; ++oy) {
                cairo_arc(cr, x + px + ox * kTile, y + py + oy * kTile, r, 0, 2 * M_PI);
                cairo_set_source_rgba(cr, bright ? 1 : 0, bright ? 0.9 : 0, bright ? 0.7 : 0, a);
                cairo_fill(cr);
            }
    }
    cairo_restore(cr);
}

// One border band running along x from x0 to x1, its outer edge at y = 0
// in the coordinates set up by the caller.
void Band(cairo_t* cr, double x0, double x1) {
    cairo_rectangle(cr, x0, 0, x1 - x0, kBand);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, kBand);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.22, 0.12, 0.05);
    cairo_pattern_add_color_stop_rgb(g, 0.3, 0.58, 0.36, 0.17);
    cairo_pattern_add_color_stop_rgb(g, 0.7, 0.44, 0.26, 0.11);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.18, 0.09, 0.04);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_move_to(cr, x0, kBand + 1.5);
    cairo_line_to(cr, x1, kBand + 1.5);
    SetRgb(cr, Palette::Gold, 0.75);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, x0, kBand + 4);
    cairo_line_to(cr, x1, kBand + 4);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // Studs once per tile keep the band periodic.
    for (double x = x0 + kTile / 2.0; x < x1; x += kTile) {
        cairo_arc(cr, x, kBand / 2, 2.6, 0, 2 * M_PI);
        SetRgb(cr, Palette::Gold, 0.85);
        cairo_fill(cr);
    }
}

void PaintDialogFrame(cairo_t* cr) {
    const double full = kTile * 3;
    InsideFill(cr, 0, 0, full, full, 9001);
    // Four bands: top, right, bottom, left, each rotated so its outer edge is y = 0.
    for (int side = 0; side < 4; ++side) {
        cairo_save(cr);
        cairo_translate(cr, full / 2, full / 2);
        cairo_rotate(cr, side * M_PI / 2);
        cairo_translate(cr, -full / 2, -full / 2);
        Band(cr, 0, full);
        cairo_restore(cr);
    }
    // Corner blocks with a gem.
    for (double cx : {0.0, full - kTile}) {
        for (double cy : {0.0, full - kTile}) {
            const double bx = cx == 0 ? 0 : full - 26, by = cy == 0 ? 0 : full - 26;
            RoundedRect(cr, bx, by, 26, 26, 5);
            FillWood(cr, Rgb{0.62, 0.40, 0.20}, Rgb{0.28, 0.15, 0.07}, 9100 + static_cast<uint32_t>(bx + by));
            cairo_new_path(cr);
            RoundedRect(cr, bx + 0.75, by + 0.75, 24.5, 24.5, 5);
            SetRgb(cr, Palette::Gold);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
            cairo_arc(cr, bx + 13, by + 13, 6, 0, 2 * M_PI);
            SetRgb(cr, Palette::Line(2));
            cairo_fill_preserve(cr);
            SetRgb(cr, Ink);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
            cairo_arc(cr, bx + 11, by + 11, 2, 0, 2 * M_PI);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
            cairo_fill(cr);
        }
    }
}

// Edge ornaments. The top one is a carved mask with feathers, the bottom one
// a row of beads, the side ones hanging tassels; res.xml sets their handles
// so each sits centred across its edge.
void PaintDialogUp(cairo_t* cr) {
    const double w = 150, h = 56, cx = w / 2;
    for (int side : {-1, 1}) {
        for (int i = 0; i < 3; ++i) {
            cairo_save(cr);
            cairo_translate(cr, cx + side * 24, h * 0.62);
            cairo_rotate(cr, side * (1.05 + i * 0.22));
            cairo_move_to(cr, 0, 0);
            cairo_curve_to(cr, -6, -14, -5, -34, 0, -44);
            cairo_curve_to(cr, 5, -34, 6, -14, 0, 0);
            SetRgb(cr, Palette::Line(side < 0 ? i : 4 - i));
            cairo_fill_preserve(cr);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
            cairo_restore(cr);
        }
    }
    const auto maskPath = [&] {
        cairo_move_to(cr, cx - 30, 8);
        cairo_curve_to(cr, cx - 10, 2, cx + 10, 2, cx + 30, 8);
        cairo_curve_to(cr, cx + 34, 30, cx + 20, 50, cx, 54);
        cairo_curve_to(cr, cx - 20, 50, cx - 34, 30, cx - 30, 8);
        cairo_close_path(cr);
    };
    maskPath();
    FillWood(cr, Rgb{0.66, 0.42, 0.21}, Rgb{0.30, 0.16, 0.07}, 9201, false);
    cairo_new_path(cr);
    maskPath();
    SetRgb(cr, Ink);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (double ex : {cx - 11, cx + 11}) {
        Glow(cr, ex, 22, 9, Palette::EyeGlow, 0.8);
        cairo_save(cr);
        cairo_translate(cr, ex, 22);
        cairo_scale(cr, 1, 0.6);
        cairo_arc(cr, 0, 0, 5, 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_set_source_rgb(cr, 1, 0.92, 0.6);
        cairo_fill(cr);
    }
    cairo_move_to(cr, cx - 10, 38);
    cairo_curve_to(cr, cx - 4, 43, cx + 4, 43, cx + 10, 38);
    SetRgb(cr, Ink);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
}

void PaintDialogDown(cairo_t* cr) {
    const double w = 96, h = 28;
    cairo_move_to(cr, 4, h / 2);
    cairo_line_to(cr, w - 4, h / 2);
    cairo_set_source_rgb(cr, 0.72, 0.60, 0.38);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    for (int i = 0; i < 5; ++i) {
        const double x = w / 2 + (i - 2) * 17;
        const double r = i == 2 ? 10 : 7;
        cairo_arc(cr, x, h / 2, r, 0, 2 * M_PI);
        SetRgb(cr, Palette::Line(i));
        cairo_fill_preserve(cr);
        SetRgb(cr, Ink);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_arc(cr, x - r * 0.3, h / 2 - r * 0.3, r * 0.3, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.65);
        cairo_fill(cr);
    }
}

void PaintDialogSide(cairo_t* cr) {
    const double w = 26, h = 92, cx = w / 2;
    cairo_move_to(cr, cx, 2);
    cairo_line_to(cr, cx, h - 26);
    cairo_set_source_rgb(cr, 0.72, 0.60, 0.38);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) {
        cairo_save(cr);
        cairo_translate(cr, cx, 14 + i * 20);
        cairo_scale(cr, 1, 1.3);
        cairo_arc(cr, 0, 0, 6.5, 0, 2 * M_PI);
        cairo_restore(cr);
        FillAndOutline(cr, i == 1 ? Palette::Gold : Rgb{0.62, 0.40, 0.20}, Ink, 1.5);
    }
    // Feather at the end.
    cairo_move_to(cr, cx, h - 28);
    cairo_curve_to(cr, cx - 9, h - 18, cx - 6, h - 6, cx, h - 1);
    cairo_curve_to(cr, cx + 6, h - 6, cx + 9, h - 18, cx, h - 28);
    SetRgb(cr, Palette::Line(4));
    cairo_fill_preserve(cr);
    SetRgb(cr, Ink);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

// ---- Form controls --------------------------------------------------------------

constexpr int kTrackW = 240, kTrackH = 16;

void Track(cairo_t* cr) { RoundedRect(cr, 1, 1, kTrackW - 2, kTrackH - 2, kTrackH / 2.0 - 1); }

void PaintScrollEmpty(cairo_t* cr) {
    Track(cr);
    FillVertical(cr, 0, kTrackH, Rgb{0.05, 0.03, 0.02}, Rgb{0.25, 0.18, 0.14});
    cairo_set_source_rgba(cr, 0.8, 0.65, 0.45, 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void PaintScrollFull(cairo_t* cr) {
    Track(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, kTrackW, 0);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.75, 0.35, 0.05);
    cairo_pattern_add_color_stop_rgb(g, 1, Palette::Gold.r, Palette::Gold.g, Palette::Gold.b);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    GlassShine(cr, 0, kTrackH, 0.6, 0.5, 0.0, 0.3);
    cairo_set_source_rgba(cr, 0.8, 0.65, 0.45, 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void PaintScrollMarker(cairo_t* cr) {
    // A small carved totem knob.
    const double w = 24, h = 30;
    RoundedRect(cr, 2, 1, w - 4, h - 2, 7);
    FillStone(cr, Rgb{0.72, 0.64, 0.54}, Rgb{0.34, 0.28, 0.24}, 9301);
    cairo_new_path(cr);
    RoundedRect(cr, 2, 1, w - 4, h - 2, 7);
    SetRgb(cr, Ink);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (double ex : {8.5, 15.5}) {
        cairo_arc(cr, ex, 11, 2.4, 0, 2 * M_PI);
        SetRgb(cr, Palette::EyeGlow);
        cairo_fill(cr);
    }
    cairo_move_to(cr, 8, 20);
    cairo_line_to(cr, 16, 20);
    SetRgb(cr, Ink);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

void PaintCheckbox(cairo_t* cr, bool on) {
    const double s = 34;
    StonePlate(cr, 2, 2, s - 4, s - 4, 7, 9401, false);
    RoundedRect(cr, 8, 8, s - 16, s - 16, 4);
    cairo_set_source_rgba(cr, 0.06, 0.03, 0.02, 0.8);
    cairo_fill(cr);
    if (on) {
        Glow(cr, s / 2, s / 2, 15, Palette::Line(0), 0.5);
        PaintIcon(cr, Icon::Tick, s / 2 + 1, s / 2, 24, Palette::Line(0), Ink);
    }
}

// ---- Dialog buttons -------------------------------------------------------------

// Wide enough for the longest caption in the menu font ("Main menu", 137
// pixels) to sit on the flat of the plank, clear of its rounded ends.
constexpr int kButtonDW = 160, kButtonDH = 44;

void PaintButtonD(cairo_t* cr, int state) {
    // 0 idle, 1 under the mouse, 2 pressed (drawn over the idle face).
    if (state == 2) {
        RoundedRect(cr, 3, 3, kButtonDW - 6, kButtonDH - 6, 13);
        cairo_set_source_rgba(cr, 0.1, 0.04, 0.0, 0.45);
        cairo_fill_preserve(cr);
        SetRgb(cr, Palette::Gold);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        return;
    }
    WoodPlate(cr, 3, 3, kButtonDW - 6, kButtonDH - 6, 13, 9501, state == 1);
}

// ---- Words and picture buttons ---------------------------------------------------

struct WordLabel {
    const char* path;
    const char* text;
    int w, h;
    Rgb top, bottom;
};

const WordLabel kLabels[] = {
    {"media/gfx/dialogs/options_label.png", "Options", 260, 64, {1.0, 0.93, 0.5}, {0.98, 0.55, 0.22}},
    {"media/gfx/dialogs/exit_label.png", "Leave the island?", 320, 64, {1.0, 0.93, 0.5}, {0.98, 0.55, 0.22}},
    {"media/gfx/dialogs/player_label.png", "Players", 260, 64, {1.0, 0.93, 0.5}, {0.98, 0.55, 0.22}},
    {"media/gfx/results/result_label.png", "Song complete!", 320, 70, {1.0, 0.95, 0.55}, {0.98, 0.60, 0.20}},
    {"media/gfx/results/result_gameover.png", "The End", 320, 70, {1.0, 0.95, 0.55}, {0.98, 0.45, 0.20}},
    {"media/gfx/help/help_label.png", "How to play", 280, 64, {1.0, 0.93, 0.5}, {0.98, 0.55, 0.22}},
};

struct PictureButton {
    const char* base;  // path without the state suffix
    const char* offSuffix;
    const char* onSuffix;
    Icon icon;
    uint32_t seed;
};

// The results buttons and the help page arrows: a stone medallion with a
// pictogram, dim and lit.
const PictureButton kPictureButtons[] = {
    {"media/gfx/results/menu", "off", "on", Icon::Map, 9601},
    {"media/gfx/results/next", "off", "on", Icon::Next, 9602},
    {"media/gfx/results/replay", "off", "on", Icon::Replay, 9603},
    {"media/gfx/help/help_left", "off", "on", Icon::ArrowLeft, 9604},
    {"media/gfx/help/help_right", "off", "on", Icon::ArrowRight, 9605},
};
constexpr int kPictureButton = 64;
constexpr int kArrowButton = 52;

void PaintResultStar(cairo_t* cr, bool lit) {
    const double s = 46, c = s / 2;
    if (lit) Glow(cr, c, c, c, Palette::Gold, 0.6);
    StarPath(cr, c, c + 1, 20, 8.5);
    if (lit) {
        FillVertical(cr, 3, s - 3, Rgb{1.0, 0.95, 0.55}, Rgb{0.95, 0.62, 0.05});
    } else {
        cairo_set_source_rgba(cr, 0.12, 0.08, 0.07, 0.75);
        cairo_fill_preserve(cr);
    }
    SetRgb(cr, lit ? Rgb{0.45, 0.25, 0.0} : Rgb{0.62, 0.52, 0.38});
    cairo_set_line_width(cr, 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    if (lit) {
        StarPath(cr, c - 3, c - 2, 6, 2.5);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
        cairo_fill(cr);
    }
}

void PaintHiscore(cairo_t* cr) {
    const double w = 130, h = 46;
    // A ribbon banner with notched ends.
    cairo_move_to(cr, 2, 8);
    cairo_line_to(cr, w - 2, 8);
    cairo_line_to(cr, w - 12, h / 2 + 4);
    cairo_line_to(cr, w - 2, h - 4);
    cairo_line_to(cr, 2, h - 4);
    cairo_line_to(cr, 12, h / 2 + 4);
    cairo_close_path(cr);
    FillVertical(cr, 8, h - 4, Rgb{0.95, 0.30, 0.15}, Rgb{0.55, 0.08, 0.05});
    SetRgb(cr, Palette::Gold);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    StarPath(cr, 18, 10, 9, 4);
    SetRgb(cr, Palette::Gold);
    cairo_fill(cr);
    StarPath(cr, w - 18, 10, 9, 4);
    cairo_fill(cr);
    OutlinedText(cr, "lobster", 21, w / 2, h / 2 + 4, "High score!", Cream, Ink, 2);
}

}  // namespace

TOTEM_ART(RegisterDialogs) {
    AddArt({"media/gfx/dialogs/dialog.png", kTile * 3, kTile * 3, PaintDialogFrame});
    AddArt({"media/gfx/dialogs/dialog_up.png", 150, 56, PaintDialogUp});
    AddArt({"media/gfx/dialogs/dialog_down.png", 96, 28, PaintDialogDown});
    AddArt({"media/gfx/dialogs/dialog_left.png", 26, 92, PaintDialogSide});
    AddArt({"media/gfx/dialogs/dialog_right.png", 26, 92, PaintDialogSide});
    AddArt({"media/gfx/dialogs/scroll_empty.png", kTrackW, kTrackH, PaintScrollEmpty});
    AddArt({"media/gfx/dialogs/scroll_full.png", kTrackW, kTrackH, PaintScrollFull});
    AddArt({"media/gfx/dialogs/scroll_marker.png", 24, 30, PaintScrollMarker});
    AddArt({"media/gfx/dialogs/checkbox_on.png", 34, 34, [](cairo_t* cr) { PaintCheckbox(cr, true); }});
    AddArt({"media/gfx/dialogs/checkbox_off.png", 34, 34, [](cairo_t* cr) { PaintCheckbox(cr, false); }});
    AddArt({"media/gfx/dialogs/button_d.png", kButtonDW, kButtonDH, [](cairo_t* cr) { PaintButtonD(cr, 0); }});
    AddArt({"media/gfx/dialogs/button_d_on.png", kButtonDW, kButtonDH, [](cairo_t* cr) { PaintButtonD(cr, 1); }});
    AddArt({"media/gfx/dialogs/button_d_on_click.png", kButtonDW, kButtonDH,
            [](cairo_t* cr) { PaintButtonD(cr, 2); }});
    for (const WordLabel& l : kLabels)
        AddArt({l.path, l.w, l.h, [l](cairo_t* cr) { TitleWord(cr, l.text, 0, 0, l.w, l.h, l.h * 0.72, l.top, l.bottom); }});
    for (const PictureButton& b : kPictureButtons) {
        const int size = std::string(b.base).find("help_") != std::string::npos ? kArrowButton : kPictureButton;
        for (bool lit : {false, true}) {
            const std::string path = std::string(b.base) + (lit ? b.onSuffix : b.offSuffix) + ".png";
            AddArt({path, size, size, [b, lit, size](cairo_t* cr) {
                        Medallion(cr, size / 2.0, size / 2.0, size / 2.0 - 2, b.icon, lit, b.seed);
                    }});
        }
    }
    AddArt({"media/gfx/results/result_star.png", 46, 46, [](cairo_t* cr) { PaintResultStar(cr, true); }});
    AddArt({"media/gfx/results/result_star_empty.png", 46, 46, [](cairo_t* cr) { PaintResultStar(cr, false); }});
    AddArt({"media/gfx/results/result_hiscore.png", 130, 46, PaintHiscore});
}
