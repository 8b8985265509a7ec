#include "platform/Printer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

struct PrinterFixture : ::testing::Test {
    QTemporaryDir dir;
    QString pdf() const { return dir.filePath("job.pdf"); }
    void SetUp() override
    {
        printer.SetOutputFileName(pdf());
        printer.SetResolution(300);
        printer.SetPageSize(QPageSize(QPageSize::A4));
        printer.SetFullPage(true);
    }
    TPrinter printer;
};

} // namespace

TEST_F(PrinterFixture, PageSizeFollowsResolutionAndOrientation)
{
    // A4 is 210 x 297 mm: at 300 dpi about 2480 x 3508 pixels.
    EXPECT_NEAR(printer.PageWidth(), 2480, 2);
    EXPECT_NEAR(printer.PageHeight(), 3508, 2);
    EXPECT_EQ(printer.ResolutionX(), 300);
    EXPECT_EQ(printer.OrientationCapability(), 90);
    printer.SetOrientation(poPrinterLandscape);
    EXPECT_EQ(printer.Orientation(), poPrinterLandscape);
    EXPECT_NEAR(printer.PageWidth(), 3508, 2);
}

TEST_F(PrinterFixture, JobWritesPagesDrawnOnItsCanvas)
{
    printer.SetTitle("Job");
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_FALSE(QFile::exists(pdf())); // nothing drawn yet
    TCanvas& c = printer.Canvas();
    c.SetMapMode(mmLoMetric);
    TRect clip = c.ClipRect();
    EXPECT_NEAR(clip.Right - clip.Left, 2100, 2);
    EXPECT_NEAR(clip.Bottom, -2970, 2);
    c.TextOut(100, -100, "page one");
    printer.NewPage();
    printer.Canvas().TextOut(100, -100, "page two");
    EXPECT_EQ(printer.PageNumber(), 2);
    EXPECT_EQ(printer.Canvas().MapMode(), mmLoMetric); // the canvas keeps its mode over pages
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    const QByteArray bytes = [&] {
        QFile f(pdf());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 2) << "two pages";
}

TEST_F(PrinterFixture, AbortedJobLeavesNoFile)
{
    printer.BeginDoc();
    printer.Abort();
    EXPECT_FALSE(QFile::exists(pdf()));
    EXPECT_TRUE(printer.Aborted());

    // Also when the job had already been drawn on.
    printer.BeginDoc();
    printer.Canvas().TextOut(0, 0, "x");
    EXPECT_TRUE(QFile::exists(pdf()));
    printer.Abort();
    EXPECT_FALSE(QFile::exists(pdf()));
    EXPECT_FALSE(printer.Printing());
}
