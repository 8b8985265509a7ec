// The workbook application's object model: Application, Workbooks, Workbook, Sheets, Worksheet
// and Range, over workbooks held in memory and a store that reads and writes their files.
#include "platform/AutomationModels.h"

#include <QRegularExpression>
#include <algorithm>

namespace platform {

namespace {

class XlApplication;

struct XlRect {
    int R1 = 1, C1 = 1, R2 = 1, C2 = 1;
};

// "B2", "$B$2", "B2:D4", "2:3" (whole rows) into a rectangle; false when it does not read.
bool ParseRangeText(const QString& text, XlRect& out)
{
    static const QRegularExpression cell(QStringLiteral("^\\$?([A-Za-z]{0,3})\\$?([0-9]{0,7})$"));
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.isEmpty() || parts.size() > 2)
        return false;
    int rc[2][2];
    for (int i = 0; i < parts.size(); ++i) {
        const auto m = cell.match(parts[i]);
        if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(2).isEmpty()))
            return false;
        rc[i][0] = m.captured(2).isEmpty() ? -1 : m.captured(2).toInt();
        rc[i][1] = m.captured(1).isEmpty() ? -1 : ColumnNumber(m.captured(1));
    }
    if (parts.size() == 1) {
        if (rc[0][0] < 1 || rc[0][1] < 1)
            return false;
        rc[1][0] = rc[0][0];
        rc[1][1] = rc[0][1];
    }
    for (int i = 0; i < 2; ++i) {
        if (rc[i][1] == -1 && rc[i][0] >= 1)
            rc[i][1] = i == 0 ? 1 : MaxSheetColumns;  // whole rows
        if (rc[i][0] == -1 && rc[i][1] >= 1)
            rc[i][0] = i == 0 ? 1 : MaxSheetRows;     // whole columns
    }
    out = {std::min(rc[0][0], rc[1][0]), std::min(rc[0][1], rc[1][1]), std::max(rc[0][0], rc[1][0]),
           std::max(rc[0][1], rc[1][1])};
    return out.R1 >= 1 && out.C1 >= 1 && out.R2 <= MaxSheetRows && out.C2 <= MaxSheetColumns;
}

QString CellAddress(int r, int c)
{
    return QStringLiteral("$%1$%2").arg(ColumnLetters(c)).arg(r);
}

// A sheet of a workbook held in memory; sheets are only ever appended, so the index stays valid.
struct SheetRef {
    std::shared_ptr<TWorkbookData> Book;
    int Index = 0;
    TSheetData& Sheet() const { return Book->Sheets[size_t(Index)]; }
};

class XlRange : public TAutoObject {
public:
    XlRange(SheetRef s, XlRect r) : FSheet(std::move(s)), FRect(r) {}
    QString ClassName() const override { return QStringLiteral("Range"); }

    TVariant Get(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Address")) {
            if (FRect.C1 == 1 && FRect.C2 == MaxSheetColumns)
                return QStringLiteral("$%1:$%2").arg(FRect.R1).arg(FRect.R2);
            if (FRect.R1 == FRect.R2 && FRect.C1 == FRect.C2)
                return CellAddress(FRect.R1, FRect.C1);
            return CellAddress(FRect.R1, FRect.C1) + QLatin1Char(':') + CellAddress(FRect.R2, FRect.C2);
        }
        if (Is(Name, "Value") || Is(Name, "Value2")) {
            const auto& cells = FSheet.Sheet().Cells;
            auto at = [&](int r, int c) {
                auto it = cells.find({r, c});
                return it == cells.end() ? TVariant() : it->second;
            };
            if (FRect.R1 == FRect.R2 && FRect.C1 == FRect.C2)
                return at(FRect.R1, FRect.C1);
            const qint64 n = qint64(FRect.R2 - FRect.R1 + 1) * (FRect.C2 - FRect.C1 + 1);
            if (n > 10'000'000)
                throw EOleException(QStringLiteral("The range is too large to read at once"));
            TVarArray a(FRect.R2 - FRect.R1 + 1, FRect.C2 - FRect.C1 + 1);
            for (const auto& [key, v] : cells)
                if (key.first >= FRect.R1 && key.first <= FRect.R2 && key.second >= FRect.C1 && key.second <= FRect.C2)
                    a.At(key.first - FRect.R1 + 1, key.second - FRect.C1 + 1) = v;
            return a;
        }
        if (Is(Name, "Text"))
            return Get(QStringLiteral("Value"), {}).ToString();
        if (Is(Name, "Row"))
            return FRect.R1;
        if (Is(Name, "Column"))
            return FRect.C1;
        if (Is(Name, "Cells") || Is(Name, "Item")) {
            const int r = int(Arg(Args, 0, QStringLiteral("RowIndex")).ToInt());
            const int c = int(Arg(Args, 1, QStringLiteral("ColumnIndex"), 1).ToInt());
            const int ar = FRect.R1 + r - 1, ac = FRect.C1 + c - 1;
            if (r < 1 || c < 1 || ar > MaxSheetRows || ac > MaxSheetColumns)
                throw EOleException(QStringLiteral("The cell lies outside the sheet"));
            return TAutoRef(std::make_shared<XlRange>(FSheet, XlRect{ar, ac, ar, ac}));
        }
        if (Is(Name, "Count"))
            return qint64(FRect.R2 - FRect.R1 + 1) * (FRect.C2 - FRect.C1 + 1);
        Unknown(Name);
    }

    void Set(const QString& Name, const TVariant& Value, const TAutoArgs&) override
    {
        if (!Is(Name, "Value") && !Is(Name, "Value2"))
            Unknown(Name);
        auto& cells = FSheet.Sheet().Cells;
        auto put = [&](int r, int c, const TVariant& v) {
            if (v.IsEmpty() || (v.IsString() && v.ToString().isEmpty()))
                cells.erase({r, c});
            else
                cells[{r, c}] = v;
        };
        for (int r = FRect.R1; r <= FRect.R2; ++r)
            for (int c = FRect.C1; c <= FRect.C2; ++c) {
                if (!Value.IsArray()) {
                    put(r, c, Value);
                    continue;
                }
                const TVarArray& a = Value.ToArray();
                const int ar = r - FRect.R1 + 1, ac = c - FRect.C1 + 1;
                // A range larger than the array gets #N/A outside it, as the application does.
                put(r, c, ar <= a.Rows && ac <= a.Cols ? a.At(ar, ac) : TVariant(TVarError{2042}));
            }
    }

private:
    SheetRef FSheet;
    XlRect FRect;
};

class XlSheet : public TAutoObject {
public:
    explicit XlSheet(SheetRef s) : FSheet(std::move(s)) {}
    QString ClassName() const override { return QStringLiteral("Worksheet"); }

    TVariant Get(const QString& Name, const TAutoArgs& Args) override
    {
        TSheetData& sh = FSheet.Sheet();
        if (Is(Name, "Name"))
            return sh.Name;
        if (Is(Name, "Index"))
            return FSheet.Index + 1;
        if (Is(Name, "UsedRange")) {
            XlRect r;
            if (!sh.Cells.empty()) {
                r = {MaxSheetRows, MaxSheetColumns, 1, 1};
                for (const auto& [key, v] : sh.Cells) {
                    r.R1 = std::min(r.R1, key.first);
                    r.R2 = std::max(r.R2, key.first);
                    r.C1 = std::min(r.C1, key.second);
                    r.C2 = std::max(r.C2, key.second);
                }
            }
            if (sh.WholeRowsUsed) {
                r.C1 = 1;
                r.C2 = MaxSheetColumns;
            }
            return TAutoRef(std::make_shared<XlRange>(FSheet, r));
        }
        if (Is(Name, "Rows") || Is(Name, "Cells")) {
            auto all = std::make_shared<XlRange>(FSheet, XlRect{1, 1, MaxSheetRows, MaxSheetColumns});
            if (Is(Name, "Cells") && !Args.isEmpty())
                return all->Get(Name, Args);
            return TAutoRef(all);
        }
        if (Is(Name, "Range")) {
            XlRect r;
            QString text = Arg(Args, 0, QStringLiteral("Cell1")).ToString();
            const TVariant second = Arg(Args, 1, QStringLiteral("Cell2"));
            if (!second.IsEmpty())
                text += QLatin1Char(':') + second.ToString();
            if (!ParseRangeText(text, r))
                throw EOleException(QStringLiteral("The range text does not read"));
            return TAutoRef(std::make_shared<XlRange>(FSheet, r));
        }
        Unknown(Name);
    }

    void Set(const QString& Name, const TVariant& Value, const TAutoArgs&) override
    {
        if (!Is(Name, "Name"))
            Unknown(Name);
        const QString name = Value.ToString();
        static const QRegularExpression bad(QStringLiteral("[\\[\\]:*?/\\\\]"));
        bool clash = false;
        for (size_t i = 0; i < FSheet.Book->Sheets.size(); ++i)
            if (int(i) != FSheet.Index && FSheet.Book->Sheets[i].Name.compare(name, Qt::CaseInsensitive) == 0)
                clash = true;
        if (name.isEmpty() || name.size() > 31 || name.contains(bad) || name.startsWith(QLatin1Char('\'')) || clash)
            throw EOleException(QStringLiteral("Cannot rename a sheet to '%1'").arg(name));
        FSheet.Sheet().Name = name;
    }

    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Activate") || Is(Name, "Select")) {
            FSheet.Book->Active = FSheet.Index;
            return {};
        }
        return Get(Name, Args);
    }

private:
    SheetRef FSheet;
};

class XlSheets : public TAutoObject {
public:
    explicit XlSheets(std::shared_ptr<TWorkbookData> b) : FBook(std::move(b)) {}
    QString ClassName() const override { return QStringLiteral("Sheets"); }

    TVariant Get(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Count"))
            return int(FBook->Sheets.size());
        if (Is(Name, "Item"))
            return Item(Arg(Args, 0, QStringLiteral("Index")));
        Unknown(Name);
    }

    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Add")) {
            TSheetData s;
            for (int n = int(FBook->Sheets.size()) + 1;; ++n) {
                s.Name = QStringLiteral("Sheet%1").arg(n);
                if (std::none_of(FBook->Sheets.begin(), FBook->Sheets.end(), [&](const TSheetData& o) {
                        return o.Name.compare(s.Name, Qt::CaseInsensitive) == 0;
                    }))
                    break;
            }
            FBook->Sheets.push_back(s);
            FBook->Active = int(FBook->Sheets.size()) - 1;
            return TAutoRef(std::make_shared<XlSheet>(SheetRef{FBook, FBook->Active}));
        }
        return Get(Name, Args);
    }

    TVariant Item(const TVariant& index)
    {
        if (index.IsString()) {
            for (size_t i = 0; i < FBook->Sheets.size(); ++i)
                if (FBook->Sheets[i].Name.compare(index.ToString(), Qt::CaseInsensitive) == 0)
                    return TAutoRef(std::make_shared<XlSheet>(SheetRef{FBook, int(i)}));
        } else {
            const qint64 i = index.ToInt();
            if (i >= 1 && i <= qint64(FBook->Sheets.size()))
                return TAutoRef(std::make_shared<XlSheet>(SheetRef{FBook, int(i - 1)}));
        }
        throw EOleException(QStringLiteral("No such item in the collection"));
    }

private:
    std::shared_ptr<TWorkbookData> FBook;
};

struct XlState {
    std::shared_ptr<TWorkbookStore> Store;
    struct Book {
        std::shared_ptr<TWorkbookData> Data;
        QString Path;  // empty for a new workbook never saved
        bool Saved = true;
        int Serial = 0;
    };
    std::vector<Book> Books;  // open workbooks, the active one last
    int NextSerial = 1;
    bool Quit = false;

    Book* Find(int serial)
    {
        for (Book& b : Books)
            if (b.Serial == serial)
                return &b;
        return nullptr;
    }
};

class XlWorkbook : public TAutoObject {
public:
    XlWorkbook(std::shared_ptr<XlState> s, int serial) : FState(std::move(s)), FSerial(serial) {}
    QString ClassName() const override { return QStringLiteral("Workbook"); }

    XlState::Book& Book()
    {
        XlState::Book* b = FState->Find(FSerial);
        if (!b)
            throw EOleException(QStringLiteral("The workbook is closed"));
        return *b;
    }

    TVariant Get(const QString& Name, const TAutoArgs& Args) override
    {
        XlState::Book& b = Book();
        if (Is(Name, "Sheets") || Is(Name, "WorkSheets")) {
            auto sheets = std::make_shared<XlSheets>(b.Data);
            if (!Args.isEmpty())
                return sheets->Item(Arg(Args, 0, QStringLiteral("Index")));
            return TAutoRef(sheets);
        }
        if (Is(Name, "ActiveSheet"))
            return TAutoRef(std::make_shared<XlSheet>(SheetRef{b.Data, b.Data->Active}));
        if (Is(Name, "Saved"))
            return b.Saved;
        if (Is(Name, "FullName") || Is(Name, "Name"))
            return b.Path;
        Unknown(Name);
    }

    void Set(const QString& Name, const TVariant& Value, const TAutoArgs&) override
    {
        if (!Is(Name, "Saved"))
            Unknown(Name);
        Book().Saved = Value.ToBool();
    }

    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        XlState::Book& b = Book();
        if (Is(Name, "Save")) {
            if (b.Path.isEmpty())
                throw EOleException(QStringLiteral("The workbook has no file name yet"));
            FState->Store->Save(b.Path, *b.Data);
            b.Saved = true;
            return {};
        }
        if (Is(Name, "SaveAs")) {
            const QString path = Arg(Args, 0, QStringLiteral("Filename")).ToString();
            FState->Store->Save(path, *b.Data);
            b.Path = path;
            b.Saved = true;
            return {};
        }
        if (Is(Name, "Close")) {
            if (Arg(Args, 0, QStringLiteral("SaveChanges"), false).ToBool()) {
                if (b.Path.isEmpty())
                    throw EOleException(QStringLiteral("The workbook has no file name yet"));
                FState->Store->Save(b.Path, *b.Data);
            }
            FState->Books.erase(std::find_if(FState->Books.begin(), FState->Books.end(),
                                             [&](const XlState::Book& o) { return o.Serial == FSerial; }));
            return {};
        }
        return Get(Name, Args);
    }

private:
    std::shared_ptr<XlState> FState;
    int FSerial;
};

class XlWorkbooks : public TAutoObject {
public:
    explicit XlWorkbooks(std::shared_ptr<XlState> s) : FState(std::move(s)) {}
    QString ClassName() const override { return QStringLiteral("Workbooks"); }

    TVariant Get(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Count"))
            return int(FState->Books.size());
        if (Is(Name, "Item")) {
            const qint64 i = Arg(Args, 0, QStringLiteral("Index")).ToInt();
            if (i < 1 || i > qint64(FState->Books.size()))
                throw EOleException(QStringLiteral("No such item in the collection"));
            return TAutoRef(std::make_shared<XlWorkbook>(FState, FState->Books[size_t(i - 1)].Serial));
        }
        Unknown(Name);
    }

    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Open")) {
            const QString path = Arg(Args, 0, QStringLiteral("Filename")).ToString();
            auto data = std::make_shared<TWorkbookData>(FState->Store->Load(path));
            if (data->Sheets.empty())
                throw EOleException(QStringLiteral("The workbook '%1' holds no sheet").arg(path));
            data->Active = std::clamp(data->Active, 0, int(data->Sheets.size()) - 1);
            return Add(data, path);
        }
        if (Is(Name, "Add")) {
            auto data = std::make_shared<TWorkbookData>();
            data->Sheets.push_back(TSheetData{QStringLiteral("Sheet1"), {}, false});
            return Add(data, QString());
        }
        return Get(Name, Args);
    }

private:
    TVariant Add(std::shared_ptr<TWorkbookData> data, const QString& path)
    {
        const int serial = FState->NextSerial++;
        FState->Books.push_back({std::move(data), path, true, serial});
        return TAutoRef(std::make_shared<XlWorkbook>(FState, serial));
    }

    std::shared_ptr<XlState> FState;
};

class XlApplication : public TAutoObject {
public:
    explicit XlApplication(std::shared_ptr<TWorkbookStore> store) : FState(std::make_shared<XlState>())
    {
        FState->Store = std::move(store);
    }
    QString ClassName() const override { return QStringLiteral("Application"); }

    TVariant Get(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "WorkBooks")) {
            auto books = std::make_shared<XlWorkbooks>(FState);
            if (!Args.isEmpty())
                return books->Get(QStringLiteral("Item"), Args);
            return TAutoRef(books);
        }
        if (Is(Name, "ActiveWorkBook"))
            return TAutoRef(std::make_shared<XlWorkbook>(FState, Active().Serial));
        if (Is(Name, "ActiveSheet")) {
            const auto& b = Active();
            return TAutoRef(std::make_shared<XlSheet>(SheetRef{b.Data, b.Data->Active}));
        }
        if (Is(Name, "ActiveCell")) {
            const auto& b = Active();
            return TAutoRef(std::make_shared<XlRange>(SheetRef{b.Data, b.Data->Active}, XlRect{}));
        }
        if (Is(Name, "Visible") || Is(Name, "DisplayAlerts"))
            return false;
        Unknown(Name);
    }

    void Set(const QString& Name, const TVariant&, const TAutoArgs&) override
    {
        if (!Is(Name, "Visible") && !Is(Name, "DisplayAlerts"))
            Unknown(Name);
    }

    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Quit")) {
            FState->Books.clear();
            FState->Quit = true;
            return {};
        }
        return Get(Name, Args);
    }

private:
    XlState::Book& Active()
    {
        if (FState->Books.empty())
            throw EOleException(QStringLiteral("No workbook is open"));
        return FState->Books.back();
    }

    std::shared_ptr<XlState> FState;
};

} // namespace

TAutoRef NewSpreadsheetApplication(std::shared_ptr<TWorkbookStore> Store)
{
    return std::make_shared<XlApplication>(std::move(Store));
}

} // namespace platform
