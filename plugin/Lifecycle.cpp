// The panel's lifecycle: Prolog, Initialize, Sync, GetSummaryText, Open, Close, Terminate.
// Each operation first calls the per-model hook of the same name with its own arguments.
#include "Lifecycle.h"

#include "AccountingControls.h"
#include "AccountingEvents.h"
#include "AccountingPanel.h"
#include "AccountingSync.h"
#include "ControlLayout.h"
#include "Hooks.h"
#include "ImageImportManager.h"
#include "PluginIDs.h"

#include <CoreFoundation/CFHolder.h>
#include <cstdlib>
#include <initializer_list>

namespace {

AccountingContext* as_context(PMPDEContext context) {
    return reinterpret_cast<AccountingContext*>(context);
}

const EventTypeSpec kWindowEvents[] = {{kEventClassControl, kEventControlHit},
                                       {kEventClassCommand, kEventCommandProcess}};
const EventTypeSpec kCommandEvents[] = {{kEventClassCommand, kEventCommandProcess}};
const EventTypeSpec kPaneEvents[] = {{kEventClassControl, kEventControlHit}};

// The picture index over the bundle's resources folder.
void create_image_manager(AccountingContext* context) {
    const cf::Holder<CFURLRef> resources(CFBundleCopyResourcesDirectoryURL(context->bundle));
    FSRef folder;
    if (resources && CFURLGetFSRef(resources.get(), &folder))
        context->imageManager = new ImageImportManager(folder);
}

// Places the panel's content pane in the middle of the host's user pane. Each size is
// halved on its own, truncating toward zero, and the result is kept to 16 bits.
void centre_in_user_pane(ControlRef panelPane, ControlRef userPane) {
    Rect a, b;
    GetControlBounds(userPane, &a);
    GetControlBounds(panelPane, &b);
    auto left = static_cast<SInt16>(a.left + ((a.right - a.left) / 2 - (b.right - b.left) / 2));
    auto top = static_cast<SInt16>(a.top + ((a.bottom - a.top) / 2 - (b.bottom - b.top) / 2));
    MoveControl(panelPane, left, b.top);
    MoveControl(panelPane, left, top);
}

// Loads the panel from the nib and embeds it in the user pane: the first Open's work.
OSStatus build_panel(AccountingContext* context) {
    IBNibRef nib = nullptr;
    OSStatus status = CreateNibReferenceWithCFBundle(context->bundle, CFSTR("Accounting"), &nib);
    if (status != noErr)
        return status;
    WindowRef nibWindow = nullptr;
    status = CreateWindowFromNib(nib, CFSTR("Window"), &nibWindow);
    if (status != noErr) {
        DisposeNibReference(nib);
        return status;
    }
    if (ControlRef pane = FindAccountingControl(nibWindow, kPanelPaneID)) {
        centre_in_user_pane(pane, context->userPane);
        EmbedAndShowControl(pane, context->userPane);
    }
    // The embedded pane now belongs to the user pane and survives the nib window.
    DisposeWindow(nibWindow);
    DisposeNibReference(nib);
    return noErr;
}

} // namespace

OSStatus AccountingProlog(PMPDEContext* outContext, OSType* creator, CFStringRef* userOptionKind,
                          CFStringRef* title, UInt32* maxH, UInt32* maxV) {
    TovekPDEProlog(outContext, creator, userOptionKind, title, maxH, maxV);
    AccountingContext* context = CreateAccountingContext();
    if (context == nullptr)
        return kPMInvalidPDEContext;
    context->bundle = CFBundleGetBundleWithIdentifier(CFSTR(kAccountingBundleID));
    gContext = context;
    *outContext = reinterpret_cast<PMPDEContext>(context);
    *maxH = kAccountingMaxH;
    *maxV = kAccountingMaxV;
    context->title = CFBundleCopyLocalizedString(context->bundle, CFSTR("Accounting"),
                                                 CFSTR("STRING NOT FOUND"), nullptr);
    if (context->title != nullptr)
        *title = context->title;
    *userOptionKind = CFSTR(kAccountingOptionKind);
    *creator = kAccountingCreator;
    return noErr;
}

OSStatus AccountingInitialize(PMPDEContext pdeContext, PMPDEFlags* flags, PMPDERef ref,
                              ControlRef parentUserPane, PMPrintSession printSession) {
    OSStatus hookStatus = TovekPDEInitialize(pdeContext, flags, ref, parentUserPane, printSession);
    AccountingContext* context = as_context(pdeContext);
    if (context == nullptr || printSession == nullptr)
        return hookStatus;
    context->userPane = parentUserPane;
    context->printSession = printSession;
    if (AccountingSyncOperation(pdeContext, printSession, kPMSyncPaneFromTicket) == noErr) {
        context->window = GetControlOwner(parentUserPane);
        context->defaultButton = nullptr;
        GetWindowDefaultButton(context->window, &context->defaultButton);
    }
    context->windowHandlerUPP = NewEventHandlerUPP(accountingEventHandler);
    InstallEventHandler(GetWindowEventTarget(GetControlOwner(parentUserPane)),
                        context->windowHandlerUPP, GetEventTypeCount(kWindowEvents), kWindowEvents,
                        context, &context->windowHandler);
    return noErr;
}

OSStatus AccountingSyncOperation(PMPDEContext context, PMPrintSession printSession,
                                 Boolean direction) {
    TovekPDESync(context, printSession, direction);
    return SyncAccountingTicket(as_context(context), printSession, direction);
}

OSStatus AccountingGetSummaryText(PMPDEContext context, CFArrayRef* titleArray,
                                  CFArrayRef* summaryArray) {
    return TovekPDEGetSummaryText(context, titleArray, summaryArray);
}

OSStatus AccountingOpen(PMPDEContext pdeContext) {
    OSStatus hookStatus = TovekPDEOpen(pdeContext);
    AccountingContext* context = as_context(pdeContext);
    if (context == nullptr)
        return kPMInvalidPDEContext;
    context->commandHandlerUPP = NewEventHandlerUPP(accountingEventHandler);
    context->window = GetControlOwner(context->userPane);
    InstallEventHandler(GetWindowEventTarget(context->window), context->commandHandlerUPP,
                        GetEventTypeCount(kCommandEvents), kCommandEvents, context,
                        &context->commandHandler);
    GetControlProperty(context->defaultButton, kHelpBookPropertyCreator, kHelpBookPropertyTag,
                       sizeof(context->helpBookRef), nullptr, &context->helpBookRef);
    if (context->panelBuilt)
        return hookStatus;
    OSStatus status = build_panel(context);
    if (status != noErr)
        return status;
    if (context->imageManager == nullptr)
        create_image_manager(context);
    context->panelPane = FindAccountingControl(context->window, kPanelPaneID);
    InitializeWindow(context);
    if (context->promptForEveryJob == 0) {
        PutAccountingCode(context->userIDField, context->defaultUserID);
        PutAccountingCode(context->accountIDField, context->defaultAccountID);
    }
    if (context->auxiliaryInterfaceCheck != nullptr)
        SetControl32BitValue(context->auxiliaryInterfaceCheck, context->auxiliaryInterface);
    // The pane's handler and the key filter go with the controls; nothing of them is kept.
    status = InstallEventHandler(GetControlEventTarget(context->panelPane),
                                 NewEventHandlerUPP(accountingEventHandler),
                                 GetEventTypeCount(kPaneEvents), kPaneEvents, context, nullptr);
    ControlKeyFilterUPP filter = NewControlKeyFilterUPP(accountKeyFilter);
    for (ControlRef field : {context->userIDField, context->accountIDField})
        SetAccountingKeyFilter(field, filter);
    setControls(context);
    context->panelBuilt = true;
    return status;
}

OSStatus AccountingClose(PMPDEContext pdeContext) {
    OSStatus hookStatus = TovekPDEClose(pdeContext);
    AccountingContext* context = as_context(pdeContext);
    if (context == nullptr)
        return kPMInvalidPDEContext;
    if (context->commandHandlerUPP != nullptr) {
        RemoveEventHandler(context->commandHandler);
        DisposeEventHandlerUPP(context->commandHandlerUPP);
        context->commandHandler = nullptr;
        context->commandHandlerUPP = nullptr;
    }
    return hookStatus;
}

OSStatus AccountingTerminate(PMPDEContext pdeContext, OSStatus status) {
    OSStatus hookStatus = TovekPDETerminate(pdeContext, status);
    AccountingContext* context = as_context(pdeContext);
    if (context == nullptr)
        return kPMInvalidPDEContext;
    if (context->title != nullptr) {
        CFRelease(context->title);
        context->title = nullptr;
    }
    if (context->windowHandlerUPP != nullptr) {
        RemoveEventHandler(context->windowHandler);
        DisposeEventHandlerUPP(context->windowHandlerUPP);
        context->windowHandlerUPP = nullptr;
    }
    delete context->imageManager;
    context->imageManager = nullptr;
    std::free(context);
    return hookStatus;
}
