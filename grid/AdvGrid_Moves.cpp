// TVerIvovavOzed: column and row moves. What the grid keeps per column or per row
// travels with a moved column or row: the column order, the widths, the hidden-column flags and
// stored widths, the texts of hidden rows, the sort column and sort index list, the current
// column and a synchronised grid.
#include "grid/AdvGrid.h"

#include <algorithm>

namespace {

template <class T>
void Rotate(std::vector<T>& v, int from, int to, const T& fill)
{
    const int need = std::max(from, to) + 1;
    if (int(v.size()) < need)
        v.resize(size_t(need), fill);
    if (from < to)
        std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
    else if (from > to)
        std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
}

// Where an index lands when the entry at From moves to To. Moving right shifts every
// index with From < x <= To one left, x = To included: left in place, the sort indicator would
// land on the moved column.
int Follow(int x, int From, int To)
{
    if (x == From)
        return To;
    if (From < To && x > From && x <= To)
        return x - 1;
    if (From > To && x >= To && x < From)
        return x + 1;
    return x;
}

} // namespace

void TVerIvovavOzed::ColumnMoved(int FromIndex, int ToIndex)
{
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0)
        return;
    // Step 1.
    const int RealFrom = DisplToRealCol(FromIndex);
    const int RealTo = DisplToRealCol(ToIndex);
    // Step 2.
    if (RealFrom < FColumnOrder.Count() && RealTo < FColumnOrder.Count())
        FColumnOrder.Move(RealFrom, RealTo);
    // Step 3. The widths and the hidden-column flags travel with every move (the grid's MoveColumn
    // does not run the platform grid's own width move); the flag tells the release that an
    // enhanced move changed the widths.
    {
        std::vector<int> w(static_cast<size_t>(ColCount()));
        for (int c = 0; c < ColCount(); ++c)
            w[size_t(c)] = ColWidths(c);
        Rotate(w, FromIndex, ToIndex, DefaultColWidth());
        for (int c = 0; c < ColCount(); ++c)
            if (ColWidths(c) != w[size_t(c)])
                SetColWidths(c, w[size_t(c)]);
        if (FNumHidden > 0) {
            Rotate(FVisibleCol, RealFrom, RealTo, true);
            Rotate(FAllColWidths, RealFrom, RealTo, 0);
        }
    }
    if (EnhRowColMove())
        ColMoveFlg = true;
    // Step 4: cells and cell properties, by real index.
    TStringGrid::ColumnMoved(RealFrom, RealTo);
    // Step 5: the stored cells of hidden rows.
    for (const auto& it : FGridItems) {
        TGridStrings& s = it->Items;
        const int need = std::max(RealFrom, RealTo) + 1;
        while (s.Count() < need)
            s.Add(QString());
        s.Objects.resize(size_t(s.Count()));
        Rotate(s.Objects, RealFrom, RealTo, TGridObject());
        s.Strings.move(RealFrom, RealTo);
    }
    // Step 6: the sort column and the sort index list.
    if (FSortSettings->Column() >= 0)
        FSortSettings->SetColumn(Follow(FSortSettings->Column(), RealFrom, RealTo));
    for (int i = 0; i < FSortIndexes.Count(); ++i)
        FSortIndexes.SetSortColumns(i, Follow(FSortIndexes.GetSortColumns(i), RealFrom, RealTo));
    // Step 7: the current column.
    FCurrent.X = Follow(FCurrent.X, FromIndex, ToIndex);
    FAnchor.X = Follow(FAnchor.X, FromIndex, ToIndex);
    // Step 8.
    if (FFloatingFooter->Visible())
        viewport()->update();
    // Step 9.
    auto* other = dynamic_cast<TVerIvovavOzed*>(FSyncGrid->Grid());
    if (other && !FSyncedMove && FSyncGrid->MoveColumn()) {
        other->FSyncedMove = true;
        other->MoveColumn(FromIndex, ToIndex);
        other->FSyncedMove = false;
    }
}

void TVerIvovavOzed::RowMoved(int FromIndex, int ToIndex)
{
    // Step 1: the footer row stays last.
    if (FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow && ToIndex == RowCount() - 1)
        return;
    // Step 2: cells and properties move with the event held back.
    auto held = std::move(OnRowMoved);
    OnRowMoved = nullptr;
    TStringGrid::RowMoved(FromIndex, ToIndex);
    OnRowMoved = std::move(held);
    // Step 3: the heights travelled in the platform grid's move already.
    if (EnhRowColMove())
        ColMoveFlg = true;
    // Step 4: the event, once.
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);
    // Step 5.
    auto* other = dynamic_cast<TVerIvovavOzed*>(FSyncGrid->Grid());
    if (other && !FSyncedMove && FSyncGrid->MoveRow()) {
        other->FSyncedMove = true;
        other->MoveRow(FromIndex, ToIndex);
        other->FSyncedMove = false;
    }
}

// ---- the end of an enhanced move at the left release -----------------------------------------

bool TVerIvovavOzed::EndEnhancedMove(int X, int Y)
{
    (void)X;
    (void)Y;
    if (!EnhRowColMove() || (FGridState != gsColMoving && FGridState != gsRowMoving))
        return false;
    const Qt::CursorShape shape = viewport()->cursor().shape();
    if (shape != Qt::DragMoveCursor && shape != Qt::ForbiddenCursor)
        return false;
    // Step 1.
    DoEndBlockFocus();
    viewport()->setCursor(FGridCursor);
    // Step 2: the no-drop pointer cancels; the platform grid's release then moves nothing.
    if (shape == Qt::ForbiddenCursor) {
        const bool cols = FGridState == gsColMoving;
        FGridState = gsNormal;
        if (Movecell >= 0) {
            if (cols)
                RepaintRow(0);
            else
                RepaintCol(0);
        }
        viewport()->update();
        return true;
    }
    // Step 3: the drag pointer lets the platform grid's release move the column or row.
    return true;
}
