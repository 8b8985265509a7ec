#include "gridedit/GridSpin.h"

#include "grid/AdvGrid.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

TGridSpin::TGridSpin(TVerIvovavOzed* AOwner) : TAsgSpinEdit(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    SetMaxValue(100);
    SetMinValue(0);
    SetIncrement(1);
    SetBorderStyle(bsNone);
    setEnabled(false);
    hide();
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
        try {
            if (!Editing())
                return;
            QPointer<TGridSpin> self(this);
            FGrid->InplaceTextChanged(t);
            if (self && Editing())
                FGrid->DoEditChange(FGrid->Col(), FGrid->Row(), t);
        } catch (...) {
        }
    });
}

bool TGridSpin::Editing() const { return FGrid && FGrid->EditMode && !FGrid->TearingDown(); }

void TGridSpin::FireSpinClick(bool UpDown)
{
    if (!FGrid)
        return;
    TVerIvovavOzed* g = FGrid;
    switch (SpinType()) {
    case sptNormal:
        if (g->OnSpinClick)
            g->OnSpinClick(g, g->Col(), g->Row(), Value(), UpDown);
        break;
    case sptFloat:
        if (g->OnFloatSpinClick)
            g->OnFloatSpinClick(g, g->Col(), g->Row(), FloatValue(), UpDown);
        break;
    case sptDate:
        if (g->OnDateSpinClick)
            g->OnDateSpinClick(g, g->Col(), g->Row(), DateValue(), UpDown);
        break;
    case sptTime:
        if (g->OnTimeSpinClick)
            g->OnTimeSpinClick(g, g->Col(), g->Row(), TimeValue(), UpDown);
        break;
    }
}

void TGridSpin::SpinUp()
{
    TAsgSpinEdit::SpinUp();
    FireSpinClick(true);
}

void TGridSpin::SpinDown()
{
    TAsgSpinEdit::SpinDown();
    FireSpinClick(false);
}

bool TGridSpin::ValueKey(Word Key)
{
    const TAsgSpinType t = SpinType();
    const bool number = t == sptNormal || t == sptFloat;
    if (number) {
        switch (Key) {
        case VK_PRIOR:
            if (t == sptNormal) {
                if (int64_t(Value()) + Increment() <= MaxValue())
                    SetValue(Value() + Increment());
            } else if (FloatValue() + IncrementFloat() <= MaxFloatValue()) {
                SetFloatValue(FloatValue() + IncrementFloat());
            }
            break;
        case VK_NEXT:
            if (t == sptNormal) {
                if (int64_t(Value()) - Increment() >= MinValue())
                    SetValue(Value() - Increment());
            } else if (FloatValue() - IncrementFloat() >= MinFloatValue()) {
                SetFloatValue(FloatValue() - IncrementFloat());
            }
            break;
        case VK_END:
            if (t == sptNormal)
                SetValue(MinValue());
            else
                SetFloatValue(MinFloatValue());
            break;
        case VK_HOME:
            if (t == sptNormal)
                SetValue(MaxValue());
            else
                SetFloatValue(MaxFloatValue());
            break;
        default: return false;
        }
    }
    if (FGrid && FGrid->OnSpinClick)
        FGrid->OnSpinClick(FGrid, FGrid->Col(), FGrid->Row(), Value(), Key == VK_PRIOR || Key == VK_HOME);
    // A number has made its page step above; a second one from the spin edit's own handling would
    // step twice for one key.
    return number && (Key == VK_PRIOR || Key == VK_NEXT);
}

// The grid takes the focus with its always-edit navigation off, so that no editor reopens.
void TGridSpin::EndKey(Word Key, TShiftState Shift)
{
    TVerIvovavOzed* g = FGrid;
    QPointer<TGridSpin> self(this);
    if (Key == VK_ESCAPE) {
        setText(g->FCellCache);
        // The spin edit's own reading: a text that is no number gives its fallback, never an error.
        if (SpinType() == sptNormal)
            SetValue(Value());
        else if (SpinType() == sptFloat)
            SetFloatValue(FloatValue());
    } else {
        const QString t = text();
        g->SetCurrentCell(t);
        if (!g->ValidateCell(t)) {
            if (self) {
                setText(g->CurrentCell());
                setCursorPosition(int(text().size()));
                update();
            }
            g->FNoAutoAdvance = true;
            return;
        }
        if (!self)
            return;
        setText(g->CurrentCell());
    }
    if (Key == VK_TAB && (g->Options() & goTabs)) {
        g->HideInplaceEdit();
        FocusGridQuietly(g);
        g->TabNavigate(Shift.testFlag(ssShift));
        return;
    }
    // Escape gives the cell back exactly as it was: the editor's reading of it ("12abc" reads 12,
    // a float is reformatted) is not written.
    FKeepCellText = Key == VK_ESCAPE;
    try {
        g->DoneInplaceEdit(Key, Shift);
    } catch (...) {
        if (self)
            FKeepCellText = false;
        throw;
    }
    if (self)
        FKeepCellText = false;
    if (Key == VK_RETURN && g->Navigation().AdvanceOnEnter() && g->Navigation().AdvanceAutoEdit())
        g->ShowInplaceEdit();
}

void TGridSpin::keyPressEvent(QKeyEvent* event)
{
    if (!Editing()) {
        TAsgSpinEdit::keyPressEvent(event);
        return;
    }
    const Word vk = platform::VirtualKeyOf(event->key(), event->modifiers());
    TShiftState shift = platform::TranslateKey(event).Shift;
    if (event->key() == Qt::Key_Backtab)
        shift |= ssShift;
    try {
        switch (vk) {
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END:
            if (ValueKey(vk)) {
                event->accept();
                return;
            }
            break;
        case VK_TAB:
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_UP:
        case VK_DOWN:
            event->accept();
            EndKey(vk, shift);
            return;
        default: break;
        }
    } catch (...) {
        event->accept();
        return;
    }
    TAsgSpinEdit::keyPressEvent(event);
}

bool TGridSpin::event(QEvent* event)
{
    // Tab reaches the key steps instead of moving the focus only when the grid tabs between cells.
    if (QKeyEvent* ke = platform::PlainTabPress(event); ke && Editing() && (FGrid->Options() & goTabs)) {
        keyPressEvent(ke);
        return true;
    }
    return TAsgSpinEdit::event(event);
}

void TGridSpin::focusOutEvent(QFocusEvent* event)
{
    TAsgSpinEdit::focusOutEvent(event);
    EndEditOnFocusOut(FGrid, event, Editing());
}
