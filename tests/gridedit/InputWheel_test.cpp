// The wheel, Ctrl with the wheel, wheel panning with the middle button, and what follows a
// scroll: a special editor ends, the plain one stays, a synchronised grid follows, cell controls
// leave and come back with their cells.
#include "tests/gridedit/GridFixture.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QWheelEvent>
#include <gtest/gtest.h>

using kt_test::GridFixture;

namespace {

void Wheel(TStringGrid* grid, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const QPointF p(100, 100);
    QWheelEvent ev(p, grid->viewport()->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &ev);
    GridFixture::Pump();
}

QString GrabsDir()
{
    const QString dir = QStringLiteral("/tmp/grabs18b");
    QDir().mkpath(dir);
    return dir;
}

} // namespace

TEST(InputWheel, NotchesMoveTheRowNeverIntoFixedOrFooterRows)
{
    GridFixture f(5, 40);
    f.grid->SetFixedFooters(1);
    f.GoTo(1, 1);
    ASSERT_EQ(f.grid->WheelScrollLines(), 3);
    Wheel(f.grid, -120); // towards the user
    EXPECT_EQ(f.grid->Row(), 4);
    Wheel(f.grid, 120);
    EXPECT_EQ(f.grid->Row(), 1);
    Wheel(f.grid, 120); // never into the fixed row
    EXPECT_EQ(f.grid->Row(), 1);
    f.GoTo(1, 37);
    Wheel(f.grid, -120); // never into the footer row 39
    EXPECT_EQ(f.grid->Row(), 38);
    Wheel(f.grid, -60); // half a notch waits for the other half
    EXPECT_EQ(f.grid->Row(), 38);
    Wheel(f.grid, 60);
    EXPECT_EQ(f.grid->Row(), 38);

    // WheelIncrement overrides the lines per notch; a switched-off wheel does nothing.
    f.GoTo(1, 10);
    f.grid->MouseActions().SetWheelIncrement(5);
    Wheel(f.grid, -120);
    EXPECT_EQ(f.grid->Row(), 15);
    f.grid->SetEnableWheel(false);
    Wheel(f.grid, -120);
    EXPECT_EQ(f.grid->Row(), 15);
}

TEST(InputWheel, ScrollActionMovesTheTopRowAndNotTheCurrentRow)
{
    GridFixture f(5, 40);
    f.grid->MouseActions().SetWheelAction(waScroll);
    f.GoTo(1, 2);
    const int top = f.grid->TopRow();
    Wheel(f.grid, -120);
    EXPECT_EQ(f.grid->TopRow(), top + 3);
    EXPECT_EQ(f.grid->Row(), 2);
    Wheel(f.grid, 120);
    Wheel(f.grid, 120); // not past the fixed rows
    EXPECT_EQ(f.grid->TopRow(), 1);
    EXPECT_EQ(f.grid->Row(), 2);
}

TEST(InputWheel, ARefusedRowMovesHalfWay)
{
    GridFixture f(5, 40);
    f.GoTo(1, 10);
    f.grid->OnSelectCell = [](QObject*, int, int r, bool& can) { can = r != 13; };
    Wheel(f.grid, -120); // 13 refused: half of 3 rounds to 2
    EXPECT_EQ(f.grid->Row(), 12);
}

TEST(InputWheel, ZoomGrowsEverySizeAlikeWithinTenSteps)
{
    GridFixture f(5, 10);
    f.grid->SetColWidths(3, 0);
    f.grid->SetRowHeights(4, 2);
    const int w1 = f.grid->ColWidths(1), h1 = f.grid->RowHeights(1);
    f.grid->Zoom(2);
    EXPECT_EQ(f.grid->ColWidths(1), w1 + 2);
    EXPECT_EQ(f.grid->RowHeights(1), h1 + 2);
    EXPECT_EQ(f.grid->ColWidths(3), 0); // a hidden width stays hidden
    EXPECT_EQ(f.grid->ZoomFactor(), 2);
    f.grid->Zoom(-4);
    EXPECT_EQ(f.grid->RowHeights(4), 4); // 4 - 4 would reach 0: it stays
    EXPECT_EQ(f.grid->RowHeights(1), h1 - 2);
    EXPECT_EQ(f.grid->ZoomFactor(), -2);
    f.grid->Zoom(-9); // -11: ignored whole
    EXPECT_EQ(f.grid->ZoomFactor(), -2);
    EXPECT_EQ(f.grid->RowHeights(1), h1 - 2);

    // Ctrl with the wheel: 3 lines a notch, the fourth notch away from the user does nothing.
    GridFixture g(4, 6);
    for (int c = 0; c < 4; ++c)
        g.grid->SetCells(c, 1, QStringLiteral("text %1").arg(c));
    for (int i = 0; i < 3; ++i)
        Wheel(g.grid, -120, Qt::ControlModifier);
    EXPECT_EQ(g.grid->ZoomFactor(), 9);
    std::vector<int> widths;
    for (int c = 0; c < 4; ++c)
        widths.push_back(g.grid->ColWidths(c));
    Wheel(g.grid, -120, Qt::ControlModifier);
    EXPECT_EQ(g.grid->ZoomFactor(), 9);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(g.grid->ColWidths(c), widths[size_t(c)]) << c;
    Wheel(g.grid, 120, Qt::ControlModifier);
    EXPECT_EQ(g.grid->ZoomFactor(), 6);
    EXPECT_EQ(g.grid->Row(), 1); // Ctrl with the wheel does not move the row
    QImage img = g.grid->grab().toImage();
    EXPECT_TRUE(img.save(GrabsDir() + QStringLiteral("/zoomed_grid.png")));
}

TEST(InputWheel, MiddleButtonPansVerticallyUntilAKey)
{
    GridFixture f(5, 40);
    f.GoTo(2, 3);
    const Qt::CursorShape before = f.grid->viewport()->cursor().shape();
    const QPoint origin(200, 100);
    // Panning goes on after the button comes up; the release keeps the test library's mouse
    // state clean for the tests that follow.
    QTest::mouseClick(f.grid->viewport(), Qt::MiddleButton, Qt::NoModifier, origin);
    GridFixture::Pump();
    ASSERT_TRUE(f.grid->Panning());
    EXPECT_EQ(f.grid->PanPointer(), 8000);
    ASSERT_NE(f.grid->PanOriginMark(), nullptr);
    EXPECT_TRUE(f.grid->PanOriginMark()->isVisible());
    EXPECT_EQ(f.grid->PanOriginMark()->pos(), origin);
    EXPECT_EQ(f.grid->viewport()->cursor().shape(), Qt::BitmapCursor);

    // ipVertical: sideways does nothing.
    f.grid->SetPanMouse(origin.x() + 60, origin.y());
    f.grid->PanningStep();
    EXPECT_EQ(f.grid->Row(), 3);
    EXPECT_EQ(f.grid->Col(), 2);
    EXPECT_EQ(f.grid->PanPointer(), 8000);
    // Five pixels below is still the dead zone; six pixels below moves one row per tick.
    f.grid->SetPanMouse(origin.x(), origin.y() + 5);
    f.grid->PanningStep();
    EXPECT_EQ(f.grid->Row(), 3);
    QTest::mouseMove(f.grid->viewport(), QPoint(origin.x(), origin.y() + 6));
    f.grid->SetPanMouse(origin.x(), origin.y() + 6);
    f.grid->PanningStep();
    EXPECT_EQ(f.grid->Row(), 4);
    EXPECT_EQ(f.grid->PanPointer(), 8001);
    f.grid->PanningStep();
    EXPECT_EQ(f.grid->Row(), 5);
    // Up and to the left with ipBoth: pointer 8006, row and column step back.
    f.grid->SetIntelliPan(ipBoth);
    f.grid->SetPanMouse(origin.x() - 20, origin.y() - 20);
    f.grid->PanningStep();
    EXPECT_EQ(f.grid->PanPointer(), 8006);
    EXPECT_EQ(f.grid->Row(), 4);
    EXPECT_EQ(f.grid->Col(), 1);

    // A key ends the panning and gives the pointer back.
    f.Key(Qt::Key_Shift);
    EXPECT_FALSE(f.grid->Panning());
    EXPECT_EQ(f.grid->PanPointer(), 0);
    EXPECT_FALSE(f.grid->PanOriginMark()->isVisible());
    EXPECT_EQ(f.grid->viewport()->cursor().shape(), before);
    f.grid->PanningStep(); // a late tick moves nothing
    EXPECT_EQ(f.grid->Row(), 4);

    // A button press ends it too; ipNone never starts it.
    QTest::mouseClick(f.grid->viewport(), Qt::MiddleButton, Qt::NoModifier, origin);
    ASSERT_TRUE(f.grid->Panning());
    QTest::mouseClick(f.grid->viewport(), Qt::MiddleButton, Qt::NoModifier, origin);
    EXPECT_FALSE(f.grid->Panning());
    f.grid->SetIntelliPan(ipNone);
    QTest::mouseClick(f.grid->viewport(), Qt::MiddleButton, Qt::NoModifier, origin);
    EXPECT_FALSE(f.grid->Panning());
    EXPECT_EQ(QTestPrivate::qtestMouseButtons, Qt::NoButton) << "no button is left held";
}

TEST(InputWheel, TheNinePanPointersAreDrawn)
{
    for (int n = 8000; n <= 8008; ++n) {
        const QImage img(QStringLiteral(":/assets/PAN%1.bmp").arg(n));
        ASSERT_FALSE(img.isNull()) << n;
        EXPECT_EQ(img.size(), QSize(32, 32)) << n;
        EXPECT_EQ(img.pixel(0, 0), qRgb(255, 0, 255)) << n;    // the transparent key
        EXPECT_EQ(img.pixel(16, 16), qRgb(0, 0, 0)) << n;      // the origin dot at the hot spot
    }
    // The arrows point the right way: 8001 has black below the middle, none above.
    const QImage down(QStringLiteral(":/assets/PAN8001.bmp"));
    EXPECT_EQ(down.pixel(16, 27), qRgb(0, 0, 0));
    EXPECT_NE(down.pixel(16, 4), qRgb(0, 0, 0));
}

TEST(InputScroll, ScrollingEndsAComboListEditAndKeepsAPlainOne)
{
    GridFixture f(5, 40);
    f.Column(2)->SetEditor(edComboList);
    f.Column(2)->ComboItems().Add("A");
    f.Column(2)->ComboItems().Add("B");
    f.grid->SetCells(2, 2, "B");
    f.GoTo(2, 2);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.grid->GetEditMode());
    f.Key(Qt::Key_Up); // the list's choice becomes "A"
    f.grid->SetTopRow(f.grid->TopRow() + 1);
    GridFixture::Pump();
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(2, 2), "A");

    f.GoTo(1, 3);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.grid->GetEditMode());
    f.Type("xy");
    f.grid->SetTopRow(f.grid->TopRow() + 1);
    GridFixture::Pump();
    EXPECT_TRUE(f.grid->GetEditMode());
    f.Key(Qt::Key_Return);
    EXPECT_TRUE(f.grid->Cells(1, 3).endsWith("xy"));
}

TEST(InputScroll, ASynchronisedGridFollowsEveryVerticalScroll)
{
    GridFixture f(5, 40);
    GridFixture g(5, 40);
    f.grid->SyncGrid().SetGrid(g.grid);
    f.grid->SyncGrid().SetScrollVertical(true);
    f.grid->MouseActions().SetWheelAction(waScroll);
    Wheel(f.grid, -120); // by wheel
    EXPECT_EQ(f.grid->TopRow(), 4);
    EXPECT_EQ(g.grid->TopRow(), 4);
    f.grid->SetTopRow(9); // by code or scroll bar
    EXPECT_EQ(g.grid->TopRow(), 9);
    f.grid->setFocus();
    f.GoTo(1, 9);
    for (int i = 0; i < 14; ++i) // by keyboard, down past the page
        QTest::keyClick(f.grid, Qt::Key_Down);
    GridFixture::Pump();
    EXPECT_GT(f.grid->TopRow(), 9);
    EXPECT_EQ(g.grid->TopRow(), f.grid->TopRow());
    EXPECT_EQ(g.grid->LeftCol(), 1); // horizontal following stays off
}

TEST(InputScroll, ACellControlLeavesWithItsCellAndComesBackOnePixelLarger)
{
    GridFixture f(5, 40);
    auto* edit = new QLineEdit(f.grid->viewport());
    f.grid->SetCellControls(2, 3, edit);
    edit->show();
    GridFixture::Pump();
    f.grid->SetTopRow(10);
    GridFixture::Pump();
    EXPECT_FALSE(edit->isVisible());
    f.grid->SetTopRow(1);
    GridFixture::Pump();
    ASSERT_TRUE(edit->isVisible());
    const TRect r = f.grid->CellRect(2, 3);
    EXPECT_EQ(edit->geometry(), QRect(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1));
}
