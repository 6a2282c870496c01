// Catalog iterators: a folder's items, read once when the iterator is opened
// and handed out in name order. The type in each directory entry is kept, so
// that handing an item out costs no look at the item itself unless the
// information asked for needs one (sizes, permissions, dates, valence).
#include "FileNodes.h"

#include <CoreFoundation/CFRuntime.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace cs {

// A folder's listing: the names one after another in one buffer, and an
// entry for each, sorted by name.
struct Listing {
    struct Entry {
        // The name's first sixteen bytes, big-endian, zero-padded: names that share a long
        // beginning ("entry-1200.dat", "entry-1201.dat") are told apart here too.
        uint64_t prefix[2];
        uint32_t offset;
        uint16_t length;
        unsigned char type; // DT_DIR, DT_REG, ... or DT_UNKNOWN
    };
    std::string names;
    std::vector<Entry> entries;

    std::string_view name(const Entry& entry) const {
        return std::string_view(names.data() + entry.offset, entry.length);
    }
};

} // namespace cs

struct OpaqueFSIterator : cf::Object {
    std::string folder;
    SInt32 folder_id = 0; // the parent directory ID of every item
    cs::Listing listing;
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

// Eight bytes of a name from `start` on, as a big-endian number (zeros past the end), so that
// numbers compare as the bytes do.
uint64_t name_chunk(const char* name, size_t length, size_t start) {
    if (start + 8 <= length) {
        uint64_t bytes;
        std::memcpy(&bytes, name + start, sizeof(bytes));
        if constexpr (std::endian::native == std::endian::little)
            bytes = __builtin_bswap64(bytes); // the first byte the most significant
        return bytes;
    }
    uint64_t chunk = 0;
    for (size_t i = start; i < start + 8; ++i)
        chunk = chunk << 8 | (i < length ? static_cast<unsigned char>(name[i]) : 0u);
    return chunk;
}

// Adds one directory entry to the listing, unless it is "." or "..".
void add_entry(Listing& listing, const char* name, unsigned char type) {
    const size_t length = std::strlen(name);
    if (name[0] == '.' && (length == 1 || (length == 2 && name[1] == '.')))
        return;
    listing.entries.push_back(
        Listing::Entry{{name_chunk(name, length, 0), name_chunk(name, length, 8)},
                       static_cast<uint32_t>(listing.names.size()),
                       static_cast<uint16_t>(length),
                       type});
    listing.names.append(name, length);
}

OSErr read_folder(const std::string& folder, Listing& listing) {
    // A symbolic link is an item, not a folder, even when it points at one.
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOTDIR || errno == ELOOP ? OSErr{errFSNotAFolder}
                                                  : error_from_errno(errno);
    // The entries are read straight from the descriptor, many to a call, without a directory
    // stream: nothing to set up per folder and nothing copied per entry.
    alignas(dirent64) char buffer[32768];
    int error = 0;
    for (;;) {
        const ssize_t got = getdents64(fd, buffer, sizeof(buffer));
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            break;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            add_entry(listing, entry->d_name, entry->d_type);
            at += entry->d_reclen;
        }
    }
    close(fd);
    if (error != 0)
        return error_from_errno(error);
    std::sort(listing.entries.begin(), listing.entries.end(),
              [&listing](const Listing::Entry& a, const Listing::Entry& b) {
                  if (a.prefix[0] != b.prefix[0])
                      return a.prefix[0] < b.prefix[0];
                  if (a.prefix[1] != b.prefix[1])
                      return a.prefix[1] < b.prefix[1];
                  return listing.name(a) < listing.name(b);
              });
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

// One item of an iterator, whose path is put together only when it is needed.
struct Item {
    const OpaqueFSIterator& it;
    std::string_view name;
    unsigned char type;
    std::string path_text;

    const std::string& path() {
        if (path_text.empty())
            path_text = join_path(it.folder, name);
        return path_text;
    }
};

// What is known of an item: from its entry alone when that says enough,
// otherwise from lstat (fnfErr for an item removed since the folder was read).
OSErr describe_item(Item& item, FSCatalogInfoBitmap which, bool want_info, struct stat& info) {
    if (item.type == DT_UNKNOWN || (want_info && (which & kLookupFields) != 0))
        return stat_node(item.path(), info);
    info = {};
    info.st_mode = mode_for_entry_type(item.type);
    return noErr;
}

// One item into slot i of each output array that was given.
OSErr hand_out(Item& item, const struct stat& info, size_t i, FSCatalogInfoBitmap which,
               FSCatalogInfo* infos, FSRef* refs, FSSpecPtr specs, HFSUniStr255* names) {
    const OpaqueFSIterator& it = item.it;
    if (infos != nullptr && (which & (kPathCatalogFields & ~kFSCatInfoParentDirID)) != 0) {
        if (OSErr err = fill_catalog_info(item.path(), info, which, &infos[i]); err != noErr)
            return err;
    } else if (infos != nullptr) {
        fill_stat_fields(info, which, &infos[i]);
        if (which & kFSCatInfoParentDirID)
            infos[i].parentDirID = it.folder_id;
    }
    if (refs != nullptr)
        make_child_ref(it.folder_id, it.folder, item.name, &refs[i]);
    if (specs != nullptr)
        fill_spec_in_folder(it.folder_id, it.folder, item.name, &specs[i]);
    if (names != nullptr)
        unicode_from_posix_name(item.name, &names[i]);
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
    cs::Listing listing;
    if (OSErr err = cs::read_folder(folder, listing); err != noErr)
        return err;
    auto* it = cf::create<OpaqueFSIterator>(nullptr, cs::iterator_type_id());
    if (it == nullptr)
        return memFullErr;
    it->folder = folder;
    it->folder_id = cs::node_id_for_path(folder);
    it->listing = std::move(listing);
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
    while (count < maximumObjects && it->next < it->listing.entries.size()) {
        const cs::Listing::Entry& entry = it->listing.entries[it->next];
        cs::Item item{*it, it->listing.name(entry), entry.type, {}};
        struct stat info;
        OSErr err = cs::describe_item(item, whichInfo, catalogInfos != nullptr, info);
        if (err == fnfErr) { // removed since the folder was read
            ++it->next;
            continue;
        }
        if (err == noErr)
            err = cs::hand_out(item, info, count, whichInfo, catalogInfos, refs, specs, names);
        if (err != noErr)
            return err;
        ++it->next;
        ++count;
        if (actualObjects != nullptr)
            *actualObjects = count;
    }
    return count > 0 ? OSErr{noErr} : OSErr{errFSNoMoreItems};
}
