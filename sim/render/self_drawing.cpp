// Views with a drawRect: of their own draw into a bitmap context at the device's scale. The
// picture is kept with the view and redrawn only when the view asks for it (setNeedsDisplay)
// or its size or the scale changes, so state changed without a redraw request stays unseen,
// as on the platform.
#include "platform/graphics/context.h"
#include "platform/uikit/uikit.h"
#include "sim/render/canvas.h"

namespace render {

namespace {

constexpr std::int64_t kMaxContentPixels = 25'000'000;
const char kContentKey = 0;

bool drawsItself(UIView* view) {
    static IMP plain = class_getMethodImplementation(UIView::cls(), sel("drawRect:"));
    return view->isa && class_getMethodImplementation(view->isa, sel("drawRect:")) != plain;
}

Ref<UIImage> redraw(UIView* view, double scale) {
    CGRect bounds = view->bounds();
    UIGraphicsBeginImageContextWithOptions(bounds.size, false, scale);
    if (CGContextRef c = UIGraphicsGetCurrentContext())
        CGContextTranslateCTM(c, -bounds.origin.x, -bounds.origin.y);
    view->setNeedsDisplay();
    view->displayIfNeeded();
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

} // namespace

Ref<UIImage> selfDrawnContent(UIView* view, double scale) {
    if (!drawsItself(view)) return nullptr;
    CGRect model = view->bounds();
    int w = pixelsFor(model.size.width, scale);
    int h = pixelsFor(model.size.height, scale);
    if (w <= 0 || h <= 0 || std::int64_t(w) * h > kMaxContentPixels) return nullptr;
    auto* kept = cast<UIImage>(objc_getAssociatedObject(view, &kContentKey));
    bool current = kept && !view->needsDisplay() && kept->scale() == scale &&
                   int(CGImageGetWidth(kept->CGImage())) == w &&
                   int(CGImageGetHeight(kept->CGImage())) == h;
    if (current) return kept;
    Ref<UIImage> image = redraw(view, scale);
    objc_setAssociatedObject(view, &kContentKey, image, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    return image;
}

} // namespace render
