#include "prefs_fixture.h"

namespace {

// A few settings of the plug-in's table, with their defaults, bound the way the plug-in binds.
struct Settings {
    bool enabled = false;
    std::string style = "colorFlow";
    bool backgroundArtwork = true;
    std::string artworkSize = "300"; // differs from its default on purpose
    std::string dismissTimeout = "15";
    bool glitch = false;

    void bind(HBPreferences* p) {
        p->registerBool(&enabled, false, "Enabled");
        p->registerObject(&style, "colorFlow", "style");
        p->registerBool(&backgroundArtwork, true, "backgroundArtwork");
        p->registerObject(&artworkSize, "250", "artworkSize");
        p->registerObject(&dismissTimeout, "15", "dismissTimeout");
        p->registerBool(&glitch, false, "glitchSwitch");
    }
    void expectDefaults() const {
        EXPECT_FALSE(enabled);
        EXPECT_EQ(style, "colorFlow");
        EXPECT_TRUE(backgroundArtwork);
        EXPECT_EQ(artworkSize, "250");
        EXPECT_EQ(dismissTimeout, "15");
        EXPECT_FALSE(glitch);
    }
};

} // namespace

TEST_F(PrefsTest, MissingFileOrDeviceRootGivesTheDefaults) {
    Settings s;
    auto prefs = HBPreferences::initWithIdentifier(kDomain);
    s.bind(prefs);
    s.expectDefaults();
    EXPECT_EQ(prefs->objectForKey("Enabled"), nullptr);

    NSSetDeviceRoot("");
    Settings t;
    t.bind(HBPreferences::initWithIdentifier(kDomain));
    t.expectDefaults();
}

TEST_F(PrefsTest, OnlyEnabledStoredLeavesEveryOtherKeyAtItsDefault) {
    writeWithPython("{'Enabled': True}", false);
    Settings s;
    s.bind(HBPreferences::initWithIdentifier(kDomain));
    EXPECT_TRUE(s.enabled);
    s.enabled = false;
    s.expectDefaults();
}

TEST_F(PrefsTest, NumericSettingsStayTextAndNonNumbersReadZero) {
    for (const char* stored : {"0", "abc"}) {
        writeWithPython(std::string("{'dismissTimeout': '") + stored + "'}", true);
        Settings s;
        s.bind(HBPreferences::initWithIdentifier(kDomain));
        EXPECT_EQ(s.dismissTimeout, stored);
        EXPECT_EQ(NSStringIntValue(s.dismissTimeout), 0);
    }
}

TEST_F(PrefsTest, ReloadsOnlyWhenTheDomainsNotificationIsPosted) {
    writeWithPython("{'Enabled': True, 'style': 'darkMode', 'artworkSize': '200'}", false);
    Settings s, twin;
    auto prefs = HBPreferences::initWithIdentifier(kDomain);
    s.bind(prefs);
    prefs->registerObject(&twin.style, "colorFlow", "style");
    EXPECT_EQ(s.style, "darkMode");

    writeWithPython("{'Enabled': True, 'style': 'lightMode'}", true);
    EXPECT_EQ(s.style, "darkMode");
    postReload("com.example.other");
    notify_post(kDomain);
    EXPECT_EQ(s.style, "darkMode");

    postReload();
    EXPECT_EQ(s.style, "lightMode");
    EXPECT_EQ(twin.style, "lightMode");
    EXPECT_EQ(s.artworkSize, "250"); // the removed key is back at its default

    std::filesystem::remove(path());
    postReload();
    s.expectDefaults();
}

TEST_F(PrefsTest, StoresAreIndependentAndAGoneStoreIgnoresTheNotification) {
    writeWithPython("{'style': 'darkMode'}", false);
    writeWithPython("{'style': 'lightMode'}", false, "com.example.other");
    std::string mine, other;
    auto a = HBPreferences::initWithIdentifier(kDomain);
    auto b = HBPreferences::initWithIdentifier("com.example.other");
    a->registerObject(&mine, "colorFlow", "style");
    b->registerObject(&other, "colorFlow", "style");
    EXPECT_EQ(mine, "darkMode");
    EXPECT_EQ(other, "lightMode");

    a = nullptr;
    mine = "untouched";
    writeWithPython("{'style': 'lightMode'}", false);
    postReload();
    EXPECT_EQ(mine, "untouched");
    EXPECT_EQ(other, "lightMode");
}

TEST_F(PrefsTest, NilVariablesAndForeignDomainsAreIgnored) {
    auto prefs = HBPreferences::initWithIdentifier(kDomain);
    prefs->registerBool(nullptr, true, "Enabled");
    prefs->registerObject(nullptr, "x", "style");
    postReload();
    EXPECT_EQ(HBPreferences::pathForDomain("../escape"), "");
    EXPECT_EQ(HBPreferences::pathForDomain(".."), "");
    EXPECT_EQ(HBPreferences::pathForDomain(kDomain),
              root_ + "/Library/Preferences/com.lantern.veypreferences.plist");
}
