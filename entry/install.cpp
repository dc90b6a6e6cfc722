#include "entry/install.h"

#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/preferences/preferences.h"

namespace {

// One step of the installation, in the order the host sees them.
struct Step {
    enum Kind { Hook, Method, ClassMethod, Properties } kind;
    const char* className;
    const char* selector;
    IMP imp;
    IMP* slot;         // hooks
    const char* types; // added methods
};

template <class F> IMP imp(F fn) {
    return reinterpret_cast<IMP>(fn);
}

Step hook(const char* cls, const char* selector, auto fn, IMP* slot) {
    return {Step::Hook, cls, selector, imp(fn), slot, nullptr};
}
Step method(const char* cls, const char* selector, auto fn, const char* types) {
    return {Step::Method, cls, selector, imp(fn), nullptr, types};
}

const std::vector<Step>& installationTable() {
    static const std::vector<Step> table = {
        hook("CSActivityItemContentView", "layoutSubviews",
             &CSActivityItemContentView_layoutSubviews,
             &orig_CSActivityItemContentView_layoutSubviews),
        hook("CSMainPageView", "layoutSubviews", &CSMainPageView_layoutSubviews,
             &orig_CSMainPageView_layoutSubviews),
        {Step::Properties, "CSCoverSheetView", nullptr, nullptr, nullptr, nullptr},
        hook("CSCoverSheetView", "initWithFrame:", &CSCoverSheetView_initWithFrame,
             &orig_CSCoverSheetView_initWithFrame),
        hook("CSCoverSheetView", "didMoveToWindow", &CSCoverSheetView_didMoveToWindow,
             &orig_CSCoverSheetView_didMoveToWindow),
        hook("CSCoverSheetView", "layoutSubviews", &CSCoverSheetView_layoutSubviews,
             &orig_CSCoverSheetView_layoutSubviews),
        method("CSCoverSheetView", "rewindSong", &CSCoverSheetView_rewindSong, "v@:"),
        method("CSCoverSheetView", "skipSong", &CSCoverSheetView_skipSong, "v@:"),
        method("CSCoverSheetView", "pausePlaySong", &CSCoverSheetView_pausePlaySong, "v@:"),
        method("CSCoverSheetView", "hidePlayer", &CSCoverSheetView_hidePlayer, "v@:"),
        method("CSCoverSheetView", "hideNotifications:", &CSCoverSheetView_hideNotifications,
               "v@:B"),
        method("CSCoverSheetView",
               "isSameImage:asImageInView:", &CSCoverSheetView_isSameImageAsImageInView, "B@:@@"),
        method("CSCoverSheetView", "scaleImage:toSize:", &CSCoverSheetView_scaleImageToSize,
               "@@:@{CGSize=dd}"),
        method("CSCoverSheetView",
               "setImages:shouldGenerate:", &CSCoverSheetView_setImagesShouldGenerate, "v@:@B"),
        method("CSCoverSheetView", "processStyle:shouldGenerate:",
               &CSCoverSheetView_processStyleShouldGenerate, "v@:@B"),
        method("CSCoverSheetView",
               "applyColorsWithMainColor:secondColor:", &CSCoverSheetView_applyColors, "v@:@@"),
        method("CSCoverSheetView", "forceLightTheme", &CSCoverSheetView_forceLightTheme, "v@:"),
        method("CSCoverSheetView", "changeTimelineColor:", &CSCoverSheetView_changeTimelineColor,
               "v@:@"),
        method("CSCoverSheetView", "startGlitchEffect", &CSCoverSheetView_startGlitchEffect, "v@:"),
        method("CSCoverSheetView", "openRoutingOptions", &CSCoverSheetView_openRoutingOptions,
               "v@:"),
        method("CSCoverSheetView", "minimizeMiniPlayer", &CSCoverSheetView_minimizeMiniPlayer,
               "v@:"),
        method("CSCoverSheetView", "hideVeyView", &CSCoverSheetView_hideVeyView, "v@:"),
        hook("MediaControlsTimeControl", "layoutSubviews", &MediaControlsTimeControl_layoutSubviews,
             &orig_MediaControlsTimeControl_layoutSubviews),
        hook("MRUNowPlayingHeaderView", "layoutSubviews", &MRUNowPlayingHeaderView_layoutSubviews,
             &orig_MRUNowPlayingHeaderView_layoutSubviews),
        method("MRUNowPlayingHeaderView", "findNeededStuff",
               &MRUNowPlayingHeaderView_findNeededStuff, "v@:"),
        hook("MRUNowPlayingTimeControlsView", "layoutSubviews",
             &MRUNowPlayingTimeControlsView_layoutSubviews,
             &orig_MRUNowPlayingTimeControlsView_layoutSubviews),
        hook("MRUNowPlayingTimeControlsView", "setFrame:", &MRUNowPlayingTimeControlsView_setFrame,
             &orig_MRUNowPlayingTimeControlsView_setFrame),
        hook("CSAdjunctItemView", "_updateSizeToMimic", &CSAdjunctItemView_updateSizeToMimic,
             &orig_CSAdjunctItemView_updateSizeToMimic),
        hook("CSAdjunctListView", "layoutSubviews", &CSAdjunctListView_layoutSubviews,
             &orig_CSAdjunctListView_layoutSubviews),
        hook("MPRouteLabel", "setFrame:", &MPRouteLabel_setFrame, &orig_MPRouteLabel_setFrame),
        hook("CSNotificationAdjunctListViewController", "viewDidLoad",
             &CSNotificationAdjunctListViewController_viewDidLoad,
             &orig_CSNotificationAdjunctListViewController_viewDidLoad),
        hook("SBMediaController", "setNowPlayingInfo:", &SBMediaController_setNowPlayingInfo,
             &orig_SBMediaController_setNowPlayingInfo),
        hook("SBMediaController", "_mediaRemoteNowPlayingApplicationIsPlayingDidChange:",
             &SBMediaController_isPlayingDidChange, &orig_SBMediaController_isPlayingDidChange),
        method("MPAVRoute", "isHeadphonesRoute", &MPAVRoute_isHeadphonesRoute, "B@:"),
        hook("MPAVRoute", "isAirpodsRoute", &MPAVRoute_isAirpodsRoute,
             &orig_MPAVRoute_isAirpodsRoute),
        hook("MPAVRoute", "isB298Route", &MPAVRoute_isB298Route, &orig_MPAVRoute_isB298Route),
        hook("MPAVRoute", "isB515Route", &MPAVRoute_isB515Route, &orig_MPAVRoute_isB515Route),
        hook("MPAVRoute", "isB688Route", &MPAVRoute_isB688Route, &orig_MPAVRoute_isB688Route),
        {Step::ClassMethod, "MPAVOutputDeviceRoute", "systemAudioRoute",
         imp(&MPAVOutputDeviceRoute_systemAudioRoute), nullptr, "@@:"},
        hook("MRUArtworkView", "setArtworkImage:", &MRUArtworkView_setArtworkImage,
             &orig_MRUArtworkView_setArtworkImage),
        hook("SpringBoard",
             "applicationDidFinishLaunching:", &SpringBoard_applicationDidFinishLaunching,
             &orig_SpringBoard_applicationDidFinishLaunching),
        hook("CSTeachableMomentsContainerView", "_layoutCallToActionLabel",
             &CSTeachableMomentsContainerView_layoutCallToActionLabel,
             &orig_CSTeachableMomentsContainerView_layoutCallToActionLabel),
        hook("SBUICallToActionLabel", "didMoveToWindow", &SBUICallToActionLabel_didMoveToWindow,
             &orig_SBUICallToActionLabel_didMoveToWindow),
        hook("SBUICallToActionLabel",
             "_updateLabelTextWithLanguage:", &SBUICallToActionLabel_updateLabelTextWithLanguage,
             &orig_SBUICallToActionLabel_updateLabelTextWithLanguage),
    };
    return table;
}

void attachProperties(Class cls) {
    for (const PropertyRegistration& p : attachedProperties()) {
        objc_property_attribute_t attributes[] = {{"T", p.typeEncoding}, {"&", ""}, {"N", ""}};
        class_addProperty(cls, p.name, attributes, 3);
        class_addMethod(cls, sel(p.name), p.getter, "@@:");
        class_addMethod(cls, sel(attachedSetterName(p.name)), p.setter, "v@:@");
    }
}

void bindSetting(HBPreferences* prefs, bool* variable, bool fallback, const char* key) {
    prefs->registerBool(variable, fallback, key);
}
void bindSetting(HBPreferences* prefs, std::string* variable, const char* fallback,
                 const char* key) {
    prefs->registerObject(variable, fallback, key);
}

// Every setting after "Enabled", which the initialiser binds on its own first.
void bindSettings() {
#define VEY_BIND_SETTING(type, name, initial, key, fallback)                                       \
    if (static_cast<const void*>(&name) != &enabled) bindSetting(preferences, &name, fallback, key);
    VEY_SETTINGS(VEY_BIND_SETTING)
#undef VEY_BIND_SETTING
}

} // namespace

void initialiseVey() {
    preferences = HBPreferences::initWithIdentifier(kVeyPreferencesDomain);
    bindSetting(preferences, &enabled, NO, "Enabled");
    if (!enabled) return;
    bindSettings();
    // A class the host lacks is nil: its steps take no effect and the rest goes on.
    for (const Step& step : installationTable()) {
        Class cls = objc_getClass(step.className);
        switch (step.kind) {
        case Step::Hook:
            MSHookMessageEx(cls, sel(step.selector), step.imp, step.slot);
            break;
        case Step::Method:
            class_addMethod(cls, sel(step.selector), step.imp, step.types);
            break;
        case Step::ClassMethod:
            class_addMethod(object_getClass(cls), sel(step.selector), step.imp, step.types);
            break;
        case Step::Properties:
            if (cls) attachProperties(cls);
            break;
        }
    }
}
