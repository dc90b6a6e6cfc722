// UIColor's setFill / setStroke act on the current graphics context.
#include "platform/graphics/context.h"
#include "platform/uikit/color.h"

void UIColor::setFill() const {
    CGContextSetFillColorWithColor(UIGraphicsGetCurrentContext(), CGColor());
}

void UIColor::setStroke() const {
    CGContextSetStrokeColorWithColor(UIGraphicsGetCurrentContext(), CGColor());
}
