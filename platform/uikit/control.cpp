// Target-action for controls, and the button's per-state content.
#include "platform/uikit/control.h"

#include "platform/foundation/foundation.h"

#include <algorithm>

VEY_CLASS_IMPL(UIControl, UIView::cls(), [](Class) {})

VEY_CLASS_IMPL(UIButton, UIControl::cls(), [](Class k) {
    // +buttonWithType: makes an instance of the receiving class (subclasses included).
    rt_addMethod(
        k->isa, "buttonWithType:", +[](id self, SEL, long type) -> id {
            auto* cls = static_cast<Class>(static_cast<objc_class*>(self));
            Ref<UIButton> button = allocAs<UIButton>(cls);
            if (!button) return nullptr;
            send<id>(button.get(), "init");
            button->setButtonType(UIButtonType(type));
            return autorelease(button);
        });
})

void UIControl::addTarget(id target, SEL action, UIControlEvents events) {
    if (!action || !events) return;
    for (auto& a : actions_)
        if (a.target.get() == target && a.action == action) {
            a.events |= events;
            return;
        }
    actions_.push_back({Weak<NSObject>(target), target != nullptr, action, events});
}

void UIControl::sendActionsForControlEvents(UIControlEvents events) {
    Ref<UIControl> keep = this;
    std::vector<Action> matching;
    for (auto& a : actions_)
        if (a.events & events) matching.push_back(a);
    for (auto& a : matching) {
        id target = a.target.get();
        if (a.hasTarget && !target) continue; // the target is gone
        if (!a.hasTarget) {
            // Up the responder chain to the first object that answers the action.
            for (UIResponder* r = this; r; r = r->nextResponder())
                if (respondsToSelector(r, a.action)) {
                    target = r;
                    break;
                }
        }
        if (!target || !respondsToSelector(target, a.action)) continue;
        std::string_view name = sel_getName(a.action);
        if (name.find(':') == std::string_view::npos)
            send(target, a.action);
        else
            send(target, a.action, static_cast<id>(this));
    }
}

UIControlState UIControl::state() const {
    UIControlState s = UIControlStateNormal;
    if (highlighted_) s |= UIControlStateHighlighted;
    if (!enabled_) s |= UIControlStateDisabled;
    return s;
}

namespace {
template <class Map> auto lookup(const Map& map, UIControlState state) {
    auto it = map.find(state);
    if (it == map.end()) it = map.find(UIControlStateNormal);
    return it == map.end() ? nullptr : it->second.get();
}
} // namespace

void UIButton::setImage(UIImage* image, UIControlState state) {
    images_[state] = image;
    setNeedsDisplay();
}

UIImage* UIButton::imageForState(UIControlState state) const {
    return lookup(images_, state);
}

NSString* UIButton::titleForState(UIControlState state) const {
    return lookup(titles_, state);
}

UIColor* UIButton::titleColorForState(UIControlState state) const {
    return lookup(titleColors_, state);
}
