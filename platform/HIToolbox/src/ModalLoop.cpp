// Application-modal loops and the event source they pull user actions from.
// A loop asks the source for one action at a time and stops when its window
// quits it; a source with nothing left ends every waiting loop loudly rather
// than letting it hang.
#include "ModalInternal.h"
#include "TextInternal.h"
#include "WindowInternal.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <HIToolbox/PlatformHost.h>

#include <CoreFoundation/PlatformHost.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Loop {
    WindowRef window;
    bool quit = false;
};

struct Source {
    PlatformEventSource callbacks{};
    std::string name;
};

// Innermost last. Plain pointers to the loops on the stack of their Run call.
std::vector<Loop*>& loops() {
    static auto* stack = new std::vector<Loop*>;
    return *stack;
}

// One entry per Begin; each holds a reference to its window.
std::vector<WindowRef>& modal_states() {
    static auto* states = new std::vector<WindowRef>;
    return *states;
}

struct SourceState {
    Source* current = nullptr;
    std::vector<Source*> retired; // replaced while one of their calls ran
    int calls_running = 0;
    bool starved = false; // a loop ended because the source ran dry
};

SourceState& sources() {
    static auto* state = new SourceState;
    return *state;
}

struct AlertTexts {
    WindowRef window; // plain: alerts unregister before their window goes
    std::string message;
    std::string explanation;
};

std::vector<AlertTexts>& alerts() {
    static auto* list = new std::vector<AlertTexts>;
    return *list;
}

void release_source(Source* source) {
    if (source->callbacks.release != nullptr)
        source->callbacks.release(source->callbacks.info);
    delete source;
}

void release_retired() {
    SourceState& state = sources();
    if (state.calls_running > 0)
        return;
    std::vector<Source*> retired;
    retired.swap(state.retired);
    for (Source* source : retired)
        release_source(source);
}

std::string window_name(WindowRef window) {
    return "\"" + hit::utf8(window->title.get()) + "\"";
}

// One action from the source, on behalf of whoever waits for it.
OSStatus next_action(const char* waiter) {
    SourceState& state = sources();
    Source* source = state.current;
    if (source == nullptr || source->callbacks.performNextAction == nullptr) {
        cf::report(waiter, "no event source is installed; the loop ends");
        state.starved = true;
        return eventLoopTimedOutErr;
    }
    ++state.calls_running;
    const OSStatus status = source->callbacks.performNextAction(source->callbacks.info);
    --state.calls_running;
    const std::string name = source->name; // the source may be retired below
    release_retired();
    if (status == eofErr) {
        cf::report(waiter, "the event source %s has no more actions; the loop ends", name.c_str());
        state.starved = true;
        return eventLoopTimedOutErr;
    }
    return status;
}

void end_modal_state(WindowRef window) {
    auto& states = modal_states();
    auto it = std::find(states.rbegin(), states.rend(), window);
    if (it == states.rend())
        return;
    states.erase(std::next(it).base());
    CFRelease(window);
}

} // namespace

namespace hit {

WindowRef action_window() {
    for (auto it = loops().rbegin(); it != loops().rend(); ++it)
        if (!(*it)->window->disposed && !(*it)->quit)
            return (*it)->window;
    return FrontWindow();
}

void register_alert(WindowRef window, const std::string& message, const std::string& explanation) {
    alerts().push_back({window, message, explanation});
}

void unregister_alert(WindowRef window) {
    auto& list = alerts();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const AlertTexts& a) { return a.window == window; }),
               list.end());
}

bool alert_texts(WindowRef window, std::string& message, std::string& explanation) {
    for (const AlertTexts& alert : alerts())
        if (alert.window == window) {
            message = alert.message;
            explanation = alert.explanation;
            return true;
        }
    return false;
}

std::string alert_message(WindowRef window) {
    std::string message, explanation;
    alert_texts(window, message, explanation);
    return message;
}

OSStatus run_modal_loop(WindowRef window, const std::string& waiter,
                        const std::function<bool()>& before_each) {
    BeginAppModalStateForWindow(window); // holds the window while the loop runs
    SelectWindow(window);
    Loop loop{window};
    loops().push_back(&loop);
    OSStatus status = noErr;
    while (!loop.quit && !window->disposed) {
        if (before_each && before_each())
            break;
        status = next_action(waiter.c_str());
        if (status != noErr)
            break;
    }
    auto& stack = loops();
    stack.erase(std::remove(stack.begin(), stack.end(), &loop), stack.end());
    end_modal_state(window);
    return status;
}

} // namespace hit

OSStatus BeginAppModalStateForWindow(WindowRef inWindow) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, __func__);
    if (window == nullptr)
        return errInvalidWindowRef;
    CFRetain(window);
    modal_states().push_back(window);
    return noErr;
}

OSStatus EndAppModalStateForWindow(WindowRef inWindow) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, __func__);
    if (window == nullptr)
        return errInvalidWindowRef;
    auto& states = modal_states();
    if (std::find(states.begin(), states.end(), window) == states.end())
        return windowNoAppModalStateErr;
    end_modal_state(window);
    return noErr;
}

OSStatus RunAppModalLoopForWindow(WindowRef inWindow) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, __func__);
    if (window == nullptr)
        return errInvalidWindowRef;
    return hit::run_modal_loop(window, "RunAppModalLoopForWindow(" + window_name(window) + ")", {});
}

OSStatus QuitAppModalLoopForWindow(WindowRef inWindow) {
    if (hit::live_window(inWindow, __func__) == nullptr)
        return errInvalidWindowRef;
    for (auto it = loops().rbegin(); it != loops().rend(); ++it)
        if ((*it)->window == inWindow && !(*it)->quit) {
            (*it)->quit = true;
            return noErr;
        }
    return windowNoAppModalStateErr;
}

namespace {

// Notices go to standard error, as without a source, and to the source.
void forward_notice(CFOptionFlags level, CFStringRef header, CFStringRef message, CFStringRef,
                    void*) {
    cf::report("notice", "%s: %s", hit::utf8(header).c_str(), hit::utf8(message).c_str());
    Source* source = sources().current;
    if (source != nullptr && source->callbacks.notice != nullptr)
        source->callbacks.notice(source->callbacks.info, level, header, message);
}

} // namespace

void PlatformSetEventSource(const PlatformEventSource* source) {
    SourceState& state = sources();
    if (state.current != nullptr)
        state.retired.push_back(state.current);
    state.current = nullptr;
    state.starved = false;
    if (source != nullptr) {
        state.current = new Source{*source, source->name != nullptr ? source->name : "(unnamed)"};
        state.current->callbacks.name = state.current->name.c_str();
    }
    const bool wants_notices = source != nullptr && source->notice != nullptr;
    PlatformSetNoticeHandler(wants_notices ? forward_notice : nullptr, nullptr);
    release_retired();
}

OSStatus PlatformRunEventSource(void) {
    SourceState& state = sources();
    if (state.current == nullptr) {
        cf::report("PlatformRunEventSource", "no event source is installed");
        return paramErr;
    }
    for (;;) {
        Source* source = state.current;
        ++state.calls_running;
        const OSStatus status = source->callbacks.performNextAction(source->callbacks.info);
        --state.calls_running;
        release_retired();
        if (status == eofErr || state.current == nullptr)
            return state.starved ? static_cast<OSStatus>(eventLoopTimedOutErr) : noErr;
        if (status != noErr)
            return status;
    }
}
