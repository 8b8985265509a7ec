// The spin edit: values of the four spin types, stepping (dates and times by the caret's part),
// the typed-character filter, keys, the repeat buttons, layout, and a grab of its looks.
#include "GridHost.h"
#include "grid/AsgSpinEdit.h"

#include "TestSupport.h"
#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Fixed locale settings for the duration of a test, the machine's put back afterwards.
struct Locale {
    TFormatSettings saved = FormatSettings();
    explicit Locale(std::function<void(TFormatSettings&)> change = {})
    {
        FormatSettings() = TFormatSettings::Invariant();
        if (change)
            change(FormatSettings());
    }
    ~Locale() { FormatSettings() = saved; }
};

// A shown, active form with a spin edit and a second field to take the focus.
struct SpinForm {
    QWidget form;
    TAsgSpinEdit* spin;
    QLineEdit* other;
    SpinForm()
    {
        form.resize(300, 120);
        spin = new TAsgSpinEdit(&form);
        spin->move(20, 20);
        other = new QLineEdit(&form);
        other->setGeometry(20, 70, 100, 22);
        EXPECT_TRUE(kt_test::Show_Focused(form, spin));
    }
};

} // namespace

TEST(AsgSpinEdit, Defaults)
{
    TAsgSpinEdit s;
    EXPECT_EQ(s.Text(), "0");
    EXPECT_EQ(s.SpinType(), sptNormal);
    EXPECT_EQ(s.MinValue(), 0);
    EXPECT_EQ(s.MaxValue(), 100);
    EXPECT_EQ(s.MaxFloatValue(), 100.0);
    EXPECT_EQ(s.Increment(), 1);
    EXPECT_DOUBLE_EQ(s.IncrementFloat(), 0.1);
    EXPECT_DOUBLE_EQ(s.IncrementFloatPage(), 1.0);
    EXPECT_EQ(s.IncrementHours() + s.IncrementMinutes() + s.IncrementSeconds(), 3);
    EXPECT_EQ(s.Precision(), 0);
    EXPECT_TRUE(s.ShowSeconds());
    EXPECT_TRUE(s.EditorEnabled());
    EXPECT_FALSE(s.ReturnIsTab());
    EXPECT_EQ(s.Direction(), spVertical);
    EXPECT_EQ(s.EditAlign(), eaLeft);
    EXPECT_EQ(s.Button()->width(), 15);
    EXPECT_EQ(s.Button()->FocusControl(), &s);
    EXPECT_EQ(s.Button()->ButtonColor(), clNone);
    EXPECT_EQ(s.Button()->FocusedButton(), s.Button()->UpButton());
}

TEST(AsgSpinEdit, IntegerValues)
{
    Locale locale;
    TAsgSpinEdit s;
    struct Read { const char* text; int value; } reads[] = {
        {"", 0}, {"  12 ", 12}, {"-7", -7}, {"$10", 16}, {"abc", 0}, {"1.5", 0}};
    for (const Read& r : reads) {
        s.SetText(r.text);
        EXPECT_EQ(s.Value(), r.value) << r.text;
    }
    s.SetMinValue(5);
    s.SetText("x");
    EXPECT_EQ(s.Value(), 5); // unreadable reads as the minimum

    struct Write { int min, max, value; const char* text; } writes[] = {
        {0, 100, 150, "100"}, {0, 100, -3, "0"}, {0, 0, 1000, "1000"}, {0, 0, -1000, "-1000"}};
    for (const Write& w : writes) {
        s.SetMinValue(w.min);
        s.SetMaxValue(w.max);
        s.SetValue(w.value);
        EXPECT_EQ(s.Text(), w.text) << w.value;
    }
    s.SetMinValue(0);
    s.SetMaxValue(100);
    s.SetValue(100);
    s.SpinUp();
    EXPECT_EQ(s.Text(), "100");
    // Without bounds the step stops at the end of the integer range.
    s.SetMaxValue(0);
    s.SetValue(INT32_MAX);
    s.SpinUp();
    EXPECT_EQ(s.Value(), INT32_MAX);
}

TEST(AsgSpinEdit, FloatValuesAndPrecision)
{
    Locale locale([](TFormatSettings& fs) { fs.DecimalSeparator = ','; fs.ThousandSeparator = '.'; });
    TAsgSpinEdit s;
    s.SetSpinType(sptFloat);
    EXPECT_EQ(s.Text(), "0");
    s.SetFloatValue(2.5);
    EXPECT_EQ(s.Text(), "2,5");
    s.SetPrecision(2);
    EXPECT_EQ(s.Text(), "2,50");
    s.SpinUp();
    EXPECT_EQ(s.Text(), "2,60");
    s.SetFloatValue(250);
    EXPECT_EQ(s.Text(), "100,00");
    s.SetText("zz");
    EXPECT_EQ(s.FloatValue(), 0.0);
}

TEST(AsgSpinEdit, TypedCharacterFilter)
{
    // (spin type, text, caret, selection length, character, accepted)
    struct Case { TAsgSpinType type; const char* text; int caret, sel; char ch; bool ok; };
    const Case cases[] = {
        {sptNormal, "12", 2, 0, '+', false}, {sptFloat, "12", 2, 0, '+', false},
        {sptDate, "1/2/2020", 0, 0, '+', false}, {sptTime, "1:00", 0, 0, '+', false},
        {sptNormal, "12", 0, 0, '-', true},   {sptNormal, "12", 1, 0, '-', false},
        {sptNormal, "-12", 0, 0, '-', false}, {sptNormal, "-12", 0, 1, '-', true},
        {sptNormal, "12", 2, 0, '5', true},   {sptNormal, "12", 2, 0, 'a', false},
        {sptNormal, "12", 2, 0, ':', false},  {sptNormal, "12", 2, 0, '/', false},
        {sptFloat, "1.25", 4, 0, '3', false}, {sptFloat, "1.25", 1, 0, '3', true},
        {sptFloat, "1.25", 4, 0, '.', false}, {sptFloat, "1.25", 1, 3, '.', true},
        {sptFloat, "1.25", 4, 0, ',', false}, {sptTime, "1:00:00", 7, 0, ':', false},
        {sptTime, "1:00", 4, 0, ':', true},   {sptDate, "1/2", 3, 0, '/', true},
    };
    Locale locale;
    TAsgSpinEdit s;
    s.SetPrecision(2);
    for (const Case& k : cases) {
        s.SetSpinType(k.type);
        s.SetText(k.text);
        s.setSelection(k.caret, k.sel);
        if (k.sel == 0)
            s.setCursorPosition(k.caret);
        EXPECT_EQ(s.IsValidChar(QChar(k.ch)), k.ok) << k.type << " " << k.text << " " << k.caret << " " << k.ch;
    }
    // Backspace only while the editor is enabled; with it off nothing printable passes.
    s.SetSpinType(sptNormal);
    EXPECT_TRUE(s.IsValidChar(QChar(8)));
    s.SetEditorEnabled(false);
    EXPECT_FALSE(s.IsValidChar(QChar(8)));
    EXPECT_FALSE(s.IsValidChar('5'));
}

TEST(AsgSpinEdit, FullStopDateSeparatorRefusedInIntegers)
{
    Locale locale([](TFormatSettings& fs) {
        fs.DateSeparator = '.';
        fs.DecimalSeparator = ',';
        fs.ThousandSeparator = ' ';
        fs.ShortDateFormat = "dd.mm.yyyy";
    });
    TAsgSpinEdit s;
    EXPECT_FALSE(s.IsValidChar('.'));
    EXPECT_TRUE(s.IsValidChar('7'));
}

TEST(AsgSpinEdit, DateStepsByCaretPart)
{
    Locale locale; // M/d/yyyy
    TAsgSpinEdit s;
    s.SetSpinType(sptDate);
    struct Case { int y, m, d; int caret; int sign; int ey, em, ed; } cases[] = {
        {2023, 12, 31, 0, 1, 2024, 1, 31},   // month part: one calendar month on
        {2023, 12, 31, 10, 1, 2024, 12, 31}, // year part
        {2023, 12, 31, 4, 1, 2024, 1, 1},    // day part
        {2024, 3, 31, 0, -1, 2024, 2, 29},   // back a month, day kept to its end
        {2024, 2, 29, 9, 1, 2025, 2, 28},    // a year on from 29 February
    };
    for (const Case& k : cases) {
        s.SetDateValue(EncodeDate(k.y, k.m, k.d));
        s.setCursorPosition(k.caret);
        if (k.sign > 0)
            s.SpinUp();
        else
            s.SpinDown();
        EXPECT_EQ(s.Text(), DateToStr(EncodeDate(k.ey, k.em, k.ed))) << k.caret;
    }
    // Day-first formats swap the first two parts.
    FormatSettings().ShortDateFormat = "d/M/yyyy";
    s.SetDateValue(EncodeDate(2023, 12, 31));
    s.setCursorPosition(0);
    s.SpinUp();
    EXPECT_EQ(s.Text(), DateToStr(EncodeDate(2024, 1, 1)));
}

TEST(AsgSpinEdit, TimeStepsByCaretPart)
{
    Locale locale; // h:mm:ss
    TAsgSpinEdit s;
    s.SetSpinType(sptTime);
    struct Case { const char* text; int caret; int sign; const char* expected; } cases[] = {
        {"23:59:30", 4, -1, "23:58:30"}, {"0:00:00", 0, -1, "23:00:00"}, {"23:30:00", 1, 1, "0:30:00"},
        {"10:15:30", 7, 1, "10:15:31"},  {"10:15:30", 7, -1, "10:15:29"}, {"10:15:30", 3, 1, "10:16:30"}};
    for (const Case& k : cases) {
        s.SetText(k.text);
        s.setCursorPosition(k.caret);
        if (k.sign > 0)
            s.SpinUp();
        else
            s.SpinDown();
        EXPECT_EQ(s.Text(), k.expected) << k.text << " @" << k.caret;
    }
    s.SetShowSeconds(false);
    s.SetTimeValue(EncodeTime(9, 5, 0, 0));
    EXPECT_EQ(s.Text(), "9:05");
}

// A step that cannot be made (an increment that is no time of day, a date past 9999) changes
// nothing and beeps, from code, keys and buttons alike.
TEST(AsgSpinEdit, ImpossibleStepsBeepAndChangeNothing)
{
    Locale locale;
    ScriptedServices services;
    ScopedServices scope(services);
    SpinForm f;
    TAsgSpinEdit& s = *f.spin;
    s.SetSpinType(sptTime);
    s.SetTimeValue(EncodeTime(9, 5, 0, 0));
    const QString time = s.Text();
    struct Case { int hours, minutes, seconds, caret; } cases[] = {
        {24, 1, 1, 0}, {1, 60, 1, 3}, {1, 1, 60, 7}};
    int beeps = 0;
    for (const Case& k : cases) {
        s.SetIncrementHours(k.hours);
        s.SetIncrementMinutes(k.minutes);
        s.SetIncrementSeconds(k.seconds);
        s.setCursorPosition(k.caret);
        EXPECT_NO_THROW(s.SpinUp());
        EXPECT_NO_THROW(s.SpinDown());
        s.setCursorPosition(k.caret);
        QTest::keyClick(&s, Qt::Key_Up);
        EXPECT_EQ(s.Text(), time) << k.caret;
        EXPECT_EQ(services.Beeps, beeps += 3) << k.caret;
    }
    s.SetSpinType(sptDate);
    s.SetDateValue(EncodeDate(9999, 12, 31));
    const QString last = s.Text();
    for (int caret : {0, 4, 9}) { // month, day, year
        s.setCursorPosition(caret);
        EXPECT_NO_THROW(s.SpinUp());
        EXPECT_EQ(s.Text(), last) << caret;
        EXPECT_EQ(services.Beeps, ++beeps) << caret;
    }
    // The spin button's click goes the same way.
    s.Button()->UpButton()->Click();
    EXPECT_EQ(s.Text(), last);
    EXPECT_EQ(services.Beeps, ++beeps);
}

TEST(AsgSpinEdit, EmptyTextReadsAsTodayAndZero)
{
    ScriptedServices services;
    services.Clock = QDateTime(QDate(2025, 6, 7), QTime(8, 30));
    ScopedServices scope(services);
    Locale locale;
    TAsgSpinEdit s;
    s.SetText("");
    EXPECT_EQ(s.Value(), 0);
    int y = 0, m = 0, d = 0;
    DecodeDate(s.DateValue(), y, m, d);
    EXPECT_EQ(QDate(y, m, d), QDate(2025, 6, 7));
}

TEST(AsgSpinEdit, KeysStepAndFilter)
{
    ScriptedServices services;
    ScopedServices scope(services);
    Locale locale;
    SpinForm f;
    TAsgSpinEdit* s = f.spin;
    s->SetSpinType(sptFloat);
    s->SetFloatValue(5);
    struct Step { Qt::Key key; const char* expected; } steps[] = {
        {Qt::Key_Up, "5.1"}, {Qt::Key_PageUp, "6.1"}, {Qt::Key_Down, "6"}, {Qt::Key_PageDown, "5"}};
    for (const Step& st : steps) {
        QTest::keyClick(s, st.key);
        EXPECT_EQ(s->Text(), st.expected);
    }
    s->SetSpinType(sptNormal);
    s->SetText("");
    QTest::keyClicks(s, "4+a2");
    EXPECT_EQ(s->Text(), "42");
    EXPECT_EQ(services.Beeps, 2);
    QTest::keyClick(s, Qt::Key_Return);
    EXPECT_EQ(services.Beeps, 3);
    EXPECT_TRUE(s->hasFocus());

    // Enter as Tab moves on without a beep.
    s->SetReturnIsTab(true);
    QTest::keyClick(s, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(f.other->hasFocus());
    EXPECT_EQ(services.Beeps, 3);

    // A read-only edit beeps instead of stepping.
    s->setFocus();
    s->SetReadOnly(true);
    QTest::keyClick(s, Qt::Key_Up);
    EXPECT_EQ(s->Text(), "42");
    EXPECT_EQ(services.Beeps, 4);
}

TEST(AsgSpinEdit, EditorDisabledKeepsTextButSteps)
{
    ScriptedServices services;
    ScopedServices scope(services);
    Locale locale;
    SpinForm f;
    TAsgSpinEdit* s = f.spin;
    s->SetEditorEnabled(false);
    s->SetText("12");
    s->setCursorPosition(0);
    QTest::keyClick(s, Qt::Key_Delete);
    QTest::keyClicks(s, "9");
    s->setCursorPosition(2);
    QTest::keyClick(s, Qt::Key_Backspace);
    EXPECT_EQ(s->Text(), "12");
    QApplication::clipboard()->setText("77");
    s->selectAll();
    QTest::keyClick(s, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(s, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(s->Text(), "12");
    QTest::keyClick(s, Qt::Key_Up);
    EXPECT_EQ(s->Text(), "13");
    // Enabled again, paste works.
    s->SetEditorEnabled(true);
    s->selectAll();
    QTest::keyClick(s, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(s->Text(), "77");
}

TEST(AsgSpinEdit, ExitClampsTheValue)
{
    Locale locale;
    SpinForm f;
    TAsgSpinEdit* s = f.spin;
    s->SetText("150");
    f.other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(s->Text(), "100");
}

TEST(AsgSpinEdit, ButtonsRepeatWhileHeld)
{
    Locale locale;
    SpinForm f;
    TAsgSpinEdit* s = f.spin;
    TAdvTimerSpeedButton* up = s->Button()->UpButton();
    int clicks = 0;
    s->Button()->OnUpClick = [&](QObject*) { ++clicks; };
    QTest::mousePress(up, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_TRUE(up->RepeatTimer()->isActive());
    EXPECT_EQ(up->RepeatTimer()->interval(), 400);
    up->TimerExpired();
    EXPECT_EQ(up->RepeatTimer()->interval(), 100);
    up->TimerExpired();
    EXPECT_EQ(clicks, 2);
    QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(up->RepeatTimer()->isActive());
    EXPECT_EQ(clicks, 3); // the release over the button is a click of its own
    EXPECT_TRUE(s->hasFocus());

    // The buttons step through SpinUp and SpinDown by default.
    SpinForm g;
    QTest::mouseClick(g.spin->Button()->DownButton(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(g.spin->Text(), "0");
    QTest::mouseClick(g.spin->Button()->UpButton(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(g.spin->Text(), "1");
}

TEST(AsgSpinEdit, Layout)
{
    QWidget form;
    form.resize(200, 100);
    TAsgSpinEdit s(&form);
    s.resize(120, 30);
    form.show();
    QApplication::processEvents();
    const QRect b = s.Button()->geometry();
    // Bordered with the 3-D look: at width - button width - 5 of the client area, height - 5 high.
    EXPECT_EQ(b, QRect(2 + 120 - 15 - 5, 2, 15, 30 - 5));
    EXPECT_EQ(s.Button()->UpButton()->geometry(), QRect(0, 0, 15, 12));
    EXPECT_EQ(s.Button()->DownButton()->geometry(), QRect(0, 11, 15, 14));
    s.SetBorderStyle(bsNone);
    EXPECT_EQ(s.Button()->geometry(), QRect(120 - 15 - 1, 0, 15, 29));
    EXPECT_EQ(s.EditRect(), TRect(3, 3, 120 - 15 - 2 - 3, 31));
    s.resize(120, 2);
    QApplication::processEvents();
    EXPECT_EQ(s.height(), s.GetMinHeight());
    s.SetDirection(spHorizontal);
    EXPECT_EQ(s.Button()->width(), 20);
    EXPECT_EQ(s.Button()->DownButton()->x(), 0);
    EXPECT_EQ(s.Button()->UpButton()->x(), 11);
}

TEST(AsgSpinEdit, Grabs)
{
    Locale locale;
    QWidget form;
    form.resize(300, 200);
    QPalette p = form.palette();
    p.setColor(QPalette::Window, ToQColor(clBtnFace));
    form.setPalette(p);
    struct Look { std::function<void(TAsgSpinEdit*)> set; } looks[] = {
        {[](TAsgSpinEdit* s) { s->SetValue(42); }},
        {[](TAsgSpinEdit* s) { s->SetSpinType(sptFloat); s->SetPrecision(2); s->SetFloatValue(3.5); s->SetEditAlign(eaRight); }},
        {[](TAsgSpinEdit* s) { s->SetSpinType(sptTime); s->SetTimeValue(EncodeTime(10, 15, 30, 0)); s->SetSpinFlat(true); }},
        {[](TAsgSpinEdit* s) {
             s->SetSpinType(sptDate); s->SetDateValue(EncodeDate(2024, 2, 29));
             s->Button()->SetButtonColor(0xF0D0A0); s->Button()->SetButtonColorHot(clYellow); }},
        {[](TAsgSpinEdit* s) { s->SetDirection(spHorizontal); s->SetValue(7); }},
        {[](TAsgSpinEdit* s) { s->SetValue(9); s->setEnabled(false); }},
    };
    int y = 10;
    for (const Look& look : looks) {
        auto* s = new TAsgSpinEdit(&form);
        s->setGeometry(20, y, 140, 22);
        look.set(s);
        y += 30;
    }
    form.show();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(kt_test::GrabPath("AsgSpinEdit.png")));
}
