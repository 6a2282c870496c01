// A text dump of a window and its control tree, for tests and for people:
//
//   window "Print" class=4 bounds={100,100,500,600} visible active
//     root bounds={0,0,400,500} visible enabled
//       'TVKa'/50 user pane bounds={10,10,90,290} visible enabled value=0 range=0..0
//         'TVKa'/1 push button bounds={...} visible enabled value=0 range=0..1 default text="OK"
//       'TVKa'/501 edit text bounds={...} visible enabled value=0 range=0..0 focus text="ab"
//       sel=2..2 'TVKa'/101 popup button bounds={...} ... value=2 range=1..2 text="On"
//       items=["Off","On"]
//
// One line per control, depth-first in embedding order, indented two spaces
// per level. Visibility and enabling are what the user gets (the control's
// own flag and its embedders'); "inactive" appears for an inactive control.
#include "ControlKinds.h"
#include "TextInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/PlatformHost.h>

#include <cctype>
#include <string>

namespace hit {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

} // namespace hit

namespace {

using hit::quoted;

std::string four_chars(OSType code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((code >> shift) & 0xFF);
        if (!std::isprint(static_cast<unsigned char>(c)) || c == '\'') {
            char hex[16];
            std::snprintf(hex, sizeof(hex), "0x%08X", static_cast<unsigned>(code));
            return hex;
        }
        text += c;
    }
    return "'" + text + "'";
}

std::string rect_text(const Rect& r) {
    return "{" + std::to_string(r.top) + "," + std::to_string(r.left) + "," +
           std::to_string(r.bottom) + "," + std::to_string(r.right) + "}";
}

std::string control_text(ControlRef control) {
    if (control->kind_class->copy_text == nullptr)
        return hit::utf8(control->title.get());
    const cf::Holder<CFStringRef> text(control->kind_class->copy_text(control));
    return hit::utf8(text.get());
}

std::string control_line(ControlRef control) {
    std::string line;
    if (control->is_root)
        line = "root";
    else if (control->id.signature == 0 && control->id.id == 0)
        line = "-";
    else
        line = four_chars(control->id.signature) + "/" + std::to_string(control->id.id);
    if (!control->is_root)
        line += " " + std::string(control->kind_class->name);
    line += " bounds=" + rect_text(control->bounds);
    line += IsControlVisible(control) ? " visible" : " hidden";
    line += IsControlEnabled(control) ? " enabled" : " disabled";
    if (!IsControlActive(control))
        line += " inactive";
    if (!control->is_root)
        line += " value=" + std::to_string(control->value) +
                " range=" + std::to_string(control->minimum) + ".." +
                std::to_string(control->maximum);
    if (control->owner->default_button == control)
        line += " default";
    if (control->owner->cancel_button == control)
        line += " cancel";
    if (control->owner->focus == control)
        line += " focus";
    const std::string text = control_text(control);
    if (!text.empty())
        line += " text=" + quoted(text);
    if (control->kind_class->dump_fields != nullptr)
        control->kind_class->dump_fields(control, line);
    return line;
}

void write_tree(ControlRef control, int depth, FILE* out) {
    std::fprintf(out, "%*s%s\n", depth * 2, "", control_line(control).c_str());
    for (ControlRef child : control->children)
        write_tree(child, depth + 1, out);
}

} // namespace

OSStatus PlatformWriteWindowDump(WindowRef window, FILE* out) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (out == nullptr)
        return paramErr;
    const std::string nib = w->nib_window.empty() ? "" : " nib=" + quoted(w->nib_window);
    std::fprintf(out, "window %s class=%u bounds=%s %s%s%s\n",
                 quoted(hit::utf8(w->title.get())).c_str(), static_cast<unsigned>(w->window_class),
                 rect_text(w->bounds).c_str(), w->visible ? "visible" : "hidden",
                 w->active ? " active" : "", nib.c_str());
    if (w->root != nullptr)
        write_tree(w->root, 1, out);
    return std::ferror(out) ? static_cast<OSStatus>(ioErr) : static_cast<OSStatus>(noErr);
}
