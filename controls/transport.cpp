// Rewind, play/pause and skip, and the play state the host reports back.
#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "media/host_media.h"
#include "platform/uikit/uikit.h"

namespace {

constexpr double kPressDuration = 0.15;
constexpr double kPressDamping = 1000.0;
constexpr double kPressScale = 1.2;
constexpr double kPressShift = 0.055; // of the player's width

void pressSpring(UIView::Block animations, UIView::Completion completion = {}) {
    UIView::animateWithSpring(kPressDuration, 0, kPressDamping, 0,
                              UIViewAnimationOptionCurveEaseOut, std::move(animations),
                              std::move(completion));
}

void setButtonTransform(UIView* sheet, AttachedProperty<UIButton> name, CGAffineTransform t) {
    if (UIButton* button = attached(sheet, name)) button->setTransform(t);
}

// The button grows (and moves by `direction` x 0.055 W) and springs back. The button and the
// width are read as each block runs; the return starts whether or not the first spring
// finished, so every press ends at rest.
void animatePress(id self, AttachedProperty<UIButton> name, int direction) {
    Ref<UIView> sheet = cast<UIView>(self);
    if (!sheet) return;
    pressSpring(
        [sheet, name, direction] {
            UIView* player = attached(sheet.get(), prop::veyView);
            double w = player ? player->bounds().size.width : 0;
            CGAffineTransform moved =
                CGAffineTransformMakeTranslation(direction * kPressShift * w, 0);
            setButtonTransform(sheet, name,
                               CGAffineTransformScale(moved, kPressScale, kPressScale));
        },
        [sheet, name](bool) {
            pressSpring(
                [sheet, name] { setButtonTransform(sheet, name, CGAffineTransformIdentity); });
        });
}

} // namespace

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
