// The multi-column drop-down and its list grid: the collections, the lookup list, completion
// while typing, the keys of the edit and of the open list, sizing and drawing of the list.
#include "dropdown/AdvMultiColumnDropDown.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <cmath>

namespace AdvMultiColumnDropDown {

// ---- columns and items -------------------------------------------------------------------------

void TDropDownColumn::Assign(const TDropDownColumn& Source)
{
    // Every setting, in the order they are declared (the font through its own Assign).
    *this = Source;
}

QString TDropDownItem::TextOf(int Column) const
{
    return HasText(Column) ? FText.Strings(Column) : QString();
}

int TDropDownItems::IndexInColumn(int Column, const QString& Value) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->HasText(Column) && Items(i)->TextOf(Column) == Value)
            return i;
    return -1;
}

// ---- the list grid -----------------------------------------------------------------------------

TAdvColGrid::TAdvColGrid(QWidget* AOwner) : TStringGrid(AOwner), TDropDownGridLook(0x808080, 0x000000), FColumns(this)
{
    SetFixedRows(1);
    SetFixedCols(0);
    TGridOptions o = Options();
    o &= ~TGridOptions(goRangeSelect);
    o &= ~TGridOptions(goDrawFocusSelected);
    o |= goHorzLine;
    o |= goRowSelect;
    SetOptions(o);
    SetDefaultDrawing(false);
    SetGridLineWidth(0);
    setFrameStyle(QFrame::NoFrame);
    FOldRow = Row();
}

bool TAdvColGrid::InDropDownForm() const
{
    return qobject_cast<TDropDownForm*>(parentWidget()) != nullptr;
}

bool TAdvColGrid::ShowsImage(const TDropDownColumn& Column, const TDropDownItem& Item) const
{
    return Column.ColumnType() == ctImage && FImages && Item.ImageIndex() >= 0;
}

void TAdvColGrid::SetupFromDropDown(TAdvMultiColumnDropDown* DropDown)
{
    if (!DropDown)
        return;
    FAdvDropDown = DropDown;
    FColumns.Assign(DropDown->Columns());
    const int items = DropDown->Items().Count();
    SetColCount(std::max(FColumns.Count(), 1));
    SetRowCount(items + 1);
    if (RowCount() > 1) {
        SetFixedRows(1);
        SetRow(1);
        SetRowCount(items + 1);
    }
    for (int i = 0; i < FColumns.Count(); ++i)
        SetColWidths(i, FColumns.Items(i)->Width());
    FLineColor = DropDown->LineColor();
    FFixedLineColor = DropDown->FixedLineColor();
    FHeaderColor = DropDown->HeaderColor();
    FHeaderColorTo = DropDown->HeaderColorTo();
    FHeaderHeight = DropDown->HeaderHeight();
    FHeaderFont.Assign(DropDown->HeaderFont());
    FImages = DropDown->Images();
    SetDefaultRowHeight(DropDown->DropDownRowHeight());
    SetRowHeights(0, FHeaderHeight);
    TGridOptions o = Options();
    if (DropDown->ColumnSizing())
        o |= goColSizing;
    else
        o &= ~TGridOptions(goColSizing);
    SetOptions(o);
    AutoSizeColumns();
    AutoSizeRows();
}

void TAdvColGrid::AutoSizeColumns()
{
    if (!FAdvDropDown || !InDropDownForm())
        return;
    TDropDownItems& items = FAdvDropDown->Items();
    TCanvas& canvas = Canvas();
    for (int c = 0; c < FColumns.Count(); ++c) {
        TDropDownColumn* column = FColumns.Items(c);
        if (!column->AutoSize())
            continue;
        canvas.SetFont(column->Font());
        int widest = 0;
        for (int r = 1; r < RowCount() && r - 1 < items.Count(); ++r) {
            const TDropDownItem& item = *items.Items(r - 1);
            int w = 0;
            // Each row counts its own item's image.
            if (ShowsImage(*column, item))
                w += FImages->Width() + 4;
            const QString s = item.TextOf(c);
            if (!s.isEmpty())
                w += canvas.TextWidth(s) + 6;
            widest = std::max(widest, w);
        }
        column->SetWidth(widest);
        SetColWidths(c, widest);
    }
}

void TAdvColGrid::AutoSizeRows()
{
    if (!FAdvDropDown || !InDropDownForm())
        return;
    bool any = false;
    for (int c = 0; c < FColumns.Count(); ++c)
        any = any || FColumns.Items(c)->Wordwrap();
    if (!any)
        return;
    TDropDownItems& items = FAdvDropDown->Items();
    TCanvas& canvas = Canvas();
    for (int r = 1; r < RowCount() && r - 1 < items.Count(); ++r) {
        const TDropDownItem& item = *items.Items(r - 1);
        int h = 24;
        for (int c = 0; c < FColumns.Count(); ++c) {
            const TDropDownColumn& column = *FColumns.Items(c);
            if (!column.Wordwrap())
                continue;
            if (ShowsImage(column, item))
                h = std::max(h, FImages->Height() + 6);
            canvas.SetFont(column.Font());
            TRect tr = Rect(0, 0, ColWidths(c), 0);
            DrawText(canvas, item.TextOf(c), tr, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
            h = std::max(h, tr.Height() + 6);
        }
        SetRowHeights(r, h);
    }
}

int TAdvColGrid::NaturalWidth() const
{
    int w = 2 * frameWidth();
    for (int c = 0; c < ColCount(); ++c)
        w += ColWidths(c);
    if (VisibleRowCount() + FixedRows() != RowCount())
        w += QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return w;
}

void TAdvColGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (!FAdvDropDown)
        return;
    TCanvas& canvas = Canvas();
    if (FAdvDropDown->OnDropDownDrawItem) {
        FAdvDropDown->OnDropDownDrawItem(FAdvDropDown, ACol, ARow, canvas, ARect);
        return;
    }
    int shape = 3;
    if (ColCount() == 1)
        shape = 0;
    else if (ACol == 0)
        shape = 1;
    else if (ACol == ColCount() - 1)
        shape = 2;
    TRect R = Bounds(ARect.Left, ARect.Top, ColWidths(ACol), RowHeights(ARow));
    const bool fixed = AState.testFlag(gdFixed) || ARow < FixedRows();
    const bool selected = AState.testFlag(gdSelected) && !fixed;

    TColor background = Color();
    TAlignment alignment = taLeftJustify;
    bool wordwrap = false, ellipsis = false;
    QString text;
    int imageIndex = -1;
    TDropDownItems& items = FAdvDropDown->Items();
    if (ACol < FColumns.Count() && ACol >= FixedCols()) {
        const TDropDownColumn& column = *FColumns.Items(ACol);
        background = column.Color();
        alignment = column.Alignment();
        wordwrap = column.Wordwrap();
        ellipsis = column.Ellipsis();
        canvas.SetFont(column.Font());
        if (ARow >= 1 && ARow - 1 < items.Count()) {
            const TDropDownItem& item = *items.Items(ARow - 1);
            text = item.TextOf(ACol);
            if (column.ColumnType() == ctImage)
                imageIndex = item.ImageIndex();
        }
    } else {
        canvas.SetFont(FHeaderFont);
    }
    if (FAdvDropDown->OnDropDownGetItemText)
        FAdvDropDown->OnDropDownGetItemText(FAdvDropDown, ACol, ARow, text);

    if (!fixed) {
        if (!selected) {
            canvas.Brush().SetColor(background);
            canvas.Pen().SetColor(background);
            canvas.Pen().SetWidth(1);
            canvas.Rectangle(R);
        } else {
            FAdvDropDown->DrawSelectionBackground(canvas, R, background, shape);
        }
    } else {
        text = ACol < FColumns.Count() ? FColumns.Items(ACol)->Header() : QString();
        imageIndex = -1;
        if (FHeaderColor == clNone || FHeaderColorTo == clNone) {
            canvas.Brush().SetColor(FHeaderColor == clNone ? Color() : FHeaderColor);
            canvas.FillRect(R);
        } else {
            FAdvDropDown->DrawGradient(canvas, FHeaderColor, FHeaderColorTo, 80, R, false);
        }
    }

    int c;
    if (!fixed) {
        if (FOwnLineWidth > 0)
            canvas.Pen().SetColor(FLineColor);
        canvas.Pen().SetWidth(FOwnLineWidth);
        c = (FOwnLineWidth + 1) / 2;
    } else {
        canvas.Pen().SetColor(FFixedLineColor);
        canvas.Pen().SetWidth(1);
        c = 1;
    }
    const bool horz = fixed ? Options().testFlag(goFixedHorzLine) : Options().testFlag(goHorzLine);
    const bool vert = fixed ? Options().testFlag(goFixedVertLine) : Options().testFlag(goVertLine);
    if (horz && (fixed || FOwnLineWidth > 0)) {
        canvas.MoveTo(R.Left - c + 1, R.Bottom - c);
        canvas.LineTo(R.Right - c + 1, R.Bottom - c);
    }
    if (vert && (fixed || FOwnLineWidth > 0)) {
        canvas.MoveTo(R.Right - c, R.Bottom - c);
        canvas.LineTo(R.Right - c, R.Top - c);
    }

    R = Rect(R.Left + FOwnLineWidth, R.Top + FOwnLineWidth, R.Right - FOwnLineWidth, R.Bottom - FOwnLineWidth);
    R.Left += 2;
    if (FImages && imageIndex >= 0) {
        const int y = FImages->Height() < R.Height() ? R.Top + (R.Height() - FImages->Height()) / 2 : R.Top;
        FImages->Draw(canvas, R.Left, y, imageIndex);
        R.Left += FImages->Width() + 2;
    }
    if (text.isEmpty())
        return;
    canvas.Brush().SetStyle(bsClear);
    if (selected)
        canvas.Font().SetColor(FAdvDropDown->SelectionTextColor());
    else if (fixed)
        canvas.SetFont(FHeaderFont);
    unsigned flags = wordwrap ? (DT_WORDBREAK | DT_EDITCONTROL) : DT_SINGLELINE;
    flags |= alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
    flags |= DT_NOPREFIX | DT_VCENTER | DT_EXPANDTABS;
    if (ellipsis)
        flags |= DT_END_ELLIPSIS;
    DrawText(canvas, text, R, flags);
    canvas.Brush().SetStyle(bsSolid);
}

void TAdvColGrid::WMKeyDown(TWMKey& Msg)
{
    // Tab belongs to nobody here: neither the list nor the window moves on.
    if (Msg.CharCode == VK_TAB)
        return;
    TStringGrid::WMKeyDown(Msg);
}

bool TAdvColGrid::WantsKey(Word Key, TShiftState Shift)
{
    // Enter chooses the current row.
    if (Key == VK_TAB || Key == VK_UP || Key == VK_DOWN || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_RETURN)
        return true;
    return TStringGrid::WantsKey(Key, Shift);
}

void TAdvColGrid::KeyDown(Word& Key, TShiftState Shift)
{
    FConfirmSelection = true;
    // Alt+Up and Alt+Down belong to the edit; the pop-up's key hook has already handed them
    // over (and closed the list), so the list neither moves nor hands them on a second time.
    if ((Key == VK_UP || Key == VK_DOWN) && Shift.testFlag(ssAlt))
        return;
    const Word key = Key;
    TStringGrid::KeyDown(Key, Shift);
    if (key == VK_RETURN)
        DoSelect();
}

void TAdvColGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FConfirmSelection = true;
    FOldRow = Row();
    TStringGrid::MouseDown(Button, Shift, X, Y);
}

void TAdvColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    QPointer<TAdvColGrid> self(this);
    TStringGrid::MouseUp(Button, Shift, X, Y);
    if (!self)
        return;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (r >= FixedRows() && r < RowCount())
        DoSelect();
}

bool TAdvColGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    FMouseWheelSelection = true;
    FConfirmSelection = false;
    const bool result = TStringGrid::DoMouseWheelDown(Shift, MousePos);
    FMouseWheelSelection = false;
    return result;
}

bool TAdvColGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    FMouseWheelSelection = true;
    FConfirmSelection = false;
    const bool result = TStringGrid::DoMouseWheelUp(Shift, MousePos);
    FMouseWheelSelection = false;
    return result;
}

void TAdvColGrid::DoSelect()
{
    if (OnSelect)
        OnSelect(this);
}

} // namespace AdvMultiColumnDropDown

// ---- the drop-down -----------------------------------------------------------------------------

using namespace AdvMultiColumnDropDown;

TAdvMultiColumnDropDown::TAdvMultiColumnDropDown(QWidget* AOwner) : TAdvCustomDropDown(AOwner), TDropDownGridLook(0xF1EDEB, 0xD1BBA4)
{
    // Before the base's construction phase: the style steps it runs already colour the font.
    FHeaderFont.SetColor(0x723708);
}

TAdvMultiColumnDropDown::~TAdvMultiColumnDropDown() = default;

void TAdvMultiColumnDropDown::Create()
{
    TAdvCustomDropDown::Create(); // creates the list grid and applies the styles
    FColumnSizing = false;
    FLookupColumn = 0;
    FHeaderColorTo = 0x808080;
    FHeaderColor = 0xFFFFFF;
    FHeaderHeight = 25;
    FLineColor = 0xC0C0C0;
    FItems = std::make_unique<TDropDownItems>(this);
    FColumns = std::make_unique<TDropDownColumns>(this);
    SetDropDownColor(0xFFFFFF);
    SetDropDownHeight(200);
    SetItemIndex(-1);
    FLookupItems.Clear();
    FLookupItems.SetCaseSensitive(false);
    RebuildLookupCopies();
    FWorkMode = true;
    FMatchCase = false;
    FDropDownAutoWidth = true;
    SetSelectionColorStyle(scOffice2007);
    FSelectionTextColor = 0x000000;
    FColumnSizeWithDropDown = true;
    FDropDownRowHeight = 22;
}

void TAdvMultiColumnDropDown::Assign(const TAdvCustomDropDown& Source)
{
    TAdvCustomDropDown::Assign(Source);
    auto* s = qobject_cast<const TAdvMultiColumnDropDown*>(&Source);
    if (!s || s == this)
        return;
    FCaseSensitive = s->FCaseSensitive;
    FOwnReturnIsTab = s->FOwnReturnIsTab;
    FDropDownAutoWidth = s->FDropDownAutoWidth;
    FDropDownRowHeight = s->FDropDownRowHeight;
    FLineColor = s->FLineColor;
    FFixedLineColor = s->FFixedLineColor;
    FColumnSizing = s->FColumnSizing;
    FColumnSizeWithDropDown = s->FColumnSizeWithDropDown;
    FColumns->Assign(*s->FColumns);
    FHeaderColor = s->FHeaderColor;
    FHeaderColorTo = s->FHeaderColorTo;
    FHeaderHeight = s->FHeaderHeight;
    FHeaderFont.Assign(s->FHeaderFont);
    FLookupColumn = s->FLookupColumn;
    FSelectionTextColor = s->FSelectionTextColor;
    FItems->Assign(*s->FItems);
    FItemIndex = s->FItemIndex;
}

void TAdvMultiColumnDropDown::Loaded()
{
    TAdvCustomDropDown::Loaded();
    UpdateLookupList();
}

void TAdvMultiColumnDropDown::UpdateLookupList()
{
    if (!FItems || FLookupColumn < 0 || FItems->Count() == 0)
        return;
    FLookupItems.Clear();
    for (int i = 0; i < FItems->Count(); ++i)
        FLookupItems.Add(FItems->Items(i)->TextOf(FLookupColumn));
    RebuildLookupCopies();
}

void TAdvMultiColumnDropDown::RebuildLookupCopies()
{
    FLookupTexts.clear();
    FLookupUpper.clear();
    FLookupTexts.reserve(FLookupItems.Count());
    FLookupUpper.reserve(FLookupItems.Count());
    for (int i = 0; i < FLookupItems.Count(); ++i) {
        FLookupTexts << FLookupItems.Strings(i);
        FLookupUpper << FLookupTexts.constLast().toUpper();
    }
}

int TAdvMultiColumnDropDown::GetItemIndex(const QString& AText) const
{
    // An item without a text in the lookup column counts as empty.
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->TextOf(FLookupColumn) == AText)
            return i;
    return -1;
}

void TAdvMultiColumnDropDown::SetItemIndex(int Value)
{
    if (!FItems || Value >= FItems->Count())
        return;
    FItemIndex = Value;
    if (Value >= 0 && FLookupColumn >= 0 && FItems->Items(Value)->HasText(FLookupColumn))
        SetText(FItems->Items(Value)->TextOf(FLookupColumn));
    else
        SetText(QString());
}

// ---- completion and keys of the edit -----------------------------------------------------------

void TAdvMultiColumnDropDown::HandleChange()
{
    TAdvCustomDropDown::HandleChange();
    if (!FWorkMode)
        return;
    const QString text = Text();
    SetModified(text != FOldValue);
    const int P = std::clamp(SelStart() + SelLength(), 0, int(text.size()));
    const QString typed = text.left(P);
    const QString folded = FMatchCase ? text : text.toUpper();
    const QString key = folded.left(P);
    if (FLookupTexts.isEmpty())
        return;
    // Compared against the entries upper-cased once, when the lookup list was built.
    const QStringList& entries = FMatchCase ? FLookupTexts : FLookupUpper;
    for (int i = 0; i < entries.size(); ++i) {
        if (key.isEmpty() || !entries.at(i).startsWith(key))
            continue;
        const QString& entry = FLookupTexts.at(i);
        const QString completed = (typed + entry.mid(key.size())).left(255);
        QPointer<TAdvMultiColumnDropDown> self(this);
        SetText(completed);
        if (!self)
            return;
        FItemIndex = i;
        const int caret = std::min(int(typed.size()), int(completed.size()));
        setSelection(int(completed.size()), caret - int(completed.size()));
        return;
    }
    if (!typed.isEmpty()) {
        QPointer<TAdvMultiColumnDropDown> self(this);
        SetText(typed);
        if (self)
            SetSel(int(typed.size()), 0);
    }
}

void TAdvMultiColumnDropDown::HandleKeyDown(Word& Key, TShiftState Shift)
{
    if (FLookupColumn < 0 || FItems->Count() == 0) {
        TAdvCustomDropDown::HandleKeyDown(Key, Shift);
        return;
    }
    QPointer<TAdvMultiColumnDropDown> self(this);
    if (Key == VK_BACK || Key == VK_ESCAPE || Key == VK_DELETE) {
        FWorkMode = false;
    } else if (Key == VK_RETURN) {
        const int i = FLookupItems.IndexOf(Text());
        if (i >= 0) {
            SetText(FLookupItems.Strings(i));
            if (!self)
                return;
            SetItemIndex(FLookupItems.IndexOf(Text()));
            if (!self)
                return;
            HandleChange();
            if (!self)
                return;
        }
        if (FOwnReturnIsTab) {
            // Then the focus moves on as after Tab.
            Key = 0;
            if (isVisible()) {
                QPointer<TAdvMultiColumnDropDown> edit(this);
                QTimer::singleShot(0, this, [edit]() {
                    if (edit)
                        edit->focusNextChild();
                });
            }
        }
    } else {
        FWorkMode = true;
    }
    TAdvCustomDropDown::HandleKeyDown(Key, Shift);
    if (!self)
        return;
    if (Key == VK_ESCAPE)
        SetItemIndex(FLookupItems.IndexOf(Text()));
}

void TAdvMultiColumnDropDown::HandleKeyPress(QChar& Key)
{
    if (Key.unicode() == 13 && FOwnReturnIsTab) {
        Key = QChar();
        return;
    }
    TAdvCustomDropDown::HandleKeyPress(Key);
}

void TAdvMultiColumnDropDown::PerformKeyDown(Word Key, TShiftState Shift)
{
    QPointer<TAdvMultiColumnDropDown> self(this);
    TAdvCustomDropDown::PerformKeyDown(Key, Shift);
    if (!self || !isEnabled() || Shift.testFlag(ssAlt) || !FItems || FItems->Count() == 0)
        return;
    const int count = FItems->Count();
    switch (Key) {
    case VK_PRIOR:
        SetItemIndex(FItemIndex == -1 || FItemIndex - 10 < 0 ? 0 : FItemIndex - 10);
        break;
    case VK_NEXT:
        SetItemIndex(FItemIndex == -1 ? 0 : std::min(FItemIndex + 10, count - 1));
        break;
    case VK_END:
        if (!EditorEnabled())
            SetItemIndex(count - 1);
        break;
    case VK_HOME:
        if (!EditorEnabled())
            SetItemIndex(0);
        break;
    case VK_UP:
        if (FItemIndex == -1)
            SetItemIndex(0);
        else if (FItemIndex > 0)
            SetItemIndex(FItemIndex - 1);
        break;
    case VK_DOWN:
        if (FItemIndex == -1)
            SetItemIndex(0);
        else if (FItemIndex + 1 < count)
            SetItemIndex(FItemIndex + 1);
        break;
    default:
        break;
    }
}

void TAdvMultiColumnDropDown::SelectNextValue()
{
    TAdvCustomDropDown::SelectNextValue();
    if (!FItems || FItems->Count() == 0)
        return;
    if (FItemIndex == -1)
        SetItemIndex(0);
    else if (FItemIndex + 1 < FItems->Count())
        SetItemIndex(FItemIndex + 1);
}

void TAdvMultiColumnDropDown::SelectPreviousValue()
{
    TAdvCustomDropDown::SelectPreviousValue();
    if (!FItems || FItems->Count() == 0)
        return;
    if (FItemIndex == -1)
        SetItemIndex(0);
    else if (FItemIndex > 0)
        SetItemIndex(FItemIndex - 1);
}

// ---- keys of the open list ---------------------------------------------------------------------

bool TAdvMultiColumnDropDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != FAdvColGrid || event->type() != QEvent::KeyPress || !DroppedDown())
        return TAdvCustomDropDown::eventFilter(watched, event);
    auto* ke = static_cast<QKeyEvent*>(event);
    FListKeyShift = platform::ShiftStateOf(ke->modifiers());
    QPointer<TAdvMultiColumnDropDown> self(this);
    const bool result = TAdvCustomDropDown::eventFilter(watched, event);
    // A character typed with Alt makes no character of its own, yet it still searches the list.
    const Qt::KeyboardModifiers mods = ke->modifiers();
    if (self && (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && ke->text().size() == 1 &&
        ke->text()[0].isPrint()) {
        try {
            QChar c = ke->text()[0];
            ControlKeyPress(c);
        } catch (...) {
        }
    }
    return result;
}

void TAdvMultiColumnDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    // The list's own key-down step marks the key as a confirmation before it hands keys on.
    if (FAdvColGrid)
        FAdvColGrid->FConfirmSelection = true;
    const bool listKey = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
    if (!listKey || Shift.testFlag(ssAlt))
        TAdvCustomDropDown::ControlKeyDown(Key, Shift);
}

void TAdvMultiColumnDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    const bool listKey = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
    if (!listKey || Shift.testFlag(ssAlt))
        TAdvCustomDropDown::ControlKeyUp(Key, Shift);
}

void TAdvMultiColumnDropDown::ControlKeyPress(QChar& Key)
{
    const ushort u = Key.unicode();
    const bool special = u == 13 || u == 27 || u == 33 || u == 34 || u == 35 || u == 36 || u == 38 || u == 40;
    const bool alt = FListKeyShift.testFlag(ssAlt);
    if ((!special || alt) && FAdvColGrid && !FAdvColGrid->EditorMode()) {
        const int r = LookupInList(Key);
        if (r != -1) {
            if (FAdvColGrid->TopRow() + FAdvColGrid->VisibleRowCount() < r + 1 || r + 1 < FAdvColGrid->TopRow())
                FAdvColGrid->SetTopRow(r + 1);
            FAdvColGrid->SetRow(r + 1);
            FAdvColGrid->SetCol(0);
            return;
        }
    }
    FLookupEntry.clear();
}

bool TAdvMultiColumnDropDown::SearchItem(const QString& S, int& Index, QString& Found) const
{
    if (!FAdvColGrid)
        return false;
    const QString s = FCaseSensitive ? S : S.toUpper();
    for (int i = 0; i < FItems->Count(); ++i) {
        // An item without a text in the lookup column counts as empty.
        const QString t = FItems->Items(i)->TextOf(FLookupColumn);
        if ((FCaseSensitive ? t : t.toUpper()).startsWith(s)) {
            Index = i;
            Found = t;
            return true;
        }
    }
    return false;
}

int TAdvMultiColumnDropDown::LookupInList(QChar C)
{
    QPointer<TAdvMultiColumnDropDown> self(this);
    if (C.unicode() == 8) {
        if (SelLength() == 0) {
            FLookupEntry.chop(1);
            SetText(FLookupEntry);
            if (self)
                SetSel(int(FLookupEntry.size()), 0);
        } else {
            QString t = Text();
            t.remove(SelStart(), SelLength());
            SetText(t);
            if (self)
                SetSel(int(t.size()), 0);
        }
        return -1;
    }
    if (C.unicode() != 9)
        FLookupEntry += C;
    int i = -1;
    QString found;
    if (SearchItem(FLookupEntry, i, found)) {
        FItemIndex = i;
        SetText(found);
        if (self)
            SetSel(int(FLookupEntry.size()), int(found.size() - FLookupEntry.size()));
        return i;
    }
    if (SearchItem(QString(C), i, found)) {
        FItemIndex = i;
        SetText(found);
        FLookupEntry = QString(C);
        return i;
    }
    FLookupEntry.clear();
    return -1;
}

// ---- opening, sizing and closing ---------------------------------------------------------------

void TAdvMultiColumnDropDown::CreateDropDownForm()
{
    if (!CreateDropDownControl(FAdvColGrid, [](TAdvColGrid& grid) { grid.hide(); }))
        return;
    FAdvColGrid->SetAdvDropDown(this);
    FAdvColGrid->setGeometry(0, 0, FAdvColGrid->width(), 180);
    FAdvColGrid->SetColor(DropDownColor());
}

void TAdvMultiColumnDropDown::SetupDropDownControl()
{
    if (FAdvColGrid)
        SetControl(FAdvColGrid);
    TAdvCustomDropDown::SetupDropDownControl();
}

void TAdvMultiColumnDropDown::BeforeDropDown()
{
    QPointer<TAdvMultiColumnDropDown> self(this);
    TAdvCustomDropDown::BeforeDropDown();
    if (!self)
        return;
    if (DropDownForm())
        DropDownForm()->SetCancelOnDeActivate(false);
    FShowing = true;
    if (FAdvColGrid) {
        FAdvColGrid->SetupFromDropDown(this);
        FAdvColGrid->SetOptions(FAdvColGrid->Options() | goThumbTracking);
        FAdvColGrid->SetColor(DropDownColor());
        FAdvColGrid->OnSelectCell = [this](QObject*, int ACol, int ARow, bool& CanSelect) {
            GridSelectCell(ACol, ARow, CanSelect);
        };
        FAdvColGrid->OnSelect = [this](QObject*) { GridSelect(); };
        int row = FItemIndex + 1;
        if (row < FAdvColGrid->FixedRows())
            row = 1;
        if (FAdvColGrid->RowCount() > 1)
            FAdvColGrid->SetRow(row);
    }
    FOldItemIndex = FItemIndex;
}

void TAdvMultiColumnDropDown::UpdateDropDownSize()
{
    TAdvCustomDropDown::UpdateDropDownSize();
    if (FDropDownAutoWidth && FAdvColGrid && DropDownForm()) {
        FAdvColGrid->resize(FAdvColGrid->NaturalWidth(), FAdvColGrid->height());
        DropDownForm()->resize(FAdvColGrid->width() + 2 * DropDownBorderWidth(), DropDownForm()->height());
    }
}

void TAdvMultiColumnDropDown::AdjustDropDownHeight(int& Height)
{
    const int h = DropDownHeader().Visible() ? DropDownHeader().Height() : 0;
    const int f = DropDownFooter().Visible() ? DropDownFooter().Height() : 0;
    const int rh = std::max(FDropDownRowHeight, 1);
    Height = h + f + FHeaderHeight + 2 + ((Height - h - f - FHeaderHeight - 2) / rh) * rh;
}

void TAdvMultiColumnDropDown::DoShowDropDown()
{
    QPointer<TAdvMultiColumnDropDown> self(this);
    TAdvCustomDropDown::DoShowDropDown();
    if (!self)
        return;
    SizeColumnsToForm();
    if (FAdvColGrid && FAdvColGrid->RowCount() > 1) {
        FAdvColGrid->SetRow(FItemIndex < 0 ? 1 : FItemIndex + 1);
        const TRect r = FAdvColGrid->CellRect(0, FAdvColGrid->Row());
        if (r.Left <= 0 && r.Top <= 0)
            FAdvColGrid->SetTopRow(std::max(1, FAdvColGrid->Row() - FAdvColGrid->VisibleRowCount() + 1));
    }
    FShowing = false;
    // The list takes the keys while it shows.
    if (FAdvColGrid && DroppedDown() && DropDownForm() && DropDownForm()->isVisible()) {
        FAdvColGrid->setFocusPolicy(Qt::StrongFocus);
        FAdvColGrid->setFocus(Qt::PopupFocusReason);
    }
}

void TAdvMultiColumnDropDown::PrepareDropDownContent()
{
    TAdvCustomDropDown::PrepareDropDownContent();
    SizeColumnsToForm();
}

void TAdvMultiColumnDropDown::SizeColumnsToForm()
{
    if (!FColumnSizeWithDropDown || !FAdvColGrid || !DropDownForm())
        return;
    FAdvColGrid->SetScrollBars(ssVertical);
    const TDropDownColumns& columns = FAdvColGrid->Columns();
    if (columns.Count() == 0)
        return;
    int total = 1;
    for (int i = 0; i < columns.Count(); ++i)
        total += columns.Items(i)->Width();
    int available = DropDownForm()->width();
    if (FAdvColGrid->VisibleRowCount() < FAdvColGrid->RowCount() - FAdvColGrid->FixedRows())
        available -= QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const double factor = double(available) / double(total);
    double error = 0;
    for (int i = 0; i < columns.Count() && i < FAdvColGrid->ColCount(); ++i) {
        const double exact = factor * columns.Items(i)->Width();
        const double rounded = std::nearbyint(exact); // halves to even
        error += exact - rounded;
        int w = int(rounded);
        if (error > 1) {
            error -= 1;
            ++w;
        }
        FAdvColGrid->SetColWidths(i, w);
    }
}

void TAdvMultiColumnDropDown::GridSelectCell(int, int ARow, bool&)
{
    if (!FAdvColGrid || FAdvColGrid->MouseWheelSelection() || FShowing)
        return;
    SetItemIndex(ARow - 1);
}

void TAdvMultiColumnDropDown::GridSelect()
{
    if (!FAdvColGrid)
        return;
    QPointer<TAdvMultiColumnDropDown> self(this);
    if (FAdvColGrid->ConfirmSelection())
        SetItemIndex(FAdvColGrid->Row() - 1);
    if (!self)
        return;
    DoHideDropDown(false);
    if (self && OnSelect)
        OnSelect(this);
}

void TAdvMultiColumnDropDown::DoHideDropDown(bool Cancelled)
{
    if (!DropDownForm() || !DropDownForm()->isVisible()) {
        TAdvCustomDropDown::DoHideDropDown(Cancelled);
        return;
    }
    QPointer<TAdvMultiColumnDropDown> self(this);
    TAdvCustomDropDown::DoHideDropDown(Cancelled);
    if (!self)
        return;
    if (Cancelled)
        SetItemIndex(FOldItemIndex);
    else if (FAdvColGrid && FAdvColGrid->ConfirmSelection())
        SetItemIndex(FAdvColGrid->Row() - 1);
    FOldItemIndex = FItemIndex;
}

// ---- styles ------------------------------------------------------------------------------------

void TAdvMultiColumnDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    switch (Value) {
    case scOffice2007:
        FLineColor = 0xF1EDEB;
        FFixedLineColor = 0xD1BBA4;
        break;
    case scWindowsVista:
    case scWindows7:
        FLineColor = 0xECECF0;
        FFixedLineColor = 0xD4D2D1;
        break;
    default:
        break;
    }
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
}

void TAdvMultiColumnDropDown::SetComponentStyle(TOrlexStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    struct Row {
        TColor header, headerTo;
        TColor font; // clNone: unchanged
        TColor line, fixedLine;
        TColor selText;
        TSelectionColorStyle sel;
        TColor selColor; // clNone: unchanged
    };
    static const Row rows[16] = {
        {0xD68759, 0x933803, 0xFFFFFF, 0x962D00, 0x962D00, 0x000000, scOffice2007, clNone},
        {0xBDA4A5, 0x957475, clNone, 0x947C7C, 0x947C7C, 0x000000, scOffice2007, clNone},
        {0x82C0AF, 0x447A63, clNone, 0x588060, 0x588060, 0x000000, scOffice2007, clNone},
        {0x808080, 0x808080, clNone, 0x808080, 0x808080, 0x000000, scOffice2007, clNone},
        {0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF, 0x000000, scOffice2007, clNone},
        {0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0x5C534C, 0x000000, scOffice2007, clNone},
        {clBtnFace, clBtnFace, 0x000000, 0xC0C0C0, 0x000000, clHighlightText, scCustom, clHighlight},
        {0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00, 0x000000, scOffice2007, clNone},
        {}, // custom: nothing
        {0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0x74706F, 0x000000, scOffice2007, clNone},
        {0xFFFDF9, 0xFFFAF0, 0x000000, 0xFCF2DA, 0xFCF2DA, 0x000000, scWindowsVista, clNone},
        {0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8, 0xFBD6B8, 0x000000, scWindows7, clNone},
        {clBtnFace, clBtnFace, 0x000000, 0x808080, 0x808080, clHighlightText, scCustom, clHighlight},
        {0xEDDBCD, clNone, 0x5B391E, 0xEEDDCF, 0xEEDDCF, 0x000000, scCustom, 0x6CD0FF},
        {0xEDE9E5, clNone, 0x5B391E, 0xEEDDCF, 0xEEDDCF, 0x000000, scCustom, 0x6CD0FF},
        {0x828282, clNone, 0xD7D7D6, 0xEEDDCF, 0xEEDDCF, 0x000000, scCustom, 0x6CD0FF},
    };
    const int s = int(AStyle);
    if (s < 0 || s > 15 || AStyle == tsCustom)
        return;
    const Row& r = rows[s];
    FHeaderColor = r.header;
    FHeaderColorTo = r.headerTo;
    if (r.font != clNone)
        FHeaderFont.SetColor(r.font);
    SetSelectionColorStyle(r.sel);
    // The style's lines replace the ones its selection colour style set.
    FLineColor = r.line;
    FFixedLineColor = r.fixedLine;
    FSelectionTextColor = r.selText;
    if (r.selColor != clNone) {
        SetSelectionColor(r.selColor);
        SetSelectionColorTo(r.selColor);
    }
}
