// What the build makes and wires, once per cover sheet, by the settings and shared state it
// reads.
#include "controls/InnerShadowButton.h"
#include "player_fixture.h"

using namespace playertest;

namespace {

std::vector<std::string> selectors() {
    std::vector<std::string> out;
    for (const Call& c : calls())
        out.push_back(c.selector);
    return out;
}

} // namespace

TEST_F(PlayerTest, BuildsOncePerCoverSheet) {
    install();
    Ref<UIView> sheet = makeSheet();
    auto first = show(sheet);
    UIView* root = part(sheet, prop::veyView);
    ASSERT_TRUE(root);
    std::size_t sheetViews = sheet->subviews().size();
    std::size_t rootViews = root->subviews().size();
    std::size_t constraints = NSLayoutConstraint::activeConstraints().size();
    calls().clear();

    // Out of its window and into another: nothing new.
    sheet->removeFromSuperview();
    auto second = show(sheet);
    EXPECT_EQ(part(sheet, prop::veyView), root);
    EXPECT_EQ(sheet->subviews().size(), sheetViews);
    EXPECT_EQ(root->subviews().size(), rootViews);
    EXPECT_EQ(NSLayoutConstraint::activeConstraints().size(), constraints);
    EXPECT_TRUE(calls().empty()) << "no second restyle";
}

TEST_F(PlayerTest, TreeAndStateAsBuilt) {
    install();
    Ref<UIView> sheet = makeSheet();
    auto window = show(sheet);
    UIView* root = part(sheet, prop::veyView);

    EXPECT_TRUE(sheet->layer()->masksToBounds());
    EXPECT_EQ(sheet->subviews().front().get(), part(sheet, prop::veyBackgroundArtwork));
    EXPECT_EQ(sheet->subviews().back().get(), root);
    auto* background = part<UIImageView>(sheet, prop::veyBackgroundArtwork);
    EXPECT_EQ(background->frame(), sheet->bounds());
    EXPECT_EQ(background->contentMode(), UIViewContentModeScaleAspectFill);
    EXPECT_FALSE(background->isHidden());

    // Back to front within the root view.
    std::vector<UIView*> expected;
    for (AttachedProperty<UIView> name : std::initializer_list<AttachedProperty<UIView>>{
             prop::veyMiniBackgroundView, prop::veySourceLabel, prop::veyPauseButton,
             prop::veyRewindButton, prop::veySkipButton, prop::veyAirplayButton,
             prop::veyArtistLabel, prop::veySongLabel, prop::artworkImageView,
             prop::nowPlayingAppIcon, prop::veyArtworkButton, prop::playingSource})
        expected.push_back(part(sheet, name));
    std::vector<UIView*> actual;
    for (auto& v : root->subviews())
        actual.push_back(v);
    EXPECT_EQ(actual, expected);

    EXPECT_EQ(part<UILabel>(sheet, prop::veySongLabel)->text(), nullptr);
    EXPECT_EQ(part(sheet, prop::veyArtistLabel)->alpha(), 0.7);
    EXPECT_EQ(part(sheet, prop::airplayIcon)->alpha(), 0.7);
    EXPECT_EQ(part(sheet, prop::artworkImageView)->contentMode(), UIViewContentModeScaleAspectFill);

    auto* characters = part<NSArray>(sheet, prop::glitchCharacters);
    ASSERT_TRUE(characters);
    std::string joined;
    for (auto& c : characters->items())
        joined += c->description();
    EXPECT_EQ(joined, "01X!");

    auto* panel = part<InnerShadowButton>(sheet, prop::veyMiniBackgroundView);
    EXPECT_EQ(panel->buttonType(), UIButtonTypeCustom);
    EXPECT_EQ(panel->outlineWidth(), 13);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(part<UIVisualEffectView>(sheet, prop::blurButtonView)->superview(), panel);
}

TEST_F(PlayerTest, TemplateSymbolsShareTheBuildsConfiguration) {
    install();
    Ref<UIView> sheet = makeSheet();
    auto window = show(sheet);
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
    auto window = show(sheet);
    ASSERT_EQ(calls().size(), 1u);
    EXPECT_EQ(calls()[0].selector, "processStyle:shouldGenerate:");
    EXPECT_TRUE(calls()[0].generate);
    calls().clear();

    for (AttachedProperty<UIControl> button : std::initializer_list<AttachedProperty<UIControl>>{
             prop::veyPauseButton, prop::veyRewindButton, prop::veySkipButton,
             prop::veyAirplayButton, prop::veyArtworkButton, prop::playingSource,
             prop::veyMiniBackgroundView})
        part<UIControl>(sheet, button)->sendActionsForControlEvents(UIControlEventTouchUpInside);
    auto* swipe = part<UISwipeGestureRecognizer>(sheet, prop::downSwipe);
    ASSERT_TRUE(swipe);
    EXPECT_EQ(swipe->view(), part(sheet, prop::veyView));
    EXPECT_EQ(swipe->direction(), UISwipeGestureRecognizerDirectionDown);
    swipe->fire();

    EXPECT_EQ(selectors(),
              (std::vector<std::string>{"pausePlaySong", "rewindSong", "skipSong",
                                        "openRoutingOptions", "hideVeyView", "openRoutingOptions",
                                        "pausePlaySong", "minimizeMiniPlayer"}));
    for (const Call& c : calls())
        EXPECT_EQ(c.receiver, sheet.get()) << c.selector;
}

TEST_F(PlayerTest, BackgroundArtworkAndPanelFollowTheirSwitches) {
    install({{"backgroundArtwork", false}, {"veyMaxiBackgroundView", false}, {"blurMode", "0"}});
    Ref<UIView> sheet = makeSheet();
    auto window = show(sheet);
    EXPECT_EQ(part(sheet, prop::veyBackgroundArtwork), nullptr);
    for (auto& v : sheet->subviews())
        EXPECT_EQ(cast<UIImageView>(v), nullptr);
    EXPECT_TRUE(part(sheet, prop::veyMiniBackgroundView)->isHidden());
    // The material is chosen all the same.
    EXPECT_EQ(part<UIBlurEffect>(sheet, prop::veyBlurEffect)->style(), UIBlurEffectStyleLight);
}

class BlurModeTest : public PlayerTest, public ::testing::WithParamInterface<int> {};

TEST_P(BlurModeTest, ChoosesThePanelsMaterialAndOutline) {
    install({{"blurMode", std::to_string(GetParam())}});
    Ref<UIView> sheet = makeSheet();
    auto window = show(sheet);
    auto* effect = part<UIBlurEffect>(sheet, prop::veyBlurEffect);
    UIColor* outline = part<InnerShadowButton>(sheet, prop::veyMiniBackgroundView)->outlineColor();
    auto* blur = part<UIVisualEffectView>(sheet, prop::blurButtonView);
    EXPECT_EQ(blur->effect(), effect);
    EXPECT_EQ(blur->alpha(), 1);
    switch (GetParam()) {
    case 0:
        ASSERT_TRUE(effect);
        EXPECT_EQ(effect->style(), UIBlurEffectStyleLight);
        EXPECT_TRUE(sameColor(outline, 1, 1, 1, 1));
        break;
    case 1:
        ASSERT_TRUE(effect);
        EXPECT_EQ(effect->style(), UIBlurEffectStyleDark);
        EXPECT_TRUE(sameColor(outline, 0, 0, 0, 1));
        break;
    default: // 2 clears the material; any other mode leaves both unset
        EXPECT_EQ(effect, nullptr);
        EXPECT_EQ(outline, nullptr);
        EXPECT_EQ(blur->blurStyle(), -1);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, BlurModeTest, ::testing::Values(0, 1, 2, 3));

TEST_F(PlayerTest, RouteIconScaleFollowsTheShownSymbol) {
    install();
    defaultAirplay = YES;
    Ref<UIView> generic = makeSheet();
    auto a = show(generic);
    defaultAirplay = NO;
    Ref<UIView> device = makeSheet();
    auto b = show(device);
    EXPECT_EQ(part(generic, prop::airplayIcon)->transform(),
              CGAffineTransformMakeScale(0.575, 0.55));
    EXPECT_EQ(part(device, prop::airplayIcon)->transform(), CGAffineTransformMakeScale(0.75, 0.55));
    EXPECT_EQ(part(device, prop::airplayIcon)->bounds().size.width, 0.125 * 390);
}

TEST_F(PlayerTest, DarkTextUnlessTheOverrideIsOnOverALightStyle) {
    struct Case {
        const char* style;
        bool forced;
        bool dark;
    };
    install();
    for (Case c :
         {Case{"colorFlow", NO, YES}, Case{"lightMode", NO, YES}, Case{"darkMode", YES, YES},
          Case{"colorFlow", YES, NO}, Case{"lightMode", YES, NO}}) {
        styleValue = c.style;
        forcedTheme = c.forced;
        Ref<UIView> sheet = makeSheet();
        auto window = show(sheet);
        UIColor* song = part<UILabel>(sheet, prop::veySongLabel)->textColor();
        UIColor* artist = part<UILabel>(sheet, prop::veyArtistLabel)->textColor();
        // A label's own default is black too: the artist's 0.6 tells the two apart.
        if (c.dark) {
            EXPECT_TRUE(sameColor(song, 0, 0, 0, 1)) << c.style;
        }
        EXPECT_EQ(sameColor(artist, 0, 0, 0, 0.6), c.dark) << c.style << " " << c.forced;
        EXPECT_EQ(part<UIImageView>(sheet, prop::skipIcon)->image()->symbolName(), "forward.fill");
    }
}

TEST_F(PlayerTest, SomeStepsGoThroughTheRecordedCoverSheet) {
    install();
    Ref<UIView> receiver = makeSheet();
    Ref<UIView> recorded = makeSheet(); // the most recent one made is the recorded one
    ASSERT_EQ(coversheetView.get(), recorded.get());
    auto window = show(receiver);

    ASSERT_TRUE(part(receiver, prop::veyView));
    EXPECT_EQ(part(recorded, prop::veyView), nullptr);
    // Styled through the recorded sheet; icon images and the artwork's parent through it too.
    ASSERT_EQ(calls().size(), 1u);
    EXPECT_EQ(calls()[0].receiver, recorded.get());
    EXPECT_EQ(part<UIImageView>(receiver, prop::pausePlayIcon)->image(), nullptr);
    EXPECT_EQ(part<UIImageView>(receiver, prop::rewindIcon)->image(), nullptr);
    EXPECT_EQ(part(receiver, prop::artworkImageView)->superview(), nullptr);
    EXPECT_EQ(part(receiver, prop::artworkImageView)->contentMode(), UIViewContentModeScaleToFill);
    // The rest is the receiver's own.
    EXPECT_EQ(part(receiver, prop::veySongLabel)->superview(), part(receiver, prop::veyView));
    EXPECT_EQ(part<InnerShadowButton>(receiver, prop::veyMiniBackgroundView)->outlineColor(),
              nullptr);
}
