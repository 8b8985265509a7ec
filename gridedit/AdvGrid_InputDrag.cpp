// TVerIvovavOzed: the grid as the source of an OLE drag (cells, rows, a column), the markers and
// the floating picture shown while dragging, and the registration as a drop target.
#include "grid/AdvGrid.h"
#include "grid/ArrowWindow.h"
#include "gridedit/GridDropTarget.h"

#include <QBuffer>
#include <QPointer>

// ---- points and cells ------------------------------------------------------------------------

void TVerIvovavOzed::ScreenToCell(TPoint pt, int& ACol, int& ARow)
{
    const QPoint p = viewport()->mapFromGlobal(QPoint(pt.X, pt.Y));
    ACol = -1;
    ARow = -1;
    MouseToCell(p.x(), p.y(), ACol, ARow);
}

// ---- markers ---------------------------------------------------------------------------------

QWidget* TVerIvovavOzed::DragArrow(int Direction)
{
    if (Direction < arrUp || Direction > arrRight)
        return nullptr;
    QPointer<QWidget>& w = FDragArrows[Direction];
    if (!w) {
        auto* arrow = new TArrowWindow(this, TArrowDirection(Direction));
        // A marker never takes the mouse or the focus: a drag goes on underneath it.
        arrow->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                              Qt::WindowTransparentForInput);
        arrow->setAttribute(Qt::WA_TransparentForMouseEvents);
        arrow->hide();
        w = arrow;
    }
    return w;
}

void TVerIvovavOzed::ShowDragArrow(int Direction, int X, int Y)
{
    QWidget* w = DragArrow(Direction);
    if (!w)
        return;
    w->move(viewport()->mapToGlobal(QPoint(X, Y)));
    if (!w->isVisible())
        w->show();
}

void TVerIvovavOzed::HideDragArrow(int Direction)
{
    if (Direction >= arrUp && Direction <= arrRight && FDragArrows[Direction])
        FDragArrows[Direction]->hide();
}

void TVerIvovavOzed::HideDragArrows()
{
    for (int d = arrUp; d <= arrRight; ++d)
        HideDragArrow(d);
}

void TVerIvovavOzed::HideHeaderDragButton()
{
    if (FHeaderDragButton)
        FHeaderDragButton->hide();
}

void TVerIvovavOzed::SetOleDropTargetRegistered(bool) {}
bool TVerIvovavOzed::OleDragFromPress() { return false; }
