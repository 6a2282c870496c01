#include <CoreFoundation/CFData.h>

#include "CFOwned.h"
#include "CFValueSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string contents(CFDataRef data) {
    return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                       static_cast<size_t>(CFDataGetLength(data)));
}

const UInt8* bytes(const char* text) {
    return reinterpret_cast<const UInt8*>(text);
}

TEST(CFData, CreateCopiesAndCopiesAreIndependent) {
    char source[] = "hello";
    Owned<CFDataRef> data(CFDataCreate(nullptr, bytes(source), 5));
    source[0] = 'j';
    EXPECT_EQ(contents(data), "hello");

    Owned<CFMutableDataRef> mutable_copy(CFDataCreateMutableCopy(nullptr, 0, data));
    CFDataAppendBytes(mutable_copy, bytes("!"), 1);
    EXPECT_EQ(contents(data), "hello");
    EXPECT_EQ(contents(mutable_copy), "hello!");

    UInt8 middle[3] = {};
    CFDataGetBytes(data, CFRangeMake(1, 3), middle);
    EXPECT_EQ(std::memcmp(middle, "ell", 3), 0);
    Owned<CFDataRef> empty(CFDataCreate(nullptr, nullptr, 0));
    EXPECT_EQ(CFDataGetLength(empty), 0);
}

int gDeallocations = 0;
void counting_deallocate(void* ptr, void*) {
    ++gDeallocations;
    std::free(ptr);
}

TEST(CFData, NoCopyHandsTheBytesToTheDeallocatorOnce) {
    CFAllocatorContext context{};
    context.deallocate = counting_deallocate;
    Owned<CFAllocatorRef> deallocator(CFAllocatorCreate(nullptr, &context));
    gDeallocations = 0;
    auto* block = static_cast<UInt8*>(std::malloc(4));
    std::memcpy(block, "abcd", 4);
    CFDataRef data = CFDataCreateWithBytesNoCopy(nullptr, block, 4, deallocator);
    EXPECT_EQ(CFDataGetBytePtr(data), block);
    CFRelease(data);
    EXPECT_EQ(gDeallocations, 1);

    // kCFAllocatorNull: the caller keeps the bytes.
    UInt8 stack[2] = {1, 2};
    CFRelease(CFDataCreateWithBytesNoCopy(nullptr, stack, 2, kCFAllocatorNull));
    EXPECT_EQ(stack[1], 2);
}

TEST(CFData, MutableEditing) {
    Owned<CFMutableDataRef> data(CFDataCreateMutable(nullptr, 0));
    CFDataAppendBytes(data, bytes("0123456789"), 10);
    CFDataReplaceBytes(data, CFRangeMake(2, 3), bytes("abcdef"), 6); // grows
    EXPECT_EQ(contents(data), "01abcdef56789");
    CFDataReplaceBytes(data, CFRangeMake(0, 8), bytes("X"), 1); // shrinks
    EXPECT_EQ(contents(data), "X56789");
    CFDataDeleteBytes(data, CFRangeMake(1, 2));
    EXPECT_EQ(contents(data), "X789");
    // Replacing with bytes taken from the object itself.
    CFDataReplaceBytes(data, CFRangeMake(0, 1), CFDataGetBytePtr(data) + 1, 3);
    EXPECT_EQ(contents(data), "789789");

    CFDataSetLength(data, 2);
    CFDataIncreaseLength(data, 2);
    EXPECT_EQ(contents(data), std::string("78\0\0", 4));
    CFDataGetMutableBytePtr(data)[3] = 'z';
    EXPECT_EQ(contents(data), std::string("78\0z", 4));
}

TEST(CFData, RefusesBadEditsAndLeavesTheDataAlone) {
    Owned<CFDataRef> fixed(CFDataCreate(nullptr, bytes("abc"), 3));
    CFDataAppendBytes(const_cast<CFMutableDataRef>(fixed.get()), bytes("d"), 1);
    EXPECT_EQ(CFDataGetMutableBytePtr(const_cast<CFMutableDataRef>(fixed.get())), nullptr);
    EXPECT_EQ(contents(fixed), "abc");

    Owned<CFMutableDataRef> data(CFDataCreateMutable(nullptr, 4));
    CFDataAppendBytes(data, bytes("abc"), 3);
    CFDataDeleteBytes(data, CFRangeMake(2, 5));
    CFDataAppendBytes(data, bytes("de"), 2); // past the capacity of 4
    EXPECT_EQ(contents(data), "abc");
    EXPECT_EQ(CFDataCreateMutableCopy(nullptr, 2, data), nullptr);
}

TEST(CFData, EqualityHashAndDescription) {
    Owned<CFDataRef> a(CFDataCreate(nullptr, bytes("\x01\xAB\xff"), 3));
    Owned<CFMutableDataRef> b(CFDataCreateMutable(nullptr, 0));
    CFDataAppendBytes(b, bytes("\x01\xAB"), 2);
    EXPECT_FALSE(CFEqual(a, b));
    CFDataAppendBytes(b, bytes("\xff"), 1);
    EXPECT_TRUE(CFEqual(a, b));
    EXPECT_EQ(CFHash(a), CFHash(b));
    std::string text = cf::describe(a);
    EXPECT_NE(text.find("length = 3"), std::string::npos) << text;
    EXPECT_NE(text.find("0x01abff"), std::string::npos) << text;
}

} // namespace
