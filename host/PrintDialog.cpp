// The print dialog window: a panel chooser, one user pane per panel, Cancel and Print.
#include "PrintDialog.h"

#include "CFText.h"
#include "HostTexts.h"

#include <algorithm>

namespace host {
namespace {

constexpr SInt16 kMargin = 20, kChooserHeight = 20, kButtonHeight = 20, kButtonWidth = 80;
// The smallest pane; larger panels widen the window.
constexpr UInt32 kMinPaneWidth = 560, kMinPaneHeight = 400;

void give_id(ControlRef control, SInt32 id) {
    const ControlID controlID{kDialogSignature, id};
    SetControlID(control, &controlID);
}

Rect rect(int top, int left, int bottom, int right) {
    return Rect{static_cast<SInt16>(top), static_cast<SInt16>(left), static_cast<SInt16>(bottom),
                static_cast<SInt16>(right)};
}

OSStatus create_chooser(PrintDialog& dialog, const std::vector<PanelInfo>& panels, int width) {
    MenuRef menu = nullptr;
    OSStatus status = CreateNewMenu(1, 0, &menu);
    if (status != noErr)
        return status;
    for (const PanelInfo& panel : panels) {
        cf::Holder<CFStringRef> title(CFStringCreateWithCString(
            nullptr, panel.title.empty() ? host_texts().untitled : panel.title.c_str(),
            kCFStringEncodingUTF8));
        AppendMenuItemTextWithCFString(menu, title.get(), 0, 0, nullptr);
    }
    AppendMenuItemTextWithCFString(menu, CFSTR("Summary"), 0, 0, nullptr);
    const Rect bounds = rect(kMargin, kMargin, kMargin + kChooserHeight, width - kMargin);
    status = CreatePopupButtonControl(dialog.window, &bounds, nullptr, -12345, false, -1, 0, 0,
                                      &dialog.chooser);
    if (status == noErr) {
        SetControlData(dialog.chooser, kControlEntireControl, kControlPopupButtonMenuRefTag,
                       sizeof(menu), &menu);
        SetControl32BitMaximum(dialog.chooser, static_cast<SInt32>(panels.size() + 1));
        SetControl32BitValue(dialog.chooser, 1);
        give_id(dialog.chooser, kChooserID);
    }
    ReleaseMenu(menu);
    return status;
}

OSStatus create_buttons(PrintDialog& dialog, int width, int top) {
    const Rect cancel = rect(top, width - kMargin - 2 * kButtonWidth - 12, top + kButtonHeight,
                             width - kMargin - kButtonWidth - 12);
    const Rect print =
        rect(top, width - kMargin - kButtonWidth, top + kButtonHeight, width - kMargin);
    cf::Holder<CFStringRef> cancelTitle(
        CFStringCreateWithCString(nullptr, host_texts().cancel, kCFStringEncodingUTF8));
    cf::Holder<CFStringRef> printTitle(
        CFStringCreateWithCString(nullptr, host_texts().print, kCFStringEncodingUTF8));
    OSStatus status =
        CreatePushButtonControl(dialog.window, &cancel, cancelTitle.get(), &dialog.cancelButton);
    if (status == noErr)
        status =
            CreatePushButtonControl(dialog.window, &print, printTitle.get(), &dialog.printButton);
    if (status != noErr)
        return status;
    give_id(dialog.cancelButton, kCancelID);
    give_id(dialog.printButton, kPrintID);
    SetControlCommandID(dialog.cancelButton, kHICommandCancel);
    SetWindowDefaultButton(dialog.window, dialog.printButton);
    SetWindowCancelButton(dialog.window, dialog.cancelButton);
    return noErr;
}

OSStatus attach_ticket(PrintDialog& dialog, PMTicketRef ticket) {
    OSStatus status = PMCreateSession(&dialog.session);
    if (status != noErr)
        return status;
    if (ticket != nullptr) {
        PMTicketRetain(ticket);
        dialog.ticket = ticket;
    } else if ((status = PMTicketCreate(nullptr, kPMPrintSettingsTicket, &dialog.ticket)) !=
               noErr) {
        return status;
    }
    SInt32 handle = PMTicketGetHandle(dialog.ticket);
    cf::Holder<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberSInt32Type, &handle));
    return PMSessionSetDataInSession(dialog.session, kPDE_PMPrintSettingsRef, number.get());
}

} // namespace

std::string four_char_code(OSType code) {
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i)
        text[static_cast<size_t>(i)] = static_cast<char>((code >> (24 - 8 * i)) & 0xFF);
    return text;
}

OSStatus create_print_dialog(PrintDialog& dialog, const std::vector<PanelInfo>& panels,
                             PMTicketRef ticket) {
    UInt32 paneWidth = kMinPaneWidth, paneHeight = kMinPaneHeight;
    for (const PanelInfo& panel : panels) {
        paneWidth = std::max(paneWidth, panel.maxH);
        paneHeight = std::max(paneHeight, panel.maxV);
    }
    const int width = static_cast<int>(paneWidth) + 2 * kMargin;
    const int paneTop = kMargin + kChooserHeight + 12;
    const int paneBottom = paneTop + static_cast<int>(paneHeight);
    const int height = paneBottom + 16 + kButtonHeight + kMargin;
    const Rect windowBounds = rect(60, 60, 60 + height, 60 + width);
    OSStatus status = CreateNewWindow(kMovableModalWindowClass, kWindowStandardHandlerAttribute,
                                      &windowBounds, &dialog.window);
    if (status != noErr)
        return status;
    cf::Holder<CFStringRef> title(
        CFStringCreateWithCString(nullptr, host_texts().print, kCFStringEncodingUTF8));
    SetWindowTitleWithCFString(dialog.window, title.get());
    if ((status = create_chooser(dialog, panels, width)) != noErr)
        return status;
    const Rect paneBounds = rect(paneTop, kMargin, paneBottom, width - kMargin);
    for (size_t i = 0; i < panels.size(); ++i) {
        ControlRef pane = nullptr;
        if ((status = CreateUserPaneControl(dialog.window, &paneBounds, kControlSupportsEmbedding,
                                            &pane)) != noErr)
            return status;
        give_id(pane, kPaneBaseID + static_cast<SInt32>(i));
        // Only the chosen panel shows.
        SetControlVisibility(pane, i == 0, false);
        dialog.userPanes.push_back(pane);
    }
    if ((status = CreateUserPaneControl(dialog.window, &paneBounds, kControlSupportsEmbedding,
                                        &dialog.summaryPane)) != noErr)
        return status;
    give_id(dialog.summaryPane, kSummaryPaneID);
    SetControlVisibility(dialog.summaryPane, false, false);
    if ((status = create_buttons(dialog, width, paneBottom + 16)) != noErr)
        return status;
    return attach_ticket(dialog, ticket);
}

void dispose_print_dialog(PrintDialog& dialog) {
    if (dialog.window != nullptr)
        DisposeWindow(dialog.window);
    if (dialog.session != nullptr)
        PMRelease(dialog.session);
    if (dialog.ticket != nullptr)
        PMTicketRelease(dialog.ticket);
    dialog = PrintDialog{};
}

PanelInfo run_prolog(LoadedPDE& pde) {
    PanelInfo info;
    CFStringRef kind = nullptr;
    CFStringRef title = nullptr;
    info.prologStatus = pde.pde->vtable->Prolog(&info.context, &info.creator, &kind, &title,
                                                &info.maxH, &info.maxV);
    // The PDE keeps ownership of both strings until Terminate.
    info.kind = to_utf8(kind);
    info.title = to_utf8(title);
    return info;
}

} // namespace host
