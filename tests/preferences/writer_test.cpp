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

class Writer : public PrefsTest, public ::testing::WithParamInterface<PlistFormat> {};

} // namespace

TEST_P(Writer, WritesWhatTheStoreAndPythonReadBack) {
    std::string error;
    ASSERT_TRUE(HBWritePreferences(kDomain,
                                   {{"Enabled", true},
                                    {"addBorder", false},
                                    {"style", "darkMode"},
                                    {"odd", "a<b & \"c\"'>"},
                                    {"text", "h\u00e9 \u2713\r\n\t\x7f"},
                                    {"style", std::string("lightMode")}}, // a later pair wins
                                   GetParam(), &error))
        << error;
    EXPECT_EQ(stored("Enabled") + stored("addBorder") + stored("style") + stored("odd") +
                  stored("text"),
              "10lightModea<b & \"c\"'>h\u00e9 \u2713\r\n\t\x7f");
    EXPECT_EQ(readWithPython(path()),
              "[('Enabled', True), ('addBorder', False), ('odd', 'a<b & \"c\"\\'>'), "
              "('style', 'lightMode'), ('text', 'h\u00e9 \u2713\\r\\n\\t\\x7f')]\n");

    // A second write replaces the domain rather than merging into it.
    ASSERT_TRUE(HBWritePreferences(kDomain, {{"style", "darkMode"}}, GetParam(), &error));
    EXPECT_EQ(stored("Enabled") + stored("style"), "defaultdarkMode");
}

INSTANTIATE_TEST_SUITE_P(Formats, Writer, ::testing::Values(PlistFormat::XML, PlistFormat::Binary),
                         [](const auto& info) {
                             return info.param == PlistFormat::XML ? "XML" : "Binary";
                         });

TEST_F(PrefsTest, WritingRefusesWhatASettingsFileCannotHold) {
    std::string error;
    ASSERT_TRUE(HBWritePreferences(kDomain, {{"style", "darkMode"}}, PlistFormat::XML, &error));
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
        for (PlistFormat format : {PlistFormat::XML, PlistFormat::Binary}) {
            EXPECT_FALSE(HBWritePreferences(kDomain, {{"style", text}}, format, &error));
            EXPECT_NE(error.find(std::string("the value of \"style\" ") + why), std::string::npos)
                << error;
            EXPECT_FALSE(HBWritePreferences(kDomain, {{text, true}}, format, &error));
            EXPECT_NE(error.find(std::string("a key ") + why), std::string::npos) << error;
        }
    EXPECT_EQ(stored("style"), "darkMode"); // the refused writes left the file as it was

    EXPECT_FALSE(HBWritePreferences("../outside", {{"a", true}}, PlistFormat::XML, &error));
    EXPECT_NE(error.find("../outside"), std::string::npos) << error;
    NSSetDeviceRoot("");
    EXPECT_FALSE(HBWritePreferences(kDomain, {{"a", true}}, PlistFormat::XML, &error));
    EXPECT_NE(error.find("device root"), std::string::npos) << error;
}

TEST_F(PrefsTest, InstallsAGivenFileAsTheDomain) {
    std::string source = root_ + "/given.plist";
    std::ofstream(source) << "{ style = darkMode; }";
    std::string error;
    ASSERT_TRUE(HBInstallPreferencesFile(kDomain, source, &error)) << error;
    EXPECT_EQ(stored("style"), "darkMode");
    EXPECT_FALSE(HBInstallPreferencesFile(kDomain, root_ + "/missing.plist", &error));
    EXPECT_NE(error.find("missing.plist"), std::string::npos) << error;
    EXPECT_FALSE(HBInstallPreferencesFile(kDomain, root_, &error));
    EXPECT_EQ(stored("style"), "darkMode"); // a failed install leaves the old file
}
