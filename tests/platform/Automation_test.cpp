// Automation: variants, A1 column letters, the recording double, and the workbook, document and
// database back-ends against files that our writers did not make.
#include "TestSupport.h"
#include "platform/AutomationDouble.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <sqlite3.h>
#include <zip.h>

using namespace platform;

namespace {

TEST(AutomationLetters, BijectiveBothWays)
{
    const QList<QPair<int, QString>> cases = {{1, "A"},     {26, "Z"},     {27, "AA"},    {52, "AZ"},
                                              {53, "BA"},   {256, "IV"},   {702, "ZZ"},   {703, "AAA"},
                                              {728, "AAZ"}, {16384, "XFD"}};
    for (const auto& [n, s] : cases) {
        EXPECT_EQ(ColumnLetters(n), s) << n;
        EXPECT_EQ(ColumnNumber(s), n) << s.toStdString();
        EXPECT_EQ(ColumnNumber(s.toLower()), n) << s.toStdString();
    }
    EXPECT_EQ(ColumnLetters(0), QString());
    for (const char* bad : {"", "A1", "$A", "Ä"})
        EXPECT_EQ(ColumnNumber(QString::fromUtf8(bad)), -1) << bad;
}

TEST(AutomationVariant, TextsAndConversions)
{
    EXPECT_EQ(TVariant().ToString(), "");
    EXPECT_EQ(TVariant::MakeNull().ToString(), "");
    EXPECT_EQ(TVariant(3.0).ToString(), "3");
    EXPECT_EQ(TVariant(12.5).ToString(), "12.5");
    EXPECT_EQ(TVariant(0.1).ToString(), "0.1");
    EXPECT_EQ(TVariant(true).ToString(), "True");
    EXPECT_EQ(TVariant(qint64(-7)).ToString(), "-7");
    EXPECT_EQ(TVariant(QStringLiteral(" 42 ")).ToInt(), 42);
    EXPECT_THROW(TVariant(QStringLiteral("x")).ToInt(), EOleException);
    EXPECT_THROW(TVariant(TVarError{2042}).ToString(), EOleException);
    EXPECT_THROW(TVariant(5).ToObject(), EOleException);

    TVarArray a(2, 3);
    a.At(2, 3) = QStringLiteral("x");
    EXPECT_EQ(TVariant(a).ToArray().At(2, 3).ToString(), "x");
    EXPECT_THROW(a.At(3, 1), EOleException);
    EXPECT_THROW(a.At(1, 0), EOleException);
}

TEST(AutomationDouble, RecordsMembersArgumentsFailuresAndRelease)
{
    ScriptedAutomation a;
    a.Workbooks["book.xlsx"].Sheets = {MakeSheet("One", {{{1, 1}, TVariant(QStringLiteral("x"))}})};
    a.Failing() << "Workbook.Save";
    {
        TAutoRef app = CreateOleObject("excel.application");
        TAutoRef wb = app->Obj("WorkBooks")->Call("Open", {QStringLiteral("book.xlsx")}).ToObject();
        EXPECT_EQ(wb->Obj("Sheets", {1})->Get("Name").ToString(), "One");
        EXPECT_THROW(wb->Call("Save"), EOleException);
        wb->Call("Close", {TAutoArg(QStringLiteral("SaveChanges"), false)});
        EXPECT_THROW(app->Get("NoSuchMember"), EOleException);
    }
    EXPECT_THROW(GetActiveOleObject("excel.application"), EOleSysError);
    EXPECT_THROW(CreateOleObject("nothing.here"), EOleSysError);
    const QStringList expected = {"Create excel.application",
                                  "Application.WorkBooks",
                                  "Workbooks.Open('book.xlsx')",
                                  "Workbook.Sheets(1)",
                                  "Worksheet.Name",
                                  "Workbook.Save() -> error",
                                  "Workbook.Close(SaveChanges:=False)",
                                  "Application.NoSuchMember -> error",
                                  "Application released",
                                  "GetActive excel.application -> none",
                                  "Create nothing.here"};
    EXPECT_EQ(a.Log(), expected);
}

// ---- the workbook reader against a package written by hand ----

void AddEntry(zip_t* z, const char* name, const QByteArray& text)
{
    char* copy = static_cast<char*>(malloc(size_t(text.size())));
    memcpy(copy, text.constData(), size_t(text.size()));
    zip_source_t* src = zip_source_buffer(z, copy, zip_uint64_t(text.size()), 1);
    ASSERT_NE(src, nullptr);
    ASSERT_GE(zip_file_add(z, name, src, ZIP_FL_OVERWRITE), 0);
}

TEST(AutomationWorkbookFiles, ReadsAHandMadeXlsxPackage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("hand.xlsx");
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(z, nullptr);
    AddEntry(z, "xl/workbook.xml",
             R"(<workbook xmlns:r="urn:r"><bookViews><workbookView activeTab="1"/></bookViews>
                <sheets><sheet name="First" sheetId="1" r:id="rId1"/><sheet name="Zwei &amp; drei" sheetId="2" r:id="rId2"/></sheets></workbook>)");
    AddEntry(z, "xl/_rels/workbook.xml.rels",
             R"(<Relationships><Relationship Id="rId2" Target="/xl/worksheets/b.xml"/>
                <Relationship Id="rId1" Target="worksheets/a.xml"/></Relationships>)");
    AddEntry(z, "xl/sharedStrings.xml", R"(<sst><si><t>plain</t></si><si><r><t>ri</t></r><r><t>ch</t></r></si></sst>)");
    AddEntry(z, "xl/worksheets/a.xml", R"(<worksheet><sheetData><row r="1"><c r="A1"/></row></sheetData></worksheet>)");
    AddEntry(z, "xl/worksheets/b.xml",
             R"(<worksheet><sheetData><row r="2">
                <c r="B2" t="s"><v>1</v></c><c r="C2"><v>2.5</v></c><c r="D2" t="b"><v>1</v></c>
                <c r="E2" t="e"><v>#N/A</v></c><c r="F2" t="inlineStr"><is><t>in line</t></is></c>
                <c r="AAA3" t="s"><v>0</v></c></row></sheetData></worksheet>)");
    ASSERT_EQ(zip_close(z), 0);

    const TWorkbookData d = ReadXlsxFile(path);
    ASSERT_EQ(d.Sheets.size(), 2u);
    EXPECT_EQ(d.Sheets[0].Name, "First");
    EXPECT_TRUE(d.Sheets[0].Cells.empty());
    EXPECT_EQ(d.Sheets[1].Name, "Zwei & drei");
    EXPECT_EQ(d.Active, 1);
    const auto& c = d.Sheets[1].Cells;
    EXPECT_EQ(c.at({2, 2}).ToString(), "rich");
    EXPECT_EQ(c.at({2, 3}).ToString(), "2.5");
    EXPECT_EQ(c.at({2, 4}).ToString(), "True");
    EXPECT_TRUE(c.at({2, 5}).IsError());
    EXPECT_EQ(c.at({2, 6}).ToString(), "in line");
    EXPECT_EQ(c.at({3, 703}).ToString(), "plain");

    // A damaged package and a missing part are the component's errors, not crashes.
    QFile f(dir.filePath("bad.xlsx"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK\x03\x04 not really a zip");
    f.close();
    EXPECT_THROW(ReadXlsxFile(f.fileName()), EOleException);
}

TEST(AutomationWorkbookFiles, ReadsTheXlsFixture)
{
    const TWorkbookData d = ReadXlsFile(kt_test::FixturePath("exchange/parts.xls"));
    ASSERT_EQ(d.Sheets.size(), 2u);
    EXPECT_EQ(d.Sheets[0].Name, "Parts");
    EXPECT_EQ(d.Sheets[1].Name, "Notes");
    const auto& c = d.Sheets[0].Cells;
    EXPECT_EQ(c.size(), 9u);
    EXPECT_EQ(c.at({2, 2}).ToString(), "Part");
    EXPECT_EQ(c.at({3, 3}).ToString(), "3");
    EXPECT_EQ(c.at({3, 4}).ToString(), "12.5");
    EXPECT_EQ(c.at({4, 2}).ToString(), "Pump");
    EXPECT_EQ(d.Sheets[1].Cells.at({1, 1}).ToString(), "Checked");
}

// ---- data access ----

TEST(AutomationData, SqliteFilesAndTheirErrors)
{
    QTemporaryDir dir;
    const QString db = dir.filePath("t.db");
    sqlite3* h = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(db).constData(), &h), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(h, "CREATE TABLE T(a INTEGER, b TEXT, c REAL); INSERT INTO T VALUES(1,'x',NULL);", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(h);
    const QString prefix = "Driver={Microsoft Access Driver (*.mdb)};DBQ=";
    EXPECT_EQ(ConnectionFileName(prefix + db), db);

    auto src = OpenSqliteSource(prefix + db);
    const TQueryResult r = src->Query("SELECT * FROM T");
    EXPECT_EQ(r.Fields, QStringList({"a", "b", "c"}));
    ASSERT_EQ(r.Rows.size(), 1u);
    EXPECT_EQ(r.Rows[0][0].ToString(), "1");
    EXPECT_TRUE(r.Rows[0][2].IsNull());
    EXPECT_THROW(src->Query("SELECT * FROM Missing"), EOleException);

    EXPECT_THROW(OpenSqliteSource(prefix + dir.filePath("old.mdb")), EOleException);
    EXPECT_THROW(OpenSqliteSource(prefix + dir.filePath("none.db")), EOleException);
    QFile text(dir.filePath("text.db"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is no database, just some text that is long enough to have a header");
    text.close();
    EXPECT_THROW(OpenSqliteSource(prefix + text.fileName()), EOleException);
}

} // namespace
