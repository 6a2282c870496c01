// Text objects as parts of windows: the objects attached to each window,
// so that a control hosting one (a text view on a user pane) can show its
// text in dumps and be scrolled and selected in by scripts.
#include "TXNInternal.h"
#include "ControlInternal.h"
#include "TextInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <algorithm>

namespace hit::txn {
namespace {

std::vector<OpaqueTXNObject*>& attached() {
    static auto* list = new std::vector<OpaqueTXNObject*>;
    return *list;
}

bool within(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// UTF-16 as UTF-8, for the dump's quoted text.
std::string utf8_text(const std::u16string& units) {
    const cf::Holder<CFStringRef> s(create_string(units));
    return utf8(s.get());
}

} // namespace

void remember_attached(OpaqueTXNObject* o) {
    attached().push_back(o);
}

void forget_attached(OpaqueTXNObject* o) {
    auto& list = attached();
    list.erase(std::remove(list.begin(), list.end(), o), list.end());
}

OpaqueTXNObject* hosted_in(WindowRef window, const Rect& bounds) {
    for (OpaqueTXNObject* o : attached())
        if (o->window == window && within(o->frame, bounds))
            return o;
    return nullptr;
}

void dump_hosted(ControlRef control, std::string& line) {
    OpaqueTXNObject* o = control->is_root ? nullptr : hosted_in(control->owner, control->bounds);
    if (o == nullptr)
        return;
    // A pane that merely contains the text's own pane leaves the text to it.
    for (ControlRef child : control->children)
        if (within(o->frame, child->bounds))
            return;
    clamp_scroll(o);
    const Rect r = text_rect(o);
    const int scrollable = std::max(0, content_height(o) - (r.bottom - r.top));
    line += " text=" + quoted(utf8_text(text_range(o, 0, o->length)));
    line += " sel=" + std::to_string(o->sel_start) + ".." + std::to_string(o->sel_end);
    line += " scroll=" + std::to_string(o->scroll_y) + "/" + std::to_string(scrollable);
    if (o->read_only)
        line += " read-only";
}

void scroll_lines(OpaqueTXNObject* o, int lines) {
    if (o->line_height <= 0)
        content_height(o); // measures the font
    o->scroll_y += lines * std::max(1, o->line_height);
    clamp_scroll(o);
    redraw(o);
}

} // namespace hit::txn
