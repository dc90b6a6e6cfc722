// Drawing a recorded tree back to front: placement, alpha (a view with subviews and alpha below
// 1 as one group, as the layer tree composites it), clipping, background, content, subviews and
// border, and cross-dissolves mixing the old content into the new.
#include "sim/render/canvas.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

void fillLayerBackground(Canvas& canvas, const DisplayNode& node, double alpha) {
    if (!node.background || node.background->a * alpha <= 0) return;
    cairo_t* cr = canvas.cr;
    cairo_new_path(cr);
    addLayerShape(cr, node.bounds, node.cornerRadius, node.continuousCorners);
    setSourceColor(cr, *node.background, alpha);
    cairo_fill(cr);
}

// The border lies inside the bounds and follows the corners, above content and subviews.
void strokeLayerBorder(Canvas& canvas, const DisplayNode& node, double alpha) {
    double width = node.borderWidth;
    if (!(width > 0) || !std::isfinite(width) || node.borderColor.a * alpha <= 0) return;
    CGRect bounds = node.bounds;
    double radius = node.cornerRadius;
    double w = std::fabs(bounds.size.width), h = std::fabs(bounds.size.height);
    width = std::min(width, std::min(w, h) / 2);
    cairo_t* cr = canvas.cr;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    addLayerShape(cr, bounds, radius, node.continuousCorners);
    CGRect inner = CGRectMake(CGRectGetMinX(bounds) + width, CGRectGetMinY(bounds) + width,
                              w - 2 * width, h - 2 * width);
    if (inner.size.width > 0 && inner.size.height > 0)
        addLayerShape(cr, inner, std::max(0.0, radius - width), node.continuousCorners);
    setSourceColor(cr, node.borderColor, alpha);
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawBackground(Canvas& canvas, const DisplayNode& node, double alpha) {
    switch (node.backdrop) {
    case Backdrop::Wallpaper:
        drawWallpaper(canvas, node.bounds, alpha);
        return;
    case Backdrop::Material:
        drawMaterial(canvas, node.materialStyle, node.bounds, node.cornerRadius,
                     node.continuousCorners, alpha);
        break;
    case Backdrop::Card:
        drawCardBlur(canvas, node.bounds, node.cornerRadius, node.continuousCorners, alpha);
        break;
    case Backdrop::None:
        break;
    }
    fillLayerBackground(canvas, node, alpha);
}

// The layer itself (background, content, subviews, border), without its transition.
void drawLayer(Canvas& canvas, const DisplayNode& node, double alpha) {
    cairo_t* cr = canvas.cr;
    drawBackground(canvas, node, alpha);
    if (node.clips) {
        cairo_save(cr);
        cairo_new_path(cr);
        addLayerShape(cr, node.bounds, node.cornerRadius, node.continuousCorners);
        cairo_clip(cr);
        double x0, y0, x1, y1;
        cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
        if (x1 <= x0 || y1 <= y0) {
            cairo_restore(cr);
            strokeLayerBorder(canvas, node, alpha);
            return;
        }
    }
    for (const ImageItem& image : node.images)
        drawImage(canvas, image.image, image.rect, image.tint, alpha);
    for (const TextItem& text : node.texts)
        drawText(canvas, text, alpha);
    // Only a layer without subviews is drawn at an alpha below 1 (drawBody groups the others).
    for (const DisplayNode& child : node.children)
        drawPlaced(canvas, child);
    if (node.clips) cairo_restore(cr);
    strokeLayerBorder(canvas, node, alpha);
}

// The old content x (1 - p) plus the new x p, clipped to the bounds, then the mix at `alpha`.
// The old content is stretched to the bounds it has now.
void drawTransition(Canvas& canvas, const DisplayNode& node, double alpha) {
    const DisplayNode& before = *node.before;
    CGRect b = node.bounds, old = before.bounds;
    cairo_t* cr = canvas.cr;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, b.origin.x, b.origin.y, b.size.width, b.size.height);
    cairo_clip(cr);
    // The mix itself is no backdrop: each side sees only what lies behind the view.
    pushGroup(canvas, false);
    cairo_t* mix = canvas.cr;
    if (old.size.width > 0 && old.size.height > 0 && node.progress < 1) {
        cairo_save(mix);
        cairo_translate(mix, b.origin.x, b.origin.y);
        cairo_scale(mix, b.size.width / old.size.width, b.size.height / old.size.height);
        cairo_translate(mix, -old.origin.x, -old.origin.y);
        cairo_matrix_t m;
        cairo_get_matrix(mix, &m);
        if (usableMatrix(m)) {
            pushGroup(canvas, true);
            drawBody(canvas, before, 1);
            popGroupToSource(canvas);
            cairo_paint_with_alpha(mix, 1 - node.progress);
        }
        cairo_restore(mix);
    }
    pushGroup(canvas, true);
    drawLayer(canvas, node, 1);
    popGroupToSource(canvas);
    cairo_set_operator(mix, CAIRO_OPERATOR_ADD);
    cairo_paint_with_alpha(mix, node.progress);
    popGroupToSource(canvas);
    cairo_paint_with_alpha(cr, std::clamp(alpha, 0.0, 1.0));
    cairo_restore(cr);
}

cairo_matrix_t placement(const DisplayNode& node) {
    // Bounds space -> superview: about the bounds' centre (the anchor point), through the
    // transform, to the view's centre.
    CGRect bounds = node.bounds;
    CGAffineTransform t = node.transform;
    cairo_matrix_t m, step;
    cairo_matrix_init_translate(&m, -CGRectGetMidX(bounds), -CGRectGetMidY(bounds));
    cairo_matrix_init(&step, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_matrix_multiply(&m, &m, &step);
    cairo_matrix_init_translate(&step, node.center.x, node.center.y);
    cairo_matrix_multiply(&m, &m, &step);
    return m;
}

CGRect unite(CGRect a, CGRect b) {
    double x0 = std::min(CGRectGetMinX(a), CGRectGetMinX(b));
    double y0 = std::min(CGRectGetMinY(a), CGRectGetMinY(b));
    double x1 = std::max(CGRectGetMaxX(a), CGRectGetMaxX(b));
    double y1 = std::max(CGRectGetMaxY(a), CGRectGetMaxY(b));
    return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

// Where a body can put paint, in its bounds space (generously: text may reach a line above and
// below its box, strokes a little past their shapes).
CGRect inkExtents(const DisplayNode& node) {
    CGRect ink = node.bounds;
    if (!node.clips) {
        for (const ImageItem& image : node.images)
            ink = unite(ink, image.rect);
        for (const TextItem& text : node.texts)
            ink = unite(ink, CGRectInset(text.rect, 0, -std::fabs(text.style.size)));
        for (const DisplayNode& child : node.children) {
            CGRect c = inkExtents(child);
            cairo_matrix_t m = placement(child);
            double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
            for (double x : {CGRectGetMinX(c), CGRectGetMaxX(c)})
                for (double y : {CGRectGetMinY(c), CGRectGetMaxY(c)}) {
                    double px = x, py = y;
                    cairo_matrix_transform_point(&m, &px, &py);
                    x0 = std::min(x0, px), x1 = std::max(x1, px);
                    y0 = std::min(y0, py), y1 = std::max(y1, py);
                }
            ink = unite(ink, CGRectMake(x0, y0, x1 - x0, y1 - y0));
        }
    }
    return CGRectInset(ink, -2, -2);
}

} // namespace

void drawBody(Canvas& canvas, const DisplayNode& node, double alpha) {
    if (node.before) {
        drawTransition(canvas, node, alpha);
    } else if (alpha < 1 && !node.children.empty()) {
        // The group's surface needs to cover only what the view can paint.
        CGRect ink = inkExtents(node);
        cairo_save(canvas.cr);
        if (std::isfinite(ink.origin.x) && std::isfinite(ink.origin.y) &&
            std::isfinite(ink.size.width) && std::isfinite(ink.size.height)) {
            cairo_new_path(canvas.cr);
            cairo_rectangle(canvas.cr, ink.origin.x, ink.origin.y, ink.size.width, ink.size.height);
            cairo_clip(canvas.cr);
        }
        pushGroup(canvas, true);
        drawLayer(canvas, node, 1);
        popGroupToSource(canvas);
        cairo_paint_with_alpha(canvas.cr, std::max(alpha, 0.0));
        cairo_restore(canvas.cr);
    } else {
        drawLayer(canvas, node, alpha);
    }
}

void drawPlaced(Canvas& canvas, const DisplayNode& node) {
    cairo_matrix_t m = placement(node);
    cairo_t* cr = canvas.cr;
    cairo_matrix_t parent;
    cairo_get_matrix(cr, &parent);
    cairo_matrix_multiply(&m, &m, &parent);
    // A collapsed transform (a scale of 0) shows nothing; Cairo would refuse it.
    if (!usableMatrix(m)) return;

    cairo_save(cr);
    cairo_set_matrix(cr, &m);
    drawBody(canvas, node, node.alpha);
    cairo_restore(cr);
}

} // namespace render
