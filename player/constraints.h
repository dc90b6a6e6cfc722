// Small helpers for placing the player's views: every constraint is activated as it is made,
// and every view that receives one stops translating its autoresizing mask.
#pragma once

#include "platform/uikit/uikit.h"

namespace player {

// Ready `view` for constraints.
inline void useConstraints(UIView* view) {
    if (view) view->setTranslatesAutoresizingMaskIntoConstraints(NO);
}

// anchor = other + constant, active at once.
inline void constrain(NSLayoutAnchor* anchor, NSLayoutAnchor* other, double constant = 0) {
    if (anchor && other) anchor->constraintEqualToAnchor(other, constant)->setActive(YES);
}

// dimension = constant, active at once.
inline void constrainSize(NSLayoutDimension* dimension, double constant) {
    if (dimension) dimension->constraintEqualToConstant(constant)->setActive(YES);
}

// Width and height both = side.
inline void constrainSquare(UIView* view, double side) {
    if (!view) return;
    constrainSize(view->widthAnchor(), side);
    constrainSize(view->heightAnchor(), side);
}

// Centre `view` on `on`.
inline void centreOn(UIView* view, UIView* on) {
    if (!view || !on) return;
    constrain(view->centerXAnchor(), on->centerXAnchor());
    constrain(view->centerYAnchor(), on->centerYAnchor());
}

// A touch up inside `control` sends `action` to `target`.
inline void onTap(UIControl* control, id target, const char* action) {
    if (control) control->addTarget(target, action, UIControlEventTouchUpInside);
}

} // namespace player
