// UUIDs: sixteen bytes compared by value. Constant UUIDs live in a registry
// for the life of the process, one object per value.
#include <CoreFoundation/CFUUID.h>
#include <CoreFoundation/CFDiagnostics.h>

#include "CFValueSupport.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <sys/random.h>

struct OpaqueCFUUID : cf::Object {
    CFUUIDBytes bytes{};
};

namespace {

using Bytes = std::array<UInt8, 16>;

Bytes to_array(const CFUUIDBytes& bytes) {
    Bytes out;
    std::memcpy(out.data(), &bytes, 16);
    return out;
}

bool equal_uuids(CFTypeRef a, CFTypeRef b) {
    return std::memcmp(&static_cast<const OpaqueCFUUID*>(a)->bytes,
                       &static_cast<const OpaqueCFUUID*>(b)->bytes, 16) == 0;
}

CFHashCode hash_uuid(CFTypeRef object) {
    Bytes bytes = to_array(static_cast<const OpaqueCFUUID*>(object)->bytes);
    UInt64 high, low;
    std::memcpy(&high, bytes.data(), 8);
    std::memcpy(&low, bytes.data() + 8, 8);
    return cf::hash_combine(high, low);
}

std::string format_uuid(const CFUUIDBytes& uuid) {
    Bytes b = to_array(uuid);
    char text[37];
    std::snprintf(text, sizeof text,
                  "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", b[0],
                  b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return text;
}

CFStringRef describe_uuid(CFTypeRef object) {
    return cf::make_cfstring(cf::object_tag(object, "CFUUID") + " " +
                             format_uuid(static_cast<const OpaqueCFUUID*>(object)->bytes));
}

const cf::ClassDescriptor kUUIDClass = {"CFUUID", cf::destroy<OpaqueCFUUID>, equal_uuids, hash_uuid,
                                        describe_uuid};

CFTypeID uuid_type_id() {
    static CFTypeID id = cf::register_class(&kUUIDClass);
    return id;
}

OpaqueCFUUID* make_uuid(CFAllocatorRef allocator, const Bytes& bytes) {
    auto* uuid = cf::create<OpaqueCFUUID>(allocator, uuid_type_id());
    if (uuid != nullptr)
        std::memcpy(&uuid->bytes, bytes.data(), 16);
    return uuid;
}

int hex_value(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// Parses the 8-4-4-4-12 form, optionally in braces. False if anything is off.
bool parse_uuid(std::string text, Bytes& out) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36)
        return false;
    size_t byte = 0;
    for (size_t i = 0; i < 36;) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i++] != '-')
                return false;
            continue;
        }
        int high = hex_value(text[i]), low = hex_value(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        out[byte++] = static_cast<UInt8>(high << 4 | low);
        i += 2;
    }
    return true;
}

} // namespace

CFTypeID CFUUIDGetTypeID(void) {
    return uuid_type_id();
}

CFUUIDRef CFUUIDCreate(CFAllocatorRef alloc) {
    Bytes bytes;
    if (getrandom(bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
        cf::report("CFUUIDCreate", "getrandom: %s", std::strerror(errno));
        return nullptr;
    }
    bytes[6] = static_cast<UInt8>((bytes[6] & 0x0F) | 0x40); // version 4: random
    bytes[8] = static_cast<UInt8>((bytes[8] & 0x3F) | 0x80); // the RFC 4122 variant
    return make_uuid(alloc, bytes);
}

CFUUIDRef CFUUIDCreateWithBytes(CFAllocatorRef alloc, UInt8 byte0, UInt8 byte1, UInt8 byte2,
                                UInt8 byte3, UInt8 byte4, UInt8 byte5, UInt8 byte6, UInt8 byte7,
                                UInt8 byte8, UInt8 byte9, UInt8 byte10, UInt8 byte11, UInt8 byte12,
                                UInt8 byte13, UInt8 byte14, UInt8 byte15) {
    return make_uuid(alloc, Bytes{byte0, byte1, byte2, byte3, byte4, byte5, byte6, byte7, byte8,
                                  byte9, byte10, byte11, byte12, byte13, byte14, byte15});
}

CFUUIDRef CFUUIDCreateFromString(CFAllocatorRef alloc, CFStringRef uuidStr) {
    if (uuidStr == nullptr)
        return nullptr;
    Bytes bytes;
    if (!parse_uuid(cf::utf8_string(uuidStr), bytes))
        return nullptr;
    return make_uuid(alloc, bytes);
}

CFUUIDRef CFUUIDCreateFromUUIDBytes(CFAllocatorRef alloc, CFUUIDBytes bytes) {
    return make_uuid(alloc, to_array(bytes));
}

CFStringRef CFUUIDCreateString(CFAllocatorRef alloc, CFUUIDRef uuid) {
    if (!cf::check_type(uuid, uuid_type_id(), __func__))
        return nullptr;
    return cf::make_cfstring(format_uuid(uuid->bytes), alloc);
}

CFUUIDRef CFUUIDGetConstantUUIDWithBytes(CFAllocatorRef, UInt8 byte0, UInt8 byte1, UInt8 byte2,
                                         UInt8 byte3, UInt8 byte4, UInt8 byte5, UInt8 byte6,
                                         UInt8 byte7, UInt8 byte8, UInt8 byte9, UInt8 byte10,
                                         UInt8 byte11, UInt8 byte12, UInt8 byte13, UInt8 byte14,
                                         UInt8 byte15) {
    static auto* constants = new std::map<Bytes, CFUUIDRef>;
    Bytes bytes{byte0, byte1, byte2,  byte3,  byte4,  byte5,  byte6,  byte7,
                byte8, byte9, byte10, byte11, byte12, byte13, byte14, byte15};
    auto found = constants->find(bytes);
    if (found != constants->end())
        return found->second;
    // Constants come from the system allocator, whatever the caller passed:
    // they outlive any allocator the caller might release.
    OpaqueCFUUID* uuid = make_uuid(kCFAllocatorSystemDefault, bytes);
    if (uuid == nullptr)
        return nullptr;
    cf::make_immortal(uuid);
    constants->emplace(bytes, uuid);
    return uuid;
}

CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid) {
    if (!cf::check_type(uuid, uuid_type_id(), __func__))
        return CFUUIDBytes{};
    return uuid->bytes;
}
