#include "platform/Automation.h"

#include "platform/AutomationModels.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace platform {

// ---- variants ----------------------------------------------------------------------------------

TVariant::TVariant(const TVarArray& a) : FValue(std::make_shared<TVarArray>(a)) {}

TVariant TVariant::MakeNull()
{
    TVariant v;
    v.FValue = Null{};
    return v;
}

namespace {

[[noreturn]] void CannotConvert(const TVariant& v, const char* to)
{
    throw EOleException(QStringLiteral("The value %1 does not convert to %2").arg(v.Describe(),
                                                                                       QLatin1String(to)));
}

QString NumberText(double d)
{
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    return QString::number(d, 'g', 15);
}

} // namespace

QString TVariant::ToString() const
{
    if (IsEmpty() || IsNull())
        return {};
    if (IsBool())
        return std::get<bool>(FValue) ? QStringLiteral("True") : QStringLiteral("False");
    if (IsInt())
        return QString::number(std::get<qint64>(FValue));
    if (IsDouble())
        return NumberText(std::get<double>(FValue));
    if (IsString())
        return std::get<QString>(FValue);
    CannotConvert(*this, "String");
}

qint64 TVariant::ToInt() const
{
    if (IsEmpty())
        return 0;
    if (IsBool())
        return std::get<bool>(FValue) ? -1 : 0;
    if (IsInt())
        return std::get<qint64>(FValue);
    if (IsDouble()) {
        const double d = std::get<double>(FValue);
        if (std::isfinite(d) && std::fabs(d) < 9.2e18)
            return qint64(std::nearbyint(d));
    }
    if (IsString()) {
        bool ok = false;
        const qint64 n = std::get<QString>(FValue).trimmed().toLongLong(&ok);
        if (ok)
            return n;
    }
    CannotConvert(*this, "Integer");
}

double TVariant::ToDouble() const
{
    if (IsDouble())
        return std::get<double>(FValue);
    if (IsString()) {
        bool ok = false;
        const double d = std::get<QString>(FValue).trimmed().toDouble(&ok);
        if (ok)
            return d;
        CannotConvert(*this, "Double");
    }
    return double(ToInt());
}

bool TVariant::ToBool() const
{
    if (IsBool())
        return std::get<bool>(FValue);
    if (IsString()) {
        const QString s = std::get<QString>(FValue).trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return ToInt() != 0;
}

TAutoRef TVariant::ToObject() const
{
    if (IsObject() && std::get<TAutoRef>(FValue))
        return std::get<TAutoRef>(FValue);
    CannotConvert(*this, "Object");
}

const TVarArray& TVariant::ToArray() const
{
    if (IsArray())
        return *std::get<std::shared_ptr<TVarArray>>(FValue);
    CannotConvert(*this, "Array");
}

QString TVariant::Describe() const
{
    if (IsEmpty())
        return QStringLiteral("Empty");
    if (IsNull())
        return QStringLiteral("Null");
    if (IsString())
        return QLatin1Char('\'') + std::get<QString>(FValue) + QLatin1Char('\'');
    if (IsError())
        return QStringLiteral("Error(%1)").arg(std::get<TVarError>(FValue).Code);
    if (IsObject())
        return QStringLiteral("Object");
    if (IsArray()) {
        const auto& a = *std::get<std::shared_ptr<TVarArray>>(FValue);
        return QStringLiteral("Array(%1x%2)").arg(a.Rows).arg(a.Cols);
    }
    return ToString();
}

bool TVariant::operator==(const TVariant& o) const
{
    if (IsArray() && o.IsArray()) {
        const TVarArray& a = ToArray();
        const TVarArray& b = o.ToArray();
        return a.Rows == b.Rows && a.Cols == b.Cols && a.Items == b.Items;
    }
    return FValue == o.FValue;
}

TVariant& TVarArray::At(int r, int c)
{
    if (r < 1 || r > Rows || c < 1 || c > Cols)
        throw EOleException(QStringLiteral("Array index out of range"));
    return Items[size_t(r - 1) * size_t(Cols) + size_t(c - 1)];
}

const TVariant& TVarArray::At(int r, int c) const
{
    return const_cast<TVarArray*>(this)->At(r, c);
}

// ---- objects -----------------------------------------------------------------------------------

TVariant TAutoObject::Get(const QString& Name, const TAutoArgs&)
{
    Unknown(Name);
}

void TAutoObject::Set(const QString& Name, const TVariant&, const TAutoArgs&)
{
    Unknown(Name);
}

TVariant TAutoObject::Call(const QString& Name, const TAutoArgs&)
{
    Unknown(Name);
}

void TAutoObject::Unknown(const QString& Name) const
{
    throw EOleException(QStringLiteral("%1 has no member %2").arg(ClassName(), Name));
}

TVariant TAutoObject::Arg(const TAutoArgs& Args, int index, const QString& name, const TVariant& def)
{
    for (const TAutoArg& a : Args)
        if (!a.Name.isEmpty() && a.Name.compare(name, Qt::CaseInsensitive) == 0)
            return a.Value;
    int pos = 0;
    for (const TAutoArg& a : Args) {
        if (!a.Name.isEmpty())
            continue;
        if (pos == index)
            return a.Value;
        ++pos;
    }
    return def;
}

TAutoObject* Unwrapped(TAutoObject* o)
{
    while (auto* w = dynamic_cast<TAutoWrapper*>(o))
        o = w->Inner();
    return o;
}

// ---- the real back-ends ------------------------------------------------------------------------

namespace {

class DiskWorkbookStore : public TWorkbookStore {
public:
    bool Exists(const QString& FileName) override { return QFileInfo(FileName).isFile(); }
    TWorkbookData Load(const QString& FileName) override
    {
        QFile f(FileName);
        if (!f.open(QIODevice::ReadOnly))
            throw EOleException(QStringLiteral("Cannot open the workbook '%1': %2").arg(FileName, f.errorString()));
        const QByteArray head = f.read(8);
        f.close();
        // The content decides the format, not the name: zip packages are .xlsx, compound files .xls.
        if (head.startsWith("PK"))
            return ReadXlsxFile(FileName);
        if (head.startsWith("\xD0\xCF\x11\xE0"))
            return ReadXlsFile(FileName);
        throw EOleException(QStringLiteral("The workbook '%1' is in a format that cannot be read").arg(FileName));
    }
    void Save(const QString& FileName, const TWorkbookData& Data) override { WriteXlsxFile(FileName, Data); }
};

class DiskDocumentStore : public TDocumentStore {
public:
    TDocumentData Load(const QString& FileName) override
    {
        throw EOleException(QStringLiteral("The document '%1' cannot be opened: only new documents are written")
                                .arg(FileName));
    }
    void Save(const QString& FileName, const TDocumentData& Data) override { WriteOdtFile(FileName, Data); }
};

class RealAutomation : public TAutomationFactory {
public:
    TAutoRef CreateOleObject(const QString& ProgId) override
    {
        auto is = [&](const char* n) { return ProgId.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
        if (is("excel.application"))
            return NewSpreadsheetApplication(std::make_shared<DiskWorkbookStore>());
        if (is("word.application"))
            return NewWordProcessorApplication(std::make_shared<DiskDocumentStore>());
        if (is("ADODB.Connection"))
            return NewConnection(&OpenSqliteSource);
        if (is("ADODB.RecordSet"))
            return NewRecordset();
        throw EOleSysError(QStringLiteral("No server answers to this program name"));
    }
    TAutoRef GetActiveOleObject(const QString&) override
    {
        throw EOleSysError(QStringLiteral("No running instance of this program"));
    }
};

TAutomationFactory* g_automation = nullptr;

} // namespace

TAutomationFactory& Automation()
{
    static RealAutomation real;
    return g_automation ? *g_automation : real;
}

void SetAutomation(TAutomationFactory* factory)
{
    g_automation = factory;
}

// ---- A1 notation -------------------------------------------------------------------------------

QString ColumnLetters(int Col)
{
    // Bijective base 26: A..Z, AA..ZZ, AAA.. (no digit for zero).
    QString s;
    for (int n = Col; n > 0; n = (n - 1) / 26)
        s.prepend(QChar(u'A' + (n - 1) % 26));
    return s;
}

int ColumnNumber(const QString& Letters)
{
    if (Letters.isEmpty() || Letters.size() > 6)
        return -1;
    int n = 0;
    for (QChar ch : Letters) {
        const QChar u = ch.toUpper();
        if (u < QLatin1Char('A') || u > QLatin1Char('Z'))
            return -1;
        n = n * 26 + (u.unicode() - u'A' + 1);
    }
    return n;
}

} // namespace platform
