#include "platform/uikit/effect.h"

VEY_CLASS_IMPL(UIVisualEffect, NSObject::cls(), [](Class) {})
VEY_CLASS_IMPL(UIBlurEffect, UIVisualEffect::cls(), [](Class k) {
    rt_addMethod(
        k->isa, "effectWithStyle:", +[](id, SEL, long style) -> id {
            return autorelease(UIBlurEffect::effectWithStyle(style));
        });
})
VEY_CLASS_IMPL(UIVisualEffectView, UIView::cls(), [](Class) {})

Ref<UIBlurEffect> UIBlurEffect::effectWithStyle(UIBlurEffectStyle style) {
    auto e = alloc<UIBlurEffect>();
    e->style_ = style;
    return e;
}

Ref<UIVisualEffectView> UIVisualEffectView::makeWithEffect(UIVisualEffect* effect) {
    auto view = UIView::make<UIVisualEffectView>();
    view->setEffect(effect);
    return view;
}

UIView* UIVisualEffectView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    contentView_ = UIView::make(bounds());
    contentView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                      UIViewAutoresizingFlexibleHeight);
    addSubview(contentView_);
    return this;
}

UIBlurEffectStyle UIVisualEffectView::blurStyle() const {
    auto* blur = cast<UIBlurEffect>(effect_.get());
    return blur ? blur->style() : -1;
}
