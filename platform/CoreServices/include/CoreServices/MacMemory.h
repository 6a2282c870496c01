/*
 * MacMemory.h: the Memory Manager's relocatable blocks (handles).
 *
 * A handle points to a master pointer, which points to the block's bytes.
 * Resizing may move the bytes (and so change the master pointer) unless the
 * handle is locked; a locked block never moves, so it cannot grow. Every call
 * leaves its status for MemError: noErr, memFullErr, nilHandleErr for a NULL
 * handle, memWZErr for something that is not a live handle.
 */
#ifndef CORESERVICES_MACMEMORY_H
#define CORESERVICES_MACMEMORY_H

#include <CoreServices/MacErrors.h>

CF_EXTERN_C_BEGIN

/* NewHandle: a block of byteCount bytes (0 is allowed); NULL when there is no memory. */
CF_EXPORT Handle NewHandle(Size byteCount);
/* NewHandleClear: as NewHandle, with the bytes set to zero. */
CF_EXPORT Handle NewHandleClear(Size byteCount);
/* DisposeHandle: frees the block and the handle; the handle must not be used again. */
CF_EXPORT void DisposeHandle(Handle h);

/* GetHandleSize: the block's size in bytes; 0 on error (see MemError). */
CF_EXPORT Size GetHandleSize(Handle h);
/*
 * SetHandleSize: resizes the block, keeping its first bytes. Growing a
 * locked block fails with memFullErr and leaves it as it was.
 */
CF_EXPORT void SetHandleSize(Handle h, Size newSize);

/* HLock / HUnlock: pin the block in place, and let it move again. */
CF_EXPORT void HLock(Handle h);
CF_EXPORT void HUnlock(Handle h);
/* HGetState / HSetState: the handle's flags (0x80 locked) to save and restore around HLock. */
CF_EXPORT SInt8 HGetState(Handle h);
CF_EXPORT void HSetState(Handle h, SInt8 flags);

/* PtrToHand: a new handle holding a copy of `size` bytes at srcPtr. */
CF_EXPORT OSErr PtrToHand(const void* srcPtr, Handle* dstHndl, long size);

/* MemError: the status of the last Memory Manager call on this thread. */
CF_EXPORT OSErr MemError(void);

CF_EXTERN_C_END

#endif /* CORESERVICES_MACMEMORY_H */
