// The two splash screens shown before loading, and the studio badge that the
// main menu shows as a link (dim when idle, lit when the mouse is on it).
// Splashes are drawn stretched to the whole screen, so they are 800 × 600.

#include <cmath>

#include "ArtKit.h"
#include "ArtRegistry.h"
#include "ArtUiKit.h"

using namespace UiArt;

namespace {

constexpr int kLogoW = 128;
constexpr int kLogoH = 72;
const char* const kStudio = "Ember Tide Games";

// The studio emblem: a flame rising from three waves inside a ring.
void Emblem(cairo_t* cr, double cx, double cy, double r, double glow) {
    if (glow > 0) Glow(cr, cx, cy, r * 1.6, Torch, glow);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_pattern_t* disc = cairo_pattern_create_radial(cx, cy - r * 0.3, r * 0.1, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(disc, 0, 0.16, 0.22, 0.36);
    cairo_pattern_add_color_stop_rgb(disc, 1, 0.04, 0.07, 0.14);
    cairo_set_source(cr, disc);
    cairo_fill(cr);
    cairo_pattern_destroy(disc);
    cairo_save(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_clip(cr);
    // Flame.
    cairo_move_to(cr, cx, cy - r * 0.78);
    cairo_curve_to(cr, cx + r * 0.45, cy - r * 0.35, cx + r * 0.42, cy + r * 0.05, cx + r * 0.1, cy + r * 0.2);
    cairo_curve_to(cr, cx + r * 0.18, cy - r * 0.1, cx + r * 0.05, cy - r * 0.22, cx - r * 0.02, cy - r * 0.3);
    cairo_curve_to(cr, cx - r * 0.05, cy - r * 0.05, cx - r * 0.35, cy + r * 0.02, cx - r * 0.2, cy + r * 0.2);
    cairo_curve_to(cr, cx - r * 0.5, cy + r * 0.0, cx - r * 0.35, cy - r * 0.45, cx, cy - r * 0.78);
    cairo_pattern_t* flame = cairo_pattern_create_linear(0, cy - r * 0.8, 0, cy + r * 0.2);
    cairo_pattern_add_color_stop_rgb(flame, 0, 1.0, 0.35, 0.08);
    cairo_pattern_add_color_stop_rgb(flame, 1, 1.0, 0.85, 0.3);
    cairo_set_source(cr, flame);
    cairo_fill(cr);
    cairo_pattern_destroy(flame);
    // Waves.
    for (int k = 0; k < 3; ++k) {
        const double y = cy + r * (0.3 + k * 0.2);
        cairo_move_to(cr, cx - r, y);
        for (int i = 0; i < 4; ++i) {
            const double x0 = cx - r + i * r * 0.5;
            cairo_curve_to(cr, x0 + r * 0.12, y - r * 0.14, x0 + r * 0.38, y - r * 0.14, x0 + r * 0.5, y);
        }
        const Rgb c = k == 0 ? Palette::Lagoon : (k == 1 ? Rgb{0.08, 0.42, 0.55} : Rgb{0.05, 0.3, 0.45});
        SetRgb(cr, c);
        cairo_set_line_width(cr, r * 0.1);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    SetRgb(cr, Palette::Gold);
    cairo_set_line_width(cr, std::max(1.5, r * 0.07));
    cairo_stroke(cr);
}

void PaintStudioSplash(cairo_t* cr) {
    cairo_pattern_t* bg = cairo_pattern_create_radial(400, 260, 30, 400, 300, 520);
    cairo_pattern_add_color_stop_rgb(bg, 0, 0.16, 0.10, 0.12);
    cairo_pattern_add_color_stop_rgb(bg, 1, 0.02, 0.02, 0.04);
    cairo_set_source(cr, bg);
    cairo_paint(cr);
    cairo_pattern_destroy(bg);
    Emblem(cr, 400, 245, 110, 0.35);
    OutlinedText(cr, "lobster", 54, 400, 418, kStudio, Cream, Ink, 2);
    OutlinedText(cr, "comfortaa", 18, 400, 468, "presents", Rgb{0.85, 0.75, 0.6}, Ink, 0);
}

void PaintTitleSplash(cairo_t* cr) {
    // Dusk over the sea with the two stone heads watching from the sides.
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, 600);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.06, 0.04, 0.16);
    cairo_pattern_add_color_stop_rgb(sky, 0.55, 0.50, 0.18, 0.25);
    cairo_pattern_add_color_stop_rgb(sky, 0.75, 0.98, 0.55, 0.22);
    cairo_pattern_add_color_stop_rgb(sky, 0.76, 0.18, 0.12, 0.22);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.03, 0.04, 0.10);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    Glow(cr, 400, 455, 260, Palette::Sunset, 0.55);
    cairo_arc(cr, 400, 455, 70, M_PI, 2 * M_PI);
    cairo_set_source_rgba(cr, 1.0, 0.8, 0.45, 0.95);
    cairo_fill(cr);
    StatueHead(cr, true, 31);
    StatueHead(cr, false, 32);
    // Eyes lit for the title card (the menu draws its own over the sockets).
    for (bool left : {true, false}) {
        const StatueEyes e = EyesOf(left);
        for (double px : {e.pupil1X, e.pupil2X}) {
            Glow(cr, px, e.pupil1Y, 16, Palette::EyeGlow, 0.9);
            cairo_arc(cr, px, e.pupil1Y, 3.5, 0, 2 * M_PI);
            cairo_set_source_rgba(cr, 1, 0.97, 0.8, 1);
            cairo_fill(cr);
        }
    }
    TitleWord(cr, "Totem Riff", 170, 120, 460, 140, 110, Palette::Gold, Palette::Sunset);
    OutlinedText(cr, "comfortaa-bold", 20, 400, 300, "Catch the music of the islands", Cream, Ink, 2);
    OutlinedText(cr, "comfortaa", 15, 400, 575, "Best played with headphones", Rgb{0.85, 0.75, 0.6}, Ink, 1.5);
}

void PaintLogo(cairo_t* cr, bool lit) {
    RoundedRect(cr, 2, 2, kLogoW - 4, kLogoH - 4, 12);
    cairo_set_source_rgba(cr, 0.05, 0.04, 0.08, lit ? 0.85 : 0.65);
    cairo_fill_preserve(cr);
    SetRgb(cr, lit ? Palette::Gold : Rgb{0.55, 0.45, 0.32});
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    Emblem(cr, 30, kLogoH / 2.0, 22, lit ? 0.45 : 0.0);
    const Rgb text = lit ? Cream : Rgb{0.72, 0.64, 0.52};
    OutlinedText(cr, "lobster", 19, 90, 27, "Ember", text, Ink, 1.5);
    OutlinedText(cr, "lobster", 19, 90, 47, "Tide", text, Ink, 1.5);
    if (!lit) {
        // Idle: the badge sits a little darker in the scene.
        RoundedRect(cr, 2, 2, kLogoW - 4, kLogoH - 4, 12);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.15);
        cairo_fill(cr);
    }
}

}  // namespace

TOTEM_ART(RegisterSplashes) {
    AddArt({"media/gfx/zar/splash1.png", 800, 600, PaintTitleSplash});
    AddArt({"media/gfx/zar/splash2.png", 800, 600, PaintStudioSplash});
    AddArt({"media/gfx/zar/logo_a.png", kLogoW, kLogoH, [](cairo_t* cr) { PaintLogo(cr, true); }});
    AddArt({"media/gfx/zar/logo_na.png", kLogoW, kLogoH, [](cairo_t* cr) { PaintLogo(cr, false); }});
}
