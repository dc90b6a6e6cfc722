// Colours for the player: from the artwork, dark, light, or the light override.
#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "media/ColorExtractor.h"
#include "media/image_steps.h"

namespace {

UIColor* colorAt(NSArray* colors, std::size_t index) {
    return colors ? cast<UIColor>(colors->objectAtIndex(index)) : nullptr;
}

void setBorderColor(UIView* view, UIColor* color) {
    if (view && color) view->layer()->setBorderColor(color->CGColor());
}

void setTextColor(UILabel* label, UIColor* color) {
    if (label) label->setTextColor(color);
}

// The panel's outline is a property of its own class, reached by selector.
void setOutlineColor(UIView* panel, UIColor* color) {
    if (respondsToSelector(panel, sel("setOutlineColor:"))) send(panel, "setOutlineColor:", color);
}

void setImages(id self) {
    if (auto* artwork = attached(self, prop::artworkImageView)) artwork->setImage(highresImage);
    if (auto* background = attached(self, prop::veyBackgroundArtwork))
        background->setImage(blurredImage);
}

void sendColors(id self, UIColor* main, UIColor* second) {
    send(self, "applyColorsWithMainColor:secondColor:", main, second);
}

// Restores the colours of the style when the light override goes off.
void restoreStyle(id self, UIView* player) {
    auto* song = attached(self, prop::veySongLabel);
    auto* artist = attached(self, prop::veyArtistLabel);
    auto* artwork = attached(self, prop::artworkImageView);
    auto* panel = attached(self, prop::veyMiniBackgroundView);
    bool dark = styleValue == "darkMode";
    if (dark || styleValue == "lightMode") {
        Ref<UIColor> solid = dark ? UIColor::blackColor() : UIColor::whiteColor();
        Ref<UIColor> border = UIColor::colorWithWhite(dark ? 0.0 : 1.0, 0.7);
        if (player) player->setTintColor(solid);
        setTextColor(song, solid);
        setTextColor(artist, solid);
        setImages(self);
        send(self, "changeTimelineColor:", solid);
        setBorderColor(artwork, border);
        setBorderColor(panel, border);
    } else if (styleValue == "colorFlow") {
        bestColors =
            ColorExtractor::extractDominantColors(highresImage, NSStringIntValue(blurModeValue));
        UIColor* main = colorAt(bestColors, 0);
        UIColor* second = colorAt(bestColors, 1);
        if (player) player->setTintColor(main);
        setTextColor(song, main);
        setTextColor(artist, second);
        setImages(self);
        setBorderColor(artwork, second);
        setBorderColor(panel, second);
        setOutlineColor(panel, second);
        if (panel) panel->setNeedsDisplay();
    }
}

} // namespace

void CSCoverSheetView_processStyleShouldGenerate(id self, SEL, id image, bool generate) {
    if (generate && send<bool>(self, "isSameImage:asImageInView:", image,
                               static_cast<id>(attached(self, prop::artworkImageView))))
        return;
    if (styleValue == "darkMode" && !forcedTheme) {
        sendColors(self, UIColor::blackColor(), UIColor::blackColor());
    } else if (styleValue == "lightMode" || forcedTheme) {
        sendColors(self, UIColor::whiteColor(), UIColor::whiteColor());
    } else if (styleValue == "colorFlow") {
        if (generate)
            bestColors = ColorExtractor::extractDominantColors(cast<UIImage>(image),
                                                               NSStringIntValue(blurModeValue));
        UIColor* main = colorAt(bestColors, 0);
        UIColor* second = colorAt(bestColors, 1);
        // No colours were ever extracted: white, as for an artwork-less track.
        if (!main || !second)
            sendColors(self, UIColor::whiteColor(), UIColor::whiteColor());
        else
            sendColors(self, main, second);
    }
    bool render = addBlurSwitch && NSStringIntValue(blurRadius) != 0 && generate;
    send(self, "setImages:shouldGenerate:", image, render);
}

void CSCoverSheetView_applyColors(id self, SEL, id mainColor, id secondColor) {
    Ref<NSObject> cover = self;
    Ref<UIColor> main = cast<UIColor>(mainColor);
    Ref<UIColor> second = cast<UIColor>(secondColor);
    afterDelay(0.1, [cover, main] {
        if (UIView* player = attached(cover, prop::veyView)) player->setTintColor(main);
    });
    send(self, "changeTimelineColor:", main);
    if (auto* song = attached(self, prop::veySongLabel))
        crossDissolve(song, 0.3, [main](UILabel* label) { label->setTextColor(main); });
    if (auto* artist = attached(self, prop::veyArtistLabel))
        crossDissolve(artist, 0.3, [second](UILabel* label) { label->setTextColor(second); });
    afterDelay(0.2, [cover, second] {
        if (auto* artwork = attached(cover, prop::artworkImageView))
            crossDissolve(artwork, 0.1, [second](UIView* view) { setBorderColor(view, second); });
    });
    if (auto* panel = attached(self, prop::veyMiniBackgroundView)) {
        setOutlineColor(panel, second);
        setBorderColor(panel, second);
        crossDissolve(panel, 0.4, [](UIView* view) { view->setNeedsDisplay(); });
    }
}

void CSCoverSheetView_forceLightTheme(id self, SEL) {
    Ref<NSObject> cover = self;
    crossDissolve(attached(self, prop::veyView), 0.3, [cover](UIView* player) {
        if (forcedTheme) {
            forcedTheme = NO;
            restoreStyle(cover, player);
            return;
        }
        forcedTheme = YES;
        Ref<UIColor> white = UIColor::whiteColor();
        if (player) player->setTintColor(white);
        setTextColor(attached(cover, prop::veySongLabel), white);
        setTextColor(attached(cover, prop::veyArtistLabel), white);
        setImages(cover);
        send(cover, "changeTimelineColor:", white);
    });
}

void CSCoverSheetView_changeTimelineColor(id, SEL, id color) {
    if (!newTimeSlider) return;
    auto* tint = cast<UIColor>(color);
    bool firstPlain = true;
    // Copy: the subviews must not change under the walk.
    std::vector<Ref<UIView>> parts = newTimeSlider->subviews();
    for (UIView* part : parts) {
        std::string name = NSStringFromClassName(object_getClass(part));
        if (name == "UIView") {
            part->setTintColor(tint);
            part->setBackgroundColor(tint);
            // The first plain view is the elapsed track; the others are drawn fainter.
            if (!firstPlain) part->setAlpha(0.5);
            firstPlain = false;
        } else if (name == "UILabel") {
            if (auto* label = cast<UILabel>(part)) label->setTextColor(tint);
        }
    }
}
