// Reading and writing the player's views attached to the cover sheet, through the getters and
// setters added at run time.
#pragma once

#include "platform/runtime/runtime.h"

#include <string>

// "veyView" -> "setVeyView:".
std::string attachedSetterName(const char* property);

// The property's value as T, or nil (also when the owner lacks the property).
template <class T = NSObject> T* attached(id owner, const char* property) {
    SEL getter = sel(property);
    if (!respondsToSelector(owner, getter)) return nullptr;
    return cast<T>(send<id>(owner, getter));
}

inline void setAttached(id owner, const char* property, id value) {
    SEL setter = sel(attachedSetterName(property));
    if (respondsToSelector(owner, setter)) send(owner, setter, value);
}
