// SpringBoard: the application object, the lock screen (cover sheet) as the host builds it,
// and the media controller.
//
// Starting the host:
//   SBRegisterHostClasses();          // every host class by name (objc_getClass finds them)
//   SBLockScreen* ls = SBLaunch();    // plug-ins mapped, launch finished, lock screen shown
//   SBMediaController::sharedInstance() ... MRNowPlayingService::shared().play(track) ...
//   MainQueue::shared().runFor(1);    // everything timed happens on the virtual clock
//
// Selectors that cross the runtime (hookable): -[CSCoverSheetView initWithFrame:,
// didMoveToWindow, layoutSubviews], layoutSubviews of CSMainPageView, CSActivityItemContentView
// and CSAdjunctListView, -[CSAdjunctItemView _updateSizeToMimic],
// -[CSNotificationAdjunctListViewController viewDidLoad],
// -[CSTeachableMomentsContainerView _layoutCallToActionLabel] (its "_callToActionLabel" is
// readable by key), -[SBUICallToActionLabel didMoveToWindow, _updateLabelTextWithLanguage:],
// -[SpringBoard applicationDidFinishLaunching:], and SBMediaController's +sharedInstance,
// setNowPlayingInfo: ("v@:@"), _mediaRemoteNowPlayingApplicationIsPlayingDidChange: ("v@:@"),
// changeTrack:eventSource: ("B@:iq"), togglePlayPauseForEventSource: ("B@:q"), isPlaying
// ("B@:"). CSMediaControlsViewController is the lock screen's media-controls delegate.
#pragma once

#include "platform/foundation/foundation.h"
#include "platform/mediaplayer/mediaplayer.h"
#include "platform/mediaremote/mediaremote.h"
#include "platform/uikit/uikit.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// The application

class SpringBoard : public UIApplication {
    VEY_CLASS(SpringBoard)
  public:
    // Runtime implementation of applicationDidFinishLaunching:.
    virtual void applicationDidFinishLaunching(id application);
    bool didFinishLaunching() const { return launched_; }

  private:
    bool launched_ = false;
};

// ---------------------------------------------------------------------------------------------
// The cover sheet

class CSCoverSheetViewBase : public UIView {
    VEY_CLASS(CSCoverSheetViewBase)
};

class CSCoverSheetView : public UIView {
    VEY_CLASS(CSCoverSheetView)
  public:
    UIView* initWithFrame(CGRect frame) override;
    void didMoveToWindow() override;
    // Fills the cover sheet with the main page and puts the call to action at the bottom.
    void layoutSubviews() override;

  private:
    friend struct SBLockScreen;
    UIView* mainPage_ = nullptr;
    UIView* teachableMoments_ = nullptr;
};

// The clock and the date.
class SBFLockScreenDateView : public UIView {
    VEY_CLASS(SBFLockScreenDateView)
  public:
    UIView* initWithFrame(CGRect frame) override;
    void layoutSubviews() override;
    UILabel* timeLabel() const { return time_; }
    UILabel* dateLabel() const { return date_; }

  private:
    Ref<UILabel> time_, date_;
};

// The main page: the clock and date above the page view with the lists.
class CSMainPageView : public CSCoverSheetViewBase {
    VEY_CLASS(CSMainPageView)
  public:
    void layoutSubviews() override;

  private:
    friend struct SBLockScreen;
    UIView* dateView_ = nullptr;
    UIView* pageView_ = nullptr;
};

// The page view of the lists: [0] a header, [1] the scroll view whose first subview is the
// notification container, [2] the adjunct list view.
class CSCombinedListView : public CSCoverSheetViewBase {
    VEY_CLASS(CSCombinedListView)
  public:
    void layoutSubviews() override;
};

class CSScrollView : public UIView {
    VEY_CLASS(CSScrollView)
  public:
    void layoutSubviews() override;
};

// Holds the adjunct-item stack (with the stock player) above the notification list.
class CSNotificationContainerView : public UIView {
    VEY_CLASS(CSNotificationContainerView)
  public:
    void layoutSubviews() override;
};

class NCNotificationListCell : public UIView {
    VEY_CLASS(NCNotificationListCell)
  public:
    static Ref<NCNotificationListCell> make(std::string_view app, std::string_view message);
    void layoutSubviews() override;
    UILabel* titleLabel() const { return title_; }
    static constexpr double kHeight = 72;

  private:
    Ref<UILabel> title_, message_;
};

// The notification list: its cells one under the other.
class NCNotificationListView : public UIView {
    VEY_CLASS(NCNotificationListView)
  public:
    void layoutSubviews() override;
    double contentHeight() const;
};

// ---------------------------------------------------------------------------------------------
// Adjunct items and the stock player

// An item of the adjunct stack; it sizes itself to its content (_updateSizeToMimic) whenever
// the lock screen shows or hides the content and at each of its layout passes.
class CSAdjunctItemView : public UIView {
    VEY_CLASS(CSAdjunctItemView)
  public:
    // Runtime implementation of _updateSizeToMimic: takes the height of its content, 0 when
    // the content is hidden, the constant of an active height constraint on it when it has one.
    void updateSizeToMimic();
    void layoutSubviews() override;
    void setContentView(UIView* content);
    UIView* contentView() const { return content_; }

  private:
    Ref<UIView> content_;
};

class CSAdjunctListView : public UIView {
    VEY_CLASS(CSAdjunctListView)
  public:
    void layoutSubviews() override;
};

// The stock player's platter.
class PLPlatterView : public UIView {
    VEY_CLASS(PLPlatterView)
  public:
    void layoutSubviews() override;
};

class CSActivityItemContentView : public UIView {
    VEY_CLASS(CSActivityItemContentView)
  public:
    void layoutSubviews() override;
};

// The lock screen's media-controls controller: the delegate of the lock screen's controls.
class CSMediaControlsViewController : public UIViewController {
    VEY_CLASS(CSMediaControlsViewController)
  public:
    MRUMediaControlsController* controls() const { return controls_; }
    // Makes the lock screen's controls (context 2) as a child.
    void loadView() override;

  private:
    Ref<MRUMediaControlsController> controls_;
};

// The controller of the adjunct stack; its view is the stack.
class CSNotificationAdjunctListViewController : public UIViewController {
    VEY_CLASS(CSNotificationAdjunctListViewController)
  public:
    void loadView() override;
    UIStackView* stackView() const { return cast<UIStackView>(viewIfLoaded()); }
};

// ---------------------------------------------------------------------------------------------
// The call to action at the bottom ("Swipe up to open")

class SBUICallToActionLabel : public UILabel {
    VEY_CLASS(SBUICallToActionLabel)
  public:
    // Runtime implementation of _updateLabelTextWithLanguage: (an NSString, nil for English).
    void updateLabelTextWithLanguage(NSString* language);
    // Takes its text (through _updateLabelTextWithLanguage:) when it first enters a window.
    void didMoveToWindow() override;
};

class CSTeachableMomentsContainerView : public UIView {
    VEY_CLASS(CSTeachableMomentsContainerView)
  public:
    UIView* initWithFrame(CGRect frame) override;
    // Lays the label out through _layoutCallToActionLabel, sent through the runtime.
    void layoutSubviews() override;
    // Runtime implementation of _layoutCallToActionLabel.
    void layoutCallToActionLabel();
    SBUICallToActionLabel* callToActionLabel() const { return label_; }

  private:
    Ref<SBUICallToActionLabel> label_;
};

// ---------------------------------------------------------------------------------------------
// The media controller

struct SBMediaCommand {
    std::string command; // "changeTrack" or "togglePlayPause"
    std::optional<int> delta;
    NSInteger eventSource = 0;
    bool accepted = false; // what the controller answered
};

class SBMediaController : public NSObject {
    VEY_CLASS(SBMediaController)
  public:
    // +sharedInstance: made on first use; from then on it follows the now-playing service and
    // reports its changes to itself through setNowPlayingInfo: and
    // _mediaRemoteNowPlayingApplicationIsPlayingDidChange:.
    static SBMediaController* sharedInstance();
    ~SBMediaController() override;

    // Runtime implementations.
    // Keeps the info, refreshes every set of media controls and tells the observers.
    void setNowPlayingInfo(NSDictionary* info);
    void nowPlayingApplicationIsPlayingDidChange(id notification);
    bool changeTrack(int delta, NSInteger eventSource);
    bool togglePlayPauseForEventSource(NSInteger eventSource);
    bool isPlaying() const;

    NSDictionary* nowPlayingInfo() const { return info_; }
    const std::vector<SBMediaCommand>& commands() const { return commands_; }
    // Called after each setNowPlayingInfo: the host ran (the lock screen shows or hides the
    // stock player).
    void addNowPlayingObserver(std::function<void()> observer);

  private:
    void observeService();
    Ref<NSDictionary> info_;
    std::vector<SBMediaCommand> commands_;
    std::vector<std::function<void()>> observers_;
    int tokens_[2] = {0, 0};
};

// The system audio now plays through an output of `kind`; every set of media controls shows
// the route's name and the host sets the frame of its route label.
void SBSetAudioRoute(MPRouteKind kind);

// ---------------------------------------------------------------------------------------------
// The lock screen

// Every view of the lock screen that the plug-in finds or the simulator reads.
struct SBLockScreen {
    Ref<UIWindow> window;
    Ref<CSCoverSheetView> coverSheet;
    Ref<CSMainPageView> mainPage;
    Ref<SBFLockScreenDateView> dateView;
    Ref<CSCombinedListView> pageView;
    Ref<CSScrollView> scrollView;
    Ref<CSNotificationContainerView> notificationContainer;
    Ref<NCNotificationListView> notificationList;
    Ref<CSNotificationAdjunctListViewController> adjunctListController;
    Ref<UIStackView> adjunctStack;
    Ref<CSAdjunctItemView> mediaItem;
    Ref<PLPlatterView> platter;
    Ref<CSActivityItemContentView> activityContent;
    Ref<CSMediaControlsViewController> mediaControls;
    Ref<CSAdjunctListView> adjunctList;
    Ref<CSTeachableMomentsContainerView> teachableMoments;
    // The Control Center's copy of the media controls, in a window of its own that is not shown.
    Ref<UIWindow> controlCenterWindow;
    Ref<MRUControlCenterViewController> controlCenter;
    Ref<MRUMediaControlsController> controlCenterControls;

    // Builds the tree (not yet in a window), with the screen's bounds.
    static std::unique_ptr<SBLockScreen> build();
    // Moves the cover sheet into its window, makes that key and visible, and lays it out.
    void show();
    // Shows the stock player while something is loaded and hides it while nothing is; the
    // adjunct item then resizes itself (_updateSizeToMimic).
    void refreshStockPlayer();
    // Marks every view of the lock screen as needing layout and runs one pass.
    void layoutAll();
    // The lock screen's media controls (context 2).
    MRUMediaControlsController* lockScreenControls() const;
};

// Registers every class of SpringBoard, MediaRemote and MediaPlayer by name.
void SBRegisterHostClasses();

// Starts SpringBoard as the phone does: registers the classes and the device's bundles, maps
// the plug-ins for "com.apple.springboard", makes the application object and sends it
// applicationDidFinishLaunching:, builds the lock screen, shows it and lays it out, and frames
// the route labels. Once per process; later calls return the running lock screen.
SBLockScreen* SBLaunch();
// The running lock screen, nil before SBLaunch.
SBLockScreen* SBCurrentLockScreen();
