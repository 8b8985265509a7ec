#pragma once
// Automation of a spreadsheet, a word processor and the data-access components: objects are
// created by program name and their members got, set and called by name (names compare without
// case), with variants and two-dimensional arrays as values.
//
// The program names served here:
//   "excel.application"  a workbook application (.xlsx read and written, .xls read)
//   "word.application"   a word processor (new documents written as ODF text)
//   "ADODB.Connection", "ADODB.RecordSet"  data access to SQLite database files
// No application is ever running already: GetActiveOleObject always fails, so callers create one.
//
// Tests install ScriptedAutomation (platform/AutomationDouble.h), which keeps workbooks, documents
// and query results in memory and records every member access.
#include "platform/SysUtils.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <variant>
#include <vector>

namespace platform {

class TAutoObject;
using TAutoRef = std::shared_ptr<TAutoObject>;

// The error an automated application or component reports (a file that does not open, a query
// that fails, a member it does not know).
class EOleException : public Exception {
public:
    using Exception::Exception;
};
// Creating an object by a program name that no server answers to.
class EOleSysError : public Exception {
public:
    using Exception::Exception;
};

struct TVarArray;

// An error value inside a variant (a cell holding #N/A and the like).
struct TVarError {
    int Code = 0;
    bool operator==(const TVarError&) const = default;
};

// A variant: empty, null, boolean, integer, floating point, text, error, object or array.
class TVariant {
public:
    struct Null {
        bool operator==(const Null&) const = default;
    };
    using Value = std::variant<std::monostate, Null, bool, qint64, double, QString, TVarError, TAutoRef,
                               std::shared_ptr<TVarArray>>;

    TVariant() = default;
    TVariant(bool v) : FValue(v) {}
    TVariant(int v) : FValue(qint64(v)) {}
    TVariant(qint64 v) : FValue(v) {}
    TVariant(double v) : FValue(v) {}
    TVariant(const QString& v) : FValue(v) {}
    TVariant(const char* v) : FValue(QString::fromUtf8(v)) {}
    TVariant(TVarError v) : FValue(v) {}
    TVariant(TAutoRef v) : FValue(std::move(v)) {}
    TVariant(const TVarArray& a);
    static TVariant MakeNull();

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(FValue); }
    bool IsNull() const { return std::holds_alternative<Null>(FValue); }
    bool IsBool() const { return std::holds_alternative<bool>(FValue); }
    bool IsInt() const { return std::holds_alternative<qint64>(FValue); }
    bool IsDouble() const { return std::holds_alternative<double>(FValue); }
    bool IsString() const { return std::holds_alternative<QString>(FValue); }
    bool IsError() const { return std::holds_alternative<TVarError>(FValue); }
    bool IsObject() const { return std::holds_alternative<TAutoRef>(FValue); }
    bool IsArray() const { return std::holds_alternative<std::shared_ptr<TVarArray>>(FValue); }

    // Conversions as a late-bound caller sees them; a value that does not convert raises
    // EOleException ("Could not convert variant ...").
    QString ToString() const;   // empty and null give ""; numbers in their shortest form
    qint64 ToInt() const;
    double ToDouble() const;
    bool ToBool() const;
    TAutoRef ToObject() const;  // raises for anything but an object
    const TVarArray& ToArray() const;

    // A short text for logs ("'text'", "3", "True", "Empty", "Array(2x3)", "Object").
    QString Describe() const;

    const Value& Raw() const { return FValue; }
    bool operator==(const TVariant& o) const;

private:
    Value FValue;
};

// A two-dimensional array with 1-based indexes (row, column), as a spreadsheet range gives it.
struct TVarArray {
    int Rows = 0;
    int Cols = 0;
    std::vector<TVariant> Items;

    TVarArray() = default;
    TVarArray(int rows, int cols) : Rows(rows), Cols(cols), Items(size_t(rows) * size_t(cols)) {}
    TVariant& At(int r, int c);
    const TVariant& At(int r, int c) const;  // out of range raises EOleException
};

// An argument, positional or named ("SaveChanges := false").
struct TAutoArg {
    QString Name;
    TVariant Value;
    TAutoArg(TVariant v) : Value(std::move(v)) {}
    template <typename T>
    TAutoArg(T v) : Value(TVariant(v)) {}
    TAutoArg(QString name, TVariant v) : Name(std::move(name)), Value(std::move(v)) {}
};
using TAutoArgs = QList<TAutoArg>;

// An automation object. Unknown members raise EOleException ("Unknown name <member>").
class TAutoObject : public std::enable_shared_from_this<TAutoObject> {
public:
    virtual ~TAutoObject() = default;
    // The object model's name of the object's class ("Application", "Workbook", "Range", ...).
    virtual QString ClassName() const = 0;

    virtual TVariant Get(const QString& Name, const TAutoArgs& Args = {});
    virtual void Set(const QString& Name, const TVariant& Value, const TAutoArgs& Args = {});
    virtual TVariant Call(const QString& Name, const TAutoArgs& Args = {});

    // Shorthands: a member got as an object (raises when it is none).
    TAutoRef Obj(const QString& Name, const TAutoArgs& Args = {}) { return Get(Name, Args).ToObject(); }

protected:
    [[noreturn]] void Unknown(const QString& Name) const;
    // The argument at `index` or named `name`; `def` when there is none.
    static TVariant Arg(const TAutoArgs& Args, int index, const QString& name, const TVariant& def = {});
    static bool Is(const QString& a, const char* b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; }
};

// Creates the object of a program name; EOleSysError when no server answers to it.
class TAutomationFactory {
public:
    virtual ~TAutomationFactory() = default;
    virtual TAutoRef CreateOleObject(const QString& ProgId) = 0;
    // The running instance of an application; EOleSysError when there is none.
    virtual TAutoRef GetActiveOleObject(const QString& ProgId) = 0;
};

// The factory in use (the real back-ends unless a test installed another).
TAutomationFactory& Automation();
// Installs `factory` (not owned); nullptr goes back to the real back-ends.
void SetAutomation(TAutomationFactory* factory);

inline TAutoRef CreateOleObject(const QString& ProgId) { return Automation().CreateOleObject(ProgId); }
inline TAutoRef GetActiveOleObject(const QString& ProgId) { return Automation().GetActiveOleObject(ProgId); }

// A1 notation: column letters for a 1-based column (1 -> "A", 27 -> "AA", 703 -> "AAA") and back
// ("" or anything but letters gives -1).
QString ColumnLetters(int Col);
int ColumnNumber(const QString& Letters);

} // namespace platform
