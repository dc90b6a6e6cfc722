// Counts the calls the host makes to the selectors the plug-in hooks, through hooks that call
// the host's implementation first, as the plug-in's do.
#pragma once

#include "common/device.h"
#include "common/hook_rows.h"
#include "platform/springboard/springboard.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// Calls recorded by the counting hooks, in order, as "Class selector".
inline std::vector<std::string> hostCalls;
inline int callCount(const std::string& entry) {
    return int(std::count(hostCalls.begin(), hostCalls.end(), entry));
}

inline MRTrack track(std::string title, Ref<NSData> artwork = nullptr) {
    MRTrack t;
    t.title = std::move(title);
    t.artworkData = std::move(artwork);
    return t;
}

// Hooked (class, selector) -> name and the host's implementation.
inline std::map<std::pair<Class, SEL>, std::pair<std::string, IMP>> countedMethods;
// Records the call and answers the implementation to call: the nearest hooked class from the
// receiver's up (no hooked class subclasses another with the same selector).
inline IMP countCall(id self, SEL cmd) {
    for (Class c = object_getClass(self); c; c = class_getSuperclass(c))
        if (auto it = countedMethods.find({c, cmd}); it != countedMethods.end()) {
            hostCalls.push_back(it->second.first);
            return it->second.second;
        }
    return nullptr;
}

// Hooks every selector of the plug-in's hook table that the host's flows send (the route
// tests are the plug-in's questions, not host flows).
inline void installCountingHooks() {
    const std::string frame = "{CGRect={CGPoint=dd}{CGSize=dd}}";
    const std::map<std::string, IMP> byTypes = {
        {"v@:", IMP(+[](id s, SEL c) { callIMP(countCall(s, c), s, c); })},
        {"v@:@", IMP(+[](id s, SEL c, id a) { callIMP(countCall(s, c), s, c, a); })},
        {"v@:" + frame, IMP(+[](id s, SEL c, CGRect r) { callIMP(countCall(s, c), s, c, r); })},
        {"@@:" + frame,
         IMP(+[](id s, SEL c, CGRect r) { return callIMP<id>(countCall(s, c), s, c, r); })}};
    for (auto [cls, selector] : kHookedMethods) {
        Class c = objc_getClass(cls);
        auto hook = byTypes.find(class_lookupMethod(c, sel(selector))->types);
        if (hook == byTypes.end()) continue;
        auto& [name, original] = countedMethods[{c, sel(selector)}];
        name = std::string(cls) + " " + selector;
        MSHookMessageEx(c, sel(selector), hook->second, &original);
    }
}
