// FSIterateContainer: a depth-first walk of a folder tree, one catalog
// iterator per folder, one item per request.
#include <FileManagerKit.h>

namespace filemanager {
namespace {

struct Walk {
    ItemCount max_levels;
    FSCatalogInfoBitmap which_info;
    bool want_spec;
    bool want_name;
    IterateContainerFilterProcPtr filter;
    void* data;
    ItemCount level = 0;
    bool quit = false;
};

bool should_enter(const Walk& walk, const FSCatalogInfo& info) {
    return (info.nodeFlags & kFSNodeIsDirectoryMask) != 0 &&
           (walk.max_levels == 0 || walk.level < walk.max_levels);
}

// Lists one folder, descending into its folders as they come.
OSErr walk_folder(const FSRef& container, Walk& walk) {
    ++walk.level;
    FSIterator iterator = nullptr;
    OSErr err = FSOpenIterator(&container, kFSIterateFlat, &iterator);
    while (err == noErr && !walk.quit) {
        ItemCount count = 0;
        Boolean changed = false;
        FSCatalogInfo info{};
        FSRef ref;
        FSSpec spec;
        HFSUniStr255 name;
        err = FSGetCatalogInfoBulk(iterator, 1, &count, &changed, walk.which_info, &info, &ref,
                                   walk.want_spec ? &spec : nullptr,
                                   walk.want_name ? &name : nullptr);
        if (err != noErr || count != 1)
            break;
        walk.quit = walk.filter(changed, walk.level, &info, &ref, walk.want_spec ? &spec : nullptr,
                                walk.want_name ? &name : nullptr, walk.data);
        if (!walk.quit && should_enter(walk, info))
            err = walk_folder(ref, walk);
    }
    if (iterator != nullptr)
        FSCloseIterator(iterator);
    --walk.level;
    // The end of a folder, and a folder we may not read, are not failures of the walk.
    return err == errFSNoMoreItems || err == afpAccessDenied ? OSErr{noErr} : err;
}

} // namespace
} // namespace filemanager

OSErr FSIterateContainer(const FSRef* container, ItemCount maxLevels, FSCatalogInfoBitmap whichInfo,
                         Boolean wantFSSpec, Boolean wantName,
                         IterateContainerFilterProcPtr iterateFilter, void* yourDataPtr) {
    if (container == nullptr || iterateFilter == nullptr)
        return paramErr;
    filemanager::Walk walk{maxLevels,       whichInfo | kFSCatInfoNodeFlags,
                           wantFSSpec != 0, wantName != 0,
                           iterateFilter,   yourDataPtr};
    return filemanager::walk_folder(*container, walk);
}
