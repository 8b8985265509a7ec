// TVerIvovavOzed: operations on the grid's contents: removing and hiding rows by selection, check
// box or duplicate text, removing selected columns, joining two columns, clearing the selection,
// colouring and trimming rectangles, merging and splitting runs of equal cells, and two queries.
//
// Rows and columns are removed through the structure edits, so every row keeps its heights, cell
// properties (merges, check boxes, colours) and flags; removals walk from the bottom (or the right)
// so that the rows still to visit keep their indexes, and what is to go is decided before the first
// removal moves anything.
#include "grid/AdvGrid.h"

#include "platform/SysUtils.h"

#include <QSet>
#include <algorithm>
#include <functional>

namespace {

// Drawing is suspended for the whole operation, also when a handler it calls fails.
class UpdateBracket {
public:
    explicit UpdateBracket(TVerIvovavOzed& g) : FGrid(g) { FGrid.BeginUpdate(); }
    ~UpdateBracket() { FGrid.EndUpdate(); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    TVerIvovavOzed& FGrid;
};

// The encoded wide cell text starts with these two characters.
const QString WideCellMarker = QStringLiteral("|\\");

} // namespace

// ---- helpers ---------------------------------------------------------------------------------

bool TVerIvovavOzed::DisplRowSelected(int ADisplRow)
{
    if (!FMouseActions->DisjunctRowSelect()) {
        const TGridRect s = Selection();
        return ADisplRow >= std::min(s.Top, s.Bottom) && ADisplRow <= std::max(s.Top, s.Bottom);
    }
    const int idx = FMouseActions->RowSelectPersistent() ? DisplToRealRow(ADisplRow) : ADisplRow;
    return idx >= 0 && idx < int(FRowSelect.size()) && FRowSelect[size_t(idx)];
}

void TVerIvovavOzed::DropSelectedRowEntries(int Index, int Count)
{
    if (Count <= 0 || FSelectedRows.Count() == 0)
        return;
    TIntList kept;
    for (int k = 0; k < FSelectedRows.Count(); ++k) {
        const int v = FSelectedRows.GetInteger(k);
        if (v < Index)
            kept.Insert(kept.Count(), v);
        else if (v >= Index + Count)
            kept.Insert(kept.Count(), v - Count);
    }
    FSelectedRows.Clear();
    for (int k = 0; k < kept.Count(); ++k)
        FSelectedRows.Insert(k, kept.GetInteger(k));
}

void TVerIvovavOzed::RemoveDisplayedCols(std::vector<int> DisplCols)
{
    // Real columns from the right, joined into runs, so that each removal leaves the columns
    // still to remove where they were.
    std::vector<int> real;
    for (int d : DisplCols)
        if (d >= 0 && d < ColCount())
            real.push_back(DisplToRealCol(d));
    std::sort(real.begin(), real.end(), std::greater<int>());
    real.erase(std::unique(real.begin(), real.end()), real.end());
    size_t i = 0;
    while (i < real.size()) {
        int lo = real[i];
        size_t j = i + 1;
        while (j < real.size() && real[j] == lo - 1)
            lo = real[j++];
        RemoveCols(lo, real[i] - lo + 1);
        i = j;
    }
}

void TVerIvovavOzed::ClearDisplayedRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    // Clearing addresses displayed columns through their real ones in the hidden-cells mode; the
    // selection is always in displayed columns, so it is cleared in that mode whatever the setting.
    struct Restore {
        bool& Flag;
        bool Kept;
        ~Restore() { Flag = Kept; }
    } restore{FSaveHiddenCells, FSaveHiddenCells};
    FSaveHiddenCells = true;
    ClearRect(ACol1, ARow1, ACol2, ARow2);
}

// ---- removing and hiding rows ----------------------------------------------------------------

void TVerIvovavOzed::RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked)
{
    UpdateBracket bracket(*this);
    // Footer rows hold no data and are never removed. The check-box query takes the real row
    // (they differ while rows are hidden).
    for (int r = RowCount() - FFixedFooters - 1; r >= FixedRows(); --r)
        if (IsChecked(CheckBoxColumn, RealRowIndex(r)) == RemoveChecked)
            RemoveRows(r, 1);
}

void TVerIvovavOzed::RemoveDuplicates(int ACol, bool DoCase)
{
    const int c = DisplToRealCol(ACol);
    UpdateBracket bracket(*this);
    QSet<QString> seen;
    int r = FixedRows();
    while (r < RowCount() - FFixedFooters) {
        const QString text = Cells(c, r);
        const QString key = DoCase ? text : text.toCaseFolded();
        if (!seen.contains(key)) {
            seen.insert(key);
            ++r;
            continue;
        }
        const int before = RowCount();
        RemoveRowsHook(r, 1); // the next row moves up into r and is examined next
        if (RowCount() == before)
            ++r;
    }
}

void TVerIvovavOzed::RemoveSelectedRows()
{
    UpdateBracket bracket(*this);
    const int last = RowCount() - FFixedFooters - 1;
    std::vector<int> rows; // displayed rows, from the bottom up
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = last; r >= FixedRows(); --r)
            if (DisplRowSelected(r))
                rows.push_back(r);
    } else {
        const TGridRect s = Selection();
        const int top = std::max(std::min(s.Top, s.Bottom), FixedRows());
        const int bottom = std::min(std::max(s.Top, s.Bottom), last);
        for (int r = bottom; r >= top; --r)
            rows.push_back(r);
    }
    for (int r : rows)
        RemoveRowsHook(r, 1);
    if (FMouseActions->DisjunctRowSelect())
        ClearRowSelect();
}

void TVerIvovavOzed::RemoveUnSelectedRows()
{
    UpdateBracket bracket(*this);
    std::vector<int> rows;
    for (int r = RowCount() - FFixedFooters - 1; r >= FixedRows(); --r)
        if (!DisplRowSelected(r))
            rows.push_back(r);
    for (int r : rows)
        RemoveRowsHook(r, 1);
    if (FMouseActions->RowSelectPersistent())
        SelectRows(FixedRows(), RowCount() - FFixedFooters - FixedRows());
    else
        ClearRowSelect();
}

void TVerIvovavOzed::HideSelectedRows()
{
    UpdateBracket bracket(*this);
    std::vector<int> rows; // real rows, from the bottom up
    for (int r = RowCount() - FFixedFooters - 1; r >= FixedRows(); --r)
        if (DisplRowSelected(r))
            rows.push_back(RealRowIndex(r));
    for (int r : rows)
        HideRows(r, r);
}

void TVerIvovavOzed::HideUnSelectedRows()
{
    UpdateBracket bracket(*this);
    std::vector<int> rows;
    for (int r = RowCount() - FFixedFooters - 1; r >= FixedRows(); --r)
        if (!DisplRowSelected(r))
            rows.push_back(RealRowIndex(r));
    for (int r : rows)
        HideRows(r, r);
}

// ---- removing and joining columns ------------------------------------------------------------

void TVerIvovavOzed::RemoveSelectedCols()
{
    UpdateBracket bracket(*this);
    std::vector<int> cols;
    if (FMouseActions->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c)
            if (ColSelect(c))
                cols.push_back(c);
        // Each removed column's flag goes with it.
        for (int c : cols)
            if (c < int(FColSelect.size()))
                FColSelect.erase(FColSelect.begin() + c);
    } else {
        const TGridRect s = Selection();
        for (int c = std::max(s.Left, s.Right); c >= std::min(s.Left, s.Right); --c)
            cols.push_back(c);
    }
    RemoveDisplayedCols(cols);
}

void TVerIvovavOzed::RemoveUnSelectedCols()
{
    UpdateBracket bracket(*this);
    std::vector<int> cols;
    if (FMouseActions->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c)
            if (!ColSelect(c))
                cols.push_back(c);
        for (int c : cols)
            if (c < int(FColSelect.size()))
                FColSelect.erase(FColSelect.begin() + c);
    } else {
        const TGridRect s = Selection();
        const int L = std::min(s.Left, s.Right);
        const int R = std::max(s.Left, s.Right);
        for (int c = ColCount() - 1; c > R; --c)
            cols.push_back(c);
        for (int c = L - 1; c >= FixedCols(); --c)
            cols.push_back(c);
    }
    RemoveDisplayedCols(cols);
    ClearColSelect();
}

void TVerIvovavOzed::MergeCols(int ColIndex1, int ColIndex2, const QString& Separator)
{
    UpdateBracket bracket(*this);
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetCells(ColIndex1, r, platform::Trim(Cells(ColIndex1, r) + Separator + Cells(ColIndex2, r)));
    RemoveCols(ColIndex2, 1);
}

// ---- clearing, colouring, trimming -----------------------------------------------------------

void TVerIvovavOzed::ClearSelection()
{
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (DisplRowSelected(r))
                ClearRows(r, 1);
    } else if (FMouseActions->DisjunctColSelect()) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (ColSelect(c) && RowCount() > 0)
                ClearDisplayedRect(c, 0, c, RowCount() - 1);
    } else {
        const TGridRect s = Selection();
        ClearDisplayedRect(s.Left, s.Top, s.Right, s.Bottom);
    }
}

void TVerIvovavOzed::ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor)
{
    UpdateBracket bracket(*this);
    for (int r = ARow1; r <= ARow2; ++r)
        for (int c = ACol1; c <= ACol2; ++c)
            SetColors(c, r, AColor);
}

void TVerIvovavOzed::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    UpdateBracket bracket(*this);
    for (int r = ARow1; r <= ARow2; ++r)
        for (int c = ACol1; c <= ACol2; ++c) {
            const int a = FSaveHiddenCells ? DisplToRealCol(c) : c;
            SetCells(a, r, platform::Trim(Cells(a, r)));
        }
}

void TVerIvovavOzed::TrimColumn(int ACol) { TrimRect(ACol, 0, ACol, RowCount() - 1); }

void TVerIvovavOzed::TrimRow(int ARow) { TrimRect(0, ARow, ColCount() - 1, ARow); }

void TVerIvovavOzed::TrimAll() { TrimRect(0, 0, ColCount() - 1, RowCount() - 1); }

// ---- merging and splitting runs of equal cells -----------------------------------------------

void TVerIvovavOzed::MergeColumnCells(int ColIndex, bool MainMerge)
{
    if (ColIndex < 0)
        return;
    const int last = RowCount() - FFixedFooters - 1;
    int r = FixedRows();
    while (r <= last) {
        const QString text = Cells(ColIndex, r);
        int e = r;
        while (e < last && Cells(ColIndex, e + 1) == text && (MainMerge || RowSpanIdentical(e + 1, e)))
            ++e;
        if (e > r)
            MergeCells(ColIndex, r, 1, e - r + 1);
        r = e + 1;
    }
}

void TVerIvovavOzed::MergeRowCells(int RowIndex, bool MainMerge)
{
    if (RowIndex < 0)
        return;
    const int last = ColCount() - FFixedRightCols - 1;
    int c = FixedCols();
    while (c <= last) {
        const QString text = Cells(c, RowIndex);
        int e = c;
        while (e < last && Cells(e + 1, RowIndex) == text && (MainMerge || ColSpanIdentical(e + 1, e)))
            ++e;
        if (e > c)
            MergeCells(c, RowIndex, e - c + 1, 1);
        c = e + 1;
    }
}

void TVerIvovavOzed::SplitColumnCells(int ColIndex)
{
    if (ColIndex < 0)
        return;
    int r = 0;
    while (r < RowCount() - FFixedFooters - 1) {
        if (IsYMergedCell(ColIndex, r)) {
            const int rest = CellExt(ColIndex, r).Y;
            SplitCells(ColIndex, r);
            r += rest + 1;
        } else
            ++r;
    }
}

void TVerIvovavOzed::SplitRowCells(int RowIndex)
{
    if (RowIndex < 0)
        return;
    int c = 0;
    while (c < ColCount() - FFixedRightCols - 1) {
        if (IsMergedCell(c, RowIndex)) {
            const int rest = CellExt(c, RowIndex).X;
            SplitCells(c, RowIndex);
            c += rest + 1;
        } else
            ++c;
    }
}

void TVerIvovavOzed::SplitAllCells()
{
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r)
            if (IsMergedCell(c, r))
                SplitCells(c, r);
}

void TVerIvovavOzed::SplitAllColumnCells()
{
    for (int c = 0; c < TotalColCount(); ++c)
        SplitColumnCells(c);
}

void TVerIvovavOzed::MergeListedColumns()
{
    for (int k = 0; k < FMergedColumns.Count(); ++k) {
        const int c = FMergedColumns.GetInteger(k);
        if (c >= 0 && c < TotalColCount())
            MergeColumnCells(c, k == 0);
    }
}

// ---- queries ---------------------------------------------------------------------------------

bool TVerIvovavOzed::IsWideCell(int ACol, int ARow) { return Cells(ACol, ARow).startsWith(WideCellMarker); }

bool TVerIvovavOzed::IsCell(const QString& SubStr, int& ACol, int& ARow)
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (GetGridCell(c, r) == SubStr) {
                ACol = c;
                ARow = r;
                return true;
            }
    return false;
}
