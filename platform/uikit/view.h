// UIResponder and UIView: the view tree, geometry (centre, bounds and transform, with the frame
// derived from them as CoreGraphics does), drawing state, layout passes and the animation
// records that give presentation values.
//
// Selectors a plug-in may hook are sent through the runtime by the host: initWithFrame:,
// setFrame:, layoutSubviews, didMoveToWindow, drawRect:, _viewControllerForAncestor. Their
// runtime implementations call the C++ virtuals below, so a C++ subclass overrides the virtual
// and a hook sees every call. Everything else is a plain member.
#pragma once

#include "platform/graphics/geometry.h"
#include "platform/uikit/animation.h"
#include "platform/uikit/color.h"
#include "platform/uikit/layer.h"

#include <array>
#include <functional>
#include <vector>

class UIWindow;
class UIViewController;
class UIGestureRecognizer;
class NSLayoutAnchor;
class NSLayoutXAxisAnchor;
class NSLayoutYAxisAnchor;
class NSLayoutDimension;

class UIResponder : public NSObject {
    VEY_CLASS(UIResponder)
  public:
    // The next object in the responder chain: a view's controller when it is the controller's
    // root view, else its superview; a controller's view's superview.
    virtual UIResponder* nextResponder() const { return nullptr; }
};

using UIViewContentMode = NSInteger;
constexpr UIViewContentMode UIViewContentModeScaleToFill = 0;
constexpr UIViewContentMode UIViewContentModeScaleAspectFit = 1;
constexpr UIViewContentMode UIViewContentModeScaleAspectFill = 2;
constexpr UIViewContentMode UIViewContentModeRedraw = 3;
constexpr UIViewContentMode UIViewContentModeCenter = 4;

using UIViewAutoresizing = NSUInteger;
constexpr UIViewAutoresizing UIViewAutoresizingNone = 0;
constexpr UIViewAutoresizing UIViewAutoresizingFlexibleLeftMargin = 1 << 0;
constexpr UIViewAutoresizing UIViewAutoresizingFlexibleWidth = 1 << 1;
constexpr UIViewAutoresizing UIViewAutoresizingFlexibleRightMargin = 1 << 2;
constexpr UIViewAutoresizing UIViewAutoresizingFlexibleTopMargin = 1 << 3;
constexpr UIViewAutoresizing UIViewAutoresizingFlexibleHeight = 1 << 4;
constexpr UIViewAutoresizing UIViewAutoresizingFlexibleBottomMargin = 1 << 5;

using UIUserInterfaceStyle = NSInteger;
constexpr UIUserInterfaceStyle UIUserInterfaceStyleUnspecified = 0;
constexpr UIUserInterfaceStyle UIUserInterfaceStyleLight = 1;
constexpr UIUserInterfaceStyle UIUserInterfaceStyleDark = 2;

class UIView : public UIResponder {
    VEY_CLASS(UIView)
  public:
    UIView();
    ~UIView() override;

    // The creation path: alloc, then "initWithFrame:" (or "init", which sends initWithFrame:
    // with a zero frame) through the runtime, so a hook on either sees the new view.
    template <class T = UIView> static Ref<T> make(CGRect frame) {
        Ref<T> view = alloc<T>();
        send<id>(view.get(), "initWithFrame:", frame);
        return view;
    }
    template <class T = UIView> static Ref<T> make() {
        Ref<T> view = alloc<T>();
        send<id>(view.get(), "init");
        return view;
    }
    // Runtime implementation of initWithFrame: (subclasses extend it, calling the base first).
    virtual UIView* initWithFrame(CGRect frame);

    // Geometry. The frame is the bounding box of the bounds, transformed about the centre.
    CGRect frame() const;
    // Sends setFrame: (hookable). The layout pass uses it too for frames solved by Auto Layout.
    void setFrame(CGRect frame);
    // Runtime implementation of setFrame:. With a scale/translation transform the centre and
    // the bounds size are solved back from the transformed frame; a zero scale keeps the size.
    virtual void setFrameImpl(CGRect frame);
    CGRect bounds() const { return bounds_; }
    void setBounds(CGRect bounds);
    CGPoint center() const { return center_; }
    void setCenter(CGPoint center);
    CGAffineTransform transform() const { return transform_; }
    void setTransform(CGAffineTransform transform);

    double alpha() const { return alpha_; }
    void setAlpha(double alpha);
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    UIColor* backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(UIColor* color);
    // The view's own tint, else the nearest ancestor's, else the system blue.
    UIColor* tintColor() const;
    UIColor* ownTintColor() const { return tintColor_; }
    void setTintColor(UIColor* color) { tintColor_ = color; }
    UIViewContentMode contentMode() const { return contentMode_; }
    void setContentMode(UIViewContentMode mode) { contentMode_ = mode; }
    void setAutoresizingMask(UIViewAutoresizing mask) { autoresizingMask_ = mask; }
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    bool clipsToBounds() const { return layer_->masksToBounds(); }
    void setClipsToBounds(bool clips) { layer_->setMasksToBounds(clips); }
    NSInteger tag() const { return tag_; }
    void setTag(NSInteger tag) { tag_ = tag; }
    UIUserInterfaceStyle overrideUserInterfaceStyle() const { return interfaceStyle_; }
    void setOverrideUserInterfaceStyle(UIUserInterfaceStyle style) { interfaceStyle_ = style; }
    CALayer* layer() const { return layer_; }

    // The tree. Adding a view that has a superview moves it; adding a view to itself or to
    // one of its descendants is ignored.
    UIView* superview() const { return superview_; }
    const std::vector<Ref<UIView>>& subviews() const { return subviews_; }
    UIWindow* window() const { return window_; }
    void addSubview(UIView* view);
    // Indexes past the end append; negative ones insert at the back.
    void insertSubview(UIView* view, NSInteger index);
    // Also deactivates the constraints that tie this subtree to views outside it.
    void removeFromSuperview();
    bool isDescendantOfView(const UIView* view) const;
    // Runtime implementation of didMoveToWindow, sent to each view whose window changed.
    virtual void didMoveToWindow() {}
    // Plain notifications for subclasses.
    virtual void didMoveToSuperview() {}
    virtual void didAddSubview(UIView*) {}
    virtual void willRemoveSubview(UIView*) {}

    // Layout. Passes run after each main-queue turn that marked a view (see layout.h).
    void setNeedsLayout();
    bool needsLayout() const { return needsLayout_; }
    // Runs the pending layout of this view's part of the tree now.
    void layoutIfNeeded();
    // Runtime implementation of layoutSubviews: places the subviews that Auto Layout solved.
    virtual void layoutSubviews();

    // Drawing. The renderer calls displayIfNeeded before drawing a view's own content.
    void setNeedsDisplay() { needsDisplay_ = true; }
    bool needsDisplay() const { return needsDisplay_; }
    void displayIfNeeded();
    // Runtime implementation of drawRect: (draws nothing for a plain view).
    virtual void drawRect(CGRect) {}

    // Auto Layout (constraint.h).
    bool translatesAutoresizingMaskIntoConstraints() const { return translatesMask_; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates);
    NSLayoutXAxisAnchor* leadingAnchor();
    NSLayoutXAxisAnchor* trailingAnchor();
    NSLayoutXAxisAnchor* leftAnchor();
    NSLayoutXAxisAnchor* rightAnchor();
    NSLayoutXAxisAnchor* centerXAnchor();
    NSLayoutYAxisAnchor* topAnchor();
    NSLayoutYAxisAnchor* bottomAnchor();
    NSLayoutYAxisAnchor* centerYAnchor();
    NSLayoutDimension* widthAnchor();
    NSLayoutDimension* heightAnchor();

    // Gestures.
    const std::vector<Ref<UIGestureRecognizer>>& gestureRecognizers() const { return gestures_; }
    void addGestureRecognizer(UIGestureRecognizer* recognizer);
    void removeGestureRecognizer(UIGestureRecognizer* recognizer);

    // Coordinates (model values; transforms of the views on the way are applied).
    CGPoint convertPointToView(CGPoint point, const UIView* view) const;
    CGRect convertRectToView(CGRect rect, const UIView* view) const;

    // Responders. The controller whose root view this is (set by the controller).
    UIResponder* nextResponder() const override;
    UIViewController* viewController() const;
    // Sends _viewControllerForAncestor: the controller of the nearest view, from this one up.
    UIViewController* viewControllerForAncestor();

    // Presentation values at the main queue's current time (or at `now`, virtual nanoseconds).
    double presentationAlpha() const;
    double presentationAlpha(std::int64_t now) const;
    CGAffineTransform presentationTransform() const;
    CGAffineTransform presentationTransform(std::int64_t now) const;
    CGPoint presentationCenter() const;
    CGPoint presentationCenter(std::int64_t now) const;
    CGRect presentationBounds() const;
    CGRect presentationBounds(std::int64_t now) const;
    CGRect presentationFrame() const;
    // Nil when the view has no background colour and none is animating.
    Ref<UIColor> presentationBackgroundColor() const;
    Ref<UIColor> presentationBackgroundColor(std::int64_t now) const;
    // Animation records, oldest first; ended ones are dropped when the next one is recorded.
    const std::vector<UIPropertyAnimation>& animations() const { return animations_; }
    // Transitions recorded on this view, oldest first; ended ones (progressAt 1) are dropped
    // when the next one starts.
    const std::vector<UIViewTransition>& transitions() const { return transitions_; }
    bool hasRunningAnimations() const;

    // Block animations (all run on the main queue; completions get finished YES).
    using Block = std::function<void()>;
    using Completion = std::function<void(bool finished)>;
    static void animateWithDuration(double duration, double delay, UIViewAnimationOptions options,
                                    Block animations, Completion completion = {});
    static void animateWithDuration(double duration, Block animations, Completion completion = {});
    // usingSpringWithDamping:initialSpringVelocity: (the velocity does not shape the curve).
    static void animateWithSpring(double duration, double delay, double dampingRatio,
                                  double velocity, UIViewAnimationOptions options, Block animations,
                                  Completion completion = {});
    // Content transition: the block's changes take effect at once, and the renderer mixes the
    // snapshot taken before the block into the new content over the duration.
    static void transitionWithView(UIView* view, double duration, UIViewAnimationOptions options,
                                   Block animations, Completion completion = {});

  private:
    friend class UIWindow;
    friend class UIViewController;
    friend class NSLayoutConstraint;
    friend struct UIViewLayoutAccess;
    friend struct UIViewSolveAccess;
    friend struct UIViewAnimationAccess;

    void attach(UIView* view, std::size_t index);
    void detachSubview(UIView* view);
    void setWindowRecursively(UIWindow* window, std::vector<Ref<UIView>>& moved);
    void resizeSubviews(CGSize oldSize);
    // Sends setFrame: with the frame that the untransformed rectangle `rect` shows under the
    // current transform; unless a hook changes that frame, the view gets `rect` exactly (even
    // under a transform that cannot be inverted, such as a zero scale).
    void placeUntransformed(CGRect rect);
    void recordAnimation(UIAnimatedProperty property, UIPropertyAnimation::Value from,
                         UIPropertyAnimation::Value to);
    template <class V> V presentation(UIAnimatedProperty property, V model, std::int64_t now) const;
    NSLayoutAnchor* anchor(int attribute);

    CGPoint center_{};
    CGRect bounds_{};
    CGAffineTransform transform_{};
    double alpha_ = 1;
    bool hidden_ = false;
    Ref<UIColor> backgroundColor_;
    Ref<UIColor> tintColor_;
    UIViewContentMode contentMode_ = UIViewContentModeScaleToFill;
    UIViewAutoresizing autoresizingMask_ = UIViewAutoresizingNone;
    bool userInteractionEnabled_ = true;
    NSInteger tag_ = 0;
    UIUserInterfaceStyle interfaceStyle_ = UIUserInterfaceStyleUnspecified;
    Ref<CALayer> layer_;

    UIView* superview_ = nullptr;
    UIWindow* window_ = nullptr;
    std::vector<Ref<UIView>> subviews_;
    UIViewController* controller_ = nullptr;
    std::vector<Ref<UIGestureRecognizer>> gestures_;

    bool needsLayout_ = false;
    bool needsDisplay_ = true;
    bool translatesMask_ = true;
    // Auto Layout's solution for this view in its superview's coordinates (untransformed),
    // valid while `solvedPass_` equals the current pass.
    CGRect solvedRect_{};
    std::uint64_t solvedPass_ = 0;
    std::uint64_t laidOutPass_ = 0;
    std::array<Ref<NSLayoutAnchor>, 10> anchors_;

    std::vector<UIPropertyAnimation> animations_;
    std::vector<UIViewTransition> transitions_;
};
