// Editing a column grid as a user does: typing, Enter, Escape and F2 on text, combo-list and
// combo-edit columns, with hidden columns before them; the events and their arguments.
#include "tests/gridedit/GridFixture.h"

#include "grid/GridFocusWindow.h"
#include "grid/UndoRedo.h"
#include "tests/TestSupport.h"

#include <QAbstractItemView>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <gtest/gtest.h>
#include <vector>

using kt_test::GridFixture;

namespace {

struct Recorder {
    std::vector<QString> log;
    void Attach(TZidIzavodUraz* g)
    {
        g->OnEditingDone = [this](QObject*) { log.push_back("done"); };
        g->OnEditCellDone = [this](QObject*, int c, int r) { log.push_back(QString("celldone %1,%2").arg(c).arg(r)); };
        g->OnComboChange = [this](QObject*, int c, int r, int i, const QString& s) {
            log.push_back(QString("combo %1,%2 %3 %4").arg(c).arg(r).arg(i).arg(s));
        };
    }
};

} // namespace

TEST(GridEdit, TypingEnterAndEscapeOnATextColumn)
{
    GridFixture f;
    Recorder rec;
    rec.Attach(f.grid);
    f.grid->SetCells(2, 1, "old");
    f.GoTo(2, 1);
    ASSERT_TRUE(f.grid->Options() & goEditing); // an editable column switches editing on

    f.Type("ab");
    ASSERT_TRUE(f.grid->GetEditMode());
    ASSERT_NE(f.grid->NormalEdit(), nullptr);
    EXPECT_EQ(f.grid->NormalEdit()->text(), "ab"); // the first key replaces the text
    f.Key(Qt::Key_Return);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(2, 1), "ab");
    EXPECT_EQ(rec.log, (std::vector<QString>{"done", "celldone 2,1"}));

    // Escape puts back the text the cell had when the edit began, though typing wrote through.
    rec.log.clear();
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.grid->GetEditMode());
    f.Type("cd");
    EXPECT_EQ(f.grid->Cells(2, 1), "abcd");
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(2, 1), "ab");
    EXPECT_EQ(rec.log, (std::vector<QString>{"done", "celldone 2,1"}));
}

// Combo columns behind a hidden column: the editor offers the column's items, events carry the
// real column, and the value reaches the cell only when the edit ends.
TEST(GridEdit, ComboListAndComboEditColumns)
{
    GridFixture f(6, 4);
    Recorder rec;
    rec.Attach(f.grid);
    for (int c : {3, 4}) {
        f.Column(c)->SetEditor(c == 3 ? edComboList : edComboEdit);
        for (const char* s : {"S7200", "S7300", "S7400"})
            f.Column(c)->ComboItems().Add(s);
    }
    f.grid->SetCells(3, 1, "S7300");
    f.grid->SetCells(4, 1, "S7400");
    f.grid->HideColumn(1); // real columns 3 and 4 show at 2 and 3
    f.GoTo(2, 1);

    f.Key(Qt::Key_F2);
    TGridCombo* cb = f.grid->Combobox();
    ASSERT_TRUE(f.grid->GetEditMode());
    ASSERT_TRUE(cb->isVisible());
    EXPECT_EQ(cb->Items.Count(), 3);
    EXPECT_EQ(cb->Text(), "S7300");
    EXPECT_TRUE(rec.log.empty()); // the cell's text is an item: no event
    f.Key(Qt::Key_Down);          // list style: the next item, the editor stays open
    EXPECT_TRUE(cb->isVisible());
    EXPECT_EQ(f.grid->Cells(3, 1), "S7300"); // not yet in the cell
    f.Key(Qt::Key_Return);
    EXPECT_FALSE(cb->isVisible());
    EXPECT_EQ(f.grid->Cells(3, 1), "S7400");
    EXPECT_EQ(rec.log, (std::vector<QString>{"combo 3,1 2 S7400", "done", "celldone 3,1"}));

    // Free text in the edit-style column.
    rec.log.clear();
    f.GoTo(3, 1);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(cb->isVisible());
    ASSERT_TRUE(cb->isEditable());
    cb->lineEdit()->selectAll();
    f.Type("x");
    // Typing is reported twice: with the real column, then with the displayed one.
    EXPECT_EQ(rec.log, (std::vector<QString>{"combo 4,1 -1 x", "combo 3,1 -1 x"}));
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(4, 1), "x");
}

TEST(GridEdit, ComboListCellOffTheList)
{
    GridFixture f;
    Recorder rec;
    rec.Attach(f.grid);
    f.Column(2)->SetEditor(edComboList);
    f.Column(2)->ComboItems().Add("A");
    f.Column(2)->ComboItems().Add("B");
    f.grid->SetCells(2, 1, "B");
    f.grid->SetCells(2, 2, "zz");
    f.GoTo(2, 2);
    f.Key(Qt::Key_F2);
    // The first item is chosen and the handler is told so before the user does anything.
    EXPECT_EQ(f.grid->Combobox()->Text(), "A");
    ASSERT_FALSE(rec.log.empty());
    EXPECT_EQ(rec.log.front(), "combo 2,2 0 A");
    // Escape keeps what the cell held, though the list does not offer it.
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(2, 2), "zz");
    EXPECT_EQ(f.grid->Cells(2, 1), "B");
}

TEST(GridEdit, ValidationRefusalKeepsTheEditorOpenAndTheOldTextRestorable)
{
    GridFixture f;
    f.grid->SetCells(1, 1, "10");
    int calls = 0;
    f.grid->OnCellValidate = [&](QObject*, int c, int r, QString& v, bool& valid) {
        ++calls;
        EXPECT_EQ(c, 1);
        EXPECT_EQ(r, 1);
        valid = !v.contains("bad");
    };
    f.GoTo(1, 1);
    f.Type("bad");
    f.Key(Qt::Key_Return);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(f.grid->LastValidation());
    ASSERT_TRUE(f.grid->NormalEdit()->isVisible());
    EXPECT_EQ(f.grid->NormalEdit()->text(), "10") << "the editor reopens on the restored value";
    EXPECT_EQ(f.grid->Cells(1, 1), "10");
    // Leaving the row with Down: refused the same way, the editor reopens on the old value in
    // the same cell.
    f.Type("bad");
    f.Key(Qt::Key_Down);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(f.grid->Row(), 1);
    ASSERT_TRUE(f.grid->NormalEdit()->isVisible());
    EXPECT_EQ(f.grid->NormalEdit()->text(), "10");
    EXPECT_EQ(f.grid->Cells(1, 1), "10");
    f.Key(Qt::Key_Escape);
    EXPECT_EQ(f.grid->Cells(1, 1), "10");
    EXPECT_FALSE(f.grid->NormalEdit()->isVisible());

    // An unchanged text is not validated.
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(calls, 2);
    f.Type("12");
    f.Key(Qt::Key_Return);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(f.grid->Cells(1, 1), "12");
    EXPECT_TRUE(f.grid->Modified());
}

// The balloon names the editor the refused value was typed into.
TEST(GridEdit, RefusedValueShowsTheInvalidEntryBalloonAtTheEditor)
{
    GridFixture f;
    f.grid->OnCellValidate = [](QObject*, int, int, QString&, bool& valid) { valid = false; };
    f.GoTo(1, 1);
    f.Type("x");
    f.Key(Qt::Key_Return);
    EXPECT_FALSE(f.grid->LastInvalidEntryBalloon().Shown) << "no balloon without a title or text";

    f.grid->SetInvalidEntryTitle("Wrong value");
    f.grid->SetInvalidEntryText("Type a number");
    f.grid->SetInvalidEntryIcon(ieError);
    f.Type("y");
    f.Key(Qt::Key_Return);
    const TInvalidEntryBalloon& b = f.grid->LastInvalidEntryBalloon();
    ASSERT_TRUE(b.Shown);
    EXPECT_EQ(b.Title, "Wrong value");
    EXPECT_EQ(b.Text, "Type a number");
    EXPECT_EQ(b.Icon, ieError);
    EXPECT_EQ(b.At.data(), f.grid->NormalEdit());
    f.Key(Qt::Key_Escape);
}

// An edit that is stored is one undo step, recorded at the real column; an undo brings back
// the text from before the edit.
TEST(GridEdit, StoredEditsAreUndoable)
{
    GridFixture f;
    RUvaVoviVareReda undo;
    f.grid->SetUndoRedo(&undo);
    EXPECT_EQ(undo.Grid(), f.grid);
    f.grid->SetCells(2, 1, "10");
    f.grid->HideColumn(1); // displayed column 1 shows real column 2
    f.grid->OnCellValidate = [](QObject*, int, int, QString& v, bool& valid) { valid = !v.contains("bad"); };
    f.GoTo(1, 1);
    f.Type("12");
    f.Key(Qt::Key_Return);
    ASSERT_EQ(f.grid->Cells(2, 1), "12");
    ASSERT_EQ(undo.Items().Count(), 1);
    EXPECT_EQ(undo.Items().Item(0)->Col(), 2);
    EXPECT_EQ(undo.Items().Item(0)->OrigValue(), "10");
    EXPECT_EQ(undo.Items().Item(0)->Value(), "12");
    undo.Undo();
    EXPECT_EQ(f.grid->Cells(2, 1), "10");
    undo.Redo();
    EXPECT_EQ(f.grid->Cells(2, 1), "12");

    // A refused value and an unchanged text add nothing.
    f.Key(Qt::Key_F2);
    f.Type("bad");
    f.Key(Qt::Key_Return);
    f.Key(Qt::Key_Escape);
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(2, 1), "12");
    EXPECT_EQ(undo.Items().Count(), 1);
}

// With the focus helper on, the frame rings the cell while it is edited and goes with the edit.
TEST(GridEdit, FocusFrameFollowsTheEdit)
{
    GridFixture f;
    f.GoTo(1, 1);
    f.Type("a");
    f.Key(Qt::Key_Return);
    EXPECT_EQ(TVerIvovavOzed::ActiveFocusFrameGrid(), nullptr) << "off by default";

    f.grid->FocusHelper().SetEnabled(true);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.grid->GetEditMode());
    EXPECT_EQ(TVerIvovavOzed::ActiveFocusFrameGrid(), f.grid);
    ASSERT_NE(f.grid->FocusWindow(), nullptr);
    EXPECT_TRUE(f.grid->FocusWindow()->isVisible());
    f.Type("b");
    f.Key(Qt::Key_Return);
    EXPECT_EQ(TVerIvovavOzed::ActiveFocusFrameGrid(), nullptr);
    EXPECT_FALSE(f.grid->FocusWindow()->isVisible());

    // A cancelled edit takes the frame away as well.
    f.Key(Qt::Key_F2);
    EXPECT_EQ(TVerIvovavOzed::ActiveFocusFrameGrid(), f.grid);
    f.Type("c");
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(TVerIvovavOzed::ActiveFocusFrameGrid(), nullptr);
}

// Cells that are never edited: read-only columns, edNone, data check boxes.
TEST(GridEdit, CellsWithoutEditor)
{
    GridFixture f;
    f.Column(2)->SetReadOnly(true);
    f.Column(3)->SetEditor(edDataCheckBox);
    f.grid->OnGetEditorType = [](QObject*, int c, int, TEditorType& e) {
        if (c == 4)
            e = edNone;
    };
    f.GoTo(1, 1);
    EXPECT_TRUE(f.grid->Options() & goEditing);
    for (int c : {2, 3, 4}) {
        f.GoTo(c, 1);
        // The read-only column switches editing off; the others keep it.
        EXPECT_EQ(bool(f.grid->Options() & goEditing), c != 2) << c;
        f.grid->SetCells(c, 1, "N");
        f.Type("q");
        EXPECT_FALSE(f.grid->GetEditMode()) << c;
        EXPECT_FALSE(f.grid->NormalEdit() && f.grid->NormalEdit()->isVisible()) << c;
        EXPECT_EQ(f.grid->Cells(c, 1), "N") << c;
    }
    f.GoTo(2, 2);
    EXPECT_FALSE(f.grid->Options() & goEditing);
    f.GoTo(1, 2);
    EXPECT_TRUE(f.grid->Options() & goEditing);
}

// The typing rules of the text editor types; a length limit of 0 means no limit.
TEST(GridEdit, TypingRulesPerEditorType)
{
    struct Case {
        TEditorType type;
        int limit;
        QString typed;
        QString expected;
    } cases[] = {
        {edNormal, 0, "aB-1", "aB-1"},
        {edNormal, 3, "abcd", "abc"},
        {edNumeric, 0, "-1a-2", "-12"},
        {edPositiveNumeric, 0, "-1a2", "12"},
        {edUpperCase, 0, "abC", "ABC"},
        {edCapital, 0, "ab", "AB"},
        {edLowerCase, 0, "AbC", "abc"},
        {edValidChars, 0, "abcab", "abab"},
    };
    for (const Case& c : cases) {
        GridFixture f;
        f.grid->SetValidChars("ab");
        f.Column(1)->SetEditLength(c.limit);
        const TEditorType t = c.type;
        f.grid->OnGetEditorType = [t](QObject*, int, int, TEditorType& e) { e = t; };
        f.GoTo(1, 1);
        f.Type(c.typed);
        f.Key(Qt::Key_Return);
        EXPECT_EQ(f.grid->Cells(1, 1), c.expected) << int(c.type) << " " << c.typed.toStdString();
    }
}

TEST(GridEdit, UpdateLockCountsNestedCalls)
{
    GridFixture f;
    f.grid->BeginUpdate();
    f.grid->BeginUpdate();
    EXPECT_TRUE(f.grid->LockUpdate());
    f.grid->EndUpdate();
    EXPECT_TRUE(f.grid->LockUpdate());
    f.grid->EndUpdate();
    EXPECT_FALSE(f.grid->LockUpdate());
    f.grid->EndUpdate(); // unmatched: stays at 0
    EXPECT_EQ(f.grid->UpdateCount(), 0);
    // A hidden grid counts as well, so that its brackets match.
    f.window.hide();
    f.grid->BeginUpdate();
    EXPECT_EQ(f.grid->UpdateCount(), 1);
    f.grid->EndUpdate();
    EXPECT_EQ(f.grid->UpdateCount(), 0);
}

// What a user sees: the combo editor over its cell with its list dropped down.
TEST(GridEdit, ComboDroppedDownGrab)
{
    GridFixture f(4, 6);
    f.Column(2)->SetEditor(edComboList);
    for (const char* s : {"Logo0BA8", "S7200", "S7300", "S7400", "S71200", "S71500"})
        f.Column(2)->ComboItems().Add(s);
    for (int r = 1; r < 6; ++r) {
        f.grid->SetCells(1, r, QString("Row %1").arg(r));
        f.grid->SetCells(2, r, "S7300");
    }
    f.GoTo(2, 2);
    f.Key(Qt::Key_F2);
    TGridCombo* cb = f.grid->Combobox();
    ASSERT_TRUE(cb->isVisible());
    // The list takes the keyboard focus when it opens; that must not end the edit.
    cb->SetDroppedDown(true);
    QApplication::processEvents();
    QWidget* popup = cb->view()->window();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_TRUE(cb->isVisible());
    EXPECT_TRUE(f.grid->GetEditMode());
    const QPoint origin = f.grid->viewport()->mapTo(&f.window, QPoint());
    EXPECT_EQ(cb->geometry().topLeft() + origin, ToQRect(f.grid->CellRect(2, 2)).topLeft() + origin);

    QImage shot(f.window.size(), QImage::Format_ARGB32);
    shot.fill(Qt::white);
    {
        QPainter p(&shot);
        p.drawPixmap(0, 0, f.window.grab());
        p.drawPixmap(f.window.mapFromGlobal(popup->mapToGlobal(QPoint())), popup->grab());
    }
    EXPECT_TRUE(shot.save(kt_test::GrabPath("grid_combo.png")));
    cb->SetDroppedDown(false);
    f.Key(Qt::Key_Escape);
    EXPECT_EQ(f.grid->Cells(2, 2), "S7300");
}
