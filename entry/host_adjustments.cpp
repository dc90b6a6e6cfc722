// Small hooks that record host objects for the other subsystems or adjust host views around
// the player.
#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/uikit/uikit.h"

namespace {

// The call-to-action label shows exactly while the player's root view is hidden. Without a
// cover sheet or player the player counts as shown, so the label hides.
bool callToActionHidden() {
    UIView* player = attached(coversheetView, prop::veyView);
    return !(player && player->isHidden());
}

} // namespace

void CSActivityItemContentView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_CSActivityItemContentView_layoutSubviews, self, _cmd);
    UIView* item = cast<UIView>(self);
    UIView* parent = item ? item->superview() : nullptr;
    originalPlayerView = parent ? parent->superview() : nullptr;
}

void CSMainPageView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_CSMainPageView_layoutSubviews, self, _cmd);
    UIView* page = cast<UIView>(self);
    if (!page) return;
    Class base = objc_getClass("CSCoverSheetViewBase");
    // Copy: recording must not be disturbed by a tree that changes under it.
    std::vector<Ref<UIView>> pages = page->subviews();
    for (UIView* candidate : pages) {
        if (!isKindOfClass(candidate, base)) continue;
        // A page view too shallow to hold the notification container records nothing.
        if (candidate->subviews().size() < 2 || candidate->subviews()[1]->subviews().empty())
            continue;
        notificationsViewList = candidate;
        notificationView = candidate->subviews()[1]->subviews()[0];
        for (UIView* child : notificationView->subviews())
            if (NSStringFromClassName(object_getClass(child)) == "UIStackView")
                defaultPlayerViewParent = cast<UIStackView>(child);
    }
}

id CSCoverSheetView_initWithFrame(id self, SEL _cmd, CGRect frame) {
    id result = callIMP<id>(orig_CSCoverSheetView_initWithFrame, self, _cmd, frame);
    coversheetView = cast<UIView>(self);
    return result;
}

void SpringBoard_applicationDidFinishLaunching(id self, SEL _cmd, id application) {
    callIMP(orig_SpringBoard_applicationDidFinishLaunching, self, _cmd, application);
    static Class mediaController = objc_getClass("SBMediaController");
    id controller = respondsToSelector(mediaController, sel("sharedInstance"))
                        ? send<id>(mediaController, "sharedInstance")
                        : nullptr;
    send(controller, "setNowPlayingInfo:", static_cast<id>(nullptr));
}

void CSTeachableMomentsContainerView_layoutCallToActionLabel(id self, SEL _cmd) {
    callIMP(orig_CSTeachableMomentsContainerView_layoutCallToActionLabel, self, _cmd);
    // A container without the label reads nil: nothing to do.
    id label = send<id>(self, "valueForKey:", NSString::make("_callToActionLabel"));
    if (UIView* view = cast<UIView>(label)) view->setHidden(callToActionHidden());
}

void SBUICallToActionLabel_didMoveToWindow(id self, SEL _cmd) {
    callIMP(orig_SBUICallToActionLabel_didMoveToWindow, self, _cmd);
    if (UIView* view = cast<UIView>(self)) view->setHidden(callToActionHidden());
}

void SBUICallToActionLabel_updateLabelTextWithLanguage(id self, SEL _cmd, id language) {
    callIMP(orig_SBUICallToActionLabel_updateLabelTextWithLanguage, self, _cmd, language);
    if (UIView* view = cast<UIView>(self)) view->setHidden(callToActionHidden());
}
