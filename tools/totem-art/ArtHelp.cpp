// The six help pages. Each explains one rule of play with a small picture of
// the note highway on the left and a few lines of text on the right; the help
// dialog shows them one at a time over its dark inside.

#include <cmath>
#include <cstdio>
#include <string>

#include "ArtKit.h"
#include "ArtRegistry.h"
#include "ArtUiKit.h"

using namespace UiArt;

namespace {

constexpr int kPageW = 460;
constexpr int kPageH = 270;
constexpr double kPicX = 10, kPicY = 52, kPicW = 170, kPicH = 200;
constexpr double kTextX = 196, kTextW = 254;

// A little highway in perspective: the far end narrow at the top, the catch
// row near the bottom. Positions are (line 0..4, progress 0..1).
struct MiniHighway {
    double x, y, w, h;
    double CatchY() const { return y + h * 0.82; }
    double Width(double t) const { return w * (0.28 + 0.72 * t); }
    double X(double line, double t) const { return x + w / 2 + (line - 2) / 5.0 * Width(t); }
    double Y(double t) const { return y + h * t; }
    double Scale(double t) const { return 0.45 + 0.55 * t; }
};

void PaintHighway(cairo_t* cr, const MiniHighway& m, bool gold = false) {
    cairo_move_to(cr, m.X(-0.5, 0), m.Y(0));
    cairo_line_to(cr, m.X(4.5, 0), m.Y(0));
    cairo_line_to(cr, m.X(4.5, 1), m.Y(1));
    cairo_line_to(cr, m.X(-0.5, 1), m.Y(1));
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, m.y, 0, m.y + m.h);
    if (gold) {
        cairo_pattern_add_color_stop_rgb(g, 0, 0.35, 0.25, 0.02);
        cairo_pattern_add_color_stop_rgb(g, 1, 0.65, 0.48, 0.05);
    } else {
        cairo_pattern_add_color_stop_rgb(g, 0, 0.10, 0.07, 0.12);
        cairo_pattern_add_color_stop_rgb(g, 1, 0.30, 0.20, 0.16);
    }
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, gold ? Palette::Gold : Rgb{0.7, 0.55, 0.35});
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (int l = 0; l < 5; ++l) {
        cairo_move_to(cr, m.X(l, 0), m.Y(0));
        cairo_line_to(cr, m.X(l, 1), m.Y(1));
        SetRgb(cr, Palette::Line(l), 0.7);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, m.X(-0.5, 0.82), m.CatchY());
    cairo_line_to(cr, m.X(4.5, 0.82), m.CatchY());
    cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void Note(cairo_t* cr, const MiniHighway& m, int line, double t, bool starred = false) {
    const double cx = m.X(line, t), cy = m.Y(t), r = 8 * m.Scale(t);
    const Rgb c = Palette::Line(line);
    Glow(cr, cx, cy, r * 2, c, 0.35);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1, 0.7);
    cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
    cairo_restore(cr);
    SetRgb(cr, c);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    if (starred) {
        StarPath(cr, cx, cy, r * 0.8, r * 0.35);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
        cairo_fill(cr);
    } else {
        cairo_arc(cr, cx - r * 0.3, cy - r * 0.25, r * 0.25, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
        cairo_fill(cr);
    }
}

void Fret(cairo_t* cr, const MiniHighway& m, double t) {
    const double y = m.Y(t), x0 = m.X(-0.4, t), x1 = m.X(4.4, t), hh = 5 * m.Scale(t);
    RoundedRect(cr, x0, y - hh, x1 - x0, 2 * hh, hh);
    FillLineRainbow(cr, x0, x1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

void Catcher(cairo_t* cr, const MiniHighway& m, double line, Rgb tint = Palette::StoneLight) {
    const double cx = m.X(line, 0.82), cy = m.CatchY();
    RoundedRect(cr, cx - 15, cy - 6, 30, 12, 5);
    FillAndOutline(cr, tint, Ink, 1.5);
    Glow(cr, cx, cy, 16, Palette::EyeGlow, 0.35);
}

// A mouse with its left button pressed and a small label.
void MouseSign(cairo_t* cr, double x, double y, bool click) {
    RoundedRect(cr, x, y, 22, 32, 10);
    cairo_set_source_rgb(cr, 0.92, 0.90, 0.85);
    cairo_fill_preserve(cr);
    SetRgb(cr, Ink);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, x + 11, y);
    cairo_line_to(cr, x + 11, y + 12);
    cairo_move_to(cr, x, y + 12);
    cairo_line_to(cr, x + 22, y + 12);
    cairo_stroke(cr);
    if (click) {
        cairo_move_to(cr, x + 1, y + 11);
        cairo_line_to(cr, x + 1, y + 8);
        cairo_curve_to(cr, x + 1, y + 2, x + 5, y + 1, x + 10, y + 1);
        cairo_line_to(cr, x + 10, y + 11);
        cairo_close_path(cr);
        SetRgb(cr, Palette::Line(4));
        cairo_fill(cr);
        for (int i = 0; i < 3; ++i) {
            const double a = -M_PI * (0.55 + i * 0.22);
            cairo_move_to(cr, x + 6 + 8 * std::cos(a), y + 2 + 8 * std::sin(a));
            cairo_line_to(cr, x + 6 + 13 * std::cos(a), y + 2 + 13 * std::sin(a));
        }
        SetRgb(cr, Palette::Gold);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
}

void PageFrame(cairo_t* cr, int number, const char* title) {
    RoundedRect(cr, 1, 1, kPageW - 2, kPageH - 2, 14);
    cairo_set_source_rgba(cr, 0.05, 0.03, 0.03, 0.55);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 1, 0.85, 0.55, 0.45);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    RoundedRect(cr, kPicX, kPicY, kPicW, kPicH, 10);
    cairo_set_source_rgba(cr, 0.02, 0.10, 0.16, 0.85);
    cairo_fill(cr);
    char num[16];
    std::snprintf(num, sizeof num, "%d / 6", number);
    PlainText(cr, "cabin", 12, kPageW - 44, 22, num, Rgb{0.8, 0.7, 0.55});
    const double size = FitFontSize(cr, "lobster", title, 28, kPageW - 80);
    OutlinedText(cr, "lobster", size, kPageW / 2.0, 26, title, Palette::Gold, Ink, 2);
}

void Body(cairo_t* cr, const std::string& text) {
    WrappedText(cr, "cabin", 14.5, kTextX, kPicY + 2, kTextW, text, Cream, 1.3);
}

MiniHighway Pic() { return {kPicX + 12, kPicY + 14, kPicW - 24, kPicH - 28}; }

void Page1(cairo_t* cr) {
    PageFrame(cr, 1, "Catch the notes");
    const MiniHighway m = Pic();
    PaintHighway(cr, m);
    Note(cr, m, 1, 0.25);
    Note(cr, m, 3, 0.45);
    Note(cr, m, 2, 0.80);
    Catcher(cr, m, 2);
    // Arrows either side of the catcher: it slides across the lines.
    PaintIcon(cr, Icon::ArrowLeft, m.X(0.6, 0.82), m.CatchY() + 18, 16, Cream, Ink);
    PaintIcon(cr, Icon::ArrowRight, m.X(3.4, 0.82), m.CatchY() + 18, 16, Cream, Ink);
    Body(cr,
         "Notes ride down the five lines of the highway. Move the mouse left and right to steer your "
         "catcher, or hold X, C, V, N or M to jump to a line. A note is caught when it reaches the "
         "catcher on its own line - no click needed. Every caught note earns points.");
}

void Page2(cairo_t* cr) {
    PageFrame(cr, 2, "Frets and starred notes");
    const MiniHighway m = Pic();
    PaintHighway(cr, m);
    Fret(cr, m, 0.35);
    Note(cr, m, 3, 0.80, true);
    Catcher(cr, m, 3);
    MouseSign(cr, kPicX + 14, kPicY + 130, true);
    Body(cr,
         "A fret spans the whole highway. Click, or press Space, just as it reaches the catcher - on "
         "any line. Starred notes are caught like other notes, but a click at the right moment earns "
         "far more. The closer to the beat you click, the more points you score.");
}

void Page3(cairo_t* cr) {
    PageFrame(cr, 3, "Long notes");
    const MiniHighway m = Pic();
    PaintHighway(cr, m);
    // A tail from the far end down to the catcher, with stars along it.
    const int line = 1;
    cairo_move_to(cr, m.X(line - 0.12, 0.1), m.Y(0.1));
    cairo_line_to(cr, m.X(line + 0.12, 0.1), m.Y(0.1));
    cairo_line_to(cr, m.X(line + 0.2, 0.82), m.Y(0.82));
    cairo_line_to(cr, m.X(line - 0.2, 0.82), m.Y(0.82));
    cairo_close_path(cr);
    SetRgb(cr, Palette::Line(line), 0.55);
    cairo_fill(cr);
    for (double t : {0.2, 0.38, 0.56}) {
        StarPath(cr, m.X(line + ((t > 0.3 && t < 0.5) ? 0.15 : -0.15), t), m.Y(t), 5 * m.Scale(t), 2 * m.Scale(t));
        SetRgb(cr, Palette::Gold);
        cairo_fill(cr);
    }
    Note(cr, m, line, 0.82);
    Catcher(cr, m, line);
    Glow(cr, m.X(line, 0.82), m.CatchY(), 26, Palette::Line(line), 0.5);
    Body(cr,
         "Some notes trail a long tail. Catch the head, then keep the catcher on that line until the "
         "whole tail has passed. Each star you gather along the tail adds to the note's points; "
         "leave the line early and the rest of the tail is lost.");
}

void Page4(cairo_t* cr) {
    PageFrame(cr, 4, "Melodies");
    const MiniHighway m = Pic();
    PaintHighway(cr, m);
    const int lines[4] = {0, 2, 4, 3};
    const double ts[4] = {0.2, 0.4, 0.6, 0.8};
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, m.X(lines[i], ts[i]), m.Y(ts[i]));
        cairo_line_to(cr, m.X(lines[i + 1], ts[i + 1]), m.Y(ts[i + 1]));
    }
    cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (int i = 0; i < 4; ++i) Note(cr, m, lines[i], ts[i]);
    Catcher(cr, m, 3);
    // The row of circles above the highway counting the melody off.
    for (int i = 0; i < 4; ++i) {
        const double cx = kPicX + 40 + i * 30, cy = kPicY + 10;
        cairo_arc(cr, cx, cy, 8, 0, 2 * M_PI);
        SetRgb(cr, Palette::Line(lines[i]), i < 3 ? 1.0 : 0.45);
        cairo_fill_preserve(cr);
        SetRgb(cr, Cream);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    Body(cr,
         "Notes joined by a thread form a melody. A row of circles above the highway counts its notes "
         "off as they pass. Catch every note of the melody to win a bonus that grows with its length; "
         "a single miss crosses a circle out and spoils the bonus.");
}

void Page5(cairo_t* cr) {
    PageFrame(cr, 5, "Combo meter and gold rush");
    const MiniHighway m = Pic();
    PaintHighway(cr, m, true);
    Note(cr, m, 0, 0.3, true);
    Note(cr, m, 4, 0.55);
    Catcher(cr, m, 2, Palette::Gold);
    Glow(cr, m.X(2, 0.5), m.Y(0.2), 60, Palette::Gold, 0.35);
    // The meter with its two marks.
    const double mx = kPicX + 14, my = kPicY + kPicH - 20, mw = kPicW - 28;
    RoundedRect(cr, mx, my, mw, 10, 5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
    cairo_fill(cr);
    RoundedRect(cr, mx, my, mw * 0.85, 10, 5);
    SetRgb(cr, Palette::Gold);
    cairo_fill(cr);
    for (double f : {0.75, 1.0}) {
        cairo_move_to(cr, mx + mw * f * 0.999, my - 4);
        cairo_line_to(cr, mx + mw * f * 0.999, my + 14);
    }
    SetRgb(cr, Cream);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    OutlinedText(cr, "lobster", 16, mx + mw * 0.75 - 2, my - 12, "x2", Palette::Silver, Ink, 1.5);
    OutlinedText(cr, "lobster", 16, mx + mw - 8, my - 12, "x4", Palette::Gold, Ink, 1.5);
    Body(cr,
         "Frets and starred notes fill the combo meter; letting them slip drains it, and it slowly "
         "cools on its own. High on the meter your points count double (x2) and the catcher turns "
         "silver. At the top they count four times (x4), the catcher turns gold and the gold rush "
         "begins - enjoy it, it burns down faster and faster.");
}

void Page6(cairo_t* cr) {
    PageFrame(cr, 6, "Misses and pausing");
    const MiniHighway m = Pic();
    PaintHighway(cr, m);
    Note(cr, m, 1, 0.93);
    Catcher(cr, m, 3);
    // The missed line flashes red; the guitar falls silent.
    cairo_move_to(cr, m.X(1, 0.6), m.Y(0.6));
    cairo_line_to(cr, m.X(1, 1), m.Y(1));
    cairo_set_source_rgba(cr, 1, 0.15, 0.1, 0.9);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    const double gx = kPicX + 118, gy = kPicY + 40;
    OutlinedText(cr, "dejavu-bold", 26, gx, gy, "\xE2\x99\xAA", Cream, Ink, 1.5);  // a note sign
    cairo_move_to(cr, gx - 16, gy - 16);
    cairo_line_to(cr, gx + 16, gy + 16);
    cairo_set_source_rgba(cr, 1, 0.15, 0.1, 1);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    Body(cr,
         "Miss a note and the lead guitar falls silent until you catch again. You can never lose: "
         "the song always plays to its end, and the results count your notes, stars, frets and "
         "melodies. Right-click, or press Esc or P, to pause the song and open the menu.");
}

}  // namespace

TOTEM_ART(RegisterHelpPages) {
    void (*const pages[6])(cairo_t*) = {Page1, Page2, Page3, Page4, Page5, Page6};
    for (int i = 0; i < 6; ++i) {
        char path[64];
        std::snprintf(path, sizeof path, "media/gfx/help/help_%02d.png", i + 1);
        AddArt({path, kPageW, kPageH, pages[i]});
    }
}
