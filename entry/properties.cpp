// The player's views, attached to the cover sheet as properties stored in associated objects.
#include "entry/properties.h"

#include "entry/hooks.h"

#include <cctype>

namespace {

// One getter/setter pair per property; the getter's own address is the association key, so
// the pair shares a key and no two properties do.
template <int N> id getProperty(id self, SEL);
template <int N> const void* keyOf() {
    return reinterpret_cast<const void*>(&getProperty<N>);
}
template <int N> id getProperty(id self, SEL) {
    return objc_getAssociatedObject(self, keyOf<N>());
}
template <int N> void setProperty(id self, SEL, id value) {
    objc_setAssociatedObject(self, keyOf<N>(), value, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

template <int N> PropertyRegistration row(const char* name, const char* type) {
    return {name, type, reinterpret_cast<IMP>(&getProperty<N>),
            reinterpret_cast<IMP>(&setProperty<N>)};
}

enum class Index {
#define VEY_PROPERTY_INDEX(name, type) name,
    VEY_ATTACHED_PROPERTIES(VEY_PROPERTY_INDEX)
#undef VEY_PROPERTY_INDEX
};

} // namespace

const std::vector<PropertyRegistration>& attachedProperties() {
    static const std::vector<PropertyRegistration> table = {
#define VEY_PROPERTY_ROW(name, type) row<static_cast<int>(Index::name)>(#name, "@\"" #type "\""),
        VEY_ATTACHED_PROPERTIES(VEY_PROPERTY_ROW)
#undef VEY_PROPERTY_ROW
    };
    return table;
}

std::string attachedSetterName(const char* property) {
    std::string name = std::string("set") + property + ":";
    name[3] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[3])));
    return name;
}
