// Cross-dissolves: when a transition starts, the view's picture is kept (the snapshot hook);
// while it runs, the picture and the live content are mixed by the transition's progress.
#include "platform/uikit/uikit.h"
#include "sim/render/canvas.h"
#include "sim/render/render.h"

#include <algorithm>

namespace render {

namespace {

// The view as it looks now, in its bounds, without its own alpha and place.
Ref<NSObject> pictureOf(UIView* view) {
    if (!view) return nullptr;
    std::int64_t now = MainQueue::shared().nowNanos();
    double scale = UIScreen::mainScreen()->scale();
    CGRect bounds = view->presentationBounds(now);
    int w = pixelsFor(bounds.size.width, scale), h = pixelsFor(bounds.size.height, scale);
    // Nothing shows: the new content fades in from transparent.
    if (view->isHidden() || w <= 0 || h <= 0) w = h = 1;
    CGImageRef bitmap = drawBitmap(w, h, scale, now, [&](Canvas& canvas) {
        if (view->isHidden() || w == 1) return;
        cairo_translate(canvas.cr, -bounds.origin.x, -bounds.origin.y);
        drawViewBody(canvas, view, 1);
    });
    if (!bitmap) return nullptr;
    return UIImage::imageWithCGImage(bitmap, scale);
}

} // namespace

bool drawWithTransition(Canvas& canvas, UIView* view, CGRect bounds, double alpha) {
    const std::vector<UIViewTransition>& transitions = view->transitions();
    const UIViewTransition* running = nullptr;
    double progress = 1;
    for (auto it = transitions.rbegin(); it != transitions.rend(); ++it) {
        double p = it->progressAt(canvas.now);
        if (p < 1) {
            running = &*it;
            progress = std::clamp(p, 0.0, 1.0);
            break;
        }
    }
    auto* before = running ? cast<UIImage>(running->before.get()) : nullptr;
    if (!before) return false;

    cairo_t* cr = canvas.cr;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height);
    cairo_clip(cr);
    // old x (1 - p) + new x p, then the mix at the view's alpha.
    cairo_push_group(cr);
    drawImage(canvas, before, bounds, CGColor{}, 1 - progress);
    cairo_push_group(cr);
    drawViewLayer(canvas, view, bounds, 1);
    cairo_pop_group_to_source(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_paint_with_alpha(cr, progress);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, std::clamp(alpha, 0.0, 1.0));
    cairo_restore(cr);
    return true;
}

} // namespace render

void renderInstallTransitionSnapshots() {
    UIViewSetTransitionSnapshotHook(render::pictureOf);
}
