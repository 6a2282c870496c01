// The panel's event handler, its key filter and its picture.
#include "AccountingEvents.h"

#include "AccountingControls.h"
#include "AccountingPanel.h"
#include "AccountingPrompt.h"
#include "EnvironmentHelpers.h"
#include "HelpHelpers.h"
#include "ImageImportManager.h"
#include "SettingMaps.h"
#include "TicketHelpers.h"

#include <CoreFoundation/CFHolder.h>
#include <cstring>
#include <iterator>
#include <string>

namespace {

// Acts on a click in the panel. The control keeps its standard behaviour in every case.
void panel_hit(AccountingContext* context, ControlRef control, SInt32 id) {
    switch (id) {
    case kAccountingPopupID:
        context->accountingSystem = GetPopupButtonTicketValue(control);
        setControls(context);
        break;
    case kPromptRadioID:
        context->promptForEveryJob = 1;
        if (ControlRef other = FindAccountingControl(context->window, kDefaultCodesRadioID))
            SetControl32BitValue(other, 0);
        setControls(context);
        break;
    case kMaskUserIDCheckID:
        context->maskUserID = GetControl32BitValue(control);
        break;
    case kMaskAccountIDCheckID:
        context->maskAccountID = GetControl32BitValue(control);
        break;
    case kDefaultCodesRadioID:
        context->promptForEveryJob = 0;
        if (ControlRef other = FindAccountingControl(context->window, kPromptRadioID))
            SetControl32BitValue(other, 0);
        setControls(context);
        // The stored codes come back, replacing what was typed since they were stored.
        PutAccountingCode(FindAccountingControl(context->window, kUserIDFieldID),
                          context->defaultUserID);
        PutAccountingCode(FindAccountingControl(context->window, kAccountIDFieldID),
                          context->defaultAccountID);
        break;
    case kAccountTypePopupID:
        context->accountType = GetPopupButtonTicketValue(control);
        setControls(context);
        break;
    case kAuxiliaryInterfaceCheckID:
        context->auxiliaryInterface = GetControl32BitValue(control);
        break;
    default:
        break;
    }
}

OSStatus control_hit(EventRef event, AccountingContext* context) {
    ControlRef control = GetAccountingEventControl(event);
    // Before 10.5 the print dialog has no OK command: its default button's click is the Print.
    if (!RunningOn105OrLater() && control != nullptr && control == context->defaultButton) {
        if (context->accountingSystem == kAccountingNone)
            return eventNotHandledErr;
        return RunModalAccountingDialog(context);
    }
    ControlID id = {0, 0};
    GetControlID(control, &id);
    if (id.signature == kAccountingControlSignature && id.id >= kAccountingPopupID &&
        id.id <= kAuxiliaryInterfaceCheckID)
        panel_hit(context, control, id.id);
    return eventNotHandledErr;
}

OSStatus command_process(EventRef event, AccountingContext* context) {
    const HICommand command = GetAccountingEventCommand(event);
    if (command.commandID == kAccountingHelpCommand)
        return DisplayHelp(context->helpBookRef, kAccountingHelpPage, nullptr);
    if (command.commandID != kHICommandOK)
        return eventNotHandledErr;
    if (!RunningOn105OrLater() || context->accountingSystem == kAccountingNone)
        return eventNotHandledErr;
    OSStatus status = RunModalAccountingDialog(context);
    return context->dialogCancelled ? kAccountingPromptCancelled : status;
}

// Characters that may not stand in an accounting code, in the order they are tested.
const UInt16 kRefused[] = {',', '"', '\'', ':', ';', '/', '\\', '|',
                           '{', '}', '[',  ']', '>', '<', '?'};
// Keys that edit rather than add, so they pass even when a field is full.
const UInt16 kEditingKeys[] = {kBackspaceCharCode, kDeleteCharCode, kLeftArrowCharCode,
                               kRightArrowCharCode};

bool is_one_of(UInt16 c, const UInt16* set, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (set[i] == c)
            return true;
    return false;
}

// What the key types. The character code is in Mac Roman, where a letter of another script
// arrives as "?", a refused character; the user input event being handled has the text itself.
std::u16string typed_text(SInt16 charCode) {
    EventRef event = GetCurrentEvent();
    EventParamName name = 0;
    if (event != nullptr && GetEventClass(event) == kEventClassTextInput &&
        GetEventKind(event) == kEventTextInputUnicodeForKeyEvent)
        name = kEventParamTextInputSendText;
    else if (event != nullptr && GetEventClass(event) == kEventClassKeyboard)
        name = kEventParamKeyUnicodes;
    ByteCount size = 0;
    if (name != 0 &&
        GetEventParameter(event, name, typeUnicodeText, nullptr, 0, &size, nullptr) == noErr &&
        size >= sizeof(UniChar)) {
        std::u16string text(size / sizeof(UniChar), u'\0');
        if (GetEventParameter(event, name, typeUnicodeText, nullptr, text.size() * sizeof(UniChar),
                              nullptr, text.data()) == noErr)
            return text;
    }
    return std::u16string(1, static_cast<char16_t>(static_cast<UInt16>(charCode)));
}

// The bytes the text takes in the system encoding, where the codes are counted; -1 when it has
// no place there.
CFIndex system_bytes(const std::u16string& text) {
    const cf::Holder<CFStringRef> string(CFStringCreateWithCharacters(
        nullptr, reinterpret_cast<const UniChar*>(text.data()), static_cast<CFIndex>(text.size())));
    if (!string)
        return -1;
    CFIndex used = 0;
    const CFIndex length = CFStringGetLength(string.get());
    const CFIndex converted =
        CFStringGetBytes(string.get(), CFRangeMake(0, length), CFStringGetSystemEncoding(), 0,
                         false, nullptr, 0, &used);
    return converted == length ? used : -1;
}

bool refused(const std::u16string& text) {
    for (char16_t c : text)
        if (is_one_of(static_cast<UInt16>(c), kRefused, std::size(kRefused)))
            return true;
    return false;
}

SInt32 limit_for(ControlRef control) {
    ControlID id = {0, 0};
    GetControlID(control, &id);
    bool idField = id.id == kUserIDFieldID || id.id == kAccountIDFieldID ||
                   id.id == kPromptUserIDFieldID || id.id == kPromptAccountIDFieldID;
    bool capped = gContext != nullptr && (gContext->accountingSystem == kAccountingTallyset ||
                                          gContext->accountingSystem == kAccountingEnabled);
    return idField && capped ? kAccountingKeyFilterLimit : 0;
}

} // namespace

ControlRef GetAccountingEventControl(EventRef event) {
    ControlRef control = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                      nullptr, &control);
    return control;
}

HICommand GetAccountingEventCommand(EventRef event) {
    HICommand command;
    std::memset(&command, 0, sizeof command);
    GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                      nullptr, &command);
    return command;
}

OSStatus accountingEventHandler(EventHandlerCallRef, EventRef event, void* userData) {
    auto* context = static_cast<AccountingContext*>(userData);
    if (context == nullptr)
        return eventNotHandledErr;
    UInt32 eventClass = GetEventClass(event);
    UInt32 kind = GetEventKind(event);
    if (eventClass == kEventClassControl && kind == kEventControlHit)
        return control_hit(event, context);
    if (eventClass == kEventClassCommand && kind == kEventCommandProcess)
        return command_process(event, context);
    return eventNotHandledErr;
}

ControlKeyFilterResult accountKeyFilter(ControlRef control, SInt16*, SInt16* charCode,
                                        EventModifiers*) {
    auto c = static_cast<UInt16>(*charCode);
    const std::u16string text = typed_text(*charCode);
    SInt32 limit = limit_for(control);
    ControlEditTextSelectionRec selection = {0, 0};
    GetControlData(control, kControlEntireControl, kControlEditTextSelectionTag, sizeof selection,
                   &selection, nullptr);
    Size length = 0;
    GetControlDataSize(control, kControlEntireControl, kControlEditTextTextTag, &length);
    // A character is kept whole or not at all: the field is full for it when its bytes would
    // pass the limit. With a selection the field is never full: the key replaces it.
    const CFIndex bytes = system_bytes(text);
    bool full = (bytes < 0 || limit < length + (bytes > 0 ? bytes : 1)) &&
                selection.selStart == selection.selEnd;
    bool pass =
        full ? is_one_of(c, kEditingKeys, std::size(kEditingKeys)) : bytes >= 0 && !refused(text);
    if (pass)
        return kControlKeyFilterPassKey;
    SysBeep(10);
    return kControlKeyFilterBlockKey;
}

OSStatus AccountingDrawEventHandler(EventHandlerCallRef, EventRef event, void* userData) {
    auto* context = static_cast<AccountingContext*>(userData);
    if (GetEventClass(event) != kEventClassControl || GetEventKind(event) != kEventControlDraw)
        return eventNotHandledErr;
    ControlRef control = GetAccountingEventControl(event);
    if (context == nullptr || control == nullptr || control != context->accountingImage)
        return eventNotHandledErr;
    DrawImage(context->accountingSystem == kAccountingNone ? CFSTR("Accounting-Off.gif")
                                                           : CFSTR("Accounting-On.gif"),
              control, false);
    return noErr;
}
