// Column and row calculations, running numbers and the exchange of two columns or rows.
#include "grid/AdvGrid.h"
#include "platform/StringList.h"

#include <cmath>
#include <utility>

// ---- column calculations ---------------------------------------------------------------------

void TVerIvovavOzed::CalcRange(int& FromRow, int& ToRow)
{
    if (FromRow == -1 || ToRow == -1) {
        FromRow = FixedRows();
        ToRow = RowCount() - FixedFooters() - 1;
    }
}

bool TVerIvovavOzed::CalcRealMode(int ToRow)
{
    // Callers that include hidden rows (the floating footer, the grouping) pass real rows
    // beyond the displayed ones.
    return FFloatingFooter->Visible() ? ToRow >= RowCount() - 1 : ToRow > RowCount();
}

bool TVerIvovavOzed::CalcRowValue(int ACol, int R, bool Real, double& Value)
{
    if (R < 0 || R >= (Real ? TotalRowCount() : RowCount()))
        return false;
    // Group headers and summaries of a grouped grid and the covered cells of a merge count no
    // value; a hidden row (real rows only) has no displayed row to ask.
    if (!Real || !IsHiddenRow(R)) {
        const int d = Real ? DisplRowIndex(R) : R;
        if (FGroupColumn != -1 && (IsNode(d) || IsSummary(d)))
            return false;
        if (IsMergedNonBaseCell(ACol, d))
            return false;
    }
    try {
        Value = Real ? AllFloats(ACol, R) : Floats(ACol, R);
    } catch (const ZUzeRodoRediv&) {
        return false;
    }
    return true;
}

double TVerIvovavOzed::ColumnFold(int ACol, int FromRow, int ToRow, double Start,
                                  const std::function<double(double, double)>& Fold)
{
    CalcRange(FromRow, ToRow);
    const bool real = CalcRealMode(ToRow);
    double res = Start;
    ExportNotification(esExportStart, FromRow);
    for (int r = FromRow; r <= ToRow; ++r) {
        double v = 0;
        if (CalcRowValue(ACol, r, real, v)) {
            ExportNotification(esExportNextRow, r);
            res = Fold(res, v);
        }
    }
    ExportNotification(esExportDone, -1);
    return res;
}

double TVerIvovavOzed::ColumnSum(int ACol, int FromRow, int ToRow)
{
    return ColumnFold(ACol, FromRow, ToRow, 0, [](double sum, double v) { return sum + v; });
}

double TVerIvovavOzed::ColumnAvg(int ACol, int FromRow, int ToRow)
{
    CalcRange(FromRow, ToRow);
    const int n = ToRow - FromRow + 1;
    if (n <= 0)
        return 0;
    return ColumnSum(ACol, FromRow, ToRow) / n;
}

// The least and the greatest start from the first row's number.
double TVerIvovavOzed::ColumnMin(int ACol, int FromRow, int ToRow)
{
    CalcRange(FromRow, ToRow);
    return ColumnFold(ACol, FromRow, ToRow, Floats(ACol, FromRow),
                      [](double res, double v) { return v < res ? v : res; });
}

double TVerIvovavOzed::ColumnMax(int ACol, int FromRow, int ToRow)
{
    CalcRange(FromRow, ToRow);
    return ColumnFold(ACol, FromRow, ToRow, Floats(ACol, FromRow),
                      [](double res, double v) { return v > res ? v : res; });
}

double TVerIvovavOzed::ColumnStdDev(int ACol, int FromRow, int ToRow)
{
    CalcRange(FromRow, ToRow);
    const int n = ToRow - FromRow + 1;
    if (n <= 0)
        return 0;
    const double avg = ColumnAvg(ACol, FromRow, ToRow);
    ExportNotification(esExportStart, FromRow);
    double sq = 0;
    for (int r = FromRow; r <= ToRow; ++r) {
        const double d = Floats(ACol, r) - avg;
        sq += d * d;
    }
    ExportNotification(esExportDone, -1);
    return std::sqrt(sq / n);
}

double TVerIvovavOzed::ColumnDistinct(int ACol, int FromRow, int ToRow)
{
    CalcRange(FromRow, ToRow);
    platform::TStringList values;
    values.SetCaseSensitive(false);
    values.SetDuplicates(platform::dupIgnore);
    values.SetSorted(true);
    ExportNotification(esExportStart, FromRow);
    for (int r = FromRow; r <= ToRow; ++r) {
        ExportNotification(esExportNextRow, r);
        values.Add(GetCellEx(ACol, r));
    }
    ExportNotification(esExportDone, -1);
    return values.Count();
}

double TVerIvovavOzed::ColumnCustomCalc(int ACol, int FromRow, int ToRow)
{
    CalcRange(FromRow, ToRow);
    double res = 0;
    if (OnColumnCalc)
        OnColumnCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

double TVerIvovavOzed::GroupCustomCalc(int ACol, int FromRow, int ToRow)
{
    double res = 0;
    if (OnGroupCalc)
        OnGroupCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

// ---- row calculations ------------------------------------------------------------------------

// Folds the numbers of a row into Start; cells that hold no number and the covered cells of a
// merge are passed over.
template <class Pick>
static double RowFold(TVerIvovavOzed& g, int ARow, int fromCol, int toCol, double Start, Pick pick)
{
    double res = Start;
    for (int c = fromCol; c <= toCol; ++c) {
        if (g.IsMergedNonBaseCell(c, ARow))
            continue;
        try {
            res = pick(res, g.Floats(c, ARow));
        } catch (const ZUzeRodoRediv&) {
        }
    }
    return res;
}

double TVerIvovavOzed::RowSum(int ARow, int fromCol, int toCol)
{
    return RowFold(*this, ARow, fromCol, toCol, 0, [](double sum, double v) { return sum + v; });
}

double TVerIvovavOzed::RowAvg(int ARow, int fromCol, int toCol)
{
    const int n = toCol - fromCol + 1;
    return n <= 0 ? 0 : RowSum(ARow, fromCol, toCol) / n;
}

// The least and the greatest start from the first cell's number.
double TVerIvovavOzed::RowMin(int ARow, int fromCol, int toCol)
{
    return RowFold(*this, ARow, fromCol, toCol, Floats(fromCol, ARow),
                   [](double a, double b) { return std::min(a, b); });
}

double TVerIvovavOzed::RowMax(int ARow, int fromCol, int toCol)
{
    return RowFold(*this, ARow, fromCol, toCol, Floats(fromCol, ARow),
                   [](double a, double b) { return std::max(a, b); });
}

// ---- running numbers -------------------------------------------------------------------------

namespace {

// The running numbers of the lines F..L, from the start setting on: line i gets i - F + 1 plus the
// offset, or, descending, the line mirrored in F..L does.
template <class SetAt>
void RunningNumbers(int F, int L, int Start, int Offset, bool Ascending, SetAt setAt)
{
    for (int i = F + Start; i <= L; ++i)
        setAt(Ascending ? i : F + L - i, i - F + 1 + Offset);
}

} // namespace

void TVerIvovavOzed::AutoNumberCol(const int ACol)
{
    if (RowCount() <= 0)
        return;
    RunningNumbers(FixedRows(), RowCount() - FixedFooters() - 1, FAutoNumberStart, FAutoNumberOffset,
                   FAutoNumberDirection == sdAscending, [&](int r, int n) { SetInts(ACol, r, n); });
}

void TVerIvovavOzed::AutoNumberRow(const int ARow)
{
    if (ColCount() <= 0)
        return;
    RunningNumbers(FixedCols(), ColCount() - FixedRightCols() - 1, FAutoNumberStart, FAutoNumberOffset,
                   FAutoNumberDirection == sdAscending, [&](int c, int n) { SetInts(c, ARow, n); });
}

// ---- swaps -----------------------------------------------------------------------------------

namespace {

// The texts and cell objects of two cells change places; the objects stay shared, so nothing is
// freed.
void SwapStoredCells(TBaseGrid& g, int c1, int r1, int c2, int r2)
{
    const QString t = g.GetGridCell(c1, r1);
    const TGridObject o = g.GetGridObject(c1, r1);
    g.SetGridCell(c1, r1, g.GetGridCell(c2, r2));
    g.SetGridObject(c1, r1, g.GetGridObject(c2, r2));
    g.SetGridCell(c2, r2, t);
    g.SetGridObject(c2, r2, o);
}

// An index after the lines A and B changed places.
int Swapped(int i, int A, int B) { return i == A ? B : i == B ? A : i; }

// Places every control of the list anew, at the cell Moved gives for its own.
template <class F>
void MoveControls(TControlList& List, F Moved)
{
    std::vector<std::pair<TPoint, QWidget*>> items;
    for (int k = 0; k < List.Count(); ++k) {
        TControlItem* it = List.GetControl(k);
        items.emplace_back(Moved(TPoint{it->X(), it->Y()}), it->Object());
    }
    List.Clear();
    for (const auto& [p, w] : items)
        List.AddControl(p.X, p.Y, w);
}

} // namespace

void TVerIvovavOzed::SwapColumns(int ACol1, int ACol2)
{
    if (ACol1 == ACol2 || ACol1 < 0 || ACol2 < 0)
        return;
    // Texts and cell objects change places in every stored row.
    const int rows = std::max(RowCount(), StoredRowCount());
    for (int r = 0; r < rows; ++r)
        SwapStoredCells(*this, ACol1, r, ACol2, r);
    const int w1 = AllColWidths(ACol1);
    SetAllColWidths(ACol1, AllColWidths(ACol2));
    SetAllColWidths(ACol2, w1);
    if (FSortSettings->Column() == ACol1)
        FSortSettings->SetColumn(ACol2);
    else if (FSortSettings->Column() == ACol2)
        FSortSettings->SetColumn(ACol1);
    if (FControlList.Count() > 0) {
        MoveControls(FControlList, [&](TPoint p) { return TPoint{Swapped(p.X, ACol1, ACol2), p.Y}; });
        CellControlsUpdate(false);
    }
    InvalidateGrid();
}

void TVerIvovavOzed::SwapRows(int ARow1, int ARow2)
{
    if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0)
        return;
    const int cols = TotalColCount();
    for (int c = 0; c < cols; ++c)
        SwapStoredCells(*this, c, ARow1, c, ARow2);
    const int h1 = RowHeights(ARow1);
    SetRowHeights(ARow1, RowHeights(ARow2));
    SetRowHeights(ARow2, h1);
    if (FControlList.Count() > 0) {
        MoveControls(FControlList, [&](TPoint p) { return TPoint{p.X, Swapped(p.Y, ARow1, ARow2)}; });
        CellControlsUpdate(false);
    }
    InvalidateGrid();
}
