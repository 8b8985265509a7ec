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

// The values TSearchFooter::Assign copies, kept together so that one assignment copies them all.
struct TSearchFooterValues {
    bool FAlwaysHighLight = false;
    TColor FColor = 0xFFFFFF;
    TColor FColorTo = clBtnFace;
    QString FFindNextCaption;
    QString FFindPrevCaption;
    QString FHighLightCaption;
    QString FHintClose;
    QString FHintFindNext;
    QString FHintFindPrev;
    QString FHintHighlight;
    QString FMatchCaseCaption;
    bool FSearchActiveColumnOnly = false;
    int FSearchColumn = -1;
    bool FSearchMatchStart = false;
    bool FSearchHiddenRows = false;
    TSearchDirection FSearchDirection = sdTopBottom;
    bool FShowClose = true;
    bool FShowFindNext = true;
    bool FShowFindPrev = true;
    bool FShowHighLight = true;
    bool FShowMatchCase = true;
    bool FVisible = false;
};

class TSearchFooter : private TSearchFooterValues {
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
    bool FAutoSearch = true;
    TFont FFont;
    bool FSearchFixedCells = false;
    bool FAutoThemeAdapt = false;
};

// ---- navigation ------------------------------------------------------------------------------

enum TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum TClipboardPasteAction { paReplace, paInsert };
enum TCursorAdvance { caDefault, caSnake, caLoop };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell };

// The values TNavigation::Assign copies, kept together so that one assignment copies them all.
struct TNavigationValues {
    bool FAllowInsertRow = false;
    bool FAllowDeleteRow = false;
    bool FAlwaysEdit = false;
    bool FAdvanceOnEnter = false;
    bool FAdvanceOnEnterLoop = true;
    bool FAdvanceAutoEdit = true;
    bool FAdvanceSkipReadOnlyCells = true;
    bool FAutoGotoWhenSorted = false;
    bool FAutoGotoIncremental = false;
    bool FAutoComboDropSize = false;
    bool FAllowClipboardShortCuts = false;
    bool FAllowCtrlEnter = true;
    bool FAllowSmartClipboard = false;
    bool FAllowRTFClipboard = false;
    bool FAllowFmtClipboard = false;
    bool FAllowClipboardAlways = false;
    bool FAllowClipboardRowGrow = true;
    bool FAllowClipboardColGrow = true;
    bool FAppendOnArrowDown = false;
    bool FEditSelectAll = true;
    bool FComboGetUpDown = true;
    bool FCursorWalkEditor = false;
    bool FCursorWalkAlwaysEdit = true;
    bool FCursorMoveRows = false;
    bool FMoveRowOnSort = false;
    bool FMoveScrollOnly = false;
    bool FImproveMaskSel = false;
    bool FLeftRightRowSelect = true;
    bool FCopyHTMLTagsToClipboard = true;
    bool FKeepHorizScroll = false;
    bool FLineFeedOnEnter = false;
    bool FSkipFixedCells = true;
    bool FSkipDisabledRows = true;
    bool FTabToNextAtEnd = false;
    bool FAdvanceInsert = false;
    TAdvanceDirection FAdvanceDirection = adLeftRight;
    bool FAdvanceAuto = false;
    TInsertPosition FInsertPosition = pInsertBefore;
    TClipboardPasteAction FClipboardPasteAction = paReplace;
    TCursorAdvance FCursorAdvance = caDefault;
    THomeEndAction FHomeEndKey = heFirstLastColumn;
    TAdvanceDirection FTabAdvanceDirection = adLeftRight;
};

class TNavigation : private TNavigationValues {
public:
    TNavigation() = default;
    TNavigation(const TNavigation&) = delete;
    TNavigation& operator=(const TNavigation&) = delete;
    // Copies every setting but KeepScrollOnSort.
    void Assign(const TNavigation& Source);

    KT_PROPERTY(bool, AllowInsertRow)
    KT_PROPERTY(bool, AllowDeleteRow)
    KT_PROPERTY(bool, AlwaysEdit)
    KT_PROPERTY(bool, AdvanceOnEnter)
    KT_PROPERTY(bool, AdvanceOnEnterLoop)
    KT_PROPERTY(bool, AdvanceAutoEdit)
    KT_PROPERTY(bool, AdvanceSkipReadOnlyCells)
    KT_PROPERTY(bool, AutoGotoWhenSorted)
    KT_PROPERTY(bool, AutoGotoIncremental)
    KT_PROPERTY(bool, AutoComboDropSize)
    KT_PROPERTY(bool, AllowClipboardShortCuts)
    KT_PROPERTY(bool, AllowCtrlEnter)
    KT_PROPERTY(bool, AllowSmartClipboard)
    KT_PROPERTY(bool, AllowRTFClipboard)
    KT_PROPERTY(bool, AllowFmtClipboard)
    KT_PROPERTY(bool, AllowClipboardAlways)
    KT_PROPERTY(bool, AllowClipboardRowGrow)
    KT_PROPERTY(bool, AllowClipboardColGrow)
    KT_PROPERTY(bool, AppendOnArrowDown)
    KT_PROPERTY(bool, EditSelectAll)
    KT_PROPERTY(bool, ComboGetUpDown)
    KT_PROPERTY(bool, CursorWalkEditor)
    KT_PROPERTY(bool, CursorWalkAlwaysEdit)
    KT_PROPERTY(bool, CursorMoveRows)
    KT_PROPERTY(bool, MoveRowOnSort)
    KT_PROPERTY(bool, KeepScrollOnSort)
    KT_PROPERTY(bool, MoveScrollOnly)
    KT_PROPERTY(bool, ImproveMaskSel)
    KT_PROPERTY(bool, LeftRightRowSelect)
    KT_PROPERTY(bool, CopyHTMLTagsToClipboard)
    KT_PROPERTY(bool, KeepHorizScroll)
    KT_PROPERTY(bool, LineFeedOnEnter)
    KT_PROPERTY(bool, SkipFixedCells)
    KT_PROPERTY(bool, SkipDisabledRows)
    KT_PROPERTY(bool, TabToNextAtEnd)
    // Writes that fire OnChange when the value changes.
    KT_PROPERTY_CHANGE(bool, AdvanceInsert, Changed)
    KT_PROPERTY_CHANGE(TAdvanceDirection, AdvanceDirection, Changed)
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
    bool FKeepScrollOnSort = false;
};

// ---- mouse actions ---------------------------------------------------------------------------

enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction { waMoveSelection, waScroll };

// The values TMouseActions::Assign copies, kept together so that one assignment copies them all.
struct TMouseActionsValues {
    bool FAllColumnSize = false;
    bool FAllRowSize = false;
    bool FAllSelect = false;
    bool FAutoSizeColOnDblClick = true;
    bool FCaretPositioning = false;
    bool FCheckAllCheck = false;
    bool FColSelect = false;
    bool FDirectComboClose = false;
    bool FDirectComboDrop = false;
    bool FDirectDateClose = false;
    bool FDirectDateDrop = false;
    bool FDirectEdit = false;
    bool FDisjunctRowSelectNoCtrl = false;
    bool FMoveRowOnNodeClick = false;
    bool FNoAutoRangeScroll = false;
    bool FNodeAllExpandContract = false;
    bool FNoScrollOnPartialRow = false;
    bool FPreciseCheckBoxCheck = false;
    bool FPreciseNodeClick = true;
    bool FRangeSelectAndEdit = false;
    bool FRowSelect = false;
    bool FRowSelectPersistent = false;
    bool FSelectOnRightClick = false;
    bool FSizeFixedCol = false;
    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
    TGridFixedCellEdit FFixedRowsEdit = fceNone;
    TGridFixedCellEdit FFixedColsEdit = fceNone;
    TGridFixedCellEditor FFixedRowsEditor = fceEdit;
    TGridFixedCellEditor FFixedColsEditor = fceEdit;
    int FWheelIncrement = 0;
    TWheelAction FWheelAction = waMoveSelection;
};

class TMouseActions : private TMouseActionsValues {
public:
    explicit TMouseActions(QObject* AOwner = nullptr) : FOwner(AOwner) {}
    TMouseActions(const TMouseActions&) = delete;
    TMouseActions& operator=(const TMouseActions&) = delete;
    // Copies every setting but EditOnDblClickOnly, HotmailRowSelect, SizeFixedRow and
    // FixedComboValues, as plain copies.
    void Assign(const TMouseActions& Source);

    QObject* Owner() const { return FOwner; }

    KT_PROPERTY(bool, AllColumnSize)
    KT_PROPERTY(bool, AllRowSize)
    KT_PROPERTY(bool, AllSelect)
    KT_PROPERTY(bool, AutoSizeColOnDblClick)
    KT_PROPERTY(bool, CaretPositioning)
    KT_PROPERTY(bool, CheckAllCheck)
    KT_PROPERTY(bool, ColSelect)
    KT_PROPERTY(bool, DirectComboClose)
    KT_PROPERTY(bool, DirectComboDrop)
    KT_PROPERTY(bool, DirectDateClose)
    KT_PROPERTY(bool, DirectDateDrop)
    KT_PROPERTY(bool, DirectEdit)
    KT_PROPERTY(bool, DisjunctRowSelectNoCtrl)
    KT_PROPERTY(bool, MoveRowOnNodeClick)
    KT_PROPERTY(bool, NoAutoRangeScroll)
    KT_PROPERTY(bool, NodeAllExpandContract)
    KT_PROPERTY(bool, NoScrollOnPartialRow)
    KT_PROPERTY(bool, PreciseCheckBoxCheck)
    KT_PROPERTY(bool, PreciseNodeClick)
    KT_PROPERTY(bool, RangeSelectAndEdit)
    KT_PROPERTY(bool, RowSelect)
    KT_PROPERTY(bool, RowSelectPersistent)
    KT_PROPERTY(bool, SelectOnRightClick)
    KT_PROPERTY(bool, SizeFixedCol)
    KT_PROPERTY(bool, SizeFixedRow)
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
    KT_OBJECT_PROPERTY(platform::TStringList, FixedComboValues)
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
    bool FSizeFixedRow = false;
    bool FEditOnDblClickOnly = false;
    platform::TStringList FFixedComboValues;
    bool FHotmailRowSelect = false;
};

// ---- synchronised grid -----------------------------------------------------------------------

// The values TSyncGrid::Assign copies, kept together so that one assignment copies them all.
struct TSyncGridValues {
    bool FScrollVertical = false;
    bool FScrollHorizontal = false;
    bool FSelectionColumn = false;
    bool FSelectionRow = false;
    bool FMoveColumn = false;
    bool FMoveRow = false;
};

// A second grid kept in step with the owner. A change passed from one grid to the other is never
// passed back: while a grid passes a change on (inside a TGuard), neither it nor its partner
// passes any change on again, whatever kind of change it is.
class TSyncGrid : private TSyncGridValues {
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
};

// ---- bands -----------------------------------------------------------------------------------

// The values TBands::Assign copies, kept together so that one assignment copies them all.
struct TBandsValues {
    bool FActive = false;
    TColor FPrimaryColor = clInfoBk;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    int FSecondaryLength = 1;
    bool FPrint = false;
};

class TBands : private TBandsValues {
public:
    TBands() = default;
    TBands(const TBands&) = delete;
    TBands& operator=(const TBands&) = delete;
    void Assign(const TBands& Source);

    KT_PROPERTY_CHANGE(bool, Active, Changed)
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
