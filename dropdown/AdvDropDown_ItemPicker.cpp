// The list, styles, type-ahead and open-list keys shared by the item-selector drop-downs.
#include "dropdown/AdvDropDown_ItemPicker.h"

#include <QKeyEvent>
#include <QPointer>

using namespace platform;

TAdvItemPickerDropDown::TAdvItemPickerDropDown(QWidget* AOwner, bool Editable)
    : TAdvCustomDropDown(AOwner), FItemAppearance(std::make_unique<TItemAppearance>(this)), FEditable(Editable)
{
    FKeyTimer = liststep::CreateSearchTimer(this, [this]() { KeyTimerExpired(); });
}

void TAdvItemPickerDropDown::Create()
{
    TAdvCustomDropDown::Create();
    SetEditorEnabled(FEditable);
    SetDropDownEnabled(true);
}

TAdvItemPickerDropDown::~TAdvItemPickerDropDown()
{
    FKeyTimer->stop();
}

void TAdvItemPickerDropDown::KeyTimerExpired()
{
    liststep::ClearSearch(FCurSearch, FKeyTimer);
}

void TAdvItemPickerDropDown::SetComponentStyle(TOrlexStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    ApplyItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

void TAdvItemPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
    if (FItemSelector)
        FItemSelector->ItemAppearance().SetColorStyle(Value);
}

void TAdvItemPickerDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    PrepareList();
    FOldItemIndex = FItemIndex;
}

void TAdvItemPickerDropDown::CreateSelector(const std::function<void(TAdvCustomItemSelector& List)>& First)
{
    if (!CreateDropDownControl(FItemSelector, [&](TAdvCustomItemSelector& list) {
            list.SetSelectorType(stImage);
            list.setGeometry(0, 0, list.width(), 150);
            First(list);
            list.installEventFilter(this);
            list.hide();
        }))
        return;
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->UpdateSelectorPanel();
    SetControl(FItemSelector);
}

void TAdvItemPickerDropDown::FillSelector(int Columns, int Count,
                                          const std::function<void(int Index, TSelectorItem& Row)>& Row)
{
    if (!FItemSelector)
        return;
    TAdvCustomItemSelector& list = *FItemSelector;
    list.OnItemSelect = nullptr;
    list.SetColumns(Columns);
    list.SetImages(Images());
    list.SetItemLayout(FLayout);
    list.SetColor(DropDownColor());
    list.SetItemAppearance(*FItemAppearance);
    list.Items().Clear();
    for (int i = 0; i < Count; ++i)
        Row(i, *list.Items().Add());
    list.UpdateSelectorPanel();
    list.SetItemIndex(FItemIndex);
    list.OnItemSelect = [this](QObject*) { ListItemSelected(); };
}

void TAdvItemPickerDropDown::SetListIndex(int Index)
{
    liststep::SetListIndex(FItemSelector, FInternalCall, Index);
}

void TAdvItemPickerDropDown::TypeAhead()
{
    liststep::TypeAhead(FKeyText, FCurSearch, FItemSelector, FInternalCall, FKeyTimer);
}

bool TAdvItemPickerDropDown::FilterListKey(QObject* watched, QEvent* event, bool* Typing,
                                           const std::function<bool(const platform::TKeyStroke& Stroke)>& Keep)
{
    auto* ke = static_cast<QKeyEvent*>(event);
    const TKeyStroke stroke = TranslateKey(ke);
    QPointer<TAdvItemPickerDropDown> self(this);
    bool done;
    {
        liststep::TKeyTextScope scope(this, FKeyText, ke->text(), Typing);
        done = TAdvCustomDropDown::eventFilter(watched, event);
    }
    if (!self)
        return true;
    if (Keep(stroke))
        return true;
    return done;
}
