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

UIView* UIImageView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    setUserInteractionEnabled(false);
    return this;
}
