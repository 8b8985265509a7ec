// The string grid with 100,000 rows of 20 columns: fill, read back, scroll to the end and paint one
// screen into an image; the same work on a QTableWidget, in the same run, for comparison.
#include "platform/StringGrid.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTableWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;

QString CellText(int c, int r) { return QString::number(r) + QLatin1Char(':') + QString::number(c); }

// `cell(c, r)` for every cell, row by row.
template <class Cell>
void EachCell(Cell cell)
{
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            cell(c, r);
}

void FillGrid(TStringGrid& grid)
{
    grid.resize(800, 600);
    grid.SetColCount(kCols);
    grid.SetRowCount(kRows);
    EachCell([&grid](int c, int r) { grid.SetCells(c, r, CellText(c, r)); });
}

void BM_StringGrid(benchmark::State& state)
{
    for (auto _ : state) {
        TStringGrid grid;
        FillGrid(grid);
        qsizetype total = 0;
        EachCell([&](int c, int r) { total += grid.Cells(c, r).size(); });
        benchmark::DoNotOptimize(total);
        grid.SetTopRow(kRows);
        QImage img(grid.ClientWidth(), grid.ClientHeight(), QImage::Format_RGB32);
        QPainter p(&img);
        grid.PaintTo(p);
        p.end();
        benchmark::DoNotOptimize(img.bits());
    }
}

void BM_QTableWidget(benchmark::State& state)
{
    for (auto _ : state) {
        QTableWidget table;
        table.resize(800, 600);
        table.setColumnCount(kCols);
        table.setRowCount(kRows);
        EachCell([&table](int c, int r) { table.setItem(r, c, new QTableWidgetItem(CellText(c, r))); });
        qsizetype total = 0;
        EachCell([&](int c, int r) { total += table.item(r, c)->text().size(); });
        benchmark::DoNotOptimize(total);
        table.scrollToBottom();
        QImage img(table.viewport()->size(), QImage::Format_RGB32);
        table.viewport()->render(&img);
        benchmark::DoNotOptimize(img.bits());
    }
}

// Scrolling and repainting alone, on a grid filled once.
void BM_StringGridScrollPaint(benchmark::State& state)
{
    TStringGrid grid;
    FillGrid(grid);
    QImage img(grid.ClientWidth(), grid.ClientHeight(), QImage::Format_RGB32);
    int top = 1;
    for (auto _ : state) {
        top = top == 1 ? kRows : 1;
        grid.SetTopRow(top);
        QPainter p(&img);
        grid.PaintTo(p);
    }
}

BENCHMARK(BM_StringGrid)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_QTableWidget)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StringGridScrollPaint)->Unit(benchmark::kMillisecond);

} // namespace
