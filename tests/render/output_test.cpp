// Snapshots, films and the screen: sizes, files, determinism, the clock, and bad input.
#include "scenes.h"
#include "support.h"

#include "platform/foundation/foundation.h"
#include "platform/graphics/codec.h"
#include "sim/render/render.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using namespace rendertest;
namespace fs = std::filesystem;

namespace {
const RGBA kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255};

fs::path scratch() {
    fs::path dir = fs::path(::testing::TempDir()) /
                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::vector<std::uint8_t> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

CGImageRef decode(const fs::path& path) {
    std::vector<std::uint8_t> bytes = bytesOf(path);
    return CGImageCreateWithEncodedData(bytes.data(), bytes.size());
}
} // namespace

TEST(RenderOutput, SnapshotIsDeviceSizedAndByteIdentical) {
    fs::path dir = scratch();
    PlayerScene scene = makePlayerScene(PlayerStyle::ColorFlow);
    std::string error;
    ASSERT_TRUE(renderSnapshot(scene.coverSheet, 0, (dir / "a.png").string(), &error)) << error;
    ASSERT_TRUE(renderSnapshot(scene.coverSheet, 0, (dir / "b.png").string(), &error)) << error;
    CGImageRef image = decode(dir / "a.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 1170); // the main screen's scale, 3
    EXPECT_EQ(image->height, 2532);
    EXPECT_EQ(bytesOf(dir / "a.png"), bytesOf(dir / "b.png"));
}

TEST(RenderOutput, ScreenShowsVisibleWindowsInPlace) {
    UIScreen::mainScreen()->setSize(CGSizeMake(100, 200));
    Ref<UIWindow> back = UIView::make<UIWindow>(CGRectMake(0, 0, 100, 200));
    back->setBackgroundColor(UIColor::colorWithRed(1, 0, 0, 1));
    back->makeKeyAndVisible();
    Ref<UIWindow> front = UIView::make<UIWindow>(CGRectMake(0, 100, 100, 50));
    front->setBackgroundColor(UIColor::colorWithRed(0, 0, 1, 1));
    front->makeKeyAndVisible();
    RenderOptions options;
    options.scale = 1;
    std::string error;
    CGImageRef image = renderScreen(options, &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->width, 100);
    EXPECT_EQ(image->height, 200);
    EXPECT_TRUE(near(pixel(image, 50, 50), kRed));
    EXPECT_TRUE(near(pixel(image, 50, 120), kBlue));
    front->setHidden(true);
    back->setHidden(true);
    EXPECT_TRUE(near(pixel(renderScreen(options, &error), 50, 120), {0, 0, 0, 255}));
}

TEST(RenderOutput, FilmRendersFramesWhileTheClockAdvances) {
    fs::path dir = scratch();
    Ref<UIView> root = box(CGRectMake(0, 0, 40, 40), {255, 255, 255, 255});
    Ref<UIView> dot = box(CGRectMake(0, 0, 10, 10), kRed);
    root->addSubview(dot);
    UIView::animateWithDuration(1, 0, UIViewAnimationOptionCurveLinear,
                                [&] { dot->setCenter(CGPointMake(35, 5)); });
    std::string prefix = (dir / "walk").string(), error;
    std::int64_t start = MainQueue::shared().nowNanos();
    std::vector<std::string> frames;
    ASSERT_TRUE(renderFilm(root, 1, prefix, 1, 4, &error, &frames)) << error;
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[3], prefix + "-0004.png");
    EXPECT_EQ(MainQueue::shared().nowNanos() - start, secondsToNanos(1));
    // Frames at 0, 0.25, 0.5 and 0.75 s: the dot's centre at 5, 12.5, 20 and 27.5.
    int expected[] = {5, 12, 20, 27};
    for (int k = 0; k < 4; ++k) {
        CGImageRef frame = decode(dir / ("walk-000" + std::to_string(k + 1) + ".png"));
        ASSERT_TRUE(frame) << k;
        EXPECT_NEAR(inkOf(frame, {255, 255, 255, 255}).midX(), expected[k], 1) << k;
    }
    EXPECT_FALSE(fs::exists(dir / "walk-0005.png"));

    // In a film an image drawn at another size is resampled once and kept for the next frames;
    // the frames show what a snapshot does.
    Ref<UIImageView> art = UIView::make<UIImageView>(CGRectMake(0, 0, 40, 30));
    art->setImage(makeImage(5, 7, 1, [](int x, int y) { return RGBA{x * 50, y * 30, 200, 255}; }));
    CGImageRef still = shot(art);
    ASSERT_TRUE(renderFilm(art, 1, (dir / "art").string(), 0.5, 4, &error)) << error;
    for (const char* frame : {"art-0001.png", "art-0002.png"})
        EXPECT_TRUE(samePixels(decode(dir / frame), still)) << frame;

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

TEST(RenderOutput, BadRequestsGiveClearErrors) {
    fs::path dir = scratch();
    Ref<UIView> root = box(CGRectMake(0, 0, 10, 10), kRed);
    std::string error;
    EXPECT_FALSE(renderSnapshot(root, 1, (dir / "missing" / "x.png").string(), &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    for (double scale : {-1.0, 5.0, double(NAN)}) {
        error.clear();
        EXPECT_FALSE(renderSnapshot(root, scale, (dir / "x.png").string(), &error)) << scale;
        EXPECT_NE(error.find("scale"), std::string::npos) << error;
    }
    EXPECT_FALSE(renderView(nullptr, {}, &error));
    // Too big to allocate: refused before any pixel memory.
    Ref<UIView> huge = box(CGRectMake(0, 0, 1e7, 1e7), kRed);
    error.clear();
    EXPECT_FALSE(renderView(huge, {}, &error));
    EXPECT_NE(error.find("bitmap"), std::string::npos) << error;
    Ref<UIView> broken = box(CGRectMake(0, 0, NAN, 10), kRed);
    EXPECT_FALSE(renderView(broken, {}, &error));

    std::int64_t start = MainQueue::shared().nowNanos();
    std::string prefix = (dir / "f").string();
    EXPECT_FALSE(renderFilm(root, 1, prefix, 0, 30, &error));
    EXPECT_FALSE(renderFilm(root, 1, prefix, 601, 30, &error));
    EXPECT_FALSE(renderFilm(root, 1, prefix, 1, 0, &error));
    EXPECT_FALSE(renderFilm(root, 1, prefix, 1, 121, &error));
    EXPECT_FALSE(renderFilm(root, 1, prefix, 300, 120, &error));
    EXPECT_NE(error.find("3600"), std::string::npos) << error;
    EXPECT_FALSE(renderFilm(root, 1, "", 1, 30, &error));
    EXPECT_EQ(MainQueue::shared().nowNanos(), start); // refused films leave the clock alone
    EXPECT_TRUE(fs::is_empty(dir));
    // A film that cannot write still moves the clock on as asked.
    EXPECT_FALSE(renderFilm(root, 1, (dir / "no" / "f").string(), 0.5, 10, &error));
    EXPECT_EQ(MainQueue::shared().nowNanos() - start, secondsToNanos(0.5));
}
