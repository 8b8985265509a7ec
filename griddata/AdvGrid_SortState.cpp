// TVerIvovavOzed: the row exchange every sort uses and the pairwise ordering of two rows.
#include "grid/AdvGrid.h"

void TVerIvovavOzed::SortSwapRows(int ARow1, int ARow2)
{
    ++Swaps;
    if (ARow1 >= 0 && ARow2 >= 0 && ARow1 < FSortRowXRef.Count() && ARow2 < FSortRowXRef.Count())
        FSortRowXRef.Exchange(ARow1, ARow2);

    if (FSortSettings->SingleColumn()) {
        // Only the sort column's stored texts and objects change rows.
        const int c = FSortSettings->Column();
        if (c < 0)
            return;
        const QString t = GetGridCell(c, ARow1);
        const TGridObject o = GetGridObject(c, ARow1);
        SetGridCell(c, ARow1, GetGridCell(c, ARow2));
        SetGridObject(c, ARow1, GetGridObject(c, ARow2));
        SetGridCell(c, ARow2, t);
        SetGridObject(c, ARow2, o);
        return;
    }

    const int n = ColCount();
    for (int c = 0; c < n; ++c) {
        const QString t = GetGridCell(c, ARow1);
        TGridObject o = GetGridObject(c, ARow1);
        SetGridCell(c, ARow1, GetGridCell(c, ARow2));
        SetGridObject(c, ARow1, GetGridObject(c, ARow2));
        SetGridCell(c, ARow2, t);
        SetGridObject(c, ARow2, std::move(o));
    }
    const int h1 = RowHeights(ARow1), h2 = RowHeights(ARow2);
    if (h1 != h2) {
        SetRowHeights(ARow1, h2);
        SetRowHeights(ARow2, h1);
    }
    if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort()) {
        const bool real = NumHiddenRows() > 0;
        const int r1 = real ? RealRowIndex(ARow1) : ARow1;
        const int r2 = real ? RealRowIndex(ARow2) : ARow2;
        const bool s1 = RowSelect(r1), s2 = RowSelect(r2);
        if (s1 != s2) {
            SetRowSelect(r1, s2);
            SetRowSelect(r2, s1);
        }
    }
    if (FShowModified->Enabled()) {
        const bool m1 = RowModified(ARow1), m2 = RowModified(ARow2);
        if (m1 != m2) {
            SetRowModified(ARow1, m2);
            SetRowModified(ARow2, m1);
        }
    }
    if (SortRow == ARow1)
        SortRow = ARow2;
    else if (SortRow == ARow2)
        SortRow = ARow1;
}

bool TVerIvovavOzed::SortLine(int Col, int ARow1, int ARow2)
{
    const int last = ColCount() + NumHiddenColumns() - 1;
    for (int c = Col;; ++c) {
        const int r = CompareCells(c, ARow1, FSortSettings->Direction(), ARow2);
        if (r == SortDir) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (r != 0 || c >= last)
            return false;
    }
}
