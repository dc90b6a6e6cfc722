// The artwork's slide after a rewind or skip pressed on the player: the old artwork leaves to
// one side, the new one comes in from the other.
#include "entry/properties.h"
#include "entry/state.h"
#include "media/now_playing.h"
#include "platform/uikit/uikit.h"

namespace {

constexpr double kSlideScale = 0.85;
constexpr double kSlideDistance = 0.4; // of the cover sheet's width

CGAffineTransform slidTo(double x) {
    return CGAffineTransformScale(CGAffineTransformMakeTranslation(x, 0), kSlideScale, kSlideScale);
}

double coverSheetWidth() {
    return coversheetView ? coversheetView->bounds().size.width : 0;
}

UIView* artworkView() {
    return attached(coversheetView, prop::artworkImageView);
}

void slideIn() {
    UIView::animateWithDuration(
        0.2, 0.2, 0,
        [] {
            if (UIView* artwork = artworkView()) {
                artwork->setTransform(CGAffineTransformIdentity);
                artwork->setAlpha(1);
            }
            if (UIView* background = attached(coversheetView, prop::veyBackgroundArtwork))
                background->setAlpha(hidden ? 0 : 1);
        },
        [](bool) { animating = NO; });
}

} // namespace

void slideArtwork() {
    UIView::animateWithDuration(
        0.2, 0, 0,
        [] {
            // A slide already under way is left to finish.
            if (animating) return;
            animating = YES;
            UIView* artwork = artworkView();
            if (artwork) artwork->setAlpha(0);
            double w = coverSheetWidth();
            if (minimized) {
                if (artwork) artwork->setTransform(slidTo(0));
            } else if (prevAction == action::kRewind) {
                skippedTrack = YES;
                if (artwork) artwork->setTransform(slidTo(kSlideDistance * w));
            } else if (prevAction == action::kSkip) {
                skippedTrack = NO;
                if (artwork) artwork->setTransform(slidTo(-kSlideDistance * w));
            }
        },
        [](bool) {
            if (!minimized) {
                double x = (skippedTrack ? -kSlideDistance : kSlideDistance) * coverSheetWidth();
                if (UIView* artwork = artworkView()) artwork->setTransform(slidTo(x));
            }
            slideIn();
        });
}
