// Scenarios that check themselves: expect on every kind of value the dump holds, its mistakes,
// and match against golden images with the pictures it leaves when they differ.
#include "platform/graphics/codec.h"
#include "sim_fixture.h"

#include <fstream>

namespace {

using Checks = SimulatorTest;

// The skip button tapped 0.05 s ago: the media controller was asked once.
const std::string kSpringing = "pref Enabled YES\npref blurRadius 12\nlaunch\n"
                               "play \"Title\" \"Artist\" artwork-sunset.jpg\nwait 2\n"
                               "tap veySkipButton\nwait 0.05\n";

// Each line's outcome: "" when it holds, else how its report starts: "expected ..." on standard
// error when it fails, "expect: ..." raised as a scenario error when the dump cannot answer it.
TEST_F(Checks, ExpectOnEveryKindOfValueAndItsMistakes) {
    run(kSpringing);
    const std::pair<const char*, std::string> cases[] = {
        {"veySongLabel.text != \"Title\"", ""},
        {"views.veyArtistLabel.text == \"Artist \"", ""},
        {"settings.blurRadius == 12", ""}, // a bare word against text is text
        {"veyView.hidden == YES", "expected veyView.hidden == YES but was NO\n"},
        {"time == 2.05", ""},
        {"time > 2", ""},
        {"time <= 2", "expected"},
        {"state.highresImage.width >= 400", ""},
        {"host.timeControl.alpha == nil", ""}, // below a nil view
        {"host.timeControl.alpha == 1",
         "expected host.timeControl.alpha == 1 but was nil (host.timeControl is nil)\n"},
        {"host.mediaCommands[1].command == nil", ""}, // past the end
        {"host.mediaCommands[4].delta > 0",
         "expected host.mediaCommands[4].delta > 0 but was nil (host.mediaCommands has 1 items)\n"},
        {"host.mediaCommands == ()",
         "expected host.mediaCommands == () but was ({\"command\":\"changeTrack\",\"delta\":1,"
         "\"eventSource\":0,\"accepted\":true})\n"},
        {"veySkipButton.frame ~ (236.9, 356.1, 48.8, 48.8) within 0.1", ""},
        {"veySkipButton.frame ~ (236.925, 356.08, 48.75)",
         "expected veySkipButton.frame ~ (236.925, 356.08, 48.75) within 0.01 but was "
         "(236.925, 356.08000000000004, 48.75, 48.75)\n"},
        {"veySkipButton.frame == (236.925, 356.08, 48.75, 48.75)", "expected"}, // not exact
        {"state.bestColors[2][3] == 1", ""},
        {"nothing == 1", "expect: the dump has no 'nothing' (time, launched, pluginLoaded, "
                         "device, state, settings, views, host, or one of the player's views: "
                         "veyView, "},
        {"veySongLabel.txt == 1", "expect: veySongLabel has no member 'txt' (class, frame,"},
        {"time.seconds == 1", "expect: time is a number, it has no members"},
        {"veySongLabel.text[0] == 1", "expect: veySongLabel.text is text, not a list"},
        {"veyView.hidden == 1", "expect: veyView.hidden is YES or NO, not 1"},
        {"veyView.alpha == YES", "expect: veyView.alpha is a number, not YES"},
        {"veyView.alpha == \"1\"", "expect: veyView.alpha is a number, not \"1\""},
        {"veySongLabel.text == (1, 2)", "expect: veySongLabel.text is text, not (1, 2)"},
        {"veyView.frame == 4", "expect: veyView.frame is a list, not 4"},
        {"veyView.frame ~ 4", "expect: veyView.frame is a list, not 4"},
        {"veyView.alpha ~ (1)", "expect: veyView.alpha is a number, not (1)"},
        {"settings.blurRadius > 5", "expect: > compares numbers, and settings.blurRadius is text"},
        {"host.mediaCommands ~ (1)", "expect: host.mediaCommands holds more than numbers"},
        {"state.highresImage == 1",
         "expect: state.highresImage is an object; compare one of its members (width, height)"},
    };
    int failures = 0;
    for (auto& [line, outcome] : cases) {
        SCOPED_TRACE(line);
        errors_.str("");
        std::string said = runError(std::string("expect ") + line);
        said += errors_.str();
        if (outcome.empty())
            EXPECT_EQ(said, "");
        else
            EXPECT_TRUE(said.starts_with("t.vey:1: " + outcome)) << said;
        failures += outcome.starts_with("expected");
    }
    EXPECT_EQ(simulator().failures(), failures);
}

// Pictures read back and written; the pixels of one read are its own to change.
CGImageRef readPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    return CGImageCreateWithEncodedData(bytes.data(), bytes.size());
}
void writePng(const CGImage& image, const std::string& path) {
    std::vector<std::uint8_t> bytes = CGImageEncodePNG(image);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
std::uint32_t& at(const CGImageRef& image, int x, int y) {
    return image->data[std::size_t(y) * image->width + x];
}

// A 40 x 30 pixel screen: 1200 pixels, so 0.1 % is 1.2 of them.
const std::string kSmallScreen =
    "device 40x30 scale 1\npref Enabled YES\nlaunch\nplay \"A\" \"B\" " + SimulatorTest::assets() +
    "/artwork-sunset.jpg\nwait 2\n";

TEST_F(Checks, MatchComparesWithTheGoldenAndDrawsTheDifference) {
    run(kSmallScreen + "snapshot golden.png\nmatch golden.png\n", out_);
    EXPECT_EQ(simulator().failures(), 0) << errors_.str();
    CGImageRef screen = readPng(out_ + "/golden.png"), golden = readPng(out_ + "/golden.png");
    ASSERT_TRUE(screen && golden);

    // One pixel off by more than 2 of 255 is within 0.1 % of 1200; two are not, and 3 steps
    // count where 2 do not.
    auto shift = [&](int x, int y, std::uint32_t by) { // blue, away from its nearer end
        std::uint32_t& p = at(golden, x, y);
        p = pixelBlue(p) < 128 ? p + by : p - by;
        writePng(*golden, out_ + "/golden.png");
    };
    shift(0, 0, 3);
    shift(39, 29, 2);
    run("match golden.png\n", out_);
    EXPECT_EQ(simulator().failures(), 0) << errors_.str();
    shift(17, 9, 100);
    run("match golden.png\nmatch golden.png tolerance 0.2%\nmatch golden.png per-pixel 3\n", out_);
    EXPECT_EQ(simulator().failures(), 1);
    EXPECT_EQ(reported(), "t.vey:1: expected the screen to match golden.png but 0.167% of its "
                          "pixels differ (2 of 1200; at most 0.1% may), by up to 100/255; see "
                          "OUT/golden.actual.png and OUT/golden.diff.png\n");

    CGImageRef actual = readPng(out_ + "/golden.actual.png"),
               diff = readPng(out_ + "/golden.diff.png");
    ASSERT_TRUE(actual && diff && diff->width == 40 && diff->height == 30);
    for (int y = 0; y < 30; y++)
        for (int x = 0; x < 40; x++) {
            std::uint32_t a = at(actual, x, y), d = at(diff, x, y);
            ASSERT_EQ(a, at(screen, x, y)) << x << "," << y;
            if ((x == 0 && y == 0) || (x == 17 && y == 9)) {
                EXPECT_EQ(d, 0xFFFF00FFu) << x << "," << y;
                continue;
            }
            // The screen dimmed: a quarter of each channel, opaque.
            EXPECT_EQ(pixelAlpha(d), 255u);
            for (auto channel : {pixelRed, pixelGreen, pixelBlue})
                EXPECT_EQ(channel(d), channel(a) / 4) << x << "," << y;
        }
}

TEST_F(Checks, MatchRecordsGoldens) {
    record_ = true;
    run(kSmallScreen + "snapshot shot.png\nmatch goldens/screen.png\n", out_);
    EXPECT_EQ(simulator().failures(), 0);
    EXPECT_EQ(simulator().written().back(), out_ + "/goldens/screen.png");
    CGImageRef shot = readPng(out_ + "/shot.png"), recorded = readPng(out_ + "/goldens/screen.png");
    ASSERT_TRUE(shot && recorded);
    EXPECT_TRUE(std::equal(shot->pixels(), shot->pixels() + 1200, recorded->pixels()));
}

TEST_F(Checks, GoldensItCannotUse) {
    run(kSmallScreen + "match missing.png\n", out_);
    EXPECT_EQ(reported(), "t.vey:6: expected the screen to match missing.png but there is no "
                          "golden image OUT/missing.png; run with --record to make it from this "
                          "run (the screen is in OUT/missing.actual.png)\n");

    std::ofstream(out_ + "/text.png") << "not a picture";
    std::filesystem::create_directory(out_ + "/folder.png");
    auto small = CGImageAllocate(10, 4);
    std::fill_n(small->data.get(), 40, 0xFF000000u);
    writePng(*small, out_ + "/small.png");
    for (auto [file, problem] :
         {std::pair{"text.png", "cannot be used: it is not a PNG image that decodes"},
          {"folder.png", "cannot be used: it is not a regular file"},
          {"small.png", "is 10 x 4 pixels but the screen is 40 x 30 pixels"}})
        EXPECT_EQ(runError(std::string("match ") + file, out_),
                  std::string("t.vey:1: match: the golden image ") + file + " " + problem);
    EXPECT_EQ(simulator().failures(), 1);
}

} // namespace
