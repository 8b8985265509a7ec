// The IEC 61850 variables dialog: its grid, the file it reads and writes (every attribute with its
// default), the rules OK applies with the factor read in either decimal mark, and the row buttons.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvCGrid.h"
#include "platform/SysUtils.h"
#include "render/LbButton.h"
#include "tables/UIEC61850_Variables.h"

#include <QApplication>

#include <memory>

using namespace platform;
using namespace table_test;

namespace {

// Columns 1 .. 12 of a variable that passes every check.
const QStringList Good = {"Y", "LD0/GGIO1.AnIn1", "Int", "2", "N", "100", "", "None", "None", "N", "N", "m"};

enum { cEnable = 1, cName, cType, cLength, cReadOnly, cPosition, cStartBit, cConversion, cFactor, cSwap, cSwapWord,
       cMnemonic };

class Iec61850Variables : public One_Grid_Test<TFIEC61850_Variables> {
protected:
    void SetUp() override
    {
        Open(File_IEC61850_Variables, "IEC61850_Variables.xml", "UIEC61850_Variables");
        Saved_Format = FormatSettings();
        Use_Decimal_Separator('.');
        G = Form->ACG;
    }
    void TearDown() override { FormatSettings() = Saved_Format; }
    // The user's regional decimal mark, as the system reports it and as numbers are read with it.
    void Use_Decimal_Separator(QChar sep)
    {
        FormatSettings() = TFormatSettings::Invariant();
        FormatSettings().DecimalSeparator = sep;
        FormatSettings().ThousandSeparator = sep == '.' ? ',' : '.';
        Services.Profile[QStringLiteral("Intl/sDecimal")] = QString(sep);
    }

    TFormatSettings Saved_Format;
};

} // namespace

TEST_F(Iec61850Variables, WindowGridAndTexts)
{
    Expect_Described_Window(*Form, 1055, 337, "Set Variables Access for IEC61850");
    EXPECT_EQ(Form->Btn_OK->toolTip(), "Confirm and save the Variables List of IEC61850");
    EXPECT_EQ(Form->Btn_DelRow->toolTip(), "Delete the Selected Row in the table");
    EXPECT_EQ(G->NumHiddenColumns(), 0);
    EXPECT_EQ(G->RowCount(), 51);
    EXPECT_FALSE(G->ShowHint());
    Expect_Columns(G,
                   {
                       {"N", 40, edNormal, clWindow, {}},
                       {"Enable", 50, edDataCheckBox, 11589887, {}},
                       {"Name", 250, edNormal, 16710368, {}},
                       {"Type", 80, edComboList, 11075496, {"Int", "Float", "Digital (Bit)"}},
                       {"Length", 65, edNormal, 11075496, {}},
                       {"Read Only", 65, edDataCheckBox, 11075583, {}},
                       {"Position", 80, edNormal, 16045820, {}},
                       {"Start Bit", 60, edComboList, 16045820, {"0", "1", "2", "3", "4", "5", "6", "7"}},
                       {"Conversion", 75, edComboList, 16766421, {"None", "Int to Float", "Float to Int"}},
                       {"Molt. Factor", 75, edComboEdit, 16766421, {"None"}},
                       {"Swap", 45, edDataCheckBox, 16766421, {}},
                       {"Swap Word", 80, edDataCheckBox, 16766421, {}},
                       {"Mnemonic", 128, edNormal, 0xFFFFFF, {}},
                   },
                   Empty_Lists | Item_Headers);

    // Header hints by real column; no other cell has one.
    ASSERT_EQ(Form->Hint_List.size(), 12);
    Expect_Hints([&](int r, int c, QString& hint) { Form->GridHint(G, r, c, hint); },
                 {
                     {0, 3, "Select teh Type of IEC61850 Variable (Int or Float)"},
                     {0, 7, "Select the bit to set in the Internal Data Array (Valid only for Digital (Bit))"},
                     {0, 11, "Enable/Disable the possibility to swap the Word"},
                     {0, 12, "Insert the Description of IEC61850 Variable"},
                     {0, 0, ""},
                     {2, 3, ""},
                 });

    // Choosing a type changes no other cell.
    Form->FormShow();
    Put_Row(1, Good);
    Form->ComboChange(G, cType, 1, 1, "Float");
    EXPECT_EQ(G->Cells(cLength, 1), "2");
}

TEST_F(Iec61850Variables, LoadedFileIsSavedBackWithItsDefaults)
{
    Show_Fixture("load.xml");
    Expect_No_Messages();
    EXPECT_EQ(Form->NByte_IN, 1438);
    EXPECT_EQ(G->Cells(cMnemonic, 1), "power\ntotal");
    // Missing: Enable "Y", ReadOnly, Swap and SwapWord "N", the others empty.
    EXPECT_EQ(Row(2), (QStringList{"Y", "Breaker", "Digital (Bit)", "1", "N", "1437", "7", "None", " none ", "N", "N",
                                   ""}));
    EXPECT_EQ(Row(4), (QStringList{"Y", "", "Int", "2", "N", "5", "", "None", "None", "N", "N", ""}));
    EXPECT_EQ(G->Cells(cName, 5), "below");

    // Row 3 is disabled and passes; row 4 has no name and ends the table.
    Expect_Ok_Writes(Fix("saved.xml"));
}

TEST_F(Iec61850Variables, ShowWithoutFileThenOkWritesTheRootAlone)
{
    Put_Row(50, Good);  // left over from an earlier showing
    Form->FormShow();
    EXPECT_EQ(Row(50), Enabled_Empty_Row(12));
    EXPECT_EQ(G->Cells(0, 50), "50");
    Expect_Ok_Writes_Fixture("empty.xml");
}

TEST_F(Iec61850Variables, RulesInTheirOrder)
{
    const QString e = "Error row 2";
    const QString length = e + "!! Length must be between 1 and 4";
    const QString position = e + "!! Position must be between 0 and 1437";
    const QString factor = e + "!! Molt. Factor must be a valid Float";
    // Changes to the good variable in row 2.
    const Rule_Case cases[] = {
        {"good", {}, ""},
        {"length 0", {{cLength, "0"}}, length},
        {"length 5", {{cLength, "5"}}, length},
        {"length 4 of a bit", {{cType, "Digital (Bit)"}, {cStartBit, "0"}, {cLength, "4"}}, ""},
        {"length empty", {{cLength, ""}}, length},
        {"position 1437", {{cPosition, "1437"}}, ""},
        {"position 1438", {{cPosition, "1438"}}, position},
        {"position in hexadecimal", {{cPosition, "$10"}}, ""},
        {"bit without start bit", {{cType, "Digital (Bit)"}, {cStartBit, " "}}, e + "!! Start Bit must be Selected "},
        {"int without start bit", {{cStartBit, ""}}, ""},
        {"conversion empty", {{cConversion, ""}}, e + "!! Conversion must be Selected "},
        {"factor none with blanks", {{cFactor, " none "}}, ""},
        {"factor 0,5", {{cFactor, "0,5"}}, ""},
        {"factor 0.5", {{cFactor, "0.5"}}, ""},
        {"factor -1.5e2", {{cFactor, "-1.5e2"}}, ""},
        {"factor abc", {{cFactor, "abc"}}, factor},
        {"factor empty", {{cFactor, ""}}, factor},
        {"the first broken rule is told", {{cConversion, ""}, {cPosition, "-1"}}, position},
        {"disabled rows are not checked", {{cEnable, "N"}, {cLength, "x"}, {cFactor, "x"}}, ""},
        {"enable with blanks around it", {{cEnable, " Y "}, {cLength, "x"}}, length},
    };
    for (QChar sep : {QChar('.'), QChar(',')}) {
        Use_Decimal_Separator(sep);
        SCOPED_TRACE(QString(sep).toStdString());
        Expect_Row_Rules(cases, Good, 2);
    }

    // A blank name ends the check and the table; a refused OK leaves the file alone.
    Form->FormShow();
    Put_Row(1, Good);
    Put_Row(3, Good);
    G->SetCells(cLength, 3, "9");
    Services.MessageBoxes.clear();
    Form->Btn_OKClick(nullptr);
    Expect_No_Messages();
    const QByteArray before = kt_test::ReadFile(File_IEC61850_Variables);
    EXPECT_EQ(Saved().size(), 3);  // root, row 1, comment
    G->SetCells(cName, 2, "x");
    Form->Btn_OKClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Error row 2!! Length must be between 1 and 4"});
    EXPECT_EQ(kt_test::ReadFile(File_IEC61850_Variables), before);
}

TEST_F(Iec61850Variables, RowButtons)
{
    Form->FormShow();
    for (int r : {1, 2, 3, 50}) {
        Put_Row(r, Good);
        G->SetCells(cMnemonic, r, QStringLiteral("var %1").arg(r));
    }
    Delete_Asked_Twice(G, 2, [&] { EXPECT_EQ(G->Cells(cMnemonic, 2), "var 2"); });
    EXPECT_EQ(G->Cells(cMnemonic, 2), "var 3");
    EXPECT_EQ(G->Cells(cMnemonic, 49), "var 50");
    EXPECT_EQ(Row(50), QStringList(12, ""));

    G->SetRow(1);
    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row(1), Enabled_Empty_Row(12));
    EXPECT_EQ(G->Cells(cMnemonic, 2), "var 1");
    EXPECT_EQ(G->Cells(cMnemonic, 50), "var 50");

    Copy_Paste(G, 2, 1);
    EXPECT_EQ(Row(1), Row(2));
    Form->FormShow();
    Expect_Paste_Refused();
}

TEST_F(Iec61850Variables, CreatedAtStartAndServedByTheMainWindow)
{
    Expect_Made_At_Start(Create_FIEC61850_Variables, FIEC61850_Variables, "FIEC61850_Variables");
}

TEST_F(Iec61850Variables, Grab)
{
    Grab_Loaded("load.xml", "UIEC61850_Variables.png");
}
