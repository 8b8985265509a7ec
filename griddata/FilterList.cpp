// The header filter lists of the string grid.
#include "griddata/FilterList.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

TDropListBase::TDropListBase(QWidget* AGrid) : QListWidget(AGrid), FGrid(AGrid)
{
    setVisible(false);
    resize(0, 0);
    setFocusPolicy(Qt::StrongFocus);
}

TDropListBase::~TDropListBase()
{
    if (FWatching)
        qApp->removeEventFilter(this);
}

void TDropListBase::showEvent(QShowEvent* Event)
{
    QListWidget::showEvent(Event);
    if (!FWatching) {
        qApp->installEventFilter(this);
        FWatching = true;
    }
}

void TDropListBase::hideEvent(QHideEvent* Event)
{
    if (FWatching) {
        qApp->removeEventFilter(this);
        FWatching = false;
    }
    QListWidget::hideEvent(Event);
}

bool TDropListBase::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() != QEvent::MouseButtonPress || !isVisible())
        return false;
    const QPoint at = static_cast<QMouseEvent*>(Event)->globalPosition().toPoint();
    if (rect().contains(mapFromGlobal(at)))
        return false;
    // A press on the grid is settled by the grid's own release: a second click on the open
    // column's button closes the list, a click on another button opens that column's list.
    if (FGrid && FGrid->rect().contains(FGrid->mapFromGlobal(at)))
        return false;
    (void)Watched;
    try {
        hide();
        if (OnCancel)
            OnCancel();
    } catch (...) {
    }
    return false;
}

// ---- single choice ---------------------------------------------------------------------------

void TDropList::keyPressEvent(QKeyEvent* Event)
{
    QListWidget::keyPressEvent(Event);
    if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter)
        Choose();
}

void TDropList::mouseReleaseEvent(QMouseEvent* Event)
{
    QListWidget::mouseReleaseEvent(Event);
    Choose();
}

void TDropList::Choose()
{
    hide();
    try {
        if (OnSelect)
            OnSelect(currentRow());
    } catch (...) {
        // A failing choice handler leaves the grid as it was; the list is closed either way.
    }
}

// ---- check list ------------------------------------------------------------------------------

TDropCheckList::TDropCheckList(QWidget* AGrid) : TDropListBase(AGrid)
{
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem*) {
        if (FFilling || !OnSelect)
            return;
        try {
            OnSelect(-1);
        } catch (...) {
        }
    });
}

void TDropCheckList::AddEntry(const QString& Text, bool Checked)
{
    FFilling = true;
    auto* item = new QListWidgetItem(Text, this);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Checked ? Qt::Checked : Qt::Unchecked);
    FFilling = false;
}

bool TDropCheckList::Checked(int Index) const
{
    const QListWidgetItem* it = item(Index);
    return it && it->checkState() == Qt::Checked;
}

void TDropCheckList::SetChecked(int Index, bool Value)
{
    if (QListWidgetItem* it = item(Index))
        it->setCheckState(Value ? Qt::Checked : Qt::Unchecked);
}
