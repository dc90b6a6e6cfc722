// The adjunct items beside the notifications, and the stock now-playing platter in one of
// them.
#include "platform/springboard/springboard.h"

#include <algorithm>
#include <cmath>

namespace {
// Room around the media controls inside the platter.
constexpr double kPlatterInset = 8;

// The content's height as Auto Layout gives it: an active constant height constraint wins
// over the platter's own height; hidden content takes no room.
double contentHeight(UIView* content) {
    if (!content || content->isHidden()) return 0;
    for (NSLayoutConstraint* c : NSLayoutConstraint::activeConstraints())
        if (c->firstItem() == content && c->firstAttribute() == NSLayoutAttributeHeight &&
            !c->secondItem() && std::isfinite(c->constant()))
            return std::max(0.0, c->constant());
    return MRUNowPlayingView::kHeight + 2 * kPlatterInset;
}

} // namespace

VEY_CLASS_IMPL(CSAdjunctItemView, UIView::cls(), [](Class k) {
    rt_addMethod(
        k, "_updateSizeToMimic", +[](id self, SEL) {
            if (auto* item = cast<CSAdjunctItemView>(self)) item->updateSizeToMimic();
        });
})

void CSAdjunctItemView::setContentView(UIView* content) {
    if (content_) content_->removeFromSuperview();
    content_ = content;
    if (content) addSubview(content);
}

// The item is as tall as its content shows.
void CSAdjunctItemView::updateSizeToMimic() {
    double height = contentHeight(content_);
    CGRect b = bounds();
    if (b.size.height == height) return;
    setBounds(CGRectMake(b.origin.x, b.origin.y, b.size.width, height));
    if (superview()) superview()->setNeedsLayout();
    if (superview() && superview()->superview()) superview()->superview()->setNeedsLayout();
}

// The item follows its content at every layout pass, through the runtime.
void CSAdjunctItemView::layoutSubviews() {
    UIView::layoutSubviews();
    send(this, "_updateSizeToMimic");
    if (content_ && content_->superview() == this) content_->setFrame(bounds());
}

VEY_CLASS_IMPL(CSAdjunctListView, UIView::cls(), [](Class k) {
    rt_addMethod(
        k, "layoutSubviews", +[](id self, SEL) {
            if (auto* view = cast<CSAdjunctListView>(self)) view->layoutSubviews();
        });
})

void CSAdjunctListView::layoutSubviews() {
    UIView::layoutSubviews();
    double y = 0;
    for (auto& sub : subviews()) {
        CGRect b = sub->bounds();
        sub->setFrame(CGRectMake(0, y, bounds().size.width, b.size.height));
        y += b.size.height;
    }
}

VEY_CLASS_IMPL(PLPlatterView, UIView::cls(), [](Class) {})

void PLPlatterView::layoutSubviews() {
    UIView::layoutSubviews();
    CGRect b = bounds();
    for (auto& sub : subviews())
        sub->setFrame(CGRectMake(kPlatterInset, kPlatterInset, b.size.width - 2 * kPlatterInset,
                                 std::max(0.0, b.size.height - 2 * kPlatterInset)));
}

VEY_CLASS_IMPL(CSActivityItemContentView, UIView::cls(), [](Class k) {
    rt_addMethod(
        k, "layoutSubviews", +[](id self, SEL) {
            if (auto* view = cast<CSActivityItemContentView>(self)) view->layoutSubviews();
        });
})

void CSActivityItemContentView::layoutSubviews() {
    UIView::layoutSubviews();
    for (auto& sub : subviews())
        sub->setFrame(bounds());
}

// ---------------------------------------------------------------------------------------------

VEY_CLASS_IMPL(CSMediaControlsViewController, UIViewController::cls(), [](Class) {})

void CSMediaControlsViewController::loadView() {
    Ref<UIView> root = UIView::make(CGRectMake(0, 0, 358, MRUNowPlayingView::kHeight));
    controls_ = MRUMediaControlsController::make(2, this);
    addChildViewController(controls_);
    UIView* controlsView = controls_->view();
    controlsView->setFrame(root->bounds());
    controlsView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                      UIViewAutoresizingFlexibleHeight);
    root->addSubview(controlsView);
    setView(root);
}

VEY_CLASS_IMPL(CSNotificationAdjunctListViewController, UIViewController::cls(), [](Class k) {
    rt_addMethod(
        k, "viewDidLoad", +[](id self, SEL) {
            if (auto* controller = cast<CSNotificationAdjunctListViewController>(self))
                controller->viewDidLoad();
        });
})

void CSNotificationAdjunctListViewController::loadView() {
    Ref<UIStackView> stack = UIView::make<UIStackView>();
    stack->setAxis(UILayoutConstraintAxisVertical);
    stack->setSpacing(8);
    setView(stack);
}
