// TVerIvovavOzed: row and column counts and fixed areas, the current cell, the cell-selection
// query, disjunct row and column selection, the row flags, repaints, navigation after Enter and
// the key-press step.
#include "grid/AdvGrid.h"
#include "platform/Property.h"

#include <algorithm>

// ---- counts and fixed areas ------------------------------------------------------------------

void TVerIvovavOzed::SetRowCount(int Value)
{
    if (Value < 0)
        return;
    if (RowCount() == FixedRows() && FFixedRowAlways && FSelHidden)
        UnHideSelection();
    const int old = RowCount();
    TStringGrid::SetRowCount(Value);
    if (Value > FFixedRowsMin && FFixedRowAlways && TStringGrid::FixedRows() != FFixedRowsMin)
        TStringGrid::SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, Value);
    SetNormalRowCount(Value);
    UpdateScrollBarAlways(false);
    if (FFloatingFooter->Visible() && old != Value && old > 0 && Value > 0) {
        // The footer row stays the last row.
        const TGridStrings last = WholeRow(old - 1);
        SetWholeRow(Value - 1, last);
        if (old - 1 < Value - 1) {
            FNilObjects = true;
            ClearRows(old - 1, 1);
            FNilObjects = false;
        }
        CalcFooter(-1);
    }
}

void TVerIvovavOzed::SetColCount(int Value)
{
    if (Value < 0)
        return;
    TStringGrid::SetColCount(Value);
    if (Value > FFixedColsMin && FFixedColAlways && TStringGrid::FixedCols() != FFixedColsMin)
        TStringGrid::SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, Value);
    UpdateScrollBarAlways(false);
}

int TVerIvovavOzed::FixedRows() const
{
    const int v = TStringGrid::FixedRows();
    return v == 0 && FFixedRowAlways ? 1 : v;
}

int TVerIvovavOzed::FixedCols() const
{
    const int v = TStringGrid::FixedCols();
    return v == 0 && FFixedColAlways ? 1 : v;
}

void TVerIvovavOzed::SetFixedRows(int Value)
{
    int v = Value;
    if (FFixedRowAlways && v >= RowCount())
        v = RowCount() - 1;
    TStringGrid::SetFixedRows(v);
    if (!FLoading)
        FFixedRowsMin = Value;
}

void TVerIvovavOzed::SetFixedCols(int Value)
{
    int v = Value;
    if (FFixedColAlways && v >= ColCount())
        v = ColCount() - 1;
    TStringGrid::SetFixedCols(v);
    if (!FLoading)
        FFixedColsMin = Value;
}

void TVerIvovavOzed::SetFixedRowHeight(int Value)
{
    FFixedRowHeight = Value;
    if (FLoading)
        return;
    if (Value == DefaultRowHeight())
        SetDefaultRowHeight(Value);
    else
        for (int r = 0; r < FixedRows(); ++r)
            SetRowHeights(r, Value);
}

void TVerIvovavOzed::SetFixedColWidth(int Value)
{
    if (FLoading || Value == DefaultColWidth())
        return;
    for (int c = 0; c < FixedCols(); ++c)
        SetColWidths(c, Value);
}

void TVerIvovavOzed::SetDefaultRowHeight(int Value)
{
    TStringGrid::SetDefaultRowHeight(Value);
    FFloatingFooter->SetHeight(Value);
}

void TVerIvovavOzed::SetWordWrap(bool Value)
{
    TBaseGrid::SetWordWrap(Value);
    FWordWrapEx = Value;
    if (FUpdateCount == 0)
        Invalidate();
}

void TVerIvovavOzed::RefreshRowCount() { SetRowCount(RowCount() + 1); }

int TVerIvovavOzed::VisibleFixedRightCols() const
{
    int n = FFixedRightCols;
    for (int c = TotalColCount() - FFixedRightCols; c < TotalColCount(); ++c)
        if (IsHiddenColumn(c))
            --n;
    return std::max(0, n);
}

int TVerIvovavOzed::NavigationFixedCols()
{
    if (FixedCols() == 0 && HasNodes())
        return 1;
    return FixedCols();
}

// ---- current cell ----------------------------------------------------------------------------

void TVerIvovavOzed::SetCol(int Value)
{
    TStringGrid::SetCol(Value);
    if (FSyncGrid->SelectionColumn() && FSyncGrid->CanSync()) {
        TSyncGrid::TGuard guard(*FSyncGrid);
        if (auto* other = dynamic_cast<TVerIvovavOzed*>(FSyncGrid->Grid()))
            other->SetCol(Col());
        else
            FSyncGrid->Grid()->SetCol(Col());
    }
}

void TVerIvovavOzed::GotoCell(int ACol, int ARow)
{
    SetRow(ARow);
    SetCol(ACol);
}

void TVerIvovavOzed::FocusCell(int ACol, int ARow) { SetSelection({ACol, ARow, ACol, ARow}); }

void TVerIvovavOzed::MoveToCell(int ACol, int ARow) { MoveColRow(ACol, ARow, true, true); }

void TVerIvovavOzed::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow)
{
    SetRow(ToRow);
    SetCol(ToCol);
    SetSelection({FromCol, FromRow, ToCol, ToRow});
}

void TVerIvovavOzed::SetSelection(const TGridRect& Value)
{
    TStringGrid::SetSelection(Value);
    if (FActiveCellShow) {
        InvalidateRow(0);
        InvalidateCol(0);
    }
    if (ActiveRowShow())
        RepaintRow(Value.Bottom);
}

bool TVerIvovavOzed::IsEditable(int ACol, int ARow)
{
    if (!((Options() & goEditing) || FMouseActions->RangeSelectAndEdit() || FEditDisable))
        return false;
    return CellAllowsEditing(ACol, ARow);
}

bool TVerIvovavOzed::CellAllowsEditing(int ACol, int ARow)
{
    int bc = ACol, br = ARow;
    ResolveBaseCell(ACol, ARow, bc, br);
    bool mayEdit = true;
    IsReadOnlyCell(bc, br, mayEdit);
    bool fixed = false;
    IsFixedCell(bc, br, fixed);
    return mayEdit && !fixed;
}

bool TVerIvovavOzed::IsFixed(int ACol, int ARow)
{
    int bc = RealColIndex(ACol), br = ARow;
    ResolveBaseCell(RealColIndex(ACol), ARow, bc, br);
    const int dc = DisplColIndex(bc);
    if (br >= RowCount() - FFixedFooters || (dc >= ColCount() - FFixedRightCols && dc < ColCount()))
        return true;
    bool fixed = false;
    IsFixedCell(dc, br, fixed);
    return fixed;
}

// ---- the cell-selection query ----------------------------------------------------------------

void TVerIvovavOzed::Select() { SelectCell(Col(), Row()); }

// ---- disjunct selection ----------------------------------------------------------------------

void TVerIvovavOzed::EnsureRowSelect(int count)
{
    if (int(FRowSelect.size()) < count)
        FRowSelect.resize(size_t(count), false);
}

void TVerIvovavOzed::EnsureColSelect(int count)
{
    if (int(FColSelect.size()) < count)
        FColSelect.resize(size_t(count), false);
}

bool TVerIvovavOzed::RowSelect(int ARow)
{
    if (ARow < 0)
        return false;
    if (ARow >= RowCount() + NumHiddenRows() && !FMouseActions->RowSelectPersistent())
        throw ZUzeRodoRediv(QStringLiteral("Invalid row %1 accessed").arg(ARow));
    if (FMouseActions->DisjunctRowSelect()) {
        EnsureRowSelect(ARow + 1);
        return FRowSelect[size_t(ARow)];
    }
    const TGridRect s = Selection();
    return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TVerIvovavOzed::SetRowSelect(int ARow, bool Value)
{
    if (ARow < 0 || (ARow >= RowCount() + NumHiddenRows() && FixedRows() < RowCount()))
        throw ZUzeRodoRediv("Invalid row accessed");
    bool allow = true;
    if (ARow >= int(FRowSelect.size()) || FRowSelect[size_t(ARow)] != Value)
        if (OnRowDisjunctSelect)
            OnRowDisjunctSelect(this, ARow, Value, allow);
    if (!allow)
        return;
    EnsureRowSelect(ARow + 1);
    if (Value) {
        if (!FRowSelect[size_t(ARow)])
            RepaintRow(ARow);
        FRowSelect[size_t(ARow)] = true;
        if (!FSelectedRows.HasValue(ARow) && ARow >= FixedRows())
            FSelectedRows.Add(ARow);
    } else {
        if (FRowSelect[size_t(ARow)])
            RepaintRow(ARow);
        FRowSelect[size_t(ARow)] = false;
        FSelectedRows.DeleteValue(ARow);
    }
    if (OnRowDisjunctSelected)
        OnRowDisjunctSelected(this, ARow);
}

bool TVerIvovavOzed::ColSelect(int ACol)
{
    if (ACol < 0 || ACol >= ColCount())
        throw ZUzeRodoRediv("Invalid column accessed");
    EnsureColSelect(ACol + 1);
    return FColSelect[size_t(ACol)];
}

void TVerIvovavOzed::SetColSelect(int ACol, bool Value)
{
    if (ACol < 0 || ACol >= ColCount())
        throw ZUzeRodoRediv("Invalid column accessed");
    EnsureColSelect(ACol + 1);
    if (FColSelect[size_t(ACol)] != Value) {
        FColSelect[size_t(ACol)] = Value;
        RepaintCol(ACol);
    }
}

void TVerIvovavOzed::SelectRows(int RowIndex, int RCount)
{
    if (RowIndex + RCount > RowCount())
        RCount = RowCount() - RowIndex;
    if (RowIndex < 0 || RCount <= 0)
        return;
    if (!FMouseActions->DisjunctRowSelect())
        SetSelection({FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1});
    else
        for (int r = RowIndex; r < RowIndex + RCount; ++r) {
            const int idx = FMouseActions->RowSelectPersistent() ? DisplToRealRow(r) : r;
            if (idx < RowCount())
                SetRowSelect(idx, true);
        }
    if (!FRowIndicator.Empty())
        RepaintCol(0);
    FSelChange = false;
}

void TVerIvovavOzed::UnSelectRows(int RowIndex, int RCount)
{
    if (FMouseActions->DisjunctRowSelect())
        for (int r = std::max(0, RowIndex); r < RowIndex + RCount; ++r) {
            const int idx = FMouseActions->RowSelectPersistent() ? DisplToRealRow(r) : r;
            if (idx < RowCount())
                SetRowSelect(idx, false);
        }
    FSelChange = false;
}

void TVerIvovavOzed::SelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->DisjunctColSelect()) {
        SetSelection({ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1});
        return;
    }
    for (int c = std::max(0, ColIndex); c < ColIndex + CCount; ++c)
        if (c < ColCount())
            SetColSelect(c, true);
}

void TVerIvovavOzed::UnSelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->DisjunctColSelect())
        return;
    for (int c = std::max(0, ColIndex); c < ColIndex + CCount; ++c)
        if (c < ColCount())
            SetColSelect(c, false);
}

void TVerIvovavOzed::ClearRowSelect()
{
    for (size_t i = 0; i < FRowSelect.size(); ++i)
        if (FRowSelect[i]) {
            RepaintRow(int(i));
            FRowSelect[i] = false;
        }
    FSelectedRows.Clear();
}

void TVerIvovavOzed::ClearColSelect()
{
    for (size_t i = 0; i < FColSelect.size(); ++i)
        if (FColSelect[i]) {
            RepaintCol(int(i));
            FColSelect[i] = false;
        }
}

void TVerIvovavOzed::SelectionToRowSelect(bool All)
{
    TGridRect s = Selection();
    const int top = std::min(s.Top, s.Bottom);
    int bottom = std::max(s.Top, s.Bottom);
    if (bottom >= RowCount() - FFixedFooters)
        bottom = RowCount() - FFixedFooters - 1;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const bool in = r >= top && r <= bottom;
        if (All || in) {
            const int idx = FMouseActions->RowSelectPersistent() ? DisplToRealRow(r) : r;
            if (idx >= 0 && idx < RowCount() + NumHiddenRows())
                SetRowSelect(idx, in);
        }
    }
    if (NumHiddenRows() > 0)
        InvalidateGrid();
}

void TVerIvovavOzed::SelectionToColSelect(bool All)
{
    const TGridRect s = Selection();
    const int left = std::min(s.Left, s.Right);
    const int right = std::max(s.Left, s.Right);
    for (int c = FixedCols(); c < ColCount(); ++c) {
        const bool in = c >= left && c <= right;
        if (All || in)
            SetColSelect(c, in);
    }
}

int TVerIvovavOzed::RowSelectCount() const
{
    if (FMouseActions->DisjunctRowSelect()) {
        const int n = std::min(RowCount() + NumHiddenRows(), int(FRowSelect.size()));
        return int(std::count(FRowSelect.begin(), FRowSelect.begin() + n, true));
    }
    const TGridRect s = Selection();
    return std::abs(s.Bottom - s.Top) + 1;
}

int TVerIvovavOzed::ColSelectCount() const
{
    if (FMouseActions->DisjunctColSelect())
        return int(std::count(FColSelect.begin(), FColSelect.end(), true));
    const TGridRect s = Selection();
    return s.Right - s.Left + 1;
}

// ---- row flags -------------------------------------------------------------------------------

bool TVerIvovavOzed::RowModified(int ARow) const
{
    return ARow >= 0 && ARow < FModifiedRows.Count() && FModifiedRows.GetInteger(ARow) == 1;
}

void TVerIvovavOzed::SetRowModified(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    while (FModifiedRows.Count() <= ARow)
        FModifiedRows.Insert(FModifiedRows.Count(), 0);
    FModifiedRows.SetInteger(ARow, Value ? 1 : 0);
    RepaintCell(0, ARow);
}

int TVerIvovavOzed::ModifiedRowCount() const
{
    int n = 0;
    for (int i = 0; i < FModifiedRows.Count(); ++i)
        if (FModifiedRows.GetInteger(i) == 1)
            ++n;
    return n;
}

bool TVerIvovavOzed::RowEnabled(int ARow) const
{
    return ARow < 0 || ARow >= FEnabledRows.Count() || FEnabledRows.GetInteger(ARow) == 0;
}

void TVerIvovavOzed::SetRowEnabled(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    if (ARow == Row())
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (r != ARow && RowEnabled(r)) {
                TStringGrid::FocusCell(Col(), r, true);
                break;
            }
    FUseEnabledRows = true;
    while (FEnabledRows.Count() <= ARow)
        FEnabledRows.Insert(FEnabledRows.Count(), 0);
    FEnabledRows.SetInteger(ARow, Value ? 0 : 1);
    RepaintRow(ARow);
}

// ---- repaints --------------------------------------------------------------------------------

void TVerIvovavOzed::RepaintRow(int ARow) { InvalidateRow(ARow); }

void TVerIvovavOzed::RepaintCol(int ACol) { InvalidateCol(ACol); }

void TVerIvovavOzed::RepaintRect(const TRect& r)
{
    if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0)
        return;
    const TRect a = TStringGrid::CellRect(r.Left, r.Top);
    const TRect b = TStringGrid::CellRect(std::min(VisibleColCount() + FixedCols(), r.Right), r.Bottom);
    if (a.Right <= a.Left || b.Right <= b.Left) {
        InvalidateGrid();
        return;
    }
    viewport()->update(ToQRect({std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                                std::max(a.Bottom, b.Bottom)}));
}

// ---- navigation ------------------------------------------------------------------------------

void TVerIvovavOzed::AdvanceToNextCell(int ACol, int ARow, bool DoEdit, bool Repeated, bool Forward, bool AutoEdit,
                                       bool Force)
{
    if (!FNavigation->AdvanceOnEnter() && !Force)
        return;
    if (FMouseActions->RangeSelectAndEdit() && !(Options() & goEditing))
        SetOptions(Options() | goEditing);
    if (!Repeated) {
        FAECol = ACol;
        FAERow = ARow;
    }
    const int chainCol = FAECol, chainRow = FAERow;
    const int startCol = ACol, startRow = ARow;

    // Read-only cells may be skipped one after the other; the walk ends when it comes back to
    // the cell it started from.
    for (int guard = 0; guard <= (RowCount() + 1) * (ColCount() + 1); ++guard) {
        const TPoint span = CellSpan(ACol, ARow);
        const TAdvanceDirection dir = FNavigation->AdvanceDirection();
        bool stop = false;
        if (Forward && (dir == adLeftRight || dir == adLeftRightInRow)) {
            if (ACol + span.X < ColCount() - VisibleFixedRightCols() - 1)
                ACol = ACol + span.X + 1;
            else if (dir == adLeftRightInRow) {
                if (FNavigation->AdvanceOnEnterLoop())
                    ACol = NavigationFixedCols();
            } else if (ARow + 1 == RowCount() - FFixedFooters) {
                if (FNavigation->AdvanceInsert()) {
                    bool canAdd = true;
                    DoCanAddRow(canAdd);
                    ACol = NavigationFixedCols();
                    if (canAdd) {
                        AddRow();
                        ++ARow;
                        if (OnAutoAddRow)
                            OnAutoAddRow(this, RowCount() - FFixedFooters - 1);
                        bool anyEditable = false;
                        for (int c = FixedCols(); c < ColCount(); ++c)
                            if (IsEditable(RealColIndex(c), ARow))
                                anyEditable = true;
                        if (!anyEditable)
                            return;
                    }
                } else if (FNavigation->AdvanceOnEnterLoop()) {
                    ARow = FixedRows();
                    ACol = NavigationFixedCols();
                }
            } else {
                ++ARow;
                ACol = NavigationFixedCols();
            }
        } else if (Forward) {
            if (ARow + 1 != RowCount() - FFixedFooters)
                ++ARow;
            else if (dir == adTopBottomInCol)
                ARow = FixedRows();
            else {
                if (ACol + 1 != ColCount() - FFixedRightCols) {
                    ACol = ACol + 1 >= ColCount() ? NavigationFixedCols() : ACol + 1;
                    ARow = FixedRows();
                } else if (FNavigation->AdvanceInsert()) {
                    SetColCount(ColCount() + 1);
                    ACol = ACol + span.X + 1;
                    ARow = FixedRows();
                    if (OnAutoInsertCol)
                        OnAutoInsertCol(this, ColCount() - FFixedRightCols - 1);
                } else {
                    ACol = NavigationFixedCols();
                    ARow = FixedRows();
                }
                InvalidateGrid();
            }
        } else {
            if (dir == adLeftRight) {
                if (ACol > NavigationFixedCols())
                    --ACol;
                else {
                    ARow = ARow > FixedRows() ? ARow - 1 : RowCount() - FFixedFooters - 1;
                    ACol = ColCount() - FFixedRightCols - 1;
                }
            } else if (dir == adTopBottom) {
                if (ARow > FixedRows())
                    --ARow;
                else {
                    ACol = ACol > NavigationFixedCols() ? ACol - 1 : ColCount() - FFixedRightCols - 1;
                    ARow = RowCount() - FFixedFooters - 1;
                }
            }
        }

        bool mayEdit = true;
        IsReadOnlyCell(RealColIndex(ACol), ARow, mayEdit);
        if (mayEdit) {
            bool allow = true;
            int newRow = ARow, newCol = ACol;
            if (OnAutoAdvance)
                OnAutoAdvance(this, chainRow, chainCol, newRow, newCol, allow);
            if (allow && OnCellChanging)
                OnCellChanging(this, chainRow, chainCol, newRow, newCol, allow);
            FDisableChange = true;
            if (allow) {
                SetCol(newCol);
                SetRow(newRow);
            } else
                SelectCell(startCol, startRow);
            FDisableChange = false;
            stop = true;
        } else if (FNavigation->AdvanceSkipReadOnlyCells()) {
            if ((ACol == chainCol && ARow == chainRow) || (ACol == startCol && ARow == startRow)) {
                stop = true; // every cell of the walk is read-only
            }
        } else {
            SetCol(ACol);
            SetRow(ARow);
            stop = true;
        }
        if (stop)
            break;
    }

    if (DoEdit && ((AutoEdit && FNavigation->AdvanceAutoEdit()) || IsControlCell(RealCol(), Row()))) {
        if (!IsEditable(RealCol(), Row()))
            return;
        ShowEditor();
    }
    if (DoEdit && FMouseActions->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(Row(), true);
    }
}

void TVerIvovavOzed::KeyPress(QChar& Key)
{
    if (Key == QChar(27)) {
        if ((Options() & goEditing) && EditorMode())
            SetCells(RealCol(), Row(), FCellCache);
        if (OnKeyPress)
            OnKeyPress(this, Key);
        return;
    }
    if (Key == QChar(13)) {
        if (!FNavigation->AdvanceOnEnter() && !IsEditable(RealCol(), Row())) {
            if (OnKeyPress)
                OnKeyPress(this, Key);
            Key = QChar(0);
            return;
        }
        if (EditorMode() || IsControlCell(RealCol(), Row())) {
            const int oldReal = RealCol();
            AdvanceToNextCell(Col(), Row(), EditorMode(), false, true, false, false);
            if (!FNavigation->AdvanceAutoEdit()) {
                if (OnKeyPress)
                    OnKeyPress(this, Key);
                Key = QChar(0);
                return;
            }
            if (IsControlCell(oldReal, Row())) {
                if (OnKeyPress)
                    OnKeyPress(this, Key);
                ShowInplaceEdit();
                return;
            }
        }
    }
    TBaseGrid::KeyPress(Key);
}
