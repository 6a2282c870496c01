// The ID fields' key filter, fed arbitrary key sequences through a real edit text field, under
// each accounting system's cap.
#include "FuzzSupport.h"

#include "AccountingContext.h"
#include "AccountingEvents.h"
#include "AccountingPanel.h"

#include <Carbon/Carbon.h>
#include <HIToolbox/PlatformHost.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    static AccountingContext* context = CreateAccountingContext();
    context->accountingSystem = static_cast<SInt32>(input.take_in(0, 3));
    gContext = context;
    const Rect bounds{100, 100, 200, 400}, field_bounds{10, 10, 30, 290};
    WindowRef window = nullptr;
    CreateNewWindow(kMovableModalWindowClass, 0, &bounds, &window);
    ControlRef field = nullptr;
    CreateEditUnicodeTextControl(window, &field_bounds, CFSTR(""), input.take_bool(), nullptr,
                                 &field);
    const ControlID id{'TVKa', input.take_bool() ? kUserIDFieldID : kAccountIDFieldID};
    SetControlID(field, &id);
    ControlKeyFilterUPP filter = accountKeyFilter;
    SetControlData(field, kControlEntireControl, kControlEditTextKeyFilterTag, sizeof filter,
                   &filter);
    ShowWindow(window);
    SetKeyboardFocus(window, field, kControlFocusNextPart);
    while (input.remaining() >= 3) {
        const UniChar key = input.take<UniChar>();
        const UInt32 modifiers = input.take<UInt8>() & (shiftKey | optionKey | cmdKey);
        PlatformTypeKey(window, key, modifiers);
    }
    Size length = 0;
    GetControlDataSize(field, kControlEntireControl, kControlEditTextTextTag, &length);
    // Under the capped systems nothing typed gets past 32 bytes.
    if (context->accountingSystem == kAccountingTallyset ||
        context->accountingSystem == kAccountingEnabled)
        FUZZ_CHECK(length <= 32 + 4);
    DisposeWindow(window);
    gContext = nullptr;
    return 0;
}
