// The custom value dialog: one limited text field, OK, Cancel and Help, run modally.
#include "CustomValueDialog.h"

#include "HelpHelpers.h"
#include "InputLimits.h"

namespace {

// Shared by the dialog and its handler for as long as the dialog runs.
struct CustomValueDialogState {
    WindowRef window = nullptr;
    CFBundleRef bundle = nullptr;
    SInt16 result = kCustomValueOpen;
};

ControlRef find_field(WindowRef window) {
    const ControlID id{kCustomValueFieldSignature, kCustomValueFieldID};
    ControlRef field = nullptr;
    GetControlByID(window, &id, &field);
    return field;
}

CFStringRef copy_field_text(ControlRef field) {
    CFStringRef text = nullptr;
    if (field == nullptr || GetControlData(field, kControlEditTextPart, kControlEditTextCFStringTag,
                                           sizeof(text), &text, nullptr) != noErr)
        return CFStringCreateWithCharacters(nullptr, nullptr, 0);
    return text;
}

} // namespace

OSStatus RunModalCustomValueDialog(CFBundleRef bundle, SInt32 minimumLength, SInt32 maximumLength,
                                   CFStringRef* ioValue, SInt16* dialogResult) {
    IBNibRef nib = nullptr;
    OSStatus status = CreateNibReferenceWithCFBundle(bundle, CFSTR("Utilities"), &nib);
    if (status != noErr)
        return status;
    CustomValueDialogState state;
    state.bundle = bundle;
    status = CreateWindowFromNib(nib, CFSTR("CustomValue"), &state.window);
    if (status != noErr) {
        DisposeNibReference(nib);
        return status;
    }
    ControlRef field = find_field(state.window);

    const EventTypeSpec command{kEventClassCommand, kEventCommandProcess};
    status = InstallEventHandler(GetWindowEventTarget(state.window), CustomValueEventHandler, 1,
                                 &command, &state, nullptr);
    LimitInputLengthAndCharacters(field, minimumLength, maximumLength, nullptr);
    if (ioValue != nullptr && *ioValue != nullptr && field != nullptr)
        SetControlData(field, kControlEditTextPart, kControlEditTextCFStringTag,
                       sizeof(CFStringRef), ioValue);
    ShowWindow(state.window);
    AdvanceKeyboardFocus(state.window);
    RunAppModalLoopForWindow(state.window);

    if (dialogResult != nullptr)
        *dialogResult = state.result;
    if (ioValue != nullptr)
        *ioValue = state.result == kCustomValueOK ? copy_field_text(field) : nullptr;
    DisposeWindow(state.window);
    DisposeNibReference(nib);
    return status;
}

OSStatus CustomValueEventHandler(EventHandlerCallRef, EventRef event, void* userData) {
    if (GetEventClass(event) != kEventClassCommand || GetEventKind(event) != kEventCommandProcess)
        return eventNotHandledErr;
    auto* state = static_cast<CustomValueDialogState*>(userData);
    HICommand command{};
    const OSStatus status = GetEventParameter(event, kEventParamDirectObject, typeHICommand,
                                              nullptr, sizeof(command), nullptr, &command);
    if (status != noErr)
        return status;
    switch (command.commandID) {
    case kHICommandOK:
    case kHICommandCancel:
        state->result = command.commandID == kHICommandOK ? kCustomValueOK : kCustomValueCancel;
        QuitAppModalLoopForWindow(state->window);
        return noErr;
    case kHelpButtonCommand:
        DisplayHelp(state->bundle, CFSTR("image_options/db_custom_color_d.htm"), nullptr);
        return status;
    default:
        return status;
    }
}
