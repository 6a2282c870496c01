// Internals of the Carbon Event Manager shared by the files of HIToolbox:
// the event, handler and target objects, the dispatcher's registry of
// standard behaviours, and helpers for the notifications the toolbox sends.
#ifndef HITOOLBOX_SRC_EVENTINTERNAL_H
#define HITOOLBOX_SRC_EVENTINTERNAL_H

#include <HIToolbox/CarbonEvents.h>
#include <CoreFoundation/CFRuntime.h>

#include <cstddef>
#include <vector>

namespace hit {

enum class TargetKind { application, window, control, menu };

struct EventParam {
    EventParamName name;
    EventParamType type;
    std::vector<UInt8> data;
};

// How many times an event type was added to a handler (types are counted).
struct TypeCount {
    UInt32 event_class;
    UInt32 event_kind;
    UInt32 count;
};

// The parent of a target's owner in the dispatch chain, or nullptr.
using ParentFunction = EventTargetRef (*)(void* owner);

} // namespace hit

struct OpaqueEventRef : cf::Object {
    UInt32 event_class = 0;
    UInt32 event_kind = 0;
    EventTime when = 0;
    EventAttributes attributes = 0;
    std::vector<hit::EventParam> params;
};

struct OpaqueEventHandlerRef : cf::Object {
    OpaqueEventTargetRef* target = nullptr; // nullptr once removed
    EventHandlerUPP proc = nullptr;
    void* user_data = nullptr;
    std::vector<hit::TypeCount> types;

    bool handles(UInt32 event_class, UInt32 event_kind) const;
};

struct OpaqueEventTargetRef : cf::Object {
    hit::TargetKind kind = hit::TargetKind::application;
    void* owner = nullptr; // the window, control or menu; nullptr once it is gone
    hit::ParentFunction parent = nullptr;
    // In installation order; each entry holds one reference to its handler.
    std::vector<OpaqueEventHandlerRef*> handlers;
};

namespace hit {

CFTypeID event_type_id();
CFTypeID target_type_id();
CFTypeID handler_type_id();

// A target for an owner object; the owner holds the one reference.
EventTargetRef create_target(TargetKind kind, void* owner, ParentFunction parent);
// Called by the owner as it goes: removes every handler, forgets the owner
// and drops the owner's reference. A dispatch under way keeps the target
// alive but no longer calls anything on it.
void dispose_target(EventTargetRef target);

// The behaviour the toolbox gives an event that no handler took. Called last
// in the dispatch chain, for each target of the chain in turn (innermost
// first), with the target it stands for; eventNotHandledErr passes on.
using StandardHandler = OSStatus (*)(EventHandlerCallRef call, EventRef event,
                                     EventTargetRef target);
// One standard handler per (target kind, event class, event kind); a later
// registration replaces an earlier one.
void register_standard_handler(TargetKind kind, UInt32 event_class, UInt32 event_kind,
                               StandardHandler handler);
StandardHandler find_standard_handler(TargetKind kind, UInt32 event_class, UInt32 event_kind);

// Sends a notification whose direct object is `object` of `type` (a
// reference type such as typeControlRef): the toolbox's own events.
OSStatus send_notification(EventTargetRef target, UInt32 event_class, UInt32 event_kind,
                           EventParamType type, const void* object);

// A live event as the internal object, or nullptr (with a diagnostic for a
// wrong type).
OpaqueEventRef* event_object(EventRef event, const char* function);

} // namespace hit

#endif // HITOOLBOX_SRC_EVENTINTERNAL_H
