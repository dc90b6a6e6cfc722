// Binding and reloading: variables follow the domain's file, or their defaults, keep the last
// good values while the file is damaged, and only their own live store's notification reloads them.
#include "prefs_fixture.h"

TEST_F(PrefsTest, ReloadsOnItsOwnNotificationAndKeepsTheLastGoodValues) {
    writeBytes("{ style = darkMode; }");
    ASSERT_TRUE(HBWritePreferences("com.example.other", {{"style", "blueMode"}}));
    std::string style, twin, other;
    auto prefs = HBPreferences::initWithIdentifier(kDomain);
    auto others = HBPreferences::initWithIdentifier("com.example.other");
    prefs->registerObject(&style, "colorFlow", "style");
    prefs->registerObject(&twin, "colorFlow", "style");
    prefs->registerBool(nullptr, true, "Enabled"); // nil variables are ignored
    prefs->registerObject(nullptr, "x", "style");
    others->registerObject(&other, "colorFlow", "style");
    writeBytes("{ style = lightMode; }");
    postReload("com.example.other");
    notify_post(kDomain);
    EXPECT_EQ(style + " " + other, "darkMode blueMode");
    postReload();
    EXPECT_EQ(style + " " + twin + " " + other, "lightMode lightMode blueMode");

    // A damaged file changes nothing and is reported once, until a good read.
    for (const char* bad : {"<plist><dict><key>style", "", "<plist><dict><key>style"}) {
        writeBytes(bad);
        postReload();
        EXPECT_EQ(style, "lightMode") << bad;
    }
    writeBytes("{ style = darkMode; }");
    postReload();
    std::filesystem::remove(path());
    std::filesystem::create_directory(path());
    postReload();
    EXPECT_EQ(style, "darkMode");
    EXPECT_EQ(reports_, (std::vector<std::string>{path() + " is not a property list",
                                                  path() + " is not a regular file"}));
    std::filesystem::remove(path());
    postReload();
    EXPECT_EQ(style, "colorFlow"); // no file at all: the domain was cleared

    prefs = nullptr;
    style = "untouched";
    postReload();
    EXPECT_EQ(style, "untouched") << "a store that is gone ignores the notification";
}

TEST_F(PrefsTest, AnInvalidDomainOrNoDeviceRootReadsTheDefaults) {
    for (const char* domain : {"../escape", "..", ".", "", "a/b"})
        EXPECT_EQ(HBPreferences::pathForDomain(domain), "") << domain;
    writeBytes("{ style = darkMode; }");
    NSSetDeviceRoot("");
    EXPECT_EQ(stored("style"), "default");
    EXPECT_TRUE(reports_.empty());
}
