// Moving views, and taking a group of views out of another nib window.
#include "ControlLayout.h"

OSStatus AppendViewFromWindowAndUnpack(HIViewRef destination, WindowRef sourceWindow,
                                       ControlID controlID, float* ioVerticalOffset) {
    float unused = 0;
    float& offset = ioVerticalOffset != nullptr ? *ioVerticalOffset : unused;
    HIRect target{};
    HIViewGetBounds(destination, &target);
    HIViewRef group = nullptr;
    OSStatus status = HIViewFindByID(HIViewGetRoot(sourceWindow), controlID, &group);
    if (status != noErr)
        return status;
    HIRect source{};
    HIViewGetBounds(group, &source);
    // The group goes to the destination's corner, below what was appended
    // before; its subviews keep their places relative to it.
    HIViewMoveBy(group, target.origin.x - source.origin.x,
                 target.origin.y - source.origin.y + offset);
    offset += source.size.height;
    // Fetch the next subview before moving one: the move takes it out of the group.
    for (HIViewRef view = HIViewGetFirstSubview(group); view != nullptr;) {
        HIViewRef next = HIViewGetNextView(view);
        if ((status = HIViewAddSubview(destination, view)) != noErr)
            return status;
        view = next;
    }
    return noErr;
}

void TranslateView(HIViewRef view, float dx, float dy) {
    if (view == nullptr)
        return;
    HIRect frame{};
    if (HIViewGetFrame(view, &frame) != noErr)
        return;
    frame.origin.x += dx;
    frame.origin.y += dy;
    HIViewSetFrame(view, &frame);
}
