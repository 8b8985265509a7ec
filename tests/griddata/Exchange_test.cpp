// Workbook, document and database exchange: the calls the grid makes and their order through the
// recording double (failures included), the used-range addresses, the error texts; then the real
// back-ends on files in temporary folders (.xlsx written and read back, the .xls fixture, an ODF
// document read back from its content, SQLite tables and queries).
#include "TestSupport.h"
#include "GridDataFixture.h"
#include "grid/AdvGrid.h"
#include "platform/AutomationDouble.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <sqlite3.h>
#include <zip.h>

using namespace platform;

using griddatatest::Fill;

namespace {

// Records the export notifications and the cursor shown while they come.
class ExchangeGrid : public TVerIvovavOzed {
public:
    QStringList Notes;
    bool WaitCursorSeen = true;
    void ExportNotification(TGridExportState AState, int ARow) override
    {
        Notes << QStringLiteral("%1:%2").arg(int(AState)).arg(ARow);
        const QCursor* c = QApplication::overrideCursor();
        WaitCursorSeen = WaitCursorSeen && c && c->shape() == Qt::WaitCursor;
    }
};

std::unique_ptr<ExchangeGrid> MakeGrid(int cols, int rows, int fixedCols = 0, int fixedRows = 0)
{
    return griddatatest::MakeGrid<ExchangeGrid>(cols, rows, fixedCols, fixedRows);
}

std::vector<std::vector<QString>> Cells(const TVerIvovavOzed& g)
{
    std::vector<std::vector<QString>> out(size_t(g.RowCount()));
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            out[size_t(r)].push_back(g.Cells(c, r));
    return out;
}

QString ErrorText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return QStringLiteral("(no error)");
}

TVariant S(const char* s)
{
    return TVariant(QString::fromUtf8(s));
}

// A workbook "book.xlsx" whose active sheet "Data" holds B2:D4 (and a sheet "Other" before it).
void AddBook(ScriptedAutomation& a)
{
    TWorkbookData& b = a.Workbooks["book.xlsx"];
    b.Sheets = {MakeSheet("Other", {{{1, 1}, S("o")}}),
                MakeSheet("Data", {{{2, 2}, S("a")}, {{2, 4}, TVariant(1.5)}, {{3, 3}, TVarError{2042}},
                                   {{4, 2}, TVariant(true)}, {{4, 4}, S("z")}})};
    b.Active = 1;
}

// ---- spreadsheet through the double ----

TEST(ExchangeXLSDouble, LoadsTheUsedRangeBehindTheFixedCellsAndCallsInOrder)
{
    ScriptedAutomation a;
    AddBook(a);
    auto g = MakeGrid(2, 2, 1, 1);
    g->SetSaveFixedCells(false);
    g->LoadFromXLS("book.xlsx");
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->FixedCols(), 1);
    EXPECT_EQ(g->FixedRows(), 1);
    const std::vector<std::vector<QString>> expected = {
        {"", "", "", ""}, {"", "a", "", "1.5"}, {"", "", "", ""}, {"", "True", "", "z"}};
    EXPECT_EQ(Cells(*g), expected);
    const QStringList log = {"Create excel.application",
                             "Application.WorkBooks",
                             "Workbooks.Open('book.xlsx')",
                             "Workbook.ActiveSheet",
                             "Worksheet.UsedRange",
                             "Range.Address",
                             "Worksheet.Range('B2:D4')",
                             "Range.Value",
                             "Workbook.Close(SaveChanges:=False)",
                             "Application.Quit()",
                             "Application released"};
    EXPECT_EQ(a.Log(), log);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ExchangeXLSDouble, UsedRangeAddresses)
{
    struct Case {
        const char* what;
        std::map<std::pair<int, int>, TVariant> cells;
        bool wholeRows;
        bool saveFixed;
        int cols, rows;
        std::vector<std::pair<std::pair<int, int>, QString>> expect;  // (col, row) -> text
    };
    const std::vector<Case> cases = {
        {"one cell, behind the fixed cells", {{{3, 3}, S("only")}}, false, false, 2, 2, {{{1, 1}, "only"}}},
        {"one cell into the fixed cells", {{{3, 3}, S("only")}}, false, true, 1, 1, {{{0, 0}, "only"}}},
        {"an empty sheet answers A1", {}, false, true, 1, 1, {{{0, 0}, ""}}},
        {"whole rows read columns 1 to 256", {{{2, 1}, S("r2")}, {{3, 300}, S("far")}}, true, true, 256, 2,
         {{{0, 0}, "r2"}, {{255, 1}, ""}}},
        {"beyond ZZ", {{{1, 702}, S("ZZ1")}, {{2, 704}, S("AAB2")}}, false, true, 3, 2,
         {{{0, 0}, "ZZ1"}, {{2, 1}, "AAB2"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedAutomation a;
        a.Workbooks["w.xlsx"].Sheets = {MakeSheet("S", c.cells)};
        a.Workbooks["w.xlsx"].Sheets[0].WholeRowsUsed = c.wholeRows;
        auto g = MakeGrid(5, 5, 1, 1);
        g->SetCells(1, 1, "old");
        g->SetSaveFixedCells(c.saveFixed);
        g->LoadFromXLS("w.xlsx");
        EXPECT_EQ(g->ColCount(), c.cols);
        EXPECT_EQ(g->RowCount(), c.rows);
        for (const auto& [at, text] : c.expect)
            EXPECT_EQ(g->Cells(at.first, at.second), text) << at.first << "," << at.second;
    }
}

TEST(ExchangeXLSDouble, SingleCellIsReadThroughRowsCells)
{
    ScriptedAutomation a;
    a.Workbooks["w.xlsx"].Sheets = {MakeSheet("S", {{{4, 28}, TVariant(7.0)}})};
    auto g = MakeGrid(3, 3);
    g->LoadFromXLS("w.xlsx");
    EXPECT_EQ(g->Cells(0, 0), "7");
    EXPECT_TRUE(a.Log().contains("Range.Address"));
    EXPECT_TRUE(a.Log().contains("Worksheet.Rows"));
    EXPECT_TRUE(a.Log().contains("Range.Cells(4, 28)"));
}

TEST(ExchangeXLSDouble, NamedSheetsAndTheSheetList)
{
    ScriptedAutomation a;
    AddBook(a);
    auto g = MakeGrid(1, 1);
    g->LoadFromXLSSheet("book.xlsx", "Other");
    EXPECT_EQ(g->Cells(0, 0), "o");

    a.Log().clear();
    auto list = g->GetXLSSheets("book.xlsx");
    EXPECT_EQ(list->ToStringList(), QStringList({"Other", "Data"}));
    const QStringList log = {"Create excel.application", "Application.WorkBooks",    "Workbooks.Open('book.xlsx')",
                             "Workbook.WorkSheets",      "Sheets.Count",             "Sheets.Item(1)",
                             "Worksheet.Name",           "Sheets.Item(2)",           "Worksheet.Name",
                             "Workbook.Saved := True",   "Application.Quit()",       "Application released"};
    EXPECT_EQ(a.Log(), log);
}

TEST(ExchangeXLSDouble, FailuresQuitAndCarryTheirTexts)
{
    ScriptedAutomation a;
    AddBook(a);
    auto g = MakeGrid(2, 2);
    g->SetCells(0, 0, "kept");

    a.Unavailable << "excel.application";
    EXPECT_EQ(ErrorText([&] { g->LoadFromXLS("book.xlsx"); }), "Excel OLE server not found");
    EXPECT_EQ(ErrorText([&] { g->GetXLSSheets("book.xlsx"); }), "Excel OLE server not found");
    EXPECT_EQ(ErrorText([&] { g->SaveToXLS("new.xlsx"); }), "Excel OLE server not found");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    a.Unavailable.clear();

    a.Log().clear();
    EXPECT_EQ(ErrorText([&] { g->LoadFromXLSSheet("book.xlsx", "Missing"); }), "Excel worksheet Missing not found");
    EXPECT_EQ(a.Log().mid(a.Log().size() - 3),
              QStringList({"Workbook.Close(SaveChanges:=False)", "Application.Quit()", "Application released"}));

    a.Log().clear();
    EXPECT_EQ(ErrorText([&] { g->LoadFromXLS("absent.xlsx"); }), "The workbook 'absent.xlsx' does not exist");
    EXPECT_EQ(a.Log().mid(1), QStringList({"Application.WorkBooks", "Workbooks.Open('absent.xlsx') -> error",
                                           "Application.Quit()", "Application released"}));

    a.Log().clear();
    EXPECT_EQ(ErrorText([&] { g->GetXLSSheets("absent.xlsx"); }), "The workbook 'absent.xlsx' does not exist");
    EXPECT_EQ(a.Log().last(2), QStringList({"Application.Quit()", "Application released"}));

    a.Failing() << "Range.Value";
    EXPECT_EQ(ErrorText([&] { g->LoadFromXLS("book.xlsx"); }), "Incorrect XLS file");
    a.Workbooks["one.xlsx"].Sheets = {MakeSheet("S", {{{2, 2}, S("x")}})};
    EXPECT_EQ(ErrorText([&] { g->LoadFromXLS("one.xlsx"); }), "Incorrect XLS file");
    EXPECT_TRUE(a.Log().endsWith("Application released"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ExchangeXLSDouble, SaveToXLSIntoANewWorkbookOfTheRunningApplication)
{
    ScriptedAutomation a;
    a.Running << "excel.application";
    auto g = MakeGrid(3, 3, 1, 1);
    Fill(*g, {{"", "H1", "H2"}, {"r1", "a\r\nb", "1"}, {"r2", "c", ""}});
    g->SetSaveFixedCells(false);
    g->SaveToXLS("out.xlsx", true);
    const QStringList log = {"GetActive excel.application", "Application.WorkBooks", "Workbooks.Add()",
                             "Workbook.Sheets(1)", "Worksheet.Range('A1:B2')", "Range.Value := Array(2x2)",
                             "Workbook.SaveAs('out.xlsx')", "Application released"};
    EXPECT_EQ(a.Log(), log);  // the running application is not quit
    const auto& cells = a.Workbooks["out.xlsx"].Sheets[0].Cells;
    EXPECT_EQ(cells.at({1, 1}).ToString(), "a\nb");
    EXPECT_EQ(cells.at({1, 2}).ToString(), "1");
    EXPECT_EQ(cells.at({2, 1}).ToString(), "c");
    EXPECT_EQ(cells.count({2, 2}), 0u);
    EXPECT_EQ(g->Notes, QStringList({"0:1", "5:1", "5:2", "2:-1"}));
    EXPECT_TRUE(g->WaitCursorSeen);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ExchangeXLSDouble, SaveToXLSIntoTheActiveSheetAtTheActiveRow)
{
    ScriptedAutomation a;
    a.Running << "excel.application";
    TAutoRef running = GetActiveOleObject("excel.application");
    running->Obj("WorkBooks")->Call("Add");
    a.Log().clear();
    auto g = MakeGrid(1, 1);
    g->SetCells(0, 0, "x");
    g->SaveToXLS("active.xlsx", false);
    const QStringList log = {"GetActive excel.application", "Application.WorkBooks", "Workbooks.Count",
                             "Application.ActiveWorkBook",  "Application.ActiveSheet", "Application.ActiveCell",
                             "Range.Row",                   "Worksheet.Range('A1:A1')", "Range.Value := Array(1x1)",
                             "Workbook.SaveAs('active.xlsx')", "Application released"};
    EXPECT_EQ(a.Log(), log);
}

TEST(ExchangeXLSDouble, SaveToXLSSheetOverwritesTheNamedSheetInPlace)
{
    ScriptedAutomation a;
    AddBook(a);
    QTemporaryDir dir;
    // The grid asks the file system whether the workbook exists.
    const QString path = dir.filePath("book.xlsx");
    QFile(path).open(QIODevice::WriteOnly);
    a.Workbooks[path] = a.Workbooks["book.xlsx"];
    auto g = MakeGrid(2, 1);
    Fill(*g, {{"n1", "n2"}});
    g->SaveToXLSSheet(path, "Data");
    EXPECT_EQ(a.Calls("Workbook.").filter("Save"), QStringList({"Workbook.Save()"}));
    EXPECT_TRUE(a.Log().contains("Worksheet.Range('A1:B1')"));
    EXPECT_TRUE(a.Log().contains("Application.Quit()"));
    const TWorkbookData& b = a.Workbooks[path];
    ASSERT_EQ(b.Sheets.size(), 2u);
    EXPECT_EQ(b.Sheets[1].Cells.at({1, 1}).ToString(), "n1");
    EXPECT_EQ(b.Sheets[1].Cells.at({1, 2}).ToString(), "n2");
    EXPECT_EQ(b.Sheets[1].Cells.at({4, 4}).ToString(), "z");  // outside the grid's block: kept
    EXPECT_EQ(b.Sheets[0].Cells.at({1, 1}).ToString(), "o");

    // A missing sheet is added and named; a new file is added and saved under its name.
    g->SaveToXLSSheet(path, "Fresh");
    EXPECT_EQ(a.Workbooks[path].Sheets.back().Name, "Fresh");
    a.Log().clear();
    g->SaveToXLSSheet("new.xlsx", "Named");
    EXPECT_TRUE(a.Log().contains("Workbooks.Add()"));
    EXPECT_TRUE(a.Log().contains("Worksheet.Name := 'Named'"));
    EXPECT_TRUE(a.Log().contains("Workbook.SaveAs('new.xlsx')"));
    EXPECT_EQ(a.Workbooks["new.xlsx"].Sheets.size(), 2u);
}

TEST(ExchangeXLSDouble, SaveToXLSSheetPassesTheWorkbookErrors)
{
    ScriptedAutomation a;
    auto g = MakeGrid(1, 1);

    // An existing file that does not open: the error, and no fresh workbook saved over it.
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.xlsx");
    QFile(path).open(QIODevice::WriteOnly);
    EXPECT_EQ(ErrorText([&] { g->SaveToXLSSheet(path, "S"); }), QStringLiteral("The workbook '%1' does not exist").arg(path));
    EXPECT_TRUE(a.Calls("Workbook.").isEmpty());
    EXPECT_EQ(a.Log().last(2), QStringList({"Application.Quit()", "Application released"}));

    // Adding fails twice: both tries, then the error.
    a.Log().clear();
    a.Failing() << "Workbooks.Add";
    EXPECT_EQ(ErrorText([&] { g->SaveToXLSSheet("n.xlsx", "S"); }), "Scripted failure of Workbooks.Add");
    EXPECT_EQ(a.Calls("Workbooks.Add"), QStringList({"Workbooks.Add() -> error", "Workbooks.Add() -> error"}));
    EXPECT_TRUE(a.Log().contains("Application.Quit()"));

    // Saving fails: the error reaches the caller, the application still quits.
    a.Failing() = {"Workbook.SaveAs"};
    EXPECT_EQ(ErrorText([&] { g->SaveToXLSSheet("n.xlsx", "S"); }), "Scripted failure of Workbook.SaveAs");
    EXPECT_EQ(ErrorText([&] { g->SaveToXLS("n.xlsx"); }), "Scripted failure of Workbook.SaveAs");
    EXPECT_EQ(a.Log().last(2), QStringList({"Application.Quit()", "Application released"}));
    EXPECT_FALSE(a.Workbooks.contains("n.xlsx"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// ---- documents through the double ----

TEST(ExchangeDOCDouble, SaveToDOCWritesEveryRowWithAlignments)
{
    ScriptedAutomation a;
    auto g = MakeGrid(2, 2, 0, 1);
    Fill(*g, {{"Name", "Qty"}, {"Valve", "3"}});
    g->OnGetAlignment = [](QObject*, int ARow, int ACol, TAlignment& HAlign, TVAlignment&) {
        if (ACol == 1)
            HAlign = ARow == 0 ? taCenter : taRightJustify;
    };
    g->SaveToDOC("out.doc", true);
    const QStringList log = {"GetActive word.application -> none",
                             "Create word.application",
                             "Application.Documents",
                             "Document.ShowSpellingErrors := False",
                             "Application.Selection",
                             "Selection.TypeText('')",
                             "Application.Selection",
                             "Selection.TypeParaGraph()",
                             "Document.Range(Start:=0, End:=0)",
                             "Document.Tables",
                             "Tables.Add(Object, NumRows:=2, NumColumns:=2)",
                             "Table.Cell(Row:=1, Column:=1)",
                             "Cell.Range",
                             "CellRange.InsertAfter('Name')",
                             "Table.Cell(Row:=1, Column:=2)",
                             "Cell.Range",
                             "CellRange.InsertAfter('Qty')",
                             "CellRange.ParagraphFormat",
                             "ParagraphFormat.Alignment := 1",
                             "Table.Cell(Row:=2, Column:=1)",
                             "Cell.Range",
                             "CellRange.InsertAfter('Valve')",
                             "Table.Cell(Row:=2, Column:=2)",
                             "Cell.Range",
                             "CellRange.InsertAfter('3')",
                             "CellRange.ParagraphFormat",
                             "ParagraphFormat.Alignment := 2",
                             "Document.SaveAs('out.doc')",
                             "Application.Quit()",
                             "Application released"};
    // "Documents.Add()" comes right after "Application.Documents".
    QStringList withAdd = log;
    withAdd.insert(3, "Documents.Add()");
    EXPECT_EQ(a.Log(), withAdd);
    const TDocumentData& d = a.Documents["out.doc"];
    ASSERT_EQ(d.Tables.size(), 1u);
    EXPECT_EQ(d.Tables[0].Texts, std::vector<QString>({"Name", "Qty", "Valve", "3"}));
    EXPECT_EQ(d.Tables[0].Alignments, std::vector<int>({0, 1, 0, 2}));
    EXPECT_EQ(d.Text, "\r");
    EXPECT_FALSE(d.ShowSpellingErrors);
    EXPECT_EQ(g->Notes, QStringList({"0:0", "5:1", "5:2", "2:-1"}));
    EXPECT_TRUE(g->WaitCursorSeen);
}

// The table takes each cell's effective alignment, not only the alignment event's: a number
// right-aligned by AutoNumAlign and a cell property's centring count too, read from the stored
// column behind a hidden one.
TEST(ExchangeDOCDouble, SaveToDOCAlignsByTheEffectiveCellAlignment)
{
    ScriptedAutomation a;
    auto g = MakeGrid(4, 1);
    g->SetAutoNumAlign(true);
    Fill(*g, {{"12", "hidden", "mid", "text"}});
    g->SetAlignments(2, 0, taCenter);
    g->HideColumn(1);
    g->SaveToDOC("align.doc", true);
    const TDocumentData& d = a.Documents["align.doc"];
    ASSERT_EQ(d.Tables.size(), 1u);
    EXPECT_EQ(d.Tables[0].Texts, std::vector<QString>({"12", "mid", "text"}));
    EXPECT_EQ(d.Tables[0].Alignments, std::vector<int>({2, 1, 0}));
}

TEST(ExchangeDOCDouble, SaveToDOCIntoTheActiveDocumentOfTheRunningApplication)
{
    ScriptedAutomation a;
    a.Running << "word.application";
    TAutoRef running = GetActiveOleObject("word.application");
    running->Obj("Documents")->Call("Add");
    running->Obj("Selection")->Call("TypeText", {QStringLiteral("Before")});
    a.Log().clear();
    auto g = MakeGrid(1, 1);
    g->SetCells(0, 0, "x");
    g->SaveToDOC("active.doc", false);
    EXPECT_EQ(a.Log().mid(0, 5), QStringList({"GetActive word.application", "Application.Documents", "Documents.Count",
                                              "Application.ActiveDocument", "Document.ShowSpellingErrors := False"}));
    EXPECT_FALSE(a.Log().contains("Application.Quit()"));
    EXPECT_EQ(a.Documents["active.doc"].Text, "Before\r");
    EXPECT_EQ(a.Documents["active.doc"].Tables.at(0).Texts, std::vector<QString>({"x"}));
}

TEST(ExchangeDOCDouble, AppendToDocAtABookmarkOrAtTheEnd)
{
    ScriptedAutomation a;
    a.Documents["d.doc"].Text = "Intro\rOutro\r";
    a.Documents["d.doc"].Bookmarks = {{"Here", 6}};
    auto g = MakeGrid(1, 1);
    g->SetCells(0, 0, "x");

    g->AppendToDoc("d.doc", "Here");
    EXPECT_TRUE(a.Log().contains("Bookmarks.Exists('Here')"));
    EXPECT_TRUE(a.Log().contains("Document.Goto(What:=-1, Name:='Here')"));
    EXPECT_TRUE(a.Calls("Paragraphs.").isEmpty());
    ASSERT_EQ(a.Documents["d.doc"].Tables.size(), 1u);
    EXPECT_EQ(a.Documents["d.doc"].Tables[0].Position, 7);  // behind the paragraph typed in front

    a.Log().clear();
    g->AppendToDoc("d.doc", "Nowhere");
    const QStringList tail = {"Document.Bookmarks", "Bookmarks.Exists('Nowhere')", "Document.Paragraphs",
                              "Paragraphs.Add()", "Application.Selection", "Selection.Goto(What:=3, Which:=-1)",
                              "Application.Selection", "Selection.End", "Document.Range(Start:=15, End:=15)"};
    const qsizetype at = a.Log().indexOf("Document.Bookmarks");
    ASSERT_GE(at, 0);
    EXPECT_EQ(a.Log().mid(at, tail.size()), tail);
    EXPECT_EQ(a.Documents["d.doc"].Tables.back().Position, 15);

    a.Log().clear();
    EXPECT_EQ(ErrorText([&] { g->AppendToDoc("none.doc"); }), "The document 'none.doc' does not exist");
    EXPECT_EQ(a.Log().last(2), QStringList({"Application.Quit()", "Application released"}));
    a.Unavailable << "word.application";
    EXPECT_EQ(ErrorText([&] { g->SaveToDOC("x.doc"); }), "Word OLE server not found");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// ---- databases through the double ----

TEST(ExchangeMDBDouble, TableWithFieldNamesAndCloseOnEveryPath)
{
    ScriptedAutomation a;
    TQueryResult r;
    r.Fields = {"Part", "Qty"};
    r.Rows = {{S("Valve"), TVariant(qint64(3))}, {S("Pump"), TVariant::MakeNull()}};
    a.Queries["SELECT * FROM Parts"] = r;
    auto g = MakeGrid(2, 2, 1, 1);
    g->LoadFromMDBTable("db.mdb", "Parts");
    EXPECT_EQ(g->ColCount(), 3);
    EXPECT_EQ(g->RowCount(), 3);
    const std::vector<std::vector<QString>> expected = {{"", "Part", "Qty"}, {"", "Valve", "3"}, {"", "Pump", ""}};
    EXPECT_EQ(Cells(*g), expected);
    EXPECT_EQ(a.Log().first(6),
              QStringList({"Create ADODB.Connection",
                           "Connection.Open('Driver={Microsoft Access Driver (*.mdb)};DBQ=db.mdb')",
                           "Create ADODB.RecordSet", "Recordset.ActiveConnection := Object",
                           "Recordset.Open('SELECT * FROM Parts')", "Recordset.Fields"}));
    EXPECT_EQ(a.Log().last(4),
              QStringList({"Recordset.Close()", "Connection.Close()", "Recordset released", "Connection released"}));

    for (const char* failing : {"Recordset.Open", "Recordset.MoveNext", "Field.Value", "Connection.Open"}) {
        SCOPED_TRACE(failing);
        a.Log().clear();
        a.Failing() = {failing};
        EXPECT_EQ(ErrorText([&] { g->LoadFromMDBSQL("db.mdb", "SELECT * FROM Parts"); }),
                  QStringLiteral("Scripted failure of %1").arg(failing));
        const bool rsOpen = QLatin1String(failing) != "Recordset.Open" && QLatin1String(failing) != "Connection.Open";
        EXPECT_EQ(a.Log().contains("Recordset.Close()"), rsOpen);
        EXPECT_EQ(a.Log().contains("Connection.Close()"), QLatin1String(failing) != "Connection.Open");
    }
}

TEST(ExchangeMDBDouble, TheRecordCountSetsTheRows)
{
    ScriptedAutomation a;
    TQueryResult r;
    r.Fields = {"v"};
    for (int i = 0; i < 5; ++i)
        r.Rows.push_back({TVariant(qint64(i))});
    a.Queries["q"] = r;
    auto g = MakeGrid(4, 20);
    g->LoadFromMDBSQL("db", "q");
    EXPECT_EQ(g->ColCount(), 1);
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->Cells(0, 4), "4");
}

// ---- the real back-ends ----

class ExchangeFiles : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Path(const char* name) const { return Dir.filePath(QString::fromUtf8(name)); }
};

TEST_F(ExchangeFiles, XlsxWrittenAndReadBack)
{
    const QString book = Path("book.xlsx");
    auto g = MakeGrid(3, 2);
    Fill(*g, {{"Part", "Qty", "Note"}, {"Valve", "3", "a\r\nb"}});
    g->SaveToXLSSheet(book, "Parts");
    auto t = MakeGrid(2, 1);
    Fill(*t, {{"Sum", "3"}});
    t->SaveToXLSSheet(book, "Totals");

    auto r = MakeGrid(1, 1);
    EXPECT_EQ(r->GetXLSSheets(book)->ToStringList(), QStringList({"Sheet1", "Parts", "Totals"}));
    r->LoadFromXLSSheet(book, "Parts");
    const std::vector<std::vector<QString>> parts = {{"Part", "Qty", "Note"}, {"Valve", "3", "a\nb"}};
    EXPECT_EQ(Cells(*r), parts);
    r->LoadFromXLS(book);  // the active sheet: the one added last
    EXPECT_EQ(Cells(*r), std::vector<std::vector<QString>>({{"Sum", "3"}}));

    // Saved in place: the named sheet changes, the others stay.
    Fill(*g, {{"Part", "Qty", "Note"}, {"Pump", "1", ""}});
    g->SaveToXLSSheet(book, "Parts");
    EXPECT_EQ(r->GetXLSSheets(book)->ToStringList(), QStringList({"Sheet1", "Parts", "Totals"}));
    r->LoadFromXLSSheet(book, "Parts");
    EXPECT_EQ(Cells(*r), std::vector<std::vector<QString>>({{"Part", "Qty", "Note"}, {"Pump", "1", ""}}));
    r->LoadFromXLSSheet(book, "Totals");
    EXPECT_EQ(r->Cells(0, 0), "Sum");

    // A new workbook through SaveToXLS.
    const QString plain = Path("plain.xlsx");
    t->SaveToXLS(plain);
    r->LoadFromXLS(plain);
    EXPECT_EQ(Cells(*r), std::vector<std::vector<QString>>({{"Sum", "3"}}));

    EXPECT_EQ(ErrorText([&] { r->LoadFromXLSSheet(book, "Nope"); }), "Excel worksheet Nope not found");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ExchangeFiles, XlsFixtureFromAnotherWriter)
{
    const QString xls = kt_test::FixturePath("exchange/parts.xls");
    auto g = MakeGrid(1, 1, 0, 0);
    EXPECT_EQ(g->GetXLSSheets(xls)->ToStringList(), QStringList({"Parts", "Notes"}));
    g->LoadFromXLS(xls);
    const std::vector<std::vector<QString>> expected = {
        {"Part", "Qty", "Price"}, {"Valve", "3", "12.5"}, {"Pump", "1", "240"}};
    EXPECT_EQ(Cells(*g), expected);
    g->LoadFromXLSSheet(xls, "Notes");
    EXPECT_EQ(Cells(*g), std::vector<std::vector<QString>>({{"Checked"}}));

    // An .xls workbook is written again in the format this back-end writes.
    const QString copy = Path("copy.xls");
    QFile::copy(xls, copy);
    auto n = MakeGrid(1, 1);
    n->SetCells(0, 0, "new");
    n->SaveToXLSSheet(copy, "Notes");
    g->LoadFromXLSSheet(copy, "Notes");
    EXPECT_EQ(g->Cells(0, 0), "new");
    g->LoadFromXLSSheet(copy, "Parts");
    EXPECT_EQ(g->Cells(2, 2), "240");
}

TEST_F(ExchangeFiles, DamagedXlsIsAnErrorAndChangesNothing)
{
    // A workbook whose inner lengths lie (found by fuzzing): the reader must neither crash nor
    // take half a sheet.
    auto g = MakeGrid(2, 2, 0, 0);
    g->SetCells(1, 1, "kept");
    const QString xls = kt_test::FixturePath("exchange/damaged.xls");
    EXPECT_TRUE(ErrorText([&] { g->LoadFromXLS(xls); }).startsWith("The workbook")) << ErrorText([&] { g->LoadFromXLS(xls); }).toStdString();
    EXPECT_EQ(g->Cells(1, 1), "kept");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The texts of the cells of every table in an ODF text document, row by row; with `aligns`, also
// each cell paragraph's text-align ("" when its style sets none).
std::vector<std::vector<QString>> OdtTable(const QString& path, std::vector<std::vector<QString>>* aligns = nullptr)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!z)
        return {};
    zip_stat_t st;
    zip_stat(z, "content.xml", 0, &st);
    QByteArray data(qsizetype(st.size), '\0');
    zip_file_t* f = zip_fopen(z, "content.xml", 0);
    zip_fread(f, data.data(), st.size);
    zip_fclose(f);
    zip_discard(z);
    pugi::xml_document doc;
    doc.load_buffer(data.constData(), size_t(data.size()));
    std::vector<std::vector<QString>> rows;
    for (const pugi::xpath_node& row : doc.select_nodes("//table:table-row")) {
        rows.emplace_back();
        for (pugi::xml_node cell : row.node().children("table:table-cell")) {
            QString text;
            for (const pugi::xpath_node& t : cell.select_nodes(".//text()"))
                text += QString::fromUtf8(t.node().value());
            rows.back().push_back(text);
            if (aligns) {
                if (aligns->size() < rows.size())
                    aligns->emplace_back();
                const std::string style = cell.child("text:p").attribute("text:style-name").value();
                const std::string query = "//style:style[@style:name='" + style + "']/style:paragraph-properties";
                const pugi::xpath_node props = doc.select_node(query.c_str());
                aligns->back().push_back(QString::fromUtf8(props.node().attribute("fo:text-align").value()));
            }
        }
    }
    return rows;
}

TEST_F(ExchangeFiles, DocumentTableReadBackFromItsContent)
{
    const QString odt = Path("table.odt");
    auto g = MakeGrid(3, 3, 0, 1);
    Fill(*g, {{"Part", "Qty", "Price"}, {"Valve", "3", "12.5"}, {"Pump", "1", "240"}});
    g->OnGetAlignment = [](QObject*, int ARow, int ACol, TAlignment& HAlign, TVAlignment&) {
        if (ARow > 0 && ACol > 0)
            HAlign = ACol == 1 ? taCenter : taRightJustify;
    };
    g->SaveToDOC(odt, true);
    const std::vector<std::vector<QString>> expected = {
        {"Part", "Qty", "Price"}, {"Valve", "3", "12.5"}, {"Pump", "1", "240"}};
    std::vector<std::vector<QString>> aligns;
    EXPECT_EQ(OdtTable(odt, &aligns), expected);
    const std::vector<std::vector<QString>> expectedAligns = {
        {"start", "start", "start"}, {"start", "center", "end"}, {"start", "center", "end"}};
    EXPECT_EQ(aligns, expectedAligns);

    // Opening an existing document answers the component's error; nothing is written.
    const QByteArray before = kt_test::ReadFile(odt);
    const QString e = ErrorText([&] { g->AppendToDoc(odt, "Here"); });
    EXPECT_TRUE(e.startsWith("The document '")) << e.toStdString();
    EXPECT_EQ(kt_test::ReadFile(odt), before);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ExchangeFiles, SqliteTableAndQuery)
{
    const QString db = Path("parts.db");
    sqlite3* h = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(db).constData(), &h), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(h,
                           "CREATE TABLE Parts(Name TEXT, Qty INTEGER, Price REAL);"
                           "INSERT INTO Parts VALUES('Valve', 3, 12.5), ('Pump', 1, NULL), ('Hose', 20, 0.75);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(h);

    auto g = MakeGrid(2, 2, 0, 1);
    g->LoadFromMDBTable(db, "Parts");
    const std::vector<std::vector<QString>> table = {
        {"Name", "Qty", "Price"}, {"Valve", "3", "12.5"}, {"Pump", "1", ""}, {"Hose", "20", "0.75"}};
    EXPECT_EQ(Cells(*g), table);

    auto q = MakeGrid(2, 2, 1, 1);
    q->LoadFromMDBSQL(db, "SELECT Name AS Part, Qty * 2 AS Twice FROM Parts WHERE Qty > 2 ORDER BY Qty DESC");
    const std::vector<std::vector<QString>> query = {{"", "Part", "Twice"}, {"", "Hose", "40"}, {"", "Valve", "6"}};
    EXPECT_EQ(Cells(*q), query);

    EXPECT_TRUE(ErrorText([&] { q->LoadFromMDBTable(db, "Missing"); }).contains("no such table"));
    EXPECT_TRUE(ErrorText([&] { q->LoadFromMDBTable(Path("old.mdb"), "T"); }).contains("cannot be read"));
}

} // namespace
