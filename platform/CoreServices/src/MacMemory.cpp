// The Memory Manager's handles: a master pointer in a small record of its
// own, the bytes in a separate heap block, and a registry of live records so
// that a stale or foreign handle is refused (memWZErr) rather than followed.
#include <CoreServices/MacMemory.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace cs {
namespace {

constexpr SInt8 kLockedState = static_cast<SInt8>(0x80);

struct HandleRecord {
    Ptr master = nullptr; // first, so that the handle is the record's address
    Size size = 0;
    bool locked = false;
};

struct HandleRegistry {
    std::mutex lock;
    std::unordered_set<const HandleRecord*> live;
};

HandleRegistry& registry() {
    static auto* handles = new HandleRegistry;
    return *handles;
}

thread_local OSErr gMemError = noErr;

OSErr set_error(OSErr err) {
    gMemError = err;
    return err;
}

// The record behind h, or nullptr (with MemError set) when h is not a live handle.
HandleRecord* record_for(Handle h) {
    if (h == nullptr) {
        set_error(nilHandleErr);
        return nullptr;
    }
    auto* record = reinterpret_cast<HandleRecord*>(h);
    HandleRegistry& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    if (r.live.count(record) == 0) {
        set_error(memWZErr);
        return nullptr;
    }
    set_error(noErr);
    return record;
}

// Even an empty block has a master pointer that points somewhere.
Ptr allocate_bytes(Size size, bool clear) {
    size_t bytes = size > 0 ? static_cast<size_t>(size) : 1;
    return static_cast<Ptr>(clear ? std::calloc(bytes, 1) : std::malloc(bytes));
}

Handle new_handle(Size byteCount, bool clear) {
    if (byteCount < 0) {
        set_error(paramErr);
        return nullptr;
    }
    auto* record = new (std::nothrow) HandleRecord;
    Ptr bytes = record != nullptr ? allocate_bytes(byteCount, clear) : nullptr;
    if (bytes == nullptr) {
        delete record;
        set_error(memFullErr);
        return nullptr;
    }
    record->master = bytes;
    record->size = byteCount;
    HandleRegistry& r = registry();
    {
        std::lock_guard<std::mutex> guard(r.lock);
        r.live.insert(record);
    }
    set_error(noErr);
    return &record->master;
}

} // namespace
} // namespace cs

Handle NewHandle(Size byteCount) {
    return cs::new_handle(byteCount, false);
}

Handle NewHandleClear(Size byteCount) {
    return cs::new_handle(byteCount, true);
}

void DisposeHandle(Handle h) {
    cs::HandleRecord* record = cs::record_for(h);
    if (record == nullptr)
        return;
    {
        cs::HandleRegistry& r = cs::registry();
        std::lock_guard<std::mutex> guard(r.lock);
        r.live.erase(record);
    }
    std::free(record->master);
    delete record;
}

Size GetHandleSize(Handle h) {
    cs::HandleRecord* record = cs::record_for(h);
    return record != nullptr ? record->size : 0;
}

void SetHandleSize(Handle h, Size newSize) {
    cs::HandleRecord* record = cs::record_for(h);
    if (record == nullptr)
        return;
    if (newSize < 0) {
        cs::set_error(paramErr);
        return;
    }
    if (record->locked && newSize > record->size) {
        cs::set_error(memFullErr);
        return;
    }
    if (record->locked) { // shrinking in place: the bytes stay where they are
        record->size = newSize;
        return;
    }
    void* moved = std::realloc(record->master, newSize > 0 ? static_cast<size_t>(newSize) : 1);
    if (moved == nullptr) {
        cs::set_error(memFullErr);
        return;
    }
    record->master = static_cast<Ptr>(moved);
    record->size = newSize;
}

void HLock(Handle h) {
    if (cs::HandleRecord* record = cs::record_for(h))
        record->locked = true;
}

void HUnlock(Handle h) {
    if (cs::HandleRecord* record = cs::record_for(h))
        record->locked = false;
}

SInt8 HGetState(Handle h) {
    cs::HandleRecord* record = cs::record_for(h);
    return record != nullptr && record->locked ? cs::kLockedState : SInt8{0};
}

void HSetState(Handle h, SInt8 flags) {
    if (cs::HandleRecord* record = cs::record_for(h))
        record->locked = (flags & cs::kLockedState) != 0;
}

OSErr PtrToHand(const void* srcPtr, Handle* dstHndl, long size) {
    if (dstHndl == nullptr || (srcPtr == nullptr && size > 0))
        return cs::set_error(paramErr);
    *dstHndl = NewHandle(size);
    if (*dstHndl == nullptr)
        return MemError();
    if (size > 0)
        std::memcpy(**dstHndl, srcPtr, static_cast<size_t>(size));
    return noErr;
}

OSErr MemError(void) {
    return cs::gMemError;
}
