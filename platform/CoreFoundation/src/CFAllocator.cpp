// Allocators and the null object.
#include <CoreFoundation/CFRuntime.h>

#include <cstdlib>
#include <cstring>

struct OpaqueCFAllocator : cf::Object {
    CFAllocatorContext context{};
};

struct OpaqueCFNull : cf::Object {};

namespace {

void* malloc_allocate(CFIndex size, CFOptionFlags, void*) {
    return std::malloc(static_cast<size_t>(size));
}
void* malloc_reallocate(void* ptr, CFIndex size, CFOptionFlags, void*) {
    return std::realloc(ptr, static_cast<size_t>(size));
}
void malloc_deallocate(void* ptr, void*) {
    std::free(ptr);
}

void finalize_allocator(CFTypeRef obj) {
    auto* allocator = static_cast<OpaqueCFAllocator*>(const_cast<void*>(obj));
    if (allocator->context.release != nullptr)
        allocator->context.release(allocator->context.info);
    cf::destroy<OpaqueCFAllocator>(obj);
}

const cf::ClassDescriptor kAllocatorClass = {"CFAllocator", finalize_allocator, nullptr, nullptr,
                                             nullptr};
const cf::ClassDescriptor kNullClass = {"CFNull", nullptr, nullptr, nullptr, nullptr};

CFTypeID allocator_type_id() {
    static CFTypeID id = cf::register_class(&kAllocatorClass);
    return id;
}

// The built-in allocators are static objects; they never go through cf::create.
OpaqueCFAllocator make_builtin(bool allocates) {
    OpaqueCFAllocator allocator;
    cf::init_header(&allocator, nullptr, allocator_type_id());
    if (allocates) {
        allocator.context.allocate = malloc_allocate;
        allocator.context.reallocate = malloc_reallocate;
        allocator.context.deallocate = malloc_deallocate;
    }
    return allocator;
}

OpaqueCFAllocator gSystemDefault = make_builtin(true);
OpaqueCFAllocator gMalloc = make_builtin(true);
OpaqueCFAllocator gNull = make_builtin(false);
OpaqueCFAllocator gUseContext = make_builtin(false);
CFAllocatorRef gDefault = &gSystemDefault;

OpaqueCFNull make_null() {
    static CFTypeID id = cf::register_class(&kNullClass);
    OpaqueCFNull null;
    cf::init_header(&null, nullptr, id);
    return null;
}
OpaqueCFNull gNullObject = make_null();

struct Immortalize {
    Immortalize() {
        for (CFTypeRef obj :
             {static_cast<CFTypeRef>(&gSystemDefault), static_cast<CFTypeRef>(&gMalloc),
              static_cast<CFTypeRef>(&gNull), static_cast<CFTypeRef>(&gUseContext),
              static_cast<CFTypeRef>(&gNullObject)})
            cf::make_immortal(obj);
    }
} gImmortalize;

const OpaqueCFAllocator* resolve(CFAllocatorRef allocator) {
    if (allocator == nullptr)
        allocator = gDefault;
    return cf::is_type(allocator, allocator_type_id()) ? allocator : &gSystemDefault;
}

} // namespace

const CFAllocatorRef kCFAllocatorSystemDefault = &gSystemDefault;
const CFAllocatorRef kCFAllocatorMalloc = &gMalloc;
const CFAllocatorRef kCFAllocatorMallocZone = &gMalloc;
const CFAllocatorRef kCFAllocatorNull = &gNull;
const CFAllocatorRef kCFAllocatorUseContext = &gUseContext;
const CFNullRef kCFNull = &gNullObject;

CFTypeID CFAllocatorGetTypeID(void) {
    return allocator_type_id();
}
CFTypeID CFNullGetTypeID(void) {
    return CFGetTypeID(kCFNull);
}

CFAllocatorRef CFAllocatorGetDefault(void) {
    return gDefault;
}

void CFAllocatorSetDefault(CFAllocatorRef allocator) {
    if (cf::is_type(allocator, allocator_type_id()) && allocator != kCFAllocatorNull) {
        CFRetain(allocator);
        gDefault = allocator;
    }
}

CFAllocatorRef CFAllocatorCreate(CFAllocatorRef allocator, CFAllocatorContext* context) {
    if (context == nullptr || allocator == kCFAllocatorUseContext)
        return nullptr;
    auto* created = cf::create<OpaqueCFAllocator>(allocator, allocator_type_id());
    if (created == nullptr)
        return nullptr;
    created->context = *context;
    if (context->retain != nullptr)
        created->context.info = const_cast<void*>(context->retain(context->info));
    return created;
}

void* CFAllocatorAllocate(CFAllocatorRef allocator, CFIndex size, CFOptionFlags hint) {
    const OpaqueCFAllocator* a = resolve(allocator);
    if (size <= 0 || a->context.allocate == nullptr)
        return nullptr;
    return a->context.allocate(size, hint, a->context.info);
}

void* CFAllocatorReallocate(CFAllocatorRef allocator, void* ptr, CFIndex newsize,
                            CFOptionFlags hint) {
    const OpaqueCFAllocator* a = resolve(allocator);
    if (ptr == nullptr)
        return CFAllocatorAllocate(allocator, newsize, hint);
    if (newsize <= 0) {
        CFAllocatorDeallocate(allocator, ptr);
        return nullptr;
    }
    return a->context.reallocate ? a->context.reallocate(ptr, newsize, hint, a->context.info)
                                 : nullptr;
}

void CFAllocatorDeallocate(CFAllocatorRef allocator, void* ptr) {
    const OpaqueCFAllocator* a = resolve(allocator);
    if (ptr != nullptr && a->context.deallocate != nullptr)
        a->context.deallocate(ptr, a->context.info);
}

void CFAllocatorGetContext(CFAllocatorRef allocator, CFAllocatorContext* context) {
    if (context != nullptr)
        *context = resolve(allocator)->context;
}

namespace cf {

// Object memory always comes from an allocator that can allocate: the null
// allocator (used for "don't free my buffer") falls back to the system one.
void* allocate_object_memory(CFAllocatorRef allocator, size_t size) {
    const OpaqueCFAllocator* a = resolve(allocator);
    if (a->context.allocate == nullptr)
        a = &gSystemDefault;
    void* memory = a->context.allocate(static_cast<CFIndex>(size), 0, a->context.info);
    if (memory != nullptr)
        std::memset(memory, 0, size);
    return memory;
}

void free_object_memory(CFAllocatorRef allocator, void* memory) {
    const OpaqueCFAllocator* a = resolve(allocator);
    if (a->context.deallocate == nullptr)
        a = &gSystemDefault;
    a->context.deallocate(memory, a->context.info);
}

} // namespace cf
