// What the drop-down edit gives its descendants: the caret after written texts, the change step,
// entering and leaving without counting its own pop-up, placement across monitors, Enter and
// Escape left to the dialog, and header buttons that rebuild themselves from their own click.
#include "dropdown/AdvDropDown_Edit.h"

#include "platform/Form.h"
#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A drop-down with a small list in its pop-up, counting what its descendant steps see.
class TProbeDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
    QListWidget* List = nullptr;
    QStringList Steps;

    void CreateDropDownForm() override
    {
        TAdvCustomDropDown::CreateDropDownForm();
        if (List)
            return;
        List = new QListWidget(DropDownForm());
        List->addItems({"one", "two"});
        List->resize(150, 100);
        SetControl(List);
    }
    void HandleChange() override
    {
        Steps << "change:" + text();
        TAdvCustomDropDown::HandleChange();
    }
    void DoEnter() override
    {
        Steps << "enter";
        TAdvCustomDropDown::DoEnter();
    }
    void DoExit() override
    {
        Steps << "exit";
        TAdvCustomDropDown::DoExit();
    }
};

class TCountingButton : public platform::IDialogButton {
public:
    int Clicks = 0;
    bool CanClickAsDialogKey() override { return true; }
    void ClickAsDialogKey() override { ++Clicks; }
};

class DropDownBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 400, 300);
        DD = TAdvCustomDropDown::New<TProbeDropDown>(Host.get());
        DD->move(10, 10);
        Other = new QLineEdit(Host.get());
        Other->move(10, 200);
        Host->show();
        Host->activateWindow();
        DD->setFocus();
        QApplication::processEvents();
        DD->Steps.clear();
    }
    void TearDown() override
    {
        SetDropDownScreenQuery(nullptr);
        if (DD->DroppedDown())
            DD->HideDropDown(false);
        Host.reset();
    }

    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<QWidget> Host;
    TProbeDropDown* DD = nullptr;
    QLineEdit* Other = nullptr;
};

TEST_F(DropDownBase, WrittenTextsLeaveTheCaretAtTheStart)
{
    DD->SetText("abcdef");
    EXPECT_EQ(DD->cursorPosition(), 0);
    DD->SetSel(4, 0);
    DD->SetEditText("xyz");
    EXPECT_EQ(DD->cursorPosition(), 0);
    DD->SetEditType(etFloat);
    DD->SetPrecision(2);
    DD->SetFloatValue(12.5);
    EXPECT_EQ(DD->text(), "12.50");
    EXPECT_EQ(DD->cursorPosition(), 0);
}

TEST_F(DropDownBase, ChangeStepRunsBeforeOnChangeAndNotForSwallowedChanges)
{
    DD->OnChange = [this](QObject*) { DD->Steps << "OnChange"; };
    DD->SetText("a");
    EXPECT_EQ(DD->Steps, QStringList({"change:a", "OnChange"}));
    // A money re-format that the typed-input layer hides reports nothing.
    DD->SetEditType(etMoney);
    DD->SetPrecision(0);
    DD->Steps.clear();
    DD->SetText("1234");
    DD->SetSel(4, 0);
    QTest::keyClick(DD, Qt::Key_5);
    EXPECT_EQ(DD->text(), "12,345");
    EXPECT_TRUE(DD->Steps.contains("change:12345")) << DD->Steps.join(" | ").toStdString();
    EXPECT_FALSE(DD->Steps.contains("change:12,345")) << "the re-format is swallowed";
}

TEST_F(DropDownBase, OpeningItsOwnPopupIsNoLeaving)
{
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QApplication::processEvents();
    DD->HideDropDown(false);
    QApplication::processEvents();
    EXPECT_FALSE(DD->Steps.contains("exit")) << DD->Steps.join(" | ").toStdString();
    EXPECT_FALSE(DD->Steps.contains("enter"));

    // Focus reasons, as the window system reports them.
    struct Case {
        Qt::FocusReason reason;
        bool counts;
    };
    const Case cases[] = {{Qt::PopupFocusReason, false},
                          {Qt::ActiveWindowFocusReason, false},
                          {Qt::TabFocusReason, true},
                          {Qt::MouseFocusReason, true},
                          {Qt::OtherFocusReason, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.reason));
        DD->Steps.clear();
        QFocusEvent out(QEvent::FocusOut, c.reason);
        QApplication::sendEvent(DD, &out);
        QFocusEvent in(QEvent::FocusIn, c.reason);
        QApplication::sendEvent(DD, &in);
        EXPECT_EQ(DD->Steps.contains("exit"), c.counts);
        EXPECT_EQ(DD->Steps.contains("enter"), c.counts);
    }
    // A real move of the focus to another control is a leaving, coming back an entering.
    DD->Steps.clear();
    int exits = 0;
    DD->OnExit = [&](QObject*) { ++exits; };
    Other->setFocus(Qt::TabFocusReason);
    DD->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(DD->Steps, QStringList({"exit", "enter"}));
}

TEST_F(DropDownBase, PlacementOnAMonitorLeftOfThePrimary)
{
    // Primary 800 x 600 at the origin; a second monitor to its left, work area without the
    // 24-pixel bar at its right edge.
    SetDropDownScreenQuery([]() {
        return std::vector<TDropDownScreen>{{QRect(0, 0, 800, 600), QRect(0, 0, 800, 570)},
                                            {QRect(-1024, 0, 1024, 768), QRect(-1024, 0, 1000, 768)}};
    });
    Host->move(-300, 100);
    QApplication::processEvents();
    const QPoint P = DD->mapToGlobal(QPoint(0, 0));
    ASSERT_LT(P.x(), 0);
    DD->SetDropDownWidth(400);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    // The pop-up would reach past -24 (the work area's right edge): it moves left by the overhang.
    EXPECT_EQ(DD->DropDownForm()->x() + DD->DropDownForm()->width(), -24);
    EXPECT_EQ(DD->DropDownForm()->y(), P.y() + DD->height() - 1);
    DD->HideDropDown(false);

    // On the primary monitor, a pop-up starting right of the work area stays where it is.
    Host->move(700, 100);
    QApplication::processEvents();
    DD->move(150, 10);
    DD->ShowDropDown();
    EXPECT_EQ(DD->DropDownForm()->x(), DD->mapToGlobal(QPoint(0, 0)).x());
    DD->HideDropDown(false);
}

TEST_F(DropDownBase, RememberedSizeDecidesAboveOrBelow)
{
    SetDropDownScreenQuery([]() {
        return std::vector<TDropDownScreen>{{QRect(0, 0, 800, 600), QRect(0, 0, 800, 600)}};
    });
    Host->move(40, 300);
    QApplication::processEvents();
    const QPoint P = DD->mapToGlobal(QPoint(0, 0));
    DD->ShowDropDown();
    EXPECT_EQ(DD->DropDownForm()->y(), P.y() + DD->height() - 1) << "102 high: fits below";
    DD->DropDownForm()->resize(200, 290);
    DD->HideDropDown(false);
    EXPECT_EQ(DD->UserDropDownHeight(), 290);
    DD->ShowDropDown();
    // With the user's 290 pixels the bottom of the screen is passed: it opens above.
    EXPECT_EQ(DD->DropDownForm()->height(), 290);
    EXPECT_EQ(DD->DropDownForm()->y(), P.y() - 290);
}

TEST_F(DropDownBase, EnterAndEscapeWithThePopupClosedReachTheDialogOnce)
{
    platform::TForm form;
    TCountingButton ok, cancel;
    form.SetDefaultButton(&ok);
    form.SetCancelButton(&cancel);
    auto* dd = TAdvCustomDropDown::New<TProbeDropDown>(&form);
    form.show();
    form.activateWindow();
    dd->setFocus();
    QApplication::processEvents();
    dd->SetText("abc");
    QTest::keyClick(dd, Qt::Key_Return);
    EXPECT_EQ(ok.Clicks, 1);
    QTest::keyClick(dd, Qt::Key_Escape);
    EXPECT_EQ(cancel.Clicks, 1);
    EXPECT_EQ(dd->text(), "abc");
    // With the pop-up open they close it and stay with the drop-down.
    dd->ShowDropDown();
    ASSERT_TRUE(dd->DroppedDown());
    QTest::keyClick(dd->DropDownForm(), Qt::Key_Escape);
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(cancel.Clicks, 1);
    dd->ShowDropDown();
    QTest::keyClick(dd->DropDownForm(), Qt::Key_Return);
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(ok.Clicks, 1);
}

TEST_F(DropDownBase, HeaderButtonRenamedByItsOwnClick)
{
    DD->DropDownHeader().Buttons().Add()->SetCaption("Rename me");
    int clicks = 0;
    DD->OnDropDownHeaderButtonClick = [&](QObject*, int index) {
        ++clicks;
        // The caption change rebuilds the header's buttons while this click is running.
        DD->DropDownHeader().Buttons().Items(index)->SetCaption(QString("Clicked %1").arg(clicks));
    };
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvHeader* header = DD->DropDownForm()->Header();
    ASSERT_NE(header, nullptr);
    for (int round = 1; round <= 2; ++round) {
        ASSERT_EQ(header->ButtonCount(), 1);
        QPointer<TAdvButton> button = header->ButtonAt(0);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(clicks, round);
        EXPECT_TRUE(button.isNull()) << "the old button is freed once its click has ended";
        ASSERT_EQ(header->ButtonCount(), 1);
        EXPECT_EQ(header->ButtonAt(0)->Caption(), QString("Clicked %1").arg(round));
    }
}

TEST_F(DropDownBase, TextAndMoneyRules)
{
    // The suffix comes off the value only when the text ends with it.
    DD->SetSuffix(" kg");
    DD->SetEditText("12 kg");
    EXPECT_EQ(DD->Text(), "12");
    DD->SetEditText("12 g");
    EXPECT_EQ(DD->Text(), "12 g");
    DD->SetSuffix("");

    // A decimal separator typed over a whole money value gives 0, separator, 0.
    for (const QChar ds : {QChar('.'), QChar(',')}) {
        SCOPED_TRACE(QString(ds).toStdString());
        platform::FormatSettings().DecimalSeparator = ds;
        platform::FormatSettings().ThousandSeparator = ds == QChar('.') ? QChar(',') : QChar('.');
        DD->SetEditType(etString);
        DD->SetEditType(etMoney);
        DD->SetPrecision(2);
        DD->SetText(QString("12") + ds + "50");
        DD->SelectAll();
        QTest::keyClicks(DD, QString(ds));
        EXPECT_EQ(DD->text(), QString("0") + ds + "0");
        EXPECT_EQ(DD->cursorPosition(), 2);
    }
}

} // namespace
