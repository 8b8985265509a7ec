// Exchange with workbooks, documents and database tables through the automation servers: the grid
// calls their object models by name and moves cell texts in and out; it reads no such file itself.
#include "grid/AdvGrid.h"
#include "platform/Automation.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QFileInfo>
#include <exception>
#include <limits>

using namespace platform;

namespace {

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

TAutoRef CreateServer(const QString& progId, const QString& notFound)
{
    try {
        return CreateOleObject(progId);
    } catch (const Exception&) {
        throw ZUzeRodoRediv(notFound);
    }
}

// The running application when there is one, else a new one; `created` tells which.
TAutoRef RunningOrNewServer(const QString& progId, const QString& notFound, bool& created)
{
    created = false;
    try {
        return GetActiveOleObject(progId);
    } catch (const Exception&) {
    }
    TAutoRef app = CreateServer(progId, notFound);
    created = true;
    return app;
}

// Runs `step` after a failure without letting its own error hide the first one; on the normal
// path its error is the caller's.
template <typename F>
void CleanUp(std::exception_ptr& err, F&& step)
{
    try {
        step();
    } catch (...) {
        if (!err)
            err = std::current_exception();
    }
}

// Runs Body, then has the application quit when Quit says so, whatever Body did, and lets go
// of it; an error of Body wins over one of quitting.
template <typename F>
void QuitAfter(TAutoRef& app, bool Quit, F&& Body)
{
    std::exception_ptr err;
    try {
        Body();
    } catch (...) {
        err = std::current_exception();
    }
    if (Quit)
        CleanUp(err, [&] { app->Call(QStringLiteral("Quit")); });
    app.reset();
    if (err)
        std::rethrow_exception(err);
}

struct UsedArea {
    int FirstCol = -1, FirstRow = -1, LastCol = -1, LastRow = -1;
    bool Single = false;
    bool Valid() const
    {
        return FirstCol >= 1 && FirstRow >= 1 && LastCol >= FirstCol && LastRow >= FirstRow;
    }
};

// "B$2" (a part without its leading "$"): the letters before the "$" and the number after it.
void ReadCellPart(const QString& part, int& col, int& row)
{
    const qsizetype d = part.indexOf(QLatin1Char('$'));
    col = ColumnNumber(part.left(d));
    row = StrToIntDef(part.mid(d + 1), -1);
}

QString WithoutLeadingDollar(const QString& s)
{
    return s.startsWith(QLatin1Char('$')) ? s.mid(1) : s;
}

// The address a workbook gives for a sheet's used range ("$B$2:$D$4", "$C$3", "$2:$5").
UsedArea ParseUsedAddress(const QString& address)
{
    UsedArea a;
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const QString first = WithoutLeadingDollar(address.left(colon));
        const QString last = WithoutLeadingDollar(address.mid(colon + 1));
        if (!first.contains(QLatin1Char('$'))) {
            // Whole rows.
            a.FirstRow = StrToIntDef(first, -1);
            a.LastRow = StrToIntDef(last, -1);
            a.FirstCol = 1;
            a.LastCol = 256;
        } else {
            ReadCellPart(first, a.FirstCol, a.FirstRow);
            ReadCellPart(last, a.LastCol, a.LastRow);
        }
    } else if (!address.contains(QLatin1Char('$'))) {
        a.FirstCol = a.LastCol = 1;
        a.FirstRow = a.LastRow = 1;
        a.Single = true;
    } else {
        ReadCellPart(WithoutLeadingDollar(address), a.FirstCol, a.FirstRow);
        a.LastCol = a.FirstCol;
        a.LastRow = a.FirstRow;
        a.Single = true;
    }
    return a;
}

QString A1(int col, int row)
{
    return ColumnLetters(col) + QString::number(row);
}

} // namespace

std::unique_ptr<TStringList> TVerIvovavOzed::GetXLSSheets(const QString& FileName)
{
    WaitCursor wait;
    TAutoRef app = CreateServer(QStringLiteral("excel.application"), QStringLiteral("Excel OLE server not found"));
    auto list = std::make_unique<TStringList>();
    QuitAfter(app, true, [&] {
        TAutoRef workbook = app->Obj(QStringLiteral("WorkBooks"))->Call(QStringLiteral("Open"), {FileName}).ToObject();
        TAutoRef sheets = workbook->Obj(QStringLiteral("WorkSheets"));
        const qint64 n = sheets->Get(QStringLiteral("Count")).ToInt();
        for (qint64 i = 1; i <= n; ++i)
            list->Add(sheets->Obj(QStringLiteral("Item"), {i})->Get(QStringLiteral("Name")).ToString());
        workbook->Set(QStringLiteral("Saved"), true);
    });
    return list;
}

void TVerIvovavOzed::LoadFromXLS(const QString& Filename)
{
    LoadXLSSheet(Filename, QString(), false);
}

void TVerIvovavOzed::LoadFromXLSSheet(const QString& Filename, const QString& SheetName)
{
    LoadXLSSheet(Filename, SheetName, true);
}

void TVerIvovavOzed::LoadXLSSheet(const QString& Filename, const QString& SheetName, bool Named)
{
    WaitCursor wait;
    TAutoRef app = CreateServer(QStringLiteral("excel.application"), QStringLiteral("Excel OLE server not found"));
    TAutoRef workbook;
    bool closed = false;
    std::exception_ptr err;
    try {
        workbook = app->Obj(QStringLiteral("WorkBooks"))->Call(QStringLiteral("Open"), {Filename}).ToObject();
        TAutoRef sheet;
        if (Named) {
            const qint64 n = workbook->Obj(QStringLiteral("Sheets"))->Get(QStringLiteral("Count")).ToInt();
            for (qint64 i = 1; i <= n; ++i) {
                TAutoRef s = workbook->Obj(QStringLiteral("Sheets"), {i});
                if (s->Get(QStringLiteral("Name")).ToString() == SheetName)
                    sheet = s;
            }
            if (!sheet)
                throw ZUzeRodoRediv(QStringLiteral("Excel worksheet ") + SheetName + QStringLiteral(" not found"));
        } else {
            sheet = workbook->Obj(QStringLiteral("ActiveSheet"));
        }

        const UsedArea a =
            ParseUsedAddress(sheet->Obj(QStringLiteral("UsedRange"))->Get(QStringLiteral("Address")).ToString());
        if (a.Valid()) {
            const int oldFixedCols = FixedCols();
            const int oldFixedRows = FixedRows();
            const bool fixedColsKept = SaveFixedCells() || SaveFixedCols();
            const bool fixedRowsKept = SaveFixedCells() || SaveFixedRows();
            const int startCol = fixedColsKept ? 0 : oldFixedCols;
            const int startRow = fixedRowsKept ? 0 : oldFixedRows;
            SetColCount(a.LastCol - a.FirstCol + 1 + startCol);
            SetRowCount(a.LastRow - a.FirstRow + 1 + startRow);
            if (oldFixedCols < ColCount())
                SetFixedCols(oldFixedCols);
            if (oldFixedRows < RowCount())
                SetFixedRows(oldFixedRows);

            if (a.Single) {
                QString s;
                try {
                    s = sheet->Obj(QStringLiteral("Rows"))
                            ->Obj(QStringLiteral("Cells"), {a.FirstRow, a.FirstCol})
                            ->Get(QStringLiteral("Value"))
                            .ToString();
                } catch (const Exception&) {
                    throw ZUzeRodoRediv(QStringLiteral("Incorrect XLS file"));
                }
                SetCells(startCol, startRow, s);
            } else {
                const QString range = A1(a.FirstCol, a.FirstRow) + QLatin1Char(':') + A1(a.LastCol, a.LastRow);
                try {
                    const TVariant values = sheet->Obj(QStringLiteral("Range"), {range})->Get(QStringLiteral("Value"));
                    const TVarArray& arr = values.ToArray();
                    for (int r = 1; r <= a.LastRow - a.FirstRow + 1; ++r)
                        for (int c = 1; c <= a.LastCol - a.FirstCol + 1; ++c) {
                            const TVariant& v = arr.At(r, c);
                            if (v.IsError() || v.IsObject() || v.IsArray())
                                continue;
                            SetCells(startCol + c - 1, startRow + r - 1, v.ToString());
                        }
                } catch (const Exception&) {
                    throw ZUzeRodoRediv(QStringLiteral("Incorrect XLS file"));
                }
            }
        }
        closed = true;
        workbook->Call(QStringLiteral("Close"), {TAutoArg(QStringLiteral("SaveChanges"), false)});
    } catch (...) {
        err = std::current_exception();
    }
    // A workbook left open by a failure is closed unsaved too, before the application quits.
    if (workbook && !closed)
        CleanUp(err, [&] { workbook->Call(QStringLiteral("Close"), {TAutoArg(QStringLiteral("SaveChanges"), false)}); });
    workbook.reset();
    CleanUp(err, [&] { app->Call(QStringLiteral("Quit")); });
    app.reset();
    DoCellsChanged(TRect{0, 0, ColCount(), RowCount()});
    RecalcFooters();
    if (err)
        std::rethrow_exception(err);
}

void TVerIvovavOzed::SaveToXLS(const QString& Filename, bool CreateNewSheet)
{
    SaveXLSSheet(Filename, QString(), CreateNewSheet, false);
}

void TVerIvovavOzed::SaveToXLSSheet(const QString& Filename, const QString& SheetName)
{
    SaveXLSSheet(Filename, SheetName, false, true);
}

void TVerIvovavOzed::SaveXLSSheet(const QString& Filename, const QString& SheetName, bool CreateNewSheet, bool Named)
{
    WaitCursor wait;
    bool created = false;
    TAutoRef app =
        RunningOrNewServer(QStringLiteral("excel.application"), QStringLiteral("Excel OLE server not found"), created);
    QuitAfter(app, created, [&] {
        TAutoRef workbook, sheet;
        int startRow = 1;
        bool opened = false;
        TAutoRef books = app->Obj(QStringLiteral("WorkBooks"));
        if (Named) {
            // A workbook file that does not open is the caller's error: a fresh workbook saved in
            // its place would lose the sheets it holds.
            if (QFileInfo(Filename).isFile()) {
                workbook = books->Call(QStringLiteral("Open"), {Filename}).ToObject();
                opened = true;
            } else {
                try {
                    workbook = books->Call(QStringLiteral("Add")).ToObject();
                } catch (const Exception&) {
                    workbook = books->Call(QStringLiteral("Add")).ToObject();
                }
            }
            const qint64 n = workbook->Obj(QStringLiteral("Sheets"))->Get(QStringLiteral("Count")).ToInt();
            for (qint64 i = 1; i <= n; ++i) {
                TAutoRef s = workbook->Obj(QStringLiteral("Sheets"), {i});
                if (s->Get(QStringLiteral("Name")).ToString() == SheetName)
                    sheet = s;
            }
            if (!sheet) {
                sheet = workbook->Obj(QStringLiteral("WorkSheets"))->Call(QStringLiteral("Add")).ToObject();
                sheet->Set(QStringLiteral("Name"), SheetName);
            }
        } else if (CreateNewSheet || books->Get(QStringLiteral("Count")).ToInt() == 0) {
            workbook = books->Call(QStringLiteral("Add")).ToObject();
            sheet = workbook->Obj(QStringLiteral("Sheets"), {1});
        } else {
            workbook = app->Obj(QStringLiteral("ActiveWorkBook"));
            sheet = app->Obj(QStringLiteral("ActiveSheet"));
            startRow = int(app->Obj(QStringLiteral("ActiveCell"))->Get(QStringLiteral("Row")).ToInt());
        }

        const int rows = RowCount() - SaveStartRow();
        const int cols = ColCount() - SaveStartCol();
        TVarArray values(std::max(rows, 0), std::max(cols, 0));
        ExportNotification(esExportStart, SaveStartRow());
        for (int r = SaveStartRow(); r < RowCount(); ++r) {
            ExportNotification(esExportNextRow, r);
            for (int c = SaveStartCol(); c < ColCount(); ++c) {
                const int rc = DisplToRealCol(c);
                QString s;
                GetSaveCellText(rc, r, s);
                s.remove(QLatin1Char('\r'));
                values.At(r - SaveStartRow() + 1, c - SaveStartCol() + 1) = s;
            }
        }
        ExportNotification(esExportDone, -1);
        if (rows > 0 && cols > 0) {
            const QString range = A1(1, startRow) + QLatin1Char(':') + A1(cols, startRow + rows - 1);
            sheet->Obj(QStringLiteral("Range"), {range})->Set(QStringLiteral("Value"), values);
        }

        // A save that fails is reported: the caller must not take the file for written.
        if (opened)
            workbook->Call(QStringLiteral("Save"));
        else
            workbook->Call(QStringLiteral("SaveAs"), {Filename});
    });
}

void TVerIvovavOzed::SaveToDOC(const QString& Filename, bool CreateNewDocument)
{
    SaveDocTable(Filename, CreateNewDocument, false, QString());
}

void TVerIvovavOzed::AppendToDoc(const QString& Filename, const QString& Bookmark)
{
    SaveDocTable(Filename, false, true, Bookmark);
}

void TVerIvovavOzed::SaveDocTable(const QString& Filename, bool CreateNewDocument, bool Append, const QString& Bookmark)
{
    WaitCursor wait;
    bool created = false;
    TAutoRef app =
        RunningOrNewServer(QStringLiteral("word.application"), QStringLiteral("Word OLE server not found"), created);
    QuitAfter(app, created, [&] {
        TAutoRef docs = app->Obj(QStringLiteral("Documents"));
        TAutoRef doc;
        if (Append)
            doc = docs->Call(QStringLiteral("Open"), {Filename}).ToObject();
        else if (CreateNewDocument || docs->Get(QStringLiteral("Count")).ToInt() == 0)
            doc = docs->Call(QStringLiteral("Add")).ToObject();
        else
            doc = app->Obj(QStringLiteral("ActiveDocument"));

        doc->Set(QStringLiteral("ShowSpellingErrors"), false);
        app->Obj(QStringLiteral("Selection"))->Call(QStringLiteral("TypeText"), {windowTitle()});
        app->Obj(QStringLiteral("Selection"))->Call(QStringLiteral("TypeParaGraph"));

        TAutoRef position;
        if (!Append) {
            position = doc->Call(QStringLiteral("Range"), {TAutoArg(QStringLiteral("Start"), 0),
                                                           TAutoArg(QStringLiteral("End"), 0)})
                           .ToObject();
        } else if (!Bookmark.isEmpty() &&
                   doc->Obj(QStringLiteral("Bookmarks"))->Call(QStringLiteral("Exists"), {Bookmark}).ToBool()) {
            position = doc->Call(QStringLiteral("Goto"), {TAutoArg(QStringLiteral("What"), -1),
                                                          TAutoArg(QStringLiteral("Name"), Bookmark)})
                           .ToObject();
        } else {
            doc->Obj(QStringLiteral("Paragraphs"))->Call(QStringLiteral("Add"));
            app->Obj(QStringLiteral("Selection"))
                ->Call(QStringLiteral("Goto"), {TAutoArg(QStringLiteral("What"), 3), TAutoArg(QStringLiteral("Which"), -1)});
            const TVariant end = app->Obj(QStringLiteral("Selection"))->Get(QStringLiteral("End"));
            position = doc->Call(QStringLiteral("Range"), {TAutoArg(QStringLiteral("Start"), end),
                                                           TAutoArg(QStringLiteral("End"), end)})
                           .ToObject();
        }

        TAutoRef table = doc->Obj(QStringLiteral("Tables"))
                             ->Call(QStringLiteral("Add"), {TAutoArg(position), TAutoArg(QStringLiteral("NumRows"), RowCount()),
                                                            TAutoArg(QStringLiteral("NumColumns"), ColCount())})
                             .ToObject();
        ExportNotification(esExportStart, 0);
        for (int r = 0; r < RowCount(); ++r) {
            ExportNotification(esExportNextRow, r + 1);
            for (int c = 0; c < ColCount(); ++c) {
                const int rc = DisplToRealCol(c);
                QString s;
                GetSaveCellText(rc, r, s);
                TAutoRef range = table
                                     ->Call(QStringLiteral("Cell"), {TAutoArg(QStringLiteral("Row"), r + 1),
                                                                     TAutoArg(QStringLiteral("Column"), c + 1)})
                                     .ToObject()
                                     ->Obj(QStringLiteral("Range"));
                range->Call(QStringLiteral("InsertAfter"), {s});
                TAlignment ha = taLeftJustify;
                TVAlignment va = vtaTop;
                GetCellAlignment(rc, r, ha, va);
                if (ha == taRightJustify)
                    range->Obj(QStringLiteral("ParagraphFormat"))->Set(QStringLiteral("Alignment"), 2);
                else if (ha == taCenter)
                    range->Obj(QStringLiteral("ParagraphFormat"))->Set(QStringLiteral("Alignment"), 1);
            }
        }
        ExportNotification(esExportDone, -1);
        doc->Call(QStringLiteral("SaveAs"), {Filename});
    });
}

void TVerIvovavOzed::LoadFromMDBTable(const QString& Filename, const QString& Table)
{
    LoadFromMDBSQL(Filename, QStringLiteral("SELECT * FROM ") + Table);
}

void TVerIvovavOzed::LoadFromMDBSQL(const QString& Filename, const QString& SQL)
{
    TAutoRef connection, recordset;
    bool connectionOpen = false, recordsetOpen = false;
    std::exception_ptr err;
    try {
        connection = CreateOleObject(QStringLiteral("ADODB.Connection"));
        connection->Call(QStringLiteral("Open"),
                         {QStringLiteral("Driver={Microsoft Access Driver (*.mdb)};DBQ=") + Filename});
        connectionOpen = true;
        recordset = CreateOleObject(QStringLiteral("ADODB.RecordSet"));
        recordset->Set(QStringLiteral("ActiveConnection"), connection);
        recordset->Call(QStringLiteral("Open"), {SQL});
        recordsetOpen = true;

        const int n = int(recordset->Obj(QStringLiteral("Fields"))->Get(QStringLiteral("Count")).ToInt());
        SetColCount(n + FixedCols());
        if (FixedRows() > 0)
            for (int i = 0; i < n; ++i)
                SetCells(FixedCols() + i, FixedRows() - 1,
                         recordset->Obj(QStringLiteral("Fields"), {i})->Get(QStringLiteral("Name")).ToString());
        const qint64 records = recordset->Get(QStringLiteral("RecordCount")).ToInt();
        if (records > 0)
            SetRowCount(int(std::min<qint64>(FixedRows() + records, std::numeric_limits<int>::max())));

        int row = FixedRows();
        while (!recordset->Get(QStringLiteral("Eof")).ToBool()) {
            for (int i = 0; i < n; ++i) {
                TAutoRef field = recordset->Obj(QStringLiteral("Fields"), {i});
                const QString s = field->Get(QStringLiteral("ActualSize")).ToInt() > 0
                                      ? field->Get(QStringLiteral("Value")).ToString()
                                      : QString();
                SetCells(FixedCols() + i, row, s);
            }
            recordset->Call(QStringLiteral("MoveNext"));
            ++row;
            // The grid grows for a record that follows, never by an empty row after the last.
            if (row >= RowCount() && !recordset->Get(QStringLiteral("Eof")).ToBool())
                SetRowCount(row + 1);
        }
    } catch (...) {
        err = std::current_exception();
    }
    // Recordset and connection are closed on every path, so that no file stays held open.
    if (recordsetOpen)
        CleanUp(err, [&] { recordset->Call(QStringLiteral("Close")); });
    if (connectionOpen)
        CleanUp(err, [&] { connection->Call(QStringLiteral("Close")); });
    recordset.reset();
    connection.reset();
    if (err)
        std::rethrow_exception(err);
}
