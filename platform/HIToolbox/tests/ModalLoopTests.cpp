// Modal loops fed by an event source: quitting, nesting, a source that runs
// dry or fails (the loop ends loudly instead of hanging), a window disposed
// of under its loop, and a source replaced while it runs.
#include "ModalInternal.h"

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A source whose actions are test code; the last action may fail.
struct TestSource {
    std::vector<std::function<OSStatus()>> actions;
    size_t next = 0;
    int released = 0;

    static OSStatus perform(void* info) {
        auto* self = static_cast<TestSource*>(info);
        if (self->next == self->actions.size())
            return eofErr;
        // Advance first: an action may run a nested loop that pulls the next one.
        return self->actions[self->next++]();
    }
    static void release(void* info) { ++static_cast<TestSource*>(info)->released; }

    void install() {
        const PlatformEventSource source{"test source", this, perform, nullptr, release};
        PlatformSetEventSource(&source);
    }
};

struct ModalLoop : testing::Test {
    TestSource source;
    WindowRef dialog = nullptr, alert = nullptr;

    void SetUp() override {
        const Rect bounds{50, 50, 250, 350};
        CreateNewWindow(kMovableModalWindowClass, 0, &bounds, &dialog);
        CreateNewWindow(kAlertWindowClass, 0, &bounds, &alert);
        SetWindowTitleWithCFString(dialog, CFSTR("Dialog"));
        ShowWindow(dialog);
        ShowWindow(alert); // in front of the dialog until the dialog's loop selects it
    }
    void TearDown() override {
        PlatformSetEventSource(nullptr);
        DisposeWindow(alert);
        DisposeWindow(dialog);
    }
};

TEST_F(ModalLoop, RunsActionsUntilItsWindowQuitsIt) {
    int seen = 0;
    source.actions = {
        [&] {
            EXPECT_EQ(dialog, FrontWindow()); // the loop brought its window forward
            EXPECT_EQ(dialog, hit::action_window());
            ++seen;
            return noErr;
        },
        [&] { return QuitAppModalLoopForWindow(dialog); },
        [&] { return ++seen, noErr; }, // left for the host's loop
    };
    source.install();
    EXPECT_EQ(windowNoAppModalStateErr, QuitAppModalLoopForWindow(dialog));
    EXPECT_EQ(noErr, RunAppModalLoopForWindow(dialog));
    EXPECT_EQ(1, seen);
    EXPECT_EQ(windowNoAppModalStateErr, QuitAppModalLoopForWindow(dialog)); // over
    EXPECT_EQ(noErr, PlatformRunEventSource());
    EXPECT_EQ(2, seen);
    EXPECT_EQ(errInvalidWindowRef, RunAppModalLoopForWindow(nullptr));
}

TEST_F(ModalLoop, LoopsNestAndTheInnermostTakesTheActions) {
    std::vector<WindowRef> targets;
    source.actions = {
        [&] {
            targets.push_back(hit::action_window());
            return RunAppModalLoopForWindow(alert); // as a handler showing an alert does
        },
        [&] {
            targets.push_back(hit::action_window());
            QuitAppModalLoopForWindow(dialog); // the outer one ends after the inner
            return QuitAppModalLoopForWindow(alert);
        },
    };
    source.install();
    EXPECT_EQ(noErr, RunAppModalLoopForWindow(dialog));
    ASSERT_EQ(2u, targets.size());
    EXPECT_EQ(dialog, targets[0]);
    EXPECT_EQ(alert, targets[1]);
    EXPECT_EQ(2u, source.next);
}

TEST_F(ModalLoop, ASourceThatRunsDryOrFailsEndsTheLoopLoudly) {
    source.actions = {[] { return noErr; }};
    source.install();
    testing::internal::CaptureStderr();
    EXPECT_EQ(eventLoopTimedOutErr, RunAppModalLoopForWindow(dialog));
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, message.find("RunAppModalLoopForWindow(\"Dialog\")")) << message;
    EXPECT_NE(std::string::npos, message.find("test source has no more actions")) << message;
    // The host's loop learns that a dialog was left waiting.
    EXPECT_EQ(eventLoopTimedOutErr, PlatformRunEventSource());

    TestSource failing;
    failing.actions = {[] { return static_cast<OSStatus>(errUnknownControl); }};
    failing.install();
    EXPECT_EQ(errUnknownControl, RunAppModalLoopForWindow(dialog));

    PlatformSetEventSource(nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(eventLoopTimedOutErr, RunAppModalLoopForWindow(dialog));
    EXPECT_NE(std::string::npos,
              testing::internal::GetCapturedStderr().find("no event source is installed"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(paramErr, PlatformRunEventSource());
    testing::internal::GetCapturedStderr();
}

TEST_F(ModalLoop, DisposingTheWindowEndsItsLoop) {
    WindowRef doomed = nullptr;
    const Rect bounds{0, 0, 100, 100};
    CreateNewWindow(kModalWindowClass, 0, &bounds, &doomed);
    ShowWindow(doomed);
    source.actions = {[&] { return DisposeWindow(doomed), noErr; }};
    source.install();
    EXPECT_EQ(noErr, RunAppModalLoopForWindow(doomed));
    EXPECT_EQ(1u, source.next); // nothing more was pulled for the gone window
}

TEST_F(ModalLoop, ModalStatesPairAndReplacedSourcesAreReleasedAfterTheirCall) {
    EXPECT_EQ(windowNoAppModalStateErr, EndAppModalStateForWindow(dialog));
    EXPECT_EQ(noErr, BeginAppModalStateForWindow(dialog));
    EXPECT_EQ(noErr, BeginAppModalStateForWindow(dialog));
    EXPECT_EQ(noErr, EndAppModalStateForWindow(dialog));
    EXPECT_EQ(noErr, EndAppModalStateForWindow(dialog));
    EXPECT_EQ(windowNoAppModalStateErr, EndAppModalStateForWindow(dialog));

    TestSource second;
    second.actions = {[&] { return QuitAppModalLoopForWindow(dialog); }};
    source.actions = {[&] {
        second.install();              // replaces the running source
        EXPECT_EQ(0, source.released); // not while its call runs
        return noErr;
    }};
    source.install();
    EXPECT_EQ(noErr, RunAppModalLoopForWindow(dialog));
    EXPECT_EQ(1, source.released);
    EXPECT_EQ(1u, second.next);
    PlatformSetEventSource(nullptr);
    EXPECT_EQ(1, second.released);
}

} // namespace
