/*
 * MacTextEditor.h: the multilingual text engine. A text object holds
 * Unicode text in paragraphs, lays it out wrapped to its frame (any script:
 * fonts come from fontconfig), draws it into its window's port with a
 * caret, a selection and a vertical scroll bar, and edits it from the
 * keyboard, the mouse, the scrap and its own undo history.
 *
 * Offsets count UTF-16 units from the start of the text; kTXNEndOffset (or
 * any offset past the end) stands for the end. A carriage return (or a line
 * feed) ends a paragraph; typing Return inserts a carriage return.
 */
#ifndef HITOOLBOX_MACTEXTEDITOR_H
#define HITOOLBOX_MACTEXTEDITOR_H

#include <HIToolbox/Events.h>
#include <HIToolbox/HIGeometry.h>
#include <HIToolbox/HIToolboxTypes.h>
#include <HIToolbox/Quickdraw.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueTXNObject* TXNObject;
typedef UInt32 TXNFrameID;

/* Statuses of the engine. */
enum {
    kTXNEndIterationErr = -22000,
    kTXNInvalidFrameIDErr = -22002,
    kTXNAttributeTagInvalidForRunErr = -22009,
    kTXNSomeOrAllTagsInvalidForRunErr = -22010,
    kTXNDataTypeNotAllowedErr = -22015,
    kTXNOutsideOfFrameErr = -22018,
    kTXNDisabledFunctionalityErr = -22019
};

/* Frame options (TXNCreateObject). */
typedef OptionBits TXNFrameOptions;
enum {
    kTXNWantHScrollBarMask = 1UL << 2,
    kTXNWantVScrollBarMask = 1UL << 3,
    kTXNReadOnlyMask = 1UL << 5,
    kOutputTextInUnicodeEncodingMask = 1UL << 9,
    kTXNAlwaysWrapAtViewEdgeMask = 1UL << 11,
    kTXNDontDrawCaretWhenInactiveMask = 1UL << 12,
    kTXNDontDrawSelectionWhenInactiveMask = 1UL << 13,
    kTXNSingleLineOnlyMask = 1UL << 14,
    kTXNDisableDragAndDropMask = 1UL << 15,
    kTXNMonostyledTextMask = 1UL << 17
};

typedef UInt32 TXNOffset;
enum { kTXNUseCurrentSelection = 0xFFFFFFFFUL, kTXNStartOffset = 0, kTXNEndOffset = 0x7FFFFFFF };
enum { kTXNShowStart = false, kTXNShowEnd = true };

typedef OSType TXNDataType;
enum {
    kTXNTextData = 0x54455854 /* 'TEXT': the system encoding */,
    kTXNUnicodeTextData = 0x75747874 /* 'utxt': UTF-16 */
};

/* Object controls (TXNSetTXNObjectControls). */
typedef FourCharCode TXNControlTag;
enum {
    kTXNIOPrivilegesTag = 0x696F7076 /* 'iopv' */,
    kTXNWordWrapStateTag = 0x77777273 /* 'wwrs' */,
    kTXNTabSettingsTag = 0x74616273 /* 'tabs' */,
    kTXNMarginsTag = 0x6D617267 /* 'marg' */,
    kTXNNoUserIOTag = 0x6E75696F /* 'nuio' */,
    kTXNDrawCaretWhenInactiveTag = 0x64637274 /* 'dcrt' */,
    kTXNDrawSelectionWhenInactiveTag = 0x64736C6E /* 'dsln' */,
    kTXNVisibilityTag = 0x76697362 /* 'visb' */
};
enum { kTXNReadWrite = false, kTXNReadOnly = true };
enum { kTXNAutoWrap = false, kTXNNoAutoWrap = true };

typedef SInt8 TXNTabType;
enum { kTXNRightTab = -1, kTXNLeftTab = 0, kTXNCenterTab = 1 };

typedef struct TXNTab {
    SInt16 value; /* the distance between tab stops, in pixels */
    TXNTabType tabType;
    UInt8 filler;
} TXNTab;

typedef struct TXNMargins {
    SInt16 topMargin;
    SInt16 leftMargin;
    SInt16 bottomMargin;
    SInt16 rightMargin;
} TXNMargins;

typedef union TXNControlData {
    UInt32 uValue;
    SInt32 sValue;
    TXNTab tabValue;
    TXNMargins* marginsPtr;
} TXNControlData;

/* Type attributes (TXNSetTypeAttributes). */
typedef FourCharCode TXNTypeRunAttributes;
enum {
    kTXNQDFontSizeAttribute = 0x73697A65 /* 'size': Fixed points */,
    kTXNQDFontColorAttribute = 0x6B6C6F72 /* 'klor': RGBColor */
};
enum { kTXNFontSizeAttributeSize = sizeof(Fixed), kTXNQDFontColorAttributeSize = sizeof(RGBColor) };

typedef union TXNAttributeData {
    void* dataPtr;
    UInt32 dataValue;
} TXNAttributeData;

typedef struct TXNTypeAttributes {
    TXNTypeRunAttributes tag;
    ByteCount size;
    TXNAttributeData data;
} TXNTypeAttributes;

typedef UInt32 TXNBackgroundType;
enum { kTXNBackgroundTypeRGB = 1 };
typedef union TXNBackgroundData {
    RGBColor color;
} TXNBackgroundData;
typedef struct TXNBackground {
    TXNBackgroundType bgType;
    TXNBackgroundData bg;
} TXNBackground;

typedef Boolean TXNScrollBarState;
enum { kScrollBarsAlwaysActive = true, kScrollBarsSyncWithFocus = false };

typedef OptionBits TXNDrawItems;
enum {
    kTXNDrawItemScrollbarsMask = 1UL << 0,
    kTXNDrawItemTextMask = 1UL << 1,
    kTXNDrawItemTextAndSelectionMask = 1UL << 2,
    kTXNDrawItemAllMask = 0xFFFFFFFFUL
};

typedef UInt32 TXNActionKey;
enum {
    kTXNTypingAction = 0,
    kTXNCutAction = 1,
    kTXNPasteAction = 2,
    kTXNClearAction = 3,
    kTXNUndoLastAction = 1024
};

/* ---- Objects ------------------------------------------------------------- */

/*
 * A new, empty text object whose frame is iFrameRect (window-local
 * pixels). Release it with TXNDeleteObject. paramErr for a NULL frame or
 * result.
 */
CF_EXPORT OSStatus TXNCreateObject(const HIRect* iFrameRect, TXNFrameOptions iFrameOptions,
                                   TXNObject* oTXNObject);
/* Draws into the window's port from now on; the object takes keystrokes
   and mouse drags in that window while it has the focus. paramErr for a bad
   object, errInvalidWindowRef for a bad window. */
CF_EXPORT OSStatus TXNAttachObjectToWindowRef(TXNObject iTXNObject, WindowRef iWindowRef);
CF_EXPORT void TXNDeleteObject(TXNObject iTXNObject);

/* Moves the frame (window-local pixels) and lays the text out again. */
CF_EXPORT void TXNSetFrameBounds(TXNObject iTXNObject, SInt32 iTop, SInt32 iLeft, SInt32 iBottom,
                                 SInt32 iRight, TXNFrameID iTXNFrameID);
/* The frame's rectangle. */
CF_EXPORT void TXNGetViewRect(TXNObject iTXNObject, Rect* oViewRect);
CF_EXPORT OSStatus TXNSetBackground(TXNObject iTXNObject, const TXNBackground* iBackgroundInfo);

/* Sets (or, for the get, reads) the listed controls. kTXNIOPrivilegesTag
   and kTXNNoUserIOTag: read-only; kTXNVisibilityTag: drawn at all;
   kTXNMarginsTag (marginsPtr); kTXNTabSettingsTag; kTXNWordWrapStateTag;
   kTXNDrawCaretWhenInactiveTag, kTXNDrawSelectionWhenInactiveTag.
   iClearAll first restores every control's default. paramErr for bad
   arguments, kTXNAttributeTagInvalidForRunErr for an unknown tag (the
   controls before it are set). */
CF_EXPORT OSStatus TXNSetTXNObjectControls(TXNObject iTXNObject, Boolean iClearAll,
                                           ItemCount iControlCount,
                                           const TXNControlTag iControlTags[],
                                           const TXNControlData iControlData[]);
CF_EXPORT OSStatus TXNGetTXNObjectControls(TXNObject iTXNObject, ItemCount iControlCount,
                                           const TXNControlTag iControlTags[],
                                           TXNControlData oControlData[]);

/* Type attributes apply to the whole text: one font and colour per object.
   kTXNQDFontSizeAttribute (Fixed points, in dataValue), kTXNQDFontColorAttribute
   (dataPtr to an RGBColor), and kTXNDrawCaretWhenInactiveTag (size 1, in
   dataValue: whether the caret shows while the object is inactive).
   kTXNSomeOrAllTagsInvalidForRunErr for others, paramErr for a wrong size. */
CF_EXPORT OSStatus TXNSetTypeAttributes(TXNObject iTXNObject, ItemCount iAttrCount,
                                        const TXNTypeAttributes iAttributes[],
                                        TXNOffset iStartOffset, TXNOffset iEndOffset);

/* ---- Text ----------------------------------------------------------------- */

/* Replaces iStartOffset..iEndOffset (kTXNUseCurrentSelection: the selection)
   with the data, "TEXT" bytes in the system encoding or "utxt" UTF-16 units,
   and puts the caret after it. Not recorded for undo. paramErr for bad
   bytes, kTXNDataTypeNotAllowedErr for another type. Works while read-only. */
CF_EXPORT OSStatus TXNSetData(TXNObject iTXNObject, TXNDataType iDataType, const void* iDataPtr,
                              ByteCount iDataSize, TXNOffset iStartOffset, TXNOffset iEndOffset);
/* A new handle (the caller disposes of it) with the range as UTF-16 units. */
CF_EXPORT OSStatus TXNGetData(TXNObject iTXNObject, TXNOffset iStartOffset, TXNOffset iEndOffset,
                              Handle* oDataHandle);
/* As TXNGetData, in kTXNTextData (system encoding; characters it lacks
   become '?') or kTXNUnicodeTextData. */
CF_EXPORT OSStatus TXNGetDataEncoded(TXNObject iTXNObject, TXNOffset iStartOffset,
                                     TXNOffset iEndOffset, Handle* oDataHandle,
                                     TXNDataType iEncoding);
/* The size of the text in bytes of UTF-16. */
CF_EXPORT ByteCount TXNDataSize(TXNObject iTXNObject);

/* ---- Selection ------------------------------------------------------------ */

CF_EXPORT void TXNGetSelection(TXNObject iTXNObject, TXNOffset* oStartOffset,
                               TXNOffset* oEndOffset);
CF_EXPORT OSStatus TXNSetSelection(TXNObject iTXNObject, TXNOffset iStartOffset,
                                   TXNOffset iEndOffset);
CF_EXPORT void TXNSelectAll(TXNObject iTXNObject);
CF_EXPORT Boolean TXNIsSelectionEmpty(TXNObject iTXNObject);
/* Scrolls so that the start (or end) of the selection is in view. */
CF_EXPORT void TXNShowSelection(TXNObject iTXNObject, Boolean iShowEnd);

/* ---- Input ---------------------------------------------------------------- */

/* A mouse-down (where in global coordinates, which here are the window's):
   in the text it places the caret (Shift extends the selection; a double
   click selects a word) and starts a drag that the window's mouse-dragged
   events extend until the mouse-up; in the scroll bar it pages or grabs
   the thumb. */
CF_EXPORT void TXNClick(TXNObject iTXNObject, const EventRecord* iEvent);
/* A key-down (message: the character in its low byte) as typing. */
CF_EXPORT void TXNKeyDown(TXNObject iTXNObject, const EventRecord* iEvent);
/* Focused, the object takes the window's text input and shows its caret. */
CF_EXPORT void TXNFocus(TXNObject iTXNObject, Boolean iBecomingFocused);
CF_EXPORT OSStatus TXNSetScrollbarState(TXNObject iTXNObject, TXNScrollBarState iActiveState);
/* Sets the I-beam over the text (inside ioCursorRgn, when given). */
CF_EXPORT void TXNAdjustCursor(TXNObject iTXNObject, RgnHandle ioCursorRgn);

/* ---- Drawing ---------------------------------------------------------------- */

/* Draws the object into its window's port (clipped to iClipRect, window-local,
   when given). paramErr for a bad object, errInvalidWindowRef when unattached. */
CF_EXPORT OSStatus TXNDrawObject(TXNObject iTXNObject, const HIRect* iClipRect,
                                 TXNDrawItems iDrawItems);

/* ---- Editing ------------------------------------------------------------------ */

/* Copy puts the selection on the scrap (plain and Unicode text); cut and
   clear remove it; paste replaces it with the scrap's text. Read-only
   objects refuse cut, clear and paste with kTXNDisabledFunctionalityErr. */
CF_EXPORT OSStatus TXNCut(TXNObject iTXNObject);
CF_EXPORT OSStatus TXNCopy(TXNObject iTXNObject);
CF_EXPORT OSStatus TXNPaste(TXNObject iTXNObject);
CF_EXPORT OSStatus TXNClear(TXNObject iTXNObject);
/* The scrap holds text. */
CF_EXPORT Boolean TXNIsScrapPastable(void);

CF_EXPORT void TXNUndo(TXNObject iTXNObject);
CF_EXPORT void TXNRedo(TXNObject iTXNObject);
CF_EXPORT Boolean TXNCanUndo(TXNObject iTXNObject, TXNActionKey* oTXNActionKey);
CF_EXPORT Boolean TXNCanRedo(TXNObject iTXNObject, TXNActionKey* oTXNActionKey);

CF_EXTERN_C_END

#endif /* HITOOLBOX_MACTEXTEDITOR_H */
