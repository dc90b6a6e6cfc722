// Bitmap contexts: initial pixels, scale, fills, blending, snapshots, the context stack, and the
// whole-pixel fast paths agreeing with Cairo. CGRectInset as CoreGraphics has it: standardised
// first, out for negative insets, null when the inset leaves a negative size.
#include "image_samples.h"

#include <gtest/gtest.h>

using samples::at;
using samples::maxDifference;

namespace {

Ref<UIImage> draw(CGSize size, bool opaque, const std::function<void()>& body = {},
                  CGFloat scale = 1) {
    UIGraphicsBeginImageContextWithOptions(size, opaque, scale);
    if (body) body();
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

void fill(const CGColor& color, CGRect rect) {
    CGContextSetFillColorWithColor(UIGraphicsGetCurrentContext(), &color);
    CGContextFillRect(UIGraphicsGetCurrentContext(), rect);
}

void drawInCairo(UIImage* image, CGRect rect, cairo_operator_t op = CAIRO_OPERATOR_OVER,
                 double alpha = 1) {
    UIImageDrawInCairo(UIGraphicsGetCurrentContext()->drawTarget(), image, rect, op, alpha);
}

} // namespace

TEST(CGContext, StartsTransparentOrBlackAtTheRequestedScale) {
    auto clear = draw({3, 2}, false, {}, 2);
    ASSERT_TRUE(clear);
    EXPECT_EQ(clear->size(), CGSizeMake(3, 2));
    EXPECT_EQ(clear->CGImage()->width, 6);
    EXPECT_EQ(at(clear, 5, 3), 0u);
    EXPECT_FALSE(clear->CGImage()->opaque);
    auto black = draw({2, 2}, true);
    EXPECT_EQ(at(black, 1, 1), 0xff000000u);
    EXPECT_TRUE(black->CGImage()->opaque);
    // A fractional size gains a pixel instead of losing one.
    EXPECT_EQ(draw({1.5 * 1001, 1}, false)->CGImage()->width, 1502);
    EXPECT_FALSE(draw({0, 10}, false));
}

TEST(CGContext, FillsAndScreenGiveTheirWorkedValues) {
    auto filled = draw({4, 2}, false, [] {
        fill({1, 0, 0, 1}, {{0, 0}, {2, 2}});
        fill({1, 1, 1, 0.5}, {{2, 0}, {2, 2}});
    });
    EXPECT_EQ(at(filled, 1, 1), packPixel(255, 255, 0, 0));
    EXPECT_NEAR(int(pixelAlpha(at(filled, 3, 0))), 128, 1);
    EXPECT_EQ(pixelRed(at(filled, 3, 0)), pixelAlpha(at(filled, 3, 0)));

    auto grey = samples::image(8, 8, [](int, int) { return packPixel(255, 128, 128, 128); });
    auto screened = draw({8, 8}, false, [&] {
        grey->drawInRect({{0, 0}, {8, 8}});
        grey->drawInRect({{0, 0}, {8, 8}}, kCGBlendModeScreen, 1);
    });
    EXPECT_NEAR(int(pixelRed(at(screened, 4, 4))), 192, 1);
}

TEST(CGContext, WholePixelCompositingAgreesWithCairo) {
    auto base = samples::image(
        40, 30, [](int x, int y) { return packPixel(255, x * 6, y * 8, x * y % 256); });
    auto over = samples::image(40, 30, [](int x, int y) {
        std::uint32_t a = std::uint32_t((x * 7 + y * 3) % 256);
        return packPixel(a, a * (x % 3) / 2, a / 3, a);
    });
    // A one-colour image stretched is a fill; it must look like the stretched bitmap.
    auto solid = draw({7, 9}, false, [] { fill({0.2, 0.4, 0.6, 0.8}, {{0, 0}, {7, 9}}); });
    EXPECT_TRUE(solid->CGImage()->solid);
    // Over a bitmap, and over a context filled black (the direct path's shortcut for it).
    auto under = [&](bool black) {
        if (black) return fill({0, 0, 0, 1}, {{0, 0}, {40, 30}});
        base->drawInRect({{0, 0}, {40, 30}});
    };
    for (UIImage* top : {over.get(), solid.get()})
        for (bool black : {false, true})
            for (CGBlendMode mode : {kCGBlendModeNormal, kCGBlendModeScreen})
                for (double alpha : {1.0, 0.45, 0.15}) {
                    SCOPED_TRACE(testing::Message()
                                 << "solid " << (top == solid) << " black " << black << " mode "
                                 << int(mode) << " alpha " << alpha);
                    auto direct = draw({40, 30}, false, [&] {
                        under(black);
                        top->drawInRect({{0, 0}, {40, 30}}, mode, alpha);
                    });
                    auto viaCairo = draw({40, 30}, false, [&] {
                        under(black);
                        drawInCairo(top, {{0, 0}, {40, 30}}, cairoOperatorForBlendMode(mode),
                                    alpha);
                    });
                    EXPECT_LE(maxDifference(direct, viaCairo), 1);
                }
}

TEST(CGContext, SnapshotsKeepTheirPixelsWhenDrawingGoesOn) {
    UIGraphicsBeginImageContextWithOptions({2, 2}, false, 1);
    fill({1, 1, 1, 1}, {{0, 0}, {1, 1}});
    Ref<UIImage> first = UIGraphicsGetImageFromCurrentImageContext();
    fill({1, 1, 1, 1}, {{1, 1}, {1, 1}});
    Ref<UIImage> second = UIGraphicsGetImageFromCurrentImageContext();
    first->drawInRect({{0, 0}, {2, 2}}); // the context drawing its own earlier pixels
    UIGraphicsEndImageContext();
    EXPECT_EQ(at(first, 0, 0), 0xffffffffu);
    EXPECT_EQ(at(first, 1, 1), 0u);
    EXPECT_EQ(at(second, 1, 1), 0xffffffffu);
}

TEST(CGContext, StackAndMissingContextsAreSafe) {
    EXPECT_FALSE(UIGraphicsGetCurrentContext());
    EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext());
    UIGraphicsEndImageContext();
    UIRectFill({{0, 0}, {1, 1}});
    CGContextFillRect(nullptr, {{0, 0}, {1, 1}});
    CGContextStrokePath(nullptr);
    UIImage::systemImageNamed("play.fill")->drawAtPoint({0, 0});

    UIGraphicsBeginImageContextWithOptions({1, 1}, false, 1);
    CGContextRef outer = UIGraphicsGetCurrentContext();
    UIGraphicsBeginImageContextWithOptions({2, 2}, false, 1);
    EXPECT_NE(UIGraphicsGetCurrentContext(), outer);
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    UIGraphicsEndImageContext();
    EXPECT_FALSE(UIGraphicsGetCurrentContext());
}

TEST(CGContext, LargeReductionsAverageTheAreaTheyCover) {
    // Quarters of four colours reduced 20 times: each destination pixel is one quarter's mean.
    auto quarters = samples::image(
        80, 40, [](int x, int y) { return (x < 40) == (y < 20) ? 0xffff0000u : 0xff0000ffu; });
    auto small = draw({4, 2}, true, [&] { quarters->drawInRect({{0, 0}, {4, 2}}); });
    EXPECT_EQ(at(small, 0, 0), 0xffff0000u);
    EXPECT_EQ(at(small, 3, 0), 0xff0000ffu);
    // A reduction by a fraction: the cell straddling the boundary mixes the two sides.
    auto odd = draw({3, 1}, true, [&] { quarters->drawInRect({{0, 0}, {3, 1}}); });
    EXPECT_EQ(pixelRed(at(odd, 0, 0)), 128u);
    EXPECT_EQ(pixelBlue(at(odd, 1, 0)), 128u);
    // Close to Cairo's own resampling on a photograph.
    auto photo = UIImage::imageWithCGImage(samples::photoBitmap(300, 200));
    auto ours = draw({30, 20}, true, [&] { photo->drawInRect({{0, 0}, {30, 20}}); });
    auto cairos = draw({30, 20}, true, [&] { drawInCairo(photo, {{0, 0}, {30, 20}}); });
    double total = 0;
    for (std::size_t i = 0; i < 600; ++i)
        total += std::abs(int(pixelGreen(ours->CGImage()->pixels()[i])) -
                          int(pixelGreen(cairos->CGImage()->pixels()[i])));
    EXPECT_LT(total / 600, 4.0);
}

TEST(CGRectInset, MovesEachSideInOrGivesNull) {
    struct Case {
        CGRect rect;
        CGFloat dx, dy;
        CGRect expected;
    } cases[] = {
        {{{0, 0}, {100, 50}}, 6.5, 6.5, {{6.5, 6.5}, {87, 37}}},
        {{{10, 10}, {20, 20}}, -5, 0, {{5, 10}, {30, 20}}},
        {{{100, 50}, {-100, -50}}, 10, 10, {{10, 10}, {80, 30}}},
        {{{0, 0}, {100, 50}}, 25, 25, {{25, 25}, {50, 0}}}, // empty, not null
        {{{0, 0}, {100, 50}}, 30, 30, CGRectNull},
        {{{0, 0}, {10, 100}}, 6, 0, CGRectNull},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CGRectInset(c.rect, c.dx, c.dy), c.expected) << c.dx;
    EXPECT_FALSE(CGRectIsNull(CGRectZero));
}
