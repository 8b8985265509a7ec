#include "tables/UKNXAccess.h"

#include "core/UComon.h"
#include "core/UComon_Grid_Rows.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvCGrid.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"

#include <QFileInfo>
#include <QVBoxLayout>

TFKNXAccess* FKNXAccess = nullptr;

using namespace platform;

const QStringList TFKNXAccess::APCI_Items = {QStringLiteral("Read"), QStringLiteral("Write")};
const QStringList TFKNXAccess::Priorities = {QStringLiteral("System"), QStringLiteral("Urgent"),
                                             QStringLiteral("Normal"), QStringLiteral("Low")};
const QStringList TFKNXAccess::Formats = {
    QStringLiteral("None"),           QStringLiteral("Swap16"),
    QStringLiteral("Swap32"),         QStringLiteral("Swap All"),
    QStringLiteral("Int to Float"),   QStringLiteral("Float to Int"),
    QStringLiteral("Float16 to Float32"), QStringLiteral("Float16 to Int"),
    QStringLiteral("Float16 to Int * 10"), QStringLiteral("Float16 to Int * 100")};
const QStringList TFKNXAccess::Bit_Modes = {QStringLiteral("No"), QStringLiteral("0"), QStringLiteral("1"),
                                            QStringLiteral("2"),  QStringLiteral("3"), QStringLiteral("4"),
                                            QStringLiteral("5"),  QStringLiteral("6"), QStringLiteral("7")};

namespace {

constexpr int Form_Client_Width = 1141;
constexpr int Row_Height = 22;
constexpr int Mnemonic_Width = 96;

enum {
    Col_Enable = 1, Col_Source = 2, Col_Dest = 3, Col_APCI = 4, Col_Priority = 5, Col_Format = 6,
    Col_Extended = 7, Col_ReTest = 8, Col_OnCMD = 9, Col_OnChange = 10, Col_OnTimer = 11, Col_PollTime = 12,
    Col_Position = 13, Col_BitMode = 14, Col_Length = 15, Col_Mnemonic = 16
};

enum TItems { itNone, itAPCI, itPriorities, itFormats, itPositions, itBit_Modes };
// Their lists; the positions are filled at every show.
const QStringList* const Item_Lists[] = {nullptr, &TFKNXAccess::APCI_Items, &TFKNXAccess::Priorities,
                                         &TFKNXAccess::Formats, nullptr, &TFKNXAccess::Bit_Modes};

struct TKNX_Column {
    int Header;
    TEditorType Editor;
    TItems Items;
    int Width;
    TColor Color;
    const char* Attribute;  // attribute of the table file; none for the row number
    const char* Default;    // taken when the file lacks the attribute; none: the file cannot be used
};

const TKNX_Column Columns[TFKNXAccess::Col_Count] = {
    {1414, edNormal, itNone, 40, clWindow, nullptr, nullptr},
    {1415, edDataCheckBox, itNone, 50, Table_Color_Enable, "Enable", "Y"},
    {1416, edNormal, itNone, 70, Table_Color_Address, "Source_Address", nullptr},
    {1417, edNormal, itNone, 80, Table_Color_Address, "Destination_Address", nullptr},
    {1418, edComboEdit, itAPCI, 60, Table_Color_Address, "APCI", nullptr},
    {1419, edComboList, itPriorities, 75, Table_Color_Address, "Priority", "Normal"},
    {1420, edComboList, itFormats, 110, Table_Color_Swap, "Format", "None"},
    {1421, edDataCheckBox, itNone, 68, Table_Color_Swap, "Extended", nullptr},
    {1422, edDataCheckBox, itNone, 50, Table_Color_Swap, "ReTest", nullptr},
    {1423, edDataCheckBox, itNone, 52, Table_Color_Timing, "On_Command", "N"},
    {1424, edDataCheckBox, itNone, 71, Table_Color_Timing, "On_Change", nullptr},
    {1425, edDataCheckBox, itNone, 62, Table_Color_Timing, "On_Timer", "N"},
    {1426, edNormal, itNone, 67, Table_Color_Timing, "Poll_Time", nullptr},
    {1427, edComboList, itPositions, 55, Table_Color_Position, "Position", nullptr},
    {1428, edComboList, itBit_Modes, 55, Table_Color_Position, "Bit_Mode", nullptr},
    {1429, edNormal, itNone, 55, Table_Color_Position, "Length", nullptr},
    {1430, edNormal, itNone, 96, clWindow, "Mnemonic", nullptr},
};

// Text 1439 belongs to the block but is no column's hint.
const int Hints[TFKNXAccess::Col_Count - 1] = {1431, 1432, 1433, 1434, 1435, 1436, 1437, 1438,
                                               1440, 1441, 1442, 1443, 1444, 1445, 1446, 1447};

constexpr int Key_Col = Col_Source;
constexpr int Delete_Question = 1460;
constexpr int Error_Row = 1448;

// Longest data part in bytes (byte mode) or bits (bit mode), plain or extended.
constexpr int Max_Bytes = 14;
constexpr int Max_Bytes_Extended = 255;
constexpr int Max_Bits = 112;
constexpr int Max_Bits_Extended = 2040;

} // namespace

TFKNXAccess::TFKNXAccess(QWidget* parent) : TFTable_Frame(parent, "FKNXAccess", Form_Client_Width) {}

void TFKNXAccess::Loaded()
{
    TFTable_Frame::Loaded();
    ACG_KNX_in_Write = Add_Body_Grid<TZidIzavodUraz>("ACG_KNX_in_Write", &Hint, &Do_Copy_In_Write);
    TZidIzavodUraz* grid = ACG_KNX_in_Write;
    grid->SetDefaultRowHeight(Row_Height);
    Setup_Table_Columns(grid, Columns, Col_Count, Data_Rows, [](const TKNX_Column& c) { return Item_Lists[c.Items]; });
    grid->SetShowHint(true);
    grid->SetHintShowCells(true);
    Wire_Grid(grid);
    grid->Loaded();
    Describe_File(&File_KNX_SetAccess, Delete_Question);
    Hint_Rule = THint_Rule::Shown_Column;
}

void TFKNXAccess::FormCreate()
{
    Frame_Create();
    for (int c : {Col_APCI, Col_OnCMD, Col_OnChange})
        ACG_KNX_in_Write->UnHideColumn(c);
    ACG_KNX_in_Write->Columns().Items(Col_Mnemonic)->SetWidth(Mnemonic_Width);
    Set_Lang();
}

void TFKNXAccess::Set_Lang()
{
    Set_Frame_Texts(1400, 1401, 1402, 1408);
    // This table writes its headers straight into the header row.
    Put_Header_Cells(ACG_KNX_in_Write, Columns, Col_Count);
    Put_Lang_Texts(Hint, Hints);
}

void TFKNXAccess::FormShow()
{
    TZidIzavodUraz* grid = ACG_KNX_in_Write;
    Reset_Rows(true);
    Max_Num_Byte = Data_Size;
    Put_Positions(grid, Col_Position, Max_Num_Byte);
    Load_Table_File();
}

void TFKNXAccess::Load_File()
{
    TTable_Reader reader(XML1, File_KNX_SetAccess, this);
    TZidIzavodUraz* grid = ACG_KNX_in_Write;
    grid->BeginUpdate();
    Table_Load.Run(reader, [grid](TTable_Reader& rd, const TXMLNode& root) {
        const TXMLNode section = rd.Section(root, QStringLiteral("KNX_in_Write"));
        rd.Rows(section, grid->RowCount() - 1, Whole_Rows(grid, [&rd, grid](const TXMLNode& row, int r) {
            for (int c = 1; c < Col_Count; ++c) {
                const TKNX_Column& col = Columns[c];
                const QString value = col.Default ? TTable_Reader::Attr_Def(row, col.Attribute, QLatin1String(col.Default))
                                                  : rd.Attr(row, col.Attribute);
                grid->SetCells(c, r, value);
                // Only the four priorities are kept.
                if (c == Col_Priority && !Priorities.contains(value))
                    grid->SetCells(c, r, QStringLiteral("Normal"));
            }
        }));
    });
    grid->EndUpdate();
}

void TFKNXAccess::Write_File()
{
    TXMLNode root = Begin_Table_File(XML1, QStringLiteral("BACnet_to_KNX"), QStringLiteral("SW_VERSION = 1.000"));
    Write_Table_Rows(root.AddChild(QStringLiteral("KNX_in_Write")), ACG_KNX_in_Write, Key_Col, Col_Count,
                     [](int c) { return Columns[c].Attribute; });
}

bool TFKNXAccess::Controllo_dati()
{
    TZidIzavodUraz* grid = ACG_KNX_in_Write;
    for (int r = 1; r <= grid->RowCount() - 1; ++r) {
        auto cell = [grid, r](int c) { return grid->Cells(c, r); };
        auto number = [&cell](int c) { return StrToIntDef(cell(c), -1); };
        const QString source = cell(Col_Source).trimmed();
        if (source.isEmpty())
            return true;
        if (cell(Col_Enable).trimmed() != QLatin1String("Y"))
            continue;

        // The rules in their order: the first broken one gives its text and, for three of them,
        // the number the message ends in.
        const QString dest = cell(Col_Dest).trimmed();
        const bool group = Is_Group_Address(dest);
        const QString apci = cell(Col_APCI).toUpper();
        const QString bit_mode = cell(Col_BitMode).toUpper();
        const bool byte_mode = bit_mode == QLatin1String("NO");
        const int start_bit = byte_mode ? 0 : number(Col_BitMode);
        const bool extended = cell(Col_Extended).toUpper() == QLatin1String("Y");
        const int max_length = byte_mode ? (extended ? Max_Bytes_Extended : Max_Bytes)
                                         : (extended ? Max_Bits_Extended : Max_Bits);
        const int position = number(Col_Position);
        const int length = number(Col_Length);
        auto in = [](int n, int lo, int hi) { return n >= lo && n <= hi; };
        int text = 0;
        int tail = -1;
        if (Check_KNX_Address(source, false, true) != 0) {
            text = 1449;
        } else if (Check_KNX_Address(dest, group, true) != 0) {
            text = group ? 1451 : 1450;
        } else if (apci != QLatin1String("READ") && apci != QLatin1String("WRITE") && !in(number(Col_APCI), 0, 1023)) {
            text = 1452;
        } else if (!Priorities.contains(cell(Col_Priority))) {
            text = 1453;
        } else if (cell(Col_Format).trimmed().isEmpty()) {
            text = 1454;
        } else if (cell(Col_OnTimer).toUpper() == QLatin1String("Y") && !in(number(Col_PollTime), 1, 100000000)) {
            text = 1455;
        } else if (!in(position, 0, Max_Num_Byte - 1)) {
            text = 1456;
            tail = Max_Num_Byte - 1;
        } else if (!byte_mode && !in(start_bit, 0, 7)) {
            text = 1457;
        } else if (!in(length, 1, max_length)) {
            text = 1458;
            tail = max_length;
        } else if (position + (byte_mode ? length : (start_bit + length + 7) / 8) > Max_Num_Byte) {
            text = 1459;
            tail = Max_Num_Byte;
        }
        if (text != 0) {
            const QString message = Lang_Table[Error_Row] + QString::number(r) + Lang_Table[text] +
                                    (tail >= 0 ? QString::number(tail) : QString());
            MessageDlg(message, mtError, mbOK, this);
            return false;
        }
    }
    return true;
}

void TFKNXAccess::Delete_Row(int Num_Row, TVerIvovavOzed* SGA)
{
    if (!SGA || Num_Row < 1 || Num_Row > SGA->RowCount() - 1)
        return;
    const int last = SGA->RowCount() - 1;
    SGA->BeginUpdate();
    for (int r = Num_Row; r < last; ++r)
        for (int c = 1; c < SGA->ColCount(); ++c)
            SGA->SetCells(c, r, SGA->Cells(c, r + 1));
    for (int c = 1; c < SGA->ColCount(); ++c)
        SGA->SetCells(c, last, QString());
    SGA->EndUpdate();
}

TFKNXAccess* Create_FKNXAccess(QWidget* parent)
{
    return Create_Table_Window(FKNXAccess, parent, "FKNXAccess");
}
