// The host's object runtime: classes by name, interned selectors, nil-safe message send,
// method add and replace (the hooking call), declared properties, associated objects and
// reading instance variables by key. Objects are reference counted; Ref<T> is a strong
// reference. See docs/ARCHITECTURE.md, "The runtime".
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

struct CGPoint;
struct CGSize;
struct CGRect;
struct CGAffineTransform;

using BOOL = bool;
constexpr BOOL YES = true;
constexpr BOOL NO = false;
using NSInteger = std::int64_t;
using NSUInteger = std::uint64_t;

class NSObject;
struct objc_class;
using id = NSObject*;
using Class = objc_class*;
using IMP = void (*)();

// A selector is an interned name: equal names give the same pointer.
struct objc_selector;
using SEL = const objc_selector*;
SEL sel_registerName(std::string_view name);
const char* sel_getName(SEL sel);
// Short form used throughout the host and the plug-in.
inline SEL sel(std::string_view name) {
    return sel_registerName(name);
}

// ---------------------------------------------------------------------------------------------
// Objects and strong references

class NSObject {
  public:
    NSObject() = default;
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;
    virtual ~NSObject();
    static Class cls();

    void retain() const { refs_.fetch_add(1, std::memory_order_relaxed); }
    void release() const {
        if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }
    int retainCount() const { return refs_.load(std::memory_order_relaxed); }

    // Value semantics for collections and caches (NSString compares text, the rest identity).
    virtual bool isEqual(const NSObject* other) const { return this == other; }
    virtual std::size_t hash() const { return std::hash<const void*>{}(this); }
    virtual std::string description() const;

    Class isa = nullptr;

  private:
    friend void objc_setAssociatedObject(id, const void*, id, int);
    friend id objc_getAssociatedObject(id, const void*);
    struct Association {
        const void* key;
        NSObject* value;
        bool retained;
    };
    mutable std::atomic<int> refs_{1};
    std::vector<Association> associated_;
};

// Strong reference. Adopting a fresh object (refcount 1) does not retain it again.
template <class T> class Ref {
  public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    Ref(T* p) : p_(p) {
        if (p_) p_->retain();
    }
    Ref(const Ref& o) : Ref(o.p_) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& o) : Ref(o.get()) {}
    ~Ref() {
        if (p_) p_->release();
    }
    Ref& operator=(Ref o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    static Ref adopt(T* p) {
        Ref r;
        r.p_ = p;
        return r;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    operator T*() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    T* p_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Classes

struct objc_property_attribute_t {
    const char* name;
    const char* value;
};

struct objc_method {
    IMP imp = nullptr;
    std::string types;
};

struct objc_property {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
};

struct objc_class : NSObject {
    std::string name;
    Class superclass = nullptr;
    bool isMeta = false;
    // Methods in the order they were added (listings are stable).
    std::vector<std::pair<SEL, objc_method>> methods;
    std::vector<objc_property> properties;
    // Instance variables readable by key: name -> reader.
    std::vector<std::pair<std::string, std::function<id(id)>>> ivars;
    // Makes a bare instance of this class; inherited when unset.
    std::function<NSObject*()> allocator;

    objc_method* ownMethod(SEL s);
};

// A new class, registered by name (nil superclass for a root). Its metaclass is made with it.
Class objc_makeClass(std::string_view name, Class superclass);
Class objc_getClass(std::string_view name);
// Removes a class from the name registry, as if the host never had it (for tests).
void objc_forgetClass(std::string_view name);
Class object_getClass(id obj);
const char* class_getName(Class cls);
Class class_getSuperclass(Class cls);

// Adds a method unless the class already has its own; returns whether it was added.
bool class_addMethod(Class cls, SEL name, IMP imp, const char* types);
// Replaces the class's own implementation (adding an entry when it only inherits the method)
// and stores the one in force before into *result.
void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* result);
bool class_addProperty(Class cls, const char* name, const objc_property_attribute_t* attributes,
                       unsigned count);
// Looks the method up through the class chain; nullptr when no class has it.
const objc_method* class_lookupMethod(Class cls, SEL sel);
IMP class_getMethodImplementation(Class cls, SEL sel);
bool class_respondsToSelector(Class cls, SEL sel);
std::vector<std::string> class_methodListing(Class cls);
std::vector<std::string> class_propertyListing(Class cls);
std::vector<Class> objc_classList();
void class_addIvar(Class cls, std::string name, std::function<id(id)> reader);

constexpr int OBJC_ASSOCIATION_ASSIGN = 0;
constexpr int OBJC_ASSOCIATION_RETAIN_NONATOMIC = 1;
void objc_setAssociatedObject(id object, const void* key, id value, int policy);
id objc_getAssociatedObject(id object, const void* key);

// Instances: the class's allocator, with isa set. Nil for a nil class.
id class_createInstance(Class cls);

bool isKindOfClass(id obj, Class cls);
bool respondsToSelector(id obj, SEL sel);
std::string NSStringFromClassName(Class cls);

// ---------------------------------------------------------------------------------------------
// Type encodings, derived from C++ types so the host never writes one by hand.

namespace rt {
template <class T> struct Encoding;
template <> struct Encoding<void> {
    static std::string get() { return "v"; }
};
template <> struct Encoding<bool> {
    static std::string get() { return "B"; }
};
template <> struct Encoding<double> {
    static std::string get() { return "d"; }
};
template <> struct Encoding<float> {
    static std::string get() { return "f"; }
};
template <> struct Encoding<int> {
    static std::string get() { return "i"; }
};
template <> struct Encoding<unsigned> {
    static std::string get() { return "I"; }
};
template <> struct Encoding<long> {
    static std::string get() { return "q"; }
};
template <> struct Encoding<unsigned long> {
    static std::string get() { return "Q"; }
};
template <> struct Encoding<SEL> {
    static std::string get() { return ":"; }
};
template <> struct Encoding<id> {
    static std::string get() { return "@"; }
};
template <> struct Encoding<CGPoint> {
    static std::string get() { return "{CGPoint=dd}"; }
};
template <> struct Encoding<CGSize> {
    static std::string get() { return "{CGSize=dd}"; }
};
template <> struct Encoding<CGRect> {
    static std::string get() { return "{CGRect={CGPoint=dd}{CGSize=dd}}"; }
};
template <> struct Encoding<CGAffineTransform> {
    static std::string get() { return "{CGAffineTransform=dddddd}"; }
};

// Object pointers and Refs cross the runtime as plain id.
template <class T> struct Arg {
    using type = T;
    static T pass(T v) { return v; }
};
template <class T> struct Arg<T*> {
    using type = std::conditional_t<std::is_base_of_v<NSObject, T>, id, T*>;
    static type pass(T* v) { return v; }
};
template <class T> struct Arg<Ref<T>> {
    using type = id;
    static id pass(const Ref<T>& v) { return v.get(); }
};
template <> struct Arg<std::nullptr_t> {
    using type = id;
    static id pass(std::nullptr_t) { return nullptr; }
};
template <class T> using ArgT = typename Arg<std::decay_t<T>>::type;

template <class R, class... A> std::string encode() {
    return Encoding<R>::get() + "@:" + (std::string() + ... + Encoding<A>::get());
}

// Debug builds check each call against the method's type encoding.
void checkCall(id self, SEL sel, const objc_method* m, const std::string& callTypes);
[[noreturn]] void unrecognized(id self, SEL sel);

template <class R> R zero() {
    if constexpr (std::is_void_v<R>)
        return;
    else
        return R{};
}

template <class R, class... A> R invoke(IMP imp, id self, SEL s, A... args) {
    using Raw = std::conditional_t<
        std::is_pointer_v<R> && std::is_base_of_v<NSObject, std::remove_pointer_t<R>>, id, R>;
    auto fn = reinterpret_cast<Raw (*)(id, SEL, A...)>(imp);
    if constexpr (std::is_void_v<R>)
        fn(self, s, args...);
    else
        return static_cast<R>(fn(self, s, args...));
}
} // namespace rt

// Makes an IMP and its encoding from a function of the form R f(id, SEL, Args...).
template <class R, class... A> std::pair<IMP, std::string> rt_method(R (*fn)(id, SEL, A...)) {
    using Raw = std::conditional_t<std::is_pointer_v<R>, id, R>;
    return {reinterpret_cast<IMP>(fn), rt::encode<Raw, A...>()};
}
// Adds a host method whose encoding follows from its C++ signature.
template <class F> bool rt_addMethod(Class cls, std::string_view selector, F fn) {
    auto [imp, types] = rt_method(fn);
    return class_addMethod(cls, sel(selector), imp, types.c_str());
}

// Nil-safe message send: a message to nil does nothing and returns zero.
template <class R = void, class... A> R send(id self, SEL s, A&&... args) {
    if (!self) return rt::zero<R>();
    const objc_method* m = class_lookupMethod(self->isa, s);
    if (!m) rt::unrecognized(self, s);
#ifndef NDEBUG
    using Raw = std::conditional_t<std::is_pointer_v<R>, id, R>;
    rt::checkCall(self, s, m, rt::encode<Raw, rt::ArgT<A>...>());
#endif
    return rt::invoke<R, rt::ArgT<A>...>(m->imp, self, s, rt::Arg<std::decay_t<A>>::pass(args)...);
}
template <class R = void, class... A> R send(id self, std::string_view selector, A&&... args) {
    return send<R>(self, sel(selector), std::forward<A>(args)...);
}

// Calls a saved implementation (a hook's slot) the way send would call it.
template <class R = void, class... A> R callIMP(IMP imp, id self, SEL s, A&&... args) {
    if (!imp) return rt::zero<R>();
    return rt::invoke<R, rt::ArgT<A>...>(imp, self, s, rt::Arg<std::decay_t<A>>::pass(args)...);
}

// Checked downcast of a runtime object to its C++ type: nil when it is not one.
template <class T> T* cast(id obj) {
    return dynamic_cast<T*>(obj);
}

// ---------------------------------------------------------------------------------------------
// Declaring host classes.
//
// A host C++ class declares VEY_CLASS(Name) in its body and defines its runtime class with
// VEY_CLASS_IMPL(Name, Super, setup) in its .cpp; `setup` registers the selectors that cross
// the runtime. The class is registered on first use of Name::cls().

#define VEY_CLASS(Name)                                                                            \
  public:                                                                                          \
    static Class cls();                                                                            \
                                                                                                   \
  private:

#define VEY_CLASS_IMPL(Name, SuperCls, ...)                                                        \
    Class Name::cls() {                                                                            \
        static Class c = [] {                                                                      \
            Class k = objc_makeClass(#Name, SuperCls);                                             \
            k->allocator = []() -> NSObject* { return new Name(); };                               \
            auto setup = __VA_ARGS__;                                                              \
            setup(k);                                                                              \
            return k;                                                                              \
        }();                                                                                       \
        return c;                                                                                  \
    }

// A fresh instance of a host class (refcount 1, owned by the Ref). Like +alloc: no init runs.
template <class T> Ref<T> alloc() {
    Class c = T::cls();
    T* obj = static_cast<T*>(c->allocator());
    obj->isa = c;
    return Ref<T>::adopt(obj);
}
// A fresh instance of the runtime class `c` viewed as T (for classes made at run time).
template <class T> Ref<T> allocAs(Class c) {
    id obj = class_createInstance(c);
    return Ref<T>::adopt(cast<T>(obj));
}

// Objects created by a method that returns them at +0 are kept here until the main queue's
// current turn ends.
id autorelease(id obj);
template <class T> T* autorelease(const Ref<T>& obj) {
    return static_cast<T*>(autorelease(static_cast<id>(obj.get())));
}
void objc_drainAutoreleasePool();
