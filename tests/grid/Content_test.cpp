// Content operations of the string grid: removal by check box, selection and duplicates; hiding by
// selection; removing and joining columns; clearing the selection; trimming and colouring
// rectangles; merging and splitting runs of equal cells; the two cell queries. Each row carries a
// tag, a colour, a height and a check box, and every case checks that they stay with their rows.
#include "GridHost.h"
#include "grid/AdvGrid.h"

#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using Texts = std::vector<QString>;

using kt_test::GridHost;

// One fixed row ("h"), then one normal row per value in column 1. Column 2 holds the row's tag
// (r1, r2, ...), whose colour, height and check box (column 3, checked on odd rows) go with it.
void FillRows(TVerIvovavOzed& g, const Texts& values)
{
    g.SetColCount(6);
    g.SetRowCount(int(values.size()) + 1);
    g.SetCells(1, 0, "h");
    for (int r = 1; r <= int(values.size()); ++r) {
        g.SetCells(1, r, values[size_t(r - 1)]);
        g.SetCells(2, r, QStringLiteral("r%1").arg(r));
        g.SetColors(2, r, TColor(0x010000 * r));
        g.SetRowHeights(r, 20 + r);
        g.AddCheckBox(3, r, r % 2 == 1, false);
    }
}

Texts Column(TVerIvovavOzed& g, int col)
{
    Texts t;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        t.push_back(g.Cells(col, r));
    return t;
}

// Every remaining row still has its own colour, height and check box.
void ExpectRowsKeepTheirData(TVerIvovavOzed& g, const char* what)
{
    for (int r = g.FixedRows(); r < g.RowCount(); ++r) {
        const int tag = g.Cells(2, r).mid(1).toInt();
        EXPECT_EQ(g.GetColors(2, r), TColor(0x010000 * tag)) << what << " row " << r;
        EXPECT_EQ(g.RowHeights(r), 20 + tag) << what << " row " << r;
        EXPECT_EQ(g.IsChecked(3, g.RealRowIndex(r)), tag % 2 == 1) << what << " row " << r;
    }
}

QString Joined(const Texts& t)
{
    QStringList l;
    for (const QString& s : t)
        l << s;
    return l.join(',');
}

// ---- removing rows ---------------------------------------------------------------------------

TEST(Content, RemoveDuplicatesKeepsTheFirstOccurrenceInEitherCaseMode)
{
    const Texts values = {"abc", "ABC", "x", "abc", "Abc", "x", ""};
    struct Case {
        bool doCase;
        Texts texts;
        Texts tags;
    } cases[] = {
        {true, {"abc", "ABC", "x", "Abc", ""}, {"r1", "r2", "r3", "r5", "r7"}},
        {false, {"abc", "x", ""}, {"r1", "r3", "r7"}},
    };
    for (const Case& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        FillRows(g, values);
        g.MergeCells(4, 5, 2, 1); // columns 4 and 5 of row 5
        g.RemoveDuplicates(1, c.doCase);
        EXPECT_EQ(Joined(Column(g, 1)), Joined(c.texts)) << c.doCase;
        EXPECT_EQ(Joined(Column(g, 2)), Joined(c.tags)) << c.doCase;
        EXPECT_EQ(g.RowCount(), int(c.texts.size()) + 1) << c.doCase;
        ExpectRowsKeepTheirData(g, c.doCase ? "with case" : "without case");
        if (c.doCase) { // row 5 is now row 4 and its merge came with it
            EXPECT_TRUE(g.IsBaseCell(4, 4));
            EXPECT_EQ(g.CellSpan(4, 4).X, 1);
            EXPECT_FALSE(g.IsBaseCell(5, 4));
            EXPECT_FALSE(g.IsMergedCell(4, 5));
        }
    }
}

TEST(Content, RemoveDuplicatesLooksAtTheDisplayedColumnAndSparesTheFooter)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillRows(g, {"a", "a", "b", "b"});
    g.SetCells(2, 1, "same");
    g.SetCells(2, 3, "same");
    g.SetFixedFooters(1);
    g.HideColumn(1); // displayed column 1 is now real column 2 (the tags, two of them equal)
    g.RemoveDuplicates(1, true);
    EXPECT_EQ(Joined(Column(g, 2)), "same,r2,r4"); // row 3 went; the footer row 4 was not examined
}

TEST(Content, RemoveCheckedRowsByState)
{
    struct Case {
        bool removeChecked;
        Texts tags;
    } cases[] = {
        {true, {"r2", "r4"}},
        {false, {"r1", "r3", "r5"}},
    };
    for (const Case& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        FillRows(g, {"a", "b", "c", "d", "e"});
        g.RemoveCheckedRows(3, c.removeChecked);
        EXPECT_EQ(Joined(Column(g, 2)), Joined(c.tags)) << c.removeChecked;
        ExpectRowsKeepTheirData(g, "checked");
    }
}

// Rows 2 and 3 selected as a rectangle, or rows 2 and 4 one by one (kept over hiding or not), and
// the tags of the rows left (or shown) once the selected or the unselected rows go.
enum Mode { Rect, Disjunct, Persistent };
struct Selection_Case {
    const char* what;
    Mode mode;
    bool selected; // the selected rows go, else the unselected ones
    Texts left;
};
const Selection_Case Selection_Cases[] = {
    {"rectangle, selected", Rect, true, {"r1", "r4", "r5"}},
    {"rectangle, unselected", Rect, false, {"r2", "r3"}},
    {"disjunct, selected", Disjunct, true, {"r1", "r3", "r5"}},
    {"disjunct, unselected", Disjunct, false, {"r2", "r4"}},
    {"persistent, selected", Persistent, true, {"r1", "r3", "r5"}},
    {"persistent, unselected", Persistent, false, {"r2", "r4"}},
};

// Five rows a to e, selected as the case says; the rectangle is given as the test gives it.
void Select_Rows(TVerIvovavOzed& g, const Selection_Case& c, TGridRect rect)
{
    FillRows(g, {"a", "b", "c", "d", "e"});
    if (c.mode == Rect) {
        g.SetSelection(rect);
    } else {
        g.MouseActions().SetDisjunctRowSelect(true);
        g.MouseActions().SetRowSelectPersistent(c.mode == Persistent);
        g.SetRowSelect(2, true);
        g.SetRowSelect(4, true);
    }
}

TEST(Content, RemoveSelectedAndUnselectedRows)
{
    for (const Selection_Case& c : Selection_Cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        Select_Rows(g, c, {1, 3, 3, 2}); // rows 2 and 3, either corner order
        if (c.selected)
            g.RemoveSelectedRows();
        else
            g.RemoveUnSelectedRows();
        EXPECT_EQ(Joined(Column(g, 2)), Joined(c.left)) << c.what;
        ExpectRowsKeepTheirData(g, c.what);
        if (c.mode == Disjunct) {
            EXPECT_EQ(g.RowSelectCount(), 0) << c.what;
            EXPECT_EQ(g.SelectedRows().Count(), 0) << c.what;
        }
        if (c.mode == Persistent && !c.selected) {
            EXPECT_EQ(g.RowSelectCount(), 2) << c.what << ": the remaining rows are selected";
        }
    }
}

TEST(Content, PersistentSelectionRemovesTheRowsItNamesPastHiddenRows)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillRows(g, {"a", "b", "c", "d", "e"});
    g.MouseActions().SetDisjunctRowSelect(true);
    g.MouseActions().SetRowSelectPersistent(true);
    g.SetRowSelect(3, true); // real rows
    g.SetRowSelect(5, true);
    g.HideRow(2);
    g.RemoveSelectedRows();
    EXPECT_EQ(Joined(Column(g, 2)), "r1,r4");
    g.UnHideRowsAll();
    EXPECT_EQ(Joined(Column(g, 2)), "r1,r2,r4");
    ExpectRowsKeepTheirData(g, "after unhiding");
}

TEST(Content, RemovalsKeepTheListOfSelectedRowsInStep)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillRows(g, {"a", "a", "b", "c"});
    g.MouseActions().SetDisjunctRowSelect(true);
    g.SetRowSelect(4, true);
    g.RemoveDuplicates(1, true); // row 2 goes: the selected row is now row 3
    ASSERT_EQ(g.SelectedRows().Count(), 1);
    EXPECT_EQ(g.SelectedRows().GetInteger(0), 3);
    EXPECT_TRUE(g.RowSelect(3));
    EXPECT_FALSE(g.RowSelect(2));
}

// ---- hiding rows -----------------------------------------------------------------------------

TEST(Content, HideSelectedAndUnselectedRows)
{
    for (const Selection_Case& c : Selection_Cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        Select_Rows(g, c, {1, 2, 3, 3});
        if (c.selected)
            g.HideSelectedRows();
        else
            g.HideUnSelectedRows();
        EXPECT_EQ(Joined(Column(g, 2)), Joined(c.left)) << c.what;
        EXPECT_EQ(g.NumHiddenRows(), 5 - int(c.left.size())) << c.what;
        ExpectRowsKeepTheirData(g, c.what);
        if (c.mode == Persistent) { // the flags belong to real rows: hiding leaves them
            EXPECT_TRUE(g.RowSelect(2)) << c.what;
            EXPECT_TRUE(g.RowSelect(4)) << c.what;
            EXPECT_FALSE(g.RowSelect(3)) << c.what;
        }
        g.UnHideRowsAll();
        EXPECT_EQ(Joined(Column(g, 2)), "r1,r2,r3,r4,r5") << c.what << ": back in their places";
        ExpectRowsKeepTheirData(g, c.what);
    }
}

// ---- columns ---------------------------------------------------------------------------------

// Header texts 0 .. n-1 name the real columns.
void NameColumns(TVerIvovavOzed& g, int n)
{
    g.SetColCount(n);
    for (int c = 0; c < n; ++c) {
        g.SetCells(c, 0, QString::number(c));
        g.SetCells(c, 1, QStringLiteral("v%1").arg(c));
        g.SetColors(c, 1, TColor(c + 1));
    }
}

QString Headers(TVerIvovavOzed& g)
{
    QStringList l;
    for (int c = 0; c < g.TotalColCount(); ++c)
        l << g.Cells(c, 0) + (g.IsHiddenColumn(c) ? "h" : "");
    return l.join(',');
}

TEST(Content, RemoveSelectedAndUnselectedColumns)
{
    struct Case {
        const char* what;
        bool disjunct;
        bool selected;
        int hide; // real column hidden first, -1 for none
        QString headers;
    } cases[] = {
        {"rectangle, unselected", false, false, -1, "0,2,3"},
        {"rectangle, selected", false, true, -1, "0,1,4,5"},
        {"disjunct, unselected", true, false, -1, "0,2,3"},
        {"disjunct, selected", true, true, -1, "0,1,4,5"},
        // Displayed columns 2 and 3 are real 3 and 4 when real column 2 is hidden; it stays.
        {"rectangle, unselected, hidden column", false, false, 2, "0,2h,3,4"},
        {"rectangle, selected, hidden column", false, true, 2, "0,1,2h,5"},
        {"disjunct, selected, hidden column", true, true, 2, "0,1,2h,5"},
    };
    for (const Case& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        NameColumns(g, 6);
        if (c.hide >= 0)
            g.HideColumn(c.hide);
        g.MouseActions().SetDisjunctColSelect(c.disjunct);
        if (c.disjunct) {
            g.SetColSelect(2, true);
            g.SetColSelect(3, true);
        } else
            g.SetSelection({3, 1, 2, 2});
        if (c.selected)
            g.RemoveSelectedCols();
        else
            g.RemoveUnSelectedCols();
        EXPECT_EQ(Headers(g), c.headers) << c.what;
        EXPECT_EQ(g.NumHiddenColumns(), c.hide >= 0 ? 1 : 0) << c.what;
        if (c.disjunct) {
            EXPECT_EQ(g.ColSelectCount(), 0) << c.what;
        }
        for (int col = 0; col < g.TotalColCount(); ++col) // properties moved with their columns
            EXPECT_EQ(g.GetColors(col, 1), TColor(g.Cells(col, 0).toInt() + 1)) << c.what << " " << col;
        g.UnHideColumnsAll();
        EXPECT_EQ(g.ColCount(), g.TotalColCount()) << c.what;
    }
}

TEST(Content, RemovingHiddenColumnsLowersTheHiddenCount)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    NameColumns(g, 6);
    g.HideColumn(2);
    g.HideColumn(4);
    ASSERT_EQ(g.NumHiddenColumns(), 2);
    g.RemoveCols(1, 2); // real 1 and the hidden 2
    EXPECT_EQ(g.NumHiddenColumns(), 1);
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(Headers(g), "0,3,4h,5");
    g.UnHideColumnsAll();
    EXPECT_EQ(g.NumHiddenColumns(), 0);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(Headers(g), "0,3,4,5");
}

TEST(Content, MergeColsJoinsTextsAndRemovesTheSecondColumn)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    NameColumns(g, 5);
    g.SetRowCount(4);
    struct Row {
        QString a, b, joined;
    } rows[] = {{"v1", "v2", "v1 - v2"}, {" a", "", "a -"}, {"", "", "-"}};
    for (int r = 1; r <= 3; ++r) {
        g.SetCells(1, r, rows[r - 1].a);
        g.SetCells(2, r, rows[r - 1].b);
    }
    g.MergeCols(1, 2, " - ");
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(g.Cells(1, r), rows[r - 1].joined) << r;
    EXPECT_EQ(g.Cells(1, 0), "1") << "fixed rows are not joined";
    EXPECT_EQ(Headers(g), "0,1,3,4");
    EXPECT_EQ(g.GetColors(2, 1), TColor(4)) << "column 3's cell properties moved with it";
}

// ---- clearing, colouring, trimming -----------------------------------------------------------

TEST(Content, ClearSelectionClearsWhatIsSelected)
{
    enum Mode { Rect, Rows, Cols };
    struct Case {
        const char* what;
        Mode mode;
        int hide;
        std::vector<QPoint> cleared; // (real column, row)
    } cases[] = {
        {"rectangle", Rect, -1, {{2, 2}, {3, 2}, {2, 3}, {3, 3}}},
        {"rectangle past a hidden column", Rect, 2, {{3, 2}, {4, 2}, {3, 3}, {4, 3}}},
        {"disjunct rows", Rows, -1, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}},
        {"disjunct columns", Cols, -1, {{3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}}},
        {"disjunct columns past a hidden column", Cols, 2, {{4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 4}}},
    };
    for (const Case& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetRowCount(5);
        for (int r = 0; r < 5; ++r)
            for (int col = 0; col < 5; ++col)
                g.SetCells(col, r, "x");
        if (c.hide >= 0)
            g.HideColumn(c.hide);
        if (c.mode == Rect)
            g.SetSelection({2, 2, 3, 3});
        else if (c.mode == Rows) {
            g.MouseActions().SetDisjunctRowSelect(true);
            g.SetRowSelect(2, true);
            g.SetRowSelect(4, true);
        } else {
            g.MouseActions().SetDisjunctColSelect(true);
            g.SetColSelect(3, true);
        }
        g.ClearSelection();
        for (int r = 0; r < 5; ++r)
            for (int col = 0; col < 5; ++col) {
                const bool cleared = std::find(c.cleared.begin(), c.cleared.end(), QPoint(col, r)) != c.cleared.end();
                EXPECT_EQ(g.Cells(col, r), cleared ? "" : "x") << c.what << " " << col << "," << r;
            }
    }
}

TEST(Content, ColorRectColoursTheInclusiveRectangleOnly)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.ColorRect(1, 2, 2, 3, 0x0000FF);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 5; ++c) {
            const bool in = c >= 1 && c <= 2 && r >= 2 && r <= 3;
            EXPECT_EQ(g.GetColors(c, r), in ? TColor(0x0000FF) : clNone) << c << "," << r;
        }
}

TEST(Content, TrimmingRemovesBlanksAndControlCharactersAtBothEnds)
{
    struct Case {
        QString in, out;
    } texts[] = {
        {"  a  ", "a"}, {"\tb\r\n", "b"}, {"c", "c"}, {"   ", ""}, {"a  b", "a  b"}, {QString(QChar(1)) + "d", "d"},
    };
    for (const Case& t : texts) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetCells(2, 3, t.in);
        g.TrimAll();
        EXPECT_EQ(g.Cells(2, 3), t.out) << t.in.toStdString();
    }

    // The ranges of the three forms.
    struct Range {
        const char* what;
        std::function<void(TVerIvovavOzed&)> call;
        std::function<bool(int, int)> inside;
    } ranges[] = {
        {"column", [](TVerIvovavOzed& g) { g.TrimColumn(2); }, [](int c, int) { return c == 2; }},
        {"row", [](TVerIvovavOzed& g) { g.TrimRow(3); }, [](int, int r) { return r == 3; }},
        {"rectangle", [](TVerIvovavOzed& g) { g.TrimRect(1, 1, 2, 2); },
         [](int c, int r) { return c >= 1 && c <= 2 && r >= 1 && r <= 2; }},
    };
    for (const Range& range : ranges) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetRowCount(5);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 5; ++c)
                g.SetCells(c, r, " t ");
        range.call(g);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 5; ++c)
                EXPECT_EQ(g.Cells(c, r), range.inside(c, r) ? "t" : " t ") << range.what << " " << c << "," << r;
    }
}

// ---- merging and splitting runs --------------------------------------------------------------

// The vertical merges based in a column as "first-last" pairs of rows (RowRuns: the horizontal
// merges based in a row, as pairs of columns).
QString ColumnRuns(TVerIvovavOzed& g, int col)
{
    QStringList l;
    for (int r = 0; r < g.RowCount(); ++r)
        if (g.IsBaseCell(col, r) && g.CellSpan(col, r).Y > 0)
            l << QStringLiteral("%1-%2").arg(r).arg(r + g.CellSpan(col, r).Y);
    return l.join(' ');
}

QString RowRuns(TVerIvovavOzed& g, int row)
{
    QStringList l;
    for (int c = 0; c < g.ColCount(); ++c)
        if (g.IsBaseCell(c, row) && g.CellSpan(c, row).X > 0)
            l << QStringLiteral("%1-%2").arg(c).arg(c + g.CellSpan(c, row).X);
    return l.join(' ');
}

void FillColumn(TVerIvovavOzed& g, int col, const Texts& values)
{
    g.SetRowCount(int(values.size()) + 1);
    for (int r = 1; r <= int(values.size()); ++r)
        g.SetCells(col, r, values[size_t(r - 1)]);
}

TEST(Content, MergeColumnCellsMergesRunsOfEqualTexts)
{
    struct Case {
        Texts values;
        QString runs;
    } cases[] = {
        {{"a", "a", "b", "b", "b", "c"}, "1-2 3-5"},
        {{"a", "b", "c"}, ""},
        {{"a", "A", "a"}, ""}, // exact comparison
        {{"", "", "x"}, "1-2"},
        {{"z", "z", "z"}, "1-3"},
    };
    for (const Case& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        FillColumn(g, 1, c.values);
        g.SetCells(1, 0, c.values.front()); // the fixed row never joins
        g.MergeColumnCells(1, true);
        EXPECT_EQ(ColumnRuns(g, 1), c.runs) << Joined(c.values).toStdString();
    }
}

TEST(Content, SecondaryMergeStaysInsideTheMainGroups)
{
    struct Case {
        bool main;
        QString runs;
    } cases[] = {{false, "1-2 3-4"}, {true, "1-4 5-6"}};
    for (const Case& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        FillColumn(g, 1, {"a", "a", "b", "b", "b", "c"});
        FillColumn(g, 2, {"x", "x", "x", "x", "y", "y"});
        g.MergeColumnCells(1, true);
        g.MergeColumnCells(2, c.main);
        EXPECT_EQ(ColumnRuns(g, 2), c.runs) << c.main;
    }
}

TEST(Content, MergeRowCellsMergesRunsOfEqualNeighbours)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetColCount(7);
    const char* texts[] = {"p", "p", "p", "q", "q", "r", "r"};
    for (int c = 0; c < 7; ++c)
        g.SetCells(c, 2, texts[c]);
    g.SetFixedRightCols(1); // the last column never joins
    g.MergeRowCells(2, true);
    EXPECT_EQ(RowRuns(g, 2), "1-2 3-4");
}

TEST(Content, SplittingRunsUndoesTheMerges)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillColumn(g, 1, {"a", "a", "b", "b", "b", "c"});
    FillColumn(g, 2, {"a", "a", "b", "b", "b", "c"});
    g.MergeColumnCells(1, true);
    g.MergeColumnCells(2, true);
    g.SetRowCount(8);
    g.MergeRowCells(7, true); // row 7: columns 1-4 empty
    ASSERT_EQ(g.MergeCount(), 5);

    g.SplitColumnCells(1);
    EXPECT_EQ(ColumnRuns(g, 1), "");
    EXPECT_EQ(ColumnRuns(g, 2), "1-2 3-5");
    g.SplitRowCells(7);
    EXPECT_EQ(RowRuns(g, 7), "");
    EXPECT_EQ(g.MergeCount(), 2);
    g.SplitAllCells();
    EXPECT_EQ(ColumnRuns(g, 2), "");
    EXPECT_EQ(g.MergeCount(), 0);
}

TEST(Content, EditingTheMergedColumnsListMergesAgain)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillColumn(g, 1, {"a", "a", "b", "b", "b", "c"});
    FillColumn(g, 2, {"x", "x", "x", "x", "y", "y"});
    struct Step {
        const char* what;
        std::function<void(TIntList&)> edit;
        QString runs1, runs2;
    } steps[] = {
        {"column 1 listed", [](TIntList& l) { l.Add(1); }, "1-2 3-5", ""},
        {"column 2 follows the groups of 1", [](TIntList& l) { l.Add(2); }, "1-2 3-5", "1-2 3-4"},
        {"column 2 alone is the main merge", [](TIntList& l) { l.Delete(0); }, "", "1-4 5-6"},
        {"nothing listed", [](TIntList& l) { l.Delete(0); }, "", ""},
        {"a column past the grid is passed over", [](TIntList& l) { l.Add(40); }, "", ""},
    };
    for (const Step& s : steps) {
        s.edit(g.MergedColumns());
        EXPECT_EQ(ColumnRuns(g, 1), s.runs1) << s.what;
        EXPECT_EQ(ColumnRuns(g, 2), s.runs2) << s.what;
    }
}

// ---- queries ---------------------------------------------------------------------------------

TEST(Content, CellQueries)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    struct Wide {
        QString text;
        bool wide;
    } wide[] = {{"|\\abc", true}, {"abc|\\", false}, {"|abc", false}, {"", false}};
    for (const Wide& w : wide) {
        g.SetCells(1, 1, w.text);
        EXPECT_EQ(g.IsWideCell(1, 1), w.wide) << w.text.toStdString();
    }

    g.SetCells(3, 2, "needle");
    g.SetCells(1, 4, "needle");
    g.SetCells(2, 2, "Needle");
    int col = -1, row = -1;
    EXPECT_TRUE(g.IsCell("needle", col, row));
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 2);
    col = row = -7;
    EXPECT_FALSE(g.IsCell("need", col, row));
    EXPECT_EQ(col, -7) << "no match leaves the indexes";
    EXPECT_TRUE(g.IsCell("Needle", col, row));
    EXPECT_EQ(col, 2);
}

} // namespace
