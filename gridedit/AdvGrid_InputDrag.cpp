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
        w = new TArrowWindow(this, TArrowDirection(Direction));
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

// ---- registration as a drop target -----------------------------------------------------------

void TVerIvovavOzed::SetOleDropTargetRegistered(bool Value)
{
    if (Value) {
        // The window is registered once: a second True keeps the registration there is.
        if (FOleDropTargetAssigned)
            return;
        auto target = std::make_shared<TGridDropTarget>(this);
        FGridDropTarget = target;
        FOleDropTargetAssigned = RegisterDragDrop(viewport(), target) == S_OK;
    } else if (FOleDropTargetAssigned) {
        RevokeDragDrop(viewport());
        FOleDropTargetAssigned = false;
    }
}

// ---- the drag out of the grid ----------------------------------------------------------------

bool TVerIvovavOzed::OleDragFromPress()
{
    int ACol = -1, ARow = -1;
    MouseToCell(Clickposx, Clickposy, ACol, ARow);
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return false;
    const TPoint base = BaseCell(ACol, ARow);
    ACol = base.X;
    ARow = base.Y;
    const int realCol = DisplToRealCol(ACol);
    if (DragDropSettings().OleColumnsOnly() && ARow >= FixedRows())
        return false;
    bool allow = true;
    if (OnOleDrag)
        OnOleDrag(this, ARow, realCol, Cells(realCol, ARow), allow);
    if (!allow)
        return false;
    QPointer<TVerIvovavOzed> self(this);
    StartOleDrag(ACol, ARow);
    if (!self)
        return true;
    // The drag took the button's release: the press ends here.
    FMouseDown = false;
    FMouseKeepDown = false;
    FMouseDownMove = false;
    if (FGridState == gsSelecting) {
        FGridState = gsNormal;
        KillTimer(1);
    }
    return true;
}

void TVerIvovavOzed::StartOleDrag(int ACol, int ARow)
{
    const TDragDropSettings& dd = DragDropSettings();
    const int realCol = DisplToRealCol(ACol);
    auto source = std::make_shared<TGridDropSource>(this);
    if (OnOleDragStart)
        OnOleDragStart(this, ARow, realCol);
    DoStartBlockFocus();

    const bool columnDrag = ARow < FixedRows() && dd.OleColumnDragDrop();
    const QPoint pressAt = viewport()->mapToGlobal(QPoint(Clickposx, Clickposy));

    // The floating picture of what is dragged.
    if (dd.ShowCells() && !FDragImage) {
        const int lastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount() - 1);
        const int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount() - 1);
        TGridRect r;
        if (columnDrag) {
            r = {ACol, 0, ACol, std::max(0, lastRow)};
        } else {
            const TGridRect s = Selection();
            r = {std::max(s.Left, LeftCol()), std::max(s.Top, TopRow()), std::min(s.Right, lastCol),
                 std::min(s.Bottom, lastRow)};
            r.Right = std::max(r.Left, r.Right);
            r.Bottom = std::max(r.Top, r.Bottom);
        }
        const bool show = ShowSelection();
        SetShowSelection(false);
        QWidget* image = nullptr;
        try {
            image = SelectionToForm(r);
        } catch (...) {
            SetShowSelection(show);
            throw;
        }
        SetShowSelection(show);
        // The picture never takes the mouse: the drop goes to what lies under it.
        image->setWindowFlags(image->windowFlags() | Qt::WindowTransparentForInput);
        image->setAttribute(Qt::WA_TransparentForMouseEvents);
        image->move(pressAt);
        image->show();
        FDragImage = image;
    }

    auto dropImage = [this] {
        if (FDragImage)
            delete FDragImage.data();
    };

    if (columnDrag) {
        if (!dd.ShowCells()) {
            if (!FHeaderDragButton) {
                FHeaderDragButton = new THeaderDragButton(this);
                FHeaderDragButton->SetGrid(this);
            }
            FHeaderDragButton->SetCaption(Cells(realCol, 0));
            FHeaderDragButton->resize(ColWidths(ACol), RowHeights(0));
            FHeaderDragButton->move(pressAt);
            FHeaderDragButton->show();
            FHeaderDragButton->raise();
        }
        int effect = DROPEFFECT_NONE;
        const HRESULT hr = BeginColumnDragDrop(source, realCol, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        if (hr != DRAGDROP_S_CANCEL && OnOleDragStop)
            OnOleDragStop(this, effect);
        HideHeaderDragButton();
        HideDragArrow(arrUp);
        HideDragArrow(arrDown);
        dropImage();
        return;
    }

    FDropSelection = Selection();
    QByteArray stream;
    const bool withStream = FNavigation->AllowFmtClipboard();
    if (withStream) {
        QBuffer buffer(&stream);
        buffer.open(QIODevice::WriteOnly);
        SaveRectToBinStream(TRect{FDropSelection.Left, FDropSelection.Top, FDropSelection.Right,
                                  FDropSelection.Bottom},
                            buffer);
    }
    int effect = DROPEFFECT_NONE;
    const HRESULT hr = BeginTextDragDrop(source, SelectedText(), Cells(realCol, ARow), effect,
                                         DROPEFFECT_COPY | DROPEFFECT_MOVE, withStream ? &stream : nullptr);
    dropImage();
    if (hr == DRAGDROP_S_CANCEL)
        return;
    if (effect == DROPEFFECT_MOVE && !dd.OleCopyAlways()) {
        // A move takes the dragged cells (or rows) away from here.
        const TGridRect d = FDropSelection;
        if (dd.OleRemoveRows() && (Options() & goRowSelect)) {
            if (FMouseActions->DisjunctRowSelect())
                RemoveSelectedRows();
            else if (d.Bottom >= d.Top && d.Top >= FixedRows())
                RemoveRows(d.Top, d.Bottom - d.Top + 1);
        } else if (FMouseActions->DisjunctRowSelect()) {
            ClearSelection();
        } else {
            ClearRect(d.Left, d.Top, d.Right, d.Bottom);
        }
    }
    if (OnOleDragStop)
        OnOleDragStop(this, effect);
}
