// Reading and writing whole property-list files, shared by the preference, history and
// watermark routines.
#ifndef TOOLKIT_PREFERENCEFILESINTERNAL_H
#define TOOLKIT_PREFERENCEFILESINTERNAL_H

#include "PreferenceFiles.h"

namespace toolkit {

// The file's bytes parsed with mutable containers and leaves. NULL when the file cannot be
// read (*damaged false) or does not parse (*damaged true, *errorString the parser's reason,
// which the caller releases).
CFPropertyListRef copy_property_list_file(CFURLRef url, bool* damaged, CFStringRef* errorString);

// Moves a file that does not parse to "<name>.damaged" beside it, so that the next save,
// which starts afresh, destroys nothing the file still holds; says so on standard error, in the
// name of `who`, the reader that found it damaged.
void keep_damaged_file(const char* who, CFURLRef url, CFStringRef reason);

// The XML form of plist written over the file at url, whole or not at all. False with
// *errorCode (0 when the list itself cannot be written) on failure.
bool write_property_list_file(CFURLRef url, CFPropertyListRef plist, SInt32* errorCode);

// The URL of fileName in the user's Preferences folder; NULL without the folder.
CFURLRef copy_user_preference_url(CFStringRef fileName);

} // namespace toolkit

#endif
