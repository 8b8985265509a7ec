// The print engine, read through the print events, the column widths and offsets it leaves, and
// the pixels of a page previewed onto an image at a fixed resolution (100 dpi: A4 is 827 x 1169).
#include "grid/AdvGrid.h"
#include "platform/Printer.h"
#include "platform/ScriptedServices.h"
#include "TestSupport.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <vector>

namespace {

constexpr int kDpi = 100;
const TRect kPage(0, 0, 827, 1169);

struct PrintGrid {
    QWidget window;
    TVerIvovavOzed* g;
    QImage img{827, 1169, QImage::Format_RGB32};
    QTemporaryDir dir;
    // Rows drawn per page, from OnCustomCellDraw and OnPrintPage.
    int page = 0;
    std::map<int, std::vector<int>> rowsOnPage;
    std::vector<QString> pageNums;

    PrintGrid(int cols, int rows)
    {
        g = new TVerIvovavOzed(&window);
        g->SetColCount(cols);
        g->SetRowCount(rows);
        g->Loaded();
        for (int c = 0; c < cols; ++c)
            for (int r = 0; r < rows; ++r)
                g->SetCells(c, r, QStringLiteral("c%1r%2").arg(c).arg(r));
        TPrintSettings& ps = g->PrintSettings();
        ps.SetCentered(false);
        ps.SetNoAutoSize(true);
        ps.SetNoAutoSizeRow(true);
        img.fill(Qt::white);
        g->OnPrintPage = [this](QObject*, TCanvas&, int nr, int, int) { page = nr; };
        g->OnCustomCellDraw = [this](QObject*, TCanvas&, int col, int row, TGridDrawState, TRect, bool printing) {
            EXPECT_TRUE(printing);
            auto& v = rowsOnPage[page];
            if (col == firstCol(row) && (v.empty() || v.back() != row))
                v.push_back(row);
        };
        g->OnPrintGetPageNum = [this](QObject*, int, int, QString& s) { pageNums.push_back(s); };
    }
    int firstCol(int) const { return 0; }

    // Counts the pages of a preview and draws PreviewPage onto the image.
    int Preview()
    {
        TCanvas cv(&img);
        cv.SetResolutionOverride(kDpi, kDpi);
        g->PrintPreview(cv, kPage);
        return g->PrintNrOfPages();
    }
    QString Pdf() const { return dir.filePath("out.pdf"); }
    // Prints every page to a PDF at a fixed resolution.
    void Print()
    {
        platform::TPrinter& p = platform::Printer();
        p.SetOutputFileName(Pdf());
        p.SetResolution(kDpi);
        p.SetPageSize(QPageSize(QPageSize::A4));
        p.SetFullPage(true);
        g->Print();
    }
    // Dark pixels in a device rectangle.
    int Ink(int l, int t, int r, int b) const
    {
        int n = 0;
        for (int y = std::max(0, t); y < std::min(img.height(), b); ++y)
            for (int x = std::max(0, l); x < std::min(img.width(), r); ++x)
                if (qGray(img.pixel(x, y)) < 128)
                    ++n;
        return n;
    }
};

int PdfPages(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray b = f.readAll();
    return int(b.count("/Type /Page\n") + b.count("/Type /Page "));
}

// Screen pixels at 96 dpi in tenths of a millimetre, as the engine converts column widths.
int Lo(int px) { return int(std::nearbyint(px * 254.0 / 96.0)); }

} // namespace

TEST(PrintEngine, FontMapping)
{
    PrintGrid t(1, 1);
    EXPECT_EQ(t.g->MapFontHeight(10), -35); // 10 pt = 35.27 tenths of a mm
    EXPECT_EQ(t.g->MapFontHeight(72), -254);
    EXPECT_EQ(t.g->MapFontSize(254), 72);
    EXPECT_EQ(t.g->MapFontSize(35), 9);
}

TEST(PrintEngine, WidthsOffsetsAndCentring)
{
    PrintGrid t(3, 4);
    TPrintSettings& ps = t.g->PrintSettings();
    ps.SetLeftSize(50);
    EXPECT_EQ(t.Preview(), 1);
    const int w = Lo(64);
    const int S = 20;
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(t.g->PrintColWidth(c), w);
        EXPECT_EQ(t.g->PrintColOffset(c), 50 + c * (w + S));
    }
    // 827 x 1169 pixels at 100 dpi.
    EXPECT_EQ(t.g->PrintPageRect(), TRect(0, 0, 2101, -2969));
    EXPECT_EQ(t.g->PrintPageWidth(), 3 * (w + S));

    // Centred: between the page edges, margins not counting.
    ps.SetCentered(true);
    t.Preview();
    const int x = 3 * (w + S);
    EXPECT_EQ(t.g->PrintColOffset(0), (2101 - x) / 2);

    // Measured widths: the widest cell in the print font.
    ps.SetNoAutoSize(false);
    t.g->SetCells(1, 2, "a much longer cell text than the others");
    t.Preview();
    EXPECT_GT(t.g->PrintColWidth(1), 2 * t.g->PrintColWidth(0));
    int reported = -1;
    t.g->OnPrintSetColumnWidth = [&](QObject*, int c, int& width) {
        if (c == 2) {
            reported = width;
            width = 333;
        }
    };
    t.Preview();
    EXPECT_GT(reported, 0);
    EXPECT_EQ(t.g->PrintColWidth(2), 333);
}

TEST(PrintEngine, CentringMovesRepeatedFixedColumns)
{
    PrintGrid t(4, 3);
    t.g->SetFixedCols(1);
    TPrintSettings& ps = t.g->PrintSettings();
    ps.SetCentered(true);
    ps.SetRepeatFixedCols(true);
    TCanvas cv(&t.img);
    cv.SetResolutionOverride(kDpi, kDpi);
    t.g->PrintPreviewRect(cv, kPage, TGridRect{2, 0, 3, 2});
    const int w = Lo(64) + 20;
    const int x = 3 * w; // fixed column + two columns
    const int left = (2101 - x) / 2;
    EXPECT_EQ(t.g->PrintColOffset(0), left);
    EXPECT_EQ(t.g->PrintColOffset(2), left + w);
    EXPECT_EQ(t.g->PrintColOffset(3), left + 2 * w);
    EXPECT_EQ(t.g->PrintPageWidth(), x);
}

TEST(PrintEngine, FitToPage)
{
    const int w = Lo(64);
    const int S = 20;
    struct Case {
        TFitToPage fit;
        int left;
        bool allow;
        int expect;
    } cases[] = {
        {fpNever, 0, true, w},
        {fpShrink, 0, true, w},                                         // narrower than the page
        {fpGrow, 0, true, int((2100.0 - 3 * S) / (3 * w) * w)},          // grows to the page
        {fpAlways, 100, true, int((2100.0 - 100 - 3 * S) / (3 * w) * w)},
        {fpCustom, 0, false, w},                                        // refused by OnFitToPage
        {fpCustom, 0, true, int((2100.0 - 3 * S) / (3 * w) * w)},
        {fpAlways, 3000, true, w},                                      // margins wider than the page
    };
    for (const Case& k : cases) {
        PrintGrid t(3, 2);
        TPrintSettings& ps = t.g->PrintSettings();
        ps.SetFitToPage(k.fit);
        ps.SetLeftSize(k.left);
        double asked = 0;
        t.g->OnFitToPage = [&](QObject*, double& scale, bool& allow) {
            asked = scale;
            allow = k.allow;
        };
        t.Preview();
        EXPECT_NEAR(t.g->PrintColWidth(1), k.expect, 1) << "fit " << k.fit << " left " << k.left;
        EXPECT_EQ(asked != 0, k.fit == fpCustom) << k.fit;
    }
    // A grid wider than the page shrinks to it.
    PrintGrid t(3, 2);
    for (int c = 0; c < 3; ++c)
        t.g->SetColWidths(c, 400);
    t.g->PrintSettings().SetFitToPage(fpShrink);
    t.Preview();
    EXPECT_LE(3 * (t.g->PrintColWidth(0) + S), 2100);
    EXPECT_GE(3 * (t.g->PrintColWidth(0) + S), 2100 - 3);
}

TEST(PrintEngine, StripsAndPageNumbers)
{
    PrintGrid t(8, 60);
    for (int c = 0; c < 8; ++c)
        t.g->SetColWidths(c, 250); // 661 + 20 a column: three to a strip
    TPrintSettings& ps = t.g->PrintSettings();
    ps.SetPageNr(ppBottomCenter);
    std::vector<std::pair<int, int>> strips;
    t.g->OnPrintPage = [&](QObject*, TCanvas&, int, int, int) {
        strips.emplace_back(t.g->PrintColStart(), t.g->PrintColEnd());
    };
    t.Print();
    const int total = t.g->PrintNrOfPages();
    ASSERT_EQ(total % 3, 0);
    const int perStrip = total / 3;
    ASSERT_GE(perStrip, 2);
    ASSERT_EQ(int(t.pageNums.size()), total);
    EXPECT_EQ(t.pageNums[0], "1-1");
    EXPECT_EQ(t.pageNums[1], "2-1");
    EXPECT_EQ(t.pageNums[perStrip], "1-2");
    EXPECT_EQ(t.pageNums[total - 1], QStringLiteral("%1-3").arg(perStrip));
    EXPECT_EQ(strips.front(), std::make_pair(0, 2));
    EXPECT_EQ(strips.back(), std::make_pair(6, 7));
    EXPECT_EQ(PdfPages(t.Pdf()), total);
}

TEST(PrintEngine, PageTotals)
{
    for (int rows : {5, 120}) {
        PrintGrid t(2, rows);
        TPrintSettings& ps = t.g->PrintSettings();
        ps.SetPageNr(ppTopRight);
        t.Print();
        const int total = t.g->PrintNrOfPages();
        ASSERT_EQ(int(t.pageNums.size()), total);
        if (rows == 5) {
            EXPECT_EQ(total, 1);
            EXPECT_EQ(t.pageNums[0], "1");
        } else {
            ASSERT_EQ(total, 3);
            EXPECT_EQ(t.pageNums, (std::vector<QString>{"1/3", "2/3", "3/3"}));
        }
    }
    // Offsets of the number and of the total.
    PrintGrid t(2, 120);
    t.g->PrintSettings().SetPageNr(ppBottomLeft);
    t.g->PrintSettings().SetPageNumberOffset(10);
    t.g->PrintSettings().SetMaxPagesOffset(20);
    t.Print();
    EXPECT_EQ(t.pageNums.front(), "11/23");
}

TEST(PrintEngine, EveryRowPrintedOnceAndFixedRowsRepeated)
{
    PrintGrid t(2, 120);
    t.g->SetFixedRows(1);
    t.Print();
    ASSERT_EQ(t.g->PrintNrOfPages(), 3);
    std::vector<int> all;
    for (auto& [p, rows] : t.rowsOnPage)
        all.insert(all.end(), rows.begin(), rows.end());
    ASSERT_EQ(int(all.size()), 120);
    for (int r = 0; r < 120; ++r)
        EXPECT_EQ(all[r], r);

    // Repeated: page 1 shows the fixed row once, as an ordinary row; later pages repeat it.
    t.rowsOnPage.clear();
    t.g->PrintSettings().SetRepeatFixedRows(true);
    t.Print();
    const int pages = t.g->PrintNrOfPages();
    ASSERT_GE(pages, 3);
    for (int p = 1; p <= pages; ++p) {
        const auto& rows = t.rowsOnPage[p];
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows[0], 0) << "page " << p;
        EXPECT_NE(rows[1], 0) << "page " << p;
    }
}

TEST(PrintEngine, NewPageEventAndCancel)
{
    PrintGrid t(2, 5);
    int asked = 0;
    t.g->OnPrintNewPage = [&](QObject*, int row, bool& newPage) {
        ++asked;
        newPage = row == 5; // after the last row
    };
    EXPECT_EQ(t.Preview(), 2) << "one more, empty page";
    EXPECT_GT(asked, 0);

    PrintGrid c(2, 300);
    std::vector<int> done, nextRow, offset;
    int width = 0, bottom = 0;
    c.g->OnPrintPageDone = [&](QObject*, TCanvas&, int lastRow, int lastRowOffset, int nr, int w, int b) {
        done.push_back(nr);
        nextRow.push_back(lastRow);
        offset.push_back(lastRowOffset);
        width = w;
        bottom = b;
    };
    c.g->OnPrintCancel = [&](QObject*, int nr, bool& cancel) { cancel = nr == 2; };
    c.Print();
    EXPECT_GE(c.g->PrintNrOfPages(), 5);
    EXPECT_EQ(done, (std::vector<int>{1, 2}));
    // The row the next page starts with, and where the finished page's rows ended (y up, above
    // the page's bottom).
    ASSERT_EQ(nextRow.size(), 2u);
    ASSERT_FALSE(c.rowsOnPage[2].empty());
    EXPECT_EQ(nextRow[0], c.rowsOnPage[2].front());
    EXPECT_EQ(nextRow[1], c.rowsOnPage[2].back() + 1);
    EXPECT_GT(width, 1900);
    EXPECT_LT(bottom, -2500);
    for (int y : offset) {
        EXPECT_LT(y, 0);
        EXPECT_GT(y, bottom);
    }
    EXPECT_EQ(PdfPages(c.Pdf()), 2);
    EXPECT_TRUE(c.rowsOnPage.count(3) == 0);
}

TEST(PrintEngine, FramesAndCellLines)
{
    // pbAround: the outer rectangle of the table and no lines between the cells.
    PrintGrid t(3, 4);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 4; ++r)
            t.g->SetCells(c, r, "");
    t.g->PrintSettings().SetBorders(pbAround);
    t.Preview();
    auto dev = [](int lo) { return int(std::lround(lo * kDpi / 254.0)); };
    const int xl = dev(t.g->PrintColOffset(0));
    const int x1 = dev(t.g->PrintColOffset(1));
    const int xr = dev(t.g->PrintColOffset(3));
    EXPECT_GT(t.Ink(xl - 1, 5, xl + 2, 60), 20) << "left edge of the frame";
    EXPECT_GT(t.Ink(xr - 2, 5, xr + 2, 60), 20) << "right edge of the frame";
    EXPECT_EQ(t.Ink(x1 - 2, 5, x1 + 2, 60), 0) << "no line between the cells";

    t.img.fill(Qt::white);
    t.g->PrintSettings().SetBorders(pbSingle);
    t.Preview();
    EXPECT_GT(t.Ink(x1 - 2, 5, x1 + 2, 60), 20) << "cell lines";
}

TEST(PrintEngine, HeaderAndFooterPlaces)
{
    platform::ScriptedServices svc;
    svc.Clock = QDateTime(QDate(2026, 3, 4), QTime(13, 5, 0));
    platform::ScopedServices use(svc);
    PrintGrid t(2, 3);
    TPrintSettings& ps = t.g->PrintSettings();
    ps.SetTime(ppTopLeft);
    ps.SetDate(ppTopRight);
    ps.SetTitle(ppTopCenter);
    ps.SetTitleText("Title");
    ps.SetPageNr(ppBottomRight);
    ps.SetHeaderSize(50);
    ps.SetFooterSize(50);
    ps.SetLeftSize(100);
    ps.SetRightSize(100);
    ps.SetDateFormat("yyyy-mm-dd");
    t.Preview();
    // Widths of the texts as the engine draws them, in device pixels.
    TFont hf;
    hf.Assign(ps.HeaderFont());
    TCanvas m(&t.img);
    m.SetResolutionOverride(kDpi, kDpi);
    m.SetMapMode(mmLoMetric);
    hf.SetHeight(t.g->MapFontHeight(hf.Size()));
    m.SetFont(hf);
    const int timeW = m.TextWidth("13:05 ") * kDpi / 254;
    const int dateW = m.TextWidth(" 2026-03-04") * kDpi / 254;
    const int top = 50 * kDpi / 254;
    const int band = std::abs(hf.Height()) * kDpi / 254 + 6;
    // Top-left starts at the left margin; top-right ends 20 short of the right margin.
    EXPECT_EQ(t.Ink(0, 0, 100 * kDpi / 254 - 1, top + band), 0);
    EXPECT_GT(t.Ink(100 * kDpi / 254, top - 2, 100 * kDpi / 254 + timeW, top + band), 30);
    const int rightEnd = (2100 - 100 - 20) * kDpi / 254;
    EXPECT_GT(t.Ink(rightEnd - dateW, top - 2, rightEnd + 1, top + band), 30);
    EXPECT_EQ(t.Ink(rightEnd + 2, 0, 827, top + band), 0);
    EXPECT_GT(t.Ink(827 / 2 - 30, top - 2, 827 / 2 + 30, top + band), 10) << "centred title";
    EXPECT_GT(t.Ink(827 / 2, 1169 - 80, 827, 1169), 5) << "page number in the footer";
}

TEST(PrintEngine, MarkupTitleTakesRoomAtTheTop)
{
    // Where the first cell lands on the page, with and without a two-line markup title.
    auto firstTop = [](PrintGrid& t) {
        int top = -1;
        t.g->OnCustomCellDraw = [&](QObject*, TCanvas&, int col, int row, TGridDrawState, TRect r, bool) {
            if (col == 0 && row == 0)
                top = r.Top;
        };
        t.Preview();
        return top;
    };
    PrintGrid plain(2, 3);
    plain.g->PrintSettings().SetTitle(ppTopLeft);
    const int top0 = firstTop(plain);

    PrintGrid t(2, 3);
    TPrintSettings& ps = t.g->PrintSettings();
    ps.SetTitle(ppTopLeft);
    ps.TitleLines().Add("<font color=\"clRed\">Red title</font>");
    ps.TitleLines().Add("<br><b>second line</b>");
    const int top1 = firstTop(t);
    t.img.save(kt_test::GrabPath("print_markup_title.png"));
    ASSERT_GT(top0, 0);
    EXPECT_GT(top1, top0 + 20) << "two markup lines push the table down";
    int red = 0;
    for (int y = 0; y < top1; ++y)
        for (int x = 0; x < 827; ++x) {
            const QColor c(t.img.pixel(x, y));
            red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(red, 20) << "the title is drawn in its markup colour above the table";
}

// The rulings: a strip holds at least one column, rows taller than the page are placed once,
// and any number of columns has widths and offsets.
TEST(PrintEngine, Rulings)
{
    {
        PrintGrid t(3, 2);
        for (int c = 0; c < 3; ++c)
            t.g->SetColWidths(c, 900); // each wider than the page
        std::vector<std::pair<int, int>> strips;
        t.g->OnPrintPage = [&](QObject*, TCanvas&, int, int, int) {
            // A strip's first page is announced by the page break and by the strip.
            const auto s = std::make_pair(t.g->PrintColStart(), t.g->PrintColEnd());
            if (strips.empty() || strips.back() != s)
                strips.push_back(s);
        };
        t.Print();
        EXPECT_EQ(t.g->PrintNrOfPages(), 3);
        EXPECT_EQ(strips, (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}}));
    }
    {
        PrintGrid t(2, 4);
        t.g->SetFixedRows(1);
        TPrintSettings& ps = t.g->PrintSettings();
        ps.SetNoAutoSizeRow(false);
        ps.SetUseFixedHeight(true);
        ps.SetFixedHeight(4000); // taller than the page
        EXPECT_EQ(t.Preview(), 4) << "each row once on a page of its own";
        ps.SetRepeatFixedRows(true);
        EXPECT_EQ(t.Preview(), 4) << "repeated fixed rows do not push rows off for ever";
    }
    {
        PrintGrid t(600, 2);
        for (int c = 0; c < 600; ++c)
            t.g->SetColWidths(c, 4);
        t.g->PrintSettings().SetFitToPage(fpAlways);
        EXPECT_GE(t.Preview(), 1);
        EXPECT_GT(t.g->PrintColWidth(511), 0);
        EXPECT_THROW(t.g->PrintColWidth(512), std::exception);
        EXPECT_THROW(t.g->PrintColOffset(-1), std::exception);
    }
}
