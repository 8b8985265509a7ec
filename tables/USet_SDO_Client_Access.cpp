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

// Then both have the four byte positions and the mnemonic; the write table decides "on change"
// before its positions.
constexpr std::array<TCANopen_Column, 4> SDO_Bytes = {{
    {edNormal, 70, Table_Color_Position, false, "Address_B1"},
    {edNormal, 70, Table_Color_Position, false, "Address_B2"},
    {edNormal, 70, Table_Color_Position, false, "Address_B3"},
    {edNormal, 70, Table_Color_Position, false, "Address_B4"},
}};
constexpr std::array<TCANopen_Column, 1> Mnemonic(int Width)
{
    return {{{edNormal, Width, Table_Color_Text, false, "Mnemonic"}}};
}
constexpr std::array<TCANopen_Column, 1> On_Change = {{{edDataCheckBox, 68, Table_Color_Timing, true, "On_Change"}}};

constexpr auto Read_Columns = Join_Columns(Join_Columns(SDO_Head, SDO_Bytes), Mnemonic(163));
static_assert(Read_Columns.size() == TFSet_SDO_Client_Access::Read_Col_Count);

constexpr auto Write_Columns = Join_Columns(Join_Columns(Join_Columns(SDO_Head, On_Change), SDO_Bytes), Mnemonic(95));
static_assert(Write_Columns.size() == TFSet_SDO_Client_Access::Write_Col_Count);

// Node, object, size, period, then the bytes the size asks for. A read request needs a period.
// Their texts follow each other.
constexpr std::array<TCANopen_Rule, 6> Request_Rules(int First_Text, int Min_Period, int Position_Col)
{
    return {{
        {TCANopen_Rule::Range, 1, 1, 127, First_Text, 0},
        {TCANopen_Rule::Range, 2, 0x1000, 0xFFFF, First_Text + 1, 0},
        {TCANopen_Rule::Range, 3, 0, 0xFF, First_Text + 2, 0},
        {TCANopen_Rule::One_Two_Four, 4, 0, 0, First_Text + 3, 0},
        {TCANopen_Rule::Range, 5, Min_Period, 100000000, First_Text + 4, 0},
        {TCANopen_Rule::Positions, 4, 0, 0, First_Text + 5, Position_Col},
    }};
}
constexpr auto Read_Rules = Request_Rules(2061, 1, 6);
constexpr auto Write_Rules = Request_Rules(2070, 0, 7);

const TCANopen_Layout SDO_Client_Layout = {
    "FSet_SDO_Client_Access",
    798,
    TFSet_SDO_Client_Access::Data_Rows,
    {{"TS_SDO_Read", "sga", "SDO_Read", Read_Columns.data(), TFSet_SDO_Client_Access::Read_Col_Count, 2014, 2016, 2039,
      Read_Rules.data(), int(Read_Rules.size())},
     {"TS_SDO_Write", "sgb", "SDO_Write", Write_Columns.data(), TFSet_SDO_Client_Access::Write_Col_Count, 2015, 2027, 2049,
      Write_Rules.data(), int(Write_Rules.size())}},
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
