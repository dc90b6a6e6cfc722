#include "controls/media_context.h"

#include "entry/state.h"
#include "platform/foundation/foundation.h"

namespace {

Class remembered(Class& slot, const char* name) {
    if (!slot) slot = objc_getClass(name);
    return slot;
}

} // namespace

std::optional<NSInteger> mediaControlsContext(id view, id controller) {
    if (isIOSVersionAtLeast(16)) {
        if (!respondsToSelector(controller, sel("context"))) return std::nullopt;
        return send<NSInteger>(controller, "context");
    }
    Ref<NSString> key = NSString::make("_context");
    auto* number = cast<NSNumber>(send<id>(view, "valueForKey:", key));
    return number ? number->integerValue() : 0;
}

std::optional<id> mediaControlsDelegate(id controller) {
    if (!respondsToSelector(controller, sel("delegate"))) return std::nullopt;
    return send<id>(controller, "delegate");
}

Class controlCenterControllerClass() {
    static Class cls = nullptr;
    return remembered(cls, "MRUControlCenterViewController");
}

Class lockScreenControlsControllerClass() {
    static Class cls = nullptr;
    return remembered(cls, "CSMediaControlsViewController");
}
