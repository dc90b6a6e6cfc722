// Fills, strokes, paths and images drawn through a CGContext's cairo_t.
#include "platform/graphics/composite.h"
#include "platform/graphics/context.h"
#include "platform/graphics/downscale.h"
#include "platform/graphics/image.h"
#include "platform/graphics/path.h"

#include <algorithm>

namespace {
void setSource(cairo_t* cr, const CGColor& c) {
    auto clamp = [](double v) { return std::clamp(v, 0.0, 1.0); };
    cairo_set_source_rgba(cr, clamp(c.r), clamp(c.g), clamp(c.b), clamp(c.a));
}

void releaseImage(void* data) {
    delete static_cast<CGImageRef*>(data);
}
cairo_user_data_key_t imageKey;

// A fill of `rect` reaches every pixel in full, so a uniform context stays uniform.
bool coversContext(CGContextRef c, CGRect rect) {
    PixelRect r;
    return c->uniform && c->alignedPixelRect(rect, &r) && r.x <= 0 && r.y <= 0 &&
           r.right() >= c->pixelWidth && r.bottom() >= c->pixelHeight;
}
} // namespace

cairo_operator_t cairoOperatorForBlendMode(CGBlendMode mode) {
    switch (mode) {
    case kCGBlendModeScreen:
        return CAIRO_OPERATOR_SCREEN;
    case kCGBlendModeMultiply:
        return CAIRO_OPERATOR_MULTIPLY;
    case kCGBlendModeCopy:
        return CAIRO_OPERATOR_SOURCE;
    default:
        return CAIRO_OPERATOR_OVER;
    }
}

void UIRectFill(CGRect rect) {
    // The platform fills with the copy blend mode.
    UIRectFillUsingBlendMode(rect, kCGBlendModeCopy);
}

namespace {

void fillRect(CGContextRef c, CGRect rect, CGBlendMode mode) {
    bool keepsUniform = c && coversContext(c, rect);
    // Copying over every pixel needs no initial clear first.
    if (keepsUniform && mode == kCGBlendModeCopy) c->pixelsForOverwrite();
    cairo_t* cr = c ? c->drawTarget() : nullptr;
    if (!cr) return;
    cairo_save(cr);
    cairo_set_operator(cr, cairoOperatorForBlendMode(mode));
    setSource(cr, c->state.fill);
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_fill(cr);
    cairo_restore(cr);
    c->uniform = keepsUniform;
}

} // namespace

void UIRectFillUsingBlendMode(CGRect rect, CGBlendMode mode) {
    fillRect(UIGraphicsGetCurrentContext(), rect, mode);
}

void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color) {
    if (c) c->state.fill = color ? *color : CGColor{};
}

void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color) {
    if (!c) return;
    if (color)
        c->state.stroke = *color;
    else
        c->state.stroke.reset();
}

void CGContextSetLineWidth(CGContextRef c, CGFloat width) {
    if (c) c->state.lineWidth = std::max(0.0, width);
}

void CGContextFillRect(CGContextRef c, CGRect rect) {
    fillRect(c, rect, kCGBlendModeNormal);
}

void CGContextAddPath(CGContextRef c, CGPathRef path) {
    cairo_t* cr = c ? c->drawTarget() : nullptr;
    if (!cr || !path) return;
    for (auto& e : path->elements) {
        const CGPoint* p = e.points;
        switch (e.type) {
        case CGPathElement::MoveTo:
            cairo_move_to(cr, p[0].x, p[0].y);
            break;
        case CGPathElement::LineTo:
            cairo_line_to(cr, p[0].x, p[0].y);
            break;
        case CGPathElement::CurveTo:
            cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
            break;
        case CGPathElement::Close:
            cairo_close_path(cr);
            break;
        }
    }
}

void CGContextStrokePath(CGContextRef c) {
    cairo_t* cr = c ? c->drawTarget() : nullptr;
    if (!cr) return;
    // Without a stroke colour (or with a zero width) the path is consumed and nothing drawn.
    if (!c->state.stroke || c->state.lineWidth <= 0) {
        cairo_new_path(cr);
        return;
    }
    setSource(cr, *c->state.stroke);
    cairo_set_line_width(cr, c->state.lineWidth);
    cairo_stroke(cr);
}

void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty) {
    if (cairo_t* cr = c ? c->drawTarget() : nullptr) cairo_translate(cr, tx, ty);
}

cairo_surface_t* CGImageCreateCairoSurface(const CGImageRef& image) {
    if (!image || image->width <= 0 || image->height <= 0) return nullptr;
    auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image->pixels()));
    cairo_surface_t* s = cairo_image_surface_create_for_data(
        data, image->opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, image->width, image->height,
        int(image->bytesPerRow()));
    cairo_surface_set_user_data(s, &imageKey, new CGImageRef(image), releaseImage);
    return s;
}

namespace {
void drawBitmap(cairo_t* cr, const CGImageRef& image, CGRect rect, cairo_operator_t op,
                double alpha) {
    if (!cr || !image || rect.size.width == 0 || rect.size.height == 0) return;
    cairo_surface_t* s = CGImageCreateCairoSurface(image);
    if (!s) return;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_translate(cr, rect.origin.x, rect.origin.y);
    double sx = rect.size.width / image->width, sy = rect.size.height / image->height;
    cairo_scale(cr, sx, sy);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(cr);
    // Edge pixels repeat up to the rect's edge instead of fading into transparency.
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    cairo_rectangle(cr, 0, 0, image->width, image->height);
    cairo_clip(cr);
    cairo_set_operator(cr, op);
    if (alpha >= 1)
        cairo_paint(cr);
    else
        cairo_paint_with_alpha(cr, std::max(0.0, alpha));
    cairo_restore(cr);
    cairo_surface_destroy(s);
}

// A one-colour bitmap is a fill; a bitmap landing pixel for pixel is composited directly.
void drawInContext(CGContextRef c, const CGImageRef& image, CGRect rect, CGBlendMode mode,
                   double alpha) {
    if (!c || !image) return;
    if (image->solid && c->isBitmap()) {
        std::uint32_t p = image->pixels()[0];
        double a = pixelAlpha(p) / 255.0;
        auto straight = [&](std::uint32_t v) { return a > 0 ? v / 255.0 / a : 0.0; };
        cairo_t* cr = c->drawTarget();
        cairo_save(cr);
        cairo_set_operator(cr, cairoOperatorForBlendMode(mode));
        setSource(cr, {straight(pixelRed(p)), straight(pixelGreen(p)), straight(pixelBlue(p)),
                       a * std::clamp(alpha, 0.0, 1.0)});
        cairo_new_path(cr);
        cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
        cairo_fill(cr);
        cairo_restore(cr);
        return;
    }
    PixelRect at;
    bool aligned = (mode == kCGBlendModeNormal || mode == kCGBlendModeScreen) &&
                   c->alignedPixelRect(rect, &at);
    // Much smaller than the bitmap, or smaller and large (Cairo's filter is slow over millions of
    // pixels): reduce by area averages, then composite pixel for pixel.
    constexpr std::size_t kLargeBitmap = std::size_t(4) << 20;
    bool smaller = at.width < image->width && at.height < image->height;
    bool muchSmaller = at.width * 2 <= image->width && at.height * 2 <= image->height;
    if (aligned && smaller && (muchSmaller || image->pixelCount() >= kLargeBitmap)) {
        if (CGImageRef reduced = CGImageDownscaleArea(*image, at.width, at.height)) {
            drawInContext(c, reduced, rect, mode, alpha);
            return;
        }
    }
    if (aligned && at.width == image->width && at.height == image->height) {
        std::optional<std::uint32_t> before = c->uniformValue();
        bool clear = before && *before == 0, black = before && *before == 0xff000000u;
        bool copies =
            alpha >= 1 && (clear || black || (mode == kCGBlendModeNormal && image->opaque));
        bool coversAll =
            at.x <= 0 && at.y <= 0 && at.right() >= c->pixelWidth && at.bottom() >= c->pixelHeight;
        // A copy over every pixel needs no initial clear first.
        std::uint32_t* pixels = copies && coversAll ? c->pixelsForOverwrite() : c->writablePixels();
        compositeAligned(pixels, c->pixelWidth, c->pixelHeight, *image, at,
                         mode == kCGBlendModeScreen, alpha, clear, black);
        return;
    }
    drawBitmap(c->drawTarget(), image, rect, cairoOperatorForBlendMode(mode), alpha);
}
} // namespace

void UIImageDrawInCairo(cairo_t* cr, const UIImage* image, CGRect rect, cairo_operator_t op,
                        double alpha) {
    if (image) drawBitmap(cr, image->CGImage(), rect, op, alpha);
}

void UIImage::drawAtPoint(CGPoint point) const {
    drawInRect({point, size()});
}

void UIImage::drawInRect(CGRect rect) const {
    drawInRect(rect, kCGBlendModeNormal, 1);
}

void UIImage::drawInRect(CGRect rect, CGBlendMode mode, CGFloat alpha) const {
    drawInContext(UIGraphicsGetCurrentContext(), CGImage(), rect, mode, alpha);
}
