// The eighteen prize badges. Each is a round medal: the rim's metal tells how
// hard the feat is (bronze, silver, gold), the face's colour and emblem what
// it is for, and the ribbon the size of the run it asks for.

#include <cmath>
#include <string>

#include "ArtKit.h"
#include "ArtRegistry.h"
#include "ArtUiKit.h"

using namespace UiArt;

namespace {

constexpr int kBadge = 64;

enum class Emblem { Star, Fret, Melody, Series, Multiplier, AllNotes, Long };
enum class Metal { Bronze, Silver, Gold };

struct Prize {
    const char* file;
    Emblem emblem;
    Metal metal;
    const char* caption;  // on the ribbon; empty for none
};

// The numbers are the runs each prize asks for in play.
const Prize kPrizes[] = {
    {"prize_5stars", Emblem::Star, Metal::Silver, "10"},
    {"prize_10stars", Emblem::Star, Metal::Gold, "20"},
    {"prize_5lines", Emblem::Fret, Metal::Silver, "10"},
    {"prize_10lines", Emblem::Fret, Metal::Gold, "20"},
    {"prize_5melody", Emblem::Melody, Metal::Bronze, "10"},
    {"prize_10melody", Emblem::Melody, Metal::Silver, "20"},
    {"prize_15melody", Emblem::Melody, Metal::Gold, "30"},
    {"prize_10series", Emblem::Series, Metal::Bronze, "25"},
    {"prize_20series", Emblem::Series, Metal::Silver, "50"},
    {"prize_40series", Emblem::Series, Metal::Gold, "75"},
    {"prize_100series", Emblem::Series, Metal::Gold, "100"},
    {"prize_allnotes", Emblem::AllNotes, Metal::Gold, ""},
    {"prize_lines", Emblem::Fret, Metal::Bronze, ""},
    {"prize_long", Emblem::Long, Metal::Bronze, ""},
    {"prize_melody", Emblem::Melody, Metal::Bronze, ""},
    {"prize_notes", Emblem::Star, Metal::Bronze, ""},
    {"prize_x2", Emblem::Multiplier, Metal::Silver, "x2"},
    {"prize_x4", Emblem::Multiplier, Metal::Gold, "x4"},
};

Rgb MetalLight(Metal m) {
    switch (m) {
        case Metal::Bronze: return {0.92, 0.62, 0.38};
        case Metal::Silver: return {0.92, 0.94, 0.98};
        case Metal::Gold: return {1.0, 0.90, 0.40};
    }
    return {1, 1, 1};
}
Rgb MetalDark(Metal m) {
    switch (m) {
        case Metal::Bronze: return {0.45, 0.24, 0.10};
        case Metal::Silver: return {0.45, 0.48, 0.55};
        case Metal::Gold: return {0.62, 0.42, 0.02};
    }
    return {0, 0, 0};
}
Rgb FaceColour(Emblem e) {
    switch (e) {
        case Emblem::Star: return {0.18, 0.16, 0.42};
        case Emblem::Fret: return {0.42, 0.10, 0.06};
        case Emblem::Melody: return {0.36, 0.06, 0.30};
        case Emblem::Series: return {0.06, 0.30, 0.14};
        case Emblem::Multiplier: return {0.08, 0.22, 0.45};
        case Emblem::AllNotes: return {0.30, 0.20, 0.04};
        case Emblem::Long: return {0.35, 0.26, 0.02};
    }
    return {0, 0, 0};
}

void EighthNote(cairo_t* cr, double x, double y, double s) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -0.35);
    cairo_scale(cr, 1.3, 1.0);
    cairo_arc(cr, 0, 0, s * 0.22, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_rectangle(cr, x + s * 0.2, y - s * 0.9, s * 0.08, s * 0.9);
}

void PaintEmblem(cairo_t* cr, Emblem e, double c, const std::string& caption) {
    const Rgb ink = Ink;
    switch (e) {
        case Emblem::Star:
            StarPath(cr, c, c - 1, 15, 6.5);
            FillAndOutline(cr, Palette::Gold, ink, 1.5);
            break;
        case Emblem::Fret:
            RoundedRect(cr, c - 19, c - 6, 38, 12, 6);
            FillLineRainbow(cr, c - 19, c + 19);
            SetRgb(cr, Cream);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
            break;
        case Emblem::Melody:
            EighthNote(cr, c - 8, c + 8, 22);
            EighthNote(cr, c + 8, c + 5, 22);
            SetRgb(cr, Palette::Line(1));
            cairo_fill(cr);
            cairo_move_to(cr, c - 8 + 22 * 0.2, c + 8 - 22 * 0.9);
            cairo_line_to(cr, c + 8 + 22 * 0.28, c + 5 - 22 * 0.9);
            cairo_line_to(cr, c + 8 + 22 * 0.28, c + 5 - 22 * 0.9 + 5);
            cairo_line_to(cr, c - 8 + 22 * 0.2, c + 8 - 22 * 0.9 + 5);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        case Emblem::Series:
            for (int i = 0; i < 3; ++i) {
                const double x = c - 13 + i * 13, y = c + 4 - i * 5;
                cairo_arc(cr, x, y, 6, 0, 2 * M_PI);
                SetRgb(cr, Palette::Line(i == 1 ? 0 : (i == 0 ? 2 : 3)));
                cairo_fill_preserve(cr);
                SetRgb(cr, ink);
                cairo_set_line_width(cr, 1.2);
                cairo_stroke(cr);
            }
            break;
        case Emblem::Multiplier:
            break;  // the caption is the emblem
        case Emblem::AllNotes:
            // A crown over five notes.
            cairo_move_to(cr, c - 16, c + 2);
            cairo_line_to(cr, c - 18, c - 12);
            cairo_line_to(cr, c - 8, c - 4);
            cairo_line_to(cr, c, c - 16);
            cairo_line_to(cr, c + 8, c - 4);
            cairo_line_to(cr, c + 18, c - 12);
            cairo_line_to(cr, c + 16, c + 2);
            cairo_close_path(cr);
            FillAndOutline(cr, Palette::Gold, ink, 1.5);
            for (int i = 0; i < 5; ++i) {
                cairo_arc(cr, c - 16 + i * 8, c + 10, 3.2, 0, 2 * M_PI);
                SetRgb(cr, Palette::Line(i));
                cairo_fill(cr);
            }
            break;
        case Emblem::Long:
            cairo_move_to(cr, c - 4, c - 18);
            cairo_line_to(cr, c + 4, c - 18);
            cairo_line_to(cr, c + 7, c + 6);
            cairo_line_to(cr, c - 7, c + 6);
            cairo_close_path(cr);
            SetRgb(cr, Palette::Line(3), 0.7);
            cairo_fill(cr);
            cairo_save(cr);
            cairo_translate(cr, c, c + 8);
            cairo_scale(cr, 1.4, 0.9);
            cairo_arc(cr, 0, 0, 7, 0, 2 * M_PI);
            cairo_restore(cr);
            SetRgb(cr, Palette::Line(3));
            cairo_fill_preserve(cr);
            SetRgb(cr, ink);
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
            for (double y : {c - 12.0, c - 3.0}) {
                StarPath(cr, c + (y < c - 8 ? -2 : 2), y, 3.5, 1.5);
                cairo_set_source_rgb(cr, 1, 1, 1);
                cairo_fill(cr);
            }
            break;
    }
    if (e == Emblem::Multiplier) {
        OutlinedText(cr, "lobster", 30, c, c, caption, Palette::Gold, Ink, 2.5);
    }
}

void PaintBadge(cairo_t* cr, const Prize& p) {
    const double c = kBadge / 2.0;
    cairo_arc(cr, c + 1, c + 2, 29, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
    cairo_fill(cr);
    // Metal rim with notches.
    const Rgb hi = MetalLight(p.metal), lo = MetalDark(p.metal);
    for (int i = 0; i < 24; ++i) {
        const double a = i * 2 * M_PI / 24;
        cairo_arc(cr, c + 28 * std::cos(a), c + 28 * std::sin(a), 2.6, 0, 2 * M_PI);
        SetRgb(cr, lo);
        cairo_fill(cr);
    }
    cairo_arc(cr, c, c, 28, 0, 2 * M_PI);
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, 4, 0, kBadge - 4);
    cairo_pattern_add_color_stop_rgb(rim, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(rim, 1, lo.r, lo.g, lo.b);
    cairo_set_source(cr, rim);
    cairo_fill(cr);
    cairo_pattern_destroy(rim);
    // Face.
    cairo_arc(cr, c, c, 22, 0, 2 * M_PI);
    const Rgb f = FaceColour(p.emblem);
    cairo_pattern_t* face = cairo_pattern_create_radial(c - 6, c - 8, 2, c, c, 22);
    cairo_pattern_add_color_stop_rgb(face, 0, f.r * 1.8 + 0.1, f.g * 1.8 + 0.1, f.b * 1.8 + 0.1);
    cairo_pattern_add_color_stop_rgb(face, 1, f.r, f.g, f.b);
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    SetRgb(cr, lo);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    PaintEmblem(cr, p.emblem, c, p.caption);
    // Ribbon with the run length.
    const std::string caption = p.caption;
    if (!caption.empty() && p.emblem != Emblem::Multiplier) {
        const double w = caption.size() > 2 ? 34 : 28, y = kBadge - 17;
        cairo_move_to(cr, c - w / 2 - 5, y);
        cairo_line_to(cr, c + w / 2 + 5, y);
        cairo_line_to(cr, c + w / 2 + 1, y + 7);
        cairo_line_to(cr, c + w / 2 + 5, y + 14);
        cairo_line_to(cr, c - w / 2 - 5, y + 14);
        cairo_line_to(cr, c - w / 2 - 1, y + 7);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.75, 0.12, 0.08);
        cairo_fill_preserve(cr);
        SetRgb(cr, hi);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        OutlinedText(cr, "cabin-bold", 12, c, y + 7, caption, Cream, Ink, 1.2);
    }
    // Shine across the top of the rim.
    cairo_arc(cr, c, c, 26, M_PI * 1.15, M_PI * 1.6);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

}  // namespace

TOTEM_ART(RegisterPrizes) {
    for (const Prize& p : kPrizes)
        AddArt({std::string("media/gfx/prizes/") + p.file + ".png", kBadge, kBadge,
                [p](cairo_t* cr) { PaintBadge(cr, p); }});
}
