// The host's timeline, adopted into the player and restyled.
#include "controls/media_context.h"
#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/uikit/uikit.h"

namespace {

void after(double seconds, std::function<void()> block) {
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, secondsToNanos(seconds)),
                   dispatch_get_main_queue(), std::move(block));
}

CGRect frameOf(UIView* view) {
    return view ? view->frame() : CGRectZero;
}

// Halfway between the tops of the artist label and the buttons, raised by a third of the
// timeline's own height.
double placeVertically() {
    double artist = frameOf(attached(coversheetView, prop::veyArtistLabel)).origin.y;
    double buttons = frameOf(attached(coversheetView, prop::veyPauseButton)).origin.y;
    double height = frameOf(newTimeSlider).size.height;
    yPosition = artist + ((buttons - artist) - 0.66 * height) * 0.5;
    return yPosition;
}

double centredX(double width) {
    return frameOf(attached(coversheetView, prop::veyView)).size.width * 0.5 - width * 0.5;
}

// An unset control reads as fully transparent.
double alphaOf(UIView* view) {
    return view ? view->alpha() : 0;
}

bool belongsToControlCenter(std::optional<id> delegate) {
    return delegate && isKindOfClass(*delegate, controlCenterControllerClass());
}

void setTimelineLook(double alpha, CGAffineTransform transform) {
    for (UIView* view : {timeSlider.get(), newTimeSlider.get()})
        if (view) {
            view->setAlpha(alpha);
            view->setTransform(transform);
        }
}

// The older control's width when it was last squeezed from full size. Its host may frame it
// while it is squeezed, and a frame given through that transform is a hundred times too wide
// once the control is stretched back.
double olderWidth = 0;

// The older control comes from the host's tree, framed in the host's coordinates: it is placed
// as its own layout pass would place it, at its width from before the squeeze.
void placeOlderControl(double y) {
    if (!timeSlider) return;
    CGRect bounds = timeSlider->bounds();
    if (olderWidth > 0) bounds.size.width = olderWidth;
    timeSlider->setBounds(bounds);
    timeSlider->setCenter(CGPointMake(centredX(bounds.size.width) + bounds.size.width / 2,
                                      y + bounds.size.height / 2));
}

// Shrinks the timeline to a hundredth of its width about its centre, and fades it out.
void hideTimeline() {
    if (timeSlider && CGAffineTransformIsIdentity(timeSlider->transform()))
        olderWidth = timeSlider->bounds().size.width;
    timeAnimation = YES;
    UIView::animateWithDuration(0.25, 0, 0, [] {
        setTimelineLook(0, CGAffineTransformScale(CGAffineTransformMakeTranslation(0, 0), 0.01, 1));
    });
    after(0.25, [] { timeAnimation = NO; });
}

// Only the last of a burst of layout passes gets here with its own generation.
void showTimeline(UIView* sheet, int generation) {
    if (timeAnimation || timeRequest != generation || alphaOf(timeSlider) != 0.0) return;
    timeAnimation = YES;
    double y = placeVertically();
    if (UIView* root = attached(sheet, prop::veyView)) {
        if (timeSlider) root->addSubview(timeSlider);
        if (newTimeSlider) root->addSubview(newTimeSlider);
        placeOlderControl(y);
    }
    UIView::animateWithDuration(0.3, 0.1, 0, [] {
        setTimelineLook(1, CGAffineTransformScale(CGAffineTransformMakeTranslation(0, 0), 1, 1));
    });
    after(0.4, [] { timeAnimation = NO; });
}

} // namespace

void CSCoverSheetView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_CSCoverSheetView_layoutSubviews, self, _cmd);
    int generation = ++timeRequest;
    if (!minimized) {
        Ref<UIView> sheet = cast<UIView>(self);
        after(0.2, [sheet, generation] { showTimeline(sheet, generation); });
    } else if (!timeAnimation && alphaOf(timeSlider) == 1.0) {
        hideTimeline();
    }
}

void MediaControlsTimeControl_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_MediaControlsTimeControl_layoutSubviews, self, _cmd);
    id controller = send<id>(self, "_viewControllerForAncestor");
    std::optional<id> delegate = mediaControlsDelegate(controller);
    if (!delegate || !isKindOfClass(*delegate, lockScreenControlsControllerClass())) return;
    Ref<NSObject> owner = controller;
    Ref<UIView> control = cast<UIView>(self);
    after(0.2, [owner, control] {
        std::optional<NSInteger> context = mediaControlsContext(control, owner);
        if (!context || *context < kLockScreenContext) return;
        timeSlider = control;
        if (minimized || !control) return;
        CGRect frame = control->frame();
        double y = placeVertically();
        control->setFrame(
            CGRectMake(centredX(frame.size.width), y, frame.size.width, frame.size.height));
    });
}

void MRUNowPlayingTimeControlsView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_MRUNowPlayingTimeControlsView_layoutSubviews, self, _cmd);
    id controller = send<id>(self, "_viewControllerForAncestor");
    std::optional<id> delegate = mediaControlsDelegate(controller);
    if (!delegate || belongsToControlCenter(delegate)) return;
    std::optional<NSInteger> context = mediaControlsContext(self, controller);
    if (!context || *context < kLockScreenContext) return;
    Ref<UIView> view = cast<UIView>(self);
    after(0.1, [view] {
        newTimeSlider = view;
        if (timelineNumbers) return;
        for (const char* key : {"_elapsedTimeLabel", "_remainingTimeLabel"}) {
            Ref<NSString> name = NSString::make(key);
            if (auto* label = cast<UIView>(send<id>(view.get(), "valueForKey:", name)))
                label->removeFromSuperview();
        }
    });
}

void MRUNowPlayingTimeControlsView_setFrame(id self, SEL _cmd, CGRect frame) {
    id controller = send<id>(self, "_viewControllerForAncestor");
    if (belongsToControlCenter(mediaControlsDelegate(controller))) {
        callIMP(orig_MRUNowPlayingTimeControlsView_setFrame, self, _cmd, frame);
        return;
    }
    // The mini layout holds the timeline where it is.
    if (minimized) return;
    double y = placeVertically();
    callIMP(orig_MRUNowPlayingTimeControlsView_setFrame, self, _cmd,
            CGRectMake(centredX(frame.size.width), y, frame.size.width, frame.size.height));
}
