// The grid's spin, button, edit-with-button and date editors, driven as a user drives them on a
// column grid with one column per editor type after a hidden column.
#include "tests/gridedit/GridFixture.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"
#include "tests/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <vector>

using kt_test::GridFixture;
using namespace platform;

namespace {

using Pinned = kt_test::PinnedClock;

// Spin editors in real columns 2 to 5.
struct EditorGrid : kt_test::LoggedEditorGrid {
    EditorGrid() : LoggedEditorGrid(9, {edSpinEdit, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit})
    {
        // The column grid hands each column's spin limits to the spin editor.
        for (int c = 2; c <= 5; ++c)
            Column(c)->SetSpinMax(100);
        grid->OnSpinClick = [this](QObject*, int c, int r, int v, bool up) {
            log.push_back(QString("spin %1,%2 %3 %4").arg(c).arg(r).arg(v).arg(up ? "up" : "down"));
        };
        grid->OnFloatSpinClick = [this](QObject*, int c, int r, double v, bool up) {
            log.push_back(QString("floatspin %1,%2 %3 %4").arg(c).arg(r).arg(v).arg(up ? "up" : "down"));
        };
    }
    TGridSpin* Spin() { return grid->SpinEdit(); }
};

} // namespace

TEST(GridSpinEditor, OneControlHiddenAndDisabledUntilUsed)
{
    GridFixture f;
    TGridSpin* s = f.grid->SpinEdit();
    EXPECT_EQ(s, f.grid->SpinEdit());
    EXPECT_FALSE(s->isVisible());
    EXPECT_FALSE(s->isEnabled());
    EXPECT_EQ(s->MinValue(), 0);
    EXPECT_EQ(s->MaxValue(), 100);
    EXPECT_EQ(s->Increment(), 1);
}

TEST(GridSpinEditor, IntegerSpinStartsAndEnds)
{
    Pinned pinned;
    EditorGrid f;
    f.grid->SetCells(2, 1, "12abc");
    f.GoTo(1, 1);

    // F2 opens the editor on the number the text starts with; Escape gives the cell back as it was.
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.grid->GetEditMode());
    ASSERT_TRUE(f.Spin()->isVisible());
    EXPECT_EQ(f.Focus(), f.Spin());
    EXPECT_EQ(f.Spin()->Value(), 12);
    EXPECT_EQ(f.grid->EditCtrlWidget(), f.Spin());
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_FALSE(f.Spin()->isVisible());
    EXPECT_FALSE(f.Spin()->isEnabled());
    EXPECT_EQ(f.grid->Cells(2, 1), "12abc");

    // Escape after stepping also gives the start value back.
    f.grid->SetCells(2, 1, "40");
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_PageUp);
    f.Key(Qt::Key_PageUp);
    EXPECT_EQ(f.Spin()->Value(), 42);
    f.Key(Qt::Key_Escape);
    EXPECT_EQ(f.grid->Cells(2, 1), "40");

    // A typed digit starts the edit and arrives in the editor; Enter writes the value.
    f.log.clear();
    f.Type("7");
    ASSERT_TRUE(f.Spin()->isVisible());
    EXPECT_EQ(f.Spin()->text(), "7");
    f.Key(Qt::Key_Return);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(2, 1), "7");
    EXPECT_EQ(f.log, (std::vector<QString>{"done", "celldone 2,1"}));

    // Down ends the edit with the value and moves down; the grid has the focus again.
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_PageUp);
    f.Key(Qt::Key_Down);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(2, 1), "8");
    EXPECT_EQ(f.grid->Row(), 2);
    EXPECT_EQ(f.Focus(), f.grid);

    // A click on the current cell opens it as well.
    f.Click(1, 2);
    f.Click(1, 2);
    EXPECT_TRUE(f.Spin()->isVisible());
    f.Key(Qt::Key_Escape);
}

TEST(GridSpinEditor, ValueKeys)
{
    Pinned pinned;
    struct Case {
        const char* start;
        Qt::Key key;
        int value;
        const char* event;
    } cases[] = {
        {"100", Qt::Key_PageUp, 100, "spin 1,1 100 up"},  // at the maximum nothing changes
        {"50", Qt::Key_PageUp, 51, "spin 1,1 51 up"},     // one step per key
        {"0", Qt::Key_PageDown, 0, "spin 1,1 0 down"},
        {"50", Qt::Key_PageDown, 49, "spin 1,1 49 down"},
        {"50", Qt::Key_Home, 100, "spin 1,1 100 up"},     // Home the maximum
        {"50", Qt::Key_End, 0, "spin 1,1 0 down"},        // End the minimum
    };
    for (const Case& c : cases) {
        EditorGrid f;
        f.Open_Cell(2, 1, c.start);
        f.log.clear();
        f.Key(c.key);
        EXPECT_EQ(f.Spin()->Value(), c.value) << c.start << " " << c.key;
        EXPECT_EQ(f.log, (std::vector<QString>{c.event})) << c.start << " " << c.key;
        EXPECT_TRUE(f.grid->GetEditMode());
        f.Key(Qt::Key_Return);
        EXPECT_EQ(f.grid->Cells(2, 1), QString::number(c.value));
    }
}

TEST(GridSpinEditor, SpinButtonsStepAndReport)
{
    Pinned pinned;
    EditorGrid f;
    f.grid->SetCells(2, 1, "5");
    f.grid->SetCells(3, 1, "1.5");
    f.GoTo(1, 1);
    f.Key(Qt::Key_F2);
    f.log.clear();
    TAsgSpinButton* b = f.Spin()->Button();
    QTest::mouseClick(b->UpButton(), Qt::LeftButton);
    QTest::mouseClick(b->DownButton(), Qt::LeftButton);
    QTest::mouseClick(b->DownButton(), Qt::LeftButton);
    EXPECT_EQ(f.log, (std::vector<QString>{"spin 1,1 6 up", "spin 1,1 5 down", "spin 1,1 4 down"}));
    EXPECT_TRUE(f.grid->GetEditMode()); // a press on the buttons keeps the edit
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(2, 1), "4");

    // The float spin reports its own event; the value is written in the cell's float format.
    f.GoTo(2, 1);
    f.Key(Qt::Key_F2);
    EXPECT_DOUBLE_EQ(f.Spin()->FloatValue(), 1.5);
    f.log.clear();
    QTest::mouseClick(b->UpButton(), Qt::LeftButton);
    EXPECT_EQ(f.log, (std::vector<QString>{"floatspin 2,1 1.6 up"}));
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(3, 1), "1.60");
}

TEST(GridSpinEditor, StartValuesPerType)
{
    Pinned pinned;
    struct Case {
        int realCol;
        const char* start;
        const char* written; // after F2 and Enter
    } cases[] = {
        {2, "", "0"},
        {2, "17x", "17"},
        {2, "-7", "0"}, // held to the editor's minimum
        {2, "abc", "0"},
        {3, "1,5", "15.00"}, // thousand separators are dropped before the conversion
        {3, "3.25kg", "3.25"},
        {4, "9:05", "9:05:00"},
        {5, "3/4/2024", "3/4/2024"},
        {5, "", "6/7/2025"},       // empty: today
        {5, "not a date", "6/7/2025"},
    };
    for (const Case& c : cases) {
        EditorGrid f;
        f.Open_Cell(c.realCol, 1, c.start);
        ASSERT_TRUE(f.Spin()->isVisible()) << c.start;
        f.Key(Qt::Key_Return);
        EXPECT_EQ(f.grid->Cells(c.realCol, 1), c.written) << c.realCol << " " << c.start;
    }
}

TEST(GridSpinEditor, EscapeOnEveryTypeKeepsTheCell)
{
    Pinned pinned;
    for (const auto& [col, text] : std::vector<std::pair<int, QString>>{
             {2, "12abc"}, {3, "1.5"}, {4, "7:00"}, {5, "x"}}) {
        EditorGrid f;
        f.Open_Cell(col, 1, text);
        f.Key(Qt::Key_PageDown);
        f.log.clear();
        f.Key(Qt::Key_Escape);
        EXPECT_FALSE(f.grid->GetEditMode()) << col;
        EXPECT_EQ(f.grid->Cells(col, 1), text) << col;
        EXPECT_EQ(f.log, (std::vector<QString>{"done", QString("celldone %1,1").arg(col)})) << col;
    }
}

TEST(GridSpinEditor, RefusedValidationKeepsTheEditorOpen)
{
    Pinned pinned;
    EditorGrid f;
    f.grid->SetCells(2, 1, "12");
    int calls = 0;
    f.grid->OnCellValidate = [&](QObject*, int c, int r, QString& v, bool& valid) {
        ++calls;
        EXPECT_EQ(c, 2);
        EXPECT_EQ(r, 1);
        valid = v != "13";
    };
    f.GoTo(1, 1);
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_PageUp);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(f.grid->GetEditMode());
    EXPECT_TRUE(f.Spin()->isVisible());
    EXPECT_EQ(f.Focus(), f.Spin());
    EXPECT_EQ(f.Spin()->text(), "12"); // the cell's value is shown again
    f.Key(Qt::Key_PageUp);
    f.Key(Qt::Key_PageUp);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(2, 1), "14");
}

TEST(GridSpinEditor, TabWithAndWithoutGridTabs)
{
    Pinned pinned;
    {
        EditorGrid f;
        f.grid->SetOptions(f.grid->Options() | goTabs);
        f.Open_Cell(2, 1, "3");
        f.Key(Qt::Key_PageUp);
        f.Key(Qt::Key_Tab);
        EXPECT_EQ(f.grid->Cells(2, 1), "4");
        EXPECT_EQ(f.grid->Col(), 2); // the grid's Tab move, which opens the next cell's editor
        EXPECT_EQ(f.grid->Row(), 1);
        EXPECT_EQ(f.grid->GetEditControl(), edFloatSpinEdit);
        EXPECT_EQ(f.Spin()->SpinType(), sptFloat);
        f.Key(Qt::Key_Tab, Qt::ShiftModifier); // and back
        EXPECT_EQ(f.grid->Col(), 1);
        EXPECT_EQ(f.grid->Cells(3, 1), "0.00");
        f.Key(Qt::Key_Escape);
    }
    {
        // Not claimed: the focus moves on as in any window, which ends the edit with the value.
        EditorGrid f;
        QLineEdit other(&f.window);
        other.setGeometry(0, 300, 50, 20);
        other.show();
        f.grid->SetOptions(f.grid->Options() & ~TGridOptions(goTabs));
        f.Open_Cell(2, 1, "3");
        f.Key(Qt::Key_PageUp);
        f.Key(Qt::Key_Tab);
        EXPECT_FALSE(f.grid->GetEditMode());
        EXPECT_NE(f.Focus(), f.Spin());
        EXPECT_FALSE(f.Spin()->isVisible());
        EXPECT_EQ(f.grid->Cells(2, 1), "4");
        EXPECT_EQ(f.grid->Col(), 1);
    }
}

TEST(GridSpinEditor, ColumnLimitsReachTheEditor)
{
    Pinned pinned;
    EditorGrid f;
    f.Column(2)->SetSpinMin(1);
    f.Column(2)->SetSpinMax(5);
    f.Column(2)->SetSpinStep(2);
    f.Open_Cell(2, 1, "4");
    f.Key(Qt::Key_PageUp); // 6 would pass the maximum
    EXPECT_EQ(f.Spin()->Value(), 4);
    f.Key(Qt::Key_PageDown);
    EXPECT_EQ(f.Spin()->Value(), 2);
    f.Key(Qt::Key_Home);
    EXPECT_EQ(f.Spin()->Value(), 5);
    f.Key(Qt::Key_Escape);
}

TEST(GridSpinEditor, EditChangeReportsTheText)
{
    Pinned pinned;
    EditorGrid f;
    std::vector<QString> seen;
    f.grid->OnEditChange = [&](QObject*, int c, int r, const QString& v) {
        seen.push_back(QString("%1,%2 %3").arg(c).arg(r).arg(v));
    };
    f.Open_Cell(2, 1, "1");
    seen.clear();
    f.Key(Qt::Key_PageUp);
    EXPECT_EQ(seen, (std::vector<QString>{"1,1 2"}));
    f.Key(Qt::Key_Escape);
}

TEST(GridSpinEditor, Grab)
{
    Pinned pinned;
    EditorGrid f;
    for (int r = 1; r < 5; ++r)
        f.grid->SetCells(2, r, QString::number(r * 10));
    f.GoTo(1, 2);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.Spin()->isVisible());
    EXPECT_EQ(f.Spin()->geometry().topLeft(), ToQRect(f.grid->CellRect(1, 2)).topLeft());
    EXPECT_TRUE(f.window.grab().toImage().save(kt_test::GrabPath("grid_spin_editor.png")));
    f.Key(Qt::Key_Escape);
}

// Real column 6 (displayed 5) edits with the button.
TEST(GridButtonEditor, PressWritesTheEllipsisAnswer)
{
    Pinned pinned;
    EditorGrid f;
    f.Column(6)->SetEditor(edButton);
    f.grid->SetCells(6, 1, "Pick");
    std::vector<QString> asked;
    f.grid->OnEllipsClick = [&](QObject* sender, int c, int r, QString& s) {
        EXPECT_EQ(sender, f.grid);
        asked.push_back(QString("%1,%2 %3").arg(c).arg(r).arg(s));
        s = s + "+";
    };
    TGridButton* b = f.grid->Btn();
    EXPECT_EQ(b, f.grid->Btn());
    EXPECT_FALSE(b->isVisible());
    EXPECT_FALSE(b->isEnabled());

    f.GoTo(5, 1);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(b->isVisible());
    EXPECT_EQ(f.Focus(), b);
    EXPECT_EQ(b->Text(), "Pick");
    // One pixel outside the cell on every side.
    const QRect cell = ToQRect(f.grid->CellRect(5, 1));
    EXPECT_EQ(b->geometry(), QRect(cell.left() - 1, cell.top() - 1, cell.width() + 1, cell.height() + 1));
    EXPECT_TRUE(f.window.grab().toImage().save(kt_test::GrabPath("grid_button_editor.png")));

    QTest::mouseClick(b, Qt::LeftButton);
    f.Pump();
    QTest::keyClick(b, Qt::Key_Space);
    f.Pump();
    EXPECT_EQ(asked, (std::vector<QString>{"6,1 Pick", "6,1 Pick+"}));
    EXPECT_EQ(b->Text(), "Pick++");
    EXPECT_EQ(f.grid->Cells(6, 1), "Pick++");
    EXPECT_TRUE(b->isVisible());

    // An arrow key moves the grid and leaves the button hidden and disabled.
    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.grid->Row(), 2);
    EXPECT_FALSE(b->isVisible());
    EXPECT_FALSE(b->isEnabled());
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.Focus(), f.grid);
    EXPECT_EQ(f.grid->Cells(6, 1), "Pick++"); // nothing written by the editor's end
}

TEST(GridButtonEditor, EscapeRestoresTheCell)
{
    Pinned pinned;
    EditorGrid f;
    f.Column(6)->SetEditor(edButton);
    f.grid->SetCells(6, 1, "Pick");
    f.grid->OnEllipsClick = [](QObject*, int, int, QString& s) { s = "chosen"; };
    f.GoTo(5, 1);
    f.Key(Qt::Key_F2);
    QTest::mouseClick(f.grid->Btn(), Qt::LeftButton);
    f.Pump();
    EXPECT_EQ(f.grid->Cells(6, 1), "chosen");
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.grid->Btn()->isVisible());
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(6, 1), "Pick");
    EXPECT_EQ(f.grid->Row(), 1);
}

// Real columns 6, 7 and 8 (displayed 5, 6, 7) edit with the edit-with-button editor.
struct EditBtnGrid : EditorGrid {
    std::vector<QString> asked;
    EditBtnGrid()
    {
        Column(6)->SetEditor(edEditBtn);
        Column(7)->SetEditor(edNumericEditBtn);
        Column(8)->SetEditor(edFloatEditBtn);
        grid->OnEllipsClick = [this](QObject*, int c, int r, QString& s) {
            asked.push_back(QString("%1,%2 %3").arg(c).arg(r).arg(s));
            s = "from list";
        };
    }
    TGridEditBtn* Edit() { return grid->BtnEdit(); }
};

TEST(GridEditBtnEditor, TypeClickAndEnd)
{
    Pinned pinned;
    EditBtnGrid f;
    f.grid->SetCells(6, 1, "old");
    EXPECT_FALSE(f.Edit()->isVisible());
    EXPECT_FALSE(f.Edit()->isEnabled());
    f.GoTo(5, 1);
    f.Type("n");
    ASSERT_TRUE(f.Edit()->isVisible());
    EXPECT_EQ(f.Focus(), f.Edit());
    f.Type("ew");
    EXPECT_EQ(f.Edit()->Text(), "new");
    f.Key(Qt::Key_Return);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_FALSE(f.Edit()->isVisible());
    EXPECT_EQ(f.grid->Cells(6, 1), "new");
    EXPECT_EQ(f.log, (std::vector<QString>{"done", "celldone 6,1"}));

    // The button's answer is selected in the editor, which stays open; Escape gives the start back.
    f.GoTo(5, 1);
    f.Key(Qt::Key_F2);
    QTest::mouseClick(f.Edit()->Button()->Button(), Qt::LeftButton);
    f.Pump();
    EXPECT_EQ(f.asked, (std::vector<QString>{"6,1 new"}));
    EXPECT_EQ(f.Edit()->Text(), "from list");
    EXPECT_EQ(f.Edit()->selectedText(), "from list");
    EXPECT_TRUE(f.grid->GetEditMode());
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(6, 1), "new");

    // With StopEditAfterClick the answer ends the edit.
    f.Edit()->SetStopEditAfterClick(true);
    f.Key(Qt::Key_F2);
    QTest::mouseClick(f.Edit()->Button()->Button(), Qt::LeftButton);
    f.Pump();
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_FALSE(f.Edit()->isVisible());
    EXPECT_EQ(f.grid->Cells(6, 1), "from list");
    EXPECT_EQ(f.Focus(), f.grid);
}

TEST(GridEditBtnEditor, NumericAndFloatTyping)
{
    Pinned pinned;
    EditBtnGrid f;
    f.GoTo(6, 1);
    f.Type("-");
    ASSERT_TRUE(f.Edit()->isVisible());
    f.Type("12a-3");
    EXPECT_EQ(f.Edit()->Text(), "-123");
    EXPECT_EQ(pinned.services.Beeps, 2); // the letter and the second "-"
    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.grid->Cells(7, 1), "-123");
    EXPECT_EQ(f.grid->Row(), 2);

    f.GoTo(7, 1);
    f.Type("1.5.2,x");
    EXPECT_EQ(f.Edit()->Text(), "1.52");
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(8, 1), "1.52");
}

TEST(GridEditBtnEditor, RefusedValidationSelectsTheText)
{
    Pinned pinned;
    EditBtnGrid f;
    f.grid->SetCells(6, 1, "ok");
    f.grid->OnCellValidate = [](QObject*, int, int, QString& v, bool& valid) { valid = v != "bad"; };
    f.GoTo(5, 1);
    f.Key(Qt::Key_F2);
    f.Edit()->selectAll();
    f.Type("bad");
    f.Key(Qt::Key_Return);
    EXPECT_TRUE(f.grid->GetEditMode());
    EXPECT_TRUE(f.Edit()->isVisible());
    EXPECT_EQ(f.Edit()->selectedText(), f.Edit()->Text());
    f.Key(Qt::Key_Escape);
    EXPECT_EQ(f.grid->Cells(6, 1), "ok");
}

TEST(GridUnitEditor, ValueAndUnit)
{
    Pinned pinned;
    EditorGrid f;
    f.Column(6)->SetEditor(edUnitEditBtn);
    f.Column(7)->SetEditor(edNumericUnitEditBtn);
    f.grid->OnGetEditorProp = [&](QObject*, int, int, TEditLink*) {
        f.grid->BtnUnitEdit()->SetUnits(QStringList{"mm", "cm"});
    };
    TGridUnitEditBtn* u = f.grid->BtnUnitEdit();
    EXPECT_FALSE(u->isVisible());
    EXPECT_FALSE(u->isEnabled());
    f.grid->SetCells(6, 1, "12mm");
    f.grid->SetCells(6, 2, "7");
    f.GoTo(5, 1);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(u->isVisible());
    EXPECT_EQ(u->Text(), "12");
    EXPECT_EQ(u->UnitID(), "mm");
    EXPECT_TRUE(f.window.grab().toImage().save(kt_test::GrabPath("grid_unit_editor.png")));
    u->SetUnitID("cm");
    f.Key(Qt::Key_Return);
    EXPECT_FALSE(u->isVisible());
    EXPECT_EQ(f.grid->Cells(6, 1), "12cm");
    EXPECT_EQ(f.log, (std::vector<QString>{"done", "celldone 6,1"}));

    // A value with no known unit stays whole; Escape leaves the cell as it was.
    f.GoTo(5, 2);
    f.Key(Qt::Key_F2);
    EXPECT_EQ(u->Text(), "7");
    EXPECT_EQ(u->UnitID(), "");
    u->SetUnitID("mm");
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(6, 2), "7");

    // The numeric unit type refuses letters and a second "-".
    f.GoTo(6, 1);
    f.Type("-4x-");
    EXPECT_EQ(u->Text(), "-4");
    EXPECT_EQ(pinned.services.Beeps, 2);
    u->SetUnitID("mm");
    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.grid->Cells(7, 1), "-4mm");
    EXPECT_EQ(f.grid->Row(), 2);
}
