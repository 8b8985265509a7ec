// Drop-down keys and the wheel as a user gives them: to the widget that has the focus, or as a
// wheel event to the widget under the pointer.
#include "dropdown/AdvCalculatorDropdown.h"
#include "dropdown/AdvCustomGridDropDown.h"
#include "dropdown/AdvMultiColumnDropDown.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class DropDownKeyPaths : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 500, 400);
        Next = new QLineEdit(Host.get());
        Next->setGeometry(10, 300, 100, 22);
    }
    void TearDown() override
    {
        Host.reset();
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
    }
    void ShowAndFocus(QWidget* w)
    {
        w->move(10, 10);
        Host->show();
        QApplication::setActiveWindow(Host.get());
        Host->activateWindow();
        w->setFocus();
        Pump();
    }
    static void Pump()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }
    // A key where the keyboard gives it: to an open pop-up's focused widget, else to the focus.
    static QWidget* KeyTarget()
    {
        if (QWidget* p = QApplication::activePopupWidget())
            return p->focusWidget() ? p->focusWidget() : p;
        return QApplication::focusWidget();
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* w = KeyTarget();
        ASSERT_NE(w, nullptr);
        QTest::keyClick(w, key, mods);
        Pump();
    }
    // One wheel notch towards the user over the widget's centre.
    static void WheelDown(QWidget* w)
    {
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
        Pump();
    }

    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<QWidget> Host;
    QLineEdit* Next = nullptr;
};

TCustomAdvGridDropDown* NewGridDropDown(QWidget* host)
{
    auto* dd = TAdvCustomDropDown::New<TCustomAdvGridDropDown>(host);
    for (const char* h : {"Name", "No"}) {
        auto* c = dd->Columns().Add();
        c->Header = h;
        c->Width = 80;
    }
    int n = 1;
    for (const char* name : {"Apple", "Apricot", "Banana", "Cherry", "Date"}) {
        auto* it = dd->Items().Add();
        it->Text = QStringList{name, QString::number(n++)};
    }
    dd->EndUpdate();
    return dd;
}

TAdvMultiColumnDropDown* NewMultiColumn(QWidget* host)
{
    auto* dd = TAdvCustomDropDown::New<TAdvMultiColumnDropDown>(host);
    dd->Columns().Add()->SetHeader("Name");
    dd->Columns().Add()->SetHeader("No");
    int n = 1;
    for (const char* name : {"Apple", "Apricot", "Banana", "Cherry"}) {
        auto* it = dd->Items().Add();
        it->Text().Add(name);
        it->Text().Add(QString::number(n++));
    }
    dd->EndUpdate();
    return dd;
}

} // namespace

TEST_F(DropDownKeyPaths, GridListRowsPassedWithTheWheelAreNoChoice)
{
    auto* dd = NewGridDropDown(Host.get());
    dd->SetItemIndex(0);
    ShowAndFocus(dd);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(dd->DroppedDown());
    auto* list = dd->GetGrid();
    const int before = list->Row();
    WheelDown(list->viewport());
    EXPECT_GT(list->Row(), before) << "the wheel moves the list's row";
    EXPECT_EQ(dd->ItemIndex(), 0);
    EXPECT_EQ(dd->Text(), "Apple");
    EXPECT_FALSE(list->ConfirmSelection());
    // Closing without cancelling takes no row the wheel passed (a key in the list would confirm it).
    dd->HideDropDown(false);
    EXPECT_EQ(dd->ItemIndex(), 0);
    EXPECT_EQ(dd->Text(), "Apple");
}

TEST_F(DropDownKeyPaths, TabInTheGridListDoesNothing)
{
    auto* dd = NewGridDropDown(Host.get());
    dd->SetItemIndex(2);
    ShowAndFocus(dd);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(dd->DroppedDown());
    auto* list = dd->GetGrid();
    ASSERT_EQ(KeyTarget(), list);
    const int row = list->Row();
    Key(Qt::Key_Tab);
    EXPECT_TRUE(dd->DroppedDown());
    EXPECT_EQ(list->Row(), row);
    EXPECT_EQ(dd->ItemIndex(), 2);
    EXPECT_EQ(dd->Text(), "Banana");
}

TEST_F(DropDownKeyPaths, KeyboardReachesTheOpenMultiColumnList)
{
    auto* dd = NewMultiColumn(Host.get());
    int selects = 0;
    dd->OnSelect = [&](QObject*) { ++selects; };
    dd->SetItemIndex(0);
    ShowAndFocus(dd);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(dd->DroppedDown());
    auto* list = dd->ColGrid();
    EXPECT_EQ(KeyTarget(), list);
    Key(Qt::Key_Down);
    EXPECT_EQ(list->Row(), 2);
    EXPECT_EQ(dd->ItemIndex(), 1);
    // A typed letter jumps in the list.
    QTest::keyClicks(KeyTarget(), "c");
    Pump();
    EXPECT_EQ(list->Row(), 4);
    EXPECT_EQ(dd->Text(), "Cherry");
    Key(Qt::Key_Return);
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(dd->ItemIndex(), 3);
    EXPECT_EQ(selects, 1);
}

TEST_F(DropDownKeyPaths, MultiColumnEnterAsTabTakesTheStoredCaseFirst)
{
    auto* dd = NewMultiColumn(Host.get());
    dd->SetReturnIsTab(true);
    ShowAndFocus(dd);
    dd->SetText("BANANA");
    Key(Qt::Key_Return);
    EXPECT_EQ(dd->Text(), "Banana");
    EXPECT_EQ(dd->ItemIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(), Next) << "then Enter moves on like Tab";
}

TEST_F(DropDownKeyPaths, SelectAllLeavesThePrefixOut)
{
    auto* dd = TAdvCustomDropDown::New<TAdvCustomDropDown>(Host.get());
    dd->SetPrefix("$");
    dd->SetText("12");
    ShowAndFocus(dd);
    // Escape with undo selects the value.
    dd->SetSel(0, 0);
    Key(Qt::Key_Escape);
    EXPECT_EQ(dd->text(), "$12");
    EXPECT_EQ(dd->selectedText(), "12");
    EXPECT_EQ(dd->selectionStart(), 1);
    // So does the focus coming back.
    dd->SetAutoSelect(true);
    Next->setFocus();
    Pump();
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), dd);
    EXPECT_EQ(dd->selectedText(), "12");
}

TEST_F(DropDownKeyPaths, GridDropDownEnterAsTabTakesTheStoredCaseFirst)
{
    auto* dd = NewGridDropDown(Host.get());
    dd->SetReturnIsTab(true);
    ShowAndFocus(dd);
    dd->SetText("BANANA");
    Key(Qt::Key_Return);
    EXPECT_EQ(dd->Text(), "Banana");
    EXPECT_EQ(dd->ItemIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(), Next) << "then Enter moves on like Tab";
}

TEST_F(DropDownKeyPaths, OpenCalculatorPadTakesTheKeyboard)
{
    auto* calc = TAdvCustomDropDown::New<TAdvCalculatorDropdown>(Host.get());
    ShowAndFocus(calc);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(calc->DroppedDown());
    for (Qt::Key k : {Qt::Key_1, Qt::Key_2, Qt::Key_Plus, Qt::Key_3})
        Key(k);
    Key(Qt::Key_Equal);
    EXPECT_EQ(calc->text(), "15.00");
    EXPECT_TRUE(calc->DroppedDown()) << "\"=\" computes without closing";
    Key(Qt::Key_Asterisk);
    Key(Qt::Key_2);
    Key(Qt::Key_Return);
    EXPECT_FALSE(calc->DroppedDown());
    EXPECT_EQ(calc->text(), "30.00");
    // Tab closes the open pad keeping its value.
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(calc->DroppedDown());
    Key(Qt::Key_Tab);
    EXPECT_FALSE(calc->DroppedDown());
    EXPECT_EQ(calc->text(), "30.00");
}
