// Scrolling of the string grid: proportional thumbs, bars kept visible, column stretching,
// proportional sizing, scroll hints, the thin "metro" scroll control and drag scrolling.
#include "GridHost.h"
#include "grid/AdvGrid.h"

#include <QScrollBar>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Reaches the scroll actions as the scroll bars deliver them.
class ScrollGrid : public TVerIvovavOzed {
public:
    using TVerIvovavOzed::TVerIvovavOzed;
    using TVerIvovavOzed::VScroll;
};

using GridHost = kt_test::ShownGridHost;

TEST(Scroll, ProportionalHorizontalThumb)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.resize(400, 200);
    g.SetFixedCols(0);
    g.SetColCount(4);
    const int lw = g.GridLineWidth();
    // Normal columns 10 % wider than the control: T = lw + 4 (lw + cw) = 1.1 width.
    const int cw = (440 - lw) / 4 - lw;
    for (int c = 0; c < 4; ++c)
        g.SetColWidths(c, cw);
    g.SetScrollProportional(true);
    TScrollInfo info;
    g.GetScrollInfo(SB_HORZ, info);
    const double T = lw + 4.0 * (lw + cw);
    const float e = float((400 - lw) / T);
    const int nMax = int(std::trunc((e + 127) / (1 - e)));
    EXPECT_EQ(info.nMax, nMax);
    EXPECT_EQ(int(info.nPage), nMax - 126);
    EXPECT_NEAR(double(info.nPage) / (info.nMax + 1), 0.91, 0.01);

    // Less than five pixels hidden: the grid's own 0..127 thumb stays.
    GridHost h2;
    TVerIvovavOzed& g2 = *h2.grid;
    g2.resize(400, 200);
    g2.SetFixedCols(0);
    g2.SetColCount(2);
    const int w0 = (404 - lw - 2 * lw) / 2;
    g2.SetColWidths(0, w0);
    g2.SetColWidths(1, 403 - 3 * lw - w0); // F + T = control width + 4
    g2.SetScrollProportional(true);
    g2.GetScrollInfo(SB_HORZ, info);
    EXPECT_EQ(int(info.nPage), 0);
    EXPECT_EQ(info.nMax, GridScrollMax);
}

TEST(Scroll, ProportionalVerticalThumb)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.resize(400, 200);
    g.SetFixedRows(1);
    g.SetRowCount(5);
    const int lw = g.GridLineWidth();
    g.SetRowHeights(0, 20);
    // Normal rows 10 % taller than the rest of the control.
    const int rh = (200 - 20 - 2 * lw) * 11 / 40 - lw;
    for (int r = 1; r < 5; ++r)
        g.SetRowHeights(r, rh);
    g.SetScrollProportional(true);
    TScrollInfo info;
    g.GetScrollInfo(SB_VERT, info);
    const long long F = lw + (lw + 20), T = lw + 4LL * (lw + rh);
    const float e = float(200 - F) / float(T);
    const int nMax = int(std::trunc((e + 127) / (1 - e)));
    EXPECT_EQ(info.nMax, nMax);
    EXPECT_EQ(int(info.nPage), nMax - 126);
    // The scrollable rows are shorter than the control: the thumb sits at the end.
    ASSERT_LT(T, 200);
    EXPECT_EQ(info.nPos, 127);

    // All rows in view: the bar is left alone.
    GridHost h2;
    TVerIvovavOzed& g2 = *h2.grid;
    g2.resize(400, 200);
    g2.SetRowCount(3);
    g2.SetScrollProportional(true);
    g2.GetScrollInfo(SB_VERT, info);
    EXPECT_EQ(int(info.nPage), 0);
}

TEST(Scroll, BarKeptVisibleIsDisabledWhileEverythingFits)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    h.window.show();
    g.SetRowCount(3);
    g.SetScrollBarAlways(saVert);
    EXPECT_TRUE(g.ScrollBarVisible(SB_VERT));
    EXPECT_FALSE(g.ScrollBarControl(SB_VERT)->isEnabled());
    g.SetRowCount(200);
    EXPECT_TRUE(g.ScrollBarVisible(SB_VERT));
    EXPECT_TRUE(g.ScrollBarControl(SB_VERT)->isEnabled());
}

TEST(Scroll, StretchColumn)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetColCount(3);
    g.ColumnSize().SetStretch(true);
    const int client = g.ClientWidth();
    g.SetColWidths(0, 100);
    g.SetColWidths(1, client - 100 - 100); // the first two take all but 100 pixels
    g.StretchColumn(-1);
    EXPECT_EQ(g.ColWidths(2), 99);
    EXPECT_THROW(g.StretchColumn(3), std::runtime_error);
    EXPECT_THROW(g.StretchColumn(-2), std::runtime_error);

    g.ColumnSize().SetStretch(false);
    g.SetColWidths(2, 40);
    g.StretchColumn(2);
    EXPECT_EQ(g.ColWidths(2), 40);
}

TEST(Scroll, ProportionalSizingOfAllColumnsAndRows)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetColCount(4);
    for (int c = 0; c < 4; ++c)
        g.SetColWidths(c, 50);
    g.MouseActions().SetAllColumnSize(true);
    int ended = -1;
    g.OnEndColumnSize = [&](QObject*, int ACol) { ended = ACol; };
    g.ColSized = true;
    g.Colclicked = 2;
    g.Colclickedsize = 50;
    g.SetColWidths(2, 100);
    EXPECT_EQ(g.ColWidths(0), 50); // fixed column untouched
    EXPECT_EQ(g.ColWidths(1), 100);
    EXPECT_EQ(g.ColWidths(2), 100);
    EXPECT_EQ(g.ColWidths(3), 100);
    EXPECT_EQ(ended, 2);
    EXPECT_EQ(g.Colclicked, -1);
    EXPECT_FALSE(g.ColSized);

    g.MouseActions().SetAllRowSize(true);
    g.SetRowCount(4);
    g.Rowsized = true;
    g.Rowclicked = 1;
    g.Rowclickedsize = g.RowHeights(1);
    const int other = g.RowHeights(2);
    g.SetRowHeights(1, g.Rowclickedsize * 3 / 2);
    EXPECT_EQ(g.RowHeights(2), int(std::nearbyint(other * 1.5)));
}

TEST(Scroll, ThumbTrackHintShowsTheRowReached)
{
    QWidget window;
    auto* sg = new ScrollGrid(&window);
    sg->Loaded();
    ScrollGrid& g = *sg;
    g.SetRowCount(128 + 1);
    g.SetScrollHints(shVertical);
    QString seen;
    g.OnScrollHint = [&](QObject*, int ARow, QString& S) { seen = S; S += QStringLiteral(" !"); (void)ARow; };
    g.VScroll(SB_THUMBTRACK, 127);
    const int expected = 128 + 1 - g.VisibleRowCount();
    EXPECT_EQ(seen, QStringLiteral("Row : %1").arg(expected));
    ASSERT_NE(g.ScrollHintWindow(), nullptr);
    EXPECT_TRUE(g.ScrollHintShowing());
    EXPECT_EQ(g.ScrollHintWindow()->Caption(), QStringLiteral("Row : %1 !").arg(expected));
    g.VScroll(SB_ENDSCROLL, 127);
    EXPECT_FALSE(g.ScrollHintShowing());
}

TEST(Scroll, SizingBorderHitTest)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetOptions(g.Options() | goColSizing);
    const TRect r = g.CellRect(1, 0);
    EXPECT_TRUE(g.IsOnSizingBorder(r.Right - 1, r.Top + 5));
    EXPECT_FALSE(g.IsOnSizingBorder((r.Left + r.Right) / 2, r.Top + 5));
    const TRect body = g.CellRect(2, 3);
    EXPECT_FALSE(g.IsOnSizingBorder(body.Right - 1, body.Top + 5)); // not in the header rows
}

// A grid with 100 rows, one fixed row and exactly 20 scrolled rows visible, with a vertical thin
// scroll control whose track (below the fixed row) is 400 pixels long.
struct MetroHost : GridHost {
    TScrollControl* ctl = nullptr;
    MetroHost()
    {
        TVerIvovavOzed& g = *grid;
        g.SetScrollBars(ssNone);
        g.SetDefaultRowHeight(20);
        g.SetRowCount(100);
        g.SetRowHeights(0, 20);
        for (int hgt = 300; hgt < 600 && g.VisibleRowCount() != 20; ++hgt)
            g.resize(300, hgt);
        ctl = new TScrollControl(&g);
        ctl->setGeometry(0, 0, 6, 420);
    }
};

TEST(Scroll, ThinScrollControlThumb)
{
    MetroHost h;
    TVerIvovavOzed& g = *h.grid;
    ASSERT_EQ(g.VisibleRowCount(), 20);
    int p = 0, q = 0;
    ASSERT_TRUE(h.ctl->ThumbGeometry(p, q));
    EXPECT_EQ(q, 80);
    EXPECT_EQ(p, 20);
    // Clicking below the thumb on the last page keeps TopRow at RowCount - VisibleRowCount.
    g.SetTopRow(70);
    ASSERT_TRUE(h.ctl->ThumbGeometry(p, q));
    ASSERT_LT(p + q + 1, 420);
    h.ctl->MouseDown(2, p + q + 1);
    EXPECT_EQ(g.TopRow(), 80);
    h.ctl->MouseDown(2, 419);
    EXPECT_EQ(g.TopRow(), 80);
    // Above the thumb: one page up.
    h.ctl->MouseDown(2, 25);
    EXPECT_EQ(g.TopRow(), 60);
    // Dragging the thumb by a fifth of the control moves a fifth of the rows.
    ASSERT_TRUE(h.ctl->ThumbGeometry(p, q));
    h.ctl->MouseDown(2, p + 1);
    EXPECT_TRUE(h.ctl->Dragging());
    h.ctl->MouseMove(2, p + 1 - 80);
    EXPECT_EQ(g.TopRow(), 40);
    h.ctl->MouseUp(2, 0);
    EXPECT_FALSE(h.ctl->Dragging());

    // All rows fit: no thumb; an empty range: no thumb and clicks change nothing.
    g.SetRowCount(5);
    EXPECT_FALSE(h.ctl->ThumbGeometry(p, q));
    g.SetRowCount(1);
    const int top = g.TopRow();
    EXPECT_FALSE(h.ctl->ThumbGeometry(p, q));
    h.ctl->MouseDown(2, 200);
    EXPECT_EQ(g.TopRow(), top);
}

TEST(Scroll, DragScrollingNearTheEdges)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.resize(400, 300);
    g.SetRowCount(100);
    g.DragScrollOver(200, 290, dsDragMove);
    EXPECT_FALSE(g.DragScrollTimerActive()); // not active: nothing
    g.DragScrollOptions().Active = true;
    g.DragScrollOver(200, 150, dsDragMove);
    EXPECT_FALSE(g.DragScrollTimerActive()); // away from the edges
    g.DragScrollOver(200, 290, dsDragMove);
    EXPECT_TRUE(g.DragScrollTimerActive());
    EXPECT_EQ(g.DragScrollDirection(), dsdDown);
    const int top = g.TopRow();
    g.DragScrollTimerTick();
    EXPECT_EQ(g.TopRow(), top + 1);
    g.OnDragScroll = [](QObject*, int, int, int&, bool& CanScroll) { CanScroll = false; };
    g.DragScrollTimerTick();
    EXPECT_EQ(g.TopRow(), top + 1);
    g.DragScrollOver(200, 290, dsDragLeave);
    EXPECT_FALSE(g.DragScrollTimerActive());
}

} // namespace
