// Binding and reloading: variables follow the domain's file, or their defaults, and keep the
// last good values while the file is damaged.
#include "prefs_fixture.h"

namespace {

// A few settings of the plug-in's table, with their defaults, bound the way the plug-in binds.
struct Settings {
    bool enabled = false;
    std::string style = "colorFlow";
    bool backgroundArtwork = true;
    std::string artworkSize = "300"; // differs from its default on purpose

    void bind(HBPreferences* p) {
        p->registerBool(&enabled, false, "Enabled");
        p->registerObject(&style, "colorFlow", "style");
        p->registerBool(&backgroundArtwork, true, "backgroundArtwork");
        p->registerObject(&artworkSize, "250", "artworkSize");
    }
    std::string summary() const {
        return std::string(enabled ? "on " : "off ") + style + (backgroundArtwork ? " bg " : " ") +
               artworkSize;
    }
};

class Store : public PrefsTest {
  protected:
    void SetUp() override {
        PrefsTest::SetUp();
        HBPreferences::setProblemHandler([this](const std::string& file, const std::string& why) {
            reports_.push_back(file.substr(file.rfind('/') + 1) + " " + why);
        });
    }
    void TearDown() override {
        HBPreferences::setProblemHandler(nullptr);
        PrefsTest::TearDown();
    }
    std::vector<std::string> reports_;
};

} // namespace

TEST_F(Store, MissingFileOrDeviceRootGivesTheDefaults) {
    Settings s, t, u;
    s.bind(HBPreferences::initWithIdentifier(kDomain));
    EXPECT_EQ(s.summary(), "off colorFlow bg 250");
    writeWithPython("{'Enabled': True}", false);
    t.bind(HBPreferences::initWithIdentifier(kDomain));
    EXPECT_EQ(t.summary(), "on colorFlow bg 250");
    NSSetDeviceRoot("");
    u.bind(HBPreferences::initWithIdentifier(kDomain));
    EXPECT_EQ(u.summary(), "off colorFlow bg 250");
    EXPECT_TRUE(reports_.empty());
}

TEST_F(Store, ReloadsOnTheDomainsNotificationAndKeepsTheLastGoodValues) {
    writeWithPython("{'Enabled': True, 'style': 'darkMode', 'artworkSize': '200'}", false);
    Settings s;
    std::string twin;
    auto prefs = HBPreferences::initWithIdentifier(kDomain);
    s.bind(prefs);
    prefs->registerObject(&twin, "colorFlow", "style");
    EXPECT_EQ(s.summary(), "on darkMode bg 200");

    writeWithPython("{'Enabled': True, 'style': 'lightMode'}", true);
    postReload("com.example.other");
    notify_post(kDomain);
    EXPECT_EQ(s.style, "darkMode");
    postReload();
    EXPECT_EQ(s.summary() + " " + twin, "on lightMode bg 250 lightMode");

    // A damaged file changes nothing and is reported once, until a good read.
    for (const char* bad : {"<plist><dict><key>style", "", "<plist><dict><key>style"}) {
        writeBytes(bad);
        postReload();
        EXPECT_EQ(s.summary(), "on lightMode bg 250") << bad;
    }
    writeBytes("{ style = darkMode; }");
    postReload();
    EXPECT_EQ(s.summary(), "off darkMode bg 250");
    std::filesystem::remove(path());
    std::filesystem::create_directory(path());
    postReload();
    EXPECT_EQ(s.style, "darkMode");
    EXPECT_EQ(reports_,
              (std::vector<std::string>{"com.lantern.veypreferences.plist is not a property list",
                                        "com.lantern.veypreferences.plist is not a regular file"}));

    std::filesystem::remove(path());
    postReload();
    EXPECT_EQ(s.summary(), "off colorFlow bg 250"); // no file at all: the domain was cleared
}

TEST_F(Store, StoresAreIndependentAndAGoneStoreIgnoresTheNotification) {
    writeWithPython("{'style': 'darkMode'}", false);
    writeWithPython("{'style': 'lightMode'}", false, "com.example.other");
    std::string mine, other;
    auto a = HBPreferences::initWithIdentifier(kDomain);
    auto b = HBPreferences::initWithIdentifier("com.example.other");
    a->registerObject(&mine, "colorFlow", "style");
    b->registerObject(&other, "colorFlow", "style");
    EXPECT_EQ(mine + " " + other, "darkMode lightMode");

    a = nullptr;
    mine = "untouched";
    writeWithPython("{'style': 'lightMode'}", false);
    postReload();
    EXPECT_EQ(mine + " " + other, "untouched lightMode");

    a = HBPreferences::initWithIdentifier(kDomain);
    a->registerBool(nullptr, true, "Enabled"); // nil variables are ignored
    a->registerObject(nullptr, "x", "style");
    postReload();
    for (const char* domain : {"../escape", "..", ".", "", "a/b"})
        EXPECT_EQ(HBPreferences::pathForDomain(domain), "") << domain;
}
