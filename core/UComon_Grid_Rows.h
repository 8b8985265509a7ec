#pragma once
// The row buttons of every rule-table dialog: delete, insert, copy and paste of one grid row,
// with the one-row clipboard Row_Clipboard shared by all dialogs (UComon.h).
//
// The grids never change their row count: deleting a row moves the rows below it up and empties
// the last one, inserting moves them down and drops what the last row held. Row 0 (headers) and
// column 0 (row numbers) are never touched; the data columns are 1 .. ColCount + NumHiddenColumns
// - 1, hidden ones included.
//
// Two families: _ACG for column grids, whose check boxes are the cell texts "Y"/"N", and _ASG for
// string grids, whose check boxes are cell objects with a state of their own.
//
// A row outside the data rows of the grid, or a null grid, leaves everything as it is.
class TVerIvovavOzed;
class TZidIzavodUraz;

void Delete_Row_ACG(int Row, TZidIzavodUraz* Grid);
// Set_Enable: the new row's column 1 (the Enable column) gets "Y".
void Insert_Row_ACG(int Row, TZidIzavodUraz* Grid, bool Set_Enable);
void Copy_Row_ACG(TZidIzavodUraz* Grid, int Row);
// Do_Copy: the dialog's copy flag of this grid; without it the paste is refused.
void Paste_Row_ACG(TZidIzavodUraz* Grid, int Row, bool Do_Copy);

// Set_Enable: the box of column 1 of the emptied row is checked.
void Delete_Row_ASG(int Row, TVerIvovavOzed* Grid, bool Set_Enable);
void Insert_Row_ASG(int Row, TVerIvovavOzed* Grid, bool Set_Enable);
void Copy_Row_ASG(TVerIvovavOzed* Grid, int Row);
void Paste_Row_ASG(TVerIvovavOzed* Grid, int Row, bool Do_Copy);
