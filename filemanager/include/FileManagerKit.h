/*
 * FileManagerKit.h: higher-level File Manager routines built on FSRefs.
 */
#ifndef FILEMANAGERKIT_H
#define FILEMANAGERKIT_H

#include <CoreServices/CoreServices.h>

CF_EXTERN_C_BEGIN

/*
 * The per-item callback of FSIterateContainer. currentLevel is 1 for the
 * items of the container itself, 2 for those of its folders, and so on.
 * catalogInfo holds the fields asked for (and always nodeFlags); spec and
 * name are NULL unless they were asked for. Return true to stop the walk.
 */
typedef Boolean (*IterateContainerFilterProcPtr)(Boolean containerChanged, ItemCount currentLevel,
                                                 const FSCatalogInfo* catalogInfo, const FSRef* ref,
                                                 const FSSpec* spec, const HFSUniStr255* name,
                                                 void* yourDataPtr);

/*
 * FSIterateContainer: walks the folder `container` depth-first, calling
 * iterateFilter for every item; a folder is walked as soon as it has been
 * passed to the callback, before the rest of its siblings, unless maxLevels
 * is not 0 and the folder's level has reached it. The walk ends when every
 * item has been seen or the callback returns true. An unreadable folder
 * (afpAccessDenied) is skipped. Returns noErr, paramErr without a callback,
 * or the first other error, which ends the walk.
 */
CF_EXPORT OSErr FSIterateContainer(const FSRef* container, ItemCount maxLevels,
                                   FSCatalogInfoBitmap whichInfo, Boolean wantFSSpec,
                                   Boolean wantName, IterateContainerFilterProcPtr iterateFilter,
                                   void* yourDataPtr);

CF_EXTERN_C_END

#endif /* FILEMANAGERKIT_H */
