// The KNX access dialog: its grid, the file it reads and writes (with the defaults of missing
// attributes and the priority repair), the rules OK applies in their order, its own row delete
// and the header hints by displayed column.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvCGrid.h"
#include "render/LbButton.h"
#include "tables/UKNXAccess.h"

#include <QApplication>

#include <memory>

using namespace platform;
using namespace table_test;

namespace {

// Columns 1 .. 16 of a rule that passes every check.
const QStringList Good = {"Y", "1.1.20", "1/2/3", "Write", "Low", "Swap16", "N", "N",
                          "N", "N", "N",      "",      "10",    "No",  "2",      "m"};

enum { cEnable = 1, cSource, cDest, cAPCI, cPriority, cFormat, cExtended, cReTest, cOnCMD, cOnChange, cOnTimer,
       cPoll, cPosition, cBitMode, cLength, cMnemonic };

class KnxAccess : public One_Grid_Test<TFKNXAccess> {
protected:
    void SetUp() override
    {
        Open(File_KNX_SetAccess, "KNX_SetAccess.xml", "UKNXAccess");
        G = Form->ACG_KNX_in_Write;
    }
};

} // namespace

TEST_F(KnxAccess, WindowGridAndTexts)
{
    Expect_Described_Window(*Form, 1141, 337, "KNX Set Access");
    EXPECT_EQ(Form->Btn_Cancel->toolTip(), "Exit without save the KNX Set Access List");
    EXPECT_EQ(G->NumHiddenColumns(), 0);
    EXPECT_EQ(G->RowCount(), 1025);
    EXPECT_EQ(G->RowHeights(0), 22);
    EXPECT_EQ(G->RowHeights(700), 22);
    EXPECT_TRUE(G->ShowHint());
    EXPECT_TRUE(G->HintShowCells());

    Expect_Columns(G,
                   {
                       {"N", 40, edNormal, clWindow, {}},
                       {"Enable", 50, edDataCheckBox, 11589887, {}},
                       {"Source Add", 70, edNormal, 16710368, {}},
                       {"Dest/Group", 80, edNormal, 16710368, {}},
                       {"APCI", 60, edComboEdit, 16710368, {"Read", "Write"}},
                       {"Priority", 75, edComboList, 16710368, {"System", "Urgent", "Normal", "Low"}},
                       {"Format", 110, edComboList, 11075583,
                        {"None", "Swap16", "Swap32", "Swap All", "Int to Float", "Float to Int", "Float16 to Float32",
                         "Float16 to Int", "Float16 to Int * 10", "Float16 to Int * 100"}},
                       {"Extended", 68, edDataCheckBox, 11075583, {}},
                       {"ReTest", 50, edDataCheckBox, 11075583, {}},
                       {"OnCMD", 52, edDataCheckBox, 11075496, {}},
                       {"OnChange", 71, edDataCheckBox, 11075496, {}},
                       {"OnTimer", 62, edDataCheckBox, 11075496, {}},
                       {"Poll Time", 67, edNormal, 11075496, {}},
                       {"Position", 55, edComboList, 16045820, {}},
                       {"Bit Mode", 55, edComboList, 16045820, {"No", "0", "1", "2", "3", "4", "5", "6", "7"}},
                       {"Length", 55, edNormal, 16045820, {}},
                       {"Mnemonic", 96, edNormal, clWindow, {}},
                   },
                   Plain);
    Form->FormShow();
    const platform::TStringList& positions = G->Columns().Items(13)->ComboItems();
    ASSERT_EQ(positions.Count(), 1500);
    EXPECT_EQ(positions.Strings(1499), "1499");
    EXPECT_EQ(Form->Max_Num_Byte, 1500);

    // Header hints by displayed column (1439 is no column's hint); no other cell has one.
    ASSERT_EQ(Form->Hint.size(), 16);
    Expect_Hints([&](int r, int c, QString& hint) { Form->GridHint(G, r, c, hint); },
                 {
                     {0, 1, "Enable/Disabel the KNX Rule"},
                     {0, 8, "Enable/Disable the ReTest of KNX Variable"},
                     {0, 9, "Enable/Disable the Possibility to Send the KNX Message on Command"},
                     {0, 16, "Insert a description of the KNX Message"},
                     {0, 0, ""},
                     {5, 3, ""},
                 });
}

TEST_F(KnxAccess, LoadedFileIsSavedBackWithItsDefaults)
{
    Show_Fixture("load.xml");
    Expect_No_Messages();
    EXPECT_EQ(G->Cells(cMnemonic, 1), "line one\nline two");
    // Missing: Enable "Y", Priority "Normal", Format "None", OnCMD and OnTimer "N".
    EXPECT_EQ(Row(2), (QStringList{"Y", "1.1.21", "4660", "read", "Normal", "None", "N", "N", "N", "Y", "N", "", "20",
                                   "3", "5", ""}));
    // A priority outside the four, or one in another letter case, becomes "Normal"; a present but
    // empty Format stays empty.
    EXPECT_EQ(G->Cells(cPriority, 3), "Normal");
    EXPECT_EQ(G->Cells(cFormat, 3), "");
    EXPECT_EQ(G->Cells(cPriority, 4), "Normal");
    EXPECT_EQ(Row(5), (QStringList{"Y", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""}));

    Expect_Ok_Writes(Fix("saved.xml"));
}

TEST_F(KnxAccess, ShowWithoutFileThenOkWritesAnEmptySection)
{
    Put_Row(1024, Good);  // left over from an earlier showing
    Form->FormShow();
    EXPECT_EQ(Row(1024), Enabled_Empty_Row(16));
    EXPECT_EQ(G->Cells(0, 1024), "1024");
    Expect_Ok_Writes_Fixture("empty.xml");
}

TEST_F(KnxAccess, RulesInTheirOrder)
{
    const QString e = "Error row 3!! [KNX in Write] ";
    const QString source = e + "Source Address must be a valid KNX Address (Ex. 1.1.20)";
    const QString individual = e + "Destination Address must be a valid KNX Address (Ex. 1.1.20)";
    const QString group = e + "Destination Address must be a valid KNX Address (Ex. 230.240)";
    const QString apci = e + "APCI must be between 0 and 1023 or use the value Read or Write";
    const QString position = e + "Position must be between 0 and 1499";
    const QString bit_mode = e + "Bit Mode must be \"No\" or between 0 and 7";
    const QString length = e + "Length must be between 1 and ";
    const QString fits = e + "Position plus Length must be minor or equal to 1500";
    // Changes to the good rule in row 3.
    const Rule_Case cases[] = {
        {"good", {}, ""},
        {"source 0.0.0 with blanks", {{cSource, " 0.0.0 "}}, ""},
        {"source plain number", {{cSource, "4660"}}, ""},
        {"source in group form", {{cSource, "1/2/3"}}, source},
        {"source 16.0.1", {{cSource, "16.0.1"}}, source},
        {"dest 0/0", {{cDest, "0/0"}}, group},
        {"dest 32/0", {{cDest, "32/0"}}, group},
        {"dest 31/7/255", {{cDest, "31/7/255"}}, ""},
        {"dest 0.0.0", {{cDest, "0.0.0"}}, ""},
        {"dest 1.1", {{cDest, "1.1"}}, individual},
        {"dest empty", {{cDest, ""}}, group},
        {"apci read", {{cAPCI, "read"}}, ""},
        {"apci 1023", {{cAPCI, "1023"}}, ""},
        {"apci 1024", {{cAPCI, "1024"}}, apci},
        {"apci Write and a blank", {{cAPCI, "Write "}}, apci},
        {"priority lower case", {{cPriority, "normal"}}, e + "Priority must be System or Urgent or Normal or Low"},
        {"priority with a blank", {{cPriority, "Low "}}, e + "Priority must be System or Urgent or Normal or Low"},
        {"format blank", {{cFormat, "  "}}, e + "Format is not correct"},
        {"format outside the list", {{cFormat, "mine"}}, ""},
        {"no timer, poll time 0", {{cPoll, "0"}}, ""},
        {"timer, poll time 0", {{cOnTimer, "y"}, {cPoll, "0"}}, e + "Poll Time must be between 1 and 100000000"},
        {"timer, poll time 100000000", {{cOnTimer, "Y"}, {cPoll, "100000000"}}, ""},
        {"position 1500", {{cPosition, "1500"}}, position},
        {"position empty", {{cPosition, ""}}, position},
        {"bit mode no", {{cBitMode, "no"}}, ""},
        {"bit mode 8", {{cBitMode, "8"}}, bit_mode},
        {"bit mode empty", {{cBitMode, ""}}, bit_mode},
        {"bytes: 14 at 1486", {{cPosition, "1486"}, {cLength, "14"}}, ""},
        {"bytes: 15", {{cLength, "15"}}, length + "14"},
        {"bytes: 14 at 1487", {{cPosition, "1487"}, {cLength, "14"}}, fits},
        {"bytes: length 0", {{cLength, "0"}}, length + "14"},
        {"extended bytes: 255", {{cExtended, "y"}, {cPosition, "0"}, {cLength, "255"}}, ""},
        {"extended bytes: 256", {{cExtended, "Y"}, {cLength, "256"}}, length + "255"},
        {"bits: 112", {{cBitMode, "0"}, {cLength, "112"}}, ""},
        {"bits: 113", {{cBitMode, "0"}, {cLength, "113"}}, length + "112"},
        {"extended bits: 7 + 2040 at 1244",
         {{cExtended, "Y"}, {cBitMode, "7"}, {cLength, "2040"}, {cPosition, "1244"}}, ""},
        {"extended bits: 7 + 2040 at 1245",
         {{cExtended, "Y"}, {cBitMode, "7"}, {cLength, "2040"}, {cPosition, "1245"}}, fits},
        {"extended bits: 2041", {{cExtended, "Y"}, {cBitMode, "1"}, {cLength, "2041"}}, length + "2040"},
        {"the first broken rule is told", {{cSource, "x"}, {cAPCI, "x"}}, source},
        {"disabled rows are not checked", {{cEnable, "N"}, {cSource, "x"}, {cLength, "x"}}, ""},
        {"lower-case y is not enabled", {{cEnable, "y"}, {cSource, "x"}}, ""},
        {"enable with blanks around it", {{cEnable, " Y "}, {cSource, "x"}}, source},
    };
    Expect_Row_Rules(cases, Good, 3);

    // A blank source ends the check and the table: a broken row below it is neither.
    Form->FormShow();
    Put_Row(1, Good);
    Put_Row(3, Good);
    G->SetCells(cLength, 3, "99");
    G->SetCells(cSource, 2, "  ");
    Services.MessageBoxes.clear();
    Form->Btn_OKClick(nullptr);
    Expect_No_Messages();
    EXPECT_EQ(Saved().size(), 4);  // root, section, row 1, comment

    // A refused OK leaves the file alone.
    const QByteArray before = kt_test::ReadFile(File_KNX_SetAccess);
    G->SetCells(cLength, 1, "99");
    G->SetCells(cSource, 2, "1.1.2");
    Form->Btn_OKClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Error row 1!! [KNX in Write] Length must be between 1 and 14"});
    EXPECT_EQ(kt_test::ReadFile(File_KNX_SetAccess), before);
}

TEST_F(KnxAccess, FilesThatCannotBeUsedKeepWhatWasRead)
{
    const QByteArray row =
        R"(<row Source_Address="%1" Destination_Address="1/1" APCI="Read" Extended="N" ReTest="N" On_Change="N" Poll_Time="" Position="0" Bit_Mode="No" Length="1" Mnemonic=""/>)";
    auto r = [&row](const char* source) { return QByteArray(row).replace("%1", source); };
    struct Case {
        const char* name;
        QByteArray file;
        QString row1, row2;
        QString reason;
    } cases[] = {
        {"a row without its length",
         "<BACnet_to_KNX><KNX_in_Write>" + r("1.1.1") + QByteArray(r("1.1.2")).replace(R"(Length="1" )", "") +
             r("1.1.3") + "</KNX_in_Write></BACnet_to_KNX>",
         "1.1.1", "", "row 2 of \"KNX_in_Write\" has no attribute \"Length\"."},  // row 2 dropped whole
        {"no section", "<BACnet_to_KNX><KNX_in_Read>" + r("1.1.1") + "</KNX_in_Read></BACnet_to_KNX>", "", "",
         "the element \"KNX_in_Write\" is missing."},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Show_File(k.file);
        EXPECT_EQ(Column_Of(G, cSource, 3), (QStringList{k.row1, k.row2, ""}));
        Expect_Refused_File(k.file, k.reason);
    }
}

TEST_F(KnxAccess, RowButtons)
{
    Form->FormShow();
    for (int r : {1, 2, 3, 1024}) {
        Put_Row(r, Good);
        G->SetCells(cMnemonic, r, QStringLiteral("rule %1").arg(r));
    }

    // The dialog's own delete: asked with the row number; the rows move up and the last row is
    // emptied, its Enable cell included.
    Delete_Asked_Twice(G, 2, [&] { EXPECT_EQ(G->Cells(cMnemonic, 2), "rule 2"); });
    EXPECT_EQ(G->Cells(cMnemonic, 2), "rule 3");
    EXPECT_EQ(G->Cells(cMnemonic, 1023), "rule 1024");
    EXPECT_EQ(Row(1024), QStringList(16, ""));
    EXPECT_EQ(G->Cells(0, 1024), "1024");
    // Deleting the last row only empties it.
    Put_Row(1024, Good);
    Form->Delete_Row(1024, G);
    EXPECT_EQ(Row(1024), QStringList(16, ""));
    EXPECT_EQ(G->Cells(cMnemonic, 1023), "rule 1024");

    // Insert: an enabled empty row; what the last row held is lost.
    G->SetCells(cMnemonic, 1024, "last");
    G->SetRow(1);
    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row(1), Enabled_Empty_Row(16));
    EXPECT_EQ(G->Cells(cMnemonic, 2), "rule 1");
    EXPECT_EQ(G->Cells(cMnemonic, 1024), "rule 1024");

    // Copy and paste within one showing; refused after a new showing.
    Copy_Paste(G, 2, 1);
    EXPECT_TRUE(Form->Do_Copy_In_Write);
    EXPECT_EQ(Row(1), Row(2));
    Form->FormShow();
    EXPECT_FALSE(Form->Do_Copy_In_Write);
    Expect_Paste_Refused();
}

TEST_F(KnxAccess, CreatedAtStartAndServedByTheMainWindow)
{
    Expect_Made_At_Start(Create_FKNXAccess, FKNXAccess, "FKNXAccess");
}

TEST_F(KnxAccess, Grab)
{
    Grab_Loaded("load.xml", "UKNXAccess.png");
}
