#pragma once
// The frame every rule-table dialog stands on: the title panel along the top, the six buttons
// along the bottom and the grid area between them; the look every table grid shares; the grid
// events all tables handle alike (header hints, a click on a row number, a double click on a
// header, Enter); and the reading and writing of the table file.
//
// A table file is one XML document: the root element, then a version comment beside it, and one
// `row` element per used row with the saved cells as attributes. Writing happens only on OK.
// Reading never changes the file: a file that cannot be used keeps the rows read so far in the
// grid and gives one error box.
#include "core/UVelmoraeFirmWare.h"
#include "core/XMLDocument.h"
#include "platform/Form.h"
#include "platform/Graphics.h"
#include "platform/StringList.h"
#include "grid/BaseGrid.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <vector>

class QLabel;
class QTabWidget;
class QVBoxLayout;
class TGridColumnItem;
class TLbButton;
class TTable_Load;
class TTable_Reader;
class TVerIvovavOzed;
class TZidIzavodUraz;

// A tab of a dialog and the one grid on it, with the names they are found by.
struct TTable_Sheet {
    const char* Sheet_Name;
    QWidget** Sheet;
    const char* Grid_Name;
    TZidIzavodUraz** Grid;
    QStringList* Hints;  // as TTable_Grid
    bool* Copied;
};

// What a dialog tells the frame about one of its grids.
struct TTable_Grid {
    TVerIvovavOzed* Grid = nullptr;
    QWidget* Sheet = nullptr;      // its tab; none when the dialog shows one grid
    QStringList* Hints = nullptr;  // its header hints, entry i for column i + 1
    bool* Copied = nullptr;        // set while the row copied last came from this grid
};

// How the hint handler answers for a cell.
enum class THint_Rule {
    Header_Keep,   // a data column's header shows its entry (by its real column); other cells keep the grid's hint
    Header_Only,   // the same, but no other cell shows a hint
    Shown_Column,  // the header shows the entry of its shown column; no other cell shows a hint
    None,          // the grid's own hint stays
};

// The grid events a dialog hands to the frame's handlers.
enum TTable_Events { teClick = 1, teDblClick = 2, teKey = 4, teHint = 8, teAll = 15 };

// ---- sizes and colours of the frame ----
constexpr int Table_Client_Height = 337;
constexpr int Table_Row_Number_Width = 40;
constexpr int Table_Header_Height = 22;

// Background colours of the data cells by the kind of the column.
constexpr TColor Table_Color_Enable = 11589887;    // (255, 216, 176)
constexpr TColor Table_Color_Address = 16710368;   // (224, 250, 254)
constexpr TColor Table_Color_Timing = 11075496;    // (168, 255, 168)
constexpr TColor Table_Color_Position = 16045820;  // (252, 214, 244)
constexpr TColor Table_Color_Swap = 11075583;      // (255, 255, 168)
constexpr TColor Table_Color_Text = 0xFFFFFF;      // white

class TFTable_Frame : public platform::TForm {
    Q_OBJECT
public:
    TFTable_Frame(QWidget* parent, const char* Name, int Client_Width);
    ~TFTable_Frame() override;

    int Client_Width() const { return FClient_Width; }

    // ---- components ----
    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    // The area between the title and the buttons: the grid, or the page control of two grids.
    QWidget* P_Body = nullptr;
    QWidget* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TLbButton* Btn_DelRow = nullptr;
    TLbButton* Btn_InsRow = nullptr;
    TLbButton* Btn_CopyRow = nullptr;
    TLbButton* Btn_PasteRow = nullptr;
    // The dialog's own document, used only for its table file.
    TXMLDocument XML1;

    // ---- handlers every member implements ----
    virtual void FormCreate() = 0;
    virtual void FormShow() = 0;
    // Gives the keyboard to the first grid shown, at its first data cell.
    void Focus_First_Grid();
    virtual void Set_Lang() = 0;
    // True when the tables may be saved; otherwise the first error was shown.
    virtual bool Controllo_dati() = 0;

    // ---- handlers the tables share, on the grids the dialog described ----
    // OK checks the tables, writes the file (keeping an unreadable one first) and closes.
    virtual void Btn_OKClick(QObject* Sender);
    // The row buttons act on the grid in front, Delete only after a Yes to the delete question.
    virtual void Btn_DelRowClick(QObject* Sender);
    virtual void Btn_InsRowClick(QObject* Sender);
    // A row copied from one grid pastes only into that grid.
    virtual void Btn_CopyRowClick(QObject* Sender);
    virtual void Btn_PasteRowClick(QObject* Sender);
    // A click on the row number of a data row selects that whole row.
    virtual void ClickCell(QObject* Sender, int ARow, int ACol);
    // A double click on a header cell sizes its column to its widest text (with the option on).
    virtual void DblClickCell(QObject* Sender, int ARow, int ACol);
    // Enter moves to the next field (with the option on).
    virtual void KeyPress(QObject* Sender, QChar& Key);
    virtual void GridHint(QObject* Sender, int ARow, int ACol, QString& HintStr);

    // The grid of the tab in front; the only grid of a dialog without tabs.
    TVerIvovavOzed* Front_Grid() const;

protected:
    // What the dialog tells the frame: its grids in order (on the tabs of `Pages`, when it has
    // tabs), its table file and its delete question.
    void Describe_Grids(QTabWidget* Pages, std::vector<TTable_Grid> Grids);
    void Describe_File(const QString* Path, int Delete_Question)
    {
        FPath = Path;
        FDelete_Question = Delete_Question;
    }
    // A row inserted by the button is enabled ("Y" in column 1).
    bool Insert_Enabled = true;
    THint_Rule Hint_Rule = THint_Rule::Header_Keep;
    // Adds the page control that fills the body, one tab per sheet holding its one grid, and
    // describes those grids to the frame in that order.
    QTabWidget* Add_Grid_Pages(std::initializer_list<TTable_Sheet> Sheets);
    // The one grid of a dialog without tabs, named `Name`, filling the body; described to the
    // frame as its only grid.
    template <class TGrid>
    TGrid* Add_Body_Grid(const char* Name, QStringList* Hints, bool* Copied)
    {
        auto* grid = new TGrid(P_Body);
        Place_Body_Grid(grid, Name, Hints, Copied);
        return grid;
    }
    // Hands the grid's events to the handlers above.
    void Wire_Grid(TVerIvovavOzed* Grid, int Events = teAll);
    // The described grid that sent an event; a sender that is none of them means the grid in front.
    TVerIvovavOzed* Grid_Of(QObject* Sender) const;
    // Fills the document with the tables, written on OK after the checks.
    virtual void Write_File() = 0;
    // Reads the table file into the grids (which the showing has reset).
    virtual void Load_File() = 0;
    // The showing's load: the table file, when there is one, goes into the grids, and no row
    // copied before counts any more.
    void Load_Table_File();
    // Takes the row out of the grid (the Delete button after its Yes).
    virtual void Delete_Row(int Row, TVerIvovavOzed* Grid);
    // How this showing's load of the file went: after a failed one, OK keeps the file as <name>.bak.
    std::unique_ptr<TTable_Load> FTable_Load;
    TTable_Load& Table_Load;

    // Builds the panels and buttons; members call it first in their own Loaded.
    void Loaded() override;
    // Fixes the client size, puts L_SW_Code's text (the shown software code) and empties the
    // described grids' hint lists until the language fills them.
    void Frame_Create();
    // Window caption and subtitle, then the six captions and the six hints from consecutive
    // language indexes, and the captions of the tabs in their order.
    void Set_Frame_Texts(int Caption, int Desc, int First_Button_Caption, int First_Button_Hint,
                         std::initializer_list<int> Tab_Texts = {});
    // A new showing: Reset_Table_Rows on every described grid.
    void Reset_Rows(bool Enabled);
    QVBoxLayout* Body_Layout() const { return FBody_Layout; }
    // The page control that fills the body of a dialog whose grids sit on tabs.
    QTabWidget* Add_Pages();
    void Place_Body_Grid(TVerIvovavOzed* Grid, const char* Name, QStringList* Hints, bool* Copied);

private:
    template <class T>
    friend T* Create_Table_Window(T*& Instance, QWidget* Parent, const char* Instance_Name);
    // Clears the dialog's instance variable when the window goes away.
    std::function<void()> FRelease;
    int FClient_Width;
    QVBoxLayout* FBody_Layout = nullptr;
    QTabWidget* FPages = nullptr;
    std::vector<TTable_Grid> FGrids;
    const QString* FPath = nullptr;
    int FDelete_Question = 0;
};

// The window look of the table dialogs and their pickers: a dialog frame with a close button, the
// window's colours, and a top-to-bottom layout without margins for its panels.
QVBoxLayout* Dialog_Layout(platform::TForm* Form);

// ---- the dialog's one instance ----

// Takes the window of that name off the open-window list.
void Unregister_Table_Window(const char* Instance_Name);

// A dialog going away clears its instance variable, when that still names it, and leaves the
// open-window list.
template <class T>
void Release_Table_Instance(T*& Instance, const T* Self, const char* Instance_Name)
{
    if (Instance == Self) {
        Instance = nullptr;
        Unregister_Table_Window(Instance_Name);
    }
}

// Creates the table's one window the first time it is needed, sets its instance variable and
// registers it with the main window under its name; the window going away releases both.
template <class T>
T* Create_Table_Window(T*& Instance, QWidget* Parent, const char* Instance_Name)
{
    T* w = Create_Registered(Parent, Instance);
    w->FRelease = [&Instance, w, Instance_Name] { Release_Table_Instance(Instance, w, Instance_Name); };
    return w;
}

// ---- the grids ----

// Adds a tab sheet named `SheetName` to `Pages` holding one grid named `GridName`, which fills it.
// The tab's caption is set later with the language.
QWidget* Add_Grid_Sheet(QTabWidget* Pages, const char* SheetName, TZidIzavodUraz*& Grid, const char* GridName);

// What the window's design gives every table grid: the counts, the fixed header row (22 high)
// and row-number column (40 wide), grid lines, range selection, in-place editing, scroll bars in
// both directions and bold Tahoma for the header and the current cell.
void Setup_Table_Grid(TVerIvovavOzed* Grid, int Col_Count, int Data_Rows, bool Col_Sizing);

// A column of a table grid: its editor, width, colour and alignment; check boxes hold "Y" and "N".
void Setup_Column(TGridColumnItem* Item, TEditorType Editor, int Width, TColor Color, bool Centred);

// Column 0 of every data row gets its row number.
void Put_Row_Numbers(TVerIvovavOzed* Grid);

// A new showing starts from empty rows: each data row gets its number in column 0 and, when the
// rows start enabled, "Y" in column 1; every other cell (hidden columns included) is emptied.
void Reset_Table_Rows(TVerIvovavOzed* Grid, bool Enabled);

// The choices of a drop-down column, replaced as a whole.
void Put_Items(platform::TStringList& Target, const QStringList& Items);
// "0", "1", ... "Size - 1": the byte positions of a data array of that size.
QStringList Position_Items(int Size);
// Those positions as the choices of the column `Col`.
void Put_Positions(TZidIzavodUraz* Grid, int Col, int Size);

// The key cell of a row is blank: the rows from here down are not used.
bool Key_Cell_Blank(const QString& Text);

// ---- grids described column by column ----
// A dialog describes each column of a column grid by one entry with at least its Editor, Width,
// Color, Header (language index) and Attribute (in the table file; none for the row number).
// An entry without Centred centres check boxes only; one with Edit_Length limits the text.

template <class TCol>
bool Column_Centred(const TCol& Col)
{
    if constexpr (requires { Col.Centred; })
        return Col.Centred;
    else
        return Col.Editor == edDataCheckBox;
}

// Sizes a column grid (the design's counts and look, one column definition each) and sets each
// column up from its entry, with the choices `Items` gives for it (none: no fixed choices).
// Column 0, the row number, is fixed.
struct TNo_Items {
    template <class TCol>
    const QStringList* operator()(const TCol&) const
    {
        return nullptr;
    }
};
template <class TGrid, class TCol, class TItems_Of = TNo_Items>
void Setup_Table_Columns(TGrid* Grid, const TCol* Cols, int Count, int Data_Rows, TItems_Of Items = {})
{
    Setup_Table_Grid(Grid, Count, Data_Rows, true);
    Grid->SetColCount(Count);  // the column grid's own: one definition per column
    for (int c = 0; c < Count; ++c) {
        auto* item = Grid->Columns().Items(c);
        Setup_Column(item, Cols[c].Editor, Cols[c].Width, Cols[c].Color, Column_Centred(Cols[c]));
        if constexpr (requires { Cols[c].Edit_Length; })
            item->SetEditLength(Cols[c].Edit_Length);
        if (const QStringList* items = Items(Cols[c]))
            Put_Items(item->ComboItems(), *items);
    }
    Grid->Columns().Items(0)->SetFixed(true);
}

// The language texts of the indexes, in their order, replace the list.
void Put_Lang_Texts(QStringList& List, const int* Texts, int Count);
template <size_t N>
void Put_Lang_Texts(QStringList& List, const int (&Texts)[N])
{
    Put_Lang_Texts(List, Texts, int(N));
}

// Each column's header from the language text its entry names.
QString Lang_Text(int Index);
template <class TGrid, class TCol>
void Put_Column_Headers(TGrid* Grid, const TCol* Cols, int Count)
{
    for (int c = 0; c < Count; ++c)
        Grid->Columns().Items(c)->SetHeader(Lang_Text(Cols[c].Header));
}

// The same, for a table whose headers stand in the header row's cells.
template <class TGrid, class TCol>
void Put_Header_Cells(TGrid* Grid, const TCol* Cols, int Count)
{
    for (int c = 0; c < Count; ++c)
        Grid->SetCells(c, 0, Lang_Text(Cols[c].Header));
}

// A string grid set up column by column: the design's counts and look, each column's header and
// width, the check boxes of the column `Col_Enable` (centred) and every data cell in its column's
// colour; each data row gets its number.
template <class TGrid, class TCol>
void Setup_Check_Table(TGrid* Grid, const TCol* Cols, int Count, int Data_Rows, bool Col_Sizing, int Col_Enable)
{
    Grid->BeginUpdate();
    Setup_Table_Grid(Grid, Count, Data_Rows, Col_Sizing);
    Put_Header_Cells(Grid, Cols, Count);
    for (int c = 0; c < Count; ++c)
        Grid->SetColWidths(c, Cols[c].Width);
    Grid->AddCheckBoxColumn(Col_Enable, false, false);
    for (int r = 1; r <= Data_Rows; ++r) {
        Grid->SetCells(0, r, QString::number(r));
        for (int c = 1; c < Count; ++c)
            Grid->GetCellProperties(c, r)->SetBrushColor(Cols[c].Color);
        Grid->GetCellProperties(Col_Enable, r)->SetAlignment(taCenter);
    }
    Grid->EndUpdate();
}

// A new showing of a string grid with a check box column: each data row gets its number and a
// ticked box, every cell after the box (hidden columns included) is emptied.
void Reset_Check_Rows(TVerIvovavOzed* Grid, int Col_Enable);

// A section element of the table file and the grid it holds, column by column.
template <class TCol>
struct TTable_Section {
    const char* Section;
    TZidIzavodUraz* Grid;
    const TCol* Cols;
    int Count;
};

// ---- the table file ----

// Empties the document and gives it its root element followed by the version comment.
TXMLNode Begin_Table_File(TXMLDocument& Doc, const QString& Root, const QString& Version);

// Writes the used rows of the grid under `Parent` (from row 1 down to the first whose key cell is
// blank), one "row" element each, with the cells of columns 1 .. Col_Count - 1 as the attributes
// `Attribute` names for them (a column it names none for is not saved).
void Write_Table_Rows(TXMLNode Parent, TVerIvovavOzed* Grid, int Key_Col, int Col_Count,
                      const std::function<const char*(int Col)>& Attribute);

// Write_Table_Rows for each section under its own element below `Root`, each column saved under
// the attribute of its entry.
template <class TCol>
void Write_Table_Sections(TXMLNode Root, int Key_Col, std::initializer_list<TTable_Section<TCol>> Sections)
{
    for (const TTable_Section<TCol>& s : Sections)
        Write_Table_Rows(Root.AddChild(QLatin1String(s.Section)), s.Grid, Key_Col, s.Count,
                         [&s](int c) { return s.Cols[c].Attribute; });
}

// Saves the whole document. A failure is shown in one error box; the old file stays.
bool Save_Table_File(TXMLDocument& Doc, const QString& Path, QWidget* Owner);

// What stops reading a table file, with the reason the user is shown.
class ETableLoad : public std::runtime_error {
public:
    explicit ETableLoad(const QString& Reason);
    QString Reason() const;
};

// Reads a table file into the grids. `Read` gets the document's root and fills the grids; any
// ETableLoad it raises stops it there, and the user sees one error box. The file is never
// written. Returns true when the whole file was read.
class TTable_Reader {
public:
    TTable_Reader(TXMLDocument& Doc, const QString& Path, QWidget* Owner);

    bool Run(const std::function<void(TTable_Reader& Reader, const TXMLNode& Root)>& Read);

    // The root's child element of that name; a missing one stops the load.
    TXMLNode Section(const TXMLNode& Root, const QString& Name);

    // Calls `Read_Row` for each row element of `Section` (in document order) with grid rows 1, 2,
    // ...; rows past `Data_Rows` have no place in the grid: the user is told once per file.
    void Rows(const TXMLNode& Section, int Data_Rows, const std::function<void(const TXMLNode& Row, int Grid_Row)>& Read_Row);

    // Rows() into the grid, which paints only once they are read (or the load stopped).
    void Grid_Rows(const TXMLNode& Section, TVerIvovavOzed* Grid,
                   const std::function<void(const TXMLNode& Row, int Grid_Row)>& Read_Row);

    // The attribute of the row being read; a missing one stops the load.
    QString Attr(const TXMLNode& Row, const char* Name) const;
    // The attribute, or `Def` when it is missing.
    static QString Attr_Def(const TXMLNode& Row, const char* Name, const QString& Def);

private:
    TXMLDocument& FDoc;
    QString FPath;
    QWidget* FOwner;
    QString FSection;
    int FRow = 0;
    bool FTold_Overflow = false;
};
