// What views show: images by content mode and filtering, templates and symbols in the tint,
// and self-drawn content kept until it is asked for again.
#include "support.h"

#include "controls/InnerShadowButton.h"
#include "sim/render/symbols.h"

#include <array>

using namespace rendertest;

namespace {
CGImageRef imageViewShot(UIImage* image, UIViewContentMode mode, UIColor* tint = nullptr) {
    Ref<UIView> root = box(CGRectMake(0, 0, 80, 80), kWhite);
    Ref<UIImageView> view = UIView::make<UIImageView>(CGRectMake(0, 0, 80, 80));
    view->setImage(image);
    view->setContentMode(mode);
    root->setTintColor(tint);
    root->addSubview(view);
    return shot(root);
}

CGImageRef symbolShot(const char* name) {
    return imageViewShot(UIImage::systemImageNamed(name), UIViewContentModeScaleToFill,
                         UIColor::blackColor());
}
} // namespace

TEST(RenderImages, ContentModesPlaceTheImage) {
    // 20 x 10 pixels: red on the left half, blue on the right.
    Ref<UIImage> image = makeImage(20, 10, 1, [](int x, int) { return x < 10 ? kRed : kBlue; });
    EXPECT_TRUE(
        shows(imageViewShot(image, UIViewContentModeScaleToFill), {{5, 2, kRed}, {75, 77, kBlue}}));
    // Fit: 80 x 40 at y 20 ... 60.
    EXPECT_TRUE(shows(imageViewShot(image, UIViewContentModeScaleAspectFit),
                      {{5, 10, kWhite}, {5, 25, kRed}, {75, 70, kWhite}}));
    // Fill: 160 x 80, cut only by the canvas.
    EXPECT_TRUE(shows(imageViewShot(image, UIViewContentModeScaleAspectFill),
                      {{0, 40, kRed}, {30, 2, kRed}, {50, 77, kBlue}, {79, 40, kBlue}}));

    Ink centred = inkOf(imageViewShot(image, UIViewContentModeCenter));
    EXPECT_EQ((std::array{centred.x0, centred.y0, centred.x1, centred.y1}),
              (std::array{30, 35, 50, 45}));
    // An image's scale sets its size in points: 40 x 20 pixels at 2x are 20 x 10 points.
    Ref<UIImage> sharp = makeImage(40, 20, 2, [](int x, int) { return x < 20 ? kRed : kBlue; });
    Ink same = inkOf(imageViewShot(sharp, UIViewContentModeCenter));
    EXPECT_EQ(same.x1 - same.x0, 20);
    EXPECT_EQ(same.y1 - same.y0, 10);
}

TEST(RenderImages, ShrunkImagesAreFilteredNotSampled) {
    // A one-pixel checkerboard drawn ten times smaller averages to grey.
    Ref<UIImage> checks =
        makeImage(200, 200, 1, [](int x, int y) { return (x + y) % 2 ? kWhite : kBlack; });
    CGImageRef image = imageViewShot(checks, UIViewContentModeScaleAspectFit);
    RGBA grey{128, 128, 128, 255};
    EXPECT_TRUE(shows(image, {{10, 40, grey, 24}, {33, 40, grey, 24}, {61, 40, grey, 24}}));
}

TEST(RenderImages, TemplatesAreMasksInTheInheritedTint) {
    // White with a soft alpha ramp: as a template only the alpha counts.
    Ref<UIImage> mask = makeImage(80, 80, 1, [](int x, int) {
        return RGBA{255, 255, 255, x < 40 ? 255 : 128};
    });
    Ref<UIImage> asTemplate = mask->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate);
    EXPECT_TRUE(shows(imageViewShot(asTemplate, UIViewContentModeScaleToFill,
                                    UIColor::colorWithRed(0, 0.5, 0, 1)),
                      {{20, 40, {0, 128, 0, 255}}, {60, 40, {127, 191, 127, 255}, 3}}));
    // Without a tint anywhere up the tree: the system blue. The original keeps its colours.
    EXPECT_TRUE(shows(imageViewShot(asTemplate, 0), {{20, 40, {0, 122, 255, 255}}}));
    EXPECT_TRUE(shows(imageViewShot(mask, 0), {{20, 40, kWhite}}));
}

TEST(RenderSymbols, EachSymbolDrawsAShapeInTheTintPointingItsWay) {
    for (const char* name : {"play.fill", "pause.fill", "backward.fill", "forward.fill",
                             "airplayaudio", "chevron.down", "chevron.up", "airpods", "airpodspro",
                             "airpodsmax", "airpods.gen3", "music.note"}) {
        EXPECT_TRUE(render::isKnownSymbol(name)) << name;
        EXPECT_GT(inkOf(symbolShot(name)).count, 400) << name; // a shape, not a speck
    }
    // Play points right: solid on the left, nothing in the top right corner. The chevrons'
    // tips point down and up.
    EXPECT_TRUE(shows(symbolShot("play.fill"), {{10, 40, kBlack, 8}, {75, 10, kWhite, 8}}));
    EXPECT_TRUE(shows(symbolShot("chevron.down"), {{40, 62, kBlack, 8}}));
    EXPECT_TRUE(shows(symbolShot("chevron.up"), {{40, 18, kBlack, 8}}));
    // An unknown name still shows something (an empty rounded square), never nothing.
    EXPECT_GT(inkOf(symbolShot("no.such.symbol")).count, 100);
}

TEST(RenderSymbols, ConfigurationSetsTheNaturalSizeAndOriginalKeepsBlack) {
    auto height = [](double points, UIImageSymbolScale scale) {
        auto config = UIImageSymbolConfiguration::configurationWithFont(
            UIFont::systemFontOfSize(points), scale);
        Ink ink = inkOf(imageViewShot(UIImage::systemImageNamed("pause.fill", config),
                                      UIViewContentModeCenter, UIColor::blackColor()));
        EXPECT_NEAR(ink.midX(), 40, 1);
        return ink.y1 - ink.y0;
    };
    int medium = height(17, UIImageSymbolScaleMedium);
    EXPECT_NEAR(medium, 15, 2); // 17 x 0.9
    EXPECT_GT(height(17, UIImageSymbolScaleLarge), medium + 3);
    EXPECT_NEAR(height(34, UIImageSymbolScaleMedium), 2 * medium, 2);

    Ref<UIImage> original = UIImage::systemImageNamed("play.fill")
                                ->imageWithRenderingMode(UIImageRenderingModeAlwaysOriginal);
    EXPECT_TRUE(shows(imageViewShot(original, 0, UIColor::colorWithRed(1, 0, 0, 1)),
                      {{10, 40, kBlack, 8}}));
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
    CGImageRef image = shot(root);
    Ink ink = inkOf(image);
    EXPECT_NEAR(ink.midX(), 40, 1);
    EXPECT_NEAR(ink.midY(), 40, 1);
    EXPECT_LT(ink.x1 - ink.x0, 20); // its own size, not the button's
    EXPECT_TRUE(shows(image, {{36, 40, kRed, 8}}));
}

TEST(RenderSelfDrawn, DrawRectRunsAtDeviceScaleAndIsKeptUntilAskedAgain) {
    Ref<UIView> root = box(CGRectMake(0, 0, 100, 50), kWhite);
    Ref<InnerShadowButton> panel = UIButton::buttonWithType<InnerShadowButton>(UIButtonTypeCustom);
    panel->setFrame(CGRectMake(0, 0, 100, 50));
    panel->setOutlineWidth(2);
    panel->setOutlineColor(UIColor::colorWithRed(1, 0, 0, 1));
    root->addSubview(panel);
    // A 2-point outline at 3x: six solid pixels, then white at once (not a blurred 1x picture).
    EXPECT_TRUE(shows(shot(root, 3), {{0, 75, kRed, 8}, {5, 75, kRed, 8}, {6, 75, kWhite, 8}}));

    // A new colour alone shows nothing new until the button is drawn again.
    panel->setOutlineColor(UIColor::colorWithRed(0, 0, 1, 1));
    EXPECT_TRUE(shows(shot(root, 3), {{2, 75, kRed, 8}}));
    panel->setNeedsDisplay();
    EXPECT_TRUE(shows(shot(root, 3), {{2, 75, kBlue, 8}}));
    // A new size redraws too.
    panel->setFrame(CGRectMake(0, 0, 60, 50));
    EXPECT_TRUE(shows(shot(root, 3), {{178, 75, kBlue, 8}}));
}
