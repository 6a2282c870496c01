/*
 * IconsCore.h: Icon Services. An IconRef is a reference-counted icon made
 * from an icon family; the images it holds are checked when it is made (run-
 * length encoded RGB with its mask is decoded, PNG elements are checked for a
 * PNG header of the element's size). Elements of other kinds are ignored.
 */
#ifndef CORESERVICES_ICONSCORE_H
#define CORESERVICES_ICONSCORE_H

#include <CoreServices/Files.h>
#include <CoreServices/IconStorage.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueIconRef* IconRef;

/*
 * ReadIconFile / ReadIconFromFSRef: read an .icns file into *iconFamily. A
 * handle already in *iconFamily is resized and filled; with NULL there, a new
 * handle is made, which the caller disposes of. Returns noErr, paramErr for a
 * NULL argument or a file that is not an icon family, fnfErr, or the File
 * Manager's error; *iconFamily is left as it was on failure.
 */
CF_EXPORT OSErr ReadIconFile(const FSSpec* iconFile, IconFamilyHandle* iconFamily);
CF_EXPORT OSErr ReadIconFromFSRef(const FSRef* ref, IconFamilyHandle* iconFamily);

/*
 * GetIconRefFromIconFamilyPtr: a new IconRef (owner count 1, released with
 * ReleaseIconRef) from inSize bytes of icon family data. paramErr for NULL
 * arguments or data that is not a well-formed icon family (a damaged element
 * of a known kind included); noIconDataAvailableErr when it holds no image.
 */
CF_EXPORT OSStatus GetIconRefFromIconFamilyPtr(const IconFamilyResource* inIconFamilyPtr,
                                               Size inSize, IconRef* outIconRef);

/* AcquireIconRef / ReleaseIconRef: add and drop an owner. invalidIconRefErr for a bad ref. */
CF_EXPORT OSErr AcquireIconRef(IconRef theIconRef);
CF_EXPORT OSErr ReleaseIconRef(IconRef theIconRef);
/* GetIconRefOwners: the number of owners. */
CF_EXPORT OSErr GetIconRefOwners(IconRef theIconRef, UInt16* owners);

/*
 * IsDataAvailableInIconRef: whether the icon holds an image of the element
 * kind inIconKind (a mask kind counts when its image came with it).
 */
CF_EXPORT Boolean IsDataAvailableInIconRef(OSType inIconKind, IconRef inIconRef);

CF_EXTERN_C_END

#endif /* CORESERVICES_ICONSCORE_H */
