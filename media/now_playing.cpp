// Carries now-playing changes from the host into the player: the media controller's update
// and the lock screen's artwork view.
#include "media/now_playing.h"

#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "media/ImageLoader.h"
#include "media/host_media.h"
#include "media/image_steps.h"
#include "platform/mediaremote/mediaremote.h"
#include "platform/uikit/uikit.h"

namespace {

constexpr std::string_view kNotAvailable = "N/A";

template <class T> T* playerView(AttachedProperty<T> name) {
    return attached(coversheetView, name);
}

void setLabelText(AttachedProperty<UILabel> name, NSString* text) {
    if (auto* label = attached<UILabel>(coversheetView, name)) label->setText(text);
}
void setLabelText(AttachedProperty<UILabel> name, std::string_view text) {
    if (auto* label = attached<UILabel>(coversheetView, name)) label->setText(text);
}

// Title and artist. A missing value shows "N/A" and leaves coverName / artistName alone.
void showTitleAndArtist(NSDictionary* info, bool mayDeferTitle) {
    if (Ref<NSString> title =
            nowPlayingText(nowPlayingValue(info, kMRMediaRemoteNowPlayingInfoTitle))) {
        coverName = title->str();
        // The glitch effect writes the title itself when it runs.
        if (!(mayDeferTitle && enableGlitch && shouldGlitch))
            setLabelText(prop::veySongLabel, title);
    } else {
        setLabelText(prop::veySongLabel, kNotAvailable);
    }
    if (Ref<NSString> artist =
            nowPlayingText(nowPlayingValue(info, kMRMediaRemoteNowPlayingInfoArtist))) {
        artistName = artist->str();
        setLabelText(prop::veyArtistLabel, artist);
    } else {
        setLabelText(prop::veyArtistLabel, kNotAvailable);
    }
}

void hidePlayerViews() {
    highresImage = nullptr;
    send(coversheetView, "hideNotifications:", NO);
    for (UIView* view :
         {playerView(prop::veyView), static_cast<UIView*>(playerView(prop::veyBackgroundArtwork))})
        if (view) {
            view->setAlpha(0);
            view->setHidden(YES);
        }
}

void showPlayerViews() {
    UIView* player = playerView(prop::veyView);
    UIView* background = playerView(prop::veyBackgroundArtwork);
    if (player) {
        player->setHidden(NO);
        player->setAlpha(1);
    }
    if (background) background->setHidden(NO);

    if (hidden) {
        if (player) {
            CGRect b = player->bounds();
            double w = b.size.width;
            double offset = b.size.height - 0.15 * w + w * NSStringIntValue(minOffsetValue) / 100.0;
            player->setTransform(CGAffineTransformMakeTranslation(0, offset));
        }
        if (background) background->setAlpha(0);
    } else {
        if (player) player->setTransform(CGAffineTransformIdentity);
        if (background) background->setAlpha(1);
    }
    send(coversheetView, "hideNotifications:", !minimized);

    Ref<UIView> keepPlayer = player, keepBackground = background;
    UIView::animateWithDuration(1.0, 3.0, 0, [keepPlayer] {
        if (keepPlayer) keepPlayer->setAlpha(1);
    });
    UIView::animateWithDuration(1.0, 2.0, 0, [keepBackground] {
        if (keepBackground && !hidden) keepBackground->setAlpha(1);
    });
}

// The media controller's artwork load: a new image is styled and accepted; bytes that do not
// decode ask the stock header to refresh. A pending rewind or skip then slides the artwork.
void loadControllerArtwork(NSData* data) {
    ImageLoader::loadImageFromData(data, [](UIImage* image) {
        if (image) {
            send(coversheetView, "processStyle:shouldGenerate:", image, YES);
            highresImage = image;
        } else {
            send(playingHeader, "findNeededStuff");
        }
        if (prevAction == action::kRewind || prevAction == action::kSkip) {
            if (glitchNo == 0) {
                shouldGlitch = YES;
                send(coversheetView, "startGlitchEffect");
            }
            slideArtwork();
            prevAction = action::kTrackChangeAnimated;
        } else {
            animating = NO;
        }
    });
}

void nowPlayingInfoArrived(NSDictionary* info) {
    if (!info) {
        hidePlayerViews();
        return;
    }
    showTitleAndArtist(info, true);
    showPlayerViews();
    if (Ref<NSData> artwork =
            cast<NSData>(nowPlayingValue(info, kMRMediaRemoteNowPlayingInfoArtworkData))) {
        afterDelay(0.1, [artwork] { loadControllerArtwork(artwork); });
    }
    send(coversheetView, "hidePlayer");
}

// The context of the media controls an artwork view belongs to: its controller's, else its
// own; -1 when neither tells.
NSInteger artworkViewContext(id view) {
    id controller = send<id>(view, "_viewControllerForAncestor");
    if (respondsToSelector(controller, sel("context")))
        return send<NSInteger>(controller, "context");
    if (respondsToSelector(view, sel("_context"))) return send<NSInteger>(view, "_context");
    return -1;
}

// The lock screen's artwork: accepted unless it equals the one shown. Never slides.
void artworkViewImageLoaded(UIImage* loaded) {
    if (!loaded) {
        afterDelay(0.1, [] { send(playingHeader, "findNeededStuff"); });
        return;
    }
    Ref<UIImage> image = loaded;
    afterDelay(0.3, [image] {
        id shown = playerView(prop::artworkImageView);
        if (send<bool>(coversheetView, "isSameImage:asImageInView:", image, shown)) return;
        send(coversheetView, "processStyle:shouldGenerate:", image, YES);
        highresImage = image;
    });
}

} // namespace

Ref<NSString> nowPlayingText(NSObject* value) {
    if (!value) return nullptr;
    return stringWithFormat("%@ ", {value});
}

void SBMediaController_setNowPlayingInfo(id self, SEL _cmd, id info) {
    callIMP(orig_SBMediaController_setNowPlayingInfo, self, _cmd, info);
    hostRequestNowPlayingInfo(&nowPlayingInfoArrived);
}

void MRUArtworkView_setArtworkImage(id self, SEL _cmd, id image) {
    if (artworkViewContext(self) != kLockScreenContext) {
        callIMP(orig_MRUArtworkView_setArtworkImage, self, _cmd, image);
        return;
    }
    Ref<NSObject> view = self;
    hostRequestNowPlayingInfo([view, _cmd](NSDictionary* info) {
        if (!info) return;
        showTitleAndArtist(info, false);
        ImageLoader::loadImageFromData(
            cast<NSData>(nowPlayingValue(info, kMRMediaRemoteNowPlayingInfoArtworkData)),
            &artworkViewImageLoaded);
        // The host shows the artwork accepted before, not the one being loaded.
        callIMP(orig_MRUArtworkView_setArtworkImage, view.get(), _cmd,
                static_cast<id>(highresImage.get()));
    });
}
