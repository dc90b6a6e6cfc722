// Steps that the first build and the rebuild take alike.
#include "player/views.h"

#include "player/constraints.h"

namespace player {

int artworkSide() {
    return NSStringIntValue(newArtworkSize);
}
int cornerRadius() {
    return NSStringIntValue(newCornerRadius);
}
int maxiOffset() {
    return NSStringIntValue(maxOffsetValue);
}
int miniOffset() {
    return NSStringIntValue(minOffsetValue);
}
int artworkOffset() {
    return NSStringIntValue(artworkOffsetValue);
}

Ref<UIImage> Build::templateSymbol(std::string_view name) const {
    Ref<UIImage> symbol = UIImage::systemImageNamed(name, symbols.get());
    return symbol ? symbol->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate) : nullptr;
}

void Build::setRecordedSymbol(AttachedProperty<UIImageView> property, std::string_view name) const {
    if (UIImageView* icon = recorded(property)) icon->setImage(templateSymbol(name));
}

UIButton* addButton(const Build& b, AttachedProperty<UIButton> property, const char* action) {
    UIButton* button = b.keep(property, UIView::make<UIButton>());
    onTap(button, b.sheet, action);
    b.veyView()->addSubview(button);
    return button;
}

InnerShadowButton* makePanel(const Build& b) {
    InnerShadowButton* panel =
        b.keep(prop::veyMiniBackgroundView,
               UIButton::buttonWithType<InnerShadowButton>(UIButtonTypeCustom));
    panel->setOutlineWidth(NSStringFloatValue(glassWidth));
    onTap(panel, b.sheet, "pausePlaySong");
    return panel;
}

UIImageView* addFillingIcon(const Build& b, AttachedProperty<UIImageView> property,
                            UIButton* button) {
    UIImageView* icon = b.keep(property, UIView::make<UIImageView>(button->bounds()));
    icon->setAutoresizingMask(kFlexibleSize);
    button->addSubview(icon);
    return icon;
}

UIImageView* addSideIcon(const Build& b, UIButton* button, bool rewind) {
    UIImageView* icon =
        b.keep(rewind ? prop::rewindIcon : prop::skipIcon, UIView::make<UIImageView>());
    icon->setFrame(CGRectMake(0, 0, 0.125 * b.W(), 0.125 * b.W()));
    icon->setTransform(CGAffineTransformMakeScale(0.75, 0.55));
    button->addSubview(icon);
    return icon;
}

UILabel* addTextLabel(const Build& b, AttachedProperty<UILabel> property) {
    UILabel* label = b.keep(property, UIView::make<UILabel>());
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setMarqueeEnabled(YES);
    label->setMarqueeRunning(YES);
    b.veyView()->addSubview(label);
    return label;
}

UILabel* addArtistLabel(const Build& b) {
    UILabel* label = addTextLabel(b, prop::veyArtistLabel);
    label->setFont(UIFont::systemFontOfSize(0.043 * b.W(), UIFontWeightMedium));
    label->setAlpha(0.7);
    return label;
}

UIButton* addArtworkButton(const Build& b) {
    UIButton* button = b.keep(prop::veyArtworkButton, UIView::make<UIButton>());
    button->setAutoresizingMask(kFlexibleSize);
    onTap(button, b.sheet, "hideVeyView");
    b.veyView()->addSubview(button);
    return button;
}

void chooseBlurMaterial(const Build& b) {
    auto outline = [](UIColor* color) {
        if (auto* panel = Build::recorded(prop::veyMiniBackgroundView))
            panel->setOutlineColor(color);
    };
    switch (NSStringIntValue(blurModeValue)) {
    case kBlurModeLight:
        b.keep(prop::veyBlurEffect, UIBlurEffect::effectWithStyle(UIBlurEffectStyleLight));
        outline(UIColor::whiteColor());
        break;
    case kBlurModeDark:
        b.keep(prop::veyBlurEffect, UIBlurEffect::effectWithStyle(UIBlurEffectStyleDark));
        outline(UIColor::blackColor());
        break;
    case kBlurModeNone:
        setAttached(b.sheet, prop::veyBlurEffect, nullptr);
        break;
    default:
        break;
    }
}

void roundPanel(UIView* panel) {
    panel->layer()->setCornerRadius(cornerRadius() * 1.2);
    panel->layer()->setCornerCurve(kCACornerCurveContinuous);
    panel->layer()->setMasksToBounds(YES);
}

UIVisualEffectView* addMaterial(const Build& b, UIView* into) {
    Ref<UIVisualEffectView> material =
        UIVisualEffectView::makeWithEffect(b.own(prop::veyBlurEffect));
    material->setFrame(into->bounds());
    material->setAutoresizingMask(kFlexibleSize);
    material->setAlpha(1);
    into->addSubview(material);
    return material.get();
}

void placeAppIcon(const Build& b) {
    double inset = artworkSide() / 10;
    UIImageView* artwork = b.own(prop::artworkImageView);
    UIImageView* icon = b.own(prop::nowPlayingAppIcon);
    if (!artwork || !icon) return;
    constrain(icon->centerXAnchor(), artwork->rightAnchor(), -inset);
    constrain(icon->centerYAnchor(), artwork->bottomAnchor(), -inset);
}

void addDownSwipe(const Build& b) {
    UISwipeGestureRecognizer* swipe =
        b.keep(prop::downSwipe,
               UIGestureRecognizer::make<UISwipeGestureRecognizer>(b.sheet, "minimizeMiniPlayer"));
    swipe->setDirection(UISwipeGestureRecognizerDirectionDown);
    b.veyView()->addGestureRecognizer(swipe);
}

} // namespace player
