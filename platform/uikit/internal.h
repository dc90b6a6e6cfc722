// Plumbing shared by the uikit sources; not part of the public header.
#pragma once

#include "platform/uikit/animation.h"
#include "platform/uikit/view.h"

#include <cstdint>

namespace uikit {

// The innermost animations block being run, or nil outside one (and inside a transition's
// block, where changes are not animated).
struct AnimationContext {
    std::int64_t begin = 0;
    std::int64_t duration = 0;
    UIAnimationCurve curve;
    bool animates = true;
    bool recorded = false; // some property was set inside the block
};
AnimationContext* currentAnimation();

// Layout bookkeeping (layout.cpp).
void registerNeedsLayout(UIView* view);
// A view's centre or bounds changed: the Auto Layout solution of its tree may have moved.
void noteGeometryChange(UIView* view);
std::uint64_t currentLayoutPass();
// Solves Auto Layout for the tree under `root`: stores each constrained view's frame and marks
// the superviews of views whose frame changed (autolayout.cpp).
void solveTree(UIView* root, std::uint64_t pass);
// Equal up to rounding noise.
bool nearlyEqual(CGRect a, CGRect b);

// The view's rectangle ignoring its transform, in its superview's coordinates.
CGRect untransformedFrame(const UIView* view);
// The frame a view with `transform` shows when its untransformed rectangle is `rect`.
CGRect transformedFrame(CGRect rect, CGAffineTransform transform);

} // namespace uikit
