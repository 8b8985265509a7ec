// The grid's own text file and text stream: bytes against hand-made fixtures, escapes of
// multi-line texts, progress, the corrupt-file error, stream positions and re-entry.
#include "TestSupport.h"
#include "GridDataFixture.h"
#include "grid/AdvGrid.h"
#include "platform/ScriptedServices.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

using namespace platform;

using griddatatest::MakeGrid;

namespace {

QByteArray Utf16Lines(const QStringList& lines)
{
    QByteArray b;
    for (const QString& l : lines)
        for (QChar c : l + QStringLiteral("\r\n")) {
            b.append(char(c.unicode() & 0xFF));
            b.append(char(c.unicode() >> 8));
        }
    return b;
}

TEST(GridTextFile, WritesTheFixtureAndReadsItBack)
{
    QTemporaryDir dir;
    auto g = MakeGrid(3, 2);
    g->SetColWidths(0, 50);
    g->SetColWidths(1, 60);
    g->SetColWidths(2, 70);
    g->SetCells(0, 0, "a,b");
    g->SetCells(1, 1, "A\r\nB");
    g->SetCells(2, 1, "x\ty");
    const QString path = dir.filePath("g.txt");
    g->SaveToFile(path, false);
    EXPECT_EQ(kt_test::ReadFile(path), kt_test::ReadFile(kt_test::FixturePath("griddata/grid3x2.txt")));

    for (bool multi : {true, false}) {
        auto h = MakeGrid(1, 1);
        h->SetMultilinecells(multi);
        h->LoadFromFile(kt_test::FixturePath("griddata/grid3x2.txt"));
        EXPECT_EQ(h->ColCount(), 3);
        EXPECT_EQ(h->RowCount(), 2);
        EXPECT_EQ(h->ColWidths(2), 70);
        EXPECT_EQ(h->Cells(0, 0), "a,b");
        EXPECT_EQ(h->Cells(1, 1), multi ? "A\r\nB" : "A");
        EXPECT_EQ(h->Cells(2, 1), "x\ty");
    }

    // The Unicode variant: UTF-16 LE with a byte-order mark.
    g->SaveToFile(path, true);
    const QByteArray u = kt_test::ReadFile(path);
    EXPECT_TRUE(u.startsWith(QByteArray("\xFF\xFE" "3\0,\0" "2\0\r\0\n\0", 12)));
}

TEST(GridTextFile, LoneLineFeedsAndNulsSurviveARoundTrip)
{
    QTemporaryDir dir;
    auto g = MakeGrid(2, 2);
    g->SetCells(1, 1, "one\ntwo");
    g->SetCells(0, 1, QString("a\rb") + QChar(0) + "c\r\n");
    g->SaveToFile(dir.filePath("f.txt"), true);
    auto h = MakeGrid(2, 2);
    h->SetMultilinecells(true);
    h->LoadFromFile(dir.filePath("f.txt"));
    EXPECT_EQ(h->Cells(1, 1), "one\ntwo") << "a lone LF must not split the line";
    EXPECT_EQ(h->Cells(0, 1), QString("a\rb") + QChar(0) + "c\r\n");
    EXPECT_EQ(h->Cells(0, 0), "") << "no stray cell from a split line";
}

TEST(GridTextFile, ProgressRunsFromTheFirstSavedRow)
{
    QTemporaryDir dir;
    struct Case {
        int rows, fixedRows;
        bool saveFixed;
        std::vector<int> expected;
    } cases[] = {
        {11, 0, true, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
        {1, 0, true, {0}},
        {12, 1, false, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
    };
    for (const Case& k : cases) {
        auto g = MakeGrid(2, k.rows, 0, k.fixedRows);
        g->SetSaveFixedCells(k.saveFixed);
        std::vector<int> got;
        g->OnFileProgress = [&](QObject*, int p) { got.push_back(p); };
        g->SaveToFile(dir.filePath("p.txt"), false);
        EXPECT_EQ(got, k.expected) << k.rows;
    }
}

TEST(GridTextFile, ACountLineWithoutColumnsIsACorruptFile)
{
    auto g = MakeGrid(4, 4);
    g->SetCells(1, 1, "kept");
    const QString path = kt_test::FixturePath("griddata/nocols.txt");
    try {
        g->LoadFromFile(path);
        FAIL() << "no error";
    } catch (const ZUzeRodoRediv& e) {
        EXPECT_EQ(e.Message(), "File contains no data or corrupt file " + path);
    }
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->Cells(1, 1), "kept");
    EXPECT_THROW(g->LoadFromFile(path + ".missing"), EFOpenError);
}

// A count line claiming more columns than any grid holds is refused before the grid grows.
TEST(GridTextFile, AnImpossibleColumnCountIsACorruptFile)
{
    auto g = MakeGrid(4, 4);
    EXPECT_THROW(g->LoadFromFile(kt_test::FixturePath("griddata/hugecols.txt")), ZUzeRodoRediv);
    EXPECT_EQ(g->ColCount(), 4);
}

TEST(GridTextFile, EventsDuringALoadCannotReenterIt)
{
    ScriptedServices services;
    ScopedServices scope(services);
    QTemporaryDir dir;
    auto src = MakeGrid(2, 3);
    src->SetCells(0, 0, "a");
    src->SetCells(1, 2, "b");
    src->SaveToFile(dir.filePath("r.txt"), false);

    auto g = MakeGrid(1, 1);
    int nested = 0;
    services.OnProcessMessages = [&] {
        ++nested;
        g->LoadFromFile(dir.filePath("r.txt")); // refused while the first load runs
    };
    g->LoadFromFile(dir.filePath("r.txt"));
    EXPECT_EQ(nested, 2);
    EXPECT_EQ(g->Cells(1, 2), "b");

    // A grid deleted by an event handled during its load ends the load.
    TVerIvovavOzed* raw = new TVerIvovavOzed();
    raw->Loaded();
    services.OnProcessMessages = [&] { delete raw; raw = nullptr; };
    raw->LoadFromFile(dir.filePath("r.txt"));
    EXPECT_EQ(raw, nullptr);
}

TEST(GridTextStream, PositionsRelativeToTheSaveAreaAndTheStreamLeftAfterTheGrid)
{
    auto g = MakeGrid(3, 3, 1, 1);
    g->SetSaveFixedCells(false);
    g->SetColWidths(0, 20);
    g->SetColWidths(1, 30);
    g->SetColWidths(2, 40);
    g->SetCells(0, 0, "fixed");
    g->SetCells(1, 1, "first");
    g->SetCells(2, 2, "x,y");
    QBuffer buf;
    buf.open(QIODevice::ReadWrite);
    g->SaveToStream(buf);
    EXPECT_EQ(buf.data(), Utf16Lines({"2,2", "cw 0,20", "cw 1,30", "cw 2,40", "0,0,first", "1,1,x,y"}));

    buf.write(Utf16Lines({"other data", "more"}));
    buf.seek(0);
    auto h = MakeGrid(5, 5, 1, 1);
    h->SetSaveFixedCells(false);
    h->LoadFromStream(buf);
    EXPECT_EQ(h->ColCount(), 3);
    EXPECT_EQ(h->RowCount(), 3);
    EXPECT_EQ(h->Cells(1, 1), "first");
    EXPECT_EQ(h->Cells(2, 2), "x,y");
    EXPECT_EQ(h->Cells(0, 0), "");
    EXPECT_EQ(h->ColWidths(2), 40);
    EXPECT_EQ(buf.pos(), Utf16Lines({"2,2", "cw 0,20", "cw 1,30", "cw 2,40", "0,0,first", "1,1,x,y"}).size());
}

TEST(GridTextStream, KeepsRightFixedColumnsAndFootersAndSkipsForeignWidths)
{
    auto h = MakeGrid(4, 4, 1, 1);
    h->SetSaveFixedCells(false);
    h->SetFixedRightCols(1);
    h->SetFixedFooters(1);
    QBuffer buf;
    buf.setData(Utf16Lines({"3,2", "cw 9,99", "cw 1,33", "2,1,last"}));
    buf.open(QIODevice::ReadOnly);
    h->LoadFromStream(buf);
    EXPECT_EQ(h->ColCount(), 5) << "fixed column, three saved columns, right fixed column";
    EXPECT_EQ(h->RowCount(), 4) << "fixed row, two saved rows, footer";
    EXPECT_EQ(h->ColWidths(1), 33);
    EXPECT_EQ(h->Cells(3, 2), "last");

    QBuffer bad;
    bad.setData(Utf16Lines({"2,2", "1,x,text"}));
    bad.open(QIODevice::ReadOnly);
    EXPECT_THROW(h->LoadFromStream(bad), EConvertError);
}

} // namespace
