// Walking the view tree back to front: presentation geometry, alpha, clipping, background,
// content, subviews and border, as the layer tree composites them.
#include "platform/uikit/uikit.h"
#include "sim/render/canvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace render {

namespace {

// Below this a view cannot change a pixel by more than half a step.
constexpr double kInvisible = 1.0 / 512;

void fillLayerBackground(Canvas& canvas, const CGColor& color, CGRect bounds, double radius,
                         bool continuous, double alpha) {
    if (color.a * alpha <= 0) return;
    cairo_t* cr = canvas.cr;
    cairo_new_path(cr);
    addLayerShape(cr, bounds, radius, continuous);
    setSourceColor(cr, color, alpha);
    cairo_fill(cr);
}

// The border lies inside the bounds and follows the corners, above content and subviews.
void strokeLayerBorder(Canvas& canvas, const CALayer* layer, CGRect bounds, double radius,
                       bool continuous, double alpha) {
    double width = layer->borderWidth();
    if (!(width > 0) || !std::isfinite(width)) return;
    CGColor color = layer->borderColor() ? *layer->borderColor() : CGColor{0, 0, 0, 1};
    if (color.a * alpha <= 0) return;
    double w = std::fabs(bounds.size.width), h = std::fabs(bounds.size.height);
    width = std::min(width, std::min(w, h) / 2);
    cairo_t* cr = canvas.cr;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    addLayerShape(cr, bounds, radius, continuous);
    CGRect inner = CGRectMake(CGRectGetMinX(bounds) + width, CGRectGetMinY(bounds) + width,
                              w - 2 * width, h - 2 * width);
    if (inner.size.width > 0 && inner.size.height > 0)
        addLayerShape(cr, inner, std::max(0.0, radius - width), continuous);
    setSourceColor(cr, color, alpha);
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace

void drawViewLayer(Canvas& canvas, UIView* view, CGRect bounds, double alpha) {
    cairo_t* cr = canvas.cr;
    CALayer* layer = view->layer();
    double radius = layer ? layer->cornerRadius() : 0;
    if (!std::isfinite(radius) || radius < 0) radius = 0;
    bool continuous = layer && layer->cornerCurve() == kCACornerCurveContinuous;

    if (auto* effect = cast<UIVisualEffectView>(view))
        drawEffectView(canvas, effect, bounds, alpha);
    if (!drawStockBackground(canvas, view, bounds, alpha)) {
        if (Ref<UIColor> background = view->presentationBackgroundColor(canvas.now))
            fillLayerBackground(canvas, background->rgba(), bounds, radius, continuous, alpha);
    }

    bool clips = layer && layer->masksToBounds();
    if (clips) {
        cairo_save(cr);
        cairo_new_path(cr);
        addLayerShape(cr, bounds, radius, continuous);
        cairo_clip(cr);
        double x0, y0, x1, y1;
        cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
        if (x1 <= x0 || y1 <= y0) {
            cairo_restore(cr);
            if (layer) strokeLayerBorder(canvas, layer, bounds, radius, continuous, alpha);
            return;
        }
    }

    drawSelfDrawnContent(canvas, view, bounds, alpha);
    if (auto* imageView = cast<UIImageView>(view))
        drawImageViewContent(canvas, imageView, imageView->image(), bounds, alpha);
    else if (auto* label = cast<UILabel>(view))
        drawLabelContent(canvas, label, bounds, alpha);
    else if (auto* button = cast<UIButton>(view))
        drawButtonContent(canvas, button, bounds, alpha);

    // A copy: drawing runs drawRect: implementations, which may change the tree.
    std::vector<Ref<UIView>> subviews = view->subviews();
    for (const Ref<UIView>& sub : subviews)
        drawView(canvas, sub, alpha);

    if (clips) cairo_restore(cr);
    if (layer) strokeLayerBorder(canvas, layer, bounds, radius, continuous, alpha);
}

void drawViewBody(Canvas& canvas, UIView* view, double alpha) {
    CGRect bounds = view->presentationBounds(canvas.now);
    if (!std::isfinite(bounds.origin.x) || !std::isfinite(bounds.origin.y) ||
        !std::isfinite(bounds.size.width) || !std::isfinite(bounds.size.height))
        return;
    if (drawWithTransition(canvas, view, bounds, alpha)) return;
    drawViewLayer(canvas, view, bounds, alpha);
}

void drawView(Canvas& canvas, UIView* view, double parentAlpha) {
    if (!view || view->isHidden()) return;
    double alpha = parentAlpha * view->presentationAlpha(canvas.now);
    if (!(alpha >= kInvisible)) return;
    CGPoint center = view->presentationCenter(canvas.now);
    CGRect bounds = view->presentationBounds(canvas.now);
    CGAffineTransform t = view->presentationTransform(canvas.now);

    // Bounds space -> superview: about the bounds' centre (the anchor point), through the
    // transform, to the view's centre.
    cairo_matrix_t m, step;
    cairo_matrix_init_translate(&m, -CGRectGetMidX(bounds), -CGRectGetMidY(bounds));
    cairo_matrix_init(&step, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_matrix_multiply(&m, &m, &step);
    cairo_matrix_init_translate(&step, center.x, center.y);
    cairo_matrix_multiply(&m, &m, &step);
    cairo_t* cr = canvas.cr;
    cairo_matrix_t parent;
    cairo_get_matrix(cr, &parent);
    cairo_matrix_multiply(&m, &m, &parent);
    // A collapsed transform (a scale of 0) shows nothing; Cairo would refuse it.
    if (!usableMatrix(m)) return;

    cairo_save(cr);
    cairo_set_matrix(cr, &m);
    drawViewBody(canvas, view, alpha);
    cairo_restore(cr);
}

} // namespace render
