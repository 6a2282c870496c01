// The combo box: an edit text field (its text, selection, key filter and
// typing are the edit text's) with a list of entries. The list opens below
// the field; picking an entry (PlatformChoosePopupItem, the script's
// `choose`) makes it the field's text, closes the list and sends
// kEventComboBoxListItemSelected to the combo box.
#include "EditText.h"
#include <CoreFoundation/CFHolder.h>

#include "ControlBehaviour.h"
#include "Drawing.h"
#include "TextInternal.h"

#include <HIToolbox/HIComboBox.h>
#include <HIToolbox/Menus.h>

#include <cmath>

namespace {

using hit::ComboBoxState;

ComboBoxState* combo(HIViewRef view, const char* function) {
    OpaqueControlRef* control = hit::live_control(view, function);
    return control != nullptr ? hit::kind_state<ComboBoxState>(control) : nullptr;
}

// The list changes size: what it covered and will cover must be repainted.
void list_changed(ControlRef control) {
    if (const ComboBoxState* state = hit::kind_state<ComboBoxState>(control))
        if (state->list_open && control->owner != nullptr)
            hit::invalidate_window_rect(control->owner, hit::theme::combo_list_rect(control));
    hit::changed(control);
}

void set_list_open(ControlRef control, bool open) {
    ComboBoxState& state = *hit::kind_state<ComboBoxState>(control);
    if (state.list_open == open)
        return;
    list_changed(control); // the old list's area
    state.list_open = open;
    list_changed(control); // the new one's
}

void send_item_selected(ControlRef control, CFIndex index) {
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassHIComboBox, kEventComboBoxListItemSelected,
                    GetCurrentEventTime(), kEventAttributeNone, &event) != noErr)
        return;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SetEventParameter(event, kEventParamComboBoxListSelectedItemIndex, typeCFIndex, sizeof(index),
                      &index);
    SendEventToEventTarget(event, control->target);
    ReleaseEvent(event);
}

std::unique_ptr<hit::KindState> make_state() {
    return std::make_unique<ComboBoxState>();
}

CFStringRef copy_text(ControlRef control) {
    return hit::create_string(hit::edit_text_state(control).shown());
}

// A plain click puts the caret at the end, as in an edit text; a pick from
// the list (`choice`, from 1) takes the entry.
ControlPartCode track(ControlRef control, MenuItemIndex choice) {
    ComboBoxState& state = *hit::kind_state<ComboBoxState>(control);
    if (choice == 0) {
        state.select(static_cast<long>(state.text.size()), static_cast<long>(state.text.size()));
        hit::changed(control);
        return kControlEditTextPart;
    }
    state.set_text(state.items[choice - 1]);
    set_list_open(control, false);
    hit::changed(control);
    send_item_selected(control, choice - 1);
    return kControlNoPart;
}

OSStatus check_choice(ControlRef control, MenuItemIndex choice) {
    const ComboBoxState& state = *hit::kind_state<ComboBoxState>(control);
    if (choice >= 1 && choice <= state.items.size())
        return noErr;
    return menuItemNotFoundErr;
}

void took_focus(ControlRef control) {
    hit::edit_text_state(control).select(
        0, static_cast<long>(hit::edit_text_state(control).text.size()));
}

// An open list closes when the focus goes elsewhere.
void lost_focus(ControlRef control) {
    set_list_open(control, false);
}

void dump_fields(ControlRef control, std::string& line) {
    const ComboBoxState& state = *hit::kind_state<ComboBoxState>(control);
    line += " sel=" + std::to_string(state.sel_start) + ".." + std::to_string(state.sel_end);
    if (state.locked)
        line += " locked";
    line += " items=[";
    for (size_t i = 0; i < state.items.size(); ++i) {
        cf::Holder<CFStringRef> item(hit::create_string(state.items[i]));
        line += (i > 0 ? "|" : "") + hit::utf8(item.get());
    }
    line += state.list_open ? "] list-open" : "]";
}

const hit::ControlKindClass& make_kind() {
    static hit::ControlKindClass kind = [] {
        size_t count = 0;
        const hit::DataTag* tags = hit::edit_text_tags(&count);
        return hit::ControlKindClass{
            .kind = {kControlKindSignatureApple, kControlKindHIComboBox},
            .name = "combo box",
            .features =
                kControlSupportsDataAccess | kControlSupportsFocus | kControlGetsFocusOnClick,
            .tags = tags,
            .tag_count = count,
            .make_state = make_state,
            .copy_text = copy_text,
            .track = track,
            .check_choice = check_choice,
            .focus_part = kControlEditTextPart,
            .took_focus = took_focus,
            .lost_focus = lost_focus,
            .text_input = hit::edit_text_input,
            .dump_fields = dump_fields,
            .draw = hit::theme::draw_combo_box,
            .best_rect = hit::theme::best_edit_text,
            .draw_overlay = hit::theme::draw_combo_list,
        };
    }();
    return kind;
}

short to_pixel(CGFloat value) {
    return static_cast<short>(std::lround(value));
}

} // namespace

namespace hit {

const ControlKindClass& combo_box_kind() {
    static const ControlKindClass& kind = make_kind();
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

} // namespace hit

OSStatus HIComboBoxCreate(const HIRect* boundsRect, CFStringRef text,
                          const ControlFontStyleRec* style, CFArrayRef list,
                          OptionBits inAttributes, HIViewRef* outComboBox) {
    if (boundsRect == nullptr || outComboBox == nullptr ||
        (text != nullptr && !cf::check_type(text, CFStringGetTypeID(), __func__)) ||
        (list != nullptr && !cf::check_type(list, CFArrayGetTypeID(), __func__)))
        return paramErr;
    std::vector<std::u16string> items;
    const CFIndex count = list != nullptr ? CFArrayGetCount(list) : 0;
    for (CFIndex i = 0; i < count; ++i) {
        CFTypeRef item = CFArrayGetValueAtIndex(list, i);
        if (item == nullptr || CFGetTypeID(item) != CFStringGetTypeID())
            return paramErr;
        items.push_back(hit::units_of(static_cast<CFStringRef>(item)));
    }
    const Rect bounds{to_pixel(boundsRect->origin.y), to_pixel(boundsRect->origin.x),
                      to_pixel(boundsRect->origin.y + boundsRect->size.height),
                      to_pixel(boundsRect->origin.x + boundsRect->size.width)};
    ControlRef control = nullptr;
    const OSStatus status = hit::create_free_control(bounds, hit::combo_box_kind(), &control);
    if (status != noErr)
        return status;
    ComboBoxState& state = *hit::kind_state<ComboBoxState>(control);
    state.set_text(hit::units_of(text));
    state.items = std::move(items);
    state.attributes = inAttributes;
    state.inline_input = true;
    if (style != nullptr)
        state.style = *style;
    *outComboBox = control;
    return noErr;
}

ItemCount HIComboBoxGetItemCount(HIViewRef inComboBox) {
    const ComboBoxState* state = combo(inComboBox, __func__);
    return state != nullptr ? state->items.size() : 0;
}

OSStatus HIComboBoxInsertTextItemAtIndex(HIViewRef inComboBox, CFIndex inIndex,
                                         CFStringRef inText) {
    ComboBoxState* state = combo(inComboBox, __func__);
    if (state == nullptr || inIndex < 0 || static_cast<size_t>(inIndex) > state->items.size() ||
        !cf::check_type(inText, CFStringGetTypeID(), __func__))
        return paramErr;
    list_changed(inComboBox);
    state->items.insert(state->items.begin() + inIndex, hit::units_of(inText));
    list_changed(inComboBox);
    return noErr;
}

OSStatus HIComboBoxAppendTextItem(HIViewRef inComboBox, CFStringRef inText, CFIndex* outIndex) {
    const CFIndex index = static_cast<CFIndex>(HIComboBoxGetItemCount(inComboBox));
    const OSStatus status = HIComboBoxInsertTextItemAtIndex(inComboBox, index, inText);
    if (status == noErr && outIndex != nullptr)
        *outIndex = index;
    return status;
}

OSStatus HIComboBoxCopyTextItemAtIndex(HIViewRef inComboBox, CFIndex inIndex,
                                       CFStringRef* outString) {
    const ComboBoxState* state = combo(inComboBox, __func__);
    if (state == nullptr || outString == nullptr || inIndex < 0 ||
        static_cast<size_t>(inIndex) >= state->items.size())
        return paramErr;
    *outString = hit::create_string(state->items[static_cast<size_t>(inIndex)]);
    return noErr;
}

OSStatus HIComboBoxRemoveItemAtIndex(HIViewRef inComboBox, CFIndex inIndex) {
    ComboBoxState* state = combo(inComboBox, __func__);
    if (state == nullptr || inIndex < 0 || static_cast<size_t>(inIndex) >= state->items.size())
        return paramErr;
    list_changed(inComboBox);
    state->items.erase(state->items.begin() + inIndex);
    list_changed(inComboBox);
    return noErr;
}

OSStatus HIComboBoxChangeAttributes(HIViewRef inComboBox, OptionBits inAttributesToSet,
                                    OptionBits inAttributesToClear) {
    ComboBoxState* state = combo(inComboBox, __func__);
    if (state == nullptr)
        return paramErr;
    state->attributes = (state->attributes | inAttributesToSet) & ~inAttributesToClear;
    return noErr;
}

OSStatus HIComboBoxGetAttributes(HIViewRef inComboBox, OptionBits* outAttributes) {
    const ComboBoxState* state = combo(inComboBox, __func__);
    if (state == nullptr || outAttributes == nullptr)
        return paramErr;
    *outAttributes = state->attributes;
    return noErr;
}

Boolean HIComboBoxIsListVisible(HIViewRef inComboBox) {
    const ComboBoxState* state = combo(inComboBox, __func__);
    return state != nullptr && state->list_open;
}

OSStatus HIComboBoxSetListVisible(HIViewRef inComboBox, Boolean inVisible) {
    if (combo(inComboBox, __func__) == nullptr)
        return paramErr;
    set_list_open(inComboBox, inVisible != 0);
    return noErr;
}
