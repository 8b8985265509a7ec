// The S7comm access dialog: its grids, the file it reads and writes, the rules OK applies (with
// the ten PLC connections), the row buttons and the grid events. The dialog runs without a person:
// cells are set through the grid, handlers are called, message boxes come from the scripted
// services.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "core/USaveBincc.h"
#include "grid/AdvCGrid.h"
#include "render/LbButton.h"
#include "tables/US7_Protocol_Set_Access.h"

#include <QApplication>
#include <QTabWidget>

#include <memory>

using namespace platform;
using namespace table_test;

namespace {

// Columns 1 .. 18 of a read rule and 1 .. 20 of a write rule that pass every check.
const QStringList Good_Read = {"Y", "192.168.1.10", "102", "S7300", "0", "2", "Word", "DB", "5",
                               "Inputs (I)", "100", "0", "250", "12", "0", "N", "N", "read"};
const QStringList Good_Write = {"Y", "192.168.1.10", "102", "S7300", "0", "2", "Int", "DB", "6", "Output (Q)",
                                "2", "0", "0", "Y", "N", "40", "0", "N", "N", "write"};

class S7Access : public Dialog_Test<TFS7_Protocol_Set_Access> {
protected:
    void SetUp() override
    {
        Open(File_S7_Protocol, "S7_Protocol.xml");
        Read = Form->ACG_S7_Read;
        Write = Form->ACG_S7_Write;
    }
    void TearDown() override
    {
        Enable_Jump_Field_Tables = false;
        Double_Click_Auto_Size = false;
    }

    TZidIzavodUraz* Read = nullptr;
    TZidIzavodUraz* Write = nullptr;
};

} // namespace

TEST_F(S7Access, WindowGridsAndTexts)
{
    Expect_Window(*Form, 1350, 337, "S7comm Access");
    EXPECT_EQ(Tab_Texts(Form->PageControl1), (QStringList{"S7comm Read", "S7comm Write"}));
    EXPECT_EQ(Form->Btn_OK->Caption(), "OK");
    EXPECT_EQ(Form->Btn_PasteRow->Caption(), "Paste Row");
    EXPECT_EQ(Form->Btn_PasteRow->toolTip(), "Paste the Copied Fields in the Selected Row");
    EXPECT_EQ(Form->Btn_Cancel->ModalResult(), mrCancel);
    EXPECT_EQ(Form->Btn_OK->toolTip(), "Confirm and save the S7comm Set Access List");

    struct Grid {
        TZidIzavodUraz* g;
        QStringList headers;
        QList<int> widths;
        QList<int> checks, combos;
    } grids[] = {
        {Read,
         {"N", "Enable", "PLC Address", "PLC Port", "PLC Type", "Rack", "Slot", "Data Type", "Data Identifier",
          "DB Number", "PLC Area", "PLC Add", "PLC Bit", "Poll Time", "Position", "Start Bit", "Swap", "Swap Word",
          "Mnemonic"},
         {40, 50, 100, 60, 80, 45, 45, 70, 90, 80, 115, 60, 60, 64, 60, 64, 40, 80, 204},
         {1, 16, 17},
         {4, 7, 8, 10, 12, 14, 15}},
        {Write,
         {"N", "Enable", "PLC Address", "PLC Port", "PLC Type", "Rack", "Slot", "Data Type", "Data Identifier",
          "DB Number", "PLC Area", "PLC Add", "PLC Bit", "Poll Time", "On Change", "On CMD", "Position", "Start Bit",
          "Swap", "Swap Word", "Mnemonic"},
         {40, 50, 100, 60, 80, 45, 45, 70, 90, 80, 115, 60, 60, 64, 70, 56, 60, 64, 40, 80, 78},
         {1, 14, 15, 18, 19},
         {4, 7, 8, 10, 12, 16, 17}},
    };
    for (const Grid& k : grids) {
        SCOPED_TRACE(k.g->objectName().toStdString());
        Expect_Headers_And_Widths(k.g, k.headers, k.widths);
        EXPECT_EQ(k.g->RowCount(), 513);
        EXPECT_EQ(k.g->NumHiddenColumns(), 0);
        Expect_Editors(k.g, k.checks, k.combos);
    }
    EXPECT_EQ(Read->Columns().Items(1)->Color(), 11589887);
    EXPECT_EQ(Read->Columns().Items(13)->Color(), 11075496);
    EXPECT_EQ(Write->Columns().Items(16)->Color(), 16045820);
    EXPECT_EQ(Write->Columns().Items(18)->Color(), 11075583);
    EXPECT_EQ(Write->Columns().Items(18)->Alignment(), taCenter);

    // Header hints: entry i of a grid's list belongs to its column i + 1.
    EXPECT_EQ(Form->Hint_S7_Set_Access_Read.size(), 18);
    EXPECT_EQ(Form->Hint_S7_Set_Access_Write.size(), 20);
    QString hint = "cell";
    Form->GridHint(Read, 0, 5, hint);
    EXPECT_EQ(hint, "Insert the Rack number (0..3)");
    Form->GridHint(Write, 0, 15, hint);
    EXPECT_EQ(hint, "Enable or Disable the Possibility to Send the Write S7 Request when Arrive a Commnad");
    hint = "cell";
    Form->GridHint(Read, 3, 5, hint);
    EXPECT_EQ(hint, "cell");
    Form->GridHint(Read, 0, 0, hint);
    EXPECT_EQ(hint, "cell");
    EXPECT_TRUE(Read->ShowHint());
    EXPECT_FALSE(Write->ShowHint());

    // A new language: the texts are taken again, the hint lists refilled, not grown.
    Lang_Table.Set(1218, "Adresse");
    Lang_Table.Set(1245, "Adresse du PLC");
    Form->Set_Lang();
    EXPECT_EQ(Read->Cells(2, 0), "Adresse");
    EXPECT_EQ(Read->Columns().Items(2)->Header(), "Adresse");
    ASSERT_EQ(Form->Hint_S7_Set_Access_Read.size(), 18);
    EXPECT_EQ(Form->Hint_S7_Set_Access_Read[1], "Adresse du PLC");
}

// The drop-down texts are what the compiler maps to its codes: a text that differs by one
// character would compile to the "other" code.
TEST_F(S7Access, DropDownTextsAreTheCompilersCodeKeys)
{
    struct List {
        int col;
        QStringList items;
        QList<int> codes;
        uint8_t (*code)(const QString&);
    } lists[] = {
        {4, {"Logo0BA8", "S7200", "S7300", "S7400", "S71200", "S71500"}, {1, 0, 10, 20, 30, 40}, PLC_Type_Code},
        {7, {"Bit", "Byte", "Char", "Word", "Int", "DWord", "DInt", "Real"}, {1, 2, 3, 4, 5, 6, 7, 8}, S7_Data_Type_Code},
        {8, {"OB", "DB", "SDB", "FC", "SFC", "FB", "SFB"}, {8, 10, 11, 12, 13, 14, 15}, S7_Block_Code},
        {10, {"Direct peripheral access (P)", "Inputs (I)", "Output (Q)", "Flags (M) (Merker)"}, {128, 129, 130, 131},
         S7_Area_Code},
    };
    for (const List& l : lists) {
        for (TZidIzavodUraz* g : {Read, Write}) {
            const platform::TStringList& items = g->Columns().Items(l.col)->ComboItems();
            ASSERT_EQ(items.Count(), l.items.size()) << l.col;
            for (int i = 0; i < items.Count(); ++i) {
                EXPECT_EQ(items.Strings(i), l.items[i]) << l.col;
                EXPECT_EQ(l.code(items.Strings(i)), l.codes[i]) << items.Strings(i).toStdString();
            }
        }
    }
    Form->FormShow();
    for (auto [g, col] : {std::pair{Read, 14}, std::pair{Write, 16}}) {
        const platform::TStringList& items = g->Columns().Items(col)->ComboItems();
        ASSERT_EQ(items.Count(), 1500);
        EXPECT_EQ(items.Strings(0), "0");
        EXPECT_EQ(items.Strings(1499), "1499");
    }
    for (int col : {12, 15})
        EXPECT_EQ(Read->Columns().Items(col)->ComboItems().Count(), 8);
}

TEST_F(S7Access, ShowWithoutFileThenOkWritesEmptySections)
{
    Put_Row(Read, 7, Good_Read);  // left over from an earlier showing
    Form->FormShow();
    for (TZidIzavodUraz* g : {Read, Write})
        for (int r : {1, 7, 512}) {
            EXPECT_EQ(g->Cells(0, r), QString::number(r));
            EXPECT_EQ(g->Cells(1, r), "Y");
            for (int c = 2; c < g->ColCount(); ++c)
                EXPECT_EQ(g->Cells(c, r), "") << r << "," << c;
        }
    EXPECT_EQ(Form->PageControl1->currentWidget(), Form->TS_S7_Read);
    Expect_Ok_Writes(Fixture("S7_Protocol_empty.xml"));
    EXPECT_FALSE(kt_test::ReadFile(File_S7_Protocol).startsWith("<?xml"));
}

TEST_F(S7Access, LoadedFileIsSavedBackWithItsDefaults)
{
    Put_File("S7_Protocol.xml", Fixture("S7_Protocol_load.xml"));
    Form->FormShow();
    EXPECT_TRUE(Messages().isEmpty());
    // Enable, Rack and Slot missing: "Y", "0", "0".
    EXPECT_EQ(Row_Of(Read, 2).mid(0, 6), (QStringList{"Y", "192.168.1.11", "102", "S71500", "0", "0"}));
    EXPECT_EQ(Read->Cells(18, 2), "line one\nline two");
    EXPECT_EQ(Read->Cells(13, 2), " 1000");
    EXPECT_EQ(Row_Of(Read, 5), Enabled_Empty_Row(18));
    EXPECT_EQ(Write->Cells(20, 1), "Set point");

    // Row 4 (lower-case y) is passed over, row 3 is disabled: both are saved as they are.
    Expect_Ok_Writes(Fixture("S7_Protocol_saved.xml"));

    // What was saved comes back whole at the next showing; a character XML cannot hold is
    // dropped on the way, and the rest of the cell is kept.
    Read->SetCells(18, 1, QString("Tank") + QChar(1) + "\r\nlevel");
    Form->Btn_OKClick(nullptr);
    Expect_No_Messages();
    Put_Row(Read, 2, Good_Read);
    Form->FormShow();
    EXPECT_EQ(Read->Cells(18, 2), "line one\nline two");
    EXPECT_EQ(Read->Cells(5, 2), "0");
    EXPECT_EQ(Read->Cells(18, 1), "Tank\r\nlevel");
}

TEST_F(S7Access, ValidationStopsAtTheFirstBrokenRule)
{
    const QString e = "Error row ";
    struct Case {
        const char* name;
        bool write;
        int col;
        QString value;
        QString message;  // empty: passes
    } cases[] = {
        {"good rows", false, 1, "Y", ""},
        {"address octet 256", false, 2, "192.168.1.256", e + "1!! [S7comm Read] PLC Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"address with a trailing blank", true, 2, "192.168.1.10 ", e + "1!! [S7comm Write] PLC Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"address with a leading blank", false, 2, " 192.168.1.10", ""},
        {"empty port", false, 3, "", e + "1!! [S7comm Read] PLC Port must be between 0 and 65535"},
        {"port not a number", true, 3, "abc", e + "1!! [S7comm Write] PLC Port must be between 0 and 65535"},
        {"port with a leading blank", false, 3, " 12", ""},
        {"port in hexadecimal", false, 3, "0x66", ""},
        {"PLC type blank", false, 4, "  ", e + "1!! [S7comm Read] PLC Type cannot be empty"},
        {"rack 4", false, 5, "4", e + "1!! [S7comm Read] Rack must be between 0 and 3"},
        {"slot 32", true, 6, "32", e + "1!! [S7comm Write] Slot must be between 0 and 31"},
        {"data type blank", true, 7, "", e + "1!! [S7comm Write] Data Type cannot be empty"},
        {"data identifier blank", false, 8, "", e + "1!! [S7comm Read] Data Identifier cannot be empty"},
        {"DB number 65536", false, 9, "65536", e + "1!! [S7comm Read] DB Number must be between 0 and 65535"},
        {"area blank", true, 10, "", e + "1!! [S7comm Write] PLC Area cannot be empty"},
        {"PLC add negative", false, 11, "-1", e + "1!! [S7comm Read] PLC Address must be between 0 and 65535"},
        {"PLC bit blank", true, 12, "", e + "1!! [S7comm Write] PLC Bit cannot be empty"},
        {"read poll time 0", false, 13, "0", e + "1!! [S7comm Read] Poll Time must be between 1 and 100000000"},
        {"write poll time 0", true, 13, "0", ""},
        {"poll time too long", true, 13, "100000001", e + "1!! [S7comm Write] Poll Time must be between 0 and 100000000"},
        {"read position 1500", false, 14, "1500", e + "1!! [S7comm Read] Position must be between 0 and 1499"},
        {"write position 1500", true, 16, "1500", e + "1!! [S7comm Write] Position must be between 0 and 1499"},
        {"write position 1499", true, 16, "1499", ""},
        {"start bit blank", false, 15, "", e + "1!! [S7comm Read] Start Bit cannot be empty"},
        {"swap and mnemonic are not checked", true, 18, "anything", ""},
        {"a combo text outside its list passes", false, 7, "Words", ""},
        {"lower-case y is not enabled", false, 1, "y", ""},
        {"enable with blanks around it", false, 1, " Y ", ""},
    };
    Expect_Rule_Cases(cases, [&](const Case& k) {
        Put_Row(Read, 1, Good_Read);
        Put_Row(Write, 1, Good_Write);
        (k.write ? Write : Read)->SetCells(k.col, 1, k.value);
        if (k.value == "y") {  // the broken row is passed over
            Read->SetCells(2, 1, "192.168.1.256");
        }
    });

    // An error in row 7 of the write grid reports row 7, and OK leaves the file alone.
    Form->FormShow();
    for (int r = 1; r <= 7; ++r) {
        Put_Row(Read, r, Good_Read);
        Put_Row(Write, r, Good_Write);
    }
    Write->SetCells(5, 7, "9");
    Services.MessageBoxes.clear();
    Form->Btn_OKClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{e + "7!! [S7comm Write] Rack must be between 0 and 3"});
    EXPECT_EQ(Form->ModalResult(), mrNone);
    EXPECT_FALSE(QFileInfo::exists(File_S7_Protocol));
}

TEST_F(S7Access, TenPlcConnectionsAtMost)
{
    struct Case {
        const char* name;
        QStringList readAddresses;  // one enabled read row each, port 102 unless given as address:port
        QStringList writeAddresses;
        bool writeEnabled;
        QString message;
    } cases[] = {
        {"ten PLCs and an eleventh in a write row",
         {"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.5", "10.0.0.6", "10.0.0.7", "10.0.0.8", "10.0.0.9",
          "10.0.0.10"},
         {"10.0.0.11"},
         true,
         "Error row 1!! [S7comm Write] Device support 10 connection"},
        {"the same with the write row disabled",
         {"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.5", "10.0.0.6", "10.0.0.7", "10.0.0.8", "10.0.0.9",
          "10.0.0.10"},
         {"10.0.0.11"},
         false,
         ""},
        {"one PLC on two ports counts twice",
         {"10.0.0.1:102", "10.0.0.1:103", "10.0.0.3", "10.0.0.4", "10.0.0.5", "10.0.0.6", "10.0.0.7", "10.0.0.8",
          "10.0.0.9", "10.0.0.10", "10.0.0.11"},
         {},
         true,
         "Error row 11!! [S7comm Read] Device support 10 connection"},
        {"a read and a write row to one PLC count once; numbers compare, not texts",
         {"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.5", "10.0.0.6", "10.0.0.7", "10.0.0.8", "10.0.0.9",
          "10.0.0.10"},
         {"10.0.0.1", "010.000.000.010:0102"},
         true,
         ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Form->FormShow();
        auto fill = [](TZidIzavodUraz* g, const QStringList& good, const QStringList& list, bool enabled) {
            for (int i = 0; i < list.size(); ++i) {
                Put_Row(g, i + 1, good);
                const QStringList parts = list[i].split(':');
                g->SetCells(2, i + 1, parts[0]);
                g->SetCells(3, i + 1, parts.size() > 1 ? parts[1] : "102");
                g->SetCells(1, i + 1, enabled ? "Y" : "N");
            }
        };
        fill(Read, Good_Read, k.readAddresses, true);
        fill(Write, Good_Write, k.writeAddresses, k.writeEnabled);
        Expect_Rules(k.message);
        // Every validation starts with ten free slots.
        Services.MessageBoxes.clear();
        EXPECT_EQ(Form->Controllo_dati(), k.message.isEmpty());
    }
}

TEST_F(S7Access, RowsBelowTheFirstBlankAddressAreNeitherCheckedNorSaved)
{
    Form->FormShow();
    Put_Row(Read, 1, Good_Read);
    Put_Row(Read, 5, Good_Read);
    Read->SetCells(5, 5, "99");          // broken, but below the blank row 2
    Read->SetCells(2, 3, "10.0.0.1");
    Read->SetCells(1, 1, "N");
    Read->SetCells(3, 1, "not checked"); // disabled: passes and is saved as it is
    Form->Btn_OKClick(nullptr);
    Expect_No_Messages();
    const QStringList saved = Saved();
    ASSERT_EQ(saved.size(), 5);  // root, read section, one row, write section, comment
    EXPECT_TRUE(saved[2].contains("PLC_Port=\"not checked\"")) << saved[2].toStdString();
    Form->FormShow();
    EXPECT_EQ(Read->Cells(2, 5), "");
    EXPECT_EQ(Read->Cells(2, 3), "");
}

TEST_F(S7Access, FilesThatCannotBeUsedKeepWhatWasRead)
{
    const QByteArray row = R"x(<row PLC_Address="%1" PLC_Port="102" PLC_Type="S7300" Data_Type="Word" Data_Identifier="DB" DB_Number="5" PLC_Area="Inputs (I)" PLC_Add="1" PLC_Bit="0" PollTime="10" OnChange="N" OnCMD="N" Position="1" Bit="0" Swap="N" SwapWord="N" Mnemonic=""/>)x";
    auto r = [&row](const char* address) { return QByteArray(row).replace("%1", address); };
    struct Case {
        const char* name;
        QByteArray file;
        QStringList readKeys;   // PLC addresses of read rows 1..3 after the load
        QStringList writeKeys;  // of write rows 1..2
        QString reason;         // the end of the one error box
    } cases[] = {
        {"not well-formed", "<S7_Protocol><S7_Protocol_Read>" + r("10.0.0.1"), {"", "", ""}, {"", ""}, ""},
        {"no element at all", "<!-- nothing -->", {"", "", ""}, {"", ""}, ""},
        {"a row without a port",
         "<S7_Protocol><S7_Protocol_Read>" + r("10.0.0.1") + QByteArray(r("10.0.0.2")).replace(R"(PLC_Port="102" )", "") +
             r("10.0.0.3") + "</S7_Protocol_Read><S7_Protocol_Write/></S7_Protocol>",
         {"10.0.0.1", "", ""},  // the half-read row is dropped whole
         {"", ""},
         "row 2 of \"S7_Protocol_Read\" has no attribute \"PLC_Port\"."},
        {"no write section",
         "<S7_Protocol><S7_Protocol_Read>" + r("10.0.0.1") + r("10.0.0.2") + "</S7_Protocol_Read></S7_Protocol>",
         {"10.0.0.1", "10.0.0.2", ""},
         {"", ""},
         "the element \"S7_Protocol_Write\" is missing."},
        {"a root of another name still loads",
         "<Other><S7_Protocol_Read>" + r("10.0.0.1") + "</S7_Protocol_Read><S7_Protocol_Write>" + r("10.0.0.9") +
             "</S7_Protocol_Write></Other>",
         {"10.0.0.1", "", ""},
         {"10.0.0.9", ""},
         "-"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Show_File(k.file);
        EXPECT_EQ(Column_Of(Read, 2, 3), k.readKeys);
        EXPECT_EQ(Column_Of(Write, 2, 2), k.writeKeys);
        if (k.reason == "-") {
            Expect_No_Messages();
        } else {
            ASSERT_EQ(Services.MessageBoxes.size(), 1);
            EXPECT_EQ(Services.MessageBoxes[0].Type, mtError);
            EXPECT_TRUE(Messages()[0].startsWith("Error! The file \"")) << Messages()[0].toStdString();
            EXPECT_TRUE(Messages()[0].endsWith(k.reason)) << Messages()[0].toStdString();
        }
        // Showing never writes the file.
        EXPECT_EQ(kt_test::ReadFile(File_S7_Protocol), k.file);
    }
}

TEST_F(S7Access, MoreRowsThanTheGridHoldsAreReportedOnce)
{
    QByteArray rows;
    for (int i = 1; i <= 514; ++i)
        rows += QStringLiteral(R"x(<row PLC_Address="10.0.%1.%2" PLC_Port="102" PLC_Type="" Data_Type="" Data_Identifier="" DB_Number="" PLC_Area="" PLC_Add="" PLC_Bit="" PollTime="" OnChange="" OnCMD="" Position="" Bit="" Swap="" SwapWord="" Mnemonic=""/>)x")
                    .arg(i / 256)
                    .arg(i % 256)
                    .toUtf8();
    const QByteArray file = "<S7_Protocol><S7_Protocol_Read>" + rows + "</S7_Protocol_Read><S7_Protocol_Write>" + rows +
                            "</S7_Protocol_Write></S7_Protocol>";
    Put_File("S7_Protocol.xml", file);
    Form->FormShow();
    EXPECT_EQ(Read->Cells(2, 512), "10.0.2.0");
    EXPECT_EQ(Write->Cells(2, 512), "10.0.2.0");  // the second section is read as well
    ASSERT_EQ(Services.MessageBoxes.size(), 1) << Messages().join("\n").toStdString();
    EXPECT_EQ(Services.MessageBoxes[0].Type, mtWarning);
    EXPECT_TRUE(Messages()[0].contains("514 rows")) << Messages()[0].toStdString();
    EXPECT_EQ(kt_test::ReadFile(File_S7_Protocol), file);
}

TEST_F(S7Access, RowButtons)
{
    Form->FormShow();
    for (int r = 1; r <= 3; ++r) {
        Put_Row(Read, r, Good_Read);
        Read->SetCells(18, r, QStringLiteral("rule %1").arg(r));
    }
    Put_Row(Write, 1, Good_Write);

    // Delete asks with the row number; No keeps the row.
    Delete_Asked_Twice(Read, 2, [&] { EXPECT_EQ(Read->Cells(18, 2), "rule 2"); });
    EXPECT_EQ(Read->Cells(18, 2), "rule 3");
    EXPECT_EQ(Row_Of(Read, 512), QStringList(18, ""));  // the last row has no "Y" after a delete

    // Insert gives an enabled empty row.
    Read->SetRow(1);
    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row_Of(Read, 1), Enabled_Empty_Row(18));
    EXPECT_EQ(Read->Cells(18, 2), "rule 1");

    // A read row pastes into the read grid only.
    Services.MessageBoxes.clear();
    Read->SetRow(2);
    Form->Btn_CopyRowClick(nullptr);
    EXPECT_TRUE(Form->Do_Copy_In_Read);
    EXPECT_FALSE(Form->Do_Copy_In_Write);
    Form->PageControl1->setCurrentIndex(1);
    Write->SetRow(2);
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Error!!! Copy a valid row before Paste it"});
    EXPECT_EQ(Write->Cells(2, 2), "");
    Form->PageControl1->setCurrentIndex(0);
    Read->SetRow(1);
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_EQ(Read->Cells(18, 1), "rule 1");

    // A copy does not outlive the showing.
    Form->FormShow();
    Services.MessageBoxes.clear();
    Expect_Paste_Refused();
}

TEST_F(S7Access, SaveFailureKeepsTheDialogOpen)
{
    Form->FormShow();
    Put_Row(Read, 1, Good_Read);
    File_S7_Protocol = Path("gone/S7_Protocol.xml");
    Form->Btn_OKClick(nullptr);
    ASSERT_EQ(Services.MessageBoxes.size(), 1);
    EXPECT_EQ(Services.MessageBoxes[0].Type, mtError);
    EXPECT_EQ(Form->ModalResult(), mrNone);
    EXPECT_EQ(Read->Cells(2, 1), "192.168.1.10");
}

TEST_F(S7Access, GridEvents)
{
    Form->FormShow();
    // A click on a row number selects that row.
    Form->ClickCell(Write, 4, 0);
    const TGridRect s = Write->Selection();
    EXPECT_EQ(s.Top, 4);
    EXPECT_EQ(s.Bottom, 4);
    EXPECT_EQ(s.Left, 1);
    EXPECT_EQ(s.Right, 20);

    // Enter moves on only with the option; the key is eaten then.
    Read->SetRow(2);
    Read->SetCol(18);
    QChar key(13);
    Form->KeyPress(Read, key);
    EXPECT_EQ(key, QChar(13));
    EXPECT_EQ(Read->Col(), 18);
    Enable_Jump_Field_Tables = true;
    Form->KeyPress(Read, key);
    EXPECT_EQ(key, QChar(0));
    EXPECT_EQ(Read->Col(), 1);
    EXPECT_EQ(Read->Row(), 3);

    // A double click on a header sizes the column only with the option.
    Read->SetCells(18, 3, QString(80, 'W'));
    Form->DblClickCell(Read, 0, 18);
    EXPECT_EQ(Read->ColWidths(18), 204);
    Double_Click_Auto_Size = true;
    Form->DblClickCell(Read, 3, 18);
    EXPECT_EQ(Read->ColWidths(18), 204);
    Form->DblClickCell(Read, 0, 18);
    EXPECT_GT(Read->ColWidths(18), 204);
}

TEST_F(S7Access, Grab)
{
    Put_File("S7_Protocol.xml", Fixture("S7_Protocol_load.xml"));
    Form->FormShow();
    Form->show();
    QApplication::processEvents();
    EXPECT_TRUE(Form->grab().save(kt_test::GrabPath("S7_Protocol_Set_Access.png")));
    Form->PageControl1->setCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_TRUE(Form->grab().save(kt_test::GrabPath("S7_Protocol_Set_Access_write.png")));
    Form->hide();
}
