// The SNMP variables dialog: its two grids, the file with its guarded reads, the character rules
// of community names and descriptions, the rules of OK with the unique descriptions, the numbering
// of the enabled rows and the row buttons.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "grid/AdvCGrid.h"
#include "render/LbButton.h"
#include "tables/USNMP_Trap_Access.h"

#include <QApplication>
#include <QTabWidget>

#include <memory>

using namespace platform;
using namespace table_test;

namespace {

// Columns 1 .. 14 of a read row and 1 .. 9 of a write row that pass every rule.
const QStringList Good_Read = {"Y", "public", "Int", "N", "N", "Y", "500", "10", "0", "16",
                               "temp1", "192.168.1.125", "None", "read"};
const QStringList Good_Write = {"Y", "Private", "String", "4", "0", "16", "setp", "Float", "write"};

class SnmpAccess : public Dialog_Test<TFSNMP_Trap_Access> {
protected:
    void SetUp() override
    {
        Open(File_SNMP_Trap, "SNMP_Trap.xml", "USNMP_Trap_Access");
        Read = Form->ACG_SNMP_Read;
        Write = Form->ACG_SNMP_Write;
    }
    // The row numbers of rows 1 .. count.
    static QStringList Numbers(TZidIzavodUraz* g, int count) { return Column_Of(g, 0, count); }

    TZidIzavodUraz* Read = nullptr;
    TZidIzavodUraz* Write = nullptr;
};

} // namespace

TEST_F(SnmpAccess, WindowGridsAndTexts)
{
    Expect_Described_Window(*Form, 1256, 337, "Set SNMP Trap Access");
    EXPECT_EQ(Tab_Texts(Form->PageControl1), (QStringList{"SNMP Read", "SNMP Write"}));
    EXPECT_EQ(Form->Btn_OK->toolTip(), "Confirm and save the SNMP Trap List");

    struct Grid {
        TZidIzavodUraz* g;
        QStringList headers;
        QList<int> widths;
        QList<int> checks, lists, edits, limited;
        int conversion;
    } grids[] = {
        {Read,
         {"N", "Enable", "Community Name", "Type", "On Change", "On CMD", "On Timer", "Time (ms)", "Position",
          "Start Bit", "Num Bits/Bytes", "Description", "IP Address", "Conversion", "Mnemonic"},
         {40, 50, 130, 60, 75, 50, 60, 65, 60, 60, 95, 130, 120, 100, 130},
         {1, 4, 5, 6},
         {3, 8, 9, 13},
         {2},
         {2, 11},
         13},
        {Write,
         {"N", "Enable", "Community Name", "Type", "Position", "Start Bit", "Num Bits/Bytes", "Description",
          "Conversion", "Mnemonic"},
         {40, 50, 130, 60, 60, 60, 95, 130, 100, 500},
         {1},
         {3, 4, 5, 8},
         {2},
         {2, 7},
         8},
    };
    for (const Grid& k : grids) {
        SCOPED_TRACE(k.g->objectName().toStdString());
        Expect_Headers_And_Widths(k.g, k.headers, k.widths);
        EXPECT_EQ(k.g->RowCount(), 257);
        Expect_Editors(k.g, k.checks, k.lists, k.edits);
        for (int c = 0; c < k.headers.size(); ++c)
            EXPECT_EQ(k.g->Columns().Items(c)->EditLength(), k.limited.contains(c) ? 15 : 0) << c;
        TGridColumnItem* conv = k.g->Columns().Items(k.conversion);
        ASSERT_EQ(conv->ComboItems().Count(), 6);
        EXPECT_EQ(conv->ComboItems().Strings(2), "Float * 10");
        EXPECT_EQ(conv->ComboItems().Strings(5), "Float / 100");
        EXPECT_EQ(conv->Color(), 0xB0D8FF);
        EXPECT_EQ(k.g->Columns().Items(2)->ComboItems().Strings(1), "Private");
    }
    EXPECT_EQ(Read->Columns().Items(10)->Color(), 0xA8FFFF);
    EXPECT_EQ(Read->Columns().Items(11)->Color(), 0xFFD5D5);
    EXPECT_EQ(Read->Columns().Items(12)->Color(), 0xE4E4C9);

    // Header hints only: every other cell has none, whatever the grid made of it.
    Expect_Hints([&](int r, int c, QString& hint) { Form->SGA_GridHint(Read, r, c, hint); },
                 {
                     {0, 2, "Insert the Community Name for the SNMP Trap (Max 15 characters)"},
                     {0, 13, "Select the Data Conversion from Float to Int"},
                     {0, 14, "Insert a Description of SNMP Trap"},
                     {3, 2, ""},
                 });
    Expect_Hints([&](int r, int c, QString& hint) { Form->SGA_GridHint(Write, r, c, hint); },
                 {
                     {0, 5, "Insert the Start Bit of Array where to Write the data"},
                     {0, 8, "Select the Data Conversion from Int to Float"},
                     {0, 0, ""},
                 });
    EXPECT_TRUE(Read->ShowHint());
    EXPECT_TRUE(Write->ShowHint());
}

TEST_F(SnmpAccess, ShowWithoutFileThenOkWritesEmptySections)
{
    Form->FormShow();
    for (TZidIzavodUraz* g : {Read, Write}) {
        EXPECT_EQ(g->Cells(1, 256), "Y");
        EXPECT_EQ(g->Cells(2, 256), "");
        EXPECT_EQ(g->Cells(0, 256), "256");  // every reset row is enabled, so numbered
    }
    ASSERT_EQ(Read->Columns().Items(8)->ComboItems().Count(), 1440);
    EXPECT_EQ(Write->Columns().Items(4)->ComboItems().Strings(1439), "1439");
    Expect_Ok_Writes(Fix("SNMP_Trap_empty.xml"));
}

TEST_F(SnmpAccess, LoadedFileIsSavedBackWithItsDefaults)
{
    Show_Fixture("SNMP_Trap_load.xml");
    Expect_No_Messages();
    // Missing Enable, On_* and Conversion take their defaults; the other cells stay empty.
    EXPECT_EQ(Row_Of(Read, 2), (QStringList{"N", "Private", "String", "N", "N", "N", "", "", "", "", "Bad_Desc", "",
                                         "None", "off"}));
    EXPECT_EQ(Read->Cells(1, 3), "Y");
    EXPECT_EQ(Read->Cells(14, 1), "line one\nline two");
    EXPECT_EQ(Write->Cells(8, 1), "None");
    // Row numbers count the enabled rows only.
    EXPECT_EQ(Numbers(Read, 4), (QStringList{"1", "", "2", "3"}));

    Expect_Ok_Writes(Fix("SNMP_Trap_saved.xml"));
}

TEST_F(SnmpAccess, CharacterRulesOfNamesAndDescriptions)
{
    struct Case {
        QString text;
        bool community_error, description_error;
    } cases[] = {
        {"temp1", false, false},  {"Public2", false, true}, {"1abc", false, true},   {"", false, false},
        {"a_b", true, true},      {"a b", true, true},      {"abc ", true, true},    {"a-b", true, true},
        {QString::fromUtf8("caf\u00e9"), true, true},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(TFSNMP_Trap_Access::Check_Error_CommName_Desc(k.text, 0), k.community_error) << k.text.toStdString();
        EXPECT_EQ(TFSNMP_Trap_Access::Check_Error_CommName_Desc(k.text, 1), k.description_error)
            << k.text.toStdString();
    }
}

TEST_F(SnmpAccess, ValidationStopsAtTheFirstBrokenRule)
{
    const QString e = "Error row 1!! [SNMP ";
    const QString chars = "(allowed characters are \"a\"..\"z\", \"A\"..\"Z\" and \"0\"..\"9\")";
    const Two_Grid_Rule_Case cases[] = {
        {"good rows", false, {}, ""},
        {"community with a hyphen", false, {{2, "pub-lic"}}, e + "Read] Community Name is not correct " + chars},
        {"community with a trailing blank", true, {{2, "Private "}}, e + "Write] Community Name is not correct " + chars},
        {"community longer than 15 characters", false, {{2, "abcdefghijklmnopq"}}, ""},
        {"type blank", false, {{3, " "}}, e + "Read] Type must be selected"},
        {"write type blank", true, {{3, ""}}, e + "Write] Type must be selected"},
        {"timer with time 0", false, {{7, "0"}}, e + "Read] Time must be between 1 and 1000000000 ms"},
        {"timer with time 1000000000", false, {{7, "1000000000"}}, ""},
        {"timer with time 1000000001", false, {{7, "1000000001"}}, e + "Read] Time must be between 1 and 1000000000 ms"},
        {"timer in lower case", false, {{6, "y"}, {7, ""}}, e + "Read] Time must be between 1 and 1000000000 ms"},
        {"no timer, no time", false, {{6, "N"}, {7, ""}}, ""},
        {"position blank", false, {{8, ""}}, e + "Read] Position must be selected"},
        {"write position blank", true, {{4, ""}}, e + "Write] Position must be selected"},
        {"start bit blank", true, {{5, " "}}, e + "Write] Start Bit must be selected"},
        {"string with start bit 3", false, {{3, "String"}, {9, "3"}}, e + "Read] Start Bit must be 0 if Type is String"},
        {"string with start bit 3, write", true, {{5, "3"}}, e + "Write] Start Bit must be 0 if Type is String"},
        {"string of 17 bytes", true, {{6, "17"}}, e + "Write] Num Bits/Bytes must be between 1 and 16 bytes"},
        {"string of 16 bytes", false, {{3, "String"}, {10, "16"}}, ""},
        {"int of 64 bits", false, {{10, "64"}, {9, "5"}}, ""},
        {"int of 65 bits", false, {{10, "65"}}, e + "Read] Num Bits/Bytes must be between 1 and 64 bits"},
        {"int in lower case", true, {{3, "int"}, {5, "3"}, {6, "64"}}, ""},
        {"a type outside the list counts as a string", false, {{3, "Real"}, {10, "17"}},
         e + "Read] Num Bits/Bytes must be between 1 and 16 bytes"},
        {"description with a capital", false, {{11, "Temp1"}},
         e + "Read] Description is not correct " + chars + ". First character must be a letter and must be lowercase"},
        {"description with an underscore", true, {{7, "set_p"}},
         e + "Write] Descrtiption is not correct " + chars + ". First character must be a letter and must be lowercase"},
        {"empty description", false, {{11, ""}}, ""},
        {"IP with two dots", false, {{12, "192.168.1"}}, e + "Read] IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"IP with 256", false, {{12, "192.168.1.256"}}, e + "Read] IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"IP with blanks around", false, {{12, " 10.0.0.1 "}}, ""},
        {"conversion blank", false, {{13, ""}}, e + "Read] Conversion must be selected"},
        {"write conversion blank", true, {{8, " "}}, e + "Write] Conversion must be selected"},
        {"disabled row breaking every rule", false, {{1, "N"}, {2, "a b"}, {3, ""}, {12, "x"}}, ""},
        {"lower-case y is enabled", false, {{1, "y"}, {3, ""}}, e + "Read] Type must be selected"},
    };
    Expect_Row_1_Rules(cases, Read, Good_Read, Write, Good_Write);
}

TEST_F(SnmpAccess, DescriptionsOfEnabledRowsMustDiffer)
{
    struct Case {
        const char* name;
        QString read2, write1;  // descriptions of read row 2 and write row 1 (read row 1: temp1)
        QString enable_write;
        bool ok;
    } cases[] = {
        {"same in both grids", "other", "temp1", "Y", false},
        {"same, one of them disabled", "other", "temp1", "N", true},
        {"two empty descriptions", "", "", "Y", false},
        {"all different", "temp2", "temp3", "Y", true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Form->FormShow();
        Put_Row(Read, 1, Good_Read);
        Put_Row(Read, 2, Good_Read);
        Read->SetCells(11, 2, k.read2);
        Put_Row(Write, 1, Good_Write);
        Write->SetCells(7, 1, k.write1);
        Write->SetCells(1, 1, k.enable_write);
        Services.MessageBoxes.clear();
        EXPECT_EQ(Form->Controllo_dati(), k.ok);
        EXPECT_EQ(Messages(), k.ok ? QStringList{} : QStringList{"Error!! The Descriptions must be all differents"});
    }
    // Letters of another case are other descriptions.
    Form->FormShow();
    Put_Row(Read, 1, Good_Read);
    Put_Row(Write, 1, Good_Write);
    Write->SetCells(7, 1, "tEMP1");
    Services.MessageBoxes.clear();
    EXPECT_TRUE(Form->Controllo_dati()) << Messages().join("\n").toStdString();
    EXPECT_EQ(Form->SL_Check_Desc, (QStringList{"temp1", "tEMP1"}));
}

TEST_F(SnmpAccess, RowNumbersFollowTheEnableBoxes)
{
    Form->FormShow();
    for (int r = 1; r <= 3; ++r)
        Put_Row(Read, r, Good_Read);
    Read->SetCells(1, 2, "N");
    // Nothing renumbers until a box of column 1 is clicked.
    EXPECT_EQ(Numbers(Read, 4), (QStringList{"1", "2", "3", "4"}));
    Form->ACG_SNMP_ReadCheckBoxClick(Read, 4, 2, false);
    EXPECT_EQ(Numbers(Read, 4), (QStringList{"1", "2", "3", "4"}));
    Form->ACG_SNMP_ReadCheckBoxClick(Read, 1, 2, false);
    EXPECT_EQ(Numbers(Read, 4), (QStringList{"1", "", "2", "3"}));
    EXPECT_EQ(Numbers(Write, 2), (QStringList{"1", "2"}));

    // Inserting leaves the numbers alone; the new row is enabled.
    Read->SetRow(1);
    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row_Of(Read, 1), (QStringList{"Y"} + QStringList(13, "")));
    EXPECT_EQ(Read->Cells(1, 3), "N");
    EXPECT_EQ(Numbers(Read, 4), (QStringList{"1", "", "2", "3"}));
}

TEST_F(SnmpAccess, RowButtonsAndTabs)
{
    Form->FormShow();
    Put_Row(Read, 1, Good_Read);
    Put_Row(Read, 2, Good_Read);
    Read->SetCells(14, 2, "second");
    Put_Row(Write, 1, Good_Write);

    Read->SetRow(1);
    Services.MessageBoxAnswers = {mrYes};
    Form->Btn_DelRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Are you sure to delete the Row number 1"});
    EXPECT_EQ(Read->Cells(14, 1), "second");
    EXPECT_EQ(Read->Cells(1, 256), "");

    // A write row pastes into the write grid only; copying in one grid clears the other's flag.
    Form->PageControl1->setCurrentWidget(Form->TS_SNMP_Write);
    Write->SetRow(1);
    Form->Btn_CopyRowClick(nullptr);
    EXPECT_TRUE(Form->Do_Copy_In_Write);
    EXPECT_FALSE(Form->Do_Copy_In_Read);
    Write->SetRow(2);
    Services.MessageBoxes.clear();
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Row_Of(Write, 2), Good_Write);
    Form->PageControl1->setCurrentWidget(Form->TS_SNMP_Read);
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Error!!! Copy a valid row before Paste it"});

    // The show keeps the tab that was in front.
    Form->PageControl1->setCurrentWidget(Form->TS_SNMP_Write);
    Form->FormShow();
    EXPECT_EQ(Form->PageControl1->currentWidget(), Form->TS_SNMP_Write);
    EXPECT_FALSE(Form->Do_Copy_In_Write);
}

TEST_F(SnmpAccess, Grab)
{
    Put_File("SNMP_Trap.xml", Fix("SNMP_Trap_load.xml"));
    Form->PageControl1->setCurrentWidget(Form->TS_SNMP_Read);
    Form->FormShow();
    Grab(Form.get(), "USNMP_Trap_Access.png");
}
