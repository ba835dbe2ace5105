#include "ArtKit.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <librsvg/rsvg.h>

#include <cmath>
#include <map>
#include <mutex>

namespace {

constexpr int kLineRgb[5][3] = {{61, 245, 38}, {224, 30, 186}, {37, 101, 246}, {255, 196, 36}, {253, 75, 40}};

const std::map<std::string, std::string>& FontFiles() {
    static const std::map<std::string, std::string> files = {
        {"lobster", "/usr/share/fonts/opentype/lobster/lobster.otf"},
        {"comfortaa", "/usr/share/fonts/truetype/comfortaa/Comfortaa-Regular.ttf"},
        {"comfortaa-bold", "/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf"},
        {"cabin", "/usr/share/fonts/opentype/cabin/Cabin-Regular.otf"},
        {"cabin-bold", "/usr/share/fonts/opentype/cabin/Cabin-Bold.otf"},
        {"dejavu", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
        {"dejavu-bold", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"},
    };
    return files;
}

}  // namespace

Rgb Palette::Line(int index) {
    const int i = ((index % 5) + 5) % 5;
    return {kLineRgb[i][0] / 255.0, kLineRgb[i][1] / 255.0, kLineRgb[i][2] / 255.0};
}

void SetRgb(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

cairo_font_face_t* ArtFont(const std::string& name) {
    static std::mutex mutex;
    static FT_Library library = nullptr;
    static std::map<std::string, cairo_font_face_t*> faces;
    std::lock_guard<std::mutex> lock(mutex);
    auto found = faces.find(name);
    if (found != faces.end()) return found->second;
    auto file = FontFiles().find(name);
    if (file == FontFiles().end()) throw ArtError("unknown art font \"" + name + "\"");
    if (!library && FT_Init_FreeType(&library) != 0) throw ArtError("FreeType cannot start");
    FT_Face face = nullptr;
    if (FT_New_Face(library, file->second.c_str(), 0, &face) != 0)
        throw ArtError(file->second + ": font file missing or unreadable");
    // The faces live as long as the generator; cairo keeps its own reference.
    cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    faces[name] = cairoFace;
    return cairoFace;
}

void OutlinedText(cairo_t* cr, const std::string& font, double size, double cx, double cy,
                  const std::string& utf8, Rgb fill, Rgb outline, double outlineWidth) {
    cairo_save(cr);
    cairo_set_font_face(cr, ArtFont(font));
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, utf8.c_str(), &ext);
    const double x = cx - ext.width / 2 - ext.x_bearing;
    const double y = cy - ext.height / 2 - ext.y_bearing;
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, utf8.c_str());
    if (outlineWidth > 0) {
        SetRgb(cr, outline);
        cairo_set_line_width(cr, outlineWidth * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    SetRgb(cr, fill);
    cairo_fill(cr);
    cairo_restore(cr);
}

void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, double rotation, int points) {
    for (int i = 0; i < points * 2; ++i) {
        const double a = rotation - M_PI / 2 + i * M_PI / points;
        const double r = (i % 2 == 0) ? outer : inner;
        if (i == 0)
            cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        else
            cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

void FillAndOutline(cairo_t* cr, Rgb fill, Rgb outline, double width) {
    SetRgb(cr, fill);
    cairo_fill_preserve(cr);
    SetRgb(cr, outline);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void FillLineRainbow(cairo_t* cr, double x0, double x1) {
    cairo_pattern_t* g = cairo_pattern_create_linear(x0, 0, x1, 0);
    for (int i = 0; i < 5; ++i) {
        const Rgb c = Palette::Line(i);
        cairo_pattern_add_color_stop_rgb(g, i / 4.0, c.r, c.g, c.b);
    }
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    const double r = std::min(radius, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void Glow(cairo_t* cr, double cx, double cy, double radius, Rgb colour, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(p, 0, colour.r, colour.g, colour.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.4, colour.r, colour.g, colour.b, alpha * 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, colour.r, colour.g, colour.b, 0);
    cairo_save(cr);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(p);
}

void FillStone(cairo_t* cr, Rgb light, Rgb dark, uint32_t seed) {
    double x1, y1, x2, y2;
    cairo_fill_extents(cr, &x1, &y1, &x2, &y2);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(x1, y1, x1, y2);
    cairo_pattern_add_color_stop_rgb(g, 0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(g, 1, dark.r, dark.g, dark.b);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    ArtRandom rnd(seed);
    const double area = (x2 - x1) * (y2 - y1);
    const int speckles = static_cast<int>(area / 40);
    for (int i = 0; i < speckles; ++i) {
        const double x = rnd.Uniform(x1, x2), y = rnd.Uniform(y1, y2);
        const bool bright = rnd.Next() & 1;
        cairo_set_source_rgba(cr, bright ? 1 : 0, bright ? 0.95 : 0, bright ? 0.85 : 0, rnd.Uniform(0.03, 0.10));
        cairo_arc(cr, x, y, rnd.Uniform(0.5, 2.2), 0, 2 * M_PI);
        cairo_fill(cr);
    }
    const int cracks = 2 + static_cast<int>(area / 20000);
    cairo_set_line_width(cr, 1.2);
    for (int i = 0; i < cracks; ++i) {
        double x = rnd.Uniform(x1, x2), y = rnd.Uniform(y1, y2);
        cairo_move_to(cr, x, y);
        for (int k = 0; k < 5; ++k) {
            x += rnd.Uniform(-12, 12);
            y += rnd.Uniform(-4, 14);
            cairo_line_to(cr, x, y);
        }
        cairo_set_source_rgba(cr, 0, 0, 0, 0.22);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void PaintSvg(cairo_t* cr, const std::string& repoPath, double x, double y, double w, double h) {
    const std::string path = repoPath.starts_with("/") ? repoPath : std::string(TOTEM_SOURCE_DIR) + "/" + repoPath;
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(path.c_str(), &error);
    if (!handle) {
        std::string why = error ? error->message : "cannot be read";
        if (error) g_error_free(error);
        throw ArtError(repoPath + ": SVG does not decode: " + why);
    }
    RsvgRectangle viewport{x, y, w, h};
    const gboolean ok = rsvg_handle_render_document(handle, cr, &viewport, &error);
    g_object_unref(handle);
    if (!ok) {
        std::string why = error ? error->message : "render failed";
        if (error) g_error_free(error);
        throw ArtError(repoPath + ": SVG does not render: " + why);
    }
}

uint32_t ArtRandom::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double ArtRandom::Uniform(double lo, double hi) { return lo + (hi - lo) * (Next() / 4294967296.0); }
