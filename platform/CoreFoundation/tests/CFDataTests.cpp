#include <CoreFoundation/CFData.h>

#include <CoreFoundation/CFHolder.h>
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
    cf::Holder<CFDataRef> data(CFDataCreate(nullptr, bytes(source), 5));
    source[0] = 'j';
    EXPECT_EQ(contents(data.get()), "hello");

    cf::Holder<CFMutableDataRef> mutable_copy(CFDataCreateMutableCopy(nullptr, 0, data.get()));
    CFDataAppendBytes(mutable_copy.get(), bytes("!"), 1);
    EXPECT_EQ(contents(data.get()), "hello");
    EXPECT_EQ(contents(mutable_copy.get()), "hello!");

    UInt8 middle[3] = {};
    CFDataGetBytes(data.get(), CFRangeMake(1, 3), middle);
    EXPECT_EQ(std::memcmp(middle, "ell", 3), 0);
    cf::Holder<CFDataRef> empty(CFDataCreate(nullptr, nullptr, 0));
    EXPECT_EQ(CFDataGetLength(empty.get()), 0);
}

int gDeallocations = 0;
void counting_deallocate(void* ptr, void*) {
    ++gDeallocations;
    std::free(ptr);
}

TEST(CFData, NoCopyHandsTheBytesToTheDeallocatorOnce) {
    CFAllocatorContext context{};
    context.deallocate = counting_deallocate;
    cf::Holder<CFAllocatorRef> deallocator(CFAllocatorCreate(nullptr, &context));
    gDeallocations = 0;
    auto* block = static_cast<UInt8*>(std::malloc(4));
    std::memcpy(block, "abcd", 4);
    CFDataRef data = CFDataCreateWithBytesNoCopy(nullptr, block, 4, deallocator.get());
    EXPECT_EQ(CFDataGetBytePtr(data), block);
    CFRelease(data);
    EXPECT_EQ(gDeallocations, 1);

    // kCFAllocatorNull: the caller keeps the bytes.
    UInt8 stack[2] = {1, 2};
    CFRelease(CFDataCreateWithBytesNoCopy(nullptr, stack, 2, kCFAllocatorNull));
    EXPECT_EQ(stack[1], 2);
}

TEST(CFData, MutableEditing) {
    cf::Holder<CFMutableDataRef> data(CFDataCreateMutable(nullptr, 0));
    CFDataAppendBytes(data.get(), bytes("0123456789"), 10);
    CFDataReplaceBytes(data.get(), CFRangeMake(2, 3), bytes("abcdef"), 6); // grows
    EXPECT_EQ(contents(data.get()), "01abcdef56789");
    CFDataReplaceBytes(data.get(), CFRangeMake(0, 8), bytes("X"), 1); // shrinks
    EXPECT_EQ(contents(data.get()), "X56789");
    CFDataDeleteBytes(data.get(), CFRangeMake(1, 2));
    EXPECT_EQ(contents(data.get()), "X789");
    // Replacing with bytes taken from the object itself.
    CFDataReplaceBytes(data.get(), CFRangeMake(0, 1), CFDataGetBytePtr(data.get()) + 1, 3);
    EXPECT_EQ(contents(data.get()), "789789");

    CFDataSetLength(data.get(), 2);
    CFDataIncreaseLength(data.get(), 2);
    EXPECT_EQ(contents(data.get()), std::string("78\0\0", 4));
    CFDataGetMutableBytePtr(data.get())[3] = 'z';
    EXPECT_EQ(contents(data.get()), std::string("78\0z", 4));
}

TEST(CFData, RefusesBadEditsAndLeavesTheDataAlone) {
    cf::Holder<CFDataRef> fixed(CFDataCreate(nullptr, bytes("abc"), 3));
    CFDataAppendBytes(const_cast<CFMutableDataRef>(fixed.get()), bytes("d"), 1);
    EXPECT_EQ(CFDataGetMutableBytePtr(const_cast<CFMutableDataRef>(fixed.get())), nullptr);
    EXPECT_EQ(contents(fixed.get()), "abc");

    cf::Holder<CFMutableDataRef> data(CFDataCreateMutable(nullptr, 4));
    CFDataAppendBytes(data.get(), bytes("abc"), 3);
    CFDataDeleteBytes(data.get(), CFRangeMake(2, 5));
    CFDataAppendBytes(data.get(), bytes("de"), 2); // past the capacity of 4
    EXPECT_EQ(contents(data.get()), "abc");
    EXPECT_EQ(CFDataCreateMutableCopy(nullptr, 2, data.get()), nullptr);
}

TEST(CFData, EqualityHashAndDescription) {
    cf::Holder<CFDataRef> a(CFDataCreate(nullptr, bytes("\x01\xAB\xff"), 3));
    cf::Holder<CFMutableDataRef> b(CFDataCreateMutable(nullptr, 0));
    CFDataAppendBytes(b.get(), bytes("\x01\xAB"), 2);
    EXPECT_FALSE(CFEqual(a.get(), b.get()));
    CFDataAppendBytes(b.get(), bytes("\xff"), 1);
    EXPECT_TRUE(CFEqual(a.get(), b.get()));
    EXPECT_EQ(CFHash(a.get()), CFHash(b.get()));
    std::string text = cf::describe(a.get());
    EXPECT_NE(text.find("length = 3"), std::string::npos) << text;
    EXPECT_NE(text.find("0x01abff"), std::string::npos) << text;
}

} // namespace
