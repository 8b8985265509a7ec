// The date-time pickers: versions, kinds and the embedded time picker, date-time values, the
// metro border, AutoTab, the checker base, and a grab of the pickers.
#include "GridHost.h"
#include "grid/AsgDateTimePicker.h"
#include "grid/VerIvovavOzedCheck.h"

#include "TestSupport.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

namespace {

struct LocaleScope {
    TFormatSettings saved = FormatSettings();
    LocaleScope() { FormatSettings() = TFormatSettings::Invariant(); }
    ~LocaleScope() { FormatSettings() = saved; }
};

} // namespace

TEST(AsgDateTimePicker, DefaultsAndVersions)
{
    TAsgDateTimePicker a;
    EXPECT_EQ(a.Version(), "1.0.0.0");
    EXPECT_TRUE(a.Ctl3D());
    EXPECT_FALSE(a.MetroStyle());
    EXPECT_EQ(a.BorderColor(), clNone);
    EXPECT_EQ(a.ButtonWidth(), 19);
    TCustomDateTimePicker c;
    EXPECT_FALSE(c.Ctl3D());
    EXPECT_EQ(c.BorderColor(), clBlack);
    EXPECT_FALSE(c.AutoTab());
    TAdvDateTimePicker d;
    EXPECT_EQ(d.Version(), "1.2.0.0");
    EXPECT_EQ(d.Kind(), dkDateTime);
    EXPECT_EQ(d.BorderStyle(), bsSingle);
    EXPECT_EQ(d.LabelMargin(), 4);
    EXPECT_EQ(d.PickerLabel(), nullptr);
}

TEST(AsgDateTimePicker, KindCreatesAndFreesTheTimePicker)
{
    QWidget form;
    TAdvDateTimePicker d(&form);
    d.setGeometry(10, 10, 220, 24);
    form.show();
    QApplication::processEvents();
    ASSERT_NE(d.TimePicker(), nullptr);
    EXPECT_TRUE(d.TimePicker()->isVisible());
    EXPECT_GT(d.TimePicker()->x(), d.width() / 3); // at the right
    QPointer<TCustomDateTimePicker> first = d.TimePicker();
    d.SetKind(dkDate);
    EXPECT_EQ(d.TimePicker(), nullptr);
    EXPECT_TRUE(first.isNull());
    d.SetKind(dkDateTime);
    EXPECT_NE(d.TimePicker(), nullptr);
}

TEST(AsgDateTimePicker, DateTimeDropsMillisecondsAndDateKeepsTheTime)
{
    TAdvDateTimePicker d;
    const TDateTime day = EncodeDate(2024, 2, 29);
    d.SetDateTime(day + EncodeTime(10, 15, 30, 750));
    int h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(d.DateTime(), h, m, s, ms);
    EXPECT_EQ(std::make_tuple(h, m, s, ms), std::make_tuple(10, 15, 30, 0));
    EXPECT_EQ(std::trunc(d.DateTime()), day);
    d.SetDate(EncodeDate(2023, 1, 5));
    EXPECT_DOUBLE_EQ(d.DateTime(), EncodeDate(2023, 1, 5) + EncodeTime(10, 15, 30, 0));
    // A time typed into the time picker is part of the value read.
    d.TimePicker()->SetPickerTime(EncodeTime(8, 0, 0, 0));
    EXPECT_DOUBLE_EQ(d.DateTime(), EncodeDate(2023, 1, 5) + EncodeTime(8, 0, 0, 0));
}

TEST(AsgDateTimePicker, ProgrammaticWritesFireNoChange)
{
    LocaleScope locale;
    QWidget form;
    TAsgDateTimePicker p(&form);
    int changes = 0;
    p.OnChange = [&](QObject*) { ++changes; };
    p.SetDate(EncodeDate(2020, 5, 6));
    p.SetKind(dtkTime);
    p.SetKind(dtkDate);
    EXPECT_EQ(changes, 0);
}

// With AutoTab, typed digits move through the fields and on from the last field to the time picker.
TEST(AsgDateTimePicker, AutoTabMovesOnOrToTheTimePicker)
{
    LocaleScope locale;
    QWidget form;
    form.resize(300, 60);
    TAdvDateTimePicker d(&form);
    d.setGeometry(10, 10, 260, 24);
    d.SetFormat("dd/MM/yyyy");
    d.SetAutoTab(true);
    d.SetDateTime(EncodeDate(2024, 3, 25));
    ASSERT_TRUE(kt_test::Show_Focused(form, &d));

    // A digit that changes the day moves to the next field.
    d.setCurrentSectionIndex(0);
    QTest::keyClick(&d, Qt::Key_1);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(d.CurrentField(), 1);

    // A digit that changes the year (the last field of the format) moves to the time picker.
    d.setCurrentSectionIndex(2);
    QTest::keyClicks(&d, "2031");
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_NE(d.TimePicker(), nullptr);
    EXPECT_TRUE(d.TimePicker()->hasFocus());
}

// The one decision both the pickers and the grid's date editor take after a typed digit.
TEST(AsgDateTimePicker, FieldAdvanceDecision)
{
    using namespace AsgDatePicker;
    const TPickerFields base{2024, 3, 25, 10, 15, 30, 0};
    auto with = [&](int field, int value) {
        TPickerFields f = base;
        int* fields[] = {&f.Year, &f.Month, &f.Day, &f.Hour, &f.Minute, &f.Second, &f.MSec};
        *fields[field] = value;
        return f;
    };
    enum { Y, Mo, D, H, Mi, S, Ms };
    struct Case {
        bool time;
        int field, value;
        const char* format;
        TFieldAdvance expected;
    } cases[] = {
        {false, D, 1, "dd/MM/yyyy", faNextField},
        {false, Mo, 4, "dd/MM/yyyy", faNextField},
        {false, Y, 2031, "dd/MM/yyyy", faLastField}, // the format ends in the year
        {false, Y, 2031, "yyyy-MM-dd", faNextField},
        {false, D, 1, "yyyy-MM-dd", faLastField},
        {false, Mo, 4, "dd.MMMM", faLastField},
        {false, D, 25, "dd/MM/yyyy", faNone},        // the digit changed nothing
        {false, D, 1, "", faNextField},               // no format: day and month move on
        {false, Mo, 4, "", faNextField},
        {false, Y, 2031, "", faLastField},            // the year alone is the last field
        {false, H, 11, "dd/MM/yyyy", faNone},         // a date ignores the time
        {true, H, 11, "", faNextField},
        {true, Mi, 16, "HH:mm", faNextField},
        {true, S, 31, "", faNextField},
        {true, Ms, 500, "", faNone},                  // milliseconds are no field
        {true, D, 1, "", faNone},                     // a time ignores the date
    };
    for (const Case& c : cases)
        EXPECT_EQ(FieldAdvance(c.time, base, with(c.field, c.value), c.format), c.expected)
            << c.time << " " << c.field << " " << c.value << " " << c.format;
}

TEST(AsgDateTimePicker, MetroBorderColours)
{
    QWidget form;
    form.resize(200, 40);
    TAsgDateTimePicker p(&form);
    p.setGeometry(5, 5, 180, 24);
    p.SetBorderColor(clRed);
    form.show();
    QApplication::processEvents();
    // Without metro the platform look stays.
    EXPECT_NE(FromQColor(p.grab().toImage().pixelColor(0, 12)), clRed);
    p.SetMetroStyle(true);
    QApplication::processEvents();
    const QImage img = p.grab().toImage();
    EXPECT_EQ(FromQColor(img.pixelColor(0, 12)), clRed);
    EXPECT_EQ(FromQColor(img.pixelColor(90, 0)), clRed);
}

TEST(VerIvovavOzedCheck, BaseReturnsTextsUnchanged)
{
    TVerIvovavOzedCheck c;
    for (const char* s : {"", "abc", " 12 "}) {
        EXPECT_EQ(c.MarkError(1, 2, s), s);
        EXPECT_EQ(c.Correct(1, 2, s), s);
    }
    c.StartCheck();
    c.StopCheck();
    EXPECT_FALSE(c.AutoCorrect());
}

TEST(AsgDateTimePicker, Grab)
{
    LocaleScope locale;
    QWidget form;
    form.resize(300, 150);
    TAsgDateTimePicker plain(&form);
    plain.setGeometry(10, 10, 180, 24);
    plain.SetDate(EncodeDate(2024, 7, 1));
    TAsgDateTimePicker metro(&form);
    metro.setGeometry(10, 44, 180, 24);
    metro.SetMetroStyle(true);
    metro.SetBorderColor(0xB99D7F);
    metro.SetButtonColor(0xF0D0B0);
    metro.SetButtonBorderColor(0x808080);
    metro.SetButtonTextColor(clBlack);
    TAdvDateTimePicker both(&form);
    both.setGeometry(60, 78, 230, 24);
    both.SetLabelPosition(AsgCombo::lpLeftCenter);
    both.SetDateTime(EncodeDate(2024, 7, 1) + EncodeTime(10, 15, 30, 0));
    both.SetLabelCaption("When");
    TAdvDateTimePicker off(&form);
    off.setGeometry(10, 112, 180, 24);
    off.SetKind(dkDate);
    off.setEnabled(false);
    form.show();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(kt_test::GrabPath("AsgDateTimePicker.png")));
}
