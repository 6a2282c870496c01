// Tab panes: one pane per tab, only the selected tab's shown.
#include "TabPanes.h"

void UpdateTabControl(ControlRef tabControl, SInt32 numPanes, ControlRef* panes) {
    if (tabControl == nullptr || panes == nullptr)
        return;
    const SInt32 selected = GetControl32BitValue(tabControl) - 1;
    for (SInt32 i = 0; i < numPanes; ++i) {
        ControlRef pane = panes[i];
        if (pane == nullptr)
            continue;
        if (i == selected) {
            ActivateControl(pane);
            SetControlVisibility(pane, true, true);
            EnableControl(pane);
        } else {
            SetControlVisibility(pane, false, false);
            DisableControl(pane);
            DeactivateControl(pane);
        }
    }
    Draw1Control(tabControl);
}

void selectItemOfTabControl(ControlRef tabControl, SInt16 tabIndex, const SInt16* paneIDs) {
    if (tabControl == nullptr || paneIDs == nullptr)
        return;
    ControlID id{};
    GetControlID(tabControl, &id);
    WindowRef window = GetControlOwner(tabControl);
    ControlRef chosen = nullptr;
    for (SInt16 i = 1; i <= paneIDs[0]; ++i) {
        id.id = paneIDs[i];
        ControlRef pane = nullptr;
        if (GetControlByID(window, &id, &pane) != noErr || pane == nullptr)
            continue;
        if (i == tabIndex) {
            chosen = pane;
        } else {
            SetControlVisibility(pane, false, false);
            DisableControl(pane);
        }
    }
    if (chosen != nullptr) {
        EnableControl(chosen);
        SetControlVisibility(chosen, true, true);
    }
}
