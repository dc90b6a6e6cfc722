// The cover sheet and its pages: main page, clock and date, the page view of the lists and
// the container that holds the notification list and the adjunct stack.
#include "platform/springboard/springboard.h"

#include <algorithm>

namespace {

// Height of the stack's visible arranged items, with the spacing between them.
double stackHeight(const UIStackView* stack) {
    double height = 0;
    int count = 0;
    for (auto& item : stack->arrangedSubviews()) {
        if (item->isHidden()) continue;
        height += item->bounds().size.height;
        count++;
    }
    return count > 1 ? height + stack->spacing() * (count - 1) : height;
}

} // namespace

VEY_CLASS_IMPL(CSCoverSheetViewBase, UIView::cls(), [](Class) {})

VEY_CLASS_IMPL(CSCoverSheetView, UIView::cls(), [](Class k) {
    rt_addMethod(
        k, "initWithFrame:", +[](id self, SEL, CGRect frame) -> id {
            auto* view = cast<CSCoverSheetView>(self);
            return view ? view->initWithFrame(frame) : self;
        });
    rt_addMethod(
        k, "didMoveToWindow", +[](id self, SEL) {
            if (auto* view = cast<CSCoverSheetView>(self)) view->didMoveToWindow();
        });
    rt_addMethod(
        k, "layoutSubviews", +[](id self, SEL) {
            if (auto* view = cast<CSCoverSheetView>(self)) view->layoutSubviews();
        });
})

UIView* CSCoverSheetView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    setBackgroundColor(UIColor::colorWithRed(0.11, 0.13, 0.2, 1));
    return this;
}

void CSCoverSheetView::didMoveToWindow() {
    UIView::didMoveToWindow();
}

void CSCoverSheetView::layoutSubviews() {
    UIView::layoutSubviews();
    CGRect b = bounds();
    for (auto& sub : subviews()) {
        if (cast<CSMainPageView>(sub))
            sub->setFrame(b);
        else if (cast<CSTeachableMomentsContainerView>(sub))
            sub->setFrame(CGRectMake(0, b.size.height - 84, b.size.width, 40));
    }
}

// ---------------------------------------------------------------------------------------------

VEY_CLASS_IMPL(SBFLockScreenDateView, UIView::cls(), [](Class) {})

UIView* SBFLockScreenDateView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    date_ = UIView::make<UILabel>();
    date_->setFont(UIFont::systemFontOfSize(21, UIFontWeightMedium));
    time_ = UIView::make<UILabel>();
    time_->setFont(UIFont::systemFontOfSize(88, UIFontWeightSemibold));
    for (UILabel* label : {date_.get(), time_.get()}) {
        label->setTextColor(UIColor::whiteColor());
        label->setTextAlignment(NSTextAlignmentCenter);
        addSubview(label);
    }
    // The lock screen always shows the same moment, so every run looks the same.
    date_->setText("Tuesday, 9 January");
    time_->setText("9:41");
    return this;
}

void SBFLockScreenDateView::layoutSubviews() {
    UIView::layoutSubviews();
    double w = bounds().size.width;
    date_->setFrame(CGRectMake(0, 0, w, 28));
    time_->setFrame(CGRectMake(0, 28, w, 100));
}

// ---------------------------------------------------------------------------------------------

VEY_CLASS_IMPL(CSMainPageView, CSCoverSheetViewBase::cls(), [](Class k) {
    rt_addMethod(
        k, "layoutSubviews", +[](id self, SEL) {
            if (auto* view = cast<CSMainPageView>(self)) view->layoutSubviews();
        });
})

void CSMainPageView::layoutSubviews() {
    UIView::layoutSubviews();
    CGRect b = bounds();
    for (auto& sub : subviews()) {
        if (cast<SBFLockScreenDateView>(sub))
            sub->setFrame(CGRectMake(0, 60, b.size.width, 130));
        else if (cast<CSCombinedListView>(sub))
            sub->setFrame(CGRectMake(0, 210, b.size.width, std::max(0.0, b.size.height - 310)));
    }
}

VEY_CLASS_IMPL(CSCombinedListView, CSCoverSheetViewBase::cls(), [](Class) {})

void CSCombinedListView::layoutSubviews() {
    UIView::layoutSubviews();
    CGRect b = bounds();
    for (auto& sub : subviews()) {
        if (cast<CSScrollView>(sub))
            sub->setFrame(b);
        else if (cast<CSAdjunctListView>(sub))
            sub->setFrame(CGRectMake(16, b.size.height, b.size.width - 32, 0));
        else
            sub->setFrame(CGRectMake(0, 0, b.size.width, 0));
    }
}

VEY_CLASS_IMPL(CSScrollView, UIView::cls(), [](Class) {})

void CSScrollView::layoutSubviews() {
    UIView::layoutSubviews();
    for (auto& sub : subviews())
        sub->setFrame(bounds());
}

VEY_CLASS_IMPL(CSNotificationContainerView, UIView::cls(), [](Class) {})

// The adjunct stack on top, the notification list under it.
void CSNotificationContainerView::layoutSubviews() {
    UIView::layoutSubviews();
    double w = bounds().size.width - 32;
    double top = 0;
    for (auto& sub : subviews())
        if (auto* stack = cast<UIStackView>(sub)) {
            double height = stackHeight(stack);
            stack->setFrame(CGRectMake(16, 0, w, height));
            if (height > 0) top = height + 12;
        }
    for (auto& sub : subviews())
        if (auto* list = cast<NCNotificationListView>(sub))
            list->setFrame(CGRectMake(16, top, w, list->contentHeight()));
}
