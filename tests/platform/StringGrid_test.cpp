// The base grid control: store, geometry, navigation, selection, sizing, editor, painting, keys.
#include "platform/StringGrid.h"

#include "TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <set>
#include <tuple>

namespace {

// A grid that records what reaches its virtual operations.
class RecGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    using TStringGrid::MaxLeftCol;
    using TStringGrid::VisibleColCount;
    using TStringGrid::TakeOutStoredRows;
    bool refuse = false;
    int refuseCol = -1, refuseRow = -1;
    int selectCalls = 0;
    int colWidthsChanged = 0;
    std::vector<std::pair<int, int>> colMoves, rowMoves;
    std::vector<std::tuple<int, int, TGridDrawState>> drawn;
    std::vector<std::tuple<int, int, QString>> setTexts;
    QString editPrefix;

    bool SelectCell(int c, int r) override
    {
        ++selectCalls;
        if (refuse || (c == refuseCol && r == refuseRow))
            return false;
        return TStringGrid::SelectCell(c, r);
    }
    void ColWidthsChanged() override
    {
        ++colWidthsChanged;
        TStringGrid::ColWidthsChanged();
    }
    void ColumnMoved(int f, int t) override
    {
        colMoves.push_back({f, t});
        TStringGrid::ColumnMoved(f, t);
    }
    void RowMoved(int f, int t) override
    {
        rowMoves.push_back({f, t});
        TStringGrid::RowMoved(f, t);
    }
    void DrawCell(int c, int r, TRect rect, TGridDrawState s) override
    {
        drawn.push_back({c, r, s});
        TStringGrid::DrawCell(c, r, rect, s);
    }
    QString GetEditText(int c, int r) override { return editPrefix + TStringGrid::GetEditText(c, r); }
    void SetEditText(int c, int r, const QString& v) override
    {
        setTexts.push_back({c, r, v});
        TStringGrid::SetEditText(c, r, v);
    }
};

class Obj : public TGridCellObject {
public:
    explicit Obj(int v) : Value(v) {}
    int Value;
};

// A shown, focused grid of 10 columns x 50 rows of 64 x 24 pixels, one fixed row and column,
// lines 1 pixel wide, in a client area of 300 x 200.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid = new RecGrid(&window);
        auto* lay = new QVBoxLayout(&window);
        lay->setContentsMargins(0, 0, 0, 0);
        lay->addWidget(grid);
        grid->SetColCount(10);
        grid->SetRowCount(50);
        grid->SetGridLineWidth(1);
        grid->SetScrollBars(ssNone);
        grid->setFrameShape(QFrame::NoFrame);
        window.resize(300, 200);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        grid->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(grid->ClientWidth(), 300);
        ASSERT_EQ(grid->ClientHeight(), 200);
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
        QTest::keyClick(target, Qt::Key(key), mods);
    }
    QPoint CellCenter(int c, int r)
    {
        const TRect rc = grid->CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    QWidget window;
    RecGrid* grid = nullptr;
};

TEST_F(GridTest, CellsBeyondTheCountsSurviveCountChanges)
{
    grid->SetCells(9, 49, "corner");
    grid->SetCells(12, 3, "beyond");
    grid->SetObjects(2, 60, std::make_shared<Obj>(7));
    grid->SetColCount(3);
    grid->SetRowCount(4);
    EXPECT_EQ(grid->Cells(9, 49), "corner"); // hidden, still stored
    grid->SetColCount(13);
    grid->SetRowCount(61);
    EXPECT_EQ(grid->Cells(9, 49), "corner");
    EXPECT_EQ(grid->Cells(12, 3), "beyond");
    ASSERT_TRUE(grid->Objects(2, 60));
    EXPECT_EQ(static_cast<Obj*>(grid->Objects(2, 60).get())->Value, 7);
    EXPECT_EQ(grid->Cells(4, 4), ""); // never written
    // Negative indexes are refused without harm.
    grid->SetCells(-1, 2, "x");
    grid->SetObjects(1, -5, std::make_shared<Obj>(1));
    grid->SetColWidths(-3, 10);
    EXPECT_EQ(grid->Cells(-1, 2), "");
    EXPECT_FALSE(grid->Objects(1, -5));
    EXPECT_EQ(grid->ColWidths(-3), 64);
}

TEST_F(GridTest, RowsAndColsAssignmentCopiesTextsAndObjects)
{
    auto obj = std::make_shared<Obj>(3);
    grid->SetCells(1, 2, "a");
    grid->SetCells(3, 2, "b");
    grid->SetObjects(3, 2, obj);
    grid->SetCells(5, 7, "old");
    grid->SetRows(7, grid->Rows(2));
    EXPECT_EQ(grid->Cells(1, 7), "a");
    EXPECT_EQ(grid->Cells(3, 7), "b");
    EXPECT_EQ(grid->Cells(5, 7), ""); // the row was replaced as a whole
    EXPECT_EQ(grid->Objects(3, 7), obj);
    grid->SetCols(8, grid->Cols(3));
    EXPECT_EQ(grid->Cells(8, 2), "b");
    EXPECT_EQ(grid->Objects(8, 2), obj);
    EXPECT_EQ(grid->Cells(8, 7), "b");
}

TEST_F(GridTest, MovesGoThroughTheVirtualStepsAndDeleteLeavesNoGhost)
{
    for (int c = 0; c < 5; ++c)
        grid->SetCells(c, 1, QString::number(c));
    grid->MoveColumn(1, 3);
    EXPECT_EQ(grid->colMoves, (std::vector<std::pair<int, int>>{{1, 3}}));
    QStringList row;
    for (int c = 0; c < 5; ++c)
        row << grid->Cells(c, 1);
    EXPECT_EQ(row, QStringList({"0", "2", "3", "1", "4"}));

    grid->SetCells(1, 5, "five");
    grid->SetCells(1, 6, "six");
    grid->MoveRow(5, 6);
    EXPECT_EQ(grid->rowMoves.back(), std::make_pair(5, 6));
    EXPECT_EQ(grid->Cells(1, 5), "six");
    EXPECT_EQ(grid->Cells(1, 6), "five");

    grid->SetCells(2, 10, "gone");
    grid->SetRow(10);
    grid->DeleteRow(10);
    EXPECT_EQ(grid->RowCount(), 49);
    EXPECT_EQ(grid->Row(), 10); // the current row does not travel with the removed one
    EXPECT_EQ(grid->rowMoves.back(), std::make_pair(10, 49));
    grid->SetRowCount(50);
    for (int r = 0; r < 50; ++r)
        EXPECT_NE(grid->Cells(2, r), "gone") << r;
    grid->SetCells(4, 1, "c4");
    grid->DeleteColumn(2);
    EXPECT_EQ(grid->ColCount(), 9);
    EXPECT_EQ(grid->Cells(2, 1), "1"); // the columns after it moved left
    grid->SetColCount(10);
    EXPECT_EQ(grid->Cells(9, 1), "");
}

TEST_F(GridTest, CellRectInAndOutOfView)
{
    // Columns are 64 + 1 line wide, rows 24 + 1; the view shows rows from TopRow.
    EXPECT_EQ(grid->CellRect(0, 0), TRect(0, 0, 64, 24));
    EXPECT_EQ(grid->CellRect(2, 3), TRect(130, 75, 194, 99));
    EXPECT_EQ(grid->CellRect(4, 1), TRect(260, 25, 324, 49)); // partly shown
    EXPECT_EQ(grid->CellRect(5, 1), TRect());                 // right of the view
    EXPECT_EQ(grid->CellRect(1, 20), TRect());                // below it
    EXPECT_EQ(grid->CellRect(1, 60), TRect());                // not in the grid
    grid->SetTopRow(10);
    EXPECT_EQ(grid->CellRect(1, 5), TRect()); // scrolled out above
    EXPECT_EQ(grid->CellRect(1, 10), TRect(65, 25, 129, 49));
    EXPECT_EQ(grid->CellRect(1, 0), TRect(65, 0, 129, 24)); // the fixed row stays
    int c = 0, r = 0;
    grid->MouseToCell(70, 30, c, r);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(1, 10));
    grid->MouseToCell(299, 199, c, r);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(4, 16));
}

TEST_F(GridTest, TopLeftClampingAndFullyVisibleCounts)
{
    // 200 px: fixed row 25, then 7 full rows of 25 (175) -> 7 fully visible.
    EXPECT_EQ(grid->VisibleRowCount(), 7);
    // 300 px: fixed column 65, then 3 full columns of 65 -> 3 (the fourth is cut).
    EXPECT_EQ(grid->VisibleColCount(), 3);
    struct Case { int topIn, topOut, leftIn, leftOut; };
    for (const Case k : {Case{0, 1, 0, 1}, Case{25, 25, 4, 4}, Case{43, 43, 7, 7}, Case{44, 43, 8, 7},
                         Case{1000, 43, 1000, 7}, Case{-4, 43, -4, 7}}) {
        grid->SetTopRow(k.topIn);
        grid->SetLeftCol(k.leftIn);
        EXPECT_EQ(grid->TopRow(), k.topOut) << k.topIn;
        EXPECT_EQ(grid->LeftCol(), k.leftOut) << k.leftIn;
    }
    // At the end the last row is fully shown.
    grid->SetTopRow(43);
    const TRect last = grid->CellRect(1, 49);
    EXPECT_LE(last.Bottom, grid->ClientHeight());
    EXPECT_EQ(grid->VisibleRowCount(), 7);
}

TEST_F(GridTest, RefusedSelectCellKeepsTheCurrentCell)
{
    ASSERT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(1, 1));
    grid->refuseCol = 2;
    grid->refuseRow = 1;
    Key(Qt::Key_Right);
    EXPECT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(1, 1));
    grid->SetCol(2);
    EXPECT_EQ(grid->Col(), 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCenter(2, 1));
    EXPECT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(1, 1));
    Key(Qt::Key_Down);
    EXPECT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(1, 2));
}

TEST_F(GridTest, KeyboardNavigation)
{
    grid->SetOptions(grid->Options() | goTabs);
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        int fromCol, fromRow, toCol, toRow;
    };
    const Case cases[] = {
        {Qt::Key_Right, {}, 1, 1, 2, 1},         {Qt::Key_Left, {}, 1, 1, 1, 1}, // not into the fixed column
        {Qt::Key_Up, {}, 3, 1, 3, 1},            {Qt::Key_Down, {}, 3, 49, 3, 49},
        {Qt::Key_PageDown, {}, 2, 1, 2, 8},      {Qt::Key_PageUp, {}, 2, 20, 2, 13},
        {Qt::Key_PageDown, {}, 2, 47, 2, 49},    {Qt::Key_Home, {}, 5, 4, 1, 4},
        {Qt::Key_End, {}, 5, 4, 9, 4},           {Qt::Key_Home, Qt::ControlModifier, 5, 30, 1, 1},
        {Qt::Key_End, Qt::ControlModifier, 2, 2, 9, 49}, {Qt::Key_Tab, {}, 4, 3, 5, 3},
        {Qt::Key_Tab, {}, 9, 3, 1, 4},           {Qt::Key_Backtab, Qt::ShiftModifier, 1, 4, 9, 3},
    };
    for (const Case& k : cases) {
        grid->SetTopRow(1);
        grid->SetSelection({k.fromCol, k.fromRow, k.fromCol, k.fromRow});
        Key(k.key, k.mods);
        EXPECT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(k.toCol, k.toRow))
            << "key " << k.key << " from " << k.fromCol << "," << k.fromRow;
        // The current cell is in view after a move.
        if (k.fromCol != k.toCol || k.fromRow != k.toRow) {
            EXPECT_FALSE(IsRectEmpty(grid->CellRect(grid->Col(), grid->Row()))) << "key " << k.key;
        }
    }
    // Without goTabs, Tab leaves the grid and the cell stays.
    grid->SetOptions(grid->Options() & ~TGridOptions(goTabs));
    grid->SetSelection({3, 3, 3, 3});
    Key(Qt::Key_Tab);
    EXPECT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(3, 3));
}

TEST_F(GridTest, RangeSelectionWithShiftAndMouse)
{
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 2}));
    Key(Qt::Key_Down); // without Shift the anchor follows
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 3, 2, 3}));

    // Drag from (1, 2) to (3, 4).
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, CellCenter(1, 2));
    QTest::mouseMove(grid->viewport(), CellCenter(3, 4));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, CellCenter(3, 4));
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 3, 4}));
    EXPECT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(3, 4));
    // Shift-click extends from the anchor.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCenter(2, 6));
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 2, 6}));
    // Without goRangeSelect the selection is always the current cell.
    grid->SetOptions(grid->Options() & ~TGridOptions(goRangeSelect));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCenter(3, 3));
    EXPECT_EQ(grid->Selection(), (TGridRect{3, 3, 3, 3}));
    // Row select covers the normal columns.
    grid->SetOptions(grid->Options() | goRowSelect);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 3, 9, 3}));
}

TEST_F(GridTest, DraggingAHeaderBorderSizesTheColumn)
{
    grid->SetOptions(grid->Options() | goColSizing);
    const int border = grid->CellRect(1, 0).Right; // 129
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, QPoint(border, 10));
    EXPECT_EQ(grid->GridState(), gsColSizing);
    QTest::mouseMove(grid->viewport(), QPoint(border + 30, 12));
    EXPECT_EQ(grid->colWidthsChanged, 0); // set on release only
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, QPoint(border + 30, 12));
    EXPECT_EQ(grid->ColWidths(1), 94);
    EXPECT_EQ(grid->colWidthsChanged, 1);
    EXPECT_EQ(grid->GridState(), gsNormal);
    // A press inside a normal cell does not size.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(border + 2, 40));
    EXPECT_EQ(grid->ColWidths(1), 94);
    EXPECT_EQ(grid->colWidthsChanged, 1);
}

TEST_F(GridTest, EditorOpensLoadsWritesBackAndFollowsScroll)
{
    grid->SetOptions(grid->Options() | goEditing);
    grid->SetCells(2, 3, "abc");
    grid->editPrefix = "E:";
    grid->SetSelection({2, 3, 2, 3});
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid->EditorMode());
    TInplaceEdit* ed = grid->InplaceEditor();
    ASSERT_TRUE(ed);
    EXPECT_TRUE(ed->isVisible());
    EXPECT_EQ(ed->Text(), "E:abc");
    EXPECT_EQ(FromQRect(ed->geometry()), grid->CellRect(2, 3));
    EXPECT_EQ(QApplication::focusWidget(), ed);

    // It stays over its cell when the grid scrolls, and hides while the cell is out of view.
    grid->SetLeftCol(2);
    EXPECT_EQ(FromQRect(ed->geometry()), grid->CellRect(2, 3));
    grid->SetTopRow(10);
    EXPECT_FALSE(ed->isVisible());
    grid->SetTopRow(1);
    grid->SetLeftCol(1);
    EXPECT_TRUE(ed->isVisible());
    EXPECT_EQ(FromQRect(ed->geometry()), grid->CellRect(2, 3));

    Key(Qt::Key_X);
    Key(Qt::Key_Return); // Enter closes the editor and stores the text
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_FALSE(ed->isVisible());
    ASSERT_FALSE(grid->setTexts.empty());
    EXPECT_EQ(grid->setTexts.back(), std::make_tuple(2, 3, QString("E:abcx")));
    EXPECT_EQ(grid->Cells(2, 3), "E:abcx");

    // Typing over a cell replaces its text; moving away stores it.
    grid->editPrefix.clear();
    Key(Qt::Key_Q);
    EXPECT_TRUE(ed->isVisible());
    EXPECT_EQ(ed->Text(), "q");
    Key(Qt::Key_Down);
    EXPECT_EQ(grid->Cells(2, 3), "q");
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_FALSE(ed->isVisible());
}

TEST_F(GridTest, DrawCellReachesExactlyTheVisibleCellsWithTheirStates)
{
    grid->SetTopRow(5);
    grid->SetSelection({1, 5, 2, 6}); // anchor (1, 5), current (2, 6)
    grid->drawn.clear();
    QImage img(grid->ClientWidth(), grid->ClientHeight(), QImage::Format_RGB32);
    QPainter p(&img);
    grid->PaintTo(p);
    p.end();
    std::set<std::pair<int, int>> cells;
    for (const auto& [c, r, s] : grid->drawn) {
        EXPECT_TRUE(cells.insert({c, r}).second) << "twice: " << c << "," << r;
        const bool fixed = c == 0 || r == 0;
        EXPECT_EQ(bool(s & gdFixed), fixed) << c << "," << r;
        const bool selected = !fixed && c >= 1 && c <= 2 && r >= 5 && r <= 6;
        EXPECT_EQ(bool(s & gdSelected), selected) << c << "," << r;
        EXPECT_EQ(bool(s & gdFocused), c == 2 && r == 6) << c << "," << r;
    }
    std::set<std::pair<int, int>> expected;
    for (int c : {0, 1, 2, 3, 4})
        for (int r : {0, 5, 6, 7, 8, 9, 10, 11}) // 25 + 7 x 25 fills the 200 pixels
            expected.insert({c, r});
    EXPECT_EQ(cells, expected);
}

// The same codes move the left column; the top row stays.
TEST_F(GridTest, HorizontalScrollCodesMoveTheLeftColumn)
{
    grid->SetColCount(60);
    grid->VScroll(SB_LINEDOWN, 0);
    const int maxLeft = grid->MaxLeftCol();
    const int page = grid->VisibleColCount();
    ASSERT_GT(maxLeft, 10);
    ASSERT_GT(page, 1);
    struct Case { int code, pos, left; };
    for (const Case k : {Case{SB_BOTTOM, 0, maxLeft}, Case{SB_TOP, 0, 1}, Case{SB_LINEDOWN, 0, 2},
                         Case{SB_PAGEDOWN, 0, 2 + page}, Case{SB_LINEUP, 0, 1 + page}, Case{SB_PAGEUP, 0, 1},
                         Case{SB_THUMBPOSITION, 127, maxLeft}, Case{SB_THUMBPOSITION, 0, 1},
                         Case{SB_THUMBPOSITION, 127, maxLeft}, Case{SB_THUMBTRACK, 0, maxLeft},
                         Case{SB_ENDSCROLL, 0, maxLeft}}) {
        grid->HScroll(k.code, k.pos);
        EXPECT_EQ(grid->LeftCol(), k.left) << k.code << " " << k.pos;
        EXPECT_EQ(grid->TopRow(), 2) << k.code;
    }
    EXPECT_EQ(grid->GetScrollPos(SB_HORZ), 127);
    grid->SetOptions(grid->Options() | goThumbTracking);
    grid->HScroll(SB_THUMBTRACK, 0);
    EXPECT_EQ(grid->LeftCol(), 1);
}

TEST_F(GridTest, ScrollCodesOnTheGridScale)
{
    struct Case { int code, pos, top; };
    for (const Case k : {Case{SB_BOTTOM, 0, 43}, Case{SB_TOP, 0, 1}, Case{SB_LINEDOWN, 0, 2},
                         Case{SB_PAGEDOWN, 0, 9}, Case{SB_PAGEUP, 0, 2}, Case{SB_THUMBPOSITION, 127, 43},
                         Case{SB_THUMBPOSITION, 64, 22}, Case{SB_THUMBTRACK, 0, 22}, Case{SB_ENDSCROLL, 0, 22}}) {
        grid->VScroll(k.code, k.pos);
        EXPECT_EQ(grid->TopRow(), k.top) << k.code << " " << k.pos;
    }
    EXPECT_EQ(grid->GetScrollPos(SB_VERT), 64);
    grid->SetOptions(grid->Options() | goThumbTracking);
    grid->VScroll(SB_THUMBTRACK, 0);
    EXPECT_EQ(grid->TopRow(), 1);

    // The bars show the 0..127 scale; a proportional range keeps positions 0..127.
    grid->SetScrollBars(ssBoth);
    ASSERT_TRUE(grid->ScrollBarVisible(SB_VERT));
    QScrollBar* vbar = grid->ScrollBarControl(SB_VERT);
    EXPECT_EQ(vbar->maximum(), GridScrollMax);
    grid->SetTopRow(1000);
    EXPECT_EQ(vbar->value(), GridScrollMax);
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = 300;
    info.nPage = 174;
    grid->SetScrollInfo(SB_VERT, info);
    EXPECT_EQ(vbar->maximum(), GridScrollMax);
    EXPECT_EQ(vbar->pageStep(), 174);
    vbar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(grid->TopRow(), 1);
    EXPECT_EQ(vbar->value(), 0);
}

TEST_F(GridTest, DoubleClickRunsThePressOnce)
{
    int dbl = 0, downs = 0;
    grid->OnDblClick = [&](QObject*) { ++dbl; };
    grid->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    grid->selectCalls = 0;
    // A user's double click: press and release, then the double-click press and its release.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCenter(3, 2));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCenter(3, 2));
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(grid->selectCalls, 1); // the second press only reports the double click
    EXPECT_EQ(downs, 2);
    EXPECT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(3, 2));
}

// Rows taken out of the store: each listed row's texts and objects of the columns below Cols go
// to its target, Cols texts each and Cols objects or none for a row without objects (hiding a
// row makes no object list then); the other rows close up and the rows left at the end read
// empty. A row storing a text at or right of Cols refuses the whole move.
TEST(StringGridStore, TakeOutStoredRowsMovesListedRowsOut)
{
    RecGrid g;
    g.SetColCount(3);
    g.SetRowCount(6);
    for (int r = 0; r < 5; ++r) // row 5 is never written
        for (int c = 0; c < 2; ++c)
            g.SetCells(c, r, QStringLiteral("%1%2").arg(QChar(u'a' + c)).arg(r));
    auto object = std::make_shared<TGridCellObject>();
    g.SetObjects(1, 3, object);
    std::vector<TGridStrings> taken(3);
    ASSERT_TRUE(g.TakeOutStoredRows(1, 5, {1, 3, 5}, 3, [&](size_t k) -> TGridStrings& { return taken[k]; }));
    const std::vector<QStringList> texts = {{"a1", "b1", ""}, {"a3", "b3", ""}, {"", "", ""}};
    const std::vector<size_t> objects = {0, 3, 0};
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(taken[k].Strings, texts[k]) << k;
        EXPECT_EQ(taken[k].Objects.size(), objects[k]) << k;
    }
    EXPECT_EQ(taken[1].Objects[1], object);
    const QStringList column0 = {"a0", "a2", "a4", "", "", ""};
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(g.Cells(0, r), column0[r]) << r;
        EXPECT_EQ(g.Objects(1, r), nullptr) << r;
    }

    g.SetCells(3, 0, "d0"); // right of Cols but outside the rows moved: no hindrance
    g.SetCells(4, 2, "far");
    std::vector<TGridStrings> none;
    EXPECT_FALSE(g.TakeOutStoredRows(1, 3, {1}, 3, [&](size_t) -> TGridStrings& { return none.emplace_back(); }));
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(g.Cells(0, 1), "a2");
    EXPECT_EQ(g.Cells(4, 2), "far");
    EXPECT_EQ(g.Cells(3, 0), "d0");
}

TEST(StringGridDialog, EnterAndEscapeReachTheDialogButtonsWhenNotEditing)
{
    QDialog dlg;
    auto* lay = new QVBoxLayout(&dlg);
    auto* grid = new TStringGrid(&dlg);
    auto* ok = new QPushButton("OK", &dlg);
    auto* cancel = new QPushButton("Cancel", &dlg);
    lay->addWidget(grid);
    lay->addWidget(ok);
    lay->addWidget(cancel);
    ok->setDefault(true);
    int oks = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++oks; });
    QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(oks, 1);
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());

    // While editing, Enter belongs to the editor.
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    grid->SetOptions(grid->Options() | goEditing);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(grid->EditorMode());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(oks, 1);
    EXPECT_FALSE(grid->EditorMode());
}

TEST_F(GridTest, GrabShowsFixedCellsSelectionAndEditor)
{
    grid->SetOptions(grid->Options() | goEditing);
    for (int c = 1; c < 10; ++c)
        grid->SetCells(c, 0, QString("Col %1").arg(c));
    for (int r = 1; r < 50; ++r) {
        grid->SetCells(0, r, QString::number(r));
        for (int c = 1; c < 10; ++c)
            grid->SetCells(c, r, QString("%1.%2").arg(c).arg(r));
    }
    grid->SetSelection({1, 2, 2, 4});
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCenter(2, 4));
    grid->SetSelection({1, 2, 3, 4});
    grid->SetSelection({1, 2, 3, 4});
    grid->SetEditorMode(true);
    ASSERT_TRUE(grid->InplaceEditor() && grid->InplaceEditor()->isVisible());
    QApplication::processEvents();
    EXPECT_TRUE(window.grab().save(kt_test::GrabPath("stringgrid.png")));
}

} // namespace
