// TVerIvovavOzed: the cell-selection query. Every move of the current cell passes here; besides
// accepting or refusing it, the grid validates the edit in progress before the cell is left and
// switches the string grid's editing option on or off for the cell that becomes current.
#include "grid/AdvGrid.h"

#include <QApplication>

bool TVerIvovavOzed::AcceptCellSelection(int ACol, int ARow)
{
    if (FForceSel) {
        if (!FRowIndicator.Empty() && FixedCols() > 0) {
            RepaintCell(0, Row());
            RepaintCell(0, ARow);
        }
        return true;
    }
    if (!parentWidget())
        return true;
    if (ACol < 0 || ARow < 0)
        return false;
    FEditText = GetGridCell(RealColIndex(ACol), ARow);

    // Footers: the target row is kept above them; a fixed footer row is never current. The
    // floating footer's panel lies below the viewport, so the client bottom the panel's rule
    // measures from is the viewport's bottom plus the panel. Cell rectangles are the string
    // grid's: empty for a row out of view, which the grid's own scrolling brings in.
    const bool searchShown = FSearchFooter->Visible();
    const int searchBand = searchShown ? SearchPanelHeight() + 2 : 0;
    if (FFloatingFooter->Visible()) {
        const int panelHeight = FFooterPanel && !FFooterPanel->isHidden() ? FFooterPanel->height() : 0;
        const int footerTop = ClientHeight() + panelHeight - FFloatingFooter->Height() + 2 - searchBand;
        if (FFloatingFooter->FooterStyle() == fsFixedLastRow) {
            if (ARow >= TopRow() + VisibleRowCount())
                SetTopRow(ARow + FixedRows() - VisibleRowCount());
            const TRect r = TStringGrid::CellRect(ACol, ARow);
            if (r.Bottom > footerTop && ARow < RowCount() - 1)
                SetTopRow(TopRow() + 1);
            if (ARow == RowCount() - 1)
                return false;
        } else {
            UpdateFooter();
            const TRect r = TStringGrid::CellRect(ACol, ARow);
            if (r.Bottom > footerTop && ARow < RowCount())
                SetTopRow(TopRow() + 1);
        }
    }
    if (searchShown) {
        // The search panel lies over the bottom of the viewport.
        const int searchTop = ClientHeight() - SearchPanelHeight() + 2;
        while (TStringGrid::CellRect(ACol, ARow).Bottom > searchTop && ARow <= RowCount() - 1 && TopRow() < RowCount() - 1) {
            const int before = TopRow();
            SetTopRow(before + 1);
            if (TopRow() == before)
                break; // the grid cannot scroll further
        }
    }

    // Merged ranges: the move goes to the range's base cell instead.
    if (IsMergedNonBaseCell(RealColIndex(ACol), ARow) && !(Options() & goRangeSelect)) {
        const TPoint b = BaseCell(RealColIndex(ACol), ARow);
        MoveColRow(DisplColIndex(b.X), b.Y, true, true);
        RepaintCell(DisplColIndex(b.X), b.Y);
        if (FMouseActions->DirectEdit() ||
            (FControlLook->DropDownAlwaysVisible() && HasComboBox(b.X, b.Y)))
            ShowInplaceEdit();
        return false;
    }
    if (HasNodes() && ACol == 0 && !(Options() & goRowSelect))
        return false;
    if (FUseEnabledRows && FNavigation->SkipDisabledRows() && !RowEnabled(ARow))
        return false;

    const int oldCol = Col(), oldRow = Row();
    const TGridRect oldSel = Selection();
    const int realCol = RealColIndex(ACol);
    QString text = GetGridCell(realCol, ARow);

    // Editing permission of the target cell.
    if (IsControlCell(realCol, ARow)) {
        bool p = true;
        IsReadOnlyCell(realCol, ARow, p);
        if (!FEditDisable)
            FEditDisable = !p && ((Options() & goEditing) || FMouseActions->RangeSelectAndEdit());
        if (!(Options() & goEditing) && !(Options() & goRowSelect) && p) {
            FEditChange = true;
            SetOptions(Options() | goEditing);
        }
    } else {
        bool p = (Options() & goEditing) || FEditDisable;
        IsReadOnlyCell(realCol, ARow, p);
        if (p && FMouseActions->DirectEdit()) {
            EditControl = DefaultEditor();
            if (IsNoEditorCell(realCol, ARow))
                p = false;
        }
        if (FMouseActions->EditOnDblClickOnly())
            p = false;
        if (p) {
            FEditDisable = false;
            if (!(Options() & goEditing)) {
                FEditChange = true;
                if (!FEditing)
                    RememberCellText(ACol, ARow);
                TGridOptions o = Options();
                if ((o & goRowSelect) && FMouseActions->RangeSelectAndEdit())
                    o &= ~TGridOptions(goRowSelect);
                SetOptions(o | goEditing);
            }
            if (FEditing && EditMode && (ACol != Col() || ARow != Row())) {
                HideInplaceEdit();
                text = GetGridCell(realCol, ARow);
            }
        } else {
            if (FEditing && EditMode) {
                HideInplaceEdit();
                text = GetGridCell(realCol, ARow);
            }
            if (Options() & goEditing) {
                EditMode = false;
                FEditDisable = true;
                FEditChange = true;
                SetOptions(Options() & ~TGridOptions(goEditing));
                SetEditorMode(false);
            }
        }
    }

    // Leaving the cell. (Asked after the step above: the string grid keeps the focus in its editor
    // during a click, where the step above has just moved it to the grid.)
    TAdvInplaceEdit* editor = NormalEdit();
    const bool editorFocused = editor && editor->isVisible() && editor->hasFocus();
    bool answer = false;
    if (!FEditing || editorFocused) {
        bool allow = true;
        CanChangeCell(ACol, ARow, allow);
        if (IsFixed(ACol, ARow) || !allow)
            answer = (allow && (Options() & goRowSelect)) || (FFixedRowAlways && RowCount() == FixedRows());
        else
            answer = TBaseGrid::SelectCell(ACol, ARow);
    } else {
        const QString saved = FCellCache;
        const bool valid = ValidateCell(CurrentCell());
        bool allow = valid;
        if (valid)
            CanChangeCell(ACol, ARow, allow);
        if (allow)
            answer = TBaseGrid::SelectCell(ACol, ARow);
        if (!answer)
            text = saved;
    }

    // Follow-up, whatever the answer.
    if (!FRowIndicator.Empty() && FixedCols() > 0) {
        RepaintCell(0, oldRow);
        RepaintCell(0, ARow);
    }
    if (FISelect)
        FISelect->NotifySelect(Col(), ARow);
    if (ActiveCellShow()) {
        RepaintActiveHeaders(oldCol, oldRow, ARow, ACol);
        if (oldSel.Left != oldCol && oldSel.Top != oldRow)
            RepaintActiveHeaders(oldSel.Left, oldSel.Top, ARow, ACol);
    }
    if (ActiveRowShow()) {
        RepaintRow(ARow);
        RepaintRow(Selection().Top);
    }
    if (SelectionRectangle())
        InvalidateSelectionArea(Selection(), Selection());
    if (!FLoading && ARow != FOldRowSel && OnRowChanged) {
        OnRowChanged(this, FOldRowSel, ARow);
        FOldRowSel = ARow;
    }
    // Borders of the application's own may depend on the selection: the rows left behind repaint.
    if (HasCustomCellBorders())
        for (int r = std::min(oldSel.Top, oldSel.Bottom); r <= std::max(oldSel.Top, oldSel.Bottom); ++r)
            if (r >= 0 && r < RowCount())
                RepaintRow(r);
    FCellCache = text;
    return answer;
}

void TVerIvovavOzed::RepaintActiveHeaders(int OldCol, int OldRow, int NewRow, int NewCol)
{
    const int fr = FixedRows(), fc = FixedCols();
    if (fr > 0) {
        RepaintCell(OldCol, fr - 1);
        RepaintCell(NewCol, fr - 1);
    }
    if (fc > 0) {
        RepaintCell(fc - 1, OldRow);
        RepaintCell(fc - 1, NewRow);
    }
}

void TVerIvovavOzed::ClickCellSilently(int ACol, int ARow)
{
    FForceSel = true;
    auto down = std::move(OnMouseDown);
    auto up = std::move(OnMouseUp);
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    try {
        const TRect r = TStringGrid::CellRect(ACol, ARow);
        MouseDown(mbLeft, TShiftState(ssLeft), r.Left + 2, r.Top + 2);
        MouseUp(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
    } catch (...) {
    }
    OnMouseDown = std::move(down);
    OnMouseUp = std::move(up);
    FForceSel = false;
}
