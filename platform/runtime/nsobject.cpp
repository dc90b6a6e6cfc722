// The root class and the messages every object answers.
#include "platform/runtime/runtime.h"

namespace {

bool isKindOfClassIMP(id self, SEL, id cls) {
    return isKindOfClass(self, static_cast<Class>(static_cast<objc_class*>(cls)));
}
bool respondsToSelectorIMP(id self, SEL, SEL s) {
    return respondsToSelector(self, s);
}
id classIMP(id self, SEL) {
    return self->isa;
}
id initIMP(id self, SEL) {
    return self;
}

// Key-value reading: a method named as the key, else an instance variable "_key" or "key".
// An unknown key reads nil (the platform would raise; nothing in the host relies on that).
id valueForKeyIMP(id self, SEL, id key) {
    if (!key) return nullptr;
    std::string name = key->description();
    if (const objc_method* m = class_lookupMethod(self->isa, sel(name)))
        if (m->types.rfind("@@:", 0) == 0 && m->types.size() == 3)
            return rt::invoke<id>(m->imp, self, sel(name));
    for (const std::string& candidate : {"_" + name, name})
        for (Class c = self->isa; c; c = c->superclass)
            for (auto& [ivar, reader] : c->ivars)
                if (ivar == candidate) return reader(self);
    return nullptr;
}

} // namespace

Class NSObject::cls() {
    static Class c = [] {
        Class k = objc_makeClass("NSObject", nullptr);
        k->allocator = []() -> NSObject* { return new NSObject(); };
        rt_addMethod(k, "isKindOfClass:", &isKindOfClassIMP);
        rt_addMethod(k, "respondsToSelector:", &respondsToSelectorIMP);
        rt_addMethod(k, "class", &classIMP);
        rt_addMethod(k, "init", &initIMP);
        rt_addMethod(k, "valueForKey:", &valueForKeyIMP);
        // Class objects answer the root's instance methods too, as on the platform.
        k->isa->superclass = k;
        return k;
    }();
    return c;
}
