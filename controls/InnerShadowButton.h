// InnerShadowButton: the player's panel, a button that strokes an outline along the inside of
// its bounds, following its layer's rounded corners. Registered with the runtime under its own
// name; its accessors and drawRect: are runtime methods.
#pragma once

#include "platform/graphics/path.h"
#include "platform/uikit/uikit.h"

class InnerShadowButton : public UIButton {
    VEY_CLASS(InnerShadowButton)
  public:
    UIColor* outlineColor() const { return outlineColor_; }
    // Neither setter requests a redraw: callers that change a visible button do.
    void setOutlineColor(UIColor* color) { outlineColor_ = color; }
    double outlineWidth() const { return outlineWidth_; }
    void setOutlineWidth(double width) { outlineWidth_ = width; }

    // The outline's path for the current bounds and corner radius; nil when the outline is wider
    // than the bounds allow.
    Ref<UIBezierPath> outlinePath() const;
    // Strokes the outline into the current context (after the button's own drawing).
    void drawOutline() const;

  private:
    Ref<UIColor> outlineColor_;
    double outlineWidth_ = 0;
};
