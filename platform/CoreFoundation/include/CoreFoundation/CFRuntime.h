/*
 * CFRuntime.h: the one object runtime behind every opaque type of the platform
 * (Core Foundation types, and the windows, controls, menus, events and handlers
 * of the other frameworks). C++ only; the sibling frameworks use it to register
 * their classes. Bundles and applications never include it.
 *
 * An object starts with a cf::Object header and is created by cf::create, which
 * gives it a retain count of 1. When the count drops to 0 the class's finalize
 * runs (it must end the object's C++ lifetime, usually by calling its
 * destructor) and the runtime then frees the memory with the object's allocator.
 */
#ifndef COREFOUNDATION_CFRUNTIME_H
#define COREFOUNDATION_CFRUNTIME_H

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
#include <new>
#include <utility>

namespace cf {

struct ClassDescriptor {
    const char* name;
    /* Destroys what the object owns and ends its lifetime; never frees its memory. */
    void (*finalize)(CFTypeRef object);
    /* Both objects are of this class. NULL: equal only to itself. */
    bool (*equal)(CFTypeRef a, CFTypeRef b);
    /* Must agree with equal. NULL: the address. */
    CFHashCode (*hash)(CFTypeRef object);
    /* A new string, owned by the caller. NULL: "<Name 0x...>". */
    CFStringRef (*copy_description)(CFTypeRef object);
};

struct Object {
    UInt32 magic;
    CFTypeID type_id;
    CFIndex retain_count;
    CFAllocatorRef allocator;
};

constexpr UInt32 kObjectMagic = 0xCF0B7EC7u;

/* Registers a class once; returns its type ID (never 0). The descriptor must outlive the process.
 */
CFTypeID register_class(const ClassDescriptor* descriptor);
/* The descriptor of a registered type ID, or nullptr. */
const ClassDescriptor* class_for(CFTypeID type_id);

/* Raw memory for an object, from the allocator (NULL: the default allocator). */
void* allocate_object_memory(CFAllocatorRef allocator, size_t size);
void free_object_memory(CFAllocatorRef allocator, void* memory);
/* Fills the header of a freshly constructed object: magic, type, count 1, allocator. */
void init_header(Object* object, CFAllocatorRef allocator, CFTypeID type_id);

/* Constructs a T (which derives from cf::Object first) in runtime memory. */
template <class T, class... Args>
T* create(CFAllocatorRef allocator, CFTypeID type_id, Args&&... args) {
    void* memory = allocate_object_memory(allocator, sizeof(T));
    if (memory == nullptr)
        return nullptr;
    T* object = new (memory) T(std::forward<Args>(args)...);
    init_header(object, allocator, type_id);
    return object;
}

/* Destroys a T in its finalize callback. */
template <class T> void destroy(CFTypeRef object) {
    static_cast<T*>(const_cast<void*>(object))->~T();
}

/* True when obj is a live runtime object of the given type. */
bool is_type(CFTypeRef obj, CFTypeID type_id);
/* True when obj looks like a live runtime object of any type. */
bool is_object(CFTypeRef obj);

/* The object as a T when it has the given type, else nullptr. */
template <class T> T* cast(CFTypeRef obj, CFTypeID type_id) {
    return is_type(obj, type_id) ? static_cast<T*>(const_cast<void*>(obj)) : nullptr;
}

/*
 * Checks a public entry's argument. On a mismatch it writes one line to
 * standard error naming the function and what it got, and returns false.
 * A NULL argument fails silently: many entries document NULL as "nothing".
 */
bool check_type(CFTypeRef obj, CFTypeID type_id, const char* function);

/* The object is never freed: retain and release do nothing (constant strings, singletons). */
void make_immortal(CFTypeRef obj);
bool is_immortal(CFTypeRef obj);

} // namespace cf

#endif /* __cplusplus */
#endif /* COREFOUNDATION_CFRUNTIME_H */
