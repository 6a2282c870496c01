// The radio group: an invisible embedder whose value is the number of its chosen radio button.
// The choice moves both ways: a button turned on sets the group's value (radio button kind),
// and a value set on the group turns the matching button on and the others off.
#include "ControlKinds.h"

#include <vector>

namespace {

std::vector<ControlRef> radio_buttons(ControlRef group) {
    std::vector<ControlRef> buttons;
    for (ControlRef child : group->children)
        if (child->kind_class == &hit::radio_button_kind())
            buttons.push_back(child);
    return buttons;
}

void show_choice(ControlRef group) {
    const std::vector<ControlRef> buttons = radio_buttons(group);
    for (size_t i = 0; i < buttons.size(); ++i)
        SetControl32BitValue(buttons[i], static_cast<SInt32>(i + 1) == group->value
                                             ? kControlRadioButtonCheckedValue
                                             : kControlRadioButtonUncheckedValue);
}

// The range follows the buttons; without a choice yet, a button embedded already on becomes it.
void buttons_changed(ControlRef group) {
    const std::vector<ControlRef> buttons = radio_buttons(group);
    SInt32 chosen = group->value;
    for (size_t i = 0; i < buttons.size() && chosen == 0; ++i)
        if (buttons[i]->value == kControlRadioButtonCheckedValue)
            chosen = static_cast<SInt32>(i + 1);
    SetControl32BitMaximum(group, static_cast<SInt32>(buttons.size()));
    SetControl32BitValue(group, chosen);
    show_choice(group);
}

} // namespace

namespace hit {

bool is_radio_group(ControlRef control) {
    return control != nullptr && control->kind_class == &radio_group_kind();
}

// Called by a radio button of the group when it was turned on.
void radio_group_button_chosen(ControlRef group, ControlRef button) {
    const std::vector<ControlRef> buttons = radio_buttons(group);
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i] == button)
            SetControl32BitValue(group, static_cast<SInt32>(i + 1));
}

const ControlKindClass& radio_group_kind() {
    static const ControlKindClass kind = {
        .kind = {kControlKindSignatureApple, kControlKindRadioGroup},
        .name = "radio group",
        .features = kControlSupportsEmbedding,
        .tags = nullptr,
        .tag_count = 0,
        .make_state = nullptr,
        .copy_text = nullptr,
        .value_changed = show_choice,
        .subcontrols_changed = buttons_changed,
    };
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

} // namespace hit

OSStatus CreateRadioGroupControl(WindowRef window, const Rect* boundsRect, ControlRef* outControl) {
    return hit::create_control(window, boundsRect, hit::radio_group_kind(), 0, outControl);
}
