#include "ArtUiKit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace UiArt {

void FillWood(cairo_t* cr, Rgb light, Rgb dark, uint32_t seed, bool horizontal) {
    double x1, y1, x2, y2;
    cairo_fill_extents(cr, &x1, &y1, &x2, &y2);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_pattern_t* g = horizontal ? cairo_pattern_create_linear(x1, y1, x1, y2)
                                    : cairo_pattern_create_linear(x1, y1, x2, y1);
    cairo_pattern_add_color_stop_rgb(g, 0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(g, 0.55, (light.r + dark.r) / 2, (light.g + dark.g) / 2, (light.b + dark.b) / 2);
    cairo_pattern_add_color_stop_rgb(g, 1, dark.r, dark.g, dark.b);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    ArtRandom rnd(seed);
    const double across = horizontal ? (y2 - y1) : (x2 - x1);
    const double along = horizontal ? (x2 - x1) : (y2 - y1);
    const int lines = std::max(3, static_cast<int>(across / 3.5));
    for (int i = 0; i < lines; ++i) {
        const double p = rnd.Uniform(0, across);
        const double amp = rnd.Uniform(0.5, 2.5);
        const double freq = rnd.Uniform(0.01, 0.04);
        const double phase = rnd.Uniform(0, 6.28);
        for (double s = -4; s <= along + 4; s += 4) {
            const double off = p + amp * std::sin(s * freq + phase);
            if (horizontal)
                s < -3 ? cairo_move_to(cr, x1 + s, y1 + off) : cairo_line_to(cr, x1 + s, y1 + off);
            else
                s < -3 ? cairo_move_to(cr, x1 + off, y1 + s) : cairo_line_to(cr, x1 + off, y1 + s);
        }
        const bool darkLine = rnd.Next() % 3 != 0;
        cairo_set_source_rgba(cr, darkLine ? 0.1 : 1.0, darkLine ? 0.05 : 0.85, darkLine ? 0.0 : 0.6,
                              rnd.Uniform(0.05, 0.16));
        cairo_set_line_width(cr, rnd.Uniform(0.6, 1.6));
        cairo_stroke(cr);
    }
    const int knots = static_cast<int>(along * across / 9000);
    for (int i = 0; i < knots; ++i) {
        const double a = rnd.Uniform(0, along), b = rnd.Uniform(0, across);
        const double kx = horizontal ? x1 + a : x1 + b, ky = horizontal ? y1 + b : y1 + a;
        for (int r = 1; r <= 3; ++r) {
            cairo_save(cr);
            cairo_translate(cr, kx, ky);
            cairo_scale(cr, horizontal ? 2.2 : 1.0, horizontal ? 1.0 : 2.2);
            cairo_arc(cr, 0, 0, r * 1.6, 0, 2 * M_PI);
            cairo_restore(cr);
            cairo_set_source_rgba(cr, 0.12, 0.05, 0.0, 0.22);
            cairo_set_line_width(cr, 0.8);
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
}

namespace {

void PlateFinish(cairo_t* cr, double x, double y, double w, double h, double radius, Rgb rim, bool hover) {
    // Top highlight and bottom shade give the plate its carved bevel.
    cairo_save(cr);
    RoundedRect(cr, x + 1.5, y + 1.5, w - 3, h - 3, std::max(1.0, radius - 1.5));
    cairo_clip(cr);
    cairo_pattern_t* bevel = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(bevel, 0, 1, 0.95, 0.8, 0.35);
    cairo_pattern_add_color_stop_rgba(bevel, 0.18, 1, 0.95, 0.8, 0.0);
    cairo_pattern_add_color_stop_rgba(bevel, 0.8, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(bevel, 1, 0, 0, 0, 0.35);
    cairo_set_source(cr, bevel);
    cairo_paint(cr);
    cairo_pattern_destroy(bevel);
    if (hover) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(x + w / 2, y + h / 2, 0, x + w / 2, y + h / 2,
                                                            std::max(w, h) * 0.6);
        cairo_pattern_add_color_stop_rgba(glow, 0, Torch.r, Torch.g, Torch.b, 0.55);
        cairo_pattern_add_color_stop_rgba(glow, 1, Torch.r, Torch.g, Torch.b, 0.0);
        cairo_set_source(cr, glow);
        cairo_paint(cr);
        cairo_pattern_destroy(glow);
    }
    cairo_restore(cr);
    RoundedRect(cr, x + 1, y + 1, w - 2, h - 2, radius);
    SetRgb(cr, hover ? Palette::Gold : rim);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    RoundedRect(cr, x + 3.5, y + 3.5, w - 7, h - 7, std::max(1.0, radius - 2.5));
    cairo_set_source_rgba(cr, 1, 0.9, 0.6, hover ? 0.45 : 0.18);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

}  // namespace

void WoodPlate(cairo_t* cr, double x, double y, double w, double h, double radius, uint32_t seed, bool hover) {
    cairo_save(cr);
    RoundedRect(cr, x, y, w, h, radius);
    FillWood(cr, hover ? Rgb{0.74, 0.48, 0.24} : WoodLight, WoodDark, seed);
    cairo_new_path(cr);
    PlateFinish(cr, x, y, w, h, radius, WoodEdge, hover);
    cairo_restore(cr);
}

void StonePlate(cairo_t* cr, double x, double y, double w, double h, double radius, uint32_t seed, bool hover) {
    cairo_save(cr);
    RoundedRect(cr, x, y, w, h, radius);
    const Rgb light = hover ? Rgb{0.75, 0.68, 0.56} : Palette::StoneLight;
    FillStone(cr, light, Palette::StoneDark, seed);
    cairo_new_path(cr);
    PlateFinish(cr, x, y, w, h, radius, Rgb{0.16, 0.13, 0.11}, hover);
    cairo_restore(cr);
}

double FitFontSize(cairo_t* cr, const std::string& font, const std::string& text, double size, double maxWidth) {
    cairo_save(cr);
    cairo_set_font_face(cr, ArtFont(font));
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    cairo_restore(cr);
    if (ext.width <= maxWidth || ext.width <= 0) return size;
    return size * maxWidth / ext.width;
}

void TitleWord(cairo_t* cr, const std::string& text, double x, double y, double w, double h, double size,
               Rgb top, Rgb bottom) {
    const double fs = FitFontSize(cr, "lobster", text, size, w - 12);
    cairo_save(cr);
    cairo_set_font_face(cr, ArtFont("lobster"));
    cairo_set_font_size(cr, fs);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    const double tx = x + w / 2 - ext.width / 2 - ext.x_bearing;
    const double ty = y + h / 2 - ext.height / 2 - ext.y_bearing;
    // Shadow, outline, fill with a vertical gradient, then a thin highlight.
    cairo_move_to(cr, tx + 2, ty + 3);
    cairo_text_path(cr, text.c_str());
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_set_line_width(cr, 5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_move_to(cr, tx, ty);
    cairo_text_path(cr, text.c_str());
    SetRgb(cr, Ink);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    FillVertical(cr, ty + ext.y_bearing, ty + ext.y_bearing + ext.height, top, bottom);
    cairo_set_source_rgba(cr, 1, 1, 0.9, 0.5);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void PlainText(cairo_t* cr, const std::string& font, double size, double x, double y, const std::string& text,
               Rgb colour, double alpha) {
    cairo_save(cr);
    cairo_set_font_face(cr, ArtFont(font));
    cairo_set_font_size(cr, size);
    SetRgb(cr, colour, alpha);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
    cairo_restore(cr);
}

double WrappedText(cairo_t* cr, const std::string& font, double size, double x, double y, double width,
                   const std::string& text, Rgb colour, double lineGap) {
    cairo_save(cr);
    cairo_set_font_face(cr, ArtFont(font));
    cairo_set_font_size(cr, size);
    SetRgb(cr, colour);
    std::vector<std::string> words;
    std::string word;
    for (char c : text + " ") {
        if (c == ' ') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    const double lineH = size * lineGap;
    double baseline = y + size;
    std::string line;
    auto flush = [&] {
        cairo_move_to(cr, x, baseline);
        cairo_show_text(cr, line.c_str());
        baseline += lineH;
        line.clear();
    };
    for (const std::string& w : words) {
        const std::string trial = line.empty() ? w : line + " " + w;
        cairo_text_extents_t ext;
        cairo_text_extents(cr, trial.c_str(), &ext);
        if (ext.x_advance > width && !line.empty()) {
            flush();
            line = w;
        } else {
            line = trial;
        }
    }
    if (!line.empty()) flush();
    cairo_restore(cr);
    return baseline - size;
}

StatueEyes EyesOf(bool left) {
    // The picture corners and pupil rests are where the menu places them.
    if (left) return {108, 385, 139, 392, 118, 392};
    return {663, 383, 674, 390, 695, 390};
}

void StatueHead(cairo_t* cr, bool left, uint32_t seed) {
    const StatueEyes e = EyesOf(left);
    const double cx = (e.pupil1X + e.pupil2X) / 2;  // face centre line
    const double ey = e.pupil1Y;                    // eye line
    cairo_save(cr);
    // Head: a tall block with a heavy brow, long nose and a jutting chin,
    // slightly turned toward the middle of the screen.
    const double turn = left ? 1 : -1;
    cairo_move_to(cr, cx - 44, ey + 175);
    cairo_curve_to(cr, cx - 50, ey + 120, cx - 48, ey + 40, cx - 42, ey - 20);
    cairo_curve_to(cr, cx - 40, ey - 70, cx - 30, ey - 92, cx, ey - 95);
    cairo_curve_to(cr, cx + 30, ey - 92, cx + 42, ey - 70, cx + 44, ey - 20);
    cairo_curve_to(cr, cx + 50, ey + 40, cx + 50, ey + 120, cx + 46, ey + 175);
    cairo_close_path(cr);
    // Shoulders sinking into the ground.
    cairo_move_to(cr, cx - 80, ey + 230);
    cairo_curve_to(cr, cx - 78, ey + 170, cx - 50, ey + 150, cx, ey + 150);
    cairo_curve_to(cr, cx + 50, ey + 150, cx + 78, ey + 170, cx + 80, ey + 230);
    cairo_close_path(cr);
    FillStone(cr, Rgb{0.58, 0.52, 0.45}, Rgb{0.24, 0.20, 0.18}, seed);
    // Side light from the sunset in the middle of the screen.
    cairo_pattern_t* side = cairo_pattern_create_linear(cx - 50 * turn, 0, cx + 50 * turn, 0);
    cairo_pattern_add_color_stop_rgba(side, 0, 0, 0, 0.05, 0.45);
    cairo_pattern_add_color_stop_rgba(side, 0.6, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(side, 1, 1.0, 0.6, 0.25, 0.30);
    cairo_set_source(cr, side);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(side);
    cairo_set_source_rgba(cr, 0.10, 0.07, 0.05, 0.9);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);

    // Brow ridge.
    cairo_move_to(cr, cx - 38, ey - 14);
    cairo_curve_to(cr, cx - 25, ey - 22, cx + 25, ey - 22, cx + 38, ey - 14);
    cairo_curve_to(cr, cx + 25, ey - 16, cx - 25, ey - 16, cx - 38, ey - 14);
    cairo_set_source_rgba(cr, 0.1, 0.07, 0.05, 0.55);
    cairo_fill(cr);
    cairo_move_to(cr, cx - 36, ey - 19);
    cairo_curve_to(cr, cx - 20, ey - 27, cx + 20, ey - 27, cx + 36, ey - 19);
    cairo_set_source_rgba(cr, 1, 0.85, 0.6, 0.35);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Deep sockets behind the eye pictures, so a blink shows dark stone.
    for (double px : {e.pupil1X, e.pupil2X}) {
        cairo_save(cr);
        cairo_translate(cr, px, ey);
        cairo_scale(cr, 1.0, 0.62);
        cairo_arc(cr, 0, 0, 12, 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_set_source_rgba(cr, 0.06, 0.04, 0.03, 0.92);
        cairo_fill(cr);
    }
    // Nose.
    cairo_move_to(cr, cx - 2, ey - 6);
    cairo_curve_to(cr, cx - 6, ey + 20, cx - 14, ey + 40, cx - 15, ey + 52);
    cairo_curve_to(cr, cx - 8, ey + 60, cx + 8, ey + 60, cx + 15, ey + 52);
    cairo_curve_to(cr, cx + 14, ey + 40, cx + 6, ey + 20, cx + 2, ey - 6);
    cairo_set_source_rgba(cr, 0.05, 0.03, 0.02, 0.35);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* nose = cairo_pattern_create_linear(cx - 15, 0, cx + 15, 0);
    cairo_pattern_add_color_stop_rgba(nose, 0, 0, 0, 0, left ? 0.3 : 0.0);
    cairo_pattern_add_color_stop_rgba(nose, 1, 1, 0.7, 0.4, left ? 0.2 : 0.0);
    cairo_pattern_add_color_stop_rgba(nose, 0.5, 0, 0, 0, 0.1);
    cairo_set_source(cr, nose);
    cairo_fill(cr);
    cairo_pattern_destroy(nose);
    // Nostrils and mouth.
    for (double s : {-1.0, 1.0}) {
        cairo_arc(cr, cx + s * 7, ey + 53, 2.5, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0.05, 0.03, 0.02, 0.6);
        cairo_fill(cr);
    }
    cairo_move_to(cr, cx - 22, ey + 82);
    cairo_curve_to(cr, cx - 10, ey + 78, cx + 10, ey + 78, cx + 22, ey + 82);
    cairo_set_source_rgba(cr, 0.05, 0.03, 0.02, 0.7);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_move_to(cr, cx - 18, ey + 90);
    cairo_curve_to(cr, cx - 8, ey + 93, cx + 8, ey + 93, cx + 18, ey + 90);
    cairo_set_source_rgba(cr, 1, 0.85, 0.6, 0.25);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Carved bands on the chest: the five line colours, faded into the stone.
    for (int i = 0; i < 5; ++i) {
        const Rgb c = Palette::Line(i);
        cairo_arc(cr, cx - 40 + i * 20, ey + 190, 5, 0, 2 * M_PI);
        SetRgb(cr, c, 0.55);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void IconPath(cairo_t* cr, Icon icon, double cx, double cy, double s) {
    const double h = s / 2;
    switch (icon) {
        case Icon::Play:
            cairo_move_to(cr, cx - h * 0.55, cy - h * 0.75);
            cairo_line_to(cr, cx + h * 0.8, cy);
            cairo_line_to(cr, cx - h * 0.55, cy + h * 0.75);
            cairo_close_path(cr);
            break;
        case Icon::Gear: {
            const int teeth = 8;
            for (int i = 0; i < teeth * 2; ++i) {
                const double a0 = i * M_PI / teeth, a1 = (i + 1) * M_PI / teeth;
                const double r = (i % 2 == 0) ? h * 0.95 : h * 0.72;
                if (i == 0) cairo_move_to(cr, cx + r * std::cos(a0), cy + r * std::sin(a0));
                cairo_line_to(cr, cx + r * std::cos(a0), cy + r * std::sin(a0));
                cairo_line_to(cr, cx + r * std::cos(a1), cy + r * std::sin(a1));
            }
            cairo_close_path(cr);
            cairo_new_sub_path(cr);
            cairo_arc_negative(cr, cx, cy, h * 0.32, 2 * M_PI, 0);
            cairo_close_path(cr);
            break;
        }
        case Icon::Trophy:
            cairo_move_to(cr, cx - h * 0.6, cy - h * 0.85);
            cairo_line_to(cr, cx + h * 0.6, cy - h * 0.85);
            cairo_curve_to(cr, cx + h * 0.6, cy - h * 0.1, cx + h * 0.3, cy + h * 0.15, cx + h * 0.1, cy + h * 0.25);
            cairo_line_to(cr, cx + h * 0.1, cy + h * 0.55);
            cairo_line_to(cr, cx + h * 0.45, cy + h * 0.6);
            cairo_line_to(cr, cx + h * 0.45, cy + h * 0.85);
            cairo_line_to(cr, cx - h * 0.45, cy + h * 0.85);
            cairo_line_to(cr, cx - h * 0.45, cy + h * 0.6);
            cairo_line_to(cr, cx - h * 0.1, cy + h * 0.55);
            cairo_line_to(cr, cx - h * 0.1, cy + h * 0.25);
            cairo_curve_to(cr, cx - h * 0.3, cy + h * 0.15, cx - h * 0.6, cy - h * 0.1, cx - h * 0.6, cy - h * 0.85);
            cairo_close_path(cr);
            // Handles.
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx - h * 0.62, cy - h * 0.45, h * 0.28, M_PI / 2, 3 * M_PI / 2);
            cairo_arc_negative(cr, cx - h * 0.62, cy - h * 0.45, h * 0.14, 3 * M_PI / 2, M_PI / 2);
            cairo_close_path(cr);
            cairo_new_sub_path(cr);
            cairo_arc_negative(cr, cx + h * 0.62, cy - h * 0.45, h * 0.28, M_PI / 2, -M_PI / 2);
            cairo_arc(cr, cx + h * 0.62, cy - h * 0.45, h * 0.14, -M_PI / 2, M_PI / 2);
            cairo_close_path(cr);
            break;
        case Icon::Question:
            cairo_save(cr);
            cairo_set_font_face(cr, ArtFont("dejavu-bold"));
            cairo_set_font_size(cr, s * 1.05);
            {
                cairo_text_extents_t ext;
                cairo_text_extents(cr, "?", &ext);
                cairo_move_to(cr, cx - ext.width / 2 - ext.x_bearing, cy - ext.height / 2 - ext.y_bearing);
                cairo_text_path(cr, "?");
            }
            cairo_restore(cr);
            break;
        case Icon::Door:
            // An arched door frame with its leaf swung half open.
            cairo_move_to(cr, cx - h * 0.6, cy + h * 0.85);
            cairo_line_to(cr, cx - h * 0.6, cy - h * 0.35);
            cairo_curve_to(cr, cx - h * 0.6, cy - h * 1.0, cx + h * 0.6, cy - h * 1.0, cx + h * 0.6, cy - h * 0.35);
            cairo_line_to(cr, cx + h * 0.6, cy + h * 0.85);
            cairo_close_path(cr);
            cairo_new_sub_path(cr);
            cairo_move_to(cr, cx - h * 0.38, cy + h * 0.85);
            cairo_line_to(cr, cx - h * 0.38, cy - h * 0.3);
            cairo_curve_to(cr, cx - h * 0.38, cy - h * 0.72, cx + h * 0.38, cy - h * 0.72, cx + h * 0.38, cy - h * 0.3);
            cairo_line_to(cr, cx + h * 0.38, cy + h * 0.85);
            cairo_close_path(cr);
            cairo_new_sub_path(cr);
            cairo_move_to(cr, cx - h * 0.38, cy - h * 0.45);
            cairo_line_to(cr, cx + h * 0.05, cy - h * 0.3);
            cairo_line_to(cr, cx + h * 0.05, cy + h * 0.95);
            cairo_line_to(cr, cx - h * 0.38, cy + h * 0.85);
            cairo_close_path(cr);
            break;
        case Icon::ArrowLeft:
        case Icon::ArrowRight: {
            const double d = icon == Icon::ArrowRight ? 1 : -1;
            cairo_move_to(cr, cx + d * h * 0.85, cy);
            cairo_line_to(cr, cx + d * h * 0.05, cy - h * 0.75);
            cairo_line_to(cr, cx + d * h * 0.05, cy - h * 0.3);
            cairo_line_to(cr, cx - d * h * 0.8, cy - h * 0.3);
            cairo_line_to(cr, cx - d * h * 0.8, cy + h * 0.3);
            cairo_line_to(cr, cx + d * h * 0.05, cy + h * 0.3);
            cairo_line_to(cr, cx + d * h * 0.05, cy + h * 0.75);
            cairo_close_path(cr);
            break;
        }
        case Icon::Map:
            // A folded map with a path dotted across it.
            cairo_move_to(cr, cx - h * 0.85, cy - h * 0.6);
            cairo_line_to(cr, cx - h * 0.3, cy - h * 0.8);
            cairo_line_to(cr, cx + h * 0.3, cy - h * 0.6);
            cairo_line_to(cr, cx + h * 0.85, cy - h * 0.8);
            cairo_line_to(cr, cx + h * 0.85, cy + h * 0.6);
            cairo_line_to(cr, cx + h * 0.3, cy + h * 0.8);
            cairo_line_to(cr, cx - h * 0.3, cy + h * 0.6);
            cairo_line_to(cr, cx - h * 0.85, cy + h * 0.8);
            cairo_close_path(cr);
            break;
        case Icon::Replay:
            cairo_arc(cr, cx, cy, h * 0.75, -M_PI * 0.35, M_PI * 1.45);
            cairo_arc_negative(cr, cx, cy, h * 0.42, M_PI * 1.45, -M_PI * 0.35);
            cairo_close_path(cr);
            cairo_new_sub_path(cr);
            {
                const double a = -M_PI * 0.35;
                const double tx = cx + h * 0.585 * std::cos(a), ty = cy + h * 0.585 * std::sin(a);
                cairo_move_to(cr, tx - h * 0.45, ty - h * 0.05);
                cairo_line_to(cr, tx + h * 0.35, ty - h * 0.45);
                cairo_line_to(cr, tx + h * 0.3, ty + h * 0.45);
                cairo_close_path(cr);
            }
            break;
        case Icon::Next:
            for (int k = 0; k < 2; ++k) {
                const double ox = cx - h * 0.45 + k * h * 0.75;
                cairo_move_to(cr, ox - h * 0.4, cy - h * 0.7);
                cairo_line_to(cr, ox + h * 0.4, cy);
                cairo_line_to(cr, ox - h * 0.4, cy + h * 0.7);
                cairo_close_path(cr);
            }
            break;
        case Icon::Lock:
            RoundedRect(cr, cx - h * 0.6, cy - h * 0.1, h * 1.2, h * 0.95, h * 0.15);
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx, cy - h * 0.15, h * 0.45, M_PI, 2 * M_PI);
            cairo_arc_negative(cr, cx, cy - h * 0.15, h * 0.25, 2 * M_PI, M_PI);
            cairo_close_path(cr);
            break;
        case Icon::Tick:
            cairo_move_to(cr, cx - h * 0.8, cy);
            cairo_line_to(cr, cx - h * 0.45, cy - h * 0.35);
            cairo_line_to(cr, cx - h * 0.15, cy + h * 0.05);
            cairo_line_to(cr, cx + h * 0.55, cy - h * 0.8);
            cairo_line_to(cr, cx + h * 0.85, cy - h * 0.45);
            cairo_line_to(cr, cx - h * 0.15, cy + h * 0.7);
            cairo_close_path(cr);
            break;
    }
}

void PaintIcon(cairo_t* cr, Icon icon, double cx, double cy, double size, Rgb fill, Rgb outline) {
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    IconPath(cr, icon, cx + 1, cy + 2, size);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
    cairo_fill(cr);
    IconPath(cr, icon, cx, cy, size);
    SetRgb(cr, outline);
    cairo_set_line_width(cr, std::max(1.5, size / 14));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    SetRgb(cr, fill);
    cairo_fill(cr);
    if (icon == Icon::Map) {
        cairo_move_to(cr, cx - size * 0.3, cy + size * 0.2);
        cairo_curve_to(cr, cx - size * 0.1, cy - size * 0.25, cx + size * 0.05, cy + size * 0.25, cx + size * 0.3,
                       cy - size * 0.2);
        const double dash[] = {size * 0.06, size * 0.05};
        cairo_set_dash(cr, dash, 2, 0);
        cairo_set_source_rgba(cr, 0.75, 0.1, 0.05, 0.9);
        cairo_set_line_width(cr, std::max(1.2, size / 18));
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void Medallion(cairo_t* cr, double cx, double cy, double r, Icon icon, bool hover, uint32_t seed) {
    cairo_save(cr);
    if (hover) Glow(cr, cx, cy, r + 4, Palette::Gold, 0.6);
    cairo_arc(cr, cx, cy + 1.5, r - 2, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r - 3, 0, 2 * M_PI);
    FillStone(cr, hover ? Rgb{0.78, 0.70, 0.56} : Palette::StoneLight, Palette::StoneDark, seed);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r - 3, 0, 2 * M_PI);
    SetRgb(cr, hover ? Palette::Gold : Rgb{0.15, 0.12, 0.1});
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, r - 7, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 0.9, 0.65, hover ? 0.6 : 0.25);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    PaintIcon(cr, icon, cx, cy, r * 1.0, hover ? Cream : Rgb{0.93, 0.82, 0.58}, Ink);
    cairo_restore(cr);
}

void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(g, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
}

void GlassShine(cairo_t* cr, double y0, double y1, double topAlpha, double fadeAt, double fadeAlpha,
                double bottomAlpha) {
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_pattern_t* shine = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(shine, 0, 1, 1, 1, topAlpha);
    cairo_pattern_add_color_stop_rgba(shine, fadeAt, 1, 1, 1, fadeAlpha);
    cairo_pattern_add_color_stop_rgba(shine, 1, 0, 0, 0, bottomAlpha);
    cairo_set_source(cr, shine);
    cairo_paint(cr);
    cairo_pattern_destroy(shine);
    cairo_restore(cr);
}

}  // namespace UiArt
