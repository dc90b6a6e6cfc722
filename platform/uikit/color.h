// UIColor: an RGBA colour with components in 0...1.
#pragma once

#include "platform/graphics/cgcolor.h"
#include "platform/runtime/runtime.h"

class UIColor : public NSObject {
    VEY_CLASS(UIColor)
  public:
    static Ref<UIColor> colorWithRed(double r, double g, double b, double a);
    static Ref<UIColor> colorWithWhite(double white, double alpha);
    static Ref<UIColor> whiteColor() { return colorWithWhite(1, 1); }
    static Ref<UIColor> blackColor() { return colorWithWhite(0, 1); }
    bool getRed(double* r, double* g, double* b, double* a) const;
    CGColorRef CGColor() const { return &rgba_; }
    const struct CGColor& rgba() const { return rgba_; }
    // Makes this colour the fill of the current graphics context.
    void setFill() const;

    bool isEqual(const NSObject* other) const override;
    std::string description() const override;

  private:
    struct CGColor rgba_;
};
