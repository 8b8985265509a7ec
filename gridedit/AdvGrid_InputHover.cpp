// TVerIvovavOzed: the grid's own steps inside the base grid's press, move and release handling
// that keep the looks of the mouse up to date: the hovered and pressed header cell, the header's
// drop-down button, the column being moved, the flags the width and height handlers read after a
// sizing, and the link under the mouse. Drags over the grid scroll it near its edges.
#include "grid/AdvGrid.h"
#include "grid/OleDragDrop.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QImage>
#include <QMenu>
#include <QPointer>

#include <cstdlib>

bool TVerIvovavOzed::IsHoverFixedCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return false;
    const bool fixedRow = ARow < FixedRows();
    const bool fixedCol = ACol < FixedCols();
    switch (HoverFixedCells()) {
    case hfAll: return fixedRow || fixedCol;
    case hfFixedRows: return fixedRow;
    case hfFixedColumns: return fixedCol;
    default: return false;
    }
}

void TVerIvovavOzed::RepaintIfFixed(int ACol, int ARow)
{
    if (ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount() &&
        (ACol < FixedCols() || ARow < FixedRows()))
        RepaintCell(ACol, ARow);
}

void TVerIvovavOzed::SetHoverFixedCell(int ACol, int ARow)
{
    if (ACol == FHoverFixedX && ARow == FHoverFixedY)
        return;
    const int oldX = FHoverFixedX, oldY = FHoverFixedY;
    FHoverFixedX = ACol;
    FHoverFixedY = ARow;
    RepaintIfFixed(oldX, oldY);
    RepaintIfFixed(ACol, ARow);
}

// ---- press -----------------------------------------------------------------------------------

void TVerIvovavOzed::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (Button == mbLeft && IsHoverFixedCell(ACol, ARow)) {
        const TRect R = CellRect(ACol, ARow);
        const int rightEnd = R.Right - ((Options() & goColSizing) ? 2 : 0);
        // The drop-down button of a header cell: pressed look, the application's menu, and
        // no press of the cell itself.
        if (FControlLook->FixedDropDownButton && X >= R.Right - 16 && X < rightEnd) {
            FFixedDropDownPressed = true;
            FFixedCellPressed = true;
            SetHoverFixedCell(ACol, ARow);
            RepaintCell(ACol, ARow);
            QMenu* menu = nullptr;
            bool keep = false;
            if (OnFixedDropDownClick)
                OnFixedDropDownClick(this, ACol, ARow, menu, keep);
            if (menu) {
                FFixedDropDownMenuOpen = true;
                QPointer<TVerIvovavOzed> self(this);
                QObject::connect(menu, &QMenu::aboutToHide, this, [self, keep] {
                    if (!self)
                        return;
                    self->FFixedDropDownMenuOpen = false;
                    self->FFixedDropDownPressed = false;
                    self->FFixedCellPressed = false;
                    if (!keep)
                        self->SetHoverFixedCell(-1, -1);
                    self->viewport()->update();
                }, Qt::SingleShotConnection);
                menu->popup(viewport()->mapToGlobal(QPoint(R.Right - 16, R.Bottom)));
            }
            return;
        }
        // A header cell in the last fixed row looks pressed until the release.
        if (ARow == FixedRows() - 1) {
            FFixedCellPressed = true;
            if (FControlLook->FixedGradientDownTo() != clNone)
                RepaintCell(ACol, ARow);
        }
    }
    QPointer<TVerIvovavOzed> self(this);
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    if (!self)
        return;
    // A press in a header cell may open its editor, as the row's or column's setting asks.
    if (FixedCellEditOnPress(ACol, ARow, Button, X, Y))
        return;
}

// ---- move ------------------------------------------------------------------------------------

void TVerIvovavOzed::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FWheelPan) {
        FPanMouse = TPoint{X, Y};
        return;
    }
    // A press inside the selection becomes an OLE drag once the mouse has moved more than 3 pixels.
    if (FSelectionClick && (Shift & ssLeft) && DragDropSettings().OleDropSource() &&
        (std::abs(X - Clickposx) > 3 || std::abs(Y - Clickposy) > 3) && GridState() != gsColSizing &&
        !InSelectionGrip(X, Y)) {
        int mc = -1, mr = -1;
        MouseToCell(X, Y, mc, mr);
        if (mc >= 0 && mr >= 0) {
            FSelectionClick = false;
            if (OleDragFromPress())
                return;
            if (FGridState == gsNormal)
                FGridState = gsSelecting;
        }
    }
    TBaseGrid::MouseMove(Shift, X, Y);
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    if (HoverFixedCells() != hfNone && !FFixedDropDownMenuOpen) {
        if (IsHoverFixedCell(ACol, ARow))
            SetHoverFixedCell(ACol, ARow);
        else
            SetHoverFixedCell(-1, -1);
    }

    if (FSizingFixed || FSizingFixedR) {
        viewport()->update();
    } else if (!(Shift & (ssLeft | ssRight | ssMiddle))) {
        const bool inCell = ACol >= 0 && ARow >= 0;
        FSizeFixed = inCell && FMouseActions->SizeFixedCol() && FixedColBorderAt(X) >= 0;
        FSizeFixedR = inCell && !FSizeFixed && FMouseActions->SizeFixedRow() && FixedRowBorderAt(Y) >= 0;
        if (FSizeFixed)
            viewport()->setCursor(Qt::SplitHCursor);
        else if (FSizeFixedR)
            viewport()->setCursor(Qt::SplitVCursor);
        FMouseSelect = MouseSelectAt(X, Y);
        if (FMouseSelect == msResize)
            viewport()->setCursor(Qt::SizeFDiagCursor);
    }

    // The width and height handlers learn from these that the mouse sized the column or row.
    if (GridState() == gsColSizing)
        ColSized = true;
    else if (GridState() == gsRowSizing)
        Rowsized = true;

    // An enhanced move shows whether the column or row may land here: the drag pointer, or the
    // no-drop pointer when OnColumnMoving / OnRowMoving refuses the target.
    if (EnhRowColMove() && (GridState() == gsColMoving || GridState() == gsRowMoving) && Movecell >= 0 &&
        (Shift & ssLeft)) {
        const bool cols = GridState() == gsColMoving;
        int target = cols ? ACol : ARow;
        if (target < 0)
            target = cols ? ColCount() - 1 : RowCount() - 1;
        bool allow = true;
        if (cols && OnColumnMoving)
            OnColumnMoving(this, Movecell, target, allow);
        else if (!cols && OnRowMoving)
            OnRowMoving(this, Movecell, target, allow);
        viewport()->setCursor(allow ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
    }

    // The header of the column being moved is drawn pressed while it travels.
    const int dragged = GridState() == gsColMoving && Movecell >= 0 ? Movecell : -1;
    if (dragged != FDraggedColumn) {
        FDraggedColumn = dragged;
        viewport()->update();
    }

    UpdateLinkHover(X, Y);
    UpdateBalloon(X, Y);
}

void TVerIvovavOzed::ClearLinkHover()
{
    if (FHoverLinkNum < 0 && FHoverAnchor.isEmpty())
        return;
    const int c = FHoverLinkCol, r = FHoverLinkRow;
    const bool wasLink = !FHoverAnchor.isEmpty();
    FHoverLinkCol = FHoverLinkRow = FHoverLinkNum = -1;
    FHoverAnchor.clear();
    if (c >= 0 && r >= 0 && r < RowCount())
        RepaintCell(DisplColIndex(c), r);
    if (wasLink && OnAnchorExit)
        OnAnchorExit(this, r, c, QString());
}

void TVerIvovavOzed::UpdateLinkHover(int X, int Y)
{
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount() || GridState() != gsNormal) {
        ClearLinkHover();
        return;
    }
    const int c = RealColIndex(ACol);
    const QString text = Cells(c, ARow);
    const int kind = ClassifyCellText(text, EnableHTML());
    if (kind != ctkHtml) {
        ClearLinkHover();
        // A plain address shows the hand without any hover underline.
        if (URLShow() && kind != ctkEncoded && IsUrl(text))
            viewport()->setCursor(Qt::PointingHandCursor);
        return;
    }
    const TRect R = CellRect(ACol, ARow);
    TRect T(R.Left + XYOffset().X + 1, R.Top + XYOffset().Y + 1, R.Right, R.Bottom);
    if (HasCheckBox(c, ARow))
        T.Left += FControlLook->CheckSize();
    TMarkupRenderParams p;
    p.HitX = X;
    p.HitY = Y;
    p.HitTestOnly = true;
    p.WordWrap = !EnhTextSize();
    p.Window = this;
    TMarkupRenderResult res;
    // Laid out off screen in the cell's font: only the hit test is wanted.
    QImage img(std::max(1, R.Right), std::max(1, R.Bottom), QImage::Format_ARGB32);
    TCanvas probe(&img);
    probe.Font().Assign(GetCellFont(c, ARow));
    const bool hit = RenderMarkupText(probe, text, T, p, res) && !res.AnchorValue.isEmpty();
    if (!hit) {
        ClearLinkHover();
        return;
    }
    viewport()->setCursor(Qt::PointingHandCursor);
    if (FHoverLinkCol == c && FHoverLinkRow == ARow && FHoverLinkNum == res.MouseAnchor && FHoverAnchor == res.AnchorValue)
        return;
    ClearLinkHover();
    if (URLUnderlineOnHover()) {
        FHoverLinkCol = c;
        FHoverLinkRow = ARow;
        FHoverLinkNum = res.MouseAnchor;
        RepaintCell(ACol, ARow);
    } else {
        FHoverLinkCol = c;
        FHoverLinkRow = ARow;
    }
    FHoverAnchor = res.AnchorValue;
    if (OnAnchorEnter)
        OnAnchorEnter(this, ARow, c, FHoverAnchor);
}

// ---- release ---------------------------------------------------------------------------------

void TVerIvovavOzed::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    // A press that sized nothing leaves no flag behind for a later width change by code.
    ColSized = false;
    Rowsized = false;
    if (FDraggedColumn >= 0) {
        FDraggedColumn = -1;
        viewport()->update();
    }
    if (!FFixedDropDownMenuOpen) {
        FFixedDropDownPressed = false;
        if (FFixedCellPressed) {
            FFixedCellPressed = false;
            if (FControlLook->FixedGradientDownTo() != clNone || FControlLook->FixedDropDownButton)
                RepaintIfFixed(FHoverFixedX, FHoverFixedY);
        }
    }
}

// ---- leaving the grid ------------------------------------------------------------------------

void TVerIvovavOzed::leaveEvent(QEvent* event)
{
    TBaseGrid::leaveEvent(event);
    if (!FFixedDropDownMenuOpen)
        SetHoverFixedCell(-1, -1);
    ClearLinkHover();
}

// ---- drags over the grid ----------------------------------------------------------------------
// Every drag scrolls the grid near its edges (DragScrollOptions); while the grid is a drop target
// the registered target also hears it and decides whether it may be dropped.

bool TVerIvovavOzed::OleDragEvent(QEvent* event)
{
    return DragDropSettings().OleDropTarget() && FOleDropTargetAssigned && OleHandleDragEvent(viewport(), event);
}

void TVerIvovavOzed::dragEnterEvent(QDragEnterEvent* event)
{
    const QPoint p = event->position().toPoint();
    DragScrollOver(p.x(), p.y(), dsDragEnter);
    if (!OleDragEvent(event))
        TBaseGrid::dragEnterEvent(event);
}

void TVerIvovavOzed::dragMoveEvent(QDragMoveEvent* event)
{
    const QPoint p = event->position().toPoint();
    DragScrollOver(p.x(), p.y(), dsDragMove);
    if (!OleDragEvent(event))
        TBaseGrid::dragMoveEvent(event);
}

void TVerIvovavOzed::dragLeaveEvent(QDragLeaveEvent* event)
{
    DragScrollOver(-1, -1, dsDragLeave);
    if (!OleDragEvent(event))
        TBaseGrid::dragLeaveEvent(event);
}

void TVerIvovavOzed::dropEvent(QDropEvent* event)
{
    DragScrollOver(-1, -1, dsDragLeave);
    if (!OleDragEvent(event))
        TBaseGrid::dropEvent(event);
}
