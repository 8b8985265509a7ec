// The CANopen SDO server dialog, the twin of the client dialog: its nine columns in both grids,
// the manufacturer-specific index range, its file and its texts.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "render/LbButton.h"
#include "tables/USet_SDO_Server_Access.h"

#include <QApplication>
#include <QTabWidget>

#include <memory>
#include <utility>
#include <vector>

using namespace platform;
using namespace table_test;

namespace {

// Columns 1 .. 8 of an object that passes every rule.
const QStringList Good = {"0x2000", "1", "2", "0", "1", "", "", "level"};

class SDOServer : public Two_Grid_Test<TFSet_SDO_Server_Access> {
protected:
    void SetUp() override { Open_Grids(File_SDO_Server_CANopen, "SDO_Server_CANopen.xml", "USet_SDO_Server_Access"); }
};

} // namespace

TEST_F(SDOServer, WindowGridsAndTexts)
{
    Expect_Window(*Form, 749, 337, "Set SDO Server Access");
    EXPECT_EQ(Form->Btn_OK->toolTip(), "Confirm and save the CANopen SDOs Server List");
    EXPECT_EQ(Tab_Texts(Form->PageControl1), (QStringList{"SDO in Read", "SDO in Write"}));
    for (TZidIzavodUraz* g : {A, B}) {
        EXPECT_EQ(g->RowCount(), 501);
        EXPECT_EQ(Headers_Of(g), (QStringList{"N", "Index", "SubIndex", "N Byte", "Add Byte1", "Add Byte2", "Add Byte3",
                                              "Add Byte4", "Mnemonic"}));
        EXPECT_EQ(Widths_Of(g), (QList<int>{40, 65, 61, 55, 80, 80, 80, 80, 170}));
    }
    EXPECT_EQ(A->Columns().Items(4)->Color(), 16045820);

    // With the write tab in front the hints are the write grid's.
    QString hint;
    Form->GridHint(A, 0, 4, hint);
    EXPECT_EQ(hint, "Insert the position of array where read the byte 1 of CANopen SDO Request");
    Form->PageControl1->setCurrentWidget(Form->TS_SDO_Write);
    Form->GridHint(B, 0, 4, hint);
    EXPECT_EQ(hint, "Insert the position of array where write the byte 1 of CANopen SDO Request");
    EXPECT_EQ(Form->Hint_SDO_Client_Write.size(), 8);

    // Enter moves on in the write grid as in the read grid.
    Enable_Jump_Field_Tables = true;
    B->SetRow(7);
    B->SetCol(8);
    QChar key(13);
    Form->KeyPress(B, key);
    Enable_Jump_Field_Tables = false;
    EXPECT_EQ(key, QChar(0));
    EXPECT_EQ(B->Row(), 8);
    EXPECT_EQ(B->Col(), 1);

    // A click on a row number of the write grid selects that row of the write grid.
    Form->ClickCell(B, 7, 0);
    EXPECT_EQ(B->Selection().Top, 7);
    EXPECT_EQ(B->Selection().Right, 8);
}

TEST_F(SDOServer, LoadAndSave)
{
    Form->FormShow();
    Form->Btn_OK_Click(nullptr);
    EXPECT_EQ(Saved(), Canonical(Fix("empty.xml")));

    Show_Fixture("load.xml");
    Expect_No_Messages();
    EXPECT_EQ(Row_Of(A, 1), (QStringList{"0x2000", "1", "2", "0", "1", "", "", "Level"}));
    // The same index and sub-index in both tables pass and are both saved.
    Form->Btn_OK_Click(nullptr);
    Expect_No_Messages();
    EXPECT_EQ(Saved(), Canonical(Fix("saved.xml")));
}

TEST_F(SDOServer, ValidationStopsAtTheFirstBrokenRule)
{
    const QString r1 = "Error row 1!! [SDO in Read] ";
    const QString w1 = "Error row 1!! [SDO in Write] ";
    const Two_Grid_Rule_Case cases[] = {
        {"good objects", false, {}, ""},
        {"index 0x1FFF", false, {{1, "0x1FFF"}}, r1 + "Index must be between 0x2000 and 0x5FFF"},
        {"index 0x6000", true, {{1, "0x6000"}}, w1 + "Index must be between 0x2000 and 0x5FFF"},
        {"index 0x5FFF", true, {{1, "0x5FFF"}}, ""},
        {"index 8192 in decimal", false, {{1, "8192"}}, ""},
        {"sub-index abc", true, {{2, "abc"}}, w1 + "SubIndex must be between 0x00 and 0xFF"},
        {"N Byte 3", false, {{3, "3"}}, r1 + "N Byte must be 1 or 2 or 4"},
        {"N Byte 1, letters in bytes 2 to 4", false, {{3, "1"}, {5, "a"}, {6, "b"}, {7, "c"}}, ""},
        {"byte 2 at 1500", true, {{5, "1500"}}, w1 + "Address Byte2 must be between 0 and 1499"},
        {"N Byte 4, byte 3 empty", false, {{3, "4"}, {7, "3"}}, r1 + "Address Byte3 must be between 0 and 1499"},
        {"N Byte 4 complete", true, {{3, "4"}, {6, "2"}, {7, "1499"}}, ""},
    };
    Expect_Row_1_Rules(cases, A, Good, B, Good);
}

TEST_F(SDOServer, RowButtonsOnTheLastRow)
{
    Form->FormShow();
    Put_Row(A, 500, Good);
    A->SetRow(3);
    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row_Of(A, 500), QStringList(8, ""));
    EXPECT_EQ(Row_Of(A, 3), QStringList(8, ""));
    Put_Row(A, 500, Good);
    A->SetRow(500);
    Services.MessageBoxAnswers = {mrYes};
    Form->Btn_DelRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Are you sure to delete the Row number 500"});
    EXPECT_EQ(Row_Of(A, 500), QStringList(8, ""));
}

TEST_F(SDOServer, Grab)
{
    Grab_Loaded("load.xml", "USet_SDO_Server_Access.png");
}
