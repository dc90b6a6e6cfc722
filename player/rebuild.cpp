// The rebuild after a layout switch: the old controls go, new ones are made, placed for the
// other layout and brought in one after another.
#include "player/constraints.h"
#include "player/modes.h"
#include "player/views.h"

namespace player {

namespace {

// The controls a rebuild replaces, in the order they are taken down.
const AttachedProperty<UIView> kReplaced[] = {
    prop::veyPauseButton,        prop::veyRewindButton,  prop::veySkipButton,
    prop::veySongLabel,          prop::veyArtistLabel,   prop::artworkImageView,
    prop::veyMiniBackgroundView, prop::dismissIcon,      prop::veyDissmissButton,
    prop::veyAirplayButton,      prop::veyArtworkButton, prop::nowPlayingAppIcon};

void restyle() {
    send(coversheetView.get(), "processStyle:shouldGenerate:", static_cast<id>(highresImage.get()),
         NO);
}

// The panel is as wide as the host's notification list; 0.95 W until that list is known.
double panelWidth(const Build& b) {
    if (notificationView && !notificationView->subviews().empty())
        return notificationView->subviews().front()->bounds().size.width;
    return 0.95 * b.W();
}

bool panelShown(bool maxi) {
    return (maxi ? maxiBackgroundSwitch : miniBackgroundSwitch) &&
           NSStringIntValue(blurModeValue) != kBlurModeNone;
}

// The layout's frame is where the player rests: a collapse, if one is in place, still slides
// it from there.
void placeRoot(UIView* root, CGRect frame) {
    CGAffineTransform slide = root->transform();
    root->setTransform(CGAffineTransformIdentity);
    root->setFrame(frame);
    root->setTransform(slide);
}

void createControls(const Build& b) {
    UIView* root = b.veyView();
    UIButton* dismiss = addButton(b, prop::veyDissmissButton, "minimizeMiniPlayer");
    dismiss->setContentMode(UIViewContentModeScaleAspectFill);
    UIImageView* chevronView =
        b.keep(prop::dismissIcon, UIView::make<UIImageView>(dismiss->bounds()));
    chevronView->setContentMode(UIViewContentModeScaleAspectFill);
    chevronView->setAutoresizingMask(kFlexibleSize);
    chevronView->setImage(chevron("chevron.down"));
    dismiss->addSubview(chevronView);
    chevronView->setAlpha(0.7);

    InnerShadowButton* panel = makePanel(b);
    root->addSubview(panel);

    UIImageView* artwork = b.keep(prop::artworkImageView, UIView::make<UIImageView>());
    artwork->setAutoresizingMask(kFlexibleSize);
    artwork->layer()->setCornerRadius(cornerRadius());
    artwork->layer()->setCornerCurve(kCACornerCurveContinuous);
    artwork->layer()->setMasksToBounds(YES);
    artwork->setContentMode(UIViewContentModeScaleAspectFill);
    root->addSubview(artwork);
    root->addSubview(b.keep(prop::nowPlayingAppIcon, UIView::make<UIImageView>(artwork->bounds())));
    addArtworkButton(b)->setHidden(YES);

    UIButton* pause = addButton(b, prop::veyPauseButton, "pausePlaySong");
    pause->setContentMode(UIViewContentModeScaleAspectFill);
    addFillingIcon(b, prop::pausePlayIcon, pause);
    for (bool rewind : {true, false}) {
        UIButton* button = addButton(b, rewind ? prop::veyRewindButton : prop::veySkipButton,
                                     rewind ? "rewindSong" : "skipSong");
        addSideIcon(b, button, rewind)
            ->setImage(b.templateSymbol(rewind ? "backward.fill" : "forward.fill"));
    }
    // The route icon stays for the life of the player and moves into each new button.
    UIButton* route = addButton(b, prop::veyAirplayButton, "openRoutingOptions");
    if (UIImageView* icon = b.own(prop::airplayIcon)) route->addSubview(icon);
    addArtistLabel(b);
    addTextLabel(b, prop::veySongLabel);
    if (UIButton* source = b.own(prop::playingSource)) root->addSubview(source);

    roundPanel(panel);
    chooseBlurMaterial(b);
    setAttached(b.sheet, prop::blurButtonView, addMaterial(b, panel));
    dismiss->layer()->setCornerRadius(0.045 * b.W());
    dismiss->layer()->setMasksToBounds(YES);
    dismiss->setAlpha(0);
    // From here on the attached material is the dismiss button's.
    UIVisualEffectView* dismissMaterial = addMaterial(b, dismiss);
    dismissMaterial->setUserInteractionEnabled(NO);
    setAttached(b.sheet, prop::blurButtonView, dismissMaterial);
    dismiss->addSubview(chevronView); // above the material
    route->layer()->setMasksToBounds(YES);
}

void constrainCommon(const Build& b) {
    double W = b.W();
    UIButton* pause = b.own(prop::veyPauseButton);
    useConstraints(pause);
    constrainSquare(pause, 0.1 * W);
    for (UIButton* side : {b.own(prop::veyRewindButton), b.own(prop::veySkipButton)}) {
        useConstraints(side);
        constrainSquare(side, 0.125 * W);
    }
    UILabel* artist = b.own(prop::veyArtistLabel);
    useConstraints(artist);
    constrainSize(artist->heightAnchor(), 0.072 * W);
    UILabel* song = b.own(prop::veySongLabel);
    song->setFont(UIFont::systemFontOfSize(0.043 * W, UIFontWeightBold));
    useConstraints(song);
    constrain(song->trailingAnchor(), b.sheet->trailingAnchor(), -0.072 * W);
    constrainSize(song->heightAnchor(), 0.108 * W);
    UIView* panel = b.own(prop::veyMiniBackgroundView);
    useConstraints(panel);
    constrainSize(panel->widthAnchor(), panelWidth(b));
    constrain(panel->centerXAnchor(), b.veyView()->centerXAnchor());
    UIButton* dismiss = b.own(prop::veyDissmissButton);
    useConstraints(dismiss);
    constrainSquare(dismiss, 0.09 * W);

    UIImageView* artwork = b.own(prop::artworkImageView);
    artwork->layer()->setMasksToBounds(YES);
    artwork->setContentMode(UIViewContentModeScaleAspectFill);
    artwork->setImage(highresImage);
    song->setText(coverName);
    artist->setText(artistName);
    UIImageView* icon = b.own(prop::nowPlayingAppIcon);
    icon->setImage(nowPlayingImage ? nowPlayingImage->image() : nullptr);
    useConstraints(icon);
    constrainSquare(icon, double(artworkSide() / 10));
    addDownSwipe(b);
}

// The layout's frame and the constraints and states that differ between maxi and mini.
void placeControls(const Build& b, bool maxi) {
    double W = b.W(), CW = b.CW(), CH = b.CH();
    int S = artworkSide(), R = cornerRadius();
    double Omax = maxiOffset(), Omin = miniOffset(), Oart = artworkOffset();
    UIView* root = b.veyView();
    if (maxi)
        placeRoot(root, CGRectMake(0, CH - 0.54 * CW - S - CW * Omax / 100 - CH * Oart / 100, CW,
                                   S + 0.45 * CW + CH * Oart / 100));
    else
        placeRoot(root, CGRectMake(0, CH - 0.65 * CW - CW * Omin / 100, CW, 0.6 * CW));

    UIView* sheet = b.sheet;
    UIImageView* artwork = b.own(prop::artworkImageView);
    UIButton* artworkButton = b.own(prop::veyArtworkButton);
    UIButton* pause = b.own(prop::veyPauseButton);
    UILabel* artist = b.own(prop::veyArtistLabel);
    UILabel* song = b.own(prop::veySongLabel);
    UILabel* source = b.own(prop::veySourceLabel);
    UIView* panel = b.own(prop::veyMiniBackgroundView);
    UIButton* route = b.own(prop::veyAirplayButton);
    UIButton* dismiss = b.own(prop::veyDissmissButton);
    double side = maxi ? S : 0.345 * W;

    useConstraints(artwork);
    constrainSquare(artwork, side);
    constrain(artwork->centerXAnchor(), root->centerXAnchor(), maxi ? 0 : -0.255 * W);
    if (maxi)
        constrain(artwork->centerYAnchor(), song->topAnchor(),
                  -0.009 * W - double(S / 2) - CH * Oart / 100);
    else if (source)
        constrain(artwork->centerYAnchor(), source->topAnchor(), -W * Omin / 100 - 0.205 * W);
    artwork->layer()->setCornerRadius(maxi ? R : R / 2);
    useConstraints(artworkButton);
    constrainSquare(artworkButton, side);
    centreOn(artworkButton, artwork);

    useConstraints(pause);
    if (maxi) {
        constrain(pause->centerXAnchor(), root->centerXAnchor());
        if (source)
            constrain(pause->centerYAnchor(), source->topAnchor(), -W * Omax / 100 - 0.12 * W);
    } else {
        constrain(pause->centerXAnchor(), song->centerXAnchor());
        constrain(pause->centerYAnchor(), artwork->centerYAnchor(), 0.09 * W);
    }
    constrain(artist->leadingAnchor(), sheet->leadingAnchor(), (maxi ? 0.072 : 0.525) * W);
    constrain(artist->trailingAnchor(), sheet->trailingAnchor(), -(maxi ? 0.072 : 0.142) * W);
    if (maxi)
        constrain(artist->centerYAnchor(), pause->topAnchor(),
                  -(isIOSVersionAtLeast(16) ? 0.114 : 0.134) * W);
    else
        constrain(artist->centerYAnchor(), song->topAnchor(), -0.02 * W);
    constrain(song->leadingAnchor(), sheet->leadingAnchor(), (maxi ? 0.072 : 0.455) * W);
    if (maxi) {
        constrain(song->centerYAnchor(), artist->topAnchor(), -0.048 * W);
        song->setFont(UIFont::systemFontOfSize(0.0772 * W, UIFontWeightBold));
    } else {
        constrain(song->centerYAnchor(), artwork->centerYAnchor(), -0.035 * W);
        song->setFont(UIFont::systemFontOfSize(0.073 * W, UIFontWeightSemibold));
    }
    double buttonGap = (maxi ? 0.12 : 0.1) * W;
    constrain(b.own(prop::veyRewindButton)->centerXAnchor(), pause->leftAnchor(), -buttonGap);
    constrain(b.own(prop::veySkipButton)->centerXAnchor(), pause->rightAnchor(), buttonGap);

    if (maxi) {
        constrainSize(panel->heightAnchor(), 0.47 * panelWidth(b));
        constrain(panel->centerYAnchor(), artist->centerYAnchor(), 0.055 * W);
    } else {
        constrainSize(panel->heightAnchor(), 0.425 * W);
        constrain(panel->centerYAnchor(), artwork->centerYAnchor());
    }
    double routeSide = (maxi ? 0.125 : 0.09) * W;
    useConstraints(route);
    constrainSquare(route, routeSide);
    if (maxi) {
        constrain(route->centerXAnchor(), b.own(prop::veySkipButton)->rightAnchor(), 0.1 * W);
        constrain(route->centerYAnchor(), pause->centerYAnchor());
    } else {
        constrain(route->centerXAnchor(), panel->rightAnchor(), -0.07 * W);
        constrain(route->centerYAnchor(), panel->topAnchor(), 0.07 * W);
    }
    if (UIImageView* icon = b.own(prop::airplayIcon)) {
        icon->setTransform(CGAffineTransformMakeScale(1, 1));
        icon->setFrame(CGRectMake(0, 0, routeSide, routeSide));
    }
    if (!maxi) {
        constrain(dismiss->centerXAnchor(), panel->rightAnchor(), -0.07 * W);
        constrain(dismiss->centerYAnchor(), panel->topAnchor(), -0.07 * W);
    }
    dismiss->setHidden(maxi);
    panel->setHidden(!panelShown(maxi));
    b.own(prop::nowPlayingAppIcon)->setHidden(!maxi);
    minimized = !maxi;
    if (borderEnabled) artwork->layer()->setBorderWidth(maxi ? S / 100 : S / 200);
    if (borderFrameEnabled) panel->layer()->setBorderWidth(0.95 * W / 250);
}

// The maxi artwork grows in with a small overshoot. A collapse left from the mini player is
// undone on the way, so the maxi player never rests off screen.
void enterMaxi(const Build& b) {
    UIImageView* artwork = b.own(prop::artworkImageView);
    artwork->setTransform(CGAffineTransformMakeScale(0.9, 0.9));
    if (auto* shown = Build::recorded(prop::artworkImageView)) shown->setAlpha(0);
    b.own(prop::veyMiniBackgroundView)->setAlpha(0);
    Ref<UIView> keep = b.sheet;
    animate(
        0.15, 0,
        [&] {
            artwork->setTransform(CGAffineTransformMakeScale(1.05, 1.05));
            artwork->setAlpha(0.9);
            if (!hidden) return;
            b.veyView()->setTransform(CGAffineTransformIdentity);
            hidden = NO;
            if (auto* background = Build::recorded(prop::veyBackgroundArtwork))
                background->setAlpha(1);
        },
        [keep](bool) {
            animate(0.09, 0, [&] {
                if (auto* artwork = attached(keep, prop::artworkImageView)) {
                    artwork->setTransform(CGAffineTransformMakeScale(1, 1));
                    artwork->setAlpha(1);
                }
            });
        });
}

// The mini artwork comes in from the left, where the switch to maxi sends it.
void enterMini(const Build& b) {
    double W = b.W();
    UIImageView* artwork = b.own(prop::artworkImageView);
    artwork->setTransform(translatedScaled(-0.4175 * W, 0, 0.9, 0.9));
    spring(0.25, 0, [&] {
        artwork->setTransform(CGAffineTransformIdentity);
        if (newTimeSlider) newTimeSlider->setAlpha(0);
    });
    UIImageView* icon = b.own(prop::dismissIcon);
    spring(0.45, 0, [&] { icon->setTransform(CGAffineTransformIdentity); });
    turnChevron(b.sheet, 0.07 * W, "", 0.01 * W);
}

void setIconImages(const Build& b) {
    if (auto* icon = b.own(prop::pausePlayIcon))
        icon->setImage(b.templateSymbol(isPlayingMusic ? "pause.fill" : "play.fill"));
}

void finish(const Build& b) {
    double W = b.W();
    placeAppIcon(b);
    UIImageView* artwork = b.own(prop::artworkImageView);
    for (auto& sub : artwork->subviews())
        if (auto* image = cast<UIImageView>(sub.get()))
            image->setContentMode(UIViewContentModeScaleAspectFill);
    UIButton* pause = b.own(prop::veyPauseButton);
    for (auto& sub : pause->subviews()) {
        sub->setContentMode(UIViewContentModeScaleAspectFill);
        sub->setAutoresizingMask(kFlexibleSize);
    }
    UIButton* rewind = b.own(prop::veyRewindButton);
    UIButton* skip = b.own(prop::veySkipButton);
    constrain(rewind->centerYAnchor(), pause->centerYAnchor());
    constrain(skip->centerYAnchor(), pause->centerYAnchor());

    setIconImages(b);
    if (styleValue == "darkMode" && !forcedTheme) {
        setIconImages(b);
        b.own(prop::rewindIcon)->setImage(b.templateSymbol("backward.fill"));
        b.own(prop::skipIcon)->setImage(b.templateSymbol("forward.fill"));
        b.own(prop::dismissIcon)->setImage(chevron("chevron.down"));
    }
    if (UIImageView* icon = b.own(prop::airplayIcon)) {
        icon->setTransform(CGAffineTransformIdentity);
        // The generic route symbol is drawn narrower than a device image.
        icon->setTransform(defaultAirplay ? CGAffineTransformMakeScale(0.575, 0.55)
                                          : CGAffineTransformMakeScale(0.75, 0.55));
    }

    UILabel* song = b.own(prop::veySongLabel);
    UILabel* artist = b.own(prop::veyArtistLabel);
    UIView* panel = b.own(prop::veyMiniBackgroundView);
    UIButton* route = b.own(prop::veyAirplayButton);
    UIButton* dismiss = b.own(prop::veyDissmissButton);
    for (UIView* view :
         std::initializer_list<UIView*>{pause, rewind, skip, song, artist, panel, route})
        view->setAlpha(0);
    pause->setTransform(CGAffineTransformMakeScale(1.0, 0.0));
    rewind->setTransform(CGAffineTransformMakeTranslation(0.055 * W, 0));
    skip->setTransform(CGAffineTransformMakeTranslation(-0.055 * W, 0));
    panel->setTransform(CGAffineTransformMakeTranslation(0, 0.055 * W));
    dismiss->setTransform(CGAffineTransformMakeTranslation(0, 0.1 * W));
    route->setTransform(CGAffineTransformMakeTranslation(0.5, 0.5));

    send(coversheetView.get(), "hidePlayer");

    UIImageView* appIcon = b.own(prop::nowPlayingAppIcon);
    UIButton* artworkButton = b.own(prop::veyArtworkButton);
    animate(0.2, 0, [&] {
        panel->setTransform(CGAffineTransformIdentity);
        panel->setAlpha(1);
    });
    animate(0.2, 0.15, [&] {
        for (UIView* view : std::initializer_list<UIView*>{pause, song, route, appIcon})
            view->setAlpha(1);
        route->setTransform(CGAffineTransformMakeTranslation(1, 1));
        pause->setTransform(CGAffineTransformMakeScale(1, 1));
    });
    animate(0.2, 0.25, [&] {
        rewind->setAlpha(1);
        skip->setAlpha(1);
        artist->setAlpha(0.7);
        rewind->setTransform(CGAffineTransformMakeTranslation(0, 0));
        skip->setTransform(CGAffineTransformMakeTranslation(0, 0));
    });
    animate(0.01, 0.34, [&] { dismiss->setAlpha(1); });
    // Hidden is not animated: the new artwork can be tapped as soon as this returns.
    animate(0.1, 0.35, [&] {
        dismiss->setTransform(CGAffineTransformMakeTranslation(0, 0));
        artworkButton->setHidden(NO);
    });
    restyle();
}

} // namespace

void rebuildPlayer(UIView* sheet) {
    // Nothing to rebuild before the first build.
    if (!sheet || !attached(sheet, prop::veyView)) return;
    Build b{sheet, nullptr};
    for (AttachedProperty<UIView> property : kReplaced)
        if (UIView* view = attached(sheet, property)) view->removeFromSuperview();
    restyle();
    createControls(b);
    constrainCommon(b);
    bool maxi = minimized;
    placeControls(b, maxi);
    if (maxi)
        enterMaxi(b);
    else
        enterMini(b);
    finish(b);
}

} // namespace player
