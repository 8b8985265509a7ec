#include "platform/AutomationDouble.h"

namespace platform {

namespace {

QString ArgText(const TAutoArgs& Args)
{
    QStringList parts;
    for (const TAutoArg& a : Args)
        parts << (a.Name.isEmpty() ? QString() : a.Name + QStringLiteral(":=")) + a.Value.Describe();
    return parts.join(QStringLiteral(", "));
}

// Wraps an object of the model: logs each access, fails the scripted members, and wraps the
// objects it hands out in turn.
class Recorder : public TAutoWrapper {
public:
    Recorder(TAutoRef inner, std::shared_ptr<ScriptedAutomation::State> state, bool root)
        : FInner(std::move(inner)), FState(std::move(state)), FRoot(root)
    {
    }
    ~Recorder() override
    {
        if (FRoot)
            FState->Log << ClassName() + QStringLiteral(" released");
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    TAutoObject* Inner() const override { return FInner.get(); }
    QString ClassName() const override { return FInner->ClassName(); }

    TVariant Get(const QString& Name, const TAutoArgs& Args) override
    {
        return Run(Name, ClassName() + QLatin1Char('.') + Name + (Args.isEmpty() ? QString() : Paren(Args)),
                   [&] { return FInner->Get(Name, Args); });
    }
    void Set(const QString& Name, const TVariant& Value, const TAutoArgs& Args) override
    {
        Run(Name,
            ClassName() + QLatin1Char('.') + Name + (Args.isEmpty() ? QString() : Paren(Args)) + QStringLiteral(" := ") +
                Value.Describe(),
            [&] {
                FInner->Set(Name, Value, Args);
                return TVariant();
            });
    }
    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        return Run(Name, ClassName() + QLatin1Char('.') + Name + Paren(Args), [&] { return FInner->Call(Name, Args); });
    }

private:
    static QString Paren(const TAutoArgs& Args) { return QLatin1Char('(') + ArgText(Args) + QLatin1Char(')'); }

    template <typename F>
    TVariant Run(const QString& Name, const QString& line, F&& f)
    {
        FState->Log << line;
        try {
            for (const QString& key : FState->Failing)
                if (key.compare(ClassName() + QLatin1Char('.') + Name, Qt::CaseInsensitive) == 0)
                    throw EOleException(QStringLiteral("Scripted failure of %1").arg(key));
            TVariant v = f();
            if (v.IsObject())
                return TAutoRef(std::make_shared<Recorder>(v.ToObject(), FState, false));
            return v;
        } catch (...) {
            FState->Log.last() += QStringLiteral(" -> error");
            throw;
        }
    }

    TAutoRef FInner;
    std::shared_ptr<ScriptedAutomation::State> FState;
    bool FRoot;
};

class MemoryWorkbooks : public TWorkbookStore {
public:
    explicit MemoryWorkbooks(ScriptedAutomation* a) : FA(a) {}
    bool Exists(const QString& FileName) override { return FA->Workbooks.contains(FileName); }
    TWorkbookData Load(const QString& FileName) override
    {
        if (!FA->Workbooks.contains(FileName))
            throw EOleException(QStringLiteral("The workbook '%1' does not exist").arg(FileName));
        return FA->Workbooks.value(FileName);
    }
    void Save(const QString& FileName, const TWorkbookData& Data) override { FA->Workbooks[FileName] = Data; }

private:
    ScriptedAutomation* FA;
};

class MemoryDocuments : public TDocumentStore {
public:
    explicit MemoryDocuments(ScriptedAutomation* a) : FA(a) {}
    TDocumentData Load(const QString& FileName) override
    {
        if (!FA->Documents.contains(FileName))
            throw EOleException(QStringLiteral("The document '%1' does not exist").arg(FileName));
        return FA->Documents.value(FileName);
    }
    void Save(const QString& FileName, const TDocumentData& Data) override { FA->Documents[FileName] = Data; }

private:
    ScriptedAutomation* FA;
};

class MemorySource : public TDataSource {
public:
    explicit MemorySource(ScriptedAutomation* a) : FA(a) {}
    TQueryResult Query(const QString& Sql) override
    {
        if (!FA->Queries.contains(Sql))
            throw EOleException(QStringLiteral("The query cannot be run: it is not scripted"));
        return FA->Queries.value(Sql);
    }

private:
    ScriptedAutomation* FA;
};

bool SameName(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

} // namespace

ScriptedAutomation::ScriptedAutomation()
{
    SetAutomation(this);
}

ScriptedAutomation::~ScriptedAutomation()
{
    FRunning.clear();
    SetAutomation(nullptr);
}

TAutoRef ScriptedAutomation::Make(const QString& ProgId)
{
    if (SameName(ProgId, "excel.application"))
        return NewSpreadsheetApplication(std::make_shared<MemoryWorkbooks>(this));
    if (SameName(ProgId, "word.application"))
        return NewWordProcessorApplication(std::make_shared<MemoryDocuments>(this));
    if (SameName(ProgId, "ADODB.Connection"))
        return NewConnection([this](const QString&) { return std::make_shared<MemorySource>(this); });
    if (SameName(ProgId, "ADODB.RecordSet"))
        return NewRecordset();
    throw EOleSysError(QStringLiteral("No server answers to this program name"));
}

TAutoRef ScriptedAutomation::CreateOleObject(const QString& ProgId)
{
    FState->Log << QStringLiteral("Create ") + ProgId;
    for (const QString& u : Unavailable)
        if (u.compare(ProgId, Qt::CaseInsensitive) == 0) {
            FState->Log.last() += QStringLiteral(" -> error");
            throw EOleSysError(QStringLiteral("No server answers to this program name"));
        }
    return std::make_shared<Recorder>(Make(ProgId), FState, true);
}

TAutoRef ScriptedAutomation::GetActiveOleObject(const QString& ProgId)
{
    FState->Log << QStringLiteral("GetActive ") + ProgId;
    const QString key = ProgId.toLower();
    bool running = false;
    for (const QString& r : Running)
        running = running || r.compare(ProgId, Qt::CaseInsensitive) == 0;
    if (!running) {
        FState->Log.last() += QStringLiteral(" -> none");
        throw EOleSysError(QStringLiteral("No running instance of this program"));
    }
    if (!FRunning.contains(key))
        FRunning[key] = Make(ProgId);
    return std::make_shared<Recorder>(FRunning[key], FState, true);
}

QStringList ScriptedAutomation::Calls(const QString& prefix) const
{
    QStringList out;
    for (const QString& l : FState->Log)
        if (l.startsWith(prefix))
            out << l;
    return out;
}

TSheetData MakeSheet(const QString& Name, const std::map<std::pair<int, int>, TVariant>& Cells)
{
    TSheetData s;
    s.Name = Name;
    s.Cells = Cells;
    return s;
}

} // namespace platform
