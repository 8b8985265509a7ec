// The grid's check-box editor, paste into the edit-with-button editor, edits started by a double
// click and ended by the focus leaving, presses on always-shown cell spin buttons; the grid
// timer's tick, painting under the update lock, and columns that follow the grid's width.
#include "tests/gridedit/GridFixture.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QClipboard>
#include <QCursor>
#include <QLineEdit>
#include <QPaintEvent>
#include <gtest/gtest.h>
#include <vector>

using kt_test::GridFixture;
using namespace platform;

// The typed incremental search text is the grid's own; the timer test reads and seeds it through
// a member pointer taken by explicit instantiation, which may name private members.
namespace {
template <class Tag>
struct PrivateMember {
    static inline typename Tag::type ptr;
};
template <class Tag, typename Tag::type P>
struct TakePrivate {
    static inline const bool taken = (PrivateMember<Tag>::ptr = P, true);
};
struct SearchIncTag {
    using type = QString TVerIvovavOzed::*;
};
template struct TakePrivate<SearchIncTag, &TVerIvovavOzed::SearchInc>;
} // namespace

namespace {

QString& SearchText(TVerIvovavOzed* g) { return g->*PrivateMember<SearchIncTag>::ptr; }

using Pinned = kt_test::PinnedClock;

// Real column 1 is hidden; real column c (c >= 2) shows at displayed column c - 1. A second field
// in the window takes the focus away from an editor.
struct ControlGrid : kt_test::LoggedEditorGrid {
    QLineEdit* other;
    ControlGrid() : LoggedEditorGrid(8, {})
    {
        other = new QLineEdit(&window);
        other->setGeometry(0, 330, 100, 20);
        window.resize(520, 360);
        other->show();
    }
    QPoint Centre(int col, int row)
    {
        const TRect r = grid->CellRect(col, row);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
};

// Records the regions the grid's cells are painted in.
struct PaintLog : QObject {
    std::vector<QRegion> regions;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            regions.push_back(static_cast<QPaintEvent*>(e)->region());
        return false;
    }
};

} // namespace

TEST(GridCheckBoxEditor, TogglesOnceWritesNothingAndEndsOnItsKeys)
{
    Pinned pinned;
    ControlGrid f;
    f.Column(2)->SetEditor(edCheckBox);
    f.grid->SetCells(2, 1, "Caption");
    f.grid->SetCells(2, 2, "Second");
    TGridCheckBox* c = f.grid->CheckEditor();
    EXPECT_FALSE(c->isVisible());
    EXPECT_FALSE(c->isEnabled());

    f.GoTo(1, 1);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(c->isVisible());
    EXPECT_TRUE(c->isEnabled());
    EXPECT_EQ(f.Focus(), c);
    EXPECT_EQ(c->text(), "Caption");
    EXPECT_FALSE(c->isChecked());
    EXPECT_EQ(f.grid->EditCtrlWidget(), nullptr);
    // One toggle per Space and per click.
    f.Key(Qt::Key_Space);
    EXPECT_TRUE(c->isChecked());
    QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, QPoint(6, c->height() / 2));
    f.Pump();
    EXPECT_FALSE(c->isChecked());
    f.Key(Qt::Key_Space);
    EXPECT_TRUE(c->isChecked());

    // Escape ends the edit; the state is never written.
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_FALSE(c->isVisible());
    EXPECT_FALSE(c->isEnabled());
    EXPECT_EQ(f.Focus(), f.grid);
    EXPECT_EQ(f.grid->Cells(2, 1), "Caption");
    EXPECT_EQ(f.log, (std::vector<QString>{"done", "celldone 2,1"}));

    // Down ends the edit and moves the current row; Left ends it and stays.
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_Space);
    f.Key(Qt::Key_Down);
    EXPECT_FALSE(c->isVisible());
    EXPECT_EQ(f.grid->Row(), 2);
    EXPECT_EQ(f.grid->Cells(2, 1), "Caption");
    f.Key(Qt::Key_F2);
    EXPECT_EQ(c->text(), "Second");
    f.Key(Qt::Key_Left);
    EXPECT_FALSE(c->isVisible());
    EXPECT_EQ(f.grid->Col(), 1);
    EXPECT_EQ(f.grid->Row(), 2);

    // The focus leaving ends the edit too.
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(c->isVisible());
    f.other->setFocus(Qt::OtherFocusReason);
    f.Pump();
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_FALSE(c->isVisible());
    EXPECT_EQ(f.grid->Cells(2, 2), "Second");
}

TEST(GridEditBtnEditor, PasteFollowsTheTypeRulesAndWritesAtOnce)
{
    Pinned pinned;
    ControlGrid f;
    f.Column(2)->SetEditor(edEditBtn);
    f.Column(3)->SetEditor(edNumericEditBtn);
    f.Column(4)->SetEditor(edFloatEditBtn);
    TGridEditBtn* e = f.grid->BtnEdit();
    QClipboard* clip = QApplication::clipboard();
    auto paste = [&](const QString& clipText, const QString& start, int caret) {
        clip->setText(clipText);
        e->SetText(start);
        e->setCursorPosition(caret);
        f.Key(Qt::Key_V, Qt::ControlModifier);
    };

    f.Open_Cell(2, 1, "ab");
    ASSERT_TRUE(e->isVisible());
    // A single trailing line break is dropped; the cell has the text at once, the edit goes on.
    paste("pasted\r\n", "ab", 1);
    EXPECT_EQ(e->Text(), "apastedb");
    EXPECT_EQ(e->cursorPosition(), 7);
    EXPECT_EQ(f.grid->Cells(2, 1), "apastedb");
    EXPECT_TRUE(f.grid->GetEditMode());
    // Texts of several lines keep their breaks.
    paste("x\r\ny\r\n", "", 0);
    EXPECT_EQ(e->Text(), "x\r\ny\r\n");
    // The clipboard events may refuse or change the text.
    f.grid->OnClipboardBeforePasteCell = [](QObject*, int, int, QString& v, bool&) { v = v.toUpper(); };
    paste("up", "", 0);
    EXPECT_EQ(e->Text(), "UP");
    f.grid->OnClipboardPaste = [](QObject*, const QString&, bool& allow) { allow = false; };
    paste("no", "kept", 4);
    EXPECT_EQ(e->Text(), "kept");
    f.grid->OnClipboardPaste = nullptr;
    f.grid->OnClipboardBeforePasteCell = nullptr;
    f.Key(Qt::Key_Escape);

    // Numbers: the numeric type takes only an integer, the float type a decimal number too; the
    // column's length limit holds.
    struct Case { int col; const char* clip; const char* start; int caret; const char* expected; } cases[] = {
        {2, "-12", "", 0, "-12"},   {2, "12a", "5", 1, "5"},   {2, "-1", "5", 1, "5"},
        {2, "34", "12", 2, "1234"}, {2, "345", "12", 2, "12"}, // 5 characters pass the limit of 4
        {3, "1.5", "", 0, "1.5"},   {3, "1.5x", "", 0, ""},    {3, "7", "1.5", 3, "1.57"},
    };
    f.Column(3)->SetEditLength(4);
    for (const Case& k : cases) {
        f.GoTo(k.col, 2);
        f.Key(Qt::Key_F2);
        ASSERT_TRUE(e->isVisible()) << k.clip;
        paste(k.clip, k.start, k.caret);
        EXPECT_EQ(e->Text(), k.expected) << k.col << " " << k.clip;
        f.Key(Qt::Key_Escape);
    }
}

// Cursor walk: Right at the end of the text and Left at its start leave the edit-with-button editor
// for the neighbour cell, whose editor opens while CursorWalkAlwaysEdit holds; typing completes
// from the lookup list.
TEST(GridEditBtnEditor, CursorWalkAndCompletion)
{
    Pinned pinned;
    ControlGrid f;
    for (int c = 2; c < 5; ++c)
        f.Column(c)->SetEditor(edEditBtn);
    TGridEditBtn* e = f.grid->BtnEdit();
    f.grid->Navigation().SetCursorWalkEditor(true);
    f.grid->SetCells(2, 1, "ab");
    f.grid->SetCells(3, 1, "cd");
    f.GoTo(1, 1);
    f.Key(Qt::Key_F2);
    e->SetText("abc");
    e->setCursorPosition(0);
    f.Key(Qt::Key_Right); // inside the text: the edit goes on
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->cursorPosition(), 1);
    EXPECT_EQ(f.grid->Col(), 1);
    e->setCursorPosition(3);
    f.Key(Qt::Key_Right);
    EXPECT_EQ(f.grid->Cells(2, 1), "abc");
    EXPECT_EQ(f.grid->Col(), 2);
    ASSERT_TRUE(e->isVisible());
    EXPECT_EQ(e->Text(), "cd");
    e->deselect();
    e->setCursorPosition(0);
    f.Key(Qt::Key_Left);
    EXPECT_EQ(f.grid->Col(), 1);
    f.Key(Qt::Key_Escape);

    // Without CursorWalkAlwaysEdit the walk ends in the grid.
    f.grid->Navigation().SetCursorWalkAlwaysEdit(false);
    f.Key(Qt::Key_F2);
    e->deselect();
    e->setCursorPosition(int(e->Text().size()));
    f.Key(Qt::Key_Right);
    EXPECT_EQ(f.grid->Col(), 2);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.Focus(), f.grid);

    f.grid->SetLookup(true);
    f.grid->LookupItems().Add("apple");
    f.grid->LookupItems().Add("Banana");
    f.GoTo(3, 2);
    f.Type("ba");
    ASSERT_TRUE(e->isVisible());
    EXPECT_EQ(e->Text(), "banana");
    EXPECT_EQ(e->selectedText(), "nana");
}

// A double click opens each editor; the focus leaving ends the edit with the editor's value.
TEST(GridSpecialEditors, DoubleClickStartsAndFocusLossEnds)
{
    Pinned pinned;
    ControlGrid f;
    f.Column(2)->SetEditor(edSpinEdit);
    f.Column(2)->SetSpinMax(100);
    f.Column(3)->SetEditor(edFloatSpinEdit);
    f.Column(4)->SetEditor(edEditBtn);
    f.Column(5)->SetEditor(edUnitEditBtn);
    f.Column(6)->SetEditor(edDateEdit);
    f.grid->OnGetEditorProp = [&](QObject*, int, int, TEditLink*) {
        f.grid->BtnUnitEdit()->SetUnits(QStringList{"mm", "cm"});
    };
    f.grid->SetFloatFormat("%.2f");
    f.grid->MouseActions().SetEditOnDblClickOnly(true);
    struct Case { int col; const char* start; std::function<QWidget*()> editor; std::function<void()> change; const char* written; };
    const Case cases[] = {
        {2, "5", [&] { return f.grid->SpinEdit(); }, [&] { f.Key(Qt::Key_PageUp); }, "6"},
        {3, "1.5", [&] { return f.grid->SpinEdit(); }, [&] { f.grid->SpinEdit()->SetFloatValue(2.25); }, "2.25"},
        {4, "ab", [&] { return f.grid->BtnEdit(); }, [&] { f.grid->BtnEdit()->SetText("abc"); }, "abc"},
        {5, "12", [&] { return f.grid->BtnUnitEdit(); }, [&] { f.grid->BtnUnitEdit()->SetUnitID("mm"); }, "12mm"},
        {6, "6/1/2025", [&] { return f.grid->DateTimePicker(); },
         [&] { f.grid->DateTimePicker()->SetDate(EncodeDate(2025, 6, 3)); }, "6/3/2025"},
    };
    for (const Case& k : cases) {
        f.grid->SetCells(k.col, 1, k.start);
        f.GoTo(k.col - 1, 1);
        QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre(k.col - 1, 1));
        f.Pump();
        QWidget* ed = k.editor();
        ASSERT_TRUE(ed->isVisible()) << k.col;
        EXPECT_TRUE(ed->isEnabled());
        EXPECT_TRUE(f.Focus() == ed || ed->isAncestorOf(f.Focus())) << k.col;
        k.change();
        f.log.clear();
        f.other->setFocus(Qt::OtherFocusReason);
        f.Pump();
        EXPECT_FALSE(f.grid->GetEditMode()) << k.col;
        EXPECT_FALSE(ed->isVisible()) << k.col;
        EXPECT_FALSE(ed->isEnabled()) << k.col;
        EXPECT_EQ(f.grid->Cells(k.col, 1), k.written) << k.col;
        EXPECT_EQ(f.log, (std::vector<QString>{"done", QString("celldone %1,1").arg(k.col)})) << k.col;
        f.grid->setFocus(Qt::OtherFocusReason);
        f.Pump();
    }
}

// With the spin buttons shown in every spin cell, a press on the upper or lower half of them opens
// the editor stepped once; elsewhere in the cell, or later without a press, it does not step.
TEST(GridSpinEditor, PressOnAlwaysShownButtonsStepsOnce)
{
    Pinned pinned;
    ControlGrid f;
    // The spin types come from the editor-type event, which the grid's spin-cell test asks.
    f.grid->OnGetEditorType = [](QObject*, int c, int, TEditorType& e) {
        if (c >= 2 && c <= 4)
            e = c == 2 ? edSpinEdit : c == 3 ? edDateSpinEdit : edTimeSpinEdit;
    };
    f.grid->ControlLook().SetSpinButtonsAlwaysVisible(true);
    std::vector<QString> clicks;
    f.grid->OnSpinClick = [&](QObject*, int c, int r, int v, bool up) {
        clicks.push_back(QString("spin %1,%2 %3 %4").arg(c).arg(r).arg(v).arg(up));
    };
    f.grid->OnDateSpinClick = [&](QObject*, int c, int r, TDateTime v, bool up) {
        clicks.push_back(QString("date %1,%2 %3 %4").arg(c).arg(r).arg(DateToStr(v)).arg(up));
    };
    f.grid->OnTimeSpinClick = [&](QObject*, int c, int r, TDateTime v, bool up) {
        clicks.push_back(QString("time %1,%2 %3 %4").arg(c).arg(r).arg(TimeToStr(v)).arg(up));
    };
    f.grid->SetCells(2, 1, "10");
    f.grid->SetCells(3, 1, "6/7/2025");
    f.grid->SetCells(4, 1, "8:30:00");
    f.GoTo(1, 1);
    const TRect r = f.grid->CellRect(1, 1);

    EXPECT_FALSE(f.grid->SpinButtonPress(1, 1, r.Left + 3, r.Top + 2));
    EXPECT_FALSE(f.grid->SpinButtonPress(1, 1, r.Right, r.Top + 2)); // the next cell
    EXPECT_FALSE(f.grid->SpinButtonPress(1, 0, r.Right - 4, 2));     // a fixed cell has no spin
    ASSERT_TRUE(f.grid->SpinButtonPress(1, 1, r.Right - 18, r.Top + (r.Bottom - r.Top) / 2));
    EXPECT_TRUE(f.grid->SpinUpClick());
    EXPECT_FALSE(f.grid->SpinDnClick());
    f.Key(Qt::Key_F2);
    EXPECT_EQ(f.grid->SpinEdit()->Value(), 11);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(2, 1), "11");

    f.GoTo(1, 1);
    ASSERT_TRUE(f.grid->SpinButtonPress(1, 1, r.Right - 1, r.Bottom - 2));
    EXPECT_TRUE(f.grid->SpinDnClick());
    f.Key(Qt::Key_F2);
    EXPECT_EQ(f.grid->SpinEdit()->Value(), 10);
    f.Key(Qt::Key_Escape);
    // The press was used up.
    f.Key(Qt::Key_F2);
    EXPECT_EQ(f.grid->SpinEdit()->Value(), 11);
    f.Key(Qt::Key_Escape);

    // Date and time spins report their values to their own events.
    const TRect d = f.grid->CellRect(2, 1);
    f.GoTo(2, 1);
    ASSERT_TRUE(f.grid->SpinButtonPress(2, 1, d.Right - 2, d.Top + 1));
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_Escape);
    const TRect t = f.grid->CellRect(3, 1);
    f.GoTo(3, 1);
    ASSERT_TRUE(f.grid->SpinButtonPress(3, 1, t.Right - 2, t.Bottom - 2));
    f.grid->SpinEdit()->setCursorPosition(0);
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_Escape);
    ASSERT_EQ(clicks.size(), 4u);
    EXPECT_EQ(clicks[0], "spin 1,1 11 1");
    EXPECT_EQ(clicks[1], "spin 1,1 10 0");
    EXPECT_EQ(clicks[2].left(9), "date 2,1 ");
    EXPECT_TRUE(clicks[2].endsWith(" 1"));
    EXPECT_EQ(clicks[3].left(9), "time 3,1 ");
    EXPECT_TRUE(clicks[3].endsWith(" 0"));
}

TEST(GridTimer, SearchTextExpiresAtTheFourthTick)
{
    GridFixture f;
    f.grid->Navigation().SetAutoGotoIncremental(true);
    SearchText(f.grid) = "abc";
    const int ticks = f.grid->TimerTicks();
    for (int i = 0; i < 3; ++i)
        f.grid->GridTimerTick();
    EXPECT_EQ(SearchText(f.grid), "abc");
    f.grid->GridTimerTick();
    EXPECT_EQ(SearchText(f.grid), "");
    EXPECT_EQ(f.grid->TimerTicks(), ticks + 4);
    // Without the setting the text stays.
    f.grid->Navigation().SetAutoGotoIncremental(false);
    SearchText(f.grid) = "x";
    for (int i = 0; i < 5; ++i)
        f.grid->GridTimerTick();
    EXPECT_EQ(SearchText(f.grid), "x");
}

TEST(GridTimer, HoveringMakesTheCellUnderTheMouseCurrent)
{
    ControlGrid f;
    f.other->setFocus(Qt::OtherFocusReason);
    f.Pump();
    QCursor::setPos(f.grid->viewport()->mapToGlobal(f.Centre(3, 2)));
    f.grid->GridTimerTick();
    EXPECT_EQ(f.grid->Row(), 1); // no hovering yet
    f.grid->SetHovering(true);
    f.grid->GridTimerTick();
    EXPECT_EQ(f.grid->Col(), 3);
    EXPECT_EQ(f.grid->Row(), 2);
    EXPECT_EQ(f.Focus(), f.grid);
    // Over a fixed cell nothing moves.
    QCursor::setPos(f.grid->viewport()->mapToGlobal(f.Centre(0, 4)));
    f.grid->GridTimerTick();
    EXPECT_EQ(f.grid->Col(), 3);
    EXPECT_EQ(f.grid->Row(), 2);
}

TEST(GridTimer, OnlyBlinkingCellsRepaint)
{
    GridFixture f;
    f.grid->SetCells(2, 3, "<bli>on</bli>");
    f.grid->SetCells(1, 1, "plain");
    PaintLog paints;
    f.grid->viewport()->installEventFilter(&paints);
    f.Pump();
    paints.regions.clear();

    f.grid->GridTimerTick(); // blinking off: nothing
    f.Pump();
    EXPECT_TRUE(paints.regions.empty());
    EXPECT_FALSE(f.grid->GridBlink());

    f.grid->SetEnableBlink(true);
    for (int phase = 0; phase < 2; ++phase) {
        f.grid->GridTimerTick();
        EXPECT_EQ(f.grid->GridBlink(), phase == 0);
        f.Pump();
        ASSERT_FALSE(paints.regions.empty());
        QRegion all;
        for (const QRegion& r : paints.regions)
            all += r;
        EXPECT_EQ(all.boundingRect(), ToQRect(f.grid->CellRect(2, 3)));
        paints.regions.clear();
    }
}

TEST(GridUpdateLock, NoPaintUntilTheLastEndUpdate)
{
    GridFixture f;
    PaintLog paints;
    f.grid->viewport()->installEventFilter(&paints);
    f.Pump();
    paints.regions.clear();
    f.grid->BeginUpdate();
    f.grid->BeginUpdate();
    f.grid->SetCells(1, 1, "changed");
    f.grid->InvalidateGrid();
    f.Pump();
    f.grid->EndUpdate();
    f.Pump();
    EXPECT_TRUE(paints.regions.empty());
    f.grid->EndUpdate();
    f.Pump();
    EXPECT_FALSE(paints.regions.empty());
}

TEST(GridColumnSize, StretchFillsTheWidthOnlyForNarrowColumns)
{
    GridFixture f(3, 4);
    int resized = 0;
    f.grid->OnResize = [&](QObject*) { ++resized; };
    for (int c = 0; c < 3; ++c)
        f.grid->SetColWidths(c, 40);
    f.grid->ColumnSize().SetStretch(true);
    f.grid->SetColWidths(2, 40);
    resized = 0;
    EXPECT_TRUE(f.grid->SizeColumnsToGrid());
    EXPECT_EQ(f.grid->ColWidths(2), f.grid->ClientWidth() - 80 - 1);
    EXPECT_EQ(resized, 1);

    // The stretch column may be another; wide columns are left alone.
    f.grid->ColumnSize().SetStretchColumn(1);
    f.grid->SetColWidths(2, 40);
    EXPECT_TRUE(f.grid->SizeColumnsToGrid());
    EXPECT_EQ(f.grid->ColWidths(1), f.grid->ClientWidth() - 80 - 1);
    f.grid->ColumnSize().SetStretch(false);
    for (int c = 0; c < 3; ++c)
        f.grid->SetColWidths(c, 300);
    // Switching stretching on stretches at once: the other columns already fill the grid, so the
    // stretch column takes the default width.
    f.grid->ColumnSize().SetStretch(true);
    EXPECT_EQ(f.grid->ColWidths(1), f.grid->DefaultColWidth());
    resized = 0;
    EXPECT_FALSE(f.grid->SizeColumnsToGrid());
    EXPECT_EQ(f.grid->ColWidths(0), 300);
    EXPECT_EQ(f.grid->ColWidths(1), f.grid->DefaultColWidth());
    EXPECT_EQ(resized, 0);
}

TEST(GridColumnSize, SynchronisedColumnsFollowTheGridWidth)
{
    GridFixture f(4, 4);
    const int widths[] = {30, 50, 61, 75};
    for (int c = 0; c < 4; ++c)
        f.grid->SetColWidths(c, widths[c]);
    f.grid->InitOrigColSizes();
    EXPECT_EQ(f.grid->OldSize(), f.grid->width());
    f.grid->ColumnSize().SetSynchWithGrid(true);
    const int w = f.grid->width();

    f.grid->resize(2 * w, f.grid->height());
    f.grid->SizeColumnsToGrid();
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(f.grid->ColWidths(c), 2 * widths[c]) << c;

    // Half the width truncates; with normal cells only the fixed column keeps its width.
    f.grid->ColumnSize().SetSynchNormalCellsOnly(true);
    f.grid->SetColWidths(0, 30);
    f.grid->resize(w / 2, f.grid->height());
    f.grid->SizeColumnsToGrid();
    EXPECT_EQ(f.grid->ColWidths(0), 30);
    for (int c = 1; c < 4; ++c)
        EXPECT_EQ(f.grid->ColWidths(c), int(widths[c] * (double(w / 2) / w))) << c;
}
