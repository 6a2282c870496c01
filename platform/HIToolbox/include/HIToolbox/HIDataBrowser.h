/*
 * HIDataBrowser.h: the data browser in its list view: rows of items under column headers, each
 * cell supplied by the caller's item-data callback. Items are the caller's pointer-sized IDs,
 * kept in one flat container (the root, kDataBrowserNoItem); the column view, hierarchies,
 * editing in place and dragging are not offered.
 */
#ifndef HITOOLBOX_HIDATABROWSER_H
#define HITOOLBOX_HIDATABROWSER_H

#include <HIToolbox/ControlDefinitions.h>
#include <HIToolbox/Controls.h>

#include <stdint.h>

CF_EXTERN_C_BEGIN

enum { kControlKindDataBrowser = 0x64617462 /* 'datb' */ };

/* The part a data browser reports for a hit, and takes the keyboard focus with. */
enum { kControlDataBrowserPart = 24, kControlDataBrowserDraggedPart = 25 };

enum {
    errDataBrowserNotConfigured = -4970,
    errDataBrowserItemNotFound = -4971,
    errDataBrowserPropertyNotFound = -4972,
    errDataBrowserInvalidPropertyPart = -4973,
    errDataBrowserInvalidPropertyData = -4974,
    errDataBrowserItemNotAdded = -4975,
    errDataBrowserPropertyNotSupported = -4979
};

/* A check box cell's state. */
typedef UInt16 ThemeButtonValue;
enum { kThemeButtonOff = 0, kThemeButtonOn = 1, kThemeButtonMixed = 2 };

typedef OSType DataBrowserViewStyle;
enum {
    kDataBrowserNoView = 0x3F3F3F3F,
    kDataBrowserListView = 0x6C737476,  /* 'lstv' */
    kDataBrowserColumnView = 0x636C6D76 /* 'clmv', not offered */
};

typedef UInt32 DataBrowserSelectionFlags;
enum {
    kDataBrowserDragSelect = 1 << 0,
    kDataBrowserSelectOnlyOne = 1 << 1,
    kDataBrowserResetSelection = 1 << 2,
    kDataBrowserCmdTogglesSelection = 1 << 3,
    kDataBrowserNoDisjointSelection = 1 << 4,
    kDataBrowserAlwaysExtendSelection = 1 << 5,
    kDataBrowserNeverEmptySelectionSet = 1 << 6
};

typedef UInt16 DataBrowserSortOrder;
enum {
    kDataBrowserOrderUndefined = 0,
    kDataBrowserOrderIncreasing = 1,
    kDataBrowserOrderDecreasing = 2
};

/* The caller's name for an item: any pointer-sized value but 0. */
typedef uintptr_t DataBrowserItemID;
enum { kDataBrowserNoItem = 0 };

typedef UInt32 DataBrowserItemState;
enum {
    kDataBrowserItemNoState = 0,
    kDataBrowserItemAnyState = (DataBrowserItemState)0xFFFFFFFF,
    kDataBrowserItemIsSelected = 1 << 0,
    kDataBrowserContainerIsOpen = 1 << 1,
    kDataBrowserItemIsDragTarget = 1 << 2
};

typedef UInt8 DataBrowserRevealOptions;
enum {
    kDataBrowserRevealOnly = 0,
    kDataBrowserRevealAndCenterInView = 1 << 0,
    kDataBrowserRevealWithoutSelecting = 1 << 1
};

typedef UInt32 DataBrowserSetOption;
enum {
    kDataBrowserItemsAdd = 0,
    kDataBrowserItemsAssign = 1,
    kDataBrowserItemsToggle = 2,
    kDataBrowserItemsRemove = 3
};

typedef UInt32 DataBrowserItemNotification;
enum {
    kDataBrowserItemAdded = 1,
    kDataBrowserItemRemoved = 2,
    kDataBrowserEditStarted = 3,
    kDataBrowserEditStopped = 4,
    kDataBrowserItemSelected = 5,
    kDataBrowserItemDeselected = 6,
    kDataBrowserItemDoubleClicked = 7,
    kDataBrowserContainerOpened = 8,
    kDataBrowserContainerClosing = 9,
    kDataBrowserContainerClosed = 10,
    kDataBrowserContainerSorting = 11,
    kDataBrowserContainerSorted = 12,
    kDataBrowserUserStateChanged = 13,
    kDataBrowserSelectionSetChanged = 14,
    kDataBrowserTargetChanged = 15,
    kDataBrowserUserToggledContainer = 16
};

/* Properties 0 to 1023 are the browser's own; columns use 1024 and up. */
typedef UInt32 DataBrowserPropertyID;
enum {
    kDataBrowserItemNoProperty = 0,
    kDataBrowserItemIsActiveProperty = 1,
    kDataBrowserItemIsSelectableProperty = 2,
    kDataBrowserItemIsEditableProperty = 3,
    kDataBrowserItemIsContainerProperty = 4,
    kDataBrowserContainerIsOpenableProperty = 5,
    kDataBrowserContainerIsClosableProperty = 6,
    kDataBrowserContainerIsSortableProperty = 7,
    kDataBrowserItemSelfIdentityProperty = 8
};

/* What a column shows; text and check box cells are drawn here. */
typedef OSType DataBrowserPropertyType;
enum {
    kDataBrowserCustomType = 0x3F3F3F3F,
    kDataBrowserIconType = 0x69636E72,     /* 'icnr' */
    kDataBrowserTextType = 0x74657874,     /* 'text' */
    kDataBrowserDateTimeType = 0x64617465, /* 'date' */
    kDataBrowserSliderType = 0x736C6472,   /* 'sldr' */
    kDataBrowserCheckboxType = 0x63686278, /* 'chbx' */
    kDataBrowserProgressBarType = 0x70726F67,
    kDataBrowserRelevanceRankType = 0x72616E6B,
    kDataBrowserPopupMenuType = 0x6D656E75,
    kDataBrowserIconAndTextType = 0x7469636E
};

typedef UInt32 DataBrowserPropertyFlags;
enum {
    kDataBrowserDefaultPropertyFlags = 0,
    kDataBrowserPropertyIsMutable = 1 << 0,
    kDataBrowserPropertyIsEditable = kDataBrowserPropertyIsMutable,
    kDataBrowserListViewSelectionColumn = 1 << 16,
    kDataBrowserListViewMovableColumn = 1 << 17,
    kDataBrowserListViewSortableColumn = 1 << 18
};

typedef struct DataBrowserPropertyDesc {
    DataBrowserPropertyID propertyID;
    DataBrowserPropertyType propertyType;
    DataBrowserPropertyFlags propertyFlags;
} DataBrowserPropertyDesc;

typedef DataBrowserPropertyID DataBrowserTableViewColumnID;
typedef DataBrowserPropertyDesc DataBrowserTableViewColumnDesc;
typedef UInt32 DataBrowserTableViewColumnIndex;
typedef UInt32 DataBrowserTableViewRowIndex;
enum {
    kDataBrowserTableViewLastColumn = (DataBrowserTableViewColumnIndex)0xFFFFFFFF,
    kDataBrowserListViewAppendColumn = kDataBrowserTableViewLastColumn
};

enum { kDataBrowserListViewLatestHeaderDesc = 0 };
typedef struct DataBrowserListViewHeaderDesc {
    UInt32 version; /* kDataBrowserListViewLatestHeaderDesc */
    UInt16 minimumWidth;
    UInt16 maximumWidth;
    SInt16 titleOffset;
    CFStringRef titleString; /* copied */
    DataBrowserSortOrder initialOrder;
    ControlFontStyleRec btnFontStyle;
    ControlButtonContentInfo btnContentInfo;
} DataBrowserListViewHeaderDesc;

typedef struct DataBrowserListViewColumnDesc {
    DataBrowserTableViewColumnDesc propertyDesc;
    DataBrowserListViewHeaderDesc headerBtnDesc;
} DataBrowserListViewColumnDesc;

/* One cell being asked for (or told about): valid only during the callback. */
typedef struct OpaqueDataBrowserItemDataRef* DataBrowserItemDataRef;

/* Supplies (setValue false) or takes (setValue true) the item's property through itemData.
   errDataBrowserPropertyNotSupported for a property it does not know. */
typedef OSStatus (*DataBrowserItemDataProcPtr)(ControlRef browser, DataBrowserItemID item,
                                               DataBrowserPropertyID property,
                                               DataBrowserItemDataRef itemData, Boolean setValue);
typedef DataBrowserItemDataProcPtr DataBrowserItemDataUPP;
/* Whether itemOne sorts before itemTwo by sortProperty. */
typedef Boolean (*DataBrowserItemCompareProcPtr)(ControlRef browser, DataBrowserItemID itemOne,
                                                 DataBrowserItemID itemTwo,
                                                 DataBrowserPropertyID sortProperty);
typedef DataBrowserItemCompareProcPtr DataBrowserItemCompareUPP;
typedef void (*DataBrowserItemNotificationProcPtr)(ControlRef browser, DataBrowserItemID item,
                                                   DataBrowserItemNotification message);
typedef DataBrowserItemNotificationProcPtr DataBrowserItemNotificationUPP;

CF_EXPORT DataBrowserItemDataUPP NewDataBrowserItemDataUPP(DataBrowserItemDataProcPtr routine);
CF_EXPORT void DisposeDataBrowserItemDataUPP(DataBrowserItemDataUPP upp);
CF_EXPORT DataBrowserItemCompareUPP
NewDataBrowserItemCompareUPP(DataBrowserItemCompareProcPtr routine);
CF_EXPORT void DisposeDataBrowserItemCompareUPP(DataBrowserItemCompareUPP upp);
CF_EXPORT DataBrowserItemNotificationUPP
NewDataBrowserItemNotificationUPP(DataBrowserItemNotificationProcPtr routine);
CF_EXPORT void DisposeDataBrowserItemNotificationUPP(DataBrowserItemNotificationUPP upp);

/* The callbacks of a browser. The drag, help and contextual-menu slots keep their places but
   are never called here. */
enum { kDataBrowserLatestCallbacks = 0 };
typedef struct DataBrowserCallbacks {
    UInt32 version; /* kDataBrowserLatestCallbacks */
    union {
        struct {
            DataBrowserItemDataUPP itemDataCallback;
            DataBrowserItemCompareUPP itemCompareCallback;
            DataBrowserItemNotificationUPP itemNotificationCallback;
            void* addDragItemCallback;
            void* acceptDragCallback;
            void* receiveDragCallback;
            void* postProcessDragCallback;
            void* itemHelpContentCallback;
            void* getContextualMenuCallback;
            void* selectContextualMenuCallback;
        } v1;
    } u;
} DataBrowserCallbacks;

/* ---- Creating and configuring -------------------------------------------- */

/* A list-view data browser in the window, with no columns, items or callbacks yet. paramErr
   for another view style. */
CF_EXPORT OSStatus CreateDataBrowserControl(WindowRef window, const Rect* boundsRect,
                                            DataBrowserViewStyle style, ControlRef* outControl);
CF_EXPORT OSStatus GetDataBrowserViewStyle(ControlRef browser, DataBrowserViewStyle* style);
/* Only kDataBrowserListView is accepted (paramErr otherwise). */
CF_EXPORT OSStatus SetDataBrowserViewStyle(ControlRef browser, DataBrowserViewStyle style);

/* Sets the version and clears every slot. */
CF_EXPORT OSStatus InitDataBrowserCallbacks(DataBrowserCallbacks* callbacks);
CF_EXPORT OSStatus SetDataBrowserCallbacks(ControlRef browser,
                                           const DataBrowserCallbacks* callbacks);
CF_EXPORT OSStatus GetDataBrowserCallbacks(ControlRef browser, DataBrowserCallbacks* callbacks);

/* ---- Columns ----------------------------------------------------------- */

/* Adds a column at position (0 first; kDataBrowserListViewAppendColumn or past the end:
   last). paramErr for a missing description or a property ID already shown. */
CF_EXPORT OSStatus AddDataBrowserListViewColumn(ControlRef browser,
                                                DataBrowserListViewColumnDesc* columnDesc,
                                                DataBrowserTableViewColumnIndex position);
/* errDataBrowserPropertyNotFound for a column the browser does not have. */
CF_EXPORT OSStatus RemoveDataBrowserTableViewColumn(ControlRef browser,
                                                    DataBrowserTableViewColumnID column);
CF_EXPORT OSStatus GetDataBrowserTableViewColumnCount(ControlRef browser, UInt32* numColumns);
CF_EXPORT OSStatus SetDataBrowserTableViewNamedColumnWidth(ControlRef browser,
                                                           DataBrowserTableViewColumnID column,
                                                           UInt16 width);
CF_EXPORT OSStatus GetDataBrowserTableViewNamedColumnWidth(ControlRef browser,
                                                           DataBrowserTableViewColumnID column,
                                                           UInt16* width);
/* The header row's height; 0 hides the headers. */
CF_EXPORT OSStatus SetDataBrowserListViewHeaderBtnHeight(ControlRef browser, UInt16 height);
CF_EXPORT OSStatus GetDataBrowserListViewHeaderBtnHeight(ControlRef browser, UInt16* height);
CF_EXPORT OSStatus SetDataBrowserTableViewRowHeight(ControlRef browser, UInt16 height);
CF_EXPORT OSStatus GetDataBrowserTableViewRowHeight(ControlRef browser, UInt16* height);

/* ---- Items ------------------------------------------------------------- */

/* Adds the items to the root (container must be kDataBrowserNoItem: paramErr otherwise), asks
   the item-data callback for each one's cells, and notifies kDataBrowserItemAdded. An item
   already present is not added twice; kDataBrowserNoItem is refused
   (errDataBrowserItemNotAdded). Rows follow the sort property when one is set, else the order
   of adding. */
CF_EXPORT OSStatus AddDataBrowserItems(ControlRef browser, DataBrowserItemID container,
                                       ItemCount numItems, const DataBrowserItemID* items,
                                       DataBrowserPropertyID preSortProperty);
/* Removes the items (all of them when numItems is 0 or items is NULL), notifying
   kDataBrowserItemRemoved for each. errDataBrowserItemNotFound when one is not there (the
   others still go). */
CF_EXPORT OSStatus RemoveDataBrowserItems(ControlRef browser, DataBrowserItemID container,
                                          ItemCount numItems, const DataBrowserItemID* items,
                                          DataBrowserPropertyID preSortProperty);
/* Asks the item-data callback again for the items' cells of propertyID
   (kDataBrowserItemNoProperty: every column), and repaints. numItems 0 or items NULL: every
   item. errDataBrowserItemNotFound for an item that is not there. */
CF_EXPORT OSStatus UpdateDataBrowserItems(ControlRef browser, DataBrowserItemID container,
                                          ItemCount numItems, const DataBrowserItemID* items,
                                          DataBrowserPropertyID preSortProperty,
                                          DataBrowserPropertyID propertyID);
/* How many items have every bit of state (kDataBrowserItemAnyState: all of them). */
CF_EXPORT OSStatus GetDataBrowserItemCount(ControlRef browser, DataBrowserItemID container,
                                           Boolean recurse, DataBrowserItemState state,
                                           ItemCount* numItems);
/* Resizes the handle to hold the IDs of those items, in row order. */
CF_EXPORT OSStatus GetDataBrowserItems(ControlRef browser, DataBrowserItemID container,
                                       Boolean recurse, DataBrowserItemState state, Handle items);
CF_EXPORT OSStatus GetDataBrowserItemState(ControlRef browser, DataBrowserItemID item,
                                           DataBrowserItemState* state);
/* Rows count from 0. errDataBrowserItemNotFound for an item or row that is not there. */
CF_EXPORT OSStatus GetDataBrowserTableViewItemID(ControlRef browser,
                                                 DataBrowserTableViewRowIndex row,
                                                 DataBrowserItemID* item);
CF_EXPORT OSStatus GetDataBrowserTableViewItemRow(ControlRef browser, DataBrowserItemID item,
                                                  DataBrowserTableViewRowIndex* row);

/* ---- Sorting ------------------------------------------------------------- */

/* The column rows are sorted by (its compare callback, else its cells' texts, compared
   localised); kDataBrowserItemNoProperty keeps the order of adding. */
CF_EXPORT OSStatus SetDataBrowserSortProperty(ControlRef browser, DataBrowserPropertyID property);
CF_EXPORT OSStatus GetDataBrowserSortProperty(ControlRef browser, DataBrowserPropertyID* property);
CF_EXPORT OSStatus SetDataBrowserSortOrder(ControlRef browser, DataBrowserSortOrder order);
CF_EXPORT OSStatus GetDataBrowserSortOrder(ControlRef browser, DataBrowserSortOrder* order);

/* ---- Selection --------------------------------------------------------- */

/* Changes the selection by the operation; with kDataBrowserSelectOnlyOne at most the last item
   named stays selected. Items that are not there are skipped. Notifies
   kDataBrowserItemSelected / kDataBrowserItemDeselected for each change, then
   kDataBrowserSelectionSetChanged. */
CF_EXPORT OSStatus SetDataBrowserSelectedItems(ControlRef browser, ItemCount numItems,
                                               const DataBrowserItemID* items,
                                               DataBrowserSetOption operation);
CF_EXPORT Boolean IsDataBrowserItemSelected(ControlRef browser, DataBrowserItemID item);
CF_EXPORT OSStatus SetDataBrowserSelectionFlags(ControlRef browser,
                                                DataBrowserSelectionFlags flags);
CF_EXPORT OSStatus GetDataBrowserSelectionFlags(ControlRef browser,
                                                DataBrowserSelectionFlags* flags);
/* The first and last selected items in row order; both kDataBrowserNoItem without any. */
CF_EXPORT OSStatus GetDataBrowserSelectionAnchor(ControlRef browser, DataBrowserItemID* first,
                                                 DataBrowserItemID* last);

/* ---- Scrolling ----------------------------------------------------------- */

/* The offset of the rows' area in pixels, kept within what the rows need. */
CF_EXPORT OSStatus SetDataBrowserScrollPosition(ControlRef browser, UInt32 top, UInt32 left);
CF_EXPORT OSStatus GetDataBrowserScrollPosition(ControlRef browser, UInt32* top, UInt32* left);
/* Scrolls as little as needed to show the item's row whole (or centres it). */
CF_EXPORT OSStatus RevealDataBrowserItem(ControlRef browser, DataBrowserItemID item,
                                         DataBrowserPropertyID propertyID,
                                         DataBrowserRevealOptions options);
CF_EXPORT OSStatus SetDataBrowserHasScrollBars(ControlRef browser, Boolean horiz, Boolean vert);
CF_EXPORT OSStatus GetDataBrowserHasScrollBars(ControlRef browser, Boolean* horiz, Boolean* vert);

/* ---- Cells, inside the item-data callback -------------------------------- */

/* A callback answers through these: Set the cell's value, or read what it is given (Get, with
   errDataBrowserInvalidPropertyData for a value that was not set). The text from
   GetDataBrowserItemDataText is the caller's to release. */
CF_EXPORT OSStatus SetDataBrowserItemDataText(DataBrowserItemDataRef itemData, CFStringRef theData);
CF_EXPORT OSStatus GetDataBrowserItemDataText(DataBrowserItemDataRef itemData,
                                              CFStringRef* theData);
CF_EXPORT OSStatus SetDataBrowserItemDataButtonValue(DataBrowserItemDataRef itemData,
                                                     ThemeButtonValue theData);
CF_EXPORT OSStatus GetDataBrowserItemDataButtonValue(DataBrowserItemDataRef itemData,
                                                     ThemeButtonValue* theData);
CF_EXPORT OSStatus SetDataBrowserItemDataBooleanValue(DataBrowserItemDataRef itemData,
                                                      Boolean theData);
CF_EXPORT OSStatus GetDataBrowserItemDataBooleanValue(DataBrowserItemDataRef itemData,
                                                      Boolean* theData);
CF_EXPORT OSStatus SetDataBrowserItemDataValue(DataBrowserItemDataRef itemData, SInt32 theData);
CF_EXPORT OSStatus GetDataBrowserItemDataValue(DataBrowserItemDataRef itemData, SInt32* theData);
CF_EXPORT OSStatus GetDataBrowserItemDataItemID(DataBrowserItemDataRef itemData,
                                                DataBrowserItemID* theData);
CF_EXPORT OSStatus GetDataBrowserItemDataProperty(DataBrowserItemDataRef itemData,
                                                  DataBrowserPropertyID* theData);

CF_EXTERN_C_END

#endif /* HITOOLBOX_HIDATABROWSER_H */
