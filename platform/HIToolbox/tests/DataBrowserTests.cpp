// The data browser's list view as a caller drives it: columns, items whose cells come from the
// item-data callback, sorting, selection with its notifications, scrolling, the keyboard, the
// dump, a nib's data browser and the pixels of its rows.
#include "NibInternal.h"

#include <CoreServices/MacMemory.h>
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr DataBrowserPropertyID kName = 'name';
constexpr DataBrowserPropertyID kUsed = 'used';

// The caller's model: item ID -> name and check mark; what the browser was told.
struct Model {
    std::map<DataBrowserItemID, std::pair<std::string, bool>> items;
    std::vector<std::pair<DataBrowserItemID, DataBrowserItemNotification>> notices;
    int asked = 0;
    DataBrowserItemID unselectable = kDataBrowserNoItem;
};
Model* model = nullptr;

OSStatus item_data(ControlRef, DataBrowserItemID item, DataBrowserPropertyID property,
                   DataBrowserItemDataRef data, Boolean setValue) {
    if (setValue)
        return errDataBrowserPropertyNotSupported;
    ++model->asked;
    const auto& [name, used] = model->items.at(item);
    switch (property) {
    case kName: {
        CFStringRef text = CFStringCreateWithCString(nullptr, name.c_str(), kCFStringEncodingUTF8);
        SetDataBrowserItemDataText(data, text);
        CFRelease(text);
        return noErr;
    }
    case kUsed:
        return SetDataBrowserItemDataButtonValue(data, used ? kThemeButtonOn : kThemeButtonOff);
    case kDataBrowserItemIsSelectableProperty:
        return SetDataBrowserItemDataBooleanValue(data, item != model->unselectable);
    default:
        return errDataBrowserPropertyNotSupported;
    }
}

void notified(ControlRef, DataBrowserItemID item, DataBrowserItemNotification message) {
    model->notices.emplace_back(item, message);
}

class DataBrowser : public testing::Test {
  protected:
    void SetUp() override {
        model = &data;
        const Rect bounds{100, 100, 300, 400}, r{10, 10, 120, 250};
        ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window), noErr);
        ASSERT_EQ(CreateDataBrowserControl(window, &r, kDataBrowserListView, &browser), noErr);
        DataBrowserCallbacks callbacks;
        InitDataBrowserCallbacks(&callbacks);
        callbacks.u.v1.itemDataCallback = NewDataBrowserItemDataUPP(item_data);
        callbacks.u.v1.itemNotificationCallback = NewDataBrowserItemNotificationUPP(notified);
        ASSERT_EQ(SetDataBrowserCallbacks(browser, &callbacks), noErr);
        column(kName, kDataBrowserTextType, CFSTR("Name"), kDataBrowserListViewAppendColumn);
        column(kUsed, kDataBrowserCheckboxType, CFSTR("Used"), kDataBrowserListViewAppendColumn);
    }
    void TearDown() override {
        DisposeWindow(window);
        model = nullptr;
    }

    OSStatus column(DataBrowserPropertyID id, DataBrowserPropertyType type, CFStringRef title,
                    DataBrowserTableViewColumnIndex at) {
        DataBrowserListViewColumnDesc desc{};
        desc.propertyDesc = {id, type, kDataBrowserDefaultPropertyFlags};
        desc.headerBtnDesc.titleString = title;
        return AddDataBrowserListViewColumn(browser, &desc, at);
    }

    void add(std::initializer_list<std::pair<DataBrowserItemID, const char*>> items) {
        std::vector<DataBrowserItemID> ids;
        for (const auto& [id, name] : items) {
            data.items[id] = {name, id % 2 == 0};
            ids.push_back(id);
        }
        ASSERT_EQ(AddDataBrowserItems(browser, kDataBrowserNoItem, ids.size(), ids.data(),
                                      kDataBrowserItemNoProperty),
                  noErr);
    }

    // The browser's line of the window dump, from " columns=".
    std::string dump() const {
        char* text = nullptr;
        size_t size = 0;
        FILE* out = open_memstream(&text, &size);
        PlatformWriteWindowDump(window, out);
        std::fclose(out);
        std::string all(text, size);
        std::free(text);
        const size_t at = all.find(" columns=");
        return at == std::string::npos ? all : all.substr(at + 1, all.find('\n', at) - at - 1);
    }

    std::vector<DataBrowserItemID> rows() const {
        std::vector<DataBrowserItemID> out;
        DataBrowserItemID id = 0;
        for (UInt32 r = 0; GetDataBrowserTableViewItemID(browser, r, &id) == noErr; ++r)
            out.push_back(id);
        return out;
    }

    Model data;
    WindowRef window = nullptr;
    ControlRef browser = nullptr;
};

TEST_F(DataBrowser, CellsComeFromTheCallbackAndFollowUpdates) {
    add({{7, "Draft"}, {8, "Confidential"}, {9, "Copy"}});
    EXPECT_EQ(dump(), "columns=[\"Name\",\"Used\"] rows=[{\"Draft\",\"off\"},"
                      "{\"Confidential\",\"on\"},{\"Copy\",\"off\"}] selected=[] scroll=0,0");
    ItemCount count = 0;
    GetDataBrowserItemCount(browser, kDataBrowserNoItem, false, kDataBrowserItemAnyState, &count);
    EXPECT_EQ(count, 3u);

    // The model changes; only an update shows it, and only for the property asked for.
    data.items[7] = {"Final", true};
    EXPECT_NE(dump().find("\"Draft\",\"off\""), std::string::npos);
    const DataBrowserItemID seven = 7;
    UpdateDataBrowserItems(browser, kDataBrowserNoItem, 1, &seven, kDataBrowserItemNoProperty,
                           kName);
    EXPECT_NE(dump().find("{\"Final\",\"off\"}"), std::string::npos);
    UpdateDataBrowserItems(browser, kDataBrowserNoItem, 0, nullptr, kDataBrowserItemNoProperty,
                           kDataBrowserItemNoProperty);
    EXPECT_NE(dump().find("{\"Final\",\"on\"}"), std::string::npos);

    // An item is there once; 0 is no item; a removal names what is not there.
    const DataBrowserItemID again[] = {8, kDataBrowserNoItem};
    EXPECT_EQ(AddDataBrowserItems(browser, kDataBrowserNoItem, 2, again, 0),
              errDataBrowserItemNotAdded);
    EXPECT_EQ(rows(), (std::vector<DataBrowserItemID>{7, 8, 9}));
    const DataBrowserItemID gone[] = {8, 42};
    EXPECT_EQ(RemoveDataBrowserItems(browser, kDataBrowserNoItem, 2, gone, 0),
              errDataBrowserItemNotFound);
    EXPECT_EQ(rows(), (std::vector<DataBrowserItemID>{7, 9}));
    RemoveDataBrowserItems(browser, kDataBrowserNoItem, 0, nullptr, 0);
    EXPECT_TRUE(rows().empty());
    const std::vector<std::pair<DataBrowserItemID, DataBrowserItemNotification>> expected = {
        {7, kDataBrowserItemAdded},   {8, kDataBrowserItemAdded},   {9, kDataBrowserItemAdded},
        {8, kDataBrowserItemRemoved}, {7, kDataBrowserItemRemoved}, {9, kDataBrowserItemRemoved}};
    EXPECT_EQ(data.notices, expected);
}

TEST_F(DataBrowser, ColumnsAreAddedWhereAskedAndRowsSortByOne) {
    add({{1, "beta"}, {2, "Alpha"}, {3, "gamma"}});
    EXPECT_EQ(column(kName, kDataBrowserTextType, CFSTR("Again"), 0), paramErr);
    EXPECT_EQ(column('size', kDataBrowserTextType, CFSTR("Size"), 0), noErr);
    UInt32 columns = 0;
    GetDataBrowserTableViewColumnCount(browser, &columns);
    EXPECT_EQ(columns, 3u);
    EXPECT_EQ(dump().rfind("columns=[\"Size\",\"Name\",\"Used\"]", 0), 0u) << dump();
    EXPECT_EQ(RemoveDataBrowserTableViewColumn(browser, 'size'), noErr);
    EXPECT_EQ(RemoveDataBrowserTableViewColumn(browser, 'size'), errDataBrowserPropertyNotFound);

    SetDataBrowserSortProperty(browser, kName);
    EXPECT_EQ(rows(), (std::vector<DataBrowserItemID>{2, 1, 3}));
    SetDataBrowserSortOrder(browser, kDataBrowserOrderDecreasing);
    EXPECT_EQ(rows(), (std::vector<DataBrowserItemID>{3, 1, 2}));
    add({{4, "delta"}});
    EXPECT_EQ(rows(), (std::vector<DataBrowserItemID>{3, 4, 1, 2}));
}

TEST_F(DataBrowser, SelectionChangesAreNotifiedAndOnlyOneCanBeTheRule) {
    add({{1, "a"}, {2, "b"}, {3, "c"}});
    data.notices.clear();
    const DataBrowserItemID two_three[] = {2, 3};
    SetDataBrowserSelectedItems(browser, 2, two_three, kDataBrowserItemsAssign);
    DataBrowserItemID first = 0, last = 0;
    GetDataBrowserSelectionAnchor(browser, &first, &last);
    EXPECT_EQ(std::make_pair(first, last),
              std::make_pair(DataBrowserItemID{2}, DataBrowserItemID{3}));
    const DataBrowserItemID one_two[] = {1, 2};
    SetDataBrowserSelectedItems(browser, 2, one_two, kDataBrowserItemsToggle);
    EXPECT_TRUE(IsDataBrowserItemSelected(browser, 1));
    EXPECT_FALSE(IsDataBrowserItemSelected(browser, 2));
    ItemCount selected = 0;
    GetDataBrowserItemCount(browser, kDataBrowserNoItem, false, kDataBrowserItemIsSelected,
                            &selected);
    EXPECT_EQ(selected, 2u);
    const std::vector<std::pair<DataBrowserItemID, DataBrowserItemNotification>> expected = {
        {2, kDataBrowserItemSelected},        {3, kDataBrowserItemSelected},
        {0, kDataBrowserSelectionSetChanged}, {1, kDataBrowserItemSelected},
        {2, kDataBrowserItemDeselected},      {0, kDataBrowserSelectionSetChanged}};
    EXPECT_EQ(data.notices, expected);

    Handle items = NewHandle(0);
    GetDataBrowserItems(browser, kDataBrowserNoItem, false, kDataBrowserItemIsSelected, items);
    ASSERT_EQ(GetHandleSize(items), static_cast<Size>(2 * sizeof(DataBrowserItemID)));
    EXPECT_EQ(reinterpret_cast<DataBrowserItemID*>(*items)[1], 3u);
    DisposeHandle(items);

    SetDataBrowserSelectionFlags(browser, kDataBrowserSelectOnlyOne);
    SetDataBrowserSelectedItems(browser, 2, one_two, kDataBrowserItemsAdd);
    EXPECT_EQ(dump().find("selected=[2]") != std::string::npos, true) << dump();
}

TEST_F(DataBrowser, AUserChoosesRowsByPointerAndKeyboard) {
    add({{1, "a"}, {2, "b"}, {3, "c"}});
    data.unselectable = 3;
    EXPECT_EQ(PlatformChoosePopupItem(browser, 2), noErr);
    EXPECT_TRUE(IsDataBrowserItemSelected(browser, 2));
    EXPECT_EQ(PlatformChoosePopupItem(browser, 3), errControlHiddenOrDisabled);
    EXPECT_EQ(PlatformChoosePopupItem(browser, 4), menuItemNotFoundErr);

    SetKeyboardFocus(window, browser, kControlFocusNextPart);
    PlatformTypeKey(window, kUpArrowCharCode, 0);
    EXPECT_TRUE(IsDataBrowserItemSelected(browser, 1));
    EXPECT_FALSE(IsDataBrowserItemSelected(browser, 2));
    PlatformTypeKey(window, kEndCharCode, 0);
    EXPECT_EQ(dump().find("selected=[3]") != std::string::npos, true) << dump();
}

TEST_F(DataBrowser, ScrollingKeepsWithinTheRowsAndRevealsAnItem) {
    for (DataBrowserItemID id = 1; id <= 20; ++id)
        add({{id, "row"}});
    // 110 pixels high: 1 + 18 of headers, 90 of rows; 20 rows of 18 need 360.
    UInt32 top = 0, left = 0;
    SetDataBrowserScrollPosition(browser, 1000, 50);
    GetDataBrowserScrollPosition(browser, &top, &left);
    EXPECT_EQ(top, 360u - 90u);
    EXPECT_EQ(left, 0u); // the columns fit
    SetDataBrowserScrollPosition(browser, 0, 0);
    RevealDataBrowserItem(browser, 10, kDataBrowserItemNoProperty, kDataBrowserRevealOnly);
    GetDataBrowserScrollPosition(browser, &top, &left);
    EXPECT_EQ(top, 10u * 18u - 90u);
    RevealDataBrowserItem(browser, 2, kDataBrowserItemNoProperty, kDataBrowserRevealOnly);
    GetDataBrowserScrollPosition(browser, &top, &left);
    EXPECT_EQ(top, 18u);
    EXPECT_EQ(RevealDataBrowserItem(browser, 99, 0, 0), errDataBrowserItemNotFound);
}

TEST_F(DataBrowser, AScriptChoosesARowByItsTextAndMovesWithTheKeys) {
    add({{1, "Draft"}, {2, "Copy"}, {3, "Final"}});
    const ControlID id{'TVKa', 70};
    SetControlID(browser, &id);
    ShowWindow(window);
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    const std::filesystem::path dir =
        std::filesystem::path(build ? build : "/tmp") / "test-scripts";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "browser.script") << "# synthetic test data\n"
                                             "choose TVKa:70 \"Copy\"\n"
                                             "key down\n"
                                             "choose TVKa:70 \"Nothing\"\n";
    PlatformEventSource source{};
    ASSERT_EQ(
        PlatformCreateScriptEventSource((dir / "browser.script").c_str(), dir.c_str(), &source),
        noErr);
    PlatformSetEventSource(&source);
    testing::internal::CaptureStderr();
    EXPECT_EQ(PlatformRunEventSource(), menuItemNotFoundErr);
    const std::string message = testing::internal::GetCapturedStderr();
    PlatformSetEventSource(nullptr);
    EXPECT_TRUE(IsDataBrowserItemSelected(browser, 3));
    EXPECT_FALSE(IsDataBrowserItemSelected(browser, 2));
    EXPECT_NE(message.find("browser.script:4: no item \"Nothing\""), std::string::npos) << message;
}

UInt32 pixel(WindowRef window, int x, int y) {
    UInt32 argb = 0;
    EXPECT_EQ(PlatformCopyWindowPixel(window, x, y, &argb), noErr);
    return argb;
}

TEST_F(DataBrowser, RowsAreDrawnStripedWithTheSelectionHighlighted) {
    add({{1, "a"}, {2, "b"}, {3, "c"}});
    const DataBrowserItemID third = 3;
    SetDataBrowserSelectedItems(browser, 1, &third, kDataBrowserItemsAssign);
    // Rows start below the frame and the headers, at y 29; sample their right-hand ends.
    const int x = 230;
    EXPECT_EQ(pixel(window, x, 29 + 9), 0xFFFFFFFFu);      // row 1: the well
    EXPECT_EQ(pixel(window, x, 29 + 18 + 9), 0xFFF3F5FAu); // row 2: a stripe
    // The window was never shown, so it is inactive: the selection is grey, not the accent.
    EXPECT_EQ(pixel(window, x, 29 + 36 + 9), 0xFFD9D9D9u);
    // The header row shades from light at its top to darker at its foot.
    EXPECT_GT(pixel(window, x, 12) & 0xFF, pixel(window, x, 26) & 0xFF);
    EXPECT_LT(pixel(window, x, 26) & 0xFF, 0xFFu);
}

const char kNib[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- synthetic test data -->
<nib version="1">
  <window name="List" title="Watermarks" class="document" bounds="100,100,300,400">
    <control kind="data-browser" id="TVKa:70" bounds="10,10,150,290" selection="single">
      <item title="Name" command="name"/>
      <item title="File"/>
    </control>
  </window>
  <window name="Bad" title="Bad" class="document" bounds="100,100,300,400">
    <control kind="data-browser" bounds="10,10,150,290" selection="some"/>
  </window>
</nib>
)";

TEST(DataBrowserNib, ANibDescribesItsColumnsAndSelection) {
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    const std::filesystem::path dir = std::filesystem::path(build ? build : "/tmp") / "test-nibs";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "browser.nib") << kNib;
    IBNibRef nib = nullptr;
    ASSERT_EQ(hit::nib::open_nib_file((dir / "browser.nib").string(), &nib), noErr);
    WindowRef window = nullptr;
    ASSERT_EQ(CreateWindowFromNib(nib, CFSTR("List"), &window), noErr);
    const ControlID id{'TVKa', 70};
    ControlRef browser = nullptr;
    ASSERT_EQ(GetControlByID(window, &id, &browser), noErr);
    UInt16 width = 0;
    EXPECT_EQ(GetDataBrowserTableViewNamedColumnWidth(browser, 'name', &width), noErr);
    EXPECT_EQ(GetDataBrowserTableViewNamedColumnWidth(browser, 1024, &width), noErr);
    DataBrowserSelectionFlags flags = 0;
    GetDataBrowserSelectionFlags(browser, &flags);
    EXPECT_EQ(flags, static_cast<DataBrowserSelectionFlags>(kDataBrowserSelectOnlyOne));
    DisposeWindow(window);

    testing::internal::CaptureStderr();
    EXPECT_EQ(CreateWindowFromNib(nib, CFSTR("Bad"), &window), errCorruptWindowDescription);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("browser.nib:11: selection \"some\""), std::string::npos) << message;
    DisposeNibReference(nib);
}

} // namespace
