// Grouping a grid of N rows on a column that holds N/100 values (so N/100 groups of 100 rows), at
// 10,000, 100,000 and 1,000,000 rows. The rows come in a shuffled order, so the grouping's own sort
// on the grouped column runs too. Each iteration fills a new grid untimed and times Group alone.
// The figure is the growth from one size to the next: n log n growth is about 12x from 100,000 to
// 1,000,000 rows (10 x log 1,000,000 / log 100,000), and the per-row time says how close it is.
#include "grid/AdvGrid.h"

#include <QApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

void Fill(TVerIvovavOzed& grid, int rows)
{
    std::vector<int> order(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i)
        order[size_t(i)] = i;
    std::mt19937 gen(4711);
    std::shuffle(order.begin(), order.end(), gen);
    grid.SetColCount(4);
    grid.SetRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        const int i = order[size_t(r - 1)];
        grid.SetGridCell(1, r, QStringLiteral("group %1").arg(i / 100, 6, 10, QLatin1Char('0')));
        grid.SetGridCell(2, r, QString::number(i));
        grid.SetGridCell(3, r, QStringLiteral("text %1").arg(i % 977));
    }
}

void BM_Group(benchmark::State& state)
{
    const int rows = int(state.range(0));
    int shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = std::make_unique<TVerIvovavOzed>();
        grid->Loaded();
        Fill(*grid, rows);
        state.ResumeTiming();
        grid->Group(1);
        state.PauseTiming();
        shown = grid->RowCount();
        grid.reset();
        state.ResumeTiming();
    }
    // Header rows: one per group, so the count shows that every group was made.
    state.counters["rows_after"] = shown;
}

// The grouping's own sort alone, for where the time goes.
void BM_GroupSortOnly(benchmark::State& state)
{
    const int rows = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = std::make_unique<TVerIvovavOzed>();
        grid->Loaded();
        Fill(*grid, rows);
        grid->SortSettings().SetColumn(1);
        state.ResumeTiming();
        grid->QSort();
        state.PauseTiming();
        grid.reset();
        state.ResumeTiming();
    }
}

// A reference for the growth the machine gives an n log n sort of texts at these sizes: a
// std::stable_sort of the same (group, number) text pairs.
void BM_StableSortSameTexts(benchmark::State& state)
{
    const int rows = int(state.range(0));
    TVerIvovavOzed grid;
    Fill(grid, rows);
    std::vector<std::pair<QString, QString>> texts;
    for (auto _ : state) {
        state.PauseTiming();
        texts.clear();
        texts.reserve(size_t(rows));
        for (int r = 1; r <= rows; ++r)
            texts.emplace_back(grid.GetGridCell(1, r), grid.GetGridCell(2, r));
        state.ResumeTiming();
        std::stable_sort(texts.begin(), texts.end());
        benchmark::DoNotOptimize(texts.data());
    }
}

BENCHMARK(BM_StableSortSameTexts)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_GroupSortOnly)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Group)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
