// What the editor controls share: the coloured drop-down button of the combo and the date picker
// (fill, border line and arrow, hot under the pointer), drawn once for both.
#include "grid/AsgComboBox.h"
#include "grid/AsgDateTimePicker.h"

#include "TestSupport.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TColor PixelAt(QWidget* w, QPoint p)
{
    return FromQColor(w->grab().toImage().pixelColor(p));
}

struct ColouredButton {
    const char* name;
    QWidget* control;
    TRect fill;     // the filled face
    int arrowLeft;  // the arrow's left corner, 7 below the face's top
};

} // namespace

TEST(AsgButtonEdit, ColouredDropButtonOfComboAndPicker)
{
    QWidget form;
    form.resize(400, 120);
    auto* combo = new TAsgComboBox(&form);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(10, 10, 160, 24);
    auto* picker = new TAsgDateTimePicker(&form);
    picker->setGeometry(10, 60, 180, 24);
    picker->SetMetroStyle(true);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const int cw = combo->width(), ch = combo->height(), cb = combo->ButtonWidth();
    const int pw = picker->width(), ph = picker->height(), pb = picker->ButtonWidth();
    // The combo's face lies two pixels inside its button strip, the picker's fill starts two
    // pixels right of its border line.
    const ColouredButton cases[] = {
        {"combo", combo, TRect(cw - cb + 4, 2, cw - 2, ch - 2), cw - cb + 4 + 4},
        {"picker", picker, TRect(pw - pb + 5, 1, pw - 1, ph - 1), pw - pb + 3 + 5},
    };
    auto colour = [](auto* c) {
        c->SetButtonColor(0xC0C0C0);
        c->SetButtonColorHot(0x00FFFF);
        c->SetButtonColorDown(0x0000FF);
        c->SetButtonBorderColor(0x008000);
        c->SetButtonTextColor(0x800000);
    };
    colour(combo);
    colour(picker);
    for (const ColouredButton& k : cases) {
        QTest::mouseMove(k.control, QPoint(5, 5));
        QApplication::processEvents();
        const QPoint face(k.fill.Right - 2, k.fill.Bottom - 2);
        const QPoint arrow(k.arrowLeft + 3, k.fill.Top + 8);
        EXPECT_EQ(PixelAt(k.control, face), 0xC0C0C0) << k.name;
        EXPECT_EQ(PixelAt(k.control, arrow), 0x800000) << k.name;
        const int lineX = k.control == combo ? k.fill.Left : k.fill.Left - 2;
        EXPECT_EQ(PixelAt(k.control, QPoint(lineX, k.fill.Top + 3)), 0x008000) << k.name;
        // Under the pointer the face turns hot; the arrow keeps its colour.
        QTest::mouseMove(k.control, QPoint(k.fill.Right - 3, k.fill.Top + 3));
        QApplication::processEvents();
        EXPECT_EQ(PixelAt(k.control, face), 0x00FFFF) << k.name;
        EXPECT_EQ(PixelAt(k.control, arrow), 0x800000) << k.name;
    }
}
