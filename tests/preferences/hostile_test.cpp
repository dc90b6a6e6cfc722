// Bad and hostile domain files give the defaults, and disturb nothing else in the process.
#include "bplist.h"
#include "prefs_fixture.h"

#include <random>
#include <sys/stat.h>

namespace {

class Hostile : public PrefsTest {
  protected:
    // The style the store reads from `bytes`, after a reload in a store that also has a sound
    // neighbouring domain which must come through untouched.
    std::string styleFrom(const std::string& bytes) {
        if (!store_) {
            writeWithPython("{'style': 'lightMode'}", true, "com.example.sound");
            neighbour_ = HBPreferences::initWithIdentifier("com.example.sound");
            neighbour_->registerObject(&neighbourStyle_, "colorFlow", "style");
            store_ = HBPreferences::initWithIdentifier(kDomain);
            store_->registerObject(&style_, "colorFlow", "style");
        }
        writeBytes(bytes);
        style_ = "unset";
        postReload();
        postReload("com.example.sound");
        EXPECT_EQ(neighbourStyle_, "lightMode");
        return style_;
    }

    Ref<HBPreferences> store_, neighbour_;
    std::string style_, neighbourStyle_;
};

std::string repeat(std::string_view s, int n) {
    std::string out;
    for (int i = 0; i < n; i++)
        out += s;
    return out;
}

// { "style": "darkMode", "junk": junk } as XML.
std::string xmlWith(const std::string& junk) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>style</key><string>darkMode</string><key>junk</key>" +
           junk + "</dict></plist>";
}

std::string chain(int depth) {
    StyleWithJunk b;
    for (int i = 0; i < depth; i++)
        b.add(Bplist::array({b.objects.size() + 1}));
    b.add(Bplist::ascii("end"));
    return b.build();
}

// Each level refers twice to the next: 2^levels objects once expanded.
std::string sharedLevels(int levels) {
    StyleWithJunk b;
    for (int i = 0; i < levels; i++)
        b.add(Bplist::array({b.objects.size() + 1, b.objects.size() + 1}));
    b.add(Bplist::ascii("leaf"));
    return b.build();
}

std::string xmlNesting(int depth) {
    return xmlWith(repeat("<array>", depth) + repeat("</array>", depth));
}

} // namespace

TEST_F(Hostile, CorruptFilesGiveTheDefaults) {
    for (std::string bytes : {std::string(), std::string("garbage"), std::string("bplist00"),
                              std::string("bplist00") + std::string(40, '\xff'),
                              std::string("<plist><dict><key>style</key><string>darkMode"),
                              std::string("<plist version=\"1.0\"><array><string>darkMode"
                                          "</string></array></plist>"),
                              std::string("\0\0\0\0", 4)}) {
        EXPECT_EQ(styleFrom(bytes), "colorFlow") << bytes;
    }
    StyleWithJunk rootIsAString;
    rootIsAString.add(Bplist::ascii("x"));
    EXPECT_EQ(styleFrom(rootIsAString.build(3)), "colorFlow");
}

TEST_F(Hostile, TruncatedFilesGiveTheDefaults) {
    for (bool binary : {true, false}) {
        writeWithPython("{'style': 'darkMode', 'Enabled': True, 'list': [1, 2, 'x']}", binary);
        std::ifstream in(path(), std::ios::binary);
        std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(styleFrom(whole), "darkMode");
        for (std::size_t n = 0; n < whole.size(); n++) {
            std::string style = styleFrom(whole.substr(0, n));
            // An XML file cut after its last element may still be whole enough to read.
            if (binary || n < whole.find("</dict>"))
                EXPECT_EQ(style, "colorFlow") << (binary ? "binary" : "XML") << " cut at " << n;
            else
                EXPECT_TRUE(style == "colorFlow" || style == "darkMode") << style;
        }
    }
}

TEST_F(Hostile, CyclesAndSharedReferencesGiveTheDefaults) {
    StyleWithJunk acyclic;
    acyclic.add(Bplist::array({3, 3}));
    EXPECT_EQ(styleFrom(acyclic.build()), "darkMode");

    StyleWithJunk selfArray;
    selfArray.add(Bplist::array({4}));
    EXPECT_EQ(styleFrom(selfArray.build()), "colorFlow");

    StyleWithJunk selfDict; // the dictionary holds itself
    selfDict.objects[0] = Bplist::dict({1, 2}, {3, 0});
    EXPECT_EQ(styleFrom(selfDict.build()), "colorFlow");

    EXPECT_EQ(styleFrom(sharedLevels(5)), "darkMode");
    EXPECT_EQ(styleFrom(sharedLevels(40)), "colorFlow"); // 2^40 objects once expanded
}

TEST_F(Hostile, DeepNestingGivesTheDefaults) {
    EXPECT_EQ(styleFrom(chain(10)), "darkMode");
    EXPECT_EQ(styleFrom(chain(50000)), "colorFlow");
    EXPECT_EQ(styleFrom(xmlNesting(10)), "darkMode");
    EXPECT_EQ(styleFrom(xmlNesting(50000)), "colorFlow");
    // Markup hidden from the depth count is refused rather than guessed at.
    EXPECT_EQ(styleFrom(xmlWith("<array><!-- </array> --></array>")), "colorFlow");
    EXPECT_EQ(styleFrom(xmlWith("<array><![CDATA[</array>]]></array>")), "colorFlow");
}

TEST_F(Hostile, EntityDeclarationsGiveTheDefaults) {
    std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [\n<!ENTITY a \"aaaaaaaaaa\">\n";
    for (char c = 'b'; c <= 'j'; c++)
        laughs += std::string("<!ENTITY ") + c + " \"" +
                  repeat(std::string("&") + char(c - 1) + ";", 10) + "\">\n";
    laughs +=
        "]>\n<plist version=\"1.0\"><dict><key>style</key><string>&j;</string></dict></plist>";
    EXPECT_EQ(styleFrom(laughs), "colorFlow");

    std::string subset = "<?xml version=\"1.0\"?><!DOCTYPE plist [ <!ELEMENT plist ANY> ]>"
                         "<plist version=\"1.0\"><dict><key>style</key><string>darkMode"
                         "</string></dict></plist>";
    EXPECT_EQ(styleFrom(subset), "colorFlow");
    EXPECT_EQ(styleFrom(xmlWith("<string>&amp;&lt;</string>")), "darkMode");
}

TEST_F(Hostile, AbsurdDeclaredSizesGiveTheDefaults) {
    StyleWithJunk hugeString;
    hugeString.add(std::string("\x5f\x13", 2) + Bplist::be(1ull << 62, 8) + "abc");
    EXPECT_EQ(styleFrom(hugeString.build()), "colorFlow");

    StyleWithJunk hugeArray;
    hugeArray.add(std::string("\xaf\x13", 2) + Bplist::be(1ull << 61, 8));
    EXPECT_EQ(styleFrom(hugeArray.build()), "colorFlow");

    StyleWithJunk badRef;
    badRef.add(Bplist::array({1000}));
    EXPECT_EQ(styleFrom(badRef.build()), "colorFlow");

    StyleWithJunk sound;
    sound.add(Bplist::ascii("x"));
    std::string good = sound.build();
    ASSERT_EQ(styleFrom(good), "darkMode");
    std::size_t trailer = good.size() - 32;
    auto patched = [&](std::size_t at, std::string bytes) {
        std::string b = good;
        b.replace(at, bytes.size(), bytes);
        return b;
    };
    EXPECT_EQ(styleFrom(patched(trailer + 8, Bplist::be(1ull << 60, 8))), "colorFlow");  // count
    EXPECT_EQ(styleFrom(patched(trailer + 16, Bplist::be(99, 8))), "colorFlow");         // top
    EXPECT_EQ(styleFrom(patched(trailer + 24, Bplist::be(1ull << 40, 8))), "colorFlow"); // table
    EXPECT_EQ(styleFrom(patched(trailer + 6, std::string("\x00", 1))), "colorFlow");     // offsets
    EXPECT_EQ(styleFrom(patched(trailer + 7, std::string("\x09", 1))), "colorFlow");     // refs
}

TEST_F(Hostile, OversizedFilesAndOddFileKindsGiveTheDefaults) {
    EXPECT_EQ(styleFrom(xmlWith("<string>" + std::string(512 << 10, 'x') + "</string>")),
              "darkMode");
    EXPECT_EQ(styleFrom(xmlWith("<string>" + std::string(2 << 20, 'x') + "</string>")),
              "colorFlow");

    std::filesystem::remove(path());
    std::filesystem::create_directory(path());
    style_ = "unset";
    postReload();
    EXPECT_EQ(style_, "colorFlow");

    std::filesystem::remove(path());
    ASSERT_EQ(mkfifo(path().c_str(), 0600), 0); // no writer: opening it must not block
    style_ = "unset";
    postReload();
    EXPECT_EQ(style_, "colorFlow");
}

TEST_F(Hostile, RandomDamageNeverCrashes) {
    std::mt19937 rng(1234);
    for (bool binary : {true, false}) {
        writeWithPython("{'style': 'darkMode', 'n': 5, 'r': 2.5, 'l': [1, {'a': b'x'}], "
                        "'u': 'h\\u00e9'}",
                        binary);
        std::ifstream in(path(), std::ios::binary);
        std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (int round = 0; round < 1000; round++) {
            std::string b = whole;
            for (int edits = 1 + rng() % 6; edits > 0 && !b.empty(); edits--) {
                std::size_t at = rng() % b.size();
                switch (rng() % 3) {
                case 0:
                    b[at] = static_cast<char>(rng());
                    break;
                case 1:
                    b.erase(at, 1 + rng() % 8);
                    break;
                default:
                    b.insert(at, 1, "<>/&;![]\"'\x0f\xff"[rng() % 12]);
                }
            }
            styleFrom(b); // any value will do; the process must carry on
        }
    }
}
