#include "platform/uikit/color.h"

#include "platform/graphics/context.h"

#include <algorithm>
#include <cstdio>

VEY_CLASS_IMPL(UIColor, NSObject::cls(), [](Class) {})

Ref<UIColor> UIColor::colorWithRed(double r, double g, double b, double a) {
    auto c = alloc<UIColor>();
    c->rgba_ = {r, g, b, std::clamp(a, 0.0, 1.0)};
    return c;
}

Ref<UIColor> UIColor::colorWithWhite(double white, double alpha) {
    return colorWithRed(white, white, white, alpha);
}

bool UIColor::getRed(double* r, double* g, double* b, double* a) const {
    if (r) *r = rgba_.r;
    if (g) *g = rgba_.g;
    if (b) *b = rgba_.b;
    if (a) *a = rgba_.a;
    return true;
}

bool UIColor::isEqual(const NSObject* other) const {
    auto* o = dynamic_cast<const UIColor*>(other);
    return o && o->rgba_ == rgba_;
}

std::string UIColor::description() const {
    char buf[96];
    std::snprintf(buf, sizeof buf, "UIExtendedSRGBColorSpace %g %g %g %g", rgba_.r, rgba_.g,
                  rgba_.b, rgba_.a);
    return buf;
}

void UIColor::setFill() const {
    CGContextSetFillColorWithColor(UIGraphicsGetCurrentContext(), CGColor());
}
