// Zeroing weak references: an associated sentinel dies with the object and clears the flag.
#include "platform/uikit/weak.h"

namespace {

class UIKitWeakSentinel : public NSObject {
    VEY_CLASS(UIKitWeakSentinel)
  public:
    ~UIKitWeakSentinel() override {
        if (alive) *alive = false;
    }
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

VEY_CLASS_IMPL(UIKitWeakSentinel, NSObject::cls(), [](Class) {})

const char kSentinelKey = 0;

} // namespace

std::shared_ptr<bool> uikit::livenessOf(id object) {
    if (auto* s = cast<UIKitWeakSentinel>(objc_getAssociatedObject(object, &kSentinelKey)))
        return s->alive;
    auto sentinel = alloc<UIKitWeakSentinel>();
    objc_setAssociatedObject(object, &kSentinelKey, sentinel, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    return sentinel->alive;
}
