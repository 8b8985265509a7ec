#include "gridedit/GridCheckBox.h"

#include "grid/AdvGrid.h"

#include <QKeyEvent>

TGridCheckBox::TGridCheckBox(TVerIvovavOzed* AOwner) : QCheckBox(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    setEnabled(false);
    hide();
}

bool TGridCheckBox::Editing() const { return FGrid && FGrid->EditMode && !FGrid->TearingDown(); }

void TGridCheckBox::keyPressEvent(QKeyEvent* event)
{
    if (!Editing()) {
        QCheckBox::keyPressEvent(event);
        return;
    }
    const Word vk = platform::VirtualKeyOf(event->key(), event->modifiers());
    const TShiftState shift = platform::TranslateKey(event).Shift;
    if (!IsEditEndingKey(vk)) {
        // Space toggles once, on its release, as the standard check box does. The key stays with
        // the editor: a key the check box has no use for does not reach the grid and end the edit.
        QCheckBox::keyPressEvent(event);
        event->accept();
        return;
    }
    event->accept();
    TVerIvovavOzed* g = FGrid;
    try {
        if (vk == VK_ESCAPE)
            setText(g->CurrentCell());
        g->HideInplaceEdit();
        FocusGridQuietly(g);
        if (vk == VK_RETURN && g->Navigation().AdvanceOnEnter())
            g->AdvanceToNextCell(g->Col(), g->Row(), true, false, true, true, false);
        if (vk == VK_UP || vk == VK_DOWN) {
            Word k = vk;
            g->KeyDown(k, shift);
        }
    } catch (...) {
        // No error leaves the key handler.
    }
}

void TGridCheckBox::focusOutEvent(QFocusEvent* event)
{
    QCheckBox::focusOutEvent(event);
    EndEditOnFocusOut(FGrid, event, Editing());
}
