// The nib kind "data-browser": a list view whose <item> entries are its text columns, each
// titled by the item and named by its command (four characters) as the column's property ID
// (1024 and on when it has none). Its attribute "selection" is "single" or "multiple"
// (default).
#include "NibInternal.h"
#include "TextInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/HIDataBrowser.h>

namespace hit::nib {

const char* const kDataBrowserAttributes[] = {"selection", nullptr};

namespace {

bool fail(BuildContext& context, int line, const std::string& message) {
    context.error = located(context.document.file, line, message);
    return false;
}

bool add_column(ControlRef browser, const ItemNode& item, DataBrowserPropertyID property,
                BuildContext& context) {
    cf::Holder<CFStringRef> title(create_utf8_string(item.title));
    if (!title)
        return fail(context, item.line, "the title is not UTF-8 text");
    DataBrowserListViewColumnDesc column{};
    column.propertyDesc = {property, kDataBrowserTextType, kDataBrowserDefaultPropertyFlags};
    column.headerBtnDesc.version = kDataBrowserListViewLatestHeaderDesc;
    column.headerBtnDesc.titleString = title.get();
    if (AddDataBrowserListViewColumn(browser, &column, kDataBrowserListViewAppendColumn) != noErr)
        return fail(context, item.line, "a second column with the same command");
    return true;
}

} // namespace

OSStatus build_data_browser(WindowRef window, const ControlNode& node, BuildContext& context,
                            ControlRef* out) {
    DataBrowserSelectionFlags flags = 0;
    if (const Attribute* selection = node.find_extra("selection")) {
        if (selection->value != "single" && selection->value != "multiple") {
            fail(context, selection->line,
                 "selection \"" + selection->value + "\": expected single or multiple");
            return errCorruptWindowDescription;
        }
        flags = selection->value == "single" ? kDataBrowserSelectOnlyOne : 0;
    }
    OSStatus status = CreateDataBrowserControl(window, &node.bounds, kDataBrowserListView, out);
    if (status != noErr)
        return status;
    SetDataBrowserSelectionFlags(*out, flags);
    DataBrowserPropertyID next = 1024;
    for (const ItemNode& item : node.items) {
        if (!add_column(*out, item, item.command != 0 ? item.command : next++, context)) {
            DisposeControl(*out);
            *out = nullptr;
            return errCorruptWindowDescription;
        }
    }
    return noErr;
}

} // namespace hit::nib
