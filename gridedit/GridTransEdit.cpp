#include "gridedit/GridTransEdit.h"

#include "grid/AdvGrid.h"

#include <QKeyEvent>

namespace {

// The shared end of a fixed-cell edit: validate, then store the text into the cell directly.
template <class Editor>
bool StopFixedEdit(Editor* e, TVerIvovavOzed* g, const QString& text)
{
    if (!g) {
        e->hide();
        return true;
    }
    QString t = text;
    bool valid = true;
    if (g->OnCellValidate)
        g->OnCellValidate(g, e->Col(), e->Row(), t, valid);
    if (!valid) {
        g->FocusCell(g->DisplColIndex(e->Col()), e->Row());
        e->show();
        e->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (g->OnEditingDone)
        g->OnEditingDone(g);
    g->SetCellEx(e->Col(), e->Row(), t);
    e->hide();
    return true;
}

bool IsEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

} // namespace

TGridTransEdit::TGridTransEdit(TVerIvovavOzed* AOwner)
    : QLineEdit(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    setFrame(false);
    hide();
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (FGrid && isVisible())
            FGrid->FixedEditChange(t);
    });
}

bool TGridTransEdit::StopEdit() { return StopFixedEdit(this, FGrid, text()); }

void TGridTransEdit::keyPressEvent(QKeyEvent* event)
{
    // Enter neither inserts anything nor ends the edit: the edit ends when the focus leaves.
    if (IsEnter(event)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TGridTransEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (isVisible() && event->reason() != Qt::PopupFocusReason)
        StopEdit();
}

TGridTransCombo::TGridTransCombo(TVerIvovavOzed* AOwner)
    : QComboBox(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    hide();
    connect(this, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (FGrid && isVisible())
            FGrid->FixedEditChange(t);
    });
}

bool TGridTransCombo::StopEdit() { return StopFixedEdit(this, FGrid, currentText()); }

void TGridTransCombo::keyPressEvent(QKeyEvent* event)
{
    if (IsEnter(event)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TGridTransCombo::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (isVisible() && event->reason() != Qt::PopupFocusReason)
        StopEdit();
}
