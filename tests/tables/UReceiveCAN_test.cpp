// The CAN receive frames dialog: its grid, the identifier range that follows the frame format,
// the byte positions that follow the length, the file with the rows under the root and the
// defaults of its missing attributes, and the row buttons.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "render/LbButton.h"
#include "core/UVelmoraeFirmWare.h"
#include "tables/UReceiveCAN.h"
#include "tables/UTransmitCAN.h"

#include <QApplication>
#include <QFileInfo>

#include <memory>
#include <utility>
#include <vector>

using namespace platform;
using namespace table_test;

namespace {

// Columns 1 .. 14 of a frame that passes every check.
const QStringList Good = {"Y", "0x181", "2.0A (11 bits)", "2", "100", "0", "None", "", "", "", "", "", "", "frame"};

class ReceiveCAN : public One_Grid_Test<TFReceiveCAN> {
protected:
    void SetUp() override
    {
        Open(File_CAN_Rec_Frames, "CAN_Rec_Frames.xml", "UReceiveCAN");
        G = Form->ACG_CAN_Receive;
    }
    void TearDown() override { Enable_Jump_Field_Tables = false; }
};

} // namespace

TEST_F(ReceiveCAN, WindowGridAndTexts)
{
    Expect_Described_Window(*Form, 1010, 337, "Receive CAN Frames Set Access");
    EXPECT_EQ(Form->Btn_OK->toolTip(), "Confirm and save the Receive CAN Frames List");
    EXPECT_EQ(Form->Btn_Cancel->toolTip(), "Exit without save the Receive CAN Frames List");
    EXPECT_EQ(Form->Btn_PasteRow->Caption(), "Paste Row");
    EXPECT_EQ(Form->Btn_Cancel->ModalResult(), mrCancel);

    EXPECT_EQ(G->RowCount(), 513);
    EXPECT_EQ(G->NumHiddenColumns(), 0);
    EXPECT_EQ(Headers_Of(G), (QStringList{"N", "Enable", "CobID", "Type", "Dimension", "TimeOut", "Byte1", "Byte2",
                                          "Byte3", "Byte4", "Byte5", "Byte6", "Byte7", "Byte8", "Mnemonic"}));
    EXPECT_EQ(Widths_Of(G), (QList<int>{40, 50, 90, 90, 70, 75, 48, 48, 48, 48, 48, 48, 48, 48, 185}));
    Expect_Editors(G, {1}, {3, 6, 7, 8, 9, 10, 11, 12, 13});
    EXPECT_EQ(G->Columns().Items(1)->Color(), 11589887);
    EXPECT_EQ(G->Columns().Items(1)->Alignment(), taCenter);
    EXPECT_EQ(G->Columns().Items(4)->Color(), 16710368);
    EXPECT_EQ(G->Columns().Items(5)->Color(), 11075496);
    EXPECT_EQ(G->Columns().Items(13)->Color(), 16045820);
    const platform::TStringList& types = G->Columns().Items(3)->ComboItems();
    ASSERT_EQ(types.Count(), 2);
    EXPECT_EQ(types.Strings(0), "2.0A (11 bits)");
    EXPECT_EQ(types.Strings(1), "2.0B (29 bits)");

    // The byte lists are "None" and the 1500 positions, filled at every show.
    Form->FormShow();
    EXPECT_EQ(Form->MAX_Byte, 1500);
    for (int c : {6, 13}) {
        const platform::TStringList& items = G->Columns().Items(c)->ComboItems();
        ASSERT_EQ(items.Count(), 1501) << c;
        EXPECT_EQ(items.Strings(0), "None");
        EXPECT_EQ(items.Strings(1), "0");
        EXPECT_EQ(items.Strings(1500), "1499");
    }

    // Header hints by shown column (text 1733 is not one of them); no other cell has a hint.
    EXPECT_TRUE(G->ShowHint());
    EXPECT_EQ(Form->Hint_ReceiveCAN.size(), 14);
    Expect_Hints([&](int r, int c, QString& hint) { Form->ACG_CAN_ReceiveGridHint(G, r, c, hint); },
                 {
                     {0, 4, "Insert the Dimension in Byte of CAN Frame (from 1 to 8)"},
                     {0, 5, "Insert the TimeOut in milliseconds of data for each CAN frames, insert 0 do disable the function"},
                     {0, 7, "Insert the position of array where put the byte 2 of CAN frame"},
                     {0, 14, "Insert a description of the CAN Frame"},
                     {0, 0, ""},
                     {3, 5, ""},
                 },
                 "the cell's own text");
    // No click handler: a click on a row number selects nothing.
    EXPECT_FALSE(bool(G->OnClickCell));

    // A new language: headers and hints are taken again, the list is refilled, not grown.
    Lang_Table.Set(1710, "Kennung");
    Lang_Table.Set(1730, "Kennung des Rahmens");
    Form->Set_Lang();
    EXPECT_EQ(G->Cells(2, 0), "Kennung");
    ASSERT_EQ(Form->Hint_ReceiveCAN.size(), 14);
    EXPECT_EQ(Form->Hint_ReceiveCAN[1], "Kennung des Rahmens");
}

TEST_F(ReceiveCAN, ShowWithoutFileThenOkWritesTheRootAndTheComment)
{
    Put_Row(9, Good);  // left over from an earlier showing
    Form->FormShow();
    for (int r : {1, 9, 512}) {
        EXPECT_EQ(G->Cells(0, r), QString::number(r));
        EXPECT_EQ(Row(r), Enabled_Empty_Row(14)) << r;
    }
    Expect_Ok_Writes(Fix("empty.xml"));
}

TEST_F(ReceiveCAN, LoadedFileIsSavedBackWithItsDefaults)
{
    Show_Fixture("load.xml");
    Expect_No_Messages();
    EXPECT_EQ(G->Cells(14, 1), "Motor\nspeed");
    // Enable, TimeOut and Mnemonic missing: "Y", "0" and empty.
    EXPECT_EQ(Row(2), (QStringList{"Y", "$1FFFFFFF", "2.0B (29 bits)", "8", "0", "1", "2", "3", "4", "5", "6",
                                         "7", "1499", ""}));
    // The comment between the rows is not a row.
    EXPECT_EQ(G->Cells(2, 3), "5000");
    EXPECT_EQ(Row(5), Enabled_Empty_Row(14));

    // Row 3 is disabled and broken, row 4 is enabled in lower case and passes: both are saved
    // as they are.
    Expect_Ok_Writes(Fix("saved.xml"));

    // A character XML cannot hold is dropped on the way; the rest of the cell comes back.
    G->SetCells(14, 2, QString("Oil") + QChar(2) + "\r\npressure");
    Form->Btn_OKClick(nullptr);
    Form->FormShow();
    EXPECT_EQ(G->Cells(14, 2), "Oil\r\npressure");
    EXPECT_EQ(G->Cells(14, 1), "Motor\nspeed");
}

TEST_F(ReceiveCAN, ValidationStopsAtTheFirstBrokenRule)
{
    const QString e = "Error row 1";
    const QString cob11 = e + "!! CobID must be between 0 and 2047";
    const QString cob29 = e + "!! CobID must be between 0x00000000 and 0x1FFFFFFF";
    const QString dim = e + "!! Dimension must be between 1 and 8";
    const QString timeout = e + "!! TimeOut must be between 0 and 100000000 milliseconds";
    const Rule_Case cases[] = {
        {"a good frame", {}, ""},
        {"11 bits, 2047", {{2, "2047"}}, ""},
        {"11 bits, 2048", {{2, "2048"}}, cob11},
        {"identifier not a number", {{2, "abc"}}, cob11},
        {"type with blanks around it is 11 bits", {{3, " 2.0A (11 bits) "}, {2, "2048"}}, cob11},
        {"29 bits, highest in hexadecimal", {{3, "2.0B (29 bits)"}, {2, "$1FFFFFFF"}}, ""},
        {"29 bits, 536870911", {{3, "2.0B (29 bits)"}, {2, "536870911"}}, ""},
        {"29 bits, 536870912", {{3, "2.0B (29 bits)"}, {2, "536870912"}}, cob29},
        {"an empty type is 29 bits", {{3, ""}, {2, "2048"}}, ""},
        {"dimension 0 before the time-out", {{4, "0"}, {5, ""}}, dim},
        {"dimension 9", {{4, "9"}}, dim},
        {"time-out 0", {{5, "0"}}, ""},
        {"time-out empty", {{5, ""}}, timeout},
        {"time-out 100000001", {{5, "100000001"}}, timeout},
        {"time-out 100000000", {{5, "100000000"}}, ""},
        {"bytes past the dimension are not checked", {{6, "None"}, {7, "1499"}, {8, "5000"}}, ""},
        {"byte 2 at 1500", {{7, "1500"}}, e + "!! Byte2 must be between 0 and 1499 or None"},
        {"byte 1 not a number", {{6, "abc"}}, e + "!! Byte1 must be between 0 and 1499 or None"},
        {"byte 1 blank", {{6, "  "}}, ""},
        {"byte 1 none with blanks", {{6, " None "}}, ""},
        {"byte 8 of eight", {{4, "8"}, {13, "-1"}}, e + "!! Byte8 must be between 0 and 1499 or None"},
        {"eight empty bytes", {{4, "8"}, {6, ""}, {7, ""}}, ""},
        {"a disabled frame is not checked", {{1, "N"}, {2, "99999"}}, ""},
        {"lower-case y is checked", {{1, "y"}, {2, "5000"}}, cob11},
        {"enabled with blanks around it", {{1, " Y "}, {4, ""}}, dim},
    };
    Expect_Row_Rules(cases, Good, 1);

    // The row number is the grid row; OK leaves the file alone.
    Form->FormShow();
    for (int r = 1; r <= 3; ++r)
        Put_Row(r, Good);
    G->SetCells(4, 3, "10");
    Services.MessageBoxes.clear();
    Form->Btn_OKClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Error row 3!! Dimension must be between 1 and 8"});
    EXPECT_EQ(Form->ModalResult(), mrNone);
    EXPECT_FALSE(QFileInfo::exists(File_CAN_Rec_Frames));
}

TEST_F(ReceiveCAN, RowsBelowTheFirstBlankCobIDAreNeitherCheckedNorSaved)
{
    Form->FormShow();
    Put_Row(1, Good);
    Put_Row(3, Good);
    G->SetCells(2, 2, "   ");
    G->SetCells(4, 3, "99");  // broken, but below the blank row
    Form->Btn_OKClick(nullptr);
    Expect_No_Messages();
    const QStringList saved = Saved();
    ASSERT_EQ(saved.size(), 3);  // root, one row, comment
    EXPECT_TRUE(saved[1].contains("COBID=\"0x181\"")) << saved[1].toStdString();
    Form->FormShow();
    EXPECT_EQ(Row(3), Enabled_Empty_Row(14));
}

TEST_F(ReceiveCAN, FilesThatCannotBeUsed)
{
    QByteArray rows;
    for (int i = 1; i <= 514; ++i)
        rows += QStringLiteral(R"(<row COBID="%1"/>)").arg(i).toUtf8();
    struct Case {
        const char* name;
        QByteArray file;
        QString row1, row512;
        QString box;  // the start of the one message; empty: none
    } cases[] = {
        {"not well-formed", R"(<Receive_Frames><row COBID="7"/>)", "", "", "Error! The file \""},
        {"more rows than the grid", "<Receive_Frames>" + rows + "</Receive_Frames>", "1", "512", "The file \""},
        {"a root of another name", R"(<Frames><row COBID="7" Dim="1"/></Frames>)", "7", "", ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Show_File(k.file);
        EXPECT_EQ(G->Cells(2, 1), k.row1);
        EXPECT_EQ(G->Cells(2, 512), k.row512);
        if (k.box.isEmpty()) {
            Expect_No_Messages();
        } else {
            ASSERT_EQ(Messages().size(), 1) << Messages().join("\n").toStdString();
            EXPECT_TRUE(Messages()[0].startsWith(k.box)) << Messages()[0].toStdString();
        }
        // Showing never writes the file.
        EXPECT_EQ(kt_test::ReadFile(File_CAN_Rec_Frames), k.file);
    }
}

TEST_F(ReceiveCAN, RowButtons)
{
    Form->FormShow();
    for (int r = 1; r <= 3; ++r) {
        Put_Row(r, Good);
        G->SetCells(14, r, QStringLiteral("frame %1").arg(r));
    }
    // Delete asks with the row number; No keeps the row.
    Delete_Asked_Twice(G, 2, [&] { EXPECT_EQ(G->Cells(14, 2), "frame 2"); });
    EXPECT_EQ(G->Cells(14, 2), "frame 3");
    EXPECT_EQ(Row(512), QStringList(14, ""));

    // Insert gives an enabled empty row and pushes the others down.
    G->SetRow(1);
    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row(1), Enabled_Empty_Row(14));
    EXPECT_EQ(G->Cells(14, 2), "frame 1");

    // Copy then paste into the empty row; a copy does not outlive the showing.
    Copy_Paste(G, 3, 1);
    EXPECT_TRUE(Form->Do_Copy);
    EXPECT_EQ(G->Cells(14, 1), "frame 3");
    Form->FormShow();
    Expect_Paste_Refused();

    // Enter moves to the next field with the option on.
    Enable_Jump_Field_Tables = true;
    G->SetRow(4);
    G->SetCol(14);
    QChar key(13);
    Form->ACG_CAN_ReceiveKeyPress(G, key);
    EXPECT_EQ(key, QChar(0));
    EXPECT_EQ(G->Row(), 5);
    EXPECT_EQ(G->Col(), 1);
}

// Both CAN windows are created at start under their instance names and leave with their object.
TEST_F(ReceiveCAN, CreatedWindowsRegisterThemselves)
{
    std::unique_ptr<TFReceiveCAN> receive(Create_FReceiveCAN());
    std::unique_ptr<TFTransmitCAN> transmit(Create_FTransmitCAN());
    EXPECT_EQ(FReceiveCAN, receive.get());
    EXPECT_EQ(FTransmitCAN, transmit.get());
    for (const char* name : {"FReceiveCAN", "FTransmitCAN"}) {
        const TRegisteredWindow* w = Find_Window(QLatin1String(name));
        ASSERT_NE(w, nullptr) << name;
        ASSERT_TRUE(bool(w->Set_Lang));
    }
    EXPECT_EQ(Find_Window("FReceiveCAN")->Form, receive.get());
    Lang_Table.Set(1700, "CAN-Empfang");
    Find_Window("FReceiveCAN")->Set_Lang();
    EXPECT_EQ(receive->Caption(), "CAN-Empfang");
    receive.reset();
    transmit.reset();
    EXPECT_EQ(FReceiveCAN, nullptr);
    EXPECT_EQ(Find_Window("FReceiveCAN"), nullptr);
    EXPECT_EQ(Find_Window("FTransmitCAN"), nullptr);
}

TEST_F(ReceiveCAN, Grab)
{
    Grab_Loaded("load.xml", "UReceiveCAN.png");
}
