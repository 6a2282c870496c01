// The text engine's input: typing (the window's text input while the object
// has the focus), clicks and drags in the text and the scroll bar, the
// mouse wheel, focus and the scroll bar's state.
//
// Carbon's engine tracks the mouse in a loop of its own; here a click
// starts a drag that the window's mouse-dragged events extend and its
// mouse-up ends, so the same code serves a script and a real pointer.
#include "TXNInternal.h"
#include "ThemeTextView.h"
#include "WindowInternal.h"

#include <HIToolbox/Appearance.h>
#include <HIToolbox/CarbonEvents.h>

#include <algorithm>

namespace hit::txn {
namespace {

constexpr UInt32 kDoubleClickTicks = 30;
constexpr int kWheelLines = 3;

bool inside(const Rect& r, Point p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

Point local(const OpaqueTXNObject* o, Point global) {
    if (o->window == nullptr)
        return global;
    const Rect& b = o->window->bounds;
    return Point{static_cast<short>(global.v - b.top), static_cast<short>(global.h - b.left)};
}

// The offset under a window-local point.
size_t offset_under(OpaqueTXNObject* o, Point p) {
    const Rect r = text_rect(o);
    return offset_at(o, p.h - r.left, p.v - r.top + o->scroll_y);
}

void extend_to(OpaqueTXNObject* o, size_t offset) {
    o->sel_start = std::min(o->anchor, offset);
    o->sel_end = std::max(o->anchor, offset);
    o->typing_open = false;
}

int view_height(const OpaqueTXNObject* o) {
    const Rect r = text_rect(o);
    return r.bottom - r.top;
}

// Thumb geometry of the scroll bar as the theme draws it.
void thumb(OpaqueTXNObject* o, int* top, int* bottom) {
    const int total = content_height(o);
    const int view = view_height(o);
    const double visible = total > 0 ? std::min(1.0, static_cast<double>(view) / total) : 1.0;
    const double position = total > view ? static_cast<double>(o->scroll_y) / (total - view) : 0;
    theme::scroll_thumb_span(scroll_bar_rect(o), position, visible, top, bottom);
}

void move_thumb_to(OpaqueTXNObject* o, int y) {
    const Rect bar = scroll_bar_rect(o);
    int top = 0, bottom = 0;
    thumb(o, &top, &bottom);
    const int travel = (bar.bottom - bar.top) - (bottom - top);
    const int scrollable = std::max(0, content_height(o) - view_height(o));
    if (travel <= 0)
        return;
    const int at = std::clamp(y - bar.top - o->thumb_grab, 0, travel);
    o->scroll_y = static_cast<int>(static_cast<long long>(at) * scrollable / travel);
    clamp_scroll(o);
}

void click_scroll_bar(OpaqueTXNObject* o, Point p) {
    const Rect bar = scroll_bar_rect(o);
    int top = 0, bottom = 0;
    thumb(o, &top, &bottom);
    const int y = p.v - bar.top;
    if (y < top) {
        o->scroll_y -= view_height(o);
    } else if (y >= bottom) {
        o->scroll_y += view_height(o);
    } else {
        o->drag = OpaqueTXNObject::Drag::thumb;
        o->thumb_grab = y - top;
    }
    clamp_scroll(o);
}

void click_text(OpaqueTXNObject* o, Point p, UInt32 when, EventModifiers modifiers) {
    const size_t at = offset_under(o, p);
    const bool twice = at == o->last_click_offset && when - o->last_click_time <= kDoubleClickTicks;
    o->last_click_time = when;
    o->last_click_offset = at;
    if ((modifiers & shiftKey) != 0) {
        extend_to(o, at);
    } else if (twice) {
        word_at(o, at, &o->word_from, &o->word_to);
        select(o, o->word_from, o->word_to);
    } else {
        select(o, at, at);
    }
    o->by_word = twice && (modifiers & shiftKey) == 0;
    o->drag = OpaqueTXNObject::Drag::text;
}

void drag_to(OpaqueTXNObject* o, Point p) {
    if (o->drag == OpaqueTXNObject::Drag::thumb) {
        move_thumb_to(o, p.v);
    } else if (o->drag == OpaqueTXNObject::Drag::text) {
        const size_t at = offset_under(o, p);
        if (o->by_word) {
            size_t from = 0, to = 0;
            word_at(o, at, &from, &to);
            o->sel_start = std::min(from, o->word_from);
            o->sel_end = std::max(to, o->word_to);
        } else {
            extend_to(o, at);
        }
        scroll_to(o, at);
    }
    redraw(o);
}

// Up and down keep the caret's x; Page Up and Down move a view's height.
size_t vertical(OpaqueTXNObject* o, size_t from, int lines, int pixels) {
    int x = 0, y = 0, h = 0;
    caret_position(o, from, &x, &y, &h);
    const int target = lines < 0 ? y - 1 - pixels : y + h + pixels;
    if (target < 0)
        return 0;
    if (target >= content_height(o))
        return o->length;
    return offset_at(o, x, target);
}

size_t line_edge(OpaqueTXNObject* o, size_t from, bool end) {
    int x = 0, y = 0, h = 0;
    caret_position(o, from, &x, &y, &h);
    return offset_at(o, end ? 1 << 20 : -1, y + h / 2);
}

// Where a movement key takes the caret; false for other keys.
bool movement(OpaqueTXNObject* o, SInt16 c, UInt32 modifiers, size_t* to) {
    const bool extend = (modifiers & shiftKey) != 0;
    const bool command = (modifiers & cmdKey) != 0;
    const size_t caret =
        extend ? (o->anchor == o->sel_start ? o->sel_end : o->sel_start) : o->sel_start;
    const bool collapsed = o->sel_start == o->sel_end;
    if (command && (c == kLeftArrowCharCode || c == kRightArrowCharCode)) {
        *to = line_edge(o, c == kLeftArrowCharCode ? o->sel_start : o->sel_end,
                        c == kRightArrowCharCode);
        return true;
    }
    if (command && (c == kUpArrowCharCode || c == kDownArrowCharCode)) {
        *to = c == kUpArrowCharCode ? 0 : o->length;
        return true;
    }
    switch (c) {
    case kLeftArrowCharCode:
        *to = !extend && !collapsed ? o->sel_start : previous_char(o, caret);
        return true;
    case kRightArrowCharCode:
        *to = !extend && !collapsed ? o->sel_end : next_char(o, extend ? caret : o->sel_end);
        return true;
    case kUpArrowCharCode:
        *to = vertical(o, caret, -1, 0);
        return true;
    case kDownArrowCharCode:
        *to = vertical(o, extend ? caret : o->sel_end, 1, 0);
        return true;
    case kPageUpCharCode:
        *to = vertical(o, caret, -1, view_height(o));
        return true;
    case kPageDownCharCode:
        *to = vertical(o, caret, 1, view_height(o));
        return true;
    case kHomeCharCode:
        *to = 0;
        return true;
    case kEndCharCode:
        *to = o->length;
        return true;
    default:
        return false;
    }
}

bool delete_key(OpaqueTXNObject* o, bool forward) {
    if (o->read_only)
        return true;
    size_t from = o->sel_start, to = o->sel_end;
    if (from == to) {
        if (forward)
            to = next_char(o, to);
        else
            from = previous_char(o, from);
    }
    if (from != to)
        edit(o, from, to, u"", kTXNTypingAction);
    return true;
}

OSStatus window_event(EventHandlerCallRef, EventRef event, void* data) {
    auto* o = static_cast<OpaqueTXNObject*>(data);
    const UInt32 kind = GetEventKind(event);
    if (GetEventClass(event) == kEventClassTextInput) {
        if (!o->focused)
            return eventNotHandledErr;
        std::u16string text;
        ByteCount size = 0;
        if (GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr, 0,
                              &size, nullptr) == noErr) {
            text.resize(size / sizeof(UniChar));
            GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr,
                              text.size() * sizeof(UniChar), nullptr, text.data());
        }
        EventRef raw = nullptr;
        char mac_char = 0;
        UInt32 modifiers = 0;
        if (GetEventParameter(event, kEventParamTextInputSendKeyboardEvent, typeEventRef, nullptr,
                              sizeof(raw), nullptr, &raw) == noErr) {
            GetEventParameter(raw, kEventParamKeyMacCharCodes, typeChar, nullptr, 1, nullptr,
                              &mac_char);
            GetEventParameter(raw, kEventParamKeyModifiers, typeUInt32, nullptr, sizeof(modifiers),
                              nullptr, &modifiers);
        } else if (!text.empty() && text[0] < 0x80) {
            mac_char = static_cast<char>(text[0]);
        }
        const SInt16 c = static_cast<SInt16>(static_cast<unsigned char>(mac_char));
        return type(o, text, c, modifiers) ? OSStatus{noErr} : OSStatus{eventNotHandledErr};
    }
    if (GetEventClass(event) == kEventClassWindow) {
        detach(o); // the window goes first: the object stays, drawing nowhere
        return eventNotHandledErr;
    }
    Point where{};
    GetEventParameter(event, kEventParamMouseLocation, typeQDPoint, nullptr, sizeof(where), nullptr,
                      &where);
    const Point p = local(o, where);
    switch (kind) {
    case kEventMouseDragged:
        if (o->drag == OpaqueTXNObject::Drag::none)
            return eventNotHandledErr;
        drag_to(o, p);
        return noErr;
    case kEventMouseUp:
        if (o->drag == OpaqueTXNObject::Drag::none)
            return eventNotHandledErr;
        drag_to(o, p);
        o->drag = OpaqueTXNObject::Drag::none;
        return noErr;
    case kEventMouseWheelMoved: {
        if (!o->visible || !inside(o->frame, p))
            return eventNotHandledErr;
        SInt32 delta = 0;
        GetEventParameter(event, kEventParamMouseWheelDelta, typeSInt32, nullptr, sizeof(delta),
                          nullptr, &delta);
        scroll_lines(o, -delta * kWheelLines);
        return noErr;
    }
    default:
        return eventNotHandledErr;
    }
}

} // namespace

bool type(OpaqueTXNObject* o, const std::u16string& text, SInt16 c, UInt32 modifiers) {
    const bool extend = (modifiers & shiftKey) != 0;
    size_t to = 0;
    if (movement(o, c, modifiers, &to)) {
        if (extend)
            extend_to(o, to);
        else
            select(o, to, to);
        scroll_to(o, to);
        redraw(o);
        return true;
    }
    // Typing within one paragraph that keeps its height repaints that paragraph alone.
    const size_t paragraph = paragraph_at(o, o->sel_start);
    const bool one_paragraph = paragraph_at(o, o->sel_end) == paragraph;
    const size_t count = o->paragraphs.size();
    const int height = paragraph_height(o, paragraph);
    const int scroll = o->scroll_y;
    if (c == kBackspaceCharCode || c == kDeleteCharCode) {
        delete_key(o, c == kDeleteCharCode);
    } else if (c == kReturnCharCode || c == kEnterCharCode) {
        if (!o->read_only)
            edit(o, o->sel_start, o->sel_end, u"\r", kTXNTypingAction);
    } else if (text.empty() || (text[0] < 0x20 && text[0] != u'\t') || (modifiers & cmdKey) != 0) {
        return false; // Escape, command keys and the other controls are not text
    } else if (!o->read_only) {
        edit(o, o->sel_start, o->sel_end, text, kTXNTypingAction);
    }
    scroll_to(o, o->sel_end);
    if (one_paragraph && count == o->paragraphs.size() && scroll == o->scroll_y &&
        paragraph_at(o, o->sel_end) == paragraph) {
        layout(o, paragraph);
        if (paragraph_height(o, paragraph) == height) {
            const int top = paragraph_top(o, paragraph);
            redraw(o, top, top + height);
            return true;
        }
    }
    redraw(o);
    return true;
}

void detach(OpaqueTXNObject* o) {
    forget_attached(o);
    if (o->window_handler != nullptr)
        RemoveEventHandler(o->window_handler);
    o->window_handler = nullptr;
    o->window = nullptr;
    o->drag = OpaqueTXNObject::Drag::none;
}

void install_window_handler(OpaqueTXNObject* o) {
    static const EventTypeSpec kEvents[] = {
        {kEventClassTextInput, kEventTextInputUnicodeForKeyEvent},
        {kEventClassMouse, kEventMouseDragged},
        {kEventClassMouse, kEventMouseUp},
        {kEventClassMouse, kEventMouseWheelMoved},
        {kEventClassWindow, kEventWindowClosed},
    };
    static EventHandlerUPP upp = NewEventHandlerUPP(window_event);
    InstallEventHandler(GetWindowEventTarget(o->window), upp, sizeof(kEvents) / sizeof(kEvents[0]),
                        kEvents, o, &o->window_handler);
}

} // namespace hit::txn

using namespace hit::txn;

void TXNClick(TXNObject iTXNObject, const EventRecord* iEvent) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || iEvent == nullptr || !o->visible)
        return;
    const Point p = local(o, iEvent->where);
    if (has_scroll_bar(o) && inside(scroll_bar_rect(o), p))
        click_scroll_bar(o, p);
    else
        click_text(o, p, iEvent->when, iEvent->modifiers);
    redraw(o);
}

void TXNKeyDown(TXNObject iTXNObject, const EventRecord* iEvent) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr || iEvent == nullptr)
        return;
    const SInt16 c = static_cast<SInt16>(iEvent->message & 0xFF);
    const UniChar unicode = c < 0x80 ? static_cast<UniChar>(c) : u'?';
    type(o, std::u16string(1, unicode), c, iEvent->modifiers);
}

void TXNFocus(TXNObject iTXNObject, Boolean iBecomingFocused) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return;
    const bool focus = iBecomingFocused != 0;
    if (focus == o->focused)
        return;
    o->focused = focus;
    o->typing_open = false;
    redraw(o);
}

OSStatus TXNSetScrollbarState(TXNObject iTXNObject, TXNScrollBarState iActiveState) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    if (o == nullptr)
        return paramErr;
    o->scroll_active = iActiveState != 0;
    redraw(o);
    return noErr;
}

void TXNAdjustCursor(TXNObject iTXNObject, RgnHandle) {
    OpaqueTXNObject* o = object(iTXNObject, __func__);
    // The caller asks while the mouse is over the object's area.
    if (o != nullptr && o->visible)
        SetThemeCursor(kThemeIBeamCursor);
}
