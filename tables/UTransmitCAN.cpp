#include "tables/UTransmitCAN.h"

#include "core/UComon.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvCGrid.h"
#include "platform/SysUtils.h"
#include "tables/UTable_Frame.h"

TFTransmitCAN* FTransmitCAN = nullptr;

using namespace platform;

namespace {

enum { Col_OnChange = 5, Col_OnCMD = 6, Col_OnTimer = 7, Col_Time = 8 };
constexpr int Max_Time = 100000000;

const TCAN_Column Transmit_Columns[TFTransmitCAN::Col_Count] = {
    {1808, edNormal, false, 40, clWindow, false, nullptr, nullptr, 0},
    {1809, edDataCheckBox, false, 50, Table_Color_Enable, true, "Enable", "Y", 1831},
    {1810, edNormal, false, 90, Table_Color_Address, false, "COBID", "", 1832},
    {1811, edComboList, false, 90, Table_Color_Address, false, "CAN_Type", "2.0A (11 bits)", 1833},
    {1812, edNormal, false, 70, Table_Color_Address, false, "Dim", "", 1834},
    {1813, edDataCheckBox, false, 65, Table_Color_Timing, true, "OnChange", "Y", 1835},
    {1862, edDataCheckBox, false, 50, Table_Color_Timing, true, "OnCMD", "N", 1863},
    {1814, edDataCheckBox, false, 55, Table_Color_Timing, true, "OnTimer", "N", 1836},
    {1815, edNormal, false, 70, Table_Color_Timing, false, "Time", "", 1837},
    {1816, edComboList, true, 48, Table_Color_Position, false, "Byte1", "", 1838},
    {1817, edComboList, true, 48, Table_Color_Position, false, "Byte2", "", 1839},
    {1818, edComboList, true, 48, Table_Color_Position, false, "Byte3", "", 1840},
    {1819, edComboList, true, 48, Table_Color_Position, false, "Byte4", "", 1841},
    {1820, edComboList, true, 48, Table_Color_Position, false, "Byte5", "", 1842},
    {1821, edComboList, true, 48, Table_Color_Position, false, "Byte6", "", 1843},
    {1822, edComboList, true, 48, Table_Color_Position, false, "Byte7", "", 1844},
    {1823, edComboList, true, 48, Table_Color_Position, false, "Byte8", "", 1845},
    {1824, edNormal, false, 110, clWindow, false, "Mnemonic", "", 1846},
};

const TCAN_Layout Transmit_Layout = {
    "FTransmitCAN",
    "ACG_CAN_Transmit",
    1100,
    Transmit_Columns,
    TFTransmitCAN::Col_Count,
    1800,
    9,
    1800,
    1802,
    1825,
    1847,
    1848,
    1849,
    1850,
    1852,
    1853,
    1854,
    1861,
    "Transmit_Frames",
    &File_CAN_Send_Frames,
};

bool Is_Y(const QString& Text)
{
    return Text.trimmed().toUpper() == QLatin1String("Y");
}

} // namespace

TFTransmitCAN::TFTransmitCAN(QWidget* parent) : TFCAN_Frames(parent, Transmit_Layout) {}

void TFTransmitCAN::FormShow()
{
    Refill_Hints();
    TFCAN_Frames::FormShow();
}

bool TFTransmitCAN::Check_Send(int Row, int& Message)
{
    // The period counts only for frames sent on a timer; the other send modes have no value.
    if (!Is_Y(Grid->Cells(Col_OnTimer, Row)))
        return true;
    const int time = StrToIntDef(Grid->Cells(Col_Time, Row), -1);
    if (time < 0 || time > Max_Time) {
        Message = 1851;
        return false;
    }
    return true;
}

QString TFTransmitCAN::Missing_Value(int Col, int Row) const
{
    // A timer frame without its period gets 0 ms.
    if (Col == Col_Time)
        return Grid->Cells(Col_OnTimer, Row) == QLatin1String("Y") ? QStringLiteral("0") : QString();
    return TFCAN_Frames::Missing_Value(Col, Row);
}

TFTransmitCAN* Create_FTransmitCAN(QWidget* parent)
{
    return Create_Table_Window(FTransmitCAN, parent, "FTransmitCAN");
}
