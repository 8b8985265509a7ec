#pragma once
// TBaseGrid: the cell store under every grid of the program.
//
// Each cell is a text and one object slot of the string grid below. TBaseGrid reserves the slot
// for a TCellProperties object, made the first time anything asks for the cell's properties, and
// builds merged cells, per-cell colours, fonts and alignments, a user object and a graphic object
// per cell on it. Texts read through Cells pass two display hooks. The class also paints every
// cell itself (the string grid's own lines and default drawing stay off) and keeps the grid-line
// colours, the active-row and the hover-row highlight.
//
// Indexes: TBaseGrid knows nothing of hidden columns; Cells takes the column the texts are stored
// at (TotalColCount wide) and the row of the string grid. Negative indexes never reach the store:
// reads give an empty text or no object, writes raise ZUzeRodoRediv.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/StringGrid.h"
#include "platform/SysUtils.h"
#include "platform/Property.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#ifndef KT_TALIGNMENT_DEFINED
#define KT_TALIGNMENT_DEFINED
// Horizontal alignment of a text.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
#endif

// ---- shared grid types -----------------------------------------------------------------------

enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TCellGradientDirection { GradientVertical, GradientHorizontal };
enum TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };

enum THoverRowCell : unsigned { hcNormal = 0x1, hcFixed = 0x2, hcSelected = 0x4 };
using THoverRowCells = QFlags<THoverRowCell>;
Q_DECLARE_OPERATORS_FOR_FLAGS(THoverRowCells)

enum TColumnCalcType { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV };

enum TEditorType {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit, edDateEditUpDown,
    edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat, edCapital, edMixedCase,
    edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit,
    edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone, edDateTimeEdit, edValidChars,
    edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown, edTimePickerDropDown, edDetailDropDown,
    edGridDropDown, edColorPickerDropDown, edImagePickerDropDown, edAdvGridDropDown, edPositiveFloat,
    edNumericUnitEditBtn, edFloatUnitEditBtn, edMaskEditBtn
};

// The error the grid raises when it is misused ("Invalid row accessed", "Invalid column accessed",
// "Cell does not contain integer value", ...).
class ZUzeRodoRediv : public platform::Exception {
public:
    using platform::Exception::Exception;
};

class TBaseGrid;
class RUvaVoviVareReda; // the undo list a grid may be linked to

// ---- per-cell properties ---------------------------------------------------------------------

// The values TCellProperties::Assign copies, kept together so that one assignment copies them all.
struct TCellPropertiesValues {
    int FOwnerCol = 0;
    int FOwnerRow = 0;
    void* FObject = nullptr;
    TBrushStyle FBrushStyle = bsSolid;
    TColor FBrushColor = clNone;
    int FFontSize = 0;
    TColor FFontColor = clNone;
    TFontStyles FFontStyle;
    int FCellSpanY = -1;
    int FCellSpanX = -1;
    int FBorderWidth = 0;
    TColor FBorderColor = 0;
    TAlignment FAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    bool FWordWrap = true;
    bool FIsBaseCell = true;
    int FNodeLevel = 0;
    TEditorType FEditor = edNormal;
    QString FFontName;
    bool FReadOnly = false;
    QPointer<QWidget> FControl;
};

// The properties of one cell. Kept (reference counted) in the cell's object slot.
//
// Merge encoding: in a range of spanx x spany cells with top-left (c, r) the base cell holds
// IsBaseCell true and the spans spanx - 1, spany - 1; every other cell (i, j) holds IsBaseCell
// false and its distance (i - c, j - r) from the base cell. A cell outside any range holds true
// and -1, -1 (the values of a new object).
class TCellProperties : public TGridCellObject, private TCellPropertiesValues {
public:
    TCellProperties(TBaseGrid* AOwner, int ACol, int ARow);

    // Copies the cell settings of another properties object; not the owner grid, the graphic
    // object, BrushColorTo, the paint cycle, the calculation or the gradient direction.
    void Assign(const TCellProperties& Source);
    // Puts the font colour, style, size and name this cell sets (each one only when set) on AFont.
    void ApplyFont(TFont& AFont) const;

    TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
    KT_PROPERTY(int, OwnerCol)
    KT_PROPERTY(int, OwnerRow)
    // The cell's user object (not owned).
    void* CellObject() const { return FObject; }
    void SetCellObject(void* Value) { FObject = Value; }
    // The cell's graphic object: a TCellGraphic or a picture object of the caller's. The grid
    // only drops its reference; a caller who keeps one keeps the object.
    const TGridObject& GraphicObject() const { return FGraphicObject; }
    void SetGraphicObject(TGridObject Value) { FGraphicObject = std::move(Value); }

    KT_PROPERTY(TBrushStyle, BrushStyle)
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor Value); // repaints the cell
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor Value); // repaints the cell
    KT_PROPERTY(int, FontSize)
    KT_PROPERTY(TColor, FontColor)
    KT_PROPERTY(TFontStyles, FontStyle)
    KT_PROPERTY(int, CellSpanY)
    KT_PROPERTY(int, CellSpanX)
    KT_PROPERTY(int, BorderWidth)
    KT_PROPERTY(TColor, BorderColor)
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; } // no repaint
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value); // repaints the cell
    KT_PROPERTY(int, PaintID)
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value); // repaints the cell
    KT_PROPERTY(bool, IsBaseCell)
    KT_PROPERTY(TColumnCalcType, CalcType)
    const TGridObject& CalcObject() const { return FCalcObject; }
    void SetCalcObject(TGridObject Value) { FCalcObject = std::move(Value); }
    KT_PROPERTY(int, NodeLevel)
    KT_PROPERTY(TEditorType, Editor)
    KT_PROPERTY(QString, FontName)
    KT_PROPERTY(bool, ReadOnly)
    KT_PROPERTY(TCellGradientDirection, GradientDirection)
    // A control placed over the cell (not owned; forgotten when it is destroyed).
    QWidget* Control() const { return FControl.data(); }
    void SetControl(QWidget* Value) { FControl = Value; }

    // The base cell of the range the cell (c, r) belongs to, read from these properties.
    TPoint GetBaseCell(int c, int r) const;

private:
    void Repaint();

    QPointer<TBaseGrid> FOwnerGrid;
    TGridObject FGraphicObject;
    TColor FBrushColorTo = clNone;
    int FPaintID = 0;
    TColumnCalcType FCalcType = acNONE;
    TGridObject FCalcObject;
    TCellGradientDirection FGradientDirection = GradientVertical;
};

// ---- the grid classes ------------------------------------------------------------------------

// The string grid with object slots; adds nothing of its own.
class TObjStringGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
};

class TBaseGrid : public TObjStringGrid {
public:
    explicit TBaseGrid(QWidget* AOwner = nullptr);
    ~TBaseGrid() override;

    // ---- cell text
    // Cells[c, r]: the shown text (merged cells read their base cell; rows below NormalRowCount
    // pass the display hooks) and the write (merged cells write their base cell).
    QString Cells(int ACol, int ARow) const { return GetCellEx(ACol, ARow); }
    void SetCells(int ACol, int ARow, const QString& Value) { SetCellEx(ACol, ARow, Value); }
    QString GetCellEx(int c, int r) const;
    void SetCellEx(int c, int r, const QString& Value);
    // The raw text and object slot of exactly that cell: no merge, no hooks.
    QString GetGridCell(int c, int r) const;
    void SetGridCell(int c, int r, const QString& Value);
    TGridObject GetGridObject(int c, int r) const;
    void SetGridObject(int c, int r, TGridObject Value);

    // ---- cell properties
    // The cell's properties, made with the grid's defaults on first use; never null. The grid
    // owns the object.
    TCellProperties* GetCellProperties(int c, int r);
    // Replaces the cell's properties object (null clears the slot).
    void SetCellProperties(int c, int r, std::shared_ptr<TCellProperties> Value);
    // True when the cell lies inside the grid (TotalColCount x RowCount) and has properties.
    // Creates nothing; every merge query starts with it.
    bool HasCellProperties(int ACol, int ARow) const;
    // The cell's properties object without creating one (null when none).
    TCellProperties* CellPropertiesOf(int ACol, int ARow) const;
    void FreeCellProperties(int ACol, int ARow);
    // Frees the properties (and their TCellGraphic graphic objects) of an inclusive rectangle.
    void FreeCellPropertiesRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void FreeAllCellProperties();
    // Empty the texts of a row, a column or one cell and drop their object slots.
    void ClearRowCells(int ARow);
    void ClearColCells(int ACol);
    void ClearCell(int ACol, int ARow);

    // ---- cell objects
    void* GetObjectEx(int c, int r) const;
    void SetObjectEx(int c, int r, void* Value);
    TGridObject GetGraphicObjectEx(int c, int r) const;
    void SetGraphicObjectEx(int c, int r, TGridObject Value);
    static TGridObject CellPropertiesGraphic(const TCellProperties* Props);

    // ---- merged cells (indexes as for Cells)
    virtual void MergeCells(int c, int r, int spanx, int spany);
    virtual void SplitCells(int c, int r);
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsMergedNonBaseCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    bool IsBaseCell(int ACol, int ARow) const;
    TPoint BaseCell(int ACol, int ARow) const;
    // Sets the out values to the base cell; True when the cell is itself a base (or plain) cell.
    bool ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
    // Further columns and rows of the cell's range: (0, 0) for a plain cell.
    TPoint CellSpan(int ACol, int ARow) const;
    // Columns and rows from this cell to the last cell of its range.
    TPoint CellExt(int ACol, int ARow) const;
    // Inclusive cell co-ordinates of the range.
    TRect FullCell(int c, int r) const;
    int MinRowSpan(int ARow) const;
    int MaxRowSpan(int ARow) const;
    bool RowSpanIdentical(int ARow1, int ARow2) const;
    bool ColSpanIdentical(int ACol1, int ACol2) const;

    // ---- geometry
    // The rectangle of a cell, of the whole range for a merged cell; not empty for a cell out of
    // view (unlike the string grid's).
    TRect CellRect(int c, int r) const;
    TPoint CellSize(int c, int r) const;
    TRect CalcCellRect(int ACol, int ARow) const;
    int FixedColsWidth() const;
    int FixedRowsHeight() const;
    void RepaintCell(int c, int r);

    // ---- navigation
    void GotoBaseCell();

    // ---- painting entries
    void PaintCell(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    void PaintCellExt(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);

    // ---- properties
    KT_PROPERTY_CHANGE(bool, ActiveRowShow, Invalidate)
    KT_PROPERTY_CHANGE(TColor, ActiveRowColor, Invalidate)
    KT_PROPERTY_CHANGE(TColor, ActiveRowColorTo, Invalidate)
    KT_PROPERTY_CHANGE(TColor, ActiveRowMirrorColor, Invalidate)
    KT_PROPERTY_CHANGE(TColor, ActiveRowMirrorColorTo, Invalidate)
    // The grid's own default-drawing switch; the string grid's stays off.
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);
    // Width of the lines this class draws; the string grid's own stays 0.
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    KT_PROPERTY_NOTIFY(TColor, GridLineColor, Invalidate)
    KT_PROPERTY_NOTIFY(TColor, GridFixedLineColor, Invalidate)
    KT_PROPERTY(bool, HoverRow)
    KT_PROPERTY(int, HoverRowIdx)
    KT_PROPERTY(TColor, HoverRowColor)
    KT_PROPERTY(TColor, HoverRowColorTo)
    KT_PROPERTY(THoverRowCells, HoverRowCells)
    KT_PROPERTY_CHANGE(TGridSelectionStyle, SelectionStyle, Invalidate)
    // Default word wrap of new cell properties.
    KT_PROPERTY(bool, WordWrap)
    KT_PROPERTY(bool, ShowSel)
    // The last row is not shown (it carries a floating footer).
    KT_PROPERTY(bool, HideLastRow)
    // Rows below this index pass the display hooks (the string grid keeps it at RowCount; the
    // data operations lower it while scratch rows sit behind the last row).
    KT_PROPERTY(int, NormalRowCount)
    RUvaVoviVareReda* UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(RUvaVoviVareReda* Value);
    int PaintID() const { return FPaintID; }
    KT_PROPERTY(bool, HasCellProps)
    // MergeCells less SplitCells that took effect; never below 0.
    int MergeCount() const { return FMergeCount; }
    bool Destroying() const { return FDestroying; }

    // ---- events (called only when set)
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetDisplText;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetDisplWideText;

    // ---- new virtual operations, in their order
    virtual bool IsFixed(int ACol, int ARow);
    virtual int GetCellIndent(int ARow);
    virtual bool HasNodes();
    virtual void DrawGridCell(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    virtual void LastRowChanged();
    virtual void GetDisplText(int ACol, int ARow, QString& Value);
    virtual void GetDisplWideText(int ACol, int ARow, QString& Value);
    virtual void GetCellDefaultProps(int ACol, int ARow, TFont& AFont, TBrush& ABrush, TColor& AColorTo,
                                     TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& AAlignment,
                                     TVAlignment& AVAlignment, bool& AWordWrap,
                                     TCellGradientDirection& AGradientDirection);
    virtual void CellTextChanged(int ACol, int ARow);
    virtual bool HasCustomCellBorders();
    virtual bool UsesVCLStyles();
    virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                     bool Remap, TBrush& ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                     TColor& AMirrorColorTo, TFont& AFont, TAlignment& HA, TVAlignment& VA,
                                     bool& WW, TCellGradientDirection& GD);
    virtual int DisplColIndex(int ACol) const;
    // (MergeCells and SplitCells above)
    virtual int TotalColCount() const;

    // ---- overrides of the string grid
    bool SelectCell(int ACol, int ARow) override;
    void TopLeftChanged() override;
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

protected:
    void Paint() override;
    // The painting frame of one cell; Normal paints the content too.
    virtual void PaintCellFrame(TCanvas& ACanvas, int ACol, bool Normal, TGridDrawState AState, TRect ARect,
                                int ARow);
    void RepaintMergedFixedCols();
    void RepaintMergedFixedRows();
    // HasNodes asked once per paint cycle (it may look at every row).
    bool PaintHasNodes();
    // Refuses negative indexes with the grid's error.
    static void CheckIndexes(int ACol, int ARow);
    // The properties of a cell without the range test of HasCellProperties (null when none).
    TCellProperties* StoredProperties(int c, int r) const;

    bool FDestroying = false;

private:
    bool FDefaultDrawing = false;
    int FGridLineWidth = 1;
    TColor FGridLineColor = 0xC0C0C0;
    TColor FGridFixedLineColor = 0x808080;
    int FPaintID = 1;
    bool FHideLastRow = false;
    int FNormalRowCount = 0;
    RUvaVoviVareReda* FUndoRedo = nullptr;
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle FSelectionStyle = ssDefault;
    int FHoverRowIdx = -1;
    bool FHoverRow = false;
    THoverRowCells FHoverRowCells = THoverRowCells(hcNormal) | hcSelected;
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
    bool FShowSel = true;
    bool FHasCellProps = false;
    int FMergeCount = 0;
    int FNodesPaintID = -1;
    bool FNodesInPaint = false;

    friend class TCellProperties;
};
