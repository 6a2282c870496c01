// Regions. Every region here is a rectangle: its bounding box, kept in a
// handle as QuickDraw keeps its regions.
#include <HIToolbox/Quickdraw.h>

#include <CoreServices/MacMemory.h>

#include <algorithm>

namespace {

Rect& box(RgnHandle rgn) {
    return (*rgn)->rgnBBox;
}

void set_box(RgnHandle rgn, const Rect& r) {
    // An empty rectangle makes the empty region.
    box(rgn) = (r.right <= r.left || r.bottom <= r.top) ? Rect{0, 0, 0, 0} : r;
}

} // namespace

RgnHandle NewRgn(void) {
    Handle h = NewHandleClear(sizeof(MacRegion));
    if (h == nullptr)
        return nullptr;
    auto rgn = reinterpret_cast<RgnHandle>(h);
    (*rgn)->rgnSize = sizeof(MacRegion);
    return rgn;
}

void DisposeRgn(RgnHandle rgn) {
    if (rgn != nullptr)
        DisposeHandle(reinterpret_cast<Handle>(rgn));
}

void RectRgn(RgnHandle rgn, const Rect* r) {
    if (rgn != nullptr && r != nullptr)
        set_box(rgn, *r);
}

void SetRectRgn(RgnHandle rgn, short left, short top, short right, short bottom) {
    if (rgn != nullptr)
        set_box(rgn, Rect{top, left, bottom, right});
}

void SetEmptyRgn(RgnHandle rgn) {
    if (rgn != nullptr)
        box(rgn) = Rect{0, 0, 0, 0};
}

void CopyRgn(RgnHandle srcRgn, RgnHandle dstRgn) {
    if (srcRgn != nullptr && dstRgn != nullptr)
        box(dstRgn) = box(srcRgn);
}

Boolean EmptyRgn(RgnHandle rgn) {
    if (rgn == nullptr)
        return true;
    const Rect& r = box(rgn);
    return r.right <= r.left || r.bottom <= r.top;
}

Boolean PtInRgn(Point pt, RgnHandle rgn) {
    if (rgn == nullptr)
        return false;
    const Rect& r = box(rgn);
    return pt.h >= r.left && pt.h < r.right && pt.v >= r.top && pt.v < r.bottom;
}

Rect* GetRegionBounds(RgnHandle region, Rect* bounds) {
    if (bounds != nullptr)
        *bounds = region != nullptr ? box(region) : Rect{0, 0, 0, 0};
    return bounds;
}
