// Films as one animated WebP: frames and their times read back, repeatable bytes, and refusals.
#include "support.h"

#include "platform/foundation/foundation.h"
#include "sim/render/film_file.h"
#include "sim/render/render.h"

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
        std::string pattern = (fs::temp_directory_path() / "vey-film-test-XXXXXX").string();
        dir = mkdtemp(pattern.data());
    }
    ~Scratch() { fs::remove_all(dir); }
};

std::vector<std::uint8_t> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Decoded {
    int width = 0, height = 0, loops = -1;
    std::vector<int> ends;     // when each frame ends, ms
    std::vector<RGBA> centres; // each frame's centre pixel
};

// Plays the file back the way a browser would.
Decoded playBack(const std::vector<std::uint8_t>& bytes) {
    Decoded out;
    WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder, &info)) return out;
    out.width = int(info.canvas_width), out.height = int(info.canvas_height);
    out.loops = int(info.loop_count);
    std::uint8_t* rgba = nullptr;
    int end = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder) && WebPAnimDecoderGetNext(decoder, &rgba, &end)) {
        const std::uint8_t* p =
            rgba + (std::size_t(out.height / 2) * out.width + out.width / 2) * 4;
        out.ends.push_back(end);
        out.centres.push_back({p[0], p[1], p[2], p[3]});
    }
    WebPAnimDecoderDelete(decoder);
    return out;
}

const RGBA kWhite{255, 255, 255, 255}, kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255};

} // namespace

TEST(FilmFile, WebPPrefixWritesOneAnimationOfTheFramesInTime) {
    Scratch scratch;
    const fs::path& dir = scratch.dir;
    // A square that turns from red to blue over the second, on white.
    Ref<UIView> root = box(CGRectMake(0, 0, 40, 30), kWhite);
    Ref<UIView> square = box(CGRectMake(10, 5, 20, 20), kRed);
    root->addSubview(square);
    auto fade = [&] {
        square->setBackgroundColor(UIColor::colorWithRed(1, 0, 0, 1));
        UIView::animateWithDuration(1, 0, UIViewAnimationOptionCurveLinear, [&] {
            square->setBackgroundColor(UIColor::colorWithRed(0, 0, 1, 1));
        });
    };
    fade();
    std::string path = (dir / "fade.webp").string(), error;
    std::vector<std::string> written;
    std::int64_t start = MainQueue::shared().nowNanos();
    ASSERT_TRUE(renderFilm(root, 2, path, 1, 4, &error, &written)) << error;
    EXPECT_EQ(written, std::vector<std::string>{path});
    EXPECT_EQ(MainQueue::shared().nowNanos() - start, secondsToNanos(1));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1); // no frames, no leftovers

    Decoded film = playBack(bytesOf(path));
    EXPECT_EQ(film.width, 80);
    EXPECT_EQ(film.height, 60);
    EXPECT_EQ(film.loops, 0); // forever
    // Frames at 0, 0.25, 0.5 and 0.75 s, the last shown until the film's end at 1 s.
    EXPECT_EQ(film.ends, (std::vector<int>{250, 500, 750, 1000}));
    ASSERT_EQ(film.centres.size(), 4u);
    EXPECT_TRUE(near(film.centres[0], kRed, 24));
    EXPECT_TRUE(near(film.centres[2], {128, 0, 128, 255}, 24));

    // The same film again gives the same bytes.
    fade();
    std::string again = (dir / "again.webp").string();
    ASSERT_TRUE(renderFilm(root, 2, again, 1, 4, &error)) << error;
    EXPECT_EQ(bytesOf(path), bytesOf(again));
}

TEST(FilmFile, RefusesWhatItCannotWriteAndLeavesNoPart) {
    Scratch scratch;
    const fs::path& dir = scratch.dir;
    Ref<UIView> root = box(CGRectMake(0, 0, 10, 10), kBlue);
    std::string error;
    EXPECT_FALSE(renderFilm(root, 1, (dir / "no" / "f.webp").string(), 0.5, 10, &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_empty(dir));

    // Frames that change size, or go back in time, are refused; so is a film of no frame.
    AnimatedWebP webp;
    CGImageRef small = shot(root), wide = shot(box(CGRectMake(0, 0, 12, 10), kBlue));
    ASSERT_TRUE(webp.add(*small, 0, &error)) << error;
    EXPECT_FALSE(webp.add(*wide, 100, &error));
    EXPECT_NE(error.find("size"), std::string::npos) << error;
    ASSERT_TRUE(webp.add(*small, 100, &error)) << error;
    EXPECT_FALSE(webp.add(*small, 50, &error));
    EXPECT_FALSE(webp.finish(200, &error).empty());
    EXPECT_TRUE(AnimatedWebP().finish(100, &error).empty());
    EXPECT_NE(error.find("frame"), std::string::npos) << error;
}
