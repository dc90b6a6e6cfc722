// Layer outlines: rectangles with circular or continuous corners, and colour sources.
//
// The continuous corner is approximated by one cubic Bezier per corner that starts 1.528 r from
// the corner (where the platform's curve leaves the straight edge) with both control points on
// the edges, placed so that the curve's midpoint meets the circular arc of radius r. Its
// curvature starts near zero and grows smoothly, which gives the softer look; for short sides
// the start moves in and the curve becomes the circular one.
#include "sim/render/canvas.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

constexpr double kContinuousExtent = 1.528;
// Distance from the corner to the midpoint of a circular arc of radius 1, along each axis.
constexpr double kArcMidpoint = 1 - 0.70710678118654752;

void addRect(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
}

void addCircular(cairo_t* cr, double x0, double y0, double x1, double y1, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - r, y0 + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x1 - r, y1 - r, r, 0, M_PI / 2);
    cairo_arc(cr, x0 + r, y1 - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x0 + r, y0 + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void addContinuous(cairo_t* cr, double x0, double y0, double x1, double y1, double r, double m) {
    double a = std::min(kContinuousExtent * r, m);
    // Midpoint of the cubic (a, 0), (ta, 0), (0, ta), (0, a) is a (1/8 + 3t/8) on each axis.
    double t = std::clamp((kArcMidpoint * r / a - 0.125) / 0.375, 0.0, 1.0);
    double c = t * a;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, x0 + a, y0);
    cairo_line_to(cr, x1 - a, y0);
    cairo_curve_to(cr, x1 - c, y0, x1, y0 + c, x1, y0 + a);
    cairo_line_to(cr, x1, y1 - a);
    cairo_curve_to(cr, x1, y1 - c, x1 - c, y1, x1 - a, y1);
    cairo_line_to(cr, x0 + a, y1);
    cairo_curve_to(cr, x0 + c, y1, x0, y1 - c, x0, y1 - a);
    cairo_line_to(cr, x0, y0 + a);
    cairo_curve_to(cr, x0, y0 + c, x0 + c, y0, x0 + a, y0);
    cairo_close_path(cr);
}

} // namespace

void addLayerShape(cairo_t* cr, CGRect rect, double radius, bool continuous) {
    double x0 = CGRectGetMinX(rect), x1 = CGRectGetMaxX(rect);
    double y0 = CGRectGetMinY(rect), y1 = CGRectGetMaxY(rect);
    if (!(x1 > x0) || !(y1 > y0)) return;
    double m = std::min(x1 - x0, y1 - y0) / 2;
    double r = std::isfinite(radius) ? std::clamp(radius, 0.0, m) : 0;
    if (r <= 0)
        addRect(cr, x0, y0, x1, y1);
    else if (continuous)
        addContinuous(cr, x0, y0, x1, y1, r, m);
    else
        addCircular(cr, x0, y0, x1, y1, r);
}

void setSourceColor(cairo_t* cr, const CGColor& color, double alpha) {
    auto unit = [](double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; };
    cairo_set_source_rgba(cr, unit(color.r), unit(color.g), unit(color.b),
                          unit(color.a) * unit(alpha));
}

bool usableMatrix(const cairo_matrix_t& m) {
    for (double v : {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0})
        if (!std::isfinite(v)) return false;
    cairo_matrix_t inverse = m;
    return cairo_matrix_invert(&inverse) == CAIRO_STATUS_SUCCESS &&
           std::fabs(m.xx * m.yy - m.xy * m.yx) > 1e-12;
}

} // namespace render
