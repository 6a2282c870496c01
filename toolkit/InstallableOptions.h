/*
 * InstallableOptions.h: what optional hardware the current printer has, read once from the
 * default choices of its PPD's "InstallableOptions" group, and named features defined over it.
 */
#ifndef TOOLKIT_INSTALLABLEOPTIONS_H
#define TOOLKIT_INSTALLABLEOPTIONS_H

#include <CoreFoundation/CoreFoundation.h>
#include <cups/ppd.h>

CF_EXTERN_C_BEGIN

/* One row of a feature table; a table ends with a row whose featureName is NULL. A row applies
   when optionKeyword is NULL, or when the PPD's installed choice for optionKeyword is choice.
   For a feature named by several rows, the first row that applies answers. */
typedef struct InstalledFeatureMap {
    CFStringRef featureName;
    CFStringRef optionKeyword;
    CFStringRef choice;
    CFStringRef localizedKey;
    SInt32 ticketValue;
} InstalledFeatureMap;

/* Records the default choice of every option of the PPD's "InstallableOptions" group and puts
   table in force; the table must outlive the load. Marks the PPD's defaults. Returns true when
   at least one option was recorded. Refuses (false, nothing changed) while something is loaded;
   a PPD without the group, or none at all (NULL), still counts as loaded, with no options. */
CF_EXPORT Boolean LoadInstallableOptions(ppd_file_t* ppd, const InstalledFeatureMap* table);

/* Forgets the recorded options and the table; does nothing when nothing is loaded. */
CF_EXPORT void UnloadInstallableOptions(void);

/* Stores the recorded choice of optionKeyword (not retained) in *outChoice and returns true;
   false when nothing is loaded or the option was not recorded. */
CF_EXPORT Boolean getInstallableOptionValue(CFStringRef optionKeyword, CFStringRef* outChoice);

/* True when a row named featureName applies; false otherwise, for NULL and with no table. */
CF_EXPORT Boolean getInstalledFeature(CFStringRef featureName);

/* A new string (the caller releases it) with the display text of featureName from bundle's
   default strings table ("STRING NOT FOUND" for a missing key). An unconditional row ends the
   search with its key, or NULL without one; a conditional row that applies answers only when
   it has a key. NULL when no row answers. */
CF_EXPORT CFStringRef CopyLocalizedStringForInstalledFeatureFromPlugin(CFStringRef featureName,
                                                                       CFBundleRef bundle);

/* Stores the ticket value of the row that answers for featureName and returns true; false when
   no row answers or an argument is NULL. */
CF_EXPORT Boolean getInstallableOptionTicketValue(CFStringRef featureName, SInt32* outValue);

CF_EXTERN_C_END

#endif /* TOOLKIT_INSTALLABLEOPTIONS_H */
