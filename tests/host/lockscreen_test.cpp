// The lock screen as SpringBoard builds it without plug-ins: the media controls' contexts, the
// stock player, and the host's own flows sending every hookable selector through the runtime.
#include "host_fixture.h"

#include <fstream>

namespace {

void settle() {
    UIKitEndTurn();
    MainQueue::shared().runPending();
}

// From 16 the controllers answer context; before, only the views do (as _context).
TEST(LockScreen, MediaControlsAnswerTheirContextWhereTheSystemPutsIt) {
    SBRegisterHostClasses();
    for (bool older : {false, true}) {
        SCOPED_TRACE(older ? "15.7" : "16.4");
        UIDevice::currentDevice()->setSystemVersion(older ? "15.7" : "16.4");
        auto ls = SBLockScreen::build();
        EXPECT_EQ(ls->lockScreenControls()->legacyTimeControl() != nullptr, older);
        for (auto [controls, context, delegate] :
             {std::tuple{ls->lockScreenControls(), 2, "CSMediaControlsViewController"},
              {ls->controlCenterControls.get(), 1, "MRUControlCenterViewController"}}) {
            MRUNowPlayingHeaderView* header = controls->headerView();
            id controller = send<id>(header, "_viewControllerForAncestor");
            EXPECT_EQ(send<id>(controls->routeLabel(), "_viewControllerForAncestor"), controller);
            EXPECT_TRUE(isKindOfClass(send<id>(controller, "delegate"), objc_getClass(delegate)));
            EXPECT_EQ(respondsToSelector(controller, sel("context")), !older);
            if (!older) {
                EXPECT_EQ(send<NSInteger>(controller, "context"), context);
                continue;
            }
            id byKey =
                send<id>(header, "valueForKey:", static_cast<id>(NSString::make("_context")));
            EXPECT_EQ(cast<NSNumber>(byKey) ? cast<NSNumber>(byKey)->integerValue() : 0, context);
            for (id view : {id(header), id(controls->artworkView()), id(controls->routeLabel())})
                EXPECT_EQ(send<NSInteger>(view, "_context"), context);
        }
    }
}

TEST(LockScreen, StockPlayerShowsTheLoadedItem) {
    TestDevice device;
    std::filesystem::path app = std::filesystem::path(device.root) / "Applications/Music.app";
    std::filesystem::create_directories(app);
    std::filesystem::copy_file(std::string(VEY_SOURCE_DIR) + "/assets/appicon.png",
                               app / "AppIcon.png");
    SBLockScreen* ls = SBLaunch();
    EXPECT_EQ(SBLaunch(), ls); // once per process
    EXPECT_TRUE(ls->mediaItem->isHidden());

    std::ifstream in(std::string(VEY_SOURCE_DIR) + "/assets/artwork-sunset.jpg", std::ios::binary);
    MRNowPlayingService::shared().play(
        track("Golden Hour", NSData::make({std::istreambuf_iterator<char>(in), {}})));
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
    SBLaunch();
    settle();
    for (const char* once :
         {"SpringBoard applicationDidFinishLaunching:", "CSCoverSheetView initWithFrame:",
          "CSNotificationAdjunctListViewController viewDidLoad"})
        EXPECT_EQ(callCount(once), 1) << once;
    EXPECT_EQ(hostCalls.front(), "SpringBoard applicationDidFinishLaunching:");

    MRNowPlayingService::shared().play(track("Low Tide"));
    settle();
    MRNowPlayingService::shared().setPlaying(false);
    settle();
    SBSetAudioRoute(MPRouteKind::AirPods);
    settle();
    for (auto [cls, selector] : kHookedMethods) {
        if (std::string(cls) == "MPAVRoute") continue;
        EXPECT_GE(callCount(std::string(cls) + " " + selector), 1) << cls << " " << selector;
    }
    // Two route labels (lock screen and Control Center) at launch and at the route change.
    EXPECT_EQ(callCount("MPRouteLabel setFrame:"), 4);
}

} // namespace
