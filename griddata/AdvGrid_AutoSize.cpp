// TVerIvovavOzed: automatic sizing of columns and rows to their contents, and fitting the
// columns to the control's width.
#include "grid/AdvGrid.h"
#include "render/RuvOdid.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cmath>

// The canvas takes the font a cell is measured with: the fixed font for fixed cells, the grid
// font for the others, as the cell-colour hook adjusts it, grown by the zoom.
void TVerIvovavOzed::MeasuringFont(int ACol, int ARow)
{
    TFont font(ARow < FixedRows() || ACol < FixedCols() ? FFixedFont : Font());
    TBrush brush;
    GetCellColor(ACol, ARow, TGridDrawState(), brush, font);
    font.SetSize(font.Size() + ZoomFactor());
    Canvas().Font().Assign(font);
}

// ---- columns ---------------------------------------------------------------------------------

void TVerIvovavOzed::AutoSizeColumnWidth(int ACol, bool GrowOnly)
{
    const int R = DisplToRealCol(ACol);
    int first = 0, last = RowCount() - 1;
    switch (FColumnSize->Rows()) {
    case arNormal:
        first = FixedRows();
        last = RowCount() - FixedFooters() - 1;
        break;
    case arFixed:
        last = FixedRows() - 1;
        break;
    default:
        break;
    }
    const int lines = GridLineWidth();
    int M = 0;
    for (int row = first; row <= last; ++row) {
        if (IsXMergedCell(R, row))
            continue;
        const TPoint g = GetCellGraphicSize(R, row);
        int w = g.X + CalcCellTextSize(R, ACol, row, false, false).cx;
        if (FControlLook->DropDownAlwaysVisible() && HasComboBox(R, row))
            w += 16;
        if (FilterDropDownAuto() && row == FilterDropDownRow() && FillFilterDropDown(ACol))
            w += 12;
        if (IsSortIndicatorCell(ACol, row) && FSortSettings->Column() == ACol)
            w += 10;
        if (const TCellGraphic* cg = GetCellGraphic(R, row); cg && cg->CellHAlign() == haFull)
            w = g.X - (2 * lines + 2 + XYOffset().X);
        M = std::max(M, w);
    }
    int W = GetTotalXOffset() + M + 2 * lines + 2;
    if (GrowOnly && ColWidths(ACol) >= W)
        return;
    // The automatic-sizing hook: a column grid applies its definition's automatic limits here.
    DoUpdateColumnSizeEx(ACol, W);
    SetColWidths(ACol, std::max(0, ClampToLimits(W, FMinColWidth, FMaxColWidth)));
}

void TVerIvovavOzed::AutoSizeCol(int ACol, int Padding)
{
    AutoSizeColumnWidth(ACol, FSizeGrowOnly);
    if (Padding != 0)
        SetColWidths(ACol, std::max(0, ClampToLimits(ColWidths(ACol) + Padding, FMinColWidth, FMaxColWidth)));
}

void TVerIvovavOzed::AutoSizeColumns(bool DoFixedCols, int Padding)
{
    const int first = DoFixedCols ? 0 : FixedCols();
    const int last = DoFixedCols ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    for (int c = first; c <= last; ++c) {
        AutoSizeCol(c, 0);
        if (Padding != 0)
            SetColWidths(c, std::max(0, ClampToLimits(ColWidths(c) + Padding, FMinColWidth, FMaxColWidth)));
    }
}

// ---- rows ------------------------------------------------------------------------------------

void TVerIvovavOzed::AutoSizeRowHeight(int ARow, bool GrowOnly, int Padding)
{
    int M = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int R = DisplToRealCol(c);
        if (IsYMergedCell(R, ARow) || IsIgnoredColumn(R))
            continue;
        MeasuringFont(R, ARow);
        int T = GetCellTextSize(R, ARow, false, WordWrap()).cy;
        TPoint gs;
        CalcCellGraphicSize(R, ARow, gs, Padding);
        int G = gs.Y;
        const TCellGraphic* g = GetCellGraphic(R, ARow);
        if (g && g->CellVAlign() == vaFull)
            G = T == 0 ? DefaultRowHeight() : 0;
        if (g && (g->CellType() == ctDataCheckBox || g->CellType() == ctVirtCheckBox) && G > 0)
            T = 0;
        int h = T + G;
        if (!IsBaseCell(R, ARow))
            h = 0;
        if (g && (g->CellType() == ctCheckBox || g->CellType() == ctDataCheckBox || g->CellType() == ctVirtCheckBox ||
                  g->CellType() == ctRadioButton))
            h = DefaultRowHeight();
        M = std::max(M, h);
    }
    int H = AutoSizeInsetY() + M + 2 * GridLineWidth();
    if (XYOffsetTopLeftOnly())
        H += 2;
    if (!GrowOnly || RowHeights(ARow) < H)
        SetRowHeights(ARow, std::max(0, ClampToLimits(H, FMinRowHeight, FMaxRowHeight)));
}

void TVerIvovavOzed::AutoSizeRow(int ARow, int Padding)
{
    AutoSizeRowHeight(ARow, FSizeGrowOnly, Padding);
    if (Padding != 0)
        SetRowHeights(ARow, std::max(0, ClampToLimits(RowHeights(ARow) + Padding, FMinRowHeight, FMaxRowHeight)));
}

void TVerIvovavOzed::SizeRowToLines(int ARow, int Lines, int Padding)
{
    MeasuringFont(FixedCols(), ARow);
    const int h = Canvas().TextHeight(QStringLiteral("gh"));
    SetRowHeights(ARow, std::max(0, ClampToLimits(Padding + Lines * (h + h / 8), FMinRowHeight, FMaxRowHeight)));
}

void TVerIvovavOzed::AutoSizeRows(bool DoFixedRows, int Padding)
{
    if (RowCount() == 0)
        return;
    const int first = DoFixedRows ? 0 : FixedRows();
    for (int r = first; r < RowCount(); ++r) {
        if (WordWrap()) {
            AutoSizeRow(r, 0);
            if (Padding != 0)
                SetRowHeights(r, std::max(0, ClampToLimits(RowHeights(r) + Padding, FMinRowHeight, FMaxRowHeight)));
        } else {
            int lines = 1;
            for (int c = 0; c < AllColCount(); ++c)
                lines = std::max(lines, GetLinesInCell(c, r));
            SizeRowToLines(r, lines, Padding);
        }
    }
}

void TVerIvovavOzed::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY)
{
    BeginUpdate();
    const int c0 = DoFixedCells ? 0 : FixedCols();
    const int r0 = DoFixedCells ? 0 : FixedRows();
    for (int c = c0; c < ColCount(); ++c) {
        const int R = DisplToRealCol(c);
        int w = FSizeGrowOnly ? ColWidths(c) : 0;
        for (int r = r0; r < RowCount(); ++r) {
            MeasuringFont(R, r);
            const TPoint g = GetCellGraphicSize(R, r);
            const TSize t = GetCellTextSize(R, r, false, false);
            int cw = t.cx + g.X + PaddingX + XYOffset().X;
            int ch = t.cy + g.Y + PaddingY + XYOffset().Y;
            if (!IsXMergedCell(R, r) && cw > w) {
                cw = ClampToLimits(cw, FMinColWidth, FMaxColWidth);
                if (cw > w) {
                    SetColWidths(c, cw);
                    w = cw;
                }
            }
            if (!IsYMergedCell(R, r) && ch > RowHeights(r)) {
                ch = ClampToLimits(ch, FMinRowHeight, FMaxRowHeight);
                if (ch > RowHeights(r))
                    SetRowHeights(r, ch);
            }
        }
    }
    EndUpdate();
}

// ---- fitting the control ---------------------------------------------------------------------

void TVerIvovavOzed::AutoFitColumns(bool DoFixedCells)
{
    const int width = this->width();
    const int scrollW = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const bool vertNeeded = ScrollBars() != ssNone && VisibleRowCount() + FixedRows() < RowCount();
    const int S = ScrollBarAlways() == saVert || vertNeeded ? scrollW : 0;
    const int B = BorderStyle() == bsSingle ? 4 : 0;
    int first = 0, last = ColCount() - 1, A = width;
    if (!DoFixedCells) {
        first = FixedCols();
        last = ColCount() - FixedRightCols() - 1;
        for (int c = 0; c < FixedCols(); ++c)
            A -= ColWidths(c);
        for (int c = ColCount() - FixedRightCols(); c < ColCount(); ++c)
            A -= ColWidths(c);
    }
    int L = 0;
    if (Options() & goVertLine)
        L = GridLineWidth() * (ColCount() - FixedCols() - FixedRightCols());
    if ((Options() & goFixedVertLine) && DoFixedCells)
        L += FixedCols() + FixedRightCols();
    auto setWidth = [this](int c, int w) { SetColWidths(c, std::max(0, w)); };
    if (ColCount() <= 1) {
        setWidth(0, width - S - 5);
    } else {
        int sum = 0;
        for (int c = first; c <= last; ++c)
            sum += ColWidths(c);
        if (sum == A - S - B)
            return;
        if (sum != 0) {
            const double k = double(A - S - B - L) / sum;
            long long T = 0;
            for (int c = first; c <= last; ++c)
                T += std::llround(std::nearbyint(ColWidths(c) * k));
            for (int c = first; c <= last; ++c)
                setWidth(c, int(std::nearbyint(double(ColWidths(c)) * double(T) / sum)));
        }
    }
    int total = 0;
    for (int c = first; c <= last; ++c)
        total += ColWidths(c);
    int R = A - (S + B + total);
    const int n1 = last - first + 1;
    if (n1 >= 2 && n1 < R) {
        for (int c = first; c <= last; ++c)
            setWidth(c, ColWidths(c) + R / n1);
        R -= (R / n1) * n1;
    }
    int widest = first;
    for (int c = first; c <= last; ++c)
        if (ColWidths(c) > ColWidths(widest))
            widest = c;
    if (last >= first)
        setWidth(widest, ColWidths(widest) + R);
}

void TVerIvovavOzed::SizeToCols()
{
    int w = 0;
    for (int c = 0; c < ColCount(); ++c)
        w += ColWidths(c);
    resize(w + (width() - viewport()->width()), height());
}

void TVerIvovavOzed::SizeToRows()
{
    int h = 0;
    for (int r = 0; r < RowCount(); ++r)
        h += RowHeights(r);
    resize(width(), h + (height() - viewport()->height()));
}

void TVerIvovavOzed::SizeToCells()
{
    const TScrollStyle was = ScrollBars();
    SetScrollBars(ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(was);
}

// ---- text extents ----------------------------------------------------------------------------

int TVerIvovavOzed::GetTotalXOffset() const { return XYOffsetTopLeftOnly() ? XYOffset().X : 2 * XYOffset().X; }

int TVerIvovavOzed::GetTotalYOffset() const { return XYOffsetTopLeftOnly() ? XYOffset().Y : 2 * XYOffset().Y; }

namespace {

// The lines of a cell text: split at CR LF, CR or LF with Multilinecells, else the text as one line.
QStringList CellLines(const QString& s, bool Multiline)
{
    if (!Multiline)
        return {s};
    QString t = s;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}

} // namespace

int TVerIvovavOzed::MaxLinesInRow(int ARow)
{
    if (ColCount() == 0 || !Multilinecells())
        return 1;
    int m = 1;
    // Cells() takes a real column: map each displayed position so a hidden column is skipped.
    for (int c = 0; c < ColCount(); ++c)
        m = std::max(m, int(CellLines(Cells(DisplToRealCol(c), ARow), true).size()));
    return m;
}

int TVerIvovavOzed::LongestLineInColumn(int ACol)
{
    int m = 0;
    for (int r = 0; r < RowCount(); ++r) {
        QString s;
        GetSaveCellText(ACol, r, s);
        const QStringList lines = CellLines(s, Multilinecells());
        // Without multi-line cells only a cell's first line counts.
        const int n = Multilinecells() ? int(lines.size()) : 1;
        for (int i = 0; i < n; ++i) {
            QString l = lines[i];
            if (!Multilinecells()) {
                const qsizetype p = l.indexOf(QLatin1Char('\r'));
                if (p >= 0)
                    l.truncate(p);
            }
            m = std::max(m, int(l.size()));
        }
    }
    return m;
}
