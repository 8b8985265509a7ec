#include "platform/Graphics.h"

#include <gtest/gtest.h>

TEST(Graphics, SystemColoursResolveThroughTheFixedTable)
{
    struct Case {
        TColor color;
        TColor rgb;
    };
    const Case cases[] = {
        {clBtnFace, 0xF0F0F0},      {clHighlight, 0xFF9933},  {clHighlightText, 0xFFFFFF},
        {clInfoBk, 0xE1FFFF},       {clWindow, 0xFFFFFF},     {clWindowText, 0x000000},
        {clBtnShadow, 0xA0A0A0},    {clBtnHighlight, 0xFFFFFF}, {cl3DDkShadow, 0x696969},
        {clRed, 0x0000FF},          {clSkyBlue, 0xF0CAA6},    {RGB(1, 2, 3), 0x030201},
        {clNone, clNone},           {clDefault, clDefault},
        // An index past the table is not a crash but black.
        {static_cast<TColor>(0xFF0000FFu), clBlack},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorToRGB(c.color), c.rgb) << std::hex << c.color;
}

TEST(Graphics, QtColoursAndParts)
{
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(clHighlight), QColor(0x33, 0x99, 0xFF));
    EXPECT_EQ(ToQColor(clNone).alpha(), 0); // never paints
    EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x563412);
    const TColor c = RGB(10, 20, 30);
    EXPECT_EQ(GetRValue(c), 10);
    EXPECT_EQ(GetGValue(c), 20);
    EXPECT_EQ(GetBValue(c), 30);
}

TEST(Graphics, RectangleArithmetic)
{
    const TRect a = Bounds(10, 20, 30, 40);
    EXPECT_EQ(a, Rect(10, 20, 40, 60));
    EXPECT_EQ(a.Width(), 30);
    EXPECT_EQ(a.Height(), 40);

    struct Case {
        TRect a, b;
        bool meets;
        TRect common;
        TRect both;
    };
    const Case cases[] = {
        {Rect(0, 0, 10, 10), Rect(5, 5, 15, 15), true, Rect(5, 5, 10, 10), Rect(0, 0, 15, 15)},
        // Shared edge only: right/bottom are exclusive, so nothing is common.
        {Rect(0, 0, 10, 10), Rect(10, 0, 20, 10), false, TRect(), Rect(0, 0, 20, 10)},
        {Rect(0, 0, 10, 10), Rect(20, 20, 30, 30), false, TRect(), Rect(0, 0, 30, 30)},
        // An empty rectangle takes no part in a union.
        {Rect(0, 0, 10, 10), Rect(50, 50, 50, 60), false, TRect(), Rect(0, 0, 10, 10)},
        {Rect(2, 2, 4, 4), Rect(0, 0, 10, 10), true, Rect(2, 2, 4, 4), Rect(0, 0, 10, 10)},
    };
    for (const Case& c : cases) {
        TRect r(1, 1, 1, 1);
        EXPECT_EQ(IntersectRect(r, c.a, c.b), c.meets);
        EXPECT_EQ(r, c.common);
        TRect u;
        EXPECT_TRUE(UnionRect(u, c.a, c.b));
        EXPECT_EQ(u, c.both);
    }
    TRect none;
    EXPECT_FALSE(UnionRect(none, TRect(), Rect(5, 5, 5, 5)));

    struct PtCase {
        TPoint p;
        bool in;
    };
    const PtCase pts[] = {{{10, 20}, true}, {{39, 59}, true}, {{40, 30}, false}, {{20, 60}, false}, {{9, 30}, false}};
    for (const PtCase& c : pts)
        EXPECT_EQ(PtInRect(a, c.p), c.in) << c.p.X << "," << c.p.Y;

    TRect r = a;
    InflateRect(r, -5, 2);
    EXPECT_EQ(r, Rect(15, 18, 35, 62));
    OffsetRect(r, -15, 2);
    EXPECT_EQ(r, Rect(0, 20, 20, 64));
    EXPECT_TRUE(IsRectEmpty(Rect(5, 5, 5, 9)));
    EXPECT_TRUE(IsRectEmpty(Rect(5, 9, 8, 3)));
    EXPECT_FALSE(IsRectEmpty(Rect(5, 5, 6, 6)));
}

TEST(Graphics, QtRectangleConversionKeepsTheExclusiveEdge)
{
    const TRect r(3, 4, 13, 24);
    const QRect q = ToQRect(r);
    EXPECT_EQ(q.width(), 10);
    EXPECT_EQ(q.height(), 20);
    EXPECT_EQ(FromQRect(q), r);
    EXPECT_EQ(FromQRect(QRect()), Rect(0, 0, 0, 0));
}
