#pragma once
// Index stepping, type-ahead and the list keys of the drop-downs whose pop-up is an item selector
// (the detail and image picker drop-downs). Each drop-down keeps its own state (the list, the
// internal-call flag, the search text and timer); these functions do the steps the two share.
#include "dropdown/AdvDropDown_Selector.h"
#include "platform/Keys.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QTimer;

namespace liststep {

using platform::keys::Word;

enum class TIndexStep { First, Last, Next, Previous };

// Where SelectFirst, SelectLast, SelectNext or SelectPrevious land from Index among Count items:
// nothing without items; Next and Previous go to 0 from -1 and stay at either end.
std::optional<int> StepIndex(TIndexStep Step, int Index, int Count);

// Holds the internal-call flag set for a list selection made by a key or the wheel, so that the
// list's selection notice does not close the pop-up; restores it after.
class TInternalCall {
public:
    explicit TInternalCall(bool& Flag) : FFlag(Flag), FWas(Flag) { Flag = true; }
    ~TInternalCall() { FFlag = FWas; }
    TInternalCall(const TInternalCall&) = delete;
    TInternalCall& operator=(const TInternalCall&) = delete;

private:
    bool& FFlag;
    bool FWas;
};

// Keeps the text of the key event being handled (and, where given, a "typing" mark) for the
// type-ahead while the event runs; restores both after, unless the owner went away meanwhile.
class TKeyTextScope {
public:
    TKeyTextScope(QObject* Owner, QString& KeyText, const QString& Text, bool* Typing = nullptr);
    ~TKeyTextScope();
    TKeyTextScope(const TKeyTextScope&) = delete;
    TKeyTextScope& operator=(const TKeyTextScope&) = delete;

private:
    QPointer<QObject> FOwner;
    QString& FKeyText;
    QString FWasText;
    bool* FTyping;
    bool FWasTyping = false;
};

// The 500 ms search timer; its expiry runs Expired (exceptions stay inside).
QTimer* CreateSearchTimer(QObject* Owner, std::function<void()> Expired);
// The timer's expiry: the search text starts afresh.
void ClearSearch(QString& CurSearch, QTimer* Timer);

// Selects a list row as a key does (internal call), only for a row the list has.
void SetListIndex(TAdvCustomItemSelector* List, bool& InternalCall, int Index);

// Type-ahead: appends the key's printable text, upper-cased, to the search text, lets the list
// select the first row that begins with it and starts the timer unless it already runs. A key
// without text adds nothing.
void TypeAhead(const QString& KeyText, QString& CurSearch, TAdvCustomItemSelector* List, bool& InternalCall,
               QTimer* Timer);

// Page Up (VK_PRIOR) and Page Down (VK_NEXT): the list is refilled first when its rows do not
// match the items, then moves a page of visible rows, kept within 0 .. ItemCount - 1.
void PageStep(TAdvCustomItemSelector& List, bool& InternalCall, Word Key, int ItemCount,
              const std::function<void()>& Refill);

// Home, End, Left and Right in the open list: the list moves its own selection.
void MoveInOpenList(TAdvCustomItemSelector& List, bool& InternalCall, Word Key);

// Up and Down in the open list: the row Stride before or after ListIndex; 0 from none.
int ArrowTarget(int ListIndex, Word Key, int Stride);

// The keys that move the open list: Page Up, Page Down and the four arrows.
bool IsListStepKey(Word Key);

// Where the two drop-downs' list keys part ways.
struct TListKeyRules {
    bool EditorEnabled = false;     // Left and Right move the open list only in a pick-only box
    bool HomeEndWhenClosed = true;  // Home and End choose the first or last item while closed
    int Stride = 1;                 // rows Up and Down move in the open list (its columns)
    bool RepaintAfterArrow = false; // Up and Down in the open list repaint the control
};

// SelectFirst, SelectLast, SelectNext and SelectPrevious, and the list keys, for a drop-down
// (TOwner) with Items().Count(), ItemIndex() and SetItemIndex(int).
template <class TOwner>
class TIndexStepping {
public:
    void SelectFirst() { Step(TIndexStep::First); }
    void SelectLast() { Step(TIndexStep::Last); }
    void SelectNext() { Step(TIndexStep::Next); }
    void SelectPrevious() { Step(TIndexStep::Previous); }

protected:
    // Page Up, Page Down, Home, End and the arrows, open or closed; false for any other key.
    bool ListKeyDown(TAdvCustomItemSelector& List, bool& InternalCall, Word Key, bool Open,
                     const TListKeyRules& Rules, const std::function<void()>& Refill)
    {
        using namespace platform::keys;
        TOwner& owner = static_cast<TOwner&>(*this);
        switch (Key) {
        case VK_PRIOR:
        case VK_NEXT:
            PageStep(List, InternalCall, Key, owner.Items().Count(), Refill);
            return true;
        case VK_END:
        case VK_HOME:
            if (Open)
                MoveInOpenList(List, InternalCall, Key);
            else if (Rules.HomeEndWhenClosed)
                Key == VK_END ? SelectLast() : SelectFirst();
            return true;
        case VK_LEFT:
        case VK_RIGHT:
            if (Open && !Rules.EditorEnabled)
                MoveInOpenList(List, InternalCall, Key);
            return true;
        case VK_UP:
        case VK_DOWN:
            if (Open) {
                SetListIndex(&List, InternalCall, ArrowTarget(List.ItemIndex(), Key, Rules.Stride));
                if (Rules.RepaintAfterArrow)
                    owner.update();
            } else {
                Key == VK_UP ? SelectPrevious() : SelectNext();
            }
            return true;
        default:
            return false;
        }
    }

private:
    void Step(TIndexStep S)
    {
        TOwner& owner = static_cast<TOwner&>(*this);
        if (const std::optional<int> target = StepIndex(S, owner.ItemIndex(), owner.Items().Count()))
            owner.SetItemIndex(*target);
    }
};

} // namespace liststep
