#pragma once
// TStringList: an ordered list of strings, each with an object slot, optionally kept sorted,
// with name=value access, delimited and line-break text forms and files.
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

enum TDuplicates { dupIgnore, dupAccept, dupError };

// Text encoding of a list file. Default is the system code page without a byte-order mark
// (reading: a byte-order mark decides, else the system code page).
enum class TTextEncoding { Default, UTF8, Unicode, BigEndianUnicode };

class TStringList {
public:
    TStringList() = default;
    TStringList(const TStringList& other);
    TStringList& operator=(const TStringList& other);
    virtual ~TStringList() = default;

    using TStringListSortCompare = std::function<int(TStringList& list, int index1, int index2)>;

    int Count() const { return int(FItems.size()); }
    // EStringListError "List index out of bounds (<index>)" for an index outside the list.
    QString Strings(int index) const;
    void SetStrings(int index, const QString& s);  // EStringListError on a sorted list
    void* Objects(int index) const;
    void SetObjects(int index, void* object);
    QString operator[](int index) const { return Strings(index); }

    // Adds (at the sorted place on a sorted list, under the Duplicates rule) and returns the index.
    int Add(const QString& s);
    int AddObject(const QString& s, void* object);
    void AddStrings(const TStringList& strings);
    void AddStrings(const QStringList& strings);
    void Append(const QString& s) { Add(s); }
    // Not allowed on a sorted list (EStringListError "Operation not allowed on sorted list").
    void Insert(int index, const QString& s);
    void InsertObject(int index, const QString& s, void* object);
    void Delete(int index);
    void Clear();
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);

    int IndexOf(const QString& s) const;
    int IndexOfName(const QString& name) const;
    int IndexOfObject(void* object) const;
    // Binary search of a sorted list: true when found; `index` is the match or the insert place.
    bool Find(const QString& s, int& index) const;

    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value);
    void Sort();
    virtual void CustomSort(const TStringListSortCompare& compare);
    // The comparison of two texts under CaseSensitive.
    virtual int CompareStrings(const QString& s1, const QString& s2) const;

    // name=value entries (separator NameValueSeparator, "=" by default).
    QString Names(int index) const;
    QString Values(const QString& name) const;
    // An empty value deletes the entry; a new name is added.
    void SetValues(const QString& name, const QString& value);
    QString ValueFromIndex(int index) const;
    void SetValueFromIndex(int index, const QString& value);
    QChar NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(QChar c) { FNameValueSeparator = c; }

    // Delimited text: an entry holding a blank, a control character, the quote or the delimiter is
    // quoted. Reading splits at the delimiter and (unless StrictDelimiter) at blanks as well.
    QString DelimitedText() const;
    void SetDelimitedText(const QString& text);
    QString CommaText() const;  // with "," and "\"" whatever Delimiter and QuoteChar are
    void SetCommaText(const QString& text);
    QChar Delimiter() const { return FDelimiter; }
    void SetDelimiter(QChar c) { FDelimiter = c; }
    QChar QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(QChar c) { FQuoteChar = c; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool value) { FStrictDelimiter = value; }

    // Every entry followed by LineBreak (CR LF by default). Setting splits at CR LF, LF or CR.
    QString Text() const;
    void SetText(const QString& text);
    QString LineBreak() const { return FLineBreak; }
    void SetLineBreak(const QString& lb) { FLineBreak = lb; }

    // Files. Loading raises EFOpenError, saving EFCreateError; a failed save leaves the old file.
    void LoadFromFile(const QString& fileName);
    void LoadFromFile(const QString& fileName, TTextEncoding encoding);
    void SaveToFile(const QString& fileName, TTextEncoding encoding = TTextEncoding::Default) const;
    // The bytes SaveToFile writes; the text LoadFromFile reads from bytes.
    QByteArray ToBytes(TTextEncoding encoding) const;
    static QString DecodeBytes(const QByteArray& bytes, TTextEncoding encoding, bool detectBom = true);

    // Copies the entries, objects and settings of `source` (OnChanging/OnChange fire once).
    void Assign(const TStringList& source);
    void Assign(const QStringList& source);
    QStringList ToStringList() const;
    bool Equals(const TStringList& other) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    std::function<void()> OnChange;
    std::function<void()> OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    void CheckIndex(int index, int limit) const;
    void InsertItem(int index, const QString& s, void* object);
    void ExchangeItems(int index1, int index2);
    void QuickSort(int l, int r, const TStringListSortCompare& compare);

private:
    struct Item {
        QString S;
        void* Object = nullptr;
    };
    QList<Item> FItems;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
    QChar FNameValueSeparator = QLatin1Char('=');
    QChar FDelimiter = QLatin1Char(',');
    QChar FQuoteChar = QLatin1Char('"');
    bool FStrictDelimiter = false;
    QString FLineBreak = QStringLiteral("\r\n");
    int FUpdateCount = 0;

    static QString ToDelimited(const TStringList& list, QChar delimiter, QChar quote, bool strict);
    void FromDelimited(const QString& text, QChar delimiter, QChar quote, bool strict);
    void CopySettings(const TStringList& other);
};

} // namespace platform
