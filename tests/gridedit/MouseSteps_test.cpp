// The grid's mouse-down, mouse-move and release steps as a user meets them on a shown grid:
// hover row, drags over the headers, in-cell scroll bars, move and sizing events, synchronised
// grids, editing with range selection, the update lock, the selection cursors and link looks.
#include "tests/gridedit/GridFixture.h"

#include "grid/HTMLHintWindow.h"
#include "gridedit/AdvInplaceEdit.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <utility>
#include <vector>

using kt_test::GridFixture;

namespace {

QPoint Centre(TStringGrid* g, int col, int row)
{
    const TRect r = g->CellRect(col, row);
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// A mouse move with the given buttons held, sent where Qt sends it: to the viewport.
void MoveTo(TStringGrid* g, QPoint p, Qt::MouseButtons buttons = Qt::NoButton)
{
    QWidget* vp = g->viewport();
    QMouseEvent move(QEvent::MouseMove, p, vp->mapToGlobal(p), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
}

// Counts the paint events the viewport gets.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

// Link looks repaint when they change: the colour and the full form only while links show.
TEST(GridLooks, LinkSettingsRepaint)
{
    GridFixture f;
    f.grid->SetCells(1, 1, "http://example.org");
    PaintCounter counter;
    f.grid->viewport()->installEventFilter(&counter);
    struct Step {
        const char* what;
        std::function<void()> change;
        bool repaints;
    } steps[] = {
        {"colour while links are off", [&] { f.grid->SetURLColor(0x00FF00); }, false},
        {"full while links are off", [&] { f.grid->SetURLFull(true); }, false},
        {"show", [&] { f.grid->SetURLShow(true); }, true},
        {"show unchanged", [&] { f.grid->SetURLShow(true); }, false},
        {"colour", [&] { f.grid->SetURLColor(0x0000FF); }, true},
        {"full unchanged", [&] { f.grid->SetURLFull(true); }, true},
        {"in text", [&] { f.grid->SetURLShowInText(true); }, true},
    };
    for (const Step& s : steps) {
        GridFixture::Pump();
        counter.paints = 0;
        s.change();
        GridFixture::Pump();
        EXPECT_EQ(counter.paints > 0, s.repaints) << s.what;
    }
}

// Borders of the application's own may follow the selection: a click elsewhere repaints the
// whole row that was selected, not only its focused cell.
TEST(GridLooks, CustomBordersRepaintTheRowsLeftBehind)
{
    GridFixture f;
    std::set<std::pair<int, int>> painted;
    EXPECT_FALSE(f.grid->HasCustomCellBorders());
    f.grid->OnGetCellBorder = [&](QObject*, int r, int c, TPen&, TCellBorders&) { painted.insert({c, r}); };
    EXPECT_TRUE(f.grid->HasCustomCellBorders());
    f.Click(1, 1);
    GridFixture::Pump();
    painted.clear();
    f.Click(1, 3);
    GridFixture::Pump();
    EXPECT_TRUE(painted.count({4, 1})) << "the far cell of the row left behind repaints";
}

// ---- the mouse move ---------------------------------------------------------------------------

TEST(MouseSteps, TheRowUnderTheMouseIsTheHoverRow)
{
    GridFixture f;
    f.grid->SetHoverRow(true);
    MoveTo(f.grid, Centre(f.grid, 2, 3));
    EXPECT_EQ(f.grid->HoverRowIdx(), 3);
    MoveTo(f.grid, Centre(f.grid, 1, 1));
    EXPECT_EQ(f.grid->HoverRowIdx(), 1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.grid, &leave);
    EXPECT_EQ(f.grid->HoverRowIdx(), -1) << "leaving the grid ends the hover";
}

TEST(MouseSteps, DraggingOverTheHeadersSelectsWholeRowsOrColumns)
{
    struct Case {
        bool rows;
        int from, to;
    } cases[] = {{true, 1, 3}, {true, 4, 2}, {false, 1, 3}, {false, 4, 2}};
    for (const Case& c : cases) {
        GridFixture f(6, 6);
        f.grid->MouseActions().SetRowSelect(true);
        f.grid->MouseActions().SetColSelect(true);
        QWidget* vp = f.grid->viewport();
        const QPoint a = c.rows ? Centre(f.grid, 0, c.from) : Centre(f.grid, c.from, 0);
        const QPoint b = c.rows ? Centre(f.grid, 0, c.to) : Centre(f.grid, c.to, 0);
        MoveTo(f.grid, a);
        QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, a);
        MoveTo(f.grid, b, Qt::LeftButton);
        QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, b);
        GridFixture::Pump();
        const TGridRect s = f.grid->Selection();
        const int lo = std::min(c.from, c.to), hi = std::max(c.from, c.to);
        if (c.rows) {
            EXPECT_EQ(s.Top, lo);
            EXPECT_EQ(s.Bottom, hi);
            EXPECT_EQ(s.Left, f.grid->FixedCols());
            EXPECT_EQ(s.Right, f.grid->ColCount() - 1);
        } else {
            EXPECT_EQ(s.Left, lo);
            EXPECT_EQ(s.Right, hi);
            EXPECT_EQ(s.Top, f.grid->FixedRows());
            EXPECT_EQ(s.Bottom, f.grid->RowCount() - 1);
        }
    }
}

// Over the row headers, the column headers and the corner the pointer says what a press selects.
TEST(MouseSteps, HeaderPointersShowTheSelectionMode)
{
    GridFixture f;
    f.grid->MouseActions().SetRowSelect(true);
    f.grid->MouseActions().SetColSelect(true);
    f.grid->MouseActions().SetAllSelect(true);
    auto pointerAt = [&](int c, int r) {
        MoveTo(f.grid, Centre(f.grid, c, r));
        return f.grid->viewport()->cursor();
    };
    const QCursor row = pointerAt(0, 2), col = pointerAt(2, 0), all = pointerAt(0, 0), cell = pointerAt(2, 2);
    EXPECT_EQ(row.shape(), Qt::BitmapCursor);
    EXPECT_EQ(col.shape(), Qt::BitmapCursor);
    EXPECT_EQ(all.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cell.shape(), Qt::ArrowCursor);
    const QImage r = row.pixmap().toImage(), c = col.pixmap().toImage(), a = all.pixmap().toImage();
    EXPECT_FALSE(r.isNull());
    EXPECT_NE(r, c);
    EXPECT_NE(r, a);
    EXPECT_NE(c, a);
    EXPECT_EQ(row.hotSpot(), QPoint(16, 9));
    EXPECT_EQ(col.hotSpot(), QPoint(9, 16));
    // Over a normal cell the application may choose the pointer.
    f.grid->OnGetCellCursor = [](QObject*, int c, int, int, int, int& shape) {
        if (c == 3)
            shape = int(Qt::IBeamCursor);
    };
    EXPECT_EQ(pointerAt(3, 2).shape(), Qt::IBeamCursor);
    EXPECT_EQ(pointerAt(0, 2).shape(), Qt::BitmapCursor) << "not over the row headers";
}

// The in-cell scroll bar becomes a real control over its cell: the user scrolls the cell with it.
TEST(MouseSteps, TheInCellScrollBarIsShownOverItsCellAndScrollsIt)
{
    GridFixture f;
    f.grid->SetRowHeights(2, 80);
    f.grid->AddScrollBar(2, 2, false);
    TScrollProp prop;
    prop.Range = 100;
    prop.PageSize = 20;
    f.grid->SetScrollProp(2, 2, prop);
    std::vector<std::vector<int>> heard;
    f.grid->OnScrollCell = [&](QObject*, int c, int r, int pos, int lo, int hi) { heard.push_back({c, r, pos, lo, hi}); };
    MoveTo(f.grid, Centre(f.grid, 2, 2));
    auto* bar = f.grid->viewport()->findChild<QScrollBar*>(QStringLiteral("CellScrollBar"));
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());
    const TRect cell = f.grid->CellRect(2, 2);
    EXPECT_EQ(bar->geometry().right() + 1, cell.Right - f.grid->GridLineWidth());
    EXPECT_EQ(bar->width(), 17);
    // A click low in the bar pages the cell down.
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(8, bar->height() - 20));
    GridFixture::Pump();
    EXPECT_GT(f.grid->GetScrollPosition(2, 2), 0);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back()[0], 2);
    EXPECT_EQ(heard.back()[1], 2);
    EXPECT_EQ(heard.back()[2], f.grid->GetScrollPosition(2, 2));
    MoveTo(f.grid, Centre(f.grid, 1, 1));
    EXPECT_FALSE(bar->isVisible()) << "over any other cell the bar hides";
    // A cell whose text fits shows no bar.
    prop.PageSize = 100;
    f.grid->SetScrollProp(2, 2, prop);
    MoveTo(f.grid, Centre(f.grid, 2, 2));
    EXPECT_FALSE(bar->isVisible());
}

// ---- moves and sizing are asked and reported --------------------------------------------------

TEST(MouseSteps, MovesAreAskedAndSizingIsReported)
{
    GridFixture f(6, 6);
    f.grid->SetOptions(f.grid->Options() | goColMoving | goRowMoving | goColSizing | goRowSizing);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c)
            f.grid->SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    QWidget* vp = f.grid->viewport();
    auto drag = [&](QPoint a, QPoint b) {
        MoveTo(f.grid, a);
        QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, a);
        MoveTo(f.grid, (a + b) / 2, Qt::LeftButton);
        MoveTo(f.grid, b, Qt::LeftButton);
        QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, b);
        GridFixture::Pump();
    };
    std::vector<int> asked;
    bool allow = false;
    f.grid->OnColumnMove = [&](QObject*, int c, bool& a) { asked.push_back(c), a = allow; };
    f.grid->OnRowMove = [&](QObject*, int r, bool& a) { asked.push_back(100 + r), a = allow; };
    drag(Centre(f.grid, 2, 0), Centre(f.grid, 4, 0));
    drag(Centre(f.grid, 0, 2), Centre(f.grid, 0, 4));
    EXPECT_EQ(asked, (std::vector<int>{2, 102})) << "asked once per move";
    EXPECT_EQ(f.grid->Cells(2, 1), "2:1") << "a refused column move moves nothing";
    EXPECT_EQ(f.grid->Cells(1, 2), "1:2") << "a refused row move moves nothing";
    allow = true;
    drag(Centre(f.grid, 2, 0), Centre(f.grid, 4, 0));
    EXPECT_EQ(f.grid->Cells(4, 1), "2:1");

    // Sizing: the width or height the release will give, while the mouse moves.
    std::vector<std::pair<int, int>> colSizing, rowSizing;
    f.grid->OnColumnSizing = [&](QObject*, int c, int w) { colSizing.push_back({c, w}); };
    f.grid->OnRowSizing = [&](QObject*, int r, int h) { rowSizing.push_back({r, h}); };
    const TRect c1 = f.grid->CellRect(1, 0);
    drag(QPoint(c1.Right, 10), QPoint(c1.Right + 20, 10));
    ASSERT_FALSE(colSizing.empty());
    EXPECT_EQ(colSizing.back(), std::make_pair(1, 110));
    EXPECT_EQ(f.grid->ColWidths(1), 110);
    const TRect r1 = f.grid->CellRect(0, 1);
    const int h1 = f.grid->RowHeights(1);
    drag(QPoint(10, r1.Bottom), QPoint(10, r1.Bottom + 10));
    ASSERT_FALSE(rowSizing.empty());
    EXPECT_EQ(rowSizing.back(), std::make_pair(1, h1 + 10));

    // A border the application refuses to size stays as it is.
    f.grid->OnRowSize = [](QObject*, int, bool& a) { a = false; };
    f.grid->OnColumnSize = [](QObject*, int, bool& a) { a = false; };
    const TRect r2 = f.grid->CellRect(0, 2);
    const int h2 = f.grid->RowHeights(2);
    drag(QPoint(10, r2.Bottom), QPoint(10, r2.Bottom + 15));
    EXPECT_EQ(f.grid->RowHeights(2), h2);
    const TRect c2 = f.grid->CellRect(2, 0);
    drag(QPoint(c2.Right, 10), QPoint(c2.Right + 15, 10));
    EXPECT_EQ(f.grid->ColWidths(2), 90);
}

// ---- the press ---------------------------------------------------------------------------------

TEST(MouseSteps, ASynchronisedGridFollowsAClick)
{
    GridFixture f;
    auto* other = new TZidIzavodUraz(&f.window);
    other->Loaded();
    other->SetColCount(5);
    other->SetRowCount(5);
    f.grid->SyncGrid().SetGrid(other);
    f.grid->SyncGrid().SetSelectionColumn(true);
    f.grid->SyncGrid().SetSelectionRow(true);
    f.Click(3, 2);
    EXPECT_EQ(f.grid->Col(), 3);
    EXPECT_EQ(other->Col(), 3);
    EXPECT_EQ(other->Row(), 2);
}

TEST(MouseSteps, RangeSelectAndEditEditsTheCurrentCellOnAPress)
{
    QWidget window;
    window.resize(520, 320);
    auto* g = new TVerIvovavOzed(&window);
    g->setGeometry(0, 0, 520, 320);
    g->Loaded();
    g->SetCells(2, 2, "abc");
    g->SetOptions(g->Options() & ~TGridOptions(goEditing));
    g->MouseActions().SetRangeSelectAndEdit(true);
    window.show();
    QApplication::setActiveWindow(&window);
    g->setFocus(Qt::OtherFocusReason);
    GridFixture::Pump();
    auto click = [&](int c, int r, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, mods, Centre(g, c, r));
        GridFixture::Pump();
    };
    click(2, 2);
    ASSERT_EQ(g->Col(), 2);
    ASSERT_EQ(g->Row(), 2);
    EXPECT_FALSE(g->EditorMode()) << "the first press only selects";
    click(2, 2);
    EXPECT_TRUE(g->Options() & goEditing);
    ASSERT_TRUE(g->EditorMode());
    EXPECT_TRUE(g->NormalEdit()->isVisible());
    EXPECT_EQ(g->NormalEdit()->text(), "abc");
    // A Shift press elsewhere extends the selection and leaves editing.
    click(3, 3, Qt::ShiftModifier);
    EXPECT_FALSE(g->Options() & goEditing);
    EXPECT_EQ(g->Selection().Bottom, 3);
}

// ---- the update lock ---------------------------------------------------------------------------

TEST(UpdateLock, NothingPaintsUnderTheLockAndAHiddenGridIsNotLocked)
{
    GridFixture f;
    int paints = 0;
    f.grid->OnPainted = [&](QObject*) { ++paints; };
    f.grid->viewport()->update(); // asked for just before the lock
    f.grid->BeginUpdate();
    GridFixture::Pump();
    EXPECT_EQ(paints, 0);
    f.grid->EndUpdate();
    GridFixture::Pump();
    EXPECT_GT(paints, 0);

    f.grid->hide();
    f.grid->BeginUpdate();
    EXPECT_EQ(f.grid->UpdateCount(), 0);
    f.grid->show();
    f.grid->EndUpdate();
    EXPECT_EQ(f.grid->UpdateCount(), 0);
    paints = 0;
    GridFixture::Pump();
    EXPECT_GT(paints, 0);
}

// ---- hot looks, hints and repaints of the mouse move -------------------------------------------

namespace {

// The cells the painter draws, by their displayed column.
struct PaintedCells {
    std::set<std::pair<int, int>> cells;
    explicit PaintedCells(TVerIvovavOzed* g)
    {
        g->OnCustomCellBkgDraw = [this](QObject*, TCanvas&, int c, int r, TGridDrawState, TRect, bool) {
            cells.insert({c, r});
        };
    }
    bool Has(int c, int r) const { return cells.count({c, r}) > 0; }
};

} // namespace

TEST(MouseSteps, TheListViewHeaderTracksItsHotCell)
{
    GridFixture f;
    f.grid->SetLook(glListView);
    PaintedCells painted(f.grid);
    MoveTo(f.grid, Centre(f.grid, 2, 2));
    EXPECT_EQ(f.grid->ListViewHotCell(), TPoint(2, 2));
    GridFixture::Pump();
    painted.cells.clear();
    MoveTo(f.grid, Centre(f.grid, 2, 0));
    EXPECT_EQ(f.grid->ListViewHotCell(), TPoint(2, 0));
    GridFixture::Pump();
    EXPECT_TRUE(painted.Has(2, 0)) << "the new hot header repaints";
    painted.cells.clear();
    MoveTo(f.grid, Centre(f.grid, 3, 0));
    GridFixture::Pump();
    EXPECT_TRUE(painted.Has(2, 0)) << "the previous hot header repaints";
    EXPECT_TRUE(painted.Has(3, 0));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.grid, &leave);
    EXPECT_EQ(f.grid->ListViewHotCell(), TPoint(-1, -1));
    // Other looks keep no hot header.
    GridFixture g;
    MoveTo(g.grid, Centre(g.grid, 2, 0));
    EXPECT_EQ(g.grid->ListViewHotCell(), TPoint(-1, -1));
}

TEST(MouseSteps, AButtonOrExpandBoxUnderTheMouseIsHot)
{
    GridFixture f;
    f.grid->SetRowHeights(2, 40);
    f.grid->AddButton(2, 2, 40, 16, QStringLiteral("Go"), haLeft, vaTop);
    f.grid->AddExpand(3, 2, 60);
    GridFixture::Pump(); // the painter places the button
    const TRect br = f.grid->GetCellButtonRect(2, 2);
    ASSERT_GT(br.Right, br.Left);
    const TRect er = f.grid->GetExpandButtonRect(3, 2);
    ASSERT_GT(er.Right, er.Left);
    PaintedCells painted(f.grid);
    MoveTo(f.grid, QPoint(br.Left + 3, br.Top + 3));
    EXPECT_EQ(f.grid->HotButtonCell(), TPoint(2, 2));
    GridFixture::Pump();
    EXPECT_TRUE(painted.Has(2, 2));
    const TRect cell = f.grid->CellRect(2, 2);
    MoveTo(f.grid, QPoint(cell.Right - 3, cell.Bottom - 3));
    EXPECT_EQ(f.grid->HotButtonCell(), TPoint(-1, -1)) << "the cell outside its button is not hot";
    MoveTo(f.grid, QPoint(er.Left + 3, er.Top + 3));
    EXPECT_EQ(f.grid->HotButtonCell(), TPoint(3, 2));
    painted.cells.clear();
    MoveTo(f.grid, Centre(f.grid, 1, 1));
    EXPECT_EQ(f.grid->HotButtonCell(), TPoint(-1, -1));
    GridFixture::Pump();
    EXPECT_TRUE(painted.Has(3, 2)) << "the cell that was hot repaints";
}

// A drag with the selection drawn as a rectangle repaints the rows of the old and the new
// selection, not the whole grid.
TEST(MouseSteps, ADragRepaintsOnlyTheSelectionArea)
{
    GridFixture f(5, 8);
    f.grid->SetOptions(f.grid->Options() | goRangeSelect);
    f.grid->SetSelectionRectangle(true);
    QWidget* vp = f.grid->viewport();
    MoveTo(f.grid, Centre(f.grid, 1, 1));
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, Centre(f.grid, 1, 1));
    GridFixture::Pump();
    PaintedCells painted(f.grid);
    MoveTo(f.grid, Centre(f.grid, 2, 2), Qt::LeftButton);
    GridFixture::Pump();
    const TGridRect s = f.grid->Selection();
    EXPECT_EQ(s.Right, 2);
    EXPECT_EQ(s.Bottom, 2);
    EXPECT_TRUE(painted.Has(2, 2));
    EXPECT_TRUE(painted.Has(1, 1));
    EXPECT_FALSE(painted.Has(1, 6)) << "rows away from the selection do not repaint";
    painted.cells.clear();
    MoveTo(f.grid, Centre(f.grid, 1, 1), Qt::LeftButton);
    GridFixture::Pump();
    EXPECT_TRUE(painted.Has(2, 2)) << "the area the selection left repaints";
    EXPECT_FALSE(painted.Has(1, 6));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, Centre(f.grid, 1, 1));
}

// A shown cell hint ends when the mouse leaves its cell.
TEST(MouseSteps, LeavingTheHintCellCancelsTheHint)
{
    GridFixture f;
    f.grid->SetShowHint(true);
    f.grid->SetHint(QStringLiteral("a hint"));
    QWidget* vp = f.grid->viewport();
    const QPoint at = Centre(f.grid, 2, 2);
    MoveTo(f.grid, at);
    QHelpEvent help(QEvent::ToolTip, at, vp->mapToGlobal(at));
    QApplication::sendEvent(vp, &help);
    GridFixture::Pump();
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(f.grid->LastHintCell(), TPoint(2, 2));
    MoveTo(f.grid, at + QPoint(5, 0));
    EXPECT_TRUE(QToolTip::isVisible()) << "moving inside the cell keeps it";
    MoveTo(f.grid, Centre(f.grid, 3, 2));
    EXPECT_EQ(f.grid->LastHintCell(), TPoint(-1, -1));
    QTest::qWait(400);
    EXPECT_FALSE(QToolTip::isVisible());
}

// With HintShowSizing a hint shows the width or height while the mouse sizes.
TEST(MouseSteps, SizingShowsTheNewSizeInAHint)
{
    GridFixture f;
    f.grid->SetOptions(f.grid->Options() | goColSizing | goRowSizing);
    f.grid->SetHintShowSizing(true);
    QWidget* vp = f.grid->viewport();
    const TRect c1 = f.grid->CellRect(1, 0);
    const QPoint a(c1.Right, 10), b(c1.Right + 20, 10);
    MoveTo(f.grid, a);
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, a);
    MoveTo(f.grid, b, Qt::LeftButton);
    auto* hint = static_cast<THTMLHintWindow*>(f.grid->SizingHintWindow());
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->Caption(), "cw=<b>110</b>");
    EXPECT_EQ(hint->pos(), vp->mapToGlobal(QPoint(c1.Left, c1.Top)));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, b);
    EXPECT_FALSE(hint->isVisible()) << "the release ends the hint";
    const TRect r1 = f.grid->CellRect(0, 1);
    const int h1 = f.grid->RowHeights(1);
    const QPoint ra(10, r1.Bottom), rb(10, r1.Bottom + 10);
    MoveTo(f.grid, ra);
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, ra);
    MoveTo(f.grid, rb, Qt::LeftButton);
    EXPECT_EQ(hint->Caption(), QStringLiteral("rh=<b>%1</b>").arg(h1 + 10));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, rb);
    // Without the setting no hint shows.
    f.grid->SetHintShowSizing(false);
    const TRect c2 = f.grid->CellRect(2, 0);
    MoveTo(f.grid, QPoint(c2.Right, 10));
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, QPoint(c2.Right, 10));
    MoveTo(f.grid, QPoint(c2.Right + 10, 10), Qt::LeftButton);
    EXPECT_FALSE(hint->isVisible());
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, QPoint(c2.Right + 10, 10));
}

// The in-cell scroll bar stays over its cell when the grid scrolls under a still mouse.
TEST(MouseSteps, TheInCellScrollBarFollowsItsCellWhenTheGridScrolls)
{
    GridFixture f(5, 30);
    f.grid->SetRowHeights(3, 60);
    f.grid->AddScrollBar(2, 3, false);
    TScrollProp prop;
    prop.Range = 100;
    prop.PageSize = 20;
    f.grid->SetScrollProp(2, 3, prop);
    MoveTo(f.grid, Centre(f.grid, 2, 3));
    auto* bar = f.grid->viewport()->findChild<QScrollBar*>(QStringLiteral("CellScrollBar"));
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());
    f.grid->SetTopRow(2);
    GridFixture::Pump();
    const TRect cell = f.grid->CellRect(2, 3);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry().top(), cell.Top + f.grid->GridLineWidth());
    EXPECT_EQ(bar->geometry().right() + 1, cell.Right - f.grid->GridLineWidth());
    f.grid->SetTopRow(10);
    GridFixture::Pump();
    EXPECT_FALSE(bar->isVisible()) << "a cell scrolled out of view takes its bar along";
}

// A grid outside the tab order sets up its proportional scroll bar at its first paint.
TEST(GridPaint, AGridWithoutTabStopSetsUpItsProportionalBarAtItsFirstPaint)
{
    QWidget window;
    window.resize(400, 200);
    auto* g = new TVerIvovavOzed(&window);
    g->setGeometry(0, 0, 400, 200);
    g->setFocusPolicy(Qt::NoFocus);
    g->Loaded();
    g->SetColCount(3);
    g->SetRowCount(5);
    g->SetScrollProportional(true);
    g->SetRowCount(60); // rows added after the setting
    window.show();
    GridFixture::Pump();
    TScrollInfo after;
    after.fMask = SIF_ALL;
    g->GetScrollInfo(SB_VERT, after);
    EXPECT_NE(after.nMax, GridScrollMax) << "the proportional range, not the plain scale";
    EXPECT_GT(int(after.nPage), 0);
}
