// Every host class the plug-in names exists by name under its superclass, with its own
// implementation of each selector the plug-in hooks and an answer to each it sends.
#include "host_fixture.h"

#include <sstream>

TEST(HostClasses, RegisteredByNameWithSuperclassAndOwnHookedMethods) {
    SBRegisterHostClasses();
    const std::pair<const char*, std::vector<const char*>> bySuperclass[] = {
        {"UIView",
         {"CSCoverSheetView", "CSActivityItemContentView", "CSCoverSheetViewBase",
          "MRUNowPlayingHeaderView", "MRUNowPlayingTimeControlsView", "CSAdjunctItemView",
          "CSAdjunctListView", "MRUArtworkView", "CSTeachableMomentsContainerView",
          "NCNotificationListView"}},
        {"UIViewController",
         {"CSNotificationAdjunctListViewController", "MRUControlCenterViewController",
          "CSMediaControlsViewController"}},
        {"NSObject",
         {"SBMediaController", "MPAVRoute", "MRAVOutputContext", "MRAVConcreteOutputDevice",
          "NSBundle"}},
        {"UILabel", {"MPRouteLabel", "SBUICallToActionLabel"}},
        {"CSCoverSheetViewBase", {"CSMainPageView"}},
        {"UIControl", {"MediaControlsTimeControl"}},
        {"MPAVRoute", {"MPAVOutputDeviceRoute"}},
        {"UIApplication", {"SpringBoard"}},
        {"UIButton", {"MRUNowPlayingRoutingButton"}},
    };
    for (auto& [superclass, classes] : bySuperclass)
        for (const char* cls : classes) {
            ASSERT_NE(objc_getClass(cls), nullptr) << cls;
            EXPECT_STREQ(class_getName(class_getSuperclass(objc_getClass(cls))), superclass) << cls;
        }
    for (auto [cls, selector] : kHookedMethods)
        EXPECT_NE(objc_getClass(cls)->ownMethod(sel(selector)), nullptr) << cls << " " << selector;

    // Sent, not hooked; "+" marks a class method.
    for (const char* line :
         {"SBMediaController changeTrack:eventSource:", "SBMediaController isPlaying",
          "SBMediaController togglePlayPauseForEventSource:", "SBMediaController +sharedInstance",
          "MPAVRoute routeSubtype", "MPAVOutputDeviceRoute initWithOutputDevices:",
          "MRAVOutputContext avOutputContext", "MRAVOutputContext +sharedSystemAudioContext",
          "MRAVConcreteOutputDevice initWithAVOutputDevice:sourceInfo:",
          "NSBundle +bundleWithIdentifier:", "UIImage +imageNamed:inBundle:"}) {
        std::string cls, selector;
        std::istringstream(line) >> cls >> selector;
        Class c = objc_getClass(cls.c_str());
        bool meta = selector[0] == '+';
        EXPECT_TRUE(class_respondsToSelector(meta ? object_getClass(c) : c,
                                             sel(std::string_view(selector).substr(meta))))
            << line;
    }
}
