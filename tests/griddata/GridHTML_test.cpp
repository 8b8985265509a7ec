// HTML export against hand-made pages: classes, spans, links, widths and the page frame; cell
// pictures written as JPEG files; the page file in ASCII with character references or UTF-16,
// appended, framed by header and footer files, and opened for preview.
#include "TestSupport.h"
#include "GridDataFixture.h"
#include "grid/AdvGrid.h"
#include "platform/Jpeg.h"
#include "platform/Picture.h"
#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

std::unique_ptr<TVerIvovavOzed> MakeGrid(int cols, int rows, int fixedRows)
{
    auto g = griddatatest::MakeGrid(cols, rows, 0, fixedRows);
    g->Font().SetName(QStringLiteral("Arial"));
    g->Font().SetSize(10);
    g->Font().SetColor(clWindowText);
    g->FixedFont().SetName(QStringLiteral("Arial"));
    g->FixedFont().SetSize(10);
    g->FixedFont().SetStyle(fsBold);
    g->FixedFont().SetColor(clBlack);
    g->SetColor(clWindow);
    g->SetFixedColor(clBtnFace);
    return g;
}

// A header row, a link, a right-aligned cell that does not wrap and holds "<", a merged
// multi-line cell and a bold red cell.
std::unique_ptr<TVerIvovavOzed> StyledGrid()
{
    auto g = MakeGrid(3, 3, 1);
    g->SetURLShow(true);
    g->SetCells(0, 0, "Name");
    g->SetCells(1, 0, "Site");
    g->SetCells(0, 1, "Alice");
    g->SetCells(1, 1, "http://example.com/a");
    g->SetCells(2, 1, "x<y");
    g->SetAlignments(2, 1, taRightJustify);
    g->SetWordWraps(2, 1, false);
    g->MergeCells(0, 2, 2, 1);
    g->SetCells(0, 2, "Wide\r\ntext");
    g->SetCells(2, 2, "B");
    g->SetFontStyles(2, 2, fsBold);
    g->SetColors(2, 2, clRed);
    return g;
}

QString FixtureText(const QString& name)
{
    return QString::fromLatin1(kt_test::ReadFile(kt_test::FixturePath(QStringLiteral("griddata/html/") + name)));
}

// The content of every TD of a page, in order.
QStringList CellContents(const QString& page)
{
    QStringList out;
    qsizetype p = 0;
    while ((p = page.indexOf(QLatin1String("<TD "), p)) >= 0) {
        const qsizetype open = page.indexOf(QLatin1Char('>'), p);
        const qsizetype close = page.indexOf(QLatin1String("</td>"), open);
        out << page.mid(open + 1, close - open - 1);
        p = close;
    }
    return out;
}

TEST(GridHTML, StyledGridGivesTheHandMadePage)
{
    auto g = StyledGrid();
    EXPECT_EQ(g->SaveToHTMLString(QString()), FixtureText("styled.html"));

    // The same grid with a picture, as a page file under the grabs for a person to look at.
    QImage pic(24, 16, QImage::Format_RGB32);
    pic.fill(QColor(0x33, 0x99, 0x33));
    TBitmap bmp(pic);
    g->AddBitmap(0, 1, &bmp, false, haLeft, vaTop);
    g->SetFontColors(0, 1, clBlue);
    const QString page = kt_test::GrabPath("html/styled.html");
    QDir().mkpath(QFileInfo(page).path());
    g->SaveToHTML(page, false, false);
    EXPECT_TRUE(QFile::exists(QFileInfo(page).path() + "/images/img1.jpg"));
}

TEST(GridHTML, PageFrameAndColumnWidths)
{
    auto g = MakeGrid(2, 2, 1);
    g->SetCells(0, 0, "H");
    g->SetCells(0, 1, "v");
    THTMLSettings& hs = g->HTMLSettings();
    hs.SetXHTML(true);
    hs.SetSummary("sum");
    hs.SetTableStyle("class=\"t\"");
    hs.SetPrefixTag("<p>pre</p>");
    hs.SetSuffixTag("<p>post</p>");
    hs.SetBorderSize(2);
    hs.SetCellSpacing(3);
    hs.SetCellPadding(4);
    hs.SetWidth(80);
    hs.SetSaveColor(false);
    hs.ColWidths().Add(50);
    hs.ColWidths().Add(70);
    EXPECT_EQ(g->SaveToHTMLString(QString()), FixtureText("frame.html"));

    // Without a header row the body cells carry the widths, counted from the first saved column.
    g->SetSaveFixedCells(false);
    g->SetFixedCols(1);
    g->SetRowCount(3);
    g->SetCells(1, 1, "w");
    const QString page = g->SaveToHTMLString(QString());
    EXPECT_TRUE(page.contains("<TD class=\"c0\" width=50>w</td>")) << qPrintable(page);
    EXPECT_FALSE(page.contains("WIDTH=50"));
}

TEST(GridHTML, CellTextsAsTheSettingsSay)
{
    struct Case {
        const char* text;
        bool convert, nbsp, urlShow, urlFull;
        const char* content;
    };
    const Case cases[] = {
        {"a<b>&\"c\"", false, false, false, false, "a<b>&\"c\""},
        {"a<b>&\"c\" é", true, false, false, false, "a&lt;b&gt;&amp;&quot;c&quot; &eacute;"},
        {"a b  c", false, true, false, false, "a&nbsp;b&nbsp;&nbsp;c"},
        {"   ", false, false, false, false, "&nbsp;"},
        {"", false, false, false, false, "&nbsp;"},
        {"L1\r\nL2", false, false, false, false, "L1<br>\nL2"},
        {"https://x.org/p", false, false, false, false, "https://x.org/p"},
        {"https://x.org/p", false, false, true, false, "<a href=https://x.org/p>x.org/p</a>"},
        {"https://x.org/p", false, false, true, true, "<a href=https://x.org/p>https://x.org/p</a>"},
        {"mailto:me@x.org", false, false, true, false, "<a href=mailto:me@x.org>me@x.org</a>"},
        {"<b>http://x.org</b>", false, false, true, false, "<b>http://x.org</b>"},
    };
    for (const Case& c : cases) {
        auto g = MakeGrid(1, 1, 0);
        g->SetCells(0, 0, QString::fromUtf8(c.text));
        g->HTMLSettings().SetConvertSpecialChars(c.convert);
        g->HTMLSettings().SetNonBreakingText(c.nbsp);
        g->SetURLShow(c.urlShow);
        g->SetURLFull(c.urlFull);
        EXPECT_EQ(CellContents(g->SaveToHTMLString(QString())), QStringList{QString::fromUtf8(c.content)})
            << c.text;
    }
}

TEST(GridHTML, ClassesFollowFirstUseAndIgnoreCase)
{
    auto g = MakeGrid(3, 1, 0);
    g->SetFontStyles(0, 0, fsBold);
    g->SetFontNames(2, 0, "ARIAL");
    g->SetVAlignment(vtaBottom);
    const QString page = g->SaveToHTMLString(QString());
    EXPECT_TRUE(page.startsWith("<style>\r\n.c0 {background-color: #FFFFFF;color: #000000;font-size:10pt;"
                                "font-weight: bold;font-family: Arial;vertical-align: bottom}\r\n"
                                ".c1 {background-color: #FFFFFF;color: #000000;font-size:10pt;"
                                "font-family: Arial;vertical-align: bottom}\r\n</style>\r\n"))
        << qPrintable(page);
    EXPECT_TRUE(page.contains("<TD class=\"c1\">&nbsp;</td>\r\n<TD class=\"c1\">&nbsp;</td>"));
}

TEST(GridHTML, PicturesBecomeJpegFilesBesideThePage)
{
    QTemporaryDir dir;
    auto g = MakeGrid(3, 3, 1);
    TCustomImageList images(4, 4);
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage blue(4, 4, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    images.AddImage(red);
    images.AddImage(blue);
    g->SetGridImages(&images);

    TBitmap header(QImage(6, 5, QImage::Format_RGB32));
    g->SetCells(0, 0, "H");
    g->AddBitmap(0, 0, &header, false, haLeft, vaTop);
    TBitmap body(QImage(8, 3, QImage::Format_RGB32));
    g->SetCells(0, 1, "bmp");
    g->AddBitmap(0, 1, &body, false, haLeft, vaTop);
    g->SetCells(1, 1, "idx");
    g->AddImageIdx(1, 1, 1, haLeft, vaTop);
    g->SetCells(2, 1, "7");
    g->AddDataImage(2, 1, 0, haLeft, vaTop);  // the text 7 is no image of the list
    g->SetCells(0, 2, "1");
    g->AddDataImage(0, 2, 0, haLeft, vaTop);
    g->SetCells(1, 2, "bad");
    g->AddImageIdx(1, 2, 5, haLeft, vaTop);
    g->SetCells(2, 2, "many");
    g->AddMultiImage(2, 2, 0, haLeft, vaTop);
    g->GetCellGraphic(2, 2)->Images()->Add(0);
    g->GetCellGraphic(2, 2)->Images()->Add(1);

    const QString img = "<img src= \"file://" + QDir(dir.path()).absolutePath() + "/images/img";
    const QStringList cells = CellContents(g->SaveToHTMLString(dir.path()));
    const QStringList expected = {
        "H" + img + "1.jpg\">", "&nbsp;", "&nbsp;",
        "bmp" + img + "2.jpg\">", img + "3.jpg\">idx", "",
        img + "4.jpg\">", "bad", img + "5.jpg\">" + img + "6.jpg\">many",
    };
    EXPECT_EQ(cells, expected);

    QImage out;
    ASSERT_TRUE(DecodeJpeg(kt_test::ReadFile(dir.filePath("images/img1.jpg")), &out));
    EXPECT_EQ(out.size(), QSize(6, 5)) << "the header picture is not written over by the body's";
    ASSERT_TRUE(DecodeJpeg(kt_test::ReadFile(dir.filePath("images/img2.jpg")), &out));
    EXPECT_EQ(out.size(), QSize(8, 3));
    ASSERT_TRUE(DecodeJpeg(kt_test::ReadFile(dir.filePath("images/img3.jpg")), &out));
    EXPECT_GT(qBlue(out.pixel(1, 1)), 200);
    EXPECT_LT(qRed(out.pixel(1, 1)), 60);

    // Without ExportImages only the texts remain; a node cell shows "+" before its text only
    // when pictures are exported.
    g->HTMLSettings().SetExportImages(false);
    EXPECT_EQ(CellContents(g->SaveToHTMLString(dir.path()))[3], "bmp");
}

TEST(GridHTML, JpegPictureKeepsItsBytesAndNodeGetsPlus)
{
    QTemporaryDir dir;
    auto g = MakeGrid(2, 2, 0);
    QImage pic(5, 5, QImage::Format_RGB32);
    pic.fill(Qt::green);
    QByteArray jpeg;
    ASSERT_TRUE(EncodeJpeg(pic, &jpeg, 50));
    TPicture picture;
    picture.LoadFromData(jpeg);
    g->SetCells(1, 0, "p");
    g->AddPicture(1, 0, &picture, false, noStretch, 0, haLeft, vaTop);
    g->SetCells(0, 1, "n");
    g->AddNode(1, 1);
    const QStringList cells = CellContents(g->SaveToHTMLString(dir.path() + "/"));
    EXPECT_TRUE(cells[1].startsWith("p<img src= \"file://")) << qPrintable(cells[1]);
    EXPECT_EQ(cells[2], "+n");
    EXPECT_EQ(kt_test::ReadFile(dir.filePath("images/img1.jpg")), jpeg);
}

TEST(GridHTML, ImagesFolderThatCannotBeMadeIsReported)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("images"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto g = MakeGrid(1, 1, 0);
    TBitmap bmp(QImage(2, 2, QImage::Format_RGB32));
    g->AddBitmap(0, 0, &bmp, false, haLeft, vaTop);
    try {
        g->SaveToHTMLString(dir.path());
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), "Cannot create " + dir.path() + "/images");
    }
}

TEST(GridHTML, PageFileInAsciiWithReferencesFramedAndOpened)
{
    QTemporaryDir dir;
    ScriptedServices services;
    ScopedServices scope(services);
    auto g = MakeGrid(1, 1, 0);
    g->SetCells(0, 0, QString::fromUtf8("Grüße € \xF0\x9F\x98\x80"));
    const QString header = dir.filePath("head.txt"), footer = dir.filePath("foot.txt");
    QFile h(header);
    ASSERT_TRUE(h.open(QIODevice::WriteOnly));
    h.write("<html><body>\r\n");
    h.close();
    QFile f(footer);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("</body></html>\r\n");
    f.close();
    g->HTMLSettings().SetHeaderFile(header);
    g->HTMLSettings().SetFooterFile(footer);

    const QString page = dir.filePath("page.html");
    g->SaveToHTML(page, false, false);
    EXPECT_EQ(kt_test::ReadFile(page), kt_test::ReadFile(kt_test::FixturePath("griddata/html/ascii.html")));
    EXPECT_TRUE(services.OpenedUrls.isEmpty());

    // UTF-16 with a byte-order mark holds the same text as it is.
    g->SaveToHTML(page, true, true);
    const QByteArray utf16 = kt_test::ReadFile(page);
    ASSERT_TRUE(utf16.startsWith("\xFF\xFE"));
    const QString text = QStringDecoder(QStringConverter::Utf16LE).decode(utf16.mid(2));
    EXPECT_EQ(text, "<html><body>\r\n" + g->SaveToHTMLString(dir.path()) + "</body></html>\r\n");
    EXPECT_EQ(services.OpenedUrls, QStringList{QFileInfo(page).absoluteFilePath()});

    // Appending keeps the lines already there.
    g->HTMLSettings().SetHeaderFile(QString());
    g->HTMLSettings().SetFooterFile(QString());
    g->HTMLSettings().SetAutoPreview(true);
    const QString appended = dir.filePath("more.html");
    QFile a(appended);
    ASSERT_TRUE(a.open(QIODevice::WriteOnly));
    a.write("<h1>Before</h1>\r\n");
    a.close();
    g->AppendToHTML(appended, false, false);
    EXPECT_EQ(QString::fromLatin1(kt_test::ReadFile(appended)),
              "<h1>Before</h1>\r\n" + QString::fromLatin1(kt_test::ReadFile(kt_test::FixturePath("griddata/html/ascii.html")))
                                          .remove("<html><body>\r\n")
                                          .remove("</body></html>\r\n"));
    EXPECT_EQ(services.OpenedUrls.size(), 2);
    // A missing file to append to counts as empty.
    g->AppendToHTML(dir.filePath("new.html"), false, false);
    EXPECT_TRUE(kt_test::ReadFile(dir.filePath("new.html")).startsWith("<style>"));
}

TEST(GridHTML, MissingHeaderFileAndUnwritablePageFail)
{
    QTemporaryDir dir;
    auto g = MakeGrid(1, 1, 0);
    g->HTMLSettings().SetHeaderFile(dir.filePath("none.txt"));
    EXPECT_THROW(g->SaveToHTML(dir.filePath("p.html"), false, false), EFOpenError);
    EXPECT_FALSE(QFile::exists(dir.filePath("p.html")));
    g->HTMLSettings().SetHeaderFile(QString());
    EXPECT_THROW(g->SaveToHTML(dir.filePath("no/such/p.html"), false, false), EFCreateError);
}

} // namespace
