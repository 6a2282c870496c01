// Event objects: class, kind, time and typed parameters.
#include "EventInternal.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace {

void finalize_event(CFTypeRef object);

const cf::ClassDescriptor kEventClass = {"EventRef", finalize_event, nullptr, nullptr, nullptr};

// Parameters of these types hold a reference to an object; the event owns it.
bool holds_reference(EventParamType type) {
    return type == typeCFStringRef || type == typeCFMutableStringRef || type == typeCFTypeRef ||
           type == typeEventRef;
}

// Text may be read in part (a caller's fixed buffer); everything else is a
// record whose layout must match exactly.
bool is_text(EventParamType type) {
    return type == typeChar || type == typeUnicodeText || type == typeUTF8Text;
}

CFTypeRef referenced_object(const hit::EventParam& param) {
    CFTypeRef object = nullptr;
    std::memcpy(&object, param.data.data(), sizeof(object));
    return object;
}

void drop_reference(const hit::EventParam& param) {
    if (holds_reference(param.type) && param.data.size() == sizeof(CFTypeRef)) {
        CFTypeRef object = referenced_object(param);
        if (object != nullptr)
            CFRelease(object);
    }
}

void finalize_event(CFTypeRef object) {
    auto* event = static_cast<OpaqueEventRef*>(const_cast<void*>(object));
    for (const auto& param : event->params)
        drop_reference(param);
    cf::destroy<OpaqueEventRef>(object);
}

hit::EventParam* find_param(OpaqueEventRef* event, EventParamName name) {
    auto it = std::find_if(event->params.begin(), event->params.end(),
                           [name](const hit::EventParam& p) { return p.name == name; });
    return it == event->params.end() ? nullptr : &*it;
}

} // namespace

namespace hit {

CFTypeID event_type_id() {
    static CFTypeID id = cf::register_class(&kEventClass);
    return id;
}

OpaqueEventRef* event_object(EventRef event, const char* function) {
    if (!cf::check_type(event, event_type_id(), function))
        return nullptr;
    return event;
}

} // namespace hit

EventTime GetCurrentEventTime(void) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<EventTime>(now.tv_sec) + static_cast<EventTime>(now.tv_nsec) / 1e9;
}

OSStatus CreateEvent(CFAllocatorRef inAllocator, UInt32 inClassID, UInt32 inKind, EventTime inWhen,
                     EventAttributes inAttributes, EventRef* outEvent) {
    if (outEvent == nullptr)
        return paramErr;
    auto* event = cf::create<OpaqueEventRef>(inAllocator, hit::event_type_id());
    if (event == nullptr)
        return memFullErr;
    event->event_class = inClassID;
    event->event_kind = inKind;
    event->when = inWhen;
    event->attributes = inAttributes;
    *outEvent = event;
    return noErr;
}

EventRef CopyEvent(EventRef inOther) {
    OpaqueEventRef* other = hit::event_object(inOther, __func__);
    if (other == nullptr)
        return nullptr;
    EventRef copy = nullptr;
    if (CreateEvent(CFGetAllocator(other), other->event_class, other->event_kind, other->when,
                    other->attributes, &copy) != noErr)
        return nullptr;
    copy->params = other->params;
    for (const auto& param : copy->params)
        if (holds_reference(param.type) && referenced_object(param) != nullptr)
            CFRetain(referenced_object(param));
    return copy;
}

EventRef RetainEvent(EventRef inEvent) {
    if (hit::event_object(inEvent, __func__) != nullptr)
        CFRetain(inEvent);
    return inEvent;
}

ItemCount GetEventRetainCount(EventRef inEvent) {
    if (hit::event_object(inEvent, __func__) == nullptr)
        return 0;
    return static_cast<ItemCount>(CFGetRetainCount(inEvent));
}

void ReleaseEvent(EventRef inEvent) {
    if (hit::event_object(inEvent, __func__) != nullptr)
        CFRelease(inEvent);
}

UInt32 GetEventClass(EventRef inEvent) {
    OpaqueEventRef* event = hit::event_object(inEvent, __func__);
    return event != nullptr ? event->event_class : 0;
}

UInt32 GetEventKind(EventRef inEvent) {
    OpaqueEventRef* event = hit::event_object(inEvent, __func__);
    return event != nullptr ? event->event_kind : 0;
}

EventTime GetEventTime(EventRef inEvent) {
    OpaqueEventRef* event = hit::event_object(inEvent, __func__);
    return event != nullptr ? event->when : 0;
}

OSStatus SetEventTime(EventRef inEvent, EventTime inTime) {
    OpaqueEventRef* event = hit::event_object(inEvent, __func__);
    if (event == nullptr)
        return paramErr;
    event->when = inTime;
    return noErr;
}

OSStatus SetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inType,
                           ByteCount inSize, const void* inDataPtr) {
    OpaqueEventRef* event = hit::event_object(inEvent, __func__);
    if (event == nullptr || (inDataPtr == nullptr && inSize > 0))
        return paramErr;
    if (holds_reference(inType) && inSize != sizeof(CFTypeRef))
        return paramErr;
    hit::EventParam param{inName, inType, {}};
    const auto* bytes = static_cast<const UInt8*>(inDataPtr);
    param.data.assign(bytes, bytes + inSize);
    // Take the new reference before dropping the old one: they may be the same object.
    if (holds_reference(inType) && referenced_object(param) != nullptr)
        CFRetain(referenced_object(param));
    if (hit::EventParam* existing = find_param(event, inName)) {
        drop_reference(*existing);
        *existing = std::move(param);
    } else {
        event->params.push_back(std::move(param));
    }
    return noErr;
}

OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                           EventParamType* outActualType, ByteCount inBufferSize,
                           ByteCount* outActualSize, void* outData) {
    OpaqueEventRef* event = hit::event_object(inEvent, __func__);
    if (event == nullptr)
        return paramErr;
    const hit::EventParam* param = find_param(event, inName);
    if (param == nullptr)
        return eventParameterNotFoundErr;
    if (inDesiredType != typeWildCard && inDesiredType != param->type)
        return errAECoercionFail;
    const ByteCount size = static_cast<ByteCount>(param->data.size());
    if (outActualType != nullptr)
        *outActualType = param->type;
    if (outActualSize != nullptr)
        *outActualSize = size;
    if (outData == nullptr)
        return noErr;
    ByteCount copied = size;
    if (inBufferSize < size) {
        // A short buffer for a record means the caller's layout is not ours
        // (a 32-bit size, say): refuse rather than hand back half a record.
        if (!is_text(param->type))
            return errDataSizeMismatch;
        copied = inBufferSize;
    }
    if (copied > 0)
        std::memcpy(outData, param->data.data(), copied);
    return noErr;
}

OSStatus RemoveEventParameter(EventRef inEvent, EventParamName inName) {
    OpaqueEventRef* event = hit::event_object(inEvent, __func__);
    if (event == nullptr)
        return paramErr;
    auto it = std::find_if(event->params.begin(), event->params.end(),
                           [inName](const hit::EventParam& p) { return p.name == inName; });
    if (it == event->params.end())
        return eventParameterNotFoundErr;
    drop_reference(*it);
    event->params.erase(it);
    return noErr;
}
