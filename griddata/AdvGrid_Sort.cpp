// TVerIvovavOzed: the sort engine and its entry points: whole-grid sorts by one column or by the
// sort index list, group sorts, the partial sorts, and the frame that keeps the grid's settings.
//
// While rows are sorted the grid carries three scratch rows after its rows (the middle one holds
// the pivot row, so that exchanges cannot move it) and its column count takes in the hidden
// columns, so that hidden cells travel with their rows.
#include "griddata/AdvGrid_SortKeys.h"

#include <numeric>

#include <utility>
#include <vector>

namespace {

// Ranges still to partition, taken in the order a recursive partition would take them (left part
// first), without the call depth a long run of bad pivots would need.
class TRangeStack {
public:
    void Push(int Left, int Right) { FItems.emplace_back(Left, Right); }
    bool Pop(int& Left, int& Right)
    {
        if (FItems.empty())
            return false;
        Left = FItems.back().first;
        Right = FItems.back().second;
        FItems.pop_back();
        return true;
    }

private:
    std::vector<std::pair<int, int>> FItems;
};

} // namespace

// ---- entry points ----------------------------------------------------------------------------

void TVerIvovavOzed::Sort(int Column, TSortDirection Direction)
{
    FSortSettings->SetColumn(Column);
    FSortSettings->SetDirection(Direction);
    QSort();
}

void TVerIvovavOzed::SortByColumn(int Col)
{
    if (RowCount() <= 1)
        return;
    FSortSettings->SetColumn(Col);
    QSort();
}

void TVerIvovavOzed::InitSortXRef()
{
    FSortRowXRef.Clear();
    for (int i = 0; i < RowCount(); ++i)
        FSortRowXRef.Add(i);
}

void TVerIvovavOzed::QSort() { SortFrame(false); }

void TVerIvovavOzed::QSortIndexed() { SortFrame(true); }

void TVerIvovavOzed::QSortGroup() { SortGroups(false); }

void TVerIvovavOzed::QSortGroupIndexed() { SortGroups(true); }

// ---- scratch rows ----------------------------------------------------------------------------

bool TVerIvovavOzed::SortReadsDisplayed() const { return bool(OnGetDisplText); }

void TVerIvovavOzed::CopyPivotRow(int Pivot, int P)
{
    const int n = ColCount();
    if (SortReadsDisplayed()) {
        const bool displayed = FSortSettings->SortOnVirtualCells();
        for (int c = 0; c < n; ++c) {
            SetGridCell(c, P, displayed ? Cells(c, Pivot) : GetGridCell(c, Pivot));
            SetGridObject(c, P, GetGridObject(c, Pivot));
        }
        return;
    }
    for (int c = 0; c < n; ++c) {
        SetGridCell(c, P, GetGridCell(c, Pivot));
        SetGridObject(c, P, GetGridObject(c, Pivot));
    }
}

void TVerIvovavOzed::ClearScratchRows(int From, int Count)
{
    // Only references go: the objects belong to the rows they were copied from.
    const bool blocked = FBlockCellChange;
    FBlockCellChange = true;
    // Hidden columns too, whether the count is widened over them now or not.
    const int n = ColCount() + NumHiddenColumns();
    for (int r = From; r < From + Count; ++r)
        for (int c = 0; c < n; ++c) {
            SetGridCell(c, r, QString());
            SetGridObject(c, r, nullptr);
        }
    FBlockCellChange = blocked;
}

// The row count grows by the scratch rows and shrinks again without a shown floating footer, which
// would otherwise follow the last row into the scratch area.
void TVerIvovavOzed::GrowForSort(int OldRC)
{
    const bool footer = FFloatingFooter->Visible();
    FFloatingFooter->SetVisible(false);
    SetRowCount(OldRC + 3);
    FFloatingFooter->SetVisible(footer);
    // The scratch rows hold copies that already passed the display hooks.
    SetNormalRowCount(OldRC);
    ClearScratchRows(OldRC, 3);
}

void TVerIvovavOzed::ShrinkAfterSort(int OldRC)
{
    ClearScratchRows(OldRC, 3);
    const bool footer = FFloatingFooter->Visible();
    FFloatingFooter->SetVisible(false);
    SetRowCount(OldRC);
    FFloatingFooter->SetVisible(footer);
}

// ---- partitions ------------------------------------------------------------------------------

// One partition for both sorts: Cmp(a, b) == After means row a belongs after row b. The pivot
// waits in the middle scratch row, so exchanges cannot move it.
template <class Compare>
void TVerIvovavOzed::PartitionRows(int Left, int Right, Compare&& Cmp, int After, bool KeepEqualPairs)
{
    TRangeStack todo;
    todo.Push(Left, Right);
    int L = 0, R = 0;
    while (todo.Pop(L, R)) {
        const int P = RowCount() - 2;
        CopyPivotRow((L + R) / 2, P);
        int i = L, j = R;
        do {
            while (Cmp(P, i) == After && i < R)
                ++i;
            while (Cmp(j, P) == After && j > L)
                --j;
            if (i <= j) {
                if (i != j && !(KeepEqualPairs && Cmp(i, j) == 0))
                    SortSwapRows(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        // The left part is taken first, so it goes on the stack last.
        if (i < R)
            todo.Push(i, R);
        if (L < j)
            todo.Push(L, j);
    }
}

// The same partition on an order of keys: the pivot is a key, so exchanges cannot move it, and an
// exchange swaps two entries of the order. An entry may carry what its compare reads, so that the
// partition's scans read the order one entry after the other.
template <class Entry, class Compare>
void TVerIvovavOzed::PartitionOrder(std::vector<Entry>& Order, int Left, int Right, Compare&& Cmp, int After,
                                    bool KeepEqualPairs)
{
    const int base = Left;
    auto at = [&](int row) -> Entry& { return Order[size_t(row - base)]; };
    TRangeStack todo;
    todo.Push(Left, Right);
    int L = 0, R = 0;
    while (todo.Pop(L, R)) {
        const Entry pivot = at((L + R) / 2);
        int i = L, j = R;
        do {
            while (Cmp(pivot, at(i)) == After && i < R)
                ++i;
            while (Cmp(at(j), pivot) == After && j > L)
                --j;
            if (i <= j) {
                if (i != j && !(KeepEqualPairs && Cmp(at(i), at(j)) == 0)) {
                    ++Swaps;
                    if (i < FSortRowXRef.Count() && j < FSortRowXRef.Count())
                        FSortRowXRef.Exchange(i, j);
                    std::swap(at(i), at(j));
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (i < R)
            todo.Push(i, R);
        if (L < j)
            todo.Push(L, j);
    }
}

bool TVerIvovavOzed::SortsByOrder() const { return !FSortSettings->SingleColumn(); }

void TVerIvovavOzed::ApplySortOrder(int Left, const std::vector<int>& Order)
{
    const int n = int(Order.size());
    std::vector<int> from(static_cast<size_t>(n)); // the row each row of the range takes
    bool moved = false;
    for (int k = 0; k < n; ++k) {
        from[size_t(k)] = Left + Order[size_t(k)];
        moved = moved || Order[size_t(k)] != k;
    }
    if (!moved)
        return;
    const int cols = ColCount();
    if (!PermuteStoredRows(Left, Order, cols)) {
        // A row stores cells past the columns that travel: those cells stay, the rest move.
        std::vector<QString> texts(static_cast<size_t>(n));
        std::vector<TGridObject> objects(static_cast<size_t>(n));
        for (int c = 0; c < cols; ++c) {
            for (int k = 0; k < n; ++k) {
                texts[size_t(k)] = GetGridCell(c, from[size_t(k)]);
                objects[size_t(k)] = GetGridObject(c, from[size_t(k)]);
            }
            for (int k = 0; k < n; ++k) {
                SetGridCell(c, Left + k, texts[size_t(k)]);
                SetGridObject(c, Left + k, std::move(objects[size_t(k)]));
            }
        }
    }
    // Row heights, selections and modified marks go with their rows.
    auto carry = [&](auto get, auto set) {
        using V = decltype(get(0));
        std::vector<V> values(static_cast<size_t>(n));
        bool differ = false;
        for (int k = 0; k < n; ++k) {
            values[size_t(k)] = get(Left + k);
            differ = differ || values[size_t(k)] != values[0];
        }
        if (!differ)
            return;
        for (int k = 0; k < n; ++k) {
            const V v = values[size_t(Order[size_t(k)])];
            if (v != values[size_t(k)])
                set(Left + k, v);
        }
    };
    carry([&](int r) { return RowHeights(r); }, [&](int r, int h) { SetRowHeights(r, h); });
    if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort()) {
        const bool real = NumHiddenRows() > 0;
        auto index = [&](int r) { return real ? RealRowIndex(r) : r; };
        carry([&](int r) { return RowSelect(index(r)); }, [&](int r, bool s) { SetRowSelect(index(r), s); });
    }
    if (FShowModified->Enabled())
        carry([&](int r) { return RowModified(r); }, [&](int r, bool m) { SetRowModified(r, m); });
    if (SortRow >= Left && SortRow < Left + n)
        for (int k = 0; k < n; ++k)
            if (from[size_t(k)] == SortRow) {
                SortRow = Left + k;
                break;
            }
}

void TVerIvovavOzed::QuickSortRange(int Col, int Left, int Right)
{
    SortDir = FSortSettings->Direction() == sdDescending ? -1 : 1;
    if (!SortsByOrder()) {
        // Rows equal to each other are never exchanged directly.
        PartitionRows(Left, Right, [&](int a, int b) { return CompareRows(Col, a, b); }, SortDir, true);
        return;
    }
    const int n = Right - Left + 1;
    std::vector<int> rows(size_t(n), 0);
    std::iota(rows.begin(), rows.end(), Left);
    TSortKeys keys(*this, std::move(rows));
    std::vector<int> order(size_t(n), 0);
    const TSortDirection dir = FSortSettings->Direction();
    int rankCount = 0;
    // Plain texts whose heads mostly differ sort as fast by their heads (below) as by ranks,
    // without the ranking; where heads repeat, the partition would read the texts themselves.
    const bool heads = !IsIgnoredColumn(Col) && keys.PlainOrdinal(Col) && keys.HeadsMostlyDiffer(Col);
    const std::vector<int>* ranks = IsIgnoredColumn(Col) || heads ? nullptr : &keys.Ranks(Col, dir, &rankCount);
    if (ranks && !ranks->empty()) {
        // The compare of the column answers as the ranks of its keys do, so the partition reads
        // integers beside each key instead of its cells: the same compares, exchanges and places
        // for equal keys. When keys share ranks often, the next column's ranks come along too
        // (if it has them); other ties go to the key table for the columns on the right.
        const int last = ColCount() - 1;
        const bool ties = FSortSettings->Full() && Col < last;
        const std::vector<int>* next = nullptr;
        if (ties && rankCount <= n / 2 && !IsIgnoredColumn(Col + 1)) {
            next = &keys.Ranks(Col + 1, dir);
            if (next->empty())
                next = nullptr;
        }
        // Whether a tie in the next column goes on to the one after it.
        const bool further = Col + 1 < last;
        struct Entry {
            int Rank;
            int Next;
            int Key;
        };
        std::vector<Entry> entries(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k)
            entries[size_t(k)] = {(*ranks)[size_t(k)], next ? (*next)[size_t(k)] : 0, k};
        auto sign = [](int a, int b) { return a > b ? 1 : (a < b ? -1 : 0); };
        PartitionOrder(
            entries, Left, Right,
            [&](const Entry& a, const Entry& b) {
                ++Compares;
                int r = sign(a.Rank, b.Rank);
                if (r != 0 || !ties)
                    return r;
                if (!next)
                    return keys.CompareRows(Col + 1, a.Key, b.Key);
                ++Compares;
                r = sign(a.Next, b.Next);
                return r != 0 || !further ? r : keys.CompareRows(Col + 2, a.Key, b.Key);
            },
            SortDir, true);
        for (int k = 0; k < n; ++k)
            order[size_t(k)] = entries[size_t(k)].Key;
    } else if (heads) {
        // Every compare of the column is one of the texts as they stand: each entry of the order
        // carries its text, so a compare reads no key table, and only ties go to the key table for
        // the columns on the right.
        struct Entry {
            quint64 Head; // OrdinalHead of the text
            QStringView Text;
            int Key;
        };
        std::vector<Entry> entries(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k) {
            const QString& t = keys.Text(Col, k);
            entries[size_t(k)] = {OrdinalHead(t), t, k};
        }
        const TSortSettings& ss = *FSortSettings;
        const bool ties = ss.Full() && Col < ColCount() - 1;
        const bool blanks = ss.IgnoreBlanks();
        const int blankLast = (ss.BlankPos() == blLast ? 1 : -1) * (ss.Direction() == sdDescending ? -1 : 1);
        PartitionOrder(
            entries, Left, Right,
            [&](const Entry& a, const Entry& b) {
                ++Compares;
                int r;
                if (blanks && a.Text.isEmpty() != b.Text.isEmpty())
                    r = a.Text.isEmpty() ? blankLast : -blankLast;
                else if (a.Head != b.Head)
                    r = a.Head > b.Head ? 1 : -1;
                else {
                    const int c = a.Text.compare(b.Text, Qt::CaseSensitive);
                    r = c > 0 ? 1 : (c < 0 ? -1 : 0);
                }
                return r != 0 || !ties ? r : keys.CompareRows(Col + 1, a.Key, b.Key);
            },
            SortDir, true);
        for (int k = 0; k < n; ++k)
            order[size_t(k)] = entries[size_t(k)].Key;
    } else {
        std::iota(order.begin(), order.end(), 0);
        PartitionOrder(order, Left, Right, [&](int a, int b) { return keys.CompareRows(Col, a, b); }, SortDir, true);
    }
    ApplySortOrder(Left, order);
}

void TVerIvovavOzed::QuickSortRangeIndexed(int Left, int Right)
{
    // Each entry of the index list carries its own direction.
    if (!SortsByOrder()) {
        PartitionRows(Left, Right, [&](int a, int b) { return CompareRowsIndexed(0, a, b); }, 1, false);
        return;
    }
    std::vector<int> rows(size_t(Right - Left + 1));
    std::iota(rows.begin(), rows.end(), Left);
    TSortKeys keys(*this, std::move(rows));
    std::vector<int> order(size_t(Right - Left + 1));
    std::iota(order.begin(), order.end(), 0);
    PartitionOrder(order, Left, Right, [&](int a, int b) { return keys.CompareRowsIndexed(a, b); }, 1, false);
    ApplySortOrder(Left, order);
}

void TVerIvovavOzed::UnSortRange(int Left, int Right)
{
    TRangeStack todo;
    todo.Push(Left, Right);
    int L = 0, R = 0;
    while (todo.Pop(L, R)) {
        const int pivot = FUnSortRowXRef.GetInteger((L + R) / 2);
        int i = L, j = R;
        do {
            while (FUnSortRowXRef.GetInteger(i) < pivot)
                ++i;
            while (FUnSortRowXRef.GetInteger(j) > pivot)
                --j;
            if (i <= j) {
                if (i != j) {
                    SortSwapRows(i, j);
                    FUnSortRowXRef.Exchange(i, j);
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (i < R)
            todo.Push(i, R);
        if (L < j)
            todo.Push(L, j);
    }
}

// ---- frames ----------------------------------------------------------------------------------

// Runs Body(old row count) with the hidden columns counted in, so that hidden cells travel with
// their rows, and, with Scratch, three scratch rows after the rows; both are taken back, also when
// Body throws.
template <class F>
void TVerIvovavOzed::WithSortRoom(bool Scratch, F&& Body)
{
    const int oldRC = RowCount();
    const int oldCC = ColCount();
    const int lastWidth = oldCC > 0 ? ColWidths(oldCC - 1) : 0;
    auto restore = [&]() {
        SetColCount(oldCC);
        if (oldCC > 0)
            SetColWidths(oldCC - 1, lastWidth);
        if (Scratch)
            ShrinkAfterSort(oldRC);
    };
    try {
        if (Scratch)
            GrowForSort(oldRC);
        SetColCount(oldCC + NumHiddenColumns());
        Body(oldRC);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

// Runs Body inside one update; column 0 stays in place when only normal cells sort, and with
// KeepTop the scroll position is kept when the navigation settings ask for it.
template <class F>
void TVerIvovavOzed::WithSortFrame(bool KeepTop, F&& Body)
{
    const int rows = RowCount();
    const bool keepCol0 = FSortSettings->NormalCellsOnly() && FixedCols() > 0;
    std::vector<QString> texts;
    std::vector<TGridObject> objects;
    if (keepCol0)
        for (int r = 0; r < rows; ++r) {
            texts.push_back(GetGridCell(0, r));
            objects.push_back(GetGridObject(0, r));
        }
    const int savedTop = TopRow();
    BeginUpdate();
    auto finish = [&]() {
        if (keepCol0)
            for (int r = 0; r < rows; ++r) {
                SetGridCell(0, r, texts[size_t(r)]);
                SetGridObject(0, r, objects[size_t(r)]);
            }
        if (KeepTop && FNavigation->KeepScrollOnSort())
            SetTopRow(savedTop);
        EndUpdate();
    };
    try {
        Body();
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

// The current row after a sort: the row that was current follows its row when MoveRowOnSort.
void TVerIvovavOzed::PlaceRowAfterSort(bool Indexed, bool MoveRow, int OldRow)
{
    if (!Indexed && FMouseActions->DisjunctRowSelect())
        return;
    FEntered = false;
    if (MoveRow) {
        FOldRowSel = -1;
        SetRow(SortRow);
    } else {
        SetRow(OldRow);
    }
    FEntered = false;
}

void TVerIvovavOzed::SortFrame(bool Indexed)
{
    TSortSettings& ss = *FSortSettings;
    if (!Indexed && ss.Column() < 0)
        return;
    if (RowCount() != FSortRowXRef.Count())
        InitSortXRef();
    if (Indexed && FSortIndexes.Count() == 0)
        throw ZUzeRodoRediv(QStringLiteral("No indexes specified for indexed sort"));
    if (!Indexed)
        FSortIndexes.Clear();

    WithSortFrame(true, [&]() {
        const bool footerVisible = FFloatingFooter->Visible();
        const int savedFooters = FixedFooters();
        FFloatingFooter->SetVisible(false);
        auto restoreFooter = [&]() {
            FFloatingFooter->SetVisible(footerVisible);
            if (FixedFooters() != savedFooters)
                SetFixedFooters(savedFooters);
        };
        try {
            const bool moveRow = FNavigation->MoveRowOnSort();
            int oldRow = 0;
            WithSortRoom(true, [&](int oldRC) {
                SortRow = Row();
                oldRow = Row();
                if (moveRow && oldRC - 1 >= FixedRows())
                    TStringGrid::SetRow(oldRC - 1);
                const int left = FixedRows();
                const int right = oldRC - 1 - savedFooters;
                if (right >= left) {
                    if (Indexed)
                        QuickSortRangeIndexed(left, right);
                    else
                        QuickSortRange(ss.Column(), left, right);
                }
                ClearScratchRows(oldRC, 3);
                PlaceRowAfterSort(Indexed, moveRow, oldRow);
            });
            if (!Indexed && OnRowUpdate && !moveRow)
                OnRowUpdate(this, oldRow, Row());
        } catch (...) {
            restoreFooter();
            throw;
        }
        restoreFooter();
    });
}

void TVerIvovavOzed::SortGroups(bool Indexed)
{
    if (RowCount() != FSortRowXRef.Count())
        InitSortXRef();
    if (Indexed && FSortIndexes.Count() == 0)
        throw ZUzeRodoRediv(QStringLiteral("No indexes specified for indexed sort"));

    WithSortFrame(true, [&]() {
        WithSortRoom(true, [&](int oldRC) {
            SortRow = Row();
            const int oldRow = Row();
            const bool moveRow = FNavigation->MoveRowOnSort();
            if (moveRow && oldRC - 1 >= FixedRows())
                TStringGrid::SetRow(oldRC - 1);

            // Only the children of the deepest open nodes are sorted.
            const int last = oldRC - FixedFooters();
            int deepest = -1;
            for (int r = FixedRows(); r < last; ++r)
                if (IsNode(r))
                    deepest = std::max(deepest, GetNodeLevel(r));
            if (deepest >= 0)
                for (int c = FixedRows(); c < last; ++c) {
                    if (!IsNode(c) || GetNodeLevel(c) != deepest || GetNodeState(c))
                        continue;
                    const int span = GetNodeSpan(c);
                    if (span - 1 > 1) {
                        if (Indexed)
                            QuickSortRangeIndexed(c + 1, c + span - 1);
                        else
                            QuickSortRange(FSortSettings->Column(), c + 1, c + span - 1);
                    }
                }
            ClearScratchRows(oldRC, 3);
            PlaceRowAfterSort(Indexed, moveRow, oldRow);
        });
    });
}

void TVerIvovavOzed::QUnSort()
{
    FUnSortRowXRef.Clear();
    for (int i = 0; i < FSortRowXRef.Count(); ++i)
        FUnSortRowXRef.Add(FSortRowXRef.GetInteger(i));
    WithSortFrame(false, [&]() {
        WithSortRoom(false, [&](int oldRC) {
            // Rows added after the order was recorded have no place in it and stay where they are.
            const int last = std::min(oldRC, FUnSortRowXRef.Count()) - 1;
            if (last > 0)
                UnSortRange(0, last);
        });
    });
}

void TVerIvovavOzed::QuickSort(int Col, int Left, int Right)
{
    WithSortRoom(true, [&](int oldRC) {
        if (Left <= Right && Left >= 0 && Right < oldRC)
            QuickSortRange(Col, Left, Right);
    });
}

void TVerIvovavOzed::QuickSortIndexed(int Left, int Right)
{
    WithSortRoom(true, [&](int oldRC) {
        if (Left <= Right && Left >= 0 && Right < oldRC)
            QuickSortRangeIndexed(Left, Right);
    });
}
