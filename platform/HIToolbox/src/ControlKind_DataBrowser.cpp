// The data browser control in its list view: creation, callbacks, columns, and what a user does
// to it (choosing a row, the arrow keys) and what a dump shows of it. Items, selection, sorting
// and scrolling are in DataBrowser_Items.cpp; the look is the theme's (Theme_DataBrowser.cpp).
#include "DataBrowser.h"
#include "TextInternal.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <HIToolbox/CarbonEvents.h>
#include <HIToolbox/Menus.h>

#include <CoreFoundation/CFString.h>

#include <cstdio>

namespace hit::databrowser {
namespace {

std::unique_ptr<KindState> make_state() {
    auto state = std::make_unique<State>();
    InitDataBrowserCallbacks(&state->callbacks);
    return state;
}

// Choosing row N (from 1) selects it alone, as clicking on it does.
ControlPartCode track(ControlRef control, MenuItemIndex choice) {
    if (choice != 0)
        select_only_row(control, choice - 1u);
    return kControlDataBrowserPart;
}

bool row_is_selectable(ControlRef control, const Row& row);

OSStatus check_choice(ControlRef control, MenuItemIndex choice) {
    const State& state = state_of(control);
    if (choice < 1 || choice > state.rows.size())
        return menuItemNotFoundErr;
    return row_is_selectable(control, state.rows[choice - 1u])
               ? OSStatus{noErr}
               : OSStatus{errControlHiddenOrDisabled};
}

// The first row (from 1) whose cells show the text, in any column; 0 when none does.
MenuItemIndex find_choice(ControlRef control, const std::string& text) {
    const State& state = state_of(control);
    for (size_t r = 0; r < state.rows.size() && r < 0xFFFF; ++r)
        for (const Column& column : state.columns)
            if (cell_text(column, state.rows[r]) == text)
                return static_cast<MenuItemIndex>(r + 1);
    return 0;
}

char mac_char_of(EventRef event) {
    EventRef raw = nullptr;
    char mac_char = 0;
    if (GetEventParameter(event, kEventParamTextInputSendKeyboardEvent, typeEventRef, nullptr,
                          sizeof(raw), nullptr, &raw) == noErr)
        GetEventParameter(raw, kEventParamKeyMacCharCodes, typeChar, nullptr, 1, nullptr,
                          &mac_char);
    return mac_char;
}

// The arrow keys move the selection a row (Home and End to the ends); other keys go on.
OSStatus text_input(ControlRef control, EventRef event) {
    const State& state = state_of(control);
    if (state.rows.empty())
        return eventNotHandledErr;
    long selected = -1;
    for (size_t r = 0; r < state.rows.size() && selected < 0; ++r)
        if (state.rows[r].selected)
            selected = static_cast<long>(r);
    const long last = static_cast<long>(state.rows.size()) - 1;
    long target;
    switch (mac_char_of(event)) {
    case kUpArrowCharCode:
        target = selected < 0 ? last : std::max(0L, selected - 1);
        break;
    case kDownArrowCharCode:
        target = selected < 0 ? 0 : std::min(last, selected + 1);
        break;
    case kHomeCharCode:
        target = 0;
        break;
    case kEndCharCode:
        target = last;
        break;
    default:
        return eventNotHandledErr;
    }
    select_only_row(control, static_cast<size_t>(target));
    return noErr;
}

// " columns=[...] rows=[{...},...] selected=[2] scroll=0,0": what the browser shows.
void dump_fields(ControlRef control, std::string& line) {
    const State& state = state_of(control);
    line += " columns=[";
    for (size_t c = 0; c < state.columns.size(); ++c)
        line += (c > 0 ? "," : "") + quoted(utf8(state.columns[c].title.get()));
    line += "] rows=[";
    std::string selected;
    for (size_t r = 0; r < state.rows.size(); ++r) {
        line += r > 0 ? ",{" : "{";
        for (size_t c = 0; c < state.columns.size(); ++c)
            line += (c > 0 ? "," : "") + quoted(cell_text(state.columns[c], state.rows[r]));
        line += "}";
        if (state.rows[r].selected)
            selected += (selected.empty() ? "" : ",") + std::to_string(r + 1);
    }
    line += "] selected=[" + selected + "]";
    line += " scroll=" + std::to_string(state.scroll_top) + "," + std::to_string(state.scroll_left);
}

bool row_is_selectable(ControlRef control, const Row& row) {
    DataBrowserItemDataUPP callback = state_of(control).callbacks.u.v1.itemDataCallback;
    if (callback == nullptr)
        return true;
    OpaqueDataBrowserItemDataRef cell;
    cell.item = row.id;
    cell.property = kDataBrowserItemIsSelectableProperty;
    if (callback(control, row.id, cell.property, &cell, false) != noErr || !cell.has_boolean)
        return true;
    return cell.boolean;
}

const ControlKindClass& data_browser_kind() {
    static const ControlKindClass kind = {
        .kind = {kControlKindSignatureApple, kControlKindDataBrowser},
        .name = "data browser",
        .features = kControlSupportsFocus | kControlGetsFocusOnClick | kControlSupportsDataAccess,
        .tags = nullptr,
        .tag_count = 0,
        .make_state = make_state,
        .copy_text = nullptr,
        .track = track,
        .check_choice = check_choice,
        .click_part = kControlDataBrowserPart,
        .focus_part = kControlDataBrowserPart,
        .text_input = text_input,
        .dump_fields = dump_fields,
        .draw = hit::theme::draw_data_browser,
        .find_choice = find_choice,
    };
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

Column* find_column(State& state, DataBrowserTableViewColumnID property) {
    for (Column& column : state.columns)
        if (column.desc.propertyID == property)
            return &column;
    return nullptr;
}

} // namespace

State* browser_state(ControlRef control, const char* function) {
    OpaqueControlRef* c = live_control(control, function);
    if (c == nullptr)
        return nullptr;
    if (c->kind_class != &data_browser_kind()) {
        cf::report(function, "the control is a %s, not a data browser", c->kind_class->name);
        return nullptr;
    }
    return kind_state<State>(c);
}

State& state_of(ControlRef control) {
    return *kind_state<State>(control);
}

std::string cell_text(const Column& column, const Row& row) {
    const Cell* cell = row.cell(column.desc.propertyID);
    if (column.desc.propertyType == kDataBrowserCheckboxType) {
        const ThemeButtonValue value =
            cell != nullptr ? cell->button : ThemeButtonValue{kThemeButtonOff};
        return value == kThemeButtonOn ? "on" : value == kThemeButtonMixed ? "mixed" : "off";
    }
    return cell != nullptr ? utf8(cell->text.get()) : std::string();
}

} // namespace hit::databrowser

using namespace hit::databrowser;

OSStatus CreateDataBrowserControl(WindowRef window, const Rect* boundsRect,
                                  DataBrowserViewStyle style, ControlRef* outControl) {
    if (outControl == nullptr || boundsRect == nullptr || style != kDataBrowserListView)
        return paramErr;
    return hit::create_control(window, boundsRect, data_browser_kind(),
                               data_browser_kind().features, outControl);
}

OSStatus GetDataBrowserViewStyle(ControlRef browser, DataBrowserViewStyle* style) {
    if (browser_state(browser, __func__) == nullptr || style == nullptr)
        return paramErr;
    *style = kDataBrowserListView;
    return noErr;
}

OSStatus SetDataBrowserViewStyle(ControlRef browser, DataBrowserViewStyle style) {
    if (browser_state(browser, __func__) == nullptr || style != kDataBrowserListView)
        return paramErr;
    return noErr;
}

OSStatus InitDataBrowserCallbacks(DataBrowserCallbacks* callbacks) {
    if (callbacks == nullptr)
        return paramErr;
    *callbacks = DataBrowserCallbacks{};
    callbacks->version = kDataBrowserLatestCallbacks;
    return noErr;
}

OSStatus SetDataBrowserCallbacks(ControlRef browser, const DataBrowserCallbacks* callbacks) {
    State* state = browser_state(browser, __func__);
    if (state == nullptr || callbacks == nullptr ||
        callbacks->version != kDataBrowserLatestCallbacks)
        return paramErr;
    state->callbacks = *callbacks;
    return noErr;
}

OSStatus GetDataBrowserCallbacks(ControlRef browser, DataBrowserCallbacks* callbacks) {
    State* state = browser_state(browser, __func__);
    if (state == nullptr || callbacks == nullptr)
        return paramErr;
    *callbacks = state->callbacks;
    return noErr;
}

OSStatus AddDataBrowserListViewColumn(ControlRef browser, DataBrowserListViewColumnDesc* desc,
                                      DataBrowserTableViewColumnIndex position) {
    State* state = browser_state(browser, __func__);
    if (state == nullptr || desc == nullptr ||
        find_column(*state, desc->propertyDesc.propertyID) != nullptr)
        return paramErr;
    Column column;
    column.desc = desc->propertyDesc;
    if (CFStringRef title = desc->headerBtnDesc.titleString)
        column.title.reset(CFStringCreateCopy(nullptr, title));
    const UInt16 minimum = desc->headerBtnDesc.minimumWidth;
    const UInt16 maximum = desc->headerBtnDesc.maximumWidth;
    column.width = std::max<UInt16>(minimum, maximum > 0 ? std::min<UInt16>(maximum, 100) : 100);
    const size_t at = std::min<size_t>(position, state->columns.size());
    state->columns.insert(state->columns.begin() + static_cast<long>(at), std::move(column));
    for (Row& row : state->rows)
        refresh_cells(browser, row, desc->propertyDesc.propertyID);
    hit::changed(browser);
    return noErr;
}

OSStatus RemoveDataBrowserTableViewColumn(ControlRef browser, DataBrowserTableViewColumnID column) {
    State* state = browser_state(browser, __func__);
    if (state == nullptr)
        return paramErr;
    Column* found = find_column(*state, column);
    if (found == nullptr)
        return errDataBrowserPropertyNotFound;
    state->columns.erase(state->columns.begin() + (found - state->columns.data()));
    clamp_scroll(browser, *state);
    hit::changed(browser);
    return noErr;
}

OSStatus GetDataBrowserTableViewColumnCount(ControlRef browser, UInt32* numColumns) {
    State* state = browser_state(browser, __func__);
    if (state == nullptr || numColumns == nullptr)
        return paramErr;
    *numColumns = static_cast<UInt32>(state->columns.size());
    return noErr;
}

OSStatus SetDataBrowserTableViewNamedColumnWidth(ControlRef browser,
                                                 DataBrowserTableViewColumnID column,
                                                 UInt16 width) {
    State* state = browser_state(browser, __func__);
    Column* found = state != nullptr ? find_column(*state, column) : nullptr;
    if (found == nullptr)
        return state == nullptr ? OSStatus{paramErr} : OSStatus{errDataBrowserPropertyNotFound};
    found->width = width;
    clamp_scroll(browser, *state);
    hit::changed(browser);
    return noErr;
}

OSStatus GetDataBrowserTableViewNamedColumnWidth(ControlRef browser,
                                                 DataBrowserTableViewColumnID column,
                                                 UInt16* width) {
    State* state = browser_state(browser, __func__);
    Column* found = state != nullptr ? find_column(*state, column) : nullptr;
    if (found == nullptr || width == nullptr)
        return state == nullptr || width == nullptr ? OSStatus{paramErr}
                                                    : OSStatus{errDataBrowserPropertyNotFound};
    *width = found->width;
    return noErr;
}

namespace {

// The setter and getter of one of the state's sizes.
template <class T, T State::*member>
OSStatus set_size(ControlRef browser, T value, const char* function) {
    State* state = browser_state(browser, function);
    if (state == nullptr)
        return paramErr;
    state->*member = value;
    clamp_scroll(browser, *state);
    hit::changed(browser);
    return noErr;
}

template <class T, T State::*member>
OSStatus get_size(ControlRef browser, T* value, const char* function) {
    State* state = browser_state(browser, function);
    if (state == nullptr || value == nullptr)
        return paramErr;
    *value = state->*member;
    return noErr;
}

} // namespace

OSStatus SetDataBrowserListViewHeaderBtnHeight(ControlRef browser, UInt16 height) {
    return set_size<UInt16, &State::header_height>(browser, height, __func__);
}

OSStatus GetDataBrowserListViewHeaderBtnHeight(ControlRef browser, UInt16* height) {
    return get_size<UInt16, &State::header_height>(browser, height, __func__);
}

OSStatus SetDataBrowserTableViewRowHeight(ControlRef browser, UInt16 height) {
    return height == 0 ? paramErr : set_size<UInt16, &State::row_height>(browser, height, __func__);
}

OSStatus GetDataBrowserTableViewRowHeight(ControlRef browser, UInt16* height) {
    return get_size<UInt16, &State::row_height>(browser, height, __func__);
}

OSStatus SetDataBrowserHasScrollBars(ControlRef browser, Boolean horiz, Boolean vert) {
    State* state = browser_state(browser, __func__);
    if (state == nullptr)
        return paramErr;
    state->horizontal_bar = horiz;
    state->vertical_bar = vert;
    hit::changed(browser);
    return noErr;
}

OSStatus GetDataBrowserHasScrollBars(ControlRef browser, Boolean* horiz, Boolean* vert) {
    State* state = browser_state(browser, __func__);
    if (state == nullptr)
        return paramErr;
    if (horiz != nullptr)
        *horiz = state->horizontal_bar;
    if (vert != nullptr)
        *vert = state->vertical_bar;
    return noErr;
}

DataBrowserItemDataUPP NewDataBrowserItemDataUPP(DataBrowserItemDataProcPtr routine) {
    return routine;
}
void DisposeDataBrowserItemDataUPP(DataBrowserItemDataUPP) {}
DataBrowserItemCompareUPP NewDataBrowserItemCompareUPP(DataBrowserItemCompareProcPtr routine) {
    return routine;
}
void DisposeDataBrowserItemCompareUPP(DataBrowserItemCompareUPP) {}
DataBrowserItemNotificationUPP
NewDataBrowserItemNotificationUPP(DataBrowserItemNotificationProcPtr routine) {
    return routine;
}
void DisposeDataBrowserItemNotificationUPP(DataBrowserItemNotificationUPP) {}
