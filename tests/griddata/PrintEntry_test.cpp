// Printing, previewing and drawing entry points: the page range chosen in OnPrintStart, the
// preview page, printing selected rows, drawing into a clipped canvas and the fast print.
#include "grid/AdvGrid.h"
#include "platform/Printer.h"
#include "TestSupport.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

constexpr int kDpi = 100;

struct EntryGrid {
    QWidget window;
    TVerIvovavOzed* g;
    QTemporaryDir dir;
    int page = 0;
    std::map<int, std::vector<int>> rows; // rows drawn per page
    std::vector<int> cols;                // columns drawn on the first row drawn
    std::vector<QString> nums;
    std::vector<int> exports;

    explicit EntryGrid(int nrows)
    {
        g = new TVerIvovavOzed(&window);
        g->SetColCount(3);
        g->SetRowCount(nrows);
        g->Loaded();
        for (int r = 0; r < nrows; ++r)
            g->SetCells(0, r, QString::number(r));
        TPrintSettings& ps = g->PrintSettings();
        ps.SetNoAutoSize(true);
        ps.SetNoAutoSizeRow(true);
        ps.SetPageNr(ppBottomRight);
        g->OnPrintPage = [this](QObject*, TCanvas&, int nr, int, int) { page = nr; };
        g->OnCustomCellDraw = [this](QObject*, TCanvas&, int col, int row, TGridDrawState, TRect, bool) {
            auto& v = rows[page];
            if (v.empty() || v.back() != row)
                v.push_back(row);
            if (rows.size() == 1 && v.size() == 1)
                cols.push_back(col);
        };
        g->OnPrintGetPageNum = [this](QObject*, int, int, QString& s) { nums.push_back(s); };
        platform::TPrinter& p = platform::Printer();
        p.SetOutputFileName(Pdf());
        p.SetResolution(kDpi);
        p.SetPageSize(QPageSize(QPageSize::A4));
        p.SetFullPage(true);
    }
    QString Pdf() const { return dir.filePath("entry.pdf"); }
    int PdfPages() const
    {
        QFile f(Pdf());
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray b = f.readAll();
        return int(b.count("/Type /Page\n") + b.count("/Type /Page "));
    }
};

} // namespace

TEST(PrintEntry, PrintStartChoosesPages)
{
    // Nothing chosen: no job, no file.
    {
        EntryGrid t(230);
        int offered = 0;
        t.g->OnPrintStart = [&](QObject*, int n, int& from, int& to) {
            offered = n;
            EXPECT_EQ(from, 1);
            EXPECT_EQ(to, n);
            from = 0;
        };
        t.g->Print();
        EXPECT_EQ(offered, 5);
        EXPECT_FALSE(QFile::exists(t.Pdf()));
        EXPECT_TRUE(t.rows.empty());
    }
    // Pages 2 and 3 of 5, numbered as such.
    {
        EntryGrid t(230);
        t.g->OnPrintStart = [&](QObject*, int, int& from, int& to) {
            from = 2;
            to = 3;
        };
        t.g->Print();
        EXPECT_EQ(t.PdfPages(), 2);
        EXPECT_EQ(t.nums, (std::vector<QString>{"2/5", "3/5"}));
        EXPECT_EQ(t.g->PrintNrOfPages(), 3);
        ASSERT_EQ(t.rows.size(), 2u);
        EXPECT_GT(t.rows[2].front(), 0);
        EXPECT_EQ(t.rows[3].front(), t.rows[2].back() + 1);
        // The range persists: a preview now draws pages 2 and 3 too.
        EXPECT_EQ(t.g->PreviewPage(), 2);
    }
}

TEST(PrintEntry, PreviewDrawsTheChosenPage)
{
    EntryGrid all(230);
    all.g->Print();
    ASSERT_EQ(all.g->PrintNrOfPages(), 5);
    const std::vector<int> page3 = all.rows[3];

    EntryGrid t(230);
    std::vector<int> notes;
    QImage img(827, 1169, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas cv(&img);
    cv.SetResolutionOverride(kDpi, kDpi);
    t.g->SetPreviewPage(3);
    bool during = false;
    t.g->OnPrintPageDone = [&](QObject*, TCanvas&, int, int, int, int, int) {
        during = during || t.g->IsPrintPreview();
    };
    t.g->PrintPreview(cv, TRect(0, 0, 827, 1169));
    EXPECT_EQ(t.g->PrintNrOfPages(), 5);
    EXPECT_EQ(t.rows[3], page3);
    EXPECT_EQ(t.rows.count(1) + t.rows.count(2) + t.rows.count(4), 0u) << "only page 3 is drawn";
    EXPECT_TRUE(during);
    EXPECT_FALSE(t.g->IsPrintPreview());
    EXPECT_EQ(cv.MapMode(), mmText) << "the mapping mode is restored";
    img.save(kt_test::GrabPath("print_preview_page3.png"));
}

TEST(PrintEntry, SelectedRowsWithDisjunctSelection)
{
    EntryGrid t(10);
    t.g->MouseActions().SetDisjunctRowSelect(true);
    t.g->SetRowSelect(2, true);
    t.g->SetRowSelect(5, true);
    t.g->SetRowSelect(6, true);
    t.g->PrintSelectedRows();
    EXPECT_EQ(t.rows[1], (std::vector<int>{2, 5, 6}));
    EXPECT_EQ(t.cols, (std::vector<int>{0, 1, 2})) << "all columns";
}

TEST(PrintEntry, DrawLaysOutForTheClipRectangle)
{
    EntryGrid t(200);
    QImage img(827, 1169, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas cv(&img);
    cv.SetResolutionOverride(kDpi, kDpi);
    cv.SetClipRect(TRect(0, 0, 400, 300));
    t.g->PrintDraw(cv, TRect(0, 0, 827, 1169));
    EXPECT_EQ(t.g->PrintPageRect(), TRect(0, 0, 1016, -762));
    EXPECT_EQ(t.g->PrintNrOfPages(), 1);
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_LT(t.rows[1].size(), 15u) << "only what fits the clip rectangle";
}

TEST(PrintEntry, FastPrintShowsNoTotal)
{
    EntryGrid t(100);
    t.g->SetFastPrint(true);
    t.g->Print();
    ASSERT_FALSE(t.nums.empty());
    EXPECT_EQ(t.nums[0], "1");
    EXPECT_EQ(t.g->PrintNrOfPages(), 2147483647);
}
