#include "tables/USet_SDO_Server_Access.h"

#include "core/UComon.h"
#include "core/UVelmoraeFirmWare.h"
#include "tables/UTable_Frame.h"

#include <iterator>

TFSet_SDO_Server_Access* FSet_SDO_Server_Access = nullptr;

using namespace platform;

namespace {

// The read and the write table have the same columns.
const TCANopen_Column Columns[TFSet_SDO_Server_Access::Col_Count] = {
    {edNormal, 40, clWindow, false, nullptr},
    {edNormal, 65, Table_Color_Address, false, "Index"},
    {edNormal, 61, Table_Color_Address, false, "SubIndex"},
    {edNormal, 55, Table_Color_Address, false, "NByte"},
    {edNormal, 80, Table_Color_Position, false, "Address_B1"},
    {edNormal, 80, Table_Color_Position, false, "Address_B2"},
    {edNormal, 80, Table_Color_Position, false, "Address_B3"},
    {edNormal, 80, Table_Color_Position, false, "Address_B4"},
    {edNormal, 170, Table_Color_Text, false, "Mnemonic"},
};

// An object of the manufacturer-specific area, its size, then the bytes the size asks for.
// The read and the write table check alike; their texts follow each other.
constexpr std::array<TCANopen_Rule, 4> Object_Rules(int First_Text)
{
    return {{
        {TCANopen_Rule::Range, 1, 0x2000, 0x5FFF, First_Text, 0},
        {TCANopen_Rule::Range, 2, 0, 0xFF, First_Text + 1, 0},
        {TCANopen_Rule::One_Two_Four, 3, 0, 0, First_Text + 2, 0},
        {TCANopen_Rule::Positions, 3, 0, 0, First_Text + 3, 4},
    }};
}
constexpr auto Read_Rules = Object_Rules(2151);
constexpr auto Write_Rules = Object_Rules(2158);

const TCANopen_Layout SDO_Server_Layout = {
    "FSet_SDO_Server_Access",
    749,
    TFSet_SDO_Server_Access::Data_Rows,
    {{"TS_SDO_Read", "sga", "SDO_Read", Columns, TFSet_SDO_Server_Access::Col_Count, 2114, 2116, 2134, Read_Rules.data(),
      int(Read_Rules.size())},
     {"TS_SDO_Write", "sgb", "SDO_Write", Columns, TFSet_SDO_Server_Access::Col_Count, 2115, 2125, 2142, Write_Rules.data(),
      int(Write_Rules.size())}},
    2100,
    2102,
    2108,
    2150,
    2165,
    "SDO_Server_CANopen",
    &File_SDO_Server_CANopen,
};

} // namespace

TFSet_SDO_Server_Access::TFSet_SDO_Server_Access(QWidget* parent) : TFSDO_Table(parent, SDO_Server_Layout) {}

TFSet_SDO_Server_Access* Create_FSet_SDO_Server_Access(QWidget* parent)
{
    return Create_Table_Window(FSet_SDO_Server_Access, parent, "FSet_SDO_Server_Access");
}
