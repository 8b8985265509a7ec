#include "tables/UIEC61850_Variables.h"

#include "core/UComon.h"
#include "core/UComon_Grid_Rows.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvCGrid.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"

#include <QFileInfo>
#include <QVBoxLayout>

TFIEC61850_Variables* FIEC61850_Variables = nullptr;

using namespace platform;

const QStringList TFIEC61850_Variables::Types = {QStringLiteral("Int"), QStringLiteral("Float"),
                                                 QStringLiteral("Digital (Bit)")};
const QStringList TFIEC61850_Variables::Start_Bits = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                                      QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
                                                      QStringLiteral("6"), QStringLiteral("7")};
const QStringList TFIEC61850_Variables::Conversions = {QStringLiteral("None"), QStringLiteral("Int to Float"),
                                                       QStringLiteral("Float to Int")};
const QStringList TFIEC61850_Variables::Factors = {QStringLiteral("None")};

namespace {

constexpr int Form_Client_Width = 1055;
// Background of the conversion and swap columns (213, 213, 255).
constexpr TColor Color_Conversion = 16766421;

enum {
    Col_Enable = 1, Col_Name = 2, Col_Type = 3, Col_Length = 4, Col_ReadOnly = 5, Col_Position = 6,
    Col_StartBit = 7, Col_Conversion = 8, Col_Factor = 9, Col_Swap = 10, Col_SwapWord = 11, Col_Mnemonic = 12
};

struct TIEC_Column {
    int Header;
    TEditorType Editor;
    const QStringList* Items;
    int Width;
    TColor Color;
    const char* Attribute;  // attribute of the table file; none for the row number
    const char* Default;    // taken when the file lacks the attribute
};

const TIEC_Column Columns[TFIEC61850_Variables::Col_Count] = {
    {1514, edNormal, nullptr, 40, clWindow, nullptr, ""},
    {1515, edDataCheckBox, nullptr, 50, Table_Color_Enable, "Enable", "Y"},
    {1516, edNormal, nullptr, 250, Table_Color_Address, "Name", ""},
    {1517, edComboList, &TFIEC61850_Variables::Types, 80, Table_Color_Timing, "Type", ""},
    {1518, edNormal, nullptr, 65, Table_Color_Timing, "Length", ""},
    {1519, edDataCheckBox, nullptr, 65, Table_Color_Swap, "ReadOnly", "N"},
    {1520, edNormal, nullptr, 80, Table_Color_Position, "Position", ""},
    {1532, edComboList, &TFIEC61850_Variables::Start_Bits, 60, Table_Color_Position, "StartBit", ""},
    {1533, edComboList, &TFIEC61850_Variables::Conversions, 75, Color_Conversion, "Conversion", ""},
    {1534, edComboEdit, &TFIEC61850_Variables::Factors, 75, Color_Conversion, "MultiplicationFactor", ""},
    {1542, edDataCheckBox, nullptr, 45, Color_Conversion, "Swap", "N"},
    {1543, edDataCheckBox, nullptr, 80, Color_Conversion, "SwapWord", "N"},
    {1521, edNormal, nullptr, 128, Table_Color_Text, "Mnemonic", ""},
};

const int Hints[TFIEC61850_Variables::Col_Count - 1] = {1522, 1523, 1524, 1525, 1526, 1527,
                                                        1535, 1536, 1537, 1544, 1545, 1528};

constexpr int Key_Col = Col_Name;
constexpr int Delete_Question = 1531;
constexpr int Error_Row = 1529;

} // namespace

TFIEC61850_Variables::TFIEC61850_Variables(QWidget* parent)
    : TFTable_Frame(parent, "FIEC61850_Variables", Form_Client_Width)
{
}

void TFIEC61850_Variables::Loaded()
{
    TFTable_Frame::Loaded();
    ACG = Add_Body_Grid<TZidIzavodUraz>("ACG", &Hint_List, &Do_Copy);
    Setup_Table_Columns(ACG, Columns, Col_Count, Data_Rows, [](const TIEC_Column& c) { return c.Items; });
    // The grid shows no hints; the header hints are kept for a grid that would.
    ACG->SetShowHint(false);
    Wire_Grid(ACG);
    ACG->OnComboChange = [this](QObject* s, int c, int r, int i, const QString& t) { ComboChange(s, c, r, i, t); };
    ACG->Loaded();
    Describe_File(&File_IEC61850_Variables, Delete_Question);
    Hint_Rule = THint_Rule::Header_Only;
}

void TFIEC61850_Variables::FormCreate()
{
    Frame_Create();
    ACG->SetRowCount(Data_Rows + 1);
    Set_Lang();
}

void TFIEC61850_Variables::Set_Lang()
{
    Set_Frame_Texts(1500, 1501, 1502, 1508);
    Put_Column_Headers(ACG, Columns, Col_Count);
    Put_Lang_Texts(Hint_List, Hints);
}

void TFIEC61850_Variables::FormShow()
{
    Reset_Rows(true);
    NByte_IN = Data_Size;
    Load_Table_File();
}

void TFIEC61850_Variables::Load_File()
{
    TTable_Reader reader(XML1, File_IEC61850_Variables, this);
    ACG->BeginUpdate();
    Table_Load.Run(reader, [this](TTable_Reader& rd, const TXMLNode& root) {
        // The rows stand directly under the root; every attribute has its default.
        rd.Rows(root, ACG->RowCount() - 1, [this](const TXMLNode& row, int r) {
            for (int c = 1; c < Col_Count; ++c)
                ACG->SetCells(c, r, TTable_Reader::Attr_Def(row, Columns[c].Attribute, QLatin1String(Columns[c].Default)));
        });
    });
    ACG->EndUpdate();
}

void TFIEC61850_Variables::Write_File()
{
    TXMLNode root = Begin_Table_File(XML1, QStringLiteral("IEC61850_Variables"), QStringLiteral("SW_VERSION = 1.000"));
    Write_Table_Rows(root, ACG, Key_Col, Col_Count, [](int c) { return Columns[c].Attribute; });
}

bool TFIEC61850_Variables::Controllo_dati()
{
    const QChar separator = Get_Decimal_Separator();
    for (int r = 1; r <= ACG->RowCount() - 1; ++r) {
        auto cell = [this, r](int c) { return ACG->Cells(c, r); };
        auto in = [&cell](int c, int lo, int hi) {
            const int n = StrToIntDef(cell(c), -1);
            return n >= lo && n <= hi;
        };
        if (cell(Col_Name).trimmed().isEmpty())
            return true;
        if (cell(Col_Enable).trimmed() != QLatin1String("Y"))
            continue;
        // The rules in their order; the position's message ends in the last position.
        int text = 0;
        QString tail;
        float factor = 0;
        if (!in(Col_Length, 1, 4)) {
            text = 1541;
        } else if (!in(Col_Position, 0, NByte_IN - 1)) {
            text = 1530;
            tail = QString::number(NByte_IN - 1);
        } else if (cell(Col_Type) == QLatin1String("Digital (Bit)") && cell(Col_StartBit).trimmed().isEmpty()) {
            text = 1538;
        } else if (cell(Col_Conversion).trimmed().isEmpty()) {
            text = 1539;
        } else if (cell(Col_Factor).toUpper().trimmed() != QLatin1String("NONE") &&
                   !Conv_Str_To_Float(cell(Col_Factor), separator, factor)) {
            text = 1540;
        }
        if (text != 0) {
            MessageDlg(Lang_Table[Error_Row] + QString::number(r) + Lang_Table[text] + tail, mtError, mbOK, this);
            return false;
        }
    }
    return true;
}

void TFIEC61850_Variables::ComboChange(QObject*, int, int, int, const QString&) {}

TFIEC61850_Variables* Create_FIEC61850_Variables(QWidget* parent)
{
    return Create_Table_Window(FIEC61850_Variables, parent, "FIEC61850_Variables");
}
