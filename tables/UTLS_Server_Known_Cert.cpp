#include "tables/UTLS_Server_Known_Cert.h"

#include "core/UComon.h"
#include "core/UComon_Grid_Rows.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvGrid.h"
#include "platform/Services.h"

#include <QFileInfo>
#include <QVBoxLayout>

TFTLS_Server_Known_Cert* FTLS_Server_Known_Cert = nullptr;

using namespace platform;

namespace {

constexpr int Form_Client_Width = 800;

enum { Col_Enable = 1, Col_Certificate = 2, Col_Mnemonic = 3 };

struct TCert_Column {
    int Header;
    int Width;
    TColor Color;
};
const TCert_Column Columns[TFTLS_Server_Known_Cert::Col_Count] = {
    {1614, 40, clWindow},
    {1615, 50, Table_Color_Enable},
    {1616, 500, Table_Color_Address},
    {1617, 160, Table_Color_Text},
};
const int Hints[TFTLS_Server_Known_Cert::Col_Count - 1] = {1618, 1619, 1620};
constexpr int Delete_Question = 1621;

} // namespace

TFTLS_Server_Known_Cert::TFTLS_Server_Known_Cert(QWidget* parent)
    : TFTable_Frame(parent, "FTLS_Server_Known_Cert", Form_Client_Width)
{
}

void TFTLS_Server_Known_Cert::Loaded()
{
    TFTable_Frame::Loaded();
    ASG = Add_Body_Grid<TVerIvovavOzed>("ASG", &Hint_List, &Do_Copy);
    ASG->SetShowHint(false);
    ASG->SetVAlignment(vtaCenter);
    Wire_Grid(ASG);
    ASG->Loaded();
    Describe_File(&File_TLS_Known_Cert, Delete_Question);
    Hint_Rule = THint_Rule::Header_Only;
}

void TFTLS_Server_Known_Cert::FormCreate()
{
    Init_Table();
    Frame_Create();
    Set_Lang();
}

void TFTLS_Server_Known_Cert::Init_Table()
{
    Setup_Check_Table(ASG, Columns, Col_Count, Data_Rows, true, Col_Enable);
    // The user may also make a row taller to read a long certificate.
    ASG->BeginUpdate();
    ASG->SetOptions(ASG->Options() | goRowSizing);
    for (int r = 1; r <= Data_Rows; ++r)
        ASG->SetRowHeights(r, Data_Row_Height);
    ASG->EndUpdate();
}

void TFTLS_Server_Known_Cert::Set_Lang()
{
    Set_Frame_Texts(1600, 1601, 1602, 1608);
    Put_Header_Cells(ASG, Columns, Col_Count);
    Put_Lang_Texts(Hint_List, Hints);
}

void TFTLS_Server_Known_Cert::FormShow()
{
    Reset_Check_Rows(ASG, Col_Enable);
    Load_Table_File();
}

void TFTLS_Server_Known_Cert::Load_File()
{
    TTable_Reader reader(XML1, File_TLS_Known_Cert, this);
    ASG->BeginUpdate();
    Table_Load.Run(reader, [this](TTable_Reader& rd, const TXMLNode& root) {
        // The rows stand directly under the root.
        rd.Rows(root, ASG->RowCount() - 1, [this](const TXMLNode& row, int r) {
            ASG->SetCheckBoxState(Col_Enable, r, TTable_Reader::Attr_Def(row, "Enable", QString()) != QLatin1String("N"));
            ASG->SetCells(Col_Certificate, r, TTable_Reader::Attr_Def(row, "Certificate", QString()));
            ASG->SetCells(Col_Mnemonic, r, TTable_Reader::Attr_Def(row, "Mnemonic", QString()));
        });
    });
    ASG->EndUpdate();
}

void TFTLS_Server_Known_Cert::Write_File()
{
    TXMLNode root = Begin_Table_File(XML1, QStringLiteral("TLS_Server_Known_Cert"), QStringLiteral("SW_VERSION = 1.000"));
    for (int r = 1; r <= ASG->RowCount() - 1 && !Key_Cell_Blank(ASG->Cells(Col_Certificate, r)); ++r) {
        TXMLNode row = root.AddChild(QStringLiteral("row"));
        bool checked = false;
        const bool hasBox = ASG->GetCheckBoxState(Col_Enable, r, checked);
        row.SetAttribute(QStringLiteral("Enable"), hasBox && checked ? QStringLiteral("Y") : QStringLiteral("N"));
        row.SetAttribute(QStringLiteral("Certificate"), ASG->Cells(Col_Certificate, r));
        row.SetAttribute(QStringLiteral("Mnemonic"), ASG->Cells(Col_Mnemonic, r));
    }
}

bool TFTLS_Server_Known_Cert::Controllo_dati()
{
    return true;
}

TFTLS_Server_Known_Cert* Create_FTLS_Server_Known_Cert(QWidget* parent)
{
    return Create_Table_Window(FTLS_Server_Known_Cert, parent, "FTLS_Server_Known_Cert");
}
