// Inserting and removing rows moves whole rows in the store. Each edit is made on two grids set up
// alike, one of which keeps a text right of its last column so that its rows are copied cell by
// cell; both must end the same in every cell, property, merged range, height, hidden row and the
// current cell.
#include "GridHost.h"
#include "grid/AdvGrid.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

using kt_test::GridHost;

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

// Many rows put in at once (as grouping does) end as the same rows put in one at a time, with
// every per-row list: modified and enabled flags, disjunct selection (by displayed or by real
// row), the selected-row list, hidden rows, heights and cell controls.
TEST(RowMoves, RowsInsertedAtOnceEndAsInsertedOneAtATime)
{
    struct Case {
        const char* name;
        std::vector<int> before;
        bool persistent, copies, footer;
    };
    const Case cases[] = {
        {"scattered, some at the same place", {2, 5, 5, 11, 17, 21}, false, false, false},
        {"around the hidden row and at the end", {3, 21, 22, 29, 40}, false, false, false},
        {"selection kept by real row", {0, 8, 8, 22, 29}, true, false, false},
        {"rows copied cell by cell", {1, 9, 16, 23, 29}, false, true, false},
        {"above a floating footer", {4, 12, 28, 28}, false, false, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        GridHost a, b;
        QWidget* controlA = new QWidget(&a.window);
        QWidget* controlB = new QWidget(&b.window);
        for (auto [g, control] : {std::pair{a.grid, controlA}, std::pair{b.grid, controlB}}) {
            Prepare(*g);
            if (k.copies)
                ForceCellCopies(*g);
            g->ShowModified().SetEnabled(true);
            g->SetRowModified(6, true);
            g->SetRowModified(24, true);
            g->SetRowEnabled(9, false);
            g->MouseActions().SetDisjunctRowSelect(true);
            g->MouseActions().SetRowSelectPersistent(k.persistent);
            g->SetRowSelect(7, true);
            g->SetRowSelect(25, true);
            g->SetCellControls(3, 11, control);
            if (k.footer)
                g->FloatingFooter().SetVisible(true);
        }
        a.grid->InsertRowsBefore(k.before);
        for (size_t i = 0; i < k.before.size(); ++i)
            b.grid->InsertRows(k.before[i] + int(i), 1);

        TVerIvovavOzed& fa = *a.grid;
        TVerIvovavOzed& fb = *b.grid;
        ASSERT_EQ(fa.RowCount(), fb.RowCount());
        for (int r = 0; r < fa.RowCount(); ++r) {
            SCOPED_TRACE(testing::Message() << "row " << r);
            EXPECT_EQ(fa.RowModified(r), fb.RowModified(r));
            EXPECT_EQ(fa.RowEnabled(r), fb.RowEnabled(r));
            EXPECT_EQ(fa.RowSelect(fa.RealRowIndex(r)), fb.RowSelect(fb.RealRowIndex(r)));
            EXPECT_EQ(fa.GetCellControls(3, r) != nullptr, fb.GetCellControls(3, r) != nullptr);
        }
        EXPECT_EQ(fa.SelectedRows().StrValue(), fb.SelectedRows().StrValue());
        EXPECT_EQ(fa.ModifiedRowCount(), 2);
        ExpectSame(fa, fb);
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

// ---- column and row moves carry what the grid keeps per column and per row --------------------

namespace {

// The grid as the program uses it; the platform grid's column-moved event counts the moves.
class MovingGrid : public TVerIvovavOzed {
public:
    explicit MovingGrid(QWidget* parent) : TVerIvovavOzed(parent)
    {
        OnColumnMoved = [this](QObject*, int, int) { ++columnMoves; };
    }
    int columnMoves = 0;
};

struct MoveHost {
    QWidget window;
    MovingGrid* grid;
    MoveHost() : grid(new MovingGrid(&window))
    {
        grid->Loaded();
        grid->SetColCount(8);
        grid->SetRowCount(8);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                grid->SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    }
};

} // namespace

TEST(ColumnMoves, CellsWidthsSortColumnAndCurrentColumnTravel)
{
    struct Case {
        int sortColumn, expectedSort;
    } cases[] = {{4, 3}, {5, 4}, {2, 5}, {6, 6}, {1, 1}};
    for (const Case& c : cases) {
        MoveHost h;
        h.grid->SetColWidths(2, 77);
        h.grid->SortSettings().SetColumn(c.sortColumn);
        h.grid->SetCol(3);
        h.grid->MoveColumn(2, 5);
        EXPECT_EQ(h.grid->columnMoves, 1);
        EXPECT_EQ(h.grid->Cells(5, 1), "2:1");
        EXPECT_EQ(h.grid->Cells(2, 1), "3:1");
        EXPECT_EQ(h.grid->Cells(4, 1), "5:1");
        EXPECT_EQ(h.grid->ColWidths(5), 77);
        EXPECT_EQ(h.grid->ColWidths(2), h.grid->DefaultColWidth());
        EXPECT_EQ(h.grid->SortSettings().Column(), c.expectedSort) << c.sortColumn;
        EXPECT_EQ(h.grid->Col(), 2);
        EXPECT_TRUE(h.grid->ColMoveFlag());
    }
    // Moving left shifts the columns between one right.
    MoveHost h;
    h.grid->SortSettings().SetColumn(3);
    h.grid->SetCol(5);
    h.grid->MoveColumn(5, 2);
    EXPECT_EQ(h.grid->Cells(2, 1), "5:1");
    EXPECT_EQ(h.grid->SortSettings().Column(), 4);
    EXPECT_EQ(h.grid->Col(), 2);
}

TEST(ColumnMoves, HiddenColumnsAndRowsMoveAtRealIndexes)
{
    MoveHost h;
    h.grid->HideColumn(1); // displayed column c >= 1 shows real column c + 1; Cells takes real columns
    h.grid->HideRow(3);
    ASSERT_EQ(h.grid->RealColIndex(2), 3);
    h.grid->MoveColumn(2, 4); // real 3 to real 5
    EXPECT_EQ(h.grid->Cells(5, 1), "3:1");
    EXPECT_EQ(h.grid->Cells(3, 1), "4:1");
    EXPECT_TRUE(h.grid->IsHiddenColumn(1));
    EXPECT_FALSE(h.grid->IsHiddenColumn(5));
    h.grid->UnHideRowsAll();
    EXPECT_EQ(h.grid->Cells(5, 3), "3:3"); // the hidden row's stored texts moved the same way
    EXPECT_EQ(h.grid->Cells(3, 3), "4:3");
    h.grid->UnHideColumnsAll();
    EXPECT_EQ(h.grid->Cells(1, 1), "1:1");
}

TEST(RowMoves, OneEventNoFooterMoveAndASynchronisedGridFollowsOnce)
{
    MoveHost h;
    int events = 0;
    h.grid->OnRowMoved = [&](QObject*, int from, int to) {
        ++events;
        EXPECT_EQ(from, 2);
        EXPECT_EQ(to, 5);
    };
    h.grid->MoveRow(2, 5);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(h.grid->Cells(1, 5), "1:2");
    EXPECT_EQ(h.grid->Cells(1, 2), "1:3");

    // Onto the floating footer row (first footer style) nothing moves.
    MoveHost f;
    f.grid->FloatingFooter().SetVisible(true);
    f.grid->FloatingFooter().SetFooterStyle(fsFixedLastRow);
    f.grid->MoveRow(2, 7);
    EXPECT_EQ(f.grid->Cells(1, 2), "1:2");
    EXPECT_EQ(f.grid->Cells(1, 7), "1:7");

    // Synchronised grids: the other follows once and does not move this one back.
    MoveHost a, b;
    a.grid->SyncGrid().SetGrid(b.grid);
    a.grid->SyncGrid().SetMoveColumn(true);
    a.grid->SyncGrid().SetMoveRow(true);
    b.grid->SyncGrid().SetGrid(a.grid);
    b.grid->SyncGrid().SetMoveColumn(true);
    b.grid->SyncGrid().SetMoveRow(true);
    a.grid->MoveColumn(1, 3);
    EXPECT_EQ(a.grid->columnMoves, 1);
    EXPECT_EQ(b.grid->columnMoves, 1);
    EXPECT_EQ(a.grid->Cells(3, 1), "1:1");
    EXPECT_EQ(b.grid->Cells(3, 1), "1:1");
    int bEvents = 0;
    b.grid->OnRowMoved = [&](QObject*, int, int) { ++bEvents; };
    a.grid->MoveRow(1, 4);
    EXPECT_EQ(bEvents, 1);
    EXPECT_EQ(a.grid->Cells(0, 4), "0:1");
    EXPECT_EQ(b.grid->Cells(0, 4), "0:1");
}

namespace {

// Presses on the header of column `from` of a shown grid and moves the mouse onto column `to` with
// the button down; the point it is over is returned.
QPoint PressAndMoveHeader(MoveHost& h, int from, int to)
{
    QWidget* vp = h.grid->viewport();
    const TRect a = h.grid->CellRect(from, 0), b = h.grid->CellRect(to, 0);
    const QPoint p1((a.Left + a.Right) / 2, (a.Top + a.Bottom) / 2);
    const QPoint p2((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, p1);
    QMouseEvent move(QEvent::MouseMove, p2, vp->mapToGlobal(p2), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    return p2;
}

void ReleaseAt(MoveHost& h, QPoint p)
{
    QTest::mouseRelease(h.grid->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    QCoreApplication::processEvents();
}

// Drags the header of column `from` onto column `to` of a shown grid with the mouse.
void DragHeader(MoveHost& h, int from, int to) { ReleaseAt(h, PressAndMoveHeader(h, from, to)); }

void ShowForMoves(MoveHost& h)
{
    h.grid->resize(600, 300);
    h.grid->SetOptions(h.grid->Options() | goColMoving);
    for (int c = 0; c < 8; ++c)
        h.grid->SetColWidths(c, 60);
    h.window.resize(640, 320);
    h.window.show();
    QCoreApplication::processEvents();
}

} // namespace

TEST(ColumnMoves, ANoDropReleaseMovesNothing)
{
    for (bool refuse : {true, false}) {
        MoveHost h;
        ShowForMoves(h);
        h.grid->OnColumnMoving = [refuse](QObject*, int, int, bool& allow) { allow = !refuse; };
        const QPoint p2 = PressAndMoveHeader(h, 2, 5);
        EXPECT_EQ(h.grid->viewport()->cursor().shape(), refuse ? Qt::ForbiddenCursor : Qt::DragMoveCursor);
        ReleaseAt(h, p2);
        EXPECT_EQ(h.grid->Cells(2, 1), refuse ? "2:1" : "3:1") << refuse;
        EXPECT_EQ(h.grid->Cells(5, 1), refuse ? "5:1" : "2:1") << refuse;
        EXPECT_EQ(h.grid->GridState(), gsNormal);
    }
}


TEST(ColumnMoves, ADraggedHeaderTakesTheSortColumnAndTheSynchronisedGridAlong)
{
    struct Case {
        int from, to, sortColumn, expectedSort;
    } cases[] = {{2, 5, 4, 3}, {2, 5, 2, 5}, {5, 2, 2, 3}, {5, 2, 5, 2}, {2, 5, 6, 6}};
    for (const Case& c : cases) {
        MoveHost h, other;
        ShowForMoves(h);
        h.grid->SyncGrid().SetGrid(other.grid);
        h.grid->SyncGrid().SetMoveColumn(true);
        h.grid->SortSettings().SetColumn(c.sortColumn);
        h.grid->SortSettings().SetIndexShow(true);
        h.grid->SortIndexes().AddIndex(c.sortColumn, true);
        DragHeader(h, c.from, c.to);
        EXPECT_EQ(h.grid->Cells(c.to, 1), QStringLiteral("%1:1").arg(c.from));
        EXPECT_EQ(h.grid->SortSettings().Column(), c.expectedSort) << c.from << ">" << c.to << " sort " << c.sortColumn;
        EXPECT_EQ(h.grid->SortIndexes().GetSortColumns(0), c.expectedSort);
        EXPECT_EQ(other.grid->Cells(c.to, 1), QStringLiteral("%1:1").arg(c.from)) << "the synchronised grid follows";
        EXPECT_EQ(other.grid->columnMoves, 1);
    }
}
