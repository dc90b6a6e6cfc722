#include "platform/uikit/font.h"

#include <cmath>
#include <cstdio>

VEY_CLASS_IMPL(UIFont, NSObject::cls(), [](Class) {})
VEY_CLASS_IMPL(UIImageSymbolConfiguration, NSObject::cls(), [](Class) {})

Ref<UIFont> UIFont::systemFontOfSize(double size, UIFontWeight weight) {
    auto f = alloc<UIFont>();
    f->size_ = std::isfinite(size) && size > 0 ? size : 0;
    f->weight_ = std::isfinite(weight) ? weight : UIFontWeightRegular;
    return f;
}

Ref<UIFont> UIFont::preferredFontForTextStyle(UIFontTextStyle style) {
    struct Entry {
        UIFontTextStyle style;
        double size;
        UIFontWeight weight;
    };
    static const Entry table[] = {
        {UIFontTextStyleLargeTitle, 34, UIFontWeightRegular},
        {UIFontTextStyleTitle1, 28, UIFontWeightRegular},
        {UIFontTextStyleTitle2, 22, UIFontWeightRegular},
        {UIFontTextStyleTitle3, 20, UIFontWeightRegular},
        {UIFontTextStyleHeadline, 17, UIFontWeightSemibold},
        {UIFontTextStyleBody, 17, UIFontWeightRegular},
        {UIFontTextStyleCallout, 16, UIFontWeightRegular},
        {UIFontTextStyleSubheadline, 15, UIFontWeightRegular},
        {UIFontTextStyleFootnote, 13, UIFontWeightRegular},
        {UIFontTextStyleCaption1, 12, UIFontWeightRegular},
        {UIFontTextStyleCaption2, 11, UIFontWeightRegular},
    };
    Entry chosen = table[5];
    for (const Entry& e : table)
        if (e.style == style) chosen = e;
    auto f = systemFontOfSize(chosen.size, chosen.weight);
    f->style_ = std::string(chosen.style);
    return f;
}

bool UIFont::isEqual(const NSObject* other) const {
    auto* o = dynamic_cast<const UIFont*>(other);
    return o && o->size_ == size_ && o->weight_ == weight_ && o->style_ == style_;
}

std::string UIFont::description() const {
    char buf[96];
    std::snprintf(buf, sizeof buf, "<UIFont system %g weight %g>", size_, weight_);
    return buf;
}

Ref<UIImageSymbolConfiguration>
UIImageSymbolConfiguration::configurationWithFont(UIFont* font, UIImageSymbolScale scale) {
    auto c = alloc<UIImageSymbolConfiguration>();
    c->font_ = font;
    c->scale_ = scale;
    return c;
}

double UIImageSymbolConfiguration::pointSize() const {
    return font_ ? font_->pointSize() : 0;
}

bool UIImageSymbolConfiguration::isEqual(const NSObject* other) const {
    auto* o = dynamic_cast<const UIImageSymbolConfiguration*>(other);
    if (!o || o->scale_ != scale_) return false;
    if (!font_ || !o->font_) return !font_ && !o->font_;
    return font_->isEqual(o->font_);
}
