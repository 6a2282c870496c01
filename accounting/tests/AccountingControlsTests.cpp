// Setting up a dialog's controls from a table, on a prompt window of the bundle's nib.
#include "AccountingControls.h"
#include "AccountingPrompt.h"
#include "AccountingTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

Rect bounds_of(WindowRef window, SInt32 id) {
    Rect r{};
    GetControlBounds(FindAccountingControl(window, id), &r);
    return r;
}

// A key the bundle lacks: the button shows "STRING NOT FOUND", wider than the nib's title, so
// the first button grows and the second has somewhere to go.
TEST(AccountingControls, ButtonsKeepTheirRightEdgesAndMoveLeftByTheGrowthBeforeThem) {
    IBNibRef nib = nullptr;
    ASSERT_EQ(noErr, CreateNibReferenceWithCFBundle(testsupport::accounting_bundle(),
                                                    CFSTR("Accounting"), &nib));
    WindowRef window = nullptr;
    ASSERT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("Accounting"), &window));
    DisposeNibReference(nib);
    AccountingContext* context = CreateAccountingContext();
    context->bundle = testsupport::accounting_bundle();
    context->auxInfoNote = reinterpret_cast<ControlRef>(context); // anything but NULL

    const Rect ok = bounds_of(window, kPromptOKButtonID);
    const Rect cancel = bounds_of(window, kPromptCancelButtonID);
    const AccountingControl rows[] = {
        {kPromptOKButtonID, nullptr, AccountingControlText::button, "No Such Key", kFitKeepRight},
        {kPromptCancelButtonID, nullptr, AccountingControlText::button, "Cancel Command",
         kFitKeepRight},
        {kPromptAuxInfoNoteID, &AccountingContext::auxInfoNote, AccountingControlText::staticText,
         "Aux Info Note", kFitFillWidth},
    };
    SetUpAccountingControls(context, window, rows);

    const Rect okNow = bounds_of(window, kPromptOKButtonID);
    const Rect cancelNow = bounds_of(window, kPromptCancelButtonID);
    const int growth = (okNow.right - okNow.left) - (ok.right - ok.left);
    EXPECT_GT(growth, 0);
    EXPECT_EQ(ok.right, okNow.right);
    EXPECT_EQ(ok.top, okNow.top);
    EXPECT_EQ(ok.bottom, okNow.bottom);
    EXPECT_EQ(cancel.right - growth, cancelNow.right);
    EXPECT_LT(cancelNow.right, okNow.left); // still apart
    // The window has no note: its field is cleared, not left as it was.
    EXPECT_EQ(nullptr, context->auxInfoNote);

    DisposeWindow(window);
    std::free(context);
}

} // namespace
