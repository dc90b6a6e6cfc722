#include "sim/attached_views.h"

#include "platform/uikit/uikit.h"

namespace sim {

std::vector<std::string> attachedViewProperties() {
    std::vector<std::string> names;
    Class cover = objc_getClass("CSCoverSheetView");
    Class view = objc_getClass("UIView");
    if (!cover) return names;
    for (const objc_property& p : cover->properties)
        for (const auto& [attribute, type] : p.attributes) {
            // "@\"UIImageView\"": an object of a named class.
            if (attribute != "T" || type.size() < 4 || type.compare(0, 2, "@\"") != 0) continue;
            for (Class c = objc_getClass(type.substr(2, type.size() - 3)); c; c = c->superclass)
                if (c == view) {
                    names.push_back(p.name);
                    break;
                }
        }
    return names;
}

UIView* attachedView(UIView* coverSheet, const std::string& name) {
    if (!coverSheet) return nullptr;
    const objc_method* m = class_lookupMethod(object_getClass(coverSheet), sel(name));
    if (!m || m->types != "@@:") return nullptr;
    return cast<UIView>(send<id>(coverSheet, sel(name)));
}

std::string attachedRootProperty() {
    std::vector<std::string> names = attachedViewProperties();
    return names.empty() ? std::string() : names.front();
}

} // namespace sim
