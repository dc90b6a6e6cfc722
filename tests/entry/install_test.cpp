#include "common/hook_rows.h"
#include "entry/hooks.h"
#include "entry/install.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/preferences/preferences.h"
#include "platform/springboard/springboard.h"
#include "tests/entry/device.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <unistd.h>

namespace {

struct HookRow {
    const char* cls;
    const char* selector;
};

// Probes stand in for the host's implementations, so a test can see that a hook reaches the
// implementation that was in force before it.
std::vector<std::string> reached;
void record(id self, SEL cmd) {
    reached.push_back(object_getClass(self)->name + " " + sel_getName(cmd));
}
void probeVoid(id self, SEL cmd) {
    record(self, cmd);
}
void probeObject(id self, SEL cmd, id) {
    record(self, cmd);
}
void probeFrame(id self, SEL cmd, CGRect) {
    record(self, cmd);
}
id probeInit(id self, SEL cmd, CGRect) {
    record(self, cmd);
    return self;
}
bool probeBool(id self, SEL cmd) {
    record(self, cmd);
    return YES;
}

IMP probeFor(const std::string& types) {
    if (types == "v@:") return reinterpret_cast<IMP>(&probeVoid);
    if (types == "v@:@") return reinterpret_cast<IMP>(&probeObject);
    if (types == "B@:") return reinterpret_cast<IMP>(&probeBool);
    if (types.rfind("v@:{CGRect", 0) == 0) return reinterpret_cast<IMP>(&probeFrame);
    if (types.rfind("@@:{CGRect", 0) == 0) return reinterpret_cast<IMP>(&probeInit);
    return nullptr;
}

void sendHooked(id obj, const std::string& selector, const std::string& types) {
    if (types == "v@:")
        send(obj, selector);
    else if (types == "v@:@")
        send(obj, selector, static_cast<id>(nullptr));
    else if (types == "B@:")
        EXPECT_TRUE(send<bool>(obj, selector));
    else if (types.rfind("v@:{CGRect", 0) == 0)
        send(obj, selector, CGRectMake(1, 2, 3, 4));
    else
        send<id>(obj, selector, CGRectMake(1, 2, 3, 4));
}

} // namespace

TEST(Install, DisabledLeavesEveryHostClassAsItWas) {
    TestDevice device;
    SBRegisterHostClasses();
    auto before = runtimeListing();
    initialiseVey();
    auto after = runtimeListing();
    for (auto& [name, lines] : before)
        EXPECT_EQ(after[name], lines) << name;
    EXPECT_EQ(orig_SBMediaController_setNowPlayingInfo, nullptr);
}

TEST(Install, EveryHookReachesTheImplementationInForceBeforeIt) {
    TestDevice device;
    device.write({{"Enabled", true}});
    SBRegisterHostClasses();
    std::map<std::string, std::string> types;
    for (auto [rowClass, rowSelector] : kHookedMethods) {
        HookRow row{rowClass, rowSelector};
        Class cls = objc_getClass(row.cls);
        ASSERT_NE(cls, nullptr) << row.cls;
        const objc_method* m = class_lookupMethod(cls, sel(row.selector));
        ASSERT_NE(m, nullptr) << row.cls << " " << row.selector;
        std::string key = std::string(row.cls) + " " + row.selector;
        types[key] = m->types;
        IMP probe = probeFor(m->types);
        ASSERT_NE(probe, nullptr) << key << " " << m->types;
        IMP ignored;
        MSHookMessageEx(cls, sel(row.selector), probe, &ignored);
    }
    initialiseVey();
    ASSERT_TRUE(enabled);
    for (auto [rowClass, rowSelector] : kHookedMethods) {
        HookRow row{rowClass, rowSelector};
        std::string key = std::string(row.cls) + " " + row.selector;
        Ref<NSObject> obj = Ref<NSObject>::adopt(class_createInstance(objc_getClass(row.cls)));
        reached.clear();
        sendHooked(obj, row.selector, types[key]);
        MainQueue::shared().runFor(1); // delayed work of the hooks, if any
        EXPECT_EQ(reached.empty() ? "" : reached.front(), key) << "hook did not reach the host";
        EXPECT_NE(class_getMethodImplementation(objc_getClass(row.cls), sel(row.selector)),
                  probeFor(types[key]))
            << key << " is not hooked";
    }
}

TEST(Install, PropertiesAndMethodsAreAttachedWithTheirEncodings) {
    TestDevice device;
    device.write({{"Enabled", true}});
    SBRegisterHostClasses();
    initialiseVey();
    Class cover = objc_getClass("CSCoverSheetView");
    auto properties = class_propertyListing(cover);
    ASSERT_EQ(attachedProperties().size(), 24u);
    EXPECT_NE(std::find(properties.begin(), properties.end(), "veyView T=@\"UIView\" &= N="),
              properties.end());
    EXPECT_NE(std::find(properties.begin(), properties.end(),
                        "veyMiniBackgroundView T=@\"InnerShadowButton\" &= N="),
              properties.end());
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

TEST(Install, AttachedPropertiesAreIndependentAndRetainTheirValues) {
    TestDevice device;
    device.write({{"Enabled", true}});
    SBRegisterHostClasses();
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

TEST(Install, AMissingHostClassOnlyDisablesItsOwnSteps) {
    TestDevice device;
    device.write({{"Enabled", true}});
    SBRegisterHostClasses();
    objc_forgetClass("MediaControlsTimeControl");
    objc_forgetClass("MPAVRoute");
    initialiseVey();
    EXPECT_EQ(orig_MediaControlsTimeControl_layoutSubviews, nullptr);
    EXPECT_EQ(orig_MPAVRoute_isAirpodsRoute, nullptr);
    EXPECT_NE(orig_MRUArtworkView_setArtworkImage, nullptr);
    EXPECT_NE(orig_SBUICallToActionLabel_updateLabelTextWithLanguage, nullptr);
}
