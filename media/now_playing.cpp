// Carries now-playing changes from the host into the player.
#include "entry/hooks.h"

void SBMediaController_setNowPlayingInfo(id self, SEL _cmd, id info) {
    callIMP(orig_SBMediaController_setNowPlayingInfo, self, _cmd, info);
}

void MRUArtworkView_setArtworkImage(id self, SEL _cmd, id image) {
    callIMP(orig_MRUArtworkView_setArtworkImage, self, _cmd, image);
}

bool CSCoverSheetView_isSameImageAsImageInView(id, SEL, id, id) {
    return NO;
}

id CSCoverSheetView_scaleImageToSize(id, SEL, id, CGSize) {
    return nullptr;
}

void CSCoverSheetView_setImagesShouldGenerate(id, SEL, id, bool) {}
