// Stored values of another type, as another program writes them, in both file formats.
#include "prefs_fixture.h"

namespace {

const char* kStored = R"({
    'intText': 7, 'negText': -3, 'bigText': 10**15, 'realText': 2.5, 'tenthText': 0.1,
    'wholeRealText': 3.0, 'trueText': True, 'falseText': False, 'unicode': 'h\u00e9llo \u2713',
    'yes': 'YES', 'trueWord': 'true', 'one': '1', 'no': 'NO', 'word': 'abc', 'padded': '  y',
    'two': 2, 'zero': 0, 'half': 0.5, 'realBool': True,
    'list': [1, 2], 'dict': {'a': 1}, 'data': b'\x00\x01', 'date': datetime.datetime(2020, 1, 1),
    'emptyList': [], 'emptyString': ''
})";

class Conversions : public PrefsTest, public ::testing::WithParamInterface<bool> {};

std::string readString(HBPreferences* p, const char* key, std::string fallback = "default") {
    std::string v = "unset";
    p->registerObject(&v, std::move(fallback), key);
    return v;
}

int readBool(HBPreferences* p, const char* key, bool fallback) {
    bool v = !fallback;
    p->registerBool(&v, fallback, key);
    return v;
}

} // namespace

TEST_P(Conversions, ReadAsThePlatformWould) {
    writeWithPython(kStored, GetParam());
    auto p = HBPreferences::initWithIdentifier(kDomain);

    EXPECT_EQ(readString(p, "intText"), "7");
    EXPECT_EQ(readString(p, "negText"), "-3");
    EXPECT_EQ(readString(p, "bigText"), "1000000000000000");
    EXPECT_EQ(readString(p, "realText"), "2.5");
    EXPECT_EQ(readString(p, "tenthText"), "0.1");
    EXPECT_EQ(readString(p, "wholeRealText"), "3");
    EXPECT_EQ(readString(p, "trueText"), "1");
    EXPECT_EQ(readString(p, "falseText"), "0");
    EXPECT_EQ(readString(p, "unicode"), "h\u00e9llo \u2713");
    EXPECT_EQ(readString(p, "emptyString"), "");

    for (const char* key : {"yes", "trueWord", "one", "padded", "two", "half", "realBool"}) {
        EXPECT_TRUE(readBool(p, key, false)) << key;
    }
    for (const char* key : {"no", "word", "zero", "emptyString"}) {
        EXPECT_FALSE(readBool(p, key, true)) << key;
    }

    // Values that do not convert, and missing keys, give the defaults.
    for (const char* key : {"list", "dict", "data", "date", "emptyList", "missing"}) {
        EXPECT_EQ(readString(p, key), "default") << key;
        EXPECT_TRUE(readBool(p, key, true)) << key;
        EXPECT_FALSE(readBool(p, key, false)) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, Conversions, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Binary" : "XML"; });

// The old text format holds only strings, arrays, dictionaries and data.
TEST_F(PrefsTest, OldTextFormatReadsAsThePlatformWould) {
    struct Case {
        const char* text;
        const char* style; // as registerObject reads it
        bool enabled;
    };
    const Case cases[] = {
        {"{ Enabled = YES; style = darkMode; }", "darkMode", true},
        {"// a comment\n{ /* one */ style = \"dark \\\"Mode\\\"\"; 'Enabled' = 1; }",
         "dark \"Mode\"", true},
        {"Enabled = true;\nstyle = \"a\\tb\\101\\U00e9\\UD83C\\UDFB5\";", "a\tbA\u00e9\U0001F3B5",
         true},
        {"{ style = \"\\UDFB5\"; Enabled = NO; }", "\uFFFD", false},
        {"{ style = (lightMode); Enabled = <01>; list = (a, b,); }", "colorFlow", false},
        {"{ style = lightMode; style = darkMode; }", "darkMode", false},
    };
    for (const Case& c : cases) {
        writeBytes(c.text);
        auto p = HBPreferences::initWithIdentifier(kDomain);
        EXPECT_EQ(readString(p, "style", "colorFlow"), c.style) << c.text;
        EXPECT_EQ(readBool(p, "Enabled", false), c.enabled) << c.text;
    }
}
