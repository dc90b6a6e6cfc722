// Routes by kind, the system audio route as the plug-in builds it through the runtime, and
// the glyph bundle's images.
#include "host_fixture.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

template <class T = NSObject> Ref<T> adopt(id object) {
    return Ref<T>::adopt(cast<T>(object));
}

TEST(Routes, EachKindAnswersTheHostsOwnTests) {
    struct Case {
        MPRouteKind kind;
        bool airpods, b298, b515, b688;
    };
    for (Case c : {Case{MPRouteKind::Speaker, false, false, false, false},
                   Case{MPRouteKind::Headphones, false, false, false, false},
                   Case{MPRouteKind::AirPods, true, false, false, false},
                   Case{MPRouteKind::AirPodsPro, true, true, false, false},
                   Case{MPRouteKind::AirPodsMax, true, false, true, false},
                   Case{MPRouteKind::AirPodsGen3, true, false, false, true}}) {
        Ref<MPAVRoute> route = alloc<MPAVRoute>();
        route->setRoute(MPRouteSubtypeForKind(c.kind), MPRouteNameForKind(c.kind));
        SCOPED_TRACE(route->routeName());
        EXPECT_EQ(send<bool>(route.get(), "isAirpodsRoute"), c.airpods);
        EXPECT_EQ(send<bool>(route.get(), "isB298Route"), c.b298);
        EXPECT_EQ(send<bool>(route.get(), "isB515Route"), c.b515);
        EXPECT_EQ(send<bool>(route.get(), "isB688Route"), c.b688);
        // Only wired and other headphones lie above 13, where the plug-in's own test begins.
        EXPECT_EQ(send<NSInteger>(route.get(), "routeSubtype") > 13,
                  c.kind == MPRouteKind::Headphones);
    }
    MPRouteKind kind;
    EXPECT_TRUE(MPRouteKindFromString("airpods-gen3", &kind));
    EXPECT_EQ(kind, MPRouteKind::AirPodsGen3);
    EXPECT_FALSE(MPRouteKindFromString("AirPods", &kind));
}

TEST(Routes, SystemAudioRouteCanBeBuiltThroughTheRuntime) {
    SBRegisterHostClasses();
    Class contextClass = objc_getClass("MRAVOutputContext");
    EXPECT_EQ(send<id>(contextClass, "sharedSystemAudioContext"), nullptr);

    MPSetSystemAudioRoute(MPRouteKind::AirPodsGen3);
    id context = send<id>(contextClass, "sharedSystemAudioContext");
    ASSERT_NE(context, nullptr);
    id av = send<id>(context, "avOutputContext");
    id output = send<id>(av, "outputDevice");
    ASSERT_NE(output, nullptr);
    id sourceInfo = send<id>(
        context, "valueForKey:", static_cast<id>(NSString::make("_outputDeviceSourceInfo").get()));
    EXPECT_NE(cast<NSDictionary>(sourceInfo), nullptr);

    auto device = adopt(class_createInstance(objc_getClass("MRAVConcreteOutputDevice")));
    EXPECT_EQ(send<id>(device.get(), "initWithAVOutputDevice:sourceInfo:", output, sourceInfo),
              device.get());
    auto route = adopt(class_createInstance(objc_getClass("MPAVOutputDeviceRoute")));
    Ref<NSArray> devices = NSArray::make({device});
    send<id>(route.get(), "initWithOutputDevices:", devices);
    EXPECT_TRUE(send<bool>(route.get(), "isB688Route"));
    EXPECT_EQ(send<NSInteger>(route.get(), "routeSubtype"),
              MPRouteSubtypeForKind(MPRouteKind::AirPodsGen3));

    // A route made from nothing is a plain one.
    auto empty = adopt(class_createInstance(objc_getClass("MPAVOutputDeviceRoute")));
    send<id>(empty.get(), "initWithOutputDevices:", static_cast<id>(nullptr));
    EXPECT_FALSE(send<bool>(empty.get(), "isAirpodsRoute"));

    MPRemoveSystemAudioContext();
    EXPECT_EQ(send<id>(contextClass, "sharedSystemAudioContext"), nullptr);
}

class GlyphBundle : public ::testing::Test {
  protected:
    void SetUp() override {
        SBRegisterHostClasses();
        folder_ = MPGlyphBundlePath(kBatteryCenterUIBundleIdentifier);
        std::filesystem::create_directories(folder_);
        std::string glyphs = std::string(VEY_SOURCE_DIR) + "/assets/glyphs/";
        std::filesystem::copy_file(glyphs + "B688.png", folder_ + "/B688.png");
        std::filesystem::copy_file(glyphs + "B688@3x.png", folder_ + "/B688@3x.png");
        std::ofstream(folder_ + "/broken.png") << "not a picture";
    }
    id image(const char* name, id bundle) {
        return send<id>(UIImage::cls(),
                        "imageNamed:inBundle:", static_cast<id>(NSString::make(name).get()),
                        bundle);
    }
    TempDevice device_;
    std::string folder_;
};

TEST_F(GlyphBundle, ImagesComeFromTheRegisteredFolderAtTheScreensScale) {
    auto identifier = [](std::string_view s) -> id { return autorelease(NSString::make(s)); };
    Class bundleClass = objc_getClass("NSBundle");
    EXPECT_EQ(send<id>(bundleClass,
                       "bundleWithIdentifier:", identifier(kBatteryCenterUIBundleIdentifier)),
              nullptr);
    MPRegisterDeviceBundles();
    id bundle = send<id>(bundleClass,
                         "bundleWithIdentifier:", identifier(kBatteryCenterUIBundleIdentifier));
    ASSERT_NE(bundle, nullptr);
    // Only the folder that exists is a bundle.
    EXPECT_EQ(
        send<id>(bundleClass, "bundleWithIdentifier:", identifier(kBatteryCenterBundleIdentifier)),
        nullptr);

    UIScreen::mainScreen()->setScale(3);
    auto* glyph = cast<UIImage>(image("B688", bundle));
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(glyph->scale(), 3);
    EXPECT_EQ(glyph->size(), CGSizeMake(30, 30));
    UIScreen::mainScreen()->setScale(2);
    glyph = cast<UIImage>(image("B688", bundle));
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(glyph->scale(), 1);
    EXPECT_EQ(glyph->size(), CGSizeMake(30, 30));

    EXPECT_EQ(image("batteryglyphs-b515", bundle), nullptr);
    EXPECT_EQ(image("broken", bundle), nullptr);
    EXPECT_EQ(image("../B688", bundle), nullptr);
    EXPECT_EQ(image("B688", nullptr), nullptr);
}

} // namespace
