// Routes by kind and the glyph bundle's images.
#include "host_fixture.h"

#include <fstream>

namespace {

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
}

TEST(Routes, GlyphImagesComeFromTheRegisteredFolderAtTheScreensScale) {
    TestDevice device;
    SBRegisterHostClasses();
    std::string folder = MPGlyphBundlePath(kBatteryCenterUIBundleIdentifier);
    std::filesystem::create_directories(folder);
    std::string glyphs = std::string(VEY_SOURCE_DIR) + "/assets/glyphs/";
    for (const char* file : {"B688.png", "B688@3x.png"})
        std::filesystem::copy_file(glyphs + file, folder + "/" + file);
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
