// Rewind, play/pause and skip, and the play state the host reports back.
#include "controls/press.h"
#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "media/host_media.h"
#include "platform/uikit/uikit.h"

void SBMediaController_isPlayingDidChange(id self, SEL _cmd, id notification) {
    callIMP(orig_SBMediaController_isPlayingDidChange, self, _cmd, notification);
    bool playing = send<bool>(self, "isPlaying");
    if (UIImageView* icon = attached(coversheetView, prop::pausePlayIcon)) {
        Ref<UIImage> symbol = UIImage::systemImageNamed(playing ? "pause.fill" : "play.fill");
        icon->setImage(symbol ? symbol->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate)
                              : nullptr);
    }
    // Kept even without an icon: the layout rebuild chooses the icon from it.
    isPlayingMusic = playing;
}

// Rewind records +1 and skip -1 although they change the track by -1 and +1: the now-playing
// update only asks whether a track change came from the player.
void CSCoverSheetView_rewindSong(id self, SEL) {
    prevAction = action::kRewind;
    hostChangeTrack(-1);
    animatePress(self, prop::veyRewindButton, -1);
}

void CSCoverSheetView_skipSong(id self, SEL) {
    prevAction = action::kSkip;
    hostChangeTrack(+1);
    animatePress(self, prop::veySkipButton, +1);
}

void CSCoverSheetView_pausePlaySong(id self, SEL) {
    prevAction = action::kPlayPause;
    hostTogglePlayPause();
    animatePress(self, prop::veyPauseButton, 0);
}
