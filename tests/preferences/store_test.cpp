// Binding and reloading: variables follow the domain's file, or their defaults, keep the last
// good values while the file is damaged, and only their own domain's notification reloads them.
#include "prefs_fixture.h"

TEST_F(PrefsTest, ReloadsOnItsOwnNotificationAndKeepsTheLastGoodValues) {
    writeBytes("{ style = darkMode; }");
    std::string style, twin;
    auto prefs = HBPreferences::initWithIdentifier(kDomain);
    prefs->registerObject(&style, "colorFlow", "style");
    prefs->registerObject(&twin, "colorFlow", "style");
    writeBytes("{ style = lightMode; }");
    postReload("com.example.other");
    notify_post(kDomain);
    EXPECT_EQ(style, "darkMode");
    postReload();
    EXPECT_EQ(style + " " + twin, "lightMode lightMode");

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
    EXPECT_EQ(reports_,
              (std::vector<std::string>{"com.lantern.veypreferences.plist is not a property list",
                                        "com.lantern.veypreferences.plist is not a regular file"}));
    std::filesystem::remove(path());
    postReload();
    EXPECT_EQ(style, "colorFlow"); // no file at all: the domain was cleared
}

TEST_F(PrefsTest, StoresAreIndependentAndAGoneStoreIgnoresTheNotification) {
    writeBytes("{ style = darkMode; }");
    ASSERT_TRUE(HBWritePreferences("com.example.other", {{"style", "lightMode"}}));
    std::string mine, other;
    auto a = HBPreferences::initWithIdentifier(kDomain);
    auto b = HBPreferences::initWithIdentifier("com.example.other");
    a->registerObject(&mine, "colorFlow", "style");
    b->registerObject(&other, "colorFlow", "style");
    EXPECT_EQ(mine + " " + other, "darkMode lightMode");
    a->registerBool(nullptr, true, "Enabled"); // nil variables are ignored
    a->registerObject(nullptr, "x", "style");
    postReload();
    a = nullptr;
    mine = "untouched";
    postReload();
    EXPECT_EQ(mine + " " + other, "untouched lightMode");

    for (const char* domain : {"../escape", "..", ".", "", "a/b"})
        EXPECT_EQ(HBPreferences::pathForDomain(domain), "") << domain;
    NSSetDeviceRoot(""); // no device root: the defaults
    EXPECT_EQ(stored("style"), "default");
    EXPECT_TRUE(reports_.empty());
}
