#include "platform/uikit/imageview.h"

VEY_CLASS_IMPL(UIImageView, UIView::cls(), [](Class k) {
    rt_addMethod(
        k, "image", +[](id self, SEL) -> id {
            auto* v = cast<UIImageView>(self);
            return v ? v->image() : nullptr;
        });
    rt_addMethod(
        k, "setImage:", +[](id self, SEL, id image) {
            if (auto* v = cast<UIImageView>(self)) v->setImage(cast<UIImage>(image));
        });
})

Ref<UIImageView> UIImageView::makeWithImage(UIImage* image) {
    CGSize size = image ? image->size() : CGSize{};
    auto view = UIView::make<UIImageView>(CGRectMake(0, 0, size.width, size.height));
    view->setImage(image);
    return view;
}

UIView* UIImageView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    setUserInteractionEnabled(false);
    return this;
}
