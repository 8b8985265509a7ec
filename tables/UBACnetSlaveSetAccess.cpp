#include "tables/UBACnetSlaveSetAccess.h"

#include "core/UComon.h"
#include "core/UComon_Grid_Rows.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvCGrid.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "tables/UBACnet_Eng_Unit.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess = nullptr;

using namespace platform;

const QStringList TFBACnetSlaveSetAccess::Read_Types = {
    QStringLiteral("Analog Input"),      QStringLiteral("Analog Value"),
    QStringLiteral("Binary Input"),      QStringLiteral("Binary Value"),
    QStringLiteral("Positive Integer Value"), QStringLiteral("Large Analog Value"),
    QStringLiteral("Integer Value"),     QStringLiteral("Multi State Input"),
    QStringLiteral("Multi State Value"), QStringLiteral("Life Safety Point"),
    QStringLiteral("Life Safety Zone"),  QStringLiteral("Access Door"),
    QStringLiteral("Accumulator")};
const QStringList TFBACnetSlaveSetAccess::Write_Types = {
    QStringLiteral("Analog Out"),         QStringLiteral("Analog Value"),
    QStringLiteral("Binary Out"),         QStringLiteral("Binary Value"),
    QStringLiteral("Positive Integer Value"), QStringLiteral("Large Analog Value"),
    QStringLiteral("Integer Value"),      QStringLiteral("Multi State Output"),
    QStringLiteral("Multi State Value"),  QStringLiteral("Access Door")};

namespace {

constexpr int Form_Client_Width = 764;
constexpr int Row_Height = 22;

enum { Col_Data_Type = 1, Col_Eng_Unit = 2, Col_Position = 3, Col_Bit = 4, Col_Length = 5, Col_Swap = 6 };

enum TItems { itNone, itTypes, itPositions, itBits };

struct TBACnet_Column {
    int Header[2];  // language index of the header, read and write grid
    TEditorType Editor;
    TItems Items;
    int Width;
    TColor Color;
    const char* Attribute;
};
const TBACnet_Column Columns[TFBACnetSlaveSetAccess::Col_Count] = {
    {{2516, 2524}, edNormal, itNone, 40, clWindow, nullptr},
    {{2517, 2525}, edComboList, itTypes, 150, Table_Color_Address, "Data_Type"},
    {{2518, 2526}, edNormal, itNone, 100, Table_Color_Address, "Eng_Unit"},
    {{2519, 2527}, edComboList, itPositions, 64, Table_Color_Position, "Position"},
    {{2520, 2528}, edComboList, itBits, 64, Table_Color_Position, "Bit"},
    {{2521, 2529}, edNormal, itNone, 64, Table_Color_Position, "Length"},
    {{2522, 2530}, edDataCheckBox, itNone, 40, Table_Color_Swap, "Swap"},
    {{2523, 2531}, edNormal, itNone, 250, Table_Color_Text, "Mnemonic"},
};

const QStringList Bit_Items = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                               QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")};

// The lengths each object type may have, by grid (0 read, 1 write); types not listed get no
// length test.
struct TLength_Rule {
    const char* Type;
    int Grid;
    int Min, Max;
    int Text;
};
const TLength_Rule Length_Rules[] = {
    {"Analog Input", 0, 1, 4, 2535},           {"Positive Integer Value", 0, 1, 4, 2536},
    {"Large Analog Value", 0, 1, 8, 2537},     {"Analog Value", 0, 1, 4, 2538},
    {"Multi State Input", 0, 1, 4, 2539},      {"Multi State Value", 0, 1, 4, 2540},
    {"Life Safety Point", 0, 1, 2, 2541},      {"Life Safety Zone", 0, 1, 2, 2542},
    {"Access Door", 0, 1, 1, 2543},            {"Accumulator", 0, 1, 4, 2544},
    {"Analog Out", 1, 1, 4, 2549},             {"Analog Value", 1, 1, 4, 2550},
    {"Positive Integer Value", 1, 1, 4, 2551}, {"Large Analog Value", 1, 1, 8, 2552},
    {"Integer Value", 1, 1, 4, 2553},          {"Multi State Output", 1, 1, 4, 2554},
    {"Multi State Value", 1, 1, 4, 2555},      {"Access Door", 1, 1, 1, 2556},
};

// The length a type choice in the write grid proposes (the type upper-cased).
struct TDefault_Length {
    const char* Type;
    const char* Length;
};
const TDefault_Length Default_Lengths[] = {
    {"ANALOG OUT", "4"},         {"ANALOG VALUE", "4"},           {"BINARY OUT", "1"},
    {"BINARY VALUE", "1"},       {"POSITIVE INTEGER VALUE", "4"}, {"LARGE ANALOG VALUE", "8"},
    {"INTEGER VALUE", "4"},      {"MULTI STATE OUTPUT", "4"},     {"MULTI STATE VALUE", "4"},
    {"ACCESS DOOR", "1"},
};

// Texts of the rules, read grid and write grid.
constexpr int Text_Unit[2] = {2533, 2547};
constexpr int Text_Position[2] = {2534, 2548};
constexpr int Text_Bit[2] = {2545, 2557};
constexpr int Text_End[2] = {2546, 2558};
constexpr int Error_Row = 2532;
constexpr int Text_Object_Count = 2559;
constexpr int Delete_Question = 2560;

bool Is_Two_State(const QString& Type, bool Write)
{
    return Type == (Write ? QLatin1String("Binary Out") : QLatin1String("Binary Input")) ||
           Type == QLatin1String("Binary Value");
}

} // namespace

TFBACnetSlaveSetAccess::TFBACnetSlaveSetAccess(QWidget* parent)
    : TFTable_Frame(parent, "FBACnetSlaveSetAccess", Form_Client_Width)
{
}

void TFBACnetSlaveSetAccess::Loaded()
{
    TFTable_Frame::Loaded();
    PageControl1 = Add_Grid_Pages(
        {{"TS_BACnet_in_Read", &TS_BACnet_in_Read, "ACG_BACnet_in_Read", &ACG_BACnet_in_Read, nullptr, &Do_Copy_Read},
         {"TS_BACnet_in_Write", &TS_BACnet_in_Write, "ACG_BACnet_in_Write", &ACG_BACnet_in_Write, nullptr,
          &Do_Copy_Write}});
    Build_Grid(ACG_BACnet_in_Read, false);
    Build_Grid(ACG_BACnet_in_Write, true);
    Describe_File(&File_BACnet_Slave, Delete_Question);
    Insert_Enabled = false;
    Hint_Rule = THint_Rule::None;
}

void TFBACnetSlaveSetAccess::Build_Grid(TZidIzavodUraz* Grid, bool Write)
{
    Setup_Table_Columns(Grid, Columns, Col_Count, Max_Rows,
                        [](const TBACnet_Column& c) { return c.Items == itBits ? &Bit_Items : nullptr; });
    Grid->SetDefaultRowHeight(Row_Height);
    Grid->SetRowHeights(0, Table_Header_Height);
    Grid->SetShowHint(false);
    Wire_Grid(Grid, Write ? teClick | teDblClick | teKey : teAll);
    if (Write)
        Grid->OnComboChange = [this](QObject* s, int c, int r, int i, const QString& t) {
            ACG_BACnet_in_WriteComboChange(s, c, r, i, t);
        };
    Grid->Loaded();
}

void TFBACnetSlaveSetAccess::FormCreate()
{
    Frame_Create();
    ACG_BACnet_in_Read->HideColumn(Col_Swap);
    ACG_BACnet_in_Write->HideColumn(Col_Swap);
    Put_Items(ACG_BACnet_in_Read->Columns().Items(Col_Data_Type)->ComboItems(), Read_Types);
    Put_Items(ACG_BACnet_in_Write->Columns().Items(Col_Data_Type)->ComboItems(), Write_Types);
    Set_Lang();
}

void TFBACnetSlaveSetAccess::Set_Lang()
{
    Set_Frame_Texts(2500, 2501, 2502, 2510, {2508, 2509});
    // The headers go straight into the header row, hidden Swap included.
    for (int c = 0; c < Col_Count; ++c) {
        ACG_BACnet_in_Read->SetCells(c, 0, Lang_Table[Columns[c].Header[0]]);
        ACG_BACnet_in_Write->SetCells(c, 0, Lang_Table[Columns[c].Header[1]]);
    }
}

void TFBACnetSlaveSetAccess::FormShow()
{
    TZidIzavodUraz* grids[] = {ACG_BACnet_in_Read, ACG_BACnet_in_Write};
    // Every row either count may show is emptied, so that nothing of a longer table comes back
    // when the row count grows again.
    for (TZidIzavodUraz* grid : grids) {
        grid->BeginUpdate();
        grid->SetRowCount(Max_Rows + 1);
    }
    for (int r = 1; r <= Max_Rows; ++r)
        for (TZidIzavodUraz* grid : grids) {
            grid->SetCells(0, r, QString::number(r));
            for (int c = 1; c < Col_Count; ++c)
                grid->SetCells(c, r, QString());
        }
    for (TZidIzavodUraz* grid : grids)
        grid->EndUpdate();

    PageControl1->setTabVisible(0, true);
    PageControl1->setTabVisible(1, true);
    PageControl1->setCurrentWidget(TS_BACnet_in_Write);
    PageControl1->setCurrentWidget(TS_BACnet_in_Read);
    NByte_IN = Data_Size;
    NByte_OUT = Data_Size;
    Put_Positions(ACG_BACnet_in_Read, Col_Position, NByte_IN);
    Put_Positions(ACG_BACnet_in_Write, Col_Position, NByte_OUT);

    Read_Name_Setting();
    const int rows = (Desc_Lenght ? Max_Rows_Long_Names : Max_Rows) + 1;
    for (TZidIzavodUraz* grid : grids)
        grid->SetRowCount(rows);
    Load_Table_File();
}

void TFBACnetSlaveSetAccess::Read_Name_Setting()
{
    Desc_Lenght = false;
    if (!QFileInfo::exists(File_ParGen))
        return;
    QString error;
    if (!XML1.LoadFromFile(File_ParGen, &error)) {
        MessageDlg(QStringLiteral("Error! The file \"%1\" cannot be loaded: %2")
                       .arg(QDir::toNativeSeparators(File_ParGen), error),
                   mtError, mbOK, this);
        return;
    }
    QString text;
    const TXMLNode limit = XML1.DocumentElement().FindNode("BACnet_Desc_Chars_Limit");
    Desc_Lenght = !limit.IsNull() && limit.TryText(text) && text == QLatin1String("1");
}

void TFBACnetSlaveSetAccess::Load_File()
{
    TTable_Reader reader(XML1, File_BACnet_Slave, this);
    Table_Load.Run(reader, [this](TTable_Reader& rd, const TXMLNode& root) {
        struct {
            const char* Section;
            TZidIzavodUraz* Grid;
        } sections[] = {{"BACnet_in_Read", ACG_BACnet_in_Read}, {"BACnet_in_Write", ACG_BACnet_in_Write}};
        for (const auto& s : sections) {
            rd.Grid_Rows(rd.Section(root, QLatin1String(s.Section)), s.Grid, Whole_Rows(s.Grid, [&](const TXMLNode& row, int r) {
                for (int c = 1; c < Col_Count; ++c) {
                    const char* name = Columns[c].Attribute;
                    // Swap is the only cell with a value of its own when the file lacks it.
                    s.Grid->SetCells(c, r,
                                     c == Col_Swap ? TTable_Reader::Attr_Def(row, name, QStringLiteral("N"))
                                                   : rd.Attr(row, name));
                }
            }));
        }
    });
}

void TFBACnetSlaveSetAccess::Write_File()
{
    TXMLNode root =
        Begin_Table_File(XML1, QStringLiteral("BACnet_to_Modbus"), QStringLiteral("SW_VERSION = 1.000"));
    Write_Table_Sections<TBACnet_Column>(root, Col_Data_Type,
                                         {{"BACnet_in_Read", ACG_BACnet_in_Read, Columns, Col_Count},
                                          {"BACnet_in_Write", ACG_BACnet_in_Write, Columns, Col_Count}});
}

bool TFBACnetSlaveSetAccess::Check_Grid(TZidIzavodUraz* Grid, bool Write, int& Count)
{
    const int w = Write ? 1 : 0;
    const int size = Write ? NByte_OUT : NByte_IN;
    for (int r = 1; r <= Grid->RowCount() - 1 && !Key_Cell_Blank(Grid->Cells(Col_Data_Type, r)); ++r) {
        ++Count;
        auto fail = [&](int text, const QString& tail = QString()) {
            MessageDlg(Lang_Table[Error_Row] + QString::number(r) + Lang_Table[text] + tail, mtError, mbOK, this);
            return false;
        };
        const QString type = Grid->Cells(Col_Data_Type, r);
        const int unit = StrToIntDef(Grid->Cells(Col_Eng_Unit, r), -1);
        if (unit < 0 || unit > 65535)
            return fail(Text_Unit[w]);
        const int position = StrToIntDef(Grid->Cells(Col_Position, r), -1);
        if (position < 0 || position > size - 1)
            return fail(Text_Position[w], QString::number(size - 1));
        int length = 1;  // a two-state object takes one bit of the byte at its position
        if (Is_Two_State(type, Write)) {
            if (Grid->Cells(Col_Bit, r).trimmed().isEmpty())
                return fail(Text_Bit[w]);
        } else {
            length = StrToIntDef(Grid->Cells(Col_Length, r), 0);
            for (const TLength_Rule& rule : Length_Rules)
                if (rule.Grid == w && type == QLatin1String(rule.Type) && (length < rule.Min || length > rule.Max))
                    return fail(rule.Text);
        }
        // In 64 bits: a length without a rule of its own may be anything up to the 32-bit limit.
        if (int64_t(position) + length > size)
            return fail(Text_End[w]);
    }
    return true;
}

bool TFBACnetSlaveSetAccess::Controllo_dati()
{
    int count = 0;
    if (!Check_Grid(ACG_BACnet_in_Read, false, count) || !Check_Grid(ACG_BACnet_in_Write, true, count))
        return false;
    if (count > Object_Limit()) {
        MessageDlg(Lang_Table[Text_Object_Count] + QString::number(Object_Limit()), mtError, mbOK, this);
        return false;
    }
    return true;
}

void TFBACnetSlaveSetAccess::Pick_Unit(TZidIzavodUraz* Grid, int ARow, int ACol)
{
    // The header cell is no unit: the picker opens for data cells only.
    if (!Grid || Grid->RealColIndex(ACol) != Col_Eng_Unit || ARow < 1 || ARow >= Grid->RowCount())
        return;
    // The picker is made the first time it is needed.
    if (!Need_Window(FBACnet_Eng_Unit, "FBACnet_Eng_Unit"))
        return;
    const QString code = Grid->Cells(Col_Eng_Unit, ARow);
    FBACnet_Eng_Unit->E_Selected_EU->setText(code);
    FBACnet_Eng_Unit->Label5->setText(QStringLiteral("-> ") + FBACnet_Eng_Unit->Desc_Unit(StrToIntDef(code, -1)));
    FBACnet_Eng_Unit->Label5->adjustSize();
    if (FBACnet_Eng_Unit->ShowModal() == mrOk)
        Grid->SetCells(Col_Eng_Unit, ARow, FBACnet_Eng_Unit->E_Selected_EU->text());
}

void TFBACnetSlaveSetAccess::DblClickCell(QObject* Sender, int ARow, int ACol)
{
    Pick_Unit(dynamic_cast<TZidIzavodUraz*>(Grid_Of(Sender)), ARow, ACol);
    TFTable_Frame::DblClickCell(Sender, ARow, ACol);
}

void TFBACnetSlaveSetAccess::ACG_BACnet_in_ReadDblClickCell(QObject*, int ARow, int ACol)
{
    DblClickCell(ACG_BACnet_in_Read, ARow, ACol);
}

void TFBACnetSlaveSetAccess::ACG_BACnet_in_WriteDblClickCell(QObject*, int ARow, int ACol)
{
    DblClickCell(ACG_BACnet_in_Write, ARow, ACol);
}

void TFBACnetSlaveSetAccess::ACG_BACnet_in_WriteComboChange(QObject*, int ACol, int ARow, int,
                                                            const QString& ASelection)
{
    if (ACol != Col_Data_Type || ARow < 1 || ARow >= ACG_BACnet_in_Write->RowCount())
        return;
    const QString type = ASelection.toUpper();
    for (const TDefault_Length& d : Default_Lengths)
        if (type == QLatin1String(d.Type)) {
            ACG_BACnet_in_Write->SetCells(Col_Length, ARow, QLatin1String(d.Length));
            return;
        }
}

TFBACnetSlaveSetAccess* Create_FBACnetSlaveSetAccess(QWidget* parent)
{
    return Create_Table_Window(FBACnetSlaveSetAccess, parent, "FBACnetSlaveSetAccess");
}
