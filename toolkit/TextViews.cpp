// The YAST control: attaching the behaviour to a user pane, the rules for
// its text activity, focus ring and visibility, and the summary view.
#include "TextViewsInternal.h"

#include <cstdlib>
#include <new>

namespace textviews {
namespace {

constexpr TXNFrameOptions kFrameOptions = 0x3A88; // vertical scroll bar, wrapping at the edge
constexpr UInt32 kPaneFeatures = 0x59E;

const EventTypeSpec kControlEvents[] = {
    {kEventClassMouse, kEventMouseDown},
    {kEventClassControl, kEventControlClick},
    {kEventClassCommand, kEventCommandProcess},
    {kEventClassCommand, kEventCommandUpdateStatus},
    {kEventClassTextInput, kEventTextInputUnicodeForKeyEvent},
    {kEventClassControl, kEventControlSetCursor},
    {kEventClassControl, kEventControlDispose},
    {kEventClassControl, kEventControlSetData},
    {kEventClassControl, kEventControlGetData},
    {kEventClassControl, kEventControlBoundsChanged},
    {kEventClassControl, kEventControlActivate},
    {kEventClassControl, kEventControlDeactivate},
    {kEventClassControl, kEventControlHitTest},
    {kEventClassControl, kEventControlDraw},
    {kEventClassControl, kEventControlSetFocusPart},
    // Not one of Carbon's fifteen: hiding the control hides its text at once.
    {kEventClassControl, kEventControlVisibilityChanged},
};
const EventTypeSpec kWindowEvents[] = {{kEventClassWindow, kEventWindowCursorChange}};

Rect inset(const Rect& r, short left, short top, short right, short bottom) {
    return Rect{static_cast<short>(r.top + top), static_cast<short>(r.left + left),
                static_cast<short>(r.bottom - bottom), static_cast<short>(r.right - right)};
}

// Everything after the allocation, undone on the first failure.
OSStatus build(YASTControlRecord* record) {
    record->frameRegion = NewRgn();
    if (record->frameRegion == nullptr)
        return memFullErr;
    compute_rects(record);
    const Rect& t = record->textRect;
    const HIRect frame{
        {static_cast<CGFloat>(t.left), static_cast<CGFloat>(t.top)},
        {static_cast<CGFloat>(t.right - t.left), static_cast<CGFloat>(t.bottom - t.top)}};
    OSStatus status = TXNCreateObject(&frame, kFrameOptions, &record->textObject);
    if (status == noErr)
        status = TXNAttachObjectToWindowRef(record->textObject, record->window);
    if (status != noErr)
        return status;
    TXNBackground white{};
    white.bgType = kTXNBackgroundTypeRGB;
    white.bg.color = RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
    if ((status = TXNSetBackground(record->textObject, &white)) != noErr)
        return status;
    TXNMargins margins{2, 3, 2, 1};
    const TXNControlTag tag = kTXNMarginsTag;
    TXNControlData data{};
    data.marginsPtr = &margins;
    if ((status = TXNSetTXNObjectControls(record->textObject, false, 1, &tag, &data)) != noErr)
        return status;
    status = InstallControlEventHandler(record->control, handler_upp(),
                                        GetEventTypeCount(kControlEvents), kControlEvents, record,
                                        &record->controlHandler);
    if (status != noErr)
        return status;
    status =
        InstallWindowEventHandler(record->window, handler_upp(), GetEventTypeCount(kWindowEvents),
                                  kWindowEvents, record, &record->windowHandler);
    if (status != noErr)
        return status;
    update_text_activity(record);
    sync_visibility(record);
    return noErr;
}

} // namespace

void compute_rects(YASTControlRecord* record) {
    Rect bounds{};
    GetControlBounds(record->control, &bounds);
    record->boundsRect = bounds;
    record->textRect = inset(bounds, 2, 3, 3, 2);
    record->focusRect = bounds;
    record->frameRect = inset(bounds, 1, 1, 1, 1);
    RectRgn(record->frameRegion, &record->frameRect);
}

void update_text_activity(YASTControlRecord* record) {
    const Boolean wanted = record->isActive && record->isFocused;
    if (wanted == record->textActive)
        return;
    record->textActive = wanted;
    TXNSetScrollbarState(record->textObject, wanted);
    if (record->isFocused)
        TXNFocus(record->textObject, wanted);
}

void update_focus_ring(YASTControlRecord* record) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(record->port);
    if (record->drawFocusRing) {
        const Boolean wanted = record->isActive && record->isFocused;
        if (wanted != record->focusRingDrawn) {
            record->focusRingDrawn = wanted;
            DrawThemeFocusRect(&record->focusRect, wanted);
        }
    } else if (record->focusRingDrawn) {
        record->focusRingDrawn = false;
        DrawThemeFocusRect(&record->focusRect, false);
    }
    SetPort(saved);
}

void draw_frame(YASTControlRecord* record) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(record->port);
    // The theme draws the frame just outside the rectangle it is given.
    Rect inside = record->frameRect;
    inside.top += 1;
    inside.left += 1;
    inside.bottom -= 1;
    inside.right -= 1;
    DrawThemeEditTextFrame(&inside, record->isActive ? kThemeStateActive : kThemeStateInactive);
    SetPort(saved);
}

void sync_visibility(YASTControlRecord* record) {
    const TXNControlTag tag = kTXNVisibilityTag;
    TXNControlData now{};
    TXNGetTXNObjectControls(record->textObject, 1, &tag, &now);
    TXNControlData wanted{};
    wanted.uValue = record->textVisible && IsControlVisible(record->control);
    if (now.uValue != wanted.uValue)
        TXNSetTXNObjectControls(record->textObject, false, 1, &tag, &wanted);
}

void destroy(YASTControlRecord* record) {
    if (record->windowHandler != nullptr)
        RemoveEventHandler(record->windowHandler);
    if (record->controlHandler != nullptr)
        RemoveEventHandler(record->controlHandler);
    if (record->textObject != nullptr)
        TXNDeleteObject(record->textObject);
    if (record->frameRegion != nullptr)
        DisposeRgn(record->frameRegion);
    delete record;
}

} // namespace textviews

OSStatus YASTControlAttachToExistingControl(ControlRef theControl) {
    if (theControl == nullptr)
        return paramErr;
    auto* record = new (std::nothrow) YASTControlRecord{};
    if (record == nullptr)
        return memFullErr;
    record->control = theControl;
    record->window = GetControlOwner(theControl);
    if (record->window == nullptr) {
        delete record;
        return errInvalidWindowRef;
    }
    record->port = GetWindowPort(record->window);
    record->isActive = true;
    record->tabsAdvanceFocus = true;
    record->drawFocusRing = true;
    record->textVisible = true;
    UInt32 command = 0;
    if (GetControlCommandID(theControl, &command) == noErr && command == 0)
        SetControlCommandID(theControl, 1);
    const OSStatus status = textviews::build(record);
    if (status != noErr)
        textviews::destroy(record);
    return status;
}

OSStatus CreateYASTControl(WindowRef theWindow, const Rect* bounds, ControlRef* theControl) {
    if (theWindow == nullptr || bounds == nullptr || theControl == nullptr)
        return paramErr;
    ControlRef pane = nullptr;
    OSStatus status = CreateUserPaneControl(theWindow, bounds, textviews::kPaneFeatures, &pane);
    if (status != noErr)
        return status;
    status = YASTControlAttachToExistingControl(pane);
    if (status != noErr) {
        DisposeControl(pane);
        return status;
    }
    *theControl = pane;
    return noErr;
}

OSStatus SetupTextViewControl(ControlRef control, SInt16 fontSize) {
    OSStatus status = YASTControlAttachToExistingControl(control);
    if (status != noErr)
        return status;
    const Boolean no = false;
    SetControlData(control, kControlEntireControl, kYASTControlDoDrawFocusTag, sizeof(no), &no);
    const Fixed size = static_cast<Fixed>(fontSize) << 16;
    SetControlData(control, kControlEntireControl, kYASTControlFontSizeTag, sizeof(size), &size);
    status =
        SetControlData(control, kControlEntireControl, kYASTControlDrawCaretTag, sizeof(no), &no);
    UpdateSummaryTextView(control, CFSTR(""));
    return status;
}

OSStatus UpdateSummaryTextView(ControlRef control, CFStringRef string) {
    if (string == nullptr)
        return paramErr;
    Boolean read_only = false;
    OSStatus status = SetControlData(control, kControlEntireControl, kYASTControlReadOnlyTag,
                                     sizeof(read_only), &read_only);
    if (status != noErr)
        return status;
    status = SetControlData(control, kControlEntireControl, kYASTControlAllUnicodeTextTag,
                            sizeof(string), &string);
    read_only = true;
    SetControlData(control, kControlEntireControl, kYASTControlReadOnlyTag, sizeof(read_only),
                   &read_only);
    return status;
}
