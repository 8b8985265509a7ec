// The column grid: definitions kept one per real column, the hooks answered from them, column
// moves, and a grid set up like the S7comm access table filled and read back.
#include "grid/AdvCGrid.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct ColumnGridHost {
    QWidget window;
    TZidIzavodUraz* grid;
    ColumnGridHost() : grid(new TZidIzavodUraz(&window)) { grid->Loaded(); }
};

TEST(AdvCGrid, DefinitionsFollowTheColumnCount)
{
    ColumnGridHost h;
    TZidIzavodUraz& g = *h.grid;
    ASSERT_EQ(g.Columns().Count(), 5);
    TGridColumnItem* c4 = g.Columns().Items(4);
    c4->SetAlignment(taCenter);
    c4->SetEditor(edComboList);
    c4->SetCheckTrue("1");
    c4->SetSpinMax(9);
    c4->SetFloatFormat("%.1f");
    c4->SetWidth(77);
    c4->SetHeader("four");
    c4->ComboItems().Add("a");
    g.SetColCount(7);
    ASSERT_EQ(g.Columns().Count(), 7);
    for (int i : {5, 6}) {
        const TGridColumnItem* d = g.Columns().Items(i);
        EXPECT_EQ(d->Alignment(), taCenter) << i;
        EXPECT_EQ(d->Editor(), edComboList) << i;
        EXPECT_EQ(d->CheckTrue(), "1") << i;
        EXPECT_EQ(d->SpinMax(), 9) << i;
        EXPECT_EQ(d->FloatFormat(), "%.1f") << i;
        EXPECT_EQ(g.Columns().Items(i)->ComboItems().Count(), 0) << i; // the column's own items do not copy
        EXPECT_EQ(d->Header(), "") << i;
    }
    // Organised positions stay unique, so putting columns back always ends.
    for (int i = 0; i < 7; ++i)
        for (int j = i + 1; j < 7; ++j)
            EXPECT_NE(g.Columns().Items(i)->DefIdx(), g.Columns().Items(j)->DefIdx()) << i << "," << j;
    g.SetColCount(3);
    EXPECT_EQ(g.Columns().Count(), 3);

    // Hiding keeps every definition at its real column.
    g.SetColCount(5);
    g.HideColumn(2);
    EXPECT_EQ(g.Columns().Count(), 5);
    EXPECT_EQ(g.ColCount(), 4);
}

TEST(AdvCGrid, HeaderWritesTheHeaderCellAndTheHeaderList)
{
    ColumnGridHost h;
    TZidIzavodUraz& g = *h.grid;
    const char* names[] = {"N", "A", "B", "C", "D"};
    for (int i = 0; i < 5; ++i)
        g.Columns().Items(i)->SetHeader(names[i]);
    EXPECT_EQ(g.Cells(3, 0), "C");
    ASSERT_EQ(g.ColumnHeaders().Count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(g.ColumnHeaders().Strings(i), names[i]);
    // The header list written as a whole gives every definition its header, the last one too.
    platform::TStringList list;
    list.Add("n");
    list.Add("a");
    list.Add("b");
    list.Add("c");
    list.Add("d");
    g.SetColumnHeaders(list);
    EXPECT_EQ(g.Columns().Items(4)->Header(), "d");
    EXPECT_EQ(g.Cells(4, 0), "d");
}

TEST(AdvCGrid, HooksAnswerFromTheColumnDefinitions)
{
    ColumnGridHost h;
    TZidIzavodUraz& g = *h.grid;
    TGridColumnItem* combo = g.Columns().Items(1);
    combo->SetEditor(edComboList);
    combo->ComboItems().Add("S7300");
    combo->ComboItems().Add("S7400");
    combo->SetColor(0x00FF00);
    TGridColumnItem* ro = g.Columns().Items(2);
    ro->SetReadOnly(true);
    TGridColumnItem* fixedCol = g.Columns().Items(3);
    fixedCol->SetFixed(true);
    g.Columns().Items(4)->SetCheckTrue("yes");
    ASSERT_EQ(g.Columns().Items(4)->CheckTrue(), "yes");

    // Editor kind, and the combo editor gets the column's items.
    TEditorType e = edNormal;
    g.GetCellEditor(1, 2, e);
    EXPECT_EQ(e, edComboList);
    ASSERT_EQ(g.Combobox()->Items.Count(), 2);
    EXPECT_EQ(g.Combobox()->Items.Strings(1), "S7400");
    e = edNormal;
    g.GetCellEditor(1, 0, e); // header row: the grid's own
    EXPECT_EQ(e, edNormal);

    struct Case {
        int col, row;
        bool canEdit, combo;
    } cases[] = {
        {1, 2, true, true}, {2, 2, false, false}, {3, 2, false, false}, {4, 2, true, false}, {1, 0, false, false},
        {0, 2, false, false},
    };
    for (const Case& c : cases) {
        bool canEdit = true;
        g.IsReadOnlyCell(c.col, c.row, canEdit);
        EXPECT_EQ(canEdit, c.canEdit) << c.col << "," << c.row;
        EXPECT_EQ(g.HasComboBox(c.col, c.row), c.combo) << c.col << "," << c.row;
    }
    g.SetReadOnly(4, 3, true); // a read-only cell of an editable column
    bool canEdit = true;
    g.IsReadOnlyCell(4, 3, canEdit);
    EXPECT_FALSE(canEdit);

    // Colours: the column colour for its normal cells, the fixed colour for a fixed column.
    TBrush brush;
    TFont font;
    g.GetCellColor(1, 2, TGridDrawState(), brush, font);
    EXPECT_EQ(brush.Color(), 0x00FF00);
    g.GetCellColor(3, 2, TGridDrawState(), brush, font);
    EXPECT_EQ(brush.Color(), g.FixedColor());

    // Check texts: the column's own wins over the event in normal cells only.
    g.OnGetCheckTrue = [](QObject*, int, int, QString& v) { v = "event"; };
    QString t;
    g.GetCheckTrue(4, 2, t);
    EXPECT_EQ(t, "yes");
    g.GetCheckTrue(4, 0, t);
    EXPECT_EQ(t, "event");
}

TEST(AdvCGrid, FixedColumnsAreAskedByTheirRealColumnWhenColumnsAreHidden)
{
    ColumnGridHost h;
    TZidIzavodUraz& g = *h.grid;
    g.Columns().Items(3)->SetFixed(true);
    g.HideColumn(2);
    bool fixed = false;
    g.IsFixedCell(2, 2, fixed); // displayed column 2 shows real column 3
    EXPECT_TRUE(fixed);
}

TEST(AdvCGrid, DataCheckBoxColumnsNeedNoCellObjects)
{
    ColumnGridHost h;
    TZidIzavodUraz& g = *h.grid;
    TGridColumnItem* d = g.Columns().Items(2);
    d->SetEditor(edDataCheckBox);
    EXPECT_EQ(g.GetCellType(2, 3), ctDataCheckBox);
    ASSERT_NE(g.GetCellGraphic(2, 3), nullptr);
    EXPECT_EQ(g.GetCellGraphic(2, 3)->CellType(), ctVirtCheckBox);
    EXPECT_EQ(g.GetCellType(2, 0), ctEmpty);
    EXPECT_FALSE(g.HasCellProperties(2, 3));

    bool state = true;
    EXPECT_TRUE(g.GetCheckBoxState(2, 3, state));
    EXPECT_FALSE(state);
    EXPECT_TRUE(g.SetCheckBoxState(2, 3, true));
    EXPECT_EQ(g.Cells(2, 3), "Y");
    EXPECT_TRUE(g.SetCheckBoxState(2, 3, false));
    EXPECT_EQ(g.Cells(2, 3), "N");
    EXPECT_FALSE(g.GetCheckBoxState(2, 0, state));
}

TEST(AdvCGrid, MovingAColumnMovesItsDefinitionWhole)
{
    ColumnGridHost h;
    TZidIzavodUraz& g = *h.grid;
    TGridColumnItem* d = g.Columns().Items(1);
    d->SetHeader("moved");
    d->SetEditor(edComboEdit);
    d->ComboItems().Add("x");
    d->SetColumnPopupType(cpAllCellsLClick);
    d->SetPrintFontCustom(false);
    d->SetPrintBorderCustom(false);
    g.SetCells(1, 2, "cell");
    int from = -1, to = -1;
    g.OnAfterColumnMoved = [&](QObject*, int f, int t) { from = f, to = t; };
    g.MoveColumn(1, 3);
    EXPECT_EQ(from, 1);
    EXPECT_EQ(to, 3);
    const TGridColumnItem* m = g.Columns().Items(3);
    EXPECT_EQ(m->Header(), "moved");
    EXPECT_EQ(m->Editor(), edComboEdit);
    EXPECT_EQ(g.Columns().Items(3)->ComboItems().Count(), 1);
    // What a copy of a definition does not take starts again from its initial value.
    EXPECT_EQ(m->ColumnPopupType(), cpFixedCellsRClick);
    EXPECT_TRUE(m->PrintFontCustom());
    EXPECT_TRUE(m->PrintBorderCustom());
    EXPECT_EQ(g.Cells(3, 2), "cell");
    EXPECT_EQ(g.Cells(3, 0), "moved");
    EXPECT_EQ(g.Columns().Count(), 5);
}

TEST(AdvCGrid, EachGridKindAnswersItsOwnVersion)
{
    QWidget window;
    TVerIvovavOzed* plain = new TVerIvovavOzed(&window);
    TVerIvovavOzed* columns = new TZidIzavodUraz(&window);
    struct Case {
        const char* what;
        TVerIvovavOzed* grid;
        int nr;
        const char* text;
        const char* version;
    } cases[] = {
        {"string grid", plain, 100794627, "6.2.1.3 Sep, 2012", "6.2.1.3"},
        {"column grid", columns, 0x03010301, "3.1.3.1 Aug, 2012", "3.1.3.1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.grid->GetVersionNr(), c.nr) << c.what;
        EXPECT_EQ(c.grid->GetVersionString(), c.text) << c.what;
        EXPECT_EQ(c.grid->Version(), c.version) << c.what;
    }
}

TEST(AdvCGrid, ResetOrganizationPutsColumnsBackAtTheirOrganisedPlace)
{
    ColumnGridHost h;
    TZidIzavodUraz& g = *h.grid;
    for (int i = 0; i < 5; ++i)
        g.Columns().Items(i)->SetHeader(QString::number(i));
    g.MoveColumn(1, 4);
    g.MoveColumn(0, 2);
    g.Columns().ResetOrganization();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(g.Columns().Items(i)->Header(), QString::number(i)) << i;
}

TEST(AdvCGrid, FloatFormatOfAColumn)
{
    ColumnGridHost h;
    TZidIzavodUraz& g = *h.grid;
    g.Columns().Items(1)->SetFloatFormat("%.2f");
    g.Columns().Items(2)->SetFloatFormat("%d"); // does not fit a float: the text shows as it is
    struct Case {
        int col;
        const char* text;
        const char* shown;
    } cases[] = {{1, "3.14159", "3.14"}, {1, "abc", "abc"}, {1, "", ""}, {1, "2", "2.00"}, {2, "1.5", "1.5"}};
    for (const Case& c : cases) {
        g.SetCells(c.col, 1, c.text);
        EXPECT_EQ(g.GetFormattedCell(c.col, 1), c.shown) << c.text;
    }
}

TEST(AdvCGrid, FilterLinesOfAColumn)
{
    ColumnGridHost h;
    TZidIzavodUraz& g = *h.grid;
    g.SetFilterDropDownAuto(true);
    g.SetCells(1, 1, "a b");
    EXPECT_FALSE(g.FillFilterDropDown(1)); // no Filter lines: no drop-down
    g.Columns().Items(1)->Filter().Add("Big=>100");
    g.Columns().Items(1)->Filter().Add("Small");
    EXPECT_TRUE(g.FillFilterDropDown(1));
    ASSERT_EQ(g.FilterList().Count(), 2);
    EXPECT_EQ(g.FilterList().Strings(0), "Big");
    EXPECT_EQ(g.FilterList().Strings(1), "Small");
}

// ---- a grid set up like the S7comm read table ------------------------------------------------

struct S7Column {
    const char* header;
    TEditorType editor;
    int width;
    TColor color;
};

const S7Column kS7Read[] = {
    {"N", edNormal, 40, clWindow},
    {"Enable", edDataCheckBox, 50, 11589887},
    {"PLC Address", edNormal, 100, 16710368},
    {"PLC Port", edNormal, 60, 16710368},
    {"PLC Type", edComboList, 80, 16710368},
    {"Rack", edNormal, 45, 16710368},
    {"Slot", edNormal, 45, 16710368},
    {"Data Type", edComboList, 70, 16710368},
    {"Data Identifier", edComboList, 90, 16710368},
    {"DB Number", edNormal, 80, 16710368},
    {"PLC Area", edComboList, 115, 16710368},
    {"PLC Add", edNormal, 60, 16710368},
    {"PLC Bit", edComboList, 60, 16710368},
    {"Poll Time", edNormal, 64, 11075496},
    {"Position", edComboList, 60, 16045820},
    {"Start Bit", edComboList, 64, 16045820},
    {"Swap", edDataCheckBox, 40, 11075583},
    {"Swap Word", edDataCheckBox, 80, 11075583},
    {"Mnemonic", edNormal, 204, 0xFFFFFF},
};

void SetUpS7(TZidIzavodUraz& g)
{
    g.SetColCount(int(std::size(kS7Read)));
    g.SetRowCount(513);
    for (int i = 0; i < int(std::size(kS7Read)); ++i) {
        TGridColumnItem* d = g.Columns().Items(i);
        d->SetHeader(kS7Read[i].header);
        d->SetEditor(kS7Read[i].editor);
        d->SetWidth(kS7Read[i].width);
        d->SetColor(kS7Read[i].color);
        d->SetCheckTrue("Y");
        d->SetCheckFalse("N");
    }
    for (const char* t : {"Logo0BA8", "S7200", "S7300", "S7400", "S71200", "S71500"})
        g.Columns().Items(4)->ComboItems().Add(t);
    g.Columns().Items(14)->ComboItems().Clear();
    for (int p = 0; p < 1500; ++p)
        g.Columns().Items(14)->ComboItems().Add(QString::number(p));
}

TEST(AdvCGrid, S7AccessTableFilledAndReadBack)
{
    ColumnGridHost h;
    TZidIzavodUraz& g = *h.grid;
    SetUpS7(g);
    ASSERT_EQ(g.Columns().Count(), 19);
    g.HideColumn(18); // the description column hidden: its cells still travel with the rows
    for (int r = 1; r <= 512; ++r) {
        g.SetCells(0, r, QString::number(r));
        g.SetCells(1, r, r % 3 ? "Y" : "N");
        g.SetCells(2, r, QStringLiteral("192.168.%1.%2").arg(r / 256).arg(r % 256));
        g.SetCells(4, r, "S7300");
        g.SetCells(16, r, "N");
        g.SetCells(18, r, QStringLiteral("rule %1").arg(r));
    }
    EXPECT_EQ(g.ColCount(), 18);
    for (int r = 1; r <= 512; ++r) {
        ASSERT_EQ(g.Cells(0, r), QString::number(r));
        bool enabled = false;
        ASSERT_TRUE(g.GetCheckBoxState(1, r, enabled));
        ASSERT_EQ(enabled, r % 3 != 0) << r;
        ASSERT_EQ(g.Cells(18, r), QStringLiteral("rule %1").arg(r));
    }
    EXPECT_EQ(g.Cells(2, 300), "192.168.1.44");
    EXPECT_EQ(g.Columns().Items(18)->Width(), 204); // the hidden column keeps its width
    EXPECT_EQ(g.Cells(14, 0), "Position");
    TEditorType e = edNormal;
    g.GetCellEditor(14, 5, e);
    EXPECT_EQ(e, edComboList);
    EXPECT_EQ(g.Combobox()->Items.Count(), 1500);
    EXPECT_TRUE(g.SetCheckBoxState(17, 10, true));
    EXPECT_EQ(g.Cells(17, 10), "Y");
    // A selected row, as the table's row-number click does.
    g.SelectRows(7, 1);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 7, 17, 7}));
}

} // namespace
