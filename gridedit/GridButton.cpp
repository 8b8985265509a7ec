#include "gridedit/GridButton.h"

#include "grid/AdvGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

TGridButton::TGridButton(TVerIvovavOzed* AOwner) : QPushButton(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    setEnabled(false);
    hide();
}

bool TGridButton::Editing() const { return FGrid && !FGrid->TearingDown(); }

void TGridButton::Press()
{
    QString result;
    FGrid->DoEllipsClick(text(), result);
    setText(result);
    FGrid->SetCurrentCell(result);
}

void TGridButton::HideSelf()
{
    FGrid->EditMode = false;
    setVisible(false);
    setEnabled(false);
    FGrid->SetFocus();
}

void TGridButton::mouseReleaseEvent(QMouseEvent* event)
{
    QPointer<TGridButton> self(this);
    try {
        if (event->button() == Qt::LeftButton && Editing() && rect().contains(event->position().toPoint()))
            Press();
    } catch (...) {
    }
    if (self)
        QPushButton::mouseReleaseEvent(event);
}

void TGridButton::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !Editing())
        return;
    try {
        setDown(false);
        Press();
        setFocus(Qt::OtherFocusReason);
        update();
    } catch (...) {
    }
}

void TGridButton::keyPressEvent(QKeyEvent* event)
{
    if (!Editing()) {
        QPushButton::keyPressEvent(event);
        return;
    }
    const Word vk = platform::VirtualKeyOf(event->key(), event->modifiers());
    const TShiftState shift = platform::TranslateKey(event).Shift;
    try {
        if (vk >= VK_LEFT && vk <= VK_DOWN) {
            event->accept();
            TVerIvovavOzed* g = FGrid;
            Word k = vk;
            g->KeyDown(k, shift);
            HideSelf();
            k = vk;
            g->KeyUp(k, shift);
            return;
        }
        if (vk == VK_ESCAPE) {
            event->accept();
            TVerIvovavOzed* g = FGrid;
            // Taking the focus re-reads the current cell into the cache; the text the edit began
            // with is what goes back.
            const QString cached = g->FCellCache;
            HideSelf();
            g->FCellCache = cached;
            g->RestoreCachedCell();
            Word k = VK_ESCAPE;
            g->KeyDown(k, shift);
            return;
        }
    } catch (...) {
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TGridButton::focusOutEvent(QFocusEvent* event)
{
    QPushButton::focusOutEvent(event);
    EndEditOnFocusOut(FGrid, event, Editing() && FGrid->EditMode);
}
