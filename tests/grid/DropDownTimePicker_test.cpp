// The analog clock (points, clicks, keys, animation, AM/PM roll, looks) and the time picker
// drop-down built on it (text, Up and Down, the open clock, closing, typing).
#include "dropdown/AdvTimePickerDropDown.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include "TestSupport.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>
#include <memory>

using platform::EncodeTime;
using platform::TDateTime;

namespace {

QString HM(TDateTime t)
{
    int h, m, s, ms;
    platform::DecodeTime(t, h, m, s, ms);
    return QString("%1:%2").arg(h, 2, 10, QChar('0')).arg(m, 2, 10, QChar('0'));
}

class DropDownClock : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clock = std::make_unique<VIzuZevaz>();
        Clock->OnChange = [this](QObject*) { ++Changes; };
    }
    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<VIzuZevaz> Clock;
    int Changes = 0;
};

TEST_F(DropDownClock, GeometryAndPoints)
{
    EXPECT_EQ(Clock->size(), QSize(180, 180));
    EXPECT_EQ(Clock->DialRect(), TRect(10, 10, 170, 170));
    EXPECT_EQ(Clock->Center(), TPoint(90, 90));
    struct Case {
        int x, y, minute, hourAM, hourPM;
    };
    const Case cases[] = {
        {90, 2, 0, 0, 12},      // straight up (60 becomes 0)
        {178, 90, 15, 3, 15},   // right
        {90, 178, 30, 6, 18},   // down
        {2, 90, 45, 9, 21},     // left
        {160, 20, 7, 1, 13},    // 45 degrees up and right: 7.5 rounds to 8, 15 - 8
        {82, 51, 58, 12, 0},    // rounds to 58 minutes: hour 12 in AM, 0 in PM
        {90, 90, 23, 5, 17},    // the centre: both distances count 1, 45 degrees below right
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1,%2").arg(c.x).arg(c.y).toStdString());
        EXPECT_EQ(Clock->PointToMinute(c.x, c.y), c.minute);
        Clock->SetTime(EncodeTime(1, 0, 0, 0));
        EXPECT_EQ(Clock->PointToHour(c.x, c.y), c.hourAM);
        Clock->SetTime(EncodeTime(13, 0, 0, 0));
        EXPECT_EQ(Clock->PointToHour(c.x, c.y), c.hourPM);
    }
    Clock->Appearance().SetSize(100);
    EXPECT_EQ(Clock->DialRect(), TRect(40, 40, 140, 140));
    Clock->SetShowAMPM(false);
    EXPECT_EQ(Clock->GetAMPMRect(), TRect(-1, -1, -1, -1));
}

TEST_F(DropDownClock, ClicksSetTheTimeAndReportOnce)
{
    Clock->SetAnimation(false);
    Clock->SetTime(EncodeTime(10, 30, 0, 0));
    struct Case {
        const char* name;
        QPoint at;
        QString expected;
    };
    const Case cases[] = {
        {"margin right: minute 15", {178, 90}, "10:15"},
        {"dial at 3 o'clock: hour 3", {130, 90}, "03:15"},
        {"margin left: minute 45", {3, 90}, "03:45"},
        {"dial at 12: hour 0 in AM", {90, 40}, "00:45"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Changes = 0;
        QTest::mouseClick(Clock.get(), Qt::LeftButton, Qt::NoModifier, c.at);
        EXPECT_EQ(HM(Clock->Time()), c.expected);
        EXPECT_EQ(Changes, 1);
    }
    // The AM/PM box switches the half of the day.
    const TRect box = Clock->GetAMPMRect();
    Changes = 0;
    QTest::mouseClick(Clock.get(), Qt::LeftButton, Qt::NoModifier, QPoint(box.Left + 2, box.Top + 2));
    EXPECT_EQ(HM(Clock->Time()), "12:45");
    EXPECT_FALSE(Clock->AM());
    EXPECT_EQ(Changes, 1);
    // In automatic mode clicks do nothing.
    Clock->Settings().SetAuto(true);
    const TDateTime now = Clock->Time();
    QTest::mouseClick(Clock.get(), Qt::LeftButton, Qt::NoModifier, QPoint(178, 90));
    EXPECT_EQ(Clock->Time(), now);
    Clock->Settings().SetAuto(false);
}

TEST_F(DropDownClock, Keys)
{
    Clock->SetAnimation(false);
    struct Case {
        TDateTime from;
        Word key;
        QString expected;
    };
    const Case cases[] = {
        {EncodeTime(10, 30, 0, 0), VK_PRIOR, "11:30"}, {EncodeTime(23, 30, 0, 0), VK_PRIOR, "00:30"},
        {EncodeTime(10, 30, 0, 0), VK_NEXT, "09:30"},  {EncodeTime(0, 30, 0, 0), VK_NEXT, "23:30"},
        {EncodeTime(10, 30, 0, 0), VK_END, "10:00"},   {EncodeTime(10, 30, 0, 0), VK_HOME, "12:30"},
        {EncodeTime(10, 30, 0, 0), VK_LEFT, "10:29"},  {EncodeTime(0, 0, 0, 0), VK_LEFT, "23:59"},
        {EncodeTime(10, 30, 0, 0), VK_RIGHT, "10:31"}, {EncodeTime(10, 59, 0, 0), VK_RIGHT, "11:00"},
        {EncodeTime(23, 59, 0, 0), VK_RIGHT, "00:00"}, {EncodeTime(10, 30, 0, 0), 'P', "22:30"},
        {EncodeTime(22, 30, 0, 0), 'A', "10:30"},      {EncodeTime(10, 30, 0, 0), 'A', "10:30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((HM(c.from) + " key " + QString::number(c.key)).toStdString());
        Clock->SetTime(c.from);
        Changes = 0;
        EXPECT_NO_THROW(Clock->HandleKey(c.key));
        EXPECT_EQ(HM(Clock->Time()), c.expected);
        EXPECT_EQ(Changes, HM(c.from) == c.expected ? 0 : 1);
    }
}

TEST_F(DropDownClock, AnimatedMinuteCarriesIntoTheHour)
{
    Clock->SetTime(EncodeTime(10, 50, 0, 0));
    Clock->SetMinute(0);
    ASSERT_TRUE(Clock->Animating());
    QStringList seen;
    for (int tick = 0; tick < 100 && Clock->Animating(); ++tick) {
        Clock->AnimationTick();
        seen << HM(Clock->Time());
    }
    EXPECT_FALSE(Clock->Animating());
    EXPECT_EQ(seen.first(), "10:51");
    EXPECT_TRUE(seen.contains("10:59"));
    EXPECT_EQ(seen.last(), "11:00");
    EXPECT_EQ(Changes, 1);

    // The hour moves a tenth of the distance, at least one, per tick.
    Changes = 0;
    Clock->SetHour(23);
    Clock->AnimationTick();
    EXPECT_EQ(HM(Clock->Time()), "12:00");
    while (Clock->Animating())
        Clock->AnimationTick();
    EXPECT_EQ(HM(Clock->Time()), "23:00");
    EXPECT_EQ(Changes, 1);

    // A factor below 1 counts as 1: one tick reaches the target.
    Clock->SetAnimationFactor(0);
    Clock->SetHour(3);
    Clock->AnimationTick();
    EXPECT_EQ(HM(Clock->Time()), "03:00");

    // From code, without animation, the target rule stands: a fresh target of 0 reports nothing.
    VIzuZevaz fresh;
    int freshChanges = 0;
    fresh.OnChange = [&](QObject*) { ++freshChanges; };
    fresh.SetAnimation(false);
    fresh.SetHour(5);
    EXPECT_EQ(HM(fresh.Time()), "05:00");
    EXPECT_EQ(freshChanges, 0);
    EXPECT_THROW(fresh.SetMinute(60), platform::Exception);
}

TEST_F(DropDownClock, AmPmRollAndLooks)
{
    Clock->SetTime(EncodeTime(9, 0, 0, 0));
    TRect inner = Clock->GetAMPMRect();
    InflateRect(inner, -1, -1);
    const int sleeps = Services.Sleeps;
    const TRect box = Clock->GetAMPMRect();
    Clock->ClickAt(box.Left + 2, box.Top + 2);
    EXPECT_EQ(Services.Sleeps - sleeps, inner.Height()) << "one 10 ms pause per frame of the roll";
    EXPECT_EQ(HM(Clock->Time()), "21:00");
    EXPECT_EQ(Changes, 1);

    Clock->SetStyle(wsBlack);
    EXPECT_EQ(Clock->Appearance().BackgroundColor(), TColor(0x202020));
    EXPECT_FALSE(Clock->ShowAMPM());
    Clock->Appearance().SetBackgroundColor(clRed);
    Clock->SetStyle(wsBlack);
    EXPECT_EQ(Clock->Appearance().BackgroundColor(), clRed) << "the same look again resets nothing";
    Clock->SetStyle(wsGray);
    Clock->SetStyle(wsBlack);
    EXPECT_EQ(Clock->Appearance().BackgroundColor(), TColor(0x202020));
    Clock->SetComponentStyle(tsWindows7);
    EXPECT_EQ(Clock->Appearance().BackgroundColorTo(), TColor(0xFDF3EB));
    EXPECT_EQ(Clock->Appearance().HourPointer(), TColor(0xFBD6B8));
    EXPECT_FALSE(Clock->ClockImage().isNull());
}

// ---- the time picker ---------------------------------------------------------------------------

class DropDownTimePicker : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 400, 300);
        TP = TAdvCustomDropDown::New<TAdvTimePickerDropDown>(Host.get());
        TP->move(10, 10);
        Host->show();
        TP->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (TP->DroppedDown())
            TP->HideDropDown(false);
        Host.reset();
    }
    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<QWidget> Host;
    TAdvTimePickerDropDown* TP = nullptr;
};

TEST_F(DropDownTimePicker, NewPickerAndSeconds)
{
    EXPECT_EQ(TP->text(), "00:00:00");
    EXPECT_EQ(TP->Time(), 0);
    EXPECT_FALSE(TP->EditorEnabled());
    EXPECT_EQ(TP->EditMask(), "!90:00:00;1; ");
    TP->SetTime(EncodeTime(8, 5, 9, 0));
    EXPECT_EQ(TP->text(), "08:05:09");
    TP->SetShowSeconds(false);
    EXPECT_EQ(TP->text(), "08:05");
    EXPECT_EQ(TP->EditMask(), "!90:00;1; ");
    EXPECT_EQ(TP->Time(), EncodeTime(8, 5, 9, 0)) << "the seconds are kept";
    TP->SetShowSeconds(true);
    EXPECT_EQ(TP->text(), "08:05:09");
}

TEST_F(DropDownTimePicker, UpAndDownStepThePartUnderTheCaret)
{
    struct Case {
        TDateTime from;
        int caret;
        Qt::Key key;
        QString expected;
    };
    const Case cases[] = {
        {EncodeTime(12, 34, 56, 0), 2, Qt::Key_Up, "11:34:56"},   {EncodeTime(12, 34, 56, 0), 2, Qt::Key_Down, "13:34:56"},
        {EncodeTime(12, 34, 56, 0), 3, Qt::Key_Up, "12:33:56"},   {EncodeTime(12, 34, 56, 0), 6, Qt::Key_Down, "12:34:57"},
        {EncodeTime(12, 59, 30, 0), 4, Qt::Key_Down, "12:00:30"}, {EncodeTime(12, 0, 30, 0), 4, Qt::Key_Up, "12:59:30"},
        {EncodeTime(0, 0, 0, 0), 0, Qt::Key_Up, "23:00:00"},      {EncodeTime(23, 0, 0, 0), 0, Qt::Key_Down, "00:00:00"},
        {EncodeTime(1, 2, 0, 0), 7, Qt::Key_Up, "01:02:59"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("caret %1 key %2").arg(c.caret).arg(c.key).toStdString());
        TP->SetTime(c.from);
        int changes = 0;
        TP->OnTimeChange = [&](QObject*) { ++changes; };
        TP->SetSel(c.caret, 0);
        QTest::keyClick(TP, c.key);
        EXPECT_EQ(TP->text(), c.expected);
        EXPECT_EQ(TP->cursorPosition(), c.caret);
        EXPECT_EQ(changes, 1);
        EXPECT_FALSE(TP->DroppedDown());
    }
    // Alt+Down opens instead of stepping; out-of-range values do nothing.
    TP->SetTime(EncodeTime(5, 0, 0, 0));
    TP->SetHourValue(24);
    TP->SetMinuteValue(60);
    EXPECT_EQ(TP->text(), "05:00:00");
}

TEST_F(DropDownTimePicker, TheOpenClockWritesAtOnceAndClosingKeepsIt)
{
    TP->SetAnimation(false);
    TP->SetShowTimePicker(true);
    TP->SetTime(EncodeTime(10, 30, 0, 0));
    TP->ShowDropDown();
    ASSERT_TRUE(TP->DroppedDown());
    VIzuZevaz* clock = TP->Watch();
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(HM(clock->Time()), "10:30");
    ASSERT_NE(TP->TimePicker(), nullptr);
    EXPECT_EQ(TP->TimePicker()->displayFormat(), "HH:mm:ss");
    EXPECT_EQ(TP->Panel()->height(), 170 + TP->TimePicker()->sizeHint().height());
    int changes = 0;
    TP->OnTimeChange = [&](QObject*) { ++changes; };
    // A click in the margin sets the minute; the edit and the time edit follow at once.
    const QPoint right = clock->mapTo(clock, QPoint(clock->width() - 2, clock->height() / 2));
    QTest::mouseClick(clock, Qt::LeftButton, Qt::NoModifier, right);
    EXPECT_EQ(TP->text(), "10:15:00");
    EXPECT_EQ(TP->TimePicker()->time(), QTime(10, 15, 0));
    EXPECT_EQ(changes, 1);
    // Keys on the open pop-up go to the clock; Up and Down do not reach the edit.
    QTest::keyClick(TP->DropDownForm(), Qt::Key_PageUp);
    EXPECT_EQ(TP->text(), "11:15:00");
    QTest::keyClick(TP->DropDownForm(), Qt::Key_Up);
    EXPECT_EQ(TP->text(), "11:15:00");
    // A cancelled close keeps the clock's time and shows it.
    QTest::keyClick(TP->DropDownForm(), Qt::Key_Escape);
    EXPECT_FALSE(TP->DroppedDown());
    EXPECT_EQ(TP->text(), "11:15:00");
    EXPECT_EQ(HM(TP->Time()), "11:15");
    // With the pop-up closed Enter and Escape change nothing.
    TP->SetTime(EncodeTime(7, 0, 0, 0));
    TP->HideDropDown(false);
    TP->HideDropDown(true);
    EXPECT_EQ(TP->text(), "07:00:00");
    EXPECT_EQ(HM(TP->Time()), "07:00");
}

TEST_F(DropDownTimePicker, TypingOverTheMask)
{
    TP->SetEditorEnabled(true);
    TP->SetTime(EncodeTime(12, 34, 56, 0));
    TP->SelectAll();
    QTest::keyClicks(TP, "0815");
    EXPECT_EQ(TP->text(), "08:15:  ");
    EXPECT_EQ(TP->Time(), EncodeTime(12, 34, 56, 0)) << "not a whole time yet";
    QTest::keyClicks(TP, "30");
    EXPECT_EQ(TP->text(), "08:15:30");
    EXPECT_EQ(TP->Time(), EncodeTime(8, 15, 30, 0));
    // A part out of range changes nothing and raises nothing.
    TP->SelectAll();
    EXPECT_NO_THROW(QTest::keyClicks(TP, "251000"));
    EXPECT_EQ(TP->text(), "25:10:00");
    EXPECT_EQ(TP->Time(), EncodeTime(8, 15, 30, 0));
    // Without seconds five characters make a time.
    TP->SetShowSeconds(false);
    TP->SelectAll();
    QTest::keyClicks(TP, "0945");
    EXPECT_EQ(TP->Time(), EncodeTime(9, 45, 0, 0));
}

TEST_F(DropDownTimePicker, OpenGrab)
{
    TP->SetTime(EncodeTime(10, 10, 30, 0));
    TP->SetShowTimePicker(true);
    TP->ShowDropDown();
    ASSERT_TRUE(TP->DroppedDown());
    QApplication::processEvents();
    TDropDownForm* form = TP->DropDownForm();
    const QPoint formAt = form->pos() - TP->mapToGlobal(QPoint(0, 0));
    QImage shot(std::max(TP->width(), formAt.x() + form->width()) + 2, formAt.y() + form->height() + 2,
                QImage::Format_RGB32);
    shot.fill(QColor(240, 240, 240));
    {
        QPainter p(&shot);
        p.drawPixmap(0, 0, TP->grab());
        p.drawPixmap(formAt, form->grab());
    }
    EXPECT_TRUE(shot.save(kt_test::GrabPath("dropdown_timepicker_open.png")));
}

} // namespace
