#include "entry/install.h"
#include "entry/state.h"
#include "platform/preferences/preferences.h"
#include "platform/uikit/uikit.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace {

// A device root of its own for each test.
struct Device {
    Device() {
        char tmpl[] = "/tmp/vey-entry-XXXXXX";
        root = mkdtemp(tmpl);
        NSSetDeviceRoot(root);
    }
    ~Device() { std::filesystem::remove_all(root); }
    void write(const std::vector<std::pair<std::string, PreferenceValue>>& values) {
        std::string error;
        ASSERT_TRUE(HBWritePreferences(kVeyPreferencesDomain, values, PlistFormat::XML, &error))
            << error;
    }
    std::string root;
};

// Every method and property of every class registered so far, by class name.
std::map<std::string, std::vector<std::string>> listing() {
    std::map<std::string, std::vector<std::string>> out;
    for (Class c : objc_classList()) {
        auto& lines = out[c->name];
        for (Class k : {c, object_getClass(c)})
            for (auto& l : class_methodListing(k))
                lines.push_back(l);
        for (auto& l : class_propertyListing(c))
            lines.push_back(l);
    }
    return out;
}

// Only classes present before count: the store may register its own class on first use.
void expectUnchanged(const std::map<std::string, std::vector<std::string>>& before) {
    auto after = listing();
    for (auto& [name, lines] : before)
        EXPECT_EQ(after[name], lines) << name;
}

} // namespace

TEST(VersionTest, OnlyTheMajorNumberCounts) {
    auto* device = UIDevice::currentDevice();
    device->setSystemVersion("16");
    EXPECT_TRUE(isIOSVersionAtLeast(16));
    device->setSystemVersion("15.8");
    EXPECT_FALSE(isIOSVersionAtLeast(16));
    device->setSystemVersion("17.0.1");
    EXPECT_TRUE(isIOSVersionAtLeast(16));
    device->setSystemVersion("16.7.2");
    EXPECT_TRUE(isIOSVersionAtLeast(16));
    EXPECT_FALSE(isIOSVersionAtLeast(17));
    device->setSystemVersion("beta");
    EXPECT_FALSE(isIOSVersionAtLeast(16));
    EXPECT_TRUE(isIOSVersionAtLeast(-1)) << "signed comparison";
}

TEST(Settings, NoStoredValuesBindsOnlyEnabledAndInstallsNothing) {
    Device device;
    UIView::cls();
    auto before = listing();
    initialiseVey();
    EXPECT_FALSE(enabled);
    EXPECT_EQ(newArtworkSize, "300") << "not registered, so the initial value survives";
    expectUnchanged(before);
    // Turning it on later changes nothing until the next start.
    device.write({{"Enabled", true}, {"style", "darkMode"}});
    notify_post(HBPreferences::reloadNotificationName(kVeyPreferencesDomain));
    EXPECT_TRUE(enabled);
    EXPECT_EQ(styleValue, "colorFlow");
}

TEST(Settings, OnlyEnabledStoredGivesEveryDefault) {
    Device device;
    device.write({{"Enabled", true}});
    initialiseVey();
    EXPECT_TRUE(enabled);
    EXPECT_EQ(newArtworkSize, "250");
    EXPECT_EQ(styleValue, "colorFlow");
    EXPECT_EQ(blurModeValue, "1");
    EXPECT_EQ(blurRadius, "10");
    EXPECT_EQ(glassWidth, "13");
    EXPECT_EQ(dismissTimeout, "15");
    EXPECT_TRUE(backgroundArtworkSwitch && borderFrameEnabled && addBlurSwitch &&
                backgroundBlurEffect && miniBackgroundSwitch && maxiBackgroundSwitch &&
                timelineNumbers && hideNotificationTweaks);
    EXPECT_FALSE(borderEnabled || showDeviceNameSwitch || enableGlitch);
}

TEST(Settings, StoredValuesAndChangesReachTheVariables) {
    Device device;
    device.write({{"Enabled", true},
                  {"dismissTimeout", "abc"},
                  {"artworkSize", "300"},
                  {"glitchSwitch", true}});
    initialiseVey();
    EXPECT_EQ(NSStringIntValue(dismissTimeout), 0);
    EXPECT_EQ(newArtworkSize, "300");
    EXPECT_TRUE(enableGlitch);
    device.write({{"Enabled", true}, {"dismissTimeout", "0"}});
    notify_post(HBPreferences::reloadNotificationName(kVeyPreferencesDomain));
    EXPECT_EQ(dismissTimeout, "0");
    EXPECT_EQ(newArtworkSize, "250") << "a removed key falls back to its default";
    EXPECT_FALSE(enableGlitch);
}
