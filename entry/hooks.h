// The plug-in's side of its contract with the host: every hook replacement with the slot that
// keeps the host's implementation, and every method added to a host class. Each lives in the
// folder of the subsystem it belongs to; entry/install.cpp installs them in order.
#pragma once

#include "platform/graphics/geometry.h"
#include "platform/runtime/runtime.h"

// Slots: the host's implementation in force before each hook was installed.
#define VEY_HOOK_SLOTS(X)                                                                          \
    X(CSActivityItemContentView_layoutSubviews)                                                    \
    X(CSMainPageView_layoutSubviews)                                                               \
    X(CSCoverSheetView_initWithFrame)                                                              \
    X(CSCoverSheetView_didMoveToWindow)                                                            \
    X(CSCoverSheetView_layoutSubviews)                                                             \
    X(MediaControlsTimeControl_layoutSubviews)                                                     \
    X(MRUNowPlayingHeaderView_layoutSubviews)                                                      \
    X(MRUNowPlayingTimeControlsView_layoutSubviews)                                                \
    X(MRUNowPlayingTimeControlsView_setFrame)                                                      \
    X(CSAdjunctItemView_updateSizeToMimic)                                                         \
    X(CSAdjunctListView_layoutSubviews)                                                            \
    X(MPRouteLabel_setFrame)                                                                       \
    X(CSNotificationAdjunctListViewController_viewDidLoad)                                         \
    X(SBMediaController_setNowPlayingInfo)                                                         \
    X(SBMediaController_isPlayingDidChange)                                                        \
    X(MPAVRoute_isAirpodsRoute)                                                                    \
    X(MPAVRoute_isB298Route)                                                                       \
    X(MPAVRoute_isB515Route)                                                                       \
    X(MPAVRoute_isB688Route)                                                                       \
    X(MRUArtworkView_setArtworkImage)                                                              \
    X(SpringBoard_applicationDidFinishLaunching)                                                   \
    X(CSTeachableMomentsContainerView_layoutCallToActionLabel)                                     \
    X(SBUICallToActionLabel_didMoveToWindow)                                                       \
    X(SBUICallToActionLabel_updateLabelTextWithLanguage)

#define VEY_DECLARE_SLOT(name) extern IMP orig_##name;
VEY_HOOK_SLOTS(VEY_DECLARE_SLOT)
#undef VEY_DECLARE_SLOT

// Host adjustments (entry/host_adjustments.cpp)
void CSActivityItemContentView_layoutSubviews(id self, SEL _cmd);
void CSMainPageView_layoutSubviews(id self, SEL _cmd);
id CSCoverSheetView_initWithFrame(id self, SEL _cmd, CGRect frame);
void SpringBoard_applicationDidFinishLaunching(id self, SEL _cmd, id application);
void CSTeachableMomentsContainerView_layoutCallToActionLabel(id self, SEL _cmd);
void SBUICallToActionLabel_didMoveToWindow(id self, SEL _cmd);
void SBUICallToActionLabel_updateLabelTextWithLanguage(id self, SEL _cmd, id language);

// Player view (player/)
void CSCoverSheetView_didMoveToWindow(id self, SEL _cmd);
void CSCoverSheetView_minimizeMiniPlayer(id self, SEL _cmd);
void CSCoverSheetView_hideVeyView(id self, SEL _cmd);

// Now playing and styles (media/)
void SBMediaController_setNowPlayingInfo(id self, SEL _cmd, id info);
void MRUArtworkView_setArtworkImage(id self, SEL _cmd, id image);
bool CSCoverSheetView_isSameImageAsImageInView(id self, SEL _cmd, id image, id imageView);
id CSCoverSheetView_scaleImageToSize(id self, SEL _cmd, id image, CGSize size);
void CSCoverSheetView_setImagesShouldGenerate(id self, SEL _cmd, id image, bool generate);
void CSCoverSheetView_processStyleShouldGenerate(id self, SEL _cmd, id image, bool generate);
void CSCoverSheetView_applyColors(id self, SEL _cmd, id mainColor, id secondColor);
void CSCoverSheetView_forceLightTheme(id self, SEL _cmd);
void CSCoverSheetView_changeTimelineColor(id self, SEL _cmd, id color);

// Transport (controls/transport.cpp)
void SBMediaController_isPlayingDidChange(id self, SEL _cmd, id notification);
void CSCoverSheetView_rewindSong(id self, SEL _cmd);
void CSCoverSheetView_skipSong(id self, SEL _cmd);
void CSCoverSheetView_pausePlaySong(id self, SEL _cmd);

// Notifications and the stock player (controls/notifications.cpp)
void CSAdjunctItemView_updateSizeToMimic(id self, SEL _cmd);
void CSAdjunctListView_layoutSubviews(id self, SEL _cmd);
void CSNotificationAdjunctListViewController_viewDidLoad(id self, SEL _cmd);
void CSCoverSheetView_hidePlayer(id self, SEL _cmd);
void CSCoverSheetView_hideNotifications(id self, SEL _cmd, bool hide);

// Routing (controls/routing.cpp)
void MRUNowPlayingHeaderView_layoutSubviews(id self, SEL _cmd);
void MRUNowPlayingHeaderView_findNeededStuff(id self, SEL _cmd);
void MPRouteLabel_setFrame(id self, SEL _cmd, CGRect frame);
bool MPAVRoute_isHeadphonesRoute(id self, SEL _cmd);
bool MPAVRoute_isAirpodsRoute(id self, SEL _cmd);
bool MPAVRoute_isB298Route(id self, SEL _cmd);
bool MPAVRoute_isB515Route(id self, SEL _cmd);
bool MPAVRoute_isB688Route(id self, SEL _cmd);
id MPAVOutputDeviceRoute_systemAudioRoute(id self, SEL _cmd);
void CSCoverSheetView_openRoutingOptions(id self, SEL _cmd);

// Timeline (controls/timeline.cpp)
void CSCoverSheetView_layoutSubviews(id self, SEL _cmd);
void MediaControlsTimeControl_layoutSubviews(id self, SEL _cmd);
void MRUNowPlayingTimeControlsView_layoutSubviews(id self, SEL _cmd);
void MRUNowPlayingTimeControlsView_setFrame(id self, SEL _cmd, CGRect frame);

// Glitch effect (controls/glitch.cpp)
void CSCoverSheetView_startGlitchEffect(id self, SEL _cmd);

// The attached properties of the cover sheet as the runtime registers them, in declaration
// order. Each property's key is its getter's address.
struct PropertyRegistration {
    const char* name;
    const char* typeEncoding;
    IMP getter;
    IMP setter;
};
const std::vector<PropertyRegistration>& attachedProperties();
