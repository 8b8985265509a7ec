// Row buttons of the tables: delete, insert, copy and paste of one row in a column grid (check
// boxes as "Y"/"N" texts) and in a string grid (check boxes with a state of their own), hidden
// columns included, and the paste refusals and question.
#include "core/UComon.h"
#include "core/UComon_Grid_Rows.h"
#include "core/ULanguage.h"
#include "grid/AdvCGrid.h"
#include "platform/ScriptedServices.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr int Rows = 5;  // data rows

// A column grid like the tables': column 1 an Enable check box, 2 the key, 3 text, 4 another
// check box, 5 text in a hidden column.
struct ColumnGrid {
    QWidget window;
    TZidIzavodUraz* g = new TZidIzavodUraz(&window);
    ColumnGrid()
    {
        g->SetColCount(6);
        g->SetRowCount(Rows + 1);
        g->Columns().Items(1)->SetEditor(edDataCheckBox);
        g->Columns().Items(4)->SetEditor(edDataCheckBox);
        g->Loaded();
        g->HideColumn(5);
        for (int r = 0; r <= Rows; ++r)
            for (int c = 0; c < 6; ++c)
                g->SetCells(c, r, Text(c, r));
    }
    // Row r's content: "Y"/"N" in the check-box columns, "c<col>r<row>" elsewhere, headers "h<col>".
    static QString Text(int c, int r)
    {
        if (r == 0)
            return QStringLiteral("h%1").arg(c);
        if (c == 0)
            return QString::number(r);
        if (c == 1 || c == 4)
            return r % 2 ? "Y" : "N";
        return QStringLiteral("c%1r%2").arg(c).arg(r);
    }
    QStringList Row(int r) const
    {
        QStringList l;
        for (int c = 0; c < 6; ++c)
            l << g->Cells(c, r);
        return l;
    }
    static QStringList Expected(int r, int from)  // row r holding what row `from` held
    {
        QStringList l{QString::number(r)};
        for (int c = 1; c < 6; ++c)
            l << Text(c, from);
        return l;
    }
};

// A string grid like the OPC UA table's: plain check boxes in columns 1 and 3, texts in 2 and 4.
struct StringGrid {
    QWidget window;
    TVerIvovavOzed* g = new TVerIvovavOzed(&window);
    StringGrid()
    {
        g->SetColCount(5);
        g->SetRowCount(Rows + 1);
        g->Loaded();
        g->AddCheckBoxColumn(1, false, false);
        g->AddCheckBoxColumn(3, false, false);
        for (int r = 1; r <= Rows; ++r) {
            g->SetCells(0, r, QString::number(r));
            g->SetCheckBoxState(1, r, r % 2 == 1);
            g->SetCheckBoxState(3, r, r == 2);
            g->SetCells(2, r, QStringLiteral("a%1").arg(r));
            g->SetCells(4, r, QStringLiteral("b%1").arg(r));
        }
    }
    // The row as "<box1>|a|<box3>|b" with boxes as 1/0.
    QString Row(int r) const
    {
        bool s1 = false, s3 = false;
        const bool b1 = g->GetCheckBoxState(1, r, s1), b3 = g->GetCheckBoxState(3, r, s3);
        return QStringLiteral("%1|%2|%3|%4")
            .arg(b1 ? (s1 ? "1" : "0") : "-", g->Cells(2, r), b3 ? (s3 ? "1" : "0") : "-", g->Cells(4, r));
    }
};

class GridRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        Load_Default_Language();
        Row_Clipboard.clear();
        Row_Clipboard_CheckBox.clear();
    }
    QStringList Messages() const
    {
        QStringList l;
        for (const auto& m : Services.MessageBoxes)
            l << m.Text;
        return l;
    }
    ScriptedServices Services;
    ScopedServices Scope{Services};
};

} // namespace

TEST_F(GridRows, ColumnGridDeleteAndInsertMoveEveryDataColumn)
{
    struct Case {
        const char* name;
        bool insert;
        int row;
        bool setEnable;
        // For each data row 1..5: the row whose content it holds, 0 for emptied.
        int from[Rows];
    } cases[] = {
        {"delete row 2", false, 2, false, {1, 3, 4, 5, 0}},
        {"delete row 1", false, 1, false, {2, 3, 4, 5, 0}},
        {"delete the last row", false, 5, false, {1, 2, 3, 4, 0}},
        {"insert at row 2", true, 2, true, {1, 0, 2, 3, 4}},
        {"insert without enable", true, 2, false, {1, 0, 2, 3, 4}},
        {"insert at the last row", true, 5, true, {1, 2, 3, 4, 0}},
        {"row 0 changes nothing", false, 0, false, {1, 2, 3, 4, 5}},
        {"a row past the grid changes nothing", true, 6, true, {1, 2, 3, 4, 5}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ColumnGrid cg;
        if (k.insert)
            Insert_Row_ACG(k.row, cg.g, k.setEnable);
        else
            Delete_Row_ACG(k.row, cg.g);
        EXPECT_EQ(cg.g->RowCount(), Rows + 1);
        EXPECT_EQ(cg.Row(0), (QStringList{"h0", "h1", "h2", "h3", "h4", "h5"}));
        for (int r = 1; r <= Rows; ++r) {
            if (k.from[r - 1] > 0) {
                EXPECT_EQ(cg.Row(r), ColumnGrid::Expected(r, k.from[r - 1])) << "row " << r;
            } else {
                const QString enable = k.insert && k.setEnable ? "Y" : "";
                EXPECT_EQ(cg.Row(r), (QStringList{QString::number(r), enable, "", "", "", ""})) << "row " << r;
            }
        }
    }
}

TEST_F(GridRows, ColumnGridCopyPaste)
{
    ColumnGrid cg;
    // Without a copy in this showing: refused, even though the clipboard holds a row.
    Row_Clipboard = QStringList{"x", "x", "x", "x", "x"};
    Paste_Row_ACG(cg.g, 2, false);
    EXPECT_EQ(Messages(), QStringList{Lang_Table[1102]});
    EXPECT_EQ(cg.Row(2), ColumnGrid::Expected(2, 2));

    // A row of another grid (another column count): refused.
    Services.MessageBoxes.clear();
    Row_Clipboard = QStringList{"x", "x"};
    Paste_Row_ACG(cg.g, 2, true);
    EXPECT_EQ(Messages(), QStringList{Lang_Table[1101]});
    EXPECT_EQ(cg.Row(2), ColumnGrid::Expected(2, 2));

    // The copy takes the hidden column too, in column order.
    Copy_Row_ACG(cg.g, 3);
    EXPECT_EQ(Row_Clipboard, (QStringList{"Y", "c2r3", "c3r3", "Y", "c5r3"}));

    // A row whose only non-empty cells are check boxes, or blanks, counts as empty: no question.
    for (int c = 1; c < 6; ++c)
        cg.g->SetCells(c, 5, c == 1 || c == 4 ? "N" : "  ");
    Services.MessageBoxes.clear();
    Paste_Row_ACG(cg.g, 5, true);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(cg.Row(5), ColumnGrid::Expected(5, 3));

    // A row with data: the question; No leaves it, Yes overwrites it.
    Services.MessageBoxAnswers = {mrNo, mrYes};
    Paste_Row_ACG(cg.g, 1, true);
    EXPECT_EQ(cg.Row(1), ColumnGrid::Expected(1, 1));
    Paste_Row_ACG(cg.g, 1, true);
    EXPECT_EQ(cg.Row(1), ColumnGrid::Expected(1, 3));
    ASSERT_EQ(Services.MessageBoxes.size(), 2);
    EXPECT_EQ(Services.MessageBoxes[0].Text, Lang_Table[1100]);
    EXPECT_EQ(Services.MessageBoxes[0].Type, mtConfirmation);
    EXPECT_EQ(Services.MessageBoxes[0].Buttons, TMsgDlgButtons(mbYes) | mbNo);

    // Only the hidden column holds data: the row is used all the same.
    for (int c = 1; c < 5; ++c)
        cg.g->SetCells(c, 4, "");
    Services.MessageBoxes.clear();
    Paste_Row_ACG(cg.g, 4, true);  // no answer queued: the box's escape answer, not Yes
    EXPECT_EQ(Messages(), QStringList{Lang_Table[1100]});
    EXPECT_EQ(cg.g->Cells(5, 4), "c5r4");
}

TEST_F(GridRows, StringGridDeleteAndInsertMoveStatesAndTexts)
{
    struct Case {
        const char* name;
        bool insert;
        int row;
        bool setEnable;
        const char* rows[Rows];
    } cases[] = {
        {"delete row 2", false, 2, true, {"1|a1|0|b1", "1|a3|0|b3", "0|a4|0|b4", "1|a5|0|b5", "1||0|"}},
        {"delete without enable", false, 2, false, {"1|a1|0|b1", "1|a3|0|b3", "0|a4|0|b4", "1|a5|0|b5", "0||0|"}},
        {"insert at row 1", true, 1, true, {"1||0|", "1|a1|0|b1", "0|a2|1|b2", "1|a3|0|b3", "0|a4|0|b4"}},
        {"insert at the last row", true, 5, false, {"1|a1|0|b1", "0|a2|1|b2", "1|a3|0|b3", "0|a4|0|b4", "0||0|"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        StringGrid sg;
        if (k.insert)
            Insert_Row_ASG(k.row, sg.g, k.setEnable);
        else
            Delete_Row_ASG(k.row, sg.g, k.setEnable);
        for (int r = 1; r <= Rows; ++r)
            EXPECT_EQ(sg.Row(r), k.rows[r - 1]) << "row " << r;
        EXPECT_EQ(sg.g->Cells(0, 5), "5");
    }
}

TEST_F(GridRows, StringGridCopyPasteRestoresStatesAndTexts)
{
    StringGrid sg;
    Copy_Row_ASG(sg.g, 2);
    EXPECT_EQ(Row_Clipboard, (QStringList{"N", "a2", "Y", "b2"}));
    EXPECT_EQ(Row_Clipboard_CheckBox, (QVector<bool>{true, false, true, false}));

    // An empty row takes it without a question.
    Delete_Row_ASG(5, sg.g, true);
    Paste_Row_ASG(sg.g, 5, true);
    EXPECT_TRUE(Services.MessageBoxes.isEmpty());
    EXPECT_EQ(sg.Row(5), "0|a2|1|b2");

    // A cell of blanks is data in a string grid: the question comes, and No keeps the row.
    Delete_Row_ASG(5, sg.g, false);
    sg.g->SetCells(4, 5, " ");
    Paste_Row_ASG(sg.g, 5, true);
    ASSERT_EQ(Services.MessageBoxes.size(), 1);
    EXPECT_EQ(Services.MessageBoxes[0].Text, Lang_Table[1100]);
    EXPECT_EQ(sg.Row(5), "0||0| ");

    // Not copied in this showing: refused.
    Services.MessageBoxes.clear();
    Paste_Row_ASG(sg.g, 1, false);
    ASSERT_EQ(Services.MessageBoxes.size(), 1);
    EXPECT_EQ(Services.MessageBoxes[0].Text, Lang_Table[1102]);
    EXPECT_EQ(Services.MessageBoxes[0].Type, mtError);
    EXPECT_EQ(sg.Row(1), "1|a1|0|b1");

    // A later column-grid copy leaves the marks alone; a paste reads a missing mark as text.
    Row_Clipboard_CheckBox.resize(2);
    Services.MessageBoxAnswers = {mrYes};
    Paste_Row_ASG(sg.g, 1, true);
    EXPECT_EQ(sg.Row(1), "0|a2|0|b2");
    EXPECT_EQ(sg.g->Cells(3, 1), "Y");
}
