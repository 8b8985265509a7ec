// The string grid: defaults, hidden columns and rows, selection, row flags, structure edits and
// check boxes.
#include "GridHost.h"
#include "grid/AdvGrid.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A grid inside a window, as every grid of the program is.
using kt_test::GridHost;

void FillRows(TVerIvovavOzed& g)
{
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.TotalColCount(); ++c)
            g.SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
}

TEST(AdvGrid, NewGridHasTheDesignedDefaults)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    struct Case {
        const char* what;
        QVariant got;
        QVariant want;
    } cases[] = {
        {"ColCount", g.ColCount(), 5},
        {"RowCount", g.RowCount(), 10},
        {"FixedCols", g.FixedCols(), 1},
        {"FixedRows", g.FixedRows(), 1},
        {"FixedFooters", g.FixedFooters(), 0},
        {"FixedRightCols", g.FixedRightCols(), 0},
        {"DefaultRowHeight", g.DefaultRowHeight(), 22},
        {"FixedRowHeight", g.FixedRowHeight(), 22},
        {"FixedColWidth", g.FixedColWidth(), 64},
        {"width", g.width(), 400},
        {"height", g.height(), 250},
        {"FloatFormat", g.FloatFormat(), QStringLiteral("%.2f")},
        {"CheckTrue", g.CheckTrue(), QStringLiteral("Y")},
        {"CheckFalse", g.CheckFalse(), QStringLiteral("N")},
        {"FilterDropDownClear", g.FilterDropDownClear(), QStringLiteral("(All)")},
        {"XMLEncoding", g.XMLEncoding(), QStringLiteral("ISO-8859-1")},
        {"FixedFont name", g.FixedFont().Name(), QStringLiteral("Tahoma")},
        {"FixedFont bold", bool(g.FixedFont().Style() & fsBold), true},
        {"ActiveCellFont bold", bool(g.ActiveCellFont().Style() & fsBold), true},
        {"ActiveCellColor", g.ActiveCellColor(), 0x808080},
        {"ActiveCellColorTo", g.ActiveCellColorTo(), clNone},
        {"DisabledFontColor", g.DisabledFontColor(), 0xC0C0C0},
        {"HintColor", g.HintColor(), int(0xFF000018)},
        {"SelectionColor", g.SelectionColor(), 0xEACAB6},
        {"SelectionTextColor", g.SelectionTextColor(), 0},
        {"SelectionColorMixerFactor", g.SelectionColorMixerFactor(), 50},
        {"URLColor", g.URLColor(), 0xFF0000},
        {"BorderColor", g.BorderColor(), 0xB99D7F},
        {"Look", int(g.Look()), int(glXP)},
        {"InvalidEntryIcon", int(g.InvalidEntryIcon()), int(ieWarning)},
        {"HintShowLargeTextPos", int(g.HintShowLargeTextPos()), int(hpCell)},
        {"IntelliPan", int(g.IntelliPan()), int(ipVertical)},
        {"EnhRowColMove", g.EnhRowColMove(), true},
        {"WordWrap", g.WordWrap(), true},
        {"ShowSelection", g.ShowSelection(), true},
        {"AutoSize", g.AutoSize(), false},
        {"HintShowCells", g.HintShowCells(), false},
        {"MaxEditLength", g.MaxEditLength(), 0},
        {"NumHiddenColumns", g.NumHiddenColumns(), 0},
        {"NumHiddenRows", g.NumHiddenRows(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(AdvGrid, AssignFromAnotherKindOfObjectChangesNothing)
{
    GridHost h;
    h.grid->SetCells(1, 1, "x");
    QObject other;
    h.grid->Assign(&other);
    EXPECT_EQ(h.grid->ColCount(), 5);
    EXPECT_EQ(h.grid->Cells(1, 1), "x");
}

TEST(AdvGrid, HiddenColumnKeepsItsTextsAndComesBackWithItsWidth)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillRows(g);
    g.SetColWidths(2, 90);
    g.HideColumn(2);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.NumHiddenColumns(), 1);
    EXPECT_EQ(g.TotalColCount(), 5);
    EXPECT_TRUE(g.IsHiddenColumn(2));
    EXPECT_EQ(g.Cells(2, 3), "2:3");
    EXPECT_EQ(g.RealColIndex(2), 3);
    EXPECT_EQ(g.DisplColIndex(3), 2);
    EXPECT_EQ(g.DisplColIndex(2), 2);
    EXPECT_EQ(g.AllColWidths(2), 90);
    g.SetCells(2, 4, "written while hidden");

    g.HideColumn(2); // already hidden: nothing
    EXPECT_EQ(g.NumHiddenColumns(), 1);

    g.UnHideColumn(2);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_FALSE(g.IsHiddenColumn(2));
    EXPECT_EQ(g.ColWidths(2), 90);
    EXPECT_EQ(g.Cells(2, 4), "written while hidden");
    EXPECT_EQ(g.RealColIndex(3), 3);
}

TEST(AdvGrid, HidingColumnsStopsAtTheLastShownAndIgnoresHighIndexes)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.HideColumns(0, 10);
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.NumHiddenColumns(), 4);
    g.UnHideColumnsAll();
    EXPECT_EQ(g.ColCount(), 5);

    for (int c : {512, 513, 700}) {
        EXPECT_FALSE(g.IsHiddenColumn(c)) << c;
    }
    g.SetColCount(600);
    g.HideColumn(550);
    EXPECT_EQ(g.NumHiddenColumns(), 0);
    // Columns at 512 and above still map right when a lower column is hidden.
    g.HideColumn(3);
    EXPECT_EQ(g.RealColIndex(550), 551);
    EXPECT_EQ(g.DisplColIndex(551), 550);
}

TEST(AdvGrid, HidingTheCurrentLastColumnMovesTheCurrentColumnLeft)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetCol(4);
    ASSERT_EQ(g.Col(), 4);
    g.HideColumn(4);
    EXPECT_EQ(g.Col(), 3);
}

TEST(AdvGrid, HiddenRowsLeaveTheStoreAndComeBackWithTextsHeightsAndHiddenColumns)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillRows(g);
    g.SetRowHeights(3, 30);
    g.SetRowHeights(4, 40);
    g.HideColumn(2);
    g.HideRows(3, 4);
    EXPECT_EQ(g.RowCount(), 8);
    EXPECT_EQ(g.NumHiddenRows(), 2);
    EXPECT_EQ(g.RealRowIndex(3), 5);
    EXPECT_EQ(g.DisplRowIndex(5), 3);
    EXPECT_TRUE(g.IsHiddenRow(4));
    EXPECT_EQ(g.Cells(1, 3), "1:5");
    EXPECT_EQ(g.GetCellsEx(1, 3), "1:3");
    EXPECT_EQ(g.GetCellsEx(2, 3), "2:3"); // hidden column of a hidden row
    EXPECT_EQ(g.GetCellsEx(-1, 3), "");
    EXPECT_EQ(g.GetCellsEx(40, 3), ""); // past the stored row: empty, no harm

    g.SetCellsEx(1, 3, "x");
    EXPECT_EQ(g.Cells(1, 3), "1:5");

    // Hiding a range that holds already hidden rows keeps their heights and order.
    g.HideRows(2, 4);
    EXPECT_EQ(g.NumHiddenRows(), 3);
    EXPECT_EQ(g.RowCount(), 7);

    g.UnHideRowsAll();
    EXPECT_EQ(g.NumHiddenRows(), 0);
    EXPECT_EQ(g.RowCount(), 10);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(g.Cells(1, r), r == 3 ? QString("x") : QStringLiteral("1:%1").arg(r)) << r;
    EXPECT_EQ(g.Cells(2, 4), "2:4");
    EXPECT_EQ(g.RowHeights(3), 30);
    EXPECT_EQ(g.RowHeights(4), 40);
}

// The records of rows shown again are used for later hidden rows: they come back empty, so a
// row hidden by HideRows is not taken for a row a node hid, nor given another row's object.
TEST(AdvGrid, RowsHiddenAfterOthersCameBackCarryNothingOfThem)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillRows(g);
    g.AddNode(2, 4); // rows 3 .. 5 under the node; its properties are an object in row 2
    g.ContractNode(2);
    g.ExpandNode(2);
    g.ContractNode(2);
    g.ExpandAll();
    ASSERT_EQ(g.NumHiddenRows(), 0);
    g.HideRows(6, 8);
    g.ExpandAll(); // shows only rows a node hid
    EXPECT_EQ(g.NumHiddenRows(), 3);
    EXPECT_EQ(g.RowCount(), 7);
    for (int r = 6; r <= 8; ++r) {
        const TGridStrings* s = g.GetHiddenRowItems(r);
        ASSERT_NE(s, nullptr) << r;
        for (int c = 0; c < s->Count(); ++c)
            EXPECT_FALSE(s->Object(c)) << r << ":" << c;
    }
    g.UnHideRowsAll();
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(g.Cells(1, r), QStringLiteral("1:%1").arg(r)) << r;
}

TEST(AdvGrid, UnhidingARangeKeepsTheOrderOfShownRowsInside)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillRows(g);
    g.HideRow(3);
    g.HideRow(5);
    g.UnHideRows(3, 6);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(g.Cells(0, r), QStringLiteral("0:%1").arg(r)) << r;
}

TEST(AdvGrid, WritingRowFiresTheRowEventsOncePerChange)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    std::vector<std::pair<int, int>> updates, changes;
    g.OnRowUpdate = [&](QObject*, int o, int n) { updates.push_back({o, n}); };
    g.OnRowChanged = [&](QObject*, int o, int n) { changes.push_back({o, n}); };
    g.SetRow(4);
    g.SetRow(4);
    g.SetRow(6);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].second, 4);
    EXPECT_EQ(changes[1], std::make_pair(4, 6));
    EXPECT_EQ(g.Row(), 6);
    // Both events share the remembered row: the first to fire reports the change.
    EXPECT_TRUE(updates.empty());
}

TEST(AdvGrid, SelectRowsIsCutAtTheLastRow)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    struct Case {
        int from, count;
        TGridRect want;
    } cases[] = {
        {3, 1, {1, 3, 4, 3}},
        {9, 5, {1, 9, 4, 9}},
        {7, 10, {1, 7, 4, 9}},
    };
    for (const Case& c : cases) {
        g.SelectRows(c.from, c.count);
        EXPECT_EQ(g.Selection(), c.want) << c.from << "+" << c.count;
        EXPECT_EQ(g.Row(), c.want.Bottom);
        EXPECT_EQ(g.Col(), g.ColCount() - 1);
    }
}

TEST(AdvGrid, DisjunctRowSelection)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.MouseActions().SetDisjunctRowSelect(true);
    int asked = 0, told = 0;
    g.OnRowDisjunctSelect = [&](QObject*, int, bool, bool&) { ++asked; };
    g.OnRowDisjunctSelected = [&](QObject*, int) { ++told; };
    g.SetRowSelect(3, true);
    g.SetRowSelect(3, true);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(told, 2);
    EXPECT_EQ(g.SelectedRows().Count(), 1);
    g.SetRowSelect(0, true); // a fixed row: selected, never in the list of selected rows
    EXPECT_TRUE(g.RowSelect(0));
    EXPECT_EQ(g.SelectedRows().Count(), 1);

    EXPECT_FALSE(g.RowSelect(-1));
    EXPECT_THROW(g.SetRowSelect(g.RowCount(), true), ZUzeRodoRediv);
    EXPECT_THROW(g.RowSelect(g.RowCount()), ZUzeRodoRediv);
    EXPECT_NO_THROW(g.SetRowSelect(g.RowCount() - 1, true));
    EXPECT_THROW(g.ColSelect(-1), ZUzeRodoRediv);
}

TEST(AdvGrid, FixedRowAlwaysKeepsTheFixedArea)
{
    QWidget w;
    TVerIvovavOzed g(&w);
    g.SetRowCount(3);
    g.SetFixedRowAlways(true);
    g.SetFixedRows(5);
    EXPECT_EQ(g.FixedRows(), 2);
    g.SetRowCount(8);
    EXPECT_EQ(g.FixedRows(), 5);
}

TEST(AdvGrid, DisablingTheCurrentRowMovesToTheNextEnabledRow)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetRow(1);
    g.SetRowEnabled(2, false);
    g.SetRowEnabled(1, false);
    EXPECT_EQ(g.Row(), 3);
    EXPECT_FALSE(g.RowEnabled(1));
    EXPECT_TRUE(g.RowEnabled(30));
}

TEST(AdvGrid, RemoveRowsMovesRowsUpAndLeavesNoGhosts)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetRowCount(5);
    FillRows(g);
    g.SetRowHeights(3, 33);
    g.SetColors(1, 4, 0x123456);
    const int maxRows = g.MaxRowCount();
    TRect changed{-1, -1, -1, -1};
    g.OnCellsChanged = [&](QObject*, TRect r) { changed = r; };
    g.RemoveRows(2, 1);
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.Cells(1, 2), "1:3");
    EXPECT_EQ(g.Cells(1, 3), "1:4");
    EXPECT_EQ(g.RowHeights(2), 33);
    EXPECT_EQ(g.GetColors(1, 3), 0x123456);
    EXPECT_EQ(g.MaxRowCount(), maxRows - 1);
    EXPECT_EQ(changed, (TRect{0, 2, g.ColCount() - 1, 3}));
    // The vacated row holds nothing that a larger count could show again.
    g.SetRowCount(5);
    EXPECT_EQ(g.Cells(1, 4), "");
    EXPECT_FALSE(g.HasCellProperties(1, 4));

    // A count past the end is cut to the rows there are.
    g.RemoveRows(3, 50);
    EXPECT_EQ(g.RowCount(), 3);
}

TEST(AdvGrid, RemovingAndInsertingRowsKeepsHiddenRowsInPlace)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillRows(g);
    g.HideRow(6);
    g.RemoveRows(2, 1); // real row 2 goes: the hidden row is now real row 5
    g.InsertRows(1, 2); // two new rows above: it is real row 7
    g.UnHideRowsAll();
    EXPECT_EQ(g.Cells(0, 7), "0:6");
    EXPECT_EQ(g.Cells(0, 6), "0:5");
    EXPECT_EQ(g.Cells(0, 8), "0:7");
    EXPECT_EQ(g.Cells(0, 1), "");
    EXPECT_EQ(g.RowCount(), 11);
}

TEST(AdvGrid, InsertingRowsKeepsRowFlagsWithTheirRows)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.MouseActions().SetDisjunctRowSelect(true);
    g.SetRowSelect(4, true);
    g.SetRowEnabled(5, false);
    g.InsertRows(2, 1);
    EXPECT_TRUE(g.RowSelect(5));
    EXPECT_FALSE(g.RowSelect(4));
    EXPECT_FALSE(g.RowEnabled(6));
    EXPECT_TRUE(g.RowEnabled(5));
}

TEST(AdvGrid, CheckBoxes)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    EXPECT_THROW(g.AddCheckBox(g.ColCount() + g.NumHiddenColumns(), 1, cbChecked), ZUzeRodoRediv);
    try {
        g.AddCheckBox(1, g.RowCount(), false, false);
        FAIL();
    } catch (const ZUzeRodoRediv& e) {
        EXPECT_STREQ(e.what(), "Invalid cell");
    }

    g.AddCheckBoxColumn(1, false, false); // plain boxes: the state lives in the cell object
    g.AddCheckBoxColumn(2, true, true);   // data boxes: the state is the text
    bool state = true;
    EXPECT_TRUE(g.GetCheckBoxState(1, 3, state));
    EXPECT_FALSE(state);
    EXPECT_TRUE(g.SetCheckBoxState(1, 3, true));
    EXPECT_TRUE(g.GetCheckBoxState(1, 3, state));
    EXPECT_TRUE(state);
    EXPECT_EQ(g.Cells(1, 3), "");

    EXPECT_EQ(g.Cells(2, 3), "Y");
    EXPECT_TRUE(g.SetCheckBoxState(2, 3, false));
    EXPECT_EQ(g.Cells(2, 3), "N");
    EXPECT_TRUE(g.GetCheckBoxState(2, 3, state));
    EXPECT_FALSE(state);
    g.SetCells(2, 3, "Y");
    EXPECT_TRUE(g.IsChecked(2, 3));

    // No box: false, state untouched, and the header row holds none.
    state = true;
    EXPECT_FALSE(g.GetCheckBoxState(3, 3, state));
    EXPECT_TRUE(state);
    EXPECT_FALSE(g.SetCheckBoxState(3, 3, false));
    EXPECT_FALSE(g.HasCheckBox(1, 0));

    // A hidden column's cells take boxes by their real index.
    g.HideColumn(4);
    EXPECT_NO_THROW(g.AddCheckBox(4, 1, cbChecked));
    TCheckBoxState tri = cbUnchecked;
    EXPECT_TRUE(g.GetCheckBoxState(4, 1, tri));
    EXPECT_EQ(tri, cbChecked);
}

TEST(AdvGrid, PropertyReadsCreateNothingButWordWraps)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    EXPECT_EQ(g.GetColors(2, 2), clNone);
    EXPECT_EQ(g.GetFontColors(2, 2), clNone);
    EXPECT_FALSE(g.GetReadOnly(2, 2));
    EXPECT_FALSE(g.HasCellProperties(2, 2));
    g.GetWordWraps(2, 2);
    EXPECT_TRUE(g.HasCellProperties(2, 2));

    // A fixed cell's new properties carry no background of their own.
    EXPECT_EQ(g.GetCellProperties(0, 2)->BrushColor(), clNone);

    g.SetColors(0, 5, 0x00FF00);
    g.SetColors(2, 5, 0x0000FF);
    g.SetRowColor(5, clNone);
    EXPECT_EQ(g.GetColors(0, 5), 0x00FF00);
    EXPECT_EQ(g.GetColors(2, 5), clNone);
}

TEST(AdvGrid, OrderIndependentTexts)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillRows(g);
    EXPECT_EQ(g.UnSortedRowIndex(5), 5);
    g.MoveColumn(1, 3);
    EXPECT_EQ(g.GetOriginalCells(1, 2), "1:2");
    EXPECT_EQ(g.Cells(3, 2), "1:2");

    g.SortRowXRef().Add(2);
    g.SortRowXRef().Add(1);
    EXPECT_EQ(g.GetUnSortedCell(0, 2), g.Cells(0, 0));
    EXPECT_EQ(g.GetUnSortedCell(0, 1), g.Cells(0, 1)); // not in the list: the row itself
    EXPECT_EQ(g.ColumnByHeader("no such header"), -1);
    EXPECT_EQ(g.ColumnByHeader("2:0"), 1); // moved left by the column move above
}

TEST(AdvGrid, MovingAColumnWithHiddenColumnsMovesTheRealColumns)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillRows(g);
    g.HideColumn(2);
    g.MoveColumn(1, 3); // displayed 1 (real 1) to displayed 3 (real 4)
    const QString want[] = {"0:1", "2:1", "3:1", "4:1", "1:1"};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(g.Cells(c, 1), want[c]) << c;
    EXPECT_TRUE(g.IsHiddenColumn(1)); // the hidden column moved one place left with the others
}

TEST(AdvGrid, ResetColumnOrderPutsMovedColumnsBack)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    FillRows(g);
    g.MoveColumn(1, 4);
    g.MoveColumn(3, 0);
    g.ResetColumnOrder();
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(g.Cells(c, 1), QStringLiteral("%1:1").arg(c)) << c;
}

} // namespace
