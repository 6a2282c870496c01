// Event targets and the handlers installed on them.
#include "EventInternal.h"

#include <algorithm>

namespace {

void finalize_handler(CFTypeRef object) {
    cf::destroy<OpaqueEventHandlerRef>(object);
}

void release_handlers(OpaqueEventTargetRef* target) {
    // Detach first: a handler being released may be held by a dispatch,
    // which must then see it as removed.
    std::vector<OpaqueEventHandlerRef*> handlers;
    handlers.swap(target->handlers);
    for (OpaqueEventHandlerRef* handler : handlers) {
        handler->target = nullptr;
        CFRelease(handler);
    }
}

void finalize_target(CFTypeRef object) {
    release_handlers(static_cast<OpaqueEventTargetRef*>(const_cast<void*>(object)));
    cf::destroy<OpaqueEventTargetRef>(object);
}

const cf::ClassDescriptor kHandlerClass = {"EventHandlerRef", finalize_handler, nullptr, nullptr,
                                           nullptr};
const cf::ClassDescriptor kTargetClass = {"EventTargetRef", finalize_target, nullptr, nullptr,
                                          nullptr};

OpaqueEventHandlerRef* live_handler(EventHandlerRef ref, const char* function) {
    if (!cf::check_type(ref, hit::handler_type_id(), function))
        return nullptr;
    return ref->target != nullptr ? ref : nullptr;
}

void add_types(OpaqueEventHandlerRef* handler, ItemCount count, const EventTypeSpec* list) {
    for (ItemCount i = 0; i < count; ++i) {
        auto it = std::find_if(
            handler->types.begin(), handler->types.end(), [&](const hit::TypeCount& t) {
                return t.event_class == list[i].eventClass && t.event_kind == list[i].eventKind;
            });
        if (it != handler->types.end())
            ++it->count;
        else
            handler->types.push_back({list[i].eventClass, list[i].eventKind, 1});
    }
}

} // namespace

bool OpaqueEventHandlerRef::handles(UInt32 event_class, UInt32 event_kind) const {
    return std::any_of(types.begin(), types.end(), [&](const hit::TypeCount& t) {
        return t.event_class == event_class && t.event_kind == event_kind && t.count > 0;
    });
}

namespace hit {

CFTypeID handler_type_id() {
    static CFTypeID id = cf::register_class(&kHandlerClass);
    return id;
}

CFTypeID target_type_id() {
    static CFTypeID id = cf::register_class(&kTargetClass);
    return id;
}

EventTargetRef create_target(TargetKind kind, void* owner, ParentFunction parent) {
    auto* target = cf::create<OpaqueEventTargetRef>(nullptr, target_type_id());
    if (target == nullptr)
        return nullptr;
    target->kind = kind;
    target->owner = owner;
    target->parent = parent;
    return target;
}

void dispose_target(EventTargetRef target) {
    if (!cf::check_type(target, target_type_id(), __func__))
        return;
    release_handlers(target);
    target->owner = nullptr;
    target->parent = nullptr;
    CFRelease(target);
}

} // namespace hit

EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr userRoutine) {
    return userRoutine;
}

void DisposeEventHandlerUPP(EventHandlerUPP) {
    // A procedure pointer is the function's address: nothing was allocated.
}

OSStatus InvokeEventHandlerUPP(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                               void* inUserData, EventHandlerUPP userUPP) {
    if (userUPP == nullptr)
        return paramErr;
    return userUPP(inHandlerCallRef, inEvent, inUserData);
}

EventTargetRef GetApplicationEventTarget(void) {
    static EventTargetRef application =
        hit::create_target(hit::TargetKind::application, nullptr, nullptr);
    return application;
}

OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler,
                             ItemCount inNumTypes, const EventTypeSpec* inList, void* inUserData,
                             EventHandlerRef* outRef) {
    if (!cf::check_type(inTarget, hit::target_type_id(), __func__) || inHandler == nullptr ||
        (inList == nullptr && inNumTypes > 0))
        return paramErr;
    // The same procedure and user data may be installed more than once; each installation
    // is removed on its own. Dispatch calls such a pair once per event (EventDispatch.cpp).
    auto* handler = cf::create<OpaqueEventHandlerRef>(nullptr, hit::handler_type_id());
    if (handler == nullptr)
        return memFullErr;
    handler->target = inTarget;
    handler->proc = inHandler;
    handler->user_data = inUserData;
    add_types(handler, inNumTypes, inList);
    inTarget->handlers.push_back(handler);
    if (outRef != nullptr)
        *outRef = handler;
    return noErr;
}

OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef) {
    OpaqueEventHandlerRef* handler = live_handler(inHandlerRef, __func__);
    if (handler == nullptr)
        return paramErr;
    auto& handlers = handler->target->handlers;
    handlers.erase(std::remove(handlers.begin(), handlers.end(), handler), handlers.end());
    handler->target = nullptr;
    CFRelease(handler);
    return noErr;
}

OSStatus AddEventTypesToHandler(EventHandlerRef inHandlerRef, ItemCount inNumTypes,
                                const EventTypeSpec* inList) {
    OpaqueEventHandlerRef* handler = live_handler(inHandlerRef, __func__);
    if (handler == nullptr || (inList == nullptr && inNumTypes > 0))
        return paramErr;
    add_types(handler, inNumTypes, inList);
    return noErr;
}

OSStatus RemoveEventTypesFromHandler(EventHandlerRef inHandlerRef, ItemCount inNumTypes,
                                     const EventTypeSpec* inList) {
    OpaqueEventHandlerRef* handler = live_handler(inHandlerRef, __func__);
    if (handler == nullptr || (inList == nullptr && inNumTypes > 0))
        return paramErr;
    for (ItemCount i = 0; i < inNumTypes; ++i) {
        auto& types = handler->types;
        auto it = std::find_if(types.begin(), types.end(), [&](const hit::TypeCount& t) {
            return t.event_class == inList[i].eventClass && t.event_kind == inList[i].eventKind;
        });
        if (it != types.end() && --it->count == 0)
            types.erase(it);
    }
    return noErr;
}
