// The CAN transmit frames dialog: where it differs from its receive twin — the send-mode columns
// and the period that counts only on a timer, the array of 1800 bytes, and the defaults of its
// file's missing attributes.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "render/LbButton.h"
#include "tables/UTransmitCAN.h"

#include <QApplication>

#include <memory>
#include <utility>
#include <vector>

using namespace platform;
using namespace table_test;

namespace {

// Columns 1 .. 17 of a frame that passes every check.
const QStringList Good = {"Y", "0x201", "2.0A (11 bits)", "2", "Y", "N", "Y", "250",
                          "0", "None", "", "", "", "", "", "", "frame"};

class TransmitCAN : public One_Grid_Test<TFTransmitCAN> {
protected:
    void SetUp() override
    {
        Open(File_CAN_Send_Frames, "CAN_Send_Frames.xml", "UTransmitCAN");
        G = Form->ACG_CAN_Transmit;
    }
};

} // namespace

TEST_F(TransmitCAN, WindowGridAndTexts)
{
    Expect_Window(*Form, 1100, 337, "Transmit CAN Frames Set Access");
    EXPECT_EQ(Form->Btn_OK->toolTip(), "Confirm and save the Transmit CAN Frames List");
    EXPECT_EQ(G->RowCount(), 513);
    EXPECT_EQ(Headers_Of(G),
              (QStringList{"N", "Enable", "CobID", "Type", "Dimension", "OnChange", "OnCMD", "OnTimer", "Time", "Byte1",
                           "Byte2", "Byte3", "Byte4", "Byte5", "Byte6", "Byte7", "Byte8", "Mnemonic"}));
    EXPECT_EQ(Widths_Of(G), (QList<int>{40, 50, 90, 90, 70, 65, 50, 55, 70, 48, 48, 48, 48, 48, 48, 48, 48, 110}));
    Expect_Editors(G, {1, 5, 6, 7}, {3, 9, 10, 11, 12, 13, 14, 15, 16});
    EXPECT_EQ(G->Columns().Items(6)->Color(), 11075496);
    EXPECT_EQ(G->Columns().Items(6)->Alignment(), taCenter);
    EXPECT_EQ(G->Columns().Items(9)->Color(), 16045820);

    Form->FormShow();
    EXPECT_EQ(Form->MAX_Byte, 1800);
    const platform::TStringList& bytes = G->Columns().Items(16)->ComboItems();
    ASSERT_EQ(bytes.Count(), 1801);
    EXPECT_EQ(bytes.Strings(0), "None");
    EXPECT_EQ(bytes.Strings(1800), "1799");

    // The OnCMD hint stands in its column's place.
    ASSERT_EQ(Form->Hint_TransmitCAN.size(), 17);
    QString hint;
    Form->ACG_CAN_TransmitGridHint(G, 0, 6, hint);
    EXPECT_EQ(hint, "Enable or Disable the possibility to send the CAN Frame by Command");
    Form->ACG_CAN_TransmitGridHint(G, 0, 7, hint);
    EXPECT_EQ(hint, "Enable or Disable the possibility to send the CAN Frame on Timer");
    Form->ACG_CAN_TransmitGridHint(G, 2, 7, hint);
    EXPECT_EQ(hint, "");

    // Every show takes the hints again.
    Lang_Table.Set(1836, "Zeitgesteuert senden");
    Form->FormShow();
    ASSERT_EQ(Form->Hint_TransmitCAN.size(), 17);
    EXPECT_EQ(Form->Hint_TransmitCAN[6], "Zeitgesteuert senden");
}

TEST_F(TransmitCAN, LoadDefaultsAndSave)
{
    Form->FormShow();
    Expect_Ok_Writes_Fixture("empty.xml");

    Show_Fixture("load.xml");
    Expect_No_Messages();
    // Type, OnChange, OnTimer and Time missing: 11 bits, "Y", "N" and empty.
    EXPECT_EQ(Row(2).mid(0, 8), (QStringList{"Y", "0x202", "2.0A (11 bits)", "1", "Y", "N", "N", ""}));
    // A timer frame without its period gets 0 ms; OnCMD missing is "N".
    EXPECT_EQ(Row(3).mid(0, 8), (QStringList{"Y", "0x203", "2.0A (11 bits)", "1", "Y", "N", "Y", "0"}));

    Expect_Ok_Writes(Fix("saved.xml"));
}

TEST_F(TransmitCAN, ValidationStopsAtTheFirstBrokenRule)
{
    const QString e = "Error row 1";
    const QString time = e + "!! Time must be between 0 and 100000000 milliseconds";
    const Rule_Case cases[] = {
        {"a good frame", {}, ""},
        {"11 bits, 2048", {{2, "2048"}}, e + "!! CobID must be between 0 and 2047"},
        {"29 bits, 0x20000000", {{3, "2.0B (29 bits)"}, {2, "0x20000000"}},
         e + "!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
        {"dimension empty before the time", {{4, ""}, {8, ""}}, e + "!! Dimension must be between 1 and 8"},
        {"on timer, time 0", {{8, "0"}}, ""},
        {"on timer, time empty", {{8, ""}}, time},
        {"on timer in lower case, time too long", {{7, "y"}, {8, "100000001"}}, time},
        {"no timer, time not a number", {{7, "N"}, {8, "abc"}}, ""},
        {"no send mode at all", {{5, "N"}, {6, "N"}, {7, "N"}}, ""},
        {"byte 1 at 1799", {{9, "1799"}}, ""},
        {"byte 1 at 1500, refused by the receive table", {{9, "1500"}}, ""},
        {"byte 1 at 1800", {{9, "1800"}}, e + "!! Byte1 must be between 0 and 1799 or None"},
        {"byte 2 at 1800", {{10, "1800"}}, e + "!! Byte2 must be between 0 and 1799 or None"},
        {"dimension 1 checks byte 1 only", {{4, "1"}, {10, "1800"}}, ""},
        {"dimension 8 checks byte 8", {{4, "8"}, {16, "x"}}, e + "!! Byte8 must be between 0 and 1799 or None"},
        {"a disabled frame is not checked", {{1, "N"}, {4, "0"}}, ""},
    };
    Expect_Row_Rules(cases, Good, 1);
}

TEST_F(TransmitCAN, RowButtons)
{
    Form->FormShow();
    Put_Row(1, Good);
    Put_Row(2, Good);
    G->SetCells(17, 2, "second");
    G->SetRow(1);
    Services.MessageBoxAnswers = {mrYes};
    Form->Btn_DelRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Are you sure to delete the Row number 1"});
    EXPECT_EQ(G->Cells(17, 1), "second");
    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row(1), Enabled_Empty_Row(17));
    EXPECT_EQ(G->Cells(17, 2), "second");
}

TEST_F(TransmitCAN, Grab)
{
    Grab_Loaded("load.xml", "UTransmitCAN.png");
}
