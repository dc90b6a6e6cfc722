// imageBlurrer: the three effects and the setting, the grain made once and kept on its bitmap,
// artwork past the canvas budget, the background against the exact filters, and the class as
// the runtime sees it.
#include "entry/state.h"
#include "graphics/image_samples.h"
#include "media/imageBlurrer.h"
#include "platform/graphics/blur.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

using samples::at;

Ref<UIImage> uniform(int w, int h, std::uint32_t pixel) {
    auto bitmap = CGImageAllocate(w, h);
    std::fill_n(bitmap->data.get(), bitmap->pixelCount(), pixel);
    bitmap->opaque = pixelAlpha(pixel) == 255;
    return UIImage::imageWithCGImage(bitmap);
}

class ImageBlurrerTest : public testing::Test {
  protected:
    void SetUp() override {
        // A fixed clock and a grain of exactly one level, so results are exact.
        setPlatformWallClock([] { return std::int64_t(1700000000); });
        setPlatformRandom([] { return std::int64_t(2147483647); });
    }
    void TearDown() override {
        setPlatformWallClock(nullptr);
        setPlatformRandom(nullptr);
    }
};

} // namespace

TEST_F(ImageBlurrerTest, EffectsTintOnlyWhenTheSettingIsOn) {
    // Grey 128 with the grain screened over it is 130; black at 45 % makes it 71, white at 15 %
    // 149. Without the setting every effect gives the untinted pixels.
    Ref<UIImage> art = uniform(80, 80, 0xff808080u);
    struct Case {
        bool setting;
        NSInteger effect;
        std::uint32_t red;
    } cases[] = {{true, 2, 130},  {true, 0, 71},   {true, 1, 149},
                 {false, 0, 130}, {false, 1, 130}, {false, 7, 130}};
    for (const Case& c : cases) {
        backgroundBlurEffect = c.setting;
        Ref<UIImage> out = imageBlurrer::applyCustomBlur(art, 4, c.effect);
        EXPECT_EQ(pixelRed(at(out, 40, 40)), c.red) << c.setting << " " << c.effect;
    }
    backgroundBlurEffect = true;
}

TEST_F(ImageBlurrerTest, TheGrainDrawsOneNumberPerPointAndKeepsToItsBitmap) {
    // Draws of 0, 1 and 0.5 in turn make these pixels (white at alpha 0.02 v, premultiplied).
    const std::int64_t values[3] = {0, 2147483647, 1073741823};
    const std::uint32_t pixelFor[3] = {0, packPixel(5, 5, 5, 5), packPixel(2, 1, 1, 1)};
    // A fractional side gets one more column or row; 10.0000001 makes a bitmap of 10, so the
    // last column and row of points fall off it.
    struct Case {
        CGSize size;
        int columns, bitmapWidth, bitmapHeight;
    } cases[] = {{{2.5, 2}, 3, 3, 2}, {{10.0000001, 10.0000001}, 11, 10, 10}};
    for (const Case& c : cases) {
        int draws = 0;
        setPlatformRandom([&] { return values[draws++ % 3]; });
        Ref<UIImage> grain = imageBlurrer::generateGrainImage(c.size);
        const CGImage& b = *grain->CGImage();
        ASSERT_EQ(b.width, c.bitmapWidth);
        ASSERT_EQ(b.height, c.bitmapHeight);
        EXPECT_EQ(draws, c.columns * int(std::ceil(c.size.height)));
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x)
                ASSERT_EQ(b.row(y)[x], pixelFor[(y * c.columns + x) % 3]) << x << ", " << y;
    }
}

// One colour, held as a bitmap whose pixels beyond the first are never touched: a large
// artwork that costs little memory.
Ref<UIImage> solidArtwork(int w, int h, std::uint32_t pixel) {
    auto bitmap = CGImageAllocate(w, h);
    bitmap->data[0] = pixel;
    bitmap->opaque = bitmap->solid = true;
    return UIImage::imageWithCGImage(bitmap);
}

TEST_F(ImageBlurrerTest, ArtworkPastTheCanvasBudgetGetsAReducedBackgroundOfItsSize) {
    // The centre is the artwork's blue (0xc0) with the grain screened over it, except in a sliver
    // 16 points tall, which the blur darkens from above and below as it does at full resolution
    // (145 there). The first background makes the grain, with its pixels (one per point of the
    // artwork would be larger than the background and stretched onto it); the others stretch it.
    struct Case {
        int w, h;
        double scale;
        int blue, tolerance;
    } cases[] = {
        {7000, 7000, 4 / 7.0, 193, 1}, {12000, 100, 0.91, 193, 1}, {16384, 16, 2 / 3.0, 145, 10}};
    UIImage* grain = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.w);
        Ref<UIImage> out =
            imageBlurrer::applyCustomBlur(solidArtwork(c.w, c.h, 0xff3080c0u), 10, 2);
        ASSERT_TRUE(out);
        EXPECT_NEAR(out->scale(), c.scale, 0.001);
        EXPECT_NEAR(out->size().width, c.w, 1.5);
        EXPECT_NEAR(out->size().height, c.h, 1.5);
        const CGImage& b = *out->CGImage();
        EXPECT_NEAR(int(pixelBlue(b.row(b.height / 2)[b.width / 2])), c.blue, c.tolerance);
        if (!grain) {
            ASSERT_TRUE(grain = imageBlurrer::grainImage());
            EXPECT_EQ(grain->CGImage()->width, b.width);
            EXPECT_EQ(grain->scale(), out->scale());
        }
        EXPECT_EQ(imageBlurrer::grainImage(), grain);
    }
}

// The background against the exact filters over the canvas the steps describe (three copies
// drawn into 1.5 w x 1.5 h; whole and fractional pixel places), cropped, laid on black and
// screened with the grain (2 % white): within 2/255, 4 where the artwork meets the empty sides.
TEST_F(ImageBlurrerTest, BackgroundStaysCloseToTheExactFilters) {
    backgroundBlurEffect = false;
    imageBlurrer::applyCustomBlur(uniform(4, 4, 0xff000000u), 1, 2); // a uniform grain
    for (auto [w, h, radius] : {std::tuple{64, 48, 6.0}, {61, 43, 5.0}, {120, 92, 10.0}}) {
        SCOPED_TRACE(w);
        Ref<UIImage> image = samples::image(w, h, [](int x, int y) {
            return packPixel(255, std::uint32_t(128 + 100 * std::sin(x * 0.3)),
                             std::uint32_t((x * 7 + y * 13) % 256), (x / 9 + y / 7) % 2 ? 230 : 20);
        });
        Ref<UIImage> out = imageBlurrer::applyCustomBlur(image, radius, 2);
        ASSERT_TRUE(out);
        ASSERT_EQ(out->CGImage()->width, w);
        ASSERT_EQ(out->size(), CGSizeMake(w, h));

        UIGraphicsBeginImageContextWithOptions({1.5 * w, 1.5 * h}, NO, 1);
        for (double dy : {-double(h), double(h), 0.0})
            image->drawAtPoint({0.25 * w, 0.25 * h + dy});
        CGImageRef canvas = UIGraphicsGetImageFromCurrentImageContext()->CGImage();
        UIGraphicsEndImageContext();
        int cw = canvas->width, ch = canvas->height;
        PixelView source{{0, 0, cw, ch}, canvas->pixels(), std::size_t(cw), canvas};
        MotionKernel kernel = motionKernel(radius, M_PI / 6);
        int top = ch - int(std::floor((ch - h) * 0.5 + 0.5)) - h;
        PixelRect crop{int(std::floor((cw - w) * 0.5 + 0.5)), top, w, h};
        PixelBuffer gaussian = PixelBuffer::make(crop.inset(-kernel.spreadX, -kernel.spreadY));
        PixelBuffer exact = PixelBuffer::make(crop);
        ASSERT_TRUE(gaussianBlurExact(source, radius, gaussian));
        ASSERT_TRUE(motionBlur(gaussian.view(), kernel, exact));
        // The grain screened over the exact pixels, laid on black.
        auto expected = [&](int x, int y) {
            auto screen = [](std::uint32_t v) { return v + 5 - (v * 5 + 127) / 255; };
            std::uint32_t p = exact.row(top + y)[x];
            return packPixel(255, screen(pixelRed(p)), screen(pixelGreen(p)), screen(pixelBlue(p)));
        };
        auto shown = [&](int x, int y) { return at(out, x, y); };
        int r = int(radius);
        EXPECT_LE(samples::maxDifference(shown, expected, {2 * r, 0, w - 4 * r, h}), 2);
        EXPECT_LE(samples::maxDifference(shown, expected, {0, 0, w, h}), 4);
    }
    backgroundBlurEffect = true;
}

TEST_F(ImageBlurrerTest, OverlaysCoverTheMainScreenAndMethodsAnswerByName) {
    UIImage* dark = imageBlurrer::darkOverlay();
    ASSERT_TRUE(dark);
    EXPECT_EQ(dark->size(), mainScreenMetrics().bounds.size);
    EXPECT_EQ(dark->scale(), mainScreenMetrics().scale);
    EXPECT_EQ(at(dark, 0, 0), 0xff000000u);
    EXPECT_EQ(at(imageBlurrer::lightOverlay(), 0, 0), 0xffffffffu);
    Ref<UIImage> art = uniform(20, 20, 0xff204060u);
    EXPECT_EQ(send<id>(objc_getClass("imageBlurrer"),
                       "applyCustomBlurToImage:withBlurRadius:effect:", art.get(), 0.0, 1L),
              static_cast<id>(art.get()));
    EXPECT_FALSE(imageBlurrer::applyCustomBlur(nullptr, 5, 1));
    // A negative radius (from the settings as typed) blurs nothing and darkens no edge.
    Ref<UIImage> unblurred = imageBlurrer::applyCustomBlur(art, -5, kBlurModeNone);
    ASSERT_TRUE(unblurred);
    for (auto [x, y] : {std::pair{0, 0}, {19, 19}, {0, 19}})
        EXPECT_EQ(at(unblurred, x, y), at(unblurred, 10, 10)) << x << "," << y;
    objc_drainAutoreleasePool();
}
