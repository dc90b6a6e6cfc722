// CALayer: the drawing attributes of a view's layer that the player sets and the renderer
// reads. Geometry lives on the view.
#pragma once

#include "platform/uikit/color.h"

#include <optional>
#include <string>
#include <string_view>

using CALayerCornerCurve = std::string_view;
constexpr CALayerCornerCurve kCACornerCurveCircular = "circular";
constexpr CALayerCornerCurve kCACornerCurveContinuous = "continuous";

class UIView;

class CALayer : public NSObject {
    VEY_CLASS(CALayer)
  public:
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius) { cornerRadius_ = radius; }
    const std::string& cornerCurve() const { return cornerCurve_; }
    // Unknown curves are ignored, as the platform does.
    void setCornerCurve(CALayerCornerCurve curve);
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool masks) { masksToBounds_ = masks; }
    double borderWidth() const { return borderWidth_; }
    void setBorderWidth(double width) { borderWidth_ = width; }
    // Nil when unset (the platform's default border colour is opaque black).
    CGColorRef borderColor() const { return borderColor_ ? &*borderColor_ : nullptr; }
    void setBorderColor(CGColorRef color);

    // The view this layer backs (nil for a free layer).
    UIView* delegate() const { return view_; }

  private:
    friend class UIView;
    UIView* view_ = nullptr;
    double cornerRadius_ = 0;
    std::string cornerCurve_{kCACornerCurveCircular};
    bool masksToBounds_ = false;
    double borderWidth_ = 0;
    std::optional<struct CGColor> borderColor_;
};
