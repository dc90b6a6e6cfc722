// The simulator's way into a domain: files it writes are read back by the store and by Python.
#include "prefs_fixture.h"

TEST_F(PrefsTest, WritesWhatTheStoreAndPythonReadBack) {
    for (PlistFormat format : {PlistFormat::XML, PlistFormat::Binary}) {
        SCOPED_TRACE(format == PlistFormat::XML ? "XML" : "binary");
        ASSERT_TRUE(HBWritePreferences(kDomain,
                                       {{"Enabled", true},
                                        {"addBorder", false},
                                        {"style", "darkMode"},
                                        {"odd", "a<b & \"c\"'> h\u00e9 \u2713\r\n\t\x7f"},
                                        {"style", std::string("lightMode")}}, // a later pair wins
                                       format));
        EXPECT_EQ(stored("Enabled") + stored("addBorder") + stored("style") + stored("odd"),
                  "10lightModea<b & \"c\"'> h\u00e9 \u2713\r\n\t\x7f");
        EXPECT_TRUE(python("d = load(open(f, 'rb'))\nassert d == {'Enabled': True, "
                           "'addBorder': False, 'style': 'lightMode', "
                           "'odd': 'a<b & \"c\"\\'> h\u00e9 \u2713\\r\\n\\t\\x7f'}, d"));
        // A second write replaces the domain rather than merging into it.
        ASSERT_TRUE(HBWritePreferences(kDomain, {{"style", "darkMode"}}, format));
        EXPECT_EQ(stored("Enabled") + stored("style"), "defaultdarkMode");
    }
}

TEST_F(PrefsTest, WritingRefusesWhatASettingsFileCannotHold) {
    const std::pair<std::string, const char*> cases[] = {
        {"a\x01", "holds the control character \\x01"},
        {std::string("a\0b", 3), "holds the control character \\x00"},
        {"caf\xe9", "is not valid UTF-8 (byte \\xe9)"},
        {"\xc3", "is not valid UTF-8"},
        {"\xc0\xaf", "is not valid UTF-8"},     // an overlong "/"
        {"\xed\xa0\x80", "is not valid UTF-8"}, // a surrogate
        {"\xf4\x90\x80\x80", "is not valid UTF-8"},
        {"\xef\xbf\xbf", "holds U+FFFF"},
    };
    for (auto& [text, why] : cases)
        EXPECT_EQ(HBPreferencesTextProblem(text).rfind(why, 0), 0u) << why;
    std::string error;
    ASSERT_TRUE(HBWritePreferences(kDomain, {{"style", "darkMode"}}, PlistFormat::XML, &error));
    EXPECT_FALSE(HBWritePreferences(kDomain, {{"style", "a\x01"}}, PlistFormat::Binary, &error));
    EXPECT_EQ(error.rfind("the value of \"style\" holds the control character \\x01", 0), 0u);
    EXPECT_FALSE(HBWritePreferences(kDomain, {{"caf\xe9", true}}, PlistFormat::XML, &error));
    EXPECT_EQ(error.rfind("a key is not valid UTF-8 (byte \\xe9)", 0), 0u) << error;
    EXPECT_EQ(stored("style"), "darkMode"); // the refused writes left the file as it was

    NSSetDeviceRoot("");
    EXPECT_FALSE(HBWritePreferences(kDomain, {{"a", true}}, PlistFormat::XML, &error));
    EXPECT_NE(error.find("device root"), std::string::npos) << error;
}

TEST_F(PrefsTest, InstallsAGivenFileAsTheDomain) {
    std::string source = device_.root + "/given.plist", error;
    std::ofstream(source) << "{ style = darkMode; }";
    ASSERT_TRUE(HBInstallPreferencesFile(kDomain, source, &error)) << error;
    EXPECT_EQ(stored("style"), "darkMode");
    EXPECT_FALSE(HBInstallPreferencesFile(kDomain, device_.root + "/missing.plist", &error));
    EXPECT_NE(error.find("missing.plist"), std::string::npos) << error;
    EXPECT_EQ(stored("style"), "darkMode"); // a failed install leaves the old file
}
