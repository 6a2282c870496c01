// The print dialog window: a panel chooser, one user pane per panel, Cancel and Print.
#include "PrintDialog.h"

#include "CFHolder.h"

namespace host {
namespace {

const Rect kWindowBounds = {0, 0, 520, 600};
const Rect kChooserBounds = {16, 20, 36, 580};
const Rect kPaneBounds = {48, 20, 460, 580};
const Rect kCancelBounds = {476, 400, 496, 480};
const Rect kPrintBounds = {476, 496, 496, 576};

} // namespace

std::string four_char_code(OSType code) {
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i)
        text[static_cast<size_t>(i)] = static_cast<char>((code >> (24 - 8 * i)) & 0xFF);
    return text;
}

OSStatus create_print_dialog(PrintDialog& dialog, size_t panelCount) {
    OSStatus status = CreateNewWindow(kDocumentWindowClass, kWindowStandardHandlerAttribute,
                                      &kWindowBounds, &dialog.window);
    if (status != noErr)
        return status;
    SetWindowTitleWithCFString(dialog.window, CFSTR("Print"));
    ControlRef root = nullptr;
    GetRootControl(dialog.window, &root);
    if ((status = CreateUserPaneControl(dialog.window, &kChooserBounds, 0, &dialog.chooser)) !=
        noErr)
        return status;
    for (size_t i = 0; i < panelCount; ++i) {
        ControlRef pane = nullptr;
        if ((status = CreateUserPaneControl(dialog.window, &kPaneBounds,
                                            kControlSupportsEmbedding, &pane)) != noErr)
            return status;
        // Only the chosen panel shows.
        SetControlVisibility(pane, i == 0, false);
        dialog.userPanes.push_back(pane);
    }
    if ((status = CreatePushButtonControl(dialog.window, &kCancelBounds, CFSTR("Cancel"),
                                          &dialog.cancelButton)) != noErr ||
        (status = CreatePushButtonControl(dialog.window, &kPrintBounds, CFSTR("Print"),
                                          &dialog.printButton)) != noErr)
        return status;
    SetWindowDefaultButton(dialog.window, dialog.printButton);
    SetWindowCancelButton(dialog.window, dialog.cancelButton);
    if ((status = PMCreateSession(&dialog.session)) != noErr)
        return status;
    if ((status = PMTicketCreate(nullptr, kPMPrintSettingsTicket, &dialog.ticket)) != noErr)
        return status;
    SInt32 handle = PMTicketGetHandle(dialog.ticket);
    CFHolder<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberSInt32Type, &handle));
    return PMSessionSetDataInSession(dialog.session, kPDE_PMPrintSettingsRef, number.get());
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
