// The view calls over the control tree. Windows do not composite here, so a
// view's bounds and its frame are the same window-local rectangle.
#include "ControlInternal.h"

#include <HIToolbox/HIView.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

HIRect to_hirect(const Rect& r) {
    return HIRect{{static_cast<CGFloat>(r.left), static_cast<CGFloat>(r.top)},
                  {static_cast<CGFloat>(r.right - r.left), static_cast<CGFloat>(r.bottom - r.top)}};
}

short to_pixel(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<short>(std::clamp<double>(std::round(value), SHRT_MIN, SHRT_MAX));
}

ControlRef find_below(ControlRef view, const HIViewID& id) {
    for (ControlRef child : view->children) {
        if (child->id.signature == id.signature && child->id.id == id.id)
            return child;
        if (ControlRef found = find_below(child, id))
            return found;
    }
    return nullptr;
}

OSStatus get_rect(HIViewRef inView, HIRect* outRect, const char* function) {
    OpaqueControlRef* view = hit::live_control(inView, function);
    if (view == nullptr || outRect == nullptr)
        return paramErr;
    *outRect = to_hirect(view->bounds);
    return noErr;
}

} // namespace

OSStatus HIViewFindByID(HIViewRef inStartView, HIViewID inID, HIViewRef* outControl) {
    OpaqueControlRef* start = hit::live_control(inStartView, __func__);
    if (start == nullptr || outControl == nullptr)
        return paramErr;
    ControlRef found = find_below(start, inID);
    if (found == nullptr)
        return errUnknownControl;
    *outControl = found;
    return noErr;
}

OSStatus HIViewGetBounds(HIViewRef inView, HIRect* outRect) {
    return get_rect(inView, outRect, __func__);
}

OSStatus HIViewGetFrame(HIViewRef inView, HIRect* outRect) {
    return get_rect(inView, outRect, __func__);
}

OSStatus HIViewSetFrame(HIViewRef inView, const HIRect* inRect) {
    OpaqueControlRef* view = hit::live_control(inView, __func__);
    if (view == nullptr || inRect == nullptr)
        return paramErr;
    const double left = inRect->origin.x, top = inRect->origin.y;
    const Rect bounds{to_pixel(top), to_pixel(left), to_pixel(top + inRect->size.height),
                      to_pixel(left + inRect->size.width)};
    SetControlBounds(view, &bounds);
    return noErr;
}

OSStatus HIViewMoveBy(HIViewRef inView, CGFloat inDX, CGFloat inDY) {
    OpaqueControlRef* view = hit::live_control(inView, __func__);
    if (view == nullptr)
        return paramErr;
    const Rect& b = view->bounds;
    const short dh = to_pixel(inDX), dv = to_pixel(inDY);
    const Rect moved{to_pixel(b.top + dv), to_pixel(b.left + dh), to_pixel(b.bottom + dv),
                     to_pixel(b.right + dh)};
    SetControlBounds(view, &moved);
    return noErr;
}

HIViewRef HIViewGetFirstSubview(HIViewRef inView) {
    OpaqueControlRef* view = hit::live_control(inView, __func__);
    if (view == nullptr || view->children.empty())
        return nullptr;
    return view->children.front();
}

HIViewRef HIViewGetNextView(HIViewRef inView) {
    OpaqueControlRef* view = hit::live_control(inView, __func__);
    if (view == nullptr || view->embedder == nullptr)
        return nullptr;
    const auto& siblings = view->embedder->children;
    auto it = std::find(siblings.begin(), siblings.end(), view);
    return it != siblings.end() && it + 1 != siblings.end() ? *(it + 1) : nullptr;
}

OSStatus HIViewAddSubview(HIViewRef inParent, HIViewRef inNewChild) {
    return EmbedControl(inNewChild, inParent);
}

OSStatus HIViewSetVisible(HIViewRef inView, Boolean inVisible) {
    return SetControlVisibility(inView, inVisible, true);
}

Boolean HIViewIsVisible(HIViewRef inView) {
    return IsControlVisible(inView);
}
