// The two boolean singletons.
#include <CoreFoundation/CFNumber.h>

#include "CFValueSupport.h"

struct OpaqueCFBoolean : cf::Object {
    bool value = false;
};

namespace {

CFHashCode hash_boolean(CFTypeRef object) {
    return static_cast<const OpaqueCFBoolean*>(object)->value ? 1 : 0;
}

CFStringRef describe_boolean(CFTypeRef object) {
    bool value = static_cast<const OpaqueCFBoolean*>(object)->value;
    return cf::make_cfstring(cf::object_tag(object, "CFBoolean") +
                             (value ? "{value = true}" : "{value = false}"));
}

// Only two instances exist, so identity is equality (equal = NULL).
const cf::ClassDescriptor kBooleanClass = {"CFBoolean", nullptr, nullptr, hash_boolean,
                                           describe_boolean};

CFTypeID boolean_type_id() {
    static CFTypeID id = cf::register_class(&kBooleanClass);
    return id;
}

OpaqueCFBoolean make_boolean(bool value) {
    OpaqueCFBoolean boolean;
    cf::init_header(&boolean, nullptr, boolean_type_id());
    boolean.value = value;
    return boolean;
}

OpaqueCFBoolean gTrue = make_boolean(true);
OpaqueCFBoolean gFalse = make_boolean(false);

struct Immortalize {
    Immortalize() {
        cf::make_immortal(&gTrue);
        cf::make_immortal(&gFalse);
    }
} gImmortalize;

} // namespace

const CFBooleanRef kCFBooleanTrue = &gTrue;
const CFBooleanRef kCFBooleanFalse = &gFalse;

CFTypeID CFBooleanGetTypeID(void) {
    return boolean_type_id();
}

Boolean CFBooleanGetValue(CFBooleanRef boolean) {
    if (!cf::check_type(boolean, boolean_type_id(), __func__))
        return false;
    return boolean->value;
}
