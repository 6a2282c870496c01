// Control layout helpers.
#include "ControlLayout.h"

OSStatus EmbedAndShowControl(ControlRef control, ControlRef container) {
    OSStatus status = EmbedControl(control, container);
    if (status != noErr)
        return status;
    return SetControlVisibility(control, true, false);
}

namespace {

// One axis of a placement: the given edges, the preferred far edge, and the anchor bits.
// Halvings truncate toward zero, as integer division does.
void place(SInt32 given_near, SInt32 given_far, SInt32 preferred_far, bool keep_near, bool keep_far,
           SInt32& near_edge, SInt32& far_edge) {
    if (keep_near && keep_far) {
        near_edge = given_near;
        far_edge = given_far;
    } else if (keep_near) {
        near_edge = given_near;
        far_edge = preferred_far;
    } else if (keep_far) {
        near_edge = given_near + given_far - preferred_far;
        far_edge = given_far;
    } else {
        const SInt32 d = (given_far - preferred_far) / 2;
        near_edge = given_near + d;
        far_edge = preferred_far + d;
    }
}

// Shifts an axis by the running offset, then adds this control's growth to it.
void apply_offset(SInt32* offset, SInt32& near_edge, SInt32& far_edge, SInt32 given_extent) {
    if (offset == nullptr)
        return;
    const SInt32 shift = *offset;
    near_edge += shift;
    far_edge += shift;
    *offset = shift + (far_edge - near_edge) - given_extent;
}

} // namespace

OSStatus SetControlBestRect(ControlRef control, UInt32 options, SInt32* ioHorizontalOffset,
                            SInt32* ioVerticalOffset) {
    if (control == nullptr)
        return noErr;
    Rect b{}, p{};
    GetControlBounds(control, &b);
    GetBestControlRect(control, &p, nullptr);
    const bool left = options & kBestRectAnchorLeft, right = options & kBestRectAnchorRight;
    const bool top = options & kBestRectAnchorTop, bottom = options & kBestRectAnchorBottom;
    SInt32 preferred_bottom = p.bottom;
    // Text made to fit a narrower width than it wants wraps onto more lines.
    if (left && right && p.right > b.right && b.right != b.left)
        preferred_bottom +=
            (static_cast<SInt32>(p.bottom - p.top) * (p.right - p.left)) / (b.right - b.left);
    SInt32 n_left, n_right, n_top, n_bottom;
    place(b.left, b.right, p.right, left, right, n_left, n_right);
    place(b.top, b.bottom, preferred_bottom, top, bottom, n_top, n_bottom);
    apply_offset(ioHorizontalOffset, n_left, n_right, b.right - b.left);
    apply_offset(ioVerticalOffset, n_top, n_bottom, b.bottom - b.top);
    const Rect n{static_cast<SInt16>(n_top), static_cast<SInt16>(n_left),
                 static_cast<SInt16>(n_bottom), static_cast<SInt16>(n_right)};
    SetControlBounds(control, &n);
    return noErr;
}
