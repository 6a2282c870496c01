/*
 * Files.h: the File Manager over the POSIX file system.
 *
 * There is one volume, the whole file tree from "/", with the reference
 * number kFSPosixVolumeRefNum. An FSRef names one object by its absolute
 * path; it is a plain 80-byte value that may be copied freely and stays
 * valid for the life of the process (calls on an FSRef whose object has
 * since been removed return fnfErr). A directory ID is a number that the
 * runtime gives each directory the first time it meets it: "/" is fsRtDirID
 * and its (non-existent) parent is fsRtParID.
 *
 * Names: the Unicode names of FSRef calls (HFSUniStr255, UniChar arrays) are
 * the POSIX names, except that a ":" in a POSIX name reads as "/" here and
 * the other way round, as on the Mac. The Str63 name of an FSSpec is in Mac
 * Roman; a name that is longer than 63 bytes or has characters outside Mac
 * Roman is shortened to a form that ends in "#" and the object's node ID in
 * hexadecimal (before any extension), which FSMakeFSSpec and FSpMakeFSRef
 * understand.
 */
#ifndef CORESERVICES_FILES_H
#define CORESERVICES_FILES_H

#include <CoreFoundation/CFURL.h>
#include <CoreServices/MacErrors.h>

CF_EXTERN_C_BEGIN

typedef SInt16 FSVolumeRefNum;
typedef UInt32 FSCatalogInfoBitmap;
typedef OptionBits FSIteratorFlags;
typedef Str63 StrFileName;

enum {
    /* The one volume of this platform. */
    kFSPosixVolumeRefNum = -100,
    /* Directory ID of the parent of the root folder, and of the root folder. */
    fsRtParID = 1,
    fsRtDirID = 2
};

#pragma pack(push, 2)

/* An opaque reference to an existing file or folder. */
struct FSRef {
    UInt8 hidden[80];
};
typedef struct FSRef FSRef;
typedef FSRef* FSRefPtr;

/* A file or folder by volume, parent directory ID and Mac Roman name. */
struct FSSpec {
    FSVolumeRefNum vRefNum;
    SInt32 parID;
    StrFileName name;
};
typedef struct FSSpec FSSpec;
typedef FSSpec* FSSpecPtr;

/* A name of up to 255 UTF-16 units. */
struct HFSUniStr255 {
    UInt16 length;
    UniChar unicode[255];
};
typedef struct HFSUniStr255 HFSUniStr255;

/* Seconds since 1904-01-01 00:00 UTC (48 bits) and 1/65536 fractions. */
struct UTCDateTime {
    UInt16 highSeconds;
    UInt32 lowSeconds;
    UInt16 fraction;
};
typedef struct UTCDateTime UTCDateTime;

/* The layout of FSCatalogInfo.permissions. */
struct FSPermissionInfo {
    UInt32 userID;
    UInt32 groupID;
    UInt8 reserved1;
    UInt8 userAccess;
    UInt16 mode;
    UInt32 reserved2;
};
typedef struct FSPermissionInfo FSPermissionInfo;

struct FSCatalogInfo {
    UInt16 nodeFlags;
    FSVolumeRefNum volume;
    UInt32 parentDirID;
    UInt32 nodeID;
    UInt8 sharingFlags;
    UInt8 userPrivileges;
    UInt8 reserved1;
    UInt8 reserved2;
    UTCDateTime createDate;
    UTCDateTime contentModDate;
    UTCDateTime attributeModDate;
    UTCDateTime accessDate;
    UTCDateTime backupDate;
    UInt32 permissions[4]; /* an FSPermissionInfo */
    UInt8 finderInfo[16];
    UInt8 extFinderInfo[16];
    UInt64 dataLogicalSize;
    UInt64 dataPhysicalSize;
    UInt64 rsrcLogicalSize;
    UInt64 rsrcPhysicalSize;
    UInt32 valence;
    TextEncoding textEncodingHint;
};
typedef struct FSCatalogInfo FSCatalogInfo;
typedef FSCatalogInfo* FSCatalogInfoPtr;

#pragma pack(pop)

/* Which FSCatalogInfo fields a call reads or fills. */
enum {
    kFSCatInfoNone = 0x00000000,
    kFSCatInfoTextEncoding = 0x00000001,
    kFSCatInfoNodeFlags = 0x00000002,
    kFSCatInfoVolume = 0x00000004,
    kFSCatInfoParentDirID = 0x00000008,
    kFSCatInfoNodeID = 0x00000010,
    kFSCatInfoCreateDate = 0x00000020,
    kFSCatInfoContentMod = 0x00000040,
    kFSCatInfoAttrMod = 0x00000080,
    kFSCatInfoAccessDate = 0x00000100,
    kFSCatInfoBackupDate = 0x00000200,
    kFSCatInfoPermissions = 0x00000400,
    kFSCatInfoFinderInfo = 0x00000800,
    kFSCatInfoFinderXInfo = 0x00001000,
    kFSCatInfoValence = 0x00002000,
    kFSCatInfoDataSizes = 0x00004000,
    kFSCatInfoRsrcSizes = 0x00008000,
    kFSCatInfoSharingFlags = 0x00010000,
    kFSCatInfoUserPrivs = 0x00020000,
    kFSCatInfoUserAccess = 0x00080000,
    kFSCatInfoAllDates = 0x000003E0,
    kFSCatInfoGettableInfo = 0x0003FFFF,
    kFSCatInfoSettableInfo = 0x00001FE3,
    kFSCatInfoReserved = (int)0xFFFC0000
};

/* FSCatalogInfo.nodeFlags. */
enum {
    kFSNodeLockedBit = 0,
    kFSNodeLockedMask = 0x0001,
    kFSNodeIsDirectoryBit = 4,
    kFSNodeIsDirectoryMask = 0x0010
};

/* FSOpenIterator flags. Only flat iteration (one folder's items) is supported. */
enum {
    kFSIterateFlat = 0,
    kFSIterateSubtree = 1,
    kFSIterateDelete = 2,
    kFSIterateReserved = (int)0xFFFFFFFC
};

typedef struct OpaqueFSIterator* FSIterator;

/*
 * FSPathMakeRef: the FSRef of the object at a UTF-8 POSIX path (relative
 * paths start at the current directory; symbolic links are followed).
 * isDirectory may be NULL. Returns noErr, fnfErr, paramErr or the error of
 * the failing system call.
 */
CF_EXPORT OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);

/*
 * FSRefMakePath: the absolute UTF-8 path of ref, NUL-terminated, into a
 * buffer of maxPathSize bytes. Returns noErr, errFSBadFSRef, fnfErr when the
 * object no longer exists, or pathTooLongErr when the buffer is too small.
 */
CF_EXPORT OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize);

/*
 * FSGetCatalogInfo: facts about ref. Each output may be NULL; catalogInfo is
 * filled only for the fields whichInfo names (Finder information and
 * resource forks do not exist here and read as zero). outName is the
 * object's Unicode name, fsSpec its FSSpec, parentRef its folder (all zero
 * for the root folder). Returns noErr, errFSBadFSRef, fnfErr,
 * errFSBadInfoBitmap for reserved bits, or the system call's error.
 */
CF_EXPORT OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo,
                                 FSCatalogInfo* catalogInfo, HFSUniStr255* outName,
                                 FSSpecPtr fsSpec, FSRef* parentRef);

/* The text-encoding hint that gives none. */
enum { kTextEncodingUnknown = 0xFFFF };

/*
 * FSMakeFSRefUnicode: the FSRef of the existing item `name` in the folder
 * parentRef. The text-encoding hint is not needed here and is ignored.
 * Returns noErr, fnfErr when there is no such item, errFSMissingName,
 * bdNamErr for "." and "..", errFSNotAFolder, errFSBadFSRef.
 */
CF_EXPORT OSErr FSMakeFSRefUnicode(const FSRef* parentRef, UniCharCount nameLength,
                                   const UniChar* name, TextEncoding textEncodingHint,
                                   FSRef* newRef);

/*
 * FSCompareFSRefs: noErr when both refer to the same object (the same path,
 * or the same file reached by another path), errFSRefsDifferent otherwise.
 */
CF_EXPORT OSErr FSCompareFSRefs(const FSRef* ref1, const FSRef* ref2);

/*
 * FSCreateFileUnicode / FSCreateDirectoryUnicode: create an empty file or a
 * folder named `name` in parentRef, with the process's default permissions;
 * catalogInfo may set kFSCatInfoPermissions (the mode) and is otherwise not
 * applied. Each output may be NULL. Returns noErr, dupFNErr when the name is
 * taken, errFSMissingName, bdNamErr, errFSNotAFolder, or the system call's
 * error (afpAccessDenied for a folder the process may not write).
 */
CF_EXPORT OSErr FSCreateFileUnicode(const FSRef* parentRef, UniCharCount nameLength,
                                    const UniChar* name, FSCatalogInfoBitmap whichInfo,
                                    const FSCatalogInfo* catalogInfo, FSRef* newRef,
                                    FSSpecPtr newSpec);
CF_EXPORT OSErr FSCreateDirectoryUnicode(const FSRef* parentRef, UniCharCount nameLength,
                                         const UniChar* name, FSCatalogInfoBitmap whichInfo,
                                         const FSCatalogInfo* catalogInfo, FSRef* newRef,
                                         FSSpecPtr newSpec, UInt32* newDirID);

/*
 * FSDeleteObject: removes a file or an empty folder. Returns noErr, fnfErr,
 * fBsyErr for a folder that is not empty, or the system call's error.
 */
CF_EXPORT OSErr FSDeleteObject(const FSRef* ref);

/*
 * FSMakeFSSpec: the FSSpec of `fileName` (a Mac Roman name without colons)
 * in the folder dirID of volume vRefNum (0 for the default volume; dirID 0
 * for the current directory). An empty name gives the folder dirID itself.
 * Returns noErr; fnfErr with a valid spec when the folder exists but the
 * item does not; nsvErr, dirNFErr, bdNamErr for a name with colons.
 */
CF_EXPORT OSErr FSMakeFSSpec(FSVolumeRefNum vRefNum, SInt32 dirID, ConstStr255Param fileName,
                             FSSpec* spec);

/* FSpMakeFSRef: the FSRef of the existing object that spec names. fnfErr when it does not exist. */
CF_EXPORT OSErr FSpMakeFSRef(const FSSpec* source, FSRef* newRef);

/*
 * FSOpenIterator: an iterator over the items of the folder `container`. The
 * folder is read once, here; the items are handed out later by
 * FSGetCatalogInfoBulk in name order. Returns noErr, errFSNotAFolder,
 * errFSBadIteratorFlags, errFSIteratorNotSupported (kFSIterateSubtree),
 * afpAccessDenied for an unreadable folder, fnfErr.
 */
CF_EXPORT OSErr FSOpenIterator(const FSRef* container, FSIteratorFlags iteratorFlags,
                               FSIterator* iterator);

/* FSCloseIterator: frees the iterator. errFSIteratorNotFound when it is not one. */
CF_EXPORT OSErr FSCloseIterator(FSIterator iterator);

/*
 * FSGetCatalogInfoBulk: the next items of the iterator, at most
 * maximumObjects of them, into the arrays given (each may be NULL;
 * catalogInfos only with kFSCatInfoNone). Items are handed out as the
 * folder listed them: node flags, names, FSRefs and FSSpecs come from the
 * listing alone. When the fields asked for need a look at the item itself
 * (dates, permissions, sizes, valence), an item removed since the iterator
 * was opened is skipped; otherwise it is handed out, and calls on its FSRef
 * then return fnfErr. Returns noErr with at least one item, or
 * errFSNoMoreItems with none when the folder is exhausted; errFSBadItemCount
 * for 0, errFSIteratorNotFound, errFSMissingCatInfo. containerChanged, when
 * given, is always false.
 */
CF_EXPORT OSErr FSGetCatalogInfoBulk(FSIterator iterator, ItemCount maximumObjects,
                                     ItemCount* actualObjects, Boolean* containerChanged,
                                     FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfos,
                                     FSRef* refs, FSSpecPtr specs, HFSUniStr255* names);

/*
 * CFURLGetFSRef: the FSRef of the existing object a file URL names (symbolic
 * links resolved, as FSPathMakeRef does). False for other URLs and for
 * objects that do not exist.
 */
CF_EXPORT Boolean CFURLGetFSRef(CFURLRef url, FSRef* fsRef);

/* CFURLCreateFromFSRef: a file URL for the object (a folder's ends in "/"), or NULL. */
CF_EXPORT CFURLRef CFURLCreateFromFSRef(CFAllocatorRef allocator, const FSRef* fsRef);

CF_EXTERN_C_END

#endif /* CORESERVICES_FILES_H */
