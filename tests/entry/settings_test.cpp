#include "common/device.h"
#include "entry/hooks.h"
#include "entry/state.h"
#include "platform/uikit/uikit.h"

TEST(VersionTest, OnlyTheMajorNumberCountsAndTheComparisonIsSigned) {
    struct Case {
        const char* version;
        int major;
        bool atLeast;
    } cases[] = {{"16", 16, true},     {"15.8", 16, false},   {"17.0.1", 16, true},
                 {"16.7.2", 16, true}, {"16.7.2", 17, false}, {"beta", 16, false},
                 {"beta", -1, true}};
    for (const Case& c : cases) {
        UIDevice::currentDevice()->setSystemVersion(c.version);
        EXPECT_EQ(isIOSVersionAtLeast(c.major), c.atLeast) << c.version << " " << c.major;
    }
}

TEST(Settings, NoStoredValuesBindsOnlyEnabledAndInstallsNothing) {
    TestDevice device;
    initialiseVey();
    EXPECT_FALSE(enabled);
    EXPECT_EQ(newArtworkSize, "300") << "not registered, so the initial value survives";
    EXPECT_EQ(orig_SBMediaController_setNowPlayingInfo, nullptr);
    // Turning it on later changes nothing until the next start.
    device.write({{"Enabled", true}, {"style", "darkMode"}});
    notify_post(HBPreferences::reloadNotificationName(kVeyPreferencesDomain));
    EXPECT_TRUE(enabled);
    EXPECT_EQ(styleValue, "colorFlow");
}

TEST(Settings, StoredValuesAndChangesReachTheVariables) {
    TestDevice device;
    device.write({{"Enabled", true},
                  {"dismissTimeout", "abc"},
                  {"artworkSize", "300"},
                  {"glitchSwitch", true}});
    initialiseVey();
    EXPECT_EQ(dismissTimeout, "abc");
    EXPECT_EQ(newArtworkSize, "300");
    EXPECT_TRUE(enableGlitch);
    device.write({{"Enabled", true}, {"dismissTimeout", "0"}});
    notify_post(HBPreferences::reloadNotificationName(kVeyPreferencesDomain));
    EXPECT_EQ(dismissTimeout, "0");
    EXPECT_EQ(newArtworkSize, "250") << "a removed key falls back to its default";
    EXPECT_FALSE(enableGlitch);
}
