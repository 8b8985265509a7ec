#include "tables/USet_SDO_Client_Access.h"

#include "core/UComon.h"
#include "core/UVelmoraeFirmWare.h"
#include "tables/UTable_Frame.h"

#include <iterator>

TFSet_SDO_Client_Access* FSet_SDO_Client_Access = nullptr;

using namespace platform;

namespace {

// Both tables begin with the node, the object, the size and the period.
constexpr std::array<TCANopen_Column, 6> SDO_Head = {{
    {edNormal, 40, clWindow, false, nullptr},
    {edNormal, 60, Table_Color_Address, false, "Device_ID"},
    {edNormal, 55, Table_Color_Address, false, "Index"},
    {edNormal, 60, Table_Color_Address, false, "SubIndex"},
    {edNormal, 45, Table_Color_Address, false, "NByte"},
    {edNormal, 60, Table_Color_Timing, false, "Poll_Time"},
}};

constexpr auto Read_Columns = Join_Columns(SDO_Head, std::array<TCANopen_Column, 5>{{
                                                         {edNormal, 70, Table_Color_Position, false, "Address_B1"},
                                                         {edNormal, 70, Table_Color_Position, false, "Address_B2"},
                                                         {edNormal, 70, Table_Color_Position, false, "Address_B3"},
                                                         {edNormal, 70, Table_Color_Position, false, "Address_B4"},
                                                         {edNormal, 163, Table_Color_Text, false, "Mnemonic"},
                                                     }});
static_assert(Read_Columns.size() == TFSet_SDO_Client_Access::Read_Col_Count);

constexpr auto Write_Columns = Join_Columns(SDO_Head, std::array<TCANopen_Column, 6>{{
                                                          {edDataCheckBox, 68, Table_Color_Timing, true, "On_Change"},
                                                          {edNormal, 70, Table_Color_Position, false, "Address_B1"},
                                                          {edNormal, 70, Table_Color_Position, false, "Address_B2"},
                                                          {edNormal, 70, Table_Color_Position, false, "Address_B3"},
                                                          {edNormal, 70, Table_Color_Position, false, "Address_B4"},
                                                          {edNormal, 95, Table_Color_Text, false, "Mnemonic"},
                                                      }});
static_assert(Write_Columns.size() == TFSet_SDO_Client_Access::Write_Col_Count);

// Node, object, size, period, then the bytes the size asks for. A read request needs a period.
const TCANopen_Rule Read_Rules[] = {
    {TCANopen_Rule::Range, 1, 1, 127, 2061, 0},
    {TCANopen_Rule::Range, 2, 0x1000, 0xFFFF, 2062, 0},
    {TCANopen_Rule::Range, 3, 0, 0xFF, 2063, 0},
    {TCANopen_Rule::One_Two_Four, 4, 0, 0, 2064, 0},
    {TCANopen_Rule::Range, 5, 1, 100000000, 2065, 0},
    {TCANopen_Rule::Positions, 4, 0, 0, 2066, 6},
};
const TCANopen_Rule Write_Rules[] = {
    {TCANopen_Rule::Range, 1, 1, 127, 2070, 0},
    {TCANopen_Rule::Range, 2, 0x1000, 0xFFFF, 2071, 0},
    {TCANopen_Rule::Range, 3, 0, 0xFF, 2072, 0},
    {TCANopen_Rule::One_Two_Four, 4, 0, 0, 2073, 0},
    {TCANopen_Rule::Range, 5, 0, 100000000, 2074, 0},
    {TCANopen_Rule::Positions, 4, 0, 0, 2075, 7},
};

const TCANopen_Layout SDO_Client_Layout = {
    "FSet_SDO_Client_Access",
    798,
    TFSet_SDO_Client_Access::Data_Rows,
    {{"TS_SDO_Read", "sga", "SDO_Read", Read_Columns.data(), TFSet_SDO_Client_Access::Read_Col_Count, 2014, 2016, 2039,
      Read_Rules, int(std::size(Read_Rules))},
     {"TS_SDO_Write", "sgb", "SDO_Write", Write_Columns.data(), TFSet_SDO_Client_Access::Write_Col_Count, 2015, 2027, 2049,
      Write_Rules, int(std::size(Write_Rules))}},
    2000,
    2002,
    2008,
    2060,
    2079,
    "SDO_Client_CANopen",
    &File_SDO_Client_CANopen,
};

} // namespace

TFSet_SDO_Client_Access::TFSet_SDO_Client_Access(QWidget* parent) : TFSDO_Table(parent, SDO_Client_Layout) {}

TFSet_SDO_Client_Access* Create_FSet_SDO_Client_Access(QWidget* parent)
{
    return Create_Table_Window(FSet_SDO_Client_Access, parent, "FSet_SDO_Client_Access");
}
