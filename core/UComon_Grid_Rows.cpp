#include "core/UComon_Grid_Rows.h"

#include "core/UComon.h"
#include "core/ULanguage.h"
#include "grid/AdvCGrid.h"
#include "platform/Services.h"

using namespace platform;

namespace {

// Number of the last data column: hidden columns keep their real index and take part.
int Last_Data_Col(const TVerIvovavOzed* Grid)
{
    return Grid->ColCount() + Grid->NumHiddenColumns() - 1;
}

bool Is_Data_Row(const TVerIvovavOzed* Grid, int Row)
{
    return Grid && Row >= 1 && Row <= Grid->RowCount() - 1;
}

// Painting waits until a whole row move is done.
struct TUpdate_Lock {
    TVerIvovavOzed* Grid;
    explicit TUpdate_Lock(TVerIvovavOzed* G) : Grid(G) { Grid->BeginUpdate(); }
    ~TUpdate_Lock() { Grid->EndUpdate(); }
};

// ---- column grids: every cell is its text ----

void Move_Row_ACG(TZidIzavodUraz* Grid, int To, int From)
{
    for (int c = 1; c <= Last_Data_Col(Grid); ++c)
        Grid->SetCells(c, To, Grid->Cells(c, From));
}

void Empty_Row_ACG(TZidIzavodUraz* Grid, int Row, bool Set_Enable)
{
    for (int c = 1; c <= Last_Data_Col(Grid); ++c)
        Grid->SetCells(c, Row, c == 1 && Set_Enable ? QStringLiteral("Y") : QString());
}

bool Is_Check_Column_ACG(TZidIzavodUraz* Grid, int Col)
{
    TGridColumnCollection& cols = Grid->Columns();
    return Col < cols.Count() && cols.Items(Col)->Editor() == edDataCheckBox;
}

// ---- string grids: a check box keeps its state in the cell, not in the text ----

void Move_Cell_ASG(TVerIvovavOzed* Grid, int Col, int To, int From)
{
    bool state = false;
    if (Grid->GetCheckBoxState(Col, From, state))
        Grid->SetCheckBoxState(Col, To, state);  // a target without a box stays as it is
    else
        Grid->SetCells(Col, To, Grid->Cells(Col, From));
}

void Empty_Row_ASG(TVerIvovavOzed* Grid, int Row, bool Set_Enable)
{
    for (int c = 1; c <= Last_Data_Col(Grid); ++c) {
        bool state = false;
        if (Grid->GetCheckBoxState(c, Row, state))
            Grid->SetCheckBoxState(c, Row, c == 1 && Set_Enable);
        else
            Grid->SetCells(c, Row, QString());
    }
}

// The paste checks shared by both families; true when the paste may go on.
bool Paste_Allowed(TVerIvovavOzed* Grid, bool Do_Copy, bool Row_Used)
{
    if (!Do_Copy) {
        MessageDlg(Lang_Table[1102], mtError, mbOK, Grid);
        return false;
    }
    if (Row_Clipboard.size() != Last_Data_Col(Grid)) {
        MessageDlg(Lang_Table[1101], mtError, mbOK, Grid);
        return false;
    }
    if (Row_Used && MessageDlg(Lang_Table[1100], mtConfirmation, TMsgDlgButtons(mbYes) | mbNo, Grid) != mrYes)
        return false;
    return true;
}

// Every data cell of row `From` moves to row `To`.
void Move_Row_ASG(TVerIvovavOzed* Grid, int To, int From)
{
    for (int c = 1; c <= Last_Data_Col(Grid); ++c)
        Move_Cell_ASG(Grid, c, To, From);
}

// Takes a data row out: the rows below move up one and the last row is emptied.
template <class TGrid>
void Remove_Row(TGrid* Grid, int Row, bool Set_Enable, void (*Move_Row)(TGrid*, int, int),
                void (*Empty_Row)(TGrid*, int, bool))
{
    if (!Is_Data_Row(Grid, Row))
        return;
    TUpdate_Lock lock(Grid);
    for (int r = Row; r <= Grid->RowCount() - 2; ++r)
        Move_Row(Grid, r, r + 1);
    Empty_Row(Grid, Grid->RowCount() - 1, Set_Enable);
}

// Opens an empty data row: it and the rows below move down one, the last row falling off.
template <class TGrid>
void Open_Row(TGrid* Grid, int Row, bool Set_Enable, void (*Move_Row)(TGrid*, int, int),
              void (*Empty_Row)(TGrid*, int, bool))
{
    if (!Is_Data_Row(Grid, Row))
        return;
    TUpdate_Lock lock(Grid);
    for (int r = Grid->RowCount() - 2; r >= Row; --r)
        Move_Row(Grid, r + 1, r);
    Empty_Row(Grid, Row, Set_Enable);
}

} // namespace

// ---- column grid ----------------------------------------------------------------------------

void Delete_Row_ACG(int Row, TZidIzavodUraz* Grid)
{
    Remove_Row(Grid, Row, false, Move_Row_ACG, Empty_Row_ACG);
}

void Insert_Row_ACG(int Row, TZidIzavodUraz* Grid, bool Set_Enable)
{
    Open_Row(Grid, Row, Set_Enable, Move_Row_ACG, Empty_Row_ACG);
}

void Copy_Row_ACG(TZidIzavodUraz* Grid, int Row)
{
    if (!Is_Data_Row(Grid, Row))
        return;
    Row_Clipboard.clear();
    for (int c = 1; c <= Last_Data_Col(Grid); ++c)
        Row_Clipboard.append(Grid->Cells(c, Row));
}

void Paste_Row_ACG(TZidIzavodUraz* Grid, int Row, bool Do_Copy)
{
    if (!Is_Data_Row(Grid, Row))
        return;
    // Check boxes always hold "Y" or "N", so only the other columns say whether the row is in use.
    bool used = false;
    for (int c = 1; c <= Last_Data_Col(Grid) && !used; ++c)
        used = !Is_Check_Column_ACG(Grid, c) && !Grid->Cells(c, Row).trimmed().isEmpty();
    if (!Paste_Allowed(Grid, Do_Copy, used))
        return;
    TUpdate_Lock lock(Grid);
    for (int c = 1; c <= Last_Data_Col(Grid); ++c)
        Grid->SetCells(c, Row, Row_Clipboard.at(c - 1));
}

// ---- string grid ----------------------------------------------------------------------------

void Delete_Row_ASG(int Row, TVerIvovavOzed* Grid, bool Set_Enable)
{
    Remove_Row(Grid, Row, Set_Enable, Move_Row_ASG, Empty_Row_ASG);
}

void Insert_Row_ASG(int Row, TVerIvovavOzed* Grid, bool Set_Enable)
{
    Open_Row(Grid, Row, Set_Enable, Move_Row_ASG, Empty_Row_ASG);
}

void Copy_Row_ASG(TVerIvovavOzed* Grid, int Row)
{
    if (!Is_Data_Row(Grid, Row))
        return;
    const int n = Last_Data_Col(Grid);
    Row_Clipboard.clear();
    Row_Clipboard_CheckBox.fill(false, n);
    for (int c = 1; c <= n; ++c) {
        bool state = false;
        if (Grid->GetCheckBoxState(c, Row, state)) {
            Row_Clipboard_CheckBox[c - 1] = true;
            Row_Clipboard.append(state ? QStringLiteral("Y") : QStringLiteral("N"));
        } else {
            Row_Clipboard.append(Grid->Cells(c, Row));
        }
    }
}

void Paste_Row_ASG(TVerIvovavOzed* Grid, int Row, bool Do_Copy)
{
    if (!Is_Data_Row(Grid, Row))
        return;
    // A cell of blanks counts as data here: only an empty text is an empty cell.
    bool used = false;
    for (int c = 1; c <= Last_Data_Col(Grid) && !used; ++c) {
        bool state = false;
        used = !Grid->GetCheckBoxState(c, Row, state) && !Grid->Cells(c, Row).isEmpty();
    }
    if (!Paste_Allowed(Grid, Do_Copy, used))
        return;
    TUpdate_Lock lock(Grid);
    for (int c = 1; c <= Last_Data_Col(Grid); ++c) {
        const QString& text = Row_Clipboard.at(c - 1);
        // The marks belong to the last string-grid copy; a mark the clipboard does not have
        // counts as a plain text.
        if (c - 1 < Row_Clipboard_CheckBox.size() && Row_Clipboard_CheckBox.at(c - 1))
            Grid->SetCheckBoxState(c, Row, text == QLatin1String("Y"));
        else
            Grid->SetCells(c, Row, text);
    }
}
