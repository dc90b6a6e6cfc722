// UIView's tree: adding, moving and removing subviews, windows and didMoveToWindow, the
// responder chain and gesture recognisers.
#include "platform/uikit/constraint.h"
#include "platform/uikit/controller.h"
#include "platform/uikit/gesture.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/view.h"
#include "platform/uikit/window.h"

#include <algorithm>

namespace {

// Deactivates the constraints that tie `subtree` to views outside it, as the platform does
// when the subtree leaves its superview.
void dropCrossingConstraints(UIView* subtree) {
    std::vector<Ref<NSLayoutConstraint>> crossing;
    for (NSLayoutConstraint* c : NSLayoutConstraint::activeConstraints()) {
        UIView* a = c->firstItem();
        UIView* b = c->secondItem();
        if (!a || !b) continue;
        if (a->isDescendantOfView(subtree) != b->isDescendantOfView(subtree)) crossing.push_back(c);
    }
    for (auto& c : crossing)
        c->setActive(false);
}

} // namespace

bool UIView::isDescendantOfView(const UIView* view) const {
    if (!view) return false;
    for (const UIView* v = this; v; v = v->superview_)
        if (v == view) return true;
    return false;
}

void UIView::addSubview(UIView* view) {
    insertSubview(view, NSInteger(subviews_.size()));
}

void UIView::insertSubview(UIView* view, NSInteger index) {
    if (!view || view == this || isDescendantOfView(view)) return;
    Ref<UIView> keep = view;
    if (view->superview_ == this) {
        detachSubview(view); // re-inserting moves it within the same superview
    } else if (view->superview_) {
        UIView* old = view->superview_;
        old->willRemoveSubview(view);
        dropCrossingConstraints(view);
        old->detachSubview(view);
        old->setNeedsLayout();
    }
    std::size_t at = index < 0 ? 0 : std::min<std::size_t>(std::size_t(index), subviews_.size());
    attach(view, at);
}

void UIView::attach(UIView* view, std::size_t index) {
    bool moved = view->superview_ != this;
    subviews_.insert(subviews_.begin() + std::ptrdiff_t(index), Ref<UIView>(view));
    view->superview_ = this;
    setNeedsLayout();
    view->setNeedsLayout();
    uikit::noteGeometryChange(view);
    if (!moved) return;
    didAddSubview(view);
    view->didMoveToSuperview();
    if (view->window_ != window_) {
        std::vector<Ref<UIView>> changed;
        view->setWindowRecursively(window_, changed);
        for (auto& v : changed)
            send(v.get(), "didMoveToWindow");
    }
}

void UIView::detachSubview(UIView* view) {
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it == subviews_.end()) return;
    Ref<UIView> keep = view;
    subviews_.erase(it);
    view->superview_ = nullptr;
}

void UIView::removeFromSuperview() {
    UIView* old = superview_;
    if (!old) return;
    Ref<UIView> keep = this;
    old->willRemoveSubview(this);
    dropCrossingConstraints(this);
    old->detachSubview(this);
    old->setNeedsLayout();
    uikit::noteGeometryChange(old);
    didMoveToSuperview();
    if (window_) {
        std::vector<Ref<UIView>> changed;
        setWindowRecursively(nullptr, changed);
        for (auto& v : changed)
            send(v.get(), "didMoveToWindow");
    }
}

// A window is its own window; views inside a nested window keep it.
void UIView::setWindowRecursively(UIWindow* window, std::vector<Ref<UIView>>& changed) {
    if (cast<UIWindow>(this)) return;
    if (window_ == window) return;
    window_ = window;
    changed.push_back(this);
    for (auto& sub : subviews_)
        sub->setWindowRecursively(window, changed);
}

// ---------------------------------------------------------------------------------------------
// Responders and gestures

UIViewController* UIView::viewController() const {
    return controller_;
}

UIResponder* UIView::nextResponder() const {
    if (controller_) return controller_;
    return superview_;
}

UIViewController* UIView::viewControllerForAncestor() {
    return cast<UIViewController>(send<id>(this, "_viewControllerForAncestor"));
}

void UIView::addGestureRecognizer(UIGestureRecognizer* recognizer) {
    if (!recognizer) return;
    Ref<UIGestureRecognizer> keep = recognizer;
    if (recognizer->view_) recognizer->view_->removeGestureRecognizer(recognizer);
    recognizer->view_ = this;
    gestures_.push_back(keep);
}

void UIView::removeGestureRecognizer(UIGestureRecognizer* recognizer) {
    auto it = std::find(gestures_.begin(), gestures_.end(), recognizer);
    if (it == gestures_.end()) return;
    recognizer->view_ = nullptr;
    gestures_.erase(it);
}
