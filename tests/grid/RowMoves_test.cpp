// Inserting and removing rows moves whole rows in the store. Each edit is made on two grids set up
// alike, one of which keeps a text right of its last column so that its rows are copied cell by
// cell; both must end the same in every cell, property, merged range, height, hidden row and the
// current cell.
#include "grid/AdvGrid.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct GridHost {
    QWidget window;
    TVerIvovavOzed* grid;
    GridHost() : grid(new TVerIvovavOzed(&window)) { grid->Loaded(); }
};

constexpr int kRows = 30;

void Prepare(TVerIvovavOzed& g)
{
    g.SetColCount(6);
    g.SetRowCount(kRows);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < g.TotalColCount(); ++c)
            g.SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    g.HideColumn(4);         // its texts live right of the shown columns and move with their rows
    g.SetRowHeights(12, 31);
    g.SetRowHeights(20, 17);
    g.SetColors(2, 14, 0x123456);
    g.SetColors(1, 3, 0x654321);
    g.MergeCells(1, 16, 2, 3); // columns 1-2, rows 16-18
    g.HideRow(22);
    g.SetRow(19);
    g.SetCol(3);
}

// Rows stored with something right of the last column are copied cell by cell.
void ForceCellCopies(TVerIvovavOzed& g)
{
    for (int r = 0; r < g.RowCount() + 4; ++r)
        g.SetGridCell(g.TotalColCount() + 2, r, QStringLiteral("marker"));
}

void ExpectSame(TVerIvovavOzed& fast, TVerIvovavOzed& copied)
{
    ASSERT_EQ(fast.RowCount(), copied.RowCount());
    ASSERT_EQ(fast.TotalColCount(), copied.TotalColCount());
    EXPECT_EQ(fast.Row(), copied.Row());
    EXPECT_EQ(fast.Col(), copied.Col());
    EXPECT_EQ(fast.TopRow(), copied.TopRow());
    EXPECT_EQ(fast.NumHiddenRows(), copied.NumHiddenRows());
    for (int r = 0; r < fast.RowCount() + 4; ++r) {
        if (r < fast.RowCount()) {
            EXPECT_EQ(fast.RowHeights(r), copied.RowHeights(r)) << "row " << r;
        }
        for (int c = 0; c < fast.TotalColCount(); ++c) {
            SCOPED_TRACE(testing::Message() << "cell " << c << "," << r);
            EXPECT_EQ(fast.GetGridCell(c, r), copied.GetGridCell(c, r));
            const bool props = fast.HasCellProperties(c, r);
            EXPECT_EQ(props, copied.HasCellProperties(c, r));
            if (props && copied.HasCellProperties(c, r)) {
                EXPECT_EQ(fast.GetColors(c, r), copied.GetColors(c, r));
                EXPECT_EQ(fast.CellSpan(c, r), copied.CellSpan(c, r));
                EXPECT_EQ(fast.BaseCell(c, r), copied.BaseCell(c, r));
            }
        }
    }
    // Hidden rows come back in the same places.
    fast.UnHideRowsAll();
    copied.UnHideRowsAll();
    ASSERT_EQ(fast.RowCount(), copied.RowCount());
    for (int r = 0; r < fast.RowCount(); ++r)
        for (int c = 0; c < fast.TotalColCount(); ++c)
            EXPECT_EQ(fast.GetGridCell(c, r), copied.GetGridCell(c, r)) << "cell " << c << "," << r;
}

TEST(RowMoves, WholeRowMovesEndAsCellCopiesDo)
{
    struct Case {
        const char* name;
        std::function<void(TVerIvovavOzed&)> edit;
    };
    const Case cases[] = {
        {"insert in the middle", [](TVerIvovavOzed& g) { g.InsertRows(5, 3); }},
        {"insert below the current cell", [](TVerIvovavOzed& g) { g.InsertRows(25, 2); }},
        {"insert at the end", [](TVerIvovavOzed& g) { g.InsertRows(g.RowCount(), 4); }},
        {"insert more rows than there are", [](TVerIvovavOzed& g) { g.InsertRows(2, 40); }},
        {"remove in the middle", [](TVerIvovavOzed& g) { g.RemoveRows(4, 2); }},
        {"remove above a merged range", [](TVerIvovavOzed& g) { g.RemoveRows(13, 3); }},
        {"remove past the end", [](TVerIvovavOzed& g) { g.RemoveRows(24, 50); }},
        {"remove the current row", [](TVerIvovavOzed& g) { g.RemoveRows(19, 1); }},
        {"remove without events", [](TVerIvovavOzed& g) { g.RemoveRowsEx(3, 5); }},
        {"insert then remove", [](TVerIvovavOzed& g) { g.InsertRows(6, 5); g.RemoveRows(8, 4); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        GridHost a, b;
        Prepare(*a.grid);
        Prepare(*b.grid);
        ForceCellCopies(*b.grid);
        k.edit(*a.grid);
        k.edit(*b.grid);
        ExpectSame(*a.grid, *b.grid);
    }
}

TEST(RowMoves, RowsBelowAnInsertKeepTheirCellsPropertiesAndCurrentCell)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    Prepare(g);
    g.InsertRows(10, 3);
    EXPECT_EQ(g.Cells(0, 9), "0:9");
    for (int r = 10; r < 13; ++r) {
        EXPECT_EQ(g.Cells(0, r), "") << r;
        EXPECT_EQ(g.RowHeights(r), g.DefaultRowHeight()) << r;
        EXPECT_FALSE(g.HasCellProperties(2, r)) << r;
    }
    EXPECT_EQ(g.Cells(0, 13), "0:10");
    EXPECT_EQ(g.Cells(4, 13), "4:10"); // the hidden column moves with its row
    EXPECT_EQ(g.RowHeights(15), 31);
    EXPECT_EQ(g.GetColors(2, 17), 0x123456);
    EXPECT_TRUE(g.IsMergedCell(2, 21));
    EXPECT_EQ(g.BaseCell(2, 21), TPoint(1, 19));
    EXPECT_EQ(g.Cells(2, 21), "1:16");

    g.RemoveRows(10, 3);
    EXPECT_EQ(g.Cells(0, 10), "0:10");
    EXPECT_EQ(g.RowHeights(12), 31);
    EXPECT_EQ(g.GetColors(2, 14), 0x123456);
    EXPECT_EQ(g.BaseCell(2, 18), TPoint(1, 16));
    // Nothing shows twice when the count grows again.
    const int n = g.RowCount();
    g.SetRowCount(n + 3);
    for (int r = n; r < n + 3; ++r)
        EXPECT_EQ(g.GetGridCell(0, r), "") << r;
}

} // namespace
