// Every host class the plug-in names exists by name under its superclass, with its own
// implementation of each selector the plug-in hooks (a hook on an inherited one would reach the
// superclass's callers too).
#include "host_fixture.h"

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
}
