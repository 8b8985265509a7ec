// TVerIvovavOzed: inserting, removing and clearing rows and columns.
//
// Every structure edit keeps the per-row state with its rows: cell properties, heights, hidden-row
// items, the disjunct selection and the modified and enabled flags. Rows a removal vacates are
// emptied, so no row is shown twice and no properties object belongs to two cells.
#include "grid/AdvGrid.h"

#include <algorithm>
#include <utility>

namespace {

template <class T>
void EraseAt(std::vector<T>& v, int index, int count)
{
    if (index < 0 || index >= int(v.size()))
        return;
    const int n = std::min(count, int(v.size()) - index);
    v.erase(v.begin() + index, v.begin() + index + n);
}

template <class T>
void InsertAt(std::vector<T>& v, int index, int count, const T& value)
{
    if (index < 0 || index > int(v.size()))
        return;
    v.insert(v.begin() + index, size_t(count), value);
}

void EraseInts(TIntList& l, int index, int count)
{
    for (int k = 0; k < count && index < l.Count(); ++k)
        l.Delete(index);
}

void InsertInts(TIntList& l, int index, int count)
{
    if (index > l.Count())
        return;
    for (int k = 0; k < count; ++k)
        l.Insert(index, 0);
}

} // namespace

// Real indexes of the displayed rows RowIndex .. RowIndex + RCount - 1, ascending.
static std::vector<int> RealRowsOf(const TVerIvovavOzed& g, int RowIndex, int RCount)
{
    std::vector<int> v;
    for (int k = 0; k < RCount; ++k)
        v.push_back(g.RealRowIndex(RowIndex + k));
    return v;
}

// ---- removing rows ---------------------------------------------------------------------------

// Rows First + RCount .. Last move up by RCount and the rows freed at the end are emptied, with
// their heights; whole rows move in the store where it holds nothing right of the last column.
void TVerIvovavOzed::MoveRowsUp(int First, int Last, int RCount)
{
    const bool moved = ShiftStoredRows(First, Last, -RCount, TotalColCount());
    for (int i = First; i <= Last; ++i) {
        if (i + RCount <= Last) {
            if (!moved)
                SetWholeRow(i, WholeRow(i + RCount));
            SetRowHeights(i, RowHeights(i + RCount));
        } else if (!moved)
            SetWholeRow(i, TGridStrings());
    }
}

void TVerIvovavOzed::RemoveRows(int RowIndex, int RCount)
{
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0)
        return;
    RCount = std::min(RCount, RowCount() - RowIndex); // only rows that exist are removed
    const std::vector<int> removedReal = RealRowsOf(*this, RowIndex, RCount);

    // Controls below the removed rows move up with their rows.
    if (FControlList.Count() > 0) {
        const int below = RealRowIndex(RowIndex + RCount);
        std::vector<std::tuple<int, int, QWidget*>> items;
        for (int k = 0; k < FControlList.Count(); ++k) {
            TControlItem* it = FControlList.GetControl(k);
            items.emplace_back(it->X(), it->Y() >= below ? it->Y() - RCount : it->Y(), it->Object());
        }
        FControlList.Clear();
        for (auto& [x, y, w] : items)
            FControlList.AddControl(x, y, w);
    }
    FreeCellPropertiesRect(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1);

    const bool entered = FEntered;
    FEntered = false;
    BeginUpdate();
    const int savedTop = TopRow();
    const int savedRow = Row();
    const bool footerVisible = FFloatingFooter->Visible();
    const int footers = FFixedFooters;
    if (footerVisible) {
        FFloatingFooter->SetVisible(false);
        FFixedFooters = 0;
    }

    for (const auto& it : FGridItems) {
        const int below = int(std::count_if(removedReal.begin(), removedReal.end(), [&](int r) { return r < it->Idx; }));
        it->Idx -= below;
    }
    if (FShowModified->Enabled())
        EraseInts(FModifiedRows, RowIndex, RCount);
    if (FUseEnabledRows)
        EraseInts(FEnabledRows, RowIndex, RCount);
    if (FMouseActions->DisjunctRowSelect()) {
        const int flag = FMouseActions->RowSelectPersistent() ? removedReal.front() : RowIndex;
        EraseAt(FRowSelect, flag, RCount);
        DropSelectedRowEntries(flag, RCount);
    }

    const int n = RowCount();
    MoveRowsUp(RowIndex, n - 1, RCount);
    // Rows just past the old end are emptied too (references only: the moved rows own the objects).
    if (!ShiftStoredRows(n, n + RCount, -(RCount + 1), TotalColCount()))
        for (int i = n; i <= n + RCount; ++i)
            SetWholeRow(i, TGridStrings());

    SetRowCount(n - RCount);
    if (Row() >= RowCount() && RowCount() > FixedRows())
        SetRow(RowCount() - 1);
    FMaxRowCount -= RCount;

    if (savedRow < RowCount()) {
        if (!FMouseActions->DisjunctRowSelect())
            SetRow(savedRow);
        SetTopRow(savedTop);
    } else {
        if (RowCount() > FixedRows())
            SetRow(RowCount() - 1);
        else
            HideSelection();
        FSelHidden = false;
    }
    if (footerVisible) {
        FFixedFooters = footers;
        FFloatingFooter->SetVisible(true);
    }
    EndUpdate();
    FEntered = entered;

    DoCellsChanged({0, RowIndex, ColCount() - 1, RowIndex + RCount});
    if (TopRow() >= RowCount() + FixedRows() - VisibleRowCount() - 2 && RowCount() - VisibleRowCount() - 1 > 0)
        SetTopRow(RowCount() + FixedRows() - VisibleRowCount() - 2);
    if (FControlList.Count() > 0)
        CellControlsUpdate(false);
}

void TVerIvovavOzed::RemoveRowsEx(int RowIndex, int RCount)
{
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0)
        return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    const int realFirst = RealRowIndex(RowIndex);
    const int savedRow = Row();
    const int savedTop = TopRow();
    BeginUpdate();
    const int n = RowCount();
    // The removed rows' cells go first, so that nothing moved up is shared with a vacated row.
    FreeCellPropertiesRect(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1);
    MoveRowsUp(RowIndex, n - 1, RCount);
    if (FMouseActions->DisjunctRowSelect())
        EraseAt(FRowSelect, RowIndex, RCount);
    SetRowCount(n - RCount);
    FMaxRowCount -= RCount;
    if (savedRow < RowCount()) {
        SetRow(savedRow);
        SetTopRow(savedTop);
    } else if (RowCount() > FixedRows()) {
        SetRow(FixedRows());
        SetTopRow(FixedRows());
    }
    EndUpdate();
    ShiftHiddenItems(realFirst, -RCount);
    DoCellsChanged({0, RowIndex, ColCount() - 1, RowIndex + RCount});
}

void TVerIvovavOzed::RemoveRowsHook(int RowIndex, int RCount)
{
    FreeCellPropertiesRect(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1);
    RemoveRowsCore(RowIndex, RCount, true);
}

void TVerIvovavOzed::RemoveRowsCore(int RowIndex, int RCount, bool UpdateControls)
{
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0)
        return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    // Rows being hidden already count as hidden in the index mapping; their real rows are given.
    const bool hiding = !FHidingRows.empty();
    const std::vector<int> removedReal = hiding ? FHidingRows : RealRowsOf(*this, RowIndex, RCount);

    if (UpdateControls)
        for (int k = FControlList.Count() - 1; k >= 0; --k) {
            TControlItem* it = FControlList.GetControl(k);
            if (std::find(removedReal.begin(), removedReal.end(), it->Y()) != removedReal.end()) {
                if (it->Object())
                    it->Object()->setVisible(false);
                FControlList.RemoveControl(k);
            }
        }
    const int footers = FFixedFooters;
    FFixedFooters = 0;
    const bool footerVisible = FFloatingFooter->Visible();
    if (footerVisible) {
        BeginUpdate();
        FFloatingFooter->SetVisible(false);
    }
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    const bool entered = FEntered;
    FEntered = false;
    BeginUpdate();
    const int savedTop = TopRow();
    const int savedRow = Row();
    const bool rowSelectRemoved = (Options() & goRowSelect) && FixedRows() < RowCount() - 1;
    if (rowSelectRemoved)
        SetOptions(Options() & ~TGridOptions(goRowSelect));

    std::vector<int> heights(static_cast<size_t>(RowCount()));
    for (int r = 0; r < RowCount(); ++r)
        heights[size_t(r)] = RowHeights(r);

    // A removal (not a hiding) changes the real index of every row below.
    if (UpdateControls && !hiding)
        for (const auto& it : FGridItems) {
            const int below =
                int(std::count_if(removedReal.begin(), removedReal.end(), [&](int r) { return r < it->Idx; }));
            it->Idx -= below;
        }

    for (int k = 0; k < RCount; ++k) {
        DeleteRow(RowIndex);
        EraseAt(heights, RowIndex, 1);
    }
    if (disjunct) {
        if (!FMouseActions->RowSelectPersistent()) {
            EraseAt(FRowSelect, RowIndex, RCount);
            DropSelectedRowEntries(RowIndex, RCount);
        } else if (UpdateControls && !hiding) {
            EraseAt(FRowSelect, removedReal.front(), RCount);
            DropSelectedRowEntries(removedReal.front(), RCount);
        }
    }
    EraseInts(FModifiedRows, RowIndex, RCount);
    if (FUseEnabledRows)
        EraseInts(FEnabledRows, RowIndex, RCount);
    SetNormalRowCount(RowCount());

    if (savedRow < RowCount()) {
        TStringGrid::SetRow(savedRow);
        SetTopRow(savedTop);
    } else {
        if (RowCount() > FixedRows()) {
            TStringGrid::SetRow(RowCount() - 1);
            if (Row() >= RowCount())
                HideSelection();
        } else
            HideSelection();
        FSelHidden = false;
    }
    for (int r = 0; r < RowCount() && r < int(heights.size()); ++r)
        if (RowHeights(r) != heights[size_t(r)])
            SetRowHeights(r, heights[size_t(r)]);
    EndUpdate();
    FEntered = entered;

    DoCellsChanged({0, RowIndex, ColCount() - 1, RowIndex + RCount});
    if (TopRow() >= RowCount() - 1)
        SetTopRow(RowCount() - 1);
    if (Row() >= RowCount() && FixedRows() < RowCount()) {
        FForceSel = true;
        FocusCell(FixedCols(), FixedRows());
        FForceSel = false;
        if (rowSelectRemoved)
            SetOptions(Options() | goRowSelect);
        HideSelection();
        FSelHidden = false;
    } else if (rowSelectRemoved && RowCount() > FixedRows())
        SetOptions(Options() | goRowSelect);
    if (footerVisible) {
        FFloatingFooter->SetVisible(true);
        EndUpdate();
    }
    if (FControlList.Count() > 0)
        CellControlsUpdate(false);
    FFixedFooters = footers;
}

void TVerIvovavOzed::RemoveNormalRow(int ARow)
{
    RemoveRows(ARow, 1);
}

// ---- inserting rows --------------------------------------------------------------------------

void TVerIvovavOzed::InsertRows(int RowIndex, int RCount, bool UpdateCellControls)
{
    InsertRowsCore(RowIndex, RCount, UpdateCellControls);
}

void TVerIvovavOzed::InsertRowsCore(int RowIndex, int RCount, bool UpdateCellControls)
{
    if (RCount <= 0 || RowIndex < 0)
        return;
    RowIndex = std::min(RowIndex, RowCount());
    if (FSelHidden || Col() >= ColCount() || Row() >= RowCount())
        UnHideSelection();
    // The real index the new rows take (rows hidden just before stay before them).
    const int realIndex = RowIndex < RowCount() ? RealRowIndex(RowIndex) : TotalRowCount();
    const int n = RowCount();
    SetRowCount(n + RCount);
    const int last = FFloatingFooter->Visible() ? RowCount() - 2 : RowCount() - 1;
    // Whole rows move in the store; a row holding cells right of the last column is copied cell
    // by cell, as those cells stay where they are.
    const bool moved = ShiftStoredRows(RowIndex, std::max(last, RowIndex + RCount - 1), RCount, TotalColCount());
    for (int i = last; i >= RowIndex + RCount; --i) {
        if (!moved)
            SetWholeRow(i, WholeRow(i - RCount));
        SetRowHeights(i, RowHeights(i - RCount));
    }
    for (int i = RowIndex; i < RowIndex + RCount; ++i) {
        SetRowHeights(i, DefaultRowHeight());
        if (!moved)
            SetWholeRow(i, TGridStrings());
    }
    // Per-row state stays with its rows.
    InsertInts(FModifiedRows, RowIndex, RCount);
    if (FUseEnabledRows)
        InsertInts(FEnabledRows, RowIndex, RCount);
    if (!FUnhiding) {
        ShiftHiddenItems(realIndex - 1, RCount);
        if (FMouseActions->RowSelectPersistent())
            InsertAt(FRowSelect, realIndex, RCount, false);
    }
    if (!FMouseActions->RowSelectPersistent())
        InsertAt(FRowSelect, RowIndex, RCount, false);
    if (FSelectedRows.Count() > 0) {
        for (int k = 0; k < FSelectedRows.Count(); ++k)
            if (FSelectedRows.GetInteger(k) >= RowIndex)
                FSelectedRows.SetInteger(k, FSelectedRows.GetInteger(k) + RCount);
    }
    if (UpdateCellControls && FControlList.Count() > 0) {
        std::vector<std::tuple<int, int, QWidget*>> items;
        for (int k = 0; k < FControlList.Count(); ++k) {
            TControlItem* it = FControlList.GetControl(k);
            items.emplace_back(it->X(), it->Y() >= realIndex && !FUnhiding ? it->Y() + RCount : it->Y(), it->Object());
        }
        FControlList.Clear();
        for (auto& [x, y, w] : items)
            FControlList.AddControl(x, y, w);
        CellControlsUpdate(false);
    }
    if (!FDestroying)
        DoCellsChanged({0, RowIndex, ColCount() - 1, RowIndex + RCount});
}

// The entries of a list of Size entries with one Value put before each entry At names (ascending;
// an entry past the end takes none, as a single insert there does nothing).
template <class T, class Get>
static std::vector<T> WithInserted(int Size, Get get, const std::vector<int>& At, const T& Value)
{
    std::vector<T> out;
    out.reserve(size_t(Size) + At.size());
    size_t k = 0;
    for (int i = 0; i <= Size; ++i) {
        for (; k < At.size() && At[k] == i; ++k)
            out.push_back(Value);
        if (i < Size)
            out.push_back(get(i));
    }
    return out;
}

// How many of the ascending At are at or before Index: the places an entry moves down.
static int InsertedUpTo(const std::vector<int>& At, int Index)
{
    return int(std::upper_bound(At.begin(), At.end(), Index) - At.begin());
}

void TVerIvovavOzed::InsertRowsBefore(const std::vector<int>& Before, bool UpdateCellControls)
{
    const int n = RowCount();
    std::vector<int> at;
    at.reserve(Before.size());
    for (int b : Before)
        if (b >= 0)
            at.push_back(std::min(b, n));
    if (at.empty())
        return;
    std::sort(at.begin(), at.end());
    const int G = int(at.size());
    const bool footer = FFloatingFooter->Visible();
    if (footer && at.back() >= n) {
        // Rows past a floating footer: the footer's own moves decide, one insert at a time.
        for (int k = 0; k < G; ++k)
            InsertRowsCore(at[size_t(k)] + k, 1, UpdateCellControls);
        return;
    }
    if (FSelHidden || Col() >= ColCount() || Row() >= RowCount())
        UnHideSelection();

    // The real index each new row takes, before it moves down for the new rows above it: the real
    // row it goes in front of (rows hidden just before stay before it), or the end.
    std::vector<int> real(static_cast<size_t>(G));
    {
        std::vector<int> hidden;
        hidden.reserve(FGridItems.size());
        for (const auto& it : FGridItems)
            hidden.push_back(it->Idx);
        std::sort(hidden.begin(), hidden.end());
        const int total = TotalRowCount();
        size_t j = 0;
        for (int k = 0; k < G; ++k) {
            const int d = at[size_t(k)];
            if (d >= n) {
                real[size_t(k)] = total;
                continue;
            }
            while (j < hidden.size() && hidden[j] <= d + int(j))
                ++j;
            real[size_t(k)] = d + int(j);
        }
    }

    const int first = at.front();
    std::vector<int> oldHeights(static_cast<size_t>(n - first));
    for (int i = first; i < n; ++i)
        oldHeights[size_t(i - first)] = RowHeights(i);
    SetRowCount(n + G);

    // Rows first .. last take their new places in one move; the new rows come from the empty
    // rows the count added (with a floating footer, the footer's old row is one of them).
    const int last = footer ? RowCount() - 2 : RowCount() - 1;
    const int lastSource = footer ? n - 2 : n - 1;
    std::vector<int> order; // row first + i takes row first + order[i]
    std::vector<bool> made; // row first + i is new
    order.reserve(size_t(last - first + 1));
    made.reserve(size_t(last - first + 1));
    int spare = lastSource + 1;
    size_t k = 0;
    for (int s = first; s <= lastSource + 1; ++s) {
        for (; k < at.size() && at[k] <= s; ++k) {
            order.push_back(spare++ - first);
            made.push_back(true);
        }
        if (s <= lastSource) {
            order.push_back(s - first);
            made.push_back(false);
        }
    }
    const int cols = TotalColCount();
    if (PermuteStoredRows(first, order, cols)) {
        TGridStrings gone;
        for (size_t i = 0; i < order.size(); ++i)
            if (made[i] && first + int(i) < StoredRowCount())
                TakeStoredRow(first + int(i), cols, gone);
    } else {
        // A row stores cells right of the last column: those stay, the rest is copied, from
        // the bottom up as every row moves down.
        for (int i = last; i >= first; --i) {
            const size_t x = size_t(i - first);
            SetWholeRow(i, made[x] ? TGridStrings() : WholeRow(first + order[x]));
        }
    }
    for (int i = first; i <= last; ++i) {
        const size_t x = size_t(i - first);
        const int h = made[x] ? DefaultRowHeight() : oldHeights[size_t(order[x])];
        if (RowHeights(i) != h)
            SetRowHeights(i, h);
    }

    // Per-row state stays with its rows.
    auto insertInts = [&](TIntList& l) {
        const std::vector<int> v = WithInserted<int>(l.Count(), [&](int i) { return l.GetInteger(i); }, at, 0);
        if (int(v.size()) == l.Count())
            return;
        l.Clear();
        for (int x : v)
            l.Insert(l.Count(), x);
    };
    insertInts(FModifiedRows);
    if (FUseEnabledRows)
        insertInts(FEnabledRows);
    const bool persistent = FMouseActions->RowSelectPersistent();
    auto insertSelect = [&](const std::vector<int>& At) {
        FRowSelect = WithInserted<bool>(int(FRowSelect.size()), [&](int i) { return bool(FRowSelect[size_t(i)]); },
                                        At, false);
    };
    if (!FUnhiding) {
        for (const auto& it : FGridItems)
            it->Idx += InsertedUpTo(real, it->Idx);
        if (persistent)
            insertSelect(real);
    }
    if (!persistent)
        insertSelect(at);
    for (int x = 0; x < FSelectedRows.Count(); ++x) {
        const int v = FSelectedRows.GetInteger(x);
        if (const int d = InsertedUpTo(at, v))
            FSelectedRows.SetInteger(x, v + d);
    }
    if (UpdateCellControls && FControlList.Count() > 0) {
        std::vector<std::tuple<int, int, QWidget*>> items;
        for (int c = 0; c < FControlList.Count(); ++c) {
            TControlItem* it = FControlList.GetControl(c);
            items.emplace_back(it->X(), FUnhiding ? it->Y() : it->Y() + InsertedUpTo(real, it->Y()), it->Object());
        }
        FControlList.Clear();
        for (auto& [x, y, w] : items)
            FControlList.AddControl(x, y, w);
        CellControlsUpdate(false);
    }
    if (!FDestroying)
        DoCellsChanged({0, first, ColCount() - 1, at.back() + G});
}

void TVerIvovavOzed::InsertNormalRow(int ARow) { InsertRows(DisplRowIndex(ARow), 1, true); }

void TVerIvovavOzed::AddRow()
{
    if (FFloatingFooter->Visible()) {
        InsertRows(RowCount() - 1, 1, true);
        if (FFloatingFooter->FooterStyle() == fsFixedLastRow)
            ClearRows(RowCount() - 2, 1);
    } else {
        InsertRows(RowCount(), 1, true);
        ClearRows(RowCount() - 1, 1);
    }
}

// ---- columns ---------------------------------------------------------------------------------

void TVerIvovavOzed::InsertCols(int ColIndex, int CCount)
{
    if (CCount <= 0 || ColIndex < 0)
        return;
    ColIndex = std::min(ColIndex, TotalColCount());
    const int oldTotal = TotalColCount();
    const int oldShown = ColCount();
    // Displayed position of the insert (the new columns are shown).
    const int d = RealToDisplCol(ColIndex);
    SetColCount(ColCount() + CCount);
    // Flags and saved widths move right with their columns.
    if (!FVisibleCol.empty() && ColIndex < int(FVisibleCol.size()))
        FVisibleCol.insert(FVisibleCol.begin() + ColIndex, size_t(CCount), true);
    if (!FAllColWidths.empty() && ColIndex < int(FAllColWidths.size()))
        FAllColWidths.insert(FAllColWidths.begin() + ColIndex, size_t(CCount), 0);
    for (int k = oldShown - 1; k >= d; --k)
        SetColWidths(k + CCount, ColWidths(k));
    for (int k = d; k < d + CCount; ++k)
        SetColWidths(k, DefaultColWidth());
    // Cells of every row, hidden rows included, move right.
    for (int r = 0; r < std::max(RowCount(), StoredRowCount()); ++r) {
        bool any = false;
        for (int c = ColIndex; c < oldTotal && !any; ++c)
            any = !GetGridCell(c, r).isEmpty() || GetGridObject(c, r);
        if (!any)
            continue;
        for (int c = oldTotal - 1; c >= ColIndex; --c) {
            SetGridCell(c + CCount, r, GetGridCell(c, r));
            SetGridObject(c + CCount, r, GetGridObject(c, r));
        }
        for (int c = ColIndex; c < ColIndex + CCount; ++c) {
            SetGridCell(c, r, QString());
            SetGridObject(c, r, nullptr);
        }
    }
    for (const auto& it : FGridItems) {
        TGridStrings& s = it->Items;
        if (ColIndex > s.Count())
            continue;
        for (int k = 0; k < CCount; ++k) {
            s.Strings.insert(ColIndex, QString());
            s.Objects.insert(s.Objects.begin() + std::min<int>(ColIndex, int(s.Objects.size())), TGridObject());
        }
    }
    InvalidateGrid();
}

void TVerIvovavOzed::RemoveCols(int ColIndex, int CCount)
{
    if (ColIndex < 0 || ColIndex >= TotalColCount() || CCount <= 0)
        return;
    CCount = std::min(CCount, TotalColCount() - ColIndex);
    const int total = TotalColCount();
    const int last = ColIndex + CCount - 1;
    int shownRemoved = 0;
    std::vector<int> widths;
    for (int c = 0; c < total; ++c)
        if (!IsHiddenColumn(c)) {
            if (c >= ColIndex && c <= last)
                ++shownRemoved;
            else
                widths.push_back(AllColWidths(c));
        }

    // An open editor over a cell whose text changes is reloaded, as a write of that cell does.
    const bool editorShown = InplaceEditor() && InplaceEditor()->isVisible() && Col() >= ColIndex && Col() < total;
    const bool editorHadText = editorShown && !GetGridCell(Col(), Row()).isEmpty();

    // One pass over the stored rows: the removed cells of a row are cleared as a clear of the
    // rectangle clears them (properties, graphics and texts, with their notifications), whatever
    // they still hold is let go while the row is at hand, and the rows' cells then move left in
    // the store in one step per column, without reading a text.
    const int rows = RowCount();
    const bool clear = rows > 0 && ColCount() > 0;
    const bool notify = clear && !FDestroying && !FBlockCellChange;
    const TRect cleared{DisplToRealCol(ColIndex), 0, DisplToRealCol(last), rows - 1};
    {
        // The columns are real ones here, also when hidden cells are saved.
        const bool saveHidden = std::exchange(FSaveHiddenCells, false);
        const bool block = std::exchange(FBlockCellChange, true);
        struct Restore {
            bool &SaveHidden, &Block;
            bool SavedHidden, Blocked;
            ~Restore()
            {
                SaveHidden = SavedHidden;
                Block = Blocked;
            }
        } restore{FSaveHiddenCells, FBlockCellChange, saveHidden, block};
        const int stored = std::max(rows, StoredRowCount());
        for (int r = 0; r < stored; ++r) {
            if (clear && r < rows)
                ClearRect(ColIndex, r, last, r);
            for (int c = ColIndex; c <= last; ++c) {
                SetGridCell(c, r, QString());
                SetGridObject(c, r, nullptr);
            }
        }
    }
    if (clear && ColIndex == 0 && last >= ColCount() - 1)
        SetHasCellProps(false);
    if (notify)
        DoCellsChanged(cleared);
    if (last < total - 1) {
        // The store's own column move, which the application does not hear of: no column moved.
        auto moved = std::exchange(OnColumnMoved, nullptr);
        struct Restore {
            decltype(moved)& Handler;
            decltype(moved)& Saved;
            ~Restore() { Handler = std::move(Saved); }
        } restore{OnColumnMoved, moved};
        for (int k = 0; k < CCount; ++k)
            TStringGrid::ColumnMoved(ColIndex, total - 1);
    }

    for (const auto& it : FGridItems) {
        TGridStrings& s = it->Items;
        for (int k = 0; k < CCount && ColIndex < s.Count(); ++k) {
            s.Strings.removeAt(ColIndex);
            if (ColIndex < int(s.Objects.size()))
                s.Objects.erase(s.Objects.begin() + ColIndex);
        }
    }
    // Hidden columns of the range are gone with it.
    for (int c = ColIndex; c <= last; ++c)
        if (IsHiddenColumn(c))
            --FNumHidden;
    EraseAt(FAllColWidths, ColIndex, CCount);
    std::vector<bool> vis(FVisibleCol.begin(), FVisibleCol.end());
    if (ColIndex < int(vis.size()))
        vis.erase(vis.begin() + ColIndex, vis.begin() + std::min<int>(int(vis.size()), ColIndex + CCount));
    FVisibleCol = vis;
    SetColCount(ColCount() - shownRemoved);
    for (int c = 0; c < ColCount() && c < int(widths.size()); ++c)
        SetColWidths(c, widths[size_t(c)]);
    // Reloaded once the columns are counted anew, so that it reads the cell now under it.
    if (editorShown && InplaceEditor()->isVisible() && (editorHadText || !GetGridCell(Col(), Row()).isEmpty()))
        InvalidateEditor();
    DoCellsChanged({ColIndex, 0, ColIndex + CCount, RowCount() - 1});
}

// ---- clearing --------------------------------------------------------------------------------

void TVerIvovavOzed::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    for (int r = ARow1; r <= ARow2; ++r)
        for (int i = ACol1; i <= ACol2; ++i) {
            const int a = FSaveHiddenCells ? DisplToRealCol(i) : i;
            if (!FClearTextOnly && HasCellProperties(a, r)) {
                if (FNilObjects) {
                    SetGridCell(a, r, QString());
                    SetGridObject(a, r, nullptr);
                } else {
                    RemoveCellGraphic(a, r);
                    SetCellProperties(a, r, nullptr);
                }
            }
            if (!FDestroying && !Cells(a, r).isEmpty()) {
                SetCells(a, r, QString());
                if (a != i)
                    RepaintCell(i, r);
            }
        }
    if (ACol1 == 0 && ARow1 == 0 && ACol2 >= ColCount() - 1 && ARow2 >= RowCount() - 1)
        SetHasCellProps(false);
    if (!FDestroying && !FBlockCellChange)
        DoCellsChanged({DisplToRealCol(ACol1), ARow1, DisplToRealCol(ACol2), ARow2});
}

void TVerIvovavOzed::ClearRows(int RowIndex, int RCount)
{
    if (RowCount() > 0 && ColCount() > 0 && RCount > 0)
        ClearRect(0, RowIndex, ColCount() + FNumHidden - 1, RowIndex + RCount - 1);
}

void TVerIvovavOzed::ClearNormalRows(int RowIndex, int RCount)
{
    if (RowCount() > 0 && ColCount() > 0 && RCount > 0)
        ClearRect(FixedCols(), RowIndex, ColCount() + FNumHidden - FFixedRightCols - 1, RowIndex + RCount - 1);
}

void TVerIvovavOzed::ClearCols(int ColIndex, int CCount)
{
    if (RowCount() > 0 && ColCount() > 0 && CCount > 0)
        ClearRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
}

void TVerIvovavOzed::ClearNormalCols(int ColIndex, int CCount)
{
    if (RowCount() > 0 && ColCount() > 0 && CCount > 0)
        ClearRect(ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - FFixedFooters - 1);
}

void TVerIvovavOzed::ClearNormalCells()
{
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(FixedCols(), FixedRows(), ColCount() + FNumHidden - FFixedRightCols - 1,
                  RowCount() - FFixedFooters - 1);
}

void TVerIvovavOzed::Clear()
{
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(0, 0, ColCount() + FNumHidden - 1, RowCount() - 1);
    SearchInc.clear();
    if (FNumHidden > 0)
        InvalidateGrid();
}

void TVerIvovavOzed::ClearAll()
{
    Clear();
    for (const auto& it : FGridItems)
        it->Items = TGridStrings();
}
