// The data-access components' object model: Connection, Recordset, Fields and Field, over a data
// source opened from the connection text; the real source reads SQLite database files.
#include "platform/AutomationModels.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace platform {

namespace {

class AdoConnection : public TAutoObject {
public:
    explicit AdoConnection(TDataSourceOpener opener) : FOpener(std::move(opener)) {}
    QString ClassName() const override { return QStringLiteral("Connection"); }

    TVariant Get(const QString& Name, const TAutoArgs&) override
    {
        if (Is(Name, "State"))
            return FSource ? 1 : 0;
        if (Is(Name, "ConnectionString"))
            return FText;
        Unknown(Name);
    }
    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Open")) {
            if (FSource)
                throw EOleException(QStringLiteral("The object is open already"));
            FText = Arg(Args, 0, QStringLiteral("ConnectionString")).ToString();
            FSource = FOpener(FText);
            return {};
        }
        if (Is(Name, "Close")) {
            if (!FSource)
                throw EOleException(QStringLiteral("The object is closed"));
            FSource.reset();
            return {};
        }
        return Get(Name, Args);
    }
    TDataSource& Source()
    {
        if (!FSource)
            throw EOleException(QStringLiteral("The object is closed"));
        return *FSource;
    }

private:
    TDataSourceOpener FOpener;
    QString FText;
    std::shared_ptr<TDataSource> FSource;
};

struct RsData {
    TQueryResult Result;
    int Pos = 0;
    bool Open = false;
    void Check() const
    {
        if (!Open)
            throw EOleException(QStringLiteral("The object is closed"));
    }
};

class AdoField : public TAutoObject {
public:
    AdoField(std::shared_ptr<RsData> d, int i) : FData(std::move(d)), FIndex(i) {}
    QString ClassName() const override { return QStringLiteral("Field"); }
    TVariant Get(const QString& Name, const TAutoArgs&) override
    {
        FData->Check();
        if (Is(Name, "Name"))
            return FData->Result.Fields[FIndex];
        if (!Is(Name, "Value") && !Is(Name, "ActualSize"))
            Unknown(Name);
        if (FData->Pos >= int(FData->Result.Rows.size()))
            throw EOleException(QStringLiteral("There is no current record"));
        const auto& row = FData->Result.Rows[size_t(FData->Pos)];
        const TVariant v = FIndex < int(row.size()) ? row[size_t(FIndex)] : TVariant::MakeNull();
        if (Is(Name, "Value"))
            return v;
        if (v.IsNull() || v.IsEmpty())
            return 0;
        if (v.IsString())
            return int(v.ToString().toUtf8().size());
        return 8;
    }

private:
    std::shared_ptr<RsData> FData;
    int FIndex;
};

class AdoFields : public TAutoObject {
public:
    explicit AdoFields(std::shared_ptr<RsData> d) : FData(std::move(d)) {}
    QString ClassName() const override { return QStringLiteral("Fields"); }
    TVariant Get(const QString& Name, const TAutoArgs& Args) override
    {
        FData->Check();
        if (Is(Name, "Count"))
            return int(FData->Result.Fields.size());
        if (Is(Name, "Item"))
            return Item(Arg(Args, 0, QStringLiteral("Index")));
        Unknown(Name);
    }
    TVariant Call(const QString& Name, const TAutoArgs& Args) override { return Get(Name, Args); }

    TVariant Item(const TVariant& index)
    {
        FData->Check();
        const QStringList& f = FData->Result.Fields;
        int i = -1;
        if (index.IsString())
            i = int(f.indexOf(index.ToString()));
        else if (index.ToInt() >= 0 && index.ToInt() < f.size())
            i = int(index.ToInt());
        if (i < 0)
            throw EOleException(QStringLiteral("No such field"));
        return TAutoRef(std::make_shared<AdoField>(FData, i));
    }

private:
    std::shared_ptr<RsData> FData;
};

class AdoRecordset : public TAutoObject {
public:
    QString ClassName() const override { return QStringLiteral("Recordset"); }

    TVariant Get(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "ActiveConnection"))
            return FConnection ? TVariant(FConnection) : TVariant();
        if (Is(Name, "State"))
            return FData->Open ? 1 : 0;
        FData->Check();
        if (Is(Name, "Fields")) {
            auto fields = std::make_shared<AdoFields>(FData);
            if (!Args.isEmpty())
                return fields->Item(Arg(Args, 0, QStringLiteral("Index")));
            return TAutoRef(fields);
        }
        if (Is(Name, "RecordCount"))
            return int(FData->Result.Rows.size());
        if (Is(Name, "Eof") || Is(Name, "EOF"))
            return FData->Pos >= int(FData->Result.Rows.size());
        if (Is(Name, "Bof") || Is(Name, "BOF"))
            return FData->Result.Rows.empty();
        Unknown(Name);
    }

    void Set(const QString& Name, const TVariant& Value, const TAutoArgs&) override
    {
        if (!Is(Name, "ActiveConnection"))
            Unknown(Name);
        if (!dynamic_cast<AdoConnection*>(Unwrapped(Value.ToObject().get())))
            throw EOleException(QStringLiteral("The active connection must be a connection object"));
        FConnection = Value.ToObject();
    }

    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Open")) {
            if (FData->Open)
                throw EOleException(QStringLiteral("The object is open already"));
            if (!FConnection)
                throw EOleException(QStringLiteral("The recordset has no connection"));
            auto* c = dynamic_cast<AdoConnection*>(Unwrapped(FConnection.get()));
            FData->Result = c->Source().Query(Arg(Args, 0, QStringLiteral("Source")).ToString());
            FData->Pos = 0;
            FData->Open = true;
            return {};
        }
        if (Is(Name, "Close")) {
            FData->Check();
            FData->Open = false;
            FData->Result = {};
            return {};
        }
        if (Is(Name, "MoveNext")) {
            FData->Check();
            if (FData->Pos >= int(FData->Result.Rows.size()))
                throw EOleException(QStringLiteral("There is no current record"));
            ++FData->Pos;
            return {};
        }
        return Get(Name, Args);
    }

private:
    std::shared_ptr<RsData> FData = std::make_shared<RsData>();
    TAutoRef FConnection;
};

class SqliteSource : public TDataSource {
public:
    SqliteSource(sqlite3* db, QString file) : FDb(db), FFile(std::move(file)) {}
    ~SqliteSource() override { sqlite3_close(FDb); }
    SqliteSource(const SqliteSource&) = delete;
    SqliteSource& operator=(const SqliteSource&) = delete;

    TQueryResult Query(const QString& Sql) override
    {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = Sql.toUtf8();
        if (sqlite3_prepare_v2(FDb, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK || !st) {
            const QString why = QString::fromUtf8(sqlite3_errmsg(FDb));
            sqlite3_finalize(st);
            throw EOleException(QStringLiteral("The query cannot be run: %1").arg(why));
        }
        TQueryResult res;
        const int n = sqlite3_column_count(st);
        for (int i = 0; i < n; ++i)
            res.Fields << QString::fromUtf8(sqlite3_column_name(st, i));
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            std::vector<TVariant> row;
            for (int i = 0; i < n; ++i) {
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_INTEGER: row.emplace_back(qint64(sqlite3_column_int64(st, i))); break;
                case SQLITE_FLOAT: row.emplace_back(sqlite3_column_double(st, i)); break;
                case SQLITE_NULL: row.push_back(TVariant::MakeNull()); break;
                default: {
                    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                    row.emplace_back(QString::fromUtf8(t, sqlite3_column_bytes(st, i)));
                }
                }
            }
            res.Rows.push_back(std::move(row));
        }
        const QString why = QString::fromUtf8(sqlite3_errmsg(FDb));
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            throw EOleException(QStringLiteral("The query cannot be run: %1").arg(why));
        return res;
    }

private:
    sqlite3* FDb;
    QString FFile;
};

} // namespace

TAutoRef NewConnection(TDataSourceOpener Opener)
{
    return std::make_shared<AdoConnection>(std::move(Opener));
}

TAutoRef NewRecordset()
{
    return std::make_shared<AdoRecordset>();
}

QString ConnectionFileName(const QString& ConnectionText)
{
    for (const QString& part : ConnectionText.split(QLatin1Char(';'))) {
        const QString p = part.trimmed();
        if (p.startsWith(QLatin1String("DBQ="), Qt::CaseInsensitive))
            return p.mid(4);
    }
    return {};
}

std::shared_ptr<TDataSource> OpenSqliteSource(const QString& ConnectionText)
{
    const QString file = ConnectionFileName(ConnectionText);
    if (file.isEmpty())
        throw EOleException(QStringLiteral("The connection text names no database file"));
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("mdb") || suffix == QLatin1String("accdb"))
        throw EOleException(QStringLiteral("The database '%1' cannot be read: only SQLite database files are served")
                                .arg(file));
    if (!QFileInfo(file).isFile())
        throw EOleException(QStringLiteral("The database file '%1' does not exist").arg(file));
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const QString why = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        throw EOleException(QStringLiteral("The database '%1' cannot be opened: %2").arg(file, why));
    }
    auto source = std::make_shared<SqliteSource>(db, file);
    // Opening is lazy: reading the schema tells a database from any other file now.
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw EOleException(QStringLiteral("The database '%1' cannot be opened: %2")
                                .arg(file, QString::fromUtf8(sqlite3_errmsg(db))));
    return source;
}

} // namespace platform
