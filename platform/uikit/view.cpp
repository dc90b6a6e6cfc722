// UIView: its runtime class (the hookable selectors), geometry and drawing state.
#include "platform/uikit/view.h"

#include "platform/uikit/constraint.h"
#include "platform/uikit/controller.h"
#include "platform/uikit/gesture.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/window.h"

#include <algorithm>
#include <cmath>

namespace {

UIView* asView(id self) {
    return cast<UIView>(self);
}
id initWithFrameIMP(id self, SEL, CGRect frame) {
    UIView* view = asView(self);
    return view ? view->initWithFrame(frame) : self;
}
id initIMP(id self, SEL) {
    return send<id>(self, "initWithFrame:", CGRectZero);
}
void setFrameIMP(id self, SEL, CGRect frame) {
    if (UIView* view = asView(self)) view->setFrameImpl(frame);
}
void layoutSubviewsIMP(id self, SEL) {
    if (UIView* view = asView(self)) view->layoutSubviews();
}
void didMoveToWindowIMP(id self, SEL) {
    if (UIView* view = asView(self)) view->didMoveToWindow();
}
void drawRectIMP(id self, SEL, CGRect rect) {
    if (UIView* view = asView(self)) view->drawRect(rect);
}
id viewControllerForAncestorIMP(id self, SEL) {
    for (UIView* v = asView(self); v; v = v->superview())
        if (UIViewController* controller = v->viewController()) return controller;
    return nullptr;
}
id superviewIMP(id self, SEL) {
    UIView* view = asView(self);
    return view ? view->superview() : nullptr;
}
id windowIMP(id self, SEL) {
    UIView* view = asView(self);
    return view ? view->window() : nullptr;
}
id layerIMP(id self, SEL) {
    UIView* view = asView(self);
    return view ? view->layer() : nullptr;
}

} // namespace

VEY_CLASS_IMPL(UIResponder, NSObject::cls(), [](Class) {})

VEY_CLASS_IMPL(UIView, UIResponder::cls(), [](Class k) {
    rt_addMethod(k, "initWithFrame:", &initWithFrameIMP);
    rt_addMethod(k, "init", &initIMP);
    rt_addMethod(k, "setFrame:", &setFrameIMP);
    rt_addMethod(k, "layoutSubviews", &layoutSubviewsIMP);
    rt_addMethod(k, "didMoveToWindow", &didMoveToWindowIMP);
    rt_addMethod(k, "drawRect:", &drawRectIMP);
    rt_addMethod(k, "_viewControllerForAncestor", &viewControllerForAncestorIMP);
    rt_addMethod(k, "superview", &superviewIMP);
    rt_addMethod(k, "window", &windowIMP);
    rt_addMethod(k, "layer", &layerIMP);
})

UIView::UIView() : layer_(alloc<CALayer>()) {
    layer_->view_ = this;
}

UIView::~UIView() {
    layer_->view_ = nullptr;
    for (auto& sub : subviews_)
        sub->superview_ = nullptr;
    for (auto& g : gestures_)
        g->view_ = nullptr;
    for (auto& a : anchors_)
        if (a) a->view_ = nullptr;
    // Constraints do not keep their views; the ones that name this view end with it.
    std::vector<Ref<NSLayoutConstraint>> mine;
    for (NSLayoutConstraint* c : NSLayoutConstraint::activeConstraints())
        if (c->first_ == this || c->second_ == this) mine.push_back(c);
    for (auto& c : mine) {
        if (c->first_ == this) c->first_ = nullptr;
        if (c->second_ == this) c->second_ = nullptr;
        c->setActive(false);
    }
}

UIView* UIView::initWithFrame(CGRect frame) {
    setFrameImpl(frame);
    return this;
}

// ---------------------------------------------------------------------------------------------
// Geometry

CGRect UIView::frame() const {
    return uikit::transformedFrame(uikit::untransformedFrame(this), transform_);
}

void UIView::setFrame(CGRect frame) {
    send(this, "setFrame:", frame);
}

namespace {
// The exact rectangle behind the frame the host is sending (placeUntransformed).
struct Placement {
    const UIView* view = nullptr;
    CGRect frame, exact;
};
Placement placement;
} // namespace

void UIView::placeUntransformed(CGRect rect) {
    Placement saved = placement;
    placement = {this, uikit::transformedFrame(rect, transform_), rect};
    setFrame(placement.frame);
    placement = saved;
}

void UIView::setFrameImpl(CGRect frame) {
    if (placement.view == this && frame == placement.frame) {
        CGRect r = placement.exact;
        setCenter({r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2});
        setBounds({bounds_.origin, r.size});
        return;
    }
    const CGAffineTransform& t = transform_;
    CGSize size = frame.size;
    CGPoint mid{frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2};
    if (!CGAffineTransformIsIdentity(t)) {
        mid.x -= t.tx, mid.y -= t.ty;
        if (t.b == 0 && t.c == 0) {
            size.width = t.a != 0 ? frame.size.width / std::fabs(t.a) : bounds_.size.width;
            size.height = t.d != 0 ? frame.size.height / std::fabs(t.d) : bounds_.size.height;
        } else {
            size = bounds_.size; // rotations: keep the size, place the centre
        }
    }
    setCenter(mid);
    setBounds({bounds_.origin, size});
}

void UIView::setBounds(CGRect bounds) {
    if (bounds == bounds_) {
        recordAnimation(UIAnimatedProperty::Bounds, bounds_, bounds);
        return;
    }
    CGRect old = bounds_;
    recordAnimation(UIAnimatedProperty::Bounds, old, bounds);
    bounds_ = bounds;
    uikit::noteGeometryChange(this);
    if (old.size != bounds.size) {
        setNeedsLayout();
        resizeSubviews(old.size);
    }
}

void UIView::setCenter(CGPoint center) {
    recordAnimation(UIAnimatedProperty::Center, center_, center);
    if (center == center_) return;
    center_ = center;
    uikit::noteGeometryChange(this);
}

void UIView::setTransform(CGAffineTransform transform) {
    recordAnimation(UIAnimatedProperty::Transform, transform_, transform);
    transform_ = transform;
}

void UIView::setAlpha(double alpha) {
    recordAnimation(UIAnimatedProperty::Alpha, alpha_, alpha);
    alpha_ = alpha;
}

void UIView::setBackgroundColor(UIColor* color) {
    struct CGColor clear {};
    recordAnimation(UIAnimatedProperty::BackgroundColor,
                    backgroundColor_ ? backgroundColor_->rgba() : clear,
                    color ? color->rgba() : clear);
    backgroundColor_ = color;
}

UIColor* UIView::tintColor() const {
    for (const UIView* v = this; v; v = v->superview_)
        if (v->tintColor_) return v->tintColor_;
    static Ref<UIColor> systemBlue = UIColor::colorWithRed(0, 122 / 255.0, 1, 1);
    return systemBlue;
}

// Autoresizing: the flexible parts of each axis share the change of the superview's size in
// proportion to their current lengths (equally when all are zero).
void UIView::resizeSubviews(CGSize oldSize) {
    auto axis = [](double& pos, double& len, double oldTotal, double delta, bool flexLow,
                   bool flexLen, bool flexHigh) {
        double parts[3] = {pos, len, oldTotal - pos - len};
        bool flex[3] = {flexLow, flexLen, flexHigh};
        double sum = 0;
        int count = 0;
        for (int i = 0; i < 3; i++)
            if (flex[i]) sum += std::fabs(parts[i]), count++;
        if (!count) return;
        double share[3];
        for (int i = 0; i < 3; i++)
            share[i] = !flex[i] ? 0 : sum > 0 ? delta * std::fabs(parts[i]) / sum : delta / count;
        pos += share[0];
        len += share[1];
    };
    CGSize now = bounds_.size;
    std::vector<Ref<UIView>> subs = subviews_;
    for (auto& sub : subs) {
        UIViewAutoresizing m = sub->autoresizingMask_;
        if (!m || !sub->translatesMask_) continue;
        CGRect r = uikit::untransformedFrame(sub);
        axis(r.origin.x, r.size.width, oldSize.width, now.width - oldSize.width,
             m & UIViewAutoresizingFlexibleLeftMargin, m & UIViewAutoresizingFlexibleWidth,
             m & UIViewAutoresizingFlexibleRightMargin);
        axis(r.origin.y, r.size.height, oldSize.height, now.height - oldSize.height,
             m & UIViewAutoresizingFlexibleTopMargin, m & UIViewAutoresizingFlexibleHeight,
             m & UIViewAutoresizingFlexibleBottomMargin);
        if (r != uikit::untransformedFrame(sub)) sub->placeUntransformed(r);
    }
}

void UIView::displayIfNeeded() {
    if (!needsDisplay_) return;
    needsDisplay_ = false;
    send(this, "drawRect:", bounds_);
}

namespace uikit {

CGRect untransformedFrame(const UIView* view) {
    CGRect b = view->bounds();
    CGPoint c = view->center();
    return {{c.x - b.size.width / 2, c.y - b.size.height / 2}, b.size};
}

CGRect transformedFrame(CGRect rect, CGAffineTransform t) {
    if (CGAffineTransformIsIdentity(t)) return rect;
    CGPoint c{rect.origin.x + rect.size.width / 2, rect.origin.y + rect.size.height / 2};
    CGRect local{{-rect.size.width / 2, -rect.size.height / 2}, rect.size};
    CGRect r = CGRectApplyAffineTransform(local, t);
    r.origin.x += c.x, r.origin.y += c.y;
    return r;
}

bool nearlyEqual(CGRect a, CGRect b) {
    auto near = [](double x, double y) { return std::fabs(x - y) <= 1e-9 * (1 + std::fabs(x)); };
    return near(a.origin.x, b.origin.x) && near(a.origin.y, b.origin.y) &&
           near(a.size.width, b.size.width) && near(a.size.height, b.size.height);
}

} // namespace uikit
