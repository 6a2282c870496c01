// Catalog iterators: a folder's items, read once when the iterator is opened
// and handed out in name order.
#include "FileNodes.h"

#include <CoreFoundation/CFRuntime.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <vector>

struct OpaqueFSIterator : cf::Object {
    std::string folder;
    std::vector<std::string> names;
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

OSErr read_folder(const std::string& folder, std::vector<std::string>& names) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return errno == ENOTDIR ? OSErr{errFSNotAFolder} : error_from_errno(errno);
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    int error = errno;
    closedir(dir);
    if (error != 0)
        return error_from_errno(error);
    std::sort(names.begin(), names.end());
    return noErr;
}

// One item into slot i of each output array that was given.
OSErr hand_out(const std::string& path, const struct stat& info, size_t i,
               FSCatalogInfoBitmap which, FSCatalogInfo* infos, FSRef* refs, FSSpecPtr specs,
               HFSUniStr255* names) {
    if (infos != nullptr) {
        if (OSErr err = fill_catalog_info(path, info, which, &infos[i]); err != noErr)
            return err;
    }
    if (refs != nullptr)
        make_ref(path, &refs[i]);
    if (specs != nullptr)
        fill_spec(path, &specs[i]);
    if (names != nullptr)
        unicode_from_posix_name(leaf_name(path), &names[i]);
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
    std::vector<std::string> names;
    if (OSErr err = cs::read_folder(folder, names); err != noErr)
        return err;
    auto* it = cf::create<OpaqueFSIterator>(nullptr, cs::iterator_type_id());
    if (it == nullptr)
        return memFullErr;
    it->folder = folder;
    it->names = std::move(names);
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
    while (count < maximumObjects && it->next < it->names.size()) {
        std::string path = cs::join_path(it->folder, it->names[it->next]);
        struct stat info;
        OSErr err = cs::stat_node(path, info);
        if (err == fnfErr) { // removed since the folder was read
            ++it->next;
            continue;
        }
        if (err == noErr)
            err = cs::hand_out(path, info, count, whichInfo, catalogInfos, refs, specs, names);
        if (err != noErr)
            return err;
        ++it->next;
        ++count;
        if (actualObjects != nullptr)
            *actualObjects = count;
    }
    return count > 0 ? OSErr{noErr} : OSErr{errFSNoMoreItems};
}
