// The File Manager's FSRef calls over POSIX paths.
#include "FileNodes.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace cs {
namespace {

// The path of a new item `name` in the folder parentRef.
OSErr child_path(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                 std::string& path) {
    std::string folder;
    if (OSErr err = path_from_ref(parentRef, folder); err != noErr)
        return err;
    std::string leaf;
    if (OSErr err = posix_name_from_unicode(name, nameLength, leaf); err != noErr)
        return err;
    if (OSErr err = check_folder(folder); err != noErr)
        return err;
    path = join_path(folder, leaf);
    return noErr;
}

mode_t requested_mode(FSCatalogInfoBitmap which, const FSCatalogInfo* info, mode_t fallback) {
    if (info == nullptr || (which & kFSCatInfoPermissions) == 0)
        return fallback;
    FSPermissionInfo permissions;
    std::memcpy(&permissions, info->permissions, sizeof(permissions));
    return permissions.mode & 07777;
}

void report_new_item(const std::string& path, FSRef* newRef, FSSpecPtr newSpec) {
    if (newRef != nullptr)
        make_ref(path, newRef);
    if (newSpec != nullptr)
        fill_spec(path, newSpec);
}

} // namespace
} // namespace cs

OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory) {
    if (path == nullptr || ref == nullptr)
        return paramErr;
    if (*path == '\0')
        return fnfErr;
    // The real path: symbolic links resolved, so one object has one path.
    char* resolved = realpath(reinterpret_cast<const char*>(path), nullptr);
    if (resolved == nullptr)
        return cs::error_from_errno(errno);
    std::string absolute(resolved);
    std::free(resolved);
    struct stat info;
    if (OSErr err = cs::stat_node(absolute, info); err != noErr)
        return err;
    cs::make_ref(absolute, ref);
    if (isDirectory != nullptr)
        *isDirectory = S_ISDIR(info.st_mode);
    return noErr;
}

OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize) {
    if (path == nullptr)
        return paramErr;
    std::string absolute;
    if (OSErr err = cs::path_from_ref(ref, absolute); err != noErr)
        return err;
    struct stat info;
    if (OSErr err = cs::stat_node(absolute, info); err != noErr)
        return err;
    if (absolute.size() + 1 > maxPathSize)
        return pathTooLongErr;
    std::memcpy(path, absolute.c_str(), absolute.size() + 1);
    return noErr;
}

OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfo,
                       HFSUniStr255* outName, FSSpecPtr fsSpec, FSRef* parentRef) {
    std::string path;
    if (OSErr err = cs::path_from_ref(ref, path); err != noErr)
        return err;
    if (OSErr err = cs::check_info_bitmap(whichInfo); err != noErr)
        return err;
    if (whichInfo != kFSCatInfoNone && catalogInfo == nullptr)
        return errFSMissingCatInfo;
    struct stat info;
    if (OSErr err = cs::stat_node(path, info); err != noErr)
        return err;
    if (catalogInfo != nullptr) {
        if (OSErr err = cs::fill_catalog_info(path, info, whichInfo, catalogInfo); err != noErr)
            return err;
    }
    if (outName != nullptr)
        cs::unicode_from_posix_name(cs::leaf_name(path), outName);
    if (fsSpec != nullptr)
        cs::fill_spec(path, fsSpec);
    if (parentRef != nullptr) {
        if (path == "/")
            std::memset(parentRef, 0, sizeof(*parentRef));
        else
            cs::make_ref(cs::parent_path(path), parentRef);
    }
    return noErr;
}

OSErr FSMakeFSRefUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                         TextEncoding, FSRef* newRef) {
    if (newRef == nullptr)
        return paramErr;
    std::string path;
    if (OSErr err = cs::child_path(parentRef, nameLength, name, path); err != noErr)
        return err;
    struct stat info;
    if (OSErr err = cs::stat_node(path, info); err != noErr)
        return err;
    cs::make_ref(path, newRef);
    return noErr;
}

OSErr FSCompareFSRefs(const FSRef* ref1, const FSRef* ref2) {
    std::string a;
    std::string b;
    if (OSErr err = cs::path_from_ref(ref1, a); err != noErr)
        return err;
    if (OSErr err = cs::path_from_ref(ref2, b); err != noErr)
        return err;
    if (a == b)
        return noErr;
    // Two paths can reach one object (hard links, a folder reached through a link).
    struct stat info_a;
    struct stat info_b;
    if (OSErr err = cs::stat_node(a, info_a); err != noErr)
        return err;
    if (OSErr err = cs::stat_node(b, info_b); err != noErr)
        return err;
    if (info_a.st_dev != info_b.st_dev || info_a.st_ino != info_b.st_ino)
        return errFSRefsDifferent;
    return noErr;
}

OSErr FSCreateFileUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                          FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* catalogInfo,
                          FSRef* newRef, FSSpecPtr newSpec) {
    std::string path;
    if (OSErr err = cs::child_path(parentRef, nameLength, name, path); err != noErr)
        return err;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                  cs::requested_mode(whichInfo, catalogInfo, 0666));
    if (fd < 0)
        return cs::error_from_errno(errno);
    close(fd);
    cs::report_new_item(path, newRef, newSpec);
    return noErr;
}

OSErr FSCreateDirectoryUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                               FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* catalogInfo,
                               FSRef* newRef, FSSpecPtr newSpec, UInt32* newDirID) {
    std::string path;
    if (OSErr err = cs::child_path(parentRef, nameLength, name, path); err != noErr)
        return err;
    if (mkdir(path.c_str(), cs::requested_mode(whichInfo, catalogInfo, 0777)) != 0)
        return cs::error_from_errno(errno);
    cs::report_new_item(path, newRef, newSpec);
    if (newDirID != nullptr)
        *newDirID = static_cast<UInt32>(cs::node_id_for_path(path));
    return noErr;
}

OSErr FSDeleteObject(const FSRef* ref) {
    std::string path;
    if (OSErr err = cs::path_from_ref(ref, path); err != noErr)
        return err;
    struct stat info;
    if (OSErr err = cs::stat_node(path, info); err != noErr)
        return err;
    int result = S_ISDIR(info.st_mode) ? rmdir(path.c_str()) : unlink(path.c_str());
    if (result != 0)
        return errno == EEXIST ? OSErr{fBsyErr} : cs::error_from_errno(errno);
    return noErr;
}
