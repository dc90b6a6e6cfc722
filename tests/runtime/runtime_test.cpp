#include "platform/foundation/foundation.h"

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
