// The host's timeline, adopted into the player and restyled.
#include "entry/hooks.h"

void CSCoverSheetView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_CSCoverSheetView_layoutSubviews, self, _cmd);
}

void MediaControlsTimeControl_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_MediaControlsTimeControl_layoutSubviews, self, _cmd);
}

void MRUNowPlayingTimeControlsView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_MRUNowPlayingTimeControlsView_layoutSubviews, self, _cmd);
}

void MRUNowPlayingTimeControlsView_setFrame(id self, SEL _cmd, CGRect frame) {
    callIMP(orig_MRUNowPlayingTimeControlsView_setFrame, self, _cmd, frame);
}
