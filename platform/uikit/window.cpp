#include "platform/uikit/window.h"

#include <algorithm>

VEY_CLASS_IMPL(UIWindow, UIView::cls(), [](Class) {})

VEY_CLASS_IMPL(UIApplication, UIResponder::cls(), [](Class k) {
    rt_addMethod(
        k->isa, "sharedApplication",
        +[](id, SEL) -> id { return UIApplication::sharedApplication(); });
    rt_addMethod(
        k, "keyWindow", +[](id self, SEL) -> id {
            auto* app = cast<UIApplication>(self);
            return app ? app->keyWindow() : nullptr;
        });
})

UIView* UIWindow::initWithFrame(CGRect frame) {
    window_ = this;
    return UIView::initWithFrame(frame);
}

// Views keep a plain pointer to their window; a window that goes clears them.
UIWindow::~UIWindow() {
    std::vector<UIView*> stack;
    for (auto& sub : subviews_)
        stack.push_back(sub);
    while (!stack.empty()) {
        UIView* v = stack.back();
        stack.pop_back();
        if (v->window_ != this) continue;
        v->window_ = nullptr;
        for (auto& sub : v->subviews_)
            stack.push_back(sub);
    }
}

void UIWindow::setRootViewController(UIViewController* controller) {
    if (root_ == controller) return;
    if (root_ && root_->viewIfLoaded() && root_->viewIfLoaded()->superview() == this)
        root_->viewIfLoaded()->removeFromSuperview();
    root_ = controller;
    if (!controller) return;
    UIView* view = controller->view();
    view->setFrame(bounds());
    view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    addSubview(view);
}

void UIWindow::makeKeyAndVisible() {
    UIApplication* app = UIApplication::sharedApplication();
    if (std::find(app->windows_.begin(), app->windows_.end(), this) == app->windows_.end())
        app->windows_.push_back(this);
    app->key_ = this;
    setHidden(false);
}

bool UIWindow::isKeyWindow() const {
    return UIApplication::sharedApplication()->keyWindow() == this;
}

namespace {
Ref<UIApplication>& sharedSlot() {
    static auto* slot = new Ref<UIApplication>();
    return *slot;
}
} // namespace

UIApplication* UIApplication::sharedApplication() {
    Ref<UIApplication>& slot = sharedSlot();
    if (!slot) slot = alloc<UIApplication>();
    return slot;
}

void UIApplication::setSharedApplication(UIApplication* app) {
    sharedSlot() = app;
}
