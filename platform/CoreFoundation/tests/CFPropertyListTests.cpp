#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFPropertyList.h>
#include <CoreFoundation/CFString.h>
#include <CoreFoundation/CFURL.h>

#include <CoreFoundation/CFHolder.h>
#include "CFValueSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

// Synthetic test data: a property list using every element type.
const char kDocument[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>Name</key>
	<string>Caf&#233; &amp; &lt;Bar&gt; <![CDATA[<raw>]]></string>
	<key>Count</key>
	<integer>-42</integer>
	<key>Mask</key>
	<integer>0xFF</integer>
	<key>Ratio</key>
	<real>0.25</real>
	<key>On</key>
	<true/>
	<key>Off</key>
	<false/>
	<!-- a comment between entries -->
	<key>When</key>
	<date>2009-06-30T12:00:01Z</date>
	<key>Blob</key>
	<data>
	AAEC/w==
	</data>
	<key>List</key>
	<array>
		<string></string>
		<dict/>
		<array/>
	</array>
</dict>
</plist>
)";

cf::Holder<CFDataRef> bytes(const char* text, size_t length) {
    return cf::Holder<CFDataRef>(
        CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(text), static_cast<CFIndex>(length)));
}
cf::Holder<CFDataRef> bytes(const char* text) {
    return bytes(text, std::strlen(text));
}

CFPropertyListRef parse(const char* text, CFOptionFlags options, std::string* error = nullptr) {
    CFStringRef message = nullptr;
    CFPropertyListRef plist =
        CFPropertyListCreateFromXMLData(nullptr, bytes(text).get(), options, &message);
    if (error != nullptr)
        *error = cf::utf8_string(message);
    if (message != nullptr)
        CFRelease(message);
    return plist;
}

const void* value_for(CFTypeRef dict, const char* key) {
    cf::Holder<CFStringRef> k(cf::make_cfstring(key));
    return CFDictionaryGetValue(static_cast<CFDictionaryRef>(dict), k.get());
}

TEST(CFPropertyList, ReadsEveryType) {
    std::string error;
    cf::Holder<CFPropertyListRef> plist(parse(kDocument, kCFPropertyListImmutable, &error));
    ASSERT_NE(plist.get(), nullptr) << error;
    EXPECT_EQ(cf::utf8_string(static_cast<CFStringRef>(value_for(plist.get(), "Name"))),
              "Caf\xC3\xA9 & <Bar> <raw>");
    SInt64 count = 0, mask = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(value_for(plist.get(), "Count")), kCFNumberSInt64Type,
                     &count);
    CFNumberGetValue(static_cast<CFNumberRef>(value_for(plist.get(), "Mask")), kCFNumberSInt64Type,
                     &mask);
    EXPECT_EQ(count, -42);
    EXPECT_EQ(mask, 255);
    double ratio = 0;
    EXPECT_TRUE(CFNumberIsFloatType(static_cast<CFNumberRef>(value_for(plist.get(), "Ratio"))));
    CFNumberGetValue(static_cast<CFNumberRef>(value_for(plist.get(), "Ratio")), kCFNumberDoubleType,
                     &ratio);
    EXPECT_EQ(ratio, 0.25);
    EXPECT_EQ(value_for(plist.get(), "On"), kCFBooleanTrue);
    EXPECT_EQ(value_for(plist.get(), "Off"), kCFBooleanFalse);
    // 2009-06-30 is 3102 days after 2001-01-01.
    EXPECT_EQ(CFDateGetAbsoluteTime(static_cast<CFDateRef>(value_for(plist.get(), "When"))),
              3102 * 86400.0 + 12 * 3600 + 1);
    auto blob = static_cast<CFDataRef>(value_for(plist.get(), "Blob"));
    ASSERT_EQ(CFDataGetLength(blob), 4);
    EXPECT_EQ(std::memcmp(CFDataGetBytePtr(blob), "\x00\x01\x02\xff", 4), 0);
    auto list = static_cast<CFArrayRef>(value_for(plist.get(), "List"));
    ASSERT_EQ(CFArrayGetCount(list), 3);
    EXPECT_EQ(CFStringGetLength(static_cast<CFStringRef>(CFArrayGetValueAtIndex(list, 0))), 0);
    EXPECT_EQ(CFGetTypeID(CFArrayGetValueAtIndex(list, 1)), CFDictionaryGetTypeID());
}

TEST(CFPropertyList, MutabilityOptionsAreHonoured) {
    cf::Holder<CFPropertyListRef> frozen(parse(kDocument, kCFPropertyListImmutable));
    cf::Holder<CFPropertyListRef> containers(parse(kDocument, kCFPropertyListMutableContainers));
    cf::Holder<CFPropertyListRef> leaves(
        parse(kDocument, kCFPropertyListMutableContainersAndLeaves));
    for (CFTypeRef plist : {frozen.get(), containers.get(), leaves.get()}) {
        CFDictionarySetValue((CFMutableDictionaryRef)plist, CFSTR("Added"), kCFBooleanTrue);
        CFArrayAppendValue((CFMutableArrayRef)value_for(plist, "List"), kCFBooleanTrue);
        CFDataAppendBytes((CFMutableDataRef)value_for(plist, "Blob"), (const UInt8*)"!", 1);
        CFStringAppendCString((CFMutableStringRef)value_for(plist, "Name"), "!",
                              kCFStringEncodingUTF8);
    }
    auto changed = [](CFTypeRef plist) {
        return std::vector<bool>{
            value_for(plist, "Added") != nullptr,
            CFArrayGetCount(static_cast<CFArrayRef>(value_for(plist, "List"))) == 4,
            CFDataGetLength(static_cast<CFDataRef>(value_for(plist, "Blob"))) == 5,
            cf::utf8_string(static_cast<CFStringRef>(value_for(plist, "Name"))).back() == '!'};
    };
    EXPECT_EQ(changed(frozen.get()), (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(changed(containers.get()), (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(changed(leaves.get()), (std::vector<bool>{true, true, true, true}));
}

TEST(CFPropertyList, WritesAStableDocumentThatReadsBack) {
    cf::Holder<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    cf::Holder<CFStringRef> text(cf::make_cfstring("a<b & c>d\r\n\tend"));
    long big = 1L << 40;
    cf::Holder<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberLongType, &big));
    cf::Holder<CFDataRef> data(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>("hi"), 2));
    cf::Holder<CFDateRef> date(CFDateCreate(nullptr, 0));
    const void* items[] = {kCFBooleanFalse, data.get(), date.get()};
    cf::Holder<CFArrayRef> array(CFArrayCreate(nullptr, items, 3, &kCFTypeArrayCallBacks));
    CFDictionarySetValue(dict.get(), CFSTR("zeta"), text.get());
    CFDictionarySetValue(dict.get(), CFSTR("alpha"), number.get());
    CFDictionarySetValue(dict.get(), CFSTR("Mid"), array.get());

    cf::Holder<CFDataRef> xml(CFPropertyListCreateXMLData(nullptr, dict.get()));
    ASSERT_NE(xml.get(), nullptr);
    std::string written(reinterpret_cast<const char*>(CFDataGetBytePtr(xml.get())),
                        static_cast<size_t>(CFDataGetLength(xml.get())));
    EXPECT_EQ(written, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                       "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                       "<plist version=\"1.0\">\n"
                       "<dict>\n"
                       "\t<key>Mid</key>\n"
                       "\t<array>\n"
                       "\t\t<false/>\n"
                       "\t\t<data>\n\t\taGk=\n\t\t</data>\n"
                       "\t\t<date>2001-01-01T00:00:00Z</date>\n"
                       "\t</array>\n"
                       "\t<key>alpha</key>\n"
                       "\t<integer>1099511627776</integer>\n"
                       "\t<key>zeta</key>\n"
                       "\t<string>a&lt;b &amp; c&gt;d&#13;\n\tend</string>\n"
                       "</dict>\n"
                       "</plist>\n");
    CFPropertyListFormat format = 0;
    cf::Holder<CFPropertyListRef> again(
        CFPropertyListCreateWithData(nullptr, xml.get(), 0, &format, nullptr));
    EXPECT_TRUE(CFEqual(again.get(), dict.get()));
    EXPECT_EQ(format, kCFPropertyListXMLFormat_v1_0);

    // The document we were given reads back to an equal list after a write.
    cf::Holder<CFPropertyListRef> original(parse(kDocument, 0));
    cf::Holder<CFDataRef> rewritten(CFPropertyListCreateXMLData(nullptr, original.get()));
    cf::Holder<CFPropertyListRef> reread(
        CFPropertyListCreateWithData(nullptr, rewritten.get(), 0, nullptr, nullptr));
    EXPECT_TRUE(CFEqual(original.get(), reread.get()));
}

TEST(CFPropertyList, RealsKeepTheirExactValueAndSpecialValues) {
    const double values[] = {0.1, -1e-300, 1.0 / 3.0, 123456789.0, HUGE_VAL, -HUGE_VAL, NAN};
    for (double v : values) {
        cf::Holder<CFNumberRef> n(CFNumberCreate(nullptr, kCFNumberDoubleType, &v));
        cf::Holder<CFDataRef> xml(CFPropertyListCreateXMLData(nullptr, n.get()));
        cf::Holder<CFPropertyListRef> back(
            CFPropertyListCreateWithData(nullptr, xml.get(), 0, nullptr, nullptr));
        ASSERT_NE(back.get(), nullptr) << v;
        EXPECT_TRUE(CFEqual(back.get(), n.get())) << v;
    }
    cf::Holder<CFPropertyListRef> huge(parse("<plist><real>1e999</real></plist>", 0));
    double d = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(huge.get()), kCFNumberDoubleType, &d);
    EXPECT_TRUE(std::isinf(d));
}

TEST(CFPropertyList, MalformedInputGivesNullAndTheLine) {
    struct Case {
        const char* document;
        const char* expected; // part of the message, line included
    };
    const Case cases[] = {
        {"<plist>\n<dict>\n<key>a</key>\n<strin>x</strin>\n</dict>\n</plist>", "<strin> on line 4"},
        {"<plist>\n<array>\n<integer>12x</integer>\n</array>\n</plist>",
         "integer \"12x\" on line 3"},
        {"<plist>\n<integer>9223372036854775808</integer>\n</plist>", "range on line 2"},
        {"<plist>\n<integer>-9223372036854775809</integer>\n</plist>", "range on line 2"},
        {"<plist>\n<integer></integer>\n</plist>", "on line 2"},
        {"<plist>\n<real>1.5.2</real>\n</plist>", "real \"1.5.2\" on line 2"},
        {"<plist>\n\n<data>AAE*</data>\n</plist>", "base64 in <data> on line 3"},
        {"<plist>\n<data>A===</data>\n</plist>", "on line 2"},
        {"<plist>\n<date>2009-02-30T00:00:00Z</date>\n</plist>",
         "date \"2009-02-30T00:00:00Z\" on line 2"},
        {"<plist>\n<array>\n<key>k</key>\n</array>\n</plist>", "<key> outside a <dict> on line 3"},
        {"<plist>\n<dict>\n<key>k</key>\n</dict>\n</plist>", "without a value on line 3"},
        {"<plist>\n<dict>\n<string>v</string>\n</dict>\n</plist>",
         "Expected <key> in <dict>, found <string> on line 3"},
        {"<plist>\n<dict>\nstray\n<key>k</key><true/></dict>\n</plist>",
         "Unexpected text inside <dict> on line 3"},
        {"<plist>\n<true>yes</true>\n</plist>", "on line 2"},
        {"<plist>\n<string>a<b/></string>\n</plist>", "<b> inside <string> on line 2"},
        {"<plist>\n<string>a</string>\n<string>b</string>\n</plist>",
         "More than one value in <plist> on line 3"},
        {"<plist>\n</plist>", "Empty <plist> on line 1"},
        {"<plist>\n<dict>\n<key>a</key>\n<string>x</dict>\n</plist>", "on line 4"},
        {"<plist>\n<string>\x01</string>\n</plist>", "on line 2"},
        {"", "Empty data"},
        // libxml2 quotes the comment and cuts its quote in the middle of the "ù".
        {"<plist>\n<!-- Sing>org.example.test.dynamic</string>\n    <key>\xc3\xb9"
         "B</key>\n",
         "Comment not terminated"},
    };
    for (const Case& c : cases) {
        std::string error;
        CFPropertyListRef plist = parse(c.document, 0, &error);
        EXPECT_EQ(plist, nullptr) << c.document;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.document << "\ngave: " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error; // one line
    }
}

TEST(CFPropertyList, CreateWithDataReportsACFError) {
    CFErrorRef error = nullptr;
    CFPropertyListRef plist = CFPropertyListCreateWithData(
        nullptr, bytes("<plist>\n<dict>\n<key>k</key>\n<nonsense/>\n</dict>\n</plist>").get(), 0,
        nullptr, &error);
    EXPECT_EQ(plist, nullptr);
    ASSERT_NE(error, nullptr);
    cf::Holder<CFErrorRef> owned(error);
    EXPECT_EQ(CFErrorGetCode(error), kCFPropertyListReadCorruptError);
    EXPECT_TRUE(CFEqual(CFErrorGetDomain(error), kCFErrorDomainCocoa));
    cf::Holder<CFStringRef> description(CFErrorCopyDescription(error));
    EXPECT_NE(cf::utf8_string(description.get()).find("<nonsense> on line 4"), std::string::npos);
    EXPECT_EQ(
        CFPropertyListCreateWithData(nullptr, bytes("bplist00\x01").get(), 0, nullptr, nullptr),
        nullptr);
}

TEST(CFPropertyList, EveryTruncationOfADocumentFailsCleanlyOrParses) {
    const size_t length = std::strlen(kDocument);
    size_t parsed = 0;
    for (size_t n = 0; n < length; ++n) {
        std::string error;
        CFStringRef message = nullptr;
        CFPropertyListRef plist =
            CFPropertyListCreateFromXMLData(nullptr, bytes(kDocument, n).get(),
                                            kCFPropertyListMutableContainersAndLeaves, &message);
        // Exactly one of a list and a message, never both or neither.
        EXPECT_NE(plist == nullptr, message == nullptr) << n;
        if (message != nullptr) {
            EXPECT_NE(cf::utf8_string(message).find("line"), std::string::npos) << n;
            CFRelease(message);
        }
        if (plist != nullptr) {
            ++parsed;
            CFRelease(plist);
        }
    }
    EXPECT_EQ(parsed, 1u); // only the whole document, less its final line end, is complete
}

TEST(CFPropertyList, ValidityAndWritingRefuseWhatXMLCannotHold) {
    cf::Holder<CFPropertyListRef> plist(parse(kDocument, 0));
    EXPECT_TRUE(CFPropertyListIsValid(plist.get(), kCFPropertyListXMLFormat_v1_0));
    EXPECT_FALSE(CFPropertyListIsValid(plist.get(), kCFPropertyListOpenStepFormat));

    cf::Holder<CFMutableDictionaryRef> bad_key(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    CFDictionarySetValue(bad_key.get(), kCFBooleanTrue, kCFBooleanTrue);
    EXPECT_FALSE(CFPropertyListIsValid(bad_key.get(), kCFPropertyListXMLFormat_v1_0));
    EXPECT_EQ(CFPropertyListCreateXMLData(nullptr, bad_key.get()), nullptr);

    cf::Holder<CFMutableArrayRef> loop(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    CFArrayAppendValue(loop.get(), loop.get()); // a cycle (broken again below, so it can be freed)
    EXPECT_FALSE(CFPropertyListIsValid(loop.get(), kCFPropertyListXMLFormat_v1_0));
    CFErrorRef error = nullptr;
    EXPECT_EQ(
        CFPropertyListCreateData(nullptr, loop.get(), kCFPropertyListXMLFormat_v1_0, 0, &error),
        nullptr);
    EXPECT_NE(error, nullptr);
    CFRelease(error);
    CFArrayRemoveAllValues(loop.get());

    cf::Holder<CFStringRef> path(cf::make_cfstring("/tmp"));
    cf::Holder<CFURLRef> url(
        CFURLCreateWithFileSystemPath(nullptr, path.get(), kCFURLPOSIXPathStyle, true));
    EXPECT_FALSE(CFPropertyListIsValid(url.get(), kCFPropertyListXMLFormat_v1_0));
    cf::Holder<CFStringRef> control(cf::make_cfstring("bell\x07"));
    EXPECT_EQ(CFPropertyListCreateXMLData(nullptr, control.get()), nullptr);
}

TEST(CFPropertyList, DeepCopiesAreIndependentAndAsMutableAsAsked) {
    cf::Holder<CFPropertyListRef> plist(parse(kDocument, 0));
    cf::Holder<CFPropertyListRef> copy(
        CFPropertyListCreateDeepCopy(nullptr, plist.get(), kCFPropertyListMutableContainers));
    EXPECT_TRUE(CFEqual(plist.get(), copy.get()));
    CFArrayAppendValue((CFMutableArrayRef)value_for(copy.get(), "List"), kCFBooleanTrue);
    EXPECT_EQ(CFArrayGetCount(static_cast<CFArrayRef>(value_for(copy.get(), "List"))), 4);
    EXPECT_EQ(CFArrayGetCount(static_cast<CFArrayRef>(value_for(plist.get(), "List"))), 3);
}

} // namespace
