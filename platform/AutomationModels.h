#pragma once
// The object models behind the automation program names, each over plain data and a store that
// reads and writes files: the real back-ends keep files on disk (xlsx/xls, ODF text, SQLite), the
// test double keeps them in memory. Both share the models, so what a test sees through the double
// is what the real back-ends do.
#include "platform/Automation.h"

#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace platform {

// ---- spreadsheet -------------------------------------------------------------------------------

struct TSheetData {
    QString Name;
    std::map<std::pair<int, int>, TVariant> Cells;  // (row, column), 1-based; no empty values
    // The used range covers whole rows (columns 1 to the last) as a spreadsheet reports it
    // after rows were formatted; set by tests.
    bool WholeRowsUsed = false;
};

struct TWorkbookData {
    std::vector<TSheetData> Sheets;
    int Active = 0;  // index of the active sheet
};

class TWorkbookStore {
public:
    virtual ~TWorkbookStore() = default;
    virtual bool Exists(const QString& FileName) = 0;
    // Raise EOleException when the file cannot be read or written.
    virtual TWorkbookData Load(const QString& FileName) = 0;
    virtual void Save(const QString& FileName, const TWorkbookData& Data) = 0;
};

// The largest column of a sheet (XFD).
constexpr int MaxSheetColumns = 16384;
constexpr int MaxSheetRows = 1048576;

TAutoRef NewSpreadsheetApplication(std::shared_ptr<TWorkbookStore> Store);

// Reading and writing workbook files (the real store's formats).
TWorkbookData ReadXlsxFile(const QString& FileName);
TWorkbookData ReadXlsFile(const QString& FileName);
void WriteXlsxFile(const QString& FileName, const TWorkbookData& Data);

// ---- word processor -----------------------------------------------------------------------------

struct TDocTable {
    int Position = 0;  // character position in Text before which the table stands
    int Rows = 0;
    int Cols = 0;
    std::vector<QString> Texts;   // Rows * Cols, row by row
    std::vector<int> Alignments;  // 0 left, 1 centre, 2 right
};

struct TDocumentData {
    QString Text;  // paragraphs end with "\r"
    std::vector<TDocTable> Tables;
    std::map<QString, int> Bookmarks;  // name -> character position
    bool ShowSpellingErrors = true;
};

class TDocumentStore {
public:
    virtual ~TDocumentStore() = default;
    virtual TDocumentData Load(const QString& FileName) = 0;
    virtual void Save(const QString& FileName, const TDocumentData& Data) = 0;
};

TAutoRef NewWordProcessorApplication(std::shared_ptr<TDocumentStore> Store);

// Writes the document as ODF text (paragraphs and tables).
void WriteOdtFile(const QString& FileName, const TDocumentData& Data);

// ---- data access --------------------------------------------------------------------------------

struct TQueryResult {
    QStringList Fields;
    std::vector<std::vector<TVariant>> Rows;
};

// One open connection to a database.
class TDataSource {
public:
    virtual ~TDataSource() = default;
    virtual TQueryResult Query(const QString& Sql) = 0;
};

// Opens a data source from a connection text; raises EOleException when it cannot.
using TDataSourceOpener = std::function<std::shared_ptr<TDataSource>(const QString& ConnectionText)>;

TAutoRef NewConnection(TDataSourceOpener Opener);
TAutoRef NewRecordset();

// The file a connection text names (the value after "DBQ=").
QString ConnectionFileName(const QString& ConnectionText);
std::shared_ptr<TDataSource> OpenSqliteSource(const QString& ConnectionText);

// ---- shared ----
// The object behind a wrapper (the recording double wraps every object it hands out).
TAutoObject* Unwrapped(TAutoObject* o);

// The wrapper's hook: objects that wrap others answer their inner object.
class TAutoWrapper : public TAutoObject {
public:
    virtual TAutoObject* Inner() const = 0;
};

} // namespace platform
