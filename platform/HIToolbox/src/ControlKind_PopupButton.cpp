// The popup button: a title and a menu; its value is the number of the
// selected item. Choosing an item (a click that picks one) selects it; a
// click that picks nothing dismisses the menu and hits nothing. The popup
// holds one reference to its menu for as long as it has it.
#include "ControlBehaviour.h"
#include "ControlKinds.h"
#include "Drawing.h"
#include "TextInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/Menus.h>

#include <CoreFoundation/CFString.h>

namespace {

constexpr MenuID kNoMenuID = -12345; // "no menu yet", as the creation call takes it

struct PopupState : hit::KindState {
    MenuRef menu = nullptr; // one reference, or none
    MenuID menu_id = kNoMenuID;
    SInt16 extra_height = 0;
    Boolean check_current = true;
    Boolean variable_width = false;
    SInt16 title_width = 0;
    SInt16 title_justification = popupTitleLeftJust;
    Style title_style = 0;

    ~PopupState() override {
        if (menu != nullptr)
            ReleaseMenu(menu);
    }
};

PopupState& state_of(ControlRef control) {
    return *hit::kind_state<PopupState>(control);
}

// Gives the popup `menu`, whose reference the popup now holds.
void adopt_menu(ControlRef control, MenuRef menu) {
    PopupState& state = state_of(control);
    if (state.menu != nullptr)
        ReleaseMenu(state.menu);
    state.menu = menu;
    if (menu != nullptr)
        state.menu_id = GetMenuID(menu);
    SetControl32BitMaximum(control, menu != nullptr ? CountMenuItems(menu) : 0);
    hit::changed(control);
}

OSStatus get_menu(ControlRef control, ControlPartCode, Size size, void* buffer, Size* actual) {
    return hit::get_fixed(state_of(control).menu, size, buffer, actual);
}

template <bool owned>
OSStatus set_menu(ControlRef control, ControlPartCode, Size size, const void* data) {
    MenuRef menu = nullptr;
    OSStatus status = hit::set_fixed(menu, size, data);
    if (status != noErr)
        return status;
    if (menu != nullptr && GetMenuRetainCount(menu) == 0)
        return paramErr; // not a menu
    if (menu != nullptr && !owned)
        RetainMenu(menu);
    adopt_menu(control, menu);
    return noErr;
}

OSStatus get_menu_id(ControlRef control, ControlPartCode, Size size, void* buffer, Size* actual) {
    return hit::get_fixed(state_of(control).menu_id, size, buffer, actual);
}

template <class T, T PopupState::*member> using FieldTag = hit::FieldTag<PopupState, T, member>;

const hit::DataTag kTags[] = {
    {kControlPopupButtonMenuRefTag, get_menu, set_menu<false>},
    {kControlPopupButtonOwnedMenuRefTag, get_menu, set_menu<true>},
    {kControlPopupButtonMenuIDTag, get_menu_id, nullptr},
    FieldTag<SInt16, &PopupState::extra_height>::entry(kControlPopupButtonExtraHeightTag),
    FieldTag<Boolean, &PopupState::check_current>::entry(kControlPopupButtonCheckCurrentTag),
};

std::unique_ptr<hit::KindState> make_state() {
    return std::make_unique<PopupState>();
}

// The selected item's text, as the button shows it.
CFStringRef copy_text(ControlRef control) {
    CFStringRef text = nullptr;
    MenuRef menu = state_of(control).menu;
    const SInt32 value = GetControl32BitValue(control);
    if (menu == nullptr || value < 1 || value > 0xFFFF ||
        CopyMenuItemTextAsCFString(menu, static_cast<MenuItemIndex>(value), &text) != noErr)
        return CFStringCreateWithCString(nullptr, "", kCFStringEncodingUTF8);
    return text;
}

OSStatus check_choice(ControlRef control, MenuItemIndex item) {
    MenuRef menu = state_of(control).menu;
    if (menu == nullptr || item < 1 || item > CountMenuItems(menu))
        return menuItemNotFoundErr;
    return IsMenuItemEnabled(menu, item) ? OSStatus{noErr} : OSStatus{errControlHiddenOrDisabled};
}

ControlPartCode track(ControlRef control, MenuItemIndex choice) {
    if (choice == 0 || check_choice(control, choice) != noErr)
        return kControlNoPart; // the menu was dismissed
    SetControl32BitValue(control, choice);
    hit::changed(control);
    return kControlMenuPart;
}

void dump_fields(ControlRef control, std::string& line) {
    MenuRef menu = state_of(control).menu;
    if (menu == nullptr)
        return;
    CFStringRef copied = nullptr;
    CopyControlTitleAsCFString(control, &copied);
    const cf::Holder<CFStringRef> title(copied);
    if (title && CFStringGetLength(title.get()) > 0)
        line += " title=" + hit::quoted(hit::utf8(title.get()));
    line += " items=[";
    for (MenuItemIndex i = 1; i <= CountMenuItems(menu); ++i) {
        CFStringRef copied = nullptr;
        CopyMenuItemTextAsCFString(menu, i, &copied);
        const cf::Holder<CFStringRef> text(copied);
        line += (i > 1 ? "," : "") + hit::quoted(hit::utf8(text.get()));
        if (!IsMenuItemEnabled(menu, i))
            line += "(disabled)";
    }
    line += "]";
}

} // namespace

namespace hit {

const ControlKindClass& popup_button_kind() {
    static const ControlKindClass kind = {
        .kind = {kControlKindSignatureApple, kControlKindPopupButton},
        .name = "popup button",
        .features = kControlSupportsDataAccess,
        .tags = kTags,
        .tag_count = sizeof(kTags) / sizeof(kTags[0]),
        .make_state = make_state,
        .copy_text = copy_text,
        .track = track,
        .check_choice = check_choice,
        .dump_fields = dump_fields,
        .draw = hit::theme::draw_popup_button,
        .best_rect = hit::theme::best_popup_button,
    };
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

} // namespace hit

OSStatus CreatePopupButtonControl(WindowRef window, const Rect* boundsRect, CFStringRef title,
                                  MenuID menuID, Boolean variableWidth, SInt16 titleWidth,
                                  SInt16 titleJustification, Style titleStyle,
                                  ControlRef* outControl) {
    ControlRef control = nullptr;
    OSStatus status = hit::create_titled_control(window, boundsRect, hit::popup_button_kind(), 0,
                                                 title, 0, 1, &control);
    if (status != noErr)
        return status;
    SetControl32BitMinimum(control, 1);
    PopupState& state = state_of(control);
    state.variable_width = variableWidth;
    state.title_width = titleWidth;
    state.title_justification = titleJustification;
    state.title_style = titleStyle;
    state.menu_id = menuID;
    MenuRef menu = nullptr;
    if (menuID != kNoMenuID && (status = CreateNewMenu(menuID, 0, &menu)) != noErr) {
        DisposeControl(control);
        return status;
    }
    if (menu != nullptr)
        adopt_menu(control, menu);
    *outControl = control;
    return noErr;
}

MenuRef GetControlPopupMenuHandle(ControlRef control) {
    MenuRef menu = nullptr;
    if (GetControlData(control, kControlEntireControl, kControlPopupButtonMenuRefTag, sizeof(menu),
                       &menu, nullptr) != noErr)
        return nullptr;
    return menu;
}

void SetControlPopupMenuHandle(ControlRef control, MenuRef popupMenu) {
    SetControlData(control, kControlEntireControl, kControlPopupButtonMenuRefTag, sizeof(popupMenu),
                   &popupMenu);
}
