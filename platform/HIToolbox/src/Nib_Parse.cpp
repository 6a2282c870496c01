// The nib parser: XML (read by libxml2) into the plain records of
// NibInternal.h. It checks the structure and every attribute it knows;
// attributes of a control that it does not know are left to the control's
// builder, which knows its kind. Every error names the file and the line.
#include "NibInternal.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace hit::nib {
namespace {

struct NamedValue {
    const char* name;
    UInt32 value;
};

constexpr NamedValue kWindowClasses[] = {
    {"alert", kAlertWindowClass},
    {"movable-alert", kMovableAlertWindowClass},
    {"modal", kModalWindowClass},
    {"movable-modal", kMovableModalWindowClass},
    {"floating", kFloatingWindowClass},
    {"document", kDocumentWindowClass},
    {"utility", kUtilityWindowClass},
    {"help", kHelpWindowClass},
    {"sheet", kSheetWindowClass},
    {"toolbar", kToolbarWindowClass},
    {"plain", kPlainWindowClass},
    {"overlay", kOverlayWindowClass},
    {"sheet-alert", kSheetAlertWindowClass},
    {"alt-plain", kAltPlainWindowClass},
    {"simple", kSimpleWindowClass},
    {"drawer", kDrawerWindowClass},
};

constexpr NamedValue kWindowAttributes[] = {
    {"close-box", kWindowCloseBoxAttribute},
    {"horizontal-zoom", kWindowHorizontalZoomAttribute},
    {"vertical-zoom", kWindowVerticalZoomAttribute},
    {"full-zoom", kWindowFullZoomAttribute},
    {"collapse-box", kWindowCollapseBoxAttribute},
    {"resizable", kWindowResizableAttribute},
    {"side-title-bar", kWindowSideTitlebarAttribute},
    {"toolbar-button", kWindowToolbarButtonAttribute},
    {"metal", kWindowMetalAttribute},
    {"no-updates", kWindowNoUpdatesAttribute},
    {"no-activates", kWindowNoActivatesAttribute},
    {"opaque-for-events", kWindowOpaqueForEventsAttribute},
    {"compositing", kWindowCompositingAttribute},
    {"no-shadow", kWindowNoShadowAttribute},
    {"hide-on-suspend", kWindowHideOnSuspendAttribute},
    {"standard-handler", kWindowStandardHandlerAttribute},
    {"hide-on-full-screen", kWindowHideOnFullScreenAttribute},
    {"in-window-menu", kWindowInWindowMenuAttribute},
    {"live-resize", kWindowLiveResizeAttribute},
    {"ignore-clicks", kWindowIgnoreClicksAttribute},
    {"standard-document", kWindowStandardDocumentAttributes},
    {"standard-floating", kWindowStandardFloatingAttributes},
};

std::string name_of(const xmlChar* name) {
    return reinterpret_cast<const char*>(name);
}

// libxml2 gives an element the line where its start tag ends; people look
// for the line where it starts. Start tags are found in the text in document
// order: every '<' followed by a name begins one, outside comments, CDATA
// sections and processing instructions ('<' cannot appear raw elsewhere).
std::vector<int> start_tag_lines(const std::string& bytes) {
    std::vector<int> lines;
    int line = 1;
    auto skip_to = [&](size_t& i, const char* end) {
        const size_t found = bytes.find(end, i);
        const size_t stop = found == std::string::npos ? bytes.size() : found;
        for (; i < stop; ++i)
            line += bytes[i] == '\n';
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++line;
        } else if (bytes[i] == '<') {
            if (bytes.compare(i, 4, "<!--") == 0)
                skip_to(i, "-->");
            else if (bytes.compare(i, 9, "<![CDATA[") == 0)
                skip_to(i, "]]>");
            else if (bytes.compare(i, 2, "<?") == 0)
                skip_to(i, "?>");
            else if (i + 1 < bytes.size() && std::strchr("/!", bytes[i + 1]) == nullptr)
                lines.push_back(line);
        }
    }
    return lines;
}

// The start line of each element of the tree, when the text could be
// scanned (an encoding that is not ASCII-compatible cannot).
class LineTable {
  public:
    LineTable(const std::string& bytes, const xmlNode* root) {
        if (bytes.size() >= 2 &&
            (bytes[0] == '\0' || bytes[1] == '\0' || static_cast<unsigned char>(bytes[0]) >= 0xFE))
            return;
        std::vector<int> lines = start_tag_lines(bytes);
        size_t next = 0;
        assign(root, lines, next);
        if (next != lines.size())
            lines_.clear(); // the scan and the tree disagree: trust libxml2
    }
    int line_of(const xmlNode* node) const {
        auto it = lines_.find(node);
        if (it != lines_.end())
            return it->second;
        return static_cast<int>(xmlGetLineNo(const_cast<xmlNode*>(node)));
    }

  private:
    void assign(const xmlNode* node, const std::vector<int>& lines, size_t& next) {
        if (next < lines.size())
            lines_[node] = lines[next];
        ++next;
        for (const xmlNode* child = node->children; child != nullptr; child = child->next)
            if (child->type == XML_ELEMENT_NODE)
                assign(child, lines, next);
    }
    std::unordered_map<const xmlNode*, int> lines_;
};

std::string value_of(const xmlAttr* attribute) {
    xmlChar* text = xmlNodeListGetString(attribute->doc, attribute->children, 1);
    std::string value = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    xmlFree(text);
    return value;
}

bool parse_int32(const std::string& text, SInt32& out) {
    if (text.empty() || std::strchr("+-0123456789", text[0]) == nullptr)
        return false;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
        return false;
    out = static_cast<SInt32>(value);
    return true;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\n\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\n\r") - first + 1);
}

bool parse_rect(const std::string& text, Rect& out) {
    SInt32 values[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = text.find(',', start);
        if ((comma == std::string::npos) != (i == 3))
            return false;
        const std::string part = trimmed(text.substr(start, comma - start));
        if (!parse_int32(part, values[i]) || values[i] < SHRT_MIN || values[i] > SHRT_MAX)
            return false;
        start = comma + 1;
    }
    if (values[2] < values[0] || values[3] < values[1])
        return false;
    out = Rect{static_cast<short>(values[0]), static_cast<short>(values[1]),
               static_cast<short>(values[2]), static_cast<short>(values[3])};
    return true;
}

bool parse_four_chars(const std::string& text, UInt32& out) {
    if (text.size() != 4)
        return false;
    UInt32 code = 0;
    for (unsigned char c : text) {
        if (c < 0x20 || c > 0x7E)
            return false;
        code = code << 8 | c;
    }
    out = code;
    return true;
}

// "TVKa:50": a four-character signature, a colon, a signed number.
bool parse_control_id(const std::string& text, ControlID& out) {
    if (text.size() < 6 || text[4] != ':')
        return false;
    return parse_four_chars(text.substr(0, 4), out.signature) &&
           parse_int32(text.substr(5), out.id);
}

bool parse_bool(const std::string& text, bool& out) {
    if (text == "true" || text == "false") {
        out = text == "true";
        return true;
    }
    return false;
}

template <size_t N>
bool lookup(const NamedValue (&table)[N], const std::string& name, UInt32& out) {
    for (const NamedValue& entry : table)
        if (name == entry.name) {
            out = entry.value;
            return true;
        }
    return false;
}

class Parser {
  public:
    Parser(const std::string& file, const LineTable& lines, Document& document)
        : file_(file), lines_(lines), document_(document) {}

    bool document(const xmlNode* root);
    const std::string& error() const { return error_; }

  private:
    bool fail(const xmlNode* node, const std::string& message) {
        error_ = located(file_, line_of(node), message);
        return false;
    }
    bool fail_value(const xmlNode* node, const std::string& attribute, const std::string& value,
                    const char* expected) {
        return fail(node, "attribute " + attribute + "=\"" + value + "\": expected " + expected);
    }
    // Calls on_element for each child element; fails on text that is not
    // white space. Comments are skipped.
    template <class F> bool each_element(const xmlNode* node, F&& on_element);
    bool require(const xmlNode* node, const char* attribute, bool present) {
        return present ||
               fail(node, "<" + name_of(node->name) + "> needs a " + attribute + " attribute");
    }

    bool window(const xmlNode* node);
    bool window_attribute(const xmlNode* node, const std::string& name, const std::string& value,
                          WindowNode& out);
    bool control(const xmlNode* node, std::vector<ControlNode>& siblings);
    bool control_attribute(const xmlNode* node, const std::string& name, const std::string& value,
                           ControlNode& out);
    bool check_range(const xmlNode* node, const ControlNode& control);
    bool menu(const xmlNode* node);
    bool item(const xmlNode* node, std::vector<ItemNode>& items);
    bool unique_name(const xmlNode* node, const std::string& name);

    int line_of(const xmlNode* node) const { return lines_.line_of(node); }

    const std::string& file_;
    const LineTable& lines_;
    Document& document_;
    std::string error_;
};

template <class F> bool Parser::each_element(const xmlNode* node, F&& on_element) {
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) {
            if (!on_element(child))
                return false;
        } else if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
            const char* text = reinterpret_cast<const char*>(child->content);
            if (text != nullptr && !trimmed(text).empty())
                return fail(child, "text is not allowed inside <" + name_of(node->name) + ">");
        } else if (child->type == XML_ENTITY_REF_NODE) {
            return fail(child, "entity references are not allowed in a nib");
        }
    }
    return true;
}

bool Parser::document(const xmlNode* root) {
    if (name_of(root->name) != "nib")
        return fail(root, "the root element is <" + name_of(root->name) + ">, not <nib>");
    for (const xmlAttr* a = root->properties; a != nullptr; a = a->next) {
        const std::string name = name_of(a->name), value = value_of(a);
        if (name != "version")
            return fail(root, "<nib> has no attribute " + name);
        if (value != "1")
            return fail(root, "nib version " + value + " is not supported (this reader knows 1)");
    }
    return each_element(root, [&](const xmlNode* child) {
        const std::string element = name_of(child->name);
        if (element == "window")
            return window(child);
        if (element == "menu")
            return menu(child);
        return fail(child, "<" + element + "> is not allowed in <nib> (only <window> and <menu>)");
    });
}

bool Parser::unique_name(const xmlNode* node, const std::string& name) {
    if (name.empty())
        return fail(node, "the name of a <" + name_of(node->name) + "> is empty");
    if (document_.find_window(name) != nullptr || document_.find_menu(name) != nullptr)
        return fail(node, "a second object is named \"" + name + "\"");
    return true;
}

bool Parser::window_attribute(const xmlNode* node, const std::string& name,
                              const std::string& value, WindowNode& out) {
    if (name == "name") {
        out.name = value;
        return true;
    }
    if (name == "title") {
        out.title = value;
        return true;
    }
    if (name == "class")
        return lookup(kWindowClasses, value, out.window_class) ||
               fail_value(node, name, value, "a window class such as movable-modal");
    if (name == "bounds")
        return parse_rect(value, out.bounds) ||
               fail_value(node, name, value, "top,left,bottom,right");
    if (name == "attributes") {
        out.attributes = 0;
        size_t start = 0;
        while ((start = value.find_first_not_of(' ', start)) != std::string::npos) {
            const size_t end = value.find(' ', start);
            const std::string word = value.substr(start, end - start);
            UInt32 bit = 0;
            if (!lookup(kWindowAttributes, word, bit))
                return fail(node, "unknown window attribute \"" + word + "\"");
            out.attributes |= bit;
            start = end;
        }
        return true;
    }
    return fail(node, "<window> has no attribute " + name);
}

bool Parser::window(const xmlNode* node) {
    WindowNode out;
    out.line = line_of(node);
    out.window_class = kDocumentWindowClass;
    bool has_name = false, has_bounds = false;
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        const std::string name = name_of(a->name);
        has_name |= name == "name";
        has_bounds |= name == "bounds";
        if (!window_attribute(node, name, value_of(a), out))
            return false;
    }
    if (!require(node, "name", has_name) || !require(node, "bounds", has_bounds) ||
        !unique_name(node, out.name))
        return false;
    const bool ok = each_element(node, [&](const xmlNode* child) {
        if (name_of(child->name) != "control")
            return fail(child, "<" + name_of(child->name) + "> is not allowed in <window>");
        return control(child, out.controls);
    });
    if (ok)
        document_.windows.push_back(std::move(out));
    return ok;
}

bool Parser::control_attribute(const xmlNode* node, const std::string& name,
                               const std::string& value, ControlNode& out) {
    SInt32 number = 0;
    if (name == "kind")
        out.kind = value;
    else if (name == "id") {
        ControlID id{};
        if (!parse_control_id(value, id))
            return fail_value(node, name, value, "a signature and a number, as TVKa:50");
        out.id = id;
    } else if (name == "bounds") {
        return parse_rect(value, out.bounds) ||
               fail_value(node, name, value, "top,left,bottom,right");
    } else if (name == "title")
        out.title = value;
    else if (name == "value" || name == "min" || name == "max") {
        if (!parse_int32(value, number))
            return fail_value(node, name, value, "a whole number");
        (name == "value" ? out.value : name == "min" ? out.minimum : out.maximum) = number;
    } else if (name == "visible" || name == "enabled") {
        if (!parse_bool(value, name == "visible" ? out.visible : out.enabled))
            return fail_value(node, name, value, "true or false");
    } else if (name == "command") {
        return parse_four_chars(value, out.command) ||
               fail_value(node, name, value, "four characters, as \"ok  \"");
    } else {
        out.extra.push_back({name, value, line_of(node)});
    }
    return true;
}

bool Parser::check_range(const xmlNode* node, const ControlNode& c) {
    if (c.minimum && c.maximum && *c.minimum > *c.maximum)
        return fail(node, "min " + std::to_string(*c.minimum) + " is above max " +
                              std::to_string(*c.maximum));
    if (c.value && c.minimum && *c.value < *c.minimum)
        return fail(node, "value " + std::to_string(*c.value) + " is below min " +
                              std::to_string(*c.minimum));
    if (c.value && c.maximum && *c.value > *c.maximum)
        return fail(node, "value " + std::to_string(*c.value) + " is above max " +
                              std::to_string(*c.maximum));
    return true;
}

bool Parser::control(const xmlNode* node, std::vector<ControlNode>& siblings) {
    ControlNode out;
    out.line = line_of(node);
    bool has_kind = false, has_bounds = false;
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        const std::string name = name_of(a->name);
        has_kind |= name == "kind";
        has_bounds |= name == "bounds";
        if (!control_attribute(node, name, value_of(a), out))
            return false;
    }
    if (!require(node, "kind", has_kind) || !require(node, "bounds", has_bounds) ||
        !check_range(node, out))
        return false;
    const bool ok = each_element(node, [&](const xmlNode* child) {
        const std::string element = name_of(child->name);
        if (element == "control")
            return control(child, out.children);
        if (element == "item")
            return item(child, out.items);
        return fail(child, "<" + element + "> is not allowed in <control>");
    });
    if (ok)
        siblings.push_back(std::move(out));
    return ok;
}

bool Parser::menu(const xmlNode* node) {
    MenuNode out;
    out.line = line_of(node);
    bool has_name = false;
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        const std::string name = name_of(a->name), value = value_of(a);
        SInt32 number = 0;
        if (name == "name") {
            out.name = value;
            has_name = true;
        } else if (name == "title") {
            out.title = value;
        } else if (name == "id") {
            if (!parse_int32(value, number) || number < SHRT_MIN || number > SHRT_MAX)
                return fail_value(node, name, value, "a menu ID from -32768 to 32767");
            out.id = static_cast<MenuID>(number);
        } else {
            return fail(node, "<menu> has no attribute " + name);
        }
    }
    if (!require(node, "name", has_name) || !unique_name(node, out.name))
        return false;
    const bool ok = each_element(node, [&](const xmlNode* child) {
        if (name_of(child->name) != "item")
            return fail(child, "<" + name_of(child->name) + "> is not allowed in <menu>");
        return item(child, out.items);
    });
    if (ok)
        document_.menus.push_back(std::move(out));
    return ok;
}

bool Parser::item(const xmlNode* node, std::vector<ItemNode>& items) {
    ItemNode out;
    out.line = line_of(node);
    bool has_title = false;
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        const std::string name = name_of(a->name), value = value_of(a);
        if (name == "title") {
            out.title = value;
            has_title = true;
        } else if (name == "command") {
            if (!parse_four_chars(value, out.command))
                return fail_value(node, name, value, "four characters, as \"ok  \"");
        } else if (name == "enabled") {
            if (!parse_bool(value, out.enabled))
                return fail_value(node, name, value, "true or false");
        } else {
            return fail(node, "<item> has no attribute " + name);
        }
    }
    if (!require(node, "title", has_title))
        return false;
    const bool ok = each_element(node, [&](const xmlNode* child) {
        return fail(child, "<" + name_of(child->name) + "> is not allowed in <item>");
    });
    if (ok)
        items.push_back(std::move(out));
    return ok;
}

struct FirstError {
    int line = 0;
    std::string message;
};

// libxml2 hands the handler its parser context; ours rides in _private.
void keep_first_error(void* user_data, xmlErrorPtr failure) {
    auto* first = static_cast<FirstError*>(static_cast<xmlParserCtxt*>(user_data)->_private);
    if (!first->message.empty() || failure == nullptr || failure->level < XML_ERR_ERROR)
        return;
    first->line = failure->line;
    first->message = failure->message != nullptr ? trimmed(failure->message) : "bad XML";
}

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct ContextFree {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

} // namespace

std::string located(const std::string& file, int line, const std::string& message) {
    return file + ":" + std::to_string(line) + ": " + message;
}

const Attribute* ControlNode::find_extra(std::string_view name) const {
    for (const Attribute& attribute : extra)
        if (attribute.name == name)
            return &attribute;
    return nullptr;
}

const WindowNode* Document::find_window(std::string_view name) const {
    for (const WindowNode& window : windows)
        if (window.name == name)
            return &window;
    return nullptr;
}

const MenuNode* Document::find_menu(std::string_view name) const {
    for (const MenuNode& menu : menus)
        if (menu.name == name)
            return &menu;
    return nullptr;
}

bool parse(const std::string& bytes, const std::string& file, Document& out, std::string& error) {
    out = Document{};
    out.file = file;
    std::unique_ptr<xmlParserCtxt, ContextFree> context(xmlNewParserCtxt());
    if (context == nullptr || bytes.size() > INT_MAX) {
        error = located(file, 0, "cannot read the file (out of memory or too large)");
        return false;
    }
    // No network, no external entities, no messages of libxml2's own: the
    // first error (later ones follow from it) comes back as one line.
    FirstError first;
    context->sax->serror = keep_first_error;
    context->_private = &first;
    const int options =
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES;
    std::unique_ptr<xmlDoc, DocFree> doc(xmlCtxtReadMemory(context.get(), bytes.data(),
                                                           static_cast<int>(bytes.size()),
                                                           file.c_str(), nullptr, options));
    if (doc == nullptr || !first.message.empty()) {
        error = located(file, first.line,
                        first.message.empty() ? "not well-formed XML" : first.message);
        return false;
    }
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (doc->intSubset != nullptr) {
        const size_t at = bytes.find("<!DOCTYPE");
        const auto line =
            1 + std::count(bytes.begin(), bytes.begin() + std::min(at, bytes.size()), '\n');
        error = located(file, static_cast<int>(line), "a nib has no document type declaration");
        return false;
    }
    const LineTable lines(bytes, root);
    Parser parser(file, lines, out);
    if (!parser.document(root)) {
        error = parser.error();
        return false;
    }
    return true;
}

} // namespace hit::nib
