// Routes by kind, the system audio route as the plug-in builds it through the runtime, and
// the glyph bundle's images.
#include "host_fixture.h"

#include <fstream>

namespace {

Ref<NSObject> make(const char* cls) {
    return Ref<NSObject>::adopt(class_createInstance(objc_getClass(cls)));
}

TEST(Routes, EachKindAnswersTheHostsOwnTests) {
    // isAirpodsRoute, isB298Route, isB515Route, isB688Route, and a subtype above 13 (where the
    // plug-in's own headphones test begins).
    for (auto [kind, answers] : {std::pair{MPRouteKind::Speaker, "00000"},
                                 {MPRouteKind::Headphones, "00001"},
                                 {MPRouteKind::AirPods, "10000"},
                                 {MPRouteKind::AirPodsPro, "11000"},
                                 {MPRouteKind::AirPodsMax, "10100"},
                                 {MPRouteKind::AirPodsGen3, "10010"}}) {
        Ref<MPAVRoute> route = alloc<MPAVRoute>();
        route->setRoute(MPRouteSubtypeForKind(kind), MPRouteNameForKind(kind));
        std::string got;
        for (const char* test : {"isAirpodsRoute", "isB298Route", "isB515Route", "isB688Route"})
            got += send<bool>(route.get(), test) ? '1' : '0';
        got += send<NSInteger>(route.get(), "routeSubtype") > 13 ? '1' : '0';
        EXPECT_EQ(got, answers) << route->routeName();
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
    id output = send<id>(send<id>(context, "avOutputContext"), "outputDevice");
    ASSERT_NE(output, nullptr);
    id sourceInfo = send<id>(
        context, "valueForKey:", static_cast<id>(NSString::make("_outputDeviceSourceInfo").get()));
    EXPECT_NE(cast<NSDictionary>(sourceInfo), nullptr);

    auto device = make("MRAVConcreteOutputDevice");
    EXPECT_EQ(send<id>(device.get(), "initWithAVOutputDevice:sourceInfo:", output, sourceInfo),
              device.get());
    auto route = make("MPAVOutputDeviceRoute");
    send<id>(route.get(), "initWithOutputDevices:", static_cast<id>(NSArray::make({device}).get()));
    EXPECT_TRUE(send<bool>(route.get(), "isB688Route"));
    EXPECT_EQ(send<NSInteger>(route.get(), "routeSubtype"),
              MPRouteSubtypeForKind(MPRouteKind::AirPodsGen3));
    // A route made from nothing is a plain one.
    auto empty = make("MPAVOutputDeviceRoute");
    send<id>(empty.get(), "initWithOutputDevices:", static_cast<id>(nullptr));
    EXPECT_FALSE(send<bool>(empty.get(), "isAirpodsRoute"));
}

TEST(Routes, GlyphImagesComeFromTheRegisteredFolderAtTheScreensScale) {
    TestDevice device;
    SBRegisterHostClasses();
    std::string folder = MPGlyphBundlePath(kBatteryCenterUIBundleIdentifier);
    std::filesystem::create_directories(folder);
    std::string glyphs = std::string(VEY_SOURCE_DIR) + "/assets/glyphs/";
    std::filesystem::copy_file(glyphs + "B688.png", folder + "/B688.png");
    std::filesystem::copy_file(glyphs + "B688@3x.png", folder + "/B688@3x.png");
    std::ofstream(folder + "/broken.png") << "not a picture";

    auto bundleFor = [](std::string_view identifier) {
        return send<id>(objc_getClass("NSBundle"), "bundleWithIdentifier:",
                        static_cast<id>(autorelease(NSString::make(identifier))));
    };
    EXPECT_EQ(bundleFor(kBatteryCenterUIBundleIdentifier), nullptr);
    MPRegisterDeviceBundles();
    id bundle = bundleFor(kBatteryCenterUIBundleIdentifier);
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(bundleFor(kBatteryCenterBundleIdentifier), nullptr); // its folder does not exist

    auto image = [&](const char* name, id in) {
        return cast<UIImage>(send<id>(UIImage::cls(), "imageNamed:inBundle:",
                                      static_cast<id>(autorelease(NSString::make(name))), in));
    };
    for (auto [screen, scale] : {std::pair{3.0, 3.0}, {2.0, 1.0}}) {
        UIScreen::mainScreen()->setScale(screen);
        UIImage* glyph = image("B688", bundle);
        ASSERT_NE(glyph, nullptr) << screen;
        EXPECT_EQ(glyph->scale(), scale);
        EXPECT_EQ(glyph->size(), CGSizeMake(30, 30));
    }
    for (const char* missing : {"batteryglyphs-b515", "broken", "../B688"})
        EXPECT_EQ(image(missing, bundle), nullptr) << missing;
    EXPECT_EQ(image("B688", nullptr), nullptr);
}

} // namespace
