// UIView's coordinates: converting points between views, and the view's layout anchors.
#include "platform/uikit/constraint.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/view.h"

#include <vector>

namespace {

// From `view`'s bounds space into its superview's space.
CGPoint toSuperview(const UIView* view, CGPoint p) {
    CGRect b = view->bounds();
    CGPoint local{p.x - b.origin.x - b.size.width / 2, p.y - b.origin.y - b.size.height / 2};
    CGPoint t = CGPointApplyAffineTransform(local, view->transform());
    return {t.x + view->center().x, t.y + view->center().y};
}

CGPoint fromSuperview(const UIView* view, CGPoint p) {
    CGAffineTransform t = view->transform();
    double det = t.a * t.d - t.b * t.c;
    CGPoint q{p.x - view->center().x - t.tx, p.y - view->center().y - t.ty};
    CGPoint local = q;
    if (det != 0) local = {(t.d * q.x - t.c * q.y) / det, (-t.b * q.x + t.a * q.y) / det};
    CGRect b = view->bounds();
    return {local.x + b.origin.x + b.size.width / 2, local.y + b.origin.y + b.size.height / 2};
}

} // namespace

CGPoint UIView::convertPointToView(CGPoint point, const UIView* view) const {
    // Up to the root, then down to `view` (nil means the root: the window's space).
    const UIView* v = this;
    for (; v->superview_ && v != view; v = v->superview_)
        point = toSuperview(v, point);
    if (!view || v == view) return point;
    std::vector<const UIView*> down;
    for (const UIView* w = view; w && w != v; w = w->superview_)
        down.push_back(w);
    for (auto it = down.rbegin(); it != down.rend(); ++it)
        point = fromSuperview(*it, point);
    return point;
}

CGRect UIView::convertRectToView(CGRect rect, const UIView* view) const {
    CGPoint corners[4] = {rect.origin,
                          {rect.origin.x + rect.size.width, rect.origin.y},
                          {rect.origin.x, rect.origin.y + rect.size.height},
                          {rect.origin.x + rect.size.width, rect.origin.y + rect.size.height}};
    CGPoint p = convertPointToView(corners[0], view);
    double x0 = p.x, x1 = p.x, y0 = p.y, y1 = p.y;
    for (auto& c : corners) {
        CGPoint q = convertPointToView(c, view);
        x0 = std::fmin(x0, q.x), x1 = std::fmax(x1, q.x);
        y0 = std::fmin(y0, q.y), y1 = std::fmax(y1, q.y);
    }
    return {{x0, y0}, {x1 - x0, y1 - y0}};
}

// ---------------------------------------------------------------------------------------------
// Anchors, made on first use and kept by the view.

NSLayoutAnchor* UIView::anchor(int attribute) {
    Ref<NSLayoutAnchor>& slot = anchors_[std::size_t(attribute - 1)];
    if (!slot) {
        switch (attribute) {
        case NSLayoutAttributeTop:
        case NSLayoutAttributeBottom:
        case NSLayoutAttributeCenterY:
            slot = alloc<NSLayoutYAxisAnchor>();
            break;
        case NSLayoutAttributeWidth:
        case NSLayoutAttributeHeight:
            slot = alloc<NSLayoutDimension>();
            break;
        default:
            slot = alloc<NSLayoutXAxisAnchor>();
        }
        slot->view_ = this;
        slot->attribute_ = attribute;
    }
    return slot;
}

NSLayoutXAxisAnchor* UIView::leadingAnchor() {
    return static_cast<NSLayoutXAxisAnchor*>(anchor(NSLayoutAttributeLeading));
}
NSLayoutXAxisAnchor* UIView::trailingAnchor() {
    return static_cast<NSLayoutXAxisAnchor*>(anchor(NSLayoutAttributeTrailing));
}
NSLayoutXAxisAnchor* UIView::leftAnchor() {
    return static_cast<NSLayoutXAxisAnchor*>(anchor(NSLayoutAttributeLeft));
}
NSLayoutXAxisAnchor* UIView::rightAnchor() {
    return static_cast<NSLayoutXAxisAnchor*>(anchor(NSLayoutAttributeRight));
}
NSLayoutXAxisAnchor* UIView::centerXAnchor() {
    return static_cast<NSLayoutXAxisAnchor*>(anchor(NSLayoutAttributeCenterX));
}
NSLayoutYAxisAnchor* UIView::topAnchor() {
    return static_cast<NSLayoutYAxisAnchor*>(anchor(NSLayoutAttributeTop));
}
NSLayoutYAxisAnchor* UIView::bottomAnchor() {
    return static_cast<NSLayoutYAxisAnchor*>(anchor(NSLayoutAttributeBottom));
}
NSLayoutYAxisAnchor* UIView::centerYAnchor() {
    return static_cast<NSLayoutYAxisAnchor*>(anchor(NSLayoutAttributeCenterY));
}
NSLayoutDimension* UIView::widthAnchor() {
    return static_cast<NSLayoutDimension*>(anchor(NSLayoutAttributeWidth));
}
NSLayoutDimension* UIView::heightAnchor() {
    return static_cast<NSLayoutDimension*>(anchor(NSLayoutAttributeHeight));
}

void UIView::setTranslatesAutoresizingMaskIntoConstraints(bool translates) {
    if (translates == translatesMask_) return;
    translatesMask_ = translates;
    uikit::noteGeometryChange(this);
}
