#pragma once
// TVerIvovavOzed: the string grid of the program.
//
// TBaseGrid extended with hidden columns and rows, cell access by real indexes, per-cell decision
// hooks, row and column counts with their fixed areas, disjunct row and column selection, the
// row flags, navigation after Enter and the core structure edits. The methods of the class are
// defined over several files: AdvGrid.cpp (construction, lifecycle, properties),
// AdvGrid_Hidden.cpp (hidden columns and rows, index mapping, column order),
// AdvGrid_Cells.cpp (cell access), AdvGrid_Hooks.cpp (per-cell hooks, check boxes),
// AdvGrid_Selection.cpp (counts, selection, navigation), AdvGrid_Structure.cpp (row and column
// insert, remove and clear), AdvGrid_Content.cpp (removal and hiding by selection, check box or
// duplicate, trimming, colouring, merging and splitting runs of equal cells).
//
// Index conventions:
//   Cells(c, r)          real column (a hidden column keeps its index and its texts), displayed row
//   CellsEx(c, r) ...    real column, real row (hidden rows are readable and writable)
//   Col, Row, ColCount, RowCount, widths and heights: displayed positions
//   RealColIndex / DisplColIndex and RealRowIndex / DisplRowIndex convert.
#include "grid/AdvGrid_Settings.h"
#include "grid/BaseGrid.h"
#include "grid/GridLists.h"
#include "grid/GridSettings.h"
#include "grid/GridSettingsObjects.h"
#include "platform/StringList.h"
#include "render/PictureContainer.h"
#include "platform/Property.h"

// Types of the painting, looks, editing and input parts of the grid, declared beside their code.
#include "grid/AdvGrid_LooksTypes.h"
#include "grid/AdvGrid_PaintTypes.h"
#include "grid/AdvGrid_ValuesTypes.h"
#include "gridedit/AdvGrid_EditTypes.h"
#include "gridedit/AdvGrid_InputTypes.h"

#include <QByteArray>
#include <QEvent>
#include <QFlags>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QMenu;
namespace platform {
class TForm;
}

// ---- grid types ------------------------------------------------------------------------------

enum TCellBorder : unsigned { cbTop = 0x1, cbLeft = 0x2, cbRight = 0x4, cbBottom = 0x8 };
using TCellBorders = QFlags<TCellBorder>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TCellBorders)

enum TGridLook { glStandard, glSoft, glClassic, glOrlex, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
enum TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum TInvalidEntryIcon { ieNone, ieInformation, ieWarning, ieError };
enum THintShowLargeTextPos { hpMouse, hpCell };
enum THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum TFilterDropDownColumns { fdNormal, fdAll };
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
#ifndef KT_TBORDERSTYLE_DEFINED
#define KT_TBORDERSTYLE_DEFINED
enum TBorderStyle { bsNone, bsSingle };
#endif
enum TMouseSelectMode { msNormal, msAdvanced };

// The (Left, Top, Right, Bottom) inclusive rectangle passed by the cells-changed notification.
using TCellsRect = TRect;

class TVerIvovavOzed;
class DEriRevaDodo;

// What the rich-text transfers of the grid need of a rich editor: its content in its own 8-bit
// stream format (rich text), loaded, saved and emptied.
class IRichEditStream {
public:
    virtual ~IRichEditStream() = default;
    virtual void Clear() = 0;
    virtual void LoadFromStream(const QByteArray& Data) = 0;
    virtual QByteArray SaveToStream() = 0;
};

// Start-up and shut-down of the grid unit; both run once for the process (the first grid runs
// the start-up when nobody did before, the application's end the shut-down).
void GridUnitInitialize();
void GridUnitFinalize();
// The grid's own clipboard format, the registered messages and the comctl32 answer of the start-up.
QString GridCellsClipboardFormat();
QEvent::Type GridEditDoneMessage();
QEvent::Type DTPShiftFocusMessage();
bool GridComCtlAbove469();
bool GridUnitInitialized();
// Separators and formats of the program's format settings.
QChar GridTimeSeparator();
QChar GridDateSeparator();
QChar GridThousandSeparator();
QChar GridDecimalSeparator();
QString GridShortDateFormat();
QString GridShortTimeFormat();
QString GridLongTimeFormat();
// Lets pointer input pass through the window to what lies below it.
void SetWindowTransparentStyle(QWidget* Wnd);
// Major (upper 16 bits) and minor (lower 16 bits) version of a system library; -1 when the
// platform knows no version for it.
int GetFileVersionMS(const QString& FileName);

// The one selection listener a grid may have.
class ITVerIvovavOzedSelect {
public:
    virtual ~ITVerIvovavOzedSelect() = default;
    virtual void NotifySelect(int ACol, int ARow) = 0;
};

// ---- the string grid -------------------------------------------------------------------------

class TVerIvovavOzed : public TBaseGrid {
public:
    explicit TVerIvovavOzed(QWidget* AOwner = nullptr);
    ~TVerIvovavOzed() override;

    // ---- lifecycle
    // The pass every grid ends its set-up with (the designed defaults come out of it).
    virtual void Loaded();
    bool IsLoaded() const { return FLoaded; }
    KT_PROPERTY(bool, Loading)
    // Copies settings, sizes and cells of another string grid; anything else is ignored.
    virtual void Assign(const QObject* Source);
    virtual void AssignCells(const QObject* Source);
    void Invalidate() override;
    virtual void Resize();
    void UpdateScrollBarAlways(bool Force);
    // Suspends painting; nested. Only a visible grid counts.
    int UpdateCount() const { return FUpdateCount; }
    virtual QString GetVersionString();
    virtual int GetVersionNr();
    // The four bytes of a version number, most significant first, joined by ".".
    static QString VersionBytes(int Nr);
    // Places the control; with IntegralHeight the height is cut down to whole rows.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool Value);
    bool UseHTMLHints() const { return FUseHTMLHints; }
    void SetUseHTMLHints(bool Value);
    // The cursor; a write also makes it the grid's own (the one restored after hover cursors).
    Qt::CursorShape Cursor() const { return cursor().shape(); }
    void SetCursor(Qt::CursorShape Value);
    Qt::CursorShape GridCursor() const { return FGridCursor; }
    // Fills the hint of the cell under HintInfo.CursorPos.
    virtual void PrepareCellHint(QString& HintStr, THintInfo& HintInfo);
    // The last cell a hint was prepared for ((-1, -1) before the first) and its anchor hint.
    TPoint LastHintCell() const { return FLastHintPos; }
    QString LastAnchorHint() const { return FLastAnchorHint; }
    // The font name of the grid that prepared the last cell hint (the HTML hint window draws in it).
    static QString HintFontName();
    // Rich text kept in a cell, one character per byte of the editor's stream.
    void CellToRich(int Col, int Row, IRichEditStream& Richeditor);
    QString RichToString(IRichEditStream& Richeditor);
    void RichToCell(int Col, int Row, IRichEditStream& Richeditor);
    int TimerTicks() const { return FTimerTicks; }
    // The handler the grid puts on its owner form's resize; the form's own handler runs after it.
    void FormResize(QObject* Sender);
    // The nearest form among the control and its parents; null when none.
    static platform::TForm* FindParentForm(QWidget* AControl);

private:
    void TakeOverFormResize();
    void GiveBackFormResize();

public:

    // ---- counts and fixed areas
    int RowCount() const { return TStringGrid::RowCount(); }
    void SetRowCount(int Value);
    int ColCount() const { return TStringGrid::ColCount(); }
    void SetColCount(int Value);
    int FixedRows() const;
    void SetFixedRows(int Value);
    int FixedCols() const;
    void SetFixedCols(int Value);
    KT_PROPERTY_NOTIFY(int, FixedFooters, Invalidate)
    KT_PROPERTY_NOTIFY(int, FixedRightCols, Invalidate)
    int FixedRowHeight() const { return FFixedRowHeight; }
    void SetFixedRowHeight(int Value);
    int FixedColWidth() const { return ColWidths(0); }
    void SetFixedColWidth(int Value);
    int DefaultRowHeight() const { return TStringGrid::DefaultRowHeight(); }
    void SetDefaultRowHeight(int Value);
    KT_PROPERTY(bool, FixedRowAlways)
    KT_PROPERTY(bool, FixedColAlways)
    KT_PROPERTY_CHANGE(TAlignment, DefaultAlignment, Invalidate)
    bool WordWrap() const { return FWordWrapEx; }
    void SetWordWrap(bool Value);
    virtual void RefreshRowCount();
    int MaxRowCount() const { return FMaxRowCount; }
    int MaxColCount() const { return FMaxColCount; }
    int VisibleFixedRightCols() const;
    int NavigationFixedCols();

    // ---- hidden columns
    void HideColumn(int ColIndex) { HideColumns(ColIndex, ColIndex); }
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumn(int ColIndex) { UnHideColumns(ColIndex, ColIndex); }
    void UnHideColumns(int FromCol, int ToCol);
    void UnHideColumnsAll();
    bool IsHiddenColumn(int Colindex) const;
    int NumHiddenColumns() const { return FNumHidden; }
    int TotalColCount() const override;
    int RealColIndex(int ACol) const { return DisplToRealCol(ACol); }
    int DisplColIndex(int ACol) const override { return RealToDisplCol(ACol); }
    int RealCol() const { return RealColIndex(Col()); }
    bool IsIgnoredColumn(int ACol) const { return FIgnoreColumns.HasValue(ACol); }
    TIntList& IgnoreColumns() { return FIgnoreColumns; }
    int AllColCount() const { return ColCount() + NumHiddenColumns(); }
    int AllColWidths(int i) const;
    void SetAllColWidths(int i, int Value);

    // ---- hidden rows (real row indexes)
    void HideRow(int Rowindex) { HideRows(Rowindex, Rowindex); }
    void HideRows(int FromRow, int ToRow);
    void HideRowsEx(int FromRow, int ToRow);
    void HideRowList(const TIntList& RowList);
    void UnHideRow(int Rowindex);
    void UnHideRows(int FromRow, int ToRow);
    void UnHideRowsAll();
    void UnHideRowList();
    bool IsHiddenRow(int Rowindex) const;
    int NumHiddenRows() const { return int(FGridItems.size()); }
    int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    int AllRowCount() const { return TotalRowCount(); }
    int RealRowIndex(int ARow) const { return DisplToRealRow(ARow); }
    int DisplRowIndex(int ARow) const { return RealToDisplRow(ARow); }
    int RealRow() const { return RealRowIndex(Row()); }
    // The stored cells of a hidden real row; null when the row is shown.
    TGridStrings* GetHiddenRowItems(int Rowindex);
    const TGridStrings* GetHiddenRowItems(int Rowindex) const;
    KT_PROPERTY(int, FilterLevel)

    // ---- current row and column
    int Row() const { return TStringGrid::Row(); }
    void SetRow(int Value);
    int Col() const { return TStringGrid::Col(); }
    void SetCol(int Value);
    int TopRow() const { return TStringGrid::TopRow(); }
    void SetTopRow(int Value);
    void GotoCell(int ACol, int ARow);
    void FocusCell(int ACol, int ARow);
    void MoveToCell(int ACol, int ARow);
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    TGridRect Selection() const { return TStringGrid::Selection(); }
    void SetSelection(const TGridRect& Value);
    void ScrollInView(int ColIndex, int RowIndex);
    bool IsEditable(int ACol, int ARow);
    bool CellAllowsEditing(int ACol, int ARow);
    bool IsFixed(int ACol, int ARow) override;

    // ---- moving and column order
    void MoveColumn(int FromIndex, int ToIndex) override;
    void MoveRow(int FromIndex, int ToIndex) override;
    void MoveRows(int FromIndex, int ToIndex, int Count);
    void SetColumnOrder();
    int ColumnPosition(int ACol);
    int ColumnAtPosition(int ACol);
    void ResetColumnOrder();
    int ColumnByHeader(const QString& AValue);
    TIntList& ColumnOrder() { return FColumnOrder; }

    // ---- used cells and the save range
    virtual TGridRect GetUsedCells();
    TGridRect UsedCells() { return GetUsedCells(); }
    int SaveStartCol() const;
    int SaveStartRow() const;
    int SaveEndCol() const;
    int SaveEndRow() const;
    int SaveColCount() const;
    int SaveRowCount() const;
    void HideSelection();
    void UnHideSelection();
    bool SelectionHidden() const { return FSelHidden; }
    void UpdateEditMode();

    // ---- cell access by real column and real row
    QString GetCellsEx(int i, int j) const;
    void SetCellsEx(int i, int j, const QString& Value);
    QString CellsEx(int i, int j) const { return GetCellsEx(i, j); }
    QString GetGridCellsEx(int i, int j) const;
    void SetGridCellsEx(int i, int j, const QString& Value);
    QString GetWideCellsEx(int i, int j) const { return GetCellsEx(i, j); }
    void SetWideCellsEx(int i, int j, const QString& Value) { SetCellsEx(i, j, Value); }
    QString GetWideCells(int i, int j) const { return Cells(i, j); }
    void SetWideCells(int i, int j, const QString& Value) { SetCells(i, j, Value); }
    void* GetObjectsEx(int i, int j) const;
    void SetObjectsEx(int i, int j, void* aObject);
    TGridObject GetObjectOfRealRow(int i, int j) const;
    QString GetOriginalCells(int i, int j);
    void SetOriginalCells(int i, int j, const QString& Value);
    int SortedRowIndex(int ARow) const;
    int UnSortedRowIndex(int ARow) const;
    QString GetUnSortedCell(int i, int j) const;
    void SetUnSortedCell(int i, int j, const QString& Value);
    TIntList& SortRowXRef() { return FSortRowXRef; }

    // ---- per-cell property arrays (indexes as for Cells)
    TColor GetColors(int i, int j) const;
    void SetColors(int i, int j, TColor Value);
    TColor GetColorsTo(int i, int j) const;
    void SetColorsTo(int i, int j, TColor Value);
    TCellGradientDirection GetGradientDir(int i, int j) const;
    void SetGradientDir(int i, int j, TCellGradientDirection Value);
    bool GetReadOnly(int i, int j) const;
    void SetReadOnly(int i, int j, bool Value);
    bool GetWordWraps(int i, int j);
    void SetWordWraps(int i, int j, bool Value);
    TColor GetFontColors(int i, int j) const;
    void SetFontColors(int i, int j, TColor Value);
    TFontStyles GetFontStyles(int i, int j) const;
    void SetFontStyles(int i, int j, TFontStyles Value);
    QString GetFontNames(int i, int j) const;
    void SetFontNames(int i, int j, const QString& Value);
    int GetFontSizes(int i, int j) const;
    void SetFontSizes(int i, int j, int Value);
    TAlignment GetAlignments(int i, int j) const;
    void SetAlignments(int i, int j, TAlignment Value);
    QWidget* GetCellControls(int i, int j) const;
    void SetCellControls(int i, int j, QWidget* AControl);
    void SetCellFont(int i, int j, const TFont& Value);
    TFont& GetCellFont(int i, int j);
    void SetRowColor(int i, TColor AColor);
    void SetRowColorTo(int i, TColor AColor);
    void SetRowFontColor(int i, TColor AColor);
    int GetLinesInCell(int i, int j) const;
    QString GetStrippedCell(int i, int j) const;

    // ---- current cell
    virtual QString GetCurrentCell();
    virtual void SetCurrentCell(const QString& Value);
    QString CurrentCell() { return GetCurrentCell(); }
    virtual QString GetCurrentCellDisplText();
    virtual void SetCurrentEditText(const QString& Value);
    TEditorType GetCurrentEditor() const { return EditMode ? EditControl : edNormal; }

    // ---- per-cell decision hooks (each starts from the value it is given)
    void GetCellDefaultProps(int ACol, int ARow, TFont& AFont, TBrush& ABrush, TColor& AColorTo,
                             TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& AAlignment,
                             TVAlignment& AVAlignment, bool& AWordWrap,
                             TCellGradientDirection& AGradientDirection) override;
    virtual void DoGridHint(int ACol, int ARow, QString& WideHint, QString& Hint);
    virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont);
    virtual void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont);
    virtual void GetCellBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders);
    // True when the application draws cell borders of its own (OnGetCellBorder).
    bool HasCustomCellBorders() override { return bool(OnGetCellBorder); }
    virtual void GetCellPrintBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders);
    virtual void GetCellAlign(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void GetCellFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix);
    // The two editor-type slots: the first for always-visible spin buttons and value take-back,
    // the second when the grid decides with which editor a cell is edited.
    virtual void GetEditorType(int ACol, int ARow, TEditorType& AEditor);
    virtual void GetCellEditor(int ACol, int ARow, TEditorType& AEditor);
    virtual bool IsNoEditorCell(int ACol, int ARow);
    virtual void IsFixedCell(int ACol, int ARow, bool& IsFixed);
    virtual void IsReadOnlyCell(int ACol, int ARow, bool& CanEdit);
    virtual void DoCanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void IsPasswordCell(int ACol, int ARow, bool& IsPassword);
    virtual void GetCellWordWrap(int ACol, int ARow, bool& AWordWrap);
    virtual bool HasComboBox(int ACol, int ARow);
    virtual bool HasSpinEdit(int ACol, int ARow);
    virtual void GetCheckTrue(int ACol, int ARow, QString& Value);
    virtual void GetCheckFalse(int ACol, int ARow, QString& Value);
    virtual void GetCellCursor(int ACol, int ARow, int X, int Y);
    virtual void DoSearchFooterAction(const QString& Value, int ACol, int ARow, int SearchAction);
    virtual void DoButtonClick(int ACol, int ARow);
    virtual void DoExpandClick(int ACol, int ARow, bool Expanded);
    virtual void DoComboCloseUp(int ACol, int ARow);
    virtual void DoComboDropDown(int ACol, int ARow);
    virtual bool FillFilterDropDown(int ACol);
    virtual void DoFilterSelect(int ItemIndex);
    virtual void DoFilterDone();
    virtual QString GetFormattedCell(int ACol, int ARow);
    virtual QString GetDefaultFloatFormat(int ACol);
    virtual void DoUpdateColumnSize(int ACol, int& AWidth);
    virtual void DoUpdateColumnSizeEx(int ACol, int& AWidth);
    virtual void ColumnHeadersChanged() {}
    virtual void RecalcFooters() { CalcFooter(-1); }
    // Recalculates the floating footer's cell of column ACol (real column), of every column for -1.
    virtual void CalcFooter(int ACol);
    // The footer calculation itself: only for a shown fsFixedLastRow footer with calculations on.
    virtual void CalcColumnFooterValue(int ACol);
    // Repaints the floating footer (after scrolling, column width and count changes).
    void UpdateFooter();
    void LastRowChanged() override;
    // The floating footer's panel and the canvas it paints on (bound only while it paints).
    TFooterPanel* FooterPanel() const { return FFooterPanel.data(); }
    TCanvas& FooterCanvas() { return FFooterPanel->Canvas(); }
    // The panel's height or visibility changed: the viewport makes room for it below.
    void FooterPanelChanged();
    virtual void DoCellsChanged(const TRect& R);
    virtual bool CanChangeCell(int NewCol, int NewRow, bool& Allow);
    virtual void DoCanAddRow(bool& CanAdd);

    // ---- cell graphics and check boxes
    virtual TCellType GetCellType(int ACol, int ARow);
    virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
    TCellGraphic* CreateCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphic(int ACol, int ARow);
    bool HasCheckBox(int ACol, int ARow);
    bool IsControlCell(int ACol, int ARow);
    bool IsNode(int ARow);
    bool IsSummary(int ARow);
    static TCheckBoxState BoolToCheckBoxState(bool bChecked) { return bChecked ? cbChecked : cbUnchecked; }
    void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    void AddCheckBoxColumn(int ACol, bool State = false, bool Data = false);
    void AddTriStateCheckBoxColumn(int ACol, TCheckBoxState state);
    bool GetCheckBoxState(int ACol, int ARow, TCheckBoxState& state);
    bool GetCheckBoxState(int ACol, int ARow, bool& state);
    bool SetCheckBoxState(int ACol, int ARow, bool state);
    bool IsChecked(int ACol, int ARow);

    // ---- disjunct selection and row flags
    bool RowSelect(int ARow);
    void SetRowSelect(int ARow, bool Value);
    bool ColSelect(int ACol);
    void SetColSelect(int ACol, bool Value);
    void SelectRows(int RowIndex, int RCount);
    void UnSelectRows(int RowIndex, int RCount);
    void SelectCols(int ColIndex, int CCount);
    void UnSelectCols(int ColIndex, int CCount);
    void ClearRowSelect();
    void ClearColSelect();
    void SelectionToRowSelect(bool All);
    void SelectionToColSelect(bool All);
    int RowSelectCount() const;
    int ColSelectCount() const;
    const TIntList& SelectedRows() const { return FSelectedRows; }
    bool RowModified(int ARow) const;
    void SetRowModified(int ARow, bool Value);
    int ModifiedRowCount() const;
    bool RowEnabled(int ARow) const;
    void SetRowEnabled(int ARow, bool Value);
    bool UseEnabledRows() const { return FUseEnabledRows; }

    // ---- repaint operations
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    void RepaintRect(const TRect& r);

    // ---- listeners
    void RegisterSelListener(ITVerIvovavOzedSelect* AListener) { FISelect = AListener; }
    void UnRegisterSelListener(ITVerIvovavOzedSelect*) { FISelect = nullptr; }
    void RegisterNotifier(TGridChangeNotifier* ANotifier);
    void UnRegisterNotifier(TGridChangeNotifier* ANotifier);

    // ---- navigation and keys
    void AdvanceToNextCell(int ACol, int ARow, bool DoEdit, bool Repeated, bool Forward, bool AutoEdit,
                           bool Force);
    void KeyPress(QChar& Key) override;
    // Runs the cell-selection query for the current cell again (re-applies editing permission).
    void Select();

    // ---- structure edits
    virtual void RemoveRows(int RowIndex, int RCount);
    virtual void RemoveRowsEx(int RowIndex, int RCount);
    virtual void RemoveRowsHook(int RowIndex, int RCount);
    void RemoveRowsCore(int RowIndex, int RCount, bool UpdateControls = true);
    virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls = true);
    void InsertRowsCore(int RowIndex, int RCount, bool UpdateCellControls = true);
    // One empty row before each of the given displayed rows (ascending; a repeated index gets
    // as many rows, RowCount() or more puts them at the end), in one pass over the rows and their
    // per-row state: the same grid as InsertRows(Before[k] + k, 1) for each k in turn.
    void InsertRowsBefore(const std::vector<int>& Before, bool UpdateCellControls = true);
    void MoveRowsUp(int First, int Last, int RCount);
    void AddRow();
    virtual void InsertCols(int ColIndex, int CCount);
    void AddColumn() { InsertCols(ColCount(), 1); }
    virtual void RemoveCols(int ColIndex, int CCount);
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void ClearRows(int RowIndex, int RCount);
    void ClearNormalRows(int RowIndex, int RCount);
    void ClearCols(int ColIndex, int CCount);
    void ClearNormalCols(int ColIndex, int CCount);
    void ClearNormalCells();
    void Clear();
    void ClearAll();
    void InsertNormalRow(int ARow);
    void RemoveNormalRow(int ARow);

    // ---- content operations (rows and columns as the selection shows them unless said otherwise)
    // Removes the normal rows whose text in displayed column ACol repeats an earlier row's; DoCase
    // compares with case, else without. The first occurrence stays.
    void RemoveDuplicates(int ACol, bool DoCase);
    // Removes the normal rows whose check box in CheckBoxColumn is (or is not) checked.
    void RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked);
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void HideSelectedRows();
    void HideUnSelectedRows();
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    // Appends the texts of column ColIndex2 to those of ColIndex1 (trimmed, joined by Separator),
    // then removes ColIndex2 (real columns).
    void MergeCols(int ColIndex1, int ColIndex2, const QString& Separator);
    void ClearSelection();
    void ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor);
    // Writes every cell of the rectangle back without leading and trailing blanks and control
    // characters.
    virtual void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void TrimColumn(int ACol);
    void TrimRow(int ARow);
    void TrimAll();
    // Merges each run of equal cells among the normal rows of a column (or the normal columns of a
    // row); a secondary merge (MainMerge false) stays inside the row groups earlier merges made.
    void MergeColumnCells(int ColIndex, bool MainMerge);
    void MergeRowCells(int RowIndex, bool MainMerge);
    void SplitColumnCells(int ColIndex);
    void SplitRowCells(int RowIndex);
    void SplitAllCells();
    void SplitAllColumnCells();
    // MergeColumnCells for each column of MergedColumns, the first as the main merge. Changing the
    // list splits the column merges and merges again.
    void MergeListedColumns();
    // The cell text carries the marker of an encoded wide text at its start.
    bool IsWideCell(int ACol, int ARow);
    // The first cell (row by row, then column by column) whose raw text equals SubStr.
    bool IsCell(const QString& SubStr, int& ACol, int& ARow);

    // ---- column headers
    platform::TStringList& ColumnHeaders() { return FColumnHeaders; }
    void SetColumnHeaders(const platform::TStringList& Value);
    platform::TStringList& RowHeaders() { return FRowHeaders; }
    void ShowColumnHeaders();
    void ClearColumnHeaders();
    void ShowRowHeaders();

    // ---- editors
    TEditLink* EditLink() const { return FEditLink.data(); }
    void SetEditLink(TEditLink* Value) { FEditLink = Value; }
    QString GetEditMask(int ACol, int ARow) override;
    int GetEditLimit() override;
    KT_PROPERTY(QString, EditMask)

    // ---- looks
    TGridLook Look() const { return FLook; }
    void SetLook(TGridLook Value);
    static QString GetLookName(TGridLook Look);
    TColor OrlexGradientFrom() const { return FOrlexGradientFrom; }
    void SetOrlexGradientFrom(TColor Value);
    TColor OrlexGradientTo() const { return FOrlexGradientTo; }
    void SetOrlexGradientTo(TColor Value);
    TColor OrlexGradientMirrorFrom() const { return FOrlexGradientMirrorFrom; }
    void SetOrlexGradientMirrorFrom(TColor Value);
    TColor OrlexGradientMirrorTo() const { return FOrlexGradientMirrorTo; }
    void SetOrlexGradientMirrorTo(TColor Value);
    KT_PROPERTY_NOTIFY(TColor, BorderColor, update)
    virtual void ChangeScale(int M, int D);

    // ---- owned settings objects
    TSearchFooter& SearchFooter() { return *FSearchFooter; }
    TNavigation& Navigation() { return *FNavigation; }
    TMouseActions& MouseActions() { return *FMouseActions; }
    TSyncGrid& SyncGrid() { return *FSyncGrid; }
    TBands& Bands() { return *FBands; }
    TFocusHelper& FocusHelper() { return *FFocusHelper; }
    TCellNode& CellNode() { return *FCellNode; }
    TSizeWhileTyping& SizeWhileTyping() { return *FSizeWhileTyping; }
    TColumnSize& ColumnSize() { return *FColumnSize; }
    THTMLSettings& HTMLSettings() { return *FHTMLSettings; }
    TPrintSettings& PrintSettings() { return *FPrintSettings; }
    TFloatingFooter& FloatingFooter() { return *FFloatingFooter; }
    TBackGround& BackGround() { return *FBackGround; }
    TGridProgressAppearance& ProgressAppearance() { return *FProgressAppearance; }
    TControlLook& ControlLook() { return *FControlLook; }
    TFilter& Filter() { return *FFilter; }
    TSortSettings& SortSettings() { return *FSortSettings; }
    TGrouping& Grouping() { return *FGrouping; }
    TFilterDropDown& FilterDropDown() { return *FFilterDropDown; }
    TDragDropSettings& DragDropSettings() { return *FDragDropSettings; }
    TDragScrollOptions& DragScrollOptions() { return *FDragScrollOptions; }
    TBalloonSettings& Balloon() { return *FBalloon; }
    TShowModified& ShowModified() { return *FShowModified; }
    TFont& FixedFont() { return FFixedFont; }
    TFont& ActiveCellFont() { return FActiveCellFont; }
    platform::TStringList& LookupItems() { return FLookupItems; }
    platform::TStringList& FilterList() { return FFilterList; }
    TIntList& MergedColumns() { return FMergedColumns; }
    TBitmap& RowIndicator() { return FRowIndicator; }
    TCellGraphic* SharedCellGraphic() { return FCellGraphic.get(); }

    // ---- published values (defaults of a new grid)
#define KT_GRID_PROP(Type, Name, Init)                        \
public:                                                       \
    Type Name() const { return F##Name; }                     \
    void Set##Name(Type Value) { F##Name = Value; }           \
                                                              \
private:                                                      \
    Type F##Name = Init;

    KT_GRID_PROP(QString, FloatFormat, QStringLiteral("%.2f"))
    KT_GRID_PROP(QString, CheckTrue, QStringLiteral("Y"))
    KT_GRID_PROP(QString, CheckFalse, QStringLiteral("N"))
    KT_GRID_PROP(QString, FilterDropDownClear, QStringLiteral("(All)"))
    KT_GRID_PROP(QString, XMLEncoding, QStringLiteral("ISO-8859-1"))
    KT_GRID_PROP(TColor, DisabledFontColor, 0xC0C0C0)
    KT_GRID_PROP(TColor, HintColor, clInfoBk)
    KT_GRID_PROP(TInvalidEntryIcon, InvalidEntryIcon, ieWarning)
    KT_GRID_PROP(THintShowLargeTextPos, HintShowLargeTextPos, hpCell)
    KT_GRID_PROP(THoverFixedCells, HoverFixedCells, hfNone)
    KT_GRID_PROP(TFilterDropDownColumns, FilterDropDownColumns, fdNormal)
    KT_GRID_PROP(TEditorType, DefaultEditor, edNormal)
    KT_GRID_PROP(TIntelliPan, IntelliPan, ipVertical)
    KT_GRID_PROP(TBorderStyle, BorderStyle, bsSingle)
    KT_GRID_PROP(TMouseSelectMode, MouseSelectMode, msNormal)
    KT_GRID_PROP(bool, AutoFilterUpdate, true)
    KT_GRID_PROP(bool, EnableHTML, true)
    KT_GRID_PROP(bool, EnableWheel, true)
    KT_GRID_PROP(bool, EnhRowColMove, true)
    KT_GRID_PROP(bool, FilterNormalCellsOnly, true)
    KT_GRID_PROP(bool, IntelliZoom, true)
    KT_GRID_PROP(bool, UseInternalHintClass, true)
    KT_GRID_PROP(bool, AnchorHint, false)
    KT_GRID_PROP(bool, AutoNumAlign, false)
    KT_GRID_PROP(bool, EditWithTags, false)
    KT_GRID_PROP(bool, EnableBlink, false)
    KT_GRID_PROP(bool, EnhTextSize, false)
    KT_GRID_PROP(bool, ExcelStyleDecimalSeparator, false)
    KT_GRID_PROP(bool, FilterDropDownCheck, false)
    KT_GRID_PROP(bool, FilterIncremental, false)
    KT_GRID_PROP(bool, FixedAsButtons, false)
    KT_GRID_PROP(bool, HideFocusRect, false)
    KT_GRID_PROP(bool, HintShowCells, false)
    KT_GRID_PROP(bool, HintShowLargeText, false)
    KT_GRID_PROP(bool, HintShowSizing, false)
    KT_GRID_PROP(bool, HTMLHint, false)
    KT_GRID_PROP(bool, Lookup, false)
    KT_GRID_PROP(bool, LookupCaseSensitive, false)
    KT_GRID_PROP(bool, LookupHistory, false)
    KT_GRID_PROP(bool, Multilinecells, false)
    KT_GRID_PROP(bool, OemConvert, false)
    KT_GRID_PROP(bool, ScrollSynch, false)
    KT_GRID_PROP(bool, SelectionRTFKeep, false)
    KT_GRID_PROP(bool, SizeWithForm, false)
    KT_GRID_PROP(bool, URLUnderlineOnHover, false)

public:
    // How links are shown; a change repaints the cells that show it.
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor Value);
    KT_PROPERTY_CHANGE(bool, URLShow, InvalidateGrid)
    KT_PROPERTY_CHANGE(bool, URLShowInText, InvalidateGrid)
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool Value);

private:
    TColor FURLColor = 0xFF0000;
    bool FURLShow = false;
    bool FURLShowInText = false;
    bool FURLFull = false;

    KT_GRID_PROP(bool, URLEdit, false)
    KT_GRID_PROP(bool, ClearTextOnly, false)
    KT_GRID_PROP(bool, SaveFixedCells, true)
    KT_GRID_PROP(bool, SaveFixedRows, false)
    KT_GRID_PROP(bool, SaveFixedCols, false)
    KT_GRID_PROP(bool, SaveHiddenCells, false)
    KT_GRID_PROP(bool, SaveVirtCells, true)
    KT_GRID_PROP(bool, SaveWithHTML, true)
    KT_GRID_PROP(bool, QuoteEmptyCells, true)
    KT_GRID_PROP(bool, ShowNullDates, true)
    KT_GRID_PROP(bool, LoadFirstRow, true)
    KT_GRID_PROP(bool, FitCellsInGrid, true)
    KT_GRID_PROP(int, MaxComboLength, 0)
    KT_GRID_PROP(QString, InvalidEntryTitle, QString())
    KT_GRID_PROP(QString, InvalidEntryText, QString())
    KT_GRID_PROP(QString, ValidChars, QString())
#undef KT_GRID_PROP

public:
    // ---- events (called only when set)
    using TNotify = std::function<void(QObject* Sender)>;
    std::function<void(QObject* Sender, int OldRow, int OldCol, int& NewRow, int& NewCol, bool& Allow)> OnAutoAdvance;
    std::function<void(QObject* Sender, TCanvas& Canvas, int ACol, int ARow, TGridDrawState AState, TRect ARect, bool Printing)> OnCustomCellBkgDraw;
    std::function<void(QObject* Sender, TCanvas& Canvas, int ACol, int ARow, TGridDrawState AState, TRect ARect, bool Printing)> OnCustomCellDraw;
    std::function<void(QObject* Sender, TCanvas& Canvas, int ACol, int ARow, TPoint& ASize, bool Printing)> OnCustomCellSize;
    std::function<void(QObject* Sender, int ARow, bool& Display)> OnCustomFilter;
    std::function<void(QObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush& ABrush, TFont& AFont)> OnGetCellColor;
    std::function<void(QObject* Sender, int ACol, int ARow, int X, int Y, int& ACursor)> OnGetCellCursor;
    std::function<void(QObject* Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo, TColor& ColorMirror, TColor& ColorMirrorTo, TCellGradientDirection& GD)> OnGetCellGradient;
    std::function<void(QObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush& ABrush, TFont& AFont)> OnGetCellPrintColor;
    std::function<void(QObject* Sender, int ARow, int ACol, TPen& APen, TCellBorders& Borders)> OnGetCellPrintBorder;
    std::function<void(QObject* Sender, int ARow, int ACol, TPen& APen, TCellBorders& Borders)> OnGetCellBorder;
    std::function<void(QObject* Sender, int ARow, int ACol, TPen& LeftPen, TPen& TopPen, TPen& RightPen, TPen& BottomPen)> OnGetCellBorderProp;
    std::function<void(QObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign)> OnGetAlignment;
    std::function<void(QObject* Sender, int ACol, int ARow, bool& WordWrap)> OnGetWordWrap;
    std::function<void(QObject* Sender, int Column, platform::TStringList& Filter)> OnGetColumnFilter;
    TNotify OnFilterDone;
    std::function<void(QObject* Sender, int Column, int ItemIndex, const QString& FriendlyName, QString& FilterCondition)> OnFilterSelect;
    std::function<void(QObject* Sender, int Column, int ItemIndex, const QString& FriendlyName, QString& FilterCondition, QObject* CheckList)> OnFilterCheck;
    std::function<void(QObject* Sender, int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix)> OnGetFormat;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetCheckTrue;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetCheckFalse;
    std::function<void(QObject* Sender, int ARow, int ACol, QString& HintStr)> OnGridHint;
    std::function<void(QObject* Sender, int ARow, int ACol, QString& HintStr)> OnGridWideHint;
    std::function<void(QObject* Sender, int ACol, int FromRow, int ToRow, double& Res)> OnColumnCalc;
    std::function<void(QObject* Sender, int ACol, int FromRow, int ToRow, double& Res)> OnGroupCalc;
    std::function<void(QObject* Sender, int OldRow, int NewRow)> OnRowUpdate;
    std::function<void(QObject* Sender, int OldRow, int NewRow)> OnRowChanged;
    std::function<void(QObject* Sender, int OldRow, int NewRow, bool& Allow)> OnRowChanging;
    std::function<void(QObject* Sender, int OldCol, int NewCol, bool& Allow)> OnColChanging;
    std::function<void(QObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)> OnCellChanging;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& ATitle, QString& AText, int& AIcon)> OnCellBalloon;
    std::function<void(QObject* Sender, const QString& Value, double& ADate)> OnCustomStrToDate;
    std::function<void(QObject* Sender, TCanvas& Canvas, int PageNr, int PageWidth, int PageHeight)> OnPrintPage;
    std::function<void(QObject* Sender, int PageNum, int PageColNum, QString& PageNumString)> OnPrintGetPageNum;
    std::function<void(QObject* Sender, TCanvas& Canvas, int LastRow, int LastRowOffset, int LastPage, int PageXSize,
                       int PageYSize)>
        OnPrintPageDone;
    std::function<void(QObject* Sender, int NrOfPages, int& FromPage, int& ToPage)> OnPrintStart;
    std::function<void(QObject* Sender, int PageNr, bool& Cancel)> OnPrintCancel;
    std::function<void(QObject* Sender, double& Scale, bool& Allow)> OnFitToPage;
    std::function<void(QObject* Sender, int ARow, bool& NewPage)> OnPrintNewPage;
    std::function<void(QObject* Sender, int ACol, int& Width)> OnPrintSetColumnWidth;
    std::function<void(QObject* Sender, int ARow, int& Height)> OnPrintSetRowHeight;
    std::function<void(QObject* Sender, bool& CanAdd)> OnCanAddRow;
    std::function<void(QObject* Sender, int ARow)> OnAutoAddRow;
    std::function<void(QObject* Sender, int ARow, bool& CanInsert)> OnCanInsertRow;
    std::function<void(QObject* Sender, int ARow)> OnAutoInsertRow;
    std::function<void(QObject* Sender, int ACol)> OnAutoInsertCol;
    std::function<void(QObject* Sender, int ARow, bool& CanDelete)> OnCanDeleteRow;
    std::function<void(QObject* Sender, int ARow)> OnAutoDeleteRow;
    std::function<void(QObject* Sender, int ACol)> OnClickSort;
    std::function<void(QObject* Sender, int ACol, bool& DoSort)> OnCanSort;
    std::function<void(QObject* Sender, int ARow, int ARowReal)> OnExpandNode;
    std::function<void(QObject* Sender, int ARow, int ARowReal)> OnContractNode;
    std::function<void(QObject* Sender, int ACol, int ARow, int ButtonIndex)> OnDropDownHeaderButtonClick;
    std::function<void(QObject* Sender, int ACol, int ARow, int ButtonIndex)> OnDropDownFooterButtonClick;
    std::function<void(QObject* Sender, int ARow, int ARowReal, bool& Allow)> OnBeforeExpandNode;
    std::function<void(QObject* Sender, int ARow, int ARowReal, bool& Allow)> OnBeforeContractNode;
    std::function<void(QObject* Sender, const QString& str1, const QString& str2, int& Res)> OnCustomCompare;
    std::function<void(QObject* Sender, int Col, int Row1, int Row2, int& Res)> OnRawCompare;
    std::function<void(QObject* Sender, const QString& Value, bool& DefaultSearch)> OnSearchEditChange;
    std::function<void(QObject* Sender, const QString& Value, int ACol, int ARow, int SearchAction)> OnSearchFooterAction;
    TNotify OnSearchFooterClose;
    std::function<void(QObject* Sender, int ACol, bool& CanShow)> OnCanShowFixedDropDown;
    std::function<void(QObject* Sender, int ACol, int ARow, QMenu*& AMenu, bool& KeepFixedCellHighlighted)> OnFixedDropDownClick;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnClickCell;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnRightClickCell;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnDblClickCell;
    std::function<void(QObject* Sender, int ARow, int ACol, bool& Allow)> OnCanClickCell;
    std::function<void(QObject* Sender, int ARow, int ACol, bool& CanEdit)> OnCanEditCell;
    std::function<void(QObject* Sender, int ACol, int ARow, TGridFixedCellEditor& AEditor, platform::TStringList& Values)> OnFixedEdit;
    std::function<void(QObject* Sender, int ARow, int ACol, bool& IsFixed)> OnIsFixedCell;
    std::function<void(QObject* Sender, int ARow, int ACol, bool& IsPassword)> OnIsPasswordCell;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& Anchor, bool& AutoHandle)> OnAnchorClick;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& Anchor)> OnAnchorEnter;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& Anchor)> OnAnchorExit;
    std::function<void(QObject* Sender, int ARow, int ACol, QString& Anchor)> OnAnchorHint;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& CtrlID, const QString& CtrlType, const QString& CtrlVal)> OnControlClick;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& CtrlID, const QString& CtrlType, const QString& CtrlVal)> OnControlEditDone;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& CtrlID, const QString& CtrlType, const QString& CtrlVal, platform::TStringList& Values, bool& Edit, int& DropCount)> OnControlComboList;
    std::function<void(QObject* Sender, int ARow, int ACol, int ItemIndex, const QString& CtrlID, const QString& CtrlValue)> OnControlComboSelect;
    std::function<void(QObject* Sender, const QString& Value, bool& Allow)> OnClipboardPaste;
    std::function<void(QObject* Sender, const QString& Value, bool& Allow)> OnClipboardCopy;
    std::function<void(QObject* Sender, const QString& Value, bool& Allow)> OnClipboardCut;
    std::function<void(QObject* Sender, int ACol, int ARow, const QString& Value)> OnClipboardAfterPasteCell;
    std::function<void(QObject* Sender, int ACol, int ARow, const QString& Value)> OnClipboardAfterPasteWideCell;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value, bool& Allow)> OnClipboardBeforePasteCell;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value, bool& Allow)> OnClipboardBeforePasteWideCell;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value, bool& Valid)> OnCellValidate;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value, bool& Valid)> OnCellValidateWide;
    std::function<void(QObject* Sender, TRect R)> OnCellsChanged;
    std::function<void(QObject* Sender, int Progress)> OnFileProgress;
    std::function<void(QObject* Sender, int Progress)> OnFilterProgress;
    std::function<void(QObject* Sender, int ACol, int ARow, bool& HasComboBox)> OnHasComboBox;
    std::function<void(QObject* Sender, int ACol, int ARow, bool& HasSpinEdit)> OnHasSpinEdit;
    std::function<void(QObject* Sender, int ACol, int ARow, TEditorType& AEditor)> OnGetEditorType;
    std::function<void(QObject* Sender, int ACol, int ARow, TEditLink* AEditLink)> OnGetEditorProp;
    std::function<void(QObject* Sender, int ACol, int ARow, bool& IsFloat, QString& FloatFormat)> OnGetFloatFormat;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& S)> OnEllipsClick;
    std::function<void(QObject* Sender, int ACol, int ARow)> OnButtonClick;
    std::function<void(QObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxChange;
    std::function<void(QObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxClick;
    std::function<void(QObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxMouseUp;
    std::function<void(QObject* Sender, int ACol, int ARow, TColor& Color, QString& Value)> OnColorSelected;
    std::function<void(QObject* Sender, int ACol, int ARow, TColor Color, const QString& Value)> OnColorSelect;
    std::function<void(QObject* Sender, int ACol, int ARow, bool Expanded)> OnExpandClick;
    std::function<void(QObject* Sender, int ACol, int ARow, int& Index)> OnImageSelected;
    std::function<void(QObject* Sender, int ACol, int ARow, int Index)> OnImageSelect;
    std::function<void(QObject* Sender, int ACol, int ARow, int AIdx)> OnRadioClick;
    std::function<void(QObject* Sender, int ACol, int ARow, int AIdx)> OnRadioMouseUp;
    std::function<void(QObject* Sender, int ACol, int ARow)> OnRadioButtonClick;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnDatePickerCloseUp;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnDatePickerDropDown;
    std::function<void(QObject* Sender, int ACol, int ARow, int AItemIndex, const QString& ASelection)> OnComboChange;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnComboCloseUp;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnComboDropDown;
    std::function<void(QObject* Sender, int ACol, int ARow, int AItemIndex, const QString& ASelection, void* AObject)> OnComboObjectChange;
    std::function<void(QObject* Sender, int ACol, int ARow, int AValue, bool UpDown)> OnSpinClick;
    std::function<void(QObject* Sender, int ACol, int ARow, double AValue, bool UpDown)> OnFloatSpinClick;
    std::function<void(QObject* Sender, int ACol, int ARow, double AValue, bool UpDown)> OnTimeSpinClick;
    std::function<void(QObject* Sender, int ACol, int ARow, double AValue, bool UpDown)> OnDateSpinClick;
    TNotify OnRichEditSelectionChange;
    std::function<void(QObject* Sender, int TopRow, int LeftCol, int& DragScrollDir, bool& CanScroll)> OnDragScroll;
    TNotify OnEditingDone;
    std::function<void(QObject* Sender, int ACol, int ARow)> OnEditCellDone;
    std::function<void(QObject* Sender, int ACol, int ARow, const QString& Value)> OnEditChange;
    std::function<void(QObject* Sender, int ACol, int ARow, double ADateTime)> OnDateTimeChange;
    std::function<void(QObject* Sender, int AColumn, TCanvas& Canvas, const TRect& ARect)> OnFooterPaint;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnFooterCalc;
    TNotify OnResize;
    std::function<void(QObject* Sender, int ARow, bool State, bool& Allow)> OnRowDisjunctSelect;
    std::function<void(QObject* Sender, int ARow)> OnRowDisjunctSelected;
    std::function<void(QObject* Sender, int ALeft, int ATop, int ARight, int ABottom)> OnSelectionChanged;
    std::function<void(QObject* Sender, int ACol, int ARow, const QString& NewUnit)> OnUnitChanged;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& Data, bool& Allow)> OnOleDrop;
    std::function<void(QObject* Sender, TGridRect ARect)> OnOleDropped;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& Data, bool& Allow)> OnOleDrag;
    std::function<void(QObject* Sender, int ARow, int ACol, bool& Allow)> OnOleDragOver;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnOleDragStart;
    std::function<void(QObject* Sender, int OLEEffect)> OnOleDragStop;
    std::function<void(QObject* Sender, int ARow, int ACol, int DropCol)> OnOleDropCol;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& FileName, bool& Allow)> OnOleDropFile;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& URL, bool& Allow)> OnOleDropURL;
    std::function<void(QObject* Sender, int ACol, int ARow, double& NewRate, bool& Allow)> OnRatingChange;
    std::function<void(QObject* Sender, int ARow, QString& HintStr)> OnScrollHint;
    std::function<void(QObject* Sender, int ACol, bool& Allow)> OnColumnSize;
    std::function<void(QObject* Sender, int ACol, int ColWidth)> OnColumnSizing;
    std::function<void(QObject* Sender, int ACol, bool& Allow)> OnColumnMove;
    std::function<void(QObject* Sender, int FromIndex, int ToIndex, bool& Allow)> OnColumnMoving;
    std::function<void(QObject* Sender, int ARow, bool& Allow)> OnRowSize;
    std::function<void(QObject* Sender, int ARow, int RowHeight)> OnRowSizing;
    std::function<void(QObject* Sender, int ARow, bool& Allow)> OnRowMove;
    std::function<void(QObject* Sender, int FromIndex, int ToIndex, bool& Allow)> OnRowMoving;
    std::function<void(QObject* Sender, int ACol)> OnEndColumnSize;
    std::function<void(QObject* Sender, int ACol, int& AWidth)> OnUpdateColumnSize;
    std::function<void(QObject* Sender, int ARow)> OnEndRowSize;
    std::function<void(QObject* Sender, int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax)> OnScrollCell;
    std::function<void(QObject* Sender, TGridRect& DropSelection, TGridRect CurrentSelection)> OnSelectionResize;
    std::function<void(QObject* Sender, TGridRect OrigSelection, TGridRect NewSelection)> OnSelectionResized;
    TNotify OnCreatedFloatingFooter;
    TNotify OnCreatedSearchFooter;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnSaveCell;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnLoadCell;

protected:
    // ---- index mapping
    int RealToDisplCol(int c) const;
    int DisplToRealCol(int d) const;
    int RealToDisplRow(int r) const;
    int DisplToRealRow(int d) const;
    bool VisibleCol(int c) const { return c < 0 || c >= int(FVisibleCol.size()) || FVisibleCol[size_t(c)]; }

    // ---- platform overrides
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void resizeEvent(QResizeEvent* event) override;
    // Nothing is painted while the update lock is held.
    void paintEvent(QPaintEvent* event) override;
    void PrepareHint(QString& HintStr, bool& CanShow, THintInfo& HintInfo) override;
    void WMTimer(int ID) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;

    // Widens ColCount over the hidden columns so that whole rows, hidden columns included, are
    // copied by the row operations of the platform grid; Narrow undoes it.
    void WidenCols() { if (FNumHidden > 0) TStringGrid::SetColCount(ColCount() + FNumHidden); }
    void NarrowCols() { if (FNumHidden > 0) TStringGrid::SetColCount(ColCount() - FNumHidden); }
    TGridStrings WholeRow(int ARow) const;
    void SetWholeRow(int ARow, const TGridStrings& Value);
    void CellControlsUpdate(bool rebuildlist);
    bool MinimalCellRows() const;

    bool FEditDisable = false;
    bool FEditChange = false;
    bool FForceSel = false;
    bool FDisableChange = false;
    bool FNilObjects = false;
    bool FBlockCellChange = false;
    bool FEntered = false;
    int FFilterCol = -1;
    int FGroupColumn = -1;
    int FComboIdx = -1;
    int FOldRowSel = -1;
    int FUpdateCount = 0;
    int FPaintCount = 0; // 1 once a grid outside the tab order has painted
    bool FLoaded = false;
    bool FLoading = false;
    bool FIntegralHeight = false;
    bool FUseHTMLHints = false;
    Qt::CursorShape FGridCursor = Qt::ArrowCursor;
    TPoint FLastHintPos{-1, -1};
    QString FLastAnchorHint;
    int FTimerTicks = 0;
    // The form whose resize handler the grid took over, held as a plain object: when the form is
    // deleted its own part is gone before its children, this grid among them, are.
    QPointer<QObject> FOwnerForm;
    // Lives as long as the grid's own part does; the handler left on the form looks at it.
    std::shared_ptr<char> FFormResizeLink;
    std::function<void()> FOldFormResize;
    bool FHasOldFormResize = false;
    int FLastFormWidth = 0;
    int FLastFormHeight = 0;
    QString FCellCache;

private:
    friend class TControlLook;
    void ColumnHeadersChangedHandler();
    void RemoveHiddenItem(size_t index);
    void ShiftHiddenItems(int fromReal, int delta);
    void MoveFlagEntry(std::vector<int>& list, int from, int to);
    void EnsureRowSelect(int count);
    void EnsureColSelect(int count);
    // Whether a displayed row is selected: its flag (by real row with persistent row selection)
    // with the disjunct row selection, else the selection rectangle's rows.
    bool DisplRowSelected(int ADisplRow);
    // Removes the listed displayed columns (their real columns; hidden columns stay).
    void RemoveDisplayedCols(std::vector<int> DisplCols);
    // Clears a rectangle of displayed columns through their real columns.
    void ClearDisplayedRect(int ACol1, int ARow1, int ACol2, int ARow2);
    // The list of selected rows after flags at Index .. Index + Count - 1 went: their entries go,
    // later ones move up.
    void DropSelectedRowEntries(int Index, int Count);

    // hidden columns and rows
    std::vector<bool> FVisibleCol;
    std::vector<int> FAllColWidths;
    int FNumHidden = 0;
    TGridItemList FGridItems;
    bool FUnhiding = false; // rows inserted again by unhiding keep every real index
    // While hiding: the real rows being taken out of view (every real index stays as it is).
    std::vector<int> FHidingRows;
    int FFilterLevel = 0;

    // counts
    int FFixedFooters = 0;
    int FFixedRightCols = 0;
    int FFixedRowHeight = 22;
    int FFixedRowsMin = 1;
    int FFixedColsMin = 1;
    bool FFixedRowAlways = false;
    bool FFixedColAlways = false;
    int FMaxRowCount = 0;
    int FMaxColCount = 0;
    TAlignment FDefaultAlignment = taLeftJustify;
    bool FWordWrapEx = true;

    // selection and flags
    std::vector<bool> FRowSelect;
    std::vector<bool> FColSelect;
    TIntList FSelectedRows;
    TIntList FModifiedRows;
    TIntList FEnabledRows;
    bool FUseEnabledRows = false;
    bool FSelHidden = false;
    TGridRect FOldSelection;
    bool FSelChange = false;
    int FAECol = -1;
    int FAERow = -1;
    QString SearchInc;
    int SearchTics = 0;
    std::vector<TGridChangeNotifier*> FNotifierList;
    ITVerIvovavOzedSelect* FISelect = nullptr;

    // lists
    TIntList FColumnOrder;
    TIntList FIgnoreColumns;
    TIntList FOrigColSizes;
    TSortIndexList FSortIndexes;
    TIntList FSortRowXRef;
    TIntList FUnSortRowXRef;
    TIntList FMergedColumns;
    TIntList FSelectedCells;
    TControlList FControlList;
    int FNumCellControls = 0;
    platform::TStringList FColumnHeaders;
    platform::TStringList FRowHeaders;
    platform::TStringList FLookupItems;
    platform::TStringList FSortList;
    platform::TStringList FFilterList;

    // looks
    TGridLook FLook = glXP;
    TColor FOrlexGradientFrom = 0xFFFFFF;
    TColor FOrlexGradientTo = clBtnFace;
    TColor FOrlexGradientMirrorFrom = clNone;
    TColor FOrlexGradientMirrorTo = clNone;
    TColor FBorderColor = 0xB99D7F;
    TFont FFixedFont;
    TFont FActiveCellFont;
    TFont FWorkFont;
    TBitmap FRowIndicator;
    QString FEditMask;
    QPointer<TEditLink> FEditLink;

    // owned settings objects
    std::unique_ptr<TFocusHelper> FFocusHelper;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TFloatingFooter> FFloatingFooter;
    // The floating footer's panel (a child of the grid, deleted with it) and what it sets while
    // it paints grid cells.
    friend class TFooterPanel;
    QPointer<TFooterPanel> FFooterPanel;
    bool FNoRTLOrientation = false;
    std::unique_ptr<TPrintSettings> FPrintSettings;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    std::unique_ptr<TSortSettings> FSortSettings;
    std::unique_ptr<TDragDropSettings> FDragDropSettings;
    std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
    std::unique_ptr<TControlLook> FControlLook;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TColumnSize> FColumnSize;
    std::unique_ptr<TCellNode> FCellNode;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TBackGround> FBackGround;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    std::unique_ptr<TSyncGrid> FSyncGrid;
    std::unique_ptr<TFilter> FFilter;
    std::unique_ptr<TFilterDropDown> FFilterDropDown;
    std::unique_ptr<TBalloonSettings> FBalloon;
    std::unique_ptr<TShowModified> FShowModified;
    std::shared_ptr<TCellGraphic> FCellGraphic;

    // Members of the painting, looks, editing and input parts, declared beside their code. Each
    // fragment starts with its own access specifier.
#include "grid/AdvGrid_Paint.inc"
#include "grid/AdvGrid_Looks.inc"
#include "grid/AdvGrid_Values.inc"
#include "gridedit/AdvGrid_Edit.inc"
#include "gridedit/AdvGrid_EditDropDown.inc"
#include "gridedit/AdvGrid_EditRich.inc"
#include "gridedit/AdvGrid_Input.inc"
#include "gridedit/AdvGrid_Nodes.inc"
#include "gridedit/AdvGrid_Interact.inc"
#include "griddata/AdvGrid_Files.inc"
#include "griddata/AdvGrid_Data.inc"
#include "griddata/AdvGrid_Print.inc"
#include "griddata/AdvGrid_Exchange.inc"
};
