// The host's own views that the renderer draws in their own way, so that a snapshot reads as
// a lock screen: the cover sheet shows the wallpaper (a gradient of our own) instead of its
// flat colour, and notification cells and the media platter are frosted cards over it.
#include "platform/uikit/uikit.h"
#include "sim/render/canvas.h"

#include <map>
#include <tuple>

namespace render {

namespace {

constexpr double kCardSigma = 10; // points

void paintWallpaper(cairo_t* cr, double w, double h) {
    // Deep indigo at the top (under the clock) to violet to a warm coral glow at the bottom.
    cairo_pattern_t* base = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(base, 0.0, 0.07, 0.08, 0.22);
    cairo_pattern_add_color_stop_rgb(base, 0.45, 0.27, 0.13, 0.42);
    cairo_pattern_add_color_stop_rgb(base, 0.8, 0.72, 0.27, 0.42);
    cairo_pattern_add_color_stop_rgb(base, 1.0, 0.93, 0.5, 0.38);
    cairo_set_source(cr, base);
    cairo_paint(cr);
    cairo_pattern_destroy(base);
    auto glow = [&](double cx, double cy, double r, double red, double green, double blue,
                    double a) {
        cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
        cairo_pattern_add_color_stop_rgba(p, 0, red, green, blue, a);
        cairo_pattern_add_color_stop_rgba(p, 1, red, green, blue, 0);
        cairo_set_source(cr, p);
        cairo_paint(cr);
        cairo_pattern_destroy(p);
    };
    glow(w * 0.95, h * 0.3, w * 0.9, 0.95, 0.45, 0.6, 0.45);
    glow(w * 0.05, h * 0.72, w * 0.8, 0.25, 0.45, 0.95, 0.35);
}

// The wallpaper for a size and scale, drawn once and kept (a few at most).
UIImage* wallpaperImage(CGSize size, double scale) {
    static std::map<std::tuple<double, double, double>, Ref<UIImage>> kept;
    auto key = std::make_tuple(size.width, size.height, scale);
    if (auto it = kept.find(key); it != kept.end()) return it->second;
    CGImageRef bitmap =
        drawBitmap(pixelsFor(size.width, scale), pixelsFor(size.height, scale), scale,
                   [&](Canvas& canvas) { paintWallpaper(canvas.cr, size.width, size.height); });
    if (!bitmap) return nullptr;
    if (kept.size() >= 4) kept.clear();
    auto image = UIImage::imageWithCGImage(bitmap, scale);
    kept[key] = image;
    return image;
}

} // namespace

void drawWallpaper(Canvas& canvas, CGRect rect, double alpha) {
    if (!(rect.size.width > 0) || !(rect.size.height > 0)) return;
    if (UIImage* image = wallpaperImage(rect.size, canvas.scale))
        drawImage(canvas, image, rect, CGColor{}, alpha);
}

void drawCardBlur(Canvas& canvas, CGRect rect, double radius, bool continuous, double alpha) {
    drawBackdropBlur(canvas, rect, radius, continuous, kCardSigma, alpha);
}

} // namespace render
