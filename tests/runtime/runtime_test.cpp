#include "platform/foundation/foundation.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// A small host hierarchy made at run time: Base answers "value" and "name"; Derived inherits.
struct Counted : NSObject {
    static int destroyed;
    ~Counted() override { destroyed++; }
};
int Counted::destroyed = 0;

int baseValue(id, SEL) {
    return 1;
}
int derivedExtra(id, SEL) {
    return 7;
}
int hooked(id, SEL) {
    return 42;
}
double twice(id, SEL, double v) {
    return 2 * v;
}
void take(id, SEL, id) {}
id nothing(id, SEL) {
    return nullptr;
}

Class makeBase() {
    Class base = objc_makeClass("TestBase", NSObject::cls());
    rt_addMethod(base, "value", &baseValue);
    return base;
}

IMP firstSlot = nullptr, secondSlot = nullptr;
std::vector<std::string> calls;
int firstHook(id self, SEL cmd) {
    calls.push_back("first");
    return callIMP<int>(firstSlot, self, cmd) + 10;
}
int secondHook(id self, SEL cmd) {
    calls.push_back("second");
    return callIMP<int>(secondSlot, self, cmd) + 100;
}

} // namespace

TEST(Runtime, MessageToNilDoesNothingAndReturnsZero) {
    EXPECT_EQ(send<int>(nullptr, "value"), 0);
    EXPECT_EQ(send<id>(nullptr, "anything:", 3.0), nullptr);
    EXPECT_FALSE(send<bool>(nullptr, "isKindOfClass:", static_cast<id>(NSObject::cls())));
    send(nullptr, "unknownSelector");
}

TEST(Runtime, TwoHooksChainToTheHostImplementation) {
    Class base = makeBase();
    Ref<NSObject> obj = Ref<NSObject>::adopt(class_createInstance(base));
    MSHookMessageEx(base, sel("value"), reinterpret_cast<IMP>(&firstHook), &firstSlot);
    MSHookMessageEx(base, sel("value"), reinterpret_cast<IMP>(&secondHook), &secondSlot);
    EXPECT_EQ(send<int>(obj, "value"), 111);
    EXPECT_EQ(calls, (std::vector<std::string>{"second", "first"}));
}

TEST(Runtime, HookingAnInheritedMethodLeavesTheSuperclassAlone) {
    Class base = makeBase();
    Class derived = objc_makeClass("TestDerived", base);
    Ref<NSObject> b = Ref<NSObject>::adopt(class_createInstance(base));
    Ref<NSObject> d = Ref<NSObject>::adopt(class_createInstance(derived));
    EXPECT_EQ(send<int>(d, "value"), 1); // warms the lookup cache before the hook
    MSHookMessageEx(derived, sel("value"), reinterpret_cast<IMP>(&firstHook), &firstSlot);
    EXPECT_EQ(reinterpret_cast<void*>(firstSlot), reinterpret_cast<void*>(&baseValue));
    EXPECT_EQ(send<int>(d, "value"), 11);
    EXPECT_EQ(send<int>(b, "value"), 1);
    EXPECT_EQ(class_methodListing(base).size(), 1u);
    EXPECT_EQ(class_methodListing(derived).size(), 1u);
}

// Lookups are cached; every change to a method table must reach the lookups cached before it.
TEST(Runtime, CachedLookupsSeeLaterChanges) {
    struct Case {
        const char* change;
        void (*apply)(Class base, Class derived);
        int base, derived;
        bool derivedAnswersLater;
    };
    const Case cases[] = {
        {"hook in the superclass",
         [](Class b, Class) { MSHookMessageEx(b, sel("value"), IMP(&hooked), nullptr); }, 42, 42,
         false},
        {"override in the subclass",
         [](Class, Class d) { class_addMethod(d, sel("value"), IMP(&derivedExtra), "i@:"); }, 1, 7,
         false},
        {"method added after a failed lookup",
         [](Class b, Class) { class_addMethod(b, sel("later"), IMP(&derivedExtra), "i@:"); }, 1, 1,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        Class base = makeBase();
        Class derived = objc_makeClass("TestDerived", base);
        Ref<NSObject> b = Ref<NSObject>::adopt(class_createInstance(base));
        Ref<NSObject> d = Ref<NSObject>::adopt(class_createInstance(derived));
        ASSERT_EQ(send<int>(d, "value"), 1);
        ASSERT_EQ(send<int>(b, "value"), 1);
        ASSERT_FALSE(respondsToSelector(d, sel("later")));
        c.apply(base, derived);
        EXPECT_EQ(send<int>(b, "value"), c.base);
        EXPECT_EQ(send<int>(d, "value"), c.derived);
        EXPECT_EQ(respondsToSelector(d, sel("later")), c.derivedAnswersLater);
    }
}

// Debug builds stop a call whose C++ types differ from the method's encoding, before the
// implementation reads arguments of the wrong kind.
TEST(RuntimeDeathTest, CallsMustMatchTheMethodsEncoding) {
#ifdef NDEBUG
    GTEST_SKIP() << "calls are checked in debug builds only";
#endif
    Class cls = makeBase();
    rt_addMethod(cls, "twice:", &twice);
    rt_addMethod(cls, "take:", &take);
    rt_addMethod(cls, "nothing", &nothing);
    Ref<NSObject> obj = Ref<NSObject>::adopt(class_createInstance(cls));
    Ref<NSString> text = NSString::make("x");
    struct Case {
        const char* call;
        std::function<void()> run;
        bool matches;
    };
    const Case cases[] = {
        {"as declared", [&] { send<double>(obj, "twice:", 2.0); }, true},
        {"objects as Ref, pointer and nil",
         [&] {
             send(obj, "take:", text);
             send(obj, "take:", text.get());
             send(obj, "take:", nullptr);
         },
         true},
        {"an object result as its class", [&] { send<NSString*>(obj, "nothing"); }, true},
        {"an int for a double", [&] { send<double>(obj, "twice:", 2); }, false},
        {"a float result for a double", [&] { send<float>(obj, "twice:", 2.0); }, false},
        {"a missing argument", [&] { send<double>(obj, "twice:"); }, false},
        {"a result from a void method", [&] { send<int>(obj, "take:", nullptr); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        if (c.matches)
            c.run();
        else
            EXPECT_DEATH(c.run(), "has type encoding");
    }
}

TEST(Runtime, AddingAMethodNeverReplacesOne) {
    Class base = makeBase();
    Class derived = objc_makeClass("TestDerived", base);
    EXPECT_FALSE(class_addMethod(base, sel("value"), reinterpret_cast<IMP>(&derivedExtra), "i@:"));
    // A subclass may add its own over an inherited one: that is not a replacement.
    EXPECT_TRUE(
        class_addMethod(derived, sel("value"), reinterpret_cast<IMP>(&derivedExtra), "i@:"));
    Ref<NSObject> b = Ref<NSObject>::adopt(class_createInstance(base));
    Ref<NSObject> d = Ref<NSObject>::adopt(class_createInstance(derived));
    EXPECT_EQ(send<int>(b, "value"), 1);
    EXPECT_EQ(send<int>(d, "value"), 7);
    EXPECT_TRUE(respondsToSelector(d, sel("value")));
    EXPECT_FALSE(respondsToSelector(d, sel("missing")));
}

TEST(Runtime, ClassMethodsLiveOnTheMetaclass) {
    Class base = makeBase();
    Class meta = object_getClass(base);
    ASSERT_TRUE(meta->isMeta);
    EXPECT_TRUE(class_addMethod(meta, sel("shared"), reinterpret_cast<IMP>(&derivedExtra), "i@:"));
    EXPECT_EQ(send<int>(base, "shared"), 7);
    // Not an instance method, and inherited by subclasses' class objects.
    Ref<NSObject> obj = Ref<NSObject>::adopt(class_createInstance(base));
    EXPECT_FALSE(respondsToSelector(obj, sel("shared")));
    EXPECT_EQ(send<int>(objc_makeClass("TestDerived", base), "shared"), 7);
    EXPECT_EQ(objc_getClass("TestBase"), base);
    EXPECT_EQ(objc_getClass("NoSuchClass"), nullptr);
    EXPECT_EQ(NSStringFromClassName(base), "TestBase");
}

TEST(Runtime, AssociatedObjectsRetainReleaseAndClear) {
    Counted::destroyed = 0;
    Ref<NSObject> owner = alloc<NSObject>();
    int keyA = 0, keyB = 0;
    EXPECT_EQ(objc_getAssociatedObject(owner, &keyA), nullptr);
    {
        Ref<Counted> first = Ref<Counted>::adopt(new Counted());
        objc_setAssociatedObject(owner, &keyA, first, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    }
    EXPECT_EQ(Counted::destroyed, 0) << "the association keeps the value alive";
    objc_setAssociatedObject(owner, &keyA, Ref<Counted>::adopt(new Counted()),
                             OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    EXPECT_EQ(Counted::destroyed, 1) << "a new value releases the old one";
    objc_setAssociatedObject(owner, &keyB, Ref<Counted>::adopt(new Counted()),
                             OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    objc_setAssociatedObject(owner, &keyA, nullptr, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    EXPECT_EQ(Counted::destroyed, 2);
    EXPECT_EQ(objc_getAssociatedObject(owner, &keyA), nullptr);
    EXPECT_NE(objc_getAssociatedObject(owner, &keyB), nullptr);
    owner = nullptr;
    EXPECT_EQ(Counted::destroyed, 3) << "values are released with their owner";
}

TEST(Runtime, KindOfAndKeyReads) {
    Class base = makeBase();
    Class derived = objc_makeClass("TestDerived", base);
    Ref<NSObject> d = Ref<NSObject>::adopt(class_createInstance(derived));
    EXPECT_TRUE(send<bool>(d, "isKindOfClass:", static_cast<id>(base)));
    EXPECT_FALSE(
        send<bool>(Ref<NSObject>(alloc<NSObject>()), "isKindOfClass:", static_cast<id>(base)));
    Ref<NSString> stored = NSString::make("label");
    class_addIvar(base, "_label", [stored](id) -> id { return stored; });
    EXPECT_EQ(send<id>(d, "valueForKey:", NSString::make("_label")), stored.get());
    EXPECT_EQ(send<id>(d, "valueForKey:", NSString::make("label")), stored.get());
    EXPECT_EQ(send<id>(d, "valueForKey:", NSString::make("_missing")), nullptr);
}
