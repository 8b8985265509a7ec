#include "tables/USNMP_Trap_Access.h"

#include "core/UComon.h"
#include "core/UComon_Grid_Rows.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvCGrid.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"

#include <QFileInfo>
#include <QTabWidget>
#include <QVBoxLayout>

TFSNMP_Trap_Access* FSNMP_Trap_Access = nullptr;

using namespace platform;

namespace {

constexpr int Form_Client_Width = 1256;

constexpr TColor Color_Num_Bits = 0xA8FFFF;
constexpr TColor Color_Description = 0xFFD5D5;
constexpr TColor Color_IP_Address = 0xE4E4C9;
constexpr TColor Color_Conversion = 0xB0D8FF;

// Which choice list a drop-down column offers.
enum TItems { itNone, itCommunity, itTypes, itPositions, itBits, itConversions };

const QStringList Community_Items = {QStringLiteral("Public"), QStringLiteral("Private")};
const QStringList Type_Items = {QStringLiteral("Int"), QStringLiteral("String")};
const QStringList Bit_Items = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                               QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")};
const QStringList Conversion_Items = {QStringLiteral("None"),        QStringLiteral("Float"),
                                      QStringLiteral("Float * 10"),  QStringLiteral("Float * 100"),
                                      QStringLiteral("Float / 10"),  QStringLiteral("Float / 100")};
// The lists by kind; the positions are filled at every show.
const QStringList* const Item_Lists[] = {nullptr, &Community_Items, &Type_Items, nullptr, &Bit_Items, &Conversion_Items};

// Community names and descriptions are typed with at most this many characters.
constexpr int Name_Length = 15;

struct TSNMP_Column {
    int Header;             // language index of the header
    TEditorType Editor;
    TItems Items;
    int Edit_Length;        // 0: no limit
    int Width;
    TColor Color;
    bool Centred;
    const char* Attribute;  // none for the row number
    const char* Default;    // the cell of a row whose attribute is missing; none: the reset's
};

const TSNMP_Column Read_Columns[TFSNMP_Trap_Access::Read_Col_Count] = {
    {2216, edNormal, itNone, 0, 40, clWindow, false, nullptr, nullptr},
    {2217, edDataCheckBox, itNone, 0, 50, Table_Color_Enable, true, "Enable", "Y"},
    {2218, edComboEdit, itCommunity, Name_Length, 130, Table_Color_Address, false, "Community_Name", nullptr},
    {2219, edComboList, itTypes, 0, 60, Table_Color_Address, false, "Type", nullptr},
    {2220, edDataCheckBox, itNone, 0, 75, Table_Color_Timing, true, "On_Change", "N"},
    {2221, edDataCheckBox, itNone, 0, 50, Table_Color_Timing, true, "On_Command", "N"},
    {2222, edDataCheckBox, itNone, 0, 60, Table_Color_Timing, true, "On_Timer", "N"},
    {2223, edNormal, itNone, 0, 65, Table_Color_Timing, false, "Time", nullptr},
    {2224, edComboList, itPositions, 0, 60, Table_Color_Position, false, "Position", nullptr},
    {2225, edComboList, itBits, 0, 60, Table_Color_Position, false, "Bit", nullptr},
    {2226, edNormal, itNone, 0, 95, Color_Num_Bits, false, "NumBits", nullptr},
    {2227, edNormal, itNone, Name_Length, 130, Color_Description, false, "Description", nullptr},
    {2228, edNormal, itNone, 0, 120, Color_IP_Address, false, "IP_Address", nullptr},
    {2281, edComboList, itConversions, 0, 100, Color_Conversion, false, "Conversion", "None"},
    {2229, edNormal, itNone, 0, 130, Table_Color_Text, false, "Mnemonic", nullptr},
};

const TSNMP_Column Write_Columns[TFSNMP_Trap_Access::Write_Col_Count] = {
    {2230, edNormal, itNone, 0, 40, clWindow, false, nullptr, nullptr},
    {2231, edDataCheckBox, itNone, 0, 50, Table_Color_Enable, true, "Enable", "Y"},
    {2232, edComboEdit, itCommunity, Name_Length, 130, Table_Color_Address, false, "Community_Name", nullptr},
    {2233, edComboList, itTypes, 0, 60, Table_Color_Address, false, "Type", nullptr},
    {2234, edComboList, itPositions, 0, 60, Table_Color_Position, false, "Position", nullptr},
    {2235, edComboList, itBits, 0, 60, Table_Color_Position, false, "Bit", nullptr},
    {2236, edNormal, itNone, 0, 95, Color_Num_Bits, false, "NumBits", nullptr},
    {2237, edNormal, itNone, Name_Length, 130, Color_Description, false, "Description", nullptr},
    {2282, edComboList, itConversions, 0, 100, Color_Conversion, false, "Conversion", "None"},
    {2238, edNormal, itNone, 0, 500, Table_Color_Text, false, "Mnemonic", nullptr},
};

const int Read_Hints[TFSNMP_Trap_Access::Read_Col_Count - 1] = {2239, 2240, 2241, 2242, 2243, 2244, 2245,
                                                                 2246, 2247, 2248, 2249, 2250, 2283, 2251};
const int Write_Hints[TFSNMP_Trap_Access::Write_Col_Count - 1] = {2252, 2253, 2254, 2255, 2256,
                                                                   2257, 2258, 2284, 2259};

// Where the checked cells of each grid stand, and the texts of its rules; -1: the grid has no
// such column and its rule does not apply.
struct TSNMP_Layout {
    int Community, Type, On_Timer, Time, Position, Bit, Num_Bits, Description, IP_Address, Conversion;
    int Text_Community, Text_Type, Text_Time, Text_Position, Text_Bit, Text_String_Bit, Text_Int_Bits,
        Text_String_Bytes, Text_Description, Text_IP_Address, Text_Conversion;
};
const TSNMP_Layout Read_Layout = {2, 3, 6, 7, 8, 9, 10, 11, 12, 13,
                                  2276, 2261, 2262, 2263, 2264, 2265, 2266, 2267, 2277, 2268, 2285};
const TSNMP_Layout Write_Layout = {2, 3, -1, -1, 4, 5, 6, 7, -1, 8,
                                   2278, 2269, -1, 2270, 2271, 2272, 2273, 2274, 2279, -1, 2286};

constexpr int Key_Col = 2;  // Community Name: rows from the first blank one down are not used
constexpr int Error_Row = 2260;
constexpr int Delete_Question = 2275;
constexpr int Duplicate_Description = 2280;

bool Is_Blank(const QString& Text)
{
    return Text.trimmed().isEmpty();
}

using TSection = TTable_Section<TSNMP_Column>;

} // namespace

TFSNMP_Trap_Access::TFSNMP_Trap_Access(QWidget* parent)
    : TFTable_Frame(parent, "FSNMP_Trap_Access", Form_Client_Width)
{
}

void TFSNMP_Trap_Access::Loaded()
{
    TFTable_Frame::Loaded();
    PageControl1 = Add_Grid_Pages(
        {{"TS_SNMP_Read", &TS_SNMP_Read, "ACG_SNMP_Read", &ACG_SNMP_Read, &Hint_SNMP_Read, &Do_Copy_In_Read},
         {"TS_SNMP_Write", &TS_SNMP_Write, "ACG_SNMP_Write", &ACG_SNMP_Write, &Hint_SNMP_Write, &Do_Copy_In_Write}});
    Build_Grid(ACG_SNMP_Read, false);
    Build_Grid(ACG_SNMP_Write, true);
    Describe_File(&File_SNMP_Trap, Delete_Question);
    Hint_Rule = THint_Rule::Header_Only;
}

void TFSNMP_Trap_Access::Build_Grid(TZidIzavodUraz* Grid, bool Write)
{
    const TSNMP_Column* cols = Write ? Write_Columns : Read_Columns;
    const int n = Write ? Write_Col_Count : Read_Col_Count;
    Setup_Table_Columns(Grid, cols, n, Data_Rows, [](const TSNMP_Column& c) { return Item_Lists[c.Items]; });
    Grid->SetShowHint(true);
    Wire_Grid(Grid, teDblClick | teKey | teHint);
    Grid->OnCheckBoxClick = [this](QObject* s, int c, int r, bool st) { ACG_SNMP_ReadCheckBoxClick(s, c, r, st); };
    Grid->Loaded();
}

void TFSNMP_Trap_Access::FormCreate()
{
    Frame_Create();
    PageControl1->setCurrentWidget(TS_SNMP_Read);
    SL_Check_Desc.clear();
    Set_Lang();
}

void TFSNMP_Trap_Access::Set_Lang()
{
    Set_Frame_Texts(2200, 2201, 2202, 2210, {2208, 2209});
    Put_Column_Headers(ACG_SNMP_Read, Read_Columns, Read_Col_Count);
    Put_Column_Headers(ACG_SNMP_Write, Write_Columns, Write_Col_Count);
    Put_Lang_Texts(Hint_SNMP_Read, Read_Hints);
    Put_Lang_Texts(Hint_SNMP_Write, Write_Hints);
}

void TFSNMP_Trap_Access::FormShow()
{
    Reset_Rows(true);
    // The dialog opens on the tab that was in front when it was last closed.
    NByte_IN = Data_Size;
    NByte_OUT = Data_Size;
    Put_Positions(ACG_SNMP_Read, 8, NByte_IN);
    Put_Positions(ACG_SNMP_Write, 4, NByte_OUT);
    Load_Table_File();
    Index_Row_Build(ACG_SNMP_Read);
    Index_Row_Build(ACG_SNMP_Write);
}

void TFSNMP_Trap_Access::Load_File()
{
    TTable_Reader reader(XML1, File_SNMP_Trap, this);
    Table_Load.Run(reader, [this](TTable_Reader& rd, const TXMLNode& root) {
        const TSection sections[] = {{"SNMP_Trap_Read", ACG_SNMP_Read, Read_Columns, Read_Col_Count},
                                     {"SNMP_Trap_Write", ACG_SNMP_Write, Write_Columns, Write_Col_Count}};
        for (const auto& s : sections) {
            rd.Grid_Rows(rd.Section(root, QLatin1String(s.Section)), s.Grid, [&](const TXMLNode& row, int r) {
                // Every read is guarded: a missing attribute keeps the reset cell or takes the
                // column's own default.
                for (int c = 1; c < s.Count; ++c) {
                    QString value;
                    if (row.TryAttribute(s.Cols[c].Attribute, value))
                        s.Grid->SetCells(c, r, value);
                    else if (s.Cols[c].Default)
                        s.Grid->SetCells(c, r, QLatin1String(s.Cols[c].Default));
                }
            });
        }
    });
}

void TFSNMP_Trap_Access::Write_File()
{
    TXMLNode root = Begin_Table_File(XML1, QStringLiteral("SNMP_Trap"), QStringLiteral("SW_VERSION = 1.000"));
    Write_Table_Sections<TSNMP_Column>(root, Key_Col, {{"SNMP_Trap_Read", ACG_SNMP_Read, Read_Columns, Read_Col_Count},
                                                       {"SNMP_Trap_Write", ACG_SNMP_Write, Write_Columns, Write_Col_Count}});
}

bool TFSNMP_Trap_Access::Check_Error_CommName_Desc(const QString& Text, int Check_Type)
{
    for (int i = 0; i < Text.size(); ++i) {
        const QChar ch = Text.at(i);
        const bool lower = ch >= QLatin1Char('a') && ch <= QLatin1Char('z');
        const bool upper = ch >= QLatin1Char('A') && ch <= QLatin1Char('Z');
        const bool digit = ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
        if (!lower && !upper && !digit)
            return true;
        if (Check_Type == 1 && i == 0 && !lower)
            return true;
    }
    return false;
}

void TFSNMP_Trap_Access::Index_Row_Build(TZidIzavodUraz* app_SGA)
{
    if (!app_SGA)
        return;
    app_SGA->BeginUpdate();
    int counter = 1;
    for (int r = 1; r < app_SGA->RowCount(); ++r) {
        if (app_SGA->Cells(1, r).toUpper() == QLatin1String("Y")) {
            app_SGA->SetCells(0, r, QString::number(counter));
            ++counter;
        } else {
            app_SGA->SetCells(0, r, QString());
        }
    }
    app_SGA->EndUpdate();
}

bool TFSNMP_Trap_Access::Check_Grid(TZidIzavodUraz* Grid, bool Write)
{
    const TSNMP_Layout& k = Write ? Write_Layout : Read_Layout;
    for (int r = 1; r <= Grid->RowCount() - 1 && !Key_Cell_Blank(Grid->Cells(Key_Col, r)); ++r) {
        if (Grid->Cells(1, r).toUpper() != QLatin1String("Y"))
            continue;
        auto cell = [&](int col) { return Grid->Cells(col, r); };
        auto fail = [&](int text) {
            MessageDlg(Lang_Table[Error_Row] + QString::number(r) + Lang_Table[text], mtError, mbOK, this);
            return false;
        };
        const bool is_int = cell(k.Type).toUpper() == QLatin1String("INT");
        if (Check_Error_CommName_Desc(cell(k.Community), 0))
            return fail(k.Text_Community);
        if (Is_Blank(cell(k.Type)))
            return fail(k.Text_Type);
        if (k.On_Timer >= 0 && cell(k.On_Timer).toUpper() == QLatin1String("Y")) {
            const int time = StrToIntDef(cell(k.Time), -1);
            if (time < 1 || time > 1000000000)
                return fail(k.Text_Time);
        }
        if (Is_Blank(cell(k.Position)))
            return fail(k.Text_Position);
        if (Is_Blank(cell(k.Bit)))
            return fail(k.Text_Bit);
        if (!is_int && cell(k.Bit).trimmed() != QLatin1String("0"))
            return fail(k.Text_String_Bit);
        const int bits = StrToIntDef(cell(k.Num_Bits), -1);
        if (is_int && (bits < 1 || bits > 64))
            return fail(k.Text_Int_Bits);
        if (!is_int && (bits < 1 || bits > 16))
            return fail(k.Text_String_Bytes);
        if (Check_Error_CommName_Desc(cell(k.Description), 1))
            return fail(k.Text_Description);
        SL_Check_Desc << cell(k.Description);
        if (k.IP_Address >= 0) {
            QString ip1, ip2, ip3, ip4;
            if (!Check_IP_Address(cell(k.IP_Address), ip1, ip2, ip3, ip4))
                return fail(k.Text_IP_Address);
        }
        if (!Grid->IsHiddenColumn(k.Conversion) && Is_Blank(cell(k.Conversion)))
            return fail(k.Text_Conversion);
    }
    return true;
}

bool TFSNMP_Trap_Access::Controllo_dati()
{
    SL_Check_Desc.clear();
    if (!Check_Grid(ACG_SNMP_Read, false) || !Check_Grid(ACG_SNMP_Write, true))
        return false;
    // Each description names one object of the MIB module: the enabled ones must all differ.
    for (int i = 0; i < SL_Check_Desc.size(); ++i)
        for (int j = i + 1; j < SL_Check_Desc.size(); ++j)
            if (SL_Check_Desc[i] == SL_Check_Desc[j]) {
                MessageDlg(Lang_Table[Duplicate_Description], mtError, mbOK, this);
                return false;
            }
    return true;
}

void TFSNMP_Trap_Access::ACG_SNMP_ReadCheckBoxClick(QObject* Sender, int ACol, int, bool)
{
    if (ACol == 1)
        Index_Row_Build(dynamic_cast<TZidIzavodUraz*>(Sender));
}

TFSNMP_Trap_Access* Create_FSNMP_Trap_Access(QWidget* parent)
{
    return Create_Table_Window(FSNMP_Trap_Access, parent, "FSNMP_Trap_Access");
}
