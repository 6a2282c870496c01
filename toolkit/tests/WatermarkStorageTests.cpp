#include "PreferenceFiles.h"
#include "ToolkitTestSupport.h"
#include "WatermarkStorage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using tktest::text;

const CFStringRef kFile = CFSTR("Watermarks.plist");

WatermarkRecord* new_record(const char* text, const char* filename, int keyByText) {
    auto* record = static_cast<WatermarkRecord*>(std::calloc(1, sizeof(WatermarkRecord)));
    std::strcpy(record->textString, text);
    std::strcpy(record->filename, filename);
    std::strcpy(record->filePath, "/Users/Shared/Marks/draft.pdf");
    std::strcpy(record->fontName, "Helvetica-Bold");
    record->xOffset = 1.5f;
    record->yOffset = -2.25f;
    record->fontColorRed = 0.5f;
    record->wellColorAlpha = 0.75f;
    record->angle = 45;
    record->density = 30;
    record->scale = 100;
    record->units = 2;
    record->fontSize = 72;
    record->keyByText = keyByText;
    record->xPos = 306.125;
    record->yPos = 396.0625;
    return record;
}

void free_record(WatermarkRecord* record) {
    std::free(record->glyphs);
    std::free(record);
}

CFDictionaryRef copy_root() {
    return static_cast<CFDictionaryRef>(CopyXMLData(kFile));
}

// A panel's watermark pane: the maker folder in a scratch place.
class Watermarks : public testing::Test {
  protected:
    tktest::ScratchFolders folders;
};

TEST_F(Watermarks, ARecordRoundTripsUnderItsKeyAndASecondSaveReplacesIt) {
    WatermarkRecord* saved = new_record("DRAFT", "draft.pdf", 1);
    saved->glyphCount = 3;
    saved->glyphs = static_cast<UInt16*>(std::malloc(6));
    const UInt16 glyphs[3] = {36, 37, 0x1234};
    std::memcpy(saved->glyphs, glyphs, 6);
    saveWatermarkData(kFile, saved);
    EXPECT_EQ(fs::status(folders.support / "Tovek" / "Watermarks.plist").permissions() &
                  fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    WatermarkRecord* loaded = new_record("", "", 0);
    ASSERT_TRUE(loadWatermarkData(kFile, CFSTR("DRAFT"), loaded));
    // keyByText and the feature's fields are never stored, so they are not compared.
    loaded->keyByText = saved->keyByText;
    std::memcpy(loaded->featureFields, saved->featureFields, sizeof(saved->featureFields));
    EXPECT_EQ(loaded->glyphCount, 3);
    ASSERT_NE(loaded->glyphs, nullptr);
    EXPECT_EQ(std::memcmp(loaded->glyphs, glyphs, 6), 0);
    // Everything but the glyph pointers is the same, byte for byte.
    EXPECT_EQ(std::memcmp(saved, loaded, offsetof(WatermarkRecord, glyphs)), 0);

    // Keyed by file name this time, and then saved again without glyphs.
    saved->keyByText = 0;
    saveWatermarkData(kFile, saved);
    std::free(saved->glyphs);
    saved->glyphs = nullptr;
    saved->fontSize = 48;
    saveWatermarkData(kFile, saved);
    CFDictionaryRef root = copy_root();
    EXPECT_EQ(CFDictionaryGetCount(root), 2);
    auto entry = (CFDictionaryRef)CFDictionaryGetValue(root, CFSTR("draft.pdf"));
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(CFDictionaryContainsKey(entry, CFSTR("glyphs")));
    EXPECT_FALSE(CFDictionaryContainsKey(entry, CFSTR("glyphCount")));
    EXPECT_EQ(CFDictionaryGetCount(entry), 21);
    auto glyphData = (CFDataRef)CFDictionaryGetValue(
        (CFDictionaryRef)CFDictionaryGetValue(root, CFSTR("DRAFT")), CFSTR("glyphs"));
    EXPECT_EQ(CFDataGetLength(glyphData), 6);
    CFRelease(root);
    free_record(saved);
    free_record(loaded);
}

TEST_F(Watermarks, LoadingFillsWhatTheEntryHasAndClearsForAMissingOne) {
    fs::create_directories(folders.support / "Tovek");
    // An entry written by an older panel: no font size, and a text too long for its field.
    const std::string longName(600, 'x');
    tktest::write_file(folders.support / "Tovek" / "Watermarks.plist",
                       "<plist version=\"1.0\"><dict><key>Old</key><dict>"
                       "<key>textString</key><string>Old \xc3\xa9t\xc3\xa9</string>"
                       "<key>fontName</key><string>" +
                           longName +
                           "</string>"
                           "<key>angle</key><integer>-30</integer>"
                           "<key>xPos</key><real>12.5</real></dict></dict></plist>");
    WatermarkRecord* record = new_record("kept", "kept.pdf", 0);
    ASSERT_TRUE(loadWatermarkData(kFile, CFSTR("Old"), record));
    EXPECT_STREQ(record->textString, "Old \xc3\xa9t\xc3\xa9");
    EXPECT_EQ(std::string(record->fontName), longName.substr(0, 511));
    EXPECT_EQ(record->angle, -30);
    EXPECT_EQ(record->xPos, 12.5);
    EXPECT_EQ(record->fontSize, 72);            // absent: as it was
    EXPECT_STREQ(record->filename, "kept.pdf"); // absent: as it was

    record->glyphs = static_cast<UInt16*>(std::malloc(4));
    EXPECT_FALSE(loadWatermarkData(kFile, CFSTR("Missing"), record));
    EXPECT_EQ(record->glyphs, nullptr);
    EXPECT_EQ(record->fontSize, 0);
    EXPECT_STREQ(record->textString, "");
    EXPECT_FALSE(loadWatermarkData(CFSTR("NoSuchFile.plist"), CFSTR("Old"), record));
    free_record(record);
}

TEST_F(Watermarks, TheListRoundTripsIntoABrowserAndLeavesTheEntriesAlone) {
    WatermarkRecord* record = new_record("DRAFT", "draft.pdf", 1);
    saveWatermarkData(kFile, record);
    free_record(record);

    const void* names[] = {CFSTR("DRAFT"), CFSTR("COPY")};
    CFArrayRef list = CFArrayCreate(nullptr, names, 2, &kCFTypeArrayCallBacks);
    saveWatermarkList(kFile, list);

    const Rect bounds{100, 100, 300, 400}, r{10, 10, 150, 290};
    WindowRef window = nullptr;
    ControlRef browser = nullptr;
    ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window), noErr);
    ASSERT_EQ(CreateDataBrowserControl(window, &r, kDataBrowserListView, &browser), noErr);
    CFArrayRef loaded = nullptr;
    ASSERT_TRUE(loadWatermarkList(kFile, browser, &loaded));
    EXPECT_TRUE(CFEqual(loaded, list));
    // Each element is its own item ID, in the list's order.
    DataBrowserItemID second = 0;
    GetDataBrowserTableViewItemID(browser, 1, &second);
    EXPECT_EQ(second, reinterpret_cast<DataBrowserItemID>(CFArrayGetValueAtIndex(loaded, 1)));
    CFRelease(loaded);

    CFDictionaryRef root = copy_root();
    EXPECT_TRUE(CFDictionaryContainsKey(root, CFSTR("DRAFT")));
    CFRelease(root);
    CFRelease(list);

    // A file without a list: false, and the place is emptied; no file: the place is untouched.
    removeWatermarkData(kFile, CFSTR("WatermarkListEntries"));
    loaded = reinterpret_cast<CFArrayRef>(&second);
    EXPECT_FALSE(loadWatermarkList(kFile, browser, &loaded));
    EXPECT_EQ(loaded, nullptr);
    loaded = reinterpret_cast<CFArrayRef>(&second);
    EXPECT_FALSE(loadWatermarkList(CFSTR("NoSuchFile.plist"), nullptr, &loaded));
    EXPECT_EQ(loaded, reinterpret_cast<CFArrayRef>(&second));
    ItemCount count = 0;
    GetDataBrowserItemCount(browser, kDataBrowserNoItem, false, kDataBrowserItemAnyState, &count);
    EXPECT_EQ(count, 2u);
    DisposeWindow(window);
}

TEST_F(Watermarks, FontDataAppendsAndADamagedFileLosesNothing) {
    const UInt8 bytes[] = {0, 1, 2, 0xFF};
    CFDataRef font = CFDataCreate(nullptr, bytes, sizeof(bytes));
    storeFontData(kFile, CFSTR("Font-1"), font); // the first one creates the file
    CFRelease(font);
    CFMutableDataRef buffer = CFDataCreateMutable(nullptr, 0);
    loadFontData(kFile, CFSTR("Font-1"), buffer);
    loadFontData(kFile, CFSTR("Font-1"), buffer);
    loadFontData(kFile, CFSTR("Missing"), buffer);
    ASSERT_EQ(CFDataGetLength(buffer), 8);
    EXPECT_EQ(std::memcmp(CFDataGetBytePtr(buffer) + 4, bytes, 4), 0);
    CFRelease(buffer);

    // A truncated file is reported and kept beside; the next save starts afresh.
    const fs::path file = folders.support / "Tovek" / "Watermarks.plist";
    std::string bytesOnDisk = tktest::read_file(file);
    tktest::write_file(file, bytesOnDisk.substr(0, bytesOnDisk.size() / 2));
    WatermarkRecord* record = new_record("NEW", "new.pdf", 1);
    testing::internal::CaptureStderr();
    saveWatermarkData(kFile, record);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("CopyXMLData()::CFPropertyListCreateFromXMLData() error: ", 0), 0u);
    EXPECT_EQ(tktest::read_file(file.string() + ".damaged"),
              bytesOnDisk.substr(0, bytesOnDisk.size() / 2));
    CFDictionaryRef root = copy_root();
    EXPECT_EQ(CFDictionaryGetCount(root), 1);
    CFRelease(root);

    // A write that cannot happen is reported; removing from a missing file writes nothing.
    fs::remove(file);
    fs::create_directories(file / "in-the-way");
    testing::internal::CaptureStderr();
    saveWatermarkData(kFile, record);
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("saveWatermarkData: Error ", 0), 0u);
    fs::remove_all(file);
    removeWatermarkData(kFile, CFSTR("NEW"));
    EXPECT_FALSE(fs::exists(file));
    free_record(record);
}

} // namespace
