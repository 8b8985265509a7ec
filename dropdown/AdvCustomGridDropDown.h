#pragma once
// The grid drop-down: an editable drop-down whose list is a complete string grid of our own, one
// header row and one row per entry. The list shows the control's Items (one text per column) or,
// without UseItems, whatever the application put into the list grid. The lookup column gives the
// value: typing completes from it, and typing in the open list jumps to the first matching row or
// narrows the rows to those containing the typed text. The list may sort by header clicks, show
// a search footer and edit its cells; its events reach the application as OnGrid... events.
#include "dropdown/AdvDropDown_GridLook.h"
#include "dropdown/AdvDropDown_Edit.h"
#include "dropdown/AdvDropDown_OwnedList.h"
#include "grid/AdvGrid.h"
#include "platform/Property.h"

#include <QStringList>
#include <QTimer>
#include <memory>
#include <vector>

class TCustomAdvGridDropDown;

namespace AdvCustomGridDropDown {

enum TColumnType { ctText, ctImage };

class TDropDownColumn {
public:
    TDropDownColumn() = default;
    void Assign(const TDropDownColumn& Source);

    QString Header;
    int Width = 80;
    bool AutoSize = false;
    TAlignment Alignment = taLeftJustify;
    TColor Color = 0xFFFFFF;
    TColumnType ColumnType = ctText;
    TFont Font;
    bool Wordwrap = false;
    bool Ellipsis = false;
};

class TDropDownColumns : public gridlist::TOwnedList<TDropDownColumn> {
public:
    using TOwnedList::TOwnedList;
    void SetItems(int Index, const TDropDownColumn& Value) { Items(Index)->Assign(Value); }
};

class TDropDownItem {
public:
    // Copies the image index only; the texts stay as they are.
    void Assign(const TDropDownItem& Source) { ImageIndex = Source.ImageIndex; }
    int ImageIndex = -1;
    QStringList Text; // one text per column
};

// Assign copies the texts and image indexes of every item.
class TDropDownItems : public gridlist::TOwnedList<TDropDownItem> {
public:
    using TOwnedList::TOwnedList;

protected:
    void CopyItem(TDropDownItem& To, const TDropDownItem& From) const override
    {
        To.Assign(From);
        To.Text = From.Text;
    }
};

// The item index an item row keeps in the object of its first cell; survives sorting and
// filtering of the list.
class TItemIndexObject : public TGridCellObject {
public:
    explicit TItemIndexObject(int AValue) : Value(AValue) {}
    int Value;
};
// The integer a cell object holds; Default when the cell holds none.
int CellObjectInt(const TGridObject& Obj, int Default = -1);

using TGetCellPropEvent =
    std::function<void(QObject* Sender, int Column, int Row, TFont& Font, TColor& AColor, TColor& AColorTo)>;
using TGetCellTextEvent = std::function<void(QObject* Sender, int Column, int Row, QString& Text)>;
using TDrawCellEvent = std::function<void(QObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;

// The list grid of the grid drop-down. It paints nothing of its own: cells, header, selection and
// hover are the string grid's, so sorting, filtering, the search footer and editing all work.
class TAdvColGrid : public TVerIvovavOzed, public TDropDownGridLook {
public:
    explicit TAdvColGrid(QWidget* AOwner = nullptr);
    ~TAdvColGrid() override;

    TDropDownColumns& Columns() { return *FColumns; }
    void SetColumns(const TDropDownColumns& Value) { FColumns->Assign(Value); }
    int ListGridLineWidth() const { return FGridLineWidth; }
    void SetListGridLineWidth(int Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value) { FImages = Value; }
    // The image list went away: forget it.
    void ImagesRemoved(TCustomImageList* AList);

    TCustomAdvGridDropDown* AdvDropDown() const { return FAdvDropDown; }
    void LinkToDropDown(TCustomAdvGridDropDown* ADropDown) { FAdvDropDown = ADropDown; }
    void SetupFromDropDown(TCustomAdvGridDropDown* ADropDown);
    void FillFromItems();
    void AutoSizeColumn(int AIndex);
    void SetRowHeightsFromContent();
    int NaturalWidth() const;

    bool MouseWheelSelection() const { return FMouseWheelSelection; }
    KT_PROPERTY(bool, ConfirmSelection)

    // A row was chosen (Enter, or a left click on an item row).
    virtual void DoSelect();

    TNotifyEvent OnSelect;
    TDrawCellEvent OnListDrawCell;
    TGetCellPropEvent OnGetCellProp;
    TGetCellTextEvent OnGetCellText;

    bool WantsKey(Word Key, TShiftState Shift) override;
    void WMKeyDown(TWMKey& Msg) override;
    void WMChar(TWMKey& Msg) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The grid's own wheel handling moves the row per notch; rows passed that way are no choice.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
    bool CanMeasure() const;
    std::unique_ptr<TDropDownColumns> FColumns;
    int FGridLineWidth = 1;
    TCustomImageList* FImages = nullptr;
    TCustomAdvGridDropDown* FAdvDropDown = nullptr;
    bool FMouseWheelSelection = false;
    bool FConfirmSelection = false;
};

// The right edge of the controls the grid's search footer shows (0 when it shows none), in
// the footer's own coordinates.
int SearchFooterControlsRight(TVerIvovavOzed& Grid);

} // namespace AdvCustomGridDropDown

enum TLookupMethod { lmLookup, lmNarrowDown, lmNone };
enum TDropDownStyle { dsDropDown, dsDropDownList };
enum TGridSorting { gsNone, gsSingleColumn, gsMultiColumn };

class TCustomAdvGridDropDown : public TAdvCustomDropDown, public ITVerIvovavOzedSelect, public TDropDownGridLook, public TDropDownGridSizing {
    Q_OBJECT
public:
    using TDropDownColumns = AdvCustomGridDropDown::TDropDownColumns;
    using TDropDownItems = AdvCustomGridDropDown::TDropDownItems;
    using TAdvColGrid = AdvCustomGridDropDown::TAdvColGrid;

    explicit TCustomAdvGridDropDown(QWidget* AOwner = nullptr);
    ~TCustomAdvGridDropDown() override;
    void Create() override;

    int GetVersionNr() override { return 0x06000101; }
    void BeginUpdate() {}
    void EndUpdate();
    void Loaded() override;
    TAdvColGrid* GetGrid() const { return FAdvColGrid; }
    // Enter moves on like Tab, after it has put the lookup entry in its stored case. The class's
    // own flag: the edit's flag would turn Enter into Tab before that.
    bool ReturnIsTab() const { return FOwnReturnIsTab; }
    void SetReturnIsTab(bool Value) { FOwnReturnIsTab = Value; }

    // ---- properties
    TDropDownColumns& Columns() { return *FColumns; }
    void SetColumns(const TDropDownColumns& Value) { FColumns->Assign(Value); }
    TDropDownItems& Items() { return *FItems; }
    void SetItems(const TDropDownItems& Value) { FItems->Assign(Value); }
    KT_PROPERTY(bool, UseItems)
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    KT_PROPERTY(int, LookupColumn)
    KT_PROPERTY(TLookupMethod, LookupMethod)
    KT_PROPERTY(bool, CaseSensitive)
    TDropDownStyle Style() const { return FStyle; }
    void SetStyle(TDropDownStyle Value);
    KT_PROPERTY(TGridSorting, Sorting)
    KT_PROPERTY(bool, GridEditable)
    KT_PROPERTY(bool, RowSelect)
    KT_PROPERTY(bool, ColumnSizing)
    KT_PROPERTY(bool, ColumnMoving)
    KT_PROPERTY(bool, RowSizing)
    KT_PROPERTY(bool, RowMoving)
    KT_PROPERTY(bool, AutoSizeColumns)
    KT_PROPERTY(bool, HoverRow)
    KT_PROPERTY(TColor, HoverRowColor)
    KT_PROPERTY(TColor, HoverRowColorTo)
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* Value) { FGridImages = Value; }
    KT_PROPERTY(bool, AutoShowDropDown)
    TSearchFooter& SearchFooter() { return *FSearchFooter; }
    // Settings the list grid takes over each time it opens.
    TBands& Bands() { return *FBands; }
    void SetBands(const TBands& Value) { FBands->Assign(Value); }
    TNavigation& Navigation() { return *FNavigation; }
    void SetNavigation(const TNavigation& Value) { FNavigation->Assign(Value); }
    TMouseActions& MouseActions() { return *FMouseActions; }
    void SetMouseActions(const TMouseActions& Value) { FMouseActions->Assign(Value); }
    KT_PROPERTY(bool, MatchCase)
    KT_PROPERTY(bool, MatchStart)
    // The number of entries: items, or the list grid's normal rows without UseItems.
    int RowCount() const;
    // The typed search text of the open list.
    QString LookupEntry() const { return FLookupEntry; }

    // Row of the list grid from item index and back.
    int RowToItem(int ARow) const;
    int ItemToRow(int AItem) const;

    // The columns scaled to the pop-up's width.
    void ScaleColumnsToForm();
    // The type-ahead of the open list and of the edit; a row or item index, or -1.
    int TypeAhead(QChar C);

    // ---- virtual operations of the base
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void AdjustDropDownHeight(int& Height) override;
    void DoShowDropDown() override;
    void SetupDropDownControl() override;
    void UpdateDropDownSize() override;
    void DoHideDropDown(bool Cancelled) override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(QChar& Key) override;
    void PrepareDropDownContent() override;
    void SelectNextValue() override;
    void SelectPreviousValue() override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void SetComponentStyle(TOrlexStyle AStyle) override;
    void PerformKeyDown(Word Key, TShiftState Shift) override;

    // The list grid's current row changed.
    void NotifySelect(int ACol, int ARow) override;

    // ---- events
    TNotifyEvent OnSelect;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& Anchor, bool& AutoHandle)> OnGridAnchorClick;
    std::function<void(QObject* Sender, int ACol, int ARow)> OnGridButtonClick;
    std::function<void(QObject* Sender, int ACol, bool& DoSort)> OnGridCanSort;
    std::function<void(QObject* Sender, int ACol)> OnGridClickSort;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& S)> OnGridEllipsClick;
    std::function<void(QObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign)> OnGridGetAlignment;
    std::function<void(QObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush& ABrush, TFont& AFont)>
        OnGridGetCellColor;
    std::function<void(QObject* Sender, int ACol, int ARow, bool& IsFloat, QString& FloatFormat)> OnGridGetFloatFormat;
    std::function<void(QObject* Sender, int ARow, int ACol, bool& CanEdit)> OnGridCanEditCell;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnGridRightClickCell;
    std::function<void(QObject* Sender)> OnGridTopLeftChanged;
    std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)> OnGridMouseMove;
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)> OnGridMouseDown;
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)> OnGridMouseUp;
    std::function<void(QObject* Sender, Word& Key, TShiftState Shift)> OnGridKeyDown;
    std::function<void(QObject* Sender, Word& Key, TShiftState Shift)> OnGridKeyUp;
    std::function<void(QObject* Sender, QChar& Key)> OnGridKeyPress;
    std::function<void(QObject* Sender, int ACol, int ARow, bool State)> OnGridCheckBoxClick;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& Anchor)> OnGridAnchorEnter;
    std::function<void(QObject* Sender, int ARow, int ACol, const QString& Anchor)> OnGridAnchorExit;
    std::function<void(QObject* Sender, int ARow, int ACol, QString& Anchor)> OnGridAnchorHint;
    std::function<void(QObject* Sender, const QString& str1, const QString& str2, int& Res)> OnGridCustomCompare;
    std::function<void(QObject* Sender, int Col, int Row1, int Row2, int& Res)> OnGridRawCompare;
    std::function<void(QObject* Sender, int ACol, bool& Allow)> OnGridColumnSize;
    std::function<void(QObject* Sender, int ACol, int ColWidth)> OnGridColumnSizing;
    std::function<void(QObject* Sender, int ACol)> OnGridEndColumnSize;
    std::function<void(QObject* Sender, int ARow, bool& Allow)> OnGridRowSize;
    std::function<void(QObject* Sender, int ARow, int RowHeight)> OnGridRowSizing;
    std::function<void(QObject* Sender, int ARow)> OnGridEndRowSize;
    std::function<void(QObject* Sender, int ARow, bool& Allow)> OnGridRowMove;
    std::function<void(QObject* Sender, int FromIndex, int ToIndex, bool& Allow)> OnGridRowMoving;
    std::function<void(QObject* Sender, int FromIndex, int ToIndex)> OnGridRowMoved;
    std::function<void(QObject* Sender, int ACol, bool& Allow)> OnGridColumnMove;
    std::function<void(QObject* Sender, int FromIndex, int ToIndex, bool& Allow)> OnGridColumnMoving;
    std::function<void(QObject* Sender, int FromIndex, int ToIndex)> OnGridColumnMoved;
    using TCellDrawEvent = std::function<void(QObject* Sender, TCanvas& Canvas, int ACol, int ARow,
                                              TGridDrawState AState, TRect ARect, bool Printing)>;
    TCellDrawEvent OnGridCustomCellDraw;
    TCellDrawEvent OnGridCustomCellBkgDraw;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& ATitle, QString& AText, int& AIcon)>
        OnGridCellBalloon;
    std::function<void(QObject* Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo, TColor& ColorMirror,
                       TColor& ColorMirrorTo, TCellGradientDirection& GD)>
        OnGridGetCellGradient;
    std::function<void(QObject* Sender, int ACol, int ARow, TEditorType& AEditor)> OnGridGetEditorType;
    std::function<void(QObject* Sender, int ACol, int ARow, TEditLink* AEditLink)> OnGridGetEditorProp;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGridGetDiplText;
    std::function<void(QObject* Sender, int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix)>
        OnGridGetFormat;
    std::function<void(QObject* Sender, int ARow, int ACol, QString& HintStr)> OnGridHint;
    std::function<void(QObject* Sender, int ARow, QString& HintStr)> OnGridScrollHint;
    std::function<void(QObject* Sender, const QString& Value, bool& DefaultSearch)> OnGridSearchEditChange;
    std::function<void(QObject* Sender, int ACol, int ARow, int AValue, bool UpDown)> OnGridSpinClick;
    std::function<void(QObject* Sender, int ARow)> OnGridAutoAddRow;
    std::function<void(QObject* Sender, int ARow)> OnGridInsertRow;
    std::function<void(QObject* Sender, int ACol)> OnGridInsertCol;
    std::function<void(QObject* Sender, int ARow)> OnGridDeleteRow;
    std::function<void(QObject* Sender, bool& CanAdd)> OnGridCanAddRow;
    std::function<void(QObject* Sender, int ARow, bool& CanInsert)> OnGridCanInsertRow;
    std::function<void(QObject* Sender, int ARow, bool& CanDelete)> OnGridCanDeleteRow;

    // ---- forwarders, in slot order (Sender: the list grid; key down and key press come through
    // the pop-up's keys with this control as Sender)
    virtual void DoGridAnchorClick(QObject* Sender, int ARow, int ACol, const QString& Anchor, bool& AutoHandle);
    virtual void DoGridAnchorEnter(QObject* Sender, int ARow, int ACol, const QString& Anchor);
    virtual void DoGridAnchorExit(QObject* Sender, int ARow, int ACol, const QString& Anchor);
    virtual void DoGridAnchorHint(QObject* Sender, int ARow, int ACol, QString& Anchor);
    virtual void DoGridButtonClick(QObject* Sender, int ACol, int ARow);
    virtual void DoGridCanSort(QObject* Sender, int ACol, bool& DoSort);
    virtual void DoGridClickSort(QObject* Sender, int ACol);
    virtual void DoGridCustomCompare(QObject* Sender, const QString& str1, const QString& str2, int& Res);
    virtual void DoGridRawCompare(QObject* Sender, int Col, int Row1, int Row2, int& Res);
    virtual void DoGridColumnSize(QObject* Sender, int ACol, bool& Allow);
    virtual void DoGridColumnSizing(QObject* Sender, int ACol, int ColWidth);
    virtual void DoGridEndColumnSize(QObject* Sender, int ACol);
    virtual void DoGridRowSize(QObject* Sender, int ARow, bool& Allow);
    virtual void DoGridRowSizing(QObject* Sender, int ARow, int RowHeight);
    virtual void DoGridEndRowSize(QObject* Sender, int ARow);
    virtual void DoGridRowMove(QObject* Sender, int ARow, bool& Allow);
    virtual void DoGridRowMoving(QObject* Sender, int FromIndex, int ToIndex, bool& Allow);
    virtual void DoGridRowMoved(QObject* Sender, int FromIndex, int ToIndex);
    virtual void DoGridColumnMove(QObject* Sender, int ACol, bool& Allow);
    virtual void DoGridColumnMoving(QObject* Sender, int FromIndex, int ToIndex, bool& Allow);
    virtual void DoGridColumnMoved(QObject* Sender, int FromIndex, int ToIndex);
    virtual void DoGridCustomCellDraw(QObject* Sender, TCanvas& Canvas, int ACol, int ARow, TGridDrawState AState,
                                      TRect ARect, bool Printing);
    virtual void DoGridCustomCellBkgDraw(QObject* Sender, TCanvas& Canvas, int ACol, int ARow, TGridDrawState AState,
                                         TRect ARect, bool Printing);
    virtual void DoGridCellBalloon(QObject* Sender, int ACol, int ARow, QString& ATitle, QString& AText, int& AIcon);
    virtual void DoGridGetAlignment(QObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void DoGridGetCellColor(QObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush& ABrush,
                                    TFont& AFont);
    virtual void DoGridGetCellGradient(QObject* Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo,
                                       TColor& ColorMirror, TColor& ColorMirrorTo, TCellGradientDirection& GD);
    virtual void DoGridGetFloatFormat(QObject* Sender, int ACol, int ARow, bool& IsFloat, QString& FloatFormat);
    virtual void DoGridGetEditorType(QObject* Sender, int ACol, int ARow, TEditorType& AEditor);
    virtual void DoGridGetEditorProp(QObject* Sender, int ACol, int ARow, TEditLink* AEditLink);
    virtual void DoGridCanEditCell(QObject* Sender, int ARow, int ACol, bool& CanEdit);
    virtual void DoGridEllipsClick(QObject* Sender, int ACol, int ARow, QString& S);
    virtual void DoGridGetDiplText(QObject* Sender, int ACol, int ARow, QString& Value);
    virtual void DoGridGetFormat(QObject* Sender, int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix);
    virtual void DoGridHint(QObject* Sender, int ARow, int ACol, QString& HintStr);
    virtual void DoGridMouseMove(QObject* Sender, TShiftState Shift, int X, int Y);
    virtual void DoGridMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoGridMouseUp(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoGridKeyDown(QObject* Sender, Word& Key, TShiftState Shift);
    virtual void DoGridKeyUp(QObject* Sender, Word& Key, TShiftState Shift);
    virtual void DoGridKeyPress(QObject* Sender, QChar& Key);
    virtual void DoGridRightClickCell(QObject* Sender, int ARow, int ACol);
    virtual void DoGridScrollHint(QObject* Sender, int ARow, QString& HintStr);
    virtual void DoGridTopLeftChanged(QObject* Sender);
    virtual void DoGridSearchEditChange(QObject* Sender, const QString& Value, bool& DefaultSearch);
    virtual void DoGridSpinClick(QObject* Sender, int ACol, int ARow, int AValue, bool UpDown);
    virtual void DoGridAutoAddRow(QObject* Sender, int ARow);
    virtual void DoGridInsertRow(QObject* Sender, int ARow);
    virtual void DoGridInsertCol(QObject* Sender, int ACol);
    virtual void DoGridDeleteRow(QObject* Sender, int ARow);
    virtual void DoGridCanAddRow(QObject* Sender, bool& CanAdd);
    virtual void DoGridCanInsertRow(QObject* Sender, int ARow, bool& CanInsert);
    virtual void DoGridCanDeleteRow(QObject* Sender, int ARow, bool& CanDelete);

protected:
    // The items collection; a descendant may give another one.
    virtual std::unique_ptr<TDropDownItems> CreateItems();
    void HandleChange() override;
    void HandleKeyDown(Word& Key, TShiftState Shift) override;
    void HandleKeyPress(QChar& Key) override;
    bool EnterActsAsTab() const override { return FOwnReturnIsTab; }
    void DoEnter() override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool FOwnReturnIsTab = false;
    void RebuildLookupList();
    void HookGridEvents();
    void GridSelect();
    void GridKeyDown(Word& Key, TShiftState Shift);
    void KeyUpStep(Word Key, TShiftState Shift);
    // The search of the type-ahead; the item index (or row) found, -1 when none.
    int SearchEntry(const QString& S, QString& Found) const;
    QString Fold(const QString& S, bool Keep) const { return Keep ? S : S.toUpper(); }
    // Runs Fn with the pop-up's deactivation blocked.
    void Blocked(const std::function<void()>& Fn);
    void SetCurrentRow(int ARow);
    void StepTo(int Index);

    std::unique_ptr<TDropDownColumns> FColumns;
    std::unique_ptr<TDropDownItems> FItems;
    TAdvColGrid* FAdvColGrid = nullptr;
    QStringList FLookupItems;
    QStringList FLookupUpper; // FLookupItems upper-cased, for completion
    QString FLookupEntry;
    bool workmode = false;
    int FItemIndex = -1;
    int FOldItemIndex = -1;
    int FTempItemIndex = -1;
    int FSelRow = 0;
    void FollowItemIndex();
    int FItemIdx = -1;
    bool FItemChange = false;
    QString FOldValue;
    bool FBalloonInit = false;
    bool FUseItems = true;
    int FLookupColumn = 0;
    TLookupMethod FLookupMethod = lmLookup;
    bool FCaseSensitive = false;
    TDropDownStyle FStyle = dsDropDown;
    TGridSorting FSorting = gsNone;
    bool FGridEditable = false;
    bool FRowSelect = true;
    bool FColumnSizing = false;
    bool FColumnMoving = false;
    bool FRowSizing = false;
    bool FRowMoving = false;
    bool FAutoSizeColumns = true;
    bool FHoverRow = false;
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
    TCustomImageList* FGridImages = nullptr;
    bool FAutoShowDropDown = false;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TMouseActions> FMouseActions;
    bool FMatchCase = false;
    bool FMatchStart = true;
    bool FInChange = false;
};
