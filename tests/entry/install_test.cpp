// The initialiser with the plug-in enabled: every hook reaches the implementation in force before
// it, properties and methods carry their encodings, attached values are retained one by one, and
// a host class that is missing only disables its own steps.
#include "common/device.h"
#include "common/hook_rows.h"
#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/springboard/springboard.h"

namespace {

// The host launched far enough for the initialiser, with "Enabled" on.
struct Install : ::testing::Test {
    Install() {
        device.write({{"Enabled", true}});
        SBRegisterHostClasses();
    }
    TestDevice device;
};

// A stand-in for the host's implementation of a method of one signature, and a call of it.
std::vector<std::string> reached;
template <class R, class... A> struct Probe {
    static R imp(id self, SEL cmd, A...) {
        reached.push_back(object_getClass(self)->name + " " + sel_getName(cmd));
        return rt::zero<R>();
    }
    static void call(id obj, const char* selector) { send<R>(obj, selector, A{}...); }
};
// Per encoding: the probe and a call of it.
using Stand = std::pair<IMP, void (*)(id, const char*)>;
template <class R, class... A> std::pair<const std::string, Stand> stand() {
    auto [imp, types] = rt_method(&Probe<R, A...>::imp);
    return {types, {imp, &Probe<R, A...>::call}};
}
const std::map<std::string, Stand> kStands = {stand<void>(), stand<void, id>(), stand<bool>(),
                                              stand<void, CGRect>(), stand<id, CGRect>()};

} // namespace

TEST_F(Install, EveryHookReachesTheImplementationInForceBeforeIt) {
    std::vector<Stand> stands; // an unknown encoding throws: it needs a probe
    for (auto [cls, selector] : kHookedMethods) {
        stands.push_back(kStands.at(class_lookupMethod(objc_getClass(cls), sel(selector))->types));
        IMP ignored;
        MSHookMessageEx(objc_getClass(cls), sel(selector), stands.back().first, &ignored);
    }
    initialiseVey();
    ASSERT_TRUE(enabled);
    for (std::size_t i = 0; i < std::size(kHookedMethods); ++i) {
        auto [cls, selector] = kHookedMethods[i];
        std::string key = std::string(cls) + " " + selector;
        Ref<NSObject> obj = Ref<NSObject>::adopt(class_createInstance(objc_getClass(cls)));
        reached.clear();
        stands[i].second(obj, selector);
        MainQueue::shared().runFor(1); // delayed work of the hooks, if any
        EXPECT_EQ(reached.empty() ? "" : reached.front(), key) << "hook did not reach the host";
        EXPECT_NE(class_getMethodImplementation(objc_getClass(cls), sel(selector)), stands[i].first)
            << key << " is not hooked";
    }
}

TEST_F(Install, PropertiesAndMethodsAreAttachedWithTheirEncodings) {
    initialiseVey();
    Class cover = objc_getClass("CSCoverSheetView");
    auto properties = class_propertyListing(cover);
    ASSERT_EQ(attachedProperties().size(), 24u);
    for (const char* line :
         {"veyView T=@\"UIView\" &= N=", "veyMiniBackgroundView T=@\"InnerShadowButton\" &= N="})
        EXPECT_NE(std::find(properties.begin(), properties.end(), line), properties.end()) << line;
    for (const PropertyRegistration& p : attachedProperties()) {
        EXPECT_EQ(class_lookupMethod(cover, sel(p.name))->types, "@@:") << p.name;
        EXPECT_EQ(class_lookupMethod(cover, sel(attachedSetterName(p.name)))->types, "v@:@");
    }
    EXPECT_EQ(attachedSetterName(prop::veyDissmissButton.name), "setVeyDissmissButton:");
    std::map<std::string, std::string> methods = {
        {"hideNotifications:", "v@:B"},
        {"isSameImage:asImageInView:", "B@:@@"},
        {"scaleImage:toSize:", "@@:@{CGSize=dd}"},
        {"applyColorsWithMainColor:secondColor:", "v@:@@"},
        {"hideVeyView", "v@:"}};
    for (auto& [selector, encoding] : methods)
        EXPECT_EQ(class_lookupMethod(cover, sel(selector))->types, encoding) << selector;
    EXPECT_TRUE(
        class_respondsToSelector(objc_getClass("MRUNowPlayingHeaderView"), sel("findNeededStuff")));
    EXPECT_TRUE(class_respondsToSelector(objc_getClass("MPAVRoute"), sel("isHeadphonesRoute")));
    Class route = objc_getClass("MPAVOutputDeviceRoute");
    EXPECT_TRUE(class_respondsToSelector(object_getClass(route), sel("systemAudioRoute")));
    EXPECT_FALSE(class_respondsToSelector(route, sel("systemAudioRoute")));
}

TEST_F(Install, AttachedPropertiesAreIndependentAndRetainTheirValues) {
    initialiseVey();
    Ref<NSObject> cover =
        Ref<NSObject>::adopt(class_createInstance(objc_getClass("CSCoverSheetView")));
    Ref<UILabel> song = UIView::make<UILabel>();
    int before = song->retainCount();
    setAttached(cover, prop::veySongLabel, song);
    EXPECT_EQ(song->retainCount(), before + 1);
    EXPECT_EQ(attached(cover, prop::veySongLabel), song.get());
    EXPECT_EQ(attached(cover, prop::veyArtistLabel), nullptr);
    setAttached(cover, prop::veySongLabel, UIView::make<UILabel>().get());
    EXPECT_EQ(song->retainCount(), before) << "replacing a value releases the old one";
    setAttached(cover, prop::veySongLabel, nullptr);
    EXPECT_EQ(attached(cover, prop::veySongLabel), nullptr);
}

TEST_F(Install, AMissingHostClassOnlyDisablesItsOwnSteps) {
    objc_forgetClass("MediaControlsTimeControl");
    objc_forgetClass("MPAVRoute");
    initialiseVey();
    EXPECT_EQ(orig_MediaControlsTimeControl_layoutSubviews, nullptr);
    EXPECT_EQ(orig_MPAVRoute_isAirpodsRoute, nullptr);
    EXPECT_NE(orig_MRUArtworkView_setArtworkImage, nullptr);
    EXPECT_NE(orig_SBUICallToActionLabel_updateLabelTextWithLanguage, nullptr);
}
