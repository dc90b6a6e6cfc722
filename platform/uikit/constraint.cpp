// Anchors and constraints: creation, activation and the registry of active constraints that
// layout passes solve (layout.cpp).
#include "platform/uikit/constraint.h"

#include "platform/uikit/internal.h"
#include "platform/uikit/view.h"

#include <algorithm>

namespace {

struct Registry {
    std::vector<NSLayoutConstraint*> active; // each holds a reference while active
    std::uint64_t nextOrder = 1;
};
Registry& registry() {
    static auto* r = new Registry();
    return *r;
}

} // namespace

VEY_CLASS_IMPL(NSLayoutAnchor, NSObject::cls(), [](Class) {})
VEY_CLASS_IMPL(NSLayoutXAxisAnchor, NSLayoutAnchor::cls(), [](Class) {})
VEY_CLASS_IMPL(NSLayoutYAxisAnchor, NSLayoutAnchor::cls(), [](Class) {})
VEY_CLASS_IMPL(NSLayoutDimension, NSLayoutAnchor::cls(), [](Class) {})
VEY_CLASS_IMPL(NSLayoutConstraint, NSObject::cls(), [](Class) {})

Ref<NSLayoutConstraint> NSLayoutAnchor::constraintEqualToAnchor(NSLayoutAnchor* anchor,
                                                                double constant) {
    if (!anchor)
        return NSLayoutConstraint::make(view_, attribute_, nullptr, NSLayoutAttributeNotAnAttribute,
                                        1, constant);
    return NSLayoutConstraint::make(view_, attribute_, anchor->view_, anchor->attribute_, 1,
                                    constant);
}

Ref<NSLayoutConstraint> NSLayoutDimension::constraintEqualToConstant(double constant) {
    return NSLayoutConstraint::make(view_, attribute_, nullptr, NSLayoutAttributeNotAnAttribute, 1,
                                    constant);
}

Ref<NSLayoutConstraint> NSLayoutDimension::constraintEqualToAnchor(NSLayoutAnchor* anchor,
                                                                   double multiplier,
                                                                   double constant) {
    return NSLayoutConstraint::make(view_, attribute_, anchor ? anchor->item() : nullptr,
                                    anchor ? anchor->attribute() : NSLayoutAttributeNotAnAttribute,
                                    multiplier, constant);
}

Ref<NSLayoutConstraint> NSLayoutConstraint::make(UIView* first, NSLayoutAttribute firstAttribute,
                                                 UIView* second, NSLayoutAttribute secondAttribute,
                                                 double multiplier, double constant) {
    auto c = alloc<NSLayoutConstraint>();
    c->first_ = first;
    c->firstAttribute_ = firstAttribute;
    c->second_ = second;
    c->secondAttribute_ = second ? secondAttribute : NSLayoutAttributeNotAnAttribute;
    c->multiplier_ = multiplier;
    c->constant_ = constant;
    return c;
}

NSLayoutConstraint::~NSLayoutConstraint() = default;

const std::vector<NSLayoutConstraint*>& NSLayoutConstraint::activeConstraints() {
    return registry().active;
}

void NSLayoutConstraint::markLayout() const {
    for (UIView* v : {first_, second_}) {
        if (!v) continue;
        uikit::registerNeedsLayout(v->superview() ? v->superview() : v);
        uikit::noteGeometryChange(v);
    }
}

void NSLayoutConstraint::setActive(bool active) {
    if (active == active_) return;
    auto& r = registry();
    if (active) {
        // A constraint without a first view has nothing to place.
        if (!first_) return;
        active_ = true;
        order_ = r.nextOrder++;
        retain();
        r.active.push_back(this);
        markLayout();
    } else {
        active_ = false;
        auto it = std::find(r.active.begin(), r.active.end(), this);
        if (it != r.active.end()) r.active.erase(it);
        markLayout();
        release();
    }
}

void NSLayoutConstraint::setConstant(double constant) {
    if (constant == constant_) return;
    constant_ = constant;
    if (active_) markLayout();
}
