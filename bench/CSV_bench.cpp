// 100,000 rows x 10 columns of short texts (some with a comma, so they are quoted): the grid's
// SaveToCSV beside a QTextStream writer of the same cells with the same quoting, and the grid's
// LoadFromCSV beside a reader that splits each line at its commas and fills a QTableWidget. The
// ratio of neighbouring lines is the figure.
#include "bench/main/TurnAbout.h"
#include "grid/AdvGrid.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;

QString CellText(int c, int r) { return (c == 3) ? QStringLiteral("a,%1").arg(r) : QStringLiteral("r%1c%2").arg(r).arg(c); }

QTemporaryDir& Dir()
{
    static QTemporaryDir dir;
    return dir;
}

QString PathOf(const char* name) { return Dir().filePath(QString::fromLatin1(name)); }

std::unique_ptr<TVerIvovavOzed> FilledGrid()
{
    auto g = std::make_unique<TVerIvovavOzed>();
    g->Loaded();
    g->SetColCount(kCols);
    g->SetRowCount(kRows);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            g->SetGridCell(c, r, CellText(c, r));
    return g;
}

void BM_SaveToCSV_Grid(benchmark::State& state)
{
    auto g = FilledGrid();
    for (auto _ : state)
        g->SaveToCSV(PathOf("grid.csv"), false);
}

std::vector<QString> FlatCells()
{
    std::vector<QString> cells;
    cells.reserve(size_t(kRows) * kCols);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            cells.push_back(CellText(c, r));
    return cells;
}

void StreamWrite(const std::vector<QString>& cells)
{
    QFile f(PathOf("stream.csv"));
    f.open(QIODevice::WriteOnly);
    QTextStream out(&f);
    size_t i = 0;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c, ++i) {
            if (c)
                out << ',';
            const QString& s = cells[i];
            if (s.contains(QLatin1Char(',')))
                out << '"' << s << '"';
            else
                out << s;
        }
        out << "\r\n";
    }
}

void BM_SaveToCSV_QTextStream(benchmark::State& state)
{
    const std::vector<QString> cells = FlatCells();
    for (auto _ : state)
        StreamWrite(cells);
}

// SaveToCSV and the QTextStream writer turn about.
void BM_SaveToCSV_TurnAbout_GridVsQTextStream(benchmark::State& state)
{
    auto g = FilledGrid();
    const std::vector<QString> cells = FlatCells();
    bench::TurnAbout(state, {nullptr, [&] { g->SaveToCSV(PathOf("grid.csv"), false); }},
                     {nullptr, [&] { StreamWrite(cells); }});
}

void BM_LoadFromCSV_Grid(benchmark::State& state)
{
    FilledGrid()->SaveToCSV(PathOf("load.csv"), false);
    auto g = std::make_unique<TVerIvovavOzed>();
    g->Loaded();
    for (auto _ : state)
        g->LoadFromCSV(PathOf("load.csv"), 0);
}

void BM_LoadFromCSV_QTableWidget(benchmark::State& state)
{
    FilledGrid()->SaveToCSV(PathOf("load.csv"), false);
    QTableWidget table;
    for (auto _ : state) {
        QFile f(PathOf("load.csv"));
        f.open(QIODevice::ReadOnly);
        QTextStream in(&f);
        table.clear();
        table.setColumnCount(kCols);
        table.setRowCount(kRows);
        int r = 0;
        while (!in.atEnd() && r < kRows) {
            const QString line = in.readLine();
            // Split at commas outside quotes, dropping the quotes.
            QStringList fields;
            QString field;
            bool quoted = false;
            for (QChar ch : line) {
                if (ch == QLatin1Char('"'))
                    quoted = !quoted;
                else if (ch == QLatin1Char(',') && !quoted) {
                    fields << field;
                    field.clear();
                } else
                    field += ch;
            }
            fields << field;
            for (int c = 0; c < fields.size() && c < kCols; ++c)
                table.setItem(r, c, new QTableWidgetItem(fields[c]));
            ++r;
        }
    }
}

} // namespace

BENCHMARK(BM_SaveToCSV_TurnAbout_GridVsQTextStream)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_SaveToCSV_QTextStream)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveToCSV_Grid)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadFromCSV_QTableWidget)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadFromCSV_Grid)->Unit(benchmark::kMillisecond)->Iterations(3);
