// Flat XML files: the writer against a hand-made file (escapes, declared encoding, references,
// field names, hidden and merged columns, empty cells, relative progress), the reader on
// hand-made files (records, attributes, levels, field names as headers) and on broken input, and
// round trips.
#include "TestSupport.h"
#include "GridDataFixture.h"
#include "grid/AdvGrid.h"
#include "platform/StringList.h"
#include "platform/SysUtils.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

using griddatatest::Fill;

namespace {

std::unique_ptr<TVerIvovavOzed> MakeGrid(int cols, int rows)
{
    auto g = griddatatest::MakeGrid(cols, rows);
    g->SetSaveFixedCells(false);
    return g;
}

std::vector<std::vector<QString>> Texts(TVerIvovavOzed& g)
{
    std::vector<std::vector<QString>> out;
    for (int r = 0; r < g.RowCount(); ++r) {
        out.emplace_back();
        for (int c = 0; c < g.ColCount(); ++c)
            out.back().push_back(g.Cells(c, r));
    }
    return out;
}

QString Fixture(const QString& name) { return kt_test::FixturePath(QStringLiteral("griddata/xml/") + name); }

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const std::vector<std::vector<QString>> kTable = {
    {"a&b", "x<y>\"q\""},
    {QString::fromUtf8("Grüße €"), ""},
    {"L1\r\nL2", "&gt;"},
};

// kTable written as "t.xml" in the folder, rows "Row" under "Table"; its path.
QString SaveTable(const QTemporaryDir& dir)
{
    auto g = MakeGrid(2, 3);
    Fill(*g, kTable);
    const QString path = dir.filePath("t.xml");
    g->SaveToXML(path, "Table", "Row", nullptr, false);
    return path;
}

TEST(GridXML, WritesTheHandMadeFileAndReadsItBack)
{
    QTemporaryDir dir;
    const QString path = SaveTable(dir);
    EXPECT_EQ(kt_test::ReadFile(path), kt_test::ReadFile(Fixture("table.xml")));

    // "&gt;" typed into a cell stays "&gt;": only the writer's "$amp;" is turned back.
    auto h = MakeGrid(1, 1);
    h->LoadFromXML(path, false, false);
    EXPECT_EQ(Texts(*h), kTable);
}

TEST(GridXML, FieldNamesHiddenAndMergedColumns)
{
    QTemporaryDir dir;
    auto g = MakeGrid(4, 1);
    Fill(*g, {{"A", "B", "C", "D"}});
    g->MergeCells(2, 0, 2, 1);
    g->HideColumn(1);
    TStringList names;
    names.Add("first");
    names.Add("second");
    const QString path = dir.filePath("f.xml");
    g->SaveToXML(path, "L", "R", &names, false);
    EXPECT_EQ(QString::fromLatin1(kt_test::ReadFile(path)),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<L>\r\n<R>\r\n<first>A</first>\r\n"
              "<second>C</second>\r\n</R>\r\n</L>\r\n");

    g->SetSaveHiddenCells(true);
    g->SaveToXML(path, "L", "R", &names, false);
    EXPECT_EQ(QString::fromLatin1(kt_test::ReadFile(path)),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<L>\r\n<R>\r\n<first>A</first>\r\n"
              "<second>B</second>\r\n<FIELD2>C</FIELD2>\r\n</R>\r\n</L>\r\n");
}

TEST(GridXML, EmptyCellsWrittenOnlyWhenAsked)
{
    struct Case {
        bool exportEmpty, quote;
        const char* line;
    };
    const Case cases[] = {
        {false, true, nullptr},
        {true, true, "<FIELD1>\"\"</FIELD1>"},
        {true, false, "<FIELD1></FIELD1>"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        auto g = MakeGrid(2, 1);
        Fill(*g, {{"x", ""}});
        g->SetQuoteEmptyCells(c.quote);
        const QString path = dir.filePath("e.xml");
        g->SaveToXML(path, "T", "R", nullptr, c.exportEmpty);
        const QString text = QString::fromLatin1(kt_test::ReadFile(path));
        if (c.line)
            EXPECT_TRUE(text.contains(QString::fromLatin1(c.line) + "\r\n")) << qPrintable(text);
        else
            EXPECT_FALSE(text.contains("FIELD1"));
        auto h = MakeGrid(3, 1);
        h->SetQuoteEmptyCells(c.quote);
        h->SetCells(1, 0, "old");
        h->LoadFromXML(path, false, false);
        EXPECT_EQ(h->Cells(0, 0), "x");
        EXPECT_EQ(h->Cells(1, 0), c.exportEmpty ? "" : "old") << c.exportEmpty << c.quote;
    }
}

TEST(GridXML, TextInTheDeclaredEncodingOtherCharactersAsReferences)
{
    struct Case {
        const char* encoding;
        QByteArray cell;
    };
    const Case cases[] = {
        {"ISO-8859-1", "<FIELD0>Gr\xFC\xDF" "e &#8364; &#937;</FIELD0>"},
        {"windows-1252", "<FIELD0>Gr\xFC\xDF" "e \x80 &#937;</FIELD0>"},
        {"UTF-8", "<FIELD0>Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xCE\xA9</FIELD0>"},
        {"x-unknown", "<FIELD0>Gr&#252;&#223;e &#8364; &#937;</FIELD0>"},
    };
    const QString text = QString::fromUtf8("Grüße € Ω");
    for (const Case& c : cases) {
        QTemporaryDir dir;
        auto g = MakeGrid(1, 1);
        g->SetCells(0, 0, text);
        g->SetXMLEncoding(QString::fromLatin1(c.encoding));
        const QString path = dir.filePath("enc.xml");
        g->SaveToXML(path, "T", "R", nullptr, false);
        const QByteArray bytes = kt_test::ReadFile(path);
        EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"" + QByteArray(c.encoding) + "\" ?>\r\n"));
        EXPECT_TRUE(bytes.contains(c.cell)) << c.encoding << " " << bytes.constData();
        auto h = MakeGrid(1, 1);
        h->LoadFromXML(path, false, false);
        EXPECT_EQ(h->Cells(0, 0), text) << c.encoding;
    }
}

TEST(GridXML, ProgressCountsFromTheFirstSavedRow)
{
    QTemporaryDir dir;
    auto g = MakeGrid(1, 5);
    g->SetFixedRows(1);
    std::vector<int> seen;
    g->OnFileProgress = [&](QObject*, int p) { seen.push_back(p); };
    g->SaveToXML(dir.filePath("p.xml"), "T", "R", nullptr, true);
    EXPECT_EQ(seen, (std::vector<int>{0, 33, 67, 100}));
}

TEST(GridXML, FieldNamesBecomeHeadersAboveTheRecords)
{
    QTemporaryDir dir;
    const QString path = SaveTable(dir);

    auto h = MakeGrid(1, 1);
    h->SetSaveFixedRows(true);
    h->SetRowCount(2);
    h->SetFixedRows(1);
    h->LoadFromXML(path, false, true);
    auto expected = kTable;
    expected.insert(expected.begin(), {"FIELD0", "FIELD1"});
    EXPECT_EQ(Texts(*h), expected);
}

TEST(GridXML, AttributesFillColumnsAndNameTheHeader)
{
    auto g = MakeGrid(2, 2);
    g->SetSaveFixedCells(true);
    g->SetFixedRows(1);
    g->LoadFromXML(Fixture("attrs.xml"), false, true);
    EXPECT_EQ(Texts(*g), (std::vector<std::vector<QString>>{
                             {"id", "name"}, {"1", QString::fromUtf8("a&b & €")}, {"2", "c"}}));
}

TEST(GridXML, LevelToRowGivesEachLevelARow)
{
    auto g = MakeGrid(1, 1);
    g->LoadFromXML(Fixture("levels.xml"), true, false);
    EXPECT_EQ(Texts(*g), (std::vector<std::vector<QString>>{{"G1", "", ""}, {"", "e1", "e2"}}));

    // Records without attributes: the first one starts the first row.
    QTemporaryDir dir;
    const QString path = dir.filePath("r.xml");
    WriteFile(path, "<root><rec><a>1</a><b>2</b></rec><rec><a>3</a><b>4</b></rec></root>");
    auto h = MakeGrid(1, 1);
    h->LoadFromXML(path, true, false);
    EXPECT_EQ(Texts(*h), (std::vector<std::vector<QString>>{{"1", "2"}, {"3", "4"}}));
}

TEST(GridXML, BrokenInputIsReportedAndLeavesTheGrid)
{
    QTemporaryDir dir;
    struct Case {
        QString path;
        QString message;
    };
    const QString empty = dir.filePath("empty.xml");
    WriteFile(empty, "<?xml version=\"1.0\"?>\r\n");
    const QString deep = dir.filePath("deep.xml");
    WriteFile(deep, QByteArray("<a>").repeated(1200) + "x" + QByteArray("</a>").repeated(1200));
    const Case cases[] = {
        {dir.filePath("none.xml"), "XML file not found"},
        {deep, "XML elements nested deeper than 1000 levels"},
        {dir.path(), "XML file not found"},
        {Fixture("broken.xml"), "XMLDOM Parsing error 14 on line 3"},
        {empty, "XMLDOM Parsing error 16 on line 2"},
    };
    for (const Case& c : cases) {
        auto g = MakeGrid(2, 2);
        g->SetCells(1, 1, "keep");
        try {
            g->LoadFromXML(c.path, false, false);
            ADD_FAILURE() << "no error for " << qPrintable(c.path);
        } catch (const platform::Exception& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), c.message);
        }
        EXPECT_EQ(g->ColCount(), 2);
        EXPECT_EQ(g->RowCount(), 2);
        EXPECT_EQ(g->Cells(1, 1), "keep");
    }

    auto g = MakeGrid(1, 1);
    try {
        g->SaveToXML(dir.filePath("no/such/x.xml"), "T", "R", nullptr, false);
        ADD_FAILURE() << "no error";
    } catch (const ZUzeRodoRediv& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), "Cannot Create file " + dir.filePath("no/such/x.xml"));
    }
}

} // namespace
