#pragma once
// The multi-column drop-down: an editable drop-down whose list is a small grid with a header row
// and one row per item. One column, the lookup column, gives the control its value: choosing an
// item puts that column's text into the edit, typing completes from it, and typing in the open
// list jumps to the first item that begins with the typed characters.
//
// The column and item collections and the list grid live in their own namespace: the grid
// drop-down has namesakes of its own.
#include "dropdown/AdvDropDown_GridLook.h"
#include "dropdown/AdvDropDown_Edit.h"
#include "dropdown/AdvDropDown_OwnedList.h"

#include "platform/StringGrid.h"
#include "platform/StringList.h"
#include "render/LbButton.h"
#include "platform/Property.h"

#include <functional>
#include <memory>
#include <vector>

class TAdvMultiColumnDropDown;

namespace AdvMultiColumnDropDown {

enum TColumnType { ctText, ctImage };

// Paints one list cell instead of the built-in drawing (Row 0 is the header).
using TDrawCellEvent = std::function<void(QObject* Sender, int Column, int Row, TCanvas& ACanvas, TRect ARect)>;
// Lets the owner change an item cell's text before it is drawn.
using TGetCellTextEvent = std::function<void(QObject* Sender, int Column, int Row, QString& Text)>;

class TDropDownColumn {
public:
    TDropDownColumn() = default;
    TDropDownColumn(const TDropDownColumn&) = delete;
    void Assign(const TDropDownColumn& Source);

    KT_PROPERTY(QString, Header)
    KT_PROPERTY(int, Width)
    KT_PROPERTY(bool, AutoSize)
    KT_PROPERTY(TAlignment, Alignment)
    KT_PROPERTY(TColor, Color)
    KT_PROPERTY(TColumnType, ColumnType)
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { FFont.Assign(Value); }
    KT_PROPERTY(bool, Wordwrap)
    KT_PROPERTY(bool, Ellipsis)

private:
    TDropDownColumn& operator=(const TDropDownColumn&) = default;

    QString FHeader;
    int FWidth = 80;
    bool FAutoSize = false;
    TAlignment FAlignment = taLeftJustify;
    TColor FColor = 0xFFFFFF;
    TColumnType FColumnType = ctText;
    TFont FFont;
    bool FWordwrap = false;
    bool FEllipsis = false;
};

class TDropDownColumns : public gridlist::TOwnedList<TDropDownColumn> {
public:
    using TOwnedList::TOwnedList;
};

class TDropDownItem {
public:
    TDropDownItem() = default;
    TDropDownItem(const TDropDownItem&) = delete;
    TDropDownItem& operator=(const TDropDownItem&) = delete;
    // Copies the image index only.
    void Assign(const TDropDownItem& Source) { FImageIndex = Source.FImageIndex; }

    KT_PROPERTY(int, ImageIndex)
    // One text per column, in column order.
    platform::TStringList& Text() { return FText; }
    const platform::TStringList& Text() const { return FText; }
    void SetText(const platform::TStringList& Value) { FText = Value; }
    // The text of a column; empty when the item has none there.
    QString TextOf(int Column) const;
    bool HasText(int Column) const { return Column >= 0 && Column < FText.Count(); }

private:
    int FImageIndex = -1;
    platform::TStringList FText;
};

// Assign copies image indexes and texts.
class TDropDownItems : public gridlist::TOwnedList<TDropDownItem> {
public:
    using TOwnedList::TOwnedList;
    // The first item with exactly Value in that column; items with fewer texts are skipped.
    int IndexInColumn(int Column, const QString& Value) const;

protected:
    void CopyItem(TDropDownItem& To, const TDropDownItem& From) const override
    {
        To.Assign(From);
        To.SetText(From.Text());
    }
};

// The list of the multi-column drop-down: a header row and one row per item, drawn from the
// linked drop-down's columns and items, selecting whole rows.
class TAdvColGrid : public TStringGrid, public TDropDownGridLook {
    Q_OBJECT
public:
    explicit TAdvColGrid(QWidget* AOwner = nullptr);

    TDropDownColumns& Columns() { return FColumns; }
    void SetColumns(const TDropDownColumns& Value) { FColumns.Assign(Value); }
    // Width of the lines this grid draws itself (the base grid's own lines stay off).
    KT_PROPERTY(int, OwnLineWidth)
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value) { FImages = Value; }

    void SetAdvDropDown(TAdvMultiColumnDropDown* Value) { FAdvDropDown = Value; }
    TAdvMultiColumnDropDown* AdvDropDown() const { return FAdvDropDown; }
    // Takes the drop-down's columns, items, colours and sizes (each time the list opens).
    void SetupFromDropDown(TAdvMultiColumnDropDown* DropDown);
    // Border and column widths, plus a vertical scroll bar when not every row shows.
    int NaturalWidth() const;
    bool ConfirmSelection() const { return FConfirmSelection; }
    bool MouseWheelSelection() const { return FMouseWheelSelection; }

    // A row was chosen (Enter, or a mouse button released over an item row).
    TNotifyEvent OnSelect;

    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    bool WantsKey(Word Key, TShiftState Shift) override;
    void WMKeyDown(TWMKey& Msg) override;

protected:
    virtual void DoSelect();

private:
    friend class ::TAdvMultiColumnDropDown;
    bool InDropDownForm() const;
    void AutoSizeColumns();
    void AutoSizeRows();
    // True when the cell of this item and column shows an image.
    bool ShowsImage(const TDropDownColumn& Column, const TDropDownItem& Item) const;

    TAdvMultiColumnDropDown* FAdvDropDown = nullptr;
    TDropDownColumns FColumns;
    int FOwnLineWidth = 1;
    TCustomImageList* FImages = nullptr;
    int FOldRow = 0;
    bool FMouseWheelSelection = false;
    bool FConfirmSelection = false;
};

} // namespace AdvMultiColumnDropDown

class TAdvMultiColumnDropDown : public TAdvCustomDropDown, public TDropDownGridLook, public TDropDownGridSizing {
    Q_OBJECT
public:
    using TDropDownColumns = AdvMultiColumnDropDown::TDropDownColumns;
    using TDropDownItems = AdvMultiColumnDropDown::TDropDownItems;
    using TAdvColGrid = AdvMultiColumnDropDown::TAdvColGrid;

    explicit TAdvMultiColumnDropDown(QWidget* AOwner = nullptr);
    ~TAdvMultiColumnDropDown() override;
    void Create() override;

    void Assign(const TAdvCustomDropDown& Source) override;
    void Loaded() override;
    void BeginUpdate() {}
    // Rebuilds the lookup list from the items.
    void EndUpdate() { UpdateLookupList(); }
    // The first item whose lookup-column text is exactly the text; -1 when none.
    int GetItemIndex(const QString& AText) const;

    TDropDownColumns& Columns() { return *FColumns; }
    void SetColumns(const TDropDownColumns& Value) { FColumns->Assign(Value); }
    TDropDownItems& Items() { return *FItems; }
    void SetItems(const TDropDownItems& Value) { FItems->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    KT_PROPERTY(int, LookupColumn)
    KT_PROPERTY(bool, ColumnSizing)
    KT_PROPERTY(bool, CaseSensitive)
    KT_PROPERTY(bool, MatchCase)
    int RowCount() const { return FItems->Count(); }
    TAdvColGrid* ColGrid() const { return FAdvColGrid; }
    const platform::TStringList& LookupItems() const { return FLookupItems; }
    // Enter moves on like Tab, after it has put the lookup entry in its stored case. The class's
    // own flag: the edit's flag would turn Enter into Tab before that.
    bool ReturnIsTab() const { return FOwnReturnIsTab; }
    void SetReturnIsTab(bool Value) { FOwnReturnIsTab = Value; }

    TNotifyEvent OnSelect;
    AdvMultiColumnDropDown::TDrawCellEvent OnDropDownDrawItem;
    AdvMultiColumnDropDown::TGetCellTextEvent OnDropDownGetItemText;

    // ---- overridden operations of the drop-down ----
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

protected:
    void HandleKeyDown(Word& Key, TShiftState Shift) override;
    void HandleKeyPress(QChar& Key) override;
    bool EnterActsAsTab() const override { return FOwnReturnIsTab; }
    void HandleChange() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FOwnReturnIsTab = false;
    void UpdateLookupList();
    void RebuildLookupCopies();
    // Scales the column widths to fill the pop-up's width.
    void SizeColumnsToForm();
    // The type-ahead of the open list: the item found for the character, or -1.
    int LookupInList(QChar C);
    bool SearchItem(const QString& S, int& Index, QString& Found) const;
    void GridSelectCell(int ACol, int ARow, bool& CanSelect);
    void GridSelect();

    QPointer<TAdvColGrid> FAdvColGrid; // a child of the pop-up, gone with it
    std::unique_ptr<TDropDownColumns> FColumns;
    std::unique_ptr<TDropDownItems> FItems;
    platform::TStringList FLookupItems;
    // FLookupItems as it stands and upper-cased, rebuilt with it, for completion.
    QStringList FLookupTexts;
    QStringList FLookupUpper;
    QString FLookupEntry;
    QString FOldValue;
    bool FWorkMode = true;
    bool FShowing = false;
    int FItemIndex = -1;
    int FOldItemIndex = -1;
    int FLookupColumn = 0;
    bool FColumnSizing = false;
    bool FCaseSensitive = false;
    bool FMatchCase = false;
    // Modifiers of the key the list is handing on (the edit sees only its character).
    TShiftState FListKeyShift;
};
