// Hiding the notification list and the stock player around the player.
#include "entry/hooks.h"
#include "entry/state.h"
#include "platform/uikit/uikit.h"

#include <cstdint>

namespace {

constexpr UIViewAnimationOptions kEaseOut = UIViewAnimationOptionCurveEaseOut;
constexpr double kFadeDuration = 0.25, kFadeDelay = 0.05;
constexpr double kHideAfter = 0.3;
constexpr double kRiseDuration = 0.45, kRiseDelay = 0.25, kRiseStagger = 0.1;
constexpr double kRiseFrom = 0.07; // of the cover sheet's height, below the resting place
constexpr double kRiseSqueeze = 0.9;
constexpr int kShown = -1, kHidden = 1;

// Counts the show calls. A delayed hide acts only while no show has come since its own hide
// call: a show within the fade (a tap into the mini player just as a track starts) would
// otherwise leave the notifications hidden while everything says they are shown.
std::uint64_t shows = 0;

void fadeOut(UIView* view) {
    UIView::animateWithDuration(kFadeDuration, kFadeDelay, kEaseOut, [view] { view->setAlpha(0); });
    Ref<UIView> keep = view;
    std::uint64_t showsAtHide = shows;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, secondsToNanos(kHideAfter)),
                   dispatch_get_main_queue(), [keep, showsAtHide] {
                       if (shows == showsAtHide) keep->setHidden(YES);
                   });
}

// Brings a view back rising from below, squeezed, the n-th list a tenth of a second later.
void riseIn(UIView* view, double sheetHeight, int n) {
    if (prevNotification == kHidden) {
        view->setAlpha(0);
        view->setHidden(NO);
        view->setTransform(CGAffineTransformScale(
            CGAffineTransformMakeTranslation(0, kRiseFrom * sheetHeight), 1.0, kRiseSqueeze));
    }
    Ref<UIView> keep = view;
    UIView::animateWithDuration(kRiseDuration, kRiseDelay + kRiseStagger * n, kEaseOut, [keep] {
        keep->setAlpha(1);
        keep->setTransform(CGAffineTransformIdentity);
    });
}

bool isNamed(UIView* view, std::string_view name) {
    return NSStringFromClassName(object_getClass(view)) == name;
}

// The height is pinned at zero; an existing pin is kept rather than stacked, as the host asks
// for this at every resize and layout pass.
void pinZeroHeight(UIView* view) {
    for (NSLayoutConstraint* c : NSLayoutConstraint::activeConstraints())
        if (c->firstItem() == view && c->firstAttribute() == NSLayoutAttributeHeight &&
            !c->secondItem() && c->constant() == 0)
            return;
    view->heightAnchor()->constraintEqualToConstant(0)->setActive(YES);
}

void collapse(UIView* view) {
    pinZeroHeight(view);
    view->setHidden(YES);
    view->layer()->setMasksToBounds(YES);
}

} // namespace

void CSAdjunctItemView_updateSizeToMimic(id self, SEL _cmd) {
    callIMP(orig_CSAdjunctItemView_updateSizeToMimic, self, _cmd);
    send(coversheetView, "hidePlayer");
}

void CSAdjunctListView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_CSAdjunctListView_layoutSubviews, self, _cmd);
    if (UIView* list = cast<UIView>(self)) {
        list->setHidden(YES);
        pinZeroHeight(list);
    }
}

void CSNotificationAdjunctListViewController_viewDidLoad(id self, SEL _cmd) {
    callIMP(orig_CSNotificationAdjunctListViewController_viewDidLoad, self, _cmd);
    // "darkMode" asks for the light style (1), not the dark one.
    if (auto* controller = cast<UIViewController>(self))
        controller->setOverrideUserInterfaceStyle(
            styleValue == "darkMode" ? UIUserInterfaceStyleLight : UIUserInterfaceStyleUnspecified);
}

// The host's platter, and every adjunct item after the first, collapsed out of sight.
void CSCoverSheetView_hidePlayer(id, SEL) {
    if (originalPlayerView) collapse(originalPlayerView);
    if (!defaultPlayerViewParent) return;
    static Class itemClass = objc_getClass("CSAdjunctItemView");
    bool first = true;
    std::vector<Ref<UIView>> children = defaultPlayerViewParent->subviews();
    for (UIView* child : children) {
        if (!isKindOfClass(child, itemClass)) continue;
        if (!first) collapse(child);
        first = false;
    }
}

void CSCoverSheetView_hideNotifications(id self, SEL, bool hide) {
    if (!hide) shows++;
    UIView* sheet = cast<UIView>(self);
    double sheetHeight = sheet ? sheet->bounds().size.height : 0;
    int lists = 0;
    std::vector<Ref<UIView>> children =
        notificationView ? notificationView->subviews() : std::vector<Ref<UIView>>{};
    for (UIView* child : children) {
        if (isNamed(child, "NCNotificationListView")) {
            lists++;
            if (!hide) {
                riseIn(child, sheetHeight, lists);
            } else if (prevNotification == kShown) {
                child->setAlpha(1);
                child->setHidden(NO);
                fadeOut(child);
            }
        } else if (isNamed(child, "UIStackView") && hideNotificationTweaks) {
            if (!hide) {
                riseIn(child, sheetHeight, lists);
            } else {
                // Unlike the list, the stack is faded and hidden again on every hide.
                if (prevNotification == kShown) {
                    child->setAlpha(1);
                    child->setHidden(NO);
                }
                fadeOut(child);
            }
        }
    }
    prevNotification = hide ? kHidden : kShown;
}
