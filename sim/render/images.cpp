// Images: bitmaps filtered for their scale, template images as masks in the tint colour,
// symbols as vector shapes.
#include "platform/graphics/context.h"
#include "sim/render/canvas.h"
#include "sim/render/symbols.h"

namespace render {

namespace {

void drawBitmap(cairo_t* cr, const UIImage* image, CGRect rect, const CGColor* tint, double alpha) {
    const CGImageRef& bitmap = image->CGImage();
    cairo_surface_t* surface = CGImageCreateCairoSurface(bitmap);
    if (!surface) return;
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, bitmap->width / rect.size.width, bitmap->height / rect.size.height);
    cairo_matrix_translate(&m, -rect.origin.x, -rect.origin.y);
    cairo_pattern_set_matrix(pattern, &m);
    // Edge pixels reach the rectangle's edge instead of fading out; GOOD filters properly when
    // an image is drawn much smaller than its pixels.
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);

    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    if (tint) {
        cairo_clip(cr);
        setSourceColor(cr, *tint, alpha);
        cairo_mask(cr, pattern);
    } else if (alpha >= 1) {
        cairo_set_source(cr, pattern);
        cairo_fill(cr);
    } else {
        cairo_clip(cr);
        cairo_set_source(cr, pattern);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(surface);
}

} // namespace

void drawImage(Canvas& canvas, const UIImage* image, CGRect rect, const CGColor& tint,
               double alpha) {
    if (!image || !(rect.size.width > 0) || !(rect.size.height > 0)) return;
    if (image->isSymbolImage()) {
        // Symbols take the tint unless asked to keep their own (black) colour.
        bool original = image->renderingMode() == UIImageRenderingModeAlwaysOriginal;
        drawSymbol(canvas.cr, image, rect, original ? CGColor{0, 0, 0, 1} : tint, alpha);
        return;
    }
    if (!image->CGImage()) return;
    drawBitmap(canvas.cr, image, rect, image->isTemplate() ? &tint : nullptr, alpha);
}

} // namespace render
