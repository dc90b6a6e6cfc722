// Fonts and symbol configurations: values that labels and symbol images carry for the renderer.
#pragma once

#include "platform/foundation/foundation.h"

#include <string>
#include <string_view>

using UIFontWeight = double;
constexpr UIFontWeight UIFontWeightUltraLight = -0.8;
constexpr UIFontWeight UIFontWeightThin = -0.6;
constexpr UIFontWeight UIFontWeightLight = -0.4;
constexpr UIFontWeight UIFontWeightRegular = 0.0;
constexpr UIFontWeight UIFontWeightMedium = 0.23;
constexpr UIFontWeight UIFontWeightSemibold = 0.3;
constexpr UIFontWeight UIFontWeightBold = 0.4;
constexpr UIFontWeight UIFontWeightHeavy = 0.56;
constexpr UIFontWeight UIFontWeightBlack = 0.62;

using UIFontTextStyle = std::string_view;
constexpr UIFontTextStyle UIFontTextStyleLargeTitle = "UICTFontTextStyleTitle0";
constexpr UIFontTextStyle UIFontTextStyleTitle1 = "UICTFontTextStyleTitle1";
constexpr UIFontTextStyle UIFontTextStyleTitle2 = "UICTFontTextStyleTitle2";
constexpr UIFontTextStyle UIFontTextStyleTitle3 = "UICTFontTextStyleTitle3";
constexpr UIFontTextStyle UIFontTextStyleHeadline = "UICTFontTextStyleHeadline";
constexpr UIFontTextStyle UIFontTextStyleBody = "UICTFontTextStyleBody";
constexpr UIFontTextStyle UIFontTextStyleCallout = "UICTFontTextStyleCallout";
constexpr UIFontTextStyle UIFontTextStyleSubheadline = "UICTFontTextStyleSubhead";
constexpr UIFontTextStyle UIFontTextStyleFootnote = "UICTFontTextStyleFootnote";
constexpr UIFontTextStyle UIFontTextStyleCaption1 = "UICTFontTextStyleCaption1";
constexpr UIFontTextStyle UIFontTextStyleCaption2 = "UICTFontTextStyleCaption2";

class UIFont : public NSObject {
    VEY_CLASS(UIFont)
  public:
    static Ref<UIFont> systemFontOfSize(double size, UIFontWeight weight = UIFontWeightRegular);
    // The style's size at the default content size (Body 17, Headline 17 semibold ...); an
    // unknown style reads as Body.
    static Ref<UIFont> preferredFontForTextStyle(UIFontTextStyle style);

    double pointSize() const { return size_; }
    UIFontWeight weight() const { return weight_; }
    // The text style the font was made for, empty for a plain system font.
    const std::string& textStyle() const { return style_; }
    bool isEqual(const NSObject* other) const override;
    std::string description() const override;

  private:
    double size_ = 0;
    UIFontWeight weight_ = UIFontWeightRegular;
    std::string style_;
};

using UIImageSymbolScale = NSInteger;
constexpr UIImageSymbolScale UIImageSymbolScaleDefault = -1;
constexpr UIImageSymbolScale UIImageSymbolScaleUnspecified = 0;
constexpr UIImageSymbolScale UIImageSymbolScaleSmall = 1;
constexpr UIImageSymbolScale UIImageSymbolScaleMedium = 2;
constexpr UIImageSymbolScale UIImageSymbolScaleLarge = 3;

// How a symbol image is sized: a font (its point size and weight) and a relative scale.
// Symbol images keep it as an opaque object; the renderer reads it back from here.
class UIImageSymbolConfiguration : public NSObject {
    VEY_CLASS(UIImageSymbolConfiguration)
  public:
    static Ref<UIImageSymbolConfiguration> configurationWithFont(UIFont* font,
                                                                 UIImageSymbolScale scale);
    UIFont* font() const { return font_; }
    // The font's size; 0 without a font.
    double pointSize() const;
    UIImageSymbolScale scale() const { return scale_; }
    bool isEqual(const NSObject* other) const override;

  private:
    Ref<UIFont> font_;
    UIImageSymbolScale scale_ = UIImageSymbolScaleUnspecified;
};
