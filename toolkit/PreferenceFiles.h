/*
 * PreferenceFiles.h: the toolkit's small XML property-list files. Maker data files live in the
 * "Tovek" folder of the machine-wide Application Support folder; per-user preference files,
 * among them the input history, in the user's Preferences folder (docs/preference-files.md says
 * where both are on this platform).
 */
#ifndef TOOLKIT_PREFERENCEFILES_H
#define TOOLKIT_PREFERENCEFILES_H

#include <Carbon/Carbon.h>

#include "SettingMaps.h"

CF_EXTERN_C_BEGIN

/* The per-user file that remembers what the user typed: history key -> array of strings,
   newest first. */
#define kInputHistoryFileName CFSTR("com.tovek.print.inputhistory.plist")

/* How many entries AddInputHistoryEntry keeps under one key. */
enum { kInputHistoryMaxEntries = 20 };

/* The URL of fileName in the maker folder, which is created when missing (the Application
   Support folder itself is not). The file need not exist. NULL when the folders cannot be had.
   The caller releases the URL. */
CF_EXPORT CFURLRef CopyPreferenceFileURL(CFStringRef fileName);

/* The maker data file fileName, parsed with mutable containers and leaves; NULL when it cannot
   be read or parsed (the parser's reason goes to standard error, and a damaged file is kept
   beside as "<name>.damaged" so that the next save loses nothing it held). The caller releases
   the result. */
CF_EXPORT CFPropertyListRef CopyXMLData(CFStringRef fileName);

/* The user's preference file fileName, parsed with mutable containers and leaves; a new empty
   mutable dictionary when the file is missing or damaged (a damaged one is kept beside as
   "<name>.damaged"). NULL only when there is no Preferences folder. The caller releases it. */
CF_EXPORT CFPropertyListRef CopyUserPreferences(CFStringRef fileName);

/* Replaces the user's preference file fileName with propertyList as XML, whole or not at all
   (a new file is readable by the user only). False, with a line on standard error for a
   failed write, when the folder is missing or the list cannot be written. */
CF_EXPORT Boolean WriteUserPreferences(CFStringRef fileName, CFPropertyListRef propertyList);

/* Remembers entry under historyKey in the input history file: it becomes the first entry, an
   equal older one goes, and only the newest kInputHistoryMaxEntries stay. Other keys are kept.
   False for a NULL or empty argument or when the file cannot be written. */
CF_EXPORT Boolean AddInputHistoryEntry(CFStringRef historyKey, CFStringRef entry);

CF_EXTERN_C_END

#ifdef __cplusplus
/* Refills the popup's menu from map (PopulateMenuFromMap with mapCommandID), then inserts the
   input history's entries under historyKey (when given) as one block after item insertAfter,
   in the file's order, with historyCommandID. Sets the popup's maximum to the count of map rows
   plus history entries and returns it; 0 for a popup without a menu. Exported under its C++
   name. */
__attribute__((visibility("default"))) UInt16 PopulatePopupButtonFromMapAndHistory(
    CFBundleRef bundle, ControlRef popup, const SettingMap* map, JobContext jobContext,
    CFStringRef historyKey, SInt32 insertAfter, UInt32 historyCommandID, UInt32 mapCommandID);
#endif

#endif /* TOOLKIT_PREFERENCEFILES_H */
