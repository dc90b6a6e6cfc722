#include "platform/runtime/runtime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

struct objc_selector {
    std::string name;
};

namespace {

struct SelectorTable {
    std::mutex lock;
    std::unordered_map<std::string, std::unique_ptr<objc_selector>> byName;
};
SelectorTable& selectors() {
    static auto* t = new SelectorTable(); // lives for the process, like the real runtime's
    return *t;
}

struct Registry {
    std::map<std::string, Class, std::less<>> byName;
    std::vector<Class> all;
    // Any change to a method table invalidates every lookup cache at once.
    std::uint64_t epoch = 1;
    struct PairHash {
        std::size_t operator()(const std::pair<Class, SEL>& k) const {
            return std::hash<const void*>{}(k.first) * 31 ^ std::hash<const void*>{}(k.second);
        }
    };
    std::unordered_map<std::pair<Class, SEL>, std::pair<std::uint64_t, const objc_method*>,
                       PairHash>
        cache;
};
Registry& registry() {
    static auto* r = new Registry();
    return *r;
}

std::vector<id>& pool() {
    static auto* p = new std::vector<id>();
    return *p;
}

} // namespace

SEL sel_registerName(std::string_view name) {
    auto& t = selectors();
    std::lock_guard g(t.lock);
    auto it = t.byName.find(std::string(name));
    if (it != t.byName.end()) return it->second.get();
    auto s = std::make_unique<objc_selector>(objc_selector{std::string(name)});
    SEL out = s.get();
    t.byName.emplace(std::string(name), std::move(s));
    return out;
}

const char* sel_getName(SEL sel) {
    return sel ? sel->name.c_str() : "<null selector>";
}

NSObject::~NSObject() {
    for (auto& a : associated_)
        if (a.value && a.retained) a.value->release();
}

std::string NSObject::description() const {
    // One formatted write: concatenating onto a temporary trips a false -Wrestrict in GCC 12.
    const std::string& name = isa ? isa->name : std::string("?");
    std::string text(name.size() + 32, '\0');
    int n = std::snprintf(text.data(), text.size(), "<%s: %p>", name.c_str(),
                          static_cast<const void*>(this));
    text.resize(n > 0 ? std::min<std::size_t>(n, text.size() - 1) : 0);
    return text;
}

objc_method* objc_class::ownMethod(SEL s) {
    for (auto& [k, m] : methods)
        if (k == s) return &m;
    return nullptr;
}

Class objc_makeClass(std::string_view name, Class superclass) {
    auto& r = registry();
    auto* meta = new objc_class();
    meta->name = std::string(name);
    meta->isMeta = true;
    meta->superclass = superclass ? superclass->isa : nullptr;
    auto* cls = new objc_class();
    cls->name = std::string(name);
    cls->superclass = superclass;
    cls->isa = meta;
    r.byName[cls->name] = cls;
    r.all.push_back(cls);
    r.epoch++;
    return cls;
}

Class objc_getClass(std::string_view name) {
    auto& r = registry();
    auto it = r.byName.find(name);
    return it == r.byName.end() ? nullptr : it->second;
}

void objc_forgetClass(std::string_view name) {
    auto& r = registry();
    auto it = r.byName.find(name);
    if (it == r.byName.end()) return;
    std::erase(r.all, it->second);
    r.byName.erase(it);
}

Class object_getClass(id obj) {
    return obj ? obj->isa : nullptr;
}
const char* class_getName(Class cls) {
    return cls ? cls->name.c_str() : "nil";
}
Class class_getSuperclass(Class cls) {
    return cls ? cls->superclass : nullptr;
}

const objc_method* class_lookupMethod(Class cls, SEL sel) {
    if (!cls) return nullptr;
    auto& r = registry();
    auto key = std::make_pair(cls, sel);
    auto it = r.cache.find(key);
    if (it != r.cache.end() && it->second.first == r.epoch) return it->second.second;
    const objc_method* found = nullptr;
    for (Class c = cls; c && !found; c = c->superclass)
        found = c->ownMethod(sel);
    r.cache[key] = {r.epoch, found};
    return found;
}

IMP class_getMethodImplementation(Class cls, SEL sel) {
    const objc_method* m = class_lookupMethod(cls, sel);
    return m ? m->imp : nullptr;
}

bool class_respondsToSelector(Class cls, SEL sel) {
    return class_lookupMethod(cls, sel);
}

bool class_addMethod(Class cls, SEL name, IMP imp, const char* types) {
    if (!cls || !name || cls->ownMethod(name)) return false;
    cls->methods.push_back({name, objc_method{imp, types ? types : ""}});
    registry().epoch++;
    return true;
}

void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* result) {
    if (!cls || !sel) return;
    if (objc_method* own = cls->ownMethod(sel)) {
        if (result) *result = own->imp;
        own->imp = replacement;
    } else {
        // Only inherited: the class gets its own entry and the superclass stays as it was.
        const objc_method* inherited = class_lookupMethod(cls->superclass, sel);
        if (result) *result = inherited ? inherited->imp : nullptr;
        cls->methods.push_back({sel, objc_method{replacement, inherited ? inherited->types : ""}});
    }
    registry().epoch++;
}

bool class_addProperty(Class cls, const char* name, const objc_property_attribute_t* attributes,
                       unsigned count) {
    if (!cls || !name) return false;
    for (auto& p : cls->properties)
        if (p.name == name) return false;
    objc_property p{name, {}};
    for (unsigned i = 0; i < count; i++)
        p.attributes.emplace_back(attributes[i].name ? attributes[i].name : "",
                                  attributes[i].value ? attributes[i].value : "");
    cls->properties.push_back(std::move(p));
    return true;
}

std::vector<std::string> class_methodListing(Class cls) {
    std::vector<std::string> out;
    if (!cls) return out;
    for (auto& [s, m] : cls->methods) {
        char imp[32];
        std::snprintf(imp, sizeof imp, "%p", reinterpret_cast<void*>(m.imp));
        out.push_back(std::string(cls->isMeta ? "+" : "-") + sel_getName(s) + " " + m.types + " " +
                      imp);
    }
    return out;
}

std::vector<std::string> class_propertyListing(Class cls) {
    std::vector<std::string> out;
    if (!cls) return out;
    for (auto& p : cls->properties) {
        std::string line = p.name;
        for (auto& [n, v] : p.attributes)
            line += " " + n + "=" + v;
        out.push_back(line);
    }
    return out;
}

std::vector<Class> objc_classList() {
    return registry().all;
}

void class_addIvar(Class cls, std::string name, std::function<id(id)> reader) {
    if (cls) cls->ivars.emplace_back(std::move(name), std::move(reader));
}

void objc_setAssociatedObject(id object, const void* key, id value, int policy) {
    if (!object) return;
    auto& list = object->associated_;
    // Only the retain policy is used by anyone; other policies keep the value unretained.
    bool retain = policy == OBJC_ASSOCIATION_RETAIN_NONATOMIC;
    if (value && retain) value->retain();
    NSObject::Association fresh{key, value, retain};
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->key != key) continue;
        NSObject::Association old = *it;
        if (value)
            *it = fresh;
        else
            list.erase(it);
        if (old.value && old.retained) old.value->release();
        return;
    }
    if (value) list.push_back(fresh);
}

id objc_getAssociatedObject(id object, const void* key) {
    if (!object) return nullptr;
    for (auto& a : object->associated_)
        if (a.key == key) return a.value;
    return nullptr;
}

id class_createInstance(Class cls) {
    if (!cls) return nullptr;
    for (Class c = cls; c; c = c->superclass) {
        if (!c->allocator) continue;
        NSObject* obj = c->allocator();
        obj->isa = cls;
        return obj;
    }
    return nullptr;
}

bool isKindOfClass(id obj, Class cls) {
    if (!obj || !cls) return false;
    for (Class c = obj->isa; c; c = c->superclass)
        if (c == cls) return true;
    return false;
}

bool respondsToSelector(id obj, SEL sel) {
    return obj && class_respondsToSelector(obj->isa, sel);
}

std::string NSStringFromClassName(Class cls) {
    return cls ? cls->name : std::string();
}

id autorelease(id obj) {
    if (obj) {
        obj->retain();
        pool().push_back(obj);
    }
    return obj;
}

void objc_drainAutoreleasePool() {
    // Releasing may autorelease more; drain until empty.
    while (!pool().empty()) {
        std::vector<id> batch;
        batch.swap(pool());
        for (id o : batch)
            o->release();
    }
}

namespace rt {

void checkCall(id self, SEL sel, const objc_method* m, const std::string& callTypes) {
    if (m->types.empty() || m->types == callTypes) return;
    std::fprintf(stderr, "runtime: -[%s %s] has type encoding %s but was called as %s\n",
                 self->isa ? self->isa->name.c_str() : "?", sel_getName(sel), m->types.c_str(),
                 callTypes.c_str());
    std::abort();
}

void unrecognized(id self, SEL sel) {
    std::fprintf(stderr, "runtime: unrecognized selector -[%s %s]\n",
                 self->isa ? self->isa->name.c_str() : "?", sel_getName(sel));
    std::abort();
}

} // namespace rt
