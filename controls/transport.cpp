// Rewind, play/pause and skip, and the play state the host reports back.
#include "entry/hooks.h"

void SBMediaController_isPlayingDidChange(id self, SEL _cmd, id notification) {
    callIMP(orig_SBMediaController_isPlayingDidChange, self, _cmd, notification);
}

void CSCoverSheetView_rewindSong(id, SEL) {}

void CSCoverSheetView_skipSong(id, SEL) {}

void CSCoverSheetView_pausePlaySong(id, SEL) {}
