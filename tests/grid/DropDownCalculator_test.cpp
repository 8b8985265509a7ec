// The calculator drop-down: key and pad sequences on the open pad, the pad's layout, the
// operation keys of the closed edit and a look at the open pad.
#include "dropdown/AdvCalculatorDropdown.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include "TestSupport.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class DropDownCalculator : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 400, 300);
        Calc = TAdvCustomDropDown::New<TAdvCalculatorDropdown>(Host.get());
        Calc->move(10, 10);
        Host->show();
        Calc->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (Calc->DroppedDown())
            Calc->HideDropDown(false);
        Host.reset();
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
    }
    TCustomButtonPanel* Pad() const { return Calc->ButtonPanel(); }
    // Clicks the pad button with this caption.
    void Press(const QString& caption)
    {
        for (int i = 0; i < Pad()->Buttons().Count(); ++i) {
            if (Pad()->Buttons().Items(i)->Caption() == caption) {
                const TRect r = Pad()->Buttons().Items(i)->GetRect();
                QTest::mouseClick(Pad(), Qt::LeftButton, Qt::NoModifier,
                                  QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
                return;
            }
        }
        ADD_FAILURE() << "no pad button " << caption.toStdString();
    }
    // Runs a sequence: "[x]" presses pad button x, "<Enter>", "<Esc>", "<Back>", "<Del>" are
    // keys, anything else is typed character by character on the open pad.
    void Run(const QStringList& steps)
    {
        for (const QString& s : steps) {
            QWidget* target = Calc->DroppedDown() ? static_cast<QWidget*>(Calc->DropDownForm()) : Calc;
            if (s.startsWith('[') && s.endsWith(']'))
                Press(s.mid(1, s.size() - 2));
            else if (s == "<Enter>")
                QTest::keyClick(target, Qt::Key_Return);
            else if (s == "<Esc>")
                QTest::keyClick(target, Qt::Key_Escape);
            else if (s == "<Back>")
                QTest::keyClick(target, Qt::Key_Backspace);
            else if (s == "<Del>")
                QTest::keyClick(target, Qt::Key_Delete);
            else
                QTest::keyClicks(target, s);
        }
    }

    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<QWidget> Host;
    TAdvCalculatorDropdown* Calc = nullptr;
};

TEST_F(DropDownCalculator, NewCalculator)
{
    EXPECT_EQ(Calc->text(), "0.00");
    EXPECT_EQ(Calc->EditType(), etFloat);
    EXPECT_EQ(Calc->Precision(), 2);
    EXPECT_EQ(Calc->DropDownWidth(), 230);
    EXPECT_FALSE(Calc->DropDownHeader().Visible());
    EXPECT_EQ(Pad()->Buttons().Count(), 28);
    // The component style reaches the pad's appearance.
    EXPECT_EQ(Calc->CalcButtonAppearance().Color(), Calc->ButtonAppearance().Colors().Color);
    EXPECT_EQ(Calc->CalcButtonAppearance().GlowColorHot(), Calc->ButtonAppearance().Colors().ColorDownTo);
    Calc->SetComponentStyle(tsOffice2010Blue);
    EXPECT_EQ(Calc->CalcButtonAppearance().GlowColorDown(), TColor(0x8AE3FD));
    Calc->SetValue(2.5);
    EXPECT_EQ(Calc->text(), "2.50");
    EXPECT_DOUBLE_EQ(Calc->Value(), 2.5);
    Calc->SetEditText("");
    EXPECT_DOUBLE_EQ(Calc->Value(), 0);
    EXPECT_EQ(Calc->text(), "0.00");
}

TEST_F(DropDownCalculator, PadLayout)
{
    Calc->ShowDropDown();
    ASSERT_TRUE(Calc->DroppedDown());
    EXPECT_EQ(Calc->DropDownForm()->size(), QSize(230, 152));
    EXPECT_EQ(Pad()->geometry(), QRect(1, 1, 228, 150));
    auto rectOf = [&](const QString& caption) {
        for (int i = 0; i < Pad()->Buttons().Count(); ++i)
            if (Pad()->Buttons().Items(i)->Caption() == caption)
                return Pad()->Buttons().Items(i)->GetRect();
        return TRect(-1, -1, -1, -1);
    };
    EXPECT_EQ(rectOf("7"), TRect(46, 38, 80, 64));
    EXPECT_EQ(rectOf("8"), TRect(79, 38, 113, 64)) << "neighbours share their border line";
    EXPECT_EQ(rectOf("MC"), TRect(8, 38, 42, 64));
    EXPECT_EQ(rectOf("/"), TRect(150, 38, 184, 64)) << "4 pixels apart from the digit block";
    EXPECT_EQ(rectOf("="), TRect(183, 113, 217, 139));
    EXPECT_EQ(rectOf("Back"), TRect(46, 8, 100, 34));
    EXPECT_EQ(rectOf("CE"), TRect(104, 8, 158, 34));
    EXPECT_EQ(rectOf("C"), TRect(162, 8, 217, 34)) << "the last one takes the rest up to the right edge";
    EXPECT_EQ(Pad()->ButtonAtPos(46, 38), 11);
    EXPECT_EQ(Pad()->ButtonAtPos(44, 50), -1);
}

TEST_F(DropDownCalculator, KeyAndPadSequences)
{
    struct Case {
        const char* name;
        QStringList steps;
        QString shown;
        bool open; // the pad is still open
        bool thousands = false;
        int maxLength = 0;
    };
    const Case cases[] = {
        {"typed 12+3=", {"12+3="}, "15.00", true},
        {"pad 12+3=", {"[1]", "[2]", "[+]", "[3]", "[=]"}, "15.00", true},
        {"left to right", {"2+3*4="}, "20.00", true},
        {"Enter computes and closes", {"12+3", "<Enter>"}, "15.00", false},
        {"division by zero", {"10/0="}, "Error", true},
        {"a digit after Error starts anew", {"10/0=", "7"}, "7.00", true},
        {"a pad digit after Error starts anew", {"10/0=", "[7]"}, "7.00", true},
        {"an operation after Error starts from 0", {"10/0=", "+5="}, "5.00", true},
        {"percent", {"200+10%"}, "20.00", true},
        {"percent then equals", {"200+10%="}, "220.00", true},
        {"pad point on a fresh entry", {"[.]"}, "0.00", true},
        {"pad point then digits", {"[.]", "[5]", "[2]"}, "0.52", true},
        {"Back on 5", {"[5]", "[Back]"}, "0.00", true},
        {"Back after an operation", {"[5]", "[+]", "[Back]"}, "5.00", true},
        {"Back on 123", {"[1]", "[2]", "[3]", "[Back]"}, "12.00", true},
        {"square root", {"[9]", "[sqrt]"}, "3.00", true},
        {"square root of a negative", {"[4]", "[+/-]", "[sqrt]"}, "Error", true},
        {"reciprocal", {"[4]", "[1/x]"}, "0.25", true},
        {"reciprocal of 0", {"[1/x]"}, "Error", true},
        {"sqrt of Error reads 0", {"[1/x]", "[sqrt]"}, "0.00", true},
        {"sign", {"[5]", "[+/-]"}, "-5.00", true},
        {"clear", {"12+3", "[C]", "[=]"}, "0.00", true},
        {"C key", {"12+", "C", "4="}, "4.00", true},
        {"memory store and recall", {"[6]", "[MS]", "[C]", "[MR]"}, "6.00", true},
        {"memory add", {"[6]", "[MS]", "[M+]", "[MC]", "[M+]", "[MR]"}, "6.00", true},
        {"memory of Error is 0", {"[1/x]", "[MS]", "[5]", "[MR]"}, "0.00", true},
        {"memory with thousand separators",
         {"[1]", "[2]", "[3]", "[4]", "[.]", "[5]", "[MS]", "[C]", "[MR]", "[M+]", "[MR]"}, "2,469.00", true, true},
        {"thousands shown", {"[1]", "[2]", "[3]", "[4]", "[.]", "[5]"}, "1,234.50", true, true},
        {"MaxLength stops the digits", {"1", "[2]", "[3]", "4"}, "1.00", true, false, 4},
        {"Escape keeps the pad's result", {"12+3=", "<Esc>"}, "15.00", false},
        {"Escape keeps typed digits", {"34", "<Esc>"}, "34.00", false},
        {"Backspace key on Error", {"10/0=", "<Back>"}, "0.00", true},
        {"Backspace key rewrites through the format", {"[9]", "<Back>"}, "9.00", true},
        {"Delete on Error", {"10/0=", "<Del>"}, "0.00", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Calc->SetShowThousandSeparator(c.thousands);
        Calc->SetMaxLength(c.maxLength);
        Calc->SetText("0");
        Calc->CalcResult(); // no pending operation, accumulator 0
        Calc->ShowDropDown();
        ASSERT_TRUE(Calc->DroppedDown());
        Run(c.steps);
        EXPECT_EQ(Calc->text(), c.shown);
        EXPECT_EQ(Calc->DroppedDown(), c.open);
        if (Calc->DroppedDown())
            Calc->HideDropDown(false);
    }
}

TEST_F(DropDownCalculator, ClosedEditOperationKeys)
{
    // Typed into the closed, focused edit, the operation characters reach the calculator before
    // the float input could refuse them.
    struct Case {
        const char* keys;
        const char* shown;
    };
    const Case cases[] = {
        {"12+3=", "15.00"}, {"200+10%", "20.00"}, {"200+10%=", "220.00"}, {"12-3=", "9.00"},
        {"6*7=", "42.00"},  {"9/2=", "4.50"},     {"7c", "0.00"},          {"1.2.3", "1.23"},
    };
    for (const Case& c : cases) {
        auto* e = TAdvCustomDropDown::New<TAdvCalculatorDropdown>(Host.get());
        e->move(10, 40);
        e->show();
        e->setFocus();
        QApplication::processEvents();
        QTest::keyClicks(e, c.keys);
        EXPECT_EQ(e->text(), c.shown) << c.keys;
        delete e;
    }
    // Enter computes as "=" does.
    Calc->SetText("12");
    QTest::keyClicks(Calc, "c5*3");
    QTest::keyClick(Calc, Qt::Key_Return);
    EXPECT_EQ(Calc->text(), "15.00");
    EXPECT_EQ(Calc->PendingOperation(), -1);
}

TEST_F(DropDownCalculator, OpenGrab)
{
    Calc->SetText("1234.5");
    Calc->ShowDropDown();
    ASSERT_TRUE(Calc->DroppedDown());
    QTest::mouseMove(Pad(), QPoint(60, 50)); // over "7"
    QApplication::processEvents();
    TDropDownForm* form = Calc->DropDownForm();
    const QPoint formAt = form->pos() - Calc->mapToGlobal(QPoint(0, 0));
    QImage shot(std::max(Calc->width(), formAt.x() + form->width()) + 2, formAt.y() + form->height() + 2,
                QImage::Format_RGB32);
    shot.fill(QColor(240, 240, 240));
    {
        QPainter p(&shot);
        p.drawPixmap(0, 0, Calc->grab());
        p.drawPixmap(formAt, form->grab());
    }
    EXPECT_TRUE(shot.save(kt_test::GrabPath("dropdown_calculator_open.png")));
}

} // namespace
