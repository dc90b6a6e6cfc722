// Reading and writing the player's views attached to the cover sheet, through the getters and
// setters added at run time. Each property is a typed constant in `prop::`, so a misspelt name
// or a view of the wrong class does not compile.
#pragma once

#include "controls/InnerShadowButton.h"
#include "entry/property_table.h"
#include "platform/runtime/runtime.h"
#include "platform/uikit/uikit.h"

#include <string>
#include <type_traits>

template <class T> struct AttachedProperty {
    const char* name;
    constexpr explicit AttachedProperty(const char* propertyName) : name(propertyName) {}
    // A property of a subclass reads as one of its base class, so lists can mix them.
    template <class U>
    requires std::is_base_of_v<T, U>
    constexpr AttachedProperty(AttachedProperty<U> other) : name(other.name) {}
};

namespace prop {
#define VEY_DECLARE_PROPERTY(name, type) inline constexpr AttachedProperty<type> name{#name};
VEY_ATTACHED_PROPERTIES(VEY_DECLARE_PROPERTY)
#undef VEY_DECLARE_PROPERTY
} // namespace prop

// "veyView" -> "setVeyView:".
std::string attachedSetterName(const char* property);

// The property's value, or nil (also when the owner lacks the property).
template <class T> T* attached(id owner, AttachedProperty<T> property) {
    SEL getter = sel(property.name);
    if (!respondsToSelector(owner, getter)) return nullptr;
    return cast<T>(send<id>(owner, getter));
}

template <class T>
void setAttached(id owner, AttachedProperty<T> property, std::type_identity_t<T>* value) {
    SEL setter = sel(attachedSetterName(property.name));
    if (respondsToSelector(owner, setter)) send(owner, setter, static_cast<id>(value));
}
