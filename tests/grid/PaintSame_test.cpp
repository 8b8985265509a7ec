// Painted grids compared pixel for pixel with grabs of the same grids made before the cell
// painter was made faster (tests/fixtures/paint/*.png): plain texts, word wrap at blanks and
// inside long words, ellipses, alignments, multi-line cells, HTML and link cells, cell fonts and
// colours, selected and fixed cells, merged cells, check boxes, sort and filter glyphs, scrolled
// and zoomed grids, and the looks that paint the fixed cells themselves.
//
// With KT_WRITE_PAINT_FIXTURES=1 in the environment the grabs are written as the fixtures
// instead of being compared (done once, from the tree before the painting changes).
// On a difference the grab is saved beside the other grabs (build/grabs/paint_same_*.png).
#include "grid/AdvCGrid.h"
#include "grid/AdvGrid.h"
#include "FeatureGrid.h"
#include "TestSupport.h"

#include <QFile>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

bool WriteFixtures()
{
    return qEnvironmentVariableIntValue("KT_WRITE_PAINT_FIXTURES") == 1;
}

QString FixtureFile(const QString& name)
{
    return kt_test::FixturePath(QStringLiteral("paint/") + name + QStringLiteral(".png"));
}

// Compares a grab with its fixture (or writes the fixture). The widget is grabbed twice: the
// painter keeps what it learnt of the texts of the first paint and draws them from that the second
// time, which must not change a pixel either.
void Same(const QString& name, QWidget* w)
{
    const QImage first = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(first == img) << name.toStdString() << ": the second paint differs from the first";
    ASSERT_FALSE(img.isNull()) << name.toStdString();
    if (WriteFixtures()) {
        ASSERT_TRUE(img.save(FixtureFile(name))) << name.toStdString();
        return;
    }
    ASSERT_TRUE(QFile::exists(FixtureFile(name))) << "missing fixture " << name.toStdString();
    const QImage ref = QImage(FixtureFile(name)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(ref.size(), img.size()) << name.toStdString();
    int diff = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(ref.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((a[x] & 0xFFFFFF) != (b[x] & 0xFFFFFF)) {
                if (diff++ == 0) {
                    firstX = x;
                    firstY = y;
                }
            }
    }
    if (diff)
        img.save(kt_test::GrabPath(QStringLiteral("paint_same_") + name + QStringLiteral(".png")));
    EXPECT_EQ(diff, 0) << name.toStdString() << ": " << diff << " pixels differ, first at (" << firstX << ", "
                       << firstY << ")";
}

template <class Grid> struct Host {
    QWidget window;
    Grid* grid;
    Host(int cols, int rows, int w, int h) : grid(new Grid(&window))
    {
        grid->Loaded();
        grid->SetColCount(cols);
        grid->SetRowCount(rows);
        grid->resize(w, h);
        window.resize(w, h);
    }
};

const char* kTexts[] = {
    "plain",
    "two words",
    "a text of several words that wraps in a narrow cell",
    "Averyveryverylongwordwithoutanyblankinit",
    "  leading and trailing blanks  ",
    "many    blanks    between",
    "12345",
    "-3.25",
    "tab\tin text",
    "",
    "end with blank ",
    "x",
    "W W W W W W W W W W W W W W",
    "Grüße ÄÖÜ äöü ß",
    "line",
    "=formula text",
};
constexpr int kTextCount = int(sizeof(kTexts) / sizeof(kTexts[0]));

void FillTexts(TVerIvovavOzed* g, int firstCol, int firstRow)
{
    int k = 0;
    for (int r = firstRow; r < g->RowCount(); ++r)
        for (int c = firstCol; c < g->ColCount(); ++c)
            g->SetCells(c, r, QString::fromUtf8(kTexts[k++ % kTextCount]));
    for (int c = 0; c < g->ColCount(); ++c)
        if (g->FixedRows() > 0)
            g->SetCells(c, 0, QStringLiteral("Head %1").arg(c));
    for (int r = 1; r < g->RowCount(); ++r)
        if (g->FixedCols() > 0)
            g->SetCells(0, r, QString::number(r));
}

} // namespace

// Word wrap on (the default): short texts, wrapped texts, long words, blanks, numbers, tabs.
TEST(PaintSame, WrappedTexts)
{
    Host<TVerIvovavOzed> h(6, 9, 520, 300);
    h.grid->SetDefaultColWidth(84);
    h.grid->SetDefaultRowHeight(30);
    FillTexts(h.grid, 1, 1);
    h.grid->SetSelection(TGridRect{2, 3, 3, 4});
    Same(QStringLiteral("wrapped"), h.grid);
}

// Word wrap off: single lines clipped at the cell edge.
TEST(PaintSame, SingleLineTexts)
{
    Host<TVerIvovavOzed> h(6, 9, 520, 240);
    h.grid->SetWordWrap(false);
    h.grid->SetDefaultColWidth(84);
    FillTexts(h.grid, 1, 1);
    Same(QStringLiteral("singleline"), h.grid);
}

// Ellipses at the end of too long texts, with word wrap off and on.
TEST(PaintSame, Ellipsis)
{
    for (bool ww : {false, true}) {
        Host<TVerIvovavOzed> h(5, 9, 440, 260);
        h.grid->SetEnhTextSize(true);
        h.grid->SetWordWrap(ww);
        h.grid->SetDefaultColWidth(84);
        h.grid->SetDefaultRowHeight(ww ? 34 : 22);
        FillTexts(h.grid, 1, 1);
        Same(QStringLiteral("ellipsis_ww%1").arg(int(ww)), h.grid);
    }
}

// Horizontal and vertical alignments, the grid's and each cell's, numbers aligned by their kind.
TEST(PaintSame, Alignments)
{
    const TVAlignment vas[] = {vtaTop, vtaCenter, vtaBottom};
    for (TVAlignment va : vas)
        for (bool ww : {false, true}) {
            Host<TVerIvovavOzed> h(5, 8, 440, 300);
            h.grid->SetDefaultColWidth(84);
            h.grid->SetDefaultRowHeight(36);
            h.grid->SetVAlignment(va);
            h.grid->SetWordWrap(ww);
            h.grid->SetAutoNumAlign(true);
            FillTexts(h.grid, 1, 1);
            for (int r = 1; r < 8; ++r) {
                h.grid->SetAlignments(2, r, taCenter);
                h.grid->SetAlignments(3, r, taRightJustify);
            }
            Same(QStringLiteral("align_v%1_ww%2").arg(int(va)).arg(int(ww)), h.grid);
        }
}

// The grid's default alignment centred and right.
TEST(PaintSame, DefaultAlignment)
{
    for (TAlignment a : {taCenter, taRightJustify}) {
        Host<TVerIvovavOzed> h(5, 8, 440, 260);
        h.grid->SetDefaultColWidth(84);
        h.grid->SetDefaultRowHeight(30);
        h.grid->SetDefaultAlignment(a);
        FillTexts(h.grid, 1, 1);
        Same(QStringLiteral("defalign_%1").arg(int(a)), h.grid);
    }
}

// Multi-line cells: line breaks in the text, with and without word wrap, centred vertically.
TEST(PaintSame, MultiLine)
{
    for (bool ww : {false, true}) {
        Host<TVerIvovavOzed> h(4, 6, 420, 330);
        h.grid->SetMultilinecells(true);
        h.grid->SetWordWrap(ww);
        h.grid->SetDefaultColWidth(100);
        h.grid->SetDefaultRowHeight(60);
        FillTexts(h.grid, 1, 1);
        h.grid->SetCells(1, 1, QStringLiteral("first line\nsecond line"));
        h.grid->SetCells(2, 1, QStringLiteral("one\ntwo\nthree\nfour\nfive"));
        h.grid->SetCells(3, 1, QStringLiteral("a long first line of words\r\nshort"));
        h.grid->SetCells(1, 2, QStringLiteral("\nafter an empty line"));
        h.grid->SetCells(2, 2, QStringLiteral("ends with a break\n"));
        h.grid->SetVAlignment(vtaCenter);
        h.grid->SetAlignments(3, 2, taCenter);
        h.grid->SetAlignments(3, 3, taRightJustify);
        Same(QStringLiteral("multiline_ww%1").arg(int(ww)), h.grid);
    }
}

// Cell fonts and colours, a zoomed grid.
TEST(PaintSame, FontsAndColours)
{
    for (int zoom : {0, 2}) {
        Host<TVerIvovavOzed> h(5, 8, 460, 280);
        h.grid->SetDefaultColWidth(88);
        h.grid->SetDefaultRowHeight(30);
        FillTexts(h.grid, 1, 1);
        h.grid->SetFontStyles(1, 1, TFontStyles(fsBold));
        h.grid->SetFontStyles(2, 1, TFontStyles(fsItalic) | fsUnderline);
        h.grid->SetFontStyles(3, 1, TFontStyles(fsStrikeOut));
        h.grid->SetFontColors(1, 2, clRed);
        h.grid->SetFontColors(2, 2, clBlue);
        h.grid->SetFontSizes(3, 2, 12);
        h.grid->SetFontSizes(4, 2, 6);
        h.grid->SetFontNames(1, 3, QStringLiteral("Courier New"));
        h.grid->SetColors(2, 3, clYellow);
        h.grid->SetColors(3, 3, 0xE0FFE0);
        h.grid->SetColorsTo(3, 3, 0x80C080);
        h.grid->SetWordWraps(4, 3, false);
        h.grid->SetZoomFactor(zoom);
        Same(QStringLiteral("fonts_zoom%1").arg(zoom), h.grid);
    }
}

// HTML cells and link cells beside plain ones.
TEST(PaintSame, HtmlAndLinks)
{
    Host<TVerIvovavOzed> h(4, 6, 420, 200);
    h.grid->SetDefaultColWidth(100);
    h.grid->SetURLShow(true);
    FillTexts(h.grid, 1, 1);
    h.grid->SetCells(1, 1, QStringLiteral("<b>bold</b> and <i>italic</i>"));
    h.grid->SetCells(2, 1, QStringLiteral("<font color=\"clRed\">red</font> text that wraps in the cell"));
    h.grid->SetCells(3, 1, QStringLiteral("<u>under</u><br>second"));
    h.grid->SetCells(1, 2, QStringLiteral("http://www.example.com/page"));
    h.grid->SetCells(2, 2, QStringLiteral("mailto:someone@example.com"));
    Same(QStringLiteral("html"), h.grid);
}

// A selected range, a selected row and the selection colours of a focused grid.
TEST(PaintSame, Selection)
{
    Host<TVerIvovavOzed> h(6, 9, 520, 260);
    h.grid->SetDefaultColWidth(84);
    h.grid->SetOptions(h.grid->Options() | goRangeSelect);
    FillTexts(h.grid, 1, 1);
    h.grid->SetSelection(TGridRect{1, 2, 3, 5});
    Same(QStringLiteral("selection_range"), h.grid);
    h.grid->SetSelectionTextColor(clWhite);
    h.grid->SetSelectionColor(0x800000);
    h.grid->SetSelectionRectangle(true);
    Same(QStringLiteral("selection_colours"), h.grid);
    h.grid->SetOptions(h.grid->Options() | goRowSelect);
    h.grid->SetRow(4);
    Same(QStringLiteral("selection_row"), h.grid);
}

// Scrolled down and right: cells partly under the fixed row and column, fixed rows and columns
// on both sides.
TEST(PaintSame, ScrolledAndFixed)
{
    Host<TVerIvovavOzed> h(12, 60, 500, 260);
    h.grid->SetDefaultColWidth(70);
    h.grid->SetFixedRows(2);
    h.grid->SetFixedCols(1);
    FillTexts(h.grid, 1, 2);
    h.grid->SetFixedFooters(1);
    h.grid->SetFixedRightCols(1);
    h.grid->SetTopRow(30);
    h.grid->SetLeftCol(3);
    Same(QStringLiteral("scrolled"), h.grid);
}

// The looks that paint the fixed cells themselves.
TEST(PaintSame, Looks)
{
    const TGridLook looks[] = {glStandard, glSoft, glClassic, glXP, glVista, glWin7, glOffice2007, glListView};
    for (TGridLook look : looks) {
        Host<TVerIvovavOzed> h(5, 6, 420, 160);
        h.grid->SetDefaultColWidth(80);
        h.grid->SetLook(look);
        FillTexts(h.grid, 1, 1);
        h.grid->SetSelection(TGridRect{2, 2, 2, 2});
        Same(QStringLiteral("look_%1").arg(int(look)), h.grid);
    }
}

// Bands, a background gradient in the cells, cells painted without grid lines.
TEST(PaintSame, BandsAndLines)
{
    Host<TVerIvovavOzed> h(5, 10, 420, 240);
    h.grid->SetDefaultColWidth(80);
    FillTexts(h.grid, 1, 1);
    h.grid->Bands().SetActive(true);
    Same(QStringLiteral("bands"), h.grid);
    h.grid->SetOptions(h.grid->Options() & ~TGridOptions(goVertLine) & ~TGridOptions(goHorzLine));
    h.grid->SetGridLineWidth(2);
    Same(QStringLiteral("nolines"), h.grid);
}

// The configurator's table: data check boxes, merged cells, an HTML cell, a sort indicator and a
// filter glyph (the scene of PaintGrab.GridFeatures).
TEST(PaintSame, ColumnGridFeatures)
{
    QWidget window;
    TZidIzavodUraz* g = kt_test::Feature_Grid(&window, "Tank level with a long name",
                                              "a comment long enough to wrap onto a second line", true);
    Same(QStringLiteral("columngrid"), g);
}

// A big grid as the benchmark shows it, at row 50,000.
TEST(PaintSame, BenchmarkWindow)
{
    Host<TVerIvovavOzed> h(20, 100000, 1200, 800);
    for (int r = 49990; r < 50060; ++r)
        for (int c = 0; c < 20; ++c)
            h.grid->SetGridCell(c, r, QString::number(r) + QLatin1Char(':') + QString::number(c));
    h.grid->SetTopRow(50000);
    Same(QStringLiteral("bench_window"), h.grid);
}
