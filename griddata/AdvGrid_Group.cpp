// Row grouping: header rows with nodes over runs of equal values, summary rows, sub-groups and the
// group calculations.
#include "grid/AdvGrid.h"
#include "griddata/SearchPanel.h"
#include "platform/SysUtils.h"

namespace {

// Starts every comparison so that the first row always opens a group.
QString NoValue() { return QString(QChar(0xFF)) + QChar(0xFE); }

TColor StoredColour(TColor C, bool Rgb) { return Rgb ? ColorToRGB(C) : C; }

} // namespace

// ---- colouring -------------------------------------------------------------------------------

void TVerIvovavOzed::ColourGroupRow(int ARow, TColor AColor, TColor AColorTo, TColor ATextColor, bool Rgb)
{
    if (AColor != clNone)
        SetRowColor(ARow, StoredColour(AColor, Rgb));
    if (AColorTo != clNone)
        SetRowColorTo(ARow, StoredColour(AColorTo, Rgb));
    if (ATextColor != clNone)
        SetRowFontColor(ARow, StoredColour(ATextColor, Rgb));
}

void TVerIvovavOzed::ColourGroupCell(int ACol, int ARow, TColor AColor, TColor AColorTo, TColor ATextColor,
                                     bool Rgb)
{
    if (AColor == clNone && AColorTo == clNone && ATextColor == clNone)
        return;
    TCellProperties* p = GetCellProperties(ACol, ARow);
    if (AColor != clNone)
        p->SetBrushColor(StoredColour(AColor, Rgb));
    if (AColorTo != clNone)
        p->SetBrushColorTo(StoredColour(AColorTo, Rgb));
    if (ATextColor != clNone)
        p->SetFontColor(StoredColour(ATextColor, Rgb));
}

// ---- Group and UnGroup -----------------------------------------------------------------------

void TVerIvovavOzed::SetGroupColumn(int Value)
{
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

void TVerIvovavOzed::Group(int Colindex)
{
    // Column 0 holds the nodes, so it is never grouped on; neither is a column the grid lacks
    // (counted as the flat grid has them).
    const int columns = AllColCount() + (FGroupColumn > 0 ? 1 : 0);
    if (Colindex < FixedCols() || Colindex <= 0 || Colindex >= columns)
        return;
    if (FGroupColumn != -1)
        UnGroup();
    if (RowCount() <= FixedRows())
        return;

    BeginUpdate();
    try {
        FGroupColumn = Colindex;
        FGroupColWidth = AllColWidths(Colindex);
        if (FixedRows() > 0)
            FGroupHeaderText = GetGridCell(Colindex, 0);
        if (FixedFooters() > 0)
            FGroupFooterText = GetGridCell(Colindex, RowCount() - 1);
        const int textCol = Colindex == 1 ? 2 : 1;

        // The runs are only groups on sorted data.
        if (FSortSettings->AutoSortForGrouping()) {
            FSortSettings->SetColumn(Colindex);
            QSort();
        }

        // The runs of equal values: where each starts and its value.
        const TGrouping& g = *FGrouping;
        const int dataEnd = RowCount() - FixedFooters();
        std::vector<int> starts;
        std::vector<QString> values;
        QString prev = NoValue();
        for (int r = FixedRows(); r < dataEnd; ++r) {
            QString t = GetGridCell(Colindex, r);
            if (t == prev)
                continue;
            starts.push_back(r);
            prev = t;
            values.push_back(std::move(t));
        }
        const int groups = int(starts.size());

        // Each group gets a header row before its first row and, with summaries, a summary row
        // after its last; all of them go in at once.
        std::vector<int> before;
        before.reserve(size_t(groups) * 2 + 1);
        for (int i = 0; i < groups; ++i) {
            if (i > 0 && g.Summary)
                before.push_back(starts[size_t(i)]);
            before.push_back(starts[size_t(i)]);
        }
        if (groups > 0 && g.Summary)
            before.push_back(dataEnd);
        InsertRowsBefore(before);

        // Row k of the inserted rows now shows at before[k] + k.
        size_t k = 0;
        for (int i = 0; i < groups; ++i) {
            const bool lastGroup = i == groups - 1;
            if (i > 0 && g.Summary) {
                const int s = before[k] + int(k);
                ++k;
                SetSummaryRow(s);
                if (!g.MergeSummary)
                    ColourGroupRow(s, g.SummaryColor, g.SummaryColorTo, g.SummaryTextColor, true);
            }
            const int h = before[k] + int(k);
            ++k;
            SetCells(textCol, h, values[size_t(i)]);
            if (!g.MergeHeader)
                ColourGroupRow(h, g.HeaderColor, g.HeaderColorTo, g.HeaderTextColor, true);
            const int groupEnd = lastGroup ? dataEnd : starts[size_t(i) + 1];
            AddNode(h, groupEnd - starts[size_t(i)] + 1);
            if (lastGroup && !g.MergeHeader)
                ColourGroupRow(h, g.HeaderColor, g.HeaderColorTo, g.HeaderTextColor, false);
        }
        if (groups > 0 && g.Summary) {
            // The last group's summary keeps its colours as given.
            const int s = before[k] + int(k);
            SetSummaryRow(s);
            if (!g.MergeSummary)
                ColourGroupRow(s, g.SummaryColor, g.SummaryColorTo, g.SummaryTextColor, false);
        }

        RemoveCols(Colindex, 1);

        if (g.MergeHeader || (g.MergeSummary && g.Summary)) {
            const int lastNormal = RowCount() - FixedFooters() - 1;
            for (int b = FixedRows(); b <= lastNormal; ++b) {
                if (IsNode(b)) {
                    if (g.MergeHeader) {
                        MergeCells(1, b, ColCount() - 1, 1);
                        ColourGroupCell(1, b, g.HeaderColor, g.HeaderColorTo, g.HeaderTextColor, true);
                    }
                } else if (g.MergeSummary && g.Summary && (b == lastNormal || IsNode(b + 1))) {
                    MergeCells(1, b, ColCount() - 1, 1);
                    ColourGroupCell(1, b, g.SummaryColor, g.SummaryColorTo, g.SummaryTextColor, false);
                }
            }
        }

        if (FCellNode->ExpandOne()) {
            for (int b = FixedRows(); b < RowCount(); ++b)
                if (IsNode(b)) {
                    ExpandNode(RealRowIndex(b));
                    break;
                }
        }

        if (Col() >= ColCount() || Row() >= RowCount())
            FocusCell(FixedCols(), FixedRows());
        SetRow(FixedRows());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    // The search footer lays itself out anew once the columns changed: its panel is widened by
    // one pixel and narrowed again.
    if (SearchFooterShown() && FSearchPanel) {
        FSearchPanel->resize(FSearchPanel->width() + 1, FSearchPanel->height());
        FSearchPanel->resize(FSearchPanel->width() - 1, FSearchPanel->height());
    }
}

void TVerIvovavOzed::UnGroup()
{
    if (FGroupColumn <= 0)
        return;
    const bool expandOne = FCellNode->ExpandOne();
    FCellNode->SetExpandOne(false);
    ExpandAll();

    InsertCols(FGroupColumn, 1);
    SetAllColWidths(FGroupColumn, FGroupColWidth);
    if (FixedRows() > 0)
        SetGridCell(FGroupColumn, 0, FGroupHeaderText);
    if (FixedFooters() > 0)
        SetGridCell(FGroupColumn, RowCount() - 1, FGroupFooterText);

    const TGrouping& g = *FGrouping;
    const int textCol = FGroupColumn == 1 ? 2 : 1;
    QString current;
    int r = FixedRows();
    while (r <= RowCount() - FixedFooters() - 1) {
        if (!IsNode(r)) {
            SetCells(FGroupColumn, r, current);
            ++r;
            continue;
        }
        if (g.Summary) {
            const int s = r + GetNodeSpan(r);
            if (s < RowCount() - FixedFooters() && IsSummary(s)) {
                if (g.MergeSummary)
                    SplitCells(1, s);
                else {
                    if (g.SummaryColor != clNone)
                        SetRowColor(s, clNone);
                    if (g.SummaryColorTo != clNone)
                        SetRowColorTo(s, clNone);
                }
                ClearRows(s, 1);
                RemoveRows(s, 1);
            }
        }
        current = Cells(textCol, r);
        RemoveNode(RealRowIndex(r));
        FreeCellProperties(0, r);
        if (g.MergeHeader)
            SplitCells(1, r);
        else {
            if (g.HeaderColor != clNone)
                SetRowColor(r, clNone);
            if (g.HeaderColorTo != clNone)
                SetRowColorTo(r, clNone);
        }
        ClearRows(r, 1);
        RemoveRows(r, 1);
    }

    FGroupColumn = -1;
    FCellNode->SetExpandOne(expandOne);
    InvalidateGrid();
}

// ---- sub-groups ------------------------------------------------------------------------------

void TVerIvovavOzed::SubGroup(int Colindex)
{
    if (Colindex < FixedCols() || Colindex <= 0 || Colindex >= AllColCount())
        return;
    BeginUpdate();
    try {
        FGroupColumn = Colindex;
        FGroupColWidth = AllColWidths(Colindex);
        if (FixedRows() > 0)
            FGroupHeaderText = Cells(Colindex, 0);
        if (FixedFooters() > 0)
            FGroupFooterText = Cells(Colindex, RowCount() - 1);

        const TGrouping& g = *FGrouping;
        auto colourHeader = [&](int row, bool rgb) {
            if (g.MergeHeader) {
                MergeCells(Colindex + 1, row, ColCount() - Colindex - 1, 1);
                ColourGroupCell(Colindex + 1, row, g.HeaderColor, g.HeaderColorTo, g.HeaderTextColor, rgb);
            } else
                ColourGroupRow(row, g.HeaderColor, g.HeaderColorTo, g.HeaderTextColor, rgb);
        };
        auto markNode = [&](int row, int span) {
            AddNode(RealRowIndex(row), span);
            if (TCellGraphic* n = NodeObject(row))
                n->SetCellVar(Colindex);
        };
        auto nodeOrSummary = [&](int row) { return IsNode(row) || IsSummary(row); };

        // h: the open sub-header, or a node or summary row of the groups (no sub-group open).
        QString prev = NoValue();
        int h = -1;
        int r = FixedRows() + 1;
        while (r < RowCount() - FixedFooters()) {
            if (nodeOrSummary(r)) {
                if (h >= 0 && !nodeOrSummary(h))
                    markNode(h, r - h);
                h = r;
                prev = NoValue();
                ++r;
                continue;
            }
            const QString t = Cells(Colindex, r);
            if (t != prev) {
                if (h >= 0 && !nodeOrSummary(h))
                    markNode(h, r - h);
                InsertChildRow(RealRowIndex(r), 0);
                SetCells(Colindex + 1, r, t);
                colourHeader(r, true);
                h = r;
                ++r;
            }
            // The value now shows in the sub-header only.
            prev = t;
            SetCells(Colindex, r, QString());
            ++r;
        }
        if (h >= 0 && !nodeOrSummary(h)) {
            markNode(h, RowCount() - FixedFooters() - h);
            colourHeader(h, false);
            if (g.Summary) {
                const int at = RowCount() - FixedFooters();
                InsertRows(at, 1);
                SetSummaryRow(at);
                if (g.MergeSummary) {
                    MergeCells(Colindex + 1, at, ColCount() - Colindex - 1, 1);
                    ColourGroupCell(Colindex + 1, at, g.SummaryColor, g.SummaryColorTo, g.SummaryTextColor, false);
                } else
                    ColourGroupRow(at, g.SummaryColor, g.SummaryColorTo, g.SummaryTextColor, false);
            }
        }
        SetRow(FixedRows());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TVerIvovavOzed::SubUnGroup(int Colindex)
{
    ExpandAll();
    const TGrouping& g = *FGrouping;
    QString current;
    int r = FixedRows();
    while (r <= RowCount() - FixedFooters() - 1) {
        if (!IsNode(r)) {
            SetCells(Colindex, r, current);
            ++r;
            continue;
        }
        TCellGraphic* n = NodeObject(r);
        if (!n || n->CellVar() != QVariant(Colindex)) {
            ++r;
            continue;
        }
        current = Cells(Colindex + 1, r);
        RemoveNode(RealRowIndex(r));
        if (!g.MergeHeader) {
            if (g.HeaderColor != clNone)
                SetRowColor(r, clNone);
            if (g.HeaderColorTo != clNone)
                SetRowColorTo(r, clNone);
        }
        RemoveChildRow(RealRowIndex(r));
    }
}

// ---- group calculations ----------------------------------------------------------------------

void TVerIvovavOzed::GroupCalc(int Colindex, int method)
{
    int r = FixedRows();
    while (r < RowCount()) {
        if (!IsNode(r) || GetNodeState(r)) {
            ++r;
            continue;
        }
        const int s = GetNodeSpan(r);
        const int from = r + 1, to = r + s - 1;
        const int target = FGrouping->Summary ? r + s : r;
        switch (method) {
        case 1: SetFloats(Colindex, target, ColumnSum(Colindex, from, to)); break;
        case 2: SetFloats(Colindex, target, ColumnAvg(Colindex, from, to)); break;
        case 3: SetFloats(Colindex, target, ColumnMin(Colindex, from, to)); break;
        case 4: SetFloats(Colindex, target, ColumnMax(Colindex, from, to)); break;
        case 5: SetInts(Colindex, target, s - 1); break;
        case 6: SetFloats(Colindex, target, GroupCustomCalc(Colindex, from, to)); break;
        case 7: SetFloats(Colindex, target, ColumnDistinct(Colindex, from, to)); break;
        case 8: SetFloats(Colindex, target, ColumnStdDev(Colindex, from, to)); break;
        default: break;
        }
        r += std::max(s, 1);
    }
}

// The group calculations that the floating footer also knows show the column's total there.
void TVerIvovavOzed::GroupCalcWithFooter(int ACol, int Method, TColumnCalcType Calc)
{
    GroupCalc(ACol, Method);
    if (FFloatingFooter->Visible())
        FFloatingFooter->SetColumnCalc(ACol, Calc);
}

void TVerIvovavOzed::GroupSum(int ACol) { GroupCalcWithFooter(ACol, 1, acSUM); }

void TVerIvovavOzed::GroupAvg(int ACol) { GroupCalcWithFooter(ACol, 2, acAVG); }
void TVerIvovavOzed::GroupMin(int ACol) { GroupCalcWithFooter(ACol, 3, acMIN); }
void TVerIvovavOzed::GroupMax(int ACol) { GroupCalcWithFooter(ACol, 4, acMAX); }
void TVerIvovavOzed::GroupCount(int ACol) { GroupCalcWithFooter(ACol, 5, acCOUNT); }
void TVerIvovavOzed::GroupCustomCalc(int ACol) { GroupCalc(ACol, 6); }

void TVerIvovavOzed::GroupDistinct(int ACol) { GroupCalc(ACol, 7); }

void TVerIvovavOzed::GroupStdDev(int ACol) { GroupCalc(ACol, 8); }

// ---- the group count in header rows ----------------------------------------------------------

void TVerIvovavOzed::GroupCountDisplText(int ACol, int ARow, QString& Value)
{
    if (!FGrouping->ShowGroupCount || ACol != 1 || !IsNode(ARow))
        return;
    const int n = GetNodeSpan(ARow) - GetSubNodeCount(ARow) - 1;
    const QString plain = QStringLiteral(" (") + QString::number(n) + QLatin1Char(')');
    const QString& fmt = FGrouping->GroupCountFormat;
    if (fmt.isEmpty()) {
        Value += plain;
        return;
    }
    // The format is the application's text: one that does not take exactly this one integer
    // (it raises, or its result does not depend on the count) gets the plain form.
    try {
        const QString s = platform::Format(fmt, {n});
        if (s == platform::Format(fmt, {n + 1}))
            Value += plain;
        else
            Value += s;
    } catch (const std::exception&) {
        Value += plain;
    }
}
