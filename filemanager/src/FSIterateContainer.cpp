// FSIterateContainer: a depth-first walk of a folder tree, one catalog
// iterator per folder, its items fetched a batch at a time and handed to the
// callback one by one.
#include <FileManagerKit.h>

#include <memory>
#include <vector>

namespace filemanager {
namespace {

// Items fetched with one request: enough to spread the cost of a request over many items, few
// enough that a folder's batch stays small.
constexpr ItemCount kBatchSize = 32;

struct Batch {
    FSCatalogInfo infos[kBatchSize];
    FSRef refs[kBatchSize];
    FSSpec specs[kBatchSize];
    HFSUniStr255 names[kBatchSize];
};

struct Walk {
    ItemCount max_levels;
    FSCatalogInfoBitmap which_info;
    bool want_spec;
    bool want_name;
    IterateContainerFilterProcPtr filter;
    void* data;
    ItemCount level = 0;
    bool quit = false;
    std::vector<std::unique_ptr<Batch>> batches{}; // one per level, reused from folder to folder

    Batch& batch() {
        if (batches.size() < level)
            batches.resize(level);
        if (!batches[level - 1])
            batches[level - 1] = std::make_unique<Batch>();
        return *batches[level - 1];
    }
};

bool should_enter(const Walk& walk, const FSCatalogInfo& info) {
    return (info.nodeFlags & kFSNodeIsDirectoryMask) != 0 &&
           (walk.max_levels == 0 || walk.level < walk.max_levels);
}

OSErr walk_folder(const FSRef& container, Walk& walk);

// Hands out the first `count` items of the batch, descending into folders as they come.
OSErr hand_out(Batch& batch, ItemCount count, Boolean changed, Walk& walk) {
    for (ItemCount i = 0; i < count && !walk.quit; ++i) {
        FSSpec* spec = walk.want_spec ? &batch.specs[i] : nullptr;
        HFSUniStr255* name = walk.want_name ? &batch.names[i] : nullptr;
        walk.quit = walk.filter(changed, walk.level, &batch.infos[i], &batch.refs[i], spec, name,
                                walk.data);
        if (!walk.quit && should_enter(walk, batch.infos[i]))
            if (OSErr err = walk_folder(batch.refs[i], walk); err != noErr)
                return err;
    }
    return noErr;
}

// Lists one folder, descending into its folders as they come.
OSErr walk_folder(const FSRef& container, Walk& walk) {
    ++walk.level;
    Batch& batch = walk.batch();
    FSIterator iterator = nullptr;
    OSErr err = FSOpenIterator(&container, kFSIterateFlat, &iterator);
    while (err == noErr && !walk.quit) {
        ItemCount count = 0;
        Boolean changed = false;
        err = FSGetCatalogInfoBulk(iterator, kBatchSize, &count, &changed, walk.which_info,
                                   batch.infos, batch.refs, walk.want_spec ? batch.specs : nullptr,
                                   walk.want_name ? batch.names : nullptr);
        // Items fetched before a failure are still handed out; the failure then ends the walk.
        const OSErr walked = hand_out(batch, count, changed, walk);
        if (walked != noErr)
            err = walked;
        else if (err == noErr && count < kBatchSize)
            err = errFSNoMoreItems;
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
