// One full repaint of a 40 x 20 cell window of a 100,000-row column grid (header row, row-number
// column, a data check-box column, banded rows), beside a QTableWidget showing the same cells,
// in the same run. Both controls hold 100,000 rows; the cells of the window are filled.
#include "grid/AdvCGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QTableWidget>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 40;
constexpr int kVisibleRows = 20;
constexpr int kColWidth = 48;
constexpr int kRowHeight = 20;
constexpr int kWidth = kCols * kColWidth + 4;
constexpr int kHeight = (kVisibleRows + 1) * kRowHeight + 4;

QString CellText(int c, int r)
{
    if (c == 1)
        return r % 3 ? QStringLiteral("Y") : QStringLiteral("N");
    return QString::number(r * 7 + c);
}

void BM_GridPaint(benchmark::State& state)
{
    QWidget host;
    auto* g = new TZidIzavodUraz(&host);
    g->Loaded();
    g->SetColCount(kCols);
    g->SetRowCount(kRows);
    g->SetDefaultRowHeight(kRowHeight);
    for (int c = 0; c < kCols; ++c) {
        TGridColumnItem* d = g->Columns().Items(c);
        d->SetHeader(QStringLiteral("Col %1").arg(c));
        d->SetEditor(c == 1 ? edDataCheckBox : edNormal);
        d->SetWidth(kColWidth);
    }
    g->Bands().SetActive(true);
    g->setFixedSize(kWidth, kHeight);
    g->SetTopRow(50000);
    for (int r = 50000; r < 50000 + kVisibleRows; ++r)
        for (int c = 1; c < kCols; ++c)
            g->SetCells(c, r, CellText(c, r));
    QImage image(g->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        g->viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_QTableWidgetPaint(benchmark::State& state)
{
    QTableWidget table;
    table.setColumnCount(kCols);
    table.setRowCount(kRows);
    for (int c = 0; c < kCols; ++c) {
        table.setColumnWidth(c, kColWidth);
        table.setHorizontalHeaderItem(c, new QTableWidgetItem(QStringLiteral("Col %1").arg(c)));
    }
    table.verticalHeader()->setDefaultSectionSize(kRowHeight);
    table.setAlternatingRowColors(true);
    table.setFixedSize(kWidth, kHeight);
    for (int r = 50000; r < 50000 + kVisibleRows; ++r)
        for (int c = 1; c < kCols; ++c) {
            auto* item = new QTableWidgetItem(c == 1 ? QString() : CellText(c, r));
            if (c == 1)
                item->setCheckState(CellText(c, r) == QLatin1String("Y") ? Qt::Checked : Qt::Unchecked);
            table.setItem(r, c, item);
        }
    table.scrollToItem(table.item(50000, 1), QAbstractItemView::PositionAtTop);
    QImage image(table.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        table.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_GridPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTableWidgetPaint)->Unit(benchmark::kMillisecond);

} // namespace
