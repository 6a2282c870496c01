// Controls: the tree and lookup by ID, embedding (also across windows),
// state through embedders, values, properties, kind data, disposal and the
// propagation of control events.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr OSType kSig = 0x54564B61; // 'TVKa'

struct Fixture : ::testing::Test {
    void SetUp() override {
        const Rect bounds{100, 100, 500, 700};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
    }
    void TearDown() override {
        if (window != nullptr)
            DisposeWindow(window);
    }
    ControlRef pane(SInt32 id, const Rect& r, ControlRef into = nullptr,
                    UInt32 features = kControlSupportsEmbedding) {
        ControlRef c = nullptr;
        EXPECT_EQ(noErr, CreateUserPaneControl(window, &r, features, &c));
        const ControlID cid{kSig, id};
        SetControlID(c, &cid);
        if (into != nullptr) {
            EXPECT_EQ(noErr, EmbedControl(c, into));
        }
        return c;
    }
    ControlRef button(SInt32 id, ControlRef into, CFStringRef title = CFSTR("OK")) {
        const Rect r{10, 10, 30, 90};
        ControlRef c = nullptr;
        EXPECT_EQ(noErr, CreatePushButtonControl(window, &r, title, &c));
        const ControlID cid{kSig, id};
        SetControlID(c, &cid);
        if (into != nullptr)
            EmbedControl(c, into);
        return c;
    }
    ControlRef find(SInt32 id, WindowRef in = nullptr) {
        const ControlID cid{kSig, id};
        ControlRef found = nullptr;
        return GetControlByID(in != nullptr ? in : window, &cid, &found) == noErr ? found : nullptr;
    }
    std::string dump() {
        char* text = nullptr;
        size_t size = 0;
        FILE* out = open_memstream(&text, &size);
        PlatformWriteWindowDump(window, out);
        std::fclose(out);
        std::string result(text, size);
        std::free(text);
        return result;
    }

    WindowRef window = nullptr;
};

using ControlTree = Fixture;

TEST_F(ControlTree, LookupByIDSearchesNestedPanesDepthFirst) {
    ControlRef outer = pane(50, {0, 0, 300, 300});
    ControlRef inner = pane(60, {10, 10, 200, 200}, outer);
    ControlRef deep = button(101, inner);
    ControlRef later = button(101, nullptr); // same ID, later in the root

    EXPECT_EQ(outer, find(50));
    EXPECT_EQ(deep, find(101)); // depth-first: inside the first pane before the next sibling
    EXPECT_EQ(nullptr, find(999));
    const ControlID missing{kSig, 999};
    ControlRef out = nullptr;
    EXPECT_EQ(errUnknownControl, GetControlByID(window, &missing, &out));

    ControlRef super = nullptr;
    GetSuperControl(deep, &super);
    EXPECT_EQ(inner, super);
    UInt16 count = 0;
    ControlRef root = nullptr;
    ASSERT_EQ(noErr, GetRootControl(window, &root));
    CountSubControls(root, &count);
    EXPECT_EQ(2, count);
    ControlRef second = nullptr;
    EXPECT_EQ(noErr, GetIndexedSubControl(root, 2, &second));
    EXPECT_EQ(later, second);
    EXPECT_EQ(paramErr, GetIndexedSubControl(root, 3, &second));
    EXPECT_EQ(window, GetControlOwner(deep));
    ControlKind kind{};
    GetControlKind(deep, &kind);
    EXPECT_EQ(static_cast<OSType>(kControlKindPushButton), kind.kind);
}

TEST_F(ControlTree, RootControlIsMadeOnceOnDemand) {
    ControlRef root = nullptr;
    EXPECT_EQ(errNoRootControl, GetRootControl(window, &root));
    EXPECT_EQ(noErr, CreateRootControl(window, &root));
    EXPECT_EQ(errRootAlreadyExists, CreateRootControl(window, &root));
    EXPECT_EQ(root, HIViewGetRoot(window));
    ControlRef b = button(1, nullptr);
    ControlRef super = nullptr;
    GetSuperControl(b, &super);
    EXPECT_EQ(root, super);
}

TEST_F(ControlTree, EmbeddingRules) {
    ControlRef container = pane(50, {0, 0, 100, 100});
    ControlRef plain = pane(51, {0, 0, 100, 100}, nullptr, 0);
    ControlRef child = pane(52, {0, 0, 10, 10}, container);
    ControlRef b = button(1, nullptr);
    ControlRef root = HIViewGetRoot(window);
    EXPECT_EQ(errControlIsNotEmbedder, EmbedControl(b, plain));
    EXPECT_EQ(errCantEmbedIntoSelf, EmbedControl(container, container));
    EXPECT_EQ(errCantEmbedIntoSelf, EmbedControl(container, child));
    EXPECT_EQ(errCantEmbedRoot, EmbedControl(root, container));
    // Embedding keeps the control's bounds.
    EXPECT_EQ(noErr, EmbedControl(b, child));
    Rect r{};
    GetControlBounds(b, &r);
    EXPECT_EQ(10, r.top);
    EXPECT_EQ(90, r.right);
}

TEST_F(ControlTree, MovingAPaneMovesWhatItHolds) {
    ControlRef outer = pane(50, {20, 30, 120, 230});
    ControlRef b = button(1, outer); // {10,10,30,90}
    MoveControl(outer, 130, 70);     // by (+100, +50)
    Rect r{};
    GetControlBounds(outer, &r);
    EXPECT_EQ(70, r.top);
    EXPECT_EQ(330, r.right);
    GetControlBounds(b, &r);
    EXPECT_EQ(60, r.top);
    EXPECT_EQ(110, r.left);
    EXPECT_EQ(80, r.bottom);
    EXPECT_EQ(190, r.right);
    SizeControl(b, 200, 40);
    GetControlBounds(b, &r);
    EXPECT_EQ(100, r.bottom);
    EXPECT_EQ(310, r.right);
}

TEST_F(ControlTree, VisibleEnabledAndActiveOnlyIfTheEmbeddersAreToo) {
    ControlRef outer = pane(50, {0, 0, 100, 100});
    ControlRef b = button(1, outer);
    EXPECT_TRUE(IsControlVisible(b)); // created visible
    HideControl(outer);
    EXPECT_FALSE(IsControlVisible(b));
    ShowControl(outer);
    SetControlVisibility(b, false, false);
    EXPECT_FALSE(IsControlVisible(b));
    EXPECT_TRUE(IsControlVisible(outer));
    ShowControl(b);
    EXPECT_TRUE(IsControlVisible(b));

    DisableControl(outer);
    EXPECT_FALSE(IsControlEnabled(b));
    EnableControl(outer);
    EXPECT_TRUE(IsControlEnabled(b));
    DeactivateControl(outer);
    EXPECT_FALSE(IsControlActive(b));
    ActivateControl(outer);
    EXPECT_TRUE(IsControlActive(b));
}

int gValueEvents = 0;
OSStatus count_value_events(EventHandlerCallRef, EventRef, void*) {
    ++gValueEvents;
    return noErr;
}

TEST_F(ControlTree, ValuesStayWithinTheRange) {
    ControlRef b = button(1, nullptr);
    const EventTypeSpec changed = {kEventClassControl, kEventControlValueFieldChanged};
    InstallControlEventHandler(b, count_value_events, 1, &changed, nullptr, nullptr);
    gValueEvents = 0;
    EXPECT_EQ(0, GetControl32BitMinimum(b));
    EXPECT_EQ(1, GetControl32BitMaximum(b));
    SetControl32BitValue(b, 5);
    EXPECT_EQ(1, GetControl32BitValue(b));
    SetControl32BitValue(b, -3);
    EXPECT_EQ(0, GetControl32BitValue(b));
    SetControl32BitValue(b, -3); // no change, no event
    EXPECT_EQ(2, gValueEvents);

    SetControl32BitMaximum(b, 100);
    SetControl32BitValue(b, 70);
    SetControl32BitMaximum(b, 50); // pulls the value down
    EXPECT_EQ(50, GetControl32BitValue(b));
    SetControl32BitMinimum(b, 60); // an empty range: the minimum wins
    EXPECT_EQ(60, GetControl32BitValue(b));

    SetControl32BitMinimum(b, 0);
    SetControl32BitMaximum(b, 100000);
    SetControl32BitValue(b, 100000);
    EXPECT_EQ(32767, GetControlValue(b)); // the 16-bit view saturates
}

TEST_F(ControlTree, PropertiesRoundTripAndReportWhatIsMissing) {
    ControlRef b = button(1, nullptr);
    const OSType creator = 0x54504445, tag = 0x4D424E44; // 'TPDE', 'MBND'
    void* bundle = &b;
    ASSERT_EQ(noErr, SetControlProperty(b, creator, tag, sizeof(bundle), &bundle));
    void* back = nullptr;
    ByteCount size = 0;
    EXPECT_EQ(noErr, GetControlProperty(b, creator, tag, sizeof(back), &size, &back));
    EXPECT_EQ(bundle, back);
    EXPECT_EQ(sizeof(void*), size);
    EXPECT_EQ(noErr, GetControlPropertySize(b, creator, tag, &size));
    EXPECT_EQ(sizeof(void*), size);

    // A 4-byte buffer for an 8-byte reference is refused, not truncated.
    UInt32 small = 0;
    EXPECT_EQ(errDataSizeMismatch,
              GetControlProperty(b, creator, tag, sizeof(small), &size, &small));
    EXPECT_EQ(0u, small);
    EXPECT_EQ(controlPropertyNotFoundErr,
              GetControlProperty(b, creator, tag + 1, sizeof(back), nullptr, &back));

    const char text[] = "longer value";
    SetControlProperty(b, creator, tag, sizeof(text), text);
    GetControlPropertySize(b, creator, tag, &size);
    EXPECT_EQ(sizeof(text), size);
    EXPECT_EQ(noErr, RemoveControlProperty(b, creator, tag));
    EXPECT_EQ(controlPropertyNotFoundErr, RemoveControlProperty(b, creator, tag));
    EXPECT_EQ(controlPropertyNotFoundErr, GetControlPropertySize(b, creator, tag, &size));
}

void draw_proc(ControlRef, ControlPartCode) {}

TEST_F(ControlTree, KindDataGoesToTheKindsTags) {
    ControlRef b = button(1, nullptr);
    ControlRef p = pane(2, {0, 0, 10, 10});
    Boolean on = true;
    EXPECT_EQ(noErr, SetControlData(b, 0, kControlPushButtonDefaultTag, sizeof(on), &on));
    EXPECT_EQ(errDataSizeMismatch,
              SetControlData(b, 0, kControlPushButtonDefaultTag, sizeof(UInt32), &on));
    EXPECT_EQ(errDataNotSupported,
              SetControlData(p, 0, kControlPushButtonDefaultTag, sizeof(on), &on));
    Size size = 0;
    EXPECT_EQ(noErr, GetControlDataSize(b, 0, kControlPushButtonDefaultTag, &size));
    EXPECT_EQ(static_cast<Size>(sizeof(Boolean)), size);

    // Procedure pointers are pointer-sized.
    ControlUserPaneDrawUPP proc = draw_proc;
    EXPECT_EQ(errDataSizeMismatch, SetControlData(p, 0, kControlUserPaneDrawProcTag, 4, &proc));
    EXPECT_EQ(noErr, SetControlData(p, 0, kControlUserPaneDrawProcTag, sizeof(proc), &proc));
    ControlUserPaneDrawUPP back = nullptr;
    EXPECT_EQ(noErr, GetControlData(p, 0, kControlUserPaneDrawProcTag, sizeof(back), &back, &size));
    EXPECT_EQ(proc, back);
    EXPECT_EQ(static_cast<Size>(sizeof(proc)), size);
    EXPECT_EQ(errDataSizeMismatch,
              GetControlData(p, 0, kControlUserPaneDrawProcTag, 4, &back, &size));
}

std::vector<SInt32> gDisposed;
OSStatus record_dispose(EventHandlerCallRef, EventRef event, void*) {
    ControlRef control = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof(control),
                      nullptr, &control);
    ControlID id{};
    GetControlID(control, &id); // still usable while its dispose event runs
    gDisposed.push_back(id.id);
    return eventNotHandledErr;
}

TEST_F(ControlTree, DisposalSendsTheEventToEveryControlOfTheSubtree) {
    ControlRef outer = pane(50, {0, 0, 100, 100});
    ControlRef inner = pane(60, {0, 0, 50, 50}, outer);
    button(101, inner);
    button(102, outer);
    ControlRef survivor = button(200, nullptr);
    const EventTypeSpec type = {kEventClassControl, kEventControlDispose};
    // Installed on the window: the children's events propagate to it.
    InstallWindowEventHandler(window, record_dispose, 1, &type, nullptr, nullptr);
    gDisposed.clear();
    DisposeControl(outer);
    EXPECT_EQ((std::vector<SInt32>{50, 60, 101, 102}), gDisposed);
    EXPECT_EQ(nullptr, find(101));
    EXPECT_EQ(survivor, find(200));

    gDisposed.clear();
    DisposeWindow(window);
    window = nullptr;
    EXPECT_EQ((std::vector<SInt32>{0, 200}), gDisposed); // the root, then what it held
}

std::vector<std::string> gHits;
OSStatus hit_recorder(EventHandlerCallRef, EventRef, void* name) {
    gHits.push_back(static_cast<const char*>(name));
    return eventNotHandledErr;
}

TEST_F(ControlTree, ControlEventsPropagateToEmbedderWindowAndApplication) {
    ControlRef outer = pane(50, {0, 0, 100, 100});
    ControlRef b = button(1, outer);
    const EventTypeSpec type = {kEventClassControl, kEventControlHit};
    static char kButton[] = "button", kPane[] = "pane", kWindow[] = "window", kApp[] = "app";
    InstallControlEventHandler(b, hit_recorder, 1, &type, kButton, nullptr);
    InstallControlEventHandler(outer, hit_recorder, 1, &type, kPane, nullptr);
    InstallWindowEventHandler(window, hit_recorder, 1, &type, kWindow, nullptr);
    EventHandlerRef app = nullptr;
    InstallApplicationEventHandler(hit_recorder, 1, &type, kApp, &app);

    gHits.clear();
    EventRef event = nullptr;
    CreateEvent(nullptr, kEventClassControl, kEventControlHit, 0, 0, &event);
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(b), &b);
    EXPECT_EQ(eventNotHandledErr, SendEventToEventTarget(event, GetControlEventTarget(b)));
    ReleaseEvent(event);
    RemoveEventHandler(app);
    EXPECT_EQ((std::vector<std::string>{"button", "pane", "window", "app"}), gHits);
}

TEST_F(ControlTree, APaneEmbeddedInAnotherWindowMovesThereWithItsControls) {
    // A panel built in one window and moved into a pane of another, the way
    // a dialog extension's panel joins the host's dialog.
    WindowRef host = nullptr;
    const Rect bounds{0, 0, 400, 600};
    ASSERT_EQ(noErr, CreateNewWindow(kMovableModalWindowClass, 0, &bounds, &host));
    ControlRef user_pane = nullptr;
    const Rect area{20, 20, 300, 580};
    CreateUserPaneControl(host, &area, kControlSupportsEmbedding, &user_pane);

    ControlRef panel = pane(50, {0, 0, 200, 300});
    ControlRef ok = button(101, panel);
    SetWindowDefaultButton(window, ok);
    EXPECT_EQ(noErr, EmbedControl(panel, user_pane));
    EXPECT_EQ(host, GetControlOwner(panel));
    EXPECT_EQ(host, GetControlOwner(ok));
    EXPECT_EQ(ok, find(101, host));
    EXPECT_EQ(nullptr, find(101, window));
    ControlRef got = ok;
    GetWindowDefaultButton(window, &got);
    EXPECT_EQ(nullptr, got); // no longer the old window's button

    // Events from the moved controls now reach the new window.
    const EventTypeSpec type = {kEventClassControl, kEventControlHit};
    static char kHost[] = "host";
    InstallWindowEventHandler(host, hit_recorder, 1, &type, kHost, nullptr);
    gHits.clear();
    EventRef event = nullptr;
    CreateEvent(nullptr, kEventClassControl, kEventControlHit, 0, 0, &event);
    SendEventToEventTarget(event, GetControlEventTarget(ok));
    ReleaseEvent(event);
    EXPECT_EQ((std::vector<std::string>{"host"}), gHits);

    // Disposing of the window the panel came from leaves it alone.
    DisposeWindow(window);
    window = nullptr;
    EXPECT_EQ(ok, find(101, host));
    DisposeWindow(host);
}

TEST_F(ControlTree, DumpShowsTheTreeAsAPersonWouldReadIt) {
    SetWindowTitleWithCFString(window, CFSTR("Print"));
    ShowWindow(window);
    ControlRef outer = pane(50, {10, 10, 90, 290});
    ControlRef ok = button(1, outer, CFSTR("Say \"OK\""));
    SetWindowDefaultButton(window, ok);
    ControlRef hidden = button(2, outer, CFSTR("Hidden"));
    HideControl(hidden);
    DisableControl(outer);
    EXPECT_EQ("window \"Print\" class=6 bounds={100,100,500,700} visible\n"
              "  root bounds={0,0,400,600} visible enabled\n"
              "    'TVKa'/50 user pane bounds={10,10,90,290} visible disabled value=0 range=0..0\n"
              "      'TVKa'/1 push button bounds={10,10,30,90} visible disabled value=0 "
              "range=0..1 default text=\"Say \\\"OK\\\"\"\n"
              "      'TVKa'/2 push button bounds={10,10,30,90} hidden disabled value=0 "
              "range=0..1 text=\"Hidden\"\n",
              dump());
}

} // namespace
