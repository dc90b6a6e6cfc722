// The lock screen as SpringBoard builds it without plug-ins: the tree the plug-in searches,
// the media controls' controllers and contexts, the stock player, and the host's own flows
// sending every hookable selector through the runtime.
#include "host_fixture.h"

#include <fstream>

namespace {

std::string className(id object) {
    return NSStringFromClassName(object_getClass(object));
}

id valueForKey(id object, const char* key) {
    return send<id>(object, "valueForKey:", static_cast<id>(NSString::make(key).get()));
}

void settle() {
    UIKitEndTurn();
    MainQueue::shared().runPending();
}

int countOf(UIView* parent, const char* cls) {
    return int(std::count_if(parent->subviews().begin(), parent->subviews().end(),
                             [&](auto& v) { return className(v) == cls; }));
}

// The plug-in's own tests see it find the cover sheet, the notification container, the stack
// and the stock player; here, what it reads by key and the parts it counts on being unique.
TEST(LockScreen, TreeIsShapedAsThePlugInSearchesIt) {
    TestDevice device;
    SBLockScreen* ls = SBLaunch();
    ASSERT_NE(ls, nullptr);
    EXPECT_EQ(SBLaunch(), ls); // once per process
    EXPECT_EQ(ls->coverSheet->frame(), UIScreen::mainScreen()->bounds());
    EXPECT_TRUE(ls->window->isKeyWindow());
    EXPECT_EQ(countOf(ls->notificationContainer, "UIStackView"), 1);
    EXPECT_EQ(countOf(ls->notificationContainer, "NCNotificationListView"), 1);
    ASSERT_EQ(ls->adjunctStack->arrangedSubviews().size(), 1u);
    EXPECT_EQ(className(ls->adjunctStack->arrangedSubviews()[0]), "CSAdjunctItemView");
    EXPECT_EQ(ls->platter->superview(), ls->mediaItem.get());
    EXPECT_EQ(valueForKey(ls->teachableMoments, "_callToActionLabel"),
              ls->teachableMoments->callToActionLabel());
}

TEST(LockScreen, MediaControlsAnswerContextAndDelegateOnTheirControllers) {
    TestDevice device;
    SBLockScreen* ls = SBLaunch();
    MRUNowPlayingHeaderView* header = ls->lockScreenControls()->headerView();
    id controller = send<id>(header, "_viewControllerForAncestor");
    EXPECT_EQ(send<NSInteger>(controller, "context"), 2);
    EXPECT_TRUE(isKindOfClass(send<id>(controller, "delegate"),
                              objc_getClass("CSMediaControlsViewController")));
    EXPECT_EQ(send<id>(ls->lockScreenControls()->routeLabel(), "_viewControllerForAncestor"),
              controller);
    id cc = send<id>(ls->controlCenterControls->headerView(), "_viewControllerForAncestor");
    EXPECT_EQ(send<NSInteger>(cc, "context"), 1);
    EXPECT_TRUE(
        isKindOfClass(send<id>(cc, "delegate"), objc_getClass("MRUControlCenterViewController")));

    // The header's children as the plug-in walks them: a routing button, and an artwork view
    // whose third image view shows the app's icon.
    EXPECT_EQ(countOf(header, "MRUNowPlayingRoutingButton"), 1);
    MRUArtworkView* artwork = header->artworkView();
    EXPECT_EQ(countOf(artwork, "UIImageView"), 3);
    EXPECT_EQ(artwork->subviews()[2].get(), artwork->iconImageView());
    MRUNowPlayingTimeControlsView* time = ls->lockScreenControls()->timeControlsView();
    EXPECT_EQ(valueForKey(time, "_elapsedTimeLabel"), time->elapsedTimeLabel());
    EXPECT_EQ(valueForKey(time, "_remainingTimeLabel"), time->remainingTimeLabel());
    EXPECT_EQ(ls->lockScreenControls()->legacyTimeControl(), nullptr);
}

TEST(LockScreen, OlderSystemsAnswerContextOnTheViews) {
    TestDevice device;
    UIDevice::currentDevice()->setSystemVersion("15.7");
    SBLockScreen* ls = SBLaunch();
    MRUMediaControlsController* controls = ls->lockScreenControls();
    id controller = send<id>(controls->headerView(), "_viewControllerForAncestor");
    EXPECT_EQ(className(controller), "MediaControlsPanelViewController");
    EXPECT_FALSE(respondsToSelector(controller, sel("context")));
    auto* context = cast<NSNumber>(valueForKey(controls->headerView(), "_context"));
    EXPECT_EQ(context ? context->integerValue() : 0, 2);
    ASSERT_NE(controls->legacyTimeControl(), nullptr);
    for (id view : {id(controls->artworkView()), id(controls->routeLabel()),
                    id(controls->legacyTimeControl())})
        EXPECT_EQ(send<NSInteger>(view, "_context"), 2) << className(view);
    EXPECT_EQ(send<NSInteger>(ls->controlCenterControls->headerView(), "_context"), 1);
}

TEST(LockScreen, StockPlayerShowsTheLoadedItem) {
    TestDevice device;
    std::filesystem::path app = std::filesystem::path(device.root) / "Applications/Music.app";
    std::filesystem::create_directories(app);
    std::filesystem::copy_file(std::string(VEY_SOURCE_DIR) + "/assets/appicon.png",
                               app / "AppIcon.png");
    SBLockScreen* ls = SBLaunch();
    EXPECT_TRUE(ls->mediaItem->isHidden());

    MRTrack track;
    track.title = "Golden Hour";
    std::ifstream in(std::string(VEY_SOURCE_DIR) + "/assets/artwork-sunset.jpg", std::ios::binary);
    track.artworkData =
        NSData::make(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    MRNowPlayingService::shared().play(track);
    settle();
    EXPECT_FALSE(ls->mediaItem->isHidden());
    MRUArtworkView* artwork = ls->lockScreenControls()->artworkView();
    ASSERT_NE(artwork->artworkImage(), nullptr);
    EXPECT_EQ(artwork->artworkImage()->size(), CGSizeMake(480, 480));
    EXPECT_NE(artwork->iconImageView()->image(), nullptr);
    for (MRUMediaControlsController* c :
         {ls->lockScreenControls(), ls->controlCenterControls.get()})
        EXPECT_EQ(c->headerView()->titleLabel()->textString(), "Golden Hour");

    MRNowPlayingService::shared().stop();
    settle();
    EXPECT_TRUE(ls->mediaItem->isHidden());
    EXPECT_EQ(artwork->artworkImage(), nullptr);
    EXPECT_EQ(artwork->iconImageView()->image(), nullptr);
}

TEST(LockScreen, HostFlowsSendEveryHookableSelectorThroughTheRuntime) {
    TestDevice device;
    UIDevice::currentDevice()->setSystemVersion("15.7"); // both time controls
    SBRegisterHostClasses();
    installCountingHooks();
    SBLockScreen* ls = SBLaunch();
    settle();
    for (const char* once :
         {"SpringBoard applicationDidFinishLaunching:", "CSCoverSheetView initWithFrame:",
          "CSNotificationAdjunctListViewController viewDidLoad"})
        EXPECT_EQ(callCount(once), 1) << once;
    auto& calls = hostCalls;
    EXPECT_LT(std::find(calls.begin(), calls.end(), "SpringBoard applicationDidFinishLaunching:"),
              std::find(calls.begin(), calls.end(), "CSCoverSheetView didMoveToWindow"));

    MRTrack track;
    track.title = "Low Tide";
    MRNowPlayingService::shared().play(track);
    settle();
    MRNowPlayingService::shared().setPlaying(false);
    settle();
    SBSetAudioRoute(MPRouteKind::AirPods);
    settle();
    int before = callCount("CSCoverSheetView layoutSubviews");
    ls->layoutAll();
    EXPECT_EQ(callCount("CSCoverSheetView layoutSubviews"), before + 1);

    for (auto [cls, selector] : kHookedMethods) {
        if (std::string(cls) == "MPAVRoute") continue;
        EXPECT_GE(callCount(std::string(cls) + " " + selector), 1) << cls << " " << selector;
    }
    // Two route labels (lock screen and Control Center) at launch and at the route change.
    EXPECT_EQ(callCount("MPRouteLabel setFrame:"), 4);
}

} // namespace
