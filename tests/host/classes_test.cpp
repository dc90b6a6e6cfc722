// Every host class the plug-in names exists by name, with its superclass and its own
// implementation of each selector the plug-in hooks.
#include "platform/springboard/springboard.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    const char* cls;
    const char* superclass;
    std::vector<const char*> selectors;
    std::vector<const char*> classSelectors = {};
};

const std::vector<Expected>& expected() {
    static const std::vector<Expected> table = {
        {"CSCoverSheetView", "UIView", {"initWithFrame:", "didMoveToWindow", "layoutSubviews"}},
        {"CSActivityItemContentView", "UIView", {"layoutSubviews"}},
        {"CSMainPageView", "CSCoverSheetViewBase", {"layoutSubviews"}},
        {"CSCoverSheetViewBase", "UIView", {}},
        {"MediaControlsTimeControl", "UIControl", {"layoutSubviews"}},
        {"MRUNowPlayingHeaderView", "UIView", {"layoutSubviews"}},
        {"MRUNowPlayingTimeControlsView", "UIView", {"layoutSubviews", "setFrame:"}},
        {"CSAdjunctItemView", "UIView", {"_updateSizeToMimic"}},
        {"CSAdjunctListView", "UIView", {"layoutSubviews"}},
        {"MPRouteLabel", "UILabel", {"setFrame:"}},
        {"CSNotificationAdjunctListViewController", "UIViewController", {"viewDidLoad"}},
        {"SBMediaController",
         "NSObject",
         {"setNowPlayingInfo:", "_mediaRemoteNowPlayingApplicationIsPlayingDidChange:",
          "changeTrack:eventSource:", "togglePlayPauseForEventSource:", "isPlaying"},
         {"sharedInstance"}},
        {"MPAVRoute",
         "NSObject",
         {"isAirpodsRoute", "isB298Route", "isB515Route", "isB688Route", "routeSubtype"}},
        {"MPAVOutputDeviceRoute", "MPAVRoute", {"initWithOutputDevices:"}},
        {"MRUArtworkView", "UIView", {"setArtworkImage:"}},
        {"SpringBoard", "UIApplication", {"applicationDidFinishLaunching:"}},
        {"CSTeachableMomentsContainerView", "UIView", {"_layoutCallToActionLabel"}},
        {"SBUICallToActionLabel", "UILabel", {"didMoveToWindow", "_updateLabelTextWithLanguage:"}},
        {"MRAVOutputContext", "NSObject", {"avOutputContext"}, {"sharedSystemAudioContext"}},
        {"MRAVConcreteOutputDevice", "NSObject", {"initWithAVOutputDevice:sourceInfo:"}},
        {"NSBundle", "NSObject", {}, {"bundleWithIdentifier:"}},
        {"MRUNowPlayingRoutingButton", "UIButton", {}},
        {"MRUControlCenterViewController", "UIViewController", {}},
        {"CSMediaControlsViewController", "UIViewController", {}},
        {"NCNotificationListView", "UIView", {}},
    };
    return table;
}

TEST(HostClasses, RegisteredByNameWithSuperclassAndOwnHookedMethods) {
    SBRegisterHostClasses();
    for (const Expected& e : expected()) {
        SCOPED_TRACE(e.cls);
        Class c = objc_getClass(e.cls);
        ASSERT_NE(c, nullptr);
        EXPECT_STREQ(class_getName(class_getSuperclass(c)), e.superclass);
        for (const char* s : e.selectors)
            EXPECT_NE(c->ownMethod(sel(s)), nullptr) << s;
        for (const char* s : e.classSelectors)
            EXPECT_NE(c->isa->ownMethod(sel(s)), nullptr) << "+" << s;
    }
    EXPECT_TRUE(
        class_respondsToSelector(objc_getClass("UIImage")->isa, sel("imageNamed:inBundle:")));
}

} // namespace
