// Sorting 100,000 rows by a text column: the string grid's QSort (its own partition, default
// settings, so every compare reads the cells and detects the style) beside std::stable_sort of the
// same QStrings in a vector and QTableWidget::sortItems on a table holding the same texts. Before
// each timed sort the rows are put back in a shuffled order, untimed: the grid and the table by a
// sort on a column of random keys, the vector by a copy. The ratios of the lines are the figures.
#include "bench/main/TurnAbout.h"
#include "grid/AdvGrid.h"

#include <QApplication>
#include <QTableWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

constexpr int kRows = 100000;

// Short words of lower-case letters, a few repeated, with a shuffled order key beside them.
struct Texts {
    std::vector<QString> words;
    std::vector<QString> keys;
    Texts()
    {
        std::mt19937 gen(4711);
        std::uniform_int_distribution<int> len(3, 10), letter(0, 25);
        for (int i = 0; i < kRows; ++i) {
            QString w;
            const int n = len(gen);
            for (int k = 0; k < n; ++k)
                w.append(QChar(u'a' + letter(gen)));
            words.push_back(w);
        }
        std::vector<int> order(kRows);
        for (int i = 0; i < kRows; ++i)
            order[size_t(i)] = i;
        std::shuffle(order.begin(), order.end(), gen);
        for (int i = 0; i < kRows; ++i)
            keys.push_back(QStringLiteral("%1").arg(order[size_t(i)], 6, 10, QLatin1Char('0')));
    }
};

const Texts& Data()
{
    static const Texts t;
    return t;
}

// The words in column 1 and the shuffling keys in column 2, below the header row.
void FillGrid(TVerIvovavOzed& grid)
{
    grid.Loaded();
    grid.SetColCount(3);
    grid.SetRowCount(kRows + 1);
    for (int r = 1; r <= kRows; ++r) {
        grid.SetGridCell(1, r, Data().words[size_t(r - 1)]);
        grid.SetGridCell(2, r, Data().keys[size_t(r - 1)]);
    }
}

void BM_Sort_AdvGridQSort(benchmark::State& state)
{
    TVerIvovavOzed grid;
    FillGrid(grid);
    for (auto _ : state) {
        state.PauseTiming();
        grid.Sort(2, sdAscending);
        state.ResumeTiming();
        grid.Sort(1, sdAscending);
    }
    benchmark::DoNotOptimize(grid.Cells(1, 1));
}

void BM_Sort_StdStableSort(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<QString> v = Data().words;
        state.ResumeTiming();
        std::stable_sort(v.begin(), v.end());
        benchmark::DoNotOptimize(v.data());
    }
}

void BM_Sort_QTableWidgetSortItems(benchmark::State& state)
{
    QTableWidget table(kRows, 2);
    for (int r = 0; r < kRows; ++r) {
        table.setItem(r, 0, new QTableWidgetItem(Data().words[size_t(r)]));
        table.setItem(r, 1, new QTableWidgetItem(Data().keys[size_t(r)]));
    }
    for (auto _ : state) {
        state.PauseTiming();
        table.sortItems(1);
        state.ResumeTiming();
        table.sortItems(0);
    }
    benchmark::DoNotOptimize(table.item(0, 0));
}

// The grid's sort and std::stable_sort of the same texts turn about: the pair's figure is the
// ratio counter.
void BM_Sort_TurnAbout_AdvGridVsStdStableSort(benchmark::State& state)
{
    TVerIvovavOzed grid;
    FillGrid(grid);
    std::vector<QString> v;
    bench::TurnAbout(state, {[&] { grid.Sort(2, sdAscending); }, [&] { grid.Sort(1, sdAscending); }},
                     {[&] { v = Data().words; }, [&] { std::stable_sort(v.begin(), v.end()); }});
    benchmark::DoNotOptimize(grid.Cells(1, 1));
}

BENCHMARK(BM_Sort_TurnAbout_AdvGridVsStdStableSort)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_Sort_AdvGridQSort)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort_StdStableSort)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort_QTableWidgetSortItems)->Unit(benchmark::kMillisecond);

} // namespace
