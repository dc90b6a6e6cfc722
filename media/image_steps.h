// The image steps the artwork code shares: drawing into a new image, the two blurs, rendering a
// filter result, cross-dissolves and delays on the main queue.
#pragma once

#include "platform/foundation/foundation.h"
#include "platform/graphics/graphics.h"
#include "platform/uikit/uikit.h"

#include <functional>

// A new image of `size` points at `scale` (0: the main screen's), with what `draw` puts into the
// current context.
Ref<UIImage> drawnImage(CGSize size, bool opaque, CGFloat scale,
                        const std::function<void(CGContextRef context)>& draw);

// The Gaussian blur, then the motion blur at 30 degrees, both of `radius`; the result keeps the
// margin the blurs spread. Nil for a nil input.
Ref<CIImage> gaussianThenMotionBlur(CIImage* input, double radius);

// `image` rendered by `context` over its whole extent, as an image of `scale`; nil when nothing
// could be rendered.
Ref<UIImage> renderedImage(CIContext* context, CIImage* image, CGFloat scale = 1);

// A cross-dissolve of `view` to what `change` does to it; the view is kept for the block.
template <class View, class Change> void crossDissolve(View* view, double duration, Change change) {
    Ref<View> keep = view;
    UIView::transitionWithView(view, duration, UIViewAnimationOptionTransitionCrossDissolve,
                               [keep, change] { change(keep.get()); });
}

// Runs `work` on the main queue `seconds` from now.
void afterDelay(double seconds, std::function<void()> work);
