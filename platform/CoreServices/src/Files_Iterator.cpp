// Catalog iterators: a folder's items, read once when the iterator is opened
// and handed out in name order. The type in each directory entry is kept, so
// that handing an item out costs no look at the item itself unless the
// information asked for needs one (sizes, permissions, dates, valence).
#include "FileNodes.h"

#include <CoreFoundation/CFRuntime.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <vector>

namespace cs {

struct FolderEntry {
    std::string name;
    unsigned char type; // DT_DIR, DT_REG, ... or DT_UNKNOWN
};

} // namespace cs

struct OpaqueFSIterator : cf::Object {
    std::string folder;
    SInt32 folder_id = 0; // the parent directory ID of every item
    std::vector<cs::FolderEntry> entries;
    size_t next = 0;
};

namespace cs {
namespace {

const cf::ClassDescriptor kIteratorClass = {"FSIterator", cf::destroy<OpaqueFSIterator>, nullptr,
                                            nullptr, nullptr};

CFTypeID iterator_type_id() {
    static CFTypeID id = cf::register_class(&kIteratorClass);
    return id;
}

OSErr read_folder(const std::string& folder, std::vector<FolderEntry>& entries) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return errno == ENOTDIR ? OSErr{errFSNotAFolder} : error_from_errno(errno);
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            entries.push_back(FolderEntry{entry->d_name, entry->d_type});
    }
    int error = errno;
    closedir(dir);
    if (error != 0)
        return error_from_errno(error);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return noErr;
}

// The catalog fields that need more than the entry's name and type.
constexpr FSCatalogInfoBitmap kLookupFields =
    kFSCatInfoPermissions | kFSCatInfoDataSizes | kFSCatInfoAllDates | kFSCatInfoValence;

// The file type bits that a directory entry's type stands for.
mode_t mode_for_entry_type(unsigned char type) {
    switch (type) {
    case DT_DIR:
        return S_IFDIR;
    case DT_LNK:
        return S_IFLNK;
    case DT_FIFO:
        return S_IFIFO;
    case DT_SOCK:
        return S_IFSOCK;
    case DT_CHR:
        return S_IFCHR;
    case DT_BLK:
        return S_IFBLK;
    default:
        return S_IFREG;
    }
}

// What is known of an item: from its entry alone when that says enough,
// otherwise from lstat (fnfErr for an item removed since the folder was read).
OSErr describe_entry(const std::string& path, const FolderEntry& entry, FSCatalogInfoBitmap which,
                     bool want_info, struct stat& info) {
    if (entry.type == DT_UNKNOWN || (want_info && (which & kLookupFields) != 0))
        return stat_node(path, info);
    info = {};
    info.st_mode = mode_for_entry_type(entry.type);
    return noErr;
}

// One item into slot i of each output array that was given.
OSErr hand_out(const OpaqueFSIterator& it, const std::string& path, const FolderEntry& entry,
               const struct stat& info, size_t i, FSCatalogInfoBitmap which, FSCatalogInfo* infos,
               FSRef* refs, FSSpecPtr specs, HFSUniStr255* names) {
    if (infos != nullptr) {
        if (OSErr err = fill_catalog_info(path, info, which, &infos[i]); err != noErr)
            return err;
    }
    if (refs != nullptr)
        make_ref(path, &refs[i]);
    if (specs != nullptr)
        fill_spec_in_folder(it.folder_id, path, entry.name, &specs[i]);
    if (names != nullptr)
        unicode_from_posix_name(entry.name, &names[i]);
    return noErr;
}

} // namespace
} // namespace cs

OSErr FSOpenIterator(const FSRef* container, FSIteratorFlags iteratorFlags, FSIterator* iterator) {
    if (iterator == nullptr)
        return paramErr;
    *iterator = nullptr;
    std::string folder;
    if (OSErr err = cs::path_from_ref(container, folder); err != noErr)
        return err;
    if (iteratorFlags & static_cast<FSIteratorFlags>(kFSIterateReserved))
        return errFSBadIteratorFlags;
    if (iteratorFlags != kFSIterateFlat)
        return errFSIteratorNotSupported;
    struct stat info;
    if (OSErr err = cs::stat_node(folder, info); err != noErr)
        return err;
    if (!S_ISDIR(info.st_mode))
        return errFSNotAFolder;
    std::vector<cs::FolderEntry> entries;
    if (OSErr err = cs::read_folder(folder, entries); err != noErr)
        return err;
    auto* it = cf::create<OpaqueFSIterator>(nullptr, cs::iterator_type_id());
    if (it == nullptr)
        return memFullErr;
    it->folder = folder;
    it->folder_id = cs::node_id_for_path(folder);
    it->entries = std::move(entries);
    *iterator = it;
    return noErr;
}

OSErr FSCloseIterator(FSIterator iterator) {
    if (!cf::check_type(iterator, cs::iterator_type_id(), __func__))
        return errFSIteratorNotFound;
    CFRelease(iterator);
    return noErr;
}

OSErr FSGetCatalogInfoBulk(FSIterator iterator, ItemCount maximumObjects, ItemCount* actualObjects,
                           Boolean* containerChanged, FSCatalogInfoBitmap whichInfo,
                           FSCatalogInfo* catalogInfos, FSRef* refs, FSSpecPtr specs,
                           HFSUniStr255* names) {
    if (actualObjects != nullptr)
        *actualObjects = 0;
    if (containerChanged != nullptr)
        *containerChanged = false;
    if (!cf::check_type(iterator, cs::iterator_type_id(), __func__))
        return errFSIteratorNotFound;
    auto* it = cf::cast<OpaqueFSIterator>(iterator, cs::iterator_type_id());
    if (maximumObjects == 0)
        return errFSBadItemCount;
    if (OSErr err = cs::check_info_bitmap(whichInfo); err != noErr)
        return err;
    if (whichInfo != kFSCatInfoNone && catalogInfos == nullptr)
        return errFSMissingCatInfo;
    ItemCount count = 0;
    while (count < maximumObjects && it->next < it->entries.size()) {
        const cs::FolderEntry& entry = it->entries[it->next];
        std::string path = cs::join_path(it->folder, entry.name);
        struct stat info;
        OSErr err = cs::describe_entry(path, entry, whichInfo, catalogInfos != nullptr, info);
        if (err == fnfErr) { // removed since the folder was read
            ++it->next;
            continue;
        }
        if (err == noErr)
            err = cs::hand_out(*it, path, entry, info, count, whichInfo, catalogInfos, refs, specs,
                               names);
        if (err != noErr)
            return err;
        ++it->next;
        ++count;
        if (actualObjects != nullptr)
            *actualObjects = count;
    }
    return count > 0 ? OSErr{noErr} : OSErr{errFSNoMoreItems};
}
