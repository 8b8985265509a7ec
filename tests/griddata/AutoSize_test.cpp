// Automatic sizing: a column from its widest cell, the limits, grow-only, and the header double
// click on a column border.
#include "GridDataFixture.h"
#include "grid/AdvCGrid.h"

#include <QApplication>
#include <QFontMetrics>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

struct SizeGrid {
    QWidget window;
    TZidIzavodUraz* grid;
    SizeGrid()
    {
        grid = new TZidIzavodUraz(&window);
        grid->SetColCount(4);
        grid->SetRowCount(3);
        grid->SetOptions(grid->Options() | goColSizing);
        grid->Loaded();
        EXPECT_TRUE(griddatatest::ShowFilled(window, *grid, 600, 200));
    }
};

TEST(AutoSize, ColumnWidthFromItsWidestCell)
{
    SizeGrid t;
    TZidIzavodUraz& g = *t.grid;
    ASSERT_EQ(g.GridLineWidth(), 1);
    g.AutoSizeCol(2, 0);
    EXPECT_EQ(g.ColWidths(2), 8) << "an empty column: insets, lines and 2";

    g.SetCells(1, 1, "a fairly long cell text");
    g.SetCells(1, 2, "short");
    const int content = g.GetCellTextSize(1, 1, false, false).cx;
    g.AutoSizeCol(1, 0);
    EXPECT_EQ(g.ColWidths(1), content + 8);
    g.AutoSizeCol(1, 5);
    EXPECT_EQ(g.ColWidths(1), content + 8 + 5);

    struct Case {
        int minW, maxW;
        bool growOnly;
        int start, expect;
    } cases[] = {
        {0, 0, false, 300, content + 8},
        {0, 0, true, 300, 300},
        {0, 0, true, 10, content + 8},
        {0, 20, false, 300, 20},
        {500, 0, false, 10, 500},
        {50, 50, false, 10, content + 8}, // equal limits do not clamp
    };
    for (const Case& c : cases) {
        g.SetMinColWidth(c.minW);
        g.SetMaxColWidth(c.maxW);
        g.SetSizeGrowOnly(c.growOnly);
        g.SetColWidths(1, c.start);
        g.AutoSizeCol(1, 0);
        EXPECT_EQ(g.ColWidths(1), c.expect) << c.minW << " " << c.maxW << " " << c.growOnly << " " << c.start;
    }
}

TEST(AutoSize, RowsMeasuredFollowTheSetting)
{
    SizeGrid t;
    TZidIzavodUraz& g = *t.grid;
    g.SetCells(1, 0, "a very very long header text");
    g.SetCells(1, 1, "x");
    const int header = g.GetCellTextSize(1, 0, false, false).cx;
    const int normal = g.GetCellTextSize(1, 1, false, false).cx;
    g.ColumnSize().SetRows(arNormal);
    g.AutoSizeCol(1, 0);
    EXPECT_EQ(g.ColWidths(1), normal + 8);
    g.ColumnSize().SetRows(arFixed);
    g.AutoSizeCol(1, 0);
    EXPECT_EQ(g.ColWidths(1), header + 8);
}

TEST(AutoSize, DoubleClickOnAHeaderBorderSizesTheColumn)
{
    SizeGrid t;
    TZidIzavodUraz& g = *t.grid;
    g.SetCells(1, 1, "a fairly long cell text");
    const int expect = g.GetCellTextSize(1, 1, false, false).cx + 8;
    int ended = -1, dblCells = 0;
    g.OnEndColumnSize = [&](QObject*, int c) { ended = c; };
    g.OnDblClickCell = [&](QObject*, int, int) { ++dblCells; };
    const TRect r = g.CellRect(1, 0);
    QTest::mouseDClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(r.Right - 1, (r.Top + r.Bottom) / 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(g.ColWidths(1), expect);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(dblCells, 0) << "a border double click is no cell double click";

    // A refusal leaves the width.
    g.SetColWidths(1, 40);
    g.OnColumnSize = [](QObject*, int, bool& allow) { allow = false; };
    const TRect r2 = g.CellRect(1, 0);
    QTest::mouseDClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(r2.Right - 1, (r2.Top + r2.Bottom) / 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(g.ColWidths(1), 40);

    // In the middle of a header cell the double click is the cell's.
    QTest::mouseDClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint((r2.Left + r2.Right) / 2, 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(dblCells, 1);
}

TEST(AutoSize, HeaderDoubleClickKeepsTheColumnDefinitionsAutomaticLimits)
{
    SizeGrid t;
    TZidIzavodUraz& g = *t.grid;
    g.SetCells(1, 1, "a fairly long cell text");
    const int natural = g.GetCellTextSize(1, 1, false, false).cx + 8;
    std::vector<std::pair<int, int>> seen;
    g.OnUpdateColumnSize = [&](QObject*, int c, int& w) { seen.push_back({c, w}); };
    auto dblClickBorder = [&](int col) {
        const TRect r = g.CellRect(col, 0);
        QTest::mouseDClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(r.Right - 1, (r.Top + r.Bottom) / 2));
        QCoreApplication::processEvents();
    };
    struct Case {
        const char* what;
        int col, autoMin, autoMax, userMin, userMax, expect;
    } cases[] = {
        {"empty column raised to its automatic minimum", 2, 40, 0, 0, 0, 40},
        {"long text cut to its automatic maximum", 1, 0, 30, 0, 0, 30},
        {"limits of the user's sizing do not apply", 1, 0, 0, 0, 20, natural},
        {"no limits: the natural width", 1, 0, 0, 0, 0, natural},
    };
    for (const Case& c : cases) {
        TGridColumnItem* d = g.Columns().Items(c.col);
        d->SetAutoMinSize(c.autoMin);
        d->SetAutoMaxSize(c.autoMax);
        d->SetMinSize(c.userMin);
        d->SetMaxSize(c.userMax);
        seen.clear();
        g.SetColWidths(c.col, 64);
        dblClickBorder(c.col);
        EXPECT_EQ(g.ColWidths(c.col), c.expect) << c.what;
        ASSERT_FALSE(seen.empty()) << c.what;
        EXPECT_EQ(seen.front(), std::make_pair(c.col, c.expect)) << c.what << ": the event sees the limited width";
    }
}

TEST(AutoSize, FittingNeverGivesANegativeWidth)
{
    SizeGrid t;
    TZidIzavodUraz& g = *t.grid;
    g.resize(60, 100);
    for (int c = 0; c < 4; ++c)
        g.SetColWidths(c, 200);
    g.AutoFitColumns(false);
    for (int c = 0; c < 4; ++c)
        EXPECT_GE(g.ColWidths(c), 0) << c;
}

} // namespace
