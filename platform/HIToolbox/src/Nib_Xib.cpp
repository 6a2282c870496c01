// Interface Builder's Carbon nibs: the XML object archive (objects.xib) read into the same
// plain records as the project's own nib format, so one set of builders makes the windows.
//
// The archive is a tree of <object class="..." id="N"> elements whose properties are child
// elements carrying a name attribute (<string name="title">, <int name="controlID">,
// <ostype name="command">, <boolean name="isUnicode">TRUE</boolean>, <array name="subviews">,
// <object name="rootControl">); an object may stand anywhere and be referred to elsewhere by
// <reference idRef="N"/>. The nameTable dictionary maps the names CreateWindowFromNib asks for
// to objects. Properties this reader does not use are ignored, as the toolbox does.
#include "NibInternal.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace hit::nib {
namespace {

using Node = const xmlNode*;

std::string text_of(Node node) {
    xmlChar* text = xmlNodeGetContent(node);
    std::string value = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    xmlFree(text);
    return value;
}

std::string attribute(Node node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string result = value != nullptr ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return result;
}

bool is(Node node, const char* element) {
    return node != nullptr && node->type == XML_ELEMENT_NODE &&
           std::strcmp(reinterpret_cast<const char*>(node->name), element) == 0;
}

int line_of(Node node) {
    return static_cast<int>(xmlGetLineNo(node));
}

// The control classes a print panel uses, and the kinds they are built as.
struct ClassKind {
    const char* ib_class;
    const char* kind;
};

constexpr ClassKind kControlClasses[] = {
    {"IBCarbonUserPane", "user-pane"},
    {"IBCarbonStaticText", "static-text"},
    {"IBCarbonEditText", "edit-text"},
    {"IBCarbonButton", "push-button"},
    {"IBCarbonCheckBox", "check-box"},
    {"IBCarbonRadioButton", "radio-button"},
    {"IBCarbonRadioGroup", "radio-group"},
    {"IBCarbonPopupButton", "popup-button"},
    {"IBCarbonGroupBox", "group-box"},
    {"IBCarbonSeparator", "separator"},
    {"IBCarbonTab", "tabs"},
};

// Apple's control sizes as the archive numbers them.
enum { kSizeNormal = 0, kSizeSmall = 1, kSizeLarge = 2, kSizeMini = 3 };

class XibReader {
  public:
    XibReader(const std::string& file, Document& out) : file_(file), out_(out) {}

    bool read(Node root);
    const std::string& error() const { return error_; }

  private:
    bool fail(Node node, const std::string& message) {
        if (error_.empty())
            error_ = located(file_, node != nullptr ? line_of(node) : 0, message);
        return false;
    }
    void index(Node node);
    Node resolve(Node node);
    Node property(Node object, const char* name);
    std::vector<Node> array_objects(Node object, const char* name);
    bool string_property(Node object, const char* name, std::string& out);
    bool int_property(Node object, const char* name, SInt32& out, bool& present);
    bool ostype_property(Node object, const char* name, UInt32& out, bool& present);
    bool bool_property(Node object, const char* name, bool fallback, bool& out);
    bool rect_property(Node object, const char* name, Rect& out);
    bool window(Node object, const std::string& name);
    bool window_attributes(Node object, WindowNode& window);
    bool control(Node object, std::vector<ControlNode>& siblings);
    bool control_common(Node object, ControlNode& node);
    bool control_kind_specific(Node object, const std::string& ib_class, ControlNode& node);
    bool menu_items(Node menu, std::vector<ItemNode>& items);
    bool popup_menu(Node object, ControlNode& node);
    bool menu(Node object, const std::string& name);

    const std::string& file_;
    Document& out_;
    std::string error_;
    std::unordered_map<std::string, Node> objects_; // by id
    int depth_ = 0;                                 // of the control being read
};

void XibReader::index(Node node) {
    for (Node child = node->children; child != nullptr; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (is(child, "object")) {
            const std::string id = attribute(child, "id");
            if (!id.empty())
                objects_.emplace(id, child);
        }
        index(child);
    }
}

// A <reference idRef="N"/> stands for the object of that id; anything else for itself.
Node XibReader::resolve(Node node) {
    if (!is(node, "reference"))
        return node;
    auto found = objects_.find(attribute(node, "idRef"));
    if (found == objects_.end()) {
        fail(node, "a reference to object " + attribute(node, "idRef") + ", which is not there");
        return nullptr;
    }
    return found->second;
}

Node XibReader::property(Node object, const char* name) {
    for (Node child = object->children; child != nullptr; child = child->next)
        if (child->type == XML_ELEMENT_NODE && attribute(child, "name") == name)
            return child;
    return nullptr;
}

std::vector<Node> XibReader::array_objects(Node object, const char* name) {
    std::vector<Node> result;
    Node array = property(object, name);
    if (array == nullptr)
        return result;
    if (!is(array, "array")) {
        fail(array, std::string(name) + " is not an array");
        return result;
    }
    for (Node child = array->children; child != nullptr; child = child->next)
        if (child->type == XML_ELEMENT_NODE)
            if (Node element = resolve(child); element != nullptr)
                result.push_back(element);
    return result;
}

bool XibReader::string_property(Node object, const char* name, std::string& out) {
    Node node = property(object, name);
    if (node == nullptr)
        return true;
    if (!is(node, "string"))
        return fail(node, std::string(name) + " is not a string");
    out = text_of(node);
    return true;
}

bool XibReader::int_property(Node object, const char* name, SInt32& out, bool& present) {
    present = false;
    Node node = property(object, name);
    if (node == nullptr)
        return true;
    const std::string text = text_of(node);
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (!(is(node, "int") || is(node, "unsigned_int")) || text.empty() || *end != '\0' ||
        errno != 0 || value < INT32_MIN || value > INT32_MAX)
        return fail(node, std::string(name) + " \"" + text + "\" is not a 32-bit integer");
    out = static_cast<SInt32>(value);
    present = true;
    return true;
}

bool XibReader::ostype_property(Node object, const char* name, UInt32& out, bool& present) {
    present = false;
    Node node = property(object, name);
    if (node == nullptr)
        return true;
    const std::string text = text_of(node);
    UInt32 code = 0;
    bool ok = is(node, "ostype") && text.size() == 4;
    for (unsigned char c : text) {
        ok = ok && c >= 0x20 && c <= 0x7E;
        code = code << 8 | c;
    }
    if (!ok)
        return fail(node, std::string(name) + " \"" + text + "\" is not four characters");
    out = code;
    present = true;
    return true;
}

bool XibReader::bool_property(Node object, const char* name, bool fallback, bool& out) {
    out = fallback;
    Node node = property(object, name);
    if (node == nullptr)
        return true;
    const std::string text = text_of(node);
    if (!is(node, "boolean") || (text != "TRUE" && text != "FALSE"))
        return fail(node, std::string(name) + " \"" + text + "\" is not TRUE or FALSE");
    out = text == "TRUE";
    return true;
}

// "top left bottom right ": four numbers separated by spaces.
bool XibReader::rect_property(Node object, const char* name, Rect& out) {
    Node node = property(object, name);
    if (node == nullptr)
        return fail(object, std::string("the object has no ") + name);
    const std::string text = text_of(node);
    long values[4];
    const char* at = text.c_str();
    for (long& value : values) {
        char* end = nullptr;
        errno = 0;
        value = std::strtol(at, &end, 10);
        if (end == at || errno != 0 || value < SHRT_MIN || value > SHRT_MAX)
            return fail(node, std::string(name) + " \"" + text + "\" is not four 16-bit numbers");
        at = end;
    }
    if (text.find_first_not_of(" \t\n", static_cast<size_t>(at - text.c_str())) !=
            std::string::npos ||
        values[2] < values[0] || values[3] < values[1])
        return fail(node, std::string(name) + " \"" + text + "\" is not a rectangle");
    out = Rect{static_cast<short>(values[0]), static_cast<short>(values[1]),
               static_cast<short>(values[2]), static_cast<short>(values[3])};
    return true;
}

// The window's frame widgets, as Interface Builder writes them. A document window has a
// close box and a collapse box unless the archive says FALSE.
bool XibReader::window_attributes(Node object, WindowNode& window) {
    struct Flag {
        const char* property;
        WindowAttributes bit;
        bool document_default;
    };
    constexpr Flag kFlags[] = {
        {"hasCloseBox", kWindowCloseBoxAttribute, true},
        {"hasCollapseBox", kWindowCollapseBoxAttribute, true},
        {"isResizable", kWindowResizableAttribute, false},
        {"hasHorizontalZoom", kWindowHorizontalZoomAttribute, false},
        {"hasVerticalZoom", kWindowVerticalZoomAttribute, false},
    };
    const bool document = window.window_class == kDocumentWindowClass;
    for (const Flag& flag : kFlags) {
        bool on = false;
        if (!bool_property(object, flag.property, document && flag.document_default, on))
            return false;
        if (on)
            window.attributes |= flag.bit;
    }
    return true;
}

bool XibReader::window(Node object, const std::string& name) {
    WindowNode window;
    window.line = line_of(object);
    window.name = name;
    SInt32 window_class = kDocumentWindowClass;
    bool present = false;
    std::string title;
    if (!rect_property(object, "windowRect", window.bounds) ||
        !int_property(object, "carbonWindowClass", window_class, present) ||
        !string_property(object, "title", title))
        return false;
    window.window_class = static_cast<WindowClass>(window_class);
    if (property(object, "title") != nullptr)
        window.title = title;
    if (!window_attributes(object, window))
        return false;
    if (Node root_property = property(object, "rootControl")) {
        Node root = resolve(root_property);
        if (root == nullptr)
            return false;
        for (Node child : array_objects(root, "subviews"))
            if (!control(child, window.controls))
                return false;
    }
    out_.windows.push_back(std::move(window));
    return error_.empty();
}

bool XibReader::control_common(Node object, ControlNode& node) {
    bool has_id = false, has_signature = false, present = false;
    SInt32 id = 0;
    UInt32 signature = 0;
    std::string title;
    if (!rect_property(object, "bounds", node.bounds) ||
        !int_property(object, "controlID", id, has_id) ||
        !ostype_property(object, "controlSignature", signature, has_signature) ||
        !ostype_property(object, "command", node.command, present) ||
        !string_property(object, "title", title))
        return false;
    if (has_id || has_signature)
        node.id = ControlID{signature, id};
    if (property(object, "title") != nullptr)
        node.title = title;
    SInt32 value = 0, minimum = 0, maximum = 0;
    bool has_value = false, has_min = false, has_max = false;
    if (!int_property(object, "value", value, has_value) ||
        !int_property(object, "minimum", minimum, has_min) ||
        !int_property(object, "maximum", maximum, has_max))
        return false;
    if (has_value)
        node.value = value;
    if (has_min)
        node.minimum = minimum;
    if (has_max)
        node.maximum = maximum;
    bool hidden = false, enabled = true;
    if (!bool_property(object, "hidden", false, hidden) ||
        !bool_property(object, "enabled", true, enabled))
        return false;
    node.visible = !hidden;
    node.enabled = enabled;
    return true;
}

void add_extra(ControlNode& node, const char* name, const std::string& value) {
    node.extra.push_back(Attribute{name, value, node.line});
}

bool XibReader::control_kind_specific(Node object, const std::string& ib_class, ControlNode& node) {
    SInt32 size = kSizeNormal, button_type = 0;
    bool present = false;
    if (!int_property(object, "controlSize", size, present) ||
        !int_property(object, "buttonType", button_type, present))
        return false;
    // A control laid out small on the Mac needs the small font to fit its bounds here too.
    const bool small = size == kSizeSmall || size == kSizeMini;
    if (small)
        node.font = size == kSizeMini ? kControlFontMiniSystemFont : kControlFontSmallSystemFont;
    if (ib_class == "IBCarbonStaticText" || ib_class == "IBCarbonEditText") {
        bool unicode = false, password = false;
        if (!bool_property(object, "isUnicode", false, unicode) ||
            !bool_property(object, "isPassword", false, password))
            return false;
        if (unicode && ib_class == "IBCarbonEditText")
            node.kind = "edit-unicode-text";
        if (password)
            add_extra(node, "password", "true");
    } else if (ib_class == "IBCarbonTab") {
        add_extra(node, "size", size == kSizeMini ? "mini" : small ? "small" : "large");
        for (Node item : array_objects(object, "items")) {
            ItemNode tab;
            tab.line = line_of(item);
            if (!string_property(item, "title", tab.title))
                return false;
            node.items.push_back(tab);
        }
    } else if (ib_class == "IBCarbonButton" && (button_type == 1 || button_type == 2)) {
        // Interface Builder's button type: 1 the default button, 2 the cancel button.
        add_extra(node, button_type == 1 ? "default" : "cancel", "true");
    } else if (ib_class == "IBCarbonGroupBox") {
        bool secondary = false;
        if (!bool_property(object, "isSecondary", false, secondary))
            return false;
        if (secondary)
            add_extra(node, "primary", "false");
    } else if (ib_class == "IBCarbonPopupButton") {
        return popup_menu(object, node);
    }
    return true;
}

bool XibReader::menu_items(Node menu, std::vector<ItemNode>& items) {
    for (Node object : array_objects(menu, "items")) {
        ItemNode item;
        item.line = line_of(object);
        bool present = false, disabled = false, separator = false;
        if (!string_property(object, "title", item.title) ||
            !ostype_property(object, "command", item.command, present) ||
            !bool_property(object, "disabled", false, disabled) ||
            !bool_property(object, "isSeparator", false, separator))
            return false;
        item.enabled = !disabled;
        if (separator)
            item.title = "-";
        items.push_back(item);
    }
    return error_.empty();
}

// A popup's menu: an IBCarbonMenu held by its "menu" property, or the one of the archive
// whose menuID is the popup's menuID.
bool XibReader::popup_menu(Node object, ControlNode& node) {
    Node menu = nullptr;
    if (Node held = property(object, "menu"))
        menu = resolve(held);
    SInt32 menu_id = 0;
    bool has_id = false;
    if (!int_property(object, "menuID", menu_id, has_id))
        return false;
    for (auto it = objects_.begin(); menu == nullptr && has_id && it != objects_.end(); ++it) {
        SInt32 candidate = 0;
        bool present = false;
        if (attribute(it->second, "class") == "IBCarbonMenu" &&
            int_property(it->second, "menuID", candidate, present) && present &&
            candidate == menu_id)
            menu = it->second;
    }
    if (menu == nullptr)
        return has_id ? fail(object, "no menu of the archive has the popup's menuID " +
                                         std::to_string(menu_id))
                      : true;
    return menu_items(menu, node.items);
}

bool XibReader::control(Node object, std::vector<ControlNode>& siblings) {
    const std::string ib_class = attribute(object, "class");
    const ClassKind* known = nullptr;
    for (const ClassKind& entry : kControlClasses)
        if (ib_class == entry.ib_class)
            known = &entry;
    if (known == nullptr)
        return fail(object,
                    "a control of class " + ib_class + ", which this runtime does not build");
    // References can make a control its own subview; real panels are a few levels deep.
    constexpr int kMaxDepth = 64;
    if (depth_ >= kMaxDepth)
        return fail(object, "controls nested more than 64 deep (a control inside itself?)");
    ControlNode node;
    node.line = line_of(object);
    node.kind = known->kind;
    if (!control_common(object, node) || !control_kind_specific(object, ib_class, node))
        return false;
    ++depth_;
    for (Node child : array_objects(object, "subviews"))
        if (!control(child, node.children)) {
            --depth_;
            return false;
        }
    --depth_;
    // A radio group's choice is its chosen button's value.
    if (node.kind == "radio-group" && node.value && *node.value > 0 &&
        static_cast<size_t>(*node.value) <= node.children.size())
        node.children[static_cast<size_t>(*node.value) - 1].value = 1;
    if (node.kind == "radio-group")
        node.value.reset(), node.maximum.reset();
    siblings.push_back(std::move(node));
    return error_.empty();
}

bool XibReader::menu(Node object, const std::string& name) {
    MenuNode menu;
    menu.line = line_of(object);
    menu.name = name;
    SInt32 id = 0;
    bool present = false;
    std::string title;
    if (!int_property(object, "menuID", id, present) || !string_property(object, "title", title))
        return false;
    menu.id = static_cast<MenuID>(id);
    if (property(object, "title") != nullptr)
        menu.title = title;
    if (!menu_items(object, menu.items))
        return false;
    out_.menus.push_back(std::move(menu));
    return true;
}

bool XibReader::read(Node root) {
    if (!is(root, "object") || attribute(root, "class") != "NSIBObjectData")
        return fail(root, "not an Interface Builder object archive (its root is not an "
                          "NSIBObjectData object)");
    std::string framework;
    if (!string_property(root, "targetFramework", framework))
        return false;
    if (!framework.empty() && framework != "IBCarbonFramework")
        return fail(root, "an Interface Builder archive for " + framework +
                              "; this runtime reads Carbon nibs (IBCarbonFramework) only");
    index(root);
    Node table = property(root, "nameTable");
    if (table == nullptr || !is(table, "dictionary"))
        return fail(root, "the archive has no nameTable dictionary");
    // The table alternates a name and the object it names.
    std::string name;
    bool expect_name = true;
    for (Node child = table->children; child != nullptr; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (expect_name) {
            if (!is(child, "string"))
                return fail(child, "the nameTable wants a name here");
            name = text_of(child);
        } else {
            Node object = resolve(child);
            if (object == nullptr)
                return false;
            const std::string ib_class = attribute(object, "class");
            if (out_.find_window(name) != nullptr || out_.find_menu(name) != nullptr)
                return fail(child, "two objects are named \"" + name + "\"");
            if (ib_class == "IBCarbonWindow" && !window(object, name))
                return false;
            if (ib_class == "IBCarbonMenu" && !menu(object, name))
                return false;
        }
        expect_name = !expect_name;
    }
    return error_.empty();
}

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

} // namespace

bool parse_xib(const std::string& bytes, const std::string& file, Document& out,
               std::string& error) {
    out = Document{};
    out.file = file;
    if (bytes.size() > INT_MAX) {
        error = located(file, 0, "the archive is too large");
        return false;
    }
    const int options =
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES;
    std::unique_ptr<xmlDoc, DocFree> doc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()),
                                                       file.c_str(), nullptr, options));
    if (doc == nullptr) {
        const xmlError* last = xmlGetLastError();
        std::string message =
            last != nullptr && last->message != nullptr ? last->message : "not well-formed XML";
        while (!message.empty() && message.back() == '\n')
            message.pop_back();
        error = located(file, last != nullptr ? last->line : 0, message);
        return false;
    }
    if (doc->intSubset != nullptr) {
        error = located(file, 1, "an object archive has no document type declaration");
        return false;
    }
    XibReader reader(file, out);
    if (!reader.read(xmlDocGetRootElement(doc.get()))) {
        error = reader.error();
        return false;
    }
    return true;
}

} // namespace hit::nib
