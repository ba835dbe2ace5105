#include "ArtHighway.h"

#include <cmath>

using G = HighwayGeometry;

double HighwayLeftX() { return G::LineX(0) - G::kLineHalfWidth; }
double HighwayRightX() { return G::LineX(G::kLines - 1) + G::kLineHalfWidth; }

double HighwayBottomProgress() { return G::ProgressAtScreenY(600.0f); }

void SurfaceXY(const ScreenFrame& f, double x, double t, double* px, double* py) {
    const HighwayPoint p = G::SurfacePoint(static_cast<float>(x), static_cast<float>(t));
    *px = f.X(p.x);
    *py = f.Y(p.y);
}

void HighwayQuad(cairo_t* cr, const ScreenFrame& f, double x0, double x1, double t0, double t1) {
    double x, y;
    SurfaceXY(f, x0, t0, &x, &y);
    cairo_move_to(cr, x, y);
    SurfaceXY(f, x1, t0, &x, &y);
    cairo_line_to(cr, x, y);
    SurfaceXY(f, x1, t1, &x, &y);
    cairo_line_to(cr, x, y);
    SurfaceXY(f, x0, t1, &x, &y);
    cairo_line_to(cr, x, y);
    cairo_close_path(cr);
}

cairo_pattern_t* AlongHighway(const ScreenFrame& f, double t0, double t1) {
    double x, y0, y1;
    SurfaceXY(f, 0, t0, &x, &y0);
    SurfaceXY(f, 0, t1, &x, &y1);
    return cairo_pattern_create_linear(0, y0, 0, y1);
}

void PaintLineGlow(cairo_t* cr, const ScreenFrame& f, int line, Rgb colour, double strength) {
    const double lx = G::LineX(line);
    const double hw = G::kLineHalfWidth;
    const double bottom = HighwayBottomProgress();
    // The lit patch of the strip, brightest at the catch row and fading up
    // the highway and towards the screen's bottom edge.
    cairo_save(cr);
    cairo_pattern_t* along = AlongHighway(f, 70, bottom);
    double cx, cy, yTop, yBottom, xx;
    SurfaceXY(f, lx, G::kCatchProgress, &cx, &cy);
    SurfaceXY(f, lx, 70, &xx, &yTop);
    SurfaceXY(f, lx, bottom, &xx, &yBottom);
    const double stop = (cy - yTop) / (yBottom - yTop);
    cairo_pattern_add_color_stop_rgba(along, 0, colour.r, colour.g, colour.b, 0);
    cairo_pattern_add_color_stop_rgba(along, stop * 0.6, colour.r, colour.g, colour.b, 0.25 * strength);
    cairo_pattern_add_color_stop_rgba(along, stop, colour.r, colour.g, colour.b, 0.75 * strength);
    cairo_pattern_add_color_stop_rgba(along, 1, colour.r, colour.g, colour.b, 0.15 * strength);
    for (int pass = 0; pass < 10; ++pass) {
        // Ten widths of the same patch, stacked, make its side edges soft.
        const double w = hw * (0.5 + 0.08 * pass);
        HighwayQuad(cr, f, lx - w, lx + w, 70, bottom);
        cairo_set_source(cr, along);
        cairo_save(cr);
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, 0.14);
        cairo_restore(cr);
    }
    cairo_pattern_destroy(along);
    // The bright core where the catcher meets the line, flattened like the
    // highway it lies on.
    const double half = (f.X(G::SurfacePoint(lx + hw, G::kCatchProgress).x) - f.X(G::SurfacePoint(lx - hw, G::kCatchProgress).x)) / 2;
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1.0, 0.42);
    Glow(cr, 0, 0, half * 1.25, colour, 0.9 * strength);
    Glow(cr, 0, 0, half * 0.55, Rgb{1, 1, 1}, 0.55 * strength);
    cairo_restore(cr);
}
