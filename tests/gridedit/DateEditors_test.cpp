// The grid's date, time and date-and-time editors, driven as a user drives them on a column grid
// with one column per editor type after a hidden column.
#include "tests/gridedit/GridFixture.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"
#include "tests/TestSupport.h"

#include <QCalendarWidget>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <vector>

using kt_test::GridFixture;
using namespace platform;

namespace {

using Pinned = kt_test::PinnedClock;

// Real column 1 is hidden: date (2), up-down date (3), time (4), date and time (5) show at
// displayed columns 1 to 4.
struct DateGrid : kt_test::LoggedEditorGrid {
    DateGrid() : LoggedEditorGrid(7, {edDateEdit, edDateEditUpDown, edTimeEdit, edDateTimeEdit}) {}
    TGridDatePicker* Date() { return grid->DateTimePicker(); }
    TGridDateTimePicker* DateTime() { return grid->DateAndTimePicker(); }
};

} // namespace

TEST(GridDateEditors, OneControlEachHiddenAndDisabledUntilUsed)
{
    GridFixture f;
    TGridDatePicker* d = f.grid->DateTimePicker();
    TGridDateTimePicker* dt = f.grid->DateAndTimePicker();
    EXPECT_EQ(d, f.grid->DateTimePicker());
    EXPECT_EQ(dt, f.grid->DateAndTimePicker());
    for (QWidget* w : {static_cast<QWidget*>(d), static_cast<QWidget*>(dt)}) {
        EXPECT_FALSE(w->isVisible());
        EXPECT_FALSE(w->isEnabled());
    }
}

TEST(GridDateEditors, StartValuesAndWrittenTexts)
{
    Pinned pinned;
    struct Case {
        int realCol;
        const char* start;
        const char* written; // after F2 and Enter
    } cases[] = {
        {2, "3/4/2024", "3/4/2024"}, // the short date
        {2, "", "6/7/2025"},         // empty: today
        {2, "no date", "6/7/2025"},
        {3, "12/31/2023", "12/31/2023"},
        {4, "9:05", "9:05:00"},
        {4, "x", "8:30:00"},         // not a time: now
        {5, "3/4/2024 10:15", "3/4/2024 10:15"},
        {5, "", "6/7/2025 8:30"},
    };
    for (const Case& c : cases) {
        DateGrid f;
        f.Open_Cell(c.realCol, 1, c.start);
        ASSERT_TRUE(f.grid->GetEditMode()) << c.start;
        QWidget* editor = c.realCol == 5 ? static_cast<QWidget*>(f.DateTime()) : f.Date();
        EXPECT_TRUE(editor->isVisible()) << c.start;
        EXPECT_TRUE(editor->hasFocus() || editor->isAncestorOf(f.Focus())) << c.start;
        if (c.realCol == 3) {
            EXPECT_EQ(f.Date()->DateMode(), dmUpDown);
        } else if (c.realCol == 2) {
            EXPECT_EQ(f.Date()->DateMode(), dmComboBox);
        }
        f.Key(Qt::Key_Return);
        EXPECT_FALSE(f.grid->GetEditMode()) << c.start;
        EXPECT_FALSE(editor->isVisible()) << c.start;
        EXPECT_EQ(f.grid->Cells(c.realCol, 1), c.written) << c.realCol << " " << c.start;
    }
}

TEST(GridDateEditors, DatesOutsideTheRangeOpenJustInside)
{
    Pinned pinned;
    DateGrid f;
    f.Date()->SetMinDate(EncodeDate(2020, 1, 1));
    f.Date()->SetMaxDate(EncodeDate(2030, 1, 1));
    for (const auto& [start, written] : std::vector<std::pair<QString, QString>>{
             {"1/1/2020", "1/2/2020"}, {"5/5/2010", "1/2/2020"}, {"2/1/2031", "12/31/2029"}, {"1/1/2030", "1/1/2030"}}) {
        f.grid->SetCells(2, 1, start);
        f.Edit_And_Accept(1, 1);
        EXPECT_EQ(f.grid->Cells(2, 1), written) << start.toStdString();
    }
    // A program's own conversion decides alone.
    f.grid->OnCustomStrToDate = [](QObject*, const QString&, double& d) { d = EncodeDate(1999, 9, 9); };
    f.Edit_And_Accept(1, 1);
    EXPECT_EQ(f.grid->Cells(2, 1), "9/9/1999");
}

TEST(GridDateEditors, TypedDigitsStartTheEditAndMoveThroughTheFields)
{
    Pinned pinned;
    DateGrid f;
    f.grid->SetCells(2, 1, "3/4/2024");
    f.GoTo(1, 1);
    // The typed digit arrives in the month field, which then hands the caret to the day.
    f.Type("5");
    ASSERT_TRUE(f.Date()->isVisible());
    EXPECT_EQ(f.Date()->text(), "5/4/2024");
    EXPECT_EQ(f.Date()->CurrentField(), 1);
    f.Type("7");
    EXPECT_EQ(f.Date()->text(), "5/7/2024");
    EXPECT_EQ(f.Date()->CurrentField(), 2);
    // The year is the last field: it takes the value when all its digits are in, and the caret
    // stays in it.
    f.Type("203");
    EXPECT_EQ(f.Date()->text(), "5/7/2024");
    f.Type("1");
    EXPECT_EQ(f.Date()->text(), "5/7/2031");
    EXPECT_EQ(f.Date()->CurrentField(), 2);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(2, 1), "5/7/2031");

    // A time moves on after each changed field; a digit that changes nothing leaves the caret.
    f.Open_Cell(4, 1, "9:05:00");
    f.Type("9");
    EXPECT_EQ(f.Date()->CurrentField(), 0);
    f.Type("1");
    EXPECT_EQ(f.Date()->CurrentField(), 1);
    f.Key(Qt::Key_Escape);
}

TEST(GridDateEditors, EscapeAndRefusedValidation)
{
    Pinned pinned;
    DateGrid f;
    // Escape reads the cell again: a cell that is no date gets today's date.
    f.Open_Cell(2, 1, "3/4/2024");
    f.Key(Qt::Key_Up);
    EXPECT_EQ(f.Date()->text(), "4/4/2024");
    f.log.clear();
    f.Key(Qt::Key_Escape);
    EXPECT_EQ(f.grid->Cells(2, 1), "3/4/2024");
    EXPECT_EQ(f.log, (std::vector<QString>{"done", "celldone 2,1"}));
    f.grid->SetCells(2, 1, "soon");
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_Escape);
    EXPECT_EQ(f.grid->Cells(2, 1), "6/7/2025");

    // A refused value keeps the editor open, back on the value the cell holds.
    int calls = 0;
    f.grid->OnCellValidate = [&](QObject*, int c, int r, QString& v, bool& valid) {
        ++calls;
        EXPECT_EQ(c, 2);
        EXPECT_EQ(r, 1);
        valid = v != "7/7/2025";
    };
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_Up);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(f.grid->GetEditMode());
    EXPECT_TRUE(f.Date()->hasFocus());
    EXPECT_EQ(f.Date()->text(), "6/7/2025");
    EXPECT_EQ(f.grid->Cells(2, 1), "6/7/2025");
    f.Key(Qt::Key_Up);
    f.Key(Qt::Key_Up);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(2, 1), "8/7/2025");

    // Tab with goTabs validates, ends and moves on to the next cell's editor.
    f.grid->OnCellValidate = nullptr;
    f.grid->SetOptions(f.grid->Options() | goTabs);
    f.GoTo(1, 1);
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_Up);
    f.Key(Qt::Key_Tab);
    EXPECT_EQ(f.grid->Cells(2, 1), "9/7/2025");
    EXPECT_EQ(f.grid->Col(), 2);
}

TEST(GridDateEditors, DateAndTimeEscapeGivesTheStartValueAndUncheckedWritesNothing)
{
    Pinned pinned;
    DateGrid f;
    f.Open_Cell(5, 1, "3/4/2024 10:15");
    ASSERT_TRUE(f.DateTime()->isVisible());
    EXPECT_EQ(f.DateTime()->OriginalDateTime(), EncodeDate(2024, 3, 4) + EncodeTime(10, 15, 0, 0));
    f.DateTime()->SetDateTime(EncodeDate(2024, 5, 6) + EncodeTime(11, 0, 0, 0)); // as a user's stepping
    f.grid->SetCells(5, 1, "changed meanwhile");
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(5, 1), "3/4/2024 10:15");
    EXPECT_EQ(f.Focus(), f.grid);

    f.Key(Qt::Key_F2);
    f.DateTime()->SetChecked(false);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(5, 1), "");
    f.DateTime()->SetChecked(true);
}

TEST(GridDateEditors, GrabOfTheDatePickerWithItsCalendar)
{
    Pinned pinned;
    DateGrid f;
    f.grid->SetCells(2, 1, "3/4/2024");
    f.grid->MouseActions().SetDirectDateDrop(true);
    f.GoTo(1, 1);
    f.Key(Qt::Key_F2);
    GridFixture::Pump();
    QCalendarWidget* cal = f.Date()->calendarWidget();
    ASSERT_NE(cal, nullptr);
    EXPECT_TRUE(f.Date()->DroppedDown());
    EXPECT_EQ(cal->selectedDate(), QDate(2024, 3, 4));
    QImage shot(f.window.size().width(), f.window.size().height() + 200, QImage::Format_RGB32);
    shot.fill(Qt::white);
    {
        QPainter p(&shot);
        p.drawImage(0, 0, f.window.grab().toImage());
        const QPoint at = cal->window()->mapToGlobal(QPoint(0, 0)) - f.window.mapToGlobal(QPoint(0, 0));
        p.drawImage(at, cal->window()->grab().toImage());
    }
    EXPECT_TRUE(shot.save(kt_test::GrabPath("grid_date_picker_calendar.png")));
    f.Key(Qt::Key_Escape); // the calendar's Escape closes it
    f.grid->SetFocus();
}
