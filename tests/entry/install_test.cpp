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
    void SetUp() override {
        device.write({{"Enabled", true}});
        SBRegisterHostClasses();
    }
    TestDevice device;
};

// Probes stand in for the host's implementations, one per encoding of a hooked method, with a
// call of that method: a hook can then be seen to reach the implementation in force before it.
std::vector<std::string> reached;
void record(id self, SEL cmd) {
    reached.push_back(object_getClass(self)->name + " " + sel_getName(cmd));
}
constexpr const char* kFrame = "{CGRect={CGPoint=dd}{CGSize=dd}}";
struct Probe {
    std::string types;
    IMP imp;
    void (*call)(id obj, const char* selector);
};
const Probe kProbes[] = {
    {"v@:", IMP(+[](id s, SEL c) { record(s, c); }), [](id o, const char* m) { send(o, m); }},
    {"v@:@", IMP(+[](id s, SEL c, id) { record(s, c); }),
     [](id o, const char* m) { send(o, m, static_cast<id>(nullptr)); }},
    {"B@:", IMP(+[](id s, SEL c) {
         record(s, c);
         return true;
     }),
     [](id o, const char* m) { EXPECT_TRUE(send<bool>(o, m)); }},
    {std::string("v@:") + kFrame, IMP(+[](id s, SEL c, CGRect) { record(s, c); }),
     [](id o, const char* m) { send(o, m, CGRectMake(1, 2, 3, 4)); }},
    {std::string("@@:") + kFrame, IMP(+[](id s, SEL c, CGRect) {
         record(s, c);
         return s;
     }),
     [](id o, const char* m) { send<id>(o, m, CGRectMake(1, 2, 3, 4)); }},
};

const Probe* probeFor(Class cls, const char* selector) {
    const objc_method* m = class_lookupMethod(cls, sel(selector));
    for (const Probe& p : kProbes)
        if (m && p.types == m->types) return &p;
    return nullptr;
}

} // namespace

TEST_F(Install, EveryHookReachesTheImplementationInForceBeforeIt) {
    std::vector<const Probe*> probes;
    for (auto [cls, selector] : kHookedMethods) {
        probes.push_back(probeFor(objc_getClass(cls), selector));
        ASSERT_TRUE(probes.back()) << cls << " " << selector;
        IMP ignored;
        MSHookMessageEx(objc_getClass(cls), sel(selector), probes.back()->imp, &ignored);
    }
    initialiseVey();
    ASSERT_TRUE(enabled);
    for (std::size_t i = 0; i < std::size(kHookedMethods); ++i) {
        auto [cls, selector] = kHookedMethods[i];
        std::string key = std::string(cls) + " " + selector;
        Ref<NSObject> obj = Ref<NSObject>::adopt(class_createInstance(objc_getClass(cls)));
        reached.clear();
        probes[i]->call(obj, selector);
        MainQueue::shared().runFor(1); // delayed work of the hooks, if any
        EXPECT_EQ(reached.empty() ? "" : reached.front(), key) << "hook did not reach the host";
        EXPECT_NE(class_getMethodImplementation(objc_getClass(cls), sel(selector)), probes[i]->imp)
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
    EXPECT_EQ(attached(cover, prop::veySongLabel), nullptr);
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
