#include "sim/view_json.h"

#include "platform/foundation/foundation.h"
#include "platform/graphics/image.h"
#include "platform/uikit/uikit.h"

#include <string_view>

namespace sim {

Json colorJson(const struct CGColor* color) {
    if (!color) return nullptr;
    return Json::array({color->r, color->g, color->b, color->a});
}

Json colorJson(const UIColor* color) {
    return color ? colorJson(&color->rgba()) : Json();
}

Json imageJson(const UIImage* image, bool detailed) {
    if (!image) return nullptr;
    Json out = Json::object();
    out.set("width", image->size().width);
    out.set("height", image->size().height);
    if (detailed) {
        out.set("symbol", image->isSymbolImage() ? Json(image->symbolName()) : Json());
        out.set("template", image->isTemplate());
    }
    return out;
}

Json objectJson(NSObject* object) {
    if (!object) return nullptr;
    if (auto* image = cast<UIImage>(object)) return imageJson(image, false);
    if (auto* color = cast<UIColor>(object)) return colorJson(color);
    if (auto* array = cast<NSArray>(object)) {
        Json out = Json::array();
        for (auto& item : array->items())
            out.push(objectJson(item));
        return out;
    }
    return NSStringFromClassName(object_getClass(object));
}

namespace {

// A runtime getter with exactly this type encoding, or nullptr (a plug-in class's own
// properties are only reachable by selector).
const objc_method* getter(UIView* view, std::string_view name, std::string_view types) {
    const objc_method* m = class_lookupMethod(object_getClass(view), sel(name));
    return m && m->types == types ? m : nullptr;
}

std::string nameOf(const UIView* view, const ViewNames& names) {
    for (auto& [v, name] : names)
        if (v == view) return name;
    return NSStringFromClassName(object_getClass(const_cast<UIView*>(view)));
}

} // namespace

Json viewJson(UIView* view, const ViewNames& names) {
    if (!view) return nullptr;
    Json out = Json::object();
    out.set("class", NSStringFromClassName(object_getClass(view)));
    CGPoint c = view->center();
    CGRect b = view->bounds();
    out.set("frame", Json::array({c.x - b.size.width / 2, c.y - b.size.height / 2, b.size.width,
                                  b.size.height}));
    out.set("hidden", view->isHidden());
    out.set("alpha", view->alpha());
    CGAffineTransform t = view->transform();
    out.set("transform", Json::array({t.a, t.b, t.c, t.d, t.tx, t.ty}));
    // What the screen shows now, running animations included.
    Json shown = Json::object();
    shown.set("alpha", view->presentationAlpha());
    CGAffineTransform pt = view->presentationTransform();
    shown.set("transform", Json::array({pt.a, pt.b, pt.c, pt.d, pt.tx, pt.ty}));
    CGPoint pc = view->presentationCenter();
    CGRect pb = view->presentationBounds();
    shown.set("frame", Json::array({pc.x - pb.size.width / 2, pc.y - pb.size.height / 2,
                                    pb.size.width, pb.size.height}));
    out.set("presentation", std::move(shown));
    out.set("superview", view->superview() ? Json(nameOf(view->superview(), names)) : Json());

    auto* label = cast<UILabel>(view);
    auto* button = cast<UIButton>(view);
    auto* imageView = cast<UIImageView>(view);
    NSString* text = label    ? label->text()
                     : button ? button->titleForState(UIControlStateNormal)
                              : nullptr;
    out.set("text", text ? Json(text->str()) : Json());
    out.set("textColor", label ? colorJson(label->textColor()) : Json());
    out.set("tintColor", colorJson(view->tintColor()));
    UIImage* image = imageView ? imageView->image()
                     : button  ? button->imageForState(UIControlStateNormal)
                               : nullptr;
    out.set("image", imageJson(image, true));
    CALayer* layer = view->layer();
    out.set("cornerRadius", layer ? Json(layer->cornerRadius()) : Json());
    out.set("borderWidth", layer ? Json(layer->borderWidth()) : Json());
    out.set("borderColor", layer ? colorJson(layer->borderColor()) : Json());
    UIFont* font = label ? label->font() : nullptr;
    out.set("fontSize", font ? Json(font->pointSize()) : Json());
    out.set("fontWeight", font ? Json(font->weight()) : Json());
    out.set("contentMode", static_cast<long long>(view->contentMode()));
    return out;
}

void addOutline(Json& out, UIView* view) {
    Json width, color;
    if (view) {
        if (getter(view, "outlineWidth", "d@:"))
            width = send<double>(view, "outlineWidth");
        else if (getter(view, "outlineWidth", "f@:"))
            width = double(send<float>(view, "outlineWidth"));
        if (getter(view, "outlineColor", "@@:"))
            color = colorJson(cast<UIColor>(send<id>(view, "outlineColor")));
    }
    out.set("outlineWidth", width);
    out.set("outlineColor", color);
}

} // namespace sim
