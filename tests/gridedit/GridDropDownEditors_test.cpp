// The nine drop-down cell editors, driven as a user drives them on a column grid with one column
// per editor type: starting, changing the value, the keys that end the edit, validation, the
// grid's events, a click elsewhere with the pop-up open, and what each type writes back.
#include "tests/gridedit/GridFixture.h"

#include "gridedit/GridDropDownEditors.h"
#include "grid/ControlLook.h"
#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"
#include "tests/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using kt_test::GridFixture;
using namespace platform;

namespace {

using Pinned = kt_test::InvariantFormat;

const TEditorType kTypes[] = {edTrackbarDropDown, edMemoDropDown,        edCalculatorDropDown,
                              edTimePickerDropDown, edDetailDropDown,     edGridDropDown,
                              edColorPickerDropDown, edImagePickerDropDown, edAdvGridDropDown};

// Column c (1..9) is edited with kTypes[c - 1]; the pickers have their items.
struct DropDownGrid : GridFixture {
    TCustomImageList images{16, 16};
    std::vector<QString> log;

    DropDownGrid() : GridFixture(10, 6)
    {
        window.resize(1020, 360);
        grid->setGeometry(0, 0, 1020, 360);
        for (int c = 0; c < 10; ++c)
            grid->SetColWidths(c, 100);
        for (int c = 1; c <= 9; ++c)
            Column(c)->SetEditor(kTypes[c - 1]);
        const char* names[] = {"Alpha", "Beta", "Gamma"};
        for (const char* n : names)
            grid->DetailPickerDropDown()->Items().Add()->SetCaption(n);
        grid->GridDropDown()->Columns().Add();
        for (const char* n : names)
            grid->GridDropDown()->Items().Add()->Text().Add(n);
        grid->AdvGridDropDown()->SetUseItems(true);
        grid->AdvGridDropDown()->Columns().Add();
        for (const char* n : names)
            grid->AdvGridDropDown()->Items().Add()->Text << n;
        const QColor colors[] = {Qt::red, Qt::green, Qt::blue};
        for (const QColor& q : colors) {
            QImage im(16, 16, QImage::Format_ARGB32);
            im.fill(q);
            images.AddImage(im);
        }
        grid->SetGridImages(&images);
        grid->OnEditingDone = [this](QObject*) { log.push_back("done"); };
        grid->OnEditChange = [this](QObject*, int c, int r, const QString& v) {
            log.push_back(QString("change %1,%2 %3").arg(c).arg(r).arg(v));
        };
        Pump();
    }

    // Keys go where the keyboard is: to the open pop-up (which holds the keyboard) or to the
    // focused control.
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* w = Target();
        QTest::keyClick(w, key, mods);
        Pump();
    }
    void Type(const QString& text)
    {
        for (QChar ch : text) {
            QTest::keyClick(Target(), ch.toLatin1());
            Pump();
        }
    }
    QWidget* Target()
    {
        if (QWidget* p = QApplication::activePopupWidget())
            return p->focusWidget() ? p->focusWidget() : p;
        return Focus() ? Focus() : grid;
    }

    TAdvCustomDropDown* Editor(int col) { return static_cast<TAdvCustomDropDown*>(EditorOf(kTypes[col - 1])); }
    QWidget* EditorOf(TEditorType t)
    {
        switch (t) {
        case edTrackbarDropDown: return grid->TrackbarDropDown();
        case edMemoDropDown: return grid->MemoDropDown();
        case edCalculatorDropDown: return grid->CalculatorDropDown();
        case edTimePickerDropDown: return grid->TimePickerDropDown();
        case edDetailDropDown: return grid->DetailPickerDropDown();
        case edGridDropDown: return grid->GridDropDown();
        case edColorPickerDropDown: return grid->ColorPickerDropDown();
        case edImagePickerDropDown: return grid->ImagePickerDropDown();
        default: return grid->AdvGridDropDown();
        }
    }
    bool FocusInEditor(int col)
    {
        QWidget* e = Editor(col);
        QWidget* f = Focus();
        return f && (f == e || e->isAncestorOf(f));
    }
};

// One row per editor type: the cell's start, a change as a user makes it, and the check of what
// the edit wrote.
struct Case {
    TEditorType type;
    std::function<void(DropDownGrid&, int row)> prepare;
    std::function<void(DropDownGrid&)> change;
    std::function<void(DropDownGrid&, int row)> check;
};

// Opens the list, moves to the next entry and closes the list with Alt+Up, keeping the pick.
void PickNext(DropDownGrid& f)
{
    f.Key(Qt::Key_Down, Qt::AltModifier);
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_Up, Qt::AltModifier);
}

std::vector<Case> Cases()
{
    const int c1 = 1;
    (void)c1;
    return {
        {edTrackbarDropDown, [](DropDownGrid& f, int r) { f.grid->SetCells(1, r, "3"); },
         [](DropDownGrid& f) { f.Type("7"); },
         [](DropDownGrid& f, int r) { EXPECT_EQ(f.grid->Cells(1, r), "7"); }},
        {edMemoDropDown, [](DropDownGrid& f, int r) { f.grid->SetCells(2, r, "one"); },
         [](DropDownGrid& f) {
             f.Key(Qt::Key_End);
             f.Type(" two");
         },
         [](DropDownGrid& f, int r) { EXPECT_EQ(f.grid->Cells(2, r), "one two"); }},
        {edCalculatorDropDown, [](DropDownGrid& f, int r) { f.grid->SetCells(3, r, "12"); },
         [](DropDownGrid& f) {
             f.Key(Qt::Key_End);
             f.Type("+3");
         },
         // Only Enter computes the pending sum; the other keys store the entry shown.
         [](DropDownGrid& f, int r) { EXPECT_EQ(f.grid->Cells(3, r), r == 2 || r == 3 ? "3.00" : "15.00"); }},
        {edTimePickerDropDown, [](DropDownGrid& f, int r) { f.grid->SetCells(4, r, "10:15:00"); },
         [](DropDownGrid& f) { f.Type("11:30:00"); },
         [](DropDownGrid& f, int r) { EXPECT_EQ(f.grid->Cells(4, r), "11:30:00"); }},
        {edDetailDropDown, [](DropDownGrid& f, int r) { f.grid->SetCells(5, r, "Alpha"); }, PickNext,
         [](DropDownGrid& f, int r) { EXPECT_EQ(f.grid->Cells(5, r), "Beta"); }},
        {edGridDropDown, [](DropDownGrid& f, int r) { f.grid->SetCells(6, r, "Alpha"); }, PickNext,
         [](DropDownGrid& f, int r) { EXPECT_EQ(f.grid->Cells(6, r), "Beta"); }},
        {edColorPickerDropDown,
         [](DropDownGrid& f, int r) {
             f.grid->SetCells(7, r, "");
             f.grid->SetColors(7, r, 0x0000FF); // Red
         },
         PickNext,
         [](DropDownGrid& f, int r) {
             EXPECT_EQ(f.grid->Cells(7, r), "Lime");
             EXPECT_EQ(f.grid->GetColors(7, r), 0x00FF00);
         }},
        {edImagePickerDropDown,
         [](DropDownGrid& f, int r) {
             f.grid->RemoveImageIdx(8, r);
             f.grid->AddImageIdx(8, r, 0, haLeft, vaTop);
         },
         PickNext,
         [](DropDownGrid& f, int r) {
             int idx = -1;
             EXPECT_TRUE(f.grid->GetImageIdx(8, r, idx));
             EXPECT_EQ(idx, 1);
         }},
        {edAdvGridDropDown, [](DropDownGrid& f, int r) { f.grid->SetCells(9, r, "Alpha"); }, PickNext,
         [](DropDownGrid& f, int r) { EXPECT_EQ(f.grid->Cells(9, r), "Beta"); }},
    };
}

int ColOf(TEditorType t)
{
    for (int i = 0; i < 9; ++i)
        if (kTypes[i] == t)
            return i + 1;
    return -1;
}

} // namespace

TEST(GridDropDownEditors, GettersMakeOneHiddenEditorEach)
{
    Pinned pinned;
    DropDownGrid f;
    for (TEditorType t : kTypes) {
        QWidget* e = f.EditorOf(t);
        EXPECT_EQ(e, f.EditorOf(t));
        EXPECT_FALSE(e->isVisible());
        EXPECT_FALSE(e->isEnabled());
        EXPECT_EQ(e->parentWidget(), f.grid->viewport());
    }
    EXPECT_EQ(f.grid->AdvGridDropDown()->Grid(), f.grid->AdvGridDropDown()->GetGrid());
}

TEST(GridDropDownEditors, EveryTypeEditsItsCell)
{
    Pinned pinned;
    for (const Case& c : Cases()) {
        const int col = ColOf(c.type);
        SCOPED_TRACE(col);
        DropDownGrid f;
        for (int r = 1; r < 6; ++r)
            c.prepare(f, r);
        TAdvCustomDropDown* e = f.Editor(col);
        const QString before = f.grid->Cells(col, 1);

        // F2 opens the editor over the cell with the focus; Escape gives the cell back.
        f.GoTo(col, 1);
        f.Key(Qt::Key_F2);
        ASSERT_TRUE(f.grid->GetEditMode());
        EXPECT_TRUE(e->isVisible());
        EXPECT_TRUE(e->isEnabled());
        EXPECT_TRUE(f.FocusInEditor(col));
        EXPECT_EQ(f.grid->EditCtrlWidget(), e);
        const TRect R = f.grid->CellRect(col, 1);
        EXPECT_EQ(e->geometry(), QRect(R.Left, R.Top, R.Right - R.Left - 1, R.Bottom - R.Top - 1));
        c.change(f);
        f.Key(Qt::Key_Escape);
        EXPECT_FALSE(f.grid->GetEditMode());
        EXPECT_FALSE(e->isVisible());
        EXPECT_EQ(f.Focus(), f.grid);
        EXPECT_EQ(f.grid->Cells(col, 1), before);

        // Change and Enter: stored, OnEditChange seen, the edit's end reported, no move.
        f.log.clear();
        f.Key(Qt::Key_F2);
        c.change(f);
        f.Key(Qt::Key_Return);
        EXPECT_FALSE(f.grid->GetEditMode());
        EXPECT_FALSE(e->isVisible());
        SCOPED_TRACE("enter");
        c.check(f, 1);
        EXPECT_EQ(f.grid->Row(), 1);
        EXPECT_EQ(f.grid->Col(), col);
        EXPECT_NE(std::find(f.log.begin(), f.log.end(), "done"), f.log.end());
        if (c.type != edImagePickerDropDown && c.type != edColorPickerDropDown) {
            EXPECT_TRUE(std::any_of(f.log.begin(), f.log.end(), [](const QString& s) { return s.startsWith("change "); }));
        }

        // Down stores and moves down; Up stores and moves up (the pickers keep Up and Down
        // in their lists once open, so they end with Enter there).
        f.GoTo(col, 2);
        f.Key(Qt::Key_F2);
        c.change(f);
        f.Key(Qt::Key_Down);
        if (f.grid->GetEditMode())
            f.Key(Qt::Key_Return);
        SCOPED_TRACE("down");
        c.check(f, 2);
        EXPECT_FALSE(f.grid->GetEditMode());

        // Tab with goTabs stores and moves to the next column.
        f.grid->SetOptions(f.grid->Options() | goTabs);
        f.GoTo(col, 3);
        f.Key(Qt::Key_F2);
        c.change(f);
        f.Key(Qt::Key_Tab);
        SCOPED_TRACE("tab");
        c.check(f, 3);
        EXPECT_EQ(f.grid->Col(), col < 9 ? col + 1 : 1);
        if (f.grid->GetEditMode())
            f.Key(Qt::Key_Escape);
        f.grid->SetOptions(f.grid->Options() & ~TGridOptions(goTabs));

        // A click on another cell with the pop-up open closes it, ends the edit and moves there.
        f.GoTo(col, 1);
        f.Key(Qt::Key_F2);
        f.Key(Qt::Key_Down, Qt::AltModifier);
        EXPECT_TRUE(e->DroppedDown());
        // A cell well away from the pop-up, which drops below the edited cell.
        const int other = col <= 4 ? 8 : 1;
        f.Click(other, 4);
        EXPECT_FALSE(e->DroppedDown());
        EXPECT_FALSE(f.grid->GetEditMode());
        EXPECT_FALSE(e->isVisible());
        EXPECT_EQ(f.grid->Row(), 4);
        EXPECT_EQ(f.grid->Col(), other);
        SCOPED_TRACE("click");
        c.check(f, 1);

        // A refused validation keeps the editor and the row (an image-list cell's text does not
        // change, so there is nothing to validate).
        int calls = 0;
        if (c.type != edImagePickerDropDown) {
        f.grid->OnCellValidate = [&](QObject*, int, int, QString&, bool& valid) {
            ++calls;
            valid = false;
        };
        f.GoTo(col, 4);
        f.Key(Qt::Key_F2);
        c.change(f);
        f.Key(Qt::Key_Return);
        EXPECT_GE(calls, 1);
        EXPECT_TRUE(f.grid->GetEditMode());
        EXPECT_TRUE(e->isVisible());
        EXPECT_EQ(f.grid->Row(), 4);
        f.grid->OnCellValidate = nullptr;
        f.Key(Qt::Key_Escape);
        EXPECT_FALSE(f.grid->GetEditMode());
        }

        // Typing starts the edit; the grid's OnKeyPress sees the key.
        std::vector<QChar> keys;
        f.grid->OnKeyPress = [&](QObject*, QChar& k) { keys.push_back(k); };
        f.GoTo(col, 5);
        f.Type("1");
        EXPECT_TRUE(f.grid->GetEditMode());
        EXPECT_TRUE(e->isVisible());
        f.Type("2");
        EXPECT_FALSE(keys.empty());
        EXPECT_EQ(keys.back(), QChar('2'));
        f.grid->OnKeyPress = nullptr;
        f.Key(Qt::Key_Escape);

    }
}

TEST(GridDropDownEditors, CalculatorEnterComputesThePendingSum)
{
    Pinned pinned;
    DropDownGrid f;
    f.grid->SetCells(3, 1, "");
    f.GoTo(3, 1);
    f.Type("12+3");
    f.Key(Qt::Key_Return);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(3, 1), "15.00");
}

TEST(GridDropDownEditors, UntouchedMemoKeepsItsBytes)
{
    Pinned pinned;
    const QString texts[] = {"one\r\ntwo\r\nthree", "one\ntwo\nthree\n", "one\rtwo\r\nthree"};
    for (const QString& t : texts) {
        DropDownGrid f;
        f.grid->SetCells(2, 1, t);
        f.GoTo(2, 1);
        f.Key(Qt::Key_F2);
        EXPECT_EQ(f.grid->MemoDropDown()->MemoText().Count(), 3);
        f.Key(Qt::Key_Down, Qt::AltModifier);
        EXPECT_TRUE(f.grid->MemoDropDown()->DroppedDown());
        f.Key(Qt::Key_Up, Qt::AltModifier);
        f.Key(Qt::Key_Return);
        EXPECT_FALSE(f.grid->GetEditMode());
        EXPECT_EQ(f.grid->Cells(2, 1).toUtf8(), t.toUtf8());
    }
}

TEST(GridDropDownEditors, MemoWritesThroughAndEscapePutsTheCellBack)
{
    Pinned pinned;
    DropDownGrid f;
    f.grid->SetCells(2, 1, "first\r\nsecond");
    f.GoTo(2, 1);
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_Home);
    f.Type("x");
    EXPECT_TRUE(f.grid->Cells(2, 1).startsWith("xfirst")) << "the cell follows the memo while it is edited";
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(2, 1), "first\r\nsecond");
}

TEST(GridDropDownEditors, ColorPickerWritesTextAndBackground)
{
    Pinned pinned;
    DropDownGrid f;
    f.grid->SetColors(7, 1, 0x0000FF);
    f.grid->AddShape(7, 2, csCircle, 0x0000FF, clBlack, haLeft, vaTop);
    std::vector<QString> selected;
    f.grid->OnColorSelected = [&](QObject*, int c, int r, TColor& color, QString& v) {
        selected.push_back(QString("%1,%2 %3 %4").arg(c).arg(r).arg(color, 6, 16, QLatin1Char('0')).arg(v));
        if (r == 3) {
            color = 0x123456;
            v = "custom";
        }
    };
    f.GoTo(7, 1);
    f.Key(Qt::Key_F2);
    EXPECT_EQ(f.grid->ColorPickerDropDown()->SelectedColor(), 0x0000FF);
    PickNext(f);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(7, 1), "Lime");
    EXPECT_EQ(f.grid->GetColors(7, 1), 0x00FF00);

    // A shape cell starts from its shape colour and takes the new colour there.
    f.GoTo(7, 2);
    f.Key(Qt::Key_F2);
    EXPECT_EQ(f.grid->ColorPickerDropDown()->SelectedColor(), 0x0000FF);
    PickNext(f);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->GetShapeColor(7, 2), 0x00FF00);

    // The handler's colour and text are what is stored.
    f.grid->SetColors(7, 3, 0x0000FF);
    f.Edit_And_Accept(7, 3);
    EXPECT_EQ(f.grid->Cells(7, 3), "custom");
    EXPECT_EQ(f.grid->GetColors(7, 3), 0x123456);
    EXPECT_EQ(selected, (std::vector<QString>{"7,1 00ff00 Lime", "7,2 00ff00 Lime", "7,3 0000ff Red"}));
}

TEST(GridDropDownEditors, ImagePickerOnImageListAndDataImageCells)
{
    Pinned pinned;
    DropDownGrid f;
    f.grid->AddImageIdx(8, 1, 2, haLeft, vaTop);
    f.grid->AddDataImage(8, 2, 0, haLeft, vaTop);
    f.grid->SetCells(8, 2, "1");
    f.grid->SetCells(8, 3, "plain");
    int seen = -2;
    f.grid->OnImageSelected = [&](QObject*, int, int r, int& i) {
        seen = i;
        if (r == 2)
            i = 0;
    };
    f.GoTo(8, 1);
    f.Key(Qt::Key_F2);
    EXPECT_EQ(f.grid->ImagePickerDropDown()->ImageIndex(), 2);
    EXPECT_EQ(f.grid->ImagePickerDropDown()->Items().Count(), 3);
    f.Key(Qt::Key_Down, Qt::AltModifier);
    f.Key(Qt::Key_Up);
    f.Key(Qt::Key_Return);
    int idx = -1;
    EXPECT_TRUE(f.grid->GetImageIdx(8, 1, idx));
    EXPECT_EQ(idx, 1);
    EXPECT_EQ(seen, 1);

    // A data image cell: the index is its value, the handler's answer is written as its text.
    f.GoTo(8, 2);
    f.Key(Qt::Key_F2);
    EXPECT_EQ(f.grid->ImagePickerDropDown()->ImageIndex(), 1);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(f.grid->Cells(8, 2), "0");

    // Another cell is left as it is.
    f.Edit_And_Accept(8, 3);
    EXPECT_EQ(f.grid->Cells(8, 3), "plain");
}

TEST(GridDropDownEditors, HeaderAndFooterButtonsReportTheCell)
{
    Pinned pinned;
    DropDownGrid f;
    f.grid->ControlLook().DropDownHeader().SetVisible(true);
    f.grid->ControlLook().DropDownHeader().Buttons().Add()->SetCaption("H");
    f.grid->ControlLook().DropDownFooter().SetVisible(true);
    f.grid->ControlLook().DropDownFooter().Buttons().Add()->SetCaption("F1");
    f.grid->ControlLook().DropDownFooter().Buttons().Add()->SetCaption("F2");
    std::vector<QString> log;
    f.grid->OnDropDownHeaderButtonClick = [&](QObject* s, int c, int r, int i) {
        EXPECT_EQ(s, f.grid);
        log.push_back(QString("header %1,%2 %3").arg(c).arg(r).arg(i));
    };
    f.grid->OnDropDownFooterButtonClick = [&](QObject*, int c, int r, int i) {
        log.push_back(QString("footer %1,%2 %3").arg(c).arg(r).arg(i));
    };
    f.grid->SetCells(5, 2, "Alpha");
    f.GoTo(5, 2);
    f.Key(Qt::Key_F2);
    TAdvCustomDropDown* e = f.grid->DetailPickerDropDown();
    EXPECT_TRUE(e->DropDownHeader().Visible());
    f.Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(e->DroppedDown());
    TDropDownForm* form = e->DropDownForm();
    ASSERT_TRUE(form->Header() && form->Footer());
    ASSERT_EQ(form->Header()->ButtonCount(), 1);
    ASSERT_EQ(form->Footer()->ButtonCount(), 2);
    QTest::mouseClick(form->Header()->ButtonAt(0), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    GridFixture::Pump();
    QTest::mouseClick(form->Footer()->ButtonAt(1), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    GridFixture::Pump();
    EXPECT_EQ(log, (std::vector<QString>{"header 5,2 0", "footer 5,2 1"}));
    if (e->DroppedDown())
        e->HideDropDown(true);
    f.Key(Qt::Key_Escape);
}

TEST(GridDropDownEditors, StyleChangeRestylesTheEditorsMade)
{
    Pinned pinned;
    DropDownGrid f;
    for (TEditorType t : kTypes)
        f.EditorOf(t);
    f.grid->SetComponentStyle(tsOffice2007Luna);
    f.grid->SetComponentStyle(tsWindows7);
    const TEditorType styled[] = {edMemoDropDown,   edCalculatorDropDown,  edTimePickerDropDown, edDetailDropDown,
                                  edGridDropDown,   edColorPickerDropDown, edImagePickerDropDown};
    for (TEditorType t : styled)
        EXPECT_EQ(static_cast<TAdvCustomDropDown*>(f.EditorOf(t))->GetComponentStyle(), tsWindows7) << int(t);
    // The track-bar and the grid-style editor keep the style they were made with.
    EXPECT_NE(f.grid->TrackbarDropDown()->GetComponentStyle(), tsWindows7);
    EXPECT_NE(f.grid->AdvGridDropDown()->GetComponentStyle(), tsWindows7);
}

TEST(GridDropDownEditors, EditorTakesTheCellColour)
{
    Pinned pinned;
    DropDownGrid f;
    const TColor cream = 0x80FFFF;
    for (int c = 1; c <= 9; ++c) {
        SCOPED_TRACE(c);
        f.grid->SetColors(c, 5, cream);
        f.GoTo(c, 5);
        f.Key(Qt::Key_F2);
        TAdvCustomDropDown* e = f.Editor(c);
        ASSERT_TRUE(f.grid->GetEditMode());
        EXPECT_EQ(e->Color(), cream);
        if (c != 7) { // the colour picker shows the chosen colour at the left
            const QImage shot = e->grab().toImage();
            EXPECT_EQ(QColor(shot.pixel(1, shot.height() - 2)), ToQColor(cream));
        }
        f.Key(Qt::Key_Escape);
        // A cell without a colour of its own gives the editor the grid's.
        f.GoTo(c, 4);
        f.Key(Qt::Key_F2);
        ASSERT_TRUE(f.grid->GetEditMode());
        EXPECT_EQ(e->Color(), f.grid->Color());
        f.Key(Qt::Key_Escape);
    }
}

TEST(GridDropDownEditors, Grabs)
{
    Pinned pinned;
    DropDownGrid f;
    for (const Case& c : Cases())
        c.prepare(f, 1);
    f.grid->SetCells(2, 1, "first line\r\nsecond line\r\nthird line");
    f.grid->SetCells(0, 0, "");
    const char* titles[] = {"Track", "Memo", "Calc", "Time", "Detail", "Grid", "Color", "Image", "AdvGrid"};
    for (int c = 1; c <= 9; ++c)
        f.grid->SetCells(c, 0, titles[c - 1]);
    for (int c = 1; c <= 9; ++c) {
        f.GoTo(c, 1);
        f.Key(Qt::Key_F2);
        f.Key(Qt::Key_Down, Qt::AltModifier);
        TAdvCustomDropDown* e = f.Editor(c);
        ASSERT_TRUE(e->DroppedDown()) << c;
        TDropDownForm* form = e->DropDownForm();
        const QPoint formAt = form->pos() - f.window.mapToGlobal(QPoint(0, 0));
        QImage shot(std::max(f.window.width(), formAt.x() + form->width()) + 2,
                    std::max(f.window.height(), formAt.y() + form->height()) + 2, QImage::Format_RGB32);
        shot.fill(QColor(240, 240, 240));
        {
            QPainter p(&shot);
            p.drawPixmap(0, 0, f.window.grab());
            p.drawPixmap(formAt, form->grab());
        }
        EXPECT_TRUE(shot.save(kt_test::GrabPath(QString("GridDropDownEditor_%1.png").arg(titles[c - 1]))));
        e->HideDropDown(true);
        f.Key(Qt::Key_Escape);
    }
}

