// Hiding the notification list and the stock player around the player.
#include "entry/hooks.h"

void CSAdjunctItemView_updateSizeToMimic(id self, SEL _cmd) {
    callIMP(orig_CSAdjunctItemView_updateSizeToMimic, self, _cmd);
}

void CSAdjunctListView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_CSAdjunctListView_layoutSubviews, self, _cmd);
}

void CSNotificationAdjunctListViewController_viewDidLoad(id self, SEL _cmd) {
    callIMP(orig_CSNotificationAdjunctListViewController_viewDidLoad, self, _cmd);
}

void CSCoverSheetView_hidePlayer(id, SEL) {}

void CSCoverSheetView_hideNotifications(id, SEL, bool) {}
