// TVerIvovavOzed: hidden columns and rows, index mapping, the current and top row, moving columns
// and rows, the column order, scrolling a cell into view, the used cells and the save range.
//
// A hidden column keeps its cells at its real index in the store; only the display forgets it.
// A hidden row is taken out of the store into a TGridItem and inserted again when shown.
#include "grid/AdvGrid.h"

#include <algorithm>

namespace {

// Columns at or beyond this index are never hidden (they always count as shown).
constexpr int kMaxHideableCol = 512;

int AdjustIndex(int i, int from, int to)
{
    if (i == from)
        return to;
    if (from < to && i > from && i <= to)
        return i - 1;
    if (from > to && i >= to && i < from)
        return i + 1;
    return i;
}

} // namespace

// ---- hidden-row records ----------------------------------------------------------------------

void TGridItemList::Grow(size_t n)
{
    n = std::max<size_t>(n, 64);
    auto block = std::make_unique<TGridItem[]>(n);
    FMade += n;
    FFree.reserve(FMade); // giving records back never allocates
    for (size_t i = n; i-- > 0;)
        FFree.push_back(block.get() + i); // the block's first record is used first
    FBlocks.push_back(std::move(block));
}

void TGridItemList::reserve(size_t n)
{
    FList.reserve(n);
    if (n > FList.size() + FFree.size())
        Grow(n - FList.size() - FFree.size());
}

TGridItem* TGridItemList::Insert(size_t pos)
{
    if (FFree.empty())
        Grow(FMade); // doubling
    TGridItem* item = FFree.back();
    FFree.pop_back();
    FList.insert(FList.begin() + std::ptrdiff_t(std::min(pos, FList.size())), item);
    return item;
}

TGridItem* TGridItemList::Take(size_t i)
{
    TGridItem* item = FList[i];
    FList.erase(FList.begin() + std::ptrdiff_t(i));
    return item;
}

void TGridItemList::TakeLevel(int Level, std::vector<TGridItem*>& Out)
{
    size_t to = 0;
    for (TGridItem* item : FList) {
        if (item->Level == Level)
            Out.push_back(item);
        else
            FList[to++] = item;
    }
    FList.resize(to);
}

void TGridItemList::Release(TGridItem* Item)
{
    Item->Idx = 0;
    Item->Height = 0;
    Item->Level = 0;
    Item->Items = TGridStrings();
    FFree.push_back(Item);
}

void TGridItemList::clear()
{
    FList.clear();
    FFree.clear();
    FBlocks.clear();
    FMade = 0;
}

// ---- index mapping ---------------------------------------------------------------------------

int TVerIvovavOzed::RealToDisplCol(int c) const
{
    if (FNumHidden == 0 || c < 0)
        return c;
    int hidden = 0;
    const int n = std::min(c, int(FVisibleCol.size()));
    for (int j = 0; j < n; ++j)
        if (!FVisibleCol[size_t(j)])
            ++hidden;
    return c - hidden;
}

int TVerIvovavOzed::DisplToRealCol(int d) const
{
    if (FNumHidden == 0 || d < 0)
        return d;
    int shown = 0;
    for (int j = 0;; ++j) {
        if (VisibleCol(j)) {
            if (shown == d)
                return j;
            ++shown;
        }
    }
}

int TVerIvovavOzed::RealToDisplRow(int r) const
{
    if (FGridItems.empty())
        return r;
    int below = 0;
    for (const auto& it : FGridItems)
        if (it->Idx < r)
            ++below;
    return r - below;
}

int TVerIvovavOzed::DisplToRealRow(int d) const
{
    if (FGridItems.empty() || d < 0)
        return d;
    std::vector<int> hidden;
    hidden.reserve(FGridItems.size());
    for (const auto& it : FGridItems)
        hidden.push_back(it->Idx);
    std::sort(hidden.begin(), hidden.end());
    int r = d;
    for (int h : hidden) {
        if (h <= r)
            ++r;
        else
            break;
    }
    return r;
}

// ---- hidden columns --------------------------------------------------------------------------

bool TVerIvovavOzed::IsHiddenColumn(int Colindex) const
{
    if (Colindex < 0 || Colindex >= kMaxHideableCol)
        return false;
    return !VisibleCol(Colindex);
}

int TVerIvovavOzed::TotalColCount() const { return ColCount() + FNumHidden; }

void TVerIvovavOzed::HideColumns(int FromCol, int ToCol)
{
    HideInplaceEdit();
    for (int c = std::max(0, FromCol); c <= ToCol && c < kMaxHideableCol; ++c) {
        if (!VisibleCol(c) || c >= ColCount() + FNumHidden || ColCount() <= 1)
            continue;
        const int d = RealToDisplCol(c);
        if (int(FAllColWidths.size()) <= c)
            FAllColWidths.resize(size_t(c) + 1, 0);
        FAllColWidths[size_t(c)] = ColWidths(d);
        for (int k = d; k <= ColCount() - 2; ++k)
            SetColWidths(k, ColWidths(k + 1));
        ++FNumHidden;
        if (int(FVisibleCol.size()) <= c)
            FVisibleCol.resize(size_t(c) + 1, true);
        FVisibleCol[size_t(c)] = false;
        if (Col() == ColCount() - 1 && Col() > 0)
            SetCol(Col() - 1);
        SetColCount(ColCount() - 1);
    }
    InvalidateGrid();
}

void TVerIvovavOzed::UnHideColumns(int FromCol, int ToCol)
{
    HideInplaceEdit();
    for (int c = std::max(0, FromCol); c <= ToCol && c < kMaxHideableCol; ++c) {
        if (VisibleCol(c))
            continue;
        --FNumHidden;
        FVisibleCol[size_t(c)] = true;
        SetColCount(ColCount() + 1);
        const int d = RealToDisplCol(c);
        for (int k = ColCount() - 1; k > d; --k)
            SetColWidths(k, ColWidths(k - 1));
        SetColWidths(d, c < int(FAllColWidths.size()) && FAllColWidths[size_t(c)] > 0 ? FAllColWidths[size_t(c)]
                                                                                       : DefaultColWidth());
    }
    InvalidateGrid();
}

void TVerIvovavOzed::UnHideColumnsAll() { UnHideColumns(0, ColCount() + FNumHidden); }

int TVerIvovavOzed::AllColWidths(int i) const
{
    if (IsHiddenColumn(i))
        return i < int(FAllColWidths.size()) ? FAllColWidths[size_t(i)] : 0;
    return ColWidths(RealToDisplCol(i));
}

void TVerIvovavOzed::SetAllColWidths(int i, int Value)
{
    if (i < 0)
        return;
    if (int(FAllColWidths.size()) <= i)
        FAllColWidths.resize(size_t(i) + 1, 0);
    FAllColWidths[size_t(i)] = Value;
    if (!IsHiddenColumn(i))
        SetColWidths(RealToDisplCol(i), Value);
}

// ---- hidden rows -----------------------------------------------------------------------------

TGridStrings TVerIvovavOzed::WholeRow(int ARow) const
{
    TGridStrings s;
    const int n = TotalColCount();
    s.Strings.reserve(n);
    for (int c = 0; c < n; ++c) {
        s.Strings.append(GetGridCell(c, ARow));
        // The object list is made only for a row that holds an object.
        if (TGridObject obj = GetGridObject(c, ARow)) {
            s.Objects.resize(size_t(n));
            s.Objects[size_t(c)] = std::move(obj);
        }
    }
    return s;
}

void TVerIvovavOzed::SetWholeRow(int ARow, const TGridStrings& Value)
{
    const int n = std::max(TotalColCount(), Value.Count());
    for (int c = 0; c < n; ++c) {
        if (c < Value.Count()) {
            SetGridCell(c, ARow, Value.Strings[c]);
            SetGridObject(c, ARow, Value.Object(c));
        } else {
            SetGridCell(c, ARow, QString());
            SetGridObject(c, ARow, nullptr);
        }
    }
}

bool TVerIvovavOzed::IsHiddenRow(int Rowindex) const
{
    for (const auto& it : FGridItems)
        if (it->Idx == Rowindex)
            return true;
    return false;
}

TGridStrings* TVerIvovavOzed::GetHiddenRowItems(int Rowindex)
{
    for (const auto& it : FGridItems)
        if (it->Idx == Rowindex)
            return &it->Items;
    return nullptr;
}

const TGridStrings* TVerIvovavOzed::GetHiddenRowItems(int Rowindex) const
{
    for (const auto& it : FGridItems)
        if (it->Idx == Rowindex)
            return &it->Items;
    return nullptr;
}

void TVerIvovavOzed::RemoveHiddenItem(size_t index) { FGridItems.Release(FGridItems.Take(index)); }

void TVerIvovavOzed::ShiftHiddenItems(int fromReal, int delta)
{
    for (const auto& it : FGridItems)
        if (it->Idx > fromReal)
            it->Idx += delta;
}

void TVerIvovavOzed::HideRows(int FromRow, int ToRow)
{
    if (FromRow < 0 || ToRow < FromRow)
        return;
    // Rows of the range that are hidden already stay as they are (their items keep their heights).
    std::vector<int> rows;
    for (int r = FromRow; r <= ToRow; ++r)
        if (!IsHiddenRow(r))
            rows.push_back(r);
    const int d = RealToDisplRow(FromRow);
    // Only rows that exist can be hidden.
    while (!rows.empty() && d + int(rows.size()) - 1 >= RowCount())
        rows.pop_back();
    if (rows.empty())
        return;
    std::vector<TGridItem> made(rows.size());
    for (size_t k = 0; k < rows.size(); ++k) {
        const int shown = d + int(k); // the displayed row that shows rows[k] now
        made[k].Idx = rows[k];
        made[k].Height = RowHeights(shown);
        made[k].Items = WholeRow(shown);
    }
    FGridItems.reserve(FGridItems.size() + made.size());
    for (TGridItem& m : made) {
        // Kept in the order of their real index.
        const auto pos = std::find_if(FGridItems.begin(), FGridItems.end(),
                                      [&](const TGridItem* it) { return it->Idx > m.Idx; });
        TGridItem* item = FGridItems.Insert(size_t(pos - FGridItems.begin()));
        item->Idx = m.Idx;
        item->Height = m.Height;
        item->Items = std::move(m.Items);
    }
    if (QWidget* ctrl = GetCellControls(1, d))
        ctrl->setVisible(false);
    {
        // Hiding changes no real index: neither the hidden-row items nor flags kept by real row
        // move (the removal of rows does move them).
        struct Restore {
            std::vector<int>& Rows;
            ~Restore() { Rows.clear(); }
        } restore{FHidingRows};
        FHidingRows = rows;
        RemoveRowsCore(d, int(rows.size()), true);
    }
    CellControlsUpdate(false);
}

void TVerIvovavOzed::HideRowsEx(int FromRow, int ToRow)
{
    if (FromRow < 0 || ToRow < FromRow || IsHiddenRow(FromRow))
        return;
    const int d = RealToDisplRow(FromRow);
    const int count = std::min(ToRow - FromRow + 1, RowCount() - d);
    if (count <= 0)
        return;
    FGridItems.reserve(FGridItems.size() + size_t(count));
    for (int k = 0; k < count; ++k) {
        TGridItem* item = FGridItems.Add();
        item->Idx = FromRow + k;
        item->Items = WholeRow(d + k);
        item->Height = DefaultRowHeight();
    }
    RemoveRowsEx(d, count);
    CellControlsUpdate(false);
}

void TVerIvovavOzed::HideRowList(const TIntList& RowList)
{
    const int n = RowCount();
    std::vector<int> heights(static_cast<size_t>(std::max(0, n)));
    for (int r = 0; r < n; ++r)
        heights[size_t(r)] = RowHeights(r);
    std::vector<bool> listed(size_t(std::max(0, n)), false);
    std::vector<int> hidden; // in the order of the list
    for (int i = 0; i < RowList.Count(); ++i) {
        const int r = RowList.GetInteger(i);
        if (r < 0 || r >= n || listed[size_t(r)])
            continue;
        listed[size_t(r)] = true;
        hidden.push_back(r);
    }
    // Rows hidden before (by a node, say) keep their real indexes; the new records take theirs.
    const std::vector<int> real = RealRowsOfDisplayed();
    // The shown rows close up and the hidden ones follow them, each row moved whole.
    std::vector<int> order;
    order.reserve(size_t(std::max(0, n)));
    for (int r = 0; r < n; ++r)
        if (!listed[size_t(r)])
            order.push_back(r);
    const int to = int(order.size());
    order.insert(order.end(), hidden.begin(), hidden.end());
    const int cols = TotalColCount();
    const bool whole = PermuteStoredRows(0, order, cols);
    FGridItems.reserve(FGridItems.size() + hidden.size());
    for (size_t k = 0; k < hidden.size(); ++k) {
        const int r = hidden[k];
        TGridItem* item = FGridItems.Add();
        item->Idx = real[size_t(r)];
        if (whole)
            TakeStoredRow(to + int(k), cols, item->Items);
        else
            item->Items = WholeRow(r);
        item->Height = heights[size_t(r)];
        item->Level = FFilterLevel;
    }
    const int count = int(hidden.size());
    ++FFilterLevel;
    for (int k = 0; k < to; ++k) {
        const int r = order[size_t(k)];
        if (k == r)
            continue;
        if (!whole)
            SetWholeRow(k, WholeRow(r));
        if (heights[size_t(k)] != heights[size_t(r)])
            SetRowHeights(k, heights[size_t(r)]);
    }
    for (int r = to; r < n; ++r) {
        if (!whole)
            SetWholeRow(r, TGridStrings());
        if (heights[size_t(r)] != DefaultRowHeight())
            TStringGrid::SetRowHeights(r, DefaultRowHeight());
    }
    SetRowCount(n - count);
    CellControlsUpdate(false);
}

void TVerIvovavOzed::UnHideRow(int Rowindex)
{
    for (size_t i = 0; i < FGridItems.size(); ++i) {
        if (FGridItems[i]->Idx != Rowindex)
            continue;
        const bool marking = FShowModified->FEnabled;
        FShowModified->FEnabled = false;
        const int d = RealToDisplRow(Rowindex);
        TGridItem* item = FGridItems.Take(i);
        FUnhiding = true;
        InsertRowsCore(d, 1, true);
        FUnhiding = false;
        SetWholeRow(d, item->Items);
        SetRowHeights(d, item->Height > 0 ? item->Height : DefaultRowHeight());
        for (int k = 0; k < FControlList.Count(); ++k)
            if (FControlList.GetControl(k)->Y() == Rowindex && FControlList.GetControl(k)->Object())
                FControlList.GetControl(k)->Object()->setVisible(true);
        FGridItems.Release(item);
        FShowModified->FEnabled = marking;
        CellControlsUpdate(false);
        return;
    }
}

void TVerIvovavOzed::UnHideRows(int FromRow, int ToRow)
{
    if (!IsHiddenRow(FromRow))
        return;
    // Each hidden row of the range goes back at its own displayed place, in ascending order, so
    // that rows of the range that were shown keep their order with the ones shown again.
    std::vector<int> rows;
    for (const auto& it : FGridItems)
        if (it->Idx >= FromRow && it->Idx <= ToRow)
            rows.push_back(it->Idx);
    std::sort(rows.begin(), rows.end());
    for (int r : rows)
        UnHideRow(r);
}

void TVerIvovavOzed::UnHideRowsAll()
{
    while (!FGridItems.empty()) {
        const size_t before = FGridItems.size();
        std::vector<int> idx;
        for (const auto& it : FGridItems)
            idx.push_back(it->Idx);
        std::sort(idx.begin(), idx.end());
        size_t i = 0;
        while (i < idx.size()) {
            size_t j = i;
            while (j + 1 < idx.size() && idx[j + 1] == idx[j] + 1)
                ++j;
            UnHideRows(idx[i], idx[j]);
            i = j + 1;
        }
        if (FGridItems.size() == before)
            break; // a pass that frees nothing would repeat for ever
    }
}

void TVerIvovavOzed::UnHideRowList()
{
    const int level = FFilterLevel - 1;
    if (Row() >= RowCount())
        TStringGrid::FocusCell(FixedCols(), FixedRows(), true);
    // Only the records of this level come back: rows a contracted node hid stay hidden.
    const std::vector<int> real = RealRowsOfDisplayed();
    std::vector<TGridItem*> items;
    FGridItems.TakeLevel(level, items);
    ShowHiddenItems(items, real);
}

// ---- rows hidden by nodes, in one pass -------------------------------------------------------

void TVerIvovavOzed::UnHideAllNodeRows()
{
    const std::vector<int> real = RealRowsOfDisplayed();
    std::vector<TGridItem*> items;
    FGridItems.TakeLevel(NodeHiddenLevel, items);
    ShowHiddenItems(items, real);
}

void TVerIvovavOzed::ShowHiddenItems(std::vector<TGridItem*>& items, const std::vector<int>& real)
{
    if (items.empty())
        return;
    std::sort(items.begin(), items.end(), [](const TGridItem* a, const TGridItem* b) { return a->Idx < b->Idx; });
    const int n = RowCount();
    const int total = n + int(items.size());
    // The first displayed row that changes; rows above it stay where they are.
    int first = 0;
    while (first < n && real[size_t(first)] < items.front()->Idx)
        ++first;
    std::vector<int> heights(size_t(n - first));
    for (int r = first; r < n; ++r)
        heights[size_t(r - first)] = RowHeights(r);
    const bool marking = FShowModified->FEnabled;
    FShowModified->FEnabled = false;
    TStringGrid::SetRowCount(total);
    // Where each row from first on comes from: a shown row (its offset from first), or a record,
    // which takes one of the empty rows opened at the end. The shown rows move as whole row
    // stores; only the records' cells are written.
    const int opened = n - first;
    std::vector<int> order(size_t(total - first));
    for (size_t i = 0, next = 0, from = 0; i < order.size(); ++i) {
        const bool takeItem =
            next < items.size() && (from >= size_t(opened) || items[next]->Idx < real[size_t(first) + from]);
        order[i] = takeItem ? opened + int(next++) : int(from++);
    }
    std::vector<TGridStrings> shown;
    const bool whole = PermuteStoredRows(first, order, TotalColCount());
    if (!whole) {
        // Some row holds cells right of the last column: copied cell by cell.
        shown.reserve(size_t(opened));
        for (int r = first; r < n; ++r)
            shown.push_back(WholeRow(r));
    }
    for (int r = first; r < total; ++r) {
        const int o = order[size_t(r - first)];
        if (o >= opened) {
            TGridItem* item = items[size_t(o - opened)];
            SetWholeRow(r, item->Items);
            TStringGrid::SetRowHeights(r, item->Height > 0 ? item->Height : DefaultRowHeight());
            // Given back at once: the record's lists are let go before the next row's are made,
            // so that the rows shown again take the blocks their lists had, in their order.
            FGridItems.Release(item);
        } else {
            if (!whole)
                SetWholeRow(r, shown[size_t(o)]);
            TStringGrid::SetRowHeights(r, heights[size_t(o)]);
        }
    }
    SetRowCount(total);
    items.clear();
    FShowModified->FEnabled = marking;
    CellControlsUpdate(false);
}

void TVerIvovavOzed::HideDisplayedRowsAsNode(const std::vector<int>& Rows)
{
    const int n = RowCount();
    if (Rows.empty() || n == 0)
        return;
    const std::vector<int> real = RealRowsOfDisplayed();
    std::vector<bool> listed(size_t(n), false);
    std::vector<TGridItem> made;
    made.reserve(Rows.size());
    for (int r : Rows) {
        if (r < 0 || r >= n || listed[size_t(r)])
            continue;
        listed[size_t(r)] = true;
        TGridItem& item = made.emplace_back();
        item.Idx = real[size_t(r)];
        item.Items = WholeRow(r);
        item.Height = RowHeights(r);
        item.Level = NodeHiddenLevel;
    }
    const int count = int(made.size());
    int first = 0;
    while (first < n && !listed[size_t(first)])
        ++first;
    int to = first;
    for (int r = first; r < n; ++r) {
        if (listed[size_t(r)])
            continue;
        if (to != r) {
            SetWholeRow(to, WholeRow(r));
            TStringGrid::SetRowHeights(to, RowHeights(r));
        }
        ++to;
    }
    for (int r = to; r < n; ++r)
        SetWholeRow(r, TGridStrings());
    FGridItems.reserve(FGridItems.size() + made.size());
    for (TGridItem& m : made) {
        TGridItem* item = FGridItems.Add();
        item->Idx = m.Idx;
        item->Height = m.Height;
        item->Level = m.Level;
        item->Items = std::move(m.Items);
    }
    if (Row() >= n - count)
        TStringGrid::FocusCell(std::min(Col(), ColCount() - 1), std::max(FixedRows(), n - count - 1), true);
    SetRowCount(n - count);
    CellControlsUpdate(false);
}

// ---- current row and top row -----------------------------------------------------------------

void TVerIvovavOzed::SetRow(int Value)
{
    if (Col() < 0 || Col() > ColCount() - 1)
        MoveToCell(FixedCols(), Value);
    TStringGrid::SetRow(Value);
    if (Row() != FOldRowSel && OnRowUpdate) {
        OnRowUpdate(this, FOldRowSel, Row());
        FOldRowSel = Row();
    }
    if (FMouseActions->DisjunctRowSelect())
        SelectionToRowSelect(false);
    if (FSyncGrid->SelectionRow() && FSyncGrid->CanSync()) {
        TSyncGrid::TGuard guard(*FSyncGrid);
        if (auto* other = dynamic_cast<TVerIvovavOzed*>(FSyncGrid->Grid()))
            other->SetRow(Row());
        else if (FSyncGrid->Grid())
            FSyncGrid->Grid()->SetRow(Row());
    }
    if (Value == RowCount() - 1 && FSearchFooter->Visible())
        KeepLastRowAboveFooter();
}

void TVerIvovavOzed::SetTopRow(int Value)
{
    if (Value >= FixedRows() && Value <= RowCount() - 1)
        TStringGrid::SetTopRow(Value);
}

// ---- moving ----------------------------------------------------------------------------------

void TVerIvovavOzed::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount() || FromIndex == ToIndex)
        return;
    if (FColumnOrder.Count() == 0)
        SetColumnOrder();
    HideEditor();
    ColumnMoved(FromIndex, ToIndex);
    for (int k = 0; k < FControlList.Count(); ++k) {
        TControlItem* it = FControlList.GetControl(k);
        const int x = AdjustIndex(it->X(), FromIndex, ToIndex);
        if (x != it->X()) {
            QWidget* w = it->Object();
            const int y = it->Y();
            FControlList.RemoveControl(k);
            FControlList.AddControl(x, y, w);
            --k;
        }
    }
    CellControlsUpdate(false);
    InvalidateGrid();
}

void TVerIvovavOzed::MoveRow(int FromIndex, int ToIndex)
{
    TStringGrid::MoveRow(FromIndex, ToIndex);
    CellControlsUpdate(false);
}

void TVerIvovavOzed::MoveRows(int FromIndex, int ToIndex, int Count)
{
    if (FromIndex == ToIndex || Count <= 0 || FromIndex < 0 || FromIndex >= RowCount())
        return;
    Count = std::min(Count, RowCount() - FromIndex);
    std::vector<TGridStrings> saved;
    for (int r = FromIndex; r < FromIndex + Count; ++r)
        saved.push_back(WholeRow(r));
    if (FromIndex + Count < ToIndex)
        ToIndex -= Count;
    RemoveRowsEx(FromIndex, Count);
    ToIndex = std::clamp(ToIndex, 0, RowCount());
    InsertRows(ToIndex, Count, true);
    for (int k = 0; k < Count; ++k)
        SetWholeRow(ToIndex + k, saved[size_t(k)]);
}

// ---- column order ----------------------------------------------------------------------------

void TVerIvovavOzed::SetColumnOrder()
{
    FColumnOrder.Clear();
    for (int c = 0; c < ColCount(); ++c)
        FColumnOrder.Insert(FColumnOrder.Count(), c);
}

int TVerIvovavOzed::ColumnPosition(int ACol)
{
    if (FColumnOrder.Count() == 0)
        return ACol;
    int p = FColumnOrder.IndexOf(ACol);
    if (p < 0)
        p = ACol;
    if (FGroupColumn != -1 && ACol >= FGroupColumn)
        --p;
    return p;
}

int TVerIvovavOzed::ColumnAtPosition(int ACol)
{
    if (FColumnOrder.Count() == 0)
        SetColumnOrder();
    if (FColumnOrder.Count() == 0 || ACol < 0 || ACol >= FColumnOrder.Count())
        return ACol;
    int v = FColumnOrder.GetInteger(ACol);
    if (FGroupColumn != -1 && v >= FGroupColumn)
        ++v;
    return v;
}

void TVerIvovavOzed::ResetColumnOrder()
{
    UnHideColumnsAll();
    if (FColumnOrder.Count() == 0) {
        SetColumnOrder();
        return;
    }
    // Every pass puts at least one column nearer its place; the cap only guards a broken list.
    const int maxPasses = ColCount() * ColCount() + 1;
    for (int pass = 0; pass < maxPasses; ++pass) {
        bool moved = false;
        for (int p = 0; p < ColCount() && p < FColumnOrder.Count(); ++p) {
            const int initial = FColumnOrder.GetInteger(p);
            if (initial < p && initial >= 0) {
                MoveColumn(p, initial);
                moved = true;
            }
        }
        if (!moved)
            break;
    }
}

int TVerIvovavOzed::ColumnByHeader(const QString& AValue)
{
    for (int c = 0; c < TotalColCount(); ++c)
        if (GetCellsEx(c, 0) == AValue)
            return c;
    return -1;
}

// ---- scrolling -------------------------------------------------------------------------------

void TVerIvovavOzed::ScrollInView(int ColIndex, int RowIndex)
{
    if (ColIndex >= ColCount() || RowIndex >= RowCount())
        return;
    int L = LeftCol();
    int T = TopRow();
    if (ColIndex < LeftCol() || ColIndex >= LeftCol() + VisibleColCount()) {
        SetCol(ColIndex);
        L = std::max(FixedCols(), ColIndex - VisibleColCount() / 2);
    }
    if (RowIndex < TopRow() || RowIndex >= TopRow() + VisibleRowCount()) {
        SetRow(RowIndex);
        T = std::max(FixedRows(), RowIndex - VisibleRowCount() / 2);
    }
    L = std::min(L, ColCount() - VisibleColCount() + 1);
    if (FixedCols() + VisibleColCount() < ColCount())
        SetLeftCol(L);
    T = std::min(T, RowCount() - VisibleRowCount() + 1);
    if (FixedRows() + VisibleRowCount() >= RowCount())
        return;
    SetTopRow(T);
}

// ---- used cells and the save range -----------------------------------------------------------

TGridRect TVerIvovavOzed::GetUsedCells()
{
    TGridRect r{-1, -1, -1, -1};
    for (int y = 0; y < RowCount(); ++y)
        for (int x = 0; x < ColCount(); ++x) {
            if (Cells(x, y).isEmpty())
                continue;
            if (r.Left < 0) {
                r = {x, y, x, y};
                continue;
            }
            r.Left = std::min(r.Left, x);
            r.Top = std::min(r.Top, y);
            r.Right = std::max(r.Right, x);
            r.Bottom = std::max(r.Bottom, y);
        }
    if (r.Left < 0)
        return TGridRect{0, 0, 0, 0};
    return r;
}

int TVerIvovavOzed::SaveStartCol() const { return FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols(); }
int TVerIvovavOzed::SaveStartRow() const { return FSaveFixedCells || FSaveFixedRows ? 0 : FixedRows(); }

int TVerIvovavOzed::SaveEndCol() const
{
    return FSaveFixedCells || FSaveFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}

int TVerIvovavOzed::SaveEndRow() const
{
    return FSaveFixedCells || FSaveFixedRows ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}

int TVerIvovavOzed::SaveColCount() const
{
    return FSaveFixedCells || FSaveFixedCols ? ColCount() : ColCount() - FixedCols() - FFixedRightCols;
}

int TVerIvovavOzed::SaveRowCount() const
{
    return FSaveFixedCells || FSaveFixedRows ? RowCount() : RowCount() - FixedRows() - FFixedFooters;
}

// ---- selection hiding ------------------------------------------------------------------------

void TVerIvovavOzed::HideSelection()
{
    FOldSelection = Selection();
    TStringGrid::SetSelection({ColCount(), RowCount(), ColCount(), RowCount()});
    FSelHidden = true;
}

void TVerIvovavOzed::UnHideSelection()
{
    FSelHidden = false;
    if (FOldSelection.Top < RowCount() && FOldSelection.Left < ColCount()) {
        TStringGrid::SetSelection(FOldSelection);
        return;
    }
    const int left = FFixedColAlways && FixedCols() == ColCount() ? 0 : FixedCols();
    const int top = FFixedRowAlways && FixedRows() == RowCount() ? 0 : FixedRows();
    TStringGrid::SetSelection({left, top, left, top});
}

void TVerIvovavOzed::UpdateEditMode() { Select(); }

// ---- cell controls ---------------------------------------------------------------------------

void TVerIvovavOzed::CellControlsUpdate(bool rebuildlist)
{
    if (rebuildlist) {
        FControlList.Clear();
        FNumCellControls = 0;
        for (int r = 0; r < RowCount(); ++r)
            for (int c = 0; c < TotalColCount(); ++c)
                if (TCellProperties* p = CellPropertiesOf(c, r); p && p->Control()) {
                    FControlList.AddControl(c, RealRowIndex(r), p->Control());
                    ++FNumCellControls;
                }
    }
    for (int k = 0; k < FControlList.Count(); ++k) {
        TControlItem* it = FControlList.GetControl(k);
        QWidget* w = it->Object();
        if (!w)
            continue;
        if (IsHiddenColumn(it->X()) || IsHiddenRow(it->Y())) {
            w->setVisible(false);
            continue;
        }
        const TRect r = TStringGrid::CellRect(DisplColIndex(it->X()), DisplRowIndex(it->Y()));
        if (r.Right <= r.Left || r.Bottom <= r.Top) {
            w->setVisible(false);
            continue;
        }
        w->setGeometry(ToQRect({r.Left - 1, r.Top - 1, r.Right, r.Bottom}));
        w->setVisible(true);
    }
    // The in-cell scroll bar of a ctScrollbar cell follows its cell as well.
    FitCellScrollBar();
}
