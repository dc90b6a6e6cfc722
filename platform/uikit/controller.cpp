#include "platform/uikit/controller.h"

#include "platform/uikit/device.h"

#include <algorithm>

VEY_CLASS_IMPL(UIViewController, UIResponder::cls(), [](Class k) {
    rt_addMethod(
        k, "viewDidLoad", +[](id self, SEL) {
            if (auto* c = cast<UIViewController>(self)) c->viewDidLoad();
        });
    rt_addMethod(
        k, "view", +[](id self, SEL) -> id {
            auto* c = cast<UIViewController>(self);
            return c ? c->view() : nullptr;
        });
})

UIViewController::~UIViewController() {
    if (view_ && view_->controller_ == this) view_->controller_ = nullptr;
    for (auto& child : children_)
        child->parent_ = nullptr;
}

UIView* UIViewController::view() {
    if (!view_) {
        Ref<UIViewController> keep = this;
        loadView();
        if (!view_) setView(UIView::make(UIScreen::mainScreen()->bounds()));
        send(this, "viewDidLoad");
    }
    return view_;
}

void UIViewController::setView(UIView* view) {
    if (view_ && view_->controller_ == this) view_->controller_ = nullptr;
    view_ = view;
    if (view_) view_->controller_ = this;
}

void UIViewController::loadView() {
    setView(UIView::make(UIScreen::mainScreen()->bounds()));
}

void UIViewController::setOverrideUserInterfaceStyle(UIUserInterfaceStyle style) {
    interfaceStyle_ = style;
    if (view_) view_->setOverrideUserInterfaceStyle(style);
}

void UIViewController::addChildViewController(UIViewController* child) {
    if (!child || child == this || child->parent_ == this) return;
    Ref<UIViewController> keep = child;
    child->removeFromParentViewController();
    child->parent_ = this;
    children_.push_back(keep);
}

void UIViewController::removeFromParentViewController() {
    UIViewController* parent = parent_;
    if (!parent) return;
    Ref<UIViewController> keep = this;
    parent_ = nullptr;
    std::erase(parent->children_, keep);
}

UIResponder* UIViewController::nextResponder() const {
    if (view_ && view_->superview()) return view_->superview();
    return parent_;
}
