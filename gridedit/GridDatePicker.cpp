#include "gridedit/GridDatePicker.h"

#include "grid/AdvGrid.h"
#include "platform/Messages.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

using namespace AsgDatePicker;

// ---- TGridDatePicker ------------------------------------------------------------------------------

TGridDatePicker::TGridDatePicker(TVerIvovavOzed* AOwner)
    : TAsgDateTimePicker(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    // No frame of its own: the cell's grid lines frame it.
    setFrame(false);
    ApplyCalendarLooks();
    setEnabled(false);
    hide();
}

bool TGridDatePicker::Editing() const { return FGrid && FGrid->GetEditMode() && !FGrid->TearingDown(); }

void TGridDatePicker::ApplyCalendarLooks()
{
    if (QCalendarWidget* cal = calendarWidget())
        cal->setVerticalHeaderFormat(FWeekNumbers ? QCalendarWidget::ISOWeekNumbers
                                                  : QCalendarWidget::NoVerticalHeader);
}

void TGridDatePicker::LoadText(const QString& Text)
{
    platform::TDateTime v = 0;
    if (Kind() == dtkTime) {
        if (platform::TryStrToTime(Text, v))
            SetTime(v);
        else
            SetDate(platform::Now());
    } else {
        SetDate(platform::TryStrToDate(Text, v) ? v : platform::Now());
    }
}

void TGridDatePicker::KeyPress(QChar& Key)
{
    if (Key >= QLatin1Char('0') && Key <= QLatin1Char('9')) {
        FBefore = FieldsOf(dateTime());
        TAsgDateTimePicker::KeyPress(Key);
        platform::PostMessage(this, AsgDatePicker::DTPShiftFocusMessage(), 0, 0);
        return;
    }
    TAsgDateTimePicker::KeyPress(Key);
}

void TGridDatePicker::FieldAdvance()
{
    if (AsgDatePicker::FieldAdvance(Kind() == dtkTime, FBefore, FieldsOf(dateTime()), Format()) == faNextField)
        QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier));
}

void TGridDatePicker::KeyDown(Word& Key, TShiftState Shift)
{
    if (!Editing()) {
        TAsgDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END: break;
    default: TAsgDateTimePicker::KeyDown(Key, Shift); return;
    }
    TVerIvovavOzed* g = FGrid;
    QPointer<TGridDatePicker> self(this);
    const Word key = Key;
    Key = 0;
    auto validate = [&]() -> bool {
        const QString t = text();
        g->SetCurrentCell(t);
        if (!g->ValidateCell(t)) {
            if (self) {
                LoadText(g->FNewCellText);
                update();
            }
            g->FNoAutoAdvance = true;
            return false;
        }
        if (self)
            LoadText(g->CurrentCell());
        return true;
    };
    if (key == VK_ESCAPE) {
        LoadText(g->CurrentCell());
    } else if (key == VK_RETURN) {
        // The field being typed is closed before the value is read.
        FTypedSection = -1;
        if (!validate() || !self)
            return;
    } else if (key == VK_TAB && g->HasCellValidation()) {
        if (!validate() || !self)
            return;
        if (g->Options() & goTabs) {
            g->HideInplaceEdit();
            FocusGridQuietly(g);
            g->TabNavigate(Shift.testFlag(ssShift));
            return;
        }
        QCoreApplication::postEvent(g, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab,
                                                     Shift.testFlag(ssShift) ? Qt::ShiftModifier : Qt::NoModifier));
    }
    if (!DroppedDown())
        g->DoneInplaceEdit(key, Shift);
}

bool TGridDatePicker::event(QEvent* e)
{
    if (e->type() == AsgDatePicker::DTPShiftFocusMessage()) {
        try {
            FieldAdvance();
        } catch (...) {
        }
        return true;
    }
    // Tab reaches the key steps instead of moving the focus when the grid handles Tab in editors.
    if (QKeyEvent* ke = platform::PlainTabPress(e); ke && Editing() && FGrid->HasCellValidation()) {
        keyPressEvent(ke);
        return true;
    }
    return TAsgDateTimePicker::event(e);
}

void TGridDatePicker::focusOutEvent(QFocusEvent* event)
{
    // The calendar taking the focus is part of the edit.
    EndEditOnFocusOut(FGrid, event, Editing());
    TAsgDateTimePicker::focusOutEvent(event);
}

// ---- TGridDateTimePicker --------------------------------------------------------------------------

TGridDateTimePicker::TGridDateTimePicker(TVerIvovavOzed* AOwner)
    : TAdvDateTimePicker(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    setEnabled(false);
    hide();
}

bool TGridDateTimePicker::Editing() const { return FGrid && FGrid->GetEditMode() && !FGrid->TearingDown(); }

void TGridDateTimePicker::KeyDown(Word& Key, TShiftState Shift)
{
    if (!Editing()) {
        TAdvDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    TVerIvovavOzed* g = FGrid;
    switch (Key) {
    case VK_ESCAPE:
        // The whole start value comes back, its time of day included.
        SetDateTime(FOriginalDateTime);
        Key = 0;
        g->HideInplaceEdit();
        FocusGridQuietly(g);
        break;
    case VK_RETURN:
        Key = 0;
        g->HideInplaceEdit();
        FocusGridQuietly(g);
        if (g->Navigation().AdvanceOnEnter())
            g->AdvanceToNextCell(g->Col(), g->Row(), true, false, true, true, false);
        break;
    case VK_TAB:
        if (!g->HasCellValidation()) {
            TAdvDateTimePicker::KeyDown(Key, Shift);
            break;
        }
        Key = 0;
        // The take-back has written the date and the time; the date field's text alone would
        // lose the time, so it is not written over it.
        g->HideInplaceEdit();
        FocusGridQuietly(g);
        g->TabNavigate(Shift.testFlag(ssShift));
        break;
    default: TAdvDateTimePicker::KeyDown(Key, Shift); break;
    }
}

bool TGridDateTimePicker::event(QEvent* e)
{
    if (QKeyEvent* ke = platform::PlainTabPress(e); ke && Editing() && FGrid->HasCellValidation()) {
        keyPressEvent(ke);
        return true;
    }
    return TAdvDateTimePicker::event(e);
}
