/*
 * IBCarbonRuntime.h: nib files, the interface descriptions that a bundle
 * keeps among its resources. A nib reference holds one parsed file; each
 * CreateWindowFromNib builds a fresh, hidden window from it. The file format
 * (XML of this platform's own) is described in docs/nib-format.md.
 */
#ifndef HITOOLBOX_IBCARBONRUNTIME_H
#define HITOOLBOX_IBCARBONRUNTIME_H

#include <HIToolbox/MacWindows.h>
#include <HIToolbox/Menus.h>
#include <CoreFoundation/CFBundle.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueIBNibRef* IBNibRef;

enum {
    kIBCarbonRuntimeCantFindNibFile = -10960,
    kIBCarbonRuntimeObjectNotOfRequestedType = -10961,
    kIBCarbonRuntimeCantFindObject = -10962
};

/*
 * Opens the nib file "inNibName.nib" among the bundle's resources, in the
 * localization that suits the user's languages best (like any resource).
 * kIBCarbonRuntimeCantFindNibFile when the bundle has no such file;
 * errCorruptWindowDescription and a line on standard error naming the file
 * and line when it is malformed; paramErr for NULL arguments.
 */
CF_EXPORT OSStatus CreateNibReferenceWithCFBundle(CFBundleRef inBundle, CFStringRef inNibName,
                                                  IBNibRef* outNibRef);

/* The same, in the main bundle (the program's folder when it is no bundle). */
CF_EXPORT OSStatus CreateNibReference(CFStringRef inNibName, IBNibRef* outNibRef);

/*
 * Creates a window from the nib's description named inName. The window is
 * hidden; the caller disposes of it. kIBCarbonRuntimeCantFindObject when the
 * nib describes nothing of that name, kIBCarbonRuntimeObjectNotOfRequestedType
 * when the name is a menu's. A description that cannot be built (an unknown
 * control kind, a bad attribute) gives errCorruptWindowDescription and a
 * line on standard error naming the file and line; nothing is left behind.
 */
CF_EXPORT OSStatus CreateWindowFromNib(IBNibRef inNibRef, CFStringRef inName, WindowRef* outWindow);

/*
 * Creates a menu from the nib's <menu> named inName; the caller releases it
 * (ReleaseMenu). The statuses are CreateWindowFromNib's, with the roles of
 * windows and menus swapped.
 */
CF_EXPORT OSStatus CreateMenuFromNib(IBNibRef inNibRef, CFStringRef inName, MenuRef* outMenuRef);

/* Releases the nib reference. Windows made from it live on. */
CF_EXPORT void DisposeNibReference(IBNibRef inNibRef);

CF_EXTERN_C_END

#endif /* HITOOLBOX_IBCARBONRUNTIME_H */
