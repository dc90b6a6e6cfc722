// Scenarios that check themselves: expect on every kind of value the dump holds, its mistakes,
// and match against golden images with the pictures it leaves when they differ.
#include "platform/graphics/codec.h"
#include "sim_fixture.h"

#include <fstream>

namespace {

using Checks = SimulatorTest;

// The skip button is springing back from a tap (its presentation scale about 1.17).
const std::string kSpringing = "pref Enabled YES\npref blurRadius 12\nlaunch\n"
                               "play \"Title\" \"Artist\" artwork-sunset.jpg\nwait 2\n"
                               "tap veySkipButton\nwait 0.05\n";

TEST_F(Checks, ExpectOnEveryKindOfValue) {
    run(kSpringing);
    struct Case {
        const char* line;
        bool holds;
    };
    const Case cases[] = {
        {"veySongLabel.text == \"Title \"", true},
        {"veySongLabel.text != \"Title\"", true},
        {"views.veyArtistLabel.text == \"Artist \"", true},
        {"settings.blurRadius == 12", true}, // a bare word against text is text
        {"settings.styleValue == colorFlow", true},
        {"state.minimized == NO", true},
        {"veyView.hidden == YES", false},
        {"time == 2.05", true},
        {"time > 2", true},
        {"time <= 2", false},
        {"state.highresImage != nil", true},
        {"state.highresImage.width >= 400", true},
        {"veySkipButton.image == nil", true},
        {"host.timeControl.alpha == nil", true}, // below a nil view
        {"host.mediaCommands[0].command == \"changeTrack\"", true},
        {"host.mediaCommands[1].command == nil", true}, // past the end
        {"host.mediaCommands == ()", false},
        {"veySkipButton.frame ~ (236.925, 356.08, 48.75, 48.75)", true},
        {"veySkipButton.frame ~ (236.9, 356.1, 48.8, 48.8) within 0.1", true},
        {"veySkipButton.frame ~ (236.925, 356.08, 48.75)", false},
        {"veySkipButton.frame == (236.925, 356.08, 48.75, 48.75)", false}, // not exact
        {"veySkipButton.presentation.transform[0] ~ 1.169", true},
        {"veySkipButton.presentation.transform[0] < 1.2", true},
        {"veySkipButton.transform[0] == 1.2", true},
        {"host.notificationList.presentation.alpha == 0", true},
        {"state.bestColors[2][3] == 1", true},
    };
    int failing = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        int before = simulator().failures();
        EXPECT_EQ(runError(std::string("expect ") + c.line), "");
        EXPECT_EQ(simulator().failures() == before, c.holds);
        failing += !c.holds;
    }
    EXPECT_EQ(simulator().failures(), failing);

    std::string report = errors_.str();
    for (const char* message :
         {"t.vey:1: expected veyView.hidden == YES but was NO\n",
          "t.vey:1: expected host.mediaCommands == () but was ({\"command\":\"changeTrack\","
          "\"delta\":1,\"eventSource\":0,\"accepted\":true})\n",
          "t.vey:1: expected veySkipButton.frame ~ (236.925, 356.08, 48.75) within 0.01 but was "
          "(236.925, 356.08000000000004, 48.75, 48.75)\n"})
        EXPECT_NE(report.find(message), std::string::npos) << message << "\nin\n" << report;
    run("expect host.timeControl.alpha == 1\nexpect host.mediaCommands[4].delta > 0\n");
    EXPECT_NE(report.size(), errors_.str().size());
    EXPECT_NE(errors_.str().find("t.vey:1: expected host.timeControl.alpha == 1 but was nil "
                                 "(host.timeControl is nil)\nt.vey:2: expected "
                                 "host.mediaCommands[4].delta > 0 but was nil "
                                 "(host.mediaCommands has 1 items)\n"),
              std::string::npos)
        << errors_.str();
}

TEST_F(Checks, ExpectLinesTheDumpCannotAnswerAreScenarioErrors) {
    run(kSpringing);
    struct Case {
        const char* line;
        std::string message;
    };
    for (const Case& c : std::vector<Case>{
             {"nothing == 1", "expect: the dump has no 'nothing' (time, launched, pluginLoaded, "
                              "device, state, settings, views, host, or one of the player's "
                              "views: veyView, "},
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
             {"settings.blurRadius > 5", "expect: > compares numbers, and settings.blurRadius is "
                                         "text"},
             {"host.mediaCommands ~ (1)", "expect: host.mediaCommands holds more than numbers"},
             {"state.highresImage == 1",
              "expect: state.highresImage is an object; compare one of its members (width, "
              "height)"},
         }) {
        SCOPED_TRACE(c.line);
        std::string message = runError(std::string("\nexpect ") + c.line);
        EXPECT_EQ(message.rfind("t.vey:2: " + c.message, 0), 0u) << message;
    }
    EXPECT_EQ(simulator().failures(), 0);
}

// A golden image, read back and changed.
struct Golden {
    std::shared_ptr<CGImage> image;
    explicit Golden(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        CGImageRef decoded = CGImageCreateWithEncodedData(bytes.data(), bytes.size());
        if (!decoded) return;
        image = CGImageAllocate(decoded->width, decoded->height);
        std::copy(decoded->pixels(), decoded->pixels() + decoded->pixelCount(), image->data.get());
        image->opaque = decoded->opaque;
    }
    std::uint32_t& at(int x, int y) { return image->data[std::size_t(y) * image->width + x]; }
    void write(const std::string& path) {
        std::vector<std::uint8_t> bytes = CGImageEncodePNG(*image);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
};

// A 40 x 30 pixel screen: 1200 pixels, so 0.1 % is 1.2 of them.
const std::string kSmallScreen =
    "device 40x30 scale 1\npref Enabled YES\nlaunch\nplay \"A\" \"B\" " + SimulatorTest::assets() +
    "/artwork-sunset.jpg\nwait 2\n";

TEST_F(Checks, MatchComparesWithTheGoldenAndDrawsTheDifference) {
    run(kSmallScreen + "snapshot golden.png\nmatch golden.png\n", out_);
    EXPECT_EQ(simulator().failures(), 0) << errors_.str();
    Golden screen(out_ + "/golden.png");
    ASSERT_TRUE(screen.image);

    // One pixel off by more than 2 of 255 is within 0.1 % of 1200; two are not, and 3 steps
    // count where 2 do not.
    Golden golden(out_ + "/golden.png");
    auto shift = [](std::uint32_t p, std::uint32_t by) { // blue, away from its nearer end
        return pixelBlue(p) < 128 ? p + by : p - by;
    };
    golden.at(0, 0) = shift(golden.at(0, 0), 3);
    golden.at(39, 29) = shift(golden.at(39, 29), 2);
    golden.write(out_ + "/golden.png");
    run("match golden.png\n", out_);
    EXPECT_EQ(simulator().failures(), 0) << errors_.str();
    golden.at(17, 9) = shift(golden.at(17, 9), 100);
    golden.write(out_ + "/golden.png");
    run("match golden.png\nmatch golden.png tolerance 0.2%\nmatch golden.png per-pixel 3\n", out_);
    EXPECT_EQ(simulator().failures(), 1);
    EXPECT_EQ(errors_.str(), "t.vey:1: expected the screen to match golden.png but 0.167% of its "
                             "pixels differ (2 of 1200; at most 0.1% may), by up to 100/255; see " +
                                 out_ + "/golden.actual.png and " + out_ + "/golden.diff.png\n");

    Golden actual(out_ + "/golden.actual.png");
    Golden diff(out_ + "/golden.diff.png");
    ASSERT_TRUE(actual.image && diff.image);
    ASSERT_EQ(diff.image->width, 40);
    ASSERT_EQ(diff.image->height, 30);
    int highlighted = 0;
    for (int y = 0; y < 30; y++)
        for (int x = 0; x < 40; x++) {
            std::uint32_t a = actual.at(x, y), d = diff.at(x, y);
            ASSERT_EQ(a, screen.at(x, y)) << x << "," << y;
            if ((x == 0 && y == 0) || (x == 17 && y == 9)) {
                EXPECT_EQ(d, 0xFFFF00FFu) << x << "," << y;
                highlighted++;
                continue;
            }
            // The screen dimmed: a quarter of each channel, opaque.
            EXPECT_EQ(pixelAlpha(d), 255u);
            for (auto channel : {pixelRed, pixelGreen, pixelBlue})
                EXPECT_EQ(channel(d), channel(a) / 4) << x << "," << y;
        }
    EXPECT_EQ(highlighted, 2);
}

TEST_F(Checks, MatchRecordsGoldens) {
    record_ = true;
    run(kSmallScreen + "snapshot shot.png\nmatch goldens/screen.png\n", out_);
    EXPECT_EQ(simulator().failures(), 0);
    EXPECT_EQ(simulator().written().back(), out_ + "/goldens/screen.png");
    Golden shot(out_ + "/shot.png"), recorded(out_ + "/goldens/screen.png");
    ASSERT_TRUE(shot.image && recorded.image);
    EXPECT_TRUE(
        std::equal(shot.image->pixels(), shot.image->pixels() + 1200, recorded.image->pixels()));
}

TEST_F(Checks, GoldensItCannotUse) {
    run(kSmallScreen, out_);
    EXPECT_EQ(runError("match missing.png", out_), "");
    EXPECT_EQ(simulator().failures(), 1);
    EXPECT_EQ(errors_.str(), "t.vey:1: expected the screen to match missing.png but there is no "
                             "golden image " +
                                 out_ +
                                 "/missing.png; run with --record to make it from this "
                                 "run (the screen is in " +
                                 out_ + "/missing.actual.png)\n");

    std::ofstream(out_ + "/text.png") << "not a picture";
    std::filesystem::create_directory(out_ + "/folder.png");
    Golden small(out_ + "/missing.actual.png");
    small.image->width = 10;
    small.image->height = 4; // the first 40 pixels
    small.write(out_ + "/small.png");
    struct Case {
        const char* line;
        std::string message;
    };
    for (const Case& c : std::vector<Case>{
             {"match text.png", "the golden image text.png cannot be used: it is not a PNG image "
                                "that decodes"},
             {"match folder.png",
              "the golden image folder.png cannot be used: it is not a regular file"},
             {"match small.png",
              "the golden image small.png is 10 x 4 pixels but the screen is 40 x 30 pixels"},
         })
        EXPECT_EQ(runError(c.line, out_), "t.vey:1: match: " + c.message);
    EXPECT_EQ(simulator().failures(), 1);
}

} // namespace
