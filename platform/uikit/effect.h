// UIVisualEffectView with UIBlurEffect: the renderer blurs what lies behind the view in the
// effect's material.
#pragma once

#include "platform/uikit/view.h"

using UIBlurEffectStyle = NSInteger;
constexpr UIBlurEffectStyle UIBlurEffectStyleExtraLight = 0;
constexpr UIBlurEffectStyle UIBlurEffectStyleLight = 1;
constexpr UIBlurEffectStyle UIBlurEffectStyleDark = 2;
constexpr UIBlurEffectStyle UIBlurEffectStyleRegular = 4;
constexpr UIBlurEffectStyle UIBlurEffectStyleProminent = 5;

class UIVisualEffect : public NSObject {
    VEY_CLASS(UIVisualEffect)
};

class UIBlurEffect : public UIVisualEffect {
    VEY_CLASS(UIBlurEffect)
  public:
    static Ref<UIBlurEffect> effectWithStyle(UIBlurEffectStyle style);
    UIBlurEffectStyle style() const { return style_; }

  private:
    UIBlurEffectStyle style_ = UIBlurEffectStyleLight;
};

class UIVisualEffectView : public UIView {
    VEY_CLASS(UIVisualEffectView)
  public:
    // initWithEffect: (a nil effect shows no material). The frame starts empty.
    static Ref<UIVisualEffectView> makeWithEffect(UIVisualEffect* effect);
    UIView* initWithFrame(CGRect frame) override;

    UIVisualEffect* effect() const { return effect_; }
    void setEffect(UIVisualEffect* effect) { effect_ = effect; }
    // The blur style, or -1 without a blur effect.
    UIBlurEffectStyle blurStyle() const;
    // Where content goes: a full-size subview that follows the effect view's size.
    UIView* contentView() const { return contentView_; }

  private:
    Ref<UIVisualEffect> effect_;
    Ref<UIView> contentView_;
};
