#include "tables/UReceiveCAN.h"

#include "core/UComon.h"
#include "core/UComon_Grid_Rows.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvCGrid.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"

#include <QFileInfo>
#include <QVBoxLayout>

TFReceiveCAN* FReceiveCAN = nullptr;

using namespace platform;

const QString TFCAN_Frames::Type_11_Bits = QStringLiteral("2.0A (11 bits)");
const QString TFCAN_Frames::Type_29_Bits = QStringLiteral("2.0B (29 bits)");

namespace {

// The columns every CAN frames grid begins with.
enum { Col_Enable = 1, Col_CobID = 2, Col_Type = 3, Col_Dimension = 4 };
constexpr int Key_Col = Col_CobID;
constexpr int Max_CobID_11 = 2047;
constexpr int Max_CobID_29 = 536870911;  // 0x1FFFFFFF
constexpr int Max_Frame_Bytes = 8;

// ---- the receive table ----
enum { Col_TimeOut = 5 };
constexpr int Max_TimeOut = 100000000;

const TCAN_Column Receive_Columns[TFReceiveCAN::Col_Count] = {
    {1708, edNormal, false, 40, clWindow, false, nullptr, nullptr, 0},
    {1709, edDataCheckBox, false, 50, Table_Color_Enable, true, "Enable", "Y", 1729},
    {1710, edNormal, false, 90, Table_Color_Address, false, "COBID", "", 1730},
    {1711, edComboList, false, 90, Table_Color_Address, false, "CAN_Type", "", 1731},
    {1712, edNormal, false, 70, Table_Color_Address, false, "Dim", "", 1732},
    {1713, edNormal, false, 75, Table_Color_Timing, false, "TimeOut", "0", 1734},
    {1714, edComboList, true, 48, Table_Color_Position, false, "Byte1", "", 1735},
    {1715, edComboList, true, 48, Table_Color_Position, false, "Byte2", "", 1736},
    {1716, edComboList, true, 48, Table_Color_Position, false, "Byte3", "", 1737},
    {1717, edComboList, true, 48, Table_Color_Position, false, "Byte4", "", 1738},
    {1718, edComboList, true, 48, Table_Color_Position, false, "Byte5", "", 1739},
    {1719, edComboList, true, 48, Table_Color_Position, false, "Byte6", "", 1740},
    {1720, edComboList, true, 48, Table_Color_Position, false, "Byte7", "", 1741},
    {1721, edComboList, true, 48, Table_Color_Position, false, "Byte8", "", 1742},
    {1722, edNormal, false, 185, clWindow, false, "Mnemonic", "", 1743},
};

const TCAN_Layout Receive_Layout = {
    "FReceiveCAN",
    "ACG_CAN_Receive",
    1010,
    Receive_Columns,
    TFReceiveCAN::Col_Count,
    1500,
    6,
    1700,
    1702,
    1723,
    1744,
    1745,
    1746,
    1747,
    1749,
    1750,
    1751,
    1758,
    "Receive_Frames",
    &File_CAN_Rec_Frames,
};

} // namespace

// ---- the frame of the two CAN tables ----------------------------------------------------------

TFCAN_Frames::TFCAN_Frames(QWidget* parent, const TCAN_Layout& Layout)
    : TFTable_Frame(parent, Layout.Name, Layout.Client_Width), FLayout(Layout)
{
}

void TFCAN_Frames::Loaded()
{
    TFTable_Frame::Loaded();
    Grid = Add_Body_Grid<TZidIzavodUraz>(FLayout.Grid_Name, &Hint_List, &Do_Copy);
    Setup_Table_Columns(Grid, FLayout.Columns, FLayout.Col_Count, Data_Rows);
    Put_Items(Grid->Columns().Items(Col_Type)->ComboItems(), {Type_11_Bits, Type_29_Bits});
    Grid->SetShowHint(true);
    Grid->SetHintShowCells(true);
    // Only the header cell of a data column has a hint: the entry of its shown column.
    Wire_Grid(Grid, teDblClick | teKey | teHint);
    Grid->Loaded();
    Describe_File(FLayout.Path, FLayout.Delete_Question);
    Hint_Rule = THint_Rule::Shown_Column;
}

void TFCAN_Frames::FormCreate()
{
    Frame_Create();
    Set_Lang();
}

void TFCAN_Frames::Set_Lang()
{
    Set_Frame_Texts(FLayout.Caption, FLayout.Caption + 1, FLayout.Button_Captions, FLayout.Button_Hints);
    Put_Column_Headers(Grid, FLayout.Columns, FLayout.Col_Count);
    Refill_Hints();
}

void TFCAN_Frames::Refill_Hints()
{
    Hint_List.clear();
    for (int c = 1; c < FLayout.Col_Count; ++c)
        Hint_List << Lang_Table[FLayout.Columns[c].Hint];
}

void TFCAN_Frames::FormShow()
{
    // Every showing starts from the file: the grid is emptied first, rows enabled.
    Reset_Rows(true);

    MAX_Byte = FLayout.Max_Byte;
    QStringList positions;
    positions.reserve(MAX_Byte + 1);
    positions << QStringLiteral("None");
    for (int i = 0; i < MAX_Byte; ++i)
        positions << QString::number(i);
    for (int c = 0; c < FLayout.Col_Count; ++c)
        if (FLayout.Columns[c].Byte_List)
            Put_Items(Grid->Columns().Items(c)->ComboItems(), positions);

    Load_Table_File();
    if (Grid->isEnabled())
        Grid->SetFocus();
}

QString TFCAN_Frames::Missing_Value(int Col, int) const
{
    return QLatin1String(FLayout.Columns[Col].Missing);
}

void TFCAN_Frames::Load_File()
{
    TTable_Reader reader(XML1, *FLayout.Path, this);
    Table_Load.Run(reader, [this](TTable_Reader& rd, const TXMLNode& root) {
        // The rows stand directly under the root; every attribute has a value of its own when
        // the file lacks it, so a row always loads whole.
        rd.Grid_Rows(root, Grid, [this](const TXMLNode& row, int r) {
            for (int c = 1; c < FLayout.Col_Count; ++c) {
                QString value;
                if (!row.TryAttribute(QLatin1String(FLayout.Columns[c].Attribute), value))
                    value = Missing_Value(c, r);
                Grid->SetCells(c, r, value);
            }
        });
    });
}

void TFCAN_Frames::Write_File()
{
    TXMLNode root = Begin_Table_File(XML1, QLatin1String(FLayout.Root), QStringLiteral("SW_VERSION = 1.000"));
    Write_Table_Rows(root, Grid, Key_Col, FLayout.Col_Count, [this](int c) { return FLayout.Columns[c].Attribute; });
}

void TFCAN_Frames::Fail(int Row, const QString& Text)
{
    MessageDlg(Lang_Table[FLayout.Error_Row] + QString::number(Row) + Text, mtError, mbOK, this);
}

bool TFCAN_Frames::Controllo_dati()
{
    for (int r = 1; r <= Grid->RowCount() - 1 && !Key_Cell_Blank(Grid->Cells(Key_Col, r)); ++r) {
        if (Grid->Cells(Col_Enable, r).trimmed().toUpper() != QLatin1String("Y"))
            continue;
        const bool bits11 = Grid->Cells(Col_Type, r).trimmed() == Type_11_Bits;
        const int cobid = StrToIntDef(Grid->Cells(Col_CobID, r), -1);
        if (cobid < 0 || cobid > (bits11 ? Max_CobID_11 : Max_CobID_29)) {
            Fail(r, Lang_Table[bits11 ? FLayout.CobID_11 : FLayout.CobID_29]);
            return false;
        }
        const int dim = StrToIntDef(Grid->Cells(Col_Dimension, r), -1);
        if (dim < 1 || dim > Max_Frame_Bytes) {
            Fail(r, Lang_Table[FLayout.Dimension]);
            return false;
        }
        int message = 0;
        if (!Check_Send(r, message)) {
            Fail(r, Lang_Table[message]);
            return false;
        }
        for (int k = 1; k <= dim; ++k) {
            const QString cell = Grid->Cells(FLayout.First_Byte_Col + k - 1, r).trimmed();
            if (cell.isEmpty() || cell == QLatin1String("None"))
                continue;
            const int pos = StrToIntDef(cell, -1);
            if (pos < 0 || pos > MAX_Byte - 1) {
                const int text = k == 1 ? FLayout.Byte1 : FLayout.Byte2 + k - 2;
                Fail(r, Lang_Table[text] + QString::number(MAX_Byte - 1) + Lang_Table[FLayout.Or_None]);
                return false;
            }
        }
    }
    return true;
}

// ---- the receive table ------------------------------------------------------------------------

TFReceiveCAN::TFReceiveCAN(QWidget* parent) : TFCAN_Frames(parent, Receive_Layout) {}

bool TFReceiveCAN::Check_Send(int Row, int& Message)
{
    const int timeout = StrToIntDef(Grid->Cells(Col_TimeOut, Row), -1);
    if (timeout < 0 || timeout > Max_TimeOut) {
        Message = 1748;
        return false;
    }
    return true;
}

TFReceiveCAN* Create_FReceiveCAN(QWidget* parent)
{
    return Create_Table_Window(FReceiveCAN, parent, "FReceiveCAN");
}
