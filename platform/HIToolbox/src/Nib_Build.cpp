// Building windows from parsed nib records: the lookup of builders (one
// per control kind), the attributes every control shares, and embedding.
#include "TextInternal.h"
#include "NibInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <span>

namespace hit::nib {

// Nib_Builders.cpp
std::span<const Builder> builtin_builders();

namespace {

bool fail(BuildContext& context, int line, const std::string& message) {
    context.error = located(context.document.file, line, message);
    return false;
}

bool accepts(const Builder& builder, const std::string& name) {
    for (const char* const* a = builder.attributes; a != nullptr && *a != nullptr; ++a)
        if (name == *a)
            return true;
    return false;
}

// What the parser could not check because it depends on the kind.
bool check_shape(const Builder& builder, const ControlNode& node, BuildContext& context) {
    for (const Attribute& attribute : node.extra)
        if (!accepts(builder, attribute.name))
            return fail(context, attribute.line,
                        "a " + node.kind + " control has no attribute " + attribute.name);
    if (!node.children.empty() && !builder.embeds)
        return fail(context, node.children.front().line,
                    "a " + node.kind + " control cannot hold other controls");
    if (!node.items.empty() && !builder.has_items)
        return fail(context, node.items.front().line,
                    "a " + node.kind + " control has no <item> entries");
    return true;
}

// The range first, wide enough never to pull the value, then the value.
void apply_values(ControlRef control, const ControlNode& node) {
    if (node.minimum || node.maximum) {
        const SInt32 minimum = node.minimum.value_or(GetControl32BitMinimum(control));
        const SInt32 maximum = node.maximum.value_or(GetControl32BitMaximum(control));
        SetControl32BitMaximum(control, std::max(maximum, GetControl32BitMinimum(control)));
        SetControl32BitMinimum(control, minimum);
        SetControl32BitMaximum(control, maximum);
    }
    if (node.value)
        SetControl32BitValue(control, *node.value);
}

OSStatus apply_common(ControlRef control, const ControlNode& node) {
    OSStatus status = noErr;
    if (node.id)
        status = SetControlID(control, &*node.id);
    if (status == noErr && node.command != 0)
        status = SetControlCommandID(control, node.command);
    if (status != noErr)
        return status;
    apply_values(control, node);
    if (node.font != 0) {
        ControlFontStyleRec style{};
        style.flags = kControlUseFontMask;
        style.font = node.font;
        status = SetControlFontStyle(control, &style);
    }
    if (status == noErr && !node.enabled)
        status = DisableControl(control);
    if (status == noErr && !node.visible)
        status = SetControlVisibility(control, false, false);
    return status;
}

OSStatus build_control(WindowRef window, ControlRef parent, const ControlNode& node,
                       BuildContext& context) {
    const Builder* builder = find_builder(node.kind);
    if (builder == nullptr) {
        fail(context, node.line, "unknown control kind \"" + node.kind + "\"");
        return errCorruptWindowDescription;
    }
    if (!check_shape(*builder, node, context))
        return errCorruptWindowDescription;
    ControlRef control = nullptr;
    OSStatus status = builder->build(window, node, context, &control);
    if (status != noErr) {
        if (context.error.empty())
            fail(context, node.line,
                 "the " + node.kind + " control could not be made (" + std::to_string(status) +
                     ")");
        return status;
    }
    if (parent != nullptr && (status = EmbedControl(control, parent)) != noErr) {
        fail(context, node.line, "cannot embed the control (" + std::to_string(status) + ")");
        return status;
    }
    if ((status = apply_common(control, node)) != noErr) {
        fail(context, node.line, "cannot set up the control (" + std::to_string(status) + ")");
        return status;
    }
    for (const ControlNode& child : node.children)
        if ((status = build_control(window, control, child, context)) != noErr)
            return status;
    return noErr;
}

} // namespace

const Builder* find_builder(std::string_view kind) {
    for (const Builder& builder : builtin_builders())
        if (kind == builder.kind)
            return &builder;
    return nullptr;
}

bool extra_bool(const ControlNode& node, const char* name, bool fallback, BuildContext& context,
                bool& ok) {
    const Attribute* attribute = node.find_extra(name);
    if (attribute == nullptr)
        return fallback;
    if (attribute->value != "true" && attribute->value != "false") {
        ok = fail(context, attribute->line,
                  "attribute " + std::string(name) + "=\"" + attribute->value +
                      "\": expected true or false");
        return fallback;
    }
    return attribute->value == "true";
}

OSStatus build_menu(const MenuNode& node, BuildContext& context, MenuRef* out) {
    MenuRef menu = nullptr;
    OSStatus status = CreateNewMenu(node.id, 0, &menu);
    if (status != noErr) {
        fail(context, node.line, "cannot create the menu (" + std::to_string(status) + ")");
        return status;
    }
    if (node.title) {
        cf::Holder<CFStringRef> title(create_utf8_string(*node.title));
        status = title ? SetMenuTitleWithCFString(menu, title.get()) : paramErr;
    }
    for (size_t i = 0; status == noErr && i < node.items.size(); ++i) {
        const ItemNode& item = node.items[i];
        cf::Holder<CFStringRef> title(create_utf8_string(item.title));
        status = title ? AppendMenuItemTextWithCFString(menu, title.get(),
                                                        item.enabled ? 0 : kMenuItemAttrDisabled,
                                                        item.command, nullptr)
                       : paramErr;
        if (status != noErr)
            fail(context, item.line, "cannot add the item (" + std::to_string(status) + ")");
    }
    if (status != noErr) {
        if (context.error.empty())
            fail(context, node.line, "the menu's title is not UTF-8 text");
        ReleaseMenu(menu);
        return status;
    }
    *out = menu;
    return noErr;
}

OSStatus build_window(const Document& document, const WindowNode& node, WindowRef* out,
                      std::string& error) {
    WindowRef window = nullptr;
    OSStatus status = CreateNewWindow(node.window_class, node.attributes, &node.bounds, &window);
    if (status != noErr) {
        error = located(document.file, node.line,
                        "cannot create the window (" + std::to_string(status) + ")");
        return status;
    }
    if (node.title) {
        cf::Holder<CFStringRef> title(create_utf8_string(*node.title));
        status = title ? SetWindowTitleWithCFString(window, title.get()) : memFullErr;
    }
    BuildContext context{document, {}};
    for (size_t i = 0; status == noErr && i < node.controls.size(); ++i)
        status = build_control(window, nullptr, node.controls[i], context);
    if (status != noErr) {
        error = context.error.empty()
                    ? located(document.file, node.line,
                              "cannot set up the window (" + std::to_string(status) + ")")
                    : context.error;
        DisposeWindow(window);
        return status;
    }
    *out = window;
    return noErr;
}

} // namespace hit::nib
