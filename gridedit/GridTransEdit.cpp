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

template <class Control, QString (Control::*Text)() const>
TGridFixedEditor<Control, Text>::TGridFixedEditor(TVerIvovavOzed* AOwner)
    : Control(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    this->hide();
}

template <class Control, QString (Control::*Text)() const>
bool TGridFixedEditor<Control, Text>::StopEdit()
{
    return StopFixedEdit(this, FGrid, (this->*Text)());
}

template <class Control, QString (Control::*Text)() const>
void TGridFixedEditor<Control, Text>::keyPressEvent(QKeyEvent* event)
{
    if (IsEnter(event)) {
        event->accept();
        return;
    }
    Control::keyPressEvent(event);
}

template <class Control, QString (Control::*Text)() const>
void TGridFixedEditor<Control, Text>::focusOutEvent(QFocusEvent* event)
{
    Control::focusOutEvent(event);
    if (this->isVisible() && event->reason() != Qt::PopupFocusReason)
        StopEdit();
}

template class TGridFixedEditor<QLineEdit, &QLineEdit::text>;
template class TGridFixedEditor<QComboBox, &QComboBox::currentText>;

TGridTransEdit::TGridTransEdit(TVerIvovavOzed* AOwner) : TGridFixedEditor(AOwner)
{
    setFrame(false);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (FGrid && isVisible())
            FGrid->FixedEditChange(t);
    });
}

TGridTransCombo::TGridTransCombo(TVerIvovavOzed* AOwner) : TGridFixedEditor(AOwner)
{
    connect(this, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (FGrid && isVisible())
            FGrid->FixedEditChange(t);
    });
}
