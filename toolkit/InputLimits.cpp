// Input limiting: a handler on an editable field refuses keystrokes that break the field's
// limits and tells the field, after each keystroke, whether its text is empty, too short or
// long enough.
#include "InputLimits.h"

#include <CoreFoundation/CFHolder.h>

#include <memory>

namespace {

// Where the field keeps the handler of the last LimitInputLengthAndCharacters, so that a
// second call replaces it instead of stacking a second one (pointer-sized, private).
constexpr OSType kHandlerTag = 0x54686E64; // 'Thnd'

// One handler routine for every limited field, made when the bundle is loaded.
const EventHandlerUPP gLimitInputEventHandlerUPP = NewEventHandlerUPP(LimitInputEventHandler);

bool read_sint32(ControlRef control, OSType tag, SInt32& value) {
    return GetControlProperty(control, kInputLimitCreator, tag, sizeof(value), nullptr, &value) ==
           noErr;
}

CFCharacterSetRef stored_characters(ControlRef control) {
    CFCharacterSetRef set = nullptr;
    if (GetControlProperty(control, kInputLimitCreator, kInputLimitCharactersTag, sizeof(set),
                           nullptr, &set) != noErr)
        return nullptr;
    return set;
}

void release_characters(ControlRef control) {
    if (CFCharacterSetRef set = stored_characters(control)) {
        RemoveControlProperty(control, kInputLimitCreator, kInputLimitCharactersTag);
        CFRelease(set);
    }
}

void store_length(ControlRef control, OSType tag, SInt32 length) {
    if (length >= 1)
        SetControlProperty(control, kInputLimitCreator, tag, sizeof(length), &length);
    else
        RemoveControlProperty(control, kInputLimitCreator, tag);
}

cf::Holder<CFStringRef> copy_field_text(ControlRef control) {
    CFStringRef text = nullptr;
    if (GetControlData(control, kControlEditTextPart, kControlEditTextCFStringTag, sizeof(text),
                       &text, nullptr) != noErr)
        return {};
    return cf::Holder<CFStringRef>(text);
}

CFIndex field_length(ControlRef control) {
    cf::Holder<CFStringRef> text = copy_field_text(control);
    return text ? CFStringGetLength(text.get()) : 0;
}

// The typed text would make the field longer than its maximum (the selection is replaced).
bool too_long(ControlRef control, CFIndex typed) {
    SInt32 maximum = 0;
    if (!read_sint32(control, kInputLimitMaximumLengthTag, maximum))
        return false;
    ControlEditTextSelectionRec selection{};
    GetControlData(control, kControlEditTextPart, kControlEditTextSelectionTag, sizeof(selection),
                   &selection, nullptr);
    const CFIndex replaced = selection.selEnd - selection.selStart;
    return field_length(control) + typed - replaced > maximum;
}

bool has_foreign_characters(ControlRef control, CFCharacterSetRef typed) {
    CFCharacterSetRef allowed = stored_characters(control);
    return allowed != nullptr && !CFCharacterSetIsSupersetOfSet(allowed, typed);
}

void notify(ControlRef control, UInt32 kind) {
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassInputLimit, kind, GetCurrentEventTime(),
                    kEventAttributeNone, &event) != noErr)
        return;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SendEventToEventTarget(event, GetControlEventTarget(control));
    ReleaseEvent(event);
}

void notify_text_state(ControlRef control) {
    SInt32 minimum = 1;
    if (!read_sint32(control, kInputLimitMinimumLengthTag, minimum))
        minimum = 1;
    const CFIndex length = field_length(control);
    notify(control, length == 0        ? kEventInputTextEmpty
                    : length < minimum ? kEventInputTextTooShort
                                       : kEventInputTextLongEnough);
}

cf::Holder<CFStringRef> copy_typed_text(EventRef event) {
    ByteCount size = 0;
    GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr, 0, &size,
                      nullptr);
    const CFIndex count = static_cast<CFIndex>(size / sizeof(UniChar));
    std::unique_ptr<UniChar[]> units(new UniChar[count > 0 ? count : 1]);
    if (count > 0)
        GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr,
                          static_cast<ByteCount>(count) * sizeof(UniChar), nullptr, units.get());
    return cf::Holder<CFStringRef>(CFStringCreateWithCharacters(nullptr, units.get(), count));
}

OSStatus typed(EventHandlerCallRef next, EventRef event, ControlRef control) {
    cf::Holder<CFStringRef> text = copy_typed_text(event);
    if (!text)
        return CallNextEventHandler(next, event);
    cf::Holder<CFCharacterSetRef> typed_set(
        CFCharacterSetCreateWithCharactersInString(nullptr, text.get()));
    // Editing keys (backspace, arrows, return, tab...) are never limited.
    const bool editing = CFCharacterSetIsSupersetOfSet(
        CFCharacterSetGetPredefined(kCFCharacterSetControl), typed_set.get());
    if (!editing && (too_long(control, CFStringGetLength(text.get())) ||
                     has_foreign_characters(control, typed_set.get()))) {
        SysBeep(10);
        return noErr;
    }
    const OSStatus status = CallNextEventHandler(next, event);
    notify_text_state(control);
    return status;
}

} // namespace

void LimitInputLengthAndCharacters(ControlRef control, SInt32 minimumLength, SInt32 maximumLength,
                                   CFCharacterSetRef allowedCharacters) {
    if (control == nullptr)
        return;
    store_length(control, kInputLimitMaximumLengthTag, maximumLength);
    store_length(control, kInputLimitMinimumLengthTag, minimumLength);
    if (allowedCharacters != nullptr) {
        CFRetain(allowedCharacters);
        release_characters(control);
        SetControlProperty(control, kInputLimitCreator, kInputLimitCharactersTag,
                           sizeof(allowedCharacters), &allowedCharacters);
    } else {
        release_characters(control);
    }

    EventHandlerRef previous = nullptr;
    if (GetControlProperty(control, kInputLimitCreator, kHandlerTag, sizeof(previous), nullptr,
                           &previous) == noErr)
        RemoveEventHandler(previous);
    const EventTypeSpec events[] = {{kEventClassTextInput, kEventTextInputUnicodeForKeyEvent},
                                    {kEventClassControl, kEventControlDispose},
                                    {kEventClassHIComboBox, kEventComboBoxListItemSelected}};
    EventHandlerRef handler = nullptr;
    if (InstallEventHandler(GetControlEventTarget(control), gLimitInputEventHandlerUPP,
                            GetEventTypeCount(events), events, control, &handler) == noErr)
        SetControlProperty(control, kInputLimitCreator, kHandlerTag, sizeof(handler), &handler);
    else
        RemoveControlProperty(control, kInputLimitCreator, kHandlerTag);
}

OSStatus LimitInputEventHandler(EventHandlerCallRef nextHandler, EventRef event, void* userData) {
    auto control = static_cast<ControlRef>(userData);
    const UInt32 eventClass = GetEventClass(event), kind = GetEventKind(event);
    if (eventClass == kEventClassTextInput && kind == kEventTextInputUnicodeForKeyEvent)
        return typed(nextHandler, event, control);
    if (eventClass == kEventClassControl && kind == kEventControlDispose) {
        release_characters(control);
        RemoveControlProperty(control, kInputLimitCreator, kHandlerTag);
    } else if (eventClass == kEventClassHIComboBox && kind == kEventComboBoxListItemSelected) {
        notify(control, kEventInputTextLongEnough);
    }
    return eventNotHandledErr;
}
