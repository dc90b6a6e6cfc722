// Small hooks that record host objects for the other subsystems or adjust host views around
// the player.
#include "entry/hooks.h"

void CSActivityItemContentView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_CSActivityItemContentView_layoutSubviews, self, _cmd);
}

void CSMainPageView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_CSMainPageView_layoutSubviews, self, _cmd);
}

id CSCoverSheetView_initWithFrame(id self, SEL _cmd, CGRect frame) {
    return callIMP<id>(orig_CSCoverSheetView_initWithFrame, self, _cmd, frame);
}

void SpringBoard_applicationDidFinishLaunching(id self, SEL _cmd, id application) {
    callIMP(orig_SpringBoard_applicationDidFinishLaunching, self, _cmd, application);
}

void CSTeachableMomentsContainerView_layoutCallToActionLabel(id self, SEL _cmd) {
    callIMP(orig_CSTeachableMomentsContainerView_layoutCallToActionLabel, self, _cmd);
}

void SBUICallToActionLabel_didMoveToWindow(id self, SEL _cmd) {
    callIMP(orig_SBUICallToActionLabel_didMoveToWindow, self, _cmd);
}

void SBUICallToActionLabel_updateLabelTextWithLanguage(id self, SEL _cmd, id language) {
    callIMP(orig_SBUICallToActionLabel_updateLabelTextWithLanguage, self, _cmd, language);
}
