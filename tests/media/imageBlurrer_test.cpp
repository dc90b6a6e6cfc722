// imageBlurrer: size, radius 0, the three effects and the setting, the grain made once, the
// blurred margin over black, and the class as the runtime sees it.
#include "entry/state.h"
#include "media/imageBlurrer.h"

#include <gtest/gtest.h>

namespace {

Ref<UIImage> uniform(int w, int h, std::uint32_t pixel) {
    auto bitmap = CGImageAllocate(w, h);
    for (std::size_t i = 0; i < bitmap->pixelCount(); ++i)
        bitmap->data[i] = pixel;
    bitmap->opaque = pixelAlpha(pixel) == 255;
    return UIImage::imageWithCGImage(bitmap);
}

std::uint32_t at(UIImage* image, int x, int y) {
    return image->CGImage()->row(y)[x];
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

TEST_F(ImageBlurrerTest, KeepsTheSizeAndRadiusZeroIsTheSameImage) {
    Ref<UIImage> art = uniform(61, 40, 0xff406080u);
    EXPECT_EQ(imageBlurrer::applyCustomBlur(art, 0, 1).get(), art.get());
    Ref<UIImage> out = imageBlurrer::applyCustomBlur(art, 5, 2);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->size(), CGSizeMake(61, 40));
    EXPECT_EQ(out->CGImage()->width, 61);
    EXPECT_FALSE(imageBlurrer::applyCustomBlur(nullptr, 5, 1));
    EXPECT_FALSE(imageBlurrer::grainImage() == nullptr);
}

TEST_F(ImageBlurrerTest, EffectsTintOnlyWhenTheSettingIsOn) {
    Ref<UIImage> art = uniform(80, 80, 0xff808080u);
    backgroundBlurEffect = true;
    Ref<UIImage> plain = imageBlurrer::applyCustomBlur(art, 4, 2);
    Ref<UIImage> dark = imageBlurrer::applyCustomBlur(art, 4, 0);
    Ref<UIImage> light = imageBlurrer::applyCustomBlur(art, 4, 1);
    // The centre is the artwork (uniform) with the grain screened over it: white at 2 %.
    std::uint32_t base = at(plain, 40, 40);
    EXPECT_NEAR(int(pixelRed(base)), 128 + 5 * 127 / 255, 1);
    EXPECT_NEAR(int(pixelRed(at(dark, 40, 40))), int(pixelRed(base) * 0.55), 1);
    EXPECT_NEAR(int(pixelRed(at(light, 40, 40))), int(pixelRed(base) * 0.85 + 255 * 0.15), 1);
    backgroundBlurEffect = false;
    for (NSInteger effect : {0, 1, 2, 7}) {
        Ref<UIImage> off = imageBlurrer::applyCustomBlur(art, 4, effect);
        EXPECT_TRUE(std::equal(off->CGImage()->pixels(),
                               off->CGImage()->pixels() + off->CGImage()->pixelCount(),
                               plain->CGImage()->pixels()));
    }
    backgroundBlurEffect = true;
}

TEST_F(ImageBlurrerTest, GrainIsMadeOnceAtTheFirstSize) {
    imageBlurrer::applyCustomBlur(uniform(50, 30, 0xff000000u), 3, 2);
    UIImage* grain = imageBlurrer::grainImage();
    ASSERT_TRUE(grain);
    EXPECT_EQ(grain->size(), CGSizeMake(50, 30));
    // v = 1: white at alpha 0.02, as Cairo stores it.
    EXPECT_EQ(at(grain, 49, 29), packPixel(5, 5, 5, 5));
    Ref<UIImage> later = imageBlurrer::applyCustomBlur(uniform(90, 70, 0xff000000u), 3, 2);
    EXPECT_EQ(imageBlurrer::grainImage(), grain);
    EXPECT_EQ(later->size(), CGSizeMake(90, 70));
    // The grain stretched over the later image: black screened with 2 % white.
    EXPECT_EQ(pixelRed(at(later, 45, 35)), 5u);
}

TEST_F(ImageBlurrerTest, GrainDrawsOneNumberPerPointFromTheClockSeed) {
    std::vector<std::int64_t> values = {0, 2147483647, 1073741823};
    std::size_t next = 0;
    int draws = 0;
    setPlatformRandom([&] {
        ++draws;
        return values[next++ % values.size()];
    });
    Ref<UIImage> grain = imageBlurrer::generateGrainImage({2.5, 2});
    // A fractional width gets one more column.
    EXPECT_EQ(draws, 6);
    EXPECT_EQ(grain->CGImage()->width, 3);
    EXPECT_EQ(at(grain, 0, 0), 0u);
    EXPECT_EQ(at(grain, 1, 0), packPixel(5, 5, 5, 5));
    EXPECT_EQ(pixelAlpha(at(grain, 2, 0)), 2u);
}

TEST_F(ImageBlurrerTest, GrainOverhangOffTheCanvasIsNotWritten) {
    // The bitmap of 10.0000001 points is 10 pixels a side; the loop still draws 11 x 11 numbers.
    int draws = 0;
    setPlatformRandom([&] {
        ++draws;
        return std::int64_t(2147483647);
    });
    Ref<UIImage> grain = imageBlurrer::generateGrainImage({10.0000001, 10.0000001});
    EXPECT_EQ(draws, 121);
    const CGImage& bitmap = *grain->CGImage();
    ASSERT_EQ(bitmap.pixelCount(), 100u);
    for (std::size_t i = 0; i < bitmap.pixelCount(); ++i)
        ASSERT_EQ(bitmap.pixels()[i], packPixel(5, 5, 5, 5)) << i;
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
    imageBlurrer::applyCustomBlur(uniform(8, 8, 0xff000000u), 1, 2); // the grain, made small
    // The centre is the artwork's blue (0xc0) with the grain screened over it, except in a sliver
    // 16 points tall, which the blur darkens from above and below as it does at full resolution
    // (145 there).
    struct Case {
        int w, h;
        double scale;
        int blue, tolerance;
    } cases[] = {
        {12000, 100, 0.91, 193, 1}, {16384, 16, 2 / 3.0, 145, 10}, {7000, 7000, 4 / 7.0, 193, 1}};
    for (const Case& c : cases) {
        Ref<UIImage> out =
            imageBlurrer::applyCustomBlur(solidArtwork(c.w, c.h, 0xff3080c0u), 10, 2);
        ASSERT_TRUE(out) << c.w << " x " << c.h;
        EXPECT_NEAR(out->scale(), c.scale, 0.001) << c.w;
        EXPECT_NEAR(out->size().width, c.w, 1.5) << c.w;
        EXPECT_NEAR(out->size().height, c.h, 1.5) << c.w;
        const CGImage& b = *out->CGImage();
        EXPECT_NEAR(int(pixelBlue(b.row(b.height / 2)[b.width / 2])), c.blue, c.tolerance) << c.w;
    }
}

TEST_F(ImageBlurrerTest, TheBlurredMarginDarkensTheSidesOverBlack) {
    backgroundBlurEffect = false;
    Ref<UIImage> out = imageBlurrer::applyCustomBlur(uniform(100, 100, 0xffffffffu), 8, 2);
    // Left and right of the artwork the canvas was empty; above and below it had copies.
    std::uint32_t centre = at(out, 50, 50), left = at(out, 0, 50), top = at(out, 50, 0);
    EXPECT_EQ(pixelAlpha(left), 255u);
    EXPECT_LT(pixelRed(left), pixelRed(centre) - 60);
    EXPECT_GT(pixelRed(top), pixelRed(centre) - 4);
}

TEST_F(ImageBlurrerTest, OverlaysCoverTheMainScreenAndMethodsAnswerByName) {
    const MainScreenMetrics& screen = mainScreenMetrics();
    UIImage* dark = imageBlurrer::darkOverlay();
    ASSERT_TRUE(dark);
    EXPECT_EQ(dark->size(), screen.bounds.size);
    EXPECT_EQ(dark->scale(), screen.scale);
    EXPECT_EQ(at(dark, 0, 0), 0xff000000u);
    EXPECT_EQ(at(imageBlurrer::lightOverlay(), 0, 0), 0xffffffffu);

    Class cls = objc_getClass("imageBlurrer");
    ASSERT_TRUE(cls);
    Ref<UIImage> art = uniform(20, 20, 0xff204060u);
    EXPECT_EQ(send<id>(cls, "applyCustomBlurToImage:withBlurRadius:effect:", art.get(), 0.0, 1L),
              static_cast<id>(art.get()));
    auto* blended =
        cast<UIImage>(send<id>(cls, "blendImage:withImage:opacity:", art.get(), dark, 0.5));
    ASSERT_TRUE(blended);
    EXPECT_EQ(blended->size(), CGSizeMake(20, 20));
    EXPECT_NEAR(int(pixelBlue(at(blended, 10, 10))), 0x60 / 2, 1);
    objc_drainAutoreleasePool();
}
