// Layout switches on a cover sheet of the test's own: what a switch asks of the other parts,
// the panel without a notification list, a collapse kept by a mini rebuild, and the settings
// that shape the mini layout.
#include "player_fixture.h"

using namespace playertest;

namespace {

class SwitchTest : public PlayerTest {
  protected:
    void SetUp() override {
        install(true);
        sheet_ = makeSheet();
        calls.clear();
    }
    // A layout switch, with everything it starts run to its end.
    void switchLayout() {
        send(sheet_.get(), "hideVeyView");
        MainQueue::shared().runFor(1);
        sheet_->window()->layoutIfNeeded();
    }
    UIView* view(AttachedProperty<UIView> property) const { return part(sheet_, property); }

    Ref<UIView> sheet_;
};

} // namespace

TEST_F(SwitchTest, CallsIntoTheOtherPartsAndSizesThePanelWithoutANotificationList) {
    send(sheet_.get(), "hideVeyView");
    EXPECT_EQ(calls, std::vector<std::string>{"hideNotifications: NO"})
        << "notifications come back for the mini player";
    MainQueue::shared().runFor(0.299);
    EXPECT_EQ(calls.size(), 1u) << "the rebuild waits 0.3 s";
    MainQueue::shared().runFor(0.002);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"hideNotifications: NO", "processStyle:shouldGenerate: NO",
                                        "hidePlayer", "processStyle:shouldGenerate: NO"}))
        << "restyled, never regenerated";
    sheet_->window()->layoutIfNeeded();
    EXPECT_EQ(view(prop::veyMiniBackgroundView)->frame().size, CGSizeMake(370.5, 165.75));

    calls.clear();
    switchLayout();
    EXPECT_EQ(calls.at(0), "hideNotifications: YES") << "notifications hide for the maxi player";
}

TEST_F(SwitchTest, AMiniRebuildKeepsACollapseInPlace) {
    // Only a direct write leaves a collapse in place while maxi is shown.
    UIView* root = view(prop::veyView);
    hidden = YES;
    root->setTransform(CGAffineTransformMakeTranslation(0, 273));
    view(prop::veyBackgroundArtwork)->setAlpha(0);
    switchLayout();
    EXPECT_TRUE(minimized);
    EXPECT_TRUE(hidden);
    EXPECT_EQ(root->transform(), CGAffineTransformMakeTranslation(0, 273));
    EXPECT_EQ(root->center(), CGPointMake(195, 493 + 117)) << "the mini frame, slid down";
    EXPECT_EQ(root->bounds().size, CGSizeMake(390, 234));
    EXPECT_EQ(view(prop::veyBackgroundArtwork)->alpha(), 0);
}

TEST_F(SwitchTest, SettingsShapeEachMiniRebuild) {
    // Half the corner radius towards zero, the app icon a tenth of the artwork setting rounded
    // down, no panel with its switch off or without a material.
    struct Case {
        const char *radius, *artworkSize, *blurMode;
        bool panelSwitch;
        double cornerRadius;
        bool panelHidden;
    } cases[] = {{"21", "259", "1", YES, 10, NO},
                 {"-5", "250", "1", YES, -2, NO},
                 {"20", "250", "1", NO, 10, YES},
                 {"20", "250", "2", YES, 10, YES}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.radius) + " " + c.artworkSize + " " + c.blurMode);
        newCornerRadius = c.radius;
        newArtworkSize = c.artworkSize;
        blurModeValue = c.blurMode;
        miniBackgroundSwitch = c.panelSwitch;
        switchLayout();
        ASSERT_TRUE(minimized);
        EXPECT_EQ(view(prop::artworkImageView)->layer()->cornerRadius(), c.cornerRadius);
        EXPECT_EQ(view(prop::nowPlayingAppIcon)->frame().size.width, 25);
        EXPECT_EQ(view(prop::veyMiniBackgroundView)->isHidden(), c.panelHidden);
        EXPECT_FALSE(view(prop::veyPauseButton)->isHidden()) << "its buttons stay";
        switchLayout();
    }
}
