#include "platform/uikit/layer.h"

VEY_CLASS_IMPL(CALayer, NSObject::cls(), [](Class) {})

void CALayer::setCornerCurve(CALayerCornerCurve curve) {
    if (curve == kCACornerCurveCircular || curve == kCACornerCurveContinuous)
        cornerCurve_ = std::string(curve);
}

void CALayer::setBorderColor(CGColorRef color) {
    if (color)
        borderColor_ = *color;
    else
        borderColor_.reset();
}
