// The simulator's way into a domain: files it writes are read back by the store and by Python.
#include "prefs_fixture.h"

#include <array>
#include <cstdio>

namespace {

// What Python's plistlib makes of the domain file, as repr() of a sorted item list.
std::string readWithPython(const std::string& file) {
    std::string command = "python3 -c \"import plistlib,sys; "
                          "print(repr(sorted(plistlib.load(open(sys.argv[1],'rb')).items())))\" '" +
                          file + "'";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 256> buf;
        while (fgets(buf.data(), buf.size(), pipe))
            out += buf.data();
        pclose(pipe);
    }
    return out;
}

const std::vector<std::pair<std::string, PreferenceValue>> kValues = {
    {"Enabled", true},          {"addBorder", false},
    {"style", "darkMode"},      {"dismissTimeout", "0"},
    {"odd", "a<b & \"c\"'>"},   {"unicode", "h\u00e9 \u2713"},
    {"lines", "a\r\nb\tc\x7f"}, {"style", std::string("lightMode")}, // a later pair wins
};

class Writer : public PrefsTest, public ::testing::WithParamInterface<PlistFormat> {};

} // namespace

TEST_P(Writer, WritesWhatTheStoreAndPythonReadBack) {
    std::string error;
    ASSERT_TRUE(HBWritePreferences(kDomain, kValues, GetParam(), &error)) << error;

    bool enabled = false, border = true;
    std::string style, timeout, odd, unicode, lines;
    auto p = HBPreferences::initWithIdentifier(kDomain);
    p->registerBool(&enabled, false, "Enabled");
    p->registerBool(&border, true, "addBorder");
    p->registerObject(&style, "colorFlow", "style");
    p->registerObject(&timeout, "15", "dismissTimeout");
    p->registerObject(&odd, "", "odd");
    p->registerObject(&unicode, "", "unicode");
    p->registerObject(&lines, "", "lines");
    EXPECT_TRUE(enabled);
    EXPECT_FALSE(border);
    EXPECT_EQ(style, "lightMode");
    EXPECT_EQ(timeout, "0");
    EXPECT_EQ(odd, "a<b & \"c\"'>");
    EXPECT_EQ(unicode, "h\u00e9 \u2713");
    EXPECT_EQ(lines, "a\r\nb\tc\x7f");

    EXPECT_EQ(readWithPython(path()),
              "[('Enabled', True), ('addBorder', False), ('dismissTimeout', '0'), "
              "('lines', 'a\\r\\nb\\tc\\x7f'), ('odd', 'a<b & \"c\"\\'>'), ('style', 'lightMode'), "
              "('unicode', 'h\u00e9 \u2713')]\n");

    // A second write replaces the domain rather than merging into it.
    ASSERT_TRUE(HBWritePreferences(kDomain, {{"style", "darkMode"}}, GetParam(), &error));
    postReload();
    EXPECT_FALSE(enabled);
    EXPECT_EQ(style, "darkMode");
}

INSTANTIATE_TEST_SUITE_P(Formats, Writer, ::testing::Values(PlistFormat::XML, PlistFormat::Binary),
                         [](const auto& info) {
                             return info.param == PlistFormat::XML ? "XML" : "Binary";
                         });

TEST_F(PrefsTest, InstallsAGivenFileAsTheDomain) {
    std::string source = root_ + "/given.plist";
    writeWithPython("{'style': 'darkMode'}", true, "com.example.scratch");
    std::filesystem::rename(path("com.example.scratch"), source);

    std::string error;
    ASSERT_TRUE(HBInstallPreferencesFile(kDomain, source, &error)) << error;
    std::string style;
    HBPreferences::initWithIdentifier(kDomain)->registerObject(&style, "colorFlow", "style");
    EXPECT_EQ(style, "darkMode");

    EXPECT_FALSE(HBInstallPreferencesFile(kDomain, root_ + "/missing.plist", &error));
    EXPECT_NE(error.find("missing.plist"), std::string::npos) << error;
    EXPECT_FALSE(HBInstallPreferencesFile(kDomain, root_, &error));
    EXPECT_TRUE(std::filesystem::exists(path())); // a failed install leaves the old file
}

TEST_F(PrefsTest, WritingRefusesWhatASettingsFileCannotHold) {
    std::string error;
    ASSERT_TRUE(HBWritePreferences(kDomain, {{"style", "darkMode"}}, PlistFormat::XML, &error));
    struct Case {
        std::string text, why;
    };
    const Case cases[] = {
        {"a\x01", "holds the control character \\x01"},
        {std::string("a\0b", 3), "holds the control character \\x00"},
        {"\x1b[0m", "holds the control character \\x1b"},
        {"caf\xe9", "is not valid UTF-8 (byte \\xe9)"},
        {"\xc3", "is not valid UTF-8"},
        {"\xc0\xaf", "is not valid UTF-8"},     // an overlong "/"
        {"\xed\xa0\x80", "is not valid UTF-8"}, // a surrogate
        {"\xf4\x90\x80\x80", "is not valid UTF-8"},
        {"\xef\xbf\xbf", "holds U+FFFF"},
    };
    for (const Case& c : cases)
        for (PlistFormat format : {PlistFormat::XML, PlistFormat::Binary}) {
            EXPECT_FALSE(HBWritePreferences(kDomain, {{"style", c.text}}, format, &error));
            EXPECT_NE(error.find("the value of \"style\" " + c.why), std::string::npos) << error;
            EXPECT_FALSE(HBWritePreferences(kDomain, {{c.text, true}}, format, &error));
            EXPECT_NE(error.find("a key " + c.why), std::string::npos) << error;
        }
    EXPECT_EQ(HBPreferencesTextProblem("\xf0\x9f\x8e\xb5 \xe4\xb8\xad"), "");
    std::string style;
    HBPreferences::initWithIdentifier(kDomain)->registerObject(&style, "colorFlow", "style");
    EXPECT_EQ(style, "darkMode"); // the refused writes left the file as it was
}

TEST_F(PrefsTest, WritingNeedsADeviceRootAndAPlainDomainName) {
    std::string error;
    EXPECT_FALSE(HBWritePreferences("../outside", {{"a", true}}, PlistFormat::XML, &error));
    EXPECT_NE(error.find("../outside"), std::string::npos) << error;
    NSSetDeviceRoot("");
    EXPECT_FALSE(HBWritePreferences(kDomain, {{"a", true}}, PlistFormat::XML, &error));
    EXPECT_NE(error.find("device root"), std::string::npos) << error;
}
