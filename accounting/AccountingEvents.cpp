// The panel's event handler.
#include "AccountingEvents.h"

namespace {

const SInt32 kFirstPanelControl = 101;
const SInt32 kLastPanelControl = 127;

OSStatus control_hit(EventRef event, AccountingContext* context) {
    ControlRef control = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                      nullptr, &control);
    ControlID id = {0, 0};
    GetControlID(control, &id);
    if (id.signature != kAccountingControlSignature || id.id < kFirstPanelControl ||
        id.id > kLastPanelControl)
        return eventNotHandledErr;
    switch (id.id) {
    case 111:
        context->maskUserID = GetControl32BitValue(control);
        break;
    case 112:
        context->maskAccountID = GetControl32BitValue(control);
        break;
    case 127:
        context->auxiliaryInterface = GetControl32BitValue(control);
        break;
    default:
        // FIXME: the popups, the prompt radio pair and the layout that follows them come
        // with the panel's controls.
        break;
    }
    // The control keeps its standard behaviour.
    return eventNotHandledErr;
}

OSStatus command_process(EventRef event, AccountingContext* context) {
    HICommand command = {};
    GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                      nullptr, &command);
    if (command.commandID == kHICommandOK && context->accountingSystem != 1) {
        // FIXME: run the accounting prompt (or check the default codes) once the prompt
        // dialog exists; until then the print goes ahead without codes being asked for.
    }
    // FIXME: the help command opens the panel's help page once help books exist.
    return eventNotHandledErr;
}

} // namespace

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
