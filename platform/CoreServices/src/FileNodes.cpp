// The node table behind FSRefs and directory IDs, and path helpers.
#include "FileNodes.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace cs {
namespace {

constexpr UInt32 kRefMagic = 0x46535266;      // "FSRf": a node of the table
constexpr UInt32 kChildRefMagic = 0x46535263; // "FSRc": a folder's node and a name
// IDs below this are the reserved catalog IDs (root parent, root, ...).
constexpr SInt32 kFirstNodeID = 16;

struct NodeTable {
    std::mutex lock;
    std::vector<std::string> paths; // index = node ID; "" for unused IDs
    std::unordered_map<std::string, SInt32> ids;
};

NodeTable& table() {
    static auto* nodes = [] {
        auto* t = new NodeTable;
        t->paths.resize(kFirstNodeID);
        t->paths[fsRtDirID] = std::string(1, '/'); // GCC 12 misreads the literal form
        t->ids.emplace("/", fsRtDirID);
        return t;
    }();
    return *nodes;
}

struct RefLayout {
    UInt32 magic;
    SInt32 node_id;
};
static_assert(sizeof(RefLayout) <= sizeof(FSRef));

struct ChildRefLayout {
    UInt32 magic;
    SInt32 folder_id;
    UInt8 length;
    char name[sizeof(FSRef) - 9];
};
static_assert(sizeof(ChildRefLayout) <= sizeof(FSRef));

} // namespace

SInt32 node_id_for_path(const std::string& absolute_path) {
    NodeTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto found = t.ids.find(absolute_path);
    if (found != t.ids.end())
        return found->second;
    auto id = static_cast<SInt32>(t.paths.size());
    t.paths.push_back(absolute_path);
    t.ids.emplace(absolute_path, id);
    return id;
}

bool path_for_node_id(SInt32 node_id, std::string& path) {
    NodeTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    if (node_id <= 0 || static_cast<size_t>(node_id) >= t.paths.size() || t.paths[node_id].empty())
        return false;
    path = t.paths[node_id];
    return true;
}

void make_ref(const std::string& absolute_path, FSRef* ref) {
    RefLayout layout{kRefMagic, node_id_for_path(absolute_path)};
    std::memset(ref, 0, sizeof(*ref));
    std::memcpy(ref->hidden, &layout, sizeof(layout));
}

void make_child_ref(SInt32 folder_id, const std::string& folder, std::string_view leaf,
                    FSRef* ref) {
    ChildRefLayout layout{};
    if (leaf.empty() || leaf.size() > sizeof(layout.name)) {
        make_ref(join_path(folder, leaf), ref);
        return;
    }
    layout.magic = kChildRefMagic;
    layout.folder_id = folder_id;
    layout.length = static_cast<UInt8>(leaf.size());
    std::memcpy(layout.name, leaf.data(), leaf.size());
    std::memset(ref, 0, sizeof(*ref));
    std::memcpy(ref->hidden, &layout, sizeof(layout));
}

OSErr path_from_ref(const FSRef* ref, std::string& path) {
    if (ref == nullptr)
        return paramErr;
    UInt32 magic;
    std::memcpy(&magic, ref->hidden, sizeof(magic));
    if (magic == kChildRefMagic) {
        ChildRefLayout layout;
        std::memcpy(&layout, ref->hidden, sizeof(layout));
        std::string folder;
        if (layout.length == 0 || layout.length > sizeof(layout.name) ||
            !path_for_node_id(layout.folder_id, folder))
            return errFSBadFSRef;
        path = join_path(folder, std::string(layout.name, layout.length));
        return noErr;
    }
    RefLayout layout;
    std::memcpy(&layout, ref->hidden, sizeof(layout));
    if (layout.magic != kRefMagic || !path_for_node_id(layout.node_id, path))
        return errFSBadFSRef;
    return noErr;
}

std::string normalize_path(const std::string& path) {
    std::filesystem::path p(path);
    if (p.is_relative()) {
        std::error_code ignored;
        p = std::filesystem::current_path(ignored) / p;
    }
    std::string text = p.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

std::string parent_path(const std::string& absolute_path) {
    size_t slash = absolute_path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return absolute_path.substr(0, slash);
}

std::string leaf_name(const std::string& absolute_path) {
    if (absolute_path == "/")
        return "";
    return absolute_path.substr(absolute_path.rfind('/') + 1);
}

std::string join_path(const std::string& folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    if (folder != "/")
        path = folder;
    path += '/';
    path += name;
    return path;
}

OSErr error_from_errno(int error) {
    switch (error) {
    case 0:
        return noErr;
    case ENOENT:
        return fnfErr;
    case ENOTDIR:
        return dirNFErr;
    case EACCES:
    case EPERM:
        return afpAccessDenied;
    case EEXIST:
        return dupFNErr;
    case ENOTEMPTY:
    case EBUSY:
        return fBsyErr;
    case ENAMETOOLONG:
        return errFSNameTooLong;
    case EROFS:
        return wPrErr;
    case ENOSPC:
        return dskFulErr;
    case EDQUOT:
        return errFSQuotaExceeded;
    case EMFILE:
    case ENFILE:
        return tmfoErr;
    case ENOMEM:
        return memFullErr;
    case EINVAL:
        return paramErr;
    case EXDEV:
        return diffVolErr;
    default:
        return ioErr;
    }
}

OSErr stat_node(const std::string& path, struct stat& info) {
    if (lstat(path.c_str(), &info) != 0)
        return error_from_errno(errno);
    return noErr;
}

OSErr check_folder(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return error_from_errno(errno);
    return S_ISDIR(info.st_mode) ? OSErr{noErr} : OSErr{errFSNotAFolder};
}

} // namespace cs
