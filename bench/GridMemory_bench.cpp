// Heap taken per filled cell: 100,000 rows x 20 columns of short texts written into the column
// grid, the string grid, a QTableWidget and a flat std::vector<QString>, each counted from the
// allocator's own figures (bytes in use after the fill minus before the control was made). The
// counter "bytes_per_cell" is the figure to read; the time only says how long the fill took.
#include "grid/AdvGrid.h"
#include "platform/StringGrid.h"

#include <QApplication>
#include <QTableWidget>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;

QString CellText(int c, int r) { return QString::number(r) + QLatin1Char(':') + QString::number(c); }

size_t HeapInUse()
{
    malloc_trim(0);
    // Large blocks (a flat vector's array, say) are mapped apart from the heap's arena: counted too.
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// Makes the control (Make returns an owner), fills it, and reports the heap it holds per cell.
template <class Make, class Fill> void Measure(benchmark::State& state, Make make, Fill fill)
{
    double perCell = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        auto owner = make();
        fill(*owner);
        const size_t after = HeapInUse();
        perCell = double(after - before) / (double(kRows) * kCols);
        state.PauseTiming();
        owner.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_cell"] = perCell;
}

void BM_Memory_Flat(benchmark::State& state)
{
    Measure(
        state, [] { return std::make_unique<std::vector<QString>>(); },
        [](std::vector<QString>& f) {
            f.assign(size_t(kRows) * kCols, QString());
            for (int r = 0; r < kRows; ++r)
                for (int c = 0; c < kCols; ++c)
                    f[size_t(r) * kCols + size_t(c)] = CellText(c, r);
        });
}
void BM_Memory_QTableWidget(benchmark::State& state)
{
    Measure(
        state, [] { return std::make_unique<QTableWidget>(); },
        [](QTableWidget& t) {
            t.setColumnCount(kCols);
            t.setRowCount(kRows);
            for (int r = 0; r < kRows; ++r)
                for (int c = 0; c < kCols; ++c)
                    t.setItem(r, c, new QTableWidgetItem(CellText(c, r)));
        });
}
void BM_Memory_StringGrid(benchmark::State& state)
{
    Measure(
        state, [] { return std::make_unique<TStringGrid>(nullptr); },
        [](TStringGrid& g) {
            g.SetColCount(kCols);
            g.SetRowCount(kRows);
            for (int r = 0; r < kRows; ++r)
                for (int c = 0; c < kCols; ++c)
                    g.SetCells(c, r, CellText(c, r));
        });
}
void BM_Memory_AdvGrid(benchmark::State& state)
{
    Measure(
        state, [] { return std::make_unique<TVerIvovavOzed>(nullptr); },
        [](TVerIvovavOzed& g) {
            g.Loaded();
            g.SetColCount(kCols);
            g.SetRowCount(kRows);
            for (int r = 0; r < kRows; ++r)
                for (int c = 0; c < kCols; ++c)
                    g.SetCells(c, r, CellText(c, r));
        });
}

} // namespace

BENCHMARK(BM_Memory_Flat)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memory_QTableWidget)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memory_StringGrid)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memory_AdvGrid)->Iterations(1)->Unit(benchmark::kMillisecond);
