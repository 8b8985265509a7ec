// Printed cells: borders by the border setting and the hook, backgrounds, alignments, multi-line
// cells, word wrap and merged cells at the page bottom, read from pages previewed onto an image.
#include "grid/AdvGrid.h"
#include "platform/Picture.h"
#include "platform/Printer.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

namespace {

constexpr int kDpi = 100;

struct CellGrid {
    QWidget window;
    TVerIvovavOzed* g;
    QImage img{827, 1169, QImage::Format_RGB32};
    explicit CellGrid(int cols = 2, int rows = 3)
    {
        g = new TVerIvovavOzed(&window);
        g->SetColCount(cols);
        g->SetRowCount(rows);
        g->Loaded();
        for (int c = 0; c < cols; ++c)
            g->SetColWidths(c, 200);
        TPrintSettings& ps = g->PrintSettings();
        ps.SetCentered(false);
        ps.SetNoAutoSize(true);
        ps.SetUseDisplayFont(false);
        ps.Font().SetSize(20);
        g->SetWordWrap(false);
        img.fill(Qt::white);
    }
    void Preview()
    {
        img.fill(Qt::white);
        TCanvas cv(&img);
        cv.SetResolutionOverride(kDpi, kDpi);
        g->PrintPreview(cv, TRect(0, 0, 827, 1169));
    }
    static int Dev(int lo) { return int(std::lround(std::abs(lo) * kDpi / 254.0)); }
    int X(int col) const { return Dev(g->PrintColOffset(col)); }
    // Device bounds of the dark pixels in a rectangle (Left = INT_MAX when none).
    TRect InkBox(int l, int t, int r, int b, int gray = 128) const
    {
        TRect box(INT_MAX, INT_MAX, -1, -1);
        for (int y = std::max(0, t); y < std::min(img.height(), b); ++y)
            for (int x = std::max(0, l); x < std::min(img.width(), r); ++x)
                if (qGray(img.pixel(x, y)) < gray) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    }
    // The device rows of the cells of column 0, from the cell lines.
    std::vector<int> RowLines() const
    {
        std::vector<int> ys;
        const int x = X(0) + 3;
        for (int y = 0; y < 600; ++y)
            if (qGray(img.pixel(x, y)) < 128 && (ys.empty() || ys.back() != y - 1))
                ys.push_back(y);
        return ys;
    }
};

} // namespace

TEST(PrintCell, BordersBySettingAndHook)
{
    CellGrid t;
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 3; ++r)
            t.g->SetCells(c, r, "");
    struct Case {
        TPrintBorders b;
        bool vertical, horizontal;
    } cases[] = {{pbSingle, true, true}, {pbHorizontal, false, true}, {pbVertical, true, false},
                 {pbNoborder, false, false}};
    for (const Case& k : cases) {
        t.g->PrintSettings().SetBorders(k.b);
        t.Preview();
        const int mid = t.X(1);
        EXPECT_EQ(t.InkBox(mid - 1, 24, mid + 2, 50).Right > 0, k.vertical) << k.b;
        EXPECT_EQ(t.RowLines().size() >= 2, k.horizontal) << k.b;
    }
    // The hook takes all lines of row 1 (the last) away but a red bottom line.
    t.g->SetRowCount(2);
    t.g->PrintSettings().SetBorders(pbSingle);
    t.g->OnGetCellPrintBorder = [](QObject*, int row, int, TPen& pen, TCellBorders& borders) {
        if (row == 1) {
            borders = TCellBorders(cbBottom);
            pen.SetColor(clRed);
        }
    };
    t.Preview();
    t.img.save(kt_test::GrabPath("print_cell_hook.png"));
    const std::vector<int> ys = t.RowLines();
    ASSERT_GE(ys.size(), 2u);
    const QColor bottom1(t.img.pixel(t.X(0) + 5, ys.back()));
    EXPECT_GT(bottom1.red(), 200);
    EXPECT_LT(bottom1.green(), 80);
    const int midRow1 = (ys[ys.size() - 2] + ys.back()) / 2;
    EXPECT_EQ(t.InkBox(t.X(1) - 1, midRow1 - 2, t.X(1) + 2, midRow1 + 2).Right, -1) << "no side lines in row 1";
}

TEST(PrintCell, BackgroundsGradientAndInset)
{
    CellGrid t(2, 2);
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 2; ++r)
            t.g->SetCells(c, r, "");
    TCellProperties* solid = t.g->GetCellProperties(0, 1);
    solid->SetBrushColor(clRed);
    TCellProperties* grad = t.g->GetCellProperties(1, 1);
    grad->SetBrushColor(clWhite);
    grad->SetBrushColorTo(clBlue);
    t.g->PrintSettings().SetBorders(pbNoborder);
    t.Preview();
    const std::vector<int> ys = [&] {
        std::vector<int> v;
        for (int y = 0; y < 400; ++y)
            if (QColor(t.img.pixel(t.X(0) + 20, y)).red() > 200 && QColor(t.img.pixel(t.X(0) + 20, y)).green() < 50)
                v.push_back(y);
        return v;
    }();
    ASSERT_FALSE(ys.empty());
    const int top = ys.front(), bottom = ys.back();
    // Solid: red all through.
    EXPECT_EQ(QColor(t.img.pixel(t.X(0) + 20, (top + bottom) / 2)), QColor(Qt::red));
    // Inset by two pen widths at the left, as the cell has no left line.
    EXPECT_EQ(QColor(t.img.pixel(t.X(0), (top + bottom) / 2)), QColor(Qt::white));
    // Gradient: white at the top to blue at the bottom.
    const QColor gt(t.img.pixel(t.X(1) + 20, top + 1));
    const QColor gb(t.img.pixel(t.X(1) + 20, bottom - 1));
    EXPECT_GT(gt.red(), 180);
    EXPECT_LT(gb.red(), 60);
    EXPECT_GT(gb.blue(), 200);
}

TEST(PrintCell, AlignmentsAndMultiLineBottom)
{
    CellGrid t(3, 2);
    t.g->SetMultilinecells(true);
    t.g->SetCells(0, 1, "ab");
    t.g->SetCells(1, 1, "ab");
    t.g->SetCells(2, 1, "one\r\ntwo\r\nthree");
    t.g->SetCells(0, 0, "");
    t.g->SetCells(1, 0, "");
    t.g->SetCells(2, 0, "");
    t.g->PrintSettings().SetBorders(pbNoborder);
    t.Preview();
    // Row 1 is three lines high; the texts of its left cells sit at the top.
    const int rowTop = 0;
    const TRect left = t.InkBox(t.X(0), rowTop, t.X(1), 400);
    const TRect top3 = t.InkBox(t.X(2), rowTop, t.X(2) + 300, 400);
    ASSERT_GT(left.Right, 0);
    ASSERT_GT(top3.Right, 0);

    t.g->OnGetAlignment = [](QObject*, int row, int col, TAlignment& ha, TVAlignment& va) {
        if (row != 1)
            return;
        if (col == 0)
            ha = taRightJustify;
        if (col == 1)
            ha = taCenter;
        if (col == 0 || col == 1)
            va = vtaBottom;
    };
    t.Preview();
    const TRect right = t.InkBox(t.X(0), rowTop, t.X(1), 400);
    const TRect centre = t.InkBox(t.X(1), rowTop, t.X(2), 400);
    EXPECT_GT(right.Left, left.Left + 100) << "right aligned";
    EXPECT_NEAR(t.X(1) - right.Right, 0, 12);
    EXPECT_NEAR((centre.Left + centre.Right) / 2, (t.X(1) + t.X(2)) / 2, 4) << "centred";
    EXPECT_GT(right.Top, left.Top + 20) << "at the bottom of the three-line row";

    // A multi-line cell with vtaBottom: the lines move down by the row height less theirs.
    CellGrid m(3, 2);
    m.g->SetMultilinecells(true);
    m.g->PrintSettings().SetBorders(pbNoborder);
    m.g->SetCells(1, 1, "a\r\nb");
    m.g->SetCells(2, 1, "1\r\n2\r\n3\r\n4");
    for (int c = 0; c < 3; ++c)
        m.g->SetCells(c, 0, "");
    m.g->SetCells(0, 1, "");
    m.Preview();
    const TRect topLines = m.InkBox(m.X(1), 0, m.X(2), 600);
    m.g->OnGetAlignment = [](QObject*, int row, int col, TAlignment&, TVAlignment& va) {
        if (row == 1 && col == 1)
            va = vtaBottom;
    };
    m.Preview();
    const TRect bottomLines = m.InkBox(m.X(1), 0, m.X(2), 600);
    const TRect four = m.InkBox(m.X(2), 0, m.X(2) + 300, 600);
    EXPECT_GT(bottomLines.Top, topLines.Top + 30);
    EXPECT_NEAR(bottomLines.Bottom, four.Bottom, 12) << "ends with the four-line cell";
}

TEST(PrintCell, WordWrapMakesTallerRows)
{
    CellGrid t(2, 2);
    t.g->SetCells(0, 1, "");
    t.g->SetCells(1, 1, "many words that do not fit on one line of this narrow column at all");
    int plain = 0, wrapped = 0;
    t.g->OnPrintSetRowHeight = [&](QObject*, int row, int& h) {
        if (row == 1)
            (t.g->WordWrap() ? wrapped : plain) = h;
    };
    t.Preview();
    t.g->SetWordWrap(true);
    t.Preview();
    EXPECT_GT(wrapped, 2 * plain);
    const TRect ink = t.InkBox(t.X(1) + 2, 0, 827, 1169);
    EXPECT_LE(ink.Right, t.X(1) + CellGrid::Dev(t.g->PrintColWidth(1)) + 12) << "kept inside the column";
}

TEST(PrintCell, MergedCellCutAtPageBottom)
{
    CellGrid t(2, 60);
    t.g->PrintSettings().Font().SetSize(8);
    t.g->PrintSettings().SetNoAutoSizeRow(true);
    // Find the last row of page 1, then merge a range from it down over the page break.
    int lastRow = -1;
    int page = 1;
    t.g->OnPrintPage = [&](QObject*, TCanvas&, int nr, int, int) { page = nr; };
    t.g->OnCustomCellDraw = [&](QObject*, TCanvas&, int, int row, TGridDrawState, TRect, bool) {
        if (page == 1)
            lastRow = std::max(lastRow, row);
    };
    t.Preview();
    ASSERT_GT(lastRow, 5);
    ASSERT_LT(lastRow, 59);
    t.g->MergeCells(1, lastRow, 1, 4);
    t.g->SetCells(1, lastRow, "merged");
    t.Preview();
    // Nothing is drawn below the page's usable bottom: the range is cut to one row.
    const TRect ink = t.InkBox(t.X(1) + 2, 0, t.X(1) + 150, 1169, 200);
    const TRect col0 = t.InkBox(t.X(0), 0, t.X(1) - 2, 1169, 200);
    EXPECT_LE(ink.Bottom, col0.Bottom + 2);
}

namespace {

// A drawing of its own for an interfaced cell: a filled square.
struct Square : TGridCellObject, TVerIvovavOzed::ICellDrawing {
    int drawn = 0;
    TPoint GetSize() override { return TPoint(16, 16); }
    void Draw(TCanvas& c, const TRect& r) override
    {
        ++drawn;
        c.Brush().SetColor(clGreen);
        c.FillRect(r);
    }
};

} // namespace

TEST(PrintCell, GraphicsByTypeAndStyledOutput)
{
    platform::TStringList radio;
    radio.Add("one");
    radio.Add("two");
    Square square;
    QImage blueImage(20, 20, QImage::Format_RGB32);
    blueImage.fill(QColor(0, 0, 255));
    TBitmap bmp(blueImage);

    CellGrid t(5, 30);
    TVerIvovavOzed& g = *t.g;
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    for (int r = 0; r < 30; ++r)
        for (int c = 0; c < 5; ++c)
            g.SetCells(c, r, r == 0 ? "" : QStringLiteral("%1").arg(r * 10 + c));
    g.AddRotated(1, 0, 90, "Turned");
    g.SetRowHeights(0, 70);
    g.SetCells(2, 0, "Colour");
    g.SetCells(3, 0, "Merged");
    g.MergeCells(3, 0, 2, 1);
    g.AddBitmap(1, 2, &bmp, false, haBeforeText, vaCenter);
    g.AddCheckBox(2, 2, true, false);
    g.AddRadio(3, 3, 0, 1, &radio);
    g.AddInterfacedCell(4, 4, &square);
    g.MergeCells(1, 5, 2, 3);
    g.SetCells(1, 5, "merged 2 x 3");
    g.OnGetCellPrintColor = [](QObject*, int row, int col, TGridDrawState, TBrush& b, TFont& f) {
        if (row % 2 == 1 && col > 0)
            b.SetColor(TColor(0xE0F0FF));
        if (col == 2 && row > 0)
            f.SetColor(clRed);
    };
    TPrintSettings& ps = g.PrintSettings();
    ps.Font().SetSize(11);
    ps.SetNoAutoSize(false);
    ps.SetPrintGraphics(true);
    ps.SetTitle(ppTopCenter);
    ps.SetTitleText("Styled grid");
    ps.SetPageNr(ppBottomRight);
    ps.SetDate(ppBottomLeft);
    ps.SetHeaderSize(60);
    ps.SetFooterSize(60);
    ps.SetLeftSize(100);
    ps.SetRightSize(100);
    ps.SetCentered(true);
    t.Preview();
    t.img.save(kt_test::GrabPath("print_styled_preview.png"));
    EXPECT_GT(square.drawn, 0) << "the interfaced cell draws itself";
    // The bitmap, the check box's frame and the interfaced square are on the page.
    int blue = 0, green = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 827; ++x) {
            const QColor c(t.img.pixel(x, y));
            blue += c == QColor(0, 0, 255);
            green += c.green() > 100 && c.red() < 40 && c.blue() < 40;
        }
    EXPECT_GT(blue, 20);
    EXPECT_GT(green, 20);

    // The same grid printed to a PDF for a look (turned into PNG with pdftoppm).
    platform::TPrinter& p = platform::Printer();
    p.SetOutputFileName(kt_test::GrabPath("print_styled.pdf"));
    p.SetResolution(150);
    p.SetPageSize(QPageSize(QPageSize::A4));
    p.SetFullPage(true);
    g.Print();
    EXPECT_TRUE(QFile::exists(p.OutputFileName()));
}

TEST(PrintCell, RotatedTextStandsInItsCell)
{
    CellGrid t(3, 2);
    for (int c = 0; c < 3; ++c)
        t.g->SetCells(c, 0, "");
    t.g->SetCells(0, 1, "");
    t.g->SetCells(2, 1, "");
    t.g->AddRotated(1, 1, 90, "Upright");
    t.g->PrintSettings().SetNoAutoSize(false);
    t.g->PrintSettings().SetBorders(pbNoborder);
    t.Preview();
    const TRect ink = t.InkBox(t.X(1), 0, t.X(2), 1169);
    ASSERT_GT(ink.Right, 0);
    EXPECT_GT(ink.Bottom - ink.Top, 2 * (ink.Right - ink.Left)) << "the text runs up the page";
}

namespace {

// A grid whose formulas evaluate to a fixed text, so that a printed formula can be told apart from
// its source.
class FormulaGrid : public TVerIvovavOzed {
public:
    using TVerIvovavOzed::TVerIvovavOzed;
    void EvaluateFormula(int, int, QString& Value) override { Value = QStringLiteral("WWWWWWWWWWWW"); }
};

int CountPixels(const QImage& img, const TRect& r, const std::function<bool(const QColor&)>& match)
{
    int n = 0;
    for (int y = std::max(0, r.Top); y < std::min(img.height(), r.Bottom); ++y)
        for (int x = std::max(0, r.Left); x < std::min(img.width(), r.Right); ++x)
            n += match(QColor(img.pixel(x, y)));
    return n;
}

// The rows and columns that hold the ink of text in a rectangle: dark or coloured pixels, leaving
// out rows that are mostly ink (the cell lines).
TRect InkBoxOf(const QImage& img, const TRect& r)
{
    TRect box(INT_MAX, INT_MAX, -1, -1);
    const int w = r.Right - r.Left;
    for (int y = std::max(0, r.Top); y < std::min(img.height(), r.Bottom); ++y) {
        int n = 0;
        for (int x = std::max(0, r.Left); x < std::min(img.width(), r.Right); ++x)
            n += qGray(img.pixel(x, y)) < 160;
        if (n == 0 || n > w / 2)
            continue;
        box.Top = std::min(box.Top, y);
        box.Bottom = std::max(box.Bottom, y + 1);
    }
    return box;
}

// A one-page grid of special cells, previewed onto an image and printed to a PDF in build/grabs.
struct SpecialCells {
    QWidget window;
    FormulaGrid* g = new FormulaGrid(&window);
    QImage img{827, 1169, QImage::Format_RGB32};
    explicit SpecialCells(int cols)
    {
        g->SetColCount(cols);
        g->SetRowCount(2);
        g->Loaded();
        for (int c = 0; c < cols; ++c)
            for (int r = 0; r < 2; ++r)
                g->SetCells(c, r, "");
        TPrintSettings& ps = g->PrintSettings();
        ps.SetCentered(false);
        ps.SetNoAutoSize(false);
        ps.SetUseDisplayFont(false);
        ps.SetPrintGraphics(true);
        ps.SetBorders(pbNoborder);
        ps.Font().SetSize(12);
        g->SetWordWrap(false);
    }
    void Print(const QString& name)
    {
        img.fill(Qt::white);
        {
            TCanvas cv(&img);
            cv.SetResolutionOverride(kDpi, kDpi);
            g->PrintPreview(cv, TRect(0, 0, 827, 1169));
        }
        img.save(kt_test::GrabPath(name + ".png"));
        // The layout of the preview, before the PDF at another resolution lays out again.
        for (int c = 0; c < g->ColCount(); ++c) {
            offs.push_back(CellGrid::Dev(g->PrintColOffset(c)));
            widths.push_back(g->PrintColWidth(c));
        }
        platform::TPrinter& p = platform::Printer();
        p.SetOutputFileName(kt_test::GrabPath(name + ".pdf"));
        p.SetResolution(150);
        p.SetPageSize(QPageSize(QPageSize::A4));
        p.SetFullPage(true);
        g->Print();
        EXPECT_TRUE(QFile::exists(p.OutputFileName()));
    }
    int X(int col) const { return offs.at(col); }
    int W(int col) const { return widths.at(col); }
    std::vector<int> offs, widths;
};

bool IsRed(const QColor& c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; }
bool IsGreen(const QColor& c) { return c.green() > 100 && c.red() < 40 && c.blue() < 40; }
bool IsBlue(const QColor& c) { return c.blue() > 180 && c.red() < 40 && c.green() < 40; }

} // namespace

// Markup and RTF cells are measured by their shown words and printed formatted: the red word is
// on the page in its own cell, the tags and control words are not. An RTF cell prints at the size
// of the page's other text (the same 8 points here), as high as the plain copy's words.
TEST(PrintCell, MarkupAndRichTextCellsPrintTheirWords)
{
    struct Case {
        const char* name;
        QString source, plain;
        const char* file;
        bool rich;
    } cases[] = {
        {"markup", "<font color=\"clRed\">Red words</font>", "Red words", "print_markup_cells", false},
        {"rich text",
         QStringLiteral("{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}\\fs16 Plain \\cf1 Red\\cf0  words\\par}"),
         "Plain Red words", "print_rich_cells", true},
    };
    for (const Case& k : cases) {
        SpecialCells t(3);
        t.g->SetCells(0, 0, k.source);
        t.g->SetCells(1, 0, k.plain);
        t.g->SetCells(2, 0, "end");
        t.Print(k.file);
        const int w0 = t.W(0), w1 = t.W(1);
        EXPECT_GT(w0, w1 * 9 / 10) << k.name << ": about as wide as its words";
        EXPECT_LT(w0, w1 * 2) << k.name << ": the tags or control words take no room";
        EXPECT_GT(CountPixels(t.img, TRect(t.X(0), 0, t.X(1), 300), IsRed), 20) << k.name;
        EXPECT_EQ(CountPixels(t.img, TRect(t.X(1), 0, 827, 300), IsRed), 0) << k.name;
        if (!k.rich)
            continue;
        const TRect rich = InkBoxOf(t.img, TRect(t.X(0), 0, t.X(1), 300));
        const TRect plain = InkBoxOf(t.img, TRect(t.X(1) + 2, 0, t.X(2) - 2, 300));
        ASSERT_GT(plain.Bottom, plain.Top);
        EXPECT_NEAR(rich.Bottom - rich.Top, plain.Bottom - plain.Top, (plain.Bottom - plain.Top) / 3 + 2);
    }
}

TEST(PrintCell, FormulaAndProgressCells)
{
    SpecialCells t(5);
    t.g->SetCells(0, 0, "Red words");
    // The formula prints (and is measured by) its evaluated text.
    t.g->SetCells(2, 0, "=A1");
    t.g->SetCells(3, 1, "60");
    t.g->AddProgress(3, 1, clGreen, clWhite);
    t.g->SetCells(4, 1, "75");
    t.g->AddProgressPie(4, 1, clBlue, 75);
    t.Print("print_formula_progress");
    EXPECT_GT(t.W(2), t.W(0)) << "twelve W are wider than the source \"=A1\"";
    // The progress bar's green and the pie's blue are on the page, in their cells.
    const int x3 = t.X(3), x4 = t.X(4), x5 = x4 + CellGrid::Dev(t.W(4)) + 10;
    EXPECT_GT(CountPixels(t.img, TRect(x3, 0, x4, 300), IsGreen), 30);
    EXPECT_EQ(CountPixels(t.img, TRect(x4, 0, 827, 300), IsGreen), 0);
    EXPECT_GT(CountPixels(t.img, TRect(x4, 0, x5, 300), IsBlue), 10);
    // The pie's brush stays with the pie: the cell's text after it gets no blue background.
    EXPECT_LT(CountPixels(t.img, TRect(x4, 0, x5, 300), IsBlue), 250);
}

