// MediaRemote: the now-playing service (what plays, the queue, the play state) with
// MRMediaRemoteGetNowPlayingInfo, and the media-controls views the lock screen and the Control
// Center show (header with artwork and routing button, time controls, route label).
//
// What crosses the runtime: -[MRUArtworkView setArtworkImage:], layoutSubviews of
// MRUNowPlayingHeaderView, MRUNowPlayingTimeControlsView and MediaControlsTimeControl,
// -[MRUNowPlayingTimeControlsView setFrame:], the controllers' delegate ("@@:") and context
// ("q@:", only on system 16 and later), the views' _context ("q@:", also readable by key as an
// NSNumber), and "_elapsedTimeLabel" / "_remainingTimeLabel" by key.
#pragma once

#include "platform/foundation/foundation.h"
#include "platform/graphics/image.h"
#include "platform/mediaplayer/mediaplayer.h"
#include "platform/uikit/uikit.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// ---------------------------------------------------------------------------------------------
// The now-playing service

constexpr std::string_view kMRMediaRemoteNowPlayingInfoTitle = "kMRMediaRemoteNowPlayingInfoTitle";
constexpr std::string_view kMRMediaRemoteNowPlayingInfoArtist =
    "kMRMediaRemoteNowPlayingInfoArtist";
constexpr std::string_view kMRMediaRemoteNowPlayingInfoArtworkData =
    "kMRMediaRemoteNowPlayingInfoArtworkData";
constexpr std::string_view kMRMediaRemoteNowPlayingInfoDuration =
    "kMRMediaRemoteNowPlayingInfoDuration";
// Posted (notify_post) on the main queue after the item or the play state changed.
constexpr std::string_view kMRMediaRemoteNowPlayingInfoDidChangeNotification =
    "kMRMediaRemoteNowPlayingInfoDidChangeNotification";
constexpr std::string_view kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification =
    "kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification";
// The key of the play state in the play-state notification's user info (an NSNumber boolean).
constexpr std::string_view kMRMediaRemoteNowPlayingApplicationIsPlayingUserInfoKey =
    "kMRMediaRemoteNowPlayingApplicationIsPlayingUserInfoKey";

// Runs `callback` once, later, on the main queue (the only queue there is) with the
// now-playing info as it is when the request is made: a dictionary with the title, artist and
// artwork-data keys (each absent when the track lacks it), or nil when nothing is loaded.
void MRMediaRemoteGetNowPlayingInfo(dispatch_queue_t queue,
                                    std::function<void(NSDictionary* info)> callback);

struct MRTrack {
    std::optional<std::string> title;
    std::optional<std::string> artist;
    Ref<NSData> artworkData; // as the app supplied it: it may not decode
    double duration = 180;
};

// What plays: a queue of tracks, the current one, and the play state. Every change posts its
// notification on the main queue, later; the changes that the media controller asks for are
// answered the same way.
class MRNowPlayingService {
  public:
    static MRNowPlayingService& shared();

    // The track becomes the current item (inserted after the current one) and plays.
    void play(MRTrack track);
    // Adds the track at the end of the queue.
    void enqueue(MRTrack track);
    // Nothing is loaded any more.
    void stop();
    // The play state changes (ignored while nothing is loaded).
    void setPlaying(bool playing);
    // Moves within the queue: past the end wraps to the first track; before the first
    // restarts it (the item is reported again). NO when nothing is loaded.
    bool changeTrack(int delta);
    // NO when nothing is loaded.
    bool togglePlayPause();

    bool hasItem() const { return index_ < queue_.size(); }
    const MRTrack* currentTrack() const { return hasItem() ? &queue_[index_] : nullptr; }
    std::size_t currentIndex() const { return index_; }
    const std::vector<MRTrack>& queue() const { return queue_; }
    bool isPlaying() const { return playing_; }
    // A fresh dictionary for the current item, nil when nothing is loaded.
    Ref<NSDictionary> nowPlayingInfo() const;
    // The current artwork decoded (nil without artwork or when it does not decode); decoded
    // once per item.
    UIImage* currentArtwork();

    // Back to nothing loaded, without notifications (tests).
    void reset();

  private:
    void postItemChange();
    void postPlayingChange();
    std::vector<MRTrack> queue_;
    std::size_t index_ = 0;
    bool playing_ = false;
    Ref<UIImage> artwork_;
    Ref<NSData> artworkSource_;
};

// The icon of the application that plays (the music app's icon installed on the device under
// Applications/Music.app/AppIcon.png); nil when the device has none.
UIImage* MRNowPlayingApplicationIcon();

// ---------------------------------------------------------------------------------------------
// Media-controls views

// The views of one set of media controls know which controls they belong to: 2 on the lock
// screen, 0 or 1 in the Control Center. They answer _context with it.
class MRUContextView : public UIView {
  public:
    NSInteger context() const { return context_; }
    void setContext(NSInteger context) { context_ = context; }

  private:
    NSInteger context_ = 0;
};

// Three image views: the artwork, its placeholder, and the playing app's icon (the third).
class MRUArtworkView : public MRUContextView {
    VEY_CLASS(MRUArtworkView)
  public:
    UIView* initWithFrame(CGRect frame) override;
    void layoutSubviews() override;
    // Runtime implementation of setArtworkImage: (the host sends it through the runtime).
    void setArtworkImage(UIImage* image);
    UIImage* artworkImage() const { return artwork_; }
    UIImageView* artworkImageView() const { return imageViews_[0]; }
    UIImageView* iconImageView() const { return imageViews_[2]; }

  private:
    Ref<UIImage> artwork_;
    Ref<UIImageView> imageViews_[3];
};

class MRUNowPlayingRoutingButton : public UIButton {
    VEY_CLASS(MRUNowPlayingRoutingButton)
  public:
    UIView* initWithFrame(CGRect frame) override;
    // The button's own action (touch-up-inside): presents the output picker.
    void presentOutputPicker() { presentations_++; }
    // How often the output picker was presented.
    int pickerPresentations() const { return presentations_; }

  private:
    int presentations_ = 0;
};

class MRUTransportButton : public UIButton {
    VEY_CLASS(MRUTransportButton)
};

// Artwork, title, subtitle and the routing button.
class MRUNowPlayingHeaderView : public MRUContextView {
    VEY_CLASS(MRUNowPlayingHeaderView)
  public:
    UIView* initWithFrame(CGRect frame) override;
    void layoutSubviews() override;
    MRUArtworkView* artworkView() const { return artwork_; }
    UILabel* titleLabel() const { return title_; }
    UILabel* subtitleLabel() const { return subtitle_; }
    MRUNowPlayingRoutingButton* routingButton() const { return routing_; }

  private:
    Ref<MRUArtworkView> artwork_;
    Ref<UILabel> title_, subtitle_;
    Ref<MRUNowPlayingRoutingButton> routing_;
};

// The timeline: two track views, a knob, and the elapsed and remaining time labels.
class MRUNowPlayingTimeControlsView : public MRUContextView {
    VEY_CLASS(MRUNowPlayingTimeControlsView)
  public:
    UIView* initWithFrame(CGRect frame) override;
    void layoutSubviews() override;
    UILabel* elapsedTimeLabel() const { return elapsed_; }
    UILabel* remainingTimeLabel() const { return remaining_; }
    void setTimes(double elapsed, double duration);

  private:
    Ref<UILabel> elapsed_, remaining_;
    Ref<UIView> elapsedTrack_, remainingTrack_, knob_;
    double progress_ = 0;
};

// The older timeline (systems below 16): a control with a track and two labels.
class MediaControlsTimeControl : public UIControl {
    VEY_CLASS(MediaControlsTimeControl)
  public:
    UIView* initWithFrame(CGRect frame) override;
    void layoutSubviews() override;
    NSInteger context() const { return context_; }
    void setContext(NSInteger context) { context_ = context; }

  private:
    NSInteger context_ = 0;
    Ref<UILabel> elapsed_, remaining_;
    Ref<UIView> track_;
};

// The root view of a set of media controls: lays out header, timeline(s) and transport; it
// frames the newer timeline with setFrame: through the runtime (so hooks see it) also after
// someone else has moved it elsewhere, the older one only while it is still here. The route
// label is framed when the route changes.
class MRUNowPlayingView : public UIView {
    VEY_CLASS(MRUNowPlayingView)
  public:
    void layoutSubviews() override;
    static constexpr double kHeight = 190;

  private:
    friend class MRUMediaControlsController;
    Ref<MRUNowPlayingHeaderView> header_;
    Ref<MRUNowPlayingTimeControlsView> timeControls_;
    Ref<MediaControlsTimeControl> legacyTimeControl_;
    Ref<UIView> transport_;
    Ref<MRUTransportButton> back_, playPause_, forward_;
    Ref<MPRouteLabel> routeLabel_;
};

// The controller of one set of media controls. On system 16 and later it is an
// MRUNowPlayingViewController and answers context; below 16 a MediaControlsPanelViewController
// that does not (its views answer _context instead). Both answer delegate.
class MRUMediaControlsController : public UIViewController {
  public:
    // Makes controls for `context` with `delegate` (not retained), choosing the class by the
    // device's system version. The view is loaded at once.
    static Ref<MRUMediaControlsController> make(NSInteger context, id delegate);
    void loadView() override;

    NSInteger context() const { return context_; }
    id delegate() const { return delegate_.get(); }
    MRUNowPlayingView* nowPlayingView() const;
    MRUNowPlayingHeaderView* headerView() const;
    MRUArtworkView* artworkView() const;
    MRUNowPlayingTimeControlsView* timeControlsView() const;
    // Nil on system 16 and later.
    MediaControlsTimeControl* legacyTimeControl() const;
    MPRouteLabel* routeLabel() const;

    // Shows the service's current item: labels, app icon, times, and the artwork through
    // setArtworkImage:. Marks the controls for layout.
    void refreshNowPlaying();
    // Shows the play state on the play/pause button.
    void refreshPlayState();
    // Shows the current route's name and frames the route label (setFrame:).
    void refreshRoute();

  private:
    NSInteger context_ = 0;
    Weak<NSObject> delegate_;
};

class MRUNowPlayingViewController : public MRUMediaControlsController {
    VEY_CLASS(MRUNowPlayingViewController)
};
class MediaControlsPanelViewController : public MRUMediaControlsController {
    VEY_CLASS(MediaControlsPanelViewController)
};

// The Control Center's module controller: the delegate of the Control Center's controls.
class MRUControlCenterViewController : public UIViewController {
    VEY_CLASS(MRUControlCenterViewController)
};

// Every live set of media controls, oldest first.
std::vector<MRUMediaControlsController*> MRUAllMediaControls();

// Registers the classes of this component (and of mediaplayer) by name.
void MRRegisterHostClasses();
