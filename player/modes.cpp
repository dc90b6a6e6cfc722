// Switching between the maxi and mini layouts, and collapsing the mini player.
#include "player/modes.h"
#include "entry/hooks.h"
#include "player/views.h"

using namespace player;

namespace {

CGSize playerSize(UIView* sheet) {
    UIView* root = attached(sheet, prop::veyView);
    return root ? root->bounds().size : CGSize{};
}

void fadeBackgroundArtwork(double alpha) {
    animate(0.65, 0, [alpha] {
        if (auto* background = attached(coversheetView.get(), prop::veyBackgroundArtwork))
            background->setAlpha(alpha);
    });
}

// Slides the mini player down until only its top 0.2 W shows, whatever its bottom offset.
void collapse(UIView* sheet) {
    CGSize size = playerSize(sheet);
    double W = size.width;
    fadeBackgroundArtwork(0);
    spring(0.45, 0, [&] {
        if (auto* dismiss = attached(sheet, prop::veyDissmissButton))
            dismiss->setTransform(
                translatedScaled(0.045 * W - 0.5 * W + (0.07 * W * 3) / 4, 0, 1, 1));
        if (auto* icon = attached(sheet, prop::dismissIcon))
            icon->setTransform(translatedScaled(0, 0, 0.5, 0.5));
        if (auto* root = attached(sheet, prop::veyView))
            root->setTransform(CGAffineTransformMakeTranslation(
                0, size.height - 0.15 * W + W * double(miniOffset()) / 100));
        hidden = YES;
    });
    turnChevron(sheet, 0.07 * W, "chevron.up", 0);
}

void expand(UIView* sheet) {
    double W = playerSize(sheet).width;
    fadeBackgroundArtwork(1);
    spring(0.45, 0, [&] {
        if (auto* root = attached(sheet, prop::veyView))
            root->setTransform(CGAffineTransformIdentity);
        if (auto* dismiss = attached(sheet, prop::veyDissmissButton))
            dismiss->setTransform(CGAffineTransformIdentity);
        hidden = NO;
    });
    turnChevron(sheet, -0.07 * W, "chevron.down", 0.01 * W);
}

// The timer armed by a switch: collapses the mini player unless the user acted since.
void autoCollapse(UIView* sheet, std::int64_t armedAt) {
    if (!minimized || dismissed || hidden) return;
    if (request != armedAt) return;
    collapse(sheet);
}

// The old layout's controls leave; the maxi artwork shrinks and drops, the mini one slides left.
void animateControlsOut(UIView* sheet, double W) {
    UIImageView* artwork = attached(sheet, prop::artworkImageView);
    if (minimized) {
        spring(0.25, 0.05, [&] {
            if (artwork) artwork->setTransform(translatedScaled(-0.4175 * W, 0, 0.9, 0.9));
        });
        send(coversheetView.get(), "hideNotifications:", YES);
        animate(0.15, 0, [&] {
            if (auto* dismiss = attached(sheet, prop::veyDissmissButton)) {
                dismiss->setAlpha(0);
                dismiss->setTransform(CGAffineTransformMakeTranslation(0, 0.1 * W));
            }
        });
    } else {
        Ref<UIView> keep = sheet;
        animate(
            0.15, 0,
            [&] {
                if (artwork) artwork->setTransform(translatedScaled(0, 0, 0.9, 0.9));
            },
            [keep, W](bool) {
                animate(0.2, 0, [&] {
                    if (auto* artwork = attached(keep, prop::artworkImageView))
                        artwork->setTransform(translatedScaled(0, 0.2 * W, 1, 1));
                    if (auto* shown = attached(coversheetView.get(), prop::artworkImageView))
                        shown->setAlpha(0);
                });
            });
        send(coversheetView.get(), "hideNotifications:", NO);
    }

    UIButton* rewind = attached(sheet, prop::veyRewindButton);
    UIButton* skip = attached(sheet, prop::veySkipButton);
    UILabel* artist = attached(sheet, prop::veyArtistLabel);
    UIButton* route = attached(sheet, prop::veyAirplayButton);
    animate(0.2, 0.05, [&] {
        for (UIView* view : {static_cast<UIView*>(rewind), static_cast<UIView*>(skip),
                             static_cast<UIView*>(artist),
                             static_cast<UIView*>(attached(sheet, prop::nowPlayingAppIcon)),
                             newTimeSlider.get(), static_cast<UIView*>(route)})
            if (view) view->setAlpha(0);
        if (route) route->setTransform(CGAffineTransformMakeScale(0.5, 0.5));
        if (rewind) rewind->setTransform(CGAffineTransformMakeTranslation(0.055 * W, 0));
        if (skip) skip->setTransform(CGAffineTransformMakeTranslation(-0.055 * W, 0));
        if (artist)
            artist->setTransform(
                CGAffineTransformMakeTranslation(0, (minimized ? 0.04 : -0.04) * W));
    });

    UIButton* pause = attached(sheet, prop::veyPauseButton);
    if (pause) pause->setTransform(CGAffineTransformMakeScale(1, 1));
    animate(0.2, 0.15, [&] {
        if (pause) {
            pause->setAlpha(0);
            pause->setTransform(CGAffineTransformMakeScale(1.0, 0.1));
        }
        if (auto* song = attached(sheet, prop::veySongLabel)) song->setAlpha(0);
        if (auto* panel = attached(sheet, prop::veyMiniBackgroundView)) {
            panel->setTransform(CGAffineTransformMakeScale(0.9, 0.7));
            panel->setAlpha(0);
        }
    });
}

} // namespace

namespace player {

Ref<UIImage> chevron(std::string_view name) {
    Ref<UIImage> symbol = UIImage::systemImageNamed(name, nullptr);
    return symbol ? symbol->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate) : nullptr;
}

void turnChevron(UIView* sheet, double away, std::string_view becomes, double rest) {
    Ref<UIView> keep = sheet;
    animate(
        0.2, 0.05,
        [&] {
            if (auto* icon = attached(sheet, prop::dismissIcon))
                icon->setTransform(translatedScaled(0, away, 1, 1));
        },
        [keep, away, becomes = std::string(becomes), rest](bool) {
            UIImageView* icon = attached(keep, prop::dismissIcon);
            if (!icon) return;
            if (!becomes.empty()) icon->setImage(chevron(becomes));
            icon->setTransform(translatedScaled(0, -away, 1, 1));
            animate(0.2, 0, [&] { icon->setTransform(translatedScaled(0, rest, 0.5, 0.5)); });
        });
}

} // namespace player

void CSCoverSheetView_hideVeyView(id self, SEL) {
    UIView* sheet = cast<UIView>(self);
    if (!sheet) return;
    request += 4;
    if (auto* source = attached(sheet, prop::veySourceLabel))
        source->setHidden(!showDeviceNameSwitch);
    // No second tap until the rebuilt player shows its own artwork button.
    if (auto* artworkButton = attached(sheet, prop::veyArtworkButton))
        artworkButton->setHidden(YES);
    animateControlsOut(sheet, playerSize(sheet).width);

    Ref<UIView> keep = sheet;
    if (std::int64_t seconds = NSStringIntValue(dismissTimeout)) {
        std::int64_t armedAt = request;
        dispatch_after(dispatch_time(DISPATCH_TIME_NOW, seconds * NSEC_PER_SEC),
                       dispatch_get_main_queue(), [keep, armedAt] { autoCollapse(keep, armedAt); });
    }
    // Each switch rebuilds on its own, reading the layout flag when it runs.
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 300 * NSEC_PER_MSEC), dispatch_get_main_queue(),
                   [keep] { rebuildPlayer(keep); });
}

void CSCoverSheetView_minimizeMiniPlayer(id self, SEL) {
    UIView* sheet = cast<UIView>(self);
    if (!sheet) return;
    if (!minimized) {
        send(self, "hideVeyView");
        return;
    }
    dismissed = YES;
    if (hidden)
        expand(sheet);
    else
        collapse(sheet);
    // Each manual action opens its own window; the earliest to close clears it.
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 5 * NSEC_PER_SEC), dispatch_get_main_queue(),
                   [] { dismissed = NO; });
}
