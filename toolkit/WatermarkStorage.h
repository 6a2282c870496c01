/*
 * WatermarkStorage.h: watermarks and stored font data in maker data files (PreferenceFiles.h).
 * One file's root dictionary may hold the watermark list ("WatermarkListEntries"), any number of
 * watermark entries (dictionaries) and any number of font data entries (data), each under its
 * own key. Every write reads the whole file, changes one key and replaces the file whole.
 */
#ifndef TOOLKIT_WATERMARKSTORAGE_H
#define TOOLKIT_WATERMARKSTORAGE_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

/* One watermark in memory. The texts are UTF-8 and zero-terminated. glyphs (glyphCount 16-bit
   glyph codes) belongs to the record: it comes from malloc and goes with free. */
typedef struct WatermarkRecord {
    char textString[512];
    char filename[512];
    char filePath[8192];
    char fontName[512];
    float xOffset;
    float yOffset;
    float fontColorRed;
    float fontColorGreen;
    float fontColorBlue;
    float fontColorAlpha;
    float wellColorRed;
    float wellColorGreen;
    float wellColorBlue;
    float wellColorAlpha;
    SInt32 angle;
    SInt32 density;
    SInt32 scale;
    SInt32 units;
    SInt32 fontSize;
    SInt32 keyByText;        /* non-zero: the entry's key is textString, else filename */
    UInt8 featureFields[16]; /* the watermark feature's own; never stored */
    double xPos;
    double yPos;
    UInt16* glyphs;
    SInt32 glyphCount;
} WatermarkRecord;

#ifdef __cplusplus
static_assert(offsetof(WatermarkRecord, xPos) == 9808, "panels rely on the record's layout");
static_assert(sizeof(WatermarkRecord) == 9840, "panels rely on the record's layout");
#endif

/* Reads the "WatermarkListEntries" array of the file into *outList (retained for the caller)
   and returns true; with a browser, adds each element to its root as an item whose ID is the
   element itself and asks for all their properties. False, with *outList untouched, for a
   missing argument or an unreadable file; false with *outList NULL when the file has no list. */
CF_EXPORT Boolean loadWatermarkList(CFStringRef fileName, ControlRef browser, CFArrayRef* outList);

/* Stores list under "WatermarkListEntries" and writes the file (created when missing). */
CF_EXPORT void saveWatermarkList(CFStringRef fileName, CFArrayRef list);

/* Fills the fields present in the entry under key (the rest keep their values) and returns
   true; clears the whole record and returns false when the file or the entry is missing. A text
   too long for its field is cut at a character boundary. */
CF_EXPORT Boolean loadWatermarkData(CFStringRef fileName, CFStringRef key, WatermarkRecord* record);

/* Stores the record as one whole entry under its key (textString or filename, as keyByText
   says), replacing an earlier one, and writes the file (created when missing). A failed write
   is reported on standard error. */
CF_EXPORT void saveWatermarkData(CFStringRef fileName, const WatermarkRecord* record);

/* Removes the key from an existing file and writes it back. */
CF_EXPORT void removeWatermarkData(CFStringRef fileName, CFStringRef key);

/* Appends the bytes stored under key to buffer; nothing when the file or key is missing. */
CF_EXPORT void loadFontData(CFStringRef fileName, CFStringRef key, CFMutableDataRef buffer);

/* Stores data under key and writes the file back; a file that does not exist yet is created,
   so that the first font stored is not lost. */
CF_EXPORT void storeFontData(CFStringRef fileName, CFStringRef key, CFDataRef data);

CF_EXTERN_C_END

#endif /* TOOLKIT_WATERMARKSTORAGE_H */
