// The grid's mouse as a user drives it (clicks on data check boxes and normal cells, double
// clicks), and the check-box, radio and cell-object operations the clicks stand on.
#include "tests/gridedit/GridFixture.h"
#include "grid/AdvCGrid.h"
#include "grid/UndoRedo.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct ClickGrid {
    QWidget window;
    TZidIzavodUraz* grid;
    std::string log;
    ClickGrid()
    {
        grid = new TZidIzavodUraz(&window);
        grid->SetColCount(4);
        grid->SetRowCount(4);
        grid->Columns().Items(2)->SetEditor(edDataCheckBox);
        grid->Columns().Items(3)->SetEditor(edDataCheckBox);
        grid->Columns().Items(3)->SetReadOnly(true);
        for (int r = 1; r < 4; ++r) {
            grid->SetCells(1, r, "text");
            grid->SetCells(2, r, "Y");
            grid->SetCells(3, r, "Y");
        }
        grid->Loaded();
        kt_test::Show_Filled(window, grid, 600, 300);
        grid->OnCheckBoxChange = [this](QObject*, int c, int r, bool s) { add("change", c, r, s); };
        grid->OnCheckBoxClick = [this](QObject*, int c, int r, bool s) { add("checkclick", c, r, s); };
        grid->OnClickCell = [this](QObject*, int r, int c) { add("clickcell", c, r); };
        grid->OnDblClickCell = [this](QObject*, int r, int c) { add("dblclickcell", c, r); };
        grid->OnMouseDown = [this](QObject*, TMouseButton, TShiftState, int, int) { log += "mousedown;"; };
        grid->OnClick = [this](QObject*) { log += "click;"; };
        grid->OnDblClick = [this](QObject*) { log += "dblclick;"; };
    }
    void add(const char* what, int c, int r, int s = -1)
    {
        log += what + std::string("(") + std::to_string(c) + "," + std::to_string(r) +
               (s >= 0 ? "," + std::to_string(s) : std::string()) + ");";
    }
    QPoint centre(int c, int r) const
    {
        const TRect rc = grid->CellRect(c, r);
        return QPoint((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2);
    }
    void click(int c, int r)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, centre(c, r));
        QCoreApplication::processEvents();
    }
};

TEST(InputMouse, ClickOnADataCheckBoxTogglesAndReports)
{
    ClickGrid t;
    t.click(2, 2);
    EXPECT_EQ(t.grid->Cells(2, 2), "N");
    EXPECT_EQ(t.log, "change(2,2,0);checkclick(2,2,0);mousedown;click;") << "no OnClickCell for a check box";
    EXPECT_EQ(t.grid->Col(), 2);
    EXPECT_EQ(t.grid->Row(), 2);
    t.log.clear();
    t.click(2, 2);
    EXPECT_EQ(t.grid->Cells(2, 2), "Y");

    // A read-only column: no toggle, the cell is selected and reported as clicked.
    t.log.clear();
    t.click(3, 1);
    EXPECT_EQ(t.grid->Cells(3, 1), "Y");
    EXPECT_NE(t.log.find("clickcell(3,1)"), std::string::npos) << t.log;
    EXPECT_EQ(t.log.find("checkclick"), std::string::npos) << t.log;
}

// A toggle is one undo step holding the text from before it, at the real column.
TEST(InputCheck, TogglesAreUndoable)
{
    ClickGrid t;
    RUvaVoviVareReda undo;
    t.grid->SetUndoRedo(&undo);
    // A plain box keeps its state in the object: the record follows the new state.
    t.grid->AddCheckBox(1, 1, false, false);
    ASSERT_TRUE(t.grid->ToggleCheckBox(1, 1));
    ASSERT_EQ(undo.Items().Count(), 1);
    EXPECT_EQ(undo.Items().Item(0)->OrigValue(), "N");
    EXPECT_EQ(undo.Items().Item(0)->Value(), "Y");
    t.grid->RemoveCheckBox(1, 1);

    t.grid->HideColumn(1);
    t.click(1, 2); // displayed column 1 shows real column 2: "Y" becomes "N"
    ASSERT_EQ(t.grid->Cells(2, 2), "N");
    ASSERT_EQ(undo.Items().Count(), 2);
    const TUndoRedoItem* item = undo.Items().Item(1);
    EXPECT_EQ(item->Col(), 2);
    EXPECT_EQ(item->Row(), 2);
    EXPECT_EQ(item->OrigValue(), "Y");
    EXPECT_EQ(item->Value(), "N");
    undo.Undo();
    EXPECT_EQ(t.grid->Cells(2, 2), "Y");
    undo.Redo();
    EXPECT_EQ(t.grid->Cells(2, 2), "N");

    t.click(2, 1); // read-only column: no toggle, nothing recorded
    EXPECT_EQ(undo.Items().Count(), 2);
}

// What the mouse leaves for the painter: the hovered and pressed header cell, and the end of a
// column sizing that the width handler reports.
TEST(InputMouse, HeaderHoverPressAndSizing)
{
    ClickGrid t;
    QWidget* vp = t.grid->viewport();
    t.grid->SetHoverFixedCells(hfFixedRows);
    QTest::mouseMove(vp, t.centre(2, 0));
    EXPECT_EQ(t.grid->HoverFixedCell(), TPoint(2, 0));
    QTest::mouseMove(vp, t.centre(2, 1));
    EXPECT_EQ(t.grid->HoverFixedCell(), TPoint(-1, -1)) << "a normal cell is no header";
    QTest::mouseMove(vp, t.centre(1, 0));
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, t.centre(1, 0));
    EXPECT_TRUE(t.grid->FixedCellPressed());
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, t.centre(1, 0));
    EXPECT_FALSE(t.grid->FixedCellPressed());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(t.grid, &leave);
    EXPECT_EQ(t.grid->HoverFixedCell(), TPoint(-1, -1));

    // Dragging the right border of column 1 sizes it; the width handler names the column.
    t.grid->SetOptions(t.grid->Options() | goColSizing);
    std::vector<int> ended;
    t.grid->OnEndColumnSize = [&](QObject*, int c) { ended.push_back(c); };
    const TRect r = t.grid->CellRect(1, 0);
    const int w = t.grid->ColWidths(1);
    const QPoint border(r.Right, (r.Top + r.Bottom) / 2);
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseMove(vp, border + QPoint(30, 0));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, border + QPoint(30, 0));
    EXPECT_EQ(t.grid->ColWidths(1), w + 30);
    EXPECT_EQ(ended, std::vector<int>{1});
    EXPECT_FALSE(t.grid->ColSized);
    t.grid->SetColWidths(1, w); // a width set by code is no user sizing
    EXPECT_EQ(ended.size(), 1u);
}

// A link in an HTML cell is underlined while the mouse is over it, and its entry and exit are
// reported.
TEST(InputMouse, LinkHover)
{
    ClickGrid t;
    QWidget* vp = t.grid->viewport();
    t.grid->SetURLUnderlineOnHover(true);
    t.grid->SetCells(1, 1, "<a href=\"go\">link</a>");
    std::vector<std::string> anchors;
    t.grid->OnAnchorEnter = [&](QObject*, int, int, const QString& a) { anchors.push_back("enter " + a.toStdString()); };
    t.grid->OnAnchorExit = [&](QObject*, int, int, const QString&) { anchors.push_back("exit"); };
    const TRect r = t.grid->CellRect(1, 1);
    QTest::mouseMove(vp, QPoint(r.Left + 8, (r.Top + r.Bottom) / 2));
    EXPECT_EQ(t.grid->HoverLinkCell(), TPoint(1, 1));
    EXPECT_EQ(t.grid->HoverLinkNum(), 1);
    QTest::mouseMove(vp, t.centre(1, 2));
    EXPECT_EQ(t.grid->HoverLinkNum(), -1);
    EXPECT_EQ(anchors, (std::vector<std::string>{"enter go", "exit"}));
}

TEST(InputMouse, ClickReportsTheDisplayedColumnBehindHiddenColumns)
{
    ClickGrid t;
    t.grid->HideColumn(1);
    t.click(1, 3); // displayed column 1 shows real column 2
    EXPECT_EQ(t.grid->Cells(2, 3), "N");
    EXPECT_NE(t.log.find("checkclick(1,3,0)"), std::string::npos) << t.log;
    EXPECT_NE(t.log.find("change(2,3,0)"), std::string::npos) << t.log;
}

TEST(InputMouse, ClickAndDoubleClickOnANormalCell)
{
    ClickGrid t;
    t.click(1, 2);
    EXPECT_NE(t.log.find("mousedown;"), std::string::npos);
    EXPECT_NE(t.log.find("clickcell(1,2)"), std::string::npos) << t.log;
    EXPECT_LT(t.log.find("mousedown;"), t.log.find("clickcell(1,2)"));
    t.log.clear();
    QTest::mouseDClick(t.grid->viewport(), Qt::LeftButton, Qt::NoModifier, t.centre(1, 3));
    QCoreApplication::processEvents();
    ASSERT_NE(t.log.find("dblclickcell(1,3)"), std::string::npos) << t.log;
    EXPECT_LT(t.log.find("dblclick;"), t.log.find("dblclickcell(1,3)")) << "the base double click comes first";

    // On a check-box cell only the base double click runs.
    t.log.clear();
    QTest::mouseDClick(t.grid->viewport(), Qt::LeftButton, Qt::NoModifier, t.centre(2, 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(t.log.find("dblclickcell"), std::string::npos) << t.log;
}

TEST(InputMouse, CanClickCellRefusalSwallowsThePress)
{
    ClickGrid t;
    t.grid->OnCanClickCell = [](QObject*, int, int, bool& allow) { allow = false; };
    t.click(2, 1);
    EXPECT_EQ(t.grid->Cells(2, 1), "Y");
    EXPECT_EQ(t.log, "");
}

// ---- the operations under the clicks ---------------------------------------------------------

struct PlainGrid {
    QWidget window;
    TVerIvovavOzed* grid = new TVerIvovavOzed(&window);
    PlainGrid()
    {
        grid->SetColCount(3);
        grid->SetRowCount(5);
        grid->Loaded();
    }
};

TEST(InputCheck, AddingAndReadingCheckBoxes)
{
    PlainGrid p;
    TVerIvovavOzed& g = *p.grid;
    g.SetCells(1, 1, "Y");
    g.SetCells(1, 2, "y");
    g.SetCells(1, 3, "Y ");
    g.AddCheckBox(1, 1, false, true);
    g.AddCheckBox(1, 2, false, true);
    g.AddCheckBox(1, 3, false, true);
    EXPECT_EQ(g.Cells(1, 1), "Y") << "a check text stays";
    EXPECT_EQ(g.Cells(1, 2), "N") << "compared exactly";
    EXPECT_TRUE(g.IsChecked(1, 1));
    EXPECT_FALSE(g.IsChecked(1, 3)) << "a trailing blank is not the check-true text";
    EXPECT_TRUE(g.ToggleCheckBox(1, 3));
    EXPECT_EQ(g.Cells(1, 3), "Y");
    EXPECT_THROW(g.AddCheckBox(3, 1, false, false), ZUzeRodoRediv);

    g.AddCheckBox(2, 1, cbUnchecked);
    EXPECT_FALSE(g.SetCheckBoxState(2, 1, true)) << "the Boolean setter does not write a tri-state box";
    g.AddCheckBox(2, 2, false, false);
    EXPECT_FALSE(g.SetCheckBoxState(2, 2, cbChecked)) << "the tri-state setter does not write a plain box";

    g.RemoveCheckBox(1, 1);
    EXPECT_FALSE(g.HasCheckBox(1, 1));
    EXPECT_EQ(g.Cells(1, 1), "Y");
}

TEST(InputCheck, TriStateToggleCyclesAndReportsCheckedOnly)
{
    PlainGrid p;
    TVerIvovavOzed& g = *p.grid;
    g.AddCheckBox(1, 1, cbUnchecked);
    std::string states;
    g.OnCheckBoxChange = [&](QObject*, int, int, bool s) { states += s ? '1' : '0'; };
    TCheckBoxState st;
    for (TCheckBoxState expect : {cbGrayed, cbChecked, cbUnchecked}) {
        ASSERT_TRUE(g.ToggleCheckBox(1, 1));
        ASSERT_TRUE(g.GetCheckBoxState(1, 1, st));
        EXPECT_EQ(st, expect);
    }
    EXPECT_EQ(states, "010");
}

TEST(InputCheck, UserToggleAsksTheCanEditTest)
{
    PlainGrid p;
    TVerIvovavOzed& g = *p.grid;
    g.AddCheckBox(1, 1, false, false);
    EXPECT_FALSE(g.ToggleCellCheck(1, 1, true)) << "no editing option: a user may not change it";
    EXPECT_FALSE(g.IsChecked(1, 1));
    g.SetOptions(g.Options() | goEditing);
    EXPECT_TRUE(g.ToggleCellCheck(1, 1, true));
    EXPECT_TRUE(g.IsChecked(1, 1));
    g.OnCanEditCell = [](QObject*, int, int, bool& can) { can = false; };
    EXPECT_FALSE(g.ToggleCellCheck(1, 1, true));
    g.ControlLook().CheckAlwaysActive = true;
    EXPECT_TRUE(g.ToggleCellCheck(1, 1, true));
}

TEST(InputCheck, CellCheckStateReportsRealChangesOnly)
{
    PlainGrid p;
    TVerIvovavOzed& g = *p.grid;
    g.AddCheckBoxColumn(1, false, true);
    int changes = 0;
    g.OnCheckBoxChange = [&](QObject*, int, int, bool) { ++changes; };
    g.CheckAll(1);
    EXPECT_EQ(changes, 4);
    g.CheckAll(1);
    EXPECT_EQ(changes, 4);
    for (int r = 1; r < 5; ++r)
        EXPECT_EQ(g.Cells(1, r), "Y");
    g.UnCheckAll(1);
    EXPECT_EQ(changes, 8);
    EXPECT_FALSE(g.SetCellCheckState(2, 1, true)) << "no check box";
}

TEST(InputCheck, RadioButtonsAndGroups)
{
    PlainGrid p;
    TVerIvovavOzed& g = *p.grid;
    g.AddRadioButtonColumn(1);
    g.SetRadioButtonColumnIndex(1, 2);
    EXPECT_EQ(g.GetRadioButtonColumnIndex(1), 2);
    g.SetOptions(g.Options() | goEditing);
    EXPECT_TRUE(g.ClickCellRadioButton(1, 2, true));
    EXPECT_EQ(g.GetRadioButtonColumnIndex(1), 2);
    EXPECT_TRUE(g.ClickCellRadioButton(1, 4, true));
    EXPECT_EQ(g.GetRadioButtonColumnIndex(1), 4);
    EXPECT_FALSE(g.IsRadioButtonChecked(1, 2));
    g.SetRadioButtonColumnIndex(1, -1);
    EXPECT_EQ(g.GetRadioButtonColumnIndex(1), -1);

    platform::TStringList* list = g.CreateRadio(2, 1, 0, -2);
    list->Add("one");
    list->Add("two");
    g.SetCells(2, 1, "none");
    g.CycleCellRadio(2, 1, false);
    EXPECT_EQ(g.Cells(2, 1), "one") << "text matching no choice starts at the first";
    g.CycleCellRadio(2, 1, false);
    g.CycleCellRadio(2, 1, false);
    EXPECT_EQ(g.Cells(2, 1), "one") << "wraps at the end";
    int idx = 0;
    EXPECT_TRUE(g.GetRadioIdx(2, 1, idx));
    EXPECT_EQ(idx, -2) << "an index below -1 keeps the group driven by its text";
}

TEST(InputCheck, CellObjectSizesAndQueries)
{
    PlainGrid p;
    TVerIvovavOzed& g = *p.grid;
    EXPECT_EQ(g.GetCellType(-1, 0), ctEmpty);
    TCellGraphic* o = g.CreateCellGraphic(1, 1);
    EXPECT_EQ(g.Cells(1, 1), "") << "an object leaves an empty text empty";
    o->SetCellType(ctRating);
    o->SetCellAngle(5);
    EXPECT_EQ(g.GetCellGraphicSize(1, 1), (TPoint{90, 16}));
    g.AddCheckBox(1, 2, false, false);
    EXPECT_EQ(g.GetCellGraphicSize(1, 2), (TPoint{15, 15}));
    g.AddRadioButton(1, 3, false);
    EXPECT_EQ(g.GetCellGraphicSize(1, 3), (TPoint{10, 10}));
    platform::TStringList* l = g.CreateRadio(2, 1, 0, 0);
    for (const char* s : {"a", "b", "c"})
        l->Add(s);
    EXPECT_GE(g.GetCellGraphicSize(2, 1).Y, 48) << "three stacked choices, at least 16 pixels each";
    EXPECT_TRUE(g.RemoveCellGraphicOfType(1, 2, ctCheckBox));
    EXPECT_FALSE(g.RemoveCellGraphicOfType(1, 3, ctCheckBox));
    EXPECT_TRUE(g.IsInCheckBox(1, 3, 0, 0)) << "without precise checking the whole cell counts";
}

} // namespace
