// The detail drop-down: completion while typing, Enter and Escape, the list's keys open and
// closed, mouse and wheel choices, the list-only type-ahead, and its look with notes.
#include "dropdown/AdvDetailDropDown.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include "TestSupport.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class DropDownDetail : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 400, 300);
        DD = TAdvCustomDropDown::New<TAdvDetailDropDown>(Host.get());
        DD->setGeometry(10, 10, 180, 22);
        Host->show();
        Host->activateWindow();
        DD->setFocus();
        QApplication::processEvents();
        DD->OnSelect = [this](QObject*) { Log += "select;"; };
        DD->OnChange = [this](QObject*) { Log += "change;"; };
    }
    void TearDown() override
    {
        if (DD->DroppedDown())
            DD->HideDropDown(false);
        Host.reset();
    }
    void AddItems(const QStringList& captions)
    {
        for (const QString& c : captions)
            DD->Items().Add()->SetCaption(c);
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
    TAdvDetailDropDown* DD = nullptr;
    QString Log;
};

TEST_F(DropDownDetail, Defaults)
{
    EXPECT_TRUE(DD->EditorEnabled());
    EXPECT_TRUE(DD->DropDownEnabled());
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->ItemHeight(), 22);
    EXPECT_EQ(DD->Layout(), ilCaptionRight);
    EXPECT_FALSE(DD->MatchCase());
    EXPECT_EQ(DD->KeyTimer()->interval(), 500);
    EXPECT_FALSE(DD->KeyTimer()->isActive());
    ASSERT_NE(DD->ItemSelector(), nullptr);
    EXPECT_EQ(DD->Control(), DD->ItemSelector());
    EXPECT_EQ(DD->ItemSelector()->Items().Count(), 0) << "filled only when the list opens";
}

TEST_F(DropDownDetail, CompletionWhileTyping)
{
    AddItems({"Apple", "Apricot", "Banana"});
    QTest::keyClicks(DD, "a");
    EXPECT_EQ(DD->text(), "apple");
    EXPECT_EQ(DD->selectedText(), "pple");
    EXPECT_EQ(DD->cursorPosition(), 1);
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_FALSE(Log.contains("select")) << "completion does not select through the setter";
    EXPECT_TRUE(DD->IsModified());
    QTest::keyClicks(DD, "pr");
    EXPECT_EQ(DD->text(), "apricot");
    EXPECT_EQ(DD->selectedText(), "icot");
    EXPECT_EQ(DD->ItemIndex(), 1);
    // A character that matches nothing drops everything after the caret.
    QTest::keyClicks(DD, "x");
    EXPECT_EQ(DD->text(), "aprx");
    EXPECT_EQ(DD->selectedText(), "");
    EXPECT_EQ(DD->cursorPosition(), 4);
    EXPECT_EQ(DD->ItemIndex(), 1) << "no match leaves the index";
    // Backspace after a completion deletes the remainder and does not complete again.
    DD->SetEditText("");
    QTest::keyClicks(DD, "b");
    EXPECT_EQ(DD->text(), "banana");
    QTest::keyClick(DD, Qt::Key_Backspace);
    EXPECT_EQ(DD->text(), "b");
    EXPECT_EQ(DD->ItemIndex(), 2);
    // The next typed key completes again.
    QTest::keyClicks(DD, "a");
    EXPECT_EQ(DD->text(), "banana");
    EXPECT_EQ(DD->selectedText(), "nana");
}

TEST_F(DropDownDetail, MatchCaseAndLongCaptions)
{
    AddItems({"Apple", QString("Z") + QString(300, QChar('y'))});
    DD->SetMatchCase(true);
    QTest::keyClicks(DD, "a");
    EXPECT_EQ(DD->text(), "a") << "a lower-case a does not begin Apple when case matters";
    EXPECT_EQ(DD->ItemIndex(), -1);
    DD->SetEditText("");
    QTest::keyClicks(DD, "A");
    EXPECT_EQ(DD->text(), "Apple");
    // The completed tail is at most 255 characters.
    DD->SetMatchCase(false);
    DD->SetEditText("");
    QTest::keyClicks(DD, "z");
    EXPECT_EQ(DD->text(), QString("z") + QString(255, QChar('y')));
    EXPECT_EQ(DD->ItemIndex(), 1);
}

TEST_F(DropDownDetail, ItemIndexAndEnter)
{
    AddItems({"Apple", "Apricot"});
    DD->SetItemIndex(1);
    EXPECT_EQ(DD->text(), "Apricot");
    EXPECT_EQ(DD->selectedText(), "Apricot");
    EXPECT_EQ(Log, "change;select;");
    for (int bad : {2, -2, 7}) {
        Log.clear();
        DD->SetItemIndex(bad);
        EXPECT_EQ(DD->ItemIndex(), 1) << bad;
        EXPECT_EQ(DD->text(), "Apricot");
        EXPECT_EQ(Log, "");
    }
    DD->SetItemIndex(-1);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->text(), "");
    EXPECT_FALSE(Log.contains("select"));

    // Enter with a text equal to a caption selects it (then the change notice); with another
    // case the index stays.
    DD->SetEditText("Apple");
    Log.clear();
    QTest::keyClick(DD, Qt::Key_Return);
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_TRUE(Log.startsWith("select;change;")) << Log.toStdString();
    DD->SetEditText("apricot");
    QTest::keyClick(DD, Qt::Key_Return);
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_EQ(DD->Items().IndexOf("apricot"), -1);
    EXPECT_EQ(DD->Items().IndexOf("Apricot"), 1);
}

TEST_F(DropDownDetail, KeysOpenAndClosed)
{
    AddItems({"One", "Two", "Three", "Four"});
    // Closed: Up and Down step the value.
    QTest::keyClick(DD, Qt::Key_Down);
    EXPECT_EQ(DD->ItemIndex(), 0);
    QTest::keyClick(DD, Qt::Key_Down);
    QTest::keyClick(DD, Qt::Key_Down);
    EXPECT_EQ(DD->ItemIndex(), 2);
    QTest::keyClick(DD, Qt::Key_Up);
    EXPECT_EQ(DD->ItemIndex(), 1);
    // Home and End move nothing while the edit is editable and closed.
    QTest::keyClick(DD, Qt::Key_End);
    EXPECT_EQ(DD->ItemIndex(), 1);

    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvCustomItemSelector* list = DD->ItemSelector();
    EXPECT_EQ(list->Items().Count(), 4);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_TRUE(list->hasFocus()) << "the shown list takes the focus";
    struct Case {
        Qt::Key key;
        int expected;
    };
    const Case cases[] = {
        {Qt::Key_Down, 2}, {Qt::Key_Down, 3}, {Qt::Key_Down, 3}, {Qt::Key_Home, 0}, {Qt::Key_Up, 0},
        {Qt::Key_End, 3},  {Qt::Key_Up, 2},   {Qt::Key_Left, 2}, {Qt::Key_PageUp, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        QTest::keyClick(list, c.key);
        EXPECT_TRUE(DD->DroppedDown()) << "list keys do not close";
        EXPECT_EQ(list->ItemIndex(), c.expected);
        EXPECT_EQ(DD->ItemIndex(), c.expected);
        EXPECT_EQ(DD->text(), DD->Items().Items(c.expected)->Caption());
    }
    // Escape restores the choice the list opened with.
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(DD->text(), "Two");
    // Escape with the list closed goes back to that choice as well.
    QTest::keyClick(DD, Qt::Key_Down);
    EXPECT_EQ(DD->ItemIndex(), 2);
    DD->PerformKeyDown(VK_ESCAPE, {});
    EXPECT_EQ(DD->ItemIndex(), 1);
    // Enter in the open list keeps the choice.
    DD->ShowDropDown();
    QTest::keyClick(DD->ItemSelector(), Qt::Key_Down);
    QTest::keyClick(DD->ItemSelector(), Qt::Key_Return);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(DD->text(), "Three");
}

TEST_F(DropDownDetail, MouseChoiceAndWheel)
{
    AddItems({"One", "Two", "Three"});
    DD->SetItemIndex(0);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvCustomItemSelector* list = DD->ItemSelector();
    // The wheel moves the list's choice without confirming it.
    DD->SelectNextValue();
    EXPECT_TRUE(DD->DroppedDown());
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(DD->ItemIndex(), 1);
    DD->SelectPreviousValue();
    DD->SelectPreviousValue();
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_TRUE(DD->DroppedDown());
    // A click on a row chooses it and closes.
    const TRect r = list->Panel()->GetItemRect(2);
    ASSERT_GE(r.Left, 0);
    QTest::mouseClick(list->Panel(), Qt::LeftButton, Qt::NoModifier,
                      QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(DD->text(), "Three");
    // Closed, the wheel steps the value.
    DD->SelectPreviousValue();
    EXPECT_EQ(DD->ItemIndex(), 1);
}

TEST_F(DropDownDetail, TypeAheadInTheListOnlyMode)
{
    AddItems({"Apple", "Banana", "Blueberry", "Cherry"});
    DD->SetEditorEnabled(false);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvCustomItemSelector* list = DD->ItemSelector();
    QTest::keyClick(list, Qt::Key_B);
    EXPECT_EQ(DD->CurSearch(), "B");
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_TRUE(DD->KeyTimer()->isActive());
    // Shift has no text: it adds nothing, and the search goes on.
    QTest::keyClick(list, Qt::Key_Shift, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_L);
    EXPECT_EQ(DD->CurSearch(), "BL");
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_TRUE(DD->DroppedDown()) << "found rows do not close the list";
    DD->KeyTimerExpired();
    EXPECT_EQ(DD->CurSearch(), "");
    EXPECT_FALSE(DD->KeyTimer()->isActive());
    QTest::keyClick(list, Qt::Key_C);
    EXPECT_EQ(DD->ItemIndex(), 3);
    DD->HideDropDown(false);
    DD->KeyTimerExpired();
    // The editable box does not search: typing completes instead.
    DD->SetEditorEnabled(true);
    DD->SetEditText("");
    QTest::keyClicks(DD, "ba");
    EXPECT_EQ(DD->CurSearch(), "");
    EXPECT_EQ(DD->text(), "banana");
}

TEST_F(DropDownDetail, LooksWithNotes)
{
    const char* notes[] = {"A <b>crisp</b> fruit", "<i>Long</i> and yellow", "Small and <font color=\"clBlue\">blue</font>"};
    const char* captions[] = {"Apple", "Banana", "Blueberry"};
    const TColor colours[] = {clRed, clYellow, clBlue};
    for (int i = 0; i < 3; ++i) {
        TDetailItem* item = DD->Items().Add();
        item->SetCaption(captions[i]);
        item->SetNotes(notes[i]);
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(ToQColor(colours[i]));
        TBitmap bmp(img);
        TPicture pic;
        pic.SetGraphic(&bmp);
        item->SetImage(pic);
    }
    DD->SetItemHeight(36);
    DD->SetItemIndex(1);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QApplication::processEvents();
    Grab("dropdown_detail_open.png");
}

} // namespace

namespace {

// Opens the base's item restyling to the test, to compare a control's appearance against it.
class StyleProbe : public TAdvDetailDropDown {
public:
    using TAdvCustomDropDown::ApplyItemAppearanceStyle;
};

TEST_F(DropDownDetail, StylesReachTheItemAppearance)
{
    StyleProbe probe;
    for (TOrlexStyle style : {tsOffice2003Blue, tsCustom, tsWindowsVista, tsOffice2010Blue}) {
        SCOPED_TRACE(int(style));
        DD->ItemAppearance().ColorHot = 0x123456;
        DD->ItemAppearance().ColorSelected = 0x654321;
        TItemAppearance expected;
        expected.ColorHot = 0x123456;
        expected.ColorSelected = 0x654321;
        probe.ApplyItemAppearanceStyle(&expected, style);
        DD->SetComponentStyle(style);
        EXPECT_EQ(DD->ItemAppearance().ColorHot, expected.ColorHot);
        EXPECT_EQ(DD->ItemAppearance().ColorSelected, expected.ColorSelected);
        EXPECT_EQ(DD->ItemAppearance().ColorSelectedText, expected.ColorSelectedText);
        if (style == tsCustom) {
            EXPECT_EQ(DD->ItemAppearance().ColorHot, 0x123456) << "the custom style keeps the colours";
        }
    }
    DD->SetSelectionColorStyle(scWindows7);
    EXPECT_EQ(DD->ItemSelector()->ItemAppearance().ColorStyle(), scWindows7);
}

TEST_F(DropDownDetail, ClosedPagingDisabledOpeningAndCopies)
{
    AddItems({"One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight"});
    DD->Items().Items(1)->SetNotes("second");
    // Page Down before the list ever opened fills it first, then pages by its visible rows.
    QTest::keyClick(DD, Qt::Key_PageDown);
    const int n = DD->ItemSelector()->GetVisibleItemCount();
    ASSERT_GE(n, 1);
    EXPECT_EQ(DD->ItemSelector()->Items().Count(), 8);
    EXPECT_EQ(DD->ItemIndex(), std::min(7, -1 + n));
    EXPECT_FALSE(DD->DroppedDown());
    // A disabled control does not open, and nothing tries to focus the hidden list.
    DD->setEnabled(false);
    DD->ShowDropDown();
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_FALSE(DD->DropDownForm()->isVisible());
    DD->setEnabled(true);
    // Writing the items copies them, notes included.
    TDetailItems copy;
    copy.Assign(DD->Items());
    ASSERT_EQ(copy.Count(), 8);
    EXPECT_EQ(copy.Items(1)->Caption(), "Two");
    EXPECT_EQ(copy.Items(1)->Notes(), "second");
    EXPECT_EQ(copy.IndexOf("Six"), 5);
}

} // namespace
