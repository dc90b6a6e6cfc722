// Labels in Inter, the marquee on the virtual clock, blur materials, cross-dissolves and the
// host's stock views.
#include "support.h"

#include "platform/foundation/foundation.h"
#include "platform/springboard/springboard.h"
#include "sim/render/fonts.h"

#include <cmath>

using namespace rendertest;

namespace {
const char* const kLongTitle = "A title far too long to fit in two hundred points of label";

struct LabelScene {
    Ref<UIView> root = box(CGRectMake(0, 0, 200, 40), kWhite);
    Ref<UILabel> label = UIView::make<UILabel>(CGRectMake(0, 0, 200, 40));
    LabelScene(std::string_view text, NSTextAlignment alignment = NSTextAlignmentLeft,
               UIFontWeight weight = UIFontWeightRegular) {
        label->setFont(UIFont::systemFontOfSize(20, weight));
        label->setTextAlignment(alignment);
        label->setText(text);
        root->addSubview(label);
    }
};

// How much neighbouring pixels differ along a row: high for sharp stripes, low once blurred.
double roughness(const CGImageRef& image, int y, int x0, int x1) {
    double sum = 0;
    for (int x = x0; x + 1 < x1; ++x)
        sum += std::abs(pixel(image, x + 1, y).r - pixel(image, x, y).r);
    return sum / (x1 - x0 - 1);
}

// White with black stripes 4 points wide every 8, to see blurs by.
Ref<UIView> stripes(CGRect frame) {
    Ref<UIView> root = box(frame, kWhite);
    for (int x = 0; x < frame.size.width; x += 8)
        root->addSubview(box(CGRectMake(x, 0, 4, frame.size.height), kBlack));
    return root;
}

// Cross-dissolves `view` linearly over a second.
void dissolve(UIView* view, const std::function<void()>& change) {
    UIView::transitionWithView(
        view, 1, UIViewAnimationOptionTransitionCrossDissolve | UIViewAnimationOptionCurveLinear,
        change);
}
} // namespace

TEST(RenderLabels, InterInTheLabelsColourAlignedAndCentred) {
    ASSERT_FALSE(render::interFontFile(UIFontWeightRegular, false).empty())
        << "fonts-inter is not installed";
    LabelScene left("HHHH");
    left.label->setTextColor(UIColor::colorWithRed(1, 0, 0, 1));
    CGImageRef image = shot(left.root);
    Ink ink = inkOf(image);
    EXPECT_LE(ink.x0, 3);
    EXPECT_NEAR(ink.midY(), 20, 1.5);            // capitals sit in the middle of the label
    EXPECT_NEAR(ink.y1 - ink.y0, 20 * 0.727, 2); // Inter's cap height
    EXPECT_TRUE(near(pixel(image, ink.x0 + 1, 20), kRed, 40));

    EXPECT_NEAR(inkOf(shot(LabelScene("HHHH", NSTextAlignmentCenter).root)).midX(), 100, 1.5);
    EXPECT_GE(inkOf(shot(LabelScene("HHHH", NSTextAlignmentRight).root)).x1, 197);
    // Heavier weights put down more ink.
    Ink bold = inkOf(shot(LabelScene("HHHH", NSTextAlignmentLeft, UIFontWeightBold).root));
    EXPECT_GT(bold.count, ink.count * 1.25);
}

TEST(RenderLabels, LongTextIsClippedWhenItDoesNotScroll) {
    LabelScene scene(kLongTitle, NSTextAlignmentCenter);
    scene.label->setFrame(CGRectMake(20, 0, 160, 40));
    CGImageRef image = shot(scene.root);
    Ink ink = inkOf(image);
    EXPECT_GE(ink.x0, 20);
    EXPECT_LE(ink.x0, 23); // from the leading edge, not centred off both ends
    EXPECT_LE(ink.x1, 180);
    MainQueue::shared().runFor(5);
    EXPECT_TRUE(samePixels(image, shot(scene.root)));
    // Marquee on but not running: still still.
    scene.label->setMarqueeEnabled(true);
    EXPECT_TRUE(samePixels(image, shot(scene.root)));
}

TEST(RenderLabels, MarqueePausesScrollsAndLoopsOnTheVirtualClock) {
    LabelScene scene(kLongTitle);
    scene.label->setMarqueeEnabled(true);
    scene.label->setMarqueeRunning(true);
    CGImageRef start = shot(scene.root);
    MainQueue::shared().runFor(1);
    EXPECT_TRUE(samePixels(start, shot(scene.root))); // the pause at the start
    MainQueue::shared().runFor(2);
    EXPECT_FALSE(samePixels(start, shot(scene.root)));
    EXPECT_TRUE(near(pixel(start, 199, 20), kWhite, 8)); // the trailing edge fades
    // One loop: the pause, then the text's width plus the gap at 30 points a second.
    double width = render::measureText(scene.label->textString(), 20, UIFontWeightRegular);
    MainQueue::shared().runFor(2.5 + (width + 50) / 30 - 3 + 0.5);
    EXPECT_TRUE(samePixels(start, shot(scene.root)));
    // Short text never scrolls.
    scene.label->setText("Short");
    CGImageRef still = shot(scene.root);
    MainQueue::shared().runFor(4);
    EXPECT_TRUE(samePixels(still, shot(scene.root)));
}

TEST(RenderLabels, EmojiAndOtherScriptsFallBackToFacesThatHaveThem) {
    // "Aa", a grinning face, then two CJK characters; the label fades to half.
    LabelScene scene("Aa \U0001F600 \u4E2D\u6587");
    scene.label->setAlpha(0.5);
    CGImageRef image = shot(scene.root, 2);
    long yellow = 0, halfYellow = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 400; ++x) {
            RGBA p = pixel(image, x, y);
            yellow += p.r > 240 && p.g > 190 && p.b < 90;
            halfYellow += p.r > 240 && p.g > 215 && p.b > 110 && p.b < 170;
        }
    EXPECT_EQ(yellow, 0) << "the emoji fades with its label";
    EXPECT_GT(halfYellow, 100) << "the emoji keeps its colours";

    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    render::setInterFont(cr, 20, 0);
    render::TextRun run = render::layoutText(cr, "Aa \U0001F600 \u4E2D\u6587");
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    ASSERT_GE(run.spans.size(), 3u);
    EXPECT_TRUE(run.spans[1].colour);
    if (!render::fontFaceCovering(U'\u4E2D').covers(U'\u4E2D'))
        GTEST_SKIP() << "no installed face has CJK characters";
    ASSERT_EQ(run.spans.size(), 4u);
    for (const render::TextRun::Span& span : run.spans)
        for (const cairo_glyph_t& glyph : span.glyphs)
            EXPECT_NE(glyph.index, 0u) << "an empty box";
}

TEST(RenderLabels, BadTextDrawsNothingAndBreaksNothing) {
    LabelScene scene(std::string("\xff\xfe broken", 9));
    scene.root->addSubview(box(CGRectMake(0, 30, 200, 10), kBlue));
    EXPECT_TRUE(shows(shot(scene.root), {{100, 35, kBlue}}));
    // A huge text is cut, not laid out whole.
    scene.label->setText(std::string(100000, 'x'));
    EXPECT_TRUE(shows(shot(scene.root), {{100, 35, kBlue}}));
}

TEST(RenderEffects, BlurMaterialBlursWhatLiesBehindAndTintsByStyle) {
    Ref<UIView> root = stripes(CGRectMake(0, 0, 120, 60));
    CGImageRef sharp = shot(root, 2);
    Ref<UIVisualEffectView> effect =
        UIVisualEffectView::makeWithEffect(UIBlurEffect::effectWithStyle(UIBlurEffectStyleLight));
    effect->setFrame(CGRectMake(60, 0, 60, 60));
    root->addSubview(effect);
    CGImageRef light = shot(root, 2);
    EXPECT_GT(roughness(sharp, 60, 140, 220), 20);
    EXPECT_LT(roughness(light, 60, 140, 220), 3);
    EXPECT_NEAR(roughness(light, 60, 0, 100), roughness(sharp, 60, 0, 100), 0.01); // outside
    // Dark is darker: across the material, a quarter of the range darker on average.
    effect->setEffect(UIBlurEffect::effectWithStyle(UIBlurEffectStyleDark));
    CGImageRef dark = shot(root, 2);
    double darker = 0;
    for (int x = 150; x < 220; ++x) {
        RGBA l = pixel(light, x, 60), d = pixel(dark, x, 60);
        darker += (l.r + l.g + l.b - d.r - d.g - d.b) / 3.0 / 70;
    }
    EXPECT_GT(darker, 60);
    // No effect: no material at all.
    effect->setEffect(nullptr);
    EXPECT_TRUE(samePixels(sharp, shot(root, 2)));
}

TEST(RenderTransitions, CrossDissolveMixesOldAndNewByProgress) {
    Ref<UIView> root = box(CGRectMake(0, 0, 40, 40), kWhite);
    UIView* view = addBox(root, CGRectMake(0, 0, 40, 40), kRed);
    dissolve(view, [&] { view->setBackgroundColor(UIColor::colorWithRed(0, 0, 1, 1)); });
    for (auto [wait, expected] : {std::pair{0.0, kRed},
                                  {0.25, RGBA{191, 0, 64, 255}},
                                  {0.5, RGBA{64, 0, 191, 255}},
                                  {0.5, kBlue}}) {
        MainQueue::shared().runFor(wait);
        EXPECT_TRUE(shows(shot(root), {{20, 20, expected}})) << wait;
    }
    // Content that appears fades in from nothing: an image set on an empty image view.
    Ref<UIImageView> imageView = UIView::make<UIImageView>(CGRectMake(0, 0, 40, 40));
    root->addSubview(imageView);
    dissolve(imageView,
             [&] { imageView->setImage(makeImage(4, 4, 1, [](int, int) { return kBlack; })); });
    MainQueue::shared().runFor(0.5);
    EXPECT_TRUE(shows(shot(root), {{20, 20, {0, 0, 128, 255}}}));
}

// The old content is kept as the views' state, not as pixels: what the block removes still
// fades out, and a blur in it blurs what lies behind the view when the picture is made.
TEST(RenderTransitions, OldContentKeepsItsViewsAndBlursTheLiveBackdrop) {
    Ref<UIView> root = stripes(CGRectMake(0, 0, 120, 60));
    UIView* panel = addBox(root, CGRectMake(0, 0, 120, 60), {0, 0, 0, 0});
    Ref<UIVisualEffectView> material =
        UIVisualEffectView::makeWithEffect(UIBlurEffect::effectWithStyle(UIBlurEffectStyleLight));
    material->setFrame(CGRectMake(0, 0, 60, 60));
    panel->addSubview(material);
    Ref<UIView> leaving = addBox(panel, CGRectMake(60, 0, 60, 60), kRed);
    dissolve(panel, [&] {
        leaving->removeFromSuperview();
        material->setFrame(CGRectMake(0, 0, 120, 60));
    });
    MainQueue::shared().runFor(0.5);
    CGImageRef image = shot(root, 2);
    EXPECT_LT(roughness(image, 60, 10, 110), 3); // old and new blur alike: no sharp stripes
    RGBA half = pixel(image, 180, 60);           // the red box half gone
    EXPECT_GT(half.r, half.b + 40);
    EXPECT_LT(half.r - half.b, 160);
}

// A notification cell is a rounded translucent card that blurs the wallpaper behind it.
TEST(RenderStock, NotificationCellsAreFrostedRoundedCards) {
    Ref<CSCoverSheetView> sheet = UIView::make<CSCoverSheetView>(CGRectMake(0, 0, 100, 200));
    Ref<NCNotificationListCell> cell = NCNotificationListCell::make("Mail", "Hello");
    cell->setFrame(CGRectMake(10, 60, 80, 72));
    sheet->addSubview(stripes(CGRectMake(0, 60, 100, 72)));
    sheet->addSubview(cell);
    CGImageRef image = shot(sheet, 2);
    EXPECT_GT(roughness(image, 130, 0, 20), 20);                        // beside the card: stripes
    EXPECT_LT(roughness(image, 190, 60, 120), 6);                       // through the card: frosted
    EXPECT_TRUE(near(pixel(image, 21, 121), pixel(image, 4, 121), 24)); // rounded corner
}
