#include "platform/StringList.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/SysUtils.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

TStringList::TStringList(const TStringList& other)
{
    CopySettings(other);
    FItems = other.FItems;
}

TStringList& TStringList::operator=(const TStringList& other)
{
    if (this != &other) {
        CopySettings(other);
        FItems = other.FItems;
    }
    return *this;
}

void TStringList::CopySettings(const TStringList& other)
{
    FSorted = other.FSorted;
    FDuplicates = other.FDuplicates;
    FCaseSensitive = other.FCaseSensitive;
    FNameValueSeparator = other.FNameValueSeparator;
    FDelimiter = other.FDelimiter;
    FQuoteChar = other.FQuoteChar;
    FStrictDelimiter = other.FStrictDelimiter;
    FLineBreak = other.FLineBreak;
}

void TStringList::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange();
}

void TStringList::Changing()
{
    if (FUpdateCount == 0 && OnChanging)
        OnChanging();
}

void TStringList::BeginUpdate()
{
    if (FUpdateCount == 0)
        Changing();
    ++FUpdateCount;
}

void TStringList::EndUpdate()
{
    if (FUpdateCount <= 0)
        return;
    --FUpdateCount;
    if (FUpdateCount == 0)
        Changed();
}

void TStringList::CheckIndex(int index, int limit) const
{
    if (index < 0 || index >= limit)
        throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

QString TStringList::Strings(int index) const
{
    CheckIndex(index, Count());
    return FItems[index].S;
}

void TStringList::SetStrings(int index, const QString& s)
{
    if (FSorted)
        throw EStringListError(QStringLiteral("Operation not allowed on sorted list"));
    CheckIndex(index, Count());
    Changing();
    FItems[index].S = s;
    Changed();
}

void* TStringList::Objects(int index) const
{
    CheckIndex(index, Count());
    return FItems[index].Object;
}

void TStringList::SetObjects(int index, void* object)
{
    CheckIndex(index, Count());
    Changing();
    FItems[index].Object = object;
    Changed();
}

int TStringList::Add(const QString& s)
{
    return AddObject(s, nullptr);
}

int TStringList::AddObject(const QString& s, void* object)
{
    int index = Count();
    if (FSorted) {
        if (Find(s, index)) {
            switch (FDuplicates) {
            case dupIgnore:
                return index;
            case dupError:
                throw EStringListError(QStringLiteral("String list does not allow duplicates"));
            case dupAccept:
                break;
            }
        }
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::AddStrings(const TStringList& strings)
{
    BeginUpdate();
    try {
        for (int i = 0; i < strings.Count(); ++i)
            AddObject(strings.FItems[i].S, strings.FItems[i].Object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStringList::AddStrings(const QStringList& strings)
{
    BeginUpdate();
    try {
        for (const QString& s : strings)
            Add(s);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStringList::Insert(int index, const QString& s)
{
    InsertObject(index, s, nullptr);
}

void TStringList::InsertObject(int index, const QString& s, void* object)
{
    if (FSorted)
        throw EStringListError(QStringLiteral("Operation not allowed on sorted list"));
    CheckIndex(index, Count() + 1);
    InsertItem(index, s, object);
}

void TStringList::InsertItem(int index, const QString& s, void* object)
{
    Changing();
    FItems.insert(index, Item{s, object});
    Changed();
}

void TStringList::Delete(int index)
{
    CheckIndex(index, Count());
    Changing();
    FItems.removeAt(index);
    Changed();
}

void TStringList::Clear()
{
    if (FItems.isEmpty())
        return;
    Changing();
    FItems.clear();
    Changed();
}

void TStringList::ExchangeItems(int index1, int index2)
{
    FItems.swapItemsAt(index1, index2);
}

void TStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1, Count());
    CheckIndex(index2, Count());
    Changing();
    ExchangeItems(index1, index2);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex, Count());
    CheckIndex(newIndex, Count());
    BeginUpdate();
    const Item item = FItems[curIndex];
    FItems.removeAt(curIndex);
    FItems.insert(newIndex, item);
    EndUpdate();
}

int TStringList::CompareStrings(const QString& s1, const QString& s2) const
{
    return FCaseSensitive ? AnsiCompareStr(s1, s2) : AnsiCompareText(s1, s2);
}

bool TStringList::Find(const QString& s, int& index) const
{
    bool found = false;
    int l = 0;
    int h = Count() - 1;
    while (l <= h) {
        const int i = (l + h) >> 1;
        const int c = CompareStrings(FItems[i].S, s);
        if (c < 0)
            l = i + 1;
        else {
            h = i - 1;
            if (c == 0) {
                found = true;
                if (FDuplicates != dupAccept)
                    l = i;
            }
        }
    }
    index = l;
    return found;
}

int TStringList::IndexOf(const QString& s) const
{
    if (!FSorted) {
        for (int i = 0; i < Count(); ++i)
            if (CompareStrings(FItems[i].S, s) == 0)
                return i;
        return -1;
    }
    int index = -1;
    return Find(s, index) ? index : -1;
}

int TStringList::IndexOfName(const QString& name) const
{
    for (int i = 0; i < Count(); ++i) {
        const QString& s = FItems[i].S;
        const int p = s.indexOf(FNameValueSeparator);
        if (p >= 0 && CompareStrings(s.left(p), name) == 0)
            return i;
    }
    return -1;
}

int TStringList::IndexOfObject(void* object) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[i].Object == object)
            return i;
    return -1;
}

void TStringList::SetSorted(bool value)
{
    if (FSorted == value)
        return;
    if (value)
        Sort();
    FSorted = value;
}

void TStringList::SetCaseSensitive(bool value)
{
    if (FCaseSensitive == value)
        return;
    FCaseSensitive = value;
    if (FSorted) {
        // Re-sort under the new comparison.
        FSorted = false;
        Sort();
        FSorted = true;
    }
}

void TStringList::Sort()
{
    CustomSort([](TStringList& list, int a, int b) {
        return list.CompareStrings(list.FItems[a].S, list.FItems[b].S);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& compare)
{
    if (FSorted || Count() <= 1)
        return;
    Changing();
    QuickSort(0, Count() - 1, compare);
    Changed();
}

// Hoare partition around the middle element, recursing into the left part and looping on the
// right part; the pivot index follows its element when it is exchanged.
void TStringList::QuickSort(int l, int r, const TStringListSortCompare& compare)
{
    int i = 0;
    do {
        i = l;
        int j = r;
        int p = (l + r) >> 1;
        do {
            while (compare(*this, i, p) < 0)
                ++i;
            while (compare(*this, j, p) > 0)
                --j;
            if (i <= j) {
                if (i != j)
                    ExchangeItems(i, j);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            QuickSort(l, j, compare);
        l = i;
    } while (i < r);
}

QString TStringList::Names(int index) const
{
    const QString s = Strings(index);
    const int p = s.indexOf(FNameValueSeparator);
    return p >= 0 ? s.left(p) : QString();
}

QString TStringList::Values(const QString& name) const
{
    const int i = IndexOfName(name);
    return i >= 0 ? ValueFromIndex(i) : QString();
}

void TStringList::SetValues(const QString& name, const QString& value)
{
    const int i = IndexOfName(name);
    if (!value.isEmpty()) {
        const QString entry = name + FNameValueSeparator + value;
        if (i < 0)
            Add(entry);
        else if (FSorted) {
            // Entries of a sorted list are replaced by delete and add.
            BeginUpdate();
            Delete(i);
            Add(entry);
            EndUpdate();
        } else
            SetStrings(i, entry);
    } else if (i >= 0)
        Delete(i);
}

QString TStringList::ValueFromIndex(int index) const
{
    const QString s = Strings(index);
    const int p = s.indexOf(FNameValueSeparator);
    return p >= 0 ? s.mid(p + 1) : QString();
}

void TStringList::SetValueFromIndex(int index, const QString& value)
{
    if (!value.isEmpty()) {
        if (index < 0)
            index = Add(QString());
        const QString entry = Names(index) + FNameValueSeparator + value;
        if (FSorted) {
            BeginUpdate();
            Delete(index);
            Add(entry);
            EndUpdate();
        } else
            SetStrings(index, entry);
    } else if (index >= 0)
        Delete(index);
}

QString TStringList::ToDelimited(const TStringList& list, QChar delimiter, QChar quote, bool strict)
{
    if (list.Count() == 1 && list.FItems[0].S.isEmpty())
        return QString(quote) + quote;
    QString result;
    for (int i = 0; i < list.Count(); ++i) {
        const QString& s = list.FItems[i].S;
        bool needsQuotes = false;
        for (QChar c : s) {
            if (c.isNull())
                break;
            if (c == quote || c == delimiter || (!strict && c.unicode() <= ' ')) {
                needsQuotes = true;
                break;
            }
        }
        if (i > 0)
            result += delimiter;
        result += needsQuotes ? AnsiQuotedStr(s, quote) : s;
    }
    return result;
}

void TStringList::FromDelimited(const QString& text, QChar delimiter, QChar quote, bool strict)
{
    // A NUL character ends the text.
    const int nul = text.indexOf(QChar(0));
    const QString t = nul >= 0 ? text.left(nul) : text;
    const int n = t.size();
    const auto isBlank = [&](int k) { return k < n && t[k].unicode() >= 1 && t[k].unicode() <= ' '; };
    BeginUpdate();
    try {
        Clear();
        int p = 0;
        if (!strict)
            while (isBlank(p))
                ++p;
        while (p < n) {
            QString s;
            if (t[p] == quote)
                s = AnsiExtractQuotedStr(t, p, quote);
            else {
                const int start = p;
                while (p < n && (strict || t[p].unicode() > ' ') && t[p] != delimiter)
                    ++p;
                s = t.mid(start, p - start);
            }
            Add(s);
            if (!strict)
                while (isBlank(p))
                    ++p;
            if (p < n && t[p] == delimiter) {
                if (p + 1 >= n)
                    Add(QString());
                do
                    ++p;
                while (!strict && isBlank(p));
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

QString TStringList::DelimitedText() const
{
    return ToDelimited(*this, FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStringList::SetDelimitedText(const QString& text)
{
    FromDelimited(text, FDelimiter, FQuoteChar, FStrictDelimiter);
}

QString TStringList::CommaText() const
{
    return ToDelimited(*this, QLatin1Char(','), QLatin1Char('"'), false);
}

void TStringList::SetCommaText(const QString& text)
{
    FromDelimited(text, QLatin1Char(','), QLatin1Char('"'), false);
}

QString TStringList::Text() const
{
    qsizetype size = 0;
    for (const Item& it : FItems)
        size += it.S.size() + FLineBreak.size();
    QString r;
    r.reserve(size);
    for (const Item& it : FItems) {
        r += it.S;
        r += FLineBreak;
    }
    return r;
}

void TStringList::SetText(const QString& text)
{
    BeginUpdate();
    try {
        Clear();
        const int n = text.size();
        int p = 0;
        while (p < n) {
            const int start = p;
            while (p < n && text[p] != QLatin1Char('\r') && text[p] != QLatin1Char('\n'))
                ++p;
            Add(text.mid(start, p - start));
            if (p < n && text[p] == QLatin1Char('\r'))
                ++p;
            if (p < n && text[p] == QLatin1Char('\n'))
                ++p;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

QString TStringList::DecodeBytes(const QByteArray& bytes, TTextEncoding encoding, bool detectBom)
{
    if (detectBom) {
        if (bytes.startsWith("\xEF\xBB\xBF"))
            return QString::fromUtf8(bytes.mid(3));
        if (bytes.startsWith("\xFF\xFE"))
            return QStringDecoder(QStringConverter::Utf16LE).decode(bytes.mid(2));
        if (bytes.startsWith("\xFE\xFF"))
            return QStringDecoder(QStringConverter::Utf16BE).decode(bytes.mid(2));
    }
    switch (encoding) {
    case TTextEncoding::UTF8:
        return QString::fromUtf8(bytes);
    case TTextEncoding::Unicode:
        return QStringDecoder(QStringConverter::Utf16LE).decode(bytes);
    case TTextEncoding::BigEndianUnicode:
        return QStringDecoder(QStringConverter::Utf16BE).decode(bytes);
    case TTextEncoding::Default:
        break;
    }
    return FromAnsi(bytes);
}

QByteArray TStringList::ToBytes(TTextEncoding encoding) const
{
    const QString text = Text();
    switch (encoding) {
    case TTextEncoding::UTF8:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TTextEncoding::Unicode:
        return QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(text);
    case TTextEncoding::BigEndianUnicode:
        return QByteArray("\xFE\xFF") + QStringEncoder(QStringConverter::Utf16BE).encode(text);
    case TTextEncoding::Default:
        break;
    }
    return ToAnsi(text);
}

void TStringList::LoadFromFile(const QString& fileName)
{
    LoadFromFile(fileName, TTextEncoding::Default);
}

void TStringList::LoadFromFile(const QString& fileName, TTextEncoding encoding)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    SetText(DecodeBytes(bytes, encoding, true));
}

void TStringList::SaveToFile(const QString& fileName, TTextEncoding encoding) const
{
    QString error;
    if (!WriteFileAtomic(fileName, ToBytes(encoding), &error))
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, error));
}

void TStringList::Assign(const TStringList& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    FItems.clear();
    CopySettings(source);
    FItems = source.FItems;
    EndUpdate();
}

void TStringList::Assign(const QStringList& source)
{
    BeginUpdate();
    try {
        Clear();
        for (const QString& s : source)
            Add(s);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

QStringList TStringList::ToStringList() const
{
    QStringList r;
    r.reserve(Count());
    for (const Item& it : FItems)
        r << it.S;
    return r;
}

bool TStringList::Equals(const TStringList& other) const
{
    if (Count() != other.Count())
        return false;
    for (int i = 0; i < Count(); ++i)
        if (FItems[i].S != other.FItems[i].S)
            return false;
    return true;
}

} // namespace platform
