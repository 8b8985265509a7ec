// The grid's keyboard as a user drives it: the space bar on data check boxes, Tab and the arrows
// over normal, read-only and hidden columns, Enter on cells that may not be edited, Home and End,
// and the row keys.
#include "tests/gridedit/GridFixture.h"
#include "grid/AdvCGrid.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A column grid set up like a rule table: row numbers, a text column, an "Enable" data check
// box, a read-only data check box and a read-only text column.
struct TableGrid {
    QWidget window;
    TZidIzavodUraz* grid;
    TableGrid(int rows = 4)
    {
        grid = new TZidIzavodUraz(&window);
        grid->SetColCount(5);
        grid->SetRowCount(rows);
        grid->SetOptions(grid->Options() | goTabs);
        grid->Columns().Items(2)->SetEditor(edDataCheckBox);
        grid->Columns().Items(3)->SetEditor(edDataCheckBox);
        grid->Columns().Items(3)->SetReadOnly(true);
        grid->Columns().Items(4)->SetReadOnly(true);
        for (int r = 1; r < rows; ++r) {
            grid->SetCells(1, r, QString("t%1").arg(r));
            grid->SetCells(2, r, "Y");
            grid->SetCells(3, r, "N");
        }
        grid->Loaded();
        kt_test::Show_Filled(window, grid, 700, 300);
        grid->setFocus();
        QCoreApplication::processEvents();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(grid, k, m);
        QCoreApplication::processEvents();
    }
    void go(int c, int r)
    {
        grid->MoveToCell(c, r);
        QCoreApplication::processEvents();
    }
};

struct CheckClick {
    int col, row;
    bool state;
};

TEST(InputKeys, SpaceTogglesAnEditableDataCheckBoxOnly)
{
    TableGrid t;
    std::vector<CheckClick> clicks;
    t.grid->OnCheckBoxClick = [&](QObject*, int c, int r, bool s) { clicks.push_back({c, r, s}); };
    t.go(2, 1);
    t.key(Qt::Key_Space);
    EXPECT_EQ(t.grid->Cells(2, 1), "N");
    t.key(Qt::Key_Space);
    EXPECT_EQ(t.grid->Cells(2, 1), "Y");
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].col, 2);
    EXPECT_EQ(clicks[0].row, 1);
    EXPECT_FALSE(clicks[0].state);
    EXPECT_TRUE(clicks[1].state);
    EXPECT_FALSE(t.grid->EditorMode()) << "a data check box never opens an editor";

    // A read-only column keeps its text, unless check boxes are always active.
    t.go(3, 2);
    t.key(Qt::Key_Space);
    EXPECT_EQ(t.grid->Cells(3, 2), "N");
    EXPECT_EQ(clicks.size(), 2u);
    t.grid->ControlLook().CheckAlwaysActive = true;
    t.key(Qt::Key_Space);
    EXPECT_EQ(t.grid->Cells(3, 2), "Y");
    EXPECT_EQ(clicks.size(), 3u);
}

TEST(InputKeys, SpaceReportsTheRealColumnBehindHiddenColumns)
{
    TableGrid t;
    t.grid->HideColumn(1);
    ASSERT_EQ(t.grid->ColCount(), 4);
    int col = -1;
    t.grid->OnCheckBoxClick = [&](QObject*, int c, int, bool) { col = c; };
    t.go(1, 2); // displayed column 1 shows real column 2
    t.key(Qt::Key_Space);
    EXPECT_EQ(t.grid->Cells(2, 2), "N");
    EXPECT_EQ(col, 2);
}

TEST(InputKeys, EnterOnACellThatMayNotBeEditedFiresKeyDownOnce)
{
    TableGrid t;
    int keyDowns = 0;
    int keyPresses = 0;
    t.grid->OnKeyDown = [&](QObject*, Word& k, TShiftState) {
        if (k == VK_RETURN)
            ++keyDowns;
    };
    t.grid->OnKeyPress = [&](QObject*, QChar& ch) {
        if (ch == QChar(13))
            ++keyPresses;
    };
    t.go(4, 1);
    t.key(Qt::Key_Return);
    EXPECT_EQ(keyDowns, 1);
    EXPECT_EQ(keyPresses, 1) << "the character still reaches the key-press step";
    EXPECT_FALSE(t.grid->EditorMode());
    EXPECT_EQ(t.grid->Col(), 4);
}

TEST(InputKeys, TabWalksTheTabStopsAndWraps)
{
    TableGrid t;
    struct Case {
        int fromCol, fromRow;
        Qt::KeyboardModifiers mods;
        int toCol, toRow;
    } cases[] = {
        {1, 1, Qt::NoModifier, 2, 1},   // to the next column
        {4, 1, Qt::NoModifier, 1, 2},   // from the end of a row to the first tab stop of the next
        // Back from an editable cell: editing is on, so the read-only columns are no stops.
        {1, 2, Qt::ShiftModifier, 2, 1},
        {1, 1, Qt::ShiftModifier, 2, 3}, // from the very first stop to the very last
    };
    t.grid->Navigation().SetAdvanceAutoEdit(false);
    for (const Case& c : cases) {
        t.go(c.fromCol, c.fromRow);
        t.key(Qt::Key_Tab, c.mods);
        EXPECT_EQ(t.grid->Col(), c.toCol) << c.fromCol << "," << c.fromRow;
        EXPECT_EQ(t.grid->Row(), c.toRow) << c.fromCol << "," << c.fromRow;
    }
}

TEST(InputKeys, TabWithEditingSkipsCellsThatMayNotBeEdited)
{
    TableGrid t;
    t.grid->Navigation().SetAdvanceAutoEdit(false);
    t.grid->HideColumn(1);
    t.go(1, 1); // real column 2, editable
    t.grid->SetOptions(t.grid->Options() | goEditing);
    t.key(Qt::Key_Tab);
    // Real columns 3 and 4 are read-only: the walk goes on to the next row's first editable cell.
    EXPECT_EQ(t.grid->Row(), 2);
    EXPECT_EQ(t.grid->RealColIndex(t.grid->Col()), 2);
}

TEST(InputKeys, TabAtTheEndAppendsOrHandsOver)
{
    {
        TableGrid t;
        t.grid->Navigation().SetAdvanceAutoEdit(false);
        t.grid->Navigation().SetAdvanceInsert(true);
        int added = -1;
        t.grid->OnAutoAddRow = [&](QObject*, int r) { added = r; };
        t.go(4, 3);
        t.key(Qt::Key_Tab);
        EXPECT_EQ(t.grid->RowCount(), 5);
        EXPECT_EQ(added, 4);
        EXPECT_EQ(t.grid->Row(), 4);
        EXPECT_EQ(t.grid->Col(), 1);
    }
    {
        TableGrid t;
        t.grid->Navigation().SetAdvanceAutoEdit(false);
        t.grid->Navigation().SetTabToNextAtEnd(true);
        t.grid->Navigation().SetAdvanceInsert(true);
        t.go(4, 3);
        EXPECT_FALSE(t.grid->TabNavigate(false));
        EXPECT_EQ(t.grid->RowCount(), 4);
        EXPECT_EQ(t.grid->Row(), 1);
    }
}

TEST(InputKeys, ARowWithoutTabStopsKeepsTheColumnOnTheGrid)
{
    TableGrid t;
    t.grid->Navigation().SetAdvanceAutoEdit(false);
    t.grid->OnSelectCell = [](QObject*, int, int r, bool& can) {
        if (r == 2)
            can = false;
    };
    t.go(4, 1);
    t.key(Qt::Key_Tab);
    EXPECT_GE(t.grid->Col(), t.grid->FixedCols());
    t.go(3, 3);
    t.grid->Navigation().SetHomeEndKey(heFirstLastColumn);
    t.grid->OnSelectCell = [](QObject*, int, int, bool& can) { can = false; };
    t.key(Qt::Key_Home);
    EXPECT_EQ(t.grid->Col(), 3);
}

TEST(InputKeys, HomeAndEndByTheirSetting)
{
    TableGrid t(6);
    struct Case {
        THomeEndAction action;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int col, row;
    } cases[] = {
        {heFirstLastCell, Qt::Key_Home, Qt::NoModifier, 1, 1},
        {heFirstLastCell, Qt::Key_End, Qt::NoModifier, 4, 5},
        {heFirstLastRow, Qt::Key_Home, Qt::NoModifier, 3, 1},
        {heFirstLastRow, Qt::Key_End, Qt::NoModifier, 3, 5},
        {heFirstLastColumn, Qt::Key_Home, Qt::NoModifier, 1, 3},
        {heFirstLastColumn, Qt::Key_End, Qt::NoModifier, 4, 3},
        {heFirstLastColumn, Qt::Key_Home, Qt::ControlModifier, 1, 1},
    };
    for (const Case& c : cases) {
        t.grid->Navigation().SetHomeEndKey(c.action);
        t.go(3, 3);
        Word seen = 0;
        t.grid->OnKeyDown = [&](QObject*, Word& k, TShiftState) { seen = k; };
        t.key(c.key, c.mods);
        EXPECT_EQ(t.grid->Col(), c.col) << int(c.action) << " " << c.key;
        EXPECT_EQ(t.grid->Row(), c.row) << int(c.action) << " " << c.key;
        EXPECT_EQ(seen, c.key == Qt::Key_Home ? VK_HOME : VK_END);
    }
}

TEST(InputKeys, InsertAndDeleteRows)
{
    TableGrid t;
    t.grid->Navigation().SetAllowInsertRow(true);
    t.grid->Navigation().SetAllowDeleteRow(true);
    t.go(1, 2);
    t.key(Qt::Key_Insert);
    EXPECT_EQ(t.grid->RowCount(), 5);
    EXPECT_EQ(t.grid->Cells(1, 2), "");
    EXPECT_EQ(t.grid->Cells(1, 3), "t2");
    EXPECT_EQ(t.grid->Row(), 2);

    t.grid->Navigation().SetInsertPosition(pInsertAfter);
    t.go(1, 3);
    t.key(Qt::Key_Insert);
    EXPECT_EQ(t.grid->RowCount(), 6);
    EXPECT_EQ(t.grid->Cells(1, 4), "");
    EXPECT_EQ(t.grid->Row(), 4);

    bool allow = false;
    t.grid->OnCanDeleteRow = [&](QObject*, int, bool& can) { can = allow; };
    t.grid->SetFilterActive(true);
    t.key(Qt::Key_Delete);
    EXPECT_EQ(t.grid->RowCount(), 6);
    EXPECT_TRUE(t.grid->FilterActive()) << "a refused delete leaves the filter as it was";
    allow = true;
    int deleted = -1;
    t.grid->OnAutoDeleteRow = [&](QObject*, int r) { deleted = r; };
    t.key(Qt::Key_Delete);
    EXPECT_EQ(t.grid->RowCount(), 5);
    EXPECT_EQ(deleted, 4);
}

TEST(InputKeys, DownOnTheLastRowAppendsWhenAsked)
{
    TableGrid t;
    t.go(1, 3);
    t.key(Qt::Key_Down);
    EXPECT_EQ(t.grid->RowCount(), 4);
    t.grid->Navigation().SetAppendOnArrowDown(true);
    t.key(Qt::Key_Down);
    EXPECT_EQ(t.grid->RowCount(), 5);
    EXPECT_EQ(t.grid->Row(), 4);
    EXPECT_EQ(t.grid->Cells(1, 4), "");
}

TEST(InputKeys, ArrowsJumpOverDisabledRows)
{
    struct Case {
        const char* what;
        std::vector<int> disabled;
        bool skip;
        int fromRow;
        Qt::Key key;
        int toRow;
    } cases[] = {
        {"Down over one", {3}, true, 2, Qt::Key_Down, 4},
        {"Up over one", {3}, true, 4, Qt::Key_Up, 2},
        {"Down over two", {3, 4}, true, 2, Qt::Key_Down, 5},
        {"Up over two", {2, 3}, true, 4, Qt::Key_Up, 1},
        {"Down with none enabled below", {4, 5}, true, 3, Qt::Key_Down, 3},
        {"Up with none enabled above", {1, 2}, true, 3, Qt::Key_Up, 3},
        {"an enabled neighbour is the plain step", {4}, true, 2, Qt::Key_Down, 3},
        {"without skipping the disabled row is entered", {3}, false, 2, Qt::Key_Down, 3},
    };
    for (const Case& c : cases) {
        TableGrid t(6);
        t.grid->Navigation().SetSkipDisabledRows(c.skip);
        for (int r : c.disabled)
            t.grid->SetRowEnabled(r, false);
        t.go(1, c.fromRow);
        ASSERT_EQ(t.grid->Row(), c.fromRow) << c.what;
        t.key(c.key);
        EXPECT_EQ(t.grid->Row(), c.toRow) << c.what;
        EXPECT_EQ(t.grid->Col(), 1) << c.what;
    }
}

TEST(InputKeys, ScrollOnlyModeMovesNoCell)
{
    TableGrid t(40);
    t.grid->Navigation().SetMoveScrollOnly(true);
    int events = 0;
    t.grid->OnKeyDown = [&](QObject*, Word&, TShiftState) { ++events; };
    t.go(1, 2);
    t.key(Qt::Key_Down);
    EXPECT_EQ(t.grid->TopRow(), 2);
    EXPECT_EQ(t.grid->Row(), 2);
    t.key(Qt::Key_End);
    const int top = t.grid->TopRow();
    t.key(Qt::Key_Down);
    EXPECT_EQ(t.grid->TopRow(), top) << "the last page does not scroll further";
    EXPECT_EQ(events, 0);
}

} // namespace
