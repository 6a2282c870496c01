// The tab control: a row of named tabs over an area that embeds the
// controls of the pages. Its value is the selected tab, from 1; a click that
// picks an enabled tab selects it. The tags for one tab take its number as
// their part code.
#include "ControlBehaviour.h"
#include "ControlKinds.h"
#include "Drawing.h"
#include "TextInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/Menus.h>

#include <CoreFoundation/CFString.h>

#include <cstring>
#include <vector>

namespace {

struct Tab {
    std::u16string name;
    Boolean enabled = true;
    ControlFontStyleRec style{};
};

struct TabsState : hit::KindState {
    std::vector<Tab> tabs;
    ControlTabSize size = kControlTabSizeLarge;
    ControlTabDirection direction = kControlTabDirectionNorth;
};

TabsState& state_of(ControlRef control) {
    return *hit::kind_state<TabsState>(control);
}

Tab* tab_of(ControlRef control, ControlPartCode part) {
    auto& tabs = state_of(control).tabs;
    return part >= 1 && static_cast<size_t>(part) <= tabs.size() ? &tabs[part - 1] : nullptr;
}

template <class T, T Tab::*member> struct TabFieldTag {
    static OSStatus get(ControlRef control, ControlPartCode part, Size size, void* buffer,
                        Size* actual) {
        Tab* tab = tab_of(control, part);
        return tab != nullptr ? hit::get_fixed(tab->*member, size, buffer, actual)
                              : errInvalidPartCode;
    }
    static OSStatus set(ControlRef control, ControlPartCode part, Size size, const void* data) {
        Tab* tab = tab_of(control, part);
        if (tab == nullptr)
            return errInvalidPartCode;
        OSStatus status = hit::set_fixed(tab->*member, size, data);
        if (status == noErr)
            hit::changed(control);
        return status;
    }
    static constexpr hit::DataTag entry(ResType tag) { return {tag, &get, &set}; }
};

// The caller names the record's version in its first field, for a get too.
SInt16 version_of(Size size, const void* data) {
    SInt16 version = -1;
    if (data != nullptr && size >= static_cast<Size>(sizeof(version)))
        std::memcpy(&version, data, sizeof(version));
    return version;
}

OSStatus get_info(ControlRef control, ControlPartCode part, Size size, void* buffer, Size* actual) {
    Tab* tab = tab_of(control, part);
    if (tab == nullptr)
        return errInvalidPartCode;
    if (version_of(size, buffer) == kControlTabInfoVersionZero) {
        ControlTabInfoRec info{kControlTabInfoVersionZero, 0, {0}};
        cf::Holder<CFStringRef> name(hit::create_string(tab->name));
        if (name && !CFStringGetPascalString(name.get(), info.name, sizeof(info.name),
                                             kCFStringEncodingMacRoman))
            info.name[0] = 0; // a name Mac Roman cannot hold comes out empty
        return hit::get_fixed(info, size, buffer, actual);
    }
    if (buffer != nullptr && size >= static_cast<Size>(sizeof(ControlTabInfoRecV1))) {
        ControlTabInfoRecV1 info{kControlTabInfoVersionOne, 0, hit::create_string(tab->name)};
        return hit::get_fixed(info, size, buffer, actual);
    }
    if (actual != nullptr)
        *actual = sizeof(ControlTabInfoRecV1);
    return buffer == nullptr ? OSStatus{noErr} : OSStatus{errDataSizeMismatch};
}

OSStatus set_info(ControlRef control, ControlPartCode part, Size size, const void* data) {
    Tab* tab = tab_of(control, part);
    if (tab == nullptr)
        return errInvalidPartCode;
    const SInt16 version = version_of(size, data);
    if (version == kControlTabInfoVersionZero) {
        ControlTabInfoRec info{};
        OSStatus status = hit::set_fixed(info, size, data);
        if (status != noErr)
            return status;
        cf::Holder<CFStringRef> name(
            CFStringCreateWithPascalString(nullptr, info.name, kCFStringEncodingMacRoman));
        tab->name = hit::units_of(name.get());
    } else if (version == kControlTabInfoVersionOne) {
        ControlTabInfoRecV1 info{};
        OSStatus status = hit::set_fixed(info, size, data);
        if (status != noErr)
            return status;
        if (info.name != nullptr && !cf::check_type(info.name, CFStringGetTypeID(), __func__))
            return paramErr;
        tab->name = hit::units_of(info.name);
    } else {
        return data == nullptr ? OSStatus{paramErr} : OSStatus{errDataSizeMismatch};
    }
    hit::changed(control);
    return noErr;
}

const hit::DataTag kTags[] = {
    TabFieldTag<Boolean, &Tab::enabled>::entry(kControlTabEnabledFlagTag),
    TabFieldTag<ControlFontStyleRec, &Tab::style>::entry(kControlTabFontStyleTag),
    {kControlTabInfoTag, get_info, set_info},
};

std::unique_ptr<hit::KindState> make_state() {
    return std::make_unique<TabsState>();
}

CFStringRef copy_text(ControlRef control) {
    Tab* tab = tab_of(control, static_cast<ControlPartCode>(GetControl32BitValue(control)));
    return hit::create_string(tab != nullptr ? tab->name : std::u16string());
}

OSStatus check_choice(ControlRef control, MenuItemIndex choice) {
    Tab* tab = choice <= 0x7FFF ? tab_of(control, static_cast<ControlPartCode>(choice)) : nullptr;
    if (tab == nullptr)
        return menuItemNotFoundErr;
    return tab->enabled ? OSStatus{noErr} : OSStatus{errControlHiddenOrDisabled};
}

// A tab's part code is its number.
ControlPartCode track(ControlRef control, MenuItemIndex choice) {
    if (choice == 0 || check_choice(control, choice) != noErr)
        return kControlNoPart;
    SetControl32BitValue(control, choice);
    hit::changed(control);
    return static_cast<ControlPartCode>(choice);
}

} // namespace

namespace hit {

const ControlKindClass& tabs_kind() {
    static const ControlKindClass kind = {
        .kind = {kControlKindSignatureApple, kControlKindTabs},
        .name = "tabs",
        .features = kControlSupportsDataAccess | kControlSupportsEmbedding,
        .tags = kTags,
        .tag_count = sizeof(kTags) / sizeof(kTags[0]),
        .make_state = make_state,
        .copy_text = copy_text,
        .track = track,
        .check_choice = check_choice,
        .draw = hit::theme::draw_tabs,
        .best_rect = hit::theme::best_tabs,
    };
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

} // namespace hit

OSStatus CreateTabsControl(WindowRef window, const Rect* boundsRect, ControlTabSize size,
                           ControlTabDirection direction, UInt16 numTabs,
                           const ControlTabEntry* tabArray, ControlRef* outControl) {
    if (numTabs > 0 && tabArray == nullptr)
        return paramErr;
    for (UInt16 i = 0; i < numTabs; ++i)
        if (tabArray[i].name != nullptr &&
            !cf::check_type(tabArray[i].name, CFStringGetTypeID(), __func__))
            return paramErr;
    ControlRef control = nullptr;
    OSStatus status = hit::create_titled_control(window, boundsRect, hit::tabs_kind(), 0, nullptr,
                                                 numTabs, 1, &control);
    if (status != noErr)
        return status;
    SetControl32BitMinimum(control, 1);
    TabsState& state = state_of(control);
    state.size = size;
    state.direction = direction;
    for (UInt16 i = 0; i < numTabs; ++i)
        state.tabs.push_back({hit::units_of(tabArray[i].name), tabArray[i].enabled, {}});
    *outControl = control;
    return noErr;
}
