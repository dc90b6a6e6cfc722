// UIControl with target-action, and UIButton. Actions are sent by selector through the runtime,
// so methods a plug-in added to the target are reached. Targets are not retained.
#pragma once

#include "platform/graphics/image.h"
#include "platform/uikit/font.h"
#include "platform/uikit/view.h"
#include "platform/uikit/weak.h"

#include <map>
#include <string_view>

using UIControlEvents = NSUInteger;
constexpr UIControlEvents UIControlEventTouchDown = 1 << 0;
constexpr UIControlEvents UIControlEventTouchUpInside = 1 << 6;
constexpr UIControlEvents UIControlEventTouchUpOutside = 1 << 7;
constexpr UIControlEvents UIControlEventValueChanged = 1 << 12;
constexpr UIControlEvents UIControlEventPrimaryActionTriggered = 1 << 13;
constexpr UIControlEvents UIControlEventAllEvents = 0xFFFFFFFF;

using UIControlState = NSUInteger;
constexpr UIControlState UIControlStateNormal = 0;
constexpr UIControlState UIControlStateHighlighted = 1 << 0;
constexpr UIControlState UIControlStateDisabled = 1 << 1;
constexpr UIControlState UIControlStateSelected = 1 << 2;

class UIControl : public UIView {
    VEY_CLASS(UIControl)
  public:
    // A nil target sends the action up the responder chain from the control to the first
    // responder that answers it. An action selector takes no argument or the sender.
    void addTarget(id target, SEL action, UIControlEvents events);
    void addTarget(id target, std::string_view action, UIControlEvents events) {
        addTarget(target, sel(action), events);
    }
    // Sends the actions registered for any of `events`, in the order they were added.
    void sendActionsForControlEvents(UIControlEvents events);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    void setHighlighted(bool highlighted) { highlighted_ = highlighted; }
    UIControlState state() const;

  private:
    struct Action {
        Weak<NSObject> target;
        bool hasTarget;
        SEL action;
        UIControlEvents events;
    };
    std::vector<Action> actions_;
    bool enabled_ = true, highlighted_ = false;
};

using UIButtonType = NSInteger;
constexpr UIButtonType UIButtonTypeCustom = 0;
constexpr UIButtonType UIButtonTypeSystem = 1;

class UIButton : public UIControl {
    VEY_CLASS(UIButton)
  public:
    // buttonWithType: for this class or a subclass (also a runtime class method).
    template <class T = UIButton> static Ref<T> buttonWithType(UIButtonType type) {
        Ref<T> button = UIView::make<T>();
        static_cast<UIButton*>(button.get())->setButtonType(type);
        return button;
    }
    UIButtonType buttonType() const { return type_; }

    // Images and titles per state; a state without its own falls back to the normal one.
    void setImage(UIImage* image, UIControlState state);
    UIImage* imageForState(UIControlState state) const;
    UIImage* currentImage() const { return imageForState(state()); }
    NSString* titleForState(UIControlState state) const;
    UIColor* titleColorForState(UIControlState state) const;

  private:
    void setButtonType(UIButtonType type) { type_ = type; }
    UIButtonType type_ = UIButtonTypeCustom;
    std::map<UIControlState, Ref<UIImage>> images_;
    std::map<UIControlState, Ref<NSString>> titles_;
    std::map<UIControlState, Ref<UIColor>> titleColors_;
};
