// The data browser's state, shared by its control kind (ControlKind_DataBrowser.cpp), its item
// management (DataBrowser_Items.cpp) and the theme's painter of it (Theme_DataBrowser.cpp).
#ifndef HITOOLBOX_SRC_DATABROWSER_H
#define HITOOLBOX_SRC_DATABROWSER_H

#include <HIToolbox/HIDataBrowser.h>

#include <CoreFoundation/CFHolder.h>
#include "ControlKinds.h"
#include "DrawContext.h"

#include <string>
#include <vector>

namespace hit::databrowser {

struct Column {
    DataBrowserPropertyDesc desc{};
    cf::Holder<CFStringRef> title;
    UInt16 width = 100;
};

// What the item-data callback last said about one cell.
struct Cell {
    DataBrowserPropertyID property = 0;
    cf::Holder<CFStringRef> text;
    ThemeButtonValue button = kThemeButtonOff;
};

struct Row {
    DataBrowserItemID id = kDataBrowserNoItem;
    bool selected = false;
    std::vector<Cell> cells; // one per column that has been asked for

    const Cell* cell(DataBrowserPropertyID property) const;
};

struct State : KindState {
    std::vector<Column> columns; // in display order
    std::vector<Row> rows;       // in display order
    DataBrowserCallbacks callbacks{};
    DataBrowserSelectionFlags selection_flags = 0;
    DataBrowserPropertyID sort_property = kDataBrowserItemNoProperty;
    DataBrowserSortOrder sort_order = kDataBrowserOrderIncreasing;
    UInt16 header_height = 18;
    UInt16 row_height = 18;
    UInt32 scroll_top = 0;
    UInt32 scroll_left = 0;
    bool horizontal_bar = false;
    bool vertical_bar = true;
};

// The browser's state; nullptr (with a line on standard error naming `function`) for anything
// that is not a live data browser.
State* browser_state(ControlRef control, const char* function);

// The kind's state of a control known to be a data browser.
State& state_of(ControlRef control);

// The row of the item, or -1.
long row_of(const State& state, DataBrowserItemID item);

// Asks the item-data callback for the row's cells of `property` (kDataBrowserItemNoProperty:
// every column).
void refresh_cells(ControlRef browser, Row& row, DataBrowserPropertyID property);

// Puts the rows in the order the sort property and order say (stable; nothing without one).
void sort_rows(ControlRef browser);

// Selects exactly the row (0-based) and shows it, as a click on it does; notifies the changes.
void select_only_row(ControlRef browser, size_t row);

// The rectangle the rows are drawn in (inside the frame, below the headers), window-local.
Rect rows_area(ControlRef control, const State& state);

// Clamps the scroll position to what the rows and columns need.
void clamp_scroll(ControlRef control, State& state);

// The text of a cell as the dump and scripts see it: text, or "on"/"off"/"mixed".
std::string cell_text(const Column& column, const Row& row);

} // namespace hit::databrowser

// One cell being asked for or told about, for the length of one item-data callback.
struct OpaqueDataBrowserItemDataRef {
    DataBrowserItemID item = kDataBrowserNoItem;
    DataBrowserPropertyID property = kDataBrowserItemNoProperty;
    cf::Holder<CFStringRef> text;
    bool has_text = false;
    ThemeButtonValue button = kThemeButtonOff;
    bool has_button = false;
    Boolean boolean = false;
    bool has_boolean = false;
    SInt32 value = 0;
    bool has_value = false;
};

namespace hit::theme {

void draw_data_browser(ControlRef control, DrawContext& context);

} // namespace hit::theme

#endif // HITOOLBOX_SRC_DATABROWSER_H
