// Control layout helpers.
#include "ControlLayout.h"

OSStatus EmbedAndShowControl(ControlRef control, ControlRef container) {
    OSStatus status = EmbedControl(control, container);
    if (status != noErr)
        return status;
    return SetControlVisibility(control, true, false);
}
