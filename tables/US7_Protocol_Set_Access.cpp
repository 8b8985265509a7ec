#include "tables/US7_Protocol_Set_Access.h"

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

TFS7_Protocol_Set_Access* FS7_Protocol_Set_Access = nullptr;

using namespace platform;

const QStringList TFS7_Protocol_Set_Access::PLC_Types = {
    QStringLiteral("Logo0BA8"), QStringLiteral("S7200"),  QStringLiteral("S7300"),
    QStringLiteral("S7400"),    QStringLiteral("S71200"), QStringLiteral("S71500")};
const QStringList TFS7_Protocol_Set_Access::Data_Types = {
    QStringLiteral("Bit"), QStringLiteral("Byte"),  QStringLiteral("Char"), QStringLiteral("Word"),
    QStringLiteral("Int"), QStringLiteral("DWord"), QStringLiteral("DInt"), QStringLiteral("Real")};
const QStringList TFS7_Protocol_Set_Access::Data_Identifiers = {
    QStringLiteral("OB"), QStringLiteral("DB"), QStringLiteral("SDB"), QStringLiteral("FC"),
    QStringLiteral("SFC"), QStringLiteral("FB"), QStringLiteral("SFB")};
const QStringList TFS7_Protocol_Set_Access::PLC_Areas = {
    QStringLiteral("Direct peripheral access (P)"), QStringLiteral("Inputs (I)"), QStringLiteral("Output (Q)"),
    QStringLiteral("Flags (M) (Merker)")};
const QStringList TFS7_Protocol_Set_Access::Bits = {
    QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
    QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")};

namespace {

constexpr int Form_Client_Width = 1350;
constexpr int Data_Size = 1500;  // bytes of the gateway's data image for read and for write rules

// Which choice list a drop-down column offers.
enum TItems { itNone, itPLC_Types, itData_Types, itData_Identifiers, itPLC_Areas, itBits, itPositions };
// Their lists; the positions are filled at every show.
const QStringList* const Item_Lists[] = {nullptr,
                                         &TFS7_Protocol_Set_Access::PLC_Types,
                                         &TFS7_Protocol_Set_Access::Data_Types,
                                         &TFS7_Protocol_Set_Access::Data_Identifiers,
                                         &TFS7_Protocol_Set_Access::PLC_Areas,
                                         &TFS7_Protocol_Set_Access::Bits,
                                         nullptr};

struct TS7_Column {
    int Header;            // language index of the header
    TEditorType Editor;
    TItems Items;
    int Width;
    TColor Color;
    bool Centred;
    const char* Attribute; // attribute of the table file; none for the row number
};

const TS7_Column Read_Columns[TFS7_Protocol_Set_Access::Read_Col_Count] = {
    {1216, edNormal, itNone, 40, clWindow, false, nullptr},
    {1217, edDataCheckBox, itNone, 50, Table_Color_Enable, true, "Enable"},
    {1218, edNormal, itNone, 100, Table_Color_Address, false, "PLC_Address"},
    {1219, edNormal, itNone, 60, Table_Color_Address, false, "PLC_Port"},
    {1220, edComboList, itPLC_Types, 80, Table_Color_Address, false, "PLC_Type"},
    {1313, edNormal, itNone, 45, Table_Color_Address, false, "Rack"},
    {1314, edNormal, itNone, 45, Table_Color_Address, false, "Slot"},
    {1221, edComboList, itData_Types, 70, Table_Color_Address, false, "Data_Type"},
    {1222, edComboList, itData_Identifiers, 90, Table_Color_Address, false, "Data_Identifier"},
    {1289, edNormal, itNone, 80, Table_Color_Address, false, "DB_Number"},
    {1290, edComboList, itPLC_Areas, 115, Table_Color_Address, false, "PLC_Area"},
    {1291, edNormal, itNone, 60, Table_Color_Address, false, "PLC_Add"},
    {1292, edComboList, itBits, 60, Table_Color_Address, false, "PLC_Bit"},
    {1223, edNormal, itNone, 64, Table_Color_Timing, false, "PollTime"},
    {1224, edComboList, itPositions, 60, Table_Color_Position, false, "Position"},
    {1225, edComboList, itBits, 64, Table_Color_Position, false, "Bit"},
    {1226, edDataCheckBox, itNone, 40, Table_Color_Swap, true, "Swap"},
    {1227, edDataCheckBox, itNone, 80, Table_Color_Swap, true, "SwapWord"},
    {1228, edNormal, itNone, 204, Table_Color_Text, false, "Mnemonic"},
};

const TS7_Column Write_Columns[TFS7_Protocol_Set_Access::Write_Col_Count] = {
    {1229, edNormal, itNone, 40, clWindow, false, nullptr},
    {1230, edDataCheckBox, itNone, 50, Table_Color_Enable, true, "Enable"},
    {1231, edNormal, itNone, 100, Table_Color_Address, false, "PLC_Address"},
    {1232, edNormal, itNone, 60, Table_Color_Address, false, "PLC_Port"},
    {1233, edComboList, itPLC_Types, 80, Table_Color_Address, false, "PLC_Type"},
    {1315, edNormal, itNone, 45, Table_Color_Address, false, "Rack"},
    {1316, edNormal, itNone, 45, Table_Color_Address, false, "Slot"},
    {1234, edComboList, itData_Types, 70, Table_Color_Address, false, "Data_Type"},
    {1235, edComboList, itData_Identifiers, 90, Table_Color_Address, false, "Data_Identifier"},
    {1293, edNormal, itNone, 80, Table_Color_Address, false, "DB_Number"},
    {1294, edComboList, itPLC_Areas, 115, Table_Color_Address, false, "PLC_Area"},
    {1295, edNormal, itNone, 60, Table_Color_Address, false, "PLC_Add"},
    {1296, edComboList, itBits, 60, Table_Color_Address, false, "PLC_Bit"},
    {1236, edNormal, itNone, 64, Table_Color_Timing, false, "PollTime"},
    {1237, edDataCheckBox, itNone, 70, Table_Color_Timing, true, "OnChange"},
    {1238, edDataCheckBox, itNone, 56, Table_Color_Timing, true, "OnCMD"},
    {1239, edComboList, itPositions, 60, Table_Color_Position, false, "Position"},
    {1240, edComboList, itBits, 64, Table_Color_Position, false, "Bit"},
    {1241, edDataCheckBox, itNone, 40, Table_Color_Swap, true, "Swap"},
    {1242, edDataCheckBox, itNone, 80, Table_Color_Swap, true, "SwapWord"},
    {1243, edNormal, itNone, 78, Table_Color_Text, false, "Mnemonic"},
};

const int Read_Hints[TFS7_Protocol_Set_Access::Read_Col_Count - 1] = {
    1244, 1245, 1246, 1247, 1317, 1318, 1248, 1249, 1297, 1298, 1299, 1300, 1250, 1251, 1252, 1253, 1254, 1255};
const int Write_Hints[TFS7_Protocol_Set_Access::Write_Col_Count - 1] = {
    1256, 1257, 1258, 1259, 1319, 1320, 1260, 1261, 1301, 1302,
    1303, 1304, 1262, 1263, 1264, 1265, 1266, 1267, 1268, 1269};

// The rules of one enabled row, in the order they are applied; index 0 of each pair is the read
// grid's, index 1 the write grid's.
enum TCheck { ckAddress, ckRange, ckConnection, ckNotBlank, ckPosition };
struct TS7_Rule {
    TCheck Check;
    int Col[2];
    int Min[2];
    int Max;
    int Text[2];
};
const TS7_Rule Rules[] = {
    {ckAddress, {2, 2}, {0, 0}, 0, {1271, 1279}},
    {ckRange, {3, 3}, {0, 0}, 65535, {1272, 1280}},
    {ckConnection, {0, 0}, {0, 0}, 0, {1287, 1288}},
    {ckNotBlank, {4, 4}, {0, 0}, 0, {1273, 1281}},
    {ckRange, {5, 5}, {0, 0}, 3, {1321, 1323}},
    {ckRange, {6, 6}, {0, 0}, 31, {1322, 1324}},
    {ckNotBlank, {7, 7}, {0, 0}, 0, {1274, 1282}},
    {ckNotBlank, {8, 8}, {0, 0}, 0, {1275, 1283}},
    {ckRange, {9, 9}, {0, 0}, 65535, {1305, 1309}},
    {ckNotBlank, {10, 10}, {0, 0}, 0, {1306, 1310}},
    {ckRange, {11, 11}, {0, 0}, 65535, {1307, 1311}},
    {ckNotBlank, {12, 12}, {0, 0}, 0, {1308, 1312}},
    {ckRange, {13, 13}, {1, 0}, 100000000, {1276, 1284}},
    {ckPosition, {14, 16}, {0, 0}, 0, {1277, 1285}},
    {ckNotBlank, {15, 17}, {0, 0}, 0, {1278, 1286}},
};

// The row key: rows from the first blank PLC Address down are not used.
constexpr int Key_Col = 2;
// The delete question: the row number follows it.
constexpr int Delete_Question = 1325;
constexpr int Error_Row = 1270;

using TSection = TTable_Section<TS7_Column>;

} // namespace

TFS7_Protocol_Set_Access::TFS7_Protocol_Set_Access(QWidget* parent)
    : TFTable_Frame(parent, "FS7_Protocol_Set_Access", Form_Client_Width)
{
}

void TFS7_Protocol_Set_Access::Loaded()
{
    TFTable_Frame::Loaded();
    PageControl1 = Add_Grid_Pages(
        {{"TS_S7_Read", &TS_S7_Read, "ACG_S7_Read", &ACG_S7_Read, &Hint_S7_Set_Access_Read, &Do_Copy_In_Read},
         {"TS_S7_Write", &TS_S7_Write, "ACG_S7_Write", &ACG_S7_Write, &Hint_S7_Set_Access_Write, &Do_Copy_In_Write}});
    Build_Grid(ACG_S7_Read, false);
    Build_Grid(ACG_S7_Write, true);
    Describe_File(&File_S7_Protocol, Delete_Question);
}

void TFS7_Protocol_Set_Access::Build_Grid(TZidIzavodUraz* Grid, bool Write)
{
    const TS7_Column* cols = Write ? Write_Columns : Read_Columns;
    const int n = Write ? Write_Col_Count : Read_Col_Count;
    Setup_Table_Columns(Grid, cols, n, Data_Rows, [](const TS7_Column& c) { return Item_Lists[c.Items]; });
    // The read grid shows header and cell hints; the write grid's hint display is off.
    Grid->SetShowHint(!Write);
    Grid->SetHintShowCells(!Write);
    Wire_Grid(Grid);
    Grid->Loaded();
}

void TFS7_Protocol_Set_Access::FormCreate()
{
    Frame_Create();
    Set_Lang();
}

void TFS7_Protocol_Set_Access::Set_Lang()
{
    Set_Frame_Texts(1200, 1201, 1202, 1208, {1214, 1215});
    Put_Column_Headers(ACG_S7_Read, Read_Columns, Read_Col_Count);
    Put_Column_Headers(ACG_S7_Write, Write_Columns, Write_Col_Count);
    Put_Lang_Texts(Hint_S7_Set_Access_Read, Read_Hints);
    Put_Lang_Texts(Hint_S7_Set_Access_Write, Write_Hints);
}

void TFS7_Protocol_Set_Access::FormShow()
{
    // Every showing starts from the file: the grids are emptied first, rows enabled.
    Reset_Rows(true);
    PageControl1->setCurrentWidget(TS_S7_Read);
    NByte_IN = Data_Size;
    NByte_OUT = Data_Size;
    Put_Positions(ACG_S7_Read, 14, NByte_IN);
    Put_Positions(ACG_S7_Write, 16, NByte_OUT);
    Load_Table_File();
}

void TFS7_Protocol_Set_Access::Load_File()
{
    TTable_Reader reader(XML1, File_S7_Protocol, this);
    Table_Load.Run(reader, [this](TTable_Reader& rd, const TXMLNode& root) {
        const TSection sections[] = {{"S7_Protocol_Read", ACG_S7_Read, Read_Columns, Read_Col_Count},
                                     {"S7_Protocol_Write", ACG_S7_Write, Write_Columns, Write_Col_Count}};
        for (const auto& s : sections) {
            rd.Grid_Rows(rd.Section(root, QLatin1String(s.Section)), s.Grid, Whole_Rows(s.Grid, [&](const TXMLNode& row, int r) {
                for (int c = 1; c < s.Count; ++c) {
                    const char* name = s.Cols[c].Attribute;
                    QString value;
                    // Only these three have a value of their own when the file lacks them.
                    if (qstrcmp(name, "Enable") == 0)
                        value = TTable_Reader::Attr_Def(row, name, QStringLiteral("Y"));
                    else if (qstrcmp(name, "Rack") == 0 || qstrcmp(name, "Slot") == 0)
                        value = TTable_Reader::Attr_Def(row, name, QStringLiteral("0"));
                    else
                        value = rd.Attr(row, name);
                    s.Grid->SetCells(c, r, value);
                }
            }));
        }
    });
}

void TFS7_Protocol_Set_Access::Write_File()
{
    TXMLNode root = Begin_Table_File(XML1, QStringLiteral("S7_Protocol"), QStringLiteral("SW_VERSION = 1.003"));
    Write_Table_Sections<TS7_Column>(root, Key_Col, {{"S7_Protocol_Read", ACG_S7_Read, Read_Columns, Read_Col_Count},
                                                     {"S7_Protocol_Write", ACG_S7_Write, Write_Columns, Write_Col_Count}});
}

int TFS7_Protocol_Set_Access::Check_IP_Port(int IP1, int IP2, int IP3, int IP4, int Port)
{
    for (int i = 0; i < Max_Connections; ++i) {
        TIPPort& slot = array_ip_Port[size_t(i)];
        if (slot.IP1 == -1) {
            slot = {IP1, IP2, IP3, IP4, Port};
            return i;
        }
        if (slot.IP1 == IP1 && slot.IP2 == IP2 && slot.IP3 == IP3 && slot.IP4 == IP4 && slot.Port == Port)
            return i;
    }
    return -1;
}

bool TFS7_Protocol_Set_Access::Check_Grid(TZidIzavodUraz* Grid, bool Write)
{
    const int w = Write ? 1 : 0;
    const int size = Write ? NByte_OUT : NByte_IN;
    for (int r = 1; r <= Grid->RowCount() - 1 && !Key_Cell_Blank(Grid->Cells(Key_Col, r)); ++r) {
        if (Grid->Cells(1, r).trimmed() != QLatin1String("Y"))
            continue;
        uint8_t ip[4] = {0, 0, 0, 0};
        int port = -1;
        for (const TS7_Rule& rule : Rules) {
            const QString text = Grid->Cells(rule.Col[w], r);
            const int n = StrToIntDef(text, -1);
            bool ok = true;
            switch (rule.Check) {
            case ckAddress:
                ok = !Conv_IP_Address(text, ip[0], ip[1], ip[2], ip[3]);
                break;
            case ckRange:
                ok = n >= rule.Min[w] && n <= rule.Max;
                if (rule.Col[w] == 3)
                    port = n;
                break;
            case ckConnection:
                ok = Check_IP_Port(ip[0], ip[1], ip[2], ip[3], port) != -1;
                break;
            case ckNotBlank:
                ok = !text.trimmed().isEmpty();
                break;
            case ckPosition:
                ok = n >= 0 && n <= size - 1;
                break;
            }
            if (!ok) {
                QString message = Lang_Table[Error_Row] + QString::number(r) + Lang_Table[rule.Text[w]];
                if (rule.Check == ckPosition)
                    message += QString::number(size - 1);
                MessageDlg(message, mtError, mbOK, this);
                return false;
            }
        }
    }
    return true;
}

bool TFS7_Protocol_Set_Access::Controllo_dati()
{
    // The ten connections are shared by the read and the write rules of one validation.
    array_ip_Port.fill(TIPPort{});
    return Check_Grid(ACG_S7_Read, false) && Check_Grid(ACG_S7_Write, true);
}

TFS7_Protocol_Set_Access* Create_FS7_Protocol_Set_Access(QWidget* parent)
{
    return Create_Table_Window(FS7_Protocol_Set_Access, parent, "FS7_Protocol_Set_Access");
}
