// Carrying out the person's actions through the toolbox, as a script's would be: clicks, popup
// menus, keys, text, the clipboard, and closing a window.
#include "DisplayGtk.h"

namespace display {
namespace {

CFStringRef create_string(const std::string& text) {
    return CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(text.data()),
                                   static_cast<CFIndex>(text.size()), kCFStringEncodingUTF8, false);
}

std::string utf8(CFStringRef string) {
    std::string out;
    if (string == nullptr)
        return out;
    CFIndex used = 0;
    const CFRange all = CFRangeMake(0, CFStringGetLength(string));
    CFStringGetBytes(string, all, kCFStringEncodingUTF8, 0, false, nullptr, 0, &used);
    out.resize(static_cast<size_t>(used));
    CFStringGetBytes(string, all, kCFStringEncodingUTF8, 0, false,
                     reinterpret_cast<UInt8*>(out.data()), used, nullptr);
    return out;
}

ControlKind kind_of(ControlRef control) {
    ControlKind kind{};
    GetControlKind(control, &kind);
    return kind;
}

bool is_edit_text(ControlRef control) {
    const ControlKind kind = kind_of(control);
    return kind.kind == kControlKindEditText || kind.kind == kControlKindEditUnicodeText;
}

struct MenuChoice {
    Display* display;
    WindowRef window;
    Point where;
    MenuItemIndex item;
    GtkWidget* popover;
};

void on_item(GtkButton*, gpointer data) {
    auto* choice = static_cast<MenuChoice*>(data);
    Action action;
    action.kind = Action::choose;
    action.window = choice->window;
    action.where = choice->where;
    action.item = choice->item;
    queue_action(*choice->display, action);
    gtk_popover_popdown(GTK_POPOVER(choice->popover));
}

void free_choice(gpointer data, GClosure*) {
    delete static_cast<MenuChoice*>(data);
}

void on_menu_closed(GtkPopover* popover, gpointer) {
    gtk_widget_unparent(GTK_WIDGET(popover));
}

// One button per visible item, a line for each separator; the chosen item is ticked.
void add_menu_items(Display& display, Shown& shown, MenuRef menu, SInt32 chosen, Point where,
                    GtkWidget* popover, GtkWidget* box) {
    for (MenuItemIndex i = 1; i <= CountMenuItems(menu); ++i) {
        MenuItemAttributes attributes = 0;
        GetMenuItemAttributes(menu, i, &attributes);
        if (attributes & kMenuItemAttrHidden)
            continue;
        CFStringRef text = nullptr;
        CopyMenuItemTextAsCFString(menu, i, &text);
        const std::string label = utf8(text);
        if (text != nullptr)
            CFRelease(text);
        if ((attributes & kMenuItemAttrSeparator) || label == "-") {
            gtk_box_append(GTK_BOX(box), gtk_separator_new(GTK_ORIENTATION_HORIZONTAL));
            continue;
        }
        const std::string mark = i == chosen ? "\u2713 " : "   ";
        GtkWidget* item = gtk_button_new_with_label((mark + label).c_str());
        gtk_button_set_has_frame(GTK_BUTTON(item), FALSE);
        gtk_widget_set_sensitive(item, IsMenuItemEnabled(menu, i));
        g_signal_connect_data(item, "clicked", G_CALLBACK(on_item),
                              new MenuChoice{&display, shown.window, where, i, popover},
                              free_choice, GConnectFlags(0));
        gtk_box_append(GTK_BOX(box), item);
    }
}

// The popup's menu opens under it; a choice comes back as an action of its own.
void open_menu(Display& display, Shown& shown, ControlRef popup, Point where) {
    MenuRef menu = nullptr;
    if (GetControlData(popup, kControlEntireControl, kControlPopupButtonMenuRefTag, sizeof menu,
                       &menu, nullptr) != noErr ||
        menu == nullptr)
        return;
    GtkWidget* popover = gtk_popover_new();
    gtk_popover_set_has_arrow(GTK_POPOVER(popover), FALSE);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    add_menu_items(display, shown, menu, GetControl32BitValue(popup), where, popover, box);
    gtk_popover_set_child(GTK_POPOVER(popover), box);
    gtk_widget_set_parent(popover, shown.area);
    Rect bounds{};
    GetControlBounds(popup, &bounds);
    const GdkRectangle under = {bounds.left, bounds.top, bounds.right - bounds.left,
                                bounds.bottom - bounds.top};
    gtk_popover_set_pointing_to(GTK_POPOVER(popover), &under);
    gtk_popover_set_position(GTK_POPOVER(popover), GTK_POS_BOTTOM);
    g_signal_connect(popover, "closed", G_CALLBACK(on_menu_closed), nullptr);
    gtk_popover_popup(GTK_POPOVER(popover));
}

void click(Display& display, const Action& action) {
    ControlRef control = nullptr;
    if (PlatformFindControlAt(action.window, action.where, &control) != noErr || control == nullptr)
        return;
    Shown* shown = shown_for(display, action.window);
    if (kind_of(control).kind == kControlKindPopupButton && shown != nullptr) {
        if (IsControlEnabled(control) && IsControlVisible(control))
            open_menu(display, *shown, control, action.where);
        return;
    }
    // A tab control is clicked where the person clicked: the tab there is chosen.
    if (kind_of(control).kind == kControlKindTabs) {
        PlatformPressMouse(action.window, action.where, 0, 1);
        PlatformReleaseMouse(action.window, action.where);
        return;
    }
    PlatformClickControl(control); // a click on a disabled control does nothing
}

void choose(const Action& action) {
    ControlRef popup = nullptr;
    if (PlatformFindControlAt(action.window, action.where, &popup) == noErr && popup != nullptr)
        PlatformChoosePopupItem(popup, action.item);
}

// The focused text field, or NULL.
ControlRef focused_field(WindowRef window) {
    ControlRef focus = nullptr;
    if (GetKeyboardFocus(window, &focus) != noErr || focus == nullptr || !is_edit_text(focus))
        return nullptr;
    return focus;
}

CFStringRef copy_text(ControlRef field, ResType tag) {
    CFStringRef text = nullptr;
    if (GetControlData(field, kControlEntireControl, tag, sizeof text, &text, nullptr) != noErr)
        return nullptr;
    return text;
}

// The focused field, when it is a field whose text may leave it: not a password field, which
// shows other text (bullets) than it holds.
ControlRef copyable_field(WindowRef window) {
    ControlRef focus = focused_field(window);
    if (focus == nullptr)
        return nullptr;
    CFStringRef shown = copy_text(focus, kControlEditTextCFStringTag);
    CFStringRef clear = copy_text(focus, kControlEditTextPasswordCFStringTag);
    const bool same = shown != nullptr && clear != nullptr && CFEqual(shown, clear);
    if (shown != nullptr)
        CFRelease(shown);
    if (clear != nullptr)
        CFRelease(clear);
    return same ? focus : nullptr;
}

bool copy_selection(WindowRef window) {
    ControlRef field = copyable_field(window);
    if (field == nullptr)
        return false;
    CFStringRef text = nullptr;
    ControlEditTextSelectionRec selection{};
    if (GetControlData(field, kControlEntireControl, kControlEditTextCFStringTag, sizeof text,
                       &text, nullptr) != noErr ||
        text == nullptr)
        return false;
    GetControlData(field, kControlEntireControl, kControlEditTextSelectionTag, sizeof selection,
                   &selection, nullptr);
    const CFIndex length = CFStringGetLength(text);
    const CFIndex start = std::min<CFIndex>(std::max<CFIndex>(selection.selStart, 0), length);
    const CFIndex end = std::min<CFIndex>(std::max<CFIndex>(selection.selEnd, start), length);
    CFStringRef part = CFStringCreateWithSubstring(nullptr, text, CFRangeMake(start, end - start));
    CFRelease(text);
    const std::string copied = utf8(part);
    if (part != nullptr)
        CFRelease(part);
    if (copied.empty())
        return false;
    gdk_clipboard_set_text(gdk_display_get_clipboard(gdk_display_get_default()), copied.c_str());
    return true;
}

struct Paste {
    Display* display;
    WindowRef window; // retained until the text arrives
};

void on_clipboard_text(GObject* clipboard, GAsyncResult* result, gpointer data) {
    auto* paste = static_cast<Paste*>(data);
    if (char* text = gdk_clipboard_read_text_finish(GDK_CLIPBOARD(clipboard), result, nullptr)) {
        Action action;
        action.kind = Action::pasting;
        action.window = paste->window;
        action.text = text;
        queue_action(*paste->display, action);
        g_free(text);
    }
    CFRelease(paste->window);
    delete paste;
}

// Typed text goes key by key through the field's key filter; pasted text replaces the
// selection as the Paste command does.
void enter_text(WindowRef window, const std::string& text, bool pasted) {
    CFStringRef string = create_string(text);
    if (string == nullptr)
        return;
    if (pasted)
        PlatformPasteText(window, string);
    else
        PlatformTypeText(window, string);
    CFRelease(string);
}

} // namespace

void perform(Display& display, const Action& action) {
    switch (action.kind) {
    case Action::click:
        click(display, action);
        break;
    case Action::choose:
        choose(action);
        break;
    case Action::key:
        PlatformTypeKey(action.window, action.charCode, action.modifiers);
        break;
    case Action::typing:
        // The composed text is replaced by what the input method committed.
        PlatformSetMarkedText(action.window, nullptr, 0);
        enter_text(action.window, action.text, false);
        break;
    case Action::composing:
        if (CFStringRef text = create_string(action.text)) {
            PlatformSetMarkedText(action.window, text, action.caret);
            CFRelease(text);
        }
        break;
    case Action::pasting:
        enter_text(action.window, action.text, true);
        break;
    // Closing a window is its Cancel, as Escape is.
    case Action::close:
        PlatformTypeKey(action.window, kEscapeCharCode, 0);
        break;
    case Action::copy:
        copy_selection(action.window);
        break;
    case Action::cut:
        if (copy_selection(action.window))
            PlatformTypeKey(action.window, kBackspaceCharCode, 0);
        break;
    case Action::paste:
        if (focused_field(action.window) != nullptr) {
            CFRetain(action.window);
            gdk_clipboard_read_text_async(gdk_display_get_clipboard(gdk_display_get_default()),
                                          nullptr, on_clipboard_text,
                                          new Paste{&display, action.window});
        }
        break;
    case Action::selectAll:
        if (ControlRef field = focused_field(action.window)) {
            const ControlEditTextSelectionRec all = {0, 32767};
            SetControlData(field, kControlEntireControl, kControlEditTextSelectionTag, sizeof all,
                           &all);
        }
        break;
    }
}

} // namespace display
