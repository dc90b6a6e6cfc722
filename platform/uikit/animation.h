// Block animations on the main queue's virtual clock. Setting a property inside an animations
// block changes the model at once and records an animation of that property (from, to, begin,
// duration, curve); the presentation value at any time is derived from the records.
//
// Overlapping animations of one property are additive, as UIKit's are since iOS 8: each record
// contributes (from - to) x (1 - progress) on top of the model value, so a newer animation
// starts from wherever the older one has got to, the older one keeps running to its own end
// and its completion still runs with finished YES. Animations are not removed when a view
// leaves its window: they run to their end and complete as scheduled.
#pragma once

#include "platform/graphics/geometry.h"
#include "platform/runtime/runtime.h"
#include "platform/uikit/color.h"

#include <cstdint>
#include <functional>
#include <variant>

using UIViewAnimationOptions = NSUInteger;
constexpr UIViewAnimationOptions UIViewAnimationOptionLayoutSubviews = 1 << 0;
constexpr UIViewAnimationOptions UIViewAnimationOptionAllowUserInteraction = 1 << 1;
constexpr UIViewAnimationOptions UIViewAnimationOptionBeginFromCurrentState = 1 << 2;
constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseInOut = 0 << 16;
constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseIn = 1 << 16;
constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseOut = 2 << 16;
constexpr UIViewAnimationOptions UIViewAnimationOptionCurveLinear = 3 << 16;
constexpr UIViewAnimationOptions UIViewAnimationOptionTransitionNone = 0 << 20;
constexpr UIViewAnimationOptions UIViewAnimationOptionTransitionCrossDissolve = 5 << 20;

// The timing of one animation: a cubic Bezier curve or a spring.
struct UIAnimationCurve {
    enum class Kind { Bezier, Spring } kind = Kind::Bezier;
    // Bezier control points (the end points are (0,0) and (1,1)).
    double x1 = 0.42, y1 = 0, x2 = 0.58, y2 = 1;
    double damping = 1; // spring damping ratio

    static UIAnimationCurve fromOptions(UIViewAnimationOptions options);
    static UIAnimationCurve spring(double dampingRatio);
    // Progress (0 at the start, 1 at the end) at the fraction t of the duration, clamped to
    // 0...1 outside it. Springs with a damping ratio of 1 or more never pass 1.
    double progress(double t) const;
};

enum class UIAnimatedProperty { Alpha, Transform, Center, Bounds, BackgroundColor };

// One recorded animation of one property. `from` and `to` are the model values before and
// after the animations block; times are virtual nanoseconds.
struct UIPropertyAnimation {
    using Value = std::variant<double, CGAffineTransform, CGPoint, CGRect, struct CGColor>;
    UIAnimatedProperty property;
    Value from, to;
    std::int64_t begin = 0;    // start time plus delay
    std::int64_t duration = 0; // nanoseconds
    UIAnimationCurve curve;

    // Progress at `now`: 0 before the delay has passed, 1 from the end on.
    double progressAt(std::int64_t now) const;
    std::int64_t end() const { return begin + duration; }
};

class UIView;

// A content transition (cross-dissolve) recorded for the renderer: it mixes `before`, the
// snapshot taken just before the animations block ran, into the view's live content.
struct UIViewTransition {
    UIView* view = nullptr; // the view that holds this record
    Ref<NSObject> before;   // whatever the snapshot hook returned (nil without one)
    std::int64_t begin = 0;
    std::int64_t duration = 0;
    UIAnimationCurve curve;
    UIViewAnimationOptions options = 0;

    // Weight of the new content at `now`: 0 before the transition begins, 1 from its end.
    double progressAt(std::int64_t now) const;
};

// Takes a snapshot of a view's current content for a transition (set by the renderer).
using UIViewSnapshotHook = std::function<Ref<NSObject>(UIView*)>;
void UIViewSetTransitionSnapshotHook(UIViewSnapshotHook hook);
