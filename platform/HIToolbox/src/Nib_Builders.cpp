// The builders of the control kinds a nib can name: each reads the
// attributes of its kind and makes the control with the kind's own creation
// call. The attributes every control shares are applied by Nib_Build.cpp.
#include "TextInternal.h"
#include "NibInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <span>
#include <vector>

namespace hit::nib {
namespace {

struct Feature {
    const char* name;
    UInt32 bit;
};

constexpr Feature kUserPaneFeatures[] = {
    {"embedding", kControlSupportsEmbedding},
    {"focus", kControlSupportsFocus},
    {"gets-focus-on-click", kControlGetsFocusOnClick},
    {"handles-tracking", kControlHandlesTracking},
    {"data-access", kControlSupportsDataAccess},
    {"idle", kControlWantsIdle},
    {"activate", kControlWantsActivate},
};

bool fail(BuildContext& context, int line, const std::string& message) {
    context.error = located(context.document.file, line, message);
    return false;
}

// The title as a CFString (nullptr when the node has none); false when the
// text cannot be made into a string.
bool title_of(const ControlNode& node, BuildContext& context, cf::Holder<CFStringRef>& out) {
    if (!node.title)
        return true;
    out.reset(create_utf8_string(*node.title));
    return out || fail(context, node.line, "the title is not UTF-8 text");
}

// "embedding focus": a space-separated list of feature names.
bool parse_features(const Attribute& attribute, BuildContext& context, UInt32& out) {
    out = 0;
    const std::string& text = attribute.value;
    for (size_t start = 0; (start = text.find_first_not_of(' ', start)) != std::string::npos;) {
        const size_t end = text.find(' ', start);
        const std::string word = text.substr(start, end - start);
        const Feature* found = nullptr;
        for (const Feature& feature : kUserPaneFeatures)
            if (word == feature.name)
                found = &feature;
        if (found == nullptr)
            return fail(context, attribute.line, "unknown user pane feature \"" + word + "\"");
        out |= found->bit;
        start = end;
    }
    return true;
}

const char* const kUserPaneAttributes[] = {"features", nullptr};

// A user pane embeds unless its features say otherwise; its title is kept
// for people reading dumps, it draws none.
OSStatus build_user_pane(WindowRef window, const ControlNode& node, BuildContext& context,
                         ControlRef* out) {
    UInt32 features = kControlSupportsEmbedding;
    if (const Attribute* attribute = node.find_extra("features"))
        if (!parse_features(*attribute, context, features))
            return errCorruptWindowDescription;
    if ((features & kControlSupportsEmbedding) == 0 && !node.children.empty()) {
        fail(context, node.line, "a user pane without the embedding feature holds controls");
        return errCorruptWindowDescription;
    }
    cf::Holder<CFStringRef> title;
    if (!title_of(node, context, title))
        return errCorruptWindowDescription;
    OSStatus status = CreateUserPaneControl(window, &node.bounds, features, out);
    if (status == noErr && title)
        status = SetControlTitleWithCFString(*out, title.get());
    return status;
}

const char* const kPushButtonAttributes[] = {"default", "cancel", nullptr};

OSStatus build_push_button(WindowRef window, const ControlNode& node, BuildContext& context,
                           ControlRef* out) {
    bool ok = true;
    const bool is_default = extra_bool(node, "default", false, context, ok);
    const bool is_cancel = extra_bool(node, "cancel", false, context, ok);
    cf::Holder<CFStringRef> title;
    if (!ok || !title_of(node, context, title))
        return errCorruptWindowDescription;
    OSStatus status = CreatePushButtonControl(window, &node.bounds, title.get(), out);
    if (status == noErr && is_default)
        status = SetWindowDefaultButton(window, *out);
    if (status == noErr && is_cancel)
        status = SetWindowCancelButton(window, *out);
    return status;
}

// font="small-system": one of the theme's meta-fonts, for the kinds with text.
struct FontName {
    const char* name;
    SInt16 font;
};

constexpr FontName kFonts[] = {
    {"system", kControlFontBigSystemFont},
    {"small-system", kControlFontSmallSystemFont},
    {"small-bold-system", kControlFontSmallBoldSystemFont},
    {"view", kControlFontViewSystemFont},
    {"mini-system", kControlFontMiniSystemFont},
};

// The font style the node asks for; `style` stays null without a font
// attribute (the kind's own font).
bool font_style(const ControlNode& node, BuildContext& context, ControlFontStyleRec& record,
                const ControlFontStyleRec*& style) {
    style = nullptr;
    const Attribute* attribute = node.find_extra("font");
    if (attribute == nullptr)
        return true;
    for (const FontName& font : kFonts)
        if (attribute->value == font.name) {
            record = ControlFontStyleRec{};
            record.flags = kControlUseFontMask;
            record.font = font.font;
            style = &record;
            return true;
        }
    return fail(context, attribute->line, "unknown font \"" + attribute->value + "\"");
}

const char* const kStaticTextAttributes[] = {"font", nullptr};

OSStatus build_static_text(WindowRef window, const ControlNode& node, BuildContext& context,
                           ControlRef* out) {
    ControlFontStyleRec record{};
    const ControlFontStyleRec* style = nullptr;
    cf::Holder<CFStringRef> text;
    if (!font_style(node, context, record, style) || !title_of(node, context, text))
        return errCorruptWindowDescription;
    return CreateStaticTextControl(window, &node.bounds, text.get(), style, out);
}

const char* const kEditTextAttributes[] = {"font", "password", nullptr};

template <bool unicode>
OSStatus build_edit_text(WindowRef window, const ControlNode& node, BuildContext& context,
                         ControlRef* out) {
    bool ok = true;
    const bool password = extra_bool(node, "password", false, context, ok);
    ControlFontStyleRec record{};
    const ControlFontStyleRec* style = nullptr;
    cf::Holder<CFStringRef> text;
    if (!ok || !font_style(node, context, record, style) || !title_of(node, context, text))
        return errCorruptWindowDescription;
    if (unicode)
        return CreateEditUnicodeTextControl(window, &node.bounds, text.get(), password, style, out);
    return CreateEditTextControl(window, &node.bounds, text.get(), password, true, style, out);
}

const char* const kToggleAttributes[] = {"auto-toggle", nullptr};

// Check boxes and radio buttons toggle themselves unless told otherwise.
template <OSStatus (*create)(WindowRef, const Rect*, CFStringRef, SInt32, Boolean, ControlRef*)>
OSStatus build_toggle(WindowRef window, const ControlNode& node, BuildContext& context,
                      ControlRef* out) {
    bool ok = true;
    const bool auto_toggle = extra_bool(node, "auto-toggle", true, context, ok);
    cf::Holder<CFStringRef> title;
    if (!ok || !title_of(node, context, title))
        return errCorruptWindowDescription;
    return create(window, &node.bounds, title.get(), 0, auto_toggle, out);
}

const char* const kPopupAttributes[] = {"menu", nullptr};

// The popup's menu comes from its <item> entries or from a <menu> of the
// nib named by its menu attribute; its value then selects the first item.
OSStatus build_popup(WindowRef window, const ControlNode& node, BuildContext& context,
                     ControlRef* out) {
    const Attribute* menu_name = node.find_extra("menu");
    const MenuNode* menu_node = nullptr;
    if (menu_name != nullptr) {
        menu_node = context.document.find_menu(menu_name->value);
        if (menu_node == nullptr || !node.items.empty()) {
            fail(context, menu_name->line,
                 menu_node == nullptr ? "no <menu> is named \"" + menu_name->value + "\""
                                      : "a popup takes its items from <item> entries or a menu, "
                                        "not both");
            return errCorruptWindowDescription;
        }
    }
    MenuNode own;
    own.items = node.items;
    MenuRef menu = nullptr;
    OSStatus status = build_menu(menu_node != nullptr ? *menu_node : own, context, &menu);
    if (status != noErr)
        return status;
    cf::Holder<CFStringRef> title;
    if (!title_of(node, context, title)) {
        ReleaseMenu(menu);
        return errCorruptWindowDescription;
    }
    status = CreatePopupButtonControl(window, &node.bounds, title.get(), -12345, false, -1,
                                      popupTitleLeftJust, 0, out);
    if (status == noErr) // the popup takes over the menu's reference
        status = SetControlData(*out, kControlEntireControl, kControlPopupButtonOwnedMenuRefTag,
                                sizeof(menu), &menu);
    else
        ReleaseMenu(menu);
    if (status == noErr && CountMenuItems(menu) > 0)
        SetControl32BitValue(*out, 1);
    return status;
}

const char* const kTabsAttributes[] = {"size", nullptr};

OSStatus build_tabs(WindowRef window, const ControlNode& node, BuildContext& context,
                    ControlRef* out) {
    ControlTabSize size = kControlTabSizeLarge;
    if (const Attribute* attribute = node.find_extra("size")) {
        const std::string& v = attribute->value;
        if (v != "large" && v != "small" && v != "mini") {
            fail(context, attribute->line, "tab size \"" + v + "\": expected large, small or mini");
            return errCorruptWindowDescription;
        }
        size = v == "large"   ? kControlTabSizeLarge
               : v == "small" ? kControlTabSizeSmall
                              : kControlTabSizeMini;
    }
    std::vector<cf::Holder<CFStringRef>> names;
    std::vector<ControlTabEntry> tabs;
    for (const ItemNode& item : node.items) {
        names.emplace_back(create_utf8_string(item.title));
        if (!names.back()) {
            fail(context, item.line, "the title is not UTF-8 text");
            return errCorruptWindowDescription;
        }
        tabs.push_back(ControlTabEntry{nullptr, names.back().get(), item.enabled});
    }
    return CreateTabsControl(window, &node.bounds, size, kControlTabDirectionNorth,
                             static_cast<UInt16>(tabs.size()), tabs.data(), out);
}

const char* const kGroupBoxAttributes[] = {"primary", nullptr};

OSStatus build_group_box(WindowRef window, const ControlNode& node, BuildContext& context,
                         ControlRef* out) {
    bool ok = true;
    const bool primary = extra_bool(node, "primary", true, context, ok);
    cf::Holder<CFStringRef> title;
    if (!ok || !title_of(node, context, title))
        return errCorruptWindowDescription;
    return CreateGroupBoxControl(window, &node.bounds, title.get(), primary, out);
}

OSStatus build_separator(WindowRef window, const ControlNode& node, BuildContext&,
                         ControlRef* out) {
    return CreateSeparatorControl(window, &node.bounds, out);
}

OSStatus build_radio_group(WindowRef window, const ControlNode& node, BuildContext&,
                           ControlRef* out) {
    return CreateRadioGroupControl(window, &node.bounds, out);
}

const Builder kBuilders[] = {
    {"user-pane", kUserPaneAttributes, true, false, build_user_pane},
    {"push-button", kPushButtonAttributes, false, false, build_push_button},
    {"static-text", kStaticTextAttributes, false, false, build_static_text},
    {"edit-text", kEditTextAttributes, false, false, build_edit_text<false>},
    {"edit-unicode-text", kEditTextAttributes, false, false, build_edit_text<true>},
    {"check-box", kToggleAttributes, false, false, build_toggle<CreateCheckBoxControl>},
    {"radio-button", kToggleAttributes, false, false, build_toggle<CreateRadioButtonControl>},
    {"popup-button", kPopupAttributes, false, true, build_popup},
    {"tabs", kTabsAttributes, true, true, build_tabs},
    {"group-box", kGroupBoxAttributes, true, false, build_group_box},
    {"separator", nullptr, false, false, build_separator},
    {"radio-group", nullptr, true, false, build_radio_group},
    {"combo-box", nullptr, false, true, build_combo_box},
    {"data-browser", kDataBrowserAttributes, false, true, build_data_browser},
};

} // namespace

std::span<const Builder> builtin_builders() {
    return kBuilders;
}

} // namespace hit::nib
