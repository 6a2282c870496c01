// Reading XML property lists. libxml2's streaming reader checks well-formedness and decodes
// character references; this file follows its nodes with a stack of the containers being
// filled, checks the plist structure and builds the CF objects as their elements end. Only the
// open elements are held, so reading costs little more than the objects built. Every failure
// names the line it was found on.
#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFString.h>
#include <CoreFoundation/CFHolder.h>

#include "CFDateInternal.h"
#include "CFPropertyListInternal.h"
#include "CFStringInternal.h"
#include "CFValueSupport.h"

#include <charconv>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <libxml/xmlreader.h>

namespace cf::plist {
namespace {

bool is_blank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::string_view trimmed(std::string_view text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// libxml2 gives a text node the line where the text ends; the line of its
// last non-blank character is the one a reader wants to see.
long text_line(xmlNodePtr node) {
    std::string_view text = node->content != nullptr ? reinterpret_cast<const char*>(node->content)
                                                     : std::string_view();
    size_t last = text.find_last_not_of(" \t\r\n");
    long trailing = 0;
    for (size_t i = last + 1; i < text.size(); ++i)
        trailing += text[i] == '\n' ? 1 : 0;
    return xmlGetLineNo(node) - trailing;
}

enum class Kind { plist, dict, array, leaf };

// An open element: a container being filled, or a leaf whose text is being gathered.
struct Frame {
    Kind kind = Kind::leaf;
    std::string name;
    long line = 0;
    CFTypeRef container = nullptr; // a mutable dictionary or array
    CFTypeRef value = nullptr;     // <plist>: its one value
    CFStringRef key = nullptr;     // <dict>: the key waiting for its value
    long key_line = 0;
    std::string text; // a leaf's characters
};

class Reader {
  public:
    Reader(CFAllocatorRef allocator, CFOptionFlags mutability)
        : allocator_(allocator),
          mutable_containers_(mutability & (kCFPropertyListMutableContainers |
                                            kCFPropertyListMutableContainersAndLeaves)),
          mutable_leaves_(mutability & kCFPropertyListMutableContainersAndLeaves) {}
    ~Reader();

    // Takes the reader's next node; false once an error is recorded.
    bool take(xmlTextReaderPtr reader);
    // The whole list once the document has ended, or nullptr with error() set.
    CFPropertyListRef finish();
    const std::string& error() const { return error_; }

  private:
    bool start_element(xmlNodePtr node, bool empty);
    bool end_element();
    bool text(xmlNodePtr node);
    bool attach(CFTypeRef value);
    CFTypeRef leaf_value(const Frame& leaf);
    CFTypeRef read_string(const Frame& leaf);
    CFTypeRef read_integer(const Frame& leaf);
    CFTypeRef read_real(const Frame& leaf);
    CFTypeRef read_date(const Frame& leaf);
    CFTypeRef read_data(const Frame& leaf);
    std::nullptr_t fail_at(long line, const std::string& message);

    CFAllocatorRef allocator_;
    bool mutable_containers_;
    bool mutable_leaves_;
    std::vector<Frame> open_;
    CFTypeRef result_ = nullptr;
    bool seen_root_ = false;
    std::string error_;
};

Reader::~Reader() {
    for (Frame& frame : open_)
        for (CFTypeRef ref : {frame.container, frame.value, static_cast<CFTypeRef>(frame.key)})
            if (ref != nullptr)
                CFRelease(ref);
    if (result_ != nullptr)
        CFRelease(result_);
}

std::nullptr_t Reader::fail_at(long line, const std::string& message) {
    if (error_.empty())
        error_ = message + " on line " + std::to_string(line);
    return nullptr;
}

bool Reader::take(xmlTextReaderPtr reader) {
    xmlNodePtr node = xmlTextReaderCurrentNode(reader);
    switch (xmlTextReaderNodeType(reader)) {
    case XML_READER_TYPE_ELEMENT:
        return start_element(node, xmlTextReaderIsEmptyElement(reader) == 1);
    case XML_READER_TYPE_END_ELEMENT:
        return end_element();
    case XML_READER_TYPE_TEXT:
    case XML_READER_TYPE_CDATA:
    case XML_READER_TYPE_WHITESPACE:
    case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
        return text(node);
    case XML_READER_TYPE_ENTITY_REFERENCE:
        fail_at(xmlGetLineNo(node), "Unsupported entity reference");
        return false;
    default: // comments, processing instructions, the document type
        return true;
    }
}

bool Reader::start_element(xmlNodePtr node, bool empty) {
    const std::string name = reinterpret_cast<const char*>(node->name);
    const long line = xmlGetLineNo(node);
    Frame* parent = open_.empty() ? nullptr : &open_.back();
    if (parent != nullptr && parent->kind == Kind::leaf) {
        fail_at(line, "Unexpected <" + name + "> inside <" + parent->name + ">");
        return false;
    }
    if (parent != nullptr && parent->kind == Kind::plist && parent->value != nullptr) {
        fail_at(line, "More than one value in <plist>");
        return false;
    }
    Frame frame;
    frame.name = name;
    frame.line = line;
    const bool wants_key =
        parent != nullptr && parent->kind == Kind::dict && parent->key == nullptr;
    if (parent == nullptr && !seen_root_ && name == "plist") {
        frame.kind = Kind::plist;
    } else if (wants_key && name != "key") {
        fail_at(line, "Expected <key> in <dict>, found <" + name + ">");
        return false;
    } else if (wants_key) {
        // A key: its text is read when it ends.
    } else if (node->ns != nullptr) {
        fail_at(line, "Unexpected namespace on <" + name + ">");
        return false;
    } else if (name == "key") {
        fail_at(line, "<key> outside a <dict>");
        return false;
    } else if (name == "dict") {
        frame.kind = Kind::dict;
        frame.container = CFDictionaryCreateMutable(allocator_, 0, &kCFTypeDictionaryKeyCallBacks,
                                                    &kCFTypeDictionaryValueCallBacks);
    } else if (name == "array") {
        frame.kind = Kind::array;
        frame.container = CFArrayCreateMutable(allocator_, 0, &kCFTypeArrayCallBacks);
    } else if (name != "string" && name != "integer" && name != "real" && name != "true" &&
               name != "false" && name != "date" && name != "data") {
        fail_at(line, "Unknown tag <" + name + ">");
        return false;
    }
    seen_root_ = true;
    open_.push_back(std::move(frame));
    return empty ? end_element() : true;
}

bool Reader::text(xmlNodePtr node) {
    if (open_.empty() || node->content == nullptr)
        return true;
    Frame& frame = open_.back();
    const char* content = reinterpret_cast<const char*>(node->content);
    if (frame.kind == Kind::leaf) {
        frame.text += content;
        return true;
    }
    if (is_blank(content))
        return true;
    fail_at(text_line(node), "Unexpected text inside <" + frame.name + ">");
    return false;
}

bool Reader::end_element() {
    if (open_.empty())
        return true;
    Frame frame = std::move(open_.back());
    open_.pop_back();
    CFTypeRef value = nullptr;
    switch (frame.kind) {
    case Kind::plist:
        if (frame.value == nullptr) {
            fail_at(frame.line, "Empty <plist>");
            return false;
        }
        result_ = frame.value;
        return true;
    case Kind::dict:
        if (frame.key != nullptr) {
            fail_at(frame.key_line, "Key without a value");
            CFRelease(frame.key);
            CFRelease(frame.container);
            return false;
        }
        [[fallthrough]];
    case Kind::array:
        if (mutable_containers_) {
            value = frame.container;
        } else {
            value = frame.kind == Kind::dict
                        ? static_cast<CFTypeRef>(CFDictionaryCreateCopy(
                              allocator_, static_cast<CFDictionaryRef>(frame.container)))
                        : static_cast<CFTypeRef>(CFArrayCreateCopy(
                              allocator_, static_cast<CFArrayRef>(frame.container)));
            CFRelease(frame.container);
        }
        break;
    case Kind::leaf:
        if (frame.name == "key") {
            CFStringRef key = make_cfstring(frame.text, allocator_);
            if (key == nullptr) {
                fail_at(frame.line, "Invalid UTF-8 in <key>");
                return false;
            }
            open_.back().key = key;
            open_.back().key_line = frame.line;
            return true;
        }
        value = leaf_value(frame);
        if (value == nullptr)
            return false;
        break;
    }
    return attach(value);
}

// Puts a finished value into the element that holds it; takes the reference.
bool Reader::attach(CFTypeRef value) {
    if (open_.empty()) {
        result_ = value; // a bare value is accepted as the whole list
        return true;
    }
    Frame& parent = open_.back();
    switch (parent.kind) {
    case Kind::plist:
        parent.value = value;
        return true;
    case Kind::dict:
        // A repeated key keeps its last value.
        CFDictionarySetValue(
            static_cast<CFMutableDictionaryRef>(const_cast<void*>(parent.container)), parent.key,
            value);
        CFRelease(parent.key);
        parent.key = nullptr;
        break;
    default:
        CFArrayAppendValue(static_cast<CFMutableArrayRef>(const_cast<void*>(parent.container)),
                           value);
        break;
    }
    CFRelease(value);
    return true;
}

CFPropertyListRef Reader::finish() {
    if (!error_.empty() || result_ == nullptr)
        return nullptr;
    CFTypeRef result = result_;
    result_ = nullptr;
    return result;
}

CFTypeRef Reader::leaf_value(const Frame& leaf) {
    const std::string& name = leaf.name;
    if (name == "string")
        return read_string(leaf);
    if (name == "integer")
        return read_integer(leaf);
    if (name == "real")
        return read_real(leaf);
    if (name == "date")
        return read_date(leaf);
    if (name == "data")
        return read_data(leaf);
    if (!is_blank(leaf.text))
        return fail_at(leaf.line, "Unexpected text inside <" + name + ">");
    return CFRetain(name == "true" ? kCFBooleanTrue : kCFBooleanFalse);
}

CFTypeRef Reader::read_string(const Frame& leaf) {
    Holder<CFStringRef> string(make_cfstring(leaf.text, allocator_));
    if (!string)
        return fail_at(leaf.line, "Invalid UTF-8 in <string>");
    if (!mutable_leaves_)
        return string.release();
    return CFStringCreateMutableCopy(allocator_, 0, string.get());
}

CFTypeRef Reader::read_integer(const Frame& leaf) {
    const std::string& text = leaf.text;
    std::string_view digits = trimmed(text);
    bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+'))
        digits.remove_prefix(1);
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
        base = 16;
    }
    UInt64 magnitude = 0;
    auto [end, status] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (digits.empty() || status == std::errc::invalid_argument ||
        end != digits.data() + digits.size())
        return fail_at(leaf.line, "Malformed integer \"" + text + "\"");
    if (status == std::errc::result_out_of_range ||
        magnitude > (negative ? UInt64(INT64_MAX) + 1 : UInt64(INT64_MAX)))
        return fail_at(leaf.line, "Integer \"" + text + "\" out of range");
    SInt64 value = negative ? static_cast<SInt64>(0 - magnitude) : static_cast<SInt64>(magnitude);
    return CFNumberCreate(allocator_, kCFNumberSInt64Type, &value);
}

CFTypeRef Reader::read_real(const Frame& leaf) {
    const std::string& text = leaf.text;
    std::string_view digits = trimmed(text);
    if (!digits.empty() && digits[0] == '+')
        digits.remove_prefix(1); // from_chars takes '-' but not '+'
    double value = 0;
    auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || status == std::errc::invalid_argument ||
        end != digits.data() + digits.size())
        return fail_at(leaf.line, "Malformed real \"" + text + "\"");
    // Overflow gives infinity and underflow zero, as strtod does; the C
    // locale keeps the decimal point a point whatever the process's locale.
    if (status == std::errc::result_out_of_range) {
        static locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
        value = strtod_l(std::string(digits).c_str(), nullptr, c_locale);
    }
    return CFNumberCreate(allocator_, kCFNumberFloat64Type, &value);
}

// "YYYY-MM-DDTHH:MM:SSZ" exactly, with fields in range.
bool parse_date(std::string_view text, CFAbsoluteTime* at) {
    static const char kPattern[] = "dddd-dd-ddTdd:dd:ddZ";
    if (text.size() != sizeof kPattern - 1)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i])
            return false;
    }
    auto field = [&](size_t at, size_t n) {
        int value = 0;
        for (size_t i = at; i < at + n; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    UTCFields f{field(0, 4), field(5, 2), field(8, 2), field(11, 2), field(14, 2), field(17, 2)};
    return absolute_time_from_utc(f, at);
}

CFTypeRef Reader::read_date(const Frame& leaf) {
    CFAbsoluteTime at = 0;
    if (!parse_date(trimmed(leaf.text), &at))
        return fail_at(leaf.line, "Malformed date \"" + leaf.text + "\"");
    return CFDateCreate(allocator_, at);
}

CFTypeRef Reader::read_data(const Frame& leaf) {
    std::vector<UInt8> bytes;
    if (!base64_decode(leaf.text, &bytes))
        return fail_at(leaf.line, "Malformed base64 in <data>");
    if (!mutable_leaves_)
        return CFDataCreate(allocator_, bytes.data(), static_cast<CFIndex>(bytes.size()));
    CFMutableDataRef data = CFDataCreateMutable(allocator_, 0);
    CFDataAppendBytes(data, bytes.data(), static_cast<CFIndex>(bytes.size()));
    return data;
}

// Keeps the first problem libxml2 reports: later ones tend to be its
// consequences ("premature end of data" after a mismatched tag).
void keep_first_error(void* data, xmlErrorPtr error) {
    auto* first = static_cast<std::string*>(data);
    if (!first->empty() || error == nullptr || error->level < XML_ERR_ERROR)
        return;
    std::string message = error->message != nullptr ? error->message : "unknown error";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    // libxml2 quotes the document in some messages, cut at a byte count: the quote may end in
    // half a character, and it may span lines. The error string must be one line of text.
    for (char& c : message)
        if (c == '\n')
            c = ' ';
    message = cf::utf16_to_utf8(cf::utf8_to_utf16(message));
    *first = "Malformed XML (" + message + ") on line " + std::to_string(error->line);
}

} // namespace

CFPropertyListRef read_xml(CFAllocatorRef allocator, CFDataRef data, CFOptionFlags mutability,
                           std::string* error) {
    CFIndex length = CFDataGetLength(data);
    if (length == 0) {
        *error = "Empty data on line 1";
        return nullptr;
    }
    if (length > INT_MAX) {
        *error = "Property list too large";
        return nullptr;
    }
    // No network, no messages on stderr (the error comes back to the
    // caller), line numbers past 65535, CDATA merged into text.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                        XML_PARSE_BIG_LINES | XML_PARSE_NOCDATA;
    xmlTextReaderPtr reader =
        xmlReaderForMemory(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                           static_cast<int>(length), nullptr, nullptr, options);
    if (reader == nullptr) {
        *error = "Out of memory";
        return nullptr;
    }
    std::string malformed;
    xmlTextReaderSetStructuredErrorHandler(reader, keep_first_error, &malformed);
    Reader plist(allocator, mutability);
    // A structure error stops the building, but not the reading: malformed XML anywhere in the
    // document is what gets reported first, as it makes the rest meaningless.
    bool building = true;
    int status;
    while ((status = xmlTextReaderRead(reader)) == 1)
        if (building)
            building = plist.take(reader);
    xmlFreeTextReader(reader);
    if (status < 0 || !malformed.empty()) {
        *error = !malformed.empty() ? malformed : "Malformed XML";
        return nullptr;
    }
    CFPropertyListRef result = plist.finish();
    if (result == nullptr)
        *error = !plist.error().empty() ? plist.error() : "Malformed XML";
    return result;
}

} // namespace cf::plist
