// TVerIvovavOzed: the grid's own steps inside the base grid's press, move and release handling
// that keep the looks of the mouse up to date: the hovered and pressed header cell, the header's
// drop-down button, the column being moved, the flags the width and height handlers read after a
// sizing, and the link under the mouse. Drags over the grid scroll it near its edges.
#include "grid/AdvGrid.h"
#include "grid/OleDragDrop.h"
#include "platform/Picture.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QMenu>
#include <QPointer>
#include <QToolTip>

#include <algorithm>
#include <cstdlib>

namespace {

// One of the grid's selection pointers, drawn in assets/ with magenta as the transparent colour.
QCursor SelectCursor(const char* name, int hotX, int hotY)
{
    QImage img(platform::FindAsset(QString::fromLatin1(name)));
    if (img.isNull())
        return QCursor(Qt::ArrowCursor);
    img = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == qRgb(255, 0, 255))
                img.setPixel(x, y, qRgba(0, 0, 0, 0));
    return QCursor(QPixmap::fromImage(img), hotX, hotY);
}

} // namespace

void TVerIvovavOzed::ApplySelectCursor()
{
    // The pointers are made once, on first use (a cursor needs the running application).
    static const QCursor rowCursor = SelectCursor("GRIDROWSELECT", 16, 9);
    static const QCursor colCursor = SelectCursor("GRIDCOLSELECT", 9, 16);
    static const QCursor allCursor = SelectCursor("GRIDALLSELECT", 16, 16);
    static const QCursor cellCursor = SelectCursor("GRIDCELLSELECT", 8, 8);
    if (FCellSelectorMode) {
        viewport()->setCursor(cellCursor);
        return;
    }
    switch (FMouseSelect) {
    case msColumn: viewport()->setCursor(colCursor); break;
    case msRow: viewport()->setCursor(rowCursor); break;
    case msAll:
    case msResize: viewport()->setCursor(allCursor); break;
    default: break;
    }
}

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
    // Range select and edit: a press on the current cell edits it; a Shift press elsewhere extends
    // the selection without editing.
    if (Button == mbLeft && FMouseActions->RangeSelectAndEdit() && !FMouseActions->EditOnDblClickOnly() &&
        !(Shift & ssDouble)) {
        if (ACol == Col() && ARow == Row() && !(Options() & goEditing) && IsEditable(DisplToRealCol(ACol), ARow)) {
            SetOptions(Options() | goEditing);
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            if (self)
                ShowInplaceEdit();
            return;
        }
        if ((Shift & ssShift) && (Options() & goEditing) && (ACol != Col() || ARow != Row())) {
            SetOptions(Options() & ~TGridOptions(goEditing));
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            return;
        }
    }
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    if (!self)
        return;
    // A border the application refuses to size is no sizing.
    if ((GridState() == gsColSizing || GridState() == gsRowSizing) && !AskSizing(X, Y)) {
        FGridState = gsNormal;
        viewport()->update();
    }
    FMoveAsked = false;
    // A press in a header cell may open its editor, as the row's or column's setting asks.
    if (FixedCellEditOnPress(ACol, ARow, Button, X, Y))
        return;
    SyncSelectionToGrid();
}

bool TVerIvovavOzed::AskSizing(int X, int Y)
{
    int c = -1, r = -1;
    MouseToCell(X - 6, Y, c, r);
    if (c >= 0 && r >= 0 && r < FixedRows() && OnColumnSize) {
        bool allow = true;
        OnColumnSize(this, c, allow);
        if (!allow) {
            FSizeFixed = false;
            return false;
        }
    }
    MouseToCell(X, Y - 6, c, r);
    if (c >= 0 && r >= 0 && c < FixedCols() && OnRowSize) {
        bool allow = true;
        OnRowSize(this, r, allow);
        if (!allow)
            return false;
    }
    return true;
}

void TVerIvovavOzed::SyncSelectionToGrid()
{
    if (!FSyncGrid->Grid() || !FSyncGrid->CanSync())
        return;
    TStringGrid* other = FSyncGrid->Grid();
    TSyncGrid::TGuard guard(*FSyncGrid);
    if (FSyncGrid->SelectionColumn() && Col() < other->ColCount())
        other->SetCol(Col());
    if (FSyncGrid->SelectionRow() && Row() < other->RowCount())
        other->SetRow(Row());
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
    // Range select and edit: dragging with the button down selects instead of editing.
    if (FMouseActions->RangeSelectAndEdit() && (Options() & goEditing) && (Shift & ssLeft) && !EditorMode())
        SetOptions(Options() & ~TGridOptions(goEditing));
    // A selection drawn as a rectangle repaints as one area when the drag changes it.
    const bool rectSelecting = SelectionRectangle() && GridState() == gsSelecting;
    const TGridRect selBefore = Selection();
    // A column or row move is asked once, as it starts; a refusal leaves everything where it is.
    if ((GridState() == gsColMoving || GridState() == gsRowMoving) && !FMoveAsked) {
        FMoveAsked = true;
        FMoveAllowed = true;
        if (GridState() == gsColMoving && OnColumnMove)
            OnColumnMove(this, Movecell, FMoveAllowed);
        else if (GridState() == gsRowMoving && OnRowMove)
            OnRowMove(this, Movecell, FMoveAllowed);
        if (!FMoveAllowed) {
            FGridState = gsNormal;
            viewport()->setCursor(FGridCursor);
            viewport()->update();
        }
    }
    TBaseGrid::MouseMove(Shift, X, Y);
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    // The row under the mouse is the hover row.
    if (HoverRow()) {
        const int hover = ARow >= 0 && ARow < RowCount() ? ARow : -1;
        if (hover != HoverRowIdx()) {
            const int old = HoverRowIdx();
            SetHoverRowIdx(hover);
            if (old >= 0 && old < RowCount())
                RepaintRow(old);
            if (hover >= 0)
                RepaintRow(hover);
        }
    }

    // The in-cell scroll bar follows the mouse onto the ctScrollbar cell under it.
    PlaceCellScrollBar(ACol, ARow);

    // Dragging over the row headers selects the rows from the anchor to the row under the mouse;
    // over the column headers the columns.
    if ((Shift & ssLeft) && FMouseSelectStart >= 0 && FMouseSelect == msRow && FMouseActions->RowSelect()) {
        const int last = RowCount() - FixedFooters() - 1;
        int r = ARow;
        if (r < 0)
            r = Y < 0 ? TopRow() : last;
        r = std::clamp(r, FixedRows(), std::max(FixedRows(), last));
        const TGridRect want{FixedCols(), std::min(FMouseSelectStart, r), ColCount() - 1,
                             std::max(FMouseSelectStart, r)};
        const TGridRect sel = Selection();
        if (sel.Left != want.Left || sel.Top != want.Top || sel.Right != want.Right || sel.Bottom != want.Bottom) {
            SetSelection(want);
            InvalidateGrid();
            SelectionChanged(want.Left, want.Top, want.Right, want.Bottom);
        }
        if (Y > ClientHeight() - 4 && TopRow() + VisibleRowCount() < RowCount())
            SetTopRow(TopRow() + 1);
        else if (ARow >= 0 && ARow < FixedRows() && TopRow() > FixedRows())
            SetTopRow(TopRow() - 1);
    } else if ((Shift & ssLeft) && FMouseSelectStart >= 0 && FMouseSelect == msColumn && FMouseActions->ColSelect()) {
        int c = ACol;
        if (c < 0)
            c = X < 0 ? LeftCol() : ColCount() - 1;
        c = std::clamp(c, FixedCols(), std::max(FixedCols(), ColCount() - 1));
        const TGridRect want{std::min(FMouseSelectStart, c), FixedRows(), std::max(FMouseSelectStart, c),
                             RowCount() - 1};
        const TGridRect sel = Selection();
        if (sel.Left != want.Left || sel.Top != want.Top || sel.Right != want.Right || sel.Bottom != want.Bottom) {
            SetSelection(want);
            InvalidateGrid();
            SelectionChanged(want.Left, want.Top, want.Right, want.Bottom);
        }
    }

    if (HoverFixedCells() != hfNone && !FFixedDropDownMenuOpen) {
        if (IsHoverFixedCell(ACol, ARow))
            SetHoverFixedCell(ACol, ARow);
        else
            SetHoverFixedCell(-1, -1);
    }

    // The list-view header draws its hot item under the mouse.
    if (Look() == glListView)
        SetListViewHotCell(ACol, ARow);

    // A cell button or expand box under the mouse looks hot.
    UpdateHoverButton(ACol, ARow, X, Y);

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
        const Qt::CursorShape shape = viewport()->cursor().shape();
        const bool onBorder = FSizeFixed || FSizeFixedR || shape == Qt::SplitHCursor || shape == Qt::SplitVCursor;
        if (!onBorder) {
            ApplySelectCursor();
            // Over a cell the application may choose the pointer.
            if (FMouseSelect == msNormal && !FCellSelectorMode && ACol >= 0 && ARow >= 0)
                GetCellCursor(ACol, ARow, X, Y);
        }
        else if (!AskSizing(X, Y)) // a border the application refuses to size shows no sizing pointer
            viewport()->setCursor(Qt::ArrowCursor);
    }

    // The width and height handlers learn from these that the mouse sized the column or row.
    if (GridState() == gsColSizing)
        ColSized = true;
    else if (GridState() == gsRowSizing)
        Rowsized = true;
    // The application hears the width or height the release would give; the sizing hint shows it.
    TSizingNow sizing;
    if (SizingAt(X, Y, sizing)) {
        if (sizing.Column && OnColumnSizing)
            OnColumnSizing(this, sizing.Reported, sizing.Size);
        else if (!sizing.Column && OnRowSizing)
            OnRowSizing(this, sizing.Reported, sizing.Size);
        if (HintShowSizing())
            ShowSizingHint(sizing);
    } else {
        HideSizingHint();
    }

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
    CancelHintOutside(ACol, ARow);
    UpdateBalloon(X, Y);

    if (rectSelecting && !(Selection() == selBefore))
        InvalidateSelectionArea(selBefore, Selection());
}

void TVerIvovavOzed::InvalidateSelectionArea(const TGridRect& A, const TGridRect& B)
{
    InvalidateCellRect(TRect(std::min({A.Left, A.Right, B.Left, B.Right}), std::min({A.Top, A.Bottom, B.Top, B.Bottom}),
                             std::max({A.Left, A.Right, B.Left, B.Right}),
                             std::max({A.Top, A.Bottom, B.Top, B.Bottom})));
}

void TVerIvovavOzed::SetListViewHotCell(int ACol, int ARow)
{
    if (ACol == FListViewHot.X && ARow == FListViewHot.Y)
        return;
    const TPoint old = FListViewHot;
    FListViewHot = TPoint(ACol, ARow);
    RepaintIfFixed(old.X, old.Y);
    RepaintIfFixed(ACol, ARow);
}

void TVerIvovavOzed::UpdateHoverButton(int ACol, int ARow, int X, int Y)
{
    const bool inGrid = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount();
    const int rc = inGrid ? DisplToRealCol(ACol) : -1;
    auto holds = [X, Y](const TRect& r) { return X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom; };
    const bool hot = inGrid && ((HasButton(rc, ARow) && holds(GetCellButtonRect(ACol, ARow))) ||
                                (HasExpand(rc, ARow) && holds(GetExpandButtonRect(rc, ARow))));
    if (hot)
        SetHotButtonCell(rc, ARow);
    else
        SetHotButtonCell(-1, -1);
}

bool TVerIvovavOzed::SizingAt(int X, int Y, TSizingNow& Sizing)
{
    auto extentBefore = [](int n, auto size) {
        int before = 0;
        for (int i = 0; i < n; ++i)
            before += size(i);
        return before;
    };
    if (GridState() == gsColSizing && Colclicked >= 0) {
        Sizing = {true, Colclicked, Colclicked, Rowclicked, std::max(0, Colclickedsize + X - Clickposx)};
    } else if (GridState() == gsRowSizing && Rowclicked >= 0) {
        Sizing = {false, Rowclicked, Colclicked, Rowclicked, std::max(0, Rowclickedsize + Y - Clickposy)};
    } else if (FSizingFixed && FSizingFixedCol >= 0) {
        // A fixed column is reported as column 0.
        const int before = extentBefore(FSizingFixedCol, [this](int i) { return ColWidths(i); });
        Sizing = {true, 0, FSizingFixedCol, std::max(0, Rowclicked), std::max(0, X - before)};
    } else if (FSizingFixedR && FSizingFixedRow >= 0) {
        const int before = extentBefore(FSizingFixedRow, [this](int i) { return RowHeights(i); });
        Sizing = {false, 0, std::max(0, Colclicked), FSizingFixedRow, std::max(0, Y - before)};
    } else {
        return false;
    }
    return true;
}

void TVerIvovavOzed::ShowSizingHint(const TSizingNow& Sizing)
{
    const QString text = (Sizing.Column ? QStringLiteral("cw=<b>") : QStringLiteral("rh=<b>")) +
                         QString::number(Sizing.Size) + QStringLiteral("</b>");
    if (!FSizingHintWnd)
        FSizingHintWnd = new THTMLHintWindow(this);
    FSizingHintWnd->HintFont().Assign(Font());
    FSizingHintWnd->SetColor(HintColor());
    const TRect size = FSizingHintWnd->CalcHintRect(200, text, this);
    const TRect cell = CellRect(std::max(0, Sizing.Col), std::max(0, Sizing.Row));
    const QPoint at = viewport()->mapToGlobal(QPoint(cell.Left, cell.Top));
    FSizingHintWnd->ActivateHint(TRect(at.x(), at.y(), at.x() + size.Right, at.y() + size.Bottom), text);
}

void TVerIvovavOzed::HideSizingHint()
{
    if (FSizingHintWnd && FSizingHintWnd->isVisible())
        FSizingHintWnd->hide();
}

void TVerIvovavOzed::CancelHintOutside(int ACol, int ARow)
{
    if (FLastHintPos.X < 0)
        return;
    if (ACol >= 0 && ARow >= 0) {
        int bc = ACol, br = ARow;
        if (!ResolveBaseCell(RealColIndex(ACol), ARow, bc, br)) {
            ACol = DisplColIndex(bc);
            ARow = br;
        }
        if (ACol == FLastHintPos.X && ARow == FLastHintPos.Y)
            return;
    }
    FLastHintPos = TPoint(-1, -1);
    if (QToolTip::isVisible())
        QToolTip::hideText();
}

bool TVerIvovavOzed::HitTestCellMarkup(int RealCol, int ARow, const QString& Text, const TRect& T, QSize Image, int X,
                                       int Y, TMarkupRenderResult& Res)
{
    TMarkupRenderParams p;
    p.HitX = X;
    p.HitY = Y;
    p.HitTestOnly = true;
    p.WordWrap = !EnhTextSize();
    p.Window = this;
    QImage img(std::max(1, Image.width()), std::max(1, Image.height()), QImage::Format_ARGB32);
    TCanvas probe(&img);
    probe.Font().Assign(GetCellFont(RealCol, ARow));
    return RenderMarkupText(probe, Text, T, p, Res);
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
    TMarkupRenderResult res;
    const bool hit = HitTestCellMarkup(c, ARow, text, T, QSize(R.Right, R.Bottom), X, Y, res) && !res.AnchorValue.isEmpty();
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
    SetListViewHotCell(-1, -1);
    SetHotButtonCell(-1, -1);
    ClearLinkHover();
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        FMouseSelect = msNormal;
        FSizeFixed = FSizeFixedR = false;
    }
    if (HoverRowIdx() >= 0) {
        const int old = HoverRowIdx();
        SetHoverRowIdx(-1);
        if (old < RowCount())
            RepaintRow(old);
    }
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
