// The YAST control's event handler: one routine for the control's fifteen
// events and its window's cursor changes, with the record as user data.
#include "TextViewsInternal.h"

namespace textviews {
namespace {

constexpr UInt32 kShiftMask = 0x200;

bool inside(const Rect& r, Point p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

OSStatus mouse_down(YASTControlRecord* r, EventRef event) {
    if (!r->isFocused)
        return eventNotHandledErr;
    EventRecord record{};
    if (ConvertEventRefToEventRecord(event, &record))
        TXNClick(r->textObject, &record);
    return noErr;
}

OSStatus text_input(YASTControlRecord* r, EventRef event) {
    if (!r->tabsAdvanceFocus)
        return eventNotHandledErr;
    UniChar first = 0;
    ByteCount size = 0;
    if (GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr,
                          sizeof(first), &size, &first) != noErr ||
        size < sizeof(UniChar) || first != kTabCharCode)
        return eventNotHandledErr;
    UInt32 modifiers = 0;
    EventRef raw = nullptr;
    if (GetEventParameter(event, kEventParamTextInputSendKeyboardEvent, typeEventRef, nullptr,
                          sizeof(raw), nullptr, &raw) == noErr)
        GetEventParameter(raw, kEventParamKeyModifiers, typeUInt32, nullptr, sizeof(modifiers),
                          nullptr, &modifiers);
    if ((modifiers & kShiftMask) != 0)
        ReverseKeyboardFocus(r->window);
    else
        AdvanceKeyboardFocus(r->window);
    return noErr;
}

HICommand command_of(EventRef event) {
    HICommand command{};
    GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof(command),
                      nullptr, &command);
    return command;
}

OSStatus process_command(YASTControlRecord* r, EventRef event) {
    TXNObject t = r->textObject;
    switch (command_of(event).commandID) {
    case kHICommandPaste:
        return TXNPaste(t);
    case kHICommandSelectAll:
        return TXNSetSelection(t, kTXNStartOffset, kTXNEndOffset);
    case kHICommandUndo:
        TXNUndo(t);
        return noErr;
    case kHICommandRedo:
        TXNRedo(t);
        return noErr;
    case kHICommandCopy:
        ClearCurrentScrap();
        return TXNCopy(t);
    case kHICommandCut:
        ClearCurrentScrap();
        return TXNCut(t);
    case kHICommandClear:
        return TXNClear(t);
    default:
        return eventNotHandledErr;
    }
}

OSStatus update_status(YASTControlRecord* r, EventRef event) {
    const HICommand command = command_of(event);
    if ((command.attributes & kHICommandFromMenu) == 0)
        return eventNotHandledErr;
    TXNObject t = r->textObject;
    bool enable = false;
    switch (command.commandID) {
    case kHICommandPaste:
        enable = TXNIsScrapPastable();
        break;
    case kHICommandCopy:
    case kHICommandCut:
    case kHICommandClear:
        enable = !TXNIsSelectionEmpty(t);
        break;
    case kHICommandSelectAll:
        enable = TXNDataSize(t) > 0;
        break;
    case kHICommandUndo:
        enable = TXNCanUndo(t, nullptr);
        break;
    case kHICommandRedo:
        enable = TXNCanRedo(t, nullptr);
        break;
    default:
        return eventNotHandledErr;
    }
    MenuRef menu = command.menu.menuRef;
    if (enable) {
        EnableMenuItem(menu, 0);
        EnableMenuItem(menu, command.menu.menuItemIndex);
    } else {
        DisableMenuItem(menu, command.menu.menuItemIndex);
    }
    return noErr;
}

OSStatus data_event(YASTControlRecord* r, EventRef event, bool set) {
    ResType tag = 0;
    void* buffer = nullptr;
    SInt32 size = 0;
    GetEventParameter(event, kEventParamControlDataTag, typeEnumeration, nullptr, sizeof(tag),
                      nullptr, &tag);
    GetEventParameter(event, kEventParamControlDataBuffer, typePtr, nullptr, sizeof(buffer),
                      nullptr, &buffer);
    GetEventParameter(event, kEventParamControlDataBufferSize, typeLongInteger, nullptr,
                      sizeof(size), nullptr, &size);
    if (set)
        return set_data(r, tag, size, buffer);
    Size actual = 0;
    const OSStatus status = get_data(r, tag, size, buffer, &actual);
    if (status == noErr) {
        const SInt32 reported = static_cast<SInt32>(actual);
        SetEventParameter(event, kEventParamControlDataBufferSize, typeLongInteger,
                          sizeof(reported), &reported);
    }
    return status;
}

OSStatus activate(YASTControlRecord* r, bool active) {
    r->isActive = active;
    update_text_activity(r);
    if (IsControlVisible(r->control)) {
        draw_frame(r);
        update_focus_ring(r);
    }
    return noErr;
}

OSStatus hit_test(YASTControlRecord* r, EventRef event) {
    Point where{};
    GetEventParameter(event, kEventParamMouseLocation, typeQDPoint, nullptr, sizeof(where), nullptr,
                      &where);
    const ControlPartCode part = inside(r->textRect, where) ? 1 : 0;
    return SetEventParameter(event, kEventParamControlPart, typeControlPartCode, sizeof(part),
                             &part);
}

OSStatus draw(YASTControlRecord* r) {
    if (!IsControlVisible(r->control))
        return eventNotHandledErr;
    TXNDrawObject(r->textObject, nullptr, kTXNDrawItemAllMask);
    draw_frame(r);
    r->focusRingDrawn = false; // the whole control is being drawn again
    update_focus_ring(r);
    return noErr;
}

OSStatus set_focus_part(YASTControlRecord* r, EventRef event) {
    ControlPartCode part = kControlFocusNoPart;
    GetEventParameter(event, kEventParamControlPart, typeControlPartCode, nullptr, sizeof(part),
                      nullptr, &part);
    if (!IsControlVisible(r->control))
        return SetEventParameter(event, kEventParamControlPart, typeControlPartCode, sizeof(part),
                                 &part);
    if (part == 1)
        r->isFocused = true;
    else if (part == kControlFocusNextPart || part == kControlFocusPrevPart)
        r->isFocused = !r->isFocused;
    else
        r->isFocused = false;
    TXNFocus(r->textObject, r->isFocused);
    update_text_activity(r);
    draw_frame(r);
    update_focus_ring(r);
    const ControlPartCode result = r->isFocused ? 1 : 0;
    return SetEventParameter(event, kEventParamControlPart, typeControlPartCode, sizeof(result),
                             &result);
}

OSStatus set_cursor(YASTControlRecord* r) {
    if (!IsControlVisible(r->control))
        return eventNotHandledErr;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(r->port);
    TXNAdjustCursor(r->textObject, r->frameRegion);
    SetPort(saved);
    return noErr;
}

OSStatus cursor_change(YASTControlRecord* r, EventRef event) {
    Point where{};
    GetEventParameter(event, kEventParamMouseLocation, typeQDPoint, nullptr, sizeof(where), nullptr,
                      &where);
    QDGlobalToLocalPoint(r->port, &where);
    if (!inside(r->boundsRect, where))
        return eventNotHandledErr;
    Boolean set = false;
    HandleControlSetCursor(r->control, where, 0, &set);
    if (!set)
        SetThemeCursor(kThemeArrowCursor);
    return noErr;
}

OSStatus control_event(YASTControlRecord* r, EventRef event) {
    switch (GetEventKind(event)) {
    case kEventControlClick:
        if (r->isFocused)
            return eventNotHandledErr;
        SetKeyboardFocus(r->window, r->control, 1);
        return noErr;
    case kEventControlSetCursor:
        return set_cursor(r);
    case kEventControlDispose:
        destroy(r);
        return eventNotHandledErr;
    case kEventControlSetData:
        return data_event(r, event, true);
    case kEventControlGetData:
        return data_event(r, event, false);
    case kEventControlBoundsChanged: {
        compute_rects(r);
        const Rect& t = r->textRect;
        TXNSetFrameBounds(r->textObject, t.top, t.left, t.bottom, t.right, 0);
        return eventNotHandledErr;
    }
    case kEventControlActivate:
    case kEventControlDeactivate:
        return activate(r, GetEventKind(event) == kEventControlActivate);
    case kEventControlHitTest:
        return hit_test(r, event);
    case kEventControlDraw:
        return draw(r);
    case kEventControlSetFocusPart:
        return set_focus_part(r, event);
    default:
        return eventNotHandledErr;
    }
}

OSStatus handle(EventHandlerCallRef, EventRef event, void* data) {
    auto* r = static_cast<YASTControlRecord*>(data);
    const UInt32 event_class = GetEventClass(event);
    if (event_class != kEventClassWindow)
        sync_visibility(r);
    switch (event_class) {
    case kEventClassMouse:
        return mouse_down(r, event);
    case kEventClassTextInput:
        return text_input(r, event);
    case kEventClassCommand:
        return GetEventKind(event) == kEventCommandProcess ? process_command(r, event)
                                                           : update_status(r, event);
    case kEventClassWindow:
        return cursor_change(r, event);
    default:
        return control_event(r, event);
    }
}

} // namespace

EventHandlerUPP handler_upp() {
    static EventHandlerUPP upp = NewEventHandlerUPP(handle);
    return upp;
}

} // namespace textviews
