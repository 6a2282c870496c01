/*
 * AppleHelp.h: opening a page of a help book.
 *
 * A help book belongs to a bundle: the bundle's Info.plist names it under
 * "CFBundleHelpBookName" and, under "CFBundleHelpBookFolder", the folder of
 * its pages inside the bundle's resources, looked for in the preferred
 * localization's .lproj first, as CFBundleCopyResourceURL does. A book is
 * known when its bundle was registered (AHRegisterHelpBook...) or, failing
 * that, when its bundle is one of the process's bundles (CFBundleGetAllBundles).
 * The page found is handed to the help viewer; see <Help/PlatformHost.h>.
 *
 * Statuses: noErr when the page was handed to the viewer; paramErr for
 * missing or malformed arguments; kAHInternalErr when no known bundle names
 * the book; fnfErr when the page, or the anchor, is not in the book.
 */
#ifndef HELP_APPLEHELP_H
#define HELP_APPLEHELP_H

#include <CoreFoundation/CFString.h>
#include <CoreFoundation/CFURL.h>
#include <CoreServices/Files.h>
#include <CoreServices/MacErrors.h>

CF_EXTERN_C_BEGIN

enum { kAHInternalErr = -10790, kAHInternetConfigPrefErr = -10791 };

typedef SInt16 AHTOCType;
enum { kAHTOCTypeUser = 0, kAHTOCTypeDeveloper = 1 };

/*
 * AHGotoPage: shows `path` of book `bookname` ("Topics/intro.html",
 * relative to the book's folder), scrolled to `anchor` when that is not
 * NULL. A NULL path means the book's start page: the file the Info.plist
 * names under "HPDBookAccessPath", else index.html. With a NULL bookname,
 * path must be a file: URL. An anchor must occur on the page (as a name or
 * id attribute), else fnfErr.
 */
CF_EXPORT OSStatus AHGotoPage(CFStringRef bookname, CFStringRef path, CFStringRef anchor);

/*
 * AHLookupAnchor: shows the first page of the book (by sorted path) that
 * has `anchor` as a name or id attribute; a NULL bookname searches every
 * known book. fnfErr when no page has it.
 */
CF_EXPORT OSStatus AHLookupAnchor(CFStringRef bookname, CFStringRef anchor);

/*
 * AHRegisterHelpBook, AHRegisterHelpBookWithURL: makes the book of the
 * bundle at appBundleRef (or applicationURL, a file URL) known for the rest
 * of the process. paramErr for NULL, dirNFErr when there is no bundle
 * there, kAHInternalErr when its Info.plist names no help book.
 */
CF_EXPORT OSStatus AHRegisterHelpBook(const FSRef* appBundleRef);
CF_EXPORT OSStatus AHRegisterHelpBookWithURL(CFURLRef applicationURL);

CF_EXTERN_C_END

#endif /* HELP_APPLEHELP_H */
