// The person's pointer, keys and text, from GTK's controllers and input method into the queue.
#include "DisplayGtk.h"

namespace display {
namespace {

struct InputTarget {
    Display* display;
    WindowRef window;
    GtkWidget* area;
};

UInt32 carbon_modifiers(GdkModifierType state) {
    UInt32 modifiers = 0;
    if (state & GDK_SHIFT_MASK)
        modifiers |= shiftKey;
    if (state & GDK_CONTROL_MASK)
        modifiers |= controlKey;
    if (state & GDK_ALT_MASK)
        modifiers |= optionKey;
    if (state & (GDK_SUPER_MASK | GDK_META_MASK))
        modifiers |= cmdKey;
    return modifiers;
}

// The keys that are not text: their Carbon character codes, 0 for any other.
UniChar special_key(guint keyval) {
    switch (keyval) {
    case GDK_KEY_Return:
        return kReturnCharCode;
    case GDK_KEY_KP_Enter:
        return kEnterCharCode;
    case GDK_KEY_Escape:
        return kEscapeCharCode;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
        return kTabCharCode;
    case GDK_KEY_BackSpace:
        return kBackspaceCharCode;
    case GDK_KEY_Delete:
    case GDK_KEY_KP_Delete:
        return kDeleteCharCode;
    case GDK_KEY_Left:
        return kLeftArrowCharCode;
    case GDK_KEY_Right:
        return kRightArrowCharCode;
    case GDK_KEY_Up:
        return kUpArrowCharCode;
    case GDK_KEY_Down:
        return kDownArrowCharCode;
    case GDK_KEY_Home:
        return kHomeCharCode;
    case GDK_KEY_End:
        return kEndCharCode;
    default:
        return 0;
    }
}

// Control-C, -X, -V and -A: the desktop's clipboard and selection keys.
bool clipboard_key(guint keyval, Action::Kind& kind) {
    switch (gdk_keyval_to_lower(keyval)) {
    case GDK_KEY_c:
        kind = Action::copy;
        return true;
    case GDK_KEY_x:
        kind = Action::cut;
        return true;
    case GDK_KEY_v:
        kind = Action::paste;
        return true;
    case GDK_KEY_a:
        kind = Action::selectAll;
        return true;
    default:
        return false;
    }
}

gboolean on_key(GtkEventControllerKey*, guint keyval, guint, GdkModifierType state, gpointer data) {
    auto* target = static_cast<InputTarget*>(data);
    Action action;
    action.window = target->window;
    if ((state & GDK_CONTROL_MASK) && clipboard_key(keyval, action.kind)) {
        queue_action(*target->display, action);
        return TRUE;
    }
    action.kind = Action::key;
    action.charCode = special_key(keyval);
    if (action.charCode == 0)
        return FALSE;
    action.modifiers = carbon_modifiers(state);
    if (keyval == GDK_KEY_ISO_Left_Tab)
        action.modifiers |= shiftKey;
    queue_action(*target->display, action);
    return TRUE;
}

void on_commit(GtkIMContext*, const char* text, gpointer data) {
    auto* target = static_cast<InputTarget*>(data);
    Action action;
    action.kind = Action::typing;
    action.window = target->window;
    action.text = text;
    queue_action(*target->display, action);
}

// The text the input method is composing, drawn in the focused field until it is committed.
void on_preedit(GtkIMContext* im, gpointer data) {
    auto* target = static_cast<InputTarget*>(data);
    char* text = nullptr;
    int cursor = 0; // in characters
    gtk_im_context_get_preedit_string(im, &text, nullptr, &cursor);
    Action action;
    action.kind = Action::composing;
    action.window = target->window;
    action.text = text != nullptr ? text : "";
    CFIndex units = 0;
    for (const char* c = action.text.c_str(); *c != '\0' && cursor > 0; --cursor) {
        const gunichar character = g_utf8_get_char(c);
        units += character > 0xFFFF ? 2 : 1;
        c = g_utf8_next_char(c);
    }
    action.caret = units;
    g_free(text);
    queue_action(*target->display, action);
}

void on_pressed(GtkGestureClick*, int, double x, double y, gpointer data) {
    auto* target = static_cast<InputTarget*>(data);
    gtk_widget_grab_focus(target->area);
    Action action;
    action.kind = Action::click;
    action.window = target->window;
    action.where = Point{static_cast<short>(y), static_cast<short>(x)};
    queue_action(*target->display, action);
}

void on_active(GObject* window, GParamSpec*, gpointer data) {
    auto* im = static_cast<GtkIMContext*>(data);
    if (gtk_window_is_active(GTK_WINDOW(window)))
        gtk_im_context_focus_in(im);
    else
        gtk_im_context_focus_out(im);
}

void free_target(gpointer data, GClosure*) {
    delete static_cast<InputTarget*>(data);
}

template <typename Callback>
void connect(gpointer instance, const char* signal, Callback callback, const InputTarget& target) {
    g_signal_connect_data(instance, signal, G_CALLBACK(callback), new InputTarget(target),
                          free_target, GConnectFlags(0));
}

} // namespace

void queue_action(Display& display, Action action) {
    CFRetain(action.window);
    display.queue.push_back(std::move(action));
}

void attach_input(Display& display, Shown& shown) {
    const InputTarget target{&display, shown.window, shown.area};
    shown.im = gtk_im_multicontext_new();
    gtk_im_context_set_client_widget(shown.im, shown.area);
    // Text being composed is drawn in the focused field, underlined, until it is committed.
    gtk_im_context_set_use_preedit(shown.im, TRUE);
    connect(shown.im, "commit", on_commit, target);
    connect(shown.im, "preedit-changed", on_preedit, target);
    connect(shown.im, "preedit-end", on_preedit, target);
    // The window's own key bindings (Tab moving GTK's focus) come after ours.
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    gtk_event_controller_key_set_im_context(GTK_EVENT_CONTROLLER_KEY(keys), shown.im);
    connect(keys, "key-pressed", on_key, target);
    gtk_widget_add_controller(shown.gtkWindow, keys);
    GtkGesture* click = gtk_gesture_click_new();
    connect(click, "pressed", on_pressed, target);
    gtk_widget_add_controller(shown.area, GTK_EVENT_CONTROLLER(click));
    g_signal_connect(shown.gtkWindow, "notify::is-active", G_CALLBACK(on_active), shown.im);
}

} // namespace display
