// The row filter on 100,000 rows beside its peers, in one run:
//   ApplyFilter of the string grid (condition "*7*" on one column) beside QSortFilterProxyModel
//   filtering the same rows of a QStandardItemModel with the same wildcard;
//   a repaint of the header row with FilterDropDownAuto (the painter asks each header cell for
//   its value list) beside the same repaint without filter buttons;
//   building one column's value list as FillFilterDropDown does (unchanged texts, and after an
//   edit of one cell) beside inserting each value into the sorted list one after the other (how
//   it was built before).
#include "bench/main/TurnAbout.h"
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

// Made on first use and let go before the application object ends (see main below): a static
// widget would be destroyed after it.
std::unique_ptr<GridHost> gGrid;
GridHost& Grid()
{
    if (!gGrid)
        gGrid = std::make_unique<GridHost>();
    return *gGrid;
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

std::unique_ptr<ModelHost> gModel;
ModelHost& Model()
{
    if (!gModel)
        gModel = std::make_unique<ModelHost>();
    return *gModel;
}

// The texts of the filtered column, for the flat loop. Made once, on first use beside the grid's
// own, so that the flat loop reads texts laid out as when they were made: texts made anew in each
// repetition would land in the gaps the grid's filtering left on the heap, and the flat figure
// would move with the grid's way of freeing memory.
const std::vector<QString>& FlatTexts()
{
    static const std::vector<QString> v = [] {
        std::vector<QString> t;
        t.reserve(kRows);
        for (int r = 1; r <= kRows; ++r)
            t.push_back(Distinct(r));
        return t;
    }();
    return v;
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

// A wildcard pattern ("*" any sequence, "?" one character) read once: its parts between the
// stars, the first placed at the start, the last at the end and the others leftmost in between.
// The flat loop's matcher, doing the work the grid's matcher does for a pattern of this form.
class FlatWildcard {
public:
    explicit FlatWildcard(const QString& pattern) : star_(pattern.contains(u'*'))
    {
        for (const QString& p : pattern.split(u'*'))
            parts_.push_back(p);
    }
    bool Matches(QStringView v) const
    {
        if (!star_)
            return At(parts_.front(), v, 0) && parts_.front().size() == v.size();
        const QString& first = parts_.front();
        const QString& last = parts_.back();
        const qsizetype lastAt = v.size() - last.size();
        if (lastAt < first.size() || !At(first, v, 0) || !At(last, v, lastAt))
            return false;
        qsizetype lo = first.size();
        for (size_t k = 1; k + 1 < parts_.size(); ++k) {
            const QString& p = parts_[k];
            if (p.isEmpty())
                continue;
            qsizetype at = lo;
            if (p.contains(u'?')) {
                while (at + p.size() <= lastAt && !At(p, v, at))
                    ++at;
                if (at + p.size() > lastAt)
                    return false;
            } else if ((at = v.left(lastAt).indexOf(p, lo)) < 0)
                return false;
            lo = at + p.size();
        }
        return true;
    }

private:
    static bool At(QStringView p, QStringView v, qsizetype at)
    {
        if (p.size() > v.size() - at)
            return false;
        for (qsizetype k = 0; k < p.size(); ++k)
            if (p[k] != u'?' && p[k] != v[at + k])
                return false;
        return true;
    }
    bool star_;
    std::vector<QString> parts_;
};

// ApplyFilter and a flat loop over the same texts turn about. The flat loop applies the same
// wildcard "*7*" (read once, as the grid reads its condition once per filter) to each text and
// keeps the texts that match; a bare contains('7') would skip the pattern's work.
void BM_ApplyFilter_TurnAbout_AdvGridVsFlatLoop(benchmark::State& state)
{
    const std::vector<QString>& texts = FlatTexts();
    TVerIvovavOzed& g = *Grid().grid;
    g.Filter().Clear();
    TFilterData* d = g.Filter().Add();
    d->Column = 1;
    d->Condition = QStringLiteral("*7*");
    std::vector<QString> shownTexts;
    int shown = 0;
    bench::TurnAbout(state,
                     {[&] { g.RemoveLastFilter(); },
                      [&] {
                          g.ApplyFilter();
                          shown = g.RowCount() - g.FixedRows();
                      }},
                     {[&] { shownTexts.clear(); },
                      [&] {
                          const FlatWildcard pattern(QStringLiteral("*7*"));
                          shownTexts.reserve(texts.size());
                          for (const QString& t : texts)
                              if (pattern.Matches(t))
                                  shownTexts.push_back(t);
                      }});
    g.RemoveLastFilter();
    g.Filter().Clear();
    state.counters["shown"] = shown;
    state.counters["flat_shown"] = double(shownTexts.size());
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

// The header row alone, repainted. The first paint after the buttons are switched on asks each
// header cell for its value list (cold); later paints find the lists made (warm). The cold figure
// switches the setting off and on before each paint.
void HeaderRepaint(benchmark::State& state, bool autoList, bool cold)
{
    TVerIvovavOzed& g = *Grid().grid;
    g.SetFilterDropDownAuto(autoList);
    QWidget* vp = g.viewport();
    const QRegion header(0, 0, vp->width(), g.RowHeights(0));
    QImage image(vp->size(), QImage::Format_RGB32);
    vp->render(&image, QPoint(), header); // the first paint, untimed for the warm figure
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            g.SetFilterDropDownAuto(false);
            vp->render(&image, QPoint(), header);
            g.SetFilterDropDownAuto(autoList);
            state.ResumeTiming();
        }
        vp->render(&image, QPoint(), header);
        benchmark::DoNotOptimize(image.constBits());
    }
    g.SetFilterDropDownAuto(false);
}
void BM_HeaderRepaint_FilterDropDownAuto_Cold(benchmark::State& state) { HeaderRepaint(state, true, true); }
void BM_HeaderRepaint_FilterDropDownAuto_Warm(benchmark::State& state) { HeaderRepaint(state, true, false); }
void BM_HeaderRepaint_NoFilterButtons(benchmark::State& state) { HeaderRepaint(state, false, false); }

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

BENCHMARK(BM_ApplyFilter_TurnAbout_AdvGridVsFlatLoop)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_ApplyFilter_AdvGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyFilter_QSortFilterProxyModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeaderRepaint_FilterDropDownAuto_Cold)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HeaderRepaint_FilterDropDownAuto_Warm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeaderRepaint_NoFilterButtons)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueList_FillFilterDropDown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueList_FillFilterDropDownAfterEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueList_SortedInsertEach)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

// The application ends after the grids and models: they are let go first.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gGrid.reset();
    gModel.reset();
    return 0;
}
