// Blur materials: what has been drawn behind a view, blurred with the platform's Gaussian,
// given more colour, clipped to the view's shape and tinted for the material's style.
#include "platform/graphics/blur.h"
#include "platform/uikit/uikit.h"
#include "sim/render/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace render {

namespace {

constexpr double kMaterialSigma = 12; // points
constexpr double kMaterialSaturation = 1.6;
constexpr double kMaxSigmaPixels = 100; // the Gaussian's own limit
constexpr double kShrunkSigma = 8;      // pixels, after shrinking

// What lies behind the content being drawn, over `area` (canvas pixels, within the canvas):
// the canvas, with the content groups composited over it in order. The surface comes with the
// canvas position of its first pixel; it is the canvas itself when no group is open.
struct BackdropPixels {
    cairo_surface_t* surface = nullptr;
    int x = 0, y = 0;
    ~BackdropPixels() {
        if (surface) cairo_surface_destroy(surface);
    }
};

bool backdropOver(const Canvas& canvas, PixelRect area, BackdropPixels& out) {
    cairo_surface_flush(canvas.surface);
    bool anyContent = std::any_of(canvas.groups.begin(), canvas.groups.end(),
                                  [](const Canvas::Group& g) { return g.content; });
    if (!anyContent) {
        out.surface = cairo_surface_reference(canvas.surface);
        return true;
    }
    out.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, area.width, area.height);
    out.x = area.x, out.y = area.y;
    cairo_t* cr = cairo_create(out.surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, canvas.surface, -area.x, -area.y);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    for (const Canvas::Group& group : canvas.groups) {
        if (!group.content) continue;
        // A group's device offset places it in canvas pixels.
        cairo_surface_flush(group.surface);
        cairo_set_source_surface(cr, group.surface, -area.x, -area.y);
        cairo_paint(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(out.surface);
    return cairo_surface_status(out.surface) == CAIRO_STATUS_SUCCESS;
}

// The backdrop's pixels of `rect` (in canvas pixels divided by `factor`), each the mean of the
// factor x factor canvas pixels it stands for. Edges repeat outward so that a blur near the
// screen's border does not darken.
PixelBuffer shrunkBackdrop(const Canvas& canvas, PixelRect rect, int factor) {
    PixelBuffer out = PixelBuffer::make(rect);
    int width = cairo_image_surface_get_width(canvas.surface);
    int height = cairo_image_surface_get_height(canvas.surface);
    if (!out.data || width <= 0 || height <= 0) return {};
    auto clampX = [&](int x) { return std::clamp(x, 0, width - 1); };
    auto clampY = [&](int y) { return std::clamp(y, 0, height - 1); };
    int x0 = clampX(rect.x * factor), x1 = clampX(rect.right() * factor - 1);
    int y0 = clampY(rect.y * factor), y1 = clampY(rect.bottom() * factor - 1);
    BackdropPixels backdrop;
    if (!backdropOver(canvas, {x0, y0, x1 - x0 + 1, y1 - y0 + 1}, backdrop)) return {};
    auto* data =
        reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(backdrop.surface));
    std::size_t stride = std::size_t(cairo_image_surface_get_stride(backdrop.surface)) / 4;
    if (!data) return {};
    // Sums of two channels per word (alpha and green, red and blue), 16 bits each: at most
    // 13 x 13 pixels of 255 (the largest factor the sigma limit gives) fit.
    std::vector<std::uint32_t> ag(std::size_t(rect.width)), rb(std::size_t(rect.width));
    std::vector<int> columns(std::size_t(rect.width) * factor);
    for (int i = 0; i < rect.width * factor; ++i)
        columns[i] = clampX((rect.x * factor) + i) - backdrop.x;
    std::uint32_t area = std::uint32_t(factor * factor), half = area / 2;
    for (int y = rect.y; y < rect.bottom(); ++y) {
        std::fill(ag.begin(), ag.end(), 0);
        std::fill(rb.begin(), rb.end(), 0);
        for (int dy = 0; dy < factor; ++dy) {
            const std::uint32_t* row =
                data + std::size_t(clampY(y * factor + dy) - backdrop.y) * stride;
            const int* column = columns.data();
            for (int x = 0; x < rect.width; ++x) {
                std::uint32_t sumAG = 0, sumRB = 0;
                for (int dx = 0; dx < factor; ++dx) {
                    std::uint32_t p = row[*column++];
                    sumAG += (p >> 8) & 0x00ff00ffu;
                    sumRB += p & 0x00ff00ffu;
                }
                ag[x] += sumAG, rb[x] += sumRB;
            }
        }
        std::uint32_t* dst = out.row(y);
        for (int x = 0; x < rect.width; ++x)
            dst[x] = packPixel(((ag[x] >> 16) + half) / area, ((rb[x] >> 16) + half) / area,
                               ((ag[x] & 0xffff) + half) / area, ((rb[x] & 0xffff) + half) / area);
    }
    return out;
}

// Pushes each pixel's colour away from its grey, keeping it within its alpha (premultiplied).
void saturate(PixelBuffer& buffer, double amount) {
    int k = int(std::lround(amount * 256));
    std::size_t count = std::size_t(buffer.rect.width) * buffer.rect.height;
    std::uint32_t* p = buffer.data.get();
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t v = p[i];
        int a = int(pixelAlpha(v)), r = int(pixelRed(v)), g = int(pixelGreen(v)),
            b = int(pixelBlue(v));
        int grey = (r * 54 + g * 183 + b * 19) >> 8;
        auto push = [&](int c) { return std::clamp(grey + (((c - grey) * k) >> 8), 0, a); };
        p[i] = packPixel(std::uint32_t(a), std::uint32_t(push(r)), std::uint32_t(push(g)),
                         std::uint32_t(push(b)));
    }
}

CGColor materialTint(UIBlurEffectStyle style) {
    switch (style) {
    case UIBlurEffectStyleExtraLight:
        return {0.97, 0.97, 0.97, 0.6};
    case UIBlurEffectStyleDark:
        return {0.07, 0.07, 0.08, 0.5};
    case UIBlurEffectStyleRegular:
        return {0.96, 0.96, 0.96, 0.24};
    case UIBlurEffectStyleProminent:
        return {0.98, 0.98, 0.98, 0.45};
    default: // light
        return {1, 1, 1, 0.32};
    }
}

} // namespace

void drawBackdropBlur(Canvas& canvas, CGRect rect, double radius, bool continuous, double sigma,
                      double alpha) {
    if (!canvas.surface || !(rect.size.width > 0) || !(rect.size.height > 0)) return;
    cairo_t* cr = canvas.cr;
    // Device pixels of the rectangle (the matrix is in the canvas's pixel space, also inside
    // groups, which keep the canvas's coordinates).
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    for (auto [ux, uy] : {std::pair{CGRectGetMinX(rect), CGRectGetMinY(rect)},
                          {CGRectGetMaxX(rect), CGRectGetMinY(rect)},
                          {CGRectGetMinX(rect), CGRectGetMaxY(rect)},
                          {CGRectGetMaxX(rect), CGRectGetMaxY(rect)}}) {
        cairo_matrix_transform_point(&m, &ux, &uy);
        x0 = std::min(x0, ux), x1 = std::max(x1, ux), y0 = std::min(y0, uy), y1 = std::max(y1, uy);
    }
    int width = cairo_image_surface_get_width(canvas.surface);
    int height = cairo_image_surface_get_height(canvas.surface);
    x0 = std::max(x0, 0.0), y0 = std::max(y0, 0.0);
    x1 = std::min(x1, double(width)), y1 = std::min(y1, double(height));
    if (!(x1 > x0) || !(y1 > y0)) return;
    PixelRect area{int(std::floor(x0)), int(std::floor(y0)), 0, 0};
    area.width = int(std::ceil(x1)) - area.x;
    area.height = int(std::ceil(y1)) - area.y;

    // A wide blur needs no full resolution: blur a copy shrunk so that the Gaussian stays
    // small, then draw it back enlarged with bilinear filtering.
    double pixelSigma = std::clamp(sigma * canvas.scale, 0.5, kMaxSigmaPixels);
    int factor = std::max(1, int(std::ceil(pixelSigma / kShrunkSigma)));
    double shrunkSigma = pixelSigma / factor;
    int spread = gaussianSpread(shrunkSigma);
    auto down = [factor](int v) { return v >= 0 ? v / factor : -((-v + factor - 1) / factor); };
    PixelRect small{down(area.x) - 1, down(area.y) - 1, 0, 0};
    small.width = down(area.right() + factor - 1) + 1 - small.x;
    small.height = down(area.bottom() + factor - 1) + 1 - small.y;
    PixelBuffer source = shrunkBackdrop(canvas, small.inset(-spread, -spread), factor);
    PixelBuffer blurred = PixelBuffer::make(small);
    if (!source.data || !blurred.data || !gaussianBlur(source.view(), shrunkSigma, blurred)) return;
    saturate(blurred, kMaterialSaturation);

    cairo_surface_t* pixels = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(blurred.data.get()), CAIRO_FORMAT_ARGB32, small.width,
        small.height, small.width * 4);
    cairo_save(cr);
    cairo_new_path(cr);
    addLayerShape(cr, rect, radius, continuous);
    cairo_clip(cr);
    cairo_identity_matrix(cr);
    cairo_scale(cr, factor, factor);
    cairo_set_source_surface(cr, pixels, small.x, small.y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint_with_alpha(cr, std::clamp(alpha, 0.0, 1.0));
    cairo_restore(cr);
    cairo_surface_destroy(pixels);
}

void drawMaterial(Canvas& canvas, NSInteger style, CGRect rect, double radius, bool continuous,
                  double alpha) {
    drawBackdropBlur(canvas, rect, radius, continuous, kMaterialSigma, alpha);
    cairo_t* cr = canvas.cr;
    cairo_new_path(cr);
    addLayerShape(cr, rect, radius, continuous);
    setSourceColor(cr, materialTint(style), alpha);
    cairo_fill(cr);
}

} // namespace render
