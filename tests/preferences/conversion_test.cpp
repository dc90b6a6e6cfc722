// Stored values of other types, as other programs write them, read the way the platform reads.
#include "prefs_fixture.h"

TEST_F(PrefsTest, OtherTypesReadAsThePlatformWould) {
    // registerObject's text, then registerBool's reading with default NO and with default YES.
    auto readings = [](const char* key) {
        auto p = HBPreferences::initWithIdentifier(kDomain);
        bool no = true, yes = false;
        p->registerBool(&no, false, key);
        p->registerBool(&yes, true, key);
        return stored(key) + (no ? " YES" : " NO") + (yes ? " YES" : " NO");
    };
    // A value as Python writes it, and how it reads (strings read as NSString's boolValue).
    const std::pair<const char*, const char*> cases[] = {
        {"-3", "-3 YES YES"},
        {"10**15", "1000000000000000 YES YES"},
        {"0.1", "0.1 YES YES"},
        {"3.0", "3 YES YES"},
        {"True", "1 YES YES"},
        {"False", "0 NO NO"},
        {"'h\\u00e9llo \\u2713'", "h\u00e9llo \u2713 NO NO"},
        {"0", "0 NO NO"},
        {"[1, 2]", "default NO YES"},
        {"b'\\x00\\x01'", "default NO YES"},
        {"datetime.datetime(2020, 1, 1)", "default NO YES"},
    };
    std::string dict;
    for (std::size_t i = 0; i < std::size(cases); i++)
        dict += "'" + std::to_string(i) + "': " + cases[i].first + ", ";
    for (bool binary : {false, true}) {
        ASSERT_TRUE(python("write({" + dict + "}, " + std::to_string(binary) + ")"));
        for (std::size_t i = 0; i < std::size(cases); i++)
            EXPECT_EQ(readings(std::to_string(i).c_str()), cases[i].second)
                << cases[i].first << (binary ? " (binary)" : " (XML)");
    }
}

// The old text format holds only strings, arrays, dictionaries and data.
TEST_F(PrefsTest, OldTextFormatReadsAsThePlatformWould) {
    const std::pair<const char*, const char*> cases[] = {
        {"// a comment\n{ /* one */ style = \"dark \\\"Mode\\\"\"; }", "dark \"Mode\""},
        {"Enabled = 1;\nstyle = \"a\\tb\\101\\U00e9\\UD83C\\UDFB5\";", "a\tbA\u00e9\U0001F3B5"},
        {"{ style = \"\\UDFB5\"; }", "\uFFFD"},
        {"{ style = (lightMode); list = (a, b,); data = <0a 0B>; }", "default"},
        {"{ style = lightMode; style = darkMode; }", "darkMode"},
    };
    for (auto [text, style] : cases) {
        writeBytes(text);
        EXPECT_EQ(stored("style"), style) << text;
    }
}
