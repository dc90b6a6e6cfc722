// The lock screen as SpringBoard builds it without plug-ins: the tree the plug-in searches,
// the media controls' controllers and contexts, the stock player, and the host's own flows
// sending every hookable selector through the runtime.
#include "host_fixture.h"

#include <gtest/gtest.h>

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

void installIcon(const TempDevice& device) {
    std::filesystem::path folder = std::filesystem::path(device.root()) / "Applications/Music.app";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::string(VEY_SOURCE_DIR) + "/assets/appicon.png",
                               folder / "AppIcon.png");
}

TEST(LockScreen, TreeIsShapedAsThePlugInSearchesIt) {
    TempDevice device;
    SBLockScreen* ls = SBLaunch();
    ASSERT_NE(ls, nullptr);
    EXPECT_EQ(SBLaunch(), ls); // once per process
    EXPECT_TRUE(SBApplication()->didFinishLaunching());
    EXPECT_EQ(UIApplication::sharedApplication(), SBApplication());

    CGRect screen = UIScreen::mainScreen()->bounds();
    EXPECT_EQ(ls->coverSheet->frame(), screen);
    EXPECT_EQ(ls->coverSheet->window(), ls->window.get());
    EXPECT_TRUE(ls->window->isKeyWindow());

    // Main page: a page view that is a kind of CSCoverSheetViewBase, whose second subview's
    // first subview is the notification container.
    UIView* page = nullptr;
    for (auto& sub : ls->mainPage->subviews())
        if (isKindOfClass(sub, objc_getClass("CSCoverSheetViewBase"))) page = sub;
    ASSERT_NE(page, nullptr);
    ASSERT_GE(page->subviews().size(), 2u);
    UIView* container = page->subviews()[1]->subviews().at(0);
    EXPECT_EQ(container, ls->notificationContainer.get());
    int stacks = 0, lists = 0;
    for (auto& child : container->subviews()) {
        stacks += className(child) == "UIStackView";
        if (className(child) == "NCNotificationListView") {
            lists++;
            EXPECT_GE(child->subviews().size(), 2u);
        }
    }
    EXPECT_EQ(stacks, 1);
    EXPECT_EQ(lists, 1);

    // The stock player: an adjunct item of the stack holds the platter, which is the
    // superview of the superview of the activity item content view.
    ASSERT_EQ(ls->adjunctStack->arrangedSubviews().size(), 1u);
    EXPECT_EQ(className(ls->adjunctStack->arrangedSubviews()[0]), "CSAdjunctItemView");
    EXPECT_EQ(ls->activityContent->superview()->superview(), ls->platter.get());
    EXPECT_EQ(ls->platter->superview(), ls->mediaItem.get());
    EXPECT_TRUE(ls->adjunctListController->isViewLoaded());
    EXPECT_EQ(ls->adjunctListController->view(), ls->adjunctStack.get());
    EXPECT_EQ(ls->adjunctList->superview(), page);

    // The call to action, read by key as the plug-in does.
    auto* label =
        cast<SBUICallToActionLabel>(valueForKey(ls->teachableMoments, "_callToActionLabel"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textString(), "Swipe up to open");
    EXPECT_EQ(ls->dateView->timeLabel()->textString(), "9:41");
}

TEST(LockScreen, MediaControlsAnswerContextAndDelegate) {
    TempDevice device;
    SBLockScreen* ls = SBLaunch();
    MRUNowPlayingHeaderView* header = ls->lockScreenControls()->headerView();
    id controller = send<id>(header, "_viewControllerForAncestor");
    ASSERT_TRUE(respondsToSelector(controller, sel("context")));
    EXPECT_EQ(send<NSInteger>(controller, "context"), 2);
    EXPECT_TRUE(isKindOfClass(send<id>(controller, "delegate"),
                              objc_getClass("CSMediaControlsViewController")));
    EXPECT_EQ(send<id>(ls->lockScreenControls()->routeLabel(), "_viewControllerForAncestor"),
              controller);

    // The header's children as the plug-in walks them: a routing button, and an artwork view
    // whose third image view shows the app's icon.
    std::vector<std::string> children;
    for (auto& sub : header->subviews())
        children.push_back(className(sub));
    EXPECT_NE(std::find(children.begin(), children.end(), "MRUNowPlayingRoutingButton"),
              children.end());
    MRUArtworkView* artwork = header->artworkView();
    int imageViews = 0;
    for (auto& sub : artwork->subviews())
        imageViews += className(sub) == "UIImageView";
    EXPECT_EQ(imageViews, 3);
    EXPECT_EQ(artwork->subviews()[2].get(), artwork->iconImageView());

    MRUNowPlayingTimeControlsView* time = ls->lockScreenControls()->timeControlsView();
    EXPECT_EQ(valueForKey(time, "_elapsedTimeLabel"), time->elapsedTimeLabel());
    EXPECT_EQ(valueForKey(time, "_remainingTimeLabel"), time->remainingTimeLabel());
    EXPECT_EQ(ls->lockScreenControls()->legacyTimeControl(), nullptr);

    id cc = send<id>(ls->controlCenterControls->headerView(), "_viewControllerForAncestor");
    EXPECT_EQ(send<NSInteger>(cc, "context"), 1);
    EXPECT_TRUE(
        isKindOfClass(send<id>(cc, "delegate"), objc_getClass("MRUControlCenterViewController")));
}

TEST(LockScreen, OlderSystemsAnswerContextOnTheViews) {
    TempDevice device;
    UIDevice::currentDevice()->setSystemVersion("15.7");
    SBLockScreen* ls = SBLaunch();
    MRUMediaControlsController* controls = ls->lockScreenControls();
    id controller = send<id>(controls->headerView(), "_viewControllerForAncestor");
    EXPECT_EQ(className(controller), "MediaControlsPanelViewController");
    EXPECT_FALSE(respondsToSelector(controller, sel("context")));
    EXPECT_TRUE(isKindOfClass(send<id>(controller, "delegate"),
                              objc_getClass("CSMediaControlsViewController")));
    auto* context = cast<NSNumber>(valueForKey(controls->headerView(), "_context"));
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->integerValue(), 2);
    EXPECT_EQ(send<NSInteger>(controls->artworkView(), "_context"), 2);
    EXPECT_EQ(send<NSInteger>(controls->routeLabel(), "_context"), 2);
    ASSERT_NE(controls->legacyTimeControl(), nullptr);
    EXPECT_EQ(send<NSInteger>(controls->legacyTimeControl(), "_context"), 2);
    EXPECT_EQ(send<NSInteger>(ls->controlCenterControls->headerView(), "_context"), 1);
}

TEST(LockScreen, StockPlayerShowsWhileSomethingIsLoaded) {
    TempDevice device;
    installIcon(device);
    SBLockScreen* ls = SBLaunch();
    EXPECT_TRUE(ls->mediaItem->isHidden());
    EXPECT_EQ(ls->mediaItem->bounds().size.height, 0);

    MRTrack track;
    track.title = "Golden Hour";
    track.artist = "The Lanterns";
    auto bytes = UIImage::imageWithContentsOfFile(std::string(VEY_SOURCE_DIR) +
                                                  "/assets/artwork-sunset.jpg");
    ASSERT_TRUE(bytes);
    std::ifstream in(std::string(VEY_SOURCE_DIR) + "/assets/artwork-sunset.jpg", std::ios::binary);
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), {});
    track.artworkData = NSData::make(data);
    MRNowPlayingService::shared().play(track);
    settle();

    EXPECT_FALSE(ls->mediaItem->isHidden());
    EXPECT_FALSE(ls->platter->isHidden());
    EXPECT_GT(ls->mediaItem->bounds().size.height, 0);
    EXPECT_GT(ls->adjunctStack->frame().size.height, 0);
    MRUMediaControlsController* controls = ls->lockScreenControls();
    EXPECT_EQ(controls->headerView()->titleLabel()->textString(), "Golden Hour");
    EXPECT_EQ(controls->headerView()->subtitleLabel()->textString(), "The Lanterns");
    ASSERT_NE(controls->artworkView()->artworkImage(), nullptr);
    EXPECT_EQ(controls->artworkView()->artworkImage()->size(), CGSizeMake(480, 480));
    EXPECT_NE(controls->artworkView()->iconImageView()->image(), nullptr);
    // The Control Center shows the same item.
    EXPECT_EQ(ls->controlCenterControls->headerView()->titleLabel()->textString(), "Golden Hour");

    MRNowPlayingService::shared().stop();
    settle();
    EXPECT_TRUE(ls->mediaItem->isHidden());
    EXPECT_EQ(controls->artworkView()->artworkImage(), nullptr);
    EXPECT_EQ(controls->artworkView()->iconImageView()->image(), nullptr);
}

TEST(LockScreen, RouteChangeNamesTheRouteAndFramesEveryRouteLabel) {
    TempDevice device;
    SBLockScreen* ls = SBLaunch();
    MPRouteLabel* lock = ls->lockScreenControls()->routeLabel();
    MPRouteLabel* cc = ls->controlCenterControls->routeLabel();
    EXPECT_EQ(lock->textString(), "iPhone");
    lock->setFrame(CGRectZero);
    cc->setFrame(CGRectZero);
    SBSetAudioRoute(MPRouteKind::AirPodsMax);
    EXPECT_EQ(lock->textString(), "AirPods Max");
    EXPECT_EQ(cc->textString(), "AirPods Max");
    EXPECT_GT(lock->frame().size.width, 0);
    EXPECT_GT(cc->frame().size.width, 0);
}

TEST(LockScreen, HostFlowsSendEveryHookableSelectorThroughTheRuntime) {
    TempDevice device;
    UIDevice::currentDevice()->setSystemVersion("15.7"); // both time controls
    SBRegisterHostClasses();
    installCountingHooks();
    SBLockScreen* ls = SBLaunch();
    settle();
    EXPECT_EQ(callCount("SpringBoard applicationDidFinishLaunching:"), 1);
    EXPECT_EQ(callCount("CSCoverSheetView initWithFrame:"), 1);
    EXPECT_LT(firstCall("SpringBoard applicationDidFinishLaunching:"),
              firstCall("CSCoverSheetView didMoveToWindow"));
    EXPECT_EQ(callCount("CSNotificationAdjunctListViewController viewDidLoad"), 1);

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

    for (const char* entry : {
             "CSActivityItemContentView layoutSubviews",
             "CSMainPageView layoutSubviews",
             "CSCoverSheetView didMoveToWindow",
             "MediaControlsTimeControl layoutSubviews",
             "MRUNowPlayingHeaderView layoutSubviews",
             "MRUNowPlayingTimeControlsView layoutSubviews",
             "MRUNowPlayingTimeControlsView setFrame:",
             "CSAdjunctItemView _updateSizeToMimic",
             "CSAdjunctListView layoutSubviews",
             "MPRouteLabel setFrame:",
             "SBMediaController setNowPlayingInfo:",
             "SBMediaController _mediaRemoteNowPlayingApplicationIsPlayingDidChange:",
             "MRUArtworkView setArtworkImage:",
             "CSTeachableMomentsContainerView _layoutCallToActionLabel",
             "SBUICallToActionLabel didMoveToWindow",
             "SBUICallToActionLabel _updateLabelTextWithLanguage:",
         })
        EXPECT_GE(callCount(entry), 1) << entry;
    // Two route labels (lock screen and Control Center) at launch and at the route change.
    EXPECT_EQ(callCount("MPRouteLabel setFrame:"), 4);
}

} // namespace
