// The bundle's nib against what the panel and prompt code look up in it: every window, every
// control ID with its kind, the buttons' roles and commands, and the panel's geometry.
#include "PluginTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

struct Expected {
    SInt32 id;
    OSType kind;
};

constexpr OSType kSig = 'TVKa';
constexpr OSType kStatic = kControlKindStaticText, kEdit = kControlKindEditText,
                 kPopup = kControlKindPopupButton, kRadio = kControlKindRadioButton,
                 kCheck = kControlKindCheckBox, kPane = kControlKindUserPane,
                 kPush = kControlKindPushButton;

const std::vector<Expected> kPanel = {{50, kPane},    {100, kStatic}, {101, kPopup}, {102, kPane},
                                      {103, kStatic}, {110, kRadio},  {111, kCheck}, {112, kCheck},
                                      {120, kRadio},  {121, kStatic}, {122, kEdit},  {123, kStatic},
                                      {124, kPopup},  {125, kStatic}, {126, kEdit},  {127, kCheck}};
const std::vector<Expected> kIDs = {{1, kPush},   {2, kPush},     {500, kStatic},
                                    {501, kEdit}, {502, kStatic}, {503, kEdit}};
const std::vector<Expected> kAccountType = {{504, kStatic}, {505, kPopup}};
const std::vector<Expected> kEntryChoice = {{600, kRadio}, {601, kStatic}, {602, kRadio}};

std::vector<Expected> operator+(std::vector<Expected> a, const std::vector<Expected>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::map<std::string, std::vector<Expected>> kWindows = {
    {"Window", kPanel},
    {"Accounting", kIDs},
    {"FDI", kIDs},
    {"Tallyset", kIDs + kAccountType},
    {"FDI Tallyset", kIDs + kAccountType + kEntryChoice}};

ControlRef find(WindowRef window, SInt32 number) {
    ControlID id = {kSig, number};
    ControlRef control = nullptr;
    return GetControlByID(window, &id, &control) == noErr ? control : nullptr;
}

Rect bounds_of(WindowRef window, SInt32 number) {
    Rect r = {0, 0, 0, 0};
    GetControlBounds(find(window, number), &r);
    return r;
}

bool overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Every control of the window, depth first.
void collect(ControlRef parent, std::vector<ControlRef>& out) {
    UInt16 count = 0;
    CountSubControls(parent, &count);
    for (UInt16 i = 1; i <= count; ++i) {
        ControlRef child = nullptr;
        if (GetIndexedSubControl(parent, i, &child) == noErr) {
            out.push_back(child);
            collect(child, out);
        }
    }
}

class AccountingNib : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(accounting_bundle(), nullptr);
        ASSERT_EQ(CreateNibReferenceWithCFBundle(accounting_bundle(), CFSTR("Accounting"), &nib_),
                  noErr);
    }
    void TearDown() override {
        for (WindowRef w : windows_)
            DisposeWindow(w);
        if (nib_ != nullptr)
            DisposeNibReference(nib_);
    }
    WindowRef window(const std::string& name) {
        CFStringRef cfName =
            CFStringCreateWithCString(nullptr, name.c_str(), kCFStringEncodingUTF8);
        WindowRef w = nullptr;
        EXPECT_EQ(CreateWindowFromNib(nib_, cfName, &w), noErr) << name;
        CFRelease(cfName);
        if (w != nullptr)
            windows_.push_back(w);
        return w;
    }
    IBNibRef nib_ = nullptr;
    std::vector<WindowRef> windows_;
};

TEST_F(AccountingNib, EveryWindowHasExactlyTheControlsItsCodeLooksUp) {
    for (const auto& [name, expected] : kWindows) {
        SCOPED_TRACE(name);
        WindowRef w = window(name);
        ASSERT_NE(w, nullptr);
        std::map<SInt32, OSType> wanted;
        for (const Expected& e : expected) {
            wanted[e.id] = e.kind;
            ControlRef control = find(w, e.id);
            ASSERT_NE(control, nullptr) << "no control " << e.id;
            ControlKind kind = {0, 0};
            GetControlKind(control, &kind);
            EXPECT_EQ(kind.signature, static_cast<OSType>(kControlKindSignatureApple)) << e.id;
            EXPECT_EQ(kind.kind, e.kind) << "control " << e.id;
            // Popups are filled at run time, which needs a menu to fill.
            if (e.kind == kPopup) {
                MenuRef menu = nullptr;
                GetControlData(control, kControlEntireControl, kControlPopupButtonMenuRefTag,
                               sizeof menu, &menu, nullptr);
                EXPECT_NE(menu, nullptr) << "popup " << e.id;
            }
        }
        // A control the code never localises would show its placeholder text.
        ControlRef root = nullptr;
        GetRootControl(w, &root);
        std::vector<ControlRef> all;
        collect(root, all);
        for (ControlRef control : all) {
            ControlID id = {0, 0};
            GetControlID(control, &id);
            if (id.signature == kSig) {
                EXPECT_TRUE(wanted.count(id.id)) << "unexpected control " << id.id;
            }
        }
    }
}

TEST_F(AccountingNib, PromptDialogsAreMovableModalWithOKCancelAndHelp) {
    for (const char* name : {"Accounting", "Tallyset", "FDI", "FDI Tallyset"}) {
        SCOPED_TRACE(name);
        WindowRef w = window(name);
        ASSERT_NE(w, nullptr);
        WindowClass windowClass = 0;
        GetWindowClass(w, &windowClass);
        EXPECT_EQ(windowClass, kMovableModalWindowClass);
        ControlRef defaultButton = nullptr, cancelButton = nullptr;
        GetWindowDefaultButton(w, &defaultButton);
        GetWindowCancelButton(w, &cancelButton);
        EXPECT_EQ(defaultButton, find(w, 1));
        EXPECT_EQ(cancelButton, find(w, 2));
        UInt32 ok = 0, cancel = 0;
        GetControlCommandID(find(w, 1), &ok);
        GetControlCommandID(find(w, 2), &cancel);
        EXPECT_EQ(ok, kHICommandOK);
        EXPECT_EQ(cancel, kHICommandCancel);
        ControlRef root = nullptr;
        GetRootControl(w, &root);
        std::vector<ControlRef> all;
        collect(root, all);
        int helpButtons = 0;
        for (ControlRef control : all) {
            UInt32 command = 0;
            GetControlCommandID(control, &command);
            helpButtons += command == 'Thlp';
        }
        EXPECT_EQ(helpButtons, 1);
        // Cancel left of OK: the code moves Cancel by as much as OK grows leftward.
        EXPECT_LT(bounds_of(w, 2).right, bounds_of(w, 1).left);
    }
}

TEST_F(AccountingNib, PanelLivesInItsPaneWithinThePrologHeightAndNeverOverlaps) {
    WindowRef w = window("Window");
    ASSERT_NE(w, nullptr);
    PlugInIntf* pde = make_pde();
    ASSERT_NE(pde, nullptr);
    PMPDEContext context = nullptr;
    OSType creator = 0;
    CFStringRef kind = nullptr, title = nullptr;
    UInt32 maxH = 0, maxV = 0;
    ASSERT_EQ(pde->vtable->Prolog(&context, &creator, &kind, &title, &maxH, &maxV), noErr);
    pde->vtable->Terminate(context, noErr);
    release_pde(pde);

    ControlRef pane = find(w, 50);
    ASSERT_NE(pane, nullptr);
    Rect p = bounds_of(w, 50);
    EXPECT_LE(p.bottom - p.top, static_cast<SInt32>(maxV));
    // Open embeds only the pane: everything else must be inside it, and within its bounds.
    std::map<SInt32, Rect> rects;
    for (const Expected& e : kPanel) {
        if (e.id == 50)
            continue;
        ControlRef parent = nullptr;
        GetSuperControl(find(w, e.id), &parent);
        EXPECT_EQ(parent, pane) << e.id;
        Rect r = rects[e.id] = bounds_of(w, e.id);
        EXPECT_TRUE(r.top >= p.top && r.left >= p.left && r.bottom <= p.bottom &&
                    r.right <= p.right)
            << e.id;
    }
    // "Accounting Enabled" hides the account type row and moves the account ID pair up:
    // the label to the type label's top, the field 8 under the label.
    std::map<SInt32, Rect> moved = rects;
    for (SInt32 hidden : {123, 124, 127})
        moved.erase(hidden);
    Rect& label = moved[125];
    Rect& field = moved[126];
    label.bottom = static_cast<short>(rects[123].top + label.bottom - label.top);
    label.top = rects[123].top;
    field.bottom = static_cast<short>(label.bottom + 8 + field.bottom - field.top);
    field.top = static_cast<short>(label.bottom + 8);
    // The no-accounting text shows only while every accounting choice is hidden.
    for (const auto* layout : {&rects, &moved})
        for (const auto& [a, ra] : *layout)
            for (const auto& [b, rb] : *layout)
                if (a < b && !(a == 103 && b >= 110)) {
                    EXPECT_FALSE(overlap(ra, rb)) << a << " overlaps " << b;
                }
}

} // namespace
