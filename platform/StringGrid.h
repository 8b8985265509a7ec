#pragma once
// TStringGrid: the string grid control every grid of the program is built on.
//
// A scrollable table of cells with fixed (frozen) leading rows and columns, a current cell and a
// rectangular selection, an in-place text editor, and a text and object slot per cell. Derived
// grids change its behaviour through the virtual operations below; each virtual's base version is
// the standard behaviour and a derived class calls it where it wants that behaviour.
//
// Indexes: columns and rows count from 0; the fixed columns and rows come first. A cell store
// keeps every cell written, also beyond ColCount and RowCount: lowering a count hides cells,
// raising it again shows them. Negative indexes are refused without harm (reads give "" or null,
// writes do nothing).
//
// Scrolling: LeftCol and TopRow are the first scrolled column and row shown after the fixed ones.
// The scroll bars work on a 0..127 scale (Windows-like SB_ action codes reach HScroll and
// VScroll); a derived grid may set a proportional range with SetScrollInfo.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Keys.h"

#include <QAbstractScrollArea>
#include <QFlags>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class TStringGrid;
class QScrollBar;

// ---- grid types ------------------------------------------------------------------------------

enum TGridOption : unsigned {
    goFixedVertLine = 0x1,
    goFixedHorzLine = 0x2,
    goVertLine = 0x4,
    goHorzLine = 0x8,
    goRangeSelect = 0x10,
    goDrawFocusSelected = 0x20,
    goRowSizing = 0x40,
    goColSizing = 0x80,
    goRowMoving = 0x100,
    goColMoving = 0x200,
    goEditing = 0x400,
    goTabs = 0x800,
    goRowSelect = 0x1000,
    goAlwaysShowEditor = 0x2000,
    goThumbTracking = 0x4000,
};
using TGridOptions = QFlags<TGridOption>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

enum TGridDrawStateFlag : unsigned { gdSelected = 0x1, gdFocused = 0x2, gdFixed = 0x4 };
using TGridDrawState = QFlags<TGridDrawStateFlag>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridDrawState)

// What the mouse is doing to the grid.
enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend constexpr bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A rectangle of cells, all four edges inclusive.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend constexpr bool operator==(const TGridRect&, const TGridRect&) = default;
};

// Scroll actions (the code passed to HScroll and VScroll).
constexpr int SB_LINEUP = 0;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_LEFT = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_RIGHT = 7;
constexpr int SB_ENDSCROLL = 8;

// Scroll bar selectors and the scroll information of one bar.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_BOTH = 3;
constexpr unsigned SIF_RANGE = 0x1;
constexpr unsigned SIF_PAGE = 0x2;
constexpr unsigned SIF_POS = 0x4;
constexpr unsigned SIF_DISABLENOSCROLL = 0x8;
constexpr unsigned SIF_TRACKPOS = 0x10;
constexpr unsigned SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct TScrollInfo {
    unsigned fMask = SIF_ALL;
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// Highest position of the grid's own scroll scale.
constexpr int GridScrollMax = 127;

// The object a cell may hold. Shared: copying a row or moving it keeps one object, alive as long
// as a cell (or anyone else) holds it.
class TGridCellObject {
public:
    virtual ~TGridCellObject() = default;
};
using TGridObject = std::shared_ptr<TGridCellObject>;

// The texts and objects of one row or column of the grid (Rows, Cols).
struct TGridStrings {
    QStringList Strings;
    std::vector<TGridObject> Objects; // at most as many as Strings (missing ones are null)
    int Count() const { return int(Strings.size()); }
    TGridObject Object(int i) const { return i >= 0 && size_t(i) < Objects.size() ? Objects[size_t(i)] : nullptr; }
    void Add(const QString& s, TGridObject obj = nullptr)
    {
        Strings.append(s);
        Objects.push_back(std::move(obj));
    }
};

// A key as it arrives at a control, before the control's key-down or character step.
// CharCode is the virtual key (key messages) or the character (character message); a handler may
// set it to 0 so that the key has no further effect. Result 1 marks it as used.
struct TWMKey {
    Word CharCode = 0;
    TShiftState Shift;
    bool Keypad = false; // typed on the numeric keypad
    int Result = 0;
};

// What a hint shows (prepared by PrepareHint).
struct THintInfo {
    TPoint CursorPos;   // client co-ordinates of the pointer
    TRect CursorRect;   // the hint goes away when the pointer leaves it
    TPoint HintPos;     // client co-ordinates of the hint's top-left corner
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    int HideTimeout = -1; // ms; -1 for the standard time
};

// ---- in-place editor -------------------------------------------------------------------------

// The text editor the grid places over the current cell. It hands navigation keys to the grid,
// asks the grid before it accepts characters, and loads its text, mask and length limit from the
// grid (UpdateContents).
class TInplaceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TInplaceEdit(TStringGrid* grid);
    ~TInplaceEdit() override;

    TStringGrid* Grid() const { return FGrid; }

    QString Text() const { return text(); }
    void SetText(const QString& s) { setText(s); }
    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int pos);
    void SetSelLength(int len);
    void SelectAll() { selectAll(); }
    void Deselect();
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& mask);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int len); // 0 or less: no limit
    bool Modified() const { return isModified(); }
    void SetModified(bool m) { setModified(m); }

    // Loads the current cell: text (GetEditText), mask (GetEditMask) and limit (GetEditLimit).
    virtual void UpdateContents();
    // Places the editor over a cell rectangle (client co-ordinates of the grid's viewport).
    virtual void UpdateLoc(const TRect& loc);
    virtual void BoundsChanged() {}
    // Shows it at the placed rectangle and gives it the focus when the grid has it.
    void ShowAt(const TRect& loc, bool focus);
    void HideEdit();
    bool Visible() const { return isVisible(); }

    // Steps of the key handling (called from the Qt key events).
    virtual void KeyDown(Word& key, TShiftState shift);
    virtual void KeyPress(QChar& key);
    virtual void KeyUp(Word& key, TShiftState shift);
    // Whether the grid wants this key from the editor (navigation keys).
    virtual bool WantsGridKey(Word key, TShiftState shift) const;
    // Types one character as if the user had (the grid opens the editor with it).
    void TypeChar(QChar ch);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

    TStringGrid* FGrid;

private:
    QString FEditMask;
    int FMaxLength = 0;
};

// ---- the grid --------------------------------------------------------------------------------

class TStringGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    // ---- cell store
    QString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const QString& Value);
    TGridObject Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TGridObject Value);
    // One row (ColCount cells) or column (RowCount cells). Writing clears the row's or column's
    // cells up to ColCount (RowCount) and then writes every given text and object.
    TGridStrings Rows(int ARow) const;
    void SetRows(int ARow, const TGridStrings& Value);
    TGridStrings Cols(int ACol) const;
    void SetCols(int ACol, const TGridStrings& Value);
    // Moves a column or row to a new index: its width (height) and the current cell go along,
    // then ColumnMoved / RowMoved move the texts and objects.
    virtual void MoveColumn(int FromIndex, int ToIndex);
    virtual void MoveRow(int FromIndex, int ToIndex);
    // Removes a row or column: moved to the end (through MoveRow / MoveColumn), emptied, and the
    // count lowered by one. The current cell keeps its index.
    void DeleteRow(int ARow);
    void DeleteColumn(int ACol);
    // The number of rows and columns the store holds (written cells reach below these).
    int StoredRowCount() const { return int(FRows.size()); }

    // ---- counts and geometry
    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int Value);
    int RowHeights(int ARow) const;
    void SetRowHeights(int ARow, int Value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    int LeftCol() const { return FLeftCol; }
    void SetLeftCol(int Value);
    int TopRow() const { return FTopRow; }
    void SetTopRow(int Value);
    // Scrolled columns and rows fully shown after LeftCol / TopRow (at least 1 while any exists).
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // Client rectangle of a cell; empty (0, 0, 0, 0) when the cell is out of view.
    TRect CellRect(int ACol, int ARow) const;
    // The cell under a client point, -1 for a co-ordinate outside every cell.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;
    int GridWidth() const;  // width of the shown cells (at most the client width)
    int GridHeight() const; // height of the shown cells (at most the client height)
    int ClientWidth() const;
    int ClientHeight() const;

    // ---- current cell, selection and options
    int Col() const { return FCurrent.X; }
    void SetCol(int Value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int Value);
    // Moves the current cell (asking SelectCell); MoveAnchor false extends the selection, Show
    // scrolls the cell into view.
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
    TGridRect Selection() const;
    // Anchor := top-left, current cell := bottom-right. Any rectangle is stored, also one outside
    // the grid (a hidden selection).
    void SetSelection(const TGridRect& Value);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    TGridState GridState() const { return FGridState; }

    // ---- looks
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { FFont.Assign(Value); }
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);
    // The canvas DrawCell paints on (valid while a paint runs; measures text otherwise).
    TCanvas& Canvas() { return *FCanvas; }

    // ---- painting
    void InvalidateCell(int ACol, int ARow);
    void InvalidateRow(int ARow);
    void InvalidateCol(int ACol);
    virtual void InvalidateGrid();
    // Repaints the whole control (a derived grid may filter it).
    virtual void Invalidate();
    // Repaints the rows of a rectangle of cells (inclusive cell co-ordinates, Left/Top/Right/
    // Bottom as columns and rows); (0, 0, 0, 0) repaints everything.
    void InvalidateCellRect(const TRect& r);
    // Suspends painting; nested. The grid is repainted when the last suspension ends.
    void SuspendRedraw();
    void ResumeRedraw();
    bool RedrawSuspended() const { return FRedrawLock > 0; }
    // Paints every visible cell on a canvas of another surface (an image, a printer page).
    void PaintTo(QPainter& painter);

    // ---- scroll bars
    bool GetScrollInfo(int Bar, TScrollInfo& Info) const;
    int SetScrollInfo(int Bar, const TScrollInfo& Info, bool Redraw = true);
    int GetScrollPos(int Bar) const;
    void ShowScrollBar(int Bar, bool Show);
    void EnableScrollBar(int Bar, bool Enable);
    bool ScrollBarVisible(int Bar) const;
    QScrollBar* ScrollBarControl(int Bar) const;

    // ---- in-place editor
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value);
    void ShowEditor();
    void HideEditor();
    // Opens the editor and types the character into it.
    void ShowEditorChar(QChar Ch);
    // Reloads the editor's text from the cell.
    void InvalidateEditor();
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

    // ---- hints, timer, focus
    QString Hint() const { return FHint; }
    void SetHint(const QString& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    // Window-style timers: SetTimer(id, ms) starts or restarts, KillTimer stops; ticks reach
    // WMTimer(id). Id 1 is the grid's own scroll timer while the mouse selects outside the cells.
    void SetTimer(int ID, int Interval);
    void KillTimer(int ID);
    // The grid or its editor holds the input focus of its window.
    bool IsActiveControl() const;
    bool Focused() const;
    void SetFocus();

    // ---- events (called only when set)
    std::function<void(QObject* Sender, int ACol, int ARow, bool& CanSelect)> OnSelectCell;
    std::function<void(QObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)> OnDrawCell;
    std::function<void(QObject* Sender)> OnTopLeftChanged;
    std::function<void(QObject* Sender, int FromIndex, int ToIndex)> OnColumnMoved;
    std::function<void(QObject* Sender, int FromIndex, int ToIndex)> OnRowMoved;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetEditText;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetEditMask;
    std::function<void(QObject* Sender, int ACol, int ARow, const QString& Value)> OnSetEditText;
    std::function<void(QObject* Sender)> OnClick;
    std::function<void(QObject* Sender)> OnDblClick;
    std::function<void(QObject* Sender)> OnEnter;
    std::function<void(QObject* Sender)> OnExit;
    std::function<void(QObject* Sender, Word& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(QObject* Sender, QChar& Key)> OnKeyPress;
    std::function<void(QObject* Sender, Word& Key, TShiftState Shift)> OnKeyUp;
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)> OnMouseDown;
    std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)> OnMouseMove;
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)> OnMouseUp;
    std::function<void(QObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)> OnMouseWheel;
    std::function<void(QObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)> OnMouseWheelDown;
    std::function<void(QObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)> OnMouseWheelUp;

    // ---- virtual operations: what derived grids override
    // Asked before every move of the current cell; false keeps the current cell. Fires OnSelectCell.
    virtual bool SelectCell(int ACol, int ARow);
    // After ColCount or RowCount changed.
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    // After a column width or row height changed (by code or by the user); the base updates the
    // scroll range, the editor's place and the picture.
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    // After LeftCol or TopRow changed; the base moves the editor along and fires OnTopLeftChanged.
    virtual void TopLeftChanged();
    // Move the texts and objects of a column or row; the base fires OnColumnMoved / OnRowMoved.
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    // Paints one cell. The base writes the cell text (with DefaultDrawing) and fires OnDrawCell.
    virtual void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
    // Scroll actions of the bars (SB_ codes; Pos on the 0..127 scale or the range set).
    virtual void HScroll(int ScrollCode, int Pos);
    virtual void VScroll(int ScrollCode, int Pos);
    // The wheel: the base fires OnMouseWheel, then per notch DoMouseWheelDown / DoMouseWheelUp,
    // which fire their events and otherwise move the current row by one.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    // Keyboard steps: key-down (fires OnKeyDown, then navigates), character (fires OnKeyPress;
    // Enter opens or closes the editor), key-up (fires OnKeyUp).
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    // Mouse steps. A double click reaches MouseDown once with ssDouble, which runs DblClick
    // instead of the press handling.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    virtual void DoEnter();
    virtual void DoExit();
    // In-place editor host.
    virtual TInplaceEdit* CreateEditor();
    virtual bool CanEditShow();
    virtual bool CanEditModify();
    virtual bool CanEditAcceptKey(QChar Key);
    virtual QString GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const QString& Value);
    virtual QString GetEditMask(int ACol, int ARow);
    virtual int GetEditLimit(); // 0: no limit
    // Keys a dialog may take first: Tab (unless goTabs), Enter and Escape (unless editing). A key
    // the grid does not want is offered to its window's dialog; what the dialog leaves comes back.
    virtual bool WantsKey(Word Key, TShiftState Shift);
    // Fills the hint of the point HintInfo.CursorPos; CanShow false shows none.
    virtual void PrepareHint(QString& HintStr, bool& CanShow, THintInfo& HintInfo);
    // A tick of a timer started with SetTimer.
    virtual void WMTimer(int ID);
    // Key messages as they arrive, before the key-down / character / key-up steps.
    virtual void WMKeyDown(TWMKey& Msg);
    virtual void WMChar(TWMKey& Msg);
    virtual void WMKeyUp(TWMKey& Msg);

protected:
    // Paint cycle: every visible cell, fixed rows and columns frozen, through DrawCell.
    virtual void Paint();
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    void MoveTopLeft(int ALeft, int ATop);
    // The largest LeftCol / TopRow that still fills the client area.
    int MaxLeftCol() const;
    int MaxTopRow() const;
    // Cell under the point, also a partly shown one; -1 outside.
    int ColAtX(int X) const;
    int RowAtY(int Y) const;
    void UpdateScrollRange();
    void UpdateScrollPos();
    void UpdateEdit();
    void HideEdit();
    void UpdateText();
    bool IsFixedCellIndex(int ACol, int ARow) const { return ACol < FFixedCols || ARow < FFixedRows; }
    // Moves the stored rows First..Last by Shift places within that range (down when positive,
    // up when negative) as whole rows: the rows pushed past the range's end are dropped and the
    // rows opened at the other end are empty. Only the texts and objects of the columns below Cols
    // take part, as in a copy of those cells one by one; when a row of the range stores anything
    // at or right of Cols, nothing moves and the answer is false (the caller copies cell by cell).
    // The grid is repainted once, and an editor over a cell whose text changed is reloaded.
    bool ShiftStoredRows(int First, int Last, int Shift, int Cols);
    // Puts the stored rows First .. First + Order.size() - 1 in a new order as whole rows: row
    // First + i takes what row First + Order[i] held (Order holds each of 0 .. size - 1 once). As
    // with ShiftStoredRows only the columns below Cols take part; when a row of the range stores
    // anything at or right of Cols, nothing moves and the answer is false. The grid is repainted
    // once, and an editor inside the range is reloaded.
    bool PermuteStoredRows(int First, const std::vector<int>& Order, int Cols);
    // Moves the texts and objects of the columns below Cols out of a stored row into Value (Cols
    // texts, empty ones for cells never written; Cols objects, or none when the row holds none),
    // leaving those cells empty.
    void TakeStoredRow(int ARow, int Cols, TGridStrings& Value);
    // Takes the stored rows listed in Out (ascending, each within First .. First + Count - 1) out of
    // the store: Target(k) names where the k-th listed row goes, and gets its texts and objects of
    // the columns below Cols as TakeStoredRow gives them. The other rows of the range close up in their order; the rows left
    // at the range's end are empty. Refused as PermuteStoredRows is (false, nothing moved, Target
    // not called) when a row of the range stores anything at or right of Cols. The grid is
    // repainted once, and an editor inside the range is reloaded.
    bool TakeOutStoredRows(int First, int Count, const std::vector<int>& Out, int Cols,
                           const std::function<TGridStrings&(size_t)>& Target);
    // The stored text of a cell without a copy (an empty text for a cell never written); valid
    // until the cell or its row changes. For loops over many rows that only read.
    const QString& StoredCell(int ACol, int ARow) const
    {
        static const QString empty;
        if (ACol < 0 || ARow < 0 || ARow >= int(FRows.size()))
            return empty;
        const RowStore& r = FRows[size_t(ARow)];
        return ACol < r.Texts.size() ? r.Texts.at(ACol) : empty;
    }
    // Whether the cell holds an object, asked without a copy of it.
    bool StoresObject(int ACol, int ARow) const
    {
        if (ACol < 0 || ARow < 0 || ARow >= int(FRows.size()))
            return false;
        const RowStore& r = FRows[size_t(ARow)];
        return ACol < int(r.Objects.size()) && r.Objects[size_t(ACol)];
    }

    // Qt event handlers.
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int, int) override {}
    bool focusNextPrevChild(bool next) override;

    // Current cell and selection anchor.
    TGridCoord FCurrent;
    TGridCoord FAnchor;
    TGridState FGridState = gsNormal;

private:
    friend class TInplaceEdit;
    // A row's texts are held in the list type of TGridStrings, so that a row taken out of the
    // store (a hidden row) keeps its list rather than a copy of each text.
    struct RowStore {
        QStringList Texts;
        std::vector<TGridObject> Objects;
    };
    struct Axis; // geometry of one direction

    Axis ColAxis() const;
    Axis RowAxis() const;
    RowStore* StoreRow(int ARow, int minCols);
    void ChangeSize(int NewColCount, int NewRowCount);
    void ClampTopLeft(bool notify);
    void ScrollIntoView(int ACol, int ARow);
    void ScrollAction(bool vertical, int code, int pos);
    void ScrollBarAction(bool vertical, int action);
    void ApplyScrollInfo(int Bar);
    void KeyNavigate(Word Key, TShiftState Shift);
    void DispatchKey(QKeyEvent* event, bool press);
    bool OfferDialogKey(QKeyEvent* event);
    void FocusChanged(bool in, QFocusEvent* event, bool fromEditor);
    void LoadEditor();
    int SizingHit(int X, int Y, bool& isCol) const;
    void PaintCells(QPainter& painter, const QRect& clip, bool onScreen);
    void PaintSizingLine(QPainter& painter);

    std::vector<RowStore> FRows;
    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    std::vector<int> FColWidths; // empty: all default
    std::vector<int> FRowHeights;
    int FGridLineWidth = 0;
    int FLeftCol = 1;
    int FTopRow = 1;
    TGridOptions FOptions = TGridOptions(goFixedVertLine) | goFixedHorzLine | goVertLine | goHorzLine |
                            goRangeSelect;
    TScrollStyle FScrollBars = ssBoth;
    TColor FColor = clWindow;
    TColor FFixedColor = clBtnFace;
    TFont FFont;
    bool FDefaultDrawing = true;
    std::unique_ptr<TCanvas> FCanvas;
    int FRedrawLock = 0;

    TScrollInfo FScrollInfo[2];
    bool FScrollBarShown[2] = {false, false};
    bool FScrollBarForced[2] = {false, false}; // shown by ShowScrollBar, not by need
    bool FScrollBarHidden[2] = {false, false}; // hidden by ShowScrollBar
    bool FInScrollUpdate = false;
    bool FThumbTracking[2] = {false, false};

    TInplaceEdit* FInplaceEdit = nullptr;
    bool FEditorMode = false;
    int FInplaceCol = -1;
    int FInplaceRow = -1;
    bool FInEditUpdate = false; // SetEditText from the editor runs
    bool FHidingEdit = false;
    bool FInside = false; // the focus is in the grid or its editor

    // Mouse state.
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = -1;
    int FMovePos = -1;
    TPoint FLastMouse;
    bool FPressed = false;

    QString FHint;
    bool FShowHint = false;
    std::map<int, int> FTimers; // our id -> Qt timer id
    int FWheelRest = 0;         // wheel delta not yet a whole notch
};
