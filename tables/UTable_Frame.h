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
#include "core/XMLDocument.h"
#include "platform/Form.h"
#include "platform/Graphics.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>
#include <vector>

class QLabel;
class QTabWidget;
class QVBoxLayout;
class TLbButton;
class TVerIvovavOzed;
class TZidIzavodUraz;

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
    virtual void Btn_OKClick(QObject* Sender) = 0;
    virtual void Btn_DelRowClick(QObject* Sender) = 0;
    virtual void Btn_InsRowClick(QObject* Sender) = 0;
    virtual void Btn_CopyRowClick(QObject* Sender) = 0;
    virtual void Btn_PasteRowClick(QObject* Sender) = 0;

protected:
    // Builds the panels and buttons; members call it first in their own Loaded.
    void Loaded() override;
    // Fixes the client size and puts L_SW_Code's text (the shown software code).
    void Frame_Create();
    // Window caption and subtitle, then the six captions and the six hints from consecutive
    // language indexes.
    void Set_Frame_Texts(int Caption, int Desc, int First_Button_Caption, int First_Button_Hint);
    QVBoxLayout* Body_Layout() const { return FBody_Layout; }

private:
    int FClient_Width;
    QVBoxLayout* FBody_Layout = nullptr;
};

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

// ---- the grids ----

// Adds a tab sheet named `SheetName` to `Pages` holding one grid named `GridName`, which fills it.
// The tab's caption is set later with the language.
QWidget* Add_Grid_Sheet(QTabWidget* Pages, const char* SheetName, TZidIzavodUraz*& Grid, const char* GridName);

// What the window's design gives every table grid: the counts, the fixed header row (22 high)
// and row-number column (40 wide), grid lines, range selection, in-place editing, scroll bars in
// both directions and bold Tahoma for the header and the current cell.
void Setup_Table_Grid(TVerIvovavOzed* Grid, int Col_Count, int Data_Rows, bool Col_Sizing);

// Column 0 of every data row gets its row number.
void Put_Row_Numbers(TVerIvovavOzed* Grid);

// A header hint: for row 0 and a data column the entry of its real column in `Hints` (entry i for
// real column i + 1); any other cell keeps the hint the grid made.
void Table_Grid_Hint(TVerIvovavOzed* Grid, int ARow, int ACol, QString& Hint, const QStringList& Hints);

// A click on the row number of a data row selects that whole row.
void Table_Click_Cell(TVerIvovavOzed* Grid, int ARow, int ACol);

// A double click on a header cell sizes its column to its widest text (with the option on).
void Table_Dbl_Click_Cell(TVerIvovavOzed* Grid, int ARow, int ACol);

// Asks the dialog's delete question (language entry `Question_Index` followed by the row number)
// for the current row of `Grid` and deletes the row only on Yes.
void Ask_Delete_Row_ACG(QWidget* Owner, int Question_Index, TZidIzavodUraz* Grid);

// Copy and paste in a dialog whose two grids sit on tabs: the buttons act on the grid in front, and a
// row copied from one grid pastes only into that grid (one copy flag per grid).
void Copy_Row_Tab_ACG(TZidIzavodUraz* Grid, TZidIzavodUraz* First, bool& Copy_First, bool& Copy_Second);
void Paste_Row_Tab_ACG(TZidIzavodUraz* Grid, TZidIzavodUraz* First, bool Copy_First, bool Copy_Second);

// Enter moves to the next field (with the option on).
void Table_Key_Press(TVerIvovavOzed* Grid, QChar& Key);

// The key cell of a row is blank: the rows from here down are not used.
bool Key_Cell_Blank(const QString& Text);

// ---- the table file ----

// Empties the document and gives it its root element followed by the version comment.
TXMLNode Begin_Table_File(TXMLDocument& Doc, const QString& Root, const QString& Version);

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
