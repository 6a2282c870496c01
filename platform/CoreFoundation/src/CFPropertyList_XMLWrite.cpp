// Writing XML property lists: the standard header and DOCTYPE, one element
// per line indented by tabs, dictionary keys in sorted order so that the
// same list always gives the same bytes.
#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFString.h>

#include "CFDateInternal.h"
#include "CFPropertyListInternal.h"
#include "CFValueSupport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace cf::plist {
namespace {

const char kHeader[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                       "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                       "<plist version=\"1.0\">\n";

class Writer {
  public:
    explicit Writer(std::string* out) : out_(out) {}
    bool value(CFTypeRef object, int depth);
    const std::string& error() const { return error_; }

  private:
    bool dictionary(CFDictionaryRef dict, int depth);
    bool array(CFArrayRef array, int depth);
    bool text(const char* tag, CFStringRef string, int depth);
    void number(CFNumberRef number, int depth);
    void data(CFDataRef data, int depth);
    void line(int depth, const std::string& content);
    bool fail(const std::string& message);
    bool enter(CFTypeRef container);

    std::string* out_;
    std::string error_;
    std::vector<CFTypeRef> open_; // containers being written, to catch cycles
};

bool Writer::fail(const std::string& message) {
    if (error_.empty())
        error_ = message;
    return false;
}

void Writer::line(int depth, const std::string& content) {
    out_->append(static_cast<size_t>(depth), '\t');
    *out_ += content;
    *out_ += '\n';
}

bool Writer::enter(CFTypeRef container) {
    if (std::find(open_.begin(), open_.end(), container) != open_.end())
        return fail("A collection contains itself");
    open_.push_back(container);
    return true;
}

// Escapes markup characters. CR is written as a reference because a reader
// turns a literal CR into LF. Other control characters have no XML form.
bool escape(const std::string& text, std::string* out) {
    for (char c : text) {
        switch (c) {
        case '&':
            *out += "&amp;";
            break;
        case '<':
            *out += "&lt;";
            break;
        case '>':
            *out += "&gt;";
            break;
        case '\r':
            *out += "&#13;";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n')
                return false;
            *out += c;
        }
    }
    return true;
}

bool Writer::text(const char* tag, CFStringRef string, int depth) {
    std::string content = std::string("<") + tag + ">";
    if (!escape(utf8_string(string), &content))
        return fail("A string holds a control character that XML cannot represent");
    line(depth, content + "</" + tag + ">");
    return true;
}

std::string real_text(double value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "+infinity" : "-infinity";
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value); // shortest exact form
    return std::string(buffer, result.ptr);
}

void Writer::number(CFNumberRef number, int depth) {
    if (CFNumberIsFloatType(number)) {
        double value = 0;
        CFNumberGetValue(number, kCFNumberFloat64Type, &value);
        line(depth, "<real>" + real_text(value) + "</real>");
    } else {
        SInt64 value = 0;
        CFNumberGetValue(number, kCFNumberSInt64Type, &value);
        line(depth, "<integer>" + std::to_string(value) + "</integer>");
    }
}

void Writer::data(CFDataRef data, int depth) {
    const size_t kLineLength = 76;
    std::string encoded =
        base64_encode(CFDataGetBytePtr(data), static_cast<size_t>(CFDataGetLength(data)));
    line(depth, "<data>");
    for (size_t at = 0; at < encoded.size(); at += kLineLength)
        line(depth, encoded.substr(at, kLineLength));
    line(depth, "</data>");
}

CFComparisonResult compare_keys(const void* a, const void* b, void*) {
    return CFStringCompare(static_cast<CFStringRef>(a), static_cast<CFStringRef>(b), 0);
}

bool Writer::dictionary(CFDictionaryRef dict, int depth) {
    CFIndex count = CFDictionaryGetCount(dict);
    if (count == 0) {
        line(depth, "<dict/>");
        return true;
    }
    std::vector<const void*> keys(static_cast<size_t>(count));
    CFDictionaryGetKeysAndValues(dict, keys.data(), nullptr);
    for (const void* key : keys)
        if (CFGetTypeID(key) != CFStringGetTypeID())
            return fail("A dictionary key is not a string");
    std::stable_sort(keys.begin(), keys.end(), [](const void* a, const void* b) {
        return compare_keys(a, b, nullptr) == kCFCompareLessThan;
    });
    if (!enter(dict))
        return false;
    line(depth, "<dict>");
    for (const void* key : keys) {
        if (!text("key", static_cast<CFStringRef>(key), depth + 1) ||
            !value(CFDictionaryGetValue(dict, key), depth + 1))
            return false;
    }
    line(depth, "</dict>");
    open_.pop_back();
    return true;
}

bool Writer::array(CFArrayRef array, int depth) {
    CFIndex count = CFArrayGetCount(array);
    if (count == 0) {
        line(depth, "<array/>");
        return true;
    }
    if (!enter(array))
        return false;
    line(depth, "<array>");
    for (CFIndex i = 0; i < count; ++i)
        if (!value(CFArrayGetValueAtIndex(array, i), depth + 1))
            return false;
    line(depth, "</array>");
    open_.pop_back();
    return true;
}

bool Writer::value(CFTypeRef object, int depth) {
    CFTypeID type = CFGetTypeID(object);
    if (object == nullptr)
        return fail("A collection holds NULL");
    if (type == CFStringGetTypeID())
        return text("string", static_cast<CFStringRef>(object), depth);
    if (type == CFDictionaryGetTypeID())
        return dictionary(static_cast<CFDictionaryRef>(object), depth);
    if (type == CFArrayGetTypeID())
        return array(static_cast<CFArrayRef>(object), depth);
    if (type == CFNumberGetTypeID())
        number(static_cast<CFNumberRef>(object), depth);
    else if (type == CFBooleanGetTypeID())
        line(depth, object == kCFBooleanTrue ? "<true/>" : "<false/>");
    else if (type == CFDateGetTypeID())
        line(depth,
             "<date>" +
                 iso8601_from_absolute_time(CFDateGetAbsoluteTime(static_cast<CFDateRef>(object))) +
                 "</date>");
    else if (type == CFDataGetTypeID())
        data(static_cast<CFDataRef>(object), depth);
    else
        return fail("A " + describe(object) + " cannot be stored in a property list");
    return true;
}

} // namespace

bool write_xml(CFPropertyListRef plist, std::string* out, std::string* error) {
    out->assign(kHeader);
    Writer writer(out);
    if (!writer.value(plist, 0)) {
        *error = writer.error();
        out->clear();
        return false;
    }
    *out += "</plist>\n";
    return true;
}

} // namespace cf::plist
