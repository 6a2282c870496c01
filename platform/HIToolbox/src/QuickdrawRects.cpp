// QuickDraw's rectangle and point arithmetic: plain computations on 16-bit coordinates.
#include <HIToolbox/Quickdraw.h>

#include <algorithm>

namespace {

void clear(Rect* r) {
    r->top = r->left = r->bottom = r->right = 0;
}

} // namespace

void SetRect(Rect* r, short left, short top, short right, short bottom) {
    if (r == nullptr)
        return;
    r->left = left;
    r->top = top;
    r->right = right;
    r->bottom = bottom;
}

void OffsetRect(Rect* r, short dh, short dv) {
    if (r == nullptr)
        return;
    r->left = static_cast<short>(r->left + dh);
    r->right = static_cast<short>(r->right + dh);
    r->top = static_cast<short>(r->top + dv);
    r->bottom = static_cast<short>(r->bottom + dv);
}

void InsetRect(Rect* r, short dh, short dv) {
    if (r == nullptr)
        return;
    r->left = static_cast<short>(r->left + dh);
    r->right = static_cast<short>(r->right - dh);
    r->top = static_cast<short>(r->top + dv);
    r->bottom = static_cast<short>(r->bottom - dv);
    if (EmptyRect(r))
        clear(r);
}

Boolean SectRect(const Rect* src1, const Rect* src2, Rect* dstRect) {
    if (src1 == nullptr || src2 == nullptr || dstRect == nullptr)
        return false;
    Rect result;
    result.top = std::max(src1->top, src2->top);
    result.left = std::max(src1->left, src2->left);
    result.bottom = std::min(src1->bottom, src2->bottom);
    result.right = std::min(src1->right, src2->right);
    if (EmptyRect(&result)) {
        clear(dstRect);
        return false;
    }
    *dstRect = result;
    return true;
}

void UnionRect(const Rect* src1, const Rect* src2, Rect* dstRect) {
    if (src1 == nullptr || src2 == nullptr || dstRect == nullptr)
        return;
    Rect result;
    result.top = std::min(src1->top, src2->top);
    result.left = std::min(src1->left, src2->left);
    result.bottom = std::max(src1->bottom, src2->bottom);
    result.right = std::max(src1->right, src2->right);
    *dstRect = result;
}

Boolean EqualRect(const Rect* rect1, const Rect* rect2) {
    if (rect1 == nullptr || rect2 == nullptr)
        return false;
    return rect1->top == rect2->top && rect1->left == rect2->left &&
           rect1->bottom == rect2->bottom && rect1->right == rect2->right;
}

Boolean EmptyRect(const Rect* r) {
    return r == nullptr || r->bottom <= r->top || r->right <= r->left;
}

Boolean PtInRect(Point pt, const Rect* r) {
    return r != nullptr && pt.h >= r->left && pt.h < r->right && pt.v >= r->top && pt.v < r->bottom;
}

void SetPt(Point* pt, short h, short v) {
    if (pt == nullptr)
        return;
    pt->h = h;
    pt->v = v;
}
