#include "controls/InnerShadowButton.h"

#include "platform/graphics/graphics.h"

namespace {

InnerShadowButton* asButton(id self) {
    return cast<InnerShadowButton>(self);
}

void drawRectIMP(id self, SEL cmd, CGRect rect) {
    // The button's own drawing first.
    callIMP(class_getMethodImplementation(UIButton::cls(), cmd), self, cmd, rect);
    if (InnerShadowButton* button = asButton(self)) button->drawOutline();
}

id outlineColorIMP(id self, SEL) {
    InnerShadowButton* button = asButton(self);
    return button ? button->outlineColor() : nullptr;
}

void setOutlineColorIMP(id self, SEL, id color) {
    if (InnerShadowButton* button = asButton(self)) button->setOutlineColor(cast<UIColor>(color));
}

double outlineWidthIMP(id self, SEL) {
    InnerShadowButton* button = asButton(self);
    return button ? button->outlineWidth() : 0;
}

void setOutlineWidthIMP(id self, SEL, double width) {
    if (InnerShadowButton* button = asButton(self)) button->setOutlineWidth(width);
}

} // namespace

VEY_CLASS_IMPL(InnerShadowButton, UIButton::cls(), [](Class k) {
    rt_addMethod(k, "drawRect:", &drawRectIMP);
    rt_addMethod(k, "outlineColor", &outlineColorIMP);
    rt_addMethod(k, "setOutlineColor:", &setOutlineColorIMP);
    rt_addMethod(k, "outlineWidth", &outlineWidthIMP);
    rt_addMethod(k, "setOutlineWidth:", &setOutlineWidthIMP);
    objc_property_attribute_t color[] = {
        {"T", "@\"UIColor\""}, {"&", ""}, {"N", ""}, {"V", "_outlineColor"}};
    class_addProperty(k, "outlineColor", color, 4);
    objc_property_attribute_t width[] = {{"T", "d"}, {"N", ""}, {"V", "_outlineWidth"}};
    class_addProperty(k, "outlineWidth", width, 3);
    class_addIvar(k, "_outlineColor", [](id self) -> id { return outlineColorIMP(self, nullptr); });
    class_addIvar(k, "_outlineWidth", [](id self) -> id {
        InnerShadowButton* button = asButton(self);
        return button ? autorelease(NSNumber::withDouble(button->outlineWidth())) : nullptr;
    });
})

// The library's classes are registered when it is loaded, as the platform's loader registers
// a library's classes, so that they can be found by name from the start.
[[maybe_unused]] static const Class registered = InnerShadowButton::cls();

Ref<UIBezierPath> InnerShadowButton::outlinePath() const {
    CGRect r = CGRectInset(bounds(), 0.5 * outlineWidth_, 0.5 * outlineWidth_);
    // An outline wider than the panel leaves no rectangle to stroke.
    if (CGRectIsNull(r)) return nullptr;
    // The layer's radius as it is now, not reduced by the inset.
    return UIBezierPath::bezierPathWithRoundedRect(r, layer() ? layer()->cornerRadius() : 0);
}

void InnerShadowButton::drawOutline() const {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    // Without a colour the context is given none and the stroke draws nothing.
    CGContextSetStrokeColorWithColor(context, outlineColor_ ? outlineColor_->CGColor() : nullptr);
    CGContextSetLineWidth(context, outlineWidth_);
    Ref<UIBezierPath> path = outlinePath();
    if (!path) return;
    CGContextAddPath(context, path->CGPath());
    CGContextStrokePath(context);
}
