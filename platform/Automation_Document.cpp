// The word processor's object model: Application, Documents, Document, Selection, Range,
// Bookmarks, Paragraphs, Tables, Table, Cell, ParagraphFormat; documents are written as ODF text.
#include "platform/AtomicFile.h"
#include "platform/AutomationModels.h"

#include <QBuffer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextTable>
#include <algorithm>

namespace platform {

namespace {

struct WdDoc {
    TDocumentData Data;
    int Serial = 0;
};

struct WdState {
    std::shared_ptr<TDocumentStore> Store;
    std::vector<std::shared_ptr<WdDoc>> Docs;  // the active one last
    int NextSerial = 1;
    int SelectionPos = 0;  // in the active document's text

    std::shared_ptr<WdDoc> Active()
    {
        if (Docs.empty())
            throw EOleException(QStringLiteral("No document is open"));
        return Docs.back();
    }
    // Text inserted at `pos` moves what stands behind it.
    void Insert(WdDoc& d, int pos, const QString& s)
    {
        pos = std::clamp(pos, 0, int(d.Data.Text.size()));
        d.Data.Text.insert(pos, s);
        for (TDocTable& t : d.Data.Tables)
            if (t.Position > pos)
                t.Position += int(s.size());
        for (auto& [name, p] : d.Data.Bookmarks)
            if (p > pos)
                p += int(s.size());
    }
};

class WdRange : public TAutoObject {
public:
    WdRange(int start, int end) : FStart(start), FEnd(end) {}
    QString ClassName() const override { return QStringLiteral("Range"); }
    TVariant Get(const QString& Name, const TAutoArgs&) override
    {
        if (Is(Name, "Start"))
            return FStart;
        if (Is(Name, "End"))
            return FEnd;
        Unknown(Name);
    }
    int Start() const { return FStart; }

private:
    int FStart, FEnd;
};

class WdParagraphFormat : public TAutoObject {
public:
    WdParagraphFormat(std::shared_ptr<WdDoc> d, int table, int index) : FDoc(std::move(d)), FTable(table), FIndex(index) {}
    QString ClassName() const override { return QStringLiteral("ParagraphFormat"); }
    TVariant Get(const QString& Name, const TAutoArgs&) override
    {
        if (Is(Name, "Alignment"))
            return FDoc->Data.Tables[size_t(FTable)].Alignments[size_t(FIndex)];
        Unknown(Name);
    }
    void Set(const QString& Name, const TVariant& Value, const TAutoArgs&) override
    {
        if (!Is(Name, "Alignment"))
            Unknown(Name);
        const qint64 a = Value.ToInt();
        if (a < 0 || a > 3)
            throw EOleException(QStringLiteral("The value is out of range"));
        FDoc->Data.Tables[size_t(FTable)].Alignments[size_t(FIndex)] = int(a);
    }

private:
    std::shared_ptr<WdDoc> FDoc;
    int FTable, FIndex;
};

class WdCellRange : public TAutoObject {
public:
    WdCellRange(std::shared_ptr<WdDoc> d, int table, int index) : FDoc(std::move(d)), FTable(table), FIndex(index) {}
    QString ClassName() const override { return QStringLiteral("CellRange"); }
    TVariant Get(const QString& Name, const TAutoArgs&) override
    {
        if (Is(Name, "Text"))
            return FDoc->Data.Tables[size_t(FTable)].Texts[size_t(FIndex)];
        if (Is(Name, "ParagraphFormat"))
            return TAutoRef(std::make_shared<WdParagraphFormat>(FDoc, FTable, FIndex));
        Unknown(Name);
    }
    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "InsertAfter")) {
            FDoc->Data.Tables[size_t(FTable)].Texts[size_t(FIndex)] += Arg(Args, 0, QStringLiteral("Text")).ToString();
            return {};
        }
        return Get(Name, Args);
    }

private:
    std::shared_ptr<WdDoc> FDoc;
    int FTable, FIndex;
};

class WdCell : public TAutoObject {
public:
    WdCell(std::shared_ptr<WdDoc> d, int table, int index) : FDoc(std::move(d)), FTable(table), FIndex(index) {}
    QString ClassName() const override { return QStringLiteral("Cell"); }
    TVariant Get(const QString& Name, const TAutoArgs&) override
    {
        if (Is(Name, "Range"))
            return TAutoRef(std::make_shared<WdCellRange>(FDoc, FTable, FIndex));
        Unknown(Name);
    }

private:
    std::shared_ptr<WdDoc> FDoc;
    int FTable, FIndex;
};

class WdTable : public TAutoObject {
public:
    WdTable(std::shared_ptr<WdDoc> d, int table) : FDoc(std::move(d)), FTable(table) {}
    QString ClassName() const override { return QStringLiteral("Table"); }
    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Cell")) {
            const TDocTable& t = FDoc->Data.Tables[size_t(FTable)];
            const qint64 r = Arg(Args, 0, QStringLiteral("Row")).ToInt();
            const qint64 c = Arg(Args, 1, QStringLiteral("Column")).ToInt();
            if (r < 1 || r > t.Rows || c < 1 || c > t.Cols)
                throw EOleException(QStringLiteral("No such item in the collection"));
            return TAutoRef(std::make_shared<WdCell>(FDoc, FTable, int((r - 1) * t.Cols + (c - 1))));
        }
        Unknown(Name);
    }
    TVariant Get(const QString& Name, const TAutoArgs& Args) override { return Call(Name, Args); }

private:
    std::shared_ptr<WdDoc> FDoc;
    int FTable;
};

class WdTables : public TAutoObject {
public:
    explicit WdTables(std::shared_ptr<WdDoc> d) : FDoc(std::move(d)) {}
    QString ClassName() const override { return QStringLiteral("Tables"); }
    TVariant Get(const QString& Name, const TAutoArgs&) override
    {
        if (Is(Name, "Count"))
            return int(FDoc->Data.Tables.size());
        Unknown(Name);
    }
    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (!Is(Name, "Add"))
            Unknown(Name);
        auto* range = dynamic_cast<WdRange*>(Unwrapped(Arg(Args, 0, QStringLiteral("Range")).ToObject().get()));
        if (!range)
            throw EOleException(QStringLiteral("Type mismatch: a range is needed"));
        const qint64 rows = Arg(Args, 1, QStringLiteral("NumRows")).ToInt();
        const qint64 cols = Arg(Args, 2, QStringLiteral("NumColumns")).ToInt();
        if (rows < 1 || cols < 1 || cols > 63 || rows > 32767)
            throw EOleException(QStringLiteral("A table holds 1 to 63 columns and 1 to 32767 rows"));
        TDocTable t;
        t.Position = std::clamp(range->Start(), 0, int(FDoc->Data.Text.size()));
        t.Rows = int(rows);
        t.Cols = int(cols);
        t.Texts.resize(size_t(rows * cols));
        t.Alignments.assign(size_t(rows * cols), 0);
        FDoc->Data.Tables.push_back(t);
        return TAutoRef(std::make_shared<WdTable>(FDoc, int(FDoc->Data.Tables.size()) - 1));
    }

private:
    std::shared_ptr<WdDoc> FDoc;
};

class WdBookmarks : public TAutoObject {
public:
    explicit WdBookmarks(std::shared_ptr<WdDoc> d) : FDoc(std::move(d)) {}
    QString ClassName() const override { return QStringLiteral("Bookmarks"); }
    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Exists"))
            return FDoc->Data.Bookmarks.count(Arg(Args, 0, QStringLiteral("Name")).ToString()) > 0;
        if (Is(Name, "Count"))
            return int(FDoc->Data.Bookmarks.size());
        Unknown(Name);
    }
    TVariant Get(const QString& Name, const TAutoArgs& Args) override { return Call(Name, Args); }

private:
    std::shared_ptr<WdDoc> FDoc;
};

class WdParagraphs : public TAutoObject {
public:
    WdParagraphs(std::shared_ptr<WdState> s, std::shared_ptr<WdDoc> d) : FState(std::move(s)), FDoc(std::move(d)) {}
    QString ClassName() const override { return QStringLiteral("Paragraphs"); }
    TVariant Call(const QString& Name, const TAutoArgs&) override
    {
        if (!Is(Name, "Add"))
            Unknown(Name);
        FState->Insert(*FDoc, int(FDoc->Data.Text.size()), QStringLiteral("\r"));
        return {};
    }

private:
    std::shared_ptr<WdState> FState;
    std::shared_ptr<WdDoc> FDoc;
};

class WdDocument : public TAutoObject {
public:
    WdDocument(std::shared_ptr<WdState> s, std::shared_ptr<WdDoc> d) : FState(std::move(s)), FDoc(std::move(d)) {}
    QString ClassName() const override { return QStringLiteral("Document"); }

    TVariant Get(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "ShowSpellingErrors"))
            return FDoc->Data.ShowSpellingErrors;
        if (Is(Name, "Tables"))
            return TAutoRef(std::make_shared<WdTables>(FDoc));
        if (Is(Name, "Bookmarks"))
            return TAutoRef(std::make_shared<WdBookmarks>(FDoc));
        if (Is(Name, "Paragraphs"))
            return TAutoRef(std::make_shared<WdParagraphs>(FState, FDoc));
        if (Is(Name, "Range")) {
            const int size = int(FDoc->Data.Text.size());
            const qint64 start = Arg(Args, 0, QStringLiteral("Start"), 0).ToInt();
            const qint64 end = Arg(Args, 1, QStringLiteral("End"), size).ToInt();
            if (start < 0 || end < start || end > size)
                throw EOleException(QStringLiteral("The value is out of range"));
            return TAutoRef(std::make_shared<WdRange>(int(start), int(end)));
        }
        Unknown(Name);
    }

    void Set(const QString& Name, const TVariant& Value, const TAutoArgs&) override
    {
        if (!Is(Name, "ShowSpellingErrors"))
            Unknown(Name);
        FDoc->Data.ShowSpellingErrors = Value.ToBool();
    }

    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "GoTo")) {
            const qint64 what = Arg(Args, 0, QStringLiteral("What")).ToInt();
            const QString name = Arg(Args, 3, QStringLiteral("Name")).ToString();
            const auto it = FDoc->Data.Bookmarks.find(name);
            if (what != -1 || it == FDoc->Data.Bookmarks.end())
                throw EOleException(QStringLiteral("No such item in the collection"));
            return TAutoRef(std::make_shared<WdRange>(it->second, it->second));
        }
        if (Is(Name, "SaveAs")) {
            FState->Store->Save(Arg(Args, 0, QStringLiteral("FileName")).ToString(), FDoc->Data);
            return {};
        }
        if (Is(Name, "Close")) {
            FState->Docs.erase(std::remove(FState->Docs.begin(), FState->Docs.end(), FDoc), FState->Docs.end());
            return {};
        }
        return Get(Name, Args);
    }

private:
    std::shared_ptr<WdState> FState;
    std::shared_ptr<WdDoc> FDoc;
};

class WdDocuments : public TAutoObject {
public:
    explicit WdDocuments(std::shared_ptr<WdState> s) : FState(std::move(s)) {}
    QString ClassName() const override { return QStringLiteral("Documents"); }
    TVariant Get(const QString& Name, const TAutoArgs&) override
    {
        if (Is(Name, "Count"))
            return int(FState->Docs.size());
        Unknown(Name);
    }
    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        auto d = std::make_shared<WdDoc>();
        if (Is(Name, "Open"))
            d->Data = FState->Store->Load(Arg(Args, 0, QStringLiteral("FileName")).ToString());
        else if (!Is(Name, "Add"))
            return Get(Name, Args);
        d->Serial = FState->NextSerial++;
        FState->Docs.push_back(d);
        FState->SelectionPos = 0;
        return TAutoRef(std::make_shared<WdDocument>(FState, d));
    }

private:
    std::shared_ptr<WdState> FState;
};

class WdSelection : public TAutoObject {
public:
    explicit WdSelection(std::shared_ptr<WdState> s) : FState(std::move(s)) {}
    QString ClassName() const override { return QStringLiteral("Selection"); }
    TVariant Get(const QString& Name, const TAutoArgs&) override
    {
        if (Is(Name, "Start") || Is(Name, "End")) {
            FState->Active();
            return FState->SelectionPos;
        }
        Unknown(Name);
    }
    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        auto d = FState->Active();
        if (Is(Name, "TypeText") || Is(Name, "TypeParagraph")) {
            const QString s = Is(Name, "TypeText") ? Arg(Args, 0, QStringLiteral("Text")).ToString() : QStringLiteral("\r");
            FState->Insert(*d, FState->SelectionPos, s);
            FState->SelectionPos = std::min(FState->SelectionPos + int(s.size()), int(d->Data.Text.size()));
            return {};
        }
        if (Is(Name, "GoTo")) {
            const qint64 what = Arg(Args, 0, QStringLiteral("What")).ToInt();
            const qint64 which = Arg(Args, 1, QStringLiteral("Which")).ToInt();
            if (what != 3 || which != -1)  // only "the last line" is served
                throw EOleException(QStringLiteral("Only a move to the last line is served"));
            // The start of the last line: the end when the text ends with a paragraph mark.
            const QString& t = d->Data.Text;
            const int p = t.endsWith(QLatin1Char('\r')) ? int(t.size()) : int(t.lastIndexOf(QLatin1Char('\r'))) + 1;
            FState->SelectionPos = p;
            return TAutoRef(std::make_shared<WdRange>(p, p));
        }
        return Get(Name, Args);
    }

private:
    std::shared_ptr<WdState> FState;
};

class WdApplication : public TAutoObject {
public:
    explicit WdApplication(std::shared_ptr<TDocumentStore> store) : FState(std::make_shared<WdState>())
    {
        FState->Store = std::move(store);
    }
    QString ClassName() const override { return QStringLiteral("Application"); }
    TVariant Get(const QString& Name, const TAutoArgs&) override
    {
        if (Is(Name, "Documents"))
            return TAutoRef(std::make_shared<WdDocuments>(FState));
        if (Is(Name, "ActiveDocument"))
            return TAutoRef(std::make_shared<WdDocument>(FState, FState->Active()));
        if (Is(Name, "Selection"))
            return TAutoRef(std::make_shared<WdSelection>(FState));
        if (Is(Name, "Visible"))
            return false;
        Unknown(Name);
    }
    void Set(const QString& Name, const TVariant&, const TAutoArgs&) override
    {
        if (!Is(Name, "Visible"))
            Unknown(Name);
    }
    TVariant Call(const QString& Name, const TAutoArgs& Args) override
    {
        if (Is(Name, "Quit")) {
            FState->Docs.clear();
            return {};
        }
        return Get(Name, Args);
    }

private:
    std::shared_ptr<WdState> FState;
};

} // namespace

TAutoRef NewWordProcessorApplication(std::shared_ptr<TDocumentStore> Store)
{
    return std::make_shared<WdApplication>(std::move(Store));
}

void WriteOdtFile(const QString& FileName, const TDocumentData& Data)
{
    QTextDocument doc;
    QTextCursor cur(&doc);
    std::vector<const TDocTable*> tables;
    for (const TDocTable& t : Data.Tables)
        tables.push_back(&t);
    std::stable_sort(tables.begin(), tables.end(),
                     [](const TDocTable* a, const TDocTable* b) { return a->Position < b->Position; });
    auto putText = [&](const QString& s) {
        const QStringList paras = s.split(QLatin1Char('\r'));
        for (int i = 0; i < paras.size(); ++i) {
            if (i > 0)
                cur.insertBlock();
            cur.insertText(paras[i]);
        }
    };
    int done = 0;
    for (const TDocTable* t : tables) {
        putText(Data.Text.mid(done, t->Position - done));
        done = t->Position;
        QTextTableFormat fmt;
        fmt.setBorder(1);
        fmt.setCellPadding(2);
        fmt.setCellSpacing(0);
        QTextTable* table = cur.insertTable(t->Rows, t->Cols, fmt);
        for (int r = 0; r < t->Rows; ++r)
            for (int c = 0; c < t->Cols; ++c) {
                const size_t i = size_t(r) * size_t(t->Cols) + size_t(c);
                QTextCursor cc = table->cellAt(r, c).firstCursorPosition();
                QTextBlockFormat bf;
                const int a = t->Alignments[i];
                bf.setAlignment(a == 2 ? Qt::AlignRight : a == 1 ? Qt::AlignHCenter : a == 3 ? Qt::AlignJustify : Qt::AlignLeft);
                cc.setBlockFormat(bf);
                cc.insertText(t->Texts[i]);
            }
        cur.movePosition(QTextCursor::End);
    }
    putText(Data.Text.mid(done));

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, "odf");
    if (!writer.write(&doc))
        throw EOleException(QStringLiteral("The document '%1' cannot be written").arg(FileName));
    QString error;
    if (!WriteFileAtomic(FileName, buffer.data(), &error))
        throw EOleException(QStringLiteral("The document '%1' cannot be saved: %2").arg(FileName, error));
}

} // namespace platform
