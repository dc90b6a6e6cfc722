// Block animations: running the animations block, recording what it changed, scheduling the
// completion, and the presentation values derived from the records.
#include "platform/uikit/animation.h"

#include "platform/foundation/foundation.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/view.h"
#include "platform/uikit/weak.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<uikit::AnimationContext>& contexts() {
    static auto* stack = new std::vector<uikit::AnimationContext>();
    return *stack;
}

UIViewSnapshotHook& snapshotHook() {
    static auto* hook = new UIViewSnapshotHook();
    return *hook;
}

// Runs `block` inside `context` and reports whether it set any animatable property.
bool runInside(uikit::AnimationContext context, const UIView::Block& block) {
    contexts().push_back(context);
    if (block) block();
    bool recorded = contexts().back().recorded;
    contexts().pop_back();
    return recorded;
}

void completeAt(std::int64_t when, UIView::Completion completion) {
    if (!completion) return;
    MainQueue::shared().schedule(when, [completion = std::move(completion)] { completion(true); });
}

void animate(double duration, double delay, UIAnimationCurve curve, const UIView::Block& block,
             UIView::Completion completion) {
    auto& q = MainQueue::shared();
    std::int64_t length = secondsToNanos(duration);
    if (length <= 0) {
        // Zero duration: the changes are made without animation; the completion runs on the
        // next turn.
        runInside({q.nowNanos(), 0, curve, false, false}, block);
        completeAt(q.nowNanos(), std::move(completion));
        return;
    }
    std::int64_t begin = q.nowNanos() + secondsToNanos(delay);
    bool recorded = runInside({begin, length, curve, true, false}, block);
    // A block that animated nothing completes on the next turn, as on the platform.
    completeAt(recorded ? begin + length : q.nowNanos(), std::move(completion));
}

// Arithmetic on animated values, component by component.
double lerpAdd(double acc, double from, double to, double k) {
    return acc + (from - to) * k;
}
CGPoint lerpAdd(CGPoint acc, CGPoint from, CGPoint to, double k) {
    return {lerpAdd(acc.x, from.x, to.x, k), lerpAdd(acc.y, from.y, to.y, k)};
}
CGRect lerpAdd(CGRect acc, CGRect from, CGRect to, double k) {
    return {lerpAdd(acc.origin, from.origin, to.origin, k),
            {lerpAdd(acc.size.width, from.size.width, to.size.width, k),
             lerpAdd(acc.size.height, from.size.height, to.size.height, k)}};
}
CGAffineTransform lerpAdd(CGAffineTransform acc, CGAffineTransform from, CGAffineTransform to,
                          double k) {
    return {lerpAdd(acc.a, from.a, to.a, k),    lerpAdd(acc.b, from.b, to.b, k),
            lerpAdd(acc.c, from.c, to.c, k),    lerpAdd(acc.d, from.d, to.d, k),
            lerpAdd(acc.tx, from.tx, to.tx, k), lerpAdd(acc.ty, from.ty, to.ty, k)};
}
struct CGColor lerpAdd(struct CGColor acc, struct CGColor from, struct CGColor to, double k) {
    return {lerpAdd(acc.r, from.r, to.r, k), lerpAdd(acc.g, from.g, to.g, k),
            lerpAdd(acc.b, from.b, to.b, k), lerpAdd(acc.a, from.a, to.a, k)};
}

} // namespace

uikit::AnimationContext* uikit::currentAnimation() {
    auto& stack = contexts();
    if (stack.empty()) return nullptr;
    stack.back().recorded = true;
    return stack.back().animates ? &stack.back() : nullptr;
}

void UIViewSetTransitionSnapshotHook(UIViewSnapshotHook hook) {
    snapshotHook() = std::move(hook);
}

void UIView::recordAnimation(UIAnimatedProperty property, UIPropertyAnimation::Value from,
                             UIPropertyAnimation::Value to) {
    uikit::AnimationContext* context = uikit::currentAnimation();
    if (!context) return;
    std::int64_t now = MainQueue::shared().nowNanos();
    std::erase_if(animations_, [&](const UIPropertyAnimation& a) { return a.end() <= now; });
    animations_.push_back({property, std::move(from), std::move(to), context->begin,
                           context->duration, context->curve});
}

template <class V>
V UIView::presentation(UIAnimatedProperty property, V model, std::int64_t now) const {
    for (const UIPropertyAnimation& a : animations_) {
        if (a.property != property) continue;
        double p = a.progressAt(now);
        if (p >= 1) continue;
        model = lerpAdd(model, std::get<V>(a.from), std::get<V>(a.to), 1 - p);
    }
    return model;
}

double UIView::presentationAlpha(std::int64_t now) const {
    return std::clamp(presentation(UIAnimatedProperty::Alpha, alpha_, now), 0.0, 1.0);
}
CGAffineTransform UIView::presentationTransform(std::int64_t now) const {
    return presentation(UIAnimatedProperty::Transform, transform_, now);
}
CGPoint UIView::presentationCenter(std::int64_t now) const {
    return presentation(UIAnimatedProperty::Center, center_, now);
}
CGRect UIView::presentationBounds(std::int64_t now) const {
    return presentation(UIAnimatedProperty::Bounds, bounds_, now);
}
Ref<UIColor> UIView::presentationBackgroundColor(std::int64_t now) const {
    bool animating = std::any_of(animations_.begin(), animations_.end(), [&](auto& a) {
        return a.property == UIAnimatedProperty::BackgroundColor && a.progressAt(now) < 1;
    });
    if (!animating) return backgroundColor_;
    struct CGColor base = backgroundColor_ ? backgroundColor_->rgba() : CGColor{};
    struct CGColor c = presentation(UIAnimatedProperty::BackgroundColor, base, now);
    return UIColor::colorWithRed(c.r, c.g, c.b, c.a);
}

double UIView::presentationAlpha() const {
    return presentationAlpha(MainQueue::shared().nowNanos());
}
CGAffineTransform UIView::presentationTransform() const {
    return presentationTransform(MainQueue::shared().nowNanos());
}
CGPoint UIView::presentationCenter() const {
    return presentationCenter(MainQueue::shared().nowNanos());
}
CGRect UIView::presentationBounds() const {
    return presentationBounds(MainQueue::shared().nowNanos());
}
Ref<UIColor> UIView::presentationBackgroundColor() const {
    return presentationBackgroundColor(MainQueue::shared().nowNanos());
}
CGRect UIView::presentationFrame() const {
    std::int64_t now = MainQueue::shared().nowNanos();
    CGRect b = presentationBounds(now);
    CGPoint c = presentationCenter(now);
    CGRect r{{c.x - b.size.width / 2, c.y - b.size.height / 2}, b.size};
    return uikit::transformedFrame(r, presentationTransform(now));
}

bool UIView::hasRunningAnimations() const {
    std::int64_t now = MainQueue::shared().nowNanos();
    return std::any_of(animations_.begin(), animations_.end(),
                       [&](auto& a) { return a.end() > now; });
}

// ---------------------------------------------------------------------------------------------

void UIView::animateWithDuration(double duration, double delay, UIViewAnimationOptions options,
                                 Block animations, Completion completion) {
    animate(duration, delay, UIAnimationCurve::fromOptions(options), animations,
            std::move(completion));
}

void UIView::animateWithDuration(double duration, Block animations, Completion completion) {
    animateWithDuration(duration, 0, 0, std::move(animations), std::move(completion));
}

void UIView::animateWithSpring(double duration, double delay, double dampingRatio, double,
                               UIViewAnimationOptions, Block animations, Completion completion) {
    animate(duration, delay, UIAnimationCurve::spring(dampingRatio), animations,
            std::move(completion));
}

void UIView::transitionWithView(UIView* view, double duration, UIViewAnimationOptions options,
                                Block animations, Completion completion) {
    auto& q = MainQueue::shared();
    std::int64_t now = q.nowNanos();
    std::int64_t length = secondsToNanos(duration);
    if (view && length > 0) {
        Ref<UIView> keep = view;
        UIViewTransition t;
        t.view = view;
        t.before = snapshotHook() ? snapshotHook()(view) : nullptr;
        t.begin = now;
        t.duration = length;
        t.curve = UIAnimationCurve::fromOptions(options);
        t.options = options;
        std::erase_if(view->transitions_,
                      [&](const UIViewTransition& old) { return old.begin + old.duration <= now; });
        view->transitions_.push_back(std::move(t));
        // The old content (a copy of the drawable state) is let go as soon as it is shown no more.
        q.schedule(now + length, [weak = Weak<UIView>(view)] {
            if (!weak) return; // the view went first, and its records with it
            std::int64_t end = MainQueue::shared().nowNanos();
            std::erase_if(weak->transitions_, [&](const UIViewTransition& old) {
                return old.begin + old.duration <= end;
            });
        });
    }
    // The content changes are what the transition shows; they are not animated one by one.
    runInside({now, 0, {}, false, false}, animations);
    completeAt(length > 0 ? now + length : now, std::move(completion));
}
