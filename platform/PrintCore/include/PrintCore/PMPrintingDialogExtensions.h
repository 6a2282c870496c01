/*
 * PMPrintingDialogExtensions.h: the interface between a print dialog and its printing dialog
 * extensions (PDEs), plug-ins that add panels to the dialog.
 *
 * A PDE bundle registers a factory for a plug-in type below. The host calls the factory,
 * queries the returned IUnknown object for kDialogExtensionIntfIDStr and receives a
 * PlugInIntf, whose table holds the header operations and then the seven panel operations
 * in this fixed order.
 */
#ifndef PRINTCORE_PMPRINTINGDIALOGEXTENSIONS_H
#define PRINTCORE_PMPRINTINGDIALOGEXTENSIONS_H

#include <PrintCore/PMDefinitions.h>

CF_EXTERN_C_BEGIN

/* The plug-in types a dialog extension registers its factory under (CFPlugInTypes), by who
   shows it: a printer module's panels, an application's own print or page setup panels, the
   general ones. */
#define kPrinterModuleTypeIDStr CFSTR("BDB091F4-E57F-11D3-B5CC-0050E4603277")
#define kAppPrintDialogTypeIDStr CFSTR("BCB07250-E57F-11D3-8CA6-0050E4603277")
#define kAppPageSetupDialogTypeIDStr CFSTR("B9A0DA98-E57F-11D3-9E83-0050E4603277")
#define kAppPrintThumbnailTypeIDStr CFSTR("9320FE03-B5D5-11D5-84D1-003065D6135E")
#define kGeneralPrintDialogTypeIDStr CFSTR("C1BF838E-B72A-11D3-9644-0050E4603277")
#define kGeneralPageSetupDialogTypeIDStr CFSTR("6E6ED964-B738-11D3-952F-0050E4603277")
/* The PDE interface. */
#define kDialogExtensionIntfIDStr CFSTR("A996FD7E-B738-11D3-8519-0050E4603277")

/* Sync's direction (its reinitializePlugIn argument). */
enum { kPMSyncTicketFromPane = false, kPMSyncPaneFromTicket = true };

/* What Initialize reports through its flags. */
enum {
    kPMPDENoFlags = 0x00000000,
    kPMPDENoSummary = 0x00000001, /* GetSummaryText has nothing to say */
    kPMPDEAllFlags = 0xFFFFFFFF
};

typedef struct OpaquePMPDEContext* PMPDEContext;
typedef struct OpaquePMPDERef* PMPDERef;
typedef UInt32 PMPDEFlags;

typedef struct {
    UInt32 buildVersionMajor;
    UInt32 buildVersionMinor;
    UInt32 baseVersionMajor;
    UInt32 baseVersionMinor;
} PMPlugInAPIVersion;

/* The version this host speaks. */
enum {
    kPDEBuildVersionMajor = 1,
    kPDEBuildVersionMinor = 0,
    kPDEBaseVersionMajor = 1,
    kPDEBaseVersionMinor = 0
};

/* The user pane a PDE embeds its panel in; PrintCore does not need its contents. */
struct OpaqueControlRef;

typedef struct PMPlugInHeaderInterface PMPlugInHeaderInterface;

typedef struct {
    OSStatus (*Retain)(PMPlugInHeaderInterface* obj);
    OSStatus (*Release)(PMPlugInHeaderInterface** objPtr);
    OSStatus (*GetAPIVersion)(PMPlugInHeaderInterface* obj, PMPlugInAPIVersion* versionPtr);
} PMPlugInHeader;

typedef struct {
    PMPlugInHeader plugInHeader;
    OSStatus (*Prolog)(PMPDEContext* context, OSType* creator, CFStringRef* userOptionKind,
                       CFStringRef* title, UInt32* maxH, UInt32* maxV);
    OSStatus (*Initialize)(PMPDEContext context, PMPDEFlags* flags, PMPDERef ref,
                           struct OpaqueControlRef* parentUserPane, PMPrintSession printSession);
    OSStatus (*Sync)(PMPDEContext context, PMPrintSession printSession, Boolean reinitializePlugIn);
    OSStatus (*GetSummaryText)(PMPDEContext context, CFArrayRef* titleArray,
                               CFArrayRef* summaryArray);
    OSStatus (*Open)(PMPDEContext context);
    OSStatus (*Close)(PMPDEContext context);
    OSStatus (*Terminate)(PMPDEContext context, OSStatus status);
} PlugInIntfVTable;

/* Every interface object starts with a pointer to its table. */
struct PMPlugInHeaderInterface {
    const PMPlugInHeader* vtable;
};

typedef struct {
    const PlugInIntfVTable* vtable;
} PlugInIntf;

CF_EXTERN_C_END

#endif /* PRINTCORE_PMPRINTINGDIALOGEXTENSIONS_H */
