// Nib files in three pieces: the parsed document (a plain tree of records
// that knows nothing of drawing or controls), the parser that reads it from
// XML, and the registry of builders that turn a control record into a
// control of its kind. docs/nib-format.md describes the file format.
#ifndef HITOOLBOX_SRC_NIBINTERNAL_H
#define HITOOLBOX_SRC_NIBINTERNAL_H

#include <HIToolbox/ControlDefinitions.h>
#include <HIToolbox/IBCarbonRuntime.h>
#include <HIToolbox/Menus.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hit::nib {

// An attribute the parser left to the control's builder, with its line.
struct Attribute {
    std::string name;
    std::string value;
    int line = 0;
};

// <item>: a menu item, or an entry of a control that lists entries (a
// popup's menu, the tabs of a tab control).
struct ItemNode {
    int line = 0;
    std::string title;
    UInt32 command = 0;
    bool enabled = true;
};

struct ControlNode {
    int line = 0;
    std::string kind;
    std::optional<ControlID> id;
    Rect bounds{};
    std::optional<std::string> title;
    std::optional<SInt32> value, minimum, maximum;
    bool visible = true;
    bool enabled = true;
    UInt32 command = 0;
    // The text size a nib asks for: kControlFontSmallSystemFont or kControlFontMiniSystemFont
    // (SetControlFontStyle); 0 keeps the kind's own font.
    SInt16 font = 0;
    std::vector<Attribute> extra; // kind-specific, checked by the builder
    std::vector<ItemNode> items;
    std::vector<ControlNode> children;

    const Attribute* find_extra(std::string_view name) const;
};

struct WindowNode {
    int line = 0;
    std::string name;
    std::optional<std::string> title;
    WindowClass window_class = 0;
    WindowAttributes attributes = 0;
    Rect bounds{};
    std::vector<ControlNode> controls;
};

struct MenuNode {
    int line = 0;
    std::string name;
    MenuID id = 0;
    std::optional<std::string> title;
    std::vector<ItemNode> items;
};

struct Document {
    std::string file; // as named in messages
    std::vector<WindowNode> windows;
    std::vector<MenuNode> menus;

    const WindowNode* find_window(std::string_view name) const;
    const MenuNode* find_menu(std::string_view name) const;
};

// Parses the bytes of a nib file. On failure returns false and sets `error`
// to one line, "file:line: what is wrong"; `out` is then unspecified.
bool parse(const std::string& bytes, const std::string& file, Document& out, std::string& error);

// Parses Interface Builder's Carbon object archive (a nib folder's objects.xib) into the
// same records; errors as for parse().
bool parse_xib(const std::string& bytes, const std::string& file, Document& out,
               std::string& error);

// "file:line: message", the form of every nib diagnostic.
std::string located(const std::string& file, int line, const std::string& message);

// ---- Builders ------------------------------------------------------------

struct BuildContext {
    const Document& document;
    std::string error; // set by a builder that fails
};

struct Builder {
    const char* kind; // the kind's name in a nib: "push-button"
    // The kind-specific attributes it reads; nullptr-terminated.
    const char* const* attributes;
    bool embeds;    // may hold <control> children
    bool has_items; // may hold <item> children
    // Creates the control in the window (embedded in its root); the caller
    // then applies the common attributes. On failure returns a status and
    // sets context.error.
    OSStatus (*build)(WindowRef window, const ControlNode& node, BuildContext& context,
                      ControlRef* out);
};

const Builder* find_builder(std::string_view kind);

// Kinds whose builders live in files of their own; the table in Nib_Builders.cpp names them.
OSStatus build_combo_box(WindowRef window, const ControlNode& node, BuildContext& context,
                         ControlRef* out);
OSStatus build_data_browser(WindowRef window, const ControlNode& node, BuildContext& context,
                            ControlRef* out);
extern const char* const kDataBrowserAttributes[];

// Reads a kind-specific Boolean ("true"/"false"); absent gives `fallback`.
// A malformed value sets context.error and returns false through `ok`.
bool extra_bool(const ControlNode& node, const char* name, bool fallback, BuildContext& context,
                bool& ok);

// Builds a menu from a <menu> (or a popup's <item> entries): a new menu
// the caller releases. On failure sets context.error.
OSStatus build_menu(const MenuNode& node, BuildContext& context, MenuRef* out);

// Builds the window of the node: creates it hidden, titles it and builds its
// controls. On failure nothing is left behind and `error` says why.
OSStatus build_window(const Document& document, const WindowNode& node, WindowRef* out,
                      std::string& error);

// ---- Nib references ------------------------------------------------------

// Reads and parses the nib at `path` into a new nib reference: a file in the
// project's own format, or a folder holding Interface Builder's objects.xib.
// kIBCarbonRuntimeCantFindNibFile when it cannot be read; a nib that does
// not parse, or is in a format this runtime does not read, gives
// errCorruptWindowDescription and one line on standard error naming the file
// (and line) and what is wrong.
OSStatus open_nib_file(const std::string& path, IBNibRef* out);

} // namespace hit::nib

#endif // HITOOLBOX_SRC_NIBINTERNAL_H
