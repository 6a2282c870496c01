// Shared by the watermark and font data routines: the record's conversion to and from an entry,
// and the read-change-write cycle of a maker data file.
#ifndef TOOLKIT_WATERMARKSTORAGEINTERNAL_H
#define TOOLKIT_WATERMARKSTORAGEINTERNAL_H

#include "WatermarkStorage.h"

namespace toolkit {

// The file's root dictionary, mutable. A missing or unreadable file gives a new empty one when
// startAfresh is true, else NULL; a root that is not a dictionary is kept aside like a damaged
// file. The caller releases the result.
CFMutableDictionaryRef copy_maker_root(CFStringRef fileName, bool startAfresh);

// Writes the root back over the file whole; false with *error (0: nothing could be written).
bool write_maker_root(CFStringRef fileName, CFDictionaryRef root, SInt32* error);

// The entry's key: textString or filename as UTF-8, as keyByText says; NULL when not UTF-8.
CFStringRef create_watermark_key(const WatermarkRecord& record);

// The record as a whole entry, in the order the keys are written.
CFMutableDictionaryRef create_watermark_entry(const WatermarkRecord& record);

// Stores every field present in the entry; the others keep their values.
void fill_watermark_record(CFDictionaryRef entry, WatermarkRecord& record);

} // namespace toolkit

#endif
