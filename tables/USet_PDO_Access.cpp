#include "tables/USet_PDO_Access.h"

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

#include <iterator>

TFSet_PDO_Access* FSet_PDO_Access = nullptr;

using namespace platform;

namespace {

constexpr int Key_Col = 1;
constexpr int Row_Height = 21;

// ---- the PDO tables ----
// Both begin with the COB-ID, the length and the eight byte positions.
constexpr std::array<TCANopen_Column, 11> PDO_Head = {{
    {edNormal, 40, clWindow, false, nullptr},
    {edNormal, 65, Table_Color_Address, false, "COB-ID"},
    {edNormal, 65, Table_Color_Address, false, "Dimension"},
    {edNormal, 45, Table_Color_Position, false, "Address_B1"},
    {edNormal, 45, Table_Color_Position, false, "Address_B2"},
    {edNormal, 45, Table_Color_Position, false, "Address_B3"},
    {edNormal, 45, Table_Color_Position, false, "Address_B4"},
    {edNormal, 45, Table_Color_Position, false, "Address_B5"},
    {edNormal, 45, Table_Color_Position, false, "Address_B6"},
    {edNormal, 45, Table_Color_Position, false, "Address_B7"},
    {edNormal, 45, Table_Color_Position, false, "Address_B8"},
}};

constexpr auto Receive_Columns = Join_Columns(PDO_Head, std::array<TCANopen_Column, 2>{{
                                                            {edNormal, 65, Table_Color_Timing, false, "TimeOut"},
                                                            {edNormal, 173, Table_Color_Text, false, "Mnemonic"},
                                                        }});
static_assert(Receive_Columns.size() == TFSet_PDO_Access::Receive_Col_Count);

constexpr auto Transmit_Columns = Join_Columns(PDO_Head, std::array<TCANopen_Column, 3>{{
                                                             {edNormal, 65, Table_Color_Timing, false, "Send_Time"},
                                                             {edDataCheckBox, 68, Table_Color_Timing, true, "On_Change"},
                                                             {edNormal, 105, Table_Color_Text, false, "Mnemonic"},
                                                         }});
static_assert(Transmit_Columns.size() == TFSet_PDO_Access::Transmit_Col_Count);

// COB-ID, length, the bytes the length asks for, then the time.
// The texts of the first three follow each other; the eight bytes' texts follow the third.
constexpr std::array<TCANopen_Rule, 4> PDO_Rules(int First_Text, int Max_Time, int Time_Text)
{
    return {{
        {TCANopen_Rule::Range, 1, 0, 2047, First_Text, 0},
        {TCANopen_Rule::Range, 2, 1, 8, First_Text + 1, 0},
        {TCANopen_Rule::Positions, 2, 0, 0, First_Text + 2, 3},
        {TCANopen_Rule::Range, 11, 0, Max_Time, Time_Text, 0},
    }};
}
constexpr auto Receive_Rules = PDO_Rules(1969, 65535, 1979);
constexpr auto Transmit_Rules = PDO_Rules(1980, 100000000, 1990);

const TCANopen_Layout PDO_Layout = {
    "FSet_PDO_Access",
    798,
    TFSet_PDO_Access::Data_Rows,
    {{"TS_Receive_PDO", "sga", "Receive_PDO", Receive_Columns.data(), TFSet_PDO_Access::Receive_Col_Count, 1914, 1916, 1943,
      Receive_Rules.data(), int(Receive_Rules.size())},
     {"TS_Transmit_PDO", "sgb", "Transmit_PDO", Transmit_Columns.data(), TFSet_PDO_Access::Transmit_Col_Count, 1915, 1929,
      1955, Transmit_Rules.data(), int(Transmit_Rules.size())}},
    1900,
    1902,
    1908,
    1968,
    1991,
    "PDO_CANopen",
    &File_PDO_CANopen,
};

} // namespace

// ---- the frame of the CANopen tables ----------------------------------------------------------

TFCANopen_Table::TFCANopen_Table(QWidget* parent, const TCANopen_Layout& Layout)
    : TFTable_Frame(parent, Layout.Name, Layout.Client_Width), FLayout(Layout)
{
}

void TFCANopen_Table::Loaded()
{
    TFTable_Frame::Loaded();
    const TCANopen_Grid* g = FLayout.Grids;
    PageControl1 = Add_Grid_Pages({{g[0].Sheet_Name, &Sheet[0], g[0].Grid_Name, &sga, &Hints[0], &Do_Copy[0]},
                                   {g[1].Sheet_Name, &Sheet[1], g[1].Grid_Name, &sgb, &Hints[1], &Do_Copy[1]}});
    for (int i = 0; i < 2; ++i) {
        TZidIzavodUraz* grid = Grid(i);
        Setup_Table_Columns(grid, g[i].Columns, g[i].Col_Count, FLayout.Data_Rows);
        grid->SetDefaultRowHeight(Row_Height);
        grid->SetRowHeights(0, Table_Header_Height);
        // The columns keep these headers; a language change writes the header row itself.
        for (int c = 0; c < g[i].Col_Count; ++c)
            grid->Columns().Items(c)->SetHeader(Lang_Table[g[i].First_Header + c]);
        grid->SetShowHint(true);
        // Only the header cell of a data column has a hint, by its shown column.
        Wire_Grid(grid);
        grid->Loaded();
    }
    Describe_File(FLayout.Path, FLayout.Delete_Question);
    Insert_Enabled = false;
    Hint_Rule = THint_Rule::Shown_Column;
}

void TFCANopen_Table::FormCreate()
{
    Frame_Create();
    PageControl1->setCurrentWidget(Sheet[0]);
    Set_Lang();
}

void TFCANopen_Table::Set_Lang()
{
    Set_Frame_Texts(FLayout.Caption, FLayout.Caption + 1, FLayout.Button_Captions, FLayout.Button_Hints,
                    {FLayout.Grids[0].Tab_Text, FLayout.Grids[1].Tab_Text});
    for (int i = 0; i < 2; ++i)
        for (int c = 0; c < FLayout.Grids[i].Col_Count; ++c)
            Grid(i)->SetCells(c, 0, Lang_Table[FLayout.Grids[i].First_Header + c]);
    for (int i = 0; i < 2; ++i) {
        Hints[i].clear();
        for (int c = 1; c < FLayout.Grids[i].Col_Count; ++c)
            Hints[i] << Lang_Table[FLayout.Grids[i].First_Hint + c - 1];
    }
}

void TFCANopen_Table::FormShow()
{
    // Every showing starts from the file: the grids are emptied first.
    Reset_Rows(false);
    PageControl1->setCurrentWidget(Sheet[0]);
    PROFINET_NByte_IN = Data_Size;
    PROFINET_NByte_OUT = Data_Size;
    Load_Table_File();
}

void TFCANopen_Table::Load_File()
{
    TTable_Reader reader(XML1, *FLayout.Path, this);
    Table_Load.Run(reader, [this](TTable_Reader& rd, const TXMLNode& root) {
        for (int i = 0; i < 2; ++i) {
            const TCANopen_Grid& g = FLayout.Grids[i];
            TZidIzavodUraz* grid = Grid(i);
            // Every attribute must be there: none has a value of its own.
            rd.Grid_Rows(rd.Section(root, QLatin1String(g.Section)), grid, Whole_Rows(grid, [&](const TXMLNode& row, int r) {
                for (int c = 1; c < g.Col_Count; ++c)
                    grid->SetCells(c, r, rd.Attr(row, g.Columns[c].Attribute));
            }));
        }
    });
}

void TFCANopen_Table::Write_File()
{
    TXMLNode root = Begin_Table_File(XML1, QLatin1String(FLayout.Root), QStringLiteral("SW_VERSION = 1.000"));
    for (int i = 0; i < 2; ++i) {
        const TCANopen_Grid& g = FLayout.Grids[i];
        TZidIzavodUraz* grid = Grid(i);
        Write_Table_Rows(root.AddChild(QLatin1String(g.Section)), grid, Key_Col, g.Col_Count,
                         [&g](int c) { return g.Columns[c].Attribute; });
    }
}

bool TFCANopen_Table::Check_Grid(int i)
{
    const TCANopen_Grid& g = FLayout.Grids[i];
    TZidIzavodUraz* grid = Grid(i);
    const int size = i == 0 ? PROFINET_NByte_IN : PROFINET_NByte_OUT;
    auto fail = [&](int r, const QString& text) {
        MessageDlg(Lang_Table[FLayout.Error_Row] + QString::number(r) + text, mtError, mbOK, this);
        return false;
    };
    for (int r = 1; r <= grid->RowCount() - 1 && !Key_Cell_Blank(grid->Cells(Key_Col, r)); ++r) {
        for (int k = 0; k < g.Rule_Count; ++k) {
            const TCANopen_Rule& rule = g.Rules[k];
            const int n = StrToIntDef(grid->Cells(rule.Col, r), -1);
            switch (rule.Kind) {
            case TCANopen_Rule::Range:
                if (n < rule.Min || n > rule.Max)
                    return fail(r, Lang_Table[rule.Text]);
                break;
            case TCANopen_Rule::One_Two_Four:
                if (n != 1 && n != 2 && n != 4)
                    return fail(r, Lang_Table[rule.Text]);
                break;
            case TCANopen_Rule::Positions:
                // The length was checked by an earlier rule; the bytes past it mean nothing.
                for (int b = 1; b <= n && rule.Position_Col + b - 1 < g.Col_Count; ++b) {
                    const int pos = StrToIntDef(grid->Cells(rule.Position_Col + b - 1, r), -1);
                    if (pos < 0 || pos > size - 1)
                        return fail(r, Lang_Table[rule.Text + b - 1] + QString::number(size - 1));
                }
                break;
            }
        }
    }
    return true;
}

bool TFCANopen_Table::Controllo_dati()
{
    return Check_Grid(0) && Check_Grid(1);
}

void TFCANopen_Table::Delete_Row(int Row, TVerIvovavOzed* Grid)
{
    if (!Grid || Row < 1 || Row >= Grid->RowCount())
        return;
    const int last = Grid->RowCount() - 1;
    for (int r = Row; r <= last - 1; ++r)
        for (int c = 1; c < Grid->ColCount(); ++c)
            Grid->SetCells(c, r, Grid->Cells(c, r + 1));
    for (int c = 1; c < Grid->ColCount(); ++c)
        Grid->SetCells(c, last, QString());
}

// ---- the PDO table ----------------------------------------------------------------------------

TFSet_PDO_Access::TFSet_PDO_Access(QWidget* parent) : TFCANopen_Table(parent, PDO_Layout) {}

TFSet_PDO_Access* Create_FSet_PDO_Access(QWidget* parent)
{
    return Create_Table_Window(FSet_PDO_Access, parent, "FSet_PDO_Access");
}
