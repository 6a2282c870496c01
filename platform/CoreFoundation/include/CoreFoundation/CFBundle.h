/*
 * CFBundle.h: bundles, the folders that hold a program's or plug-in's code,
 * its Info.plist and its resources.
 *
 * Two layouts are understood. The macOS layout keeps everything in a
 * Contents folder: Contents/Info.plist, Contents/MacOS/<executable>,
 * Contents/Resources, Contents/PlugIns. The flat layout has Info.plist,
 * the executable, the .lproj folders and PlugIns at the bundle's top level.
 *
 * There is one bundle object per folder: CFBundleCreate hands out the same
 * object again while it exists, and CFBundleGetBundleWithIdentifier finds
 * any of them. A bundle whose code is loaded, and a plug-in with registered
 * factories, stay alive until that ends. Executables are shared objects,
 * loaded with dlopen (RTLD_NOW | RTLD_LOCAL).
 */
#ifndef COREFOUNDATION_CFBUNDLE_H
#define COREFOUNDATION_CFBUNDLE_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFString.h>
#include <CoreFoundation/CFURL.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueCFBundle* CFBundleRef;
typedef struct OpaqueCFBundle* CFPlugInRef;

/* Info.plist keys. */
CF_EXPORT const CFStringRef kCFBundleInfoDictionaryVersionKey;
CF_EXPORT const CFStringRef kCFBundleExecutableKey;
CF_EXPORT const CFStringRef kCFBundleIdentifierKey;
CF_EXPORT const CFStringRef kCFBundleVersionKey;
CF_EXPORT const CFStringRef kCFBundleDevelopmentRegionKey;
CF_EXPORT const CFStringRef kCFBundleNameKey;
CF_EXPORT const CFStringRef kCFBundleLocalizationsKey;

CF_EXPORT CFTypeID CFBundleGetTypeID(void);

/*
 * CFBundleGetMainBundle: the bundle of the running program: the X.app folder
 * when the executable is X.app/Contents/MacOS/x, else the executable's
 * folder. Not to be released.
 */
CF_EXPORT CFBundleRef CFBundleGetMainBundle(void);

/* CFBundleGetBundleWithIdentifier: a bundle of this process with that CFBundleIdentifier, or NULL.
 * Not retained. */
CF_EXPORT CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);

/* CFBundleGetAllBundles: every bundle of this process. Not retained; do not modify. */
CF_EXPORT CFArrayRef CFBundleGetAllBundles(void);

/*
 * CFBundleCreate: the bundle at a file URL of a folder (the caller releases
 * it), or NULL when there is no such folder. A malformed Info.plist gives a
 * line on standard error and an empty info dictionary; the reason is also
 * available from PlatformCopyBundleLoadError.
 */
CF_EXPORT CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef bundleURL);

CF_EXPORT CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
/* The Info.plist contents (empty when there is none). Not retained. */
CF_EXPORT CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle);
/* A value of the info dictionary, localised by InfoPlist.strings when it is a string. Not retained.
 */
CF_EXPORT CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);
CF_EXPORT CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);
CF_EXPORT CFStringRef CFBundleGetDevelopmentRegion(CFBundleRef bundle);

/* Folder URLs, created for the caller, whether or not the folders exist. */
CF_EXPORT CFURLRef CFBundleCopySupportFilesDirectoryURL(CFBundleRef bundle);
CF_EXPORT CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef bundle);
CF_EXPORT CFURLRef CFBundleCopyBuiltInPlugInsURL(CFBundleRef bundle);
/* The executable's URL, or NULL when the file is not there. */
CF_EXPORT CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle);

/*
 * CFBundleCopyResourceURL: the URL of resource "name.type" (type may be NULL
 * or empty when name has the extension; name NULL means the first of that
 * type) in subDirName of the resources folder, looked for in the preferred
 * localization's .lproj, then the development region's, then the
 * non-localised resources. NULL when it is nowhere.
 */
CF_EXPORT CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                           CFStringRef resourceType, CFStringRef subDirName);

/* The bundle's localizations: its .lproj folders and any CFBundleLocalizations. */
CF_EXPORT CFArrayRef CFBundleCopyBundleLocalizations(CFBundleRef bundle);
/*
 * The one localization of locArray that suits the process's preferred
 * languages (LANGUAGE, then LC_ALL, LC_MESSAGES or LANG) best, in an array
 * of one; English or the first entry when none matches. Empty for an empty
 * array.
 */
CF_EXPORT CFArrayRef CFBundleCopyPreferredLocalizationsFromArray(CFArrayRef locArray);

/*
 * CFBundleCopyLocalizedString: the text for `key` in strings table
 * `tableName` ("Localizable" when NULL) of the preferred localization. Each
 * table of each language is read once and kept. A missing key gives `value`
 * when that is not empty, else the key. The caller releases the result.
 */
CF_EXPORT CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key,
                                                  CFStringRef value, CFStringRef tableName);

#define CFCopyLocalizedString(key, comment)                                                        \
    CFBundleCopyLocalizedString(CFBundleGetMainBundle(), (key), (key), NULL)
#define CFCopyLocalizedStringFromTable(key, tbl, comment)                                          \
    CFBundleCopyLocalizedString(CFBundleGetMainBundle(), (key), (key), (tbl))
#define CFCopyLocalizedStringFromTableInBundle(key, tbl, bundle, comment)                          \
    CFBundleCopyLocalizedString((bundle), (key), (key), (tbl))
#define CFCopyLocalizedStringWithDefaultValue(key, tbl, bundle, value, comment)                    \
    CFBundleCopyLocalizedString((bundle), (key), (value), (tbl))

/*
 * CFBundleLoadExecutable: loads the bundle's code. False when there is no
 * executable or dlopen fails; the reason goes to standard error and to
 * PlatformCopyBundleLoadError.
 */
CF_EXPORT Boolean CFBundleLoadExecutable(CFBundleRef bundle);
CF_EXPORT Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle);
/* Unloads the code, unless plug-in instances of the bundle still exist. */
CF_EXPORT void CFBundleUnloadExecutable(CFBundleRef bundle);
/* A function or data symbol of the bundle's code, loading it first if needed; NULL if absent. */
CF_EXPORT void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName);
CF_EXPORT void* CFBundleGetDataPointerForName(CFBundleRef bundle, CFStringRef symbolName);

/* The bundle as a plug-in (the same object), or NULL when it registers no factories. */
CF_EXPORT CFPlugInRef CFBundleGetPlugIn(CFBundleRef bundle);

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFBUNDLE_H */
