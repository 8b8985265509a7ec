// TVerIvovavOzed: what follows a scroll (repaints, the end of a special edit, the in-cell
// controls, a synchronised grid), the key-up step (disjunct cell selection with Space, Ctrl and
// Shift; the editor shown again with AlwaysEdit), and the grid's own key-down step
// after the core's (Ctrl+Up/Down row moves, wrapping at the edges, the synchronised grid).
#include "grid/AdvGrid.h"

#include <algorithm>

namespace {

TGridRect Normalised(const TGridRect& s)
{
    return TGridRect{std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::max(s.Left, s.Right),
                     std::max(s.Top, s.Bottom)};
}

bool IsArrow(Word Key) { return Key >= VK_LEFT && Key <= VK_DOWN; }

} // namespace

// ---- after a scroll --------------------------------------------------------------------------

void TVerIvovavOzed::TopLeftChanged()
{
    // Step 2: the base grid's own handling (the editor moves along, merged headers repaint).
    TBaseGrid::TopLeftChanged();
    UpdateFooter();
    // Step 3.
    const TGridRect s = Selection();
    if (SelectionRectangle() && s.Top != s.Bottom)
        InvalidateGrid();
    // Steps 1 and 4: backgrounds that depend on the scroll position.
    const TBackGround& bg = *FBackGround;
    if ((bg.Display() == bdFixed || bg.Display() == bdTile) && !bg.Bitmap().Empty())
        InvalidateGrid();
    else if ((bg.Display() == bdGradientHorz || bg.Display() == bdGradientVert) && bg.ColorTo() != clNone)
        InvalidateGrid();
    // Step 5: a special editor ends; the plain in-place editor travels with the cell instead.
    if (EditMode && EditControl != edNormal)
        HideInplaceEdit();
    // Step 6: the in-cell controls follow.
    CellControlsUpdate(false);
    PlaceCellControls();
    // Step 7.
    FScrollOldLeftCol = LeftCol();
    FScrollOldTopRow = TopRow();
    // Step 9: the synchronised grid.
    if (FSyncGrid->Grid() && FSyncGrid->CanSync()) {
        TStringGrid* other = FSyncGrid->Grid();
        TSyncGrid::TGuard guard(*FSyncGrid);
        if (FSyncGrid->ScrollVertical() && other->TopRow() != TopRow() && TopRow() < other->RowCount())
            other->SetTopRow(TopRow());
        if (FSyncGrid->ScrollHorizontal() && other->LeftCol() != LeftCol() && LeftCol() < other->ColCount())
            other->SetLeftCol(LeftCol());
    }
}

void TVerIvovavOzed::PlaceCellControls()
{
    if (FControlList.Count() == 0)
        return;
    const int visCols = VisibleColCount(), visRows = VisibleRowCount();
    auto inView = [&](int A, int B) {
        return A >= LeftCol() && A <= LeftCol() + visCols && B >= TopRow() && B <= TopRow() + visRows;
    };
    for (int k = 0; k < FControlList.Count(); ++k) {
        TControlItem* it = FControlList.GetControl(k);
        QWidget* w = it->Object();
        if (!w)
            continue;
        if (IsHiddenColumn(it->X()) || IsHiddenRow(it->Y())) {
            w->setVisible(false);
            continue;
        }
        const int A = DisplColIndex(it->X()), B = DisplRowIndex(it->Y());
        const bool fixed = A < FixedCols() || B < FixedRows();
        if (fixed)
            continue;
        if (!inView(A, B)) {
            w->setVisible(false);
            continue;
        }
        const TRect r = CellRect(A, B);
        w->setGeometry(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
        w->setVisible(true);
    }
    // The controls in view repaint and lay themselves out again.
    for (int k = 0; k < FControlList.Count(); ++k) {
        TControlItem* it = FControlList.GetControl(k);
        QWidget* w = it->Object();
        const int A = DisplColIndex(it->X()), B = DisplRowIndex(it->Y());
        if (w && w->isVisible() && A >= FixedCols() && B >= FixedRows() && inView(A, B))
            w->update();
    }
}

// ---- key-up ----------------------------------------------------------------------------------

void TVerIvovavOzed::KeyUp(Word& Key, TShiftState Shift)
{
    const Word key = Key;
    // Step 1 (Home keeps the search text).
    if ((key >= VK_PRIOR && key <= VK_END && key != VK_HOME) || IsArrow(key) || key == VK_INSERT ||
        key == VK_DELETE)
        SearchInc.clear();
    // Step 2.
    const TGridRect S0 = Normalised(Selection());
    TBaseGrid::KeyUp(Key, Shift);
    // Step 3.
    if (FNavigation->AlwaysEdit() && (IsArrow(key) || (key == VK_TAB && (Options() & goTabs))) && !EditMode &&
        !IsControlCell(RealCol(), Row()))
        ShowInplaceEdit();
    // Step 4.
    if (!(Selection() == FMoveSelection) && (key == VK_TAB || IsArrow(key))) {
        const TGridRect s = Selection();
        SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
        FMoveSelection = s;
    }
    const bool disjunct = FMouseActions->DisjunctCellSelect() && !(Options() & goEditing);
    // Step 5: Shift replaces the cells of the old range by those of the new one.
    if (disjunct && (Shift & ssShift) && key != VK_SPACE) {
        for (int c = S0.Left; c <= S0.Right; ++c)
            for (int r = S0.Top; r <= S0.Bottom; ++r)
                RemoveSelCell(c, r);
        const TGridRect s = Normalised(Selection());
        for (int c = s.Left; c <= s.Right; ++c)
            for (int r = s.Top; r <= s.Bottom; ++r)
                if (c != Col() || r != Row())
                    AddSelCell(c, r, false);
        SyncPackedCells();
        RepaintSelCells();
    }
    // Step 6: Space.
    if (key == VK_SPACE && disjunct) {
        const TPoint C = BaseCell(Col(), Row());
        if (!(C.X < FixedCols() || C.Y < FixedRows() || IsFixed(C.X, C.Y))) {
            bool canSelect = true;
            if (OnSelectCell)
                OnSelectCell(this, C.X, C.Y, canSelect);
            if (!canSelect)
                return;
            if (Shift & ssCtrl) {
                if (!RemoveSelCell(C.X, C.Y))
                    AddSelCell(C.X, C.Y, false);
            } else {
                RepaintSelCells();
                FSelCells.clear();
                AddSelCell(C.X, C.Y, false);
            }
        }
        const TGridRect s = Normalised(Selection());
        if (s.Left != s.Right || s.Top != s.Bottom) {
            // A cell joins only when absent (a second copy kept it selected after Ctrl+Space).
            for (int c = s.Left; c <= s.Right; ++c)
                for (int r = s.Top; r <= s.Bottom; ++r)
                    if (c != C.X || r != C.Y)
                        AddSelCell(c, r, false);
            RepaintSelCells();
        }
        SyncPackedCells();
        RepaintCell(Col(), Row());
    }
}

// ---- key-down after the core's ---------------------------------------------------------------

void TVerIvovavOzed::KeyDown(Word& Key, TShiftState Shift)
{
    // Step 1.
    FLastKeyCell = TPoint{Col(), Row()};
    const Word key = Key;
    const bool ctrl = Shift & ssCtrl;
    // Step 2: Ctrl+Down and Ctrl+Up move the selected rows (instead of the core's navigation).
    if (ctrl && (key == VK_DOWN || key == VK_UP) && FNavigation->CursorMoveRows()) {
        const TGridRect s = Normalised(Selection());
        Key = 0;
        if (key == VK_DOWN && s.Bottom < RowCount() - 1) {
            if (s.Top == s.Bottom) {
                MoveRow(s.Top, s.Top + 1);
                SetRow(s.Top + 1);
            } else {
                MoveRow(s.Bottom + 1, s.Top);
                SetSelection({FixedCols(), s.Top + 1, ColCount() - 1, s.Bottom + 1});
            }
        } else if (key == VK_UP && s.Top > FixedRows()) {
            if (s.Top == s.Bottom) {
                MoveRow(s.Top, s.Top - 1);
                SetRow(s.Top - 1);
            } else {
                MoveRow(s.Top - 1, s.Bottom);
                SetSelection({FixedCols(), s.Top - 1, ColCount() - 1, s.Bottom - 1});
            }
        }
        return;
    }
    TBaseGrid::KeyDown(Key, Shift);
    // Step 3: wrapping at the edges, judged by the cell before the key.
    const TCursorAdvance adv = FNavigation->CursorAdvance();
    if (adv != caDefault && !(Shift & ssShift)) {
        const bool snake = adv == caSnake;
        const int lastCol = ColCount() - FixedRightCols() - 1;
        const int lastRow = RowCount() - FixedFooters() - 1;
        const TPoint k = FLastKeyCell;
        if (key == VK_LEFT && k.X == FixedCols()) {
            if (snake && k.Y > FixedRows())
                MoveColRow(lastCol, k.Y - 1, true, true);
            else
                MoveColRow(lastCol, k.Y, true, true);
        } else if (key == VK_UP && k.Y == FixedRows()) {
            if (snake && k.X > FixedCols())
                MoveColRow(k.X - 1, lastRow, true, true);
            else
                MoveColRow(k.X, lastRow, true, true);
        } else if (key == VK_RIGHT && k.X == ColCount() - 1) {
            if (snake && k.Y < lastRow)
                MoveColRow(FixedCols(), k.Y + 1, true, true);
            else
                MoveColRow(FixedCols(), k.Y, true, true);
        } else if (key == VK_DOWN && k.Y == RowCount() - 1) {
            if (snake && k.X < lastCol)
                MoveColRow(k.X + 1, FixedRows(), true, true);
            else
                MoveColRow(k.X, FixedRows(), true, true);
        }
    }
    // Step 5: the synchronised grid follows the selection.
    SyncSelectionToGrid();
}
