/*
 * HelpHelpers.h: opening a page of the help book that a bundle names.
 */
#ifndef TOOLKIT_HELPHELPERS_H
#define TOOLKIT_HELPHELPERS_H

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

/* The command of a dialog's help button in the bundle's nibs. */
enum { kHelpButtonCommand = 0x54686C70 /* "Thlp" */ };

/* Shows the help book named by the bundle's "CFBundleHelpBookName": at `path` (scrolled to
   `anchor` when given), else at the first page with `anchor`, else at its start page. Returns
   paramErr when the bundle names no book, otherwise the help system's status. */
CF_EXPORT OSStatus DisplayHelp(CFBundleRef bundle, CFStringRef path, CFStringRef anchor);

CF_EXTERN_C_END

#endif /* TOOLKIT_HELPHELPERS_H */
