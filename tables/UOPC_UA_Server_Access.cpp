#include "tables/UOPC_UA_Server_Access.h"

#include "core/UComon.h"
#include "core/UComon_Grid_Rows.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvGrid.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"

#include <QFileInfo>
#include <QVBoxLayout>

TFOPC_UA_Server_Access* FOPC_UA_Server_Access = nullptr;

using namespace platform;

namespace {

constexpr int Form_Client_Width = 1200;

enum { Col_Enable = 1, Col_Type = 2, Col_Position = 3, Col_Length = 4, Col_Name = 5, Col_RW = 6, Col_Mnemonic = 7 };

struct TOPC_Column {
    int Header;
    int Width;
    TColor Color;
    const char* Attribute;
};
const TOPC_Column Columns[TFOPC_UA_Server_Access::Col_Count] = {
    {2714, 40, clWindow, nullptr},
    {2715, 50, Table_Color_Enable, "Enable"},
    {2716, 120, Table_Color_Address, "Type"},
    {2717, 100, Table_Color_Timing, "Position"},
    {2718, 100, Table_Color_Timing, "Length"},
    {2719, 280, Table_Color_Position, "Name"},
    {2729, 100, Table_Color_Position, "ReadWrite"},
    {2720, 280, Table_Color_Text, "Mnemonic"},
};
const int Hints[TFOPC_UA_Server_Access::Col_Count - 1] = {2721, 2722, 2723, 2724, 2725, 2730, 2726};

// The types and the length each one fixes; 0: the length is a proposal of 10 the user may change.
struct TVar_Type {
    const char* Name;
    int Length;
};
const TVar_Type Var_Types[] = {
    {"Boolean", 1}, {"Signed Byte", 1}, {"Byte", 1},   {"Int16", 2},  {"UInt16", 2},
    {"Int32", 4},   {"UInt32", 4},      {"Int64", 8},  {"UInt64", 8}, {"Float", 4},
    {"Double", 8},  {"String", 0},      {"ByteString", 0},
};
constexpr int Proposed_Length = 10;

const TVar_Type* Find_Type(const QString& Type)
{
    for (const TVar_Type& t : Var_Types)
        if (Type == QLatin1String(t.Name))
            return &t;
    return nullptr;
}

// Replaces the "%d" placeholders of a language text in order.
QString Format_Numbers(QString Text, std::initializer_list<int> Values)
{
    int from = 0;
    for (int v : Values) {
        const int at = Text.indexOf(QLatin1String("%d"), from);
        if (at < 0)
            break;
        const QString n = QString::number(v);
        Text.replace(at, 2, n);
        from = at + int(n.size());
    }
    return Text;
}

} // namespace

TFOPC_UA_Server_Access::TFOPC_UA_Server_Access(QWidget* parent)
    : TFTable_Frame(parent, "FOPC_UA_Server_Access", Form_Client_Width)
{
}

void TFOPC_UA_Server_Access::Loaded()
{
    TFTable_Frame::Loaded();
    ASG = Add_Body_Grid<TVerIvovavOzed>("ASG", &Hint, &Do_Copy);
    ASG->SetShowHint(false);
    ASG->OnGetEditorType = [this](QObject* s, int c, int r, TEditorType& e) { ASGGetEditorType(s, c, r, e); };
    ASG->OnComboChange = [this](QObject* s, int c, int r, int i, const QString& t) { ASGComboChange(s, c, r, i, t); };
    ASG->OnEditCellDone = [this](QObject* s, int c, int r) { ASGEditCellDone(s, c, r); };
    ASG->Loaded();
    Describe_File(&File_OPC_UA_Server, 2728);
}

void TFOPC_UA_Server_Access::FormCreate()
{
    Frame_Create();
    VarType.clear();
    RWType.clear();
    Set_Lang();
    Init_Table();
}

void TFOPC_UA_Server_Access::Set_Lang()
{
    Set_Frame_Texts(2700, 2701, 2702, 2708);
    Put_Header_Cells(ASG, Columns, Col_Count);
    Put_Lang_Texts(Hint, Hints);
}

void TFOPC_UA_Server_Access::Init_Table()
{
    Setup_Check_Table(ASG, Columns, Col_Count, Data_Rows, false, Col_Enable);
    VarType.clear();
    for (const TVar_Type& t : Var_Types)
        VarType << QLatin1String(t.Name);
    RWType = {QStringLiteral("Read Only"), QStringLiteral("Read/Write")};
}

void TFOPC_UA_Server_Access::FormShow()
{
    Reset_Check_Rows(ASG, Col_Enable);
    // A lock left from the last showing would outlive the type that set it.
    for (int r = 1; r <= Data_Rows; ++r)
        ASG->SetReadOnly(Col_Length, r, false);
    FType_Edit = TType_Edit();
    Load_Table_File();
}

void TFOPC_UA_Server_Access::Load_File()
{
    TTable_Reader reader(XML1, File_OPC_UA_Server, this);
    ASG->BeginUpdate();
    Table_Load.Run(reader, [this](TTable_Reader& rd, const TXMLNode& root) {
        const TXMLNode section = rd.Section(root, QStringLiteral("OPC_UA_Server_Variables"));
        rd.Rows(section, ASG->RowCount() - 1, [this](const TXMLNode& row, int r) {
            auto attr = [&row](const char* name) { return TTable_Reader::Attr_Def(row, name, QString()); };
            ASG->SetCheckBoxState(Col_Enable, r, attr("Enable") != QLatin1String("N"));
            const QString type = attr("Type");
            ASG->SetCells(Col_Type, r, type);
            VarSetLength(type, Col_Type, r);
            // A stored length wins over the one the type proposes.
            ASG->SetCells(Col_Position, r, attr("Position"));
            ASG->SetCells(Col_Length, r, attr("Length"));
            ASG->SetCells(Col_Name, r, attr("Name"));
            ASG->SetCells(Col_RW, r, attr("ReadWrite"));
            ASG->SetCells(Col_Mnemonic, r, attr("Mnemonic"));
        });
    });
    ASG->EndUpdate();
}

void TFOPC_UA_Server_Access::Write_File()
{
    TXMLNode root = Begin_Table_File(XML1, QStringLiteral("OPC_UA_Server"), QStringLiteral("SW_VERSION = 1.000"));
    TXMLNode section = root.AddChild(QStringLiteral("OPC_UA_Server_Variables"));
    for (int r = 1; r <= ASG->RowCount() - 1 && !Key_Cell_Blank(ASG->Cells(Col_Type, r)); ++r) {
        TXMLNode row = section.AddChild(QStringLiteral("row"));
        bool checked = false;
        const bool hasBox = ASG->GetCheckBoxState(Col_Enable, r, checked);
        row.SetAttribute(QStringLiteral("Enable"), hasBox && checked ? QStringLiteral("Y") : QStringLiteral("N"));
        for (int c = Col_Type; c < Col_Count; ++c)
            row.SetAttribute(QLatin1String(Columns[c].Attribute), ASG->Cells(c, r));
    }
}

bool TFOPC_UA_Server_Access::Type_Fixes_Length(const QString& Type)
{
    const TVar_Type* t = Find_Type(Type);
    return t && t->Length > 0;
}

void TFOPC_UA_Server_Access::VarSetLength(const QString& Type, int, int ARow)
{
    if (ARow < 1 || ARow > ASG->RowCount() - 1)
        return;
    // Any other text leaves the length and its lock as they are.
    if (const TVar_Type* t = Find_Type(Type)) {
        ASG->SetCells(Col_Length, ARow, QString::number(t->Length > 0 ? t->Length : Proposed_Length));
        ASG->SetReadOnly(Col_Length, ARow, t->Length > 0);
    }
    if (ASG->Cells(Col_RW, ARow).isEmpty())
        ASG->SetCells(Col_RW, ARow, QStringLiteral("Read/Write"));
}

void TFOPC_UA_Server_Access::Update_Length_Locks()
{
    for (int r = 1; r <= ASG->RowCount() - 1; ++r)
        ASG->SetReadOnly(Col_Length, r, Type_Fixes_Length(ASG->Cells(Col_Type, r)));
}

bool TFOPC_UA_Server_Access::Controllo_dati()
{
    // Every row is looked at, also below a row without a type.
    for (int r = 1; r <= ASG->RowCount() - 1; ++r) {
        bool checked = false;
        if (ASG->Cells(Col_Type, r).trimmed().isEmpty() || !ASG->GetCheckBoxState(Col_Enable, r, checked) || !checked)
            continue;
        const int n = StrToIntDef(ASG->Cells(Col_Position, r), -1);
        if (n < 0 || n > Position_Limit - 1) {
            MessageDlg(Format_Numbers(Lang_Table[2727], {r, Position_Limit}), mtError, mbOK, this);
            return false;
        }
    }
    return true;
}

void TFOPC_UA_Server_Access::Btn_DelRowClick(QObject*)
{
    const int row = ASG->Row();
    if (MessageDlg(Format_Numbers(Lang_Table[2728], {row}), mtConfirmation, TMsgDlgButtons(mbYes) | mbNo, this) !=
        mrYes)
        return;
    Delete_Row_ASG(row, ASG, true);
    Update_Length_Locks();
}

void TFOPC_UA_Server_Access::Btn_InsRowClick(QObject* Sender)
{
    TFTable_Frame::Btn_InsRowClick(Sender);
    Update_Length_Locks();
}

void TFOPC_UA_Server_Access::Btn_PasteRowClick(QObject* Sender)
{
    const int row = ASG->Row();
    TFTable_Frame::Btn_PasteRowClick(Sender);
    // The pasted length stays; the lock and the default access follow the pasted type.
    const QString length = ASG->Cells(Col_Length, row);
    VarSetLength(ASG->Cells(Col_Type, row), Col_Type, row);
    ASG->SetCells(Col_Length, row, length);
    Update_Length_Locks();
}

void TFOPC_UA_Server_Access::ASGGetEditorType(QObject*, int ACol, int, TEditorType& AEditor)
{
    const QStringList* items = ACol == Col_Type ? &VarType : ACol == Col_RW ? &RWType : nullptr;
    if (!items)
        return;
    AEditor = edComboList;
    ASG->ClearComboString();
    for (const QString& s : *items)
        ASG->Combobox()->Items.Add(s);
}

void TFOPC_UA_Server_Access::ASGComboChange(QObject*, int ACol, int ARow, int, const QString& ASelection)
{
    if (ACol != Col_Type)
        return;
    if (FType_Edit.Row == ARow) {
        VarSetLength(ASelection, ACol, ARow);
        return;
    }
    // The first notice of this edit: the cells still hold what they held before it.
    FType_Edit.Row = ARow;
    FType_Edit.Type = ASG->Cells(Col_Type, ARow);
    FType_Edit.Length = ASG->Cells(Col_Length, ARow);
    FType_Edit.RW = ASG->Cells(Col_RW, ARow);
    FType_Edit.Length_Locked = ASG->GetReadOnly(Col_Length, ARow);
    // On a cell whose text is no type the list editor opens on its first item and tells it at
    // once, before the user did anything: no choice of the user's, so the row follows it only if
    // the edit ends with it.
    if (!VarType.contains(FType_Edit.Type))
        return;
    VarSetLength(ASelection, ACol, ARow);
}

void TFOPC_UA_Server_Access::ASGEditCellDone(QObject*, int ACol, int)
{
    if (ACol != Col_Type || FType_Edit.Row < 0)
        return;
    const TType_Edit edit = FType_Edit;
    FType_Edit = TType_Edit();
    if (edit.Row > ASG->RowCount() - 1)
        return;
    const QString type = ASG->Cells(Col_Type, edit.Row);
    if (type == edit.Type) {
        ASG->SetCells(Col_Length, edit.Row, edit.Length);
        ASG->SetCells(Col_RW, edit.Row, edit.RW);
        ASG->SetReadOnly(Col_Length, edit.Row, edit.Length_Locked);
        return;
    }
    VarSetLength(type, Col_Type, edit.Row);
}

TFOPC_UA_Server_Access* Create_FOPC_UA_Server_Access(QWidget* parent)
{
    return Create_Table_Window(FOPC_UA_Server_Access, parent, "FOPC_UA_Server_Access");
}
