// A column grid set up like the S7comm read table (513 rows, 19 columns with data check-box and
// combo columns, one column hidden): fill every data cell and read it back, check boxes through
// their state; the same work on a QTableWidget, in the same run, for comparison.
#include "grid/AdvCGrid.h"

#include <QApplication>
#include <QTableWidget>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 513;
constexpr int kCols = 19;

bool IsCheckColumn(int c) { return c == 1 || c == 16 || c == 17; }

QString CellText(int c, int r)
{
    if (IsCheckColumn(c))
        return (r + c) % 2 ? QStringLiteral("Y") : QStringLiteral("N");
    return QString::number(r) + QLatin1Char(':') + QString::number(c);
}

void SetUp(TZidIzavodUraz& g)
{
    g.SetColCount(kCols);
    g.SetRowCount(kRows);
    for (int c = 0; c < kCols; ++c) {
        TGridColumnItem* d = g.Columns().Items(c);
        d->SetHeader(QStringLiteral("Column %1").arg(c));
        d->SetEditor(IsCheckColumn(c) ? edDataCheckBox : (c == 4 || c == 7 ? edComboList : edNormal));
        d->SetWidth(60);
    }
    g.HideColumn(18);
}

void BM_ColumnGrid(benchmark::State& state)
{
    for (auto _ : state) {
        QWidget host;
        auto* g = new TZidIzavodUraz(&host);
        g->Loaded();
        SetUp(*g);
        for (int r = 1; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                g->SetCells(c, r, CellText(c, r));
        qsizetype total = 0;
        for (int r = 1; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) {
                if (IsCheckColumn(c)) {
                    bool checked = false;
                    g->GetCheckBoxState(c, r, checked);
                    total += checked;
                } else
                    total += g->Cells(c, r).size();
            }
        benchmark::DoNotOptimize(total);
    }
}

void BM_QTableWidget(benchmark::State& state)
{
    for (auto _ : state) {
        QTableWidget table;
        table.setColumnCount(kCols);
        table.setRowCount(kRows);
        table.setColumnHidden(18, true);
        for (int r = 1; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) {
                auto* item = new QTableWidgetItem(CellText(c, r));
                if (IsCheckColumn(c))
                    item->setCheckState(CellText(c, r) == QLatin1String("Y") ? Qt::Checked : Qt::Unchecked);
                table.setItem(r, c, item);
            }
        qsizetype total = 0;
        for (int r = 1; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) {
                if (IsCheckColumn(c))
                    total += table.item(r, c)->checkState() == Qt::Checked;
                else
                    total += table.item(r, c)->text().size();
            }
        benchmark::DoNotOptimize(total);
    }
}

BENCHMARK(BM_ColumnGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTableWidget)->Unit(benchmark::kMillisecond);

} // namespace
