// The scrap: flavors and their errors, stale references after a clear, and
// a host that joins it to an outside clipboard.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Scrap, HoldsOneOfEachFlavorUntilCleared) {
    ASSERT_EQ(noErr, ClearCurrentScrap());
    ScrapRef scrap = nullptr;
    ASSERT_EQ(noErr, GetCurrentScrap(&scrap));
    ASSERT_EQ(noErr, PutScrapFlavor(scrap, 'TEXT', kScrapFlavorMaskNone, 5, "hello"));
    EXPECT_EQ(duplicateScrapFlavorErr, PutScrapFlavor(scrap, 'TEXT', 0, 1, "x"));
    EXPECT_EQ(illegalScrapFlavorTypeErr, PutScrapFlavor(scrap, 0, 0, 1, "x"));
    EXPECT_EQ(nilScrapFlavorDataErr, PutScrapFlavor(scrap, 'abcd', 0, 1, nullptr));
    EXPECT_EQ(illegalScrapFlavorFlagsErr, PutScrapFlavor(scrap, 'abcd', 0x100, 1, "x"));

    Size size = 0;
    ASSERT_EQ(noErr, GetScrapFlavorSize(scrap, 'TEXT', &size));
    EXPECT_EQ(5, size);
    char buffer[8] = {};
    size = 3; // a prefix
    ASSERT_EQ(noErr, GetScrapFlavorData(scrap, 'TEXT', &size, buffer));
    EXPECT_EQ(3, size);
    EXPECT_EQ(std::string("hel"), std::string(buffer, 3));
    EXPECT_EQ(noTypeErr, GetScrapFlavorSize(scrap, 'PICT', &size));
    UInt32 count = 0;
    ASSERT_EQ(noErr, GetScrapFlavorCount(scrap, &count));
    EXPECT_EQ(1u, count);

    ASSERT_EQ(noErr, ClearCurrentScrap());
    EXPECT_EQ(badScrapRefErr, GetScrapFlavorSize(scrap, 'TEXT', &size));
    ASSERT_EQ(noErr, GetCurrentScrap(&scrap));
    EXPECT_EQ(noTypeErr, GetScrapFlavorSize(scrap, 'TEXT', &size));
}

int gChanges = 0;
const char* gDesktop = nullptr;

void changed(void*) {
    ++gChanges;
}

CFStringRef desktop_text(void*) {
    if (gDesktop == nullptr)
        return nullptr;
    CFStringRef text = CFStringCreateWithCString(nullptr, gDesktop, kCFStringEncodingUTF8);
    gDesktop = nullptr; // taken once: the scrap holds it now
    return text;
}

TEST(Scrap, AHostHearsOfChangesAndBringsDesktopText) {
    PlatformScrapHost host{nullptr, changed, desktop_text};
    PlatformSetScrapHost(&host);
    gChanges = 0;
    ClearCurrentScrap();
    EXPECT_EQ(1, gChanges);

    gDesktop = "from the desktop";
    EXPECT_TRUE(TXNIsScrapPastable());
    const HIRect frame{{0, 0}, {100, 40}};
    TXNObject text = nullptr;
    ASSERT_EQ(noErr, TXNCreateObject(&frame, 0, &text));
    ASSERT_EQ(noErr, TXNPaste(text));
    EXPECT_EQ(32u, TXNDataSize(text));
    EXPECT_EQ(1, gChanges); // text brought in from outside is not sent back out

    TXNSelectAll(text);
    ASSERT_EQ(noErr, TXNCopy(text));
    EXPECT_GT(gChanges, 1);
    TXNDeleteObject(text);
    PlatformSetScrapHost(nullptr);
}

} // namespace
