#include "TestFolder.h"

#include <PrintCore/PlatformHost.h>
#include <PrintCore/PrintCore.h>

#include <CoreServices/MacErrors.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A ticket whose values, clients, locks, write order and PPD choices all differ from the
// defaults, so that a round trip that drops any of them shows.
PMTicketRef make_ticket() {
    PMTicketRef ticket = nullptr;
    PMTicketCreate(nullptr, kPMPrintSettingsTicket, &ticket);
    PMTicketSetSInt32(ticket, CFSTR("panel"), CFSTR("com.tovek.Act.qjob.On"), 3, false);
    PMTicketSetCString(ticket, CFSTR("panel"), CFSTR("com.tovek.Act.qjob.UserID"),
                       "J\xC3\xBCrgen <&> \"Q\"", false);
    PMTicketSetSInt32(ticket, CFSTR("owner"), CFSTR("a.locked"), -2147483647 - 1, true);
    CFMutableDictionaryRef ppd = nullptr;
    PMTicketGetPPDDict(ticket, 0, 0, &ppd);
    CFDictionarySetValue(ppd, CFSTR("Duplex"), CFSTR("DuplexTumble"));
    return ticket;
}

std::string load_error(const std::string& path, OSStatus expected) {
    PMTicketRef ticket = reinterpret_cast<PMTicketRef>(0x1);
    CFStringRef error = nullptr;
    EXPECT_EQ(PlatformTicketCreateFromFile(path.c_str(), &ticket, &error), expected);
    EXPECT_EQ(ticket, nullptr);
    std::string message = text_of(error);
    if (error != nullptr)
        CFRelease(error);
    EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
    return message;
}

TEST(TicketFile, RoundTripKeepsValuesClientsOrderAndPPDChoicesButNoLocks) {
    TestFolder folder;
    std::string path = folder.file("settings.plist");
    PMTicketRef original = make_ticket();
    ASSERT_EQ(PlatformTicketWriteToFile(original, path.c_str()), noErr);

    PMTicketRef loaded = nullptr;
    CFStringRef error = nullptr;
    ASSERT_EQ(PlatformTicketCreateFromFile(path.c_str(), &loaded, &error), noErr) << text_of(error);
    EXPECT_NE(PMTicketGetHandle(loaded), PMTicketGetHandle(original));
    SInt32 value = 0;
    EXPECT_EQ(PMTicketGetSInt32(loaded, 0, 0, CFSTR("com.tovek.Act.qjob.On"), &value), noErr);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(PMTicketGetSInt32(loaded, 0, 0, CFSTR("a.locked"), &value), noErr);
    EXPECT_EQ(value, -2147483647 - 1);
    char text[80];
    EXPECT_EQ(PMTicketGetCString(loaded, 0, 0, CFSTR("com.tovek.Act.qjob.UserID"), sizeof text,
                                 kCFStringEncodingUTF8, text),
              noErr);
    EXPECT_STREQ(text, "J\xC3\xBCrgen <&> \"Q\"");
    // A string stays a string and a number a number.
    EXPECT_EQ(PMTicketGetSInt32(loaded, 0, 0, CFSTR("com.tovek.Act.qjob.UserID"), &value),
              kPMInvalidType);
    // A saved lock held the value for its client in the dialog that saved it, not in this one.
    EXPECT_EQ(PMTicketSetSInt32(loaded, CFSTR("panel"), CFSTR("a.locked"), 1, false), noErr);

    CFMutableDictionaryRef ppd = nullptr;
    PMTicketGetPPDDict(loaded, 0, 0, &ppd);
    EXPECT_EQ(text_of(static_cast<CFStringRef>(CFDictionaryGetValue(ppd, CFSTR("Duplex")))),
              "DuplexTumble");
    CFArrayRef before = PlatformTicketCopyKeysInWriteOrder(original);
    PMTicketRelease(original);
    // The rewrite above moved "a.locked" last; compare against a fresh write order.
    PMTicketRef reloaded = nullptr;
    PlatformTicketCreateFromFile(path.c_str(), &reloaded, nullptr);
    CFArrayRef after = PlatformTicketCopyKeysInWriteOrder(reloaded);
    EXPECT_TRUE(CFEqual(before, after));
    CFRelease(before);
    CFRelease(after);
    PMTicketRelease(reloaded);
    PMTicketRelease(loaded);
}

TEST(TicketFile, EveryPropertyListValueComesBackWithItsType) {
    TestFolder folder;
    std::string path = folder.file("typed.plist");
    PMTicketRef ticket = nullptr;
    PMTicketCreate(nullptr, kPMPrintSettingsTicket, &ticket);
    const UInt8 bytes[] = {0, 1, 0xFF, '<', '&'};
    CFDataRef data = CFDataCreate(nullptr, bytes, sizeof bytes);
    EXPECT_EQ(PMTicketSetCFData(ticket, CFSTR("c"), CFSTR("k.data"), data, kPMUnlocked), noErr);
    EXPECT_EQ(PMTicketSetBoolean(ticket, CFSTR("c"), CFSTR("k.bool"), true, kPMLocked), noErr);
    EXPECT_EQ(PMTicketSetDouble(ticket, CFSTR("c"), CFSTR("k.real"), 0.25, kPMUnlocked), noErr);
    CFDateRef date = CFDateCreate(nullptr, 123456789.0);
    EXPECT_EQ(PMTicketSetCFDate(ticket, CFSTR("c"), CFSTR("k.date"), date, kPMUnlocked), noErr);
    CFMutableArrayRef array = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    CFArrayAppendValue(array, CFSTR("one"));
    CFArrayAppendValue(array, data);
    EXPECT_EQ(PMTicketSetCFArray(ticket, CFSTR("c"), CFSTR("k.array"), array, kPMUnlocked), noErr);
    CFArrayAppendValue(array, CFSTR("added after the set")); // the ticket kept a copy
    CFMutableDictionaryRef dict = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue(dict, CFSTR("inner"), kCFBooleanFalse);
    EXPECT_EQ(PMTicketSetCFDictionary(ticket, CFSTR("c"), CFSTR("k.dict"), dict, kPMUnlocked),
              noErr);
    EXPECT_EQ(PMTicketSetCFData(ticket, CFSTR("c"), CFSTR("k.wrong"),
                                reinterpret_cast<CFDataRef>(CFSTR("text")), kPMUnlocked),
              kPMInvalidType);
    ASSERT_EQ(PlatformTicketWriteToFile(ticket, path.c_str()), noErr);
    PMTicketRelease(ticket);

    PMTicketRef loaded = nullptr;
    CFStringRef error = nullptr;
    ASSERT_EQ(PlatformTicketCreateFromFile(path.c_str(), &loaded, &error), noErr) << text_of(error);
    CFDataRef gotData = nullptr;
    ASSERT_EQ(PMTicketGetCFData(loaded, 0, 0, CFSTR("k.data"), &gotData), noErr);
    EXPECT_TRUE(CFEqual(gotData, data));
    UInt8 small[2];
    UInt32 size = sizeof small;
    EXPECT_EQ(PMTicketGetBytes(loaded, 0, 0, CFSTR("k.data"), small, &size), kPMValueOutOfRange);
    EXPECT_EQ(size, sizeof bytes);
    Boolean flag = false;
    EXPECT_EQ(PMTicketGetBoolean(loaded, 0, 0, CFSTR("k.bool"), &flag), noErr);
    EXPECT_TRUE(flag);
    double real = 0;
    EXPECT_EQ(PMTicketGetDouble(loaded, 0, 0, CFSTR("k.real"), &real), noErr);
    EXPECT_EQ(real, 0.25);
    SInt32 integer = 0;
    EXPECT_EQ(PMTicketGetSInt32(loaded, 0, 0, CFSTR("k.data"), &integer), kPMInvalidType);
    CFDateRef gotDate = nullptr;
    ASSERT_EQ(PMTicketGetCFDate(loaded, 0, 0, CFSTR("k.date"), &gotDate), noErr);
    EXPECT_EQ(CFDateGetAbsoluteTime(gotDate), 123456789.0);
    CFArrayRef gotArray = nullptr;
    ASSERT_EQ(PMTicketGetCFArray(loaded, 0, 0, CFSTR("k.array"), &gotArray), noErr);
    EXPECT_EQ(CFArrayGetCount(gotArray), 2);
    EXPECT_TRUE(CFEqual(CFArrayGetValueAtIndex(gotArray, 1), data));
    CFDictionaryRef gotDict = nullptr;
    ASSERT_EQ(PMTicketGetCFDictionary(loaded, 0, 0, CFSTR("k.dict"), &gotDict), noErr);
    EXPECT_TRUE(CFEqual(gotDict, dict));
    CFDictionaryRef notDict = nullptr;
    EXPECT_EQ(PMTicketGetCFDictionary(loaded, 0, 0, CFSTR("k.array"), &notDict), kPMInvalidType);
    PMTicketRelease(loaded);
    CFRelease(data);
    CFRelease(date);
    CFRelease(array);
    CFRelease(dict);
}

TEST(TicketFile, IsReplacedWholeWithOwnerOnlyPermissions) {
    TestFolder folder;
    std::string path = folder.write("settings.plist", "old contents");
    chmod(path.c_str(), 0644);
    PMTicketRef ticket = make_ticket();
    ASSERT_EQ(PlatformTicketWriteToFile(ticket, path.c_str()), noErr);

    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_NE(read_whole_file(path).find("com.tovek.Act.qjob.On"), std::string::npos);
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 1u) << "a temporary file was left behind";
    PMTicketRelease(ticket);
}

// A link in the output folder named like the ticket must not make the codes land in the file
// it points at: the link is refused and both it and its target are left as they were.
TEST(TicketFile, IsNeverWrittenThroughASymbolicLink) {
    TestFolder folder;
    std::string victim = folder.write("victim", "precious");
    std::string link = folder.file("letter.txt.ticket.plist");
    ASSERT_EQ(symlink(victim.c_str(), link.c_str()), 0);
    PMTicketRef ticket = make_ticket();
    testing::internal::CaptureStderr();
    EXPECT_NE(PlatformTicketWriteToFile(ticket, link.c_str()), noErr);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("letter.txt.ticket.plist: the ticket cannot be saved: it is a "
                           "symbolic link"),
              std::string::npos)
        << message;
    EXPECT_EQ(read_whole_file(victim), "precious");
    struct stat info {};
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    PMTicketRelease(ticket);
}

TEST(TicketFile, BadFilesGiveNoTicketAMessageNamingTheFileAndAreLeftAlone) {
    TestFolder folder;
    std::string notPlist = folder.write("notes.plist", "first line\n<plist><dict><key>x</dict>\n");
    std::string before = read_whole_file(notPlist);
    struct stat was {};
    stat(notPlist.c_str(), &was);
    EXPECT_NE(load_error(notPlist, kPMInvalidPrintSettings).find("line"), std::string::npos);
    struct stat now {};
    stat(notPlist.c_str(), &now);
    EXPECT_EQ(read_whole_file(notPlist), before);
    EXPECT_EQ(now.st_mtim.tv_nsec, was.st_mtim.tv_nsec);
    EXPECT_EQ(now.st_mtim.tv_sec, was.st_mtim.tv_sec);

    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">"
                             "<dict><key>TicketType</key><string>t</string>";
    struct Case {
        const char* name;
        std::string body;
        const char* says;
    } cases[] = {
        {"novalue.plist", "<key>Items</key><dict><key>k.none</key><dict/></dict>",
         "\"k.none\" has no Value"},
        {"client.plist",
         "<key>Items</key><dict><key>k</key><dict><key>Value</key><integer>1</integer>"
         "<key>Client</key><integer>2</integer></dict></dict>",
         "client of the ticket value \"k\" is an integer"},
        {"ppd.plist", "<key>PPDChoices</key><dict><key>Duplex</key><true/></dict>",
         "\"Duplex\" is a boolean"},
        {"items.plist", "<key>Items</key><array/>", "Items is an array"},
    };
    for (const Case& c : cases) {
        std::string path = folder.write(c.name, head + c.body + "</dict></plist>\n");
        std::string message = load_error(path, kPMInvalidPrintSettings);
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }
    EXPECT_NE(load_error(folder.file("missing.plist"), fnfErr).find("No such file"),
              std::string::npos);
}

// A device, a pipe, a folder or a huge file given as the settings is refused before it is read.
TEST(TicketFile, OnlyRegularFilesOfAModestSizeAreRead) {
    TestFolder folder;
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_NE(load_error(fifo, kPMInvalidPrintSettings).find("not a regular file"),
              std::string::npos);
    EXPECT_NE(load_error("/dev/zero", kPMInvalidPrintSettings).find("/dev/zero: not a regular"),
              std::string::npos);
    EXPECT_NE(load_error(folder.path(), kPMInvalidPrintSettings).find("a folder"),
              std::string::npos);
    const std::string big = folder.write("big.plist", std::string(2 << 20, ' '));
    EXPECT_NE(load_error(big, kPMInvalidPrintSettings).find("larger than 1 MB"), std::string::npos);
}

} // namespace
