#pragma once
// Settings objects a string grid owns and publishes: the search footer, keyboard navigation,
// mouse actions, a synchronised grid, alternating row bands and the focus helper. Plain property
// holders: a write that matters fires the object's change event, which the grid connects to its
// own handlers; Assign copies only from an object of the same class and fires nothing.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/StringGrid.h"
#include "platform/StringList.h"
#include "platform/Property.h"

#include <QPointer>
#include <QString>
#include <functional>

// ---- search footer ---------------------------------------------------------------------------

enum TSearchDirection { sdTopBottom, sdLeftRight };

class TSearchFooter {
public:
    // InitDesign gives the captions and hints their English texts (a grid placed at design time).
    explicit TSearchFooter(QObject* AOwner = nullptr, bool InitDesign = false);
    TSearchFooter(const TSearchFooter&) = delete;
    TSearchFooter& operator=(const TSearchFooter&) = delete;
    void Assign(const TSearchFooter& Source);

    QObject* Owner() const { return FOwner; }
    KT_PROPERTY(bool, AlwaysHighLight)
    KT_PROPERTY(bool, AutoSearch)
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    QString FindNextCaption() const { return FFindNextCaption; }
    void SetFindNextCaption(const QString& Value);
    QString FindPrevCaption() const { return FFindPrevCaption; }
    void SetFindPrevCaption(const QString& Value);
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value);
    QString HighLightCaption() const { return FHighLightCaption; }
    void SetHighLightCaption(const QString& Value);
    QString HintClose() const { return FHintClose; }
    void SetHintClose(const QString& Value);
    QString HintFindNext() const { return FHintFindNext; }
    void SetHintFindNext(const QString& Value);
    QString HintFindPrev() const { return FHintFindPrev; }
    void SetHintFindPrev(const QString& Value);
    QString HintHighlight() const { return FHintHighlight; }
    void SetHintHighlight(const QString& Value);
    QString MatchCaseCaption() const { return FMatchCaseCaption; }
    void SetMatchCaseCaption(const QString& Value);
    KT_PROPERTY(bool, SearchActiveColumnOnly)
    KT_PROPERTY(int, SearchColumn)
    KT_PROPERTY(bool, SearchMatchStart)
    KT_PROPERTY(bool, SearchFixedCells)
    KT_PROPERTY(bool, SearchHiddenRows)
    KT_PROPERTY(TSearchDirection, SearchDirection)
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool Value);
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool Value);
    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool Value);
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool Value);
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    // The last searched text.
    QString LastSearch;

    std::function<void(TSearchFooter* Sender)> OnChange;

private:
    void Changed();
    QObject* FOwner;
    bool FAlwaysHighLight = false;
    bool FAutoSearch = true;
    TColor FColor = 0xFFFFFF;
    TColor FColorTo = clBtnFace;
    QString FFindNextCaption;
    QString FFindPrevCaption;
    TFont FFont;
    QString FHighLightCaption;
    QString FHintClose;
    QString FHintFindNext;
    QString FHintFindPrev;
    QString FHintHighlight;
    QString FMatchCaseCaption;
    bool FSearchActiveColumnOnly = false;
    int FSearchColumn = -1;
    bool FSearchMatchStart = false;
    bool FSearchFixedCells = false;
    bool FSearchHiddenRows = false;
    TSearchDirection FSearchDirection = sdTopBottom;
    bool FShowClose = true;
    bool FShowFindNext = true;
    bool FShowFindPrev = true;
    bool FShowHighLight = true;
    bool FShowMatchCase = true;
    bool FVisible = false;
    bool FAutoThemeAdapt = false;
};

// ---- navigation ------------------------------------------------------------------------------

enum TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum TClipboardPasteAction { paReplace, paInsert };
enum TCursorAdvance { caDefault, caSnake, caLoop };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell };

class TNavigation {
public:
    TNavigation() = default;
    TNavigation(const TNavigation&) = delete;
    TNavigation& operator=(const TNavigation&) = delete;
    // Copies every setting but KeepScrollOnSort.
    void Assign(const TNavigation& Source);

#define KT_NAV_BOOL(Name, Init)                       \
public:                                               \
    bool Name() const { return F##Name; }             \
    void Set##Name(bool Value) { F##Name = Value; }   \
                                                      \
private:                                              \
    bool F##Name = Init;

    KT_NAV_BOOL(AllowInsertRow, false)
    KT_NAV_BOOL(AllowDeleteRow, false)
    KT_NAV_BOOL(AlwaysEdit, false)
    KT_NAV_BOOL(AdvanceOnEnter, false)
    KT_NAV_BOOL(AdvanceOnEnterLoop, true)
    KT_NAV_BOOL(AdvanceAutoEdit, true)
    KT_NAV_BOOL(AdvanceSkipReadOnlyCells, true)
    KT_NAV_BOOL(AutoGotoWhenSorted, false)
    KT_NAV_BOOL(AutoGotoIncremental, false)
    KT_NAV_BOOL(AutoComboDropSize, false)
    KT_NAV_BOOL(AllowClipboardShortCuts, false)
    KT_NAV_BOOL(AllowCtrlEnter, true)
    KT_NAV_BOOL(AllowSmartClipboard, false)
    KT_NAV_BOOL(AllowRTFClipboard, false)
    KT_NAV_BOOL(AllowFmtClipboard, false)
    KT_NAV_BOOL(AllowClipboardAlways, false)
    KT_NAV_BOOL(AllowClipboardRowGrow, true)
    KT_NAV_BOOL(AllowClipboardColGrow, true)
    KT_NAV_BOOL(AppendOnArrowDown, false)
    KT_NAV_BOOL(EditSelectAll, true)
    KT_NAV_BOOL(ComboGetUpDown, true)
    KT_NAV_BOOL(CursorWalkEditor, false)
    KT_NAV_BOOL(CursorWalkAlwaysEdit, true)
    KT_NAV_BOOL(CursorMoveRows, false)
    KT_NAV_BOOL(MoveRowOnSort, false)
    KT_NAV_BOOL(KeepScrollOnSort, false)
    KT_NAV_BOOL(MoveScrollOnly, false)
    KT_NAV_BOOL(ImproveMaskSel, false)
    KT_NAV_BOOL(LeftRightRowSelect, true)
    KT_NAV_BOOL(CopyHTMLTagsToClipboard, true)
    KT_NAV_BOOL(KeepHorizScroll, false)
    KT_NAV_BOOL(LineFeedOnEnter, false)
    KT_NAV_BOOL(SkipFixedCells, true)
    KT_NAV_BOOL(SkipDisabledRows, true)
    KT_NAV_BOOL(TabToNextAtEnd, false)
#undef KT_NAV_BOOL

public:
    // Writes that fire OnChange when the value changes.
    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool Value);
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection Value);
    // Switching it on also switches AdvanceOnEnter on.
    bool AdvanceAuto() const { return FAdvanceAuto; }
    void SetAdvanceAuto(bool Value);
    KT_PROPERTY(TInsertPosition, InsertPosition)
    KT_PROPERTY(TClipboardPasteAction, ClipboardPasteAction)
    KT_PROPERTY(TCursorAdvance, CursorAdvance)
    KT_PROPERTY(THomeEndAction, HomeEndKey)
    KT_PROPERTY(TAdvanceDirection, TabAdvanceDirection)

    std::function<void(TNavigation* Sender)> OnChange;

private:
    void Changed();
    bool FAdvanceInsert = false;
    TAdvanceDirection FAdvanceDirection = adLeftRight;
    bool FAdvanceAuto = false;
    TInsertPosition FInsertPosition = pInsertBefore;
    TClipboardPasteAction FClipboardPasteAction = paReplace;
    TCursorAdvance FCursorAdvance = caDefault;
    THomeEndAction FHomeEndKey = heFirstLastColumn;
    TAdvanceDirection FTabAdvanceDirection = adLeftRight;
};

// ---- mouse actions ---------------------------------------------------------------------------

enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction { waMoveSelection, waScroll };

class TMouseActions {
public:
    explicit TMouseActions(QObject* AOwner = nullptr) : FOwner(AOwner) {}
    TMouseActions(const TMouseActions&) = delete;
    TMouseActions& operator=(const TMouseActions&) = delete;
    // Copies every setting but EditOnDblClickOnly, HotmailRowSelect, SizeFixedRow and
    // FixedComboValues, as plain copies.
    void Assign(const TMouseActions& Source);

    QObject* Owner() const { return FOwner; }

#define KT_MA_BOOL(Name, Init)                        \
public:                                               \
    bool Name() const { return F##Name; }             \
    void Set##Name(bool Value) { F##Name = Value; }   \
                                                      \
private:                                              \
    bool F##Name = Init;

    KT_MA_BOOL(AllColumnSize, false)
    KT_MA_BOOL(AllRowSize, false)
    KT_MA_BOOL(AllSelect, false)
    KT_MA_BOOL(AutoSizeColOnDblClick, true)
    KT_MA_BOOL(CaretPositioning, false)
    KT_MA_BOOL(CheckAllCheck, false)
    KT_MA_BOOL(ColSelect, false)
    KT_MA_BOOL(DirectComboClose, false)
    KT_MA_BOOL(DirectComboDrop, false)
    KT_MA_BOOL(DirectDateClose, false)
    KT_MA_BOOL(DirectDateDrop, false)
    KT_MA_BOOL(DirectEdit, false)
    KT_MA_BOOL(DisjunctRowSelectNoCtrl, false)
    KT_MA_BOOL(MoveRowOnNodeClick, false)
    KT_MA_BOOL(NoAutoRangeScroll, false)
    KT_MA_BOOL(NodeAllExpandContract, false)
    KT_MA_BOOL(NoScrollOnPartialRow, false)
    KT_MA_BOOL(PreciseCheckBoxCheck, false)
    KT_MA_BOOL(PreciseNodeClick, true)
    KT_MA_BOOL(RangeSelectAndEdit, false)
    KT_MA_BOOL(RowSelect, false)
    KT_MA_BOOL(RowSelectPersistent, false)
    KT_MA_BOOL(SelectOnRightClick, false)
    KT_MA_BOOL(SizeFixedCol, false)
    KT_MA_BOOL(SizeFixedRow, false)
#undef KT_MA_BOOL

public:
    // While designing, switching one disjunct selection on switches the other two off.
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool Value);
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool Value);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool Value);
    // Switching it on fires OnDisableEdit.
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool Value);
    KT_PROPERTY(TGridFixedCellEdit, FixedRowsEdit)
    KT_PROPERTY(TGridFixedCellEdit, FixedColsEdit)
    KT_PROPERTY(TGridFixedCellEditor, FixedRowsEditor)
    KT_PROPERTY(TGridFixedCellEditor, FixedColsEditor)
    platform::TStringList& FixedComboValues() { return FFixedComboValues; }
    const platform::TStringList& FixedComboValues() const { return FFixedComboValues; }
    void SetFixedComboValues(const platform::TStringList& Value) { FFixedComboValues.Assign(Value); }
    // Switching it on also switches DisjunctRowSelect and CheckAllCheck on; fires OnInvalidate.
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool Value);
    KT_PROPERTY(int, WheelIncrement)
    TWheelAction WheelAction() const { return FWheelAction; }
    // When changed: stores and fires OnChange with the new value.
    void SetWheelAction(TWheelAction Value);

    std::function<void(TMouseActions* Sender, int Value)> OnChange;
    std::function<void(TMouseActions* Sender)> OnInvalidate;
    std::function<void(TMouseActions* Sender, bool& IsDesigning)> OnIsDesigning;
    std::function<void(TMouseActions* Sender)> OnDisableEdit;

private:
    bool IsDesigning();
    QObject* FOwner;
    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
    bool FEditOnDblClickOnly = false;
    TGridFixedCellEdit FFixedRowsEdit = fceNone;
    TGridFixedCellEdit FFixedColsEdit = fceNone;
    TGridFixedCellEditor FFixedRowsEditor = fceEdit;
    TGridFixedCellEditor FFixedColsEditor = fceEdit;
    platform::TStringList FFixedComboValues;
    bool FHotmailRowSelect = false;
    int FWheelIncrement = 0;
    TWheelAction FWheelAction = waMoveSelection;
};

// ---- synchronised grid -----------------------------------------------------------------------

// A second grid kept in step with the owner. A change passed from one grid to the other is never
// passed back: while a grid passes a change on (inside a TGuard), neither it nor its partner
// passes any change on again, whatever kind of change it is.
class TSyncGrid {
public:
    explicit TSyncGrid(TStringGrid* AOwner) : FOwner(AOwner) {}
    TSyncGrid(const TSyncGrid&) = delete;
    TSyncGrid& operator=(const TSyncGrid&) = delete;
    // Grid through its write (a source linked to this owner leaves Grid as it is), then the
    // switches.
    void Assign(const TSyncGrid& Source);

    TStringGrid* Owner() const { return FOwner; }
    // The other grid; forgotten when that grid is destroyed. The owner itself is refused.
    TStringGrid* Grid() const { return FGrid.data(); }
    void SetGrid(TStringGrid* Value);
    KT_PROPERTY(bool, ScrollVertical)
    KT_PROPERTY(bool, ScrollHorizontal)
    KT_PROPERTY(bool, SelectionColumn)
    KT_PROPERTY(bool, SelectionRow)
    KT_PROPERTY(bool, MoveColumn)
    KT_PROPERTY(bool, MoveRow)

    // True when a change of the owner is to be passed to Grid now: a grid is linked and neither
    // it nor the owner is passing a change on at the moment.
    bool CanSync() const;

    // Marks the owner as passing a change on for the guard's lifetime:
    //   if (SyncGrid.CanSync()) { TSyncGrid::TGuard g(SyncGrid); other->SetRow(...); }
    class TGuard {
    public:
        explicit TGuard(const TSyncGrid& Sync);
        ~TGuard();
        TGuard(const TGuard&) = delete;
        TGuard& operator=(const TGuard&) = delete;

    private:
        const TStringGrid* FGridMarked;
    };

private:
    TStringGrid* FOwner;
    QPointer<TStringGrid> FGrid;
    bool FScrollVertical = false;
    bool FScrollHorizontal = false;
    bool FSelectionColumn = false;
    bool FSelectionRow = false;
    bool FMoveColumn = false;
    bool FMoveRow = false;
};

// ---- bands -----------------------------------------------------------------------------------

class TBands {
public:
    TBands() = default;
    TBands(const TBands&) = delete;
    TBands& operator=(const TBands&) = delete;
    void Assign(const TBands& Source);

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // Colour and length writes fire OnChange only while Active.
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor Value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int Value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor Value);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int Value);
    KT_PROPERTY(bool, Print)
    int TotalLength() const { return FTotalLength; }

    std::function<void(TBands* Sender)> OnChange;

private:
    void Changed();
    bool FActive = false;
    TColor FPrimaryColor = clInfoBk;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    int FSecondaryLength = 1;
    bool FPrint = false;
    int FTotalLength = 2;
};

// ---- focus helper ----------------------------------------------------------------------------

class TFocusHelper {
public:
    explicit TFocusHelper(QObject* AOwner = nullptr) : FOwner(AOwner) {}
    TFocusHelper(const TFocusHelper&) = delete;
    TFocusHelper& operator=(const TFocusHelper&) = delete;
    void Assign(const TFocusHelper& Source) { FEnabled = Source.FEnabled; }

    QObject* Owner() const { return FOwner; }
    KT_PROPERTY(bool, Enabled)

private:
    QObject* FOwner;
    bool FEnabled = false;
};
