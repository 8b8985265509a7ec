// The detail drop-down: items with pictures, captions and notes, completion while typing, and
// the list's keys, wheel and type-ahead.
#include "dropdown/AdvDetailDropDown.h"

#include "dropdown/AdvDropDown_ListStep.h"

#include "render/VurADIDO.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

using namespace platform;

// ---- items -------------------------------------------------------------------------------------

void TDetailItem::Assign(const TDetailItem& Source)
{
    FCaption = Source.FCaption;
    FNotes = Source.FNotes;
    FImageIndex = Source.FImageIndex;
    FImage.Assign(Source.FImage);
    FEnabled = Source.FEnabled;
    FTag = Source.FTag;
    FItemObject = Source.FItemObject;
}

void TDetailItems::SetItems(int Index, const TDetailItem& Value)
{
    if (TDetailItem* item = Items(Index))
        item->Assign(Value);
}

int TDetailItems::IndexOf(const QString& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Caption() == S)
            return i;
    return -1;
}

// ---- the drop-down -----------------------------------------------------------------------------

TAdvDetailDropDown::TAdvDetailDropDown(QWidget* AOwner)
    : TAdvItemPickerDropDown(AOwner, true), FItems(std::make_unique<TDetailItems>(this))
{
    FItems->OnChange = [](QObject*) {};
}

void TAdvDetailDropDown::SetItemIndex(int Value)
{
    if (Value != FItemIndex && Value >= 0 && Value < FItems->Count()) {
        FItemIndex = Value;
        SetText(FItems->Items(Value)->Caption());
        SetSel(0, int(text().size()));
        update();
        if (FItemSelector)
            FItemSelector->viewport()->update();
        if (OnSelect)
            OnSelect(this);
    }
    if (Value != FItemIndex && Value == -1) {
        SetText(QString());
        FItemIndex = -1;
    }
}

void TAdvDetailDropDown::SetText(const QString& Value)
{
    QPointer<TAdvDetailDropDown> self(this);
    const QString before = text();
    const bool was = FSettingText;
    FSettingText = true;
    TAdvCustomDropDown::SetText(Value);
    if (!self)
        return;
    FSettingText = was;
    // The setter clears the modified mark after the text's change step ran; the change step's
    // verdict is the one that stands.
    if (FWorkMode && text() != before)
        SetModified(Text() != FOldValue);
}

// ---- the list ----------------------------------------------------------------------------------

void TAdvDetailDropDown::CreateDropDownForm()
{
    CreateSelector([this](TAdvCustomItemSelector& list) {
        list.OnDrawItem = [this](QObject*, TCanvas& Canvas, TRect R, int Index) { DrawDetailItem(Canvas, R, Index); };
        list.OnItemSize = [this](QObject*, TSize& Size) { MeasureDetailItem(Size); };
        // Rows are measured to the pop-up's width; the few pixels of the panel's margins are not
        // worth a horizontal scroll bar.
        list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    });
}

void TAdvDetailDropDown::PrepareList()
{
    // One column: the detail rows run the list's width.
    FillSelector(1, FItems->Count(), [this](int i, TSelectorItem& row) { CopyImageRow(*FItems->Items(i), row); });
}

void TAdvDetailDropDown::UpdateDropDownSize()
{
    if (FItemSelector) {
        if (DropDownWidth() <= 0)
            FItemSelector->resize(width(), FItemSelector->height());
        if (DropDownHeight() <= 0)
            FItemSelector->resize(FItemSelector->width(), 100);
    }
    TAdvCustomDropDown::UpdateDropDownSize();
}

void TAdvDetailDropDown::DoShowDropDown()
{
    TAdvCustomDropDown::DoShowDropDown();
    // Only a shown list can take the focus.
    if (FItemSelector && DropDownForm() && DropDownForm()->isVisible() && FItemSelector->isVisible())
        FItemSelector->setFocus(Qt::PopupFocusReason);
}

void TAdvDetailDropDown::PrepareDropDownContent()
{
    TAdvCustomDropDown::PrepareDropDownContent();
    if (FItemSelector)
        FItemSelector->UpdateSelectorPanel();
}

void TAdvDetailDropDown::ListItemSelected()
{
    if (!FItemSelector)
        return;
    QPointer<TAdvDetailDropDown> self(this);
    const int index = FItemSelector->ItemIndex();
    const TDetailItem* item = FItems->Items(index);
    if (!item)
        return;
    SetItemIndex(index);
    if (!self)
        return;
    SetText(item->Caption());
    SetSel(0, int(text().size()));
    if (!FInternalCall)
        DoHideDropDown(false);
}

void TAdvDetailDropDown::DoHideDropDown(bool Cancelled)
{
    TAdvCustomDropDown::DoHideDropDown(Cancelled);
    if (Cancelled && FItemSelector && FOldItemIndex != -1)
        SetItemIndex(FOldItemIndex);
}

void TAdvDetailDropDown::SelectNextValue()
{
    TAdvCustomDropDown::SelectNextValue();
    if (!FItemSelector || !DroppedDown()) {
        SelectNext();
        return;
    }
    SetListIndex(liststep::ArrowTarget(FItemSelector->ItemIndex(), VK_DOWN, 1));
    update();
}

void TAdvDetailDropDown::SelectPreviousValue()
{
    TAdvCustomDropDown::SelectPreviousValue();
    if (!FItemSelector || !DroppedDown()) {
        SelectPrevious();
        return;
    }
    SetListIndex(liststep::ArrowTarget(FItemSelector->ItemIndex(), VK_UP, 1));
    update();
}

// ---- keys --------------------------------------------------------------------------------------

void TAdvDetailDropDown::keyPressEvent(QKeyEvent* event)
{
    liststep::TKeyTextScope scope(this, FKeyText, event->text(), &FTyping);
    TAdvCustomDropDown::keyPressEvent(event);
}

bool TAdvDetailDropDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FItemSelector && FItemSelector) {
        if (event->type() == QEvent::Resize) {
            FItemSelector->UpdateSelectorPanel();
        } else if (event->type() == QEvent::KeyPress && DroppedDown()) {
            // The list's own scrolling keys are ours while it is open.
            return FilterListKey(watched, event, &FTyping, [](const TKeyStroke& stroke) {
                return liststep::IsListStepKey(stroke.Key) && !stroke.Shift.testFlag(ssAlt);
            });
        }
    }
    return TAdvCustomDropDown::eventFilter(watched, event);
}

void TAdvDetailDropDown::PerformKeyDown(Word Key, TShiftState Shift)
{
    QPointer<TAdvDetailDropDown> self(this);
    const bool alt = Shift.testFlag(ssAlt);
    const bool open = DroppedDown() && DropDownForm() && DropDownForm()->isVisible();
    if (isEnabled() && !alt && FItemSelector) {
        liststep::TListKeyRules rules;
        rules.EditorEnabled = EditorEnabled();
        // Closed, the editable box leaves Home and End to the caret.
        rules.HomeEndWhenClosed = !EditorEnabled();
        // One row at a time: the detail list has one column.
        rules.Stride = 1;
        rules.RepaintAfterArrow = true;
        const bool listKey = ListKeyDown(*FItemSelector, FInternalCall, Key, open, rules, [this] { PrepareList(); });
        // Type-ahead belongs to the list-only mode: an editable box completes while typing.
        if (!listKey && !Shift.testFlag(ssCtrl) && !EditorEnabled())
            TypeAhead();
        if (!self)
            return;
        if (open && liststep::IsListStepKey(Key))
            return;
    }
    TAdvCustomDropDown::PerformKeyDown(Key, Shift);
}

void TAdvDetailDropDown::HandleKeyDown(Word& Key, TShiftState Shift)
{
    if (FItems->Count() == 0) {
        TAdvCustomDropDown::HandleKeyDown(Key, Shift);
        return;
    }
    QPointer<TAdvDetailDropDown> self(this);
    if (Key == VK_BACK || Key == VK_ESCAPE || Key == VK_DELETE) {
        FWorkMode = false;
    } else if (Key == VK_RETURN) {
        const int i = FItems->IndexOf(Text());
        if (i >= 0) {
            SetText(FItems->Items(i)->Caption());
            SetItemIndex(i);
            if (!self)
                return;
            HandleChange();
        }
    } else {
        FWorkMode = true;
    }
    if (!self)
        return;
    TAdvCustomDropDown::HandleKeyDown(Key, Shift);
    if (!self)
        return;
    if (Key == VK_ESCAPE) {
        const int i = FItems->IndexOf(Text());
        if (i >= 0)
            SetItemIndex(i);
    }
}

// ---- completion --------------------------------------------------------------------------------

void TAdvDetailDropDown::HandleChange()
{
    QPointer<TAdvDetailDropDown> self(this);
    TAdvCustomDropDown::HandleChange();
    if (!self || !FWorkMode)
        return;
    SetModified(Text() != FOldValue);
    // Only typing is completed: not a text the program or the completion itself wrote.
    if (FInChange || FSettingText || !FTyping)
        return;
    const QString text = Text();
    const int P = std::clamp(SelStart() - int(Prefix().size()), 0, int(text.size()));
    const QString typed = text.left(P);
    const QString key = (FMatchCase ? text : text.toUpper()).left(P);
    if (FItems->Count() == 0)
        return;
    FInChange = true;
    struct Reset {
        QPointer<TAdvDetailDropDown> d;
        ~Reset()
        {
            if (d)
                d->FInChange = false;
        }
    } reset{self};
    if (!key.isEmpty()) {
        for (int i = 0; i < FItems->Count(); ++i) {
            const QString caption = FItems->Items(i)->Caption();
            const QString folded = FMatchCase ? caption : caption.toUpper();
            if (!folded.startsWith(key))
                continue;
            const QString completed = typed + caption.mid(key.size(), 255);
            SetText(completed);
            if (!self)
                return;
            FItemIndex = i;
            const int start = int(Prefix().size());
            setSelection(start + int(completed.size()), P - int(completed.size()));
            return;
        }
    }
    if (!typed.isEmpty()) {
        SetText(typed);
        if (!self)
            return;
        setCursorPosition(int(Prefix().size()) + P);
    }
}

// ---- row size and drawing ----------------------------------------------------------------------

void TAdvDetailDropDown::MeasureDetailItem(TSize& Size)
{
    int w = DropDownWidth() > 0 ? DropDownWidth() : (DropDownForm() ? DropDownForm()->width() : width());
    if (FItemSelector && FItemSelector->verticalScrollBar()->isVisible())
        w -= FItemSelector->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int borderWidth = 1;
    Size.cx = w - 2 * borderWidth - 4;
    Size.cy = FItemHeight;
}

void TAdvDetailDropDown::DrawDetailItem(TCanvas& Canvas, TRect R, int Index)
{
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, Canvas, R);
        return;
    }
    const TDetailItem* item = FItems->Items(Index);
    if (!item)
        return;
    const bool hasCaption = !item->Caption().isEmpty();
    auto place = [&](int w, int h) {
        const int x = hasCaption ? R.Left + 2 : R.Left + (R.Width() - w) / 2;
        const int y = R.Top + (R.Height() - h) / 2;
        return TPoint(x, y);
    };
    if (item->Image().Empty() && Images() && item->ImageIndex() >= 0) {
        const TPoint p = place(Images()->Width(), Images()->Height());
        Images()->Draw(Canvas, p.X, p.Y, item->ImageIndex());
        R.Left += Images()->Width() + 4;
    } else if (!item->Image().Empty()) {
        const TPicture& pic = item->Image();
        const TPoint p = place(pic.Width(), pic.Height());
        Canvas.Draw(p.X, p.Y, pic.Graphic());
        R.Left += pic.Width() + 4;
    }
    const int hot = FItemSelector ? FItemSelector->ItemHot() : -1;
    auto colourFor = [&](TFont& font) {
        if (Index == hot)
            font.SetColor(FItemAppearance->ColorHotText);
        if (Index == FItemIndex)
            font.SetColor(FItemAppearance->ColorSelectedText);
    };
    Canvas.SetFont(FCaptionFont);
    colourFor(Canvas.Font());
    Canvas.Brush().SetStyle(bsClear);
    R.Left += 4;
    R.Top += 2;
    R.Right -= 4;
    TRect textRect = R;
    DrawText(Canvas, item->Caption(), textRect, DT_SINGLELINE | DT_END_ELLIPSIS);
    if (!item->Notes().isEmpty()) {
        R.Top += Canvas.TextHeight(QStringLiteral("gh"));
        Canvas.SetFont(FNotesFont);
        colourFor(Canvas.Font());
        TMarkupRenderParams p;
        p.Images = Images();
        p.Window = FItemSelector;
        TMarkupRenderResult result;
        RenderMarkupText(Canvas, item->Notes(), R, p, result);
    }
}
