/*
 * SamplePDE.c: a print dialog extension written the way Carbon PDEs for Mac OS X were: C,
 * Carbon, an Interface Builder nib, registered under the application print-dialog PDE type.
 * It keeps its settings in the print settings ticket as one data item and describes them in
 * the Summary. Built by the kit's test against the installed kit with its pkg-config line
 * only; nothing in it knows it is not on a Mac.
 */
#include <Carbon/Carbon.h>
#include <Print/PMPrintingDialogExtensions.h>

#define kSampleBundleID CFSTR("com.example.print.pde.Sample")
#define kSampleFactoryIDStr CFSTR("5B0D6A3E-2C41-4E8A-9F37-1D2B3C4D5E6F")
#define kSampleKind CFSTR("com.example.print.pde.SampleKind")
#define kSampleSettingsKey CFSTR("com.example.print.pde.Sample.settings")
#define kSampleSignature 'SmpP'

enum { kPaneID = 1, kQualityID = 2, kBordersID = 3, kColorGroupID = 4 };

/* What the ticket holds, as bytes. */
typedef struct {
    SInt32 quality;   /* popup item, 1..3 */
    SInt32 borders;   /* 0 or 1 */
    SInt32 colorMode; /* radio button, 1..3 */
} SampleSettings;

typedef struct {
    CFBundleRef bundle;
    PMPrintSession session;
    ControlRef parentPane;
    ControlRef pane;
    CFStringRef title;
    SampleSettings settings;
} SampleContext;

static ControlRef FindControl(SampleContext* context, SInt32 id) {
    ControlID controlID = {kSampleSignature, id};
    ControlRef control = NULL;
    GetControlByID(GetControlOwner(context->parentPane), &controlID, &control);
    return control;
}

static OSStatus GetTicket(PMPrintSession session, PMTicketRef* ticket) {
    CFTypeRef data = NULL;
    OSStatus err = PMSessionGetDataFromSession(session, kPDE_PMPrintSettingsRef, &data);
    *ticket = NULL;
    if (err == noErr && data != NULL)
        CFNumberGetValue((CFNumberRef)data, kCFNumberSInt32Type, (void*)ticket);
    return err != noErr ? err : (*ticket != NULL ? noErr : kPMInvalidTicket);
}

static void SettingsToControls(SampleContext* context) {
    SetControl32BitValue(FindControl(context, kQualityID), context->settings.quality);
    SetControl32BitValue(FindControl(context, kBordersID), context->settings.borders);
    SetControl32BitValue(FindControl(context, kColorGroupID), context->settings.colorMode);
}

static void ControlsToSettings(SampleContext* context) {
    if (context->pane == NULL)
        return;
    context->settings.quality = GetControl32BitValue(FindControl(context, kQualityID));
    context->settings.borders = GetControl32BitValue(FindControl(context, kBordersID));
    context->settings.colorMode = GetControl32BitValue(FindControl(context, kColorGroupID));
}

static void ReadTicket(SampleContext* context) {
    PMTicketRef ticket = NULL;
    CFDataRef data = NULL;
    if (GetTicket(context->session, &ticket) == noErr &&
        PMTicketGetCFData(ticket, kPMTopLevel, kPMTopLevel, kSampleSettingsKey, &data) ==
            noErr &&
        CFDataGetLength(data) == (CFIndex)sizeof(SampleSettings))
        memcpy(&context->settings, CFDataGetBytePtr(data), sizeof(SampleSettings));
}

/* The panel comes from the nib: its window's user pane moves into the dialog's pane. */
static OSStatus BuildPanel(SampleContext* context) {
    IBNibRef nib = NULL;
    WindowRef nibWindow = NULL;
    OSStatus err = CreateNibReferenceWithCFBundle(context->bundle, CFSTR("SamplePDE"), &nib);
    if (err != noErr)
        return err;
    err = CreateWindowFromNib(nib, CFSTR("PDEWindow"), &nibWindow);
    DisposeNibReference(nib);
    if (err != noErr)
        return err;
    ControlID paneID = {kSampleSignature, kPaneID};
    err = GetControlByID(nibWindow, &paneID, &context->pane);
    if (err == noErr)
        err = EmbedControl(context->pane, context->parentPane);
    if (err == noErr) {
        Rect parent, bounds;
        GetControlBounds(context->parentPane, &parent);
        GetControlBounds(context->pane, &bounds);
        OffsetRect(&bounds, parent.left - bounds.left, parent.top - bounds.top);
        SetControlBounds(context->pane, &bounds);
    }
    DisposeWindow(nibWindow);
    return err;
}

static CFStringRef CopyText(SampleContext* context, CFStringRef key) {
    return CFBundleCopyLocalizedString(context->bundle, key, key, NULL);
}

static void AppendPair(SampleContext* context, CFMutableArrayRef titles,
                       CFMutableArrayRef values, CFStringRef title, CFStringRef value) {
    CFStringRef localTitle = CopyText(context, title);
    CFStringRef localValue = CopyText(context, value);
    CFArrayAppendValue(titles, localTitle);
    CFArrayAppendValue(values, localValue);
    CFRelease(localTitle);
    CFRelease(localValue);
}

static OSStatus SampleProlog(PMPDEContext* outContext, OSType* creator,
                             CFStringRef* userOptionKind, CFStringRef* title, UInt32* maxH,
                             UInt32* maxV) {
    SampleContext* context = (SampleContext*)calloc(1, sizeof(SampleContext));
    if (context == NULL)
        return memFullErr;
    context->bundle = CFBundleGetBundleWithIdentifier(kSampleBundleID);
    context->settings.quality = 2;
    context->settings.colorMode = 1;
    *outContext = (PMPDEContext)context;
    *creator = kSampleSignature;
    *userOptionKind = kSampleKind;
    context->title = CopyText(context, CFSTR("Sample Options")); /* ours until Terminate */
    *title = context->title;
    *maxH = 400;
    *maxV = 200;
    return noErr;
}

static OSStatus SampleInitialize(PMPDEContext pdeContext, PMPDEFlags* flags, PMPDERef ref,
                                 ControlRef parentUserPane, PMPrintSession printSession) {
    SampleContext* context = (SampleContext*)pdeContext;
    (void)ref;
    if (context == NULL)
        return kPMInvalidPDEContext;
    *flags = kPMPDENoFlags;
    context->parentPane = parentUserPane;
    context->session = printSession;
    ReadTicket(context);
    OSStatus err = BuildPanel(context);
    if (err == noErr)
        SettingsToControls(context);
    return err;
}

static OSStatus SampleSync(PMPDEContext pdeContext, PMPrintSession printSession,
                           Boolean reinitializePlugIn) {
    SampleContext* context = (SampleContext*)pdeContext;
    PMTicketRef ticket = NULL;
    if (context == NULL)
        return kPMInvalidPDEContext;
    if (reinitializePlugIn == kPMSyncPaneFromTicket) {
        ReadTicket(context);
        SettingsToControls(context);
        return noErr;
    }
    ControlsToSettings(context);
    OSStatus err = GetTicket(printSession, &ticket);
    if (err != noErr)
        return err;
    CFDataRef data = CFDataCreate(NULL, (const UInt8*)&context->settings, sizeof(SampleSettings));
    if (data == NULL)
        return memFullErr;
    err = PMTicketSetCFData(ticket, kSampleBundleID, kSampleSettingsKey, data, kPMUnlocked);
    CFRelease(data);
    return err;
}

static OSStatus SampleGetSummaryText(PMPDEContext pdeContext, CFArrayRef* titleArray,
                                     CFArrayRef* summaryArray) {
    const CFStringRef qualities[] = {CFSTR("Draft"), CFSTR("Normal"), CFSTR("Best")};
    const CFStringRef modes[] = {CFSTR("Color"), CFSTR("Grayscale"),
                                        CFSTR("Black & White")};
    SampleContext* context = (SampleContext*)pdeContext;
    if (context == NULL)
        return kPMInvalidPDEContext;
    ControlsToSettings(context);
    CFMutableArrayRef titles = CFArrayCreateMutable(NULL, 0, &kCFTypeArrayCallBacks);
    CFMutableArrayRef values = CFArrayCreateMutable(NULL, 0, &kCFTypeArrayCallBacks);
    SInt32 quality = context->settings.quality, mode = context->settings.colorMode;
    AppendPair(context, titles, values, CFSTR("Quality"),
               qualities[quality >= 1 && quality <= 3 ? quality - 1 : 1]);
    AppendPair(context, titles, values, CFSTR("Borders"),
               context->settings.borders ? CFSTR("On") : CFSTR("Off"));
    AppendPair(context, titles, values, CFSTR("Color Mode"),
               modes[mode >= 1 && mode <= 3 ? mode - 1 : 0]);
    *titleArray = titles; /* the dialog releases both */
    *summaryArray = values;
    return noErr;
}

static OSStatus SampleOpen(PMPDEContext pdeContext) {
    SampleContext* context = (SampleContext*)pdeContext;
    if (context == NULL)
        return kPMInvalidPDEContext;
    SetControlVisibility(context->pane, true, true);
    return noErr;
}

static OSStatus SampleClose(PMPDEContext pdeContext) {
    SampleContext* context = (SampleContext*)pdeContext;
    if (context == NULL)
        return kPMInvalidPDEContext;
    ControlsToSettings(context);
    return noErr;
}

static OSStatus SampleTerminate(PMPDEContext pdeContext, OSStatus status) {
    SampleContext* context = (SampleContext*)pdeContext;
    (void)status;
    if (context == NULL)
        return kPMInvalidPDEContext;
    if (context->title != NULL)
        CFRelease(context->title);
    free(context);
    return noErr;
}

/* ---- The plug-in objects --------------------------------------------------------------- */

typedef struct {
    const PlugInIntfVTable* vtable;
    UInt32 refCount;
} SampleInterface;

static OSStatus InterfaceRetain(PMPlugInHeaderInterface* object) {
    ((SampleInterface*)object)->refCount++;
    return noErr;
}

static OSStatus InterfaceRelease(PMPlugInHeaderInterface** object) {
    SampleInterface* interface = (SampleInterface*)*object;
    *object = NULL;
    if (--interface->refCount == 0)
        free(interface);
    return noErr;
}

static OSStatus InterfaceGetAPIVersion(PMPlugInHeaderInterface* object,
                                       PMPlugInAPIVersion* version) {
    (void)object;
    version->buildVersionMajor = kPDEBuildVersionMajor;
    version->buildVersionMinor = kPDEBuildVersionMinor;
    version->baseVersionMajor = kPDEBaseVersionMajor;
    version->baseVersionMinor = kPDEBaseVersionMinor;
    return noErr;
}

static const PlugInIntfVTable gSampleVTable = {
    {InterfaceRetain, InterfaceRelease, InterfaceGetAPIVersion},
    SampleProlog, SampleInitialize, SampleSync, SampleGetSummaryText,
    SampleOpen,   SampleClose,      SampleTerminate};

typedef struct {
    IUnknownVTbl* vtable;
    IUnknownVTbl table;
    CFUUIDRef factoryID;
    UInt32 refCount;
} SampleInstance;

static ULONG InstanceAddRef(void* self) {
    return ++((SampleInstance*)self)->refCount;
}

static ULONG InstanceRelease(void* self) {
    SampleInstance* instance = (SampleInstance*)self;
    if (--instance->refCount > 0)
        return instance->refCount;
    CFPlugInRemoveInstanceForFactory(instance->factoryID);
    CFRelease(instance->factoryID);
    free(instance);
    return 0;
}

static HRESULT InstanceQueryInterface(void* self, REFIID iid, LPVOID* result) {
    CFUUIDRef requested = CFUUIDCreateFromUUIDBytes(NULL, iid);
    CFUUIDRef pde = CFUUIDCreateFromString(NULL, kDialogExtensionIntfIDStr);
    HRESULT status = E_NOINTERFACE;
    *result = NULL;
    if (CFEqual(requested, pde)) {
        SampleInterface* interface = (SampleInterface*)malloc(sizeof(SampleInterface));
        if (interface != NULL) {
            interface->vtable = &gSampleVTable;
            interface->refCount = 1;
            *result = interface;
            status = S_OK;
        }
    } else if (CFEqual(requested, IUnknownUUID)) {
        InstanceAddRef(self);
        *result = self;
        status = S_OK;
    }
    CFRelease(pde);
    CFRelease(requested);
    return status;
}

void* SamplePDEFactory(CFAllocatorRef allocator, CFUUIDRef typeID) {
    CFUUIDRef appType = CFUUIDCreateFromString(NULL, kAppPrintDialogTypeIDStr);
    SampleInstance* instance = NULL;
    (void)allocator;
    if (CFEqual(typeID, appType) &&
        (instance = (SampleInstance*)calloc(1, sizeof(SampleInstance))) != NULL) {
        instance->table.QueryInterface = InstanceQueryInterface;
        instance->table.AddRef = InstanceAddRef;
        instance->table.Release = InstanceRelease;
        instance->vtable = &instance->table;
        instance->factoryID = CFUUIDCreateFromString(NULL, kSampleFactoryIDStr);
        instance->refCount = 1;
        CFPlugInAddInstanceForFactory(instance->factoryID);
    }
    CFRelease(appType);
    return instance;
}
