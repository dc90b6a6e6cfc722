// Damaged and hostile domain files: refused whole when the file cannot be trusted, and only the
// offending entry left out when one value passes the limits.
#include "prefs_fixture.h"

#include <cstdint>
#include <random>
#include <sys/stat.h>

namespace {

// What a fresh store reads: the style, then "+junk" and "+after" for the keys around the odd
// value that survived.
std::string readBack(const std::string& bytes) {
    PrefsTest::writeBytes(bytes);
    auto p = HBPreferences::initWithIdentifier(kDomain);
    return PrefsTest::stored("style") + (p->objectForKey("junk") ? "+junk" : "") +
           (p->objectForKey("after") ? "+after" : "");
}

const std::string kRefused = "default";
const std::string kDropped = "darkMode+after";
const std::string kKept = "darkMode+junk+after";

std::string repeat(std::string_view s, int n) {
    std::string out;
    while (n-- > 0)
        out += s;
    return out;
}

std::string xmlWith(const std::string& junk) {
    return "<plist version=\"1.0\"><dict><key>style</key><string>darkMode</string><key>junk</key>" +
           junk + "<key>after</key><true/></dict></plist>";
}

std::string openStepWith(const std::string& junk) {
    return "{ style = darkMode; junk = " + junk + "; after = YES; }";
}

// Binary property lists built object by object: the shapes no well-behaved writer produces.
std::string be(std::uint64_t v, unsigned n) {
    std::string out(n, '\0');
    for (unsigned i = 0; i < n; i++)
        out[n - 1 - i] = static_cast<char>(v >> (8 * i));
    return out;
}
std::string ascii(std::string_view s) {
    return static_cast<char>(0x50 | s.size()) + std::string(s);
}
// An array of `refs`, or a dictionary of keys then values (fewer than 15 items).
std::string refs(const std::vector<std::uint64_t>& refs, bool dict = false) {
    std::string out(1, static_cast<char>(dict ? 0xD0 | refs.size() / 2 : 0xA0 | refs.size()));
    for (auto r : refs)
        out += be(r, 4);
    return out;
}
// { "style": "darkMode", "junk": <object 6, the first of `more`>, "after": YES }.
std::string binaryWith(const std::vector<std::string>& more) {
    std::string top = refs({1, 2, 4, 3, 6, 5}, true);
    std::vector<std::string> objects = {
        top, ascii("style"), ascii("junk"), ascii("darkMode"), ascii("after"), "\x09"};
    objects.insert(objects.end(), more.begin(), more.end());
    std::string out = "bplist00", table;
    for (auto& o : objects) {
        table += be(out.size(), 4);
        out += o;
    }
    return out + table + std::string(6, '\0') + "\x04\x04" + be(objects.size(), 8) + be(0, 8) +
           be(out.size(), 8);
}
// A chain of arrays `depth` deep, or each level twice referring to the next (2^depth expanded).
std::string nested(std::uint64_t depth, bool twice) {
    std::vector<std::string> chain;
    for (std::uint64_t next = 7; next < depth + 7; next++)
        chain.push_back(twice ? refs({next, next}) : refs({next}));
    chain.push_back(ascii("end"));
    return binaryWith(chain);
}

TEST_F(PrefsTest, UntrustworthyFilesAreRefusedAndOddEntriesLeftOut) {
    const std::string sound = binaryWith({ascii("x")});
    auto patched = [&](std::size_t fromEnd, const std::string& with) {
        return std::string(sound).replace(sound.size() - fromEnd, with.size(), with);
    };
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"XML array at the top", "<plist><array><string>darkMode</string></array></plist>",
         kRefused},
        {"binary string at the top", patched(16, be(6, 8)), kRefused},
        {"entities", "<!DOCTYPE plist [<!ENTITY a \"b\">]>" + xmlWith("<true/>"), kRefused},
        {"internal subset", "<!DOCTYPE plist [<!ELEMENT plist ANY>]>" + xmlWith("<true/>"),
         kRefused},
        {"markup in a comment", xmlWith("<array><!-- </array> --></array>"), kRefused},
        {"CDATA", xmlWith("<array><![CDATA[</array>]]></array>"), kRefused},
        {"over 1 MiB", xmlWith("<string>" + std::string(2 << 20, 'x') + "</string>"), kRefused},
        {"absurd string length", binaryWith({"\x5f\x13" + be(1ull << 62, 8) + "abc"}), kRefused},
        {"absurd array length", binaryWith({"\xaf\x13" + be(1ull << 61, 8)}), kRefused},
        {"reference out of range", binaryWith({refs({1000})}), kRefused},
        {"object count", patched(24, be(1ull << 60, 8)), kRefused},
        {"top object", patched(16, be(99, 8)), kRefused},
        {"table offset", patched(8, be(1ull << 40, 8)), kRefused},
        {"reference size", patched(25, "\x09"), kRefused},
        {"OpenStep without ';'", "{ style = darkMode }", kRefused},
        {"OpenStep cut string", "{ style = \"darkMode; }", kRefused},
        {"OpenStep odd data", openStepWith("<0a0>"), kRefused},
        {"OpenStep cut deep value", openStepWith(std::string(100, '(')), kRefused},

        {"binary", sound, kKept},
        {"XML with a byte-order mark",
         "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + xmlWith("<true/>"), kKept},
        {"OpenStep", openStepWith("(a, <0a0b>, {b = \"c\";})"), kKept},
        {"OpenStep with a byte-order mark", "\xEF\xBB\xBF" + openStepWith("x"), kKept},
        {"512 KiB string", xmlWith("<string>" + std::string(512 << 10, 'x') + "</string>"), kKept},
        {"shared twice, 5 levels", nested(5, true), kKept},
        {"nested 10 deep", nested(10, false), kKept},
        {"XML nested 10 deep", xmlWith(repeat("<array>", 10) + repeat("</array>", 10)), kKept},

        {"array holding itself", binaryWith({refs({6})}), kDropped},
        {"dictionary holding the top one", binaryWith({refs({1, 2, 4, 3, 0, 5}, true)}), kDropped},
        {"shared twice, 20 levels", nested(20, true), kDropped},
        {"nested 40 deep", nested(40, false), kDropped},
        {"XML nested 40 deep", xmlWith(repeat("<array>", 40) + repeat("</array>", 40)), kDropped},
        {"OpenStep nested 50000 deep",
         openStepWith(std::string(50000, '(') + "\")\"" + std::string(50000, ')')), kDropped},
        {"XML with 9000 elements", xmlWith("<array>" + repeat("<true/>", 9000) + "</array>"),
         kDropped},
    };
    for (auto& [name, bytes, expected] : cases)
        EXPECT_EQ(readBack(bytes), expected) << name;
}

// A cut file is refused (XML cut after its top dictionary still reads: the values are whole);
// random damage may read as anything but must not crash.
TEST_F(PrefsTest, CutOrDamagedFilesNeverCrashOrBlock) {
    std::vector<std::string> sound = {openStepWith("(a, {b = \"\\U00e9\";}, <00ff>)")};
    for (bool binary : {true, false}) {
        ASSERT_TRUE(python("write({'style': 'darkMode', 'l': [5, 2.5, {'a': b'x'}, 'h\\u00e9']}, " +
                           std::to_string(binary) + ")"));
        std::ifstream in(path(), std::ios::binary);
        sound.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::mt19937 rng(1234);
    for (const std::string& whole : sound) {
        for (std::size_t n = 0; n < std::min(whole.size(), whole.rfind("</dict>")); n++)
            EXPECT_EQ(readBack(whole.substr(0, n)), kRefused) << whole.substr(0, n);
        for (int round = 0; round < 600; round++) {
            std::string b = whole;
            for (int edits = 1 + rng() % 6; edits > 0 && !b.empty(); edits--) {
                std::size_t at = rng() % b.size(), how = rng() % 3;
                if (how == 0) b[at] = static_cast<char>(rng());
                if (how == 1) b.erase(at, 1 + rng() % 8);
                if (how == 2) b.insert(at, 1, "<>/&;![]\"'(){}=\\\x0f\xff"[rng() % 18]);
            }
            readBack(b); // any value will do; the process must carry on
        }
    }
    std::filesystem::remove(path());
    ASSERT_EQ(mkfifo(path().c_str(), 0600), 0); // no writer: opening it must not block
    EXPECT_EQ(stored("style"), kRefused);
}

} // namespace
