// The bridge between file URLs and FSRefs.
#include "FileNodes.h"

#include <climits>

Boolean CFURLGetFSRef(CFURLRef url, FSRef* fsRef) {
    UInt8 path[PATH_MAX];
    if (url == nullptr || fsRef == nullptr ||
        !CFURLGetFileSystemRepresentation(url, true, path, sizeof(path)))
        return false;
    return FSPathMakeRef(path, fsRef, nullptr) == noErr;
}

CFURLRef CFURLCreateFromFSRef(CFAllocatorRef allocator, const FSRef* fsRef) {
    std::string path;
    struct stat info;
    if (cs::path_from_ref(fsRef, path) != noErr || cs::stat_node(path, info) != noErr)
        return nullptr;
    return CFURLCreateFromFileSystemRepresentation(
        allocator, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        S_ISDIR(info.st_mode));
}
