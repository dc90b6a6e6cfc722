// Gesture recognisers. The host recognises nothing from touches: it fires a recogniser (or
// delivers a swipe to a view), and the recogniser sends its actions by selector.
#pragma once

#include "platform/uikit/view.h"
#include "platform/uikit/weak.h"

#include <string_view>

using UIGestureRecognizerState = NSInteger;
constexpr UIGestureRecognizerState UIGestureRecognizerStatePossible = 0;
constexpr UIGestureRecognizerState UIGestureRecognizerStateEnded = 3;

class UIGestureRecognizer : public NSObject {
    VEY_CLASS(UIGestureRecognizer)
  public:
    // initWithTarget:action: for this class or a subclass. Targets are not retained.
    template <class T = UIGestureRecognizer> static Ref<T> make(id target, SEL action) {
        Ref<T> recognizer = alloc<T>();
        recognizer->addTarget(target, action);
        return recognizer;
    }
    template <class T = UIGestureRecognizer>
    static Ref<T> make(id target, std::string_view action) {
        return make<T>(target, sel(action));
    }
    void addTarget(id target, SEL action);
    UIView* view() const { return view_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    UIGestureRecognizerState state() const { return state_; }

    // Recognises now: sends every action (with the recogniser as argument when the selector
    // takes one). Does nothing when disabled or not attached to a view.
    void fire();

  private:
    friend class UIView;
    struct Target {
        Weak<NSObject> target;
        SEL action;
    };
    std::vector<Target> targets_;
    UIView* view_ = nullptr; // the view holds the recogniser
    bool enabled_ = true;
    UIGestureRecognizerState state_ = UIGestureRecognizerStatePossible;
};

using UISwipeGestureRecognizerDirection = NSUInteger;
constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionRight = 1 << 0;
constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionLeft = 1 << 1;
constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionUp = 1 << 2;
constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionDown = 1 << 3;

class UISwipeGestureRecognizer : public UIGestureRecognizer {
    VEY_CLASS(UISwipeGestureRecognizer)
  public:
    UISwipeGestureRecognizerDirection direction() const { return direction_; }
    void setDirection(UISwipeGestureRecognizerDirection direction) { direction_ = direction; }

    // A swipe that starts on `view`: from that view up through its ancestors, the first view
    // with an enabled swipe recogniser for the direction fires its first such recogniser (the
    // platform's recognisers on one view exclude each other). Returns whether one fired.
    static bool deliverSwipe(UIView* view, UISwipeGestureRecognizerDirection direction);

  private:
    UISwipeGestureRecognizerDirection direction_ = UISwipeGestureRecognizerDirectionRight;
};
