#include "tables/UMQTT_Set_Topic.h"

#include "core/UComon.h"
#include "core/UComon_Grid_Rows.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvCGrid.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "tables/UTopicTemplate.h"

#include <QFileInfo>
#include <QTabWidget>
#include <QVBoxLayout>

TFMQTT_Set_Topic* FMQTT_Set_Topic = nullptr;

using namespace platform;

namespace {

constexpr int Form_Client_Width = 1100;
constexpr int Data_Size = 1500;  // bytes of the data array for publish and for subscribe positions

constexpr TColor Color_Topic = 0xFEFAE0;
constexpr TColor Color_Flags = 0xFFD5D5;     // Retained, QoS
constexpr TColor Color_Value = 0xA8FFA8;     // type, size, Ethernet and Modbus columns
constexpr TColor Color_Position = 0xF4D6FC;
constexpr TColor Color_Template = 0xA8FFFF;
constexpr TColor Color_Events = 0xB0D8FF;    // OnChange, OnCMD, OnTimer, Time(ms)

enum TItems { itNone, itQoS, itData_Types, itTemplates, itChannels, itEth_Types };

const QStringList QoS_Items = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
const QStringList Data_Type_Items = {QStringLiteral("Int"), QStringLiteral("Float"), QStringLiteral("String"),
                                     QStringLiteral("Base64")};
const QStringList Template_Items = {QStringLiteral("$VALUE$")};
const QStringList Eth_Type_Items = {QStringLiteral("TCP"), QStringLiteral("UDP")};

QStringList Channel_Items()
{
    QStringList items;
    for (int i = 0; i <= 63; ++i)
        items << QString::number(i);
    items << QStringLiteral("All");
    return items;
}

const QStringList Channel_List = Channel_Items();
const QStringList* const Item_Lists[] = {nullptr, &QoS_Items, &Data_Type_Items, &Template_Items, &Channel_List, &Eth_Type_Items};

// What a show puts into a cell of a row read from the file.
enum TLoad {
    ldNone,      // the row number
    ldRequired,  // the attribute must be there: without it the file cannot be used
    ldEmpty,     // the attribute, or the empty text when it is missing
    ldN,         // the attribute, or "N" when it is missing
    ldKeep,      // no attribute: the cell stays as the reset left it
    ldSetEmpty,  // no attribute: the cell is emptied
    ldSetN,      // no attribute: the cell gets "N"
};

struct TMQTT_Column {
    int Header;
    TEditorType Editor;
    TItems Items;
    int Width;
    TColor Color;
    bool Shown;             // after the show
    const char* Attribute;  // none: the column is not saved
    TLoad Load;
};

const TMQTT_Column Pub_Columns[TFMQTT_Set_Topic::Pub_Col_Count] = {
    {2314, edNormal, itNone, 40, clWindow, true, nullptr, ldNone},
    {2315, edNormal, itNone, 300, Color_Topic, true, "Topic", ldRequired},
    {2316, edDataCheckBox, itNone, 60, Color_Flags, true, "Retained", ldRequired},
    {2317, edComboList, itQoS, 80, Color_Flags, true, "QoS", ldRequired},
    {2337, edComboList, itData_Types, 80, Color_Value, true, "DataType", ldEmpty},
    {2338, edNormal, itNone, 80, Color_Value, true, "Dimension", ldEmpty},
    {2339, edNormal, itNone, 80, Color_Position, true, "Position", ldEmpty},
    {2362, edNormal, itNone, 100, Color_Value, false, "IPAddress", ldEmpty},
    {2363, edNormal, itNone, 120, Color_Value, false, "InputTemplate", ldEmpty},
    {2335, edComboEdit, itTemplates, 130, Color_Template, true, "Template", ldEmpty},
    {2381, edDataCheckBox, itNone, 75, Color_Events, true, "OnChange", ldN},
    {2383, edDataCheckBox, itNone, 55, Color_Events, false, nullptr, ldKeep},
    {2384, edDataCheckBox, itNone, 64, Color_Events, true, "OnTimer", ldN},
    {2385, edNormal, itNone, 70, Color_Events, true, "Time", ldEmpty},
    {2390, edComboList, itChannels, 60, Color_Value, false, nullptr, ldSetEmpty},
    {2393, edDataCheckBox, itNone, 40, Color_Value, false, nullptr, ldSetN},
    {2394, edDataCheckBox, itNone, 80, Color_Value, false, nullptr, ldSetN},
    {2318, edNormal, itNone, 170, Table_Color_Text, true, "Mnemonic", ldRequired},
};

const TMQTT_Column Sub_Columns[TFMQTT_Set_Topic::Sub_Col_Count] = {
    {2324, edNormal, itNone, 40, clWindow, true, nullptr, ldNone},
    {2325, edNormal, itNone, 300, Color_Topic, true, "Topic", ldRequired},
    {2326, edDataCheckBox, itNone, 60, Color_Flags, false, "Retained", ldRequired},
    {2327, edComboList, itQoS, 80, Color_Flags, true, "QoS", ldRequired},
    {2343, edComboList, itData_Types, 80, Color_Value, true, "DataType", ldEmpty},
    {2344, edNormal, itNone, 80, Color_Value, true, "Dimension", ldEmpty},
    {2345, edNormal, itNone, 80, Color_Position, true, "Position", ldEmpty},
    {2366, edNormal, itNone, 100, Color_Value, false, "IPAddress", ldEmpty},
    {2367, edNormal, itNone, 50, Color_Value, false, "Port", ldEmpty},
    {2368, edComboList, itEth_Types, 64, Color_Value, false, "EthType", ldEmpty},
    {2369, edNormal, itNone, 130, Color_Value, false, "InputTemplate", ldEmpty},
    {2346, edComboEdit, itTemplates, 130, Color_Template, true, "Template", ldEmpty},
    {2393, edDataCheckBox, itNone, 40, Color_Value, false, nullptr, ldSetN},
    {2394, edDataCheckBox, itNone, 80, Color_Value, false, nullptr, ldSetN},
    {2328, edNormal, itNone, 220, Table_Color_Text, true, "Mnemonic", ldRequired},
};

const int Pub_Hints[TFMQTT_Set_Topic::Pub_Col_Count - 1] = {2319, 2320, 2321, 2340, 2341, 2342, 2364, 2365, 2336,
                                                            2382, 2386, 2387, 2388, 2391, 2395, 2396, 2322};
const int Sub_Hints[TFMQTT_Set_Topic::Sub_Col_Count - 1] = {2329, 2330, 2331, 2347, 2348, 2349, 2370,
                                                            2371, 2372, 2373, 2350, 2397, 2398, 2332};

// The columns the show hides and shows, by real index, in the order it does so.
const int Pub_Hide[] = {4, 5, 6, 7, 8, 9, 11, 14, 15, 16};
const int Pub_Show[] = {10, 12, 13};
const int Sub_Hide[] = {2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
const int Pub_Show_Again[] = {4, 5, 6, 9};
const int Sub_Show_Again[] = {4, 5, 6, 11};

// Where the checked cells of each grid stand and the texts of its rules; -1: no such column.
struct TMQTT_Layout {
    int Data_Type, Dimension, Position, IP_Address, Port, Input_Template, Template, On_Timer, Time;
    int Text_Type, Text_Int, Text_Float, Text_Other, Text_Position, Text_IP_Address, Text_Port,
        Text_Input_Template, Text_Template, Text_Time;
};
const TMQTT_Layout Pub_Layout = {4, 5, 6, 7, -1, 8, 9, 12, 13,
                                 2352, 2353, 2354, 2355, 2356, 2374, -1, 2377, 2378, 2389};
const TMQTT_Layout Sub_Layout = {4, 5, 6, 7, 8, 10, 11, -1, -1,
                                 2357, 2358, 2359, 2360, 2361, 2375, 2376, 2379, 2380, -1};

constexpr int Key_Col = 1;  // Topic
constexpr int Error_Row = 2351;
constexpr int Delete_Question = 2323;

using TSection = TTable_Section<TMQTT_Column>;

} // namespace

TFMQTT_Set_Topic::TFMQTT_Set_Topic(QWidget* parent) : TFTable_Frame(parent, "FMQTT_Set_Topic", Form_Client_Width) {}

void TFMQTT_Set_Topic::Loaded()
{
    TFTable_Frame::Loaded();
    PageControl1 = Add_Grid_Pages(
        {{"TS_MQTT_Publish", &TS_MQTT_Publish, "ACG_Pub", &ACG_Pub, &Hint_MQTT_Set_Topic_Pub, &Do_Copy_Pub},
         {"TS_MQTT_Subscribe", &TS_MQTT_Subscribe, "ACG_Sub", &ACG_Sub, &Hint_MQTT_Set_Topic_Sub, &Do_Copy_Sub}});
    Build_Grid(ACG_Pub, false);
    Build_Grid(ACG_Sub, true);
    Describe_File(&File_MQTT_Set_Topic, Delete_Question);
    Insert_Enabled = false;
}

void TFMQTT_Set_Topic::Build_Grid(TZidIzavodUraz* Grid, bool Sub)
{
    const TMQTT_Column* cols = Sub ? Sub_Columns : Pub_Columns;
    const int n = Sub ? Sub_Col_Count : Pub_Col_Count;
    Setup_Table_Columns(Grid, cols, n, Data_Rows, [](const TMQTT_Column& c) { return Item_Lists[c.Items]; });
    Grid->SetShowHint(true);
    Wire_Grid(Grid, teDblClick | teKey | teHint);
    Grid->Loaded();
}

void TFMQTT_Set_Topic::FormCreate()
{
    Frame_Create();
    Set_Lang();
}

void TFMQTT_Set_Topic::Set_Lang()
{
    Set_Frame_Texts(2300, 2301, 2302, 2308, {2333, 2334});
    Put_Column_Headers(ACG_Pub, Pub_Columns, Pub_Col_Count);
    Put_Lang_Texts(Hint_MQTT_Set_Topic_Pub, Pub_Hints);
    Put_Column_Headers(ACG_Sub, Sub_Columns, Sub_Col_Count);
    Put_Lang_Texts(Hint_MQTT_Set_Topic_Sub, Sub_Hints);
}

void TFMQTT_Set_Topic::FormShow()
{
    Working_Mode = 1;
    Byte_IN = Data_Size;
    Byte_OUT = Data_Size;

    // This device's working mode: whatever the grids showed before, the same columns come out.
    for (int c : Pub_Hide)
        ACG_Pub->HideColumn(c);
    for (int c : Pub_Show)
        ACG_Pub->UnHideColumn(c);
    for (int c : Sub_Hide)
        ACG_Sub->HideColumn(c);
    PageControl1->setTabVisible(PageControl1->indexOf(TS_MQTT_Subscribe), true);
    ACG_Pub->SetRowCount(Data_Rows + 1);
    ACG_Sub->SetRowCount(Data_Rows + 1);
    for (int c : Pub_Show_Again)
        ACG_Pub->UnHideColumn(c);
    for (int c : Sub_Show_Again)
        ACG_Sub->UnHideColumn(c);
    PageControl1->setCurrentWidget(TS_MQTT_Publish);

    Reset_Rows(false);
    Load_Table_File();
}

void TFMQTT_Set_Topic::Load_File()
{
    TTable_Reader reader(XML1, File_MQTT_Set_Topic, this);
    Table_Load.Run(reader, [this](TTable_Reader& rd, const TXMLNode& root) {
        const TSection sections[] = {{"MQTT_Publish", ACG_Pub, Pub_Columns, Pub_Col_Count},
                                     {"MQTT_Subscribe", ACG_Sub, Sub_Columns, Sub_Col_Count}};
        for (const auto& s : sections) {
            rd.Grid_Rows(rd.Section(root, QLatin1String(s.Section)), s.Grid, Whole_Rows(s.Grid, [&](const TXMLNode& row, int r) {
                for (int c = 1; c < s.Count; ++c) {
                    const char* name = s.Cols[c].Attribute;
                    switch (s.Cols[c].Load) {
                    case ldRequired:
                        s.Grid->SetCells(c, r, rd.Attr(row, name));
                        break;
                    case ldEmpty:
                        s.Grid->SetCells(c, r, TTable_Reader::Attr_Def(row, name, QString()));
                        break;
                    case ldN:
                        s.Grid->SetCells(c, r, TTable_Reader::Attr_Def(row, name, QStringLiteral("N")));
                        break;
                    case ldSetEmpty:
                        s.Grid->SetCells(c, r, QString());
                        break;
                    case ldSetN:
                        s.Grid->SetCells(c, r, QStringLiteral("N"));
                        break;
                    case ldNone:
                    case ldKeep:
                        break;
                    }
                }
            }));
        }
    });
}

void TFMQTT_Set_Topic::Write_File()
{
    TXMLNode root = Begin_Table_File(XML1, QStringLiteral("MQTT_Set_Topic"), QStringLiteral("SW_VERSION = 1.000"));
    Write_Table_Sections<TMQTT_Column>(root, Key_Col, {{"MQTT_Publish", ACG_Pub, Pub_Columns, Pub_Col_Count},
                                                       {"MQTT_Subscribe", ACG_Sub, Sub_Columns, Sub_Col_Count}});
}

bool TFMQTT_Set_Topic::Error_In_Topic_Template(const QString& Str)
{
    return Str.count(QLatin1Char('$')) % 2 != 0;
}

bool TFMQTT_Set_Topic::Check_Grid(TZidIzavodUraz* Grid, bool Sub)
{
    const TMQTT_Layout& k = Sub ? Sub_Layout : Pub_Layout;
    const int size = Sub ? Byte_OUT : Byte_IN;
    auto shown = [Grid](int col) { return col >= 0 && !Grid->IsHiddenColumn(col); };
    for (int r = 1; r <= Grid->RowCount() - 1 && !Key_Cell_Blank(Grid->Cells(Key_Col, r)); ++r) {
        auto cell = [&](int col) { return Grid->Cells(col, r); };
        auto fail = [&](int text, const QString& tail = QString()) {
            MessageDlg(Lang_Table[Error_Row] + QString::number(r) + Lang_Table[text] + tail, mtError, mbOK, this);
            return false;
        };
        if (shown(k.Data_Type)) {
            const QString type = cell(k.Data_Type).toUpper().trimmed();
            const int d = StrToIntDef(cell(k.Dimension), -1);
            if (type.isEmpty())
                return fail(k.Text_Type);
            if (type == QLatin1String("INT")) {
                if (d != 1 && d != 2 && d != 4 && d != 8)
                    return fail(k.Text_Int);
            } else if (type == QLatin1String("FLOAT")) {
                if (d != 4 && d != 8)
                    return fail(k.Text_Float);
            } else if (d < 1) {
                return fail(k.Text_Other);
            }
        }
        if (shown(k.Position)) {
            const int p = StrToIntDef(cell(k.Position), -1);
            if (p < 0 || p >= size)
                return fail(k.Text_Position, QString::number(size - 1));
        }
        if (shown(k.IP_Address)) {
            QString ip1, ip2, ip3, ip4;
            if (!Check_IP_Address(cell(k.IP_Address).trimmed(), ip1, ip2, ip3, ip4))
                return fail(k.Text_IP_Address);
        }
        if (shown(k.Port)) {
            const int port = StrToIntDef(cell(k.Port), -1);
            if (port < 0 || port > 65535)
                return fail(k.Text_Port);
        }
        if (shown(k.Input_Template) && Error_In_Topic_Template(cell(k.Input_Template).trimmed()))
            return fail(k.Text_Input_Template);
        if (shown(k.Template) && Error_In_Topic_Template(cell(k.Template).trimmed()))
            return fail(k.Text_Template);
        // The timer rule holds whether its columns are shown or not.
        if (k.On_Timer >= 0 && cell(k.On_Timer).toUpper().trimmed() == QLatin1String("Y")) {
            const int time = StrToIntDef(cell(k.Time), -1);
            if (time < 1 || time > 999999999)
                return fail(k.Text_Time);
        }
    }
    return true;
}

bool TFMQTT_Set_Topic::Controllo_dati()
{
    return Check_Grid(ACG_Pub, false) && Check_Grid(ACG_Sub, true);
}

void TFMQTT_Set_Topic::Show_Form_Topic(TZidIzavodUraz* Grid, int ARow, int ACol)
{
    // The picker is made the first time it is needed.
    if (!Grid || !Need_Window(FTopicTemplate, "FTopicTemplate"))
        return;
    const bool sub = Grid == ACG_Sub;
    FTopicTemplate->TopicTemplate = ACol == (sub ? Sub_Template_Col : Pub_Template_Col) ? 1 : 0;
    FTopicTemplate->Working_Mode = Working_Mode;
    FTopicTemplate->Pub_Sub = sub ? 1 : 0;
    FTopicTemplate->Set_Topic_Text(QString());
    FTopicTemplate->Set_Topic_Text(Grid->Cells(ACol, ARow));
    if (FTopicTemplate->ShowModal() == mrOk)
        Grid->SetCells(ACol, ARow, FTopicTemplate->Topic_Text());
}

void TFMQTT_Set_Topic::DblClickCell(QObject* Sender, int ARow, int ACol)
{
    auto* grid = dynamic_cast<TZidIzavodUraz*>(Sender);
    if (!grid)
        return;
    TFTable_Frame::DblClickCell(grid, ARow, ACol);
    // The picker edits the current cell, which a double click on a data cell has just made current.
    const int col = grid->RealCol();
    const int row = grid->RealRow();
    if (col == (grid == ACG_Sub ? Sub_Template_Col : Pub_Template_Col) && row >= 1 && row < grid->RowCount())
        Show_Form_Topic(grid, row, col);
}

TFMQTT_Set_Topic* Create_FMQTT_Set_Topic(QWidget* parent)
{
    return Create_Table_Window(FMQTT_Set_Topic, parent, "FMQTT_Set_Topic");
}
