// What the first build and every rebuild of the player share: the settings that size it, one
// build's context, and the steps that make a view the same way in both.
#pragma once

#include "controls/InnerShadowButton.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/uikit/uikit.h"

#include <string_view>

namespace player {

constexpr UIViewAutoresizing kFlexibleSize =
    UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight;

// Settings, converted at each use. Sizes that are halved or divided by ten stay integers.
int artworkSide();
int cornerRadius();
int maxiOffset();
int miniOffset();
int artworkOffset();

// One build on one cover sheet. The quantities are read when a step asks for them, so a step
// sees the tree as the steps before it left it.
struct Build {
    UIView* sheet;
    // Symbols are drawn with this configuration; the rebuild has none.
    Ref<UIImageSymbolConfiguration> symbols;

    double CW() const { return sheet->bounds().size.width; }
    double CH() const { return sheet->bounds().size.height; }
    double W() const {
        UIView* root = veyView();
        return root ? root->bounds().size.width : 0;
    }
    UIView* veyView() const { return attached(sheet, prop::veyView); }

    template <class T, class V> V* keep(AttachedProperty<T> property, const Ref<V>& value) const {
        setAttached(sheet, property, value.get());
        return value.get();
    }
    template <class T> T* own(AttachedProperty<T> property) const {
        return attached(sheet, property);
    }
    // Some steps reach the player through the recorded cover sheet rather than the receiver;
    // the two are one view whenever the host made it with initWithFrame:.
    template <class T> static T* recorded(AttachedProperty<T> property) {
        return attached(coversheetView.get(), property);
    }

    // A symbol as a template image, so that it takes the style's tint.
    Ref<UIImage> templateSymbol(std::string_view name) const;
    void setRecordedSymbol(AttachedProperty<UIImageView> property, std::string_view name) const;
};

// A new button with its tap action, added to the player.
UIButton* addButton(const Build& b, AttachedProperty<UIButton> property, const char* action);
// The outlined panel behind the controls, not yet added.
InnerShadowButton* makePanel(const Build& b);
// An image view that fills `button` and follows its size.
UIImageView* addFillingIcon(const Build& b, AttachedProperty<UIImageView> property,
                            UIButton* button);
// The rewind or skip icon inside its button, squeezed as the symbols are drawn; no image yet.
UIImageView* addSideIcon(const Build& b, UIButton* button, bool rewind);
// A centred label that scrolls text wider than itself, added to the player.
UILabel* addTextLabel(const Build& b, AttachedProperty<UILabel> property);
UILabel* addArtistLabel(const Build& b);
// The artwork's hit area; it has no image or title.
UIButton* addArtworkButton(const Build& b);
// The panel's material by "blurMode"; an unknown mode leaves both as they are.
void chooseBlurMaterial(const Build& b);
// The panel's rounded corners.
void roundPanel(UIView* panel);
// A view of the player's material filling `into`.
UIVisualEffectView* addMaterial(const Build& b, UIView* into);
// The playing app's icon, inside the artwork's bottom-right corner.
void placeAppIcon(const Build& b);
void addDownSwipe(const Build& b);

} // namespace player
