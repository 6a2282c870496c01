// Ordered collections. Values sit in a vector; the callbacks given at
// creation decide how they are retained, released, described and compared.
#include <CoreFoundation/CFArray.h>

#include "CFValueSupport.h"

#include <algorithm>
#include <vector>

struct OpaqueCFArray : cf::Object {
    CFArrayCallBacks callbacks{};
    std::vector<const void*> values;
    bool is_mutable = false;
    CFIndex capacity = 0;

    const void* retain(const void* value) const {
        return callbacks.retain ? callbacks.retain(allocator, value) : value;
    }
    void release(const void* value) const {
        if (callbacks.release != nullptr)
            callbacks.release(allocator, value);
    }
    bool same(const void* a, const void* b) const {
        return a == b || (callbacks.equal != nullptr && callbacks.equal(a, b));
    }
    CFIndex count() const { return static_cast<CFIndex>(values.size()); }
    ~OpaqueCFArray() {
        for (const void* value : values)
            release(value);
    }
};

const CFArrayCallBacks kCFTypeArrayCallBacks = {0, cf::retain_callback, cf::release_callback,
                                                cf::copy_description_callback, cf::equal_callback};

namespace {

bool equal_arrays(CFTypeRef a, CFTypeRef b) {
    auto* x = static_cast<const OpaqueCFArray*>(a);
    auto* y = static_cast<const OpaqueCFArray*>(b);
    if (x->count() != y->count())
        return false;
    for (CFIndex i = 0; i < x->count(); ++i)
        if (!x->same(x->values[i], y->values[i]))
            return false;
    return true;
}

CFHashCode hash_array(CFTypeRef object) {
    return static_cast<CFHashCode>(static_cast<const OpaqueCFArray*>(object)->count());
}

CFStringRef describe_array(CFTypeRef object) {
    auto* array = static_cast<const OpaqueCFArray*>(object);
    std::string text = cf::object_tag(object, "CFArray") +
                       "{type = " + (array->is_mutable ? "mutable" : "immutable") +
                       ", count = " + std::to_string(array->count()) + ", values = (\n";
    for (CFIndex i = 0; i < array->count(); ++i)
        text += "\t" + std::to_string(i) + " : " +
                cf::describe_element(array->values[i], array->callbacks.copyDescription) + "\n";
    return cf::make_cfstring(text + ")}");
}

const cf::ClassDescriptor kArrayClass = {"CFArray", cf::destroy<OpaqueCFArray>, equal_arrays,
                                         hash_array, describe_array};

CFTypeID array_type_id() {
    static CFTypeID id = cf::register_class(&kArrayClass);
    return id;
}

OpaqueCFArray* make_array(CFAllocatorRef allocator, const CFArrayCallBacks* callbacks,
                          const void** values, CFIndex count, bool is_mutable, CFIndex capacity) {
    auto* array = cf::create<OpaqueCFArray>(allocator, array_type_id());
    if (array == nullptr)
        return nullptr;
    if (callbacks != nullptr)
        array->callbacks = *callbacks;
    array->is_mutable = is_mutable;
    array->capacity = capacity > 0 ? capacity : 0;
    array->values.reserve(static_cast<size_t>(count));
    for (CFIndex i = 0; i < count; ++i)
        array->values.push_back(array->retain(values[i]));
    return array;
}

OpaqueCFArray* editable(CFMutableArrayRef array, const char* function) {
    if (!cf::check_type(array, array_type_id(), function) ||
        !cf::check_mutable(array->is_mutable, function))
        return nullptr;
    return array;
}

// The array when it is one and range lies inside it.
const OpaqueCFArray* readable(CFArrayRef array, CFRange range, const char* function) {
    if (!cf::check_type(array, array_type_id(), function) ||
        !cf::check_range(range, array->count(), function))
        return nullptr;
    return array;
}

} // namespace

CFTypeID CFArrayGetTypeID(void) {
    return array_type_id();
}

CFArrayRef CFArrayCreate(CFAllocatorRef allocator, const void** values, CFIndex numValues,
                         const CFArrayCallBacks* callBacks) {
    if (numValues < 0 || (numValues > 0 && values == nullptr))
        return nullptr;
    return make_array(allocator, callBacks, values, numValues, false, 0);
}

CFArrayRef CFArrayCreateCopy(CFAllocatorRef allocator, CFArrayRef theArray) {
    if (!cf::check_type(theArray, array_type_id(), __func__))
        return nullptr;
    return make_array(allocator, &theArray->callbacks,
                      const_cast<const void**>(theArray->values.data()), theArray->count(), false,
                      0);
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                       const CFArrayCallBacks* callBacks) {
    return make_array(allocator, callBacks, nullptr, 0, true, capacity);
}

CFMutableArrayRef CFArrayCreateMutableCopy(CFAllocatorRef allocator, CFIndex capacity,
                                           CFArrayRef theArray) {
    if (!cf::check_type(theArray, array_type_id(), __func__) ||
        !cf::check_capacity(capacity, 0, theArray->count(), __func__))
        return nullptr;
    return make_array(allocator, &theArray->callbacks,
                      const_cast<const void**>(theArray->values.data()), theArray->count(), true,
                      capacity);
}

CFIndex CFArrayGetCount(CFArrayRef theArray) {
    return cf::check_type(theArray, array_type_id(), __func__) ? theArray->count() : 0;
}

CFIndex CFArrayGetCountOfValue(CFArrayRef theArray, CFRange range, const void* value) {
    const OpaqueCFArray* array = readable(theArray, range, __func__);
    if (array == nullptr)
        return 0;
    auto first = array->values.begin() + range.location;
    return std::count_if(first, first + range.length,
                         [&](const void* v) { return array->same(v, value); });
}

Boolean CFArrayContainsValue(CFArrayRef theArray, CFRange range, const void* value) {
    return CFArrayGetFirstIndexOfValue(theArray, range, value) != kCFNotFound;
}

const void* CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx) {
    if (!cf::check_type(theArray, array_type_id(), __func__) ||
        !cf::check_index(idx, theArray->count(), __func__))
        return nullptr;
    return theArray->values[static_cast<size_t>(idx)];
}

void CFArrayGetValues(CFArrayRef theArray, CFRange range, const void** values) {
    const OpaqueCFArray* array = readable(theArray, range, __func__);
    if (array != nullptr && values != nullptr)
        std::copy_n(array->values.begin() + range.location, range.length, values);
}

void CFArrayApplyFunction(CFArrayRef theArray, CFRange range, CFArrayApplierFunction applier,
                          void* context) {
    const OpaqueCFArray* array = readable(theArray, range, __func__);
    if (array == nullptr || applier == nullptr)
        return;
    for (CFIndex i = range.location; i < range.location + range.length; ++i)
        applier(array->values[static_cast<size_t>(i)], context);
}

CFIndex CFArrayGetFirstIndexOfValue(CFArrayRef theArray, CFRange range, const void* value) {
    const OpaqueCFArray* array = readable(theArray, range, __func__);
    if (array == nullptr)
        return kCFNotFound;
    for (CFIndex i = range.location; i < range.location + range.length; ++i)
        if (array->same(array->values[static_cast<size_t>(i)], value))
            return i;
    return kCFNotFound;
}

CFIndex CFArrayGetLastIndexOfValue(CFArrayRef theArray, CFRange range, const void* value) {
    const OpaqueCFArray* array = readable(theArray, range, __func__);
    if (array == nullptr)
        return kCFNotFound;
    for (CFIndex i = range.location + range.length - 1; i >= range.location; --i)
        if (array->same(array->values[static_cast<size_t>(i)], value))
            return i;
    return kCFNotFound;
}

CFIndex CFArrayBSearchValues(CFArrayRef theArray, CFRange range, const void* value,
                             CFComparatorFunction comparator, void* context) {
    const OpaqueCFArray* array = readable(theArray, range, __func__);
    if (array == nullptr || comparator == nullptr)
        return range.location;
    // The first value not less than the one sought: a match, or the insertion point.
    auto first = array->values.begin() + range.location;
    auto found = std::lower_bound(
        first, first + range.length, value, [&](const void* element, const void* sought) {
            return comparator(element, sought, context) == kCFCompareLessThan;
        });
    return static_cast<CFIndex>(found - array->values.begin());
}

void CFArrayAppendValue(CFMutableArrayRef theArray, const void* value) {
    OpaqueCFArray* array = editable(theArray, __func__);
    if (array != nullptr)
        CFArrayInsertValueAtIndex(theArray, array->count(), value);
}

void CFArrayInsertValueAtIndex(CFMutableArrayRef theArray, CFIndex idx, const void* value) {
    OpaqueCFArray* array = editable(theArray, __func__);
    if (array == nullptr || !cf::check_index(idx, array->count() + 1, __func__) ||
        !cf::check_capacity(array->capacity, array->count(), 1, __func__))
        return;
    array->values.insert(array->values.begin() + idx, array->retain(value));
}

void CFArraySetValueAtIndex(CFMutableArrayRef theArray, CFIndex idx, const void* value) {
    OpaqueCFArray* array = editable(theArray, __func__);
    if (array == nullptr)
        return;
    // Setting the index just past the end appends.
    if (idx == array->count()) {
        CFArrayInsertValueAtIndex(theArray, idx, value);
        return;
    }
    if (!cf::check_index(idx, array->count(), __func__))
        return;
    const void* old = array->values[static_cast<size_t>(idx)];
    array->values[static_cast<size_t>(idx)] = array->retain(value);
    array->release(old);
}

void CFArrayRemoveValueAtIndex(CFMutableArrayRef theArray, CFIndex idx) {
    OpaqueCFArray* array = editable(theArray, __func__);
    if (array == nullptr || !cf::check_index(idx, array->count(), __func__))
        return;
    CFArrayReplaceValues(theArray, CFRangeMake(idx, 1), nullptr, 0);
}

void CFArrayRemoveAllValues(CFMutableArrayRef theArray) {
    OpaqueCFArray* array = editable(theArray, __func__);
    if (array != nullptr)
        CFArrayReplaceValues(theArray, CFRangeMake(0, array->count()), nullptr, 0);
}

void CFArrayReplaceValues(CFMutableArrayRef theArray, CFRange range, const void** newValues,
                          CFIndex newCount) {
    OpaqueCFArray* array = editable(theArray, __func__);
    if (array == nullptr || !cf::check_range(range, array->count(), __func__) || newCount < 0 ||
        (newCount > 0 && newValues == nullptr) ||
        !cf::check_capacity(array->capacity, array->count() - range.length, newCount, __func__))
        return;
    // Retain the newcomers before releasing the old values: they may be the same objects.
    std::vector<const void*> incoming;
    incoming.reserve(static_cast<size_t>(newCount));
    for (CFIndex i = 0; i < newCount; ++i)
        incoming.push_back(array->retain(newValues[i]));
    auto first = array->values.begin() + range.location;
    std::vector<const void*> outgoing(first, first + range.length);
    first = array->values.erase(first, first + range.length);
    array->values.insert(first, incoming.begin(), incoming.end());
    for (const void* value : outgoing)
        array->release(value);
}

void CFArrayExchangeValuesAtIndices(CFMutableArrayRef theArray, CFIndex idx1, CFIndex idx2) {
    OpaqueCFArray* array = editable(theArray, __func__);
    if (array == nullptr || !cf::check_index(idx1, array->count(), __func__) ||
        !cf::check_index(idx2, array->count(), __func__))
        return;
    std::swap(array->values[static_cast<size_t>(idx1)], array->values[static_cast<size_t>(idx2)]);
}

void CFArraySortValues(CFMutableArrayRef theArray, CFRange range, CFComparatorFunction comparator,
                       void* context) {
    OpaqueCFArray* array = editable(theArray, __func__);
    if (array == nullptr || comparator == nullptr ||
        !cf::check_range(range, array->count(), __func__))
        return;
    auto first = array->values.begin() + range.location;
    std::stable_sort(first, first + range.length, [&](const void* a, const void* b) {
        return comparator(a, b, context) == kCFCompareLessThan;
    });
}

void CFArrayAppendArray(CFMutableArrayRef theArray, CFArrayRef otherArray, CFRange otherRange) {
    OpaqueCFArray* array = editable(theArray, __func__);
    const OpaqueCFArray* other = readable(otherArray, otherRange, __func__);
    if (array == nullptr || other == nullptr)
        return;
    // Copy first: otherArray may be theArray itself.
    auto first = other->values.begin() + otherRange.location;
    std::vector<const void*> values(first, first + otherRange.length);
    CFArrayReplaceValues(theArray, CFRangeMake(array->count(), 0), values.data(),
                         otherRange.length);
}
