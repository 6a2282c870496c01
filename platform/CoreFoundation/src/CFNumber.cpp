// Boxed numbers. Integers are kept as SInt64 and floating-point values as
// double (a Float32 converts to double exactly); the type reported is the
// fixed-width type that the creating type maps to.
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFDiagnostics.h>

#include "CFValueSupport.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

struct OpaqueCFNumber : cf::Object {
    CFNumberType type = kCFNumberSInt64Type; // always one of the six fixed-width types
    SInt64 integer = 0;
    double real = 0;
};

namespace {

struct TypeInfo {
    CFNumberType storage; // the fixed-width type
    size_t size;          // bytes at valuePtr
    bool is_float;
};

// Indexed by CFNumberType; entry 0 is invalid.
constexpr TypeInfo kTypes[] = {
    {0, 0, false},
    {kCFNumberSInt8Type, 1, false},
    {kCFNumberSInt16Type, 2, false},
    {kCFNumberSInt32Type, 4, false},
    {kCFNumberSInt64Type, 8, false},
    {kCFNumberFloat32Type, 4, true},
    {kCFNumberFloat64Type, 8, true},
    {kCFNumberSInt8Type, sizeof(char), false},
    {kCFNumberSInt16Type, sizeof(short), false},
    {kCFNumberSInt32Type, sizeof(int), false},
    {kCFNumberSInt64Type, sizeof(long), false},
    {kCFNumberSInt64Type, sizeof(long long), false},
    {kCFNumberFloat32Type, sizeof(float), true},
    {kCFNumberFloat64Type, sizeof(double), true},
    {kCFNumberSInt64Type, sizeof(CFIndex), false},
    {kCFNumberSInt64Type, sizeof(long), false},
    {kCFNumberFloat64Type, sizeof(double), true},
};
static_assert(sizeof(long) == 8, "the number table assumes LP64");

const TypeInfo* type_info(CFNumberType type) {
    if (type < kCFNumberSInt8Type || type > kCFNumberMaxType)
        return nullptr;
    return &kTypes[type];
}

const char* type_name(CFNumberType type) {
    switch (type) {
    case kCFNumberSInt8Type:
        return "kCFNumberSInt8Type";
    case kCFNumberSInt16Type:
        return "kCFNumberSInt16Type";
    case kCFNumberSInt32Type:
        return "kCFNumberSInt32Type";
    case kCFNumberSInt64Type:
        return "kCFNumberSInt64Type";
    case kCFNumberFloat32Type:
        return "kCFNumberFloat32Type";
    default:
        return "kCFNumberFloat64Type";
    }
}

bool is_float(const OpaqueCFNumber* n) {
    return kTypes[n->type].is_float;
}

// Numeric order; NaN equals NaN and sorts before everything else, so that
// sorting and hashing see a total order. long double holds every SInt64 and
// every double exactly, so mixed comparisons are exact.
CFComparisonResult compare(const OpaqueCFNumber* a, const OpaqueCFNumber* b) {
    bool a_nan = is_float(a) && std::isnan(a->real);
    bool b_nan = is_float(b) && std::isnan(b->real);
    if (a_nan || b_nan)
        return a_nan == b_nan ? kCFCompareEqualTo
                              : (a_nan ? kCFCompareLessThan : kCFCompareGreaterThan);
    if (!is_float(a) && !is_float(b))
        return a->integer < b->integer   ? kCFCompareLessThan
               : a->integer > b->integer ? kCFCompareGreaterThan
                                         : kCFCompareEqualTo;
    long double x = is_float(a) ? a->real : static_cast<long double>(a->integer);
    long double y = is_float(b) ? b->real : static_cast<long double>(b->integer);
    return x < y ? kCFCompareLessThan : x > y ? kCFCompareGreaterThan : kCFCompareEqualTo;
}

bool equal_numbers(CFTypeRef a, CFTypeRef b) {
    return compare(static_cast<const OpaqueCFNumber*>(a), static_cast<const OpaqueCFNumber*>(b)) ==
           kCFCompareEqualTo;
}

// Integral values hash as the integer, whatever their storage, to agree with equality.
CFHashCode hash_number(CFTypeRef object) {
    auto* n = static_cast<const OpaqueCFNumber*>(object);
    if (!is_float(n))
        return static_cast<CFHashCode>(n->integer);
    double d = n->real;
    if (std::isnan(d))
        return 0x7ff8000000000000ULL;
    if (d == std::trunc(d) && d >= -0x1p63 && d < 0x1p63)
        return static_cast<CFHashCode>(static_cast<SInt64>(d));
    UInt64 bits;
    std::memcpy(&bits, &d, sizeof bits);
    return static_cast<CFHashCode>(bits);
}

CFStringRef describe_number(CFTypeRef object) {
    auto* n = static_cast<const OpaqueCFNumber*>(object);
    char value[64];
    if (is_float(n))
        std::snprintf(value, sizeof value, "%.17g", n->real);
    else
        std::snprintf(value, sizeof value, "%lld", static_cast<long long>(n->integer));
    return cf::make_cfstring(cf::object_tag(object, "CFNumber") + "{value = " + value +
                             ", type = " + type_name(n->type) + "}");
}

const cf::ClassDescriptor kNumberClass = {"CFNumber", cf::destroy<OpaqueCFNumber>, equal_numbers,
                                          hash_number, describe_number};

CFTypeID number_type_id() {
    static CFTypeID id = cf::register_class(&kNumberClass);
    return id;
}

template <class T> T load(const void* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

template <class T> void store(void* p, T value) {
    std::memcpy(p, &value, sizeof value);
}

// Reads *valuePtr as the given type into the number's fields.
void read_value(OpaqueCFNumber* n, const TypeInfo& info, const void* p) {
    if (info.is_float) {
        n->real = info.size == 4 ? load<float>(p) : load<double>(p);
        return;
    }
    switch (info.size) {
    case 1:
        n->integer = load<SInt8>(p);
        break;
    case 2:
        n->integer = load<SInt16>(p);
        break;
    case 4:
        n->integer = load<SInt32>(p);
        break;
    default:
        n->integer = load<SInt64>(p);
    }
}

template <class T> bool store_integer(void* p, SInt64 value) {
    store<T>(p, static_cast<T>(value)); // keeps the low bits, as a C cast does
    return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
}

template <class T> bool store_truncated(void* p, double value) {
    if (std::isnan(value)) {
        store<T>(p, 0);
        return false;
    }
    double t = std::trunc(value);
    // Saturate rather than convert out of range, which is undefined in C++.
    constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
    constexpr double hi = -lo; // 2^(bits-1): one past the largest value
    if (t < lo || t >= hi) {
        store<T>(p, t < lo ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max());
        return false;
    }
    store<T>(p, static_cast<T>(t));
    return t == value;
}

bool get_as_integer(const OpaqueCFNumber* n, size_t size, void* p) {
    if (is_float(n)) {
        switch (size) {
        case 1:
            return store_truncated<SInt8>(p, n->real);
        case 2:
            return store_truncated<SInt16>(p, n->real);
        case 4:
            return store_truncated<SInt32>(p, n->real);
        default:
            return store_truncated<SInt64>(p, n->real);
        }
    }
    switch (size) {
    case 1:
        return store_integer<SInt8>(p, n->integer);
    case 2:
        return store_integer<SInt16>(p, n->integer);
    case 4:
        return store_integer<SInt32>(p, n->integer);
    default:
        return store_integer<SInt64>(p, n->integer);
    }
}

bool get_as_float(const OpaqueCFNumber* n, size_t size, void* p) {
    if (size == 8) {
        double d = is_float(n) ? n->real : static_cast<double>(n->integer);
        store<double>(p, d);
        return is_float(n) || static_cast<long double>(d) == n->integer;
    }
    if (is_float(n)) {
        double d = n->real;
        if (std::isfinite(d) && std::fabs(d) > FLT_MAX) {
            store<float>(p, d > 0 ? HUGE_VALF : -HUGE_VALF);
            return false;
        }
        float f = static_cast<float>(d);
        store<float>(p, f);
        return std::isnan(d) || static_cast<double>(f) == d;
    }
    float f = static_cast<float>(n->integer);
    store<float>(p, f);
    return static_cast<long double>(f) == n->integer;
}

OpaqueCFNumber make_constant(double value) {
    OpaqueCFNumber number;
    cf::init_header(&number, nullptr, number_type_id());
    number.type = kCFNumberFloat64Type;
    number.real = value;
    return number;
}

OpaqueCFNumber gPositiveInfinity = make_constant(HUGE_VAL);
OpaqueCFNumber gNegativeInfinity = make_constant(-HUGE_VAL);
OpaqueCFNumber gNaN = make_constant(std::numeric_limits<double>::quiet_NaN());

struct Immortalize {
    Immortalize() {
        for (CFTypeRef n : {&gPositiveInfinity, &gNegativeInfinity, &gNaN})
            cf::make_immortal(n);
    }
} gImmortalize;

} // namespace

const CFNumberRef kCFNumberPositiveInfinity = &gPositiveInfinity;
const CFNumberRef kCFNumberNegativeInfinity = &gNegativeInfinity;
const CFNumberRef kCFNumberNaN = &gNaN;

CFTypeID CFNumberGetTypeID(void) {
    return number_type_id();
}

CFNumberRef CFNumberCreate(CFAllocatorRef allocator, CFNumberType theType, const void* valuePtr) {
    const TypeInfo* info = type_info(theType);
    if (info == nullptr || valuePtr == nullptr) {
        cf::report(__func__, "invalid number type %ld or NULL value", theType);
        return nullptr;
    }
    auto* number = cf::create<OpaqueCFNumber>(allocator, number_type_id());
    if (number == nullptr)
        return nullptr;
    number->type = info->storage;
    read_value(number, *info, valuePtr);
    return number;
}

CFNumberType CFNumberGetType(CFNumberRef number) {
    if (!cf::check_type(number, number_type_id(), __func__))
        return 0;
    return number->type;
}

CFIndex CFNumberGetByteSize(CFNumberRef number) {
    if (!cf::check_type(number, number_type_id(), __func__))
        return 0;
    return static_cast<CFIndex>(kTypes[number->type].size);
}

Boolean CFNumberIsFloatType(CFNumberRef number) {
    if (!cf::check_type(number, number_type_id(), __func__))
        return false;
    return is_float(number);
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr) {
    const TypeInfo* info = type_info(theType);
    if (!cf::check_type(number, number_type_id(), __func__) || info == nullptr ||
        valuePtr == nullptr)
        return false;
    return info->is_float ? get_as_float(number, info->size, valuePtr)
                          : get_as_integer(number, info->size, valuePtr);
}

CFComparisonResult CFNumberCompare(CFNumberRef number, CFNumberRef otherNumber, void*) {
    if (!cf::check_type(number, number_type_id(), __func__) ||
        !cf::check_type(otherNumber, number_type_id(), __func__))
        return kCFCompareEqualTo;
    return compare(number, otherNumber);
}
