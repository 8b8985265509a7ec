// The image picker drop-down: its items, the list in the pop-up, keys, wheel, type-ahead and the
// chosen image in the edit.
#include "dropdown/AdvImagePickerDropDown.h"

#include "dropdown/AdvDropDown_ListStep.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

using namespace platform;

// ---- items -------------------------------------------------------------------------------------

void TImageItem::Assign(const TImageItem& Source)
{
    FCaption = Source.FCaption;
    FImageIndex = Source.FImageIndex;
    FImage.Assign(Source.FImage);
    FEnabled = Source.FEnabled;
    FHint = Source.FHint;
}

// ---- the drop-down -----------------------------------------------------------------------------

TAdvImagePickerDropDown::TAdvImagePickerDropDown(QWidget* AOwner)
    : TAdvItemPickerDropDown(AOwner, false), FItems(std::make_unique<TImageItems>(this))
{
    FItems->OnChange = [](QObject*) {};
}

void TAdvImagePickerDropDown::Create()
{
    TAdvItemPickerDropDown::Create();
    setCursor(Qt::ArrowCursor);
}

void TAdvImagePickerDropDown::SetItemIndex(int Value)
{
    if (Value == FItemIndex || Value >= FItems->Count())
        return;
    QPointer<TAdvImagePickerDropDown> self(this);
    FItemIndex = Value;
    update();
    if (OnChange)
        OnChange(this);
    if (self && OnSelect)
        OnSelect(this);
}

int TAdvImagePickerDropDown::ImageIndex() const
{
    const TImageItem* item = FItems->Items(FItemIndex);
    return item ? item->ImageIndex() : -1;
}

void TAdvImagePickerDropDown::SetImageIndex(int Value)
{
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->ImageIndex() == Value) {
            SetItemIndex(i);
            return;
        }
    SetItemIndex(-1);
}

void TAdvImagePickerDropDown::AddImagesFromImageList()
{
    if (!Images())
        return;
    for (int i = 0; i < Images()->Count(); ++i)
        FItems->Add()->SetImageIndex(i);
}

void TAdvImagePickerDropDown::AddImagesFromFolder(const QString& AFolder, bool SetImageCaption)
{
    const QFileInfo pattern(AFolder);
    QDir dir = pattern.dir();
    const QStringList names = dir.entryList({pattern.fileName()}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        TImageItem* item = FItems->Add();
        try {
            item->Image().LoadFromFile(dir.filePath(name));
        } catch (...) {
            item->SetImage(TPicture());
            continue;
        }
        if (item->Image().Empty())
            continue;
        if (SetImageCaption)
            item->SetCaption(name);
    }
}

// ---- the list ----------------------------------------------------------------------------------

void TAdvImagePickerDropDown::CreateDropDownForm()
{
    CreateSelector([](TAdvCustomItemSelector&) {});
}

void TAdvImagePickerDropDown::PrepareList()
{
    if (!FItemSelector)
        return;
    FillSelector(FColumns, FItems->Count(), [this](int i, TSelectorItem& row) {
        const TImageItem* item = FItems->Items(i);
        CopyImageRow(*item, row);
        row.SetHint(item->Hint());
    });
    TAdvCustomItemSelector& list = *FItemSelector;
    if (OnDrawItem)
        list.OnDrawItem = [this](QObject*, TCanvas& Canvas, TRect R, int Index) {
            if (OnDrawItem)
                OnDrawItem(this, Canvas, R, Index);
        };
    else
        list.OnDrawItem = nullptr;
}

void TAdvImagePickerDropDown::BeforeDropDown()
{
    TAdvItemPickerDropDown::BeforeDropDown();
    FListOpened = true;
}

void TAdvImagePickerDropDown::UpdateDropDownSize()
{
    if (!FItemSelector) {
        TAdvCustomDropDown::UpdateDropDownSize();
        return;
    }
    TSize natural;
    FItemSelector->GetSelectorSize(natural);
    int w = FItemSelector->width(), h = FItemSelector->height();
    if (DropDownWidth() < 1)
        w = natural.cx;
    if (DropDownHeight() < 1)
        h = natural.cy;
    FItemSelector->resize(w, h);
    TAdvCustomDropDown::UpdateDropDownSize();
    TDropDownForm* form = DropDownForm();
    if (!form)
        return;
    // The list fills the form inside its border, so a list at its natural width needs the border
    // beside it as well; else the panel no longer fits and both scroll bars show.
    const int border = DropDownBorderWidth();
    if (DropDownWidth() < 1)
        form->resize(form->width() + 2 * border, form->height());
    // Whether the list will show its vertical scroll bar follows from the room it will get: the
    // scroll bar itself only knows once the form is laid out, after this.
    int room = form->height() - 2 * border;
    if (DropDownHeader().Visible())
        room -= DropDownHeader().Height();
    if (DropDownFooter().Visible())
        room -= DropDownFooter().Height();
    if (natural.cy > room) {
        const int bar = FItemSelector->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        form->resize(form->width() + bar, form->height());
    }
}

void TAdvImagePickerDropDown::ListItemSelected()
{
    if (!FItemSelector)
        return;
    QPointer<TAdvImagePickerDropDown> self(this);
    const int index = FItemSelector->ItemIndex();
    if (index >= FItems->Count())
        return;
    SetItemIndex(index);
    if (self && !FInternalCall)
        DoHideDropDown(false);
}

void TAdvImagePickerDropDown::DoHideDropDown(bool Cancelled)
{
    TAdvCustomDropDown::DoHideDropDown(Cancelled);
    // Before the list ever opened there is no opening choice to go back to.
    if (Cancelled && FItemSelector && FListOpened)
        SetItemIndex(FOldItemIndex);
}

void TAdvImagePickerDropDown::SelectNextValue()
{
    TAdvCustomDropDown::SelectNextValue();
    if (!FItemSelector || !isEnabled() || isReadOnly())
        return;
    if (DroppedDown()) {
        FItemSelector->HotNext();
        return;
    }
    liststep::TInternalCall call(FInternalCall);
    FItemSelector->SelectNext();
}

void TAdvImagePickerDropDown::SelectPreviousValue()
{
    TAdvCustomDropDown::SelectPreviousValue();
    if (!FItemSelector || !isEnabled() || isReadOnly())
        return;
    if (DroppedDown()) {
        FItemSelector->HotPrevious();
        return;
    }
    liststep::TInternalCall call(FInternalCall);
    FItemSelector->SelectPrevious();
}

// ---- keys --------------------------------------------------------------------------------------

void TAdvImagePickerDropDown::keyPressEvent(QKeyEvent* event)
{
    liststep::TKeyTextScope scope(this, FKeyText, event->text());
    TAdvCustomDropDown::keyPressEvent(event);
}

bool TAdvImagePickerDropDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FItemSelector && FItemSelector && event->type() == QEvent::KeyPress && DroppedDown()) {
        // The list's own scrolling would move the view away from the keyed choice: unlike the
        // detail list, Home and End are kept from it too, with or without Alt.
        return FilterListKey(watched, event, nullptr, [](const TKeyStroke& stroke) {
            return liststep::IsListStepKey(stroke.Key) || stroke.Key == VK_HOME || stroke.Key == VK_END;
        });
    }
    return TAdvCustomDropDown::eventFilter(watched, event);
}

void TAdvImagePickerDropDown::PerformKeyDown(Word Key, TShiftState Shift)
{
    QPointer<TAdvImagePickerDropDown> self(this);
    bool handled = false;
    if (isEnabled() && DroppedDown() && Key == VK_RETURN && FItemSelector && FItemSelector->ItemHot() >= 0) {
        FItemSelector->SetItemIndex(FItemSelector->ItemHot());
        handled = true;
        if (!self)
            return;
    }
    TAdvCustomDropDown::PerformKeyDown(Key, Shift);
    if (!self || !isEnabled() || Shift.testFlag(ssAlt) || !FItemSelector)
        return;
    const bool open = DroppedDown() && DropDownForm() && DropDownForm()->isVisible();
    if (Key == VK_RETURN) {
        if (!handled && OnSelect)
            OnSelect(this);
        return;
    }
    liststep::TListKeyRules rules;
    rules.EditorEnabled = EditorEnabled();
    // Closed, Home and End choose the last or first image whatever the editor setting.
    rules.HomeEndWhenClosed = true;
    // Up and Down move a whole row of the grid of images.
    rules.Stride = FItemSelector->Columns();
    rules.RepaintAfterArrow = false;
    if (!ListKeyDown(*FItemSelector, FInternalCall, Key, open, rules, [this] { PrepareList(); }) &&
        !Shift.testFlag(ssCtrl))
        TypeAhead();
}

// ---- the chosen image in the edit --------------------------------------------------------------

void TAdvImagePickerDropDown::DrawFocusedText(TCanvas& Canvas)
{
    TAdvCustomDropDown::DrawFocusedText(Canvas);
    const TRect R = GetEditRect();
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, Canvas, R);
        return;
    }
    const TImageItem* item = FItems->Items(FItemIndex);
    if (!item)
        return;
    if (!item->Image().Empty()) {
        const TPicture& pic = item->Image();
        Canvas.Draw(R.Left + (R.Width() - pic.Width()) / 2, R.Top + (R.Height() - pic.Height()) / 2, pic.Graphic());
    } else if (Images() && item->ImageIndex() >= 0) {
        Images()->Draw(Canvas, R.Left + (R.Width() - Images()->Width()) / 2,
                       R.Top + (R.Height() - Images()->Height()) / 2, item->ImageIndex());
    }
}
