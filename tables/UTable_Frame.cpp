#include "tables/UTable_Frame.h"

#include "core/UComon.h"
#include "core/UComon_Grid_Rows.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvCGrid.h"
#include "grid/AdvGrid.h"
#include "platform/Services.h"
#include "render/LbButton.h"
#include "tables/UTable_Load.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPalette>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace platform;

namespace {

constexpr int Title_Height = 69;
constexpr int Button_Panel_Height = 40;

TFont Bold_Tahoma()
{
    TFont f;
    f.SetName(QStringLiteral("Tahoma"));
    f.SetHeight(-11);
    f.SetStyle(TFontStyles(fsBold));
    return f;
}

} // namespace

// ---- the frame --------------------------------------------------------------------------------

TFTable_Frame::TFTable_Frame(QWidget* parent, const char* Name, int Client_Width)
    : TForm(parent), FTable_Load(std::make_unique<TTable_Load>()), Table_Load(*FTable_Load), FClient_Width(Client_Width)
{
    setObjectName(QLatin1String(Name));
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] {
        FormShow();
        Focus_First_Grid();
    };
}

void TFTable_Frame::Focus_First_Grid()
{
    // The grid comes first in the dialogs' tab order: the keyboard starts in its first data cell
    // (the grid of the sheet shown), so that Enter edits a cell instead of pressing OK.
    for (TVerIvovavOzed* grid : findChildren<TVerIvovavOzed*>()) {
        if (!grid->isVisibleTo(this) || grid->RowCount() <= grid->FixedRows() ||
            grid->ColCount() <= grid->FixedCols())
            continue;
        if (grid->Row() < grid->FixedRows())
            grid->SetRow(grid->FixedRows());
        if (grid->Col() < grid->FixedCols())
            grid->SetCol(grid->FixedCols());
        grid->setFocus(Qt::OtherFocusReason);
        return;
    }
}

TFTable_Frame::~TFTable_Frame()
{
    if (FRelease)
        FRelease();
}

void TFTable_Frame::Loaded()
{
    TForm::Loaded();
    QVBoxLayout* layout = Dialog_Layout(this);

    P_Title = Make_Title_Panel(this, FClient_Width, L_SW_Code, L_SW_Desc);
    P_Title->setFixedHeight(Title_Height);
    // The table dialogs' title: the window's own background, the code large at (16, 8) and the
    // dialog's title in bold at (16, 42).
    QPalette pal = P_Title->palette();
    pal.setColor(QPalette::Window, ToQColor(Window_Color));
    P_Title->setPalette(pal);
    QFont code(QStringLiteral("Verdana"));
    code.setPixelSize(32);
    L_SW_Code->setFont(code);
    L_SW_Code->move(16, 8);
    QFont desc(QStringLiteral("Verdana"));
    desc.setPixelSize(11);
    desc.setBold(true);
    L_SW_Desc->setFont(desc);
    L_SW_Desc->move(16, 42);
    layout->addWidget(P_Title);

    P_Body = new QWidget(this);
    P_Body->setObjectName(QStringLiteral("P_Body"));
    FBody_Layout = new QVBoxLayout(P_Body);
    FBody_Layout->setContentsMargins(0, 0, 0, 0);
    FBody_Layout->setSpacing(0);
    layout->addWidget(P_Body, 1);

    P_Button = new QWidget(this);
    P_Button->setObjectName(QStringLiteral("P_Button"));
    P_Button->setFixedHeight(Button_Panel_Height);
    layout->addWidget(P_Button);

    auto makeButton = [this](const char* name, int left, const char* glyph) {
        return Make_Dialog_Button(P_Button, name, left, 6, 110, glyph);
    };
    Btn_OK = makeButton("Btn_OK", 16, "LBOK");
    Btn_OK->OnClick = [this](QObject* s) { Btn_OKClick(s); };
    Btn_Cancel = makeButton("Btn_Cancel", 134, "LBCANCEL");
    // Cancel only carries the modal result: Escape is not its key, so that an Escape meant for a
    // cell editor or a list never throws the table's edits away.
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_DelRow = makeButton("Btn_DelRow", 252, nullptr);
    Btn_DelRow->OnClick = [this](QObject* s) { Btn_DelRowClick(s); };
    Btn_InsRow = makeButton("Btn_InsRow", 370, nullptr);
    Btn_InsRow->OnClick = [this](QObject* s) { Btn_InsRowClick(s); };
    Btn_CopyRow = makeButton("Btn_CopyRow", 488, nullptr);
    Btn_CopyRow->OnClick = [this](QObject* s) { Btn_CopyRowClick(s); };
    Btn_PasteRow = makeButton("Btn_PasteRow", 606, nullptr);
    Btn_PasteRow->OnClick = [this](QObject* s) { Btn_PasteRowClick(s); };
}

QTabWidget* TFTable_Frame::Add_Pages()
{
    auto* pages = new QTabWidget(P_Body);
    pages->setObjectName(QStringLiteral("PageControl1"));
    FBody_Layout->addWidget(pages);
    return pages;
}

QTabWidget* TFTable_Frame::Add_Grid_Pages(std::initializer_list<TTable_Sheet> Sheets)
{
    QTabWidget* pages = Add_Pages();
    std::vector<TTable_Grid> grids;
    for (const TTable_Sheet& s : Sheets) {
        *s.Sheet = Add_Grid_Sheet(pages, s.Sheet_Name, *s.Grid, s.Grid_Name);
        grids.push_back({*s.Grid, *s.Sheet, s.Hints, s.Copied});
    }
    Describe_Grids(pages, std::move(grids));
    return pages;
}

void TFTable_Frame::Place_Body_Grid(TVerIvovavOzed* Grid, const char* Name, QStringList* Hints, bool* Copied)
{
    Grid->setObjectName(QLatin1String(Name));
    FBody_Layout->addWidget(Grid);
    Describe_Grids(nullptr, {{Grid, nullptr, Hints, Copied}});
}

void TFTable_Frame::Load_Table_File()
{
    Table_Load.Reset();
    if (QFileInfo::exists(*FPath))
        Load_File();
    for (const TTable_Grid& g : FGrids)
        if (g.Copied)
            *g.Copied = false;
}

void TFTable_Frame::Frame_Create()
{
    Place_Dialog(this, L_SW_Code, FClient_Width, Table_Client_Height, TDialog_Sizing::Fixed, true);
    for (const TTable_Grid& g : FGrids)
        if (g.Hints)
            g.Hints->clear();
}

void TFTable_Frame::Set_Frame_Texts(int Caption, int Desc, int First_Button_Caption, int First_Button_Hint,
                                    std::initializer_list<int> Tab_Texts)
{
    Set_Dialog_Titles(this, L_SW_Desc, Lang_Table[Caption], Lang_Table[Desc]);
    TLbButton* buttons[] = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    for (int i = 0; i < 6; ++i) {
        buttons[i]->SetCaption(Lang_Table[First_Button_Caption + i]);
        buttons[i]->setToolTip(Lang_Table[First_Button_Hint + i]);
    }
    int tab = 0;
    for (int t : Tab_Texts)
        FPages->setTabText(tab++, Lang_Table[t]);
}

// ---- the handlers the tables share -------------------------------------------------------------

void TFTable_Frame::Describe_Grids(QTabWidget* Pages, std::vector<TTable_Grid> Grids)
{
    FPages = Pages;
    FGrids = std::move(Grids);
}

void TFTable_Frame::Wire_Grid(TVerIvovavOzed* Grid, int Events)
{
    if (Events & teClick)
        Grid->OnClickCell = [this](QObject* s, int r, int c) { ClickCell(s, r, c); };
    if (Events & teDblClick)
        Grid->OnDblClickCell = [this](QObject* s, int r, int c) { DblClickCell(s, r, c); };
    if (Events & teKey)
        Grid->OnKeyPress = [this](QObject* s, QChar& k) { KeyPress(s, k); };
    if (Events & teHint)
        Grid->OnGridHint = [this](QObject* s, int r, int c, QString& h) { GridHint(s, r, c, h); };
}

TVerIvovavOzed* TFTable_Frame::Front_Grid() const
{
    if (FGrids.empty())
        return nullptr;
    if (FPages)
        for (const TTable_Grid& g : FGrids)
            if (g.Sheet == FPages->currentWidget())
                return g.Grid;
    return FGrids.front().Grid;
}

TVerIvovavOzed* TFTable_Frame::Grid_Of(QObject* Sender) const
{
    for (const TTable_Grid& g : FGrids)
        if (g.Grid == Sender)
            return g.Grid;
    return Front_Grid();
}

void TFTable_Frame::Btn_OKClick(QObject*)
{
    if (!Controllo_dati())
        return;
    Write_File();
    if (!Table_Load.Save(XML1, *FPath, this))
        return;
    SetModalResult(mrOk);
}

void TFTable_Frame::Delete_Row(int Row, TVerIvovavOzed* Grid)
{
    if (auto* acg = dynamic_cast<TZidIzavodUraz*>(Grid))
        Delete_Row_ACG(Row, acg);
    else
        Delete_Row_ASG(Row, Grid, true);
}

void TFTable_Frame::Btn_DelRowClick(QObject*)
{
    TVerIvovavOzed* grid = Front_Grid();
    const int row = grid->Row();
    if (MessageDlg(Lang_Table[FDelete_Question] + QString::number(row), mtConfirmation, TMsgDlgButtons(mbYes) | mbNo,
                   this) == mrYes)
        Delete_Row(row, grid);
}

void TFTable_Frame::Btn_InsRowClick(QObject*)
{
    TVerIvovavOzed* grid = Front_Grid();
    if (auto* acg = dynamic_cast<TZidIzavodUraz*>(grid))
        Insert_Row_ACG(grid->Row(), acg, Insert_Enabled);
    else
        Insert_Row_ASG(grid->Row(), grid, Insert_Enabled);
}

void TFTable_Frame::Btn_CopyRowClick(QObject*)
{
    TVerIvovavOzed* grid = Front_Grid();
    if (auto* acg = dynamic_cast<TZidIzavodUraz*>(grid))
        Copy_Row_ACG(acg, grid->Row());
    else
        Copy_Row_ASG(grid, grid->Row());
    for (const TTable_Grid& g : FGrids)
        if (g.Copied)
            *g.Copied = g.Grid == grid;
}

void TFTable_Frame::Btn_PasteRowClick(QObject*)
{
    TVerIvovavOzed* grid = Front_Grid();
    bool copied = false;
    for (const TTable_Grid& g : FGrids)
        if (g.Grid == grid && g.Copied)
            copied = *g.Copied;
    if (auto* acg = dynamic_cast<TZidIzavodUraz*>(grid))
        Paste_Row_ACG(acg, grid->Row(), copied);
    else
        Paste_Row_ASG(grid, grid->Row(), copied);
}

void TFTable_Frame::ClickCell(QObject* Sender, int ARow, int ACol)
{
    TVerIvovavOzed* grid = Grid_Of(Sender);
    if (grid && ACol == 0 && ARow >= 1 && ARow < grid->RowCount())
        grid->SelectRows(ARow, 1);
}

void TFTable_Frame::DblClickCell(QObject* Sender, int ARow, int ACol)
{
    Auto_Size_Column(Grid_Of(Sender), ARow, ACol);
}

void TFTable_Frame::KeyPress(QObject* Sender, QChar& Key)
{
    Jump_Next_Field(Grid_Of(Sender), Key);
}

void TFTable_Frame::GridHint(QObject* Sender, int ARow, int ACol, QString& HintStr)
{
    TVerIvovavOzed* grid = Grid_Of(Sender);
    const QStringList* hints = nullptr;
    for (const TTable_Grid& g : FGrids)
        if (g.Grid == grid)
            hints = g.Hints;
    if (Hint_Rule == THint_Rule::None || !grid)
        return;
    if (Hint_Rule != THint_Rule::Header_Keep)
        HintStr.clear();
    if (!hints || ARow != 0)
        return;
    const int col = Hint_Rule == THint_Rule::Shown_Column ? ACol : grid->RealColIndex(ACol);
    if (col > 0 && col - 1 < hints->size())
        HintStr = hints->at(col - 1);
}

QVBoxLayout* Dialog_Layout(TForm* Form)
{
    Form->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Apply_Window_Look(Form);
    auto* layout = new QVBoxLayout(Form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// ---- the dialog's one instance -----------------------------------------------------------------

void Unregister_Table_Window(const char* Instance_Name)
{
    Unregister_Window(QLatin1String(Instance_Name));
}



// ---- the grids --------------------------------------------------------------------------------

void Setup_Table_Grid(TVerIvovavOzed* Grid, int Col_Count, int Data_Rows, bool Col_Sizing)
{
    Grid->SetColCount(Col_Count);
    Grid->SetRowCount(Data_Rows + 1);
    Grid->SetFixedCols(1);
    Grid->SetFixedRows(1);
    Grid->SetColWidths(0, Table_Row_Number_Width);
    Grid->SetRowHeights(0, Table_Header_Height);
    TGridOptions options = TGridOptions(goFixedVertLine) | goFixedHorzLine | goVertLine | goHorzLine |
                           goRangeSelect | goEditing;
    if (Col_Sizing)
        options |= goColSizing;
    Grid->SetOptions(options);
    Grid->SetScrollBars(ssBoth);
    const TFont bold = Bold_Tahoma();
    Grid->FixedFont().Assign(bold);
    Grid->ActiveCellFont().Assign(bold);
}

QWidget* Add_Grid_Sheet(QTabWidget* Pages, const char* SheetName, TZidIzavodUraz*& Grid, const char* GridName)
{
    auto* sheet = new QWidget;
    sheet->setObjectName(QLatin1String(SheetName));
    auto* l = new QVBoxLayout(sheet);
    l->setContentsMargins(0, 0, 0, 0);
    Grid = new TZidIzavodUraz(sheet);
    Grid->setObjectName(QLatin1String(GridName));
    l->addWidget(Grid);
    Pages->addTab(sheet, QString());
    return sheet;
}

void Setup_Column(TGridColumnItem* Item, TEditorType Editor, int Width, TColor Color, bool Centred)
{
    Item->SetEditor(Editor);
    Item->SetWidth(Width);
    Item->SetColor(Color);
    Item->SetAlignment(Centred ? taCenter : taLeftJustify);
    Item->SetCheckTrue(QStringLiteral("Y"));
    Item->SetCheckFalse(QStringLiteral("N"));
}

void Put_Row_Numbers(TVerIvovavOzed* Grid)
{
    for (int r = 1; r < Grid->RowCount(); ++r)
        Grid->SetCells(0, r, QString::number(r));
}

void Reset_Table_Rows(TVerIvovavOzed* Grid, bool Enabled)
{
    Grid->BeginUpdate();
    const int last = Grid->ColCount() + Grid->NumHiddenColumns() - 1;
    for (int r = 1; r < Grid->RowCount(); ++r) {
        Grid->SetCells(0, r, QString::number(r));
        if (Enabled)
            Grid->SetCells(1, r, QStringLiteral("Y"));
        for (int c = Enabled ? 2 : 1; c <= last; ++c)
            Grid->SetCells(c, r, QString());
    }
    Grid->EndUpdate();
}

void Reset_Check_Rows(TVerIvovavOzed* Grid, int Col_Enable)
{
    Grid->BeginUpdate();
    for (int r = 1; r <= Grid->RowCount() - 1; ++r) {
        Grid->SetCells(0, r, QString::number(r));
        Grid->SetCheckBoxState(Col_Enable, r, true);
        for (int c = Col_Enable + 1; c < Grid->ColCount() + Grid->NumHiddenColumns(); ++c)
            Grid->SetCells(c, r, QString());
    }
    Grid->EndUpdate();
}

void Put_Items(platform::TStringList& Target, const QStringList& Items)
{
    Target.BeginUpdate();
    Target.Clear();
    for (const QString& s : Items)
        Target.Add(s);
    Target.EndUpdate();
}

void TFTable_Frame::Reset_Rows(bool Enabled)
{
    for (const TTable_Grid& g : FGrids)
        Reset_Table_Rows(g.Grid, Enabled);
}

void Put_Positions(TZidIzavodUraz* Grid, int Col, int Size)
{
    Put_Items(Grid->Columns().Items(Col)->ComboItems(), Position_Items(Size));
}

QStringList Position_Items(int Size)
{
    QStringList items;
    items.reserve(Size);
    for (int i = 0; i < Size; ++i)
        items << QString::number(i);
    return items;
}

void Put_Lang_Texts(QStringList& List, const int* Texts, int Count)
{
    List.clear();
    for (int i = 0; i < Count; ++i)
        List << Lang_Table[Texts[i]];
}

QString Lang_Text(int Index)
{
    return Lang_Table[Index];
}

bool Key_Cell_Blank(const QString& Text)
{
    return Text.trimmed().isEmpty();
}

// ---- the table file ---------------------------------------------------------------------------

TXMLNode Begin_Table_File(TXMLDocument& Doc, const QString& Root, const QString& Version)
{
    Doc.Clear();
    TXMLNode root = Doc.AddChild(Root);
    Doc.AddComment(Version);
    return root;
}

void Write_Table_Rows(TXMLNode Parent, TVerIvovavOzed* Grid, int Key_Col, int Col_Count,
                      const std::function<const char*(int Col)>& Attribute)
{
    for (int r = 1; r <= Grid->RowCount() - 1 && !Key_Cell_Blank(Grid->Cells(Key_Col, r)); ++r) {
        TXMLNode row = Parent.AddChild(QStringLiteral("row"));
        for (int c = 1; c < Col_Count; ++c)
            if (const char* name = Attribute(c))
                row.SetAttribute(QLatin1String(name), Grid->Cells(c, r));
    }
}

bool Save_Table_File(TXMLDocument& Doc, const QString& Path, QWidget* Owner)
{
    QString error;
    if (Doc.SaveToFile(Path, &error))
        return true;
    MessageDlg(QStringLiteral("Error! The file \"%1\" cannot be written: %2")
                   .arg(QDir::toNativeSeparators(Path), error),
               mtError, mbOK, Owner);
    return false;
}

ETableLoad::ETableLoad(const QString& Reason) : std::runtime_error(Reason.toStdString()) {}

QString ETableLoad::Reason() const
{
    return QString::fromStdString(what());
}

TTable_Reader::TTable_Reader(TXMLDocument& Doc, const QString& Path, QWidget* Owner)
    : FDoc(Doc), FPath(Path), FOwner(Owner)
{
}

bool TTable_Reader::Run(const std::function<void(TTable_Reader& Reader, const TXMLNode& Root)>& Read)
{
    QString reason;
    try {
        QString error;
        if (!FDoc.LoadFromFile(FPath, &error))
            throw ETableLoad(error);
        const TXMLNode root = FDoc.DocumentElement();
        if (root.IsNull())
            throw ETableLoad(QStringLiteral("the file holds no element."));
        Read(*this, root);
        return true;
    } catch (const ETableLoad& e) {
        reason = e.Reason();
    } catch (const std::exception& e) {
        reason = QString::fromLocal8Bit(e.what());
    }
    MessageDlg(QStringLiteral("Error! The file \"%1\" cannot be loaded: %2").arg(QDir::toNativeSeparators(FPath), reason),
               mtError, mbOK, FOwner);
    return false;
}

TXMLNode TTable_Reader::Section(const TXMLNode& Root, const QString& Name)
{
    const TXMLNode section = Root.FindNode(Name);
    if (section.IsNull())
        throw ETableLoad(QStringLiteral("the element \"%1\" is missing.").arg(Name));
    return section;
}

void TTable_Reader::Rows(const TXMLNode& Section, int Data_Rows,
                         const std::function<void(const TXMLNode& Row, int Grid_Row)>& Read_Row)
{
    // Only elements are rows: a comment a person put into the file is not one.
    const std::vector<TXMLNode> rows = Section.ChildElements();
    FSection = Section.NodeName();
    const int n = std::min(int(rows.size()), Data_Rows);
    for (int k = 0; k < n; ++k) {
        FRow = k + 1;
        Read_Row(rows[size_t(k)], k + 1);
    }
    if (int(rows.size()) > Data_Rows && !FTold_Overflow) {
        FTold_Overflow = true;
        MessageDlg(QStringLiteral("The file \"%1\" holds %2 rows in \"%3\", the table only %4: the rows after row %4 "
                                  "were not loaded.")
                       .arg(QDir::toNativeSeparators(FPath))
                       .arg(rows.size())
                       .arg(FSection)
                       .arg(Data_Rows),
                   mtWarning, mbOK, FOwner);
    }
}

void TTable_Reader::Grid_Rows(const TXMLNode& Section, TVerIvovavOzed* Grid,
                              const std::function<void(const TXMLNode& Row, int Grid_Row)>& Read_Row)
{
    Grid->BeginUpdate();
    struct TEnd {
        TVerIvovavOzed* G;
        ~TEnd() { G->EndUpdate(); }
    } end{Grid};
    Rows(Section, Grid->RowCount() - 1, Read_Row);
}

QString TTable_Reader::Attr(const TXMLNode& Row, const char* Name) const
{
    QString value;
    if (!Row.TryAttribute(Name, value))
        throw ETableLoad(QStringLiteral("row %1 of \"%2\" has no attribute \"%3\".")
                             .arg(FRow)
                             .arg(FSection, QLatin1String(Name)));
    return value;
}

QString TTable_Reader::Attr_Def(const TXMLNode& Row, const char* Name, const QString& Def)
{
    return Row.AttributeDef(Name, Def);
}
