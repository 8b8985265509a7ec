#include "grid/GridLists.h"

#include "platform/Picture.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cstdint>

// ---- TIntList --------------------------------------------------------------------------------

void TIntList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw platform::EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TIntList::Changed()
{
    if (OnChange)
        OnChange(this, FCol, FRow);
}

int TIntList::GetInteger(int Index) const
{
    CheckIndex(Index);
    return FItems[size_t(Index)];
}

void TIntList::SetInteger(int Index, int Value)
{
    CheckIndex(Index);
    FItems[size_t(Index)] = Value;
    Changed();
}

int TIntList::Add(int Value)
{
    FItems.push_back(Value);
    Changed();
    return Count() - 1;
}

void TIntList::Insert(int Index, int Value)
{
    if (Index < 0 || Index > Count())
        throw platform::EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.insert(FItems.begin() + Index, Value);
}

void TIntList::Delete(int Index)
{
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TIntList::DeleteValue(int Value)
{
    const int i = IndexOf(Value);
    if (i >= 0)
        Delete(i);
}

bool TIntList::HasValue(int Value) const { return IndexOf(Value) >= 0; }

int TIntList::IndexOf(int Value) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), Value);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TIntList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    const int v = FItems[size_t(CurIndex)];
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, v);
}

void TIntList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FItems[size_t(Index1)], FItems[size_t(Index2)]);
}

QString TIntList::StrValue() const
{
    QStringList parts;
    parts.reserve(Count());
    for (int v : FItems)
        parts.append(QString::number(v));
    return parts.join(QLatin1Char(','));
}

void TIntList::SetStrValue(const QString& Value)
{
    Clear();
    platform::TStringList list;
    list.SetCommaText(Value);
    for (int i = 0; i < list.Count(); ++i)
        Add(platform::StrToInt(list.Strings(i)));
}

// ---- TSortIndexList --------------------------------------------------------------------------

namespace {
constexpr std::uint32_t DescendingBit = 0x80000000u;
constexpr std::uint32_t ColumnBits = 0x7FFFFFFFu;

int WithColumn(int entry, int column)
{
    return int((std::uint32_t(entry) & DescendingBit) | (std::uint32_t(column) & ColumnBits));
}

// Digits after an optional sign, up to the first other character; 0 when there are none.
// `valid` is false when the number does not fit 32 bits.
qint64 LeadingNumber(const QString& s, bool& valid)
{
    valid = true;
    int i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }
    qint64 v = 0;
    for (; i < s.size() && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9'); ++i) {
        v = v * 10 + (s[i].unicode() - '0');
        if (v > 0xFFFFFFFFLL) {
            valid = false;
            return 0;
        }
    }
    return negative ? -v : v;
}
} // namespace

void TSortIndexList::AddIndex(int ColumnIndex, bool Ascending)
{
    Add(int((std::uint32_t(ColumnIndex) & ColumnBits) | (Ascending ? 0u : DescendingBit)));
}

int TSortIndexList::FindIndex(int ColumnIndex) const
{
    for (int i = 0; i < Count(); ++i)
        if ((std::uint32_t(FItems[size_t(i)]) & ColumnBits) == (std::uint32_t(ColumnIndex) & ColumnBits))
            return i;
    return -1;
}

void TSortIndexList::ToggleIndex(int ColumnIndex)
{
    const int i = FindIndex(ColumnIndex);
    if (i >= 0)
        SetInteger(i, int(std::uint32_t(FItems[size_t(i)]) ^ DescendingBit));
}

int TSortIndexList::GetSortColumns(int i) const { return int(std::uint32_t(GetInteger(i)) & ColumnBits); }

void TSortIndexList::SetSortColumns(int i, int Value) { SetInteger(i, WithColumn(GetInteger(i), Value)); }

bool TSortIndexList::GetSortDirections(int i) const
{
    return (std::uint32_t(GetInteger(i)) & DescendingBit) == 0;
}

void TSortIndexList::SetSortDirections(int i, bool Value)
{
    const std::uint32_t e = std::uint32_t(GetInteger(i));
    SetInteger(i, int(Value ? (e & ColumnBits) : (e | DescendingBit)));
}

QString TSortIndexList::SaveToString() const
{
    QStringList parts;
    for (int e : FItems) {
        const QChar dir = (std::uint32_t(e) & DescendingBit) ? QLatin1Char('d') : QLatin1Char('u');
        parts.append(dir + QString::number(std::uint32_t(e) & 0xFFFFu));
    }
    return parts.join(QLatin1Char(';'));
}

void TSortIndexList::LoadFromString(const QString& s)
{
    Clear();
    const QStringList entries = s.split(QLatin1Char(';'));
    for (const QString& entry : entries) {
        if (entry.size() < 2)
            continue;
        bool valid = false;
        const qint64 column = LeadingNumber(entry.mid(1), valid);
        // A column that cannot be one (negative, or wider than the column bits) is refused.
        if (!valid || column < 0 || column > qint64(ColumnBits))
            continue;
        AddIndex(int(column), entry[0] == QLatin1Char('u'));
    }
}

// ---- TControlList ----------------------------------------------------------------------------

void TControlList::AddControl(int X, int Y, QWidget* AObject)
{
    FItems.push_back(std::make_unique<TControlItem>(X, Y, AObject));
}

int TControlList::ControlIndex(int X, int Y) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)]->X() == X && FItems[size_t(i)]->Y() == Y)
            return i;
    return -1;
}

TControlItem* TControlList::GetControl(int i) const
{
    if (i < 0 || i >= Count())
        throw platform::EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
    return FItems[size_t(i)].get();
}

void TControlList::RemoveControl(int i)
{
    GetControl(i);
    FItems.erase(FItems.begin() + i);
}

bool TControlList::HasHandle(const QWidget* Handle) const
{
    if (!Handle)
        return false;
    for (const auto& item : FItems)
        if (item->Object() == Handle)
            return true;
    return false;
}

// ---- TFileStringList -------------------------------------------------------------------------

void TFileStringList::Reset()
{
    fp = 0;
    cache.clear();
}

void TFileStringList::ReadLn(QString& s)
{
    s = Strings(fp);
    ++fp;
}

void TFileStringList::Write(const QString& s) { cache += s; }

void TFileStringList::WriteLn(const QString& s)
{
    Add(cache + s);
    cache.clear();
}

// ---- TFilePicture ----------------------------------------------------------------------------

void TFilePicture::SetFilename(const QString& Value)
{
    FFilename = Value;
    TPicture picture;
    picture.LoadFromFile(Value); // an unreadable file raises and leaves the size as it was
    FWidth = picture.Width();
    FHeight = picture.Height();
}

void TFilePicture::DrawPicture(TCanvas& Canvas, const TRect& r) const
{
    if (FFilename.isEmpty())
        return;
    TPicture picture;
    try {
        picture.LoadFromFile(FFilename);
    } catch (const EInvalidGraphic&) {
        return; // a picture that cannot be read shows nothing; painting goes on
    }
    Canvas.StretchDraw(r, picture.Graphic());
}

void TFilePicture::Assign(const TFilePicture& Source)
{
    FFilename = Source.FFilename;
    FWidth = Source.FWidth;
    FHeight = Source.FHeight;
}
