// Byte buffers. A data object either owns its bytes (a vector) or, when made
// with CFDataCreateWithBytesNoCopy, points at the caller's bytes and hands
// them to a deallocator when it goes away.
#include <CoreFoundation/CFData.h>

#include "CFValueSupport.h"

#include <cstring>
#include <vector>

struct OpaqueCFData : cf::Object {
    std::vector<UInt8> storage;
    const UInt8* external = nullptr; // bytes not ours to grow, when set
    CFIndex external_length = 0;
    CFAllocatorRef bytes_deallocator = nullptr;
    bool is_mutable = false;
    CFIndex capacity = 0;

    ~OpaqueCFData() {
        if (external != nullptr && bytes_deallocator != kCFAllocatorNull)
            CFAllocatorDeallocate(bytes_deallocator, const_cast<UInt8*>(external));
        if (bytes_deallocator != nullptr)
            CFRelease(bytes_deallocator);
    }
    const UInt8* bytes() const { return external != nullptr ? external : storage.data(); }
    CFIndex length() const {
        return external != nullptr ? external_length : static_cast<CFIndex>(storage.size());
    }
};

namespace {

bool equal_data(CFTypeRef a, CFTypeRef b) {
    auto* x = static_cast<const OpaqueCFData*>(a);
    auto* y = static_cast<const OpaqueCFData*>(b);
    return x->length() == y->length() &&
           (x->length() == 0 || std::memcmp(x->bytes(), y->bytes(), x->length()) == 0);
}

// Hashes the length and at most the first 80 bytes, so big blobs hash cheaply.
CFHashCode hash_data(CFTypeRef object) {
    auto* data = static_cast<const OpaqueCFData*>(object);
    CFHashCode hash = static_cast<CFHashCode>(data->length());
    CFIndex n = data->length() < 80 ? data->length() : 80;
    for (CFIndex i = 0; i < n; ++i)
        hash = hash * 1099511628211ULL ^ data->bytes()[i];
    return hash;
}

CFStringRef describe_data(CFTypeRef object) {
    auto* data = static_cast<const OpaqueCFData*>(object);
    static const char kHex[] = "0123456789abcdef";
    std::string text = cf::object_tag(object, "CFData") +
                       "{length = " + std::to_string(data->length()) + ", bytes = 0x";
    // Long blobs show their first and last bytes only.
    CFIndex n = data->length();
    for (CFIndex i = 0; i < n; ++i) {
        if (n > 32 && i == 16) {
            text += " ... ";
            i = n - 8;
        }
        text += kHex[data->bytes()[i] >> 4];
        text += kHex[data->bytes()[i] & 15];
    }
    return cf::make_cfstring(text + "}");
}

const cf::ClassDescriptor kDataClass = {"CFData", cf::destroy<OpaqueCFData>, equal_data, hash_data,
                                        describe_data};

CFTypeID data_type_id() {
    static CFTypeID id = cf::register_class(&kDataClass);
    return id;
}

OpaqueCFData* make_data(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length,
                        bool is_mutable, CFIndex capacity) {
    auto* data = cf::create<OpaqueCFData>(allocator, data_type_id());
    if (data == nullptr)
        return nullptr;
    if (length > 0)
        data->storage.assign(bytes, bytes + length);
    data->is_mutable = is_mutable;
    data->capacity = capacity;
    return data;
}

// The checks every editing entry starts with.
OpaqueCFData* editable(CFMutableDataRef data, const char* function) {
    if (!cf::check_type(data, data_type_id(), function) ||
        !cf::check_mutable(data->is_mutable, function))
        return nullptr;
    return data;
}

} // namespace

CFTypeID CFDataGetTypeID(void) {
    return data_type_id();
}

CFDataRef CFDataCreate(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length) {
    if (length < 0 || (length > 0 && bytes == nullptr))
        return nullptr;
    return make_data(allocator, bytes, length, false, 0);
}

CFDataRef CFDataCreateWithBytesNoCopy(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length,
                                      CFAllocatorRef bytesDeallocator) {
    if (length < 0 || (length > 0 && bytes == nullptr))
        return nullptr;
    auto* data = make_data(allocator, nullptr, 0, false, 0);
    if (data == nullptr)
        return nullptr;
    data->external = bytes;
    data->external_length = length;
    // Keep the deallocator alive until the bytes are handed back to it.
    data->bytes_deallocator = static_cast<CFAllocatorRef>(
        CFRetain(bytesDeallocator ? bytesDeallocator : CFAllocatorGetDefault()));
    return data;
}

CFDataRef CFDataCreateCopy(CFAllocatorRef allocator, CFDataRef theData) {
    if (!cf::check_type(theData, data_type_id(), __func__))
        return nullptr;
    return make_data(allocator, theData->bytes(), theData->length(), false, 0);
}

CFMutableDataRef CFDataCreateMutable(CFAllocatorRef allocator, CFIndex capacity) {
    return make_data(allocator, nullptr, 0, true, capacity > 0 ? capacity : 0);
}

CFMutableDataRef CFDataCreateMutableCopy(CFAllocatorRef allocator, CFIndex capacity,
                                         CFDataRef theData) {
    if (!cf::check_type(theData, data_type_id(), __func__) ||
        !cf::check_capacity(capacity, 0, theData->length(), __func__))
        return nullptr;
    return make_data(allocator, theData->bytes(), theData->length(), true,
                     capacity > 0 ? capacity : 0);
}

CFIndex CFDataGetLength(CFDataRef theData) {
    return cf::check_type(theData, data_type_id(), __func__) ? theData->length() : 0;
}

const UInt8* CFDataGetBytePtr(CFDataRef theData) {
    return cf::check_type(theData, data_type_id(), __func__) ? theData->bytes() : nullptr;
}

UInt8* CFDataGetMutableBytePtr(CFMutableDataRef theData) {
    OpaqueCFData* data = editable(theData, __func__);
    return data != nullptr ? data->storage.data() : nullptr;
}

void CFDataGetBytes(CFDataRef theData, CFRange range, UInt8* buffer) {
    if (!cf::check_type(theData, data_type_id(), __func__) ||
        !cf::check_range(range, theData->length(), __func__) || range.length == 0)
        return;
    std::memcpy(buffer, theData->bytes() + range.location, static_cast<size_t>(range.length));
}

void CFDataSetLength(CFMutableDataRef theData, CFIndex length) {
    OpaqueCFData* data = editable(theData, __func__);
    if (data == nullptr || length < 0 || !cf::check_capacity(data->capacity, 0, length, __func__))
        return;
    data->storage.resize(static_cast<size_t>(length), 0);
}

void CFDataIncreaseLength(CFMutableDataRef theData, CFIndex extraLength) {
    if (editable(theData, __func__) != nullptr && extraLength > 0)
        CFDataSetLength(theData, theData->length() + extraLength);
}

void CFDataAppendBytes(CFMutableDataRef theData, const UInt8* bytes, CFIndex length) {
    OpaqueCFData* data = editable(theData, __func__);
    if (data != nullptr && length > 0)
        CFDataReplaceBytes(theData, CFRangeMake(data->length(), 0), bytes, length);
}

void CFDataReplaceBytes(CFMutableDataRef theData, CFRange range, const UInt8* newBytes,
                        CFIndex newLength) {
    OpaqueCFData* data = editable(theData, __func__);
    if (data == nullptr || !cf::check_range(range, data->length(), __func__) || newLength < 0 ||
        (newLength > 0 && newBytes == nullptr) ||
        !cf::check_capacity(data->capacity, data->length() - range.length, newLength, __func__))
        return;
    auto& s = data->storage;
    // newBytes may point into our own storage: take a copy before moving things.
    std::vector<UInt8> incoming(newBytes, newBytes + newLength);
    auto first = s.begin() + range.location;
    first = s.erase(first, first + range.length);
    s.insert(first, incoming.begin(), incoming.end());
}

void CFDataDeleteBytes(CFMutableDataRef theData, CFRange range) {
    CFDataReplaceBytes(theData, range, nullptr, 0);
}
