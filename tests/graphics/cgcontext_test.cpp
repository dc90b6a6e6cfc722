// Bitmap contexts: initial pixels, scale, fills, blending, snapshots, the context stack, and the
// whole-pixel fast paths agreeing with Cairo.
#include "image_samples.h"

#include <gtest/gtest.h>

namespace {

Ref<UIImage> draw(CGSize size, bool opaque, CGFloat scale, const std::function<void()>& body) {
    UIGraphicsBeginImageContextWithOptions(size, opaque, scale);
    body();
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

std::uint32_t at(const UIImage* image, int x, int y) {
    return image->CGImage()->row(y)[x];
}

Ref<UIImage> solid(int w, int h, std::uint32_t pixel) {
    return UIImage::imageWithCGImage(samples::bitmap(w, h, [=](int, int) { return pixel; }));
}

int maxDifference(const UIImage* a, const UIImage* b) {
    int worst = 0;
    const CGImage &x = *a->CGImage(), &y = *b->CGImage();
    for (std::size_t i = 0; i < x.pixelCount(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
            worst = std::max(worst, std::abs(int((x.pixels()[i] >> shift) & 0xff) -
                                             int((y.pixels()[i] >> shift) & 0xff)));
    return worst;
}

} // namespace

TEST(CGContext, StartsTransparentOrBlackAtTheRequestedScale) {
    auto clear = draw({3, 2}, false, 2, [] {});
    ASSERT_TRUE(clear);
    EXPECT_EQ(clear->size(), CGSizeMake(3, 2));
    EXPECT_EQ(clear->scale(), 2);
    EXPECT_EQ(clear->CGImage()->width, 6);
    EXPECT_EQ(at(clear, 5, 3), 0u);
    EXPECT_FALSE(clear->CGImage()->opaque);

    auto black = draw({2, 2}, true, 1, [] {});
    EXPECT_EQ(at(black, 1, 1), 0xff000000u);
    EXPECT_TRUE(black->CGImage()->opaque);

    setMainScreenMetrics({{{0, 0}, {100, 200}}, 2});
    EXPECT_EQ(draw({10, 10}, false, 0, [] {})->CGImage()->width, 20);
    // A fractional size gains a pixel instead of losing one.
    EXPECT_EQ(draw({10.5, 1}, false, 1, [] {})->CGImage()->width, 11);
    EXPECT_EQ(draw({1.5 * 1001, 1}, false, 1, [] {})->CGImage()->width, 1502);
    EXPECT_FALSE(draw({0, 10}, false, 1, [] {}));
}

TEST(CGContext, FillsUseTheCurrentColours) {
    auto image = draw({4, 2}, false, 1, [] {
        UIColor::colorWithRed(1, 0, 0, 1)->setFill();
        UIRectFill(CGRectMake(0, 0, 2, 2));
        CGContextSetFillColorWithColor(UIGraphicsGetCurrentContext(),
                                       UIColor::colorWithWhite(1, 0.5)->CGColor());
        CGContextFillRect(UIGraphicsGetCurrentContext(), CGRectMake(2, 0, 2, 2));
    });
    EXPECT_EQ(at(image, 1, 1), packPixel(255, 255, 0, 0));
    std::uint32_t half = at(image, 3, 0);
    EXPECT_NEAR(int(pixelAlpha(half)), 128, 1);
    EXPECT_EQ(pixelRed(half), pixelAlpha(half));
}

TEST(CGContext, BlendModesMatchTheirFormulas) {
    auto grey = solid(8, 8, packPixel(255, 128, 128, 128));
    auto white = solid(8, 8, 0xffffffffu);
    auto black = solid(8, 8, 0xff000000u);
    // Screen: s + d - s d. Normal at 0.45: black over white keeps 55 %.
    auto screened = draw({8, 8}, false, 1, [&] {
        grey->drawInRect({{0, 0}, {8, 8}});
        grey->drawInRect({{0, 0}, {8, 8}}, kCGBlendModeScreen, 1);
    });
    EXPECT_NEAR(int(pixelRed(at(screened, 4, 4))), 192, 1);
    auto darkened = draw({8, 8}, false, 1, [&] {
        white->drawInRect({{0, 0}, {8, 8}});
        black->drawInRect({{0, 0}, {8, 8}}, kCGBlendModeNormal, 0.45);
    });
    EXPECT_NEAR(int(pixelGreen(at(darkened, 2, 2))), 140, 1);
    EXPECT_EQ(pixelAlpha(at(darkened, 2, 2)), 255u);
}

TEST(CGContext, WholePixelCompositingAgreesWithCairo) {
    auto base = UIImage::imageWithCGImage(samples::bitmap(
        40, 30, [](int x, int y) { return packPixel(255, x * 6, y * 8, (x * y) % 256); }));
    auto over = UIImage::imageWithCGImage(samples::bitmap(40, 30, [](int x, int y) {
        std::uint32_t a = std::uint32_t((x * 7 + y * 3) % 256);
        return packPixel(a, a * (x % 3) / 2, a / 3, a);
    }));
    // Over a bitmap, and over a context filled black (the direct path's shortcut for it).
    auto under = [&](bool black) {
        if (!black) return base->drawInRect({{0, 0}, {40, 30}});
        UIColor::blackColor()->setFill();
        UIRectFill({{0, 0}, {40, 30}});
    };
    for (bool black : {false, true})
        for (CGBlendMode mode : {kCGBlendModeNormal, kCGBlendModeScreen})
            for (double alpha : {1.0, 0.45, 0.15}) {
                SCOPED_TRACE(testing::Message()
                             << "black " << black << " mode " << int(mode) << " alpha " << alpha);
                // Whole pixels take the direct path; a 2x context at half scale goes through Cairo.
                auto direct = draw({40, 30}, false, 1, [&] {
                    under(black);
                    over->drawInRect({{0, 0}, {40, 30}}, mode, alpha);
                });
                auto viaCairo = draw({40, 30}, false, 1, [&] {
                    under(black);
                    cairo_t* cr = UIGraphicsGetCurrentContext()->drawTarget();
                    UIImageDrawInCairo(cr, over, {{0, 0}, {40, 30}},
                                       cairoOperatorForBlendMode(mode), alpha);
                });
                EXPECT_LE(maxDifference(direct, viaCairo), 1);
            }
    // A one-colour image stretched is a fill; it must look like the stretched bitmap.
    auto overlay = draw({7, 9}, false, 1, [] {
        CGContextSetFillColorWithColor(UIGraphicsGetCurrentContext(),
                                       UIColor::colorWithRed(0.2, 0.4, 0.6, 0.8)->CGColor());
        CGContextFillRect(UIGraphicsGetCurrentContext(), {{0, 0}, {7, 9}});
    });
    EXPECT_TRUE(overlay->CGImage()->solid);
    auto filled = draw({20, 20}, false, 1, [&] {
        overlay->drawInRect({{0, 0}, {20, 20}}, kCGBlendModeNormal, 0.5);
    });
    auto stretched = draw({20, 20}, false, 1, [&] {
        UIImageDrawInCairo(UIGraphicsGetCurrentContext()->drawTarget(), overlay, {{0, 0}, {20, 20}},
                           CAIRO_OPERATOR_OVER, 0.5);
    });
    EXPECT_LE(maxDifference(filled, stretched), 1);
}

TEST(CGContext, ImagesKeepTheirPixelsWhenDrawingGoesOn) {
    UIGraphicsBeginImageContextWithOptions({2, 2}, false, 1);
    UIColor::whiteColor()->setFill();
    UIRectFill({{0, 0}, {1, 1}});
    Ref<UIImage> first = UIGraphicsGetImageFromCurrentImageContext();
    auto pixels = [](const UIImage* image) {
        const CGImage& b = *image->CGImage();
        return std::vector<std::uint32_t>(b.pixels(), b.pixels() + b.pixelCount());
    };
    std::vector<std::uint32_t> before = pixels(first);
    UIRectFill({{1, 1}, {1, 1}});
    Ref<UIImage> second = UIGraphicsGetImageFromCurrentImageContext();
    // The context's own image drawn into it reads the pixels it had.
    first->drawInRect({{0, 0}, {2, 2}});
    UIGraphicsEndImageContext();
    EXPECT_EQ(at(first, 1, 1), 0u);
    EXPECT_EQ(at(second, 1, 1), 0xffffffffu);
    EXPECT_EQ(pixels(first), before);
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

    // A renderer's own cairo_t pushed as the current context.
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
    cairo_t* cr = cairo_create(surface);
    auto wrapped = CGContext::wrap(cr);
    UIGraphicsPushContext(wrapped.get());
    UIColor::whiteColor()->setFill();
    UIRectFill({{0, 0}, {4, 4}});
    EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext());
    UIGraphicsEndImageContext(); // does not pop a pushed context
    EXPECT_EQ(UIGraphicsGetCurrentContext(), wrapped.get());
    UIGraphicsPopContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    UIGraphicsEndImageContext();
    cairo_surface_flush(surface);
    EXPECT_EQ(reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface))[5],
              0xffffffffu);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

TEST(UIBezierPath, RoundedRectKeepsItsRadiusAndStrokesInside) {
    auto path = UIBezierPath::bezierPathWithRoundedRect(CGRectMake(6.5, 6.5, 87, 37), 20);
    EXPECT_EQ(path->cornerRadius(), 20);
    EXPECT_EQ(path->bounds(), CGRectMake(6.5, 6.5, 87, 37));
    auto image = draw({100, 50}, false, 1, [&] {
        CGContextRef c = UIGraphicsGetCurrentContext();
        CGContextSetStrokeColorWithColor(c, UIColor::whiteColor()->CGColor());
        CGContextSetLineWidth(c, 13);
        CGContextAddPath(c, path->CGPath());
        CGContextStrokePath(c);
    });
    EXPECT_EQ(at(image, 50, 0), 0xffffffffu); // the stroke's outer edge touches the bounds
    EXPECT_EQ(at(image, 50, 12), 0xffffffffu);
    EXPECT_EQ(at(image, 50, 25), 0u); // nothing filled
    EXPECT_EQ(at(image, 0, 0), 0u);   // rounded corner
    auto none = draw({10, 10}, false, 1, [&] {
        CGContextRef c = UIGraphicsGetCurrentContext();
        CGContextSetStrokeColorWithColor(c, nullptr);
        CGContextAddPath(c, UIBezierPath::bezierPathWithRect(CGRectMake(2, 2, 6, 6))->CGPath());
        CGContextStrokePath(c);
    });
    EXPECT_EQ(maxDifference(none, draw({10, 10}, false, 1, [] {})), 0);
}

TEST(CGContext, LargeReductionsAverageTheAreaTheyCover) {
    // Quarters of four colours reduced 20 times: each destination pixel is one quarter's mean.
    auto quarters = UIImage::imageWithCGImage(samples::bitmap(
        80, 40, [](int x, int y) { return (x < 40) == (y < 20) ? 0xffff0000u : 0xff0000ffu; }));
    auto small = draw({4, 2}, true, 1, [&] { quarters->drawInRect({{0, 0}, {4, 2}}); });
    EXPECT_EQ(at(small, 0, 0), 0xffff0000u);
    EXPECT_EQ(at(small, 3, 0), 0xff0000ffu);
    // A reduction by a fraction: the cell straddling the boundary mixes the two sides.
    auto odd = draw({3, 1}, true, 1, [&] { quarters->drawInRect({{0, 0}, {3, 1}}); });
    EXPECT_EQ(pixelRed(at(odd, 0, 0)), 128u);
    EXPECT_EQ(pixelBlue(at(odd, 1, 0)), 128u);
    // Close to Cairo's own resampling on a photograph.
    auto photo = UIImage::imageWithCGImage(samples::bitmap(300, 200, [](int x, int y) {
        std::uint8_t rgb[3];
        samples::photo(x, y, rgb);
        return packPixel(255, rgb[0], rgb[1], rgb[2]);
    }));
    auto ours = draw({30, 20}, true, 1, [&] { photo->drawInRect({{0, 0}, {30, 20}}); });
    auto cairos = draw({30, 20}, true, 1, [&] {
        UIImageDrawInCairo(UIGraphicsGetCurrentContext()->drawTarget(), photo, {{0, 0}, {30, 20}});
    });
    double total = 0;
    for (std::size_t i = 0; i < 600; ++i)
        total += std::abs(int(pixelGreen(ours->CGImage()->pixels()[i])) -
                          int(pixelGreen(cairos->CGImage()->pixels()[i])));
    EXPECT_LT(total / 600, 4.0);
}
