// Data tags that a control's kind does not know go to the control as
// kEventControlSetData / kEventControlGetData, so that a handler installed
// on a user pane (a text view, say) can offer tags of its own through the
// ordinary SetControlData and GetControlData calls.
#include "ControlKinds.h"

namespace hit {

OSStatus send_data_event(ControlRef control, UInt32 kind, ControlPartCode part, ResType tag,
                         Size size, const void* buffer, Size* actual) {
    EventRef event = nullptr;
    OSStatus status = CreateEvent(nullptr, kEventClassControl, kind, GetCurrentEventTime(),
                                  kEventAttributeNone, &event);
    if (status != noErr)
        return status;
    SInt32 buffer_size = static_cast<SInt32>(size);
    void* pointer = const_cast<void*>(buffer);
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SetEventParameter(event, kEventParamControlPart, typeControlPartCode, sizeof(part), &part);
    SetEventParameter(event, kEventParamControlDataTag, typeEnumeration, sizeof(tag), &tag);
    SetEventParameter(event, kEventParamControlDataBuffer, typePtr, sizeof(pointer), &pointer);
    SetEventParameter(event, kEventParamControlDataBufferSize, typeLongInteger, sizeof(buffer_size),
                      &buffer_size);
    status = SendEventToEventTargetWithOptions(event, GetControlEventTarget(control),
                                               kEventTargetDontPropagate);
    if (status == noErr && actual != nullptr) {
        GetEventParameter(event, kEventParamControlDataBufferSize, typeLongInteger, nullptr,
                          sizeof(buffer_size), nullptr, &buffer_size);
        *actual = buffer_size;
    }
    ReleaseEvent(event);
    // Nobody offers the tag: the control does not have it.
    return status == eventNotHandledErr ? OSStatus{errDataNotSupported} : status;
}

} // namespace hit
