// The track-bar drop-down (position, keys, dragging on the edit, cancelled closes) and the memo
// drop-down (the edit's display, the memo's working copy, keys, automatic opening).
#include "dropdown/AdvMemoDropDown.h"
#include "dropdown/AdvTrackBarDropDown.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include "TestSupport.h"

#include <QApplication>
#include <QPainter>
#include <QSlider>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

namespace {

template <class T>
class DropDownHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 400, 300);
        DD = TAdvCustomDropDown::New<T>(Host.get());
        DD->move(10, 10);
        Other = new QLineEdit(Host.get());
        Other->move(10, 200);
        Host->show();
        Host->activateWindow();
        DD->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (DD->DroppedDown())
            DD->HideDropDown(false);
        Host.reset();
    }
    void Grab(const QString& name)
    {
        TDropDownForm* form = DD->DropDownForm();
        const QPoint formAt = form->pos() - DD->mapToGlobal(QPoint(0, 0));
        QImage shot(std::max(DD->width(), formAt.x() + form->width()) + 2, formAt.y() + form->height() + 2,
                    QImage::Format_RGB32);
        shot.fill(QColor(240, 240, 240));
        {
            QPainter p(&shot);
            p.drawPixmap(0, 0, DD->grab());
            p.drawPixmap(formAt, form->grab());
        }
        EXPECT_TRUE(shot.save(kt_test::GrabPath(name)));
    }
    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<QWidget> Host;
    T* DD = nullptr;
    QLineEdit* Other = nullptr;
};

// ---- track bar ---------------------------------------------------------------------------------

using DropDownTrackBar = DropDownHost<TAdvTrackBarDropDown>;

TEST_F(DropDownTrackBar, PositionTextAndKeys)
{
    EXPECT_EQ(DD->text(), "0");
    EXPECT_EQ(DD->Position(), 0);
    EXPECT_EQ(DD->Min(), 0);
    EXPECT_EQ(DD->Max(), 10);
    EXPECT_FALSE(DD->EditorEnabled());
    EXPECT_FALSE(DD->DropDownHeader().Visible());
    EXPECT_FALSE(DD->DropDownFooter().Visible());
    int changes = 0;
    DD->OnTrackChange = [&](QObject*) { ++changes; };
    DD->SetPosition(15);
    EXPECT_EQ(DD->Position(), 10) << "the bar keeps it within Max";
    EXPECT_EQ(DD->text(), "10");
    EXPECT_EQ(changes, 1);

    struct Case {
        int position, frequency;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int expected;
    };
    const Case cases[] = {
        {1, 2, Qt::Key_Up, Qt::NoModifier, 1},   // 1 - 2 is below Min: nothing, no clamping
        {1, 2, Qt::Key_Down, Qt::NoModifier, 3},
        {9, 2, Qt::Key_Down, Qt::NoModifier, 9}, // 11 is above Max
        {5, 1, Qt::Key_Up, Qt::NoModifier, 4},
        {5, 1, Qt::Key_Down, Qt::AltModifier, 5}, // Alt+Down opens instead
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1 step %2 key %3").arg(c.position).arg(c.frequency).arg(c.key).toStdString());
        DD->SetPosition(c.position);
        DD->SetFrequency(c.frequency);
        QTest::keyClick(DD, c.key, c.mods);
        EXPECT_EQ(DD->Position(), c.expected);
        EXPECT_EQ(DD->text(), QString::number(c.expected));
        EXPECT_EQ(DD->DroppedDown(), bool(c.mods & Qt::AltModifier));
        if (DD->DroppedDown())
            DD->HideDropDown(false);
    }
    // With the editor on, typed digits set the position; a text that is no integer leaves it.
    DD->SetEditorEnabled(true);
    DD->SetSel(0, 1);
    QTest::keyClicks(DD, "7");
    EXPECT_EQ(DD->Position(), 7);
    QTest::keyClick(DD, Qt::Key_Down);
    EXPECT_EQ(DD->Position(), 7) << "Up and Down are for the pick-only edit";
    DD->SetEditText("");
    EXPECT_EQ(DD->Position(), 7);
    DD->SetEditText("-");
    EXPECT_EQ(DD->Position(), 7);
}

TEST_F(DropDownTrackBar, DraggingOnTheEdit)
{
    struct Case {
        int pageSize;
        std::vector<int> moves; // x positions after a press at 50
        int expected;
    };
    const Case cases[] = {
        {2, {51, 52, 53, 54, 55}, 5}, // one pixel per message: never a whole unit
        {2, {55}, 7},                 // 5 pixels right: +2
        {2, {45}, 3},                 // 5 pixels left: -2
        {1, {60, 80}, 10},            // ends at Max
        {0, {90}, 5},                 // no page size: no dragging
        {-3, {90}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pageSize);
        DD->SetPosition(5);
        DD->SetPageSize(c.pageSize);
        QTest::mousePress(DD, Qt::LeftButton, Qt::NoModifier, QPoint(50, 5));
        for (int x : c.moves)
            QTest::mouseMove(DD, QPoint(x, 5));
        QTest::mouseRelease(DD, Qt::LeftButton, Qt::NoModifier, QPoint(c.moves.back(), 5));
        EXPECT_EQ(DD->Position(), c.expected);
        if (DD->DroppedDown())
            DD->HideDropDown(false);
    }
    // A move without a press does nothing.
    DD->SetPageSize(1);
    QTest::mouseMove(DD, QPoint(10, 5));
    QTest::mouseMove(DD, QPoint(90, 5));
    EXPECT_EQ(DD->Position(), 5);
}

TEST_F(DropDownTrackBar, DragWithThePopupOpen)
{
    DD->SetPosition(2);
    DD->SetPageSize(2);
    // The press opens the pop-up, which then holds the mouse; the drag still reaches the edit.
    QWindow* window = Host->windowHandle();
    const QPoint at = DD->mapTo(Host.get(), QPoint(40, 5));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, at);
    QApplication::processEvents();
    ASSERT_TRUE(DD->DroppedDown());
    ASSERT_EQ(QApplication::activePopupWidget(), DD->DropDownForm());
    QTest::mouseMove(window, at + QPoint(6, 0));
    QApplication::processEvents();
    EXPECT_EQ(DD->Position(), 5);
    EXPECT_EQ(DD->TrackBar()->value(), 5);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, at + QPoint(6, 0));
    QApplication::processEvents();
    EXPECT_TRUE(DD->DroppedDown());
    QTest::mouseMove(window, at + QPoint(20, 0));
    EXPECT_EQ(DD->Position(), 5) << "the drag ended with the release";
    Grab("dropdown_trackbar_open.png");
}

TEST_F(DropDownTrackBar, CancelledCloseReturnsToTheOpeningValue)
{
    DD->SetText("7");
    EXPECT_EQ(DD->Position(), 7);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    EXPECT_EQ(DD->DropDownForm()->width(), DD->width());
    EXPECT_EQ(DD->DropDownForm()->height(), 50) << "40 + 2 for the bar, raised to the pop-up's minimum";
    DD->TrackBar()->setValue(3);
    EXPECT_EQ(DD->text(), "3");
    QTest::keyClick(DD->DropDownForm(), Qt::Key_Escape);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->Position(), 7);
    // A value set through Position (never through the text) comes back just the same.
    DD->SetPosition(4);
    DD->ShowDropDown();
    DD->TrackBar()->setValue(9);
    DD->HideDropDown(true);
    EXPECT_EQ(DD->Position(), 4);
    EXPECT_EQ(DD->text(), "4");
    // A key handled in the bar, then Enter on the pop-up: accepted, the bar's value kept.
    DD->ShowDropDown();
    QTest::keyClick(DD->TrackBar(), Qt::Key_Right);
    DD->TrackBar()->setValue(6);
    QTest::keyClick(DD->DropDownForm(), Qt::Key_Return);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->Position(), 6);
}

// ---- memo --------------------------------------------------------------------------------------

using DropDownMemo = DropDownHost<TAdvMemoDropDown>;

TEST_F(DropDownMemo, TheEditShowsTheFirstLine)
{
    struct Case {
        QStringList lines;
        bool editorEnabled;
        QString shown;
    };
    const QString wide = QString("A rather long first line ").repeated(4);
    const Case cases[] = {
        {{"one", "two"}, false, "one..."},
        {{"one"}, false, "one"},
        {{}, false, ""},
        {{"one", "two"}, true, "one\r\ntwo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join("|").toStdString());
        DD->SetEditorEnabled(c.editorEnabled);
        platform::TStringList list;
        list.Assign(c.lines);
        DD->SetMemoText(list);
        EXPECT_EQ(DD->text(), c.shown);
    }
    DD->SetEditorEnabled(false);
    platform::TStringList list;
    list.Assign(QStringList{wide});
    DD->SetMemoText(list);
    EXPECT_TRUE(DD->text().endsWith("...")) << DD->text().toStdString();
    EXPECT_LT(DD->text().size(), wide.size()) << "a line too wide is cut even when it is alone";
}

TEST_F(DropDownMemo, WorkingCopyKeysAndEscape)
{
    DD->SetEditorEnabled(false);
    DD->SetText("a");
    EXPECT_EQ(DD->MemoText().Count(), 1);
    EXPECT_EQ(DD->MemoText().Strings(0), "a");
    int memoChanges = 0;
    DD->OnMemoChange = [&](QObject*) { ++memoChanges; };
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TDropDownMemo* memo = DD->Memo();
    EXPECT_EQ(memo->Text(), "a");
    memoChanges = 0; // loading the memo counts as a change of its own
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "b");
    EXPECT_TRUE(DD->DroppedDown()) << "Enter starts a new line";
    EXPECT_EQ(memo->Text(), "a\nb");
    EXPECT_EQ(memoChanges, 2);
    EXPECT_EQ(DD->MemoText().Count(), 1) << "nothing taken over before the close";
    QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(memo->textCursor().selectedText().size(), 3);
    QTest::keyClick(memo, Qt::Key_Escape);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->MemoText().Count(), 1);
    EXPECT_EQ(DD->MemoText().Strings(0), "a");
    EXPECT_EQ(DD->text(), "a");

    // F4 closes and keeps the memo's text.
    DD->ShowDropDown();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "second");
    QTest::keyClick(memo, Qt::Key_F4);
    EXPECT_FALSE(DD->DroppedDown());
    ASSERT_EQ(DD->MemoText().Count(), 2);
    EXPECT_EQ(DD->MemoText().Strings(1), "second");
    EXPECT_EQ(DD->text(), "a...");
    EXPECT_EQ(DD->cursorPosition(), 0);

    // A value never loaded through the text comes back too after Escape.
    platform::TStringList three;
    three.Assign(QStringList{"x", "y", "z"});
    DD->SetMemoText(three);
    DD->ShowDropDown();
    memo->setPlainText("changed");
    DD->HideDropDown(true);
    EXPECT_EQ(DD->MemoText().Count(), 3);
    EXPECT_EQ(DD->text(), "x...");
}

// Opened from the keyboard, the memo has the focus: Enter starts a new line without a click.
TEST_F(DropDownMemo, OpenedFromTheKeyboardTheMemoTakesTheKeys)
{
    DD->SetText("a");
    QTest::keyClick(DD, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(DD->DroppedDown());
    QApplication::processEvents();
    TDropDownMemo* memo = DD->Memo();
    EXPECT_EQ(QApplication::focusWidget(), memo);
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : DD->DropDownForm();
    QTest::keyClick(target, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Return);
    QTest::keyClicks(target, "b");
    EXPECT_TRUE(DD->DroppedDown()) << "Enter starts a new line";
    EXPECT_EQ(memo->Text(), "a\nb");
}

TEST_F(DropDownMemo, SettingsReachTheMemo)
{
    DD->SetMaxLength(5);
    DD->ShowDropDown();
    QTest::keyClicks(DD->Memo(), "abcdefg");
    EXPECT_EQ(DD->Memo()->Text(), "abcde");
    DD->SetMemoReadOnly(true);
    EXPECT_TRUE(DD->Memo()->isReadOnly()) << "at once while open";
    DD->SetMemoScrollBars(ssVertical);
    EXPECT_EQ(DD->Memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff) << "at the next opening";
    DD->HideDropDown(false);
    DD->ShowDropDown();
    EXPECT_EQ(DD->Memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    DD->SetMemoReadOnly(false);
    DD->HideDropDown(false);

    // AutoDrop opens on entering, not when the focus comes back from the closing pop-up.
    DD->SetAutoDrop(true);
    Other->setFocus(Qt::TabFocusReason);
    DD->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(DD->DroppedDown());
    QTest::keyClick(DD->Memo(), Qt::Key_F4);
    QApplication::processEvents();
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_TRUE(DD->AutoDrop());
}

TEST_F(DropDownMemo, OpenGrab)
{
    platform::TStringList list;
    list.Assign(QStringList{"Line one of the note", "Line two", "Line three"});
    DD->SetMemoText(list);
    DD->DropDownHeader().SetCaption("Note");
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QApplication::processEvents();
    Grab("dropdown_memo_open.png");
}

} // namespace
