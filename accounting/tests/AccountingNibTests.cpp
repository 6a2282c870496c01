// The bundle's nib against what the panel and prompt code look up in it: every window, every
// control ID with its kind, the buttons' roles and commands, and the panel's geometry.
#include "AccountingControls.h"
#include "AccountingPanel.h"
#include "AccountingPrompt.h"
#include "AccountingTestSupport.h"
#include "HelpHelpers.h"

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

constexpr OSType kStatic = kControlKindStaticText, kEdit = kControlKindEditText,
                 kPopup = kControlKindPopupButton, kRadio = kControlKindRadioButton,
                 kCheck = kControlKindCheckBox, kPane = kControlKindUserPane,
                 kPush = kControlKindPushButton;

const std::vector<Expected> kPanel = {
    {kPanelPaneID, kPane},          {kAccountingSystemLabelID, kStatic},
    {kAccountingPopupID, kPopup},   {kAccountingImageID, kPane},
    {kNoAccountingTextID, kStatic}, {kPromptRadioID, kRadio},
    {kMaskUserIDCheckID, kCheck},   {kMaskAccountIDCheckID, kCheck},
    {kDefaultCodesRadioID, kRadio}, {kUserIDLabelID, kStatic},
    {kUserIDFieldID, kEdit},        {kAccountTypeLabelID, kStatic},
    {kAccountTypePopupID, kPopup},  {kAccountIDLabelID, kStatic},
    {kAccountIDFieldID, kEdit},     {kAuxiliaryInterfaceCheckID, kCheck}};
const std::vector<Expected> kIDs = {
    {kPromptOKButtonID, kPush},         {kPromptCancelButtonID, kPush},
    {kPromptUserIDLabelID, kStatic},    {kPromptUserIDFieldID, kEdit},
    {kPromptAccountIDLabelID, kStatic}, {kPromptAccountIDFieldID, kEdit}};
const std::vector<Expected> kAccountType = {{kPromptAccountTypeLabelID, kStatic},
                                            {kPromptAccountTypePopupID, kPopup}};
const std::vector<Expected> kEntryChoice = {{kPromptEnterAtDeviceRadioID, kRadio},
                                            {kPromptAuxInfoNoteID, kStatic},
                                            {kPromptEnterNowRadioID, kRadio}};

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

Rect bounds_of(WindowRef window, SInt32 number) {
    Rect r = {0, 0, 0, 0};
    GetControlBounds(FindAccountingControl(window, number), &r);
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
            ControlRef control = FindAccountingControl(w, e.id);
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
            if (id.signature == kAccountingControlSignature) {
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
        EXPECT_EQ(defaultButton, FindAccountingControl(w, kPromptOKButtonID));
        EXPECT_EQ(cancelButton, FindAccountingControl(w, kPromptCancelButtonID));
        UInt32 ok = 0, cancel = 0;
        GetControlCommandID(FindAccountingControl(w, kPromptOKButtonID), &ok);
        GetControlCommandID(FindAccountingControl(w, kPromptCancelButtonID), &cancel);
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
            helpButtons += command == kHelpButtonCommand;
        }
        EXPECT_EQ(helpButtons, 1);
        // Cancel left of OK: the code moves Cancel by as much as OK grows leftward.
        EXPECT_LT(bounds_of(w, kPromptCancelButtonID).right, bounds_of(w, kPromptOKButtonID).left);
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

    ControlRef pane = FindAccountingControl(w, kPanelPaneID);
    ASSERT_NE(pane, nullptr);
    Rect p = bounds_of(w, kPanelPaneID);
    EXPECT_LE(p.bottom - p.top, static_cast<SInt32>(maxV));
    // Open embeds only the pane: everything else must be inside it, and within its bounds.
    std::map<SInt32, Rect> rects;
    for (const Expected& e : kPanel) {
        if (e.id == kPanelPaneID)
            continue;
        ControlRef parent = nullptr;
        GetSuperControl(FindAccountingControl(w, e.id), &parent);
        EXPECT_EQ(parent, pane) << e.id;
        Rect r = rects[e.id] = bounds_of(w, e.id);
        EXPECT_TRUE(r.top >= p.top && r.left >= p.left && r.bottom <= p.bottom &&
                    r.right <= p.right)
            << e.id;
    }
    // "Accounting Enabled" hides the account type row and moves the account ID pair up:
    // the label to the type label's top, the field 8 under the label.
    std::map<SInt32, Rect> moved = rects;
    for (SInt32 hidden : {kAccountTypeLabelID, kAccountTypePopupID, kAuxiliaryInterfaceCheckID})
        moved.erase(hidden);
    Rect& label = moved[kAccountIDLabelID];
    Rect& field = moved[kAccountIDFieldID];
    const Rect& typeLabel = rects[kAccountTypeLabelID];
    label.bottom = static_cast<short>(typeLabel.top + label.bottom - label.top);
    label.top = typeLabel.top;
    field.bottom = static_cast<short>(label.bottom + 8 + field.bottom - field.top);
    field.top = static_cast<short>(label.bottom + 8);
    // The no-accounting text shows only while every accounting choice is hidden.
    for (const auto* layout : {&rects, &moved})
        for (const auto& [a, ra] : *layout)
            for (const auto& [b, rb] : *layout)
                if (a < b && !(a == kNoAccountingTextID && b >= kPromptRadioID)) {
                    EXPECT_FALSE(overlap(ra, rb)) << a << " overlaps " << b;
                }
}

} // namespace
