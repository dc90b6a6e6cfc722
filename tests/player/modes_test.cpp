// Layout switches on a cover sheet of the test's own: what a switch asks of the other parts,
// the panel without a notification list, a collapse kept by a mini rebuild, and the settings
// that shape the mini layout.
#include "player_fixture.h"

using namespace playertest;

namespace {

class SwitchTest : public PlayerTest {
  protected:
    void SetUp() override {
        PlayerTest::SetUp();
        install(prefs(), true);
        sheet_ = makeSheet();
        window_ = show(sheet_);
        calls().clear();
    }
    virtual std::vector<std::pair<std::string, PreferenceValue>> prefs() { return {}; }
    // A layout switch, with everything it starts run to its end.
    void switchLayout() {
        send(sheet_.get(), "hideVeyView");
        MainQueue::shared().runFor(1);
        window_->layoutIfNeeded();
    }
    UIView* view(AttachedProperty<UIView> property) const { return part(sheet_, property); }

    Ref<UIView> sheet_;
    UIWindow* window_ = nullptr;
};

} // namespace

TEST_F(SwitchTest, CallsIntoTheOtherPartsAndSizesThePanelWithoutANotificationList) {
    send(sheet_.get(), "hideVeyView");
    ASSERT_EQ(selectors(), std::vector<std::string>{"hideNotifications:"});
    EXPECT_FALSE(calls()[0].flag) << "notifications come back for the mini player";
    MainQueue::shared().runFor(0.299);
    EXPECT_EQ(calls().size(), 1u) << "the rebuild waits 0.3 s";
    MainQueue::shared().runFor(0.002);
    EXPECT_EQ(selectors(),
              (std::vector<std::string>{"hideNotifications:", "processStyle:shouldGenerate:",
                                        "hidePlayer", "processStyle:shouldGenerate:"}));
    EXPECT_FALSE(calls()[1].flag || calls()[3].flag) << "restyled, never regenerated";
    window_->layoutIfNeeded();
    EXPECT_EQ(view(prop::veyMiniBackgroundView)->frame().size, CGSizeMake(370.5, 165.75));

    calls().clear();
    switchLayout();
    EXPECT_TRUE(calls().at(0).flag) << "notifications hide for the maxi player";
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

struct MiniCase {
    const char* name;
    std::vector<std::pair<std::string, PreferenceValue>> prefs;
    double cornerRadius;
    bool panelHidden;
};
void PrintTo(const MiniCase& c, std::ostream* os) {
    *os << c.name;
}

class MiniSettingsTest : public SwitchTest, public ::testing::WithParamInterface<MiniCase> {
    std::vector<std::pair<std::string, PreferenceValue>> prefs() override {
        return GetParam().prefs;
    }
};

TEST_P(MiniSettingsTest, ShapeTheMiniLayout) {
    switchLayout();
    EXPECT_EQ(view(prop::artworkImageView)->layer()->cornerRadius(), GetParam().cornerRadius);
    EXPECT_EQ(view(prop::nowPlayingAppIcon)->frame().size.width, 25);
    EXPECT_EQ(view(prop::veyMiniBackgroundView)->isHidden(), GetParam().panelHidden);
    EXPECT_FALSE(view(prop::veyPauseButton)->isHidden()) << "its buttons stay";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, MiniSettingsTest,
    ::testing::Values(
        MiniCase{"OddRadiusHalvedDown", {{"CornerRadius", "21"}}, 10, false},
        MiniCase{"NegativeRadiusHalvedTowardsZero", {{"CornerRadius", "-5"}}, -2, false},
        MiniCase{"IconIsATenthOfTheArtworkSetting", {{"artworkSize", "259"}}, 10, false},
        MiniCase{"PanelSwitchOff", {{"veyMiniBackgroundView", false}}, 10, true},
        MiniCase{"NoMaterial", {{"blurMode", "2"}}, 10, true}),
    [](const auto& info) { return std::string(info.param.name); });
