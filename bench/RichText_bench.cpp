// RTF cells beside HTML: one repaint of a screen of RTF cells of a 10,000-row column grid, the
// same screen of HTML cells (the grid's mini-language), and QTextDocument::setHtml drawing the same
// content; then the plain text of 10,000 RTF cells beside QTextDocumentFragment::fromHtml of the
// same content made plain.
#include "grid/AdvCGrid.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 10000;
constexpr int kCols = 5;
constexpr int kVisibleRows = 30;
constexpr int kColWidth = 160;
constexpr int kRowHeight = 20;
constexpr int kWidth = kCols * kColWidth + 4;
constexpr int kHeight = (kVisibleRows + 1) * kRowHeight + 4;

QString RtfText(int c, int r)
{
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Tahoma;}}{\\colortbl ;\\red255"
                          "\\green0\\blue0;}\\uc1\\pard\\plain\\f0\\fs16 H\\dn4 2\\up0 O \\b bold\\b0  \\cf1 red\\cf0"
                          "  %1.%2}")
        .arg(r)
        .arg(c);
}

QString HtmlText(int c, int r)
{
    return QStringLiteral("H<sub>2</sub>O <b>bold</b> <font color=\"#FF0000\">red</font> %1.%2").arg(r).arg(c);
}

TZidIzavodUraz* MakeGrid(QWidget& host, bool rtf)
{
    auto* g = new TZidIzavodUraz(&host);
    g->Loaded();
    g->SetColCount(kCols);
    g->SetRowCount(kRows);
    g->SetDefaultRowHeight(kRowHeight);
    for (int c = 0; c < kCols; ++c)
        g->Columns().Items(c)->SetWidth(kColWidth);
    g->setFixedSize(kWidth, kHeight);
    for (int r = 1; r < kRows; ++r)
        for (int c = 1; c < kCols; ++c)
            g->SetCells(c, r, rtf ? RtfText(c, r) : HtmlText(c, r));
    g->SetTopRow(5000);
    return g;
}

void PaintScreen(benchmark::State& state, bool rtf)
{
    QWidget host;
    TZidIzavodUraz* g = MakeGrid(host, rtf);
    QImage image(g->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        g->viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PaintRtfScreen(benchmark::State& state) { PaintScreen(state, true); }
void BM_PaintHtmlScreen(benchmark::State& state) { PaintScreen(state, false); }

// The same screen drawn by setting each visible cell's HTML into a text document.
void BM_PaintQTextDocumentSetHtml(benchmark::State& state)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QTextDocument doc;
    doc.setDocumentMargin(0);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        for (int r = 0; r < kVisibleRows; ++r)
            for (int c = 1; c < kCols; ++c) {
                doc.setHtml(HtmlText(c, 5000 + r));
                doc.setTextWidth(kColWidth - 4);
                p.save();
                p.translate(c * kColWidth + 2, (r + 1) * kRowHeight + 2);
                doc.drawContents(&p, QRectF(0, 0, kColWidth - 4, kRowHeight - 4));
                p.restore();
            }
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PlainTextRtfCells(benchmark::State& state)
{
    QWidget host;
    TZidIzavodUraz* g = MakeGrid(host, true);
    for (auto _ : state) {
        qsizetype n = 0;
        for (int r = 1; r < kRows; ++r) {
            QString v;
            g->GetSaveCellText(1, r, v);
            n += v.size();
        }
        benchmark::DoNotOptimize(n);
    }
}

void BM_PlainTextHtmlFragment(benchmark::State& state)
{
    std::vector<QString> texts;
    for (int r = 1; r < kRows; ++r)
        texts.push_back(HtmlText(1, r));
    for (auto _ : state) {
        qsizetype n = 0;
        for (const QString& t : texts)
            n += QTextDocumentFragment::fromHtml(t).toPlainText().size();
        benchmark::DoNotOptimize(n);
    }
}

} // namespace

BENCHMARK(BM_PaintRtfScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintHtmlScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintQTextDocumentSetHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainTextRtfCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainTextHtmlFragment)->Unit(benchmark::kMillisecond);
