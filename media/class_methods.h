// Runtime class methods made from the C++ entry points of the library's own classes: object
// arguments arrive as id and are cast to the entry point's types, object results are
// autoreleased, everything else passes as it is.
#pragma once

#include "platform/runtime/runtime.h"

#include <string_view>
#include <type_traits>

namespace bridge {
template <class T> struct In {
    using type = T;
    static T from(T v) { return v; }
};
template <class T> struct In<T*> {
    using type = id;
    static T* from(id v) { return cast<T>(v); }
};
template <class R> struct Out { using type = R; };
template <class T> struct Out<Ref<T>> { using type = id; };

template <auto F> struct ClassMethod;
template <class R, class... A, R (*F)(A...)> struct ClassMethod<F> {
    static typename Out<R>::type imp(id, SEL, typename In<A>::type... args) {
        if constexpr (std::is_same_v<typename Out<R>::type, R>)
            return F(In<A>::from(args)...);
        else
            return autorelease(F(In<A>::from(args)...));
    }
};
} // namespace bridge

// Adds `F` to the class's metaclass under `selector`.
template <auto F> void addClassMethod(Class cls, std::string_view selector) {
    rt_addMethod(cls->isa, selector, &bridge::ClassMethod<F>::imp);
}
