// Windows: lifetime, the window list, bounds, titles, events and the default
// and cancel buttons.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UInt32> gWindowEvents;

OSStatus record_window_event(EventHandlerCallRef, EventRef event, void*) {
    gWindowEvents.push_back(GetEventKind(event));
    return eventNotHandledErr;
}

WindowRef make_window(WindowClass window_class = kDocumentWindowClass) {
    const Rect bounds{100, 50, 400, 450};
    WindowRef window = nullptr;
    EXPECT_EQ(noErr,
              CreateNewWindow(window_class, kWindowStandardHandlerAttribute, &bounds, &window));
    return window;
}

TEST(Window, CreationArgumentsAndAttributes) {
    const Rect bounds{0, 0, 10, 10};
    WindowRef window = nullptr;
    EXPECT_EQ(errUnrecognizedWindowClass, CreateNewWindow(7, 0, &bounds, &window));
    EXPECT_EQ(paramErr, CreateNewWindow(kDocumentWindowClass, 0, nullptr, &window));

    window = make_window(kMovableModalWindowClass);
    WindowClass window_class = 0;
    WindowAttributes attributes = 0;
    EXPECT_EQ(noErr, GetWindowClass(window, &window_class));
    EXPECT_EQ(noErr, GetWindowAttributes(window, &attributes));
    EXPECT_EQ(static_cast<WindowClass>(kMovableModalWindowClass), window_class);
    EXPECT_EQ(static_cast<WindowAttributes>(kWindowStandardHandlerAttribute), attributes);
    EXPECT_FALSE(IsWindowVisible(window)); // windows start hidden
    EXPECT_EQ(window, GetWindowFromPort(GetWindowPort(window)));
    Rect port{};
    GetPortBounds(GetWindowPort(window), &port);
    EXPECT_EQ(300, port.bottom);
    EXPECT_EQ(400, port.right);
    DisposeWindow(window);
}

TEST(Window, ListRunsFrontToBackAndForgetsDisposedWindows) {
    WindowRef back = make_window(kDocumentWindowClass);
    WindowRef front = make_window(kFloatingWindowClass);
    EXPECT_EQ(front, GetWindowList());
    EXPECT_EQ(back, GetNextWindow(front));
    EXPECT_EQ(nullptr, FrontWindow()); // neither is visible
    ShowWindow(back);
    EXPECT_EQ(back, FrontWindow());
    EXPECT_EQ(back, GetFrontWindowOfClass(kDocumentWindowClass, true));
    EXPECT_EQ(nullptr, GetNextWindowOfClass(front, kFloatingWindowClass, false));

    SelectWindow(back);
    EXPECT_EQ(back, GetWindowList());
    EXPECT_TRUE(IsWindowActive(back));

    WindowRef listed[4] = {};
    EXPECT_EQ(2u, PlatformCopyWindowList(listed, 4));
    EXPECT_EQ(back, listed[0]);
    EXPECT_EQ(front, listed[1]);
    DisposeWindow(back);
    EXPECT_EQ(1u, PlatformCopyWindowList(nullptr, 0));
    EXPECT_EQ(front, GetWindowList());
    DisposeWindow(front);
    EXPECT_EQ(0u, PlatformCopyWindowList(nullptr, 0));
}

TEST(Window, StateChangesSendTheirEventsOnce) {
    WindowRef window = make_window();
    const EventTypeSpec types[] = {{kEventClassWindow, kEventWindowShown},
                                   {kEventClassWindow, kEventWindowHidden},
                                   {kEventClassWindow, kEventWindowActivated},
                                   {kEventClassWindow, kEventWindowDeactivated},
                                   {kEventClassWindow, kEventWindowBoundsChanged},
                                   {kEventClassWindow, kEventWindowClosed}};
    // On the application: window events propagate there.
    EventHandlerRef handler = nullptr;
    InstallApplicationEventHandler(record_window_event, GetEventTypeCount(types), types, nullptr,
                                   &handler);
    gWindowEvents.clear();
    ShowWindow(window);
    ShowWindow(window);
    ActivateWindow(window, true);
    ActivateWindow(window, false);
    HideWindow(window);
    DisposeWindow(window);
    RemoveEventHandler(handler);
    EXPECT_EQ(
        (std::vector<UInt32>{kEventWindowShown, kEventWindowActivated, kEventWindowDeactivated,
                             kEventWindowHidden, kEventWindowClosed}),
        gWindowEvents);
}

Rect gReportedBounds;
UInt32 gReportedAttributes;
OSStatus record_bounds(EventHandlerCallRef, EventRef event, void*) {
    GetEventParameter(event, kEventParamCurrentBounds, typeQDRectangle, nullptr, sizeof(Rect),
                      nullptr, &gReportedBounds);
    GetEventParameter(event, kEventParamAttributes, typeUInt32, nullptr, sizeof(UInt32), nullptr,
                      &gReportedAttributes);
    return noErr;
}

TEST(Window, BoundsRoundTripAndTellTheWindowWhatChanged) {
    WindowRef window = make_window();
    ControlRef root = HIViewGetRoot(window);
    const EventTypeSpec type = {kEventClassWindow, kEventWindowBoundsChanged};
    InstallWindowEventHandler(window, record_bounds, 1, &type, nullptr, nullptr);

    const Rect moved{120, 50, 420, 450};
    EXPECT_EQ(noErr, SetWindowBounds(window, kWindowContentRgn, &moved));
    EXPECT_EQ(static_cast<UInt32>(kWindowBoundsChangeOriginChanged), gReportedAttributes);
    const Rect resized{120, 50, 500, 450};
    SetWindowBounds(window, kWindowStructureRgn, &resized);
    EXPECT_EQ(static_cast<UInt32>(kWindowBoundsChangeSizeChanged), gReportedAttributes);
    EXPECT_EQ(500, gReportedBounds.bottom);

    Rect got{};
    EXPECT_EQ(noErr, GetWindowBounds(window, kWindowContentRgn, &got));
    EXPECT_EQ(500, got.bottom);
    EXPECT_EQ(errWindowRegionCodeInvalid, GetWindowBounds(window, kWindowGrowRgn, &got));
    // The root control follows the content size.
    GetControlBounds(root, &got);
    EXPECT_EQ(380, got.bottom);
    EXPECT_EQ(400, got.right);
    DisposeWindow(window);
}

TEST(Window, TitleIsACopyAndCopiesOut) {
    WindowRef window = make_window();
    CFStringRef title = nullptr;
    EXPECT_EQ(noErr, CopyWindowTitleAsCFString(window, &title));
    ASSERT_NE(nullptr, title);
    EXPECT_EQ(0, CFStringGetLength(title)); // no title yet: an empty string
    CFRelease(title);

    CFMutableStringRef name = CFStringCreateMutable(nullptr, 0);
    CFStringAppend(name, CFSTR("Print"));
    SetWindowTitleWithCFString(window, name);
    CFStringAppend(name, CFSTR(" later"));
    CopyWindowTitleAsCFString(window, &title);
    EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(title, CFSTR("Print"), 0));
    CFRelease(title);
    CFRelease(name);
    DisposeWindow(window);
}

TEST(Window, DefaultAndCancelButtons) {
    WindowRef window = make_window();
    WindowRef other = make_window();
    const Rect r{10, 10, 30, 90};
    ControlRef ok = nullptr, cancel = nullptr, stranger = nullptr;
    CreatePushButtonControl(window, &r, CFSTR("OK"), &ok);
    CreatePushButtonControl(window, &r, CFSTR("Cancel"), &cancel);
    CreatePushButtonControl(other, &r, CFSTR("Elsewhere"), &stranger);

    ControlRef got = ok;
    EXPECT_EQ(noErr, GetWindowDefaultButton(window, &got));
    EXPECT_EQ(nullptr, got);
    EXPECT_EQ(paramErr, SetWindowDefaultButton(window, stranger));
    EXPECT_EQ(noErr, SetWindowDefaultButton(window, ok));
    EXPECT_EQ(noErr, SetWindowCancelButton(window, cancel));
    GetWindowDefaultButton(window, &got);
    EXPECT_EQ(ok, got);
    GetWindowCancelButton(window, &got);
    EXPECT_EQ(cancel, got);

    // The buttons know what they are.
    Boolean flag = false;
    GetControlData(ok, kControlEntireControl, kControlPushButtonDefaultTag, sizeof(flag), &flag,
                   nullptr);
    EXPECT_TRUE(flag);
    GetControlData(cancel, kControlEntireControl, kControlPushButtonCancelTag, sizeof(flag), &flag,
                   nullptr);
    EXPECT_TRUE(flag);

    // A new default takes the flag from the old one; a disposed button is forgotten.
    SetWindowDefaultButton(window, cancel);
    GetControlData(ok, kControlEntireControl, kControlPushButtonDefaultTag, sizeof(flag), &flag,
                   nullptr);
    EXPECT_FALSE(flag);
    DisposeControl(cancel);
    GetWindowDefaultButton(window, &got);
    EXPECT_EQ(nullptr, got);
    GetWindowCancelButton(window, &got);
    EXPECT_EQ(nullptr, got);
    DisposeWindow(other);
    DisposeWindow(window);
}

TEST(Window, BadReferencesGiveErrorsNotCrashes) {
    WindowRef window = make_window();
    CFRetain(window); // keep the object so the disposed window can still be asked
    DisposeWindow(window);
    Rect r{};
    EXPECT_EQ(errInvalidWindowRef, GetWindowBounds(window, kWindowContentRgn, &r));
    EXPECT_EQ(nullptr, GetWindowEventTarget(window));
    EXPECT_EQ(errInvalidWindowRef, GetWindowBounds(nullptr, kWindowContentRgn, &r));
    CFRelease(window);
}

} // namespace
