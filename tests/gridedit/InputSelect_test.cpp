// Presses on the fixed cells that select whole rows, whole columns or every cell.
#include "tests/gridedit/GridFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct HeaderPress {
    const char* name;
    bool allSelect, rowSelect, colSelect;
    int firstCol, firstRow; // first press
    int shiftCol, shiftRow; // second press with Shift, -1 for none
    TGridRect expected;
};

void Press(kt_test::GridFixture& f, int col, int row, Qt::KeyboardModifiers mods)
{
    const TRect r = f.grid->CellRect(col, row);
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, mods,
                      QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    kt_test::GridFixture::Pump();
}

TEST(InputSelect, PressesOnFixedCellsSelectWholeRowsColumnsOrAll)
{
    const HeaderPress cases[] = {
        {"corner selects all", true, false, false, 0, 0, -1, -1, {1, 1, 5, 6}},
        {"row header selects the row", false, true, false, 0, 3, -1, -1, {1, 3, 5, 3}},
        {"shift extends rows downwards", false, true, false, 0, 2, 0, 5, {1, 2, 5, 5}},
        {"shift extends rows upwards", false, true, false, 0, 5, 0, 2, {1, 2, 5, 5}},
        {"column header selects the column", false, false, true, 2, 0, -1, -1, {2, 1, 2, 6}},
        {"shift extends columns rightwards", false, false, true, 2, 0, 4, 0, {2, 1, 4, 6}},
        {"shift extends columns leftwards", false, false, true, 4, 0, 2, 0, {2, 1, 4, 6}},
    };
    for (const HeaderPress& c : cases) {
        SCOPED_TRACE(c.name);
        kt_test::GridFixture f(6, 7);
        f.grid->SetOptions(f.grid->Options() | goRangeSelect);
        f.grid->MouseActions().SetAllSelect(c.allSelect);
        f.grid->MouseActions().SetRowSelect(c.rowSelect);
        f.grid->MouseActions().SetColSelect(c.colSelect);
        Press(f, c.firstCol, c.firstRow, Qt::NoModifier);
        if (c.shiftCol >= 0)
            Press(f, c.shiftCol, c.shiftRow, Qt::ShiftModifier);
        const TGridRect s = f.grid->Selection();
        EXPECT_EQ(s.Left, c.expected.Left);
        EXPECT_EQ(s.Top, c.expected.Top);
        EXPECT_EQ(s.Right, c.expected.Right);
        EXPECT_EQ(s.Bottom, c.expected.Bottom);
        EXPECT_FALSE(f.grid->SelectionHidden());
    }
}

TEST(InputSelect, FixedCellPressesWithoutTheSettingsSelectNoRange)
{
    kt_test::GridFixture f(6, 7);
    f.grid->SetOptions(f.grid->Options() | goRangeSelect);
    f.GoTo(2, 2);
    for (const TPoint p : {TPoint{0, 0}, TPoint{0, 3}, TPoint{3, 0}}) {
        Press(f, p.X, p.Y, Qt::NoModifier);
        const TGridRect s = f.grid->Selection();
        EXPECT_TRUE(s.Left == s.Right && s.Top == s.Bottom) << p.X << "," << p.Y;
    }
}

TEST(InputSelect, ExpandBoxTogglesWhenReleasedOnIt)
{
    kt_test::GridFixture f(5, 5);
    f.grid->SetOptions(f.grid->Options() | goEditing);
    f.grid->AddExpand(3, 2, 60);
    kt_test::GridFixture::Pump();
    const TRect er = f.grid->GetExpandButtonRect(3, 2);
    ASSERT_EQ(er.Right - er.Left, 11);
    const QPoint on((er.Left + er.Right) / 2, (er.Top + er.Bottom) / 2);
    const TRect other = f.grid->CellRect(1, 3);
    const QPoint off((other.Left + other.Right) / 2, (other.Top + other.Bottom) / 2);
    std::vector<std::string> log;
    f.grid->OnExpandClick = [&](QObject*, int col, int row, bool expanded) {
        log.push_back("expand " + std::to_string(col) + "," + std::to_string(row) + " " + (expanded ? "open" : "shut"));
    };
    f.grid->OnClickCell = [&](QObject*, int row, int col) {
        log.push_back("click " + std::to_string(col) + "," + std::to_string(row));
    };
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, on);
    kt_test::GridFixture::Pump();
    EXPECT_TRUE(f.grid->GetExpandState(3, 2));
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, on);
    kt_test::GridFixture::Pump();
    EXPECT_FALSE(f.grid->GetExpandState(3, 2));
    // Released elsewhere: no toggle.
    QTest::mousePress(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, on);
    QTest::mouseRelease(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, off);
    kt_test::GridFixture::Pump();
    EXPECT_FALSE(f.grid->GetExpandState(3, 2));
    EXPECT_EQ(log, std::vector<std::string>({"click 3,2", "expand 3,2 open", "click 3,2", "expand 3,2 shut",
                                             "click 3,2"}));
}

} // namespace

namespace {

TCellGraphic* MakeObject(TVerIvovavOzed* g, int col, int row, TCellType type)
{
    TCellGraphic* o = g->CreateCellGraphic(col, row);
    o->SetCellType(type);
    return o;
}

TEST(InputSelect, RatingPressSetsHalfPointsUnlessRefused)
{
    struct Case {
        int dx;
        bool refuse;
        double expected;
    };
    const Case cases[] = {{4, false, 0.0}, {20, false, 1.0}, {30, false, 1.5}, {80, false, 4.0}, {30, true, 3.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dx);
        kt_test::GridFixture f(5, 5);
        f.grid->SetOptions(f.grid->Options() | goEditing);
        MakeObject(f.grid, 2, 2, ctRating)->SetCellAngle(5);
        f.grid->SetFloats(2, 2, 3.0);
        int events = 0;
        f.grid->OnRatingChange = [&](QObject*, int col, int row, double&, bool& allow) {
            ++events;
            EXPECT_EQ(col, 2);
            EXPECT_EQ(row, 2);
            allow = !c.refuse;
        };
        const TRect r = f.grid->CellRect(2, 2);
        QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(r.Left + c.dx, r.Top + 5));
        kt_test::GridFixture::Pump();
        EXPECT_EQ(events, 1);
        EXPECT_DOUBLE_EQ(f.grid->Floats(2, 2), c.expected);
    }
}

TEST(InputSelect, CellButtonFiresOnlyWhenReleasedOnIt)
{
    struct Case {
        const char* name;
        bool pressOnButton, releaseOnButton;
        int clicks;
    };
    const Case cases[] = {
        {"press and release on the button", true, true, 1},
        {"released elsewhere", true, false, 0},
        {"pressed beside the button", false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kt_test::GridFixture f(5, 5);
        f.grid->SetOptions(f.grid->Options() | goEditing);
        TCellGraphic* b = MakeObject(f.grid, 3, 2, ctButton);
        b->SetCellIndex((16 << 16) | 30);
        b->SetCellValue(0);
        kt_test::GridFixture::Pump();
        const TRect br = f.grid->GetCellButtonRect(3, 2);
        ASSERT_LT(br.Left, br.Right);
        const QPoint on((br.Left + br.Right) / 2, (br.Top + br.Bottom) / 2);
        const TRect other = f.grid->CellRect(1, 3);
        const QPoint off((other.Left + other.Right) / 2, (other.Top + other.Bottom) / 2);
        const TRect cell = f.grid->CellRect(3, 2);
        const QPoint beside(cell.Right - 4, cell.Bottom - 3);
        ASSERT_FALSE(beside.x() < br.Right && beside.y() < br.Bottom);

        std::vector<std::string> log;
        f.grid->OnButtonClick = [&](QObject*, int col, int row) {
            log.push_back("button " + std::to_string(col) + "," + std::to_string(row));
        };
        f.grid->OnClickCell = [&](QObject*, int row, int col) {
            log.push_back("click " + std::to_string(col) + "," + std::to_string(row));
        };
        QTest::mousePress(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, c.pressOnButton ? on : beside);
        if (c.pressOnButton) {
            EXPECT_TRUE(b->CellBoolean());
        }
        QTest::mouseRelease(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, c.releaseOnButton ? on : off);
        kt_test::GridFixture::Pump();
        EXPECT_FALSE(b->CellBoolean());
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), "click 3,2");
        EXPECT_EQ(int(std::count(log.begin(), log.end(), std::string("button 3,2"))), c.clicks);
    }
}

} // namespace

namespace {

TEST(InputSelect, FixedColumnsAndRowsSizedByTheirBorders)
{
    struct Case {
        const char* name;
        bool sizeCol, sizeRow, alongRow;
        int expectedCol0, expectedRow0; // -1: unchanged
    };
    const Case cases[] = {
        {"fixed column border", true, false, false, 140, -1},
        {"fixed row border", false, true, true, -1, 50},
        {"setting off leaves the column", false, false, false, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kt_test::GridFixture f(5, 5);
        f.grid->MouseActions().SetSizeFixedCol(c.sizeCol);
        f.grid->MouseActions().SetSizeFixedRow(c.sizeRow);
        const int w0 = f.grid->ColWidths(0), h0 = f.grid->RowHeights(0);
        int ended = -1;
        f.grid->OnEndColumnSize = [&](QObject*, int col) { ended = col; };
        f.grid->OnEndRowSize = [&](QObject*, int row) { ended = row; };
        QWidget* vp = f.grid->viewport();
        const QPoint border = c.alongRow ? QPoint(200, h0 + 1) : QPoint(w0 + 1, 3 * h0 / 2 + 30);
        const QPoint target = c.alongRow ? QPoint(200, 50) : QPoint(140, border.y());
        QTest::mouseMove(vp, border);
        kt_test::GridFixture::Pump();
        QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, border);
        QTest::mouseMove(vp, target);
        QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, target);
        kt_test::GridFixture::Pump();
        EXPECT_EQ(f.grid->ColWidths(0), c.expectedCol0 < 0 ? w0 : c.expectedCol0);
        EXPECT_EQ(f.grid->RowHeights(0), c.expectedRow0 < 0 ? h0 : c.expectedRow0);
        EXPECT_EQ(ended, c.expectedCol0 < 0 && c.expectedRow0 < 0 ? -1 : 0);
    }
}

} // namespace
