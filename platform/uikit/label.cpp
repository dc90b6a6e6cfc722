#include "platform/uikit/label.h"

VEY_CLASS_IMPL(UILabel, UIView::cls(), [](Class k) {
    rt_addMethod(
        k, "text", +[](id self, SEL) -> id {
            auto* l = cast<UILabel>(self);
            return l ? l->text() : nullptr;
        });
    rt_addMethod(
        k, "setText:", +[](id self, SEL, id text) {
            if (auto* l = cast<UILabel>(self)) l->setText(cast<NSString>(text));
        });
})

UIView* UILabel::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    setUserInteractionEnabled(false);
    return this;
}

void UILabel::setText(NSString* text) {
    bool same = text == text_.get() || (text && text_ && text->isEqual(text_));
    text_ = text;
    if (same) return;
    marqueeStart_ = MainQueue::shared().nowNanos();
    setNeedsDisplay();
}

void UILabel::setText(std::string_view text) {
    setText(NSString::make(text).get());
}

void UILabel::setFont(UIFont* font) {
    font_ = font ? Ref<UIFont>(font) : UIFont::systemFontOfSize(17);
    setNeedsDisplay();
}

void UILabel::setTextColor(UIColor* color) {
    textColor_ = color ? Ref<UIColor>(color) : UIColor::blackColor();
    setNeedsDisplay();
}

void UILabel::setMarqueeRunning(bool running) {
    if (running && !marqueeRunning_) marqueeStart_ = MainQueue::shared().nowNanos();
    marqueeRunning_ = running;
}
