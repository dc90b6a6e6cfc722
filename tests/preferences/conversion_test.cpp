// Stored values of other types, as other programs write them, read the way the platform reads.
#include "prefs_fixture.h"

namespace {

class Conversions : public PrefsTest, public ::testing::WithParamInterface<bool> {};

// registerObject's text, then registerBool's reading with default NO and with default YES.
std::string readings(const char* key) {
    auto p = HBPreferences::initWithIdentifier(kDomain);
    std::string text = "unset";
    bool no = true, yes = false;
    p->registerObject(&text, "default", key);
    p->registerBool(&no, false, key);
    p->registerBool(&yes, true, key);
    return text + (no ? " YES" : " NO") + (yes ? " YES" : " NO");
}

} // namespace

TEST_P(Conversions, ReadAsThePlatformWould) {
    writeWithPython(R"({
        'int': 7, 'neg': -3, 'big': 10**15, 'real': 2.5, 'tenth': 0.1, 'wholeReal': 3.0,
        'true': True, 'false': False, 'unicode': 'h\u00e9llo \u2713', 'YES': 'YES',
        'trueWord': 'true', 'one': '1', 'NO': 'NO', 'word': 'abc', 'padded': '  y', 'zero': 0,
        'half': 0.5, 'empty': '', 'list': [1, 2], 'dict': {'a': 1}, 'data': b'\x00\x01',
        'date': datetime.datetime(2020, 1, 1)})",
                    GetParam());
    const std::pair<const char*, const char*> cases[] = {
        {"int", "7 YES YES"},
        {"neg", "-3 YES YES"},
        {"big", "1000000000000000 YES YES"},
        {"real", "2.5 YES YES"},
        {"tenth", "0.1 YES YES"},
        {"wholeReal", "3 YES YES"},
        {"true", "1 YES YES"},
        {"false", "0 NO NO"},
        {"unicode", "h\u00e9llo \u2713 NO NO"},
        {"YES", "YES YES YES"},
        {"trueWord", "true YES YES"},
        {"one", "1 YES YES"},
        {"NO", "NO NO NO"},
        {"word", "abc NO NO"},
        {"padded", "  y YES YES"},
        {"zero", "0 NO NO"},
        {"half", "0.5 YES YES"},
        {"empty", " NO NO"},
        {"list", "default NO YES"},
        {"dict", "default NO YES"},
        {"data", "default NO YES"},
        {"date", "default NO YES"},
        {"missing", "default NO YES"},
    };
    for (auto [key, expected] : cases)
        EXPECT_EQ(readings(key), expected) << key;
}

INSTANTIATE_TEST_SUITE_P(Formats, Conversions, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Binary" : "XML"; });

// The old text format holds only strings, arrays, dictionaries and data.
TEST_F(PrefsTest, OldTextFormatReadsAsThePlatformWould) {
    const std::pair<const char*, const char*> cases[] = {
        {"{ Enabled = YES; style = darkMode; }", "darkMode"},
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
