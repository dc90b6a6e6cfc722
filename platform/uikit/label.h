// UILabel: text and its attributes, and the marquee the renderer scrolls.
#pragma once

#include "platform/foundation/foundation.h"
#include "platform/uikit/font.h"
#include "platform/uikit/view.h"

#include <string_view>

using NSTextAlignment = NSInteger;
constexpr NSTextAlignment NSTextAlignmentLeft = 0;
constexpr NSTextAlignment NSTextAlignmentCenter = 1;
constexpr NSTextAlignment NSTextAlignmentRight = 2;
constexpr NSTextAlignment NSTextAlignmentJustified = 3;
constexpr NSTextAlignment NSTextAlignmentNatural = 4;

class UILabel : public UIView {
    VEY_CLASS(UILabel)
  public:
    UIView* initWithFrame(CGRect frame) override;

    // Nil when no text was set.
    NSString* text() const { return text_; }
    // The text as UTF-8, empty for none.
    std::string textString() const { return text_ ? text_->str() : std::string(); }
    void setText(NSString* text);
    void setText(std::string_view text);
    // The system font of size 17 until one is set.
    UIFont* font() const { return font_; }
    void setFont(UIFont* font);
    // Black until one is set.
    UIColor* textColor() const { return textColor_; }
    void setTextColor(UIColor* color);
    NSTextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(NSTextAlignment alignment) { alignment_ = alignment; }

    // The platform label's own scrolling of a text wider than the label: the renderer scrolls
    // when both are on.
    bool marqueeEnabled() const { return marqueeEnabled_; }
    void setMarqueeEnabled(bool enabled) { marqueeEnabled_ = enabled; }
    bool marqueeRunning() const { return marqueeRunning_; }
    void setMarqueeRunning(bool running);
    // Virtual time (nanoseconds) at which the marquee last started running or the text last
    // changed: the scroll's phase starts there.
    std::int64_t marqueeStart() const { return marqueeStart_; }

  private:
    Ref<NSString> text_;
    Ref<UIFont> font_ = UIFont::systemFontOfSize(17);
    Ref<UIColor> textColor_ = UIColor::blackColor();
    NSTextAlignment alignment_ = NSTextAlignmentNatural;
    bool marqueeEnabled_ = false;
    bool marqueeRunning_ = false;
    std::int64_t marqueeStart_ = 0;
};
