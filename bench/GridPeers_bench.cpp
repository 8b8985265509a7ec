// 100,000 rows x 20 columns of short texts in a shown 1200 x 800 window: the column grid (through
// Cells and through its raw SetGridCell path), the string grid, a QTableWidget and a flat
// std::vector<QString> of the same texts, side by side in one run. Each benchmark names the
// operation first and the control last, so that the ratios are read off neighbouring lines:
//   fill every cell, read every cell, repaint the full window at row 50,000, scroll the whole
//   grid page by page with a paint per page, insert 1,000 rows in the middle in one call and
//   remove them again in one call.
// The string grid has no call that inserts or removes many rows at once, so those two rows pair
// the column grid with QTableWidget and the flat vector only.
#include "bench/main/ShownWindow.h"
#include "bench/main/TurnAbout.h"
#include "grid/AdvGrid.h"
#include "platform/StringGrid.h"

#include <QApplication>
#include <QImage>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 20;
constexpr int kWidth = 1200;
constexpr int kHeight = 800;
constexpr int kMiddle = 50000;
constexpr int kBlock = 1000;

QString CellText(int c, int r) { return QString::number(r) + QLatin1Char(':') + QString::number(c); }

// Each control sits alone in a shown top-level window of the size.
using Window = bench::ShownWindow<kWidth, kHeight>;

// The column grid, counting the cells it paints (the pairing check: both controls of a pair must
// paint every page and the same cells per page).
class CountedAdvGrid : public TVerIvovavOzed {
public:
    using TVerIvovavOzed::TVerIvovavOzed;
    long long cells = 0;
    void DrawGridCell(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) override
    {
        ++cells;
        TVerIvovavOzed::DrawGridCell(ACanvas, ACol, ARow, ARect, AState);
    }
};

class CountedDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    mutable long long cells = 0;
    void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override
    {
        ++cells;
        QStyledItemDelegate::paint(p, o, i);
    }
};

struct AdvHost : Window {
    CountedAdvGrid* grid;
    AdvHost() : grid(new CountedAdvGrid(&host))
    {
        grid->Loaded();
        grid->SetColCount(kCols);
        grid->SetRowCount(kRows);
        Show(grid);
    }
};

struct StringHost : Window {
    TStringGrid* grid;
    StringHost() : grid(new TStringGrid(&host))
    {
        grid->SetColCount(kCols);
        grid->SetRowCount(kRows);
        Show(grid);
    }
};

// QTableWidget as it comes (its default sections are larger than the column grid's cells, and
// its headers are painted by widgets of their own), or with the column grid's cell geometry:
// sections of the grid's column and row pitch and no headers, so that its viewport is the grid's
// and shows the same cells, the grid's fixed row and column among them.
struct TableHost : Window {
    QTableWidget* table;
    CountedDelegate* delegate;
    explicit TableHost(bool gridCells = false) : table(new QTableWidget(&host)), delegate(new CountedDelegate(table))
    {
        table->setItemDelegate(delegate);
        table->setColumnCount(kCols);
        table->setRowCount(kRows);
        if (gridCells) {
            TVerIvovavOzed model(nullptr); // the grid's own defaults
            model.Loaded();
            for (QHeaderView* h : {table->horizontalHeader(), table->verticalHeader()}) {
                h->setMinimumSectionSize(1);
                h->hide();
            }
            table->horizontalHeader()->setDefaultSectionSize(model.DefaultColWidth() + model.GridLineWidth());
            table->verticalHeader()->setDefaultSectionSize(model.DefaultRowHeight() + model.GridLineWidth());
        }
        Show(table);
    }
};

using Flat = std::vector<QString>;

void FillAdvCells(TVerIvovavOzed& g)
{
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            g.SetCells(c, r, CellText(c, r));
}
void FillAdvGridCell(TVerIvovavOzed& g)
{
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            g.SetGridCell(c, r, CellText(c, r));
}
void FillString(TStringGrid& g)
{
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            g.SetCells(c, r, CellText(c, r));
}
void FillTable(QTableWidget& t)
{
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            t.setItem(r, c, new QTableWidgetItem(CellText(c, r)));
}
void FillFlat(Flat& f)
{
    f.assign(size_t(kRows) * kCols, QString());
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            f[size_t(r) * kCols + size_t(c)] = CellText(c, r);
}

// Filled once, shared by the read, paint and row benchmarks.
AdvHost& FilledAdv()
{
    static auto* h = [] { auto* x = new AdvHost; FillAdvGridCell(*x->grid); return x; }();
    return *h;
}
StringHost& FilledString()
{
    static auto* h = [] { auto* x = new StringHost; FillString(*x->grid); return x; }();
    return *h;
}
TableHost& FilledTable()
{
    static auto* h = [] { auto* x = new TableHost; FillTable(*x->table); return x; }();
    return *h;
}
TableHost& FilledGridCellsTable()
{
    static auto* h = [] { auto* x = new TableHost(true); FillTable(*x->table); return x; }();
    return *h;
}
Flat& FilledFlat()
{
    static auto* f = [] { auto* x = new Flat; FillFlat(*x); return x; }();
    return *f;
}

// A fresh control per iteration; only the fill is timed.
template <class Host, class Fill> void RunFill(benchmark::State& state, Fill fill)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto h = std::make_unique<Host>();
        state.ResumeTiming();
        fill(*h);
        state.PauseTiming();
        h.reset();
        state.ResumeTiming();
    }
}

void BM_Fill_Flat(benchmark::State& state) { RunFill<Flat>(state, FillFlat); }

// The fill through Cells and the flat fill turn about on a heap both sides have warmed; each side
// lets its previous control go untimed before its next fill.
void BM_Fill_TurnAbout_AdvGridCellsVsFlat(benchmark::State& state)
{
    std::unique_ptr<AdvHost> grid;
    Flat flat;
    bench::TurnAbout(state,
                     {[&] {
                          grid.reset();
                          grid = std::make_unique<AdvHost>();
                      },
                      [&] { FillAdvCells(*grid->grid); }},
                     {[&] { Flat().swap(flat); }, [&] { FillFlat(flat); }});
}
void BM_Fill_QTableWidget(benchmark::State& state)
{
    RunFill<TableHost>(state, [](TableHost& h) { FillTable(*h.table); });
}
void BM_Fill_StringGrid(benchmark::State& state)
{
    RunFill<StringHost>(state, [](StringHost& h) { FillString(*h.grid); });
}
void BM_Fill_AdvGrid_Cells(benchmark::State& state)
{
    RunFill<AdvHost>(state, [](AdvHost& h) { FillAdvCells(*h.grid); });
}
void BM_Fill_AdvGrid_SetGridCell(benchmark::State& state)
{
    RunFill<AdvHost>(state, [](AdvHost& h) { FillAdvGridCell(*h.grid); });
}

// Every text read once and the lengths summed; `text(c, r)` reads one.
template <class Text>
void ReadLoop(benchmark::State& state, Text text)
{
    for (auto _ : state) {
        qsizetype total = 0;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                total += text(c, r).size();
        benchmark::DoNotOptimize(total);
    }
}
void BM_Read_Flat(benchmark::State& state)
{
    const Flat& f = FilledFlat();
    ReadLoop(state, [&f](int c, int r) -> const QString& { return f[size_t(r) * kCols + size_t(c)]; });
}
// The same read taking each text as a copy, as every grid's Cells returns it.
void BM_Read_FlatCopy(benchmark::State& state)
{
    const Flat& f = FilledFlat();
    for (auto _ : state) {
        qsizetype total = 0;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) {
                const QString s = f[size_t(r) * kCols + size_t(c)];
                benchmark::DoNotOptimize(s.constData());
                total += s.size();
            }
        benchmark::DoNotOptimize(total);
    }
}
void BM_Read_QTableWidget(benchmark::State& state)
{
    const QTableWidget& t = *FilledTable().table;
    ReadLoop(state, [&t](int c, int r) { return t.item(r, c)->text(); });
}
void BM_Read_StringGrid(benchmark::State& state)
{
    const TStringGrid& g = *FilledString().grid;
    ReadLoop(state, [&g](int c, int r) { return g.Cells(c, r); });
}
void BM_Read_AdvGrid(benchmark::State& state)
{
    const TVerIvovavOzed& g = *FilledAdv().grid;
    ReadLoop(state, [&g](int c, int r) { return g.Cells(c, r); });
}

// One full repaint of the window with row 50,000 at the top.
void RenderLoop(benchmark::State& state, QWidget* viewport)
{
    QImage image(viewport->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        viewport->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
void BM_Repaint50000_QTableWidget(benchmark::State& state)
{
    QTableWidget& t = *FilledTable().table;
    t.verticalScrollBar()->setValue(kMiddle);
    RenderLoop(state, t.viewport());
}
void BM_Repaint50000_StringGrid(benchmark::State& state)
{
    TStringGrid& g = *FilledString().grid;
    g.SetTopRow(kMiddle);
    RenderLoop(state, g.viewport());
}
void BM_Repaint50000_AdvGrid(benchmark::State& state)
{
    TVerIvovavOzed& g = *FilledAdv().grid;
    g.SetTopRow(kMiddle);
    RenderLoop(state, g.viewport());
}

// From the top to the end, a page at a time, the window painted after every step. Each control
// reports the pages it painted and the cells it painted per page.
template <class Grid> int ScrollGrid(Grid& g, QImage& image)
{
    int pages = 0;
    g.SetTopRow(g.FixedRows());
    for (;;) {
        g.viewport()->render(&image);
        ++pages;
        const int top = g.TopRow();
        const int next = top + std::max(1, g.VisibleRowCount());
        if (next >= g.RowCount())
            break;
        g.SetTopRow(next); // held at the last full page
        if (g.TopRow() == top)
            break;
    }
    return pages;
}
// One page of QTableWidget: paint, then move on; false once the last page was painted.
bool TablePage(QTableWidget& t, QImage& image)
{
    QScrollBar* bar = t.verticalScrollBar();
    t.viewport()->render(&image);
    if (bar->value() >= bar->maximum())
        return false;
    bar->setValue(bar->value() + std::max(1, bar->pageStep()));
    return true;
}
void CountPages(benchmark::State& state, const char* prefix, int pages, long long cells)
{
    state.counters[std::string(prefix) + "pages"] = pages;
    state.counters[std::string(prefix) + "cells_per_page"] = pages > 0 ? double(cells) / pages : 0;
}
void ScrollTable(benchmark::State& state, TableHost& h)
{
    QTableWidget& t = *h.table;
    QImage image(t.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        int pages = 1;
        h.delegate->cells = 0;
        t.verticalScrollBar()->setValue(0);
        while (TablePage(t, image))
            ++pages;
        CountPages(state, "", pages, h.delegate->cells);
    }
}
void BM_PageScroll_QTableWidget(benchmark::State& state) { ScrollTable(state, FilledTable()); }
void BM_PageScroll_QTableWidget_GridCells(benchmark::State& state) { ScrollTable(state, FilledGridCellsTable()); }
void BM_PageScroll_StringGrid(benchmark::State& state)
{
    TStringGrid& g = *FilledString().grid;
    QImage image(g.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state)
        state.counters["pages"] = ScrollGrid(g, image);
}
void BM_PageScroll_AdvGrid(benchmark::State& state)
{
    CountedAdvGrid& g = *FilledAdv().grid;
    QImage image(g.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        g.cells = 0;
        const int pages = ScrollGrid(g, image);
        CountPages(state, "", pages, g.cells);
    }
}

// The pairs above run one after the other, and on a shared, loaded machine the conditions change
// between them. These two run the controls in turn, a paint (or a page) each, every step timed on
// the thread's CPU clock, and report each control's time beside QTableWidget's in the same
// conditions: "<control>_ratio" is its time over QTableWidget's.

struct Lap {
    double ms = 0;
    template <class F> void Run(F f)
    {
        const double t0 = bench::ThreadMs();
        f();
        ms += bench::ThreadMs() - t0;
    }
};

void Report(benchmark::State& state, const Lap& table, const Lap& string, const Lap& adv, double runs)
{
    state.counters["QTableWidget_ms"] = table.ms / runs;
    state.counters["StringGrid_ms"] = string.ms / runs;
    state.counters["AdvGrid_ms"] = adv.ms / runs;
    state.counters["StringGrid_ratio"] = string.ms / table.ms;
    state.counters["AdvGrid_ratio"] = adv.ms / table.ms;
}

void BM_Repaint50000_Interleaved(benchmark::State& state)
{
    QTableWidget& t = *FilledTable().table;
    TStringGrid& s = *FilledString().grid;
    TVerIvovavOzed& a = *FilledAdv().grid;
    t.verticalScrollBar()->setValue(kMiddle);
    s.SetTopRow(kMiddle);
    a.SetTopRow(kMiddle);
    QImage ti(t.viewport()->size(), QImage::Format_RGB32), si(s.viewport()->size(), QImage::Format_RGB32),
        ai(a.viewport()->size(), QImage::Format_RGB32);
    Lap lt, ls, la;
    double runs = 0;
    for (auto _ : state) {
        lt.Run([&] { t.viewport()->render(&ti); });
        ls.Run([&] { s.viewport()->render(&si); });
        la.Run([&] { a.viewport()->render(&ai); });
        ++runs;
    }
    Report(state, lt, ls, la, runs);
}

// One page of a grid: paint, then move on; false once the last page was painted.
template <class Grid> bool GridPage(Grid& g, QImage& image)
{
    g.viewport()->render(&image);
    const int top = g.TopRow();
    const int next = top + std::max(1, g.VisibleRowCount());
    if (next >= g.RowCount())
        return false;
    g.SetTopRow(next);
    return g.TopRow() != top;
}

void PageScrollInterleaved(benchmark::State& state, TableHost& th)
{
    QTableWidget& t = *th.table;
    TStringGrid& s = *FilledString().grid;
    CountedAdvGrid& a = *FilledAdv().grid;
    QImage ti(t.viewport()->size(), QImage::Format_RGB32), si(s.viewport()->size(), QImage::Format_RGB32),
        ai(a.viewport()->size(), QImage::Format_RGB32);
    Lap lt, ls, la;
    double runs = 0;
    int tPages = 0, aPages = 0;
    for (auto _ : state) {
        t.verticalScrollBar()->setValue(0);
        s.SetTopRow(s.FixedRows());
        a.SetTopRow(a.FixedRows());
        th.delegate->cells = 0;
        a.cells = 0;
        tPages = aPages = 0;
        bool tMore = true, sMore = true, aMore = true;
        while (tMore || sMore || aMore) {
            if (tMore) {
                lt.Run([&] { tMore = TablePage(t, ti); });
                ++tPages;
            }
            if (sMore)
                ls.Run([&] { sMore = GridPage(s, si); });
            if (aMore) {
                la.Run([&] { aMore = GridPage(a, ai); });
                ++aPages;
            }
        }
        ++runs;
    }
    Report(state, lt, ls, la, runs);
    CountPages(state, "QTableWidget_", tPages, th.delegate->cells);
    CountPages(state, "AdvGrid_", aPages, a.cells);
}
void BM_PageScroll_Interleaved(benchmark::State& state) { PageScrollInterleaved(state, FilledTable()); }
// The same with QTableWidget showing the column grid's cells: the like-for-like pairing.
void BM_PageScroll_GridCells_Interleaved(benchmark::State& state)
{
    PageScrollInterleaved(state, FilledGridCellsTable());
}

// Insert 1,000 rows at row 50,000 in one call (timed), then take them out again (not timed), and
// the reverse for the removal.
template <class Insert, class Remove>
void RunRows(benchmark::State& state, bool timeInsert, Insert insert, Remove remove)
{
    for (auto _ : state) {
        if (!timeInsert)
            state.PauseTiming();
        insert();
        if (!timeInsert)
            state.ResumeTiming();
        else
            state.PauseTiming();
        remove();
        if (timeInsert)
            state.ResumeTiming();
    }
}
void FlatInsert()
{
    Flat& f = FilledFlat();
    f.insert(f.begin() + ptrdiff_t(kMiddle) * kCols, size_t(kBlock) * kCols, QString());
}
void FlatRemove()
{
    Flat& f = FilledFlat();
    const auto at = f.begin() + ptrdiff_t(kMiddle) * kCols;
    f.erase(at, at + ptrdiff_t(kBlock) * kCols);
}
void TableInsert() { FilledTable().table->model()->insertRows(kMiddle, kBlock); }
void TableRemove() { FilledTable().table->model()->removeRows(kMiddle, kBlock); }
void AdvInsert() { FilledAdv().grid->InsertRows(kMiddle, kBlock); }
void AdvRemove() { FilledAdv().grid->RemoveRows(kMiddle, kBlock); }

// The vector has room for the block, so each insert shifts the later texts and none reallocates
// (a mean of inserts of which one reallocates tells little); the reallocating insert follows.
void BM_InsertRows_Flat(benchmark::State& state)
{
    FilledFlat().reserve(size_t(kRows + kBlock) * kCols); // filled and grown before the clock runs
    RunRows(state, true, FlatInsert, FlatRemove);
}
void BM_InsertRows_FlatReallocating(benchmark::State& state)
{
    Flat& f = FilledFlat();
    for (auto _ : state) {
        state.PauseTiming();
        f.shrink_to_fit();
        state.ResumeTiming();
        FlatInsert();
        state.PauseTiming();
        FlatRemove();
        state.ResumeTiming();
    }
}
// The other row runs: the grid is filled before the clock runs.
template <auto Fill, auto Insert, auto Remove, bool TimeInsert>
void BM_Rows(benchmark::State& state)
{
    Fill();
    RunRows(state, TimeInsert, Insert, Remove);
}

constexpr int kFillRuns = 3;
constexpr int kScrollRuns = 1;
constexpr int kRowRuns = 5;

BENCHMARK(BM_Fill_TurnAbout_AdvGridCellsVsFlat)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_Fill_Flat)->Unit(benchmark::kMillisecond)->Iterations(kFillRuns);
BENCHMARK(BM_Fill_QTableWidget)->Unit(benchmark::kMillisecond)->Iterations(kFillRuns);
BENCHMARK(BM_Fill_StringGrid)->Unit(benchmark::kMillisecond)->Iterations(kFillRuns);
BENCHMARK(BM_Fill_AdvGrid_Cells)->Unit(benchmark::kMillisecond)->Iterations(kFillRuns);
BENCHMARK(BM_Fill_AdvGrid_SetGridCell)->Unit(benchmark::kMillisecond)->Iterations(kFillRuns);
BENCHMARK(BM_Read_Flat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_FlatCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_QTableWidget)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_StringGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_AdvGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint50000_QTableWidget)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint50000_StringGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint50000_AdvGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageScroll_QTableWidget)->Unit(benchmark::kMillisecond)->Iterations(kScrollRuns);
BENCHMARK(BM_PageScroll_QTableWidget_GridCells)->Unit(benchmark::kMillisecond)->Iterations(kScrollRuns);
BENCHMARK(BM_PageScroll_StringGrid)->Unit(benchmark::kMillisecond)->Iterations(kScrollRuns);
BENCHMARK(BM_PageScroll_AdvGrid)->Unit(benchmark::kMillisecond)->Iterations(kScrollRuns);
BENCHMARK(BM_Repaint50000_Interleaved)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageScroll_Interleaved)->Unit(benchmark::kMillisecond)->Iterations(kScrollRuns);
BENCHMARK(BM_PageScroll_GridCells_Interleaved)->Unit(benchmark::kMillisecond)->Iterations(kScrollRuns);
BENCHMARK(BM_InsertRows_Flat)->Unit(benchmark::kMillisecond)->Iterations(kRowRuns);
BENCHMARK(BM_InsertRows_FlatReallocating)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_TEMPLATE(BM_Rows, FilledTable, TableInsert, TableRemove, true)
    ->Name("BM_InsertRows_QTableWidget")->Unit(benchmark::kMillisecond)->Iterations(kRowRuns);
BENCHMARK_TEMPLATE(BM_Rows, FilledAdv, AdvInsert, AdvRemove, true)
    ->Name("BM_InsertRows_AdvGrid")->Unit(benchmark::kMillisecond)->Iterations(kRowRuns);
BENCHMARK_TEMPLATE(BM_Rows, FilledFlat, FlatInsert, FlatRemove, false)
    ->Name("BM_RemoveRows_Flat")->Unit(benchmark::kMillisecond)->Iterations(kRowRuns);
BENCHMARK_TEMPLATE(BM_Rows, FilledTable, TableInsert, TableRemove, false)
    ->Name("BM_RemoveRows_QTableWidget")->Unit(benchmark::kMillisecond)->Iterations(kRowRuns);
BENCHMARK_TEMPLATE(BM_Rows, FilledAdv, AdvInsert, AdvRemove, false)
    ->Name("BM_RemoveRows_AdvGrid")->Unit(benchmark::kMillisecond)->Iterations(kRowRuns);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        // The first fill of the run would pay alone for taking the memory from the system.
        Flat warm;
        FillFlat(warm);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
