// ColorExtractor: known colours in cluster and brightness order, the tie rule, the shrink rule,
// the cache and its key, and the class as the runtime sees it.
#include "graphics/image_samples.h"
#include "media/ColorExtractor.h"

#include <gtest/gtest.h>

namespace {

// Three vertical bands: black, orange, light blue. The blurred margin is dark, so it joins the
// black cluster instead of dragging a bright one down.
const std::uint32_t kBands[3] = {0xff000000u, 0xffe67814u, 0xff78b4f0u};
Ref<UIImage> bands() {
    return samples::image(75, 75, [](int x, int) { return kBands[x / 25]; });
}

// How far a colour of the result lies from a pixel, per channel, on the 0...255 scale.
int offBy(NSObject* colour, std::uint32_t p) {
    double c[4] = {};
    cast<UIColor>(colour)->getRed(&c[0], &c[1], &c[2], &c[3]);
    EXPECT_EQ(c[3], 1.0);
    return std::max({std::abs(int(c[0] * 255) - int(pixelRed(p))),
                     std::abs(int(c[1] * 255) - int(pixelGreen(p))),
                     std::abs(int(c[2] * 255) - int(pixelBlue(p)))});
}

} // namespace

TEST(ColorExtractor, BandsComeInClusterOrderOrBrightestFirstAndTheCacheKeepsTheFirstOrder) {
    ColorExtractor::cache()->removeAllObjects();
    // Each centre sits on its own band, a little off for the softened edges.
    Ref<NSArray> plain = ColorExtractor::extractDominantColors(bands(), 0);
    ASSERT_EQ(plain->count(), 3u);
    for (int k = 0; k < 3; ++k)
        EXPECT_LT(offBy(plain->objectAtIndex(k), kBands[k]), 30) << k;
    // Light blue (luma 0.67), orange (0.54), black. Another sort argument for the same pixels
    // is a cache hit: the same array in the first call's order.
    ColorExtractor::cache()->removeAllObjects();
    Ref<NSArray> sorted = ColorExtractor::extractDominantColors(bands(), 1);
    for (int k = 0; k < 3; ++k)
        EXPECT_LT(offBy(sorted->objectAtIndex(k), kBands[2 - k]), 30) << k;
    EXPECT_EQ(ColorExtractor::extractDominantColors(bands(), 0).get(), sorted.get());
}

TEST(ColorExtractor, EqualSamplesSendEveryPixelToTheFirstCluster) {
    // One colour everywhere, and samples far enough inside for the blurs to leave them alone: the
    // three centres start equal. The first pass gives every pixel to cluster 0, which takes the
    // dark margin; later passes hand the pure colour on to cluster 1 and then to cluster 2 (a tie
    // never goes to the higher index). So the centres end darkest first, the last one pure.
    const std::uint32_t teal = 0xff208080u;
    Ref<NSArray> c = ColorExtractor::extractDominantColors(
        samples::image(75, 75, [&](int, int) { return teal; }), 0);
    EXPECT_GT(offBy(c->objectAtIndex(0), teal), offBy(c->objectAtIndex(1), teal));
    EXPECT_GT(offBy(c->objectAtIndex(1), teal), offBy(c->objectAtIndex(2), teal));
    EXPECT_LE(offBy(c->objectAtIndex(2), teal), 3);
}

TEST(ColorExtractor, NilAndEmptyImagesGiveTwoWhitesUncached) {
    std::size_t cachedBefore = ColorExtractor::cache()->count();
    Ref<UIImage> symbol = UIImage::systemImageNamed("play.fill");
    for (UIImage* image : {static_cast<UIImage*>(nullptr), symbol.get()}) {
        Ref<NSArray> colours = ColorExtractor::extractDominantColors(image, 1);
        ASSERT_EQ(colours->count(), 2u);
        EXPECT_TRUE(colours->objectAtIndex(0)->isEqual(UIColor::whiteColor()));
        EXPECT_TRUE(colours->objectAtIndex(1)->isEqual(UIColor::whiteColor()));
    }
    EXPECT_EQ(ColorExtractor::cache()->count(), cachedBefore);
    EXPECT_EQ(ColorExtractor::cache()->countLimit(), 100u);
}

TEST(ColorExtractor, OnlyLargerImagesAreShrunkOntoBlack) {
    Ref<UIImage> fits = samples::image(75, 75, [](int, int) { return 0u; });
    EXPECT_EQ(ColorExtractor::resizeImageIfNeeded(fits, {75, 75}).get(), fits.get());
    Ref<UIImage> wide = samples::image(76, 10, [](int, int) { return 0x80808080u; });
    Ref<UIImage> shrunk = ColorExtractor::resizeImageIfNeeded(wide, {75, 75});
    ASSERT_NE(shrunk.get(), wide.get());
    EXPECT_EQ(shrunk->size(), CGSizeMake(75, 75));
    EXPECT_EQ(shrunk->scale(), 1);
    EXPECT_EQ(shrunk->CGImage()->row(40)[40], 0xff808080u) << "half-transparent grey over black";
}

TEST(ColorExtractor, TheKeyIsSizeAndPNGContent) {
    ColorExtractor::cache()->removeAllObjects();
    auto gradient = [](int x, int y) { return packPixel(255, x * 3, y * 3, 90); };
    Ref<NSArray> first = ColorExtractor::extractDominantColors(samples::image(60, 60, gradient), 0);
    EXPECT_EQ(ColorExtractor::extractDominantColors(samples::image(60, 60, gradient), 0).get(),
              first.get());
    // One pixel changed, and the same pixels at another scale (another point size): new entries.
    ColorExtractor::extractDominantColors(
        samples::image(
            60, 60, [&](int x, int y) { return x == 59 && y == 0 ? 0xff000000u : gradient(x, y); }),
        0);
    ColorExtractor::extractDominantColors(
        UIImage::imageWithCGImage(samples::image(60, 60, gradient)->CGImage(), 2), 0);
    EXPECT_EQ(ColorExtractor::cache()->count(), 3u);

    // The key: the size, then the PNG (its signature starts "iVBORw0KGgo") in 64-column base64.
    std::string key = ColorExtractor::cacheKeyForImage(samples::image(70, 1, [](int x, int) {
                          return packPixel(255, x, 0, 7);
                      }))->str();
    EXPECT_EQ(key.rfind("70.000000_1.000000_iVBORw0KGgo", 0), 0u) << key;
    EXPECT_EQ(key.find("\r\n"), 19u + 64u);
    EXPECT_EQ(ColorExtractor::cacheKeyForImage(nullptr)->str(), "0.000000_0.000000_(null)");
}

TEST(ColorExtractor, ClassMethodsAnswerByName) {
    Class cls = objc_getClass("ColorExtractor");
    ASSERT_TRUE(cls);
    Ref<UIColor> white = UIColor::whiteColor(), black = UIColor::blackColor();
    EXPECT_DOUBLE_EQ(send<double>(cls, "colorDistanceFromColor:toColor:", white.get(), black.get()),
                     std::sqrt(3.0));
    EXPECT_DOUBLE_EQ(
        send<double>(cls, "brightnessForColor:", UIColor::colorWithRed(1, 0, 0, 1).get()), 0.2126);
    auto* colours =
        cast<NSArray>(send<id>(cls, "extractDominantColorsFromImage:sortBy:", bands().get(), 1L));
    ASSERT_TRUE(colours);
    EXPECT_EQ(colours->count(), 3u);
    auto* softened = cast<UIImage>(
        send<id>(cls, "applyGaussianAndMotionBlurToImage:radius:", bands().get(), 2.0));
    ASSERT_TRUE(softened);
    // The margin the two blurs spread: 3 x 2 plus the motion's reach, on each side.
    EXPECT_EQ(softened->size(), CGSizeMake(91, 89));
    objc_drainAutoreleasePool();
}
