// Memory Manager handles: sizes, resizing, locking and refusing what is not a handle.
#include <CoreServices/MacMemory.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Handle, ResizingKeepsTheBytesAndLockedBlocksStayPut) {
    Handle h = NewHandle(0);
    ASSERT_NE(h, nullptr);
    ASSERT_NE(*h, nullptr); // even an empty block has a master pointer
    EXPECT_EQ(GetHandleSize(h), 0);

    SetHandleSize(h, 6);
    ASSERT_EQ(MemError(), noErr);
    std::memcpy(*h, "ledger", 6);
    SetHandleSize(h, 4096); // may move the bytes, never lose them
    ASSERT_EQ(MemError(), noErr);
    EXPECT_EQ(GetHandleSize(h), 4096);
    EXPECT_EQ(std::memcmp(*h, "ledger", 6), 0);

    HLock(h);
    EXPECT_EQ(HGetState(h) & 0x80, 0x80);
    Ptr pinned = *h;
    SetHandleSize(h, 8192); // a locked block cannot grow
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(GetHandleSize(h), 4096);
    SetHandleSize(h, 3); // but it can shrink where it is
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(*h, pinned);
    EXPECT_EQ(GetHandleSize(h), 3);

    SInt8 state = HGetState(h);
    HUnlock(h);
    EXPECT_EQ(HGetState(h) & 0x80, 0);
    HSetState(h, state);
    EXPECT_EQ(HGetState(h) & 0x80, 0x80);
    DisposeHandle(h);
    EXPECT_EQ(MemError(), noErr);
}

TEST(Handle, CopiesClearsAndRefusesWhatIsNotALiveHandle) {
    Handle copy = nullptr;
    ASSERT_EQ(PtrToHand("abc", &copy, 3), noErr);
    EXPECT_EQ(GetHandleSize(copy), 3);
    EXPECT_EQ(std::memcmp(*copy, "abc", 3), 0);

    Handle cleared = NewHandleClear(16);
    ASSERT_NE(cleared, nullptr);
    for (Size i = 0; i < 16; ++i)
        EXPECT_EQ((*cleared)[i], 0);
    DisposeHandle(cleared);

    EXPECT_EQ(GetHandleSize(nullptr), 0);
    EXPECT_EQ(MemError(), nilHandleErr);
    Ptr stack = nullptr;
    EXPECT_EQ(GetHandleSize(&stack), 0); // a pointer to a pointer is not a handle
    EXPECT_EQ(MemError(), memWZErr);
    DisposeHandle(copy);
    EXPECT_EQ(GetHandleSize(copy), 0); // disposed of: no longer a handle
    EXPECT_EQ(MemError(), memWZErr);
    EXPECT_EQ(NewHandle(-1), nullptr);
    EXPECT_EQ(MemError(), paramErr);
    EXPECT_EQ(PtrToHand(nullptr, &copy, 4), paramErr);
}

} // namespace
