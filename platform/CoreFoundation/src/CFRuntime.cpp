// The object runtime: class registry, reference counting and the polymorphic
// entries of CFBase.h that need no string support.
#include <CoreFoundation/CFRuntime.h>
#include <CoreFoundation/CFDiagnostics.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace cf {
namespace {

constexpr CFIndex kImmortal = LONG_MAX;

// Index 0 is unused so that no class gets the type ID 0.
std::vector<const ClassDescriptor*>& registry() {
    static auto* classes = new std::vector<const ClassDescriptor*>{nullptr};
    return *classes;
}

Object* header(CFTypeRef obj) {
    return static_cast<Object*>(const_cast<void*>(obj));
}

} // namespace

CFTypeID register_class(const ClassDescriptor* descriptor) {
    auto& classes = registry();
    classes.push_back(descriptor);
    return classes.size() - 1;
}

const ClassDescriptor* class_for(CFTypeID type_id) {
    auto& classes = registry();
    return type_id < classes.size() ? classes[type_id] : nullptr;
}

void init_header(Object* object, CFAllocatorRef allocator, CFTypeID type_id) {
    object->magic = kObjectMagic;
    object->type_id = type_id;
    object->retain_count = 1;
    // Keep the allocator actually used, so a later change of the default cannot
    // send the memory back to the wrong one.
    object->allocator = allocator != nullptr ? allocator : CFAllocatorGetDefault();
}

bool is_object(CFTypeRef obj) {
    return obj != nullptr && header(obj)->magic == kObjectMagic && header(obj)->retain_count > 0;
}

bool is_type(CFTypeRef obj, CFTypeID type_id) {
    return is_object(obj) && header(obj)->type_id == type_id;
}

bool check_type(CFTypeRef obj, CFTypeID type_id, const char* function) {
    if (obj == nullptr)
        return false;
    if (is_type(obj, type_id))
        return true;
    const ClassDescriptor* expected = class_for(type_id);
    const char* wanted = expected ? expected->name : "registered type";
    if (is_object(obj) && class_for(header(obj)->type_id) != nullptr)
        cf::report(function, "%p is a %s, not a %s", obj, class_for(header(obj)->type_id)->name,
                   wanted);
    else
        cf::report(function, "%p is not a live object (wanted a %s)", obj, wanted);
    return false;
}

void make_immortal(CFTypeRef obj) {
    // Immortal objects stay reachable from here for the life of the process;
    // the list itself is never destroyed, so exit-time leak checks still see them.
    static auto* immortals = new std::vector<CFTypeRef>();
    if (is_object(obj) && header(obj)->retain_count != kImmortal) {
        header(obj)->retain_count = kImmortal;
        immortals->push_back(obj);
    }
}

bool is_immortal(CFTypeRef obj) {
    return is_object(obj) && header(obj)->retain_count == kImmortal;
}

} // namespace cf

using cf::header;

CFTypeID CFGetTypeID(CFTypeRef obj) {
    return cf::is_object(obj) ? header(obj)->type_id : 0;
}

CFTypeRef CFRetain(CFTypeRef obj) {
    if (!cf::is_object(obj)) {
        if (obj != nullptr)
            cf::report("CFRetain", "%p is not a live object", obj);
        return obj;
    }
    if (header(obj)->retain_count != cf::kImmortal)
        ++header(obj)->retain_count;
    return obj;
}

void CFRelease(CFTypeRef obj) {
    if (!cf::is_object(obj)) {
        if (obj != nullptr)
            cf::report("CFRelease", "%p is not a live object (released too often?)", obj);
        return;
    }
    cf::Object* object = header(obj);
    if (object->retain_count == cf::kImmortal || --object->retain_count > 0)
        return;
    const cf::ClassDescriptor* cls = cf::class_for(object->type_id);
    CFAllocatorRef allocator = object->allocator;
    if (cls != nullptr && cls->finalize != nullptr)
        cls->finalize(obj);
    // The header may have been destroyed with the object; clear the magic so a
    // stale reference is recognised rather than trusted.
    object->magic = 0;
    cf::free_object_memory(allocator, object);
}

CFTypeRef CFAutorelease(CFTypeRef obj) {
    // There is no autorelease pool on this platform; callers that rely on one
    // keep the reference alive themselves.
    return obj;
}

CFTypeRef CFMakeCollectable(CFTypeRef obj) {
    return obj;
}

CFIndex CFGetRetainCount(CFTypeRef obj) {
    return cf::is_object(obj) ? header(obj)->retain_count : 0;
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b) {
    if (a == b)
        return true;
    if (!cf::is_object(a) || !cf::is_object(b) || header(a)->type_id != header(b)->type_id)
        return false;
    const cf::ClassDescriptor* cls = cf::class_for(header(a)->type_id);
    return cls != nullptr && cls->equal != nullptr && cls->equal(a, b);
}

CFHashCode CFHash(CFTypeRef obj) {
    if (!cf::is_object(obj))
        return 0;
    const cf::ClassDescriptor* cls = cf::class_for(header(obj)->type_id);
    if (cls != nullptr && cls->hash != nullptr)
        return cls->hash(obj);
    return reinterpret_cast<CFHashCode>(obj);
}

CFAllocatorRef CFGetAllocator(CFTypeRef obj) {
    return cf::is_object(obj) ? header(obj)->allocator : nullptr;
}
