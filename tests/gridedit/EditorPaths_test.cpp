// Editor behaviour reached only through the real key and mouse path: the cell following the spin
// and edit-with-button editors while typing, the unit editor's unit change, the keys that end a
// check-box edit, the row check box carrying the selection, the key sender of the drop-down
// editors and an open editor when its window is destroyed.
#include "tests/gridedit/GridFixture.h"

#include "gridedit/GridDropDownEditors.h"
#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using kt_test::GridFixture;
using namespace platform;

namespace {

using Pinned = kt_test::InvariantFormat;

} // namespace

TEST(GridEditorPaths, SpinAndButtonEditorsWriteTheCellWhileTyping)
{
    Pinned pinned;
    GridFixture f(8, 4);
    f.Column(3)->SetEditor(edSpinEdit);
    f.Column(3)->SetSpinMax(1000);
    f.Column(4)->SetEditor(edEditBtn);
    f.Column(5)->SetEditor(edFloatSpinEdit);
    f.Column(6)->SetEditor(edNumericEditBtn);
    f.grid->SetCells(3, 1, "5");
    f.grid->SetCells(4, 1, "ab");
    f.grid->SetCells(6, 1, "12");
    f.grid->SetCells(5, 1, "1.5");
    // The first in-place edit switches the write-through on.
    f.GoTo(2, 1);
    f.Type("x");
    EXPECT_EQ(f.grid->Cells(2, 1), "x");
    f.Key(Qt::Key_Return);

    struct Case {
        int col;
        const char* typed;
        const char* whileTyping;
        const char* before;
    };
    const Case cases[] = {{3, "7", "57", "5"}, {4, "c", "abc", "ab"}, {6, "3", "123", "12"}, {5, "5", "1.55", "1.5"}};
    for (const Case& c : cases) {
        f.GoTo(c.col, 1);
        f.Key(Qt::Key_F2);
        ASSERT_TRUE(f.grid->GetEditMode()) << c.col;
        // The caret to the end of the text (End would set the spin editor to its minimum).
        auto* edit = qobject_cast<QLineEdit*>(f.Focus());
        ASSERT_NE(edit, nullptr) << c.col;
        edit->deselect();
        edit->end(false);
        f.Type(c.typed);
        EXPECT_TRUE(f.grid->GetEditMode()) << c.col;
        EXPECT_EQ(f.grid->Cells(c.col, 1), c.whileTyping) << c.col;
        // Escape gives the cell its old text back.
        f.Key(Qt::Key_Escape);
        EXPECT_FALSE(f.grid->GetEditMode()) << c.col;
        EXPECT_EQ(f.grid->Cells(c.col, 1), c.before) << c.col;
    }
}

TEST(GridEditorPaths, UnitPickedInTheUnitEditorIsReported)
{
    Pinned pinned;
    GridFixture f(6, 4);
    f.Column(2)->SetEditor(edUnitEditBtn);
    f.grid->OnGetEditorProp = [&](QObject*, int, int, TEditLink*) {
        f.grid->BtnUnitEdit()->SetUnits(QStringList{"mm", "cm"});
    };
    std::vector<QString> log;
    f.grid->OnUnitChanged = [&](QObject* s, int c, int r, const QString& u) {
        log.push_back(QString("%1 %2,%3 %4").arg(s == f.grid->BtnUnitEdit() ? "editor" : "other").arg(c).arg(r).arg(u));
    };
    f.grid->SetCells(2, 2, "12mm");
    f.GoTo(2, 2);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.grid->BtnUnitEdit()->isVisible());
    f.Key(Qt::Key_F4);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    f.Pump();
    EXPECT_EQ(f.grid->BtnUnitEdit()->UnitID(), "cm");
    EXPECT_EQ(log, (std::vector<QString>{"editor 2,2 cm"}));
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(2, 2), "12cm");
}

TEST(GridEditorPaths, OnlyItsOwnKeysEndACheckBoxEdit)
{
    GridFixture f(6, 4);
    f.Column(2)->SetEditor(edCheckBox);
    f.grid->SetCells(2, 1, "Caption");
    TGridCheckBox* c = f.grid->CheckEditor();
    for (Qt::Key k : {Qt::Key_Home, Qt::Key_A, Qt::Key_F3, Qt::Key_Insert, Qt::Key_Delete}) {
        f.GoTo(2, 1);
        f.Key(Qt::Key_F2);
        ASSERT_TRUE(c->isVisible());
        f.Key(k);
        EXPECT_TRUE(f.grid->GetEditMode()) << k;
        EXPECT_TRUE(c->isVisible()) << k;
        EXPECT_EQ(f.Focus(), c) << k;
        EXPECT_EQ(f.grid->Col(), 2) << k;
        f.Key(Qt::Key_End);
        EXPECT_FALSE(f.grid->GetEditMode()) << k;
    }
}

TEST(GridEditorPaths, RowCheckBoxCarriesTheRowSelection)
{
    GridFixture f(4, 6);
    f.grid->MouseActions().SetHotmailRowSelect(true);
    f.grid->MouseActions().SetDisjunctRowSelect(true);
    f.grid->SetOptions(f.grid->Options() | goRowSelect);
    // Clicks on the row check boxes select rows 2 and 4.
    f.Click(0, 2);
    f.Click(0, 4);
    ASSERT_TRUE(f.grid->RowSelect(2));
    ASSERT_TRUE(f.grid->RowSelect(4));
    ASSERT_FALSE(f.grid->RowSelect(3));
    EXPECT_TRUE(f.grid->GetCellGraphic(0, 2)->CellBoolean());
    EXPECT_FALSE(f.grid->GetCellGraphic(0, 3)->CellBoolean());
    EXPECT_EQ(f.grid->GetCellGraphic(0, 4)->CellAngle(), 0);
    // The header's box: greyed for some rows, checked for all.
    EXPECT_EQ(f.grid->GetCellGraphic(0, 0)->CellAngle(), 1);
    EXPECT_FALSE(f.grid->GetCellGraphic(0, 0)->CellBoolean());
    for (int r : {1, 3, 5})
        f.Click(0, r);
    EXPECT_EQ(f.grid->GetCellGraphic(0, 0)->CellAngle(), 0);
    EXPECT_TRUE(f.grid->GetCellGraphic(0, 0)->CellBoolean());
}

TEST(GridEditorPaths, DropDownEditorsNameThemselvesAsKeySender)
{
    Pinned pinned;
    GridFixture f(6, 4);
    f.Column(2)->SetEditor(edMemoDropDown);
    f.Column(3)->SetEditor(edTrackbarDropDown);
    std::vector<QObject*> senders;
    f.grid->OnKeyPress = [&](QObject* s, QChar&) { senders.push_back(s); };
    f.GoTo(2, 1);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.grid->GetEditMode());
    QWidget* editor = f.Focus();
    ASSERT_NE(editor, f.grid);
    f.Type("a");
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_EQ(senders[0], editor);
    f.Key(Qt::Key_Escape);
}

namespace {

// Set once a form's own part has gone; handlers that still run afterwards are recorded.
bool FormTornDown = false;
std::vector<QString> LateCalls;

// A window whose own parts go before the window's base part, as a program's form is built.
struct OwnerForm : QDialog {
    ~OwnerForm() override { FormTornDown = true; }
    std::unique_ptr<std::vector<QString>> log = std::make_unique<std::vector<QString>>();
    TZidIzavodUraz* grid;
    OwnerForm()
    {
        resize(520, 320);
        grid = new TZidIzavodUraz(this);
        grid->setGeometry(0, 0, 520, 320);
        grid->Loaded();
        grid->SetColCount(6);
        grid->SetRowCount(4);
        grid->Columns().Items(2)->SetEditor(edComboEdit);
        grid->Columns().Items(2)->ComboItems().Add("one");
        grid->Columns().Items(3)->SetEditor(edSpinEdit);
        grid->Columns().Items(4)->SetEditor(edEditBtn);
        grid->Columns().Items(5)->SetEditor(edNormal);
        // Handlers that use the form's own parts, as a program's handlers do.
        grid->OnEditingDone = [this](QObject*) { Record("done"); };
        grid->OnCellValidate = [this](QObject*, int, int, QString&, bool&) { Record("validate"); };
    }
    void Record(const char* what)
    {
        if (FormTornDown)
            LateCalls.push_back(what);
        else
            log->push_back(what);
    }
};

} // namespace

TEST(GridEditorPaths, DestroyingTheWindowWithAnOpenEditorRunsNoHandlers)
{
    Pinned pinned;
    for (int col : {2, 3, 4, 5}) {
        auto* form = new OwnerForm;
        form->show();
        QApplication::setActiveWindow(form);
        form->activateWindow();
        form->grid->setFocus(Qt::OtherFocusReason);
        GridFixture::Pump();
        form->grid->MoveToCell(col, 1);
        form->grid->Select();
        QTest::keyClick(form->grid, Qt::Key_F2);
        GridFixture::Pump();
        ASSERT_TRUE(form->grid->GetEditMode()) << col;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_1);
        EXPECT_TRUE(form->log->empty()) << col;
        FormTornDown = false;
        LateCalls.clear();
        delete form;
        GridFixture::Pump();
        EXPECT_TRUE(LateCalls.empty()) << col << " " << (LateCalls.empty() ? "" : LateCalls[0].toStdString());
    }
    FormTornDown = false;
}

TEST(GridEditorPaths, EditMasksHoldInTheTextAndMaskEditors)
{
    Pinned pinned;
    struct Case {
        TEditorType editor;
        const char* mask;
        const char* typed;
        const char* cell;
    };
    const Case cases[] = {
        {edMaskEditBtn, "999", "1a2b3456", "123"}, {edNormal, "999", "1a2b3456", "123"},
        {edMaskEditBtn, ">LL", "a1bc", "AB"},      {edMaskEditBtn, "<>Aa;0;*", "x-Y", "xY"},
        {edMaskEditBtn, "00\\-00", "1x234", "12-34"}, {edNormal, "", "1a2", "1a2"},
    };
    for (const Case& c : cases) {
        GridFixture f(5, 4);
        f.Column(2)->SetEditor(c.editor);
        f.Column(2)->SetEditMask(c.mask);
        f.GoTo(2, 1);
        f.Key(Qt::Key_F2);
        ASSERT_TRUE(f.grid->GetEditMode()) << c.mask;
        f.Key(Qt::Key_Home); // F2 leaves the caret after the whole masked text
        f.Type(c.typed);
        f.Key(Qt::Key_Return);
        EXPECT_FALSE(f.grid->GetEditMode()) << c.mask;
        EXPECT_EQ(f.grid->Cells(2, 1), c.cell) << c.mask << " " << c.editor;
    }
}

// The editor opened by F2 puts the caret after the last character of the masked text as shown,
// blanks included.
TEST(GridEditorPaths, F2PutsTheCaretAfterTheWholeMaskedText)
{
    struct Case {
        const char* mask;
        const char* cell;
        int caret;
    } cases[] = {{"00\\-00", "", 5}, {"00\\-00", "12-3", 5}, {"999", "1", 3}, {"", "abc", 3}};
    for (const Case& c : cases) {
        GridFixture f(5, 4);
        f.Column(2)->SetEditMask(c.mask);
        f.grid->SetCells(2, 1, c.cell);
        f.GoTo(2, 1);
        f.Key(Qt::Key_F2);
        ASSERT_TRUE(f.grid->GetEditMode()) << c.mask;
        auto* edit = qobject_cast<QLineEdit*>(GridFixture::Focus());
        ASSERT_NE(edit, nullptr) << c.mask;
        EXPECT_EQ(edit->cursorPosition(), c.caret) << c.mask << " " << c.cell;
    }
}

TEST(GridEditorPaths, CellSizeFollowsTheTextWhileTyping)
{
    GridFixture f(5, 4);
    f.grid->SetColWidths(2, 30);
    f.grid->SizeWhileTyping().SetWidth(true);
    f.GoTo(2, 1);
    f.Type("a fairly long text");
    EXPECT_TRUE(f.grid->GetEditMode());
    const int grown = f.grid->ColWidths(2);
    EXPECT_GT(grown, 60);
    // Only growing: a shorter text leaves the width.
    f.Key(Qt::Key_Backspace);
    EXPECT_EQ(f.grid->ColWidths(2), grown);
    f.Key(Qt::Key_Return);

    // Ctrl+Enter makes room for a new line in a multi-line cell.
    std::vector<int> sized;
    f.grid->OnEndRowSize = [&](QObject*, int r) { sized.push_back(r); };
    f.grid->SetMultilinecells(true);
    f.grid->SizeWhileTyping().SetHeight(true);
    f.grid->Navigation().SetAllowCtrlEnter(true);
    // The row as high as one line of text.
    f.grid->SizeRowToLines(2, 1, f.grid->XYOffset().Y);
    const int before = f.grid->RowHeights(2);
    f.GoTo(3, 2);
    f.Type("x");
    f.Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_GT(f.grid->RowHeights(2), before);
    ASSERT_FALSE(sized.empty());
    EXPECT_EQ(sized.back(), 2);
}
