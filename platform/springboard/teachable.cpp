// The call to action at the bottom of the lock screen.
#include "platform/springboard/springboard.h"

VEY_CLASS_IMPL(SBUICallToActionLabel, UILabel::cls(), [](Class k) {
    rt_addMethod(
        k, "didMoveToWindow", +[](id self, SEL) {
            if (auto* label = cast<SBUICallToActionLabel>(self)) label->didMoveToWindow();
        });
    rt_addMethod(
        k, "_updateLabelTextWithLanguage:", +[](id self, SEL, id language) {
            if (auto* label = cast<SBUICallToActionLabel>(self))
                label->updateLabelTextWithLanguage(cast<NSString>(language));
        });
})

void SBUICallToActionLabel::updateLabelTextWithLanguage(NSString* language) {
    std::string code = language ? language->str() : "en";
    if (code == "de")
        setText("Zum Öffnen nach oben wischen");
    else if (code == "fr")
        setText("Balayez vers le haut pour ouvrir");
    else
        setText("Swipe up to open");
}

void SBUICallToActionLabel::didMoveToWindow() {
    UILabel::didMoveToWindow();
    if (window() && !text()) send(this, "_updateLabelTextWithLanguage:", static_cast<id>(nullptr));
}

VEY_CLASS_IMPL(CSTeachableMomentsContainerView, UIView::cls(), [](Class k) {
    rt_addMethod(
        k, "_layoutCallToActionLabel", +[](id self, SEL) {
            if (auto* view = cast<CSTeachableMomentsContainerView>(self))
                view->layoutCallToActionLabel();
        });
    class_addIvar(k, "_callToActionLabel", [](id self) -> id {
        auto* view = cast<CSTeachableMomentsContainerView>(self);
        return view ? view->callToActionLabel() : nullptr;
    });
})

UIView* CSTeachableMomentsContainerView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    label_ = UIView::make<SBUICallToActionLabel>();
    label_->setFont(UIFont::systemFontOfSize(17, UIFontWeightRegular));
    label_->setTextColor(UIColor::colorWithWhite(1, 0.8));
    label_->setTextAlignment(NSTextAlignmentCenter);
    addSubview(label_);
    return this;
}

void CSTeachableMomentsContainerView::layoutSubviews() {
    UIView::layoutSubviews();
    send(this, "_layoutCallToActionLabel");
}

void CSTeachableMomentsContainerView::layoutCallToActionLabel() {
    if (label_->superview() == this) label_->setFrame(bounds());
}
