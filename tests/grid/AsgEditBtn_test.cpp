// The edit with button and the unit edit: the button and F4, the editor-enabled switch, splitting
// text and unit, the unit menu, and a grab of what a user sees.
#include "GridHost.h"
#include "grid/AsgEditBtn.h"

#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct EditForm {
    QWidget form;
    TAsgUnitEditBtn* edit;
    int clicks = 0;
    QObject* sender = nullptr;
    EditForm()
    {
        form.resize(260, 80);
        edit = new TAsgUnitEditBtn(&form);
        edit->setGeometry(20, 20, 160, 24);
        edit->SetUnits(QStringList{"m", "mm", "kg"});
        edit->OnClickBtn = [this](QObject* s) {
            ++clicks;
            sender = s;
        };
        EXPECT_TRUE(kt_test::Show_Focused(form, edit));
    }
};

} // namespace

TEST(AsgEditBtn, Defaults)
{
    TAsgEditBtn e;
    EXPECT_EQ(e.Text(), "0");
    EXPECT_TRUE(e.EditorEnabled());
    EXPECT_FALSE(e.RightAlign());
    EXPECT_EQ(e.Button()->width(), 18);
    TAsgUnitEditBtn u;
    EXPECT_TRUE(u.RightAlign());
    EXPECT_EQ(u.UnitSpace(), 20);
    EXPECT_EQ(u.Units().Count(), 0);
    TAsgEditButton b;
    EXPECT_EQ(b.width(), 20);
    EXPECT_EQ(b.height(), 25);
    EXPECT_EQ(b.ButtonColor(), clNone);
}

TEST(AsgUnitEditBtn, TextAndUnitSplitsOnTheFirstUnitThatEndsTheValue)
{
    struct Case { const char* value; const char* text; const char* unit; } cases[] = {
        {"12mm", "12", "mm"},    // m occurs earlier, so only mm matches
        {"12m", "12", "m"},
        {"mm3m", "keep", "kg"},  // m first occurs at the start; nothing changes
        {"5 kg", "5 ", "kg"},    // the blank stays with the text
        {"12", "keep", "kg"},    // no unit at the end
    };
    for (const Case& k : cases) {
        TAsgUnitEditBtn u;
        u.SetUnits(QStringList{"m", "mm", "kg"});
        u.SetText("keep");
        u.SetUnitID("kg");
        u.SetTextAndUnit(k.value);
        EXPECT_EQ(u.Text(), k.text) << k.value;
        EXPECT_EQ(u.UnitID(), k.unit) << k.value;
        EXPECT_EQ(u.TextAndUnit(), QString(k.text) + k.unit) << k.value;
    }
}

TEST(AsgEditBtn, F4AndTheButtonFireOnClickBtn)
{
    EditForm f;
    struct Case { Qt::KeyboardModifiers mods; int clicks; } cases[] = {
        {Qt::NoModifier, 1}, {Qt::ShiftModifier, 1}, {Qt::ControlModifier, 0}, {Qt::AltModifier, 0}};
    for (const Case& k : cases) {
        f.clicks = 0;
        QTest::keyClick(f.edit, Qt::Key_F4, k.mods);
        EXPECT_EQ(f.clicks, k.clicks) << int(k.mods);
        if (QMenu* m = f.edit->UnitMenu())
            m->close();
    }
    f.clicks = 0;
    QTest::keyClick(f.edit, Qt::Key_F4);
    EXPECT_EQ(f.sender, f.edit); // the unit edit names itself
    if (QMenu* m = f.edit->UnitMenu())
        m->close();

    // A plain edit names the button control after a mouse click.
    TAsgEditBtn plain(&f.form);
    plain.setGeometry(20, 50, 160, 24);
    plain.show();
    QObject* sender = nullptr;
    plain.OnClickBtn = [&](QObject* s) { sender = s; };
    QTest::mouseClick(plain.Button()->Button(), Qt::LeftButton);
    EXPECT_EQ(sender, plain.Button());
    EXPECT_TRUE(plain.hasFocus()); // the press moves the focus to the edit
}

TEST(AsgEditBtn, EditorDisabledDropsTypingPasteAndCut)
{
    EditForm f;
    TAsgUnitEditBtn* e = f.edit;
    e->SetText("12");
    e->SetEditorEnabled(false);
    e->setCursorPosition(2);
    QTest::keyClicks(e, "34");
    QTest::keyClick(e, Qt::Key_Backspace);
    EXPECT_EQ(e->Text(), "12");
    QApplication::clipboard()->setText("99");
    e->selectAll();
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(e->Text(), "12");
    // Keys still act, and so does the button.
    e->setCursorPosition(0);
    QTest::keyClick(e, Qt::Key_Delete);
    EXPECT_EQ(e->Text(), "2");
    QTest::keyClick(e, Qt::Key_F4);
    EXPECT_EQ(f.clicks, 1);
    if (QMenu* m = e->UnitMenu())
        m->close();

    e->SetEditorEnabled(true);
    e->setCursorPosition(1);
    QTest::keyClicks(e, "5");
    EXPECT_EQ(e->Text(), "25");
}

TEST(AsgUnitEditBtn, UnitMenuPicksAUnitAndReportsOnlyChanges)
{
    EditForm f;
    TAsgUnitEditBtn* e = f.edit;
    QStringList changes;
    e->OnUnitChanged = [&](QObject*, const QString& unit) { changes << unit; };
    QTest::keyClick(e, Qt::Key_F4);
    QMenu* menu = e->UnitMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions()[1]->text(), "mm");
    menu->actions()[1]->trigger();
    EXPECT_EQ(e->UnitID(), "mm");
    e->UnitMenuCommand(2); // the current unit again
    e->UnitMenuCommand(0); // outside the list
    e->UnitMenuCommand(4);
    EXPECT_EQ(e->UnitID(), "mm");
    EXPECT_EQ(changes, QStringList{"mm"});
    menu->close();
}

TEST(AsgEditBtn, Grab)
{
    QWidget form;
    form.resize(220, 130);
    TAsgEditBtn plain(&form);
    plain.setGeometry(10, 10, 200, 24);
    plain.SetButtonCaption("...");
    plain.SetText("plain");
    TAsgUnitEditBtn unit(&form);
    unit.setGeometry(10, 50, 200, 24);
    unit.SetUnits(QStringList{"kg"});
    unit.SetTextAndUnit("12.5kg");
    TAsgEditBtn coloured(&form);
    coloured.setGeometry(10, 90, 200, 24);
    coloured.Button()->SetButtonColor(0xF0C080);
    coloured.SetButtonCaption("?");
    coloured.setEnabled(false);
    form.show();
    QApplication::processEvents();
    const QImage img = form.grab().toImage();
    EXPECT_TRUE(img.save(kt_test::GrabPath("AsgEditBtn.png")));
    // The coloured button face is filled with its colour.
    const QPoint inside = coloured.Button()->geometry().center() + coloured.pos() + QPoint(4, 4);
    EXPECT_EQ(FromQColor(img.pixelColor(inside)), 0xF0C080);
}
