// Finding the panel's and the prompt dialog's controls, and setting them up from a table.
#include "AccountingControls.h"

#include "LocalizedText.h"

#include <CoreFoundation/CFHolder.h>
#include <cstring>

ControlRef FindAccountingControl(WindowRef window, SInt32 id) {
    if (window == nullptr)
        return nullptr;
    ControlID controlID = {kAccountingControlSignature, id};
    ControlRef control = nullptr;
    return GetControlByID(window, &controlID, &control) == noErr ? control : nullptr;
}

void PutAccountingCode(ControlRef field, const char* code) {
    if (field != nullptr)
        SetControlData(field, kControlEntireControl, kControlEditTextTextTag,
                       static_cast<Size>(std::strlen(code)), code);
}

CFStringRef CopyAccountingFieldText(ControlRef field) {
    CFStringRef text = nullptr;
    if (field == nullptr ||
        GetControlData(field, kControlEntireControl, kControlEditTextCFStringTag, sizeof text,
                       &text, nullptr) != noErr)
        return nullptr;
    return text;
}

bool ReadAccountingCode(ControlRef field, ResType tag, size_t limit, char* store) {
    if (field == nullptr)
        return false;
    char bytes[kAccountingCodeSize];
    Size received = 0;
    if (GetControlData(field, kControlEntireControl, tag, sizeof bytes, bytes, &received) != noErr)
        return false;
    // The field may hold more than the buffer: only the buffer's bytes arrived.
    if (received > static_cast<Size>(sizeof bytes))
        received = sizeof bytes;
    StoreAccountingCode(store, bytes, static_cast<size_t>(received), limit);
    return true;
}

void SetAccountingKeyFilter(ControlRef field, ControlKeyFilterUPP filter) {
    if (field != nullptr)
        SetControlData(field, kControlEntireControl, kControlEditTextKeyFilterTag, sizeof filter,
                       &filter);
}

namespace {

void set_text(const AccountingContext* context, const AccountingControl& row, ControlRef control) {
    const cf::Holder<CFStringRef> key(
        CFStringCreateWithCString(nullptr, row.key, kCFStringEncodingUTF8));
    if (row.text == AccountingControlText::staticText)
        SetLocalizedStaticText(context->bundle, key.get(), control);
    else
        SetLocalizedControlTitle(context->bundle, key.get(), control);
}

} // namespace

void SetUpAccountingControls(AccountingContext* context, WindowRef window,
                             std::span<const AccountingControl> rows) {
    // The growth of the buttons set up so far; each later button moves left by it.
    SInt32 buttonsGrowth = 0;
    for (const AccountingControl& row : rows) {
        ControlRef control = FindAccountingControl(window, row.id);
        if (row.field != nullptr)
            context->*row.field = control;
        if (control == nullptr || row.key == nullptr)
            continue;
        set_text(context, row, control);
        if (row.text == AccountingControlText::button) {
            SInt32 offset = -buttonsGrowth;
            SetControlBestRect(control, row.fit, &offset, nullptr);
            buttonsGrowth += offset + buttonsGrowth; // the offset came back with this growth
        } else if (row.fit != 0) {
            SetControlBestRect(control, row.fit, nullptr, nullptr);
        }
    }
    for (const AccountingControl& row : rows) {
        if (row.text != AccountingControlText::popup || row.map == nullptr)
            continue;
        if (ControlRef popup = FindAccountingControl(window, row.id)) {
            PopulatePopupButtonFromMap(context->bundle, popup, row.map, 0, 0);
            SetPopupButtonToTicketValue(popup, context->*row.value);
        }
    }
}
