// The row filter on 100,000 rows beside its peers, in one run:
//   ApplyFilter of the string grid (condition "*7*" on one column) beside QSortFilterProxyModel
//   filtering the same rows of a QStandardItemModel with the same wildcard;
//   a repaint of the header row with FilterDropDownAuto (the painter asks each header cell for
//   its value list) beside the same repaint without filter buttons;
//   building one column's value list as FillFilterDropDown does (unchanged texts, and after an
//   edit of one cell) beside inserting each value into the sorted list one after the other (how
//   it was built before).
#include "grid/AdvGrid.h"

#include <QApplication>
#include <QImage>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 4;

QString Distinct(int r) { return QStringLiteral("item %1").arg(r); }
QString Repeated(int r) { return QStringLiteral("kind%1").arg(r % 100); }
QString Number(int r) { return QString::number((r * 7919) % 100000); }

struct GridHost {
    QWidget host;
    TVerIvovavOzed* grid;
    GridHost() : grid(new TVerIvovavOzed(&host))
    {
        grid->Loaded();
        grid->SetColCount(kCols);
        grid->SetRowCount(kRows + 1);
        for (int r = 1; r <= kRows; ++r) {
            grid->SetCells(1, r, Distinct(r));
            grid->SetCells(2, r, Repeated(r));
            grid->SetCells(3, r, Number(r));
        }
        for (int c = 0; c < kCols; ++c)
            grid->SetColWidths(c, 150);
        host.resize(700, 400);
        grid->setGeometry(0, 0, 700, 400);
        host.show();
        QApplication::processEvents();
    }
};

GridHost& Grid()
{
    static GridHost g;
    return g;
}

struct ModelHost {
    QStandardItemModel model{kRows, kCols};
    QSortFilterProxyModel proxy;
    ModelHost()
    {
        for (int r = 0; r < kRows; ++r) {
            model.setItem(r, 1, new QStandardItem(Distinct(r + 1)));
            model.setItem(r, 2, new QStandardItem(Repeated(r + 1)));
            model.setItem(r, 3, new QStandardItem(Number(r + 1)));
        }
        proxy.setSourceModel(&model);
        proxy.setFilterKeyColumn(1);
        proxy.setFilterCaseSensitivity(Qt::CaseSensitive);
        benchmark::DoNotOptimize(proxy.rowCount());
    }
};

ModelHost& Model()
{
    static ModelHost m;
    return m;
}

void BM_ApplyFilter_AdvGrid(benchmark::State& state)
{
    TVerIvovavOzed& g = *Grid().grid;
    g.Filter().Clear();
    TFilterData* d = g.Filter().Add();
    d->Column = 1;
    d->Condition = QStringLiteral("*7*");
    int shown = 0;
    for (auto _ : state) {
        g.ApplyFilter();
        shown = g.RowCount() - g.FixedRows();
        state.PauseTiming();
        g.RemoveLastFilter();
        state.ResumeTiming();
    }
    g.Filter().Clear();
    state.counters["shown"] = shown;
}

void BM_ApplyFilter_QSortFilterProxyModel(benchmark::State& state)
{
    ModelHost& m = Model();
    int shown = 0;
    for (auto _ : state) {
        m.proxy.setFilterWildcard(QStringLiteral("*7*"));
        shown = m.proxy.rowCount();
        state.PauseTiming();
        m.proxy.setFilterWildcard(QString());
        benchmark::DoNotOptimize(m.proxy.rowCount());
        state.ResumeTiming();
    }
    state.counters["shown"] = shown;
}

// The header row alone, repainted.
void HeaderRepaint(benchmark::State& state, bool autoList)
{
    TVerIvovavOzed& g = *Grid().grid;
    g.SetFilterDropDownAuto(autoList);
    QWidget* vp = g.viewport();
    const QRegion header(0, 0, vp->width(), g.RowHeights(0));
    QImage image(vp->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        vp->render(&image, QPoint(), header);
        benchmark::DoNotOptimize(image.constBits());
    }
    g.SetFilterDropDownAuto(false);
}
void BM_HeaderRepaint_FilterDropDownAuto(benchmark::State& state) { HeaderRepaint(state, true); }
void BM_HeaderRepaint_NoFilterButtons(benchmark::State& state) { HeaderRepaint(state, false); }

void BM_ValueList_FillFilterDropDown(benchmark::State& state)
{
    TVerIvovavOzed& g = *Grid().grid;
    g.SetFilterDropDownAuto(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(g.FillFilterDropDown(1));
    state.counters["entries"] = double(g.FilterList().Count());
    g.SetFilterDropDownAuto(false);
}

// One cell changes before each call: the list is built anew.
void BM_ValueList_FillFilterDropDownAfterEdit(benchmark::State& state)
{
    TVerIvovavOzed& g = *Grid().grid;
    g.SetFilterDropDownAuto(true);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        g.SetCells(1, 5, Distinct(kRows + (++n % 2)));
        state.ResumeTiming();
        benchmark::DoNotOptimize(g.FillFilterDropDown(1));
    }
    g.SetCells(1, 5, Distinct(5));
    g.SetFilterDropDownAuto(false);
}

void BM_ValueList_SortedInsertEach(benchmark::State& state)
{
    TVerIvovavOzed& g = *Grid().grid;
    platform::TStringList list;
    for (auto _ : state) {
        list.Clear();
        list.SetSorted(true);
        list.SetDuplicates(platform::dupIgnore);
        for (int r = g.FixedRows(); r < g.RowCount(); ++r) {
            const QString s = g.Cells(1, r).trimmed();
            list.Add(s.contains(QLatin1Char(' ')) ? s + QStringLiteral("=\"") + s + QLatin1Char('"') : s);
        }
        benchmark::DoNotOptimize(list.Count());
    }
}

BENCHMARK(BM_ApplyFilter_AdvGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyFilter_QSortFilterProxyModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeaderRepaint_FilterDropDownAuto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeaderRepaint_NoFilterButtons)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueList_FillFilterDropDown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueList_FillFilterDropDownAfterEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueList_SortedInsertEach)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
