// The CANopen PDO dialog: two grids without an Enable column, the rules of each with the bytes the
// length asks for, the file with its two sections and no defaults, the row buttons of the grid in
// front with the dialog's own delete, and the header hints that follow the tab in front.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "render/LbButton.h"
#include "core/UVelmoraeFirmWare.h"
#include "tables/USet_PDO_Access.h"
#include "tables/USet_SDO_Client_Access.h"
#include "tables/USet_SDO_Server_Access.h"

#include <QApplication>
#include <QFileInfo>
#include <QTabWidget>

#include <memory>
#include <utility>
#include <vector>

using namespace platform;
using namespace table_test;

namespace {

// Columns 1 .. 12 of a receive PDO and 1 .. 13 of a transmit PDO that pass every rule.
const QStringList Good_Receive = {"0x181", "2", "0", "1", "", "", "", "", "", "", "100", "in"};
const QStringList Good_Transmit = {"0x201", "2", "10", "11", "", "", "", "", "", "", "1000", "N", "out"};

class PDOAccess : public Two_Grid_Test<TFSet_PDO_Access> {
protected:
    void SetUp() override { Open_Grids(File_PDO_CANopen, "PDO_CANopen.xml", "USet_PDO_Access"); }
};

} // namespace

TEST_F(PDOAccess, WindowGridsAndTexts)
{
    Expect_Described_Window(*Form, 798, 337, "Set PDO Access");
    EXPECT_EQ(Form->Btn_OK->toolTip(), "Confirm and save the CANopen PDOs List");
    EXPECT_EQ(Form->Btn_DelRow->toolTip(), "Delete the Selected Row in the table");
    EXPECT_EQ(Tab_Texts(Form->PageControl1), (QStringList{"Receive PDO", "Transmit PDO"}));
    EXPECT_EQ(Form->PageControl1->currentWidget(), Form->TS_Receive_PDO);

    EXPECT_EQ(A->RowCount(), 31);
    EXPECT_EQ(B->RowCount(), 31);
    EXPECT_EQ(A->DefaultRowHeight(), 21);
    EXPECT_EQ(Headers_Of(A), (QStringList{"N", "COB-ID", "Dimension", "Add B1", "Add B2", "Add B3", "Add B4", "Add B5",
                                          "Add B6", "Add B7", "Add B8", "TimeOut", "Mnemonic"}));
    EXPECT_EQ(Headers_Of(B), (QStringList{"N", "COB-ID", "Dimension", "Add B1", "Add B2", "Add B3", "Add B4", "Add B5",
                                          "Add B6", "Add B7", "Add B8", "Send Time", "On Change", "Mnemonic"}));
    EXPECT_EQ(Widths_Of(A), (QList<int>{40, 65, 65, 45, 45, 45, 45, 45, 45, 45, 45, 65, 173}));
    EXPECT_EQ(Widths_Of(B), (QList<int>{40, 65, 65, 45, 45, 45, 45, 45, 45, 45, 45, 65, 68, 105}));
    for (int c = 0; c < B->ColCount(); ++c)
        EXPECT_EQ(B->Columns().Items(c)->Editor() == edDataCheckBox, c == 12) << c;
    EXPECT_EQ(B->Columns().Items(12)->Alignment(), taCenter);
    EXPECT_EQ(A->Columns().Items(1)->Color(), 16710368);
    EXPECT_EQ(A->Columns().Items(3)->Color(), 16045820);
    EXPECT_EQ(A->Columns().Items(11)->Color(), 11075496);

    // The header hints are those of the tab in front, whichever grid asks.
    ASSERT_EQ(Form->Hint_PDO_Receive.size(), 12);
    ASSERT_EQ(Form->Hint_PDO_Transmit.size(), 13);
    QString hint = "cell";
    Form->GridHint(A, 0, 1, hint);
    EXPECT_EQ(hint, "Insert the CobID of the CANopen PDO in Receive");
    Form->PageControl1->setCurrentWidget(Form->TS_Transmit_PDO);
    Form->GridHint(B, 0, 12, hint);
    EXPECT_EQ(hint, "Enable or Disable the possibility to send the CANopen PDO Frame if a Data Byte changes");
    Form->GridHint(B, 0, 4, hint);
    EXPECT_EQ(hint, "Insert the position of array where place in byte 2 of CANopen PDO frame");
    Form->GridHint(B, 5, 4, hint);
    EXPECT_EQ(hint, "");

    // A new language writes the header row; the lists are refilled, not grown.
    Lang_Table.Set(1917, "COB-Kennung");
    Form->Set_Lang();
    EXPECT_EQ(A->Cells(1, 0), "COB-Kennung");
    EXPECT_EQ(Form->Hint_PDO_Receive.size(), 12);

    // The show brings the first tab to the front again.
    Form->FormShow();
    EXPECT_EQ(Form->PageControl1->currentWidget(), Form->TS_Receive_PDO);
    EXPECT_EQ(Form->PROFINET_NByte_IN, 1500);
    EXPECT_EQ(Form->PROFINET_NByte_OUT, 1500);
}

TEST_F(PDOAccess, LoadAndSave)
{
    Form->FormShow();
    Form->Btn_OK_Click(nullptr);
    Expect_No_Messages();
    EXPECT_EQ(Saved(), Canonical(Fix("empty.xml")));

    Put_File("PDO_CANopen.xml", Fix("load.xml"));
    Put_Row(B, 4, Good_Transmit);  // left over from an earlier showing
    Form->FormShow();
    Expect_No_Messages();
    EXPECT_EQ(Row_Of(A, 1), (QStringList{"0x181", "2", "0", "1", "", "", "", "", "", "", "100", "Speed"}));
    EXPECT_EQ(A->Cells(12, 2), "line one\nline two");
    EXPECT_EQ(B->Cells(3, 1), "1499");
    EXPECT_EQ(Row_Of(B, 4), QStringList(13, ""));
    EXPECT_EQ(B->Cells(0, 4), "4");

    Form->Btn_OK_Click(nullptr);
    Expect_No_Messages();
    EXPECT_EQ(Form->ModalResult(), mrOk);
    EXPECT_EQ(Saved(), Canonical(Fix("saved.xml")));
}

TEST_F(PDOAccess, FilesThatCannotBeUsedKeepWhatWasRead)
{
    const QByteArray good = R"(<row COB-ID="%1" Dimension="1" Address_B1="0" Address_B2="" Address_B3="" Address_B4="" Address_B5="" Address_B6="" Address_B7="" Address_B8="" TimeOut="0" Mnemonic=""/>)";
    auto r = [&good](const char* id) { return QByteArray(good).replace("%1", id); };
    struct Case {
        const char* name;
        QByteArray file;
        QStringList receive;  // COB-IDs of receive rows 1 .. 3 after the load
        QString reason;
    } cases[] = {
        {"a row without its time-out",
         "<PDO_CANopen><Receive_PDO>" + r("1") + QByteArray(r("2")).replace(R"(TimeOut="0" )", "") + r("3") +
             "</Receive_PDO><Transmit_PDO/></PDO_CANopen>",
         {"1", "", ""},  // the half-read row is dropped whole
         "row 2 of \"Receive_PDO\" has no attribute \"TimeOut\"."},
        {"no transmit section", "<PDO_CANopen><Receive_PDO>" + r("1") + "</Receive_PDO></PDO_CANopen>", {"1", "", ""},
         "the element \"Transmit_PDO\" is missing."},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Show_File(k.file);
        EXPECT_EQ(Column_Of(A, 1, 3), k.receive);
        Expect_Refused_File(k.file, k.reason);
    }
}

TEST_F(PDOAccess, ValidationStopsAtTheFirstBrokenRule)
{
    const QString r1 = "Error row 1!! [Receive PDO] ";
    const QString t1 = "Error row 1!! [Transmit PDO] ";
    const Two_Grid_Rule_Case cases[] = {
        {"good rows", false, {}, ""},
        {"COB-ID 0x7FF", false, {{1, "0x7FF"}}, ""},
        {"COB-ID $7FF", true, {{1, "$7FF"}}, ""},
        {"COB-ID 2047", false, {{1, "2047"}}, ""},
        {"COB-ID 0x800", false, {{1, "0x800"}}, r1 + "COB-ID must be between 0x000 and 0x7FF"},
        {"transmit COB-ID 0x800", true, {{1, "0x800"}}, t1 + "COB-ID must be between 0x000 and 0x7FF"},
        {"empty dimension", false, {{2, ""}}, r1 + "Dimension must be between 1 and 8"},
        {"transmit dimension 9", true, {{2, "9"}}, t1 + "Dimension must be between 1 and 8"},
        {"letters past the dimension", false, {{5, "letters"}}, ""},
        {"byte 1 at 1499", false, {{3, "1499"}}, ""},
        {"byte 1 at 1500", false, {{3, "1500"}}, r1 + "Address Byte1 must be between 0 and 1499"},
        {"byte 2 empty", true, {{4, ""}}, t1 + "Address Byte2 must be between 0 and 1499"},
        {"byte 8 of eight", true, {{2, "8"}, {5, "1"}, {6, "1"}, {7, "1"}, {8, "1"}, {9, "1"}, {10, "1500"}},
         t1 + "Address Byte8 must be between 0 and 1499"},
        {"bytes before the time-out", false, {{3, ""}, {11, ""}}, r1 + "Address Byte1 must be between 0 and 1499"},
        {"time-out 0", false, {{11, "0"}}, ""},
        {"time-out 65535", false, {{11, "65535"}}, ""},
        {"time-out 65536", false, {{11, "65536"}}, r1 + "TimeOut must be between 0 and 65535"},
        {"send time 0", true, {{11, "0"}}, ""},
        {"send time 100000000", true, {{11, "100000000"}}, ""},
        {"send time 100000001", true, {{11, "100000001"}}, t1 + "Send Time must be between 0 and 100000000"},
        {"on change and mnemonic are not checked", true, {{12, "maybe"}, {13, "\n"}}, ""},
    };
    Expect_Row_1_Rules(cases, A, Good_Receive, B, Good_Transmit);

    // The receive grid ends at its first blank COB-ID, the transmit grid is still checked, and
    // an error there reports its own row number.
    Form->FormShow();
    Put_Row(A, 2, Good_Receive);
    A->SetCells(1, 2, "0x900");
    for (int r = 1; r <= 3; ++r)
        Put_Row(B, r, Good_Transmit);
    B->SetCells(2, 3, "0");
    Services.MessageBoxes.clear();
    Form->Btn_OK_Click(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Error row 3!! [Transmit PDO] Dimension must be between 1 and 8"});
    EXPECT_FALSE(QFileInfo::exists(File_PDO_CANopen));
    B->SetCells(2, 3, "1");
    Services.MessageBoxes.clear();
    Form->Btn_OK_Click(nullptr);
    Expect_No_Messages();
    const QStringList saved = Saved();
    EXPECT_EQ(saved.count(QStringLiteral("    <row COB-ID=\"0x201\" Dimension=\"2\" Address_B1=\"10\" Address_B2=\"11\" "
                                         "Address_B3=\"\" Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" Address_B7=\"\" "
                                         "Address_B8=\"\" Send_Time=\"1000\" On_Change=\"N\" Mnemonic=\"out\">")),
              2);
    EXPECT_EQ(saved[1], "  <Receive_PDO>");
    EXPECT_EQ(saved[2], "  <Transmit_PDO>");
}

TEST_F(PDOAccess, RowButtonsWorkOnTheGridInFront)
{
    Form->FormShow();
    for (int r = 1; r <= 3; ++r) {
        Put_Row(A, r, Good_Receive);
        A->SetCells(12, r, QStringLiteral("pdo %1").arg(r));
        Put_Row(B, r, Good_Transmit);
    }
    Put_Row(A, 30, Good_Receive);

    // Delete of the dialog's own: rows move up, the last row is emptied, row numbers stay.
    A->SetRow(1);
    Services.MessageBoxAnswers = {mrYes};
    Form->Btn_DelRow_Click(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Are you sure to delete the Row number 1"});
    EXPECT_EQ(A->Cells(12, 1), "pdo 2");
    EXPECT_EQ(A->Cells(12, 29), "in");
    EXPECT_EQ(Row_Of(A, 30), QStringList(12, ""));
    EXPECT_EQ(A->Cells(0, 30), "30");
    EXPECT_EQ(B->Cells(12, 1), "N");  // the other grid is left alone

    // Insert leaves the new row empty, no "Y" anywhere, and drops the last row.
    Put_Row(A, 30, Good_Receive);
    A->SetCells(12, 30, "last");
    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row_Of(A, 1), QStringList(12, ""));
    EXPECT_EQ(A->Cells(12, 2), "pdo 2");
    EXPECT_EQ(A->Cells(12, 30), "in");

    // A receive row cannot be pasted into the transmit grid; a transmit copy clears the receive
    // flag.
    Services.MessageBoxes.clear();
    A->SetRow(2);
    Form->Btn_CopyRowClick(nullptr);
    EXPECT_TRUE(Form->Do_Copy_Receive_PDO);
    Form->PageControl1->setCurrentWidget(Form->TS_Transmit_PDO);
    B->SetRow(5);
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Error!!! Copy a valid row before Paste it"});
    EXPECT_EQ(B->Cells(1, 5), "");
    B->SetRow(1);
    Form->Btn_CopyRowClick(nullptr);
    EXPECT_TRUE(Form->Do_Copy_Transmit_PDO);
    EXPECT_FALSE(Form->Do_Copy_Receive_PDO);
    B->SetRow(5);
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_EQ(Row_Of(B, 5), Good_Transmit);

    // A click on a row number selects that row of the clicked grid.
    Form->ClickCell(A, 5, 0);
    const TGridRect s = A->Selection();
    EXPECT_EQ(s.Top, 5);
    EXPECT_EQ(s.Bottom, 5);
    EXPECT_EQ(s.Left, 1);
    EXPECT_EQ(s.Right, 12);
}

// The three CANopen windows are created at start under their instance names and leave with their
// object.
TEST_F(PDOAccess, CreatedWindowsRegisterThemselves)
{
    std::unique_ptr<TFSet_PDO_Access> pdo(Create_FSet_PDO_Access());
    std::unique_ptr<TFSet_SDO_Client_Access> client(Create_FSet_SDO_Client_Access());
    std::unique_ptr<TFSet_SDO_Server_Access> server(Create_FSet_SDO_Server_Access());
    const std::pair<const char*, platform::TForm*> windows[] = {
        {"FSet_PDO_Access", pdo.get()}, {"FSet_SDO_Client_Access", client.get()}, {"FSet_SDO_Server_Access", server.get()}};
    for (const auto& [name, form] : windows) {
        const TRegisteredWindow* w = Find_Window(QLatin1String(name));
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(w->Form, form) << name;
        ASSERT_TRUE(bool(w->Set_Lang)) << name;
    }
    EXPECT_EQ(FSet_SDO_Server_Access, server.get());
    Lang_Table.Set(2114, "SDO lesen");
    Find_Window("FSet_SDO_Server_Access")->Set_Lang();
    EXPECT_EQ(server->PageControl1->tabText(0), "SDO lesen");
    pdo.reset();
    client.reset();
    server.reset();
    for (const auto& [name, form] : windows)
        EXPECT_EQ(Find_Window(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(FSet_PDO_Access, nullptr);
}

TEST_F(PDOAccess, Grab)
{
    Show_Fixture("load.xml");
    Form->show();
    QApplication::processEvents();
    EXPECT_TRUE(Form->grab().save(kt_test::GrabPath("USet_PDO_Access.png")));
    Form->PageControl1->setCurrentWidget(Form->TS_Transmit_PDO);
    QApplication::processEvents();
    EXPECT_TRUE(Form->grab().save(kt_test::GrabPath("USet_PDO_Access_transmit.png")));
    Form->hide();
}
