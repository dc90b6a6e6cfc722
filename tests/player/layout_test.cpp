// Where the built player's views end up after a layout pass: the default layout on a
// 390 x 844 cover sheet, and one with another artwork size and offsets.
#include "player_fixture.h"

using namespace playertest;

namespace {

constexpr double kEps = 1e-6;

void expectRect(CGRect r, double x, double y, double w, double h) {
    EXPECT_NEAR(r.origin.x, x, kEps);
    EXPECT_NEAR(r.origin.y, y, kEps);
    EXPECT_NEAR(r.size.width, w, kEps);
    EXPECT_NEAR(r.size.height, h, kEps);
}

double midX(CGRect r) {
    return CGRectGetMidX(r);
}
double midY(CGRect r) {
    return CGRectGetMidY(r);
}

} // namespace

TEST_F(PlayerTest, DefaultLayoutOnA390By844CoverSheet) {
    install();
    Ref<UIView> sheet = makeSheet();
    auto window = show(sheet);
    const double W = 390;

    expectRect(part(sheet, prop::veyView)->frame(), 0, 285.9, 390, 425.5);
    EXPECT_NEAR(844 - CGRectGetMaxY(part(sheet, prop::veyView)->frame()), 132.6, kEps);
    EXPECT_TRUE(part(sheet, prop::veyView)->isHidden());

    CGRect source = inSheet(sheet, prop::veySourceLabel);
    expectRect(source, 0, 844 - 0.057 * W * 1.5, W, 0.057 * W);
    EXPECT_TRUE(part(sheet, prop::veySourceLabel)->isHidden()) << "hidden, yet it keeps its place";

    CGRect pause = inSheet(sheet, prop::veyPauseButton);
    EXPECT_NEAR(pause.size.width, 39, kEps);
    EXPECT_NEAR(pause.size.height, 39, kEps);
    EXPECT_NEAR(midX(pause), 195, kEps);
    EXPECT_NEAR(source.origin.y - midY(pause), 144.3, kEps);

    // Rewind and skip 0.12 W beyond the pause button's edges, the route button 0.1 W beyond skip.
    CGRect rewind = inSheet(sheet, prop::veyRewindButton);
    CGRect skip = inSheet(sheet, prop::veySkipButton);
    CGRect route = inSheet(sheet, prop::veyAirplayButton);
    for (CGRect r : {rewind, skip, route}) {
        EXPECT_NEAR(r.size.width, 48.75, kEps);
        EXPECT_NEAR(r.size.height, 48.75, kEps);
        EXPECT_NEAR(midY(r), midY(pause), kEps);
    }
    EXPECT_NEAR(CGRectGetMinX(pause) - midX(rewind), 46.8, kEps);
    EXPECT_NEAR(midX(skip) - CGRectGetMaxX(pause), 46.8, kEps);
    EXPECT_NEAR(midX(route) - CGRectGetMaxX(skip), 39, kEps);

    // The labels span the sheet less 0.072 W a side, artist below song.
    CGRect artist = inSheet(sheet, prop::veyArtistLabel);
    CGRect song = inSheet(sheet, prop::veySongLabel);
    expectRect(artist, 28.08, pause.origin.y - 0.114 * W - 14.04, W - 2 * 28.08, 28.08);
    expectRect(song, 28.08, artist.origin.y - 0.048 * W - 21.06, W - 2 * 28.08, 42.12);

    CGRect artwork = inSheet(sheet, prop::artworkImageView);
    expectRect(artwork, 70, song.origin.y - 0.006 * W - 250, 250, 250);
    EXPECT_EQ(part(sheet, prop::artworkImageView)->superview(), part(sheet, prop::veyView));
    CGRect icon = inSheet(sheet, prop::nowPlayingAppIcon);
    expectRect(icon, 320 - 25 - 12.5, CGRectGetMaxY(artwork) - 37.5, 25, 25);
    expectRect(inSheet(sheet, prop::veyArtworkButton), artwork.origin.x, artwork.origin.y, 250,
               250);

    // The panel lies behind the labels and buttons, its blur filling it.
    CGRect panel = inSheet(sheet, prop::veyMiniBackgroundView);
    EXPECT_NEAR(panel.size.width, 370.5, kEps);
    EXPECT_NEAR(panel.size.height, 174.135, kEps);
    EXPECT_NEAR(midX(panel), 195, kEps);
    EXPECT_NEAR(midY(panel) - midY(artist), 21.45, kEps);
    EXPECT_LT(panel.origin.y, song.origin.y + song.size.height);
    EXPECT_GT(CGRectGetMaxY(panel), CGRectGetMaxY(pause));
    expectRect(part(sheet, prop::blurButtonView)->frame(), 0, 0, 370.5, 174.135);
    EXPECT_EQ(part(sheet, prop::veyView)->subviews().front().get(),
              part(sheet, prop::veyMiniBackgroundView));

    // Icons fill their buttons; the side icons are squeezed.
    expectRect(part(sheet, prop::pausePlayIcon)->frame(), 0, 0, 39, 39);
    UIView* rewindIcon = part(sheet, prop::rewindIcon);
    EXPECT_NEAR(rewindIcon->bounds().size.width, 48.75, kEps);
    EXPECT_EQ(rewindIcon->transform(), CGAffineTransformMakeScale(0.75, 0.55));
    expectRect(part(sheet, prop::playingSource)->frame(), 0, 0, 0, 0);
}

TEST_F(PlayerTest, ArtworkSizeAndOffsetsMoveThePlayer) {
    // An odd size: its half, tenth and hundredth are whole numbers.
    install({{"artworkSize", "305"},
             {"newOffset1", "10"},
             {"artworkOffset", "5"},
             {"addBorder", true},
             {"CornerRadius", "12"}});
    UIDevice::currentDevice()->setSystemVersion("15.8");
    Ref<UIView> sheet = makeSheet();
    auto window = show(sheet);
    const double W = 390, CH = 844, S = 305;

    double y = CH - 0.54 * W - S - W * 10 / 100 - CH * 5 / 100;
    expectRect(part(sheet, prop::veyView)->frame(), 0, y, W, 0.45 * W + S + CH * 5 / 100);

    CGRect source = inSheet(sheet, prop::veySourceLabel);
    CGRect pause = inSheet(sheet, prop::veyPauseButton);
    EXPECT_NEAR(source.origin.y - midY(pause), 0.12 * W + 39, kEps);

    // Before 16 the artist label sits higher above the buttons.
    EXPECT_NEAR(pause.origin.y - midY(inSheet(sheet, prop::veyArtistLabel)), 0.134 * W, kEps);

    CGRect song = inSheet(sheet, prop::veySongLabel);
    CGRect artwork = inSheet(sheet, prop::artworkImageView);
    EXPECT_NEAR(artwork.size.width, 305, kEps);
    EXPECT_NEAR(song.origin.y - midY(artwork), 0.006 * W + 152 + CH * 5 / 100, kEps);
    CGRect icon = inSheet(sheet, prop::nowPlayingAppIcon);
    expectRect(icon, CGRectGetMaxX(artwork) - 30 - 15, CGRectGetMaxY(artwork) - 45, 30, 30);

    CALayer* layer = part(sheet, prop::artworkImageView)->layer();
    EXPECT_EQ(layer->borderWidth(), 3);
    EXPECT_EQ(layer->cornerRadius(), 12);
    EXPECT_EQ(layer->cornerCurve(), kCACornerCurveContinuous);
    EXPECT_TRUE(layer->masksToBounds());
    CALayer* panel = part(sheet, prop::veyMiniBackgroundView)->layer();
    EXPECT_NEAR(panel->cornerRadius(), 14.4, kEps);
    EXPECT_NEAR(panel->borderWidth(), 0.95 * W / 250, kEps);
}

TEST_F(PlayerTest, SourceLabelShowsTheDeviceNameInTheSamePlace) {
    UIDevice::currentDevice()->setName("Lantern's phone");
    install({{"showDeviceName", true}});
    Ref<UIView> sheet = makeSheet();
    auto window = show(sheet);
    auto* label = part<UILabel>(sheet, prop::veySourceLabel);
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(label->textString(), "Lantern's phone");
    EXPECT_NEAR(label->font()->pointSize(), 0.024 * 390, kEps);
    EXPECT_NEAR(inSheet(sheet, prop::veySourceLabel).origin.y, 844 - 0.057 * 390 * 1.5, kEps);
    EXPECT_NEAR(inSheet(sheet, prop::veySourceLabel).origin.y -
                    midY(inSheet(sheet, prop::veyPauseButton)),
                144.3, kEps);
}

TEST_F(PlayerTest, TheLaunchedLockScreenCarriesThePlayer) {
    install();
    SBLockScreen* lockScreen = SBLaunch();
    ASSERT_TRUE(lockScreen);
    UIView* sheet = lockScreen->coverSheet;
    EXPECT_EQ(coversheetView.get(), sheet);
    lockScreen->layoutAll();
    expectRect(part(sheet, prop::veyView)->frame(), 0, 285.9, 390, 425.5);
    EXPECT_EQ(sheet->subviews().front().get(), part(sheet, prop::veyBackgroundArtwork));
    EXPECT_EQ(sheet->subviews().back().get(), part(sheet, prop::veyView));
    EXPECT_NEAR(inSheet(sheet, prop::veyMiniBackgroundView).size.width, 370.5, kEps);
}
