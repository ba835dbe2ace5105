// The loading screen: its backdrop, the turning rune stone and the two bars.
// The stone's cell is drawn with its top-left corner at (360, 225), so its
// centre falls on (400, 265) in the middle of the altar painted here; the bars
// are centred on the screen at y = 480.

#include <cmath>

#include "ArtKit.h"
#include "ArtRegistry.h"
#include "ArtUiKit.h"

using namespace UiArt;

namespace {

constexpr int kStoneCell = 80;
constexpr int kStoneFrames = 16;
constexpr int kBarW = 400;
constexpr int kBarH = 28;
constexpr double kStoneCx = 400, kStoneCy = 265;

void NightSky(cairo_t* cr, double w, double h, double horizon, uint32_t seed) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, horizon);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.04, 0.03, 0.12);
    cairo_pattern_add_color_stop_rgb(sky, 0.55, 0.16, 0.08, 0.26);
    cairo_pattern_add_color_stop_rgb(sky, 0.85, 0.55, 0.20, 0.22);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.95, 0.48, 0.20);
    cairo_rectangle(cr, 0, 0, w, horizon);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    ArtRandom rnd(seed);
    for (int i = 0; i < 140; ++i) {
        const double x = rnd.Uniform(0, w), y = rnd.Uniform(0, horizon * 0.6);
        const double r = rnd.Uniform(0.4, 1.4);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 0.95, 0.85, rnd.Uniform(0.3, 0.9) * (1 - y / (horizon * 0.7)));
        cairo_fill(cr);
    }
    // Sea below the horizon with a glittering path of light.
    cairo_pattern_t* sea = cairo_pattern_create_linear(0, horizon, 0, h);
    cairo_pattern_add_color_stop_rgb(sea, 0, 0.20, 0.14, 0.25);
    cairo_pattern_add_color_stop_rgb(sea, 1, 0.02, 0.05, 0.12);
    cairo_rectangle(cr, 0, horizon, w, h - horizon);
    cairo_set_source(cr, sea);
    cairo_fill(cr);
    cairo_pattern_destroy(sea);
    for (int i = 0; i < 220; ++i) {
        const double y = rnd.Uniform(horizon + 2, h);
        const double spread = 30 + (y - horizon) * 0.9;
        const double x = w / 2 + rnd.Uniform(-spread, spread);
        const double len = rnd.Uniform(4, 18) * (1 + (y - horizon) / 200);
        cairo_move_to(cr, x - len / 2, y);
        cairo_line_to(cr, x + len / 2, y);
        cairo_set_source_rgba(cr, 1, 0.6, 0.3, rnd.Uniform(0.1, 0.35) * (1 - std::abs(x - w / 2) / (spread + 1)));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
}

void TorchPole(cairo_t* cr, double x, double y) {
    // A bamboo pole with a flame on top.
    cairo_rectangle(cr, x - 5, y, 10, 170);
    FillWood(cr, Rgb{0.55, 0.42, 0.2}, Rgb{0.25, 0.16, 0.08}, 77, false);
    cairo_new_path(cr);
    for (int k = 1; k < 5; ++k) {
        cairo_move_to(cr, x - 5, y + k * 34);
        cairo_line_to(cr, x + 5, y + k * 34);
    }
    cairo_set_source_rgba(cr, 0.1, 0.05, 0, 0.6);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, x - 9, y);
    cairo_line_to(cr, x + 9, y);
    cairo_line_to(cr, x + 6, y + 14);
    cairo_line_to(cr, x - 6, y + 14);
    cairo_close_path(cr);
    SetRgb(cr, WoodDark);
    cairo_fill(cr);
    Glow(cr, x, y - 14, 70, Torch, 0.45);
    cairo_move_to(cr, x, y - 38);
    cairo_curve_to(cr, x + 12, y - 20, x + 12, y - 2, x, y);
    cairo_curve_to(cr, x - 12, y - 2, x - 12, y - 20, x, y - 38);
    cairo_pattern_t* flame = cairo_pattern_create_linear(0, y - 38, 0, y);
    cairo_pattern_add_color_stop_rgb(flame, 0, 1.0, 0.35, 0.05);
    cairo_pattern_add_color_stop_rgb(flame, 0.6, 1.0, 0.75, 0.2);
    cairo_pattern_add_color_stop_rgb(flame, 1, 1.0, 0.95, 0.7);
    cairo_set_source(cr, flame);
    cairo_fill(cr);
    cairo_pattern_destroy(flame);
}

void PaintLoadingBack(cairo_t* cr) {
    NightSky(cr, 800, 600, 330, 4411);
    // Far islands on the horizon.
    cairo_move_to(cr, 0, 330);
    cairo_curve_to(cr, 60, 300, 120, 295, 170, 318);
    cairo_curve_to(cr, 200, 300, 230, 290, 260, 330);
    cairo_close_path(cr);
    cairo_move_to(cr, 560, 330);
    cairo_curve_to(cr, 600, 270, 660, 260, 700, 300);
    cairo_curve_to(cr, 730, 285, 780, 300, 800, 315);
    cairo_line_to(cr, 800, 330);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 0.10, 0.05, 0.14, 0.95);
    cairo_fill(cr);

    // Stone altar: a stepped plinth with a round niche behind the stone.
    cairo_move_to(cr, 250, 600);
    cairo_line_to(cr, 280, 420);
    cairo_line_to(cr, 520, 420);
    cairo_line_to(cr, 550, 600);
    cairo_close_path(cr);
    FillStone(cr, Rgb{0.42, 0.36, 0.34}, Rgb{0.14, 0.11, 0.12}, 981);
    cairo_new_path(cr);
    RoundedRect(cr, 300, 165, 200, 270, 40);
    FillStone(cr, Rgb{0.50, 0.43, 0.38}, Rgb{0.20, 0.16, 0.15}, 982);
    cairo_new_path(cr);
    RoundedRect(cr, 300, 165, 200, 270, 40);
    cairo_set_source_rgba(cr, 0.05, 0.03, 0.03, 0.9);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // Carved notches along the pillar sides in the five line colours.
    for (int i = 0; i < 5; ++i) {
        for (double x : {318.0, 482.0}) {
            cairo_arc(cr, x, 205 + i * 44, 6, 0, 2 * M_PI);
            SetRgb(cr, Palette::Line(i), 0.75);
            cairo_fill_preserve(cr);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
        }
    }
    Glow(cr, kStoneCx, kStoneCy, 95, Palette::EyeGlow, 0.35);
    cairo_arc(cr, kStoneCx, kStoneCy, 43, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.05, 0.03, 0.04, 0.85);
    cairo_fill(cr);
    cairo_arc(cr, kStoneCx, kStoneCy, 43, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 0.8, 0.5, 0.4);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);

    TorchPole(cr, 205, 330);
    TorchPole(cr, 595, 330);

    TitleWord(cr, "Totem Riff", 180, 40, 440, 100, 78, Palette::Gold, Palette::Sunset);

    // A carved ledge under the bar.
    RoundedRect(cr, 180, 468, 440, 52, 14);
    FillStone(cr, Rgb{0.40, 0.34, 0.31}, Rgb{0.16, 0.13, 0.12}, 983);
    cairo_new_path(cr);
    RoundedRect(cr, 180, 468, 440, 52, 14);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    OutlinedText(cr, "comfortaa-bold", 18, 400, 545, "Loading...", Cream, Ink, 2);
}

void BarGroove(cairo_t* cr) { RoundedRect(cr, 1, 1, kBarW - 2, kBarH - 2, kBarH / 2.0 - 1); }

void PaintBarEmpty(cairo_t* cr) {
    BarGroove(cr);
    FillVertical(cr, 0, kBarH, Rgb{0.04, 0.02, 0.02}, Rgb{0.22, 0.16, 0.14});
    cairo_set_source_rgba(cr, 0.75, 0.62, 0.45, 0.9);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Faint marks every tenth of the way.
    for (int i = 1; i < 10; ++i) {
        cairo_move_to(cr, i * kBarW / 10.0, 7);
        cairo_line_to(cr, i * kBarW / 10.0, kBarH - 7);
    }
    cairo_set_source_rgba(cr, 1, 0.85, 0.6, 0.15);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void PaintBarFull(cairo_t* cr) {
    BarGroove(cr);
    FillLineRainbow(cr, 0, kBarW);
    GlassShine(cr, 0, kBarH, 0.65, 0.45, 0.05, 0.35);
    SetRgb(cr, Palette::Gold);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

// One cell of the rune stone: the ring of runes turns a sixteenth per frame
// and the glow of the core breathes once per turn.
void PaintStoneFrame(cairo_t* cr, int frame) {
    const double c = kStoneCell / 2.0;
    const double turn = 2 * M_PI * frame / kStoneFrames;
    const double pulse = 0.5 + 0.5 * std::sin(turn);
    Glow(cr, c, c, 40, Palette::EyeGlow, 0.25 + 0.3 * pulse);
    cairo_arc(cr, c, c, 37, 0, 2 * M_PI);
    FillStone(cr, Rgb{0.66, 0.58, 0.50}, Rgb{0.30, 0.25, 0.22}, 5150);
    cairo_new_path(cr);
    cairo_arc(cr, c, c, 37, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.08, 0.05, 0.04, 1);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Ring of five runes, one per line colour.
    for (int i = 0; i < 5; ++i) {
        const double a = turn + i * 2 * M_PI / 5;
        const double rx = c + 25 * std::cos(a), ry = c + 25 * std::sin(a);
        cairo_save(cr);
        cairo_translate(cr, rx, ry);
        cairo_rotate(cr, a + M_PI / 2);
        cairo_move_to(cr, 0, -6);
        cairo_line_to(cr, 4, 0);
        cairo_line_to(cr, 0, 6);
        cairo_line_to(cr, -4, 0);
        cairo_close_path(cr);
        cairo_move_to(cr, -5, -3);
        cairo_line_to(cr, 5, -3);
        cairo_restore(cr);
        SetRgb(cr, Palette::Line(i), 0.9);
        cairo_set_line_width(cr, 1.8);
        cairo_stroke(cr);
    }
    // The core: a glowing eye.
    cairo_arc(cr, c, c, 11, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.08, 0.04, 0.02, 1);
    cairo_fill(cr);
    Glow(cr, c, c, 11, Palette::EyeGlow, 0.6 + 0.4 * pulse);
    cairo_arc(cr, c, c, 3.5, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 0.97, 0.85, 1);
    cairo_fill(cr);
}

}  // namespace

TOTEM_ART(RegisterLoadingScreen) {
    AddArt({"media/gfx/init/loading_back.png", 800, 600, PaintLoadingBack});
    AddArt({"media/gfx/init/loading_empty.png", kBarW, kBarH, PaintBarEmpty});
    AddArt({"media/gfx/init/loading_full.png", kBarW, kBarH, PaintBarFull});
    AddStrip("media/gfx/init/loading_stone.png", kStoneCell, kStoneCell, kStoneFrames, PaintStoneFrame);
}
