#include "platform/uikit/gesture.h"

VEY_CLASS_IMPL(UIGestureRecognizer, NSObject::cls(), [](Class) {})
VEY_CLASS_IMPL(UISwipeGestureRecognizer, UIGestureRecognizer::cls(), [](Class) {})

void UIGestureRecognizer::addTarget(id target, SEL action) {
    if (!target || !action) return;
    targets_.push_back({Weak<NSObject>(target), action});
}

void UIGestureRecognizer::fire() {
    if (!enabled_ || !view_) return;
    Ref<UIGestureRecognizer> keep = this;
    state_ = UIGestureRecognizerStateEnded;
    std::vector<Target> targets = targets_;
    for (auto& t : targets) {
        id target = t.target.get();
        if (!target || !respondsToSelector(target, t.action)) continue;
        std::string_view name = sel_getName(t.action);
        if (name.find(':') == std::string_view::npos)
            send(target, t.action);
        else
            send(target, t.action, static_cast<id>(this));
    }
    state_ = UIGestureRecognizerStatePossible;
}

bool UISwipeGestureRecognizer::deliverSwipe(UIView* view,
                                            UISwipeGestureRecognizerDirection direction) {
    for (UIView* v = view; v; v = v->superview()) {
        for (auto& g : v->gestureRecognizers()) {
            auto* swipe = cast<UISwipeGestureRecognizer>(g.get());
            if (!swipe || !swipe->isEnabled() || !(swipe->direction() & direction)) continue;
            Ref<UIGestureRecognizer> keep = swipe;
            swipe->fire();
            return true;
        }
    }
    return false;
}
