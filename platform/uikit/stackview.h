// UIStackView: lays its visible arranged subviews out one after another along its axis, each
// filling the cross axis, at their current lengths plus the spacing.
#pragma once

#include "platform/uikit/view.h"

using UILayoutConstraintAxis = NSInteger;
constexpr UILayoutConstraintAxis UILayoutConstraintAxisHorizontal = 0;
constexpr UILayoutConstraintAxis UILayoutConstraintAxisVertical = 1;

class UIStackView : public UIView {
    VEY_CLASS(UIStackView)
  public:
    const std::vector<Ref<UIView>>& arrangedSubviews() const { return arranged_; }
    void addArrangedSubview(UIView* view);
    void insertArrangedSubview(UIView* view, std::size_t index);
    // Stops arranging the view; it stays a subview, as on the platform.
    void removeArrangedSubview(UIView* view);
    UILayoutConstraintAxis axis() const { return axis_; }
    void setAxis(UILayoutConstraintAxis axis);
    double spacing() const { return spacing_; }
    void setSpacing(double spacing);

    void layoutSubviews() override;
    void willRemoveSubview(UIView* view) override;

  private:
    std::vector<Ref<UIView>> arranged_;
    UILayoutConstraintAxis axis_ = UILayoutConstraintAxisHorizontal;
    double spacing_ = 0;
};
