// The BACnet objects dialog: its grids with the hidden Swap column, the row count the parameters
// file chooses, the file with its one default, the rules of OK with the object count, the length a
// type choice proposes, the unit picker on a double click and the row buttons.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "grid/AdvCGrid.h"
#include "render/LbButton.h"
#include "tables/UBACnetSlaveSetAccess.h"
#include "tables/UBACnet_Eng_Unit.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <memory>

using namespace platform;
using namespace table_test;

namespace {

// Columns 1 .. 7 of a row that passes every rule in both grids.
const QStringList Good = {"Analog Value", "62", "0", "", "4", "N", "obj"};

// The picker as a test drives it: records what it was given and answers at once.
class Scripted_Unit_Picker : public TFBACnet_Eng_Unit {
public:
    TModalResult Answer = mrOk;
    QString Chosen;
    QString Given_Code, Given_Label;
    int Shown = 0;
    TModalResult ShowModal() override
    {
        ++Shown;
        Given_Code = E_Selected_EU->text();
        Given_Label = Label5->text();
        E_Selected_EU->setText(Chosen);
        return Answer;
    }
};

class BACnetObjects : public Dialog_Test<TFBACnetSlaveSetAccess> {
protected:
    void SetUp() override
    {
        File_ParGen = Path("ParGen.xml");
        Open(File_BACnet_Slave, "BACnet_Slave.xml", "UBACnetSlaveSetAccess");
        Read = Form->ACG_BACnet_in_Read;
        Write = Form->ACG_BACnet_in_Write;
        Picker = std::make_unique<Scripted_Unit_Picker>();
        Picker->Create();
        FBACnet_Eng_Unit = Picker.get();
    }
    void TearDown() override
    {
        FBACnet_Eng_Unit = nullptr;
        Double_Click_Auto_Size = false;
    }
    // Columns 1 .. 7, the hidden Swap (6) among them.
    static QStringList Row(TZidIzavodUraz* g, int r) { return Row_With_Hidden(g, r); }

    std::unique_ptr<Scripted_Unit_Picker> Picker;
    TZidIzavodUraz* Read = nullptr;
    TZidIzavodUraz* Write = nullptr;
};

} // namespace

TEST_F(BACnetObjects, WindowGridsAndTexts)
{
    Expect_Window(*Form, 764, 337, "BACnet Set Access");
    EXPECT_EQ(Tab_Texts(Form->PageControl1), (QStringList{"BACnet in Read", "BACnet in Write"}));
    EXPECT_EQ(Form->Btn_Cancel->toolTip(), "Exit without save the SNMP Trap List");
    const QStringList headers = {"N", "Data Type", "Eng. Unit", "Position", "Start Bit", "Length", "Swap", "Mnemonic"};
    const QList<int> widths = {40, 150, 100, 64, 64, 64, 40, 250};
    for (TZidIzavodUraz* g : {Read, Write}) {
        SCOPED_TRACE(g->objectName().toStdString());
        EXPECT_EQ(g->ColCount(), 7);
        EXPECT_EQ(g->NumHiddenColumns(), 1);
        EXPECT_TRUE(g->IsHiddenColumn(6));
        for (int c = 0; c < 8; ++c) {
            EXPECT_EQ(g->Cells(c, 0), headers[c]) << c;
            EXPECT_EQ(g->AllColWidths(c), widths[c]) << c;
        }
        EXPECT_EQ(g->Columns().Items(6)->Editor(), edDataCheckBox);
        EXPECT_EQ(g->Columns().Items(1)->Editor(), edComboList);
        EXPECT_EQ(g->Columns().Items(4)->ComboItems().Count(), 8);
        EXPECT_EQ(g->Columns().Items(3)->Color(), 16045820);
        EXPECT_FALSE(g->ShowHint());
    }
    const platform::TStringList& readTypes = Read->Columns().Items(1)->ComboItems();
    ASSERT_EQ(readTypes.Count(), 13);
    EXPECT_EQ(readTypes.Strings(0), "Analog Input");
    EXPECT_EQ(readTypes.Strings(12), "Accumulator");
    const platform::TStringList& writeTypes = Write->Columns().Items(1)->ComboItems();
    ASSERT_EQ(writeTypes.Count(), 10);
    EXPECT_EQ(writeTypes.Strings(7), "Multi State Output");

    // The headers are the grid's own row 0; a new language writes them again.
    Lang_Table.Set(2518, "Unita");
    Form->Set_Lang();
    EXPECT_EQ(Read->Cells(2, 0), "Unita");
    Form->FormShow();
    EXPECT_EQ(Read->Cells(2, 0), "Unita");
    EXPECT_EQ(Write->Cells(6, 0), "Swap");
}

TEST_F(BACnetObjects, ParametersFileChoosesTheRowCount)
{
    struct Case {
        const char* name;
        QByteArray pargen;  // empty: no file
        int rows;
        int messages;
    } cases[] = {
        {"no parameters file", "", 2001, 0},
        {"limit 1", "<ParGen><IP_1>10</IP_1><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit></ParGen>", 1001, 0},
        {"limit 0", "<ParGen><BACnet_Desc_Chars_Limit>0</BACnet_Desc_Chars_Limit></ParGen>", 2001, 0},
        {"limit with blanks", "<ParGen><BACnet_Desc_Chars_Limit> 1</BACnet_Desc_Chars_Limit></ParGen>", 2001, 0},
        {"no element", "<ParGen/>", 2001, 0},
        {"not well-formed", "<ParGen><BACnet_Desc_Chars_Limit>1</ParGen>", 2001, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        QFile::remove(File_ParGen);
        if (!k.pargen.isEmpty())
            Put_File("ParGen.xml", k.pargen);
        Services.MessageBoxes.clear();
        Form->FormShow();
        EXPECT_EQ(Read->RowCount(), k.rows);
        EXPECT_EQ(Write->RowCount(), k.rows);
        EXPECT_EQ(Form->Object_Limit(), k.rows - 1);
        EXPECT_EQ(Services.MessageBoxes.size(), k.messages);
        EXPECT_EQ(Read->Cells(0, k.rows - 1), QString::number(k.rows - 1));
    }
}

TEST_F(BACnetObjects, ShowWithoutFileThenOkWritesEmptySections)
{
    Put_Row(Read, 1500, Good);  // a longer table of an earlier showing does not come back
    Form->FormShow();
    EXPECT_EQ(Row(Read, 1500), QStringList(7, ""));
    EXPECT_EQ(Form->PageControl1->currentWidget(), Form->TS_BACnet_in_Read);
    EXPECT_EQ(Read->Columns().Items(3)->ComboItems().Count(), 1500);
    Expect_Ok_Writes(Fix("BACnet_Slave_empty.xml"));
}

TEST_F(BACnetObjects, LoadedFileIsSavedBackWithItsDefault)
{
    Show_Fixture("BACnet_Slave_load.xml");
    Expect_No_Messages();
    EXPECT_EQ(Row(Read, 2), (QStringList{"Binary Input", "95", "1499", "7", "", "N", "Alarm"}));
    EXPECT_EQ(Read->Cells(7, 1), "Temp\nroom");
    EXPECT_EQ(Read->Cells(6, 1), "Y");  // the hidden Swap is loaded like the others
    Form->bitbtn1Click(nullptr);
    Expect_No_Messages();
    EXPECT_EQ(Saved(), Canonical(Fix("BACnet_Slave_saved.xml")));
}

TEST_F(BACnetObjects, RowsWithoutAnAttributeStopTheLoad)
{
    const QByteArray file = "<BACnet_to_Modbus><BACnet_in_Read>"
                            "<row Data_Type=\"Analog Input\" Eng_Unit=\"1\" Position=\"0\" Bit=\"\" Length=\"1\" Mnemonic=\"a\"/>"
                            "<row Data_Type=\"Analog Input\" Eng_Unit=\"1\" Position=\"4\" Length=\"1\" Mnemonic=\"b\"/>"
                            "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>";
    Show_File(file);
    Expect_Refused_File(file, "row 2 of \"BACnet_in_Read\" has no attribute \"Bit\".");
    EXPECT_EQ(Row(Read, 1), (QStringList{"Analog Input", "1", "0", "", "1", "N", "a"}));
    EXPECT_EQ(Row(Read, 2), QStringList(7, ""));  // the half-read row is dropped whole
}

TEST_F(BACnetObjects, ValidationStopsAtTheFirstBrokenRule)
{
    const QString r = "Error row 1!! [BACnet in Read] ";
    const QString w = "Error row 1!! [BACnet in Write] ";
    struct Case {
        const char* name;
        bool write;
        QStringList row;  // columns 1 .. 7
        QString message;  // empty: passes
    } cases[] = {
        {"good row", false, Good, ""},
        {"empty unit", false, {"Analog Value", "", "0", "", "4", "", ""}, r + "Eng. Unit must be between 0 and 65535"},
        {"unit 65535", true, {"Analog Value", "65535", "0", "", "4", "", ""}, ""},
        {"unit 65536", true, {"Analog Value", "65536", "0", "", "4", "", ""}, w + "Eng. Unit must be between 0 and 65535"},
        {"position 1500", false, {"Analog Value", "1", "1500", "", "1", "", ""}, r + "Position must be between 0 and 1499"},
        {"empty position", true, {"Analog Value", "1", "", "", "1", "", ""}, w + "Position must be between 0 and 1499"},
        {"1499 and 1 byte", false, {"Analog Input", "1", "1499", "", "1", "", ""}, ""},
        {"1499 and 2 bytes", false, {"Analog Input", "1", "1499", "", "2", "", ""},
         r + "Too many bytes to save starting from the Position indicate"},
        {"1496 and 4 bytes", true, {"Analog Out", "1", "1496", "", "4", "", ""}, ""},
        {"1497 and 4 bytes", true, {"Analog Out", "1", "1497", "", "4", "", ""},
         w + "Too many bytes to save starting from the Position indicate"},
        {"binary at 1499 without length", false, {"Binary Input", "1", "1499", "0", "", "", ""}, ""},
        {"binary without start bit", false, {"Binary Input", "1", "3", " ", "", "", ""}, r + "Bit must be between 0 and 7"},
        {"binary value without start bit", true, {"Binary Value", "1", "3", "", "9", "", ""}, w + "Bit must be between 0 and 7"},
        {"binary out in the read grid is no two-state type", false, {"Binary Out", "1", "3", "", "", "", ""}, ""},
        {"access door of 2", false, {"Access Door", "1", "0", "", "2", "", ""},
         r + "Length with variable \"Access Door\" must be equal to 1"},
        {"access door of 2, write", true, {"Access Door", "1", "0", "", "2", "", ""},
         w + "Length with variable \"Access Door\" must be equal to 1"},
        {"analog input of 5", false, {"Analog Input", "1", "0", "", "5", "", ""},
         r + "Length with variable \"Analog Input\" must be between 1 and 4"},
        {"analog input without length", false, {"Analog Input", "1", "0", "", "", "", ""},
         r + "Length with variable \"Analog Input\" must be between 1 and 4"},
        {"large analog value of 8", false, {"Large Analog Value", "1", "0", "", "8", "", ""}, ""},
        {"large analog value of 9", true, {"Large Analog Value", "1", "0", "", "9", "", ""},
         w + "Length with variable \"Large Analog Value\" must be between 1 and 8"},
        {"life safety zone of 3", false, {"Life Safety Zone", "1", "0", "", "3", "", ""},
         r + "Length with variable \"Life Safety Zone\" must be 1 or 2"},
        {"accumulator of 0", false, {"Accumulator", "1", "0", "", "0", "", ""},
         r + "Length with variable \"Accumulator\" must be between 1 and 4"},
        {"multi state output of 5", true, {"Multi State Output", "1", "0", "", "5", "", ""},
         w + "Length with variable \"Multi State Output\" must be between 1 and 4"},
        {"integer value of 5, write", true, {"Integer Value", "1", "0", "", "5", "", ""},
         w + "Length with variable \"Integer Value\" must be between 1 and 4"},
        {"integer value of 77, read: end test only", false, {"Integer Value", "1", "0", "", "77", "", ""}, ""},
        {"a type from a hand-edited file", false, {"analog input", "1", "1400", "", "100", "", ""}, ""},
        {"a type from a hand-edited file past the end", false, {"Thermostat", "1", "1400", "", "101", "", ""},
         r + "Too many bytes to save starting from the Position indicate"},
        {"a type in the other grid's list", true, {"Analog Input", "1", "0", "", "50", "", ""}, ""},
        // Position plus length must not wrap around the 32-bit range.
        {"largest length past the end", false, {"Integer Value", "1", "100", "", "2147483647", "", ""},
         r + "Too many bytes to save starting from the Position indicate"},
        {"largest hex length past the end", true, {"Thermostat", "1", "1499", "", "$7FFFFFFF", "", ""},
         w + "Too many bytes to save starting from the Position indicate"},
    };
    Expect_Rule_Cases(cases, [&](const Case& k) { Put_Row(k.write ? Write : Read, 1, k.row); });

    // Row 3 of the write grid reports row 3; rows after the first blank type are left out.
    Form->FormShow();
    for (int row = 1; row <= 3; ++row) {
        Put_Row(Read, row, Good);
        Put_Row(Write, row, Good);
    }
    Read->SetCells(1, 2, " ");
    Read->SetCells(2, 3, "bad");
    Write->SetCells(5, 3, "5");
    Services.MessageBoxes.clear();
    Form->bitbtn1Click(nullptr);
    EXPECT_EQ(Messages(),
              QStringList{"Error row 3!! [BACnet in Write] Length with variable \"Analog Value\" must be between 1 and 4"});
    EXPECT_FALSE(QFileInfo::exists(File_BACnet_Slave));
}

TEST_F(BACnetObjects, BothTablesTogetherHoldTheObjectLimit)
{
    struct Case {
        const char* name;
        QByteArray pargen;
        int read_rows, write_rows;
        QString message;
    } cases[] = {
        {"1500 and 600 of 2000", "", 1500, 600, "Error!! Too many Requests. Max requests 2000"},
        {"1400 and 600 of 2000", "", 1400, 600, ""},
        {"600 and 401 of 1000", "<ParGen><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit></ParGen>", 600, 401,
         "Error!! Too many Requests. Max requests 1000"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        QFile::remove(File_ParGen);
        if (!k.pargen.isEmpty())
            Put_File("ParGen.xml", k.pargen);
        Form->FormShow();
        Read->BeginUpdate();
        for (int row = 1; row <= k.read_rows; ++row)
            Put_Row(Read, row, Good);
        Read->EndUpdate();
        Write->BeginUpdate();
        for (int row = 1; row <= k.write_rows; ++row)
            Put_Row(Write, row, Good);
        Write->EndUpdate();
        Expect_Rules(k.message);
    }
}

TEST_F(BACnetObjects, TypeChoiceInTheWriteGridProposesALength)
{
    Form->FormShow();
    struct Case {
        TZidIzavodUraz* g;
        int col;
        QString choice, length;
    } cases[] = {
        {Write, 1, "Large Analog Value", "8"}, {Write, 1, "Binary Value", "1"}, {Write, 1, "Access Door", "1"},
        {Write, 1, "Multi State Output", "4"}, {Write, 1, "analog out", "4"},   {Write, 1, "Something", "4"},
        {Write, 3, "12", "4"},
    };
    for (const Case& k : cases) {
        Form->ACG_BACnet_in_WriteComboChange(k.g, k.col, 2, 0, k.choice);
        EXPECT_EQ(Write->Cells(5, 2), k.length) << k.choice.toStdString();
    }
    EXPECT_EQ(Read->Cells(5, 2), "");
}

TEST_F(BACnetObjects, DoubleClickOnAUnitOpensThePicker)
{
    Form->FormShow();
    Put_Row(Read, 2, Good);
    Put_Row(Write, 1, Good);
    Write->SetCells(2, 1, "abc");
    struct Case {
        const char* name;
        bool write;
        int row, col;
        TModalResult answer;
        QString chosen;
        int shown;
        QString code, label, cell;
    } cases[] = {
        {"read unit, Cancel", false, 2, 2, mrCancel, "99", 1, "62", "-> degrees-Celsius", "62"},
        {"read unit, OK", false, 2, 2, mrOk, "95", 1, "62", "-> degrees-Celsius", "95"},
        {"write unit that is no number", true, 1, 2, mrOk, "anything", 1, "abc", "-> unknown", "anything"},
        {"another column", false, 2, 3, mrOk, "1", 0, "", "", "0"},
        {"the header", false, 0, 2, mrOk, "1", 0, "", "", "Eng. Unit"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TZidIzavodUraz* g = k.write ? Write : Read;
        Picker->Shown = 0;
        Picker->Answer = k.answer;
        Picker->Chosen = k.chosen;
        if (k.write)
            Form->ACG_BACnet_in_WriteDblClickCell(g, k.row, k.col);
        else
            Form->ACG_BACnet_in_ReadDblClickCell(g, k.row, k.col);
        EXPECT_EQ(Picker->Shown, k.shown);
        if (k.shown) {
            EXPECT_EQ(Picker->Given_Code, k.code);
            EXPECT_EQ(Picker->Given_Label, k.label);
        }
        EXPECT_EQ(g->Cells(k.col, k.row), k.cell);
    }
}

TEST_F(BACnetObjects, RowButtonsWorkOnTheTabInFront)
{
    Form->FormShow();
    for (int row = 1; row <= 3; ++row) {
        Put_Row(Read, row, Good);
        Read->SetCells(7, row, QStringLiteral("obj %1").arg(row));
    }
    Read->SetCells(6, 2, "Y");

    Read->SetRow(1);
    Services.MessageBoxAnswers = {mrYes};
    Form->Btn_DelRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Are you sure to delete the Row number 1"});
    EXPECT_EQ(Read->Cells(7, 1), "obj 2");
    EXPECT_EQ(Read->Cells(6, 1), "Y");  // the hidden Swap moves with its row

    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row(Read, 1), QStringList(7, ""));
    EXPECT_EQ(Read->Cells(7, 2), "obj 2");

    // A read row pastes into the read grid only, hidden Swap included.
    Read->SetRow(2);
    Form->Btn_CopyRowClick(nullptr);
    EXPECT_TRUE(Form->Do_Copy_Read);
    EXPECT_FALSE(Form->Do_Copy_Write);
    Read->SetRow(5);
    Services.MessageBoxes.clear();
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Row(Read, 5), Row(Read, 2));
    Form->PageControl1->setCurrentWidget(Form->TS_BACnet_in_Write);
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Error!!! Copy a valid row before Paste it"});
    EXPECT_EQ(Write->Cells(1, 1), "");

    // A click on a row number selects that row.
    Form->ClickCell(Write, 4, 0);
    EXPECT_EQ(Write->Selection().Top, 4);
    EXPECT_EQ(Write->Selection().Bottom, 4);
}

TEST_F(BACnetObjects, Grab)
{
    Grab_Loaded("BACnet_Slave_load.xml", "UBACnetSlaveSetAccess.png");
}
