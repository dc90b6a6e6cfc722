// What views show: images by content mode and filtering, templates and symbols in the tint,
// and self-drawn content kept until it is asked for again.
#include "support.h"

#include "controls/InnerShadowButton.h"
#include "sim/render/symbols.h"

#include <cmath>

using namespace rendertest;

namespace {
const RGBA kWhite{255, 255, 255, 255}, kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255};

// 20 x 10 pixels: red on the left half, blue on the right.
Ref<UIImage> halves() {
    return makeImage(20, 10, 1, [](int x, int) { return x < 10 ? kRed : kBlue; });
}

CGImageRef imageViewShot(UIImage* image, UIViewContentMode mode, UIColor* tint = nullptr) {
    Ref<UIView> root = box(CGRectMake(0, 0, 80, 80), kWhite);
    Ref<UIImageView> view = UIView::make<UIImageView>(CGRectMake(0, 0, 80, 80));
    view->setImage(image);
    view->setContentMode(mode);
    root->setTintColor(tint);
    root->addSubview(view);
    return shot(root);
}
} // namespace

TEST(RenderImages, ContentModesPlaceTheImage) {
    Ref<UIImage> image = halves();
    CGImageRef fill = imageViewShot(image, UIViewContentModeScaleToFill);
    EXPECT_TRUE(near(pixel(fill, 5, 2), kRed));
    EXPECT_TRUE(near(pixel(fill, 75, 77), kBlue));

    CGImageRef fit = imageViewShot(image, UIViewContentModeScaleAspectFit); // 80 x 40, y 20...60
    EXPECT_TRUE(near(pixel(fit, 5, 10), kWhite));
    EXPECT_TRUE(near(pixel(fit, 5, 25), kRed));
    EXPECT_TRUE(near(pixel(fit, 75, 70), kWhite));

    CGImageRef aspectFill = imageViewShot(image, UIViewContentModeScaleAspectFill); // 160 x 80
    EXPECT_TRUE(near(pixel(aspectFill, 30, 2), kRed));
    EXPECT_TRUE(near(pixel(aspectFill, 50, 77), kBlue));
    Ink spill = inkOf(aspectFill, kWhite);
    EXPECT_EQ(spill.x1 - spill.x0, 80); // only the canvas limits it

    CGImageRef centred = imageViewShot(image, UIViewContentModeCenter); // x 30...50, y 35...45
    Ink ink = inkOf(centred, kWhite);
    EXPECT_EQ(ink.x0, 30);
    EXPECT_EQ(ink.x1, 50);
    EXPECT_EQ(ink.y0, 35);
    EXPECT_EQ(ink.y1, 45);
    // An image's scale sets its size in points: 40 x 20 pixels at 2x are 20 x 10 points.
    Ref<UIImage> sharp = makeImage(40, 20, 2, [](int x, int) { return x < 20 ? kRed : kBlue; });
    Ink same = inkOf(imageViewShot(sharp, UIViewContentModeCenter), kWhite);
    EXPECT_EQ(same.x1 - same.x0, 20);
    EXPECT_EQ(same.y1 - same.y0, 10);
}

TEST(RenderImages, ShrunkImagesAreFilteredNotSampled) {
    // A one-pixel checkerboard drawn ten times smaller averages to grey.
    Ref<UIImage> checks = makeImage(200, 200, 1, [](int x, int y) {
        return (x + y) % 2 ? kWhite : RGBA{0, 0, 0, 255};
    });
    CGImageRef image = imageViewShot(checks, UIViewContentModeScaleAspectFit);
    for (int x : {10, 33, 61})
        EXPECT_TRUE(near(pixel(image, x, 40), {128, 128, 128, 255}, 24)) << x;
}

TEST(RenderImages, TemplatesAreMasksInTheInheritedTint) {
    // White with a soft alpha ramp: as a template only the alpha counts.
    Ref<UIImage> mask = makeImage(80, 80, 1, [](int x, int) {
        return RGBA{255, 255, 255, x < 40 ? 255 : 128};
    });
    Ref<UIImage> asTemplate = mask->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate);
    CGImageRef image = imageViewShot(asTemplate, UIViewContentModeScaleToFill,
                                     UIColor::colorWithRed(0, 0.5, 0, 1));
    EXPECT_TRUE(near(pixel(image, 20, 40), {0, 128, 0, 255}));
    EXPECT_TRUE(near(pixel(image, 60, 40), {127, 191, 127, 255}, 3));
    // Without a tint anywhere up the tree: the system blue. The original keeps its colours.
    EXPECT_TRUE(near(pixel(imageViewShot(asTemplate, 0), 20, 40), {0, 122, 255, 255}));
    EXPECT_TRUE(near(pixel(imageViewShot(mask, 0), 20, 40), kWhite));
}

TEST(RenderSymbols, EachSymbolDrawsInsideItsRectInTheTint) {
    const char* names[] = {"play.fill",    "pause.fill",   "backward.fill", "forward.fill",
                           "airplayaudio", "chevron.down", "chevron.up",    "airpods",
                           "airpodspro",   "airpodsmax",   "airpods.gen3",  "music.note"};
    for (const char* name : names) {
        EXPECT_TRUE(render::isKnownSymbol(name)) << name;
        Ref<UIImage> symbol = UIImage::systemImageNamed(name);
        CGImageRef image =
            imageViewShot(symbol, UIViewContentModeScaleToFill, UIColor::blackColor());
        Ink ink = inkOf(image, kWhite);
        EXPECT_GT(ink.count, 400) << name; // reads as a shape, not a speck
        EXPECT_GE(ink.x0, 0) << name;
        EXPECT_LE(ink.x1, 80) << name;
        // Mostly tint colour: the darkest pixels are the tint's.
        EXPECT_TRUE(near(pixel(image, int(ink.midX()), int(ink.y0 + (ink.y1 - ink.y0) * 0.8)),
                         {0, 0, 0, 255}, 255))
            << name;
    }
    // Direction: play points right (more ink on the left), backward has its tips on the left.
    Ink play = inkOf(
        imageViewShot(UIImage::systemImageNamed("play.fill"), 0, UIColor::blackColor()), kWhite);
    CGImageRef playShot =
        imageViewShot(UIImage::systemImageNamed("play.fill"), 0, UIColor::blackColor());
    EXPECT_TRUE(near(pixel(playShot, 10, 40), {0, 0, 0, 255}, 8));
    EXPECT_TRUE(near(pixel(playShot, 75, 10), kWhite, 8));
    EXPECT_GT(play.count, 2000);
    CGImageRef down =
        imageViewShot(UIImage::systemImageNamed("chevron.down"), 0, UIColor::blackColor());
    CGImageRef up =
        imageViewShot(UIImage::systemImageNamed("chevron.up"), 0, UIColor::blackColor());
    EXPECT_TRUE(near(pixel(down, 40, 62), {0, 0, 0, 255}, 8));
    EXPECT_TRUE(near(pixel(up, 40, 18), {0, 0, 0, 255}, 8));
}

TEST(RenderSymbols, ConfigurationSetsTheNaturalSizeAndOriginalKeepsBlack) {
    auto sized = [](double points, UIImageSymbolScale scale) {
        auto config = UIImageSymbolConfiguration::configurationWithFont(
            UIFont::systemFontOfSize(points), scale);
        return UIImage::systemImageNamed("pause.fill", config);
    };
    Ink medium = inkOf(imageViewShot(sized(17, UIImageSymbolScaleMedium), UIViewContentModeCenter,
                                     UIColor::blackColor()),
                       kWhite);
    Ink large = inkOf(imageViewShot(sized(17, UIImageSymbolScaleLarge), UIViewContentModeCenter,
                                    UIColor::blackColor()),
                      kWhite);
    Ink big = inkOf(imageViewShot(sized(34, UIImageSymbolScaleMedium), UIViewContentModeCenter,
                                  UIColor::blackColor()),
                    kWhite);
    EXPECT_NEAR(medium.y1 - medium.y0, 15, 2); // 17 x 0.9
    EXPECT_GT(large.y1 - large.y0, medium.y1 - medium.y0 + 3);
    EXPECT_NEAR(big.y1 - big.y0, 2 * (medium.y1 - medium.y0), 2);
    EXPECT_NEAR(medium.midX(), 40, 1);

    Ref<UIImage> original = UIImage::systemImageNamed("play.fill")
                                ->imageWithRenderingMode(UIImageRenderingModeAlwaysOriginal);
    CGImageRef image = imageViewShot(original, 0, UIColor::colorWithRed(1, 0, 0, 1));
    EXPECT_TRUE(near(pixel(image, 10, 40), {0, 0, 0, 255}, 8));
    // An unknown name still shows something (an empty rounded square), never nothing.
    EXPECT_GT(inkOf(imageViewShot(UIImage::systemImageNamed("no.such.symbol"), 0), kWhite).count,
              100);
}

TEST(RenderImages, ButtonsShowTheirImageCentredInTheTint) {
    Ref<UIView> root = box(CGRectMake(0, 0, 80, 80), kWhite);
    Ref<UIButton> button = UIButton::buttonWithType<UIButton>(UIButtonTypeCustom);
    button->setFrame(CGRectMake(0, 0, 80, 80));
    button->setTintColor(UIColor::colorWithRed(1, 0, 0, 1));
    button->setImage(UIImage::systemImageNamed("pause.fill")
                         ->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate),
                     UIControlStateNormal);
    root->addSubview(button);
    Ink ink = inkOf(shot(root), kWhite);
    EXPECT_NEAR(ink.midX(), 40, 1);
    EXPECT_NEAR(ink.midY(), 40, 1);
    EXPECT_LT(ink.x1 - ink.x0, 20); // its own size, not the button's
    EXPECT_TRUE(near(pixel(shot(root), 36, 40), kRed, 8));
}

TEST(RenderSelfDrawn, DrawRectRunsAtDeviceScaleAndIsKeptUntilAskedAgain) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 50), kWhite);
    Ref<InnerShadowButton> panel = UIButton::buttonWithType<InnerShadowButton>(UIButtonTypeCustom);
    panel->setFrame(CGRectMake(0, 0, 100, 50));
    panel->setOutlineWidth(2);
    panel->setOutlineColor(UIColor::colorWithRed(1, 0, 0, 1));
    root->addSubview(panel);
    CGImageRef image = shot(root, 3);
    // A 2-point outline at 3x: six solid pixels, then white at once (not a blurred 1x picture).
    for (int x = 0; x < 6; ++x)
        EXPECT_TRUE(near(pixel(image, x, 75), kRed, 8)) << x;
    EXPECT_TRUE(near(pixel(image, 6, 75), kWhite, 8));

    // A new colour alone shows nothing new until the button is drawn again.
    panel->setOutlineColor(UIColor::colorWithRed(0, 0, 1, 1));
    EXPECT_TRUE(near(pixel(shot(root, 3), 2, 75), kRed, 8));
    panel->setNeedsDisplay();
    EXPECT_TRUE(near(pixel(shot(root, 3), 2, 75), kBlue, 8));
    // A new size redraws too.
    panel->setFrame(CGRectMake(0, 0, 60, 50));
    EXPECT_TRUE(near(pixel(shot(root, 3), 178, 75), kBlue, 8));
}
