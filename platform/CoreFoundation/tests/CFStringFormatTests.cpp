#include "StringTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>

using cftest::utf8;

namespace {

std::string format(CFStringRef f, ...) {
    va_list ap;
    va_start(ap, f);
    cf::Holder<CFStringRef> s(CFStringCreateWithFormatAndArguments(nullptr, nullptr, f, ap));
    va_end(ap);
    return utf8(s.get());
}

TEST(CFStringFormat, IntegersWithFlagsWidthsAndLengths) {
    EXPECT_EQ(format(CFSTR("%d|%5d|%-5d|%05d|%+d|% d"), 42, 42, 42, 42, 42, 42),
              "42|   42|42   |00042|+42| 42");
    EXPECT_EQ(format(CFSTR("%i %u %o %x %X %#x"), -7, 7u, 8u, 255u, 255u, 255u),
              "-7 7 10 ff FF 0xff");
    EXPECT_EQ(format(CFSTR("%hhd %hhu %hd"), 300, 300, 70000), "44 44 4464");
    EXPECT_EQ(format(CFSTR("%ld %lld %qd %zu"), -5000000000L, 9000000000LL, -1LL, size_t(12)),
              "-5000000000 9000000000 -1 12");
    EXPECT_EQ(format(CFSTR("%lu %llx"), 18446744073709551615UL, 0x1234abcdULL),
              "18446744073709551615 1234abcd");
    EXPECT_EQ(format(CFSTR("%.3d|%*d|%-*d|%.*d"), 7, 4, 1, 4, 1, 2, 5), "007|   1|1   |05");
    EXPECT_EQ(format(CFSTR("%*d|"), -4, 9), "9   |"); // negative width aligns left
}

TEST(CFStringFormat, FloatingPoint) {
    EXPECT_EQ(format(CFSTR("%f %.2f %8.3f %-8.1f|"), 1.5, 3.14159, 2.0, 2.25),
              "1.500000 3.14    2.000 2.2     |");
    EXPECT_EQ(format(CFSTR("%e %.1E %g %g"), 12345.678, 0.00012, 0.0001, 1e20),
              "1.234568e+04 1.2E-04 0.0001 1e+20");
    EXPECT_EQ(format(CFSTR("%.2Lf"), 2.5L), "2.50");
}

TEST(CFStringFormat, CharactersAndStrings) {
    const UniChar unichars[] = {0x65E5, 0x672C, 0};
    EXPECT_EQ(format(CFSTR("[%c][%C][%S][%.1S]"), 'A', 0x20AC, unichars, unichars),
              "[A][€][日本][日]");
    EXPECT_EQ(format(CFSTR("[%s][%6s][%-6s][%.3s]"), "Grüße", "ab", "ab", "abcdef"),
              "[Grüße][    ab][ab    ][abc]");
    EXPECT_EQ(format(CFSTR("%s"), static_cast<const char*>(nullptr)), "(null)");
    EXPECT_EQ(format(CFSTR("%ls"), L"wide ü"), "wide ü");
    EXPECT_EQ(format(CFSTR("100%% sure, %d%%"), 5), "100% sure, 5%");
}

TEST(CFStringFormat, ObjectsThroughTheirDescription) {
    cf::Holder<CFStringRef> name(cftest::make("Ünïcode"));
    EXPECT_EQ(format(CFSTR("name=%@;"), name.get()), "name=Ünïcode;");
    EXPECT_EQ(format(CFSTR("[%10@][%-4@][%.2@]"), CFSTR("right"), CFSTR("l"), CFSTR("trunc")),
              "[     right][l   ][tr]");
    EXPECT_EQ(format(CFSTR("%@"), nullptr), "(null)");
    std::string allocator = format(CFSTR("%@"), kCFAllocatorMalloc);
    EXPECT_EQ(allocator.rfind("<CFAllocator 0x", 0), 0u) << allocator;
    // The format itself may come from a mutable string that is being appended to.
    cf::Holder<CFMutableStringRef> m(CFStringCreateMutableCopy(nullptr, 0, CFSTR("<%d>")));
    CFStringAppendFormat(m.get(), nullptr, m.get(), 3);
    EXPECT_EQ(utf8(m.get()), "<%d><3>");
}

TEST(CFStringFormat, PositionalArguments) {
    EXPECT_EQ(format(CFSTR("%2$@ %1$@"), CFSTR("world"), CFSTR("hello")), "hello world");
    // Different types in a reordered list, one used twice.
    EXPECT_EQ(format(CFSTR("%3$s: %1$d of %2$.1f (%1$d)"), 3, 4.5, "page"), "page: 3 of 4.5 (3)");
    EXPECT_EQ(format(CFSTR("%2$*1$d|"), 5, 42), "   42|");
    // A localised string that drops an argument still reads those after it right.
    EXPECT_EQ(format(CFSTR("%2$@"), 17, CFSTR("second")), "second");
}

TEST(CFStringFormat, PointersAndUnknownConversions) {
    EXPECT_EQ(format(CFSTR("%p"), reinterpret_cast<void*>(uintptr_t{0xbeef})), "0xbeef");
    EXPECT_EQ(format(CFSTR("%p"), nullptr), "0x0");
    EXPECT_EQ(format(CFSTR("%8p|"), reinterpret_cast<void*>(uintptr_t{0x10})), "    0x10|");
    int written = 123;
    EXPECT_EQ(format(CFSTR("a%nb"), &written), "ab");
    EXPECT_EQ(written, 123); // %n never writes
    EXPECT_EQ(format(CFSTR("%k and %d"), 5), "%k and 5");
    EXPECT_EQ(format(CFSTR("trailing %")), "trailing %");
}

std::string validated(CFStringRef valid, CFStringRef f, bool* refused, ...) {
    va_list ap;
    va_start(ap, refused);
    CFErrorRef error = nullptr;
    cf::Holder<CFStringRef> s(CFStringCreateStringWithValidatedFormatAndArguments(
        nullptr, nullptr, valid, f, ap, &error));
    va_end(ap);
    *refused = s.get() == nullptr;
    EXPECT_EQ(*refused, error != nullptr);
    if (error != nullptr) {
        EXPECT_EQ(CFErrorGetCode(error), 2048);
        CFRelease(error);
    }
    return *refused ? std::string() : utf8(s.get());
}

// A format read from a file may use only the arguments the caller's own format reads.
TEST(CFStringFormat, ValidatedFormatsReadOnlyTheArgumentsGiven) {
    bool refused = false;
    EXPECT_EQ(validated(CFSTR("%d of %@"), CFSTR("%2$@: %1$d"), &refused, 3, CFSTR("x")), "x: 3");
    EXPECT_FALSE(refused);
    EXPECT_EQ(validated(CFSTR("plain"), CFSTR("100%% sure"), &refused), "100% sure");
    EXPECT_FALSE(refused);
    for (CFStringRef bad : {CFSTR("%s %@ %n"), CFSTR("100 % sure"), CFSTR("%d"), CFSTR("%*d")}) {
        validated(CFSTR("plain"), bad, &refused);
        EXPECT_TRUE(refused) << utf8(bad);
    }
    // The same number of arguments, read another way: an object is not a C string or a real.
    validated(CFSTR("%@"), CFSTR("%s"), &refused, CFSTR("x"));
    EXPECT_TRUE(refused);
    validated(CFSTR("%d"), CFSTR("%f"), &refused, 1);
    EXPECT_TRUE(refused);
    validated(CFSTR("%d"), CFSTR("%ld"), &refused, 1);
    EXPECT_TRUE(refused);
    validated(CFSTR("%d %d"), CFSTR("%3$d"), &refused, 1, 2);
    EXPECT_TRUE(refused);
    // Positions skipped are still read the caller's way, so the later ones come out right.
    EXPECT_EQ(validated(CFSTR("%f %ld %@ %S"), CFSTR("%4$S %3$@"), &refused, 2.5, 7L, CFSTR("obj"),
                        u"uni"),
              "uni obj");
    EXPECT_FALSE(refused);
    // One argument read two ways: as an object by "%@", as an integer by "%1$d".
    validated(CFSTR("%d"), CFSTR("%@ %1$d"), &refused, 42);
    EXPECT_TRUE(refused);
}

} // namespace
