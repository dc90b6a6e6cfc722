// The host methods the plug-in hooks, in installation order, as the tests check them.
#pragma once

#include <utility>

inline constexpr std::pair<const char*, const char*> kHookedMethods[] = {
    {"CSActivityItemContentView", "layoutSubviews"},
    {"CSMainPageView", "layoutSubviews"},
    {"CSCoverSheetView", "initWithFrame:"},
    {"CSCoverSheetView", "didMoveToWindow"},
    {"CSCoverSheetView", "layoutSubviews"},
    {"MediaControlsTimeControl", "layoutSubviews"},
    {"MRUNowPlayingHeaderView", "layoutSubviews"},
    {"MRUNowPlayingTimeControlsView", "layoutSubviews"},
    {"MRUNowPlayingTimeControlsView", "setFrame:"},
    {"CSAdjunctItemView", "_updateSizeToMimic"},
    {"CSAdjunctListView", "layoutSubviews"},
    {"MPRouteLabel", "setFrame:"},
    {"CSNotificationAdjunctListViewController", "viewDidLoad"},
    {"SBMediaController", "setNowPlayingInfo:"},
    {"SBMediaController", "_mediaRemoteNowPlayingApplicationIsPlayingDidChange:"},
    {"MPAVRoute", "isAirpodsRoute"},
    {"MPAVRoute", "isB298Route"},
    {"MPAVRoute", "isB515Route"},
    {"MPAVRoute", "isB688Route"},
    {"MRUArtworkView", "setArtworkImage:"},
    {"SpringBoard", "applicationDidFinishLaunching:"},
    {"CSTeachableMomentsContainerView", "_layoutCallToActionLabel"},
    {"SBUICallToActionLabel", "didMoveToWindow"},
    {"SBUICallToActionLabel", "_updateLabelTextWithLanguage:"},
};
