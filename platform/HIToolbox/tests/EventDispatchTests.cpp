// Dispatch order, CallNextEventHandler, propagation to the parent targets and
// the standard behaviour, and removal of handlers while an event runs.
#include <HIToolbox/HIToolbox.h>

#include "EventInternal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gLog;

// What a recording handler does when called.
struct Recorder {
    std::string name;
    OSStatus result = eventNotHandledErr;
    bool call_next = false;
    EventHandlerRef remove = nullptr; // a handler to remove while running
    OSStatus next_result = 0;
};

OSStatus record(EventHandlerCallRef call, EventRef event, void* data) {
    auto* r = static_cast<Recorder*>(data);
    gLog.push_back(r->name);
    if (r->remove != nullptr)
        RemoveEventHandler(r->remove);
    if (r->call_next) {
        r->next_result = CallNextEventHandler(call, event);
        gLog.push_back(r->name + " after next");
    }
    return r->result;
}

const EventTypeSpec kCommand = {kEventClassCommand, kEventCommandProcess};

OSStatus send_command(EventTargetRef target, OptionBits options = 0) {
    EventRef event = nullptr;
    CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, 0, &event);
    OSStatus status = SendEventToEventTargetWithOptions(event, target, options);
    ReleaseEvent(event);
    return status;
}

class Dispatch : public ::testing::Test {
  protected:
    void SetUp() override {
        gLog.clear();
        ASSERT_EQ(noErr, CreateNewMenu(1, 0, &menu));
    }
    void TearDown() override {
        for (EventHandlerRef ref : app_handlers)
            RemoveEventHandler(ref);
        DisposeMenu(menu);
    }
    EventHandlerRef install(EventTargetRef target, Recorder& r) {
        EventHandlerRef ref = nullptr;
        EXPECT_EQ(noErr, InstallEventHandler(target, record, 1, &kCommand, &r, &ref));
        if (target == GetApplicationEventTarget())
            app_handlers.push_back(ref);
        return ref;
    }

    MenuRef menu = nullptr;
    std::vector<EventHandlerRef> app_handlers;
};

TEST_F(Dispatch, MostRecentFirstThenParentUntilHandled) {
    Recorder first{"first"}, second{"second"}, app{"app", noErr};
    install(GetMenuEventTarget(menu), first);
    install(GetMenuEventTarget(menu), second);
    install(GetApplicationEventTarget(), app);

    EXPECT_EQ(noErr, send_command(GetMenuEventTarget(menu)));
    EXPECT_EQ((std::vector<std::string>{"second", "first", "app"}), gLog);

    // A handled result stops the event where it is.
    gLog.clear();
    second.result = 42;
    EXPECT_EQ(42, send_command(GetMenuEventTarget(menu)));
    EXPECT_EQ((std::vector<std::string>{"second"}), gLog);
}

TEST_F(Dispatch, DontPropagateKeepsTheEventOnItsTarget) {
    Recorder own{"own"}, app{"app", noErr};
    install(GetMenuEventTarget(menu), own);
    install(GetApplicationEventTarget(), app);
    EXPECT_EQ(eventNotHandledErr,
              send_command(GetMenuEventTarget(menu), kEventTargetDontPropagate));
    EXPECT_EQ((std::vector<std::string>{"own"}), gLog);
}

TEST_F(Dispatch, HandlersSeeOnlyTheirEventTypes) {
    Recorder r{"r", noErr};
    EventHandlerRef ref = nullptr;
    ASSERT_EQ(noErr, InstallEventHandler(GetMenuEventTarget(menu), record, 0, nullptr, &r, &ref));
    EXPECT_EQ(eventNotHandledErr, send_command(GetMenuEventTarget(menu)));
    EXPECT_TRUE(gLog.empty());

    // Types are counted: added twice, removed once, still taken.
    AddEventTypesToHandler(ref, 1, &kCommand);
    AddEventTypesToHandler(ref, 1, &kCommand);
    RemoveEventTypesFromHandler(ref, 1, &kCommand);
    EXPECT_EQ(noErr, send_command(GetMenuEventTarget(menu)));
    RemoveEventTypesFromHandler(ref, 1, &kCommand);
    EXPECT_EQ(eventNotHandledErr, send_command(GetMenuEventTarget(menu)));
    EXPECT_EQ(1u, gLog.size());
}

TEST_F(Dispatch, SameProcAndUserDataRunOncePerEventWhereverInstalled) {
    Recorder r{"r"}, other{"other"};
    install(GetMenuEventTarget(menu), r);
    EventHandlerRef again = nullptr;
    EXPECT_EQ(noErr,
              InstallEventHandler(GetMenuEventTarget(menu), record, 1, &kCommand, &r, &again));
    ASSERT_NE(nullptr, again);
    install(GetApplicationEventTarget(), r);
    install(GetApplicationEventTarget(), other);
    send_command(GetMenuEventTarget(menu));
    EXPECT_EQ((std::vector<std::string>{"r", "other"}), gLog);
    // Each installation is removed on its own: the pair still runs while one remains.
    gLog.clear();
    EXPECT_EQ(noErr, RemoveEventHandler(again));
    send_command(GetMenuEventTarget(menu));
    EXPECT_EQ((std::vector<std::string>{"r", "other"}), gLog);
}

TEST_F(Dispatch, CallNextRunsTheRestOfTheChainOnce) {
    Recorder lower{"lower"}, upper{"upper", 7, true}, app{"app", 5};
    install(GetMenuEventTarget(menu), lower);
    install(GetMenuEventTarget(menu), upper);
    install(GetApplicationEventTarget(), app);

    // The handler's own result ends the dispatch; the chain ran exactly once.
    EXPECT_EQ(7, send_command(GetMenuEventTarget(menu)));
    EXPECT_EQ(5, upper.next_result);
    EXPECT_EQ((std::vector<std::string>{"upper", "lower", "app", "upper after next"}), gLog);

    // Returning eventNotHandledErr after calling next does not rerun the rest.
    gLog.clear();
    upper.result = eventNotHandledErr;
    EXPECT_EQ(eventNotHandledErr, send_command(GetMenuEventTarget(menu)));
    EXPECT_EQ(4u, gLog.size());
}

TEST_F(Dispatch, CallNextOutsideAHandlerFails) {
    EventRef event = nullptr;
    CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, 0, &event);
    EXPECT_EQ(paramErr, CallNextEventHandler(nullptr, event));
    ReleaseEvent(event);
}

// Standard behaviours come last, innermost target first.
std::vector<EventTargetRef> gStandardTargets;
OSStatus standard_not_handled(EventHandlerCallRef, EventRef, EventTargetRef target) {
    gStandardTargets.push_back(target);
    gLog.push_back("standard");
    return eventNotHandledErr;
}
OSStatus standard_handled(EventHandlerCallRef, EventRef, EventTargetRef target) {
    gStandardTargets.push_back(target);
    gLog.push_back("standard app");
    return noErr;
}

TEST_F(Dispatch, StandardBehaviourRunsAfterTheApplicationHandlers) {
    const UInt32 kTestClass = 0x74735431; // an event class of this test only
    hit::register_standard_handler(hit::TargetKind::menu, kTestClass, 1, standard_not_handled);
    hit::register_standard_handler(hit::TargetKind::application, kTestClass, 1, standard_handled);
    Recorder own{"own"}, app{"app"};
    const EventTypeSpec spec = {kTestClass, 1};
    EventHandlerRef app_ref = nullptr;
    InstallEventHandler(GetMenuEventTarget(menu), record, 1, &spec, &own, nullptr);
    InstallEventHandler(GetApplicationEventTarget(), record, 1, &spec, &app, &app_ref);
    app_handlers.push_back(app_ref);

    EventRef event = nullptr;
    CreateEvent(nullptr, kTestClass, 1, 0, 0, &event);
    EXPECT_EQ(noErr, SendEventToEventTarget(event, GetMenuEventTarget(menu)));
    ReleaseEvent(event);
    EXPECT_EQ((std::vector<std::string>{"own", "app", "standard", "standard app"}), gLog);
    EXPECT_EQ((std::vector<EventTargetRef>{GetMenuEventTarget(menu), GetApplicationEventTarget()}),
              gStandardTargets);
    // A handler that takes the event keeps the standard behaviour from running.
    gLog.clear();
    own.result = noErr;
    CreateEvent(nullptr, kTestClass, 1, 0, 0, &event);
    SendEventToEventTarget(event, GetMenuEventTarget(menu));
    ReleaseEvent(event);
    EXPECT_EQ((std::vector<std::string>{"own"}), gLog);
}

TEST_F(Dispatch, AHandlerMayRemoveItselfWhileRunning) {
    Recorder a{"a"}, c{"c"};
    install(GetMenuEventTarget(menu), a);
    c.remove = install(GetMenuEventTarget(menu), c);
    send_command(GetMenuEventTarget(menu));
    EXPECT_EQ((std::vector<std::string>{"c", "a"}), gLog);
    gLog.clear();
    send_command(GetMenuEventTarget(menu));
    EXPECT_EQ((std::vector<std::string>{"a"}), gLog);
}

TEST_F(Dispatch, AHandlerRemovedBeforeItsTurnIsSkipped) {
    Recorder later{"later"}, remover{"remover"};
    remover.remove = install(GetMenuEventTarget(menu), later);
    install(GetMenuEventTarget(menu), remover);
    send_command(GetMenuEventTarget(menu));
    EXPECT_EQ((std::vector<std::string>{"remover"}), gLog);
}

TEST_F(Dispatch, DisposingTheTargetDuringItsOwnEventIsSafe) {
    struct Disposer {
        MenuRef* menu;
    } disposer{&menu};
    auto dispose_menu = [](EventHandlerCallRef, EventRef, void* data) -> OSStatus {
        auto* d = static_cast<Disposer*>(data);
        DisposeMenu(*d->menu);
        *d->menu = nullptr;
        gLog.push_back("disposed");
        return eventNotHandledErr;
    };
    Recorder lower{"lower"}, app{"app"};
    install(GetMenuEventTarget(menu), lower);
    InstallEventHandler(GetMenuEventTarget(menu), dispose_menu, 1, &kCommand, &disposer, nullptr);
    install(GetApplicationEventTarget(), app);
    send_command(GetMenuEventTarget(menu));
    // The menu's other handler went with it; the application still hears.
    EXPECT_EQ((std::vector<std::string>{"disposed", "app"}), gLog);
    ASSERT_EQ(noErr, CreateNewMenu(2, 0, &menu));
}

} // namespace
