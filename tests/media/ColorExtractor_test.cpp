// ColorExtractor: known colours, the brightness sort, the tie rule, the shrink rule, the cache
// and its key, and the class as the runtime sees it.
#include "media/ColorExtractor.h"

#include <gtest/gtest.h>

namespace {

Ref<UIImage> imageOf(int w, int h, const std::function<std::uint32_t(int, int)>& pixel) {
    auto bitmap = CGImageAllocate(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bitmap->data[std::size_t(y) * w + x] = pixel(x, y);
    return UIImage::imageWithCGImage(bitmap);
}

// Three vertical bands: black, orange, light blue. The blurred margin is dark, so it joins the
// black cluster instead of dragging a bright one down.
const std::uint32_t kBands[3] = {0xff000000u, 0xffe67814u, 0xff78b4f0u};
Ref<UIImage> bands() {
    return imageOf(75, 75, [](int x, int) { return kBands[x / 25]; });
}

struct RGB {
    double r, g, b;
};
RGB rgb(NSObject* colour) {
    RGB c{};
    double a = 0;
    cast<UIColor>(colour)->getRed(&c.r, &c.g, &c.b, &a);
    EXPECT_EQ(a, 1.0);
    return c;
}
RGB rgb(std::uint32_t p) {
    return {pixelRed(p) / 255.0, pixelGreen(p) / 255.0, pixelBlue(p) / 255.0};
}
double dist(RGB a, RGB b) {
    return std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) +
                     (a.b - b.b) * (a.b - b.b));
}
double brightness(RGB c) {
    return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
}

} // namespace

TEST(ColorExtractor, ThreeBandsGiveTheirColoursInClusterOrder) {
    Ref<NSArray> colours = ColorExtractor::extractDominantColors(bands(), 0);
    ASSERT_EQ(colours->count(), 3u);
    // Each centre sits on its own band, a little off for the softened edges.
    for (int k = 0; k < 3; ++k) {
        RGB c = rgb(colours->objectAtIndex(k));
        for (int other = (k + 1) % 3; other != k; other = (other + 1) % 3)
            EXPECT_LT(dist(c, rgb(kBands[k])), dist(c, rgb(kBands[other])));
        EXPECT_LT(dist(c, rgb(kBands[k])), 0.12);
    }
}

TEST(ColorExtractor, SortingPutsTheBrightestFirstAndTheCacheKeepsTheFirstOrder) {
    ColorExtractor::cache()->removeAllObjects();
    Ref<NSArray> sorted = ColorExtractor::extractDominantColors(bands(), 1);
    ASSERT_EQ(sorted->count(), 3u);
    EXPECT_GE(brightness(rgb(sorted->objectAtIndex(0))), brightness(rgb(sorted->objectAtIndex(1))));
    EXPECT_GE(brightness(rgb(sorted->objectAtIndex(1))), brightness(rgb(sorted->objectAtIndex(2))));
    // Light blue is the brightest band.
    EXPECT_LT(dist(rgb(sorted->objectAtIndex(0)), rgb(kBands[2])), 0.12);
    // Another sort argument for the same pixels is a cache hit: the same array, same order.
    Ref<NSArray> again = ColorExtractor::extractDominantColors(bands(), 0);
    EXPECT_EQ(again.get(), sorted.get());
    EXPECT_EQ(ColorExtractor::brightness(cast<UIColor>(sorted->objectAtIndex(0))),
              brightness(rgb(sorted->objectAtIndex(0))));
}

TEST(ColorExtractor, EqualSamplesSendEveryPixelToTheFirstCluster) {
    // One colour everywhere, and the samples far enough inside a 75-point image for the blurs to
    // leave them as they are: the three centres start equal. The first pass gives every pixel to
    // cluster 0, which takes the dark margin; later passes hand the pure colour to cluster 1 and
    // then to cluster 2 (a tie never goes to the higher index). Cluster 0 ends darkest.
    const std::uint32_t teal = 0xff208080u;
    Ref<NSArray> colours =
        ColorExtractor::extractDominantColors(imageOf(75, 75, [&](int, int) { return teal; }), 0);
    RGB c0 = rgb(colours->objectAtIndex(0)), c1 = rgb(colours->objectAtIndex(1));
    RGB c2 = rgb(colours->objectAtIndex(2));
    EXPECT_LT(brightness(c0), brightness(c1));
    EXPECT_LT(brightness(c1), brightness(c2));
    EXPECT_LT(dist(c2, rgb(teal)), 0.02);
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
    Ref<UIImage> fits = imageOf(75, 75, [](int, int) { return 0u; });
    EXPECT_EQ(ColorExtractor::resizeImageIfNeeded(fits, {75, 75}).get(), fits.get());
    Ref<UIImage> wide = imageOf(76, 10, [](int, int) { return 0x80808080u; });
    Ref<UIImage> shrunk = ColorExtractor::resizeImageIfNeeded(wide, {75, 75});
    ASSERT_NE(shrunk.get(), wide.get());
    EXPECT_EQ(shrunk->size(), CGSizeMake(75, 75));
    EXPECT_EQ(shrunk->scale(), 1);
    // Half-transparent grey over black.
    EXPECT_EQ(shrunk->CGImage()->row(40)[40], 0xff808080u);
}

TEST(ColorExtractor, EqualPixelsShareAnEntryAndOnePixelMakesANewOne) {
    ColorExtractor::cache()->removeAllObjects();
    auto gradient = [](int x, int y) { return packPixel(255, x * 3, y * 3, 90); };
    Ref<NSArray> first = ColorExtractor::extractDominantColors(imageOf(60, 60, gradient), 0);
    Ref<NSArray> same = ColorExtractor::extractDominantColors(imageOf(60, 60, gradient), 0);
    EXPECT_EQ(first.get(), same.get());
    EXPECT_EQ(ColorExtractor::cache()->count(), 1u);
    ColorExtractor::extractDominantColors(
        imageOf(60, 60,
                [&](int x, int y) { return x == 59 && y == 0 ? 0xff000000u : gradient(x, y); }),
        0);
    EXPECT_EQ(ColorExtractor::cache()->count(), 2u);
    // The same pixels at another scale are another point size: another key.
    auto bitmap = imageOf(60, 60, gradient)->CGImage();
    ColorExtractor::extractDominantColors(UIImage::imageWithCGImage(bitmap, 2), 0);
    EXPECT_EQ(ColorExtractor::cache()->count(), 3u);
}

TEST(ColorExtractor, CacheKeyIsSizeAndBase64PNG) {
    Ref<UIImage> image = imageOf(70, 1, [](int x, int) { return packPixel(255, x, 255 - x, 7); });
    Ref<NSString> key = ColorExtractor::cacheKeyForImage(image);
    std::string expected =
        "70.000000_1.000000_" + UIImagePNGRepresentation(image)->base64EncodedStringWithOptions(1);
    EXPECT_EQ(key->str(), expected);
    EXPECT_NE(expected.find("\r\n"), std::string::npos);
    EXPECT_EQ(ColorExtractor::cacheKeyForImage(nullptr)->str(), "0.000000_0.000000_(null)");
}

TEST(ColorExtractor, ClassMethodsAnswerByName) {
    Class cls = objc_getClass("ColorExtractor");
    ASSERT_TRUE(cls);
    Ref<UIColor> white = UIColor::whiteColor(), black = UIColor::blackColor();
    EXPECT_DOUBLE_EQ(send<double>(cls, "colorDistanceFromColor:toColor:", white.get(), black.get()),
                     std::sqrt(3.0));
    EXPECT_DOUBLE_EQ(send<double>(cls, "brightnessForColor:", white.get()), 1.0);
    id colours = send<id>(cls, "extractDominantColorsFromImage:sortBy:", bands().get(), 1L);
    ASSERT_TRUE(cast<NSArray>(colours));
    EXPECT_EQ(cast<NSArray>(colours)->count(), 3u);
    id softened = send<id>(cls, "applyGaussianAndMotionBlurToImage:radius:", bands().get(), 2.0);
    ASSERT_TRUE(cast<UIImage>(softened));
    // The margin the two blurs spread: 3 x 2 plus the motion's reach, on each side.
    EXPECT_EQ(cast<UIImage>(softened)->size(), CGSizeMake(91, 89));
    objc_drainAutoreleasePool();
}
