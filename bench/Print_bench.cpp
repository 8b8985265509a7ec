// Printing a 2,000-row, 8-column grid to a PDF file, beside QTextDocument printing the same table
// to a PDF of the same page size and resolution, in the same run.
#include "grid/AdvGrid.h"
#include "platform/Printer.h"

#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 2000;
constexpr int kCols = 8;
constexpr int kDpi = 300;

QString CellText(int c, int r) { return QStringLiteral("R%1 C%2 %3").arg(r).arg(c).arg(r * 31 + c * 7); }

void BM_GridPrintPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    QWidget host;
    auto* g = new TVerIvovavOzed(&host);
    g->SetColCount(kCols);
    g->SetRowCount(kRows);
    g->Loaded();
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            g->SetCells(c, r, CellText(c, r));
    g->PrintSettings().SetPageNr(ppBottomCenter);
    platform::TPrinter& p = platform::Printer();
    p.SetOutputFileName(dir.filePath("grid.pdf"));
    p.SetResolution(kDpi);
    p.SetPageSize(QPageSize(QPageSize::A4));
    for (auto _ : state)
        g->Print();
    state.counters["pages"] = g->PrintNrOfPages();
}
BENCHMARK(BM_GridPrintPdf)->Unit(benchmark::kMillisecond);

void BM_TextDocumentPrintPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextTable* table = cursor.insertTable(kRows, kCols);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            table->cellAt(r, c).firstCursorPosition().insertText(CellText(c, r));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("doc.pdf"));
    printer.setResolution(kDpi);
    printer.setPageSize(QPageSize(QPageSize::A4));
    for (auto _ : state)
        doc.print(&printer);
}
BENCHMARK(BM_TextDocumentPrintPdf)->Unit(benchmark::kMillisecond);

} // namespace
