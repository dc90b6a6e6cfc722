// The two blurs through CIFilter and CIContext: accuracy against the exact Gaussian, the grown
// extent and its transparent margin, the motion blur's direction, and lazy rendering of crops.
#include "image_samples.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

Ref<CIImage> blurred(CIImage* image, double radius, double angle = -1) {
    auto filter = CIFilter::filterWithName(angle < 0 ? "CIGaussianBlur" : "CIMotionBlur");
    filter->setValue(image, kCIInputImageKey);
    filter->setValue(NSNumber::withDouble(radius), kCIInputRadiusKey);
    if (angle >= 0) filter->setValue(NSNumber::withDouble(angle), kCIInputAngleKey);
    return cast<CIImage>(filter->valueForKey(kCIOutputImageKey));
}
Ref<CIImage> blurred(CGImageRef bitmap, double radius, double angle = -1) {
    return blurred(CIImage::imageWithCGImage(bitmap), radius, angle);
}
CGImageRef render(CIImage* image) {
    return CIContext::contextWithOptions(nullptr)->createCGImage(image, image->extent());
}

} // namespace

TEST(GaussianBlur, BoxPassesStayCloseToTheExactGaussian) {
    CGImageRef photo = samples::photoBitmap(240, 200);
    PixelView source{{0, 0, 240, 200}, photo->pixels(), 240, photo};
    for (double sigma : {2.0, 4.5, 10.0, 17.0}) {
        SCOPED_TRACE(sigma);
        int s = gaussianSpread(sigma);
        PixelRect all{-s, -s, 240 + 2 * s, 200 + 2 * s};
        PixelBuffer fast = PixelBuffer::make(all), exact = PixelBuffer::make(all);
        ASSERT_TRUE(gaussianBlur(source, sigma, fast));
        ASSERT_TRUE(gaussianBlurExact(source, sigma, exact));
        auto f = [&](int x, int y) { return fast.row(y)[x - all.x]; };
        auto e = [&](int x, int y) { return exact.row(y)[x - all.x]; };
        // Where it meets the transparent margin (every channel steps to 0) the box shape shows
        // a little more.
        EXPECT_LE(samples::maxDifference(f, e, {s, s, 240 - 2 * s, 200 - 2 * s}), 2);
        EXPECT_LE(samples::maxDifference(f, e, all), 4);
    }
}

TEST(GaussianBlur, ExtentGrowsByThreeRadiiAndItsMarginIsTransparent) {
    Ref<CIImage> out = blurred(samples::bitmap(20, 20, [](int, int) { return 0xffc08040u; }), 2);
    EXPECT_EQ(out->extent(), CGRectMake(-6, -6, 32, 32));
    CGImageRef rendered = render(out);
    ASSERT_TRUE(rendered);
    ASSERT_EQ(rendered->width, 32);
    EXPECT_EQ(rendered->row(16)[16], 0xffc08040u);     // the middle is untouched
    EXPECT_LT(pixelAlpha(rendered->row(16)[5]), 160u); // the edge is half covered
    EXPECT_EQ(pixelAlpha(rendered->row(0)[0]), 0u);
    for (std::size_t i = 0; i < rendered->pixelCount(); ++i)
        ASSERT_LE(pixelRed(rendered->pixels()[i]), pixelAlpha(rendered->pixels()[i]));
}

TEST(MotionBlur, SpreadsAPointAlongThirtyDegrees) {
    Ref<CIImage> out = blurred(samples::bitmap(1, 1, [](int, int) { return ~0u; }), 10, M_PI / 6);
    EXPECT_NEAR(out->extent().origin.x, -10 * std::cos(M_PI / 6), 1e-9);
    EXPECT_NEAR(out->extent().origin.y, -5, 1e-9);
    CGImageRef r = render(out);
    ASSERT_TRUE(r);
    // Nineteen taps of 1/19 each; up and to the right (rows run downwards).
    int lit = 0;
    for (std::size_t i = 0; i < r->pixelCount(); ++i)
        if (r->pixels()[i]) {
            ++lit;
            EXPECT_NEAR(int(pixelAlpha(r->pixels()[i])), 13, 1);
        }
    EXPECT_EQ(lit, 19);
    EXPECT_TRUE(r->row(0)[r->width - 1]);
    EXPECT_TRUE(r->row(r->height - 1)[0]);
    EXPECT_FALSE(r->row(0)[0]);
}

// A crop renders the same pixels as the whole; the chain streams the Gaussian's rows into the
// motion blur, which must give what the two filters give one after the other.
TEST(CIContext, CroppedRenderingMatchesTheWholeRenderAndTheFiltersApart) {
    CGImageRef photo = samples::photoBitmap(150, 120);
    Ref<CIImage> whole = blurred(blurred(photo, 6), 6, M_PI / 6);
    CGRect crop = CGRectMake(37.5, 30, 75, 60);
    Ref<CIImage> part = whole->imageByCroppingToRect(crop);
    EXPECT_EQ(part->extent(), crop);
    CGImageRef all = render(whole), cut = render(part);
    ASSERT_TRUE(all && cut);
    ASSERT_EQ(cut->width, 75);
    ASSERT_EQ(cut->height, 60);
    PixelRect allRect = pixelRectForExtent(whole->extent());
    PixelRect cutRect = pixelRectForExtent(part->extent());
    MotionKernel kernel = motionKernel(6, M_PI / 6);
    PixelView source{{0, -120, 150, 120}, photo->pixels(), 150, photo};
    PixelBuffer middle = PixelBuffer::make(cutRect.inset(-kernel.spreadX, -kernel.spreadY));
    PixelBuffer apart = PixelBuffer::make(cutRect);
    ASSERT_TRUE(gaussianBlur(source, 6, middle) && motionBlur(middle.view(), kernel, apart));
    for (int y = 0; y < cut->height; ++y)
        for (int x = 0; x < cut->width; ++x) {
            ASSERT_EQ(cut->row(y)[x],
                      all->row(y + cutRect.y - allRect.y)[x + cutRect.x - allRect.x]);
            ASSERT_EQ(cut->row(y)[x], apart.row(cutRect.y + y)[x]);
        }
}

TEST(CIFilter, UnknownNamesAndMissingInputsGiveNil) {
    EXPECT_FALSE(CIFilter::filterWithName("CIBloom"));
    EXPECT_FALSE(CIFilter::filterWithName("CIGaussianBlur")->outputImage());
    EXPECT_FALSE(CIImage::initWithImage(nullptr));
    EXPECT_FALSE(CIImage::initWithImage(UIImage::systemImageNamed("chevron.down")));
    EXPECT_FALSE(
        CIContext::contextWithOptions(nullptr)->createCGImage(nullptr, CGRectMake(0, 0, 1, 1)));
    // A radius of 0 is the image itself; a huge one is capped, not allocated without bound.
    CGImageRef one = samples::bitmap(4, 4, [](int, int) { return 0xff102030u; });
    EXPECT_EQ(blurred(one, 0)->extent(), CGRectMake(0, 0, 4, 4));
    EXPECT_FALSE(render(blurred(one, 1e9)));
}
