// Films, animated WebP files and the screen: files, the clock, and bad input.
#include "support.h"

#include "platform/foundation/foundation.h"
#include "platform/graphics/codec.h"
#include "sim/render/film_file.h"
#include "sim/render/render.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>
#include <webp/demux.h>

using namespace rendertest;
namespace fs = std::filesystem;

namespace {

// A folder of its own (other builds may run the same test at the same time), removed after.
struct Scratch {
    fs::path dir;
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "vey-render-test-XXXXXX").string();
        dir = mkdtemp(pattern.data());
    }
    ~Scratch() { fs::remove_all(dir); }
};

std::vector<std::uint8_t> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

CGImageRef decode(const fs::path& path) {
    std::vector<std::uint8_t> bytes = bytesOf(path);
    return CGImageCreateWithEncodedData(bytes.data(), bytes.size());
}

} // namespace

TEST(RenderOutput, ScreenShowsVisibleWindowsInPlace) {
    UIScreen::mainScreen()->setSize(CGSizeMake(100, 200));
    Ref<UIWindow> back = UIView::make<UIWindow>(CGRectMake(0, 0, 100, 200));
    back->setBackgroundColor(UIColor::colorWithRed(1, 0, 0, 1));
    back->makeKeyAndVisible();
    Ref<UIWindow> front = UIView::make<UIWindow>(CGRectMake(0, 100, 100, 50));
    front->setBackgroundColor(UIColor::colorWithRed(0, 0, 1, 1));
    front->makeKeyAndVisible();
    std::string error;
    CGImageRef image = renderScreen({1}, &error);
    ASSERT_TRUE(image) << error;
    EXPECT_TRUE(shows(image, {{50, 50, kRed}, {50, 120, kBlue}}));
    front->setHidden(true);
    back->setHidden(true);
    EXPECT_TRUE(shows(renderScreen({1}, &error), {{50, 120, kBlack}}));
}

TEST(RenderOutput, FilmFramesShowTheirMomentAndStopAtAFailedWrite) {
    Scratch scratch;
    const fs::path& dir = scratch.dir;
    Ref<UIView> root = box(CGRectMake(0, 0, 40, 40), kWhite);
    UIView* dot = addBox(root, CGRectMake(0, 0, 10, 10), kRed);
    UIView::animateWithDuration(1, 0, UIViewAnimationOptionCurveLinear,
                                [&] { dot->setCenter(CGPointMake(35, 5)); });
    std::string error;
    std::vector<std::string> frames;
    ASSERT_TRUE(renderFilm(root, 1, (dir / "walk").string(), 1, 4, &error, &frames)) << error;
    ASSERT_EQ(frames.size(), 4u);
    // Frames at 0, 0.25, 0.5 and 0.75 s: the dot's centre at 5, 12.5, 20 and 27.5.
    int expected[] = {5, 12, 20, 27};
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(inkOf(decode(frames[k])).midX(), expected[k], 1) << k;

    // In a film an image drawn at another size is resampled once and kept for the next frames;
    // the frames show what a snapshot does, on whole pixels or between them.
    for (double offset : {0.0, 0.5}) {
        Ref<UIView> holder = box(CGRectMake(0, 0, 41, 31), kWhite);
        Ref<UIImageView> art = UIView::make<UIImageView>(CGRectMake(offset, offset, 40, 30));
        art->setImage(makeImage(5, 7, 1, [](int x, int y) {
            return RGBA{x * 50, y * 30, 200, 255};
        }));
        holder->addSubview(art);
        CGImageRef still = shot(holder);
        ASSERT_TRUE(renderFilm(holder, 1, (dir / "art").string(), 0.5, 4, &error)) << error;
        for (const char* frame : {"art-0001.png", "art-0002.png"})
            EXPECT_TRUE(samePixels(decode(dir / frame), still)) << frame << " at " << offset;
    }

    // Frames are written in order on a second thread; one that cannot be written ends the
    // film there, and the error names it.
    fs::create_directories(dir / "stop-0003.png");
    frames.clear();
    bool writeFailed = false;
    EXPECT_FALSE(renderFilm(root, 1, (dir / "stop").string(), 1, 8, &error, &frames, &writeFailed));
    EXPECT_TRUE(writeFailed);
    EXPECT_EQ(frames, (std::vector<std::string>{(dir / "stop-0001.png").string(),
                                                (dir / "stop-0002.png").string()}));
    EXPECT_NE(error.find("stop-0003.png"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir / "stop-0004.png"));
}

TEST(RenderOutput, WebPPrefixWritesOneRepeatableAnimationOfTheFramesInTime) {
    Scratch scratch;
    // A square that turns from red to blue over the second, on white, filmed twice.
    Ref<UIView> root = box(CGRectMake(0, 0, 40, 30), kWhite);
    UIView* square = addBox(root, CGRectMake(10, 5, 20, 20), kRed);
    std::vector<std::vector<std::uint8_t>> files;
    for (const char* name : {"fade.webp", "again.webp"}) {
        square->setBackgroundColor(UIColor::colorWithRed(1, 0, 0, 1));
        UIView::animateWithDuration(1, 0, UIViewAnimationOptionCurveLinear, [&] {
            square->setBackgroundColor(UIColor::colorWithRed(0, 0, 1, 1));
        });
        std::string path = (scratch.dir / name).string(), error;
        std::vector<std::string> written;
        ASSERT_TRUE(renderFilm(root, 2, path, 1, 4, &error, &written)) << error;
        EXPECT_EQ(written, std::vector<std::string>{path});
        files.push_back(bytesOf(path));
    }
    EXPECT_EQ(files[0], files[1]);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.dir), {}), 2); // no frames, no leftovers

    // Played back the way a browser would: frames at 0, 0.25, 0.5 and 0.75 s, the last shown
    // until the film's end at 1 s, looping forever.
    WebPData data{files[0].data(), files[0].size()};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    WebPAnimInfo info;
    ASSERT_TRUE(decoder && WebPAnimDecoderGetInfo(decoder, &info));
    EXPECT_EQ((std::array{info.canvas_width, info.canvas_height, info.loop_count}),
              (std::array{80u, 60u, 0u}));
    std::vector<int> ends;
    std::vector<RGBA> centres;
    std::uint8_t* rgba = nullptr;
    for (int end = 0; WebPAnimDecoderGetNext(decoder, &rgba, &end);) {
        const std::uint8_t* p = rgba + (30 * 80 + 40) * 4;
        ends.push_back(end);
        centres.push_back({p[0], p[1], p[2], p[3]});
    }
    WebPAnimDecoderDelete(decoder);
    EXPECT_EQ(ends, (std::vector<int>{250, 500, 750, 1000}));
    ASSERT_EQ(centres.size(), 4u);
    EXPECT_TRUE(near(centres[0], kRed, 24));
    EXPECT_TRUE(near(centres[2], {128, 0, 128, 255}, 24));

    // Frames that change size, or go back in time, are refused; so is a film of no frame.
    AnimatedWebP webp;
    std::string error;
    CGImageRef small = shot(root), wide = shot(box(CGRectMake(0, 0, 48, 30), kBlue));
    ASSERT_TRUE(webp.add(*small, 0, &error)) << error;
    EXPECT_FALSE(webp.add(*wide, 100, &error));
    EXPECT_NE(error.find("size"), std::string::npos) << error;
    ASSERT_TRUE(webp.add(*small, 100, &error)) << error;
    EXPECT_FALSE(webp.add(*small, 50, &error));
    EXPECT_FALSE(webp.finish(200, &error).empty());
    EXPECT_TRUE(AnimatedWebP().finish(100, &error).empty());
    EXPECT_NE(error.find("frame"), std::string::npos) << error;
}

TEST(RenderOutput, BadRequestsAreRefusedWithClearErrorsAndLeaveNothing) {
    Scratch scratch;
    std::string in = scratch.dir.string() + "/", error;
    Ref<UIView> root = box(CGRectMake(0, 0, 10, 10), kRed);
    auto snapshot = [&](double scale, const char* path) {
        return renderSnapshot(root, scale, in + path, &error);
    };
    auto view = [&](CGRect frame) { return bool(renderView(box(frame, kRed), {}, &error)); };
    auto film = [&](const std::string& prefix, double seconds, double fps) {
        return renderFilm(root, 1, prefix, seconds, fps, &error);
    };
    auto refused = [&](bool accepted, const char* expected) {
        bool ok = !accepted && error.find(expected) != std::string::npos;
        auto result = ok ? ::testing::AssertionSuccess()
                         : ::testing::AssertionFailure() << (accepted ? "accepted" : error);
        error.clear();
        return result;
    };
    std::int64_t start = MainQueue::shared().nowNanos();
    EXPECT_TRUE(refused(snapshot(1, "missing/x.png"), "cannot write"));
    for (double scale : {-1.0, 5.0, double(NAN)})
        EXPECT_TRUE(refused(snapshot(scale, "x.png"), "scale")) << scale;
    EXPECT_TRUE(refused(bool(renderView(nullptr, {}, &error)), "no view"));
    EXPECT_TRUE(refused(view(CGRectMake(0, 0, 1e7, 1e7)), "bitmap")); // before any pixel memory
    EXPECT_TRUE(refused(view(CGRectMake(0, 0, NAN, 10)), "render:"));
    EXPECT_TRUE(refused(film(in + "f", 0, 30), "seconds"));
    EXPECT_TRUE(refused(film(in + "f", 601, 30), "seconds"));
    EXPECT_TRUE(refused(film(in + "f", 1, 0), "frames per second"));
    EXPECT_TRUE(refused(film(in + "f", 1, 121), "frames per second"));
    EXPECT_TRUE(refused(film(in + "f", 300, 120), "3600"));
    EXPECT_TRUE(refused(film("", 1, 30), "prefix"));
    EXPECT_EQ(MainQueue::shared().nowNanos(), start); // refused films leave the clock alone
    // Films that cannot write still move the clock on as asked, and leave no part behind.
    EXPECT_TRUE(refused(film(in + "no/f", 0.5, 10), "cannot write"));
    EXPECT_TRUE(refused(film(in + "no/f.webp", 0.5, 10), "cannot write"));
    EXPECT_EQ(MainQueue::shared().nowNanos() - start, secondsToNanos(1));
    EXPECT_TRUE(fs::is_empty(scratch.dir));
}
