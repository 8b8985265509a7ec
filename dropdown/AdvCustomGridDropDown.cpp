// The grid drop-down and its list grid: columns and items, the fill of the list, completion while
// typing, the type-ahead of the open list, choosing and closing, sizing and the component styles.
#include "dropdown/AdvCustomGridDropDown.h"

#include "platform/Keys.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <cmath>

using namespace platform;

namespace AdvCustomGridDropDown {

namespace {
// The height of the list grid's search footer, docked over the bottom of its rows.
constexpr int SearchFooterPixels = 32;
} // namespace

// ---- columns and items -----------------------------------------------------------------------

void TDropDownColumn::Assign(const TDropDownColumn& Source)
{
    // Every setting, in the order they are declared (the font through its own Assign).
    *this = Source;
}

int CellObjectInt(const TGridObject& Obj, int Default)
{
    if (auto* o = dynamic_cast<TItemIndexObject*>(Obj.get()))
        return o->Value;
    return Default;
}

// ---- the list grid ---------------------------------------------------------------------------

TAdvColGrid::TAdvColGrid(QWidget* AOwner) : TVerIvovavOzed(AOwner), TDropDownGridLook(0x808080, 0x000000)
{
    FColumns = std::make_unique<TDropDownColumns>(nullptr);
    FHeaderColorTo = 0x808080;
    FHeaderColor = 0xFFFFFF;
    FLineColor = 0x808080;
    SetFixedRowAlways(true);
    SetFixedRows(1);
    SetFixedCols(0);
    FHeaderHeight = 25;
    TGridOptions o = Options();
    o &= ~TGridOptions(goRangeSelect);
    o |= goHorzLine;
    o |= goRowSelect;
    SetOptions(o);
    SetBorderStyle(bsNone);
    FGridLineWidth = 1;
}

TAdvColGrid::~TAdvColGrid() = default;

void TAdvColGrid::SetListGridLineWidth(int Value)
{
    FGridLineWidth = Value;
    SetGridLineWidth(0);
    Invalidate();
}

void TAdvColGrid::ImagesRemoved(TCustomImageList* AList)
{
    if (AList && AList == FImages)
        FImages = nullptr;
}

void TAdvColGrid::SetupFromDropDown(TCustomAdvGridDropDown* D)
{
    if (!D)
        return;
    LinkToDropDown(D);
    FColumns->Assign(D->Columns());
    if (ColCount() < FColumns->Count())
        SetColCount(FColumns->Count());
    if (D->UseItems())
        SetRowCount(D->Items().Count() + 1);
    for (int i = 0; i < D->Columns().Count(); ++i)
        SetColWidths(i, FColumns->Items(i)->Width);
    FLineColor = D->LineColor();
    FFixedLineColor = D->FixedLineColor();
    FHeaderColor = D->HeaderColor();
    FHeaderColorTo = D->HeaderColorTo();
    FHeaderHeight = D->HeaderHeight();
    FHeaderFont.Assign(D->HeaderFont());
    SetHoverRow(D->HoverRow());
    SetHoverRowColor(D->HoverRowColor());
    SetHoverRowColorTo(D->HoverRowColorTo());
    FImages = D->Images();
    SetDefaultRowHeight(D->DropDownRowHeight());
    SetRowHeights(0, D->HeaderHeight());
    TGridOptions o = Options();
    auto flag = [&o](TGridOption f, bool on) {
        if (on)
            o |= f;
        else
            o &= ~TGridOptions(f);
    };
    flag(goColSizing, D->ColumnSizing());
    flag(goColMoving, D->ColumnMoving());
    flag(goRowSizing, D->RowSizing());
    flag(goRowMoving, D->RowMoving());
    SetOptions(o);
    if (D->AutoSizeColumns()) {
        if (D->UseItems()) {
            for (int i = 0; i < FColumns->Count(); ++i)
                if (FColumns->Items(i)->AutoSize)
                    AutoSizeColumn(i);
        } else {
            TVerIvovavOzed::AutoSizeColumns(true, 4);
        }
    }
    SetRowHeightsFromContent();
}

void TAdvColGrid::FillFromItems()
{
    if (!FAdvDropDown)
        return;
    if (ColCount() != FColumns->Count())
        SetColCount(FColumns->Count());
    for (int i = 0; i < FColumns->Count(); ++i) {
        SetCells(i, 0, FColumns->Items(i)->Header);
        SetObjects(i, 0, std::make_shared<TItemIndexObject>(-1));
    }
    TDropDownItems& items = FAdvDropDown->Items();
    if (items.Count() > 0)
        SetRowCount(FixedRows() + items.Count());
    for (int k = 0; k < items.Count(); ++k) {
        const QStringList& t = items.Items(k)->Text;
        for (int i = 0; i < FColumns->Count(); ++i)
            SetCells(i, k + 1, i < t.size() ? t.at(i) : QString());
        SetObjects(0, k + 1, std::make_shared<TItemIndexObject>(k));
    }
}

bool TAdvColGrid::CanMeasure() const
{
    return FAdvDropDown && qobject_cast<TDropDownForm*>(parentWidget()) != nullptr;
}

void TAdvColGrid::AutoSizeColumn(int AIndex)
{
    if (AIndex < 0 || AIndex >= FColumns->Count() || !FColumns->Items(AIndex)->AutoSize || !CanMeasure())
        return;
    TDropDownColumn* col = FColumns->Items(AIndex);
    const QFontMetrics fm(col->Font.ToQFont());
    TDropDownItems& items = FAdvDropDown->Items();
    int widest = 0;
    for (int r = 1; r < RowCount(); ++r) {
        const int k = r - 1;
        if (k >= items.Count())
            break;
        // Each row counts its own entry: its text in the column and, for an image column, its image.
        const TDropDownItem* it = items.Items(k);
        const bool hasText = AIndex < it->Text.size();
        const QString s = hasText ? it->Text.at(AIndex) : QString();
        const int img = (col->ColumnType == ctImage && hasText) ? it->ImageIndex : -1;
        int w = 0;
        if (img >= 0 && FImages)
            w += FImages->Width() + 4;
        if (!s.isEmpty())
            w += fm.horizontalAdvance(s) + 6;
        widest = std::max(widest, w);
    }
    col->Width = widest;
    SetColWidths(AIndex, widest);
}

void TAdvColGrid::SetRowHeightsFromContent()
{
    if (!CanMeasure())
        return;
    bool any = false;
    for (int i = 0; i < FColumns->Count(); ++i)
        any = any || FColumns->Items(i)->Wordwrap;
    if (!any)
        return;
    TDropDownItems& items = FAdvDropDown->Items();
    for (int r = FixedRows(); r < RowCount(); ++r) {
        // Measured after any sort: the row's own entry is the one its first cell names; rows
        // without one (the application's own rows) are measured from their cell texts.
        const int k = CellObjectInt(Objects(0, r), -1);
        const TDropDownItem* it = (k >= 0 && k < items.Count()) ? items.Items(k) : nullptr;
        int h = 24;
        for (int c = 0; c < ColCount() && c < FColumns->Count(); ++c) {
            TDropDownColumn* col = FColumns->Items(c);
            if (!col->Wordwrap)
                continue;
            QString s;
            if (it) {
                const bool hasText = c < it->Text.size();
                s = hasText ? it->Text.at(c) : QString();
                if (col->ColumnType == ctImage && hasText && it->ImageIndex >= 0 && FImages)
                    h = std::max(h, FImages->Height() + 6);
            } else {
                s = Cells(c, r);
            }
            if (!s.isEmpty()) {
                const QFontMetrics fm(col->Font.ToQFont());
                const QRect b = fm.boundingRect(QRect(0, 0, std::max(1, ColWidths(c)), 100000),
                                                Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, s);
                h = std::max(h, b.height() + 6);
            }
        }
        SetRowHeights(r, h);
    }
}

int TAdvColGrid::NaturalWidth() const
{
    int w = 0; // the list has no border of its own
    for (int c = 0; c < ColCount(); ++c)
        w += ColWidths(c);
    if (VisibleRowCount() + FixedRows() != RowCount())
        w += qApp->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return w;
}

void TAdvColGrid::DoSelect()
{
    if (OnSelect)
        OnSelect(this);
}

bool TAdvColGrid::WantsKey(Word Key, TShiftState Shift)
{
    // Arrows and Tab stay with the list; so do Enter (choose) and Escape (cancel), which the
    // pop-up has no dialog for.
    if (Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE)
        return true;
    return TVerIvovavOzed::WantsKey(Key, Shift);
}

void TAdvColGrid::WMKeyDown(TWMKey& Msg)
{
    if (Msg.CharCode == VK_TAB)
        return; // Tab does nothing in the list
    if (Msg.CharCode == VK_RETURN && !EditorMode()) {
        // Enter chooses the current row; the grid's own Enter handling has nothing to do here.
        Word k = VK_RETURN;
        KeyDown(k, Msg.Shift);
        Msg.Result = 1;
        return;
    }
    TVerIvovavOzed::WMKeyDown(Msg);
}

void TAdvColGrid::WMChar(TWMKey& Msg)
{
    if (Msg.CharCode == 13) {
        Msg.Result = 1;
        return;
    }
    TVerIvovavOzed::WMChar(Msg);
}

void TAdvColGrid::KeyDown(Word& Key, TShiftState Shift)
{
    FConfirmSelection = true;
    if ((Key == VK_UP || Key == VK_DOWN) && Shift.testFlag(ssAlt)) {
        // Closes the open list keeping the choice (never opens it again when the pop-up's key
        // path closed it already).
        if (FAdvDropDown && FAdvDropDown->DroppedDown())
            FAdvDropDown->PerformKeyDown(Key, Shift);
        return;
    }
    if (Key == VK_RETURN) {
        QPointer<TAdvColGrid> self(this);
        Word k = 0;
        TVerIvovavOzed::KeyDown(k, Shift);
        Key = 0;
        if (self)
            DoSelect();
        return;
    }
    TVerIvovavOzed::KeyDown(Key, Shift);
}

void TAdvColGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FConfirmSelection = true;
    TVerIvovavOzed::MouseDown(Button, Shift, X, Y);
}

void TAdvColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    QPointer<TAdvColGrid> self(this);
    TVerIvovavOzed::MouseUp(Button, Shift, X, Y);
    if (!self || Button != mbLeft)
        return;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0)
        return;
    if (!HasCheckBox(c, r) && r >= FixedRows() && r < RowCount())
        DoSelect();
}

bool TAdvColGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    FMouseWheelSelection = true;
    FConfirmSelection = false;
    QPointer<TAdvColGrid> self(this);
    bool res = false;
    try {
        res = TVerIvovavOzed::DoMouseWheel(Shift, WheelDelta, MousePos);
    } catch (...) {
        if (self)
            FMouseWheelSelection = false;
        throw;
    }
    if (self)
        FMouseWheelSelection = false;
    return res;
}

bool TAdvColGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    FMouseWheelSelection = true;
    FConfirmSelection = false;
    const bool res = TVerIvovavOzed::DoMouseWheelDown(Shift, MousePos);
    FMouseWheelSelection = false;
    return res;
}

bool TAdvColGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    FMouseWheelSelection = true;
    FConfirmSelection = false;
    const bool res = TVerIvovavOzed::DoMouseWheelUp(Shift, MousePos);
    FMouseWheelSelection = false;
    return res;
}

} // namespace AdvCustomGridDropDown

using namespace AdvCustomGridDropDown;

// ---- the grid drop-down ------------------------------------------------------------------------

TCustomAdvGridDropDown::TCustomAdvGridDropDown(QWidget* AOwner) : TAdvCustomDropDown(AOwner), TDropDownGridLook(0xF1EDEB, 0xD1BBA4)
{
    FColumns = std::make_unique<TDropDownColumns>(this);
    // With its captions, or the footer's buttons show only their glyphs.
    FSearchFooter = std::make_unique<TSearchFooter>(this, true);
    FBands = std::make_unique<TBands>();
    FNavigation = std::make_unique<TNavigation>();
    FNavigation->SetHomeEndKey(heFirstLastRow);
    FMouseActions = std::make_unique<TMouseActions>(this);
}

TCustomAdvGridDropDown::~TCustomAdvGridDropDown()
{
    if (FAdvColGrid)
        FAdvColGrid->UnRegisterSelListener(this);
}

std::unique_ptr<TDropDownItems> TCustomAdvGridDropDown::CreateItems()
{
    return std::make_unique<TDropDownItems>(this);
}

void TCustomAdvGridDropDown::Create()
{
    FItems = CreateItems();
    TAdvCustomDropDown::Create(); // builds the pop-up and with it the list grid; applies the styles
    SetDropDownColor(0xFFFFFF);
    SetDropDownHeight(200);
    FOldItemIndex = -1;
}

void TCustomAdvGridDropDown::RebuildLookupList()
{
    if (FLookupColumn < 0 || FItems->Count() == 0)
        return;
    FLookupItems.clear();
    FLookupUpper.clear();
    FLookupItems.reserve(FItems->Count());
    FLookupUpper.reserve(FItems->Count());
    for (int k = 0; k < FItems->Count(); ++k) {
        const QStringList& t = FItems->Items(k)->Text;
        FLookupItems << (FLookupColumn < t.size() ? t.at(FLookupColumn) : QString());
        FLookupUpper << FLookupItems.constLast().toUpper();
    }
}

void TCustomAdvGridDropDown::EndUpdate()
{
    RebuildLookupList();
}

void TCustomAdvGridDropDown::Loaded()
{
    TAdvCustomDropDown::Loaded();
    RebuildLookupList();
    if (FAdvColGrid)
        FAdvColGrid->FillFromItems();
}

void TCustomAdvGridDropDown::SetStyle(TDropDownStyle Value)
{
    FStyle = Value;
    SetEditorEnabled(Value == dsDropDown);
}

int TCustomAdvGridDropDown::RowCount() const
{
    if (FUseItems)
        return FItems->Count();
    return FAdvColGrid ? FAdvColGrid->RowCount() - FAdvColGrid->FixedRows() : 0;
}

void TCustomAdvGridDropDown::SetItemIndex(int Value)
{
    if (FUseItems) {
        if (Value >= FItems->Count())
            return;
        FItemIndex = Value;
        QString s;
        if (Value >= 0 && FLookupColumn >= 0) {
            const QStringList& t = FItems->Items(Value)->Text;
            if (FLookupColumn < t.size())
                s = t.at(FLookupColumn);
        }
        SetText(s);
        FollowItemIndex();
        return;
    }
    if (!FAdvColGrid) {
        FItemIndex = Value;
        FollowItemIndex();
        return;
    }
    if (Value != FItemIndex && Value < FAdvColGrid->RowCount()) {
        FItemIndex = Value;
        SetText(Value < 0 ? QString() : FAdvColGrid->Cells(FLookupColumn, Value + 1));
    }
    FollowItemIndex();
}

void TCustomAdvGridDropDown::FollowItemIndex()
{
    // The list's row follows the choice, so that confirming the list never takes a row left
    // from an earlier opening; a choice made while the list is closed is the one Escape restores.
    if (FAdvColGrid) {
        const int fixed = FAdvColGrid->FixedRows();
        int row = FItemIndex < 0 ? -1 : FItemIndex + fixed;
        if (FUseItems)
            for (int r = fixed; r < FAdvColGrid->RowCount(); ++r)
                if (FAdvColGrid->Objects(0, r) && CellObjectInt(FAdvColGrid->Objects(0, r), -2) == FItemIndex) {
                    row = r;
                    break;
                }
        FSelRow = row;
    }
    if (!DroppedDown())
        FOldItemIndex = FItemIndex;
}

int TCustomAdvGridDropDown::RowToItem(int ARow) const
{
    if (!FAdvColGrid || ARow < 0 || ARow >= FAdvColGrid->RowCount())
        return ARow;
    return CellObjectInt(FAdvColGrid->Objects(0, ARow), ARow);
}

int TCustomAdvGridDropDown::ItemToRow(int AItem) const
{
    if (FAdvColGrid)
        for (int r = FAdvColGrid->FixedRows(); r < FAdvColGrid->RowCount(); ++r)
            if (FAdvColGrid->Objects(0, r) && CellObjectInt(FAdvColGrid->Objects(0, r), -2) == AItem)
                return r;
    return FItemIndex;
}

// ---- completion while typing ---------------------------------------------------------------

void TCustomAdvGridDropDown::HandleChange()
{
    FItemChange = false;
    TAdvCustomDropDown::HandleChange();
    if (!workmode || FInChange)
        return;
    SetModified(Text() != FOldValue);
    const QString text = Text();
    const int P = std::min(int(cursorPosition()), int(text.size()));
    const QString typed = text.left(P);
    const QString key = Fold(text, FMatchCase).left(P);
    if (FLookupItems.isEmpty() || key.isEmpty())
        return;
    FInChange = true;
    struct Guard {
        bool& f;
        ~Guard() { f = false; }
    } guard{FInChange};
    // Compared against the entries upper-cased once, when the lookup list was built.
    const QStringList& entries = FMatchCase ? FLookupItems : FLookupUpper;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).startsWith(key)) {
            const QString full = text.left(key.size()) + FLookupItems.at(i).mid(key.size()).left(255);
            setText(full);
            FItemIndex = i;
            FItemIdx = i;
            FItemChange = true;
            setSelection(int(full.size()), -(int(full.size()) - int(key.size())));
            return;
        }
    }
    if (!typed.isEmpty()) {
        setText(typed);
        setCursorPosition(int(typed.size()));
    }
}

void TCustomAdvGridDropDown::HandleKeyDown(Word& Key, TShiftState Shift)
{
    if (FAdvColGrid && FGridEditable && FAdvColGrid->EditorMode() && Key == VK_RETURN && !Shift.testFlag(ssShift)) {
        FAdvColGrid->HideInplaceEdit();
        const int row = FAdvColGrid->Row();
        SetText(FAdvColGrid->Cells(FLookupColumn, row));
        SetItemIndex(row - FAdvColGrid->FixedRows());
        // In the lookup column the Enter goes on and closes the list keeping the choice;
        // elsewhere it only ends the cell's edit.
        if (FAdvColGrid->Col() != FLookupColumn)
            Key = 0;
        return;
    }
    if (FLookupColumn < 0 || FItems->Count() == 0) {
        TAdvCustomDropDown::HandleKeyDown(Key, Shift);
        return;
    }
    QPointer<TCustomAdvGridDropDown> self(this);
    if (Key == VK_BACK || Key == VK_ESCAPE || Key == VK_DELETE) {
        workmode = false;
    } else if (Key == VK_RETURN) {
        const QString t = Text();
        for (int i = 0; i < FLookupItems.size(); ++i) {
            if (FLookupItems.at(i).compare(t, Qt::CaseInsensitive) == 0) {
                SetText(FLookupItems.at(i));
                if (!self)
                    return;
                SetItemIndex(i);
                HandleChange();
                break;
            }
        }
        if (!self)
            return;
        if (FOwnReturnIsTab) {
            // Then the focus moves on as after Tab.
            Key = 0;
            if (isVisible()) {
                QPointer<TCustomAdvGridDropDown> edit(this);
                QTimer::singleShot(0, this, [edit]() {
                    if (edit)
                        edit->focusNextChild();
                });
            }
        }
    } else {
        workmode = true;
    }
    if (Key == VK_ESCAPE || (Key >= 33 && Key <= 40))
        FLookupEntry.clear();
    TAdvCustomDropDown::HandleKeyDown(Key, Shift);
    if (self && Key == VK_ESCAPE) {
        // The entry the text names, in any case; a text that names none empties the choice.
        int idx = -1;
        const QString t = Text();
        for (int i = 0; i < FLookupItems.size() && idx < 0; ++i)
            if (FLookupItems.at(i).compare(t, Qt::CaseInsensitive) == 0)
                idx = i;
        SetItemIndex(idx);
    }
}

void TCustomAdvGridDropDown::HandleKeyPress(QChar& Key)
{
    if (Key.unicode() == 13 && ReturnIsTab()) {
        Key = QChar();
        return;
    }
    TAdvCustomDropDown::HandleKeyPress(Key);
}

void TCustomAdvGridDropDown::PerformKeyDown(Word Key, TShiftState Shift)
{
    QPointer<TCustomAdvGridDropDown> self(this);
    if (Key == VK_RETURN && FAdvColGrid)
        FAdvColGrid->SetConfirmSelection(true);
    TAdvCustomDropDown::PerformKeyDown(Key, Shift);
    if (!self || !isEnabled() || Shift.testFlag(ssAlt))
        return;
    const int n = RowCount();
    switch (Key) {
    case VK_PRIOR:
        FLookupEntry.clear();
        if (n > 0)
            StepTo((FItemIndex == -1 || FItemIndex - 10 < 0) ? 0 : FItemIndex - 10);
        break;
    case VK_NEXT:
        FLookupEntry.clear();
        if (n > 0)
            StepTo(FItemIndex == -1 ? 0 : std::min(FItemIndex + 10, n - 1));
        break;
    case VK_UP:
        FLookupEntry.clear();
        SelectPreviousValue();
        break;
    case VK_DOWN:
        FLookupEntry.clear();
        SelectNextValue();
        break;
    case VK_END:
    case VK_HOME:
        FLookupEntry.clear();
        if (n > 0 && !Shift.testFlag(ssShift) && FStyle == dsDropDownList)
            StepTo(Key == VK_END ? n - 1 : 0);
        break;
    default:
        break;
    }
}

void TCustomAdvGridDropDown::StepTo(int Index)
{
    SetItemIndex(Index);
}

void TCustomAdvGridDropDown::SelectNextValue()
{
    TAdvCustomDropDown::SelectNextValue();
    const int n = RowCount();
    if (n == 0)
        return;
    if (FItemIndex == -1)
        StepTo(0);
    else if (FItemIndex + 1 < n)
        StepTo(FItemIndex + 1);
}

void TCustomAdvGridDropDown::SelectPreviousValue()
{
    TAdvCustomDropDown::SelectPreviousValue();
    if (RowCount() == 0)
        return;
    if (FItemIndex == -1)
        StepTo(0);
    else if (FItemIndex - 1 >= 0)
        StepTo(FItemIndex - 1);
}

void TCustomAdvGridDropDown::keyPressEvent(QKeyEvent* event)
{
    QPointer<TCustomAdvGridDropDown> self(this);
    TAdvCustomDropDown::keyPressEvent(event);
    if (!self)
        return;
    try {
        const TKeyStroke stroke = TranslateKey(event);
        // Enter, Escape and the other control characters are keys, not search text.
        if (stroke.Char.isNull() || (stroke.Char.unicode() < 32 && stroke.Char.unicode() != 8))
            return;
        TypeAhead(stroke.Char);
        if (self && FAutoShowDropDown && !DroppedDown())
            ShowDropDown();
    } catch (...) {
    }
}

void TCustomAdvGridDropDown::keyReleaseEvent(QKeyEvent* event)
{
    TAdvCustomDropDown::keyReleaseEvent(event);
    try {
        const TKeyStroke stroke = TranslateKey(event);
        KeyUpStep(stroke.Key, stroke.Shift);
    } catch (...) {
    }
}

void TCustomAdvGridDropDown::KeyUpStep(Word Key, TShiftState Shift)
{
    QPointer<TCustomAdvGridDropDown> self(this);
    if (FAdvColGrid && FGridEditable && FAdvColGrid->EditorMode() && Key == VK_RETURN && !Shift.testFlag(ssShift)) {
        if (FAdvColGrid->Col() == FLookupColumn)
            HideDropDown(false);
        else
            FAdvColGrid->HideInplaceEdit();
    }
    if (self && FItemChange) {
        SetItemIndex(FItemIdx);
        FItemChange = false;
    }
}

// ---- type-ahead ------------------------------------------------------------------------------

int TCustomAdvGridDropDown::SearchEntry(const QString& S, QString& Found) const
{
    const QString key = Fold(S, FCaseSensitive);
    if (!FAdvColGrid)
        return -1;
    if (FUseItems) {
        for (int k = 0; k < FItems->Count(); ++k) {
            const QStringList& t = FItems->Items(k)->Text;
            const QString s = (FLookupColumn >= 0 && FLookupColumn < t.size()) ? t.at(FLookupColumn) : QString();
            if (Fold(s, FCaseSensitive).startsWith(key)) {
                Found = s;
                return k;
            }
        }
        return -1;
    }
    for (int r = FAdvColGrid->FixedRows(); r < FAdvColGrid->RowCount(); ++r) {
        const QString s = FAdvColGrid->Cells(FLookupColumn, r);
        if (Fold(s, FCaseSensitive).startsWith(key)) {
            Found = s;
            return r;
        }
    }
    return -1;
}

int TCustomAdvGridDropDown::TypeAhead(QChar C)
{
    if (FLookupMethod == lmNone)
        return -1;
    if (C.unicode() == 8) {
        if (SelLength() == 0) {
            FLookupEntry.chop(1);
            SetText(FLookupEntry);
            setCursorPosition(int(text().size()));
        } else {
            QString t = text();
            t.remove(SelStart(), SelLength());
            SetText(t);
            setCursorPosition(int(text().size()));
        }
        return -1;
    }
    if (C.unicode() != 9)
        FLookupEntry += C;
    const QString E = FLookupEntry.trimmed();
    if (FLookupMethod == lmNarrowDown) {
        if (!FAdvColGrid)
            return -1;
        if (!E.isEmpty()) {
            FAdvColGrid->SetFixedRowAlways(true);
            FAdvColGrid->NarrowDown(E, FLookupColumn);
            const int first = FAdvColGrid->FixedRows();
            if (FStyle == dsDropDown && FAdvColGrid->RowCount() > first) {
                const QString t = FAdvColGrid->Cells(FLookupColumn, first);
                SetText(t);
                SetSel(int(FLookupEntry.size()), std::max(0, int(t.size()) - int(FLookupEntry.size())));
            }
        } else {
            FAdvColGrid->RemoveAllFilters();
        }
        return FAdvColGrid->FixedRows();
    }
    QString found;
    int idx = SearchEntry(E, found);
    if (idx < 0) {
        if (FStyle != dsDropDownList)
            return -1;
        idx = SearchEntry(QString(C), found);
        if (idx < 0) {
            FLookupEntry.clear();
            return -1;
        }
        FLookupEntry = QString(C);
    }
    FItemIndex = idx;
    SetText(found);
    if (FStyle == dsDropDown)
        SetSel(int(FLookupEntry.size()), std::max(0, int(found.size()) - int(FLookupEntry.size())));
    return idx;
}

// ---- keys of the open list -------------------------------------------------------------------

static bool IsNavigationKey(Word Key)
{
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN;
}

void TCustomAdvGridDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    QPointer<TCustomAdvGridDropDown> self(this);
    if (!IsNavigationKey(Key) || Shift.testFlag(ssAlt))
        TAdvCustomDropDown::ControlKeyDown(Key, Shift);
    if (self)
        DoGridKeyDown(this, Key, Shift);
}

void TCustomAdvGridDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    QPointer<TCustomAdvGridDropDown> self(this);
    if (!IsNavigationKey(Key) || Shift.testFlag(ssAlt))
        TAdvCustomDropDown::ControlKeyUp(Key, Shift);
    else
        FLookupEntry.clear();
    if (self && OnGridKeyUp)
        OnGridKeyUp(this, Key, Shift);
}

void TCustomAdvGridDropDown::ControlKeyPress(QChar& Key)
{
    QPointer<TCustomAdvGridDropDown> self(this);
    const ushort u = Key.unicode();
    // The list drops Tab before it could become a character: it searches nothing.
    if (u == 9)
        return;
    const bool alt = QApplication::keyboardModifiers() & Qt::AltModifier;
    const bool special = u == 13 || u == 27 || u == 33 || u == 34 || u == 35 || u == 36 || u == 38 || u == 40;
    const bool editing = FAdvColGrid && (FAdvColGrid->Options() & goEditing);
    if ((special && !alt) || editing) {
        FLookupEntry.clear();
    } else if (FAdvColGrid) {
        int r = TypeAhead(Key);
        if (!self)
            return;
        if (FUseItems && FLookupMethod != lmNarrowDown && r >= 0)
            r = ItemToRow(r);
        if (r >= FAdvColGrid->FixedRows() && r < FAdvColGrid->RowCount()) {
            SetCurrentRow(r);
        } else {
            FLookupEntry.clear();
        }
    }
    if (self)
        DoGridKeyPress(this, Key);
}

void TCustomAdvGridDropDown::SetCurrentRow(int ARow)
{
    if (!FAdvColGrid)
        return;
    if (FAdvColGrid->RowCount() - FAdvColGrid->FixedRows() > FAdvColGrid->VisibleRowCount())
        FAdvColGrid->SetTopRow(std::min(ARow, std::max(FAdvColGrid->FixedRows(),
                                                       FAdvColGrid->RowCount() - FAdvColGrid->VisibleRowCount())));
    FAdvColGrid->SetCol(0);
    FAdvColGrid->SetRow(ARow);
    FAdvColGrid->RepaintRow(ARow);
}

// ---- the pop-up ------------------------------------------------------------------------------

void TCustomAdvGridDropDown::CreateDropDownForm()
{
    if (!CreateDropDownControl(FAdvColGrid, [](TAdvColGrid& grid) {
            grid.Loaded();
            grid.hide();
        }))
        return;
    FAdvColGrid->LinkToDropDown(this);
    FAdvColGrid->setGeometry(0, 0, FAdvColGrid->width(), 180);
    FAdvColGrid->SetColor(DropDownColor());
    FAdvColGrid->Navigation().SetHomeEndKey(heFirstLastRow);
}

void TCustomAdvGridDropDown::SetupDropDownControl()
{
    SetControl(FAdvColGrid);
    TAdvCustomDropDown::SetupDropDownControl();
}

void TCustomAdvGridDropDown::HookGridEvents()
{
    TAdvColGrid* g = FAdvColGrid;
    g->RegisterSelListener(this);
    g->OnSelect = [this](QObject*) { GridSelect(); };
    g->OnKeyDown = [this](QObject*, Word& Key, TShiftState Shift) { GridKeyDown(Key, Shift); };
    g->OnStartBlockFocus = [this](QObject*) {
        if (DropDownForm())
            DropDownForm()->SetBlockActivate(true);
    };
    g->OnEndBlockFocus = [this](QObject*) {
        if (DropDownForm())
            DropDownForm()->SetBlockActivate(false);
    };
    g->OnAnchorClick = [this](QObject* S, int R, int C, const QString& A, bool& H) { DoGridAnchorClick(S, R, C, A, H); };
    g->OnAnchorEnter = [this](QObject* S, int R, int C, const QString& A) { DoGridAnchorEnter(S, R, C, A); };
    g->OnAnchorExit = [this](QObject* S, int R, int C, const QString& A) { DoGridAnchorExit(S, R, C, A); };
    g->OnAnchorHint = [this](QObject* S, int R, int C, QString& A) { DoGridAnchorHint(S, R, C, A); };
    g->OnButtonClick = [this](QObject* S, int C, int R) { DoGridButtonClick(S, C, R); };
    g->OnCanSort = [this](QObject* S, int C, bool& D) { DoGridCanSort(S, C, D); };
    g->OnClickSort = [this](QObject* S, int C) { DoGridClickSort(S, C); };
    g->OnCustomCompare = [this](QObject* S, const QString& A, const QString& B, int& R) {
        DoGridCustomCompare(S, A, B, R);
    };
    g->OnRawCompare = [this](QObject* S, int C, int R1, int R2, int& R) { DoGridRawCompare(S, C, R1, R2, R); };
    g->OnColumnSize = [this](QObject* S, int C, bool& A) { DoGridColumnSize(S, C, A); };
    g->OnColumnSizing = [this](QObject* S, int C, int W) { DoGridColumnSizing(S, C, W); };
    g->OnEndColumnSize = [this](QObject* S, int C) { DoGridEndColumnSize(S, C); };
    g->OnRowSize = [this](QObject* S, int R, bool& A) { DoGridRowSize(S, R, A); };
    g->OnRowSizing = [this](QObject* S, int R, int H) { DoGridRowSizing(S, R, H); };
    g->OnEndRowSize = [this](QObject* S, int R) { DoGridEndRowSize(S, R); };
    g->OnRowMove = [this](QObject* S, int R, bool& A) { DoGridRowMove(S, R, A); };
    g->OnRowMoving = [this](QObject* S, int F, int T, bool& A) { DoGridRowMoving(S, F, T, A); };
    g->OnRowMoved = [this](QObject* S, int F, int T) { DoGridRowMoved(S, F, T); };
    g->OnColumnMove = [this](QObject* S, int C, bool& A) { DoGridColumnMove(S, C, A); };
    g->OnColumnMoving = [this](QObject* S, int F, int T, bool& A) { DoGridColumnMoving(S, F, T, A); };
    g->OnColumnMoved = [this](QObject* S, int F, int T) { DoGridColumnMoved(S, F, T); };
    // Owner drawing costs the list its plain painting, so these two are hooked only when wanted.
    if (OnGridCustomCellDraw)
        g->OnCustomCellDraw = [this](QObject* S, TCanvas& Cv, int C, int R, TGridDrawState St, TRect Rc, bool P) {
            DoGridCustomCellDraw(S, Cv, C, R, St, Rc, P);
        };
    if (OnGridCustomCellBkgDraw)
        g->OnCustomCellBkgDraw = [this](QObject* S, TCanvas& Cv, int C, int R, TGridDrawState St, TRect Rc, bool P) {
            DoGridCustomCellBkgDraw(S, Cv, C, R, St, Rc, P);
        };
    g->OnCellBalloon = [this](QObject* S, int C, int R, QString& T, QString& X, int& I) {
        DoGridCellBalloon(S, C, R, T, X, I);
    };
    g->OnGetAlignment = [this](QObject* S, int R, int C, TAlignment& H, TVAlignment& V) {
        DoGridGetAlignment(S, R, C, H, V);
    };
    g->OnGetCellColor = [this](QObject* S, int R, int C, TGridDrawState St, TBrush& B, TFont& F) {
        DoGridGetCellColor(S, R, C, St, B, F);
    };
    g->OnGetCellGradient = [this](QObject* S, int R, int C, TColor& A, TColor& B, TColor& M, TColor& MT,
                                  TCellGradientDirection& GD) { DoGridGetCellGradient(S, R, C, A, B, M, MT, GD); };
    g->OnGetFloatFormat = [this](QObject* S, int C, int R, bool& I, QString& F) { DoGridGetFloatFormat(S, C, R, I, F); };
    g->OnGetEditorType = [this](QObject* S, int C, int R, TEditorType& E) { DoGridGetEditorType(S, C, R, E); };
    g->OnGetEditorProp = [this](QObject* S, int C, int R, TEditLink* L) { DoGridGetEditorProp(S, C, R, L); };
    g->OnCanEditCell = [this](QObject* S, int R, int C, bool& E) { DoGridCanEditCell(S, R, C, E); };
    g->OnEllipsClick = [this](QObject* S, int C, int R, QString& T) { DoGridEllipsClick(S, C, R, T); };
    g->OnGetDisplText = [this](QObject* S, int C, int R, QString& V) { DoGridGetDiplText(S, C, R, V); };
    g->OnGetFormat = [this](QObject* S, int C, TSortStyle& St, QString& P, QString& X) {
        DoGridGetFormat(S, C, St, P, X);
    };
    g->OnGridHint = [this](QObject* S, int R, int C, QString& H) { DoGridHint(S, R, C, H); };
    g->OnMouseMove = [this](QObject* S, TShiftState Sh, int X, int Y) { DoGridMouseMove(S, Sh, X, Y); };
    g->OnMouseDown = [this](QObject* S, TMouseButton B, TShiftState Sh, int X, int Y) { DoGridMouseDown(S, B, Sh, X, Y); };
    g->OnMouseUp = [this](QObject* S, TMouseButton B, TShiftState Sh, int X, int Y) { DoGridMouseUp(S, B, Sh, X, Y); };
    g->OnKeyUp = [this](QObject* S, Word& K, TShiftState Sh) { DoGridKeyUp(S, K, Sh); };
    g->OnRightClickCell = [this](QObject* S, int R, int C) { DoGridRightClickCell(S, R, C); };
    g->OnScrollHint = [this](QObject* S, int R, QString& H) { DoGridScrollHint(S, R, H); };
    g->OnTopLeftChanged = [this](QObject* S) { DoGridTopLeftChanged(S); };
    g->OnSearchEditChange = [this](QObject* S, const QString& V, bool& D) { DoGridSearchEditChange(S, V, D); };
    g->OnSpinClick = [this](QObject* S, int C, int R, int V, bool U) { DoGridSpinClick(S, C, R, V, U); };
    g->OnAutoAddRow = [this](QObject* S, int R) { DoGridAutoAddRow(S, R); };
    g->OnAutoInsertRow = [this](QObject* S, int R) { DoGridInsertRow(S, R); };
    g->OnAutoInsertCol = [this](QObject* S, int C) { DoGridInsertCol(S, C); };
    g->OnAutoDeleteRow = [this](QObject* S, int R) { DoGridDeleteRow(S, R); };
    g->OnCanAddRow = [this](QObject* S, bool& A) { DoGridCanAddRow(S, A); };
    g->OnCanInsertRow = [this](QObject* S, int R, bool& A) { DoGridCanInsertRow(S, R, A); };
    g->OnCanDeleteRow = [this](QObject* S, int R, bool& A) { DoGridCanDeleteRow(S, R, A); };
    g->OnCheckBoxClick = [this](QObject* S, int C, int R, bool St) {
        if (OnGridCheckBoxClick)
            OnGridCheckBoxClick(S, C, R, St);
    };
}

void TCustomAdvGridDropDown::BeforeDropDown()
{
    if (DropDownForm())
        DropDownForm()->SetCancelOnDeActivate(false);
    if (FAdvColGrid) {
        TAdvColGrid* g = FAdvColGrid;
        g->SetupFromDropDown(this);
        g->SetColor(DropDownColor());
        g->SortSettings().SetShow(false);
        g->SortSettings().SetIndexShow(false);
        if (FSorting == gsSingleColumn)
            g->SortSettings().SetShow(true);
        else if (FSorting == gsMultiColumn) {
            g->SortSettings().SetShow(true);
            g->SortSettings().SetIndexShow(true);
        }
        FBalloonInit = false;
        // A confirmation left from an earlier opening (Enter with the list closed) does not
        // carry over.
        g->SetConfirmSelection(false);
        g->SetGridImages(Images());
        HookGridEvents();
        g->SearchFooter().Assign(*FSearchFooter);
        g->MouseActions().Assign(*FMouseActions);
        g->Navigation().Assign(*FNavigation);
        g->Bands().Assign(*FBands);
        TGridOptions o = g->Options() | goThumbTracking;
        if (FRowSelect)
            o |= goRowSelect;
        else
            o &= ~TGridOptions(goRowSelect);
        if (FGridEditable)
            o |= goEditing;
        else
            o &= ~TGridOptions(goEditing);
        g->SetOptions(o);
        g->SetGridImages(FGridImages);
        g->SetComponentStyle(GetComponentStyle());
        if (FUseItems) {
            QPointer<TCustomAdvGridDropDown> self(this);
            TAdvCustomDropDown::BeforeDropDown();
            if (!self)
                return;
            g->SetRowCount(FItems->Count() + 1);
            g->SetFixedRows(1);
            g->FillFromItems();
            // The rows are measured from the entries they now hold.
            g->SetRowHeightsFromContent();
            const int r = ItemToRow(FItemIndex);
            if (r >= g->FixedRows() && r < g->RowCount())
                g->SetRow(r);
        } else {
            QString found;
            const int r = SearchEntry(Text(), found);
            if (!Text().isEmpty() && r >= g->FixedRows())
                g->SetRow(r);
            else if (g->RowCount() > g->FixedRows())
                g->SetRow(g->FixedRows());
        }
        if (g->SortSettings().Column() >= 0 && g->SortSettings().Show()) {
            g->QSort();
            // Rows were measured before the sort; each row follows its own entry afterwards.
            g->SetRowHeightsFromContent();
        }
    }
    FOldItemIndex = FItemIndex;
    if (!FUseItems)
        TAdvCustomDropDown::BeforeDropDown();
}

void TCustomAdvGridDropDown::AdjustDropDownHeight(int& Height)
{
    const int h = DropDownHeader().Visible() ? DropDownHeader().Height() : 0;
    const int f = DropDownFooter().Visible() ? DropDownFooter().Height() : 0;
    // The search footer lies over the bottom of the list grid: the rows fit above it.
    const int s = FSearchFooter->Visible() ? SearchFooterPixels : 0;
    const int rh = std::max(1, FDropDownRowHeight);
    Height = h + f + FHeaderHeight + 6 + s + ((Height - h - f - FHeaderHeight - 2 - s) / rh) * rh;
}

void TCustomAdvGridDropDown::DoShowDropDown()
{
    TAdvCustomDropDown::DoShowDropDown();
    if (!FAdvColGrid)
        return;
    TAdvColGrid* g = FAdvColGrid;
    if (!FUseItems)
        while (FColumns->Count() < g->ColCount())
            FColumns->Add();
    if (DroppedDown())
        ScaleColumnsToForm();
    const int normal = g->RowCount() - g->FixedRows();
    if (normal > g->VisibleRowCount()) {
        const int r = g->Row();
        if (r >= g->TopRow() + g->VisibleRowCount() || r < g->TopRow())
            g->SetTopRow(std::min(r, std::max(g->FixedRows(), g->RowCount() - g->VisibleRowCount())));
    }
    // The row the list opened on, the current choice's.
    FSelRow = (g->Row() >= g->FixedRows() && g->Row() < g->RowCount()) ? g->Row() : g->FixedRows();
    g->setFocusPolicy(Qt::StrongFocus);
    if (DroppedDown())
        g->setFocus();
}

void TCustomAdvGridDropDown::UpdateDropDownSize()
{
    TAdvCustomDropDown::UpdateDropDownSize();
    if (FDropDownAutoWidth && DropDownForm() && FAdvColGrid) {
        const int w = FAdvColGrid->NaturalWidth();
        FAdvColGrid->resize(w, FAdvColGrid->height());
        DropDownForm()->resize(w + 2 * DropDownBorderWidth(), DropDownForm()->height());
        DropDownForm()->LayoutChildren();
    }
    // A shown search footer keeps its controls at fixed places: the list is at least wide
    // enough for the ones it shows, the vertical scroll bar beside them.
    if (FSearchFooter->Visible() && DropDownForm() && FAdvColGrid) {
        const int right = SearchFooterControlsRight(*FAdvColGrid);
        if (right > 0) {
            const int need = right + 5 + qApp->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                             2 * DropDownBorderWidth() + 2;
            if (DropDownForm()->width() < need) {
                DropDownForm()->resize(need, DropDownForm()->height());
                DropDownForm()->LayoutChildren();
            }
        }
    }
}

void TCustomAdvGridDropDown::PrepareDropDownContent()
{
    TAdvCustomDropDown::PrepareDropDownContent();
    ScaleColumnsToForm();
}

void TCustomAdvGridDropDown::ScaleColumnsToForm()
{
    if (!FColumnSizeWithDropDown || !FAdvColGrid || !DropDownForm())
        return;
    TAdvColGrid* g = FAdvColGrid;
    g->SetScrollBars(ssVertical);
    if (FColumns->Count() == 0)
        return;
    int total = 1;
    for (int i = 0; i < FColumns->Count(); ++i)
        total += FColumns->Items(i)->Width;
    int avail = DropDownForm()->width();
    if (g->VisibleRowCount() < g->RowCount() - g->FixedRows())
        avail -= qApp->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const double factor = double(avail) / double(total);
    double err = 0;
    for (int i = 0; i < g->ColCount() && i < FColumns->Count(); ++i) {
        const double exact = factor * FColumns->Items(i)->Width;
        const double rounded = std::nearbyint(exact); // halves to even
        err += exact - rounded;
        int w = int(rounded);
        if (err > 1) {
            err -= 1;
            w += 1;
        }
        g->SetColWidths(i, w);
    }
}

void TCustomAdvGridDropDown::DoHideDropDown(bool Cancelled)
{
    if (DropDownForm() && DropDownForm()->isVisible()) {
        if (Cancelled) {
            SetItemIndex(FOldItemIndex);
        } else if (FAdvColGrid && FAdvColGrid->ConfirmSelection()) {
            SetItemIndex(FUseItems ? RowToItem(FSelRow) : FSelRow - FAdvColGrid->FixedRows());
        }
        FOldItemIndex = FItemIndex;
        if (FAdvColGrid)
            FAdvColGrid->SetConfirmSelection(false);
    }
    TAdvCustomDropDown::DoHideDropDown(Cancelled);
}

// ---- choosing in the list --------------------------------------------------------------------

void TCustomAdvGridDropDown::NotifySelect(int, int ARow)
{
    if (!FAdvColGrid)
        return;
    FSelRow = ARow;
    if (FAdvColGrid->MouseWheelSelection())
        return;
    if (FUseItems) {
        SetItemIndex(RowToItem(ARow));
    } else {
        SetText(FAdvColGrid->Cells(FLookupColumn, ARow));
        SetItemIndex(ARow - FAdvColGrid->FixedRows());
    }
}

void TCustomAdvGridDropDown::GridSelect()
{
    QPointer<TCustomAdvGridDropDown> self(this);
    if (FAdvColGrid && FAdvColGrid->ConfirmSelection()) {
        const int r = FAdvColGrid->Row();
        SetItemIndex(FUseItems ? RowToItem(r) : r - 1);
    }
    if (self && !FGridEditable)
        HideDropDown(false);
    if (self && OnSelect)
        OnSelect(this);
}

void TCustomAdvGridDropDown::GridKeyDown(Word& Key, TShiftState)
{
    if (Key == VK_RETURN)
        HideDropDown(false);
    else if (Key == VK_ESCAPE)
        HideDropDown(true);
}

void TCustomAdvGridDropDown::DoEnter()
{
    TAdvCustomDropDown::DoEnter();
    if (FAdvColGrid)
        FAdvColGrid->RemoveAllFilters();
    FLookupEntry.clear();
}

// ---- forwarders --------------------------------------------------------------------------------

void TCustomAdvGridDropDown::Blocked(const std::function<void()>& Fn)
{
    QPointer<TDropDownForm> form(DropDownForm());
    const bool old = form ? form->BlockActivate() : false;
    if (form)
        form->SetBlockActivate(true);
    try {
        Fn();
    } catch (...) {
    }
    if (form)
        form->SetBlockActivate(old);
}

void TCustomAdvGridDropDown::DoGridAnchorClick(QObject* Sender, int ARow, int ACol, const QString& Anchor,
                                               bool& AutoHandle)
{
    if (OnGridAnchorClick)
        Blocked([&] { OnGridAnchorClick(Sender, ARow, ACol, Anchor, AutoHandle); });
}

void TCustomAdvGridDropDown::DoGridButtonClick(QObject* Sender, int ACol, int ARow)
{
    if (OnGridButtonClick)
        Blocked([&] { OnGridButtonClick(Sender, ACol, ARow); });
}

void TCustomAdvGridDropDown::DoGridEllipsClick(QObject* Sender, int ACol, int ARow, QString& S)
{
    if (OnGridEllipsClick)
        Blocked([&] { OnGridEllipsClick(Sender, ACol, ARow, S); });
}

void TCustomAdvGridDropDown::DoGridCanSort(QObject* Sender, int ACol, bool& DoSort)
{
    if (OnGridCanSort)
        OnGridCanSort(Sender, ACol, DoSort);
    FTempItemIndex = FItemIndex;
}

void TCustomAdvGridDropDown::DoGridClickSort(QObject* Sender, int ACol)
{
    if (FAdvColGrid && FTempItemIndex >= 0) {
        const int r = ItemToRow(FTempItemIndex);
        if (r >= FAdvColGrid->FixedRows() && r < FAdvColGrid->RowCount())
            FAdvColGrid->SetRow(r);
    }
    if (OnGridClickSort)
        OnGridClickSort(Sender, ACol);
}

void TCustomAdvGridDropDown::DoGridGetAlignment(QObject* Sender, int ARow, int ACol, TAlignment& HAlign,
                                                TVAlignment& VAlign)
{
    if (ACol >= 0 && ACol < FColumns->Count())
        HAlign = FColumns->Items(ACol)->Alignment;
    if (OnGridGetAlignment)
        OnGridGetAlignment(Sender, ARow, ACol, HAlign, VAlign);
}

void TCustomAdvGridDropDown::DoGridGetCellColor(QObject* Sender, int ARow, int ACol, TGridDrawState AState,
                                                TBrush& ABrush, TFont& AFont)
{
    if (ACol >= 0 && ACol < FColumns->Count() && ARow >= 1)
        ABrush.SetColor(FColumns->Items(ACol)->Color);
    if (OnGridGetCellColor)
        OnGridGetCellColor(Sender, ARow, ACol, AState, ABrush, AFont);
}

void TCustomAdvGridDropDown::DoGridGetFloatFormat(QObject* Sender, int ACol, int ARow, bool& IsFloat,
                                                  QString& FloatFormat)
{
    FloatFormat.clear();
    if (OnGridGetFloatFormat)
        OnGridGetFloatFormat(Sender, ACol, ARow, IsFloat, FloatFormat);
}

void TCustomAdvGridDropDown::DoGridCanEditCell(QObject* Sender, int ARow, int ACol, bool& CanEdit)
{
    if (OnGridCanEditCell)
        OnGridCanEditCell(Sender, ARow, ACol, CanEdit);
}

void TCustomAdvGridDropDown::DoGridMouseMove(QObject* Sender, TShiftState Shift, int X, int Y)
{
    if (!FBalloonInit) {
        // The balloon window was made before the list had its place on screen; making it again on
        // the first move lets it follow the list.
        FBalloonInit = true;
        if (FAdvColGrid && FAdvColGrid->Balloon().Enable()) {
            FAdvColGrid->Balloon().SetEnable(false);
            FAdvColGrid->Balloon().SetEnable(true);
        }
    }
    if (OnGridMouseMove)
        OnGridMouseMove(Sender, Shift, X, Y);
}

void TCustomAdvGridDropDown::DoGridMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnGridMouseDown)
        OnGridMouseDown(Sender, Button, Shift, X, Y);
}

void TCustomAdvGridDropDown::DoGridMouseUp(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnGridMouseUp)
        OnGridMouseUp(Sender, Button, Shift, X, Y);
}

void TCustomAdvGridDropDown::DoGridKeyUp(QObject* Sender, Word& Key, TShiftState Shift)
{
    if (OnGridKeyUp)
        OnGridKeyUp(Sender, Key, Shift);
}

void TCustomAdvGridDropDown::DoGridRightClickCell(QObject* Sender, int ARow, int ACol)
{
    if (OnGridRightClickCell)
        OnGridRightClickCell(Sender, ARow, ACol);
}

void TCustomAdvGridDropDown::DoGridTopLeftChanged(QObject* Sender)
{
    if (OnGridTopLeftChanged)
        OnGridTopLeftChanged(Sender);
}

void TCustomAdvGridDropDown::DoGridAnchorEnter(QObject* Sender, int ARow, int ACol, const QString& Anchor)
{
    if (OnGridAnchorEnter)
        OnGridAnchorEnter(Sender, ARow, ACol, Anchor);
}

void TCustomAdvGridDropDown::DoGridAnchorExit(QObject* Sender, int ARow, int ACol, const QString& Anchor)
{
    if (OnGridAnchorExit)
        OnGridAnchorExit(Sender, ARow, ACol, Anchor);
}

void TCustomAdvGridDropDown::DoGridAnchorHint(QObject* Sender, int ARow, int ACol, QString& Anchor)
{
    if (OnGridAnchorHint)
        OnGridAnchorHint(Sender, ARow, ACol, Anchor);
}

void TCustomAdvGridDropDown::DoGridCustomCompare(QObject* Sender, const QString& str1, const QString& str2, int& Res)
{
    if (OnGridCustomCompare)
        OnGridCustomCompare(Sender, str1, str2, Res);
}

void TCustomAdvGridDropDown::DoGridRawCompare(QObject* Sender, int Col, int Row1, int Row2, int& Res)
{
    if (OnGridRawCompare)
        OnGridRawCompare(Sender, Col, Row1, Row2, Res);
}

void TCustomAdvGridDropDown::DoGridColumnSize(QObject* Sender, int ACol, bool& Allow)
{
    if (OnGridColumnSize)
        OnGridColumnSize(Sender, ACol, Allow);
}

void TCustomAdvGridDropDown::DoGridColumnSizing(QObject* Sender, int ACol, int ColWidth)
{
    if (OnGridColumnSizing)
        OnGridColumnSizing(Sender, ACol, ColWidth);
}

void TCustomAdvGridDropDown::DoGridEndColumnSize(QObject* Sender, int ACol)
{
    if (OnGridEndColumnSize)
        OnGridEndColumnSize(Sender, ACol);
}

void TCustomAdvGridDropDown::DoGridRowSize(QObject* Sender, int ARow, bool& Allow)
{
    if (OnGridRowSize)
        OnGridRowSize(Sender, ARow, Allow);
}

void TCustomAdvGridDropDown::DoGridRowSizing(QObject* Sender, int ARow, int RowHeight)
{
    if (OnGridRowSizing)
        OnGridRowSizing(Sender, ARow, RowHeight);
}

void TCustomAdvGridDropDown::DoGridEndRowSize(QObject* Sender, int ARow)
{
    if (OnGridEndRowSize)
        OnGridEndRowSize(Sender, ARow);
}

void TCustomAdvGridDropDown::DoGridRowMove(QObject* Sender, int ARow, bool& Allow)
{
    if (OnGridRowMove)
        OnGridRowMove(Sender, ARow, Allow);
}

void TCustomAdvGridDropDown::DoGridRowMoving(QObject* Sender, int FromIndex, int ToIndex, bool& Allow)
{
    if (OnGridRowMoving)
        OnGridRowMoving(Sender, FromIndex, ToIndex, Allow);
}

void TCustomAdvGridDropDown::DoGridRowMoved(QObject* Sender, int FromIndex, int ToIndex)
{
    if (OnGridRowMoved)
        OnGridRowMoved(Sender, FromIndex, ToIndex);
}

void TCustomAdvGridDropDown::DoGridColumnMove(QObject* Sender, int ACol, bool& Allow)
{
    if (OnGridColumnMove)
        OnGridColumnMove(Sender, ACol, Allow);
}

void TCustomAdvGridDropDown::DoGridColumnMoving(QObject* Sender, int FromIndex, int ToIndex, bool& Allow)
{
    if (OnGridColumnMoving)
        OnGridColumnMoving(Sender, FromIndex, ToIndex, Allow);
}

void TCustomAdvGridDropDown::DoGridColumnMoved(QObject* Sender, int FromIndex, int ToIndex)
{
    if (OnGridColumnMoved)
        OnGridColumnMoved(Sender, FromIndex, ToIndex);
}

void TCustomAdvGridDropDown::DoGridCustomCellDraw(QObject* Sender, TCanvas& Canvas, int ACol, int ARow,
                                                  TGridDrawState AState, TRect ARect, bool Printing)
{
    if (OnGridCustomCellDraw)
        OnGridCustomCellDraw(Sender, Canvas, ACol, ARow, AState, ARect, Printing);
}

void TCustomAdvGridDropDown::DoGridCustomCellBkgDraw(QObject* Sender, TCanvas& Canvas, int ACol, int ARow,
                                                     TGridDrawState AState, TRect ARect, bool Printing)
{
    if (OnGridCustomCellBkgDraw)
        OnGridCustomCellBkgDraw(Sender, Canvas, ACol, ARow, AState, ARect, Printing);
}

void TCustomAdvGridDropDown::DoGridCellBalloon(QObject* Sender, int ACol, int ARow, QString& ATitle, QString& AText,
                                               int& AIcon)
{
    if (OnGridCellBalloon)
        OnGridCellBalloon(Sender, ACol, ARow, ATitle, AText, AIcon);
}

void TCustomAdvGridDropDown::DoGridGetCellGradient(QObject* Sender, int ARow, int ACol, TColor& Color,
                                                   TColor& ColorTo, TColor& ColorMirror, TColor& ColorMirrorTo,
                                                   TCellGradientDirection& GD)
{
    if (OnGridGetCellGradient)
        OnGridGetCellGradient(Sender, ARow, ACol, Color, ColorTo, ColorMirror, ColorMirrorTo, GD);
}

void TCustomAdvGridDropDown::DoGridGetEditorType(QObject* Sender, int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGridGetEditorType)
        OnGridGetEditorType(Sender, ACol, ARow, AEditor);
}

void TCustomAdvGridDropDown::DoGridGetEditorProp(QObject* Sender, int ACol, int ARow, TEditLink* AEditLink)
{
    if (OnGridGetEditorProp)
        OnGridGetEditorProp(Sender, ACol, ARow, AEditLink);
}

void TCustomAdvGridDropDown::DoGridGetDiplText(QObject* Sender, int ACol, int ARow, QString& Value)
{
    if (OnGridGetDiplText)
        OnGridGetDiplText(Sender, ACol, ARow, Value);
}

void TCustomAdvGridDropDown::DoGridGetFormat(QObject* Sender, int ACol, TSortStyle& AStyle, QString& aPrefix,
                                             QString& aSuffix)
{
    if (OnGridGetFormat)
        OnGridGetFormat(Sender, ACol, AStyle, aPrefix, aSuffix);
}

void TCustomAdvGridDropDown::DoGridHint(QObject* Sender, int ARow, int ACol, QString& HintStr)
{
    if (OnGridHint)
        OnGridHint(Sender, ARow, ACol, HintStr);
}

void TCustomAdvGridDropDown::DoGridKeyDown(QObject* Sender, Word& Key, TShiftState Shift)
{
    if (OnGridKeyDown)
        OnGridKeyDown(Sender, Key, Shift);
}

void TCustomAdvGridDropDown::DoGridKeyPress(QObject* Sender, QChar& Key)
{
    if (OnGridKeyPress)
        OnGridKeyPress(Sender, Key);
}

void TCustomAdvGridDropDown::DoGridScrollHint(QObject* Sender, int ARow, QString& HintStr)
{
    if (OnGridScrollHint)
        OnGridScrollHint(Sender, ARow, HintStr);
}

void TCustomAdvGridDropDown::DoGridSearchEditChange(QObject* Sender, const QString& Value, bool& DefaultSearch)
{
    if (OnGridSearchEditChange)
        OnGridSearchEditChange(Sender, Value, DefaultSearch);
}

void TCustomAdvGridDropDown::DoGridSpinClick(QObject* Sender, int ACol, int ARow, int AValue, bool UpDown)
{
    if (OnGridSpinClick)
        OnGridSpinClick(Sender, ACol, ARow, AValue, UpDown);
}

void TCustomAdvGridDropDown::DoGridAutoAddRow(QObject* Sender, int ARow)
{
    if (OnGridAutoAddRow)
        OnGridAutoAddRow(Sender, ARow);
}

void TCustomAdvGridDropDown::DoGridInsertRow(QObject* Sender, int ARow)
{
    if (OnGridInsertRow)
        OnGridInsertRow(Sender, ARow);
}

void TCustomAdvGridDropDown::DoGridInsertCol(QObject* Sender, int ACol)
{
    if (OnGridInsertCol)
        OnGridInsertCol(Sender, ACol);
}

void TCustomAdvGridDropDown::DoGridDeleteRow(QObject* Sender, int ARow)
{
    if (OnGridDeleteRow)
        OnGridDeleteRow(Sender, ARow);
}

void TCustomAdvGridDropDown::DoGridCanAddRow(QObject* Sender, bool& CanAdd)
{
    if (OnGridCanAddRow)
        OnGridCanAddRow(Sender, CanAdd);
}

void TCustomAdvGridDropDown::DoGridCanInsertRow(QObject* Sender, int ARow, bool& CanInsert)
{
    if (OnGridCanInsertRow)
        OnGridCanInsertRow(Sender, ARow, CanInsert);
}

void TCustomAdvGridDropDown::DoGridCanDeleteRow(QObject* Sender, int ARow, bool& CanDelete)
{
    if (OnGridCanDeleteRow)
        OnGridCanDeleteRow(Sender, ARow, CanDelete);
}

// ---- styles ------------------------------------------------------------------------------------

void TCustomAdvGridDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    // The base first, so that the list's own selection colour stays.
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
    if (Value == scOffice2007) {
        FLineColor = 0xF1EDEB;
        FFixedLineColor = 0xD1BBA4;
        SetSelectionColor(0x5EC1F1);
    } else if (Value == scWindowsVista || Value == scWindows7) {
        SetSelectionColor(0xEACAB6);
        FLineColor = 0xECECF0;
        FFixedLineColor = 0xD4D2D1;
    }
}

void TCustomAdvGridDropDown::SetComponentStyle(TOrlexStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    struct Row {
        TColor hc, hct;
        std::optional<TColor> font;
        TColor line, fixed, selText;
        TSelectionColorStyle sel;
        std::optional<TColor> selColor;
    };
    std::optional<Row> row;
    switch (AStyle) {
    case tsOffice2003Blue: row = Row{0xD68759, 0x933803, 0xFFFFFF, 0x962D00, 0x962D00, 0, scOffice2007, {}}; break;
    case tsOffice2003Silver: row = Row{0xBDA4A5, 0x957475, {}, 0x947C7C, 0x947C7C, 0, scOffice2007, {}}; break;
    case tsOffice2003Olive: row = Row{0x82C0AF, 0x447A63, {}, 0x588060, 0x588060, 0, scOffice2007, {}}; break;
    case tsOffice2003Classic: row = Row{0x808080, 0x808080, {}, 0x808080, 0x808080, 0, scOffice2007, {}}; break;
    case tsOffice2007Luna: row = Row{0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF, 0, scOffice2007, {}}; break;
    case tsOffice2007Obsidian:
        row = Row{0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0x5C534C, 0, scOffice2007, {}};
        break;
    case tsWindowsXP:
        row = Row{clBtnFace, clBtnFace, 0x000000, 0xC0C0C0, 0x000000, clHighlightText, scCustom, clHighlight};
        break;
    case tsWhidbey: row = Row{0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00, 0, scOffice2007, {}}; break;
    case tsOffice2007Silver: row = Row{0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0x74706F, 0, scOffice2007, {}}; break;
    case tsWindowsVista:
        row = Row{0xFFFDF9, 0xFFFAF0, 0x000000, 0xFCF2DA, 0xFCF2DA, 0, scWindowsVista, {}};
        break;
    case tsWindows7: row = Row{0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8, 0xFBD6B8, 0, scWindows7, {}}; break;
    case tsTerminal:
        row = Row{clBtnFace, clBtnFace, 0x000000, 0x808080, 0x808080, clHighlightText, scCustom, clHighlight};
        break;
    default: break; // custom and the 2010 styles leave the list's colours alone
    }
    if (!row)
        return;
    FHeaderColor = row->hc;
    FHeaderColorTo = row->hct;
    if (row->font)
        FHeaderFont.SetColor(*row->font);
    FSelectionTextColor = row->selText;
    SetSelectionColorStyle(row->sel);
    FLineColor = row->line;
    FFixedLineColor = row->fixed;
    if (row->selColor) {
        SetSelectionColor(*row->selColor);
        SetSelectionColorTo(*row->selColor);
    }
}
