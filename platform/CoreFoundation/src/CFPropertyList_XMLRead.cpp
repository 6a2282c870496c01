// Reading XML property lists. libxml2 builds the document tree (it checks
// well-formedness and decodes entities); this file walks the tree, checks
// the plist structure and builds the CF objects. Every failure names the
// line it was found on.
#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFString.h>

#include "CFDateInternal.h"
#include "CFPropertyListInternal.h"
#include "CFValueSupport.h"

#include <charconv>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <libxml/parser.h>
#include <libxml/tree.h>

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

bool named(xmlNodePtr node, const char* name) {
    return std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

class Reader {
  public:
    Reader(CFAllocatorRef allocator, CFOptionFlags mutability)
        : allocator_(allocator),
          mutable_containers_(mutability & (kCFPropertyListMutableContainers |
                                            kCFPropertyListMutableContainersAndLeaves)),
          mutable_leaves_(mutability & kCFPropertyListMutableContainersAndLeaves) {}

    CFPropertyListRef read_document(xmlDocPtr doc);
    const std::string& error() const { return error_; }

  private:
    CFTypeRef read_value(xmlNodePtr node);
    CFTypeRef read_dict(xmlNodePtr node);
    CFTypeRef read_array(xmlNodePtr node);
    CFTypeRef read_string(xmlNodePtr node);
    CFTypeRef read_integer(xmlNodePtr node);
    CFTypeRef read_real(xmlNodePtr node);
    CFTypeRef read_boolean(xmlNodePtr node, CFBooleanRef value);
    CFTypeRef read_date(xmlNodePtr node);
    CFTypeRef read_data(xmlNodePtr node);

    bool text_of(xmlNodePtr node, std::string* out);
    bool next_element(xmlNodePtr* cursor, xmlNodePtr parent);
    std::nullptr_t fail(xmlNodePtr node, const std::string& message);
    std::nullptr_t fail_at(long line, const std::string& message);

    CFAllocatorRef allocator_;
    bool mutable_containers_;
    bool mutable_leaves_;
    std::string error_;
};

std::nullptr_t Reader::fail(xmlNodePtr node, const std::string& message) {
    return fail_at(xmlGetLineNo(node), message);
}

std::nullptr_t Reader::fail_at(long line, const std::string& message) {
    if (error_.empty())
        error_ = message + " on line " + std::to_string(line);
    return nullptr;
}

// libxml2 gives a text node the line where the text ends; the line of its
// last non-blank character is the one a reader wants to see.
long text_line(xmlNodePtr node) {
    std::string_view text = reinterpret_cast<const char*>(node->content);
    size_t last = text.find_last_not_of(" \t\r\n");
    long trailing = 0;
    for (size_t i = last + 1; i < text.size(); ++i)
        trailing += text[i] == '\n' ? 1 : 0;
    return xmlGetLineNo(node) - trailing;
}

// Moves *cursor to the next element among the siblings, skipping comments,
// processing instructions and blank text. Text that is not blank is an
// error. *cursor becomes nullptr at the end.
bool Reader::next_element(xmlNodePtr* cursor, xmlNodePtr parent) {
    for (xmlNodePtr node = *cursor; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) {
            *cursor = node;
            return true;
        }
        if ((node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) &&
            !is_blank(reinterpret_cast<const char*>(node->content))) {
            fail_at(text_line(node), "Unexpected text inside <" +
                                         std::string(reinterpret_cast<const char*>(parent->name)) +
                                         ">");
            return false;
        }
        if (node->type == XML_ENTITY_REF_NODE) {
            fail(node, "Unsupported entity reference");
            return false;
        }
    }
    *cursor = nullptr;
    return true;
}

// The character content of a leaf element; elements inside it are errors.
bool Reader::text_of(xmlNodePtr node, std::string* out) {
    out->clear();
    for (xmlNodePtr child = node->children; child != nullptr; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
            *out += reinterpret_cast<const char*>(child->content);
        } else if (child->type == XML_ELEMENT_NODE) {
            fail(child, "Unexpected <" + std::string(reinterpret_cast<const char*>(child->name)) +
                            "> inside <" + reinterpret_cast<const char*>(node->name) + ">");
            return false;
        } else if (child->type == XML_ENTITY_REF_NODE) {
            fail(child, "Unsupported entity reference");
            return false;
        }
    }
    return true;
}

CFPropertyListRef Reader::read_document(xmlDocPtr doc) {
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (!named(root, "plist"))
        return read_value(root); // a bare value is accepted as the whole list
    xmlNodePtr value = root->children;
    if (!next_element(&value, root))
        return nullptr;
    if (value == nullptr)
        return fail(root, "Empty <plist>");
    xmlNodePtr extra = value->next;
    if (!next_element(&extra, root))
        return nullptr;
    if (extra != nullptr)
        return fail(extra, "More than one value in <plist>");
    return read_value(value);
}

CFTypeRef Reader::read_value(xmlNodePtr node) {
    if (node->ns != nullptr)
        return fail(node, "Unexpected namespace on <" +
                              std::string(reinterpret_cast<const char*>(node->name)) + ">");
    if (named(node, "dict"))
        return read_dict(node);
    if (named(node, "array"))
        return read_array(node);
    if (named(node, "string"))
        return read_string(node);
    if (named(node, "integer"))
        return read_integer(node);
    if (named(node, "real"))
        return read_real(node);
    if (named(node, "true"))
        return read_boolean(node, kCFBooleanTrue);
    if (named(node, "false"))
        return read_boolean(node, kCFBooleanFalse);
    if (named(node, "date"))
        return read_date(node);
    if (named(node, "data"))
        return read_data(node);
    if (named(node, "key"))
        return fail(node, "<key> outside a <dict>");
    return fail(node,
                "Unknown tag <" + std::string(reinterpret_cast<const char*>(node->name)) + ">");
}

CFTypeRef Reader::read_dict(xmlNodePtr node) {
    CFMutableDictionaryRef dict = CFDictionaryCreateMutable(
        allocator_, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    xmlNodePtr cursor = node->children;
    std::string key_text;
    while (next_element(&cursor, node) && cursor != nullptr) {
        if (!named(cursor, "key")) {
            fail(cursor, "Expected <key> in <dict>, found <" +
                             std::string(reinterpret_cast<const char*>(cursor->name)) + ">");
            break;
        }
        xmlNodePtr key_node = cursor;
        cursor = cursor->next;
        if (!text_of(key_node, &key_text) || !next_element(&cursor, node))
            break;
        if (cursor == nullptr) {
            fail(key_node, "Key without a value");
            break;
        }
        CFTypeRef value = read_value(cursor);
        if (value == nullptr)
            break;
        CFStringRef key = make_cfstring(key_text, allocator_);
        CFDictionarySetValue(dict, key, value); // a repeated key keeps its last value
        CFRelease(key);
        CFRelease(value);
        cursor = cursor->next;
    }
    if (!error_.empty()) {
        CFRelease(dict);
        return nullptr;
    }
    if (mutable_containers_)
        return dict;
    CFDictionaryRef frozen = CFDictionaryCreateCopy(allocator_, dict);
    CFRelease(dict);
    return frozen;
}

CFTypeRef Reader::read_array(xmlNodePtr node) {
    CFMutableArrayRef array = CFArrayCreateMutable(allocator_, 0, &kCFTypeArrayCallBacks);
    xmlNodePtr cursor = node->children;
    while (next_element(&cursor, node) && cursor != nullptr) {
        CFTypeRef value = read_value(cursor);
        if (value == nullptr)
            break;
        CFArrayAppendValue(array, value);
        CFRelease(value);
        cursor = cursor->next;
    }
    if (!error_.empty()) {
        CFRelease(array);
        return nullptr;
    }
    if (mutable_containers_)
        return array;
    CFArrayRef frozen = CFArrayCreateCopy(allocator_, array);
    CFRelease(array);
    return frozen;
}

CFTypeRef Reader::read_string(xmlNodePtr node) {
    std::string text;
    if (!text_of(node, &text))
        return nullptr;
    CFStringRef string = make_cfstring(text, allocator_);
    if (string == nullptr)
        return fail(node, "Invalid UTF-8 in <string>");
    if (!mutable_leaves_)
        return string;
    CFMutableStringRef editable = CFStringCreateMutableCopy(allocator_, 0, string);
    CFRelease(string);
    return editable;
}

CFTypeRef Reader::read_integer(xmlNodePtr node) {
    std::string text;
    if (!text_of(node, &text))
        return nullptr;
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
        return fail(node, "Malformed integer \"" + text + "\"");
    if (status == std::errc::result_out_of_range ||
        magnitude > (negative ? UInt64(INT64_MAX) + 1 : UInt64(INT64_MAX)))
        return fail(node, "Integer \"" + text + "\" out of range");
    SInt64 value = negative ? static_cast<SInt64>(0 - magnitude) : static_cast<SInt64>(magnitude);
    return CFNumberCreate(allocator_, kCFNumberSInt64Type, &value);
}

CFTypeRef Reader::read_real(xmlNodePtr node) {
    std::string text;
    if (!text_of(node, &text))
        return nullptr;
    std::string_view digits = trimmed(text);
    if (!digits.empty() && digits[0] == '+')
        digits.remove_prefix(1); // from_chars takes '-' but not '+'
    double value = 0;
    auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || status == std::errc::invalid_argument ||
        end != digits.data() + digits.size())
        return fail(node, "Malformed real \"" + text + "\"");
    // Overflow gives infinity and underflow zero, as strtod does; the C
    // locale keeps the decimal point a point whatever the process's locale.
    if (status == std::errc::result_out_of_range) {
        static locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
        value = strtod_l(std::string(digits).c_str(), nullptr, c_locale);
    }
    return CFNumberCreate(allocator_, kCFNumberFloat64Type, &value);
}

CFTypeRef Reader::read_boolean(xmlNodePtr node, CFBooleanRef value) {
    std::string text;
    if (!text_of(node, &text))
        return nullptr;
    if (!is_blank(text))
        return fail(node, "Unexpected text inside <" +
                              std::string(reinterpret_cast<const char*>(node->name)) + ">");
    return value;
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

CFTypeRef Reader::read_date(xmlNodePtr node) {
    std::string text;
    if (!text_of(node, &text))
        return nullptr;
    CFAbsoluteTime at = 0;
    if (!parse_date(trimmed(text), &at))
        return fail(node, "Malformed date \"" + text + "\"");
    return CFDateCreate(allocator_, at);
}

CFTypeRef Reader::read_data(xmlNodePtr node) {
    std::string text;
    std::vector<UInt8> bytes;
    if (!text_of(node, &text))
        return nullptr;
    if (!base64_decode(text, &bytes))
        return fail(node, "Malformed base64 in <data>");
    if (!mutable_leaves_)
        return CFDataCreate(allocator_, bytes.data(), static_cast<CFIndex>(bytes.size()));
    CFMutableDataRef data = CFDataCreateMutable(allocator_, 0);
    CFDataAppendBytes(data, bytes.data(), static_cast<CFIndex>(bytes.size()));
    return data;
}

// Keeps the first problem libxml2 reports: later ones tend to be its
// consequences ("premature end of data" after a mismatched tag).
void keep_first_error(void* data, xmlErrorPtr error) {
    auto* first = static_cast<std::string*>(static_cast<xmlParserCtxtPtr>(data)->_private);
    if (!first->empty() || error == nullptr || error->level < XML_ERR_ERROR)
        return;
    std::string message = error->message != nullptr ? error->message : "unknown error";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
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
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (context == nullptr) {
        *error = "Out of memory";
        return nullptr;
    }
    error->clear();
    context->_private = error;
    context->sax->serror = keep_first_error;
    // No network, no messages on stderr (the error comes back to the
    // caller), line numbers past 65535, CDATA merged into text.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                        XML_PARSE_BIG_LINES | XML_PARSE_NOCDATA;
    xmlDocPtr doc =
        xmlCtxtReadMemory(context, reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                          static_cast<int>(length), nullptr, nullptr, options);
    CFPropertyListRef result = nullptr;
    if (doc == nullptr) {
        if (error->empty())
            *error = "Malformed XML";
    } else {
        Reader reader(allocator, mutability);
        result = reader.read_document(doc);
        if (result == nullptr)
            *error = reader.error();
        xmlFreeDoc(doc);
    }
    xmlFreeParserCtxt(context);
    return result;
}

} // namespace cf::plist
