// Column and row calculations (ranges, skipped texts, errors, node rows, hidden rows), running
// numbers and the exchange of columns and rows.
#include "grid/AdvGrid.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct CalcHost {
    QWidget window;
    TVerIvovavOzed* grid = new TVerIvovavOzed(&window);
    // One fixed row and column; the values go down column 1 from row 1.
    explicit CalcHost(const QStringList& values = {}, int cols = 4)
    {
        grid->Loaded();
        grid->SetColCount(cols);
        grid->SetRowCount(1 + std::max(1, int(values.size())));
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        for (int i = 0; i < values.size(); ++i)
            grid->SetCells(1, i + 1, values[i]);
    }
};

TEST(Calc, ColumnCalculationsOverTheNormalRows)
{
    struct Case {
        const char* name;
        QStringList values;
        double (TVerIvovavOzed::*op)(int, int, int);
        double want;
    };
    const Case cases[] = {
        {"sum skips texts", {"1", "", "x", "3"}, &TVerIvovavOzed::ColumnSum, 4},
        {"avg divides by all rows", {"1", "", "x", "3"}, &TVerIvovavOzed::ColumnAvg, 1},
        {"min starts at the empty first cell", {"", "5", "7"}, &TVerIvovavOzed::ColumnMin, 0},
        {"min", {"5", "-2", "x", "7"}, &TVerIvovavOzed::ColumnMin, -2},
        {"max", {"5", "-2", "9", "y"}, &TVerIvovavOzed::ColumnMax, 9},
        {"population deviation", {"2", "4", "4", "4", "5", "5", "7", "9"}, &TVerIvovavOzed::ColumnStdDev, 2},
        {"distinct ignores case, counts the empty text", {"a", "A", "b", ""}, &TVerIvovavOzed::ColumnDistinct, 3},
        {"sum of a dash and markup", {"-", "<b>2.5</b>"}, &TVerIvovavOzed::ColumnSum, 2.5},
    };
    for (const Case& c : cases) {
        CalcHost h(c.values);
        EXPECT_DOUBLE_EQ((h.grid->*c.op)(1, -1, -1), c.want) << c.name;
    }
    CalcHost h({"1", "2", "3", "4"});
    EXPECT_DOUBLE_EQ(h.grid->ColumnSum(1, 2, 3), 5);
    EXPECT_DOUBLE_EQ(h.grid->ColumnAvg(1, 2, 3), 2.5);
    EXPECT_DOUBLE_EQ(h.grid->ColumnAvg(1, 3, 2), 0);
    EXPECT_DOUBLE_EQ(h.grid->ColumnStdDev(1, 3, 2), 0);
    EXPECT_DOUBLE_EQ(h.grid->ColumnSum(1, 3, 9), 7); // rows past the grid add nothing
}

TEST(Calc, NonNumbersWhereAValueMustConvertRaise)
{
    CalcHost h({"1e", "5"}); // a number body that does not convert
    TVerIvovavOzed& g = *h.grid;
    EXPECT_THROW(g.ColumnMin(1, -1, -1), ZUzeRodoRediv);
    EXPECT_THROW(g.ColumnMax(1, -1, -1), ZUzeRodoRediv);
    EXPECT_THROW(g.ColumnStdDev(1, -1, -1), ZUzeRodoRediv);
    EXPECT_DOUBLE_EQ(g.ColumnMin(1, 2, 2), 5);
    g.SetCells(2, 1, "e");
    g.SetCells(3, 1, "4");
    EXPECT_THROW(g.RowMin(1, 2, 3), ZUzeRodoRediv);
    EXPECT_THROW(g.RowMax(1, 2, 3), ZUzeRodoRediv);
    EXPECT_DOUBLE_EQ(g.RowSum(1, 2, 3), 4);
}

TEST(Calc, RowCalculationsAndMergedCells)
{
    CalcHost h({}, 6);
    TVerIvovavOzed& g = *h.grid;
    const QStringList v = {"3", "", "8", "-1", "2"};
    for (int c = 1; c <= 5; ++c)
        g.SetCells(c, 1, v[c - 1]);
    EXPECT_DOUBLE_EQ(g.RowSum(1, 1, 5), 12);
    EXPECT_DOUBLE_EQ(g.RowAvg(1, 1, 4), 2.5);
    EXPECT_DOUBLE_EQ(g.RowAvg(1, 3, 2), 0);
    EXPECT_DOUBLE_EQ(g.RowSum(1, 3, 2), 0);
    EXPECT_DOUBLE_EQ(g.RowMin(1, 1, 5), -1);
    EXPECT_DOUBLE_EQ(g.RowMax(1, 1, 5), 8);
    // A merged range counts its base cell once.
    g.MergeCells(3, 1, 2, 1);
    EXPECT_DOUBLE_EQ(g.RowSum(1, 1, 5), 13);
}

TEST(Calc, NodeRowsCountOnlyWhileTheGridIsNotGrouped)
{
    CalcHost h({"10", "1", "2", "20", "3"});
    TVerIvovavOzed& g = *h.grid;
    g.AddNode(1, 3);
    g.AddNode(4, 2);
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, -1, -1), 36);

    // Grouped: the header and summary rows stay out, the group values count.
    CalcHost k({"1", "2", "3"});
    TVerIvovavOzed& gg = *k.grid;
    gg.SetCells(2, 1, "A");
    gg.SetCells(2, 2, "A");
    gg.SetCells(2, 3, "B");
    gg.Grouping().Summary = true;
    gg.Group(2);
    gg.SetCells(1, 1, "100"); // a header
    gg.SetCells(1, 4, "200"); // a summary
    EXPECT_DOUBLE_EQ(gg.ColumnSum(1, -1, -1), 6);
    EXPECT_DOUBLE_EQ(gg.ColumnMax(1, 2, gg.RowCount() - 1), 3);

    // Hidden rows count when the range is given in real rows beyond the shown ones.
    gg.ContractNode(1);
    EXPECT_DOUBLE_EQ(gg.ColumnSum(1, -1, -1), 3);
    EXPECT_DOUBLE_EQ(gg.ColumnSum(1, 1, gg.TotalRowCount() + 1), 6);
}

TEST(Calc, CustomCalculationsAskTheirEvents)
{
    CalcHost h({"1", "2"});
    TVerIvovavOzed& g = *h.grid;
    EXPECT_DOUBLE_EQ(g.ColumnCustomCalc(1, -1, -1), 0);
    int from = 0, to = 0;
    g.OnColumnCalc = [&](QObject*, int, int F, int T, double& Res) {
        from = F;
        to = T;
        Res += 7;
    };
    EXPECT_DOUBLE_EQ(g.ColumnCustomCalc(1, -1, -1), 7);
    EXPECT_EQ(from, 1);
    EXPECT_EQ(to, 2);
}

TEST(Calc, AutoNumbering)
{
    struct Case {
        int start, offset;
        TSortDirection dir;
        QStringList want; // rows 1..5 of column 1
    };
    const Case cases[] = {
        {0, 0, sdAscending, {"1", "2", "3", "4", "5"}},
        {1, 0, sdAscending, {"", "2", "3", "4", "5"}},
        {0, 10, sdAscending, {"11", "12", "13", "14", "15"}},
        {0, 0, sdDescending, {"5", "4", "3", "2", "1"}},
        {2, 0, sdDescending, {"5", "4", "3", "", ""}},
        {9, 0, sdAscending, {"", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        CalcHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetRowCount(7);
        g.SetFixedFooters(1);
        g.SetAutoNumberStart(c.start);
        g.SetAutoNumberOffset(c.offset);
        g.SetAutoNumberDirection(c.dir);
        g.AutoNumberCol(1);
        QStringList got;
        for (int r = 1; r <= 5; ++r)
            got << g.Cells(1, r);
        EXPECT_EQ(got, c.want) << c.start << c.offset << c.dir;
        EXPECT_EQ(g.Cells(1, 6), ""); // the footer
        EXPECT_EQ(g.Cells(1, 0), "");
    }
    CalcHost h({}, 5);
    TVerIvovavOzed& g = *h.grid;
    g.SetFixedRightCols(1);
    g.SetAutoNumberDirection(sdDescending);
    g.AutoNumberRow(1);
    EXPECT_EQ(g.Cells(1, 1), "3");
    EXPECT_EQ(g.Cells(3, 1), "1");
    EXPECT_EQ(g.Cells(4, 1), "");
}

TEST(Calc, SwapsMoveTextsObjectsSizesAndTheSortColumn)
{
    CalcHost h({"a", "b"});
    TVerIvovavOzed& g = *h.grid;
    g.SetCells(3, 1, "c");
    g.SetCells(3, 0, "Three");
    g.SetColWidths(1, 40);
    g.SetColWidths(3, 90);
    g.AddComment(1, 2, "note");
    g.SortSettings().SetColumn(1);
    g.SwapColumns(1, 3);
    EXPECT_EQ(g.Cells(1, 1), "c");
    EXPECT_EQ(g.Cells(3, 1), "a");
    EXPECT_EQ(g.Cells(1, 0), "Three");
    EXPECT_EQ(g.ColWidths(1), 90);
    EXPECT_EQ(g.ColWidths(3), 40);
    EXPECT_EQ(g.GetComment(3, 2), "note");
    EXPECT_EQ(g.GetComment(1, 2), "");
    EXPECT_EQ(g.SortSettings().Column(), 3);
    g.SwapColumns(3, 2);
    EXPECT_EQ(g.SortSettings().Column(), 2);

    g.SetRowHeights(1, 30);
    g.SwapRows(1, 2);
    EXPECT_EQ(g.Cells(2, 2), "a");
    EXPECT_EQ(g.GetComment(2, 1), "note");
    EXPECT_EQ(g.RowHeights(2), 30);
    EXPECT_EQ(g.SortSettings().Column(), 2); // rows leave the sort state alone
}

// A control placed over a cell goes with the cell's text when columns or rows change places.
TEST(Calc, SwapsCarryThePlacedControls)
{
    CalcHost h({"a", "b"});
    TVerIvovavOzed& g = *h.grid;
    h.window.resize(400, 300);
    g.resize(400, 300);
    g.SetColWidths(1, 40);
    g.SetColWidths(3, 90);
    g.SetRowHeights(2, 35);
    h.window.show();
    auto* box = new QWidget;
    g.SetCellControls(1, 1, box);
    auto* other = new QWidget;
    g.SetCellControls(2, 2, other);
    const auto placedAt = [&](int c, int r) {
        const TRect cell = g.CellRect(c, r);
        return QPoint(cell.Left - 1, cell.Top - 1);
    };

    g.SwapColumns(1, 3);
    EXPECT_EQ(g.GetCellControls(3, 1), box);
    EXPECT_EQ(box->pos(), placedAt(3, 1));
    EXPECT_EQ(other->pos(), placedAt(2, 2)) << "a control in neither column stays";

    g.SwapRows(1, 2);
    EXPECT_EQ(g.GetCellControls(3, 2), box);
    EXPECT_EQ(box->pos(), placedAt(3, 2));
    EXPECT_EQ(g.GetCellControls(2, 1), other);
    EXPECT_EQ(other->pos(), placedAt(2, 1));
}

} // namespace
