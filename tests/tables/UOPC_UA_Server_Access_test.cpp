// The OPC UA variables dialog: the grid its Init_Table builds, the length that follows the type,
// the one rule of OK, the file it reads and writes, and the row buttons with the length locks.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "core/USaveBincc.h"
#include "grid/AdvGrid.h"
#include "render/LbButton.h"
#include "tables/UOPC_UA_Server_Access.h"

#include <QApplication>

#include <memory>

using namespace platform;
using namespace table_test;

namespace {

class OpcUaAccess : public Dialog_Test<TFOPC_UA_Server_Access> {
protected:
    void SetUp() override
    {
        Open(File_OPC_UA_Server, "OPC_UA_Server.xml");
        G = Form->ASG;
    }
    bool Enabled(int r) const { return Row_Enabled(G, r); }
    // Type, position, length, name, access, description of a row.
    void Put_Row(int r, const QStringList& cells, bool enabled = true)
    {
        G->SetCheckBoxState(1, r, enabled);
        for (int c = 0; c < cells.size(); ++c)
            G->SetCells(c + 2, r, cells[c]);
    }
    QStringList Row(int r) const
    {
        QStringList l{Enabled(r) ? "Y" : "N"};
        for (int c = 2; c < 8; ++c)
            l << G->Cells(c, r);
        return l;
    }
    bool Locked(int r) const { return G->GetReadOnly(4, r); }

    TVerIvovavOzed* G = nullptr;
};

} // namespace

TEST_F(OpcUaAccess, InitTableBuildsTheGrid)
{
    Expect_Window(*Form, 1200, 337, "Definition of OPC UA Server Variables");
    EXPECT_EQ(Form->Btn_Cancel->toolTip(), "Exit without save the SNMP Trap List");
    ASSERT_EQ(G->ColCount(), 8);
    ASSERT_EQ(G->RowCount(), 251);
    const QStringList headers = {"N", "Enable", "Type", "Position", "Length", "Name", "R/W", "Mnemonic"};
    const int widths[] = {40, 50, 120, 100, 100, 280, 100, 280};
    const TColor colours[] = {0, 11589887, 16710368, 11075496, 11075496, 16045820, 16045820, 0xFFFFFF};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(G->Cells(c, 0), headers[c]);
        EXPECT_EQ(G->ColWidths(c), widths[c]);
        if (c == 0)
            continue;
        for (int r : {1, 250})
            EXPECT_EQ(G->GetCellProperties(c, r)->BrushColor(), colours[c]) << c << "," << r;
    }
    EXPECT_EQ(G->GetCellProperties(1, 17)->Alignment(), taCenter);
    bool state = true;
    EXPECT_TRUE(G->GetCheckBoxState(1, 250, state));
    EXPECT_FALSE(G->GetCheckBoxState(2, 250, state));
    EXPECT_EQ(G->Cells(0, 250), "250");
    EXPECT_EQ(Form->Hint.size(), 7);
    EXPECT_EQ(Form->Hint[5], "Select the access of Var, Read Only or Read/Write for OPC UA Server Variable");

    // The type and access columns open a list of their own; the others keep the text editor.
    struct Case {
        int col;
        TEditorType editor;
        QStringList items;
    } cases[] = {
        {2, edComboList, Form->VarType},
        {6, edComboList, {"Read Only", "Read/Write"}},
        {5, edNormal, {}},
    };
    for (const Case& k : cases) {
        TEditorType e = edNormal;
        G->Combobox()->Items.Clear();
        G->Combobox()->Items.Add("left over");
        Form->ASGGetEditorType(G, k.col, 3, e);
        EXPECT_EQ(e, k.editor) << k.col;
        if (k.editor == edComboList) {
            ASSERT_EQ(G->Combobox()->Items.Count(), k.items.size());
            for (int i = 0; i < k.items.size(); ++i)
                EXPECT_EQ(G->Combobox()->Items.Strings(i), k.items[i]);
        }
    }
}

// The type names are what the compiler maps to its codes.
TEST_F(OpcUaAccess, TypeNamesAreTheCompilersCodeKeys)
{
    const QStringList names = {"Boolean", "Signed Byte", "Byte", "Int16", "UInt16", "Int32",    "UInt32",
                               "Int64",   "UInt64",      "Float", "Double", "String", "ByteString"};
    const uint32_t codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14};
    ASSERT_EQ(Form->VarType, names);
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(OPC_UA_Type_Code(names[i]), codes[i]) << names[i].toStdString();
}

TEST_F(OpcUaAccess, LengthFollowsTheType)
{
    Form->FormShow();
    struct Case {
        QString type;
        QString length;  // after the choice, from "77"
        bool locked;
    } cases[] = {
        {"Boolean", "1", true}, {"Signed Byte", "1", true}, {"Byte", "1", true},   {"Int16", "2", true},
        {"UInt16", "2", true},  {"Int32", "4", true},       {"UInt32", "4", true}, {"Float", "4", true},
        {"Int64", "8", true},   {"UInt64", "8", true},      {"Double", "8", true}, {"String", "10", false},
        {"ByteString", "10", false},
    };
    // A row with a type, so that each notice is a choice of the user's (on a cell without one the
    // first notice of an edit is the list's own opening item).
    G->SetCells(2, 3, "Float");
    for (const Case& k : cases) {
        SCOPED_TRACE(k.type.toStdString());
        G->SetCells(4, 3, "77");
        G->SetCells(6, 3, "");
        Form->ASGComboChange(G, 2, 3, 0, k.type);
        EXPECT_EQ(G->Cells(4, 3), k.length);
        EXPECT_EQ(Locked(3), k.locked);
        EXPECT_EQ(G->Cells(6, 3), "Read/Write");
    }
    // An unknown or empty type leaves the length and its lock; a chosen access stays.
    Form->ASGComboChange(G, 2, 3, 0, "Int32");
    G->SetCells(6, 3, "Read Only");
    for (const QString& t : {QString("int32"), QString()}) {
        Form->ASGComboChange(G, 2, 3, 0, t);
        EXPECT_EQ(G->Cells(4, 3), "4");
        EXPECT_TRUE(Locked(3));
        EXPECT_EQ(G->Cells(6, 3), "Read Only");
    }
    // A change in another column is not a type change.
    Form->ASGComboChange(G, 6, 3, 0, "String");
    EXPECT_EQ(G->Cells(4, 3), "4");
}

TEST_F(OpcUaAccess, LoadedFileIsSavedBack)
{
    Put_File("OPC_UA_Server.xml", Fixture("OPC_UA_Server_load.xml"));
    Form->FormShow();
    EXPECT_TRUE(Messages().isEmpty());
    // A stored length wins over the type's, in a locked cell.
    EXPECT_EQ(Row(1), (QStringList{"Y", "Float", "10", "6", "T1", "Read/Write", "temperature"}));
    EXPECT_TRUE(Locked(1));
    // Missing attributes: enabled, empty texts, no access although the type proposed one.
    EXPECT_EQ(Row(2), (QStringList{"Y", "String", "20", "", "", "", ""}));
    EXPECT_FALSE(Locked(2));
    EXPECT_EQ(Row(3)[0], "N");
    EXPECT_EQ(Row(4), (QStringList{"Y", "Boolean", " 5", "1", "B", "Read Only", "tab\tinside"}));
    EXPECT_EQ(Row(5), (QStringList{"Y", "", "", "", "", "", ""}));

    Expect_Ok_Writes(Fixture("OPC_UA_Server_saved.xml"));
}

TEST_F(OpcUaAccess, ShowWithoutFileThenOkWritesAnEmptySection)
{
    Put_Row(9, {"Int16", "1", "2", "x", "Read Only", ""});
    Form->FormShow();
    EXPECT_EQ(Row(9), (QStringList{"Y", "", "", "", "", "", ""}));
    EXPECT_EQ(G->Cells(0, 9), "9");
    Form->Btn_OKClick(nullptr);
    EXPECT_EQ(Canonical(kt_test::ReadFile(File_OPC_UA_Server)), Canonical(Fixture("OPC_UA_Server_empty.xml")));
}

TEST_F(OpcUaAccess, PositionRule)
{
    struct Case {
        const char* name;
        QString position;
        bool enabled;
        QString type;
        QString message;
    } cases[] = {
        {"1500", "1500", true, "Int16", "Error row 3!! Position Must be Between 0 and 1500"},
        {"1499", "1499", true, "Int16", ""},
        {"leading blank", " 5", true, "Int16", ""},
        {"hexadecimal", "$10", true, "Int16", ""},
        {"empty", "", true, "Int16", "Error row 3!! Position Must be Between 0 and 1500"},
        {"negative", "-1", true, "Int16", "Error row 3!! Position Must be Between 0 and 1500"},
        {"disabled", "9999", false, "Int16", ""},
        {"blank type", "9999", true, "  ", ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Form->FormShow();
        Put_Row(1, {"Byte", "0", "1", "a", "Read Only", ""});
        Put_Row(3, {k.type, k.position, "2", "c", "Read Only", ""}, k.enabled);
        Expect_Rules(k.message);
    }
    // Row 2 without a type does not end the check, though it ends what is saved.
    Form->FormShow();
    Put_Row(1, {"Byte", "0", "1", "a", "Read Only", ""});
    Put_Row(3, {"Byte", "9999", "1", "c", "Read Only", ""});
    Services.MessageBoxes.clear();
    Form->Btn_OKClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Error row 3!! Position Must be Between 0 and 1500"});
    EXPECT_FALSE(QFileInfo::exists(File_OPC_UA_Server));
    G->SetCells(3, 3, "7");
    Form->Btn_OKClick(nullptr);
    const QStringList saved = Canonical(kt_test::ReadFile(File_OPC_UA_Server));
    ASSERT_EQ(saved.size(), 4);  // root, section, row 1, comment
    EXPECT_TRUE(saved[2].contains("Name=\"a\""));
}

TEST_F(OpcUaAccess, RowButtonsKeepTheLengthLocksWithTheirRows)
{
    Form->FormShow();
    Put_Row(1, {"String", "0", "32", "s", "Read Only", ""});
    Put_Row(2, {"Double", "40", "8", "d", "Read/Write", "x"}, false);
    Form->VarSetLength("Double", 2, 2);
    G->SetCells(4, 2, "8");
    ASSERT_TRUE(Locked(2));

    // Insert at row 1: the Double row moves to row 3 with its lock; the new row 1 is free.
    G->SetRow(1);
    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row(1), (QStringList{"Y", "", "", "", "", "", ""}));
    EXPECT_EQ(Row(3), (QStringList{"N", "Double", "40", "8", "d", "Read/Write", "x"}));
    EXPECT_FALSE(Locked(1));
    EXPECT_FALSE(Locked(2));
    EXPECT_TRUE(Locked(3));

    // Delete row 1 (asked with the number in the text): the String row comes back up unlocked.
    Services.MessageBoxAnswers = {mrYes};
    Form->Btn_DelRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Are you sure to delete the Row number 1"});
    EXPECT_EQ(Row(1)[1], "String");
    EXPECT_FALSE(Locked(1));
    EXPECT_TRUE(Locked(2));
    EXPECT_TRUE(Enabled(250));

    // Paste of the Double row into an empty row: every text, the copied length, a locked cell.
    G->SetRow(2);
    Form->Btn_CopyRowClick(nullptr);
    G->SetRow(5);
    Services.MessageBoxes.clear();
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Row(5), (QStringList{"N", "Double", "40", "8", "d", "Read/Write", "x"}));
    EXPECT_TRUE(Locked(5));
    G->SetCells(4, 2, "9");  // a length the type would not give survives a paste
    G->SetRow(2);
    Form->Btn_CopyRowClick(nullptr);
    G->SetRow(6);
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_EQ(G->Cells(4, 6), "9");

    // A new showing clears every lock before the file is read.
    Form->FormShow();
    for (int r : {2, 5, 6})
        EXPECT_FALSE(Locked(r)) << r;

    // A paste refused for want of a copy still gives a typed row its default access.
    Put_Row(4, {"Int16", "1", "2", "n", "", ""});
    G->SetRow(4);
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_EQ(Messages().last(), "Error!!! Copy a valid row before Paste it");
    EXPECT_EQ(G->Cells(6, 4), "Read/Write");
    EXPECT_TRUE(Locked(4));
}

TEST_F(OpcUaAccess, Grab)
{
    Put_File("OPC_UA_Server.xml", Fixture("OPC_UA_Server_load.xml"));
    Form->FormShow();
    Grab(Form.get(), "OPC_UA_Server_Access.png");
}
