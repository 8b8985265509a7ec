// The floating footer's calculations over 100,000 rows: CalcFooter(-1) of a grid with four
// footer columns (sum, average, minimum, maximum of the same numbers) beside std::accumulate and
// std::minmax_element on a std::vector<double> of those numbers. The grid reads every value from
// its cell text, so the ratio of the two lines is the figure.
#include "grid/AdvGrid.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <numeric>
#include <random>
#include <vector>

namespace {

constexpr int kRows = 100000;

const std::vector<double>& Numbers()
{
    static const std::vector<double> values = [] {
        std::mt19937 gen(4711);
        std::uniform_int_distribution<int> cents(-1000000, 1000000);
        std::vector<double> v;
        v.reserve(kRows);
        for (int i = 0; i < kRows; ++i)
            v.push_back(cents(gen) / 100.0);
        return v;
    }();
    return values;
}

void BM_Footer_CalcFooter(benchmark::State& state)
{
    TVerIvovavOzed grid;
    grid.Loaded();
    grid.SetColCount(5);
    grid.SetRowCount(kRows + 2); // header, the numbers, the footer row
    for (int r = 1; r <= kRows; ++r) {
        const QString text = QString::number(Numbers()[size_t(r - 1)], 'f', 2);
        for (int c = 1; c <= 4; ++c)
            grid.SetGridCell(c, r, text);
    }
    grid.FloatingFooter().SetVisible(true);
    const TColumnCalcType calcs[] = {acSUM, acAVG, acMIN, acMAX};
    grid.FloatingFooter().SetEnableCalculation(false); // set the types without four runs
    for (int c = 1; c <= 4; ++c)
        grid.FloatingFooter().SetColumnCalc(c, calcs[c - 1]);
    grid.FloatingFooter().SetEnableCalculation(true);
    for (auto _ : state) {
        grid.CalcFooter(-1);
        benchmark::DoNotOptimize(grid.Cells(1, kRows + 1));
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    state.counters["sum"] = grid.Floats(1, kRows + 1);
}

// The same texts the grid holds, converted to numbers on every run as the grid converts its cells.
void BM_Footer_VectorAlgorithms(benchmark::State& state)
{
    std::vector<QString> texts;
    texts.reserve(kRows);
    for (const double d : Numbers())
        texts.push_back(QString::number(d, 'f', 2));
    std::vector<double> v(texts.size());
    for (auto _ : state) {
        // Four columns of the same texts, as the grid's four footer columns read them.
        for (int c = 0; c < 4; ++c)
            for (size_t i = 0; i < texts.size(); ++i)
                v[i] = texts[i].toDouble();
        const double sum = std::accumulate(v.begin(), v.end(), 0.0);
        const double avg = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(avg);
        benchmark::DoNotOptimize(*lo);
        benchmark::DoNotOptimize(*hi);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    state.counters["sum"] = std::accumulate(v.begin(), v.end(), 0.0);
}

} // namespace

BENCHMARK(BM_Footer_CalcFooter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Footer_VectorAlgorithms)->Unit(benchmark::kMillisecond);
