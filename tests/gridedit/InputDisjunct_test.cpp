// The disjunct cell selection built with Space, Ctrl+Space, Shift and clicks; the selection
// queries; Ctrl+Down moving rows; wrapping at the edges; a release outside the grid cancelling a
// column sizing; the picture of a cell range.
#include "tests/gridedit/GridFixture.h"

#include <QLabel>
#include <gtest/gtest.h>

using kt_test::GridFixture;

namespace {

struct DisjunctGrid : GridFixture {
    DisjunctGrid() : GridFixture(6, 8)
    {
        grid->MouseActions().SetDisjunctCellSelect(true);
        // Read-only columns keep the editing option off whichever cell is current.
        for (int c = 0; c < 6; ++c)
            Column(c)->SetReadOnly(true);
        grid->SetOptions(grid->Options() & ~TGridOptions(goEditing));
    }
    std::vector<TPoint> Cells() const { return grid->SelectedCellList(); }
};

bool Has(const std::vector<TPoint>& v, int c, int r)
{
    return std::count_if(v.begin(), v.end(), [&](const TPoint& p) { return p.X == c && p.Y == r; }) == 1;
}

} // namespace

TEST(InputDisjunct, SpaceCtrlSpaceAndShiftBuildTheCellList)
{
    DisjunctGrid f;
    f.GoTo(2, 2);
    f.Key(Qt::Key_Space);
    ASSERT_EQ(f.Cells().size(), 1u);
    EXPECT_TRUE(Has(f.Cells(), 2, 2));
    // Ctrl+Space adds the current cell, and takes it out again.
    f.GoTo(4, 3);
    f.Key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(f.Cells().size(), 2u);
    EXPECT_TRUE(f.grid->IsSelected(4, 3));
    f.Key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(f.Cells().size(), 1u);
    EXPECT_FALSE(f.grid->IsSelected(4, 3));
    EXPECT_TRUE(f.grid->IsSelected(2, 2));
    // Space alone makes the current cell the only one.
    f.Key(Qt::Key_Space);
    ASSERT_EQ(f.Cells().size(), 1u);
    EXPECT_TRUE(Has(f.Cells(), 4, 3));
    // A range with Space lists each cell once, also when Space comes again.
    f.grid->SetSelection({2, 5, 3, 6});
    f.Key(Qt::Key_Space);
    f.Key(Qt::Key_Space);
    EXPECT_EQ(f.grid->SelectedCellsCount(), 4);
    for (int c = 2; c <= 3; ++c)
        for (int r = 5; r <= 6; ++r)
            EXPECT_TRUE(Has(f.Cells(), c, r)) << c << "," << r;
    // Ctrl+Space then leaves the current cell out for good.
    f.Key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_FALSE(f.grid->IsSelected(f.grid->Col(), f.grid->Row()));
    // Shift with an arrow lists the new range but the current cell.
    f.GoTo(1, 1);
    f.Key(Qt::Key_Space);
    f.Key(Qt::Key_Right, Qt::ShiftModifier);
    f.Key(Qt::Key_Down, Qt::ShiftModifier);
    const TGridRect s = f.grid->Selection();
    EXPECT_EQ(s.Right - s.Left, 1);
    EXPECT_EQ(s.Bottom - s.Top, 1);
    int listed = 0;
    for (int c = s.Left; c <= s.Right; ++c)
        for (int r = s.Top; r <= s.Bottom; ++r)
            listed += f.grid->IsSelected(c, r) ? 1 : 0;
    EXPECT_GE(listed, 3);
    // OnSelectCell may refuse a cell.
    f.GoTo(5, 4);
    f.grid->OnSelectCell = [](QObject*, int c, int, bool& can) { can = c != 5; };
    const size_t before = f.Cells().size();
    f.Key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(f.Cells().size(), before);
}

TEST(InputDisjunct, ClicksWithCtrlAndShiftAndRowsPast65535)
{
    DisjunctGrid f;
    f.Click(2, 2);
    const TRect r = f.grid->CellRect(4, 5);
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(r.Left + 5, r.Top + 5));
    GridFixture::Pump();
    EXPECT_TRUE(f.grid->IsSelected(2, 2));
    EXPECT_TRUE(f.grid->IsSelected(4, 5));
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(r.Left + 5, r.Top + 5));
    GridFixture::Pump();
    EXPECT_FALSE(f.grid->IsSelected(4, 5));
    f.Click(3, 3);
    ASSERT_EQ(f.Cells().size(), 1u);
    EXPECT_TRUE(Has(f.Cells(), 3, 3));

    // Cells are kept as pairs: rows past 65535 do not run into others.
    GridFixture g(3, 70000);
    g.grid->MouseActions().SetDisjunctCellSelect(true);
    g.grid->SetSelectedCells(1, 65537, true);
    EXPECT_TRUE(g.grid->GetSelectedCells(1, 65537));
    EXPECT_FALSE(g.grid->GetSelectedCells(2, 1)); // 65537 * 65536 + 1 packed would wrap
    EXPECT_FALSE(g.grid->GetSelectedCells(1, 1));
    EXPECT_EQ(g.grid->GetSelectedCell(0).Y, 65537);
}

TEST(InputDisjunct, SelectionQueries)
{
    GridFixture f(5, 8);
    f.grid->SetCells(1, 2, "a");
    f.grid->SetCells(2, 2, "b");
    f.grid->SetCells(1, 3, "c");
    f.grid->SetCells(2, 3, "d");
    f.grid->SelectCells(1, 2, 2, 3);
    EXPECT_EQ(f.grid->SelectedText(), QStringLiteral("a\tb\r\nc\td"));
    EXPECT_EQ(f.grid->SelectedCellsCount(), 4);
    EXPECT_EQ(f.grid->SelectedColCount(), 2);
    EXPECT_EQ(f.grid->SelectedRowCount(), 2);
    EXPECT_TRUE(f.grid->IsSelected(2, 3));
    EXPECT_FALSE(f.grid->IsSelected(0, 3)); // fixed cells never
    f.grid->SelectCells(1, 2, 1, 4);
    EXPECT_EQ(f.grid->GetSelectedRow(0), 2);
    EXPECT_EQ(f.grid->GetSelectedRow(2), 4);
    EXPECT_EQ(f.grid->GetSelectedRow(5), -1);
    // Rows in the footer do not count.
    f.grid->SetFixedFooters(2);
    f.grid->SelectCells(1, 4, 1, 7);
    EXPECT_EQ(f.grid->SelectedRowCount(), 2);
    f.grid->ClearSelectedCells();
    const TGridRect s = f.grid->Selection();
    EXPECT_EQ(s.Left, 1);
    EXPECT_EQ(s.Top, 1);
    EXPECT_EQ(s.Right, 1);
    EXPECT_EQ(s.Bottom, 1);
}

TEST(InputDisjunct, CtrlDownMovesTheSelectedRows)
{
    GridFixture f(3, 8);
    for (int r = 1; r < 8; ++r)
        f.grid->SetCells(1, r, QString::number(r));
    f.grid->Navigation().SetCursorMoveRows(true);
    f.GoTo(1, 2);
    f.Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(f.grid->Cells(1, 3), "2");
    EXPECT_EQ(f.grid->Cells(1, 2), "3");
    EXPECT_EQ(f.grid->Row(), 3);
    // A block of three rows moves and stays selected.
    f.grid->SetSelection({1, 4, 2, 6});
    f.Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(f.grid->Cells(1, 5), "4");
    EXPECT_EQ(f.grid->Cells(1, 7), "6");
    EXPECT_EQ(f.grid->Cells(1, 4), "7");
    const TGridRect s = f.grid->Selection();
    EXPECT_EQ(s.Top, 5);
    EXPECT_EQ(s.Bottom, 7);
    // On the last row nothing moves.
    f.Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(f.grid->Cells(1, 7), "6");
}

TEST(InputDisjunct, SnakeAndLoopWrapAtTheEdges)
{
    struct Case {
        TCursorAdvance adv;
        int col, row;
        Qt::Key key;
        int toCol, toRow;
    } cases[] = {
        {caSnake, 4, 3, Qt::Key_Right, 1, 4},
        {caLoop, 4, 3, Qt::Key_Right, 1, 3},
        {caSnake, 1, 3, Qt::Key_Left, 4, 2},
        {caLoop, 1, 3, Qt::Key_Left, 4, 3},
        {caSnake, 2, 5, Qt::Key_Down, 3, 1},
        {caLoop, 2, 1, Qt::Key_Up, 2, 5},
        {caDefault, 4, 3, Qt::Key_Right, 4, 3},
    };
    for (const Case& c : cases) {
        GridFixture f(5, 6);
        f.grid->Navigation().SetCursorAdvance(c.adv);
        f.GoTo(c.col, c.row);
        f.Key(c.key);
        EXPECT_EQ(f.grid->Col(), c.toCol) << int(c.adv) << " " << c.key;
        EXPECT_EQ(f.grid->Row(), c.toRow) << int(c.adv) << " " << c.key;
    }
}

TEST(InputDisjunct, ReleaseOutsideTheGridCancelsColumnSizing)
{
    GridFixture f(3, 4);
    f.grid->SetOptions(f.grid->Options() | goColSizing);
    f.grid->resize(300, 200);
    GridFixture::Pump();
    const int before = f.grid->ColWidths(2);
    const TRect r = f.grid->CellRect(2, 0);
    const QPoint border(r.Right - 1, (r.Top + r.Bottom) / 2);
    QTest::mousePress(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseMove(f.grid->viewport(), QPoint(f.grid->viewport()->width() + 40, border.y()));
    QTest::mouseRelease(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                        QPoint(f.grid->viewport()->width() + 40, border.y()));
    GridFixture::Pump();
    EXPECT_EQ(f.grid->ColWidths(2), before);
    EXPECT_EQ(f.grid->GridState(), gsNormal);
}

TEST(InputDisjunct, SelectionToFormShowsTheRangeEitherCornerFirst)
{
    GridFixture f(4, 5);
    f.grid->SetCells(1, 1, "x");
    f.grid->SetCells(2, 2, "y");
    std::unique_ptr<QWidget> a(f.grid->SelectionToForm({1, 1, 2, 2}));
    std::unique_ptr<QWidget> b(f.grid->SelectionToForm({2, 2, 1, 1}));
    const QLabel* la = a->findChild<QLabel*>(QStringLiteral("SelectionImage"));
    const QLabel* lb = b->findChild<QLabel*>(QStringLiteral("SelectionImage"));
    ASSERT_TRUE(la && lb);
    const QImage ia = la->pixmap().toImage(), ib = lb->pixmap().toImage();
    EXPECT_EQ(ia.size(), QSize(181, 45));
    EXPECT_EQ(ia, ib);
    EXPECT_TRUE(a->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(a->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_NEAR(a->windowOpacity(), 192.0 / 255.0, 0.01);
}
