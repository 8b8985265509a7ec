// Row grouping: header and summary rows, the grouped column's return on UnGroup (string and column
// grid), columns that cannot be grouped, group calculations, ExpandOne, sub-groups, the group count
// in header rows and the grouping settings.
#include "grid/AdvCGrid.h"
#include "grid/AdvGrid.h"
#include "tests/TestSupport.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {


// One fixed row and column; column 1 a name, column 2 the group value, column 3 a number.
struct GroupHost {
    QWidget window;
    TVerIvovavOzed* grid = new TVerIvovavOzed(&window);
    explicit GroupHost(const std::vector<std::pair<QString, QString>>& rows, int footers = 0)
    {
        grid->Loaded();
        grid->SetColCount(4);
        grid->SetRowCount(1 + int(rows.size()) + footers);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        grid->SetFixedFooters(footers);
        grid->SetCells(1, 0, "Name");
        grid->SetCells(2, 0, "Kind");
        grid->SetCells(3, 0, "Qty");
        for (int i = 0; i < int(rows.size()); ++i) {
            grid->SetCells(1, i + 1, rows[i].first);
            grid->SetCells(2, i + 1, rows[i].second);
            grid->SetCells(3, i + 1, QString::number(i + 1));
        }
        if (footers > 0)
            grid->SetCells(2, grid->RowCount() - 1, "total");
    }
    // Every raw cell text of the grid, row by row.
    QStringList Texts() const
    {
        QStringList l;
        for (int r = 0; r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->ColCount(); ++c)
                l << grid->GetGridCell(c, r);
        return l;
    }
};

const std::vector<std::pair<QString, QString>> kBooks = {{"n1", "A"}, {"n2", "A"}, {"n3", "B"}};

TEST(Group, HeaderRowsWithNodesReplaceTheGroupedColumn)
{
    GroupHost h({{"n1", "A"}, {"n2", "A"}, {"n3", "B"}, {"n4", "b"}});
    TVerIvovavOzed& g = *h.grid;
    g.Group(2);
    EXPECT_EQ(g.GroupColumn(), 2);
    ASSERT_EQ(g.ColCount(), 3);
    ASSERT_EQ(g.RowCount(), 8);
    EXPECT_EQ(g.Cells(2, 0), "Qty"); // the columns to the right moved left
    // header A (span 3), two rows, header B (span 2), one row, header b (letter case counts)
    const int headers[] = {1, 4, 6};
    const int spans[] = {3, 2, 2};
    const char* values[] = {"A", "B", "b"};
    for (int k = 0; k < 3; ++k) {
        const int r = headers[k];
        EXPECT_TRUE(g.IsNode(r)) << r;
        EXPECT_EQ(g.GetNodeSpan(r), spans[k]) << r;
        EXPECT_EQ(g.GetGridCell(1, r), values[k]) << r;
        EXPECT_EQ(g.GetGridCell(2, r), "") << r;
    }
    EXPECT_EQ(g.Cells(1, 2), "n1");
    EXPECT_EQ(g.Cells(1, 3), "n2");
    EXPECT_EQ(g.Cells(2, 3), "2");
    EXPECT_FALSE(g.IsNode(2));
    EXPECT_EQ(g.Row(), 1);
}

TEST(Group, SummaryRowsFollowEveryGroupAndTakeTheCalculations)
{
    GroupHost h(kBooks);
    TVerIvovavOzed& g = *h.grid;
    g.Grouping().Summary = true;
    g.Grouping().SummaryColor = clBtnFace;
    g.Group(2);
    // header A, n1, n2, summary, header B, n3, summary
    ASSERT_EQ(g.RowCount(), 8);
    EXPECT_TRUE(g.IsNode(1));
    EXPECT_EQ(g.GetNodeSpan(1), 3);
    EXPECT_TRUE(g.IsSummary(4));
    EXPECT_TRUE(g.IsNode(5));
    EXPECT_EQ(g.GetNodeSpan(5), 2);
    EXPECT_TRUE(g.IsSummary(7));
    // Summary colours are stored as RGB values, except on the last group's summary row.
    EXPECT_EQ(g.GetCellProperties(2, 4)->BrushColor(), ColorToRGB(clBtnFace));
    EXPECT_EQ(g.GetCellProperties(2, 7)->BrushColor(), clBtnFace);

    g.GroupSum(2);
    EXPECT_EQ(g.Cells(2, 4), "3.00");
    EXPECT_EQ(g.Cells(2, 7), "3.00");
    EXPECT_EQ(g.Cells(2, 1), ""); // the header stays as it was
    g.GroupCount(2);
    EXPECT_EQ(g.Cells(2, 4), "2");
    EXPECT_EQ(g.Cells(2, 7), "1");

    // A contracted group keeps what its summary row held.
    g.ContractNode(5);
    g.GroupCalc(2, 4);
    EXPECT_EQ(g.Cells(2, 4), "2.00");
    EXPECT_EQ(g.Cells(2, g.RowCount() - 1), "1");
}

// The header and summary rows go in around the data rows, and what each data row keeps per row
// stays with it: its height, its modified flag, its disjunct selection.
TEST(Group, RowStateStaysWithTheGroupedRows)
{
    GroupHost h({{"n1", "A"}, {"n2", "B"}, {"n3", "A"}, {"n4", "C"}, {"n5", "B"}});
    TVerIvovavOzed& g = *h.grid;
    g.Grouping().Summary = true;
    g.Grouping().HeaderColor = clBtnFace;
    g.ShowModified().SetEnabled(true);
    g.MouseActions().SetDisjunctRowSelect(true);
    g.Navigation().SetMoveRowOnSort(true); // the grouping's sort takes the selection along
    g.SetRowHeights(3, 41);   // n3
    g.SetRowModified(4, true); // n4
    g.SetRowSelect(5, true);   // n5
    g.Group(2);
    // header A, n1, n3, summary, header B, n2, n5, summary, header C, n4, summary
    ASSERT_EQ(g.RowCount(), 12);
    QStringList names;
    for (int r = 1; r < g.RowCount(); ++r)
        names << g.Cells(1, r);
    EXPECT_EQ(names.join(','), "A,n1,n3,,B,n2,n5,,C,n4,");
    for (int r : {1, 5, 9})
        EXPECT_TRUE(g.IsNode(r)) << r;
    for (int r : {4, 8, 11})
        EXPECT_TRUE(g.IsSummary(r)) << r;
    // Header colours are stored as RGB values, except on the last group's header row.
    EXPECT_EQ(g.GetCellProperties(2, 5)->BrushColor(), ColorToRGB(clBtnFace));
    EXPECT_EQ(g.GetCellProperties(2, 9)->BrushColor(), clBtnFace);
    for (int r = 1; r < g.RowCount(); ++r) {
        SCOPED_TRACE(testing::Message() << "row " << r);
        EXPECT_EQ(g.RowHeights(r), r == 3 ? 41 : g.DefaultRowHeight());
        EXPECT_EQ(g.RowModified(r), r == 10);
        if (r != g.Row()) { // the current row, set to the first header, may be selected with it
            EXPECT_EQ(g.RowSelect(r), r == 7);
        }
    }
}

TEST(Group, CalculationsWithoutSummaryGoIntoTheHeaderRow)
{
    GroupHost h({{"n1", "A"}, {"n2", "A"}, {"n3", "A"}, {"n4", "B"}});
    TVerIvovavOzed& g = *h.grid;
    g.Group(2);
    g.GroupCount(2);
    EXPECT_EQ(g.Cells(2, 1), "3");
    EXPECT_EQ(g.Cells(2, 5), "1");
    g.GroupCustomCalc(2); // no handler: 0
    EXPECT_EQ(g.Cells(2, 1), "0.00");
    g.OnGroupCalc = [](QObject*, int, int FromRow, int ToRow, double& Res) { Res = FromRow * 100 + ToRow; };
    g.GroupCustomCalc(2);
    EXPECT_EQ(g.Cells(2, 1), "204.00");
    EXPECT_EQ(g.Cells(2, 5), "606.00");
    g.GroupCalc(2, 9); // unknown method: nothing written
    EXPECT_EQ(g.Cells(2, 1), "204.00");
}

TEST(Group, UnGroupRestoresTheFlatGrid)
{
    struct Case {
        int col;
        bool summary, mergeHeader, mergeSummary;
        int footers;
    };
    const Case cases[] = {{2, false, false, false, 0}, {2, true, false, false, 1}, {1, true, true, true, 1},
                          {3, true, false, true, 0}, {1, false, true, false, 0}};
    for (const Case& c : cases) {
        GroupHost h({{"n1", "A"}, {"n2", "A"}, {"n3", "B"}, {"n4", "C"}, {"n5", "C"}}, c.footers);
        TVerIvovavOzed& g = *h.grid;
        g.SetColWidths(c.col, 91);
        g.Grouping().Summary = c.summary;
        g.Grouping().MergeHeader = c.mergeHeader;
        g.Grouping().MergeSummary = c.mergeSummary;
        g.Grouping().HeaderColor = clYellow;
        const QStringList before = h.Texts();
        const int rows = g.RowCount();
        g.Group(c.col);
        ASSERT_EQ(g.ColCount(), 3) << c.col;
        g.ContractNode(1);
        g.UnGroup();
        EXPECT_EQ(g.GroupColumn(), -1);
        EXPECT_EQ(g.RowCount(), rows) << c.col << c.summary;
        EXPECT_EQ(g.ColCount(), 4);
        EXPECT_EQ(g.ColWidths(c.col), 91);
        EXPECT_EQ(h.Texts(), before) << c.col << c.summary << c.mergeHeader;
        for (int r = 1; r < g.RowCount(); ++r) {
            EXPECT_FALSE(g.IsNode(r) || g.IsSummary(r)) << r;
            EXPECT_FALSE(g.HasCellProperties(2, r) && g.GetCellProperties(2, r)->BrushColor() != clNone) << r;
        }
        EXPECT_EQ(g.NumHiddenRows(), 0);
    }
}

TEST(Group, ColumnsThatCannotBeGroupedChangeNothing)
{
    GroupHost h(kBooks);
    TVerIvovavOzed& g = *h.grid;
    const QStringList before = h.Texts();
    g.Group(0);  // left of FixedCols
    g.Group(4);  // no such column
    g.Group(-2);
    g.SetGroupColumn(0);
    g.SetGroupColumn(-5);
    EXPECT_EQ(g.GroupColumn(), -1);
    EXPECT_EQ(h.Texts(), before);

    g.SetFixedCols(0);
    g.Group(0); // the node column itself
    EXPECT_EQ(g.GroupColumn(), -1);
    EXPECT_EQ(h.Texts(), before);
    g.UnGroup(); // not grouped: nothing
    EXPECT_EQ(h.Texts(), before);

    g.SetFixedCols(1);
    g.SetGroupColumn(2);
    EXPECT_EQ(g.GroupColumn(), 2);
    g.Group(3); // grouping again ungroups first: column 3 is the original Qty column
    EXPECT_EQ(g.GroupColumn(), 3);
    EXPECT_EQ(g.GetGridCell(1, 1), "1");
    g.SetGroupColumn(-1);
    EXPECT_EQ(h.Texts(), before);
}

TEST(Group, ExpandOneLeavesOnlyTheFirstGroupOpen)
{
    GroupHost h({{"n1", "A"}, {"n2", "B"}, {"n3", "C"}});
    TVerIvovavOzed& g = *h.grid;
    g.CellNode().SetExpandOne(true);
    g.Group(2);
    EXPECT_FALSE(g.GetNodeState(1));
    EXPECT_TRUE(g.GetNodeState(3));
    EXPECT_TRUE(g.GetNodeState(4));
    EXPECT_EQ(g.RowCount(), 5);
    g.UnGroup();
    EXPECT_TRUE(g.CellNode().ExpandOne());
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.Cells(2, 3), "C");
}

TEST(Group, SubGroupsInsideGroupsComeAndGo)
{
    GroupHost h({{"x", "A"}, {"x", "A"}, {"y", "A"}, {"x", "B"}});
    TVerIvovavOzed& g = *h.grid;
    g.Group(2);
    // header A, x, x, y, header B, x
    ASSERT_EQ(g.RowCount(), 7);
    const QStringList grouped = h.Texts();
    g.SubGroup(1);
    // header A, sub x, (x), (x), sub y, (y), header B, sub x, (x)
    ASSERT_EQ(g.RowCount(), 10);
    EXPECT_TRUE(g.IsNode(2));
    EXPECT_EQ(g.Cells(2, 2), "x");
    EXPECT_EQ(g.GetNodeSpan(2), 3);
    EXPECT_EQ(g.Cells(1, 3), "");
    EXPECT_TRUE(g.IsNode(5));
    EXPECT_EQ(g.Cells(2, 5), "y");
    EXPECT_EQ(g.GetNodeSpan(1), 6);
    g.SubUnGroup(1);
    EXPECT_EQ(g.RowCount(), 7);
    EXPECT_EQ(h.Texts(), grouped);
}

TEST(Group, ColumnGridGetsTheGroupedDefinitionBack)
{
    QWidget window;
    auto* g = new TZidIzavodUraz(&window);
    g->Loaded();
    g->SetColCount(4);
    g->SetRowCount(4);
    g->Columns().Items(2)->SetHeader("Kind");
    g->Columns().Items(2)->SetAlignment(taRightJustify);
    g->Columns().Items(2)->SetCheckTrue("yes");
    g->Columns().Items(3)->SetHeader("Qty");
    for (int r = 1; r < 4; ++r)
        g->SetCells(2, r, r < 3 ? "A" : "B");
    g->Group(2);
    ASSERT_EQ(g->Columns().Count(), 3);
    EXPECT_EQ(g->Columns().Items(2)->Header(), "Qty");
    g->UnGroup();
    ASSERT_EQ(g->Columns().Count(), 4);
    EXPECT_EQ(g->Columns().Items(2)->Header(), "Kind");
    EXPECT_EQ(g->Columns().Items(2)->Alignment(), taRightJustify);
    EXPECT_EQ(g->Columns().Items(2)->CheckTrue(), "yes");
    EXPECT_EQ(g->Columns().Items(3)->Header(), "Qty");
    EXPECT_EQ(g->Cells(2, 3), "B");

    // Grouping on another column while grouped: each definition comes back to its own column.
    g->Group(2);
    g->Group(3);
    g->UnGroup();
    EXPECT_EQ(g->Columns().Items(2)->Header(), "Kind");
    EXPECT_EQ(g->Columns().Items(3)->Header(), "Qty");

    // Nothing restored (not grouped, or a column that cannot be grouped): the definitions stay.
    g->Columns().Items(1)->SetHeader("One");
    g->Group(9);
    g->UnGroup();
    EXPECT_EQ(g->Columns().Items(1)->Header(), "One");
    EXPECT_EQ(g->Columns().Items(2)->Header(), "Kind");
}

TEST(Group, HeaderRowsShowTheirCount)
{
    GroupHost h({{"n1", "Books"}, {"n2", "Books"}, {"n3", "Books"}, {"n4", "Pens"}});
    TVerIvovavOzed& g = *h.grid;
    g.Group(2);
    auto shown = [&](int c, int r) {
        QString v = g.GetGridCell(c, r);
        g.GetDisplText(c, r, v);
        return v;
    };
    EXPECT_EQ(shown(1, 1), "Books");
    g.Grouping().ShowGroupCount = true;
    const std::pair<QString, QString> cases[] = {
        {"", "Books (3)"},       {" [%d]", "Books [3]"}, {" %.3d items", "Books 003 items"},
        {" %s", "Books (3)"},    // not an integer format
        {" %d/%d", "Books (3)"}, // two integers
        {" rows", "Books (3)"},  // no number at all
    };
    for (const auto& [fmt, want] : cases) {
        g.Grouping().GroupCountFormat = fmt;
        EXPECT_EQ(shown(1, 1), want) << fmt.toStdString();
    }
    g.Grouping().GroupCountFormat.clear();
    EXPECT_EQ(shown(1, 5), "Pens (1)");
    EXPECT_EQ(shown(2, 1), "");   // other columns
    EXPECT_EQ(shown(1, 2), "n1"); // data rows
}

TEST(Group, GroupedGridPaints)
{
    GroupHost h({{"Atlas", "Books"}, {"Novel", "Books"}, {"Guide", "Books"}, {"Ink", "Pens"}, {"Nib", "Pens"}}, 1);
    TVerIvovavOzed& g = *h.grid;
    g.SetDefaultColWidth(80);
    g.resize(340, 260);
    TGrouping& s = g.Grouping();
    s.Summary = true;
    s.ShowGroupCount = true;
    s.HeaderColor = 0xF0D8C0;
    s.HeaderTextColor = clNavy;
    s.SummaryColor = 0xE0F0E0;
    s.HeaderUnderline = true;
    s.SummaryLine = true;
    g.Group(2);
    g.GroupSum(2);
    g.show();
    const QImage img = g.grab().toImage();
    img.save(kt_test::GrabPath("grouped_grid.png"));
    // The header underline is blue, the summary line too.
    bool blue = false;
    for (int y = 0; y < img.height() && !blue; ++y)
        for (int x = 0; x < img.width() && !blue; ++x)
            blue = img.pixelColor(x, y) == QColor(0, 0, 255);
    EXPECT_TRUE(blue);
}

TEST(GroupingSettings, DefaultsAndAssign)
{
    TGrouping a;
    for (TColor c : {a.HeaderColor, a.HeaderColorTo, a.HeaderTextColor, a.SummaryColor, a.SummaryColorTo,
                     a.SummaryTextColor})
        EXPECT_EQ(c, clNone);
    EXPECT_EQ(a.HeaderLineWidth, 2);
    EXPECT_EQ(a.SummaryLineWidth, 2);
    EXPECT_EQ(a.HeaderLineColor, 0xFF0000);
    EXPECT_EQ(a.SummaryLineColor, 0xFF0000);
    EXPECT_FALSE(a.Summary || a.MergeHeader || a.MergeSummary || a.ShowGroupCount || a.HeaderUnderline);
    EXPECT_TRUE(a.GroupCountFormat.isEmpty());

    TGrouping b;
    b.Summary = true;
    b.HeaderLineWidth = 5;
    b.SummaryLineColor = clRed;
    b.HeaderColor = clAqua;
    b.SummaryLine = true;
    b.GroupCountFormat = "%d";
    b.AutoCheckGroup = true;
    a.Assign(b);
    EXPECT_FALSE(a.Summary);
    EXPECT_EQ(a.HeaderLineWidth, 2);
    EXPECT_EQ(a.SummaryLineColor, 0xFF0000);
    EXPECT_EQ(a.HeaderColor, clAqua);
    EXPECT_TRUE(a.SummaryLine);
    EXPECT_EQ(a.GroupCountFormat, "%d");
    EXPECT_TRUE(a.AutoCheckGroup);
}

} // namespace
