// The CANopen SDO client dialog: its two grids, the rules of read and write requests with the
// bytes N Byte asks for, its file, and the row buttons and hints of the grid in front.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "render/LbButton.h"
#include "tables/USet_SDO_Client_Access.h"

#include <QApplication>
#include <QTabWidget>

#include <memory>
#include <utility>
#include <vector>

using namespace platform;
using namespace table_test;

namespace {

// Columns 1 .. 10 of a read request and 1 .. 11 of a write request that pass every rule.
const QStringList Good_Read = {"5", "0x6000", "1", "2", "100", "0", "1", "", "", "temperature"};
const QStringList Good_Write = {"6", "0x6001", "0", "2", "0", "N", "10", "11", "", "", "setpoint"};

class SDOClient : public Two_Grid_Test<TFSet_SDO_Client_Access> {
protected:
    void SetUp() override { Open_Grids(File_SDO_Client_CANopen, "SDO_Client_CANopen.xml", "USet_SDO_Client_Access"); }
};

} // namespace

TEST_F(SDOClient, WindowGridsAndTexts)
{
    Expect_Window(*Form, 798, 337, "Set SDO Client Access");
    EXPECT_EQ(Form->Btn_Cancel->toolTip(), "Exit without save the CANopen SDOs Client List");
    EXPECT_EQ(Tab_Texts(Form->PageControl1), (QStringList{"SDO Read", "SDO Write"}));
    EXPECT_EQ(A->RowCount(), 257);
    EXPECT_EQ(B->RowCount(), 257);
    EXPECT_EQ(Headers_Of(A), (QStringList{"N", "ID Device", "Index", "SubIndex", "N Byte", "Poll Time", "Add Byte1",
                                          "Add Byte2", "Add Byte3", "Add Byte4", "Mnemonic"}));
    EXPECT_EQ(Headers_Of(B), (QStringList{"N", "ID Device", "Index", "SubIndex", "N Byte", "Poll Time", "On Change",
                                          "Add Byte1", "Add Byte2", "Add Byte3", "Add Byte4", "Mnemonic"}));
    EXPECT_EQ(Widths_Of(A), (QList<int>{40, 60, 55, 60, 45, 60, 70, 70, 70, 70, 163}));
    EXPECT_EQ(Widths_Of(B), (QList<int>{40, 60, 55, 60, 45, 60, 68, 70, 70, 70, 70, 95}));
    EXPECT_EQ(B->Columns().Items(6)->Editor(), edDataCheckBox);
    EXPECT_EQ(A->Columns().Items(6)->Editor(), edNormal);
    EXPECT_EQ(B->Columns().Items(5)->Color(), 11075496);

    ASSERT_EQ(Form->Hint_SDO_Client_Read.size(), 10);
    ASSERT_EQ(Form->Hint_SDO_Client_Write.size(), 11);
    QString hint;
    Form->GridHint(A, 0, 6, hint);
    EXPECT_EQ(hint, "Insert the position of array where place in byte 1 of CANopen SDO Request");
    Form->PageControl1->setCurrentWidget(Form->TS_SDO_Write);
    Form->GridHint(B, 0, 7, hint);
    EXPECT_EQ(hint, "Insert the position of array where put the byte 1 of CANopen SDO Request");
}

TEST_F(SDOClient, LoadAndSave)
{
    Form->FormShow();
    Form->Btn_OK_Click(nullptr);
    EXPECT_EQ(Saved(), Canonical(Fix("empty.xml")));

    Show_Fixture("load.xml");
    Expect_No_Messages();
    EXPECT_EQ(Row_Of(A, 1), (QStringList{"5", "0x6000", "1", "2", "100", "0", "1", "x", "", "Temperature"}));
    EXPECT_EQ(B->Cells(6, 1), "Y");
    Form->Btn_OK_Click(nullptr);
    Expect_No_Messages();
    EXPECT_EQ(Form->ModalResult(), mrOk);
    EXPECT_EQ(Saved(), Canonical(Fix("saved.xml")));

    // A request without its poll time is a file that cannot be used: the row before it stays, the
    // half-read one goes whole.
    Show_File(
        R"(<SDO_Client_CANopen><SDO_Read/><SDO_Write><row Device_ID="1" Index="0x1000" SubIndex="0" NByte="1" Poll_Time="0" On_Change="Y" Address_B1="1" Address_B2="" Address_B3="" Address_B4="" Mnemonic=""/><row Device_ID="2" Index="0x1000" SubIndex="0" NByte="1" On_Change="Y" Address_B1="1" Address_B2="" Address_B3="" Address_B4="" Mnemonic=""/></SDO_Write></SDO_Client_CANopen>)");
    EXPECT_EQ(B->Cells(1, 1), "1");
    EXPECT_EQ(B->Cells(1, 2), "");
    EXPECT_EQ(B->Cells(5, 2), "");
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].endsWith("row 2 of \"SDO_Write\" has no attribute \"Poll_Time\".")) << Messages()[0].toStdString();
}

TEST_F(SDOClient, ValidationStopsAtTheFirstBrokenRule)
{
    const QString r1 = "Error row 1!! [SDO Read] ";
    const QString w1 = "Error row 1!! [SDO Write] ";
    const Two_Grid_Rule_Case cases[] = {
        {"good requests", false, {}, ""},
        {"device 127", false, {{1, "127"}}, ""},
        {"device 0", false, {{1, "0"}}, r1 + "Device ID must be between 1 and 127"},
        {"device 128", true, {{1, "128"}}, w1 + "Device ID must be between 1 and 127"},
        {"index 0x0FFF", false, {{2, "0x0FFF"}}, r1 + "Index must be between 0x1000 and 0xFFFF"},
        {"index 0x1000", false, {{2, "0x1000"}}, ""},
        {"index 0xFFFF", true, {{2, "0xFFFF"}}, ""},
        {"index 8192 in decimal", true, {{2, "8192"}}, ""},
        {"index 0x10000", true, {{2, "0x10000"}}, w1 + "Index must be between 0x1000 and 0xFFFF"},
        {"sub-index 256", false, {{3, "256"}}, r1 + "SubIndex must be between 0x00 and 0xFF"},
        {"N Byte 3 before the poll time", false, {{4, "3"}, {5, "0"}}, r1 + "N Byte must be 1 or 2 or 4"},
        {"write N Byte 0", true, {{4, "0"}}, w1 + "N Byte must be 1 or 2 or 4"},
        {"read poll time 0", false, {{5, "0"}}, r1 + "Poll Time must be between 1 and 100000000"},
        {"write poll time 0", true, {{5, "0"}}, ""},
        {"write poll time 100000001", true, {{5, "100000001"}}, w1 + "Poll Time must be between 0 and 100000000"},
        {"N Byte 2, letters in bytes 3 and 4", false, {{8, "ab"}, {9, "cd"}}, ""},
        {"N Byte 1, letters in byte 2", true, {{4, "1"}, {8, "x"}}, ""},
        {"read byte 1 at 1500", false, {{6, "1500"}}, r1 + "Address Byte1 must be between 0 and 1499"},
        {"N Byte 4, empty byte 4", false, {{4, "4"}, {8, "2"}, {9, ""}}, r1 + "Address Byte4 must be between 0 and 1499"},
        {"write N Byte 4, empty byte 4", true, {{4, "4"}, {9, "2"}, {10, ""}},
         w1 + "Address Byte4 must be between 0 and 1499"},
        {"write bytes start at column 7", true, {{6, "anything"}, {7, "1499"}}, ""},
        {"write byte 2 empty", true, {{8, ""}}, w1 + "Address Byte2 must be between 0 and 1499"},
    };
    Expect_Row_1_Rules(cases, A, Good_Read, B, Good_Write);

    // An error in write row 9 reports row 9, whatever the read grid holds.
    Form->FormShow();
    for (int r = 1; r <= 9; ++r) {
        Put_Row(A, r, Good_Read);
        Put_Row(B, r, Good_Write);
    }
    B->SetCells(3, 9, "-1");
    Services.MessageBoxes.clear();
    EXPECT_FALSE(Form->Controllo_dati());
    EXPECT_EQ(Messages(), QStringList{"Error row 9!! [SDO Write] SubIndex must be between 0x00 and 0xFF"});
}

TEST_F(SDOClient, RowButtonsOnTheLastRow)
{
    Form->FormShow();
    Form->PageControl1->setCurrentWidget(Form->TS_SDO_Write);
    Put_Row(B, 255, Good_Write);
    Put_Row(B, 256, Good_Write);
    B->SetRow(255);
    Form->Btn_InsRowClick(nullptr);  // drops row 256, the new row stays empty
    EXPECT_EQ(Row_Of(B, 255), QStringList(11, ""));
    EXPECT_EQ(Row_Of(B, 256), Good_Write);
    B->SetRow(1);
    Services.MessageBoxAnswers = {mrYes};
    Form->Btn_DelRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Are you sure to delete the Row number 1"});
    EXPECT_EQ(Row_Of(B, 255), Good_Write);
    EXPECT_EQ(Row_Of(B, 256), QStringList(11, ""));
    EXPECT_EQ(Row_Of(A, 256), QStringList(10, ""));

    Form->ClickCell(A, 5, 0);
    EXPECT_EQ(A->Selection().Top, 5);
    EXPECT_EQ(A->Selection().Bottom, 5);
}

TEST_F(SDOClient, Grab)
{
    Grab_Loaded("load.xml", "USet_SDO_Client_Access.png");
}
