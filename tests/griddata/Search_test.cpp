// Find, replace and the typing lookup of the string grid: orders, restrictions, empty cells,
// the empty search text, replacing, and moving to a row by typing in a sorted grid.
#include "grid/AdvGrid.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

// 1 fixed column, 1 fixed row, 3 data columns, 3 data rows; the data cells of each column:
//        col1  col2  col3
//  row1  ab    x     Ab
//  row2  cab   ab    ""
//  row3  zz    AB    abc
struct FindGrid {
    QWidget window;
    TVerIvovavOzed* grid;
    FindGrid()
    {
        grid = new TVerIvovavOzed(&window);
        grid->SetColCount(4);
        grid->SetRowCount(4);
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
        const char* cells[3][3] = {{"ab", "x", "Ab"}, {"cab", "ab", ""}, {"zz", "AB", "abc"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                grid->SetCells(c + 1, r + 1, QString::fromLatin1(cells[r][c]));
        grid->SetCells(0, 1, QStringLiteral("ab")); // a fixed cell
        grid->SetCells(1, 0, QStringLiteral("ab")); // a header cell
        window.resize(400, 250);
        grid->setGeometry(0, 0, 400, 250);
    }
    // Every cell FindFirst and FindNext give until (-1, -1).
    std::vector<TPoint> All(const QString& s, TFindParams p)
    {
        std::vector<TPoint> out;
        for (TPoint c = grid->FindFirst(s, p); c.X >= 0; c = grid->FindNext()) {
            out.push_back(c);
            if (out.size() > 20)
                break; // a search that never ends shows as a long list
        }
        return out;
    }
};

using Cells = std::vector<TPoint>;

TEST(Search, OrdersAndRestrictions)
{
    struct Case {
        const char* name;
        QString text;
        TFindParams params;
        Cells expected;
    };
    const Case cases[] = {
        {"down columns, case ignored", "ab", {}, {{1, 1}, {1, 2}, {2, 2}, {2, 3}, {3, 1}, {3, 3}}},
        {"along rows", "ab", fnDirectionLeftRight, {{1, 1}, {3, 1}, {1, 2}, {2, 2}, {2, 3}, {3, 3}}},
        {"backwards down columns", "ab", fnBackward, {{3, 3}, {3, 1}, {2, 3}, {2, 2}, {1, 2}, {1, 1}}},
        {"case kept", "ab", fnMatchCase, {{1, 1}, {1, 2}, {2, 2}, {3, 3}}},
        {"start of the cell", "ab", fnMatchStart, {{1, 1}, {2, 2}, {2, 3}, {3, 1}, {3, 3}}},
        {"whole cell", "ab", fnMatchFull, {{1, 1}, {2, 2}, {2, 3}, {3, 1}}},
        {"two quotes find the empty cells", "\"\"", {}, {{3, 2}}},
        {"an empty text finds nothing", "", {}, {}},
        {"fixed cells too", "ab", fnIncludeFixed | fnMatchFull, {{0, 1}, {1, 0}, {1, 1}, {2, 2}, {2, 3}, {3, 1}}},
        {"a condition", "a*", fnMatchRegular, {{1, 1}, {2, 2}, {2, 3}, {3, 1}, {3, 3}}},
    };
    for (const Case& c : cases) {
        FindGrid t;
        const Cells got = t.All(c.text, c.params);
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(Search, CurrentAndPresetRowsAndColumnsVisitEachCellOnce)
{
    // A continued search held to one row (or column) moves along it rather than coming back to
    // the start cell, in both orders.
    struct Case {
        const char* name;
        TFindParams params;
        Cells expected;
    };
    const Case cases[] = {
        {"current row, down columns", fnFindInCurrentRow, {{1, 2}, {2, 2}}},
        {"current row, along rows", fnFindInCurrentRow | fnDirectionLeftRight, {{1, 2}, {2, 2}}},
        {"preset row backwards", fnFindInPresetRow | fnBackward, {{2, 2}, {1, 2}}},
        {"current column, along rows", fnFindInCurrentCol | fnDirectionLeftRight, {{2, 2}, {2, 3}}},
        {"preset column, down columns", fnFindInPresetCol, {{2, 2}, {2, 3}}},
    };
    for (const Case& c : cases) {
        FindGrid t;
        t.grid->FocusCell(2, 2);
        t.grid->SetFindRow(2);
        t.grid->SetFindCol(2);
        EXPECT_EQ(t.All(QStringLiteral("ab"), c.params), c.expected) << c.name;
    }
}

TEST(Search, RangesIgnoredColumnsAndRestart)
{
    FindGrid t;
    TVerIvovavOzed& g = *t.grid;
    // A column listed as ignored is never found, in either direction.
    g.IgnoreColumns().Add(2);
    EXPECT_EQ(t.All(QStringLiteral("ab"), {}), (Cells{{1, 1}, {1, 2}, {3, 1}, {3, 3}}));
    EXPECT_EQ(t.All(QStringLiteral("ab"), fnBackward), (Cells{{3, 3}, {3, 1}, {1, 2}, {1, 1}}));
    g.IgnoreColumns().Clear();

    // Only the selection.
    g.SetSelection({2, 2, 3, 3});
    EXPECT_EQ(t.All(QStringLiteral("ab"), fnSelectedCells), (Cells{{2, 2}, {2, 3}, {3, 3}}));

    // No wrap-around: the end gives (-1, -1), and the next FindNext starts at the first match.
    EXPECT_EQ(g.FindFirst(QStringLiteral("zz"), {}), TPoint(1, 3));
    EXPECT_EQ(g.FindNext(), TPoint(-1, -1));
    EXPECT_EQ(g.FindNext(), TPoint(1, 3));

    // A found cell becomes current with fnAutoGoto.
    g.FocusCell(1, 1);
    EXPECT_EQ(g.FindFirst(QStringLiteral("abc"), fnAutoGoto), TPoint(3, 3));
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(g.Row(), 3);

}

// Records the progress calls of the search.
class ProgressGrid : public TVerIvovavOzed {
public:
    using TVerIvovavOzed::TVerIvovavOzed;
    std::vector<std::pair<TGridExportState, int>> calls;
    void ExportNotification(TGridExportState AState, int ARow) override { calls.push_back({AState, ARow}); }
};

TEST(Search, ReportsProgressPerCellAndTheOutcome)
{
    ProgressGrid g;
    g.SetColCount(2);
    g.SetRowCount(3);
    g.SetCells(1, 2, QStringLiteral("x"));
    EXPECT_EQ(g.FindFirst(QStringLiteral("x"), {}), TPoint(1, 2));
    using C = std::vector<std::pair<TGridExportState, int>>;
    EXPECT_EQ(g.calls, (C{{esExportStart, -1}, {esExportNewRow, 1}, {esExportNewRow, 2}, {esExportFail, -1}}));
    g.calls.clear();
    EXPECT_EQ(g.FindNext(), TPoint(-1, -1));
    EXPECT_EQ(g.calls, (C{{esExportStart, -1}, {esExportDone, -1}}));
}

TEST(Search, HiddenRowsAndColumns)
{
    FindGrid t;
    TVerIvovavOzed& g = *t.grid;
    g.HideRow(2); // cab / ab / ""
    EXPECT_EQ(t.All(QStringLiteral("cab"), {}), Cells{});
    // With hidden rows the indexes are real rows.
    EXPECT_EQ(t.All(QStringLiteral("cab"), fnIncludeHiddenRows), (Cells{{1, 2}}));
    g.UnHideRow(2);
    g.HideColumn(1);
    EXPECT_EQ(t.All(QStringLiteral("zz"), {}), Cells{});
    EXPECT_EQ(t.All(QStringLiteral("zz"), fnIncludeHiddenColumns), (Cells{{1, 3}}));
}

TEST(Search, AutoGotoOpensTheNodeAroundAHiddenFind)
{
    FindGrid t;
    TVerIvovavOzed& g = *t.grid;
    g.AddNode(1, 3); // rows 1..3, rows 2 and 3 inside
    g.ContractNode(1);
    ASSERT_TRUE(g.IsHiddenRow(3));
    const TPoint hit = g.FindFirst(QStringLiteral("zz"), fnIncludeHiddenRows | fnAutoGoto);
    EXPECT_FALSE(g.IsHiddenRow(3));
    EXPECT_FALSE(g.GetNodeState(1)) << "the node is open";
    EXPECT_EQ(hit, TPoint(1, 3));
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.Col(), 1);
}

TEST(Search, ReplaceChangesEachCellOnce)
{
    {
        FindGrid t;
        TVerIvovavOzed& g = *t.grid;
        g.SetCells(1, 1, QStringLiteral("x1"));
        g.SetCells(2, 1, QStringLiteral("X2"));
        EXPECT_EQ(g.Replace(QStringLiteral("x"), QStringLiteral("y"), {}), 2);
        EXPECT_EQ(g.Cells(1, 1), QStringLiteral("y1"));
        EXPECT_EQ(g.Cells(2, 1), QStringLiteral("y2"));
    }
    {
        // The new text holding the old one, and a search held to one row: each cell once.
        FindGrid t;
        TVerIvovavOzed& g = *t.grid;
        g.FocusCell(1, 2);
        EXPECT_EQ(g.Replace(QStringLiteral("ab"), QStringLiteral("abab"), fnFindInCurrentRow), 2);
        EXPECT_EQ(g.Cells(1, 2), QStringLiteral("cabab"));
        EXPECT_EQ(g.Cells(2, 2), QStringLiteral("abab"));
        EXPECT_EQ(g.Cells(1, 1), QStringLiteral("ab"));
        // Case is ignored in the replace even when the find keeps it.
        EXPECT_EQ(g.Replace(QStringLiteral("Ab"), QStringLiteral("q"), fnMatchCase), 1);
        EXPECT_EQ(g.Cells(3, 1), QStringLiteral("q"));
    }
    {
        // Rows marked modified when that is shown.
        FindGrid t;
        TVerIvovavOzed& g = *t.grid;
        g.ShowModified().SetEnabled(true);
        EXPECT_EQ(g.Replace(QStringLiteral("zz"), QStringLiteral("y"), {}), 1);
        EXPECT_TRUE(g.RowModified(3));
        EXPECT_FALSE(g.RowModified(1));
    }
}

TEST(Search, TypingMovesToTheRowInTheSortColumn)
{
    QWidget window;
    auto* grid = new TVerIvovavOzed(&window);
    grid->SetColCount(3);
    grid->SetRowCount(6);
    const char* names[] = {"Apple", "Banana", "<b>Berry</b>", "brick", "Cherry"};
    for (int r = 0; r < 5; ++r)
        grid->SetCells(2, r + 1, QString::fromLatin1(names[r]));
    grid->SortSettings().SetShow(true);
    grid->SortSettings().SetColumn(2);
    grid->Navigation().SetAutoGotoWhenSorted(true);
    grid->Navigation().SetAutoGotoIncremental(true);
    window.resize(400, 250);
    grid->setGeometry(0, 0, 400, 250);
    window.show();
    grid->setFocus();

    EXPECT_EQ(grid->Search(QStringLiteral("BE")), 3) << "tags are not part of the text";
    EXPECT_EQ(grid->Search(QStringLiteral("X")), -1);

    QTest::keyClick(grid, Qt::Key_B);
    EXPECT_EQ(grid->Row(), 2);
    QTest::keyClick(grid, Qt::Key_R);
    EXPECT_EQ(grid->Row(), 4) << "Br: brick";
    QTest::keyClick(grid, Qt::Key_Backspace);
    QTest::keyClick(grid, Qt::Key_E);
    EXPECT_EQ(grid->Row(), 3) << "Be: Berry";
    // A text that matches nothing is forgotten: the next letter starts afresh.
    QTest::keyClick(grid, Qt::Key_X);
    EXPECT_EQ(grid->Row(), 3);
    QTest::keyClick(grid, Qt::Key_C);
    EXPECT_EQ(grid->Row(), 5);

    // Without the incremental mode each letter stands alone.
    grid->Navigation().SetAutoGotoIncremental(false);
    QTest::keyClick(grid, Qt::Key_A);
    EXPECT_EQ(grid->Row(), 1);
    QTest::keyClick(grid, Qt::Key_B);
    EXPECT_EQ(grid->Row(), 2);

    // Without a shown sort the first column is used; a grid of one row has nothing to look up.
    grid->SortSettings().SetShow(false);
    EXPECT_EQ(grid->Search(QStringLiteral("A")), -1);
    grid->SetRowCount(1);
    EXPECT_EQ(grid->Search(QString()), -1);
}

} // namespace
