// Where the built player's views end up after a layout pass: what the maxi scenario does not
// check on the default 390 x 844 sheet, and another artwork size with offsets.
#include "player_fixture.h"

using namespace playertest;

namespace {

void expectRect(CGRect r, double x, double y, double w, double h) {
    EXPECT_NEAR(r.origin.x, x, 1e-6);
    EXPECT_NEAR(r.origin.y, y, 1e-6);
    EXPECT_NEAR(r.size.width, w, 1e-6);
    EXPECT_NEAR(r.size.height, h, 1e-6);
}

} // namespace

TEST_F(PlayerTest, DefaultLayoutOfTheSideButtonsIconsAndPanel) {
    install();
    Ref<UIView> sheet = shownSheet();
    EXPECT_TRUE(part(sheet, prop::veySourceLabel)->isHidden()) << "hidden, yet it keeps its place";
    // Rewind and skip 0.12 W beyond the pause button's edges, the route button 0.1 W beyond skip.
    CGRect pause = inSheet(sheet, prop::veyPauseButton);
    double y = CGRectGetMidY(pause) - 24.375;
    expectRect(inSheet(sheet, prop::veyRewindButton), 175.5 - 46.8 - 24.375, y, 48.75, 48.75);
    expectRect(inSheet(sheet, prop::veySkipButton), 214.5 + 46.8 - 24.375, y, 48.75, 48.75);
    expectRect(inSheet(sheet, prop::veyAirplayButton), 285.675 + 39 - 24.375, y, 48.75, 48.75);
    CGRect artwork = inSheet(sheet, prop::artworkImageView);
    EXPECT_EQ(inSheet(sheet, prop::veyArtworkButton), artwork);
    EXPECT_EQ(part(sheet, prop::artworkImageView)->superview(), part(sheet, prop::veyView));
    // The panel's blur fills it; icons fill their buttons, the side icons squeezed.
    expectRect(part(sheet, prop::blurButtonView)->frame(), 0, 0, 370.5, 174.135);
    expectRect(part(sheet, prop::pausePlayIcon)->frame(), 0, 0, 39, 39);
    UIView* rewindIcon = part(sheet, prop::rewindIcon);
    EXPECT_NEAR(rewindIcon->bounds().size.width, 48.75, 1e-6);
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
    Ref<UIView> sheet = shownSheet();
    // 844 - 0.54 W - 305 - 10 % of W - 5 % of 844 high; 0.45 W + 305 + 5 % of 844 tall.
    expectRect(part(sheet, prop::veyView)->frame(), 0, 247.2, 390, 522.7);
    CGRect source = inSheet(sheet, prop::veySourceLabel);
    CGRect pause = inSheet(sheet, prop::veyPauseButton);
    EXPECT_NEAR(source.origin.y - CGRectGetMidY(pause), 0.12 * 390 + 39, 1e-6);
    // Before 16 the artist label sits higher above the buttons.
    EXPECT_NEAR(pause.origin.y - CGRectGetMidY(inSheet(sheet, prop::veyArtistLabel)), 52.26, 1e-6);
    CGRect song = inSheet(sheet, prop::veySongLabel);
    CGRect artwork = inSheet(sheet, prop::artworkImageView);
    EXPECT_NEAR(artwork.size.width, 305, 1e-6);
    EXPECT_NEAR(song.origin.y - CGRectGetMidY(artwork), 0.006 * 390 + 152 + 42.2, 1e-6);
    expectRect(inSheet(sheet, prop::nowPlayingAppIcon), CGRectGetMaxX(artwork) - 45,
               CGRectGetMaxY(artwork) - 45, 30, 30);

    CALayer* layer = part(sheet, prop::artworkImageView)->layer();
    EXPECT_EQ(layer->borderWidth(), 3);
    EXPECT_EQ(layer->cornerRadius(), 12);
    EXPECT_EQ(layer->cornerCurve(), kCACornerCurveContinuous);
    EXPECT_TRUE(layer->masksToBounds());
    CALayer* panel = part(sheet, prop::veyMiniBackgroundView)->layer();
    EXPECT_NEAR(panel->cornerRadius(), 14.4, 1e-6);
    EXPECT_NEAR(panel->borderWidth(), 0.95 * 390 / 250, 1e-6);
}

TEST_F(PlayerTest, SourceLabelShowsTheDeviceNameInTheSamePlace) {
    UIDevice::currentDevice()->setName("Lantern's phone");
    install({{"showDeviceName", true}});
    Ref<UIView> sheet = shownSheet();
    auto* label = part<UILabel>(sheet, prop::veySourceLabel);
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(label->textString(), "Lantern's phone");
    EXPECT_NEAR(label->font()->pointSize(), 9.36, 1e-6);
    expectRect(inSheet(sheet, prop::veySourceLabel), 0, 810.655, 390, 22.23);
}
