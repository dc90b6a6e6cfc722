// The scenario language: every command with its arguments, and every kind of mistake reported
// with its file and line before anything runs.
#include "sim/scenario.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using sim::parseScenario;
using sim::ScenarioError;

const std::string kAssets = std::string(VEY_SOURCE_DIR) + "/assets";

// The message of the error the text raises, "" when it parses.
std::string error(const std::string& text) {
    try {
        parseScenario(text, "test.vey", kAssets);
    } catch (const ScenarioError& e) {
        return e.what();
    }
    return "";
}

// What running a scenario cannot show: comments, quoting, dashes and the device's defaults.
TEST(Scenario, CommandsParse) {
    auto s = parseScenario(R"(# a comment line
device 320x568 scale 2 version 15.8 name "Test \"Phone\""   # trailing comment
pref Enabled YES
pref style "YES"
play "Title # not a comment" -
queue "-" ""
queue Bare Words
device 390x844
)",
                           "test.vey", kAssets);
    ASSERT_EQ(s.commands.size(), 7u);
    EXPECT_EQ(s.commands[0].line, 2);
    EXPECT_EQ(s.commands[0].device.name, "Test \"Phone\"");
    EXPECT_FALSE(s.commands[2].boolValue.has_value()); // a quoted YES is text
    EXPECT_EQ(s.commands[2].value, "YES");
    EXPECT_EQ(s.commands[3].track.title, "Title # not a comment");
    EXPECT_EQ(s.commands[4].track.title, "-"); // only a bare dash means "none"
    EXPECT_EQ(s.commands[4].track.artist, "");
    EXPECT_EQ(s.commands[5].track.artist, "Words");
    const sim::DeviceSpec& device = s.commands[6].device; // the defaults
    EXPECT_EQ(device.scale, 3);
    EXPECT_EQ(device.version, "16.4");
    EXPECT_EQ(device.name, "iPhone");
}

TEST(Scenario, MistakesNameTheFileTheLineAndTheProblem) {
    for (auto [text, message] : std::vector<std::pair<std::string, std::string>>{
             {"launch\njump", "2: unknown command 'jump'"},
             {"\n\n  \"launch\"", "3: unknown command '\"launch\"'"},
             {"\x01go\xff", "1: unknown command '\\x01go\\xff'"},
             {std::string(100, 'z'), "1: unknown command '" + std::string(40, 'z') + "...'"},
             {"play \"open", "1: unterminated string"},
             {"play \"a\\n\" b", "1: unknown escape \\n in a string"},
             {"play \"a\"b c", "1: expected a space after a quoted string"},
             {"play a\"b c", "1: unexpected quote inside a word"},
             {"play onlytitle", "1: play: expected a title and an artist"},
             {"play a b missing.jpg", "1: artwork file not found: missing.jpg"},
             {"queue a b glyphs", "1: artwork file is not a regular file: glyphs"},
             {"pref Enabled", "1: pref: expected a key and a value"},
             {"device 390", "1: device: size must be WxH"},
             {"device 390.5x844", "1: device: size must be WxH"},
             {"device 390x844 scale 9", "1: device: scale must be a number from 1 to 4"},
             {"device 390x844 scale", "1: device: scale needs a value"},
             {"device 390x844 version 16..4", "1: device: version must look like 16.4"},
             {"device 390x844 colour red", "1: device: unknown option 'colour'"},
             {"device 390x844 scale 2 scale 3", "1: device: scale given twice"},
             {"launch\ndevice 390x844", "2: device: only allowed before launch"},
             {"launch\nlaunch", "2: launch: SpringBoard has already launched"},
             {"tap veySkipButton", "1: tap: SpringBoard has not launched yet"},
             {"launch\ntap 9lives", "2: tap: '9lives' is not a name"},
             {"launch\nswipe up", "2: swipe: only 'down' is supported"},
             {"theme", "1: theme: SpringBoard has not launched yet"},
             {"route bluetooth", "1: route: unknown route 'bluetooth'"},
             {"wait -1", "1: wait: '-1' is not a number of seconds"},
             {"wait nan", "1: wait: 'nan' is not a number of seconds"},
             {"wait 1e9", "1: wait: at most 3600 seconds at a time"},
             {"dump /etc/passwd", "1: dump: the output file must be a relative path"},
             {"snapshot a/../../b.png", "1: snapshot: the output file must be"},
             {"film ./device/f 1 1", "1: film: the output file may not be inside the"},
             {"film x 0 4", "1: film: '0' is not a number of seconds in (0, 600]"},
             {"film x 100 100", "1: film: more than 3600 frames"},
             {"film a 60 60\nfilm b 60 60\nfilm c 1 1",
              "3: film: the scenario's films pass 7200 frames in all"},
             {"device 4096x4096 scale 3",
              "1: device: 4096x4096 at scale 3 is 12288 x 12288 pixels, more than a "
              "snapshot can hold (16384 a side, 100 megapixels)"},
             {"pref style \"a\x01\"",
              "1: pref: the value holds the control character \\x01, which a "
              "settings file cannot hold"},
             {"pref style caf\xe9", "1: pref: the value is not valid UTF-8 (byte \\xe9)"},
             {"pref \"\x1b\" YES", "1: pref: the key holds the control character \\x1b"},
             {"expect veyView", "1: expect: expected PATH OP VALUE [within TOL]"},
             {"expect a..b == 1", "1: expect: 'a..b' is not a path"},
             {"expect a[x] == 1", "1: expect: 'a[x]' is not a path"},
             {"expect \"a\" == 1", "1: expect: 'a' is not a path"},
             {"expect a =~ 1", "1: expect: unknown comparison '=~'"},
             {"expect a < \"1\"", "1: expect: < compares numbers, not '1'"},
             {"expect a ~ YES", "1: expect: ~ compares numbers or lists of numbers"},
             {"expect a == 1 within 1", "1: expect: within goes with ~ only"},
             {"expect a ~ 1 within -1", "1: expect: within needs a number of at least 0"},
             {"expect a ~ (1,, 2)", "1: expect: '(1,, 2)' is not a list of numbers"},
             {"expect a == two words", "1: expect: expected one value after =="},
             {"match shot.jpg", "1: match: the golden image must be a .png file"},
             {"match a.png tolerance", "1: match: expected a golden image and options"},
             {"match a.png tolerance 101%", "1: match: tolerance must be a share of"},
             {"match a.png per-pixel 2.5", "1: match: per-pixel must be a whole number"},
             {"match a.png fuzz 1", "1: match: unknown option 'fuzz'"},
             {"match a.png per-pixel 1 per-pixel 2", "1: match: per-pixel given twice"},
         }) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(error(text).starts_with("test.vey:" + message)) << error(text);
    }
}

// Artwork beside a scenario file is found by every scenario under tests/scenarios.
TEST(Scenario, FilesMayEndLinesWithCrLfAndAreBounded) {
    std::string file = ::testing::TempDir() + "vey-scenario-" + std::to_string(getpid()) + ".vey";
    std::ofstream(file) << "launch\r\nwait 1\r\n";
    auto s = sim::parseScenarioFile(file);
    ASSERT_EQ(s.commands.size(), 2u);
    EXPECT_EQ(s.commands[1].seconds, 1);
    std::filesystem::resize_file(file, sim::kMaxScenarioBytes + 1);
    EXPECT_THROW(sim::parseScenarioFile(file), ScenarioError);
    std::filesystem::remove(file);
}

} // namespace
