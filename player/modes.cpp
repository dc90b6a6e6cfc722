// Switching between the maxi and mini layouts, and collapsing the mini player.
#include "entry/hooks.h"

void CSCoverSheetView_minimizeMiniPlayer(id, SEL) {}

void CSCoverSheetView_hideVeyView(id, SEL) {}
