// Colours for each style, the light override both ways, the timeline's parts, and the kept
// background.
#include "media/ColorExtractor.h"
#include "nowplaying_fixture.h"

using namespace nowplaying;

namespace {

struct StylesTest : NowPlayingTest {
    // Plays a track with two-coloured artwork and lets every step and transition finish.
    void playAndSettle() {
        play("Title", "Artist", artwork(80, 80, 0xd02020, 0x2040e0));
        run(3);
    }
    // A stand-in for the host's newer timeline: plain views, labels and a subclass of each.
    Ref<UIView> timeline() {
        Ref<UIView> view = UIView::make(CGRectMake(0, 0, 300, 40));
        view->addSubview(UIView::make(CGRectMake(0, 0, 100, 4)));
        view->addSubview(UIView::make<UILabel>(CGRectMake(0, 10, 50, 12)));
        view->addSubview(UIView::make(CGRectMake(100, 0, 200, 4)));
        view->addSubview(UIView::make<UIImageView>(CGRectMake(0, 0, 8, 8)));
        view->addSubview(UIView::make(CGRectMake(98, -4, 12, 12)));
        view->addSubview(UIView::make<MPRouteLabel>(CGRectMake(0, 24, 50, 12)));
        for (UIView* part : view->subviews())
            part->setAlpha(0.8);
        newTimeSlider = view;
        return view;
    }
};

} // namespace

TEST_F(StylesTest, ColorFlowColoursThePlayerFromTheArtwork) {
    Ref<UIView> bar = timeline();
    double t0 = play("Title", "Artist", artwork(80, 80, 0xd02020, 0x2040e0));
    runUntil(t0 + 0.1);
    ASSERT_TRUE(highresImage);
    ASSERT_TRUE(colors() && colors()->count() >= 2);
    Ref<NSArray> expected =
        ColorExtractor::extractDominantColors(highresImage, NSStringIntValue(blurModeValue));
    EXPECT_EQ(colors(), expected.get());
    auto* main = cast<UIColor>(colors()->objectAtIndex(0));
    auto* second = cast<UIColor>(colors()->objectAtIndex(1));
    EXPECT_TRUE(sameColor(song()->textColor(), main));
    EXPECT_TRUE(sameColor(artist()->textColor(), second));
    EXPECT_TRUE(sameColor(bar->subviews()[0]->backgroundColor(), main));
    EXPECT_TRUE(sameColor(panel()->layer()->borderColor(), second));
    EXPECT_TRUE(sameColor(cast<UIColor>(send<id>(panel(), "outlineColor")), second));
    // The tint follows 0.1 s later, the artwork's border 0.2 s later.
    EXPECT_FALSE(sameColor(player()->ownTintColor(), main));
    EXPECT_FALSE(sameColor(artworkView()->layer()->borderColor(), second));
    runUntil(t0 + 0.2);
    EXPECT_TRUE(sameColor(player()->ownTintColor(), main));
    EXPECT_FALSE(sameColor(artworkView()->layer()->borderColor(), second));
    runUntil(t0 + 0.3);
    EXPECT_TRUE(sameColor(artworkView()->layer()->borderColor(), second));
}

TEST_F(StylesTest, DarkAndLightModesAndTheOverride) {
    Ref<UIView> bar = timeline();
    Ref<UIColor> black = UIColor::blackColor(), white = UIColor::whiteColor();
    styleValue = "darkMode";
    playAndSettle();
    EXPECT_TRUE(sameColor(song()->textColor(), black));
    EXPECT_TRUE(sameColor(artist()->textColor(), black));
    EXPECT_TRUE(sameColor(player()->ownTintColor(), black));
    EXPECT_TRUE(sameColor(artworkView()->layer()->borderColor(), black));

    // The override turns every style white, in one 0.3 s cross-dissolve of the player.
    send(sheet(), "forceLightTheme");
    EXPECT_TRUE(forcedTheme);
    ASSERT_FALSE(player()->transitions().empty());
    EXPECT_EQ(player()->transitions().back().duration, secondsToNanos(0.3));
    EXPECT_TRUE(sameColor(song()->textColor(), white));
    EXPECT_TRUE(sameColor(artist()->textColor(), white));
    EXPECT_TRUE(sameColor(player()->ownTintColor(), white));
    EXPECT_TRUE(sameColor(bar->subviews()[0]->backgroundColor(), white));
    EXPECT_TRUE(sameColor(artworkView()->layer()->borderColor(), black)) << "borders stay";
    // While it is on, a new artwork is styled white too.
    play("Two", "Artist", artwork(80, 80, 0x10a010, 0x101010));
    run(3);
    EXPECT_TRUE(sameColor(song()->textColor(), white));

    // Off again: dark mode's table, borders at alpha 0.7.
    send(sheet(), "forceLightTheme");
    EXPECT_FALSE(forcedTheme);
    EXPECT_TRUE(sameColor(song()->textColor(), black));
    EXPECT_TRUE(sameColor(player()->ownTintColor(), black));
    EXPECT_TRUE(sameColor(bar->subviews()[0]->backgroundColor(), black));
    EXPECT_TRUE(sameColor(artworkView()->layer()->borderColor(), UIColor::colorWithWhite(0, 0.7)));
    EXPECT_TRUE(sameColor(panel()->layer()->borderColor(), UIColor::colorWithWhite(0, 0.7)));
    EXPECT_EQ(artworkView()->image(), highresImage.get());
    EXPECT_EQ(background()->image(), blurredImage.get());

    styleValue = "lightMode";
    send(sheet(), "processStyle:shouldGenerate:", static_cast<id>(highresImage.get()), NO);
    EXPECT_TRUE(sameColor(song()->textColor(), white));
    EXPECT_TRUE(sameColor(artist()->textColor(), white));
}

TEST_F(StylesTest, OverrideOffInColorFlowRestoresTheColoursButNotTheTimeline) {
    Ref<UIView> bar = timeline();
    playAndSettle();
    ASSERT_TRUE(colors() && colors()->count() >= 2);
    auto* main = cast<UIColor>(colors()->objectAtIndex(0));
    auto* second = cast<UIColor>(colors()->objectAtIndex(1));
    send(sheet(), "forceLightTheme");
    send(sheet(), "forceLightTheme");
    EXPECT_TRUE(sameColor(song()->textColor(), main));
    EXPECT_TRUE(sameColor(artist()->textColor(), second));
    EXPECT_TRUE(sameColor(player()->ownTintColor(), main));
    EXPECT_TRUE(sameColor(panel()->layer()->borderColor(), second));
    EXPECT_TRUE(sameColor(bar->subviews()[0]->backgroundColor(), UIColor::whiteColor()));
}

TEST_F(StylesTest, RestyleReusesColoursAndBackground) {
    playAndSettle();
    Ref<NSArray> extracted = colors();
    Ref<UIImage> rendered = blurredImage;
    ASSERT_TRUE(extracted);
    ASSERT_TRUE(rendered);
    bestColors =
        NSArray::make({UIColor::colorWithRed(0, 1, 0, 1), UIColor::colorWithRed(0, 0, 1, 1)});
    send(sheet(), "processStyle:shouldGenerate:", static_cast<id>(highresImage.get()), NO);
    // No extraction: the colours in bestColors are applied as they are.
    EXPECT_TRUE(sameColor(song()->textColor(), UIColor::colorWithRed(0, 1, 0, 1)));
    EXPECT_TRUE(sameColor(artist()->textColor(), UIColor::colorWithRed(0, 0, 1, 1)));
    // The background of the same artwork is not rendered again.
    EXPECT_EQ(blurredImage.get(), rendered.get());
    // Another setting renders anew.
    blurModeValue = "0";
    send(sheet(), "processStyle:shouldGenerate:", static_cast<id>(highresImage.get()), NO);
    EXPECT_NE(blurredImage.get(), rendered.get());
}

TEST_F(StylesTest, ColorFlowBeforeAnyColoursIsWhite) {
    bestColors = nullptr;
    Ref<UIImage> image = decoded(artwork(20, 20, 0x000000, 0x000000));
    send(sheet(), "processStyle:shouldGenerate:", static_cast<id>(image.get()), NO);
    EXPECT_TRUE(sameColor(song()->textColor(), UIColor::whiteColor()));
    EXPECT_TRUE(sameColor(artist()->textColor(), UIColor::whiteColor()));
    EXPECT_FALSE(bestColors);
}

TEST_F(StylesTest, NilArtworkWithARadiusHasNoBackground) {
    background()->setImage(decoded(artwork(20, 20, 0xffffff, 0xffffff)));
    send(sheet(), "processStyle:shouldGenerate:", static_cast<id>(nullptr), YES);
    EXPECT_FALSE(blurredImage);
    EXPECT_FALSE(background()->image());
    EXPECT_TRUE(sameColor(song()->textColor(), UIColor::whiteColor()));
}

TEST_F(StylesTest, TimelinePartsByExactClassName) {
    Ref<UIView> bar = timeline();
    Ref<UIColor> red = UIColor::colorWithRed(1, 0, 0, 1);
    send(sheet(), "changeTimelineColor:", red);
    auto& parts = bar->subviews();
    EXPECT_TRUE(sameColor(parts[0]->backgroundColor(), red));
    EXPECT_TRUE(sameColor(parts[0]->ownTintColor(), red));
    EXPECT_EQ(parts[0]->alpha(), 0.8) << "the first plain view keeps its alpha";
    EXPECT_TRUE(sameColor(cast<UILabel>(parts[1])->textColor(), red));
    EXPECT_EQ(parts[1]->alpha(), 0.8);
    EXPECT_EQ(parts[2]->alpha(), 0.5);
    EXPECT_FALSE(parts[3]->backgroundColor()) << "subclasses are left alone";
    EXPECT_EQ(parts[3]->alpha(), 0.8);
    EXPECT_EQ(parts[4]->alpha(), 0.5);
    EXPECT_FALSE(sameColor(cast<UILabel>(parts[5])->textColor(), red));
    newTimeSlider = nullptr;
    send(sheet(), "changeTimelineColor:", red); // nothing to colour, nothing breaks
}
