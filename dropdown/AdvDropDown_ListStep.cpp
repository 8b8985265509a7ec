// Index stepping, type-ahead and list keys shared by the item-selector drop-downs.
#include "dropdown/AdvDropDown_ListStep.h"

#include <QTimer>
#include <algorithm>

using namespace platform::keys;

namespace liststep {

std::optional<int> StepIndex(TIndexStep Step, int Index, int Count)
{
    if (Count <= 0)
        return std::nullopt;
    switch (Step) {
    case TIndexStep::First:
        return 0;
    case TIndexStep::Last:
        return Count - 1;
    case TIndexStep::Next:
        if (Index == -1)
            return 0;
        if (Index + 1 < Count)
            return Index + 1;
        return std::nullopt;
    case TIndexStep::Previous:
        if (Index == -1)
            return 0;
        if (Index - 1 >= 0)
            return Index - 1;
        return std::nullopt;
    }
    return std::nullopt;
}

TKeyTextScope::TKeyTextScope(QObject* Owner, QString& KeyText, const QString& Text, bool* Typing)
    : FOwner(Owner), FKeyText(KeyText), FWasText(KeyText), FTyping(Typing)
{
    FKeyText = Text;
    if (FTyping) {
        FWasTyping = *FTyping;
        *FTyping = true;
    }
}

TKeyTextScope::~TKeyTextScope()
{
    if (!FOwner)
        return;
    FKeyText = FWasText;
    if (FTyping)
        *FTyping = FWasTyping;
}

QTimer* CreateSearchTimer(QObject* Owner, std::function<void()> Expired)
{
    auto* timer = new QTimer(Owner);
    timer->setInterval(500);
    QObject::connect(timer, &QTimer::timeout, Owner, [Expired = std::move(Expired)]() {
        try {
            Expired();
        } catch (...) {
        }
    });
    return timer;
}

void ClearSearch(QString& CurSearch, QTimer* Timer)
{
    CurSearch.clear();
    Timer->stop();
}

void SetListIndex(TAdvCustomItemSelector* List, bool& InternalCall, int Index)
{
    if (!List || Index < 0 || Index >= List->Items().Count())
        return;
    TInternalCall call(InternalCall);
    List->SetItemIndex(Index);
}

void TypeAhead(const QString& KeyText, QString& CurSearch, TAdvCustomItemSelector* List, bool& InternalCall,
               QTimer* Timer)
{
    QString typed;
    for (QChar c : KeyText)
        if (c.unicode() >= 32 && c.unicode() != 127)
            typed += c;
    if (typed.isEmpty())
        return;
    CurSearch += typed.toUpper();
    if (List) {
        TInternalCall call(InternalCall);
        List->LookupItem(CurSearch);
    }
    if (!Timer->isActive())
        Timer->start();
}

void PageStep(TAdvCustomItemSelector& List, bool& InternalCall, Word Key, int ItemCount,
              const std::function<void()>& Refill)
{
    if (List.Items().Count() != ItemCount)
        Refill();
    const int n = List.GetVisibleItemCount();
    const int cur = List.ItemIndex();
    if (n >= 1)
        SetListIndex(&List, InternalCall, Key == VK_PRIOR ? std::max(0, cur - n) : std::min(ItemCount - 1, cur + n));
}

void MoveInOpenList(TAdvCustomItemSelector& List, bool& InternalCall, Word Key)
{
    TInternalCall call(InternalCall);
    switch (Key) {
    case VK_HOME:
        List.SelectFirst();
        break;
    case VK_END:
        List.SelectLast();
        break;
    case VK_LEFT:
        List.SelectPrevious();
        break;
    case VK_RIGHT:
        List.SelectNext();
        break;
    default:
        break;
    }
}

int ArrowTarget(int ListIndex, Word Key, int Stride)
{
    if (ListIndex < 0)
        return 0;
    return Key == VK_UP ? ListIndex - Stride : ListIndex + Stride;
}

bool IsListStepKey(Word Key)
{
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
}

} // namespace liststep
