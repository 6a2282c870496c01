// Catalog facts of a file or folder: FSCatalogInfo fields and FSSpecs.
#include "FileNodes.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>

namespace cs {
namespace {

// Seconds between 1904-01-01 and 1970-01-01, both UTC.
constexpr int64_t kMacEpochOffset = 2082844800;

UTCDateTime utc_from_timestamp(const struct statx_timestamp& t) {
    int64_t seconds = t.tv_sec + kMacEpochOffset;
    if (seconds < 0)
        seconds = 0;
    UTCDateTime out;
    out.highSeconds = static_cast<UInt16>((seconds >> 32) & 0xFFFF);
    out.lowSeconds = static_cast<UInt32>(seconds & 0xFFFFFFFF);
    out.fraction = static_cast<UInt16>((static_cast<uint64_t>(t.tv_nsec) << 16) / 1000000000u);
    return out;
}

bool earlier(const struct statx_timestamp& a, const struct statx_timestamp& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// The number of items in a folder.
OSErr count_items(const std::string& path, UInt32& count) {
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr)
        return error_from_errno(errno);
    count = 0;
    while (const dirent* entry = readdir(dir))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            ++count;
    closedir(dir);
    return noErr;
}

OSErr fill_dates(const std::string& path, FSCatalogInfoBitmap which, FSCatalogInfo* out) {
    struct statx x;
    if (statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &x) !=
        0)
        return error_from_errno(errno);
    // Without a birth time from the file system, the older of the content and
    // status change times is the closest thing to a creation date.
    struct statx_timestamp created = x.stx_mtime;
    if (x.stx_mask & STATX_BTIME)
        created = x.stx_btime;
    else if (earlier(x.stx_ctime, created))
        created = x.stx_ctime;
    if (which & kFSCatInfoCreateDate)
        out->createDate = utc_from_timestamp(created);
    if (which & kFSCatInfoContentMod)
        out->contentModDate = utc_from_timestamp(x.stx_mtime);
    if (which & kFSCatInfoAttrMod)
        out->attributeModDate = utc_from_timestamp(x.stx_ctime);
    if (which & kFSCatInfoAccessDate)
        out->accessDate = utc_from_timestamp(x.stx_atime);
    if (which & kFSCatInfoBackupDate)
        out->backupDate = UTCDateTime{0, 0, 0};
    return noErr;
}

void fill_permissions(const struct stat& info, FSCatalogInfo* out) {
    FSPermissionInfo permissions{};
    permissions.userID = info.st_uid;
    permissions.groupID = info.st_gid;
    permissions.mode = static_cast<UInt16>(info.st_mode);
    std::memcpy(out->permissions, &permissions, sizeof(permissions));
}

} // namespace

OSErr check_info_bitmap(FSCatalogInfoBitmap which) {
    constexpr FSCatalogInfoBitmap kKnown = kFSCatInfoGettableInfo | kFSCatInfoUserAccess;
    if ((which & ~kKnown) != 0)
        return errFSBadInfoBitmap;
    return noErr;
}

void fill_stat_fields(const struct stat& info, FSCatalogInfoBitmap which, FSCatalogInfo* out) {
    const bool folder = S_ISDIR(info.st_mode);
    if (which & kFSCatInfoTextEncoding)
        out->textEncodingHint = 0; // FSSpec names are Mac Roman
    if (which & kFSCatInfoNodeFlags)
        out->nodeFlags = folder ? kFSNodeIsDirectoryMask : 0;
    if (which & kFSCatInfoVolume)
        out->volume = kFSPosixVolumeRefNum;
    if (which & kFSCatInfoPermissions)
        fill_permissions(info, out);
    if (which & kFSCatInfoFinderInfo)
        std::memset(out->finderInfo, 0, sizeof(out->finderInfo));
    if (which & kFSCatInfoFinderXInfo)
        std::memset(out->extFinderInfo, 0, sizeof(out->extFinderInfo));
    if (which & kFSCatInfoDataSizes) {
        out->dataLogicalSize = folder ? 0 : static_cast<UInt64>(info.st_size);
        out->dataPhysicalSize = folder ? 0 : static_cast<UInt64>(info.st_blocks) * 512u;
    }
    if (which & kFSCatInfoRsrcSizes)
        out->rsrcLogicalSize = out->rsrcPhysicalSize = 0;
    if (which & kFSCatInfoSharingFlags)
        out->sharingFlags = 0;
    if (which & kFSCatInfoUserPrivs)
        out->userPrivileges = 0;
}

OSErr fill_catalog_info(const std::string& path, const struct stat& info, FSCatalogInfoBitmap which,
                        FSCatalogInfo* out) {
    fill_stat_fields(info, which, out);
    if (which & kFSCatInfoParentDirID)
        out->parentDirID = path == "/" ? fsRtParID : node_id_for_path(parent_path(path));
    if (which & kFSCatInfoNodeID)
        out->nodeID = node_id_for_path(path);
    if (which & kFSCatInfoAllDates) {
        if (OSErr err = fill_dates(path, which, out); err != noErr)
            return err;
    }
    if (which & kFSCatInfoValence) {
        out->valence = 0;
        if (S_ISDIR(info.st_mode)) {
            if (OSErr err = count_items(path, out->valence); err != noErr)
                return err;
        }
    }
    return noErr;
}

void fill_spec(const std::string& path, FSSpec* spec) {
    if (path == "/") {
        spec->vRefNum = kFSPosixVolumeRefNum;
        spec->parID = fsRtParID;
        spec->name[0] = 0;
        return;
    }
    std::string folder = parent_path(path);
    fill_spec_in_folder(node_id_for_path(folder), folder, leaf_name(path), spec);
}

void fill_spec_in_folder(SInt32 folder_id, const std::string& folder, std::string_view leaf,
                         FSSpec* spec) {
    spec->vRefNum = kFSPosixVolumeRefNum;
    spec->parID = folder_id;
    // Only a name that must be shortened needs the object's own node ID.
    if (!spec_name_fits(leaf, spec->name))
        spec_name_from_posix_name(std::string(leaf), node_id_for_path(join_path(folder, leaf)),
                                  spec->name);
}

} // namespace cs
