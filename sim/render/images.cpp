// Image views and buttons: bitmaps placed by content mode and filtered for their scale,
// template images as masks in the tint colour, symbols as vector shapes.
#include "platform/graphics/context.h"
#include "platform/uikit/uikit.h"
#include "sim/render/canvas.h"
#include "sim/render/symbols.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

CGSize naturalSize(const UIImage* image) {
    return image->isSymbolImage() ? symbolNaturalSize(image) : image->size();
}

// Where the content of `size` goes in `bounds` for the view's content mode.
CGRect placeContent(CGSize size, CGRect bounds, UIViewContentMode mode) {
    double bw = bounds.size.width, bh = bounds.size.height;
    double cw = size.width, ch = size.height;
    if (!(cw > 0) || !(ch > 0)) return bounds;
    double x0 = bounds.origin.x, y0 = bounds.origin.y;
    auto centred = [&](double w, double h) {
        return CGRectMake(x0 + (bw - w) / 2, y0 + (bh - h) / 2, w, h);
    };
    switch (mode) {
    case UIViewContentModeScaleAspectFit: {
        double s = std::min(bw / cw, bh / ch);
        return centred(cw * s, ch * s);
    }
    case UIViewContentModeScaleAspectFill: {
        double s = std::max(bw / cw, bh / ch);
        return centred(cw * s, ch * s);
    }
    case UIViewContentModeCenter:
        return centred(cw, ch);
    case 5: // top
        return CGRectMake(x0 + (bw - cw) / 2, y0, cw, ch);
    case 6: // bottom
        return CGRectMake(x0 + (bw - cw) / 2, y0 + bh - ch, cw, ch);
    case 7: // left
        return CGRectMake(x0, y0 + (bh - ch) / 2, cw, ch);
    case 8: // right
        return CGRectMake(x0 + bw - cw, y0 + (bh - ch) / 2, cw, ch);
    case 9: // top left
        return CGRectMake(x0, y0, cw, ch);
    case 10: // top right
        return CGRectMake(x0 + bw - cw, y0, cw, ch);
    case 11: // bottom left
        return CGRectMake(x0, y0 + bh - ch, cw, ch);
    case 12: // bottom right
        return CGRectMake(x0 + bw - cw, y0 + bh - ch, cw, ch);
    default: // scale to fill, redraw
        return bounds;
    }
}

void drawBitmap(cairo_t* cr, const UIImage* image, CGRect rect, const CGColor* tint, double alpha,
                bool quick) {
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
    cairo_pattern_set_filter(pattern, quick ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_GOOD);

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
    drawBitmap(canvas.cr, image, rect, image->isTemplate() ? &tint : nullptr, alpha,
               canvas.quickImages);
}

void drawImageViewContent(Canvas& canvas, UIView* view, UIImage* image, CGRect bounds,
                          double alpha) {
    if (!image) return;
    CGRect rect = placeContent(naturalSize(image), bounds, view->contentMode());
    drawImage(canvas, image, rect, view->tintColor()->rgba(), alpha);
}

void drawButtonContent(Canvas& canvas, UIButton* button, CGRect bounds, double alpha) {
    UIImage* image = button->currentImage();
    double titleWidth = buttonTitleWidth(button);
    if (!image) {
        if (titleWidth > 0) drawButtonTitle(canvas, button, bounds, alpha);
        return;
    }
    // The image at its own size (smaller when it does not fit), beside the title, both
    // centred as a group.
    CGSize size = naturalSize(image);
    double room = std::max(0.0, bounds.size.width - titleWidth);
    double s = std::min({1.0, room / size.width, bounds.size.height / size.height});
    if (!(s > 0)) s = 0;
    double w = size.width * s, h = size.height * s;
    double x = bounds.origin.x + (bounds.size.width - w - titleWidth) / 2;
    double y = bounds.origin.y + (bounds.size.height - h) / 2;
    drawImage(canvas, image, CGRectMake(x, y, w, h), button->tintColor()->rgba(), alpha);
    if (titleWidth > 0)
        drawButtonTitle(canvas, button,
                        CGRectMake(x + w, bounds.origin.y, titleWidth, bounds.size.height), alpha);
}

} // namespace render
