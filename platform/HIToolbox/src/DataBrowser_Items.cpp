// The data browser's items: adding, removing and refreshing them through the item-data
// callback, their order, the selection, scrolling, and the cells a callback fills in.
#include "DataBrowser.h"

#include <CoreFoundation/CFString.h>
#include <CoreServices/MacMemory.h>

#include <cstring>

#include <algorithm>

namespace hit::databrowser {
namespace {

void notify_item(ControlRef browser, DataBrowserItemID item, DataBrowserItemNotification message) {
    if (DataBrowserItemNotificationUPP callback =
            state_of(browser).callbacks.u.v1.itemNotificationCallback)
        callback(browser, item, message);
}

// Asks the callback for one cell of the row; an answer it does not give leaves the cell empty.
void ask_cell(ControlRef browser, Row& row, const Column& column) {
    DataBrowserItemDataUPP callback = state_of(browser).callbacks.u.v1.itemDataCallback;
    OpaqueDataBrowserItemDataRef data;
    data.item = row.id;
    data.property = column.desc.propertyID;
    if (callback != nullptr)
        callback(browser, row.id, data.property, &data, false);
    auto cell = std::find_if(row.cells.begin(), row.cells.end(),
                             [&](const Cell& c) { return c.property == data.property; });
    if (cell == row.cells.end())
        cell = row.cells.insert(row.cells.end(), Cell{data.property, {}, kThemeButtonOff});
    cell->text.reset(data.has_text ? data.text.release() : nullptr);
    cell->button = data.has_button ? data.button : ThemeButtonValue{kThemeButtonOff};
}

bool all_items(ItemCount count, const DataBrowserItemID* items) {
    return count == 0 || items == nullptr;
}

// Sets one row's selection; notifies and returns true when it changed.
bool set_selected(ControlRef browser, Row& row, bool selected) {
    if (row.selected == selected)
        return false;
    row.selected = selected;
    notify_item(browser, row.id, selected ? kDataBrowserItemSelected : kDataBrowserItemDeselected);
    return true;
}

// The text a row sorts by in its column.
CFStringRef sort_text(const Row& row, DataBrowserPropertyID property) {
    const Cell* cell = row.cell(property);
    return cell != nullptr ? cell->text.get() : nullptr;
}

} // namespace

const Cell* Row::cell(DataBrowserPropertyID property) const {
    for (const Cell& c : cells)
        if (c.property == property)
            return &c;
    return nullptr;
}

long row_of(const State& state, DataBrowserItemID item) {
    for (size_t r = 0; r < state.rows.size(); ++r)
        if (state.rows[r].id == item)
            return static_cast<long>(r);
    return -1;
}

void refresh_cells(ControlRef browser, Row& row, DataBrowserPropertyID property) {
    for (const Column& column : state_of(browser).columns)
        if (property == kDataBrowserItemNoProperty || column.desc.propertyID == property)
            ask_cell(browser, row, column);
}

void sort_rows(ControlRef browser) {
    State& state = state_of(browser);
    const DataBrowserPropertyID property = state.sort_property;
    if (property == kDataBrowserItemNoProperty)
        return;
    DataBrowserItemCompareUPP compare = state.callbacks.u.v1.itemCompareCallback;
    auto before = [&](const Row& a, const Row& b) {
        if (compare != nullptr)
            return compare(browser, a.id, b.id, property) != 0;
        CFStringRef ta = sort_text(a, property), tb = sort_text(b, property);
        if (ta == nullptr || tb == nullptr)
            return ta == nullptr && tb != nullptr;
        return CFStringCompare(ta, tb, kCFCompareLocalized) == kCFCompareLessThan;
    };
    if (state.sort_order == kDataBrowserOrderDecreasing)
        std::stable_sort(state.rows.begin(), state.rows.end(),
                         [&](const Row& a, const Row& b) { return before(b, a); });
    else
        std::stable_sort(state.rows.begin(), state.rows.end(), before);
}

Rect rows_area(ControlRef control, const State& state) {
    Rect area = control->bounds;
    area.top += 1, area.left += 1, area.bottom -= 1, area.right -= 1;
    if (!state.columns.empty())
        area.top = static_cast<SInt16>(std::min<int>(area.bottom, area.top + state.header_height));
    if (state.vertical_bar)
        area.right = static_cast<SInt16>(std::max<int>(area.left, area.right - 11));
    return area;
}

void clamp_scroll(ControlRef control, State& state) {
    const Rect area = rows_area(control, state);
    const long height = static_cast<long>(state.rows.size()) * state.row_height;
    long width = 0;
    for (const Column& column : state.columns)
        width += column.width;
    const long max_top = std::max(0L, height - (area.bottom - area.top));
    const long max_left = std::max(0L, width - (area.right - area.left));
    state.scroll_top = static_cast<UInt32>(std::min<long>(state.scroll_top, max_top));
    state.scroll_left = static_cast<UInt32>(std::min<long>(state.scroll_left, max_left));
}

void select_only_row(ControlRef browser, size_t row) {
    State& state = state_of(browser);
    if (row >= state.rows.size())
        return;
    const DataBrowserItemID item = state.rows[row].id;
    SetDataBrowserSelectedItems(browser, 1, &item, kDataBrowserItemsAssign);
    RevealDataBrowserItem(browser, item, kDataBrowserItemNoProperty, kDataBrowserRevealOnly);
}

} // namespace hit::databrowser

using namespace hit::databrowser;

OSStatus AddDataBrowserItems(ControlRef browser, DataBrowserItemID container, ItemCount numItems,
                             const DataBrowserItemID* items, DataBrowserPropertyID) {
    State* state = browser_state(browser, __func__);
    if (state == nullptr || container != kDataBrowserNoItem || (numItems > 0 && items == nullptr))
        return paramErr;
    OSStatus status = noErr;
    std::vector<DataBrowserItemID> added;
    for (ItemCount i = 0; i < numItems; ++i) {
        if (items[i] == kDataBrowserNoItem) {
            status = errDataBrowserItemNotAdded;
            continue;
        }
        if (row_of(*state, items[i]) >= 0)
            continue;
        state->rows.push_back(Row{items[i], false, {}});
        refresh_cells(browser, state->rows.back(), kDataBrowserItemNoProperty);
        added.push_back(items[i]);
    }
    sort_rows(browser);
    for (DataBrowserItemID item : added)
        notify_item(browser, item, kDataBrowserItemAdded);
    hit::changed(browser);
    return status;
}

OSStatus RemoveDataBrowserItems(ControlRef browser, DataBrowserItemID container, ItemCount numItems,
                                const DataBrowserItemID* items, DataBrowserPropertyID) {
    State* state = browser_state(browser, __func__);
    if (state == nullptr || container != kDataBrowserNoItem)
        return paramErr;
    std::vector<DataBrowserItemID> doomed;
    if (all_items(numItems, items)) {
        for (const Row& row : state->rows)
            doomed.push_back(row.id);
    } else {
        doomed.assign(items, items + numItems);
    }
    OSStatus status = noErr;
    bool selection_changed = false;
    for (DataBrowserItemID item : doomed) {
        const long row = row_of(*state, item);
        if (row < 0) {
            status = errDataBrowserItemNotFound;
            continue;
        }
        selection_changed = state->rows[static_cast<size_t>(row)].selected || selection_changed;
        state->rows.erase(state->rows.begin() + row);
        notify_item(browser, item, kDataBrowserItemRemoved);
    }
    if (selection_changed)
        notify_item(browser, kDataBrowserNoItem, kDataBrowserSelectionSetChanged);
    clamp_scroll(browser, *state);
    hit::changed(browser);
    return status;
}

OSStatus UpdateDataBrowserItems(ControlRef browser, DataBrowserItemID container, ItemCount numItems,
                                const DataBrowserItemID* items, DataBrowserPropertyID,
                                DataBrowserPropertyID propertyID) {
    State* state = browser_state(browser, __func__);
    if (state == nullptr || container != kDataBrowserNoItem)
        return paramErr;
    OSStatus status = noErr;
    if (all_items(numItems, items)) {
        for (Row& row : state->rows)
            refresh_cells(browser, row, propertyID);
    } else {
        for (ItemCount i = 0; i < numItems; ++i) {
            const long row = row_of(*state, items[i]);
            if (row < 0)
                status = errDataBrowserItemNotFound;
            else
                refresh_cells(browser, state->rows[static_cast<size_t>(row)], propertyID);
        }
    }
    sort_rows(browser);
    hit::changed(browser);
    return status;
}

namespace {

bool has_state(const Row& row, DataBrowserItemState state) {
    if (state == kDataBrowserItemAnyState || state == kDataBrowserItemNoState)
        return true;
    // Only the selection is a state of a flat list's rows.
    const DataBrowserItemState own =
        row.selected ? DataBrowserItemState{kDataBrowserItemIsSelected} : 0;
    return (own & state) == state;
}

} // namespace

OSStatus GetDataBrowserItemCount(ControlRef browser, DataBrowserItemID container, Boolean,
                                 DataBrowserItemState state, ItemCount* numItems) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr || numItems == nullptr || container != kDataBrowserNoItem)
        return paramErr;
    *numItems = static_cast<ItemCount>(std::count_if(
        s->rows.begin(), s->rows.end(), [&](const Row& row) { return has_state(row, state); }));
    return noErr;
}

OSStatus GetDataBrowserItems(ControlRef browser, DataBrowserItemID container, Boolean,
                             DataBrowserItemState state, Handle items) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr || items == nullptr || container != kDataBrowserNoItem)
        return paramErr;
    std::vector<DataBrowserItemID> ids;
    for (const Row& row : s->rows)
        if (has_state(row, state))
            ids.push_back(row.id);
    SetHandleSize(items, static_cast<Size>(ids.size() * sizeof(DataBrowserItemID)));
    if (OSErr err = MemError(); err != noErr)
        return err;
    if (!ids.empty())
        std::memcpy(*items, ids.data(), ids.size() * sizeof(DataBrowserItemID));
    return noErr;
}

OSStatus GetDataBrowserItemState(ControlRef browser, DataBrowserItemID item,
                                 DataBrowserItemState* state) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr || state == nullptr)
        return paramErr;
    const long row = row_of(*s, item);
    if (row < 0)
        return errDataBrowserItemNotFound;
    *state = s->rows[static_cast<size_t>(row)].selected
                 ? DataBrowserItemState{kDataBrowserItemIsSelected}
                 : DataBrowserItemState{kDataBrowserItemNoState};
    return noErr;
}

OSStatus GetDataBrowserTableViewItemID(ControlRef browser, DataBrowserTableViewRowIndex row,
                                       DataBrowserItemID* item) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr || item == nullptr)
        return paramErr;
    if (row >= s->rows.size())
        return errDataBrowserItemNotFound;
    *item = s->rows[row].id;
    return noErr;
}

OSStatus GetDataBrowserTableViewItemRow(ControlRef browser, DataBrowserItemID item,
                                        DataBrowserTableViewRowIndex* row) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr || row == nullptr)
        return paramErr;
    const long found = row_of(*s, item);
    if (found < 0)
        return errDataBrowserItemNotFound;
    *row = static_cast<DataBrowserTableViewRowIndex>(found);
    return noErr;
}

OSStatus SetDataBrowserSortProperty(ControlRef browser, DataBrowserPropertyID property) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr)
        return paramErr;
    s->sort_property = property;
    sort_rows(browser);
    hit::changed(browser);
    return noErr;
}

OSStatus GetDataBrowserSortProperty(ControlRef browser, DataBrowserPropertyID* property) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr || property == nullptr)
        return paramErr;
    *property = s->sort_property;
    return noErr;
}

OSStatus SetDataBrowserSortOrder(ControlRef browser, DataBrowserSortOrder order) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr ||
        (order != kDataBrowserOrderIncreasing && order != kDataBrowserOrderDecreasing))
        return paramErr;
    s->sort_order = order;
    sort_rows(browser);
    hit::changed(browser);
    return noErr;
}

OSStatus GetDataBrowserSortOrder(ControlRef browser, DataBrowserSortOrder* order) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr || order == nullptr)
        return paramErr;
    *order = s->sort_order;
    return noErr;
}

namespace {

bool wants(ItemCount count, const DataBrowserItemID* items, DataBrowserItemID id) {
    return std::find(items, items + count, id) != items + count;
}

bool apply_selection(ControlRef browser, State& s, ItemCount count, const DataBrowserItemID* items,
                     DataBrowserSetOption operation) {
    bool changed = false;
    // Only one may stay selected: the last of the items named that is in the list.
    DataBrowserItemID only = kDataBrowserNoItem;
    if ((s.selection_flags & kDataBrowserSelectOnlyOne) != 0 &&
        operation != kDataBrowserItemsRemove)
        for (ItemCount i = 0; i < count; ++i)
            if (row_of(s, items[i]) >= 0)
                only = items[i];
    for (Row& row : s.rows) {
        const bool named = wants(count, items, row.id);
        bool selected = row.selected;
        if (operation == kDataBrowserItemsAssign)
            selected = named;
        else if (operation == kDataBrowserItemsAdd)
            selected = selected || named;
        else if (operation == kDataBrowserItemsToggle)
            selected = named ? !selected : selected;
        else if (operation == kDataBrowserItemsRemove)
            selected = selected && !named;
        if ((s.selection_flags & kDataBrowserSelectOnlyOne) != 0 && only != kDataBrowserNoItem)
            selected = row.id == only && selected;
        changed = set_selected(browser, row, selected) || changed;
    }
    return changed;
}

} // namespace

OSStatus SetDataBrowserSelectedItems(ControlRef browser, ItemCount numItems,
                                     const DataBrowserItemID* items,
                                     DataBrowserSetOption operation) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr || (numItems > 0 && items == nullptr) || operation > kDataBrowserItemsRemove)
        return paramErr;
    if (apply_selection(browser, *s, numItems, items, operation)) {
        notify_item(browser, kDataBrowserNoItem, kDataBrowserSelectionSetChanged);
        hit::changed(browser);
    }
    return noErr;
}

Boolean IsDataBrowserItemSelected(ControlRef browser, DataBrowserItemID item) {
    State* s = browser_state(browser, __func__);
    const long row = s != nullptr ? row_of(*s, item) : -1;
    return row >= 0 && s->rows[static_cast<size_t>(row)].selected;
}

OSStatus SetDataBrowserSelectionFlags(ControlRef browser, DataBrowserSelectionFlags flags) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr)
        return paramErr;
    s->selection_flags = flags;
    return noErr;
}

OSStatus GetDataBrowserSelectionFlags(ControlRef browser, DataBrowserSelectionFlags* flags) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr || flags == nullptr)
        return paramErr;
    *flags = s->selection_flags;
    return noErr;
}

OSStatus GetDataBrowserSelectionAnchor(ControlRef browser, DataBrowserItemID* first,
                                       DataBrowserItemID* last) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr || first == nullptr || last == nullptr)
        return paramErr;
    *first = *last = kDataBrowserNoItem;
    for (const Row& row : s->rows) {
        if (!row.selected)
            continue;
        if (*first == kDataBrowserNoItem)
            *first = row.id;
        *last = row.id;
    }
    return noErr;
}

OSStatus SetDataBrowserScrollPosition(ControlRef browser, UInt32 top, UInt32 left) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr)
        return paramErr;
    s->scroll_top = top;
    s->scroll_left = left;
    clamp_scroll(browser, *s);
    hit::changed(browser);
    return noErr;
}

OSStatus GetDataBrowserScrollPosition(ControlRef browser, UInt32* top, UInt32* left) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr)
        return paramErr;
    if (top != nullptr)
        *top = s->scroll_top;
    if (left != nullptr)
        *left = s->scroll_left;
    return noErr;
}

OSStatus RevealDataBrowserItem(ControlRef browser, DataBrowserItemID item, DataBrowserPropertyID,
                               DataBrowserRevealOptions options) {
    State* s = browser_state(browser, __func__);
    if (s == nullptr)
        return paramErr;
    const long row = row_of(*s, item);
    if (row < 0)
        return errDataBrowserItemNotFound;
    const Rect area = rows_area(browser, *s);
    const long visible = area.bottom - area.top;
    const long top = row * s->row_height, bottom = top + s->row_height;
    long scroll = s->scroll_top;
    if ((options & kDataBrowserRevealAndCenterInView) != 0)
        scroll = top - (visible - s->row_height) / 2;
    else if (top < scroll)
        scroll = top;
    else if (bottom > scroll + visible)
        scroll = bottom - visible;
    s->scroll_top = static_cast<UInt32>(std::max(0L, scroll));
    clamp_scroll(browser, *s);
    hit::changed(browser);
    return noErr;
}

// ---- Cells ------------------------------------------------------------------

OSStatus SetDataBrowserItemDataText(DataBrowserItemDataRef itemData, CFStringRef theData) {
    if (itemData == nullptr)
        return paramErr;
    itemData->text.reset(theData != nullptr ? CFStringCreateCopy(nullptr, theData) : nullptr);
    itemData->has_text = true;
    return noErr;
}

OSStatus GetDataBrowserItemDataText(DataBrowserItemDataRef itemData, CFStringRef* theData) {
    if (itemData == nullptr || theData == nullptr)
        return paramErr;
    if (!itemData->has_text || !itemData->text)
        return errDataBrowserInvalidPropertyData;
    // The caller releases what it gets, as with every Get of a cell's text.
    *theData = static_cast<CFStringRef>(CFRetain(itemData->text.get()));
    return noErr;
}

namespace {

template <class T, T OpaqueDataBrowserItemDataRef::*field, bool OpaqueDataBrowserItemDataRef::*flag>
OSStatus set_field(DataBrowserItemDataRef itemData, T value) {
    if (itemData == nullptr)
        return paramErr;
    itemData->*field = value;
    itemData->*flag = true;
    return noErr;
}

template <class T, T OpaqueDataBrowserItemDataRef::*field, bool OpaqueDataBrowserItemDataRef::*flag>
OSStatus get_field(DataBrowserItemDataRef itemData, T* value) {
    if (itemData == nullptr || value == nullptr)
        return paramErr;
    if (!(itemData->*flag))
        return errDataBrowserInvalidPropertyData;
    *value = itemData->*field;
    return noErr;
}

using Ref = OpaqueDataBrowserItemDataRef;

} // namespace

OSStatus SetDataBrowserItemDataButtonValue(DataBrowserItemDataRef itemData,
                                           ThemeButtonValue theData) {
    return set_field<ThemeButtonValue, &Ref::button, &Ref::has_button>(itemData, theData);
}

OSStatus GetDataBrowserItemDataButtonValue(DataBrowserItemDataRef itemData,
                                           ThemeButtonValue* theData) {
    return get_field<ThemeButtonValue, &Ref::button, &Ref::has_button>(itemData, theData);
}

OSStatus SetDataBrowserItemDataBooleanValue(DataBrowserItemDataRef itemData, Boolean theData) {
    return set_field<Boolean, &Ref::boolean, &Ref::has_boolean>(itemData, theData);
}

OSStatus GetDataBrowserItemDataBooleanValue(DataBrowserItemDataRef itemData, Boolean* theData) {
    return get_field<Boolean, &Ref::boolean, &Ref::has_boolean>(itemData, theData);
}

OSStatus SetDataBrowserItemDataValue(DataBrowserItemDataRef itemData, SInt32 theData) {
    return set_field<SInt32, &Ref::value, &Ref::has_value>(itemData, theData);
}

OSStatus GetDataBrowserItemDataValue(DataBrowserItemDataRef itemData, SInt32* theData) {
    return get_field<SInt32, &Ref::value, &Ref::has_value>(itemData, theData);
}

OSStatus GetDataBrowserItemDataItemID(DataBrowserItemDataRef itemData, DataBrowserItemID* theData) {
    if (itemData == nullptr || theData == nullptr)
        return paramErr;
    *theData = itemData->item;
    return noErr;
}

OSStatus GetDataBrowserItemDataProperty(DataBrowserItemDataRef itemData,
                                        DataBrowserPropertyID* theData) {
    if (itemData == nullptr || theData == nullptr)
        return paramErr;
    *theData = itemData->property;
    return noErr;
}
