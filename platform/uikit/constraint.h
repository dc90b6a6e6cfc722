// Auto Layout: anchors and equality constraints between views of one tree.
//
// How a layout pass solves a tree (layout.cpp): every view with
// translatesAutoresizingMaskIntoConstraints NO that an active constraint mentions gets two
// unknowns per axis, its minimum edge and its size, in the coordinates of the tree's root
// (transforms are ignored, as Auto Layout ignores them). Every other view is a known rectangle
// (its current frame, placed by its ancestors). Each axis is solved on its own:
//   1. Constraints are taken in activation order. One that contradicts the constraints taken
//      before it (or has a non-finite constant or multiplier) is left out of the solution; it
//      stays active and is reconsidered at every pass, so earlier constraints win a conflict.
//   2. Each constraint is solved for its first view where it can: "b.height = 2 x a.height"
//      sizes b, not a.
//   3. An unknown left free keeps its current value: sizes are fixed first (a view with only a
//      centre constraint keeps its width and moves), then positions.
//   4. A constraint between the axes (height = width) reads the other axis's solution: the
//      horizontal axis is solved first, then the vertical, then the horizontal again when a
//      width depends on a height.
// Constraints whose views are not in one tree (no common ancestor) take no part until they
// are. There is no intrinsic content size: a label's unconstrained size is its current size.
// The result is always finite and a pass always ends.
#pragma once

#include "platform/runtime/runtime.h"

#include <vector>

class UIView;

using NSLayoutAttribute = NSInteger;
constexpr NSLayoutAttribute NSLayoutAttributeNotAnAttribute = 0;
constexpr NSLayoutAttribute NSLayoutAttributeLeft = 1;
constexpr NSLayoutAttribute NSLayoutAttributeRight = 2;
constexpr NSLayoutAttribute NSLayoutAttributeTop = 3;
constexpr NSLayoutAttribute NSLayoutAttributeBottom = 4;
constexpr NSLayoutAttribute NSLayoutAttributeLeading = 5;
constexpr NSLayoutAttribute NSLayoutAttributeTrailing = 6;
constexpr NSLayoutAttribute NSLayoutAttributeWidth = 7;
constexpr NSLayoutAttribute NSLayoutAttributeHeight = 8;
constexpr NSLayoutAttribute NSLayoutAttributeCenterX = 9;
constexpr NSLayoutAttribute NSLayoutAttributeCenterY = 10;

class NSLayoutConstraint;

class NSLayoutAnchor : public NSObject {
    VEY_CLASS(NSLayoutAnchor)
  public:
    // The view the anchor belongs to (nil once it is gone).
    UIView* item() const { return view_; }
    NSLayoutAttribute attribute() const { return attribute_; }
    // Constraints are created inactive, as on the platform; the caller activates them.
    Ref<NSLayoutConstraint> constraintEqualToAnchor(NSLayoutAnchor* anchor, double constant = 0);

  protected:
    friend class UIView;
    UIView* view_ = nullptr; // cleared by the view's destructor
    NSLayoutAttribute attribute_ = NSLayoutAttributeNotAnAttribute;
};

class NSLayoutXAxisAnchor : public NSLayoutAnchor {
    VEY_CLASS(NSLayoutXAxisAnchor)
};

class NSLayoutYAxisAnchor : public NSLayoutAnchor {
    VEY_CLASS(NSLayoutYAxisAnchor)
};

class NSLayoutDimension : public NSLayoutAnchor {
    VEY_CLASS(NSLayoutDimension)
  public:
    Ref<NSLayoutConstraint> constraintEqualToConstant(double constant);
    Ref<NSLayoutConstraint> constraintEqualToAnchor(NSLayoutAnchor* anchor, double multiplier,
                                                    double constant);
    using NSLayoutAnchor::constraintEqualToAnchor;
};

// first.attribute = multiplier x second.attribute + constant (second may be absent).
class NSLayoutConstraint : public NSObject {
    VEY_CLASS(NSLayoutConstraint)
  public:
    ~NSLayoutConstraint() override;
    static Ref<NSLayoutConstraint> make(UIView* first, NSLayoutAttribute firstAttribute,
                                        UIView* second, NSLayoutAttribute secondAttribute,
                                        double multiplier, double constant);

    UIView* firstItem() const { return first_; }
    UIView* secondItem() const { return second_; }
    NSLayoutAttribute firstAttribute() const { return firstAttribute_; }
    NSLayoutAttribute secondAttribute() const { return secondAttribute_; }
    double multiplier() const { return multiplier_; }
    double constant() const { return constant_; }
    void setConstant(double constant);
    bool isActive() const { return active_; }
    // Activating marks the layout of the views' tree as needed; the views hold active
    // constraints until they are deactivated or a view is removed from the tree.
    void setActive(bool active);

    // Every active constraint, in activation order.
    static const std::vector<NSLayoutConstraint*>& activeConstraints();

  private:
    friend class UIView;
    void markLayout() const;
    UIView* first_ = nullptr; // weak: cleared (and the constraint deactivated) when a view goes
    UIView* second_ = nullptr;
    NSLayoutAttribute firstAttribute_ = NSLayoutAttributeNotAnAttribute;
    NSLayoutAttribute secondAttribute_ = NSLayoutAttributeNotAnAttribute;
    double multiplier_ = 1;
    double constant_ = 0;
    bool active_ = false;
    std::uint64_t order_ = 0;
};
