#include <HIToolbox/Quickdraw.h>

#include <gtest/gtest.h>

namespace {

Rect rect(short top, short left, short bottom, short right) {
    Rect r;
    SetRect(&r, left, top, right, bottom);
    return r;
}

bool same(Rect a, Rect b) {
    return EqualRect(&a, &b);
}

} // namespace

TEST(QuickdrawRects, SetOffsetInsetKeepTheArgumentOrder) {
    Rect r = rect(10, 20, 30, 60);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 10);
    OffsetRect(&r, 5, -10);
    EXPECT_TRUE(same(r, rect(0, 25, 20, 65)));
    InsetRect(&r, 10, 2);
    EXPECT_TRUE(same(r, rect(2, 35, 18, 55)));
    InsetRect(&r, -10, -2); // outset
    EXPECT_TRUE(same(r, rect(0, 25, 20, 65)));
    InsetRect(&r, 20, 0); // no width left: the empty rectangle
    EXPECT_TRUE(same(r, rect(0, 0, 0, 0)));
}

TEST(QuickdrawRects, IntersectionUnionAndEmptiness) {
    Rect a = rect(0, 0, 20, 20), b = rect(10, 15, 40, 30), out;
    EXPECT_TRUE(SectRect(&a, &b, &out));
    EXPECT_TRUE(same(out, rect(10, 15, 20, 20)));
    UnionRect(&a, &b, &out);
    EXPECT_TRUE(same(out, rect(0, 0, 40, 30)));
    Rect touching = rect(20, 0, 30, 20); // shares only an edge
    out = a;
    EXPECT_FALSE(SectRect(&a, &touching, &out));
    EXPECT_TRUE(EmptyRect(&out));
    EXPECT_TRUE(SectRect(&a, &b, &a)); // the destination may be a source
    EXPECT_TRUE(same(a, rect(10, 15, 20, 20)));
}

TEST(QuickdrawRects, PointsAreInsideTopLeftClosedBottomRightOpen) {
    Rect r = rect(10, 10, 20, 20);
    Point p;
    SetPt(&p, 10, 10);
    EXPECT_TRUE(PtInRect(p, &r));
    SetPt(&p, 19, 15);
    EXPECT_TRUE(PtInRect(p, &r));
    SetPt(&p, 20, 15);
    EXPECT_FALSE(PtInRect(p, &r));
    SetPt(&p, 15, 20);
    EXPECT_FALSE(PtInRect(p, &r));
}
