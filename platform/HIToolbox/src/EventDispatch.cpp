// The one place where events are dispatched.
//
// SendEventToEventTarget builds the dispatch chain once, up front: the
// handlers of the target (most recently installed first) that take the
// event's class and kind, then those of its parent, and so on up to the
// application, then the standard behaviour of each target of the chain.
// A procedure installed several times with the same user data (on one
// target or along the chain) is called once, at its first place: a panel
// that watches the same window twice must not act twice on one event.
// Steps are then run in order until one returns something other than
// eventNotHandledErr. Everything in the chain is retained while it runs, so
// handlers may remove themselves or others, or dispose of their own window:
// a removed handler, or a standard behaviour whose object is gone, is
// skipped.
#include "EventInternal.h"

#include <map>
#include <tuple>

namespace {

struct Step {
    EventHandlerRef handler = nullptr;       // a user handler, or
    hit::StandardHandler standard = nullptr; // a standard behaviour for
    EventTargetRef target = nullptr;         // this target of the chain
};

struct Dispatch {
    EventRef event = nullptr;
    UInt32 event_class = 0;
    UInt32 event_kind = 0;
    std::vector<EventTargetRef> chain;
    std::vector<Step> steps;
    size_t next = 0;

    Dispatch() = default;
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;
    ~Dispatch() {
        for (const Step& step : steps)
            if (step.handler != nullptr)
                CFRelease(step.handler);
        for (EventTargetRef target : chain)
            CFRelease(target);
        CFRelease(event);
    }
};

// The user input events (mouse, keyboard, text input) being dispatched, innermost last: what
// GetCurrentEvent answers. Plain pointers: each dispatch holds its event while it runs.
std::vector<EventRef>& input_events() {
    static auto* stack = new std::vector<EventRef>;
    return *stack;
}

bool is_user_input(UInt32 event_class) {
    return event_class == kEventClassMouse || event_class == kEventClassKeyboard ||
           event_class == kEventClassTextInput;
}

} // namespace

// Lives on the stack for the length of one handler call; its header is
// cleared afterwards so that a kept call reference is recognised as stale.
struct OpaqueEventHandlerCallRef : cf::Object {
    Dispatch* dispatch = nullptr;
    bool called_next = false;
};

namespace {

const cf::ClassDescriptor kCallRefClass = {"EventHandlerCallRef", nullptr, nullptr, nullptr,
                                           nullptr};

CFTypeID call_ref_type_id() {
    static CFTypeID id = cf::register_class(&kCallRefClass);
    return id;
}

using StandardKey = std::tuple<int, UInt32, UInt32>;

std::map<StandardKey, hit::StandardHandler>& standard_registry() {
    static auto* registry = new std::map<StandardKey, hit::StandardHandler>;
    return *registry;
}

void build_chain(Dispatch& d, EventTargetRef target, bool propagate) {
    for (EventTargetRef t = target; t != nullptr;
         t = (propagate && t->parent != nullptr && t->owner != nullptr) ? t->parent(t->owner)
                                                                        : nullptr) {
        CFRetain(t);
        d.chain.push_back(t);
    }
}

// True when the chain already calls this procedure with this user data.
bool already_in_steps(const Dispatch& d, const OpaqueEventHandlerRef* handler) {
    for (const Step& step : d.steps)
        if (step.handler != nullptr && step.handler->proc == handler->proc &&
            step.handler->user_data == handler->user_data)
            return true;
    return false;
}

void build_steps(Dispatch& d) {
    for (EventTargetRef target : d.chain) {
        for (auto it = target->handlers.rbegin(); it != target->handlers.rend(); ++it) {
            if ((*it)->handles(d.event_class, d.event_kind) && !already_in_steps(d, *it)) {
                CFRetain(*it);
                d.steps.push_back({*it, nullptr, target});
            }
        }
    }
    for (EventTargetRef target : d.chain) {
        hit::StandardHandler standard =
            hit::find_standard_handler(target->kind, d.event_class, d.event_kind);
        if (standard != nullptr)
            d.steps.push_back({nullptr, standard, target});
    }
}

bool step_is_live(const Dispatch& d, const Step& step) {
    if (step.handler != nullptr)
        return step.handler->target != nullptr &&
               step.handler->handles(d.event_class, d.event_kind);
    return step.target->kind == hit::TargetKind::application || step.target->owner != nullptr;
}

OSStatus run_from_next(Dispatch& d) {
    while (d.next < d.steps.size()) {
        const Step step = d.steps[d.next++];
        if (!step_is_live(d, step))
            continue;
        OpaqueEventHandlerCallRef call;
        cf::init_header(&call, nullptr, call_ref_type_id());
        call.dispatch = &d;
        OSStatus status = step.handler != nullptr
                              ? step.handler->proc(&call, d.event, step.handler->user_data)
                              : step.standard(&call, d.event, step.target);
        call.magic = 0;
        // After CallNextEventHandler the rest of the chain has already run.
        if (call.called_next || status != eventNotHandledErr)
            return status;
    }
    return eventNotHandledErr;
}

} // namespace

namespace hit {

void register_standard_handler(TargetKind kind, UInt32 event_class, UInt32 event_kind,
                               StandardHandler handler) {
    standard_registry()[{static_cast<int>(kind), event_class, event_kind}] = handler;
}

StandardHandler find_standard_handler(TargetKind kind, UInt32 event_class, UInt32 event_kind) {
    auto& registry = standard_registry();
    auto it = registry.find({static_cast<int>(kind), event_class, event_kind});
    return it == registry.end() ? nullptr : it->second;
}

OSStatus send_notification(EventTargetRef target, UInt32 event_class, UInt32 event_kind,
                           EventParamType type, const void* object) {
    EventRef event = nullptr;
    OSStatus status = CreateEvent(nullptr, event_class, event_kind, GetCurrentEventTime(),
                                  kEventAttributeNone, &event);
    if (status != noErr)
        return status;
    status = SetEventParameter(event, kEventParamDirectObject, type, sizeof(object), &object);
    if (status == noErr)
        status = SendEventToEventTarget(event, target);
    ReleaseEvent(event);
    return status;
}

} // namespace hit

OSStatus SendEventToEventTargetWithOptions(EventRef inEvent, EventTargetRef inTarget,
                                           OptionBits inOptions) {
    if (hit::event_object(inEvent, __func__) == nullptr ||
        !cf::check_type(inTarget, hit::target_type_id(), __func__))
        return paramErr;
    Dispatch d;
    d.event = inEvent;
    CFRetain(inEvent);
    d.event_class = inEvent->event_class;
    d.event_kind = inEvent->event_kind;
    build_chain(d, inTarget, (inOptions & kEventTargetDontPropagate) == 0);
    build_steps(d);
    if (!is_user_input(d.event_class))
        return run_from_next(d);
    input_events().push_back(inEvent);
    const OSStatus status = run_from_next(d);
    input_events().pop_back();
    return status;
}

EventRef GetCurrentEvent(void) {
    const std::vector<EventRef>& stack = input_events();
    return stack.empty() ? nullptr : stack.back();
}

OSStatus SendEventToEventTarget(EventRef inEvent, EventTargetRef inTarget) {
    return SendEventToEventTargetWithOptions(inEvent, inTarget, 0);
}

OSStatus CallNextEventHandler(EventHandlerCallRef inCallRef, EventRef inEvent) {
    if (!cf::check_type(inCallRef, call_ref_type_id(), __func__) ||
        inCallRef->dispatch == nullptr || inEvent != inCallRef->dispatch->event)
        return paramErr;
    inCallRef->called_next = true;
    return run_from_next(*inCallRef->dispatch);
}
