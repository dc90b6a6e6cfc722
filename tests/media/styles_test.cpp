// Colours for each style and when they arrive, the light override both ways, the timeline's
// parts, and the colours and background kept for a restyle.
#include "media/ColorExtractor.h"
#include "media_fixture.h"

using namespace media;

namespace {

struct StylesTest : PlayerTest {
    // Plays a two-coloured artwork and lets every step and transition finish.
    void playAndSettle() {
        play("Title", "Artist", artwork(80, 80, 0xd02020, 0x2040e0));
        run(3);
    }
    // A stand-in for the host's newer timeline: plain views, labels and a subclass of each.
    Ref<UIView> timeline() {
        Ref<UIView> view = UIView::make(CGRectMake(0, 0, 300, 40));
        for (Ref<UIView> part :
             {UIView::make(CGRectZero), Ref<UIView>(UIView::make<UILabel>(CGRectZero)),
              UIView::make(CGRectZero), Ref<UIView>(UIView::make<UIImageView>(CGRectZero)),
              UIView::make(CGRectZero), Ref<UIView>(UIView::make<MPRouteLabel>(CGRectZero))}) {
            part->setAlpha(0.8);
            view->addSubview(part);
        }
        newTimeSlider = view;
        return view;
    }
    UIColor* colour(std::size_t i) const { return cast<UIColor>(bestColors->objectAtIndex(i)); }
};

} // namespace

TEST_F(StylesTest, ColorFlowColoursThePanelAtOnceTheTintAndBorderLater) {
    double t0 = play("Title", "Artist", artwork(80, 80, 0xd02020, 0x2040e0));
    runUntil(t0 + 0.1);
    ASSERT_TRUE(highresImage && bestColors && bestColors->count() == 3);
    // The artwork's colours, brightest first (blur mode 1): a cache hit returns the same array.
    EXPECT_EQ(bestColors.get(), ColorExtractor::extractDominantColors(highresImage, 0).get());
    EXPECT_TRUE(sameColor(panel()->layer()->borderColor(), colour(1)));
    EXPECT_TRUE(sameColor(cast<UIColor>(send<id>(panel(), "outlineColor")), colour(1)));
    // The tint follows 0.1 s later, the artwork's border 0.2 s later.
    EXPECT_FALSE(sameColor(player()->ownTintColor(), colour(0)));
    runUntil(t0 + 0.2);
    EXPECT_TRUE(sameColor(player()->ownTintColor(), colour(0)));
    EXPECT_FALSE(sameColor(artworkView()->layer()->borderColor(), colour(1)));
    runUntil(t0 + 0.3);
    EXPECT_TRUE(sameColor(artworkView()->layer()->borderColor(), colour(1)));
}

TEST_F(StylesTest, TheOverrideMakesEveryStyleWhiteAndRestoresItsOwn) {
    Ref<UIView> bar = timeline();
    Ref<UIColor> black = UIColor::blackColor(), white = UIColor::whiteColor();
    styleValue = "darkMode";
    playAndSettle();
    EXPECT_TRUE(sameColor(artworkView()->layer()->borderColor(), black));
    send(sheet(), "forceLightTheme");
    ASSERT_FALSE(player()->transitions().empty());
    EXPECT_EQ(player()->transitions().back().duration, secondsToNanos(0.3));
    EXPECT_TRUE(sameColor(bar->subviews()[0]->backgroundColor(), white));
    EXPECT_TRUE(sameColor(artworkView()->layer()->borderColor(), black)) << "borders stay";
    play("Two", "Artist", artwork(80, 80, 0x10a010, 0x101010));
    run(3);
    EXPECT_TRUE(sameColor(song()->textColor(), white)) << "a new artwork under the override";

    // Off again: dark mode's colours, its borders at alpha 0.7, the images put back.
    send(sheet(), "forceLightTheme");
    EXPECT_TRUE(sameColor(player()->ownTintColor(), black));
    EXPECT_TRUE(sameColor(bar->subviews()[0]->backgroundColor(), black));
    EXPECT_TRUE(sameColor(panel()->layer()->borderColor(), UIColor::colorWithWhite(0, 0.7)));
    EXPECT_EQ(artworkView()->image(), highresImage.get());
    EXPECT_EQ(background()->image(), blurredImage.get());

    // In colorFlow the colours come back, but the timeline keeps the override's white.
    styleValue = "colorFlow";
    playAndSettle();
    send(sheet(), "forceLightTheme");
    send(sheet(), "forceLightTheme");
    EXPECT_TRUE(sameColor(song()->textColor(), colour(0)));
    EXPECT_TRUE(sameColor(artist()->textColor(), colour(1)));
    EXPECT_TRUE(sameColor(panel()->layer()->borderColor(), colour(1)));
    EXPECT_TRUE(sameColor(bar->subviews()[0]->backgroundColor(), white));
}

TEST_F(StylesTest, ARestyleKeepsTheColoursAndTheBackgroundOfTheSameArtwork) {
    playAndSettle();
    Ref<UIImage> rendered = blurredImage;
    ASSERT_TRUE(rendered);
    bestColors = NSArray::make({rgb(0x00ff00), rgb(0x0000ff)});
    send(sheet(), "processStyle:shouldGenerate:", static_cast<id>(highresImage.get()), NO);
    EXPECT_TRUE(sameColor(song()->textColor(), rgb(0x00ff00))) << "nothing extracted";
    EXPECT_TRUE(sameColor(artist()->textColor(), rgb(0x0000ff)));
    EXPECT_EQ(blurredImage.get(), rendered.get()) << "not rendered again";
    blurModeValue = "0";
    send(sheet(), "processStyle:shouldGenerate:", static_cast<id>(highresImage.get()), NO);
    EXPECT_NE(blurredImage.get(), rendered.get()) << "another setting renders anew";
}

TEST_F(StylesTest, WhiteWithoutColoursAndNoBackgroundWithoutArtwork) {
    bestColors = nullptr;
    Ref<UIImage> image = UIImage::imageWithData(artwork(20, 20, 0, 0));
    send(sheet(), "processStyle:shouldGenerate:", static_cast<id>(image.get()), NO);
    EXPECT_TRUE(sameColor(song()->textColor(), UIColor::whiteColor()));
    EXPECT_FALSE(bestColors);
    background()->setImage(image);
    song()->setTextColor(nullptr);
    send(sheet(), "processStyle:shouldGenerate:", static_cast<id>(nullptr), YES);
    EXPECT_FALSE(blurredImage);
    EXPECT_FALSE(background()->image());
    EXPECT_TRUE(sameColor(song()->textColor(), UIColor::whiteColor()));
}

TEST_F(StylesTest, TheTimelineColoursPlainViewsAndLabelsByExactClassName) {
    Ref<UIView> bar = timeline();
    Ref<UIColor> red = rgb(0xff0000);
    send(sheet(), "changeTimelineColor:", red);
    auto& parts = bar->subviews();
    EXPECT_TRUE(sameColor(parts[0]->backgroundColor(), red));
    EXPECT_TRUE(sameColor(parts[0]->ownTintColor(), red));
    EXPECT_TRUE(sameColor(cast<UILabel>(parts[1])->textColor(), red));
    EXPECT_FALSE(parts[3]->backgroundColor()) << "subclasses are left alone";
    EXPECT_FALSE(sameColor(cast<UILabel>(parts[5])->textColor(), red));
    // The first plain view is the elapsed track; the later ones are drawn fainter.
    double alphas[] = {0.8, 0.8, 0.5, 0.8, 0.5, 0.8};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(parts[i]->alpha(), alphas[i]) << i;
    newTimeSlider = nullptr;
    send(sheet(), "changeTimelineColor:", red); // nothing to colour, nothing breaks
}
