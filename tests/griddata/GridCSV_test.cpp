// CSV, fixed-width and text-table files against hand-made fixtures; delimiter detection, the
// Java dialect, row limits, the floating footer kept by an insert, CellToReal and text extents.
#include "TestSupport.h"
#include "GridDataFixture.h"
#include "grid/AdvGrid.h"
#include "platform/SysUtils.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <tuple>
#include <gtest/gtest.h>

using namespace platform;

using griddatatest::MakeGrid;
using griddatatest::Fill;

namespace {

void WriteText(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void LoadCSVText(TVerIvovavOzed& g, const QByteArray& text)
{
    QBuffer b;
    b.setData(text);
    b.open(QIODevice::ReadOnly);
    g.LoadFromCSVStream(b, 0);
}

TEST(GridCSV, WritesTheFixtureAndReadsItBack)
{
    QTemporaryDir dir;
    auto g = MakeGrid(3, 2);
    Fill(*g, {{"a,b", "say \"hi\"", ""}, {"A\r\nB", "plain", "x"}});
    const QString path = dir.filePath("c.csv");
    g->SaveToCSV(path, false);
    EXPECT_EQ(kt_test::ReadFile(path), kt_test::ReadFile(kt_test::FixturePath("griddata/cells.csv")));

    auto h = MakeGrid(1, 1);
    h->LoadFromCSV(path, 0);
    ASSERT_EQ(h->ColCount(), 3);
    ASSERT_EQ(h->RowCount(), 2);
    EXPECT_EQ(h->Cells(0, 0), "a,b");
    EXPECT_EQ(h->Cells(1, 0), "say \"hi\"");
    EXPECT_EQ(h->Cells(2, 0), "");
    EXPECT_EQ(h->Cells(0, 1), "A\r\nB");
    EXPECT_EQ(h->Delimiter(), QChar(0)) << "set back after the import";

    g->SaveToCSV(path, true);
    EXPECT_TRUE(kt_test::ReadFile(path).startsWith("\xEF\xBB\xBF\"a,b\""));
}

TEST(GridCSV, FieldEncodingsAndRoundTrips)
{
    QTemporaryDir dir;
    struct Case {
        const char* name;
        bool java, quoteEmpty, always;
        QString text;
        QByteArray expected;
    } cases[] = {
        {"empty", false, true, false, "", "\"\""},
        {"empty java", true, true, false, "", "^"},
        {"empty unquoted", false, false, false, "", ""},
        {"two lines java", true, true, false, "A\r\nB,", "\"A~B,\""},
        {"quote and delimiter java", true, true, false, "say \"x\", y", "\"say \"\"x\"\", y\""},
        {"quote java", true, true, false, "say \"x\"", "\"say \"\"x\"\"\""},
        {"always", false, true, true, "v", "\"v\""},
        {"lone LF", false, true, false, "a\nb", "\"a\vb\""},
        {"quote and line break", false, true, false, "say \"x\"\r\nend", "\"say \"\"x\"\"\vend\""},
    };
    for (const Case& k : cases) {
        auto g = MakeGrid(1, 1);
        g->SetJavaCSV(k.java);
        g->SetQuoteEmptyCells(k.quoteEmpty);
        g->SetAlwaysQuotes(k.always);
        g->SetCells(0, 0, k.text);
        const QString path = dir.filePath("f.csv");
        g->SaveToCSV(path, false);
        EXPECT_EQ(kt_test::ReadFile(path), k.expected + "\r\n") << k.name;
        if (k.text.contains('\n') && !k.java) {
            auto h = MakeGrid(1, 1);
            h->LoadFromCSV(path, 0);
            EXPECT_EQ(h->Cells(0, 0), QString(k.text).replace("\r\n", "\n").replace("\n", "\r\n")) << k.name;
            EXPECT_EQ(h->RowCount(), 1) << k.name;
        }
    }
}

// Each dialect reads its own file back whole: in the Java dialect a field with the delimiter or a
// quote is quoted, line breaks still travel as "~" and an empty cell as "^".
TEST(GridCSV, JavaDialectReadsItsOwnFileBack)
{
    QTemporaryDir dir;
    const std::vector<std::vector<QString>> rows = {
        {"a,b", "say \"x\", y", "A\r\nB", "", "last"},
        {"\"q\"", "p,", "A\r\nB,C", "x", ",\"\","},
    };
    auto g = MakeGrid(5, 2);
    g->SetJavaCSV(true);
    Fill(*g, rows);
    const QString path = dir.filePath("j.csv");
    g->SaveToCSV(path, false);

    auto h = MakeGrid(1, 1);
    h->SetJavaCSV(true);
    h->LoadFromCSV(path, 0);
    ASSERT_EQ(h->ColCount(), 5);
    ASSERT_EQ(h->RowCount(), 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(h->Cells(c, r), rows[size_t(r)][size_t(c)]) << c << "," << r;
}

TEST(GridCSV, DetectsTheDelimiterAndSplitsFields)
{
    auto g = MakeGrid(1, 1);
    g->LoadFromCSV(kt_test::FixturePath("griddata/semicolons.csv"), 0);
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->Cells(1, 0), "b,c");
    EXPECT_EQ(g->Cells(3, 1), "5");

    // Three commas give four fields; the last one, empty, is not written.
    auto h = MakeGrid(5, 1);
    h->SetCells(3, 0, "kept");
    LoadCSVText(*h, "p,,q,\r\np,,q,\r\n");
    EXPECT_EQ(h->Cells(0, 0), "p");
    EXPECT_EQ(h->Cells(1, 0), "");
    EXPECT_EQ(h->Cells(2, 0), "q");
    EXPECT_EQ(h->Cells(3, 0), "kept");

    // A missing closing quote reads as empty; blanks before a field go.
    auto k = MakeGrid(3, 1);
    k->SetDelimiter(',');
    LoadCSVText(*k, "  \"open,x\r\n");
    EXPECT_EQ(k->Cells(0, 0), "");
    EXPECT_EQ(k->Cells(1, 0), "x");
}

// The first two lines choose the delimiter: one that splits both alike counting only the runs a
// reader takes for delimiters, else one both hold as often, else the one either holds most often.
TEST(GridCSV, DetectedDelimiterFollowsTheRulesInTurn)
{
    // Name, the file's text, a cell and the text it gets.
    const std::tuple<const char*, QByteArray, int, int, QString> cases[] = {
        {"same field count", "a,b;c;d;e\r\nf,g;h\r\n", 1, 0, "b;c;d;e"},
        {"same field count before same count", "a;b|c||d\r\ne;f|g||h\r\n", 1, 0, "b|c||d"},
        {"same count, a doubled run", "a||b|c,d,e,f,g\r\nx|y|z|w,h\r\n", 2, 0, "b"},
        {"most often in either line", "a#b#c\r\nx,y\r\n", 2, 0, "c"},
        {"most often, the other line unsplit", "a#b#c\r\nx,y\r\n", 0, 1, "x,y"},
    };
    for (const auto& [name, text, col, row, expected] : cases) {
        auto g = MakeGrid(1, 1);
        LoadCSVText(*g, text);
        EXPECT_EQ(g->Cells(col, row), expected) << name;
    }
}

TEST(GridCSV, RowLimitEmptyInputAndFooterKeptByInsert)
{
    QTemporaryDir dir;
    QByteArray ten;
    for (int i = 0; i < 10; ++i)
        ten += QByteArray::number(i) + ",v\r\n";
    WriteText(dir.filePath("ten.csv"), ten);
    auto g = MakeGrid(2, 1);
    g->LoadFromCSV(dir.filePath("ten.csv"), 2);
    EXPECT_EQ(g->RowCount(), 2);
    EXPECT_EQ(g->Cells(0, 1), "1");

    QBuffer empty;
    empty.open(QIODevice::ReadOnly);
    try {
        g->LoadFromCSVStream(empty, 0);
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), "File is empty");
    }
    WriteText(dir.filePath("empty.csv"), "");
    g->LoadFromCSV(dir.filePath("empty.csv"), 0);
    EXPECT_EQ(g->Cells(0, 1), "1") << "an empty file changes nothing";

    auto f = MakeGrid(2, 3);
    Fill(*f, {{"h1", "h2"}, {"r1", "1"}, {"sum", "9"}});
    f->SetFixedFooters(1);
    f->FloatingFooter().SetVisible(true);
    WriteText(dir.filePath("two.csv"), "a,2\r\nb,3\r\n");
    f->InsertFromCSV(dir.filePath("two.csv"), 0);
    ASSERT_EQ(f->RowCount(), 5);
    EXPECT_EQ(f->Cells(0, 1), "r1");
    EXPECT_EQ(f->Cells(0, 2), "a");
    EXPECT_EQ(f->Cells(1, 3), "3");
    EXPECT_EQ(f->Cells(0, 4), "sum");
    EXPECT_EQ(f->Cells(1, 4), "9");
}

TEST(GridFixed, WidthsCompletedAndFieldsReadAtPositions)
{
    QTemporaryDir dir;
    auto g = MakeGrid(2, 2);
    Fill(*g, {{"A", "BBBB"}, {"xy", "z"}});
    TIntList widths;
    const QString path = dir.filePath("f.txt");
    g->SaveToFixed(path, widths);
    ASSERT_EQ(widths.Count(), 2);
    EXPECT_EQ(widths.Items(0), 3);
    EXPECT_EQ(widths.Items(1), 5);
    EXPECT_EQ(kt_test::ReadFile(path), kt_test::ReadFile(kt_test::FixturePath("griddata/fixed.txt")));

    EXPECT_THROW(g->SaveToFixed(dir.filePath("no/such/dir/f.txt"), widths), ZUzeRodoRediv);

    WriteText(dir.filePath("in.txt"), "abcdefghijklm\r\n12345678901\r\n");
    auto h = MakeGrid(1, 1);
    TIntList pos;
    pos.Add(10);
    pos.Add(1);
    pos.Add(6);
    h->LoadFromFixed(dir.filePath("in.txt"), pos, false, -1);
    EXPECT_EQ(h->Cells(0, 0), "abcde");
    EXPECT_EQ(h->Cells(1, 0), "fghi");
    EXPECT_EQ(h->Cells(1, 1), "6789");
    EXPECT_EQ(pos.Items(0), 1) << "sorted";
    try {
        h->LoadFromFixed(dir.filePath("none.txt"), pos, true, -1);
        FAIL();
    } catch (const ZUzeRodoRediv& e) {
        EXPECT_EQ(e.Message(), "File " + dir.filePath("none.txt") + " not found");
    }
}

TEST(GridTextTable, PaddedAlignedColumnsAndContinuationLines)
{
    QTemporaryDir dir;
    auto g = MakeGrid(2, 3);
    Fill(*g, {{"name", "size"}, {"alpha", "7"}, {"b", "1234"}});
    g->SetAlignments(1, 1, taRightJustify);
    g->SetAlignments(1, 2, taRightJustify);
    const QString path = dir.filePath("t.txt");
    g->SaveToASCII(path, false);
    EXPECT_EQ(kt_test::ReadFile(path), kt_test::ReadFile(kt_test::FixturePath("griddata/table.txt")));

    auto m = MakeGrid(2, 1);
    m->SetMultilinecells(true);
    Fill(*m, {{"ab", "one\r\ntwo"}});
    m->SaveToASCII(path, false);
    EXPECT_EQ(kt_test::ReadFile(path), QByteArray("ab one \r\n   two \r\n"));
    m->AppendToASCII(path, false);
    EXPECT_EQ(kt_test::ReadFile(path), QByteArray("ab one \r\n   two \r\nab one \r\n   two \r\n"));
}

TEST(GridCellToReal, NumbersUnitsParenthesesAndThePositionedError)
{
    const TFormatSettings saved = FormatSettings();
    FormatSettings() = TFormatSettings::Invariant();
    auto g = MakeGrid(2, 2);
    Fill(*g, {{"", "12 kg"}, {"(5)", "1.2.3"}});
    EXPECT_EQ(g->CellToReal(0, 0), 0);
    EXPECT_EQ(g->CellToReal(1, 0), 12);
    EXPECT_EQ(g->CellToReal(0, 1), -5);
    try {
        g->CellToReal(1, 1);
        ADD_FAILURE() << "no error";
    } catch (const ZUzeRodoRediv& e) {
        EXPECT_EQ(e.Message(), "Error at position: 4 in Cell [1, 1].");
    }
    FormatSettings() = saved;
}

TEST(GridTextExtents, OffsetsLinesAndLongestLine)
{
    auto g = MakeGrid(3, 2);
    g->SetXYOffset(TPoint{3, 2});
    EXPECT_EQ(g->GetTotalXOffset(), 6);
    EXPECT_EQ(g->GetTotalYOffset(), 4);
    g->SetXYOffsetTopLeftOnly(true);
    EXPECT_EQ(g->GetTotalXOffset(), 3);

    Fill(*g, {{"a", "b", "1\r\n22\r\n333333"}, {"four", "", ""}});
    EXPECT_EQ(g->MaxLinesInRow(0), 1) << "without multi-line cells";
    EXPECT_EQ(g->LongestLineInColumn(2), 1);
    g->SetMultilinecells(true);
    EXPECT_EQ(g->MaxLinesInRow(0), 3);
    EXPECT_EQ(g->LongestLineInColumn(2), 6);
    EXPECT_EQ(g->LongestLineInColumn(0), 4);

    // A hidden column's lines do not count; the last displayed column does.
    auto h = MakeGrid(3, 1);
    h->SetMultilinecells(true);
    Fill(*h, {{"one", "1\r\n2\r\n3\r\n4", "x\r\ny\r\nz"}});
    h->HideColumn(1);
    EXPECT_EQ(h->MaxLinesInRow(0), 3);
}

} // namespace
