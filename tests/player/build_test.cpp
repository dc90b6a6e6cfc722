// What the build makes and wires, once per cover sheet, by the settings and shared state it
// reads.
#include "controls/InnerShadowButton.h"
#include "player_fixture.h"

using namespace playertest;

TEST_F(PlayerTest, BuildsAndStylesOncePerCoverSheet) {
    install();
    Ref<UIView> sheet = makeSheet();
    ASSERT_EQ(calls, std::vector<std::string>{"processStyle:shouldGenerate: YES"})
        << "the first style generates";
    UIView* root = part(sheet, prop::veyView);
    ASSERT_TRUE(root);
    std::size_t sheetViews = sheet->subviews().size(), rootViews = root->subviews().size();
    std::size_t constraints = NSLayoutConstraint::activeConstraints().size();
    calls.clear();

    // Out of its window and into another: nothing new.
    sheet->removeFromSuperview();
    show(sheet);
    EXPECT_EQ(part(sheet, prop::veyView), root);
    EXPECT_EQ(sheet->subviews().size(), sheetViews);
    EXPECT_EQ(root->subviews().size(), rootViews);
    EXPECT_EQ(NSLayoutConstraint::activeConstraints().size(), constraints);
    EXPECT_TRUE(calls.empty()) << "no second restyle";
}

TEST_F(PlayerTest, TreeAndSymbolsAsBuilt) {
    install();
    Ref<UIView> sheet = makeSheet();
    UIView* root = part(sheet, prop::veyView);
    EXPECT_TRUE(sheet->layer()->masksToBounds());
    EXPECT_EQ(sheet->subviews().front().get(), part(sheet, prop::veyBackgroundArtwork));
    EXPECT_EQ(sheet->subviews().back().get(), root);
    EXPECT_EQ(part(sheet, prop::veyBackgroundArtwork)->frame(), sheet->bounds());
    // Back to front within the root view.
    std::vector<UIView*> expected;
    for (AttachedProperty<UIView> name : std::initializer_list<AttachedProperty<UIView>>{
             prop::veyMiniBackgroundView, prop::veySourceLabel, prop::veyPauseButton,
             prop::veyRewindButton, prop::veySkipButton, prop::veyAirplayButton,
             prop::veyArtistLabel, prop::veySongLabel, prop::artworkImageView,
             prop::nowPlayingAppIcon, prop::veyArtworkButton, prop::playingSource})
        expected.push_back(part(sheet, name));
    EXPECT_EQ(std::vector<UIView*>(root->subviews().begin(), root->subviews().end()), expected);
    EXPECT_EQ(part(sheet, prop::veyArtistLabel)->alpha(), 0.7);
    EXPECT_EQ(part(sheet, prop::airplayIcon)->alpha(), 0.7);
    EXPECT_EQ(part(sheet, prop::artworkImageView)->contentMode(), UIViewContentModeScaleAspectFill);
    CALayer* artwork = part(sheet, prop::artworkImageView)->layer();
    EXPECT_EQ(artwork->cornerCurve(), kCACornerCurveContinuous);
    EXPECT_TRUE(artwork->masksToBounds());
    auto* panel = part<InnerShadowButton>(sheet, prop::veyMiniBackgroundView);
    EXPECT_EQ(send<double>(panel, "outlineWidth"), 13) << "through the runtime";
    EXPECT_EQ(part(sheet, prop::blurButtonView)->superview(), panel);

    // The icons are template symbols sharing one large body-text configuration.
    NSObject* shared = nullptr;
    const std::pair<AttachedProperty<UIImageView>, const char*> icons[] = {
        {prop::pausePlayIcon, "play.fill"},
        {prop::rewindIcon, "backward.fill"},
        {prop::skipIcon, "forward.fill"},
        {prop::airplayIcon, "airplayaudio"}};
    for (auto [property, symbol] : icons) {
        UIImage* image = part<UIImageView>(sheet, property)->image();
        ASSERT_TRUE(image) << property.name;
        EXPECT_EQ(image->symbolName(), symbol);
        EXPECT_TRUE(image->isTemplate()) << property.name;
        if (!shared) shared = image->symbolConfiguration();
        EXPECT_EQ(image->symbolConfiguration(), shared) << property.name;
    }
    auto* configuration = cast<UIImageSymbolConfiguration>(shared);
    ASSERT_TRUE(configuration);
    EXPECT_EQ(configuration->scale(), UIImageSymbolScaleLarge);
    EXPECT_EQ(configuration->font()->textStyle(), UIFontTextStyleBody);
    UIImage* source =
        part<UIButton>(sheet, prop::playingSource)->imageForState(UIControlStateNormal);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->symbolName(), "airplayaudio");
    EXPECT_FALSE(source->isTemplate());
    EXPECT_EQ(source->symbolConfiguration(), nullptr);
}

TEST_F(PlayerTest, ButtonsAndSwipeReachTheCoverSheet) {
    install();
    Ref<UIView> sheet = makeSheet();
    calls.clear();
    for (AttachedProperty<UIControl> button : std::initializer_list<AttachedProperty<UIControl>>{
             prop::veyPauseButton, prop::veyRewindButton, prop::veySkipButton,
             prop::veyAirplayButton, prop::veyArtworkButton, prop::playingSource,
             prop::veyMiniBackgroundView})
        part<UIControl>(sheet, button)->sendActionsForControlEvents(UIControlEventTouchUpInside);
    UISwipeGestureRecognizer::deliverSwipe(part(sheet, prop::veyView),
                                           UISwipeGestureRecognizerDirectionDown);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"pausePlaySong", "rewindSong", "skipSong",
                                        "openRoutingOptions", "hideVeyView", "openRoutingOptions",
                                        "pausePlaySong", "minimizeMiniPlayer"}));
    EXPECT_EQ(receivers, std::vector<id>(receivers.size(), sheet.get()));
}

TEST_F(PlayerTest, BlurModeChoosesThePanelsMaterialAndOutline) {
    struct Case {
        const char* blurMode;
        int style;      // -1: no material
        double outline; // its white; -1: none
    } cases[] = {{"0", UIBlurEffectStyleLight, 1},
                 {"1", UIBlurEffectStyleDark, 0},
                 {"2", -1, -1},
                 {"3", -1, -1}};
    install();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blurMode);
        blurModeValue = c.blurMode;
        Ref<UIView> sheet = makeSheet();
        auto* effect = part<UIBlurEffect>(sheet, prop::veyBlurEffect);
        auto* blur = part<UIVisualEffectView>(sheet, prop::blurButtonView);
        EXPECT_EQ(blur->effect(), effect);
        EXPECT_EQ(blur->alpha(), 1);
        EXPECT_EQ(effect ? int(effect->style()) : -1, c.style);
        UIColor* outline =
            part<InnerShadowButton>(sheet, prop::veyMiniBackgroundView)->outlineColor();
        EXPECT_TRUE(c.outline < 0 ? !outline
                                  : sameColor(outline, c.outline, c.outline, c.outline, 1));
    }
    // Without the background artwork or the panel the material is chosen all the same.
    blurModeValue = "0";
    backgroundArtworkSwitch = maxiBackgroundSwitch = NO;
    Ref<UIView> sheet = makeSheet();
    EXPECT_EQ(part(sheet, prop::veyBackgroundArtwork), nullptr);
    for (auto& v : sheet->subviews())
        EXPECT_EQ(cast<UIImageView>(v), nullptr);
    EXPECT_TRUE(part(sheet, prop::veyMiniBackgroundView)->isHidden());
    EXPECT_EQ(part<UIBlurEffect>(sheet, prop::veyBlurEffect)->style(), UIBlurEffectStyleLight);
}

TEST_F(PlayerTest, DarkTextUnlessTheOverrideIsOnOverALightStyle) {
    struct Case {
        const char* style;
        bool forced, dark;
    } cases[] = {{"colorFlow", NO, YES},
                 {"lightMode", NO, YES},
                 {"darkMode", YES, YES},
                 {"colorFlow", YES, NO},
                 {"lightMode", YES, NO}};
    install();
    for (const Case& c : cases) {
        styleValue = c.style;
        forcedTheme = c.forced;
        Ref<UIView> sheet = makeSheet();
        UIColor* song = part<UILabel>(sheet, prop::veySongLabel)->textColor();
        UIColor* artist = part<UILabel>(sheet, prop::veyArtistLabel)->textColor();
        // A label's own default is black too: the artist's 0.6 tells the two apart.
        EXPECT_TRUE(!c.dark || sameColor(song, 0, 0, 0, 1)) << c.style;
        EXPECT_EQ(sameColor(artist, 0, 0, 0, 0.6), c.dark) << c.style << " " << c.forced;
    }
}

TEST_F(PlayerTest, SomeStepsGoThroughTheRecordedCoverSheet) {
    install();
    Ref<UIView> receiver = makeSheet(false);
    Ref<UIView> recorded = makeSheet(false); // the most recent one made is the recorded one
    ASSERT_EQ(coversheetView.get(), recorded.get());
    show(receiver);
    ASSERT_TRUE(part(receiver, prop::veyView));
    EXPECT_EQ(part(recorded, prop::veyView), nullptr);
    // Styled through the recorded sheet; icon images and the artwork's parent through it too.
    EXPECT_EQ(receivers, std::vector<id>{recorded.get()});
    EXPECT_EQ(part<UIImageView>(receiver, prop::pausePlayIcon)->image(), nullptr);
    EXPECT_EQ(part(receiver, prop::artworkImageView)->superview(), nullptr);
    EXPECT_EQ(part(receiver, prop::artworkImageView)->contentMode(), UIViewContentModeScaleToFill);
    // The rest is the receiver's own.
    EXPECT_EQ(part(receiver, prop::veySongLabel)->superview(), part(receiver, prop::veyView));
    EXPECT_EQ(part<InnerShadowButton>(receiver, prop::veyMiniBackgroundView)->outlineColor(),
              nullptr);
}
