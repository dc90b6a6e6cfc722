// Builds the player's view tree, in its maxi layout, the first time a cover sheet enters a
// window. Sizes are fractions of the player's width W, plus the settings in points or per cent.
#include "entry/hooks.h"
#include "player/constraints.h"
#include "player/views.h"

using namespace player;

namespace {

void buildRoot(const Build& b) {
    UIView* root = b.keep(prop::veyView, UIView::make(b.sheet->bounds()));
    root->setAutoresizingMask(kFlexibleSize);
    root->setHidden(YES);
    b.sheet->addSubview(root);
    double S = artworkSide(), Omax = maxiOffset(), Oart = artworkOffset();
    double y = b.CH() - 0.54 * b.CW() - S - b.CW() * Omax / 100 - b.CH() * Oart / 100;
    root->setFrame(CGRectMake(0, y, b.CW(), 0.45 * b.CW() + S + b.CH() * Oart / 100));
}

void buildBackgroundArtwork(const Build& b) {
    UIImageView* background =
        b.keep(prop::veyBackgroundArtwork, UIView::make<UIImageView>(b.sheet->bounds()));
    background->setAutoresizingMask(kFlexibleSize);
    background->setContentMode(UIViewContentModeScaleAspectFill);
    b.sheet->insertSubview(background, 0);
}

void buildSourceLabel(const Build& b) {
    UILabel* label = b.keep(prop::veySourceLabel, UIView::make<UILabel>());
    if (showDeviceNameSwitch)
        label->setText(stringWithFormat("%@", {UIDevice::currentDevice()->name()}));
    else
        label->setHidden(YES);
    label->setTextColor(UIColor::whiteColor());
    label->setFont(UIFont::systemFontOfSize(0.024 * b.W(), UIFontWeightRegular));
    label->setTextAlignment(NSTextAlignmentCenter);
    b.veyView()->addSubview(label);
    useConstraints(label);
    constrainSize(label->widthAnchor(), b.W());
    constrainSize(label->heightAnchor(), 0.057 * b.W());
    constrain(label->centerXAnchor(), b.veyView()->centerXAnchor());
    constrain(label->centerYAnchor(), b.sheet->bottomAnchor(), -0.057 * b.W());
    // Hidden or not, it keeps its place: the buttons are placed from it.
    label->setHidden(!showDeviceNameSwitch);
}

void buildPauseButton(const Build& b) {
    UIButton* button = addButton(b, prop::veyPauseButton, "pausePlaySong");
    useConstraints(button);
    constrainSquare(button, 0.1 * b.W());
    constrain(button->centerXAnchor(), b.veyView()->centerXAnchor());
    constrain(button->centerYAnchor(), b.own(prop::veySourceLabel)->topAnchor(),
              -0.12 * b.W() - b.W() * maxiOffset() / 100);
    addFillingIcon(b, prop::pausePlayIcon, button);
    b.setRecordedSymbol(prop::pausePlayIcon, "play.fill");
}

// Rewind and skip: the same button on either side of the pause button.
void buildSideButton(const Build& b, bool rewind) {
    UIButton* button = addButton(b, rewind ? prop::veyRewindButton : prop::veySkipButton,
                                 rewind ? "rewindSong" : "skipSong");
    useConstraints(button);
    constrainSquare(button, 0.125 * b.W());
    UIButton* pause = b.own(prop::veyPauseButton);
    if (rewind)
        constrain(button->centerXAnchor(), pause->leftAnchor(), -0.12 * b.W());
    else
        constrain(button->centerXAnchor(), pause->rightAnchor(), 0.12 * b.W());
    constrain(button->centerYAnchor(), pause->centerYAnchor());
    addSideIcon(b, button, rewind);
    b.setRecordedSymbol(rewind ? prop::rewindIcon : prop::skipIcon,
                        rewind ? "backward.fill" : "forward.fill");
}

void buildRouteButton(const Build& b) {
    UIButton* button = addButton(b, prop::veyAirplayButton, "openRoutingOptions");
    useConstraints(button);
    constrainSquare(button, 0.125 * b.W());
    constrain(button->centerXAnchor(), b.own(prop::veySkipButton)->rightAnchor(), 0.1 * b.W());
    constrain(button->centerYAnchor(), b.own(prop::veyPauseButton)->centerYAnchor());
    UIImageView* icon = b.keep(prop::airplayIcon, UIView::make<UIImageView>());
    icon->setTransform(CGAffineTransformMakeScale(1, 1));
    icon->setFrame(CGRectMake(0, 0, 0.125 * b.W(), 0.125 * b.W()));
    icon->setAlpha(0.7);
    icon->setTransform(CGAffineTransformIdentity);
    // The generic route symbol is drawn narrower than a device image.
    icon->setTransform(defaultAirplay ? CGAffineTransformMakeScale(0.575, 0.55)
                                      : CGAffineTransformMakeScale(0.75, 0.55));
    button->addSubview(icon);
    b.setRecordedSymbol(prop::airplayIcon, "airplayaudio");
}

// The two text labels span the cover sheet less a margin on each side.
void constrainToMargins(const Build& b, UILabel* label) {
    useConstraints(label);
    constrain(label->leadingAnchor(), b.sheet->leadingAnchor(), 0.072 * b.W());
    constrain(label->trailingAnchor(), b.sheet->trailingAnchor(), -0.072 * b.W());
}

void buildArtistLabel(const Build& b) {
    UILabel* label = addArtistLabel(b);
    constrainToMargins(b, label);
    constrainSize(label->heightAnchor(), 0.072 * b.W());
    double gap = isIOSVersionAtLeast(16) ? 0.114 : 0.134;
    constrain(label->centerYAnchor(), b.own(prop::veyPauseButton)->topAnchor(), -gap * b.W());
}

void buildSongLabel(const Build& b) {
    UILabel* label = addTextLabel(b, prop::veySongLabel);
    label->setFont(UIFont::systemFontOfSize(0.0772 * b.W(), UIFontWeightBold));
    constrainToMargins(b, label);
    constrain(label->centerYAnchor(), b.own(prop::veyArtistLabel)->topAnchor(), -0.048 * b.W());
    constrainSize(label->heightAnchor(), 0.108 * b.W());
}

void buildArtwork(const Build& b) {
    int S = artworkSide();
    UIImageView* artwork = b.keep(prop::artworkImageView, UIView::make<UIImageView>());
    if (UIImageView* shown = Build::recorded(prop::artworkImageView)) {
        shown->setAutoresizingMask(kFlexibleSize);
        if (UIView* root = Build::recorded(prop::veyView)) root->addSubview(shown);
    }
    artwork->layer()->setCornerRadius(cornerRadius());
    artwork->layer()->setCornerCurve(kCACornerCurveContinuous);
    useConstraints(artwork);
    constrainSquare(artwork, S);
    constrain(artwork->centerXAnchor(), b.veyView()->centerXAnchor());
    constrain(artwork->centerYAnchor(), b.own(prop::veySongLabel)->topAnchor(),
              -0.006 * b.W() - double(S / 2) - b.CH() * artworkOffset() / 100);
    artwork->layer()->setMasksToBounds(YES);
    if (UIImageView* shown = Build::recorded(prop::artworkImageView))
        shown->setContentMode(UIViewContentModeScaleAspectFill);
    if (borderEnabled) artwork->layer()->setBorderWidth(double(S / 100));
    if (borderFrameEnabled)
        if (UIView* panel = b.own(prop::veyMiniBackgroundView))
            panel->layer()->setBorderWidth(0.95 * b.W() / 250);
}

void buildAppIcon(const Build& b) {
    int S = artworkSide();
    UIImageView* artwork = b.own(prop::artworkImageView);
    UIImageView* icon =
        b.keep(prop::nowPlayingAppIcon, UIView::make<UIImageView>(artwork->bounds()));
    b.veyView()->addSubview(icon);
    icon->setImage(nowPlayingImage ? nowPlayingImage->image() : nullptr);
    useConstraints(icon);
    constrainSquare(icon, double(S / 10));
    placeAppIcon(b);
}

// Dark text to start with, unless the light override is on over a style other than dark.
void applyDarkText(const Build& b) {
    if (forcedTheme && styleValue != "darkMode") return;
    b.own(prop::veySongLabel)->setTextColor(UIColor::blackColor());
    b.own(prop::veyArtistLabel)->setTextColor(UIColor::colorWithRed(0, 0, 0, 0.6));
    b.setRecordedSymbol(prop::rewindIcon, "backward.fill");
    b.setRecordedSymbol(prop::skipIcon, "forward.fill");
}

// An invisible hit area exactly over the artwork.
void buildArtworkButton(const Build& b) {
    UIButton* button = addArtworkButton(b);
    useConstraints(button);
    constrainSquare(button, artworkSide());
    centreOn(button, b.own(prop::artworkImageView));
}

// The panel behind the labels and buttons, with its blur inside.
void placePanel(const Build& b) {
    UIView* panel = b.own(prop::veyMiniBackgroundView);
    useConstraints(panel);
    constrain(panel->centerYAnchor(), b.own(prop::veyArtistLabel)->centerYAnchor(), 0.055 * b.W());
    constrainSize(panel->widthAnchor(), 0.95 * b.W());
    constrainSize(panel->heightAnchor(), 0.47 * 0.95 * b.W());
    constrain(panel->centerXAnchor(), b.veyView()->centerXAnchor());
    roundPanel(panel);
    setAttached(b.sheet, prop::blurButtonView, addMaterial(b, panel));
}

// A second route button; it is given no size.
void buildPlayingSource(const Build& b) {
    UIButton* button = b.keep(prop::playingSource, UIView::make<UIButton>());
    button->setImage(UIImage::systemImageNamed("airplayaudio"), UIControlStateNormal);
    onTap(button, b.sheet, "openRoutingOptions");
    b.veyView()->addSubview(button);
}

} // namespace

void CSCoverSheetView_didMoveToWindow(id self, SEL _cmd) {
    callIMP(orig_CSCoverSheetView_didMoveToWindow, self, _cmd);
    UIView* sheet = cast<UIView>(self);
    // Built once per cover sheet, however often it changes windows.
    if (!sheet || attached(sheet, prop::veyView)) return;

    sheet->layer()->setMasksToBounds(YES);
    setAttached(sheet, prop::glitchCharacters,
                NSArray::make({NSString::make("0"), NSString::make("1"), NSString::make("X"),
                               NSString::make("!")}));
    Build b{sheet,
            UIImageSymbolConfiguration::configurationWithFont(
                UIFont::preferredFontForTextStyle(UIFontTextStyleBody), UIImageSymbolScaleLarge)};

    buildRoot(b);
    InnerShadowButton* panel = makePanel(b);
    send(coversheetView.get(), "processStyle:shouldGenerate:", static_cast<id>(highresImage.get()),
         YES);
    if (backgroundArtworkSwitch) buildBackgroundArtwork(b);
    b.veyView()->addSubview(panel);

    buildSourceLabel(b);
    buildPauseButton(b);
    buildSideButton(b, true);
    buildSideButton(b, false);
    buildRouteButton(b);
    buildArtistLabel(b);
    buildSongLabel(b);
    buildArtwork(b);
    buildAppIcon(b);
    applyDarkText(b);
    buildArtworkButton(b);
    chooseBlurMaterial(b);
    placePanel(b);
    buildPlayingSource(b);
    panel->setHidden(!maxiBackgroundSwitch);
    addDownSwipe(b);
}
